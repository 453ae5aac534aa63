#include "app/DataFileType.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>

#include "TempFolder.h"
#include "app/MainWindowState.h"

namespace tdxx {
namespace {

TEST(DataFileType, ExtensionOfTheFileNamePartDecidesIgnoringCase) {
  struct Case {
    const char* path;
    std::int32_t type;
  };
  const Case cases[] = {
      {"/home/u/keys.ckd", kFileCkd},
      {"KEYS.CKD", kFileCkd},
      {"/x/fw.UpG", kFileUpg},
      {"copy.Bin", kFileBin},
      {"KEYS.BIN", kFileBin},
      {"/a.b/keys.ckd.txt", kFileNone},  // only the last dot counts
      {"/keys.ckd/file", kFileNone},     // a dot in a folder name is no extension
      {"/folder.bin/", kFileNone},
      {"keys", kFileNone},
      {"keys.ck", kFileNone},
      {"keys.ckdx", kFileNone},
      {".ckd", kFileCkd},  // the whole name from its last dot, dot included
      {"keys.", kFileNone},
      {"", kFileNone},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DataFileTypeOf(c.path), c.type) << c.path;
  }
}

// The window runs under the user's locale. Under a Turkish one the C library lowers 'I' to
// something else than 'i' (dotless i in ISO-8859-9, 'I' itself in UTF-8).
TEST(DataFileType, CapitalIIsAnIUnderATurkishLocale) {
  const test::TempFolder folder;
  const std::string command =
      "localedef -i tr_TR -f UTF-8 '" + folder.path() + "/tr_TR.UTF-8' >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) {
    GTEST_SKIP() << "the tr_TR locale cannot be built here";
  }
  const char* oldLocPath = std::getenv("LOCPATH");
  const std::string savedLocPath = oldLocPath != nullptr ? oldLocPath : "";
  ::setenv("LOCPATH", folder.path().c_str(), 1);
  const bool set = std::setlocale(LC_ALL, "tr_TR.UTF-8") != nullptr;
  const std::int32_t bin = DataFileTypeOf("/media/KEYS.BIN");
  const std::int32_t upg = DataFileTypeOf("/media/FW.UPG");
  std::setlocale(LC_ALL, "C");
  if (oldLocPath != nullptr) {
    ::setenv("LOCPATH", savedLocPath.c_str(), 1);
  } else {
    ::unsetenv("LOCPATH");
  }
  if (!set) {
    GTEST_SKIP() << "the tr_TR locale cannot be set here";
  }
  EXPECT_EQ(bin, kFileBin);
  EXPECT_EQ(upg, kFileUpg);
}

}  // namespace
}  // namespace tdxx
