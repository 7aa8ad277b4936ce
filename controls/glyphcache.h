// Per-button glyph images for the eight button states, kept in strips shared
// by every glyph of the same size.
#pragma once

#include <QColor>
#include <QImage>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "controls/paintkit.h"

// One strip of equally sized images with their masks (transparent pixels).
class CtlGlyphList {
 public:
  CtlGlyphList(int width, int height) : width_(width), height_(height) {}
  int AddGlyph(const QImage& image, QColor transparent);
  void Delete(int index);
  int Count() const { return count_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  QImage Image(int index) const;

 private:
  int width_, height_;
  int count_ = 0;
  std::vector<QImage> images_;
  std::vector<bool> used_;
};

// The process-wide set of strips, one per size.
class CtlGlyphCache {
 public:
  static CtlGlyphCache* Instance();  // null while no glyph exists
  CtlGlyphList* GetList(int width, int height);
  void ReturnList(CtlGlyphList* list);
  int StripCount() const { return static_cast<int>(lists_.size()); }

 private:
  friend class CtlGlyph;
  std::vector<std::unique_ptr<CtlGlyphList>> lists_;
};

class CtlGlyph {
 public:
  CtlGlyph();
  ~CtlGlyph();
  CtlGlyph(const CtlGlyph&) = delete;
  CtlGlyph& operator=(const CtlGlyph&) = delete;

  const QImage& Glyph() const { return glyph_; }
  void SetGlyph(const QImage& bitmap);
  int NumGlyphs() const { return num_glyphs_; }
  void SetNumGlyphs(int n);
  bool Flat() const { return flat_; }
  void SetFlat(bool flat);
  QColor TransparentColor() const { return transparent_; }

  // Image slot of a button state: 1 and 7 the disabled image; states the
  // strip lacks take slot 0, or for a flat glyph 4 (state 6) and 2.
  static int StateSlot(int state, int num_glyphs, bool flat);
  // Strip index of the image for button state 0..7, built on first use; -1 without glyph.
  int StateIndex(int state);
  QImage StateImage(int state);
  CtlGlyphList* Strip() const { return strip_; }
  // Glyph of the button state (none without a glyph) and text placed by the
  // layout; returns the focus rectangle. `layout_state` holds the layout's flags.
  QRect Draw(QPainter& p, const QString& text, const Ctl3DCaption* fx, const GlyphTextLayoutValues& layout, int state,
             unsigned layout_state, int text_flags, const QRect& r, const QColor& font_colour);

  std::function<void()> OnChange;

 private:
  void Release();
  QImage glyph_;
  std::array<int, 8> indices_;
  CtlGlyphList* strip_ = nullptr;
  int num_glyphs_ = 1;
  bool flat_ = false;
  QColor transparent_;
};
