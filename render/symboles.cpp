// Small trees: the crown symbol (a trunk line and a two-tone crown, or the
// strokes of a palm, corn or cactus) and the two-line stroke.
#include "render/dessin_arbre_interne.h"

namespace render::detail_arbre {

void symbole(Dessin& d) {
  Tarbre& t = d.t;
  const double s = d.s, fv = t.facteur_vue, lh = t.lumiere_hauteur, tv = d.t_vue;
  const std::int32_t sigma = t.signe_azimut;
  const std::int32_t tf = t.taille_feuilles;
  std::int64_t x0 = d.pied.x, y0 = d.pied.y;
  const std::int32_t u = std::int32_t(std::uint16_t(std::uint32_t(d.pied.x) & 0xFFFFu) % 10);
  const bool neigeux = d.neige > 3;
  if (fv < 0.05) {
    x0 += nearest(0.4 * s);
    y0 -= nearest(0.4 * s);
  }
  const std::int32_t T = nearest((t.espece == Sapin ? 0.08 : 0.16) * fv * s * t.hauteur_tronc);
  const std::int32_t W = nearest(t.largeur_tronc * s * 0.04) + 1;
  t.largeur_pied = std::uint16_t(std::clamp(W, 0, 65535));
  auto P = [](std::int64_t x, std::int64_t y) { return Point{somme(x, 0), somme(y, 0)}; };
  d.cv.stylo_plein(W, d.couleur(t.couleur_ecorce_moyenne));
  d.cv.ligne(P(x0, y0 - T - nearest(0.1 * fv * s)), P(x0, y0));

  const double s2 = 1.6 * s;
  double cr = (0.005 + 0.0015 * (s2 - Trunc(s2))) * t.largeur * t.largeur * s2;
  double h = (0.1 * tf + 0.5) * s2;
  cr = 0.2 * tf * cr;
  std::int32_t q = 0;
  if (t.espece == Pin) {
    h = 0.4 * h;
    cr = 1.1 * cr;
    q = nearest(0.8 * fv * h);
  } else if (t.espece == Sapin) {
    cr = 0.6 * cr;
  } else if (t.espece == Peuplier) {
    cr = 0.7 * cr;
    h = 1.3 * h;
  } else if (t.espece == Buisson) {
    cr = 2 * cr;
  }
  const std::int64_t y1 = y0 - T;

  const bool deux_tons = t.espece == Chene || t.espece == Sapin || t.espece == Peuplier || t.espece == Pin ||
                         t.espece == Buisson || tv > 0.85;
  if (deux_tons) {
    if (t.conifere && sigma < 0) std::swap(t.couleur_feuilles, t.couleur_feuilles_ombre);
    if (tf == 1 || tf == 2) {
      d.cv.stylo_plein(1, d.couleur(t.couleur_tronc));
      d.cv.pinceau_creux();
    } else if (tf == 3 || tf == 4) {
      d.cv.stylo_plein(h > 10 ? 2 : 1, d.couleur(t.couleur_feuilles_ombre));
      d.cv.pinceau_creux();
    } else if (tf >= 5 && tf <= 10) {
      d.cv.stylo_vide();
      d.cv.pinceau_plein(d.couleur(t.couleur_feuilles_ombre));
    }
    const Point haut = P(x0, y1 - nearest(1.4 * fv * h + 1.2 * tv * cr));
    const Point droite = P(x0 + nearest(1.2 * cr), y1 - q);
    const Point bas = P(x0, y1 + nearest(1.2 * tv * cr));
    const Point gauche = P(x0 - nearest(1.2 * cr), y1 - q);
    if (t.conifere) {
      const Point quad[4] = {haut, droite, bas, gauche};
      d.cv.polygone(quad, 4);
    } else {
      d.cv.ellipse(P(x0 - nearest(cr), y1 - nearest(0.6 * tv * cr + fv * h)),
                   P(x0 + nearest(cr), y1 + nearest(0.6 * tv * cr)));
    }
    if (tf == 1 || tf == 2) {
      d.cv.stylo_plein(h > 10 ? 2 : 1, d.couleur(t.couleur_tronc));
      d.cv.pinceau_creux();
    } else if (tf == 3 || tf == 4) {
      d.cv.stylo_plein(h > 10 ? 3 : 1, d.couleur(t.couleur_feuilles));
      d.cv.pinceau_creux();
    } else if (tf >= 5 && tf <= 10) {
      d.cv.stylo_vide();
      d.cv.pinceau_plein(d.couleur(t.couleur_feuilles));
    }
    double k = 1.15 * t.lumiere_face;
    if (k < 0.3 && fv > 0.05) k = 0.3;
    if (t.conifere) {
      const Point tri[3] = {haut, droite, bas};
      d.cv.polygone(tri, 3);
    } else {
      d.cv.ellipse(P(x0 - std::int64_t(sigma) * nearest(k * cr), y1 - nearest(0.6 * tv * cr + fv * h)),
                   P(x0 + std::int64_t(sigma) * nearest(cr), y1 + nearest(0.6 * tv * cr + 0.5 * (lh - 1) * fv * h)));
    }
    return;
  }
  const std::int32_t col =
      (t.couleur == 2 || (t.couleur == 4 && !neigeux)) ? t.couleur_feuilles_ombre : t.couleur_feuilles;
  if (t.espece == Palmier) {
    d.cv.stylo_plein(nearest(0.8 * cr) + 1, d.couleur(col));
    const std::int64_t yp = y1 - nearest(0.3 * (0.5 - 0.2 * t.poids) * fv * h + 0.4 * tv * cr);
    d.cv.ligne(P(x0, y1), P(x0 - nearest(cr), yp));
    d.cv.ligne(P(x0, y1), P(x0 + nearest(cr), yp));
  } else if (t.espece == Mais) {
    d.cv.stylo_plein(W, d.couleur(t.couleur_ecorce_moyenne));
    const std::int64_t yc = y1 + nearest(0.18 * (0.6 * t.poids - 2) * fv * h - 2 * tv * cr);
    const Point depart = P(x0, y1 - nearest(0.2 * tv * cr));
    d.cv.ligne(depart, P(x0 - nearest(1.2 * cr), yc));
    d.cv.ligne(depart, P(x0 + nearest(1.2 * cr), yc));
  } else if (t.espece == Cactus) {
    d.cv.stylo_plein(W, d.couleur(t.couleur_ecorce_moyenne));
    const std::int64_t bas = y1 - nearest(0.02 * fv * h * u);
    const std::int64_t haut = y1 - nearest(0.2 * tv * cr + fv * h * (0.5 + 0.04 * u));
    for (const std::int64_t x : {x0 - nearest(0.35 * cr), x0 + nearest(0.25 * cr)}) d.cv.ligne(P(x, bas), P(x, haut));
  }
}

void trait(Dessin& d) {
  Tarbre& t = d.t;
  const std::int64_t x0 = d.pied.x, y0 = d.pied.y;
  const std::int32_t haut = nearest(0.6 * t.facteur_vue * d.s);
  d.cv.stylo_plein(1, d.couleur(t.couleur_feuilles_ombre));
  d.cv.ligne({somme(x0, -t.signe_azimut), somme(y0, -2 - std::int64_t(haut))}, {somme(x0, -t.signe_azimut), somme(y0, -1)});
  if (t.taille_feuilles > 4) {
    d.cv.stylo_plein(t.largeur > 8 ? 2 : 1, d.couleur(t.couleur_feuilles));
    d.cv.ligne({somme(x0, 0), somme(y0, -2 - std::int64_t(haut))}, {somme(x0, 0), somme(y0, 0)});
  }
}

}  // namespace render::detail_arbre
