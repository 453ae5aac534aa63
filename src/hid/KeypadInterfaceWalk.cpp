#include "hid/KeypadInterfaceWalk.h"

#include <algorithm>
#include <vector>

#include "hid/KeypadIdentifierTable.h"

namespace tdxx {

void WalkKeypadInterfaces(HidApi& api, const std::string& deviceFilter,
                          const std::function<bool(const KeypadInterface&)>& visit) {
  std::vector<std::string> pathsSeen;
  hid_device_info* interfaces = api.enumerate(0, 0);
  for (hid_device_info* info = interfaces; info != nullptr; info = info->next) {
    if (info->path == nullptr || (!deviceFilter.empty() && deviceFilter != info->path))
      continue;
    const DeviceKind kind = ClassifyIdentifiers(info->vendor_id, info->product_id);
    if (kind <= 0)
      continue;
    if (std::find(pathsSeen.begin(), pathsSeen.end(), info->path) != pathsSeen.end())
      continue;
    pathsSeen.emplace_back(info->path);
    if (!visit(KeypadInterface{info->path, kind, info->vendor_id, info->product_id}))
      break;
  }
  api.free_enumeration(interfaces);
}

}  // namespace tdxx
