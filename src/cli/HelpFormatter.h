#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <string_view>

namespace tdxx::cli {

// Text wrapped at word boundaries to lines of at most `width` columns; every line after the
// first starts with `indent` blanks, and so does the first when `indentFirst`.
std::string WrapText(std::string_view text, std::size_t width, std::size_t indent,
                     bool indentFirst);

// --help as a terminal shows it: every line at most 80 columns, each option or subcommand
// name in a column of its own with its description wrapped beside it. The footer is printed
// as it is written. Every option that takes a value names it with option_text().
class HelpFormatter final : public CLI::Formatter {
 public:
  static constexpr std::size_t kWidth = 80;
  static constexpr std::size_t kNameColumn = 30;

  std::string make_option(const CLI::Option* option, bool isPositional) const override;
  std::string make_subcommand(const CLI::App* subcommand) const override;
  std::string make_description(const CLI::App* app) const override;
  std::string make_footer(const CLI::App* app) const override;
};

}  // namespace tdxx::cli
