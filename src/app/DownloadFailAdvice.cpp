#include "app/DownloadFailAdvice.h"

namespace tdxx {
namespace {

constexpr int kMethodTMode = 1;
constexpr int kMethodFlashDrive = 2;

}  // namespace

DownloadFailAdvice::DownloadFailAdvice(MainWindowCommands& commands) : commands_(commands) {}

void DownloadFailAdvice::FormShow() {
  closeRequested_ = false;
}

void DownloadFailAdvice::btnUsePRG_TModeClick() {
  Choose(kMethodTMode,
         "The downloader will now use PRG/TMode method. You will be\r\nguided by this program "
         "when to change the switch position.\r\nTry download again.");
}

void DownloadFailAdvice::btnUseFlashDriveClick() {
  Choose(kMethodFlashDrive,
         "The downloader will now use the Flash Drive method. You will\r\nbe guided by this "
         "program when to change the switch position.\r\nTry download again.");
}

void DownloadFailAdvice::btnCancelClick() {
  closeRequested_ = true;
}

void DownloadFailAdvice::Choose(int mode, const char* confirmation) {
  if (!commands_.SetDownloadMode(mode))
    return;
  commands_.port().ShowMessage(confirmation, "Download Method Set", MessageIcon::Information,
                               MessageButtons::Ok);
  closeRequested_ = true;
}

}  // namespace tdxx
