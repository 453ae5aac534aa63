#pragma once

#include "app/Application.h"
#include "app/DownloadFailAdvice.h"
#include "app/FlashDriveController.h"
#include "app/KeyMapController.h"
#include "app/MainWindowCommands.h"
#include "app/TModeGuideController.h"
#include "gui/TfrmDownloadFail.h"
#include "gui/TfrmFlashDrive.h"
#include "gui/TfrmKeyMap.h"
#include "gui/TfrmMain.h"
#include "gui/TfrmTMode.h"

namespace tdxx {

// The program's four windows, made in their order (the main window first), and the Key Map
// window after them, with the commands and the other windows' controllers, all wired to each
// other. The program entry, the GUI tests and the benchmarks build the windows through it;
// FormCreate is left to the caller.
struct QtProgramWindows {
  explicit QtProgramWindows(Application& app)
      : frmMain(app),
        frmFlashDrive(&frmMain),
        frmTMode(&frmMain),
        frmDownloadFail(&frmMain),
        frmKeyMap(&frmMain),
        commands(app, frmMain),
        flashDriveGuide(app, frmMain),
        tmodeGuide(app, frmMain),
        downloadFailAdvice(commands),
        keyMap(app, frmMain) {
    frmMain.Attach(commands, {frmFlashDrive, frmTMode, frmDownloadFail});
    frmFlashDrive.Attach(flashDriveGuide);
    frmTMode.Attach(tmodeGuide);
    frmDownloadFail.Attach(downloadFailAdvice);
    frmKeyMap.Attach(keyMap, app.state);
    frmMain.AttachKeyMap(frmKeyMap);
  }
  QtProgramWindows(const QtProgramWindows&) = delete;
  QtProgramWindows& operator=(const QtProgramWindows&) = delete;

  TfrmMain frmMain;
  TfrmFlashDrive frmFlashDrive;
  TfrmTMode frmTMode;
  TfrmDownloadFail frmDownloadFail;
  TfrmKeyMap frmKeyMap;
  MainWindowCommands commands;
  FlashDriveController flashDriveGuide;
  TModeGuideController tmodeGuide;
  DownloadFailAdvice downloadFailAdvice;
  KeyMapController keyMap;
};

}  // namespace tdxx
