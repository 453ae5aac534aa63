#include "hid/ByteRing.h"

namespace tdxx {

bool ByteRing::Push(const std::uint8_t* bytes, std::size_t count) {
  if (queueCount_ + count >= kSize)
    return false;
  for (std::size_t i = 0; i < count; ++i) {
    queueData_[headIndex_] = bytes[i];
    headIndex_ = (headIndex_ + 1) % kSize;
  }
  queueCount_ += static_cast<std::uint32_t>(count);
  return true;
}

std::uint8_t ByteRing::Pop() {
  if (queueCount_ == 0)
    return 0;
  const std::uint8_t byte = queueData_[tailIndex_];
  tailIndex_ = (tailIndex_ + 1) % kSize;
  --queueCount_;
  return byte;
}

void ByteRing::PopInto(std::uint8_t* out, std::size_t count) {
  for (std::size_t i = 0; i < count && queueCount_ > 0; ++i)
    out[i] = Pop();
}

}  // namespace tdxx
