#include <gtest/gtest.h>

#include <cstdio>

#include "RecordingLog.h"
#include "TempFolder.h"
#include "UpgBuilder.h"
#include "files/FirmwareReader.h"

namespace tdxx {
namespace {

using test::HexRecord;
using test::RecordingLog;
using test::TempFolder;
using test::UpgBuilder;

class FirmwareReaderTest : public ::testing::Test {
 protected:
  int Read(const std::string& text) {
    log = RecordingLog();
    return ReadFirmwareFile(folder.Write("fw.upg", text), *firmware, log);
  }

  TempFolder folder;
  std::unique_ptr<FirmwareImage> firmware = std::make_unique<FirmwareImage>();
  RecordingLog log;
};

TEST_F(FirmwareReaderTest, ReadsASignedFirmware) {
  UpgBuilder upg;
  upg.Put(0x2000, {0x00, 0x0C, 0x30, 0x7E});
  ASSERT_EQ(Read(upg.Text()), 0);
  EXPECT_EQ(log.text(), "\r\nTDxx firmware 2.3\r\n");
  EXPECT_EQ(firmware->imageLength, 64000u);
  EXPECT_EQ(firmware->versionByte, 0x23);
  // The image keeps the bytes as the file gives them.
  EXPECT_EQ(firmware->image[0x2001], 0x0C);
  EXPECT_EQ(firmware->image[0x4000], 0x63);
  EXPECT_EQ(firmware->image[0x1FFF], 0xFF);
  EXPECT_EQ(firmware->image[0x2004], 0xFF);
}

TEST_F(FirmwareReaderTest, FirmwareLengthFollowsTheTopBytes) {
  UpgBuilder longImage;
  longImage.image.clear();
  longImage.Put(0x2FFF, {ExchangeBitPairs(0x41), 0x63, 0x61}).Put(64000, {0x00});
  ASSERT_EQ(Read(longImage.Text()), 0);
  EXPECT_EQ(firmware->imageLength, 64448u);
  EXPECT_EQ(firmware->versionByte, 0x41);

  UpgBuilder ffAtTheTop;
  ffAtTheTop.Put(64000, {0xFF}).Put(0xFBBF, {0xFF});
  ASSERT_EQ(Read(ffAtTheTop.Text()), 0);
  EXPECT_EQ(firmware->imageLength, 64000u);
}

TEST_F(FirmwareReaderTest, DigitsOfEitherCaseAndAnyLineEnds) {
  for (const bool lowercase : {false, true}) {
    for (const std::string lineEnd : {"\r\n", "\n", "\r", "", " \t;x"}) {
      UpgBuilder upg;
      upg.lowercase = lowercase;
      upg.lineEnd = lineEnd;
      upg.Put(0x2100, {0xAB, 0xCD, 0xEF});
      EXPECT_EQ(Read(upg.Text()), 0) << lowercase << " [" << lineEnd << "]";
      EXPECT_EQ(firmware->image[0x2102], 0xEF);
    }
  }
}

TEST_F(FirmwareReaderTest, ChecksumLineForms) {
  UpgBuilder upg;
  const std::string records = upg.Text().substr(upg.Text().find(':'));
  char value[8];
  std::snprintf(value, sizeof value, "%04X", upg.ImageChecksum());
  struct Case {
    std::string line;
    int result;
  };
  const Case cases[] = {
      {"Checksum = 0x" + std::string(value) + "\r\n", 0},
      {"Checksum=0x" + std::string(value) + "\n", 0},
      {"Checksum \t =\r\n  0x" + std::string(value) + "\n", 0},
      {"Checksum = 0x" + std::string(value) + "9\n", 0},  // four digits at most
      {"Checksum = 0x0000\r\n", -1},
      {" Checksum = 0x" + std::string(value) + "\r\n", 2},
      {"checksum = 0x" + std::string(value) + "\r\n", 2},
      {"Checksum : 0x" + std::string(value) + "\r\n", 2},
      {"Checksum = 0xZZ\r\n", 2},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Read(upg.header + c.line + records), c.result) << c.line;
    const bool logged = log.text().ends_with("\r\nError reading file checksum");
    EXPECT_EQ(logged, c.result == 2) << c.line;
  }
  // Without a header line the checksum line is taken as the header.
  EXPECT_EQ(Read(upg.Text().substr(upg.header.size())), 2);
}

TEST_F(FirmwareReaderTest, ResultCodes) {
  UpgBuilder upg;
  const std::string head = upg.header + "Checksum = 0x0000\r\n";
  const std::string end = HexRecord(0, 0x01, {}) + "\r\n";
  UpgBuilder unsigned_;
  unsigned_.image.clear();
  unsigned_.Put(0x4000, {'K', 'I'});  // stored without the exchange: reads as "ca"
  UpgBuilder truncated;
  truncated.withEndRecord = false;
  std::string badRecord = HexRecord(0x2000, 0x00, {0x12}) + "\r\n";
  badRecord[badRecord.size() - 3] ^= 1;

  struct Case {
    std::string name, text;
    int result;
  };
  const Case cases[] = {
      {"header only", upg.header, 3},
      {"empty", "", 3},
      {"header and checksum only", head, 3},
      {"no end record", truncated.Text(), 3},
      {"bad record checksum", head + badRecord + end, 4},
      {"bad end record checksum", head + ":00000001FE\r\n", 4},
      {"record type 02", head + HexRecord(0x2000, 0x02, {0x00, 0x00}) + "\r\n" + end, 5},
      {"address below the firmware", head + HexRecord(0x1FFF, 0x00, {0x01}) + "\r\n" + end, -1},
      {"address above the firmware", head + HexRecord(0xFBC0, 0x00, {0x01}) + "\r\n" + end, -1},
      {"image checksum differs", head + end, -1},
      {"signature not exchanged", unsigned_.Text(), -1},
      {"end record with data",
       upg.Text().substr(0, upg.Text().rfind(':')) + HexRecord(0x1234, 0x01, {0x55, 0xAA}) +
           "\r\njunk",
       0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Read(c.text), c.result) << c.name;
  }
  RecordingLog missingLog;
  EXPECT_EQ(ReadFirmwareFile(folder.path() + "/missing.upg", *firmware, missingLog), 1);
  EXPECT_EQ(ReadFirmwareFile(folder.path(), *firmware, missingLog), 1);
  EXPECT_EQ(missingLog.text(), "");
}

TEST_F(FirmwareReaderTest, HeaderIsAtMost127Characters) {
  UpgBuilder upg;
  upg.header = std::string(126, 'h') + "\n";
  EXPECT_EQ(Read(upg.Text()), 0);
  EXPECT_EQ(log.text(), "\r\n" + upg.header);
  upg.header = std::string(130, 'h') + "\n";
  EXPECT_EQ(Read(upg.Text()), 2);  // the rest of the header is taken as the checksum line
  EXPECT_EQ(log.text(), "\r\n" + std::string(127, 'h') + "\r\nError reading file checksum");
}

TEST_F(FirmwareReaderTest, RecordRunningPastTheImageStoresNothingBeyondIt) {
  UpgBuilder upg;
  upg.Put(0xFBBF, {0x00});  // the last address a record may start at: 64448 bytes long
  upg.Put(0x2FFF, {0x00, 0x63, 0x61});
  std::string text = upg.Text();
  // Replace the one-byte record at 0xFBBF by a 16-byte one; its checksum still counts.
  const std::string last = HexRecord(0xFBBF, 0x00, {0x00}, false);
  const std::string past =
      HexRecord(0xFBBF, 0x00, {0x00, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
  text.replace(text.find(last), last.size(), past);
  EXPECT_EQ(Read(text), 0);
  EXPECT_EQ(firmware->image[0xFBBF], 0x00);
  EXPECT_EQ(firmware->imageLength, 64448u);

  std::string badSum = past;
  badSum.back() = badSum.back() == '0' ? '1' : '0';
  text.replace(text.find(past), past.size(), badSum);
  EXPECT_EQ(Read(text), 4);
}

TEST(ExchangeBitPairs, SwapsBits2And3WithBits4And5) {
  const std::pair<std::uint8_t, std::uint8_t> cases[] = {
      {0x0C, 0x30}, {0x30, 0x0C}, {0x00, 0x00}, {0xFF, 0xFF},
      {0x63, 0x4B}, {0x61, 0x49}, {0x04, 0x10}, {0xC3, 0xC3},
  };
  for (const auto& [in, out] : cases) {
    EXPECT_EQ(ExchangeBitPairs(in), out) << int{in};
  }
}

TEST(ReadHexByte, TakesTwoCharactersEachTime) {
  struct Case {
    std::string_view text;
    std::uint8_t value;
  };
  const Case cases[] = {
      {"1F", 0x1F}, {"a0", 0xA0}, {" 5", 0x05},  {"5 ", 0x05}, {"5g", 0x05}, {"g5", 0x00},
      {"  ", 0x00}, {":1", 0x00}, {"\n7", 0x07}, {"8", 0x08},  {"", 0x00},
  };
  for (const Case& c : cases) {
    // A following pair shows that exactly two characters were taken.
    const std::string text = std::string(c.text) + (c.text.size() == 2 ? "3C" : "");
    std::FILE* stream = std::tmpfile();
    ASSERT_NE(stream, nullptr);
    std::fwrite(text.data(), 1, text.size(), stream);
    std::rewind(stream);
    EXPECT_EQ(ReadHexByte(stream), c.value) << c.text;
    if (c.text.size() == 2) {
      EXPECT_EQ(ReadHexByte(stream), 0x3C) << c.text;
    }
    std::fclose(stream);
  }
}

}  // namespace
}  // namespace tdxx
