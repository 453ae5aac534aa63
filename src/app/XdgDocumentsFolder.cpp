#include "app/XdgDocumentsFolder.h"

#include <cstdlib>
#include <fstream>

namespace tdxx {

std::string XdgDocumentsFolder(const std::string& home, const std::string& configHome) {
  const std::string config = !configHome.empty() ? configHome : home + "/.config";
  std::ifstream dirs(config + "/user-dirs.dirs");
  const std::string key = "XDG_DOCUMENTS_DIR=";
  for (std::string line; std::getline(dirs, line);) {
    if (line.rfind(key, 0) != 0)
      continue;
    std::string value = line.substr(key.size());
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
      value = value.substr(1, value.size() - 2);
    if (value.rfind("$HOME", 0) == 0)
      value = home + value.substr(5);
    // The desktop names the home folder itself when documents are switched off.
    if (!value.empty() && value.front() == '/' && value != home && value != home + "/")
      return value;
    break;
  }
  return home.empty() ? std::string() : home + "/Documents";
}

std::string XdgDocumentsFolderOfUser() {
  const char* home = std::getenv("HOME");
  const char* configHome = std::getenv("XDG_CONFIG_HOME");
  return XdgDocumentsFolder(home != nullptr ? home : "", configHome != nullptr ? configHome : "");
}

}  // namespace tdxx
