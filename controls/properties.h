// The look objects that controls own and publish as one property each:
// bevel, text effects, glyph-and-text layouts, gradient, caption, fills, the
// segmented bar and the drop shadow. Every setter compares, stores, then
// calls Change(), which tells the owner through OnChange; ranged values are
// held to their range. Owners create them in their constructor, hook
// OnChange, copy into them with Assign and detach the hook before freeing.
#pragma once

#include <QFont>
#include <QImage>
#include <QString>
#include <vector>

#include "controls/ctlobject.h"
#include "controls/paintkit.h"

// Edge drawn by a bevel in edge mode, and the sides it covers.
enum CtlEdgeStyle : std::uint8_t {
  etRaisedInner, etRaisedOuter, etSunkenInner, etSunkenOuter, etBump, etEtched, etRaised, etSunken
};
using CtlFrameSides = std::uint8_t;
constexpr CtlFrameSides fsBottom = 1, fsLeft = 2, fsRight = 4, fsTop = 8, fsAll = 15;

// Bevel of the controls. Widths are held to 0..50, flat bands to 0..255.
class CtlBevel : public CtlObject {
 public:
  CtlBevelStyle StyleInner() const { return inner_; }
  CtlBevelStyle StyleOuter() const { return outer_; }
  int WidthInner() const { return width_inner_; }
  int WidthOuter() const { return width_outer_; }
  CtlBevelMode Mode() const { return mode_; }
  CtlBorderStyle StandardStyle() const { return standard_; }
  int BorderWidth() const { return border_; }
  int BorderInnerWidth() const { return border_inner_; }
  CtlColor BorderColor() const { return border_color_; }
  CtlColor LightColor() const { return light_; }
  CtlColor ShadowColor() const { return shadow_; }
  CtlFrameSides BorderSides() const { return sides_; }
  CtlEdgeStyle EdgeStyle() const { return edge_; }
  // Set by windowed owners that draw their own client edge in bmWindows.
  bool WindowBorder() const { return window_border_; }

  // Coupled through bvShadow: one side set to it sets the other; leaving it clears the other.
  void SetStyleInner(CtlBevelStyle s);
  void SetStyleOuter(CtlBevelStyle s);
  void SetWidthInner(int w);
  void SetWidthOuter(int w);
  void SetMode(CtlBevelMode m);
  // Notifies only in bmStandard, where it is drawn.
  void SetStandardStyle(CtlBorderStyle s);
  void SetBorderWidth(int w);
  void SetBorderInnerWidth(int w);
  void SetBorderColor(CtlColor c);
  void SetLightColor(CtlColor c);
  void SetShadowColor(CtlColor c);
  void SetBorderSides(CtlFrameSides s);
  void SetEdgeStyle(CtlEdgeStyle e);
  void SetWindowBorder(bool on) { window_border_ = on; }
  // True (once) when bmWindows was entered or left with the window-border flag
  // set, and always while bmWindows holds with the flag.
  bool NeedsRecreate();
  // Copies every field and the window-border flag with one notification.
  void Assign(const CtlObject& source) override;
  std::string ClassName() const override { return "TCtlBevel"; }

  // Width the bevel takes on each side.
  int BevelExtend() const;
  // Inset of the client area at right and bottom (wider than BevelExtend for a shadow).
  int ClientInset() const;
  QRect GetClientRect(const QRect& r) const;
  // Draws the bevel and returns the rectangle inside; with `transparent` the
  // flat bands only shrink the rectangle.
  QRect PaintBevel(QPainter& p, const QRect& r, bool transparent) const;

 private:
  CtlBevelStyle inner_ = bvNone, outer_ = bvNone;
  int width_inner_ = 1, width_outer_ = 1;
  CtlColor border_color_ = clBtnFace;
  int border_inner_ = 0, border_ = 0;
  CtlFrameSides sides_ = fsAll;
  CtlEdgeStyle edge_ = etEtched;
  CtlColor light_ = clBtnHighlight, shadow_ = clBtnShadow;
  CtlBevelMode mode_ = bmCustom;
  CtlBorderStyle standard_ = lsSingleLowered;
  bool window_border_ = false, recreate_ = false;
};

// Text effect of labels and buttons. Depths are bytes.
class Ctl3DCaption : public CtlObject {
 public:
  CtlDisabledStyle DisabledStyle() const { return disabled_; }
  int LightDepth() const { return light_depth_; }
  int ShadowDepth() const { return shadow_depth_; }
  CtlColor LightColor() const { return light_; }
  CtlColor ShadowColor() const { return shadow_; }
  CtlThreeDStyle Style() const { return style_; }
  int Tracing() const { return tracing_; }

  void SetDisabledStyle(CtlDisabledStyle s);
  void SetLightDepth(int d);
  void SetShadowDepth(int d);
  void SetLightColor(CtlColor c);
  void SetShadowColor(CtlColor c);
  void SetStyle(CtlThreeDStyle s);
  void SetTracing(int t);
  void Assign(const CtlObject& source) override;
  std::string ClassName() const override { return "TCtl3DCaption"; }

 protected:
  void CopyFrom(const Ctl3DCaption& s);

 private:
  CtlDisabledStyle disabled_ = dsAuto;
  int light_depth_ = 1, shadow_depth_ = 1;
  CtlColor light_ = clBtnHighlight, shadow_ = clBtnShadow;
  CtlThreeDStyle style_ = tdNone;
  int tracing_ = 0;
};

// Text effect with a rotation (degrees, counter-clockwise; 360 is kept as 0).
class CtlFxCaption : public Ctl3DCaption {
 public:
  int Angle() const { return angle_; }
  int PosX() const { return pos_x_; }
  int PosY() const { return pos_y_; }
  void SetAngle(int a);
  void SetPosX(int x);
  void SetPosY(int y);
  // Both positions at once, without notification.
  void SetPos(int x, int y);
  void Assign(const CtlObject& source) override;
  std::string ClassName() const override { return "TCtlFxCaption"; }

 private:
  int angle_ = 0, pos_x_ = 0, pos_y_ = 0;
};

// Placement of glyph and text on a button.
class CtlGlyphTextLayout : public CtlObject {
 public:
  CtlAlignment Alignment() const { return values_.Alignment; }
  CtlTextArrange AlignText2Glyph() const { return values_.AlignText2Glyph; }
  int OffsetX() const { return values_.OffsetX; }
  int OffsetY() const { return values_.OffsetY; }
  int Spacing() const { return values_.Spacing; }
  void SetAlignment(CtlAlignment a);
  void SetAlignText2Glyph(CtlTextArrange t);
  void SetOffsetX(int x);
  void SetOffsetY(int y);
  void SetSpacing(int s);
  // What the glyph-and-text drawing reads.
  const GlyphTextLayoutValues& Values() const { return values_; }
  void Assign(const CtlObject& source) override;
  std::string ClassName() const override { return "TCtlGlyphTextLayout"; }

 protected:
  GlyphTextLayoutValues values_;
};

// The glyph-and-text layout of buttons, centred, with a drop-down arrow (size 2..10).
class CtlButtonLayout : public CtlGlyphTextLayout {
 public:
  CtlButtonLayout() { values_.Alignment = agCenter; }
  bool Arrow() const { return values_.Arrow; }
  CtlColor ArrowColor() const { return values_.ArrowColor; }
  int ArrowIndent() const { return values_.ArrowIndent; }
  CtlArrowPosition ArrowPosition() const { return values_.ArrowPosition; }
  int ArrowSize() const { return values_.ArrowSize; }
  void SetArrow(bool on);
  void SetArrowColor(CtlColor c);
  void SetArrowIndent(int i);
  void SetArrowPosition(CtlArrowPosition a);
  void SetArrowSize(int s);
  std::string ClassName() const override { return "TCtlButtonLayout"; }
};

// Colour ramp from Color to EndColor in ColorCount steps (2..236).
class CtlGradient : public CtlObject {
 public:
  CtlGradient() { Recalc(); }
  int ColorCount() const { return count_; }
  CtlColor Color() const { return color_; }
  CtlColor EndColor() const { return end_; }
  bool PaletteRealize() const { return palette_realize_; }  // kept; palettes do nothing here
  CtlGradientStyle Style() const { return style_; }
  const std::vector<CtlColor>& Colors() const { return colours_; }

  void SetColorCount(int n);
  void SetColor(CtlColor c);
  void SetEndColor(CtlColor c);
  void SetPaletteRealize(bool on);
  void SetStyle(CtlGradientStyle s);
  // Fills the rectangle with the ramp (gradient flags of FillGradient).
  void Paint(QPainter& p, const QRect& r, unsigned flags) const;
  void Assign(const CtlObject& source) override;
  std::string ClassName() const override { return "TCtlGradient"; }

 private:
  void Recalc() { colours_ = BuildGradientColors(color_, end_, count_); }
  void Changed();
  int count_ = 16;
  CtlColor color_ = CtlRgb(0, 0, 255), end_ = clBlack;
  bool palette_realize_ = false;
  CtlGradientStyle style_ = gstVertical;
  std::vector<CtlColor> colours_;
};

// Platform text flags (Qt alignment, wrapping, tabs, mnemonics) of a caption.
int CaptionTextFlags(CtlAlignment a, bool multiline, bool prefix);

// A caption with its font, the font's colour and effect. A rotated effect needs
// a TrueType font: a new font resets the angle; a new effect changes the font to "Arial".
class CtlCaption : public CtlObject {
 public:
  CtlCaption();
  ~CtlCaption() override;
  CtlAlignment Alignment() const { return alignment_; }
  const QString& Caption() const { return caption_; }
  const QFont& Font() const { return font_; }
  // The font's colour, which the owners that draw the caption by themselves use.
  CtlColor FontColor() const { return font_color_; }
  CtlFxCaption& FontFx() { return fontfx_; }
  const CtlFxCaption& FontFx() const { return fontfx_; }
  bool MultiLine() const { return multiline_; }
  void SetAlignment(CtlAlignment a);
  void SetCaption(const QString& c);
  void SetFont(const QFont& f);
  void SetFontColor(CtlColor c);
  void SetFontFx(const CtlFxCaption& fx) { fontfx_.Assign(fx); }
  void SetMultiLine(bool on);
  // Draws the caption in `r`; `prefix` shows "&" accelerators.
  void DrawCaption(QPainter& p, const QRect& r, bool prefix, const QColor& font_colour, bool enabled = true) const;
  void Assign(const CtlObject& source) override;
  std::string ClassName() const override { return "TCtlCaption"; }

 private:
  void FontRule(bool font_changed);
  CtlAlignment alignment_ = agCenter;
  QString caption_;
  QFont font_;
  CtlColor font_color_ = clWindowText;
  CtlFxCaption fontfx_;
  bool multiline_ = false, in_rule_ = false;
};

enum CtlFillStyle : std::uint8_t { sfNone, sfBrushBitmap, sfBrush, sfBitmap, sfBitmapList, sfGradient };
enum CtlTileMode : std::uint8_t { tmNone, tmCenter, tmStretch, tmTile };

// Fill of a shape: a brush, a picture (own or from a list) or a gradient.
class CtlShapeFill : public CtlObject {
 public:
  CtlShapeFill();
  ~CtlShapeFill() override;
  CtlFillStyle Style() const { return style_; }
  CtlTileMode TileMode() const { return tile_mode_; }
  const QImage& Bitmap() const { return bitmap_; }
  // The picture taken from an image list, set by the owning control.
  const QImage& ListBitmap() const { return list_bitmap_; }
  CtlGradient& Gradient() { return gradient_; }
  const CtlGradient& Gradient() const { return gradient_; }

  void SetStyle(CtlFillStyle s);
  void SetTileMode(CtlTileMode t);
  void SetBitmap(const QImage& b);
  void SetListBitmap(const QImage& b);
  void SetGradient(const CtlGradient& g) { gradient_.Assign(g); }

  // Bitmap for sfBitmap, the list picture for sfBitmapList, else null.
  const QImage* GetBitmap() const;
  // sfNone, or a picture style whose picture is empty.
  bool IsEmpty() const;
  void Assign(const CtlObject& source) override;
  std::string ClassName() const override { return "TCtlShapeFill"; }

 protected:
  void CopyFrom(const CtlShapeFill& s);
  CtlFillStyle style_ = sfBrush;

 private:
  CtlTileMode tile_mode_ = tmTile;
  QImage bitmap_, list_bitmap_;
  CtlGradient gradient_;
};

constexpr unsigned foFillInner = 1, foQuickDraw = 2, foGrUseBitmap = 4;

// The fill of a rectangle, with picture placement and a brush. Starts empty (sfNone).
class CtlFillObject : public CtlShapeFill {
 public:
  CtlFillObject() { style_ = sfNone; }
  unsigned Options() const { return options_; }
  CtlAlignment Alignment() const { return alignment_; }
  int OffsetX() const { return offset_x_; }
  int OffsetY() const { return offset_y_; }
  CtlColor BrushColor() const { return brush_color_; }
  Qt::BrushStyle BrushStyle() const { return brush_style_; }

  void SetOptions(unsigned o);
  // Alignment and offsets notify only while they move something: a placed picture.
  void SetAlignment(CtlAlignment a);
  void SetOffsetX(int x);
  void SetOffsetY(int y);
  void SetBrushColor(CtlColor c);
  void SetBrushStyle(Qt::BrushStyle s);

  // Whether the background behind the fill must show through.
  bool IsTransparent() const;
  // Paints the rectangle over the background colour; says whether anything was painted.
  bool FillCanvas(QPainter& p, const QRect& r, CtlColor background) const;
  // The same, clipped to `r` moved by the packed offset (x low 16 bits, y high 16 bits, signed).
  bool FillClipped(QPainter& p, const QRect& r, std::uint32_t offset, CtlColor background) const;
  void Assign(const CtlObject& source) override;
  std::string ClassName() const override { return "TCtlFillObject"; }

 private:
  bool MovesPicture() const { return (style_ == sfBitmap || style_ == sfBitmapList) && TileMode() == tmNone; }
  unsigned options_ = foFillInner | foGrUseBitmap;
  CtlAlignment alignment_ = agTopLeft;
  int offset_x_ = 0, offset_y_ = 0;
  CtlColor brush_color_ = clWhite;
  Qt::BrushStyle brush_style_ = Qt::SolidPattern;
};

enum CtlMeterDirection : std::uint8_t { mdHorizontal, mdVertical, mdHorizontalReverse, mdVerticalReverse };

// The segmented bar of the progress control. BarCount is at least 1; spaces are bytes.
class CtlSmallBar : public CtlObject {
 public:
  bool Autosize() const { return autosize_; }
  int BarCount() const { return bar_count_; }
  CtlColor BarColor() const { return bar_color_; }
  int HSpace() const { return hspace_; }
  int VSpace() const { return vspace_; }
  void SetAutosize(bool on);
  void SetBarCount(int n);
  void SetBarColor(CtlColor c);
  void SetHSpace(int s);
  void SetVSpace(int s);
  // Length of one segment for a bar of that size along the direction.
  int BarSize(CtlMeterDirection d, int width, int height) const;
  void Assign(const CtlObject& source) override;
  std::string ClassName() const override { return "TCtlSmallBar"; }

 private:
  bool autosize_ = true;
  int bar_count_ = 10;
  CtlColor bar_color_ = clNavy;
  int hspace_ = 3, vspace_ = 3;
};

// Drop shadow of a form or a hint; depth 0..40.
class CtlShadow : public CtlObject {
 public:
  CtlColor Color() const { return color_; }
  int Depth() const { return depth_; }
  CtlShadowStyle Style() const { return style_; }
  void SetColor(CtlColor c);
  void SetDepth(int d);
  void SetStyle(CtlShadowStyle s);
  void Assign(const CtlObject& source) override;
  std::string ClassName() const override { return "TCtlShadow"; }

 private:
  CtlColor color_ = clBtnShadow;
  int depth_ = 6;
  CtlShadowStyle style_ = hssSolid;
};

// Focus style of check boxes and radio buttons (1 text, 2 glyph, 3 both) as
// focus flags of the glyph-and-text layout.
unsigned FocusStyleFlags(int focus_style);
