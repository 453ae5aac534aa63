#include "methods/MountTable.h"

#include <charconv>
#include <cstddef>
#include <utility>

#include "files/HexDigit.h"

namespace tdxx {
namespace {

bool IsOctalDigit(char c) {
  return c >= '0' && c <= '7';
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t pos = 0;
  while (pos < line.size()) {
    while (pos < line.size() && line[pos] == ' ')
      ++pos;
    if (pos == line.size())
      break;
    std::size_t end = line.find(' ', pos);
    if (end == std::string_view::npos)
      end = line.size();
    fields.push_back(line.substr(pos, end - pos));
    pos = end;
  }
  return fields;
}

bool ParseUnsigned(std::string_view text, unsigned& value) {
  if (text.empty())
    return false;
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && ptr == text.data() + text.size();
}

bool ParseDeviceNumber(std::string_view field, unsigned& major, unsigned& minor) {
  const std::size_t colon = field.find(':');
  if (colon == std::string_view::npos)
    return false;
  return ParseUnsigned(field.substr(0, colon), major) &&
         ParseUnsigned(field.substr(colon + 1), minor);
}

}  // namespace

std::string DecodeOctalEscapes(std::string_view field) {
  std::string out;
  out.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() && IsOctalDigit(field[i + 1]) &&
        IsOctalDigit(field[i + 2]) && IsOctalDigit(field[i + 3])) {
      const int value = (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
      out.push_back(static_cast<char>(value & 0xFF));
      i += 3;
    } else {
      out.push_back(field[i]);
    }
  }
  return out;
}

std::string DecodeHexEscapes(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' &&
        HexDigitValue(name[i + 2]) >= 0 && HexDigitValue(name[i + 3]) >= 0) {
      out.push_back(
          static_cast<char>(HexDigitValue(name[i + 2]) * 16 + HexDigitValue(name[i + 3])));
      i += 3;
    } else {
      out.push_back(name[i]);
    }
  }
  return out;
}

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
  std::vector<MountEntry> entries;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos)
      end = text.size();
    const std::vector<std::string_view> fields = SplitFields(text.substr(pos, end - pos));
    pos = end + 1;

    // id parent major:minor root mount-point options [optional fields...] - type source ...
    std::size_t separator = 6;
    while (separator < fields.size() && fields[separator] != "-")
      ++separator;
    MountEntry entry;
    if (separator + 2 >= fields.size())
      continue;
    if (!ParseDeviceNumber(fields[2], entry.major, entry.minor))
      continue;
    entry.root = DecodeOctalEscapes(fields[3]);
    entry.mountPoint = DecodeOctalEscapes(fields[4]);
    entry.source = DecodeOctalEscapes(fields[separator + 2]);
    entries.push_back(std::move(entry));
  }
  return entries;
}

}  // namespace tdxx
