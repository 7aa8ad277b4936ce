// Banded gradient, text shortening, transparent stretched drawing and the
// small helpers of the picture components.
#include "components/graphiques.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLocale>
#include <algorithm>
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

// The part of (x, y, w, h) the painter can show: all of it under a transform,
// else what lies on its device.
QRect visible_part(const QPainter& p, const QRect& r) {
  if (!p.device() || !p.worldTransform().isIdentity()) return r;
  return r & QRect(0, 0, p.device()->width(), p.device()->height());
}

// Nearest-pixel stretch (the platform's colour-on-colour mode) of the source
// rectangle onto `target`, of which only `part` is made; `keep(pixel)` tells
// the pixels that stay, the others and those outside the picture become clear.
template <typename Keep>
QImage stretch_part(const QImage& picture, const QRect& source, const QRect& target, const QRect& part, Keep keep) {
  QImage out(part.size(), QImage::Format_ARGB32);
  if (out.isNull()) return out;
  for (int row = 0; row < part.height(); ++row) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(row));
    const std::int64_t i = part.top() + row - target.top();
    const int sy = source.top() + static_cast<int>(i * source.height() / target.height());
    const bool row_inside = sy >= 0 && sy < picture.height();
    const auto* in = row_inside ? reinterpret_cast<const QRgb*>(picture.constScanLine(sy)) : nullptr;
    for (int col = 0; col < part.width(); ++col) {
      const std::int64_t j = part.left() + col - target.left();
      const int sx = source.left() + static_cast<int>(j * source.width() / target.width());
      const QRgb c = in && sx >= 0 && sx < picture.width() ? in[sx] | 0xFF000000u : 0u;
      line[col] = c != 0u && keep(c) ? c : 0u;
    }
  }
  return out;
}

void draw_over(QPainter& p, const QPoint& at, const QImage& part) {
  p.save();
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  p.drawImage(at, part);
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
  const QRect target(x, y, w, h);
  const QRect part = visible_part(p, target);
  if (part.isEmpty()) return;
  QRgb key = ColorToRgb(transparent).rgb();
  if (palette && !palette->isEmpty()) key = nearest_entry(*palette, key);
  const QImage picture = source.convertToFormat(QImage::Format_ARGB32);
  const QImage placed =
      stretch_part(picture, QRect(sx, sy, sw, sh), target, part, [key](QRgb c) { return c != key; });
  if (!placed.isNull()) draw_over(p, part.topLeft(), placed);
}

void DrawBitmapTransparent(QPainter& p, int x, int y, int w, int h, const QImage& bitmap, QRect source,
                           CtlColor transparent) {
  if (bitmap.isNull()) return;
  if (w < 1) w = bitmap.width();
  if (h < 1) h = bitmap.height();
  if (source.width() <= 0 || source.height() <= 0) source = bitmap.rect();
  if (transparent == clNone) {
    const QRect target(x, y, w, h);
    const QRect part = visible_part(p, target);
    if (part.isEmpty()) return;
    const QImage placed = stretch_part(bitmap.convertToFormat(QImage::Format_ARGB32), source, target, part,
                                       [](QRgb) { return true; });
    if (!placed.isNull()) draw_over(p, part.topLeft(), placed);
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
