// Pictures beside view documents: written by our encoders, read back by content.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/images_qt.h"
#include "platform/fichiers.h"
#include "render/bmp.h"
#include "render/jpeg.h"

namespace fs = std::filesystem;
using render::Bitmap;
using render::octets_bmp;
using render::octets_jpeg;
using render::pixel_rgb;

namespace {

Bitmap damier(int l, int h) {
  Bitmap i(l, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < l; ++x) i.at(x, y) = ((x + y) % 2) ? pixel_rgb(0xFF, 0x80, 0x00) : pixel_rgb(0x00, 0x10, 0xF0);
  return i;
}

TEST(Images, BitmapAndJpegReadBackByContent) {
  const fs::path d = fs::temp_directory_path() / ("quorvel-images-" + std::to_string(::getpid()));
  fs::create_directories(d);
  const Bitmap i = damier(7, 5);  // 21 bytes a row: padded to 24
  const std::string bmp = octets_bmp(i);
  ASSERT_EQ(bmp.size(), 54u + 24 * 5);
  // A bitmap under a JPEG name is still read as a bitmap.
  ASSERT_TRUE(ecrire_fichier((d / "v.jpg").string(), bmp).empty());
  auto r = lire_image_vue((d / "v.jpg").string());
  ASSERT_TRUE(r);
  EXPECT_EQ(r->width(), 7);
  EXPECT_EQ(r->height(), 5);
  EXPECT_EQ(r->pixels(), i.pixels());
  // A JPEG of a flat picture keeps its colour closely.
  const Bitmap uni(16, 16, pixel_rgb(0x40, 0x60, 0x80));
  ASSERT_TRUE(ecrire_fichier((d / "u.bmp").string(), *octets_jpeg(uni, 90)).empty());
  auto j = lire_image_vue((d / "u.bmp").string());
  ASSERT_TRUE(j);
  EXPECT_NEAR(static_cast<int>((j->pixels()[100] >> 16) & 0xFF), 0x40, 3);
  EXPECT_NEAR(static_cast<int>(j->pixels()[100] & 0xFF), 0x80, 3);
  EXPECT_FALSE(lire_image_vue((d / "absent.jpg").string()));
  // A GIF goes through the program's own GIF class, which alone reads a lower-case signature.
  const std::string gif("gif89a\x02\x00\x02\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff,\x00\x00\x00\x00\x02\x00"
                        "\x02\x00\x00\x02\x03\x44\x02\x05\x00;", 36);
  ASSERT_TRUE(ecrire_fichier((d / "g.jpg").string(), gif).empty());
  auto g = lire_image_vue((d / "g.jpg").string());
  ASSERT_TRUE(g);
  EXPECT_EQ(g->pixels(), (std::vector<std::uint32_t>{pixel_rgb(0, 0, 0), pixel_rgb(0xFF, 0xFF, 0xFF),
                                                     pixel_rgb(0xFF, 0xFF, 0xFF), pixel_rgb(0, 0, 0)}));
  // No pixels: nothing is encoded.
  EXPECT_TRUE(octets_bmp(Bitmap(10, 0)).empty());
  EXPECT_FALSE(octets_jpeg(Bitmap(10, 0), 90));
  fs::remove_all(d);
}

}  // namespace
