#include "hid/KeypadIdentifierTable.h"

#include "hid/DeviceKindTable.h"

namespace tdxx {

DeviceKind ClassifyIdentifiers(std::uint16_t vendorId, std::uint16_t productId) {
  for (const DeviceKindFacts& row : kDeviceKindTable) {
    if (row.vendorId != 0 && row.vendorId == vendorId && row.productId == productId)
      return row.kind;
  }
  return kNoDevice;
}

}  // namespace tdxx
