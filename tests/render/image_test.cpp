// Picture files read by content through the one entry point, and the writers'
// bytes and safe writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "platform/fichiers.h"
#include "render/bmp.h"
#include "render/image.h"
#include "render/jpeg.h"
#include "tests/support/memoire.h"

using namespace render;

namespace {

std::filesystem::path dossier() {
  auto p = std::filesystem::temp_directory_path() / ("quorvel_image_" + std::to_string(::getpid()));
  std::filesystem::create_directories(p);
  return p;
}

Bitmap bandes(int w, int h) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.at(x, y) = pixel_rgb(std::uint8_t(40 * x), std::uint8_t(70 * y), 0x5A);
  return b;
}

}  // namespace

TEST(PictureEntry, KindsByTheFirstBytes) {
  EXPECT_EQ(genre_image("BM"), GenreImage::bmp);
  EXPECT_EQ(genre_image(std::string("\xFF\xD8\xFF\xE0", 4)), GenreImage::jpeg);
  EXPECT_EQ(genre_image(std::string("\xFF\xD8", 2)), GenreImage::inconnu);
  EXPECT_EQ(genre_image("GIF89a..."), GenreImage::gif);
  EXPECT_EQ(genre_image("gif87A"), GenreImage::gif);
  EXPECT_EQ(genre_image("GIF88a"), GenreImage::inconnu);
  EXPECT_EQ(genre_image(""), GenreImage::inconnu);
  EXPECT_EQ(genre_image("B"), GenreImage::inconnu);
}

TEST(PictureEntry, ReadsByContentWhateverTheNameAndRefusesTheRest) {
  const auto d = dossier();
  const Bitmap a = bandes(5, 3);
  // A bitmap named ".jpg" and a JPEG named ".bmp" both read.
  ASSERT_TRUE(ecrire_bmp((d / "b.jpg").string(), a));
  ASSERT_TRUE(ecrire_jpeg((d / "j.bmp").string(), Bitmap(16, 8, pixel_rgb(0x40, 0x60, 0x80)), 90));
  Bitmap b;
  ASSERT_TRUE(lire_image((d / "b.jpg").string(), b));
  EXPECT_EQ(b, a);
  ASSERT_TRUE(lire_image((d / "j.bmp").string(), b));
  EXPECT_EQ(b.width(), 16);
  EXPECT_EQ(b.height(), 8);
  EXPECT_NEAR(rgb_of(b.at(3, 3)).g, 0x60, 3);
  // Refusals leave the picture alone and say why.
  const Bitmap temoin = bandes(2, 2);
  struct Cas {
    std::string octets, raison;
  };
  const std::string bmp = octets_bmp(a);
  const std::string jpeg = *octets_jpeg(a, 90);
  for (const Cas& c : {Cas{"GIF89a\x01\x00\x01\x00", "GIF"}, Cas{"plain text", "neither"},
                       Cas{bmp.substr(0, 30), "cut short"}, Cas{jpeg.substr(0, jpeg.size() / 2), "JPEG"}}) {
    ASSERT_TRUE(ecrire_fichier((d / "x").string(), c.octets).empty());
    Bitmap r = temoin;
    std::string raison;
    EXPECT_FALSE(lire_image((d / "x").string(), r, &raison)) << c.raison;
    EXPECT_NE(raison.find(c.raison), std::string::npos) << raison;
    EXPECT_EQ(r, temoin);
  }
  std::string raison;
  EXPECT_FALSE(lire_image((d / "absent").string(), b, &raison));
  EXPECT_EQ(raison, "No such file or directory");
  std::filesystem::remove_all(d);
}

// The bitmap's bytes are pinned: documents written before read the same.
TEST(PictureEntry, BitmapBytesAndSafeWrites) {
  const Bitmap a = bandes(2, 2);  // 6 bytes a row: padded to 8
  const std::string o = octets_bmp(a);
  const std::string attendu =
      std::string("BM\x46\x00\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00\x28\x00\x00\x00\x02\x00\x00\x00\x02\x00\x00\x00"
                  "\x01\x00\x18\x00\x00\x00\x00\x00\x10\x00\x00\x00\x13\x0B\x00\x00\x13\x0B\x00\x00"
                  "\x00\x00\x00\x00\x00\x00\x00\x00",
                  54) +
      std::string("\x5A\x46\x00\x5A\x46\x28\x00\x00" "\x5A\x00\x00\x5A\x00\x28\x00\x00", 16);
  EXPECT_EQ(o, attendu);
  EXPECT_TRUE(octets_bmp(Bitmap()).empty());
  // A failed write leaves the file that was there.
  const auto d = dossier();
  const std::string chemin = (d / "a.bmp").string();
  ASSERT_TRUE(ecrire_bmp(chemin, a));
  simuler_echec_ecriture(10);
  EXPECT_FALSE(ecrire_bmp(chemin, bandes(9, 9)));
  EXPECT_FALSE(ecrire_jpeg(chemin, bandes(9, 9), 90));
  simuler_echec_ecriture(std::nullopt);
  EXPECT_EQ(lire_fichier(chemin), o);
  EXPECT_FALSE(ecrire_bmp(chemin, Bitmap()));
  std::filesystem::remove_all(d);
}

// A bitmap's header and palette are read, then its pixels after passing over
// the gap before them: 297 pixels 608 MiB into a sparse 1 GiB file once took
// 630 MB. A JPEG picture whose markers never give a size is looked through
// no further than its 16 MiB allowance (it was read to twice that).
TEST(PictureEntry, ReadersPassOverGapsAndKeepToTheirAllowance) {
  const auto d = dossier();
  auto le32 = [](std::uint32_t v) {
    std::string s(4, '\0');
    for (int k = 0; k < 4; ++k) s[std::size_t(k)] = char(v >> (8 * k));
    return s;
  };
  const std::uint32_t debut = std::uint32_t(608) << 20;
  std::string tete = "BM" + le32(0) + le32(0) + le32(debut) + le32(40) + le32(33) + le32(9) + std::string("\1\0\10\0", 4) +
                     le32(1) + std::string(20, '\0');
  for (int k = 0; k < 256; ++k) tete += std::string{char(k), char(255 - k), char(k / 2), 0};
  std::string flux;
  for (int r = 0; r < 9; ++r) flux += std::string{33, char(10 * r + 1), 0, 0};
  flux += std::string("\0\1", 2);
  const std::string bmp = (d / "loin.bmp").string();
  ASSERT_TRUE(ecrire_fichier(bmp, tete).empty());
  std::filesystem::resize_file(bmp, debut);
  std::ofstream(bmp, std::ios::binary | std::ios::app) << flux;
  std::filesystem::resize_file(bmp, std::uint64_t(1) << 30);
  Bitmap b;
  std::string raison;
  std::int64_t lus = -1;
  const std::int64_t pic = test_memoire::croissance_pic(
      [&] { lus = test_memoire::octets_lus([&] { ASSERT_TRUE(lire_image(bmp, b, &raison)) << raison; }); });
  ASSERT_EQ(b.width(), 33);
  ASSERT_EQ(b.height(), 9);
  for (int y = 0; y < 9; ++y) {
    const std::uint8_t v = std::uint8_t(10 * (8 - y) + 1);  // rows bottom-up
    EXPECT_EQ(b.at(32, y), pixel_rgb(v / 2, 255 - v, v)) << y;
  }
  if (lus >= 0) {
    EXPECT_LT(lus, 1 << 20);
  }
  if (pic >= 0) {
    EXPECT_LT(pic, test_memoire::borne(16 << 20));
  }
  // A JPEG picture of nothing but zeros after its first marker.
  const std::string jpg = (d / "sans_taille.jpg").string();
  ASSERT_TRUE(ecrire_fichier(jpg, std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF", 10)).empty());
  std::filesystem::resize_file(jpg, std::uint64_t(900) << 20);
  const std::int64_t pic_jpg = test_memoire::croissance_pic([&] {
    lus = test_memoire::octets_lus([&] { EXPECT_FALSE(lire_image(jpg, b, &raison)); });
  });
  EXPECT_EQ(raison, "the JPEG picture has no readable size");
  if (lus >= 0) {
    EXPECT_LE(lus, (16 << 20) + (64 << 10));
  }
  if (pic_jpg >= 0) {
    EXPECT_LT(pic_jpg, test_memoire::borne(32 << 20));
  }
  std::filesystem::remove_all(d);
}
