#include "controls/imagelist.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>

#include "controls/bitmapfile.h"
#include "controls/ctlerror.h"
#include "platform/fichiers.h"

namespace {

const char kBadSize[] = "Taille d'image incorrecte";
const char kTooMany[] = "Trop d'images";
const char kReadError[] = "Stream read error";
constexpr int kMaxStrip = 32768;

const char* const kSignatures[] = {"CtlIML30", "CtlBML30", "CtlWVL30", "CtlSLL30", "CtlRTL30"};
const char* const kExtensions[] = {"iml", "bmp", "wav", "txt", "rtf"};

[[noreturn]] void CannotOpen(const QString& file) {
  throw CtlError(("Cannot open file: " + file).toStdString());
}

QImage EmptyStrip(int height) { return QImage(0, height, QImage::Format_RGB32); }

QImage MonoStrip(int width, int height) {
  QImage m(width, height, QImage::Format_Mono);
  m.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  if (!m.isNull()) m.fill(0);
  return m;
}

// Copies `src` into `dst` at x (same formats after conversion), pixel rows only.
void Blit(QImage& dst, int x, const QImage& src, int src_x, int width) {
  if (width <= 0 || dst.isNull() || src.isNull()) return;
  const QImage s = src.convertToFormat(dst.format(), dst.colorTable());
  if (dst.format() == QImage::Format_Mono) {
    for (int y = 0; y < std::min(dst.height(), s.height()); ++y)
      for (int i = 0; i < width; ++i) dst.setPixel(x + i, y, s.pixelIndex(src_x + i, y) ? 1 : 0);
    return;
  }
  QPainter p(&dst);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.drawImage(QPoint(x, 0), s, QRect(src_x, 0, width, s.height()));
}

// A mono picture taken by its colours: white pixels give index 1.
QImage AsMask(const QImage& m) {
  const QImage rgb = m.convertToFormat(QImage::Format_RGB32);
  QImage out = MonoStrip(m.width(), m.height());
  for (int y = 0; y < rgb.height(); ++y)
    for (int x = 0; x < rgb.width(); ++x)
      if ((qRed(rgb.pixel(x, y)) + qGreen(rgb.pixel(x, y)) + qBlue(rgb.pixel(x, y))) >= 384) out.setPixel(x, y, 1);
  return out;
}

struct Head {
  std::uint8_t flags = 0;
  QString description;
  std::uint16_t ident = 0;
};

Head ReadHeadFields(QIODevice& stream) {
  Head h;
  h.flags = ReadStreamByte(stream);
  if (h.flags & 2) h.description = ReadStreamString(stream);
  if (h.flags & 4) h.ident = static_cast<std::uint16_t>(ReadStreamInt(stream));
  return h;
}

CtlSavePixelFormat FormatOfFlags(std::uint8_t flags) {
  if (flags & 16) return spfMono;
  if (flags & 32) return spf4bit;
  if (flags & 64) return spf8bit;
  return spfDefault;
}

// Takes the head's fields once the whole body has read.
void StoreHead(CtlListItem& item, const Head& h, bool compressed) {
  item.Compressed = compressed;
  item.Description = h.description;
  item.Ident = h.ident;
  item.PixelFormat = FormatOfFlags(h.flags);
}

}  // namespace

int SavePixelColours(CtlSavePixelFormat f) {
  switch (f) {
    case spfMono: return 2;
    case spf4bit: return 16;
    case spf8bit: return 256;
    case spfDefault: break;
  }
  return 0;
}

const char* ContainerSignature(int kind) { return kind >= 0 && kind < 5 ? kSignatures[kind] : ""; }
const char* ContainerExtension(int kind) { return kind >= 0 && kind < 5 ? kExtensions[kind] : ""; }

// ---- change links ----

CtlChangeLink::~CtlChangeLink() {
  if (container_) container_->RemoveLink(this);
}

CtlBaseContainer::~CtlBaseContainer() {
  for (CtlChangeLink* link : links_) link->container_ = nullptr;
}

void CtlBaseContainer::AddLink(CtlChangeLink* link) {
  if (!link) return;
  if (link->container_) link->container_->RemoveLink(link);
  link->container_ = this;
  links_.push_back(link);
}

void CtlBaseContainer::RemoveLink(CtlChangeLink* link) {
  auto it = std::find(links_.begin(), links_.end(), link);
  if (it == links_.end()) return;
  (*it)->container_ = nullptr;
  links_.erase(it);
}

void CtlBaseContainer::Notify() {
  const std::vector<CtlChangeLink*> links = links_;
  for (CtlChangeLink* link : links)
    if (link->OnChange) link->OnChange(this);
  Changed();
}

// ---- items ----

std::uint8_t CtlListItem::GetFlags() const {
  std::uint8_t f = Compressed ? 1 : 0;
  if (!Description.isEmpty()) f |= 2;
  if (Ident != 0) f |= 4;
  switch (PixelFormat) {
    case spfMono: f |= 16; break;
    case spf4bit: f |= 32; break;
    case spf8bit: f |= 64; break;
    case spfDefault: break;
  }
  return f;
}

void CtlListItem::WriteHead(QIODevice& stream) const {
  const std::uint8_t f = GetFlags();
  WriteStreamByte(stream, f);
  if (f & 2) WriteStreamString(stream, Description);
  if (f & 4) WriteStreamInt(stream, Ident);
}

std::uint8_t CtlListItem::ReadHead(QIODevice& stream) {
  const Head h = ReadHeadFields(stream);
  StoreHead(*this, h, h.flags & 1);
  return h.flags;
}

void CtlListItem::ReadFromStream(QIODevice& stream) { ReadHead(stream); }
void CtlListItem::WriteToStream(QIODevice& stream) const { WriteHead(stream); }

void CtlListItem::Assign(const CtlListItem& source) {
  Description = source.Description;
  Ident = source.Ident;
  Compressed = source.Compressed;
  PixelFormat = source.PixelFormat;
}

void CtlListItem::ItemChanged() {
  Changed();
  CtlCustomContainer* c = container_;
  if (c && c->OnChange && !c->Updating()) c->OnChange(this);
}

// Bitmap item.

const QImage& CtlBitmapListItem::Bitmap() const {
  CtlCustomContainer* c = Container();
  if (!bitmap_.isNull() || fetched_ || !c || c->StorageMode == 0 || c->StorageMode == 3) return bitmap_;
  fetched_ = true;
  try {
    const QString id = QString::number(Ident);
    if (c->StorageMode == 1) {
      CtlBitmapListItem stored;
      c->ReadItemFromFile(c->StoragePath(), Ident, stored);
      bitmap_ = stored.bitmap_;
    } else {
      const QFileInfo info(c->StoragePath());
      const QString path = c->StorageMode == 2 ? ":/ctl/bitmaps/" + id + ".bmp"
                                               : info.path() + "/" + info.fileName().left(3) + id + ".bmp";
      QFile f(path);
      if (f.open(QIODevice::ReadOnly)) bitmap_ = ReadBMP(f.readAll());
    }
  } catch (const CtlError&) {
    bitmap_ = QImage();  // a missing stored picture leaves the item empty
  }
  return bitmap_;
}

void CtlBitmapListItem::SetBitmap(const QImage& bmp) {
  bitmap_ = bmp.isNull() || bmp.depth() == 1 ? bmp : bmp.convertToFormat(QImage::Format_RGB32);
  ItemChanged();
}

void CtlBitmapListItem::Clear() {
  bitmap_ = QImage();
  ItemChanged();
}

std::uint8_t CtlBitmapListItem::GetFlags() const {
  return CtlListItem::GetFlags() | (IsEmpty() ? 0 : 8);
}

void CtlBitmapListItem::WriteToStream(QIODevice& stream) const {
  WriteHead(stream);
  if (!IsEmpty()) WriteBitmapToStream(stream, Bitmap(), Compressed, SavePixelColours(PixelFormat));
}

void CtlBitmapListItem::ReadFromStream(QIODevice& stream) {
  const Head h = ReadHeadFields(stream);
  const QImage bmp = (h.flags & 8) ? ReadBitmapFromStream(stream, h.flags & 1) : QImage();
  StoreHead(*this, h, h.flags & 1);
  bitmap_ = bmp;
  ItemChanged();
}

void CtlBitmapListItem::Assign(const CtlListItem& source) {
  CtlListItem::Assign(source);
  if (auto* b = dynamic_cast<const CtlBitmapListItem*>(&source)) bitmap_ = b->Bitmap();
  ItemChanged();
}

// Image item.

CtlImageListItem::CtlImageListItem() : strip_(EmptyStrip(16)) {}

std::unique_ptr<CtlImageListItem> CtlImageListItem::CreateSize(int width, int height) {
  if (width < 1 || height < 1) throw CtlInvalidGraphicOperation(kBadSize);
  auto item = std::make_unique<CtlImageListItem>();
  item->width_ = width;
  item->height_ = height;
  item->ClearPictures();
  return item;
}

void CtlImageListItem::ClearPictures() {
  strip_ = EmptyStrip(height_);
  mask_ = masked_ ? MonoStrip(0, height_) : QImage();
  used_ = 0;
  table_.clear();
}

void CtlImageListItem::Clear() {
  ClearPictures();
  ItemChanged();
}

void CtlImageListItem::SetWidth(int w) {
  if (w < 1 || w == width_) return;
  width_ = w;
  Clear();
}

void CtlImageListItem::SetHeight(int h) {
  if (h < 1 || h == height_) return;
  height_ = h;
  Clear();
}

void CtlImageListItem::RebuildTable(int n) {
  table_.clear();
  for (int k = 0; k < n; ++k)
    table_.push_back((static_cast<std::uint32_t>(k * width_) & 0xFFFF) | (masked_ ? 0x10000u : 0u));
}

void CtlImageListItem::SetMasked(bool masked) {
  if (!CtlStore(masked_, masked)) return;
  mask_ = masked ? MonoStrip(strip_.width(), height_) : QImage();
  for (auto& e : table_) e = (e & 0xFFFF) | (masked ? 0x10000u : 0u);
  ItemChanged();
}

void CtlImageListItem::Reserve(int extra) {
  const long long needed = static_cast<long long>(used_) + extra;
  long long width = strip_.width();
  const long long step = static_cast<long long>(std::max(AllocBy, 1)) * width_;
  while (width < needed) width += step;
  if (width > kMaxStrip) throw CtlInvalidGraphicOperation(kTooMany);
  if (width == strip_.width()) return;
  QImage strip(static_cast<int>(width), height_, QImage::Format_RGB32);
  strip.fill(Qt::black);
  Blit(strip, 0, strip_, 0, strip_.width());
  strip_ = strip;
  if (masked_) {
    QImage mask = MonoStrip(static_cast<int>(width), height_);
    Blit(mask, 0, mask_, 0, mask_.width());
    mask_ = mask;
  }
}

int CtlImageListItem::Add(const QImage* image, const QImage* mask) {
  const bool has_image = image && !image->isNull();
  auto fits = [&](const QImage& pic) { return pic.height() == height_ && pic.width() % width_ == 0 && pic.width() > 0; };
  if (has_image && !fits(*image)) throw CtlInvalidGraphicOperation(kBadSize);
  if (masked_ && mask && !mask->isNull() && (!fits(*mask) || (has_image && mask->width() != image->width())))
    throw CtlInvalidGraphicOperation(kBadSize);
  const int n = has_image ? image->width() / width_ : 1;
  Reserve(n * width_);
  const int first = Count();
  if (has_image) Blit(strip_, used_, *image, 0, image->width());
  if (masked_ && mask && !mask->isNull()) Blit(mask_, used_, AsMask(*mask), 0, mask->width());
  for (int i = 0; i < n; ++i) {
    table_.push_back((static_cast<std::uint32_t>(used_) & 0xFFFF) | (masked_ ? 0x10000u : 0u));
    used_ += width_;
  }
  ItemChanged();
  return first;
}

void CtlImageListItem::Append(const CtlImageListItem& other) {
  if (other.width_ != width_ || other.height_ != height_) throw CtlInvalidGraphicOperation(kBadSize);
  const int n = other.Count();
  if (n == 0) return;
  Reserve(other.used_);
  Blit(strip_, used_, other.strip_, 0, other.used_);
  if (masked_ && other.masked_) Blit(mask_, used_, other.mask_, 0, other.used_);
  for (int i = 0; i < n; ++i)
    table_.push_back((static_cast<std::uint32_t>(used_ + other.ImageOffset(i)) & 0xFFFF) | (masked_ ? 0x10000u : 0u));
  used_ += other.used_;
  ItemChanged();
}

void CtlImageListItem::Replace(int k, const QImage& image, const QImage* mask) {
  if (!ValidIndex(k) || image.isNull()) return;
  const int x = ImageOffset(k);
  const int w = std::min({width_, image.width(), strip_.width() - x});
  Blit(strip_, x, image, 0, w);
  if (masked_) {
    if (mask && !mask->isNull()) {
      Blit(mask_, x, AsMask(*mask), 0, std::min(w, mask->width()));
    } else {
      for (int y = 0; y < height_; ++y)
        for (int i = 0; i < width_ && x + i < mask_.width(); ++i) mask_.setPixel(x + i, y, 0);
    }
  }
  ItemChanged();
}

void CtlImageListItem::ReplaceMasked(int k, const QImage& picture, CtlColor transparent) {
  if (!masked_) {
    Replace(k, picture);
    return;
  }
  QImage mask, image;
  SplitImageMask(picture, mask, image, transparent);
  Replace(k, image, &mask);
}

QImage CtlImageListItem::GetImage(int k) const {
  if (!ValidIndex(k)) return QImage();
  return strip_.copy(ImageOffset(k), 0, width_, height_);
}

void CtlImageListItem::Draw(QPainter& p, int x, int y, int k) const {
  if (!ValidIndex(k)) return;
  const QRect src(ImageOffset(k), 0, width_, height_), cell(x, y, width_, height_);
  if (!masked_ || DrawWithoutMask) {
    p.drawImage(cell, strip_, src);
    return;
  }
  if (DrawingStyle == 3 || (DrawingStyle == 2 && BkColor == clNone)) {
    DrawBitmapStyled(p, cell, strip_, src, &mask_, clNone, dbMasked);
    return;
  }
  QImage work(width_, height_, QImage::Format_RGB32);
  work.fill(ColorToRgb(BkColor));
  {
    QPainter wp(&work);
    DrawBitmapStyled(wp, work.rect(), strip_, src, &mask_, clNone, dbMasked);
  }
  if (DrawingStyle <= 1 && DimColor != clNone) {
    const QRgb dim = ColorToRgb(DimColor).rgb();
    for (int j = 0; j < height_; ++j)
      for (int i = 0; i < width_; ++i) {
        const bool set = DrawingStyle == 1 ? (i + j) % 2 == 1 : !(i % 2 == 1 && j % 2 == 1);
        if (set) work.setPixel(i, j, dim);
      }
  }
  p.drawImage(cell.topLeft(), work);
}

void CtlImageListItem::WriteToStream(QIODevice& stream) const {
  WriteHead(stream);
  const int n = Count();
  WriteStreamInt(stream, height_);
  WriteStreamInt(stream, width_);
  WriteStreamInt(stream, AllocBy);
  WriteStreamByte(stream, masked_ ? 1 : 0);
  WriteStreamInt(stream, n);
  if (n == 0) return;
  const int w = std::min(n * width_, strip_.width());
  WriteBitmapToStream(stream, strip_.copy(0, 0, w, height_), Compressed, SavePixelColours(PixelFormat));
  if (masked_) WriteBitmapToStream(stream, mask_.copy(0, 0, w, height_), Compressed, 2);
}

void CtlImageListItem::ReadFromStream(QIODevice& stream) {
  const Head h = ReadHeadFields(stream);
  const bool compressed = h.flags & 1;
  const int height = ReadStreamInt(stream), width = ReadStreamInt(stream), alloc = ReadStreamInt(stream);
  const bool masked = ReadStreamByte(stream) != 0;
  const int n = ReadStreamInt(stream);
  if (width < 1 || width > kMaxStrip || height < 1 || height > kMaxStrip || n < 0)
    throw CtlReadError("Invalid image item");
  QImage strip = EmptyStrip(height), mask = masked ? MonoStrip(0, height) : QImage();
  if (n > 0) {
    strip = ReadBitmapFromStream(stream, compressed).convertToFormat(QImage::Format_RGB32);
    if (strip.height() != height || static_cast<long long>(n) * width > strip.width())
      throw CtlReadError("Invalid image item");
    if (masked) {
      mask = AsMask(ReadBitmapFromStream(stream, compressed));
      if (mask.width() != strip.width() || mask.height() != height) throw CtlReadError("Invalid image item");
    }
  }
  StoreHead(*this, h, compressed);
  height_ = height;
  width_ = width;
  AllocBy = alloc;
  masked_ = masked;
  strip_ = strip;
  mask_ = mask;
  used_ = strip.width();
  RebuildTable(n);
  ItemChanged();
}

void CtlImageListItem::Assign(const CtlListItem& source) {
  CtlListItem::Assign(source);
  if (auto* s = dynamic_cast<const CtlImageListItem*>(&source)) {
    AllocBy = s->AllocBy;
    BkColor = s->BkColor;
    DimColor = s->DimColor;
    DrawingStyle = s->DrawingStyle;
    DrawWithoutMask = s->DrawWithoutMask;
    width_ = s->width_;
    height_ = s->height_;
    masked_ = s->masked_;
    strip_ = s->strip_;
    mask_ = s->mask_;
    used_ = s->used_;
    table_ = s->table_;
  }
  ItemChanged();
}

// String item.

void CtlStringListItem::Clear() {
  Items.Clear();
  ItemChanged();
}

std::uint8_t CtlStringListItem::GetFlags() const { return CtlListItem::GetFlags() | (IsEmpty() ? 0 : 8); }

void CtlStringListItem::WriteToStream(QIODevice& stream) const {
  WriteHead(stream);
  if (!IsEmpty()) WriteObjectToStream(stream, Items, Compressed);
}

void CtlStringListItem::ReadFromStream(QIODevice& stream) {
  const Head h = ReadHeadFields(stream);
  CtlStrings lines;
  if (h.flags & 8) ReadObjectFromStream(stream, lines, h.flags & 1);
  StoreHead(*this, h, h.flags & 1);
  Items = std::move(lines);
  ItemChanged();
}

void CtlStringListItem::Assign(const CtlListItem& source) {
  CtlListItem::Assign(source);
  if (auto* s = dynamic_cast<const CtlStringListItem*>(&source)) Items = s->Items;
  ItemChanged();
}

// Wave item.

void CtlWaveListItem::Clear() {
  Wave.Clear();
  ItemChanged();
}

std::uint8_t CtlWaveListItem::GetFlags() const { return CtlListItem::GetFlags() | (IsEmpty() ? 0 : 8); }

void CtlWaveListItem::WriteToStream(QIODevice& stream) const {
  WriteHead(stream);
  if (!IsEmpty()) WriteWave(stream, Wave, Compressed);
}

void CtlWaveListItem::ReadFromStream(QIODevice& stream) {
  const Head h = ReadHeadFields(stream);
  CtlWave wave;
  if (h.flags & 8) ReadWave(stream, wave, h.flags & 1);
  StoreHead(*this, h, h.flags & 1);
  Wave.Assign(wave);
  ItemChanged();
}

void CtlWaveListItem::Assign(const CtlListItem& source) {
  CtlListItem::Assign(source);
  if (auto* s = dynamic_cast<const CtlWaveListItem*>(&source)) Wave.Assign(s->Wave);
  ItemChanged();
}

// ---- containers ----

CtlCustomContainer::~CtlCustomContainer() {
  for (auto& item : items_) item->container_ = nullptr;
}

CtlListItem* CtlCustomContainer::GetItem(int index) const {
  return index >= 0 && index < Count() ? items_[static_cast<std::size_t>(index)].get() : nullptr;
}

void CtlCustomContainer::ForEachItem(const std::function<void(CtlListItem*)>& procedure) const {
  for (const auto& item : items_) procedure(item.get());
}

CtlListItem* CtlCustomContainer::Add(std::unique_ptr<CtlListItem> item) {
  if (!item) return nullptr;
  item->container_ = this;
  items_.push_back(std::move(item));
  Notify();
  return items_.back().get();
}

QString CtlCustomContainer::StoragePath() const {
  if (PathPrefix == ppFixed) return FileName;
  return GetPrefixPath(PathPrefix, true) + QFileInfo(FileName).fileName();
}

void CtlCustomContainer::Clear() {
  for (auto& item : items_) item->container_ = nullptr;
  items_.clear();
  Notify();
}

void CtlCustomContainer::Assign(const CtlCustomContainer& source) {
  if (&source == this) return;
  BeginUpdate();
  Clear();
  StorageMode = source.StorageMode;
  PathPrefix = source.PathPrefix;
  FileName = source.FileName;
  for (const auto& from : source.items_) {
    std::unique_ptr<CtlListItem> item = NewItem();
    item->Assign(*from);
    Add(std::move(item));
  }
  EndUpdate(true);
}

void CtlCustomContainer::SaveItems(QIODevice& stream, bool offsets) const {
  const int n = Count();
  WriteStreamInt(stream, n);
  const qint64 table = stream.pos();
  if (offsets)
    for (int i = 0; i < n; ++i) WriteStreamInt(stream, 0);
  std::vector<qint64> starts;
  for (const auto& item : items_) {
    starts.push_back(stream.pos());
    item->WriteToStream(stream);
  }
  if (!offsets) return;
  const qint64 end = stream.pos();
  stream.seek(table);
  for (qint64 s : starts) WriteStreamInt(stream, static_cast<std::int32_t>(s));
  stream.seek(end);
}

void CtlCustomContainer::LoadItems(QIODevice& stream, bool offsets) {
  const std::int32_t n = ReadStreamInt(stream);
  if (n < 0 || n > StreamBytesLeft(stream)) throw CtlReadError(kReadError);
  if (offsets) {
    if (4LL * n > StreamBytesLeft(stream)) throw CtlReadError(kReadError);
    stream.seek(stream.pos() + 4LL * n);
  }
  std::vector<std::unique_ptr<CtlListItem>> fresh;
  // All the packed items of one list together unpack to no more than one stream may.
  CtlUnpackBudget budget;
  for (int i = 0; i < n; ++i) {
    std::unique_ptr<CtlListItem> item = NewItem();
    item->ReadFromStream(stream);
    fresh.push_back(std::move(item));
  }
  BeginUpdate();
  Clear();
  for (auto& item : fresh) Add(std::move(item));
  EndUpdate(true);
}

void CtlCustomContainer::SaveToFile(const QString& file) const {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  WriteStreamByte(buffer, 8);
  buffer.write(ContainerSignature(kind_), 8);
  SaveItems(buffer, true);
  const Echec e = ecrire_fichier(file.toLocal8Bit().toStdString(), std::string_view(bytes.constData(), bytes.size()));
  if (!e.empty()) throw CtlError(("Cannot create file: " + file).toStdString() + " (" + e + ")");
}

int CtlCustomContainer::ReadKind(QIODevice& stream) {
  const QByteArray head = stream.read(9);
  if (head.size() != 9 || head[0] != 8) return ckUnknown;
  for (int k = 0; k < 5; ++k)
    if (std::memcmp(head.constData() + 1, kSignatures[k], 8) == 0) return k;
  return ckUnknown;
}

void CtlCustomContainer::LoadFromFile(const QString& file) {
  QFile f(file);
  if (!f.open(QIODevice::ReadOnly) || ReadKind(f) != kind_) CannotOpen(file);
  LoadItems(f, true);
}

void CtlCustomContainer::ReadItemFromFile(const QString& file, int k, CtlListItem& item) const {
  QFile f(file);
  if (!f.open(QIODevice::ReadOnly) || ReadKind(f) != kind_) CannotOpen(file);
  const std::int32_t n = ReadStreamInt(f);
  if (n < 0 || 4LL * n > StreamBytesLeft(f) || k < 0 || k >= n) CannotOpen(file);
  const qint64 items_start = f.pos() + 4LL * n;
  f.seek(f.pos() + 4LL * k);
  const std::int32_t offset = ReadStreamInt(f);
  if (offset < items_start || offset >= f.size()) CannotOpen(file);
  f.seek(offset);
  item.ReadFromStream(f);
}

void CtlCustomImageList::Assign(const CtlCustomContainer& source) {
  if (auto* s = dynamic_cast<const CtlCustomImageList*>(&source)) {
    DefaultCompressed = s->DefaultCompressed;
    DefaultPixelFormat = s->DefaultPixelFormat;
  }
  CtlCustomContainer::Assign(source);
}

// Image list.

std::unique_ptr<CtlListItem> CtlImageList::NewItem() const { return std::make_unique<CtlImageListItem>(); }

CtlImageListItem* CtlImageList::AddItem(int width, int height, const QString& description) {
  std::unique_ptr<CtlImageListItem> item = CtlImageListItem::CreateSize(width, height);
  item->Description = description;
  return static_cast<CtlImageListItem*>(Add(std::move(item)));
}

const CtlImageListItem* CtlImageList::Valid(int l, int k) const {
  const CtlImageListItem* it = InRange(l) ? Item(l) : nullptr;
  return it && it->ValidIndex(k) ? it : nullptr;
}

const QImage* CtlImageList::GetCanvas(int l) const { return InRange(l) ? &Item(l)->Strip() : nullptr; }

QRect CtlImageList::GetImageRect(int l, int k) const {
  const CtlImageListItem* it = Valid(l, k);
  return it ? QRect(it->ImageOffset(k), 0, it->Width(), it->Height()) : QRect();
}

int CtlImageList::GetDimension(int l, int which) const {
  if (!InRange(l)) return 0;
  return which == 0 ? Item(l)->Width() : Item(l)->Height();
}

int CtlImageList::GetImageCount(int l) const { return InRange(l) ? Item(l)->Count() : -1; }

bool CtlImageList::IsValidImage(int l, int k) const { return Valid(l, k) != nullptr; }

QImage CtlImageList::GetImage(int l, int k) const {
  const CtlImageListItem* it = Valid(l, k);
  return it ? it->GetImage(k) : QImage();
}

bool CtlImageList::GetMasked(int l) const { return InRange(l) && Item(l)->Masked(); }

CtlColor CtlImageList::GetTransparentColor(int l, int k) const { return GetPixel(l, QPoint(0, 0), k); }

CtlColor CtlImageList::GetPixel(int l, QPoint point, int k) const {
  const CtlImageListItem* it = Valid(l, k);
  if (!it) return clWhite;
  const int x = it->ImageOffset(k) + point.x(), y = it->Height() - 1 + point.y();
  if (!it->Strip().rect().contains(x, y)) return clWhite;
  return QColorToCtl(QColor(it->Strip().pixel(x, y)));
}

void CtlImageList::Draw(QPainter& p, int x, int y, int l, int k) const {
  if (const CtlImageListItem* it = Valid(l, k)) it->Draw(p, x, y, k);
}

QRect CtlImageList::DrawInRect(QPainter& p, const QRect& r, int l, int k, unsigned style) const {
  const CtlImageListItem* it = Valid(l, k);
  if (!it) return r;
  const QRect src = GetImageRect(l, k);
  if (it->Masked()) return DrawBitmapStyled(p, r, it->Strip(), src, &it->MaskStrip(), clNone, style | dbMasked);
  return DrawBitmapStyled(p, r, it->Strip(), src, nullptr, GetTransparentColor(l, k) | 0x02000000u, style);
}

void CtlImageList::DrawExt(QPainter& p, const QRect& r, int l, int k, CtlColor transparent, std::uint32_t offset,
                           unsigned style) const {
  const CtlImageListItem* it = Valid(l, k);
  if (!it) return;
  const QRect src = GetImageRect(l, k);
  if (it->Masked()) DrawBitmapClipped(p, r, it->Strip(), src, &it->MaskStrip(), transparent, offset, style | dbMasked);
  else DrawBitmapClipped(p, r, it->Strip(), src, nullptr, transparent, offset, style);
}

// Bitmap list.

std::unique_ptr<CtlListItem> CtlBitmapList::NewItem() const { return std::make_unique<CtlBitmapListItem>(); }

CtlBitmapListItem* CtlBitmapList::AddBitmap(const QImage& bmp, const QString& description) {
  auto item = std::make_unique<CtlBitmapListItem>();
  item->Description = description;
  item->SetBitmap(bmp);
  return static_cast<CtlBitmapListItem*>(Add(std::move(item)));
}

const QImage* CtlBitmapList::Picture(int l) const {
  if (!InRange(l)) return nullptr;
  const QImage& b = Item(l)->Bitmap();
  return b.isNull() ? nullptr : &b;
}

const QImage* CtlBitmapList::GetCanvas(int l) const { return InRange(l) ? &Item(l)->Bitmap() : nullptr; }

QRect CtlBitmapList::GetImageRect(int l, int) const {
  const QImage* b = Picture(l);
  return b ? b->rect() : QRect();
}

int CtlBitmapList::GetDimension(int l, int which) const {
  const QImage* b = Picture(l);
  if (!b) return 0;
  return which == 0 ? b->width() : b->height();
}

int CtlBitmapList::GetImageCount(int l) const { return Picture(l) ? 1 : 0; }

bool CtlBitmapList::IsValidImage(int l, int) const { return Picture(l) != nullptr; }

QImage CtlBitmapList::GetImage(int l, int) const {
  const QImage* b = Picture(l);
  return b ? *b : QImage();
}

CtlColor CtlBitmapList::GetTransparentColor(int l, int) const {
  const QImage* b = Picture(l);
  return b ? QColorToCtl(QColor(b->pixel(0, b->height() - 1))) : clWhite;
}

CtlColor CtlBitmapList::GetPixel(int l, QPoint point, int) const {
  const QImage* b = Picture(l);
  if (!b || !b->rect().contains(point)) return clWhite;
  return QColorToCtl(QColor(b->pixel(point)));
}

void CtlBitmapList::Draw(QPainter& p, int x, int y, int l, int) const {
  if (const QImage* b = Picture(l)) DrawBitmap(p, QRect(QPoint(x, y), b->size()), *b, clNone, 0);
}

QRect CtlBitmapList::DrawInRect(QPainter& p, const QRect& r, int l, int k, unsigned style) const {
  const QImage* b = Picture(l);
  return b ? DrawBitmap(p, r, *b, GetTransparentColor(l, k), style) : r;
}

void CtlBitmapList::DrawExt(QPainter& p, const QRect& r, int l, int, CtlColor transparent, std::uint32_t offset,
                            unsigned style) const {
  if (const QImage* b = Picture(l)) DrawBitmapExt(p, r, *b, transparent, offset, style);
}

std::unique_ptr<CtlListItem> CtlStringList::NewItem() const { return std::make_unique<CtlStringListItem>(); }

std::unique_ptr<CtlListItem> CtlWaveList::NewItem() const { return std::make_unique<CtlWaveListItem>(); }

// ---- the shared container ----

CtlContainer::CtlContainer() : CtlBaseContainer(nullptr) {
  auto forward = [this](CtlCustomComponent*) { Changed(); };
  bitmaps_.OnChange = forward;
  images_.OnChange = forward;
  strings_.OnChange = forward;
  waves_.OnChange = forward;
}

CtlContainer* CtlContainer::Instance() {
  static CtlContainer instance;
  return &instance;
}
