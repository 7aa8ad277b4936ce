// The player and the video window: frames shown by the buttons, and the
// window's movie, regeneration, information box, requests and closing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <filesystem>

#include "fenetres/aide_enfants.h"
#include "fenetres/rendu.h"
#include "tests/support/rendus.h"
#include "model/defauts.h"
#include "platform/fichiers.h"
#include "platform/vidconv/conversion_video.h"
#include "tests/support/fakes.h"
#include "tests/support/films.h"
#include "tests/support/limite_fichiers.h"
#include "tests/support/terrains.h"
#include "video/codecs_video.h"
#include "video/creation.h"
#include "video/fenetre_video.h"
#include "video/lecteur.h"

namespace fs = std::filesystem;
namespace vcv = platform::vcv;

namespace {

struct Dossier {
  fs::path d = fs::temp_directory_path() / ("quorvel-fenetre-video-" + std::to_string(::getpid()));
  Dossier() {
    fs::remove_all(d);
    fs::create_directories(d / "temp");
  }
  ~Dossier() { fs::remove_all(d); }
  std::string operator/(const std::string& nom) const { return (d / nom).string(); }
};

// A movie of `n` solid frames whose red level is the frame number x 8.
std::string film_compte(const std::string& chemin, int n) {
  return test_films::ecrire(chemin, n, 64, 48, [](int k, std::vector<std::uint32_t>& pixels) {
    std::fill(pixels.begin(), pixels.end(), 0xFF000000u | std::uint32_t(k * 8) << 16);
  });
}

int rouge_affiche(const AffichageFilm& a) { return qRed(a.image().pixel(32, 24)); }

// A movie of four white frames of `w` x `h` in a codec type's form, made
// disc-compliant for the disc types as the making window makes it.
std::string film_blanc(const std::string& chemin, int type, int w, int h) {
  const auto codec = codec_video(type);
  if (!codec) return {};
  return test_films::ecrire(chemin, 4, w, h, [](int, std::vector<std::uint32_t>& pixels) {
    std::fill(pixels.begin(), pixels.end(), 0xFFFFFFFFu);
  }, codec->conteneur, codec->codec);
}

// Disc movies store pixels that are not square: the player shows each at the
// 4:3 of its screen (a VCD's 352 x 240, an SVCD's 480 x 480 and a DVD's
// 720 x 480 alike), and the 16:9 picture of an 800 x 450 DVD at 16:9 inside
// it. Square-pixel movies show at their own size.
TEST(MoviePlayer, EveryMovieShowsAtTheProportionsItIsMeantFor) {
  Dossier d;
  struct Cas {
    int type, largeur, hauteur;
    double image, contenu;  // shown width over height: whole frame, white picture
  } cas[] = {{2, 320, 240, 320.0 / 240, 320.0 / 240}, {6, 320, 240, 320.0 / 240, 320.0 / 240},
             {7, 320, 240, 4.0 / 3, 4.0 / 3},         {9, 320, 240, 4.0 / 3, 4.0 / 3},
             {10, 320, 240, 4.0 / 3, 4.0 / 3},        {10, 800, 450, 4.0 / 3, 16.0 / 9}};
  for (const Cas& c : cas) {
    SCOPED_TRACE(testing::Message() << c.type << " " << c.largeur << "x" << c.hauteur);
    const std::string film = film_blanc(d / ("f" + std::to_string(c.type) + extension_film(c.type)), c.type,
                                        c.largeur, c.hauteur);
    ASSERT_FALSE(film.empty()) << vcv::last_error_text();
    AffichageFilm affichage;
    affichage.resize(900, 700);
    MoviePlayer lecteur(&affichage);
    ASSERT_TRUE(lecteur.open(film));
    const QSize montree = affichage.taille_image();
    const QImage& image = affichage.image();
    EXPECT_EQ(montree.height(), image.height()) << "as high as it is stored";
    EXPECT_NEAR(double(montree.width()) / montree.height(), c.image, 0.01);
    // The white rows and columns of the stored frame, shown at that size.
    int lignes = 0, colonnes = 0;
    for (int y = 0; y < image.height(); ++y) lignes += qGray(image.pixel(image.width() / 2, y)) > 128;
    for (int x = 0; x < image.width(); ++x) colonnes += qGray(image.pixel(x, image.height() / 2)) > 128;
    const double largeur = double(colonnes) * montree.width() / image.width();
    const double hauteur = double(lignes) * montree.height() / image.height();
    EXPECT_NEAR(largeur / hauteur, c.contenu, 0.03 * c.contenu);
  }
  EXPECT_EQ(taille_affichage(352, 240, 10.0 / 11), QSize(320, 240));
  EXPECT_EQ(taille_affichage(640, 480, 0), QSize(640, 480));
}

TEST(MoviePlayer, ButtonsMoveThroughTheFrames) {
  Dossier d;
  const std::string film = film_compte(d / "t.avi", 30);
  ASSERT_FALSE(film.empty());
  AffichageFilm affichage;
  affichage.resize(100, 80);
  MoviePlayer lecteur(&affichage);
  ASSERT_TRUE(lecteur.open(film));
  EXPECT_EQ(lecteur.file_name(), film);
  EXPECT_EQ(lecteur.position(), 0);
  for (int i = 0; i < 5; ++i) lecteur.step();
  lecteur.back();
  lecteur.back();
  EXPECT_EQ(lecteur.position(), 3);
  EXPECT_NEAR(rouge_affiche(affichage), 24, 8);
  lecteur.next();
  EXPECT_EQ(lecteur.position(), 29);
  lecteur.previous();
  EXPECT_EQ(lecteur.position(), 0);
  lecteur.play();
  ASSERT_TRUE(lecteur.playing());
  lecteur.minuterie().stop();  // the test steps the playing by hand
  for (int i = 0; i < 40 && lecteur.position() < 29; ++i) lecteur.avancer_lecture();
  EXPECT_EQ(lecteur.position(), 29);
  EXPECT_FALSE(lecteur.playing());
  lecteur.close();
  EXPECT_TRUE(lecteur.file_name().empty());
  EXPECT_TRUE(affichage.image().isNull());
  EXPECT_FALSE(lecteur.open(d / "absent.avi"));
}

struct FenetreVideoTest : ::testing::Test {
  Dossier d;
  ScopedFakeUserInterface ui;
  std::unique_ptr<Tmatrice> terrain;
  Param_video video{};
  std::vector<int> sujets;

  void SetUp() override {
    terrain = terrain_genere(parametres_test(5));
    video = test_films::reglages_courts();
    test_rendus::controle_rendus().effacer();
    test_rendus::controle_rendus().couleur_factice = render::pixel_rgb(10, 100, 200);
    fixer_afficheur_aide([this](int s) { sujets.push_back(s); });
  }
  void TearDown() override {
    fixer_afficheur_aide({});
    test_rendus::controle_rendus().effacer();
  }
  std::unique_ptr<TVideowindow> fenetre(const std::string& film, bool a_fichier) {
    auto f = std::make_unique<TVideowindow>();
    f->no_video = 3;
    f->a_fichier = a_fichier;
    f->prendre_cameras(nullptr, video.nombre_images);
    f->setWindowTitle("Video #  3 :  tour");
    f->init_video(0, video, terrain.get(), film, d.d.string());
    return f;
  }
};

TEST_F(FenetreVideoTest, AMovieThatCameWithTheDocumentIsShownNotMade) {
  const std::string film = film_compte(d / "tour.avi", 12);
  auto f = fenetre(film, true);
  EXPECT_EQ(test_rendus::controle_rendus().rendus, 0);
  EXPECT_EQ(f->refaite, 0);
  EXPECT_EQ(f->status()->text(), "160 x 120");
  f->show();
  for (int i = 0; i < 5 && f->lecteur()->file_name().empty(); ++i) QApplication::processEvents();
  EXPECT_EQ(f->lecteur()->file_name(), film);
  EXPECT_EQ(f->lecteur()->position(), 0);
  // Play hands the movie to the desktop's player and lets go of it.
  std::string ouvert;
  f->ouvrir_externe = [&](const std::string& c) {
    ouvert = c;
    return true;
  };
  f->PlayClick();
  EXPECT_EQ(ouvert, film);
  EXPECT_TRUE(f->lecteur()->file_name().empty());
  EXPECT_TRUE(ui.entries.empty());
  // Without a movie player on the desktop, the user is told so.
  f->ouvrir_externe = [](const std::string&) { return false; };
  f->PlayClick();
  ASSERT_EQ(ui.entries.size(), 1u);
  EXPECT_FALSE(ui.entries.back().question);
  EXPECT_FALSE(ui.entries.back().information);
  EXPECT_EQ(ui.entries.back().text, "No movie player was found to play " + film);
  ui.entries.clear();
  // Remade, then closed: the user is asked whether to save it.
  ui.answers.push_back(true);
  f->regenerer_video();
  EXPECT_EQ(f->refaite, 1);
  f->close();
  ASSERT_FALSE(ui.entries.empty());
  EXPECT_TRUE(ui.entries.back().question);
  EXPECT_EQ(ui.entries.back().text, "Save updates on Video #  3 :  tour ?");
  EXPECT_EQ(f->sauvegarde_demandee, 1);
  EXPECT_EQ(f->fermeture, 1);
}

TEST_F(FenetreVideoTest, WithoutAMovieTheWindowMakesItsOwn) {
  auto f = fenetre("", false);
  EXPECT_EQ(f->fichier_film, (d / "temp/video3.avi"));
  EXPECT_TRUE(fichier_existe(f->fichier_film));
  // The window's first movie exists only in the work folder: it is marked as
  // made, so that saving the document copies it beside it.
  EXPECT_EQ(f->refaite, 1);
  EXPECT_EQ(test_rendus::controle_rendus().rendus, 3);
  EXPECT_EQ(f->informations[4], "Number of frames = 3");
  const int hauteur = f->height();
  // Regenerate: a new movie, new lines, the window 20 pixels lower.
  video.derniere_image = 6;
  f->parametres.derniere_image = 6;
  f->regenerer_video();
  EXPECT_EQ(f->refaite, 1);
  EXPECT_EQ(f->informations[4], "Number of frames = 5");
  EXPECT_EQ(f->height(), hauteur - 20);
  // Remade while the disk fills (a file-size limit from the first frame on):
  // the window says why and keeps its movie and lines, and no work file stays.
  {
    LimiteFichiers limite;
    f->avant_fabrication = [&](TCreation& c) {
      QObject::connect(&c, &TCreation::image_rendue, [&] { limite.poser(1024); });
    };
    f->regenerer_video();
    f->avant_fabrication = {};
  }
  ASSERT_EQ(ui.entries.size(), 1u);
  EXPECT_EQ(ui.entries[0].text.rfind("The movie could not be made: cannot write the movie", 0), 0u);
  EXPECT_EQ(f->informations[4], "Number of frames = 5");
  vcv::FileInfo info;
  EXPECT_TRUE(vcv::get_file_info(f->fichier_film, 0, info) && info.frames == 5);
  EXPECT_EQ(std::distance(fs::directory_iterator(d.d / "temp"), fs::directory_iterator()), 1);
  // Informations: the exact title and the eleven lines.
  f->Informations1Click();
  ASSERT_FALSE(ui.entries.empty());
  EXPECT_TRUE(ui.entries.back().information);
  EXPECT_EQ(ui.entries.back().caption, "Informations about video file ");
  std::string texte;
  for (const auto& l : f->informations) texte += l + "\r\n";
  EXPECT_EQ(ui.entries.back().text, texte);
  // Lines read from a document are in its code page; the box shows their characters.
  f->informations[0] = "File Name = caf\xE9 \x80 \x93x\x94.avi";
  f->Informations1Click();
  EXPECT_EQ(ui.entries.back().text.substr(0, 35),
            "File Name = caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9Cx\xE2\x80\x9D.avi\r\n");
  // F1 and the menu's Help show the video window's topic.
  QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
  QApplication::sendEvent(f.get(), &f1);
  f->element("Help")->trigger();
  EXPECT_EQ(sujets, (std::vector<int>{4017, 4017}));
  // A closed window asks nothing when its movie was not loaded from a file.
  ui.entries.clear();
  f->close();
  EXPECT_TRUE(ui.entries.empty());
}

// "Redo" in the settings dialog hands the window new settings whose view
// part still holds the zoom of the window's creation: the remade movie takes
// every new setting, the zoom included, and a zoom outside 10..80 is bounded.
TEST_F(FenetreVideoTest, RegeneratingTakesEveryNewSettingTheZoomToo) {
  video.zoom_video = 15;
  video.vue.zoom = 15;
  auto f = fenetre("", false);
  ASSERT_FALSE(test_rendus::controle_rendus().appels.empty());
  EXPECT_EQ(test_rendus::controle_rendus().appels.back().vue.zoom, 15);
  Param_video p = f->parametres;
  p.zoom_video = 40;
  p.largeur_image = 640;
  p.hauteur_image = 480;
  p.type_video = 6;
  p.derniere_image = 6;
  f->parametres = p;
  test_rendus::controle_rendus().effacer();
  test_rendus::controle_rendus().couleur_factice = render::pixel_rgb(10, 100, 200);
  f->regenerer_video();
  const auto& appels = test_rendus::controle_rendus().appels;
  ASSERT_EQ(appels.size(), 5u);
  for (const fenetres::AppelRendu& a : appels) {
    EXPECT_EQ(a.vue.zoom, 40);
    EXPECT_EQ(a.largeur, 640);
    EXPECT_EQ(a.hauteur, 480);
  }
  EXPECT_EQ(f->fichier_film, (d / "temp/video3.mpg"));
  EXPECT_EQ(f->informations[4], "Number of frames = 5");
  EXPECT_EQ(f->informations[7], "Frame width = 640");
  EXPECT_EQ(f->status()->text(), "640 x 480");
  for (const auto& [lu, borne] : {std::pair{0, 10}, std::pair{500, 80}}) {
    f->parametres.zoom_video = lu;
    test_rendus::controle_rendus().appels.clear();
    f->regenerer_video();
    ASSERT_FALSE(test_rendus::controle_rendus().appels.empty());
    EXPECT_EQ(test_rendus::controle_rendus().appels.back().vue.zoom, borne) << lu;
  }
}

TEST(PlacementVideo, MovedLeftAndUpThenMadeSmallerToStayInside) {
  const QSize zone(900, 590);
  EXPECT_EQ(placer_dans_zone({20, 30, 340, 314}, zone), QRect(20, 30, 340, 314));
  EXPECT_EQ(placer_dans_zone({600, 400, 340, 314}, zone), QRect(560, 276, 340, 314));
  EXPECT_EQ(placer_dans_zone({-40, -10, 340, 314}, zone), QRect(0, 0, 340, 314));
  EXPECT_EQ(placer_dans_zone({50, 50, 820, 674}, zone), QRect(50, 0, 820, 590));
  EXPECT_EQ(placer_dans_zone({300, 50, 4115, 4169}, zone), QRect(0, 0, 900, 590));
  EXPECT_EQ(placer_dans_zone({600, 400, 340, 314}, {0, 0}), QRect(600, 400, 340, 314));
}

// A new video window placed by the area near its lower right corner, and a
// regeneration to a frame larger than the area: the window, its movie and
// its player's buttons stay wholly inside.
TEST_F(FenetreVideoTest, TheWindowStaysWhollyInsideTheMainWindowsArea) {
  QMdiArea zone;
  zone.resize(900, 500);
  zone.show();
  auto* f = new TVideowindow;
  QMdiSubWindow* s = zone.addSubWindow(f);
  f->fixer_sous_fenetre(s);
  s->show();
  s->move(zone.viewport()->width() - 60, zone.viewport()->height() - 40);
  f->no_video = 3;
  f->prendre_cameras(nullptr, video.nombre_images);
  video.largeur_image = 320;
  video.hauteur_image = 240;
  f->init_video(0, video, terrain.get(), "", d.d.string());
  const QRect dedans = zone.viewport()->rect();
  EXPECT_EQ(s->size(), QSize(340, 240 + f->hauteur_panneau() + 40));
  EXPECT_TRUE(dedans.contains(s->geometry())) << s->geometry().x() << "," << s->geometry().y();
  const QRect lecteur(f->lecteur()->mapTo(&zone, QPoint(0, 0)), f->lecteur()->size());
  EXPECT_TRUE(zone.rect().contains(lecteur));
  f->parametres.largeur_image = 800;
  f->parametres.hauteur_image = 600;
  f->regenerer_video();
  EXPECT_TRUE(dedans.contains(s->geometry()));
  EXPECT_EQ(s->height(), dedans.height());
  EXPECT_EQ(s->width(), 820);
}

TEST_F(FenetreVideoTest, NoCloseWhileMakingAndNothingWithoutRecords) {
  auto f = std::make_unique<TVideowindow>();
  f->init_video(0, video, terrain.get(), "", d.d.string());
  EXPECT_TRUE(f->fichier_film.empty());  // no records: nothing is made
  EXPECT_EQ(test_rendus::controle_rendus().rendus, 0);
  f->prendre_cameras(nullptr, video.nombre_images);
  bool refusee = false;
  f->avant_fabrication = [&](TCreation&) {
    f->close();
    refusee = f->fermeture == 0 && f->fabrication();
  };
  f->generer_video();
  EXPECT_TRUE(refusee);
  EXPECT_FALSE(f->fichier_film.empty());
  // Detailed parameters toggle the settings and the check mark.
  f->Detailles1Click();
  EXPECT_EQ(f->parametres.detail, 1);
  EXPECT_TRUE(f->element("Detailed Parameters")->isChecked());
}

}  // namespace
