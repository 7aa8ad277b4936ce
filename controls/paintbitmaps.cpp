// Bitmap placement with masks and transparency, disabled looks, shadow
// patterns, arrows, shadow bevels and gradients. Masked copies use the raster
// operations AND (mask) and OR (image), which need Qt's raster engine.
#include <QPainterPath>
#include <algorithm>
#include <cstdlib>
#include <limits>

#include "controls/properties.h"
#include "platform/arrondi.h"

namespace {

QRect Gdi(int l, int t, int r, int b) { return QRect(l, t, r - l, b - t); }

// Monochrome picture with index 0 black and index 1 white.
QImage MonoImage(QSize size) {
  QImage m(size, QImage::Format_Mono);
  m.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  m.fill(0);
  return m;
}

QRgb Key(CtlColor c) { return ColorToRgb(c & ~0x02000000u).rgb() & 0xFFFFFF; }

// Mask cell ANDed in, then the image cell ORed over it.
void MaskedCopy(QPainter& p, const QRect& cell, const QImage& image, const QRect& src, const QImage& mask) {
  const QPainter::CompositionMode keep = p.compositionMode();
  p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
  p.drawImage(cell, mask.convertToFormat(QImage::Format_RGB32), src);
  p.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
  p.drawImage(cell, image, src);
  p.setCompositionMode(keep);
}

// The size a stretch places: the whole target, or the source scaled by the
// proportion flags.
QSize StretchedSize(unsigned flags, int sw, int sh, int w, int h) {
  if ((flags & dbKeepAspect) == dbKeepAspect) {
    const double f = std::min(static_cast<double>(w) / sw, static_cast<double>(h) / sh);
    return QSize(Round(sw * f), Round(sh * f));
  }
  if (flags & dbKeepWidth) return QSize(w, Round(static_cast<double>(w) / sw * sh));
  if (flags & dbKeepHeight) return QSize(Round(static_cast<double>(h) / sh * sw), h);
  return QSize(w, h);
}

}  // namespace

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const long long p = static_cast<long long>(a) * b;
  long long q = p / c;
  const long long rem = p % c;
  if (2 * std::llabs(rem) >= std::llabs(static_cast<long long>(c))) q += ((p < 0) != (c < 0)) ? -1 : 1;
  if (q < std::numeric_limits<int>::min() || q > std::numeric_limits<int>::max()) return -1;
  return static_cast<int>(q);
}

bool DrawShadowBevel(QPainter& p, QRect& r, CtlColor frame, bool corner, int w, int s, CtlColor corner_colour,
                     CtlColor shadow_colour) {
  const int l = r.left(), t = r.top(), rr = r.left() + r.width(), b = r.top() + r.height();
  const QColor sc = ColorToRgb(shadow_colour), cc = ColorToRgb(corner_colour);
  CtlFillRect(p, Gdi(rr - s, t + s, rr, b), sc);
  CtlFillRect(p, Gdi(l + s, b - s, rr, b), sc);
  if (!corner) {
    CtlFillRect(p, Gdi(rr - s, t, rr, t + s), cc);
    CtlFillRect(p, Gdi(l, b - s, l + s, b), cc);
  }
  r = Gdi(l, t, rr - s, b - s);
  for (int i = 0; i < w; ++i) {
    CtlFrameRect(p, r, ColorToRgb(frame));
    r.adjust(1, 1, -1, -1);
  }
  return true;
}

void DrawArrow(QPainter& p, int x, int y, bool enabled, bool down, CtlColor colour, int n) {
  if (n < 2 || n > 15) return;
  auto arrow = [&](int ax, int ay, const QColor& c) {
    if (down) {
      for (int i = 0; i <= n - 2; ++i) CtlLine(p, ax + i, ay + i, ax + i + 2 * (n - i) - 1, ay + i, c);
      CtlFillRect(p, QRect(ax + n - 1, ay + n - 1, 1, 1), c);
    } else {
      const int h = n / 2;
      for (int i = 0; i < n; ++i) CtlLine(p, ax + h - i, ay + i, ax + h + i + 1, ay + i, c);
    }
  };
  if (enabled) {
    arrow(x, y, ColorToRgb(colour));
  } else {
    arrow(x + 1, y + 1, ColorToRgb(clHighlightText));
    arrow(x, y, ColorToRgb(clGrayText));
  }
}

void FillBitmap(QImage& bmp, const QRect& r, CtlColor colour) {
  if (r.width() <= 0 || r.height() <= 0) return;
  bmp = QImage(r.size(), QImage::Format_RGB32);
  bmp.fill(ColorToRgb(colour));
}

void SplitImageMask(const QImage& source, QImage& mask, QImage& image, CtlColor transparent) {
  image = source.convertToFormat(QImage::Format_RGB32);
  mask = MonoImage(source.size());
  const QRgb key = Key(transparent);
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x)
      if ((line[x] & 0xFFFFFF) == key) {
        mask.setPixel(x, y, 1);
        line[x] = qRgb(0, 0, 0);
      }
  }
}

void MakeDisabledGlyph(QImage& target, const QImage& glyph, int x, int y) {
  const QImage g = glyph.convertToFormat(QImage::Format_RGB32);
  target = QImage(g.size(), QImage::Format_RGB32);
  if (g.isNull()) return;
  const QRgb key = g.pixel(0, g.height() - 1) & 0xFFFFFF;
  target.fill(key);
  auto stamp = [&](int dx, int dy, QRgb c) {
    for (int j = 0; j < g.height(); ++j)
      for (int i = 0; i < g.width(); ++i) {
        if ((g.pixel(i, j) & 0xFFFFFF) == key) continue;
        if (target.rect().contains(i + dx, j + dy)) target.setPixel(i + dx, j + dy, c);
      }
  };
  stamp(x + 1, y + 1, ColorToRgb(clBtnHighlight).rgb());
  stamp(x, y, ColorToRgb(clBtnShadow).rgb());
}

QRect DrawBitmapStyled(QPainter& p, const QRect& target, const QImage& source, const QRect& source_rect,
                       const QImage* mask, CtlColor transparent, unsigned flags) {
  const int sw = source_rect.width(), sh = source_rect.height(), w = target.width(), h = target.height();
  if (w <= 0 || h <= 0 || source.isNull() || sw <= 0 || sh <= 0) return target;

  // The copy of one cell, chosen once for every cell.
  QImage split_image, split_mask;
  if (!(flags & dbObject) && !((flags & dbMasked) && mask) && (flags & dbTransparent))
    SplitImageMask(source.copy(source_rect), split_mask, split_image, transparent);
  auto copy = [&](const QRect& cell) {
    if (flags & dbObject) p.drawImage(cell, source);
    else if ((flags & dbMasked) && mask) MaskedCopy(p, cell, source, source_rect, *mask);
    else if (flags & dbTransparent) MaskedCopy(p, cell, split_image, split_image.rect(), split_mask);
    else p.drawImage(cell, source, source_rect);
  };

  if (flags & dbTile) {
    p.save();
    p.setClipRect(target, Qt::IntersectClip);
    for (int row = 0; row < h / sh + 1; ++row)
      for (int col = 0; col < w / sw + 1; ++col)
        copy(QRect(target.left() + col * sw, target.top() + row * sh, sw, sh));
    p.restore();
    return target;
  }
  QRect cell(target.topLeft(), QSize(sw, sh));
  if (flags & dbCenter) cell.moveTo(target.left() + (w - sw) / 2, target.top() + (h - sh) / 2);
  else if (flags & dbStretch) cell.setSize(StretchedSize(flags, sw, sh, w, h));
  if (cell.width() <= 0 || cell.height() <= 0) return target;
  copy(cell);
  return cell;
}

QRect DrawBitmapStyled(QPainter& p, const QRect& target, const QImage& img, QColor transparent, unsigned flags) {
  const CtlColor key = transparent.isValid() ? QColorToCtl(transparent) : clNone;
  return DrawBitmapStyled(p, target, img, img.rect(), nullptr, key, flags);
}

QRect DrawBitmap(QPainter& p, const QRect& target, const QImage& bmp, CtlColor transparent, unsigned flags) {
  return DrawBitmapStyled(p, target, bmp, bmp.rect(), nullptr, transparent, flags);
}

QRect DrawBitmapClipped(QPainter& p, const QRect& target, const QImage& source, const QRect& source_rect,
                        const QImage* mask, CtlColor transparent, std::uint32_t offset, unsigned flags) {
  if (!(flags & dbClip)) return DrawBitmapStyled(p, target, source, source_rect, mask, transparent, flags);
  const int dx = static_cast<std::int16_t>(offset & 0xFFFF), dy = static_cast<std::int16_t>(offset >> 16);
  p.save();
  p.setClipRect(target.translated(dx, dy), Qt::IntersectClip);
  const QRect drawn = DrawBitmapStyled(p, target, source, source_rect, mask, transparent, flags);
  p.restore();
  return drawn;
}

QRect DrawBitmapExt(QPainter& p, const QRect& target, const QImage& bmp, CtlColor transparent, std::uint32_t offset,
                    unsigned flags) {
  return DrawBitmapClipped(p, target, bmp, bmp.rect(), nullptr, transparent, offset, flags);
}

void DrawMaskedThroughBuffer(QPainter& p, const QRect& r, const QImage& picture, CtlColor final_transparent,
                             CtlColor picture_transparent, QImage& buffer) {
  QImage mask, work;
  SplitImageMask(picture, mask, work, picture_transparent);
  {
    QPainter bp(&buffer);
    CtlPreparePainter(bp);
    DrawBitmapStyled(bp, buffer.rect(), work, work.rect(), &mask, clNone, dbMasked);
  }
  DrawBitmapStyled(p, r, buffer, buffer.rect(), nullptr, final_transparent, dbPalette | dbTransparent);
}

void CreateShadowPatternBrush(QPainter& p, const QRect& r, const QImage& pattern) {
  if (r.width() <= 0 || r.height() <= 0 || pattern.isNull()) return;
  const QImage pat = pattern.convertToFormat(QImage::Format_RGB32);
  QImage tiled(r.size(), QImage::Format_RGB32);
  auto wrap = [](int v, int n) { return ((v % n) + n) % n; };
  for (int y = 0; y < r.height(); ++y)
    for (int x = 0; x < r.width(); ++x)
      tiled.setPixel(x, y, pat.pixel(wrap(r.left() + x, pat.width()), wrap(r.top() + y, pat.height())));
  const QPainter::CompositionMode keep = p.compositionMode();
  p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
  p.drawImage(r.topLeft(), tiled);
  p.setCompositionMode(keep);
}

std::vector<CtlColor> BuildGradientColors(CtlColor start, CtlColor end, int n) {
  std::vector<CtlColor> list;
  if (n <= 0) return list;
  const QColor a = ColorToRgb(start), b = ColorToRgb(end);
  if (n == 1) {
    list.push_back(QColorToCtl(a));
    return list;
  }
  for (int i = 0; i < n; ++i) {
    auto channel = [&](int c0, int c1) { return (c0 + MulDiv(i, c1 - c0, n - 1)) & 255; };
    list.push_back(CtlRgb(channel(a.red(), b.red()), channel(a.green(), b.green()), channel(a.blue(), b.blue())));
  }
  return list;
}

bool CreateColorPalette(const std::vector<CtlColor>* list) { return list && !list->empty(); }

namespace {

// The bands of one gradient, painted relative to (0, 0) over w × h. Filled
// shapes without a pen lose their right column and bottom row, as on the
// original platform.
void PaintGradientBands(QPainter& p, int w, int h, const std::vector<CtlColor>& colours, CtlGradientStyle style) {
  const int n = static_cast<int>(colours.size());
  auto colour = [&](int i) { return ColorToRgb(colours[static_cast<std::size_t>(i)]); };
  if (style == gstHorizontal) {
    for (int i = 0; i < n; ++i) CtlFillRect(p, Gdi(MulDiv(i, w, n), 0, MulDiv(i + 1, w, n), h), colour(i));
    return;
  }
  const int cx = w / 2, cy = h / 2;
  for (int i = n - 1; i >= 0; --i) {
    const int sw = MulDiv(i + 1, w, n), sh = MulDiv(i + 1, h, n);
    QRect shape;
    switch (style) {
      case gstVertical: CtlFillRect(p, Gdi(0, MulDiv(i, h, n), w, MulDiv(i + 1, h, n)), colour(i)); continue;
      case gstSquare: shape = Gdi(cx - sw / 2, cy - sh / 2, cx + sw / 2 + 2, cy + sh / 2 + 2); break;
      case gstElliptic: {
        const int rx = Round(sw / 1.4), ry = Round(sh / 1.4);
        const QRect e = Gdi(cx - rx, cy - ry, cx + rx, cy + ry);
        if (e.width() > 1 && e.height() > 1) {
          p.save();
          p.setPen(Qt::NoPen);
          p.setBrush(colour(i));
          p.setRenderHint(QPainter::Antialiasing, false);
          p.drawEllipse(QRectF(e.left(), e.top(), e.width() - 1, e.height() - 1));
          p.restore();
        }
        continue;
      }
      case gstTopLeft: shape = Gdi(0, 0, sw + 1, sh + 1); break;
      case gstTopRight: shape = Gdi(w - sw, 0, w + 1, sh + 1); break;
      case gstBottomLeft: shape = Gdi(0, h - sh, sw + 1, h + 1); break;
      case gstBottomRight: shape = Gdi(w - sw, h - sh, w + 1, h + 1); break;
      case gstHorizontal: break;
    }
    CtlFillRect(p, shape.adjusted(0, 0, -1, -1), colour(i));
  }
}

}  // namespace

void FillGradient(QPainter& p, const QRect& r, const std::vector<CtlColor>& colours, unsigned flags,
                  CtlGradientStyle style, QPoint offset) {
  if (colours.empty() || r.width() <= 0 || r.height() <= 0) return;
  p.save();
  if (flags & gfClip) p.setClipRect(r.translated(offset), Qt::IntersectClip);
  if (flags & gfUseBitmap) {
    QImage buffer(r.size(), QImage::Format_RGB32);
    buffer.fill(Qt::white);
    {
      QPainter bp(&buffer);
      CtlPreparePainter(bp);
      PaintGradientBands(bp, r.width(), r.height(), colours, style);
    }
    p.drawImage(r.topLeft(), buffer);
  } else {
    p.translate(r.topLeft());
    PaintGradientBands(p, r.width(), r.height(), colours, style);
  }
  p.restore();
}
