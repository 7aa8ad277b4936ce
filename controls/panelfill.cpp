#include "controls/panelfill.h"

CtlPanelFill::CtlPanelFill(QWidget* parent) : QWidget(parent) {
  bevel_.OnChange = [this](CtlObject*) { update(); };
  fill_.OnChange = [this](CtlObject*) { update(); };
}

void CtlPanelFill::SetColor(CtlColor c) {
  if (c == color_) return;
  color_ = c;
  update();
}

void CtlPanelFill::SetImageList(const CtlCustomImageList* list, int list_index, int image_index) {
  if (list && list->IsValidImage(list_index, image_index)) fill_.SetListBitmap(list->GetImage(list_index, image_index));
  else fill_.SetListBitmap(QImage());
}

void CtlPanelFill::paintEvent(QPaintEvent*) {
  QPainter p(this);
  CtlPreparePainter(p);
  CtlFillRect(p, rect(), ColorToRgb(color_));
  const QRect inner = bevel_.PaintBevel(p, rect(), false);
  fill_.FillCanvas(p, inner, color_);
}
