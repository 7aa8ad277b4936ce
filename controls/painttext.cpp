// Text with 3D effects, caption measuring and the placement of a glyph, a
// caption and a drop-down arrow inside a button.
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <algorithm>
#include <cmath>

#include "controls/properties.h"
#include "platform/arrondi.h"

namespace {

std::function<bool(const QFont&)>& TrueTypeHook() {
  static std::function<bool(const QFont&)> hook;
  return hook;
}

// Bounding box of a w × h rectangle turned by `angle` degrees.
QSize TurnedSize(int w, int h, int angle) {
  if (angle == 0) return QSize(w, h);
  const double a = angle * 0.017453292519943295;
  const int hw = w / 2, hh = h / 2;
  const int x1 = Round(hw * std::cos(a) - hh * std::sin(a)), x2 = Round(hw * std::cos(a) + hh * std::sin(a));
  const int y1 = Round(hw * std::sin(a) - hh * std::cos(a)), y2 = Round(hw * std::sin(a) + hh * std::cos(a));
  const int xs[] = {-x1, x1, -x2, x2}, ys[] = {-y1, y1, -y2, y2};
  const auto [xl, xh] = std::minmax_element(std::begin(xs), std::end(xs));
  const auto [yl, yh] = std::minmax_element(std::begin(ys), std::end(ys));
  return QSize(*xh - *xl, *yh - *yl);
}

int EffectGrowth(const Ctl3DCaption* fx) {
  if (!fx) return 0;
  switch (fx->Style()) {
    case tdNone: return 0;
    case tdSunken:
    case tdRaised: return fx->LightDepth();
    case tdShadow: return fx->ShadowDepth();
    default: return fx->LightDepth() + fx->ShadowDepth();
  }
}

}  // namespace

std::vector<FxLayer> FxTextLayers(const Ctl3DCaption* fx, bool enabled, unsigned state, const QColor& font_colour,
                                  const QColor& brush_colour, int* raise) {
  std::vector<FxLayer> layers;
  if (raise) *raise = 0;
  if (!fx) {
    layers.push_back({0, font_colour, true});
    return layers;
  }
  CtlThreeDStyle style = fx->Style();
  QColor text = font_colour;
  if (style == tdPColorSunken || style == tdPColorRaised) text = brush_colour;
  if (!enabled && fx->DisabledStyle() != dsNone) {
    text = ColorToRgb(clGrayText);
    if (fx->DisabledStyle() == ds3d || (fx->DisabledStyle() == dsAuto && (state & fxAuto3d))) style = tdSunken;
  }
  int L = fx->LightDepth(), S = fx->ShadowDepth();
  QColor light = ColorToRgb(fx->LightColor()), shadow = ColorToRgb(fx->ShadowColor());
  int r = 0;
  switch (style) {
    case tdNone: layers = {{0, text, true}}; break;
    case tdSunken: layers = {{L, light, false}, {0, text, true}}; r = L; break;
    case tdRaised: layers = {{0, light, false}, {L, text, true}}; r = L; break;
    case tdSunkenShadow:
    case tdPColorSunken: layers = {{0, shadow, false}, {L + S, light, false}, {S, text, true}}; r = L + S; break;
    case tdRaisedShadow:
    case tdPColorRaised: layers = {{L + S, shadow, false}, {0, light, false}, {L, text, true}}; r = L + S; break;
    case tdShadow: layers = {{S, shadow, false}, {0, text, true}}; r = S; break;
  }
  if (raise) *raise = r;
  return layers;
}

void DrawFxText(QPainter& p, const QString& text, const Ctl3DCaption* fx, const QRect* clip, unsigned state,
                int text_flags, const QRect& r, const QColor& font_colour, const QColor& brush_colour, int angle) {
  if (text.isEmpty() || r.width() <= 0 || r.height() <= 0) return;
  p.save();
  p.setBrush(Qt::NoBrush);
  if (state & fxClip) p.setClipRect(clip ? *clip : r, Qt::IntersectClip);
  QRect rect = r;
  if (auto* fxc = dynamic_cast<const CtlFxCaption*>(fx)) rect.translate(fxc->PosX(), fxc->PosY());
  if (fx && fx->Tracing() != 0) {
    QFont f = p.font();
    f.setLetterSpacing(QFont::AbsoluteSpacing, fx->Tracing());
    p.setFont(f);
  }
  int raise = 0;
  auto layers = FxTextLayers(fx, state & fxEnabled, state, font_colour, brush_colour, &raise);
  QRect base = rect;
  base.setBottom(base.bottom() - raise);
  const int ascent = QFontMetrics(p.font()).ascent();
  for (const auto& layer : layers) {
    p.setPen(layer.colour);
    if (angle != 0) {
      // The turned text starts at the rectangle's top left.
      p.save();
      p.translate(base.topLeft() + QPoint(layer.offset, layer.offset));
      p.rotate(-angle);
      p.drawText(QPoint(0, ascent), text);
      p.restore();
    } else {
      p.drawText(base.translated(layer.offset, layer.offset), text_flags, text);
    }
  }
  p.restore();
}

void DrawLabelText(const QFont& f, const Ctl3DCaption* fx, QRect& r, const QString& text, bool multiline, bool prefix,
                   int extra_flags, int border, int angle) {
  const QFontMetrics fm(f);
  const QString t = (text.isEmpty() || (prefix && text == QStringLiteral("&"))) ? QStringLiteral(" ") : text;
  int flags = (extra_flags & ~Qt::AlignmentFlag::AlignHorizontal_Mask & ~Qt::AlignmentFlag::AlignVertical_Mask) |
              Qt::TextExpandTabs | (multiline ? Qt::TextWordWrap : Qt::TextSingleLine);
  flags = prefix ? (flags | Qt::TextShowMnemonic) : (flags & ~Qt::TextShowMnemonic & ~Qt::TextHideMnemonic);
  const QRect box = fm.boundingRect(QRect(0, 0, multiline ? std::max(r.width(), 0) : 0, 0), flags, t);
  QSize size = TurnedSize(box.width(), box.height(), angle);
  const int grow = EffectGrowth(fx) + (border + 1) * 2;
  r = QRect(r.topLeft(), QSize(size.width() + grow, size.height() + grow));
}

QSize CalcTextSize(const QFont& f, const QString& text, const Ctl3DCaption* fx, int limit, int border, bool prefix,
                   int angle) {
  QRect r(0, 0, std::max(limit, 0), 0);
  DrawLabelText(f, fx, r, text, limit > 0, prefix, 0, border, angle);
  return r.size();
}

QRect CalcAlignedTextRect(CtlAlignment a, const QFont& f, const QString& text, const Ctl3DCaption* fx,
                          const QRect& outer, bool multiline, bool prefix, int border, int angle) {
  QRect r(0, 0, outer.width(), 0);
  DrawLabelText(f, fx, r, text, multiline, prefix, 0, border, angle);
  return AlignRect(a, r.size(), outer);
}

bool IsTrueTypeFont(const QFont& f) {
  if (TrueTypeHook()) return TrueTypeHook()(f);
  const QFontInfo info(f);
  return QFontDatabase::isScalable(info.family(), info.styleName());
}

void SetTrueTypeTestHook(std::function<bool(const QFont&)> hook) { TrueTypeHook() = std::move(hook); }

GlyphTextLayoutValues MirroredLayout(const GlyphTextLayoutValues& v) {
  GlyphTextLayoutValues m = v;
  static constexpr CtlAlignment kAlignment[] = {agTopRight,  agTopCenter,    agTopLeft,
                                                agCenterRight, agCenter,     agCenterLeft,
                                                agBottomRight, agBottomCenter, agBottomLeft};
  m.Alignment = kAlignment[v.Alignment];
  switch (v.AlignText2Glyph) {
    case taLeft: m.AlignText2Glyph = taRight; break;
    case taLeftTop: m.AlignText2Glyph = taRightTop; break;
    case taRight: m.AlignText2Glyph = taLeft; break;
    case taRightTop: m.AlignText2Glyph = taLeftTop; break;
    default: break;  // stacked: taTopLeft and taBottomLeft have no right-hand twin
  }
  static constexpr CtlArrowPosition kArrow[] = {apLeftText, apRightText, apLeftGlyph, apRightGlyph};
  m.ArrowPosition = kArrow[v.ArrowPosition];
  m.OffsetX = -v.OffsetX;
  return m;
}

GlyphTextPlaces PlaceGlyphText(const QFont& f, const QString& text, const Ctl3DCaption* fx,
                               const GlyphTextLayoutValues& layout, bool has_glyph, unsigned state, int text_flags,
                               const QRect& glyph_rect, const QRect& r) {
  const bool has_text = !text.isEmpty();
  QSize ts(0, 0);
  if (has_text) {
    QRect m(0, 0, r.width(), 0);
    DrawLabelText(f, fx, m, text, text_flags & Qt::TextWordWrap, text_flags & Qt::TextShowMnemonic, text_flags, 0);
    ts = m.size();
  }
  const QSize gs = has_glyph ? glyph_rect.size() : QSize(0, 0);
  // The arrow widens the text's or the glyph's slot.
  const int n = layout.ArrowSize;
  const int aw = layout.Arrow ? 2 * n - 1 + layout.ArrowIndent : 0;
  const bool arrow_by_text = layout.ArrowPosition == apRightText || layout.ArrowPosition == apLeftText;
  const QSize tslot(ts.width() + (arrow_by_text ? aw : 0), std::max(ts.height(), layout.Arrow && arrow_by_text ? n : 0));
  const QSize gslot(gs.width() + (arrow_by_text ? 0 : aw), std::max(gs.height(), layout.Arrow && !arrow_by_text ? n : 0));
  const int spacing = (has_text && has_glyph) ? layout.Spacing : 0;

  const CtlTextArrange arrange = layout.AlignText2Glyph;
  const bool beside = arrange <= taRightTop;
  const QSize block = beside ? QSize(gslot.width() + spacing + tslot.width(), std::max(gslot.height(), tslot.height()))
                             : QSize(std::max(gslot.width(), tslot.width()), gslot.height() + spacing + tslot.height());
  const QRect placed = AlignRect(layout.Alignment, block, r).translated(layout.OffsetX, layout.OffsetY);
  const int l = placed.left(), t = placed.top();
  QPoint gp, tp;
  switch (arrange) {
    case taLeft:
    case taLeftTop:
      tp = QPoint(l, t + (block.height() - tslot.height()) / 2);
      gp = QPoint(l + tslot.width() + spacing, arrange == taLeftTop ? t : t + (block.height() - gslot.height()) / 2);
      break;
    case taRight:
    case taRightTop:
      gp = QPoint(l, arrange == taRightTop ? t : t + (block.height() - gslot.height()) / 2);
      tp = QPoint(l + gslot.width() + spacing, t + (block.height() - tslot.height()) / 2);
      break;
    case taTop:
    case taTopLeft:
      tp = QPoint(l + (block.width() - tslot.width()) / 2, t);
      gp = QPoint(arrange == taTopLeft ? l : l + (block.width() - gslot.width()) / 2, t + tslot.height() + spacing);
      break;
    case taBottom:
    case taBottomLeft:
      gp = QPoint(arrange == taBottomLeft ? l : l + (block.width() - gslot.width()) / 2, t);
      tp = QPoint(l + (block.width() - tslot.width()) / 2, t + gslot.height() + spacing);
      break;
  }
  // Inside its slot each piece leaves the arrow's room at the named side.
  const QRect slot = QRect(arrow_by_text ? tp : gp, arrow_by_text ? tslot : gslot);
  const bool arrow_left = layout.ArrowPosition == apLeftText || layout.ArrowPosition == apLeftGlyph;
  const int shift = layout.Arrow && arrow_left ? aw : 0;
  GlyphTextPlaces out;
  if (has_text) out.text = QRect(tp + QPoint(arrow_by_text ? shift : 0, (tslot.height() - ts.height()) / 2), ts);
  if (has_glyph) out.glyph = QRect(gp + QPoint(arrow_by_text ? 0 : shift, (gslot.height() - gs.height()) / 2), gs);
  if (!(state & glNoShift) && has_text) out.text.translate(1, 1);
  if (layout.Arrow) {
    const int ax = arrow_left ? slot.left() : slot.left() + slot.width() - (2 * n - 1);
    out.arrow = QPoint(ax, slot.top() + (slot.height() - n) / 2);
  }
  const unsigned focus = (state & glMeasure) ? (state | glFocusBoth) : state;
  if (focus & glFocusText) out.focus = out.text.adjusted(-1, -1, 1, 1);
  else if (focus & glFocusGlyph) out.focus = out.glyph;
  else if (focus & glFocusBoth) out.focus = out.text.united(out.glyph).adjusted(-1, -1, 1, 1);
  else out.focus = r.adjusted(1, 1, -1, -1);
  return out;
}

QRect DrawGlyphTextLayout(QPainter& p, const QString& text, const Ctl3DCaption* fx, const GlyphTextLayoutValues& layout,
                          const QImage* glyph, const QImage* mask, CtlColor transparent, unsigned state,
                          int text_flags, const QRect& glyph_rect, const QRect& r, const QColor& font_colour) {
  const bool has_glyph = glyph && !glyph->isNull() && glyph_rect.width() > 0 && glyph_rect.height() > 0;
  const GlyphTextPlaces at =
      PlaceGlyphText(p.font(), text, fx, layout, has_glyph, state, text_flags, glyph_rect, r);
  if (state & glMeasure) return at.focus;
  if (has_glyph) {
    const unsigned how = mask ? dbMasked : (transparent != clNone ? dbTransparent : 0);
    DrawBitmapStyled(p, at.glyph, *glyph, glyph_rect, mask, transparent, how);
  }
  if (!text.isEmpty()) DrawFxText(p, text, fx, nullptr, state & (fxEnabled | fxAuto3d), text_flags, at.text, font_colour);
  if (layout.Arrow)
    DrawArrow(p, at.arrow.x(), at.arrow.y(), state & glEnabled, true, layout.ArrowColor, layout.ArrowSize);
  return at.focus;
}
