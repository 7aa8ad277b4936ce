#include "render/palette.h"

#include <algorithm>

#include "model/aleatoire.h"
#include "model/records.h"

namespace {

constexpr std::array<Rgb, 10> kCouleursBase = {{
    {211, 176, 60},   // earth
    {157, 206, 80},   // grass
    {192, 173, 173},  // rock
    {157, 176, 86},   // tree 1
    {197, 206, 96},   // tree 2
    {255, 255, 255},  // snow
    {255, 225, 0},    // sand
    {90, 90, 225},    // sea and rivers
    {168, 206, 235},  // sky
    {128, 100, 40},   // trunk
}};

std::uint8_t octet(std::int32_t v) { return std::uint8_t(std::clamp(v, 0, 255)); }

std::uint8_t composante(const Rgb& c, int k) { return k == 0 ? c.r : (k == 1 ? c.g : c.b); }
void fixer_composante(Rgb& c, int k, std::int32_t v) {
  (k == 0 ? c.r : (k == 1 ? c.g : c.b)) = octet(v);
}

}  // namespace

TMyPalette::TMyPalette(bool grande, std::uint8_t drapeau)
    : drapeau_(drapeau), grande_(grande), nombre_(grande ? 15107 : 923) {
  entrees_.assign(std::size_t(nombre_) + 1, Rgb{});
  bande_.assign(std::size_t(kNiveauxBrume + 1) * kEntreesBande, Rgb{});
  charger_couleurs_base();
}

void TMyPalette::charger_couleurs_base() {
  for (int k = 1; k <= 10; ++k) {
    const Rgb& c = kCouleursBase[std::size_t(k - 1)];
    fixer_couleur(std::uint8_t(k), c.r, c.g, c.b);
  }
}

void TMyPalette::fixer_couleur(std::uint8_t k, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  if (k < 1 || k > 10) return;
  const int s = k <= 7 ? k : k + 2;
  couleurs_[std::size_t(s - 1)] = Rgb{r, g, b};
}

void TMyPalette::construire(std::int32_t contraste, std::int32_t profondeur, bool bande_ombre,
                            std::int32_t densite_brume) {
  const int F = facteur_;
  const int longueur = 12 * F * kRampes + 18;         // 450
  const int avec_bande = 162 * F + 18;                // 666
  std::vector<Rgb> C(std::size_t(avec_bande) + 1, Rgb{});

  // Derived slots: earth-grass and earth-rock means.
  for (int k = 0; k < 3; ++k) {
    const int c1 = composante(couleurs_[0], k), c2 = composante(couleurs_[1], k), c3 = composante(couleurs_[2], k);
    fixer_composante(couleurs_[7], k, std::min(255, Round((c1 + c2) * 0.5)));
    fixer_composante(couleurs_[8], k, std::min(255, Round((c1 + c3) * 0.5)));
  }

  // A depth below 10 would make the dark end brighter than the light one.
  const double p = std::max(profondeur, 10);
  const double q = (p / 10) * (p / 10);

  for (int s = 1; s <= kRampes; ++s) {
    const double b = (s == 4 || s == 5) ? (256 - contraste * 0.7) / 256 : (256 - contraste * 1.4) / 256;
    const int base = 18 + 12 * F * (s - 1);
    for (int k = 0; k < 3; ++k) {
      const std::int32_t top = composante(couleurs_[std::size_t(s - 1)], k);
      std::int32_t v[12 * 4 + 1];  // v[j] = C[base + j], j = 1..12F
      v[12 * F] = top;
      const std::int32_t bottom = Round(top / q);
      v[1] = bottom;
      const std::int32_t m = Round((bottom + top) / 2.0) - bottom;
      for (int j = 2; j <= 6 * F; ++j) v[j] = bottom + Round(double(j - 1) / double(6 * F - 1) * m * b);
      for (int j = 12 * F - 1; j >= 6 * F + 1; --j) v[j] = top - Round(double(12 * F - j) / double(6 * F - 1) * m * b);
      for (int j = 1; j <= 12 * F; ++j) fixer_composante(C[std::size_t(base + j)], k, v[j]);
      if (bande_ombre) {
        const std::int32_t pas = Round(double(6 * F) / double(6 * F - 1) * b * m);
        for (int j = 1; j <= 6 * F; ++j)
          fixer_composante(C[std::size_t(longueur + 6 * F * (s - 1) + j)], k,
                           std::min(255, composante(C[std::size_t(base + j)], k) + pas));
      }
    }
  }

  // Sky, trunk and water.
  C[1] = couleurs_[10];
  for (int k = 0; k < 3; ++k) {
    const std::int32_t t = composante(couleurs_[11], k);
    fixer_composante(C[2], k, Round(t * 0.4));
    fixer_composante(C[3], k, Round(t * 0.5));
    fixer_composante(C[4], k, Round(t * 0.8));
    fixer_composante(C[5], k, t);
    const std::int32_t c = composante(couleurs_[9], k);
    const std::int32_t w = Trunc((255 - c) / 12.0);
    fixer_composante(C[6], k, std::max(0, c - Round(w * 1.6)));
    fixer_composante(C[7], k, c);
    for (int i = 1; i <= 11; ++i) fixer_composante(C[std::size_t(7 + i)], k, c + i * w);
  }

  const int copie = bande_ombre ? avec_bande : longueur;
  for (int i = 1; i <= copie; ++i) entrees_[std::size_t(i)] = C[std::size_t(i)];
  if (bande_ombre)
    for (int e = 0; e < kEntreesBande; ++e) bande_[std::size_t(e)] = C[std::size_t(longueur + 1 + e)];

  if (grande_ && brume_active_) {
    const std::int32_t d = densite_brume;
    const Rgb M = couleurs_[10];
    for (int L = 1; L <= kNiveauxBrume; ++L) {
      double v = (1600.0 - L * d) / 1600.0;
      if (d > 50 && 1600 - L * d > 0) v = (1 - (double(L + 8) / 32.0 * 2) * (d - 50) / 100.0) * v;
      double u = 1 - v;
      if (v < 0.04) v = 0.04;
      if (u > 0.96) u = 0.96;
      auto melange = [&](const Rgb& c) {
        Rgb out;
        for (int k = 0; k < 3; ++k)
          fixer_composante(out, k, std::min(255, Round(composante(c, k) * v + composante(M, k) * u)));
        return out;
      };
      for (int c = 1; c <= longueur; ++c) entrees_[std::size_t(longueur * L + c)] = melange(C[std::size_t(c)]);
      if (bande_ombre)
        for (int e = 0; e < kEntreesBande; ++e)
          bande_[std::size_t(L * kEntreesBande + e)] = melange(C[std::size_t(longueur + 1 + e)]);
    }
  }

  for (int v = 0; v <= 255; ++v)
    entrees_[std::size_t(nombre_ - 255 + v)] = Rgb{std::uint8_t(v), std::uint8_t(v), std::uint8_t(v)};
}

void TMyPalette::lire_couleur(std::uint16_t index, std::uint8_t& r, std::uint8_t& g, std::uint8_t& b) const {
  const Rgb c = lire_couleur(index);
  r = c.r;
  g = c.g;
  b = c.b;
}

Rgb TMyPalette::lire_gris(std::uint16_t niveau) const {
  const std::uint8_t v = entrees_[std::size_t(nombre_ - 255 + std::min<int>(niveau, 255))].r;
  return Rgb{v, v, v};
}

TMyPalette palette_pour_vue(const param_vue& vue) {
  TMyPalette p(vue.brume != 0, 4);
  if (vue.couleurs_defaut) {
    p.charger_couleurs_base();
  } else {
    for (int k = 1; k <= 10; ++k) {
      const Rgb& c = vue.couleurs[std::size_t(k - 1)];
      p.fixer_couleur(std::uint8_t(k), c.r, c.g, c.b);
    }
  }
  p.construire(vue.contraste, vue.profondeur_ombre, vue.ombre_portee != 0, vue.brume_densite);
  return p;
}
