// The movie reader against crafted files: frames declared larger than the
// writer's limit, playlists and scripts that name other files, protocols,
// and a codec the program never writes. Each is refused quickly and without
// taking memory for its frames; the program's own movies still open.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/fichiers.h"
#include "platform/vidconv/conversion_video.h"
#include "platform/vidconv/lecteur_film.h"
#include "tests/support/avi_brut.h"
#include "tests/support/garde_tube.h"
#include "tests/support/memoire.h"
#include "video/codecs_video.h"

namespace fs = std::filesystem;
namespace vcv = platform::vcv;
using vcv::MovieReader;
using test_avi::avi_brut;
using test_avi::ecrire_32;

namespace {

// A movie of `images` frames of w x h made by the program's writer.
void ecrire_film(const std::string& film, int type, int w, int h, int images) {
  std::vector<std::uint32_t> pixels(std::size_t(w) * std::size_t(h));
  const vcv::Handle conv = vcv::alloc(), img = vcv::img_alloc();
  vcv::assign_video_source(conv, [&](vcv::Handle source, int index) {
    if (index >= images) {
      vcv::src_finished(source);
      return;
    }
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = 0xFF000000u | std::uint32_t(i * 2654435761u + index);
    vcv::dib_to_img(img, {pixels.data(), w, h, w});
    vcv::src_set_img(source, img);
  });
  vcv::set_frame_rate(conv, 30.0);
  vcv::set_resolution(conv, w, h);
  const auto c = codec_video(type);
  vcv::set_codec(conv, c->conteneur, c->codec);
  vcv::set_output_file(conv, film, 0);
  ASSERT_TRUE(vcv::convert(conv)) << vcv::last_error_text();
  vcv::free(conv);
  vcv::free(img);
}

// Frames declared as w x h in an MPEG sequence header and its extension.
void declarer_mpeg(std::string& s, int w, int h) {
  int vus = 0;
  for (std::size_t i = 0; (i = s.find(std::string("\0\0\1\xB3", 4), i)) != std::string::npos; i += 4, ++vus) {
    s[i + 4] = char((w >> 4) & 0xFF);
    s[i + 5] = char(((w & 0xF) << 4) | ((h >> 8) & 0xF));
    s[i + 6] = char(h & 0xFF);
    const std::size_t x = s.find(std::string("\0\0\1\xB5", 4), i);
    if (x != std::string::npos && (std::uint8_t(s[x + 4]) >> 4) == 1) {
      s[x + 5] = char((std::uint8_t(s[x + 5]) & 0xFE) | ((w >> 13) & 1));
      s[x + 6] = char((std::uint8_t(s[x + 6]) & 0x1F) | (((w >> 12) & 1) << 7) | (((h >> 12) & 3) << 5));
    }
  }
  ASSERT_GT(vus, 0);
}


struct Hostiles : ::testing::Test {
  fs::path dossier;
  void SetUp() override {
    dossier = fs::temp_directory_path() / ("quorvel-hostile-" + std::to_string(::getpid()));
    fs::remove_all(dossier);
    fs::create_directories(dossier);
  }
  void TearDown() override { fs::remove_all(dossier); }
  std::string chemin(const std::string& nom) const { return (dossier / nom).string(); }
  std::string lire(const std::string& nom) const { return *lire_fichier(chemin(nom)); }
  void ecrire(const std::string& nom, const std::string& octets) const {
    ASSERT_TRUE(ecrire_fichier(chemin(nom), octets).empty());
  }

  // The file is refused within a second and without 64 MB of memory.
  void refuse(const std::string& chemin_film) {
    SCOPED_TRACE(chemin_film);
    MovieReader l;
    bool ouvert = true;
    const auto debut = std::chrono::steady_clock::now();
    const long long pic = test_memoire::croissance_pic([&] { ouvert = l.open(chemin_film); });
    const double secondes = std::chrono::duration<double>(std::chrono::steady_clock::now() - debut).count();
    EXPECT_FALSE(ouvert);
    EXPECT_FALSE(l.is_open());
    EXPECT_LT(secondes, 1.0);
    if (pic >= 0) {
      EXPECT_LT(pic, 64LL << 20);
    }
  }
};

TEST_F(Hostiles, FramesLargerThanTheWriterMakesAreRefusedBeforeTheyTakeMemory) {
  ecrire_film(chemin("cinepak.avi"), 2, 64, 48, 3);
  ecrire_film(chemin("mpeg2.mpg"), 8, 64, 48, 3);
  MovieReader l;
  ASSERT_TRUE(l.open(chemin("cinepak.avi")));
  EXPECT_EQ(l.width(), 64);
  EXPECT_DOUBLE_EQ(l.frame_rate(), 30.0);
  ASSERT_TRUE(l.open(chemin("mpeg2.mpg")));
  EXPECT_EQ(l.height(), 48);
  EXPECT_EQ(l.frame_count(), 3);
  EXPECT_DOUBLE_EQ(l.frame_rate(), 30.0);
  l.close();

  // The AVI headers say 16000 x 16000 (and 4096 x 48: one side too long).
  for (const auto& [nom, w, h] : {std::tuple{"grand.avi", 16000, 16000}, std::tuple{"large.avi", 4096, 48}}) {
    std::string avi = lire("cinepak.avi");
    const std::size_t avih = avi.find("avih"), strf = avi.find("strf");
    ASSERT_NE(avih, std::string::npos);
    ASSERT_NE(strf, std::string::npos);
    ecrire_32(avi, avih + 8 + 32, std::uint32_t(w));
    ecrire_32(avi, avih + 8 + 36, std::uint32_t(h));
    ecrire_32(avi, strf + 8 + 4, std::uint32_t(w));
    ecrire_32(avi, strf + 8 + 8, std::uint32_t(h));
    ecrire(nom, avi);
    refuse(chemin(nom));
  }
  // The MPEG-2 sequence header and its extension say 16000 x 16000.
  std::string mpeg = lire("mpeg2.mpg");
  declarer_mpeg(mpeg, 16000, 16000);
  ecrire("grand.mpg", mpeg);
  refuse(chemin("grand.mpg"));
  refuse(chemin("absent.avi"));
}

TEST_F(Hostiles, OnlyTheProgramsContainersAndCodecsAndOnlyTheFileNamed) {
  ecrire_film(chemin("film.avi"), 2, 32, 32, 2);
  ecrire_film(chemin("film.mpg"), 6, 32, 32, 2);
  // A codec the program never writes, in its own container.
  ecrire("brut.avi", avi_brut(32, 32, 32, 32, 2));
  refuse(chemin("brut.avi"));
  ecrire("brut_grand.avi", avi_brut(16000, 16000, 32, 32, 2));
  refuse(chemin("brut_grand.avi"));
  // Scripts and playlists that would open the program's own movies.
  ecrire("script.avi", "ffconcat version 1.0\nfile 'film.avi'\nfile 'film.avi'\n");
  refuse(chemin("script.avi"));
  ecrire("liste.avi", "#EXTM3U\n#EXT-X-TARGETDURATION:10\n#EXTINF:10,\nfilm.avi\n#EXT-X-ENDLIST\n");
  refuse(chemin("liste.avi"));
  ecrire("liste_reseau.mpg", "#EXTM3U\n#EXT-X-TARGETDURATION:10\n#EXTINF:10,\nhttp://127.0.0.1:9/film.ts\n");
  refuse(chemin("liste_reseau.mpg"));
  // Names that the decoder library would read as protocols.
  refuse("concat:" + chemin("film.avi") + "|" + chemin("film.avi"));
  refuse("subfile,,start,0,end,0,,:" + chemin("film.avi"));
  refuse("http://127.0.0.1:9/film.avi");
  // What is not a regular file is refused before it is opened, saying what it
  // is: a named pipe and a link to a device that never ends.
  GardeTube tube(chemin("tube.avi"));
  ASSERT_TRUE(tube.cree());
  ASSERT_EQ(::symlink("/dev/zero", chemin("zero.mpg").c_str()), 0);
  for (auto [nom, genre] : {std::pair{"tube.avi", "a named pipe"}, std::pair{"zero.mpg", "a character device"}}) {
    refuse(chemin(nom));
    MovieReader l;
    EXPECT_FALSE(l.open(chemin(nom)));
    EXPECT_EQ(l.error(), std::string(genre) + " is not a regular file") << nom;
  }
  EXPECT_FALSE(tube.ouvert()) << "the named pipe was opened";
  // The program's own movies still open, also by a name with a colon.
  fs::copy_file(chemin("film.mpg"), chemin("a:b.mpg"));
  for (const char* nom : {"film.avi", "film.mpg", "a:b.mpg"}) {
    MovieReader l;
    EXPECT_TRUE(l.open(chemin(nom))) << nom;
    EXPECT_EQ(l.frame_count(), 2) << nom;
  }
}

}  // namespace
