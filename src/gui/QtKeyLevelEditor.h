#pragma once

#include <QGroupBox>
#include <QString>
#include <QStringList>
#include <vector>

#include "gui/QtSequenceChips.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tdxx {

// What the editor shows of one level of the selected key.
struct KeyLevelFace {
  int mode = 0;
  bool autoRepeat = false;
  QString summary;
  std::vector<SequenceChip> chips;
  QString codeText;
  // What the keypad receives ("3 codes sent, room for 223"), and the level's problems.
  QString sent;
  QString problems;
};

// The editing panel of one level of a key: its mode, auto-repeat, the summary, the sequence as
// chips, the buttons that change the sequence (Record, Type text..., Choose key..., Clear) and
// a raw code-text field for those who know the file's format. It decides nothing: each control
// reports what the user asked, and the window hands that to its controller.
class QtKeyLevelEditor final : public QGroupBox {
  Q_OBJECT
 public:
  // `level` is 1 or 2; it names the child widgets ("cmbMode1", "btnRecord2", ...).
  QtKeyLevelEditor(int level, QWidget* parent);

  // The mode choices, mode 0 first ("0: ...", with the flag bits each sets).
  void SetModeNames(const QStringList& names);
  void Show(const KeyLevelFace& face);
  // While recording, Record reads "Stop", the chips show what was taken so far and every other
  // control is disabled.
  void SetRecording(bool recording, const std::vector<SequenceChip>& sofar = {});
  bool recording() const { return recording_; }

  int level() const { return level_; }
  QPushButton* recordButton() const { return btnRecord_; }

 signals:
  void modeChosen(int mode);
  void autoRepeatChosen(bool on);
  void recordClicked();
  void typeTextClicked();
  void chooseKeyClicked();
  void clearClicked();
  void codeTextEntered(const QString& text);

 private:
  int level_;
  bool recording_ = false;
  bool showing_ = false;
  QComboBox* cmbMode_ = nullptr;
  QCheckBox* chkAutoRepeat_ = nullptr;
  QLabel* lblSummary_ = nullptr;
  QtSequenceChips* chips_ = nullptr;
  QPushButton* btnRecord_ = nullptr;
  QPushButton* btnTypeText_ = nullptr;
  QPushButton* btnChooseKey_ = nullptr;
  QPushButton* btnClear_ = nullptr;
  QLineEdit* edCodeText_ = nullptr;
  QLabel* lblSent_ = nullptr;
  QLabel* lblProblems_ = nullptr;
};

}  // namespace tdxx
