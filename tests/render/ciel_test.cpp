// The sky and sea picture: bands, clouds, imported pictures, the mirror and its offsets.
#include "render/ciel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "model/aleatoire.h"
#include "model/defauts.h"
#include "render/bmp.h"
#include "render/jpeg.h"
#include "platform/messages.h"
#include "tests/support/fakes.h"
#include "tests/support/jpeg_progressif.h"
#include "tests/support/memoire.h"

using namespace render;

namespace {

param_vue vue_defaut() {
  param_vue v;
  valeurs_defaut_vue(v);
  return v;
}

const Pixel kFond = pixel_rgb(1, 2, 3);

struct Ciel {
  param_vue vue = vue_defaut();
  TMyPalette palette = palette_pour_vue(vue_defaut());
  Bitmap image;
  TCiel ciel;
  EntreeCiel e;
  SortieCiel s;

  Ciel() {
    e.ligne_horizon = 200;
    e.ligne_terre = 220;
    e.hauteur_coins = -50;
    e.largeur = 640;
    e.hauteur = 480;
    e.cos_elevation = 0.9;
    e.cos_azimut = 1;
  }
  SortieCiel dessiner() {
    palette = palette_pour_vue(vue);
    image.reset(e.largeur, std::max(e.hauteur, e.ligne_horizon), kFond);
    e.vue = &vue;
    e.image = &image;
    e.palette = &palette;
    s = ciel.dessiner_ciel(e);
    return s;
  }
  bool ligne_uniforme(int y) const {
    for (int x = 1; x < image.width(); ++x)
      if (image.at(x, y) != image.at(0, y)) return false;
    return true;
  }
};

struct Dossier {
  std::filesystem::path chemin;
  Dossier() {
    chemin = std::filesystem::temp_directory_path() / ("quorvel_ciels_" + std::to_string(::getpid()));
    std::filesystem::create_directories(chemin);
  }
  ~Dossier() {
    std::error_code ec;
    std::filesystem::remove_all(chemin, ec);
  }
  std::string operator/(const std::string& nom) const { return (chemin / nom).string(); }
};

// Whether an imported sky of this file is drawn (over a picture of no height:
// the sky alone), the file looked for in `dossier` too.
bool ciel_importe_dessine(const std::string& chemin, const std::string& dossier = {}) {
  Ciel c;
  c.vue.type_ciel = 2;
  c.vue.fichier_ciel = chemin;
  c.e.dossier_ciels = dossier;
  c.e.hauteur = 0;
  c.dessiner();
  return c.image.at(5, 5) != kFond;
}

// A vertical grey ramp, darker at the top.
Bitmap rampe_grise(int w, int h) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const auto v = std::uint8_t(40 + 200 * y / h);
      b.at(x, y) = pixel_rgb(v, v, v);
    }
  return b;
}

}  // namespace

TEST(WaveOffsets, OutsideTheReflectedRowsReadZero) {
  Ciel c;
  c.vue.type_ciel = 1;
  c.vue.reflet = 1;
  c.vue.taux_reflet = 6;
  c.vue.agitation_mer = 5;
  c.e.largeur = 800;
  c.e.hauteur = 1400;
  c.e.ligne_horizon = 100;
  c.e.ligne_terre = 120;
  c.dessiner();
  EXPECT_EQ(c.s.nombre_decalages, 1024);
  EXPECT_EQ(c.ciel.decalage_vague(0), 0);
  EXPECT_EQ(c.ciel.decalage_vague(-3), 0);
  EXPECT_EQ(c.ciel.decalage_vague(1024), 0);
  EXPECT_EQ(c.ciel.decalage_vague(1300), 0);
  int non_nuls = 0;
  for (int k = 1; k < 1024; ++k) {
    EXPECT_LE(std::abs(c.ciel.decalage_vague(k)), Round(0.04 * 816));
    non_nuls += c.ciel.decalage_vague(k) != 0;
  }
  EXPECT_GT(non_nuls, 100);

  // A calm sea reflects without any shift.
  c.vue.agitation_mer = 0;
  c.dessiner();
  EXPECT_GT(c.s.nombre_decalages, 0);
  for (int k = 0; k < 1100; ++k) EXPECT_EQ(c.ciel.decalage_vague(k), 0);
}

TEST(SkyPicture, EverySizeAndKindReturns) {
  int cas = 0;
  for (int w = 1; w <= 260; w += 7)
    for (int h = 1; h <= 260; h += 7) {
      Ciel c;
      const int k = cas++;
      c.vue.type_ciel = std::uint8_t(k % 3);
      c.vue.reflet = std::uint8_t((k / 3) % 2);
      c.vue.agitation_mer = std::array{0, 3, 8}[std::size_t((k / 6) % 3)];
      c.vue.taux_reflet = 6;
      const bool devant = (k / 18) % 2;
      c.e.cos_azimut = devant ? -0.9 : 0.9;
      c.e.cos_elevation = 0.95;
      c.e.soleil_visible = devant;
      c.e.soleil = {w / 2, h / 4};
      c.e.largeur = w;
      c.e.hauteur = h;
      c.e.ligne_horizon = std::max(1, h / 3);
      c.e.ligne_terre = c.e.ligne_horizon + 4;
      c.dessiner();
      EXPECT_GE(c.s.nombre_decalages, 0);
    }
}

TEST(SkyPicture, ImportedSkyMirroredWithoutWaves) {
  Dossier d;
  ASSERT_TRUE(ecrire_bmp(d / "rampe.bmp", rampe_grise(64, 64)));
  Ciel c;
  c.vue.type_ciel = 2;
  c.vue.reflet = 1;
  c.vue.agitation_mer = 0;
  c.vue.fichier_ciel = d / "rampe.bmp";
  c.e.ligne_horizon = 200;
  c.e.ligne_terre = 220;
  c.dessiner();
  EXPECT_NE(c.image.at(10, 10), kFond);
  int precedent = 256;
  for (int y = c.e.ligne_terre + 1; y < 480; ++y) {
    ASSERT_TRUE(c.ligne_uniforme(y)) << y;
    const int gris = rgb_of(c.image.at(0, y)).r;
    EXPECT_LE(gris, precedent) << y;
    precedent = gris;
  }
}

TEST(SkyPicture, LightSkyBands) {
  Ciel c;
  c.vue.type_ciel = 0;
  c.e.hauteur = 0;  // sky only
  c.e.ligne_horizon = 400;
  c.e.cos_azimut = 0.8;
  c.dessiner();
  const int hc = c.ciel.hauteur_ciel();
  for (int y = 1; y < hc; ++y) {
    const Rgb a = rgb_of(c.image.at(5, y - 1)), b = rgb_of(c.image.at(5, y));
    EXPECT_LE(b.r, a.r);
    EXPECT_LE(b.g, a.g);
    EXPECT_LE(b.b, a.b);
  }
  c.e.cos_azimut = -0.8;
  c.e.cos_elevation = 0.2;
  c.dessiner();
  for (int y = Round(0.33 * hc) + 1; y < hc; ++y) {
    const Rgb a = rgb_of(c.image.at(5, y - 1)), b = rgb_of(c.image.at(5, y));
    EXPECT_GE(b.r, a.r);
    EXPECT_GE(b.g, a.g);
    EXPECT_GE(b.b, a.b);
  }
  EXPECT_NE(c.image.at(5, hc - 1), c.image.at(5, 0));
  // Below 100 pixels of sky width: one band.
  c.e.largeur = 90;
  c.e.ligne_horizon = 60;
  c.dessiner();
  for (int y = 1; y < 60; ++y) EXPECT_EQ(c.image.at(3, y), c.image.at(3, 0));
}

TEST(Clouds, SameSeedSameSkyAndTheThresholdWithinTheRamp) {
  Ciel a, b;
  for (Ciel* c : {&a, &b}) {
    c->vue.type_ciel = 1;
    c->vue.seed_nuages = 321;
    c->vue.alea_nuages = 1;  // without a progress window the seed still holds
    c->e.hauteur = 0;
    c->e.ligne_horizon = 300;
    c->dessiner();
  }
  EXPECT_EQ(a.image, b.image);
  EXPECT_EQ(a.s.seed_nuages, 321);

  const std::array<std::pair<int, int>, 6> tailles = {{{20, 0}, {0, 200}, {-10, 250}, {30, 0}, {-5, 250}, {5, 150}}};
  for (auto [taille, L] : tailles) {
    Ciel c;
    c.vue.type_ciel = 1;
    c.vue.taille_nuages = taille;
    c.vue.orageux = taille == 30 || taille == -10;
    c.e.hauteur = 0;
    c.e.largeur = 120;
    c.e.ligne_horizon = 50;
    c.dessiner();
    EXPECT_EQ(seuil_nuages(taille), L) << taille;
    // The build's ramp keeps the sky colour up to L + 1 and lightens after it.
    const Rgb ciel = c.palette.lire_couleur(1);
    EXPECT_EQ(c.ciel.rampe()[1][0], ciel.r);
    EXPECT_EQ(c.ciel.rampe()[std::size_t(L + 1)][0], ciel.r) << taille;
    if (L + 2 <= 255) {
      const auto& apres = c.ciel.rampe()[std::size_t(L + 2)];
      EXPECT_TRUE(apres[0] > ciel.r || apres[1] > ciel.g || apres[2] > ciel.b) << taille;
    }
    for (int e = 1; e <= 255; ++e)
      for (int k = 0; k < 3; ++k) {
        EXPECT_GE(c.ciel.rampe()[std::size_t(e)][std::size_t(k)], 1);
        EXPECT_LE(c.ciel.rampe()[std::size_t(e)][std::size_t(k)], 255);
      }
  }
}

TEST(Clouds, ExtremeCountsHeightsAndTheLargestSky) {
  for (auto [nombre, hauteur, largeur] : std::array<std::tuple<int, int, int>, 4>{
           {{1000000, 10, 3}, {2, 0, 300}, {2, -5, 300}, {0, 10, 3922}}}) {
    Ciel c;
    c.vue.type_ciel = 1;
    c.vue.nombre_nuages = nombre;
    c.vue.hauteur_nuages = hauteur;
    c.e.largeur = largeur;
    c.e.hauteur = 0;
    c.e.ligne_horizon = largeur > 1000 ? 1900 : 20;
    c.e.soleil_visible = true;
    c.e.soleil = {largeur / 2, 10};
    c.dessiner();
    EXPECT_LE(c.ciel.largeur_ciel(), 4000);
    EXPECT_LE(c.ciel.hauteur_ciel(), 2000);
  }
}

TEST(SkyFiles, ImportedPicturesFromTheSkyFolder) {
  Dossier d;
  ASSERT_TRUE(ecrire_jpeg(d / "nuage.jpg", rampe_grise(100, 50), 90));
  ASSERT_TRUE(ecrire_jpeg(d / "NUAGE.JPG", rampe_grise(100, 50), 90));
  auto avec = [&](const std::string& chemin) { return ciel_importe_dessine(chemin, d.chemin.string()); };
  EXPECT_TRUE(avec(d / "nuage.jpg"));
  EXPECT_FALSE(avec(d / "NUAGE.JPG"));
  EXPECT_TRUE(avec("C:\\Quorvel\\ciels\\nuage.jpg"));
  EXPECT_FALSE(avec("C:\\Quorvel\\ciels\\absent.jpg"));
  // Damaged files: the background stays, no message.
  ScopedFakeUserInterface ui;
  const std::string entier = [&] {
    std::ifstream f(d / "nuage.jpg", std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  }();
  std::ofstream(d / "court.jpg", std::ios::binary).write(entier.data(), std::streamsize(entier.size() / 2));
  std::ofstream(d / "vide.bmp", std::ios::binary).flush();
  EXPECT_FALSE(avec(d / "court.jpg"));
  EXPECT_FALSE(avec(d / "vide.bmp"));
  EXPECT_TRUE(ui.entries.empty());
}

namespace {

// A run-length bitmap of a few hundred bytes: its header claims the size
// given, its pixels end at once (the picture is black).
std::string bmp_rle_vide(std::int32_t largeur, std::int32_t hauteur) {
  std::string b;
  auto u16 = [&](std::uint32_t v) {
    b.push_back(char(v & 0xFF));
    b.push_back(char((v >> 8) & 0xFF));
  };
  auto u32 = [&](std::uint32_t v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  };
  const std::uint32_t donnees = 14 + 40 + 256 * 4;
  b += "BM";
  u32(donnees + 2);
  u32(0);
  u32(donnees);
  u32(40);
  u32(std::uint32_t(largeur));
  u32(std::uint32_t(hauteur));
  u16(1);
  u16(8);
  u32(1);  // RLE8
  u32(2);
  u32(0);
  u32(0);
  u32(256);
  u32(0);
  b.append(256 * 4, '\0');
  b += std::string("\0\1", 2);  // end of the picture
  return b;
}

}  // namespace

// A sky bitmap whose header claims 16384 x 16384 pixels (a gigabyte once
// decoded) is taken as missing before anything is decoded; the same file
// claiming 640 x 480 is drawn.
TEST(SkyFiles, HugeBitmapSkyIsRefusedOnItsHeader) {
  Dossier d;
  std::ofstream(d / "enorme.bmp", std::ios::binary) << bmp_rle_vide(16384, 16384);
  std::ofstream(d / "petit.bmp", std::ios::binary) << bmp_rle_vide(640, 480);
  std::int64_t largeur = 0, hauteur = 0;
  ASSERT_TRUE(taille_bmp(bmp_rle_vide(16384, 16384), largeur, hauteur));
  EXPECT_GT(largeur * hauteur, kCielPixelsMaxi);
  EXPECT_TRUE(ciel_importe_dessine(d / "petit.bmp"));
  bool dessine = true;
  const std::int64_t pic = test_memoire::croissance_pic([&] { dessine = ciel_importe_dessine(d / "enorme.bmp"); });
  EXPECT_FALSE(dessine);
  if (pic >= 0) EXPECT_LT(pic, test_memoire::borne(64 << 20)) << "a 16384 x 16384 sky takes a gigabyte";
}

// A progressive JPEG holds one bit of scan data a block, so a few hundred
// kilobytes of it can claim a picture of a gigabyte's coefficients. A sky
// claiming more than the largest sky the renderer draws is refused on its
// header; and telling whether a sky can be drawn reads no more than the
// header, whatever size it claims within that limit.
TEST(SkyFiles, AProgressiveSkyIsHeldToTheLargestSkyOnItsHeader) {
  Bitmap petit(16, 16, pixel_rgb(90, 120, 200));
  // The blocks a picture of w x h pixels in colour (chroma halved both ways)
  // has, and as many bits of padding after its scans.
  auto rembourre = [&](int w, int h) {
    std::string f = test_jpeg::taille_annoncee(test_jpeg::progressif(petit), w, h);
    f.append(std::size_t(std::int64_t(w) * h * 3 / 2 / 64 / 8 + 4096), '\0');
    return f;
  };
  Dossier d;
  const std::string trop = rembourre(9000, 8000), grand = rembourre(4096, 4096);
  EXPECT_GT(9000LL * 8000, kCielPixelsMaxi);
  EXPECT_LT(trop.size(), 240u << 10);
  std::ofstream(d / "trop.jpg", std::ios::binary) << trop;
  std::ofstream(d / "grand.jpg", std::ios::binary) << grand;
  EXPECT_TRUE(entete_jpeg_acceptable(trop)) << "within the reader's general limit";
  std::string raison;
  EXPECT_FALSE(entete_jpeg_acceptable(trop, kCielPixelsMaxi, &raison));
  EXPECT_EQ(raison, "it claims 9000 x 8000 pixels; at most " + std::to_string(kCielPixelsMaxi) + " pixels are read");

  bool dessine = true;
  const std::int64_t pic = test_memoire::croissance_pic([&] { dessine = ciel_importe_dessine(d / "trop.jpg"); });
  EXPECT_FALSE(dessine);
  if (pic >= 0) {
    EXPECT_LT(pic, test_memoire::borne(16 << 20)) << "the coefficients of 9000 x 8000 pixels";
  }

  std::string trop_raison, grand_raison;
  const std::int64_t verifie = test_memoire::croissance_pic([&] {
    trop_raison = raison_ciel_illisible(d / "trop.jpg");
    grand_raison = raison_ciel_illisible(d / "grand.jpg");
  });
  EXPECT_EQ(trop_raison, raison);
  EXPECT_EQ(grand_raison, "") << "its header is one the sky reads";
  if (verifie >= 0) {
    EXPECT_LT(verifie, test_memoire::borne(16 << 20)) << "a 4096 x 4096 picture decoded to be checked";
  }
  EXPECT_EQ(raison_ciel_illisible(d / "absent.jpg").empty(), false);
  std::ofstream(d / "plat.bmp", std::ios::binary) << bmp_rle_vide(9000, 8000);
  EXPECT_EQ(raison_ciel_illisible(d / "plat.bmp"),
            "it claims 9000 x 8000 pixels; a sky picture is at most " + std::to_string(kCielPixelsMaxi) + " pixels");
}

TEST(SkyFiles, WeatherPageCallPaintsOnlyTheSky) {
  for (int type : {1, 0}) {
    Ciel c;
    c.vue.type_ciel = std::uint8_t(type);
    c.vue.seed_nuages = 4242;
    c.e.ligne_horizon = 120;
    c.e.ligne_terre = 130;
    c.e.largeur = 160;
    c.e.hauteur = 0;
    c.image.reset(160, 200, kFond);
    c.palette = palette_pour_vue(c.vue);
    c.e.vue = &c.vue;
    c.e.image = &c.image;
    c.e.palette = &c.palette;
    const SortieCiel s = c.ciel.dessiner_ciel(c.e);
    EXPECT_EQ(s.seed_nuages, 4242);
    EXPECT_EQ(s.nombre_decalages, 0);
    EXPECT_NE(c.image.at(80, 60), kFond);
    EXPECT_EQ(c.image.at(80, 199), kFond);  // nothing below the sky
  }
}

TEST(Clouds, CancelDuringTheBuilderSkipsTheSea) {
  const WindowHandle f = platform::register_window([](const platform::Message&) -> std::intptr_t { return 0; });
  Ciel c;
  FakeProgress attente;
  attente.cancel_at(1, f);
  c.vue.type_ciel = 1;
  c.vue.reflet = 1;
  c.vue.taux_reflet = 6;
  c.e.attente = &attente;
  c.e.fenetre = f;
  c.dessiner();
  platform::unregister_window(f);
  EXPECT_TRUE(c.s.annule);
  EXPECT_EQ(c.s.nombre_decalages, 0);
  EXPECT_EQ(c.image.at(10, 470), kFond);
}

TEST(SkyPicture, ParameterValuesFromFilesAtTheirLimits) {
  // Documents are not range-checked: the sky and sea come out without error.
  for (int type : {0, 1, 2})
    for (std::int32_t x : {INT32_MIN, -7, 11, INT32_MAX}) {
      Ciel c;
      c.vue.type_ciel = std::uint8_t(type);
      c.vue.reflet = 1;
      c.vue.agitation_mer = x == -7 ? 0 : x;
      c.vue.taux_reflet = x;
      c.vue.hauteur_nuages = x;
      c.vue.nombre_nuages = x;
      c.vue.taille_nuages = x;
      c.e.cos_azimut = -0.9;
      c.e.cos_elevation = 0.95;
      c.e.soleil_visible = true;
      c.e.soleil = {320, 100};
      EXPECT_NO_THROW(c.dessiner());
    }
}

TEST(Clouds, LowCloudsOnTheLargestSky) {
  // Low clouds end in one-row bands over the whole 4000-pixel width.
  Ciel c;
  c.vue.type_ciel = 1;
  c.vue.hauteur_nuages = 1;
  c.e.largeur = 3922;
  c.e.hauteur = 0;
  c.e.ligne_horizon = 1996;
  c.dessiner();
  EXPECT_EQ(c.ciel.largeur_ciel(), 4000);
  EXPECT_EQ(c.ciel.hauteur_ciel(), 2000);
  EXPECT_NE(c.image.at(3000, 1900), kFond);
}

// Below the horizon, without reflections, the plain is water only while the
// two far corners of the terrain stand at most 50 m above the sea; higher
// corners give it the earth ramp's colour, and corners more than 50 m above
// the grass level the grass ramp's (a mountain seen as standing on land).
TEST(SeaPicture, PlainTakesTheGroundColourOfHighFarCorners) {
  Ciel c;
  c.vue.reflet = 0;
  c.e.cos_elevation = 0.5;  // no glare, no brightening: one colour
  const std::int32_t G = c.vue.niveau_herbe, S = c.vue.niveau_mer;
  const struct {
    std::int32_t hauteur;
    std::uint16_t entree;
  } cas[] = {{S + 50, 7}, {S + 51, 58}, {G + 50, 58}, {G + 51, 106}};
  for (const auto& k : cas) {
    c.e.hauteur_coins = k.hauteur;
    c.dessiner();
    EXPECT_EQ(c.image.at(10, 470), pixel_of(c.palette.lire_couleur(k.entree))) << "corners at " << k.hauteur;
  }
}
