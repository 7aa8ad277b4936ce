// The readers of pictures, skies, gallery thumbnails, import sources and
// movies against files that are not what their names say: each refusal keeps
// the file reader's reason or names what the file is, and a hostile file is
// refused on its first bytes, without taking memory for its size.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "app/galerie.h"
#include "app/images_qt.h"
#include "import/importation.h"
#include "platform/fichiers.h"
#include "render/bmp.h"
#include "render/ciel.h"
#include "render/image.h"
#include "render/jpeg.h"
#include "tests/app/programme_test_support.h"
#include "tests/support/garde_tube.h"
#include "tests/support/memoire.h"
#include "video/lecteur.h"

namespace {

namespace fs = std::filesystem;

struct Lectures : ::testing::Test {
  QTemporaryDir dossier;
  std::string chemin(const std::string& nom) const { return dossier.path().toStdString() + "/" + nom; }
  // A file of `octets` followed by zeros up to `taille` bytes, with no disk
  // block behind the zeros.
  std::string creux(const std::string& nom, const std::string& octets, std::uint64_t taille) const {
    EXPECT_EQ(ecrire_fichier(chemin(nom), octets), "");
    fs::resize_file(chemin(nom), taille);
    return chemin(nom);
  }
};

void mettre_32(std::string& s, std::size_t o, std::uint32_t v) {
  for (int k = 0; k < 4; ++k) s[o + std::size_t(k)] = char(v >> (8 * k));
}

// The 54 bytes of the header of an uncompressed 32-bit bitmap of w x h.
std::string entete_bmp(std::uint32_t w, std::uint32_t h) {
  std::string s(54, '\0');
  s[0] = 'B';
  s[1] = 'M';
  mettre_32(s, 10, 54);
  mettre_32(s, 14, 40);
  mettre_32(s, 18, w);
  mettre_32(s, 22, h);
  s[26] = 1;
  s[28] = 32;
  return s;
}

constexpr std::uint64_t kGio = std::uint64_t(1) << 30;

// A growth of the peak of memory far below the files' sizes, where the peak
// can be measured.
void peu_de_memoire(std::int64_t pic, const char* quoi) {
  if (pic < 0) return;
  EXPECT_LT(pic, test_memoire::borne(std::int64_t(32) << 20)) << quoi;
}

}  // namespace

// A pipe, a missing file and a file too large keep the reader's reason
// through the bitmap, picture and import readers; a movie in another
// container named ".avi" is named for what it is.
TEST_F(Lectures, EveryRefusalSaysWhyInTheProgramsWords) {
  GardeTube tube(chemin("tube.bmp"));
  ASSERT_TRUE(tube.cree());
  Importation imp;
  EXPECT_EQ(imp.importer(chemin("tube.bmp"), param_mat{}, nullptr, 0),
            "The file " + chemin("tube.bmp") +
                " cannot be imported: the bitmap cannot be read: a named pipe is not a regular file");
  EXPECT_EQ(imp.importer(chemin("absent.bmp"), param_mat{}, nullptr, 0),
            "The file " + chemin("absent.bmp") + " cannot be imported: the bitmap cannot be read: No such file or "
                                                 "directory");
  render::Bitmap b;
  std::string raison;
  EXPECT_FALSE(render::lire_image(chemin("tube.bmp"), b, &raison));
  EXPECT_EQ(raison, "a named pipe is not a regular file");
  EXPECT_FALSE(tube.ouvert()) << "the named pipe was opened";
  // A header whose pixels pass the read limit, in a file as long as they are.
  const std::string grand = creux("grand.bmp", entete_bmp(16384, 16384), 54 + kGio);
  const std::string trop = "it is too large to be read (" + std::to_string(54 + kGio) + " bytes; at most " +
                           std::to_string(kGio) + ")";
  const std::int64_t pic = test_memoire::croissance_pic([&] {
    EXPECT_FALSE(render::lire_bmp(grand, b, &raison));
    EXPECT_EQ(raison, trop);
    EXPECT_EQ(imp.importer(grand, param_mat{}, nullptr, 0),
              "The file " + grand + " cannot be imported: the bitmap cannot be read: " + trop);
  });
  peu_de_memoire(pic, "a bitmap too large");
  // Movies of other containers beside a document, by their first bytes.
  std::string mp4("\0\0\0\x18" "ftypisom\0\0\x02\0" "isommp42" "\0\0\0\x08" "free", 32);
  std::string mkv("\x1A\x45\xDF\xA3\xA3\x42\x86\x81\x01\x42\xF7\x81\x01\x42\xF2\x81\x04\x42\xF3\x81\x08"
                  "\x42\x82\x88" "matroska" "\x42\x87\x81\x04\x42\x85\x81\x02",
                  40);
  ASSERT_EQ(ecrire_fichier(chemin("mp4.avi"), mp4 + std::string(4096, '\0')), "");
  ASSERT_EQ(ecrire_fichier(chemin("mkv.avi"), mkv + std::string(4096, '\0')), "");
  EXPECT_EQ(raison_film_illisible(chemin("mp4.avi")), "it is an MP4 or QuickTime movie, not an AVI or MPEG movie");
  EXPECT_EQ(raison_film_illisible(chemin("mkv.avi")), "it is a Matroska or WebM movie, not an AVI or MPEG movie");
  // The same for whole movies, where the encoder program is there to make them.
  for (const char* nom : {"vrai_mp4.avi", "vrai_mkv.avi"}) {
    const std::string format = std::string(nom).find("mp4") != std::string::npos ? "mp4" : "matroska";
    const std::string commande = "ffmpeg -v error -y -f lavfi -i color=c=red:s=32x32:d=0.2 -c:v mpeg2video -f " +
                                 format + " " + chemin(nom) + " </dev/null >/dev/null 2>&1";
    if (std::system(commande.c_str()) != 0) continue;
    EXPECT_EQ(raison_film_illisible(chemin(nom)), format == "mp4"
                                                      ? "it is an MP4 or QuickTime movie, not an AVI or MPEG movie"
                                                      : "it is a Matroska or WebM movie, not an AVI or MPEG movie");
  }
}

// Files of zeros, sparse, named as a DEM, a Geoconcept grid, a bitmap, a sky
// or a view's picture, and a link to a file of /proc that never ends, are
// refused on their first record: the memory they take does not grow with
// their size, and the gallery over ten of them shows none.
TEST_F(Lectures, HostileFilesAreRefusedOnTheirHeaderWithoutTakingTheirSize) {
  const std::string dem = creux("zero.dem", "", kGio - 1), mnt = creux("zero.mnt", "", kGio - 1);
  const std::string bmp = creux("zero.bmp", "", kGio - 1), jpg = creux("zero.jpg", "", 900 << 20);
  ASSERT_EQ(::symlink("/proc/self/pagemap", chemin("pagemap.jpg").c_str()), 0);
  const std::string pagemap = chemin("pagemap.jpg");
  Importation imp;
  render::Bitmap b;
  std::string raison, raison_jpg, raison_pagemap, raison_ciel;
  const std::int64_t pic = test_memoire::croissance_pic([&] {
    EXPECT_EQ(imp.importer(dem, param_mat{}, nullptr, 0),
              "The file " + dem + " cannot be imported: record A: the name field holds a zero byte");
    EXPECT_EQ(imp.importer(mnt, param_mat{}, nullptr, 0).rfind(
                  "The file " + mnt + " cannot be imported: line 1: a number was expected, \"", 0),
              0u);
    EXPECT_EQ(imp.importer(bmp, param_mat{}, nullptr, 0),
              "The file " + bmp + " cannot be imported: the bitmap cannot be read: it is not a Windows bitmap (it "
                                  "does not start with \"BM\")");
    EXPECT_FALSE(lire_image_vue(jpg, &raison_jpg));
    EXPECT_FALSE(lire_image_vue(pagemap, &raison_pagemap));
    raison_ciel = render::raison_ciel_illisible(jpg);
    EXPECT_FALSE(render::lire_jpeg(pagemap, b));
  });
  peu_de_memoire(pic, "sources, pictures and skies");
  EXPECT_EQ(raison_jpg, "it is neither a Windows bitmap nor a JPEG picture");
  EXPECT_EQ(raison_pagemap, "it is neither a Windows bitmap nor a JPEG picture");
  EXPECT_EQ(raison_ciel, "it is not a JPEG picture");
  // A DEM is read no further than its profiles: a good one followed by
  // zeros reads as without them, and one whose first profile is refused is
  // refused on it.
  const std::string g121 = lire_tout(QUORVEL_SOURCE_DIR "/tests/data/import/g121.dem");
  Importation seul;
  ASSERT_EQ(seul.importer(QUORVEL_SOURCE_DIR "/tests/data/import/g121.dem", param_mat{}, nullptr, 0), "");
  const std::string suivi = creux("suivi.dem", g121, 900 << 20);
  const std::string mauvais = creux("mauvais.dem", g121.substr(0, 1024) + "x", kGio - 1);
  const std::int64_t pic_dem = test_memoire::croissance_pic([&] {
    EXPECT_EQ(imp.importer(suivi, param_mat{}, nullptr, 0), "");
    EXPECT_EQ(imp.grille, seul.grille);
    EXPECT_EQ(imp.importer(mauvais, param_mat{}, nullptr, 0),
              "The file " + mauvais + " cannot be imported: profile 1 (record B), field \"row\", byte 1025: a number "
                                      "was expected, \"x\" was found");
  });
  peu_de_memoire(pic_dem, "DEMs");
  // A text grid's header is its line count: it is read through, but kept
  // only as far as its rows go.
  const std::string txt = creux("zero.txt", "", std::uint64_t(256) << 20);
  const std::int64_t pic_txt = test_memoire::croissance_pic([&] {
    EXPECT_EQ(imp.importer(txt, param_mat{}, nullptr, 0),
              "The file " + txt + " cannot be imported: a text grid needs at least 251 lines; this one has 1");
  });
  peu_de_memoire(pic_txt, "a text grid");
  // Ten view documents whose pictures are such files.
  const std::string texte = lire_tout(QUORVEL_SOURCE_DIR "/tests/data/vue.vue");
  std::vector<std::string> noms;
  for (int k = 0; k < 10; ++k) {
    const std::string nom = "v" + std::to_string(k);
    ecrire_tout(QString::fromStdString(chemin(nom + ".vue")), texte);
    if (k % 2) {
      ASSERT_EQ(::symlink("/proc/self/pagemap", chemin(nom + ".jpg").c_str()), 0);
    } else {
      creux(nom + ".jpg", "", 900 << 20);
      creux(nom + ".bmp", "", 900 << 20);
    }
    noms.push_back(chemin(nom + ".vue"));
  }
  TForm_galerie g;
  const std::int64_t pic_galerie = test_memoire::croissance_pic([&] { g.charger_vues(0, noms); });
  peu_de_memoire(pic_galerie, "the gallery");
  ASSERT_EQ(g.nombre(), 10);
  for (int k = 0; k < 10; ++k) EXPECT_FALSE(g.emplacement(k).image) << k;
}
