// The view options dialog: its arithmetic, the preview terrains, the view list
// protocol and the copy buttons, edits on several pages, the sight lines on
// the map editor and the sky folder. Each page has its own test file.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <filesystem>

#include "controls/checkbox.h"
#include "dialogs/edition.h"
#include "dialogs/options_vue_calculs.h"
#include "fenetres/aide_enfants.h"
#include "model/noeuds.h"
#include "platform/fichiers.h"
#include "tests/app/comparaison_records.h"
#include "tests/dialogs/options_vue_banc.h"
#include "tests/support/empreinte.h"
#include "tests/support/touche_aide.h"
#include "tests/support/rendus.h"

using namespace fenetres;
using test_rendus::controle_rendus;

using namespace dialogs;
using namespace banc_options_vue;

namespace {

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

// The user's page steps.
void suivante(Banc& b) { cliquer(b("btn_next")); }
void precedente(Banc& b) { cliquer(b("btn_prev")); }

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

  // A view of mountain 5 previews mountain 5: its samples fill the preview
  // terrains, every second node in the coarse one.
  ContexteOptionsVue c;
  c.montagnes[5] = m;
  c.montagne_affichee = 5;
  c.preparer(parametres_test(5), "");
  EXPECT_EQ(c.apercu().hauteurs->lire(2, 18), 134);
  for (int i = 1; i <= 17; ++i)
    for (int j = 1; i + j <= 18; ++j)
      ASSERT_EQ(c.rapide().hauteurs->lire(i, j), c.apercu().hauteurs->lire(2 * i - 1, 2 * j - 1));
  // Another mountain displayed loads its own samples.
  auto cone = terrain_synthetique("cone", 6, 1500);
  c.montagnes[1] = decrire_montagne(*cone);
  c.montagne_affichee = 1;
  EXPECT_EQ(c.apercu().hauteurs->lire(2, 18), c.montagnes[1]->echantillons[2][18]);
  EXPECT_NE(c.apercu().hauteurs->lire(2, 18), 134);
}

// ---------------------------------------------------------------- list and protocol

TEST(OptionsVueListe, NoViewAndNoMountainShowsModeleWithTheListDisabled) {
  Banc b(0);
  b.e.montagne_courante = 0;
  b.ouvrir();
  auto* liste = b.operator()<QComboBox>("ComboBox_no");
  ASSERT_EQ(liste->count(), 1);
  EXPECT_EQ(liste->itemText(0), "Modele");
  EXPECT_FALSE(liste->isEnabled());
  EXPECT_FALSE(b("UpDown_no")->isEnabled());
  EXPECT_FALSE(b("BitBtn_no_cadre")->isEnabled());
  EXPECT_FALSE(b("RadioButton_Refaire")->isEnabled());
}

TEST(OptionsVueListe, OneViewKeepsTheCopyButtonsDisabled) {
  Banc b(1);
  b.e.vue.largeur_image = 640;  // the default record fits a radio, the view's does not
  b.e.vue.hauteur_image = 480;
  b.ouvrir(2);
  EXPECT_TRUE(b.operator()<CtlCheckBox>("CheckBox_spex")->Checked());
  for (const char* r : {"RadioButton_320x", "RadioButton_640x", "RadioButton_800x", "RadioButton_1024x"})
    EXPECT_FALSE(b.operator()<QRadioButton>(r)->isChecked()) << r;
  EXPECT_TRUE(b("RadioButton_Refaire")->isEnabled());
  EXPECT_FALSE(b("BitBtn_no_cadre")->isEnabled());
  EXPECT_EQ(b.vue().largeur_image, 500);  // the view window's size, the record is not predefined
}

TEST(OptionsVueListe, SwitchingViewsKeepsTheirEditsAndOkReturnsTheDisplayedOne) {
  Banc b;
  TPagesDlg2& d = b.ouvrir(2);
  EXPECT_EQ(b.vue().angle_horizontal, 10);
  EXPECT_FALSE(b("BitBtn_no_cadre")->isEnabled());
  glisser(b.operator()<QScrollBar>("ScrollBar_zoom"), 33);  // an edit to A
  b.operator()<HautBas>("UpDown_no")->monter();
  EXPECT_EQ(d.sorties().vue_choisie, 3);
  EXPECT_EQ(b.vue().angle_horizontal, 20);
  EXPECT_TRUE(b("BitBtn_no_cadre")->isEnabled());
  EXPECT_EQ(b.operator()<QLabel>("Label_no")->text(), "3");
  auto* liste = b.operator()<QComboBox>("ComboBox_no");
  emit liste->activated(4);  // outside the list: ignored
  EXPECT_EQ(d.sorties().vue_choisie, 3);
  choisir(liste, 0);
  EXPECT_EQ(d.sorties().vue_choisie, 1);
  EXPECT_EQ(b.vue().zoom, 33);
  cliquer(b("RadioButton_Refaire"));
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
  b.operator()<HautBas>("UpDown_no")->monter();
  suivante(b);
  suivante(b);
  taper(b.operator()<QLineEdit>("Edit_mer"), "999");  // not a framing field
  precedente(b);
  precedente(b);
  glisser(b.operator()<QScrollBar>("ScrollBar_zoom"), 44);
  for (int k = 0; k < 7; ++k) cliquer(b("BitBtn_D"));
  cliquer(b("BitBtn_no_cadre"));
  EXPECT_EQ(d.sorties().vue_choisie, 1);
  EXPECT_EQ(b.vue().zoom, 44);
  EXPECT_EQ(b.vue().centre_x, 7);
  EXPECT_EQ(b.vue().angle_horizontal, 20);
  EXPECT_NE(b.vue().niveau_mer, 999);
  b.operator()<HautBas>("UpDown_no")->monter();
  EXPECT_EQ(b.vue().niveau_mer, 999);  // view B keeps its own edit
}

TEST(OptionsVueListe, EditsOnSeveralPagesAllReachTheRecord) {
  Banc b(0);
  b.ouvrir(2);
  glisser(b.operator()<QScrollBar>("ScrollBar_zoom"), 25);
  suivante(b);
  suivante(b);
  taper(b.operator()<QLineEdit>("Edit_mer"), "-70");
  suivante(b);
  suivante(b);
  cliquer(b("RadioGroup_temps_1"));  // Mist
  cliquer(b.d->findChild<OngletsPlats*>()->onglet(2));
  cliquer(b("BitBtn_H"));
  const param_vue v = b.vue();
  EXPECT_EQ(v.zoom, 25);
  EXPECT_EQ(v.centre_y, b.e.vue.centre_y - 1);
  EXPECT_EQ(v.niveau_mer, -70);
  EXPECT_EQ(v.brume, 1);
  EXPECT_EQ(v.ombre_portee, 0);
  EXPECT_EQ(b.d->sorties().page, 2);
}

TEST(OptionsVueListe, UntouchedOkGivesTheRecordBackAndPagesStepWithinOneToSix) {
  Banc b(0);
  b.e.vue.dim_predef = 0;
  b.e.vue.echelle_fixe = 1;
  TPagesDlg2& d = b.ouvrir(6);
  EXPECT_EQ(d.sorties().page, 6);
  EXPECT_FALSE(b("btn_next")->isEnabled());
  comparer_vue(d.sorties().vue, b.e.vue);
  for (int k = 0; k < 6; ++k) b.operator()<QPushButton>("btn_prev")->click();
  EXPECT_EQ(d.sorties().page, 1);
  EXPECT_FALSE(b("btn_prev")->isEnabled());
  EXPECT_TRUE(b("btn_next")->isEnabled());
  comparer_vue(d.sorties().vue, b.e.vue);
  std::vector<int> sujets;
  fixer_afficheur_aide([&](int s) { sujets.push_back(s); });
  cliquer(b("HelpBtn"));
  suivante(b);
  cliquer(b("HelpBtn"));
  fixer_afficheur_aide({});
  EXPECT_EQ(sujets, (std::vector<int>{306, 302}));
}

// ---------------------------------------------------------------- copy buttons

TEST(OptionsVueListe, CopyOfTheLevelsLeavesTheActiveViewsSandHeight) {
  Banc b;
  b.e.documents[0].parametres.hauteur_sable = 11;
  b.e.documents[1].parametres.strates = 0;
  TPagesDlg2& d = b.ouvrir(4);
  b.operator()<HautBas>("UpDown_no")->monter();
  taper(b.operator()<QLineEdit>("Edit_mer"), "77");
  taper(b.operator()<QLineEdit>("Edit_sable"), "-500");
  cliquer(b("CheckBox_strates"));
  cliquer(b("BitBtn_no_niv"));
  EXPECT_EQ(d.sorties().vue_choisie, 1);
  EXPECT_EQ(b.vue().niveau_mer, 77);
  EXPECT_EQ(b.vue().strates, 1);
  EXPECT_EQ(b.vue().hauteur_sable, 11);
}

TEST(OptionsVueListe, CopyOfTheTreesWritesAllSixLayersOverTheActiveView) {
  Banc b;
  b.e.montagnes[1]->especes = {0, 1, 1, 1, 1, 1, 1};
  TPagesDlg2& d = b.ouvrir(3);
  b.operator()<HautBas>("UpDown_no")->monter();
  cliquer(b("RadioButton_C6"));
  taper(b.operator()<QLineEdit>("Edit_hauteur"), "77");
  cliquer(b("BitBtn_no_arbre"));
  EXPECT_EQ(d.sorties().vue_choisie, 1);
  EXPECT_EQ(b.vue().arbres[5].hauteur, 77);
}

TEST(OptionsVueListe, CopyOfTheColoursCarriesTheOwnColoursOnly) {
  Banc b;
  b.e.documents[0].parametres.couleurs_defaut = 0;
  b.e.documents[0].parametres.couleurs[0] = {1, 2, 3};
  b.e.documents[1].parametres.couleurs_defaut = 1;
  b.e.documents[1].parametres.contraste = 30;
  TPagesDlg2& d = b.ouvrir(5);
  b.operator()<HautBas>("UpDown_no")->monter();
  cliquer(b("BitBtn_no_coul"));
  EXPECT_EQ(d.sorties().vue_choisie, 1);
  EXPECT_EQ(b.vue().contraste, 30);
  EXPECT_EQ(b.vue().couleurs_defaut, 1);
  EXPECT_EQ(b.vue().couleurs[0].r, 1);  // base colours are not copied over own ones
}

// ---------------------------------------------------------------- sight lines

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
    d.show();
    element<PreviewBox>(&d, "Image_cadrage")->calculer();
    element<PreviewBox>(&d, "Image_cadre")->calculer();
    ASSERT_EQ(editeur.appels.size(), 1u);
    const auto& a = editeur.appels[0];
    EXPECT_FALSE(a.marqueur);
    // The sight lines come from the last render of the preview: the real terrain.
    EXPECT_EQ(a.ox, t->etat_rendu.oeil_x);
    EXPECT_EQ(a.ax, t->etat_rendu.bord_gauche_x);
    EXPECT_EQ(a.by, t->etat_rendu.bord_droit_y);
    EXPECT_TRUE(a.ax != 0 || a.bx != 0);
    cliquer(element(&d, "CheckBox_observateur"));
    element<PreviewBox>(&d, "Image_cadrage")->calculer();
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
  d.show();
  auto* apercu = element<PreviewBox>(&d, "Image_cadrage");
  apercu->calculer();
  QApplication::processEvents();  // the paint that shows the lines keeps them
  const QImage avec_lignes = ed.Image1.copy();
  EXPECT_NE(avec_lignes, carte);
  // The same framing again (the detail lock off and on): the old pair is
  // erased and the same pair drawn.
  cliquer(element(&d, "Button_detail_lock"));
  cliquer(element(&d, "Button_detail_lock"));
  apercu->calculer();
  EXPECT_EQ(ed.Image1, avec_lignes);
  // A view whose edge points were not recorded draws no line.
  t->etat_rendu = {};
  ed.point_observateur(false, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(ed.Image1, carte);
  d.close();
  ed.close();
  QApplication::processEvents();
  controle_rendus().effacer();
}

// ---------------------------------------------------------------- sky folder

TEST(OptionsVueCiel, TheProgramsCloudPictureBecomesTheDefaultSky) {
  QTemporaryDir dossier;
  Banc b(0);
  b.e.dossier_programme = dossier.path().toStdString();
  b.ouvrir();
  EXPECT_EQ(b.vue().fichier_ciel, "");
  std::filesystem::create_directories(b.e.dossier_programme + "/ciels");
  ASSERT_TRUE(ecrire_fichier(b.e.dossier_programme + "/ciels/nuage.jpg", "jpeg").empty());
  b.ouvrir();
  EXPECT_EQ(b.vue().fichier_ciel, b.e.dossier_programme + "/ciels/nuage.jpg");
  b.e.vue.fichier_ciel = "C:\\Quorvel\\ciels\\nuage.jpg";
  b.ouvrir();
  EXPECT_EQ(b.vue().fichier_ciel, "C:\\Quorvel\\ciels\\nuage.jpg");
  // The default sky reaches the Weather page, which shows it.
  b.e.vue.fichier_ciel.clear();
  b.ouvrir(6);
  EXPECT_EQ(b.operator()<QLabel>("Label_import")->text(), "nuage.jpg: unreadable");
}

// F1 shows the topic of the page shown, as the Help button does.
TEST(OptionsVue, F1ShowsThePageTopic) {
  banc_options_vue::Banc b(0);
  dialogs::TPagesDlg2& d = b.ouvrir(5);
  EXPECT_EQ(sujets_sur_f1(d), (std::vector<int>{310}));
  EXPECT_EQ(sujets_sur_f1(d, b("OKBtn")), (std::vector<int>{310}));
  EXPECT_FALSE(d.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
}
