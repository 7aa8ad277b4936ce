// The camera path: frame counts, the altitude profile, target and observer
// conversions, the three path kinds and their guards.
#include <gtest/gtest.h>

#include <cstring>

#include "model/defauts.h"
#include "render/calcul_image.h"
#include "render/palette.h"
#include "tests/support/terrains.h"
#include "video/trajectoire.h"

namespace {

Param_video reglages(int type) {
  Param_video p{};
  p.nombre_images = 300;
  p.type_trajectoire = type;
  p.rayon_cercle = 60;
  p.distance_point_vise = 20;
  p.bezier_altitude = {900, 1000, 1100, 1200, 1300, 1400, 1500};
  p.bezier_x.fill(-1);
  p.bezier_y.fill(-1);
  return p;
}

void chemin(Param_video& p, int m) {
  for (int i = 0; i < m; ++i) {
    p.bezier_x[std::size_t(i)] = 40 + 18 * i;
    p.bezier_y[std::size_t(i)] = 200 - 10 * i;
  }
}

bool memes_octets(const std::vector<enregistrement_camera>& a, const std::vector<enregistrement_camera>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(enregistrement_camera)) == 0;
}

struct Banc {
  std::unique_ptr<Tmatrice> terrain = terrain_synthetique("flat", 6, 100);
  EditeurAltitude altitudes{300, 100, 0, 0};
  DessinTrajectoire dessin;
  std::vector<enregistrement_camera> table;
  bool calculer(Param_video& p, bool trace = false) {
    return calcule_trajectoire(p, *terrain, altitudes, trace, table, dessin);
  }
};

TEST(Trajectoire, FrameCountIsBroughtIntoRangeAndWrittenBack) {
  Banc b;
  Param_video p = reglages(1);
  p.nombre_images = 150;
  ASSERT_TRUE(b.calculer(p));
  EXPECT_EQ(p.nombre_images, 200);
  EXPECT_EQ(b.table.size(), 201u);
  EXPECT_NE(b.table[200].cible_z, 0.0);
  p.nombre_images = 12000;
  b.table.clear();
  ASSERT_TRUE(b.calculer(p));
  EXPECT_EQ(p.nombre_images, 9999);
  EXPECT_EQ(b.table.size(), 10000u);
}

TEST(Trajectoire, AltitudeProfileAndTargetConversion) {
  Param_video p = reglages(1);
  EXPECT_DOUBLE_EQ(altitude_trajet(p, 150), 1200.0);
  EXPECT_DOUBLE_EQ(altitude_trajet(p, 300), 1500.0);
  EXPECT_DOUBLE_EQ(altitude_trajet(p, 450), 1200.0);  // past N wraps once
  double a, b;
  conversion_cible(0, 0, a, b);
  EXPECT_DOUBLE_EQ(a, 0.29516091);
  EXPECT_DOUBLE_EQ(b, 0.477580455);
  conversion_cible(140, 0, a, b);
  EXPECT_DOUBLE_EQ(b, 0.95516091);
  conversion_cible(0, 82.6450548, a, b);
  EXPECT_DOUBLE_EQ(a, 0.0);
}

TEST(Trajectoire, OpenPathSegmentsAndItsTargetStopsAtTheEnd) {
  Banc b;
  Param_video p = reglages(2);
  chemin(p, 10);
  p.distance_point_vise = 50;
  ASSERT_TRUE(b.calculer(p));
  // Frame N lies on control point 10: its target, seen from every frame whose
  // target would run past N, is the last frame's point.
  double a, bb;
  conversion_cible(p.bezier_x[9] - 140.0, p.bezier_y[9] - 167.0, a, bb);
  for (int k = 151; k <= 300; ++k) {
    EXPECT_DOUBLE_EQ(b.table[std::size_t(k)].cible_x, a) << k;
    EXPECT_DOUBLE_EQ(b.table[std::size_t(k)].cible_y, bb) << k;
    EXPECT_DOUBLE_EQ(b.table[std::size_t(k)].cible_z, 1500.0) << k;
  }
  EXPECT_NE(b.table[149].cible_x, a);
  EXPECT_EQ(b.dessin.echantillons, 200);
  EXPECT_LE(b.dessin.colonne_cible[200], 400);
}

TEST(Trajectoire, ClosedPathObserverReturnsToTheFirstPoint) {
  // The observer of frame N converts from the path's end, control point 7,
  // which a closed path puts back on control point 1.
  Banc b;
  Param_video p = reglages(3);
  chemin(p, 7);
  p.bezier_x[6] = p.bezier_x[0];
  p.bezier_y[6] = p.bezier_y[0];
  p.point_vise_fixe = 1;
  ASSERT_TRUE(b.calculer(p));
  const double s = b.terrain->n - 1, u = 250.0 - p.bezier_y[0];
  const double gi = 1 + (p.bezier_x[0] - 0.56 * u) * s / 280, gj = 1 + u * s / 250;
  const enregistrement_camera& r = b.table[300];
  EXPECT_NEAR(r.observateur_x, ((1 - gj) + s * r.cible_x) / s * 4000 * 1.732050807, 1e-6);
  EXPECT_NEAR(r.observateur_y, ((gi - 1) - s * r.cible_y + 0.5 * (gj - 1)) / s * 8000, 1e-6);
}

TEST(Trajectoire, FixedTargetKeepsItsPointAndAltitude) {
  Banc b;
  b.terrain->hauteurs->ecrire(b.terrain->cible_i, b.terrain->cible_j, 321);
  b.terrain->cible.hauteur = 321;
  Param_video p = reglages(1);
  p.point_vise_fixe = 1;
  p.point_vise_x = 10;
  p.point_vise_y = -20;
  p.angle_vision = 0;
  ASSERT_TRUE(b.calculer(p));
  for (int k = 1; k <= 300; ++k) {
    EXPECT_DOUBLE_EQ(b.table[std::size_t(k)].cible_z, 321.0);
    EXPECT_DOUBLE_EQ(b.table[std::size_t(k)].cible_x, b.table[1].cible_x);
    EXPECT_DOUBLE_EQ(b.table[std::size_t(k)].cible_y, b.table[1].cible_y);
  }
}

// A frame rendered from a record leaves the record's target altitude in the
// terrain; the next computation of the same settings still gives the same
// path, with the vision angle's lowering applied once.
TEST(Trajectoire, RenderingAFrameBetweenTwoComputationsChangesNothing) {
  Banc b;
  b.terrain = terrain_synthetique("cone", 5, 800);
  const double sol = b.terrain->hauteurs->lire(b.terrain->cible_i, b.terrain->cible_j);
  ASSERT_GT(sol, 0);
  Param_video p = reglages(1);
  p.point_vise_fixe = 1;
  p.angle_vision = -20;
  valeurs_defaut_vue(p.vue);
  ASSERT_TRUE(b.calculer(p));
  const auto premiere = b.table;
  ASSERT_LT(premiere[1].cible_z, sol - 100) << "the vision angle lowers the target";
  render::Bitmap image(80, 60);
  render::calcul_image(*b.terrain, 0, palette_pour_vue(p.vue), image, {}, p.vue, 80, 60, nullptr, nullptr, 0, 0, 0, 0,
                       1, premiere[1]);
  ASSERT_EQ(b.terrain->cible.hauteur, premiere[1].cible_z);
  for (int fois = 0; fois < 3; ++fois) {
    ASSERT_TRUE(b.calculer(p));
    EXPECT_TRUE(memes_octets(b.table, premiere)) << fois;
  }
}

TEST(Trajectoire, IncompletePathsLeaveTheTableAsItWas) {
  Banc b;
  b.table.assign(301, enregistrement_camera{1, 2, 3, 4, 5, 6});
  const auto avant = b.table;
  for (int m : {3, 5}) {
    Param_video p = reglages(2);
    chemin(p, m);
    EXPECT_FALSE(b.calculer(p));
  }
  Param_video p = reglages(3);
  chemin(p, 7);
  EXPECT_FALSE(b.calculer(p, true));
  EXPECT_TRUE(memes_octets(b.table, avant));
}

TEST(Trajectoire, SameInputsSameTableAndExtremePointsAreSafe) {
  for (int type : {1, 2, 3}) {
    Banc b1, b2;
    Param_video p1 = reglages(type), p2 = reglages(type);
    chemin(p1, 13);
    chemin(p2, 13);
    ASSERT_TRUE(b1.calculer(p1));
    ASSERT_TRUE(b2.calculer(p2));
    EXPECT_TRUE(memes_octets(b1.table, b2.table));
  }
  Banc b;
  Param_video p = reglages(2);
  chemin(p, 4);
  p.bezier_x[2] = 2147483647;
  EXPECT_TRUE(b.calculer(p));
  Param_video c = reglages(1);
  c.rayon_cercle = 2147483647;
  c.centre_cercle_x = 2147483647;
  EXPECT_TRUE(b.calculer(c));
}

TEST(Trajectoire, DraggedAltitudePointIsWrittenAndCleared) {
  Banc b;
  Param_video p = reglages(1);
  p.vue.niveau_mer = 0;
  b.altitudes.point_tire = 4;
  b.altitudes.y_tire = 25;  // three quarters up a 100-pixel editor
  ASSERT_TRUE(b.calculer(p));
  EXPECT_EQ(b.altitudes.point_tire, 0);
  // top = max(100, 400) = 400: 0 + (100 - 25) x 400 / 75 = 400.
  EXPECT_EQ(p.bezier_altitude[3], 400);
  EXPECT_EQ(b.dessin.x_altitude[7], 300);
  EXPECT_EQ(b.dessin.x_altitude[2], 50);
}

}  // namespace
