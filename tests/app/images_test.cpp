// Pictures beside view documents: written by our encoders, read back by content.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/images_qt.h"
#include "platform/fichiers.h"
#include "render/bmp.h"
#include "render/jpeg.h"
#include "tests/support/jpeg_progressif.h"
#include "tests/support/memoire.h"

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

std::string le(std::uint32_t v, int n) {
  std::string s;
  for (int k = 0; k < n; ++k) s += char(v >> (8 * k));
  return s;
}

// A bitmap of `bits` bits a pixel with one palette entry for 8 bits, then `data`.
std::string bmp(std::uint32_t w, std::uint32_t h, int bits, std::uint32_t compression, const std::string& data) {
  const std::string palette = bits == 8 ? std::string(4, '\0') : std::string();
  const std::uint32_t debut = 54 + std::uint32_t(palette.size());
  return "BM" + le(debut + std::uint32_t(data.size()), 4) + le(0, 4) + le(debut, 4) + le(40, 4) + le(w, 4) +
         le(h, 4) + le(1, 2) + le(std::uint32_t(bits), 2) + le(compression, 4) + le(std::uint32_t(data.size()), 4) +
         le(2835, 4) + le(2835, 4) + le(bits == 8 ? 1 : 0, 4) + le(0, 4) + palette + data;
}

// A GIF of one frame of w x h pixels whose data ends at once (26 bytes).
std::string gif_vide(std::uint32_t w, std::uint32_t h) {
  return "GIF89a" + le(w, 2) + le(h, 2) + std::string("\0\0\0", 3) + "," + le(0, 4) + le(w, 2) + le(h, 2) +
         std::string("\0\x02\0;", 4);
}

struct Dossier {
  fs::path p = fs::temp_directory_path() / ("quorvel-images-hostiles-" + std::to_string(::getpid()));
  Dossier() { fs::create_directories(p); }
  ~Dossier() { fs::remove_all(p); }
  std::string ecrit(const std::string& nom, const std::string& octets) const {
    EXPECT_TRUE(ecrire_fichier((p / nom).string(), octets).empty());
    return (p / nom).string();
  }
};

// Small files whose headers claim more than the largest view are refused on
// the header when the view opens them beside its document. They once took
// 1.6 GB (run-length), 1 GB (24 bits), 645 MB (GIF) and 837 MB (progressive
// JPEG) before failing or being cut down to the view's size.
TEST(Images, APictureLargerThanTheLargestViewIsRefusedBeforeItIsMade) {
  const Dossier d;
  const std::string jpeg =
      test_jpeg::taille_annoncee(test_jpeg::progressif(Bitmap(16, 16, pixel_rgb(9, 99, 199))), 16384, 16384);
  const std::pair<std::string, std::string> cas[] = {
      {"rle.bmp", bmp(16384, 16384, 8, 1, std::string("\0\x01", 2))},
      {"brut.bmp", bmp(16384, 16384, 24, 0, "")},
      {"large.bmp", bmp(8193, 16, 24, 0, std::string(8193 * 3 * 16 + 16 * 1, '\x11'))},
      {"vide.gif", gif_vide(16384, 4096)},
      {"progressif.jpg", jpeg},
      {"baseline.jpg", test_jpeg::taille_annoncee(*octets_jpeg(Bitmap(16, 16), 90), 16, 9000)},
  };
  EXPECT_EQ(cas[0].second.size(), 60u);
  EXPECT_EQ(cas[1].second.size(), 54u);
  EXPECT_EQ(cas[3].second.size(), 26u);
  EXPECT_LT(cas[4].second.size(), 1024u);
  for (const auto& [nom, octets] : cas) {
    const std::string chemin = d.ecrit(nom, octets);
    std::string raison;
    std::optional<Bitmap> lu;
    const std::int64_t pic = test_memoire::croissance_pic([&] { lu = lire_image_vue(chemin, &raison); });
    EXPECT_FALSE(lu) << nom;
    if (nom == "brut.bmp")
      EXPECT_EQ(raison, "its pixels are cut short");
    else
      EXPECT_NE(raison.find("a view's picture is at most 8192 x 8192"), std::string::npos) << nom << ": " << raison;
    if (pic >= 0) EXPECT_LT(pic, test_memoire::borne(16 << 20)) << nom;
  }
}

// Within the largest view, a picture whose format itself declares it blank
// takes the memory of the picture made, and no copy beside it.
TEST(Images, ABlankPictureOfTheLargestViewTakesOnlyItsOwnSize) {
  const Dossier d;
  const std::int64_t taille = std::int64_t(8192) * 8192 * 4;
  for (const auto& [nom, octets] :
       {std::pair{"vide.gif", gif_vide(8192, 8192)}, std::pair{"rle.bmp", bmp(8192, 8192, 8, 1, std::string(2, '\0'))}}) {
    const std::string chemin = d.ecrit(nom, octets);
    std::optional<Bitmap> lu;
    const std::int64_t pic = test_memoire::croissance_pic([&] { lu = lire_image_vue(chemin); });
    ASSERT_TRUE(lu) << nom;
    EXPECT_EQ(lu->width(), 8192);
    EXPECT_EQ(lu->height(), 8192);
    EXPECT_EQ(lu->at(8191, 8191), lu->at(0, 0)) << nom;
    if (pic >= 0) EXPECT_LT(pic, test_memoire::borne(taille + (32 << 20))) << nom;
  }
}

}  // namespace
