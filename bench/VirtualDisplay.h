#pragma once

#include <sys/types.h>

#include <string>

namespace tdxx::bench {

// The X display the start-up benchmark runs its programs on: an Xvfb server of its own on a free
// display number (no window manager, nothing else drawing), ended with this object, or an
// existing display named by the caller.
class VirtualDisplay {
 public:
  VirtualDisplay() = default;
  ~VirtualDisplay();
  VirtualDisplay(const VirtualDisplay&) = delete;
  VirtualDisplay& operator=(const VirtualDisplay&) = delete;

  // Uses `existing` (":N") when not empty, else starts Xvfb; false with `error` set when that
  // fails.
  bool Open(const std::string& existing, std::string& error);

  // ":N", for the programs' DISPLAY.
  const std::string& name() const { return name_; }
  bool startedServer() const { return serverPid_ > 0; }

 private:
  std::string name_;
  pid_t serverPid_ = -1;
};

}  // namespace tdxx::bench
