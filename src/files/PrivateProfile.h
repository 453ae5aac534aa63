#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tdxx {

// INI files read and written one value at a time, the way the settings and key-definition files
// have always been kept. Section and key names match ignoring ASCII case; the first matching
// section and key win; blanks around names and values are dropped and a value wrapped in
// matching double or single quotes loses them; lines starting with ';' are comments. Texts are
// UTF-8; a UTF-8 byte-order mark is skipped and a UTF-16LE file with its byte-order mark is read
// too. CR LF, LF and lone CR all end a line.

// Longest value handed out, in characters.
inline constexpr std::size_t kProfileValueMaxLength = 2047;

// One parse of a file, for readers that look up many values (a key-definition file holds
// hundreds). A missing or unreadable file parses as empty.
class ProfileSnapshot {
 public:
  static ProfileSnapshot Load(const std::string& path);
  // As Load, but a file that cannot be read gives no snapshot and its errno value in `error`.
  static std::optional<ProfileSnapshot> TryLoad(const std::string& path, int& error);
  // The snapshot of a file holding `fileBytes`.
  static ProfileSnapshot Parse(std::string_view fileBytes);

  // The value, or `defaultValue` when the section or key is missing. At most 2047 characters.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  // Decimal with an optional sign, or hexadecimal behind 0x; anything else (trailing
  // characters, a number outside 32 bits) gives `defaultValue`.
  std::int32_t ReadInt(std::string_view section, std::string_view key,
                       std::int32_t defaultValue) const;
  // True when the file has a section of this name (compared without regard to case).
  bool HasSection(std::string_view section) const;
  // The value as ReadString gives it, or nothing when the section or key is missing.
  std::optional<std::string> Lookup(std::string_view section, std::string_view key) const;

  struct Entry {
    std::string key;
    std::string value;  // quotes dropped, cut to kProfileValueMaxLength characters
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
  };

 private:
  const std::string* Find(std::string_view section, std::string_view key) const;

  std::vector<Section> sections_;
  // First section of each name, by the name in lowercase.
  std::unordered_map<std::string, std::size_t> sectionIndex_;
};

// Integer rule of ReadInt, on its own. Decimal is -2147483648 to 2147483647; hexadecimal ("0x"
// or "0X", then digits of either case) is 0 to 0xFFFFFFFF, taken as the 32-bit pattern.
std::optional<std::int32_t> ParseProfileInt(std::string_view text);

// Single-value convenience forms (each parses the file once).
std::string ReadProfileString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view defaultValue);
std::int32_t ReadProfileInt(const std::string& path, std::string_view section, std::string_view key,
                            std::int32_t defaultValue);

// Writes one value: creates the file and the section when missing, replaces only that key's
// line and keeps every other line and the file's line ends (and its encoding). The file is
// replaced as a whole, never left half written. Returns false when the file cannot be read or
// written (its folder missing, for instance), or when a name or the value holds a line break, a
// name is empty, or the key holds '=' or starts with ';' or '[' (such a line could not be read
// back as written).
bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

// One value to write, as WriteProfileString writes it.
struct ProfileEdit {
  std::string section;
  std::string key;
  std::string value;
};

// The bytes of a settings file after writing `edits` in order, each as WriteProfileString would:
// every other line, the line ends and the encoding stay. Nothing when an edit is not writable
// (the same rules as WriteProfileString); `fileBytes` may be empty for a new file.
std::optional<std::string> EditProfileBytes(std::string_view fileBytes,
                                            const std::vector<ProfileEdit>& edits);

}  // namespace tdxx
