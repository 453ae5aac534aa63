#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tdxx {

// The 1024-byte ring of a pump thread's queue. Holds at most 1023 bytes: bytes are only added
// when the count afterwards stays below 1024. Not locked itself; the owning thread class guards
// it with its queue lock.
class ByteRing {
 public:
  static constexpr std::size_t kSize = 1024;

  // Appends all `count` bytes, or none when they do not fit; true when they were taken.
  bool Push(const std::uint8_t* bytes, std::size_t count);
  // Removes the oldest byte; 0 when empty.
  std::uint8_t Pop();
  // Moves the `count` oldest bytes to `out`; `count` must not exceed count().
  void PopInto(std::uint8_t* out, std::size_t count);
  std::size_t count() const { return queueCount_; }

 private:
  std::uint32_t queueCount_ = 0;
  std::uint32_t headIndex_ = 0;  // next slot to fill
  std::uint32_t tailIndex_ = 0;  // next slot to empty
  std::array<std::uint8_t, kSize> queueData_{};
};

}  // namespace tdxx
