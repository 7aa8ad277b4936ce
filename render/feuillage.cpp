// Foliage of a tip segment: the leaf colour, then oval leaves, quadrilateral
// leaves, needles or fronds by the model's form.
#include <algorithm>
#include <cmath>

#include "render/dessin_arbre_interne.h"

namespace render::detail_arbre {

namespace {

std::int32_t rang(const Dessin& d) { return d.seg->rang; }

void couleur_feuille(Dessin& d) {
  Tarbre& t = d.t;
  const std::int32_t F = d.F, rho = d.rho, teinte = d.seg->teinte;
  d.col = t.couleur_feuilles;
  d.rk = 0;
  if (t.taille_feuilles > 3 || (t.espece == Sapin && t.taille_feuilles > 2)) {
    if (!d.ombre) d.rk = (teinte >= 1 && teinte <= 4) ? teinte : (teinte == 5 ? d.q : 0);
    else d.rk = teinte < 4 ? 2 : 0;
    if (d.rk > 0) d.col = t.couleur_feuilles_ombre + (d.rk - 1) * F;
  }
  if (!d.S) {
    const std::int32_t tau = nearest(0.1 * rang(d)) % 10;
    if (d.neige > 0.8 * tau) {
      if (!d.ombre) d.col = d.rk == 0 ? d.neige_pos(10 * F) : d.neige_pos(d.rk * F + 4);
      else d.col = d.L > 6 * F ? d.bande(6, d.L - 6 * F) : d.neige_pos(6 * F);
    }
  }
  if (!d.ombre) {
    if (d.rk > 0) {
      if (rho > 4) d.col += F;
      if (rho > 6) d.col += F;
      if (F > 1 && rho > 5) d.col += 2;
    } else {
      if (rho > 4) d.col -= F;
      if (rho > 6) d.col -= F;
      if (F > 1 && rho > 7) d.col -= 2;
    }
  } else if (rho > 5 && d.rk == 0 && d.Lp > 9 * F) {
    d.col -= F;
  }
}

void feuille_ronde(Dessin& d, std::int64_t x, std::int64_t y, double f) {
  Tarbre& t = d.t;
  std::int64_t yc = y + nearest(d.h0b * f * (0.035 * t.poids * d.sc + 0.08 * d.c));
  std::int32_t hw = nearest(0.4 * f * d.w0 * (0.6 - 0.03 * d.rho)) + 1;
  std::int32_t hh =
      nearest((std::abs(0.05 * t.poids * d.sc) + 0.6) * 0.4 * f * d.h0 * (0.5 + 0.03 * ((rang(d) + 1) % 10))) + 1;
  if (t.poids >= 0 && y < yc - hh) yc = y + hh;
  if (t.poids < 0 && y > yc + hh) yc = y - hh;
  d.cv.stylo_vide();
  d.cv.pinceau_plein(d.couleur(d.col));
  d.cv.ellipse({somme(x, -hw), somme(yc, -hh)}, {somme(x, hw), somme(yc, hh)});
  if (d.l > 3 && d.rk < 2 && d.sc > 0.6 && hh > 5 && d.i % 10 > 4 && !d.ombre) {
    yc += nearest(0.85 * hh);
    hh = nearest(0.3 * hh);
    hw = nearest(0.6 * hw);
    d.cv.pinceau_plein(d.couleur(t.couleur_feuilles_ombre + 2 * d.F));
    d.cv.ellipse({somme(x, -hw), somme(yc, -hh)}, {somme(x, hw), somme(yc, hh)});
  }
  d.hw = hw;
  d.hh = hh;
}

void feuille(Dessin& d, std::int64_t x, std::int64_t y, double f) {
  Tarbre& t = d.t;
  auto u = [&](int k) { return (rang(d) + k) % 10; };
  const std::int64_t yc = y + nearest(d.h0b * f * (0.2 * d.c + 0.01 * t.poids));
  const double a = d.h0 * f * (1.2 - 0.04 * u(0));
  const double b = d.w0 * f * 1.5 * (1.2 - 0.04 * u(1));
  const Point q[4] = {{somme(x, -nearest((0.1 * u(3) + 0.3) * b)), somme(yc, -nearest((0.1 * u(2) - 0.1) * a))},
                      {somme(x, nearest((0.1 * u(5) + 0.3) * b)), somme(yc, -nearest((0.1 * u(4) - 0.1) * a))},
                      {somme(x, nearest((0.1 * u(7) + 0.3) * b)), somme(yc, nearest((0.1 * u(6) - 0.1) * a))},
                      {somme(x, -nearest((0.1 * u(9) + 0.3) * b)), somme(yc, nearest((0.1 * u(8) - 0.1) * a))}};
  d.cv.stylo_vide();
  d.cv.pinceau_plein(d.couleur(d.col));
  d.cv.polygone(q, 4);
  if (d.l > 3 && d.rk == 0 && d.sc > 0.6 && d.s > 48) {
    d.cv.stylo_plein(a < 4 ? 1 : 2, d.couleur(t.couleur_feuilles_ombre + 2 * d.F));
    d.cv.ligne(q[2], q[3]);
    d.cv.stylo_vide();
  }
  d.fa = a;
  d.fb = b;
  d.y_feuille = somme(y, 0);
}

void ovales(Dessin& d) {
  Tarbre& t = d.t;
  double lam = std::min(d.lambda, 1.2);
  if (t.taille_feuilles > 1 && lam < 0.24) lam = 0.24;
  const double wl = lam * d.w0;
  const std::int64_t x1 = d.x1, y1 = d.y1, dx = d.dx, dy = d.dy;
  if (d.l <= 3 || wl <= 2.4 || !t.vue.detail_arbres || d.au_trait || !t.vue.detail_plus) {
    feuille_ronde(d, d.x2, d.y2, lam);
    return;
  }
  double f = 0.75 * (1.1 - 0.2 * (d.i % 2));
  if (wl > 4.8) f = 0.5 * f;
  feuille_ronde(d, d.x2, d.y2, f);
  feuille_ronde(d, x1 + nearest(0.2 * dx), y1 + nearest(0.2 * dy), f);
  feuille_ronde(d, x1 + nearest(0.6 * dx), y1 + nearest(0.6 * dy), f);
  if (wl > 18.2) {
    d.cv.stylo_plein(d.w1 > 3 ? 2 : 1, d.couleur(d.cE));
    const Point A{d.x1, d.y1};
    const Point Q1{somme(x1 + nearest(1.8 * dx), 3 * std::int64_t(d.hw)), somme(y1 + nearest(1.8 * dy), 3 * std::int64_t(d.hh))};
    const Point Q2{somme(x1 + nearest(0.9 * dx), -3 * std::int64_t(d.hw)), somme(y1 + nearest(0.9 * dy), -3 * std::int64_t(d.hh))};
    d.cv.ligne(A, Q1);
    d.cv.ligne(A, Q2);
    d.cv.stylo_vide();
    feuille_ronde(d, Q1.x, Q1.y, 2 * f);
    feuille_ronde(d, Q2.x, Q2.y, 2 * f);
  }
  if (wl > 4.8) {
    if (!d.video && d.rho > 6 && t.couleur_feuilles > 9 * d.F && d.rk == 0 && !d.ombre) d.col -= d.F;
    f = 0.75 * f;
    feuille_ronde(d, x1 + nearest(0.8 * dx) + 2 * d.hw, y1 + nearest(0.8 * dy) + 2 * d.hh, f);
    feuille_ronde(d, x1 + nearest(0.4 * dx) - 2 * d.hw, y1 + nearest(0.4 * dy) - 2 * d.hh, f);
  }
  if (wl > 9.6) {
    feuille_ronde(d, x1 + nearest(0.8 * dx) - 2 * d.hw, y1 + nearest(0.8 * dy) - 2 * d.hh, f);
    feuille_ronde(d, x1 + nearest(0.4 * dx) + 2 * d.hw, y1 + nearest(0.4 * dy) + 2 * d.hh, f);
  }
}

void quadrilateres(Dessin& d) {
  Tarbre& t = d.t;
  double lam = std::min(d.lambda, 0.6);
  lam = 0.3 * lam;
  if (d.rho > 8) lam = 1.6 * lam;
  if (t.taille_feuilles > 1 && lam < 0.3) lam = 0.3;
  const double hv = (double(d.pied.y) - d.T - d.y1) / d.s;
  const double wl = lam * d.w0;
  if (wl <= 1.2) return;
  const std::int64_t x1 = d.x1, y1 = d.y1, dx = d.dx, dy = d.dy;
  if (!(d.l > 3 && wl > 6 && d.s > 32 && t.vue.detail_plus)) {
    feuille(d, d.x2, d.y2, lam);
    return;
  }
  double f = (1.15 - 0.03 * d.rho) * (lam > 0.3 ? 0.64 : 0.15);
  if (wl > 12) f = 0.6 * f;
  if (hv > 1.2) f = f * (1 + hv - 1.2);
  if (hv < 0.5) f = f * (1 - (0.5 - hv));
  feuille(d, d.x2, d.y2, f);
  if (d.rho > 6 && d.F > 1 && d.rk == 0) d.col -= d.F;
  f = 0.75 * f;
  feuille(d, x1 + nearest(0.33 * dx), y1 + nearest(0.33 * dy), f);
  if (d.rho > 6 && d.rk == 0 && !d.ombre) d.col += d.F;
  feuille(d, x1 + nearest(0.66 * dx), y1 + nearest(0.66 * dy), f);
  if (wl > 18) {
    d.cv.stylo_plein(std::max(1, d.w1 + 1), d.couleur(d.cE));
    const double a = d.fa, b = d.fb;
    const Point A{d.x1, d.y1};
    const Point Q1{somme(x1, nearest(6 * b + 1.8 * dx)), somme(y1, nearest(4 * a + 0.9 * dy))};
    const Point Q2{somme(x1, nearest(0.9 * dx - 6 * b)), somme(y1, nearest(0.45 * dy - 4 * a))};
    d.cv.ligne(A, Q1);
    d.cv.ligne(A, Q2);
    d.cv.stylo_vide();
    feuille(d, Q1.x, Q1.y, 2 * f);
    feuille(d, Q2.x, Q2.y, 2 * f);
  }
  if (wl > 12) {
    f = 0.65 * f;
    feuille(d, x1 + nearest(0.85 * dx), std::int64_t(d.y_feuille) + nearest(0.25 * dy), f);
    feuille(d, x1 + nearest(0.45 * dx), std::int64_t(d.y_feuille) - nearest(0.5 * dy), f);
  }
}

void aiguilles(Dessin& d) {
  Tarbre& t = d.t;
  std::int32_t n = nearest(0.08 * d.w0 * (d.lambda + 0.3));
  if (d.lambda > 0.8) n = nearest(1.2 * n);
  n = std::min(n, 20);
  if (d.S && n > 1 && t.facteur_vue > 0.25 && d.seg->dir_y < 0.25) {
    d.cv.stylo_plein(n, d.couleur(t.couleur_feuilles_ombre));
    d.cv.ligne({d.x1, somme(d.y1, n)}, {d.x2, somme(d.y2, n)});
    n = 2 * n;
  }
  d.cv.stylo_plein(n, d.couleur(d.col));
  d.cv.ligne({d.x1, d.y1}, {d.x2, d.y2});
}

void palmes(Dessin& d) {
  Tarbre& t = d.t;
  const double lam = std::min(d.lambda, 0.7);
  const double e = 0.4 * d.h0 * lam;
  std::int64_t ox = nearest(e * d.seg->dir_y), oy = nearest(e * d.seg->dir_x);
  const std::int64_t qx = nearest(0.25 * d.dx), qy = nearest(0.25 * d.dy);
  const std::int32_t dd = nearest(0.08 * (t.poids + 7) * d.sc * e);
  const std::int64_t th = std::max(1, nearest(0.05 * d.w0 * lam));
  const std::int64_t drop = nearest((1.2 + 0.03 * d.rho) * dd);
  d.cv.stylo_vide();
  d.cv.pinceau_plein(d.couleur(d.col));
  auto tri = [&](std::int64_t px, std::int64_t py, std::int64_t bx, std::int64_t by) {
    const Point p[3] = {{somme(px, 0), somme(py, 0)}, {somme(bx, 0), somme(by, 0)}, {somme(px, th), somme(py, th)}};
    d.cv.polygone(p, 3);
  };
  const std::int64_t px = std::int64_t(d.x1) + qx, py = std::int64_t(d.y1) + qy;
  tri(px, py, px - ox, py - oy + drop);
  tri(px, py, px + ox, py + oy + drop);
  ox = nearest(0.92 * double(ox));
  oy = nearest(0.82 * double(oy));
  const std::int64_t rx = std::int64_t(d.x2) - qx, ry = std::int64_t(d.y2) - qy;
  tri(rx, ry, rx + ox, ry + oy + drop);
  tri(rx, ry, rx - ox, ry - oy + drop);
}

}  // namespace

void feuillage(Dessin& d) {
  const std::uint8_t forme = d.t.forme;
  if (forme != 0 && forme != 1 && forme != 3 && forme != 4) return;
  couleur_feuille(d);
  switch (forme) {
    case 0: ovales(d); break;
    case 1: quadrilateres(d); break;
    case 3: aiguilles(d); break;
    default: palmes(d); break;
  }
}

}  // namespace render::detail_arbre
