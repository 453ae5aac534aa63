#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

namespace tdxx::sim {

// The 64 KiB flash of a simulated bootloader, shared between the bootloader's behaviour and
// the test that reads it afterwards; safe to read while the device works. A fresh flash is
// erased (0xFF everywhere).
class BootloaderFlash {
 public:
  static constexpr std::size_t kSize = 65536;

  BootloaderFlash() { bytes_.fill(0xFF); }

  // Erases every byte from `from` on.
  void EraseFrom(std::size_t from) {
    std::lock_guard lock(mutex_);
    for (std::size_t i = from; i < kSize; ++i)
      bytes_[i] = 0xFF;
  }
  // Writes `data` at `address`; bytes past the end are dropped.
  void Write(std::size_t address, const std::vector<std::uint8_t>& data) {
    std::lock_guard lock(mutex_);
    for (std::size_t i = 0; i < data.size() && address + i < kSize; ++i)
      bytes_[address + i] = data[i];
  }
  // `count` bytes from `address` (0xFF past the end).
  std::vector<std::uint8_t> Read(std::size_t address, std::size_t count) const {
    std::lock_guard lock(mutex_);
    std::vector<std::uint8_t> out(count, 0xFF);
    for (std::size_t i = 0; i < count && address + i < kSize; ++i)
      out[i] = bytes_[address + i];
    return out;
  }
  int eraseCount() const {
    std::lock_guard lock(mutex_);
    return erases_;
  }
  void CountErase() {
    std::lock_guard lock(mutex_);
    ++erases_;
  }

 private:
  mutable std::mutex mutex_;
  std::array<std::uint8_t, kSize> bytes_{};
  int erases_ = 0;
};

}  // namespace tdxx::sim
