// Review picture of the track bars for controls_gallery: trackbars.png shows
// horizontal and vertical bars with each tick side, rectangle (both sides) and
// pointer thumbs, enabled and disabled, and a shadow fill over a picture.
#include <QPainter>

#include "gallery.h"
#include "controls/trackbar.h"

namespace {

const char* const kMarkNames[] = {"Both", "BottomRight", "TopLeft"};


// A striped picture under the shadow fill, so the checker shows.
class Stripes : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    for (int x = 0; x < width(); x += 10)
      p.fillRect(x, 0, 10, height(), (x / 10) % 2 ? QColor(80, 160, 220) : QColor(240, 210, 90));
  }
};

}  // namespace

QImage TrackBarsPicture() {
  QWidget w;
  w.resize(820, 360);
  w.setAutoFillBackground(true);
  for (int m = 0; m < 3; ++m)
    for (int d = 0; d < 2; ++d) {
      const int x = 10 + d * 240, y = 10 + m * 60;
      auto* bar = new CtlTrackBar(&w);
      bar->move(x, y + 14);
      bar->SetTickMarks(static_cast<CtlTickMarks>(m));
      bar->SetPosition(3 + 4 * d);
      bar->setEnabled(d == 0);
      Caption(&w, x, y, QString("%1, %2").arg(kMarkNames[m], d == 0 ? "enabled" : "disabled"));
    }
  for (int m = 0; m < 3; ++m)
    for (int d = 0; d < 2; ++d) {
      const int x = 500 + (m * 2 + d) * 52, y = 10;
      auto* bar = new CtlTrackBar(&w);
      bar->SetOrientation(toVertical);
      bar->setGeometry(x, y + 14, 35, 220);
      bar->SetTickMarks(static_cast<CtlTickMarks>(m));
      bar->SetPosition(2 + 6 * d);
      bar->setEnabled(d == 0);
      Caption(&w, x, y, QString(kMarkNames[m]).left(4) + (d == 0 ? "" : " off"));
    }
  auto* coloured = new CtlTrackBar(&w);
  coloured->move(10, 200);
  coloured->SetThumbColor(CtlRgb(255, 200, 0));
  coloured->SetTrackColor(CtlRgb(200, 230, 255));
  coloured->SetTickGap(3);
  coloured->SetPosition(6);
  Caption(&w, 10, 186, "ThumbColor, TrackColor, TickGap 3");

  Caption(&w, 10, 260, "Shadow fill (sfShadow with bevel, sfFullShadow) over a picture");
  auto* picture = new Stripes(&w);
  picture->setGeometry(10, 276, 200, 60);
  auto* shade = new CtlShadowFill(picture);
  shade->setGeometry(20, 10, 41, 25);
  shade->SetShadowColor(CtlRgb(255, 255, 0));
  shade->Bevel().SetMode(bmStandard);
  shade->Bevel().SetStandardStyle(lsSingleLowered);
  auto* full = new CtlShadowFill(picture);
  full->setGeometry(100, 10, 60, 40);
  full->SetStyle(CtlShadowFillStyle::sfFullShadow);
  return w.grab().toImage();
}
