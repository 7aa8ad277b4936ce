#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "model/aleatoire.h"
#include "model/matrice.h"
#include "platform/messages.h"
#include "tests/support/fakes.h"

namespace {

// Creation parameters of the reference terrain: key 12345, relief 100,
// profile 50, no dispersion and every pass off.
param_mat parametres(int degre) {
  param_mat p{};
  p.maillage = degre;
  p.relief = 100;
  p.profil = 50;
  p.etalement = 1;
  p.cle = 12345;
  p.hauteur_rivage = 10;
  p.nombre_gradins = 5;
  p.hauteur_plis = 5;
  p.degre_deformation = 50;
  p.cible[0] = p.cible[1] = 0.333;
  p.observateur[0] = p.observateur[1] = 0.1;
  for (int k = 0; k < 8; ++k) p.profils_iter[k] = 2;  // squares of 4: neutral weights
  return p;
}

// Every option on.
param_mat parametres_complets(int degre) {
  param_mat p = parametres(degre);
  p.iles = 1;
  p.cuvette = 1;
  p.oriente = 1;
  p.hauteur_plis = 5;
  p.deformation = 1;
  p.degre_deformation = 100;
  p.profil = 80;
  p.erosion = 20;
  p.altitude_erosion = 100;
  p.taux_lissage = 10;
  p.rivage_actif = 1;
  p.rivage = 10;
  p.hauteur_rivage = 50;
  p.gradins = 1;
  p.nombre_gradins = 5;
  p.pente_gradins = 5;
  for (int k = 0; k < 8; ++k) p.profils_iter[k] = 1 + k % 4;
  return p;
}

std::unique_ptr<Tmatrice> generer(const param_mat& p, ProgressSink* attente = nullptr, WindowHandle fenetre = 0,
                                  bool plat = false) {
  auto t = std::make_unique<Tmatrice>(p);
  bool continuer = false;
  t->generer_montagne(attente, fenetre, continuer, plat);
  EXPECT_TRUE(continuer);
  return t;
}

std::vector<std::int32_t> hauteurs(const Tmatrice& t) {
  std::vector<std::int32_t> v;
  for (int j = 1; j <= t.n; ++j)
    for (int i = 1; i + j <= t.n + 1; ++i) v.push_back(t.hauteurs->lire(i, j));
  return v;
}

std::vector<int> octets(const Tmatrice& t) {
  std::vector<int> v;
  for (int j = 1; j <= t.n; ++j)
    for (int i = 1; i + j <= t.n + 1; ++i) {
      v.push_back(t.dx->lire(i, j));
      v.push_back(t.dy->lire(i, j));
    }
  return v;
}

bool bords_a(const Tmatrice& t, std::int32_t h) {
  for (int k = 1; k <= t.n; ++k)
    if (t.hauteurs->lire(1, k) != h || t.hauteurs->lire(k, 1) != h || t.hauteurs->lire(k, t.n + 1 - k) != h) return false;
  return true;
}

}  // namespace

namespace {

// A progress window that only counts its polls.
struct Compteur : ProgressSink {
  long polls = 0;
  void take_focus() override {}
  void demarrer(WindowHandle) override {}
  void avancer(std::optional<std::string_view>, std::uint16_t) override {}
  void tester_annulation() override { ++polls; }
};

}  // namespace

// Large enough for erosion, smoothing, shore, terraces and the highest node to
// be spread over the cores when no window polls: the heights and distortion
// bytes are those of the walk with a progress window, node after node.
TEST(Generation, SeveralCoresGiveTheTerrainOfTheWalkNodeByNode) {
  for (const int profil : {60, 80}) {
    param_mat p = parametres_complets(9);
    p.profil = profil;
    Compteur attente;
    auto pas_a_pas = generer(p, &attente);
    const std::uint32_t etat_pas_a_pas = seed();
    // Without polls, rows of draws are stepped over at once (the steep profile
    // only on the levels where it draws no divisor): the generator must end
    // where the walk draw by draw left it.
    auto rapide = generer(p);
    EXPECT_EQ(seed(), etat_pas_a_pas) << profil;
    EXPECT_GT(attente.polls, 513L * 513);
    EXPECT_EQ(hauteurs(*rapide), hauteurs(*pas_a_pas)) << profil;
    EXPECT_EQ(octets(*rapide), octets(*pas_a_pas)) << profil;
  }
}

TEST(Generation, CornersFollowTheKey) {
  struct Cas {
    bool deformation, iles;
    std::int32_t h11, h1n, hn1;
  };
  const Cas cas[] = {{false, false, 579, -554, 683}, {true, false, 579, 159, -789}, {false, true, -1579, -1554, -1683}};
  for (int degre = 4; degre <= 6; ++degre)
    for (const Cas& c : cas) {
      param_mat p = parametres(degre);
      p.deformation = c.deformation;
      p.degre_deformation = 37;
      p.iles = c.iles;
      auto t = generer(p);
      const int n = t->n;
      SCOPED_TRACE(testing::Message() << "degree " << degre << " distortion " << c.deformation << " islands " << c.iles);
      EXPECT_EQ(t->direction_vallee, 1);
      EXPECT_EQ(t->hauteurs->lire(1, 1), c.h11);
      EXPECT_EQ(t->hauteurs->lire(1, n), c.h1n);
      EXPECT_EQ(t->hauteurs->lire(n, 1), c.hn1);
      EXPECT_EQ(t->cle, 12345);
      EXPECT_EQ(t->pas, 1);
    }
}

TEST(Generation, FlatTerrainStillTakesTheKeyAndOneDraw) {
  param_mat p = parametres(6);
  p.deformation = 1;
  auto t = generer(p, nullptr, 0, true);
  for (std::int32_t h : hauteurs(*t)) ASSERT_EQ(h, 0);
  EXPECT_EQ(t->cle, 12345);
  EXPECT_EQ(t->direction_vallee, 1);
  Random();
  EXPECT_EQ(seed(), 1242767767u);
}

TEST(Generation, KeyFromClockIsStoredAndRegrows) {
  set_clock_for_tests([] { return ((10u * 60 + 20) * 60 + 30) * 1000 + 456; });
  param_mat p = parametres(7);
  p.cle = 0;
  auto t = generer(p);
  EXPECT_EQ(t->cle, 37230456);

  p.cle = 37230456;
  set_clock_for_tests([] { return 1000u; });
  auto u = generer(p);
  EXPECT_EQ(u->cle, 37230456);
  EXPECT_EQ(hauteurs(*t), hauteurs(*u));

  p.alea = 1;
  auto v = generer(p);
  EXPECT_EQ(v->cle, 1000);
  EXPECT_NE(hauteurs(*v), hauteurs(*u));
  set_clock_for_tests({});
}

TEST(Generation, SameKeyGivesTheSameTerrainWithEveryOption) {
  const param_mat p = parametres_complets(8);
  auto t = generer(p);
  Random();  // the generator's state before a generation does not matter
  auto u = generer(p);
  EXPECT_EQ(hauteurs(*t), hauteurs(*u));
  EXPECT_EQ(octets(*t), octets(*u));
  EXPECT_EQ(t->direction_vallee, u->direction_vallee);
  EXPECT_NE(octets(*t), std::vector<int>(octets(*t).size(), 128));
}

TEST(Generation, LargestTerrainStaysInRange) {
  auto t = generer(parametres_complets(11));
  for (std::int32_t h : hauteurs(*t)) ASSERT_TRUE(h >= -2000 && h <= 4000) << h;
  for (int b : octets(*t)) ASSERT_TRUE(b >= 0 && b <= 255);
  EXPECT_TRUE(bords_a(*t, -1000));
}

TEST(Generation, SeaRimFromDegreeSeven) {
  auto t = generer(parametres(7));
  EXPECT_TRUE(bords_a(*t, -1000));
  auto u = generer(parametres(6));
  EXPECT_EQ(u->hauteurs->lire(1, 1), 579);
  EXPECT_FALSE(bords_a(*u, -1000));
}

TEST(Generation, EveryDegreeAndFlagCombinationRuns) {
  // All 256 combinations of the eight creation flags on small lattices, a
  // spread of them on the larger ones.
  for (int degre = 4; degre <= 10; ++degre)
    for (int drapeaux = 0; drapeaux < 256; drapeaux += degre <= 6 ? 1 : degre <= 9 ? 17 : 85) {
      param_mat p = parametres(degre);
      p.iles = drapeaux & 1;
      p.cuvette = (drapeaux >> 1) & 1;
      p.oriente = (drapeaux >> 2) & 1;
      p.deformation = (drapeaux >> 3) & 1;
      p.erosion = (drapeaux >> 4) & 1 ? 18 : 0;
      p.altitude_erosion = 60;
      p.taux_lissage = (drapeaux >> 5) & 1 ? 15 : 0;
      p.rivage_actif = (drapeaux >> 6) & 1;
      p.rivage = drapeaux % 3 == 0 ? -8 : 8;
      p.gradins = (drapeaux >> 7) & 1;
      p.terrasse = drapeaux % 5 == 0;
      p.pente_gradins = drapeaux % 7 - 3;
      p.profil = 1 + (drapeaux * 7) % 100;
      p.etalement = 1 + drapeaux % 6;
      p.relief = 40 + drapeaux % 61;
      auto t = generer(p);
      ASSERT_EQ(t->pas, 1);
      EXPECT_EQ(t->nombre_noeuds, t->n);
      EXPECT_EQ(t->cible.hauteur, t->hauteurs->lire(t->cible_i, t->cible_j));
      EXPECT_EQ(t->observateur.hauteur, t->hauteurs->lire(t->observateur_i, t->observateur_j));
      if (degre > 6) EXPECT_TRUE(bords_a(*t, -1000));
    }
}

TEST(Generation, AmplitudeDecaysFromTheDispersionLevel) {
  param_mat p = parametres(6);
  EXPECT_EQ(generer(p)->amplitude, 78);
  p.etalement = 3;
  EXPECT_EQ(generer(p)->amplitude, 312);
  p = parametres(4);
  p.etalement = 6;
  EXPECT_EQ(generer(p)->amplitude, 5000);
}

TEST(Generation, LevelWeightsFollowTheRowCounter) {
  // At degree 11 the row counter starts beyond the weighted levels.
  param_mat p = parametres(11);
  auto t = generer(p);
  for (int k = 0; k < 8; ++k) p.profils_iter[k] = 3;
  EXPECT_EQ(hauteurs(*t), hauteurs(*generer(p)));
  // At degree 10 only the single row of the first level is weighted, by the
  // weight of level 10.
  p = parametres(10);
  auto u = generer(p);
  for (int k = 0; k < 7; ++k) p.profils_iter[k] = 3;
  EXPECT_EQ(hauteurs(*u), hauteurs(*generer(p)));
  p.profils_iter[7] = 3;
  EXPECT_NE(hauteurs(*u), hauteurs(*generer(p)));
}

TEST(Generation, ErosionAndShoreFollowTheirFormulas) {
  param_mat p = parametres(7);
  p.relief = 60;
  auto brut = generer(p);
  const std::int32_t L = brut->hauteur_max() + 20 - 100;
  ASSERT_GT(L, 250);

  p.erosion = 24;
  p.altitude_erosion = 100;
  auto erode = generer(p);
  int changes = 0;
  for (int j = 1; j <= brut->n; ++j)
    for (int i = 1; i + j <= brut->n + 1; ++i) {
      const std::int32_t h = brut->hauteurs->lire(i, j), u = h + 20;
      std::int32_t attendu = h;
      if (u >= 1 && u < L) attendu = std::min(4000, Round(u * std::pow(static_cast<double>(u) / L, 2.0)) - 20);
      ASSERT_EQ(erode->hauteurs->lire(i, j), attendu) << i << "," << j;
      ASSERT_LE(attendu, h);
      changes += attendu != h;
    }
  EXPECT_GT(changes, 100);

  for (int S : {12, -12}) {
    param_mat q = parametres(7);
    q.relief = 60;
    q.rivage_actif = 1;
    q.rivage = S;
    q.hauteur_rivage = 150;
    auto rivage = generer(q);
    const std::int32_t T = 170;
    changes = 0;
    for (int j = 1; j <= brut->n; ++j)
      for (int i = 1; i + j <= brut->n + 1; ++i) {
        const std::int32_t h = brut->hauteurs->lire(i, j), u = h + 20;
        std::int32_t attendu = h;
        if (u >= 1 && u < T) {
          if (S > 0) {
            attendu = Round(u * std::pow(static_cast<double>(u) / T, 0.1 * S)) - 20;
          } else {
            const std::int32_t v = T - u;
            attendu = T - Round(v * std::pow(static_cast<double>(v) / T, -0.1 * S)) - 20;
          }
        }
        ASSERT_EQ(rivage->hauteurs->lire(i, j), attendu) << i << "," << j << " S " << S;
        changes += attendu != h;
      }
    EXPECT_GT(changes, 20);
  }
}

namespace {

struct Fenetre {
  WindowHandle h = platform::register_window([](const platform::Message&) -> std::intptr_t { return 0; });
  ~Fenetre() { platform::unregister_window(h); }
};

std::vector<std::string> legendes_non_vides(const FakeProgress& attente) {
  std::vector<std::string> v;
  for (const std::string& c : attente.captions())
    if (!c.empty()) v.push_back(c);
  return v;
}

}  // namespace

TEST(Generation, CancelKeepsAConsistentLattice) {
  Fenetre fenetre;
  FakeProgress attente;
  attente.cancel_at(10, fenetre.h);
  param_mat p = parametres(7);
  p.erosion = 12;
  p.taux_lissage = 10;
  p.rivage_actif = 1;
  p.rivage = 10;
  p.gradins = 1;
  auto t = std::make_unique<Tmatrice>(p);
  bool continuer = true;
  t->generer_montagne(&attente, fenetre.h, continuer, false);
  EXPECT_FALSE(continuer);
  EXPECT_EQ(attente.tests(), 10);
  EXPECT_TRUE(bords_a(*t, -1000));
  EXPECT_EQ(t->cible.hauteur, t->hauteurs->lire(t->cible_i, t->cible_j));
  EXPECT_EQ(t->observateur.hauteur, t->hauteurs->lire(t->observateur_i, t->observateur_j));
  EXPECT_EQ(legendes_non_vides(attente), std::vector<std::string>{"Fractal generation ..."});
  EXPECT_FALSE(platform::peek(fenetre.h, platform::WM_CANCEL, platform::WM_CANCEL, false));
}

TEST(Generation, PhasesShowTheirCaptionsInOrder) {
  Fenetre fenetre;
  FakeProgress attente;
  param_mat p = parametres(7);
  p.erosion = 12;
  p.altitude_erosion = 50;
  p.taux_lissage = 10;
  p.rivage_actif = 1;
  p.rivage = 10;
  p.hauteur_rivage = 30;
  p.gradins = 1;
  p.nombre_gradins = 4;
  p.pente_gradins = 5;
  auto t = generer(p, &attente, fenetre.h);
  const std::vector<std::string> attendu = {"Fractal generation ...", "Erosion  ...  ", "Smooth processing ...",
                                            "Shore ...",              "One terrace ...", "One terrace ...",
                                            "One terrace ...",        "One terrace ..."};
  EXPECT_EQ(legendes_non_vides(attente), attendu);
  ASSERT_GE(attente.calls.size(), 2u);
  EXPECT_EQ(attente.calls[0].op, "take_focus");
  EXPECT_EQ(attente.calls[1].op, "demarrer");
  EXPECT_EQ(attente.calls[1].window, fenetre.h);
  EXPECT_GT(attente.total_increment(), 0);
}

TEST(Generation, SmoothingWithoutErosionChangesNothing) {
  // Without erosion the smoothing band lies below its own lower bound.
  param_mat p = parametres(7);
  p.deformation = 1;
  p.altitude_erosion = 0;
  auto brut = generer(p);
  p.taux_lissage = 20;
  auto lisse = generer(p);
  EXPECT_EQ(hauteurs(*brut), hauteurs(*lisse));
  EXPECT_EQ(octets(*brut), octets(*lisse));
  // With erosion it does smooth.
  p.erosion = 12;
  p.altitude_erosion = 100;
  auto erode = generer(p);
  p.taux_lissage = 0;
  EXPECT_NE(hauteurs(*erode), hauteurs(*generer(p)));
}

TEST(Generation, TerracesNeedHighGround) {
  param_mat p = parametres(7);
  p.relief = 8;
  auto bas = generer(p);
  ASSERT_LE(bas->hauteur_max(), 400);
  p.gradins = 1;
  EXPECT_EQ(hauteurs(*bas), hauteurs(*generer(p)));

  p = parametres(7);
  auto plain = generer(p);
  ASSERT_GT(plain->hauteur_max(), 400);
  p.gradins = 1;
  p.pente_gradins = 10;
  EXPECT_NE(hauteurs(*plain), hauteurs(*generer(p)));
  p.pente_gradins = -10;
  p.terrasse = 1;
  EXPECT_NE(hauteurs(*plain), hauteurs(*generer(p)));
}
