// The fill of a rectangle: a solid brush or a picture (placed, centred,
// stretched or tiled). Controls own one and hook OnChange to repaint.
#pragma once

#include <QImage>
#include <functional>

#include "controls/paintkit.h"

enum CtlFillStyle : std::uint8_t { sfNone, sfBrushBitmap, sfBrush, sfBitmap, sfBitmapList, sfGradient };
enum CtlTileMode : std::uint8_t { tmNone, tmCenter, tmStretch, tmTile };
constexpr unsigned foFillInner = 1, foQuickDraw = 2, foGrUseBitmap = 4;

class CtlFillObject {
 public:
  std::function<void()> OnChange;

  CtlFillStyle Style() const { return style_; }
  CtlTileMode TileMode() const { return tile_mode_; }
  unsigned Options() const { return options_; }
  CtlAlignment Alignment() const { return alignment_; }
  int OffsetX() const { return offset_x_; }
  int OffsetY() const { return offset_y_; }
  CtlColor BrushColor() const { return brush_color_; }
  const QImage& Bitmap() const { return bitmap_; }
  const QImage& ListBitmap() const { return list_bitmap_; }

  void SetStyle(CtlFillStyle v);
  void SetTileMode(CtlTileMode v);
  void SetOptions(unsigned v);
  // Alignment and offsets notify only while they move something: a placed picture.
  void SetAlignment(CtlAlignment v);
  void SetOffsetX(int v);
  void SetOffsetY(int v);
  void SetBrushColor(CtlColor v);
  void SetBitmap(const QImage& v);
  // The picture taken from an image list, set by the owning control.
  void SetListBitmap(const QImage& v);

  // The picture in use: Bitmap for sfBitmap, the list picture for sfBitmapList, else null.
  const QImage* GetBitmap() const;
  bool IsEmpty() const;
  // Whether the background behind the control must show through.
  bool IsTransparent() const;
  // Paints the rectangle over the background colour; says whether anything was painted.
  bool FillCanvas(QPainter& p, const QRect& r, CtlColor background) const;

 private:
  void Change() {
    if (OnChange) OnChange();
  }
  bool moves_picture() const { return (style_ == sfBitmap || style_ == sfBitmapList) && tile_mode_ == tmNone; }
  template <class T>
  void set(T& field, T v) {
    if (field == v) return;
    field = v;
    Change();
  }

  CtlFillStyle style_ = sfNone;
  CtlTileMode tile_mode_ = tmTile;
  unsigned options_ = foFillInner | foGrUseBitmap;
  CtlAlignment alignment_ = agTopLeft;
  int offset_x_ = 0, offset_y_ = 0;
  CtlColor brush_color_ = clWhite;
  QImage bitmap_, list_bitmap_;
};
