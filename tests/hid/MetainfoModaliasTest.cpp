#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <utility>

#include "hid/DeviceKindTable.h"

namespace tdxx {
namespace {

using IdPair = std::pair<std::uint16_t, std::uint16_t>;

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A software centre offers the program when a device with one of these modaliases is plugged
// in: the metainfo must name every pair the loader recognises, in the form udev writes
// (upper-case hexadecimal), and no pair it does not.
TEST(MetainfoModalias, NamesExactlyTheIdentifierTable) {
  const std::string metainfo = ReadWholeFile(TDXX_METAINFO);
  ASSERT_FALSE(metainfo.empty()) << TDXX_METAINFO;

  std::set<IdPair> listed;
  const std::regex modalias("<modalias>([^<]*)</modalias>");
  const std::regex usbIds("usb:v([0-9A-F]{4})p([0-9A-F]{4})d\\*");
  for (auto it = std::sregex_iterator(metainfo.begin(), metainfo.end(), modalias);
       it != std::sregex_iterator(); ++it) {
    const std::string alias = (*it)[1];
    std::smatch ids;
    ASSERT_TRUE(std::regex_match(alias, ids, usbIds)) << "not a USB modalias: " << alias;
    const auto vendor = static_cast<std::uint16_t>(std::stoul(ids[1], nullptr, 16));
    const auto product = static_cast<std::uint16_t>(std::stoul(ids[2], nullptr, 16));
    EXPECT_TRUE(listed.insert({vendor, product}).second) << "listed twice: " << alias;
  }

  std::set<IdPair> recognised;
  for (const DeviceKindFacts& row : kDeviceKindTable) {
    if (row.vendorId != 0)
      recognised.insert({row.vendorId, row.productId});
  }
  EXPECT_EQ(listed, recognised);
}

}  // namespace
}  // namespace tdxx
