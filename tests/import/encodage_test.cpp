// Height encoding and decoding, mesh degree proposals and frame geometry.
#include <gtest/gtest.h>

#include "import/importation.h"

TEST(Encodage, HeightsRoundTripAndKnownColours) {
  for (int h = 0; h <= 511; ++h) {
    const Rgb c = encoder_hauteur(h, false);
    ASSERT_EQ(decoder_couleur(c.r, c.g, c.b, false, false), h) << h;
  }
  for (int h = 0; h <= 8191; ++h) {
    const Rgb c = encoder_hauteur(h, true);
    ASSERT_EQ(decoder_couleur(c.r, c.g, c.b, false, true), h) << h;
  }
  struct Cas {
    int h;
    bool large;
    Rgb attendu;
  };
  const Cas cas[] = {
      {0, false, {0, 0, 255}}, {0, true, {0, 0, 255}},     {300, false, {192, 44, 127}},
      {5000, true, {136, 207, 128}}, {8000, true, {64, 15, 128}},
  };
  for (const Cas& c : cas) EXPECT_EQ(encoder_hauteur(c.h, c.large), c.attendu) << c.h;
  // Black and pure blue are sea whatever the source; a bitmap sums its components.
  for (bool bitmap : {false, true})
    for (bool large : {false, true}) {
      EXPECT_EQ(decoder_couleur(0, 0, 0, bitmap, large), 0);
      EXPECT_EQ(decoder_couleur(0, 0, 255, bitmap, large), 0);
    }
  EXPECT_EQ(decoder_couleur(100, 100, 100, true, false), 300);
  EXPECT_EQ(decoder_couleur(255, 255, 255, true, false), 765);
}

TEST(Encodage, MeshDegreeProposals) {
  EXPECT_EQ(degre_propose_pour(250, 250), 8);
  EXPECT_EQ(degre_propose_pour(500, 500), 8);
  EXPECT_EQ(degre_propose_pour(501, 501), 9);
  EXPECT_EQ(degre_propose_pour(1001, 1001), 10);
  EXPECT_EQ(degre_propose_pour(1001, 900), 9);
  EXPECT_EQ(degre_propose_pour(2000, 2000), 10);
  EXPECT_EQ(degre_propose_pour(2001, 2001), 11);
  EXPECT_EQ(degre_propose_pour(2048, 1500), 10);
}

TEST(Cadre, DefaultFrameOfASquareSource) {
  const cadre_import c = cadre_import::par_defaut(1000, 1000);
  EXPECT_EQ(c.cx, 500);
  EXPECT_EQ(c.cy, 600);
  EXPECT_DOUBLE_EQ(c.R0, 550.0);
  EXPECT_DOUBLE_EQ(c.L0, 953.0);
  const auto s = c.sommets();
  EXPECT_EQ(s[0], (render::Point{976, 875}));
  EXPECT_EQ(s[1], (render::Point{24, 875}));
  EXPECT_EQ(s[2], (render::Point{500, 50}));
  // The frame scale shrinks radius and side together.
  cadre_import petit = c;
  petit.f = 0.5;
  EXPECT_DOUBLE_EQ(petit.cote(), 476.5);
  EXPECT_EQ(petit.sommets()[2], (render::Point{500, 325}));
}
