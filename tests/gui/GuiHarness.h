#pragma once

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/AppEnvironment.h"
#include "app/Application.h"
#include "gui/QtClock.h"
#include "gui/QtEventsWithoutInput.h"
#include "gui/QtProgramWindows.h"
#include "sim/Simulation.h"
#include "support/FakeDriveLocator.h"
#include "support/NoHidBinder.h"
#include "support/TempFolder.h"

// Not part of the toolkit's public interface: the queue the window system's input goes into.
#include <qpa/qwindowsysteminterface.h>

namespace tdxx::test {

// A left click on the centre of `target` as the window system delivers one: queued, and handed
// to the widget when the event loop next takes input (QTest's clicks are delivered at once).
inline void QueueClick(QWidget* target) {
  QWidget* top = target->window();
  QWindow* window = top->windowHandle();
  const QPointF local = target->mapTo(top, target->rect().center());
  const QPointF global = target->mapToGlobal(target->rect().center());
  using Input = QWindowSystemInterface;
  Input::handleMouseEvent<Input::AsynchronousDelivery>(window, local, global, Qt::LeftButton,
                                                       Qt::LeftButton, QEvent::MouseButtonPress);
  Input::handleMouseEvent<Input::AsynchronousDelivery>(window, local, global, Qt::NoButton,
                                                       Qt::LeftButton, QEvent::MouseButtonRelease);
}

// The windowed program's clock (QtClock), which a test can make quick for a long device
// operation: its pauses then let pending events run once without waiting, and device calls take
// no time. Painting and timers go on as in the program; only the waiting is left out.
class HarnessClock final : public SystemClock {
 public:
  void Pause(ClockDuration duration) override {
    if (quick) {
      RunEventsWithoutInput(std::chrono::steady_clock::now());
      return;
    }
    qtClock_.Pause(duration);
  }
  void Spend(ClockDuration duration) override {
    if (!quick)
      SystemClock::Spend(duration);
  }

  bool quick = false;

 private:
  QtClock qtClock_;
};

// The windowed program as the program entry builds it, over a temporary documents folder and
// without any HID library, or with the simulated devices `simulate` names. `settings` is written
// as TDxxLoad.ini before the start-up sequence; `arguments` is the program's command line.
class GuiHarness {
 public:
  explicit GuiHarness(std::optional<std::string> settings = std::nullopt,
                      std::vector<std::string> simulate = {},
                      std::vector<std::string> arguments = {})
      : simulation(Simulate(simulate, clock)),
        app(Environment(temp, settings, simulate, arguments),
            simulation ? simulation->binder() : static_cast<HidLibraryBinder&>(binder), clock,
            drives),
        windows(app) {
    commands.FormCreate();
  }

  std::string SettingsFile() const { return temp / "docs/Quorvane/KeysmithTDxx/TDxxLoad.ini"; }

  template <typename T>
  T* Find(const char* name) {
    return frmMain.findChild<T*>(QString::fromLatin1(name));
  }

  // Runs the Open command and chooses `path` in its dialog.
  void OpenFile(const std::string& path) {
    OnNextModal([path](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      if (dialog == nullptr)
        throw std::logic_error("the open-file dialog was expected");
      ChooseInDialog(*dialog, path);
    });
    commands.btnOpenClick();
  }

  // Chooses `path` in an open-file dialog as a user typing it would, and accepts. (selectFile
  // of a file in another folder completes only once the dialog's folder model has loaded, in a
  // thread of its own, so an accept right after it may find no file chosen yet.)
  static void ChooseInDialog(QFileDialog& dialog, const std::string& path) {
    auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (name == nullptr)
      throw std::logic_error("the open-file dialog has no file name box");
    name->setText(QString::fromStdString(path));
    static_cast<QDialog&>(dialog).accept();
  }

  // Runs `action` on the next modal window once it is shown (a message box, a dialog).
  void OnNextModal(std::function<void(QWidget*)> action) {
    auto* timer = new QTimer(&watcher);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        timer->stop();
        action(modal);
      }
    });
    timer->start();
  }

  TempFolder temp;
  HarnessClock clock;
  NoHidBinder binder;
  FakeDriveLocator drives;
  std::unique_ptr<sim::Simulation> simulation;
  Application app;
  QtProgramWindows windows;
  TfrmMain& frmMain = windows.frmMain;
  TfrmFlashDrive& frmFlashDrive = windows.frmFlashDrive;
  TfrmTMode& frmTMode = windows.frmTMode;
  TfrmDownloadFail& frmDownloadFail = windows.frmDownloadFail;
  TfrmKeyMap& frmKeyMap = windows.frmKeyMap;
  MainWindowCommands& commands = windows.commands;
  FlashDriveController& flashDriveGuide = windows.flashDriveGuide;
  TModeGuideController& tmodeGuide = windows.tmodeGuide;
  DownloadFailAdvice& downloadFailAdvice = windows.downloadFailAdvice;
  KeyMapController& keyMap = windows.keyMap;
  QObject watcher;

 private:
  static std::unique_ptr<sim::Simulation> Simulate(const std::vector<std::string>& kinds,
                                                   Clock& clock) {
    if (kinds.empty())
      return nullptr;
    std::string error;
    auto simulation = sim::Simulation::Create(kinds, clock, error);
    if (!simulation)
      throw std::runtime_error(error);
    return simulation;
  }

  static AppEnvironment Environment(const TempFolder& temp,
                                    const std::optional<std::string>& settings,
                                    const std::vector<std::string>& simulate,
                                    const std::vector<std::string>& arguments) {
    if (settings)
      temp.Write("docs/Quorvane/KeysmithTDxx/TDxxLoad.ini", *settings);
    AppEnvironment environment;
    environment.programFolder = temp / "program/";
    environment.systemConfigFolder = temp / "etc/";
    environment.userDocumentsFolder = temp / "docs";
    environment.sharedDocumentsFolder = temp / "shared";
    environment.simulatedDevices = simulate;
    environment.arguments = arguments;
    return environment;
  }
};

}  // namespace tdxx::test
