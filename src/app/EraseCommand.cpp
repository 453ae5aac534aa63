// Erase CKD: wipes the key definitions and settings of the connected keypad.
#include "app/CommandScope.h"
#include "app/DeviceCommandOutcome.h"
#include "app/DeviceCommandSend.h"
#include "app/MainWindowCommands.h"
#include "hid/DeviceKindTable.h"
#include "protocol/Detection.h"
#include "protocol/DeviceCommands.h"
#include "protocol/DeviceKindGroups.h"

namespace tdxx {
namespace {

constexpr const char* kTitle = "Erase Settings Note";
constexpr const char* kSent =
    "Success! Erase command sent.\r\nYour keypad should reboot momentarily.\r\nClick "
    "\"Connect\" to find it.";

}  // namespace

void MainWindowCommands::btnEraseClick() {
  CommandScope scope(port_, commandDepth_);
  MainWindowState& state = app_.state;
  const DeviceKind kind = state.deviceKind;
  const EraseAction action = FactsOf(kind).erase;
  ProtocolContext ctx = app_.Protocol(port_);
  if (kind == kSeveralDevices) {
    ShowConflict(port_, app_.transport, "Erase aborted! Please connect only one device.",
                 "Erase Conflict");
  } else if (action == EraseAction::NotProgrammable) {
    ShowWarning(port_, "Erase aborted! Slimkey 947 keys are not programmable.",
                "Erase Unavailable");
  } else if (action == EraseAction::FeatureReports) {
    const bool failed = SendByFeatureReports(ctx, SendEraseSettings);
    ShowOutcomeAndForgetDevice(port_, state, failed, kSent,
                               "Failure! Erase command not sent. Try PRG/TMode.", kTitle);
  } else if (action == EraseAction::Unsupported917) {
    ShowWarning(port_,
                "Tasterdeck 91x does not support this erase method.\r\nUse the two-finger reboot "
                "method described in the manual.",
                kTitle);
  } else if (action == EraseAction::InBootloader) {
    ShowWarning(port_,
                "This command cannot execute because your device is in\r\nBootloader mode. Replug "
                "it on USB then click \"Connect\".",
                kTitle);
  } else if (action == EraseAction::PrgTModeStream) {
    const bool failed = SendUnderWaitCursor(ctx, EraseSettingsTMode);
    ShowOutcomeAndForgetDevice(port_, state, failed, kSent, "Failure! Erase command not sent.",
                               kTitle);
  } else if (kind == kNoDevice) {
    ShowWarning(port_, kNoDeviceText, kTitle);
  }
}

}  // namespace tdxx
