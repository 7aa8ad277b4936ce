// The Arbres page of the view options dialog, built from a record and driven
// through its controls: the layers the displayed mountain holds, the kinds and
// their defaults, a layer without a kind, the edits' limits, and the tree
// preview's calls and pictures.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QPainter>
#include <array>
#include <cmath>

#include "controls/combobox.h"
#include "controls/imagelist.h"
#include "controls/trackbar.h"
#include "dialogs/arbres_apercu.h"
#include "dialogs/options_vue_arbres.h"
#include "dialogs/options_vue_calculs.h"
#include "model/aleatoire.h"
#include "render/palette.h"
#include "tests/dialogs/options_vue_banc.h"
#include "tests/support/fakes.h"
#include "tests/support/observation.h"

using namespace fenetres;

using namespace dialogs;
using namespace banc_options_vue;

namespace {

constexpr double kDegre = 3.14159265358979323846 / 180;

// The preview's calls seen while it is installed.
using EnregistreurArbres = test_observation::Enregistrement<ObservateurApercuArbres, observer_apercu_arbres, AppelArbre>;

std::vector<AppelArbre> appels(const EnregistreurArbres& arbres, AppelArbre::Genre genre) {
  std::vector<AppelArbre> r;
  for (const AppelArbre& a : arbres.appels)
    if (a.genre == genre) r.push_back(a);
  return r;
}

}  // namespace

TEST(OptionsVueArbres, AvailableLayersKindsAndLimits) {
  BancPage<PageArbresVue> b;
  b.contexte.montagnes[1]->especes = {0, 0, 0, 1, 0, 0, 0};
  b.vue.foret = 1;
  b.vue.detail_arbres = 1;
  b.vue.arbres[2].hauteur = 33;
  b.vue.arbres[2].espece = 1;
  PageArbresVue& p = b.ouvrir();
  auto* couches = b.operator()<QComboBox>("ComboBox_couche");
  EXPECT_EQ(couches->currentIndex(), 2);
  EXPECT_TRUE(b.operator()<QRadioButton>("RadioButton_C3")->isChecked());
  for (int k = 1; k <= 6; ++k)
    EXPECT_EQ(b(QString("RadioButton_C%1").arg(k).toLatin1().constData())->isEnabled(), k == 3) << k;
  ScopedFakeUserInterface ui;
  QTest::keyClick(couches, Qt::Key_Home);
  ASSERT_EQ(ui.entries.size(), 1u);
  EXPECT_EQ(ui.entries[0].text, "The selected layer doestn't appear in the displayed mountain !");
  EXPECT_TRUE(ui.entries[0].information);
  EXPECT_EQ(couches->currentIndex(), 2);
  EXPECT_TRUE(b.operator()<QRadioButton>("RadioButton_C3")->isChecked());
  // Kinds: the defaults, the height kept; loading a layer applies none.
  choisir(b.operator()<QComboBox>("ComboBox_type"), 1);
  const espece_arbres c = b.rangee().arbres[2];
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
  param_vue v = b.rangee();
  v.arbres[2].diversite = 9;
  p.charger(v);
  EXPECT_EQ(b.rangee().arbres[2].diversite, 9);
  EXPECT_EQ(b.operator()<QComboBox>("ComboBox_type")->currentIndex(), 1);
  // Limits of the edits; trunk height kept as typed.
  struct Cas {
    const char* edit;
    const char* texte;
    std::int32_t espece_arbres::*champ;
    int attendu;
  };
  for (const Cas& k : {Cas{"Edit_croissance", "0", &espece_arbres::taux_croissance, 1},
                       Cas{"Edit_croissance", "15", &espece_arbres::taux_croissance, 10},
                       Cas{"Edit_hauteur", "0", &espece_arbres::hauteur, 1},
                       Cas{"Edit_Haut_tronc", "-3", &espece_arbres::hauteur_tronc, -3}}) {
    taper(b.operator()<QLineEdit>(k.edit), k.texte);
    EXPECT_EQ(b.rangee().arbres[2].*k.champ, k.attendu) << k.texte;
  }
  // No bar stores a zero size or growth.
  for (const char* nom : {"TrackBar_hauteur", "TrackBar_largeur", "TrackBar_poids", "TrackBar_taille_f",
                          "TrackBar_largeur_f", "TrackBar_croissance"})
    EXPECT_EQ(b.operator()<CtlTrackBar>(nom)->MinValue(), 1) << nom;
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
  EnregistreurArbres arbres;
  BancPage<PageArbresVue> b;
  b.contexte.montagnes[1]->especes = {0, 0, 1, 0, 0, 1, 0};
  b.vue.foret = b.vue.detail_arbres = 1;
  for (auto& c : b.vue.arbres) c.espece = 2;  // a layer without a kind draws nothing
  b.ouvrir();
  auto* couche = b.operator()<HautBas>("UpDown_couche");
  EXPECT_TRUE(b.operator()<QRadioButton>("RadioButton_C2")->isChecked());
  couche->monter();
  EXPECT_TRUE(b.operator()<QRadioButton>("RadioButton_C5")->isChecked());
  couche->descendre();
  EXPECT_TRUE(b.operator()<QRadioButton>("RadioButton_C2")->isChecked());
  // "draw a tree for each layer" draws layers 2 and 5 with the seed plus the layer.
  auto graines = [&] {
    arbres.effacer();
    b.calculer();
    std::vector<int> g;
    for (const AppelArbre& a : appels(arbres, AppelArbre::generation)) g.push_back(a.graine);
    return g;
  };
  auto* couches = b.operator()<QPushButton>("Button_a1");
  for (int k = 0; k < 1000; ++k) couches->click();
  EXPECT_EQ(graines(), (std::vector<int>{11113, 11116}));
  cliquer(couches);
  EXPECT_EQ(graines(), (std::vector<int>{113, 116}));
  cliquer(couches);
  EXPECT_EQ(graines(), (std::vector<int>{124, 127}));
  set_clock_for_tests([] { return std::uint32_t(((10 * 60 + 20) * 60 + 30) * 1000 + 456); });
  cliquer(b("Button_a4"));
  set_clock_for_tests({});
  EXPECT_EQ(graines(), (std::vector<int>{123}));
  EXPECT_NEAR(appels(arbres, AppelArbre::generation)[0].cos_t, std::cos(162 * kDegre), 1e-12);
}

TEST(OptionsVueArbres, TreePreviewCallsAndPictures) {
  EnregistreurArbres arbres;
  BancPage<PageArbresVue> b;
  b.contexte.montagnes[1]->especes = {0, 1, 1, 1, 1, 1, 1};
  b.vue.angle_vertical = 25;
  b.vue.foret = 1;
  b.vue.detail_arbres = 1;
  for (auto& c : b.vue.arbres) {
    c.espece = 1;
    defauts_espece(c, 1);
    c.hauteur = 20;
    c.couleur = 1;
  }
  PageArbresVue& p = b.ouvrir();
  auto* apercu = b.operator()<PreviewBox>("Image_arbres");
  arbres.effacer();
  p.charger(b.vue);
  apercu->calculer();
  ASSERT_EQ(appels(arbres, AppelArbre::dessin).size(), 1u);
  EXPECT_EQ(appels(arbres, AppelArbre::dessin)[0].pied, (render::Point{100, 112}));
  EXPECT_DOUBLE_EQ(appels(arbres, AppelArbre::dessin)[0].taille, 30.0);
  EXPECT_DOUBLE_EQ(arbres.appels[0].vue.distance, 50.0);
  EXPECT_EQ(arbres.appels[0].vue.premier_plan, 1);
  const render::Bitmap une = apercu->image();
  auto meme = [&] {
    return std::equal(une.surface().row(0), une.surface().row(0) + une.width() * une.height(),
                      apercu->image().surface().row(0));
  };
  // The same seed and angle give the same picture; turning changes it.
  p.charger(b.vue);
  apercu->calculer();
  EXPECT_TRUE(meme());
  auto* tourner = b("Tourner_D");
  auto* minuterie = b.page->findChild<QTimer*>("Timer_tourner");
  appuyer(tourner);
  EXPECT_TRUE(minuterie->isActive());
  for (int k = 0; k < 10; ++k) {
    tic(minuterie);
    apercu->calculer();
  }
  relacher(tourner);
  EXPECT_FALSE(minuterie->isActive());
  arbres.effacer();
  apercu->calculer();
  EXPECT_NEAR(appels(arbres, AppelArbre::generation)[0].cos_t, std::cos(210 * kDegre), 1e-12);
  EXPECT_FALSE(meme());
  // A tall layer lowers the foot.
  taper(b.operator()<QLineEdit>("Edit_hauteur"), "50");
  arbres.effacer();
  apercu->calculer();
  ASSERT_EQ(appels(arbres, AppelArbre::dessin).size(), 1u);
  EXPECT_EQ(appels(arbres, AppelArbre::dessin)[0].pied, (render::Point{100, 160}));
  // Every available layer side by side.
  arbres.effacer();
  cliquer(b("Button_a1"));
  apercu->calculer();
  ASSERT_EQ(appels(arbres, AppelArbre::dessin).size(), 6u);
  const std::vector<AppelArbre> generations = appels(arbres, AppelArbre::generation);
  for (int k = 1; k <= 6; ++k) {
    EXPECT_EQ(appels(arbres, AppelArbre::dessin)[std::size_t(k - 1)].pied.x, (k - 1) * 36 + 20);
    EXPECT_DOUBLE_EQ(appels(arbres, AppelArbre::dessin)[std::size_t(k - 1)].taille, 12.0);
    EXPECT_EQ(generations[std::size_t(k - 1)].graine, 111 + 11 + k);
  }
  // The detailed drawing.
  arbres.effacer();
  cliquer(b("Button_A2"));
  apercu->calculer();
  EXPECT_DOUBLE_EQ(arbres.appels[0].vue.distance, 5.0);
  EXPECT_EQ(arbres.appels[0].vue.detail_arbres, 1);
  EXPECT_EQ(arbres.appels[0].vue.detail_plus, 1);
  ASSERT_EQ(appels(arbres, AppelArbre::dessin).size(), 1u);
  EXPECT_EQ(appels(arbres, AppelArbre::dessin)[0].graine_processus, 1024u);
  // Leaf colours from the page's palette.
  const auto palette = palette_de(b.rangee());
  const int s = palette->facteur();
  EXPECT_EQ(48 * s + 18, 210);
  QImage item(100, 20, QImage::Format_RGB32);
  QPainter peintre(&item);
  b.operator()<CtlComboBox>("ComboBox_couleur")->OnDrawItem(peintre, QRect(0, 0, 100, 20), 3, false);
  peintre.end();
  const Rgb attendu = palette->lire_couleur(246);
  EXPECT_EQ(item.pixelColor(95, 2), QColor(attendu.r, attendu.g, attendu.b));
  EXPECT_EQ(b.operator()<CtlBitmapList>("BitmapList_arbres")->Count(), 8);
}

// A layer without a kind (0, as a fresh options file has them) shows no kind
// chosen and draws nothing; choosing Oak then loads Oak's values. The kind
// list's rows are each as tall as their picture.
TEST(OptionsVueArbres, ALayerWithoutAKindShowsNoneAndDrawsNothing) {
  EnregistreurArbres arbres;
  BancPage<PageArbresVue> b;
  b.contexte.montagnes[1]->especes = {0, 1, 1, 1, 1, 1, 1};
  b.vue.foret = 1;
  b.vue.detail_arbres = 1;
  for (auto& c : b.vue.arbres) c = espece_arbres{};
  b.vue.arbres[0].hauteur = 20;
  b.vue.arbres[3].espece = 3;
  defauts_espece(b.vue.arbres[3], 3);
  b.vue.arbres[3].hauteur = 20;
  b.ouvrir();
  auto* genre = b.operator()<CtlImageComboBox>("ComboBox_type");
  EXPECT_EQ(genre->currentIndex(), -1);
  auto* apercu = b.operator()<PreviewBox>("Image_arbres");
  arbres.effacer();
  apercu->calculer();
  EXPECT_TRUE(arbres.appels.empty());
  const render::Bitmap image = apercu->image();
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) ASSERT_EQ(image.at(x, y), render::pixel_rgb(0, 255, 255)) << x << "," << y;
  // Every layer side by side: only the one with a kind.
  cliquer(b("Button_a1"));
  apercu->calculer();
  ASSERT_EQ(appels(arbres, AppelArbre::dessin).size(), 1u);
  EXPECT_EQ(appels(arbres, AppelArbre::dessin)[0].pied.x, 3 * 36 + 20);
  // Choosing Oak loads its values, the height kept.
  choisir(genre, 0);
  const espece_arbres c = b.rangee().arbres[0];
  EXPECT_EQ(c.espece, 1);
  EXPECT_EQ((std::array<int, 5>{c.diversite, c.taille_feuilles, c.hauteur_tronc, c.poids_branches, c.hauteur}),
            (std::array<int, 5>{4, 6, 4, 20, 20}));
  EXPECT_EQ(genre->currentIndex(), 0);
  auto* images = b.operator()<CtlBitmapList>("BitmapList_arbres");
  for (int k = 0; k < genre->count(); ++k)
    EXPECT_GE(genre->view()->sizeHintForRow(k), images->GetImage(k, 0).height()) << k;
}

// Only the observer installed sees the preview's calls, and the one it
// replaced sees them again once it is gone; with none, nothing watches them.
TEST(OptionsVueArbres, OnlyTheInstalledObserverSeesThePreviewsCalls) {
  BancPage<PageArbresVue> b;
  b.vue.foret = b.vue.detail_arbres = 1;
  for (auto& c : b.vue.arbres) {
    defauts_espece(c, 1);
    c.espece = 1;
    c.hauteur = 20;
  }
  b.ouvrir();
  auto* apercu = b.operator()<PreviewBox>("Image_arbres");
  auto dessiner = [&] {
    b.page->charger(b.vue);
    apercu->calculer();
  };
  EXPECT_EQ(observer_apercu_arbres(nullptr), nullptr);
  dessiner();
  {
    EnregistreurArbres premier;
    dessiner();
    {
      EnregistreurArbres second;
      dessiner();
      EXPECT_EQ(second.appels.size(), 3u);
    }
    EXPECT_EQ(premier.appels.size(), 3u);
    dessiner();
    ASSERT_EQ(premier.appels.size(), 6u);
    EXPECT_EQ(premier.appels[3].genre, AppelArbre::creation);
    EXPECT_EQ(premier.appels[4].genre, AppelArbre::generation);
    EXPECT_EQ(premier.appels[5].genre, AppelArbre::dessin);
  }
  EXPECT_EQ(observer_apercu_arbres(nullptr), nullptr);
}
