#include <cerrno>

#include "files/FileBytes.h"
#include "files/PrivateProfile.h"
#include "files/ProfileText.h"

namespace tdxx {
namespace {

bool HoldsLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

// Where `key` of `section` stands, as line indexes into the file.
struct KeyPlace {
  std::optional<std::size_t> sectionLine;  // header of the first matching section
  std::optional<std::size_t> keyLine;      // first matching key in that section
  std::size_t lastContentLine = 0;         // last non-blank line of that section
};

KeyPlace FindKey(const ProfileText& text, std::string_view section, std::string_view key) {
  KeyPlace place;
  for (std::size_t i = 0; i < text.lines.size(); ++i) {
    const ProfileLine line = ClassifyProfileLine(text.lines[i].text);
    if (line.kind == ProfileLine::Kind::kSection) {
      if (place.sectionLine) {
        break;  // the matching section has ended
      }
      if (EqualsIgnoringCase(line.name, section)) {
        place.sectionLine = i;
        place.lastContentLine = i;
      }
      continue;
    }
    if (!place.sectionLine) {
      continue;
    }
    if (line.kind == ProfileLine::Kind::kEntry && EqualsIgnoringCase(line.name, key)) {
      place.keyLine = i;
      return place;
    }
    if (!TrimBlanks(text.lines[i].text).empty()) {
      place.lastContentLine = i;
    }
  }
  return place;
}

// "name=value" built by appending: GCC 12's -Wrestrict misreads chained operator+ on strings
// at -O2 and above.
std::string EntryLine(std::string_view name, std::string_view value) {
  std::string line;
  line.reserve(name.size() + 1 + value.size());
  line.append(name).append(1, '=').append(value);
  return line;
}

std::string SectionLine(std::string_view section) {
  std::string line;
  line.reserve(section.size() + 2);
  line.append(1, '[').append(section).append(1, ']');
  return line;
}

void InsertLine(ProfileText& text, std::size_t index, std::string line) {
  const std::string end(text.PreferredLineEnd());
  // The line before may be the file's last one without a line end of its own.
  if (index > 0 && text.lines[index - 1].end.empty()) {
    text.lines[index - 1].end = end;
  }
  text.lines.insert(text.lines.begin() + static_cast<std::ptrdiff_t>(index),
                    {std::move(line), end});
}

bool EditableName(std::string_view section, std::string_view key, std::string_view value) {
  section = TrimBlanks(section);
  const std::string_view trimmedKey = TrimBlanks(key);
  return !section.empty() && !trimmedKey.empty() && !HoldsLineBreak(section) &&
         !HoldsLineBreak(key) && !HoldsLineBreak(value) &&
         key.find('=') == std::string_view::npos && trimmedKey.front() != ';' &&
         trimmedKey.front() != '[';
}

// Writes one value into the decoded file.
void EditProfileText(ProfileText& text, std::string_view section, std::string_view key,
                     std::string_view value) {
  section = TrimBlanks(section);
  const std::string trimmedKey(TrimBlanks(key));
  const KeyPlace place = FindKey(text, section, trimmedKey);
  if (place.keyLine) {
    // Keep the key as the file spells it; only its value changes.
    std::string& line = text.lines[*place.keyLine].text;
    line = EntryLine(ClassifyProfileLine(line).name, value);
  } else if (place.sectionLine) {
    InsertLine(text, place.lastContentLine + 1, EntryLine(trimmedKey, value));
  } else {
    std::size_t end = text.lines.size();
    if (end > 0 && !text.lines.back().text.empty()) {
      InsertLine(text, end++, "");  // a blank line between sections
    }
    InsertLine(text, end++, SectionLine(section));
    InsertLine(text, end, EntryLine(trimmedKey, value));
  }
}

}  // namespace

std::optional<std::string> EditProfileBytes(std::string_view fileBytes,
                                            const std::vector<ProfileEdit>& edits) {
  for (const ProfileEdit& edit : edits) {
    if (!EditableName(edit.section, edit.key, edit.value)) {
      return std::nullopt;
    }
  }
  if (edits.empty()) {
    return std::string(fileBytes);  // untouched, byte for byte
  }
  ProfileText text = ProfileText::Decode(fileBytes);
  for (const ProfileEdit& edit : edits) {
    EditProfileText(text, edit.section, edit.key, edit.value);
  }
  return text.Encode();
}

bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
  if (!EditableName(section, key, value)) {
    return false;
  }
  std::string bytes;
  const int error = ReadFileBytes(path, bytes);
  if (error != 0 && error != ENOENT) {
    return false;
  }
  ProfileText text = ProfileText::Decode(bytes);
  EditProfileText(text, section, key, value);
  return ReplaceFileAtomically(path, text.Encode());
}

}  // namespace tdxx
