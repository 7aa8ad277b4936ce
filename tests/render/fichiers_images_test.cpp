// Picture files: JPEG written and read back, BMP layouts, damaged files, and
// the program's own sky picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "render/bmp.h"
#include "render/jpeg.h"
#include "tests/support/jpeg_progressif.h"
#include "tests/support/memoire.h"

using namespace render;

namespace {

std::filesystem::path dossier() {
  auto p = std::filesystem::temp_directory_path() / ("quorvel_images_" + std::to_string(::getpid()));
  std::filesystem::create_directories(p);
  return p;
}

Bitmap degrade(int w, int h) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.at(x, y) = pixel_rgb(std::uint8_t(x * 255 / w), std::uint8_t(y * 255 / h), std::uint8_t((x + y) % 256 / 2 + 60));
  return b;
}

void ecrire(const std::filesystem::path& p, const std::string& octets) {
  std::ofstream(p, std::ios::binary).write(octets.data(), std::streamsize(octets.size()));
}

std::string lire(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(PictureFiles, JpegRoundTripAndGrey) {
  const auto d = dossier();
  const Bitmap a = degrade(300, 200);
  ASSERT_TRUE(ecrire_jpeg((d / "a.jpg").string(), a, 95));
  Bitmap b;
  ASSERT_TRUE(lire_jpeg((d / "a.jpg").string(), b));
  ASSERT_EQ(b.width(), 300);
  ASSERT_EQ(b.height(), 200);
  double somme = 0;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 300; ++x) {
      const Rgb p = rgb_of(a.at(x, y)), q = rgb_of(b.at(x, y));
      somme += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b);
    }
  EXPECT_LT(somme / (300.0 * 200 * 3), 3.0);
  // Unwritable places are refused.
  EXPECT_FALSE(ecrire_jpeg((d / "absent" / "a.jpg").string(), a, 95));
  EXPECT_FALSE(ecrire_jpeg((d / "z.jpg").string(), Bitmap{}, 95));
  // The in-memory encoder gives the bytes of the file writer.
  const auto octets = octets_jpeg(a, 95);
  ASSERT_TRUE(octets);
  EXPECT_EQ(*octets, lire(d / "a.jpg"));
  EXPECT_FALSE(octets_jpeg(Bitmap{}, 95));
  std::filesystem::remove_all(d);
}

TEST(PictureFiles, BmpLayouts) {
  const auto d = dossier();
  const Bitmap a = degrade(37, 11);  // rows with padding
  ASSERT_TRUE(ecrire_bmp((d / "a.bmp").string(), a));
  Bitmap b;
  ASSERT_TRUE(lire_bmp((d / "a.bmp").string(), b));
  EXPECT_EQ(a, b);
  // An 8-bit top-down picture with a four-colour palette.
  std::string s = lire(d / "a.bmp").substr(0, 54);
  auto mettre32 = [&](std::size_t o, std::uint32_t v) {
    for (int k = 0; k < 4; ++k) s[o + std::size_t(k)] = char(v >> (8 * k));
  };
  mettre32(10, 54 + 16);
  mettre32(18, 3);
  mettre32(22, std::uint32_t(-2));
  s[28] = 8;
  s[29] = 0;
  mettre32(46, 4);
  s += std::string("\x00\x00\xFF\x00" "\x00\xFF\x00\x00" "\xFF\x00\x00\x00" "\x10\x20\x30\x00", 16);
  s += std::string("\x00\x01\x02\x00" "\x03\x02\x01\x00", 8);
  ecrire(d / "p.bmp", s);
  Bitmap p;
  ASSERT_TRUE(lire_bmp((d / "p.bmp").string(), p));
  ASSERT_EQ(p.width(), 3);
  ASSERT_EQ(p.height(), 2);
  EXPECT_EQ(p.at(0, 0), pixel_rgb(255, 0, 0));
  EXPECT_EQ(p.at(1, 0), pixel_rgb(0, 255, 0));
  EXPECT_EQ(p.at(2, 0), pixel_rgb(0, 0, 255));
  EXPECT_EQ(p.at(0, 1), pixel_rgb(0x30, 0x20, 0x10));
  // A palette index past the palette is damage.
  s[54 + 16 + 1] = 9;
  ecrire(d / "q.bmp", s);
  EXPECT_FALSE(lire_bmp((d / "q.bmp").string(), p));
  std::filesystem::remove_all(d);
}

TEST(PictureFiles, DamagedFilesAreUnreadable) {
  const auto d = dossier();
  ASSERT_TRUE(ecrire_jpeg((d / "a.jpg").string(), degrade(64, 64), 80));
  ASSERT_TRUE(ecrire_bmp((d / "a.bmp").string(), degrade(64, 64)));
  const std::string jpg = lire(d / "a.jpg"), bmp = lire(d / "a.bmp");
  const Bitmap temoin = degrade(2, 2);
  for (std::size_t n : {std::size_t(0), std::size_t(2), std::size_t(100), jpg.size() / 2, jpg.size() - 2}) {
    ecrire(d / "t.jpg", jpg.substr(0, n));
    Bitmap b = temoin;
    EXPECT_FALSE(lire_jpeg((d / "t.jpg").string(), b)) << n;
    EXPECT_EQ(b, temoin);
  }
  std::string bruit = jpg;
  for (std::size_t k = 200; k < bruit.size(); k += 3) bruit[k] = char(0xFF);
  ecrire(d / "n.jpg", bruit);
  Bitmap b;
  EXPECT_FALSE(lire_jpeg((d / "n.jpg").string(), b));
  for (std::size_t n : {std::size_t(0), std::size_t(20), std::size_t(54), bmp.size() - 1}) {
    ecrire(d / "t.bmp", bmp.substr(0, n));
    EXPECT_FALSE(lire_bmp((d / "t.bmp").string(), b)) << n;
  }
  std::string geant = bmp;
  geant[18] = geant[19] = geant[20] = char(0xFF);
  geant[21] = 0x7F;
  ecrire(d / "g.bmp", geant);
  EXPECT_FALSE(lire_bmp((d / "g.bmp").string(), b));
  EXPECT_FALSE(lire_bmp((d / "absent.bmp").string(), b));
  EXPECT_FALSE(lire_jpeg((d / "absent.jpg").string(), b));
  std::filesystem::remove_all(d);
}

TEST(PictureFiles, TheProgramsSkyPicture) {
  for (const std::string& base : {std::string(QUORVEL_SOURCE_DIR) + "/app/data", std::string(QUORVEL_PROGRAM_DIR)}) {
    Bitmap b;
    ASSERT_TRUE(lire_jpeg(base + "/ciels/nuage.jpg", b)) << base;
    EXPECT_EQ(b.width(), 1024);
    EXPECT_EQ(b.height(), 512);
  }
}


// A few hundred bytes whose header claims 16384 x 16384 pixels are refused
// without taking the memory of such a picture.
TEST(PictureFiles, AJpegClaimingAHugePictureTakesOnlyWhatItHolds) {
  const auto d = dossier();
  const auto octets = octets_jpeg(degrade(16, 16), 80);
  ASSERT_TRUE(octets);
  std::string f = *octets;
  const auto sof = f.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  for (std::size_t k : {sof + 5, sof + 7}) {  // height, then width, big-endian
    f[k] = char(0x40);
    f[k + 1] = char(0x00);
  }
  std::ofstream((d / "grand.jpg").string(), std::ios::binary) << f;
  Bitmap b;
  bool lu = true;
  const std::int64_t pic = test_memoire::croissance_pic([&] { lu = lire_jpeg((d / "grand.jpg").string(), b); });
  EXPECT_FALSE(lu);
  if (pic >= 0) {
    EXPECT_LT(pic, test_memoire::borne(64 << 20)) << "a 16384 x 16384 picture takes 768 MB";
  }
  // Beyond the pixel limit the header alone refuses it.
  f[sof + 5] = char(0x80);
  std::ofstream((d / "trop.jpg").string(), std::ios::binary) << f;
  EXPECT_FALSE(lire_jpeg((d / "trop.jpg").string(), b));
}

// A picture in several scans keeps every block's coefficients from the start
// of decoding: a few hundred bytes of a progressive picture claiming 16384 x
// 16384 pixels once made libjpeg take 837 MB before reading any scan. Scan
// data of less than one bit a block is refused first; real progressive
// pictures, a flat one (one bit a block in its first scan) included, read.
TEST(PictureFiles, AProgressiveJpegMustHoldTheScanDataOfItsSize) {
  const Bitmap source = degrade(64, 48);
  Bitmap b;
  ASSERT_TRUE(decoder_jpeg(test_jpeg::progressif(source), b));
  ASSERT_EQ(b.width(), 64);
  EXPECT_EQ(b.height(), 48);
  int ecart = 0;
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) ecart = std::max(ecart, std::abs(int(b.at(x, y) & 0xFF) - int(source.at(x, y) & 0xFF)));
  EXPECT_LT(ecart, 24);
  const std::string plat = test_jpeg::progressif(Bitmap(2048, 1536, pixel_rgb(90, 120, 200)));
  ASSERT_TRUE(decoder_jpeg(plat, b));
  EXPECT_EQ(b.width(), 2048);

  const std::string hostile = test_jpeg::taille_annoncee(test_jpeg::progressif(degrade(16, 16)), 16384, 16384);
  ASSERT_FALSE(hostile.empty());
  EXPECT_LT(hostile.size(), 1024u);
  const auto d = dossier();
  ecrire(d / "progressif.jpg", hostile);
  bool lu = true;
  const std::int64_t pic = test_memoire::croissance_pic([&] { lu = lire_jpeg((d / "progressif.jpg").string(), b); });
  EXPECT_FALSE(lu);
  if (pic >= 0) EXPECT_LT(pic, test_memoire::borne(16 << 20)) << "the coefficients of 16384 x 16384 pixels";
  EXPECT_EQ(b.width(), 2048);  // unchanged
  // The same picture cut short of a tenth of its scan data is refused too.
  EXPECT_FALSE(decoder_jpeg(plat.substr(0, plat.size() * 9 / 10), b));
  EXPECT_EQ(taille_jpeg(hostile), (std::pair{16384, 16384}));
  EXPECT_EQ(taille_jpeg(plat), (std::pair{2048, 1536}));
  EXPECT_FALSE(taille_jpeg(plat.substr(0, 100)));
}
