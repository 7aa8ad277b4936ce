#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include "app/aide.h"
#include "app/apropos.h"
#include "app/document.h"
#include "app/qt_platform.h"
#include "app/table_commandes.h"
#include "controls/speedbutton.h"
#include "fenetres/proprietaire_boites.h"
#include "tests/app/programme_test_support.h"
#include "tests/support/garde_tube.h"

namespace {

QString ini_path(Programme& p) { return p.chemin("montagne.ini"); }

// The three parameter sections of an options file, from the mountain head on.
std::string sections(const std::string& ini) { return ini.substr(ini.find("  [PARAMETRES MATRICE]")); }

}  // namespace

TEST(StartUp, ReadsTheOptionsFileAndShowsTheSplash) {
  Programme p;
  set_clock_for_tests([] { return 43210000u; });
  ASSERT_TRUE(p.demarrer(options_exemple()));
  std::uint32_t attendu = seed();
  set_clock_for_tests({});
  TBasewindow& w = *p.w;
  EXPECT_EQ(w.height(), 660);
  EXPECT_FALSE(w.arbre()->isVisible());
  EXPECT_EQ(w.etat.vue.largeur_image, 800);
  EXPECT_EQ(static_cast<std::uint32_t>(w.etat.parametres.cle), attendu);
  EXPECT_EQ(w.etat.parametres.cible[0], 0.333);
  EXPECT_TRUE(w.etat.demarrage);
  ASSERT_NE(w.splash(), nullptr);
  EXPECT_EQ(w.splash()->windowTitle(), "Quorvel v 3.1");
  EXPECT_TRUE(w.timer2().isActive());
  EXPECT_EQ(w.timer2().interval(), 2000);
  EXPECT_FALSE(w.timer1().isActive());
  w.Timer2Timer();
  EXPECT_EQ(w.splash(), nullptr);
  EXPECT_FALSE(w.timer2().isActive());
  EXPECT_TRUE(QFileInfo(p.chemin("temp")).isDir());
  EXPECT_EQ(w.etat.largeur_defaut, 400);
}

// Start-up leaves the clipboard as it is: what another program copied stays.
TEST(StartUp, TheClipboardKeepsWhatWasCopiedBefore) {
  QApplication::clipboard()->setText("copied before start-up");
  Programme p;
  ASSERT_TRUE(p.demarrer(options_exemple()));
  p.w->Timer2Timer();
  Programme::vider();
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "copied before start-up");
}

TEST(StartUp, MissingOptionsFileIsReportedAndEndsTheStart) {
  Programme p;
  EXPECT_FALSE(p.demarrer(""));
  ASSERT_EQ(p.ui.entries.size(), 1u);
  EXPECT_FALSE(p.ui.entries[0].question);
  EXPECT_EQ(p.ui.entries[0].caption, "Quorvel");
  EXPECT_EQ(p.ui.entries[0].text,
            "The default parameters file \"Montagne.ini\" could not be found. The file \"montagne.ini\" must be in the "
            "same directory as the executing file " + p.chemin("quorvel").toStdString());
  EXPECT_FALSE(p.w->isVisible());
  EXPECT_EQ(p.w->splash(), nullptr);
}

// A damaged document named on the command line, as a file manager opens it,
// is refused while the splash is up and has the focus. The refusal belongs
// to the main window: the splash goes at its time while the box is open, the
// box stays until it is answered, and the program goes on.
TEST(StartUp, AnUnreadableDocumentIsRefusedWhileTheSplashIsUp) {
  QTemporaryDir dossier;
  ecrire_tout(dossier.path() + "/montagne.ini", options_exemple());
  const QString vide = dossier.path() + "/damaged.vue";
  ecrire_tout(vide, "");
  QtUserInterface ui;
  UserInterface* avant = user_interface();
  set_user_interface(&ui);
  {
    TData data;
    TBasewindow w(&data);
    ui.fixer_principale(&w);
    ReglagesDemarrage r;
    r.executable = dossier.path() + "/quorvel";
    r.inscriptible = [](const QString&) { return true; };
    r.arguments = {vide};
    ASSERT_TRUE(montrer_au_demarrage(w, r));
    ASSERT_NE(w.splash(), nullptr);
    w.splash()->activateWindow();
    QApplication::processEvents();
    QString texte, titre;
    QWidget* proprietaire = nullptr;
    bool splash_parti = false;
    // Reads the box while it is open; answers it once the splash is gone.
    QTimer sonde;
    sonde.setInterval(50);
    QObject::connect(&sonde, &QTimer::timeout, [&] {
      auto* b = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!b) return;
      if (texte.isEmpty()) {
        texte = b->text();
        titre = b->windowTitle();
        proprietaire = b->parentWidget();
      }
      if (w.splash()) return;
      splash_parti = true;
      sonde.stop();
      b->button(QMessageBox::Ok)->click();
    });
    sonde.start();
    QElapsedTimer t;
    t.start();
    while (sonde.isActive() && t.elapsed() < 15000) QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(splash_parti);
    EXPECT_TRUE(texte.startsWith(vide)) << texte.toStdString();
    EXPECT_EQ(titre, "View ");
    EXPECT_EQ(proprietaire, &w);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.etat.nombre_montagnes, 0);
  }
  set_user_interface(avant);
}

// The owner of a box is never a window that can go while the box is open:
// the active window when it stays, else the main window.
TEST(StartUp, MessageBoxesAreNeverOwnedByAPassingWindow) {
  QWidget principale, autre, splash, aide;
  marquer_passagere(splash);
  aide.setAttribute(Qt::WA_DeleteOnClose);
  QWidget dans_le_splash(&splash);
  EXPECT_TRUE(est_passagere(&dans_le_splash));
  EXPECT_FALSE(est_passagere(&autre));
  auto proprietaire_quand_active = [](QWidget& f, QWidget* secours) {
    f.show();
    f.activateWindow();
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), &f);
    return proprietaire_boite(secours);
  };
  EXPECT_EQ(proprietaire_quand_active(autre, &principale), &autre);
  EXPECT_EQ(proprietaire_quand_active(splash, &principale), &principale);
  EXPECT_EQ(proprietaire_quand_active(aide, &principale), &principale);
  EXPECT_EQ(proprietaire_quand_active(splash, nullptr), nullptr);
}

TEST(StartUp, UnwritableProgramFolderUsesTheUserFolder) {
  Programme p;
  QDir(p.dossier.path()).mkpath("ciels");
  ecrire_tout(p.chemin("ciels/nuage.jpg"), "sky");
  QString user = p.chemin("user");
  ASSERT_TRUE(p.demarrer(options_exemple(), {}, false, user));
  EXPECT_EQ(QString::fromStdString(p.w->etat.dossier_programme), QDir::cleanPath(user));
  EXPECT_TRUE(QFileInfo::exists(user + "/montagne.ini"));
  EXPECT_EQ(lire_tout(user + "/ciels/nuage.jpg"), "sky");
  EXPECT_TRUE(QFileInfo(user + "/temp").isDir());
  EXPECT_EQ(p.w->etat.vue.largeur_image, 800);
}

TEST(CommandLine, CommandLineFileWinsOverTheStartingFile) {
  Programme p;
  QString a = p.chemin("a.mat"), b = p.chemin("b.mat");
  ecrire_tout(a, lire_tout(QUORVEL_SOURCE_DIR "/tests/data/plat.mat"));
  ecrire_tout(b, lire_tout(QUORVEL_SOURCE_DIR "/tests/data/plat.mat"));
  ASSERT_TRUE(p.demarrer(options_exemple({a.toStdString()}), {b}));
  EXPECT_TRUE(p.w->timer1().isActive());
  EXPECT_EQ(p.w->timer1().interval(), 1000);
  p.w->ouvrir_fichier();
  EXPECT_FALSE(p.w->timer1().isActive());
  ASSERT_EQ(p.ouverts.size(), 1u);
  EXPECT_EQ(p.ouverts[0], "mat:" + b.toStdString());
  EXPECT_EQ(p.w->etat.nombre_montagnes, 1);
  EXPECT_FALSE(p.w->etat.demarrage);
}

TEST(CommandLine, UpperCaseViewNameOpensAsAView) {
  Programme p;
  ASSERT_TRUE(p.demarrer(options_exemple(), {p.chemin("X.VUE")}));
  p.w->ouvrir_fichier();
  ASSERT_EQ(p.ouverts.size(), 1u);
  EXPECT_EQ(p.ouverts[0], "vue:" + p.chemin("X.VUE").toStdString());
}

TEST(CommandLine, StartingFileThatNoLongerExistsIsDropped) {
  Programme p;
  ASSERT_TRUE(p.demarrer(options_exemple({p.chemin("gone.mat").toStdString()})));
  EXPECT_TRUE(p.w->etat.fichier_courant.empty());
  EXPECT_FALSE(p.w->timer1().isActive());
  QString a = p.chemin("a.vue");
  ecrire_tout(a, "x");
  Programme q;
  ASSERT_TRUE(q.demarrer(options_exemple({a.toStdString()})));
  EXPECT_TRUE(q.w->timer1().isActive());
  q.w->ouvrir_fichier();
  ASSERT_EQ(q.ouverts.size(), 1u);
  EXPECT_EQ(q.ouverts[0], "vue:" + a.toStdString());
}

TEST(Drops, ExtensionsDecideAndOnlyTheFirstFileCounts) {
  Programme p;
  ASSERT_TRUE(p.demarrer(options_exemple()));
  QString bmp = p.chemin("x.bmp"), upper = p.chemin("X.VUE"), vid = p.chemin("y.vid");
  for (const QString& f : {bmp, upper, vid}) ecrire_tout(f, "x");
  p.w->fichiers_deposes({bmp, vid});
  p.w->fichiers_deposes({upper});
  ASSERT_EQ(p.ouverts.size(), 1u);
  EXPECT_EQ(p.ouverts[0], "vue:" + p.chemin("x.vue").toStdString());
  p.w->fichiers_deposes({vid});
  EXPECT_EQ(p.ouverts.back(), "vid:" + vid.toStdString());
  // A long path is taken whole.
  QString dir = p.chemin(QString(120, 'd'));
  QDir().mkpath(dir);
  QString long_name = dir + "/mountain.mat";
  ASSERT_GT(long_name.size(), 150);
  ecrire_tout(long_name, lire_tout(QUORVEL_SOURCE_DIR "/tests/data/plat.mat"));
  p.w->fichiers_deposes({long_name});
  EXPECT_EQ(p.ouverts.back(), "mat:" + long_name.toStdString());
  EXPECT_EQ(p.w->etat.montagnes[1].type.fichier, long_name.toStdString());
}

// Something that is not a regular file, named as a view document: a named
// pipe, a link to /dev/zero and a directory. Each way a document arrives (the
// starting file, the command line, a drop, "&Open ...", the recent list and
// the gallery) refuses it without opening it and says what it is.
TEST(Arrivals, WhatIsNotARegularFileIsRefusedBeforeItIsOpened) {
  QTemporaryDir dossier;
  const std::string tube = (dossier.path() + "/tube.vue").toStdString();
  const std::string zero = (dossier.path() + "/zero.vue").toStdString();
  const std::string rep = (dossier.path() + "/dossier.vue").toStdString();
  GardeTube garde(tube);
  ASSERT_TRUE(garde.cree());
  ASSERT_EQ(::symlink("/dev/zero", zero.c_str()), 0);
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(rep)));
  for (auto [chemin, genre] : {std::pair{tube, "a named pipe"}, std::pair{zero, "a character device"},
                               std::pair{rep, "a directory"}}) {
    SCOPED_TRACE(chemin);
    const std::string refus = chemin + " cannot be opened: " + genre + " is not a regular file";
    auto dernier = [](Programme& p) { return p.ui.entries.empty() ? std::string() : p.ui.entries.back().text; };
    Programme a;
    ASSERT_TRUE(a.demarrer(options_exemple({chemin})));
    a.w->documents = a.reels;
    EXPECT_TRUE(a.w->timer1().isActive()) << "the starting file is kept, to say what it is";
    a.w->ouvrir_fichier();
    ASSERT_FALSE(a.ui.entries.empty()) << "the starting file is refused with a message";
    EXPECT_EQ(dernier(a), refus);
    EXPECT_EQ(a.ui.entries.back().caption, "View ");
    a.ui.entries.clear();
    a.w->fichiers_deposes({QString::fromStdString(chemin)});
    EXPECT_EQ(dernier(a), refus);
    a.ui.entries.clear();
    a.dialogues->ouvertures.push_back(chemin);
    a.w->action(Commande::ouvrir)->trigger();
    EXPECT_EQ(dernier(a), refus) << "File > Open says why";
    a.ui.entries.clear();
    a.w->etat.recents = {chemin};
    a.ui.answers = {true};
    a.w->documents.FileprecItemClick(chemin);
    ASSERT_EQ(a.ui.entries.size(), 1u);
    EXPECT_EQ(a.ui.entries[0].text, refus + ". Do you want to remove it from the list of recent files ?");
    EXPECT_TRUE(a.w->etat.recents.empty());
    a.ui.entries.clear();
    a.dialogues->parcours = {chemin};
    a.w->action(Commande::parcourir)->trigger();
    ASSERT_TRUE(a.w->galerie);
    a.w->galerie->PaintBox_0DblClick(0);
    EXPECT_EQ(dernier(a), refus);
    EXPECT_EQ(a.w->etat.nombre_montagnes, 0);
    Programme b;
    ASSERT_TRUE(b.demarrer(options_exemple(), {QString::fromStdString(chemin)}));
    b.w->documents = b.reels;
    b.w->ouvrir_fichier();
    EXPECT_EQ(dernier(b), refus);
    EXPECT_EQ(b.w->etat.nombre_montagnes, 0);
  }
  EXPECT_FALSE(garde.ouvert()) << "the named pipe was opened";
}

// A recent file whose name holds "&" shows the name as it is: the item has
// no shortcut letter, and it opens that file.
TEST(RecentFiles, AnAmpersandInAFileNameIsShownAsItIs) {
  Programme p;
  const QString nom = p.chemin("a&b x.vue");
  ecrire_tout(nom, lire_tout(QUORVEL_SOURCE_DIR "/tests/data/plat.mat"));
  ASSERT_TRUE(p.demarrer(options_exemple({">" + nom.toStdString()})));
  ASSERT_EQ(p.w->entrees_recentes().size(), 1);
  QAction* entree = nullptr;
  for (QAction* a : p.w->menu_fichier()->actions())
    if (a->text() == p.w->entrees_recentes()[0]) entree = a;
  ASSERT_NE(entree, nullptr);
  EXPECT_TRUE(QKeySequence::mnemonic(entree->text()).isEmpty());
  EXPECT_EQ(entree->text(), QString(nom).replace("&", "&&"));
  entree->trigger();
  ASSERT_EQ(p.precedents.size(), 1u);
  EXPECT_EQ(p.precedents[0], nom.toStdString());
}

TEST(RecentFiles, MenuMirrorsTheList) {
  Programme p;
  std::vector<std::string> tete;
  for (const char* n : {"r1.mat", "r2.mat", "r3.mat"}) {
    ecrire_tout(p.chemin(n), lire_tout(QUORVEL_SOURCE_DIR "/tests/data/plat.mat"));
    tete.push_back(">" + p.chemin(n).toStdString());
  }
  ASSERT_TRUE(p.demarrer(options_exemple(tete)));
  TBasewindow& w = *p.w;
  ASSERT_EQ(w.entrees_recentes().size(), 3);
  EXPECT_EQ(w.entrees_recentes()[0], p.chemin("r1.mat"));
  // Between the separator after "starting file" and the one before "&Exit".
  auto actions = w.menu_fichier()->actions();
  int depart = static_cast<int>(actions.indexOf(w.action(Commande::fichier_depart)));
  int sortie = static_cast<int>(actions.indexOf(w.action(Commande::sortie)));
  EXPECT_EQ(sortie - depart, 6);
  EXPECT_TRUE(actions[depart + 1]->isSeparator());
  EXPECT_EQ(actions[depart + 2]->text(), p.chemin("r1.mat"));
  EXPECT_TRUE(actions[sortie - 1]->isSeparator());
  p.ouvrir("r4.mat");
  ASSERT_EQ(w.entrees_recentes().size(), 4);
  EXPECT_EQ(w.entrees_recentes()[0], p.chemin("r4.mat"));
  for (int k = 5; k <= 11; ++k) {
    w.etat.fichier_courant = p.chemin(QString("r%1.mat").arg(k)).toStdString();
    w.maj_fichiers_recents();
  }
  ASSERT_EQ(w.entrees_recentes().size(), 10);
  EXPECT_EQ(w.entrees_recentes()[0], p.chemin("r11.mat"));
  EXPECT_FALSE(w.entrees_recentes().contains(p.chemin("r3.mat")));
  EXPECT_TRUE(w.entrees_recentes().contains(p.chemin("r1.mat")));
  for (QAction* a : w.menu_fichier()->actions())
    if (a->text() == p.chemin("r2.mat")) a->trigger();
  ASSERT_EQ(p.precedents.size(), 1u);
  EXPECT_EQ(p.precedents[0], p.chemin("r2.mat").toStdString());
}

TEST(Exit, AsksForEditedMountainsAndKeepsTheSectionsOnDisk) {
  for (bool oui : {true, false}) {
    Programme p;
    std::string ini = options_exemple();
    ASSERT_TRUE(p.demarrer(ini));
    TBasewindow& w = *p.w;
    w.documents.enregistrer = p.enregistrer_reel;
    int m = p.ouvrir("edited.mat");
    ASSERT_EQ(m, 1);
    std::string avant = lire_tout(p.chemin("edited.mat"));
    Tmatrice& t = *w.etat.montagnes[m].terrain;
    t.hauteurs->ecrire(2, 3, t.hauteurs->lire(2, 3) + 321);
    std::int32_t attendue = t.hauteurs->lire(2, 3);
    w.etat.montagnes[m].type.modifie_edition = 1;
    w.etat.vue.largeur_image = 123;  // records changed during the run are not written at exit
    w.etat.demarrer_sur_fichier = true;
    p.ui.answers = {oui};
    w.close();
    ASSERT_EQ(p.ui.entries.size(), 1u);
    EXPECT_TRUE(p.ui.entries[0].question);
    EXPECT_EQ(p.ui.entries[0].text, "Before exit, do you want to save modifications on  N°1  " +
                                        p.chemin("edited.mat").toStdString() + " ?");
    std::string apres_doc = lire_tout(p.chemin("edited.mat"));
    if (oui) {
      document_lu d = lire_document(apres_doc, "edited.mat", GenreDocument::montagne);
      EXPECT_EQ(d.terrain->hauteurs->lire(2, 3), attendue);
    } else {
      EXPECT_EQ(apres_doc, avant);
    }
    std::string apres = lire_tout(ini_path(p));
    EXPECT_EQ(sections(apres), sections(ini));
    std::string tete = "22222\r\n" + p.chemin("edited.mat").toStdString() + "\r\n>" +
                       p.chemin("edited.mat").toStdString() + "\r\n";
    EXPECT_EQ(apres.substr(0, tete.size()), tete);
    EXPECT_EQ(w.etat.montagnes[m].type.modifie_edition, 0);
  }
}

// A save at exit that cannot write keeps the program, the document and its
// edits; saved elsewhere, the exit then goes through.
TEST(Exit, AFailedSaveStopsTheExitAndKeepsTheEdits) {
  Programme p;
  ASSERT_TRUE(p.demarrer(options_exemple()));
  TBasewindow& w = *p.w;
  w.documents.enregistrer = p.enregistrer_reel;
  ASSERT_TRUE(QDir(p.dossier.path()).mkdir("gone"));
  const int m = p.ouvrir("gone/edited.mat");
  ASSERT_EQ(m, 1);
  Tmatrice& t = *w.etat.montagnes[m].terrain;
  t.hauteurs->ecrire(2, 3, t.hauteurs->lire(2, 3) + 321);
  const std::int32_t attendue = t.hauteurs->lire(2, 3);
  w.etat.montagnes[m].type.modifie_edition = 1;
  // The folder disappears: no write can succeed there, whoever runs the test.
  ASSERT_TRUE(QDir(p.chemin("gone")).removeRecursively());
  p.ui.answers = {true};
  w.close();
  ASSERT_EQ(p.ui.entries.size(), 2u);
  EXPECT_TRUE(p.ui.entries[0].question);
  EXPECT_FALSE(p.ui.entries[1].question);
  EXPECT_NE(p.ui.entries[1].text.find("could not be written"), std::string::npos);
  EXPECT_TRUE(w.isVisible());
  EXPECT_FALSE(w.sortie);
  EXPECT_TRUE(w.etat.montagnes[m].type.utilise);
  EXPECT_EQ(w.etat.montagnes[m].type.modifie_edition, 1);
  EXPECT_EQ(w.etat.montagnes[m].type.fichier, p.chemin("gone/edited.mat").toStdString());
  // The user saves it elsewhere; the next exit asks nothing and ends.
  p.dialogues->sauvegardes.push_back(p.chemin("kept.mat").toStdString());
  w.etat.montagne_courante = m;
  w.action(Commande::enregistrer_montagne)->trigger();
  document_lu d = lire_document(lire_tout(p.chemin("kept.mat")), "kept.mat", GenreDocument::montagne);
  EXPECT_EQ(d.terrain->hauteurs->lire(2, 3), attendue);
  p.ui.entries.clear();
  w.close();
  EXPECT_TRUE(p.ui.entries.empty());
  EXPECT_TRUE(w.sortie);
}

// A mountain that never had a file is asked about once it was changed; Yes
// opens "Save as", whose Cancel stops the exit. An unchanged one is not asked.
TEST(Exit, EditedMountainsWithoutAFileAreAskedAbout) {
  enum Cas { annule, sauve, refuse, inchange };
  for (Cas cas : {annule, sauve, refuse, inchange}) {
    SCOPED_TRACE(cas);
    Programme p;
    ASSERT_TRUE(p.demarrer(options_exemple()));
    TBasewindow& w = *p.w;
    w.documents.enregistrer = p.enregistrer_reel;
    const int m = p.ouvrir("model.mat");
    auto& type = w.etat.montagnes[m].type;
    type.a_fichier = 0;
    type.fichier.clear();
    type.nom = "New #  1";
    type.modifie_edition = cas == inchange ? 0 : 1;
    p.ui.answers = {cas != refuse};
    if (cas == sauve) p.dialogues->sauvegardes.push_back(p.chemin("named.mat").toStdString());
    w.close();
    if (cas == inchange) {
      EXPECT_TRUE(p.ui.entries.empty());
    } else {
      ASSERT_GE(p.ui.entries.size(), 1u);
      EXPECT_EQ(p.ui.entries[0].text, "Before exit, do you want to save modifications on  N\u00b01  New #  1 ?");
    }
    EXPECT_EQ(p.dialogues->demandes.size(), cas == annule || cas == sauve ? 1u : 0u);
    EXPECT_EQ(w.sortie != 0, cas != annule);
    EXPECT_EQ(QFileInfo::exists(p.chemin("named.mat")), cas == sauve);
    if (cas == annule) {
      EXPECT_TRUE(w.isVisible());
      EXPECT_TRUE(type.utilise);
      EXPECT_EQ(type.modifie_edition, 1);
    }
  }
}

// The question as the message box shows it: the degree sign is one character.
TEST(Exit, TheQuestionBoxShowsTheDegreeSign) {
  Programme p;
  ASSERT_TRUE(p.demarrer(options_exemple()));
  const int m = p.ouvrir("edited.mat");
  p.w->etat.montagnes[m].type.modifie_edition = 1;
  p.ui.answers = {false};
  p.w->close();
  ASSERT_EQ(p.ui.entries.size(), 1u);
  ASSERT_TRUE(p.ui.entries[0].sauvegarde);
  auto boite = construire_boite_message(p.ui.entries[0].text, p.ui.entries[0].caption, GenreBoite::sauvegarde, nullptr);
  EXPECT_EQ(boite->text(), QString("Before exit, do you want to save modifications on  N") + QChar(0xB0) + "1  " + p.chemin("edited.mat") + " ?");
  EXPECT_EQ(boite->windowTitle(), "Quorvel");
  EXPECT_EQ(boite->standardButtons(), QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(boite->defaultButton(), boite->button(QMessageBox::Yes));
  auto avertissement = construire_boite_message("Video N\u00b0 2", "View ", GenreBoite::avertissement, nullptr);
  EXPECT_EQ(avertissement->text(), QString("Video N") + QChar(0xB0) + " 2");
  EXPECT_EQ(avertissement->icon(), QMessageBox::Warning);
  // Both have the frame of a dialog: a close box, no minimise or maximise box.
  for (QMessageBox* b : {boite.get(), avertissement.get()}) {
    EXPECT_EQ(b->windowType(), Qt::Dialog);
    EXPECT_FALSE(b->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(b->windowFlags() & Qt::WindowCloseButtonHint);
  }
}

// Read right to left, the tool bar starts at the right edge as the menus do,
// and a card's title keeps its document's path in the path's own order.
TEST(RightToLeft, ToolBarMirroredAndPathsKeptInTitles) {
  Programme p;
  ASSERT_TRUE(p.demarrer(options_exemple()));
  p.w->resize(900, 600);
  p.w->show();
  const CtlSpeedButton* premier = p.w->bouton(table_boutons().front().commande);
  const CtlSpeedButton* dernier = p.w->bouton(table_boutons().back().commande);
  ASSERT_TRUE(premier && dernier);
  EXPECT_LT(premier->x(), dernier->x());
  const int marge = premier->x();
  QGuiApplication::setLayoutDirection(Qt::RightToLeft);
  EXPECT_GT(premier->x(), dernier->x());
  EXPECT_EQ(premier->parentWidget()->width() - premier->geometry().right() - 1, marge);
  const int m = p.ouvrir("droite.mat");
  const QString titre = p.w->cartes[m]->windowTitle();
  QGuiApplication::setLayoutDirection(Qt::LeftToRight);
  EXPECT_EQ(titre, "#  " + QString::number(m) + ": " + QChar(0x2066) + p.chemin("droite.mat") + QChar(0x2069));
  EXPECT_LT(premier->x(), dernier->x());
  const int n = p.ouvrir("gauche.mat");
  EXPECT_EQ(p.w->cartes[n]->windowTitle(), "#  " + QString::number(n) + ": " + p.chemin("gauche.mat"));
}

TEST(Exit, SavedOptionsAreTheSectionsLeftAtExit) {
  Programme p;
  ASSERT_TRUE(p.demarrer(options_exemple()));
  p.w->etat.vue.largeur_image = 321;
  p.w->Sauve_options();
  std::string sauve = lire_tout(ini_path(p));
  p.w->etat.vue.largeur_image = 999;
  p.w->close();
  EXPECT_EQ(sections(lire_tout(ini_path(p))), sections(sauve));
  EXPECT_NE(sauve.find("Largeur image      =         321"), std::string::npos);
}

// An options file that cannot be written is named, as one that cannot be
// read is: by "Save Options" and by the exit, which leave it as it is.
TEST(Exit, AnOptionsFileThatCannotBeWrittenIsNamed) {
  Programme p;
  ASSERT_TRUE(p.demarrer(options_exemple()));
  const std::string ini = ini_path(p).toStdString();
  ASSERT_TRUE(QFile::remove(ini_path(p)));
  GardeTube tube(ini);
  ASSERT_TRUE(tube.cree());
  const std::string attendu = "The options file " + ini + " could not be written: a named pipe is not a regular file";
  p.ui.entries.clear();
  p.w->action(Commande::sauver_options)->trigger();
  ASSERT_EQ(p.ui.entries.size(), 1u);
  EXPECT_EQ(p.ui.entries[0].text, attendu);
  p.w->close();
  ASSERT_EQ(p.ui.entries.size(), 2u);
  EXPECT_EQ(p.ui.entries[1].text, attendu);
  EXPECT_FALSE(tube.ouvert());
}

TEST(Exit, ContextHelpShowsTheTopicAndKeepsTheWindow) {
  Programme p;
  ASSERT_TRUE(p.demarrer(options_exemple()));
  p.w->Contextuelle();
  p.w->action(Commande::sortie)->trigger();
  EXPECT_TRUE(p.w->isVisible());
  ASSERT_NE(p.w->aide(false), nullptr);
  EXPECT_EQ(p.w->aide(false)->CurrentTopic(), 5009);
  p.w->Contextuelle();
}
