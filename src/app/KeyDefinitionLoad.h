#pragma once

#include <string>
#include <vector>

#include "app/Application.h"
#include "files/ProgressLog.h"
#include "keymap/KeyMapProblems.h"
#include "protocol/MainWindowPort.h"

namespace tdxx {

// Reads a CKD file into the application's key table and global block, as Open File and the
// command-line file do (the reader logs its own lines), keeps the reader's diagnostics in the
// application and gives the problems they show, judged for the keypad last detected. Returns the
// key count, 0 for a failed read.
int ReadKeyDefinitionsIntoApp(Application& app, ProgressLog& log, const std::string& path,
                              std::vector<KeyMapProblem>& problems);

// The problems of the loaded CKD file's images, judged for the keypad detected now; none when no
// CKD file with keys is loaded.
std::vector<KeyMapProblem> LoadedKeyProblems(const Application& app);

// Logs the warning line before a key download when the loaded file has problems for the keypad
// detected now; the download goes on either way.
void WarnOfLoadedKeyProblems(const Application& app, MainWindowPort& port);

// The CKD part of Open File after the file panel is set: `keyCount` from the reader (0 without
// reading when `readable` is false), then "File read SUCCESSFUL." and the warning line when the
// file has problems, or "File read FAILED!" and no file loaded.
void LoadKeyDefinitionsAsOpened(Application& app, MainWindowPort& port, const std::string& path,
                                bool readable);

// The number of keys a detected keypad takes when it takes fewer than a file may hold (the
// TD-A and the older 917 keypads: 24); 0 when it takes them all or nothing is detected.
int DeviceKeyLimit(DeviceKind kind);

}  // namespace tdxx
