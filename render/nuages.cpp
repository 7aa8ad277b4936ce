// The cloudy sky: a byte grid as large as the sky filled band by band by a
// recursive midpoint subdivision, then mapped pixel by pixel through a colour
// ramp built from the sky colour, with the sun's halo, a warmer light for a
// low sun, a brighter horizon in front of the sun, and the sun disc.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <tuple>
#include <utility>

#include "model/aleatoire.h"
#include "render/ciel.h"

namespace render {

namespace {

std::int32_t borne(std::int32_t v, std::int32_t lo, std::int32_t hi) { return std::clamp(v, lo, hi); }

}  // namespace

std::uint8_t TCiel::decalage_nuage(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  const std::int32_t d = (x2 - x1) + (y2 - y1);
  const std::int32_t s = Trunc(double(d) / echelle_ * 255) + 1;
  const std::int32_t v = ((std::int32_t(g(x1, y1)) + std::int32_t(g(x2, y2))) >> 1) +
                         std::int32_t(Random(std::uint32_t(2 * s + 1))) - s;
  return std::uint8_t(borne(v, 1, 255));
}

// The map s -> A s + C that moves the shared generator (s := 134775813 s + 1
// modulo 2^32) on by k draws.
static std::pair<std::uint32_t, std::uint32_t> saut(std::uint64_t k) {
  std::uint32_t a = 134775813u, c = 1u;  // one step
  std::uint32_t A = 1u, C = 0u;          // k steps so far
  while (k) {
    if (k & 1) {
      A = a * A;
      C = a * C + c;
    }
    c = a * c + c;
    a = a * a;
    k >>= 1;
  }
  return {A, C};
}

TCiel::CoutLigne TCiel::cout_ligne(std::int32_t w) {
  if (w < 2) return {};
  const auto it = couts_.find(w);
  if (it != couts_.end()) return it->second;
  const CoutLigne a = cout_ligne(w / 2), b = cout_ligne(w - w / 2);
  CoutLigne r;
  r.tirages = (echelle_ >= w ? 0 : 1) + 4 + 2 * a.tirages + 2 * b.tirages;
  r.larges = (w > 4 ? 1 : 0) + 2 * a.larges + 2 * b.larges;
  std::tie(r.A, r.C) = saut(r.tirages);
  couts_[w] = r;
  return r;
}

void TCiel::subdiviser_nuages(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  if ((x2 - x1 < 2 && y2 - y1 < 2) || annule_) return;
  const std::int32_t w = x2 - x1;
  // A one-row rectangle whose bytes are all set writes nothing, nor does any
  // rectangle it divides into: only its draws are taken. One-row bands
  // (low clouds, and the last bands of any sky) visit such rows again and
  // again, which would otherwise cost the square of the sky width per row.
  if (y1 == y2) {
    const std::uint8_t* r = &g(x1, y1);
    if (std::find(r, r + w + 1, std::uint8_t(0)) == r + w + 1) {
      const CoutLigne c = cout_ligne(w);
      set_seed(c.A * seed() + c.C);
      if (e_.attente && c.larges > 0) {
        compteur_ += 8 * c.larges;
        if (compteur_ > seuil_) progression_ciel(2);
      }
      return;
    }
  }
  const std::int32_t xm = x1 + w / 2;
  const std::int32_t ym = y1 + (y2 - y1) / 2;
  std::uint8_t centre;
  if (echelle_ >= w)
    centre = std::uint8_t((std::int32_t(g(x2, y2)) + g(x1, y1) + g(x1, y2) + g(x2, y1)) >> 2);
  else
    centre = std::uint8_t(Round(Random() * 255));
  if (g(xm, ym) == 0) g(xm, ym) = centre;
  std::uint8_t v = decalage_nuage(x1, y1, x2, y1);
  if (g(xm, y1) == 0) g(xm, y1) = v;
  v = decalage_nuage(x2, y1, x2, y2);
  if (g(x2, ym) == 0) g(x2, ym) = v;
  v = decalage_nuage(x1, y2, x2, y2);
  if (g(xm, y2) == 0) g(xm, y2) = v;
  v = decalage_nuage(x1, y1, x1, y2);
  if (g(x1, ym) == 0) g(x1, ym) = v;
  subdiviser_nuages(x1, y1, xm, ym);
  subdiviser_nuages(xm, ym, x2, y2);
  subdiviser_nuages(xm, y1, x2, ym);
  subdiviser_nuages(x1, ym, xm, y2);
  if (e_.attente && !annule_ && w > 4) {
    compteur_ += 8;
    if (compteur_ > seuil_) progression_ciel(2);
  }
}

std::int32_t seuil_nuages(std::int32_t taille_nuages) { return 10 * Round(20.0 - borne(taille_nuages, -5, 20)); }

void TCiel::nuages() {
  graine_nuages();
  // The grid's size, bounded.
  hauteur_ciel_ = std::min(hauteur_ciel_ + 4, 2000);
  largeur_ciel_ = std::min(largeur_ciel_, 4000);
  const std::int32_t hc = std::max(1, hauteur_ciel_), lc = std::max(1, largeur_ciel_);
  // The threshold L above which a value is cloud, inside the ramp (sizes are
  // taken within -5..20), and the scale of the cloud features.
  const Rgb ciel = e_.palette->lire_couleur(1);
  const std::int32_t couleur_ciel[3] = {ciel.r, ciel.g, ciel.b};
  const std::int32_t L = seuil_nuages(vue_.taille_nuages);
  echelle_ = vue_.nombre_nuages > 1 ? std::max(1, Round(double(lc) / vue_.nombre_nuages)) : lc;
  const std::int32_t bande = premiere_bande(hc, lc);
  construire_rampe(L, couleur_ciel);
  couts_.clear();
  remplir_grille(hc, lc, bande);
  if (!annule_) colorer_ciel(hc, lc, L, couleur_ciel);
  disque_soleil(hc, lc, L);
  // The grid is not kept.
  grille_.clear();
  grille_.shrink_to_fit();
}

// The progress threshold, and the generator seeded with the view's cloud seed
// (a fresh one for a cloud draw with a progress window); the seed is kept.
void TCiel::graine_nuages() {
  seuil_ = Round(hauteur_ciel_ * 80.0);
  compteur_ = 0;
  if (vue_.alea_nuages && e_.attente)
    Randomize();
  else
    set_seed(std::uint32_t(vue_.seed_nuages));
  seed_ = std::int32_t(seed());
}

// The height of the first band of the grid, from the view's cloud height.
std::int32_t TCiel::premiere_bande(std::int32_t hc, std::int32_t lc) const {
  // Heights below 0 all give the one-row band of 0.
  std::int32_t bande = vue_.hauteur_nuages < 10 ? Round(hc * double(std::max(vue_.hauteur_nuages, 0)) * 0.1) : hc;
  bande = Round(bande * double(lc) * 0.75 / hc);
  if (hc > bande && double(bande) / hc > 0.66) bande = Round(hc * 0.66);
  bande = std::max(1, bande);
  return bande;
}

// The colour ramp of the grid's values: the sky colour up to the threshold,
// then lighter up to white (a stormy sky darkens again above U).
void TCiel::construire_rampe(std::int32_t L, const std::int32_t* couleur_ciel) {
  const std::int32_t U = vue_.orageux ? Round(L + (255 - L) * 0.5) : 255;
  rampe_ = {};
  for (std::int32_t e = 1; e <= L + 1 && e <= 255; ++e)
    for (int k = 0; k < 3; ++k) rampe_[std::size_t(e)][std::size_t(k)] = std::uint16_t(couleur_ciel[k]);
  for (int k = 0; k < 3; ++k) {
    const double kc = double(255 - couleur_ciel[k]) / (U - L);
    for (std::int32_t e = L + 2; e <= U; ++e)
      rampe_[std::size_t(e)][std::size_t(k)] = std::uint16_t(std::min(255, Round((e - L) * kc) + couleur_ciel[k]));
  }
  if (vue_.orageux) {
    const double kp = 255.0 / ((256 - U) * 2.5);
    for (std::int32_t e = U + 1; e <= 255; ++e)
      for (int k = 0; k < 3; ++k)
        rampe_[std::size_t(e)][std::size_t(k)] = std::uint16_t(std::max(1, 255 - Round((e - U) * kp)));
  }
}

// The grid: its corners drawn, then band by band, each 0.7 times as high as
// the one above, the midpoint subdivision of the band.
void TCiel::remplir_grille(std::int32_t hc, std::int32_t lc, std::int32_t bande) {
  pas_grille_ = lc + 2;
  grille_.assign(std::size_t(hc + 1) * std::size_t(pas_grille_), 0);
  g(0, 0) = std::uint8_t(Round(Random() * 255));
  g(lc, 0) = std::uint8_t(Round(Random() * 255));
  std::int32_t y0 = 0, y1 = 0;
  do {
    y1 = std::min(y0 + bande, hc);
    g(0, y1) = std::uint8_t(Round(Random() * 255));
    g(lc, y1) = std::uint8_t(Round(Random() * 255));
    subdiviser_nuages(0, y0, lc, y1);
    y0 += bande;
    bande = std::max(1, Round(bande * 0.7));
  } while (!(y1 >= hc || annule_));
}

// The pixels, one row and one column beyond the sky: the ramp's colour of each
// value with the sun's halo, a warmer light for a low sun and a brighter
// horizon in front of the sun.
void TCiel::colorer_ciel(std::int32_t hc, std::int32_t lc, std::int32_t L, const std::int32_t* couleur_ciel) {
  Bitmap travail(lc + 1, hc + 1);
  const double el = vue_.elevation_soleil;
  double k1 = 0, k2 = 0, F = 1;
  if (el < 10) {
    const double q = (10 - el) * 0.1;
    k2 = 0.3 * q;
    k1 = 0.5 * q;
    if (el < -2) {
      k1 = 0.8 * q;
      F = std::min(1.8, 1 - el * 0.1);
    }
  }
  const bool devant = e_.cos_azimut < -0.33;
  const std::int32_t debut_bandes = Round(hc * 0.3);
  const std::int32_t hauteur_bande = std::max(1, Round(hc * 0.024) + 1);
  std::int32_t s_bande[3];
  for (int k = 0; k < 3; ++k) s_bande[k] = Round((255 - couleur_ciel[k]) / 50.0);
  std::int32_t bc[3] = {0, 0, 0};
  const bool soleil = e_.soleil_visible;
  const double sx = e_.soleil.x, sy = e_.soleil.y;
  const std::int32_t L100 = L + 100, L20 = L + 20;
  for (std::int32_t y = 0; y <= hc && !annule_; ++y) {
    if (devant && y > debut_bandes && (y - debut_bandes - 1) % hauteur_bande == 0)
      for (int k = 0; k < 3; ++k)
        if (bc[k] < 255 - 4 * s_bande[k]) bc[k] += s_bande[k];
    const std::uint8_t* ligne = &g(0, y);
    Pixel* sortie = travail.row(y);
    const double dy = 6 * (sy - y);
    for (std::int32_t x = 0; x <= lc; ++x) {
      const std::int32_t v = std::max<std::int32_t>(1, ligne[x]);
      const bool nuage = v >= L;
      const double f = nuage ? double(v - L) / (255 - L) : 0.0;
      std::int32_t h = 0;
      if (soleil && v < L100) {
        const double dx = sx - x;
        const double dist = std::sqrt(dx * dx + dy * dy);
        if (dist > 0) {
          h = Round(23.0 * lc / dist);
          if (el < -2) h = Round(h * F);
          h = std::min(h, 110);
          if (h > 0 && v > L20) {
            h = Round(double(L100 - v) * h / 40);
            if (vue_.orageux) h = Round(h * 0.33);
          }
          if (v <= L20 && h > 80) h = 80;
        }
      }
      const double k = nuage ? k2 : k1;
      const auto& r = rampe_[std::size_t(v)];
      std::int32_t bleu = Round((1 - 0.5 * k) * h) + r[2] + bc[2];
      std::int32_t vert = Round((1 - 0.5 * k) * h) + r[1] + bc[1];
      std::int32_t rouge = Round((1 + k) * h) + r[0] + bc[0];
      if (nuage) {
        bleu -= Round(bc[2] * 1.5 * f);
        vert -= Round(bc[1] * 1.5 * f);
        rouge -= Round(bc[0] * 1.5 * f);
      }
      sortie[x] = pixel_rgb(std::uint8_t(borne(rouge, 1, 255)), std::uint8_t(borne(vert, 1, 252)),
                            std::uint8_t(borne(bleu, 1, 252)));
    }
    if (e_.attente && !annule_) {
      compteur_ += 2000;
      if (compteur_ > seuil_) progression_ciel(2);
    }
  }
  if (!annule_)
    copy_rect(e_.image->surface(), 0, 0, std::as_const(travail).surface(), 0, 0, lc + 1, hc + 1);
}

// The sun disc, where the sun is in view and not behind a cloud.
void TCiel::disque_soleil(std::int32_t hc, std::int32_t lc, std::int32_t L) {
  const std::int32_t sxi = e_.soleil.x, syi = e_.soleil.y;
  if (!annule_ && e_.soleil_visible && sxi >= 1 && sxi <= lc - 1 && syi >= 1 && syi <= hc - 1 && g(sxi, syi) < L + 20) {
    soleil_dessine_ = true;
    const std::int32_t r = Round(lc * 0.01);
    fill_ellipse(e_.image->surface(), std::int64_t(sxi) - r, std::int64_t(syi) - r, std::int64_t(sxi) + r,
                 std::int64_t(syi) + r, pixel_rgb(255, 220, 220));
  }
}

}  // namespace render
