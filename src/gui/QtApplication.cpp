#include "gui/QtApplication.h"

#include <QByteArray>
#include <QFont>
#include <QMessageBox>
#include <QStringList>
#include <exception>

#include "gui/QtNarrowText.h"
#include "gui/QtProgramIcon.h"

namespace tdxx {

namespace {

// File dialogs come from the desktop through the XDG desktop portal where there is one (the
// theme falls back to the desktop's own when there is none). Plasma's own theme already shows
// its dialog, a theme the user chose is kept, and the offscreen platform of the tests has no
// desktop to ask. The toolkit reads the variable at its start.
int& PreferPortalDialogs(int& argc) {
  const QByteArray desktop = qgetenv("XDG_CURRENT_DESKTOP").toUpper();
  const bool offscreen = qgetenv("QT_QPA_PLATFORM") == "offscreen";
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORMTHEME") && !desktop.contains("KDE") && !offscreen)
    qputenv("QT_QPA_PLATFORMTHEME", "xdgdesktopportal");
  return argc;
}

}  // namespace

QtApplication::QtApplication(int& argc, char** argv)
    : QApplication(PreferPortalDialogs(argc), argv) {
  setApplicationName(QString::fromLatin1(kApplicationName));
  // The desktop matches the windows to the installed tdxxload.desktop entry (task bar grouping,
  // its icon); the windows carry the program's icon themselves as well.
  setDesktopFileName(QStringLiteral("tdxxload"));
  setWindowIcon(ProgramIcon());
  InstallFontSubstitutions();
}

bool QtApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    ShowStandardErrorBox(activeWindow(), DisplayText(error.what()));
  } catch (...) {
    ShowStandardErrorBox(activeWindow(), QStringLiteral("Unknown error."));
  }
  return false;
}

void ShowStandardErrorBox(QWidget* parent, const QString& text) {
  QMessageBox::critical(parent, QString::fromLatin1(kApplicationName), text);
}

void InstallFontSubstitutions() {
  const QStringList sans{QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"),
                         QStringLiteral("Noto Sans"), QStringLiteral("Sans Serif")};
  const QStringList mono{QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Liberation Mono"),
                         QStringLiteral("Noto Sans Mono"), QStringLiteral("Monospace")};
  QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), sans);
  QFont::insertSubstitutions(QStringLiteral("Tahoma"), sans);
  QFont::insertSubstitutions(QStringLiteral("Courier New"), mono);
}

}  // namespace tdxx
