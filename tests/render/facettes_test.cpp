#include "render/facettes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

#include "model/aleatoire.h"
#include "render/contexte.h"
#include "tests/render/rendu_facettes.h"
#include "tests/support/terrains.h"

using namespace render;
using namespace essais;

// Level ground faces up at every azimuth: back faces (ridges) stay a minority on
// a generated terrain and do not occur at all on flat land.
TEST(Facettes, RidgesStayAMinorityAtEveryAzimuth) {
  param_mat p = parametres_test(9);
  p.cle = 7;
  auto t = terrain_genere(p);
  auto plat = terrain_synthetique("flat", 9, 500);
  for (int a = -180; a <= 165; a += 15) {
    param_vue v = vue_defaut();
    v.angle_vertical = 30;
    v.angle_horizontal = a;
    Bitmap image;
    Releve r;
    r.garder = false;
    rendre(*t, v, image, 640, 480, &r);
    deposer(image, "genere_" + std::to_string(a + 180));
    EXPECT_GT(r.totaux.facettes, 10000) << a;
    EXPECT_LT(2 * r.totaux.cretes, r.totaux.facettes) << a;
    // Flat land: ridges only on the skirts where triangles reach outside the
    // lattice and drop to the sea level.
    Releve rp;
    rendre(*plat, v, image, 640, 480, &rp);
    const int n = plat->n, s = 3;
    int interieures = 0;
    for (const FacetteDessinee& f : rp.facettes)
      if (f.genre == GenreFacette::crete && f.cellule_i > 2 * s && f.cellule_j > 2 * s &&
          f.cellule_i + f.cellule_j < n - 2 * s)
        ++interieures;
    EXPECT_EQ(interieures, 0) << a;
    EXPECT_GT(rp.totaux.facettes, 10000) << a;
  }
}

namespace {

using Noeud = std::array<std::int32_t, 2>;
using Tri = std::array<Noeud, 3>;

Tri trie(const FacetteDessinee& f) {
  Tri t{f.noeuds[0], f.noeuds[1], f.noeuds[2]};
  std::sort(t.begin(), t.end());
  return t;
}

// Lets a test change the context just before the terrain pass.
struct Avant : PhaseBalayage {
  std::function<void(RenderContext&)> avant, apres;
  void balayage(RenderContext& ctx, FamilleBalayage f) override {
    if (avant) avant(ctx);
    BalayageFacettes().balayage(ctx, f);
    if (apres) apres(ctx);
  }
};

// Fills the cover map by hand in place of the sea preprocessing.
struct Couverture : PhaseMer {
  std::vector<std::array<int, 4>> entrees;  // i, j, value, kind
  void preparer_mer(RenderContext& ctx) override {
    for (const auto& e : entrees)
      ctx.carte_vagues->ecrire(e[0], e[1], std::uint16_t(e[2]), std::uint16_t(e[3]));
  }
};

// Gives the terrain one feature so that the driver makes a cover map.
void une_entree(Tmatrice& t, int i, int j, int type, int attribut) {
  t.liste_i[0] = std::uint16_t(i);
  t.liste_j[0] = std::uint16_t(j);
  t.liste_type[0] = std::uint16_t(type);
  t.liste_attribut[0] = std::uint16_t(attribut);
  t.nombre_elements = 1;
}

param_vue vue_a(int angle_horizontal) {
  param_vue v = vue_defaut();
  v.angle_horizontal = angle_horizontal;
  return v;
}

}  // namespace

TEST(Facettes, FlatLandLitFromAboveAndEveryInnerTriangleOnce) {
  auto t = terrain_synthetique("flat", 7, 500);
  const int n = t->n;
  for (int a = -180; a <= 165; a += 15) {
    param_vue v = vue_a(a);
    v.zoom = 10;
    v.distance = 100;
    v.angle_vertical = 30;
    v.elevation_soleil = 90;
    // Without the occupancy buffer: it may skip a tiny facet whose centre pixel
    // a neighbour with a nearer last vertex has already filled.
    Avant sans_tampon;
    sans_tampon.avant = [](RenderContext& ctx) { ctx.occupation.reset(); };
    Rendu rendu;
    rendu.phases.balayage = &sans_tampon;
    Releve r;
    rendu(*t, v, 640, 480, &r);
    std::map<Tri, int> compte;
    for (const FacetteDessinee& f : r.facettes) {
      ASSERT_FALSE(f.sous_facette);
      ++compte[trie(f)];
      const bool interieure = f.cellule_i > 2 && f.cellule_j > 2 && f.cellule_i + f.cellule_j < n - 2;
      if (!interieure) continue;
      EXPECT_NE(f.genre, GenreFacette::crete) << a;
      if (f.genre == GenreFacette::terre) EXPECT_GE(f.lumiere, 47) << a;
    }
    for (int i = 2; i <= n; ++i)
      for (int j = 2; i + j <= n - 2; ++j) {
        Tri t1{Noeud{i, j}, Noeud{i + 1, j}, Noeud{i, j + 1}};
        Tri t2{Noeud{i + 1, j}, Noeud{i, j + 1}, Noeud{i + 1, j + 1}};
        std::sort(t1.begin(), t1.end());
        std::sort(t2.begin(), t2.end());
        ASSERT_EQ(compte[t1], 1) << "azimuth " << a << " cell " << i << "," << j;
        ASSERT_EQ(compte[t2], 1) << "azimuth " << a << " cell " << i << "," << j;
      }
  }
}

TEST(Facettes, SeaFacetsNeedThreeNodesUnderTheSea) {
  auto mer = terrain_synthetique("flat", 7, -100);
  param_vue v = vue_a(30);
  v.agitation_mer = 6;
  v.brume = 1;
  v.distance = 8;
  Releve r;
  Bitmap image;
  rendre(*mer, v, image, 320, 240, &r);
  ASSERT_GT(r.facettes.size(), 100u);
  for (const FacetteDessinee& f : r.facettes) {
    ASSERT_EQ(f.genre, GenreFacette::eau);
    EXPECT_GE(f.index, 7);
    EXPECT_LE(f.index, 18);
  }

  auto cote = terrain_synthetique("cone", 7, 400);
  for (int secteur = 0; secteur < 6; ++secteur) {
    param_vue w = vue_a(30 + 60 * secteur - 180);
    w.niveau_mer = 150;
    w.agitation_mer = 0;
    w.brume = 1;
    w.distance = 8;
    Releve c;
    rendre(*cote, w, image, 320, 240, &c);
    int eau = 0;
    for (const FacetteDessinee& f : c.facettes) {
      if (f.genre != GenreFacette::eau || f.sous_facette) continue;
      ++eau;
      for (const Noeud& q : f.noeuds) EXPECT_LT(cote->hauteurs->lire(q[0], q[1]), 150) << secteur;
    }
    EXPECT_GT(eau, 0) << secteur;
  }
}

TEST(Facettes, OccupancyBufferSkipsOnlyWhatLiesBehind) {
  auto mur = terrain_synthetique("wall", 8, 1500);
  std::int64_t sautees = 0;
  param_vue v;
  for (int a = -180; a < 180; a += 45) {
    v = vue_a(a);
    v.angle_vertical = 15;
    v.distance = 3;
    Releve avec, sans;
    Rendu r1;
    r1(*mur, v, 640, 480, &avec);
    sautees += avec.totaux.sauts_occupation;
    Avant sans_tampon;
    sans_tampon.avant = [](RenderContext& ctx) { ctx.occupation.reset(); };
    Rendu r2;
    r2.phases.balayage = &sans_tampon;
    r2(*mur, v, 640, 480, &sans);
    EXPECT_EQ(sans.totaux.sauts_occupation, 0);
    // Differences lie only where the wall is drawn.
    Picture<std::uint8_t> masque(640, 480, 0);
    for (const FacetteDessinee& f : avec.facettes) {
      bool du_mur = false;
      for (const Noeud& q : f.noeuds) du_mur = du_mur || mur->hauteurs->lire(q[0], q[1]) == 1500;
      if (du_mur) fill_triangle(masque.surface(), f.ecran[0], f.ecran[1], f.ecran[2], Contour::double_, std::uint8_t(1));
    }
    int differents = 0, dehors = 0;
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x)
        if (r1.image.at(x, y) != r2.image.at(x, y)) {
          ++differents;
          if (masque.at(x, y) != 1) ++dehors;
        }
    EXPECT_LE(dehors, 5) << a;
    std::printf("occupancy at azimuth %d: %lld facets skipped, %d pixels differ, %d outside the wall\n", a,
                (long long)avec.totaux.sauts_occupation, differents, dehors);
  }
  EXPECT_GT(sautees, 0);

  // A buffer that hides everything still lets facets with an off-picture centre through.
  Avant plein;
  plein.avant = [](RenderContext& ctx) {
    for (int y = 0; y < ctx.occupation->height(); ++y)
      for (int x = 0; x < ctx.occupation->width(); ++x) ctx.occupation->at(x, y) = 1;
  };
  Rendu r3;
  r3.phases.balayage = &plein;
  Releve bord;
  r3(*mur, v, 640, 480, &bord);
  int terres = 0;
  for (const FacetteDessinee& f : bord.facettes) {
    if (f.genre != GenreFacette::terre) continue;
    ++terres;
    const int mx = Round((double(f.ecran[0].x) + f.ecran[1].x + f.ecran[2].x) / 3.0);
    const int my = Round((double(f.ecran[0].y) + f.ecran[1].y + f.ecran[2].y) / 3.0);
    EXPECT_TRUE(mx < 0 || my < 0 || mx >= 640 || my >= 480);
  }
  EXPECT_GT(terres, 0);
}

TEST(Facettes, SameViewSamePicture) {
  param_mat p = parametres_test(9);
  p.cle = 4321;
  auto t = terrain_genere(p);
  param_vue v = vue_a(-40);
  v.diversite_couleurs = 20;
  v.strates = 1;
  v.brume = 1;
  v.distance = 9;
  v.agitation_mer = 0;
  v.niveau_mer = 200;
  Bitmap a, b;
  rendre(*t, v, a, 320, 240);
  rendre(*t, v, b, 320, 240);
  EXPECT_TRUE(a == b);

  // Foreground detail over a choppy sea: water roughness draws from its own
  // stream, so the shared generator and the land sub-facets repeat.
  auto cone = terrain_synthetique("cone", 7, 1000);
  v = vue_a(-40);
  v.premier_plan = 1;
  v.agitation_mer = 8;
  v.niveau_mer = 600;
  v.distance = 2;
  v.angle_vertical = 20;
  std::uint32_t etats[2];
  std::vector<FacetteDessinee> terres[2];
  std::int64_t sous_eau = 0;
  for (int k = 0; k < 2; ++k) {
    Avant fin;
    fin.apres = [&](RenderContext&) { etats[k] = seed(); };
    Rendu r;
    r.phases.balayage = &fin;
    Releve rel;
    r(*cone, v, 640, 480, &rel);
    for (const FacetteDessinee& f : rel.facettes) {
      if (f.sous_facette && !f.parent_eau) terres[k].push_back(f);
      if (f.sous_facette && f.parent_eau) ++sous_eau;
    }
    deposer(r.image, "detail_mer_agitee");
    EXPECT_GT(rel.totaux.sous_reseaux, 0);
  }
  EXPECT_EQ(etats[0], etats[1]);
  ASSERT_EQ(terres[0].size(), terres[1].size());
  EXPECT_GT(terres[0].size(), 0u);
  for (std::size_t k = 0; k < terres[0].size(); ++k) {
    EXPECT_EQ(terres[0][k].ecran, terres[1][k].ecran);
    EXPECT_EQ(terres[0][k].couleur, terres[1][k].couleur);
  }
  EXPECT_GT(sous_eau, 0);
}
