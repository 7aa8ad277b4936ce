// Banded gradient, text shortening, transparent stretched drawing and the
// small helpers of the picture components.
#include "components/graphiques.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLocale>
#include <algorithm>
#include <cstring>

namespace components {

namespace {

QColor band_colour(const int begin[3], const int diff[3], int i, int last) {
  int c[3];
  for (int k = 0; k < 3; ++k) c[k] = (begin[k] + MulDiv(i, diff[k], last)) & 255;
  return QColor(c[0], c[1], c[2]);
}

// Nearest-pixel stretch of `src` to w x h (the platform's colour-on-colour stretch).
QImage stretch_nearest(const QImage& src, int w, int h) {
  if (src.width() == w && src.height() == h) return src;
  QImage out(w, h, src.format());
  if (src.format() == QImage::Format_ARGB32) {
    for (int y = 0; y < h; ++y) {
      const int sy = static_cast<int>(static_cast<std::int64_t>(y) * src.height() / h);
      const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(sy));
      auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
      for (int x = 0; x < w; ++x) row[x] = in[static_cast<std::int64_t>(x) * src.width() / w];
    }
  }
  return out;
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

void DrawBitmapTransparent(QPainter& p, int x, int y, int w, int h, const QImage& bitmap, QRect source,
                           CtlColor transparent) {
  if (bitmap.isNull()) return;
  if (w < 1) w = bitmap.width();
  if (h < 1) h = bitmap.height();
  if (source.width() <= 0 || source.height() <= 0) source = bitmap.rect();
  QImage part = bitmap.copy(source).convertToFormat(QImage::Format_ARGB32);
  if (transparent != clNone) {
    QRgb key;
    if (bitmap.depth() == 1) {
      key = qRgb(255, 255, 255);
    } else if (transparent == clDefault) {
      key = bitmap.pixel(0, bitmap.height() - 1) | 0xFF000000u;
    } else {
      key = ColorToRgb(transparent).rgb();
    }
    for (int row = 0; row < part.height(); ++row) {
      auto* line = reinterpret_cast<QRgb*>(part.scanLine(row));
      for (int col = 0; col < part.width(); ++col) {
        line[col] = (line[col] | 0xFF000000u) == key ? 0u : (line[col] | 0xFF000000u);
      }
    }
  }
  const QImage placed = stretch_nearest(part, w, h);
  p.save();
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  p.drawImage(x, y, placed);
  p.restore();
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

bool ActiveWindowInThread() { return QApplication::activeWindow() != nullptr; }

NotImplementedError::NotImplementedError() : std::runtime_error("Function not yet implemented") {}

StreamReadError::StreamReadError() : CtlReadError("Stream read error") {}

void NotImplemented() {
  while (QGuiApplication::overrideCursor() != nullptr) QGuiApplication::restoreOverrideCursor();
  throw NotImplementedError();
}

}  // namespace components
