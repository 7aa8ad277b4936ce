// A tree's reflection in the sea and its crown silhouette in a shadow picture.
#include <algorithm>

#include "render/dessin_arbre_interne.h"

using namespace render;
using namespace render::detail_arbre;

void Tarbre::dessiner_simple(Point pied, double taille, std::uint16_t facteur, std::uint16_t agitation_mer,
                             CanevasArbre& canevas, const TMyPalette& palette, std::int32_t numero) {
  Dessin d(*this, canevas, palette);
  d.F = facteur;
  d.M = niveau_brume;
  const double fv = facteur_vue;
  const std::int32_t tf = taille_feuilles, lf = largeur_feuilles;
  double s = 3.2 * echelle * taille;
  double W = 0.005 * s * largeur;
  s = (0.1 * tf + 0.5) * s;
  W = 0.2 * (0.5 * tf + 2) * (0.3 * lf + 2) * W;
  if (s <= 1.0) return;
  std::int32_t H = nearest(4 * fv * s);
  std::int32_t T = nearest(0.07 * fv * s * hauteur_tronc);
  std::int32_t C = nearest(0.5 * H);
  switch (espece) {
    case Chene: H = nearest(0.66 * H), W = 1.5 * W; break;
    case Sapin: C = nearest(0.3 * H); break;
    case Peuplier: W = 0.6 * W; break;
    case Pin: T = nearest(1.3 * T), H = nearest(0.5 * H); break;
    case Palmier: T = nearest(1.2 * T), H = nearest(0.2 * H); break;
    case Cactus: W = 0.2 * W; break;
    default: break;
  }
  const std::int32_t u = numero % 10;
  const std::int32_t a = agitation_mer;
  const std::int64_t x0 = pied.x, y0 = pied.y;
  canevas.stylo_plein(T < 5 ? 1 : 2 * std::int32_t(largeur_pied), d.couleur(couleur_ecorce));
  std::int32_t TL = T;
  if (a > 3) TL = nearest(1.33 * TL);
  if (a > 5) TL = nearest(1.33 * TL);
  const std::int32_t dxr = nearest((1 - 0.2 * u) * a * 0.5);
  std::int64_t j = 0;
  for (; j < TL; j += 4) canevas.ligne({somme(x0, dxr), somme(y0, j)}, {somme(x0, dxr), somme(y0, j + 4)});
  if (tf <= 2) return;
  canevas.stylo_plein(1, d.couleur(couleur_feuilles));
  std::int32_t J = nearest(0.4 * W);
  if (a > 3) H = nearest(1.33 * H);
  if (a > 5) H = nearest(1.33 * H);
  std::int32_t sh = -signe_azimut * nearest(1.2 * W);
  const CouleurArbre sombre = d.couleur(couleur_feuilles_ombre + 2 * d.F);
  const CouleurArbre clair = d.couleur(couleur_feuilles);
  std::int64_t acc = 0;
  const double W0 = W;
  const std::int32_t sg = (numero > 0 && numero % 2 == 1) ? 1 : -1;
  const std::int32_t lim = nearest(0.66 * W0);
  while (j < H) {
    acc += nearest((1 - 0.2 * u) * a * 0.3);
    const std::int64_t off = nearest((1 - 0.2 * u) * 2) + acc;
    acc = std::clamp<std::int64_t>(acc, -lim, lim);
    if (j > C) {
      W = 0.95 * W;
      sh = nearest(0.9 * sh);
      J = nearest(0.9 * J);
      if (u > 5) ++j;
    }
    if (0.2 * W0 > W) j = H;
    const std::int64_t y = y0 + T + j;
    canevas.stylo_plein(1, clair);
    canevas.ligne({somme(x0 + sg + off, -nearest(W)), somme(y, 0)}, {somme(x0 - sg + off, nearest(W)), somme(y, 0)});
    canevas.stylo_plein(1, sombre);
    canevas.ligne({somme(x0 - sg + sh + off, -J), somme(y, 0)}, {somme(x0 + sg + sh + off, J), somme(y, 0)});
    ++j;
  }
}

void Tarbre::silhouette(Point pied, CanevasArbre& canevas, double taille, std::uint16_t sol, bool dessin,
                        std::uint32_t couleur_silhouette, bool& couvert) {
  if ((sol == 3 && interdit_rocher) || (sol == 2 && interdit_terre) || (sol == 1 && interdit_herbe)) return;
  double h = 6 * echelle * taille;
  couvert = false;
  const std::int64_t x0 = pied.x, y0 = pied.y;
  if (!dessin) {
    const std::int64_t yp = y0 - nearest(h);
    if (canevas.couvert({somme(x0, 0), somme(yp, 0)})) {
      int compte = 0;
      for (int dj = -1; dj <= 1; ++dj)
        for (int di = -1; di <= 1; ++di)
          if (canevas.couvert({somme(x0, di), somme(yp, dj)})) ++compte;
      couvert = compte == 9;
    }
  } else {
    canevas.pinceau_plein(CouleurArbre{-1, couleur_silhouette});
    canevas.stylo_vide();
  }
  h = 0.66 * h;
  if (h <= 3) return;
  const std::int32_t tf = taille_feuilles;
  double cr = (0.005 + 0.002 * (h - Trunc(h))) * largeur * largeur * h;
  h = (0.6 + 0.15 * tf) * h;
  cr = 0.25 * tf * cr;
  if (espece == Pin) {
    h = 1.4 * h;
    cr = 1.5 * cr;
  } else if (espece == Peuplier) {
    cr = 0.7 * cr;
    h = 1.3 * h;
  } else if (espece == Buisson) {
    cr = 2 * cr;
  }
  const std::int32_t T = nearest((espece == Sapin ? 0.002 : 0.004) * facteur_vue * h * hauteur_tronc);
  const double I1 = inclinaison[0];
  const std::int64_t haut = y0 - T - nearest(0.4 * I1 * cr + facteur_vue * h);
  const std::int64_t bas = y0 - T + nearest(0.4 * I1 * cr);
  const std::int32_t hw = nearest(0.6 * cr);
  if (tf > 3) canevas.ellipse({somme(x0, -hw), somme(haut, 0)}, {somme(x0, hw), somme(bas, 0)});
}
