#include "gui/QtRearSwitchPictures.h"

#include <QFont>
#include <QPainter>
#include <QPolygonF>

namespace tdxx {

namespace {

// Colours of the toolbar images, so that all the program's pictures look like one set.
constexpr QRgb kOutline = 0x3c3c3c;
constexpr QRgb kPanel = 0x4a5a6e;
constexpr QRgb kPanelEdge = 0x2c3644;
constexpr QRgb kSymbol = 0xf2f2f2;
constexpr QRgb kMetal = 0xc8ccd2;
constexpr QRgb kRed = 0xd8201a;

// The three places across the 90 x 30 picture: left symbol, switch, right symbol.
const QRectF kLeftPlace(4.0, 4.0, 28.0, 22.0);
const QRectF kSwitchPlace(35.0, 10.0, 20.0, 10.0);
const QRectF kRightPlace(58.0, 4.0, 28.0, 22.0);

void DrawPanel(QPainter& p) {
  p.setPen(QPen(QColor(kPanelEdge), 1.0));
  p.setBrush(QColor(kPanel));
  p.drawRoundedRect(QRectF(0.5, 0.5, 89.0, 29.0), 3.0, 3.0);
}

void DrawKeyboard(QPainter& p, const QRectF& place) {
  // A keyboard seen from above: a body with two rows of keys and a space bar.
  const QRectF body(place.left() + 2.0, place.top() + 5.0, place.width() - 4.0, 12.0);
  p.setPen(QPen(QColor(kSymbol), 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(body, 1.5, 1.5);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(kSymbol));
  for (int row = 0; row < 2; ++row) {
    for (int key = 0; key < 6; ++key) {
      p.drawRect(QRectF(body.left() + 2.0 + key * 3.8, body.top() + 2.0 + row * 3.0, 2.4, 2.0));
    }
  }
  p.drawRect(QRectF(body.left() + 6.0, body.top() + 8.5, body.width() - 12.0, 1.8));
}

void DrawPrgLetters(QPainter& p, const QRectF& place) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(11);
  font.setBold(true);
  p.setFont(font);
  p.setPen(QColor(kSymbol));
  p.drawText(place, Qt::AlignCenter, QStringLiteral("PRG"));
}

void DrawFlashDrive(QPainter& p, const QRectF& place) {
  // A flash drive lying on its side: a body with a ring for a strap, and a USB plug to the right.
  const qreal mid = place.center().y();
  p.setPen(QPen(QColor(kSymbol), 1.0));
  p.setBrush(QColor(kSymbol));
  p.drawRoundedRect(QRectF(place.left() + 4.0, mid - 4.5, 13.0, 9.0), 2.0, 2.0);
  p.setBrush(QColor(kMetal));
  p.drawRect(QRectF(place.left() + 17.0, mid - 3.0, 7.0, 6.0));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(kPanel));
  p.drawRect(QRectF(place.left() + 19.0, mid - 1.8, 1.6, 1.4));
  p.drawRect(QRectF(place.left() + 21.5, mid - 1.8, 1.6, 1.4));
  p.drawEllipse(QPointF(place.left() + 7.0, mid), 1.2, 1.2);
}

void DrawSwitch(QPainter& p, RearSwitchPosition position) {
  // The slot, and the knob at the framed end.
  p.setPen(QPen(QColor(kOutline), 1.0));
  p.setBrush(QColor(0x1e, 0x24, 0x2c));
  p.drawRoundedRect(kSwitchPlace, 2.0, 2.0);
  const qreal knobWidth = 9.0;
  const qreal left = position == RearSwitchPosition::Keyboard
                         ? kSwitchPlace.left() + 1.0
                         : kSwitchPlace.right() - 1.0 - knobWidth;
  p.setBrush(QColor(kMetal));
  p.drawRoundedRect(QRectF(left, kSwitchPlace.top() + 1.0, knobWidth, kSwitchPlace.height() - 2.0),
                    1.5, 1.5);
}

void DrawRedFrame(QPainter& p, const QRectF& place) {
  p.setPen(QPen(QColor(kRed), 2.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(Qt::NoBrush);
  p.drawRect(place);
}

}  // namespace

QPixmap DrawRearSwitchPicture(RearSwitchKind kind, RearSwitchPosition framed, int scale) {
  QPixmap pixmap(kRearSwitchPictureSize * scale);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.scale(scale, scale);
  DrawPanel(painter);
  DrawKeyboard(painter, kLeftPlace);
  if (kind == RearSwitchKind::Prg)
    DrawPrgLetters(painter, kRightPlace);
  else
    DrawFlashDrive(painter, kRightPlace);
  DrawSwitch(painter, framed);
  DrawRedFrame(painter, framed == RearSwitchPosition::Keyboard ? kLeftPlace : kRightPlace);
  return pixmap;
}

}  // namespace tdxx
