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
constexpr CtlColor clScrollBar = clSystemColor + 0;
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

// Bitmap placement flags.
constexpr unsigned dbCenter = 8, dbStretch = 16, dbTile = 32, dbTransparent = 0x40;
// Draws `img` into `target` by the flags; returns the rectangle covered (the target when nothing).
QRect DrawBitmapStyled(QPainter& p, const QRect& target, const QImage& img, QColor transparent, unsigned flags);
// Copy of `img` whose non-background pixels are recoloured by brightness (the disabled look).
QImage MakeEmbossedImage(const QImage& img);

// Text effect of labels and buttons.
class Ctl3DCaption {
 public:
  virtual ~Ctl3DCaption() = default;
  CtlDisabledStyle DisabledStyle = dsAuto;
  int LightDepth = 1;
  int ShadowDepth = 1;
  CtlColor LightColor = clBtnHighlight;
  CtlColor ShadowColor = clBtnShadow;
  CtlThreeDStyle Style = tdNone;
  int Tracing = 0;
};
class CtlFxCaption : public Ctl3DCaption {
 public:
  int PosX = 0, PosY = 0;  // rotation is not used by these forms
};

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
void DrawFxText(QPainter& p, const QString& text, const Ctl3DCaption* fx, const QRect* clip, unsigned state,
                int text_flags, const QRect& r, const QColor& font_colour, const QColor& brush_colour = Qt::white);
// Size of the text with the effect's depths; `limit` > 0 wraps at that width.
QSize CalcTextSize(const QFont& f, const QString& text, const Ctl3DCaption* fx, int limit, int border = 0);

// Button face; returns the rectangle left for glyph and caption.
QRect DrawButtonFace(QPainter& p, bool hot, QRect r, CtlColor colour, unsigned flags, int state,
                     CtlUserButtonStyle style);

// Edge drawn by a bevel in edge mode, and the sides it covers.
enum CtlEdgeStyle : std::uint8_t {
  etRaisedInner, etRaisedOuter, etSunkenInner, etSunkenOuter, etBump, etEtched, etRaised, etSunken
};
using CtlFrameSides = std::uint8_t;
constexpr CtlFrameSides fsBottom = 1, fsLeft = 2, fsRight = 4, fsTop = 8, fsAll = 15;

// Bevel of the controls. Widths are held to 0..50, flat bands to 0..255.
class CtlBevel {
 public:
  std::function<void()> OnChange;

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

  void SetStyleInner(CtlBevelStyle s);
  void SetStyleOuter(CtlBevelStyle s);
  void SetWidthInner(int w);
  void SetWidthOuter(int w);
  void SetMode(CtlBevelMode m);
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
  void Assign(const CtlBevel& source);

  // Width the bevel takes on each side.
  int BevelExtend() const;
  // Inset of the client area at right and bottom (wider than BevelExtend for a shadow).
  int ClientInset() const;
  QRect GetClientRect(const QRect& r) const;
  QRect PaintBevel(QPainter& p, const QRect& r, bool transparent) const;

  void BeginUpdate() { ++lock_; }
  void EndUpdate(bool notify) {
    if (lock_ > 0) --lock_;
    if (notify) Change();
  }

 private:
  void Change();
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
  int lock_ = 0;
};

// Drop shadow of a form or a hint.
struct CtlShadow {
  CtlColor Color = clBtnShadow;
  int Depth = 6;
  CtlShadowStyle Style = hssSolid;
};
