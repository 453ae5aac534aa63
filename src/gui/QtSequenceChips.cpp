#include "gui/QtSequenceChips.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace tdxx {

namespace {

constexpr int kChipPadding = 6;
constexpr int kChipGap = 4;
constexpr int kChipRadius = 8;
constexpr int kMargin = 3;
constexpr int kPreferredWidth = 300;

struct ChipColours {
  QColor fill;
  QColor edge;
};

ChipColours ColoursOf(SequenceChip::Kind kind) {
  switch (kind) {
    case SequenceChip::Kind::Press:
      return {QColor(0xdc, 0xee, 0xdc), QColor(0x5a, 0x9a, 0x5a)};
    case SequenceChip::Kind::Release:
      return {QColor(0xe8, 0xe8, 0xf2), QColor(0x80, 0x80, 0xa8)};
    case SequenceChip::Kind::Other:
      break;
  }
  return {QColor(0xfb, 0xe9, 0xd0), QColor(0xb0, 0x80, 0x40)};
}

}  // namespace

QtSequenceChips::QtSequenceChips(QWidget* parent) : QWidget(parent) {
  QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
  policy.setHeightForWidth(true);
  setSizePolicy(policy);
}

void QtSequenceChips::SetChips(std::vector<SequenceChip> chips) {
  chips_ = std::move(chips);
  updateGeometry();
  update();
}

void QtSequenceChips::SetEmptyText(const QString& text) {
  emptyText_ = text;
  update();
}

std::vector<QRect> QtSequenceChips::ChipRects(int width) const {
  const QFontMetrics metrics(font());
  const int chipHeight = metrics.height() + 4;
  std::vector<QRect> rects;
  rects.reserve(chips_.size());
  int x = kMargin;
  int y = kMargin;
  for (const SequenceChip& chip : chips_) {
    const int chipWidth = metrics.horizontalAdvance(chip.text) + 2 * kChipPadding;
    if (x > kMargin && x + chipWidth > width - kMargin) {
      x = kMargin;
      y += chipHeight + kChipGap;
    }
    rects.emplace_back(x, y, chipWidth, chipHeight);
    x += chipWidth + kChipGap;
  }
  return rects;
}

int QtSequenceChips::heightForWidth(int width) const {
  const int lineHeight = QFontMetrics(font()).height() + 4;
  if (chips_.empty())
    return lineHeight + 2 * kMargin;
  const std::vector<QRect> rects = ChipRects(width);
  return rects.back().bottom() + 1 + kMargin;
}

QSize QtSequenceChips::sizeHint() const {
  return QSize(kPreferredWidth, heightForWidth(kPreferredWidth));
}

QSize QtSequenceChips::minimumSizeHint() const {
  return QSize(100, QFontMetrics(font()).height() + 4 + 2 * kMargin);
}

void QtSequenceChips::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  if (chips_.empty()) {
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(rect().adjusted(kMargin, kMargin, -kMargin, -kMargin),
                     Qt::AlignLeft | Qt::AlignVCenter, emptyText_);
    return;
  }
  const std::vector<QRect> rects = ChipRects(width());
  for (std::size_t i = 0; i < chips_.size(); ++i) {
    const ChipColours colours = ColoursOf(chips_[i].kind);
    painter.setPen(colours.edge);
    painter.setBrush(colours.fill);
    painter.drawRoundedRect(QRectF(rects[i]).adjusted(0.5, 0.5, -0.5, -0.5), kChipRadius,
                            kChipRadius);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(rects[i], Qt::AlignCenter, chips_[i].text);
  }
}

}  // namespace tdxx
