// Pinned results of the Valley, Erosion and stroke tools on generated
// terrains: digests of heights, distortion maps, the feature list, the tool
// area and the trace the tool leaves behind. Any change of a single height,
// entry or area bound changes a digest.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "model/aleatoire.h"
#include "model/matrice.h"
#include "model/outils.h"
#include "model/outils_trace.h"
#include "model/outils_vallee.h"
#include "tests/model/outils_support.h"
#include "tests/support/empreinte.h"

namespace {

std::unique_ptr<Tmatrice> generer(int degre, int cle) {
  param_mat p{};
  p.maillage = degre;
  p.relief = 100;
  p.profil = 60;
  p.etalement = 1;
  p.cle = cle;
  p.cible = {0.333, 0.333};
  p.observateur = {0.1, 0.1};
  for (auto& w : p.profils_iter) w = 2;
  p.deformation = true;
  p.degre_deformation = 50;
  p.erosion = 10;
  p.altitude_erosion = 100;
  auto t = std::make_unique<Tmatrice>(p);
  bool continuer = true;
  t->generer_montagne(nullptr, 0, continuer, false);
  EXPECT_TRUE(continuer);
  return t;
}

// The terrain, the tool area, the stroke trace as left by the tool, and what
// the tool reported.
std::uint64_t empreinte_outil(const Tmatrice& m, const controle_outil& c, std::int32_t fin) {
  Empreinte e;
  e.valeur(empreinte_terrain(m));
  for (std::int32_t z : m.zone_outil) e.valeur(z);
  e.valeur(m.dernier_point);
  e.valeur<std::uint64_t>(m.trace.size());
  for (const point_trace& p : m.trace) {
    e.valeur(p.i);
    e.valeur(p.j);
  }
  e.valeur(c.continuer);
  e.valeur(fin);
  return e.valeur();
}

parametres_vallee vallee(std::int32_t W, std::int32_t V, std::int32_t F, std::int32_t I, std::int32_t i0,
                         std::int32_t j0) {
  parametres_vallee p;
  p.largeur_vallee = W;
  p.largeur_riviere = V;
  p.altitude_finale = F;
  p.altitude_initiale = I;
  p.i0 = i0;
  p.j0 = j0;
  return p;
}

// Valleys in sequence on one terrain; the digest is taken after the last.
std::uint64_t vallees(int degre, int cle, const std::vector<parametres_vallee>& suite) {
  auto t = generer(degre, cle);
  set_seed(77);
  controle_outil c;
  fin_vallee fin = fin_vallee::reussie;
  for (const parametres_vallee& p : suite) {
    c = controle_outil{};
    fin = outil_vallee(*t, p, c);
  }
  return empreinte_outil(*t, c, static_cast<std::int32_t>(fin));
}

struct Trait {
  arguments_outil a;
  std::vector<std::pair<int, int>> trace;
};

std::uint64_t traits(int degre, int cle, const std::vector<Trait>& suite) {
  auto t = generer(degre, cle);
  set_seed(77);
  controle_outil c;
  for (const Trait& s : suite) c = appliquer(*t, s.a, s.trace);
  return empreinte_outil(*t, c, 0);
}

arguments_outil arguments(std::int32_t outil, std::int32_t base, std::int32_t sommet, std::int32_t bas,
                          std::int32_t haut, std::int32_t valeur = 0, std::int32_t coef_debut = 0,
                          std::int32_t coef_fin = 0) {
  arguments_outil a;
  a.outil = outil;
  a.largeur_base_debut = base;
  a.largeur_base_fin = base / 2;
  a.largeur_sommet_debut = sommet;
  a.largeur_sommet_fin = sommet / 3;
  a.altitude_initiale_debut = bas;
  a.altitude_initiale_fin = bas / 2;
  a.altitude_finale_debut = haut;
  a.altitude_finale_fin = haut / 3;
  a.valeur = valeur;
  a.coefficient_debut = coef_debut;
  a.coefficient_fin = coef_fin;
  return a;
}

std::vector<std::pair<int, int>> diagonale(int i, int j, int pas, int nombre) {
  std::vector<std::pair<int, int>> t;
  for (int k = 0; k < nombre; ++k) t.emplace_back(i + k * pas, j + k);
  return t;
}

}  // namespace

TEST(Exactness, ValleysOnGeneratedTerrains) {
  struct Cas {
    const char* nom;
    int degre;
    std::vector<parametres_vallee> suite;
    std::uint64_t attendu;
  };
  parametres_vallee erosion = vallee(400, 40, 60, 0, 40, 40);
  erosion.erosion = true;
  const Cas cas[] = {
      {"dig", 8, {vallee(200, 20, -300, 0, 60, 60)}, 0x83b56ed2cfedbc5full},
      {"wide dig", 8, {vallee(3000, 200, -800, 100, 90, 70)}, 0x85ef2754d533bc0bull},
      {"river only", 8, {vallee(200, 20, 0, 0, 100, 50)}, 0x0f815e5fccbb83ceull},
      {"rise", 8, {vallee(500, 40, 300, 0, 70, 120)}, 0x236d10f1eaab432cull},
      {"second river", 8, {vallee(200, 20, -300, 0, 60, 60), vallee(300, 30, -200, 0, 80, 40)}, 0x01da9564fb964084ull},
      {"click on a spring", 8, {vallee(200, 20, 0, 0, 60, 60), vallee(400, 30, -400, 0, 60, 60)}, 0x0da96552582ae900ull},
      {"on the rim", 8, {vallee(200, 20, -300, 0, 1, 50)}, 0x7c3769bb157e169dull},
      {"off the lattice", 8, {vallee(200, 20, -300, 0, 200, 200)}, 0x78677f660bf8fda0ull},
      {"erosion spring", 8, {erosion}, 0x8387fd6d06d133b1ull},
      {"degree ten", 10, {vallee(600, 60, -500, 0, 301, 257)}, 0x95ca5688cfd7a174ull},
      {"degree ten river", 10, {vallee(200, 20, 0, 0, 500, 300)}, 0xcfb0080dead9def0ull},
  };
  for (const Cas& c : cas) {
    EXPECT_EQ(hexa(vallees(c.degre, 4242, c.suite)), hexa(c.attendu)) << c.nom;
    const bool dehors = std::string(c.nom) == "off the lattice";
    EXPECT_EQ(vallees(c.degre, 4242, c.suite) == vallees(c.degre, 4242, {}), dehors) << c.nom;
  }
}

TEST(Exactness, ErosionOnAGeneratedTerrain) {
  struct Cas {
    std::int32_t W, G, P, i0, j0;
    std::uint64_t attendu;
  };
  const Cas cas[] = {
      {3000, 10, -50, 80, 80, 0x08d08f544219c0cdull},
      {6000, 30, -200, 60, 120, 0x7a6b3ed4d731cbe6ull},
      {2000, 5, 40, 30, 30, 0x5f1932a5055a9a13ull},
  };
  for (const Cas& c : cas) {
    arguments_outil a;
    a.outil = OUTIL_RUISSELLEMENT;
    a.largeur_base_debut = c.W;
    a.largeur_sommet_debut = c.G;
    a.altitude_finale_debut = c.P;
    EXPECT_EQ(hexa(traits(8, 4242, {{a, {{c.i0, c.j0}}}})), hexa(c.attendu)) << c.W << " " << c.G;
  }
}

TEST(Exactness, StrokeToolsOnGeneratedTerrains) {
  struct Cas {
    const char* nom;
    std::vector<Trait> suite;
    std::uint64_t attendu;
  };
  const int n = 129;  // degree 8
  std::vector<std::pair<int, int>> bord_i, bord_j, hypotenuse;
  for (int j = 1; j <= n; j += 3) bord_i.emplace_back(1, j);
  for (int i = 1; i <= n; i += 5) bord_j.emplace_back(i, 1);
  for (int i = 1; i <= n; i += 4) hypotenuse.emplace_back(i, n + 1 - i);
  const Cas cas[] = {
      {"shape linear", {{arguments(OUTIL_FORME, 1500, 300, 0, 900, 40, 50), diagonale(30, 40, 1, 30)}}, 0x20aa6b9635f72164ull},
      {"shape sine", {{arguments(OUTIL_FORME, 2500, 0, 200, -700, 80, -30), diagonale(50, 20, 2, 25)}}, 0x55258621c33e72e0ull},
      {"shape one node", {{arguments(OUTIL_FORME, 1000, 100, 0, 600, -60, 10), {{64, 64}}}}, 0xbee79d043099925dull},
      {"cone", {{arguments(OUTIL_CONE, 2000, 200, 0, 800, 0, 30, 60), ligne_j(60, 20, 90)}}, 0x49c164b54379a0e8ull},
      {"cone one node", {{arguments(OUTIL_CONE, 3000, 0, 0, 1500, 0, 45, 45), {{50, 50}}}}, 0xaeb5a24b70819fa2ull},
      {"pass", {{arguments(OUTIL_COL, 2000, 0, 0, 700, 10), diagonale(20, 30, 1, 50)}}, 0x87619698229b43c0ull},
      {"pass one node", {{arguments(OUTIL_COL, 2000, 0, 0, 700, 10), {{40, 40}}}}, 0x4b57718b88d4a1f8ull},
      {"road", {{arguments(OUTIL_ROUTE, 0, 300, 0, 0, 20), diagonale(25, 25, 2, 30)}}, 0x66f5d469fcfc316full},
      {"path", {{arguments(OUTIL_ROUTE, 0, 150, 0, 0, -50), ligne_j(70, 10, 100)}}, 0xa87df1fc4c04fd2eull},
      {"road one node", {{arguments(OUTIL_ROUTE, 0, 300, 0, 0, 20), {{70, 30}}}}, 0xb5309e31b5d234bcull},
      {"shape along the i edge", {{arguments(OUTIL_FORME, 2000, 200, 0, 500, 30, 40), bord_i}}, 0x9aa51761220f9317ull},
      {"road along the j edge", {{arguments(OUTIL_ROUTE, 0, 400, 0, 0, 30), bord_j}}, 0xe7310fbdd76aaff3ull},
      {"cone along the hypotenuse", {{arguments(OUTIL_CONE, 1500, 100, 0, 900, 0, 20, 70), hypotenuse}}, 0x67745afbba405724ull},
      {"shape then road",
       {{arguments(OUTIL_FORME, 1500, 300, 0, 900, 40, 50), diagonale(30, 40, 1, 30)},
        {arguments(OUTIL_ROUTE, 0, 300, 0, 0, 20), ligne_j(45, 20, 80)}},
       0xd3bbf1192304cfc4ull},
  };
  for (const Cas& c : cas) EXPECT_EQ(hexa(traits(8, 4242, c.suite)), hexa(c.attendu)) << c.nom;
}

// The stroke sweep as Valley drives it, with both nearest-node searches.
TEST(Exactness, ValleyStrokeSweep) {
  const std::uint64_t attendus[] = {0x0f617dae5cbc2c50ull, 0x3604237233a3a790ull, 0x0f617dae5cbc2c50ull, 0x3604237233a3a790ull};
  int q = 0;
  for (bool simple : {false, true})
    for (int degre : {7, 10}) {
      auto t = generer(degre, 999);
      const int n = t->n;
      t->debut_trace(n / 4, n / 3);
      for (int k = 1; k < n / 3; ++k) t->lire_trace(n / 4 + k, n / 3 + (k % 3 == 0 ? 1 : 0));
      parametres_trace p;
      p.outil = OUTIL_VALLEE;
      p.largeur_base_debut = 900;
      p.largeur_base_fin = 20;
      p.largeur_sommet_debut = 120;
      p.largeur_sommet_fin = 2;
      p.altitude_initiale_debut = 300;
      p.altitude_initiale_fin = 800;
      p.altitude_finale_debut = -100;
      p.altitude_finale_fin = 600;
      p.recherche_simple = simple;
      controle_outil c;
      outil_trace(*t, p, c);
      t->fin_trace();
      EXPECT_EQ(hexa(empreinte_outil(*t, c, 0)), hexa(attendus[q])) << "simple " << simple << " degree " << degre;
      ++q;
    }
}
