#pragma once

#include <iosfwd>
#include <memory>
#include <string>

#include "hid/Clock.h"
#include "hid/HidApi.h"

namespace tdxx::sim {

// Plays a recording made by RecordingHidBinder back as the attached devices
// (--simulate=replay:FILE): a program that makes the same calls gets the same answers.
//
// What is matched, each kind of call in recorded order on its own:
//  - binds, and enumerations (all of them in one order; they come from one thread);
//  - hid_open_path and lock_path, per interface path; an open answers with the recorded
//    handle, or fails with the recorded errno;
//  - hid_send_feature_report, hid_get_feature_report, hid_get_device_info and hid_write, per
//    handle (handles are the recording's device numbers, given out by the opens): sent bytes
//    must equal the recorded ones, feature reads answer the recorded bytes and device infos the
//    recorded interface;
//  - hid_read_timeout, per handle: the reads that gave data (or failed) give the same, in
//    order, each only once the replay has made as many writes and feature sends as the
//    recording had made before that read returned, so that an answer never comes before its
//    question. Reads that timed out are not matched (how many there are depends on timing): a
//    read with nothing due waits its time-out and returns 0.
// hid_init, hid_exit, hid_close, hid_free_enumeration and hid_error are not matched;
// hid_version_str answers null (the recording's library version is not known).
// A call that departs from the recording (other bytes, or a call the recording does not have)
// fails as the library would (-1, or null with errno ENOENT) and the first such difference is
// kept, in words that name the call, its number among its kind and the bytes.
class HidReplay {
 public:
  // Null with `error` set when the file cannot be read or a line is not a recorded call.
  static std::unique_ptr<HidReplay> Load(const std::string& path, Clock& clock, std::string& error);
  static std::unique_ptr<HidReplay> Parse(std::istream& recording, Clock& clock,
                                          std::string& error);
  ~HidReplay();
  HidReplay(const HidReplay&) = delete;
  HidReplay& operator=(const HidReplay&) = delete;

  HidLibraryBinder& binder();
  // The first call that departed from the recording; empty while none has.
  std::string firstDifference() const;

  struct State;

 private:
  HidReplay();
  std::shared_ptr<State> state_;
  std::unique_ptr<HidLibraryBinder> binder_;
};

}  // namespace tdxx::sim
