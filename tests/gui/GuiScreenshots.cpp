// Writes a picture of each window into the folder named on the command line, for people to look
// at: the main window after start-up, the same with example texts in its panels, the three
// guide windows, the Key Map window on the 48-key example, and the seven tool-bar images
// enlarged.

#include <QApplication>
#include <QDialog>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <iostream>

#include "GuiHarness.h"
#include "gui/QtApplication.h"
#include "gui/QtKeyCapGrid.h"
#include "gui/QtProgramIcon.h"
#include "gui/QtRearSwitchPictures.h"
#include "gui/QtToolbarIcons.h"
#include "sim/SimulatedDevice.h"

extern "C" const char* __asan_default_options() {
  return "detect_leaks=0";
}

namespace {

// The client area under a plain title strip carrying the caption, since an offscreen window has
// no frame of its own.
QImage WithTitleStrip(QWidget& window) {
  window.show();
  if (!QTest::qWaitForWindowExposed(&window))
    std::cerr << "window not exposed: " << window.objectName().toStdString() << '\n';
  QCoreApplication::processEvents();
  const QImage client = window.grab().toImage();
  constexpr int kStrip = 22;
  QImage image(client.width() + 2, client.height() + kStrip + 1, QImage::Format_RGB32);
  image.fill(QColor(0x70, 0x70, 0x70));
  QPainter painter(&image);
  painter.fillRect(QRect(1, 1, client.width(), kStrip - 1), QColor(0xdd, 0xe4, 0xee));
  painter.setPen(Qt::black);
  QFont font = window.font();
  font.setPointSize(9);
  painter.setFont(font);
  painter.drawText(QRect(8, 1, client.width() - 8, kStrip - 1), Qt::AlignVCenter | Qt::AlignLeft,
                   window.windowTitle());
  painter.drawImage(1, kStrip, client);
  return image;
}

bool Save(const QImage& image, const QString& folder, const char* name) {
  const QString path = folder + QLatin1Char('/') + QString::fromLatin1(name);
  if (!image.save(path)) {
    std::cerr << "cannot write " << path.toStdString() << '\n';
    return false;
  }
  std::cout << "wrote " << path.toStdString() << '\n';
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  tdxx::QtApplication application(argc, argv);
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
  bool ok = true;

  tdxx::test::GuiHarness gui;
  ok &= Save(WithTitleStrip(gui.frmMain), folder, "frmMain.png");

  // Example texts, to judge the fonts and the wrapping of the panels.
  gui.frmMain.SetFileNameText(gui.app.state.macroFilesFolder + "/Example keys.ckd");
  gui.frmMain.SetFileTypeText("Tasterdeck Key Definitions (.CKD)");
  gui.frmMain.SetKeypadText("Found: TD-B keypad (48 keys)\r\nFirmware version 1.70");
  gui.frmMain.LogProgress("\r\nOpen file.  ");
  gui.frmMain.LogProgress("\r\nFile read SUCCESSFUL.\r\n");
  gui.frmMain.LogProgress(
      "\r\nThis is a long example line that is wider than the box, so that "
      "it wraps at the box edge.");
  gui.frmMain.SetProgressMaximum(10);
  gui.frmMain.SetProgressPosition(4);
  ok &= Save(WithTitleStrip(gui.frmMain), folder, "frmMain-example-texts.png");

  // A run with a simulated TD-A keypad, once the start-up timer has detected it.
  {
    tdxx::test::GuiHarness simulated(std::nullopt, {"td-a"});
    simulated.frmMain.show();
    simulated.frmMain.StartStartupTimer();
    simulated.clock.Pause(tdxx::Milliseconds(1500));
    ok &= Save(WithTitleStrip(simulated.frmMain), folder, "frmMain-simulated-td-a.png");
  }

  ok &= Save(WithTitleStrip(gui.frmFlashDrive), folder, "frmFlashDrive.png");
  ok &= Save(WithTitleStrip(gui.frmTMode), folder, "frmTMode.png");
  ok &= Save(WithTitleStrip(gui.frmDownloadFail), folder, "frmDownloadFail.png");
  gui.frmTMode.hide();
  gui.frmDownloadFail.hide();

  // The PRG/TMode window after a Connect that found nothing, and after one that found a keypad
  // in PRG/TMode.
  {
    tdxx::test::GuiHarness prg(std::nullopt, {"prg-tmode"});
    prg.frmTMode.show();
    prg.simulation->device(0).Unplug();
    prg.frmTMode.findChild<QPushButton*>(QStringLiteral("btnConnectTMode"))->click();
    ok &= Save(WithTitleStrip(prg.frmTMode), folder, "frmTMode-not-found.png");
    prg.simulation->device(0).Plug();
    prg.frmTMode.findChild<QPushButton*>(QStringLiteral("btnConnectTMode"))->click();
    ok &= Save(WithTitleStrip(prg.frmTMode), folder, "frmTMode-contacted.png");
    prg.frmTMode.hide();
  }

  // The Key Map window on the 48-key example, with a key selected for editing.
  {
    tdxx::test::GuiHarness keys;
    keys.OpenFile(std::string(TDXX_EXAMPLES_DIR) + "/td-b-letters.ckd");
    keys.frmKeyMap.ShowForLoadedFile();
    QTest::mouseClick(keys.frmKeyMap.grid(), Qt::LeftButton, {},
                      keys.frmKeyMap.grid()->CapRect(26).center());
    ok &= Save(WithTitleStrip(keys.frmKeyMap), folder, "frmKeyMap-td-b.png");
    keys.frmKeyMap.hide();
  }
  // The same with a problem: key 30's level 1 holds a pair the keypad rejects.
  {
    tdxx::test::GuiHarness keys;
    std::string text =
        tdxx::test::ReadWholeFile(std::string(TDXX_EXAMPLES_DIR) + "/td-b-letters.ckd");
    const std::size_t key30 = text.find("Level_1_Codes=34", text.find("[KEY30]"));
    text.insert(key30 + std::string("Level_1_Codes=34").size(), "e5");
    keys.OpenFile(keys.temp.Write("td-b-problem.ckd", text));
    keys.frmKeyMap.ShowForLoadedFile();
    QTest::mouseClick(keys.frmKeyMap.grid(), Qt::LeftButton, {},
                      keys.frmKeyMap.grid()->CapRect(30).center());
    ok &= Save(WithTitleStrip(keys.frmKeyMap), folder, "frmKeyMap-problem.png");
    keys.frmKeyMap.hide();
  }

  // The rear-switch pictures and the program's icon, enlarged.
  {
    using tdxx::RearSwitchKind;
    using tdxx::RearSwitchPosition;
    constexpr int kPictureScale = 4;
    QImage pictures(2 * (90 * kPictureScale + 16) + 16, 2 * (30 * kPictureScale + 16) + 16 + 280,
                    QImage::Format_RGB32);
    pictures.fill(Qt::white);
    QPainter sheetPainter(&pictures);
    int row = 0;
    for (RearSwitchKind kind : {RearSwitchKind::Prg, RearSwitchKind::FlashDrive}) {
      int column = 0;
      for (RearSwitchPosition framed : {RearSwitchPosition::Other, RearSwitchPosition::Keyboard}) {
        sheetPainter.drawPixmap(16 + column * (90 * kPictureScale + 16),
                                16 + row * (30 * kPictureScale + 16),
                                tdxx::DrawRearSwitchPicture(kind, framed, kPictureScale));
        ++column;
      }
      ++row;
    }
    int x = 16;
    for (int size : {256, 64, 32, 16}) {
      sheetPainter.drawPixmap(x, 2 * (30 * kPictureScale + 16) + 16, tdxx::DrawProgramIcon(size));
      x += size + 16;
    }
    sheetPainter.end();
    ok &= Save(pictures, folder, "rear-switch-pictures-and-icon.png");
  }

  constexpr int kScale = 8;
  QImage sheet(tdxx::kToolbarImageCount * (16 * kScale + 8) + 8, 16 * kScale + 16 + 40,
               QImage::Format_RGB32);
  sheet.fill(Qt::white);
  QPainter painter(&sheet);
  for (int i = 0; i < tdxx::kToolbarImageCount; ++i) {
    const int x = 8 + i * (16 * kScale + 8);
    painter.drawPixmap(x, 8, tdxx::DrawToolbarImage(i, kScale));
    painter.drawPixmap(x + 16 * kScale / 2 - 8, 16 * kScale + 16, tdxx::DrawToolbarImage(i, 1));
  }
  painter.end();
  ok &= Save(sheet, folder, "toolbar-images.png");
  return ok ? 0 : 1;
}
