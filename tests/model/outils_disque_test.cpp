#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "model/matrice.h"
#include "model/outils.h"
#include "platform/messages.h"
#include "tests/support/fakes.h"

namespace {

param_mat parametres(int degre, bool deformation) {
  param_mat p{};
  p.maillage = degre;
  p.relief = 100;
  p.profil = 50;
  p.etalement = 1;
  p.cle = 4242;
  p.deformation = deformation;
  p.degre_deformation = 60;
  p.cible = {0.333, 0.333};
  p.observateur = {0.1, 0.1};
  for (int& w : p.profils_iter) w = 2;
  return p;
}

std::unique_ptr<Tmatrice> plat(int degre, std::int32_t h, bool deformation = false) {
  auto t = std::make_unique<Tmatrice>(parametres(degre, deformation));
  bool continuer;
  t->generer_montagne(nullptr, 0, continuer, true);
  for (int j = 1; j <= t->n; ++j)
    for (int i = 1; i + j <= t->n + 1; ++i) t->hauteurs->ecrire(i, j, h);
  return t;
}

std::unique_ptr<Tmatrice> genere(int degre, bool deformation) {
  auto t = std::make_unique<Tmatrice>(parametres(degre, deformation));
  bool continuer;
  t->generer_montagne(nullptr, 0, continuer, false);
  return t;
}

struct Outil {
  std::int32_t code, largeur = 8000, valeur = 0, haut = 0, bas = 0, sommet = 0;
};

// Runs one tool from a one-node stroke at (i0, j0); with `plateaux`, a
// whole-terrain plateau is gathered there instead of applied.
bool appliquer(Tmatrice& t, const Outil& o, std::int32_t i0, std::int32_t j0, ProgressSink* attente = nullptr,
               WindowHandle fenetre = 0, PlateauxDifferes* plateaux = nullptr) {
  arguments_outil a{};
  a.largeur_base_debut = o.largeur;
  a.largeur_sommet_debut = o.sommet;
  a.valeur = o.valeur;
  a.altitude_finale_debut = o.haut;
  a.altitude_initiale_debut = o.bas;
  a.outil = o.code;
  controle_outil c;
  c.attente = attente;
  c.fenetre = fenetre;
  c.plateaux = plateaux;
  t.debut_trace(i0, j0);
  t.modifier(a, c);
  t.fin_trace();
  return c.continuer;
}

struct Etat {
  std::vector<std::int32_t> h;
  std::vector<int> x, y;
};

Etat etat(const Tmatrice& t) {
  Etat e;
  for (int j = 1; j <= t.n; ++j)
    for (int i = 1; i + j <= t.n + 1; ++i) {
      e.h.push_back(t.hauteurs->lire(i, j));
      e.x.push_back(t.dx ? t.dx->lire(i, j) : 0);
      e.y.push_back(t.dy ? t.dy->lire(i, j) : 0);
    }
  return e;
}

// Calls f(i, j, k) for every node, k being its index in an Etat.
template <class F>
void chaque_noeud(const Tmatrice& t, F f) {
  std::size_t k = 0;
  for (int j = 1; j <= t.n; ++j)
    for (int i = 1; i + j <= t.n + 1; ++i) f(i, j, k++);
}

double distance(int i1, int j1, int i2, int j2) {
  const double x = 0.9 * i1 - 0.9 * i2, y = (j1 + 0.5 * i1) - (j2 + 0.5 * i2);
  return std::sqrt(x * x + y * y);
}

struct Fenetre {
  WindowHandle h = platform::register_window([](const platform::Message&) -> std::intptr_t { return 0; });
  ~Fenetre() { platform::unregister_window(h); }
};

}  // namespace

TEST(Plateau, FlattensTheBandTowardsItsLowerLimit) {
  struct Cas {
    std::int32_t depart, S, U, attendu;
  };
  const Cas cas[] = {{400, 0, 1000, 400},   {400, -1, 1000, 400}, {400, -21, 1000, 200},
                     {400, 8, 1000, 184},   {4000, -21, 4000, 2000}, {1500, -21, 1000, 1500}};
  for (const Cas& c : cas) {
    auto t = plat(5, c.depart);
    EXPECT_TRUE(appliquer(*t, {2, 8000, c.S, c.U, 0}, 10, 10));
    SCOPED_TRACE(testing::Message() << "from " << c.depart << " S " << c.S);
    for (std::int32_t h : etat(*t).h) ASSERT_EQ(h, c.attendu);
  }
}

TEST(Plateau, PullsTowardsTheUpperLimitWhenTheBandIsReversed) {
  // L above U: heights between them move towards L, the top of the band.
  auto t = plat(5, 600);
  appliquer(*t, {2, 8000, -21, 0, 1000}, 10, 10);
  for (std::int32_t h : etat(*t).h) ASSERT_EQ(h, 800);
}

// Over the whole terrain without a progress window the rows are walked in
// memory order; with one, node by node with a poll each: the same heights,
// both strengths, both band directions, and the stamp of the heights renewed.
TEST(Plateau, WholeTerrainSameHeightsWithOrWithoutPolls) {
  const Outil outils[] = {{2, 8000, 8, 1500, 200}, {2, 8000, -21, 1500, 200}, {2, 8000, 30, 100, 900}};
  for (const Outil& o : outils) {
    auto rapide = genere(7, false), sonde = genere(7, false);
    const std::uint64_t avant = rapide->hauteurs->empreinte();
    FakeProgress attente;
    EXPECT_TRUE(appliquer(*rapide, o, 60, 30));
    EXPECT_TRUE(appliquer(*sonde, o, 60, 30, &attente));
    EXPECT_GT(attente.tests(), 8000);
    EXPECT_EQ(etat(*rapide).h, etat(*sonde).h) << "S " << o.valeur << " from " << o.bas << " to " << o.haut;
    EXPECT_NE(etat(*rapide).h, etat(*genere(7, false)).h);
    EXPECT_NE(rapide->hauteurs->empreinte(), avant);
  }
}

// Whole-terrain plateaus gathered and applied in one walk (a generation's
// terraces) give the heights of the same plateaus one after the other: both
// strengths and band directions, a band reaching the top, and a height
// beyond the stored range that each plateau's own rule carries through.
TEST(Plateau, GatheredWholeTerrainPlateausGiveTheHeightsOfOneAfterTheOther) {
  const Outil outils[] = {{2, 8000, 8, 1500, 200}, {2, 8000, -21, 100, 900}, {2, 8000, 0, 500, 700},
                          {2, 8000, 30, 4000, 1200}, {2, 8000, -6, 600, -300}};
  auto suite = genere(7, false), groupe = genere(7, false);
  for (Tmatrice* t : {suite.get(), groupe.get()}) t->hauteurs->rangee_ecriture(20)[30] = 4500;
  const std::vector<std::int32_t> depart = etat(*groupe).h;
  for (const Outil& o : outils) EXPECT_TRUE(appliquer(*suite, o, 60, 30));

  PlateauxDifferes plateaux;
  for (const Outil& o : outils) EXPECT_TRUE(appliquer(*groupe, o, 60, 30, nullptr, 0, &plateaux));
  EXPECT_EQ(etat(*groupe).h, depart) << "gathered plateaus change nothing yet";
  EXPECT_EQ(plateaux.bandes.size(), 4u) << "a strength of 0 changes nothing and is left out";
  appliquer_plateaux(*groupe, plateaux);
  EXPECT_TRUE(plateaux.bandes.empty());
  EXPECT_EQ(etat(*groupe).h, etat(*suite).h);
  EXPECT_NE(etat(*groupe).h, depart);
  EXPECT_LE(groupe->hauteurs->lire(30, 20), Tnoeud::hauteur_maxi);
  appliquer_plateaux(*groupe, plateaux);  // nothing gathered: nothing changes
  EXPECT_EQ(etat(*groupe).h, etat(*suite).h);
}

TEST(Plateau, SmallDiscChangesOnlyItsNodes) {
  auto t = plat(7, 800, true);
  appliquer(*t, {2, 2000, 20, 2000, 0, 60}, 60, 40);
  const double R = 16, D = distance(60, 40, 60 + R, 40 + R);
  int changes = 0, pousses = 0;
  const Etat e = etat(*t);
  chaque_noeud(*t, [&](int i, int j, std::size_t k) {
    if (i == 1 || j == 1 || i + j == t->n + 1) return;
    if (e.h[k] != 800) {
      ++changes;
      EXPECT_LT(distance(60, 40, i, j), D);
      EXPECT_LT(e.h[k], 800);
    }
    if (e.x[k] != 128 || e.y[k] != 128) ++pousses;
  });
  EXPECT_GT(changes, 100);
  EXPECT_GT(pousses, 100);
}

TEST(Stratum, WithoutMapsChangesNothing) {
  auto t = genere(7, false);
  const Etat avant = etat(*t);
  EXPECT_TRUE(appliquer(*t, {12, 3000, 0, 1500, 0, 80}, 50, 50));
  EXPECT_EQ(etat(*t).h, avant.h);
  EXPECT_EQ(t->zone_outil[0], 50 - (2 * 24 + 1));
}

TEST(Stratum, BendsOnlyTheMapsInsideTheBand) {
  auto t = genere(7, true);
  const Etat avant = etat(*t);
  // Band limits on heights that occur, so that nodes lie exactly on them.
  const std::int32_t L = t->hauteurs->lire(40, 40), U = t->hauteurs->lire(45, 45);
  ASSERT_NE(L, U);
  appliquer(*t, {12, 8000, 0, U, L, 100}, 40, 40);
  const Etat apres = etat(*t);
  EXPECT_EQ(apres.h, avant.h);
  int bouges = 0, sur_limite = 0;
  chaque_noeud(*t, [&](int, int, std::size_t k) {
    ASSERT_LE(apres.x[k], 255);
    if (avant.h[k] == L || avant.h[k] == U) {
      ++sur_limite;
      EXPECT_EQ(apres.x[k], avant.x[k]);
      EXPECT_EQ(apres.y[k], avant.y[k]);
    }
    bouges += apres.x[k] != avant.x[k] || apres.y[k] != avant.y[k];
  });
  EXPECT_GE(sur_limite, 2);
  EXPECT_GT(bouges, 100);
}

TEST(Relief, GrowsOnlyInsideTheDiscAndTheBand) {
  for (std::int32_t V : {20, -60}) {
    auto t = genere(7, true);
    const Etat avant = etat(*t);
    const std::int32_t L = 0, U = 1200;
    appliquer(*t, {13, 2000, V, U, L, 300}, 60, 40);
    const double D = distance(60, 40, 76, 56);
    const Etat apres = etat(*t);
    int changes = 0;
    chaque_noeud(*t, [&](int i, int j, std::size_t k) {
      if (apres.h[k] == avant.h[k]) return;
      ++changes;
      EXPECT_LT(distance(60, 40, i, j), D) << i << "," << j;
      EXPECT_TRUE(avant.h[k] > L && avant.h[k] < U) << avant.h[k];
      if (V < 0) EXPECT_GT(apres.h[k], avant.h[k]);
    });
    EXPECT_GT(changes, 20) << V;
    EXPECT_EQ(apres.x, avant.x);
  }
}

TEST(Relief, CancelledAtItsFirstPollChangesNoHeight) {
  Fenetre fenetre;
  FakeProgress attente;
  attente.cancel_at(1, fenetre.h);
  auto t = genere(7, false);
  const Etat avant = etat(*t);
  EXPECT_FALSE(appliquer(*t, {13, 3000, 10, 2000, -500, 300}, 50, 50, &attente, fenetre.h));
  EXPECT_EQ(etat(*t).h, avant.h);
  EXPECT_EQ(attente.captions().back(), "Relief processing ...  ");
}

TEST(DiscTools, ChangedNodesLieInTheChangedArea) {
  const Outil outils[] = {{2, 2500, 15, 1500, 0, 70}, {12, 2500, 0, 1500, 0, 100}, {13, 2500, 10, 1500, -200, 300}};
  for (const Outil& o : outils)
    for (int i0 : {5, 60}) {
      auto t = genere(7, true);
      t->marquer_modifiee();
      const Etat avant = etat(*t);
      appliquer(*t, o, i0, 30);
      const Etat apres = etat(*t);
      int changes = 0;
      chaque_noeud(*t, [&](int i, int j, std::size_t k) {
        if (apres.h[k] == avant.h[k] && apres.x[k] == avant.x[k] && apres.y[k] == avant.y[k]) return;
        ++changes;
        EXPECT_TRUE(i >= t->zone_modifiee[0] && i <= t->zone_modifiee[1] && j >= t->zone_modifiee[2] &&
                    j <= t->zone_modifiee[3])
            << "tool " << o.code << " node " << i << "," << j;
      });
      EXPECT_GT(changes, 0) << o.code;
    }
}
