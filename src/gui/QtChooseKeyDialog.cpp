#include "gui/QtChooseKeyDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace tdxx {

namespace {

// The modifiers a chord may hold, in the order a chord names them.
constexpr const char* kModifiers[] = {"Ctrl", "Shift", "Alt", "Win"};

}  // namespace

QtChooseKeyDialog::QtChooseKeyDialog(const std::vector<ChoosableKey>& keys, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("dlgChooseKey"));
  setWindowTitle(QStringLiteral("Choose Key"));
  auto* layout = new QVBoxLayout(this);

  edFilter_ = new QLineEdit(this);
  edFilter_->setObjectName(QStringLiteral("edFilter"));
  edFilter_->setPlaceholderText(QStringLiteral("Filter: a name or a code"));
  edFilter_->setClearButtonEnabled(true);
  layout->addWidget(edFilter_);

  lstKeys_ = new QListWidget(this);
  lstKeys_->setObjectName(QStringLiteral("lstKeys"));
  for (const ChoosableKey& key : keys) {
    auto* item = new QListWidgetItem(key.name + QStringLiteral("    ") + key.codes, lstKeys_);
    item->setData(Qt::UserRole, key.name);
  }
  lstKeys_->setMinimumSize(280, 320);
  layout->addWidget(lstKeys_, 1);

  auto* held = new QHBoxLayout;
  held->addWidget(new QLabel(QStringLiteral("Hold:"), this));
  for (const char* name : kModifiers) {
    auto* box = new QCheckBox(QString::fromLatin1(name), this);
    box->setObjectName(QStringLiteral("chk") + QString::fromLatin1(name));
    modifiers_.push_back(box);
    held->addWidget(box);
  }
  held->addStretch(1);
  layout->addLayout(held);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  layout->addWidget(buttons);
  QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
  ok->setEnabled(false);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(lstKeys_, &QListWidget::currentItemChanged, this,
          [ok](QListWidgetItem* current) { ok->setEnabled(current != nullptr); });
  connect(lstKeys_, &QListWidget::itemActivated, this, [this] { accept(); });
  connect(edFilter_, &QLineEdit::textChanged, this, &QtChooseKeyDialog::ApplyFilter);
}

void QtChooseKeyDialog::ApplyFilter(const QString& text) {
  const QString wanted = text.trimmed();
  QListWidgetItem* firstShown = nullptr;
  for (int i = 0; i < lstKeys_->count(); ++i) {
    QListWidgetItem* item = lstKeys_->item(i);
    const bool shown = wanted.isEmpty() || item->text().contains(wanted, Qt::CaseInsensitive);
    item->setHidden(!shown);
    if (shown && firstShown == nullptr)
      firstShown = item;
  }
  QListWidgetItem* current = lstKeys_->currentItem();
  if (current == nullptr || current->isHidden())
    lstKeys_->setCurrentItem(firstShown);
}

std::optional<QString> QtChooseKeyDialog::chord() const {
  const QListWidgetItem* current = lstKeys_->currentItem();
  if (current == nullptr || current->isHidden())
    return std::nullopt;
  QString chord;
  for (std::size_t i = 0; i < modifiers_.size(); ++i) {
    if (modifiers_[i]->isChecked())
      chord += QString::fromLatin1(kModifiers[i]) + QLatin1Char('+');
  }
  return chord + current->data(Qt::UserRole).toString();
}

std::optional<QString> QtChooseKeyDialog::Ask(const std::vector<ChoosableKey>& keys,
                                              QWidget* parent) {
  QtChooseKeyDialog dialog(keys, parent);
  if (dialog.exec() != QDialog::Accepted)
    return std::nullopt;
  return dialog.chord();
}

}  // namespace tdxx
