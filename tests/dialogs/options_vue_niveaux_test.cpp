// The Levels page of the view options dialog, built from a record and driven
// through its bars and edits.
#include <gtest/gtest.h>

#include "controls/trackbar.h"
#include "dialogs/options_vue_niveaux.h"
#include "tests/dialogs/options_vue_banc.h"
#include "tests/support/rendus.h"

using namespace fenetres;
using test_rendus::controle_rendus;

using namespace dialogs;
using namespace banc_options_vue;

TEST(OptionsVueNiveaux, BarsRoundTripAndThePreviewWaitsForTheThumb) {
  BancPage<PageNiveauxVue> b;
  b.ouvrir();
  b.calculer();
  const char* barres[7] = {"ScrollBar_mer",   "ScrollBar_herbe", "ScrollBar_rocher",     "ScrollBar_recouvre",
                           "ScrollBar_sable", "ScrollBar_neige", "ScrollBar_delta_neige"};
  const char* edits[7] = {"Edit_mer", "Edit_herbe", "Edit_rocher", "Edit_recouvre", "Edit_sable", "Edit_neige",
                          "Edit_delta_neige"};
  const std::int32_t param_vue::*champs[7] = {&param_vue::niveau_mer,        &param_vue::niveau_herbe,
                                              &param_vue::niveau_rocher,     &param_vue::zone_recouvrement,
                                              &param_vue::hauteur_sable,     &param_vue::niveau_neige,
                                              &param_vue::delta_neige};
  const int bases[7] = {0, 1000, 4000, 2000, -800, 3000, 500};
  const int valeurs[7] = {-250, 1500, 1200, 300, -100, 2500, 120};
  for (int k = 0; k < 7; ++k) {
    auto* barre = b.operator()<QScrollBar>(barres[k]);
    controle_rendus().appels.clear();
    glisser(barre, bases[k] - valeurs[k], false);
    QApplication::processEvents();
    EXPECT_EQ(b.rangee().*champs[k], valeurs[k]) << k;
    EXPECT_EQ(b.operator()<QLineEdit>(edits[k])->text(), QString::number(valeurs[k]));
    EXPECT_TRUE(controle_rendus().appels.empty()) << k;  // the thumb moves: no preview
    barre->setSliderDown(false);
    QApplication::processEvents();
    ASSERT_EQ(controle_rendus().appels.size(), 1u) << k;
    const param_vue& v = controle_rendus().appels[0].vue;
    EXPECT_EQ(v.agitation_mer + v.horizon + v.detail_arbres + v.reflet + v.brume + v.ombre_portee + v.strates +
                  v.foret + v.deformation + v.premier_plan + v.photo_aerienne,
              0);
    EXPECT_EQ(controle_rendus().appels[0].largeur, PageNiveauxVue::kLargeurNiveaux);
  }
  // Typed levels are kept as typed.
  auto* mer = b.operator()<QLineEdit>("Edit_mer");
  taper(mer, "-5000");
  EXPECT_EQ(b.rangee().niveau_mer, -5000);
  taper(mer, "x");
  EXPECT_EQ(b.rangee().niveau_mer, -5000);
}

TEST(OptionsVueNiveaux, DiversityAndTheSnowFlagsAreStored) {
  BancPage<PageNiveauxVue> b;
  b.vue.strates = b.vue.neige_soleil = b.vue.neige_arbres = 0;
  b.ouvrir();
  b.operator()<CtlTrackBar>("Trackbar_alea")->SetPosition(7);
  EXPECT_EQ(b.operator()<QLineEdit>("Edit_alea")->text(), "7");
  for (const char* c : {"CheckBox_strates", "CheckBox_neige", "checkbox_arb_neige"}) cliquer(b(c));
  const param_vue v = b.rangee();
  EXPECT_EQ(v.diversite_couleurs, 7);
  EXPECT_EQ(v.strates + v.neige_soleil + v.neige_arbres, 3);
}
