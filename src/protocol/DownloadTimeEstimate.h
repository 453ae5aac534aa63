#pragma once

#include <cstdint>
#include <vector>

#include "files/KeyTable.h"
#include "hid/Clock.h"
#include "hid/DeviceKind.h"

namespace tdxx {

// The time a key download takes at least, from the pauses it must make: 10 ms per feature
// report or per stream send, the pauses after the global block and after each key, the pings
// before each key, the closing pauses. Device and bus time come on top.
struct DownloadTimeEstimate {
  // One entry per progress step, in the order the download steps its progress bar: the global
  // block, then each key.
  std::vector<Milliseconds> steps;
  // What follows the last step: the end byte and the pauses of the finish.
  Milliseconds finish{0};
  // The download sends the key records over the report stream (PRG/TMode).
  bool overStream = false;

  Milliseconds Total() const { return Remaining(0); }
  // Time still to go when `completedSteps` steps are done.
  Milliseconds Remaining(int completedSteps) const;
  // No key download would run for these inputs.
  bool empty() const { return steps.empty(); }
};

// The estimate for sending the first `keyCount` keys of `keys` to a device of `kind` with
// download method `method` (0 standard, 1 PRG/TMode, 2 flash drive), as the Download command
// would route it: kind 9, or the PRG/TMode method, sends over the stream; kinds 2, 5 and 10 take
// at most 24 keys with the standard method; the flash-drive method and kinds that take no key
// download give an empty estimate. A device in PRG/TMode may hold fewer keys than sent; that
// is only known when it answers, so all `keyCount` keys are counted.
DownloadTimeEstimate EstimateKeyDownload(const KeyTable& keys, int keyCount, DeviceKind kind,
                                         std::int32_t method);

}  // namespace tdxx
