#pragma once

#include <memory>

#include "hid/HidApi.h"

namespace tdxx {

// The exclusive lock on a device node: flock(LOCK_EX | LOCK_NB) on a descriptor of its own,
// released when the lock object goes. flock locks belong to the open file description, so two
// connections of one process exclude each other just as two processes do.
LockResult LockDeviceNode(const char* path, std::unique_ptr<InterfaceLock>& lock);

}  // namespace tdxx
