#pragma once

#include <QString>
#include <QWidget>
#include <vector>

namespace tdxx {

// One event of a level's sequence as a chip: "↓LCtrl", "↑C", or a code that has no name.
struct SequenceChip {
  enum class Kind { Press, Release, Other };
  Kind kind = Kind::Other;
  QString text;
};

// A level's code sequence as a row of chips that wraps at the widget's width: presses and
// releases in two colours, so that a chord reads at a glance. Shows a grey note when empty.
class QtSequenceChips final : public QWidget {
  Q_OBJECT
 public:
  explicit QtSequenceChips(QWidget* parent = nullptr);

  void SetChips(std::vector<SequenceChip> chips);
  const std::vector<SequenceChip>& chips() const { return chips_; }
  // The text shown when there are no chips.
  void SetEmptyText(const QString& text);

  // Where each chip is painted at the given width, in order.
  std::vector<QRect> ChipRects(int width) const;

  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<SequenceChip> chips_;
  QString emptyText_;
};

}  // namespace tdxx
