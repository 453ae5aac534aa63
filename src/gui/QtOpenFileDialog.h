#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <string_view>

#include "protocol/MainWindowPort.h"

class QWidget;

namespace tdxx {

// The toolkit's own (non-native) open-file dialog, kept for the whole run so that it remembers
// the last chosen file: the next showing opens on that file in its folder.
class QtOpenFileDialog {
 public:
  // Shows the dialog modally; the chosen full path, or nothing when the user cancels.
  std::optional<std::string> Choose(QWidget* parent, const OpenFileRequest& request);

  // The last chosen full path, empty before the first choice.
  const QString& lastChosenFile() const { return lastChosenFile_; }

 private:
  QString lastChosenFile_;
};

// The dialog's filter entries from "Name|pattern|Name|pattern..." pairs. A name that already ends
// with its patterns in brackets is kept as it is, otherwise they are appended in brackets;
// patterns separated by ';' are listed with blanks, as the toolkit wants them.
QStringList ToQtNameFilters(std::string_view filter);

// The default extension without wildcard and dot: "*.ckd" and ".ckd" both give "ckd".
QString ToQtDefaultSuffix(std::string_view extension);

// Paths between narrow text and the toolkit's file names.
QString PathFromNarrow(std::string_view path);
std::string PathToNarrow(const QString& path);

}  // namespace tdxx
