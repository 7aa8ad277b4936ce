#include "render/ombrage.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "model/aleatoire.h"

using namespace render;

namespace {

ReglagesOmbrage reglages() {
  ReglagesOmbrage r;
  r.herbe = 500;
  r.rocher = 1500;
  r.recouvrement = 0;
  r.quart = Round(0.25 * (r.rocher - r.herbe));
  r.neige = 2500;
  r.delta_neige = 100;
  r.delta_neige_s = 75;
  r.niveau_sable = 0;
  r.point_haut = 3000;
  r.degre = 9;
  r.oeil = {0, 0, 10000};
  r.soleil = {0, 0, 75000};
  return r;
}

// A level facet around the origin at altitude z, vertices ordered so that the
// normal points up with sign +1.
EntreeFacette plat(double z) {
  EntreeFacette f;
  f.a = {0, 0, z};
  f.b = {10, 0, z};
  f.c = {0, 10, z};
  f.altitude = Round(z);
  return f;
}

}  // namespace

TEST(ClasseSol, SlopeMovesLowGroundUpTheBands) {
  ReglagesOmbrage r = reglages();
  EXPECT_EQ(classe_sol(r, 100, 1.0, 0), 1);   // grass
  EXPECT_EQ(classe_sol(r, 100, 0.45, 0), 2);  // earth-grass
  EXPECT_EQ(classe_sol(r, 100, 0.25, 0), 4);  // earth-rock: moved twice
  EXPECT_EQ(classe_sol(r, 100, 0.1, 0), 5);   // rock
  EXPECT_EQ(classe_sol(r, 1000, 1.0, 0), 3);  // earth in the middle band
  EXPECT_EQ(classe_sol(r, 2000, 1.0, 0), 5);  // rock above the rock level

  // A low terrain keeps grass only on nearly level ground.
  r.point_haut = 900;
  EXPECT_EQ(classe_sol(r, 100, 0.95, 0), 1);
  EXPECT_EQ(classe_sol(r, 100, 0.9, 0), 1);
  EXPECT_EQ(classe_sol(r, 100, 0.85, 0), 2);
  EXPECT_EQ(classe_sol(r, 100, 0.7, 0), 3);
  EXPECT_EQ(classe_sol(r, 100, 0.6, 0), 4);
}

TEST(ClasseSol, PaintedGroundAndDiversity) {
  ReglagesOmbrage r = reglages();
  r.elements = true;
  EXPECT_EQ(classe_sol(r, 100, 1.0, 33), 5);   // painted rock on level land
  EXPECT_EQ(classe_sol(r, 100, 0.9, 34), 6);   // painted snow
  EXPECT_EQ(classe_sol(r, 100, 0.2, 34), 5);   // painted snow on a steep slope is rock
  EXPECT_EQ(classe_sol(r, 2000, 1.0, 35), 8);  // painted sand
  EXPECT_EQ(classe_sol(r, 2000, 1.0, 31), 1);
  EXPECT_EQ(classe_sol(r, 2000, 0.1, 31), 5);
  r.elements = false;
  EXPECT_EQ(classe_sol(r, 100, 1.0, 33), 1);  // no feature list: painting is ignored

  // Diversity draws once per class test that holds: grass (class 1) draws only
  // for the raise.
  r.diversite = 20;
  set_seed(77);
  classe_sol(r, 100, 1.0, 0);
  Generateur g(77);
  g.tirer();
  EXPECT_EQ(seed(), g.etat());
  set_seed(77);
  classe_sol(r, 1000, 1.0, 0);
  g.fixer(77);
  g.tirer();
  g.tirer();
  EXPECT_EQ(seed(), g.etat());
}

TEST(IndexEau, CalmShadedAndChoppyWater) {
  ReglagesOmbrage r = reglages();
  r.agitation = 2;
  for (int degre : {6, 7}) {
    r.degre = degre;
    EXPECT_EQ(index_eau(r, 0.99, false, false), 7);
    r.ombre_portee = true;
    EXPECT_EQ(index_eau(r, 0.99, false, true), 6);
    r.ombre_portee = false;
  }
  r.degre = 9;
  EXPECT_EQ(index_eau(r, 0.99, false, false), 8);  // degree above 7 with a calm sea
  EXPECT_EQ(index_eau(r, 0.999, false, false), 7);
  EXPECT_EQ(index_eau(r, 0.2, true, false), 18);   // steep sub-facet: k = 12
  r.reflet = true;
  r.taux_reflet = 6;
  EXPECT_EQ(index_eau(r, 0.2, true, false), 16);  // capped at k = 10 with strong reflections
  // Shadowed decrements in order: 16 - 1 = 15, then - 1 (agitation < 7), then - 2 (agitation < 5).
  r.ombre_portee = true;
  EXPECT_EQ(index_eau(r, 0.2, true, true), 12);
}

TEST(Ombrage, LightAndBands) {
  ReglagesOmbrage r = reglages();
  EtatOmbrage e;
  // Level grass lit from straight above: full light of the grass ramp.
  ResultatOmbrage res = ombrage_facette(r, e, plat(100));
  ASSERT_TRUE(res.visible);
  EXPECT_NEAR(res.pente, 1.0, 1e-6);
  EXPECT_EQ(indice_lumiere(res.angle()), 48);
  EXPECT_EQ(res.index, 48 + 48 + 18);

  // Seen from below: not visible.
  r.oeil = {0, 0, -10000};
  res = ombrage_facette(r, e, plat(100));
  EXPECT_FALSE(res.visible);
  EXPECT_FALSE(res.indexe);
  r.oeil = {0, 0, 10000};

  // The wrong winding is mended by the sign.
  EntreeFacette f = plat(100);
  std::swap(f.b, f.c);
  f.signe = -1.0;
  EXPECT_EQ(ombrage_facette(r, e, f).index, 114);

  // Snow above the snow line, sand below the sand level.
  EXPECT_EQ(ombrage_facette(r, e, plat(2700)).index, 48 + 240 + 18);
  r.niveau_sable = 200;
  EXPECT_EQ(ombrage_facette(r, e, plat(100)).index, 48 + 288 + 18);

  // Cast-shadow band: grass lit from above in a shadowed cell.
  r.niveau_sable = 0;
  r.ombre_portee = true;
  f = plat(100);
  f.ombre = true;
  EXPECT_EQ(ombrage_facette(r, e, f).index, 432 + 24 + 24 + 18);

  // Degenerate facet: nothing.
  f = plat(100);
  f.c = f.b;
  EXPECT_TRUE(ombrage_facette(r, e, f).degenere);
}

// The drawing shades every facet into one record: each result there is the
// returned one, whatever the record held, and the state moves the same way.
TEST(Ombrage, InPlaceResultsOverAReusedRecordAreTheReturnedOnes) {
  ReglagesOmbrage r = reglages();
  r.statistiques = true;
  r.premier_plan = true;
  EntreeFacette pente = plat(2700);
  pente.c.z += 8;
  EntreeFacette degeneree = plat(100);
  degeneree.c = degeneree.b;
  EntreeFacette eau = plat(100);
  eau.eau = true;
  EntreeFacette cachee = plat(100);
  std::swap(cachee.b, cachee.c);
  const EntreeFacette suite[] = {plat(100), pente, degeneree, plat(2700), eau, cachee, plat(100)};
  EtatOmbrage rendu, place;
  ResultatOmbrage res;
  for (std::size_t k = 0; k < std::size(suite); ++k) {
    const EntreeFacette& f = suite[k];
    const ResultatOmbrage attendu = ombrage_facette(r, rendu, f);
    // Every other facet from its geometry computed beforehand.
    if (k % 2)
      ombrer_facette(r, place, f, geometrie_facette(r, f), res);
    else
      ombrer_facette(r, place, f, res);
    EXPECT_EQ(res.degenere, attendu.degenere);
    EXPECT_EQ(res.visible, attendu.visible);
    EXPECT_EQ(res.indexe, attendu.indexe);
    EXPECT_EQ(res.index, attendu.index);
    EXPECT_EQ(res.eclaire, attendu.eclaire);
    EXPECT_EQ(res.cos_soleil, attendu.cos_soleil);
    EXPECT_EQ(res.pente, attendu.pente);
    EXPECT_EQ(res.cos_vue, attendu.cos_vue);
    EXPECT_EQ(res.classe, attendu.classe);
  }
  EXPECT_EQ(place.historique, rendu.historique);
  EXPECT_EQ(place.total, rendu.total);
  EXPECT_EQ(place.faible, rendu.faible);
  EXPECT_EQ(place.moyenne, rendu.moyenne);
  EXPECT_EQ(place.forte, rendu.forte);
}

TEST(Ombrage, EdgeValuesNeverDivideByZeroOrReadOutside) {
  ReglagesOmbrage r = reglages();
  EtatOmbrage e;
  std::array<std::uint8_t, 161> strates{};
  strates.fill(5);
  r.strates = true;
  r.table_strates = strates.data();
  r.niveau_mer = -100;
  r.delta_neige = 0;
  r.delta_neige_s = 0;
  // A steep facet at 10 m (band 0) and at -50 m keeps its own class.
  EntreeFacette f;
  f.a = {0, 0, 10};
  f.b = {10, 0, 10};
  f.c = {0, 1, 30};
  for (int h : {10, -50, 2500}) {
    f.altitude = h;
    EXPECT_NO_THROW(ombrage_facette(r, e, f)) << h;
  }
  // The snow transition with delta 0 at exactly the snow line.
  EXPECT_NO_THROW(ombrage_facette(r, e, plat(2500)));

  EXPECT_EQ(niveau_brume(9000, 0, 100, 4000), 1);
  EXPECT_EQ(niveau_brume(9000, -100, 100, 4000), 1);
  EXPECT_EQ(niveau_brume(9000, 100, 100, 4000), 32);
  EXPECT_EQ(niveau_brume(1500, 100, 100, 4000), 10);
  EXPECT_EQ(niveau_brume(1500, 100, 600, 200), 6);  // 4 levels off above the mist height
  EXPECT_EQ(niveau_brume(1e12, 1, 5000, 0), 1);

  const Rgb ciel{168, 206, 235};
  EXPECT_EQ(brume(50, 9000, 0, Rgb{10, 20, 30}, ciel), brume(50, 9000, -100, Rgb{10, 20, 30}, ciel));
  // Density 100 far away: 96 % sky.
  const Rgb loin = brume(100, 1e9, 10, Rgb{0, 0, 0}, ciel);
  EXPECT_EQ(loin, (Rgb{161, 198, 226}));
}

TEST(MelangeCouleur, WeightsAndClamps) {
  EXPECT_EQ(melange_couleur(0, Rgb{200, 200, 200}, Rgb{10, 20, 30}), (Rgb{10, 20, 30}));
  EXPECT_EQ(melange_couleur(100, Rgb{200, 200, 200}, Rgb{10, 20, 30}), (Rgb{200, 200, 200}));
  EXPECT_EQ(melange_couleur(50, Rgb{201, 0, 255}, Rgb{0, 0, 255}), (Rgb{100, 0, 255}));
  EXPECT_EQ(melange_couleur(300, Rgb{255, 0, 0}, Rgb{0, 255, 0}), (Rgb{255, 0, 0}));
}

// The light index from the cosine's place among the boundary cosines agrees
// with the arc tangent wherever it decides, and it declines to decide next to
// every boundary, where the two computations could part.
TEST(LumiereParSeuils, AgreesWithTheArcTangentAndDeclinesAtTheBoundaries) {
  auto exact = [](double c, std::int32_t& k, bool& plus) {
    const double a = angle_lumiere(c);
    k = Round(a / pas_lumiere);
    plus = a / pas_lumiere > 36;
  };
  std::int64_t decides = 0;
  auto check = [&](double c) {
    std::int32_t k = -1, ke = -2;
    bool plus = false, pluse = false;
    if (!lumiere_par_seuils(c, k, plus)) return;
    ++decides;
    exact(c, ke, pluse);
    ASSERT_EQ(k, ke) << c;
    ASSERT_EQ(plus, pluse) << c;
  };
  for (int m = -2000000; m <= 2000000; ++m) check(m / 2000000.0);
  for (int m = 0; m < 48; ++m) {
    const double b = std::cos((m + 0.5) * pas_lumiere);
    // At a boundary and within a few units in the last place: left to the arc tangent.
    double c = b;
    for (int u = 0; u < 4; ++u) c = std::nextafter(c, 2.0);
    for (int u = 0; u < 8; ++u, c = std::nextafter(c, -2.0)) {
      std::int32_t k = 0;
      bool plus = false;
      EXPECT_FALSE(lumiere_par_seuils(c, k, plus)) << m;
    }
    check(b + 2e-9);
    check(b - 2e-9);
  }
  EXPECT_GT(decides, 3900000);
  std::int32_t k = 0;
  bool plus = false;
  for (double c : {-1.0, 1.0, 0.0, std::nan(""), 1.5, -7.0}) EXPECT_FALSE(lumiere_par_seuils(c, k, plus)) << c;
}
