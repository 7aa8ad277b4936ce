#include "render/balayage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <array>
#include <cmath>
#include <map>
#include <set>
#include <vector>

#include "render/subdivision.h"

using namespace render;

namespace {

using Noeud = std::pair<int, int>;
using Tri = std::array<Noeud, 3>;

Tri trie(Tri t) {
  std::sort(t.begin(), t.end());
  return t;
}

// Records the triangles that a sweep draws (the first call of a row draws nothing).
struct Enregistreur {
  int s = 1;
  int annuler_apres = -1;  // rows before a cancel
  int rangees = 0;
  bool drapeau = false;
  std::vector<Tri> dessines;
  std::vector<TriangleBalayage> details;
  std::vector<Noeud> noeuds;
  std::vector<std::size_t> noeud_de;  // visited node of each drawn triangle
  bool annule() { return annuler_apres >= 0 && rangees >= annuler_apres; }
  std::int32_t pas() { return s; }
  void debut_rangee() { drapeau = false; }
  void noeud(int i, int j) { noeuds.push_back({i, j}); }
  void triangle(const TriangleBalayage& t) {
    if (!drapeau) {
      drapeau = true;
      return;
    }
    dessines.push_back(Tri{Noeud{t.i[0], t.j[0]}, Noeud{t.i[1], t.j[1]}, Noeud{t.i[2], t.j[2]}});
    details.push_back(t);
    noeud_de.push_back(noeuds.size());
  }
  void fin_noeud() {}
  void fin_rangee() { ++rangees; }
};

// Flat plane position of a node: x falls and y rises with i, y rises with j.
double profondeur(Noeud p, double A) {
  const double x = -0.8660254 * p.first, y = p.second + 0.5 * p.first;
  const double a = A * 3.14159265358979 / 180.0;
  return x * std::cos(a) + y * std::sin(a);  // larger is nearer the eye
}

double centre(const Tri& t, double A) {
  return (profondeur(t[0], A) + profondeur(t[1], A) + profondeur(t[2], A)) / 3.0;
}

const int n = 17;

}  // namespace

TEST(Balayage, EveryInnerTriangleOnceAndFarBeforeNear) {
  for (double A : {10.0, 30.0, 45.0, 60.0, 75.0, 100.0, 119.0, 120.0, 150.0, 179.0, 180.0, 200.0, 239.0, 240.0,
                   260.0, 299.0, 300.0, 330.0, 359.0}) {
    for (int e : {0, 1}) {
      Enregistreur v;
      parcourir(A, n, e, v);
      std::map<Tri, int> compte;
      for (const Tri& t : v.dessines) ++compte[trie(t)];
      for (int i = 2; i <= n; ++i)
        for (int j = 2; i + j <= n - 2; ++j) {
          const Tri t1 = trie({Noeud{i, j}, {i + 1, j}, {i, j + 1}});
          const Tri t2 = trie({Noeud{i + 1, j}, {i, j + 1}, {i + 1, j + 1}});
          EXPECT_EQ(compte[t1], 1) << "A " << A << " cell " << i << "," << j;
          EXPECT_EQ(compte[t2], 1) << "A " << A << " cell " << i << "," << j;
        }
      // Two triangles that share an edge: the farther one is drawn first.
      std::map<std::pair<Noeud, Noeud>, std::vector<std::size_t>> aretes;
      for (std::size_t k = 0; k < v.dessines.size(); ++k) {
        const Tri t = trie(v.dessines[k]);
        aretes[{t[0], t[1]}].push_back(k);
        aretes[{t[0], t[2]}].push_back(k);
        aretes[{t[1], t[2]}].push_back(k);
      }
      for (const auto& [arete, liste] : aretes) {
        // The two triangles of one node come in the table's fixed order.
        if (liste.size() != 2 || v.noeud_de[liste[0]] == v.noeud_de[liste[1]]) continue;
        const double premier = centre(v.dessines[liste[0]], A), second = centre(v.dessines[liste[1]], A);
        EXPECT_LE(premier, second + 1e-6) << "A " << A << " edge " << arete.first.first << "," << arete.first.second;
      }
    }
  }
}

TEST(Balayage, NeighbourFlagClosesTheCellPassed) {
  for (double A : {30.0, 90.0, 150.0, 210.0, 270.0, 330.0}) {
    Enregistreur v;
    parcourir(A, n, 0, v);
    std::map<Tri, std::size_t> ordre;
    for (std::size_t k = 0; k < v.dessines.size(); ++k) ordre[trie(v.dessines[k])] = k;
    int drapeaux = 0;
    for (std::size_t k = 0; k < v.details.size(); ++k) {
      const TriangleBalayage& t = v.details[k];
      if (!t.voisin) continue;
      ++drapeaux;
      const int i = t.cellule_i, j = t.cellule_j;
      const Tri t1 = trie({Noeud{i, j}, {i + 1, j}, {i, j + 1}});
      const Tri t2 = trie({Noeud{i + 1, j}, {i, j + 1}, {i + 1, j + 1}});
      const Tri moi = trie(v.dessines[k]);
      ASSERT_TRUE(moi == t1 || moi == t2) << "A " << A;
      const Tri autre = moi == t1 ? t2 : t1;
      if (ordre.count(autre)) {
        EXPECT_LT(ordre[autre], k) << "A " << A;
      }
    }
    EXPECT_GT(drapeaux, 50);
  }
}

TEST(Balayage, FlatSignsBySector) {
  // +1 where the vertex orders already give an upward normal.
  const std::map<double, int> attendu = {{30, 1}, {90, -1}, {150, 1}, {210, -1}, {270, 1}, {330, -1}};
  for (const auto& [A, signe] : attendu) {
    Enregistreur v;
    parcourir(A, n, 0, v);
    for (const TriangleBalayage& t : v.details) ASSERT_EQ(t.signe, signe) << "A " << A;
  }
}

TEST(Balayage, StrideCancelAndBoundaries) {
  Enregistreur v;
  v.s = 4;
  parcourir(150.0, n, 0, v);
  for (const Noeud& p : v.noeuds) {
    EXPECT_EQ(p.first % 4, 0);
    EXPECT_EQ(p.second % 4, 0);
  }
  EXPECT_FALSE(v.noeuds.empty());

  Enregistreur c;
  c.annuler_apres = 2;
  parcourir(150.0, n, 0, c);
  EXPECT_EQ(c.rangees, 2);

  EXPECT_EQ(secteur(60.0), 0);
  EXPECT_EQ(secteur(120.0), 2);
  EXPECT_EQ(secteur(180.0), 3);
  EXPECT_EQ(secteur(240.0), 4);
  EXPECT_EQ(secteur(300.0), 5);
}

// Twice the signed area of a triangle of lattice nodes.
long aire2(const Tri& t) {
  return long(t[1].first - t[0].first) * (t[2].second - t[0].second) -
         long(t[1].second - t[0].second) * (t[2].first - t[0].first);
}

// Whether the point (3i, 3j) / 3 lies inside t (or on its border).
bool contient(const Tri& t, long i3, long j3) {
  int positifs = 0, negatifs = 0;
  for (int k = 0; k < 3; ++k) {
    const Noeud a = t[std::size_t(k)], b = t[std::size_t((k + 1) % 3)];
    const long c = long(b.first - a.first) * 3 * (j3 - 3L * a.second) - long(b.second - a.second) * 3 * (i3 - 3L * a.first);
    if (c > 0) ++positifs;
    if (c < 0) ++negatifs;
  }
  return positifs == 0 || negatifs == 0;
}

// A strided picture reaches the lattice's three edges (where the edge wall
// stands): every unit triangle of the lattice lies under one drawn triangle,
// and drawn triangles never overlap. Without the edge nodes, the strips
// within the stride of the edges stayed empty and sky showed under the land.
TEST(Balayage, StridedWalksReachEveryEdge) {
  const int taille = 33;
  for (int s : {2, 3, 4, 5, 7}) {
    for (double A : {30.0, 90.0, 150.0, 210.0, 270.0, 330.0}) {
     for (int e : {0, 1}) {
      Enregistreur v;
      v.s = s;
      parcourir(A, taille, e, v);
      long total = 0;
      std::vector<Tri> pleins;
      for (const Tri& t : v.dessines) {
        for (const Noeud& p : t) {
          ASSERT_GE(p.first, 1);
          ASSERT_GE(p.second, 1) << "s " << s << " A " << A << " " << t[0].first << "," << t[0].second << " " << t[1].first << "," << t[1].second << " " << t[2].first << "," << t[2].second;
          ASSERT_LE(p.first + p.second, taille + 1) << "s " << s << " A " << A;
        }
        const long a = std::labs(aire2(t));
        if (a == 0) continue;
        total += a;
        pleins.push_back(t);
      }
      int trous = 0;
      for (int i = 1; i < taille; ++i)
        for (int j = 1; i + j <= taille; ++j) {
          if (std::none_of(pleins.begin(), pleins.end(), [&](const Tri& t) { return contient(t, 3L * i + 1, 3L * j + 1); }))
            ++trous;
          if (i + j + 1 <= taille &&
              std::none_of(pleins.begin(), pleins.end(), [&](const Tri& t) { return contient(t, 3L * i + 2, 3L * j + 2); }))
            ++trous;
        }
      EXPECT_EQ(trous, 0) << "s " << s << " A " << A << " e " << e;
      EXPECT_LE(total, long(taille - 1) * (taille - 1)) << "s " << s << " A " << A;
     }
    }
  }
}

TEST(SousReseau, EveryTriangleOnceCellsFarToNear) {
  for (double A = 5.0; A < 360.0; A += 10.0) {
    const int m = 9;
    std::vector<Tri> tris;
    std::vector<std::int8_t> signes;
    parcourir_sous_reseau(A, m, [&](const SousTriangle& t) {
      tris.push_back(Tri{Noeud{t.c[0], t.r[0]}, {t.c[1], t.r[1]}, {t.c[2], t.r[2]}});
      signes.push_back(t.signe);
    });
    ASSERT_EQ(tris.size(), std::size_t(2 * (m - 1) * (m - 1)));
    std::set<Tri> uniques;
    for (const Tri& t : tris) uniques.insert(trie(t));
    EXPECT_EQ(uniques.size(), tris.size());
    std::map<std::pair<Noeud, Noeud>, std::vector<std::size_t>> aretes;
    for (std::size_t k = 0; k < tris.size(); ++k) {
      const Tri t = trie(tris[k]);
      aretes[{t[0], t[1]}].push_back(k);
      aretes[{t[0], t[2]}].push_back(k);
      aretes[{t[1], t[2]}].push_back(k);
      // The flat sign makes the normal of every sub-triangle point up.
      const Tri& o = tris[k];
      const double ax = -0.8660254 * o[0].first, ay = o[0].second + 0.5 * o[0].first;
      const double bx = -0.8660254 * o[1].first, by = o[1].second + 0.5 * o[1].first;
      const double cx = -0.8660254 * o[2].first, cy = o[2].second + 0.5 * o[2].first;
      EXPECT_GT(((bx - ax) * (cy - ay) - (by - ay) * (cx - ax)) * signes[k], 0.0);
    }
    // Of two neighbouring sub-cells the farther comes first (the two triangles
    // of a cell come one after the other).
    std::map<Noeud, std::size_t> rang;
    for (std::size_t k = 0; k < tris.size(); k += 2) {
      const Tri& t = tris[k];
      const Tri& u = tris[k + 1];
      const Noeud cel{std::min({t[0].first, t[1].first, t[2].first}), std::min({t[0].second, t[1].second, t[2].second})};
      EXPECT_EQ(cel, (Noeud{std::min({u[0].first, u[1].first, u[2].first}), std::min({u[0].second, u[1].second, u[2].second})}));
      rang[cel] = k;
    }
    for (const auto& [cel, k] : rang)
      for (const Noeud& voisin : {Noeud{cel.first + 1, cel.second}, Noeud{cel.first, cel.second + 1}}) {
        if (!rang.count(voisin)) continue;
        const bool voisin_plus_pres = profondeur(voisin, A) > profondeur(cel, A);
        EXPECT_EQ(rang[voisin] > k, voisin_plus_pres) << "A " << A << " cell " << cel.first << "," << cel.second;
      }
  }
}

// The integer half-extents and centres are Round of the doubles, halves and
// signs included: every small case, the ends of the int32 range, and a
// spread of random ones.
TEST(Subdivision, IntegerHalvesAndThirdsAreRoundOfTheDoubles) {
  for (std::int64_t e = 0; e <= 5000; ++e) {
    ASSERT_EQ(demi_arrondie(e), Round(double(e) * 0.5)) << e;
  }
  for (std::int64_t e : {std::int64_t(1) << 30, (std::int64_t(1) << 31) - 2, (std::int64_t(1) << 31) - 1})
    EXPECT_EQ(demi_arrondie(e), Round(double(e) * 0.5)) << e;
  EXPECT_THROW(demi_arrondie((std::int64_t(1) << 32) - 1), ModelError);  // as Round refuses it

  auto tiers = [](std::int32_t a, std::int32_t b, std::int32_t c) { return Round((double(a) + b + c) / 3.0); };
  for (std::int32_t a = -9; a <= 9; ++a)
    for (std::int32_t b = -9; b <= 9; ++b)
      for (std::int32_t c = -9; c <= 9; ++c) {
        ASSERT_EQ(tiers_arrondi(a, b, c), tiers(a, b, c)) << a << " " << b << " " << c;
      }
  constexpr std::int32_t lo = INT32_MIN, hi = INT32_MAX;
  const std::int32_t bouts[] = {lo, lo + 1, lo + 2, -(1 << 30), -1, 0, 1, 1 << 30, hi - 2, hi - 1, hi};
  for (std::int32_t a : bouts)
    for (std::int32_t b : bouts)
      for (std::int32_t c : bouts) {
        ASSERT_EQ(tiers_arrondi(a, b, c), tiers(a, b, c)) << a << " " << b << " " << c;
      }
  std::uint64_t x = 88172645463325252ull;
  auto suivant = [&x] {
    x ^= x << 13;
    x ^= x >> 7;
    x ^= x << 17;
    return x;
  };
  for (int k = 0; k < 200000; ++k) {
    // Screen-sized values mostly, and any int32 now and then.
    const bool large = k % 8 == 0;
    auto valeur = [&] {
      return large ? std::int32_t(std::uint32_t(suivant())) : std::int32_t(suivant() % 8192) - 4096;
    };
    const std::int32_t a = valeur(), b = valeur(), c = valeur();
    ASSERT_EQ(tiers_arrondi(a, b, c), tiers(a, b, c)) << a << " " << b << " " << c;
    const std::int64_t e = std::int64_t(std::max({a, b, c})) - std::min({a, b, c});
    if (e < (std::int64_t(1) << 31)) {
      ASSERT_EQ(demi_arrondie(e), Round(double(e) * 0.5)) << e;
    }
  }
}

TEST(Subdivision, LevelsAmplitudesAndOffsets) {
  EXPECT_TRUE(a_subdiviser(17, 20, 1e9, 100));
  EXPECT_EQ((1 << niveau_subdivision(17, 20)) + 1, 17);
  EXPECT_EQ((1 << niveau_subdivision(10, 20)) + 1, 9);
  EXPECT_FALSE(a_subdiviser(16, 16, 1e9, 100));
  EXPECT_TRUE(a_subdiviser(3, 1, 150, 100));
  EXPECT_EQ(niveau_subdivision(40, 40), 5);

  const std::array<double, 5> stable{0.8, 0.8, 0.8, 0.8, 0.8};
  EXPECT_DOUBLE_EQ(amplitude_terre(0.8, stable, 0, 3), 0.02);
  EXPECT_DOUBLE_EQ(amplitude_terre(0.8, stable, 10, 3), 1.0);
  EXPECT_DOUBLE_EQ(amplitude_terre(0.8, stable, 10, 2), 0.5);
  EXPECT_DOUBLE_EQ(amplitude_eau(0.5, 30, 9), 0.75);
  EXPECT_DOUBLE_EQ(borner_amplitude(20.0, 0.9), 12.0);
  EXPECT_DOUBLE_EQ(borner_amplitude(20.0, 0.3), 6.0);
  EXPECT_DOUBLE_EQ(borner_amplitude(20.0, 0.1), 3.0);

  for (int niveau = 2; niveau <= 5; ++niveau) {
    const int m = (1 << niveau) + 1;
    GrilleDecalages g;
    Generateur gen(99);
    int tirages = 0;
    remplir_decalages(g, niveau, 12.0, [&] {
      ++tirages;
      return gen.tirer();
    });
    // Six draws per square per level.
    int attendu = 0;
    for (int t = 1 << (niveau - 1); t > 1; t /= 2) attendu += 6 * ((m - 1) / t) * ((m - 1) / t);
    EXPECT_EQ(tirages, attendu);
    bool interieur = false;
    for (int k = 0; k <= m + 1; ++k) {
      EXPECT_EQ(g(1, k), 0);
      EXPECT_EQ(g(k, 1), 0);
      EXPECT_EQ(g(m, k), 0);
      EXPECT_EQ(g(k, m), 0);
    }
    for (int a = 2; a < m; ++a)
      for (int b = 2; b < m; ++b) interieur = interieur || g(a, b) != 0;
    EXPECT_TRUE(interieur) << niveau;
  }
}
