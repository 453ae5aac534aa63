#pragma once

#include <QWidget>

class QHBoxLayout;

namespace tdxx {

// A row of tool buttons drawn as the style draws a tool bar, without QToolBar itself: a fixed
// window's tool bar needs none of its docking and overflow machinery, and its overflow button
// alone makes the style load its icon files and the image-format plugins at start.
class QtToolStrip final : public QWidget {
 public:
  explicit QtToolStrip(QWidget* parent);

  // Appends `widget` at the right end, centred in the strip's height.
  void addWidget(QWidget* widget);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QHBoxLayout* row_ = nullptr;
};

}  // namespace tdxx
