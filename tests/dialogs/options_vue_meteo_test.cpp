// The Weather page of the view options dialog, built from a record and driven
// through its controls: the weather, the mist, the horizon, the sky and its
// list of pictures, the clouds, the sea and the three previews.
#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <cmath>
#include <filesystem>

#include "dialogs/options_vue_meteo.h"
#include "model/aleatoire.h"
#include "platform/fichiers.h"
#include "render/bmp.h"
#include "render/ciel.h"
#include "render/palette.h"
#include "tests/dialogs/options_vue_banc.h"
#include "tests/support/rendus.h"

using namespace fenetres;
using test_rendus::controle_rendus;

using namespace dialogs;
using namespace banc_options_vue;

namespace {

void cliquer_element(QListWidget* l, int rang) {
  QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(rang)).center());
}

}  // namespace

TEST(OptionsVueMeteo, WeatherSkyAndSeaControls) {
  QTemporaryDir dossier;
  // A picture of the program folder shows in the list when there is no sky folder.
  ASSERT_TRUE(ecrire_fichier(dossier.path().toStdString() + "/p.jpg", "x").empty());
  BancPage<PageMeteoVue> b;
  b.vue.photo_aerienne = 1;
  b.vue.horizon = 1;
  b.vue.type_ciel = 1;
  b.vue.brume = 0;
  b.vue.ombre_portee = 0;
  b.vue.alea_nuages = 1;
  b.vue.fichier_ciel = "x.jpg";
  PageMeteoVue& p = b.ouvrir(dossier.path().toStdString());
  cliquer(b("RadioGroup_temps_0"));  // Sunny refused with picture colours
  EXPECT_TRUE(b.operator()<QRadioButton>("RadioGroup_temps_2")->isChecked());
  EXPECT_EQ(b.rangee().ombre_portee, 0);
  param_vue v = b.rangee();
  v.photo_aerienne = 0;
  p.charger(v);
  cliquer(b("RadioGroup_temps_1"));
  EXPECT_EQ(b.rangee().brume, 1);
  EXPECT_TRUE(b("scrollbar_brume")->isEnabled());
  EXPECT_TRUE(b("ScrollBar_ht_brume")->isEnabled());
  cliquer(b("RadioGroup_temps_0"));
  EXPECT_EQ(b.rangee().ombre_portee, 1);
  EXPECT_FALSE(b("scrollbar_brume")->isEnabled());
  cliquer(b("RadioGroup_temps_2"));
  EXPECT_FALSE(b("ScrollBar_ht_brume")->isEnabled());
  // Density buttons stop at 1 and 100.
  cliquer(b("RadioGroup_temps_1"));
  auto* densite = b.operator()<QLineEdit>("Edit1_brume");
  taper(densite, "2");
  for (int k = 0; k < 5; ++k) cliquer(b("btn_brume_moins"));
  EXPECT_EQ(b.rangee().brume_densite, 1);
  taper(densite, "99");
  for (int k = 0; k < 5; ++k) cliquer(b("btn_brume_plus"));
  EXPECT_EQ(b.rangee().brume_densite, 100);
  // Unticking the horizon: light sky, no sky choice, no list.
  cliquer(b("CheckBox_horizon"));
  EXPECT_EQ(b.rangee().type_ciel, 0);
  EXPECT_FALSE(b("RadioGroup_ciel_1")->isEnabled());
  auto* liste = b.operator()<QListWidget>("FileListBox_images");
  EXPECT_FALSE(liste->isEnabled());
  // No sky folder: the list shows the program folder and the sky file stays.
  cliquer(b("CheckBox_horizon"));
  cliquer(b("RadioGroup_ciel_2"));
  EXPECT_TRUE(liste->isEnabled());
  ASSERT_EQ(liste->count(), 1);
  EXPECT_EQ(liste->item(0)->text(), "p.jpg");
  cliquer_element(liste, 0);
  EXPECT_EQ(b.rangee().fichier_ciel, "x.jpg");
  // "Change" draws the next seed; unticking "Random" keeps the mountain's last clouds.
  set_seed(12345);
  cliquer(b("Changer"));
  EXPECT_EQ(b.rangee().seed_nuages, 15414);
  b.terrain->etat_rendu.resultat_ciel = 321;
  cliquer(b("RadioGroup_ciel_1"));
  cliquer(b("CheckBox_alea"));
  EXPECT_EQ(b.rangee().alea_nuages, 0);
  EXPECT_EQ(b.rangee().seed_nuages, 321);
  // Typed values: unreadable text gives the defaults, no limits.
  taper(b.operator()<QLineEdit>("Edit_txreflets"), "x");
  EXPECT_EQ(b.rangee().taux_reflet, 10);
  taper(b.operator()<QLineEdit>("Edit_nombrenuages"), "1000000");
  EXPECT_EQ(b.rangee().nombre_nuages, 1000000);
}

TEST(OptionsVueMeteo, TheSkyListShowsOnlyThePicturesTheSkyLoads) {
  QTemporaryDir dossier;
  const std::string ciels = dossier.path().toStdString() + "/ciels";
  std::filesystem::create_directories(ciels);
  for (const char* n : {"nuage.jpg", "b.bmp", "C.JPG", "d.png"}) ASSERT_TRUE(ecrire_fichier(ciels + "/" + n, "x").empty());
  ASSERT_TRUE(render::ecrire_bmp(ciels + "/e.bmp", render::Bitmap(4, 4)));
  const std::string long_nom = "sky_rle4_true_colour_evening.bmp";
  ASSERT_TRUE(render::ecrire_bmp(ciels + "/" + long_nom, render::Bitmap(4, 4)));
  BancPage<PageMeteoVue> b;
  b.vue.horizon = 1;
  b.vue.type_ciel = 2;
  b.ouvrir(dossier.path().toStdString());
  auto* liste = b.operator()<QListWidget>("FileListBox_images");
  ASSERT_EQ(liste->count(), 4);
  EXPECT_EQ(liste->item(0)->text(), "b.bmp");
  EXPECT_EQ(liste->item(1)->text(), "e.bmp");
  EXPECT_EQ(liste->item(2)->text(), "nuage.jpg");
  // A name wider than the list is cut in the middle; the tooltip holds it whole.
  const QString coupe = liste->item(3)->text();
  EXPECT_TRUE(coupe.startsWith("sky_") && coupe.endsWith(".bmp") && coupe.contains(QChar(0x2026))) << coupe.toStdString();
  EXPECT_LT(QFontMetrics(liste->font()).horizontalAdvance(coupe), liste->width());
  EXPECT_EQ(liste->item(3)->toolTip(), QString::fromStdString(long_nom));
  // Pictures the sky cannot draw are greyed with the reason, and cannot be chosen.
  EXPECT_EQ(liste->item(0)->toolTip(),
            "b.bmp\nCannot be drawn: it is not a Windows bitmap (it does not start with \"BM\")");
  EXPECT_EQ(liste->item(1)->toolTip(), "e.bmp");
  EXPECT_EQ(liste->item(2)->toolTip(), "nuage.jpg\nCannot be drawn: it is not a JPEG picture");
  EXPECT_EQ(liste->currentRow(), -1) << "the record's default cloud picture cannot be drawn";
  const std::string avant = b.rangee().fichier_ciel;
  cliquer_element(liste, 0);
  EXPECT_EQ(b.rangee().fichier_ciel, avant);
  EXPECT_FALSE(liste->item(0)->flags() & Qt::ItemIsSelectable);
  // A click and the arrow keys choose alike, and the label names the choice.
  cliquer_element(liste, 1);
  EXPECT_EQ(b.rangee().fichier_ciel, std::filesystem::absolute(ciels + "/e.bmp").string());
  auto* nom = b.operator()<QLabel>("Label_import");
  EXPECT_EQ(nom->text(), "e.bmp");
  QTest::keyClick(liste, Qt::Key_Down);  // over the unreadable nuage.jpg
  EXPECT_EQ(liste->currentRow(), 3);
  EXPECT_EQ(b.rangee().fichier_ciel, std::filesystem::absolute(ciels + "/" + long_nom).string());
  EXPECT_EQ(nom->toolTip(), QString::fromStdString(long_nom));
  QTest::keyClick(liste, Qt::Key_Up);
  EXPECT_EQ(b.rangee().fichier_ciel, std::filesystem::absolute(ciels + "/e.bmp").string());
  // Reopened with an imported sky, the list shows that picture selected; an
  // unreadable one is named in the label only.
  param_vue v = b.rangee();
  v.fichier_ciel = ciels + "/" + long_nom;
  PageMeteoVue& page = *b.page;
  page.charger(v);
  EXPECT_EQ(liste->currentRow(), 3);
  EXPECT_TRUE(liste->item(3)->isSelected());
  EXPECT_EQ(b.rangee().fichier_ciel, v.fichier_ciel);
  v.fichier_ciel = ciels + "/b.bmp";
  page.charger(v);
  EXPECT_EQ(liste->currentRow(), -1);
  EXPECT_TRUE(liste->selectedItems().isEmpty());
  EXPECT_EQ(nom->text(), "b.bmp: unreadable");
  EXPECT_EQ(nom->toolTip(), liste->item(0)->toolTip());
}

TEST(OptionsVueMeteo, PreviewsOfMistSkyAndSea) {
  BancPage<PageMeteoVue> b(false);
  b.vue.horizon = 1;
  b.vue.type_ciel = 1;
  b.vue.brume = 1;
  b.vue.brume_densite = 40;
  b.vue.ombre_portee = 0;
  b.vue.reflet = 1;
  b.vue.alea_nuages = 0;  // the clouds of one seed
  b.vue.seed_nuages = 777;
  PageMeteoVue& p = b.ouvrir();
  controle_rendus().appels.clear();
  b.calculer();
  // Mist and sea render; the sky is drawn by the sky object alone.
  ASSERT_EQ(controle_rendus().appels.size(), 2u);
  EXPECT_EQ(controle_rendus().appels[0].largeur, PageMeteoVue::kLargeurApercu);
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
  // The sky preview is the sky of the record, as a view draws it, with the
  // big palette that holds the mist levels.
  const auto palette = palette_de(b.vue, true);
  EXPECT_TRUE(palette->grande());
  render::Bitmap attendu(Round(150 * 1.02), 100);
  render::TCiel ciel;
  render::EntreeCiel e;
  e.ligne_horizon = 100;
  e.ligne_terre = 110;
  e.hauteur_coins = -50;
  e.largeur = 150;
  e.cos_elevation = std::cos(b.vue.elevation_soleil * 3.14159265358979323846 / 180);
  e.cos_azimut = std::cos(b.vue.azimut_soleil * 3.14159265358979323846 / 180);
  e.vue = &b.vue;
  e.image = &attendu;
  e.palette = palette.get();
  ciel.dessiner_ciel(e);
  const render::Bitmap& image_ciel = b.operator()<PreviewBox>("Image_ciel")->image();
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 150; ++x) ASSERT_EQ(image_ciel.surface().row(y)[x], attendu.surface().row(y)[x]);
  // Without horizon: aqua sky, and a sea of entries 1 and 6 without a render.
  cliquer(b("CheckBox_horizon"));
  p.charger(b.rangee());
  controle_rendus().appels.clear();
  b.operator()<PreviewBox>("Image_mer")->calculer();
  b.operator()<PreviewBox>("Image_ciel")->calculer();
  EXPECT_TRUE(controle_rendus().appels.empty());
  const render::Bitmap& image_mer = b.operator()<PreviewBox>("Image_mer")->image();
  EXPECT_EQ(image_mer.surface().row(29)[5], render::pixel_of(palette->lire_couleur(1)));
  EXPECT_EQ(image_mer.surface().row(30)[5], render::pixel_of(palette->lire_couleur(6)));
  EXPECT_EQ(image_ciel.surface().row(50)[50], render::pixel_rgb(0, 255, 255));
  p.repaint();
  EXPECT_EQ(controle_rendus().rendus_dans_peinture, 0);
}

TEST(OptionsVueMeteo, ExtremeTypedValuesGivePreviewsThatRunClean) {
  BancPage<PageMeteoVue> b(false);
  b.vue.horizon = 1;
  b.vue.type_ciel = 1;
  b.vue.brume = 1;
  b.vue.reflet = 1;
  b.ouvrir();
  const std::pair<const char*, const char*> cas[] = {
      {"Edit_nombrenuages", "1000000"}, {"Edit_taillenuages", "-10"}, {"Edit_taillenuages", "30"},
      {"Edit_hautnuages", "0"},         {"Edit1_brume", "0"},         {"Edit1_brume", "1000"},
      {"Edit_txreflets", "50"},         {"Edit_horizon", "200"}};
  for (auto [edit, texte] : cas) {
    taper(b.operator()<QLineEdit>(edit), texte);
    b.calculer();
  }
  EXPECT_EQ(b.rangee().hauteur_horizon, 200);
}
