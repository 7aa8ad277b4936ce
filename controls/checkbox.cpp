#include "controls/checkbox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "controls/actionlink.h"

namespace {

// A dotted frame, every other pixel.
void DottedFrame(QPainter& p, const QRect& f, const QColor& c) {
  for (int x = f.left(); x <= f.right(); x += 2) {
    CtlFillRect(p, QRect(x, f.top(), 1, 1), c);
    CtlFillRect(p, QRect(x, f.bottom(), 1, 1), c);
  }
  for (int y = f.top(); y <= f.bottom(); y += 2) {
    CtlFillRect(p, QRect(f.left(), y, 1, 1), c);
    CtlFillRect(p, QRect(f.right(), y, 1, 1), c);
  }
}

constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic | Qt::TextSingleLine;

}  // namespace

CtlButtonControl::CtlButtonControl(QWidget* parent) : CtlCustomPanel(parent) {
  resize(105, 17);
  alignment_.SetAlignment(agCenterLeft);
  alignment_.SetSpacing(4);
  alignment_.OnChange = [this](CtlObject*) {
    AdjustSize();
    update();
  };
  font3d_.OnChange = alignment_.OnChange;
}

CtlButtonControl::~CtlButtonControl() {
  action_link_.reset();
  alignment_.OnChange = nullptr;
  font3d_.OnChange = nullptr;
  delete accelerator_.data();
}

QAction* CtlButtonControl::Action() const { return action_link_ ? action_link_->Action() : nullptr; }

void CtlButtonControl::SetAction(QAction* action) {
  if (action == Action()) return;
  action_link_.reset();
  if (action) action_link_ = std::make_unique<CtlCheckActionLink>(this, action);
}

void CtlButtonControl::SetAutoSize(bool on) { if (CtlStore(auto_size_, on)) AdjustSize(); }

void CtlButtonControl::SetFocusStyle(CtlGlyphTextFocusStyle s) { if (CtlStore(focus_style_, s)) update(); }

void CtlButtonControl::SetFocusColor(CtlColor c) { if (CtlStore(focus_color_, c)) update(); }

void CtlButtonControl::SetUseFocusColor(bool on) { if (CtlStore(use_focus_color_, on)) update(); }

void CtlButtonControl::SetGlyphSize(int size) {
  size = std::clamp(size, 1, 255);
  if (!CtlStore(glyph_size_, size)) return;
  StripChanged();
}

void CtlButtonControl::SetGlyphFlat(bool on) { if (CtlStore(glyph_flat_, on)) StripChanged(); }

void CtlButtonControl::SetGlyphTransparent(bool on) { if (CtlStore(glyph_transparent_, on)) update(); }

void CtlButtonControl::SetGlyphTransparentColor(CtlColor c) { if (CtlStore(glyph_transparent_color_, c)) update(); }

void CtlButtonControl::SetColor(CtlColor c) {
  CtlCustomPanel::SetColor(c);
  setAttribute(Qt::WA_OpaquePaintEvent, c != clNone && !Transparent());
}

void CtlButtonControl::SetCaption(const QString& c) {
  caption_ = c;
  CtlReplaceMnemonic(accelerator_, this, c, [this] {
    if (isEnabled() && isVisible()) Accelerator();
  });
  AdjustSize();
  update();
}

void CtlButtonControl::SetImageList(const CtlCustomImageList* list, int list_index, int image_index) {
  SetListIndex(list_index);
  SetImageIndex(image_index);
  CtlCustomPanel::SetImageList(list);
  StripChanged();
}

void CtlButtonControl::StripChanged() {
  AdjustSize();
  update();
}

QImage CtlButtonControl::Strip() const {
  if (UsesListStrip()) return Entry().Picture();
  return BuiltInStrip();
}

QImage CtlButtonControl::Mark() const {
  const QImage strip = Strip();
  return strip.copy(CellIndex() * CellWidth(), 0, CellWidth(), strip.height());
}

int CtlButtonControl::LayoutState() const {
  static const unsigned focus[] = {0, glFocusText, glFocusGlyph, glFocusBoth, 0};
  return (isEnabled() ? glEnabled : 0) | fxAuto3d | glNoShift | focus[focus_style_];
}

GlyphTextLayoutValues CtlButtonControl::Placement() const {
  return isRightToLeft() ? MirroredLayout(alignment_.Values()) : alignment_.Values();
}

QSize CtlButtonControl::MeasuredSize() const {
  GlyphTextLayoutValues top_left = alignment_.Values();
  top_left.Alignment = agTopLeft;
  const QImage mark = Mark();
  const GlyphTextPlaces at = PlaceGlyphText(font(), caption_, &font3d_, top_left, !mark.isNull(),
                                            glNoShift, kTextFlags, mark.rect(), QRect(0, 0, 10000, 10000));
  return at.glyph.united(at.text).size();
}

void CtlButtonControl::AdjustSize() {
  if (auto_size_) resize(MeasuredSize());
}

GlyphTextPlaces CtlButtonControl::Places() const { return Places(Mark()); }

GlyphTextPlaces CtlButtonControl::Places(const QImage& mark) const {
  return PlaceGlyphText(font(), caption_, &font3d_, Placement(), !mark.isNull(), LayoutState(), kTextFlags,
                        mark.rect(), rect());
}

void CtlButtonControl::paintEvent(QPaintEvent*) {
  QPainter p(this);
  CtlPreparePainter(p);
  if (Color() != clNone) PaintBackground(p);
  const QImage mark = Mark();
  p.setFont(font());
  const GlyphTextLayoutValues placement = Placement();
  const GlyphTextPlaces at = Places(mark);
  DrawGlyphTextLayout(p, caption_, &font3d_, placement, &mark, nullptr,
                      glyph_transparent_ ? glyph_transparent_color_ : clNone, LayoutState(), kTextFlags, mark.rect(),
                      rect(), ColorToRgb(clBtnText));
  if (hasFocus() && focus_style_ != fcNone)
    DottedFrame(p, at.focus.intersected(rect()), use_focus_color_ ? ColorToRgb(focus_color_) : ColorToRgb(clBtnText));
}

void CtlButtonControl::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  // An unfocused control takes the focus first; the press is dropped if another
  // control kept it (an inactive window only records the focus for later).
  if (!hasFocus()) {
    setFocus(Qt::MouseFocusReason);
    if (!hasFocus() && isActiveWindow()) return;
  }
  pressed_ = true;
}

void CtlButtonControl::changeEvent(QEvent* e) {
  CtlCustomPanel::changeEvent(e);
  if (e->type() == QEvent::LayoutDirectionChange) update();
}

void CtlButtonControl::mouseDoubleClickEvent(QMouseEvent* e) { mousePressEvent(e); }

void CtlButtonControl::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || !pressed_) return;
  pressed_ = false;
  if (!rect().contains(e->position().toPoint())) return;
  UserClick();
}

// ---------------------------------------------------------------- check box

CtlCheckBox::CtlCheckBox(QWidget* parent) : CtlButtonControl(parent) { SetTabStop(true); }

void CtlCheckBox::SetState(CtlCheckState s) { if (CtlStore(state_, s)) update(); }

void CtlCheckBox::SetGlyphNumber(int n) {
  n = std::clamp(n, 1, 255);
  if (!CtlStore(glyph_number_, n)) return;
  StripChanged();
}

QImage CtlCheckBox::BuiltInStrip() const {
  const int g = GlyphSize();
  QImage strip(6 * g, g, QImage::Format_RGB32);
  strip.fill(ColorToRgb(clBtnFace));
  QPainter p(&strip);
  CtlPreparePainter(p);
  for (int k = 0; k < 6; ++k) {
    const QRect cell(k * g, 0, g, g);
    const bool inactif = k % 2 == 1;
    const int bord = GlyphFlat() ? 1 : 2;
    CtlFillRect(p, cell.adjusted(bord, bord, -bord, -bord), inactif ? ColorToRgb(clBtnFace) : QColor(Qt::white));
    QRect cadre = cell;
    if (GlyphFlat()) CtlFrameRect(p, cadre, ColorToRgb(clBtnShadow));
    else CtlDrawEdge(p, cadre, BDR_SUNKENOUTER | BDR_SUNKENINNER, BF_RECT);
    if (k >= 2) {
      const QColor marque = k >= 4 || inactif ? ColorToRgb(clBtnShadow) : QColor(Qt::black);
      const int x = cell.x() + (g - 7) / 2, y = cell.y() + (g - 7) / 2 + 2;
      for (int i = 0; i < 7; ++i) {
        const int dy = i < 3 ? i : 4 - i;
        CtlLine(p, x + i, y + dy, x + i, y + dy + 3, marque);
      }
    }
  }
  return strip;
}

int CtlCheckBox::CellWidth() const {
  // The built-in strip always holds six cells of GlyphSize.
  if (!UsesListStrip()) return GlyphSize();
  return Strip().width() / (glyph_number_ * 2);
}

int CtlCheckBox::CellIndex() const {
  return (isEnabled() ? 0 : 1) + 2 * std::min<int>(state_, glyph_number_ - 1);
}

void CtlCheckBox::Toggle() {
  const CtlCheckState avant = state_;
  if (state_ == cbUnchecked) state_ = allow_grayed_ ? cbGrayed : cbChecked;
  else if (state_ == cbChecked) state_ = cbUnchecked;
  else state_ = cbChecked;
  update();
  if (state_ != avant) emit changed();
}

void CtlCheckBox::Accelerator() {
  setFocus(Qt::ShortcutFocusReason);
  if (CanModify()) Toggle();
}

void CtlCheckBox::UserClick() {
  QPointer<CtlCheckBox> self(this);
  if (CanModify()) Toggle();
  if (self) emit clicked();
}

void CtlCheckBox::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Space && !e->isAutoRepeat()) {
    if (CanModify()) Toggle();
    return;
  }
  CtlButtonControl::keyPressEvent(e);
}

// ------------------------------------------------------------- radio button

CtlRadioButton::CtlRadioButton(QWidget* parent) : CtlButtonControl(parent) {
  SetGlyphTransparent(true);
  SetTabStop(false);
}

void CtlRadioButton::SetChecked(bool c) {
  if (!CtlStore(checked_, c)) return;
  SetTabStop(c);
  if (c && parentWidget())
    for (auto* r : parentWidget()->findChildren<CtlRadioButton*>(Qt::FindDirectChildrenOnly))
      if (r != this) r->SetChecked(false);
  update();
}

QImage CtlRadioButton::BuiltInStrip() const {
  const int g = GlyphSize();
  QImage strip(4 * g, g, QImage::Format_RGB32);
  strip.fill(ColorToRgb(clOlive));
  QPainter p(&strip);
  p.setRenderHint(QPainter::Antialiasing, false);
  for (int k = 0; k < 4; ++k) {
    const QRect cell(k * g, 0, g - 1, g - 1);
    const bool inactif = k % 2 == 1;
    p.setBrush(inactif ? ColorToRgb(clBtnFace) : QColor(Qt::white));
    p.setPen(ColorToRgb(clBtnShadow));
    p.drawEllipse(cell);
    if (!GlyphFlat()) {
      p.setBrush(Qt::NoBrush);
      p.setPen(ColorToRgb(cl3DDkShadow));
      p.drawArc(cell.adjusted(1, 1, -1, -1), 45 * 16, 180 * 16);
    }
    if (k >= 2) {
      const QColor point = inactif ? ColorToRgb(clBtnShadow) : QColor(Qt::black);
      p.setPen(point);
      p.setBrush(point);
      const int c = g / 2;
      p.drawEllipse(QRect(k * g + c - 2, c - 2, 3, 3));
    }
  }
  return strip;
}

int CtlRadioButton::CellWidth() const { return Strip().width() / 4; }

int CtlRadioButton::CellIndex() const { return (isEnabled() ? 0 : 1) + 2 * (checked_ ? 1 : 0); }

void CtlRadioButton::focusInEvent(QFocusEvent* e) {
  CtlButtonControl::focusInEvent(e);
  if (!checked_ && CanModify()) SetChecked(true);
}

void CtlRadioButton::Accelerator() { setFocus(Qt::ShortcutFocusReason); }

void CtlRadioButton::UserClick() {
  // A focused button unchecked by code is checked by the click too.
  if (!checked_ && CanModify()) SetChecked(true);
  emit clicked();
}
