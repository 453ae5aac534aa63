#include "hid/FileThread.h"

namespace tdxx {

void TFileThread::Start() {
  thread_ = clock_.StartWorker([this] {
    Execute();
    finished_.store(true);
  });
}

void TFileThread::Stop() {
  terminated_.store(true);
  wakeEvent_->Set();
}

void TFileThread::Join() {
  if (thread_)
    thread_->Join();
}

void TFileThread::StopAndJoin() {
  Stop();
  Join();
}

}  // namespace tdxx
