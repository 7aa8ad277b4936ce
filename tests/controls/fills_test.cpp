// The fill control and the panel fill: pictures from a list entry, see-through
// fills, joined patterns, captions, and what transparent children show.
#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include "controls/fill.h"
#include "controls/imagelist.h"
#include "controls/labels.h"
#include "controls/panelfill.h"

namespace {

QImage Solid(int w, int h, QColor c) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(c);
  return img;
}

QImage Shot(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

// A parent painted in one colour.
struct Backdrop {
  QWidget w;
  explicit Backdrop(QColor c, QSize s = {120, 80}) {
    w.resize(s);
    w.setAutoFillBackground(true);
    QPalette pal = w.palette();
    pal.setColor(QPalette::Window, c);
    w.setPalette(pal);
  }
};

}  // namespace

TEST(FillControl, ListEntryPictureAndItsDeletion) {
  auto* list = new CtlBitmapList;
  for (int k = 0; k < 4; ++k) list->AddBitmap(Solid(8, 8, QColor(40 * k, 100, 0)));
  Backdrop back(Qt::blue);
  auto* f = new CtlFill(&back.w);
  f->setGeometry(10, 10, 40, 30);
  f->FillObject().SetStyle(sfBitmapList);
  f->FillObject().SetTileMode(tmTile);
  f->SetListIndex(3);
  f->SetImageList(list);
  EXPECT_FALSE(f->Transparent());
  EXPECT_EQ(Shot(back.w).pixelColor(30, 25), QColor(120, 100, 0));
  delete list;
  EXPECT_EQ(f->ImageList(), nullptr);
  EXPECT_TRUE(f->FillObject().ListBitmap().isNull());
  EXPECT_EQ(Shot(back.w).pixelColor(30, 25), QColor(Qt::blue));  // nothing of its own left
}

TEST(FillControl, SeeThroughJoinedPatternsCaptionAndClicks) {
  Backdrop back(Qt::blue);
  auto* f = new CtlFill(&back.w);
  f->setGeometry(0, 0, 50, 40);
  EXPECT_TRUE(f->Transparent());  // sfNone
  EXPECT_EQ(Shot(back.w).pixelColor(25, 20), QColor(Qt::blue));
  // Two hatched fills side by side continue one pattern.
  auto* g = new CtlFill(&back.w);
  g->setGeometry(50, 0, 50, 40);
  for (CtlFill* x : {f, g}) {
    x->FillObject().SetStyle(sfBrush);
    x->FillObject().SetBrushColor(clBlack);
    x->FillObject().SetBrushStyle(Qt::BDiagPattern);
  }
  Backdrop whole(Qt::blue);
  auto* one = new CtlFill(&whole.w);
  one->setGeometry(0, 0, 100, 40);
  one->FillObject().SetStyle(sfBrush);
  one->FillObject().SetBrushColor(clBlack);
  one->FillObject().SetBrushStyle(Qt::BDiagPattern);
  const QImage two = Shot(back.w), single = Shot(whole.w);
  for (int y = 0; y < 40; ++y)
    for (int x = 40; x < 60; ++x) ASSERT_EQ(two.pixel(x, y), single.pixel(x, y)) << x << "," << y;
  // The caption, drawn disabled when the control is.
  f->FillObject().SetStyle(sfNone);
  f->Caption().SetCaption("Fill");
  const QImage enabled = Shot(*f);
  f->setEnabled(false);
  EXPECT_NE(Shot(*f), enabled);
  f->setEnabled(true);
  // Clicks come from the mouse.
  back.w.show();
  QSignalSpy clics(f, &CtlFill::clicked), doubles(f, &CtlFill::dblClicked);
  QTest::mouseClick(f, Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseDClick(f, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_GE(clics.count(), 1);
  EXPECT_EQ(doubles.count(), 1);
}

// The caption is drawn in its font's colour: a light caption reads on a dark
// gradient, and a change of that colour repaints and is copied by Assign.
TEST(FillControl, CaptionTakesItsFontColour) {
  CtlFill f;
  f.resize(90, 60);
  f.FillObject().SetStyle(sfGradient);
  QFont big = f.Caption().Font();
  big.setPixelSize(30);
  big.setBold(true);
  f.Caption().SetFont(big);
  f.Caption().SetCaption("7");
  auto brightest = [&] {
    const QImage img = Shot(f);
    int best = 0;
    for (int y = 10; y < 50; ++y)
      for (int x = 30; x < 60; ++x) best = std::max(best, qGray(img.pixel(x, y)));
    return best;
  };
  EXPECT_EQ(f.Caption().FontColor(), clWindowText);
  EXPECT_LT(brightest(), 100);  // dark text on the dark gradient
  f.Caption().SetFontColor(clWhite);
  EXPECT_GT(brightest(), 200);
  CtlCaption copy;
  copy.Assign(f.Caption());
  EXPECT_EQ(copy.FontColor(), clWhite);
}

TEST(FillControl, AlignFollowsTheParent) {
  QWidget parent;
  parent.resize(100, 60);
  auto* f = new CtlFill(&parent);
  f->resize(20, 15);
  parent.show();
  f->SetAlign(alBottom);
  EXPECT_EQ(f->geometry(), QRect(0, 45, 100, 15));
  parent.resize(140, 90);
  EXPECT_EQ(f->geometry(), QRect(0, 75, 140, 15));
  f->SetAlign(alClient);
  EXPECT_EQ(f->geometry(), QRect(0, 0, 140, 90));
}

TEST(PanelFill, StretchedPictureBehindATransparentLabelAndATransparentBorder) {
  CtlBitmapList list;
  QImage picture = Solid(10, 10, QColor(10, 200, 30));
  list.AddBitmap(picture);
  Backdrop back(Qt::blue);
  auto* panel = new CtlPanelFill(&back.w);
  panel->setGeometry(0, 0, 100, 60);
  panel->FillObject().SetStyle(sfBitmapList);
  panel->FillObject().SetTileMode(tmStretch);
  panel->SetImageList(&list);
  auto* l = new CtlSimpleLabel(panel);
  l->move(20, 20);
  QFont font = l->font();
  font.setPixelSize(16);
  l->setFont(font);
  l->SetFontColor(clBlack);
  l->SetCaption("Wide text");
  const QImage shot = Shot(back.w);
  int picture_pixels = 0, text_pixels = 0;
  for (int y = l->y(); y < l->y() + l->height(); ++y)
    for (int x = l->x(); x < l->x() + l->width(); ++x) {
      if (shot.pixelColor(x, y) == QColor(10, 200, 30)) ++picture_pixels;
      if (shot.pixelColor(x, y) == QColor(Qt::black)) ++text_pixels;
    }
  EXPECT_GT(text_pixels, 0);
  EXPECT_GT(picture_pixels, text_pixels);
  EXPECT_TRUE(panel->CanSupplyBack());
  // A border band of 4 pixels: painted in the bevel's border colour, or left to the parent.
  panel->Bevel().SetBorderInnerWidth(4);
  panel->Bevel().SetBorderColor(CtlRgb(200, 200, 200));
  EXPECT_EQ(Shot(back.w).pixelColor(2, 30), QColor(200, 200, 200));
  panel->SetTransparentBorder(true);
  EXPECT_EQ(Shot(back.w).pixelColor(2, 30), QColor(Qt::blue));
  EXPECT_EQ(Shot(back.w).pixelColor(50, 50), QColor(10, 200, 30));
}

TEST(PanelFill, CaptionAlignedOverTheFill) {
  CtlPanelFill panel;
  panel.resize(100, 40);
  panel.SetColor(clWhite);
  const QImage empty = Shot(panel);
  panel.SetFontColor(clBlack);
  panel.SetCaption("Mid");
  const QImage shot = Shot(panel);
  EXPECT_NE(shot, empty);
  int left = 100;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 100; ++x)
      if (shot.pixelColor(x, y) == QColor(Qt::black)) left = std::min(left, x);
  EXPECT_GT(left, 30);  // centred
}
