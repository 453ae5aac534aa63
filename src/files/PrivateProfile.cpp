#include "files/PrivateProfile.h"

#include <limits>

#include "files/FileBytes.h"
#include "files/HexDigit.h"
#include "files/ProfileText.h"

namespace tdxx {
namespace {

std::string Lowercase(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
  }
  return result;
}

std::string_view StripMatchingQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// The first `maxCharacters` characters of a UTF-8 text (continuation bytes are not counted).
std::string_view FirstCharacters(std::string_view text, std::size_t maxCharacters) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
      if (characters == maxCharacters) {
        return text.substr(0, i);
      }
      ++characters;
    }
  }
  return text;
}

}  // namespace

ProfileSnapshot ProfileSnapshot::Load(const std::string& path) {
  int error = 0;
  std::optional<ProfileSnapshot> snapshot = TryLoad(path, error);
  return snapshot ? std::move(*snapshot) : ProfileSnapshot();
}

std::optional<ProfileSnapshot> ProfileSnapshot::TryLoad(const std::string& path, int& error) {
  std::string bytes;
  error = ReadFileBytes(path, bytes);
  if (error != 0) {
    return std::nullopt;
  }
  return Parse(bytes);
}

ProfileSnapshot ProfileSnapshot::Parse(std::string_view fileBytes) {
  ProfileSnapshot snapshot;
  const ProfileText text = ProfileText::Decode(fileBytes);
  Section* current = nullptr;  // entries before the first section belong to none
  for (const ProfileText::Line& line : text.lines) {
    const ProfileLine parsed = ClassifyProfileLine(line.text);
    if (parsed.kind == ProfileLine::Kind::kSection) {
      snapshot.sections_.push_back({std::string(parsed.name), {}});
      current = &snapshot.sections_.back();
      snapshot.sectionIndex_.try_emplace(Lowercase(parsed.name), snapshot.sections_.size() - 1);
    } else if (parsed.kind == ProfileLine::Kind::kEntry && current != nullptr) {
      const std::string_view value =
          FirstCharacters(StripMatchingQuotes(parsed.value), kProfileValueMaxLength);
      current->entries.push_back({std::string(parsed.name), std::string(value)});
    }
  }
  return snapshot;
}

bool ProfileSnapshot::HasSection(std::string_view section) const {
  return sectionIndex_.contains(Lowercase(section));
}

const std::string* ProfileSnapshot::Find(std::string_view section, std::string_view key) const {
  const auto found = sectionIndex_.find(Lowercase(section));
  if (found == sectionIndex_.end()) {
    return nullptr;
  }
  for (const Entry& entry : sections_[found->second].entries) {
    if (EqualsIgnoringCase(entry.key, key)) {
      return &entry.value;
    }
  }
  return nullptr;
}

std::optional<std::string> ProfileSnapshot::Lookup(std::string_view section,
                                                   std::string_view key) const {
  const std::string* value = Find(section, key);
  return value != nullptr ? std::optional<std::string>(*value) : std::nullopt;
}

std::string ProfileSnapshot::ReadString(std::string_view section, std::string_view key,
                                        std::string_view defaultValue) const {
  const std::string* value = Find(section, key);
  return std::string(value != nullptr ? std::string_view(*value) : defaultValue);
}

std::int32_t ProfileSnapshot::ReadInt(std::string_view section, std::string_view key,
                                      std::int32_t defaultValue) const {
  const std::string* value = Find(section, key);
  if (value == nullptr) {
    return defaultValue;
  }
  return ParseProfileInt(*value).value_or(defaultValue);
}

std::optional<std::int32_t> ParseProfileInt(std::string_view text) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    std::uint64_t value = 0;
    for (const char c : text.substr(2)) {
      const int digit = HexDigitValue(c);
      if (digit < 0) {
        return std::nullopt;
      }
      value = value * 16 + static_cast<std::uint64_t>(digit);
      if (value > std::numeric_limits<std::uint32_t>::max()) {
        return std::nullopt;
      }
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
  }

  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) {
    return std::nullopt;
  }
  const std::int64_t limit = negative ? std::int64_t{1} << 31 : (std::int64_t{1} << 31) - 1;
  std::int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') {
      return std::nullopt;
    }
    value = value * 10 + (c - '0');
    if (value > limit) {
      return std::nullopt;
    }
  }
  return static_cast<std::int32_t>(negative ? -value : value);
}

std::string ReadProfileString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view defaultValue) {
  return ProfileSnapshot::Load(path).ReadString(section, key, defaultValue);
}

std::int32_t ReadProfileInt(const std::string& path, std::string_view section, std::string_view key,
                            std::int32_t defaultValue) {
  return ProfileSnapshot::Load(path).ReadInt(section, key, defaultValue);
}

}  // namespace tdxx
