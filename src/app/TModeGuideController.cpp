#include "app/TModeGuideController.h"

#include "hid/DeviceKindTable.h"
#include "protocol/Detection.h"

namespace tdxx {

TModeGuideController::TModeGuideController(Application& app, MainWindowPort& port)
    : app_(app), port_(port) {}

void TModeGuideController::FormShow() {
  connectCaption_ = "Connect via PRG";
  notFoundVisible_ = false;
  downloadEnabled_ = false;
  closeRequested_ = false;
}

void TModeGuideController::btnConnectTModeClick() {
  ProtocolContext ctx = app_.Protocol(port_);
  DetectKeypad(ctx, false);
  if (FactsOf(app_.state.deviceKind).group == DeviceGroup::PrgTMode) {
    connectCaption_ = "Contacted!";
    downloadEnabled_ = true;
    notFoundVisible_ = false;
  } else {
    notFoundVisible_ = true;
  }
}

void TModeGuideController::btnDownloadClick() {
  port_.StartTModeDownloadTimer();
  closeRequested_ = true;
}

void TModeGuideController::btnDoneClick() {
  closeRequested_ = true;
}

}  // namespace tdxx
