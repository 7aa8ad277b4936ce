// Bitmap variants: files written by ImageMagick (run-length 8 bits, 5-6-5 and
// 5-5-5, palettes, the old header) decoded pixel for pixel as ImageMagick
// decodes them; hand-made run-length streams with every code, runs and moves
// past the edges, cut streams; masks in any order; hostile streams; reasons.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include <unistd.h>

#include "render/bmp.h"
#include "tests/support/memoire.h"

using namespace render;

namespace {

namespace fs = std::filesystem;

std::string le32(std::uint32_t v) {
  std::string s(4, '\0');
  for (int k = 0; k < 4; ++k) s[std::size_t(k)] = char(v >> (8 * k));
  return s;
}
std::string le16(std::uint32_t v) { return le32(v).substr(0, 2); }

// A bitmap file: 40-byte header, then `extra` (palette or masks), then `data`.
std::string fichier_bmp(std::int32_t w, std::int32_t h, int bits, std::uint32_t compression, const std::string& extra,
                        const std::string& data, std::int64_t nombre_couleurs = -1) {
  const std::uint32_t couleurs =
      std::uint32_t(nombre_couleurs >= 0 ? nombre_couleurs : bits <= 8 ? std::int64_t(extra.size() / 4) : 0);
  const std::uint32_t debut = 54 + std::uint32_t(extra.size());
  return "BM" + le32(debut + std::uint32_t(data.size())) + le32(0) + le32(debut) + le32(40) + le32(std::uint32_t(w)) +
         le32(std::uint32_t(h)) + le16(1) + le16(std::uint32_t(bits)) + le32(compression) +
         le32(std::uint32_t(data.size())) + le32(2835) + le32(2835) + le32(couleurs) + le32(0) + extra + data;
}

// Palette entry k is (r, g, b) = (10 k, 20 k, 30 k) modulo 256.
std::string palette(int n) {
  std::string s;
  for (int k = 0; k < n; ++k) s += std::string{char(30 * k), char(20 * k), char(10 * k), 0};
  return s;
}
Pixel couleur(int k) { return pixel_rgb(std::uint8_t(10 * k), std::uint8_t(20 * k), std::uint8_t(30 * k)); }

std::string octets(std::initializer_list<int> l) {
  std::string s;
  for (int v : l) s += char(v);
  return s;
}

// The picture as rows of palette indices ('.' for black).
std::vector<std::string> indices(const Bitmap& b, int n) {
  std::vector<std::string> r;
  for (int y = 0; y < b.height(); ++y) {
    std::string l;
    for (int x = 0; x < b.width(); ++x) {
      char c = '?';
      if (b.at(x, y) == pixel_rgb(0, 0, 0)) c = '.';
      for (int k = 1; k < n; ++k)
        if (b.at(x, y) == couleur(k)) c = char(k < 10 ? '0' + k : 'a' + k - 10);
      l += c;
    }
    r.push_back(l);
  }
  return r;
}

// ImageMagick's convert, when it is installed.
std::string convert() {
  for (const char* p : {"/usr/bin/convert", "/usr/local/bin/convert"})
    if (fs::exists(p)) return p;
  return {};
}

struct Dossier {
  fs::path p = fs::temp_directory_path() / ("quorvel_bmp_" + std::to_string(::getpid()));
  Dossier() { fs::create_directories(p); }
  ~Dossier() { fs::remove_all(p); }
};

std::string lire(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

// ImageMagick's decoding of `bmp`, through an 8-bit PPM.
std::optional<Bitmap> decodage_magick(const std::string& outil, const fs::path& bmp) {
  const fs::path ppm = bmp.string() + ".ppm";
  const std::string commande = outil + " '" + bmp.string() + "' -depth 8 ppm:'" + ppm.string() + "'";
  if (std::system(commande.c_str()) != 0) return std::nullopt;
  std::istringstream f(lire(ppm));
  std::string magie;
  int w = 0, h = 0, maxi = 0;
  f >> magie >> w >> h >> maxi;
  f.get();
  if (magie != "P6" || maxi != 255) return std::nullopt;
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      char c[3];
      f.read(c, 3);
      b.at(x, y) = pixel_rgb(std::uint8_t(c[0]), std::uint8_t(c[1]), std::uint8_t(c[2]));
    }
  if (!f) return std::nullopt;
  return b;
}

}  // namespace

TEST(BmpVariants, FilesWrittenByImageMagickDecodeAsImageMagickDecodesThem) {
  const std::string outil = convert();
  if (outil.empty()) GTEST_SKIP() << "ImageMagick's convert is not installed";
  Dossier d;
  const std::string source = "'" + (d.p / "source.png").string() + "'";
  ASSERT_EQ(std::system((outil + " -size 61x37 -seed 7 plasma:fractal " + source).c_str()), 0);
  struct Cas {
    const char* nom;
    const char* options;
    int bits, compression;  // as the file says, so that each layout is really met
  };
  const Cas cas[] = {
      {"rle8.bmp", "-colors 200 -type Palette -compress RLE bmp3:", 8, 1},
      {"rle8v5.bmp", "-colors 9 -type Palette -compress RLE bmp:", 8, 1},
      {"rgb565.bmp", "-define bmp:subtype=RGB565 bmp:", 16, 3},
      {"rgb555.bmp", "-define bmp:subtype=RGB555 bmp:", 16, 3},
      {"p8.bmp", "-colors 200 -type Palette -compress None bmp3:", 8, 0},
      {"p4.bmp", "-colors 16 -type Palette -compress None bmp3:", 4, 0},
      {"p1.bmp", "-threshold 50% -type Bilevel bmp3:", 1, 0},
      {"old.bmp", "bmp2:", -1, -1},
      {"rgb24.bmp", "bmp3:", 24, 0},
      {"argb.bmp", "-alpha on bmp:", 32, 3},
  };
  for (const Cas& c : cas) {
    const fs::path f = d.p / c.nom;
    const std::string ecrire = outil + " " + source + " " + c.options + "'" + f.string() + "'";
    ASSERT_EQ(std::system(ecrire.c_str()), 0) << c.nom;
    const std::string tete = lire(f);
    ASSERT_GE(tete.size(), 34u) << c.nom;
    if (c.bits >= 0) {
      EXPECT_EQ(std::uint8_t(tete[28]), c.bits) << c.nom;
      EXPECT_EQ(std::uint8_t(tete[30]), c.compression) << c.nom;
    } else {
      EXPECT_EQ(std::uint8_t(tete[14]), 12) << c.nom;  // the old 12-byte header
    }
    const auto attendu = decodage_magick(outil, f);
    ASSERT_TRUE(attendu) << c.nom;
    Bitmap lu;
    std::string raison;
    ASSERT_TRUE(lire_bmp(f.string(), lu, &raison)) << c.nom << ": " << raison;
    EXPECT_EQ(lu, *attendu) << c.nom;
  }
  // The same 5-5-5 pixels without bit fields (compression 0) read alike.
  std::string s = lire(d.p / "rgb555.bmp");
  s.replace(30, 4, le32(0));
  std::ofstream(d.p / "plain555.bmp", std::ios::binary) << s;
  Bitmap a, b;
  ASSERT_TRUE(lire_bmp((d.p / "rgb555.bmp").string(), a));
  ASSERT_TRUE(lire_bmp((d.p / "plain555.bmp").string(), b));
  EXPECT_EQ(a, b);
  // Masks in another order: red in the low byte, and red in the top byte.
  std::string pixels;
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) pixels += le32(std::uint32_t(x * 40) | std::uint32_t(y * 80) << 8 | 200u << 16);
  for (const auto& [nom, masques] : {std::pair{"bgr.bmp", le32(0xFF) + le32(0xFF00) + le32(0xFF0000)},
                                     std::pair{"rgba.bmp", le32(0xFF000000) + le32(0xFF0000) + le32(0xFF00)}}) {
    std::ofstream(d.p / nom, std::ios::binary) << fichier_bmp(5, 3, 32, 3, masques, pixels);
    const auto attendu = decodage_magick(outil, d.p / nom);
    ASSERT_TRUE(attendu) << nom;
    Bitmap lu;
    ASSERT_TRUE(lire_bmp((d.p / nom).string(), lu)) << nom;
    EXPECT_EQ(lu, *attendu) << nom;
  }
}

TEST(BmpVariants, RunLengthCodesClipAndStopWhereTheStreamEnds) {
  // 8 bits, 6 x 4, bottom-up: a run, the end of a line, a move, a raw run of
  // odd length (padded), a run past the right edge, the end of the picture.
  const std::string rle8 = octets({3, 1,  0, 0,              // row 3: 111
                                   0, 2, 2, 1,               // move right 2, up 1
                                   0, 3, 4, 5, 6, 0,         // row 2 from x 2: 456 (+ pad)
                                   0, 0,                     // next row
                                   9, 7,                     // row 1: 7 past the edge
                                   0, 1,                     // end of picture
                                   5, 8});                   // never read
  Bitmap b;
  std::string raison;
  ASSERT_TRUE(decoder_bmp(fichier_bmp(6, 4, 8, 1, palette(16), rle8), b, &raison)) << raison;
  EXPECT_EQ(indices(b, 16), (std::vector<std::string>{"777777", "..456.", "......", "111..."}));
  // 4 bits: runs alternate two colours, raw runs take nibbles.
  const std::string rle4 = octets({5, 0x12,  0, 0,  0, 5, 0x34, 0x56, 0x70, 0,  0, 1});
  ASSERT_TRUE(decoder_bmp(fichier_bmp(6, 2, 4, 2, palette(16), rle4), b, &raison)) << raison;
  EXPECT_EQ(indices(b, 16), (std::vector<std::string>{"34567.", "12121."}));
  // Moves past the top and the right edge drop what follows.
  ASSERT_TRUE(decoder_bmp(fichier_bmp(4, 2, 8, 1, palette(4), octets({0, 2, 200, 0, 2, 3, 0, 2, 0, 9, 4, 3})), b));
  EXPECT_EQ(indices(b, 4), (std::vector<std::string>{"....", "...."}));
  // A stream cut anywhere keeps what came before it.
  const std::string complet = fichier_bmp(6, 4, 8, 1, palette(16), rle8);
  for (std::size_t coupe : {std::size_t(2), std::size_t(9), std::size_t(13)}) {
    ASSERT_TRUE(decoder_bmp(complet.substr(0, complet.size() - rle8.size() + coupe), b, &raison)) << coupe;
    EXPECT_EQ(indices(b, 16)[3], "111...") << coupe;
    EXPECT_EQ(indices(b, 16)[0], "......") << coupe;
  }
  ASSERT_TRUE(decoder_bmp(complet.substr(0, complet.size() - rle8.size() + 12), b));
  EXPECT_EQ(indices(b, 16)[1], "..45..");  // the raw run cut after two colours
  // Top-down files and kept parts: only the top-left corner is allocated.
  ASSERT_TRUE(decoder_bmp(fichier_bmp(6, -4, 8, 1, palette(16), rle8), b));
  EXPECT_EQ(indices(b, 16)[0], "111...");
  ASSERT_TRUE(decoder_bmp(complet, b, nullptr, 2));
  EXPECT_EQ(indices(b, 16), (std::vector<std::string>{"77", ".."}));
}

TEST(BmpVariants, BitFieldsOf16And24Bits) {
  // 5-6-5: pure colours and the widening of 5 and 6 bits by repeating them.
  std::string p = le16(0xF800) + le16(0x07E0) + le16(0x001F) + le16(0x8410);
  Bitmap b;
  ASSERT_TRUE(decoder_bmp(fichier_bmp(4, 1, 16, 3, le32(0xF800) + le32(0x07E0) + le32(0x001F), p), b));
  EXPECT_EQ(b.at(0, 0), pixel_rgb(255, 0, 0));
  EXPECT_EQ(b.at(1, 0), pixel_rgb(0, 255, 0));
  EXPECT_EQ(b.at(2, 0), pixel_rgb(0, 0, 255));
  EXPECT_EQ(b.at(3, 0), pixel_rgb(0x84, 0x82, 0x84));  // 10000 -> 10000100, 100000 -> 10000010
  // 24 bits through masks that swap red and blue.
  ASSERT_TRUE(decoder_bmp(fichier_bmp(1, 1, 24, 3, le32(0xFF) + le32(0xFF00) + le32(0xFF0000), std::string("\x01\x02\x03\x00", 4)), b));
  EXPECT_EQ(b.at(0, 0), pixel_rgb(1, 2, 3));
  // Masks that are no runs of bits, or lie past the pixel's bits, are refused.
  std::string raison;
  EXPECT_FALSE(decoder_bmp(fichier_bmp(1, 1, 16, 3, le32(0xF00F) + le32(0x0F0) + le32(0), p), b, &raison));
  EXPECT_NE(raison.find("colour masks"), std::string::npos);
  EXPECT_FALSE(decoder_bmp(fichier_bmp(1, 1, 16, 3, le32(0xFF0000) + le32(0xFF00) + le32(0xFF), p), b));
}

TEST(BmpVariants, RefusalsSayWhy) {
  Bitmap b(2, 2);
  const Bitmap temoin = b;
  auto raison = [&](const std::string& f) {
    std::string r;
    EXPECT_FALSE(decoder_bmp(f, b, &r));
    EXPECT_EQ(b, temoin);
    return r;
  };
  EXPECT_EQ(raison(fichier_bmp(100000, 100000, 24, 0, "", "")),
            "it claims 100000 x 100000 pixels; at most 65535 pixels a side and 268435456 pixels in all are "
            "read");
  EXPECT_NE(raison(fichier_bmp(20000, 20000, 24, 0, "", "")).find("268435456 pixels in all"), std::string::npos);
  EXPECT_NE(raison(fichier_bmp(4, 4, 8, 4, "", "")).find("JPEG or PNG"), std::string::npos);
  EXPECT_NE(raison(fichier_bmp(4, 4, 24, 1, "", "")).find("does not go with 24 bits"), std::string::npos);
  EXPECT_NE(raison(fichier_bmp(4, 4, 12, 0, "", "")).find("12 bits per pixel"), std::string::npos);
  EXPECT_NE(raison(fichier_bmp(4, 4, 24, 0, "", "xx")).find("cut short"), std::string::npos);
  EXPECT_NE(raison(fichier_bmp(2, 1, 8, 1, palette(2), octets({2, 5}))).find("colour 5 of a palette of 2"),
            std::string::npos);
  EXPECT_NE(raison("GIF89a").find("not a Windows bitmap"), std::string::npos);
  // Pixels said to start at the file's first byte, or on the palette the header implies.
  std::string au_debut = fichier_bmp(2, 1, 24, 0, "", std::string(8, '\x40'));
  au_debut.replace(10, 4, le32(0));
  for (const std::string& f : {au_debut, fichier_bmp(8, 1, 1, 0, "", std::string(4, '\xff'), 0)})
    EXPECT_EQ(raison(f), "its pixels start inside its header or its palette");
  std::string r;
  EXPECT_FALSE(lire_bmp("/nonexistent/quorvel.bmp", b, &r));
  EXPECT_EQ(r, "No such file or directory");
}

// Random run-length streams over pictures of every odd size: whatever the
// bytes, nothing is written outside the picture (checked by the sanitizer
// build), and a tiny stream that claims a huge picture allocates only the
// kept corner.
TEST(BmpVariants, HostileRunLengthStreams) {
  std::uint32_t graine = 12345;
  auto hasard = [&graine] {
    graine = graine * 1103515245u + 12345u;
    return graine >> 16;
  };
  for (int essai = 0; essai < 3000; ++essai) {
    const bool quatre = essai % 2;
    const int w = 1 + int(hasard() % 9), h = 1 + int(hasard() % 7);
    std::string flux;
    const int n = int(hasard() % 64);
    for (int k = 0; k < n; ++k) {
      // Mostly codes (0 then 0..3), to reach moves and raw runs often.
      flux += char(hasard() % 3 == 0 ? 0 : hasard());
      flux += char(hasard() % 2 ? hasard() % 4 : hasard());
    }
    Bitmap b;
    decoder_bmp(fichier_bmp(w, essai % 3 ? h : -h, quatre ? 4 : 8, quatre ? 2 : 1, palette(quatre ? 16 : 256), flux),
                b);
    if (!b.empty()) {
      EXPECT_EQ(b.width(), w);
      EXPECT_EQ(b.height(), h);
    }
  }
  Bitmap b;
  ASSERT_TRUE(decoder_bmp(fichier_bmp(65535, 4096, 8, 1, palette(2), octets({255, 1, 0, 2, 255, 255, 0, 1})), b,
                          nullptr, 2048));
  EXPECT_EQ(b.width(), 2048);
  EXPECT_EQ(b.height(), 2048);
}

// Uncompressed pixels must all be in the file before the picture is made: 54
// bytes claiming 16384 x 16384 pixels at 24 bits once took the gigabyte of
// that picture before finding its pixels cut short.
TEST(BmpVariants, UncompressedPixelsAreCheckedBeforeThePictureIsMade) {
  const std::string entete = fichier_bmp(16384, 16384, 24, 0, "", "");
  ASSERT_EQ(entete.size(), 54u);
  Bitmap b;
  std::string r;
  bool lu = true;
  const std::int64_t pic = test_memoire::croissance_pic([&] { lu = decoder_bmp(entete, b, &r); });
  EXPECT_FALSE(lu);
  EXPECT_EQ(r, "its pixels are cut short");
  if (pic >= 0) EXPECT_LT(pic, test_memoire::borne(16 << 20)) << "the claimed picture takes 1 GB";
  std::int64_t w = 0, h = 0;
  r.clear();
  EXPECT_FALSE(taille_bmp(entete, w, h, &r));
  EXPECT_EQ(r, "its pixels are cut short");
  // 3 x 2 pixels at 24 bits: rows of 12 bytes; one byte short of the last row
  // is refused, the whole rows read.
  const std::string lignes(24, '\x40');
  EXPECT_FALSE(decoder_bmp(fichier_bmp(3, 2, 24, 0, "", lignes.substr(0, 23)), b));
  EXPECT_FALSE(taille_bmp(fichier_bmp(3, 2, 24, 0, "", lignes.substr(0, 23)), w, h));
  ASSERT_TRUE(taille_bmp(fichier_bmp(3, 2, 24, 0, "", lignes), w, h));
  EXPECT_EQ(w * 10 + h, 32);
  ASSERT_TRUE(decoder_bmp(fichier_bmp(3, 2, 24, 0, "", lignes), b));
  EXPECT_EQ(b.at(2, 1), pixel_rgb(0x40, 0x40, 0x40));
  // A run-length picture may end anywhere, so its header alone gives its size.
  EXPECT_TRUE(taille_bmp(fichier_bmp(16384, 16384, 8, 1, palette(2), octets({0, 1})), w, h));
}

// A run-length stream that moves over pixels takes up to four bytes a pixel:
// one that skips every other pixel of a 64 x 64 picture is longer than two
// bytes a pixel, and is read whole from its file in both depths (its last
// rows, the top of the picture, once came out blank). So is one led by a
// megabyte of moves that go nowhere, longer than any stream of its size
// that moves somewhere (it was cut, and its picture came out blank). A
// stream is read no further than its end code, however long the file after:
// one of 16384 x 16384 pixels that ends at once, in a sparse file of 1 GiB,
// was read whole, taking a gigabyte.
TEST(BmpVariants, RunLengthStreamsWithMovesAreReadWhole) {
  const Dossier d;
  auto ecrire = [&d](const std::string& nom, const std::string& octets) {
    std::ofstream((d.p / nom).string(), std::ios::binary) << octets;
    return (d.p / nom).string();
  };
  for (int bits : {8, 4})
    for (bool immobile : {false, true}) {
      SCOPED_TRACE(std::to_string(bits) + (immobile ? " bits, moves that go nowhere" : " bits"));
      std::string flux;
      for (int k = 0; immobile && k < 1 << 18; ++k) flux += octets({0, 2, 0, 0});
      for (int r = 0; r < 64; ++r) {
        const int k = 1 + r % 15, v = bits == 8 ? k : k * 17;
        if (immobile) flux += octets({64, v});
        for (int x = 0; !immobile && x < 64; x += 2) flux += octets({1, v, 0, 2, 1, 0});
        flux += octets({0, 0});
      }
      flux += octets({0, 1});
      ASSERT_GT(flux.size(), 64u * (2 * 64 + 2) + 2);
      const std::string chemin = ecrire("sauts.bmp", fichier_bmp(64, 64, bits, bits == 8 ? 1 : 2, palette(16), flux));
      std::filesystem::resize_file(chemin, std::uint64_t(256) << 20);
      Bitmap b;
      std::string raison;
      const std::int64_t lus = test_memoire::octets_lus([&] { ASSERT_TRUE(lire_bmp(chemin, b, &raison)) << raison; });
      if (lus >= 0) {
        EXPECT_LT(lus, flux.size() + (256 << 10));
      }
      const std::vector<std::string> vu = indices(b, 16);
      ASSERT_EQ(vu.size(), 64u);
      for (int y = 0; y < 64; ++y) {
        const int k = 1 + (63 - y) % 15;
        std::string attendu;
        for (int x = 0; x < 64; ++x) attendu += x % 2 && !immobile ? '.' : char(k < 10 ? '0' + k : 'a' + k - 10);
        EXPECT_EQ(vu[std::size_t(y)], attendu) << "row " << y;
      }
    }
  const std::string court = ecrire("court.bmp", fichier_bmp(16384, 16384, 8, 1, palette(16), octets({0, 1})));
  std::filesystem::resize_file(court, std::uint64_t(1) << 30);
  Bitmap b;
  std::int64_t lus = -1;
  const std::int64_t pic = test_memoire::croissance_pic(
      [&] { lus = test_memoire::octets_lus([&] { ASSERT_TRUE(lire_bmp(court, b, nullptr, 16)); }); });
  EXPECT_EQ(b.width(), 16);
  EXPECT_LT(lus, 1 << 20);  // -1 where the counts cannot be had
  EXPECT_LT(pic, test_memoire::borne(16 << 20));
}
