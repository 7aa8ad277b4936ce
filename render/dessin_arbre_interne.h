// The working values of one tree drawing, shared by the trunk and branch
// strokes, the foliage, the symbols.
#pragma once

#include <cmath>

#include "model/aleatoire.h"
#include "render/arbre.h"
#include "render/canevas_arbre.h"
#include "render/palette.h"

namespace render::detail_arbre {

enum : int { Chene = 1, Sapin = 2, Peuplier = 3, Pin = 4, Palmier = 5, Mais = 6, Cactus = 7, Buisson = 8 };

// a + b kept within the raster layer's coordinate range.
inline std::int32_t somme(std::int64_t a, std::int64_t b) {
  constexpr std::int64_t k = std::int64_t(1) << 30;
  const std::int64_t v = a + b;
  return std::int32_t(v < -k ? -k : (v > k ? k : v));
}

struct Dessin {
  Tarbre& t;
  CanevasArbre& cv;
  const TMyPalette& pal;
  std::int32_t F = 4, M = 0;
  Point pied;
  double s = 0.0;
  bool S = false;         // snow-covered
  std::int32_t neige = 0; // 0 when snow-covered
  bool ombre = false;
  std::int32_t L = 0, Lp = 0, q = 5;
  bool au_trait = false, video = false;
  double t_vue = 0.0;     // inclinaison_vue
  // Segment rendition.
  std::int32_t l = 1, v = 1;
  double c = 0.0, sc = 1.0;
  double w0 = 0.0, h0 = 0.0, h0b = 0.0, ts = 0.0;
  std::int32_t T = 0;
  // The current segment.
  const segment* seg = nullptr;
  std::int32_t i = 0;
  std::int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0, dx = 0, dy = 0;
  double lambda = 0.0;
  std::int32_t rho = 0;
  std::int32_t w1 = 1;
  std::int32_t cE = 0;
  // Foliage of the current segment.
  std::int32_t col = 0, rk = 0;
  std::int32_t hw = 0, hh = 0;
  double fa = 0.0, fb = 0.0;
  std::int32_t y_feuille = 0;

  Dessin(Tarbre& t, CanevasArbre& cv, const TMyPalette& pal) : t(t), cv(cv), pal(pal) {}

  CouleurArbre couleur(std::int32_t index) const {
    return {index, pixel_of(pal.couleur(index, M))};
  }
  std::int32_t rampe(std::int32_t n, std::int32_t j) const { return 18 + 12 * F * (n - 1) + j; }
  std::int32_t bande(std::int32_t n, std::int32_t j) const { return 18 + 108 * F + 6 * F * (n - 1) + j; }
  std::int32_t neige_pos(std::int32_t j) const { return rampe(6, j); }
  // A model point drawn on the canvas.
  Point point(double x, double y) const {
    return {somme(pied.x, Round(x * ts)), somme(pied.y, -std::int64_t(T) - Round(y * ts))};
  }
};

void feuillage(Dessin& d);
void symbole(Dessin& d);
void trait(Dessin& d);

inline std::int32_t nearest(double x) { return Round(x); }

}  // namespace render::detail_arbre
