// Pictures beside view documents: written by our encoders, read back by content.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/fichiers.h"
#include "app/images_fichier.h"
#include "app/images_qt.h"

namespace fs = std::filesystem;

namespace {

image_rgb32 damier(int l, int h) {
  image_rgb32 i{l, h, {}};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < l; ++x) i.pixels.push_back(((x + y) % 2) ? 0x00FF8000u : 0x000010F0u);
  return i;
}

TEST(Images, BitmapAndJpegReadBackByContent) {
  const fs::path d = fs::temp_directory_path() / ("quorvel-images-" + std::to_string(::getpid()));
  fs::create_directories(d);
  const image_rgb32 i = damier(7, 5);  // 21 bytes a row: padded to 24
  const std::string bmp = octets_bmp(i);
  ASSERT_EQ(bmp.size(), 54u + 24 * 5);
  // A bitmap under a JPEG name is still read as a bitmap.
  ASSERT_TRUE(ecrire_fichier((d / "v.jpg").string(), bmp).empty());
  auto r = lire_image_vue((d / "v.jpg").string());
  ASSERT_TRUE(r);
  EXPECT_EQ(r->largeur, 7);
  EXPECT_EQ(r->hauteur, 5);
  EXPECT_EQ(r->pixels, i.pixels);
  // A JPEG of a flat picture keeps its colour closely.
  image_rgb32 uni{16, 16, std::vector<std::uint32_t>(256, 0x00406080u)};
  ASSERT_TRUE(ecrire_fichier((d / "u.bmp").string(), *octets_jpeg(uni, 90)).empty());
  auto j = lire_image_vue((d / "u.bmp").string());
  ASSERT_TRUE(j);
  EXPECT_NEAR(static_cast<int>((j->pixels[100] >> 16) & 0xFF), 0x40, 3);
  EXPECT_NEAR(static_cast<int>(j->pixels[100] & 0xFF), 0x80, 3);
  EXPECT_FALSE(lire_image_vue((d / "absent.jpg").string()));
  // A GIF goes through the program's own GIF class, which alone reads a lower-case signature.
  const std::string gif("gif89a\x02\x00\x02\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff,\x00\x00\x00\x00\x02\x00"
                        "\x02\x00\x00\x02\x03\x44\x02\x05\x00;", 36);
  ASSERT_TRUE(ecrire_fichier((d / "g.jpg").string(), gif).empty());
  auto g = lire_image_vue((d / "g.jpg").string());
  ASSERT_TRUE(g);
  EXPECT_EQ(g->pixels, (std::vector<std::uint32_t>{0, 0xFFFFFFu, 0xFFFFFFu, 0}));
  // Pixels missing from the buffer: nothing is encoded.
  image_rgb32 court{10, 10, std::vector<std::uint32_t>(5)};
  EXPECT_TRUE(octets_bmp(court).empty());
  EXPECT_FALSE(octets_jpeg(court, 90));
  fs::remove_all(d);
}

}  // namespace
