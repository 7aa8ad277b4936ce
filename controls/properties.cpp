#include "controls/properties.h"

#include <algorithm>

#include "platform/arrondi.h"

namespace {

// Compare, store, notify.
template <class T, class V>
void Set(CtlObject& o, T& field, V value) {
  if (CtlStore(field, static_cast<T>(value))) o.Change();
}

int Held(int v, int lo, int hi) { return std::clamp(v, lo, hi); }

// Copies inside one update lock, so the owner hears one change.
template <class F>
void Locked(CtlObject& o, F copy) {
  o.BeginUpdate();
  copy();
  o.EndUpdate(true);
}

}  // namespace

// ---- Bevel

void CtlBevel::SetStyleInner(CtlBevelStyle s) {
  if (!CtlStore(inner_, s)) return;
  if (s == bvShadow) outer_ = bvShadow;
  else if (outer_ == bvShadow) outer_ = bvNone;
  Change();
}
void CtlBevel::SetStyleOuter(CtlBevelStyle s) {
  if (!CtlStore(outer_, s)) return;
  if (s == bvShadow) inner_ = bvShadow;
  else if (inner_ == bvShadow) inner_ = bvNone;
  Change();
}
void CtlBevel::SetWidthInner(int w) { Set(*this, width_inner_, Held(w, 0, 50)); }
void CtlBevel::SetWidthOuter(int w) { Set(*this, width_outer_, Held(w, 0, 50)); }
void CtlBevel::SetMode(CtlBevelMode m) {
  if (mode_ == m) return;
  if (window_border_ && (mode_ == bmWindows || m == bmWindows)) recreate_ = true;
  mode_ = m;
  Change();
}
void CtlBevel::SetStandardStyle(CtlBorderStyle s) {
  if (!CtlStore(standard_, s)) return;
  if (mode_ == bmStandard) Change();
}
void CtlBevel::SetBorderWidth(int w) { Set(*this, border_, Held(w, 0, 255)); }
void CtlBevel::SetBorderInnerWidth(int w) { Set(*this, border_inner_, Held(w, 0, 255)); }
void CtlBevel::SetBorderColor(CtlColor c) { Set(*this, border_color_, c); }
void CtlBevel::SetLightColor(CtlColor c) { Set(*this, light_, c); }
void CtlBevel::SetShadowColor(CtlColor c) { Set(*this, shadow_, c); }
void CtlBevel::SetBorderSides(CtlFrameSides s) { Set(*this, sides_, s & fsAll); }
void CtlBevel::SetEdgeStyle(CtlEdgeStyle e) { Set(*this, edge_, e); }

bool CtlBevel::NeedsRecreate() {
  bool r = recreate_ || (mode_ == bmWindows && window_border_);
  recreate_ = false;
  return r;
}

void CtlBevel::Assign(const CtlObject& source) {
  auto* s = dynamic_cast<const CtlBevel*>(&source);
  if (!s) return CtlObject::Assign(source);
  if (s == this) return;
  Locked(*this, [&] {
    inner_ = s->inner_;
    outer_ = s->outer_;
    width_inner_ = s->width_inner_;
    width_outer_ = s->width_outer_;
    border_color_ = s->border_color_;
    border_inner_ = s->border_inner_;
    border_ = s->border_;
    sides_ = s->sides_;
    edge_ = s->edge_;
    light_ = s->light_;
    shadow_ = s->shadow_;
    window_border_ = s->window_border_;
    SetMode(s->mode_);
    standard_ = s->standard_;
  });
}

int CtlBevel::BevelExtend() const {
  switch (mode_) {
    case bmCustom: {
      if (inner_ == bvShadow) return width_inner_ + border_inner_;
      int w = border_ + border_inner_;
      if (inner_ != bvNone || outer_ != bvNone) {
        if (outer_ != bvNone) w += width_outer_ + ((outer_ == bvFrameLowered || outer_ == bvFrameRaised) ? 1 : 0);
        if (inner_ != bvNone) w += width_inner_ + ((inner_ == bvFrameLowered || inner_ == bvFrameRaised) ? 1 : 0);
      }
      return w;
    }
    case bmStandard: return BorderStyleWidth(standard_) + border_inner_;
    case bmEdge: return (sides_ != 0 ? 2 : 0) + border_inner_;
    case bmWindows: return window_border_ ? 0 : border_inner_ + 2;
  }
  return 0;
}

int CtlBevel::ClientInset() const {
  if (mode_ == bmCustom && outer_ == bvShadow) return width_inner_ + width_outer_ + border_inner_;
  return BevelExtend();
}

QRect CtlBevel::GetClientRect(const QRect& r) const {
  if (mode_ == bmCustom && outer_ == bvShadow) {
    int a = width_inner_ + border_inner_;
    return r.adjusted(a, a, -ClientInset(), -ClientInset());
  }
  int w = BevelExtend();
  return r.adjusted(w, w, -w, -w);
}

QRect CtlBevel::PaintBevel(QPainter& p, const QRect& rect, bool transparent) const {
  if (BevelExtend() == 0) return rect;
  QRect r = rect;
  auto band = [&](int n) {
    if (transparent) {
      r.adjust(n, n, -n, -n);
      return;
    }
    for (int i = 0; i < n; ++i) {
      CtlFrameRect(p, r, ColorToRgb(border_color_));
      r.adjust(1, 1, -1, -1);
    }
  };
  switch (mode_) {
    case bmCustom:
      if (outer_ == bvShadow) {
        // The corner flag is set: no corner squares, as the forms always drew it.
        DrawShadowBevel(p, r, border_color_, true, width_inner_, width_outer_, border_color_, shadow_);
      } else {
        DrawBevelFrame(p, r, outer_, width_outer_, shadow_, light_);
        band(border_);
        DrawBevelFrame(p, r, inner_, width_inner_, shadow_, light_);
      }
      break;
    case bmStandard: DrawEdgeStyle(p, r, standard_, 0); break;
    case bmEdge:
      if (sides_ != 0) {
        static constexpr unsigned kEdges[] = {
            BDR_RAISEDINNER, BDR_RAISEDOUTER, BDR_SUNKENINNER, BDR_SUNKENOUTER,
            BDR_RAISEDOUTER | BDR_SUNKENINNER,  // bump
            BDR_SUNKENOUTER | BDR_RAISEDINNER,  // etched
            BDR_RAISEDOUTER | BDR_RAISEDINNER, BDR_SUNKENOUTER | BDR_SUNKENINNER};
        unsigned sides = ((sides_ & fsLeft) ? BF_LEFT : 0) | ((sides_ & fsTop) ? BF_TOP : 0) |
                         ((sides_ & fsRight) ? BF_RIGHT : 0) | ((sides_ & fsBottom) ? BF_BOTTOM : 0);
        CtlDrawEdge(p, r, kEdges[edge_], sides);
        r.adjust(2, 2, -2, -2);
      }
      break;
    case bmWindows: DrawEdgeStyle(p, r, lsLoweredExt, 0); break;
  }
  band(border_inner_);
  return r;
}

// ---- Text effects

void Ctl3DCaption::SetDisabledStyle(CtlDisabledStyle s) { Set(*this, disabled_, s); }
void Ctl3DCaption::SetLightDepth(int d) { Set(*this, light_depth_, Held(d, 0, 255)); }
void Ctl3DCaption::SetShadowDepth(int d) { Set(*this, shadow_depth_, Held(d, 0, 255)); }
void Ctl3DCaption::SetLightColor(CtlColor c) { Set(*this, light_, c); }
void Ctl3DCaption::SetShadowColor(CtlColor c) { Set(*this, shadow_, c); }
void Ctl3DCaption::SetStyle(CtlThreeDStyle s) { Set(*this, style_, s); }
void Ctl3DCaption::SetTracing(int t) { Set(*this, tracing_, t); }

void Ctl3DCaption::CopyFrom(const Ctl3DCaption& s) {
  disabled_ = s.disabled_;
  light_depth_ = s.light_depth_;
  shadow_depth_ = s.shadow_depth_;
  light_ = s.light_;
  shadow_ = s.shadow_;
  style_ = s.style_;
  tracing_ = s.tracing_;
}

void Ctl3DCaption::Assign(const CtlObject& source) {
  auto* s = dynamic_cast<const Ctl3DCaption*>(&source);
  if (!s) return CtlObject::Assign(source);
  if (s == this) return;
  Locked(*this, [&] { CopyFrom(*s); });
}

void CtlFxCaption::SetAngle(int a) { Set(*this, angle_, Held(a, 0, 360) % 360); }
void CtlFxCaption::SetPosX(int x) { Set(*this, pos_x_, static_cast<std::int16_t>(x)); }
void CtlFxCaption::SetPosY(int y) { Set(*this, pos_y_, static_cast<std::int16_t>(y)); }
void CtlFxCaption::SetPos(int x, int y) {
  const bool was = Updating();
  BeginUpdate();
  SetPosX(x);
  SetPosY(y);
  if (!was) EndUpdate(false);
}

void CtlFxCaption::Assign(const CtlObject& source) {
  auto* s = dynamic_cast<const Ctl3DCaption*>(&source);
  if (!s) return CtlObject::Assign(source);
  if (s == this) return;
  auto* fx = dynamic_cast<const CtlFxCaption*>(s);
  Locked(*this, [&] {
    CopyFrom(*s);
    if (fx) {
      angle_ = fx->angle_;
      pos_x_ = fx->pos_x_;
      pos_y_ = fx->pos_y_;
    }
  });
}

// ---- Layouts

void CtlGlyphTextLayout::SetAlignment(CtlAlignment a) { Set(*this, values_.Alignment, a); }
void CtlGlyphTextLayout::SetAlignText2Glyph(CtlTextArrange t) { Set(*this, values_.AlignText2Glyph, t); }
void CtlGlyphTextLayout::SetOffsetX(int x) { Set(*this, values_.OffsetX, x); }
void CtlGlyphTextLayout::SetOffsetY(int y) { Set(*this, values_.OffsetY, y); }
void CtlGlyphTextLayout::SetSpacing(int s) { Set(*this, values_.Spacing, s); }

void CtlGlyphTextLayout::Assign(const CtlObject& source) {
  auto* s = dynamic_cast<const CtlGlyphTextLayout*>(&source);
  if (!s) return CtlObject::Assign(source);
  if (s == this) return;
  const bool arrows = dynamic_cast<const CtlButtonLayout*>(s) && dynamic_cast<const CtlButtonLayout*>(this);
  Locked(*this, [&] {
    if (arrows) {
      values_ = s->values_;
      return;
    }
    values_.Alignment = s->values_.Alignment;
    values_.AlignText2Glyph = s->values_.AlignText2Glyph;
    values_.OffsetX = s->values_.OffsetX;
    values_.OffsetY = s->values_.OffsetY;
    values_.Spacing = s->values_.Spacing;
  });
}

void CtlButtonLayout::SetArrow(bool on) { Set(*this, values_.Arrow, on); }
void CtlButtonLayout::SetArrowColor(CtlColor c) { Set(*this, values_.ArrowColor, c); }
void CtlButtonLayout::SetArrowIndent(int i) { Set(*this, values_.ArrowIndent, i); }
void CtlButtonLayout::SetArrowPosition(CtlArrowPosition a) { Set(*this, values_.ArrowPosition, a); }
void CtlButtonLayout::SetArrowSize(int s) { Set(*this, values_.ArrowSize, Held(s, 2, 10)); }

// ---- Gradient

void CtlGradient::Changed() {
  Recalc();
  Change();
}

void CtlGradient::SetColorCount(int n) {
  n = Held(n, 2, 236);
  if (!CtlStore(count_, n)) return;
  Changed();
}
void CtlGradient::SetColor(CtlColor c) { if (CtlStore(color_, c)) Changed(); }
void CtlGradient::SetEndColor(CtlColor c) { if (CtlStore(end_, c)) Changed(); }
void CtlGradient::SetPaletteRealize(bool on) { Set(*this, palette_realize_, on); }
void CtlGradient::SetStyle(CtlGradientStyle s) { Set(*this, style_, s); }

void CtlGradient::Paint(QPainter& p, const QRect& r, unsigned flags) const {
  FillGradient(p, r, colours_, flags | (palette_realize_ ? gfPalette : 0u), style_);
}

void CtlGradient::Assign(const CtlObject& source) {
  auto* s = dynamic_cast<const CtlGradient*>(&source);
  if (!s) return CtlObject::Assign(source);
  if (s == this) return;
  Locked(*this, [&] {
    count_ = s->count_;
    color_ = s->color_;
    end_ = s->end_;
    palette_realize_ = s->palette_realize_;
    style_ = s->style_;
    Recalc();
  });
}

// ---- Caption

int CaptionTextFlags(CtlAlignment a, bool multiline, bool prefix) {
  static const int h[3] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
  static const int v[3] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
  int f = h[static_cast<int>(a) % 3] | v[static_cast<int>(a) / 3] | Qt::TextExpandTabs;
  f |= multiline ? Qt::TextWordWrap : Qt::TextSingleLine;
  f |= prefix ? Qt::TextShowMnemonic : 0;
  return f;
}

CtlCaption::CtlCaption() {
  fontfx_.OnChange = [this](CtlObject*) { FontRule(false); };
}

CtlCaption::~CtlCaption() { fontfx_.OnChange = nullptr; }

void CtlCaption::SetAlignment(CtlAlignment a) { Set(*this, alignment_, a); }
void CtlCaption::SetCaption(const QString& c) { Set(*this, caption_, c); }
void CtlCaption::SetMultiLine(bool on) { Set(*this, multiline_, on); }
void CtlCaption::SetFont(const QFont& f) { if (CtlStore(font_, f)) FontRule(true); }
void CtlCaption::SetFontColor(CtlColor c) { Set(*this, font_color_, c); }

void CtlCaption::FontRule(bool font_changed) {
  if (in_rule_) return;
  in_rule_ = true;
  if (fontfx_.Angle() != 0 && !IsTrueTypeFont(font_)) {
    if (font_changed) fontfx_.SetAngle(0);
    else font_.setFamily("Arial");
  }
  in_rule_ = false;
  Change();
}

void CtlCaption::DrawCaption(QPainter& p, const QRect& r, bool prefix, const QColor& font_colour,
                             bool enabled) const {
  const bool turned = fontfx_.Angle() != 0;
  const bool multiline = multiline_ && !turned;
  QRect place = r;
  const bool top_row = alignment_ == agTopLeft || alignment_ == agTopCenter || alignment_ == agTopRight;
  if ((turned && alignment_ != agTopLeft) || (multiline && !top_row))
    place = CalcAlignedTextRect(alignment_, font_, caption_, &fontfx_, r, multiline, prefix, 0, fontfx_.Angle());
  p.save();
  p.setFont(font_);
  DrawFxText(p, caption_, &fontfx_, nullptr, enabled ? fxEnabled : 0u, CaptionTextFlags(alignment_, multiline, prefix),
             place, font_colour, Qt::white, fontfx_.Angle());
  p.restore();
}

void CtlCaption::Assign(const CtlObject& source) {
  auto* s = dynamic_cast<const CtlCaption*>(&source);
  if (!s) return CtlObject::Assign(source);
  if (s == this) return;
  Locked(*this, [&] {
    font_ = s->font_;
    font_color_ = s->font_color_;
    fontfx_.Assign(s->fontfx_);
    alignment_ = s->alignment_;
    caption_ = s->caption_;
    multiline_ = s->multiline_;
  });
}

// ---- Fills

CtlShapeFill::CtlShapeFill() {
  gradient_.OnChange = [this](CtlObject*) { Change(); };
}

CtlShapeFill::~CtlShapeFill() { gradient_.OnChange = nullptr; }

void CtlShapeFill::SetStyle(CtlFillStyle s) { Set(*this, style_, s); }
void CtlShapeFill::SetTileMode(CtlTileMode t) { Set(*this, tile_mode_, t); }
void CtlShapeFill::SetBitmap(const QImage& b) {
  bitmap_ = b;
  Change();
}
void CtlShapeFill::SetListBitmap(const QImage& b) {
  list_bitmap_ = b;
  Change();
}

const QImage* CtlShapeFill::GetBitmap() const {
  if (style_ == sfBitmap) return &bitmap_;
  if (style_ == sfBitmapList) return &list_bitmap_;
  return nullptr;
}

bool CtlShapeFill::IsEmpty() const {
  if (style_ == sfNone) return true;
  if (const QImage* b = GetBitmap()) return b->isNull();
  return false;
}

void CtlShapeFill::CopyFrom(const CtlShapeFill& s) {
  bitmap_ = s.bitmap_;
  list_bitmap_ = s.list_bitmap_;
  gradient_.Assign(s.gradient_);
  style_ = s.style_;
  tile_mode_ = s.tile_mode_;
}

void CtlShapeFill::Assign(const CtlObject& source) {
  auto* s = dynamic_cast<const CtlShapeFill*>(&source);
  if (!s) return CtlObject::Assign(source);
  if (s == this) return;
  Locked(*this, [&] { CopyFrom(*s); });
}

void CtlFillObject::SetOptions(unsigned o) { Set(*this, options_, o & (foFillInner | foQuickDraw | foGrUseBitmap)); }
void CtlFillObject::SetBrushColor(CtlColor c) { Set(*this, brush_color_, c); }
void CtlFillObject::SetBrushStyle(Qt::BrushStyle s) { Set(*this, brush_style_, s); }
void CtlFillObject::SetAlignment(CtlAlignment a) {
  if (!CtlStore(alignment_, a)) return;
  if (MovesPicture()) Change();
}
void CtlFillObject::SetOffsetX(int x) {
  if (!CtlStore(offset_x_, x)) return;
  if (MovesPicture()) Change();
}
void CtlFillObject::SetOffsetY(int y) {
  if (!CtlStore(offset_y_, y)) return;
  if (MovesPicture()) Change();
}

bool CtlFillObject::IsTransparent() const {
  switch (style_) {
    case sfNone: return true;
    case sfBrush: return brush_style_ != Qt::SolidPattern && !(options_ & foFillInner);
    case sfBitmap:
    case sfBitmapList: return (TileMode() == tmNone || TileMode() == tmCenter) && !(options_ & foFillInner);
    default: return false;
  }
}

bool CtlFillObject::FillCanvas(QPainter& p, const QRect& r, CtlColor background) const {
  switch (style_) {
    case sfBrushBitmap:
      if (Bitmap().isNull()) return false;
      p.fillRect(r, QBrush(Bitmap()));
      return true;
    case sfBrush:
      if (brush_style_ == Qt::SolidPattern) {
        CtlFillRect(p, r, ColorToRgb(brush_color_));
        return true;
      }
      // A hatched brush draws its lines only; with foFillInner the background goes first.
      if (options_ & foFillInner) CtlFillRect(p, r, ColorToRgb(background));
      p.fillRect(r, QBrush(ColorToRgb(brush_color_), brush_style_));
      return true;
    case sfBitmap:
    case sfBitmapList: {
      const QImage* b = GetBitmap();
      if (!b || b->isNull()) return false;
      if (options_ & foFillInner) CtlFillRect(p, r, ColorToRgb(background));
      const QColor none(255, 0, 255);
      switch (TileMode()) {
        case tmNone: {
          const QRect placed = AlignRect(alignment_, b->size(), r).translated(offset_x_, offset_y_);
          DrawBitmapStyled(p, placed, *b, none, 0);
          break;
        }
        case tmCenter: DrawBitmapStyled(p, r, *b, none, dbCenter); break;
        case tmStretch: DrawBitmapStyled(p, r, *b, none, dbStretch); break;
        case tmTile: DrawBitmapStyled(p, r, *b, none, dbTile); break;
      }
      return true;
    }
    case sfGradient:
      Gradient().Paint(p, r, (options_ & foGrUseBitmap) ? gfUseBitmap : 0u);
      return true;
    case sfNone: return false;
  }
  return false;
}

bool CtlFillObject::FillClipped(QPainter& p, const QRect& r, std::uint32_t offset, CtlColor background) const {
  if (style_ == sfGradient && (options_ & foGrUseBitmap)) return FillCanvas(p, r, background);
  const QPoint shift(static_cast<std::int16_t>(offset & 0xFFFF), static_cast<std::int16_t>(offset >> 16));
  p.save();
  p.setClipRect(r.translated(shift), Qt::IntersectClip);
  const bool painted = FillCanvas(p, r, background);
  p.restore();
  return painted;
}

void CtlFillObject::Assign(const CtlObject& source) {
  auto* s = dynamic_cast<const CtlShapeFill*>(&source);
  if (!s) return CtlObject::Assign(source);
  if (s == this) return;
  auto* f = dynamic_cast<const CtlFillObject*>(s);
  Locked(*this, [&] {
    CopyFrom(*s);
    if (f) {
      options_ = f->options_;
      alignment_ = f->alignment_;
      offset_x_ = f->offset_x_;
      offset_y_ = f->offset_y_;
      brush_color_ = f->brush_color_;
      brush_style_ = f->brush_style_;
    }
  });
}

// ---- Small bar

void CtlSmallBar::SetAutosize(bool on) { Set(*this, autosize_, on); }
void CtlSmallBar::SetBarCount(int n) { Set(*this, bar_count_, Held(n, 1, 255)); }
void CtlSmallBar::SetBarColor(CtlColor c) { Set(*this, bar_color_, c); }
void CtlSmallBar::SetHSpace(int s) { Set(*this, hspace_, Held(s, 0, 255)); }
void CtlSmallBar::SetVSpace(int s) { Set(*this, vspace_, Held(s, 0, 255)); }

int CtlSmallBar::BarSize(CtlMeterDirection d, int width, int height) const {
  const bool across = d == mdHorizontal || d == mdHorizontalReverse;
  const int length = across ? width : height, space = across ? hspace_ : vspace_;
  return Round(static_cast<double>(length - space * bar_count_) / bar_count_);
}

void CtlSmallBar::Assign(const CtlObject& source) {
  auto* s = dynamic_cast<const CtlSmallBar*>(&source);
  if (!s) return CtlObject::Assign(source);
  if (s == this) return;
  Locked(*this, [&] {
    autosize_ = s->autosize_;
    bar_count_ = s->bar_count_;
    bar_color_ = s->bar_color_;
    hspace_ = s->hspace_;
    vspace_ = s->vspace_;
  });
}

// ---- Shadow

void CtlShadow::SetColor(CtlColor c) { Set(*this, color_, c); }
void CtlShadow::SetDepth(int d) { Set(*this, depth_, Held(d, 0, 40)); }
void CtlShadow::SetStyle(CtlShadowStyle s) { Set(*this, style_, s); }

void CtlShadow::Assign(const CtlObject& source) {
  auto* s = dynamic_cast<const CtlShadow*>(&source);
  if (!s) return CtlObject::Assign(source);
  if (s == this) return;
  Locked(*this, [&] {
    color_ = s->color_;
    depth_ = s->depth_;
    style_ = s->style_;
  });
}

unsigned FocusStyleFlags(int focus_style) {
  switch (focus_style) {
    case 1: return 64;
    case 2: return 128;
    case 3: return 256;
    default: return 0;
  }
}
