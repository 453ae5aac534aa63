#include <cstring>
#include <system_error>

#include "hid/HidTransport.h"
#include "hid/HidTransportState.h"

namespace tdxx {

namespace {
constexpr Milliseconds kPauseAfterSend{10};
// Also the time the writer has to send what is still queued.
constexpr Milliseconds kPauseOnClose = TFileWriteThread::kDrainTime;
// How often CloseStream looks whether the pumps have ended.
constexpr Milliseconds kPumpsEndedPoll{10};
}  // namespace

bool HidTransport::OpenStream(ReportMode mode) {
  State& s = *state_;
  if (LoadHidLibrary())
    return true;
  // A handle held for features, or a stream already open: refuse and leave it alone.
  if (s.DeviceHeld())
    return true;
  s.JoinPumps();
  // Nobody else may talk to the device while the stream is open: another instance's version
  // query in the middle of a firmware upgrade would corrupt it.
  if (s.api->lock_path(s.devicePath.c_str(), s.deviceLock) == LockResult::HeldElsewhere) {
    CloseKeypad();
    return true;
  }
  // Both connections must still be the device that discovery found at the path; one that is
  // not is closed, and the open counts as failed.
  for (hid_device** device : {&s.readerDevice, &s.writerDevice}) {
    int openErrno = 0;
    *device = s.OpenPath(s.devicePath, openErrno);
    if (*device != nullptr &&
        !s.NodeIsDevice(*device, s.devicePath, s.deviceVendorId, s.deviceProductId)) {
      s.api->close(*device);
      *device = nullptr;
    }
    if (*device == nullptr) {
      CloseKeypad();
      return true;
    }
  }
  s.streamWriteFailed = false;
  try {
    s.reader = std::make_unique<TFileReadThread>(*s.api, s.readerDevice, mode, s.clock);
    s.writer = std::make_unique<TFileWriteThread>(*s.api, s.writerDevice, mode, s.clock);
  } catch (const std::system_error&) {
    // No thread could be started: undo the open.
    s.JoinPumps();
    CloseKeypad();
    return true;
  }
  return false;
}

void HidTransport::CloseStream() {
  State& s = *state_;
  // The writer goes on sending what is queued (the end byte of a download, say) during the
  // pause; the reader ends within its read window.
  if (s.writer)
    s.writer->Stop();
  if (s.reader)
    s.reader->Stop();
  s.streamClosing = true;
  s.clock.Pause(kPauseOnClose);
  // A write to a device that stopped answering blocks until the kernel gives up on it (up to
  // 5 s): the pumps are waited for in pauses, so that the window keeps painting meanwhile.
  while ((s.writer && !s.writer->Finished()) || (s.reader && !s.reader->Finished()))
    s.clock.Pause(kPumpsEndedPoll);
  if (s.writer)
    s.streamWriteFailed = s.writer->writeFailed();
  s.JoinPumps();
  s.CloseDevice();
  if (s.api)
    UnloadHidLibrary();
}

bool HidTransport::SendText(const char* text) {
  if (text == nullptr)
    return true;
  return SendBytes(reinterpret_cast<const std::uint8_t*>(text), std::strlen(text));
}

bool HidTransport::SendBytes(const std::uint8_t* bytes, std::size_t count) {
  State& s = *state_;
  if (!streamOpen() || (bytes == nullptr && count > 0))
    return true;
  // A send that does not fit is dropped whole, and the caller learns of it; the pause is kept
  // either way, so the pacing does not depend on the queue.
  const bool taken = s.writer->Enqueue(bytes, count);
  s.clock.Pause(kPauseAfterSend);
  return !taken;
}

int HidTransport::BytesAvailable() {
  State& s = *state_;
  return s.reader ? static_cast<int>(s.reader->QueuedCount()) : 0;
}

std::uint8_t HidTransport::ReadByte() {
  State& s = *state_;
  return s.reader ? s.reader->Dequeue() : 0;
}

bool HidTransport::streamWriteFailed() const {
  return state_->streamWriteFailed;
}

bool HidTransport::streamOpen() const {
  const State& s = *state_;
  return s.reader && s.writer && !s.streamClosing;
}

}  // namespace tdxx
