// Banded gradient, text shortening, transparent stretched drawing and the
// small helpers of the picture components.
#include "components/graphiques.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLocale>
#include <algorithm>
#include <cmath>
#include <limits>
#include <cstdlib>
#include <cstring>

#include "controls/application.h"

namespace components {

namespace {

QColor band_colour(const int begin[3], const int diff[3], int i, int last) {
  int c[3];
  for (int k = 0; k < 3; ++k) c[k] = (begin[k] + MulDiv(i, diff[k], last)) & 255;
  return QColor(c[0], c[1], c[2]);
}

// The palette entry nearest to `c` (by the sum of squared differences; the
// first of equals).
QRgb nearest_entry(const QList<QRgb>& palette, QRgb c) {
  QRgb best = palette.front();
  int best_distance = -1;
  for (const QRgb e : palette) {
    const int dr = qRed(e) - qRed(c), dg = qGreen(e) - qGreen(c), db = qBlue(e) - qBlue(c);
    const int d = dr * dr + dg * dg + db * db;
    if (best_distance < 0 || d < best_distance) {
      best = e;
      best_distance = d;
    }
  }
  return best | 0xFF000000u;
}

// A rectangle with 64-bit edges (right and bottom excluded): the int places
// and sizes of the callers add up without wrapping.
struct Bornes {
  std::int64_t left = 0, top = 0, right = 0, bottom = 0;
  static Bornes de(std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h) { return {x, y, x + w, y + h}; }
  std::int64_t width() const { return right - left; }
  std::int64_t height() const { return bottom - top; }
  bool vide() const { return right <= left || bottom <= top; }
  Bornes inter(const Bornes& o) const {
    return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
  }
};

// The whole pixels a logical rectangle touches, kept to the painter's int range.
Bornes couvertes(const QRectF& r) {
  constexpr double kMin = std::numeric_limits<int>::min(), kMax = std::numeric_limits<int>::max();
  auto borner = [&](double v) { return static_cast<std::int64_t>(std::clamp(v, kMin, kMax)); };
  if (!(r.width() > 0 && r.height() > 0)) return {};
  return {borner(std::floor(r.left())), borner(std::floor(r.top())), borner(std::ceil(r.right())),
          borner(std::ceil(r.bottom()))};
}

// The part of `target` (logical coordinates) the painter can show: its device,
// and its clip when it has one, mapped back through the inverse of its
// transform; nothing when the transform flattens everything.
Bornes visible_part(const QPainter& p, const Bornes& target) {
  if (!p.device()) return {};
  const QTransform t = p.combinedTransform();
  bool inversible = true;
  const QTransform inverse = t.inverted(&inversible);
  if (!inversible) return {};
  const QRectF device(0, 0, p.device()->width(), p.device()->height());
  Bornes part = target.inter(couvertes(t.isIdentity() ? device : inverse.mapRect(device)));
  if (p.hasClipping()) part = part.inter(couvertes(p.clipBoundingRect()));
  return part;
}

// How many pixels `part` covers on the device along each side, at most its
// own size: a transform that shrinks needs no more pixels than it shows.
QSize pixels_montres(const QPainter& p, const QRectF& part) {
  const QTransform t = p.combinedTransform();
  const QRectF on_device = t.isIdentity() ? part : t.mapRect(part);
  const auto side = [](double device, double own) {
    return static_cast<int>(std::clamp<double>(std::ceil(device), 1.0, std::min(own, 1.0 * (1 << 30))));
  };
  return {side(on_device.width(), part.width()), side(on_device.height(), part.height())};
}

// Nearest-pixel stretch (the platform's colour-on-colour mode) of the source
// rectangle onto `target`, of which only `part` is made, in `size` pixels
// (the part's own size, or fewer where the painter shrinks it: each then
// samples the middle of the logical pixels it stands for); `keep(pixel)` tells
// the pixels that stay, the others and those outside the picture become clear.
template <typename Keep>
QImage stretch_part(const QImage& picture, const Bornes& source, const Bornes& target, const Bornes& part, QSize size,
                    Keep keep) {
  QImage out(size, QImage::Format_ARGB32);
  if (out.isNull()) return out;
  // The logical pixel that pixel k of n samples along a side of `own` pixels.
  const auto logique = [](int k, int n, std::int64_t own) { return (2 * std::int64_t(k) + 1) * own / (2 * std::int64_t(n)); };
  for (int row = 0; row < size.height(); ++row) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(row));
    const std::int64_t i = part.top + logique(row, size.height(), part.height()) - target.top;
    const std::int64_t sy = source.top + i * source.height() / target.height();
    const bool row_inside = sy >= 0 && sy < picture.height();
    const auto* in = row_inside ? reinterpret_cast<const QRgb*>(picture.constScanLine(static_cast<int>(sy))) : nullptr;
    for (int col = 0; col < size.width(); ++col) {
      const std::int64_t j = part.left + logique(col, size.width(), part.width()) - target.left;
      const std::int64_t sx = source.left + j * source.width() / target.width();
      const QRgb c = in && sx >= 0 && sx < picture.width() ? in[sx] | 0xFF000000u : 0u;
      line[col] = c != 0u && keep(c) ? c : 0u;
    }
  }
  return out;
}

// Stretches `source` of the picture onto `target`, making only the part the
// painter can show and drawing it over the canvas.
template <typename Keep>
void draw_stretched(QPainter& p, const QImage& picture, const Bornes& source, const Bornes& target, Keep keep) {
  if (source.vide() || target.vide()) return;
  const Bornes part = visible_part(p, target);
  if (part.vide()) return;
  const QRectF logical(double(part.left), double(part.top), double(part.width()), double(part.height()));
  const QImage placed =
      stretch_part(picture.convertToFormat(QImage::Format_ARGB32), source, target, part, pixels_montres(p, logical), keep);
  if (placed.isNull()) return;
  p.save();
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  p.drawImage(logical, placed, QRectF(placed.rect()));
  p.restore();
}

}  // namespace

void GradientFillRect(QPainter& p, const QRect& r, CtlColor start, CtlColor end, TFillDirection direction,
                      std::uint8_t colour_count) {
  if (r.width() <= 0 || r.height() <= 0) return;
  const QColor from = ColorToRgb(start), to = ColorToRgb(end);
  if (colour_count < 2) {
    CtlFillRect(p, r, from);
    return;
  }
  const bool forward = direction == fdTopToBottom || direction == fdLeftToRight;
  const bool vertical = direction == fdTopToBottom || direction == fdBottomToTop;
  const QColor& b = forward ? from : to;
  const QColor& e = forward ? to : from;
  const int begin[3] = {b.red(), b.green(), b.blue()};
  const int diff[3] = {e.red() - b.red(), e.green() - b.green(), e.blue() - b.blue()};
  const int side = vertical ? r.height() : r.width();
  const int n = std::max(2, std::min<int>(colour_count, side));
  const int band = side / n;
  for (int i = 0; i < n; ++i) {
    const int at = i * band;
    const QRect piece = vertical ? QRect(r.left(), r.top() + at, r.width(), band)
                                 : QRect(r.left() + at, r.top(), band, r.height());
    CtlFillRect(p, piece, band_colour(begin, diff, i, n - 1));
  }
  const int done = n * band;
  if (done < side) {
    const QRect rest = vertical ? QRect(r.left(), r.top() + done, r.width(), side - done)
                                : QRect(r.left() + done, r.top(), side - done, r.height());
    CtlFillRect(p, rest, forward ? to : from);
  }
}

QString ShortenString(const QString& text, const TextWidth& width, int max_width) {
  QString result = text;
  const int length = static_cast<int>(text.size());
  for (int i = 1; i <= length;) {
    if (width(result) <= max_width) break;
    ++i;
    result = text.left(std::max(0, length - i)) + QStringLiteral("...");
  }
  return result;
}

QString ShortenString(const QString& text, const QPainter& p, int max_width) {
  const QFontMetrics metrics(p.font());
  return ShortenString(text, [&metrics](const QString& s) { return metrics.horizontalAdvance(s); }, max_width);
}

void StretchBltTransparent(QPainter& p, int x, int y, int w, int h, const QImage& source, int sx, int sy, int sw,
                           int sh, CtlColor transparent, const QList<QRgb>* palette) {
  if (source.isNull() || w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return;
  QRgb key = ColorToRgb(transparent).rgb();
  if (palette && !palette->isEmpty()) key = nearest_entry(*palette, key);
  draw_stretched(p, source, Bornes::de(sx, sy, sw, sh), Bornes::de(x, y, w, h), [key](QRgb c) { return c != key; });
}

void DrawBitmapTransparent(QPainter& p, int x, int y, int w, int h, const QImage& bitmap, QRect source,
                           CtlColor transparent) {
  if (bitmap.isNull()) return;
  if (w < 1) w = bitmap.width();
  if (h < 1) h = bitmap.height();
  if (source.width() <= 0 || source.height() <= 0) source = bitmap.rect();
  if (transparent == clNone) {
    draw_stretched(p, bitmap, Bornes::de(source.x(), source.y(), source.width(), source.height()),
                   Bornes::de(x, y, w, h), [](QRgb) { return true; });
    return;
  }
  if (bitmap.depth() == 1) {
    StretchBltTransparent(p, x, y, w, h, bitmap, source.x(), source.y(), source.width(), source.height(),
                          clWhite, nullptr);
    return;
  }
  if (transparent == clDefault) transparent = QColorToCtl(QColor(bitmap.pixel(0, bitmap.height() - 1)));
  const QList<QRgb> table = bitmap.colorTable();
  StretchBltTransparent(p, x, y, w, h, bitmap, source.x(), source.y(), source.width(), source.height(),
                        PaletteColor(transparent), table.isEmpty() ? nullptr : &table);
}

void DrawBitmapRectTransparent(QPainter& p, int x, int y, const QRect& source, const QImage& bitmap,
                               CtlColor transparent) {
  DrawBitmapTransparent(p, x, y, source.width(), source.height(), bitmap, source, transparent);
}

bool ShortDateHasFourDigitYear(const QString& short_date_format) {
  return short_date_format.toUpper().contains("YYYY");
}

namespace {

bool& annee_quatre_chiffres() {
  static bool flag = ShortDateHasFourDigitYear(QLocale::system().dateFormat(QLocale::ShortFormat));
  return flag;
}

}  // namespace

bool FourDigitYear() { return annee_quatre_chiffres(); }
void SetFourDigitYear(bool on) { annee_quatre_chiffres() = on; }

bool CompareMemory(const void* a, const void* b, std::size_t count) {
  return count == 0 || std::memcmp(a, b, count) == 0;
}

CtlColor PaletteColor(CtlColor colour) { return QColorToCtl(ColorToRgb(colour)) | kPaletteRelative; }

GlobalMemory AllocMemGlobal(int size) {
  if (size < 1) return nullptr;
  return std::calloc(static_cast<std::size_t>(size), 1);
}

void FreeMemGlobal(GlobalMemory& block) {
  std::free(block);
  block = nullptr;
}

void RegisterCursors() {
  CtlApplication::RegisterCursor(crHand, QCursor(Qt::OpenHandCursor));
  CtlApplication::RegisterCursor(crDragHand, QCursor(Qt::ClosedHandCursor));
}

bool ActiveWindowInThread() { return QApplication::activeWindow() != nullptr; }

NotImplementedError::NotImplementedError() : std::runtime_error("Function not yet implemented") {}

StreamReadError::StreamReadError() : CtlReadError("Stream read error") {}

void NotImplemented() {
  while (QGuiApplication::overrideCursor() != nullptr) QGuiApplication::restoreOverrideCursor();
  throw NotImplementedError();
}

}  // namespace components
