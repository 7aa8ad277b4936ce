// Near-zone detail: the rules that decide whether a lattice cell close to the
// eye is drawn again as a finer sub-lattice, the fractal height offsets of
// that sub-lattice, and the far-to-near order of its sub-triangles.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "model/aleatoire.h"
#include "render/balayage.h"

namespace render {

// Offsets of a sub-lattice of up to 33 x 33 nodes, indexed 0..m + 1 both ways.
struct GrilleDecalages {
  static constexpr int cote = 35;
  std::array<std::int32_t, cote * cote> v{};
  std::int32_t& operator()(int a, int b) { return v[std::size_t(a) * cote + std::size_t(b)]; }
  std::int32_t operator()(int a, int b) const { return v[std::size_t(a) * cote + std::size_t(b)]; }
};

// Whether a facet of screen half-extents wx, wy at depth `profondeur` gets a
// sub-lattice, given the sub-lattice depth of the picture.
inline bool a_subdiviser(std::int32_t wx, std::int32_t wy, double profondeur, double profondeur_sous) {
  return wx > 16 || wy > 16 || (profondeur < 2.0 * profondeur_sous && (wx > 2 || wy > 2));
}

// A facet's screen half-extents and centre pixel, in integers, equal to what
// Round gives of the doubles they were first computed as, for every int32
// input; the facet drawing makes them for every facet.
//
// Round(e / 2) of an extent e >= 0 (halves to even): e / 2 when e is even,
// else the even one of (e - 1) / 2 and (e + 1) / 2. Extents of 2^31 and more
// are left to Round, which refuses their half.
inline std::int32_t demi_arrondie(std::int64_t e) {
  if (e >= (std::int64_t(1) << 31)) return Round(double(e) * 0.5);
  return std::int32_t((e + ((e >> 1) & 1)) >> 1);
}
// Round((double(a) + b + c) / 3.0): the sum is exact in a double and its third
// never lies within 1/6 of a half, so Round gives the nearest integer,
// floor((a + b + c + 1) / 3). The sum is moved by a multiple of 3 above 0 so
// that the division rounds down.
inline std::int32_t tiers_arrondi(std::int32_t a, std::int32_t b, std::int32_t c) {
  constexpr std::int64_t decalage = std::int64_t(3) << 32;
  const std::uint64_t n = std::uint64_t(std::int64_t(a) + b + c + 1 + decalage);
  return std::int32_t(std::int64_t(n / 3) - decalage / 3);
}

// Sub-lattice level 2..5 of half-extents wx, wy; m = 2^level + 1.
inline int niveau_subdivision(std::int32_t wx, std::int32_t wy) {
  if (wx < 6 || wy < 6) return 2;
  if (wx < 16 || wy < 16) return 3;
  if (wx < 32 || wy < 32) return 4;
  return 5;
}

// Roughness amplitude of a land facet: slope cosine p, the five last slope
// cosines (newest first), the view's roughness r and the level.
double amplitude_terre(double p, const std::array<double, 5>& historique, std::int32_t rugosite, int niveau);
// Roughness amplitude of a water facet.
double amplitude_eau(double p, std::int32_t agitation, std::int32_t degre);
// The caps applied to both.
double borner_amplitude(double A, double p);

// Fills the offsets of a sub-lattice of the given level with amplitude A;
// `tirer` gives uniform draws in [0, 1). Every edge offset of the cell stays 0.
template <class Tirage>
void remplir_decalages(GrilleDecalages& g, int niveau, double A, Tirage&& tirer) {
  g.v.fill(0);
  const int m = (1 << niveau) + 1;
  double M = 2000.0;
  int t = 1 << (niveau - 1);
  auto deplacement = [&]() {
    double d = tirer() * M * A / 100.0;
    if (tirer() > 0.5) d = -d;
    return d;
  };
  while (t > 1) {
    const int h = t / 2;
    for (int a = 1; a <= m - t; a += t) {
      for (int b = 1; b <= m - t; b += t) {
        const int a2 = a + h, b2 = b + h;
        double d = deplacement();
        g(a, b2) = Round((g(a, b) + g(a, b + t)) * 0.5 + d);
        d = deplacement();
        g(a2, b) = Round((g(a, b) + g(a + t, b)) * 0.5 + d);
        d = deplacement();
        g(a2, b2) = Round((g(a + t, b) + g(a, b + t)) * 0.5 + d);
      }
    }
    t /= 2;
    M = Round(M * 0.5);
  }
  for (int k = 0; k <= m + 1; ++k) {
    g(1, k) = 0;
    g(k, 1) = 0;
    g(m + 1, k) = 0;
    g(k, m + 1) = 0;
  }
}

// One sub-triangle: sub-nodes (c, r) in the order given to the facet.
struct SousTriangle {
  int c[3];
  int r[3];
  std::int8_t signe;
};

// The sub-triangles of an m x m sub-lattice, far to near for the view azimuth A
// (c runs along the lattice's i axis, r along its j axis).
template <class F>
void parcourir_sous_reseau(double A, int m, F&& f) {
  const bool i_montant = A > 60.0 && A < 240.0;
  const bool j_montant = A > 0.0 && A < 180.0;
  const bool premier_loin = A > 30.0 && A < 210.0;
  const std::int8_t signe1 = signe_plat(1, 0, 0, 1);
  const std::int8_t signe2 = signe_plat(0, -1, -1, 0);
  for (int kr = 0; kr < m - 1; ++kr) {
    const int r = j_montant ? 1 + kr : m - 1 - kr;
    for (int kc = 0; kc < m - 1; ++kc) {
      const int c = i_montant ? 1 + kc : m - 1 - kc;
      const SousTriangle t1{{c, c + 1, c}, {r, r, r + 1}, signe1};
      const SousTriangle t2{{c + 1, c + 1, c}, {r + 1, r, r + 1}, signe2};
      if (premier_loin) {
        f(t1);
        f(t2);
      } else {
        f(t2);
        f(t1);
      }
    }
  }
}

}  // namespace render
