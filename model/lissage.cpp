// The smoothing tool: repeated one-dimensional relaxation along rows, then
// columns, inside a square around the start node and an altitude band, with a
// neighbour distance that shrinks from pass to pass.
#include <algorithm>
#include <vector>

#include "model/aleatoire.h"
#include "model/matrice.h"
#include "model/outils.h"

namespace {

std::uint8_t octet(std::int32_t v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); }

struct lissage {
  Tmatrice& m;
  controle_outil& c;
  std::int32_t S, L, U, i0, j0;
  std::int32_t n, lo, hi;
  std::int32_t i_min, i_max, j_min, j_max;
  double D;
  std::int32_t P;
  std::int32_t seuil, compteur = 0;
  bool distorsion;
  // Work rows, indexed by lattice position.
  std::vector<std::int32_t> h, ddx, ddy;

  void progres() {
    ++compteur;
    if (compteur > seuil) {
      if (c.attente) c.attente->avancer(std::nullopt, 5);
      compteur = 0;
    }
  }

  // One node of a sweep; (ia, ja) and (ib, jb) are the two neighbours.
  void relaxer(std::size_t k, std::int32_t i, std::int32_t j, std::int32_t ia, std::int32_t ja, std::int32_t ib,
               std::int32_t jb) {
    const std::int32_t hn = m.hauteurs->lire(i, j);
    if (!(L - 50 < hn && hn < U + 51)) return;
    if (c.attente) {
      if (cancel_requested(c.fenetre)) c.continuer = false;
      c.attente->tester_annulation();
    }
    const double w = (D - distance_noeuds(i, j, i0, j0)) / D;
    if (!(w > 0) || !(i + j < hi + 1)) return;
    const double diviseur = S * 0.025 * w + 1;
    auto formule = [&](std::int32_t v, std::int32_t gauche, std::int32_t droite) {
      const std::int32_t milieu = Round((droite - gauche) * 0.5) + gauche;
      return milieu + Round((v - milieu) / diviseur);
    };
    h[k] = formule(h[k], m.hauteurs->lire(ia, ja), m.hauteurs->lire(ib, jb));
    if (distorsion) {
      ddx[k] = formule(ddx[k], m.dx->lire(ia, ja), m.dx->lire(ib, jb));
      ddy[k] = formule(ddy[k], m.dy->lire(ia, ja), m.dy->lire(ib, jb));
    }
  }

  void passe(std::int32_t d) {
    // Rows: i fixed, j runs over the columns of the area.
    for (std::int32_t i = i_min; i <= i_max && c.continuer; ++i) {
      progres();
      for (std::int32_t j = j_min; j <= j_max; ++j) lire(static_cast<std::size_t>(j), i, j);
      for (std::int32_t j = j_min; j <= j_max && c.continuer; ++j) {
        std::int32_t a = d, b = d;
        if (j - d < lo) a = j - lo;
        if (j + d > n) b = n - j;
        if (i + j + b > hi) b = 0;
        relaxer(static_cast<std::size_t>(j), i, j, i, j - a, i, j + b);
      }
      for (std::int32_t j = j_min; j <= j_max; ++j) ecrire(static_cast<std::size_t>(j), i, j);
    }
    // Columns: j fixed, i runs over the rows of the area.
    for (std::int32_t j = j_min; j <= j_max && c.continuer; ++j) {
      progres();
      for (std::int32_t i = i_min; i <= i_max; ++i) lire(static_cast<std::size_t>(i), i, j);
      for (std::int32_t i = i_min; i <= i_max && c.continuer; ++i) {
        std::int32_t a = d, b = d;
        if (i - d < lo) a = i - lo;
        if (i + d > n) b = n - i;
        if (i + j + b > hi) b = 0;
        relaxer(static_cast<std::size_t>(i), i, j, i - a, j, i + b, j);
      }
      for (std::int32_t i = i_min; i <= i_max; ++i) ecrire(static_cast<std::size_t>(i), i, j);
    }
  }

  void lire(std::size_t k, std::int32_t i, std::int32_t j) {
    h[k] = m.hauteurs->lire(i, j);
    if (distorsion) {
      ddx[k] = m.dx->lire(i, j);
      ddy[k] = m.dy->lire(i, j);
    }
  }

  void ecrire(std::size_t k, std::int32_t i, std::int32_t j) {
    m.hauteurs->ecrire(i, j, h[k]);
    if (distorsion) {
      // A strong negative strength can push a shift past the byte's range: it is held at the end.
      m.dx->ecrire(i, j, octet(ddx[k]));
      m.dy->ecrire(i, j, octet(ddy[k]));
    }
  }
};

}  // namespace

void outil_lisser(Tmatrice& m, const arguments_outil& a, controle_outil& c) {
  const std::int32_t k = m.degre;
  const std::int32_t n = m.n;
  lissage t{m, c, a.valeur, a.altitude_initiale_debut, a.altitude_finale_debut, c.i0, c.j0, n, 0, 0, 0, 0, 0, 0,
            0.0, 0, 0, 0, false, {}, {}, {}};
  t.lo = k < 7 ? 1 : 2;
  t.hi = k < 7 ? n + 1 : n;
  std::int32_t R = Round((n - 1) * (a.largeur_base_debut / 1000.0) / 16);
  if (R == 0) R = 1;
  const std::int32_t marge = Round(R * 1.5) + 1;
  t.i_min = c.i0 - marge;
  t.i_max = c.i0 + marge;
  t.j_min = c.j0 - marge;
  t.j_max = c.j0 + marge;
  if (t.i_min < 1) t.i_min = t.lo;
  if (t.i_max > n) t.i_max = n;
  if (t.j_min < 1) t.j_min = t.lo;
  if (t.j_max > n) t.j_max = n;
  m.zone_outil = {t.i_min, t.i_max, t.j_min, t.j_max};
  t.D = distance_noeuds(c.i0, c.j0, c.i0 + R, c.j0 + R);
  if (t.D == 0) t.D = 1;
  t.P = k < 8 ? 2 : k - 6;
  t.seuil = Round(static_cast<std::int16_t>(2 * t.P * (t.i_max - t.i_min)) * 0.05);
  t.distorsion = m.deformation && m.dx && m.dy;
  // The work rows cover every lattice position of a row or a column.
  t.h.assign(static_cast<std::size_t>(n) + 2, 0);
  if (t.distorsion) {
    t.ddx.assign(static_cast<std::size_t>(n) + 2, 0);
    t.ddy.assign(static_cast<std::size_t>(n) + 2, 0);
  }

  if (c.attente) c.attente->avancer("Smooth processing ...", 0);
  if (t.S < 0) t.S = Round(t.S / 2.0);
  c.continuer = true;
  for (std::int32_t d = t.P; d >= 1; --d) t.passe(d);
}
