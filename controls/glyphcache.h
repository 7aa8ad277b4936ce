// Per-button glyph images for the eight button states, kept in strips shared
// by every glyph of the same size.
#pragma once

#include <QColor>
#include <QImage>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "controls/imagelist.h"
#include "controls/paintkit.h"

// One strip of equally sized images with their mask (white at the
// transparent pixels), with a record of which slots are in use. A freed slot
// is taken again before the strip grows.
class CtlGlyphList : public CtlImageListItem {
 public:
  CtlGlyphList(int width, int height);
  // Puts the image in the first free slot, its `transparent` pixels masked; returns the slot.
  int AddGlyph(const QImage& image, QColor transparent);
  void Delete(int index);
  int UsedCount() const { return count_; }
  bool Used(int index) const { return index >= 0 && index < static_cast<int>(used_.size()) && used_[index]; }
  // The image of a used slot with its masked pixels see-through; null for a free slot.
  QImage Image(int index) const;
  // The slot's cell of the strip.
  QRect Cell(int index) const { return QRect(ImageOffset(index), 0, Width(), Height()); }

 private:
  int count_ = 0;
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
