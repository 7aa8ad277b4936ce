// Reflections and silhouettes of trees, and the raster shapes they draw with.
#include <gtest/gtest.h>

#include "model/aleatoire.h"
#include "model/defauts.h"
#include "render/canevas_arbre.h"
#include "render/palette.h"
#include "tests/render/arbre_aide.h"
#include "tests/support/canevas_enregistreur.h"

using namespace render;
using Genre = CanevasEnregistreur::Genre;

namespace {

TMyPalette palette_test() {
  param_vue v;
  valeurs_defaut_vue(v);
  return palette_pour_vue(v);
}

std::unique_ptr<Tarbre> chene() {
  auto t = generer(vue_type(), couche_type(1), 6);
  CanevasEnregistreur cv;
  bool annule = false;
  const TMyPalette pal = palette_test();
  t->dessiner_arbre({100, 100}, 40, 10, 0, false, 0, 4, 0, cv, pal, false, 1, 0.5, nullptr, 0, annule, false);
  return t;
}

}  // namespace

TEST(RefletArbre, ColonneDroiteSansVagues) {
  auto t = chene();
  const std::int32_t sombre = t->couleur_feuilles_ombre;
  CanevasEnregistreur cv;
  const TMyPalette pal = palette_test();
  t->dessiner_simple({200, 300}, 40, 4, 0, cv, pal, 13);
  EXPECT_EQ(t->couleur_feuilles_ombre, sombre);
  bool crown = false;
  for (const auto& tr : cv.traces) {
    ASSERT_EQ(tr.genre, Genre::ligne);
    if (tr.stylo.couleur.index == t->couleur_ecorce && tr.points[0].x == tr.points[1].x) {
      EXPECT_EQ(tr.points[0].x, 200);
    } else if (tr.stylo.couleur.index == t->couleur_feuilles) {
      crown = true;
      EXPECT_EQ(tr.points[0].x + tr.points[1].x, 2 * 201);
    } else {
      EXPECT_EQ(tr.stylo.couleur.index, sombre + 8);
    }
  }
  EXPECT_TRUE(crown);
  // Trunk-only for sparse foliage.
  t->taille_feuilles = 2;
  cv.traces.clear();
  t->dessiner_simple({200, 300}, 40, 4, 0, cv, pal, 13);
  for (const auto& tr : cv.traces) EXPECT_EQ(tr.stylo.couleur.index, t->couleur_ecorce);
}

TEST(RefletArbre, MerAgiteeAllongeLeTronc) {
  auto t = chene();
  CanevasEnregistreur cv;
  const TMyPalette pal = palette_test();
  t->dessiner_simple({200, 300}, 40, 4, 6, cv, pal, 13);
  const double s = (0.1 * t->taille_feuilles + 0.5) * 3.2 * t->echelle * 40;
  const int T = Round(0.07 * t->facteur_vue * s * t->hauteur_tronc);
  const int TL = Round(1.33 * Round(1.33 * T));
  int lignes = 0;
  for (const auto& tr : cv.traces)
    if (tr.stylo.couleur.index == t->couleur_ecorce && tr.points[0].x == tr.points[1].x) ++lignes;
  EXPECT_EQ(lignes, (TL + 3) / 4);
}

TEST(SilhouetteArbre, SondeEtPeinture) {
  auto t = chene();
  const double taille = 20;
  const int yp = 100 - Round(6 * t->echelle * taille);
  for (int couverts : {9, 8}) {
    Mask8 m(200, 200, 0);
    int k = 0;
    for (int j = -1; j <= 1; ++j)
      for (int i = -1; i <= 1; ++i)
        if (k++ < couverts || (i == 0 && j == 0)) m.at(100 + i, yp + j) = 1;
    if (couverts == 8) m.at(101, yp + 1) = 0;
    CanevasMasque cv(m.surface());
    cv.pinceau_plein({-1, 0xFFFFFFFFu});
    bool couvert = couverts == 8;
    t->silhouette({100, 100}, cv, taille, 0, false, 0, couvert);
    EXPECT_EQ(couvert, couverts == 9);
  }
  // All black: not covered, crown still painted with the brush.
  Bitmap noir(200, 200, 0xFF000000u);
  CanevasImage ci(noir.surface());
  ci.pinceau_plein({-1, 0xFF00FF00u});
  bool couvert = true;
  t->silhouette({100, 100}, ci, taille, 0, false, 0, couvert);
  EXPECT_FALSE(couvert);
  EXPECT_NE(std::count(noir.pixels().begin(), noir.pixels().end(), 0xFF00FF00u), 0);
  // Probe at the edge: outside pixels are not covered.
  Bitmap blanc(200, 200, 0xFFFFFFFFu);
  CanevasImage cb(blanc.surface());
  t->silhouette({0, 100}, cb, taille, 0, false, 0, couvert);
  EXPECT_FALSE(couvert);
  // Forbidden ground: nothing probed, nothing painted, couvert untouched.
  t->interdit_herbe = 1;
  CanevasEnregistreur r;
  couvert = true;
  t->silhouette({100, 100}, r, taille, 1, false, 0, couvert);
  EXPECT_TRUE(couvert);
  EXPECT_TRUE(r.traces.empty());
  t->interdit_herbe = 0;
  t->taille_feuilles = 3;
  t->silhouette({100, 100}, r, taille, 0, true, 0xFF123456u, couvert);
  EXPECT_TRUE(r.traces.empty());
}

TEST(FormesRaster, LignesLargesPolygonesEtContours) {
  Mask8 m(40, 40, 0);
  draw_wide_line(m.surface(), {10, 20}, {30, 20}, 4, std::uint8_t(1));
  // A band of width 4 with round ends: rows 18..22 in the middle, round past the ends.
  EXPECT_EQ(m.at(20, 18), 1);
  EXPECT_EQ(m.at(20, 22), 1);
  EXPECT_EQ(m.at(20, 23), 0);
  EXPECT_EQ(m.at(8, 20), 1);
  EXPECT_EQ(m.at(8, 18), 0);
  EXPECT_EQ(m.at(32, 20), 1);
  EXPECT_EQ(m.at(33, 20), 0);

  // Reversed boxes draw like their normalised form.
  Mask8 a(40, 40, 0), b(40, 40, 0);
  outline_ellipse(a.surface(), 5, 5, 30, 25, 3, std::uint8_t(1));
  outline_ellipse(b.surface(), 30, 25, 5, 5, 3, std::uint8_t(1));
  EXPECT_EQ(a, b);
  EXPECT_EQ(a.at(17, 15), 0);  // the inside stays empty
  EXPECT_EQ(a.at(5, 15), 1);

  // Two squares sharing an edge share no pixel and leave no gap.
  Mask8 c(40, 40, 0);
  const Point p[4] = {{5, 5}, {20, 5}, {20, 20}, {5, 20}};
  const Point q[4] = {{20, 5}, {35, 5}, {35, 20}, {20, 20}};
  fill_polygon(c.surface(), p, 4, std::uint8_t(1));
  Mask8 d(40, 40, 0);
  fill_polygon(d.surface(), q, 4, std::uint8_t(1));
  int commun = 0, total = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      commun += c.at(x, y) && d.at(x, y);
      total += c.at(x, y) || d.at(x, y);
    }
  EXPECT_EQ(commun, 0);
  EXPECT_EQ(total, 30 * 15);
  // A far-off polygon and line clip without harm.
  const Point loin[3] = {{-2000000000, 5}, {2000000000, 5}, {0, 2000000000}};
  fill_polygon(c.surface(), loin, 3, std::uint8_t(2));
  draw_wide_line(c.surface(), {-2000000000, -5}, {2000000000, 45}, 7, std::uint8_t(3));
}
