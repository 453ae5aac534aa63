#pragma once

#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QStringList>
#include <string>

namespace tdxx::test {

// What the open-file dialog shows of its filter entries, and what its file list applies.
inline QComboBox* FilterBox(const QFileDialog& dialog) {
  return dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
}

inline QStringList ShownFilters(const QFileDialog& dialog) {
  QStringList shown;
  const QComboBox* box = FilterBox(dialog);
  for (int i = 0; box != nullptr && i < box->count(); ++i)
    shown.push_back(box->itemText(i));
  return shown;
}

inline std::string ShownFilter(const QFileDialog& dialog) {
  const QComboBox* box = FilterBox(dialog);
  return box != nullptr ? box->currentText().toStdString() : std::string("(no filter box)");
}

inline QStringList ListedPatterns(const QFileDialog& dialog) {
  const auto* model = dialog.findChild<QFileSystemModel*>();
  return model != nullptr ? model->nameFilters() : QStringList(QStringLiteral("(no model)"));
}

}  // namespace tdxx::test
