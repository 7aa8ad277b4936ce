#include "model/noeuds.h"
#include "model/echantillons.h"
#include "model/matrice.h"
#include "tests/support/terrains.h"

#include <gtest/gtest.h>

#include <climits>

#include "model/erreur.h"

namespace {

class Reseaux : public ::testing::TestWithParam<int> {
 protected:
  int n() const { return (1 << GetParam()) + 1; }
};

}  // namespace

TEST_P(Reseaux, HeightsCornersAndOutside) {
  const int n = this->n();
  Tnoeud h(n);
  EXPECT_EQ(h.n(), n);
  h.ecrire(1, n, 321);
  h.ecrire(n, 1, -77);
  h.ecrire(1, 1, 5);
  EXPECT_EQ(h.lire(1, n), 321);
  EXPECT_EQ(h.lire(n, 1), -77);
  EXPECT_EQ(h.lire(1, 1), 5);

  // Outside: next to each edge and beyond the storage.
  const int dehors[][2] = {{2, n}, {n, 2}, {0, 5}, {5, 0}, {n + 1, 1}, {1, n + 1}, {0, 0}, {-1, 3}, {3, -1}, {INT_MAX, 1}, {1, INT_MAX}, {INT_MIN, INT_MIN}};
  for (auto& d : dehors) {
    h.ecrire(d[0], d[1], 1000);
    h.ajouter(d[0], d[1], 1000);
    EXPECT_EQ(h.lire(d[0], d[1]), -4000) << d[0] << "," << d[1];
  }
  // Writes outside did not reach a neighbouring node.
  EXPECT_EQ(h.lire(1, n), 321);
  EXPECT_EQ(h.lire(n, 1), -77);

  // Every node of the lattice is its own element.
  int compte = 0;
  for (int j = 1; j <= n; ++j)
    for (int i = 1; i <= n + 1 - j; ++i) h.ecrire(i, j, (i * 7 + j * 13) % 6000 - 2000);
  for (int j = 1; j <= n; ++j)
    for (int i = 1; i <= n + 1 - j; ++i) {
      ASSERT_EQ(h.lire(i, j), (i * 7 + j * 13) % 6000 - 2000) << i << "," << j;
      ++compte;
    }
  EXPECT_EQ(compte, n * (n + 1) / 2);
}

TEST_P(Reseaux, HeightsAreClamped) {
  const int n = this->n();
  Tnoeud h(n);
  h.ecrire(2, 2, 5000);
  EXPECT_EQ(h.lire(2, 2), 4000);
  h.ecrire(2, 2, -2500);
  EXPECT_EQ(h.lire(2, 2), -2000);
  h.ecrire(3, 3, 100);
  h.ajouter(3, 3, -10000);
  EXPECT_EQ(h.lire(3, 3), -2000);
  h.ajouter(3, 3, INT32_MAX);
  EXPECT_EQ(h.lire(3, 3), 4000);
  h.ajouter(3, 3, INT32_MIN);
  EXPECT_EQ(h.lire(3, 3), -2000);
  h.ajouter(3, 3, 2500);
  EXPECT_EQ(h.lire(3, 3), 500);
}

TEST_P(Reseaux, BytesWordsAndColours) {
  const int n = this->n();
  Tcooleen c(n);
  Tcouverture w(n);
  Tphoto p(n);

  // Fresh layers are zero everywhere: the colour layer is black.
  for (int j = 1; j <= n; ++j)
    for (int i = 1; i <= n + 1 - j; ++i) {
      ASSERT_EQ(p.lire(i, j), Rgb{});
      ASSERT_EQ(c.lire(i, j), 0);
    }

  c.ecrire(n, 1, 200);
  c.ecrire(1, n, 128);
  EXPECT_EQ(c.lire(n, 1), 200);
  EXPECT_EQ(c.lire(1, n), 128);
  c.ecrire(2, n, 9);
  EXPECT_EQ(c.lire(2, n), 0);
  EXPECT_EQ(c.lire(0, 5), 0);

  w.ecrire(n, 1, 65535, 7);
  std::uint16_t a = 11, b = 22;
  w.lire(n, 1, a, b);
  EXPECT_EQ(a, 65535);
  EXPECT_EQ(b, 7);
  a = 11;
  b = 22;
  w.ecrire(n + 1, 1, 1, 1);
  w.lire(n + 1, 1, a, b);
  w.lire(0, 5, a, b);
  w.lire(2, n, a, b);
  EXPECT_EQ(a, 11);
  EXPECT_EQ(b, 22);

  p.ecrire(1, n, 0x00102030u);
  Rgb couleur;
  p.lire(1, n, couleur);
  EXPECT_EQ(couleur.r, 0x30);
  EXPECT_EQ(couleur.g, 0x20);
  EXPECT_EQ(couleur.b, 0x10);
  p.ecrire(2, n, 0x00FFFFFFu);
  couleur = Rgb{1, 2, 3};
  p.lire(2, n, couleur);
  EXPECT_EQ(couleur, Rgb{});
  EXPECT_EQ(p.lire(0, 5), Rgb{});
  EXPECT_EQ(p.lire(n, 2), Rgb{});
}

INSTANTIATE_TEST_SUITE_P(Degres, Reseaux, ::testing::Values(4, 11));

TEST(Reseaux, SizeIsChecked) {
  EXPECT_THROW(Tnoeud(0), ModelError);
  EXPECT_THROW(Tcooleen(2050), ModelError);
  EXPECT_NO_THROW(Tphoto(2049));
}

TEST(Reseaux, CopiesAreDeep) {
  Tnoeud a(17);
  a.ecrire(4, 4, 10);
  Tnoeud b = a;
  b.ecrire(4, 4, 20);
  EXPECT_EQ(a.lire(4, 4), 10);
  EXPECT_EQ(b.lire(4, 4), 20);
}

// The preview sample reads the lines the dialogs expect, and nothing outside
// its triangle.
TEST(Echantillon36, LinesAndHeights) {
  EXPECT_EQ(ligne_echantillon(1, 129), 3);
  EXPECT_EQ(ligne_echantillon(2, 129), 7);
  EXPECT_EQ(ligne_echantillon(18, 129), 64);
  EXPECT_EQ(ligne_echantillon(35, 129), 125);
  EXPECT_EQ(ligne_echantillon(36, 129), 128);
  EXPECT_EQ(ligne_echantillon(1, 17), 3);
  EXPECT_EQ(ligne_echantillon(2, 17), 1);
  EXPECT_EQ(ligne_echantillon(18, 17), 8);
  EXPECT_EQ(ligne_echantillon(36, 17), 16);
  Tmatrice t(parametres_test(7));
  for (int i = 1; i <= t.n; ++i)
    for (int j = 1; j <= t.n; ++j) t.hauteurs->ecrire(i, j, 10 * i + j);
  const Echantillon36 e = echantillonner_36(t);
  EXPECT_EQ(e[2][18], 134);
  EXPECT_EQ(e[20][20], Tnoeud::hors_reseau);
  EXPECT_EQ(e[0][5], Tnoeud::hors_reseau);
}
