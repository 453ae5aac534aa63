#include "sim/HidReplay.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <fstream>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>

#include "hid/RecordingHidBinder.h"
#include "sim/DeviceInfoList.h"

namespace tdxx::sim {

namespace {

// One recorded call waiting to be replayed.
struct RecordedCall {
  nlohmann::json line;
  std::size_t lineNumber = 0;
  int ordinal = 0;  // its number among the calls it is matched with, from 1
  // Reads: the writes and feature sends the recording had made before the read returned.
  std::size_t sendsBefore = 0;
};

using CallQueue = std::deque<RecordedCall>;

bool IsSend(const std::string& fn) {
  return fn == "hid_write" || fn == "hid_send_feature_report";
}

std::string Text(const nlohmann::json& line, const char* key) {
  const auto found = line.find(key);
  return found != line.end() && found->is_string() ? found->get<std::string>() : std::string();
}

int Int(const nlohmann::json& line, const char* key, int fallback = 0) {
  const auto found = line.find(key);
  return found != line.end() && found->is_number_integer() ? found->get<int>() : fallback;
}

std::vector<unsigned char> BytesOfHex(const std::string& hex) {
  std::vector<unsigned char> bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes.push_back(static_cast<unsigned char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  return bytes;
}

class ReplayLock final : public InterfaceLock {};

// The interfaces a recorded line lists under "devices", as hidapi hands them out.
hid_device_info* RecordedDeviceList(const nlohmann::json& line) {
  const auto devices = line.find("devices");
  if (devices == line.end() || !devices->is_array())
    return nullptr;
  DeviceInfoList list;
  for (const nlohmann::json& recorded : *devices) {
    DeviceInfoEntry entry;
    entry.path = Text(recorded, "path");
    entry.vendorId = static_cast<unsigned short>(Int(recorded, "vid"));
    entry.productId = static_cast<unsigned short>(Int(recorded, "pid"));
    entry.serialNumber = WidenBytes(Text(recorded, "serial"));
    entry.releaseNumber = static_cast<unsigned short>(Int(recorded, "release"));
    entry.manufacturer = WidenBytes(Text(recorded, "manufacturer"));
    entry.product = WidenBytes(Text(recorded, "product"));
    entry.usagePage = static_cast<unsigned short>(Int(recorded, "usagePage"));
    entry.usage = static_cast<unsigned short>(Int(recorded, "usage"));
    entry.interfaceNumber = Int(recorded, "interface");
    list.Add(entry);
  }
  return list.Release();
}

}  // namespace

struct HidReplay::State {
  explicit State(Clock& clockIn) : clock(clockIn) {}

  struct Handle {
    int device = 0;  // the recording's number for it
    std::shared_ptr<ClockEvent> news;
    // What hid_get_device_info gave out, freed with the handle.
    std::shared_ptr<hid_device_info> info;
  };

  Clock& clock;
  mutable std::mutex mutex;
  CallQueue binds;
  CallQueue enumerations;
  std::map<std::string, CallQueue> opens;
  std::map<std::string, CallQueue> locks;
  // Per device number, per function.
  std::map<int, std::map<std::string, CallQueue>> deviceCalls;
  std::map<std::pair<std::string, std::string>, int> callsMade;
  std::map<hid_device*, Handle> handles;
  std::uintptr_t nextHandle = 1;
  std::size_t sendsMade = 0;
  std::wstring lastError = L"Success";
  std::string firstDifference;

  // The position of this call among the calls of its kind on `where`.
  int CountCall(const std::string& fn, const std::string& where) {
    return ++callsMade[{fn, where}];
  }

  void Differ(const std::string& text) {
    if (firstDifference.empty())
      firstDifference = text;
    lastError = L"Replay: call not in the recording";
  }

  // Pops the next recorded call, or notes that the recording has none.
  bool Next(CallQueue& queue, const std::string& fn, const std::string& where, RecordedCall& out) {
    const int ordinal = CountCall(fn, where);
    if (queue.empty()) {
      Differ(fn + " #" + std::to_string(ordinal) + " on " + where +
             " is not in the recording (it has " + std::to_string(ordinal - 1) + ")");
      return false;
    }
    out = std::move(queue.front());
    queue.pop_front();
    return true;
  }

  Handle* FindHandle(hid_device* device) {
    const auto found = handles.find(device);
    return found == handles.end() ? nullptr : &found->second;
  }

  void WakeReaders() {
    for (auto& [key, handle] : handles)
      handle.news->Set();
  }

  // Matches a write or feature send against the recording.
  int Send(const char* fn, hid_device* device, const unsigned char* data, std::size_t length) {
    std::lock_guard lock(mutex);
    ++sendsMade;
    WakeReaders();
    Handle* handle = FindHandle(device);
    if (handle == nullptr || data == nullptr)
      return -1;
    const std::string where = "device " + std::to_string(handle->device);
    RecordedCall call;
    if (!Next(deviceCalls[handle->device][fn], fn, where, call))
      return -1;
    const std::string sent = HexOfBytes(data, length);
    const std::string recorded = Text(call.line, "out");
    if (sent != recorded) {
      std::size_t at = 0;
      while (at < sent.size() && at < recorded.size() && sent[at] == recorded[at])
        ++at;
      Differ(std::string(fn) + " #" + std::to_string(call.ordinal) + " on " + where +
             " differs from the recording (line " + std::to_string(call.lineNumber) + ") at byte " +
             std::to_string(at / 2) + ": sent " + sent + ", recorded " + recorded);
      return -1;
    }
    return Int(call.line, "ret", -1);
  }
};

namespace {

using State = HidReplay::State;

class ReplayHidApi final : public HidApi {
 public:
  explicit ReplayHidApi(std::shared_ptr<State> state) : state_(std::move(state)) {}

  int init() override { return 0; }
  int exit() override { return 0; }

  hid_device_info* enumerate(unsigned short, unsigned short) override {
    State& s = *state_;
    std::lock_guard lock(s.mutex);
    RecordedCall call;
    if (!s.Next(s.enumerations, "hid_enumerate", "the bus", call))
      return nullptr;
    return RecordedDeviceList(call.line);
  }

  void free_enumeration(hid_device_info* devices) override { FreeDeviceInfoList(devices); }

  hid_device* open_path(const char* path) override {
    State& s = *state_;
    std::lock_guard lock(s.mutex);
    const std::string where = path != nullptr ? path : "";
    RecordedCall call;
    if (!s.Next(s.opens[where], "hid_open_path", where, call)) {
      errno = ENOENT;
      return nullptr;
    }
    const int device = Int(call.line, "ret", -1);
    if (device < 0) {
      const int recordedErrno = Int(call.line, "errno", ENOENT);
      s.lastError = L"Failed to open a device with path '" +
                    std::wstring(where.begin(), where.end()) + L"' (as recorded)";
      errno = recordedErrno;
      return nullptr;
    }
    auto* key = reinterpret_cast<hid_device*>(s.nextHandle++ * 16);
    s.handles[key] = State::Handle{device, s.clock.MakeEvent(), nullptr};
    s.lastError = L"Success";
    return key;
  }

  void close(hid_device* device) override {
    State& s = *state_;
    std::lock_guard lock(s.mutex);
    const auto found = s.handles.find(device);
    if (found == s.handles.end())
      return;
    found->second.news->Set();
    s.handles.erase(found);
  }

  int send_feature_report(hid_device* device, const unsigned char* data,
                          std::size_t length) override {
    return state_->Send("hid_send_feature_report", device, data, length);
  }

  int write(hid_device* device, const unsigned char* data, std::size_t length) override {
    return state_->Send("hid_write", device, data, length);
  }

  int get_feature_report(hid_device* device, unsigned char* data, std::size_t length) override {
    State& s = *state_;
    std::lock_guard lock(s.mutex);
    State::Handle* handle = s.FindHandle(device);
    if (handle == nullptr || data == nullptr || length == 0)
      return -1;
    const std::string where = "device " + std::to_string(handle->device);
    RecordedCall call;
    if (!s.Next(s.deviceCalls[handle->device]["hid_get_feature_report"], "hid_get_feature_report",
                where, call))
      return -1;
    const std::string asked = HexOfBytes(data, 1);
    if (asked != Text(call.line, "out")) {
      s.Differ("hid_get_feature_report #" + std::to_string(call.ordinal) + " on " + where +
               " asks for report " + asked + ", the recording (line " +
               std::to_string(call.lineNumber) + ") for report " + Text(call.line, "out"));
      return -1;
    }
    const std::vector<unsigned char> answer = BytesOfHex(Text(call.line, "in"));
    std::copy_n(answer.begin(), std::min(answer.size(), length), data);
    return Int(call.line, "ret", -1);
  }

  int read_timeout(hid_device* device, unsigned char* data, std::size_t length,
                   int milliseconds) override {
    State& s = *state_;
    const ClockDuration deadline = s.clock.Now() + Milliseconds(std::max(milliseconds, 0));
    std::unique_lock lock(s.mutex);
    for (;;) {
      State::Handle* handle = s.FindHandle(device);
      if (handle == nullptr || data == nullptr)
        return -1;
      CallQueue& reads = s.deviceCalls[handle->device]["hid_read_timeout"];
      if (!reads.empty() && s.sendsMade >= reads.front().sendsBefore) {
        const RecordedCall call = std::move(reads.front());
        reads.pop_front();
        const std::vector<unsigned char> answer = BytesOfHex(Text(call.line, "in"));
        std::copy_n(answer.begin(), std::min(answer.size(), length), data);
        return Int(call.line, "ret", -1);
      }
      const ClockDuration now = s.clock.Now();
      if (milliseconds >= 0 && now >= deadline)
        return 0;
      const std::shared_ptr<ClockEvent> news = handle->news;
      lock.unlock();
      if (milliseconds >= 0)
        news->WaitFor(deadline - now);
      else
        news->Wait();
      lock.lock();
    }
  }

  hid_device_info* get_device_info(hid_device* device) override {
    State& s = *state_;
    std::lock_guard lock(s.mutex);
    State::Handle* handle = s.FindHandle(device);
    if (handle == nullptr)
      return nullptr;
    RecordedCall call;
    if (!s.Next(s.deviceCalls[handle->device]["hid_get_device_info"], "hid_get_device_info",
                "device " + std::to_string(handle->device), call))
      return nullptr;
    handle->info.reset(RecordedDeviceList(call.line), FreeDeviceInfoList);
    return handle->info.get();
  }

  const char* version_str() override { return nullptr; }

  const wchar_t* error(hid_device*) override {
    std::lock_guard lock(state_->mutex);
    return state_->lastError.c_str();
  }

  LockResult lock_path(const char* path, std::unique_ptr<InterfaceLock>& lock) override {
    State& s = *state_;
    std::lock_guard guard(s.mutex);
    lock.reset();
    const std::string where = path != nullptr ? path : "";
    RecordedCall call;
    if (!s.Next(s.locks[where], "lock_path", where, call))
      return LockResult::NotLockable;
    const std::string result = Text(call.line, "ret");
    if (result == "held-elsewhere")
      return LockResult::HeldElsewhere;
    if (result != "locked")
      return LockResult::NotLockable;
    lock = std::make_unique<ReplayLock>();
    return LockResult::Locked;
  }

 private:
  std::shared_ptr<State> state_;
};

class ReplayBinder final : public HidLibraryBinder {
 public:
  explicit ReplayBinder(std::shared_ptr<State> state) : state_(std::move(state)) {}
  std::unique_ptr<HidApi> Bind(std::string& error) override {
    {
      State& s = *state_;
      std::lock_guard lock(s.mutex);
      RecordedCall call;
      if (!s.Next(s.binds, "bind", "the library", call)) {
        error = "Replay: this bind is not in the recording";
        return nullptr;
      }
      if (Int(call.line, "ret", -1) != 0) {
        error = Text(call.line, "error");
        return nullptr;
      }
    }
    return std::make_unique<ReplayHidApi>(state_);
  }

 private:
  std::shared_ptr<State> state_;
};

}  // namespace

HidReplay::HidReplay() = default;
HidReplay::~HidReplay() = default;

std::unique_ptr<HidReplay> HidReplay::Load(const std::string& path, Clock& clock,
                                           std::string& error) {
  std::ifstream file(path);
  if (!file) {
    error = path + ": cannot be read";
    return nullptr;
  }
  std::unique_ptr<HidReplay> replay = Parse(file, clock, error);
  if (!replay)
    error = path + ": " + error;
  return replay;
}

std::unique_ptr<HidReplay> HidReplay::Parse(std::istream& recording, Clock& clock,
                                            std::string& error) {
  auto state = std::make_shared<State>(clock);
  std::map<std::pair<std::string, std::string>, int> ordinals;
  std::size_t sends = 0;
  std::string text;
  for (std::size_t lineNumber = 1; std::getline(recording, text); ++lineNumber) {
    if (text.find_first_not_of(" \t\r") == std::string::npos)
      continue;
    nlohmann::json line = nlohmann::json::parse(text, nullptr, false);
    if (line.is_discarded() || !line.is_object() || Text(line, "fn").empty()) {
      error = "line " + std::to_string(lineNumber) + " is not a recorded HID call";
      return nullptr;
    }
    const std::string fn = Text(line, "fn");
    RecordedCall call;
    call.lineNumber = lineNumber;
    call.sendsBefore = sends;
    if (IsSend(fn))
      ++sends;
    CallQueue* queue = nullptr;
    std::string where;
    if (fn == "bind") {
      queue = &state->binds;
      where = "the library";
    } else if (fn == "hid_enumerate") {
      queue = &state->enumerations;
      where = "the bus";
    } else if (fn == "hid_open_path") {
      where = Text(line, "path");
      queue = &state->opens[where];
    } else if (fn == "lock_path") {
      where = Text(line, "path");
      queue = &state->locks[where];
    } else if (IsSend(fn) || fn == "hid_get_feature_report" || fn == "hid_get_device_info" ||
               (fn == "hid_read_timeout" && Int(line, "ret") != 0)) {
      const int device = Int(line, "device");
      where = "device " + std::to_string(device);
      queue = &state->deviceCalls[device][fn];
    }
    if (queue == nullptr)
      continue;  // not matched (see the header)
    call.ordinal = ++ordinals[{fn, where}];
    call.line = std::move(line);
    queue->push_back(std::move(call));
  }
  std::unique_ptr<HidReplay> replay(new HidReplay());
  replay->state_ = state;
  replay->binder_ = std::make_unique<ReplayBinder>(state);
  return replay;
}

HidLibraryBinder& HidReplay::binder() {
  return *binder_;
}

std::string HidReplay::firstDifference() const {
  std::lock_guard lock(state_->mutex);
  return state_->firstDifference;
}

}  // namespace tdxx::sim
