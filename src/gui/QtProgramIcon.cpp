#include "gui/QtProgramIcon.h"

#include <QPainter>
#include <QPolygonF>

namespace tdxx {

namespace {

// Colours of the toolbar images, so that the icon belongs to the same set.
constexpr QRgb kOutline = 0x3c3c3c;
constexpr QRgb kBody = 0x4a5a6e;
constexpr QRgb kKey = 0xf2f2f2;
constexpr QRgb kKeyLit = 0xef869a;
constexpr QRgb kGreen = 0x2e9e3e;
constexpr QRgb kGreenDark = 0x1d6b28;

// Drawn on a 64 x 64 grid.
void DrawKeypad(QPainter& p) {
  p.setPen(QPen(QColor(kOutline), 2.0));
  p.setBrush(QColor(kBody));
  p.drawRoundedRect(QRectF(5.0, 20.0, 54.0, 40.0), 6.0, 6.0);
  p.setPen(Qt::NoPen);
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 4; ++column) {
      p.setBrush(QColor(row == 0 && column == 3 ? kKeyLit : kKey));
      p.drawRoundedRect(QRectF(11.0 + column * 11.5, 26.0 + row * 10.5, 8.5, 7.5), 1.5, 1.5);
    }
  }
}

void DrawArrow(QPainter& p) {
  p.setPen(QPen(QColor(kGreenDark), 2.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(QColor(kGreen));
  p.drawPolygon(QPolygonF({{25.0, 1.5},
                           {39.0, 1.5},
                           {39.0, 14.0},
                           {48.0, 14.0},
                           {32.0, 30.0},
                           {16.0, 14.0},
                           {25.0, 14.0}}));
}

}  // namespace

QPixmap DrawProgramIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 64.0, size / 64.0);
  DrawKeypad(painter);
  DrawArrow(painter);
  return pixmap;
}

QIcon ProgramIcon() {
  QIcon icon;
  // Every size is drawn at start and sent to the window system with each window; larger ones
  // come from the scalable icon installed with the desktop entry.
  for (int size : {16, 24, 32, 48, 64})
    icon.addPixmap(DrawProgramIcon(size));
  return icon;
}

}  // namespace tdxx
