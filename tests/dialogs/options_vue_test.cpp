// The view options dialog: its arithmetic, the view list protocol, the Scale
// and Framing pages, the previews (render record), drag steering, the sight
// lines on the map editor and the sky folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <filesystem>

#include "fenetres/elements_pages.h"
#include "fenetres/fenetres.h"
#include "fenetres/rendu.h"
#include "controls/checkbox.h"
#include "controls/combobox.h"
#include "controls/speedbutton.h"
#include "controls/trackbar.h"
#include "dialogs/arbres_apercu.h"
#include "dialogs/edition.h"
#include "dialogs/options_vue.h"
#include "dialogs/options_vue_boites.h"
#include "dialogs/options_vue_calculs.h"
#include "model/aleatoire.h"
#include "model/defauts.h"
#include "model/noeuds.h"
#include "platform/fichiers.h"
#include "render/bmp.h"
#include "render/ciel.h"
#include "render/palette.h"
#include "tests/app/comparaison_records.h"
#include "tests/support/empreinte.h"
#include "tests/support/fakes.h"
#include "tests/support/terrains.h"

using namespace dialogs;

namespace {

param_vue vue_defaut() {
  param_vue v;
  valeurs_defaut_vue(v);
  return v;
}

EntreesOptionsVue entrees_vides() {
  EntreesOptionsVue e;
  e.vue = vue_defaut();
  e.parametres = parametres_test(5);
  return e;
}

// Records the sight lines the dialog hands the editor.
struct EditeurEnregistreur : FenetreEdition {
  struct Appel {
    bool marqueur;
    double ox, oy, oz, ax, ay, bx, by;
  };
  std::vector<Appel> appels;
  void point_observateur(bool m, double ox, double oy, double oz, double ax, double ay, double bx,
                         double by) override {
    appels.push_back({m, ox, oy, oz, ax, ay, bx, by});
  }
};

// A dialog over two views A (slot 1, active) and B (slot 3) of mountain 1.
struct Banc {
  std::unique_ptr<Tmatrice> terrain;
  EntreesOptionsVue e = entrees_vides();
  std::unique_ptr<TPagesDlg2> d;

  explicit Banc(int vues = 2, bool factice = true) {
    controle_rendus().effacer();
    if (factice) controle_rendus().couleur_factice = render::pixel_rgb(255, 255, 255);
    terrain = terrain_synthetique("cone", 6, 1500);
    e.montagne_courante = 1;
    e.terrains[1] = terrain.get();
    e.montagnes[1] = decrire_montagne(*terrain);
    for (int k = 0; k < vues; ++k) {
      DocumentOptionsVue doc;
      doc.titre = k == 0 ? "View #  1 :  a.mat" : "View #  3 :  a.mat";
      doc.parametres = vue_defaut();
      doc.parametres.angle_horizontal = 10 * (k + 1);
      doc.montagne = 1;
      doc.numero = static_cast<std::uint16_t>(k == 0 ? 1 : 3);
      doc.largeur_image = 500;
      doc.hauteur_image = 300;
      e.documents.push_back(doc);
    }
    if (vues) e.vue_courante = 1;
  }
  TPagesDlg2& ouvrir(int page = 1) {
    e.page = static_cast<std::uint16_t>(page);
    d = std::make_unique<TPagesDlg2>();
    d->remplir(e);
    d->show();
    return *d;
  }
  // Runs the scheduled previews.
  void calculer() {
    d->Image_cadrage->calculer();
    d->Image_cadre->calculer();
  }
  ~Banc() { controle_rendus().effacer(); }
};

}  // namespace

// ---------------------------------------------------------------- arithmetic

TEST(OptionsVueCalculs, DistanceIndexBothWays) {
  struct Cas {
    double d;
    int index;
    double retour;
  };
  for (const Cas& c : {Cas{0.6, 6, 0.6}, Cas{1.25, 12, 1.2}, Cas{5, 50, 5.0}, Cas{5.1, 55, 5.5}, Cas{5.5, 56, 6},
                       Cas{49, 99, 49}, Cas{0.1, 1, 0.6}}) {
    EXPECT_EQ(index_distance(c.d), c.index) << c.d;
    EXPECT_NEAR(distance_de_index(c.index), c.retour, 1e-9) << c.d;
  }
  EXPECT_EQ(position_distance(0.6), 99);
  EXPECT_DOUBLE_EQ(distance_saisie("12,5", 3), 12.5);
  EXPECT_DOUBLE_EQ(distance_saisie("99", 3), 50);
  EXPECT_DOUBLE_EQ(distance_saisie("0", 3), 0.6);
  EXPECT_DOUBLE_EQ(distance_saisie("far", 3), 3);
}

TEST(OptionsVueCalculs, FrameAndScaleRectangles) {
  EXPECT_EQ(rectangle_cadre(0, 0, 10), (Rectangle{0, 0, 76, 54}));
  EXPECT_EQ(rectangle_cadre(0, 0, 20), (Rectangle{19, 14, 57, 40}));
  EXPECT_EQ(rectangle_cadre(0, 0, 30), (Rectangle{26, 18, 50, 36}));
  EXPECT_EQ(rectangle_cadre(0, 0, 80), (Rectangle{33, 24, 43, 30}));
  EXPECT_EQ(rectangle_cadre(0, 0, 0), rectangle_cadre(0, 0, 10));
  EXPECT_EQ(rectangle_echelle(130, 98, 15), (Rectangle{2, 2, 85, 64}));
  EXPECT_EQ(rectangle_echelle(130, 98, 0), (Rectangle{2, 2, 128, 96}));
  EXPECT_EQ(texte_echelle(15), "1:1.5");
  EXPECT_EQ(texte_echelle(10), "1:1.0");
  EXPECT_EQ(texte_distance(5.1), " 5.1");
}

TEST(OptionsVueCalculs, FileNamesUnderTheScaleBox) {
  EXPECT_EQ(nom_fichier_vue("View #  1 :  a.mat", true, 1), " a.bmp");
  EXPECT_EQ(nom_fichier_vue("View #  1 :  a.mat", true, 2), " a.jpg");
  EXPECT_EQ(nom_fichier_vue("View #  1 :  a.mat", false, 2), "New ");
  EXPECT_EQ(nom_fichier_vue("View #  2 :  New 1", true, 2), "New ");
  EXPECT_EQ(nom_fichier_vue("Modele", true, 2), ".jpg");
  EXPECT_EQ(nom_fichier_vue("x:", true, 2), ".jpg");
  EXPECT_EQ(nom_fichier_vue(":", true, 2), ".jpg");
}

TEST(OptionsVueCalculs, SteppingButtonsStopAtTheirLimits) {
  param_vue v = vue_defaut();
  v.distance = distance_de_index(6);  // 0.6000000000000001
  EXPECT_FALSE(pas_distance(v, true));
  v.distance = 0.6;
  EXPECT_FALSE(pas_distance(v, true));
  v.distance = 50;
  EXPECT_FALSE(pas_distance(v, false));
  v.distance = 4.8;
  EXPECT_TRUE(pas_distance(v, false));
  EXPECT_NEAR(v.distance, 4.9, 1e-9);
  EXPECT_TRUE(pas_distance(v, false));
  EXPECT_NEAR(v.distance, 5.9, 1e-9);
  v.centre_x = 75;
  EXPECT_TRUE(pas_centre(v, 3));
  EXPECT_FALSE(pas_centre(v, 3));
  EXPECT_EQ(v.centre_x, 76);
  v.centre_y = -54;
  EXPECT_FALSE(pas_centre(v, 0));
  v.angle_vertical = 89;
  EXPECT_FALSE(pas_angle(v, 0));
  v.angle_vertical = -44;
  EXPECT_TRUE(pas_angle(v, 1));
  EXPECT_FALSE(pas_angle(v, 1));
  v.zoom = 11;
  EXPECT_TRUE(pas_zoom(v, false));
  EXPECT_FALSE(pas_zoom(v, false));
}

TEST(OptionsVueCalculs, SteeringZonesAndTicks) {
  EXPECT_EQ(curseur_pilotage(5, 5, 200, 150), Qt::SizeFDiagCursor);
  EXPECT_EQ(curseur_pilotage(195, 145, 200, 150), Qt::SizeFDiagCursor);
  EXPECT_EQ(curseur_pilotage(5, 145, 200, 150), Qt::SizeBDiagCursor);
  EXPECT_EQ(curseur_pilotage(100, 5, 200, 150), Qt::SizeVerCursor);
  EXPECT_EQ(curseur_pilotage(5, 75, 200, 150), Qt::SizeHorCursor);
  EXPECT_EQ(curseur_pilotage(100, 75, 200, 150), Qt::ArrowCursor);
  EXPECT_FALSE(dans_bande(100, 75, 200, 150));
  param_vue v = vue_defaut();
  v.angle_vertical = -45;
  v.angle_horizontal = 180;
  pas_pilotage(v, 5, 5, 200, 150);
  EXPECT_EQ(v.angle_vertical, -45);
  EXPECT_EQ(v.angle_horizontal, 180);
  pas_pilotage(v, 195, 145, 200, 150);
  EXPECT_EQ(v.angle_vertical, -44);
  EXPECT_EQ(v.angle_horizontal, 179);
}

// ---------------------------------------------------------------- samples

TEST(OptionsVueEchantillons, SamplesOfASyntheticTerrainAndThePreviewTerrains) {
  EXPECT_EQ(ligne_echantillon(1, 129), 3);
  EXPECT_EQ(ligne_echantillon(2, 129), 7);
  EXPECT_EQ(ligne_echantillon(18, 129), 64);
  EXPECT_EQ(ligne_echantillon(35, 129), 125);
  EXPECT_EQ(ligne_echantillon(36, 129), 128);
  EXPECT_EQ(ligne_echantillon(1, 17), 3);
  EXPECT_EQ(ligne_echantillon(2, 17), 1);
  EXPECT_EQ(ligne_echantillon(18, 17), 8);
  EXPECT_EQ(ligne_echantillon(35, 17), 17);
  EXPECT_EQ(ligne_echantillon(36, 17), 16);
  auto t = terrain_synthetique("flat", 7, 0);
  for (int j = 1; j <= t->n; ++j)
    for (int i = 1; i + j <= t->n + 1; ++i) t->hauteurs->ecrire(i, j, 10 * i + j);
  t->placer_cible(0.5, 0.25, 0);
  const MontagneOptionsVue m = decrire_montagne(*t);
  EXPECT_EQ(m.echantillons[2][18], 134);
  EXPECT_EQ(m.echantillons[30][20], Tnoeud::hors_reseau);
  EXPECT_EQ(m.altitude_cible, 10 * 64 + 32);

  // A view of mountain 5 previews mountain 5.
  Banc b(0);
  b.e.montagne_courante = 5;
  b.e.montagnes[5] = m;
  b.e.montagnes[1].reset();
  TPagesDlg2& d = b.ouvrir(2);
  b.calculer();
  EXPECT_EQ(d.montagne_chargee, 5);
  EXPECT_EQ(d.relief_apercu->hauteurs->lire(2, 18), 134);
  for (int i = 1; i <= 17; ++i)
    for (int j = 1; i + j <= 18; ++j)
      ASSERT_EQ(d.relief_rapide->hauteurs->lire(i, j), d.relief_apercu->hauteurs->lire(2 * i - 1, 2 * j - 1));
}

// ---------------------------------------------------------------- list and protocol

TEST(OptionsVueListe, NoViewAndNoMountainShowsModeleWithTheListDisabled) {
  Banc b(0);
  b.e.montagne_courante = 0;
  TPagesDlg2& d = b.ouvrir();
  ASSERT_EQ(d.ComboBox_no->count(), 1);
  EXPECT_EQ(d.ComboBox_no->itemText(0), "Modele");
  EXPECT_FALSE(d.ComboBox_no->isEnabled());
  EXPECT_FALSE(d.UpDown_no->isEnabled());
  EXPECT_FALSE(d.boutons_copie[0]->isEnabled());
  EXPECT_FALSE(d.RadioButton_Refaire->isEnabled());
}

TEST(OptionsVueListe, OneViewKeepsTheCopyButtonsDisabled) {
  Banc b(1);
  b.e.vue.largeur_image = 640;  // the default record fits a radio, the view's does not
  b.e.vue.hauteur_image = 480;
  TPagesDlg2& d = b.ouvrir(2);
  EXPECT_TRUE(d.CheckBox_spex->Checked());
  for (QRadioButton* r : d.radios_taille) EXPECT_FALSE(r->isChecked());
  EXPECT_TRUE(d.RadioButton_Refaire->isEnabled());
  EXPECT_FALSE(d.boutons_copie[0]->isEnabled());
  EXPECT_EQ(d.vues[0].largeur_image, 500);  // the view window's size, the record is not predefined
}

TEST(OptionsVueListe, SwitchingViewsKeepsTheirEditsAndOkReturnsTheDisplayedOne) {
  Banc b;
  TPagesDlg2& d = b.ouvrir(2);
  EXPECT_EQ(d.vues[0].angle_horizontal, 10);
  EXPECT_FALSE(d.boutons_copie[0]->isEnabled());
  d.vues[0].zoom = 33;  // an edit to A
  d.UpDown_no->monter();
  EXPECT_EQ(d.vue_affichee, 3);
  EXPECT_EQ(d.vues[0].angle_horizontal, 20);
  EXPECT_TRUE(d.boutons_copie[0]->isEnabled());
  EXPECT_EQ(d.Label_no->text(), "3");
  d.changer_vue(5);  // outside the list: ignored
  EXPECT_EQ(d.vue_affichee, 3);
  d.ComboBox_no->setCurrentIndex(0);
  emit d.ComboBox_no->activated(0);
  EXPECT_EQ(d.vue_affichee, 1);
  EXPECT_EQ(d.vues[0].zoom, 33);
  d.RadioButton_Refaire->click();
  const SortiesOptionsVue s = d.sorties();
  EXPECT_EQ(s.vue.zoom, 33);
  EXPECT_EQ(s.vue_choisie, 1);
  EXPECT_EQ(s.montagne, 1);
  EXPECT_EQ(s.action, 1);
  EXPECT_EQ(s.page, 2);
}

TEST(OptionsVueListe, CopyWritesTheFramingFieldsOverTheActiveView) {
  Banc b;
  TPagesDlg2& d = b.ouvrir(2);
  d.changer_vue(2);
  d.vues[0].zoom = 44;
  d.vues[0].centre_x = 7;
  d.vues[0].niveau_mer = 999;  // not a framing field
  d.boutons_copie[0]->click();
  EXPECT_EQ(d.vue_affichee, 1);
  EXPECT_EQ(d.vues[0].zoom, 44);
  EXPECT_EQ(d.vues[0].centre_x, 7);
  EXPECT_EQ(d.vues[0].angle_horizontal, 20);
  EXPECT_NE(d.vues[0].niveau_mer, 999);
  EXPECT_EQ(d.vues[2].niveau_mer, 999);  // view B keeps its own edit
}

TEST(OptionsVueListe, UntouchedOkGivesTheRecordBackAndPagesStepWithinOneToSix) {
  Banc b(0);
  b.e.vue.dim_predef = 0;
  b.e.vue.echelle_fixe = 1;
  TPagesDlg2& d = b.ouvrir(6);
  EXPECT_EQ(d.page_courante, 6);
  EXPECT_FALSE(d.btn_next->isEnabled());
  comparer_vue(d.sorties().vue, b.e.vue);
  for (int k = 0; k < 6; ++k) d.Btn_PrevClick();
  EXPECT_EQ(d.page_courante, 1);
  EXPECT_FALSE(d.btn_prev->isEnabled());
  EXPECT_TRUE(d.btn_next->isEnabled());
  comparer_vue(d.sorties().vue, b.e.vue);
  EXPECT_EQ(d.sujet_aide(), 306);
  d.Btn_NextClick();
  EXPECT_EQ(d.sujet_aide(), 302);
}

// ---------------------------------------------------------------- Scale page

TEST(OptionsVueEchelle, RadiosSpecificSizesAndEdits) {
  Banc b(0);
  b.e.vue.dim_predef = 1;
  b.e.vue.echelle_fixe = 1;
  b.e.vue.largeur_image = 700;
  b.e.vue.hauteur_image = 500;
  TPagesDlg2& d = b.ouvrir(1);
  EXPECT_TRUE(d.CheckBox_spex->Checked());
  EXPECT_TRUE(d.Edit_Xmax->isEnabled());
  EXPECT_TRUE(d.Edit_Ymax->isEnabled());
  EXPECT_FALSE(d.radios_taille[0]->isEnabled());
  // Typed sizes are bounded to the picture limits, and the edit shows the size taken.
  auto taper = [&](QLineEdit* e, const char* texte) {
    e->clear();
    QTest::keyClicks(e, texte);
    emit e->editingFinished();
  };
  taper(d.Edit_Xmax, "0");
  EXPECT_EQ(d.vues[0].largeur_image, kTailleImageMin);
  EXPECT_EQ(d.Edit_Xmax->text(), QString::number(kTailleImageMin));
  taper(d.Edit_Xmax, "1280");
  EXPECT_EQ(d.vues[0].largeur_image, 1280);
  EXPECT_EQ(d.Edit_Xmax->text(), "1280");
  taper(d.Edit_Ymax, "9999");
  EXPECT_EQ(d.vues[0].hauteur_image, kTailleImageMax);
  EXPECT_EQ(d.Edit_Ymax->text(), QString::number(kTailleImageMax));
  taper(d.Edit_Ymax, "0");
  EXPECT_EQ(d.vues[0].hauteur_image, kTailleImageMin);
  taper(d.Edit_Ymax, "abc");  // unreadable: the default side
  EXPECT_EQ(d.vues[0].hauteur_image, 240);
  taper(d.Edit_Ymax, "600");
  EXPECT_EQ(d.vues[0].hauteur_image, 600);
  d.CheckBox_spex->SetChecked(false);
  d.charger_echelle();
  EXPECT_TRUE(d.radios_taille[3]->isEnabled());
  EXPECT_EQ(d.radios_taille[3]->text(), "1024 x 760");
  d.radios_taille[3]->click();
  EXPECT_EQ(d.vues[0].largeur_image, 1024);
  EXPECT_EQ(d.vues[0].hauteur_image, 768);
  d.radios_taille[0]->click();
  EXPECT_EQ(d.vues[0].largeur_image, 320);
  EXPECT_EQ(d.vues[0].hauteur_image, 240);
  d.Edit_profondeur->setText("abc");
  emit d.Edit_profondeur->editingFinished();
  EXPECT_EQ(d.vues[0].profondeur_details, 1);
  d.Edit_rugosite->setText("20");
  emit d.Edit_rugosite->editingFinished();
  EXPECT_EQ(d.vues[0].rugosite, 10);
  d.Edit_profondeur->setText("0");
  emit d.Edit_profondeur->editingFinished();
  EXPECT_EQ(d.vues[0].profondeur_details, 1);
}

TEST(OptionsVueEchelle, ScaleLabelBoxAndPredefinedRules) {
  Banc b(0);
  b.e.vue.echelle_fixe = 1;
  b.e.vue.dim_predef = 0;
  b.e.vue.taille = 15;
  TPagesDlg2& d = b.ouvrir(1);
  EXPECT_EQ(d.Label_taille->text(), "1:1.5");
  EXPECT_EQ(d.Image_echelle->rectangle(), (Rectangle{2, 2, 85, 64}));
  EXPECT_TRUE(d.ScrollBar_taille->isEnabled());
  // Unticking the fixed scale resets the scale and disables the predefined size.
  d.vues[0].echelle_fixe = 0;
  d.vues[0].dim_predef = 1;
  d.charger_echelle();
  EXPECT_EQ(d.vues[0].dim_predef, 0);
  EXPECT_FALSE(d.Checkbox_predef->isEnabled());
  d.vues[0].echelle_fixe = 1;
  d.vues[0].dim_predef = 1;
  d.vues[0].taille = 25;
  d.charger_echelle();
  EXPECT_EQ(d.vues[0].taille, 10);
  EXPECT_FALSE(d.ScrollBar_taille->isEnabled());
}

TEST(OptionsVueEchelle, ZeroScaleAndZoomOpenAndTheMaskControlsWrite) {
  Banc b(0);
  b.e.vue.taille = 0;
  b.e.vue.zoom = 0;
  b.e.vue.photo_aerienne = 1;
  b.e.parametres.photo_aerienne = 1;
  TPagesDlg2& d = b.ouvrir(1);
  EXPECT_EQ(d.Image_echelle->rectangle(), (Rectangle{2, 2, 128, 96}));
  EXPECT_TRUE(d.Edit_R->isEnabled());
  d.Edit_R->setText("300");
  d.Edit_V->setText("12");
  d.Edit_tolerance->setText("x");
  emit d.Edit_R->editingFinished();
  EXPECT_EQ(d.vues[0].masque_rvb[0], 255);
  EXPECT_EQ(d.vues[0].masque_rvb[1], 12);
  EXPECT_EQ(d.vues[0].tolerance_masque, 10);
  d.Btn_NextClick();
  b.calculer();
  EXPECT_EQ(d.Rectangle_cadre->geometry(), QRect(0, 0, 76, 54));
}

TEST(OptionsVueEchelle, MaskControlsFollowThePictureFlag) {
  Banc b(0);
  b.e.parametres.photo_aerienne = 0;
  TPagesDlg2& d = b.ouvrir(1);
  EXPECT_FALSE(d.Checkbox_photo->isEnabled());
  EXPECT_FALSE(d.Edit_R->isEnabled());
}

// ---------------------------------------------------------------- Framing page

TEST(OptionsVueCadrage, EveryBarRoundTripsItsField) {
  Banc b(0);
  TPagesDlg2& d = b.ouvrir(2);
  param_vue& v = d.vues[0];
  auto bouger = [&](QScrollBar* barre, int position) {
    barre->setSliderDown(true);
    barre->setSliderPosition(position);
    barre->setSliderDown(false);
  };
  bouger(d.ScrollBar_vert, 44 - 30);
  EXPECT_EQ(v.angle_vertical, 30);
  bouger(d.ScrollBar_hor, -120);
  EXPECT_EQ(v.angle_horizontal, -120);
  bouger(d.ScrollBar_solV, 60 - 75);
  EXPECT_EQ(v.elevation_soleil, 75);
  bouger(d.ScrollBar_solH, 33);
  EXPECT_EQ(v.azimut_soleil, 33);
  bouger(d.ScrollBar_zoom, 40);
  EXPECT_EQ(v.zoom, 40);
  EXPECT_EQ(d.Label_zoom->text(), "1:4.0");
  bouger(d.ScrollBar_dist, 105 - 55);
  EXPECT_DOUBLE_EQ(v.distance, 5.5);
  EXPECT_EQ(d.Edit_dist->text(), " 5.5");
  d.vues[0].observateur_place = 1;
  d.charger_cadrage();
  bouger(d.ScrollBar_hauteur, 1000 - 250);
  EXPECT_EQ(v.hauteur_observateur, 250);
  EXPECT_EQ(d.Edit_haut->text(), "250");
  EXPECT_EQ(d.ScrollBar_vert->value(), 14);
}

TEST(OptionsVueCadrage, TypedValuesAndTheDistanceButtons) {
  Banc b(0);
  TPagesDlg2& d = b.ouvrir(2);
  d.Edit_dist->setText("5,1");
  d.edit_change(d.Edit_dist);
  EXPECT_DOUBLE_EQ(d.vues[0].distance, 5.1);
  d.ScrollBar_solH->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_DOUBLE_EQ(d.vues[0].distance, 5.1);
  d.Edit_dist->setText("99");
  d.edit_change(d.Edit_dist);
  EXPECT_DOUBLE_EQ(d.vues[0].distance, 50);
  d.BTn_loin->pressed();
  d.BTn_loin->released();
  EXPECT_DOUBLE_EQ(d.vues[0].distance, 50);
  // 0.6 from the distance bar's last position.
  d.ScrollBar_dist->setSliderDown(true);
  d.ScrollBar_dist->setSliderPosition(99);
  d.ScrollBar_dist->setSliderDown(false);
  emit d.Btn_pres->pressed();
  emit d.Btn_pres->released();
  EXPECT_EQ(d.index_dist, 6);
  EXPECT_NEAR(d.vues[0].distance, 0.6, 1e-12);
  d.Edit_ver->setText("120");
  d.edit_change(d.Edit_ver);
  EXPECT_EQ(d.vues[0].angle_vertical, 120);  // typed angles are not clamped
  d.Edit_ver->setText("x");
  d.edit_change(d.Edit_ver);
  EXPECT_EQ(d.vues[0].angle_vertical, 120);
}

TEST(OptionsVueCadrage, FrameRectangleShadowAndArrows) {
  Banc b(0);
  b.e.vue.zoom = 20;
  TPagesDlg2& d = b.ouvrir(2);
  b.calculer();
  EXPECT_EQ(d.Rectangle_cadre->geometry(), QRect(19, 14, 38, 26));
  const QImage i = d.Image_cadre->grab().toImage();
  for (int y = 14; y < 40; ++y)
    for (int x = 19; x < 57; ++x) {
      const QColor attendue = (x - 19 + y - 14) % 2 ? QColor(255, 255, 0) : QColor(255, 255, 255);
      ASSERT_EQ(i.pixelColor(x, y), attendue) << x << "," << y;
    }
  EXPECT_EQ(i.pixelColor(5, 5), QColor(255, 255, 255));
  d.Rectangle_cadre->SetShadowColor(0xFFFFFFu);
  EXPECT_EQ(d.Rectangle_cadre->ShadowColor(), 0u);
  for (int k = 0; k < 200; ++k) {
    emit d.fleches[3]->pressed();
    emit d.fleches[1]->pressed();
  }
  EXPECT_EQ(d.vues[0].centre_x, 76);
  EXPECT_EQ(d.vues[0].centre_y, 54);
}

TEST(OptionsVueCadrage, DragSteeringTicksAndObserverPlaced) {
  Banc b(0);
  TPagesDlg2& d = b.ouvrir(2);
  b.calculer();
  d.vues[0].angle_vertical = 20;
  d.vues[0].angle_horizontal = 0;
  controle_rendus().effacer();
  controle_rendus().couleur_factice = render::pixel_rgb(255, 255, 255);
  d.cadrage_appui(5, 5);
  EXPECT_TRUE(d.Timer_cadre.isActive());
  d.Image_cadrage->calculer();
  d.Timer_cadreTimer();
  d.Image_cadrage->calculer();
  d.Timer_cadreTimer();
  d.Image_cadrage->calculer();
  EXPECT_EQ(d.vues[0].angle_vertical, 18);
  EXPECT_EQ(d.vues[0].angle_horizontal, 2);
  EXPECT_EQ(d.Edit_ver->text(), "18");
  EXPECT_EQ(d.ScrollBar_hor->value(), 2);
  const auto& a = controle_rendus().appels;
  ASSERT_EQ(a.size(), 3u);
  for (const AppelRendu& r : a) {
    EXPECT_EQ(r.largeur, TPagesDlg2::kLargeurCadrage);
    EXPECT_EQ(r.vue.maillage_filaire, 1);
  }
  controle_rendus().appels.clear();
  d.cadrage_relache();
  EXPECT_FALSE(d.Timer_cadre.isActive());
  d.Image_cadrage->calculer();
  // The release: the sampled terrain, then the real one (the lock starts on).
  ASSERT_EQ(controle_rendus().appels.size(), 2u);
  EXPECT_EQ(controle_rendus().appels[0].vue.maillage_filaire, 0);
  // Observer placed: no drag, default cursor; the arrows and zoom still work.
  d.CheckBox_observateur->SetChecked(true);
  d.vues[0].observateur_place = 1;
  d.charger_cadrage();
  d.cadrage_appui(5, 5);
  EXPECT_FALSE(d.Timer_cadre.isActive());
  d.cadrage_deplacement(5, 5);
  EXPECT_EQ(d.Image_cadrage->cursor().shape(), Qt::ArrowCursor);
  const int z = d.vues[0].zoom;
  emit d.Zoom_plus->pressed();
  EXPECT_EQ(d.vues[0].zoom, z + 1);
  const int h = d.vues[0].angle_horizontal;
  emit d.boutons_angle[2]->pressed();
  EXPECT_EQ(d.vues[0].angle_horizontal, h);
}

TEST(OptionsVueApercus, WhatEachPreviewRendersAndNeverInsideAPaint) {
  Banc b(0);
  TPagesDlg2& d = b.ouvrir(2);
  b.calculer();
  controle_rendus().appels.clear();
  // A thumb drag: the coarse terrain with a wire mesh; the release: the
  // sampled terrain, then the real one with the eight flags cleared.
  d.vues[0].reflet = d.vues[0].premier_plan = d.vues[0].brume = d.vues[0].photo_aerienne = 1;
  d.vues[0].horizon = d.vues[0].strates = d.vues[0].ombre_portee = d.vues[0].detail_arbres = 1;
  d.vues[0].agitation_mer = 5;
  d.ScrollBar_vert->setSliderDown(true);
  d.ScrollBar_vert->setSliderPosition(20);
  QApplication::processEvents();
  ASSERT_EQ(controle_rendus().appels.size(), 1u);
  AppelRendu r = controle_rendus().appels[0];
  EXPECT_EQ(r.vue.maillage_filaire, 1);
  EXPECT_EQ(r.hauteur, TPagesDlg2::kHauteurCadrage);
  controle_rendus().appels.clear();
  d.ScrollBar_vert->setSliderDown(false);
  QApplication::processEvents();
  const auto& a = controle_rendus().appels;
  ASSERT_EQ(a.size(), 3u);  // framing (sampled, detailed) and the frame box
  for (const AppelRendu& c : a) {
    EXPECT_FALSE(c.attente);
    EXPECT_EQ(c.zoom_editeur, 0);
    EXPECT_EQ(c.grossier + c.courbes_niveau + c.statistiques + c.mode_camera, 0);
    EXPECT_EQ(c.camera.observateur_x, 0);
    EXPECT_EQ(c.dossier_ciels, "ciels");
    EXPECT_EQ(c.vue.reflet + c.vue.premier_plan + c.vue.brume, 0);
  }
  EXPECT_EQ(a[0].vue.photo_aerienne, 0);
  EXPECT_EQ(a[0].vue.maillage_filaire, 0);
  EXPECT_EQ(a[0].largeur, TPagesDlg2::kLargeurCadrage);
  EXPECT_EQ(a[1].vue.horizon + a[1].vue.strates + a[1].vue.ombre_portee + a[1].vue.detail_arbres, 0);
  EXPECT_EQ(a[1].vue.agitation_mer, 0);
  EXPECT_EQ(a[2].largeur, TPagesDlg2::kLargeurCadre);
  EXPECT_EQ(a[2].vue.zoom, 10);
  EXPECT_EQ(a[2].vue.centre_x, 0);
  // With the lock off, "Détail" renders the real terrain once and the box keeps it.
  d.Button_detail_lock->click();
  EXPECT_EQ(d.detail_fixe, 0);
  EXPECT_TRUE(d.Button_detail->isEnabled());
  controle_rendus().appels.clear();
  controle_rendus().couleur_factice = render::pixel_rgb(1, 2, 3);
  d.Button_detailClick();
  QApplication::processEvents();
  ASSERT_EQ(controle_rendus().appels.size(), 1u);
  EXPECT_EQ(controle_rendus().appels[0].vue.strates, 0);
  EXPECT_EQ(d.Image_cadrage->grab().toImage().pixelColor(50, 50), QColor(1, 2, 3));
  // Ticking "Visible mesh" turns the lock off.
  d.Button_detail_lock->click();
  EXPECT_EQ(d.detail_fixe, 1);
  d.CheckBox_rapide->SetChecked(true);
  emit d.CheckBox_rapide->changed();
  EXPECT_EQ(d.detail_fixe, 0);
  d.repaint();
  EXPECT_EQ(controle_rendus().rendus_dans_peinture, 0);
}

TEST(OptionsVueApercus, DetailedDisplayLeavesTheDocumentUntouchedAndDrawsSightLines) {
  controle_rendus().effacer();
  auto t = terrain_genere(parametres_test(8));
  const std::uint64_t avant = empreinte_terrain(*t);
  const auto cible = t->cible, observateur = t->observateur;
  EditeurEnregistreur editeur;
  EntreesOptionsVue e = entrees_vides();
  e.montagne_courante = 1;
  e.terrains[1] = t.get();
  e.montagnes[1] = decrire_montagne(*t);
  e.editeurs[1] = &editeur;
  e.vue.zoom = 40;  // the terrain crosses both sides of the picture
  e.page = 2;
  {
    TPagesDlg2 d;
    d.remplir(e);
    d.Image_cadrage->calculer();
    d.Image_cadre->calculer();
    ASSERT_EQ(editeur.appels.size(), 1u);
    const auto& a = editeur.appels[0];
    EXPECT_FALSE(a.marqueur);
    // The sight lines come from the last render of the preview: the real terrain.
    EXPECT_EQ(a.ox, t->etat_rendu.oeil_x);
    EXPECT_EQ(a.ax, t->etat_rendu.bord_gauche_x);
    EXPECT_EQ(a.by, t->etat_rendu.bord_droit_y);
    EXPECT_TRUE(a.ax != 0 || a.bx != 0);
    d.vues[0].observateur_place = 1;
    d.drapeau_cadrage = true;
    d.afficher_cadrage();
    d.Image_cadrage->calculer();
    ASSERT_EQ(editeur.appels.size(), 2u);
    EXPECT_TRUE(editeur.appels[1].marqueur);
  }
  EXPECT_EQ(empreinte_terrain(*t), avant);
  EXPECT_EQ(t->cible.x, cible.x);
  EXPECT_EQ(t->cible.y, cible.y);
  EXPECT_EQ(t->observateur.x, observateur.x);
  EXPECT_EQ(t->observateur.y, observateur.y);
  controle_rendus().effacer();
}

TEST(OptionsVueApercus, TheMapEditorKeepsTheSightLinesOfEachPreview) {
  controle_rendus().effacer();
  auto t = terrain_genere(parametres_test(6));
  Tfenetre_edition ed;
  OuvertureEdition o;
  o.no_montagne = 1;
  o.matrice = t.get();
  o.vue_defaut = vue_defaut();
  ed.ouvre_edition(o);
  ed.show();
  ed.zone_carte()->repaint();
  QApplication::processEvents();
  ed.calculer_carte();
  ed.zone_carte()->repaint();
  const QImage carte = ed.Image1.copy();
  EntreesOptionsVue e = entrees_vides();
  e.montagne_courante = 1;
  e.terrains[1] = t.get();
  e.montagnes[1] = decrire_montagne(*t);
  e.editeurs[1] = &ed;
  e.vue.zoom = 40;
  e.page = 2;
  TPagesDlg2 d;
  d.remplir(e);
  d.Image_cadrage->calculer();
  QApplication::processEvents();  // the paint that shows the lines keeps them
  const QImage avec_lignes = ed.Image1.copy();
  EXPECT_NE(avec_lignes, carte);
  // The same framing again: the old pair is erased and the same pair drawn.
  d.drapeau_cadrage = true;
  d.afficher_cadrage();
  d.Image_cadrage->calculer();
  EXPECT_EQ(ed.Image1, avec_lignes);
  // A view whose edge points were not recorded draws no line.
  t->etat_rendu = {};
  ed.point_observateur(false, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(ed.Image1, carte);
  ed.close();
  QApplication::processEvents();
  controle_rendus().effacer();
}

// ---------------------------------------------------------------- Levels page

TEST(OptionsVueNiveaux, BarsRoundTripAndThePreviewWaitsForTheThumb) {
  Banc b;
  TPagesDlg2& d = b.ouvrir(4);
  b.d->Image_niveaux->calculer();
  const std::int32_t param_vue::*champs[7] = {&param_vue::niveau_mer,        &param_vue::niveau_herbe,
                                              &param_vue::niveau_rocher,     &param_vue::zone_recouvrement,
                                              &param_vue::hauteur_sable,     &param_vue::niveau_neige,
                                              &param_vue::delta_neige};
  const int bases[7] = {0, 1000, 4000, 2000, -800, 3000, 500};
  const int valeurs[7] = {-250, 1500, 1200, 300, -100, 2500, 120};
  for (int k = 0; k < 7; ++k) {
    QScrollBar* barre = d.barres_niveaux[std::size_t(k)];
    controle_rendus().appels.clear();
    barre->setSliderDown(true);
    barre->setSliderPosition(bases[k] - valeurs[k]);
    QApplication::processEvents();
    EXPECT_EQ(d.vues[0].*champs[k], valeurs[k]) << k;
    EXPECT_EQ(d.edits_niveaux[std::size_t(k)]->text(), QString::number(valeurs[k]));
    EXPECT_TRUE(controle_rendus().appels.empty()) << k;  // the thumb moves: no preview
    barre->setSliderDown(false);
    QApplication::processEvents();
    ASSERT_EQ(controle_rendus().appels.size(), 1u) << k;
    const param_vue& v = controle_rendus().appels[0].vue;
    EXPECT_EQ(v.agitation_mer + v.horizon + v.detail_arbres + v.reflet + v.brume + v.ombre_portee + v.strates +
                  v.foret + v.deformation + v.premier_plan + v.photo_aerienne,
              0);
    EXPECT_EQ(controle_rendus().appels[0].largeur, TPagesDlg2::kLargeurCadrage);
  }
  // Typed levels are kept as typed.
  d.edits_niveaux[0]->setText("-5000");
  d.Edit_nivExit(d.edits_niveaux[0]);
  EXPECT_EQ(d.vues[0].niveau_mer, -5000);
  d.edits_niveaux[0]->setText("x");
  d.Edit_nivExit(d.edits_niveaux[0]);
  EXPECT_EQ(d.vues[0].niveau_mer, -5000);
}

TEST(OptionsVueNiveaux, CopyLeavesTheActiveViewsSandHeight) {
  Banc b;
  b.e.documents[0].parametres.hauteur_sable = 11;
  TPagesDlg2& d = b.ouvrir(4);
  d.changer_vue(2);
  d.vues[0].niveau_mer = 77;
  d.vues[0].hauteur_sable = -500;
  d.vues[0].strates = 1;
  d.boutons_copie[2]->click();
  EXPECT_EQ(d.vue_affichee, 1);
  EXPECT_EQ(d.vues[0].niveau_mer, 77);
  EXPECT_EQ(d.vues[0].strates, 1);
  EXPECT_EQ(d.vues[0].hauteur_sable, 11);
}

// ---------------------------------------------------------------- Colours page

TEST(OptionsVueCouleurs, LightChangesAndThePaletteBoxGeometry) {
  auto egal = [](Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; };
  EXPECT_TRUE(egal(changer_lumiere({200, 100, 50}, 255), {255, 100, 50}));
  EXPECT_TRUE(egal(changer_lumiere({100, 200, 50}, 255), {100, 255, 50}));
  EXPECT_TRUE(egal(changer_lumiere({60, 60, 60}, 30), {30, 30, 30}));
  EXPECT_TRUE(egal(changer_lumiere({10, 20, 30}, 40), {20, 40, 60}));
  EXPECT_TRUE(egal(changer_lumiere({0, 0, 0}, 90), {90, 90, 90}));
  EXPECT_EQ(lumiere_affichee({202, 200, 200}), 200);
  EXPECT_TRUE(egal(changer_lumiere({202, 200, 200}, 200), {202, 200, 200}));
  EXPECT_TRUE(egal(couleur_de_valeur(0x336699), {153, 102, 51}));
  const int rangees[] = {0, 14, 15, 59, 60, 67, 68, 75, 76, 80, 81, 85, 86, 90, 91, 95};
  const int niveaux[] = {1, 1, 2, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10};
  for (int k = 0; k < 16; ++k) EXPECT_EQ(niveau_au_clic(rangees[k], 96), niveaux[k]) << rangees[k];
  const int fleches[] = {3, 18, 33, 48, 60, 68, 73, 78, 83, 88};
  for (int i = 1; i <= 10; ++i) EXPECT_EQ(fleche_y(i, 96), fleches[i - 1]) << i;
  EXPECT_EQ(niveau_au_clic(111, 132), 7);
  EXPECT_EQ(entree_echantillon(1, 4), 66);
  EXPECT_EQ(entree_echantillon(8, 4), 7);
  EXPECT_EQ(entree_echantillon(9, 4), 1);
  EXPECT_EQ(entree_echantillon(10, 4), 5);
}

TEST(OptionsVueCouleurs, SampleTypedValuesIdleColoursAndTheDelayedPalette) {
  Banc b(0);
  b.e.vue.couleurs_defaut = 1;
  b.e.vue.contraste = 50;
  b.e.vue.profondeur_ombre = 20;
  TPagesDlg2& d = b.ouvrir(5);
  EXPECT_EQ(d.indice_couleur, 3);
  EXPECT_EQ(d.ComboBox_coul->currentText(), "Soil     ");
  EXPECT_EQ(d.Image_couleur->entree(), 66);
  const Rgb soil = d.palette->lire_couleur(66);
  EXPECT_EQ(soil.r, 211);
  EXPECT_EQ(soil.g, 176);
  EXPECT_EQ(soil.b, 60);
  EXPECT_FALSE(d.glissieres_rvbl[0]->isEnabled());
  EXPECT_EQ(d.edits_couleurs[0]->text(), "211");
  for (auto [i, entree] : {std::pair{8, 7}, std::pair{1, 1}, std::pair{7, 5}}) {
    d.indice_couleur = i;
    d.afficher_rvb();
    EXPECT_EQ(d.Image_couleur->entree(), entree) << i;
  }
  d.Image_palettemousedown(111);
  EXPECT_EQ(d.indice_couleur, 7);
  EXPECT_EQ(d.Image_fleche->niveau(), 7);
  // Own colours: typed values within their limits.
  d.indice_couleur = 3;
  d.CheckBox_coul_def->SetChecked(false);
  emit d.CheckBox_coul_def->changed();
  EXPECT_EQ(d.vues[0].couleurs_defaut, 0);
  EXPECT_TRUE(d.glissieres_rvbl[0]->isEnabled());
  d.vues[0].couleurs[0] = {202, 200, 200};
  d.afficher_rvb();
  for (int k = 0; k < 10; ++k) d.afficher_rvb();
  EXPECT_EQ(d.edits_couleurs[3]->text(), "200");
  d.Edit_couleursExit(d.edits_couleurs[3]);
  EXPECT_EQ(d.vues[0].couleurs[0].r, 202);
  struct Cas {
    int edit;
    const char* texte;
    int attendu;
  };
  for (const Cas& c : {Cas{0, "300", 255}, Cas{1, "-1", 0}, Cas{2, "blue", 0}, Cas{4, "500", 100}, Cas{5, "5", 13}}) {
    d.edits_couleurs[std::size_t(c.edit)]->setText(c.texte);
    d.Edit_couleursExit(d.edits_couleurs[std::size_t(c.edit)]);
  }
  EXPECT_EQ(d.vues[0].couleurs[0].r, 255);
  EXPECT_EQ(d.vues[0].couleurs[0].g, 0);
  EXPECT_EQ(d.vues[0].couleurs[0].b, 0);
  EXPECT_EQ(d.vues[0].contraste, 100);
  EXPECT_EQ(d.vues[0].profondeur_ombre, 13);
  // A drag rebuilds the palette once, when the timer fires.
  const int avant = d.palettes_construites;
  for (int p = 10; p < 20; ++p) {
    d.glissieres_rvbl[1]->SetPosition(p);  // as the user's drag does: `changed` on every step
  }
  EXPECT_EQ(d.vues[0].couleurs[0].g, 19);
  EXPECT_EQ(d.palettes_construites, avant);
  EXPECT_TRUE(d.Timer1.isActive());
  QMetaObject::invokeMethod(&d.Timer1, "timeout");
  EXPECT_EQ(d.palettes_construites, avant + 1);
  EXPECT_FALSE(d.Timer1.isActive());
  // The colour dialog's answer, and Cancel.
  d.choisir_couleur = [](const QColor&) { return std::optional<QColor>(QColor(153, 102, 51)); };
  d.Button_griClick();
  EXPECT_EQ(d.vues[0].couleurs[0].r, 153);
  EXPECT_EQ(d.vues[0].couleurs[0].b, 51);
  d.choisir_couleur = [](const QColor&) { return std::optional<QColor>(); };
  d.Button_griClick();
  EXPECT_EQ(d.vues[0].couleurs[0].r, 153);
  d.repaint();
  EXPECT_EQ(controle_rendus().rendus_dans_peinture, 0);
}

// ---------------------------------------------------------------- Weather page

TEST(OptionsVueMeteo, WeatherSkyAndSeaControls) {
  QTemporaryDir dossier;
  Banc b(0);
  b.e.dossier_programme = dossier.path().toStdString();
  b.e.vue.photo_aerienne = 1;
  b.e.vue.horizon = 1;
  b.e.vue.type_ciel = 1;
  b.e.vue.brume = 0;
  b.e.vue.ombre_portee = 0;
  TPagesDlg2& d = b.ouvrir(6);
  EXPECT_TRUE(d.palette->grande());
  d.RadioGroup_tempsClick(0);  // Sunny refused with picture colours
  EXPECT_TRUE(d.RadioGroup_temps[2]->isChecked());
  EXPECT_EQ(d.vues[0].ombre_portee, 0);
  d.vues[0].photo_aerienne = 0;
  d.RadioGroup_tempsClick(1);
  EXPECT_EQ(d.vues[0].brume, 1);
  EXPECT_TRUE(d.scrollbar_brume->isEnabled());
  EXPECT_TRUE(d.ScrollBar_ht_brume->isEnabled());
  d.RadioGroup_tempsClick(0);
  EXPECT_EQ(d.vues[0].ombre_portee, 1);
  EXPECT_FALSE(d.scrollbar_brume->isEnabled());
  d.RadioGroup_tempsClick(2);
  EXPECT_FALSE(d.ScrollBar_ht_brume->isEnabled());
  // Density buttons stop at 1 and 100.
  d.RadioGroup_tempsClick(1);
  d.vues[0].brume_densite = 2;
  for (int k = 0; k < 5; ++k) d.btn_brume_moins->click();
  EXPECT_EQ(d.vues[0].brume_densite, 1);
  d.vues[0].brume_densite = 99;
  for (int k = 0; k < 5; ++k) d.btn_brume_plus->click();
  EXPECT_EQ(d.vues[0].brume_densite, 100);
  // Unticking the horizon: light sky, no sky choice, no list.
  d.CheckBox_horizon->SetChecked(false);
  emit d.CheckBox_horizon->changed();
  EXPECT_EQ(d.vues[0].type_ciel, 0);
  EXPECT_FALSE(d.RadioGroup_ciel[1]->isEnabled());
  EXPECT_FALSE(d.FileListBox_images->isEnabled());
  // No sky folder: the list shows the program folder and the sky file stays.
  d.CheckBox_horizon->SetChecked(true);
  emit d.CheckBox_horizon->changed();
  d.RadioGroup_cielClick(2);
  EXPECT_TRUE(d.FileListBox_images->isEnabled());
  EXPECT_EQ(d.dossier_liste_ciels, b.e.dossier_programme);
  d.vues[0].fichier_ciel = "x.jpg";
  if (d.FileListBox_images->count()) d.FileListBox_images->setCurrentRow(0);
  d.FileListBox_imagesClick();
  EXPECT_EQ(d.vues[0].fichier_ciel, "x.jpg");
  // "Change" draws the next seed; unticking "Random" keeps the mountain's last clouds.
  set_seed(12345);
  d.ChangerClick();
  EXPECT_EQ(d.vues[0].seed_nuages, 15414);
  b.terrain->etat_rendu.resultat_ciel = 321;
  d.RadioGroup_cielClick(1);
  d.CheckBox_alea->SetChecked(false);
  emit d.CheckBox_alea->changed();
  EXPECT_EQ(d.vues[0].seed_nuages, 321);
  // Typed values: unreadable text gives the defaults, no limits.
  d.edits_meteo[6]->setText("x");
  d.Edit1_meteoChange(d.edits_meteo[6]);
  EXPECT_EQ(d.vues[0].taux_reflet, 10);
  d.edits_meteo[2]->setText("1000000");
  d.Edit1_meteoChange(d.edits_meteo[2]);
  EXPECT_EQ(d.vues[0].nombre_nuages, 1000000);
}

TEST(OptionsVueMeteo, TheSkyListShowsOnlyThePicturesTheSkyLoads) {
  QTemporaryDir dossier;
  const std::string ciels = dossier.path().toStdString() + "/ciels";
  std::filesystem::create_directories(ciels);
  for (const char* n : {"nuage.jpg", "b.bmp", "C.JPG", "d.png"}) ASSERT_TRUE(ecrire_fichier(ciels + "/" + n, "x").empty());
  ASSERT_TRUE(render::ecrire_bmp(ciels + "/e.bmp", render::Bitmap(4, 4)));
  Banc b(0);
  b.e.dossier_programme = dossier.path().toStdString();
  b.e.vue.horizon = 1;
  b.e.vue.type_ciel = 2;
  TPagesDlg2& d = b.ouvrir(6);
  ASSERT_EQ(d.FileListBox_images->count(), 3);
  EXPECT_EQ(d.FileListBox_images->item(0)->text(), "b.bmp");
  EXPECT_EQ(d.FileListBox_images->item(1)->text(), "e.bmp");
  EXPECT_EQ(d.FileListBox_images->item(2)->text(), "nuage.jpg");
  // Pictures the sky cannot draw are marked with the reason.
  EXPECT_EQ(d.FileListBox_images->item(0)->toolTip(),
            "Cannot be drawn: it is not a Windows bitmap (it does not start with \"BM\")");
  EXPECT_EQ(d.FileListBox_images->item(1)->toolTip(), "");
  EXPECT_EQ(d.FileListBox_images->item(2)->toolTip(), "Cannot be drawn: the JPEG picture cannot be decoded");
  d.FileListBox_images->setCurrentRow(0);
  d.FileListBox_imagesClick();
  EXPECT_EQ(d.vues[0].fichier_ciel, std::filesystem::absolute(ciels + "/b.bmp").string());
  EXPECT_EQ(d.Label_import->text(), "b.bmp: unreadable");
  EXPECT_EQ(d.Label_import->toolTip(), d.FileListBox_images->item(0)->toolTip());
  d.FileListBox_images->setCurrentRow(1);
  d.FileListBox_imagesClick();
  EXPECT_EQ(d.Label_import->text(), "e.bmp");
}

TEST(OptionsVueMeteo, PreviewsOfMistSkyAndSea) {
  Banc b(0, false);
  b.e.vue.horizon = 1;
  b.e.vue.type_ciel = 1;
  b.e.vue.brume = 1;
  b.e.vue.brume_densite = 40;
  b.e.vue.ombre_portee = 0;
  b.e.vue.reflet = 1;
  b.e.vue.alea_nuages = 0;  // the clouds of one seed
  b.e.vue.seed_nuages = 777;
  TPagesDlg2& d = b.ouvrir(6);
  controle_rendus().appels.clear();
  d.Image_brume->calculer();
  d.Image_ciel->calculer();
  d.Image_mer->calculer();
  // Mist and sea render; the sky is drawn by the sky object alone.
  ASSERT_EQ(controle_rendus().appels.size(), 2u);
  const AppelRendu& mer = controle_rendus().appels[1];
  EXPECT_EQ(mer.vue.zoom, 20);
  EXPECT_DOUBLE_EQ(mer.vue.distance, 5.0);
  EXPECT_EQ(mer.vue.angle_vertical, 6);
  EXPECT_EQ(mer.vue.angle_horizontal, 0);
  EXPECT_EQ(mer.vue.elevation_soleil, 35);
  EXPECT_EQ(mer.vue.azimut_soleil, 89);
  EXPECT_EQ(mer.vue.niveau_mer, 20);
  EXPECT_EQ(mer.vue.largeur_image, 1);
  EXPECT_EQ(mer.vue.hauteur_image, -2);
  EXPECT_EQ(mer.vue.centre_x, -2);
  EXPECT_EQ(mer.vue.centre_y, 4);
  EXPECT_EQ(mer.vue.horizon, 1);
  EXPECT_EQ(mer.vue.brume + mer.vue.foret + mer.vue.ombre_portee + mer.vue.premier_plan + mer.vue.detail_arbres, 0);
  EXPECT_EQ(controle_rendus().appels[0].vue.foret, 0);
  EXPECT_TRUE(d.palette->grande());
  // The sky preview is the sky of the record, as a view draws it.
  const TMyPalette& p = *d.palette;
  render::Bitmap attendu(Round(150 * 1.02), 100);
  render::TCiel ciel;
  render::EntreeCiel e;
  e.ligne_horizon = 100;
  e.ligne_terre = 110;
  e.hauteur_coins = -50;
  e.largeur = 150;
  e.cos_elevation = std::cos(d.vues[0].elevation_soleil * 3.14159265358979323846 / 180);
  e.cos_azimut = std::cos(d.vues[0].azimut_soleil * 3.14159265358979323846 / 180);
  e.vue = &d.vues[0];
  e.image = &attendu;
  e.palette = &p;
  ciel.dessiner_ciel(e);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 150; ++x) ASSERT_EQ(d.Image_ciel->image().surface().row(y)[x], attendu.surface().row(y)[x]);
  // Without horizon: aqua sky, and a sea of entries 1 and 6 without a render.
  d.CheckBox_horizon->SetChecked(false);
  emit d.CheckBox_horizon->changed();
  controle_rendus().appels.clear();
  d.drapeau_mer = d.drapeau_ciel = true;
  d.afficher_meteo();
  d.Image_mer->calculer();
  d.Image_ciel->calculer();
  EXPECT_TRUE(controle_rendus().appels.empty());
  EXPECT_EQ(d.Image_mer->image().surface().row(29)[5], render::pixel_of(d.palette->lire_couleur(1)));
  EXPECT_EQ(d.Image_mer->image().surface().row(30)[5], render::pixel_of(d.palette->lire_couleur(6)));
  EXPECT_EQ(d.Image_ciel->image().surface().row(50)[50], render::pixel_rgb(0, 255, 255));
  d.repaint();
  EXPECT_EQ(controle_rendus().rendus_dans_peinture, 0);
}

TEST(OptionsVueMeteo, ExtremeTypedValuesGivePreviewsThatRunClean) {
  Banc b(0, false);
  b.e.vue.horizon = 1;
  b.e.vue.type_ciel = 1;
  b.e.vue.brume = 1;
  b.e.vue.reflet = 1;
  TPagesDlg2& d = b.ouvrir(6);
  const std::pair<int, const char*> cas[] = {{2, "1000000"}, {3, "-10"}, {3, "30"}, {4, "0"},
                                            {0, "0"},       {0, "1000"}, {6, "50"}, {7, "200"}};
  for (auto [k, texte] : cas) {
    d.edits_meteo[std::size_t(k)]->setText(texte);
    d.Edit1_meteoChange(d.edits_meteo[std::size_t(k)]);
    d.Image_brume->calculer();
    d.Image_ciel->calculer();
    d.Image_mer->calculer();
  }
  d.vues[0].couleurs_defaut = 0;
  d.vues[0].couleurs.fill(Rgb{0, 0, 0});
  d.Btn_PrevClick();
  d.Image_palette->repaint();
}

// ---------------------------------------------------------------- Trees page

TEST(OptionsVueArbres, AvailableLayersKindsAndLimits) {
  Banc b(0);
  b.e.montagnes[1]->especes = {0, 0, 0, 1, 0, 0, 0};
  b.e.vue.foret = 1;
  b.e.vue.detail_arbres = 1;
  b.e.vue.arbres[1].hauteur = 33;
  TPagesDlg2& d = b.ouvrir(3);
  EXPECT_EQ(d.couche_choisie, 3);
  for (int k = 1; k <= 6; ++k) EXPECT_EQ(d.radios_couche[std::size_t(k - 1)]->isEnabled(), k == 3) << k;
  ScopedFakeUserInterface ui;
  d.ComboBox_couche->setCurrentIndex(0);
  d.ComboBox_couche1Change(0);
  ASSERT_EQ(ui.entries.size(), 1u);
  EXPECT_EQ(ui.entries[0].text, "The selected layer doestn't appear in the displayed mountain !");
  EXPECT_TRUE(ui.entries[0].information);
  EXPECT_EQ(d.ComboBox_couche->currentIndex(), 2);
  EXPECT_EQ(d.couche_choisie, 3);
  // Kinds: the defaults, the height kept; loading a layer applies none.
  d.vues[0].arbres[2].hauteur = 33;
  d.ComboBox_type1Change(1);
  const espece_arbres& c = d.vues[0].arbres[2];
  EXPECT_EQ(c.espece, 2);
  EXPECT_EQ(c.diversite, 2);
  EXPECT_EQ(c.largeur, 10);
  EXPECT_EQ(c.poids_branches, 24);
  EXPECT_EQ(c.taux_croissance, 5);
  EXPECT_EQ(c.taille_feuilles, 4);
  EXPECT_EQ(c.largeur_feuilles, 8);
  EXPECT_EQ(c.hauteur_tronc, 8);
  EXPECT_EQ(c.largeur_tronc, 4);
  EXPECT_EQ(c.hauteur, 33);
  d.vues[0].arbres[2].diversite = 9;
  d.charger_arbres();
  EXPECT_EQ(d.vues[0].arbres[2].diversite, 9);
  EXPECT_EQ(d.ComboBox_type->currentIndex(), 1);
  // Limits of the edits; trunk height kept as typed.
  struct Cas {
    int edit;
    const char* texte;
    std::int32_t espece_arbres::*champ;
    int attendu;
  };
  for (const Cas& k : {Cas{7, "0", &espece_arbres::taux_croissance, 1}, Cas{7, "15", &espece_arbres::taux_croissance, 10},
                       Cas{0, "0", &espece_arbres::hauteur, 1}, Cas{5, "-3", &espece_arbres::hauteur_tronc, -3}}) {
    d.edits_arbres[std::size_t(k.edit)]->setText(k.texte);
    d.Edit_arbresExit(d.edits_arbres[std::size_t(k.edit)]);
    EXPECT_EQ(d.vues[0].arbres[2].*k.champ, k.attendu) << k.texte;
  }
  // No bar stores a zero size or growth.
  for (int k : {0, 1, 2, 3, 4, 7}) EXPECT_EQ(d.glissieres_arbres[std::size_t(k)]->MinValue(), 1) << k;
}

TEST(OptionsVueArbres, EveryKindsDefaults) {
  const int table[8][7] = {{4, 10, 6, 8, 4, 4, 20}, {2, 10, 4, 8, 8, 4, 24}, {4, 10, 8, 8, 6, 4, 20},
                           {5, 8, 5, 10, 5, 3, 16},  {5, 10, 6, 8, 8, 5, 25}, {3, 12, 5, 10, 6, 4, 14},
                           {4, 12, 3, 8, 4, 5, 20},  {4, 8, 6, 12, 4, 5, 20}};
  for (int e = 1; e <= 8; ++e) {
    espece_arbres c{};
    c.hauteur = 17;
    defauts_espece(c, e);
    const int* t = table[e - 1];
    EXPECT_EQ((std::array<int, 9>{c.diversite, c.largeur, c.taille_feuilles, c.largeur_feuilles, c.hauteur_tronc,
                                  c.largeur_tronc, c.poids_branches, c.taux_croissance, c.hauteur}),
              (std::array<int, 9>{t[0], t[1], t[2], t[3], t[4], t[5], t[6], 5, 17}))
        << e;
  }
}

TEST(OptionsVueArbres, UpDownSkipsMissingLayersAndSeeds) {
  Banc b(0);
  b.e.montagnes[1]->especes = {0, 0, 1, 0, 0, 1, 0};
  TPagesDlg2& d = b.ouvrir(3);
  EXPECT_EQ(d.couche_choisie, 2);
  d.UpDown_couche->monter();
  EXPECT_EQ(d.couche_choisie, 5);
  d.UpDown_couche->descendre();
  EXPECT_EQ(d.couche_choisie, 2);
  d.graine_arbre = 11111;
  d.Button_a1Click();
  EXPECT_EQ(d.graine_arbre, 111);
  d.Button_a1Click();
  EXPECT_EQ(d.graine_arbre, 122);
  set_clock_for_tests([] { return std::uint32_t(((10 * 60 + 20) * 60 + 30) * 1000 + 456); });
  d.Button_a4Click();
  set_clock_for_tests({});
  EXPECT_EQ(d.angle_arbre, 162);
  EXPECT_EQ(d.graine_arbre, 123);
}

TEST(OptionsVueArbres, TreePreviewCallsAndPictures) {
  Banc b(0);
  b.e.montagnes[1]->especes = {0, 1, 1, 1, 1, 1, 1};
  b.e.vue.angle_vertical = 25;
  b.e.vue.foret = 1;
  b.e.vue.detail_arbres = 1;
  for (auto& c : b.e.vue.arbres) {
    c.espece = 1;
    defauts_espece(c, 1);
    c.hauteur = 20;
    c.couleur = 1;
  }
  TPagesDlg2& d = b.ouvrir(3);
  controle_arbres().effacer();
  d.drapeau_arbres = true;
  d.Image_arbres->invalidate();
  d.Image_arbres->calculer();
  auto dessins = [] {
    std::vector<AppelArbre> r;
    for (const AppelArbre& a : controle_arbres().appels)
      if (a.genre == AppelArbre::dessin) r.push_back(a);
    return r;
  };
  ASSERT_EQ(dessins().size(), 1u);
  EXPECT_EQ(dessins()[0].pied, (render::Point{100, 112}));
  EXPECT_DOUBLE_EQ(dessins()[0].taille, 30.0);
  EXPECT_DOUBLE_EQ(controle_arbres().appels[0].vue.distance, 50.0);
  EXPECT_EQ(controle_arbres().appels[0].vue.premier_plan, 1);
  const render::Bitmap une = d.Image_arbres->image();
  // The same seed and angle give the same picture; turning changes it.
  d.drapeau_arbres = true;
  d.Image_arbres->invalidate();
  d.Image_arbres->calculer();
  EXPECT_TRUE(std::equal(une.surface().row(0), une.surface().row(0) + une.width() * une.height(),
                         d.Image_arbres->image().surface().row(0)));
  emit d.Tourner_D->pressed();
  for (int k = 0; k < 10; ++k) {
    d.Timer_tournerTimer();
    d.Image_arbres->calculer();
  }
  emit d.Tourner_D->released();
  d.Image_arbres->calculer();
  EXPECT_EQ(d.angle_arbre, 210);
  EXPECT_FALSE(std::equal(une.surface().row(0), une.surface().row(0) + une.width() * une.height(),
                          d.Image_arbres->image().surface().row(0)));
  // A tall layer lowers the foot.
  d.vues[0].arbres[0].hauteur = 50;
  d.angle_arbre = 180;
  controle_arbres().effacer();
  d.drapeau_arbres = true;
  d.Image_arbres->invalidate();
  d.Image_arbres->calculer();
  ASSERT_EQ(dessins().size(), 1u);
  EXPECT_EQ(dessins()[0].pied, (render::Point{100, 160}));
  // Every available layer side by side.
  controle_arbres().effacer();
  const int graine = d.graine_arbre;
  d.Button_a1Click();
  d.Image_arbres->calculer();
  ASSERT_EQ(dessins().size(), 6u);
  std::vector<int> graines;
  for (const AppelArbre& a : controle_arbres().appels)
    if (a.genre == AppelArbre::generation) graines.push_back(a.graine);
  for (int k = 1; k <= 6; ++k) {
    EXPECT_EQ(dessins()[std::size_t(k - 1)].pied.x, (k - 1) * 36 + 20);
    EXPECT_DOUBLE_EQ(dessins()[std::size_t(k - 1)].taille, 12.0);
    EXPECT_EQ(graines[std::size_t(k - 1)], graine + 11 + k);
  }
  // The detailed drawing.
  controle_arbres().effacer();
  d.Button_a2Click();
  d.Image_arbres->calculer();
  EXPECT_DOUBLE_EQ(controle_arbres().appels[0].vue.distance, 5.0);
  EXPECT_EQ(controle_arbres().appels[0].vue.detail_arbres, 1);
  EXPECT_EQ(controle_arbres().appels[0].vue.detail_plus, 1);
  ASSERT_EQ(dessins().size(), 1u);
  EXPECT_EQ(dessins()[0].graine_processus, 1024u);
  // Leaf colours from the working palette.
  const int s = d.palette->facteur();
  EXPECT_EQ(48 * s + 18, 210);
  QImage item(100, 20, QImage::Format_RGB32);
  QPainter p(&item);
  d.ComboBox_couleur->OnDrawItem(p, QRect(0, 0, 100, 20), 3, false);
  p.end();
  const Rgb attendu = d.palette->lire_couleur(246);
  EXPECT_EQ(item.pixelColor(95, 2), QColor(attendu.r, attendu.g, attendu.b));
  EXPECT_EQ(d.BitmapList_arbres->Count(), 8);
}

TEST(OptionsVueArbres, CopyWritesAllSixLayersOverTheActiveView) {
  Banc b;
  TPagesDlg2& d = b.ouvrir(3);
  d.changer_vue(2);
  d.vues[0].arbres[5].hauteur = 77;
  d.boutons_copie[1]->click();
  EXPECT_EQ(d.vue_affichee, 1);
  EXPECT_EQ(d.vues[0].arbres[5].hauteur, 77);
}

// ---------------------------------------------------------------- sky folder

TEST(OptionsVueCiel, TheProgramsCloudPictureBecomesTheDefaultSky) {
  QTemporaryDir dossier;
  Banc b(0);
  b.e.dossier_programme = dossier.path().toStdString();
  b.ouvrir();
  EXPECT_EQ(b.d->ciel_present, 0);
  EXPECT_EQ(b.d->vues[0].fichier_ciel, "");
  std::filesystem::create_directories(b.e.dossier_programme + "/ciels");
  ASSERT_TRUE(ecrire_fichier(b.e.dossier_programme + "/ciels/nuage.jpg", "jpeg").empty());
  b.ouvrir();
  EXPECT_EQ(b.d->ciel_present, 1);
  EXPECT_EQ(b.d->vues[0].fichier_ciel, b.e.dossier_programme + "/ciels/nuage.jpg");
  b.e.vue.fichier_ciel = "C:\\Quorvel\\ciels\\nuage.jpg";
  b.ouvrir();
  EXPECT_EQ(b.d->vues[0].fichier_ciel, "C:\\Quorvel\\ciels\\nuage.jpg");
}
