// The arithmetic of the video settings dialog: typed values, frame labels,
// circle steps, loading defaults, control points, preview terrains and
// pictures, and the preview movie's settings and camera table.
#include <gtest/gtest.h>

#include "model/defauts.h"
#include "model/echantillons.h"
#include "model/matrice.h"
#include "model/noeuds.h"
#include "tests/support/terrains.h"
#include "video/reglages_calculs.h"

using namespace reglages;

// Every typed field of the dialog: a number out of range goes to the nearest
// limit of its bar or edit, however long it is; only text that is no number
// keeps the value.
TEST(ReglagesCalculs, TypedValuesGoToTheirLimitsAndBadTextKeepsTheValue) {
  EXPECT_EQ(largeur_saisie("250", 640), 300);
  EXPECT_EQ(largeur_saisie(" 1024 ", 640), 1024);
  EXPECT_EQ(largeur_saisie("5000", 640), 4095);
  EXPECT_EQ(largeur_saisie("abc", 640), 640);
  EXPECT_EQ(largeur_saisie("99999999999", 640), 4095);
  EXPECT_EQ(largeur_saisie("-99999999999999999999999", 640), 300);
  EXPECT_EQ(hauteur_saisie("150", 480), 200);
  EXPECT_EQ(hauteur_saisie("5000", 480), 4095);
  EXPECT_EQ(hauteur_saisie("", 480), 480);
  EXPECT_EQ(hauteur_saisie("+300", 480), 300);
  EXPECT_EQ(nombre_images_saisi("10000", 500), 9999);
  EXPECT_EQ(nombre_images_saisi("150", 500), 200);
  EXPECT_EQ(nombre_images_saisi("abc", 500), 500);
  EXPECT_EQ(nombre_images_saisi("-5", 500), 200);
  EXPECT_EQ(nombre_images_saisi("2147483648", 500), 9999);
  EXPECT_EQ(valeur_saisie("95", 50, 10, 90), 90);
  EXPECT_EQ(valeur_saisie("x", 50, 10, 90), 50);
  EXPECT_EQ(valeur_saisie("1e3", 50, 10, 90), 50);
  EXPECT_EQ(valeur_saisie("0", 15, 10, 80), 10);
  EXPECT_EQ(valeur_saisie("123456789012345678901234567890", 15, 10, 80), 80);
  EXPECT_EQ(valeur_saisie("-60", -10, -45, 0), -45);
  EXPECT_EQ(valeur_saisie("-", -10, -45, 0), -10);
  EXPECT_EQ(valeur_saisie("x", 0, 10, 80), 10);  // a value read from a file, kept within the limits
}

TEST(ReglagesCalculs, FormatsOfTheSizePage) {
  EXPECT_EQ(format_image(320, 240), Format::f320);
  EXPECT_EQ(format_image(800, 450), Format::f800_16_9);
  EXPECT_EQ(format_image(500, 400), Format::autre);
  EXPECT_EQ(format_image(0, 0), Format::autre);
  int l = 1, h = 1;
  taille_format(Format::f640, l, h);
  EXPECT_EQ(l, 640);
  EXPECT_EQ(h, 480);
  taille_format(Format::autre, l, h);
  EXPECT_EQ(l, 640);
}

TEST(ReglagesCalculs, FrameLabelsAndTrackPositions) {
  Etiquettes e = etiquettes_creation(360, 1, 200);
  EXPECT_EQ(e.premiere, 1);
  EXPECT_EQ(e.derniere, 360);
  EXPECT_EQ(e.generees, 360);
  EXPECT_EQ(e.duree, 12);
  e = etiquettes_creation(200, 11, 40);  // first Round(10 x 200 / 200) = 10
  EXPECT_EQ(e.premiere, 10);
  EXPECT_EQ(e.derniere, 40);
  EXPECT_EQ(e.generees, 30);
  EXPECT_EQ(e.duree, 1);
  EXPECT_EQ(image_de_position(1, 360), 2);  // Round(1.8)
  EXPECT_EQ(image_de_position(1, 200), 1);
  EXPECT_EQ(image_de_position(200, 9999), 9999);
  EXPECT_EQ(image_de_position(0, 360), 1);
}

TEST(ReglagesCalculs, CircleStepsGrowBelow120AndShrinkToOne) {
  std::vector<int> croissance{50};
  while (croissance.back() < kRayonMax) croissance.push_back(pas_cercle(croissance.back(), true));
  const std::vector<int> debut(croissance.begin(), croissance.begin() + 5);
  EXPECT_EQ(debut, (std::vector<int>{50, 51, 53, 55, 57}));  // Round(0.5) = 0
  EXPECT_GE(croissance.back(), 120);
  EXPECT_LT(croissance[croissance.size() - 2], 120);
  EXPECT_EQ(pas_cercle(croissance.back(), true), croissance.back());
  int r = 50;
  for (int k = 0; k < 100; ++k) r = pas_cercle(r, false);
  EXPECT_EQ(r, 1);
  EXPECT_EQ(pas_cercle(2, false), 1);
}

TEST(ReglagesCalculs, LoadingDefaultsAndMarkerRows) {
  Param_video p{};
  p.vue.distance = 2.0;
  p.vue.niveau_mer = 100;
  completer(p, 1100);
  EXPECT_EQ(p.rayon_cercle, 70);  // Round(2 x 1000 x 280 / 8000)
  EXPECT_EQ(p.premiere_image, 1);
  EXPECT_EQ(p.derniere_image, 200);
  for (int a : p.bezier_altitude) EXPECT_EQ(a, 1000);  // the top: maximum - sea
  p.vue.distance = 50;
  p.rayon_cercle = 0;
  p.bezier_altitude[0] = 7;
  p.bezier_altitude[3] = 9;
  completer(p, 100);  // low terrain: top 400; altitudes already set are kept
  EXPECT_EQ(p.rayon_cercle, 120);
  EXPECT_EQ(p.bezier_altitude[3], 9);
  EXPECT_DOUBLE_EQ(altitude_sommet(100, 100), 400);
  // y = h - Round((altitude - sea) x 0.75 x h / top)
  EXPECT_EQ(ligne_marqueur(1100, 100, 1000, 120), 30);
  EXPECT_EQ(ligne_marqueur(100, 100, 1000, 120), 120);
}

TEST(ReglagesCalculs, StoredControlPointsCountOnlyWhenTheyMakeSegments) {
  Param_video p{};
  p.bezier_x.fill(0);
  p.bezier_y.fill(0);
  for (int i = 0; i < 7; ++i) p.bezier_x[std::size_t(i)] = 10 + i, p.bezier_y[std::size_t(i)] = 20 + i;
  auto points = points_enregistres(p);
  ASSERT_EQ(points.size(), 7u);
  EXPECT_EQ(points[6].x, 16);
  p.bezier_x[2] = 0;  // a hole: six points left, no path
  EXPECT_TRUE(points_enregistres(p).empty());
  p.bezier_x.fill(-1);
  EXPECT_TRUE(points_enregistres(p).empty());
  p.bezier_x.fill(2147483647);
  p.bezier_y.fill(2147483647);
  EXPECT_EQ(points_enregistres(p).size(), 13u);
  for (int m : {4, 7, 10, 13}) EXPECT_TRUE(compte_valide(m, false)) << m;
  for (int m : {3, 6, 9, 12}) EXPECT_TRUE(compte_valide(m, true)) << m;
  for (int m : {0, 1, 5, 8, 14}) EXPECT_FALSE(compte_valide(m, false)) << m;
  EXPECT_TRUE(compte_vert(3, false));
  EXPECT_TRUE(compte_vert(11, true));
  EXPECT_FALSE(compte_vert(4, false));
}

TEST(ReglagesCalculs, PreviewTerrainsComeFromTheSampleInsideItsTriangle) {
  const auto source = terrain_synthetique("cone", 6, 1500);
  const Echantillon36 e = echantillonner_36(*source);
  for (int degre : {4, 5}) {
    param_mat p{};
    p.maillage = degre;
    Tmatrice t(p);
    remplir_depuis_echantillon(t, e);
    const int n = t.n;
    for (int i = 1; i <= n; ++i)
      for (int j = 1; i + j <= n + 1; ++j) {
        const int si = 1 + (i - 1) * 35 / (n - 1), sj = 1 + (j - 1) * 35 / (n - 1);
        ASSERT_NE(t.hauteurs->lire(i, j), Tnoeud::hors_reseau) << i << " " << j;
        if ((i - 1) * 35 % (n - 1) == 0 && (j - 1) * 35 % (n - 1) == 0)
          EXPECT_EQ(t.hauteurs->lire(i, j), std::clamp(e[std::size_t(si)][std::size_t(sj)], -2000, 4000))
              << i << " " << j;
      }
    EXPECT_GT(t.hauteur_max(), 1000);
  }
}

TEST(ReglagesCalculs, PathEditorPictureShowsSeaLandAndTheGreyOutside) {
  const auto t = terrain_synthetique("cone", 5, 1500);
  const render::Bitmap b = prepare_apercu(*t, 0, 1500);
  ASSERT_EQ(b.width(), 280);
  ASSERT_EQ(b.height(), 250);
  EXPECT_EQ(b.at(2, 2), render::pixel_rgb(192, 192, 192));      // outside the triangle
  EXPECT_EQ(b.at(277, 5), render::pixel_rgb(192, 192, 192));
  EXPECT_NE(b.at(140, 170), render::pixel_rgb(192, 192, 192));  // inside
  const render::Bitmap mer = prepare_apercu(*t, 5000, 1500);
  EXPECT_EQ(mer.at(140, 170), render::pixel_rgb(128, 128, 255));
  EXPECT_EQ(Echelle(0), render::pixel_rgb(255, 255, 255));
  EXPECT_EQ(Echelle(-5), Echelle(0));
  EXPECT_EQ(Echelle(399), render::pixel_rgb(0, 90, 20));
}

TEST(ReglagesCalculs, PreviewViewAndReducedMovieSettings) {
  Param_video p{};
  valeurs_defaut_vue(p.vue);
  p.vue.premier_plan = p.vue.brume = p.vue.reflet = p.vue.photo_aerienne = 1;
  p.vue.type_ciel = 2;
  p.vue.centre_x = 30;
  p.vue.centre_y = -20;
  p.vue.detail_arbres = p.vue.ombre_portee = 1;
  p.zoom_video = 33;
  p.detail = 1;
  p.nombre_images = 2005;
  const param_vue v = vue_apercu(p, 280, 210);
  EXPECT_EQ(v.premier_plan + v.brume + v.reflet + v.photo_aerienne + v.type_ciel, 0);
  EXPECT_EQ(v.centre_x, 0);
  EXPECT_EQ(v.centre_y, 0);
  EXPECT_EQ(v.zoom, 33);
  EXPECT_EQ(v.largeur_image, 308);
  const Param_video r = reglages_reduits(p);
  EXPECT_EQ(r.largeur_image, 200);
  EXPECT_EQ(r.hauteur_image, 150);
  EXPECT_EQ(r.vue.largeur_image, 200);
  EXPECT_EQ(r.vue.reflet + r.vue.premier_plan + r.vue.detail_arbres + r.vue.ombre_portee + r.detail, 0);
  EXPECT_EQ(r.vue.zoom, 33);
  EXPECT_EQ(r.nombre_images, 200);  // Round(200.5) = 200
  EXPECT_EQ(images_reduites(3000), 300);
  EXPECT_EQ(images_reduites(2000), 2000);
  std::vector<enregistrement_camera> table(3001);
  for (int k = 1; k <= 3000; ++k) table[std::size_t(k)].cible_z = k;
  const auto reduite = table_reduite(table, 300);
  ASSERT_EQ(reduite.size(), 301u);
  EXPECT_EQ(reduite[1].cible_z, 1);
  EXPECT_EQ(reduite[2].cible_z, 11);
  EXPECT_EQ(reduite[300].cible_z, 2991);
  EXPECT_EQ(table_reduite(table, 400)[400].cible_z, 0);  // beyond the table: zero records
}
