#include "gui/QtToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace tdxx {

namespace {

// Shared palette, so the images look like one set.
constexpr QRgb kOutline = 0x3c3c3c;
constexpr QRgb kFolderBack = 0xd9a41e;
constexpr QRgb kFolderFront = 0xf7cf55;
constexpr QRgb kBlue = 0x256bc9;
constexpr QRgb kGreen = 0x2e9e3e;
constexpr QRgb kGreenDark = 0x1d6b28;
constexpr QRgb kRed = 0xc8322c;
constexpr QRgb kMetal = 0xc8ccd2;
constexpr QRgb kSlate = 0x4a5a6e;
constexpr QRgb kPink = 0xef869a;
constexpr QRgb kWood = 0x9a6230;

QPen Outline(qreal width = 1.0) {
  return QPen(QColor(kOutline), width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
}

void DrawOpenFolder(QPainter& p) {
  // Back of the folder with its tab, then the open front flap leaning forward.
  p.setPen(Outline());
  p.setBrush(QColor(kFolderBack));
  p.drawPolygon(
      QPolygonF({{1.5, 2.5}, {6.0, 2.5}, {7.5, 4.0}, {13.5, 4.0}, {13.5, 13.5}, {1.5, 13.5}}));
  p.setBrush(QColor(kFolderFront));
  p.drawPolygon(QPolygonF({{4.0, 7.0}, {15.5, 7.0}, {13.0, 13.5}, {1.5, 13.5}}));
}

void DrawPlug(QPainter& p) {
  // A cable from the lower left into a plug body whose two pins point up and to the right.
  p.translate(8.0, 8.0);
  p.rotate(-45.0);
  p.setPen(QPen(QColor(kOutline), 2.0, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(-8.0, 0.0), QPointF(-3.0, 0.0));
  p.setPen(Outline());
  p.setBrush(QColor(kMetal));
  p.drawRect(QRectF(2.5, -3.0, 4.0, 1.6));
  p.drawRect(QRectF(2.5, 1.4, 4.0, 1.6));
  p.setBrush(QColor(kSlate));
  p.drawRoundedRect(QRectF(-3.5, -4.0, 6.0, 8.0), 1.5, 1.5);
}

void DrawDownload(QPainter& p) {
  // A tray, and a green arrow pointing down into it.
  p.setPen(QPen(QColor(kOutline), 1.5, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF({{1.5, 10.5}, {1.5, 14.5}, {14.5, 14.5}, {14.5, 10.5}}));
  p.setPen(QPen(QColor(kGreenDark), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(QColor(kGreen));
  p.drawPolygon(QPolygonF(
      {{6.0, 0.5}, {10.0, 0.5}, {10.0, 6.0}, {13.5, 6.0}, {8.0, 12.0}, {2.5, 6.0}, {6.0, 6.0}}));
}

void DrawOptionList(QPainter& p) {
  // Three list rows, each a small box and a line of text; the first box is ticked.
  for (int row = 0; row < 3; ++row) {
    const qreal y = 1.5 + row * 5.0;
    p.setPen(Outline());
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, y, 3.0, 3.0));
    p.setPen(QPen(QColor(kSlate), 2.0, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(7.0, y + 1.5), QPointF(15.0, y + 1.5));
  }
  p.setPen(QPen(QColor(kBlue), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF({{1.0, 2.5}, {3.0, 4.8}, {6.0, 0.5}}));
}

void DrawCircularArrow(QPainter& p) {
  // Three quarters of a circle, clockwise from the top round to the left, where an arrow head
  // points up into the open quarter.
  const QRectF circle(2.5, 2.5, 11.0, 11.0);
  p.setPen(QPen(QColor(kBlue), 2.2, Qt::SolidLine, Qt::FlatCap));
  p.setBrush(Qt::NoBrush);
  p.drawArc(circle, 90 * 16, -270 * 16);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(kBlue));
  p.drawPolygon(QPolygonF({{-0.2, 8.8}, {5.2, 8.8}, {2.5, 4.0}}));
}

void DrawEraser(QPainter& p) {
  // A slanted eraser, rubber end down-left, over the line it has wiped.
  p.setPen(QPen(QColor(kMetal).darker(130), 1.0));
  p.drawLine(QPointF(1.0, 15.0), QPointF(15.0, 15.0));
  p.translate(8.5, 7.5);
  p.rotate(-45.0);
  p.setPen(Outline());
  p.setBrush(QColor(kPink));
  p.drawRect(QRectF(-7.0, -3.0, 6.0, 6.0));
  p.setBrush(QColor(kBlue));
  p.drawRect(QRectF(-1.0, -3.0, 8.0, 6.0));
}

void DrawExitDoor(QPainter& p) {
  // A door in its frame, and a red arrow leaving through it to the right.
  p.setPen(Outline());
  p.setBrush(QColor(0xe6, 0xe6, 0xe6));
  p.drawRect(QRectF(1.5, 0.5, 8.0, 15.0));
  p.setBrush(QColor(kWood));
  p.drawPolygon(QPolygonF({{1.5, 0.5}, {6.5, 2.5}, {6.5, 15.5}, {1.5, 15.5}}));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(kOutline));
  p.drawEllipse(QPointF(5.2, 8.5), 0.8, 0.8);
  p.setPen(QPen(QColor(kRed).darker(140), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(QColor(kRed));
  p.drawPolygon(QPolygonF({{8.0, 7.0},
                           {11.5, 7.0},
                           {11.5, 4.5},
                           {15.5, 8.5},
                           {11.5, 12.5},
                           {11.5, 10.0},
                           {8.0, 10.0}}));
}

}  // namespace

QPixmap DrawToolbarImage(int index, int scale) {
  QPixmap pixmap(kToolbarImageSize * scale, kToolbarImageSize * scale);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(scale, scale);
  switch (index) {
    case 0:
      DrawOpenFolder(painter);
      break;
    case 1:
      DrawPlug(painter);
      break;
    case 2:
      DrawDownload(painter);
      break;
    case 3:
      DrawOptionList(painter);
      break;
    case 4:
      DrawCircularArrow(painter);
      break;
    case 5:
      DrawEraser(painter);
      break;
    case 6:
      DrawExitDoor(painter);
      break;
    default:
      break;
  }
  return pixmap;
}

QIcon ToolbarIcon(int index) {
  QIcon icon(DrawToolbarImage(index, 1));
  QPixmap doubled = DrawToolbarImage(index, 2);
  doubled.setDevicePixelRatio(2.0);
  icon.addPixmap(doubled);
  return icon;
}

}  // namespace tdxx
