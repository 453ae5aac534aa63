#pragma once

#include <string>

namespace tdxx {

// The user's documents folder as the desktop names it: XDG_DOCUMENTS_DIR from user-dirs.dirs in
// `configHome` (XDG_CONFIG_HOME, else `home`/.config), with $HOME expanded; else `home`/Documents.
// Empty when `home` is empty and the file names none. The front ends without a toolkit use it to
// find the same settings folder as the window.
std::string XdgDocumentsFolder(const std::string& home, const std::string& configHome);

// The same for the running process, from its HOME and XDG_CONFIG_HOME.
std::string XdgDocumentsFolderOfUser();

}  // namespace tdxx
