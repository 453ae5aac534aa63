// Mean time of reading a full 66-key CKD file whose every level holds a long code text.
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "BenchFile.h"
#include "files/KeyDefinitionReader.h"

namespace {

class NullLog final : public tdxx::ProgressLog {
 public:
  void LogProgress(std::string_view) override {}
};

std::string LongCodeText(int codes) {
  static constexpr const char* kPairs[] = {"1c", "f0", "2d", "e0", "12", "5a"};
  std::string text;
  for (int i = 0; i < codes; ++i) {
    text += kPairs[i % 6];
  }
  return text;
}

std::string FullKeyDefinitionText() {
  std::string text =
      "[GLOBAL_PARAMETERS]\r\nNumber_Of_Keys=66\r\nModel_Number=WK-C\r\nCharacter_Pacing=4\r\n"
      "Key_Roll_Over=2\r\nLED_Function=1\r\nLED2_Function=0\r\nLED3_Function=0\r\n"
      "USB_Device_Type=11\r\n";
  for (int k = 0; k < 66; ++k) {
    text += "\r\n[KEY" + std::to_string(k) + "]\r\nL1_MacroMode=2\r\nL2_MacroMode=2\r\n" +
            "L1_AutoRepeat=1\r\nL2_AutoRepeat=0\r\nKeyType=" + std::to_string(k % 3) + "\r\n" +
            "Level_1_Codes=" + LongCodeText(111) + "\r\nLevel_2_Codes=" + LongCodeText(110) +
            "\r\n";
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 200;
  const std::string text = FullKeyDefinitionText();
  const BenchFile file("keys.ckd", text);
  if (!file.ok())
    return 1;
  const std::string& path = file.path();

  auto keyTable = std::make_unique<tdxx::KeyTable>();
  tdxx::GlobalParameterBlock globalBlock;
  NullLog log;
  int keys = 0;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < rounds; ++i) {
    keys = tdxx::ReadKeyDefinitionFile(path, *keyTable, globalBlock, log);
  }
  const std::chrono::duration<double, std::milli> elapsed =
      std::chrono::steady_clock::now() - start;

  std::printf("ReadKeyDefinitionFile: %zu-byte file, %d keys, mean %.3f ms over %d reads\n",
              text.size(), keys, elapsed.count() / rounds, rounds);
  return keys == 66 ? 0 : 1;
}
