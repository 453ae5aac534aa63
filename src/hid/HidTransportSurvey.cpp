#include <algorithm>
#include <cerrno>

#include "hid/HidTransport.h"
#include "hid/HidTransportState.h"
#include "hid/KeypadIdentifierTable.h"

namespace tdxx {

bool HidTransport::SurveyInterfaces(std::vector<AttachedInterface>& out) {
  State& s = *state_;
  out.clear();
  // A held device stays as it is: opening its interface again could disturb the conversation.
  if (s.DeviceHeld() || s.reader || s.writer)
    return true;
  const bool wasBound = s.api != nullptr;
  if (LoadHidLibrary())
    return true;

  hid_device_info* interfaces = s.api->enumerate(0, 0);
  for (hid_device_info* info = interfaces; info != nullptr; info = info->next) {
    if (info->path == nullptr || (!s.deviceFilter.empty() && s.deviceFilter != info->path))
      continue;
    const DeviceKind kind = ClassifyIdentifiers(info->vendor_id, info->product_id);
    if (kind <= 0)
      continue;
    const auto seen = std::find_if(out.begin(), out.end(), [&](const AttachedInterface& known) {
      return known.path == info->path;
    });
    if (seen != out.end())
      continue;
    AttachedInterface entry;
    entry.kind = kind;
    entry.path = info->path;
    entry.vendorId = info->vendor_id;
    entry.productId = info->product_id;
    std::unique_ptr<InterfaceLock> lock;
    if (s.api->lock_path(info->path, lock) == LockResult::HeldElsewhere) {
      entry.problem = AttachedInterface::Problem::InUse;
      out.push_back(std::move(entry));
      continue;
    }
    errno = 0;
    hid_device* device = s.api->open_path(info->path);
    const int openErrno = errno;
    if (device != nullptr) {
      entry.openable = true;
      s.api->close(device);
    } else if (OpenDeniedForLackOfPermission(openErrno, *s.api)) {
      entry.problem = AttachedInterface::Problem::NoPermission;
    } else {
      entry.problem = AttachedInterface::Problem::Failed;
      entry.error = HidTransportNarrowText(s.api->error(nullptr));
    }
    out.push_back(std::move(entry));
  }
  s.api->free_enumeration(interfaces);
  if (!wasBound)
    UnloadHidLibrary();
  return false;
}

}  // namespace tdxx
