// Review picture of the scroll bars for controls_gallery: scrollbars.png shows
// vertical and horizontal scroll bars (one focused, with its caret on the
// thumb; one disabled; a user back fill; an automatic thumb), the spin edit (enabled and disabled), the square spin button's four faces
// and every layout of the arrow spin button in its normal, pressed and
// disabled faces.
#include <QApplication>
#include <QPainter>

#include "gallery.h"
#include "controls/scrollbar.h"
#include "controls/spinedit.h"

namespace {


// Shows a prepared strip of faces.
class Strip : public QWidget {
 public:
  Strip(const QImage& img, QWidget* parent) : QWidget(parent), img_(img) { resize(img.size()); }

 protected:
  void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, img_); }

 private:
  QImage img_;
};

const CtlSpinButtons kSets[] = {
    {sbUp}, {sbUp, sbDown}, {sbLeft, sbUp}, {sbRight, sbUp}, {sbLeft, sbUp, sbDown}, {sbRight, sbUp, sbDown},
    {sbLeft, sbRight, sbUp}, {sbLeft, sbRight, sbUp, sbDown}, {sbDown}, {sbRight, sbDown}, {sbLeft, sbDown},
    {sbLeft, sbRight, sbDown}, {sbLeft}, {sbLeft, sbRight}, {sbRight}};

void SpinEdits(QWidget& w, int y) {
  Caption(&w, 10, y, "Spin edit: 5..11, suffix \" m\", disabled");
  auto* a = new CtlSpinEdit(&w);
  a->move(10, y + 16);
  a->SetMinValue(5);
  a->SetMaxValue(11);
  a->SetValue(7);
  auto* b = new CtlSpinEdit(&w);
  b->move(150, y + 16);
  b->SetSuffix(" m");
  b->SetValue(42);
  auto* c = new CtlSpinEdit(&w);
  c->move(290, y + 16);
  c->SetValue(3);
  c->setEnabled(false);
  Caption(&w, 440, y, "Square spin button: normal, up, down, disabled (40 x 40)");
  CtlSpinButton square;
  square.resize(40, 40);
  new Strip(square.Faces(), &w);
  w.findChildren<Strip*>().last()->move(440, y + 16);
}

void ArrowButtons(QWidget& w, int y) {
  Caption(&w, 10, y, "Arrow spin button, codes 1 to 15: normal, pressed (up / down / left / right), disabled");
  for (int i = 0; i < 15; ++i) {
    const int x = 10 + (i % 3) * 290, row = y + 18 + (i / 3) * 40;
    CtlArrowSpinButton button;
    button.resize(32, 20);
    button.SetSpinButtons(kSets[i]);
    Caption(&w, x, row + 3, QString::number(button.LayoutCode()));
    (new Strip(button.BuildFaces(), &w))->move(x + 22, row);
  }
}

CtlScrollBar* Bar(QWidget& w, QRect r, CtlScrollBarKind kind, int position) {
  auto* bar = new CtlScrollBar(&w);
  bar->SetKind(kind);
  bar->setGeometry(r);
  bar->SetMin(20);
  bar->SetMax(150);
  bar->SetPosition(position);
  return bar;
}

// Returns the bar to focus once the window shows.
CtlScrollBar* ScrollBars(QWidget& w, int y) {
  Caption(&w, 10, y, "Scroll bars: vertical 20..150 at 100 (focused, caret), disabled, Back bsUser, tmAuto");
  CtlScrollBar* focused = Bar(w, QRect(10, y + 18, 16, 200), skVertical, 100);
  Bar(w, QRect(40, y + 18, 16, 200), skVertical, 60)->setEnabled(false);
  CtlScrollBar* user = Bar(w, QRect(70, y + 18, 16, 200), skVertical, 20);
  user->Back().SetStyle(sfBrush);
  user->Back().SetBrushColor(CtlRgb(200, 230, 255));
  user->SetBackStyle(bsUser);
  CtlScrollBar* automatic = Bar(w, QRect(100, y + 18, 16, 200), skVertical, 80);
  automatic->SetThumbMode(tmAuto);
  automatic->SetMax(100);
  Bar(w, QRect(140, y + 18, 300, 16), skHorizontal, 100);
  Bar(w, QRect(140, y + 48, 300, 16), skHorizontal, 40)->SetColor(CtlRgb(255, 220, 160));
  Bar(w, QRect(140, y + 78, 300, 24), skHorizontal, 150)->setEnabled(false);
  return focused;
}

}  // namespace

QImage ScrollBarsPicture() {
  QWidget w;
  w.resize(900, 540);
  w.setAutoFillBackground(true);
  SpinEdits(w, 10);
  ArrowButtons(w, 80);
  CtlScrollBar* focused = ScrollBars(w, 300);
  w.show();
  w.activateWindow();
  QApplication::setActiveWindow(&w);
  focused->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  return w.grab().toImage();
}
