// The map editor's geometry: node and world projections, pixel to node, the
// readout text, the gauge rows and the names of the map pictures.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "dialogs/edition_geometrie.h"

using namespace dialogs;

TEST(EditionGeometrie, NodesProjectToTheMapAndBack) {
  struct Cas {
    int n, i, j;
    double z;
    PixelCarte attendu;
  };
  const Cas cas[] = {
      {129, 1, 1, 0, {21, 346}},    {129, 129, 1, 0, {212, 13}},   {129, 1, 129, 0, {404, 346}},
      {129, 45, 43, 0, {212, 231}},  // 212.5 rounds to the even 212
      {129, 45, 43, 2000, {212, 231}}, {17, 6, 6, 1000, {200, 242}},
  };
  for (const Cas& c : cas) EXPECT_EQ(projeter_noeud(c.n, c.i, c.j, c.z), c.attendu) << c.n << " " << c.i << " " << c.j;

  EXPECT_EQ(pixel_vers_noeud(129, 212, 200, 1), (NoeudCarte{58, 37}));
  EXPECT_EQ(pixel_vers_noeud(129, 424, 400, 2), (NoeudCarte{58, 37}));
  EXPECT_EQ(pixel_vers_noeud(129, 20, 346, 1), (NoeudCarte{1, 1}));
  EXPECT_EQ(pixel_vers_noeud(129, 100, 300, 1), (NoeudCarte{19, 19}));

  // Every node of the lattice comes back within one node.
  for (int degre : {4, 5, 7}) {
    const int n = (1 << degre) + 1;
    for (int i = 1; i <= n; ++i)
      for (int j = 1; i + j <= n + 1; ++j) {
        const PixelCarte p = projeter_noeud(n, i, j, 0);
        const NoeudCarte q = pixel_vers_noeud(n, p.x, p.y, 1);
        ASSERT_LE(std::abs(q.i - i), 1) << degre << ": " << i << " " << j;
        ASSERT_LE(std::abs(q.j - j), 1) << degre << ": " << i << " " << j;
      }
  }
}

TEST(EditionGeometrie, DegeneratePointsGiveClampedPixels) {
  // Depth exactly 0: taken as 0.0001, the huge results are clamped.
  const PixelCarte p = projeter_monde({0, 100, 250000});
  EXPECT_EQ(std::abs(p.x), 1 << 30);
  EXPECT_EQ(std::abs(p.y), 1 << 30);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(projeter_monde({nan, 0, 0}), (PixelCarte{1 << 30, 1 << 30}));
  // A node far outside the lattice (a target fraction of 3 from a file).
  const PixelCarte loin = projeter_noeud(129, 387, 387, -4000);
  EXPECT_TRUE(loin.x < 0 || loin.x > 425 || loin.y < 0 || loin.y > 372);
}

TEST(EditionGeometrie, ReadoutGaugeRowsAndPictureNames) {
  EXPECT_EQ(texte_position(212, 200, 1), " x= 4068   y= 2883");
  EXPECT_EQ(texte_position(424, 400, 2), " x= 4068   y= 2883");
  EXPECT_EQ(ligne_jauge(4000, 315), 0);
  EXPECT_EQ(ligne_jauge(1234, 315), 174);
  EXPECT_EQ(ligne_jauge(0, 315), 252);
  EXPECT_EQ(ligne_jauge(-1000, 315), 315);
  EXPECT_EQ(ligne_jauge(-2000, 315), 315);

  EXPECT_EQ(image_carte("/d/alps.mat", 1), "/d/alps_1.jpg");
  EXPECT_EQ(image_carte("/d/alps.mat", 2), "/d/alps_2.jpg");
  EXPECT_EQ(image_carte(".mat", 1), "_1.jpg");  // never reads before the start
  EXPECT_EQ(image_carte("", 2), "_2.jpg");
}
