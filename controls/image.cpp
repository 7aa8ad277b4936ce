#include "controls/image.h"

#include <QPainter>

void CtlBaseImage::SetQuickDraw(bool on) { if (CtlStore(quick_draw_, on)) GetChange(nullptr); }

void CtlBaseImage::SetStyle(CtlBitmapStyle s) { if (CtlStore(style_, s)) GetChange(nullptr); }

CtlLImage::CtlLImage(QWidget* parent) : CtlBaseImage(parent) {}

void CtlLImage::SetForceTransparent(bool on) { if (CtlStore(force_transparent_, on)) update(); }

void CtlLImage::SetSilentMove(bool on) { if (CtlStore(silent_move_, on)) update(); }

bool CtlLImage::IsTransparent() const {
  if (CtlBaseImage::IsTransparent()) return true;
  auto* parent = qobject_cast<const CtlCustomControl*>(parentWidget());
  return silent_move_ && parent && parent->isVisible() && parent->CanSupplyBack();
}

void CtlLImage::GetChange(CtlObject* sender) {
  CheckAutoSize();
  CtlBaseImage::GetChange(sender);
}

bool CtlLImage::CheckAutoSize() {
  if (Style() != sbAutosize) return false;
  const int b = Bevel().BevelExtend();
  QSize want = HasEntry() ? Entry().ItemSize() : QSize(20, 20);
  want += QSize(2 * b, 2 * b);
  if (want == size()) return false;
  resize(want);
  return true;
}

unsigned CtlBitmapStyleFlags(CtlBitmapStyle style) {
  switch (style) {
    case sbCenter: return 9;
    case sbStretch: return 16;
    case sbTile: return 33;
    case sbKeepAspRatio: return 1552;
    case sbKeepWidth: return 529;
    case sbKeepHeight: return 1041;
    default: return 1;  // sbNone, sbAutosize
  }
}

unsigned CtlLImage::DrawFlags() const {
  unsigned f = (force_transparent_ ? dbTransparent : 0) + CtlBitmapStyleFlags(Style());
  if (Bevel().BevelExtend() == 0) f ^= 1u;
  return f;
}

void CtlLImage::paintEvent(QPaintEvent*) {
  QPainter p(this);
  CtlPreparePainter(p);
  if (!Transparent()) {
    // With SilentMove over a supplied background the picture covers the face.
    if (!(silent_move_ && IsTransparent() && HasEntry())) CtlFillRect(p, rect(), ColorToRgb(Color()));
  } else if (!HasEntry() && Bevel().BevelExtend() == 0) {
    return;
  }
  const QRect inner = Bevel().PaintBevel(p, rect(), Transparent());
  if (!HasEntry()) return;
  p.save();
  p.setClipRect(inner);
  ImageList()->DrawInRect(p, inner, ListIndex(), ImageIndex(), DrawFlags() & ~1u);
  p.restore();
}
