// "View options ..." through the real main window, the dialog answered by a
// scripted run hook: what the dialog is given, and what OK, Cancel and each
// action change.
#include <gtest/gtest.h>

#include <QAction>

#include "app/aide.h"
#include "app/commandes_montagne.h"
#include "app/commandes_options_vue.h"
#include "controls/speedbutton.h"
#include "dialogs/options_vue.h"
#include "tests/app/programme_test_support.h"

using dialogs::EntreesOptionsVue;
using dialogs::SortiesOptionsVue;

namespace {

struct OptionsVue : ::testing::Test {
  Programme p;
  TBasewindow* w = nullptr;
  std::vector<EntreesOptionsVue> recus;
  std::function<int(const EntreesOptionsVue&, SortiesOptionsVue&)> reponse;

  void SetUp() override {
    ASSERT_TRUE(p.demarrer(options_exemple()));
    w = p.w.get();
    w->commandes_options_vue().executer = [this](const EntreesOptionsVue& e, SortiesOptionsVue& s) {
      recus.push_back(e);
      s.page = e.page;
      return reponse ? reponse(e, s) : 2;
    };
  }
  FakeVue* vue_courante() {
    const int m = p.ouvrir("a.mat");
    FakeVue* v = p.vue(m);
    p.activer(v);
    return v;
  }
  // OK with record 0 zoom 37, the current view and an action.
  void repondre_ok(int action, std::uint16_t page = 2) {
    reponse = [action, page](const EntreesOptionsVue& e, SortiesOptionsVue& s) {
      s.vue = e.vue;
      s.vue.zoom = 37;
      s.vue_choisie = e.vue_courante;
      s.montagne = e.montagne_courante;
      s.action = static_cast<std::uint8_t>(action);
      s.page = page;
      return 1;
    };
  }
};

}  // namespace

TEST_F(OptionsVue, F8AndTheAdjustButtonWorkWithNothingOpenAndContextHelpShowsTheTopic) {
  ASSERT_TRUE(w->action(Commande::options_vue)->isEnabled());
  w->action(Commande::options_vue)->trigger();
  ASSERT_EQ(recus.size(), 1u);
  EXPECT_EQ(recus[0].vue_courante, 0);
  EXPECT_EQ(recus[0].montagne_courante, 0);
  EXPECT_TRUE(recus[0].documents.empty());
  EXPECT_EQ(recus[0].page, 1);
  EXPECT_EQ(recus[0].dossier_programme, w->etat.dossier_programme);
  ASSERT_TRUE(w->bouton(Commande::options_vue)->isEnabled());
  emit w->bouton(Commande::options_vue)->clicked();
  EXPECT_EQ(recus.size(), 2u);
  EXPECT_EQ(w->occupe, 0);
  w->aide_contextuelle = 1;
  w->action(Commande::options_vue)->trigger();
  EXPECT_EQ(recus.size(), 2u);
  EXPECT_EQ(w->aide()->CurrentTopic(), 5008);
  for (int sujet : {302, 304, 306, 310, 311, 312}) EXPECT_EQ(help_topics().count(sujet), 1u) << sujet;
}

TEST_F(OptionsVue, TheDialogIsGivenTheViewsTheirMountainsAndTerrains) {
  FakeVue* v = vue_courante();
  v->largeur_image = 321;
  const int m = w->etat.montagne_courante;
  w->action(Commande::options_vue)->trigger();
  ASSERT_EQ(recus.size(), 1u);
  const EntreesOptionsVue& e = recus[0];
  EXPECT_EQ(e.vue_courante, v->no_vue);
  ASSERT_EQ(e.documents.size(), 1u);
  EXPECT_EQ(e.documents[0].numero, v->no_vue);
  EXPECT_EQ(e.documents[0].montagne, m);
  EXPECT_EQ(e.documents[0].largeur_image, 321);
  ASSERT_TRUE(e.montagnes[std::size_t(m)]);
  EXPECT_EQ(e.terrains[std::size_t(m)], w->etat.montagnes[m].terrain.get());
  EXPECT_EQ(e.montagnes[std::size_t(m)]->echantillons, echantillonner_36(*w->etat.montagnes[m].terrain));
}

TEST_F(OptionsVue, OkWithRedrawRendersTheViewOnceAfterTheDeferredTimerAndThePageIsKept) {
  FakeVue* v = vue_courante();
  repondre_ok(1, 4);
  w->action(Commande::options_vue)->trigger();
  EXPECT_EQ(w->etat.vue.zoom, 37);
  EXPECT_EQ(v->parametres.zoom, 37);
  EXPECT_TRUE(w->commandes_montagne().copie_reglages);
  EXPECT_EQ(w->rafraichir_demande, 1);
  EXPECT_TRUE(w->timerthread().isActive());
  EXPECT_EQ(w->occupe, 1);
  EXPECT_EQ(v->rendus, 0);
  w->TimerthreadTimer();
  EXPECT_EQ(v->rendus, 1);
  EXPECT_EQ(w->occupe, 0);
  reponse = {};
  w->action(Commande::options_vue)->trigger();
  EXPECT_EQ(recus.back().page, 4);
}

TEST_F(OptionsVue, AddRaisesTheNewViewRequestAndLeavesTheViewsRecord) {
  FakeVue* v = vue_courante();
  const int zoom = v->parametres.zoom;
  repondre_ok(2);
  w->action(Commande::options_vue)->trigger();
  EXPECT_EQ(w->nouveau_demande, 1);
  EXPECT_EQ(w->etat.vue.zoom, 37);
  EXPECT_EQ(v->parametres.zoom, zoom);
}

TEST_F(OptionsVue, LaterRendersNothingAndCancelChangesNothing) {
  FakeVue* v = vue_courante();
  const param_vue avant = w->etat.vue;
  reponse = [](const EntreesOptionsVue& e, SortiesOptionsVue& s) {
    s.vue = e.vue;
    s.vue.zoom = 61;
    s.action = 1;
    s.page = 3;
    return 2;
  };
  w->action(Commande::options_vue)->trigger();
  EXPECT_EQ(w->etat.vue.zoom, avant.zoom);
  EXPECT_NE(v->parametres.zoom, 61);
  EXPECT_EQ(w->rafraichir_demande, 0);
  EXPECT_EQ(w->commandes_options_vue().page_options, 3);
  repondre_ok(0);
  w->action(Commande::options_vue)->trigger();
  EXPECT_EQ(v->parametres.zoom, 37);
  EXPECT_EQ(w->rafraichir_demande, 0);
  w->TimerthreadTimer();
  EXPECT_EQ(v->rendus, 0);
}

TEST_F(OptionsVue, WithoutACurrentMountainTheActionBecomesLater) {
  repondre_ok(2);
  w->action(Commande::options_vue)->trigger();
  EXPECT_EQ(w->nouveau_demande, 0);
  EXPECT_EQ(w->etat.vue.zoom, 37);
}
