// Shape geometry, the shape button, the check box and the panel fill.
#include <gtest/gtest.h>

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include "controls/checkbox.h"
#include "controls/panelfill.h"
#include "controls/shapebutton.h"

TEST(ShapeGeometry, PointCountsSquareAndStadium) {
  const std::pair<CtlShapeType, std::size_t> comptes[] = {
      {stEllipse, 4},      {stRectangle, 4},   {stRoundRect, 6}, {stDirectUp, 6}, {stDirectRight, 6}, {stDirectDown, 6},
      {stDirectLeft, 6},   {stDiamond, 8},     {stComb, 12},     {stOctagon, 16}, {stStar, 20}};
  CtlSimpleBevel biseau;
  CtlShadow ombre;
  for (auto [type, n] : comptes) {
    CtlPointList pts;
    CalcShapeOutline(QRect(0, 0, 60, 40), type, pts, &ombre, &biseau, 33, false);
    EXPECT_EQ(pts.size(), n) << int(type);
  }
  CtlPointList pts;
  CalcShapeOutline(QRect(0, 0, 60, 30), stRectangle, pts, nullptr, &biseau, 33, true);
  EXPECT_EQ(pts[0], QPoint(15, 0));
  EXPECT_EQ(pts[1], QPoint(45, 30));
  CalcShapeOutline(QRect(0, 0, 86, 33), stRoundRect, pts, nullptr, &biseau, 100, false);
  EXPECT_EQ(pts[2], QPoint(33, 33));
  // A shadow of style none has no depth; a bevel of width 0 insets nothing.
  ombre.SetStyle(hssNone);
  biseau.SetWidth(0);
  CalcShapeOutline(QRect(0, 0, 50, 50), stRectangle, pts, &ombre, &biseau, 33, false);
  EXPECT_EQ(pts[0], QPoint(0, 0));
  EXPECT_EQ(pts[2], QPoint(0, 0));
  EXPECT_EQ(pts[3], QPoint(50, 50));
}

TEST(ShapeButton, StadiumHitTestAnd3DEdges) {
  QWidget parent;
  parent.resize(200, 100);
  CtlShapeButton b(&parent);
  b.Shape().SetShape(stRoundRect);
  b.Shape().SetRoundPercent(100);
  b.Shape().Shadow.SetStyle(hssNone);
  b.setGeometry(0, 0, 86, 33);
  b.Recalc();
  parent.show();
  QSignalSpy clics(&b, &CtlBaseGraphicButton::clicked);
  EXPECT_FALSE(b.IsInside(1, 1));
  EXPECT_TRUE(b.IsInside(43, 16));
  QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(1, 1));
  EXPECT_EQ(clics.count(), 0);
  QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(43, 16));
  EXPECT_EQ(clics.count(), 1);

  CtlShapeButton r(&parent);
  r.Shape().SetShape(stRectangle);
  r.Shape().Bevel.SetWidth(2);
  r.Shape().Bevel.SetLightColor(CtlRgb(255, 255, 255));
  r.Shape().Bevel.SetShadowColor(CtlRgb(0, 0, 0));
  r.SetStyle(sbs3D);
  r.setGeometry(100, 0, 60, 30);
  r.Recalc();
  r.show();
  const QRgb haut = r.grab().toImage().pixel(10, 1);
  QTest::mousePress(&r, Qt::LeftButton, {}, QPoint(30, 15));
  const QRgb haut_bas = r.grab().toImage().pixel(10, 1);
  QTest::mouseRelease(&r, Qt::LeftButton, {}, QPoint(30, 15));
  EXPECT_EQ(qRed(haut), 255);
  EXPECT_EQ(qRed(haut_bas), 0);
}

TEST(CheckBox, UserChangesOnly) {
  QWidget parent;
  CtlCheckBox c(&parent);
  parent.show();
  QSignalSpy change(&c, &CtlCheckBox::changed), clic(&c, &CtlCheckBox::clicked);
  c.SetChecked(true);
  EXPECT_TRUE(c.Checked());
  EXPECT_EQ(change.count(), 0);
  QTest::mouseClick(&c, Qt::LeftButton, {}, QPoint(5, 8));
  EXPECT_FALSE(c.Checked());
  EXPECT_EQ(change.count(), 1);
  EXPECT_EQ(clic.count(), 1);
  c.setFocus();
  QTest::keyClick(&c, Qt::Key_Space);
  EXPECT_TRUE(c.Checked());
  EXPECT_EQ(change.count(), 2);
  EXPECT_EQ(clic.count(), 1);
  c.SetReadOnly(true);
  QTest::mouseClick(&c, Qt::LeftButton, {}, QPoint(5, 8));
  EXPECT_TRUE(c.Checked());
  EXPECT_EQ(clic.count(), 2);
  c.SetReadOnly(false);
  c.SetAllowGrayed(true);
  c.SetChecked(false);
  c.Toggle();
  EXPECT_EQ(c.State(), cbGrayed);
  c.Toggle();
  EXPECT_EQ(c.State(), cbChecked);
}

TEST(CheckBox, CellsOfTheStrip) {
  CtlBitmapList liste;
  QImage strip(4 * 10, 10, QImage::Format_RGB32);
  const QColor teintes[4] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
  for (int k = 0; k < 4; ++k)
    for (int x = 0; x < 10; ++x)
      for (int y = 0; y < 10; ++y) strip.setPixelColor(k * 10 + x, y, teintes[k]);
  liste.AddBitmap(strip);
  QWidget parent;
  CtlCheckBox c(&parent);
  c.SetImageList(&liste, 0, 0);
  c.SetGlyphNumber(2);
  c.SetAllowGrayed(true);
  c.SetState(cbGrayed);
  EXPECT_EQ(c.CellIndex(), 2);
  const QImage vu = c.grab().toImage();
  EXPECT_EQ(vu.pixelColor(5, 8), QColor(Qt::blue));
  c.SetImageList(&liste, 5, 0);  // missing entry: the built-in strip of six cells
  EXPECT_EQ(c.Strip().width(), 6 * c.GlyphSize());
}

TEST(PanelFill, PictureShowsBehindATransparentLabel) {
  CtlBitmapList liste;
  QImage image(8, 8, QImage::Format_RGB32);
  image.fill(QColor(10, 200, 30));
  liste.AddBitmap(image);
  CtlPanelFill panneau;
  panneau.resize(100, 60);
  panneau.FillObject().SetStyle(sfBitmapList);
  panneau.FillObject().SetTileMode(tmTile);
  panneau.SetImageList(&liste);
  auto* l = new QLabel("text", &panneau);
  l->setGeometry(20, 20, 60, 20);
  const QImage vu = panneau.grab().toImage();
  EXPECT_EQ(vu.pixelColor(75, 35), QColor(10, 200, 30));
}
