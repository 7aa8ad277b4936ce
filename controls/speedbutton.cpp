#include "controls/speedbutton.h"

#include <QMenu>
#include <QPainter>

namespace {

bool ExplorerStyle(CtlUserButtonStyle s) { return s == ubsExplorer || s == ubsExplorerColored; }

// A black arrow pointing down, `size` pixels high, centred in `r`.
void DrawDownArrow(QPainter& p, const QRect& r, int size) {
  const int x = r.left() + r.width() / 2, y = r.top() + (r.height() - size) / 2;
  for (int k = 0; k < size; ++k) CtlLine(p, x - (size - 1 - k), y + k, x + (size - k), y + k, Qt::black);
}

}  // namespace

CtlSpeedButton::CtlSpeedButton(QWidget* parent) : CtlBaseGraphicButton(parent) {
  resize(23, 22);
  SetAllowMouseOver(true);
  SetAllowTransparency(false);
}

int CtlSpeedButton::StyleBorderWidth() const {
  switch (style_) {
    case ubsWin31: return 3;
    case ubsAutoDetect:
    case ubsWin40:
    case ubsTarnel:
    case ubsTarnelFlat:
    case ubsNavigator:
    case ubsIntegrated: return 2;
    default: return 1;
  }
}

void CtlSpeedButton::SetStyle(CtlUserButtonStyle style) {
  if (style == style_) return;
  const bool was_explorer = ExplorerStyle(style_);
  style_ = style;
  GlyphObject().SetFlat(style == ubsFlatUnColored || style == ubsNavigator || style == ubsExplorer);
  if (ExplorerStyle(style)) CtlBaseGraphicButton::SetTransparent(true);
  else if (was_explorer) CtlBaseGraphicButton::SetTransparent(false);
  RequestRepaint();
}

void CtlSpeedButton::SetTransparent(bool transparent) {
  if (!transparent && ExplorerStyle(style_)) return;
  CtlBaseGraphicButton::SetTransparent(transparent);
}

bool CtlSpeedButton::HasHotLook() const { return style_ >= ubsTarnelFlat && style_ <= ubsExplorerColored; }

void CtlSpeedButton::SetDropDownCombo(bool combo) {
  if (!CtlStore(combo_, combo)) return;
  resize(width() + (combo ? combo_width_ : -combo_width_), height());
  RequestRepaint();
}

void CtlSpeedButton::SetDropdownComboWidth(int w) {
  if (w == combo_width_) return;
  if (combo_) resize(width() + w - combo_width_, height());
  combo_width_ = w;
  RequestRepaint();
}

void CtlSpeedButton::SetDropDownMenu(QMenu* menu) {
  CtlBaseGraphicButton::SetDropDownMenu(menu);
  RequestRepaint();
}

bool CtlSpeedButton::PressOpensMenu(QPoint p) const { return !ComboActive() || p.x() >= width() - combo_width_; }

QRect CtlSpeedButton::GlyphArea() const {
  const int b = StyleBorderWidth();
  QRect face = rect();
  if (ComboActive()) face.setWidth(width() - combo_width_);
  QRect area = face.adjusted(b, b, -b, -b);
  const int s = ButtonState();
  if (s == bsPressed || s == bsHeld || (s == bsDropDown && !ComboActive())) area.translate(1, 1);
  return area;
}

void CtlSpeedButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  CtlPreparePainter(p);
  const int s = ButtonState();
  const bool hot = MouseOver() && s == bsHot;
  if (!ComboActive()) {
    DrawButtonFace(p, hot, rect(), Color(), 5, s, style_);
  } else {
    // Two faces: the main one (one pixel wider over the strip's edge for the
    // raised styles) and the strip with its arrow.
    const int b = StyleBorderWidth();
    const QRect strip(width() - combo_width_, 0, combo_width_, height());
    const QRect main(0, 0, width() - combo_width_ + (b >= 2 ? 1 : 0), height());
    DrawButtonFace(p, hot || s == bsHeld, strip, Color(), 5, s == bsDropDown ? bsDropDown : (s == bsHeld ? bsUp : s),
                   style_);
    DrawButtonFace(p, hot || s == bsDropDown, main, Color(), 5, s == bsDropDown ? bsUp : s, style_);
    DrawDownArrow(p, strip.translated(s == bsDropDown ? 1 : 0, s == bsDropDown ? 1 : 0), 3);
  }
  DrawGlyphAndCaption(p, GlyphArea());
}

CtlOfficeButton::CtlOfficeButton(QWidget* parent) : CtlSpeedButton(parent) { SetStyle(ubsFlat); }
