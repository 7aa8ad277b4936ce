#include "controls/fillobject.h"

void CtlFillObject::SetStyle(CtlFillStyle v) { set(style_, v); }
void CtlFillObject::SetTileMode(CtlTileMode v) { set(tile_mode_, v); }
void CtlFillObject::SetOptions(unsigned v) { set(options_, v); }
void CtlFillObject::SetBrushColor(CtlColor v) { set(brush_color_, v); }

void CtlFillObject::SetAlignment(CtlAlignment v) {
  if (alignment_ == v) return;
  alignment_ = v;
  if (moves_picture()) Change();
}
void CtlFillObject::SetOffsetX(int v) {
  if (offset_x_ == v) return;
  offset_x_ = v;
  if (moves_picture()) Change();
}
void CtlFillObject::SetOffsetY(int v) {
  if (offset_y_ == v) return;
  offset_y_ = v;
  if (moves_picture()) Change();
}

void CtlFillObject::SetBitmap(const QImage& v) {
  bitmap_ = v;
  Change();
}
void CtlFillObject::SetListBitmap(const QImage& v) {
  list_bitmap_ = v;
  Change();
}

const QImage* CtlFillObject::GetBitmap() const {
  if (style_ == sfBitmap) return &bitmap_;
  if (style_ == sfBitmapList) return &list_bitmap_;
  return nullptr;
}

bool CtlFillObject::IsEmpty() const {
  if (style_ == sfNone) return true;
  if (const QImage* b = GetBitmap()) return b->isNull();
  return false;
}

bool CtlFillObject::IsTransparent() const {
  switch (style_) {
    case sfNone: return true;
    case sfBitmap:
    case sfBitmapList: return (tile_mode_ == tmNone || tile_mode_ == tmCenter) && !(options_ & foFillInner);
    default: return false;
  }
}

bool CtlFillObject::FillCanvas(QPainter& p, const QRect& r, CtlColor background) const {
  switch (style_) {
    case sfBrush:
      CtlFillRect(p, r, ColorToRgb(brush_color_));
      return true;
    case sfBitmap:
    case sfBitmapList: {
      const QImage* b = GetBitmap();
      if (!b || b->isNull()) return false;
      if (options_ & foFillInner) CtlFillRect(p, r, ColorToRgb(background));
      const QColor none(255, 0, 255);
      switch (tile_mode_) {
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
    default: return false;  // brush patterns and gradients: no form of this program fills with them
  }
}
