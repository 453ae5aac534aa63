#pragma once

#include <iosfwd>
#include <memory>
#include <string>

#include "hid/Clock.h"
#include "hid/HidApi.h"

namespace tdxx {

// Decorates another binder: the HidApi it binds forwards every call to the wrapped one and
// writes one JSON line per call to `out`, flushed at once, so that a recording survives a crash:
//   {"t": ms since the binder was made, "fn": "hid_write", "device": 2, "out": "0140",
//    "ret": 2, "ms": 1.25}
// (times in milliseconds to the microsecond)
// Calls on a device name it by "device", the number of its hid_open_path (1, 2, ...: the same
// numbers in every run that opens in the same order); calls on an interface name it by "path".
// "out" is the hex of the bytes handed to the library, "in" the hex of the bytes it gave back
// (enumerations, and hid_get_device_info, list their interfaces under "devices"); "ret" is the
// call's result; "ms" how long it took on `clock`. Lines of calls that run at once on the two pump
// threads are written whole, each when its call has returned. The recording also names the bind
// ("fn": "bind").
class RecordingHidBinder final : public HidLibraryBinder {
 public:
  RecordingHidBinder(HidLibraryBinder& inner, Clock& clock, std::ostream& out);
  ~RecordingHidBinder() override;
  RecordingHidBinder(const RecordingHidBinder&) = delete;
  RecordingHidBinder& operator=(const RecordingHidBinder&) = delete;

  std::unique_ptr<HidApi> Bind(std::string& error) override;

  // The recorder all bound copies write through (shared with them: a bound copy may outlive
  // the binder).
  class Recorder;

 private:
  HidLibraryBinder& inner_;
  std::shared_ptr<Recorder> recorder_;
};

// Lower-case hex of `count` bytes, two digits each, without separators.
std::string HexOfBytes(const unsigned char* bytes, std::size_t count);

}  // namespace tdxx
