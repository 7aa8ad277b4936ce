// Shape painting (shadow, body, bevel edges, fill pictures) and the shape
// button's fill mode.
#include <gtest/gtest.h>

#include <QPainter>
#include <QTest>

#include "controls/imagelist.h"
#include "controls/shapebutton.h"

namespace {

const QColor kLight(255, 255, 255), kDark(0, 0, 0), kBody(0, 0, 200), kBack(255, 255, 0);

QImage Canvas(int w, int h, QColor c = kBack) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(c);
  return img;
}

struct Look {
  CtlSimpleBevel bevel;
  CtlShadow shadow;
  Look(int width, CtlSimpleBevelStyle style) {
    bevel.SetWidth(width);
    bevel.SetStyle(style);
    bevel.SetLightColor(QColorToCtl(kLight));
    bevel.SetShadowColor(QColorToCtl(kDark));
    shadow.SetStyle(hssNone);
  }
};

QImage Paint(const QRect& r, CtlShapeType type, Look& look, QSize canvas, const QImage* fill = nullptr,
             int round = 33) {
  QImage img = Canvas(canvas.width(), canvas.height());
  QPainter p(&img);
  DrawShape(p, r, type, clWhite, CtlRgb(254, 1, 253), fill, &look.shadow, &look.bevel, round, QBrush(kBody), false,
            nullptr);
  return img;
}

}  // namespace

TEST(ShapePainting, RectangleEdgesOffsetAndInset) {
  Look look(1, sbOffset);
  QImage img = Paint(QRect(0, 0, 40, 30), stRectangle, look, {40, 30});
  for (QPoint q : {QPoint(0, 0), QPoint(20, 0), QPoint(0, 29)}) EXPECT_EQ(img.pixelColor(q), kLight) << q.x() << "," << q.y();
  for (QPoint q : {QPoint(39, 0), QPoint(20, 29), QPoint(39, 29)}) EXPECT_EQ(img.pixelColor(q), kDark) << q.x() << "," << q.y();
  EXPECT_EQ(img.pixelColor(20, 15), kBody);
  look.bevel.SetStyle(sbInset);
  img = Paint(QRect(0, 0, 40, 30), stRectangle, look, {40, 30});
  for (QPoint q : {QPoint(0, 0), QPoint(20, 0), QPoint(0, 29)}) EXPECT_EQ(img.pixelColor(q), kDark);
  for (QPoint q : {QPoint(39, 0), QPoint(20, 29), QPoint(39, 29)}) EXPECT_EQ(img.pixelColor(q), kLight);
}

TEST(ShapePainting, ArrowsUseTheirOwnEdgeRows) {
  // The upper slanted side of a right arrow faces up but is dark.
  Look look(1, sbOffset);
  const QImage img = Paint(QRect(0, 0, 40, 30), stDirectRight, look, {40, 30});
  EXPECT_EQ(img.pixelColor(20, 7), kDark);
  EXPECT_EQ(img.pixelColor(0, 15), kLight);  // the left side
  EXPECT_EQ(img.pixelColor(10, 15), kBody);
}

TEST(ShapePainting, SolidAndTracedShadows) {
  Look look(2, sbNormal);
  look.shadow.SetStyle(hssSolid);
  look.shadow.SetDepth(6);
  look.shadow.SetColor(CtlRgb(0, 128, 0));
  QImage img = Paint(QRect(0, 0, 60, 40), stRectangle, look, {60, 40});
  EXPECT_EQ(img.pixelColor(57, 37), QColor(0, 128, 0));
  EXPECT_EQ(img.pixelColor(2, 2), kBody);
  EXPECT_EQ(img.pixelColor(3, 37), kBack);  // left of the shadow
  // Traced over white: every other pixel of the band darkened, the others white.
  look.shadow.SetStyle(hssTracing);
  img = Canvas(60, 40, Qt::white);
  {
    QPainter p(&img);
    DrawShape(p, img.rect(), stRectangle, clWhite, CtlRgb(254, 1, 253), nullptr, &look.shadow, &look.bevel, 33,
              QBrush(kBody), false, nullptr);
  }
  for (int y = 10; y < 38; ++y)
    for (int x = 55; x < 60; ++x)
      EXPECT_EQ(img.pixelColor(x, y), (x + y) % 2 == 1 ? QColor(0, 128, 0) : QColor(Qt::white)) << x << "," << y;
}

TEST(ShapePainting, FillPictureOnlyInsideTheBody) {
  Look look(0, sbNormal);
  QImage picture = Canvas(50, 50, QColor(0, 160, 0));
  const QImage img = Paint(QRect(0, 0, 50, 50), stEllipse, look, {50, 50}, &picture);
  EXPECT_EQ(img.pixelColor(25, 25), QColor(0, 160, 0));
  EXPECT_EQ(img.pixelColor(1, 1), kBack);
  EXPECT_EQ(img.pixelColor(48, 48), kBack);
  // A diamond cut the same way.
  const QImage d = Paint(QRect(0, 0, 50, 50), stDiamond, look, {50, 50}, &picture);
  EXPECT_EQ(d.pixelColor(25, 25), QColor(0, 160, 0));
  EXPECT_EQ(d.pixelColor(5, 5), kBack);
}

TEST(ShapePainting, RoundedRectangleAnywhereAndItsCornerUnderAShadow) {
  Look look(2, sbOffset);
  CtlPointList pts;
  CalcShapeOutline(QRect(0, 0, 60, 40), stRoundRect, pts, &look.shadow, &look.bevel, 50, false);
  const CtlPointList kept = pts;
  QImage at0 = Canvas(120, 70), moved = Canvas(120, 70);
  {
    QPainter p(&at0);
    DrawShape(p, QRect(0, 0, 60, 40), stRoundRect, clWhite, clBlack, nullptr, &look.shadow, &look.bevel, 50,
              QBrush(kBody), false, &pts);
    QPainter q(&moved);
    DrawShape(q, QRect(50, 20, 60, 40), stRoundRect, clWhite, clBlack, nullptr, &look.shadow, &look.bevel, 50,
              QBrush(kBody), false, &pts);
  }
  EXPECT_EQ(pts, kept);
  int diff = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 60; ++x)
      if (at0.pixel(x, y) != moved.pixel(x + 50, y + 20)) {
        ++diff;
        ADD_FAILURE() << x << "," << y << " " << std::hex << at0.pixel(x, y) << " " << moved.pixel(x + 50, y + 20);
        if (diff > 20) return;
      }
  // With a shadow of depth 6 the body's corner is the one without shadow.
  Look shaded(2, sbOffset);
  shaded.shadow.SetStyle(hssSolid);
  shaded.shadow.SetDepth(6);
  shaded.shadow.SetColor(CtlRgb(0, 128, 0));
  const QImage plain = Paint(QRect(0, 0, 60, 40), stRoundRect, look, {66, 46}, nullptr, 50);
  const QImage with = Paint(QRect(0, 0, 66, 46), stRoundRect, shaded, {66, 46}, nullptr, 50);
  auto is_shape = [](QColor c) { return c != kBack && c != QColor(0, 128, 0); };
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      EXPECT_EQ(is_shape(plain.pixelColor(x, y)), is_shape(with.pixelColor(x, y))) << x << "," << y;
}

TEST(ShapePainting, RoundPercentIsHeldAndEmptyRectanglesPaintNothing) {
  CtlShape s;
  s.SetRoundPercent(150);
  EXPECT_EQ(s.RoundPercent(), 100);
  Look look(3, sbInset);
  look.shadow.SetStyle(hssTracing);
  QImage picture = Canvas(4, 4);
  const QImage img = Paint(QRect(0, 0, 0, 0), stRoundRect, look, {4, 4}, &picture, 100);
  EXPECT_EQ(img, Canvas(4, 4));
}

TEST(ShapeButtonFill, PictureCutToTheShapeAndMovedWhenHeld) {
  QWidget parent;
  parent.resize(100, 100);
  auto* b = new CtlShapeButton(&parent);
  b->setGeometry(0, 0, 60, 40);
  b->SetStyle(sbs3D);
  b->SetColor(CtlRgb(255, 255, 0));
  b->Shape().SetShape(stRectangle);
  b->Shape().Bevel.SetWidth(0);
  QImage picture(60, 40, QImage::Format_RGB32);
  for (int x = 0; x < 60; ++x)
    for (int y = 0; y < 40; ++y) picture.setPixelColor(x, y, x < 30 ? Qt::red : Qt::blue);
  b->SetMode(sbmShapeFill);
  b->ShapeFill().SetStyle(sfBitmap);
  b->ShapeFill().SetTileMode(tmNone);
  b->ShapeFill().SetBitmap(picture);  // recalculates by itself
  ASSERT_EQ(b->FillBitmap().size(), QSize(60, 40));
  parent.show();
  QImage shot = b->grab().toImage();
  EXPECT_EQ(shot.pixelColor(29, 20), QColor(Qt::red));
  EXPECT_EQ(shot.pixelColor(30, 20), QColor(Qt::blue));
  // Held: the picture moves by (2, 2); the state colours play no part.
  b->Colors().SetDown(CtlRgb(0, 255, 0));
  QTest::mousePress(b, Qt::LeftButton, {}, QPoint(20, 20));
  ASSERT_EQ(b->ButtonState(), CtlBaseGraphicButton::bsHeld);
  shot = b->grab().toImage();
  EXPECT_EQ(shot.pixelColor(31, 20), QColor(Qt::red));
  EXPECT_EQ(shot.pixelColor(32, 20), QColor(Qt::blue));
  QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(20, 20));
  // A gradient fill fills the body; a brush fill takes the shape's brush.
  b->ShapeFill().SetStyle(sfGradient);
  shot = b->grab().toImage();
  EXPECT_EQ(shot.pixelColor(30, 1), QColor(0, 0, 255));
  b->ShapeFill().SetStyle(sfBrush);
  b->Shape().SetBrushColor(CtlRgb(200, 0, 200));
  shot = b->grab().toImage();
  EXPECT_EQ(shot.pixelColor(30, 20), QColor(200, 0, 200));
}

TEST(ShapeButtonFill, PictureFromAListEntryAndItsDeletion) {
  auto* list = new CtlBitmapList;
  QImage picture(20, 20, QImage::Format_RGB32);
  picture.fill(Qt::green);
  list->AddBitmap(picture);
  CtlShapeButton b;
  b.resize(20, 20);
  b.SetMode(sbmShapeFill);
  b.ShapeFill().SetStyle(sfBitmapList);
  b.SetShapeFillListIndex(0);
  b.SetShapeFillImageList(list);
  EXPECT_EQ(b.ShapeFill().ListBitmap().pixelColor(5, 5), QColor(Qt::green));
  b.SetShapeFillListIndex(-1);  // ignored
  EXPECT_EQ(b.ShapeFillListIndex(), 0);
  delete list;
  EXPECT_EQ(b.ShapeFillImageList(), nullptr);
  b.SetShapeFillListIndex(1);
  EXPECT_TRUE(b.ShapeFill().ListBitmap().isNull());
  b.grab();
}
