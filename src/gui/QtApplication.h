#pragma once

#include <QApplication>
#include <QString>

class QWidget;

namespace tdxx {

// The windowing toolkit's application object. It names the program (the title of the standard
// error box), maps the window fonts the system may lack onto installed families, and shows an
// error that escapes an event handler in the standard error box, after which the program goes on.
class QtApplication final : public QApplication {
  Q_OBJECT
 public:
  // Takes the toolkit's own options out of argc and argv.
  QtApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;
};

inline constexpr const char* kApplicationName = "TDxxLoad";

// The standard error box: the error's text, the application name as title, the critical icon.
void ShowStandardErrorBox(QWidget* parent, const QString& text);

// Maps "MS Sans Serif" and "Tahoma" onto sans-serif families and "Courier New" onto monospace
// ones, so the windows keep their look where those fonts are not installed.
void InstallFontSubstitutions();

}  // namespace tdxx
