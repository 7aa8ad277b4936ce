// The Videos menu through the real main window, with a fake video window and
// a fake settings dialog.
#include <gtest/gtest.h>

#include <QAction>

#include "app/commandes_video.h"
#include "model/echantillons.h"
#include "tests/app/programme_test_support.h"

namespace {

struct Videos : ::testing::Test {
  Programme p;
  TBasewindow* w = nullptr;
  std::vector<FakeVideo*> faites;
  std::function<int(const EntreesReglagesVideo&, SortiesReglagesVideo&)> reponse;

  void SetUp() override {
    ASSERT_TRUE(p.demarrer(options_exemple()));
    w = p.w.get();
    w->commandes_video().creer_fenetre_video = [this] {
      faites.push_back(new FakeVideo);
      return faites.back();
    };
    w->commandes_video().creer_dialogue_video = [this] {
      auto d = std::make_unique<FakeDialogueVideo>();
      d->reponse = reponse;
      return d;
    };
  }
  // A mountain with one view, the view current.
  FakeVue* vue_courante(const QString& nom = "a.mat") {
    const int m = p.ouvrir(nom);
    FakeVue* v = p.vue(m);
    p.activer(v);
    return v;
  }
  static std::vector<enregistrement_camera> chemin(double base, int n) {
    std::vector<enregistrement_camera> t(std::size_t(n) + 1);
    for (int k = 1; k <= n; ++k) t[std::size_t(k)] = {base + k, base - k, 10, 0.3, 0.4, base};
    return t;
  }
};

TEST(VideosSansFenetres, ItemsStayDisabledWhileNoVideoWindowCanBeMade) {
  Programme p;
  ASSERT_TRUE(p.demarrer(options_exemple()));
  p.w->commandes_video().creer_fenetre_video = {};
  p.w->commandes_video().creer_dialogue_video = {};
  const int m = p.ouvrir("a.mat");
  FakeVue* v = p.vue(m);
  p.activer(v);
  p.w->tableau_cameras = std::make_unique<std::vector<enregistrement_camera>>(201);
  p.w->UpdateItems();
  for (Commande c : {Commande::creer_video, Commande::dupliquer_video, Commande::rafraichir_video,
                    Commande::parametres_detailles, Commande::informations_video, Commande::fermer_video,
                    Commande::fermer_videos, Commande::enregistrer_film, Commande::reglages_video})
    EXPECT_FALSE(p.w->action(c)->isEnabled()) << definition(c).caption;
  p.w->commandes_video().creer_dialogue_video = [] { return std::make_unique<FakeDialogueVideo>(); };
  p.w->UpdateItems();
  EXPECT_TRUE(p.w->action(Commande::reglages_video)->isEnabled());
  EXPECT_FALSE(p.w->action(Commande::creer_video)->isEnabled());
}

TEST_F(Videos, NewVideoCaptionSlotNodeAndOwnRecords) {
  FakeVue* v = vue_courante();
  w->etat.video.nombre_images = 200;
  w->tableau_cameras = std::make_unique<std::vector<enregistrement_camera>>(chemin(100, 9999));
  w->UpdateItems();
  ASSERT_TRUE(w->action(Commande::creer_video)->isEnabled());
  w->action(Commande::creer_video)->trigger();
  ASSERT_EQ(faites.size(), 1u);
  FakeVideo* a = faites[0];
  EXPECT_EQ(a->no_video, 1);
  EXPECT_EQ(a->windowTitle(), "Video #  1 :  a.mat");
  EXPECT_EQ(w->noeuds_videos[1]->parent(), w->noeuds_vues[v->no_vue]);
  EXPECT_EQ(a->inits, 1);
  EXPECT_TRUE(a->film_init.empty());
  ASSERT_EQ(a->cameras.size(), 201u);
  EXPECT_EQ(a->cameras[200].observateur_x, 300.0);
  // The dialog computes path B for the view: video A keeps its own records,
  // and its document is written with them.
  p.activer(v);
  (*w->tableau_cameras)[5].observateur_x = -1;
  EXPECT_EQ(w->cameras(1)->at(5).observateur_x, 105.0);
  EXPECT_EQ(w->cameras(1), &a->cameras);
}

TEST_F(Videos, TenVideosRefuseAnotherWithAWarning) {
  vue_courante();
  w->tableau_cameras = std::make_unique<std::vector<enregistrement_camera>>(201);
  for (int k = 0; k < 10; ++k) {
    p.activer(w->fenetres_vues[1]);
    w->commandes_video().creer_video();
  }
  ASSERT_EQ(w->etat.nombre_videos, 10);
  p.activer(w->fenetres_vues[1]);
  p.ui.entries.clear();
  w->commandes_video().creer_video();
  EXPECT_EQ(w->etat.nombre_videos, 10);
  EXPECT_EQ(faites.size(), 10u);
  ASSERT_EQ(p.ui.entries.size(), 1u);
  EXPECT_EQ(p.ui.entries[0].text, "Maximum video number reach, close at least one");
  EXPECT_EQ(p.ui.entries[0].caption, "File");
}

TEST_F(Videos, DuplicateCopiesTheMovieBeforeTheWindowStarts) {
  vue_courante();
  w->tableau_cameras = std::make_unique<std::vector<enregistrement_camera>>(chemin(7, 300));
  w->etat.video.nombre_images = 300;
  w->commandes_video().creer_video();
  p.activer(w->fenetres_vues[1]);
  w->commandes_video().creer_video();
  ASSERT_EQ(faites.size(), 2u);
  // Video 2 has a movie; duplicating it lands in free slot 3.
  const std::string film = p.chemin("film2.avi").toStdString();
  ASSERT_TRUE(ecrire_fichier(film, std::string("RIFF movie bytes\0\x01", 18)).empty());
  faites[1]->fichier_film = film;
  faites[1]->cameras[3].cible_z = 42;
  p.activer(faites[1]);
  ASSERT_EQ(w->etat.video_courante, 2);
  w->action(Commande::dupliquer_video)->trigger();
  ASSERT_EQ(faites.size(), 3u);
  FakeVideo* copie = faites[2];
  EXPECT_EQ(copie->no_video, 3);
  const std::string attendu = w->etat.dossier_travail() + "/video3.avi";
  EXPECT_EQ(copie->film_init, attendu);
  EXPECT_TRUE(copie->film_present_a_l_init);
  EXPECT_EQ(lire_fichier(attendu), lire_fichier(film));
  EXPECT_EQ(copie->cameras[3].cible_z, 42.0);
  // A source without a movie: nothing is copied and the new window makes its own.
  p.activer(faites[0]);
  w->action(Commande::dupliquer_video)->trigger();
  ASSERT_EQ(faites.size(), 4u);
  EXPECT_TRUE(faites[3]->film_init.empty());
  EXPECT_EQ(faites[3]->a_fichier, 0);
  EXPECT_FALSE(fichier_existe(w->etat.dossier_travail() + "/video4.avi"));
}

TEST_F(Videos, AnOpenedVideoDocumentKeepsItsRecordsAndLines) {
  vue_courante();
  w->etat.video.nombre_images = 200;
  std::vector<enregistrement_camera> lues = chemin(50, 6);
  informations_video lignes{};
  lignes[0] = "File Name = film.avi";
  const int n = w->creer_video("", &lues, lignes);
  ASSERT_EQ(n, 1);
  FakeVideo* f = faites[0];
  ASSERT_EQ(f->cameras.size(), 201u);
  EXPECT_EQ(f->cameras[6].observateur_x, 56.0);
  EXPECT_EQ(f->cameras[7].observateur_x, 0.0);
  EXPECT_EQ(f->cameras[200].cible_z, 0.0);
  EXPECT_EQ(f->informations[0], "File Name = film.avi");
  EXPECT_EQ(f->a_fichier, 0);
  ASSERT_TRUE(w->tableau_cameras);
  EXPECT_EQ(w->tableau_cameras->at(6).observateur_x, 56.0);
  // "Informatons" shows the window's box only when it has lines.
  p.activer(f);
  w->action(Commande::informations_video)->trigger();
  EXPECT_EQ(f->informations_montrees, 1);
}

TEST_F(Videos, SettingsDialogGetsSamplesAndRedoRegeneratesFromItsPath) {
  for (const char* nom : {"a.mat", "b.mat", "c.mat", "d.mat"}) p.ouvrir(nom);
  const int m5 = p.ouvrir("e.mat");
  ASSERT_EQ(m5, 5);
  FakeVue* v = p.vue(m5);
  p.activer(v);
  w->etat.video.nombre_images = 200;
  w->tableau_cameras = std::make_unique<std::vector<enregistrement_camera>>(chemin(1, 200));
  w->commandes_video().creer_video();
  ASSERT_EQ(faites.size(), 1u);
  p.activer(faites[0]);
  reponse = [](const EntreesReglagesVideo& in, SortiesReglagesVideo& out) {
    for (int k = 1; k <= 200; ++k) (*in.cameras)[std::size_t(k)] = {-double(k), 0, 0, 0, 0, 0};
    out.video = in.video;
    out.video.rayon_cercle = 77;
    out.numero_choisi = in.numero_courant;
    out.action = 1;
    return 1;
  };
  w->action(Commande::reglages_video)->trigger();
  EXPECT_EQ(w->etat.video.rayon_cercle, 77);
  EXPECT_EQ(faites[0]->parametres.rayon_cercle, 77);
  EXPECT_EQ(w->rafraichir_demande, 1);
  ASSERT_TRUE(w->timerthread1().isActive());
  w->TimerThread1Timer();
  ASSERT_EQ(faites[0]->regenerations, 1);
  EXPECT_EQ(faites[0]->cameras_regenerees[200].observateur_x, -200.0);
  EXPECT_EQ(w->rafraichir_demande, 0);
  // Redo again, and the video closed before the timer comes due: it goes at
  // once, and the timer makes no other video in its place.
  p.activer(v);
  w->commandes_video().creer_video();
  p.activer(faites[0]);
  w->action(Commande::reglages_video)->trigger();
  w->action(Commande::fermer_video)->trigger();
  EXPECT_EQ(w->etat.nombre_videos, 1);
  w->TimerThread1Timer();
  EXPECT_EQ(faites[1]->regenerations, 0);
}

TEST_F(Videos, SettingsDialogInputs) {
  for (const char* nom : {"a.mat", "b.mat", "c.mat", "d.mat"}) p.ouvrir(nom);
  FakeVue* v = p.vue(p.ouvrir("e.mat"));
  p.activer(v);
  EntreesReglagesVideo recu;
  reponse = [&recu](const EntreesReglagesVideo& in, SortiesReglagesVideo&) {
    recu = in;
    return 2;
  };
  const Param_video avant = w->etat.video;
  w->action(Commande::reglages_video)->trigger();
  EXPECT_EQ(recu.liste_videos, 0);
  EXPECT_EQ(recu.numero_courant, v->no_vue);
  EXPECT_EQ(recu.montagne_courante, 5);
  ASSERT_EQ(recu.documents.size(), 1u);
  EXPECT_EQ(recu.documents[0].montagne, 5);
  EXPECT_EQ(recu.documents[0].vue, v->no_vue);
  ASSERT_TRUE(recu.echantillons[5]);
  EXPECT_EQ(*recu.echantillons[5], echantillonner_36(*w->etat.montagnes[5].terrain));
  EXPECT_FALSE(recu.echantillons[1]);
  EXPECT_EQ(recu.terrains[5], w->etat.montagnes[5].terrain.get());
  ASSERT_TRUE(recu.cameras);
  EXPECT_EQ(recu.cameras->size(), 10000u);
  // Cancel changes nothing.
  EXPECT_EQ(w->etat.video.rayon_cercle, avant.rayon_cercle);
  EXPECT_FALSE(w->timerthread1().isActive());
  EXPECT_EQ(w->occupe, 0);
}

}  // namespace
