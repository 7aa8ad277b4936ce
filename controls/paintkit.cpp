#include "controls/paintkit.h"

#include <QFontMetrics>
#include <QPolygon>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

#include "controls/application.h"
#include "platform/arrondi.h"

namespace {

// The classic system colours, by index (RGB).
constexpr std::array<std::uint32_t, 31> kSystemColours = {
    0xC0C0C0, 0x008080, 0x000080, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000, 0x000000,  // 0..7
    0x000000, 0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0x808080, 0x000080, 0xFFFFFF, 0xC0C0C0,  // 8..15
    0x808080, 0x808080, 0x000000, 0xC0C0C0, 0xFFFFFF, 0x000000, 0xC0C0C0, 0x000000,  // 16..23
    0xFFFFE1, 0xB5B5B5, 0x0000FF, 0x1084D0, 0xB5B5B5, 0x000080, 0xC0C0C0};           // 24..30

QRect Gdi(int l, int t, int r, int b) { return QRect(l, t, r - l, b - t); }
int GRight(const QRect& r) { return r.left() + r.width(); }
int GBottom(const QRect& r) { return r.top() + r.height(); }

}  // namespace

QColor ColorToRgb(CtlColor c) {
  if (c & clSystemColor) {
    std::uint32_t n = c & 0xFF;
    std::uint32_t rgb = n < kSystemColours.size() ? kSystemColours[n] : 0;
    return QColor((rgb >> 16) & 255, (rgb >> 8) & 255, rgb & 255);
  }
  return QColor(c & 255, (c >> 8) & 255, (c >> 16) & 255);
}

CtlColor QColorToCtl(const QColor& c) { return CtlRgb(c.red(), c.green(), c.blue()); }

void CtlPreparePainter(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setRenderHint(QPainter::TextAntialiasing, false);
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
}

void CtlFillRect(QPainter& p, const QRect& r, const QColor& c) {
  if (r.width() > 0 && r.height() > 0) p.fillRect(r, c);
}

void CtlFrameRect(QPainter& p, const QRect& r, const QColor& c) {
  if (r.width() <= 0 || r.height() <= 0) return;
  int l = r.left(), t = r.top(), rr = GRight(r), b = GBottom(r);
  p.fillRect(Gdi(l, t, rr, t + 1), c);
  p.fillRect(Gdi(l, b - 1, rr, b), c);
  p.fillRect(Gdi(l, t, l + 1, b), c);
  p.fillRect(Gdi(rr - 1, t, rr, b), c);
}

void CtlLine(QPainter& p, int x0, int y0, int x1, int y1, const QColor& c) {
  if (y0 == y1) {
    if (x1 > x0) p.fillRect(Gdi(x0, y0, x1, y0 + 1), c);
    else if (x1 < x0) p.fillRect(Gdi(x1 + 1, y0, x0 + 1, y0 + 1), c);
    return;
  }
  if (x0 == x1) {
    if (y1 > y0) p.fillRect(Gdi(x0, y0, x0 + 1, y1), c);
    else p.fillRect(Gdi(x0, y1 + 1, x0 + 1, y0 + 1), c);
    return;
  }
  // Diagonal: step by the longer axis and leave the end pixel out.
  int dx = x1 - x0, dy = y1 - y0;
  int n = std::max(std::abs(dx), std::abs(dy));
  for (int i = 0; i < n; ++i) {
    int x = x0 + (dx * i) / n, y = y0 + (dy * i) / n;
    p.fillRect(QRect(x, y, 1, 1), c);
  }
}

void CtlPolygon(QPainter& p, const QPolygon& poly, const QColor& c) {
  p.save();
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.drawPolygon(poly, Qt::OddEvenFill);
  p.restore();
}

void CtlDrawEdge(QPainter& p, QRect& r, unsigned edge, unsigned flags) {
  bool soft = flags & BF_SOFT;
  auto ring = [&](CtlColor tl, CtlColor br) {
    QColor a = ColorToRgb(tl), b = ColorToRgb(br);
    int l = r.left(), t = r.top(), rr = GRight(r), bb = GBottom(r);
    if (rr <= l || bb <= t) return;
    if (flags & BF_TOP) CtlFillRect(p, Gdi(l, t, rr, t + 1), a);
    if (flags & BF_LEFT) CtlFillRect(p, Gdi(l, t, l + 1, bb), a);
    if (flags & BF_BOTTOM) CtlFillRect(p, Gdi(l, bb - 1, rr, bb), b);
    if (flags & BF_RIGHT) CtlFillRect(p, Gdi(rr - 1, t, rr, bb), b);
    if (flags & BF_ADJUST) {
      if (flags & BF_LEFT) r.setLeft(r.left() + 1);
      if (flags & BF_TOP) r.setTop(r.top() + 1);
      if (flags & BF_RIGHT) r.setRight(r.right() - 1);
      if (flags & BF_BOTTOM) r.setBottom(r.bottom() - 1);
    } else {
      // Without adjust the next ring still lies one pixel further in.
      r.adjust(1, 1, -1, -1);
    }
  };
  QRect keep = r;
  if (edge & BDR_RAISEDOUTER) ring(soft ? clBtnHighlight : cl3DLight, cl3DDkShadow);
  else if (edge & BDR_SUNKENOUTER) ring(soft ? cl3DDkShadow : clBtnShadow, clBtnHighlight);
  if (edge & BDR_RAISEDINNER) ring(soft ? cl3DLight : clBtnHighlight, clBtnShadow);
  else if (edge & BDR_SUNKENINNER) ring(soft ? clBtnShadow : cl3DDkShadow, cl3DLight);
  if (flags & BF_MIDDLE) CtlFillRect(p, r, ColorToRgb(clBtnFace));
  if (!(flags & BF_ADJUST)) r = keep;
}

bool DrawBevelFrame(QPainter& p, QRect& r, CtlBevelStyle style, int d, CtlColor a, CtlColor b) {
  if (style == bvNone || style == bvShadow) return false;
  CtlColor br = a, tl = b;  // bottom-right, top-left
  if (style == bvLowered || style == bvFrameLowered) {
    br = b;
    tl = a;
  } else if (style == bvNormal) {
    br = tl = clBlack;
  }
  QColor cbr = ColorToRgb(br), ctl = ColorToRgb(tl);
  int l = r.left(), t = r.top(), rr = GRight(r), bb = GBottom(r);
  if (style == bvFrameLowered || style == bvFrameRaised) {
    for (int i = 0; i < d; ++i) {
      CtlFrameRect(p, Gdi(l + i + 1, t + i + 1, rr, bb), cbr);
      CtlFrameRect(p, Gdi(l, t, rr - i - 1, bb - i - 1), ctl);
    }
    r = Gdi(l + d + 1, t + d + 1, rr - d - 1, bb - d - 1);
    return true;
  }
  if (d == 1) {
    CtlLine(p, l, bb - 1, l, t, ctl);
    CtlLine(p, l, t, rr - 1, t, ctl);
    CtlFillRect(p, QRect(rr - 1, t, 1, 1), ctl);  // polyline corner pixel drawn by the first segment's end
    CtlLine(p, rr - 1, t, rr - 1, bb - 1, cbr);
    CtlLine(p, rr - 1, bb - 1, l, bb - 1, cbr);
  } else if (d > 1) {
    int il = l + d, it = t + d, ir = rr - d, ib = bb - d - 1;
    CtlPolygon(p, QPolygon({QPoint(l, bb), QPoint(il, ib), QPoint(ir, ib), QPoint(ir, it), QPoint(rr, t), QPoint(rr, bb)}), cbr);
    CtlPolygon(p, QPolygon({QPoint(l, bb - 1), QPoint(il, ib), QPoint(il, it), QPoint(ir - 1, it), QPoint(rr - 1, t), QPoint(l, t)}), ctl);
  }
  r = Gdi(l + d, t + d, rr - d, bb - d);
  return true;
}

int BorderStyleWidth(CtlBorderStyle style) {
  switch (style) {
    case lsNone: return 0;
    case lsSingle:
    case lsSingleRaised:
    case lsSingleLowered: return 1;
    default: return 2;
  }
}

bool DrawEdgeStyle(QPainter& p, QRect& r, CtlBorderStyle style, unsigned extra) {
  const unsigned all = BF_RECT;
  switch (style) {
    case lsNone: break;
    case lsSingle:
      CtlDrawEdge(p, r, BDR_SUNKENOUTER, BF_SOFT | BF_ADJUST | BF_LEFT | BF_TOP | extra);
      CtlDrawEdge(p, r, BDR_RAISEDOUTER, BF_ADJUST | BF_RIGHT | BF_BOTTOM);
      break;
    case lsLowered: CtlDrawEdge(p, r, BDR_SUNKENOUTER | BDR_SUNKENINNER, BF_SOFT | BF_ADJUST | all | extra); break;
    case lsRaised: CtlDrawEdge(p, r, BDR_RAISEDOUTER | BDR_RAISEDINNER, BF_SOFT | BF_ADJUST | all | extra); break;
    case lsRaisedspb:
    case lsRaisedExt:
      CtlDrawEdge(p, r, BDR_RAISEDOUTER, BF_SOFT | BF_ADJUST | all | extra);
      CtlDrawEdge(p, r, BDR_RAISEDINNER, BF_ADJUST | BF_RIGHT | BF_BOTTOM);
      if (style == lsRaisedExt) r.adjust(1, 1, 0, 0);
      break;
    case lsLoweredspb:
      CtlDrawEdge(p, r, BDR_SUNKENOUTER, BF_ADJUST | all | extra);
      CtlDrawEdge(p, r, BDR_SUNKENINNER, BF_ADJUST | BF_LEFT | BF_TOP | extra);
      break;
    case lsLoweredExt:
      CtlDrawEdge(p, r, BDR_SUNKENOUTER, BF_ADJUST | all | extra);
      CtlDrawEdge(p, r, BDR_SUNKENINNER, BF_ADJUST | BF_LEFT | BF_TOP);
      r.adjust(0, 0, -1, -1);
      break;
    case lsFrameInset: CtlDrawEdge(p, r, BDR_SUNKENOUTER | BDR_RAISEDINNER, BF_ADJUST | all | extra); break;
    case lsFrameOffset:
      CtlDrawEdge(p, r, BDR_RAISEDINNER, BF_ADJUST | all | extra);
      CtlDrawEdge(p, r, BDR_SUNKENOUTER, BF_ADJUST | all | extra);
      break;
    case lsWindowBorder:
      CtlDrawEdge(p, r, BDR_RAISEDOUTER, BF_ADJUST | BF_RIGHT | BF_BOTTOM | extra);
      r.adjust(1, 1, 0, 0);
      CtlDrawEdge(p, r, BDR_RAISEDINNER, BF_ADJUST | all | extra);
      break;
    case lsSingleRaised: CtlDrawEdge(p, r, BDR_RAISEDINNER, BF_ADJUST | all | extra); break;
    case lsSingleLowered: CtlDrawEdge(p, r, BDR_SUNKENOUTER, BF_ADJUST | all | extra); break;
    case lsDoubleRaised:
      CtlDrawEdge(p, r, BDR_RAISEDINNER, BF_ADJUST | all | extra);
      CtlDrawEdge(p, r, BDR_RAISEDINNER, BF_ADJUST | all | extra);
      break;
    case lsDoubleLowered:
      CtlDrawEdge(p, r, BDR_SUNKENOUTER, BF_ADJUST | all | extra);
      CtlDrawEdge(p, r, BDR_SUNKENOUTER, BF_ADJUST | all | extra);
      break;
  }
  return true;
}

QRect AlignRect(CtlAlignment a, QSize inner, const QRect& outer) {
  int W = outer.width(), H = outer.height(), w = inner.width(), h = inner.height();
  int col = static_cast<int>(a) % 3, row = static_cast<int>(a) / 3;
  int dx = col == 0 ? 0 : col == 1 ? (W - w) / 2 : W - w;
  int dy = row == 0 ? 0 : row == 1 ? (H - h) / 2 : H - h;
  return QRect(outer.left() + dx, outer.top() + dy, w, h);
}

QImage MakeEmbossedImage(const QImage& src) {
  QImage img = src.convertToFormat(QImage::Format_RGB32);
  if (img.isNull()) return img;
  QRgb bg = img.pixel(0, 0) & 0xFFFFFF;
  long long sum = 0, count = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      QRgb c = img.pixel(x, y);
      if ((c & 0xFFFFFF) == bg) continue;
      sum += qRed(c) + qGreen(c) + qBlue(c);
      ++count;
    }
  int t = 0;
  if (count > 0) t = -Round(200.0 - static_cast<double>(sum) / static_cast<double>(count));
  QRgb hl = ColorToRgb(clBtnHighlight).rgb(), sh = ColorToRgb(clBtnShadow).rgb();
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      QRgb c = img.pixel(x, y);
      if ((c & 0xFFFFFF) == bg) continue;
      int b = qRed(c) + qGreen(c) + qBlue(c);
      QRgb n = b > t + 550 ? qRgb(255, 255, 255) : b > t + 250 ? hl : b > t + 50 ? sh : qRgb(0, 0, 0);
      img.setPixel(x, y, n);
    }
  return img;
}

namespace {

// Focus frame: every second pixel of the rectangle's edges.
void DrawFocusDots(QPainter& p, const QRect& f) {
  const QColor dot(0, 0, 0);
  for (int x = f.left(); x < f.left() + f.width(); x += 2) {
    CtlFillRect(p, QRect(x, f.top(), 1, 1), dot);
    CtlFillRect(p, QRect(x, f.top() + f.height() - 1, 1, 1), dot);
  }
  for (int y = f.top(); y < f.top() + f.height(); y += 2) {
    CtlFillRect(p, QRect(f.left(), y, 1, 1), dot);
    CtlFillRect(p, QRect(f.left() + f.width() - 1, y, 1, 1), dot);
  }
}

void CornerPixels(QPainter& p, const QRect& r) {
  const QColor face = ColorToRgb(clBtnFace);
  const int l = r.left(), t = r.top(), rr = GRight(r) - 1, b = GBottom(r) - 1;
  for (QPoint c : {QPoint(l, t), QPoint(rr, t), QPoint(l, b), QPoint(rr, b)}) CtlFillRect(p, QRect(c, QSize(1, 1)), face);
}

// The dark outline of an old-style face: sunken-outer left and top, raised-outer right and bottom.
void DarkOutline(QPainter& p, QRect& r, unsigned extra) {
  QRect f = r;
  CtlDrawEdge(p, f, BDR_SUNKENOUTER, BF_SOFT | BF_LEFT | BF_TOP | extra);
  f = r;
  CtlDrawEdge(p, f, BDR_RAISEDOUTER, BF_RIGHT | BF_BOTTOM);
}

int FaceKind(CtlUserButtonStyle style, unsigned flags) {
  if (style == ubsTarnel && (flags & 4)) return 5;
  if (style == ubsWin40 && !(flags & 4)) return 3;
  if (style >= ubsTarnelFlat && style <= ubsExplorerColored) return 4;
  return static_cast<int>(style);
}

}  // namespace

QRect DrawButtonFace(QPainter& p, bool hot, QRect r, CtlColor colour, unsigned flags, int state,
                     CtlUserButtonStyle style) {
  const QRect original = r;
  const bool down = state == 3 || state == 4 || state == 6 || state == 7;
  if (style == ubsAutoDetect) style = ubsWin40;
  const int kind = FaceKind(style, flags);
  const bool explorer = style == ubsExplorer || style == ubsExplorerColored;
  const QColor face = ColorToRgb(colour);
  const QColor grey(0x80, 0x80, 0x80);
  if (!explorer) {
    if (state == 3 && !(kind == 4 && hot)) p.fillRect(r, QBrush(CtlApplication::Instance()->PatternBrush(colour)));
    else CtlFillRect(p, r, face);
  }
  // A focused (2) or default (0x20) button that is up gets a dark frame first.
  if (!down && (flags & (2 | 0x20))) {
    DarkOutline(p, r, (flags & 0x10) ? BF_MIDDLE : 0);
    if (style == ubsWin31 && (flags & 1)) {
      CornerPixels(p, r);
      flags &= ~1u;
    }
    r.adjust(1, 1, -1, -1);
  }
  switch (kind) {
    case 1:
      DarkOutline(p, r, 0);
      if (flags & 1) CornerPixels(p, r);
      r.adjust(1, 1, -1, -1);
      if (down) {
        QRect f = r;
        CtlDrawEdge(p, f, BDR_SUNKENINNER, BF_LEFT | BF_TOP);
      } else {
        CtlDrawEdge(p, r, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
        CtlDrawEdge(p, r, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
      }
      break;
    case 2:
      if (!down) DrawEdgeStyle(p, r, lsRaisedspb, 0);
      else if (flags & 8) CtlDrawEdge(p, r, BDR_SUNKENOUTER | BDR_SUNKENINNER, BF_RECT | BF_ADJUST);
      else DrawEdgeStyle(p, r, lsLowered, 0);
      break;
    case 3:
      if (down) {
        CtlFrameRect(p, r, Qt::black);
        CtlFrameRect(p, r.adjusted(1, 1, -1, -1), grey);
      } else if (flags & 2) {
        CtlDrawEdge(p, r, BDR_RAISEDOUTER, BF_SOFT | BF_RECT | BF_ADJUST);
        CtlDrawEdge(p, r, BDR_RAISEDINNER, BF_RIGHT | BF_BOTTOM | BF_ADJUST);
      } else {
        DrawEdgeStyle(p, r, lsRaisedspb, 0);
      }
      break;
    case 4:
      if ((style == ubsTarnelFlat || style == ubsNavigator) && (down || hot)) {
        CtlFrameRect(p, r, p.pen().color());
        r.adjust(1, 1, -1, -1);
      }
      if (down) CtlDrawEdge(p, r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
      else if (hot) CtlDrawEdge(p, r, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
      else if (!explorer) CtlFillRect(p, r, face);
      break;
    case 5:
      CtlFrameRect(p, r, Qt::black);
      if (down) {
        const int l = r.left(), t = r.top();
        CtlLine(p, l + 1, t + 1, GRight(r) - 1, t + 1, grey);
        CtlLine(p, l + 1, t + 1, l + 1, GBottom(r) - 1, grey);
      } else {
        r.adjust(1, 1, -1, -1);
        CtlDrawEdge(p, r, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
      }
      break;
    case 10: {
      const int l = r.left(), t = r.top(), rr = GRight(r), b = GBottom(r);
      if (down) {
        CtlFrameRect(p, r, grey);
        break;
      }
      CtlFrameRect(p, r, Qt::black);
      CtlLine(p, rr - 2, t, l, t, ColorToRgb(clBtnFace));
      CtlLine(p, l, t, l, b - 1, ColorToRgb(clBtnFace));
      CtlFrameRect(p, Gdi(l + 1, t + 1, rr - 1, b - 1), Qt::white);
      CtlLine(p, rr - 2, t + 1, rr - 2, b - 2, grey);
      CtlLine(p, rr - 2, b - 2, l, b - 2, grey);
      break;
    }
    default: break;
  }
  if (flags & 2) {
    const int k = down ? 4 : 3;
    DrawFocusDots(p, original.adjusted(k, k, -k, -k));
  }
  QRect out = original.adjusted(3, 3, -3, -3);
  if (down) out.translate(1, 1);
  return out;
}
