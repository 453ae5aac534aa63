#include "cli/ConsoleWindows.h"

#include "app/DownloadFailAdvice.h"
#include "app/FlashDriveController.h"
#include "app/TModeGuideController.h"

namespace tdxx::cli {
namespace {

constexpr Milliseconds kConnectInterval{1000};

}  // namespace

ConsoleWindows::ConsoleWindows(MainWindowCommands& commands, ConsolePort& port, Clock& clock,
                               int waitSeconds)
    : commands_(commands), port_(port), clock_(clock), waitSeconds_(waitSeconds) {}

void ConsoleWindows::Show(ModalWindow window) {
  switch (window) {
    case ModalWindow::TMode:
      ShowTModeGuide();
      return;
    case ModalWindow::DownloadFail:
      ShowDownloadFailAdvice();
      return;
    case ModalWindow::FlashDrive:
      ShowFlashDriveGuide();
      return;
  }
}

void ConsoleWindows::ShowTModeGuide() {
  port_.Note("Download via PRG/TMode Method");
  port_.Note("How to download to your TDxx/WKxxx using the PRG/TMode method:");
  port_.Note("1. On the back of your keypad, move the switch to the \"PRG\" position.");
  port_.Note("2. The LED on the keypad should (eventually) turn solid purple/pink.");
  port_.Note(
      "3. Use the \"Connect via PRG\" button here or the \"Connect\" button on the main page to "
      "locate your keypad in PRG/TMode over USB.");
  port_.Note(
      "4. Click the \"Download\" button here or on the main page.  The file will be sent to the "
      "keypad. (Make sure you have loaded a CKD file first)");
  port_.Note(
      "5. After the download is complete, move the switch back to the normal keyboard position.  "
      "Your keypad will reboot with the new settings.");

  TModeGuideController guide(commands_.app(), port_);
  guide.FormShow();
  if (waitSeconds_ < 0) {
    port_.Note("Guide not completed: run again with --wait SECONDS to look for the keypad.");
    guideIncomplete_ = true;
    guide.btnDoneClick();
    return;
  }
  port_.Note("Looking for a keypad in PRG/TMode for up to " + std::to_string(waitSeconds_) + " s.");
  if (RetryForWait([&guide] {
        guide.btnConnectTModeClick();
        return guide.downloadEnabled();
      })) {
    port_.Note("Contacted!");
    guide.btnDownloadClick();
    return;
  }
  port_.Note("Not found!");
  guideIncomplete_ = true;
  guide.btnDoneClick();
}

bool ConsoleWindows::RetryForWait(const std::function<bool()>& attempt) {
  const ClockDuration start = clock_.Now();
  const ClockDuration deadline = start + Milliseconds(1000LL * waitSeconds_);
  for (int tries = 1;; ++tries) {
    if (attempt())
      return true;
    const ClockDuration next = start + tries * kConnectInterval;
    if (next > deadline)
      return false;
    const ClockDuration now = clock_.Now();
    if (next > now)
      port_.Pause(std::chrono::ceil<Milliseconds>(next - now));
  }
}

void ConsoleWindows::ShowFlashDriveGuide() {
  port_.Note("Download via Flash Drive Method");
  port_.Note("How to download to your TDxx/WKxx using the Flash Drive method:");
  port_.Note("1. On the back of your keypad, move the switch to the \"flash drive\" position.");
  port_.Note(
      "2. The LED on the keypad should turn red and you should see a removable drive on your "
      "computer called TASTERDECK.");
  port_.Note(
      "3. Find the file you are working with, but with the extension .BIN.  Copy that file to "
      "the TASTERDECK drive. You can click the \"Show Folders\" button to open your folders.");
  port_.Note(
      "4. After the BIN file is copied, close the folders.  Then, on the back of your keypad, "
      "move the switch to the \"keyboard\" 'position.");
  port_.Note(
      "5. The keypad LED will flicker for a while and then your keypad will reboot with the new "
      "settings.");

  FlashDriveController guide(commands_.app(), port_);
  guide.FormShow();
  if (waitSeconds_ < 0) {
    port_.Note(
        "Guide not completed: run again with --wait SECONDS to copy onto the keypad's drive.");
    guideIncomplete_ = true;
    guide.btnDoneClick();
    return;
  }
  port_.Note("Looking for the TASTERDECK drive for up to " + std::to_string(waitSeconds_) + " s.");
  KeypadDriveLocator& drives = commands_.app().driveLocator;
  if (!RetryForWait([&drives] { return drives.FindKeypadDrive(); })) {
    port_.Note("TASTERDECK drive not found.");
    guideIncomplete_ = true;
    guide.btnDoneClick();
    return;
  }
  // Copy Bin for me: written under a temporary name, synced, renamed and read back; a failure
  // shows its box and leaves nothing behind.
  guide.btnCopyBinFileClick();
  flashDriveCopied_ = !guide.copiedFilePath().empty();
  guide.btnDoneClick();
}

void ConsoleWindows::ShowDownloadFailAdvice() {
  DownloadFailAdvice advice(commands_);
  advice.FormShow();
  port_.Note("Download Failed! -- Problems Downloading?");
  port_.Note("If standard downloading fails...");
  port_.Note(
      "It is recommended to use the rear panel switch when downloading.  Examine the rear of "
      "your keypad and select the image that matches your keypad.  Click the corresponding "
      "button for that image.");
  port_.Note("- \"My keypad has this PRG switch\" (a keyboard symbol and PRG): --method prg");
  port_.Note(
      "- \"My keypad has this Flash Drive switch\" (a keyboard symbol and a flash-drive symbol): "
      "--method flash");
  port_.Note(
      "Do not change the position of the switch until directed to do so  by this downloader "
      "application.");
  advice.btnCancelClick();
}

}  // namespace tdxx::cli
