#include "gui/QtKeyCapGrid.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <algorithm>

namespace tdxx {

namespace {

constexpr int kRadius = 5;
constexpr int kPadding = 4;
const QColor kCapFill(0xfa, 0xfa, 0xf7);
const QColor kCapEdge(0x9a, 0x9a, 0x9a);
const QColor kSelectedFill(0xd8, 0xe6, 0xfb);
const QColor kSelectedEdge(0x2f, 0x6f, 0xd0);
const QColor kNumberInk(0x70, 0x70, 0x70);
const QColor kLevel2Ink(0x4a, 0x4a, 0x80);
const QColor kProblemFill(0xd9, 0x30, 0x25);
const QColor kDroppedInk(0x90, 0x90, 0x90);

// A red corner triangle with a white '!' in the cap's top-right corner.
void PaintProblemMark(QPainter& painter, const QRect& cap) {
  constexpr int kSize = 15;
  const QPoint corner = cap.topRight() + QPoint(-1, 1);
  QPainterPath path;
  path.moveTo(corner);
  path.lineTo(corner + QPoint(-kSize, 0));
  path.lineTo(corner + QPoint(0, kSize));
  path.closeSubpath();
  painter.fillPath(path, kProblemFill);
  QFont font = painter.font();
  font.setBold(true);
  font.setPointSizeF(font.pointSizeF() * 0.8);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRect(corner.x() - kSize / 2 - 1, corner.y(), kSize / 2 + 1, kSize / 2 + 2),
                   Qt::AlignCenter, QStringLiteral("!"));
}

}  // namespace

int KeyCapColumns(int count) {
  for (int columns = 12; columns >= 6; --columns) {
    if (count > 0 && count % columns == 0)
      return columns;
  }
  return 12;
}

QtKeyCapGrid::QtKeyCapGrid(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void QtKeyCapGrid::SetCaps(std::vector<KeyCapFace> caps) {
  caps_ = std::move(caps);
  columns_ = KeyCapColumns(static_cast<int>(caps_.size()));
  if (selected_ >= static_cast<int>(caps_.size()))
    selected_ = -1;
  updateGeometry();
  update();
}

void QtKeyCapGrid::SetSelectedIndex(int index) {
  selected_ = index >= 0 && index < static_cast<int>(caps_.size()) ? index : -1;
  update();
}

QRect QtKeyCapGrid::CapRect(int index) const {
  const int row = index / columns_;
  const int column = index % columns_;
  return QRect(kGap + column * (kCapWidth + kGap), kGap + row * (kCapHeight + kGap), kCapWidth,
               kCapHeight);
}

int QtKeyCapGrid::CapAt(QPoint point) const {
  for (int i = 0; i < static_cast<int>(caps_.size()); ++i) {
    if (CapRect(i).contains(point))
      return i;
  }
  return -1;
}

QSize QtKeyCapGrid::sizeHint() const {
  const int count = std::max(1, static_cast<int>(caps_.size()));
  const int rows = (count + columns_ - 1) / columns_;
  return QSize(kGap + columns_ * (kCapWidth + kGap), kGap + rows * (kCapHeight + kGap));
}

void QtKeyCapGrid::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QFont base = font();
  QFont numberFont = base;
  numberFont.setPointSizeF(base.pointSizeF() * 0.8);
  QFont level1Font = base;
  level1Font.setBold(true);
  QFont level2Font = base;
  level2Font.setPointSizeF(base.pointSizeF() * 0.85);

  for (int i = 0; i < static_cast<int>(caps_.size()); ++i) {
    const KeyCapFace& cap = caps_[i];
    const QRect box = CapRect(i);
    const bool selected = i == selected_;
    painter.setPen(QPen(selected ? kSelectedEdge : kCapEdge, selected ? 2 : 1));
    painter.setBrush(selected ? kSelectedFill : kCapFill);
    painter.drawRoundedRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5), kRadius, kRadius);

    const QRect inner = box.adjusted(kPadding, 2, -kPadding, -2);
    painter.setFont(numberFont);
    painter.setPen(kNumberInk);
    const int numberHeight = QFontMetrics(numberFont).height();
    painter.drawText(QRect(inner.left(), inner.top(), inner.width(), numberHeight),
                     Qt::AlignLeft | Qt::AlignTop, QString::number(cap.number));

    QFont level1Shown = level1Font;
    level1Shown.setStrikeOut(cap.level1Dropped);
    painter.setFont(level1Shown);
    painter.setPen(cap.level1Dropped ? kDroppedInk : palette().color(QPalette::Text));
    const QFontMetrics level1Metrics(level1Font);
    const int level1Top = inner.top() + numberHeight;
    painter.drawText(QRect(inner.left(), level1Top, inner.width(), level1Metrics.height()),
                     Qt::AlignHCenter | Qt::AlignVCenter,
                     level1Metrics.elidedText(cap.level1, Qt::ElideRight, inner.width()));

    QFont level2Shown = level2Font;
    level2Shown.setStrikeOut(cap.level2Dropped);
    painter.setFont(level2Shown);
    painter.setPen(cap.level2Dropped ? kDroppedInk : kLevel2Ink);
    const QFontMetrics level2Metrics(level2Font);
    painter.drawText(QRect(inner.left(), inner.bottom() - level2Metrics.height() + 1, inner.width(),
                           level2Metrics.height()),
                     Qt::AlignHCenter | Qt::AlignVCenter,
                     level2Metrics.elidedText(cap.level2, Qt::ElideRight, inner.width()));

    if (cap.problem)
      PaintProblemMark(painter, box);
  }
  if (hasFocus() && selected_ >= 0) {
    painter.setPen(QPen(kSelectedEdge, 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(CapRect(selected_).adjusted(-2, -2, 2, 2), kRadius + 1, kRadius + 1);
  }
}

void QtKeyCapGrid::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  const int index = CapAt(event->position().toPoint());
  if (index >= 0)
    Choose(index);
}

void QtKeyCapGrid::keyPressEvent(QKeyEvent* event) {
  const int count = static_cast<int>(caps_.size());
  if (count == 0) {
    QWidget::keyPressEvent(event);
    return;
  }
  const int from = selected_ < 0 ? 0 : selected_;
  int to = from;
  switch (event->key()) {
    case Qt::Key_Left:
      to = from - 1;
      break;
    case Qt::Key_Right:
      to = from + 1;
      break;
    case Qt::Key_Up:
      to = from - columns_;
      break;
    case Qt::Key_Down:
      to = from + columns_;
      break;
    case Qt::Key_Home:
      to = 0;
      break;
    case Qt::Key_End:
      to = count - 1;
      break;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
  if (selected_ < 0)
    to = 0;
  if (to >= 0 && to < count)
    Choose(to);
}

bool QtKeyCapGrid::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    const int index = CapAt(help->pos());
    if (index >= 0 && !caps_[index].detail.isEmpty())
      QToolTip::showText(help->globalPos(), caps_[index].detail, this, CapRect(index));
    else
      QToolTip::hideText();
    return true;
  }
  return QWidget::event(event);
}

void QtKeyCapGrid::Choose(int index) {
  const bool changed = index != selected_;
  selected_ = index;
  update();
  if (changed)
    emit keySelected(index);
}

}  // namespace tdxx
