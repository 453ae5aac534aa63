#include "cli/DataFileReport.h"

#include <filesystem>
#include <iomanip>
#include <memory>
#include <nlohmann/json.hpp>
#include <ostream>
#include <sstream>
#include <system_error>

#include "app/DataFileType.h"
#include "app/MainWindowState.h"
#include "cli/ConsolePort.h"
#include "cli/HexText.h"
#include "cli/KeyMapReport.h"
#include "files/FirmwareReader.h"
#include "files/KeyDefinitionReader.h"
#include "files/NarrowText.h"

namespace tdxx::cli {

namespace {

// Collects exactly what a reader writes to the progress log.
class CapturedLog final : public ProgressLog {
 public:
  void LogProgress(std::string_view text) override { text_.append(text); }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

std::string Hex2(unsigned value) {
  std::ostringstream text;
  text << std::hex << std::setw(2) << std::setfill('0') << value;
  return text.str();
}

std::string VersionText(std::uint8_t versionByte) {
  return std::to_string(versionByte >> 4) + "." + std::to_string(versionByte & 0x0F) + "x";
}

// The codes of one level as the downloads send them: the length byte, then L code-area bytes.
std::string LevelSummary(const KeyRecord& record, std::size_t lengthOffset,
                         std::size_t codesOffset) {
  const std::uint8_t length = record.bytes[lengthOffset];
  std::string text = "length " + std::to_string(length);
  if (length > 1) {
    text += ", codes";
    for (std::size_t i = 0; i + 1 < length; ++i)
      text += " " + Hex2(record.bytes[codesOffset + i]);
  }
  return text;
}

void PrintKeySummary(std::ostream& out, int keyCount, const GlobalParameterBlock& block,
                     const KeyTable& table) {
  out << "File type: CKD key definitions\n";
  out << "Key count: " << keyCount << "\n";
  out << "Global parameter block:";
  for (std::uint8_t b : block.bytes)
    out << " " << Hex2(b);
  out << "\n";
  for (const KeyRecord& record : table) {
    const auto& b = record.bytes;
    out << "Key " << static_cast<int>(b[KeyRecord::kKeyNumber]) << ": level 1 flags "
        << Hex2(b[KeyRecord::kLevel1Flags]) << " (" << FlagBitNames(b[KeyRecord::kLevel1Flags])
        << "), " << LevelSummary(record, KeyRecord::kLevel1Length, KeyRecord::kLevel1Codes)
        << "; level 2 flags " << Hex2(b[KeyRecord::kLevel2Flags]) << " ("
        << FlagBitNames(b[KeyRecord::kLevel2Flags]) << "), "
        << LevelSummary(record, KeyRecord::kLevel2Length, KeyRecord::kLevel2Codes) << "\n";
  }
}

void PrintFirmwareSummary(std::ostream& out, int result, const FirmwareImage& firmware) {
  out << "File type: UPG firmware upgrade\n";
  out << "Result: " << result << (result == 0 ? " (read)" : " (failed)") << "\n";
  if (result != 0)
    return;
  out << "Image length: " << firmware.imageLength << "\n";
  out << "Version: " << VersionText(firmware.versionByte) << " (version byte 0x"
      << Hex2(firmware.versionByte) << ")\n";
  out << "Non-blank 512-byte blocks:";
  int shown = 0;
  for (std::size_t start = 0; start < firmware.imageLength; start += 512) {
    const std::size_t end = std::min<std::size_t>(start + 512, firmware.imageLength);
    bool blank = true;
    for (std::size_t i = start; i < end && blank; ++i)
      blank = firmware.image[i] == 0xFF;
    if (!blank) {
      out << " " << start / 512;
      ++shown;
    }
  }
  out << (shown == 0 ? " none\n" : "\n");
}

}  // namespace

int RunInspect(const std::string& path, bool json, std::ostream& out, std::ostream& errors) {
  const std::int32_t type = DataFileTypeOf(path);
  if (type == kFileNone) {
    errors << "inspect: " << path << ": not a .ckd, .upg or .bin file\n";
    return kInspectUsage;
  }

  CapturedLog log;
  nlohmann::json result;
  result["path"] = NarrowToDisplayUtf8(path);
  int status = kInspectFailed;
  std::ostringstream summary;

  if (type == kFileCkd) {
    // The images are large; keep them off the stack.
    auto table = std::make_unique<KeyTable>();
    auto block = std::make_unique<GlobalParameterBlock>();
    auto diagnostics = std::make_unique<KeyDefinitionDiagnostics>();
    const int keyCount = ReadKeyDefinitionFile(path, *table, *block, log, diagnostics.get());
    status = keyCount != 0 ? kInspectRead : kInspectFailed;
    const std::vector<KeyMapProblem> problems = FindKeyMapProblems(*diagnostics, *table);
    result["problems"] = ProblemsJson(problems);
    result["fileType"] = "ckd";
    result["keyCount"] = keyCount;
    result["globalParameterBlock"] = HexText(block->bytes.data(), block->bytes.size());
    nlohmann::json records = nlohmann::json::array();
    for (const KeyRecord& record : *table) {
      records.push_back(HexText(record.bytes.data(), record.bytes.size()));
    }
    result["keyRecords"] = std::move(records);
    PrintKeySummary(summary, keyCount, *block, *table);
    if (keyCount != 0)
      PrintProblems(summary, problems);
  } else if (type == kFileUpg) {
    auto firmware = std::make_unique<FirmwareImage>();
    const int code = ReadFirmwareFile(path, *firmware, log);
    status = code == 0 ? kInspectRead : kInspectFailed;
    result["fileType"] = "upg";
    result["result"] = code;
    result["imageLength"] = code == 0 ? nlohmann::json(firmware->imageLength) : nlohmann::json();
    result["versionText"] =
        code == 0 ? nlohmann::json(VersionText(firmware->versionByte)) : nlohmann::json();
    result["versionByte"] = firmware->versionByte;
    result["image"] = HexText(firmware->image.data(), firmware->image.size());
    PrintFirmwareSummary(summary, code, *firmware);
  } else {
    std::error_code error;
    const bool exists = std::filesystem::is_regular_file(path, error);
    status = exists ? kInspectRead : kInspectFailed;
    result["fileType"] = "bin";
    result["exists"] = exists;
    summary << "File type: BIN flash-drive copy\n"
            << "Exists: " << (exists ? "yes" : "no") << "\n";
  }
  result["log"] = NarrowToDisplayUtf8(log.text());

  if (json) {
    out << result.dump() << "\n";
  } else {
    out << "File: " << ForTerminal(path) << "\n" << summary.str();
    if (!log.text().empty())
      out << "Log:" << ForTerminal(log.text()) << "\n";
  }
  return status;
}

}  // namespace tdxx::cli
