// Feeds arbitrary bytes to the key-definition reader as a CKD file, then writes one value into
// the same file and checks that it reads back: the reader must never read or write outside the
// images, and the INI writer must keep whatever it is given readable.
#include <cstdio>
#include <cstdlib>

#include "FuzzInputFile.h"
#include "files/KeyDefinitionReader.h"
#include "files/PrivateProfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const tdxx::fuzz::FuzzInputFile file(data, size);
  tdxx::KeyTable keyTable{};
  tdxx::GlobalParameterBlock globalBlock{};
  tdxx::fuzz::NullLog log;
  const int keys = tdxx::ReadKeyDefinitionFile(file.path(), keyTable, globalBlock, log);
  if (keys != 0 && keys != 24 && keys != 35 && keys != 48 && keys != 66) {
    std::fprintf(stderr, "unexpected key count %d\n", keys);
    std::abort();
  }
  // A file without key definitions is a failed read that leaves the images as they were.
  if (keys == 0) {
    bool unchanged = globalBlock.bytes == tdxx::GlobalParameterBlock{}.bytes;
    for (const tdxx::KeyRecord& record : keyTable)
      unchanged = unchanged && record.bytes == tdxx::KeyRecord{}.bytes;
    if (!unchanged) {
      std::fprintf(stderr, "a failed read changed the images\n");
      std::abort();
    }
  }
  for (std::size_t k = 0; k < keyTable.size(); ++k) {
    const auto& bytes = keyTable[k].bytes;
    if (bytes[tdxx::KeyRecord::kLevel1Length] > 224 ||
        bytes[tdxx::KeyRecord::kLevel2Length] > 112) {
      std::fprintf(stderr, "length out of range in key %zu\n", k);
      std::abort();
    }
  }

  if (!tdxx::WriteProfileString(file.path(), "KEY1", "Level_1_Codes", "1c2d") ||
      tdxx::ReadProfileString(file.path(), "key1", "level_1_codes", "") != "1c2d") {
    std::fprintf(stderr, "written value does not read back\n");
    std::abort();
  }
  return 0;
}
