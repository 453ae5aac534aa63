#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tdxx {

// INI files read and written one value at a time, the way the settings and key-definition files
// have always been kept. Section and key names match ignoring ASCII case; the first matching
// section and key win; blanks around names and values are dropped and a value wrapped in
// matching double or single quotes loses them; lines starting with ';' are comments. Texts are
// UTF-8; a UTF-16LE file with its byte-order mark is read too.

// One parse of a file, for readers that look up many values (a key-definition file holds
// hundreds). A missing or unreadable file parses as empty.
class ProfileSnapshot {
 public:
  static ProfileSnapshot Load(const std::string& path);

  // The value, or `defaultValue` when the section or key is missing. At most 2047 characters.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  // Decimal with an optional sign, or hexadecimal behind 0x; anything else (trailing
  // characters, a number outside 32 bits) gives `defaultValue`.
  std::int32_t ReadInt(std::string_view section, std::string_view key,
                       std::int32_t defaultValue) const;

  struct Entry {
    std::string key;
    std::string value;
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
  };

 private:
  std::vector<Section> sections_;
};

// Integer rule of ReadInt, on its own.
std::optional<std::int32_t> ParseProfileInt(std::string_view text);

// Single-value convenience forms (each parses the file once).
std::string ReadProfileString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view defaultValue);
std::int32_t ReadProfileInt(const std::string& path, std::string_view section,
                            std::string_view key, std::int32_t defaultValue);

// Writes one value: creates the file and the section when missing, replaces only that key's
// line and keeps every other line and the file's line ends. Returns false when the file cannot
// be written.
bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace tdxx
