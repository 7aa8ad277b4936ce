// The "Video making" window: its frame range, its lines, the two ways of
// working, cancel and failures, checked on the movies it writes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "fenetres/rendu.h"
#include "tests/support/rendus.h"
#include "controls/button.h"
#include "controls/labels.h"
#include "model/defauts.h"
#include "platform/fichiers.h"
#include "platform/vidconv/lecteur_film.h"
#include "tests/support/fakes.h"
#include "tests/support/terrains.h"
#include "video/creation.h"
#include "video/trajectoire.h"

namespace fs = std::filesystem;
namespace vcv = platform::vcv;

namespace {

TEST(PlageImages, CountsFirstAndLastWithHalvesToEven) {
  struct Cas {
    int n, p1, p2, nombre, premiere, derniere;
  } cas[] = {{360, 1, 200, 361, 1, 360}, {360, 1, 100, 181, 1, 180}, {360, 101, 200, 181, 180, 360},
             {201, 1, 100, 101, 1, 100}, {360, 0, 300, 361, 1, 360},  {150, 1, 200, 201, 1, 200}};
  for (const Cas& c : cas) {
    const PlageImages p = plage_images(c.n, c.p1, c.p2);
    EXPECT_EQ(p.nombre, c.nombre) << c.n << " " << c.p1 << " " << c.p2;
    EXPECT_EQ(p.premiere, c.premiere);
    EXPECT_EQ(p.derniere, c.derniere);
  }
}

TEST(LignesInformations, LabelsAndNumberFormsWhateverTheLocale) {
  vcv::FileInfo i;
  i.file_name = "/tmp/video1.avi";
  i.file_format = "AVI (Audio Video Interleaved)";
  i.file_size = 1234567;
  i.video_format = "Cinepak";
  i.frames = 190;
  i.playing_time = 6.3333;
  i.frames_per_second = 30;
  i.width = 320;
  i.height = 240;
  i.bytes_per_pixel = 3;
  i.bits_per_pixel = 24;
  const LignesInformations attendu = {"File Name = /tmp/video1.avi",
                                      "File Format = AVI (Audio Video Interleaved)",
                                      "File size in Bytes = 1,234,567",
                                      "Video Format = Cinepak",
                                      "Number of frames = 190",
                                      "Playing time in seconds = 6.33",
                                      "Number of frames per second = 30",
                                      "Frame width = 320",
                                      "Frame Height = 240",
                                      "Number of Bytes per pixel = 3",
                                      "Number of bits par pixel = 24"};
  EXPECT_EQ(lignes_informations(i), attendu);
  EXPECT_EQ(texte_duree(3723000), "01:02:03");
  EXPECT_EQ(texte_duree(90000000), "25:00:00");
  const std::string avant = std::setlocale(LC_NUMERIC, nullptr);
  if (!std::setlocale(LC_NUMERIC, "fr_FR.UTF-8")) GTEST_SKIP() << "no fr_FR.UTF-8 locale";
  EXPECT_EQ(lignes_informations(i), attendu);
  std::setlocale(LC_NUMERIC, avant.c_str());
}

bool ffprobe_present() { return std::system("command -v ffprobe >/dev/null 2>&1") == 0; }

// A degree-5 terrain, its colour table, a circle path and a program folder.
struct Fabrique : ::testing::Test {
  std::unique_ptr<Tmatrice> terrain;
  std::unique_ptr<TMyPalette> palette;
  Param_video video{};
  std::vector<enregistrement_camera> cameras;
  fs::path dossier;
  ScopedFakeUserInterface ui;

  void SetUp() override {
    param_mat p = parametres_test(5);
    p.cle = 4321;
    terrain = terrain_genere(p);
    valeurs_defaut_vue(video.vue);
    palette = std::make_unique<TMyPalette>(palette_pour_vue(video.vue));
    video.nombre_images = 200;
    video.type_video = 2;
    video.type_trajectoire = 1;
    video.largeur_image = 320;
    video.hauteur_image = 240;
    video.premiere_image = 1;
    video.derniere_image = 20;
    video.rayon_cercle = 60;
    video.distance_point_vise = 25;
    video.bezier_altitude.fill(1500);
    video.bezier_x.fill(-1);
    video.bezier_y.fill(-1);
    DessinTrajectoire dessin;
    EditeurAltitude altitudes{300, 100, 0, 0};
    ASSERT_TRUE(calcule_trajectoire(video, *terrain, altitudes, false, cameras, dessin));
    dossier = fs::temp_directory_path() / ("quorvel-creation-" + std::to_string(::getpid()));
    fs::remove_all(dossier);
    fs::create_directories(dossier / "temp");
    test_rendus::controle_rendus().effacer();
  }
  void TearDown() override {
    test_rendus::controle_rendus().effacer();
    fs::remove_all(dossier);
  }
  std::string temp(const std::string& nom) const { return (dossier / "temp" / nom).string(); }
  int fichiers_images() const {
    int n = 0;
    for (const auto& e : fs::directory_iterator(dossier / "temp"))
      n += e.path().filename().string().rfind("file_", 0) == 0;
    return n;
  }
  // One making; `pendant` runs after each rendered frame with the window.
  std::string fabriquer(int numero, std::function<void(TCreation&, int)> pendant = {}, bool numeros = false,
                        LignesInformations* lignes = nullptr) {
    TCreation c;
    c.init_creation(video, dossier.string(), palette.get(), terrain.get(), numero);
    c.numeros_images = numeros;
    if (pendant) QObject::connect(&c, &TCreation::image_rendue, [&c, pendant](int k) { pendant(c, k); });
    c.show();
    c.encoder_video(false, &cameras);
    if (lignes) *lignes = c.informations;
    c.close();
    return c.film_sortie;
  }
};

TEST_F(Fabrique, RangeFramesAndTheTwoModes) {
  if (!ffprobe_present()) GTEST_SKIP() << "ffprobe (Debian package ffmpeg) is needed";
  // Which records are rendered: record k has cible_z = k.
  std::vector<enregistrement_camera> marques(201);
  for (int k = 1; k <= 200; ++k) marques[std::size_t(k)] = cameras[std::size_t(k)];
  // The work files a killed making left of video 1's movies go first; other
  // numbers' and other programs' files stay.
  const std::map<std::string, bool> restes = {{"video1.avi.Ab3dE9.part", false}, {"video1.mpg.zZ09aB.part", false},
                                              {"video12.avi.Ab3dE9.part", true}, {"video1.avi.part", true},
                                              {"video1.avi.Ab3-E9.part", true},  {"video1.avi.Ab3dE9.old", true}};
  for (const auto& [nom, garde] : restes) ASSERT_TRUE(ecrire_fichier(temp(nom), "work").empty());
  // Image mode: no frame files.
  LignesInformations lignes;
  const std::string film = fabriquer(1, {}, false, &lignes);
  ASSERT_EQ(film, temp("video1.avi"));
  EXPECT_EQ(fichiers_images(), 0);
  for (const auto& [nom, garde] : restes) EXPECT_EQ(fs::exists(temp(nom)), garde) << nom;
  auto& c = test_rendus::controle_rendus();
  ASSERT_EQ(c.appels.size(), 19u);
  for (std::size_t i = 0; i < 19; ++i) {
    EXPECT_EQ(c.appels[i].camera.cible_z, cameras[i + 1].cible_z) << i;
    EXPECT_EQ(c.appels[i].mode_camera, 1);
    EXPECT_EQ(c.appels[i].largeur, 320);
    EXPECT_FALSE(c.appels[i].attente);
    EXPECT_EQ(c.appels[i].vue.largeur_image, 352);
    EXPECT_EQ(c.appels[i].vue.type_ciel, 0);
  }
  EXPECT_EQ(c.rendus_dans_peinture, 0);
  vcv::FileInfo info;
  ASSERT_TRUE(vcv::get_file_info(film, 0, info));
  EXPECT_EQ(info.frames, 19);
  EXPECT_EQ(lignes[4], "Number of frames = 19");
  EXPECT_EQ(lignes[7], "Frame width = 320");
  EXPECT_EQ(lignes[8], "Frame Height = 240");
  EXPECT_EQ(lignes[6], "Number of frames per second = 30");
  EXPECT_EQ(lignes[0], "File Name = " + film);
  // File mode at 321: the frame files stay, Cinepak crops to 320; MPEG-1.
  video.largeur_image = 321;
  video.type_video = 6;
  const std::string mpg = fabriquer(1, {}, false, &lignes);
  EXPECT_EQ(mpg, temp("video1.mpg"));
  EXPECT_EQ(fichiers_images(), 19);
  EXPECT_TRUE(fs::exists(temp("file_10001.jpg")));
  EXPECT_TRUE(fs::exists(temp("file_10019.jpg")));
  EXPECT_FALSE(fs::exists(temp("file_10020.jpg")));
  // The earlier movie of the other kind went once the new one was complete.
  EXPECT_FALSE(fs::exists(temp("video1.avi")));
  EXPECT_EQ(lignes[4], "Number of frames = 19");
  EXPECT_EQ(lignes[7], "Frame width = 321");
  video.type_video = 2;
  fabriquer(2, {}, false, &lignes);
  EXPECT_EQ(lignes[7], "Frame width = 320");
  EXPECT_EQ(fichiers_images(), 19);  // stale frame files were deleted first
}

// Each frame's record sets the terrain's target altitude while it renders;
// the document's own comes back after it, for its views and its next path.
TEST_F(Fabrique, FramesLeaveTheDocumentsTargetAltitude) {
  video.derniere_image = 4;
  const double avant = terrain->cible.hauteur;
  std::vector<double> pendant;
  fabriquer(1, [&](TCreation&, int) { pendant.push_back(terrain->cible.hauteur); });
  ASSERT_EQ(test_rendus::controle_rendus().appels.size(), 3u);
  ASSERT_NE(cameras[1].cible_z, avant);
  EXPECT_EQ(pendant, std::vector<double>(3, avant));
  EXPECT_EQ(terrain->cible.hauteur, avant);
}

TEST_F(Fabrique, CancelKeepsTheFramesMadeSoFar) {
  test_rendus::controle_rendus().couleur_factice = render::pixel_rgb(20, 120, 40);
  // File mode: Cancel after the 10th frame.
  video.largeur_image = 400;
  video.hauteur_image = 300;
  video.derniere_image = 60;
  std::string film = fabriquer(1, [](TCreation& c, int k) {
    if (k == 10) c.Button_cancel->click();
  });
  vcv::FileInfo info;
  ASSERT_TRUE(vcv::get_file_info(film, 0, info));
  EXPECT_EQ(info.frames, 10);
  // Image mode: Escape while the 6th frame renders.
  video.largeur_image = 160;
  video.hauteur_image = 120;
  film = fabriquer(2, [](TCreation& c, int k) {
    if (k == 6) {
      QKeyEvent echap(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
      QApplication::sendEvent(&c, &echap);
    }
  });
  ASSERT_TRUE(vcv::get_file_info(film, 0, info));
  EXPECT_EQ(info.frames, 5);
  // A cancel before the first frame: no movie, no message.
  film = fabriquer(3, [](TCreation& c, int) { c.close(); });
  EXPECT_TRUE(film.empty());
  EXPECT_FALSE(fs::exists(temp("video3.avi")));
  EXPECT_TRUE(ui.entries.empty());
}

// The time left comes from the frames made so far, whatever the interval
// between two refreshes of the line: 38 frames in 7 s leave 162 frames of
// about 29 s, not 162 refresh intervals of a second.
TEST(TempsRestant, AverageOfTheFramesMadeSoFar) {
  EXPECT_EQ(texte_duree(estimer_temps_restant(7000, 38, 200)), "00:00:29");
  EXPECT_EQ(estimer_temps_restant(1000, 10, 30), 2000);
  EXPECT_EQ(estimer_temps_restant(0, 10, 30), 0);
  EXPECT_EQ(estimer_temps_restant(5000, 0, 30), 0);
  EXPECT_EQ(estimer_temps_restant(5000, 30, 30), 0);
  EXPECT_EQ(estimer_temps_restant(3600000, 1, 9999), std::int64_t(3600000) * 9998);
}

TEST_F(Fabrique, TimeLeftFollowsTheFramesRenderedInFileMode) {
  test_rendus::controle_rendus().couleur_factice = render::pixel_rgb(20, 120, 40);
  video.largeur_image = 400;
  video.hauteur_image = 300;
  TCreation c;
  c.init_creation(video, dossier.string(), palette.get(), terrain.get(), 1);
  std::int64_t horloge = 0;
  c.horloge = [&] { return horloge; };
  std::map<int, std::string> lignes;
  QObject::connect(&c, &TCreation::image_rendue, [&](int k) {
    lignes[k] = c.CtlLabelprogression3->Caption().toStdString();
    horloge += k <= 5 ? 20000 : 2000;  // five slow frames, then fast ones
  });
  c.show();
  c.encoder_video(false, &cameras);
  // 21 frames counted. Before frame 11, ten took 110 s: eleven more at 11 s
  // each, not at the last frame's 2 s.
  EXPECT_EQ(lignes[11], "Time left estimated :00:02:01");
  EXPECT_EQ(lignes[18], "Time left estimated :00:00:29");
  EXPECT_FALSE(c.film_sortie.empty());
  c.close();
}

TEST_F(Fabrique, FailuresSayWhyAndKeepTheEarlierMovie) {
  test_rendus::controle_rendus().couleur_factice = render::pixel_rgb(200, 10, 10);
  // An output that cannot be written: the earlier movie is write-protected.
  video.type_video = 2;
  ASSERT_TRUE(ecrire_fichier(temp("video4.avi"), "earlier movie").empty());
  fs::permissions(temp("video4.avi"), fs::perms::owner_read);
  EXPECT_TRUE(fabriquer(4).empty());
  ASSERT_EQ(ui.entries.size(), 1u);
  EXPECT_EQ(ui.entries[0].caption, "Video ");
  EXPECT_EQ(ui.entries[0].text.rfind("The movie could not be made: ", 0), 0u);
  EXPECT_EQ(lire_fichier(temp("video4.avi")).value_or(""), "earlier movie");
}

// Indeo 3.2 movies are made, at the nearest size the format holds, and play.
TEST_F(Fabrique, IndeoMoviesAreMadeAtASizeTheFormatHolds) {
  test_rendus::controle_rendus().couleur_factice = render::pixel_rgb(30, 90, 160);
  video.type_video = 3;
  video.largeur_image = 300;
  video.hauteur_image = 226;
  LignesInformations lignes;
  const std::string film = fabriquer(2, {}, false, &lignes);
  ASSERT_EQ(film, temp("video2.avi"));
  EXPECT_EQ(ui.entries.size(), 0u);
  EXPECT_EQ(lignes[3], "Video Format = Intel Indeo 3");
  EXPECT_EQ(lignes[4], "Number of frames = 19");
  EXPECT_EQ(lignes[7], "Frame width = 300");
  EXPECT_EQ(lignes[8], "Frame Height = 224");
  vcv::MovieReader lecteur;
  ASSERT_TRUE(lecteur.open(film));
  std::vector<std::uint32_t> pixels;
  ASSERT_TRUE(lecteur.read(18, pixels));
  const std::uint32_t p = pixels[100 * 300 + 150];
  EXPECT_NEAR(int((p >> 16) & 255), 30, 8);
  EXPECT_NEAR(int((p >> 8) & 255), 90, 8);
  EXPECT_NEAR(int(p & 255), 160, 8);
}

TEST_F(Fabrique, FrameNumbersOnlyInTheMovieCorner) {
  video.type_video = 5;
  video.largeur_image = 160;
  video.hauteur_image = 120;
  video.derniere_image = 4;
  QImage apercu_sans, apercu_avec;
  const std::string sans = fabriquer(1, [&](TCreation& c, int) { apercu_sans = c.Image_video->image(); });
  fs::copy_file(sans, temp("sans.avi"));
  const std::string avec = fabriquer(1, [&](TCreation& c, int) { apercu_avec = c.Image_video->image(); }, true);
  EXPECT_EQ(apercu_sans, apercu_avec);
  vcv::MovieReader a, b;
  ASSERT_TRUE(a.open(temp("sans.avi")));
  ASSERT_TRUE(b.open(avec));
  ASSERT_EQ(a.frame_count(), b.frame_count());
  for (int k = 0; k < a.frame_count(); ++k) {
    std::vector<std::uint32_t> pa, pb;
    ASSERT_TRUE(a.read(k, pa));
    ASSERT_TRUE(b.read(k, pb));
    // The RLE8 movie's palette holds the first frame's colours, the numbers'
    // among them: that frame is the same outside the corner, and a colour that
    // only later frames bring may take a neighbouring entry of the other
    // palette (the even cube it keeps for them has fewer levels).
    const int ecart_permis = k == 0 ? 0 : 32;
    bool differe = false;
    for (int y = 0; y < 120; ++y)
      for (int x = 0; x < 160; ++x) {
        const std::uint32_t u = pa[std::size_t(y * 160 + x)], v = pb[std::size_t(y * 160 + x)];
        if (u != v) differe = true;
        if (x < 60 && y < 30) continue;
        for (int decalage : {0, 8, 16})
          ASSERT_LE(std::abs(int(u >> decalage & 255) - int(v >> decalage & 255)), ecart_permis)
              << k << " " << x << "," << y;
      }
    EXPECT_TRUE(differe) << k;
  }
}

TEST_F(Fabrique, OneMakingAtATimeAndSizesAreBounded) {
  test_rendus::controle_rendus().couleur_factice = render::pixel_rgb(0, 0, 90);
  video.largeur_image = 160;
  video.hauteur_image = 120;
  int refus = 0;
  const std::string film = fabriquer(1, [&](TCreation&, int k) {
    if (k != 3) return;
    TCreation seconde;
    seconde.init_creation(video, dossier.string(), palette.get(), terrain.get(), 2);
    seconde.encoder_video(false, &cameras);
    refus += seconde.film_sortie.empty() && TCreation::fabrication_en_cours();
  });
  EXPECT_EQ(refus, 1);
  vcv::FileInfo info;
  ASSERT_TRUE(vcv::get_file_info(film, 0, info));
  EXPECT_EQ(info.frames, 19);
  EXPECT_FALSE(fs::exists(temp("video2.avi")));
  // The widest frames the layer takes.
  video.largeur_image = 4095;
  video.hauteur_image = 16;
  video.type_video = 6;
  video.derniere_image = 4;
  const std::string large = fabriquer(7);
  ASSERT_FALSE(large.empty());
  ASSERT_TRUE(vcv::get_file_info(large, 0, info));
  EXPECT_EQ(info.width, 4095);
  EXPECT_EQ(info.height, 16);
  video.type_video = 2;
  video.derniere_image = 20;
  TCreation grande;
  video.largeur_image = video.hauteur_image = 70000;
  grande.init_creation(video, dossier.string(), palette.get(), terrain.get(), 5);
  EXPECT_EQ(grande.largeur_image(), 4095);
  EXPECT_EQ(grande.hauteur_image(), 4095);
  EXPECT_TRUE(grande.mode_fichiers());
  // A table shorter than the range: the missing frames read zero records.
  cameras.resize(5);
  video.largeur_image = 160;
  video.hauteur_image = 120;
  test_rendus::controle_rendus().effacer();
  test_rendus::controle_rendus().couleur_factice = render::pixel_rgb(0, 0, 90);
  ASSERT_FALSE(fabriquer(6).empty());
  const auto& appels = test_rendus::controle_rendus().appels;
  ASSERT_EQ(appels.size(), 19u);
  EXPECT_EQ(appels[18].camera.cible_z, 0.0);
}

// A video document saved without a camera path comes back with records of
// zeros (camera and target at the origin, looking nowhere): they render
// through the real renderer and the movie plays.
TEST_F(Fabrique, ZeroCameraRecordsRenderAndPlay) {
  cameras.assign(201, enregistrement_camera{});
  video.largeur_image = 64;
  video.hauteur_image = 48;
  video.derniere_image = 3;
  const std::string film = fabriquer(8);
  ASSERT_FALSE(film.empty());
  vcv::MovieReader lecteur;
  ASSERT_TRUE(lecteur.open(film));
  ASSERT_GE(lecteur.frame_count(), 1);
  std::vector<std::uint32_t> pixels;
  for (int k = 0; k < lecteur.frame_count(); ++k) {
    ASSERT_TRUE(lecteur.read(k, pixels)) << k;
    EXPECT_EQ(pixels.size(), std::size_t(lecteur.width()) * std::size_t(lecteur.height()));
  }
}

}  // namespace
