#pragma once

#include <string>

namespace tdxx {

// The configuration folder of the installation this program belongs to, ending in '/':
// <sysconfdir>/tdxxload/ of the install prefix the build was configured with (/etc/tdxxload/
// for a package, /usr/local/etc/tdxxload/ for `cmake --install` with the default prefix).
std::string InstalledConfigFolder();

}  // namespace tdxx
