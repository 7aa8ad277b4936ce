#include "controls/labels.h"

#include <QMouseEvent>
#include <QPainter>

int CtlAlignmentTextFlags(CtlAlignment a, bool multiline) {
  static const int h[3] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
  static const int v[3] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
  int f = h[static_cast<int>(a) % 3] | v[static_cast<int>(a) / 3] | Qt::TextExpandTabs;
  f |= multiline ? Qt::TextWordWrap : Qt::TextSingleLine;
  return f;
}

CtlSimpleLabel::CtlSimpleLabel(QWidget* parent) : QWidget(parent) { resize(65, 17); }

void CtlSimpleLabel::SetCaption(const QString& c) {
  if (c == caption_) return;
  caption_ = c;
  AdjustBounds();
  update();
}

void CtlSimpleLabel::AdjustBounds() {
  QSize s = CalcTextSize(font(), caption_, &font3d_, 0);
  setGeometry(QRect(pos(), s));
}

void CtlSimpleLabel::SetJumpMode(JumpMode m) {
  jump_mode_ = m;
  QFont f = font();
  if (m == jmNone) {
    unsetCursor();
    font_color_ = clBlack;
    if (underline_) f.setUnderline(false);
  } else {
    clicks_ = 0;
    font_color_ = inactive_;
    if (underline_) f.setUnderline(true);
    setCursor(Qt::PointingHandCursor);
  }
  setFont(f);
  update();
}

QString CtlSimpleLabel::JumpTarget() const {
  QString j = jump_.trimmed();
  if (!j.isEmpty()) return jump_;
  if (jump_mode_ == jmInternet && caption_.contains('@')) return "mailto:" + caption_;
  return caption_;
}

void CtlSimpleLabel::Click() {
  if (jump_mode_ == jmInternet) {
    bool ok = opener_ && opener_(JumpTarget());
    if (!ok) {
      SetJumpMode(jmNone);
      setEnabled(false);
    }
  } else if (jump_mode_ == jmApplication) {
    if (opener_) opener_(JumpTarget());
  }
}

void CtlSimpleLabel::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && jump_mode_ != jmNone) {
    ++clicks_;
    font_color_ = active_;
    update();
  }
}

void CtlSimpleLabel::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) Click();
}

void CtlSimpleLabel::paintEvent(QPaintEvent*) {
  if (caption_.isEmpty() && transparent_) return;
  QPainter p(this);
  CtlPreparePainter(p);
  p.setFont(font());
  unsigned state = isEnabled() ? fxEnabled : 0;
  DrawFxText(p, caption_, &font3d_, nullptr, state, CtlAlignmentTextFlags(alignment_, false), rect(),
             ColorToRgb(font_color_));
}

CtlLabel::CtlLabel(QWidget* parent) : QWidget(parent) {
  resize(65, 17);
  bevel_.OnChange = [this](CtlObject*) {
    AdjustBounds();
    update();
  };
}

void CtlLabel::SetCaption(const QString& c) {
  if (c == caption_) return;
  caption_ = c;
  AdjustBounds();
  update();
}

void CtlLabel::SetAutoSize(bool a) {
  autosize_ = a;
  AdjustBounds();
}

void CtlLabel::AdjustBounds() {
  if (!autosize_) return;
  int b = bevel_.BevelExtend();
  QSize s = CalcTextSize(font(), caption_, &fontfx_, multiline_ ? width() : 0, b);
  setGeometry(QRect(pos(), s));
}

void CtlLabel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  CtlPreparePainter(p);
  p.setFont(font());
  QRect r = rect();
  if (!transparent_) CtlFillRect(p, r, ColorToRgb(color_));
  if (bevel_.BevelExtend() > 0) r = bevel_.PaintBevel(p, r, transparent_ || bevel_.BorderColor() == color_);
  unsigned state = (isEnabled() ? fxEnabled : 0) | fxClip;
  DrawFxText(p, caption_, &fontfx_, &r, state, CtlAlignmentTextFlags(alignment_, multiline_), r,
             ColorToRgb(font_color_), ColorToRgb(color_));
}
