#include "gui/QtToolStrip.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionToolBar>

namespace tdxx {

QtToolStrip::QtToolStrip(QWidget* parent) : QWidget(parent), row_(new QHBoxLayout(this)) {
  // The margins and the spacing a tool bar of the style has.
  const int margin = style()->pixelMetric(QStyle::PM_ToolBarItemMargin, nullptr, this) +
                     style()->pixelMetric(QStyle::PM_ToolBarFrameWidth, nullptr, this);
  row_->setContentsMargins(margin, margin, margin, margin);
  row_->setSpacing(style()->pixelMetric(QStyle::PM_ToolBarItemSpacing, nullptr, this));
  row_->addStretch();
}

void QtToolStrip::addWidget(QWidget* widget) {
  // Before the stretch that keeps the row at the left.
  row_->insertWidget(row_->count() - 1, widget, 0, Qt::AlignVCenter);
}

void QtToolStrip::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QStyleOptionToolBar option;
  option.initFrom(this);
  option.state |= QStyle::State_Horizontal;
  option.lineWidth = style()->pixelMetric(QStyle::PM_ToolBarFrameWidth, nullptr, this);
  option.features = QStyleOptionToolBar::None;
  option.toolBarArea = Qt::NoToolBarArea;
  style()->drawControl(QStyle::CE_ToolBar, &option, &painter, this);
}

}  // namespace tdxx
