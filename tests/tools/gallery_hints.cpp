// Review picture of the shape hint for controls_gallery: hints.png shows the
// six hint styles (rows) in the four places (columns), each with its solid
// shadow, and a last row with the tracing shadow and without shadow, over a
// striped background so the see-through parts show.
#include <QPainter>

#include "controls/shapehint.h"

namespace {

const char* const kStyleNames[] = {"Rect", "RoundRect", "Ellipse", "NoseRect", "NoseRoundRect", "NoseEllipse"};
const char* const kPlaceNames[] = {"AboveLeft", "AboveRight", "BelowLeft", "BelowRight"};

// The balloon of `hint` for `text`, measured as the hint window measures it.
QImage Balloon(const CtlShapeHint& hint, const QString& text, CtlHintPosition place) {
  const QRect tr = hint.MeasureText(text, 200);
  return hint.PaintShape(CtlHintWindowSize(hint.Style, tr.size(), hint.Shadow.Depth()), tr, place, text);
}

void Stripes(QPainter& p, const QRect& r) {
  for (int x = r.left(); x < r.right(); x += 12)
    p.fillRect(QRect(x, r.top(), 6, r.height()), QColor(200, 215, 235));
}

}  // namespace

QImage HintsPicture() {
  const int cell_w = 190, cell_h = 92;
  QImage img(110 + 4 * cell_w, 20 + 7 * cell_h, QImage::Format_RGB32);
  img.fill(ColorToRgb(clBtnFace));
  QPainter p(&img);
  Stripes(p, img.rect());
  QFont f = p.font();
  f.setPixelSize(11);
  p.setFont(f);
  for (int c = 0; c < 4; ++c) p.drawText(110 + c * cell_w, 14, kPlaceNames[c]);
  CtlShapeHint hint;
  hint.SetEnabled(false);
  for (int s = 0; s < 7; ++s) {
    const int y = 20 + s * cell_h;
    hint.Style = static_cast<CtlHintStyle>(std::min(s, 5));
    if (s == 6) hint.Style = hsNoseRoundRect;
    p.drawText(6, y + 40, s < 6 ? kStyleNames[s] : "Tracing / none");
    for (int c = 0; c < 4; ++c) {
      if (s == 6) hint.Shadow.SetStyle(c < 2 ? hssTracing : hssNone);
      p.drawImage(110 + c * cell_w, y, Balloon(hint, s == 5 ? "Opens a mountain\nfrom a file" : "Opens a mountain", static_cast<CtlHintPosition>(c)));
    }
  }
  return img;
}
