#include "controls/panelfill.h"

#include <QEvent>
#include <QPainter>

CtlPanelFill::CtlPanelFill(QWidget* parent) : CtlCustomParentPanel(parent) {
  fill_.OnChange = [this](CtlObject* sender) { GetChange(sender); };
  fontfx_.OnChange = [this](CtlObject* sender) { GetChange(sender); };
}

CtlPanelFill::~CtlPanelFill() {
  fill_.OnChange = nullptr;
  fontfx_.OnChange = nullptr;
}

void CtlPanelFill::SetCaption(const QString& c) { if (CtlStore(caption_, c)) update(); }

void CtlPanelFill::SetAlignment(CtlAlignment a) { if (CtlStore(alignment_, a)) update(); }

void CtlPanelFill::SetFontColor(CtlColor c) { if (CtlStore(font_color_, c)) update(); }

void CtlPanelFill::SetTransparentBorder(bool on) {
  if (!CtlStore(transparent_border_, on)) return;
  Opaque();
  update();
}

void CtlPanelFill::Opaque() { setAttribute(Qt::WA_OpaquePaintEvent, !Transparent() && !transparent_border_); }

void CtlPanelFill::TransparentChanged() {
  Opaque();
  update();
}

void CtlPanelFill::ImageListChanged() { fill_.SetListBitmap(Entry().Picture()); }

void CtlPanelFill::changeEvent(QEvent* e) {
  CtlCustomParentPanel::changeEvent(e);
  if (e->type() == QEvent::FontChange) update();
}

void CtlPanelFill::paintEvent(QPaintEvent*) {
  QPainter p(this);
  CtlPreparePainter(p);
  const QRect edge = EdgeRect();
  const QRect inner = Bevel().GetClientRect(edge);
  if (!Transparent()) CtlFillRect(p, transparent_border_ ? inner : rect(), ColorToRgb(Color()));
  PaintWindowEdge(p);
  Bevel().PaintBevel(p, edge, transparent_border_ || Transparent());
  fill_.FillCanvas(p, inner, Color());
  if (!caption_.isEmpty()) {
    p.setFont(font());
    DrawFxText(p, caption_, &fontfx_, nullptr, isEnabled() ? fxEnabled : 0u, CaptionTextFlags(alignment_, false, true),
               inner, ColorToRgb(font_color_), ColorToRgb(Color()), fontfx_.Angle());
  }
}
