#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "model/aleatoire.h"
#include "model/erreur.h"
#include "model/presse_papier.h"
#include "model/matrice.h"
#include "model/presse_papier.h"
#include "platform/messages.h"
#include "tests/support/fakes.h"

namespace {

param_mat parametres(int degre, bool couches) {
  param_mat p;
  p.maillage = degre;
  p.relief = 50;
  p.profil = 50;
  p.etalement = 1;
  p.cle = 4321;
  for (auto& w : p.profils_iter) w = 2;
  p.deformation = couches;
  p.degre_deformation = 40;
  p.photo_aerienne = couches;
  p.cible = {0.333, 0.333};
  p.observateur = {0.1, 0.1};
  return p;
}

std::uint32_t rgb(int r, int g, int b) { return static_cast<std::uint32_t>(r | (g << 8) | (b << 16)); }

bool sur_le_bord(int i, int j, int n) { return i == 1 || j == 1 || i + j == n + 1; }

std::unique_ptr<Tmatrice> terrain_plat_avec_rivage() {
  auto m = std::make_unique<Tmatrice>(parametres(7, false));
  const int n = m->n;
  for (int j = 1; j <= n; ++j)
    for (int i = 1; i + j <= n + 1; ++i) m->hauteurs->ecrire(i, j, sur_le_bord(i, j, n) ? -1000 : 500);
  m->pas = 1;
  m->nombre_noeuds = static_cast<std::uint16_t>(n);
  return m;
}

}  // namespace

TEST(Raffiner, CarriesEveryLayerToTheNewLattice) {
  auto m = std::make_unique<Tmatrice>(parametres(7, true));
  bool continuer = true;
  m->generer_montagne(nullptr, 0, continuer, false);
  for (int j = 1; j <= m->n; ++j)
    for (int i = 1; i + j <= m->n + 1; ++i) m->photo->ecrire(i, j, rgb(i, j, (i * j) % 256));
  m->liste_i[0] = 10;
  m->liste_j[0] = 20;
  m->liste_type[0] = 12;
  m->liste_attribut[0] = 33;
  m->nombre_elements = 1;
  m->creer_annulation();
  m->presse_papier = std::make_unique<presse_papier_relief>(9, m->n);
  const int h = m->hauteurs->lire(10, 20);
  const auto ex = m->dx->lire(10, 20), ey = m->dy->lire(10, 20);
  const double cx = m->cible.x, oy = m->observateur.y;
  ASSERT_EQ(m->cible_i, 43);
  ASSERT_EQ(m->cible_j, 43);

  FakeProgress attente;
  m->raffiner(parametres(7, true), &attente, 0);

  EXPECT_EQ(m->n, 257);
  EXPECT_EQ(m->nombre_noeuds, 257);
  EXPECT_EQ(m->degre, 8);
  EXPECT_EQ(m->amplitude, 16);  // 4000 halved seven times, then decayed once by the level
  EXPECT_EQ(m->pas, 1);
  EXPECT_EQ(m->relief, 100.0);
  EXPECT_EQ(m->capacite_liste, 8225);
  EXPECT_EQ(m->capacite_trace, 4113);
  EXPECT_EQ(m->liste_i.size(), 8225u);
  EXPECT_EQ(m->hauteurs->n(), 257);
  EXPECT_EQ(m->hauteurs->lire(19, 39), h);
  EXPECT_EQ(m->dx->lire(19, 39), ex);
  EXPECT_EQ(m->dy->lire(19, 39), ey);
  EXPECT_TRUE(m->photo->lire(19, 39) == (Rgb{10, 20, 200}));
  // New nodes take the rounded mean colour of their edge's ends (halves to even).
  EXPECT_TRUE(m->photo->lire(20, 39) == (Rgb{10, 20, 210}));     // (10, 20) and (11, 20)
  EXPECT_TRUE(m->photo->lire(19, 40) == (Rgb{10, 20, 205}));     // (10, 20) and (10, 21)
  EXPECT_TRUE(m->photo->lire(20, 40) == (Rgb{10, 20, 215}));     // (11, 20) and (10, 21)
  EXPECT_TRUE(m->photo->lire(2, 1) == (Rgb{2, 1, 2}));          // 1.5 and 1.5 go to 2
  EXPECT_EQ(m->liste_i[0], 19);
  EXPECT_EQ(m->liste_j[0], 39);
  EXPECT_EQ(m->cible.x, cx);
  EXPECT_EQ(m->observateur.y, oy);
  EXPECT_EQ(m->cible_i, 86);
  EXPECT_EQ(m->cible_j, 86);
  EXPECT_EQ(m->cible.hauteur, m->hauteurs->lire(86, 86));
  for (int k = 1; k <= 257; ++k) {
    EXPECT_EQ(m->hauteurs->lire(1, k), -1000);
    EXPECT_EQ(m->hauteurs->lire(k, 1), -1000);
    EXPECT_EQ(m->hauteurs->lire(k, 258 - k), -1000);
  }
  EXPECT_FALSE(m->hauteurs_annulation);
  EXPECT_FALSE(m->dx_annulation);
  EXPECT_TRUE(m->annulation_i.empty());
  EXPECT_EQ(m->nombre_annulation, 0);
  EXPECT_FALSE(m->presse_papier);
  ASSERT_GE(attente.calls.size(), 2u);
  EXPECT_EQ(attente.calls[0].op, "take_focus");
  EXPECT_EQ(attente.calls[1].op, "demarrer");
  EXPECT_EQ(attente.captions(), std::vector<std::string>{"Fractal generation ..."});

  // The distortion of the new midpoints is within reach of their ends.
  int loin = 0;
  for (int j = 2; j < 256; j += 2)
    for (int i = 1; i + j <= 257; i += 2)
      if (std::abs(m->dx->lire(i, j) - (m->dx->lire(i, j - 1) + m->dx->lire(i, j + 1)) / 2) > 40) ++loin;
  EXPECT_EQ(loin, 0);
}

TEST(Raffiner, OldRimDoesNotSpread) {
  auto m = terrain_plat_avec_rivage();
  m->raffiner(parametres(7, false), nullptr, 0);
  const int n = 257;
  int hors = 0;
  std::vector<std::pair<int, int>> coins;
  for (int j = 2; j <= n; ++j)
    for (int i = 2; i + j <= n; ++i) {
      const int h = m->hauteurs->lire(i, j);
      if (h >= 400 && h <= 600) continue;
      if ((i <= 3 && j >= 254) || (j <= 3 && i >= 254))
        coins.emplace_back(i, j);
      else
        ++hors;
    }
  EXPECT_EQ(hors, 0);
  // The corners read the -2000 stored for the outside, through the rim copy.
  std::sort(coins.begin(), coins.end());
  const std::vector<std::pair<int, int>> attendus = {{2, 254}, {2, 255}, {3, 254}, {254, 2}, {254, 3}, {255, 2}};
  EXPECT_EQ(coins, attendus);
}

TEST(Raffiner, CancelAtTheFirstPoll) {
  const WindowHandle fenetre = platform::register_window([](const platform::Message&) { return 0; });
  auto m = terrain_plat_avec_rivage();
  FakeProgress attente;
  attente.cancel_at(1, fenetre);
  m->raffiner(parametres(7, false), &attente, fenetre);
  EXPECT_EQ(attente.tests(), 1);
  const int n = 257;
  int autres = 0;
  for (int j = 1; j <= n; ++j)
    for (int i = 1; i + j <= n + 1; ++i) {
      const int h = m->hauteurs->lire(i, j);
      if (sur_le_bord(i, j, n)) {
        EXPECT_EQ(h, -1000);
      } else if (i % 2 == 1 && j % 2 == 1) {
        EXPECT_EQ(h, 500) << i << ", " << j;
      } else if (h != 0) {
        ++autres;
        EXPECT_TRUE(i <= 2 && j <= 2) << i << ", " << j;
      }
    }
  EXPECT_LE(autres, 3);
  platform::unregister_window(fenetre);
}

TEST(Raffiner, DegreeElevenIsRefused) {
  Tmatrice m(parametres(11, false));
  m.hauteurs->ecrire(5, 5, 123);
  EXPECT_THROW(m.raffiner(parametres(11, false), nullptr, 0), ModelError);
  EXPECT_EQ(m.n, 2049);
  EXPECT_EQ(m.degre, 11);
  EXPECT_EQ(m.hauteurs->lire(5, 5), 123);
}
