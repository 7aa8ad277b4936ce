// Closing documents while a modal window is up: the main window's deferred
// work waits for it, and the commands that go on after a modal window find
// their documents again, or say that they cannot.
#include <gtest/gtest.h>

#include <QDialog>

#include "app/commandes_options.h"
#include "app/commandes_options_vue.h"
#include "app/commandes_video.h"
#include "dialogs/creation.h"
#include "dialogs/options_vue.h"
#include "dialogs/raffinage.h"
#include "fenetres/fenetre_modale.h"
#include "tests/app/atelier.h"
#include "video/dialogue_reglages.h"

namespace {

// A modal window of the program, up for the object's lifetime.
struct Modale {
  QDialog d;
  explicit Modale(QWidget* parent) : d(parent) {
    d.setWindowModality(Qt::ApplicationModal);
    d.show();
  }
};

// The user's sequence: a view document opened, a new mountain and its view,
// the document's view clicked, "Close all the mountains", the remaining card
// clicked, then F3 at once.
void sauver_pendant_la_fermeture() {
  Atelier a;
  test_rendus::controle_rendus().couleur_factice = render::pixel_rgb(10, 20, 30);
  const QString vallee = a.dossier.path() + "/vallee.vue";
  ASSERT_TRUE(QFile::copy(QUORVEL_SOURCE_DIR "/tests/data/vallee.vue", vallee));
  ASSERT_TRUE(QFile::copy(QUORVEL_SOURCE_DIR "/tests/data/vallee.mat", a.dossier.path() + "/vallee.mat"));
  a.dialogues->ouvertures.push_back(vallee.toStdString());
  a.commande(Commande::ouvrir);
  a.commande(Commande::nouvelle_montagne);
  a.commande(Commande::voir);
  a.attendre_image(a.vue(2));
  a.w->activer(a.vue(1));
  a.commande(Commande::fermer_montagnes);
  ASSERT_TRUE(a.w->timer_delete().isActive());
  ASSERT_EQ(a.w->etat.nombre_montagnes, 1);
  // Which window the closing leaves active depends on how fast the desktop
  // hands the activation on; the user clicks the remaining card, so that F3
  // saves a mountain alone.
  ASSERT_TRUE(a.w->etat.montagnes[2].type.utilise);
  a.w->activer(a.carte(2));
  ASSERT_EQ(a.w->etat.montagne_courante, 2);
  ASSERT_EQ(a.w->etat.vue_courante, 0);
  const QString nouvelle = a.dossier.path() + "/nouvelle.mat";
  a.dialogues->sauvegardes.push_back(nouvelle.toStdString());
  int sous_le_dialogue = -1;
  a.dialogues->pendant_sauvegarde = [&] {
    Modale m(a.w.get());
    for (int tic = 0; tic < 3; ++tic) a.w->Timer_deleteTimer();
    sous_le_dialogue = a.w->etat.nombre_montagnes;
  };
  const std::size_t messages = a.ui.entries.size();
  a.commande(Commande::enregistrer);
  EXPECT_EQ(sous_le_dialogue, 1);
  EXPECT_NE(lire_tout(nouvelle).find("[PARAMETRES MATRICE]"), std::string::npos);
  EXPECT_EQ(a.ui.entries.size(), messages);
  // The program's own mark stands for a dialog the toolkit does not know as modal.
  {
    FenetreModale native;
    a.w->Timer_deleteTimer();
    EXPECT_EQ(a.w->etat.nombre_montagnes, 1);
  }
  a.w->Timer_deleteTimer();
  EXPECT_EQ(a.w->etat.nombre_montagnes, 0);
  EXPECT_FALSE(a.w->timer_delete().isActive());
}

// A refresh asked for runs once no modal window is up.
void rafraichir_apres_la_modale() {
  Atelier a;
  TVuewindow* v = a.vue_active();
  const int rendus = test_rendus::controle_rendus().rendus;
  a.w->demander_rafraichissement();
  {
    Modale m(a.w.get());
    a.w->TimerthreadTimer();
    EXPECT_TRUE(a.w->timerthread().isActive());
    EXPECT_EQ(a.w->rafraichir_demande, 1);
    EXPECT_TRUE(v->image_existe());
  }
  a.w->TimerthreadTimer();
  a.attendre_image(v);
  EXPECT_EQ(a.w->rafraichir_demande, 0);
  EXPECT_GT(test_rendus::controle_rendus().rendus, rendus);
}

// Mountain k closed as its card's close box does.
void fermer(Atelier& a, int k) {
  a.w->etat.montagne_courante = k;
  a.w->Fermer_montagne_active();
}

// A save whose mountain went while its dialog or question was up writes
// nothing, even when another mountain took the slot meanwhile.
void sauver_un_document_parti() {
  Atelier a;
  a.commande(Commande::nouvelle_montagne);
  const QString chemin = a.dossier.path() + "/partie.mat";
  a.dialogues->sauvegardes.push_back(chemin.toStdString());
  a.dialogues->pendant_sauvegarde = [&] {
    fermer(a, 1);
    a.commande(Commande::nouvelle_montagne);
  };
  a.commande(Commande::enregistrer);
  EXPECT_FALSE(QFile::exists(chemin));
  EXPECT_EQ(a.w->etat.montagnes[1].type.a_fichier, 0);
  EXPECT_EQ(a.w->etat.montagnes[1].type.nom.str(), "New #  1");
  ASSERT_EQ(a.ui.entries.size(), 1u);
  EXPECT_NE(a.ui.entries[0].text.find("nothing was written"), std::string::npos) << a.ui.entries[0].text;
  // With a file: the mountain closes while "&Save" asks whether to save it as a mountain.
  a.dialogues->pendant_sauvegarde = nullptr;
  a.dialogues->sauvegardes.push_back((a.dossier.path() + "/vue.vue").toStdString());
  a.commande(Commande::voir);
  a.commande(Commande::enregistrer);
  a.commande(Commande::fermer_vue);
  const std::string avant = lire_tout(a.dossier.path() + "/vue.vue");
  a.ui.answers.push_back(true);
  bool fermee = false;
  a.ui.pendant_question = [&] {
    if (!std::exchange(fermee, true)) fermer(a, 1);
  };
  a.commande(Commande::enregistrer);
  EXPECT_TRUE(fermee);
  EXPECT_EQ(lire_tout(a.dossier.path() + "/vue.vue"), avant);
  EXPECT_FALSE(QFile::exists(a.dossier.path() + "/vue.mat"));
  EXPECT_NE(a.ui.entries.back().text.find("nothing was written"), std::string::npos) << a.ui.entries.back().text;
}

// The option dialogs: a mountain or view closed, or replaced, while the
// dialog is up takes nothing from it.
void options_sur_des_documents_partis() {
  Atelier a;
  a.commande(Commande::nouvelle_montagne);
  a.commande(Commande::nouvelle_montagne);
  auto& e = a.w->etat;
  auto& options = a.w->commandes_options();
  // Combination: the partner goes, then the mountain itself.
  for (int partie : {2, 1}) {
    a.w->activer(a.carte(1));
    a.w->UpdateItems();
    const std::int32_t h = e.montagnes[1].terrain->hauteurs->lire(5, 5);
    e.montagnes[1].type.modifie_edition = 0;
    options.executer_dialogue = [&](QDialog& d) {
      dynamic_cast<Tform3&>(d).montagne_2 = 2;
      fermer(a, partie);
      a.commande(Commande::nouvelle_montagne);  // takes the slot again
      return 1;
    };
    a.commande(Commande::combiner);
    EXPECT_EQ(e.montagnes[1].terrain->hauteurs->lire(5, 5), h) << partie;
    EXPECT_EQ(e.montagnes[1].type.modifie_edition, 0) << partie;
  }
  // Creation options: the chosen mountain's slot taken by another.
  options.executer_dialogue = [&](QDialog& d) {
    auto& c = dynamic_cast<TPagesdlg1&>(d);
    a.w->occupe = 0;  // as a closing that did not wait would find it
    fermer(a, 1);
    a.commande(Commande::nouvelle_montagne);
    c.montagne = 1;
    c.mode = 3;
    for (int k = 1; k <= c.nombre_montagnes; ++k) c.entrees[k].type.parametres.texte[0] = "from the dialog";
    return 1;
  };
  a.commande(Commande::options_creation);
  EXPECT_EQ(e.montagnes[1].type.parametres.texte[0], "");
  EXPECT_EQ(e.montagnes[1].type.modifie_edition, 0);
  // View options: the view chosen in the dialog went.
  a.vue_active();
  a.w->commandes_options_vue().executer = [&](const dialogs::EntreesOptionsVue& in, dialogs::SortiesOptionsVue& s) {
    s.vue = in.vue;
    s.vue.zoom = 37;
    s.vue_choisie = in.vue_courante;
    s.action = 1;
    a.commande(Commande::fermer_vue);
    return 1;
  };
  a.commande(Commande::options_vue);
  EXPECT_NE(e.vue.zoom, 37);
  EXPECT_NE(a.ui.entries.back().text.find("the options were not applied"), std::string::npos);
  EXPECT_EQ(a.w->rafraichir_demande, 0);
}

// The video settings dialog: OK with 77 frames, after `pendant`.
struct ReglagesVideoOk : DialogueReglagesVideo {
  std::function<void()> pendant;
  explicit ReglagesVideoOk(std::function<void()> f) : pendant(std::move(f)) {}
  int executer(const EntreesReglagesVideo& in, SortiesReglagesVideo& out) override {
    pendant();
    out = {in.video, in.numero_courant, 0};
    out.video.nombre_images = 77;
    return 1;
  }
};

}  // namespace

// Under each window after which a command goes on with a document, the
// document is closed and another takes its slot: what was chosen under the
// window reaches neither, and a Yes or an OK that came to nothing is explained.
TEST(ClosingUnderAModalWindow, NothingChosenUnderTheWindowReachesAnotherDocument) {
  struct Ligne {
    const char* fenetre;
    std::function<void(Atelier&)> lancer;  // the command, whose window closes the document
    std::function<bool(Atelier&)> atteint;
    const char* message;  // the end of the last one shown
  };
  auto autre_vue = [](Atelier& a) {
    a.commande(Commande::fermer_vue);
    a.commande(Commande::voir);
    a.attendre_image(a.vue(1));
  };
  auto fichier = [](Atelier& a, const char* nom) { return lire_tout(a.dossier.path() + "/" + nom); };
  const Ligne lignes[] = {
      {"refinement options",
       [](Atelier& a) {
         a.commande(Commande::nouvelle_montagne);
         a.w->commandes_options().executer_dialogue = [&a](QDialog& d) {
           dynamic_cast<TRaffinageDlg&>(d).mode = 1;
           dynamic_cast<TRaffinageDlg&>(d).parametres.texte[0] = "chosen";
           fermer(a, 1);
           a.commande(Commande::nouvelle_montagne);
           return 1;
         };
         a.commande(Commande::options_raffinage);
       },
       [](Atelier& a) {
         const emplacement_montagne& s = a.w->etat.montagnes[1];
         return s.type.parametres.texte[0] == "chosen" || s.terrain->degre != 4;
       },
       ""},
      {"video settings",
       [=](Atelier& a) {
         a.vue_active();
         a.w->commandes_video().creer_dialogue_video = [&a, autre_vue] {
           return std::make_unique<ReglagesVideoOk>([&a, autre_vue] { autre_vue(a); });
         };
         a.commande(Commande::reglages_video);
       },
       [](Atelier& a) { return a.w->etat.video.nombre_images == 77; }, "the settings were not applied."},
      {"the picture's question",
       [=](Atelier& a) {
         a.vue_active();
         a.dialogues->sauvegardes.push_back((a.dossier.path() + "/p.vue").toStdString());
         a.commande(Commande::enregistrer);
         ecrire_tout(a.dossier.path() + "/p.bmp", "not a picture");
         a.ui.answers = {true};
         a.ui.pendant_question = [&a, autre_vue] { autre_vue(a); };
         a.commande(Commande::enregistrer);
       },
       [=](Atelier& a) { return fichier(a, "p.bmp") != "not a picture"; },
       "/p.bmp could not be written: its view was closed meanwhile."},
      {"the movie's question",
       [](Atelier& a) {
         const QString vid = a.dossier.path() + "/tour.vid";
         ASSERT_TRUE(QFile::copy(QUORVEL_SOURCE_DIR "/tests/data/tour.vid", vid));
         a.dialogues->ouvertures.push_back(vid.toStdString());
         a.commande(Commande::ouvrir);  // makes the movie
         ecrire_tout(a.dossier.path() + "/tour.avi", "not a movie");
         a.ui.answers = {true};
         a.ui.pendant_question = [&a] { a.w->etat.prendre_video(1, 1, 1); };  // as a new video there would
         a.commande(Commande::enregistrer);
       },
       [=](Atelier& a) { return fichier(a, "tour.avi") != "not a movie"; },
       "/tour.avi could not be written: its video was closed meanwhile."}};
  for (const Ligne& l : lignes) {
    SCOPED_TRACE(l.fenetre);
    Atelier a;
    l.lancer(a);
    EXPECT_FALSE(l.atteint(a));
    const std::string dernier = a.ui.entries.empty() ? "" : a.ui.entries.back().text;
    EXPECT_TRUE(dernier.ends_with(l.message)) << dernier;
  }
}

// "Close all the mountains" closes one mountain a tick: the tick waits while
// a modal window is up, so that F3 pressed at once saves the new mountain and
// the closing goes on afterwards; a save, a combination, the creation and
// view options whose document went all the same while their window was up
// act on nothing else, and say so.
TEST(ClosingUnderAModalWindow, WaitsAndCommandsFindTheirDocumentsAgain) {
  {
    SCOPED_TRACE("F3 during Close all the mountains");
    sauver_pendant_la_fermeture();
  }
  {
    SCOPED_TRACE("deferred refresh");
    rafraichir_apres_la_modale();
  }
  {
    SCOPED_TRACE("save of a document gone");
    sauver_un_document_parti();
  }
  {
    SCOPED_TRACE("option dialogs");
    options_sur_des_documents_partis();
  }
}
