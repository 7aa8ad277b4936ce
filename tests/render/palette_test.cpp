#include "render/palette.h"

#include <gtest/gtest.h>

#include "model/aleatoire.h"
#include "model/records.h"

namespace {

TMyPalette construite(bool grande, int contraste, int profondeur, bool bande, int brume) {
  TMyPalette p(grande, 4);
  p.construire(contraste, profondeur, bande, brume);
  return p;
}

}  // namespace

TEST(Palette, DefaultColoursGiveTheKnownEntries) {
  TMyPalette p = construite(false, 50, 20, false, 0);
  EXPECT_EQ(p.facteur(), 4);
  EXPECT_EQ(p.nombre(), 923);
  EXPECT_EQ(p.lire_couleur(19), (Rgb{53, 44, 15}));
  EXPECT_EQ(p.lire_couleur(66), (Rgb{211, 176, 60}));
  EXPECT_EQ(p.lire_couleur(1), (Rgb{168, 206, 235}));
  EXPECT_EQ(p.lire_couleur(7), (Rgb{90, 90, 225}));
  EXPECT_EQ(p.lire_couleur(6), (Rgb{69, 69, 222}));
  EXPECT_EQ(p.lire_couleur(668), (Rgb{0, 0, 0}));
  EXPECT_EQ(p.lire_couleur(923), (Rgb{255, 255, 255}));
  // Trunk entries and the derived earth-grass ramp top (mean of earth and grass).
  EXPECT_EQ(p.lire_couleur(5), (Rgb{128, 100, 40}));
  EXPECT_EQ(p.lire_couleur(2), (Rgb{51, 40, 16}));
  EXPECT_EQ(p.lire_couleur(402), (Rgb{184, 191, 70}));
  // Unwritten entries, indices past the end, negative indices, grey levels.
  EXPECT_EQ(p.lire_couleur(667), (Rgb{0, 0, 0}));
  EXPECT_EQ(p.lire_couleur(924), p.lire_couleur(1));
  EXPECT_EQ(p.lire_couleur(std::uint16_t(-1)), p.lire_couleur(1));
  EXPECT_EQ(p.lire_gris(300), (Rgb{255, 255, 255}));
  EXPECT_EQ(p.lire_gris(100), (Rgb{100, 100, 100}));
}

TEST(Palette, RampsRiseFromShadowToFullLight) {
  TMyPalette p = construite(false, 50, 20, false, 0);
  for (int s = 0; s < 9; ++s) {
    const int base = 18 + 48 * s;
    for (int j = 2; j <= 48; ++j) {
      EXPECT_GE(p.lire_couleur(std::uint16_t(base + j)).r, p.lire_couleur(std::uint16_t(base + j - 1)).r);
    }
  }
  // With b < 1 the halves do not meet: a jump in the middle of the ramp.
  const int lower_top = p.lire_couleur(18 + 24).r, upper_bottom = p.lire_couleur(18 + 25).r;
  EXPECT_GT(upper_bottom - lower_top, 1);
}

TEST(Palette, ShallowDepthsAreTakenAsTen) {
  TMyPalette flat = construite(false, 50, 10, false, 0);
  for (int j = 19; j <= 450; ++j) {
    const int ramp_top = 18 + 48 * ((j - 19) / 48 + 1);
    EXPECT_EQ(flat.lire_couleur(std::uint16_t(j)), flat.lire_couleur(std::uint16_t(ramp_top))) << j;
  }
  for (int depth : {0, 5, -3}) {
    TMyPalette p = construite(false, 50, depth, false, 0);
    for (int j = 0; j <= 923; ++j) EXPECT_EQ(p.lire_couleur(std::uint16_t(j)), flat.lire_couleur(std::uint16_t(j)));
  }
}

TEST(Palette, NamedWaterEntriesSpanTheWaterSteps) {
  TMyPalette p(false, 4);
  p.fixer_couleur(8, 0, 60, 120);  // steps of 21, 16 and 11
  p.construire(50, 20, false, 0);
  EXPECT_EQ(p.lire_couleur(TMyPalette::kEau), p.slot(10));
  EXPECT_EQ(p.lire_couleur(TMyPalette::kEauSombre), (Rgb{0, 34, 102}));
  for (int i = TMyPalette::kEau + 1; i <= TMyPalette::kEauClaire; ++i)
    EXPECT_EQ(p.lire_couleur(std::uint16_t(i)).r, 21 * (i - TMyPalette::kEau)) << i;
  EXPECT_EQ(p.lire_couleur(TMyPalette::kEauClaire), (Rgb{231, 236, 241}));
  // The reflection's limit lies among the lighter steps; the first ramp follows the lightest.
  EXPECT_GT(TMyPalette::kEauSansReflet, TMyPalette::kEau);
  EXPECT_LE(TMyPalette::kEauSansReflet, TMyPalette::kEauClaire);
  EXPECT_EQ(TMyPalette::kEauClaire + 1, 19);
}

TEST(Palette, WhiteWaterHasNoSteps) {
  TMyPalette p(false, 4);
  p.fixer_couleur(8, 255, 0, 255);
  p.construire(50, 20, false, 0);
  for (int i = 6; i <= 18; ++i) {
    EXPECT_EQ(p.lire_couleur(std::uint16_t(i)).r, 255);
    EXPECT_EQ(p.lire_couleur(std::uint16_t(i)).b, 255);
  }
  EXPECT_EQ(p.lire_couleur(18).g, 11 * 21);
  // Colour 9 goes to slot 11, the sky.
  p.fixer_couleur(9, 1, 2, 3);
  p.construire(50, 20, false, 0);
  EXPECT_EQ(p.lire_couleur(1), (Rgb{1, 2, 3}));
}

TEST(Palette, MistBlendsTowardsTheSky) {
  TMyPalette p = construite(true, 50, 20, false, 100);
  EXPECT_EQ(p.nombre(), 15107);
  const Rgb sky{168, 206, 235};
  for (int level : {16, 20, 32}) {
    for (int c : {7, 19, 66, 300}) {
      const Rgb e = p.lire_couleur(std::uint16_t(c));
      const Rgb m = p.lire_couleur(std::uint16_t(450 * level + c));
      EXPECT_EQ(m.r, Round(e.r * 0.04 + sky.r * 0.96));
      EXPECT_EQ(m.g, Round(e.g * 0.04 + sky.g * 0.96));
      EXPECT_EQ(m.b, Round(e.b * 0.04 + sky.b * 0.96));
      EXPECT_EQ(p.couleur(c, level), m);
    }
  }
  // Level 1 at density 25: v = 1575 / 1600.
  TMyPalette q = construite(true, 50, 20, false, 25);
  const double v = 1575.0 / 1600.0, u = 1 - v;
  const Rgb e = q.lire_couleur(66), m = q.lire_couleur(450 + 66);
  EXPECT_EQ(m.r, Round(e.r * v + sky.r * u));
  EXPECT_EQ(m.b, Round(e.b * v + sky.b * u));
  EXPECT_EQ(q.lire_couleur(14851), (Rgb{0, 0, 0}));
  EXPECT_EQ(q.lire_couleur(14852), (Rgb{0, 0, 0}));
  EXPECT_EQ(q.lire_couleur(15107), (Rgb{255, 255, 255}));
}

TEST(Palette, CastShadowBandKeepsItsMistedCopies) {
  TMyPalette small = construite(false, 50, 20, true, 0);
  // Band entry j of earth: lower half raised by Round(24/23 b m).
  const double b = (256 - 50 * 1.4) / 256;
  const int m = Round((53 + 211) / 2.0) - 53;
  EXPECT_EQ(small.lire_couleur(451).r, std::min(255, 53 + Round(24.0 / 23.0 * b * m)));
  EXPECT_EQ(small.couleur(451, 0), small.lire_couleur(451));
  EXPECT_EQ(small.couleur(451, 5), small.lire_couleur(451));  // no mist copies in a small table

  TMyPalette big = construite(true, 50, 20, true, 40);
  EXPECT_EQ(big.couleur(451, 0), small.lire_couleur(451));
  EXPECT_EQ(big.couleur(666, 0), small.lire_couleur(666));
  // Level 3: the same blend as the mist copies of that level.
  const double v = (1600.0 - 3 * 40) / 1600.0, u = 1 - v;
  const Rgb band = small.lire_couleur(451), sky = big.lire_couleur(1);
  const Rgb at3 = big.couleur(451, 3);
  EXPECT_EQ(at3.r, Round(band.r * v + sky.r * u));
  EXPECT_EQ(at3.g, Round(band.g * v + sky.g * u));
  // The table itself keeps its layout: 451 is level 1's copy of entry 1.
  EXPECT_EQ(big.lire_couleur(451), big.couleur(1, 1));
}

TEST(Palette, ViewTableFollowsTheViewsSettings) {
  param_vue v;
  v.brume = 1;
  v.couleurs_defaut = 0;
  v.couleurs[COULEUR_CIEL] = {10, 20, 30};
  v.couleurs[COULEUR_TERRE] = {200, 100, 50};
  v.contraste = 44;
  v.profondeur_ombre = 20;
  v.ombre_portee = 1;
  v.brume_densite = 25;
  TMyPalette p = palette_pour_vue(v);
  EXPECT_TRUE(p.grande());
  EXPECT_EQ(p.lire_couleur(1), (Rgb{10, 20, 30}));
  EXPECT_NE(p.couleur(451, 0), (Rgb{0, 0, 0}));  // the band is there
  v.couleurs_defaut = 1;
  v.brume = 0;
  TMyPalette q = palette_pour_vue(v);
  EXPECT_FALSE(q.grande());
  EXPECT_EQ(q.lire_couleur(1), (Rgb{168, 206, 235}));
}
