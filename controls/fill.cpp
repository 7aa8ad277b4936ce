#include "controls/fill.h"

CtlFill::CtlFill(QWidget* parent) : QWidget(parent) {
  bevel_.OnChange = [this](CtlObject*) { update(); };
  fill_.OnChange = [this](CtlObject*) {
    setAttribute(Qt::WA_OpaquePaintEvent, !fill_.IsTransparent());
    update();
  };
}

void CtlFill::SetColor(CtlColor c) {
  if (c == color_) return;
  color_ = c;
  update();
}

void CtlFill::paintEvent(QPaintEvent*) {
  QPainter p(this);
  CtlPreparePainter(p);
  const QRect inner = bevel_.PaintBevel(p, rect(), false);
  fill_.FillCanvas(p, inner, color_);
}
