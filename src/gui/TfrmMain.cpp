#include "gui/TfrmMain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDesktopServices>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScreen>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <algorithm>
#include <chrono>

#include "app/Application.h"
#include "app/MainWindowCommands.h"
#include "gui/QtApplication.h"
#include "gui/QtEventsWithoutInput.h"
#include "gui/QtFocusFrame.h"
#include "gui/QtToolStrip.h"
#include "gui/QtToolbarIcons.h"
#include "gui/TfrmDownloadFail.h"
#include "gui/TfrmFlashDrive.h"
#include "gui/TfrmKeyMap.h"
#include "gui/TfrmTMode.h"

namespace tdxx {

namespace {

constexpr int kClientWidth = 508;
constexpr int kClientHeight = 438;
constexpr int kToolBarHeight = 50;
constexpr int kToolButtonWidth = 65;
constexpr int kToolButtonHeight = 44;
constexpr int kSeparatorWidth = 8;
constexpr int kPanelLeft = 11;
constexpr int kPanelWidth = 485;
constexpr int kInitialProgressMaximum = 48;
constexpr QRgb kPanelGrey = qRgb(0xf0, 0xf0, 0xf0);

QFont WindowFont() {
  QFont font(QStringLiteral("MS Sans Serif"), 8);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

QFont LogFont() {
  QFont font(QStringLiteral("Courier New"), 8);
  font.setStyleHint(QFont::Monospace);
  font.setFixedPitch(true);
  return font;
}

void PaintBase(QWidget& widget, QRgb colour) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Base, QColor(colour));
  widget.setPalette(palette);
}

QPlainTextEdit* MakeReadOnlyBox(QWidget* parent, const char* name, const QRect& geometry) {
  auto* box = new QPlainTextEdit(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setGeometry(geometry);
  box->setReadOnly(true);
  box->setUndoRedoEnabled(false);
  box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  return box;
}

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Warning:
      return QMessageBox::Warning;
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::Question:
      return QMessageBox::Question;
    case MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

TfrmMain::TfrmMain(Application& app)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      app_(app),
      // An error that escapes a command or a timer's handler is shown here, and the window
      // goes on; the toolkit's signal emission never sees it.
      gate_([this](std::string_view text) { ShowStandardErrorBox(this, DisplayText(text)); }) {
  setObjectName(QStringLiteral("frmMain"));
  setFixedSize(kClientWidth, kClientHeight);
  QPalette background = palette();
  background.setColor(QPalette::Window, Qt::white);
  setPalette(background);
  setAutoFillBackground(true);
  setFont(WindowFont());
  // The window shows the application's icon (QtApplication sets it); drawing it again here
  // would only slow the start.

  BuildToolBar();
  BuildFilePanel();
  BuildKeypadPanel();
  BuildProgressPanel();
  BuildOptionsMenu();
  // The keyboard starts on Open File, the first step, and the focus is always marked.
  btnOpen_->setFocusPolicy(Qt::TabFocus);
  btnOpen_->setFocus(Qt::OtherFocusReason);
  ShowFocusFrame(*this);

  tmrStartup_ = new QTimer(this);
  tmrStartup_->setObjectName(QStringLiteral("tmrStartup"));
  tmrStartup_->setSingleShot(true);
  tmrStartup_->setInterval(1000);
  connect(tmrStartup_, &QTimer::timeout, this, [this] {
    if (MainWindowCommands* commands = commands_)
      gate_.RunOrDefer([commands] { commands->tmrStartupTimer(); });
  });
  // Started by the PRG/TMode guide window when it hands the download back.
  tmrTModeDownload_ = new QTimer(this);
  tmrTModeDownload_->setObjectName(QStringLiteral("tmrTModeDownload"));
  tmrTModeDownload_->setSingleShot(true);
  tmrTModeDownload_->setInterval(100);
  connect(tmrTModeDownload_, &QTimer::timeout, this, [this] {
    if (MainWindowCommands* commands = commands_)
      gate_.RunOrDefer([commands] { commands->tmrTModeDownloadTimer(); });
  });

  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::BuildToolBar() {
  toolBar_ = new QtToolStrip(this);
  toolBar_->setObjectName(QStringLiteral("ToolBar1"));
  toolBar_->setGeometry(0, 0, kClientWidth, kToolBarHeight);

  btnOpen_ = AddToolButton("btnOpen", 0, "&Open File", "Open a CKD or UPG file");
  AddSeparator("ToolSeparator1");
  AddSeparator("ToolSeparator2");
  btnConnect_ = AddToolButton("btnConnect", 1, "Connect", "Search USB for keypad");
  btnDownload_ = AddToolButton("btnDownload", 2, "&Download", "Download file to Keypad");
  btnOption_ = AddToolButton("btnOption", 3, "Options", "Set download options");
  btnReboot_ = AddToolButton("btnReboot", 4, "Reboot", "Reboot the keypad");
  btnErase_ = AddToolButton("btnErase", 5, "Erase CKD", "Erase all settings in the Keypad");
  AddSeparator("ToolSeparator3");
  AddSeparator("ToolSeparator4");
  btnExit_ = AddToolButton("btnExit", 6, "Exit", "Quit the application");
  // Exit keeps its hint but never shows it: a status tip, and this window has no status bar.
  btnExit_->setToolTip(QString());
  btnExit_->setStatusTip(QStringLiteral("Quit the application"));

  connect(btnOpen_, &QToolButton::clicked, this,
          [this] { RunCommand(&MainWindowCommands::btnOpenClick); });
  connect(btnConnect_, &QToolButton::clicked, this,
          [this] { RunCommand(&MainWindowCommands::btnConnectClick); });
  connect(btnDownload_, &QToolButton::clicked, this,
          [this] { RunCommand(&MainWindowCommands::btnDownloadClick); });
  connect(btnOption_, &QToolButton::clicked, this, [this] { ShowOptionsMenu(); });
  connect(btnReboot_, &QToolButton::clicked, this,
          [this] { RunCommand(&MainWindowCommands::btnRebootClick); });
  connect(btnErase_, &QToolButton::clicked, this,
          [this] { RunCommand(&MainWindowCommands::btnEraseClick); });
  connect(btnExit_, &QToolButton::clicked, this,
          [this] { RunCommand(&MainWindowCommands::btnExitClick); });
}

QToolButton* TfrmMain::AddToolButton(const char* name, int image, const char* text,
                                     const char* hint) {
  auto* button = new QToolButton(toolBar_);
  button->setObjectName(QString::fromLatin1(name));
  button->setIcon(ToolbarIcon(image));
  button->setIconSize(QSize(kToolbarImageSize, kToolbarImageSize));
  // An '&' in the caption underlines the next letter and makes Alt+letter click the button.
  button->setText(QString::fromLatin1(text));
  button->setToolTip(QString::fromLatin1(hint));
  button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  button->setAutoRaise(true);
  button->setFixedSize(kToolButtonWidth, kToolButtonHeight);
  toolBar_->addWidget(button);
  return button;
}

void TfrmMain::AddSeparator(const char* name) {
  auto* separator = new QFrame(toolBar_);
  separator->setObjectName(QString::fromLatin1(name));
  separator->setFrameShape(QFrame::VLine);
  separator->setFrameShadow(QFrame::Sunken);
  separator->setFixedSize(kSeparatorWidth, kToolButtonHeight);
  toolBar_->addWidget(separator);
}

void TfrmMain::BuildFilePanel() {
  gboxFile_ = new QGroupBox(QStringLiteral(" File "), this);
  gboxFile_->setObjectName(QStringLiteral("gboxFile"));
  gboxFile_->setGeometry(kPanelLeft, 56, kPanelWidth, 108);

  lblFilename_ = new QLabel(QStringLiteral("File Name:"), gboxFile_);
  lblFilename_->setObjectName(QStringLiteral("lblFilename"));
  lblFilename_->setGeometry(10, 20, 58, 16);
  memoFileName_ = MakeReadOnlyBox(gboxFile_, "memoFileName", QRect(70, 18, 407, 45));
  PaintBase(*memoFileName_, kPanelGrey);

  lblFileType_ = new QLabel(QStringLiteral("File Type:"), gboxFile_);
  lblFileType_->setObjectName(QStringLiteral("lblFileType"));
  lblFileType_->setGeometry(10, 75, 58, 16);
  edFileType_ = new QLineEdit(gboxFile_);
  edFileType_->setObjectName(QStringLiteral("edFileType"));
  edFileType_->setGeometry(70, 72, 407, 21);
  edFileType_->setReadOnly(true);
  PaintBase(*edFileType_, kPanelGrey);
}

void TfrmMain::BuildKeypadPanel() {
  gboxDevice_ = new QGroupBox(QStringLiteral(" Keypad "), this);
  gboxDevice_->setObjectName(QStringLiteral("gboxDevice"));
  gboxDevice_->setGeometry(kPanelLeft, 170, kPanelWidth, 96);

  memoKeypad_ = MakeReadOnlyBox(gboxDevice_, "memoKeypad", QRect(15, 20, 455, 64));
  memoKeypad_->setFont(LogFont());
  // One empty line at start.
  SetKeypadText("\r\n");
}

void TfrmMain::BuildProgressPanel() {
  gboxProgress_ = new QGroupBox(QStringLiteral(" Progress "), this);
  gboxProgress_->setObjectName(QStringLiteral("gboxProgress"));
  gboxProgress_->setGeometry(kPanelLeft, 272, kPanelWidth, 152);

  memoProgress_ = MakeReadOnlyBox(gboxProgress_, "memoProgress", QRect(15, 20, 455, 97));
  memoProgress_->setFont(LogFont());
  memoProgress_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // The log is never trimmed.
  memoProgress_->setMaximumBlockCount(0);

  progressBar_ = new QProgressBar(gboxProgress_);
  progressBar_->setObjectName(QStringLiteral("ProgressBar1"));
  progressBar_->setGeometry(15, 124, 455, 16);
  progressBar_->setRange(0, kInitialProgressMaximum);
  progressBar_->setValue(0);
  progressBar_->setTextVisible(false);
}

void TfrmMain::BuildOptionsMenu() {
  mnuOptions_ = new QMenu(this);
  mnuOptions_->setObjectName(QStringLiteral("mnuOptions"));
  mnuDownloadNormal_ = AddMenuItem("mnuDownloadNormal", "Download CKD via old standard method",
                                   &MainWindowCommands::mnuDownloadNormalClick);
  mnuDownloadViaTMode_ = AddMenuItem("mnuDownloadViaTMode", "Download CKD via PRG/TMode download",
                                     &MainWindowCommands::mnuDownloadViaTModeClick);
  mnuDownloadViaFlashDrive_ =
      AddMenuItem("mnuDownloadViaFlashDrive", "Download BIN via Flash Drive copy",
                  &MainWindowCommands::mnuDownloadViaFlashDriveClick);
  for (QAction* item : {mnuDownloadNormal_, mnuDownloadViaTMode_, mnuDownloadViaFlashDrive_})
    item->setCheckable(true);
  mnuOptions_->addSeparator();
  mnuLaunchBootloader_ = AddMenuItem("mnuLaunchBootloader", "Launch Bootloader...",
                                     &MainWindowCommands::mnuLaunchBootloaderClick);
  // The key-definition editor, a window of its own beside the main window.
  mnuKeyMap_ = mnuOptions_->addAction(QStringLiteral("Key Map..."));
  mnuKeyMap_->setObjectName(QStringLiteral("mnuKeyMap"));
  connect(mnuKeyMap_, &QAction::triggered, this, [this] {
    if (TfrmKeyMap* keyMap = keyMap_)
      gate_.Run([keyMap] { keyMap->ShowForLoadedFile(); });
  });
  ApplyMethodTicks();
  // The drop-down arrow shows the same menu as a click on the button.
  btnOption_->setMenu(mnuOptions_);
  btnOption_->setPopupMode(QToolButton::MenuButtonPopup);
}

QAction* TfrmMain::AddMenuItem(const char* name, const char* text,
                               void (MainWindowCommands::*handler)()) {
  QAction* item = mnuOptions_->addAction(QString::fromLatin1(text));
  item->setObjectName(QString::fromLatin1(name));
  connect(item, &QAction::triggered, this, [this, handler] {
    RunCommand(handler);
    // The toolkit flips a checkable item's tick on its own when it is clicked; only the
    // commands decide the ticks, through SetMethodTicks.
    ApplyMethodTicks();
  });
  return item;
}

void TfrmMain::Attach(MainWindowCommands& commands, const GuideWindows& guides) {
  commands_ = &commands;
  flashDrive_ = &guides.flashDrive;
  tmode_ = &guides.tmode;
  downloadFail_ = &guides.downloadFail;
}

void TfrmMain::StartStartupTimer() {
  tmrStartup_->start();
}

void TfrmMain::RunCommand(void (MainWindowCommands::*handler)()) {
  MainWindowCommands* commands = commands_;
  if (commands == nullptr)
    return;
  gate_.Run([commands, handler] { (commands->*handler)(); });
}

void TfrmMain::ShowOptionsMenu() {
  // Top-left corner of the menu at the bottom-left corner of the button, as the arrow shows it.
  mnuOptions_->popup(btnOption_->mapToGlobal(QPoint(0, btnOption_->height())));
}

void TfrmMain::ApplyMethodTicks() {
  mnuDownloadNormal_->setChecked(methodTicks_[0]);
  mnuDownloadViaTMode_->setChecked(methodTicks_[1]);
  mnuDownloadViaFlashDrive_->setChecked(methodTicks_[2]);
}

void TfrmMain::LogProgress(std::string_view text) {
  progressText_.append(text);
  // Only the new text goes into the box (a long log is not converted again on every line).
  const DisplayTextStream::Piece piece = progressDisplay_.Append(text);
  QTextCursor cursor(memoProgress_->document());
  cursor.movePosition(QTextCursor::End);
  if (piece.takeBack > 0) {
    const int end = cursor.position();
    cursor.setPosition(end - piece.takeBack, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
  }
  cursor.insertText(piece.text);
  // Caret at the end with nothing selected (a selection the user made is dropped), in view.
  cursor.movePosition(QTextCursor::End);
  memoProgress_->setTextCursor(cursor);
  memoProgress_->ensureCursorVisible();
  RepaintNow();
}

void TfrmMain::SetKeypadText(std::string_view text) {
  keypadText_.assign(text);
  memoKeypad_->setPlainText(DisplayText(text));
}

void TfrmMain::SetFileNameText(std::string_view text) {
  fileNameText_.assign(text);
  memoFileName_->setPlainText(DisplayText(text));
}

void TfrmMain::SetFileTypeText(std::string_view text) {
  edFileType_->setText(DisplayText(text));
}

void TfrmMain::SetProgressMaximum(int maximum) {
  progressBar_->setRange(0, std::max(maximum, 0));
}

int TfrmMain::ProgressMaximum() const {
  return progressBar_->maximum();
}

void TfrmMain::SetProgressPosition(int position) {
  // The toolkit ignores a value outside the range; the bar stops at its ends instead.
  progressBar_->setValue(std::clamp(position, progressBar_->minimum(), progressBar_->maximum()));
}

void TfrmMain::StepProgress() {
  SetProgressPosition(progressBar_->value() + 1);
}

MessageResult TfrmMain::ShowMessage(std::string_view text, std::string_view title, MessageIcon icon,
                                    MessageButtons buttons) {
  QMessageBox box(ToQtIcon(icon), DisplayText(title), DisplayText(text),
                  buttons == MessageButtons::YesNo ? QMessageBox::Yes | QMessageBox::No
                                                   : QMessageBox::StandardButtons(QMessageBox::Ok),
                  this);
  const int answer = box.exec();
  if (buttons == MessageButtons::Ok)
    return MessageResult::Ok;
  return answer == QMessageBox::Yes ? MessageResult::Yes : MessageResult::No;
}

void TfrmMain::ShowModalWindow(ModalWindow window) {
  QDialog* dialog = nullptr;
  switch (window) {
    case ModalWindow::FlashDrive:
      dialog = flashDrive_;
      break;
    case ModalWindow::TMode:
      dialog = tmode_;
      break;
    case ModalWindow::DownloadFail:
      dialog = downloadFail_;
      break;
  }
  if (dialog != nullptr)
    dialog->exec();
}

std::optional<std::string> TfrmMain::ChooseFileToOpen(const OpenFileRequest& request) {
  return openFileDialog_.Choose(this, request);
}

void TfrmMain::ShowError(std::string_view text) {
  ShowStandardErrorBox(this, DisplayText(text));
}

bool TfrmMain::OpenFolder(const std::string& path, std::string& error) {
  const QUrl url = QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(path)));
  if (!QDesktopServices::openUrl(url)) {
    error = "the desktop has no program to show folders";
    return false;
  }
  return true;
}

void TfrmMain::ShowWaitCursor() {
  QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void TfrmMain::RestoreCursor() {
  QApplication::restoreOverrideCursor();
}

void TfrmMain::RepaintNow() {
  // Paints what is invalid now (the log, the bar, a panel that changed) without waiting for the
  // event loop, and only that: repainting the whole window after every key would cost the
  // device's pauses several milliseconds each.
  QCoreApplication::sendPostedEvents(this, QEvent::UpdateRequest);
}

void TfrmMain::ProcessPendingMessages() {
  // Input stays queued, as during a pause: a click cannot start a command inside this one.
  RunEventsWithoutInput(std::chrono::steady_clock::now());
}

void TfrmMain::Pause(Milliseconds duration) {
  app_.clock.Pause(duration);
}

void TfrmMain::SetCaption(std::string_view caption) {
  setWindowTitle(DisplayText(caption));
}

void TfrmMain::SetMethodTicks(bool standard, bool tmode, bool flashDrive) {
  methodTicks_ = {standard, tmode, flashDrive};
  ApplyMethodTicks();
}

void TfrmMain::SetCommandsEnabled(bool enabled) {
  if (enabled) {
    // Clicks made while the command ran wait in the queue (pauses hold input back); let them
    // reach the disabled buttons now, where they are dropped, rather than start a command
    // afterwards.
    QCoreApplication::processEvents();
  }
  for (QToolButton* button :
       {btnOpen_, btnConnect_, btnDownload_, btnOption_, btnReboot_, btnErase_, btnExit_})
    button->setEnabled(enabled);
  for (QAction* item : {mnuDownloadNormal_, mnuDownloadViaTMode_, mnuDownloadViaFlashDrive_,
                        mnuLaunchBootloader_, mnuKeyMap_})
    item->setEnabled(enabled);
}

void TfrmMain::StartTModeDownloadTimer() {
  tmrTModeDownload_->start();
}

void TfrmMain::CloseMainWindow() {
  // Unsaved changes in the Key Map window are asked about first; Cancel keeps the program.
  if (keyMap_ != nullptr && !keyMap_->AgreeToClose())
    return;
  closeAllowed_ = true;
  if (!answeringCloseRequest_)
    close();
}

void TfrmMain::closeEvent(QCloseEvent* event) {
  if (!closeAllowed_ && !gate_.busy()) {
    // The window manager's close is the Exit command; Exit decides whether the window closes.
    answeringCloseRequest_ = true;
    RunCommand(&MainWindowCommands::btnExitClick);
    answeringCloseRequest_ = false;
  }
  if (!closeAllowed_) {
    event->ignore();
    return;
  }
  closeAllowed_ = false;
  event->accept();
}

}  // namespace tdxx
