#pragma once

#include <string>

#include "files/FirmwareImage.h"

namespace tdxx::cli {

// Why ReadFirmwareFile returned `result` (not 0) for the file at `path`, naming the line where
// the fault is: the checksum line, a record's checksum or type, an address outside the image,
// a record shorter than its length byte, the end of the file before the end record, or the
// image's checksum or signature. `firmware` is the image the failed read left behind.
std::string FirmwareFileProblem(const std::string& path, int result, const FirmwareImage& firmware);

}  // namespace tdxx::cli
