// A video document through the real main window, video window and settings
// dialog, checked on the files on disk: a first movie is saved beside its
// document and played from there when the document is reopened, and
// remaking a movie does not move its camera path; a movie beside the
// document that cannot be read is made again, and replaced only on a Yes; a
// document opened alone is asked about at exit and close, its movie made at
// opening.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QRadioButton>
#include <QStyleOptionTitleBar>
#include <QTest>
#include <random>

#include "controls/button.h"
#include "fenetres/fenetre_modale.h"
#include "fenetres/elements_pages.h"
#include "tests/app/atelier.h"
#include "tests/support/avi_brut.h"
#include "tests/support/films.h"
#include "tests/support/rendus.h"
#include "video/fenetre_video.h"
#include "video/lecteur.h"
#include "video/reglages_video.h"

namespace {

// Runs "Adjustements of Video" with `choix` made in the dialog before OK;
// its timer fires unless the user is quicker.
void regler_video(Atelier& a, const std::function<void(TPagesDlg3&)>& choix, bool minuterie = true) {
  TPagesDlg3::execution() = [&choix](TPagesDlg3& d) {
    choix(d);
    d.findChild<CtlButton*>("OKBtn")->click();
    return d.result();
  };
  a.commande(Commande::reglages_video);
  TPagesDlg3::execution() = [](TPagesDlg3& d) { return d.exec(); };
  ASSERT_TRUE(a.w->timerthread1().isActive());
  if (minuterie) a.w->TimerThread1Timer();
}

int images_rendues() {
  int n = 0;
  for (const fenetres::AppelRendu& r : test_rendus::controle_rendus().appels) n += r.mode_camera;
  return n;
}

// The lines of a document's camera path.
std::vector<std::string> trajectoire(const std::string& document) {
  std::vector<std::string> lignes;
  bool dedans = false;
  std::size_t debut = 0;
  for (std::size_t fin; (fin = document.find('\n', debut)) != std::string::npos; debut = fin + 1) {
    std::string l = document.substr(debut, fin - debut);
    if (!l.empty() && l.back() == '\r') l.pop_back();
    if (l == " [INFORMATION]") break;
    if (dedans) lignes.push_back(l);
    if (l == " [TRAJECTOIRE]") dedans = true;
  }
  return lignes;
}

// A sample video document of tests/data (film.vid unless named) with its
// frame range cut to positions 1..3 (two frames), written to `copie`; its
// text, empty when the sample has changed.
std::string film_court(const QString& copie, const char* echantillon = "film.vid") {
  std::string texte = lire_tout(QUORVEL_SOURCE_DIR "/tests/data/" + QString(echantillon));
  const std::string cle = "Derniere image     =";
  const std::size_t debut = texte.find(cle);
  if (debut == std::string::npos || texte.find(cle, debut + 1) != std::string::npos) return {};
  const std::size_t fin = texte.find_first_of("\r\n", debut);
  if (fin == std::string::npos) return {};
  texte.replace(debut, fin - debut, cle + "           3");
  ecrire_tout(copie, texte);
  return texte;
}

TEST(FilmDocument, AFirstMovieIsSavedBesideItsDocumentAndPlayedFromThere) {
  Atelier a(4);
  a.vue_active();
  const std::string vue = (a.dossier.path() + "/m.vue").toStdString();
  a.dialogues->sauvegardes.push_back(vue);
  a.commande(Commande::enregistrer);
  ASSERT_TRUE(fichier_existe(vue));
  // A new video of the saved view: its first movie, made once.
  a.w->etat.video.type_video = 2;
  a.w->etat.video.nombre_images = 200;
  a.w->etat.video.premiere_image = 1;
  a.w->etat.video.derniere_image = 4;
  regler_video(a, [](TPagesDlg3& d) {
    d.findChild<QRadioButton*>("RadioButton_320x")->click();
    d.findChild<QRadioButton*>("RadioButton_ajouter")->click();
  });
  auto* video = dynamic_cast<TVideowindow*>(a.w->fenetres_videos[1].data());
  ASSERT_NE(video, nullptr);
  const std::string travail = a.w->etat.dossier_travail() + "/video1.avi";
  ASSERT_EQ(video->fichier_film, travail);
  const auto film = lire_fichier(travail);
  ASSERT_TRUE(film && !film->empty());
  const int rendues = images_rendues();
  EXPECT_EQ(rendues, 3);
  // F3, and Yes to saving the video: the document and its movie beside it.
  a.ui.answers = {true};
  a.commande(Commande::enregistrer);
  ASSERT_EQ(a.ui.entries.size(), 1u);
  EXPECT_EQ(a.ui.entries[0].text, "The file " + vue +
                                       " is a video, do you want to save the video and all associated files ?  "
                                       "(extension \"VID\")");
  const std::string vid = (a.dossier.path() + "/m.vid").toStdString();
  const std::string avi = (a.dossier.path() + "/m.avi").toStdString();
  const auto document = lire_fichier(vid);
  ASSERT_TRUE(document);
  EXPECT_EQ(trajectoire(*document).size(), 200u);
  EXPECT_EQ(lire_fichier(avi), film);
  EXPECT_EQ(video->refaite, 0);
  // Reopened, the document plays the movie beside it and makes none.
  a.dialogues->ouvertures.push_back(vid);
  a.commande(Commande::ouvrir);
  auto* rouverte = dynamic_cast<TVideowindow*>(a.w->fenetres_videos[2].data());
  ASSERT_NE(rouverte, nullptr);
  EXPECT_EQ(rouverte->fichier_film, avi);
  EXPECT_EQ(images_rendues(), rendues);
  EXPECT_EQ(rouverte->refaite, 0);
  QElapsedTimer t;
  t.start();
  while (rouverte->lecteur()->file_name() != avi && t.elapsed() < 5000)
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_EQ(rouverte->lecteur()->file_name(), avi);
  EXPECT_EQ(rouverte->lecteur()->frame_count(), 3);
}

// "Redo" with the same settings, three times over: each remade movie, and the
// document saved after them, keep the path the document came with.
TEST(FilmDocument, RemakingWithTheSameSettingsKeepsTheCameraPath) {
  Atelier a;
  const QString copie = a.dossier.path() + "/film.vid";
  const std::string original = film_court(copie);
  ASSERT_FALSE(original.empty());
  a.dialogues->ouvertures.push_back(copie.toStdString());
  a.commande(Commande::ouvrir);
  ASSERT_NE(a.w->fenetres_videos[1], nullptr);
  ASSERT_EQ(images_rendues(), 2);
  for (int fois = 1; fois <= 3; ++fois) {
    regler_video(a, [](TPagesDlg3& d) {
      d.findChild<fenetres::OngletsPlats*>("Pagecontrol2")->montrer(TPagesDlg3::kCreation);
      d.findChild<QRadioButton*>("RadioButton_Refaire")->click();
    });
    ASSERT_EQ(images_rendues(), 2 + 2 * fois);
  }
  a.ui.answers = {};
  a.commande(Commande::enregistrer);
  EXPECT_TRUE(a.ui.entries.empty());
  const std::vector<std::string> avant = trajectoire(original);
  ASSERT_EQ(avant.size(), 200u);
  EXPECT_EQ(trajectoire(lire_tout(copie)), avant);
}

// Random bytes beside a video document, as its movie and as its view's
// picture: each is reported with why it cannot be read, the view is drawn
// and the movie made again, and the window plays the new movie.
TEST(FilmDocument, AnUnreadableMovieAndPictureAreReportedWithTheirReasonAndMadeAgain) {
  Atelier a;
  const QString copie = a.dossier.path() + "/film.vid";
  ASSERT_FALSE(film_court(copie).empty());
  std::mt19937 alea(61);
  std::string octets(20000, '\0');
  for (char& c : octets) c = char(alea());
  const std::string avi = (a.dossier.path() + "/film.avi").toStdString();
  const std::string bmp = (a.dossier.path() + "/film.bmp").toStdString();
  ecrire_tout(QString::fromStdString(avi), octets);
  ecrire_tout(QString::fromStdString(bmp), octets);
  a.dialogues->ouvertures.push_back(copie.toStdString());
  a.commande(Commande::ouvrir);
  auto* video = dynamic_cast<TVideowindow*>(a.w->fenetres_videos[1].data());
  ASSERT_NE(video, nullptr);
  EXPECT_EQ(images_rendues(), 2) << "the movie is made again";
  EXPECT_EQ(video->fichier_film, a.w->etat.dossier_travail() + "/video1.avi");
  std::vector<std::string> textes;
  for (const auto& e : a.ui.entries) textes.push_back(e.text);
  EXPECT_EQ(textes, (std::vector<std::string>{
                        "The picture " + bmp + " could not be read: it is neither a Windows bitmap nor a JPEG "
                        "picture. The view is drawn again; Save asks before it replaces that file.",
                        "The movie " + avi + " beside the document cannot be read: it is not an AVI or MPEG "
                        "movie. It is made again; Save asks before it replaces that file."}));
  QElapsedTimer t;
  t.start();
  while (video->lecteur()->file_name() != video->fichier_film && t.elapsed() < 5000)
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_EQ(video->lecteur()->frame_count(), 2);
}

// A movie of a codec the program never writes, and one of its own cut short,
// beside a video document: opening says it is made again and that Save asks
// first; No keeps the user's bytes and still writes the document; after a
// remake, Yes puts the new movie in its place.
TEST(FilmDocument, AMovieThatCannotBeReadIsReplacedOnlyOnYes) {
  Atelier a;
  const std::string dossier = a.dossier.path().toStdString();
  std::string coupe = lire_fichier(test_films::ecrire(dossier + "/entier.avi", 3)).value_or("");
  ASSERT_GT(coupe.size(), 400u);
  coupe.resize(coupe.size() / 3);
  const std::pair<std::string, std::string> cas[] = {{"etranger", test_avi::avi_brut(32, 32, 32, 32, 2)},
                                                     {"coupe", coupe}};
  std::string avi, vid;
  for (const auto& [nom, octets] : cas) {
    vid = dossier + "/" + nom + ".vid";
    avi = dossier + "/" + nom + ".avi";
    ASSERT_FALSE(film_court(QString::fromStdString(vid)).empty());
    ecrire_tout(QString::fromStdString(avi), octets);
    const std::string raison = raison_film_illisible(avi);
    ASSERT_FALSE(raison.empty()) << nom;
    a.ui.entries.clear();
    a.dialogues->ouvertures.push_back(vid);
    a.commande(Commande::ouvrir);
    ASSERT_EQ(a.ui.entries.size(), 1u) << nom;
    EXPECT_EQ(a.ui.entries[0].text, "The movie " + avi + " beside the document cannot be read: " + raison +
                                        ". It is made again; Save asks before it replaces that file.");
    ASSERT_TRUE(supprimer_fichier(vid));
    a.ui.entries.clear();
    a.ui.answers = {false};
    a.commande(Commande::enregistrer);
    ASSERT_EQ(a.ui.entries.size(), 1u) << nom;
    EXPECT_TRUE(a.ui.entries[0].question);
    EXPECT_EQ(a.ui.entries[0].text, "The movie " + avi + " beside the document cannot be read: " + raison +
                                        ". Do you want to replace it with this video's movie ?");
    EXPECT_EQ(lire_fichier(avi), octets) << nom;
    EXPECT_TRUE(fichier_existe(vid)) << "the document is saved all the same";
  }
  regler_video(a, [](TPagesDlg3& d) {
    d.findChild<fenetres::OngletsPlats*>("Pagecontrol2")->montrer(TPagesDlg3::kCreation);
    d.findChild<QRadioButton*>("RadioButton_Refaire")->click();
  });
  a.ui.entries.clear();
  a.ui.answers = {true};
  a.commande(Commande::enregistrer);
  ASSERT_EQ(a.ui.entries.size(), 1u);
  EXPECT_EQ(lire_fichier(avi), lire_fichier(a.w->etat.dossier_travail() + "/video2.avi"));
  EXPECT_EQ(raison_film_illisible(avi), "");
}

// tests/data/tour.vid alone in a folder: its movie is made at opening, and
// it counts as changed. The exit, "Close the video" and the window's close
// box ask about it, also after a Redo at a new frame size, and "Close the
// video" before the Redo's timer came due (it comes due under the question);
// the close box asks at the first click also when the window's title was
// clicked before and the pointer came onto the box in one move;
// Yes writes the document with its settings and puts the movie beside it at
// once, No leaves the folder as it was; neither is asked again at exit.
TEST(FilmDocument, AVideoDocumentOpenedWithoutItsMovieIsAskedAboutAndSavedWithIt) {
  enum Refaire { non, oui_puis_minuterie, oui_minuterie_en_attente };
  struct Porte {
    const char* nom;
    Refaire refaire;
    std::function<std::string(Atelier&, TVideowindow&)> fermer;  // the question expected
  };
  auto sortie = [](Atelier& a, TVideowindow&) {
    a.commande(Commande::sortie);
    return "Before exit, do you want to save modifications on  N\u00b01  " + a.dossier.path().toStdString() +
           "/tour.vid ?";
  };
  auto fermer_video = [](Atelier& a, TVideowindow& v) {
    const std::string titre = v.windowTitle().toStdString();
    a.commande(Commande::fermer_video);
    return "Save updates on " + titre + " ?";
  };
  auto case_fermeture = [](Atelier&, TVideowindow& v) {
    const std::string titre = v.windowTitle().toStdString();
    v.sous_fenetre()->close();
    return "Save updates on " + titre + " ?";
  };
  // The user's clicks: on the title, then on the close box once, the pointer
  // brought onto it in one move.
  auto clic_titre_puis_case = [](Atelier&, TVideowindow& v) {
    const std::string titre = v.windowTitle().toStdString();
    Programme::vider();  // the window takes the size of its new movie
    QMdiSubWindow* s = v.sous_fenetre();
    QStyleOptionTitleBar barre;
    barre.initFrom(s);
    barre.titleBarFlags = s->windowFlags();
    barre.rect = QRect(0, 0, s->width(), s->style()->pixelMetric(QStyle::PM_TitleBarHeight, &barre, s));
    auto point = [&](QStyle::SubControl c) {
      return s->style()->subControlRect(QStyle::CC_TitleBar, &barre, c, s).center();
    };
    QTest::mouseClick(s, Qt::LeftButton, {}, point(QStyle::SC_TitleBarLabel));
    const QPoint boite = point(QStyle::SC_TitleBarCloseButton);
    QMouseEvent passage(QEvent::MouseMove, boite, s->mapToGlobal(boite), Qt::NoButton, Qt::NoButton, {});
    QApplication::sendEvent(s, &passage);
    QTest::mouseClick(s, Qt::LeftButton, {}, boite);
    return "Save updates on " + titre + " ?";
  };
  auto fermer_sous_la_minuterie = [fermer_video](Atelier& a, TVideowindow& v) {
    a.ui.pendant_question = [&a] {
      FenetreModale question;
      a.w->TimerThread1Timer();
    };
    const std::string attendue = fermer_video(a, v);
    a.ui.pendant_question = nullptr;
    return attendue;
  };
  const Porte portes[] = {{"exit", non, sortie},
                          {"exit after Redo", oui_puis_minuterie, sortie},
                          {"Close the video after Redo", oui_puis_minuterie, fermer_video},
                          {"Close the video at once after Redo", oui_minuterie_en_attente, fermer_sous_la_minuterie},
                          {"close box", non, case_fermeture},
                          {"close box clicked after the title, after Redo", oui_puis_minuterie, clic_titre_puis_case}};
  for (const Porte& porte : portes)
    for (const bool oui : {true, false}) {
      SCOPED_TRACE(std::string(porte.nom) + (oui ? ", Yes" : ", No"));
      Atelier a;
      test_rendus::controle_rendus().couleur_factice = render::pixel_rgb(40, 90, 160);
      const QString dossier = a.dossier.path();
      const std::string vid = (dossier + "/tour.vid").toStdString(), avi = (dossier + "/tour.avi").toStdString();
      const std::string original = film_court(dossier + "/tour.vid", "tour.vid");
      ASSERT_FALSE(original.empty());
      a.dialogues->ouvertures.push_back(vid);
      a.commande(Commande::ouvrir);
      auto* video = dynamic_cast<TVideowindow*>(a.w->fenetres_videos[1].data());
      ASSERT_NE(video, nullptr);
      const std::string travail = a.w->etat.dossier_travail() + "/video1.avi";
      ASSERT_EQ(video->fichier_film, travail) << "the movie is made at opening";
      if (porte.refaire != non)
        regler_video(
            a,
            [](TPagesDlg3& d) {
              d.findChild<QRadioButton*>("RadioButton_640x")->click();
              d.findChild<fenetres::OngletsPlats*>("Pagecontrol2")->montrer(TPagesDlg3::kCreation);
              d.findChild<QRadioButton*>("RadioButton_Refaire")->click();
            },
            porte.refaire == oui_puis_minuterie);
      const int rendues = images_rendues();
      ASSERT_EQ(rendues, porte.refaire == oui_puis_minuterie ? 4 : 2);
      const auto film = lire_fichier(travail);
      ASSERT_TRUE(film && !film->empty());
      a.ui.entries.clear();
      a.ui.answers = {oui};
      const std::string question = porte.fermer(a, *video);
      Programme::vider();
      ASSERT_EQ(a.ui.entries.size(), 1u);
      EXPECT_EQ(a.ui.entries[0].text, question);
      const std::string document = lire_tout(dossier + "/tour.vid");
      if (porte.refaire == oui_minuterie_en_attente) {  // the timer comes due, then the exit
        a.w->TimerThread1Timer();
        a.commande(Commande::sortie);
        EXPECT_EQ(a.ui.entries.size(), 1u);
        EXPECT_EQ(images_rendues(), rendues);
        EXPECT_EQ(lire_tout(dossier + "/tour.vid"), document);
      }
      if (!oui) {
        EXPECT_EQ(document, original);
        EXPECT_EQ(QDir(dossier).entryList(QDir::Files), (QStringList{"montagne.ini", "tour.vid"}));
        continue;
      }
      EXPECT_EQ(lire_fichier(avi), film);
      EXPECT_EQ(raison_film_illisible(avi), "");
      EXPECT_EQ(trajectoire(document), trajectoire(original));
      EXPECT_NE(document.find(porte.refaire != non ? "Largeur image      =         640" : "Largeur image      =         320"),
                std::string::npos);
    }
}

// "Duplicate Video" of a new video, and of a video document remade since it
// was read (its old movie beside it): the duplicate shows the movie its
// source shows without making it, and "Save Movie under" puts that movie
// beside the new document.
TEST(FilmDocument, ADuplicateShowsItsSourcesMovieWithoutMakingIt) {
  for (const bool document : {false, true}) {
    SCOPED_TRACE(document ? "a video document after a Redo" : "a new video");
    Atelier a;
    if (document) {
      ASSERT_FALSE(film_court(a.dossier.path() + "/film.vid").empty());
      ASSERT_FALSE(test_films::ecrire((a.dossier.path() + "/film.avi").toStdString(), 3).empty());
      a.dialogues->ouvertures.push_back((a.dossier.path() + "/film.vid").toStdString());
      a.commande(Commande::ouvrir);
    } else {
      a.vue_active();
      a.w->etat.video = test_films::reglages_courts();
      a.w->etat.video.type_video = 2;
    }
    regler_video(a, [document](TPagesDlg3& d) {
      d.findChild<fenetres::OngletsPlats*>("Pagecontrol2")->montrer(TPagesDlg3::kCreation);
      d.findChild<QRadioButton*>(document ? "RadioButton_Refaire" : "RadioButton_ajouter")->click();
    });
    const auto film = lire_fichier(a.w->fenetres_videos[1]->fichier_film);
    ASSERT_TRUE(film && !film->empty());
    const int rendues = images_rendues();
    a.commande(Commande::dupliquer_video);
    ASSERT_NE(a.w->fenetres_videos[2], nullptr);
    EXPECT_EQ(images_rendues(), rendues);
    EXPECT_TRUE(lire_fichier(a.w->fenetres_videos[2]->fichier_film) == film);
    a.dialogues->sauvegardes.push_back((a.dossier.path() + "/copie.vid").toStdString());
    a.commande(Commande::enregistrer_film);
    EXPECT_TRUE(lire_fichier((a.dossier.path() + "/copie.avi").toStdString()) == film);
  }
}

// tests/data/tour.vid alone in a folder, its movie made at opening (before a
// Yes, made again at a new frame size), closed with its view or its mountain: each
// door asks once, the video's own question or the mountain's, also when the
// card, not the video, is active; Yes writes the document with the new
// settings and the movie beside it, No leaves the folder as it was, and once
// saved the door asks nothing and writes nothing.
TEST(FilmDocument, AVideoClosedWithItsViewOrMountainIsAskedAboutOnce) {
  using Porte = std::function<std::string(Atelier&, const std::string& vid)>;  // the question expected
  auto par_vue = [](std::function<void(Atelier&)> fermer) -> Porte {
    return [fermer](Atelier& a, const std::string&) {
      const std::string titre = a.w->fenetres_videos[1]->windowTitle().toStdString();
      fermer(a);
      return "Save updates on " + titre + " ?";
    };
  };
  auto par_carte = [](std::function<void(Atelier&)> fermer) -> Porte {
    return [fermer](Atelier& a, const std::string& vid) {
      a.w->activer(a.carte(1));
      Programme::vider();
      fermer(a);
      return "Save the modifications of " + vid + " ?";
    };
  };
  const std::pair<const char*, Porte> portes[] = {
      {"Close the active view", par_vue([](Atelier& a) { a.commande(Commande::fermer_vue); })},
      {"Close all views", par_vue([](Atelier& a) { a.commande(Commande::fermer_vues); })},
      {"the view's close box", par_vue([](Atelier& a) {
         a.w->activer(a.vue(1));
         a.vue(1)->sous_fenetre()->close();
       })},
      {"Close the active mountain", par_carte([](Atelier& a) { a.commande(Commande::fermer_montagne); })},
      {"the card's close box", par_carte([](Atelier& a) { a.carte(1)->sous_fenetre()->close(); })},
      {"Close all the mountains", [](Atelier& a, const std::string& vid) {
         a.commande(Commande::fermer_montagnes);
         return "Before exit, do you want to save modifications on  N\u00b01  " + vid + " ?";
       }}};
  for (const auto& [nom, fermer] : portes)
    for (const std::string cas : {"Yes", "No", "saved"}) {
      SCOPED_TRACE(std::string(nom) + ", " + cas);
      Atelier a;
      test_rendus::controle_rendus().couleur_factice = render::pixel_rgb(40, 90, 160);
      const QString dossier = a.dossier.path();
      const std::string vid = (dossier + "/tour.vid").toStdString(), avi = (dossier + "/tour.avi").toStdString();
      ASSERT_FALSE(film_court(dossier + "/tour.vid", "tour.vid").empty());
      a.dialogues->ouvertures.push_back(vid);
      a.commande(Commande::ouvrir);
      ASSERT_NE(a.w->fenetres_videos[1], nullptr);
      if (cas == "Yes")
        regler_video(a, [](TPagesDlg3& d) {
          d.findChild<QRadioButton*>("RadioButton_640x")->click();
          d.findChild<fenetres::OngletsPlats*>("Pagecontrol2")->montrer(TPagesDlg3::kCreation);
          d.findChild<QRadioButton*>("RadioButton_Refaire")->click();
        });
      const auto film = lire_fichier(a.w->etat.dossier_travail() + "/video1.avi");
      ASSERT_TRUE(film && !film->empty());
      if (cas == "saved") a.commande(Commande::enregistrer);
      const std::string document = lire_tout(dossier + "/tour.vid");
      const QStringList fichiers = QDir(dossier).entryList(QDir::Files);
      a.ui.entries.clear();
      a.ui.answers = {cas == "Yes"};
      const std::string question = fermer(a, vid);
      Programme::vider();
      EXPECT_EQ(a.w->etat.nombre_videos, 0);
      ASSERT_EQ(a.ui.entries.size(), cas == "saved" ? 0u : 1u);
      if (cas != "saved") {
        EXPECT_EQ(a.ui.entries[0].text, question);
      }
      if (cas != "Yes") {
        EXPECT_EQ(lire_tout(dossier + "/tour.vid"), document);
        EXPECT_EQ(QDir(dossier).entryList(QDir::Files), fichiers);
        continue;
      }
      EXPECT_EQ(lire_fichier(avi), film);
      const std::string ecrit = lire_tout(dossier + "/tour.vid");
      EXPECT_EQ(trajectoire(ecrit), trajectoire(document));
      EXPECT_NE(ecrit.find("Largeur image      =         640"), std::string::npos);
    }
}

}  // namespace
