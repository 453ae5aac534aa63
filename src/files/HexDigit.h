#pragma once

namespace tdxx {

// Value of a hexadecimal digit of either case, -1 for any other character (EOF included).
// Plain ASCII on purpose: file bytes must not be read differently under another locale.
constexpr int HexDigitValue(int c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

}  // namespace tdxx
