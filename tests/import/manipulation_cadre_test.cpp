// The frame as the user handles it, without a window: steps by source width
// and near the border, the refused repeat that would push the frame further
// out, the turn limits, the centre and the scale bar's rule.
#include <gtest/gtest.h>

#include "import/manipulation_cadre.h"

namespace {

constexpr double pi = 3.14159265358979323846;

// A source of W x H read just now: the frame at its start.
Importation source(int w, int h) {
  Importation imp;
  imp.largeur = w;
  imp.hauteur = h;
  imp.chargee = true;
  imp.cadre = cadre_import::par_defaut(w, h);
  return imp;
}

TEST(ManipulationCadre, StepsFollowTheWidthAndShrinkNearTheBorder) {
  for (auto [w, pas] : {std::pair{400, 1}, {500, 1}, {501, 3}, {1000, 3}, {1001, 6}, {1500, 6}}) {
    Importation imp = source(w, w);
    ManipulationCadre m(imp);
    const int cx = imp.cadre.cx;
    ASSERT_TRUE(m.appliquer(Geste::gauche));
    EXPECT_EQ(imp.cadre.cx, cx - pas) << w;
    ASSERT_TRUE(m.appliquer(Geste::droite));
    ASSERT_TRUE(m.appliquer(Geste::droite));
    EXPECT_EQ(imp.cadre.cx, cx + pas) << w;
  }
  // "Go over" off with a vertex within 5 pixels of the border: one pixel.
  Importation imp = source(1000, 1000);
  ManipulationCadre m(imp);
  m.debord = false;
  EXPECT_FALSE(m.pres_du_bord());  // the start: (976, 875), (24, 875), (500, 50)
  EXPECT_EQ(m.pas(), 3);
  imp.cadre.cx = 520;  // the right vertex at 996, 4 pixels from the border
  EXPECT_TRUE(m.pres_du_bord());
  EXPECT_EQ(m.pas(), 1);
  m.debord = true;  // "Go over" keeps the large step
  EXPECT_FALSE(m.pres_du_bord());
  EXPECT_EQ(m.pas(), 3);
}

TEST(ManipulationCadre, ARepeatPushingTheFrameOutIsRefusedAndTheOppositeBringsItBack) {
  Importation imp = source(1000, 1000);
  ManipulationCadre m(imp);
  m.debord = false;
  int coups = 0;
  while (m.dedans() && coups < 1000) {
    ASSERT_TRUE(m.appliquer(Geste::haut));
    ++coups;
  }
  ASSERT_FALSE(m.dedans());
  const cadre_import dehors = imp.cadre;
  EXPECT_FALSE(m.appliquer(Geste::haut));  // the same move again: nothing
  EXPECT_EQ(imp.cadre.cy, dehors.cy);
  EXPECT_TRUE(m.appliquer(Geste::gauche));  // another move is carried out, even outside
  EXPECT_FALSE(m.appliquer(Geste::gauche));
  EXPECT_TRUE(m.appliquer(Geste::droite));
  EXPECT_TRUE(m.appliquer(Geste::bas));
  EXPECT_TRUE(m.dedans());

  // With "Go over" the frame keeps moving out.
  Importation libre = source(1000, 1000);
  ManipulationCadre l(libre);
  for (int k = 0; k < 400; ++k) ASSERT_TRUE(l.appliquer(Geste::haut));
  EXPECT_FALSE(l.dedans());
  EXPECT_EQ(libre.cadre.cy, 600 - 400 * 3);
}

TEST(ManipulationCadre, TurnsSaturateAtBothEndsAndTurnBackAtOnce) {
  Importation imp = source(1000, 1000);
  ManipulationCadre m(imp);
  int premiere_saturation = 0;
  for (int k = 1; k <= 200; ++k) {
    m.appliquer(Geste::tourner_droite);
    if (!premiere_saturation && imp.cadre.rotation == 2 * pi) premiere_saturation = k;
  }
  EXPECT_EQ(imp.cadre.rotation, 2 * pi);
  EXPECT_EQ(premiere_saturation, 167);
  m.appliquer(Geste::tourner_gauche);
  EXPECT_DOUBLE_EQ(imp.cadre.rotation, 2 * pi - 0.01884955592153876);
  for (int k = 0; k < 400; ++k) m.appliquer(Geste::tourner_gauche);
  EXPECT_EQ(imp.cadre.rotation, 0.0);
}

TEST(ManipulationCadre, CentreAndScaleBar) {
  Importation imp = source(1001, 999);
  ManipulationCadre m(imp);
  for (int k = 0; k < 10; ++k) m.appliquer(Geste::droite);
  m.centrer();
  EXPECT_EQ(imp.cadre.cx, 500);  // Round(500.5), half to even
  EXPECT_EQ(imp.cadre.cy, 599);  // Round(599.4)

  EXPECT_EQ(m.fixer_echelle(20), 20);
  EXPECT_DOUBLE_EQ(imp.cadre.f, 0.20);
  EXPECT_EQ(m.fixer_echelle(150), 150);
  EXPECT_DOUBLE_EQ(imp.cadre.f, 1.50);
  ASSERT_FALSE(m.dedans());  // 1.5 times the start frame leaves the picture
  EXPECT_EQ(m.fixer_echelle(151 - 1), 150);
  EXPECT_EQ(m.fixer_echelle(149), 149);  // smaller: accepted
  EXPECT_DOUBLE_EQ(imp.cadre.f, 1.49);
  ASSERT_FALSE(m.dedans());
  EXPECT_EQ(m.fixer_echelle(160), 149);  // larger while outside: back to Round(f x 100)
  EXPECT_DOUBLE_EQ(imp.cadre.f, 1.49);
}

}  // namespace
