#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <string>

#include "gui/QtCommandGate.h"
#include "gui/QtNarrowText.h"
#include "gui/QtOpenFileDialog.h"
#include "protocol/MainWindowPort.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QTimer;
class QToolButton;

namespace tdxx {

class Application;
class MainWindowCommands;
class TfrmDownloadFail;
class TfrmFlashDrive;
class TfrmKeyMap;
class QtToolStrip;
class TfrmTMode;

// The main window: tool bar, the file, keypad and progress panels, the Options menu and the two
// one-shot timers. It makes no decisions of its own: its events go to MainWindowCommands, one
// command at a time, and it carries out what the commands ask through MainWindowPort.
class TfrmMain final : public QWidget, public MainWindowPort {
  Q_OBJECT
 public:
  explicit TfrmMain(Application& app);
  ~TfrmMain() override;

  // The guide windows, made after this one; ShowModalWindow shows them.
  struct GuideWindows {
    TfrmFlashDrive& flashDrive;
    TfrmTMode& tmode;
    TfrmDownloadFail& downloadFail;
  };
  // Wires the commands and the guide windows, once, after all four windows exist. Events that
  // come before are ignored.
  void Attach(MainWindowCommands& commands, const GuideWindows& guides);
  // The Key Map window that Options > "Key Map..." shows; the item does nothing before.
  void AttachKeyMap(TfrmKeyMap& keyMap) { keyMap_ = &keyMap; }

  // Starts tmrStartup; the program entry calls it once the start-up sequence has run.
  void StartStartupTimer();

  // The progress log exactly as logged, byte for byte.
  const std::string& progressText() const { return progressText_; }

  // MainWindowPort.
  void LogProgress(std::string_view text) override;
  std::string KeypadText() const override { return keypadText_; }
  void SetKeypadText(std::string_view text) override;
  std::string FileNameText() const override { return fileNameText_; }
  void SetFileNameText(std::string_view text) override;
  void SetFileTypeText(std::string_view text) override;
  void SetProgressMaximum(int maximum) override;
  int ProgressMaximum() const override;
  void SetProgressPosition(int position) override;
  void StepProgress() override;
  MessageResult ShowMessage(std::string_view text, std::string_view title, MessageIcon icon,
                            MessageButtons buttons) override;
  void ShowModalWindow(ModalWindow window) override;
  std::optional<std::string> ChooseFileToOpen(const OpenFileRequest& request) override;
  void ShowError(std::string_view text) override;
  bool OpenFolder(const std::string& path, std::string& error) override;
  void ShowWaitCursor() override;
  void RestoreCursor() override;
  void RepaintNow() override;
  void ProcessPendingMessages() override;
  void Pause(Milliseconds duration) override;
  void SetCaption(std::string_view caption) override;
  void SetMethodTicks(bool standard, bool tmode, bool flashDrive) override;
  void SetCommandsEnabled(bool enabled) override;
  void CloseMainWindow() override;
  void StartTModeDownloadTimer() override;

 protected:
  // A close request of the window manager (Alt+F4, the task bar, a title-bar button) acts as
  // Exit when no command runs, and is refused while one runs.
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildToolBar();
  void BuildFilePanel();
  void BuildKeypadPanel();
  void BuildProgressPanel();
  void BuildOptionsMenu();
  QToolButton* AddToolButton(const char* name, int image, const char* text, const char* hint);
  void AddSeparator(const char* name);
  QAction* AddMenuItem(const char* name, const char* text, void (MainWindowCommands::*handler)());

  // Runs a command of MainWindowCommands through the gate.
  void RunCommand(void (MainWindowCommands::*handler)());
  void ShowOptionsMenu();
  void ApplyMethodTicks();

  Application& app_;
  MainWindowCommands* commands_ = nullptr;
  TfrmFlashDrive* flashDrive_ = nullptr;
  TfrmTMode* tmode_ = nullptr;
  TfrmDownloadFail* downloadFail_ = nullptr;
  TfrmKeyMap* keyMap_ = nullptr;
  QtCommandGate gate_;
  QtOpenFileDialog openFileDialog_;
  bool closeAllowed_ = false;
  // Set while a close request of the window manager runs Exit: CloseMainWindow then lets that
  // request through instead of starting a close of its own.
  bool answeringCloseRequest_ = false;

  // Narrow models beside the widgets, so that read-backs give the texts exactly as set.
  std::string progressText_;
  DisplayTextStream progressDisplay_;
  std::string keypadText_;
  std::string fileNameText_;
  std::array<bool, 3> methodTicks_{true, false, false};

  QtToolStrip* toolBar_ = nullptr;
  QToolButton* btnOpen_ = nullptr;
  QToolButton* btnConnect_ = nullptr;
  QToolButton* btnDownload_ = nullptr;
  QToolButton* btnOption_ = nullptr;
  QToolButton* btnReboot_ = nullptr;
  QToolButton* btnErase_ = nullptr;
  QToolButton* btnExit_ = nullptr;
  QGroupBox* gboxFile_ = nullptr;
  QLabel* lblFilename_ = nullptr;
  QPlainTextEdit* memoFileName_ = nullptr;
  QLabel* lblFileType_ = nullptr;
  QLineEdit* edFileType_ = nullptr;
  QGroupBox* gboxDevice_ = nullptr;
  QPlainTextEdit* memoKeypad_ = nullptr;
  QGroupBox* gboxProgress_ = nullptr;
  QPlainTextEdit* memoProgress_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
  QMenu* mnuOptions_ = nullptr;
  QAction* mnuDownloadNormal_ = nullptr;
  QAction* mnuDownloadViaTMode_ = nullptr;
  QAction* mnuDownloadViaFlashDrive_ = nullptr;
  QAction* mnuLaunchBootloader_ = nullptr;
  QAction* mnuKeyMap_ = nullptr;
  QTimer* tmrStartup_ = nullptr;
  QTimer* tmrTModeDownload_ = nullptr;
};

}  // namespace tdxx
