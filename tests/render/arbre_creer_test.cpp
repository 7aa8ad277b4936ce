#include <gtest/gtest.h>

#include "render/especes.h"
#include "tests/render/arbre_aide.h"

namespace {

int niveau_de(const param_vue& vue, int espece, int variantes, bool detail = false, int hauteur = 25) {
  auto c = couche_type(espece);
  c.hauteur = hauteur;
  return Tarbre::creer(vue, detail, variantes, c)->niveau;
}

}  // namespace

TEST(TarbreCreer, VariantsAndLevelsFollowDistanceAndRequest) {
  param_vue v = vue_type();
  auto a = Tarbre::creer(v, false, 30, couche_type(1));
  EXPECT_EQ(a->nb_variantes, 24);
  EXPECT_EQ(a->niveau, 4);
  EXPECT_EQ(Tarbre::creer(v, false, 0, couche_type(1))->nb_variantes, 1);

  // One variant at the asked level, whatever the distance.
  for (double d : {1.0, 8.0, 15.0, 50.0}) {
    v.distance = d;
    auto b = Tarbre::creer(v, false, -5, couche_type(1));
    EXPECT_EQ(b->nb_variantes, 1);
    EXPECT_EQ(b->niveau, 5) << d;
  }

  // Distance bands, the foreground flag and the Fir's floor.
  v = vue_type();
  const double distances[] = {5.99, 6, 11.99, 12, 19.99, 20, 25};
  const int oak[] = {4, 3, 3, 2, 2, 1, 1};
  for (int i = 0; i < 7; ++i) {
    v.distance = distances[i];
    EXPECT_EQ(niveau_de(v, 1, 6), oak[i]) << distances[i];
    EXPECT_EQ(niveau_de(v, 2, 6), std::max(2, oak[i])) << distances[i];
  }
  v.premier_plan = 1;
  EXPECT_EQ(niveau_de(v, 1, 6), 4);

  // Close single trees of the big species.
  v = vue_type();
  v.distance = 5.9;
  EXPECT_EQ(niveau_de(v, 1, 1, false, 25), 5);
  EXPECT_EQ(niveau_de(v, 1, 1, false, 35), 6);
  EXPECT_EQ(niveau_de(v, 1, 1, false, 20), 4);
  EXPECT_EQ(niveau_de(v, 1, 6, false, 35), 4);
  EXPECT_EQ(niveau_de(v, 1, 1, true, 35), 4);
  EXPECT_EQ(niveau_de(v, 5, 1, false, 35), 4);
  v.distance = 6;
  EXPECT_EQ(niveau_de(v, 1, 1, false, 35), 3);
}

TEST(TarbreCreer, FirDetailAndSpeciesClamps) {
  param_vue v = vue_type();
  v.distance = 25;
  EXPECT_EQ(niveau_de(v, 2, 1), 2);
  v.detail_plus = 1;
  EXPECT_EQ(niveau_de(v, 2, -6, true), 5);
  EXPECT_EQ(niveau_de(v, 2, -7, true), 6);
  EXPECT_EQ(niveau_de(v, 2, -9, true), 6);
  EXPECT_EQ(niveau_de(v, 1, -7, true), 7);  // only the Fir is held back
  v.detail_plus = 0;
  EXPECT_EQ(niveau_de(v, 2, -7, true), 6);
  EXPECT_EQ(niveau_de(v, 5, -5, true), 4);
  EXPECT_EQ(niveau_de(v, 8, -7, true), 4);
  EXPECT_EQ(niveau_de(v, 1, -9, true), 7);
  EXPECT_EQ(niveau_de(v, 1, -2147483647 - 1, true), 7);
  EXPECT_EQ(niveau_de(v, 0, 6), 1);
  EXPECT_EQ(niveau_de(v, 9, -5, true), 1);
}

TEST(TarbreCreer, CapacitiesAndArraysFollowTheTable) {
  param_vue v = vue_type();
  for (int sp = 0; sp <= 9; ++sp) {
    auto a = Tarbre::creer(v, true, -7, couche_type(sp));
    const auto table = capacites_de(sp);
    for (int l = 0; l < 8; ++l) EXPECT_EQ(a->capacite[l], table[l] + 2) << sp << " " << l;
    ASSERT_EQ(a->segments.size(), 1u);
    ASSERT_EQ(a->segments[0].size(), static_cast<std::size_t>(a->niveau) + 1);
    for (int l = 0; l <= a->niveau; ++l) EXPECT_EQ(a->segments[0][l].size(), a->capacite[l]);
    // Nothing is generated yet.
    for (const auto& par_niveau : a->nb_segments)
      for (auto n : par_niveau) EXPECT_EQ(n, 0);
    EXPECT_EQ(a->echelle, 0);
  }
  auto palm = Tarbre::creer(v, true, -5, couche_type(5));
  EXPECT_EQ(palm->capacite[5], 2);

  auto b = Tarbre::creer(v, false, 12, couche_type(3));
  EXPECT_EQ(b->segments.size(), 12u);
  EXPECT_EQ(b->espece, 3);
  EXPECT_EQ(b->conifere, 0);
  EXPECT_EQ(b->espece_simple, 0);
  EXPECT_EQ(Tarbre::creer(v, false, 1, couche_type(4))->conifere, 1);
  for (int sp : {2, 5, 6, 7, 8}) EXPECT_EQ(Tarbre::creer(v, false, 1, couche_type(sp))->espece_simple, 1) << sp;
}
