#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tdxx {

// Version texts and status bytes read from the connected device. The texts are zero-terminated
// byte fields: a reply fills the first 16 (8, 1) bytes, the last byte stays 0, and a text ends
// at its first zero byte.
struct DeviceInfo {
  std::array<char, 17> bootloaderVersion{};
  std::array<char, 17> keypadVersion{};
  std::array<char, 17> flashDriveVersion{};
  std::array<char, 17> deviceVersion{};
  std::array<char, 9> buildDate{};
  std::array<char, 2> bootloaderInstalled{};
  std::uint8_t statusByte = 0;
  std::uint8_t keyCapacity = 0;
  std::uint8_t pingLevel = 0;
};

// The shown text of one field: its bytes up to the first zero byte.
template <std::size_t N>
std::string FieldText(const std::array<char, N>& field) {
  std::size_t length = 0;
  while (length < N && field[length] != 0) ++length;
  return std::string(field.data(), length);
}

}  // namespace tdxx
