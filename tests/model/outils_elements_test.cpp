#include "model/outils_elements.h"

#include <gtest/gtest.h>

#include "model/aleatoire.h"
#include "model/presse_papier.h"
#include "tests/model/outils_support.h"

namespace {

arguments_outil outil(std::int32_t code) {
  arguments_outil a;
  a.outil = code;
  return a;
}

void ajouter(Tmatrice& m, int i, int j, int type, int attribut) {
  const auto e = static_cast<std::size_t>(m.nombre_elements++);
  m.liste_i[e] = static_cast<std::uint16_t>(i);
  m.liste_j[e] = static_cast<std::uint16_t>(j);
  m.liste_type[e] = static_cast<std::uint16_t>(type);
  m.liste_attribut[e] = static_cast<std::uint16_t>(attribut);
}

}  // namespace

TEST(OutilsElements, TreesArePlantedAlongTheStrokeWithValidBrushesOnly) {
  auto m = terrain_plat(7, 100);
  m->fixer_arbre_courant(5, 63);
  appliquer(*m, outil(OUTIL_ARBRE), {{30, 40}});
  ASSERT_EQ(m->nombre_elements, 1);
  EXPECT_EQ(m->liste_i[0], 30);
  EXPECT_EQ(m->liste_j[0], 40);
  EXPECT_EQ(m->liste_type[0], 15);
  EXPECT_EQ(m->liste_attribut[0], 63);
  EXPECT_EQ(m->especes_presentes[5], 1);

  appliquer(*m, outil(OUTIL_ARBRE), ligne_j(30, 38, 42));  // also over the tree already there
  EXPECT_EQ(m->nombre_elements, 6);

  for (auto [espece, taille] : {std::pair{7, 10}, std::pair{5, 0}, std::pair{0, 10}, std::pair{6, 64}}) {
    m->fixer_arbre_courant(static_cast<std::uint16_t>(espece), static_cast<std::uint16_t>(taille));
    appliquer(*m, outil(OUTIL_ARBRE), {{50, 50}});
    EXPECT_EQ(m->nombre_elements, 6) << espece << "/" << taille;
  }
  EXPECT_EQ(m->especes_presentes[6], 0);
}

TEST(OutilsElements, ErasersClearTheirClassNearTheStroke) {
  auto m = terrain_plat(7, 100);
  ajouter(*m, 40, 40, 12, 20);  // tree on the stroke
  ajouter(*m, 43, 50, 13, 20);  // tree 3 rows away from (40, 50)
  ajouter(*m, 44, 45, 14, 20);  // tree 4 rows away: stays
  ajouter(*m, 40, 46, 31, 2);   // ground of two kinds near the stroke
  ajouter(*m, 37, 52, 35, 8);
  ajouter(*m, 40, 45, 1, 1);    // a river spring: never touched by these
  appliquer(*m, outil(OUTIL_GOMME_ARBRE), ligne_j(40, 40, 50));
  EXPECT_EQ(m->nombre_elements, 6);
  EXPECT_EQ(m->liste_type[0], 0);
  EXPECT_EQ(m->liste_type[1], 0);
  EXPECT_EQ(m->liste_type[2], 14);
  EXPECT_EQ(m->liste_type[3], 31);
  EXPECT_EQ(m->liste_type[4], 35);
  appliquer(*m, outil(OUTIL_GOMME_SOL), ligne_j(40, 40, 50));
  EXPECT_EQ(m->liste_type[3], 0);
  EXPECT_EQ(m->liste_type[4], 0);
  EXPECT_EQ(m->liste_type[5], 1);
  EXPECT_EQ(m->nombre_elements, 6);
}

TEST(OutilsElements, DeleteRiverTakesTheRunOfTheLastSpringNearby) {
  auto m = terrain_plat(7, 100);
  ajouter(*m, 40, 40, 1, 1);  // first river
  ajouter(*m, 41, 40, 1, 3);
  ajouter(*m, 42, 41, 1, 7);  // wide: its bed spans 3 nodes around
  ajouter(*m, 41, 42, 1, 1);  // second river, listed last, also near the click
  ajouter(*m, 42, 43, 1, 4);
  ajouter(*m, 60, 60, 12, 30);  // a tree inside the run survives
  ajouter(*m, 43, 44, 1, 5);
  ajouter(*m, 70, 70, 1, 1);  // a third spring ends the run
  ajouter(*m, 71, 70, 1, 3);
  m->marquer_modifiee();
  appliquer(*m, outil(OUTIL_GOMME_RIVIERE), {{41, 41}});
  const int attendu[] = {1, 1, 1, 0, 0, 12, 0, 1, 1};
  for (int e = 0; e < 9; ++e) EXPECT_EQ(m->liste_type[e], attendu[e]) << e;
  // The run's entries, with their bed, lie in the changed area.
  EXPECT_LE(m->zone_modifiee[0], 41 - 2);
  EXPECT_GE(m->zone_modifiee[1], 43 + 2);
  appliquer(*m, outil(OUTIL_GOMME_RIVIERE), {{41, 41}});
  EXPECT_EQ(m->liste_type[0], 0);
  EXPECT_EQ(m->liste_type[1], 0);
  EXPECT_EQ(m->liste_type[2], 0);
}

TEST(OutilsElements, TargetAndObserverTakeTheClickedNode) {
  auto m = terrain_plat(7, 100);
  m->hauteurs->ecrire(129, 1, 250);  // outside the rim rule's reach of the tool
  appliquer(*m, outil(OUTIL_CIBLE), {{129, 1}});
  EXPECT_EQ(m->cible_i, 129);
  EXPECT_EQ(m->cible_j, 1);
  EXPECT_DOUBLE_EQ(m->cible.x, 1.0);
  EXPECT_DOUBLE_EQ(m->cible.y, 1.0 / 129);
  EXPECT_DOUBLE_EQ(m->cible.px, 0.894427);
  EXPECT_DOUBLE_EQ(m->cible.py, 0.4472135 + 1.0 / 129);
  EXPECT_EQ(m->cible.hauteur, m->hauteurs->lire(129, 1));
  appliquer(*m, outil(OUTIL_OBSERVATEUR), {{20, 30}});
  EXPECT_EQ(m->observateur_i, 20);
  EXPECT_EQ(m->observateur_j, 30);
  EXPECT_EQ(m->observateur.hauteur, 100);
}

TEST(OutilsElements, FullListIsCutWithOneMessage) {
  struct Cas {
    std::int32_t code;
    const char* legende;
  };
  for (Cas cas : {Cas{OUTIL_ARBRE, "Trees "}, Cas{OUTIL_COULEUR, "Ground "}}) {
    for (int longueur : {4, 5}) {
      auto m = terrain_plat(4, 100);
      ASSERT_EQ(m->capacite_liste, 545);
      while (m->nombre_elements < 542) ajouter(*m, 5, 5, 11, 10);
      m->fixer_sol_courant(2, 4);
      ScopedFakeUserInterface ui;
      appliquer(*m, outil(cas.code), ligne_j(5, 3, 3 + longueur - 1));
      EXPECT_EQ(m->nombre_elements, 542);
      ASSERT_EQ(ui.entries.size(), 1u);
      EXPECT_EQ(ui.entries[0].text, "Maximum reached! Delete trees or rivers or ground !");
      EXPECT_EQ(ui.entries[0].caption, cas.legende);
    }
    auto m = terrain_plat(4, 100);
    while (m->nombre_elements < 540) ajouter(*m, 5, 5, 11, 10);
    ScopedFakeUserInterface ui;
    appliquer(*m, outil(cas.code), {{6, 6}});
    EXPECT_EQ(m->nombre_elements, 541);
    EXPECT_TRUE(ui.entries.empty());
  }
  auto m = terrain_plat(4, 100);
  while (m->nombre_elements < 544) ajouter(*m, 5, 5, 11, 10);
  arguments_outil a = outil(OUTIL_ROUTE);
  a.largeur_sommet_debut = 40;
  a.valeur = 20;
  appliquer(*m, a, {{6, 6}, {6, 7}});
  EXPECT_EQ(m->nombre_elements, 544);
  appliquer(*m, a, ligne_j(6, 4, 9));
  EXPECT_EQ(m->nombre_elements, 544);
}

TEST(PressePapier, CopyAndPasteScaleTheRelief) {
  struct Attendu {
    int force;
    std::vector<std::pair<std::pair<int, int>, int>> noeuds;
  };
  const Attendu cas[] = {
      {1000, {{{40, 47}, 700}, {{44, 40}, 700}, {{40, 48}, 495}, {{40, 51}, 400}}},
      {500, {{{40, 47}, 550}, {{40, 48}, 448}}},
      {-1000, {{{40, 47}, 100}, {{40, 48}, 305}}},
  };
  for (const Attendu& c : cas) {
    auto m = terrain_plat(7, 400);
    arguments_outil copier = outil(OUTIL_COPIER);
    copier.largeur_base_debut = 800;
    copier.altitude_initiale_debut = 100;
    appliquer(*m, copier, {{40, 40}});
    EXPECT_EQ(m->niveau_presse_papier, 800);
    EXPECT_EQ(m->hauteurs->lire(40, 40), 400);
    arguments_outil coller = outil(OUTIL_COLLER);
    coller.largeur_base_debut = 800;
    coller.valeur = c.force;
    appliquer(*m, coller, {{40, 40}});
    for (const auto& [noeud, h] : c.noeuds)
      EXPECT_EQ(m->hauteurs->lire(noeud.first, noeud.second), h) << c.force << " at " << noeud.first << ","
                                                                   << noeud.second;
    if (c.force == 1000) {
      appliquer(*m, coller, {{60, 30}});
      EXPECT_EQ(m->hauteurs->lire(60, 30), 700);
    }
  }
}

TEST(PressePapier, WideCopyKeepsItsFarPart) {
  auto m = terrain_plat(7, 400);
  arguments_outil copier = outil(OUTIL_COPIER);
  copier.largeur_base_debut = 4000;
  copier.altitude_initiale_debut = 100;
  appliquer(*m, copier, {{40, 40}});
  arguments_outil coller = outil(OUTIL_COLLER);
  coller.largeur_base_debut = 4000;
  coller.valeur = 1000;
  appliquer(*m, coller, {{40, 40}});
  EXPECT_EQ(m->hauteurs->lire(60, 60), 700);
}

TEST(PressePapier, EdgesEmptyClipboardAndSize) {
  auto m = terrain_plat(7, 500);
  arguments_outil copier = outil(OUTIL_COPIER);
  copier.largeur_base_debut = 8000;
  copier.altitude_initiale_debut = 500;
  appliquer(*m, copier, {{64, 32}});
  const auto avant = hauteurs_de(*m);
  for (int force : {500, -1000}) {
    arguments_outil coller = outil(OUTIL_COLLER);
    coller.largeur_base_debut = 8000;
    coller.valeur = force;
    appliquer(*m, coller, {{10, 10}});
    EXPECT_EQ(hauteurs_de(*m), avant) << force;
  }

  auto vide = terrain_plat(7, 500);
  ScopedFakeUserInterface ui;
  arguments_outil coller = outil(OUTIL_COLLER);
  coller.largeur_base_debut = 800;
  coller.valeur = 1000;
  const auto avant_vide = hauteurs_de(*vide);
  appliquer(*vide, coller, {{40, 40}});
  EXPECT_EQ(hauteurs_de(*vide), avant_vide);
  EXPECT_TRUE(ui.entries.empty());

  // Edges of the lattice are never copied.
  auto v = terrain_vallonne(7, false);
  arguments_outil tout = outil(OUTIL_COPIER);
  tout.largeur_base_debut = 8000;
  tout.altitude_initiale_debut = -3000;
  appliquer(*v, tout, {{64, 32}});
  const presse_papier_relief& pp = *v->presse_papier;
  const int i_min = v->zone_outil[0], j_min = v->zone_outil[2];
  for (int i = 1; i <= v->n; ++i)
    for (int j = 1; i + j <= v->n + 1; ++j) {
      const bool bord = i == 1 || j == 1 || i == v->n - 1 || j == v->n - 1 || i + j >= v->n;
      if (bord) {
        EXPECT_EQ(pp.lire(i - i_min, j - j_min), 0) << i << "," << j;
      }
    }

  arguments_outil petit = outil(OUTIL_COPIER);
  petit.largeur_base_debut = 1200;
  appliquer(*v, petit, {{40, 40}});
  EXPECT_EQ(v->niveau_presse_papier, 1200);
}

namespace {

struct Entree {
  std::uint16_t i, j, type, attribut;
  bool operator==(const Entree&) const = default;
};

std::vector<Entree> liste_de(const Tmatrice& m) {
  std::vector<Entree> l;
  for (int e = 0; e < m.capacite_liste; ++e) l.push_back({m.liste_i[e], m.liste_j[e], m.liste_type[e], m.liste_attribut[e]});
  return l;
}

int empreinte(const Tmatrice& m, const Entree& e) {
  if (e.type == 1) return e.attribut > 4 ? e.attribut - 4 : 0;
  if (e.type > 30 && e.type < 40) return Round(e.attribut * (m.n - 1) * 0.002);
  return 0;
}

// Checks that every changed node and the footprint of every changed entry lie
// in the changed area.
void verifier_zone(int degre, const arguments_outil& a, const std::vector<std::pair<int, int>>& trace) {
  auto m = terrain_vallonne(degre);
  set_seed(99);
  for (int k = 0; k < 300; ++k) {
    const int i = 3 + static_cast<int>(Random(static_cast<std::uint32_t>(m->n / 2)));
    const int j = 3 + static_cast<int>(Random(static_cast<std::uint32_t>(m->n / 3)));
    const std::uint32_t sorte = Random(3);
    if (sorte == 0) ajouter(*m, i, j, 1, k % 10 == 0 ? 1 : 1 + static_cast<int>(Random(10)));
    if (sorte == 1) ajouter(*m, i, j, 11 + static_cast<int>(Random(6)), 30);
    if (sorte == 2) ajouter(*m, i, j, 31 + static_cast<int>(Random(5)), 1 + static_cast<int>(Random(8)));
  }
  // Features right beside the stroke, at the edge of the erasers' reach.
  for (std::size_t k = 0; k < trace.size(); k += 3) {
    const auto [i, j] = trace[k];
    ajouter(*m, i + 3, j, 31 + static_cast<int>(k % 5), 8);
    ajouter(*m, i - 3, j + 1, 12, 20);
    ajouter(*m, i, j + 3, 1, k == 0 ? 1 : 9);
  }
  m->fixer_sol_courant(3, 8);
  m->fixer_arbre_courant(6, 40);
  // The area starts empty, so that it holds exactly what the tool reports.
  m->marquer_modifiee();
  const auto h_avant = hauteurs_de(*m);
  std::vector<std::uint8_t> dx_avant, dy_avant;
  for (int i = 0; i <= m->n + 1; ++i)
    for (int j = 0; j <= m->n + 1; ++j) {
      dx_avant.push_back(m->dx->lire(i, j));
      dy_avant.push_back(m->dy->lire(i, j));
    }
  const auto l_avant = liste_de(*m);
  appliquer(*m, a, trace);
  const auto& z = m->zone_modifiee;
  auto dedans = [&](int i, int j) { return i >= z[0] && i <= z[1] && j >= z[2] && j <= z[3]; };
  const auto h_apres = hauteurs_de(*m);
  std::size_t k = 0;
  for (int i = 0; i <= m->n + 1; ++i)
    for (int j = 0; j <= m->n + 1; ++j, ++k) {
      const bool rim = i == 1 || j == 1 || i + j == m->n + 1;
      if (rim) continue;  // laid again by the dispatcher, never drawn as land
      if (h_apres[k] != h_avant[k] || m->dx->lire(i, j) != dx_avant[k] || m->dy->lire(i, j) != dy_avant[k]) {
        ASSERT_TRUE(dedans(i, j)) << "tool " << a.outil << " changed " << i << "," << j;
      }
    }
  const auto l_apres = liste_de(*m);
  for (std::size_t e = 0; e < l_apres.size(); ++e) {
    if (l_apres[e] == l_avant[e]) continue;
    for (const Entree& x : {l_avant[e], l_apres[e]}) {
      if (x.type == 0) continue;
      const int r = empreinte(*m, x) + 1;
      ASSERT_TRUE(dedans(x.i - r, x.j - r) && dedans(x.i + r, x.j + r))
          << "tool " << a.outil << " entry " << e << " at " << x.i << "," << x.j;
    }
  }
}

}  // namespace

TEST(OutilsElements, EveryChangeLiesInTheChangedArea) {
  auto trait = ligne_j(30, 20, 45);
  std::vector<arguments_outil> outils;
  for (std::int32_t code : {OUTIL_FORME, OUTIL_CONE, OUTIL_COL, OUTIL_ROUTE, OUTIL_COULEUR, OUTIL_ARBRE, OUTIL_CIBLE,
                            OUTIL_OBSERVATEUR, OUTIL_GOMME_ARBRE, OUTIL_GOMME_RIVIERE, OUTIL_GOMME_SOL, OUTIL_COPIER,
                            OUTIL_COLLER}) {
    arguments_outil a;
    a.outil = code;
    a.largeur_base_debut = a.largeur_base_fin = 900;
    a.largeur_sommet_debut = a.largeur_sommet_fin = 100;
    a.coefficient_debut = a.coefficient_fin = 30;
    a.altitude_finale_debut = a.altitude_finale_fin = 250;
    a.valeur = code == OUTIL_COLLER ? 700 : 60;
    outils.push_back(a);
  }
  for (const arguments_outil& a : outils) {
    verifier_zone(7, a, trait);
    verifier_zone(7, a, {{40, 30}});
  }
  for (std::int32_t code : {OUTIL_COULEUR, OUTIL_GOMME_SOL}) {
    arguments_outil a;
    a.outil = code;
    verifier_zone(11, a, ligne_j(300, 200, 230));
  }
}
