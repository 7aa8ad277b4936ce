// GIF files: the block reader, the writer, and the LZW coding of the frames.
#include "components/gif.h"

#include <QColor>
#include <QFile>
#include <QMimeData>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <limits>

#include "components/icones.h"
#include "components/reduction.h"
#include "platform/fichiers.h"

namespace components {

namespace {

const char kCorrupt[] = "GIF encoded data is corrupt";
const char kOutOfRange[] = "GIF size or position out of range 0 to 65535";

// Refuses, naming the size, a frame larger than a file may hold.
void verifier_cadre(qint64 w, qint64 h) {
  if (w <= kGifMaxSide && h <= kGifMaxSide && w * h <= kGifMaxFramePixels) return;
  throw GifError(QString::asprintf("GIF frame of %lld x %lld pixels is too large: a frame holds at most %lld pixels",
                                   w, h, kGifMaxFramePixels)
                     .toStdString());
}

// Refuses, naming the sum, frames that together hold more than a file may.
void verifier_total(qint64 pixels) {
  if (pixels <= kGifMaxDecodedBytes) return;
  throw GifError(QString::asprintf("GIF frames of %lld pixels in all are too large: a file holds at most %lld pixels",
                                   pixels, kGifMaxDecodedBytes)
                     .toStdString());
}

// A bounds-checked walk over a file's bytes: a read past the end is a stream read error.
struct Lecteur {
  const QByteArray& b;
  qsizetype pos = 0;
  bool fin() const { return pos >= b.size(); }
  qsizetype reste() const { return b.size() - pos; }
  std::uint8_t octet() {
    if (fin()) throw StreamReadError();
    return static_cast<std::uint8_t>(b[pos++]);
  }
  int mot() {
    const int lo = octet();
    return lo | (octet() << 8);
  }
  QByteArray octets(qsizetype n) {
    if (reste() < n) throw StreamReadError();
    QByteArray out = b.mid(pos, n);
    pos += n;
    return out;
  }
};

void ajouter_mot(QByteArray& out, int v) {
  out.append(static_cast<char>(v & 255));
  out.append(static_cast<char>((v >> 8) & 255));
}

int bits_pour(int count) {
  int b = 1;
  while ((1 << b) < count) ++b;
  return b;
}

TGIFColorTable lire_table(Lecteur& in, int bits) {
  TGIFColorTable t;
  t.Count = 1 << bits;
  const QByteArray raw = in.octets(3 * t.Count);
  for (int i = 0; i < t.Count; ++i)
    t.Colors[i] = qRgb(static_cast<std::uint8_t>(raw[3 * i]), static_cast<std::uint8_t>(raw[3 * i + 1]),
                       static_cast<std::uint8_t>(raw[3 * i + 2]));
  return t;
}

// The table as the descriptor announces it: 2^bits entries, the missing ones black.
void ecrire_table(QByteArray& out, const TGIFColorTable& t, int bits) {
  for (int i = 0; i < (1 << bits); ++i) {
    const QRgb c = i < t.Count ? t.Colors[i] : qRgb(0, 0, 0);
    out.append(static_cast<char>(qRed(c)));
    out.append(static_cast<char>(qGreen(c)));
    out.append(static_cast<char>(qBlue(c)));
  }
}

int index_de(const TGIFColorTable& t, CtlColor c) {
  const QRgb rgb = ColorToRgb(c).rgb() & 0xFFFFFF;
  for (int i = 0; i < t.Count; ++i)
    if ((t.Colors[i] & 0xFFFFFF) == rgb) return i;
  return -1;
}

std::vector<QByteArray> lire_sous_blocs(Lecteur& in) {
  std::vector<QByteArray> blocs;
  for (int n = in.octet(); n != 0; n = in.octet()) blocs.push_back(in.octets(n));
  return blocs;
}

TExtension lire_extension(Lecteur& in) {
  TExtension e;
  const int label = in.octet();
  switch (label) {
    case 0xF9:
      e.Kind = etGraphic;
      e.Fixed = in.octets(6);
      break;
    case 0x01:
      e.Kind = etPlainText;
      e.Fixed = in.octets(13);
      e.Blocks = lire_sous_blocs(in);
      break;
    case 0xFF:
      e.Kind = etApplication;
      e.Fixed = in.octets(12);
      e.Blocks = lire_sous_blocs(in);
      break;
    case 0xFE:
      e.Kind = etComment;
      e.Blocks = lire_sous_blocs(in);
      break;
    default:
      throw GifError(QString::asprintf("Unrecognized extension block: %.2x", label).toStdString());
  }
  return e;
}

const std::uint8_t kLabels[4] = {0xF9, 0x01, 0xFF, 0xFE};

// Writes LZW codes least significant bit first into 255-byte sub-blocks.
class Paqueteur {
 public:
  explicit Paqueteur(QByteArray& out) : out_(out) {}
  void code(int c, int width) {
    acc_ |= static_cast<std::uint32_t>(c) << n_;
    n_ += width;
    while (n_ >= 8) {
      octet(static_cast<char>(acc_ & 255));
      acc_ >>= 8;
      n_ -= 8;
    }
  }
  void fin() {
    if (n_ > 0) octet(static_cast<char>(acc_ & 255));
    vider();
    out_.append('\0');
  }

 private:
  void octet(char c) {
    bloc_[taille_++] = c;
    if (taille_ == 255) vider();
  }
  void vider() {
    if (taille_ == 0) return;
    out_.append(static_cast<char>(taille_));
    out_.append(bloc_.data(), taille_);
    taille_ = 0;
  }
  QByteArray& out_;
  std::array<char, 255> bloc_;
  int taille_ = 0;
  std::uint32_t acc_ = 0;
  int n_ = 0;
};

// Rows in file order: straight, or the four interlace passes.
class Rangees {
 public:
  Rangees(int height, bool interlaced) : h_(height), interlaced_(interlaced) {
    if (h_ == 0) y_ = 0, done_ = true;
  }
  bool done() const { return done_; }
  int row() const { return y_; }
  void next() {
    if (!interlaced_) {
      done_ = ++y_ >= h_;
      return;
    }
    static const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
    y_ += step[pass_];
    while (y_ >= h_) {
      if (++pass_ == 4) {
        done_ = true;
        return;
      }
      y_ = start[pass_];
    }
  }

 private:
  int h_;
  bool interlaced_;
  int y_ = 0;
  int pass_ = 0;
  bool done_ = false;
};

}  // namespace

// ---- LZW ----

GifEncoder::GifEncoder() = default;
GifEncoder::~GifEncoder() = default;

// Rows of the string table are zeroed the first time they can be read: a
// pixel's when a string starts from it, a code's when it is found. Every row
// a lookup reads is then zeroed, without a test in the lookup.
void GifEncoder::zeroer(int ligne) {
  std::fill_n(suite_.get() + std::size_t(ligne) * 256, 256, std::uint16_t{0});
  rangee_prete_[ligne] = true;
}

QByteArray GifEncoder::Encode(const std::uint8_t* px, int width, int height, int size,
                              const std::function<void(int)>* rows_done) {
  if (!suite_) suite_ = std::make_unique_for_overwrite<std::uint16_t[]>(std::size_t(kCodes) * 256);
  std::uint16_t* const suite = suite_.get();
  std::uint16_t* const prefixe_de = prefixe_de_.data();
  std::uint16_t* const pixel_de = pixel_de_.data();
  QByteArray out;
  out.append(static_cast<char>(size));
  Paqueteur sortie(out);
  const int clear = 1 << size, end = clear + 1;
  int bits = size + 1, next = end;
  // A slot counts only when its code was given since the last clear (end <
  // code <= next) to that same prefix and pixel, so neither a restart of the
  // table nor a new frame clears anything.
  auto chercher = [&](int prefix, int p) -> int {
    const int c = suite[std::size_t(prefix) * 256 + p];
    return c > end && c <= next && prefixe_de[c] == prefix && pixel_de[c] == p ? c : -1;
  };
  auto commencer = [this](int p) {
    preparer(p);
    return p;
  };
  sortie.code(clear, bits);
  const qint64 total = qint64(width) * height;
  int prefix = total > 0 ? commencer(px[0]) : -1;
  int pour_cent = 0;
  qint64 ligne_suivante = width;
  for (qint64 i = 1; i < total; ++i) {
    if (rows_done && i >= ligne_suivante) {
      ligne_suivante = (i / width + 1) * width;
      const int fait = static_cast<int>(i / width * 100 / height);
      if (fait != pour_cent) (*rows_done)(pour_cent = fait);
    }
    const int p = px[i];
    if (const int c = chercher(prefix, p); c >= 0) {
      prefix = commencer(c);
      continue;
    }
    sortie.code(prefix, bits);
    ++next;
    suite[std::size_t(prefix) * 256 + p] = static_cast<std::uint16_t>(next);
    prefixe_de[next] = static_cast<std::uint16_t>(prefix);
    pixel_de[next] = static_cast<std::uint16_t>(p);
    prefix = commencer(p);
    if (next == (1 << bits) && bits < 12) {
      ++bits;
    } else if (next == 4094) {
      // The pixel goes out as its own code, and the next string starts after it.
      sortie.code(p, bits);
      sortie.code(clear, bits);
      bits = size + 1;
      next = end;
      prefix = ++i < total ? commencer(px[i]) : -1;
    }
  }
  if (prefix >= 0) sortie.code(prefix, bits);
  sortie.code(end, bits);
  sortie.fin();
  return out;
}

namespace {

// The LZW decoder: hands every pixel to `poser(row, x, index)` in file order
// (rows through the interlace passes), and the share of data consumed, in
// percent, to `avance` whenever it changes. Nothing is allocated for the
// picture itself: the caller owns where the pixels go.
template <class Poser>
void decoder_lzw(const QByteArray& zdata, int width, int height, int pixel_bits, bool interlaced, bool tolerate,
                 bool& corrupted, Poser&& poser_pixel, const std::function<void(int)>* avance) {
  auto mauvais = [&](const char* message) {
    if (!tolerate) throw GifError(message);
    corrupted = true;
  };
  if (zdata.isEmpty()) {
    mauvais(kCorrupt);
    return;
  }
  int c = static_cast<std::uint8_t>(zdata[0]);
  if (c < 2 || c > 9) {
    mauvais("GIF code size not in range 2 to 9");
    c = std::clamp(c, 2, 9);
  }
  // The data sub-blocks joined: never more than the stored data.
  std::vector<std::uint8_t> data;
  data.reserve(static_cast<std::size_t>(zdata.size()));
  for (qsizetype pos = 1; pos < zdata.size();) {
    const int n = static_cast<std::uint8_t>(zdata[pos++]);
    if (n == 0) break;
    const qsizetype fin = std::min<qsizetype>(pos + n, zdata.size());
    data.insert(data.end(), zdata.begin() + pos, zdata.begin() + fin);
    pos = fin;
  }
  const std::size_t bits_total = data.size() * 8;
  std::size_t bitpos = 0;
  const int clear = 1 << c, end = clear + 1, mask = (1 << pixel_bits) - 1;
  int bits = c + 1, free = clear + 2;
  bool full = false;
  std::vector<std::uint16_t> prefix(4096, 0), suffix(4096, 0), stack(4097, 0);
  Rangees rows(height, interlaced);
  int x = 0;
  auto poser = [&](int v) {
    if (rows.done()) return;
    poser_pixel(rows.row(), x, v);
    if (++x == width) {
      x = 0;
      rows.next();
    }
  };
  int pour_cent = 0;
  auto signaler = [&] {
    if (!avance || bits_total == 0) return;
    const int p = static_cast<int>(bitpos * 100 / bits_total);
    if (p != pour_cent) (*avance)(pour_cent = p);
  };
  int old = -1, first = 0;
  while (!rows.done() && width > 0) {
    if (bitpos + bits > bits_total) break;
    int code = 0;
    for (int k = 0; k < bits; ++k, ++bitpos) code |= ((data[bitpos >> 3] >> (bitpos & 7)) & 1) << k;
    signaler();
    if (code == end) break;
    if (code == clear) {
      bits = c + 1;
      free = clear + 2;
      full = false;
      old = -1;
      continue;
    }
    if (old < 0) {
      if (code > clear) {
        mauvais(kCorrupt);
        break;
      }
      first = code & mask;
      poser(first);
      old = code;
      continue;
    }
    const int incode = code;
    int sp = 0;
    if (code >= free) {
      if (code > free || full) {
        mauvais(kCorrupt);
        break;
      }
      stack[sp++] = static_cast<std::uint16_t>(first);
      code = old;
    }
    bool casse = false;
    while (code > end) {
      if (code >= free || sp >= 4096) {
        casse = true;
        break;
      }
      stack[sp++] = suffix[code];
      code = prefix[code];
    }
    if (casse) {
      mauvais(kCorrupt);
      break;
    }
    first = code & mask;
    stack[sp++] = static_cast<std::uint16_t>(first);
    while (sp > 0) poser(stack[--sp]);
    if (!full) {
      prefix[free] = static_cast<std::uint16_t>(old);
      suffix[free] = static_cast<std::uint16_t>(first);
      if (++free == (1 << bits)) {
        if (bits < 12) ++bits;
        else full = true;
      }
    }
    old = incode;
  }
}

}  // namespace

std::vector<std::uint8_t> GifDecodePixels(const QByteArray& zdata, int width, int height, int pixel_bits,
                                          bool interlaced, bool tolerate, bool& corrupted) {
  std::vector<std::uint8_t> out(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
  decoder_lzw(
      zdata, width, height, pixel_bits, interlaced, tolerate, corrupted,
      [&](int y, int x, int v) { out[static_cast<std::size_t>(y) * width + x] = static_cast<std::uint8_t>(v); },
      nullptr);
  return out;
}

// ---- Frames ----

const QImage& TGIFFrame::Bitmap() const {
  if (bitmap_.isNull() && item_ && owner_) bitmap_ = owner_->decode_frame(*this, &Corrupted);
  return bitmap_;
}

int TGIFFrame::Width() const { return !bitmap_.isNull() ? bitmap_.width() : item_ ? item_->Width : 0; }
int TGIFFrame::Height() const { return !bitmap_.isNull() ? bitmap_.height() : item_ ? item_->Height : 0; }

QStringList TGIFFrame::Comment() const {
  QStringList lines;
  for (const TExtension& e : Extensions)
    if (e.Kind == etComment)
      for (const QByteArray& b : e.Blocks) lines << QString::fromLatin1(b);
  return lines;
}

// ---- The image ----

TGIFImage::TGIFImage() : data_(std::make_shared<TGIFData>()) {}

TGIFImage::TGIFImage(const TGIFImage& other) : data_(other.data_) { *this = other; }

TGIFImage& TGIFImage::operator=(const TGIFImage& other) {
  if (this == &other) return *this;
  data_ = other.data_;
  version_ = other.version_;
  screen_w_ = other.screen_w_;
  screen_h_ = other.screen_h_;
  background_ = other.background_;
  looping_ = other.looping_;
  repeat_ = other.repeat_;
  current_ = other.current_;
  CorruptedTolerated = other.CorruptedTolerated;
  frames_.clear();
  for (const auto& f : other.frames_) {
    auto copie = std::make_unique<TGIFFrame>(*f);
    copie->owner_ = this;
    frames_.push_back(std::move(copie));
  }
  return *this;
}

TGIFImage::~TGIFImage() = default;

TGIFData& TGIFImage::unique_data() {
  if (data_.use_count() > 1) data_ = std::make_shared<TGIFData>(*data_);
  return *data_;
}

void TGIFImage::Clear() {
  data_ = std::make_shared<TGIFData>();
  frames_.clear();
  version_ = 0;
  current_ = -1;
  screen_w_ = screen_h_ = 0;
  background_ = clNone;
  looping_ = false;
  repeat_ = 1;
}

void TGIFImage::SetComment(const QStringList& lines) { unique_data().Comment = lines; }

void TGIFImage::SetFrameIndex(int i) {
  if (i >= -1 && i < Count()) current_ = i;
}

bool TGIFImage::Empty() const {
  if (frames_.empty()) return true;
  const TGIFFrame& f = *frames_[static_cast<std::size_t>(std::clamp(current_, 0, Count() - 1))];
  return f.bitmap_.isNull() && !f.item_;
}

int TGIFImage::courant() const { return current_ >= 0 && current_ < Count() ? current_ : 0; }

QImage TGIFImage::Bitmap() const {
  if (frames_.empty()) return {};
  return frames_[static_cast<std::size_t>(courant())]->Bitmap();
}

int TGIFImage::Width() const { return Empty() || current_ < 0 ? 0 : frames_[static_cast<std::size_t>(courant())]->Width(); }
int TGIFImage::Height() const { return Empty() || current_ < 0 ? 0 : frames_[static_cast<std::size_t>(courant())]->Height(); }
void TGIFImage::SetWidth(int) { throw GifError("Cannot change the Size of a GIF image"); }
void TGIFImage::SetHeight(int) { throw GifError("Cannot change the Size of a GIF image"); }

void TGIFImage::Draw(QPainter& p, const QRect& r) const {
  if (current_ < 0 || current_ >= Count()) return;
  const TGIFFrame& f = *frames_[static_cast<std::size_t>(current_)];
  DrawBitmapTransparent(p, r.x(), r.y(), r.width(), r.height(), f.Bitmap(), QRect(), f.TransparentColor);
}

void TGIFImage::update_screen_size() {
  // Edges summed in 64 bits: a frame placed far out must not wrap the screen round.
  qint64 w = 0, h = 0;
  for (const auto& f : frames_) {
    w = std::max(w, qint64(f->Left) + f->Width());
    h = std::max(h, qint64(f->Top) + f->Height());
  }
  constexpr qint64 kIntMax = std::numeric_limits<int>::max();
  screen_w_ = static_cast<int>(std::min(w, kIntMax));
  screen_h_ = static_cast<int>(std::min(h, kIntMax));
}

void TGIFImage::check_sizes() const {
  // A file keeps places and sizes in 16 bits, and the screen covers every
  // frame; a frame that does not fit would be written wrapped round. What
  // fits is then held to what the reader takes.
  qint64 total = 0;
  for (const auto& f : frames_) {
    const qint64 left = f->Left, top = f->Top;
    if (left < 0 || top < 0 || left + f->Width() > kGifMaxSide || top + f->Height() > kGifMaxSide)
      throw GifError(kOutOfRange);
    verifier_cadre(f->Width(), f->Height());
    total += qint64(f->Width()) * f->Height();
  }
  verifier_total(total);
}

int TGIFImage::AddFrame(const QImage& picture) {
  auto f = std::make_unique<TGIFFrame>(this);
  f->bitmap_ = picture.copy();
  frames_.push_back(std::move(f));
  if (version_ == 0) version_ = 1;
  if (Count() > 1) version_ = 2;
  current_ = Count() - 1;
  update_screen_size();
  return current_;
}

void TGIFImage::Assign(const TAnimatedCursorImage& cursor) {
  Clear();
  background_ = clWindow;
  for (int i = 0; i < cursor.Count(); ++i) {
    const TIconFrame& f = cursor.Frame(i);
    AddFrame(f.Icon.Image());
    frames_.back()->AnimateInterval =
        static_cast<int>(std::min<std::int64_t>(std::int64_t(f.Rate) * 100 / 6, std::numeric_limits<int>::max()));
  }
}

// ---- Reading ----

namespace {

// The frame's colour, delay and disposal from its graphic control extensions.
void appliquer_controle(TGIFFrame& f, const TGIFColorTable& table) {
  for (const TExtension& e : f.Extensions) {
    if (e.Kind != etGraphic || e.Fixed.size() < 5) continue;
    const int flags = static_cast<std::uint8_t>(e.Fixed[1]);
    const int delay = static_cast<std::uint8_t>(e.Fixed[2]) | (static_cast<std::uint8_t>(e.Fixed[3]) << 8);
    const int index = static_cast<std::uint8_t>(e.Fixed[4]);
    f.TransparentColor = (flags & 1) && index < table.Count ? QColorToCtl(QColor(table.Colors[index])) : clNone;
    f.AnimateInterval = std::max(f.AnimateInterval, delay * 10);
    f.DisposalMethod = (flags >> 2) & 7;
  }
}

}  // namespace

void TGIFImage::LoadFromStream(const QByteArray& bytes) {
  try {
    lire(bytes);
  } catch (...) {
    Clear();  // never half a file
    throw;
  }
  if (frames_.empty()) return;
  current_ = 0;
  if (!DecodeOnLoad) return;
  try {
    frames_.front()->Bitmap();
  } catch (...) {
    frames_.erase(frames_.begin());
    if (frames_.empty()) current_ = -1;
    throw;
  }
}

void TGIFImage::lire(const QByteArray& bytes) {
  Clear();
  Lecteur in{bytes};
  const QByteArray signature = in.octets(6);
  const QByteArray haut = signature.toUpper();
  if (!haut.startsWith("GIF") || (haut.mid(3) != "87A" && haut.mid(3) != "89A"))
    throw GifError("Unknown GIF version");
  version_ = haut.mid(3) == "87A" ? 1 : 2;
  TGIFData& d = unique_data();
  screen_w_ = in.mot();
  screen_h_ = in.mot();
  const int flags = in.octet();
  const int fond = in.octet();
  d.AspectRatio = in.octet();
  d.BitsPerPixel = (flags & 7) + 1;
  d.ColorResBits = ((flags & 0x70) >> 4) + 1;
  if (flags & 0x80) {
    d.Colormap = lire_table(in, d.BitsPerPixel);
    if (fond < d.Colormap.Count) background_ = QColorToCtl(QColor(d.Colormap.Colors[fond]));
  }
  qint64 pixels_annonces = 0;
  // One image descriptor and its data, kept undecoded; a frame that fails is not kept.
  auto lire_cadre = [&](std::vector<TExtension> extensions) {
    auto f = std::make_unique<TGIFFrame>(this);
    auto item = std::make_shared<TGIFItem>();
    f->Extensions = std::move(extensions);
    if (d.Colormap.Count > 0) item->BitsPerPixel = d.BitsPerPixel;
    f->Left = in.mot();
    f->Top = in.mot();
    item->Width = in.mot();
    item->Height = in.mot();
    item->Flags = in.octet();
    f->Interlaced = (item->Flags & 0x40) != 0;
    if (item->Flags & 0x80) {
      item->BitsPerPixel = (item->Flags & 7) + 1;
      item->ColorMap = lire_table(in, item->BitsPerPixel);
      f->LocalColors = true;
    } else {
      item->ColorMap = d.Colormap;
    }
    if (item->Width == 0) item->Width = screen_w_;
    if (item->Height == 0) item->Height = screen_h_;
    verifier_cadre(item->Width, item->Height);
    // What all the frames would take once decoded stays bounded, whatever
    // little data they hold.
    pixels_annonces += qint64(item->Width) * item->Height;
    verifier_total(pixels_annonces);
    QByteArray& z = item->ZData;
    if (in.fin()) f->Corrupted = true;
    else z.append(static_cast<char>(in.octet()));
    while (!f->Corrupted) {
      if (in.fin()) {
        f->Corrupted = true;
        break;
      }
      const int n = in.octet();
      if (n == 0) break;
      if (in.reste() < n) {
        // A sub-block cut by the end of the file is dropped.
        in.pos = bytes.size();
        f->Corrupted = true;
        break;
      }
      z.append(static_cast<char>(n));
      z.append(in.octets(n));
    }
    z.append('\0');
    if (f->Corrupted && !CorruptedTolerated) throw StreamReadError();
    appliquer_controle(*f, item->ColorMap);
    f->item_ = item;
    frames_.push_back(std::move(f));
  };
  std::vector<TExtension> collectees;
  bool apres_cadre = false;
  while (!in.fin()) {
    int b = in.octet();
    // After a frame, anything but another block ends the file.
    if (apres_cadre && b != '!' && b != ',') break;
    apres_cadre = false;
    while (b == '!') {
      TExtension e = lire_extension(in);
      if (e.Kind == etPlainText) {
        collectees.clear();
      } else if (e.Kind == etApplication) {
        const QByteArray id = e.Fixed.mid(1, 11);
        if ((id == "NETSCAPE2.0" || id == "ANIMEXTS1.0") && !e.Blocks.empty() && e.Blocks[0].size() >= 3 &&
            e.Blocks[0][0] == 1) {
          looping_ = true;
          repeat_ = std::min(30000, static_cast<std::uint8_t>(e.Blocks[0][1]) |
                                        (static_cast<std::uint8_t>(e.Blocks[0][2]) << 8));
        }
      } else {
        collectees.push_back(std::move(e));
      }
      if (in.fin()) {
        b = 0;
        break;
      }
      b = in.octet();
    }
    if (b == ',') {
      lire_cadre(std::move(collectees));
      collectees.clear();
      apres_cadre = true;
      continue;
    }
    if (d.Comment.isEmpty() && !collectees.empty()) {
      bool deja = false;
      for (const TExtension& e : collectees) {
        if (e.Kind != etComment) continue;
        if (deja) d.Comment << "\r\n\r\n";
        for (const QByteArray& l : e.Blocks) d.Comment << QString::fromLatin1(l);
        deja = true;
      }
      break;
    }
    if (b != 0 && b != ';') throw StreamReadError();
    break;
  }
}


void TGIFImage::LoadFromFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) throw StreamReadError();
  LoadFromStream(file.readAll());
}

void TGIFImage::ReadData(const QByteArray& bytes) {
  Lecteur in{bytes};
  const qint64 n = in.mot() | (qint64(in.mot()) << 16);
  LoadFromStream(in.octets(n));
}

namespace {

// Where decoded indices go: straight into the rows of the frame's picture.
struct PoseurImage {
  std::uint8_t* base;
  qsizetype ligne;
  bool mono;
  void operator()(int y, int x, int v) const {
    std::uint8_t* row = base + y * ligne;
    if (!mono) row[x] = static_cast<std::uint8_t>(v);
    else if (v & 1) row[x >> 3] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
  }
};

// A picture of colour 0 whose rows come zeroed from the system and are left
// untouched until the codes reach them: a large frame whose data ends early
// takes the memory of the rows written, not of the size it declares.
QImage image_zero(int w, int h, QImage::Format format) {
  const qsizetype ligne = format == QImage::Format_Mono ? (qsizetype(w) + 31) / 32 * 4 : (qsizetype(w) + 3) / 4 * 4;
  auto* octets = static_cast<uchar*>(std::calloc(static_cast<std::size_t>(ligne) * static_cast<std::size_t>(h), 1));
  if (!octets) throw GifError(kCorrupt);
  QImage img(octets, w, h, ligne, format, [](void* p) { std::free(p); }, octets);
  if (img.isNull()) {
    std::free(octets);
    throw GifError(kCorrupt);
  }
  return img;
}

}  // namespace

QImage TGIFImage::decode_frame(const TGIFFrame& f, bool* corrupted) const {
  const TGIFItem& it = *f.item_;
  if (it.BitsPerPixel < 1 || it.BitsPerPixel > 8) throw GifError("Wrong number of colors; must be a power of 2");
  const int w = it.Width, h = it.Height;
  verifier_cadre(w, h);
  if (w <= 0 || h <= 0) return {};
  QList<QRgb> table(1 << it.BitsPerPixel, qRgb(0x80, 0x80, 0x80));
  for (int i = 0; i < std::min<int>(it.ColorMap.Count, table.size()); ++i) table[i] = it.ColorMap.Colors[i] | 0xFF000000u;
  QImage img = image_zero(w, h, it.BitsPerPixel == 1 ? QImage::Format_Mono : QImage::Format_Indexed8);
  img.setColorTable(table);
  if (OnProgress) OnProgress(psStarting, 0, {});
  const std::function<void(int)> avance = [this](int p) { OnProgress(psRunning, p, {}); };
  bool bad = false;
  try {
    decoder_lzw(it.ZData, w, h, it.BitsPerPixel, f.Interlaced, CorruptedTolerated, bad,
                PoseurImage{img.bits(), img.bytesPerLine(), it.BitsPerPixel == 1}, OnProgress ? &avance : nullptr);
  } catch (const std::exception& e) {
    if (OnProgress) OnProgress(psEnding, 0, QString::fromStdString(e.what()));
    throw;
  }
  if (corrupted) *corrupted = *corrupted || bad;
  if (OnProgress) OnProgress(psEnding, 100, {});
  return img;
}

// ---- Writing ----

void TGIFImage::encode_frame(TGIFFrame& f) {
  const QImage& b = f.bitmap_;
  if (b.isNull()) throw GifError("GIF image encoding error");
  const int w = b.width(), h = b.height();
  std::vector<std::uint8_t> px(static_cast<std::size_t>(w) * h);
  TGIFColorTable table;
  int code_size = 8;
  if (b.format() == QImage::Format_Mono || b.format() == QImage::Format_MonoLSB ||
      b.format() == QImage::Format_Indexed8) {
    int plus_grand = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const int i = b.pixelIndex(x, y);
        px[static_cast<std::size_t>(y) * w + x] = static_cast<std::uint8_t>(i);
        plus_grand = std::max(plus_grand, i);
      }
    QList<QRgb> couleurs = b.colorTable();
    if (b.depth() == 1) {
      code_size = 2;
      if (couleurs.size() < 2) couleurs = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    }
    table.Count = std::clamp<int>(std::max<int>(couleurs.size(), plus_grand + 1), 1, 256);
    for (int i = 0; i < table.Count; ++i) table.Colors[i] = i < couleurs.size() ? couleurs[i] & 0xFFFFFF : 0;
  } else {
    const Reduction r = ReduceColors(b.convertToFormat(QImage::Format_RGB32), f.GrayScale ? crGrayscale : crPopularity);
    std::copy(r.indices.begin(), r.indices.end(), px.begin());
    table.Count = static_cast<int>(std::min<std::size_t>(r.palette.size(), 256));
    for (int i = 0; i < table.Count; ++i) table.Colors[i] = r.palette[i] & 0xFFFFFF;
  }
  auto item = std::make_shared<TGIFItem>();
  item->Width = w;
  item->Height = h;
  item->BitsPerPixel = bits_pour(table.Count);
  item->ColorMap = table;
  if (OnProgress) OnProgress(psStarting, 0, {});
  const std::function<void(int)> avance = [this](int p) { OnProgress(psRunning, p, {}); };
  if (!codeur_) codeur_ = std::make_unique<GifEncoder>();
  item->ZData = codeur_->Encode(px.data(), w, h, code_size, OnProgress ? &avance : nullptr);
  if (OnProgress) OnProgress(psEnding, 100, {});
  f.Interlaced = false;
  if (data_->Colormap.Count == 0) {
    TGIFData& d = unique_data();
    d.Colormap = table;
    d.BitsPerPixel = item->BitsPerPixel;
    d.ColorResBits = item->BitsPerPixel;
    f.LocalColors = false;
  } else {
    f.LocalColors = true;
  }
  f.item_ = item;
  update_screen_size();
}

namespace {

// Brings the frame's graphic control block up to date and drops empty comments.
void preparer_extensions(TGIFFrame& f) {
  auto e = std::find_if(f.Extensions.begin(), f.Extensions.end(), [](const TExtension& x) { return x.Kind == etGraphic; });
  if (e == f.Extensions.end() && (f.AnimateInterval > 0 || f.TransparentColor != clNone || f.DisposalMethod != 0)) {
    f.Extensions.insert(f.Extensions.begin(), TExtension{etGraphic, QByteArray("\x04\0\0\0\0\0", 6), {}});
    e = f.Extensions.begin();
  }
  if (e != f.Extensions.end()) {
    e->Fixed.resize(6);
    const int delai = f.AnimateInterval / 10;
    const int index = f.TransparentColor == clNone ? -1 : index_de(f.Item()->ColorMap, f.TransparentColor);
    int flags = static_cast<std::uint8_t>(e->Fixed[1]) & ~0x1D;
    flags |= (f.DisposalMethod & 7) << 2;
    if (index >= 0) {
      flags |= 1;
      e->Fixed[4] = static_cast<char>(index);
    }
    e->Fixed[1] = static_cast<char>(flags);
    e->Fixed[2] = static_cast<char>(delai & 255);
    e->Fixed[3] = static_cast<char>((delai >> 8) & 255);
  }
  std::erase_if(f.Extensions, [](const TExtension& x) {
    if (x.Kind != etComment) return false;
    return std::all_of(x.Blocks.begin(), x.Blocks.end(), [](const QByteArray& b) { return b.isEmpty(); });
  });
}

void ecrire_extension(QByteArray& out, const TExtension& e) {
  out.append('!');
  out.append(static_cast<char>(kLabels[e.Kind]));
  out.append(e.Fixed);
  if (e.Kind == etGraphic) return;  // its fixed part ends with the terminator
  for (const QByteArray& b : e.Blocks) {
    for (qsizetype at = 0; at < b.size(); at += 255) {
      const QByteArray piece = b.mid(at, 255);
      out.append(static_cast<char>(piece.size()));
      out.append(piece);
    }
  }
  out.append('\0');
}

}  // namespace

QByteArray TGIFImage::SaveToStream() {
  if (frames_.empty()) throw GifError("No GIF Data to write");
  check_sizes();
  for (auto& f : frames_) {
    if (!f->item_) encode_frame(*f);
    preparer_extensions(*f);
    if (!f->Extensions.empty()) version_ = 2;
  }
  if (!data_->Comment.isEmpty()) version_ = 2;
  if (version_ == 0) version_ = 1;
  update_screen_size();
  const TGIFData& d = *data_;
  QByteArray out(version_ == 2 ? "GIF89a" : "GIF87a");
  ajouter_mot(out, screen_w_);
  ajouter_mot(out, screen_h_);
  if (d.Colormap.Count > 0) {
    out.append(static_cast<char>(0x80 | ((bits_pour(d.Colormap.Count) - 1) << 4) | (d.BitsPerPixel - 1)));
    out.append(static_cast<char>(std::max(0, background_ == clNone ? 0 : index_de(d.Colormap, background_))));
  } else {
    out.append('\0');
    out.append('\0');
  }
  out.append(static_cast<char>(d.AspectRatio));
  if (d.Colormap.Count > 0) ecrire_table(out, d.Colormap, d.BitsPerPixel);
  if (looping_ && frames_.size() > 1) {
    out.append("!\xFF\x0BNETSCAPE2.0\x03\x01", 16);
    ajouter_mot(out, repeat_);
    out.append('\0');
  }
  for (const auto& f : frames_) {
    for (const TExtension& e : f->Extensions) ecrire_extension(out, e);
    const TGIFItem& it = *f->item_;
    out.append(',');
    ajouter_mot(out, f->Left);
    ajouter_mot(out, f->Top);
    ajouter_mot(out, it.Width);
    ajouter_mot(out, it.Height);
    int flags = f->LocalColors ? 0x80 | (it.BitsPerPixel - 1) : 0;
    if (f->Interlaced) flags |= 0x40;
    out.append(static_cast<char>(flags));
    if (f->LocalColors) ecrire_table(out, it.ColorMap, it.BitsPerPixel);
    out.append(it.ZData);
  }
  TExtension commentaire{etComment, {}, {}};
  for (const QString& l : d.Comment)
    if (!l.isEmpty()) commentaire.Blocks.push_back(l.toLatin1().left(255));
  if (!commentaire.Blocks.empty()) ecrire_extension(out, commentaire);
  out.append(';');
  return out;
}

void TGIFImage::SaveToFile(const QString& path) {
  const QByteArray bytes = SaveToStream();
  const Echec e = ecrire_fichier(path.toStdString(), std::string_view(bytes.constData(), bytes.size()));
  if (!e.empty()) throw GifError(e);
}

QByteArray TGIFImage::WriteData() {
  const QByteArray file = SaveToStream();
  QByteArray out;
  const auto n = static_cast<std::uint32_t>(file.size());
  ajouter_mot(out, static_cast<int>(n & 0xFFFF));
  ajouter_mot(out, static_cast<int>(n >> 16));
  return out + file;
}

// ---- Clipboard ----

void TGIFImage::SaveToClipboardFormat(QMimeData& mime) {
  if (frames_.empty()) return;
  check_sizes();
  const bool donnees = std::all_of(frames_.begin(), frames_.end(), [](const auto& f) { return f->item_ != nullptr; });
  // The file first: when it fails, nothing has been put.
  const QByteArray fichier = donnees ? SaveToStream() : QByteArray();
  mime.setImageData(frames_.front()->Bitmap());
  if (donnees) mime.setData("image/gif", fichier);
}

void TGIFImage::LoadFromClipboardFormat(const QMimeData& mime) {
  const QImage picture = mime.hasImage() ? qvariant_cast<QImage>(mime.imageData()) : QImage();
  if (mime.hasFormat("image/gif")) {
    LoadFromStream(mime.data("image/gif"));
    if (!frames_.empty() && !picture.isNull()) frames_.front()->bitmap_ = picture;
    return;
  }
  Clear();
  if (!picture.isNull()) AddFrame(picture);
}

}  // namespace components
