#include "render/facettes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

#include "model/aleatoire.h"
#include "platform/messages.h"
#include "render/contexte.h"
#include "tests/support/fakes.h"
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
      if (f.genre == GenreFacette::terre) {
        EXPECT_GE(f.lumiere, 47) << a;
      }
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

TEST(Facettes, SubLatticesKeepTheCellCornersAndEdges) {
  for (bool deformation : {false, true})
    for (bool strates : {false, true}) {
      param_mat p = parametres_test(7);
      p.cle = 99;
      p.deformation = deformation;
      p.degre_deformation = 60;
      auto t = terrain_genere(p);
      for (int secteur = 0; secteur < 6; ++secteur) {
        param_vue v = vue_a(30 + 60 * secteur - 180);
        v.premier_plan = 1;
        v.distance = 2;
        v.angle_vertical = 25;
        v.deformation = 0;
        v.strates = strates;
        v.rugosite = 8;
        Releve r;
        Bitmap image;
        rendre(*t, v, image, 640, 480, &r);
        ASSERT_GT(r.totaux.sous_reseaux, 0) << secteur;
        // Node points as the main facets saw them.
        std::map<Noeud, std::array<double, 3>> points;
        for (const FacetteDessinee& f : r.facettes)
          if (!f.sous_facette)
            for (std::size_t k = 0; k < 3; ++k) points[f.noeuds[k]] = f.monde[k];
        int coins = 0, bords = 0;
        for (const FacetteDessinee& f : r.facettes) {
          if (!f.sous_facette) continue;
          const int m = f.m;
          for (std::size_t k = 0; k < 3; ++k) {
            const int c = f.noeuds[k][0], rr = f.noeuds[k][1];
            const bool bord_c = c == 1 || c == m, bord_r = rr == 1 || rr == m;
            if (bord_c && bord_r) {
              const Noeud q{f.sous_i + (c == m), f.sous_j + (rr == m)};
              auto it = points.find(q);
              if (it == points.end()) continue;
              ++coins;
              for (std::size_t a = 0; a < 3; ++a) ASSERT_NEAR(f.monde[k][a], it->second[a], 1e-6) << secteur;
            } else if (bord_c || bord_r) {
              // An edge sub-node lies on the straight line between its two corners.
              const Noeud q0 = bord_c ? Noeud{f.sous_i + (c == m), f.sous_j} : Noeud{f.sous_i, f.sous_j + (rr == m)};
              const Noeud q1 = bord_c ? Noeud{f.sous_i + (c == m), f.sous_j + 1} : Noeud{f.sous_i + 1, f.sous_j + (rr == m)};
              auto a0 = points.find(q0), a1 = points.find(q1);
              if (a0 == points.end() || a1 == points.end()) continue;
              ++bords;
              const double s = double(bord_c ? rr - 1 : c - 1) / (m - 1);
              ASSERT_NEAR(f.monde[k][2], a0->second[2] + s * (a1->second[2] - a0->second[2]), 1e-6) << secteur;
            }
          }
        }
        EXPECT_GT(coins, 0) << secteur;
        EXPECT_GT(bords, 0) << secteur;
      }
    }
}

TEST(Facettes, NoSubLatticeWhereTheRulesForbidIt) {
  param_vue v = vue_a(-150);
  v.premier_plan = 1;
  v.distance = 2;
  v.angle_vertical = 25;
  Bitmap image;
  // Degree 5.
  auto petit = terrain_synthetique("cone", 5, 800);
  Releve r5;
  rendre(*petit, v, image, 640, 480, &r5);
  EXPECT_EQ(r5.totaux.sous_reseaux, 0);
  EXPECT_GT(r5.totaux.facettes, 100);

  // Picture colours.
  param_mat p = parametres_test(7);
  p.cle = 3;
  p.photo_aerienne = 1;
  auto photo = terrain_genere(p);
  for (int i = 1; i <= photo->n; ++i)
    for (int j = 1; i + j <= photo->n + 1; ++j) photo->photo->ecrire(i, j, 0x00408020u);
  photo->photo_presente = photo->photo_enregistree = 1;
  v.photo_aerienne = 1;
  Releve rp;
  rendre(*photo, v, image, 640, 480, &rp);
  EXPECT_EQ(rp.totaux.sous_reseaux, 0);
  v.photo_aerienne = 0;
  Releve rn;
  rendre(*photo, v, image, 640, 480, &rn);
  EXPECT_GT(rn.totaux.sous_reseaux, 0);

  // Outside the changed area.
  photo->zone_modifiee = {20, 60, 20, 60};
  photo->redessiner_tout = 0;
  Releve rz;
  rendre(*photo, v, image, 640, 480, &rz);
  for (const FacetteDessinee& f : rz.facettes) {
    EXPECT_TRUE(f.cellule_i >= 20 && f.cellule_i <= 60 && f.cellule_j >= 20 && f.cellule_j <= 60);
    if (f.sous_facette) {
      EXPECT_TRUE(f.sous_i >= 20 && f.sous_i <= 60 && f.sous_j >= 20 && f.sous_j <= 60);
    }
  }

  // Flat land with foreground detail: every sub-facet faces the eye.
  auto plat = terrain_synthetique("flat", 7, 500);
  for (int a = -180; a <= 165; a += 15) {
    param_vue w = vue_a(a);
    w.premier_plan = 1;
    w.distance = 2;
    w.angle_vertical = 30;
    Releve rf;
    rendre(*plat, w, image, 640, 480, &rf);
    EXPECT_GT(rf.totaux.sous_facettes, 0) << a;
    for (const FacetteDessinee& f : rf.facettes)
      if (f.sous_facette) {
        ASSERT_TRUE(f.visible && f.genre == GenreFacette::terre) << a;
      }
  }
}

namespace {

struct ModeleEnregistreur : ModeleArbre {
  std::vector<DessinArbre>* dessins;
  explicit ModeleEnregistreur(std::vector<DessinArbre>* d) : dessins(d) {}
  void dessiner(RenderContext&, const DessinArbre& a) override { dessins->push_back(a); }
};

struct FabriqueEnregistreuse : FabriqueArbres {
  std::vector<DessinArbre> dessins;
  std::unique_ptr<ModeleArbre> creer(const param_vue&, bool, std::int32_t, const espece_arbres&) override {
    return std::make_unique<ModeleEnregistreur>(&dessins);
  }
};


}  // namespace

TEST(Facettes, RiversFromTheCoverMap) {
  for (int largeur : {5, 2}) {
    auto t = terrain_synthetique("flat", 9, 500);
    une_entree(*t, 150, 150, TYPE_RIVIERE, largeur);
    param_vue v = vue_a(-150);
    v.distance = 4;
    v.angle_vertical = 60;
    Couverture vide;  // the cover map only as this test writes it
    Rendu sans;
    sans.phases.mer = &vide;
    sans(*t, v, 640, 480);
    Couverture carte;
    for (int k = 100; k <= 200; ++k) carte.entrees.push_back({k, 171, largeur, 1});  // row 171: visited with stride 3
    Rendu r;
    r.phases.mer = &carte;
    Releve rel;
    r(*t, v, 640, 480, &rel);
    int rivieres = 0;
    for (const FacetteDessinee& f : rel.facettes) rivieres += f.genre == GenreFacette::riviere;
    const Pixel bleu = pixel_of(palette_pour_vue(v).couleur(TMyPalette::kEau, 0));
    int changes = 0, bleus = 0;
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x)
        if (r.image.at(x, y) != sans.image.at(x, y)) {
          ++changes;
          bleus += r.image.at(x, y) == bleu;
        }
    EXPECT_GT(changes, 50) << largeur;
    EXPECT_EQ(bleus, changes) << largeur;
    if (largeur == 5)
      EXPECT_GT(rivieres, 20);
    else
      EXPECT_EQ(rivieres, 0);  // lines between the river's nodes instead
    deposer(r.image, "riviere_" + std::to_string(largeur));
  }
}

TEST(Facettes, PaintedRockOnLevelLand) {
  auto t = terrain_synthetique("flat", 7, 300);
  une_entree(*t, 40, 40, 33, 3);
  Couverture carte;
  for (int i = 30; i <= 50; ++i)
    for (int j = 30; j <= 50; ++j) carte.entrees.push_back({i, j, 3, 33});
  param_vue v = vue_a(-150);
  v.distance = 8;
  Rendu r;
  r.phases.mer = &carte;
  Releve rel;
  r(*t, v, 640, 480, &rel);
  int roches = 0;
  for (const FacetteDessinee& f : rel.facettes) {
    if (f.genre != GenreFacette::terre) continue;
    const bool peint = f.cellule_i >= 30 && f.cellule_i <= 50 && f.cellule_j >= 30 && f.cellule_j <= 50;
    const bool roche = f.index >= 115 && f.index <= 162;
    if (roche) {
      ++roches;
      EXPECT_TRUE(peint) << f.cellule_i << "," << f.cellule_j;
    }
  }
  EXPECT_GT(roches, 200);
}

TEST(Facettes, TreesReachTheTreeHookOnce) {
  for (bool grossier : {false, true}) {
    auto t = terrain_synthetique("flat", 8, 500);
    const int ti = grossier ? 91 : 90, tj = grossier ? 91 : 90;  // (91, 91) lies between visited nodes
    une_entree(*t, ti, tj, TYPE_ARBRE + 2, 40);
    t->especes_presentes[2] = 1;
    Couverture carte;
    carte.entrees.push_back({ti, tj, 40, TYPE_ARBRE + 2});
    FabriqueEnregistreuse fabrique;
    param_vue v = vue_a(-150);
    v.distance = 6;
    v.foret = 1;
    Rendu r;
    r.grossier = grossier;
    r.phases.mer = &carte;
    r.phases.arbres = &fabrique;
    r(*t, v, 640, 480);
    ASSERT_EQ(fabrique.dessins.size(), 1u) << grossier;
    const DessinArbre& a = fabrique.dessins[0];
    EXPECT_GT(a.taille, 0.0);
    EXPECT_GE(a.indice_lumiere, 1);
    EXPECT_LE(a.indice_lumiere, 48);
    EXPECT_TRUE(a.pied.x >= -64 && a.pied.x < 640 + 64 && a.pied.y < 1200);
    EXPECT_GE(a.facteur_vue, 0.1);
    EXPECT_LE(a.facteur_vue, 0.9);
    EXPECT_EQ(t->resultats_vue.arbres[1][2], 1);
  }
}

TEST(Facettes, EditorMapWithLevelCurves) {
  for (int degre : {7, 9}) {
    auto t = terrain_synthetique("cone", degre, 1200);
    param_vue v = vue_defaut();
    v.niveau_mer = 100;
    v.angle_vertical = 89;
    v.angle_horizontal = 0;
    v.distance = 250;  // the map camera's scale fits the lattice at about this distance
    v.agitation_mer = 1;  // so that plain water facets are painted and seen
    Rendu r;
    r.avec_editeur = true;
    r.courbes = true;
    Releve rel;
    r(*t, v, 400, 400, &rel);
    int gris_min = 1000, gris_max = -1, eau_un_noeud = 0;
    Picture<Pixel> rejoue(800, 800, 0);
    Picture<std::uint8_t> couvert(800, 800, 0);
    for (const FacetteDessinee& f : rel.facettes) {
      if (f.genre == GenreFacette::terre) {
        gris_min = std::min(gris_min, f.index);
        gris_max = std::max(gris_max, f.index);
        EXPECT_EQ(f.couleur.r, f.couleur.g);
      }
      int sous = 0;
      for (const Noeud& q : f.noeuds) sous += t->hauteurs->lire(q[0], q[1]) < 100;
      if (sous == 1) {
        EXPECT_EQ(f.genre, GenreFacette::eau);
        ++eau_un_noeud;
      }
      const Point a{2 * f.ecran[0].x, 2 * f.ecran[0].y}, b{2 * f.ecran[1].x, 2 * f.ecran[1].y},
          c{2 * f.ecran[2].x, 2 * f.ecran[2].y};
      fill_triangle(rejoue.surface(), a, b, c, Contour::simple, pixel_of(f.couleur));
      fill_triangle(couvert.surface(), a, b, c, Contour::simple, std::uint8_t(1));
    }
    EXPECT_LE(gris_min, 10) << degre;
    EXPECT_GE(gris_max, 245) << degre;
    EXPECT_GT(eau_un_noeud, 0) << degre;
    // The double-size map received every polygon at doubled coordinates.
    int compares = 0;
    for (int y = 0; y < 800; ++y)
      for (int x = 0; x < 800; ++x)
        if (couvert.at(x, y)) {
          ++compares;
          ASSERT_EQ(rejoue.at(x, y), r.editeur.at(x, y)) << degre << " at " << x << "," << y;
        }
    EXPECT_GT(compares, 10000);
    deposer(r.editeur, "editeur_" + std::to_string(degre));
  }
}

TEST(Facettes, HardCasesRenderWithoutAnError) {
  ScopedFakeUserInterface ui;
  Bitmap image;
  auto pente = terrain_synthetique("cone", 8, 2000);
  {
    param_vue v = vue_defaut();
    v.observateur_place = 1;
    v.hauteur_observateur = 0;
    pente->placer_observateur(0.25, 0.3, 0);
    rendre(*pente, v, image, 320, 240);
  }
  {
    Rendu r;
    r.camera = true;
    r.enregistrement = {300.0, 200.0, 1.0, 0.3, 0.4, double(pente->hauteurs->lire(100, 100))};
    r(*pente, vue_defaut(), 320, 240);
  }
  for (int degre : {4, 5, 11}) {
    auto t = terrain_synthetique("paraboloid", degre, 1500);
    rendre(*t, vue_a(-100), image, 160, 120);
  }
  {
    param_vue v = vue_defaut();
    v.maillage_filaire = 1;
    v.zoom = 80;
    Rendu r;
    r.grossier = true;
    Releve rel;
    r(*pente, v, 320, 240, &rel);
    for (const FacetteDessinee& f : rel.facettes) EXPECT_EQ(f.genre, GenreFacette::fil);
  }
  for (int cote = 1; cote <= 3; ++cote) rendre(*pente, vue_defaut(), image, cote, cote);
  {
    param_vue v = vue_defaut();
    v.reflet = 1;
    v.taux_reflet = 50;
    v.niveau_mer = 800;
    v.agitation_mer = 5;
    v.horizon = 1;
    rendre(*pente, v, image, 320, 240);
  }
  EXPECT_TRUE(ui.entries.empty()) << (ui.entries.empty() ? "" : ui.entries[0].text);

  // A cancel at the first facet: the sweep stops at the next row, the end step runs.
  const WindowHandle w = platform::register_window([](const platform::Message&) { return 0; });
  FakeProgress attente;
  Avant annulation;
  annulation.avant = [&](RenderContext&) { platform::post(w, 1025); };  // found by the first facet's poll
  Rendu r;
  r.attente = &attente;
  r.fenetre = w;
  r.phases.balayage = &annulation;
  Releve rel;
  param_vue v = vue_defaut();
  r(*pente, v, 320, 240, &rel);
  EXPECT_EQ(pente->calcul_annule, 1);
  EXPECT_LT(rel.totaux.facettes, 2 * pente->n);
  EXPECT_EQ(pente->zone_modifiee, (std::array<std::int32_t, 4>{0, pente->n + 1, 0, pente->n + 1}));
  platform::unregister_window(w);
}

TEST(Facettes, NodeCacheChangesNothing) {
  param_mat p = parametres_test(8);
  p.cle = 11;
  p.deformation = 1;
  p.degre_deformation = 40;
  auto t = terrain_genere(p);
  for (int a = -180; a < 180; a += 60) {
    param_vue v = vue_a(a + 30);
    v.strates = 1;
    v.premier_plan = a >= 0;
    v.distance = a >= 0 ? 3 : 9;
    // Water sub-lattices take their roughness from the clock: no sea near the eye.
    v.niveau_mer = a >= 0 ? -100 : 150;
    v.agitation_mer = 4;
    Bitmap avec, sans;
    Releve r1, r2;
    r1.garder = r2.garder = false;
    r2.sans_cache = true;
    Rendu a1, a2;
    a1(*t, v, 320, 240, &r1);
    a2(*t, v, 320, 240, &r2);
    EXPECT_TRUE(a1.image == a2.image) << a;
    EXPECT_EQ(r1.totaux.facettes, r2.totaux.facettes) << a;
  }
}

TEST(Facettes, PictureColoursMaskAndBlend) {
  auto t = terrain_synthetique("cone", 7, 800);
  t->ajouter_photo();
  t->photo_enregistree = 1;
  for (int i = 1; i <= t->n; ++i)
    for (int j = 1; i + j <= t->n + 1; ++j) t->photo->ecrire(i, j, 0x00208040u);  // (64, 128, 32)
  param_vue v = vue_a(-150);
  v.photo_aerienne = 1;
  v.transparence = 0;
  v.brume = 0;
  auto couleurs_terre = [&](const param_vue& w) {
    Releve r;
    Bitmap image;
    rendre(*t, w, image, 320, 240, &r);
    std::map<std::uint32_t, int> c;
    for (const FacetteDessinee& f : r.facettes)
      if (f.genre == GenreFacette::terre) ++c[pixel_of(f.couleur)];
    return c;
  };
  const auto photo = couleurs_terre(v);
  ASSERT_EQ(photo.size(), 1u);
  EXPECT_EQ(photo.begin()->first, pixel_rgb(64, 128, 32));
  // Masked: every component within the tolerance of the mask colour.
  v.masque = 1;
  v.masque_rvb = {60, 130, 30};
  v.tolerance_masque = 5;
  const auto masque = couleurs_terre(v);
  EXPECT_EQ(masque.count(pixel_rgb(64, 128, 32)), 0u);
  EXPECT_GT(masque.size(), 3u);
  v.tolerance_masque = 4;  // 64 - 60 = 4 is not strictly within 4
  EXPECT_EQ(couleurs_terre(v).size(), 1u);
  // Half transparent: picture and shaded colour blended.
  v.masque = 0;
  v.transparence = 50;
  const auto melange = couleurs_terre(v);
  EXPECT_GT(melange.size(), 3u);
  EXPECT_EQ(melange.count(pixel_rgb(64, 128, 32)), 0u);
}

TEST(Facettes, WaveOffsetBelongsToTheSeaNode) {
  auto t = terrain_synthetique("flat", 7, -50);
  Couverture carte;
  carte.entrees.push_back({40, 40, 45, 50});  // wave value 45: 25 above the mean
  param_vue v = vue_a(-150);
  v.agitation_mer = 3;
  v.distance = 6;
  v.brume = 1;
  Rendu r;
  r.phases.mer = &carte;
  Releve rel;
  r(*t, v, 640, 480, &rel);
  const double echelle = 10 * std::pow(0.5, 7 - 5);
  int vus = 0;
  double z_autre = 0;
  for (const FacetteDessinee& f : rel.facettes)
    for (std::size_t k = 0; k < 3; ++k)
      if (f.noeuds[k] != Noeud{40, 40}) z_autre = f.monde[k][2];
  for (const FacetteDessinee& f : rel.facettes)
    for (std::size_t k = 0; k < 3; ++k)
      if (f.noeuds[k] == Noeud{40, 40}) {
        ++vus;
        EXPECT_DOUBLE_EQ(f.monde[k][2], z_autre + 25 * echelle);
      }
  EXPECT_GE(vus, 2);  // every facet around the node sees the same raised point
}

TEST(Facettes, SeaMirrorRepeatsAndEdgePointsAreKept) {
  auto t = terrain_synthetique("cone", 8, 1500);
  param_vue v = vue_a(-120);
  v.niveau_mer = 400;
  v.horizon = 1;
  v.reflet = 1;
  v.agitation_mer = 6;
  v.angle_vertical = 8;
  v.distance = 7;
  Rendu a, b, sans;
  a(*t, v, 640, 480);
  b(*t, v, 640, 480);
  EXPECT_TRUE(a.image == b.image);
  v.reflet = 0;
  sans(*t, v, 640, 480);
  EXPECT_FALSE(a.image == sans.image);
  deposer(a.image, "miroir");

  // Renders without a progress window keep the deepest points beyond the picture's sides.
  v.distance = 2;
  Rendu proche;
  proche(*t, v, 640, 480);
  EXPECT_TRUE(t->etat_rendu.bord_gauche_x != 0 || t->etat_rendu.bord_gauche_y != 0);
  EXPECT_TRUE(t->etat_rendu.bord_droit_x != 0 || t->etat_rendu.bord_droit_y != 0);
}
