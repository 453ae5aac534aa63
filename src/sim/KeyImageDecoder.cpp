#include "sim/KeyImageDecoder.h"

#include <algorithm>

namespace tdxx::sim {
namespace {

constexpr std::uint8_t kMarker = 0xE4;
constexpr std::uint8_t kGlobalBlock = 0x01;
constexpr std::uint8_t kKeyRecord = 0x02;
constexpr std::uint8_t kEndByte = 0xE5;
constexpr std::size_t kKeyHeaderSize = 6;

}  // namespace

int ReceivedKeyImage::CompleteKeyCount() const {
  return static_cast<int>(
      std::count_if(keys.begin(), keys.end(), [](const ReceivedKey& key) { return key.complete; }));
}

void KeyImageDecoder::Reset() {
  state_ = State::Idle;
  remaining_ = 0;
  image_ = {};
}

void KeyImageDecoder::Feed(std::uint8_t byte, ClockDuration time) {
  switch (state_) {
    case State::Idle:
      if (byte == kMarker) {
        markerTime_ = time;
        state_ = State::RecordType;
      } else if (byte == kEndByte) {
        image_.endByte = true;
      } else {
        image_.strayBytes.push_back(byte);
      }
      return;
    case State::RecordType:
      if (byte == kGlobalBlock) {
        image_.globalBlock = {kMarker, byte};
        image_.globalComplete = false;
        state_ = State::GlobalCount;
      } else if (byte == kKeyRecord) {
        ReceivedKey key;
        key.header = {kMarker, byte};
        key.byteTimes = {markerTime_, time};
        image_.keys.push_back(std::move(key));
        remaining_ = kKeyHeaderSize - 2;
        state_ = State::KeyHeader;
      } else {
        image_.strayBytes.insert(image_.strayBytes.end(), {kMarker, byte});
        state_ = State::Idle;
      }
      return;
    case State::GlobalCount:
      image_.globalBlock.push_back(byte);
      remaining_ = byte;
      state_ = remaining_ == 0 ? State::Idle : State::GlobalBytes;
      image_.globalComplete = remaining_ == 0;
      return;
    case State::GlobalBytes:
      image_.globalBlock.push_back(byte);
      if (--remaining_ == 0) {
        image_.globalComplete = true;
        state_ = State::Idle;
      }
      return;
    default:
      image_.keys.back().byteTimes.push_back(time);
      FeedKey(byte);
      return;
  }
}

void KeyImageDecoder::FeedKey(std::uint8_t byte) {
  ReceivedKey& key = image_.keys.back();
  switch (state_) {
    case State::KeyHeader:
      key.header.push_back(byte);
      if (--remaining_ == 0)
        state_ = State::Level1Length;
      return;
    case State::Level1Length:
      key.level1Length = byte;
      remaining_ = byte;
      state_ = byte == 0 ? State::Level2Length : State::Level1Codes;
      return;
    case State::Level1Codes:
      key.level1.push_back(byte);
      if (--remaining_ == 0)
        state_ = State::Level2Length;
      return;
    case State::Level2Length:
      key.level2Length = byte;
      remaining_ = byte;
      if (byte == 0) {
        key.complete = true;
        state_ = State::Idle;
      } else {
        state_ = State::Level2Codes;
      }
      return;
    case State::Level2Codes:
      key.level2.push_back(byte);
      if (--remaining_ == 0) {
        key.complete = true;
        state_ = State::Idle;
      }
      return;
    default:
      return;
  }
}

void KeyImageRecorder::Feed(std::uint8_t byte, ClockDuration time) {
  std::lock_guard lock(mutex_);
  decoder_.Feed(byte, time);
}

bool KeyImageRecorder::BetweenRecords() const {
  std::lock_guard lock(mutex_);
  return decoder_.BetweenRecords();
}

ReceivedKeyImage KeyImageRecorder::Snapshot() const {
  std::lock_guard lock(mutex_);
  return decoder_.image();
}

void KeyImageRecorder::Reset() {
  std::lock_guard lock(mutex_);
  decoder_.Reset();
}

}  // namespace tdxx::sim
