#include "gui/QtApplication.h"

#include <QFont>
#include <QMessageBox>
#include <QStringList>
#include <exception>

#include "gui/QtNarrowText.h"
#include "gui/QtProgramIcon.h"

namespace tdxx {

QtApplication::QtApplication(int& argc, char** argv) : QApplication(argc, argv) {
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
