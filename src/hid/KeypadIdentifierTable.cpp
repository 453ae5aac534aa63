#include "hid/KeypadIdentifierTable.h"

namespace tdxx {

DeviceKind ClassifyIdentifiers(std::uint16_t vendorId, std::uint16_t productId) {
  for (const KeypadIdentifier& row : kKeypadIdentifierTable) {
    if (row.vendorId == vendorId && row.productId == productId)
      return row.kind;
  }
  return 0;
}

}  // namespace tdxx
