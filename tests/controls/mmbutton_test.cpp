// The multimedia button: faces per state from a picture list, the hit test on
// the face's pixels, transparent drawing of the face.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "controls/imagelist.h"
#include "controls/mmbutton.h"

namespace {

// A 20 x 20 picture: white with a disc of `c` in the middle.
QImage Disc(QColor c) {
  QImage img(20, 20, QImage::Format_RGB32);
  img.fill(Qt::white);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x)
      if ((x - 10) * (x - 10) + (y - 10) * (y - 10) < 64) img.setPixelColor(x, y, c);
  return img;
}

}  // namespace

TEST(MMButton, FacesPerStateHitTestAndTransparency) {
  CtlBitmapList faces;
  faces.AddBitmap(Disc(Qt::red));
  faces.AddBitmap(Disc(Qt::blue));
  faces.AddBitmap(Disc(Qt::gray));
  QWidget parent;
  parent.resize(60, 60);
  auto* b = new CtlMMButton(&parent);
  b->setGeometry(0, 0, 20, 20);
  b->SetColor(CtlRgb(0, 255, 0));
  b->SetButtonFaceImageList(&faces);
  b->SetFace(CtlBaseGraphicButton::bsHeld, 1, 0);
  b->SetFace(CtlBaseGraphicButton::bsDisabled, 2, 0);
  b->SetFace(CtlBaseGraphicButton::bsHot, -1, 0);  // ignored
  EXPECT_EQ(b->FaceListIndex(CtlBaseGraphicButton::bsHot), 0);
  EXPECT_EQ(b->FaceListIndex(CtlBaseGraphicButton::bsDisabledPressed), 2);
  parent.show();
  EXPECT_FALSE(b->IsInside(1, 1));
  EXPECT_TRUE(b->IsInside(10, 10));
  // The face drawn without its white, over the button's colour.
  QImage shot = b->grab().toImage();
  EXPECT_EQ(shot.pixelColor(10, 10), QColor(Qt::red));
  EXPECT_EQ(shot.pixelColor(1, 1), QColor(0, 255, 0));
  b->SetForceTransparent(false);
  EXPECT_EQ(b->grab().toImage().pixelColor(1, 1), QColor(Qt::white));
  // A press on the white corner is ignored; one on the disc shows the held face and clicks.
  QSignalSpy clics(b, &CtlBaseGraphicButton::clicked);
  QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(1, 1));
  EXPECT_EQ(clics.count(), 0);
  QTest::mousePress(b, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(b->grab().toImage().pixelColor(10, 10), QColor(Qt::blue));
  QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(clics.count(), 1);
  b->setEnabled(false);
  EXPECT_EQ(b->grab().toImage().pixelColor(10, 10), QColor(Qt::gray));
}

TEST(MMButton, WithoutFacesTheWholeRectangleCountsAndNothingFails) {
  CtlMMButton b;
  EXPECT_EQ(b.size(), QSize(25, 25));
  EXPECT_FALSE(b.HasFace());
  EXPECT_TRUE(b.IsInside(0, 0));
  EXPECT_FALSE(b.IsInside(25, 3));
  auto* faces = new CtlBitmapList;
  faces->AddBitmap(Disc(Qt::red));
  b.SetButtonFaceImageList(faces);
  EXPECT_TRUE(b.HasFace());
  delete faces;
  EXPECT_EQ(b.ButtonFaceImageList(), nullptr);
  b.SetCaption("&Play");
  b.grab();
}
