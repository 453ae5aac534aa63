#include "hid/ByteRing.h"

#include <gtest/gtest.h>

#include <vector>

namespace tdxx::test {
namespace {

// Many passes around the ring keep the bytes in order and the 1023-byte limit exact.
TEST(ByteRing, WrapsAroundKeepingOrderAndLimit) {
  ByteRing ring;
  std::uint8_t next = 0;
  std::uint8_t expected = 0;
  for (int pass = 0; pass < 50; ++pass) {
    std::vector<std::uint8_t> chunk(700);
    for (auto& byte : chunk)
      byte = next++;
    ASSERT_TRUE(ring.Push(chunk.data(), chunk.size()));
    EXPECT_FALSE(ring.Push(chunk.data(), 1023 - 700 + 1));  // would reach 1024
    std::vector<std::uint8_t> out(700);
    ring.PopInto(out.data(), out.size());
    for (std::uint8_t byte : out)
      ASSERT_EQ(byte, expected++);
  }
  EXPECT_EQ(ring.count(), 0u);
  EXPECT_EQ(ring.Pop(), 0);
  std::vector<std::uint8_t> most(1023, 7);
  EXPECT_TRUE(ring.Push(most.data(), most.size()));
  EXPECT_FALSE(ring.Push(most.data(), 0 + 1));
}

}  // namespace
}  // namespace tdxx::test
