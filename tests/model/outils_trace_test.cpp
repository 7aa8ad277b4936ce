#include "model/outils_trace.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/aleatoire.h"
#include "tests/model/outils_support.h"

namespace {

arguments_outil forme(std::int32_t outil, std::int32_t base, std::int32_t finale, std::int32_t initiale) {
  arguments_outil a;
  a.outil = outil;
  a.largeur_base_debut = a.largeur_base_fin = base;
  a.altitude_finale_debut = a.altitude_finale_fin = finale;
  a.altitude_initiale_debut = a.altitude_initiale_fin = initiale;
  return a;
}

}  // namespace

TEST(OutilTrace, ShapeClickLinearAndSinusoidalProfiles) {
  const std::pair<std::pair<int, int>, std::pair<int, int>> attendus[] = {
      {{40, 44}, {206, 233}}, {{36, 42}, {216, 245}}, {{40, 52}, {19, 3}}};
  for (int coefficient : {1, -1}) {
    auto m = terrain_plat(7, 0);
    arguments_outil a = forme(OUTIL_FORME, 800, 300, 0);
    a.coefficient_debut = coefficient;
    ScopedFakeUserInterface ui;
    appliquer(*m, a, {{40, 40}});
    EXPECT_TRUE(ui.entries.empty());
    EXPECT_EQ(m->hauteurs->lire(40, 40), 300);
    for (const auto& [noeud, valeurs] : attendus)
      EXPECT_EQ(m->hauteurs->lire(noeud.first, noeud.second), coefficient > 0 ? valeurs.first : valeurs.second)
          << noeud.first << "," << noeud.second << " coefficient " << coefficient;
    EXPECT_EQ(m->hauteurs->lire(40, 53), 0);
    for (int i = 2; i < m->n; ++i)
      for (int j = 2; i + j < m->n + 1; ++j)
        if (i < 13 || i > 67 || j < 13 || j > 67) {
          ASSERT_EQ(m->hauteurs->lire(i, j), 0) << i << "," << j;
        }
  }
}

TEST(OutilTrace, ConeFillsUpToItsSlopeAndNeverLowers) {
  auto m = terrain_plat(7, 0);
  arguments_outil a = forme(OUTIL_CONE, 800, 300, 0);
  a.coefficient_debut = a.coefficient_fin = 45;
  appliquer(*m, a, {{40, 40}});
  EXPECT_EQ(m->hauteurs->lire(40, 40), 300);
  EXPECT_EQ(m->hauteurs->lire(40, 44), 50);
  EXPECT_EQ(m->hauteurs->lire(36, 42), 75);
  EXPECT_EQ(m->hauteurs->lire(44, 40), 43);
  EXPECT_EQ(m->hauteurs->lire(40, 52), 0);

  auto v = terrain_vallonne(7, false);
  const auto avant = hauteurs_de(*v);
  arguments_outil b = forme(OUTIL_CONE, 2000, 200, 0);
  b.coefficient_debut = 30;
  b.coefficient_fin = 60;
  appliquer(*v, b, ligne_j(50, 20, 60));
  const auto apres = hauteurs_de(*v);
  bool change = false;
  for (std::size_t k = 0; k < avant.size(); ++k) {
    // The rim is laid again by the dispatcher; everything else only rises.
    if (avant[k] == -1000) continue;
    ASSERT_GE(apres[k], avant[k]);
    change |= apres[k] != avant[k];
  }
  EXPECT_TRUE(change);
}

TEST(OutilTrace, VerticalConeIsReportedOnce) {
  auto m = terrain_plat(7, 0);
  arguments_outil a = forme(OUTIL_CONE, 800, 300, 0);
  a.coefficient_debut = a.coefficient_fin = 90;
  ScopedFakeUserInterface ui;
  appliquer(*m, a, {{40, 40}});
  ASSERT_EQ(ui.entries.size(), 1u);
  EXPECT_EQ(ui.entries[0].text, "Error during the modification of the mountain !");
}

TEST(OutilTrace, StrokeInterpolatesFromEndToStart) {
  auto m = terrain_plat(7, 0);
  arguments_outil a = forme(OUTIL_FORME, 800, 0, 0);
  a.altitude_finale_debut = 400;
  appliquer(*m, a, ligne_j(40, 30, 50));
  for (int k = 0; k <= 20; ++k) EXPECT_EQ(m->hauteurs->lire(40, 30 + k), 20 * k) << k;
}

TEST(OutilTrace, PassFadesTowardsBothEnds) {
  auto m = terrain_plat(7, 0);
  arguments_outil a = forme(OUTIL_COL, 800, 200, 0);
  appliquer(*m, a, ligne_j(40, 38, 42));
  EXPECT_EQ(m->hauteurs->lire(40, 40), 200);
  EXPECT_EQ(m->hauteurs->lire(40, 39), 100);
  EXPECT_EQ(m->hauteurs->lire(40, 41), 100);
  EXPECT_EQ(m->hauteurs->lire(40, 38), 0);
  EXPECT_EQ(m->hauteurs->lire(40, 42), 0);

  // A single node has no saddle: nothing changes, but the area is set.
  auto u = terrain_plat(7, 0);
  const auto avant = hauteurs_de(*u);
  appliquer(*u, a, {{60, 30}});
  EXPECT_EQ(hauteurs_de(*u), avant);
  EXPECT_LE(u->zone_modifiee[0], 60);
  EXPECT_GE(u->zone_modifiee[1], 60);
  EXPECT_LE(u->zone_modifiee[2], 30);
  EXPECT_GE(u->zone_modifiee[3], 30);
}

TEST(OutilTrace, RoadSmoothsItsProfileAndPavesIt) {
  for (int valeur : {40, -50}) {
    auto m = terrain_plat(7, 100);
    m->hauteurs->ecrire(40, 45, 300);
    arguments_outil a;
    a.outil = OUTIL_ROUTE;
    a.largeur_sommet_debut = 80;
    a.valeur = valeur;
    appliquer(*m, a, ligne_j(40, 40, 50));
    if (valeur == 40) {
      EXPECT_EQ(m->hauteurs->lire(40, 45), 200);
      EXPECT_EQ(m->hauteurs->lire(40, 43), 150);
      EXPECT_EQ(m->hauteurs->lire(40, 47), 150);
      for (int j : {40, 41, 42, 44, 46, 48, 49, 50}) EXPECT_EQ(m->hauteurs->lire(40, j), 100) << j;
    } else {
      EXPECT_EQ(m->hauteurs->lire(40, 45), 300);
    }
    ASSERT_EQ(m->nombre_elements, 11);
    for (int k = 0; k < 11; ++k) {
      EXPECT_EQ(m->liste_i[k], 40);
      EXPECT_EQ(m->liste_j[k], 40 + k);
      EXPECT_EQ(m->liste_type[k], valeur == 40 ? 33 : 35);
      EXPECT_EQ(m->liste_attribut[k], 2);
    }
  }
  auto plat = terrain_plat(7, 100);
  const auto avant = hauteurs_de(*plat);
  arguments_outil a;
  a.outil = OUTIL_ROUTE;
  a.largeur_sommet_debut = 80;
  a.valeur = 40;
  appliquer(*plat, a, ligne_j(40, 40, 50));
  EXPECT_EQ(hauteurs_de(*plat), avant);
}

TEST(OutilTrace, ShapePushesDistortionInsideItsBaseOnly) {
  for (int valeur : {100, 0}) {
    auto m = terrain_plat(7, 0, true);
    arguments_outil a = forme(OUTIL_FORME, 1600, 300, 0);
    a.coefficient_debut = 1;
    a.valeur = valeur;
    appliquer(*m, a, ligne_j(50, 30, 40));
    const double rB = 128 * 1600 * 0.002 * 0.0625;
    bool pousse = false;
    for (int i = 1; i <= m->n; ++i)
      for (int j = 1; i + j <= m->n + 1; ++j) {
        int bx = m->dx->lire(i, j), by = m->dy->lire(i, j);
        if (bx == 128 && by == 128) continue;
        pousse = true;
        ASSERT_NE(valeur, 0) << "no push with strength 0";
        double d = 10000;
        for (int k = 30; k <= 40; ++k) d = std::min(d, distance_noeuds(i, j, 50, k));
        EXPECT_LT(d, rB) << i << "," << j;
      }
    EXPECT_EQ(pousse, valeur != 0);
  }
}

TEST(OutilTrace, GridSearchMatchesThePlainSearch) {
  set_seed(4242);
  for (int essai = 0; essai < 200; ++essai) {
    const std::int32_t codes[] = {OUTIL_FORME, OUTIL_CONE, OUTIL_COL, OUTIL_ROUTE};
    parametres_trace p;
    arguments_outil a;
    a.outil = codes[essai % 4];
    a.largeur_base_debut = 1 + static_cast<std::int32_t>(Random(500));
    a.largeur_base_fin = 1 + static_cast<std::int32_t>(Random(500));
    a.largeur_sommet_debut = static_cast<std::int32_t>(Random(400));
    a.largeur_sommet_fin = static_cast<std::int32_t>(Random(400));
    a.altitude_finale_debut = static_cast<std::int32_t>(Random(800)) - 200;
    a.altitude_finale_fin = static_cast<std::int32_t>(Random(800)) - 200;
    a.coefficient_debut = static_cast<std::int32_t>(Random(100)) - 50;
    a.coefficient_fin = static_cast<std::int32_t>(Random(100)) - 50;
    a.valeur = static_cast<std::int32_t>(Random(80));
    // A stroke of 1 to 300 nodes; some revisit nodes and so have equidistant candidates.
    std::vector<point_trace> trace;
    int i = 40 + static_cast<int>(Random(100)), j = 40 + static_cast<int>(Random(100));
    const int longueur = 1 + static_cast<int>(Random(300));
    for (int k = 0; k < longueur; ++k) {
      trace.push_back({static_cast<std::uint16_t>(i), static_cast<std::uint16_t>(j)});
      int pas = static_cast<int>(Random(essai % 3 == 0 ? 2 : 4));
      if (pas == 0) i = std::clamp(i + 1, 10, 200);
      else if (pas == 1) j = std::clamp(j + 1, 10, 200);
      else if (pas == 2) i = std::clamp(i - 1, 10, 200);
      else j = std::clamp(j - 1, 10, 200);
    }
    std::unique_ptr<Tmatrice> resultats[2];
    for (int simple = 0; simple < 2; ++simple) {
      auto m = terrain_vallonne(8);
      m->trace = trace;
      m->dernier_point = static_cast<std::int32_t>(trace.size()) - 1;
      arguments_outil copie = a;
      p = parametres_outil_trace(copie);
      p.recherche_simple = simple == 1;
      controle_outil c;
      try {
        outil_trace(*m, p, c);
      } catch (const ModelError&) {
      }
      resultats[simple] = std::move(m);
    }
    ASSERT_EQ(hauteurs_de(*resultats[0]), hauteurs_de(*resultats[1])) << "stroke " << essai;
    for (int ii = 1; ii <= resultats[0]->n; ++ii)
      for (int jj = 1; ii + jj <= resultats[0]->n + 1; ++jj) {
        ASSERT_EQ(resultats[0]->dx->lire(ii, jj), resultats[1]->dx->lire(ii, jj));
        ASSERT_EQ(resultats[0]->dy->lire(ii, jj), resultats[1]->dy->lire(ii, jj));
      }
  }
}

TEST(OutilTrace, CancelKeepsWhatWasDoneInsideTheChangedArea) {
  auto m = terrain_plat(7, 0);
  m->marquer_modifiee();
  FenetreTest f;
  FakeProgress progression;
  // The rectangle is i0 +- 257 by j0 +- 257 (515 columns); rows below 1 lie
  // outside. Cancel when the sweep has reached row 40.
  progression.cancel_at((193 + 40) * 515, f.h);
  arguments_outil a = forme(OUTIL_FORME, 8000, 300, 0);
  a.coefficient_debut = 1;
  controle_outil c = appliquer(*m, a, {{64, 32}}, &progression, f.h);
  EXPECT_FALSE(c.continuer);
  int changes = 0;
  for (int i = 1; i <= m->n; ++i)
    for (int j = 1; i + j <= m->n + 1; ++j)
      if (m->hauteurs->lire(i, j) != 0 && m->hauteurs->lire(i, j) != -1000) {
        ++changes;
        EXPECT_TRUE(i >= m->zone_modifiee[0] && i <= m->zone_modifiee[1] && j >= m->zone_modifiee[2] &&
                    j <= m->zone_modifiee[3]);
      }
  EXPECT_GT(changes, 0);
  for (int i = 42; i <= m->n; ++i)
    for (int j = 2; i + j < m->n + 1; ++j) ASSERT_EQ(m->hauteurs->lire(i, j), 0) << i << "," << j;
}

TEST(OutilTrace, CaptionsAndSilentValleyDigging) {
  const std::pair<std::int32_t, const char*> legendes[] = {{OUTIL_FORME, "Distortion processing ..."},
                                                           {OUTIL_CONE, "Cone processing ...        "},
                                                           {OUTIL_COL, "Chain processing ...      "},
                                                           {OUTIL_ROUTE, "Road processing ...      "}};
  FenetreTest f;
  for (const auto& [code, texte] : legendes) {
    auto m = terrain_plat(7, 0);
    FakeProgress progression;
    arguments_outil a = forme(code, 400, 100, 0);
    a.largeur_sommet_debut = 40;
    appliquer(*m, a, ligne_j(40, 40, 44), &progression, f.h);
    ASSERT_FALSE(progression.captions().empty());
    EXPECT_EQ(progression.captions().front(), texte);
  }
  auto m = terrain_plat(7, 500);
  m->trace = {{40, 40}, {40, 41}, {40, 42}};
  m->dernier_point = 2;
  arguments_outil a = forme(OUTIL_VALLEE, 400, -100, 0);
  parametres_trace p = parametres_outil_trace(a);
  p.sans_legende = true;
  p.sans_pas = true;
  FakeProgress progression;
  controle_outil c;
  c.attente = &progression;
  c.fenetre = f.h;
  outil_trace(*m, p, c);
  EXPECT_EQ(progression.total_increment(), 0);
  for (const auto& appel : progression.calls) EXPECT_NE(appel.op, "avancer");
  EXPECT_GT(progression.tests(), 0);
  EXPECT_EQ(m->hauteurs->lire(40, 41), 400);
}

TEST(OutilTrace, ArgumentMappingOfEachStrokeTool) {
  arguments_outil a;
  a.largeur_base_debut = 1;
  a.largeur_base_fin = 2;
  a.largeur_sommet_debut = 3;
  a.largeur_sommet_fin = 4;
  a.coefficient_debut = 5;
  a.coefficient_fin = 6;
  a.altitude_finale_debut = 7;
  a.altitude_finale_fin = 8;
  a.altitude_initiale_debut = 9;
  a.altitude_initiale_fin = 10;
  a.valeur = 11;
  struct Ligne {
    std::int32_t outil;
    std::array<std::int32_t, 10> attendu;  // bases, sommets, finales, initiales, valeur, rapport
  };
  const Ligne lignes[] = {
      {OUTIL_FORME, {1, 2, 3, 4, 7, 8, 9, 10, 11, 5}},
      {OUTIL_VALLEE, {1, 2, 3, 4, 7, 8, 9, 10, 11, 5}},
      {OUTIL_CONE, {1, 2, 3, 4, 7, 8, 9, 10, 5, 6}},
      {OUTIL_COL, {1, 0, 1, 0, 7, 0, 9, 0, 11, 0}},
      {OUTIL_ROUTE, {4000, 0, 3, 0, 7, 0, 9, 0, 45, 45}},
  };
  for (const Ligne& l : lignes) {
    arguments_outil copie = a;
    copie.outil = l.outil;
    parametres_trace p = parametres_outil_trace(copie);
    std::array<std::int32_t, 10> obtenu{p.largeur_base_debut,   p.largeur_base_fin,      p.largeur_sommet_debut,
                                        p.largeur_sommet_fin,   p.altitude_finale_debut, p.altitude_finale_fin,
                                        p.altitude_initiale_debut, p.altitude_initiale_fin, p.valeur, p.rapport};
    EXPECT_EQ(obtenu, l.attendu) << "tool " << l.outil;
    EXPECT_EQ(p.outil, l.outil);
    EXPECT_EQ(p.valeur_appelant, &copie.valeur);
  }
}
