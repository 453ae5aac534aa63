#pragma once

#include <QString>
#include <QWidget>
#include <vector>

namespace tdxx {

// What one key cap shows: its key number, what level 1 and (smaller, below it) level 2 do, and
// whether a problem lies on the key.
struct KeyCapFace {
  int number = 0;
  QString level1;
  QString level2;
  bool problem = false;
  // A level whose text the keypad will not get at all: painted struck out.
  bool level1Dropped = false;
  bool level2Dropped = false;
  // Shown as the cap's tool tip: the problems' texts, or the summaries in full.
  QString detail;
};

// The keys of a key-definition file as caps in a grid, in key-number order (the keypads'
// physical arrangement is not known, so each cap carries its number). A click or the arrow keys
// select a cap; the window then opens that key for editing.
class QtKeyCapGrid final : public QWidget {
  Q_OBJECT
 public:
  explicit QtKeyCapGrid(QWidget* parent = nullptr);

  // Replaces all caps; the selection stays on the same index when it still exists.
  void SetCaps(std::vector<KeyCapFace> caps);
  const std::vector<KeyCapFace>& caps() const { return caps_; }

  // -1 for none.
  int selectedIndex() const { return selected_; }
  // Selects without emitting keySelected.
  void SetSelectedIndex(int index);

  int columns() const { return columns_; }
  // Where cap `index` is painted, in widget coordinates.
  QRect CapRect(int index) const;
  // The cap under `point`, or -1.
  int CapAt(QPoint point) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

  // Caps are this big; the grid's size follows from them.
  static constexpr int kCapWidth = 64;
  static constexpr int kCapHeight = 52;
  static constexpr int kGap = 4;

 signals:
  void keySelected(int index);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void Choose(int index);

  std::vector<KeyCapFace> caps_;
  int columns_ = 12;
  int selected_ = -1;
};

// Columns of the grid for `count` keys: the largest number from 6 to 12 that fills every row
// (12 for 24 and 48 keys, 11 for 66), else 12.
int KeyCapColumns(int count);

}  // namespace tdxx
