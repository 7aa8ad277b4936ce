// The Colours page of the view options dialog, built from a record and driven
// through its list, bars, edits, palette box and colour dialog.
#include <gtest/gtest.h>

#include "controls/trackbar.h"
#include "dialogs/options_vue_boites.h"
#include "dialogs/options_vue_couleurs.h"
#include "render/palette.h"
#include "tests/dialogs/options_vue_banc.h"
#include "tests/support/rendus.h"

using namespace fenetres;
using test_rendus::controle_rendus;

using namespace dialogs;
using namespace banc_options_vue;

namespace {

QColor couleur_de(const TMyPalette& p, int entree) {
  const Rgb c = p.lire_couleur(static_cast<std::uint16_t>(entree));
  return QColor(c.r, c.g, c.b);
}

}  // namespace

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
  std::optional<QColor> reponse;
  BancPage<PageCouleursVue> b;
  b.vue.couleurs_defaut = 1;
  b.vue.contraste = 50;
  b.vue.profondeur_ombre = 20;
  b.vue.couleurs[0] = {202, 200, 200};
  PageCouleursVue& p = b.ouvrir("", [&](const QColor&) { return reponse; });
  auto* liste = b.operator()<QComboBox>("ComboBox_coul");
  auto* echantillon = b.operator()<BoiteCouleur>("Image_couleur");
  EXPECT_EQ(liste->currentText(), "Soil     ");
  EXPECT_EQ(echantillon->entree(), 66);
  EXPECT_EQ(echantillon->grab().toImage().pixelColor(5, 5), QColor(211, 176, 60));
  EXPECT_FALSE(b("Trackbar_rouge")->isEnabled());
  EXPECT_EQ(b.operator()<QLineEdit>("Edit_rouge")->text(), "211");
  for (auto [i, entree] : {std::pair{8, 7}, std::pair{1, 1}, std::pair{7, 5}}) {
    choisir(liste, i - 1);
    EXPECT_EQ(echantillon->entree(), entree) << i;
  }
  cliquer(b("Image_palette"), {5, 111});
  EXPECT_EQ(liste->currentIndex(), 6);
  EXPECT_EQ(b.operator()<BoiteFleche>("Image_fleche")->niveau(), 7);
  // Own colours: typed values within their limits.
  choisir(liste, 2);
  cliquer(b("CheckBox_coul_def"));
  EXPECT_EQ(b.rangee().couleurs_defaut, 0);
  EXPECT_TRUE(b("Trackbar_rouge")->isEnabled());
  auto* lumiere = b.operator()<QLineEdit>("Edit_lumiere");
  for (int k = 0; k < 10; ++k) {
    choisir(liste, 3);
    choisir(liste, 2);
  }
  EXPECT_EQ(lumiere->text(), "200");
  taper(lumiere, "200");
  EXPECT_EQ(b.rangee().couleurs[0].r, 202);
  struct Cas {
    const char* edit;
    const char* texte;
  };
  for (const Cas& c : {Cas{"Edit_rouge", "300"}, Cas{"Edit_vert", "-1"}, Cas{"Edit_bleu", "blue"},
                       Cas{"Edit_contraste", "500"}, Cas{"Edit_ombre", "5"}})
    taper(b.operator()<QLineEdit>(c.edit), c.texte);
  EXPECT_EQ(b.rangee().couleurs[0].r, 255);
  EXPECT_EQ(b.rangee().couleurs[0].g, 0);
  EXPECT_EQ(b.rangee().couleurs[0].b, 0);
  EXPECT_EQ(b.rangee().contraste, 100);
  EXPECT_EQ(b.rangee().profondeur_ombre, 13);
  // A drag rebuilds the palette once, when the timer fires: the sample keeps
  // the colour of the palette made before the drag until then.
  const QColor avant = echantillon->grab().toImage().pixelColor(5, 5);
  auto* vert = b.operator()<CtlTrackBar>("Trackbar_vert");
  for (int g = 10; g < 20; ++g) vert->SetPosition(g);  // as the user's drag does: `changed` on every step
  EXPECT_EQ(b.rangee().couleurs[0].g, 19);
  EXPECT_EQ(echantillon->grab().toImage().pixelColor(5, 5), avant);
  auto* minuterie = b.page->findChild<QTimer*>("Timer1");
  EXPECT_TRUE(minuterie->isActive());
  tic(minuterie);
  EXPECT_FALSE(minuterie->isActive());
  const QColor apres = couleur_de(*palette_de(b.rangee()), 66);
  EXPECT_NE(apres, avant);
  EXPECT_EQ(echantillon->grab().toImage().pixelColor(5, 5), apres);
  // The colour dialog's answer, and Cancel.
  reponse = QColor(153, 102, 51);
  cliquer(b("Button_gri"));
  EXPECT_EQ(b.rangee().couleurs[0].r, 153);
  EXPECT_EQ(b.rangee().couleurs[0].b, 51);
  reponse.reset();
  cliquer(b("Button_gri"));
  EXPECT_EQ(b.rangee().couleurs[0].r, 153);
  p.repaint();
  EXPECT_EQ(controle_rendus().rendus_dans_peinture, 0);
}

TEST(OptionsVueCouleurs, ABlackPaletteDraws) {
  BancPage<PageCouleursVue> b;
  b.vue.couleurs_defaut = 0;
  b.vue.couleurs.fill(Rgb{0, 0, 0});
  b.ouvrir();
  b("Image_palette")->repaint();
  taper(b.operator()<QLineEdit>("Edit_lumiere"), "90");
  EXPECT_EQ(b.rangee().couleurs[0].r, 90);
}
