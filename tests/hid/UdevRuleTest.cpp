// The udev rule that lets users open the devices must name exactly the identifiers discovery
// classifies: a device missing from it is found but cannot be opened without root, and a rule
// for any other device opens that device to every user at the seat.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <utility>

#include "hid/DeviceKindTable.h"
#include "hid/KeypadIdentifierTable.h"

namespace tdxx {
namespace {

using Identifiers = std::pair<unsigned, unsigned>;

std::string Hex4(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "%04x", value);
  return text;
}

TEST(UdevRule, GrantsAccessToExactlyTheDevicesDiscoveryFinds) {
  std::ifstream rules(TDXX_UDEV_RULE);
  ASSERT_TRUE(rules.is_open()) << TDXX_UDEV_RULE;
  // hidraw nodes only, matched on both identifiers, for the seat's user and the group.
  const std::regex rule(
      R"re(KERNEL=="hidraw\*", ATTRS\{idVendor\}=="([0-9a-f]{4})", )re"
      R"re(ATTRS\{idProduct\}=="([0-9a-f]{4})", TAG\+="uaccess", GROUP="tdxxload", )re"
      R"re(MODE="0660")re");
  std::set<Identifiers> inRule;
  std::string line;
  while (std::getline(rules, line)) {
    if (line.empty() || line[0] == '#')
      continue;
    std::smatch match;
    ASSERT_TRUE(std::regex_match(line, match, rule)) << line;
    const Identifiers ids{std::stoul(match[1], nullptr, 16), std::stoul(match[2], nullptr, 16)};
    EXPECT_TRUE(inRule.insert(ids).second) << "twice: " << line;
    EXPECT_NE(ClassifyIdentifiers(static_cast<std::uint16_t>(ids.first),
                                  static_cast<std::uint16_t>(ids.second)),
              kNoDevice)
        << "not a device of ours: " << line;
  }
  for (const DeviceKindFacts& row : kDeviceKindTable) {
    if (row.vendorId == 0)
      continue;
    EXPECT_EQ(inRule.count({row.vendorId, row.productId}), 1u)
        << "no rule for the " << row.name << " (" << Hex4(row.vendorId) << ":"
        << Hex4(row.productId) << ")";
  }
}

}  // namespace
}  // namespace tdxx
