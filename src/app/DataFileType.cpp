#include "app/DataFileType.h"

#include <string>

#include "app/MainWindowState.h"

namespace tdxx {

namespace {

// ASCII letters only, whatever the locale: the window adopts the user's locale, and under a
// Turkish one std::tolower('I') is not 'i', which would make KEYS.BIN an invalid file type.
char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i]))
      return false;
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
