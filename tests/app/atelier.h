// A started main window with the real card, view window and Mountain and View
// commands, on small generated terrains with a fixed key.
#pragma once

#include <QAction>
#include <QElapsedTimer>

#include "app/carte.h"
#include "app/commandes_montagne.h"
#include "app/vue.h"
#include "fenetres/rendu.h"
#include "tests/support/rendus.h"
#include "tests/app/programme_test_support.h"

struct Atelier {
  QTemporaryDir dossier;
  ScopedFakeUserInterface ui;
  TData data;
  std::unique_ptr<TBasewindow> w;
  FakeDialoguesDocuments* dialogues = nullptr;

  explicit Atelier(int degre = 4) {
    ecrire_tout(dossier.path() + "/montagne.ini", options_exemple());
    w = std::make_unique<TBasewindow>(&data);
    auto d = std::make_unique<FakeDialoguesDocuments>();
    dialogues = d.get();
    w->utiliser_dialogues(std::move(d));
    ReglagesDemarrage r;
    r.executable = dossier.path() + "/quorvel";
    r.inscriptible = [](const QString&) { return true; };
    EXPECT_TRUE(w->FormCreate(r));
    w->show();
    w->etat.parametres.maillage = degre;
    w->etat.parametres.cle = 4242;
    w->etat.parametres.alea = 0;
    w->etat.vue.dim_predef = 0;
    w->etat.vue.taille = 10;
    test_rendus::controle_rendus().effacer();
    image_transmise().reset();
  }
  ~Atelier() {
    test_rendus::controle_rendus().effacer();
    image_transmise().reset();
  }
  void commande(Commande c) {
    QAction* a = w->action(c);
    ASSERT_NE(a, nullptr) << definition(c).caption;
    ASSERT_TRUE(a->isEnabled()) << definition(c).caption;
    a->trigger();
  }
  TMatricewindow* carte(int m) { return dynamic_cast<TMatricewindow*>(w->cartes[m].data()); }
  TVuewindow* vue(int v) { return w->commandes_montagne().vue(v); }
  // Lets the event loop run until the view has a picture (or a second passes).
  void attendre_image(TVuewindow* v) {
    QElapsedTimer t;
    t.start();
    while (v && !v->image_existe() && t.elapsed() < 20000) QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  // A new mountain seen in view 1, which has its picture and is the active window.
  TVuewindow* vue_active() {
    commande(Commande::nouvelle_montagne);
    commande(Commande::voir);
    attendre_image(vue(1));
    w->activer(vue(1));
    return vue(1);
  }
  void demande_carte(int m, std::uint16_t code) {
    w->activer(carte(m));
    carte(m)->code_commande = code;
    carte(m)->requete_fenetre();
    Programme::vider();
  }
};
