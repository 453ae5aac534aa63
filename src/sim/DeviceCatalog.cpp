#include "sim/DeviceCatalog.h"

#include <cerrno>
#include <cstdlib>
#include <functional>

namespace tdxx::sim {

namespace {

constexpr std::uint16_t kVendor = 0x1125;

// A version text as the devices send it: exactly `width` bytes, space-padded.
Bytes Padded(const std::string& text, std::size_t width = 16) {
  Bytes bytes(text.begin(), text.end());
  bytes.resize(width, ' ');
  return bytes;
}

// A bootloader's 9-byte identity report: report ID, status, 4-character model, series letter,
// two more model characters.
Bytes BootloaderIdentity(std::uint8_t status, const std::string& model7) {
  Bytes report(9, 0);
  report[1] = status;
  for (std::size_t i = 0; i < model7.size() && i + 2 < report.size(); ++i)
    report[i + 2] = static_cast<std::uint8_t>(model7[i]);
  return report;
}

DeviceConfig Keypad(const std::string& name, std::uint16_t vendor, std::uint16_t product,
                    const std::wstring& productText, int interfaces = 1) {
  DeviceConfig config;
  config.name = name;
  config.vendorId = vendor;
  config.productId = product;
  config.product = productText;
  config.interfaceCount = interfaces;
  // Full-speed devices: a report takes about a millisecond on the bus.
  config.writeTime = Milliseconds(1);
  config.featureTime = Milliseconds(1);
  return config;
}

// A keypad in normal operation that takes key definitions as feature reports.
DeviceConfig DownloadKeypad(const std::string& name, std::uint16_t vendor, std::uint16_t product,
                            const std::wstring& productText, int interfaces = 1,
                            const std::string& bootloaderKind = "") {
  DeviceConfig config = Keypad(name, vendor, product, productText, interfaces);
  config.firmware = DeviceFirmware::Keypad;
  config.keyImage = std::make_shared<KeyImageRecorder>();
  config.bootloaderKind = bootloaderKind;
  return config;
}

DeviceConfig Bootloader(const std::string& name, std::uint16_t product,
                        const std::wstring& productText, Bytes identity,
                        const std::string& bootVersion, const std::string& keypadVersion,
                        const std::string& flashVersion, std::uint8_t keyCapacity) {
  DeviceConfig config = Keypad(name, kVendor, product, productText);
  config.streamMode = ReportMode::U;
  config.firmware = DeviceFirmware::Bootloader;
  config.flash = std::make_shared<BootloaderFlash>();
  config.identityReport = std::move(identity);
  config.replies[kCommandVersion] = {Padded(bootVersion), true, {}};
  config.replies[kCommandKeypadVersion] = {Padded(keypadVersion), true, {}};
  config.replies[kCommandFlashDriveVersion] = {Padded(flashVersion), true, {}};
  config.replies[kCommandKeyCapacity] = {Bytes{keyCapacity}, true, {}};
  return config;
}

DeviceConfig PrgTMode(const std::string& name, const std::string& model, const std::string& version,
                      std::uint8_t keyCapacity, const std::string& bootloaderKind) {
  DeviceConfig config = Keypad(name, kVendor, 0x180C, L"TDxx/WKxxx PRG/TMode");
  config.firmware = DeviceFirmware::PrgTMode;
  config.keyImage = std::make_shared<KeyImageRecorder>();
  // A ping answer ends with the device's status byte; from 18 on it knows the capacity query.
  config.replies[kCommandPing] = {Bytes{0x00, 0x12}, true, {}};
  config.replies[kCommandKeyCapacity] = {Bytes{keyCapacity}, true, {}};
  config.streamMode = ReportMode::T;
  config.identityReport = {0x00, 0x12};
  config.identityReport.insert(config.identityReport.end(), model.begin(), model.end());
  config.identityReport.resize(6, 0);
  config.replies[kCommandVersion] = {Padded(version), true, {}};
  config.replies[kCommandBuildDate] = {Padded("20190412", 8), true, {}};
  config.replies[kCommandBootloaderInstalled] = {Bytes{'Y'}, true, {}};
  config.bootloaderKind = bootloaderKind;
  return config;
}

struct CatalogEntry {
  const char* name;
  std::function<DeviceConfig()> make;
};

const std::vector<CatalogEntry>& Catalog() {
  static const std::vector<CatalogEntry> catalog = {
      {"917-v4", [] { return DownloadKeypad("917-v4", 0x04B4, 0x0A0A, L"917 Keypad"); }},
      {"917-v5",
       [] { return DownloadKeypad("917-v5", 0x16C0, 0x0607, L"917 Keypad", 1, "917-bootloader"); }},
      {"917-bootloader",
       [] {
         DeviceConfig config =
             Bootloader("917-bootloader", 0x1804, L"917 Bootloader",
                        BootloaderIdentity(0x00, "BOOT917"), "917 Boot v6.00", "917 v6.02", "", 0);
         // The 917 has no flash drive: it answers that query with a single byte.
         config.replies[kCommandFlashDriveVersion] = {Bytes{0x15}, true, {}};
         return config;
       }},
      {"tdxx-bootloader",
       [] {
         return Bootloader("tdxx-bootloader", 0x1806, L"TDxx/WKxxx Bootloader",
                           BootloaderIdentity(0x11, "TD-Av01"), "TD Boot v1.60", "TD-A v3.12",
                           "FD v1.02", 24);
       }},
      {"td-b-bootloader",
       [] {
         return Bootloader("td-b-bootloader", 0x1806, L"TDxx/WKxxx Bootloader",
                           BootloaderIdentity(0x11, "TD-Bv01"), "TD Boot v1.60", "TD-B v3.12",
                           "FD v1.02", 48);
       }},
      {"wk-c-bootloader",
       [] {
         return Bootloader("wk-c-bootloader", 0x1806, L"TDxx/WKxxx Bootloader",
                           BootloaderIdentity(0x12, "WK-Cv01"), "WK Boot v1.60", "WK-C v2.07",
                           "FD v1.02", 66);
       }},
      {"tds-bootloader",
       [] {
         return Bootloader("tds-bootloader", 0x1809, L"Tasterdeck TDSxx Bootloader",
                           BootloaderIdentity(0x12, "TD-As01"), "TDS Boot v2.10", "TDS-A v4.20",
                           "TDS FD v1.05", 24);
       }},
      {"947-bootloader",
       [] {
         return Bootloader("947-bootloader", 0x1806, L"TDxx/WKxxx Bootloader",
                           BootloaderIdentity(0x12, "S947v01"), "947 Boot v1.10", "947 v1.30",
                           "FD v1.02", 4);
       }},
      {"947-tds-bootloader",
       [] {
         return Bootloader("947-tds-bootloader", 0x1809, L"Tasterdeck TDSxx Bootloader",
                           BootloaderIdentity(0x12, "S947s01"), "TDS Boot v2.10", "947 v1.30",
                           "FD v1.02", 4);
       }},
      {"td-a",
       [] {
         return DownloadKeypad("td-a", kVendor, 0x1807, L"Tasterdeck TD-A", 1, "tdxx-bootloader");
       }},
      {"td-b",
       [] {
         return DownloadKeypad("td-b", kVendor, 0x1808, L"Tasterdeck TD-B", 1, "td-b-bootloader");
       }},
      {"wk-c",
       [] { return DownloadKeypad("wk-c", kVendor, 0x180B, L"WK-C", 1, "wk-c-bootloader"); }},
      {"prg-tmode",
       [] { return PrgTMode("prg-tmode", "TD-A", "TD-A TMode v3.12", 24, "tdxx-bootloader"); }},
      {"prg-tmode-td-b",
       [] {
         return PrgTMode("prg-tmode-td-b", "TD-B", "TD-B TMode v3.12", 48, "td-b-bootloader");
       }},
      {"prg-tmode-wk-c",
       [] {
         return PrgTMode("prg-tmode-wk-c", "WK-C", "WK-C TMode v2.07", 66, "wk-c-bootloader");
       }},
      // The KBMouse personality shows keyboard, mouse and vendor interfaces.
      {"td-a-kbmouse",
       [] {
         return DownloadKeypad("td-a-kbmouse", kVendor, 0x180D, L"TD-A KBMouse", 3,
                               "tdxx-bootloader");
       }},
      {"td-b-kbmouse",
       [] {
         return DownloadKeypad("td-b-kbmouse", kVendor, 0x180E, L"TD-B KBMouse", 3,
                               "td-b-bootloader");
       }},
      {"wk-c-kbmouse",
       [] {
         return DownloadKeypad("wk-c-kbmouse", kVendor, 0x180F, L"WK-C KBMouse", 3,
                               "wk-c-bootloader");
       }},
      {"slimkey-947", [] { return Keypad("slimkey-947", kVendor, 0x1813, L"Slimkey 947"); }},
      {"mouse", [] { return Keypad("mouse", 0x046D, 0xC077, L"USB Optical Mouse"); }},
  };
  return catalog;
}

bool ParseHex16(const std::string& text, std::uint16_t& out) {
  if (text.size() != 4)
    return false;
  char* end = nullptr;
  const unsigned long value = std::strtoul(text.c_str(), &end, 16);
  if (end != text.c_str() + 4)
    return false;
  out = static_cast<std::uint16_t>(value);
  return true;
}

// "hid-VVVV-PPPP": any HID device with these identifiers.
std::optional<DeviceConfig> AnyHidDevice(const std::string& name) {
  std::uint16_t vendor = 0;
  std::uint16_t product = 0;
  if (name.size() != 13 || name.compare(0, 4, "hid-") != 0 || name[8] != '-' ||
      !ParseHex16(name.substr(4, 4), vendor) || !ParseHex16(name.substr(9, 4), product))
    return std::nullopt;
  return Keypad(name, vendor, product, L"HID device");
}

// The number after `prefix` in `option` (decimal, or hexadecimal behind 0x), within
// [minimum, maximum].
std::optional<long> OptionNumber(const std::string& option, const std::string& prefix, long minimum,
                                 long maximum) {
  if (option.compare(0, prefix.size(), prefix) != 0)
    return std::nullopt;
  const std::string value = option.substr(prefix.size());
  char* end = nullptr;
  const long number = std::strtol(value.c_str(), &end, 0);
  if (value.empty() || *end != 0 || number < minimum || number > maximum)
    return std::nullopt;
  return number;
}

// Options of the key-download faults; false when `option` is none of them or out of range.
bool ApplyDownloadOption(const std::string& option, DeviceConfig& config) {
  if (const auto n = OptionNumber(option, "reject-feature=", 1, 100000)) {
    config.rejectFeatureReport = static_cast<int>(*n);
    return true;
  }
  if (const auto n = OptionNumber(option, "unplug-after-features=", 1, 100000)) {
    config.unplugAfterFeatureReports = static_cast<int>(*n);
    return true;
  }
  if (const auto n = OptionNumber(option, "unplug-after-key=", 1, 66)) {
    config.unplugAfterKey = static_cast<int>(*n);
    return true;
  }
  if (const auto n = OptionNumber(option, "no-ping-from-key=", 1, 66)) {
    config.noPingFromKey = static_cast<int>(*n);
    return true;
  }
  if (const auto n = OptionNumber(option, "capacity=", 0, 255)) {
    config.replies[kCommandKeyCapacity] = {Bytes{static_cast<std::uint8_t>(*n)}, true, {}};
    return true;
  }
  if (option.compare(0, 4, "ping") != 0)
    return false;
  CommandReply& ping = config.replies[kCommandPing];
  if (const auto n = OptionNumber(option, "ping=", 0, 255)) {
    if (ping.bytes.empty())
      ping.bytes.push_back(0);
    ping.bytes.back() = static_cast<std::uint8_t>(*n);
    return true;
  }
  if (const auto n = OptionNumber(option, "ping-late=", 0, 60000)) {
    ping.delay = Milliseconds(*n);
    return true;
  }
  if (option == "ping-short" && !ping.bytes.empty()) {
    ping.bytes.erase(ping.bytes.begin(), ping.bytes.end() - 1);
    return true;
  }
  return false;
}

// Options of the bootloader launch and the firmware upgrade faults.
bool ApplyFirmwareOption(const std::string& option, DeviceConfig& config) {
  if (const auto n = OptionNumber(option, "return-after=", 0, 600000)) {
    config.returnDelay = Milliseconds(*n);
    return true;
  }
  if (option == "never-returns") {
    config.neverReturns = true;
    return true;
  }
  const std::string launchAs = "launch-as=";
  if (option.compare(0, launchAs.size(), launchAs) == 0 && option.size() > launchAs.size()) {
    config.bootloaderKind = option.substr(launchAs.size());
    return true;
  }
  if (option == "erase-silent") {
    config.eraseUnanswered = true;
    return true;
  }
  if (const auto n = OptionNumber(option, "erase-answer=", 0, 255)) {
    config.eraseAnswer = static_cast<std::uint8_t>(*n);
    return true;
  }
  if (const auto n = OptionNumber(option, "corrupt-readback=", 1, 100000)) {
    config.corruptReadbackAttempt = static_cast<int>(*n);
    return true;
  }
  if (const auto n = OptionNumber(option, "corrupt-readback-times=", 1, 100000)) {
    config.corruptReadbackTimes = static_cast<int>(*n);
    return true;
  }
  if (const auto n = OptionNumber(option, "corrupt-readback-chunk=", 0, 15)) {
    config.corruptReadbackChunk = static_cast<int>(*n);
    return true;
  }
  if (const auto n = OptionNumber(option, "corrupt-readback-byte=", 0, 31)) {
    config.corruptReadbackByte = static_cast<int>(*n);
    return true;
  }
  if (const auto n = OptionNumber(option, "refuse-open-for=", 1, 60000)) {
    config.openRefusedAfterAppearing = Milliseconds(*n);
    return true;
  }
  if (option == "burn-refused") {
    config.burnRefused = true;
    return true;
  }
  if (option == "verify-refused") {
    config.verifyRefused = true;
    return true;
  }
  if (const auto n = OptionNumber(option, "unplug-after-reports=", 1, 1000000)) {
    config.unplugAfterReports = static_cast<int>(*n);
    return true;
  }
  return false;
}

bool ApplyOption(const std::string& option, DeviceConfig& config) {
  if (ApplyDownloadOption(option, config) || ApplyFirmwareOption(option, config))
    return true;
  if (option == "no-permission") {
    config.openErrno = EACCES;
    return true;
  }
  if (option == "identity-fails") {
    config.identityReadFails = true;
    return true;
  }
  if (option == "silent") {
    for (auto& [command, reply] : config.replies)
      reply.answered = false;
    return true;
  }
  const std::string interfaces = "interfaces=";
  if (option.compare(0, interfaces.size(), interfaces) == 0) {
    const std::string value = option.substr(interfaces.size());
    char* end = nullptr;
    const long count = std::strtol(value.c_str(), &end, 10);
    if (value.empty() || *end != 0 || count < 1 || count > 16)
      return false;
    config.interfaceCount = static_cast<int>(count);
    return true;
  }
  const std::string collections = "collections=";
  if (option.compare(0, collections.size(), collections) == 0) {
    const std::string value = option.substr(collections.size());
    char* end = nullptr;
    const long count = std::strtol(value.c_str(), &end, 10);
    if (value.empty() || *end != 0 || count < 1 || count > 16)
      return false;
    config.collectionsPerInterface = static_cast<int>(count);
    return true;
  }
  return false;
}

}  // namespace

std::optional<DeviceConfig> DeviceConfigForKind(const std::string& name) {
  const std::size_t colon = name.find(':');
  const std::string base = name.substr(0, colon);
  std::optional<DeviceConfig> config;
  for (const CatalogEntry& entry : Catalog()) {
    if (base == entry.name)
      config = entry.make();
  }
  if (!config)
    config = AnyHidDevice(base);
  if (!config)
    return std::nullopt;
  std::size_t start = colon;
  while (start != std::string::npos) {
    const std::size_t next = name.find(':', start + 1);
    const std::string option =
        name.substr(start + 1, next == std::string::npos ? next : next - start - 1);
    if (!ApplyOption(option, *config))
      return std::nullopt;
    start = next;
  }
  config->name = name;
  return config;
}

std::vector<std::string> CatalogKindNames() {
  std::vector<std::string> names;
  for (const CatalogEntry& entry : Catalog())
    names.push_back(entry.name);
  return names;
}

}  // namespace tdxx::sim
