// Mean time of `tdxxload-cli keys --json` on a full 66-key CKD file whose levels hold chords,
// typed words and long sequences: the file read, the reader with its diagnostics, the events and
// summaries of every level, the problems and the JSON text. Goal: under 50 ms.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "BenchFile.h"
#include "cli/KeysCommand.h"
#include "keymap/KeyCodeTextInput.h"

namespace {

std::string FullKeyDefinitionText() {
  std::string text =
      "[GLOBAL_PARAMETERS]\r\nNumber_Of_Keys=66\r\nModel_Number=None\r\nCharacter_Pacing=4\r\n"
      "Key_Roll_Over=2\r\nLED_Function=1\r\nLED2_Function=0\r\nLED3_Function=0\r\n"
      "USB_Device_Type=11\r\n";
  const std::string typed = tdxx::CodeTextForTypedText("Kind regards, the keypad team").codeText;
  const std::string chord = tdxx::CodeTextForChord("Ctrl+Shift+F5").codeText;
  std::string sequence;
  for (int i = 0; i < 30; ++i)
    sequence += i % 2 == 0 ? "e075e0f075" : "5af05a";
  for (int k = 0; k < 66; ++k) {
    const std::string& level1 = k % 3 == 0 ? typed : k % 3 == 1 ? chord : sequence;
    text += "\r\n[KEY" + std::to_string(k) + "]\r\nL1_MacroMode=2\r\nL1_AutoRepeat=0\r\n" +
            "Level_1_Codes=" + level1 + "\r\nL2_MacroMode=0\r\nL2_AutoRepeat=1\r\n" +
            "Level_2_Codes=" + (k % 5 == 0 ? "e5" : chord) + "\r\n";
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 50;
  const std::string text = FullKeyDefinitionText();
  const BenchFile file("keys.ckd", text);
  if (!file.ok())
    return 1;
  const std::string& path = file.path();

  tdxx::cli::KeysOptions options;
  options.file = path;
  options.json = true;
  std::size_t outputSize = 0;
  int status = 0;
  double worst = 0;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < rounds; ++i) {
    std::ostringstream out, errors;
    const auto one = std::chrono::steady_clock::now();
    status = tdxx::cli::RunKeys(options, out, errors);
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - one;
    worst = std::max(worst, took.count());
    outputSize = out.str().size();
  }
  const std::chrono::duration<double, std::milli> elapsed =
      std::chrono::steady_clock::now() - start;

  std::printf(
      "keys --json: %zu-byte file, 66 keys, %zu bytes of JSON, mean %.2f ms, worst %.2f ms "
      "over %d runs (goal: under 50 ms)\n",
      text.size(), outputSize, elapsed.count() / rounds, worst, rounds);
  return status == 1 ? 0 : 1;  // the file holds problems on purpose (e5 on every fifth key)
}
