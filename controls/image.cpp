#include "controls/image.h"

#include <QPainter>

CtlLImage::CtlLImage(QWidget* parent) : QWidget(parent) {
  resize(30, 30);
  bevel_.OnChange = [this](CtlObject*) {
    CheckAutoSize();
    update();
  };
}

void CtlLImage::SetImageList(const CtlCustomImageList* list, int list_index, int image_index) {
  list_ = list;
  if (list_index >= 0) list_index_ = list_index;
  if (image_index >= 0) image_index_ = image_index;
  CheckAutoSize();
  update();
}

void CtlLImage::SetListIndex(int i) {
  if (i < 0 || i == list_index_) return;
  list_index_ = i;
  CheckAutoSize();
  update();
}

void CtlLImage::SetStyle(CtlBitmapStyle s) {
  if (s == style_) return;
  style_ = s;
  CheckAutoSize();
  update();
}

void CtlLImage::SetTransparent(bool t) {
  if (t == transparent_) return;
  transparent_ = t;
  update();
}

void CtlLImage::SetForceTransparent(bool t) {
  if (t == force_transparent_) return;
  force_transparent_ = t;
  update();
}

bool CtlLImage::CheckAutoSize() {
  if (style_ != sbAutosize) return false;
  int b = bevel_.BevelExtend();
  QSize want = HasEntry() ? QSize(list_->GetDimension(list_index_, 0), list_->GetDimension(list_index_, 1)) : QSize(20, 20);
  want += QSize(2 * b, 2 * b);
  if (want == size()) return false;
  setGeometry(QRect(pos(), want));
  return true;
}

unsigned CtlLImage::DrawFlags() const {
  unsigned f = force_transparent_ ? dbTransparent : 0;
  switch (style_) {
    case sbNone:
    case sbAutosize: f += 1; break;
    case sbCenter: f += 9; break;
    case sbStretch: f += 16; break;
    case sbTile: f += 33; break;
    case sbKeepAspRatio: f += 1552; break;
    case sbKeepWidth: f += 529; break;
    case sbKeepHeight: f += 1041; break;
  }
  if (bevel_.BevelExtend() == 0) f ^= 1u;
  return f;
}

void CtlLImage::paintEvent(QPaintEvent*) {
  if (CheckAutoSize()) return;
  QPainter p(this);
  CtlPreparePainter(p);
  if (!transparent_) CtlFillRect(p, rect(), ColorToRgb(color_));
  else if (!HasEntry() && bevel_.BevelExtend() == 0) return;
  QRect inner = bevel_.PaintBevel(p, rect(), transparent_);
  if (!HasEntry()) return;
  p.save();
  p.setClipRect(inner);
  list_->DrawInRect(p, inner, list_index_, image_index_, DrawFlags() & ~1u);
  p.restore();
}
