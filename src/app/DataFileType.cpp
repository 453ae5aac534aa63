#include "app/DataFileType.h"

#include <cctype>
#include <string>

#include "app/MainWindowState.h"

namespace tdxx {

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::int32_t DataFileTypeOf(std::string_view path) {
  const std::size_t slash = path.find_last_of('/');
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.find_last_of('.');
  if (dot == std::string_view::npos)
    return kFileNone;
  const std::string_view extension = name.substr(dot);
  if (EqualsIgnoringCase(extension, ".upg"))
    return kFileUpg;
  if (EqualsIgnoringCase(extension, ".ckd"))
    return kFileCkd;
  if (EqualsIgnoringCase(extension, ".bin"))
    return kFileBin;
  return kFileNone;
}

}  // namespace tdxx
