// The Scale page of the view options dialog, built from a record and driven
// through its controls.
#include <gtest/gtest.h>

#include <QLabel>
#include <QRadioButton>

#include "dialogs/options_vue_boites.h"
#include "dialogs/options_vue_echelle.h"
#include "fenetres/fenetres.h"
#include "tests/dialogs/options_vue_banc.h"

using namespace dialogs;
using namespace banc_options_vue;

TEST(OptionsVueEchelle, RadiosSpecificSizesAndEdits) {
  BancPage<PageEchelleVue> b;
  b.vue.dim_predef = 1;
  b.vue.echelle_fixe = 1;
  b.vue.premier_plan = 1;
  b.vue.largeur_image = 700;
  b.vue.hauteur_image = 500;
  b.ouvrir();
  EXPECT_TRUE(b.operator()<CtlCheckBox>("CheckBox_spex")->Checked());
  auto* x = b.operator()<QLineEdit>("Edit_Xmax");
  auto* y = b.operator()<QLineEdit>("Edit_Ymax");
  EXPECT_TRUE(x->isEnabled());
  EXPECT_TRUE(y->isEnabled());
  EXPECT_FALSE(b("RadioButton_320x")->isEnabled());
  // Typed sizes are bounded to the picture limits, and the edit shows the size taken.
  taper(x, "0");
  EXPECT_EQ(b.rangee().largeur_image, kTailleImageMin);
  EXPECT_EQ(x->text(), QString::number(kTailleImageMin));
  taper(x, "1280");
  EXPECT_EQ(b.rangee().largeur_image, 1280);
  EXPECT_EQ(x->text(), "1280");
  taper(y, "9999");
  EXPECT_EQ(b.rangee().hauteur_image, kTailleImageMax);
  EXPECT_EQ(y->text(), QString::number(kTailleImageMax));
  taper(y, "0");
  EXPECT_EQ(b.rangee().hauteur_image, kTailleImageMin);
  taper(y, "abc");  // unreadable: the default side
  EXPECT_EQ(b.rangee().hauteur_image, 240);
  taper(y, "600");
  EXPECT_EQ(b.rangee().hauteur_image, 600);
  cliquer(b("CheckBox_spex"));
  auto* grande = b.operator()<QRadioButton>("RadioButton_1024x");
  EXPECT_TRUE(grande->isEnabled());
  EXPECT_EQ(grande->text(), "1024 x 760");
  cliquer(grande);
  EXPECT_EQ(b.rangee().largeur_image, 1024);
  EXPECT_EQ(b.rangee().hauteur_image, 768);
  cliquer(b("RadioButton_320x"));
  EXPECT_EQ(b.rangee().largeur_image, 320);
  EXPECT_EQ(b.rangee().hauteur_image, 240);
  taper(b.operator()<QLineEdit>("Edit_profondeur"), "abc");
  EXPECT_EQ(b.rangee().profondeur_details, 1);
  taper(b.operator()<QLineEdit>("Edit_rugosite"), "20");
  EXPECT_EQ(b.rangee().rugosite, 10);
  taper(b.operator()<QLineEdit>("Edit_profondeur"), "0");
  EXPECT_EQ(b.rangee().profondeur_details, 1);
}

TEST(OptionsVueEchelle, ScaleLabelBoxAndPredefinedRules) {
  BancPage<PageEchelleVue> b;
  b.vue.echelle_fixe = 1;
  b.vue.dim_predef = 0;
  b.vue.taille = 15;
  PageEchelleVue& p = b.ouvrir();
  EXPECT_EQ(b.operator()<QLabel>("Label_taille")->text(), "1:1.5");
  EXPECT_EQ(b.operator()<BoiteEchelle>("Image_echelle")->rectangle(), (Rectangle{2, 2, 85, 64}));
  EXPECT_TRUE(b("ScrollBar_taille")->isEnabled());
  // Without a fixed scale there is no predefined size.
  param_vue v = b.rangee();
  v.echelle_fixe = 0;
  v.dim_predef = 1;
  p.charger(v);
  p.ranger(v);
  EXPECT_EQ(v.dim_predef, 0);
  EXPECT_FALSE(b("Checkbox_predef")->isEnabled());
  // A predefined size fixes the scale at 1:1.
  v.echelle_fixe = 1;
  v.dim_predef = 1;
  v.taille = 25;
  p.charger(v);
  p.ranger(v);
  EXPECT_EQ(v.taille, 10);
  EXPECT_FALSE(b("ScrollBar_taille")->isEnabled());
  // Unticking the fixed scale resets the scale.
  v.dim_predef = 0;
  v.taille = 22;
  p.charger(v);
  cliquer(b("CheckBox_scroll"));
  EXPECT_EQ(b.rangee().echelle_fixe, 0);
  EXPECT_EQ(b.rangee().taille, 10);
}

TEST(OptionsVueEchelle, ZeroScaleOpensAndTheMaskControlsWrite) {
  BancPage<PageEchelleVue> b;
  b.vue.taille = 0;
  b.vue.photo_aerienne = 1;
  b.contexte.photo_terrain = true;
  b.ouvrir();
  EXPECT_EQ(b.operator()<BoiteEchelle>("Image_echelle")->rectangle(), (Rectangle{2, 2, 128, 96}));
  EXPECT_TRUE(b("Edit_R")->isEnabled());
  taper(b.operator()<QLineEdit>("Edit_V"), "12");
  taper(b.operator()<QLineEdit>("Edit_tolerance"), "x");
  taper(b.operator()<QLineEdit>("Edit_R"), "300");
  EXPECT_EQ(b.rangee().masque_rvb[0], 255);
  EXPECT_EQ(b.rangee().masque_rvb[1], 12);
  EXPECT_EQ(b.rangee().tolerance_masque, 10);
}

TEST(OptionsVueEchelle, MaskControlsFollowThePictureFlag) {
  BancPage<PageEchelleVue> b;
  b.contexte.photo_terrain = false;
  b.ouvrir();
  EXPECT_FALSE(b("Checkbox_photo")->isEnabled());
  EXPECT_FALSE(b("Edit_R")->isEnabled());
}

TEST(OptionsVueEchelle, TheFileNameFollowsTheDisplayedViewAndTheFileKind) {
  BancPage<PageEchelleVue> b;
  b.vue.type_image = 1;
  b.contexte.vue_affichee = 1;
  b.contexte.texte_liste = "View #  1 :  a.mat";
  b.ouvrir();
  auto* nom = b.operator()<QLabel>("Label_nomfichier");
  EXPECT_EQ(nom->text(), " a.bmp");
  cliquer(b("RadioButton_JPEG"));
  EXPECT_EQ(b.rangee().type_image, 2);
  EXPECT_EQ(nom->text(), " a.jpg");
}
