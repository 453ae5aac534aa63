#include "hid/FileThread.h"

namespace tdxx {

void TFileThread::Start() {
  thread_ = std::thread([this] { Execute(); });
}

void TFileThread::Stop() {
  terminated_.store(true);
  wakeEvent_.Set();
}

void TFileThread::Join() {
  if (thread_.joinable())
    thread_.join();
}

void TFileThread::StopAndJoin() {
  Stop();
  Join();
}

}  // namespace tdxx
