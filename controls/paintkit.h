// Colours, painting routines and look objects shared by the controls of the
// main window and the about box: platform colour values, bevel and edge
// frames, button faces, effect text and bitmap placement. All painting is
// pixel exact (no antialiasing); rectangles exclude their right and bottom edges.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

// Platform colour value: 0x00BBGGRR, or 0x80000000 + n for system colour n.
using CtlColor = std::uint32_t;

constexpr CtlColor clSystemColor = 0x80000000u;
constexpr CtlColor clNone = 0x1FFFFFFFu;
constexpr CtlColor clBlack = 0x000000u;
constexpr CtlColor clWhite = 0xFFFFFFu;
constexpr CtlColor clNavy = 0x800000u;
constexpr CtlColor clPurple = 0x800080u;
constexpr CtlColor clBlue = 0xFF0000u;
constexpr CtlColor clOlive = 0x008080u;
constexpr CtlColor clGreen = 0x008000u;
constexpr CtlColor clYellow = 0x00FFFFu;
// "Default": the picture's or control's own colour, resolved by the routine that takes it.
constexpr CtlColor clDefault = 0x20000000u;
constexpr CtlColor clScrollBar = clSystemColor + 0;
constexpr CtlColor clActiveCaption = clSystemColor + 2;
constexpr CtlColor clInactiveCaption = clSystemColor + 3;
constexpr CtlColor clWindow = clSystemColor + 5;
constexpr CtlColor clWindowFrame = clSystemColor + 6;
constexpr CtlColor clWindowText = clSystemColor + 8;
constexpr CtlColor clCaptionText = clSystemColor + 9;
constexpr CtlColor clAppWorkSpace = clSystemColor + 12;
constexpr CtlColor clHighlight = clSystemColor + 13;
constexpr CtlColor clHighlightText = clSystemColor + 14;
constexpr CtlColor clBtnFace = clSystemColor + 15;
constexpr CtlColor clBtnShadow = clSystemColor + 16;
constexpr CtlColor clGrayText = clSystemColor + 17;
constexpr CtlColor clBtnText = clSystemColor + 18;
constexpr CtlColor clBtnHighlight = clSystemColor + 20;
constexpr CtlColor cl3DDkShadow = clSystemColor + 21;
constexpr CtlColor cl3DLight = clSystemColor + 22;
constexpr CtlColor clInfoText = clSystemColor + 23;
constexpr CtlColor clInfoBk = clSystemColor + 24;
constexpr CtlColor clInactiveCaptionText = clSystemColor + 19;
constexpr CtlColor clGradientActiveCaption = clSystemColor + 27;
constexpr CtlColor clGradientInactiveCaption = clSystemColor + 28;

constexpr CtlColor CtlRgb(int r, int g, int b) {
  return static_cast<CtlColor>((r & 255) | ((g & 255) << 8) | ((b & 255) << 16));
}

// System colours come from a fixed classic table, never from the desktop's palette.
QColor ColorToRgb(CtlColor c);
CtlColor QColorToCtl(const QColor& c);

// Pixel-exact primitives (GDI rules: right and bottom edges excluded).
void CtlFillRect(QPainter& p, const QRect& r, const QColor& c);
void CtlFrameRect(QPainter& p, const QRect& r, const QColor& c);
void CtlLine(QPainter& p, int x0, int y0, int x1, int y1, const QColor& c);  // end pixel excluded
void CtlPolygon(QPainter& p, const QPolygon& poly, const QColor& c);
// Prepares a painter for exact pixels: no antialiasing of shapes or text.
void CtlPreparePainter(QPainter& p);

enum CtlBevelStyle : std::uint8_t { bvNone, bvLowered, bvRaised, bvFrameLowered, bvFrameRaised, bvNormal, bvShadow };
enum CtlBevelMode : std::uint8_t { bmCustom, bmStandard, bmEdge, bmWindows };
enum CtlBorderStyle : std::uint8_t {
  lsNone, lsSingle, lsLowered, lsRaised, lsRaisedspb, lsLoweredspb, lsRaisedExt, lsLoweredExt,
  lsFrameInset, lsFrameOffset, lsWindowBorder, lsSingleRaised, lsSingleLowered, lsDoubleRaised, lsDoubleLowered
};
enum CtlAlignment : std::uint8_t {
  agTopLeft, agTopCenter, agTopRight, agCenterLeft, agCenter, agCenterRight, agBottomLeft, agBottomCenter, agBottomRight
};
enum CtlThreeDStyle : std::uint8_t {
  tdNone, tdSunken, tdRaised, tdSunkenShadow, tdRaisedShadow, tdPColorSunken, tdPColorRaised, tdShadow
};
enum CtlDisabledStyle : std::uint8_t { dsAuto, dsStandard, ds3d, dsNone };
enum CtlUserButtonStyle : std::uint8_t {
  ubsAutoDetect, ubsWin31, ubsWin40, ubsTarnel, ubsTarnelFlat, ubsFlat, ubsFlatUnColored, ubsNavigator,
  ubsExplorer, ubsExplorerColored, ubsIntegrated
};
enum CtlShadowStyle : std::uint8_t { hssNone, hssSolid, hssTracing };
enum CtlBitmapStyle : std::uint8_t { sbNone, sbAutosize, sbCenter, sbStretch, sbTile, sbKeepAspRatio, sbKeepWidth, sbKeepHeight };

// Edge kinds and flags of the platform's edge drawing.
constexpr unsigned BDR_RAISEDOUTER = 1, BDR_SUNKENOUTER = 2, BDR_RAISEDINNER = 4, BDR_SUNKENINNER = 8;
constexpr unsigned BF_LEFT = 1, BF_TOP = 2, BF_RIGHT = 4, BF_BOTTOM = 8, BF_RECT = 15, BF_MIDDLE = 0x800,
                   BF_SOFT = 0x1000, BF_ADJUST = 0x2000;
void CtlDrawEdge(QPainter& p, QRect& r, unsigned edge, unsigned flags);

bool DrawBevelFrame(QPainter& p, QRect& r, CtlBevelStyle style, int d, CtlColor a, CtlColor b);
int BorderStyleWidth(CtlBorderStyle style);
bool DrawEdgeStyle(QPainter& p, QRect& r, CtlBorderStyle style, unsigned extra);
QRect AlignRect(CtlAlignment a, QSize inner, const QRect& outer);

// a × b / c with a 64-bit product, rounded to nearest with halves away from
// zero; -1 when c is 0 or the result does not fit 32 bits.
int MulDiv(int a, int b, int c);

// Shadow bands of depth s at the right and bottom, corner squares in the corner
// colour unless `corner`, then w frames; the rectangle shrinks accordingly.
bool DrawShadowBevel(QPainter& p, QRect& r, CtlColor frame, bool corner, int w, int s, CtlColor corner_colour,
                     CtlColor shadow_colour);
// Solid arrow of size n (2..15) pointing down or up; disabled arrows are embossed.
void DrawArrow(QPainter& p, int x, int y, bool enabled, bool down, CtlColor colour, int n);

// Bitmap placement flags (the copy flags 0x40, 0x80 and 0x100 exclude each other, highest first).
constexpr unsigned dbClip = 1, dbCenter = 8, dbStretch = 16, dbTile = 32, dbTransparent = 0x40, dbObject = 0x80,
                   dbMasked = 0x100, dbKeepHeight = 0x200, dbKeepWidth = 0x400, dbKeepAspect = 0x600,
                   dbPalette = 0x1000;
// The one placement routine. `source_rect` of `source` is placed in `target`
// by the flags and copied plainly, through `mask` (dbMasked, white = keep what
// is there), split by `transparent` first (dbTransparent), or, with dbObject,
// the whole `source` stretched into each cell. Returns the rectangle covered;
// the target itself when nothing is placed or the source is empty.
QRect DrawBitmapStyled(QPainter& p, const QRect& target, const QImage& source, const QRect& source_rect,
                       const QImage* mask, CtlColor transparent, unsigned flags);
// The whole image as source, without mask.
QRect DrawBitmapStyled(QPainter& p, const QRect& target, const QImage& img, QColor transparent, unsigned flags);
QRect DrawBitmap(QPainter& p, const QRect& target, const QImage& bmp, CtlColor transparent, unsigned flags);
// With dbClip the painting is clipped to the target moved by the packed offset
// (x in the low 16 bits, y in the high 16 bits, both signed).
QRect DrawBitmapClipped(QPainter& p, const QRect& target, const QImage& source, const QRect& source_rect,
                        const QImage* mask, CtlColor transparent, std::uint32_t offset, unsigned flags);
QRect DrawBitmapExt(QPainter& p, const QRect& target, const QImage& bmp, CtlColor transparent, std::uint32_t offset,
                    unsigned flags);
// Copies `picture` (its `picture_transparent` pixels left out) into `buffer`,
// then draws the buffer into `r` with `final_transparent` as see-through colour.
void DrawMaskedThroughBuffer(QPainter& p, const QRect& r, const QImage& picture, CtlColor final_transparent,
                             CtlColor picture_transparent, QImage& buffer);
// ANDs the 8 × 8 pattern into `r`; the pattern is aligned to the device's top left.
void CreateShadowPatternBrush(QPainter& p, const QRect& r, const QImage& pattern);

// `bmp` takes the rectangle's size, filled with the colour; an empty rectangle does nothing.
void FillBitmap(QImage& bmp, const QRect& r, CtlColor colour);
// Monochrome mask, white exactly at the transparent pixels, and a copy of the
// source that is black there.
void SplitImageMask(const QImage& source, QImage& mask, QImage& image, CtlColor transparent);
// Disabled look of a glyph (transparent colour: its lower-left pixel): its
// other pixels in the button shadow at (x, y) over a highlight copy at (x + 1, y + 1).
void MakeDisabledGlyph(QImage& target, const QImage& glyph, int x, int y);
// Copy of `img` whose non-background pixels are recoloured by brightness (the disabled look).
QImage MakeEmbossedImage(const QImage& img);

enum CtlGradientStyle : std::uint8_t {
  gstHorizontal, gstVertical, gstSquare, gstElliptic, gstTopLeft, gstTopRight, gstBottomLeft, gstBottomRight
};
// n colours from start to end (RGB channels each by MulDiv); 1 gives the start, 0 or less none.
std::vector<CtlColor> BuildGradientColors(CtlColor start, CtlColor end, int n);
// Palettes do nothing on a true-colour display: answers whether there is a list to build one from.
bool CreateColorPalette(const std::vector<CtlColor>* list);
// Gradient flags: 1 clip (to the rectangle moved by `offset`), 4 through an off-screen image.
constexpr unsigned gfClip = 1, gfUseBitmap = 4, gfPalette = 0x1000;
void FillGradient(QPainter& p, const QRect& r, const std::vector<CtlColor>& colours, unsigned flags,
                  CtlGradientStyle style, QPoint offset = QPoint());

// Text effect of labels and buttons (controls/properties.h).
class Ctl3DCaption;

// State flags of DrawFxText: 2 enabled, 4 auto-3d when disabled, 8 clip.
constexpr unsigned fxEnabled = 2, fxAuto3d = 4, fxClip = 8;
// One layer of effect text: its offset and colour.
struct FxLayer {
  int offset;
  QColor colour;
  bool text;  // the text itself (font colour) rather than light or shadow
};
// The layers drawn for an effect, in painting order, and how far the bottom is raised.
std::vector<FxLayer> FxTextLayers(const Ctl3DCaption* fx, bool enabled, unsigned state, const QColor& font_colour,
                                  const QColor& brush_colour, int* raise = nullptr);
// A non-zero angle (degrees, counter-clockwise) turns the text about the
// rectangle's top left.
void DrawFxText(QPainter& p, const QString& text, const Ctl3DCaption* fx, const QRect* clip, unsigned state,
                int text_flags, const QRect& r, const QColor& font_colour, const QColor& brush_colour = Qt::white,
                int angle = 0);
// Measures a caption into `r` (its top left kept): the text with the flags
// (word wrap at r's width when multi-line, mnemonics with `prefix`), an empty
// text or a lone "&" as one blank, the box of the turned text for an angle,
// the effect's depths, and (border + 1) × 2 more at right and bottom.
void DrawLabelText(const QFont& f, const Ctl3DCaption* fx, QRect& r, const QString& text, bool multiline, bool prefix,
                   int extra_flags, int border, int angle = 0);
// Size of the text with the effect's depths; `limit` > 0 wraps at that width.
QSize CalcTextSize(const QFont& f, const QString& text, const Ctl3DCaption* fx, int limit, int border = 0,
                   bool prefix = false, int angle = 0);
// The measured caption placed in `outer` by the alignment.
QRect CalcAlignedTextRect(CtlAlignment a, const QFont& f, const QString& text, const Ctl3DCaption* fx,
                          const QRect& outer, bool multiline, bool prefix, int border, int angle = 0);
// True for every scalable font unless a test says otherwise.
bool IsTrueTypeFont(const QFont& f);
void SetTrueTypeTestHook(std::function<bool(const QFont&)> hook);  // null restores the real answer

enum CtlTextArrange : std::uint8_t { taLeft, taLeftTop, taRight, taRightTop, taTop, taTopLeft, taBottom, taBottomLeft };
enum CtlArrowPosition : std::uint8_t { apRightText, apLeftText, apRightGlyph, apLeftGlyph };
// The values of a glyph-and-text layout (and its drop-down arrow) that the layout routine reads.
struct GlyphTextLayoutValues {
  CtlAlignment Alignment = agTopLeft;
  CtlTextArrange AlignText2Glyph = taRight;
  int OffsetX = 0, OffsetY = 0;
  int Spacing = 2;
  bool Arrow = false;
  CtlColor ArrowColor = clBlack;
  int ArrowIndent = 3;
  CtlArrowPosition ArrowPosition = apRightText;
  int ArrowSize = 3;
};
// The same layout read right to left: left and right swapped in the
// alignment, the text's side of the glyph, the arrow's side and OffsetX.
GlyphTextLayoutValues MirroredLayout(const GlyphTextLayoutValues& v);
// Layout state flags: 2 enabled, 0x20 text without the one-pixel shift, focus
// rectangle of the text (0x40), the glyph (0x80) or both (0x100), 0x200 measure only.
constexpr unsigned glEnabled = 2, glNoShift = 0x20, glFocusText = 0x40, glFocusGlyph = 0x80, glFocusBoth = 0x100,
                   glMeasure = 0x200;
// Where the pieces go: the text as drawn, the glyph, the arrow's top left.
struct GlyphTextPlaces {
  QRect text, glyph;
  QPoint arrow;
  QRect focus;
};
GlyphTextPlaces PlaceGlyphText(const QFont& f, const QString& text, const Ctl3DCaption* fx,
                               const GlyphTextLayoutValues& layout, bool has_glyph, unsigned state, int text_flags,
                               const QRect& glyph_rect, const QRect& r);
// Draws glyph (source rectangle `glyph_rect` of `glyph`, through `mask` or
// without its `transparent` pixels), caption and arrow; returns the focus rectangle.
QRect DrawGlyphTextLayout(QPainter& p, const QString& text, const Ctl3DCaption* fx, const GlyphTextLayoutValues& layout,
                          const QImage* glyph, const QImage* mask, CtlColor transparent, unsigned state,
                          int text_flags, const QRect& glyph_rect, const QRect& r, const QColor& font_colour);

// Button face; returns the rectangle left for glyph and caption.
QRect DrawButtonFace(QPainter& p, bool hot, QRect r, CtlColor colour, unsigned flags, int state,
                     CtlUserButtonStyle style);
