#include "controls/mmbutton.h"

#include <QPainter>

#include "controls/image.h"

CtlMMButton::CtlMMButton(QWidget* parent) : CtlBaseGraphicButton(parent) {
  resize(25, 25);
  SetAllowTransparency(true);
}

void CtlMMButton::SetFace(int state, int list_index, int image_index) {
  if (state < 0 || state > 7 || list_index < 0 || image_index < 0) return;
  Pair& pair = pairs_[static_cast<std::size_t>(state)];
  if (pair.list == list_index && pair.image == image_index) return;
  pair = {list_index, image_index};
  update();
}

void CtlMMButton::SetFaceTransparentColor(CtlColor c) { if (CtlStore(transparent_, c)) update(); }

void CtlMMButton::SetButtonFaceStyle(CtlBitmapStyle s) { if (CtlStore(style_, s)) update(); }

void CtlMMButton::SetCaptionDown(int d) { if (CtlStore(caption_down_, d)) update(); }

void CtlMMButton::SetForceTransparent(bool on) { if (CtlStore(force_transparent_, on)) update(); }

bool CtlMMButton::HasFace() const {
  const Pair& pair = pairs_[static_cast<std::size_t>(Slot(FaceState()))];
  return faces_.List() && faces_.List()->IsValidImage(pair.list, pair.image);
}

void CtlMMButton::DrawFace(QPainter& p, const QRect& r, int state, bool transparent) const {
  const Pair& pair = pairs_[static_cast<std::size_t>(Slot(state))];
  const CtlCustomImageList* list = faces_.List();
  if (!list || !list->IsValidImage(pair.list, pair.image)) return;
  unsigned flags = CtlBitmapStyleFlags(style_);
  if (transparent) flags |= dbTransparent;
  list->DrawExt(p, r, pair.list, pair.image, transparent_, 0, flags);
}

bool CtlMMButton::IsInside(int x, int y) const {
  if (x < 0 || y < 0 || x >= width() || y >= height()) return false;
  if (!HasFace()) return true;
  // The face as painted, over its own transparent colour.
  QImage probe(size(), QImage::Format_RGB32);
  probe.fill(ColorToRgb(transparent_));
  {
    QPainter p(&probe);
    DrawFace(p, probe.rect(), FaceState(), false);
  }
  return (probe.pixel(x, y) & 0xFFFFFF) != (ColorToRgb(transparent_).rgb() & 0xFFFFFF);
}

void CtlMMButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  CtlPreparePainter(p);
  if (!Transparent()) CtlFillRect(p, rect(), ColorToRgb(Color()));
  DrawFace(p, rect(), FaceState(), force_transparent_);
  QRect area = rect();
  if (IsDown()) area.translate(caption_down_, caption_down_);
  DrawGlyphAndCaption(p, area);
}
