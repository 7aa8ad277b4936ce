// The movie reader against movies made by the ffmpeg program.
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "platform/fichiers.h"
#include "platform/vidconv/lecteur_film.h"
#include "tests/support/commande.h"

namespace fs = std::filesystem;
using platform::vcv::MovieReader;

namespace {

bool ffmpeg_present() { return std::system("command -v ffmpeg >/dev/null 2>&1") == 0; }

struct Films : ::testing::Test {
  static inline fs::path dossier;
  static void SetUpTestSuite() {
    if (!ffmpeg_present()) return;
    dossier = fs::temp_directory_path() / ("quorvel-lecteur-" + std::to_string(::getpid()));
    fs::create_directories(dossier);
    for (const char* c : {"size=320x240:rate=30 -frames:v 30 -c:v cinepak t.avi",
                          "size=320x240:rate=30 -frames:v 30 -c:v mpeg1video t.mpg",
                          "size=200x150:rate=30 -frames:v 30 -c:v mpeg1video petit.mpg"}) {
      const std::string cmd = "cd '" + dossier.string() + "' && ffmpeg -v error -y -f lavfi -i testsrc=" + c;
      ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    }
  }
  static void TearDownTestSuite() {
    if (!dossier.empty()) fs::remove_all(dossier);
  }
  void SetUp() override {
    if (!ffmpeg_present()) GTEST_SKIP() << "the ffmpeg program (Debian package ffmpeg) is needed to make the movies";
  }
  // Every frame as ffmpeg decodes it, rgb24.
  static std::string brut(const std::string& film) {
    return test_commande::sortie("ffmpeg -v error -i '" + (dossier / film).string() + "' -f rawvideo -pix_fmt rgb24 -");
  }
  static double ecart_moyen(const std::vector<std::uint32_t>& p, const std::string& ref, int k) {
    const std::size_t n = p.size();
    double somme = 0;
    for (std::size_t i = 0; i < n; ++i) {
      const unsigned char* r = reinterpret_cast<const unsigned char*>(ref.data()) + (std::size_t(k) * n + i) * 3;
      somme += std::abs(int((p[i] >> 16) & 0xFF) - r[0]) + std::abs(int((p[i] >> 8) & 0xFF) - r[1]) +
               std::abs(int(p[i] & 0xFF) - r[2]);
    }
    return somme / double(n * 3);
  }
};

TEST_F(Films, FramesMatchTheReferenceDecoderInAnyOrder) {
  for (const char* film : {"t.avi", "t.mpg"}) {
    SCOPED_TRACE(film);
    const bool exact = std::string(film) == "t.avi";
    const std::string ref = brut(film);
    ASSERT_EQ(ref.size(), std::size_t(30) * 320 * 240 * 3);
    MovieReader l;
    ASSERT_TRUE(l.open((dossier / film).string()));
    EXPECT_EQ(l.frame_count(), 30);
    EXPECT_EQ(l.width(), 320);
    EXPECT_EQ(l.height(), 240);
    EXPECT_DOUBLE_EQ(l.frame_rate(), 30.0);
    std::vector<std::vector<std::uint32_t>> dans_l_ordre(30);
    for (int k = 0; k < 30; ++k) {
      ASSERT_TRUE(l.read(k, dans_l_ordre[std::size_t(k)])) << k;
      const double e = ecart_moyen(dans_l_ordre[std::size_t(k)], ref, k);
      if (exact) EXPECT_EQ(e, 0.0) << k;
      else EXPECT_LE(e, 2.0) << k;
    }
    std::vector<int> ordre(30);
    for (int k = 0; k < 30; ++k) ordre[std::size_t(k)] = k;
    std::shuffle(ordre.begin(), ordre.end(), std::mt19937(7));
    for (int k : ordre) {
      std::vector<std::uint32_t> p;
      ASSERT_TRUE(l.read(k, p)) << k;
      EXPECT_TRUE(p == dans_l_ordre[std::size_t(k)]) << k;
    }
    std::vector<std::uint32_t> p;
    EXPECT_FALSE(l.read(30, p));
    EXPECT_FALSE(l.read(-1, p));
  }
}

// A width that is no multiple of the scaler's blocks (200 = 12.5 x 16).
TEST_F(Films, NarrowFramesStayWithinTheirRows) {
  const std::string ref = brut("petit.mpg");
  ASSERT_EQ(ref.size(), std::size_t(30) * 200 * 150 * 3);
  MovieReader l;
  ASSERT_TRUE(l.open((dossier / "petit.mpg").string()));
  EXPECT_EQ(l.width(), 200);
  for (int k : {0, 7, 29}) {
    std::vector<std::uint32_t> p;
    ASSERT_TRUE(l.read(k, p)) << k;
    ASSERT_EQ(p.size(), std::size_t(200) * 150);
    EXPECT_LE(ecart_moyen(p, ref, k), 2.0) << k;
  }
}

TEST_F(Films, TruncatedFilesOpenWithWhatCanBeReadAndTextIsRefused) {
  const auto octets = lire_fichier((dossier / "t.mpg").string());
  ASSERT_TRUE(octets);
  const std::string coupe = (dossier / "coupe.mpg").string();
  ASSERT_TRUE(ecrire_fichier(coupe, octets->substr(0, octets->size() / 2)).empty());
  MovieReader l;
  ASSERT_TRUE(l.open(coupe));
  EXPECT_GT(l.frame_count(), 0);
  EXPECT_LT(l.frame_count(), 30);
  std::vector<std::uint32_t> p;
  for (int k = 0; k < l.frame_count(); ++k) l.read(k, p);  // never reads past what is there
  const std::string texte = (dossier / "texte.avi").string();
  ASSERT_TRUE(ecrire_fichier(texte, "this is not a movie\n").empty());
  EXPECT_FALSE(l.open(texte));
  EXPECT_FALSE(l.is_open());
  EXPECT_FALSE(l.read(0, p));
  EXPECT_FALSE(l.open((dossier / "absent.avi").string()));
}

}  // namespace
