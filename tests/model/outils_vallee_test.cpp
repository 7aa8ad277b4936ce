#include "model/outils_vallee.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <tuple>
#include <vector>

#include "model/aleatoire.h"
#include "tests/model/outils_support.h"
#include "tests/support/terrains.h"

namespace {

// A terrain whose interior follows a formula, the rim at -1000.
std::unique_ptr<Tmatrice> terrain_formule(int degre, const std::function<std::int32_t(int, int)>& f) {
  auto m = terrain_plat(degre, 0);
  for (int i = 2; i < m->n; ++i)
    for (int j = 2; i + j < m->n + 1; ++j) m->hauteurs->ecrire(i, j, f(i, j));
  m->marquer_modifiee();
  return m;
}

std::unique_ptr<Tmatrice> genere(int degre, std::int32_t cle) {
  param_mat p = parametres_test(degre);
  p.cle = cle;
  return terrain_genere(p);
}

arguments_outil vallee(std::int32_t W, std::int32_t V, std::int32_t F, std::int32_t I) {
  arguments_outil a;
  a.outil = OUTIL_VALLEE;
  a.largeur_base_debut = W;
  a.largeur_sommet_debut = V;
  a.altitude_finale_debut = F;
  a.altitude_initiale_debut = I;
  return a;
}

arguments_outil erosion(std::int32_t W, std::int32_t G, std::int32_t P) {
  arguments_outil a;
  a.outil = OUTIL_RUISSELLEMENT;
  a.largeur_base_debut = W;
  a.largeur_sommet_debut = G;
  a.altitude_finale_debut = P;
  return a;
}

// One click of the map editor: a one-node stroke, a progress window, the
// message box and both map pictures recorded. The trace stays for inspection.
struct Clic {
  FenetreTest fenetre;
  FakeProgress attente;
  ScopedFakeUserInterface ui;
  RecordingMapCanvas carte_1, carte_2;
  controle_outil c;

  void lancer(Tmatrice& m, const arguments_outil& a, int i0, int j0, bool progression = true) {
    m.debut_trace(i0, j0);
    c = controle_outil{};
    if (progression) {
      c.attente = &attente;
      c.fenetre = fenetre.h;
    }
    c.carte_1 = &carte_1;
    c.carte_2 = &carte_2;
    m.modifier(a, c);
  }
};

struct Entree {
  int i, j, type, attribut;
  bool operator==(const Entree&) const = default;
};

std::vector<Entree> entrees(const Tmatrice& m, int de, int a) {
  std::vector<Entree> v;
  for (int k = de; k < a; ++k)
    v.push_back({m.liste_i[k], m.liste_j[k], m.liste_type[k], m.liste_attribut[k]});
  return v;
}

int compter(const RecordingMapCanvas& c, char genre) {
  int total = 0;
  for (const auto& o : c.ops) total += o.kind == genre;
  return total;
}

bool dans_zone(const Tmatrice& m, int i, int j) {
  const auto& z = m.zone_modifiee;
  return i >= z[0] && i <= z[1] && j >= z[2] && j <= z[3];
}

// Every node whose height differs lies inside the changed area.
void verifier_changements(const Tmatrice& m, const std::vector<std::int32_t>& avant) {
  const auto apres = hauteurs_de(m);
  std::size_t k = 0;
  for (int i = 0; i <= m.n + 1; ++i)
    for (int j = 0; j <= m.n + 1; ++j, ++k)
      if (avant[k] != apres[k]) {
        ASSERT_TRUE(dans_zone(m, i, j)) << "changed node " << i << "," << j << " outside the changed area";
      }
}

// The footprint square of every counted river entry, on the lattice, lies
// inside the changed area.
void verifier_empreintes(const Tmatrice& m) {
  for (int k = 0; k < m.nombre_elements; ++k) {
    if (m.liste_type[k] != TYPE_RIVIERE) continue;
    const int r = (m.liste_attribut[k] > 4 ? m.liste_attribut[k] - 4 : 0) + 1;
    const int i = m.liste_i[k], j = m.liste_j[k];
    for (int a : {std::max(1, i - r), std::min(m.n, i + r)})
      for (int b : {std::max(1, j - r), std::min(m.n, j + r)}) ASSERT_TRUE(dans_zone(m, a, b)) << "entry " << k;
  }
}

// Consecutive points of every river of the list differ by at most one node
// in i and in j.
void verifier_continuite(const Tmatrice& m, int de, int a) {
  for (int k = de + 1; k < a; ++k) {
    if (m.liste_type[k] != TYPE_RIVIERE || m.liste_attribut[k] == 1) continue;
    ASSERT_LE(std::abs(m.liste_i[k] - m.liste_i[k - 1]), 1) << "entry " << k;
    ASSERT_LE(std::abs(m.liste_j[k] - m.liste_j[k - 1]), 1) << "entry " << k;
  }
}

std::int32_t plan_i(int i, int) { return 1000 - 10 * i; }

}  // namespace

TEST(Vallee, RiverOnlyDownAPlane) {
  auto m = terrain_formule(7, plan_i);
  const auto avant = hauteurs_de(*m);
  Clic clic;
  clic.lancer(*m, vallee(200, 20, 0, 0), 10, 40);

  ASSERT_EQ(m->nombre_elements, 76);
  for (int k = 0; k < 76; ++k) {
    EXPECT_EQ(m->liste_i[k], 10 + k);
    EXPECT_EQ(m->liste_j[k], 40);
    EXPECT_EQ(m->liste_type[k], TYPE_RIVIERE);
    EXPECT_EQ(m->liste_attribut[k], k == 0 ? 1 : (k < 30 ? 2 : 4)) << k;
  }
  EXPECT_EQ(hauteurs_de(*m), avant);
  EXPECT_TRUE(clic.c.continuer);
  EXPECT_TRUE(clic.ui.entries.empty());
  ASSERT_FALSE(clic.attente.captions().empty());
  EXPECT_EQ(clic.attente.captions().front(), "Valley processing ...  ");
  for (const RecordingMapCanvas* carte : {&clic.carte_1, &clic.carte_2}) {
    EXPECT_EQ(compter(*carte, 'm'), 1);
    EXPECT_EQ(compter(*carte, 'l'), 75);
  }
  for (int k = 0; k < 76; ++k)
    for (int di : {-1, 1})
      for (int dj : {-1, 1}) EXPECT_TRUE(dans_zone(*m, 10 + k + di, 40 + dj)) << k;
  // The river is the stroke trace now.
  EXPECT_EQ(m->dernier_point, 75);
  EXPECT_EQ(m->trace[75].i, 85);
}

TEST(Vallee, DiggingAlongThePlane) {
  auto m = terrain_formule(7, plan_i);
  const auto avant = hauteurs_de(*m);
  Clic clic;
  clic.lancer(*m, vallee(200, 20, -100, 0), 10, 40);
  EXPECT_TRUE(clic.c.continuer);
  EXPECT_EQ(m->hauteurs->lire(10, 40), 880);
  EXPECT_EQ(m->hauteurs->lire(50, 40), 448);
  EXPECT_EQ(m->hauteurs->lire(85, 40), 70);
  ASSERT_EQ(m->nombre_elements, 76);
  for (int k = 0; k < 76; ++k) EXPECT_EQ(m->liste_attribut[k], k == 0 ? 1 : (k < 30 ? 2 : 4)) << k;
  verifier_changements(*m, avant);
  EXPECT_TRUE(clic.ui.entries.empty());
}

TEST(Vallee, SecondRiverEndsOnTheFirstOrJoinsIt) {
  const auto h = [](int i, int j) { return 1000 - 10 * i + 5 * std::abs(j - 40); };
  auto m = terrain_formule(7, h);
  Clic premier;
  premier.lancer(*m, vallee(200, 20, 0, 0), 10, 40);
  m->fin_trace();
  ASSERT_EQ(m->nombre_elements, 76);
  for (int k = 0; k < 76; ++k) ASSERT_EQ((Entree{m->liste_i[k], m->liste_j[k], m->liste_type[k], 0}), (Entree{10 + k, 40, 1, 0}));
  const auto premiere = entrees(*m, 0, 76);

  auto copie = terrain_formule(7, h);
  std::copy(m->liste_i.begin(), m->liste_i.end(), copie->liste_i.begin());
  std::copy(m->liste_j.begin(), m->liste_j.end(), copie->liste_j.begin());
  std::copy(m->liste_type.begin(), m->liste_type.end(), copie->liste_type.begin());
  std::copy(m->liste_attribut.begin(), m->liste_attribut.end(), copie->liste_attribut.begin());
  copie->nombre_elements = 76;

  // River only: it ends where it meets the first one.
  Clic second;
  second.lancer(*m, vallee(200, 20, 0, 0), 10, 60);
  ASSERT_EQ(m->nombre_elements, 97);
  for (int t = 0; t <= 20; ++t) {
    EXPECT_EQ(m->liste_i[76 + t], 10 + t);
    EXPECT_EQ(m->liste_j[76 + t], 60 - t);
  }
  EXPECT_EQ(entrees(*m, 0, 76), premiere);

  // Digging: it joins the first river and digs down to its mouth.
  Clic joint;
  joint.lancer(*copie, vallee(200, 20, -100, 0), 10, 60);
  EXPECT_TRUE(joint.c.continuer);
  ASSERT_EQ(copie->dernier_point, 75);
  EXPECT_EQ(copie->trace[0].i, 10);
  EXPECT_EQ(copie->trace[0].j, 60);
  EXPECT_EQ(copie->trace[20].i, 30);
  EXPECT_EQ(copie->trace[20].j, 40);
  EXPECT_EQ(copie->trace[21].i, 31);
  EXPECT_EQ(copie->trace[75].i, 85);
  EXPECT_EQ(copie->trace[75].j, 40);
  EXPECT_EQ(copie->hauteurs->lire(10, 60), 980);
  EXPECT_EQ(copie->hauteurs->lire(85, 40), 70);
  EXPECT_EQ(copie->nombre_elements, 97);
  EXPECT_EQ(entrees(*copie, 0, 76), premiere);
}

TEST(Vallee, ClickOnASpringContinuesThatRiver) {
  auto m = terrain_formule(7, plan_i);
  Clic premier;
  premier.lancer(*m, vallee(200, 20, 0, 0), 10, 40);
  m->fin_trace();
  const auto liste = entrees(*m, 0, 80);
  const auto avant = hauteurs_de(*m);
  Clic second;
  second.lancer(*m, vallee(200, 20, 0, 0), 10, 40);
  EXPECT_TRUE(second.c.continuer);
  EXPECT_EQ(m->nombre_elements, 76);
  EXPECT_EQ(entrees(*m, 0, 80), liste);
  EXPECT_EQ(hauteurs_de(*m), avant);
  // The trace is the river from the click on.
  EXPECT_EQ(m->dernier_point, 75);

  // Digging from the middle of the river digs its lower part only.
  Clic milieu;
  milieu.lancer(*m, vallee(200, 20, -100, 0), 50, 40);
  EXPECT_EQ(m->nombre_elements, 76);
  EXPECT_EQ(entrees(*m, 0, 80), liste);
  EXPECT_EQ(m->dernier_point, 35);
  EXPECT_EQ(m->hauteurs->lire(50, 40), 500 - 20);
  EXPECT_EQ(m->hauteurs->lire(85, 40), 150 - 80);
  EXPECT_EQ(m->hauteurs->lire(30, 40), 700);

  // From the mouth there is nothing left to dig.
  const auto avant_embouchure = hauteurs_de(*m);
  Clic embouchure;
  embouchure.lancer(*m, vallee(200, 20, -100, 0), 85, 40);
  EXPECT_EQ(m->nombre_elements, 76);
  EXPECT_EQ(hauteurs_de(*m), avant_embouchure);
}

TEST(Vallee, SpringOnTheSea) {
  for (int F : {0, -100}) {
    auto m = terrain_formule(7, [](int, int) { return -100; });
    Clic clic;
    clic.lancer(*m, vallee(200, 20, F, 0), 40, 40);
    EXPECT_EQ(m->nombre_elements, 1);
    EXPECT_EQ((Entree{m->liste_i[0], m->liste_j[0], m->liste_type[0], m->liste_attribut[0]}), (Entree{40, 40, 1, 1}));
    EXPECT_TRUE(clic.ui.entries.empty());
    EXPECT_TRUE(clic.c.continuer);
    EXPECT_EQ(m->hauteurs->lire(40, 40), F == 0 ? -100 : -120);
  }
}

TEST(Vallee, HighDegreesStartOnEvenNodesAndStepOneNodeAtATime) {
  auto m = terrain_formule(10, [](int i, int j) { return 3000 - 2 * i - j % 3; });
  Clic clic;
  clic.lancer(*m, vallee(200, 20, 0, 0), 11, 41);
  ASSERT_GE(m->nombre_elements, 1);
  EXPECT_EQ(m->liste_i[0], 10);
  EXPECT_EQ(m->liste_j[0], 40);
  verifier_continuite(*m, 0, m->nombre_elements);
  m->fin_trace();
  m->nombre_elements = 0;
  clic.lancer(*m, vallee(200, 20, 0, 0), 1, 41);
  ASSERT_GE(m->nombre_elements, 1);
  EXPECT_EQ(m->liste_i[0], 2);
  EXPECT_EQ(m->liste_j[0], 40);

  for (int degre : {10, 11}) {
    auto g = genere(degre, 321 + degre);
    const int n = g->n;
    int depart = 0;
    for (int k = 0; k < 6; ++k) {
      const int i0 = n / 8 + k * n / 9, j0 = n / 5 + (k % 3) * n / 10;
      depart = g->nombre_elements;
      Clic c;
      c.lancer(*g, vallee(200, 20, -40, 0), i0, j0, false);
      g->fin_trace();
      EXPECT_TRUE(c.ui.entries.empty());
      verifier_continuite(*g, depart, g->nombre_elements);
    }
    EXPECT_GT(g->nombre_elements, 12) << "degree " << degre;
  }
}

// Channel rows i = 6, 9, ..., 114 joined at alternate ends, falling by one
// metre per node and leading out to the border; every other node stands at
// 3900.
TEST(Vallee, SerpentineLongerThanTheTrace) {
  auto m = terrain_formule(7, [](int, int) { return 3900; });
  std::vector<std::pair<int, int>> canal;
  for (int i = 6; i <= 114; i += 6) {
    // To the right up to column 120 - i, back to the left one row band lower.
    for (int j = 6; j <= 120 - i; ++j) canal.emplace_back(i, j);
    if (i == 114) break;
    canal.emplace_back(i + 1, 120 - i);
    canal.emplace_back(i + 2, 120 - i);
    for (int j = 120 - i - 1; j >= 7; --j) canal.emplace_back(i + 3, j);
    canal.emplace_back(i + 4, 6);
    canal.emplace_back(i + 5, 6);
  }
  for (int i = 115; i <= 119; ++i) canal.emplace_back(i, 6);
  int hauteur = 3800;
  for (const auto& [i, j] : canal) m->hauteurs->ecrire(i, j, hauteur--);
  ASSERT_GT(static_cast<int>(canal.size()), m->capacite_trace);

  const auto avant = hauteurs_de(*m);
  Clic clic;
  clic.lancer(*m, vallee(200, 20, 1000 - 40, 1000), canal.front().first, canal.front().second);
  EXPECT_TRUE(clic.ui.entries.empty());
  EXPECT_TRUE(clic.c.continuer);
  for (std::size_t k = 0; k < canal.size(); ++k) {
    ASSERT_EQ(m->liste_i[k], canal[k].first) << k;
    ASSERT_EQ(m->liste_j[k], canal[k].second) << k;
  }
  ASSERT_EQ(m->nombre_elements, static_cast<int>(canal.size()));
  ASSERT_EQ(m->dernier_point + 1, static_cast<int>(canal.size()));
  // Dug from one end to the other: 8 m at the spring, 32 m at the mouth.
  EXPECT_EQ(m->hauteurs->lire(canal.front().first, canal.front().second), 3800 - 8);
  EXPECT_EQ(m->hauteurs->lire(canal.back().first, canal.back().second),
            3800 - static_cast<int>(canal.size()) + 1 - 32);
  verifier_changements(*m, avant);
}

TEST(Vallee, FullListIsCutWithAMessage) {
  auto m = terrain_formule(5, plan_i);
  const int capacite = m->capacite_liste;
  m->nombre_elements = capacite - 7;
  Clic clic;
  clic.lancer(*m, vallee(200, 20, 0, 0), 6, 10);
  EXPECT_EQ(m->nombre_elements, capacite - 3);
  ASSERT_EQ(clic.ui.entries.size(), 1u);
  EXPECT_EQ(clic.ui.entries[0].text, "Maximum of capacity reached! Delete rivers or trees or ground ! ");
  EXPECT_EQ(clic.ui.entries[0].caption, "Valley ");
  for (int k = capacite - 7; k < capacite - 1; ++k) EXPECT_EQ(m->liste_i[k], 6 + k - (capacite - 7)) << k;

  // Erosion is not held back by the dispatcher; its valleys never pass the end of the list.
  auto e = terrain_formule(5, plan_i);
  e->nombre_elements = e->capacite_liste - 1;
  Clic streaming;
  streaming.lancer(*e, erosion(8000, 400, 0), 10, 10);
  EXPECT_TRUE(streaming.ui.entries.empty());
  EXPECT_EQ(e->nombre_elements, e->capacite_liste - 1);
}

TEST(Vallee, CancelDuringTheDescentChangesNothing) {
  auto m = terrain_formule(7, plan_i);
  const auto avant = hauteurs_de(*m);
  Clic clic;
  clic.attente.cancel_at(3, clic.fenetre.h);
  clic.lancer(*m, vallee(200, 20, -100, 0), 10, 40);
  EXPECT_FALSE(clic.c.continuer);
  EXPECT_EQ(m->nombre_elements, 0);
  EXPECT_EQ(hauteurs_de(*m), avant);
  EXPECT_EQ(clic.attente.tests(), 3);
  EXPECT_TRUE(clic.ui.entries.empty());
}

// Everything an Erosion leaves: heights, the whole list and the map drawings.
struct Resultat {
  std::vector<std::int32_t> hauteurs;
  std::vector<Entree> liste;
  int nombre;
  std::vector<std::tuple<char, int, int, int>> dessins;
  bool operator==(const Resultat&) const = default;
};

Resultat resultat(const Tmatrice& m, const RecordingMapCanvas& carte) {
  Resultat r{hauteurs_de(m), entrees(m, 0, m.capacite_liste), m.nombre_elements, {}};
  for (const auto& o : carte.ops) r.dessins.emplace_back(o.kind, o.x, o.y, o.width);
  return r;
}

TEST(Erosion, ScattersValleysInsideTheChangedArea) {
  auto original = genere(9, 77);
  const int ic = original->cible_i, jc = original->cible_j;
  auto m = genere(9, 77);
  const auto avant = hauteurs_de(*m);
  Clic clic;
  clic.lancer(*m, erosion(2000, 10, -20), ic, jc);
  EXPECT_TRUE(clic.c.continuer);
  EXPECT_TRUE(clic.ui.entries.empty());
  ASSERT_FALSE(clic.attente.captions().empty());
  EXPECT_EQ(clic.attente.captions().front(), "Streaming processing ...  ");
  EXPECT_NE(hauteurs_de(*m), avant);
  // Dug valleys are not counted.
  EXPECT_EQ(m->nombre_elements, 0);
  EXPECT_GT(compter(clic.carte_1, 'l'), 100);
  verifier_changements(*m, avant);

  // The same terrain and arguments give the same result.
  auto copie = genere(9, 77);
  Clic encore;
  encore.lancer(*copie, erosion(2000, 10, -20), ic, jc);
  EXPECT_EQ(resultat(*copie, encore.carte_1), resultat(*m, clic.carte_1));
  EXPECT_EQ(resultat(*copie, encore.carte_2), resultat(*m, clic.carte_2));

  // No springs without density.
  auto sans = genere(9, 77);
  Clic vide;
  vide.lancer(*sans, erosion(2000, 0, -20), ic, jc);
  EXPECT_EQ(hauteurs_de(*sans), avant);

  // Without depth the rivers are laid and counted, and nothing is dug.
  auto rivieres = genere(9, 77);
  Clic seules;
  seules.lancer(*rivieres, erosion(2000, 10, 0), ic, jc);
  EXPECT_TRUE(seules.c.continuer);
  EXPECT_EQ(hauteurs_de(*rivieres), avant);
  EXPECT_GT(rivieres->nombre_elements, 50);
  verifier_empreintes(*rivieres);
  verifier_continuite(*rivieres, 0, rivieres->nombre_elements);
}

TEST(Erosion, CancelStopsAtOnce) {
  auto m = genere(9, 77);
  Clic clic;
  clic.attente.cancel_at(100, clic.fenetre.h);
  clic.lancer(*m, erosion(2000, 10, -20), m->cible_i, m->cible_j);
  EXPECT_FALSE(clic.c.continuer);
  // The node loop or a valley's digging takes the message at its next poll.
  EXPECT_LE(clic.attente.tests(), 101);
  EXPECT_TRUE(clic.ui.entries.empty());
}

TEST(Erosion, LargeDiscsAndHighDegrees) {
  auto m = genere(11, 5);
  Clic clic;
  clic.lancer(*m, erosion(2000, 2, -100), m->cible_i, m->cible_j, false);
  EXPECT_TRUE(clic.c.continuer);
  EXPECT_TRUE(clic.ui.entries.empty());

  auto g = genere(8, 6);
  const auto avant = hauteurs_de(*g);
  Clic tout;
  tout.lancer(*g, erosion(8000, 20, -100), g->cible_i, g->cible_j, false);
  EXPECT_TRUE(tout.c.continuer);
  EXPECT_TRUE(tout.ui.entries.empty());
  verifier_changements(*g, avant);
}

// Walls at 4000 around a spring at (40, 40): the river leaves it by a
// diagonal step of the square search to (42, 42), runs round a channel and
// arrives at (37, 40), from where the spring is the only candidate left.
std::unique_ptr<Tmatrice> terrain_boucle() {
  auto m = terrain_formule(7, [](int, int) { return 4000; });
  std::vector<std::pair<int, int>> canal{{42, 42}};
  for (int j = 43; j <= 50; ++j) canal.emplace_back(42, j);
  for (int i = 41; i >= 34; --i) canal.emplace_back(i, 50);
  for (int j = 49; j >= 40; --j) canal.emplace_back(34, j);
  for (int i = 35; i <= 37; ++i) canal.emplace_back(i, 40);
  int h = 990;
  for (const auto& [i, j] : canal) m->hauteurs->ecrire(i, j, h--);
  m->hauteurs->ecrire(40, 40, 1000);
  return m;
}

TEST(Vallee, RiverRunningBackOntoItselfIsRefused) {
  auto m = terrain_boucle();
  m->nombre_elements = 3;
  const auto avant = hauteurs_de(*m);
  Clic clic;
  clic.lancer(*m, vallee(200, 20, -100, 0), 40, 40);
  ASSERT_EQ(clic.ui.entries.size(), 1u);
  EXPECT_EQ(clic.ui.entries[0].text, "Sorry, y can't do it !");
  EXPECT_EQ(clic.ui.entries[0].caption, "Valley ");
  EXPECT_FALSE(clic.c.continuer);
  EXPECT_EQ(hauteurs_de(*m), avant);
  EXPECT_EQ(m->nombre_elements, 3);
  // The points walked stay beyond the count.
  EXPECT_EQ(m->liste_i[3], 40);
  EXPECT_EQ(m->liste_i[4], 41);
  EXPECT_EQ(m->liste_j[4], 41);

  // The same valley run by Erosion: no message.
  auto e = terrain_boucle();
  ScopedFakeUserInterface ui;
  parametres_vallee p;
  p.altitude_initiale = 1000;
  p.altitude_finale = 960;
  p.i0 = p.j0 = 40;
  p.erosion = true;
  controle_outil c;
  EXPECT_EQ(outil_vallee(*e, p, c), fin_vallee::boucle);
  EXPECT_TRUE(ui.entries.empty());
  EXPECT_EQ(hauteurs_de(*e), avant);

  // An Erosion with a spring at every node of a small disc: the valley from
  // (40, 40) loops, the others are laid.
  auto f = terrain_boucle();
  Clic streaming;
  streaming.lancer(*f, erosion(100, 2000, 0), 40, 40);
  EXPECT_TRUE(streaming.ui.entries.empty());
  EXPECT_TRUE(streaming.c.continuer);
  EXPECT_GT(f->nombre_elements, 0);
}
