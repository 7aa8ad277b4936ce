// The exit as a user meets it, on a started main window with the real file
// commands, card and view windows: a view read from its document and
// changed, a write that fails, an unsaved import beside a new mountain; and
// the close of a mountain, which stops as the exit does. Each answer is
// checked against the files on disk.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <deque>
#include <map>

#include "app/document.h"
#include "app/qt_platform.h"
#include "components/legende.h"
#include "controls/speedbutton.h"
#include "dialogs/edition.h"
#include "import/fenetre_import.h"
#include "render/bmp.h"
#include "tests/app/atelier.h"
#include "tests/support/films.h"
#include "tests/support/rendus.h"
#include "video/fenetre_video.h"

// The toolkit's platform interface, through which a platform plugin hands
// on the window system's events; its header is not installed with the
// development files, so the two entry points used here are declared as the
// library exports them.
class QWindowSystemInterface {
 public:
  struct DefaultDelivery {};
  template <typename Delivery = DefaultDelivery>
  static bool handleCloseEvent(QWindow* window);
  static bool flushWindowSystemEvents(QEventLoop::ProcessEventsFlags flags = QEventLoop::AllEvents);
};

namespace {

const render::Pixel kAvant = render::pixel_rgb(10, 20, 30);
const render::Pixel kApres = render::pixel_rgb(200, 100, 50);

// A copy of the sample view document opened with "&Open ..." and drawn.
struct VueLue : Atelier {
  QString chemin_vue, chemin_image;
  TVuewindow* v = nullptr;

  VueLue() {
    test_rendus::controle_rendus().couleur_factice = kAvant;
    chemin_vue = dossier.path() + "/vallee.vue";
    chemin_image = dossier.path() + "/vallee.bmp";
    EXPECT_TRUE(QFile::copy(QUORVEL_SOURCE_DIR "/tests/data/vallee.vue", chemin_vue));
    dialogues->ouvertures.push_back(chemin_vue.toStdString());
    commande(Commande::ouvrir);
    Programme::vider();
    v = vue(1);
    attendre_image(v);
  }
  // Ctrl+M with automatic refresh: the wire mesh, drawn anew.
  void changer() {
    test_rendus::controle_rendus().couleur_factice = kApres;
    w->activer(v);
    commande(Commande::maillage);
    QElapsedTimer t;
    t.start();
    while (!v->modifiee && t.elapsed() < 20000) QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  std::string question() const {
    return "Before exit, do you want to save modifications on  N\u00b01  " + chemin_vue.toStdString() + " ?";
  }
};

// A user before the program's real message boxes: `devant` runs once at
// each box while it is up, and answers it.
struct Utilisateur {
  QtUserInterface boites;
  UserInterface* avant = user_interface();
  QTimer regard;
  std::function<void(QMessageBox&)> devant;

  explicit Utilisateur(QWidget* principale) {
    boites.fixer_principale(principale);
    set_user_interface(&boites);
    regard.setInterval(5);
    QObject::connect(&regard, &QTimer::timeout, [this] {
      auto* b = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!b || !b->isVisible() || b->property("vue").toBool()) return;
      b->setProperty("vue", true);
      devant(*b);
    });
    regard.start();
  }
  ~Utilisateur() { set_user_interface(avant); }
};

// A close request from the window manager, as the platform delivers it.
void fermeture_exterieure(QWidget& w) {
  QWindowSystemInterface::handleCloseEvent(w.windowHandle());
  QWindowSystemInterface::flushWindowSystemEvents();
  QApplication::processEvents();
}

// The colour of the first pixel of a 24-bit bitmap file (stored blue first).
render::Pixel premier_pixel(const QString& chemin) {
  const std::string b = lire_tout(chemin);
  if (b.size() < 57) return 0;
  return render::pixel_rgb(static_cast<std::uint8_t>(b[56]), static_cast<std::uint8_t>(b[55]),
                           static_cast<std::uint8_t>(b[54]));
}

}  // namespace

// Yes writes the changed view into its document with its new picture beside
// it; No leaves both as they were. Either way it is the only question: the
// view's own closing asks nothing afterwards.
TEST(Exit, AChangedViewReadFromItsDocumentIsSavedOnYes) {
  for (const bool oui : {true, false}) {
    SCOPED_TRACE(oui);
    VueLue a;
    ASSERT_NE(a.v, nullptr);
    const std::string avant = lire_tout(a.chemin_vue);
    ASSERT_NE(avant.find("Maillage filaire   =Non"), std::string::npos);
    a.changer();
    ASSERT_EQ(a.v->modifiee, 1);
    a.ui.entries.clear();
    a.ui.answers = {oui};
    a.w->close();
    Programme::vider();
    ASSERT_EQ(a.ui.entries.size(), 1u);
    EXPECT_EQ(a.ui.entries[0].text, a.question());
    EXPECT_TRUE(a.w->sortie);
    const std::string apres = lire_tout(a.chemin_vue);
    if (oui) {
      EXPECT_NE(apres.find("Maillage filaire   =Oui"), std::string::npos);
      EXPECT_EQ(premier_pixel(a.chemin_image), kApres);
    } else {
      EXPECT_EQ(apres, avant);
      EXPECT_FALSE(QFileInfo::exists(a.chemin_image));
    }
  }
}

// A Yes whose write fails (the picture's place is taken) stops the exit and
// says why, with the view still changed. Once the place is free, the next
// exit asks again and writes both.
TEST(Exit, AFailedWriteOfAChangedViewKeepsTheProgramOpen) {
  VueLue a;
  a.changer();
  ASSERT_TRUE(QDir().mkpath(a.chemin_image));
  a.ui.entries.clear();
  a.ui.answers = {true};
  a.w->close();
  ASSERT_EQ(a.ui.entries.size(), 2u);
  EXPECT_EQ(a.ui.entries[1].text.rfind("The picture " + a.chemin_image.toStdString() + " could not be written", 0),
            0u)
      << a.ui.entries[1].text;
  EXPECT_TRUE(a.w->isVisible());
  EXPECT_FALSE(a.w->sortie);
  EXPECT_EQ(a.v->modifiee, 1);
  ASSERT_TRUE(QDir(a.chemin_image).removeRecursively());
  a.ui.entries.clear();
  a.ui.answers = {true};
  a.w->close();
  ASSERT_EQ(a.ui.entries.size(), 1u);
  EXPECT_EQ(a.ui.entries[0].text, a.question());
  EXPECT_TRUE(a.w->sortie);
  EXPECT_EQ(premier_pixel(a.chemin_image), kApres);
  EXPECT_NE(lire_tout(a.chemin_vue).find("Maillage filaire   =Oui"), std::string::npos);
}

// A mountain whose closing question was answered Yes and whose save wrote
// nothing stays open, as the exit does: its card comes back active, with its
// view and its edits, "Close all the mountains" stops there, and it can be
// closed again. A No to the question closes it. Nothing is written in any row.
TEST(ClosingAMountain, AYesWhoseSaveWroteNothingKeepsItOpen) {
  struct Cas {
    const char *nom, *dernier;  // the last question or warning holds `dernier`
    bool toutes, echec_ecriture;
    std::deque<bool> reponses;  // the first one, Yes, keeps the mountain
  };
  const char* photo = "vacances.bmp already exists. Do you want to replace it ?";
  const Cas cas[] = {{"close box, No to replacing the user's photo", photo, false, false, {true, true, false}},
                     {"close box, failed write", "could not be written", false, true, {true, false}},
                     {"Close all the mountains, No to the photo", photo, true, false, {true, true, false}},
                     {"close box, No to saving", "Save the modifications of", false, false, {false}}};
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.nom);
    Atelier a;
    const QDir d(a.dossier.path());
    a.commande(Commande::nouvelle_montagne);
    a.dialogues->sauvegardes.push_back(d.filePath("vacances.mat").toStdString());
    a.commande(Commande::enregistrer_montagne);
    ASSERT_TRUE(render::ecrire_bmp(d.filePath("vacances.bmp").toStdString(), render::Bitmap(4, 3, kAvant)));
    a.commande(Commande::voir);  // a changed view, without a file
    a.attendre_image(a.vue(1));
    a.commande(Commande::nouvelle_montagne);
    a.w->activer(a.carte(1));
    auto fichiers = [&] {
      std::map<QString, std::string> f;
      for (const QString& n : d.entryList(QDir::Files)) f[n] = lire_tout(d.filePath(n));
      return f;
    };
    const auto avant = fichiers();
    a.ui.entries.clear();
    a.ui.answers = k.reponses;
    if (k.echec_ecriture) simuler_echec_ecriture(10);
    if (k.toutes) a.commande(Commande::fermer_montagnes);
    else a.carte(1)->sous_fenetre()->close();
    simuler_echec_ecriture(std::nullopt);
    for (int n = 0; n < 5 && a.w->timer_delete().isActive(); ++n) a.w->Timer_deleteTimer();
    Programme::vider();
    ASSERT_EQ(a.ui.entries.size(), k.reponses.size() + k.echec_ecriture);  // the failed write's warning
    EXPECT_NE(a.ui.entries.back().text.find(k.dernier), std::string::npos) << a.ui.entries.back().text;
    EXPECT_EQ(fichiers(), avant);
    const bool gardee = k.reponses.front();
    EXPECT_EQ(a.w->etat.montagnes[1].type.utilise != 0, gardee);
    EXPECT_EQ(a.w->etat.nombre_montagnes, gardee ? 2 : 1);
    if (!gardee || !a.carte(1)) continue;
    EXPECT_EQ(a.w->etat.montagnes[1].type.modifie_edition, 1);
    EXPECT_TRUE(a.w->enfant_actif() == a.carte(1) && a.carte(1)->isVisible());
    EXPECT_TRUE(a.w->etat.vues[1].utilise && !a.w->occupe);
    a.ui.answers = {false};  // closed again
    a.carte(1)->sous_fenetre()->close();
    Programme::vider();
    EXPECT_FALSE(a.w->etat.montagnes[1].type.utilise);
  }
}

// An imported mountain never saved is asked about: no key makes it again.
// Yes saves it under the name chosen; No lets it go without another
// question. A new mountain made from its key alone, with a view open, goes
// without one.
TEST(Exit, AnUnsavedImportIsAskedAboutAndANewMountainIsNot) {
  for (const bool oui : {true, false}) {
    SCOPED_TRACE(oui);
    Atelier a;
    test_rendus::controle_rendus().couleur_factice = kAvant;
    const std::string source = (a.dossier.path() + "/plat.bmp").toStdString();
    ASSERT_TRUE(render::ecrire_bmp(source, render::Bitmap(64, 64, render::pixel_rgb(100, 100, 100))));
    a.dialogues->imports.push_back(source);
    a.commande(Commande::importer);
    auto* import = dynamic_cast<TImportation*>(a.w->importation.data());
    ASSERT_NE(import, nullptr);
    a.w->activer(import);
    import->BitBtn_importClick();
    ASSERT_EQ(a.w->etat.nombre_montagnes, 1);
    a.commande(Commande::nouvelle_montagne);
    a.commande(Commande::voir);
    a.attendre_image(a.vue(a.w->etat.vue_courante));
    ASSERT_EQ(a.w->etat.nombre_montagnes, 2);
    ASSERT_EQ(a.w->etat.nombre_vues, 1);
    const QString chemin = a.dossier.path() + "/imported.mat";
    a.dialogues->sauvegardes.push_back(chemin.toStdString());
    a.ui.entries.clear();
    a.ui.answers = {oui};
    a.w->close();
    Programme::vider();
    ASSERT_EQ(a.ui.entries.size(), 1u);
    EXPECT_EQ(a.ui.entries[0].text, "Before exit, do you want to save modifications on  N\u00b01  #   1 Imported mountain ?");
    EXPECT_TRUE(a.w->sortie);
    EXPECT_EQ(a.dialogues->demandes, oui ? std::vector{DialogueSauvegarde::montagne} : std::vector<DialogueSauvegarde>{});
    ASSERT_EQ(QFileInfo::exists(chemin), oui);
    if (oui) {
      document_lu d = lire_document(lire_tout(chemin), "imported.mat", GenreDocument::montagne);
      EXPECT_EQ(d.terrain->hauteurs->lire(5, 5), a.w->etat.montagnes[1].terrain->hauteurs->lire(5, 5));
    }
  }
}

// A copy of a mountain read from its file is asked about at exit, though the
// copy has no file: no key makes its terrain again. Yes saves the copy, with
// the heights it copied, under the name chosen. The mountain it was copied
// from, unchanged, and a copy of a new mountain made from its key alone go
// without a question.
TEST(Exit, ACopyOfAMountainItsKeyDoesNotMakeIsAskedAbout) {
  VueLue a;
  ASSERT_NE(a.v, nullptr);
  a.commande(Commande::dupliquer_montagne);
  a.commande(Commande::nouvelle_montagne);
  a.commande(Commande::dupliquer_montagne);
  ASSERT_EQ(a.w->etat.nombre_montagnes, 4);
  const QString chemin = a.dossier.path() + "/copie.mat";
  a.dialogues->sauvegardes.push_back(chemin.toStdString());
  a.ui.entries.clear();
  a.ui.answers = {true};
  a.w->close();
  Programme::vider();
  ASSERT_EQ(a.ui.entries.size(), 1u);
  EXPECT_EQ(a.ui.entries[0].text, "Before exit, do you want to save modifications on  N\u00b02  New #  2 ?");
  EXPECT_TRUE(a.w->sortie);
  ASSERT_TRUE(QFileInfo::exists(chemin));
  document_lu d = lire_document(lire_tout(chemin), "copie.mat", GenreDocument::montagne);
  const Tnoeud& source = *a.w->etat.montagnes[1].terrain->hauteurs;
  for (const auto& [i, j] : {std::pair{5, 5}, std::pair{17, 9}, std::pair{2, 30}})
    EXPECT_EQ(d.terrain->hauteurs->lire(i, j), source.lire(i, j)) << i << ", " << j;
}

// While the exit question is up, a close request from the window manager is
// refused, whether the exit began with File > Exit, the Exit button or the
// title bar's close box: the program and the question stay, and Yes then
// writes the view's document.
TEST(Exit, AnOutsideCloseWhileTheQuestionIsUpIsRefused) {
  const std::pair<const char*, std::function<void(TBasewindow&)>> portes[] = {
      {"File > Exit", [](TBasewindow& w) { w.action(Commande::sortie)->trigger(); }},
      {"Exit button", [](TBasewindow& w) { emit w.bouton(Commande::sortie)->clicked(); }},
      {"close box", [](TBasewindow& w) { w.legende()->CloseButton()->click(); }},
  };
  for (const auto& [porte, sortir] : portes) {
    SCOPED_TRACE(porte);
    VueLue a;
    a.changer();
    ecrire_tout(a.chemin_vue, "");
    Utilisateur u(a.w.get());
    std::vector<std::string> questions;
    bool restee = false;
    u.devant = [&](QMessageBox& b) {
      questions.push_back(b.text().toStdString());
      fermeture_exterieure(*a.w);
      restee = a.w->isVisible() && a.w->windowHandle() && a.w->windowHandle()->handle() && !a.w->sortie &&
               b.isVisible();
      b.button(QMessageBox::Yes)->click();
    };
    sortir(*a.w);
    Programme::vider();
    EXPECT_EQ(questions, std::vector{a.question()});
    EXPECT_TRUE(restee);
    EXPECT_TRUE(a.w->sortie);
    EXPECT_NE(lire_tout(a.chemin_vue).find("Maillage filaire   =Oui"), std::string::npos);
  }
}

// The title bar's window menu closes the main window by its own close, which
// the toolkit lets through while a modal window is up. Chosen while one of
// the program's questions is up (the menu stays open while the closing
// timer asks, since a menu is not a modal window), that close is refused:
// the question's answer alone counts, and no exit question comes under it.
TEST(Exit, TheWindowMenusCloseWhileAQuestionIsUpIsRefused) {
  VueLue a;
  a.changer();
  QAction* fermer = nullptr;
  ASSERT_NE(a.w->legende()->PopupMenu(), nullptr);
  for (QAction* x : a.w->legende()->PopupMenu()->actions())
    if (x->text() == "&Close") fermer = x;
  ASSERT_NE(fermer, nullptr);
  Utilisateur u(a.w.get());
  std::vector<std::string> questions;
  bool restee = false;
  u.devant = [&](QMessageBox& b) {
    questions.push_back(b.text().toStdString());
    if (questions.size() > 1) {
      b.button(QMessageBox::No)->click();
      return;
    }
    // From the box's own event loop, as a click on the menu would come.
    QTimer::singleShot(0, &b, [&] {
      fermer->trigger();
      restee = a.w->isVisible() && !a.w->sortie && b.isVisible();
      b.button(QMessageBox::Yes)->click();
    });
  };
  a.commande(Commande::fermer_montagne);
  Programme::vider();
  EXPECT_EQ(questions, std::vector{"Save the modifications of " + a.chemin_vue.toStdString() + " ?"});
  EXPECT_TRUE(restee);
  EXPECT_TRUE(a.w->isVisible());
  EXPECT_FALSE(a.w->sortie);
  EXPECT_EQ(a.w->etat.nombre_montagnes, 0);
  EXPECT_NE(lire_tout(a.chemin_vue).find("Maillage filaire   =Oui"), std::string::npos);
}

// A question whose No throws work away (leaving, closing a card, a view, the
// map editor or a video) has Yes as its default, and neither Esc nor the
// box's close answers it: it stays until Yes or No, and Enter says Yes. The
// other questions keep No as their default and their escape ("Remove").
TEST(Exit, OnlyYesOrNoAnswersASaveQuestion) {
  // The text expected, and whether the answer took effect.
  struct Question {
    std::string texte;
    std::function<bool()> effet;
  };
  struct Cas {
    const char* nom;
    bool sauvegarde;
    std::function<Question(VueLue&)> poser;
  };
  auto reecrit = [](VueLue& a) -> std::function<bool()> {
    return [&a] { return lire_tout(a.chemin_vue).find("[PARAMETRES VUE]") != std::string::npos; };
  };
  const Cas cas[] = {
      {"exit", true, [&](VueLue& a) {
         a.commande(Commande::sortie);
         return Question{a.question(), reecrit(a)};
       }},
      {"card", true, [&](VueLue& a) {
         a.commande(Commande::fermer_montagne);
         return Question{"Save the modifications of " + a.chemin_vue.toStdString() + " ?", reecrit(a)};
       }},
      {"view", true, [&](VueLue& a) {
         const std::string titre = a.v->windowTitle().toStdString();
         a.commande(Commande::fermer_vue);
         return Question{"Save the modifications of " + titre + " ?", reecrit(a)};
       }},
      {"map editor", true, [&](VueLue& a) {
         a.w->activer(a.carte(1));
         a.commande(Commande::editer);
         auto* e = dynamic_cast<Tfenetre_edition*>(a.w->editeurs[1].data());
         if (!e) return Question{"no editor", [] { return false; }};
         Programme::vider();
         e->modifiee = 1;
         e->sous_fenetre()->close();
         return Question{"Save the modifications of " + a.chemin_vue.toStdString() + " ?", reecrit(a)};
       }},
      {"video", true, [&](VueLue& a) {
         const Param_video p = test_films::reglages_courts();
         QDir(a.dossier.path()).mkpath("temp");
         const std::string film = test_films::ecrire((a.dossier.path() + "/tour.avi").toStdString(), 4, 160, 120);
         auto f = std::make_shared<TVideowindow>();
         f->a_fichier = 1;
         f->prendre_cameras(nullptr, p.nombre_images);
         f->setWindowTitle("Video #  3 :  tour");
         f->init_video(0, p, a.w->etat.montagnes[1].terrain.get(), film, a.dossier.path().toStdString());
         f->regenerer_video();
         f->close();
         return Question{"Save updates on Video #  3 :  tour ?", [f] { return f->sauvegarde_demandee == 1; }};
       }},
      {"Remove", false, [&](VueLue& a) {
         a.commande(Commande::supprimer);
         return Question{"Do you want to destroy the file " + a.chemin_vue.toStdString() + " ?",
                         [&a] { return !QFileInfo::exists(a.chemin_vue); }};
       }},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.nom);
    VueLue a;
    a.changer();
    if (c.sauvegarde) ecrire_tout(a.chemin_vue, "");
    Utilisateur u(a.w.get());
    std::string premiere;  // the first box: its text, default button, what Esc and a close left, the answer
    u.devant = [&](QMessageBox& b) {
      std::string r = b.text().toStdString() + (b.defaultButton() == b.button(QMessageBox::Yes) ? " [Yes]" : " [No]");
      QTest::keyClick(&b, Qt::Key_Escape);
      if (b.isVisible()) r += " Esc kept", fermeture_exterieure(b);
      if (b.isVisible()) r += ", close kept", QTest::keyClick(&b, Qt::Key_Return);
      r += b.clickedButton() == b.button(QMessageBox::Yes) ? ": Yes" : ": No";
      if (premiere.empty()) premiere = r;
    };
    const Question q = c.poser(a);
    Programme::vider();
    EXPECT_EQ(premiere, q.texte + (c.sauvegarde ? " [Yes] Esc kept, close kept: Yes" : " [No]: No"));
    EXPECT_EQ(q.effet(), c.sauvegarde);
  }
}


namespace {

// A copy of the sample mountain document, opened, with a line typed at the
// end of its memo; the last key is still held down, so that only the key
// releases before it took the text.
struct MemoTape : Atelier {
  QString chemin;
  TMatricewindow* c = nullptr;

  MemoTape() {
    chemin = dossier.path() + "/vallee.mat";
    EXPECT_TRUE(QFile::copy(QUORVEL_SOURCE_DIR "/tests/data/vallee.mat", chemin));
    dialogues->ouvertures.push_back(chemin.toStdString());
    commande(Commande::ouvrir);
    Programme::vider();
    c = carte(1);
    if (!c) return;
    w->activer(c);
    c->BitBtn1Click();
    QTest::keyClick(c->Memo1, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(c->Memo1, Qt::Key_Return);
    QTest::keyClicks(c->Memo1, "north ridge");
    QTest::keyPress(c->Memo1, Qt::Key_Exclam, Qt::NoModifier);
    ui.entries.clear();
  }
  bool ligne_ecrite() const {
    return lire_tout(chemin).rfind("  [TEXTE]\r\n2\r\nA valley with a river and a forest, grown from key "
                                   "31415.\r\nnorth ridge!\r\n",
                                   0) == 0;
  }
};

}  // namespace

// A memo line typed and at once closed, with no focus change between, is
// asked about and saved on Yes, whichever door ends the program or closes the
// card: File > Exit, the title bar's close box, a close request of the window
// manager, the card's own close box.
TEST(Exit, AMemoLineTypedThenClosedAtOnceIsAskedAbout) {
  const std::pair<const char*, std::function<void(MemoTape&)>> portes[] = {
      {"File > Exit", [](MemoTape& a) { a.w->action(Commande::sortie)->trigger(); }},
      {"close box", [](MemoTape& a) { a.w->legende()->CloseButton()->click(); }},
      {"window manager", [](MemoTape& a) { fermeture_exterieure(*a.w); }},
      {"card's close box", [](MemoTape& a) { a.c->sous_fenetre()->close(); }},
  };
  for (const auto& [porte, fermer] : portes) {
    SCOPED_TRACE(porte);
    MemoTape a;
    ASSERT_NE(a.c, nullptr);
    ASSERT_EQ(a.w->etat.montagnes[1].type.modifie_edition, 0);  // nothing took the card's change yet
    const bool carte = std::string(porte) == "card's close box";
    a.ui.answers = {true};
    fermer(a);
    Programme::vider();
    const std::string question = carte ? "Save the modifications of " + a.chemin.toStdString() + " ?"
                                       : "Before exit, do you want to save modifications on  N\u00b01  " +
                                             a.chemin.toStdString() + " ?";
    ASSERT_EQ(a.ui.entries.size(), 1u);
    EXPECT_EQ(a.ui.entries[0].text, question);
    EXPECT_EQ(a.w->sortie, !carte);
    EXPECT_EQ(a.w->etat.nombre_montagnes, carte ? 0 : 1);
    EXPECT_TRUE(a.ligne_ecrite()) << lire_tout(a.chemin).substr(0, 120);
  }
}

// Only a change of the memo's text changes the document: a line saved with F3
// from the memo (F3's own release reaching the memo) and keys that change
// nothing leave nothing to ask at exit.
TEST(Exit, AMemoSavedWithF3IsNotAskedAboutAgain) {
  MemoTape a;
  ASSERT_NE(a.c, nullptr);
  QTest::keyRelease(a.c->Memo1, Qt::Key_Exclam, Qt::NoModifier);
  // Keys as the window system hands them over: F3 reaches its shortcut, then the memo.
  QApplication::setActiveWindow(a.w.get());
  ASSERT_EQ(QApplication::focusWidget(), a.c->Memo1);
  QTest::keyClick(a.w->windowHandle(), Qt::Key_F3);
  Programme::vider();
  EXPECT_TRUE(a.ligne_ecrite()) << lire_tout(a.chemin).substr(0, 120);
  for (Qt::Key k : {Qt::Key_Left, Qt::Key_Home, Qt::Key_Shift, Qt::Key_F3}) QTest::keyClick(a.w->windowHandle(), k);
  EXPECT_EQ(a.c->Memo1->textCursor().blockNumber(), 1);  // the keys reached the memo
  EXPECT_EQ(a.c->Memo1->textCursor().positionInBlock(), 0);
  a.w->activer(a.c);
  EXPECT_EQ(a.c->modifie, 0);
  EXPECT_EQ(a.w->etat.montagnes[1].type.modifie_edition, 0);
  a.w->action(Commande::sortie)->trigger();
  Programme::vider();
  EXPECT_TRUE(a.ui.entries.empty()) << a.ui.entries[0].text;
  EXPECT_TRUE(a.w->sortie);
}
