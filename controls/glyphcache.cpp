#include "controls/glyphcache.h"

#include "controls/paintkit.h"

namespace {
CtlGlyphCache* g_cache = nullptr;
int g_glyphs = 0;

void FreeCacheWhenUnused() {
  if (g_cache && g_glyphs == 0 && g_cache->StripCount() == 0) {
    delete g_cache;
    g_cache = nullptr;
  }
}
}  // namespace

CtlGlyphList::CtlGlyphList(int width, int height) {
  SetWidth(width);
  SetHeight(height);
  SetMasked(true);
}

int CtlGlyphList::AddGlyph(const QImage& image, QColor transparent) {
  std::size_t slot = 0;
  while (slot < used_.size() && used_[slot]) ++slot;
  if (slot == used_.size()) {
    Add(nullptr);  // one more empty slot
    used_.push_back(false);
  }
  used_[slot] = true;
  ++count_;
  const int k = static_cast<int>(slot);
  ReplaceMasked(k, image.convertToFormat(QImage::Format_RGB32), QColorToCtl(transparent));
  return k;
}

void CtlGlyphList::Delete(int index) {
  if (!Used(index)) return;
  used_[static_cast<std::size_t>(index)] = false;
  --count_;
}

QImage CtlGlyphList::Image(int index) const {
  if (!Used(index)) return QImage();
  QImage image = GetImage(index).convertToFormat(QImage::Format_ARGB32);
  const QImage mask = MaskStrip().copy(Cell(index));
  for (int y = 0; y < image.height() && y < mask.height(); ++y)
    for (int x = 0; x < image.width() && x < mask.width(); ++x)
      if (qGray(mask.pixel(x, y)) > 127) image.setPixel(x, y, 0);
  return image;
}

CtlGlyphCache* CtlGlyphCache::Instance() { return g_cache; }

CtlGlyphList* CtlGlyphCache::GetList(int width, int height) {
  for (auto& l : lists_)
    if (l->Width() == width && l->Height() == height) return l.get();
  lists_.push_back(std::make_unique<CtlGlyphList>(width, height));
  return lists_.back().get();
}

void CtlGlyphCache::ReturnList(CtlGlyphList* list) {
  if (!list || list->UsedCount() != 0) return;
  for (auto it = lists_.begin(); it != lists_.end(); ++it)
    if (it->get() == list) {
      lists_.erase(it);
      return;
    }
}

CtlGlyph::CtlGlyph() {
  indices_.fill(-1);
  if (!g_cache) g_cache = new CtlGlyphCache;
  ++g_glyphs;
}

CtlGlyph::~CtlGlyph() {
  Release();
  --g_glyphs;
  FreeCacheWhenUnused();
}

void CtlGlyph::Release() {
  for (int& i : indices_) {
    if (i >= 0 && strip_) strip_->Delete(i);
    i = -1;
  }
  if (strip_ && g_cache) g_cache->ReturnList(strip_);
  strip_ = nullptr;
}

void CtlGlyph::SetGlyph(const QImage& bitmap) {
  Release();
  glyph_ = bitmap;
  if (!glyph_.isNull() && glyph_.height() > 0) {
    transparent_ = QColor::fromRgb(glyph_.pixel(0, glyph_.height() - 1));
    if (glyph_.width() % glyph_.height() == 0) {
      int n = glyph_.width() / glyph_.height();
      num_glyphs_ = n < 6 ? n : 1;
    }
  }
  if (OnChange) OnChange();
}

void CtlGlyph::SetNumGlyphs(int n) {
  if (n == num_glyphs_ || n <= 0 || n > 5) return;
  Release();
  num_glyphs_ = n;
}

void CtlGlyph::SetFlat(bool flat) {
  if (flat == flat_) return;
  Release();
  flat_ = flat;
}

int CtlGlyph::StateSlot(int state, int num_glyphs, bool flat) {
  if (state < 0 || state > 7) state = 0;
  if (state == 1 || state == 7) return 1;
  if (state > num_glyphs - 1) return flat ? (state == 6 ? 4 : 2) : 0;
  return state;
}

int CtlGlyph::StateIndex(int state) {
  const int slot = StateSlot(state, num_glyphs_, flat_);
  if (indices_[static_cast<std::size_t>(slot)] >= 0) return indices_[static_cast<std::size_t>(slot)];
  if (glyph_.isNull() || num_glyphs_ <= 0) return -1;
  int w = glyph_.width() / num_glyphs_, h = glyph_.height();
  if (w <= 0 || h <= 0) return -1;
  if (!g_cache) g_cache = new CtlGlyphCache;
  if (!strip_) strip_ = g_cache->GetList(w, h);
  QImage image;
  if (slot < num_glyphs_ && !(slot == 0 && flat_)) {
    image = glyph_.copy(slot * w, 0, w, h);
  } else {
    QImage section = glyph_.copy(0, 0, w, h);
    // Flat buttons show an uncoloured up image; the disabled image is a shadow over a highlight.
    if (slot == 0) image = MakeEmbossedImage(section);
    else if (slot == 1) MakeDisabledGlyph(image, section, 0, 0);
    else image = section;
  }
  indices_[static_cast<std::size_t>(slot)] = strip_->AddGlyph(image, transparent_);
  return indices_[static_cast<std::size_t>(slot)];
}

QImage CtlGlyph::StateImage(int state) {
  int i = StateIndex(state);
  return i >= 0 && strip_ ? strip_->Image(i) : QImage();
}

QRect CtlGlyph::Draw(QPainter& p, const QString& text, const Ctl3DCaption* fx, const GlyphTextLayoutValues& layout,
                     int state, unsigned layout_state, int text_flags, const QRect& r, const QColor& font_colour) {
  const int k = StateIndex(state);
  if (k < 0 || !strip_)
    return DrawGlyphTextLayout(p, text, fx, layout, nullptr, nullptr, clNone, layout_state, text_flags, QRect(), r,
                               font_colour);
  return DrawGlyphTextLayout(p, text, fx, layout, &strip_->Strip(), &strip_->MaskStrip(), clNone, layout_state,
                             text_flags, strip_->Cell(k), r, font_colour);
}
