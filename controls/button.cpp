#include "controls/button.h"

#include <QPaintEvent>
#include <algorithm>

CtlGlyphTextPlace CtlPlaceGlyphText(const CtlButtonLayout& layout, QSize gs, QSize ts, const QRect& r) {
  const int spacing = (!gs.isEmpty() && !ts.isEmpty()) ? layout.Spacing() : 0;
  const CtlTextArrange arrange = layout.AlignText2Glyph();
  const bool beside = arrange <= taRightTop;
  const QSize block = beside ? QSize(gs.width() + spacing + ts.width(), std::max(gs.height(), ts.height()))
                             : QSize(std::max(gs.width(), ts.width()), gs.height() + spacing + ts.height());
  const QRect placed = AlignRect(layout.Alignment(), block, r).translated(layout.OffsetX(), layout.OffsetY());
  const int l = placed.left(), t = placed.top();
  QPoint gp, tp;
  switch (arrange) {
    case taLeft:
    case taLeftTop:
      tp = QPoint(l, t + (block.height() - ts.height()) / 2);
      gp = QPoint(l + ts.width() + spacing, arrange == taLeftTop ? t : t + (block.height() - gs.height()) / 2);
      break;
    case taRight:
    case taRightTop:
      gp = QPoint(l, arrange == taRightTop ? t : t + (block.height() - gs.height()) / 2);
      tp = QPoint(l + gs.width() + spacing, t + (block.height() - ts.height()) / 2);
      break;
    case taTop:
    case taTopLeft:
      tp = QPoint(l + (block.width() - ts.width()) / 2, t);
      gp = QPoint(arrange == taTopLeft ? l : l + (block.width() - gs.width()) / 2, t + ts.height() + spacing);
      break;
    case taBottom:
    case taBottomLeft:
      gp = QPoint(arrange == taBottomLeft ? l : l + (block.width() - gs.width()) / 2, t);
      tp = QPoint(l + (block.width() - ts.width()) / 2, t + gs.height() + spacing);
      break;
  }
  return {QRect(gp, gs), QRect(tp, ts)};
}

CtlButton::CtlButton(QWidget* parent) : QPushButton(parent) {
  glyph_.OnChange = [this] { update(); };
  resize(75, 25);
}

void CtlButton::SetGlyph(const QImage& strip) { glyph_.SetGlyph(strip); }

void CtlButton::SetColor(CtlColor c) {
  if (c == color_) return;
  color_ = c;
  update();
}

void CtlButton::SetStyle(CtlNormalButtonStyle s) {
  if (s == style_) return;
  style_ = s;
  update();
}

int CtlButton::FaceState() const {
  if (!isEnabled()) return 1;
  return isDown() ? 4 : 0;
}

unsigned CtlButton::FaceFlags() const {
  const bool default_styled = isDefault() || (autoDefault() && hasFocus());
  if (default_styled) return 3;
  return hasFocus() ? 33 : 1;
}

void CtlButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  CtlPreparePainter(p);
  const int state = FaceState();
  const QRect r =
      DrawButtonFace(p, false, rect(), color_, FaceFlags(), state, static_cast<CtlUserButtonStyle>(style_));

  const QImage g = glyph_.StateImage(state);
  const QString caption = text();
  const QFontMetrics fm(font());
  const QSize ts = caption.isEmpty() ? QSize(0, 0) : QSize(fm.horizontalAdvance(caption), fm.height());
  const CtlGlyphTextPlace place = CtlPlaceGlyphText(layout_, g.isNull() ? QSize(0, 0) : g.size(), ts, r);
  const QPoint gp = place.glyph.topLeft(), tp = place.text.topLeft();
  const QSize gs = place.glyph.size();
  last_glyph_rect_ = g.isNull() ? QRect() : QRect(gp, gs);
  last_text_rect_ = caption.isEmpty() ? QRect() : QRect(tp, ts);
  if (!g.isNull()) p.drawImage(gp, g);
  if (!caption.isEmpty()) {
    p.setFont(font());
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
    if (isEnabled()) {
      p.setPen(ColorToRgb(clBtnText));
      p.drawText(last_text_rect_, flags, caption);
    } else {
      p.setPen(ColorToRgb(clBtnHighlight));
      p.drawText(last_text_rect_.translated(1, 1), flags, caption);
      p.setPen(ColorToRgb(clGrayText));
      p.drawText(last_text_rect_, flags, caption);
    }
  }
}
