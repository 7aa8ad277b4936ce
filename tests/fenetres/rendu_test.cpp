// The render seam shows every call to its observer, which can stand in for
// the renderer; without one nothing is kept.
#include <gtest/gtest.h>

#include "fenetres/rendu.h"
#include "model/matrice.h"
#include "render/palette.h"
#include "tests/support/rendus.h"
#include "tests/support/terrains.h"

namespace {

TEST(CalculerImage, StandInFillsThePicturesAndRecordsTheCall) {
  test_rendus::ControleRendus& c = test_rendus::controle_rendus();
  c.effacer();
  c.couleur_factice = render::pixel_rgb(1, 2, 3);
  Tmatrice terrain(parametres_test(4));
  TMyPalette palette(false, 0);
  render::Bitmap image(8, 6), carte(16, 12);
  param_vue vue{};
  int vus = 0;
  fenetres::calculer_image(terrain, 0, palette, image, [&](const render::Bitmap&) { ++vus; }, vue, 8, 6, nullptr,
                          &carte, 2, 0, 1, 0, 0, enregistrement_camera{});
  {
    fenetres::MarqueurPeinture peinture;
    fenetres::calculer_image(terrain, 0, palette, image, {}, vue, 8, 6, nullptr, nullptr, 1, 1, 0, 0, 0,
                            enregistrement_camera{});
  }
  EXPECT_EQ(c.rendus, 2);
  EXPECT_EQ(c.rendus_dans_peinture, 1);
  ASSERT_EQ(c.appels.size(), 2u);
  EXPECT_TRUE(c.appels[0].image_editeur);
  EXPECT_TRUE(c.appels[0].affichage);
  EXPECT_EQ(c.appels[0].zoom_editeur, 2);
  EXPECT_EQ(c.appels[0].courbes_niveau, 1);
  EXPECT_EQ(c.appels[1].grossier, 1);
  EXPECT_EQ(vus, 1);
  EXPECT_EQ(image.at(7, 5), render::pixel_rgb(1, 2, 3));
  EXPECT_EQ(carte.at(15, 11), render::pixel_rgb(1, 2, 3));
  c.effacer();
}

// Only the observer installed sees the calls; once removed, the renderer runs
// and nothing watches or keeps them.
TEST(CalculerImage, OnlyTheInstalledObserverSeesTheCalls) {
  struct Comptage : fenetres::ObservateurRendus {
    int rendus = 0, decodages = 0;
    bool rendu(fenetres::RenduObserve& r) override {
      ++rendus;
      EXPECT_FALSE(r.dans_peinture);
      EXPECT_EQ(r.appel.noeuds, r.terrain.n);
      return false;
    }
    void decodage(bool) override { ++decodages; }
  } comptage;
  test_rendus::ControleRendus& c = test_rendus::controle_rendus();
  c.effacer();
  Tmatrice terrain(parametres_test(4));
  TMyPalette palette(false, 0);
  render::Bitmap image(8, 6);
  param_vue vue{};
  auto rendre = [&] {
    fenetres::calculer_image(terrain, 0, palette, image, {}, vue, 8, 6, nullptr, nullptr, 0, 0, 0, 0, 0,
                             enregistrement_camera{});
  };
  EXPECT_EQ(fenetres::observer_rendus(&comptage), &c);
  rendre();
  render::Bitmap lue;
  EXPECT_FALSE(fenetres::lire_image_jpeg("/nonexistent/none.jpg", lue));
  EXPECT_EQ(fenetres::observer_rendus(nullptr), &comptage);
  rendre();
  EXPECT_FALSE(fenetres::lire_image_jpeg("/nonexistent/none.jpg", lue));
  EXPECT_EQ(fenetres::observer_rendus(&c), nullptr);
  EXPECT_EQ(comptage.rendus, 1);
  EXPECT_EQ(comptage.decodages, 1);
  EXPECT_EQ(c.rendus, 0);
  EXPECT_TRUE(c.appels.empty());
  EXPECT_EQ(c.decodages, 0);
}

}  // namespace
