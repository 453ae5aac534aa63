#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <string_view>

#include "protocol/MainWindowPort.h"

class QWidget;

namespace tdxx {

// The open-file dialog, the desktop's own where there is one, kept for the whole run so that
// it remembers the last chosen file: the next showing opens on that file in its folder.
class QtOpenFileDialog {
 public:
  // Shows the dialog modally; the chosen full path, or nothing when the user cancels.
  std::optional<std::string> Choose(QWidget* parent, const OpenFileRequest& request);

  // The last chosen full path, empty before the first choice.
  const QString& lastChosenFile() const { return lastChosenFile_; }

 private:
  QString lastChosenFile_;
};

// The dialog's filter entries from "Name|pattern|Name|pattern..." pairs, each as the toolkit
// wants it: the name, then its patterns in brackets, separated by blanks ("*.*" becomes "*", so
// that names without a dot are listed too). The dialog hides the bracketed patterns, so each
// entry shows its name exactly as given.
QStringList ToQtNameFilters(std::string_view filter);

// Paths between narrow text and the toolkit's file names.
QString PathFromNarrow(std::string_view path);
std::string PathToNarrow(const QString& path);

}  // namespace tdxx
