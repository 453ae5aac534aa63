#include "cli/HelpFormatter.h"

#include <sstream>
#include <vector>

namespace tdxx::cli {

namespace {

std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  std::istringstream stream{std::string(text)};
  std::string word;
  while (stream >> word)
    words.push_back(word);
  return words;
}

// One entry: the name indented by two, its description from the name column on; a name too
// wide for its column puts the description on the next line.
std::string Entry(const std::string& name, const std::string& description) {
  constexpr std::size_t kColumn = HelpFormatter::kNameColumn;
  std::string text = "  " + name;
  if (description.empty())
    return text + "\n";
  if (text.size() + 1 > kColumn)
    text += "\n" + std::string(kColumn, ' ');
  else
    text += std::string(kColumn - text.size(), ' ');
  return text + WrapText(description, HelpFormatter::kWidth, kColumn, false) + "\n";
}

}  // namespace

std::string WrapText(std::string_view text, std::size_t width, std::size_t indent,
                     bool indentFirst) {
  std::string result;
  // Paragraphs (lines of the text) are wrapped one by one.
  std::istringstream lines{std::string(text)};
  std::string paragraph;
  bool firstLine = true;
  while (std::getline(lines, paragraph)) {
    if (!firstLine)
      result += "\n";
    std::size_t column = 0;
    if (!firstLine || indentFirst) {
      result += std::string(indent, ' ');
      column = indent;
    } else {
      column = indent;  // the caller has filled the line up to the indent
    }
    bool lineEmpty = true;
    for (const std::string& word : Words(paragraph)) {
      if (!lineEmpty && column + 1 + word.size() > width) {
        result += "\n" + std::string(indent, ' ');
        column = indent;
        lineEmpty = true;
      }
      if (!lineEmpty) {
        result += ' ';
        ++column;
      }
      result += word;
      column += word.size();
      lineEmpty = false;
    }
    firstLine = false;
  }
  return result;
}

std::string HelpFormatter::make_option(const CLI::Option* option, bool isPositional) const {
  // A value is named by the option's own text ("--wait SECONDS"); flags and positionals show
  // their name alone.
  const std::string& value = option->get_option_text();
  const std::string name = make_option_name(option, isPositional);
  return Entry(isPositional || value.empty() ? name : name + " " + value, make_option_desc(option));
}

std::string HelpFormatter::make_subcommand(const CLI::App* subcommand) const {
  return Entry(subcommand->get_display_name(), subcommand->get_description());
}

std::string HelpFormatter::make_description(const CLI::App* app) const {
  const std::string description = app->get_description();
  if (description.empty())
    return "";
  return WrapText(description, kWidth, 0, true) + "\n";
}

std::string HelpFormatter::make_footer(const CLI::App* app) const {
  const std::string footer = app->get_footer();
  if (footer.empty())
    return "";
  return "\n" + footer + "\n";  // laid out by hand, within the width
}

}  // namespace tdxx::cli
