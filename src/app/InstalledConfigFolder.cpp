#include "app/InstalledConfigFolder.h"

namespace tdxx {

// TDXX_SYSCONFDIR is set by the build from the install prefix; only this file sees it, so that
// a change of prefix rebuilds one file and every other file agrees on the value.
#ifndef TDXX_SYSCONFDIR
#error "TDXX_SYSCONFDIR must name the installation's configuration folder"
#endif

std::string InstalledConfigFolder() {
  return TDXX_SYSCONFDIR "/tdxxload/";
}

}  // namespace tdxx
