#include "render/especes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

struct resume {
  int espece;
  char modele;  // 't' trunk, 'b' branch, 'g' cluster
  int lignes, chaines, bouts, bois, pousses, grappes;
  double hauteur, cote;
  double largeur_min, largeur_max;  // trunk only
};

// The shape summary every template must match.
const resume k_resumes[] = {
    {1, 't', 17, 5, 0, 2, 10, 0, 5.8, 2.2, 3, 7},     {1, 'b', 7, 2, 2, 1, 2, 0, 4.9, 1.4, 0, 0},
    {2, 't', 16, 7, 0, 2, 6, 1, 3.2, 1.5, 2, 6},      {2, 'b', 6, 3, 0, 0, 3, 0, 1.6, 2.6, 0, 0},
    {2, 'g', 10, 4, 1, 1, 3, 1, 2.4, 1.2, 0, 0},      {3, 't', 11, 3, 0, 0, 7, 1, 5.8, 2.2, 2.5, 5},
    {3, 'b', 6, 2, 2, 0, 2, 0, 4, 1.1, 0, 0},         {3, 'g', 11, 3, 1, 3, 3, 1, 4.6, 2, 0, 0},
    {4, 't', 26, 8, 0, 5, 13, 0, 9.4, 4.6, 3, 6.4},   {4, 'b', 6, 2, 2, 0, 2, 0, 4.2, 2.2, 0, 0},
    {5, 't', 48, 8, 24, 8, 8, 0, 10.2, 4.3, 1, 7},    {5, 'b', 3, 1, 1, 0, 1, 0, 4, 0, 0, 0},
    {6, 't', 13, 4, 0, 4, 4, 1, 3.8, 2.5, 6, 9},      {6, 'b', 3, 1, 0, 1, 1, 0, 3.6, 0, 0, 0},
    {6, 'g', 10, 3, 0, 3, 3, 1, 4.9, 2.7, 0, 0},      {7, 't', 10, 3, 5, 0, 2, 0, 7, 1, 5, 7},
    {7, 'b', 8, 2, 2, 2, 2, 0, 6, 1.5, 0, 0},         {8, 't', 18, 6, 0, 0, 12, 0, 0.9, 2.2, 3, 5},
    {8, 'b', 6, 3, 0, 0, 3, 0, 2.4, 2.6, 0, 0},
};

std::span<const ligne_modele> modele(const regles_espece& r, char m) {
  return m == 't' ? r.tronc : m == 'b' ? r.branche : r.grappe;
}

}  // namespace

TEST(Especes, EveryTemplateMatchesItsShapeSummary) {
  int vus = 0;
  for (const resume& e : k_resumes) {
    const regles_espece* r = regles_de(e.espece);
    ASSERT_NE(r, nullptr);
    const auto lignes = modele(*r, e.modele);
    SCOPED_TRACE(std::to_string(e.espece) + e.modele);
    EXPECT_EQ(static_cast<int>(lignes.size()), e.lignes);
    int chaines = 1, par_genre[5] = {};
    double h = 0, cote = 0, wmin = 1e9, wmax = 0;
    for (std::size_t i = 0; i < lignes.size(); ++i) {
      const auto& l = lignes[i];
      if (i > 0) {
        ASSERT_LE(l.genre, 4);
        if (l.genre == 0)
          ++chaines;
        else
          ++par_genre[l.genre];
      }
      h = std::max(h, l.z);
      cote = std::max({cote, std::fabs(l.x), std::fabs(l.y)});
      wmin = std::min(wmin, l.largeur);
      wmax = std::max(wmax, l.largeur);
    }
    EXPECT_EQ(lignes[0].x, 0);
    EXPECT_EQ(lignes[0].y, 0);
    EXPECT_EQ(lignes[0].z, 0);
    EXPECT_EQ(chaines, e.chaines);
    EXPECT_EQ(par_genre[1], e.bouts);
    EXPECT_EQ(par_genre[2], e.bois);
    EXPECT_EQ(par_genre[3], e.pousses);
    EXPECT_EQ(par_genre[4], e.grappes);
    EXPECT_EQ(h, e.hauteur);
    EXPECT_EQ(cote, e.cote);
    if (e.modele == 't') {
      EXPECT_EQ(wmin, e.largeur_min);
      EXPECT_EQ(wmax, e.largeur_max);
    }
    ++vus;
  }
  EXPECT_EQ(vus, 19);
  // Clusters only where the species has them, and kind 4 only in their templates.
  for (int sp = 1; sp <= 8; ++sp) {
    const regles_espece* r = regles_de(sp);
    const bool avec = sp == 2 || sp == 3 || sp == 6;
    EXPECT_EQ(r->grappes != 0, avec) << sp;
    EXPECT_EQ(!r->grappe.empty(), avec) << sp;
    for (char m : {'t', 'b', 'g'})
      for (const auto& l : modele(*r, m)) {
        if (!avec) {
          EXPECT_NE(l.genre, 4) << sp << m;
        }
      }
  }
  EXPECT_EQ(regles_de(0), nullptr);
  EXPECT_EQ(regles_de(9), nullptr);
}

TEST(Especes, OakAndFirTemplatesAreTheReferenceShapes) {
  using V = std::vector<std::vector<double>>;
  auto table = [](std::span<const ligne_modele> t, bool largeurs) {
    V v;
    for (const auto& l : t) {
      v.push_back({l.x, l.y, l.z, double(l.genre)});
      if (largeurs) v.back().push_back(l.largeur);
    }
    return v;
  };
  const V oak_t = {{0, 0, 0, 0, 7},        {0.1, -0.1, 1.3, 2, 6},  {0.1, -0.1, 2.3, 2, 5},  {0.2, -0.2, 4.4, 3, 4},
                   {-0.1, -0.1, 5.8, 3, 3}, {0, 0, 0.01, 0, 5},     {-1.5, -1.3, 1.7, 3, 4}, {-1.8, -2.2, 3.2, 3, 3},
                   {0, 0, 0.01, 0, 5},     {1.5, 1.2, 1.4, 3, 4},   {1.8, 1.8, 2.8, 3, 3},   {0.1, -0.1, 2.31, 0, 5},
                   {1.2, -1.1, 3.6, 3, 4}, {1.4, -1.6, 5.4, 3, 3},  {0.1, -0.1, 2.31, 0, 5}, {-1.3, 1.1, 3.4, 3, 4},
                   {-1.4, 1.4, 5, 3, 3}};
  const V oak_b = {{0, 0, 0, 0}, {0, 0, 1, 2}, {0.9, -0.8, 2.7, 3}, {1.4, -1.2, 4.7, 1},
                   {0, 0, 1, 0}, {-0.9, 0.8, 2.9, 3}, {-1.4, 1.2, 4.9, 1}};
  const V fir_t = {{0, 0, 0, 0, 6},     {0, 0, 1.2, 2, 4},      {0, 0, 3, 2, 3.5},       {0, 0, 3.2, 4, 2.8},
                   {0, 0, 1.2, 0, 2.5}, {1.3, 0.75, 0.6, 3, 2}, {0, 0, 1.2, 0, 2.5},     {-1.3, 0.75, 0.6, 3, 2},
                   {0, 0, 1.2, 0, 2.5}, {0, -1.5, 0.6, 3, 2},   {0, 0, 3.2, 0, 2.5},     {1.05, 0.6, 2.6, 3, 2},
                   {0, 0, 3.2, 0, 2.5}, {-1.05, 0.6, 2.6, 3, 2}, {0, 0, 3.2, 0, 2.5},    {0, -1.2, 2.6, 3, 2}};
  const V fir_b = {{0, 0, 0, 0}, {0.3, 2.6, 0.8, 3}, {0, 0, 0, 0}, {0.3, -2.6, 0.8, 3}, {0, 0, 0, 0}, {0.3, 0, 1.6, 3}};
  const V fir_g = {{0, 0, 0, 0},   {0, 0, 1.8, 2},  {0, 0, 2.2, 4},    {0, 0, 2.4, 1},  {0, 0, 2.2, 0},
                   {1.05, 0.6, 1.6, 3}, {0, 0, 2.2, 0}, {-1.05, 0.6, 1.6, 3}, {0, 0, 2.2, 0}, {0, -1.2, 1.6, 3}};
  EXPECT_EQ(table(regles_de(1)->tronc, true), oak_t);
  EXPECT_EQ(table(regles_de(1)->branche, false), oak_b);
  EXPECT_EQ(table(regles_de(2)->tronc, true), fir_t);
  EXPECT_EQ(table(regles_de(2)->branche, false), fir_b);
  EXPECT_EQ(table(regles_de(2)->grappe, false), fir_g);
}

TEST(Especes, CapacityRowsAndLastLevels) {
  EXPECT_EQ(capacites_de(1)[7], 6364);
  EXPECT_EQ(capacites_de(2)[6], 11484);
  EXPECT_EQ(capacites_de(2)[7], 0);
  EXPECT_EQ(capacites_de(5)[5], 0);
  const int derniers[10] = {0, 7, 6, 7, 7, 4, 4, 4, 4, 0};
  for (int sp = 0; sp <= 9; ++sp) EXPECT_EQ(dernier_niveau_de(sp), derniers[sp]) << sp;
  for (auto c : capacites_de(9)) EXPECT_EQ(c, 0);
}
