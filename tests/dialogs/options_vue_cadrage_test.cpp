// The Framing page of the view options dialog, built from a record and driven
// through its controls: the bars, edits and stepping buttons, the frame box,
// drag steering and what each preview renders.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "controls/trackbar.h"
#include "dialogs/options_vue_cadrage.h"
#include "tests/dialogs/options_vue_banc.h"
#include "tests/support/rendus.h"

using namespace fenetres;
using test_rendus::controle_rendus;

using namespace dialogs;
using namespace banc_options_vue;

TEST(OptionsVueCadrage, EveryBarRoundTripsItsField) {
  BancPage<PageCadrageVue> b;
  b.ouvrir();
  auto barre = [&](const char* nom) { return b.operator()<QScrollBar>(nom); };
  glisser(barre("ScrollBar_vert"), 44 - 30);
  EXPECT_EQ(b.rangee().angle_vertical, 30);
  glisser(barre("ScrollBar_hor"), -120);
  EXPECT_EQ(b.rangee().angle_horizontal, -120);
  glisser(barre("ScrollBar_solV"), 60 - 75);
  EXPECT_EQ(b.rangee().elevation_soleil, 75);
  glisser(barre("ScrollBar_solH"), 33);
  EXPECT_EQ(b.rangee().azimut_soleil, 33);
  glisser(barre("ScrollBar_zoom"), 40);
  EXPECT_EQ(b.rangee().zoom, 40);
  EXPECT_EQ(b.operator()<QLabel>("Label_zoom")->text(), "1:4.0");
  glisser(barre("ScrollBar_dist"), 105 - 55);
  EXPECT_DOUBLE_EQ(b.rangee().distance, 5.5);
  EXPECT_EQ(b.operator()<QLineEdit>("Edit_dist")->text(), " 5.5");
  cliquer(b("CheckBox_observateur"));
  EXPECT_EQ(b.rangee().observateur_place, 1);
  glisser(barre("ScrollBar_hauteur"), 1000 - 250);
  EXPECT_EQ(b.rangee().hauteur_observateur, 250);
  EXPECT_EQ(b.operator()<QLineEdit>("Edit_haut")->text(), "250");
  EXPECT_EQ(barre("ScrollBar_vert")->value(), 14);
}

TEST(OptionsVueCadrage, TypedValuesAndTheDistanceButtons) {
  BancPage<PageCadrageVue> b;
  b.ouvrir();
  auto* distance = b.operator()<QLineEdit>("Edit_dist");
  taper(distance, "5,1");
  EXPECT_DOUBLE_EQ(b.rangee().distance, 5.1);
  b.operator()<QScrollBar>("ScrollBar_solH")->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_DOUBLE_EQ(b.rangee().distance, 5.1);
  taper(distance, "99");
  EXPECT_DOUBLE_EQ(b.rangee().distance, 50);
  cliquer(b("BTn_loin"));
  EXPECT_DOUBLE_EQ(b.rangee().distance, 50);
  // 0.6 from the distance bar's last position.
  glisser(b.operator()<QScrollBar>("ScrollBar_dist"), 99);
  cliquer(b("Btn_pres"));
  EXPECT_EQ(b.operator()<QScrollBar>("ScrollBar_dist")->value(), 105 - 6);
  EXPECT_NEAR(b.rangee().distance, 0.6, 1e-12);
  auto* vertical = b.operator()<QLineEdit>("Edit_ver");
  taper(vertical, "120");
  EXPECT_EQ(b.rangee().angle_vertical, 120);  // typed angles are not clamped
  taper(vertical, "x");
  EXPECT_EQ(b.rangee().angle_vertical, 120);
}

TEST(OptionsVueCadrage, FrameRectangleShadowAndArrows) {
  BancPage<PageCadrageVue> b;
  b.vue.zoom = 20;
  b.ouvrir();
  b.calculer();
  auto* cadre = b.operator()<CtlShadowFill>("Rectangle_cadre");
  EXPECT_EQ(cadre->geometry(), QRect(19, 14, 38, 26));
  const QImage i = b("Image_cadre")->grab().toImage();
  for (int y = 14; y < 40; ++y)
    for (int x = 19; x < 57; ++x) {
      const QColor attendue = (x - 19 + y - 14) % 2 ? QColor(255, 255, 0) : QColor(255, 255, 255);
      ASSERT_EQ(i.pixelColor(x, y), attendue) << x << "," << y;
    }
  EXPECT_EQ(i.pixelColor(5, 5), QColor(255, 255, 255));
  cadre->SetShadowColor(0xFFFFFFu);
  EXPECT_EQ(cadre->ShadowColor(), 0u);
  for (int k = 0; k < 200; ++k) {
    cliquer(b("BitBtn_D"));
    cliquer(b("BitBtn_B"));
  }
  EXPECT_EQ(b.rangee().centre_x, 76);
  EXPECT_EQ(b.rangee().centre_y, 54);
}

TEST(OptionsVueCadrage, AZeroZoomOpensOnTheWholeFrame) {
  BancPage<PageCadrageVue> b;
  b.vue.zoom = 0;
  b.ouvrir();
  b.calculer();
  EXPECT_EQ(b("Rectangle_cadre")->geometry(), QRect(0, 0, 76, 54));
}

TEST(OptionsVueCadrage, DragSteeringTicksAndObserverPlaced) {
  BancPage<PageCadrageVue> b;
  b.vue.angle_vertical = 20;
  b.vue.angle_horizontal = 0;
  b.ouvrir();
  b.calculer();
  controle_rendus().effacer();
  controle_rendus().couleur_factice = render::pixel_rgb(255, 255, 255);
  auto* boite = b.operator()<PreviewBox>("Image_cadrage");
  auto* minuterie = b.page->findChild<QTimer*>("Timer_cadre");
  QTest::mousePress(boite, Qt::LeftButton, {}, {5, 5});
  EXPECT_TRUE(minuterie->isActive());
  boite->calculer();
  tic(minuterie);
  boite->calculer();
  tic(minuterie);
  boite->calculer();
  EXPECT_EQ(b.rangee().angle_vertical, 18);
  EXPECT_EQ(b.rangee().angle_horizontal, 2);
  EXPECT_EQ(b.operator()<QLineEdit>("Edit_ver")->text(), "18");
  EXPECT_EQ(b.operator()<QScrollBar>("ScrollBar_hor")->value(), 2);
  const auto& a = controle_rendus().appels;
  ASSERT_EQ(a.size(), 3u);
  for (const AppelRendu& r : a) {
    EXPECT_EQ(r.largeur, PageCadrageVue::kLargeurCadrage);
    EXPECT_EQ(r.vue.maillage_filaire, 1);
  }
  controle_rendus().appels.clear();
  QTest::mouseRelease(boite, Qt::LeftButton, {}, {5, 5});
  EXPECT_FALSE(minuterie->isActive());
  boite->calculer();
  // The release: the sampled terrain, then the real one (the lock starts on).
  ASSERT_EQ(controle_rendus().appels.size(), 2u);
  EXPECT_EQ(controle_rendus().appels[0].vue.maillage_filaire, 0);
  // Observer placed: no drag, default cursor; the arrows and zoom still work.
  cliquer(b("CheckBox_observateur"));
  QTest::mousePress(boite, Qt::LeftButton, {}, {5, 5});
  EXPECT_FALSE(minuterie->isActive());
  QTest::mouseRelease(boite, Qt::LeftButton, {}, {5, 5});
  survoler(boite, {5, 5});
  EXPECT_EQ(boite->cursor().shape(), Qt::ArrowCursor);
  const int z = b.rangee().zoom;
  cliquer(b("Zoom_plus"));
  EXPECT_EQ(b.rangee().zoom, z + 1);
  const int h = b.rangee().angle_horizontal;
  cliquer(b("btn_angleD"));
  EXPECT_EQ(b.rangee().angle_horizontal, h);
}

TEST(OptionsVueCadrage, TheCursorShowsTheSteeringZone) {
  BancPage<PageCadrageVue> b;
  b.ouvrir();
  auto* boite = b("Image_cadrage");
  survoler(boite, {5, 5});
  EXPECT_EQ(boite->cursor().shape(), Qt::SizeFDiagCursor);
  survoler(boite, {100, 75});
  EXPECT_EQ(boite->cursor().shape(), Qt::ArrowCursor);
}

TEST(OptionsVueApercus, WhatEachPreviewRendersAndNeverInsideAPaint) {
  BancPage<PageCadrageVue> b;
  // A thumb drag: the coarse terrain with a wire mesh; the release: the
  // sampled terrain, then the real one with the eight flags cleared.
  b.vue.reflet = b.vue.premier_plan = b.vue.brume = b.vue.photo_aerienne = 1;
  b.vue.horizon = b.vue.strates = b.vue.ombre_portee = b.vue.detail_arbres = 1;
  b.vue.agitation_mer = 5;
  PageCadrageVue& p = b.ouvrir();
  b.calculer();
  controle_rendus().appels.clear();
  auto* vertical = b.operator()<QScrollBar>("ScrollBar_vert");
  glisser(vertical, 20, false);
  QApplication::processEvents();
  ASSERT_EQ(controle_rendus().appels.size(), 1u);
  AppelRendu r = controle_rendus().appels[0];
  EXPECT_EQ(r.vue.maillage_filaire, 1);
  EXPECT_EQ(r.hauteur, PageCadrageVue::kHauteurCadrage);
  controle_rendus().appels.clear();
  vertical->setSliderDown(false);
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
  EXPECT_EQ(a[0].largeur, PageCadrageVue::kLargeurCadrage);
  EXPECT_EQ(a[1].vue.horizon + a[1].vue.strates + a[1].vue.ombre_portee + a[1].vue.detail_arbres, 0);
  EXPECT_EQ(a[1].vue.agitation_mer, 0);
  EXPECT_EQ(a[2].largeur, PageCadrageVue::kLargeurCadre);
  EXPECT_EQ(a[2].vue.zoom, 10);
  EXPECT_EQ(a[2].vue.centre_x, 0);
  // With the lock off, "Détail" renders the real terrain once and the box keeps it.
  auto* verrou = b.operator()<QPushButton>("Button_detail_lock");
  cliquer(verrou);
  EXPECT_EQ(verrou->text(), "Detailed display permanent");
  EXPECT_TRUE(b("Button_detail")->isEnabled());
  QApplication::processEvents();  // the edit that lost the focus to the lock has drawn again
  controle_rendus().appels.clear();
  controle_rendus().couleur_factice = render::pixel_rgb(1, 2, 3);
  cliquer(b("Button_detail"));
  QApplication::processEvents();
  ASSERT_EQ(controle_rendus().appels.size(), 1u);
  EXPECT_EQ(controle_rendus().appels[0].vue.strates, 0);
  EXPECT_EQ(b("Image_cadrage")->grab().toImage().pixelColor(50, 50), QColor(1, 2, 3));
  // Ticking "Visible mesh" turns the lock off.
  cliquer(verrou);
  EXPECT_EQ(verrou->text(), "No detailed display");
  cliquer(b("CheckBox_rapide"));
  EXPECT_EQ(verrou->text(), "Detailed display permanent");
  EXPECT_EQ(b.rangee().maillage_filaire, 1);
  p.repaint();
  EXPECT_EQ(controle_rendus().rendus_dans_peinture, 0);
}
