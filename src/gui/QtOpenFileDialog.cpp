#include "gui/QtOpenFileDialog.h"

#include <QByteArray>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>

#include "gui/QtNarrowText.h"

namespace tdxx {

namespace {

QStringList SplitPairs(std::string_view filter) {
  QStringList parts;
  std::size_t start = 0;
  while (start <= filter.size()) {
    const std::size_t bar = filter.find('|', start);
    const std::size_t end = bar == std::string_view::npos ? filter.size() : bar;
    parts.push_back(DisplayText(filter.substr(start, end - start)));
    if (bar == std::string_view::npos)
      break;
    start = bar + 1;
  }
  return parts;
}

}  // namespace

QStringList ToQtNameFilters(std::string_view filter) {
  QStringList filters;
  if (filter.empty())
    return filters;
  const QStringList parts = SplitPairs(filter);
  for (qsizetype i = 0; i < parts.size(); i += 2) {
    const QString name = parts[i].trimmed();
    QStringList patterns = i + 1 < parts.size()
                               ? parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)
                               : QStringList();
    // "*.*" means every file, also one without a dot in its name; the toolkit's "*.*" would
    // list only names with a dot.
    for (QString& pattern : patterns) {
      if (pattern.trimmed() == QStringLiteral("*.*"))
        pattern = QStringLiteral("*");
    }
    if (patterns.isEmpty())
      patterns.push_back(QStringLiteral("*"));
    filters.push_back(name + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                      QLatin1Char(')'));
  }
  return filters;
}

QString PathFromNarrow(std::string_view path) {
  return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

std::string PathToNarrow(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

std::optional<std::string> QtOpenFileDialog::Choose(QWidget* parent,
                                                    const OpenFileRequest& request) {
  QFileDialog dialog(parent, DisplayText(request.title));
  dialog.setObjectName(QStringLiteral("OpenFileDialog"));
  // The desktop's own dialog (through the XDG portal where there is one, see QtApplication);
  // the offscreen platform of the tests and screenshots has none, and there the toolkit's
  // dialog is used, which a test can drive.
  if (QGuiApplication::platformName() == QStringLiteral("offscreen"))
    dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  // A name typed in the dialog is taken whether or not such a file exists; Open reports a
  // missing file itself.
  dialog.setFileMode(QFileDialog::AnyFile);
  // The entries show their names as given; the patterns that follow them stay hidden.
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  const QStringList filters = ToQtNameFilters(request.filter);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    const qsizetype index = request.filterIndex;
    dialog.selectNameFilter(index >= 1 && index <= filters.size() ? filters[index - 1]
                                                                  : filters.front());
  }
  // No default extension is added here: Open itself takes "keys" as keys.ckd when that file
  // exists, and as typed when not, which the dialog's suffix could not do.
  if (!request.startFolder.empty())
    dialog.setDirectory(PathFromNarrow(request.startFolder));
  // The last chosen file wins over the start folder: the dialog opens on it in its own folder.
  if (!lastChosenFile_.isEmpty())
    dialog.selectFile(lastChosenFile_);

  if (dialog.exec() != QDialog::Accepted)
    return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty())
    return std::nullopt;
  lastChosenFile_ = chosen.front();
  return PathToNarrow(lastChosenFile_);
}

}  // namespace tdxx
