// Children placed by coordinates follow the reading order, and a path inside
// a right-to-left text keeps its own order.
#include <gtest/gtest.h>

#include <QWidget>

#include "controls/mirror.h"

TEST(Mirror, ChildrenFollowTheReadingOrderAndTheCodesMoves) {
  QWidget parent;
  parent.resize(200, 40);
  auto* a = new QWidget(&parent);
  a->setGeometry(10, 4, 30, 20);
  auto* b = new QWidget(&parent);
  b->setGeometry(44, 4, 30, 20);
  CtlMirrorChildren(parent);
  parent.show();  // resizes reach a shown parent at once
  EXPECT_EQ(a->x(), 10);  // left to right: untouched
  parent.setLayoutDirection(Qt::RightToLeft);
  EXPECT_EQ(a->geometry(), QRect(160, 4, 30, 20));
  EXPECT_EQ(b->x(), 126);
  parent.resize(300, 40);  // the right edge stays the start
  EXPECT_EQ(a->x(), 260);
  b->move(100, 4);  // the code places in left-to-right terms
  parent.resize(320, 40);
  EXPECT_EQ(b->x(), 320 - 100 - 30);
  EXPECT_EQ(a->x(), 280);
  parent.setLayoutDirection(Qt::LeftToRight);
  EXPECT_EQ(a->x(), 10);
  EXPECT_EQ(b->x(), 100);
  EXPECT_EQ(CtlMirroredLeft(200, 10, 30), 160);
}

TEST(Mirror, PathsAreIsolatedInRightToLeftTexts) {
  const QString lri(QChar(0x2066)), pdi(QChar(0x2069));
  EXPECT_EQ(CtlIsolatePath("#  1: /home/a b/vallee2.vue", true), "#  1: " + lri + "/home/a b/vallee2.vue" + pdi);
  EXPECT_EQ(CtlIsolatePath("C:\\Terrains\\x.mat", true), lri + "C:\\Terrains\\x.mat" + pdi);
  EXPECT_EQ(CtlIsolatePath("#  1: /home/a/v.vue", false), "#  1: /home/a/v.vue");
  EXPECT_EQ(CtlIsolatePath("#  2:  New ", true), "#  2:  New ");
  EXPECT_EQ(CtlIsolatePath("View #  1 :  a/b", true), "View #  1 :  a/b");  // no path starts a word
}
