// Sea waves, feature cover and cast shadows as the render leaves them for the sweep.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>

#include "model/aleatoire.h"
#include "model/defauts.h"
#include "render/calcul_image.h"
#include "render/ombres.h"
#include "tests/support/fakes.h"
#include "tests/support/terrains.h"

using namespace render;

namespace {

param_vue vue_defaut() {
  param_vue v;
  valeurs_defaut_vue(v);
  return v;
}

// Keeps a copy of the work maps as the sweep receives them.
struct Releve : PhaseBalayage {
  std::optional<Tcouverture> couverture;
  std::optional<Tcooleen> ombres;
  std::int32_t vague_max = -1;
  double tx = 0, ty = 0;
  void balayage(RenderContext& ctx, FamilleBalayage) override {
    if (ctx.carte_vagues) couverture.emplace(*ctx.carte_vagues);
    if (ctx.carte_ombres) ombres.emplace(*ctx.carte_ombres);
    vague_max = ctx.vague_max;
    tx = ctx.tx;
    ty = ctx.ty;
  }
};

void rendre(Tmatrice& t, const param_vue& v, Releve& r, int w = 640, int h = 480, ProgressSink* attente = nullptr,
            WindowHandle fenetre = 0) {
  Bitmap image(w, h);
  const TMyPalette palette = palette_pour_vue(v);
  RenderOptions o;
  o.phases.balayage = &r;
  t.marquer_modifiee();
  calcul_image(t, fenetre, palette, image, {}, v, w, h, attente, nullptr, 0, 0, 0, 1, 0, {}, o);
}

void ajouter(Tmatrice& t, int i, int j, std::uint16_t type, std::uint16_t attribut) {
  t.liste_i.push_back(std::uint16_t(i));
  t.liste_j.push_back(std::uint16_t(j));
  t.liste_type.push_back(type);
  t.liste_attribut.push_back(attribut);
  t.nombre_elements = std::int32_t(t.liste_i.size());
}

mots_couverture lire(const Tcouverture& c, int i, int j) {
  mots_couverture m{9999, 9999};
  c.lire(i, j, m.premier, m.second);
  return m;
}

}  // namespace

TEST(FeatureCover, RiverBedsPaintedGroundEdgesAndDeletedEntries) {
  auto t = terrain_synthetique("flat", 8, 100);
  ASSERT_EQ(t->n, 257);
  ajouter(*t, 50, 50, TYPE_RIVIERE, 5);
  ajouter(*t, 100, 50, TYPE_RIVIERE, 4);
  ajouter(*t, 82, 80, TYPE_RIVIERE, 2);  // inside the painted square below: kept
  ajouter(*t, 80, 80, 33, 8);
  ajouter(*t, 1, 1, TYPE_RIVIERE, 60000);  // a bed far larger than the lattice
  ajouter(*t, 257, 1, 35, 60000);
  ajouter(*t, 150, 20, TYPE_EFFACE, 9);
  Releve r;
  param_vue v = vue_defaut();
  rendre(*t, v, r);
  ASSERT_TRUE(r.couverture);
  const Tcouverture& c = *r.couverture;
  // The 60000 bed covers the lattice with (4, 1); read the other entries on a second terrain.
  EXPECT_EQ(lire(c, 200, 50).second, 1);

  auto t2 = terrain_synthetique("flat", 8, 100);
  ajouter(*t2, 50, 50, TYPE_RIVIERE, 5);
  ajouter(*t2, 100, 50, TYPE_RIVIERE, 4);
  ajouter(*t2, 82, 80, TYPE_RIVIERE, 2);
  ajouter(*t2, 80, 80, 33, 8);
  ajouter(*t2, 1, 1, 33, 8);
  ajouter(*t2, 150, 20, TYPE_EFFACE, 9);
  Releve r2;
  rendre(*t2, v, r2);
  const Tcouverture& c2 = *r2.couverture;
  for (int di = -2; di <= 2; ++di)
    for (int dj = -2; dj <= 2; ++dj) {
      const mots_couverture m = lire(c2, 50 + di, 50 + dj);
      if (di == 0 && dj == 0) {
        EXPECT_EQ(m.premier, 5);
        EXPECT_EQ(m.second, 1);
      } else if (std::abs(di) <= 1 && std::abs(dj) <= 1) {
        EXPECT_EQ(m.premier, 4);
        EXPECT_EQ(m.second, 1);
      } else {
        EXPECT_EQ(m.second, 0);
      }
      const mots_couverture q = lire(c2, 100 + di, 50 + dj);
      EXPECT_EQ(q.second, (di == 0 && dj == 0) ? 1 : 0);
    }
  // Half-size Round(8 x 256 x 0.002) = 4.
  for (int di = -5; di <= 5; ++di)
    for (int dj = -5; dj <= 5; ++dj) {
      const mots_couverture m = lire(c2, 80 + di, 80 + dj);
      if (di == 2 && dj == 0) {
        EXPECT_EQ(m.second, 1);
        EXPECT_EQ(m.premier, 2);
      } else if (std::abs(di) <= 4 && std::abs(dj) <= 4) {
        EXPECT_EQ(m.second, 33);
        EXPECT_EQ(m.premier, 8);
      } else {
        EXPECT_EQ(m.second, 0);
      }
    }
  EXPECT_EQ(lire(c2, 1, 1).second, 33);
  EXPECT_EQ(lire(c2, 5, 5).second, 33);
  EXPECT_EQ(lire(c2, 6, 1).second, 0);
  EXPECT_EQ(lire(c2, 150, 20).second, 0);
}

TEST(SeaWaves, SameSeaEveryTimeWithinTheLimits) {
  param_mat p = parametres_test(9);
  p.cle = 4321;
  auto t = terrain_genere(p);
  param_vue v = vue_defaut();
  v.niveau_mer = 200;
  v.agitation_mer = 8;
  Releve a, b;
  rendre(*t, v, a);
  rendre(*t, v, b);
  ASSERT_TRUE(a.couverture && b.couverture);
  int mer = 0, maxi = -1;
  bool identiques = true;
  for (int i = 1; i <= t->n; ++i)
    for (int j = 1; i + j <= t->n + 1; ++j) {
      const mots_couverture x = lire(*a.couverture, i, j), y = lire(*b.couverture, i, j);
      identiques = identiques && x.premier == y.premier && x.second == y.second;
      if (x.second == 50) {
        ++mer;
        EXPECT_LE(x.premier, 55);
        maxi = std::max(maxi, int(x.premier));
        const std::int32_t h = t->hauteurs->lire(i, j);
        EXPECT_TRUE(h < 200 && h != -1000);
      }
    }
  EXPECT_TRUE(identiques);
  EXPECT_GT(mer, 1000);
  EXPECT_EQ(a.vague_max, maxi);

  // A calm sea without features makes no cover map.
  t->nombre_elements = 0;
  v.agitation_mer = 0;
  Releve calme;
  rendre(*t, v, calme);
  EXPECT_FALSE(calme.couverture);
}

TEST(FeatureCover, StatisticsCountTreesAboveTheSeaSpringsAndRiverPoints) {
  auto t = terrain_synthetique("flat", 8, 100);
  t->hauteurs->ecrire(30, 30, -40);
  ajouter(*t, 10, 10, 12, 20);
  ajouter(*t, 12, 10, 12, 20);
  ajouter(*t, 30, 30, 12, 20);  // below the sea
  ajouter(*t, 40, 40, 17, 20);  // no seventh layer
  ajouter(*t, 60, 60, TYPE_RIVIERE, 1);
  ajouter(*t, 62, 60, TYPE_RIVIERE, 1);
  for (int k = 0; k < 8; ++k) ajouter(*t, 70 + k, 60, TYPE_RIVIERE, 3);
  Releve r;
  rendre(*t, vue_defaut(), r);
  EXPECT_EQ(t->resultats_vue.arbres[1][1], 2);
  EXPECT_EQ(t->resultats_vue.sources, 2);
  EXPECT_EQ(t->resultats_vue.longueur_rivieres, Round(10 * 8000.0 / t->n));
}

TEST(CastShadows, SweepRowsOfTheSunAzimuth) {
  auto row = [](int A) {
    const BalayageOmbres b = balayage_ombres(A);
    return std::tuple(b.i_croissant, b.j_croissant, b.signe_a, b.signe_b);
  };
  EXPECT_EQ(row(0), std::tuple(true, false, 1, -1));
  EXPECT_EQ(row(60), std::tuple(true, false, 1, -1));
  EXPECT_EQ(row(61), std::tuple(true, true, 1, 1));
  EXPECT_EQ(row(90), std::tuple(false, false, -1, -1));
  EXPECT_EQ(row(120), std::tuple(false, false, -1, -1));
  EXPECT_EQ(row(180), std::tuple(false, true, -1, 1));
  EXPECT_EQ(row(240), std::tuple(false, true, -1, 1));
  EXPECT_EQ(row(271), std::tuple(true, true, -1, 1));
  EXPECT_EQ(row(300), std::tuple(true, true, -1, 1));
  EXPECT_EQ(row(301), std::tuple(true, true, 1, 1));
  EXPECT_EQ(row(360), std::tuple(true, true, 1, 1));
}

TEST(CastShadows, APillarShadowsTheGroundAwayFromTheSun) {
  auto t = terrain_synthetique("pillar", 7, 3000);
  const int n = t->n;
  for (int azimut : {30, 75, 105, 150, -150, -105, -75, -30}) {
    param_vue v = vue_defaut();
    v.elevation_soleil = 20;
    v.angle_horizontal = -180;
    v.azimut_soleil = azimut;
    v.ombre_portee = 1;
    Releve r;
    rendre(*t, v, r);
    ASSERT_TRUE(r.ombres);
    auto monde = [&](int i, int j) {
      const double p = double(i - 1) / (n - 1), q = double(j - 1) / (n - 1);
      return std::pair((r.tx - p) * 4000 * 1.732050807, (q + p / 2 - r.ty) * 8000);
    };
    double px = 0, py = 0, sx = 0, sy = 0;
    int pilier = 0, ombre = 0;
    for (int i = 1; i <= n; ++i)
      for (int j = 1; i + j <= n + 1; ++j) {
        const auto [x, y] = monde(i, j);
        if (t->hauteurs->lire(i, j) > 0) {
          px += x;
          py += y;
          ++pilier;
        } else if (r.ombres->lire(i, j) == 1) {
          sx += x;
          sy += y;
          ++ombre;
        }
      }
    ASSERT_GT(pilier, 0);
    EXPECT_GE(ombre, 20) << "azimuth " << azimut;
    if (ombre == 0) continue;
    const double a = azimut * std::numbers::pi / 180;
    const double dx = sx / ombre - px / pilier, dy = sy / ombre - py / pilier;
    EXPECT_LT(dx * std::cos(a) + dy * std::sin(a), 0) << "azimuth " << azimut;
  }
}

TEST(CastShadows, SunBelowTheHorizonAndPicturesEdgesRunClean) {
  // Rim nodes drop out of the pass; nodes projected on the picture's edges
  // read the work picture through its bounds.
  for (int elevation : {-5, 1, 89}) {
    for (int taille : {1, 3, 40}) {
      auto t = terrain_synthetique("cone", 7, 2500);
      param_vue v = vue_defaut();
      v.elevation_soleil = elevation;
      v.ombre_portee = 1;
      v.angle_vertical = 60;
      v.distance = 1;
      Releve r;
      rendre(*t, v, r, taille, taille);
      EXPECT_TRUE(r.ombres);
    }
  }
}

TEST(RenderProgress, PhaseCaptionsInOrder) {
  param_mat p = parametres_test(8);
  p.cle = 77;
  auto t = terrain_genere(p);
  param_vue v = vue_defaut();
  v.agitation_mer = 3;
  v.niveau_mer = 150;
  v.ombre_portee = 1;
  v.horizon = 1;
  v.type_ciel = 1;
  FakeProgress attente;
  Releve r;
  rendre(*t, v, r, 640, 480, &attente, 0);
  const std::vector<std::string> legendes = attente.captions();
  auto position = [&](const std::string& s) {
    for (std::size_t k = 0; k < legendes.size(); ++k)
      if (legendes[k] == s) return int(k);
    return -1;
  };
  int dernier = -1;
  for (std::size_t k = 0; k < legendes.size(); ++k)
    if (legendes[k] == "3D Image computation doing ...") dernier = int(k);
  const int mer = position("Sea preprocessing ..."), ombres = position("Shadows casted processing ..."),
            nuages = position("Clouds generation ...    ");
  ASSERT_GE(mer, 0);
  EXPECT_LT(mer, ombres);
  EXPECT_LT(ombres, nuages);
  EXPECT_LT(nuages, dernier);
}
