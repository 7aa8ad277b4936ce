// The building blocks of the dialog pages: typed numbers, scroll codes, the
// preview box's scheduled render, the flat tabs and the up-down.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QToolButton>

#include "fenetres/elements_pages.h"
#include "fenetres/rendu.h"
#include "tests/support/rendus.h"
#include "fenetres/saisie.h"

using namespace fenetres;
using test_rendus::controle_rendus;

TEST(Saisie, IntegersAndRealsAsTypedOrTheDefault) {
  EXPECT_EQ(entier_saisi(std::string_view("12"), 5), 12);
  EXPECT_EQ(entier_saisi(QString("  -7  "), 5), -7);
  EXPECT_EQ(entier_saisi(QString("+3"), 5), 3);
  for (const char* t : {"", " ", "abc", "1 2", "1.5", "3x", "2147483648", "-2147483649", "--1"})
    EXPECT_EQ(entier_saisi(QString(t), 5), 5) << t;
  EXPECT_EQ(entier_saisi(QString("2147483647"), 5), 2147483647);
  EXPECT_DOUBLE_EQ(reel_saisi(QString("12,5"), 1), 12.5);
  EXPECT_DOUBLE_EQ(reel_saisi(QString(" 0.6 "), 1), 0.6);
  EXPECT_DOUBLE_EQ(reel_saisi(QString("-3"), 1), -3);
  for (const char* t : {"", "1e3", "inf", "nan", "1,2,3", "1.2.3", ",", "-", "3e400", "99999999999"})
    EXPECT_DOUBLE_EQ(reel_saisi(QString(t), 7.5), 7.5) << t;
  EXPECT_EQ(entier_borne("0", 16, 8192, 320), 16);
  EXPECT_EQ(entier_borne("9000", 16, 8192, 320), 8192);
  EXPECT_EQ(entier_borne("1280", 16, 8192, 320), 1280);
  EXPECT_EQ(entier_borne("abc", 1, 10, 5), 5);
  EXPECT_EQ(entier_borne("20", 1, 10, 5), 10);
  EXPECT_EQ(entier_borne("99999999999", 1, 10, 5), 5);  // beyond int32: unreadable
}

TEST(AdaptateurDefilement, ReportsTheUsersActionsWithTheirCodes) {
  AdaptateurDefilement* a = nullptr;
  std::unique_ptr<QScrollBar> b(barre_defilement(nullptr, Qt::Vertical, 0, 100, 1, 10, &a));
  b->resize(16, 150);
  b->setValue(50);
  std::vector<std::pair<int, int>> codes;
  QObject::connect(a, &AdaptateurDefilement::defilement, [&](int c, int p) { codes.push_back({c, p}); });
  b->setValue(20);  // from code: nothing
  EXPECT_TRUE(codes.empty());
  b->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  b->triggerAction(QAbstractSlider::SliderPageStepSub);
  QMouseEvent relache(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(b.get(), &relache);
  EXPECT_EQ(codes, (std::vector<std::pair<int, int>>{{1, 21}, {2, 11}, {8, 11}}));
  codes.clear();
  // At the end of the range a step still reports.
  b->setValue(0);
  b->triggerAction(QAbstractSlider::SliderSingleStepSub);
  EXPECT_EQ(codes, (std::vector<std::pair<int, int>>{{0, 0}}));
  codes.clear();
  // A drag: 5 per move, then 4 and 8.
  b->setSliderDown(true);
  b->setSliderPosition(30);
  b->setSliderPosition(31);
  b->setSliderDown(false);
  EXPECT_EQ(codes, (std::vector<std::pair<int, int>>{{5, 30}, {5, 31}, {4, 31}, {8, 31}}));
}

TEST(PreviewBox, RendersOnceInAScheduledStepAndPaintsOnly) {
  controle_rendus().effacer();
  PreviewBox p(nullptr, 40, 30);
  int rendus = 0;
  p.fixer_rendu([&](render::Bitmap& b) {
    ++rendus;
    EXPECT_EQ(b.width(), 40);
    EXPECT_EQ(b.height(), 30);
    b.reset(b.width(), b.height(), render::pixel_rgb(10, 20, 30));
  });
  p.show();
  QApplication::processEvents();
  rendus = 0;
  p.invalidate();
  p.invalidate();
  EXPECT_EQ(rendus, 0);
  EXPECT_TRUE(p.a_refaire());
  QApplication::processEvents();
  EXPECT_EQ(rendus, 1);
  p.repaint();
  EXPECT_EQ(rendus, 1);
  EXPECT_EQ(p.grab().toImage().pixelColor(20, 15), QColor(10, 20, 30));
  EXPECT_EQ(controle_rendus().rendus_dans_peinture, 0);
}

// Read right to left, the tabs run from the right edge, in their order, as
// the pages' Next and Prev arrows point.
TEST(OngletsEtHautBas, RightToLeftTabsStartAtTheRight) {
  OngletsPlats o;
  o.resize(300, 200);
  for (int k = 1; k <= 3; ++k) o.ajouter_page(k, QString("P%1").arg(k));
  o.show();
  const QRect un = o.onglet(1)->geometry(), deux = o.onglet(2)->geometry();
  EXPECT_EQ(un.left(), 0);
  o.setLayoutDirection(Qt::RightToLeft);
  EXPECT_EQ(o.onglet(1)->geometry(), QRect(300 - un.width(), 0, un.width(), un.height()));
  EXPECT_EQ(o.onglet(2)->geometry().right(), o.onglet(1)->geometry().left() - 1);
  o.resize(400, 200);
  EXPECT_EQ(o.onglet(1)->geometry().right(), 399);
  o.setLayoutDirection(Qt::LeftToRight);
  EXPECT_EQ(o.onglet(2)->geometry(), deux);
}

TEST(OngletsEtHautBas, TabsHighlightTheActivePageAndTheUpDownStaysInItsBounds) {
  OngletsPlats o;
  o.resize(300, 200);
  for (int k = 1; k <= 3; ++k) o.ajouter_page(k, QString("P%1").arg(k));
  QSignalSpy changes(&o, &OngletsPlats::change);
  o.montrer(2);
  EXPECT_EQ(changes.count(), 0);
  o.onglet(3)->click();
  EXPECT_EQ(o.code_actif(), 3);
  EXPECT_TRUE(o.surligne(3));
  EXPECT_FALSE(o.surligne(1));
  ASSERT_EQ(changes.count(), 1);
  EXPECT_EQ(changes.last().at(0).toInt(), 3);

  HautBas h;
  h.fixer_bornes(1, 3);
  QSignalSpy clics(&h, &HautBas::clic);
  h.fixer_position(2);
  EXPECT_EQ(clics.count(), 0);
  h.monter();
  h.monter();
  EXPECT_EQ(h.position(), 3);
  h.descendre();
  EXPECT_EQ(h.position(), 2);
  ASSERT_EQ(clics.count(), 3);
  EXPECT_EQ(clics.last().at(0).toInt(), 2);
}
