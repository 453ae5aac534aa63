// Feeds arbitrary bytes to the firmware reader as a UPG file: every result must be one of the
// reader's codes, and no record may store outside the image.
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "FuzzInputFile.h"
#include "files/FirmwareReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const tdxx::fuzz::FuzzInputFile file(data, size);
  const auto firmware = std::make_unique<tdxx::FirmwareImage>();
  tdxx::fuzz::NullLog log;
  const int result = tdxx::ReadFirmwareFile(file.path(), *firmware, log);
  if (result < -1 || result > 5 || result == 1) {
    std::fprintf(stderr, "unexpected result %d\n", result);
    std::abort();
  }
  if (result == 0 && firmware->imageLength != 64000 && firmware->imageLength != 64448) {
    std::fprintf(stderr, "unexpected image length %u\n", firmware->imageLength);
    std::abort();
  }
  return 0;
}
