#include "gui/QtKeyLevelEditor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace tdxx {

namespace {

QString Named(const char* stem, int level) {
  return QString::fromLatin1(stem) + QString::number(level);
}

}  // namespace

QtKeyLevelEditor::QtKeyLevelEditor(int level, QWidget* parent)
    : QGroupBox(QStringLiteral(" Level %1 ").arg(level), parent), level_(level) {
  setObjectName(Named("gboxLevel", level));
  auto* layout = new QVBoxLayout(this);

  auto* settings = new QHBoxLayout;
  auto* modeLabel = new QLabel(QStringLiteral("&Mode:"), this);
  cmbMode_ = new QComboBox(this);
  cmbMode_->setObjectName(Named("cmbMode", level));
  modeLabel->setBuddy(cmbMode_);
  chkAutoRepeat_ = new QCheckBox(QStringLiteral("&Auto-repeat"), this);
  chkAutoRepeat_->setObjectName(Named("chkAutoRepeat", level));
  settings->addWidget(modeLabel);
  settings->addWidget(cmbMode_, 1);
  settings->addSpacing(8);
  settings->addWidget(chkAutoRepeat_);
  layout->addLayout(settings);

  lblSummary_ = new QLabel(this);
  lblSummary_->setObjectName(Named("lblSummary", level));
  lblSummary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  lblSummary_->setWordWrap(true);
  QFont bold = lblSummary_->font();
  bold.setBold(true);
  lblSummary_->setFont(bold);
  layout->addWidget(lblSummary_);

  chips_ = new QtSequenceChips(this);
  chips_->setObjectName(Named("chipsSequence", level));
  chips_->SetEmptyText(QStringLiteral("(no codes)"));
  layout->addWidget(chips_);

  auto* buttons = new QHBoxLayout;
  btnRecord_ = new QPushButton(QStringLiteral("Record"), this);
  btnRecord_->setObjectName(Named("btnRecord", level));
  btnRecord_->setToolTip(
      QStringLiteral("Record keys pressed on this keyboard; click again (Stop) to end"));
  btnTypeText_ = new QPushButton(QStringLiteral("Type text..."), this);
  btnTypeText_->setObjectName(Named("btnTypeText", level));
  btnTypeText_->setToolTip(QStringLiteral("The key types a text, as on a US keyboard layout"));
  btnChooseKey_ = new QPushButton(QStringLiteral("Choose key..."), this);
  btnChooseKey_->setObjectName(Named("btnChooseKey", level));
  btnChooseKey_->setToolTip(QStringLiteral("Choose from every named key, F13-F24 and media keys"));
  btnClear_ = new QPushButton(QStringLiteral("Clear"), this);
  btnClear_->setObjectName(Named("btnClear", level));
  for (QPushButton* button : {btnRecord_, btnTypeText_, btnChooseKey_, btnClear_}) {
    button->setAutoDefault(false);
    buttons->addWidget(button);
  }
  buttons->addStretch(1);
  layout->addLayout(buttons);

  auto* raw = new QFormLayout;
  edCodeText_ = new QLineEdit(this);
  edCodeText_->setObjectName(Named("edCodeText", level));
  edCodeText_->setToolTip(
      QStringLiteral("The level's code text as the file holds it: two hexadecimal digits per "
                     "code, f0 before a release; Enter applies it"));
  QFont mono(QStringLiteral("Courier New"));
  mono.setStyleHint(QFont::Monospace);
  edCodeText_->setFont(mono);
  auto* rawLabel = new QLabel(QStringLiteral("C&ode text:"), this);
  rawLabel->setBuddy(edCodeText_);
  raw->addRow(rawLabel, edCodeText_);
  layout->addLayout(raw);

  lblSent_ = new QLabel(this);
  lblSent_->setObjectName(Named("lblSent", level));
  lblSent_->setWordWrap(true);
  layout->addWidget(lblSent_);
  lblProblems_ = new QLabel(this);
  lblProblems_->setObjectName(Named("lblProblems", level));
  lblProblems_->setWordWrap(true);
  QPalette alarm = lblProblems_->palette();
  alarm.setColor(QPalette::WindowText, QColor(0xb0, 0x20, 0x18));
  lblProblems_->setPalette(alarm);
  layout->addWidget(lblProblems_);
  layout->addStretch(1);

  connect(cmbMode_, &QComboBox::activated, this,
          [this](int index) { emit modeChosen(cmbMode_->itemData(index).toInt()); });
  connect(chkAutoRepeat_, &QCheckBox::toggled, this, [this](bool on) {
    if (!showing_)
      emit autoRepeatChosen(on);
  });
  connect(btnRecord_, &QPushButton::clicked, this, [this] { emit recordClicked(); });
  connect(btnTypeText_, &QPushButton::clicked, this, [this] { emit typeTextClicked(); });
  connect(btnChooseKey_, &QPushButton::clicked, this, [this] { emit chooseKeyClicked(); });
  connect(btnClear_, &QPushButton::clicked, this, [this] { emit clearClicked(); });
  connect(edCodeText_, &QLineEdit::returnPressed, this,
          [this] { emit codeTextEntered(edCodeText_->text()); });
}

void QtKeyLevelEditor::SetModeNames(const QStringList& names) {
  const QSignalBlocker blocker(cmbMode_);
  cmbMode_->clear();
  for (int mode = 0; mode < names.size(); ++mode)
    cmbMode_->addItem(names[mode], mode);
}

void QtKeyLevelEditor::Show(const KeyLevelFace& face) {
  showing_ = true;
  const int index = cmbMode_->findData(face.mode);
  if (index < 0) {
    // A mode outside 0-3 in the file: shown as it is, so that nothing is hidden.
    cmbMode_->addItem(QStringLiteral("%1 (no flags)").arg(face.mode), face.mode);
    cmbMode_->setCurrentIndex(cmbMode_->count() - 1);
  } else {
    cmbMode_->setCurrentIndex(index);
  }
  chkAutoRepeat_->setChecked(face.autoRepeat);
  lblSummary_->setText(face.summary.isEmpty() ? QStringLiteral("(nothing)") : face.summary);
  if (!recording_)
    chips_->SetChips(face.chips);
  edCodeText_->setText(face.codeText);
  lblSent_->setText(face.sent);
  lblProblems_->setText(face.problems);
  lblProblems_->setVisible(!face.problems.isEmpty());
  showing_ = false;
}

void QtKeyLevelEditor::SetRecording(bool recording, const std::vector<SequenceChip>& sofar) {
  recording_ = recording;
  btnRecord_->setText(recording ? QStringLiteral("Stop") : QStringLiteral("Record"));
  for (QWidget* control : std::initializer_list<QWidget*>{cmbMode_, chkAutoRepeat_, btnTypeText_,
                                                          btnChooseKey_, btnClear_, edCodeText_})
    control->setEnabled(!recording);
  if (recording)
    chips_->SetChips(sofar);
}

}  // namespace tdxx
