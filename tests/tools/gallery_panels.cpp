// Review pictures of the look objects, panels and fills for controls_gallery:
// properties.png (bevels in every mode and style, fill styles, gradient
// styles, effect captions), panels.png (panels with and without pictures,
// labels in every 3D style, a multi-line label wrapped plainly and as an
// edit box wraps, progress bars in the four styles and four directions, image
// controls in each style) and fills.png (fill controls
// in every fill style, a panel fill with children).
#include <QMenu>
#include <QPainter>

#include "gallery.h"
#include "controls/backpanel.h"
#include "controls/fill.h"
#include "controls/image.h"
#include "controls/imagelist.h"
#include "controls/labels.h"
#include "controls/panelfill.h"
#include "controls/panels.h"
#include "controls/progress.h"
#include "controls/shapebutton.h"

namespace {


QWidget* Page(QWidget& w, QSize s) {
  w.resize(s);
  w.setAutoFillBackground(true);
  QPalette pal = w.palette();
  pal.setColor(QPalette::Window, ColorToRgb(clBtnFace));
  w.setPalette(pal);
  return &w;
}

// A small two-colour picture, tiled or placed by the fills and panels.
QImage Tile(QColor a, QColor b, int n = 12) {
  QImage img(n, n, QImage::Format_RGB32);
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) img.setPixelColor(x, y, (x * 2 / n + y * 2 / n) % 2 ? a : b);
  return img;
}

// The gallery's picture list: 0 a tile, 1 a 32 x 32 framed picture.
void Pictures(CtlBitmapList& list) {
  list.AddBitmap(Tile(QColor(200, 180, 140), QColor(170, 150, 110)));
  QImage logo(32, 32, QImage::Format_RGB32);
  logo.fill(QColor(40, 90, 160));
  QPainter p(&logo);
  p.fillRect(6, 6, 20, 20, QColor(240, 200, 60));
  p.fillRect(12, 12, 8, 8, QColor(190, 40, 40));
  p.end();
  list.AddBitmap(logo);
}

// A window-less box that paints one bevel, one fill or one gradient.
class Sample : public QWidget {
 public:
  std::function<void(QPainter&, const QRect&)> paint;
  Sample(QWidget* parent, QRect r, std::function<void(QPainter&, const QRect&)> f) : QWidget(parent), paint(std::move(f)) {
    setGeometry(r);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    CtlPreparePainter(p);
    paint(p, rect());
  }
};

void BevelRows(QWidget& w) {
  const char* styles[] = {"None", "Lowered", "Raised", "FrameLowered", "FrameRaised", "Normal", "Shadow"};
  Caption(&w, 4, 4, "custom bevels (outer style, inner lowered, width 2, border 1)");
  for (int s = 0; s < 7; ++s) {
    Caption(&w, 8 + 100 * s, 22, styles[s]);
    new Sample(&w, QRect(8 + 100 * s, 38, 90, 40), [s](QPainter& p, const QRect& r) {
      CtlFillRect(p, r, ColorToRgb(clWindow));
      CtlBevel b;
      b.SetStyleOuter(static_cast<CtlBevelStyle>(s));
      if (s != bvShadow) b.SetStyleInner(bvLowered);
      b.SetWidthOuter(2);
      b.SetWidthInner(2);
      b.SetBorderWidth(1);
      b.PaintBevel(p, r, false);
    });
  }
  Caption(&w, 4, 86, "modes: standard (single lowered, double raised), edge (etched, bump, raised sides), windows");
  for (int k = 0; k < 6; ++k)
    new Sample(&w, QRect(8 + 100 * k, 104, 90, 40), [k](QPainter& p, const QRect& r) {
      CtlFillRect(p, r, ColorToRgb(clWindow));
      CtlBevel b;
      if (k < 2) {
        b.SetMode(bmStandard);
        b.SetStandardStyle(k == 0 ? lsSingleLowered : lsDoubleRaised);
      } else if (k < 5) {
        b.SetMode(bmEdge);
        b.SetEdgeStyle(k == 2 ? etEtched : k == 3 ? etBump : etRaised);
        if (k == 4) b.SetBorderSides(fsLeft | fsTop);
      } else {
        b.SetMode(bmWindows);
      }
      b.PaintBevel(p, r, false);
    });
}

void FillAndGradientRows(QWidget& w) {
  Caption(&w, 4, 152, "fills: brush, hatched brush, brush bitmap, bitmap none/center/stretch/tile, gradient");
  const QImage tile = Tile(QColor(60, 140, 60), QColor(220, 240, 200), 10);
  for (int k = 0; k < 8; ++k)
    new Sample(&w, QRect(8 + 88 * k, 170, 80, 50), [k, tile](QPainter& p, const QRect& r) {
      CtlFillObject f;
      const CtlFillStyle styles[] = {sfBrush, sfBrush, sfBrushBitmap, sfBitmap, sfBitmap, sfBitmap, sfBitmap, sfGradient};
      f.SetStyle(styles[k]);
      f.SetBrushColor(CtlRgb(60, 100, 180));
      if (k == 1) f.SetBrushStyle(Qt::DiagCrossPattern);
      f.SetBitmap(tile);
      if (k >= 3 && k <= 6) f.SetTileMode(static_cast<CtlTileMode>(k - 3));
      f.SetAlignment(agCenter);
      CtlFillRect(p, r, ColorToRgb(clWindow));
      f.FillCanvas(p, r, clWhite);
      CtlFrameRect(p, r, Qt::black);
    });
  Caption(&w, 4, 228, "gradient styles");
  for (int s = 0; s < 8; ++s)
    new Sample(&w, QRect(8 + 88 * s, 246, 80, 50), [s](QPainter& p, const QRect& r) {
      CtlGradient g;
      g.SetStyle(static_cast<CtlGradientStyle>(s));
      g.SetColorCount(32);
      g.SetEndColor(CtlRgb(255, 240, 200));
      g.Paint(p, r, 0);
    });
}

void EffectCaptionRow(QWidget& w) {
  Caption(&w, 4, 304, "effect captions: the eight 3D styles, then turned by 30 degrees");
  for (int s = 0; s < 9; ++s)
    new Sample(&w, QRect(8 + 88 * s, 322, 84, 40), [s](QPainter& p, const QRect& r) {
      CtlFillRect(p, r, ColorToRgb(clBtnFace));
      CtlCaption c;
      QFont f;
      f.setPixelSize(18);
      f.setBold(true);
      f.setStyleStrategy(QFont::NoAntialias);
      c.SetFont(f);
      c.SetCaption(s < 8 ? "Fx" : "Turned");
      c.FontFx().SetStyle(static_cast<CtlThreeDStyle>(s < 8 ? s : tdRaised));
      c.FontFx().SetShadowDepth(2);
      if (s == 8) {
        c.SetAlignment(agTopLeft);
        c.FontFx().SetAngle(30);
        c.FontFx().SetPos(4, 30);
      }
      c.DrawCaption(p, r, false, QColor(0, 0, 128));
    });
}

QImage Properties() {
  QWidget w;
  Page(w, {820, 370});
  BevelRows(w);
  FillAndGradientRows(w);
  EffectCaptionRow(w);
  w.show();
  return w.grab().toImage();
}

void PanelRow(QWidget& w, const CtlBitmapList& list) {
  Caption(&w, 4, 4, "simple panel, back panel, back panel with a transparent panel and labels, windows edge");
  auto* simple = new CtlSimplePanel(&w);
  simple->setGeometry(8, 22, 150, 70);
  simple->Bevel().SetStyleOuter(bvRaised);
  simple->Bevel().SetWidthOuter(3);
  simple->Bevel().SetWidthInner(0);
  auto* back = new CtlBackPanel(&w);
  back->setGeometry(168, 22, 150, 70);
  back->Bevel().SetStyleOuter(bvLowered);
  back->SetImageList(&list);
  auto* back2 = new CtlBackPanel(&w);
  back2->setGeometry(328, 22, 220, 70);
  back2->Bevel().SetStyleOuter(bvRaised);
  back2->Bevel().SetWidthOuter(2);
  back2->SetImageList(&list);
  auto* inner = new CtlSimplePanel(back2);
  inner->setGeometry(10, 10, 200, 50);
  inner->SetTransparent(true);
  inner->Bevel().SetStyleOuter(bvLowered);
  auto* l = new CtlSimpleLabel(inner);
  l->move(8, 8);
  l->SetCaption("Transparent &label");
  auto* j = new CtlSimpleLabel(inner);
  j->move(8, 26);
  j->SetCaption("www.example.org");
  j->SetJumpMode(CtlSimpleLabel::jmInternet);
  auto* win = new CtlSimplePanel(&w);
  win->setGeometry(558, 22, 150, 70);
  win->Bevel().SetMode(bmWindows);
  win->SetColor(clWindow);
}

void LabelRow(QWidget& w) {
  Caption(&w, 4, 100, "labels in the eight 3D styles, a bevelled label, a turned label");
  for (int s = 0; s < 8; ++s) {
    auto* l = new CtlSimpleLabel(&w);
    QFont f;
    f.setPixelSize(20);
    f.setBold(true);
    f.setStyleStrategy(QFont::NoAntialias);
    l->setFont(f);
    l->Font3D().SetStyle(static_cast<CtlThreeDStyle>(s));
    l->Font3D().SetShadowDepth(2);
    l->SetFontColor(CtlRgb(0, 0, 128));
    l->move(8 + 70 * s, 118);
    l->SetCaption("Fx" + QString::number(s));
  }
  auto* b = new CtlLabel(&w);
  b->setGeometry(580, 116, 120, 34);
  b->SetAutoSize(false);
  b->Bevel().SetStyleOuter(bvRaised);
  b->Bevel().SetWidthOuter(2);
  b->FontFx().SetStyle(tdRaisedShadow);
  b->FontFx().SetShadowDepth(2);
  b->SetAlignment(agCenter);
  b->SetFontColor(CtlRgb(0, 0, 128));
  b->SetCaption("Title");
  auto* t = new CtlLabel(&w);
  t->setGeometry(720, 100, 90, 60);
  t->SetAutoSize(false);
  t->FontFx().SetAngle(30);
  t->FontFx().SetPos(4, 40);
  t->SetCaption("Turned");
}

void ProgressRows(QWidget& w) {
  Caption(&w, 4, 168, "progress: bar, small bar, coloured small bar, owner draw (52%); then the four directions");
  for (int s = 0; s < 4; ++s) {
    auto* g = new CtlProgress(&w);
    g->setGeometry(8 + 200 * s, 186, 190, 22);
    g->SetStyle(static_cast<CtlProgressStyle>(s));
    g->SetOptionsText(toPercent);
    g->SetColor(clWhite);
    g->Bevel().SetStyleOuter(bvLowered);
    g->SmallBar().SetAutosize(false);
    g->OnGetColor = [](CtlProgress*, int segment, CtlColor& c) { c = CtlRgb(20 * segment, 200 - 15 * segment, 60); };
    g->OnPaint = [](CtlProgress*, QPainter& p, const QRect& filled, const QRect& empty, const QRect&) {
      CtlFillRect(p, filled, QColor(200, 60, 60));
      CtlFillRect(p, empty, QColor(250, 230, 200));
    };
    g->SetPosition(52);
  }
  const CtlMeterDirection dirs[] = {mdHorizontal, mdHorizontalReverse, mdVertical, mdVerticalReverse};
  for (int d = 0; d < 4; ++d) {
    auto* g = new CtlProgress(&w);
    const bool vertical = d >= 2;
    g->setGeometry(vertical ? 420 + 40 * (d - 2) : 8 + 200 * d, vertical ? 214 : 220, vertical ? 30 : 190,
                   vertical ? 100 : 22);
    g->SetStyle(d % 2 ? pgSmallBar : pgBar);
    g->SetDirection(dirs[d]);
    g->SetOptionsText(vertical ? toNoText : toPercent);
    g->SetColor(clWhite);
    g->Bevel().SetStyleOuter(bvLowered);
    g->SmallBar().SetAutosize(false);
    g->SetPosition(35);
  }
}

// The same long word wrapped by the plain rule (it runs past the label) and
// as an edit box wraps it (broken between letters, no cut last line).
void WrapLabels(QWidget& w) {
  Caption(&w, 520, 214, "multi-line, plain wrap");
  Caption(&w, 670, 214, "edit-control wrap");
  for (int k = 0; k < 2; ++k) {
    auto* l = new CtlSimpleLabel(&w);
    l->SetAutoSize(false);
    l->SetMultiLine(true);
    // Tall enough for every line of either wrap, so that the two differ only
    // in how they break the long word.
    l->setGeometry(520 + 150 * k, 230, 120, 4 * QFontMetrics(l->font()).height() + 2);
    l->SetColor(clWhite);
    l->SetTransparent(false);
    l->SetCaption("Draws landscapes_with_mountains_and_rivers from a key");
    if (k == 1) l->SetOptions(loEditControl);
  }
}

void ImageRow(QWidget& w, const CtlBitmapList& list) {
  Caption(&w, 4, 320, "image control: none, autosize, center, stretch, tile, keep aspect, keep width, keep height");
  for (int s = 0; s <= sbKeepHeight; ++s) {
    auto* img = new CtlLImage(&w);
    img->setGeometry(8 + 90 * s, 338, s == sbKeepWidth ? 40 : 70, s == sbKeepHeight ? 30 : 50);
    img->Bevel().SetStyleOuter(bvLowered);
    img->Bevel().SetWidthOuter(2);
    img->SetListIndex(1);
    img->SetStyle(static_cast<CtlBitmapStyle>(s));
    img->SetImageList(&list);
    img->CheckAutoSize();
  }
}

QImage Panels() {
  QWidget w;
  Page(w, {820, 400});
  CtlBitmapList list;
  Pictures(list);
  PanelRow(w, list);
  LabelRow(w);
  ProgressRows(w);
  WrapLabels(w);
  ImageRow(w, list);
  w.show();
  return w.grab().toImage();
}

QImage Fills() {
  QWidget w;
  Page(w, {820, 250});
  CtlBitmapList list;
  Pictures(list);
  Caption(&w, 4, 4, "fill controls: none, brush, hatched, brush bitmap, list picture tiled, centred, stretched, gradient");
  for (int k = 0; k < 8; ++k) {
    auto* f = new CtlFill(&w);
    f->setGeometry(8 + 100 * k, 22, 90, 60);
    f->Bevel().SetStyleOuter(k % 2 ? bvRaised : bvLowered);
    const CtlFillStyle styles[] = {sfNone, sfBrush, sfBrush, sfBrushBitmap, sfBitmapList, sfBitmapList, sfBitmapList,
                                   sfGradient};
    f->FillObject().SetStyle(styles[k]);
    f->FillObject().SetBrushColor(CtlRgb(90, 140, 200));
    if (k == 2) f->FillObject().SetBrushStyle(Qt::BDiagPattern);
    f->FillObject().SetBitmap(Tile(QColor(60, 140, 60), QColor(220, 240, 200), 10));
    const CtlTileMode modes[] = {tmTile, tmTile, tmTile, tmTile, tmTile, tmCenter, tmStretch, tmTile};
    f->FillObject().SetTileMode(modes[k]);
    f->SetListIndex(1);
    f->SetImageList(&list);
    f->Caption().SetCaption(k == 0 ? "see-through" : QString::number(k));
    if (styles[k] == sfGradient) f->Caption().SetFontColor(clWhite);  // light on the dark gradient
  }
  // Beside the gradient panel, below the caption line of the panels.
  auto* off = new CtlFill(&w);
  off->setGeometry(730, 110, 82, 40);
  off->FillObject().SetStyle(sfGradient);
  off->Caption().SetCaption("Disabled");
  off->setEnabled(false);
  Caption(&w, 4, 92, "panel fill (tiled list picture) with a label, a shape button and a transparent border band");
  auto* panel = new CtlPanelFill(&w);
  panel->setGeometry(8, 110, 400, 130);
  panel->Bevel().SetStyleOuter(bvRaised);
  panel->Bevel().SetWidthOuter(2);
  panel->Bevel().SetBorderInnerWidth(6);
  panel->SetTransparentBorder(true);
  panel->FillObject().SetStyle(sfBitmapList);
  panel->FillObject().SetTileMode(tmTile);
  panel->SetImageList(&list);
  panel->SetCaption("Panel caption");
  panel->SetAlignment(agBottomRight);
  auto* l = new CtlSimpleLabel(panel);
  l->move(16, 16);
  l->SetCaption("A transparent label over the fill");
  auto* b = new CtlShapeButton(panel);
  b->setGeometry(16, 50, 90, 28);
  b->Shape().SetShape(stRoundRect);
  b->Shape().SetRoundPercent(100);
  b->SetCaption("&Button");
  b->Colors().SetUp(CtlRgb(224, 220, 200));
  auto* g = new CtlPanelFill(&w);
  g->setGeometry(420, 110, 300, 130);
  g->Bevel().SetStyleOuter(bvLowered);
  g->FillObject().SetStyle(sfGradient);
  g->FillObject().Gradient().SetStyle(gstElliptic);
  g->FontFx().SetStyle(tdRaised);
  g->SetFontColor(clWhite);
  g->SetCaption("Gradient panel");
  w.show();
  return w.grab().toImage();
}

}  // namespace


bool WritePanelPictures(const QString& folder) {
  return SavePicture(Properties(), folder + "/properties.png") && SavePicture(Panels(), folder + "/panels.png") &&
         SavePicture(Fills(), folder + "/fills.png");
}
