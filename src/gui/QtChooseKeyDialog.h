#pragma once

#include <QDialog>
#include <QString>
#include <optional>
#include <vector>

class QCheckBox;
class QLineEdit;
class QListWidget;

namespace tdxx {

// One key the dialog offers: its name as the key names table has it, and its scan codes in the
// file's form ("e04a"), shown beside the name.
struct ChoosableKey {
  QString name;
  QString codes;
};

// "Choose key...": every named key, also those a PC keyboard may lack (F13-F24, media keys),
// in a list that a filter field narrows, with the modifiers to hold around it. The answer is a
// chord in the form the key names read ("Ctrl+Shift+F13").
class QtChooseKeyDialog final : public QDialog {
  Q_OBJECT
 public:
  QtChooseKeyDialog(const std::vector<ChoosableKey>& keys, QWidget* parent);

  // The chord chosen, or nothing when no key is selected.
  std::optional<QString> chord() const;

  // Shows the dialog modally; the chord, or nothing when cancelled.
  static std::optional<QString> Ask(const std::vector<ChoosableKey>& keys, QWidget* parent);

 private:
  void ApplyFilter(const QString& text);

  QLineEdit* edFilter_ = nullptr;
  QListWidget* lstKeys_ = nullptr;
  std::vector<QCheckBox*> modifiers_;
};

}  // namespace tdxx
