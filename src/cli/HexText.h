#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tdxx::cli {

// Bytes as lowercase hexadecimal digits, two per byte, no separators.
inline std::string HexText(const std::uint8_t* bytes, std::size_t count) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(count * 2);
  for (std::size_t i = 0; i < count; ++i) {
    text.push_back(kDigits[bytes[i] >> 4]);
    text.push_back(kDigits[bytes[i] & 0x0F]);
  }
  return text;
}

}  // namespace tdxx::cli
