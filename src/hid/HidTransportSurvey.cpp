#include <cerrno>

#include "hid/HidTransport.h"
#include "hid/HidTransportState.h"
#include "hid/KeypadInterfaceWalk.h"

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

  WalkKeypadInterfaces(*s.api, s.deviceFilter, [&](const KeypadInterface& keypad) {
    AttachedInterface entry;
    entry.kind = keypad.kind;
    entry.path = keypad.path;
    entry.vendorId = keypad.vendorId;
    entry.productId = keypad.productId;
    std::unique_ptr<InterfaceLock> lock;
    if (s.api->lock_path(keypad.path.c_str(), lock) == LockResult::HeldElsewhere) {
      entry.problem = AttachedInterface::Problem::InUse;
      out.push_back(std::move(entry));
      return true;
    }
    errno = 0;
    hid_device* device = s.api->open_path(keypad.path.c_str());
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
    return true;
  });
  if (!wasBound)
    UnloadHidLibrary();
  return false;
}

}  // namespace tdxx
