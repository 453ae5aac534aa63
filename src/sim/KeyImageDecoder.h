#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "hid/Clock.h"

namespace tdxx::sim {

// One key record as a keypad takes it in: six header bytes, then each level as a length byte
// followed by that many code bytes.
struct ReceivedKey {
  // marker, record type, key number, level-2 flags, level-1 flags, key number again.
  std::vector<std::uint8_t> header;
  std::uint8_t level1Length = 0;
  std::vector<std::uint8_t> level1;
  std::uint8_t level2Length = 0;
  std::vector<std::uint8_t> level2;
  // When each byte of the record arrived, in order.
  std::vector<ClockDuration> byteTimes;
  // False while (or when) the record stopped before its last byte.
  bool complete = false;

  std::uint8_t keyNumber() const { return header.size() > 2 ? header[2] : 0; }
};

// Everything a keypad has been sent as key definitions.
struct ReceivedKeyImage {
  // The global block as received: marker, record type, parameter count and the parameters.
  std::vector<std::uint8_t> globalBlock;
  bool globalComplete = false;
  std::vector<ReceivedKey> keys;
  bool endByte = false;
  // Bytes that started no record.
  std::vector<std::uint8_t> strayBytes;

  // Keys whose every byte arrived.
  int CompleteKeyCount() const;
};

// Takes a key-definition byte stream apart the way the keypad firmware does: 0xE4 0x01 opens
// the global block (its third byte counts the bytes that follow), 0xE4 0x02 a key record,
// 0xE5 ends the download.
class KeyImageDecoder {
 public:
  void Feed(std::uint8_t byte, ClockDuration time);
  // True between records (no record started and unfinished).
  bool BetweenRecords() const { return state_ == State::Idle; }
  const ReceivedKeyImage& image() const { return image_; }
  void Reset();

 private:
  enum class State {
    Idle,
    RecordType,
    GlobalCount,
    GlobalBytes,
    KeyHeader,
    Level1Length,
    Level1Codes,
    Level2Length,
    Level2Codes
  };
  void FeedKey(std::uint8_t byte);

  State state_ = State::Idle;
  std::size_t remaining_ = 0;
  ClockDuration markerTime_{0};
  ReceivedKeyImage image_;
};

// A decoder shared between a simulated device's behaviour and the test that looks at what the
// device received; safe to read while the device works.
class KeyImageRecorder {
 public:
  void Feed(std::uint8_t byte, ClockDuration time);
  bool BetweenRecords() const;
  ReceivedKeyImage Snapshot() const;
  void Reset();

 private:
  mutable std::mutex mutex_;
  KeyImageDecoder decoder_;
};

}  // namespace tdxx::sim
