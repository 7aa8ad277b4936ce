// Pinned pictures and view statistics of whole renders: digests taken before
// the terrain pass was made fast. Any change of a single pixel or statistic
// changes a digest.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "exemples/arbres_dessin.h"
#include "model/aleatoire.h"
#include "model/defauts.h"
#include "render/calcul_image.h"
#include "platform/messages.h"
#include "tests/support/empreinte.h"
#include "tests/support/fakes.h"
#include "tests/support/terrains.h"

using namespace render;

namespace {

// Generated terrains of the render benchmarks (key 7) and of the forest ones (key 4242, trees planted).
Tmatrice& terrain(int degre, int cle) {
  static std::map<std::pair<int, int>, std::unique_ptr<Tmatrice>> terrains;
  auto& t = terrains[{degre, cle}];
  if (!t) {
    param_mat p = parametres_test(degre);
    p.cle = cle;
    t = terrain_genere(p);
    if (cle == 4242) planter_foret(*t, 40);
    if (cle == 31) {
      // Painted ground of every kind in patches over the whole lattice.
      for (std::int32_t k = 0; k < 600 && t->nombre_elements < t->capacite_liste; ++k) {
        const auto e = static_cast<std::size_t>(t->nombre_elements++);
        t->liste_i[e] = static_cast<std::uint16_t>(2 + (k * 37) % (t->n / 2));
        t->liste_j[e] = static_cast<std::uint16_t>(2 + (k * 53) % (t->n / 2));
        t->liste_type[e] = static_cast<std::uint16_t>(TYPE_SOL + 1 + k % 5);
        t->liste_attribut[e] = static_cast<std::uint16_t>(4 + k % 12);
      }
    }
  }
  return *t;
}

param_vue vue_benchmark(bool detail) {
  param_vue v;
  valeurs_defaut_vue(v);
  v.horizon = 1;
  if (detail) {
    v.premier_plan = 1;
    v.distance = 10;
    v.angle_vertical = 20;
  }
  return v;
}

param_vue vue_ciel_mer_ombres() {
  param_vue v;
  valeurs_defaut_vue(v);
  v.horizon = 1;
  v.type_ciel = 1;
  v.reflet = 1;
  v.taux_reflet = 6;
  v.agitation_mer = 5;
  v.ombre_portee = 1;
  v.distance = 10;
  return v;
}

struct Mode {
  Bitmap* editeur = nullptr;
  std::uint16_t zoom = 0;
  std::uint8_t grossier = 0, courbes = 0;
  std::int32_t aides = -1;          // helper threads of the terrain pass
  ProgressSink* attente = nullptr;  // with its window
  WindowHandle fenetre = 0;
};

// The digest of the picture (and of the editor's map when drawn) and the view statistics.
std::uint64_t rendre(Tmatrice& t, const param_vue& v, int largeur, int hauteur, Mode m = {},
                     Bitmap* sortie = nullptr) {
  const TMyPalette palette = palette_pour_vue(v);
  Bitmap locale(largeur, hauteur);
  Bitmap& image = sortie ? *sortie : locale;
  set_seed(99);
  // Sea sub-lattices seed their waves from the clock: a fixed one.
  set_clock_for_tests([] { return std::uint32_t(4321000); });
  t.marquer_modifiee();
  RenderOptions options;
  options.aides_facettes = m.aides;
  calcul_image(t, m.fenetre, palette, image, {}, v, largeur, hauteur, m.attente, m.editeur, m.zoom, m.grossier,
               m.courbes, 1, 0, enregistrement_camera{}, options);
  set_clock_for_tests({});
  Empreinte e;
  e.tableau(image.pixels());
  if (m.editeur) e.tableau(m.editeur->pixels());
  ajouter_resultats(e, t.resultats_vue);
  e.valeur(t.calcul_annule);
  return e.valeur();
}

}  // namespace

TEST(RenderExactness, DefaultAndDetailViewsOfDegreesSevenAndNine) {
  struct Cas {
    int degre;
    bool detail;
    std::uint64_t attendu;
  };
  const Cas cas[] = {{7, false, 0x8f7a264e3fcf01cbull}, {7, true, 0x80409f26208f4563ull}, {9, false, 0x47d5708657a921b5ull}, {9, true, 0x12f2ac10791cdc1dull}};
  for (const Cas& c : cas)
    EXPECT_EQ(hexa(rendre(terrain(c.degre, 7), vue_benchmark(c.detail), 640, 480)), hexa(c.attendu))
        << "degree " << c.degre << (c.detail ? " detail" : " default");
}

TEST(RenderExactness, SkySeaShadowsAndForests) {
  EXPECT_EQ(hexa(rendre(terrain(9, 7), vue_ciel_mer_ombres(), 1024, 768)), hexa(0x5e176924da03efa7ull)) << "sky, sea, shadows";
  for (bool foret : {true, false}) {
    param_vue v = vue_foret();
    v.foret = foret;
    v.horizon = 1;
    EXPECT_EQ(hexa(rendre(terrain(9, 4242), v, 1024, 768)), hexa(foret ? 0x034f323aa87b4a74ull : 0x7f1b2e8059150ca8ull))
        << (foret ? "forest" : "bare");
  }
  param_vue v = vue_foret();
  v.horizon = 1;
  v.premier_plan = 1;
  v.distance = 10;
  v.angle_vertical = 20;
  v.ombre_portee = 1;
  EXPECT_EQ(hexa(rendre(terrain(7, 4242), v, 640, 480)), hexa(0x3b524ab5df3c73c9ull)) << "forest detail with shadows";
}

TEST(RenderExactness, EditorMapsWireframeAndCoarsePictures) {
  Tmatrice& t = terrain(7, 7);
  Bitmap carte(850, 744);
  EXPECT_EQ(hexa(rendre(t, vue_benchmark(false), 425, 372, {&carte, 2, 0, 1})), hexa(0x9ae05b150f009d09ull)) << "level curves";
  EXPECT_EQ(hexa(rendre(t, vue_benchmark(true), 425, 372, {&carte, 1, 0, 0})), hexa(0xcdf48b8c29809d11ull)) << "editor map";
  EXPECT_EQ(hexa(rendre(t, vue_benchmark(false), 640, 480, {nullptr, 0, 1, 0})), hexa(0x28abeed0964cf607ull)) << "coarse";
  param_vue v = vue_benchmark(true);
  v.maillage_filaire = 1;
  EXPECT_EQ(hexa(rendre(t, v, 640, 480)), hexa(0x6f88067f70e99a22ull)) << "wireframe";
}

TEST(RenderExactness, DefaultViewOfDegreeEleven) {
  EXPECT_EQ(hexa(rendre(terrain(11, 7), vue_benchmark(false), 1024, 768)), hexa(0x32dda585fa496fadull));
}

// Sky pixels between the first and the last pixel of another colour in each
// column of a picture whose background is the sky's colour.
int trous_de_ciel(const Bitmap& image) {
  const Surface<Pixel> s = const_cast<Bitmap&>(image).surface();
  const Pixel ciel = s.row(0)[0];
  int trous = 0;
  for (int x = 0; x < s.width; ++x) {
    int haut = -1, bas = -1;
    for (int y = 0; y < s.height; ++y)
      if (s.row(y)[x] != ciel) {
        if (haut < 0) haut = y;
        bas = y;
      }
    for (int y = haut + 1; y < bas; ++y) trous += s.row(y)[x] == ciel;
  }
  return trous;
}

// A far view of a degree-11 terrain is drawn with a stride of several nodes,
// its corners in sight and its land raised well above the sea: the land
// reaches the lattice's edges and their wall, so no column shows sky between
// the land and the wall below it.
TEST(RenderExactness, StridedViewReachesTheEdgeWallAtTheCorner) {
  Bitmap image(640, 480);
  Tmatrice& t = terrain(11, 7);
  param_vue v = vue_benchmark(false);
  v.horizon = 0;
  t.elever(800, false);
  const std::uint64_t e = rendre(t, v, 640, 480, {}, &image);
  t.elever(-800, false);
  EXPECT_EQ(trous_de_ciel(image), 0);
  EXPECT_EQ(hexa(e), hexa(0xba65a1b65d5d98ebull));
}

// Nothing of a terrain is kept from one render to the next: heights raised
// by an edit, then lowered back, show in each next picture and its statistics.
TEST(RenderExactness, NextRenderSeesAChangedTerrain) {
  param_mat p = parametres_test(8);
  p.cle = 7;
  const auto t = terrain_genere(p);
  const param_vue v = vue_benchmark(false);
  const std::uint64_t avant = rendre(*t, v, 320, 240);
  const std::int32_t maxi = t->resultats_vue.altitude_maxi;
  ASSERT_LT(maxi, 3500);
  t->elever(400, false);
  EXPECT_NE(rendre(*t, v, 320, 240), avant);
  EXPECT_EQ(t->resultats_vue.altitude_maxi, maxi + 400);
  t->elever(-400, false);
  EXPECT_EQ(rendre(*t, v, 320, 240), avant);
  EXPECT_EQ(t->resultats_vue.altitude_maxi, maxi);
}

// The terrain pass of large lattices computes vertices, facet geometry and,
// where nothing is drawn at random, the shading on helper threads ahead of
// the drawing: the pictures and statistics are those of the pass alone, with
// waves, cast shadows, trees and foreground detail, at stride 1 and in
// strided far views; also where the helpers must leave the shading to the
// drawing (colour diversity, level curves, water glints) or where the drawing
// must check what they assumed (painted ground, strata); and a render
// cancelled at the same progress poll stops at the same facet.
TEST(RenderExactness, HelperThreadsChangeNoPixel) {
  param_vue mer = vue_ciel_mer_ombres();
  mer.premier_plan = 1;
  param_vue foret = vue_foret();
  foret.premier_plan = 1;
  foret.distance = 10;
  foret.angle_vertical = 20;
  param_vue foret_loin = vue_foret();
  foret_loin.horizon = 1;
  param_vue diversite = vue_benchmark(true);
  diversite.diversite_couleurs = 15;
  param_vue strates = vue_benchmark(true);
  strates.strates = 1;
  param_vue houle = mer;
  houle.agitation_mer = 9;
  const struct {
    Tmatrice* t;
    param_vue v;
    const char* nom;
    std::uint8_t courbes = 0;
  } cas[] = {{&terrain(9, 7), vue_benchmark(true), "detail"},
             {&terrain(9, 7), mer, "sea, waves and shadows"},
             {&terrain(9, 4242), foret, "forest"},
             {&terrain(9, 7), vue_benchmark(false), "default, strided"},
             {&terrain(9, 7), vue_ciel_mer_ombres(), "sea and shadows, strided"},
             {&terrain(9, 4242), foret_loin, "forest, strided"},
             {&terrain(9, 7), diversite, "colour diversity"},
             {&terrain(9, 7), vue_benchmark(true), "level curves", 1},
             {&terrain(9, 7), houle, "rough sea with glints"},
             {&terrain(9, 7), strates, "strata"},
             {&terrain(9, 31), vue_benchmark(true), "painted ground"}};
  for (const auto& c : cas) {
    const std::uint64_t seul = rendre(*c.t, c.v, 640, 480, {nullptr, 0, 0, c.courbes, 0});
    for (std::int32_t aides : {1, 3, 7})
      EXPECT_EQ(hexa(rendre(*c.t, c.v, 640, 480, {nullptr, 0, 0, c.courbes, aides})), hexa(seul))
          << c.nom << ", " << aides;
  }

  ScopedFakeUserInterface ui;
  const WindowHandle w = platform::register_window([](const platform::Message&) { return 0; });
  std::uint64_t annule[2] = {};
  for (int k = 0; k < 2; ++k) {
    FakeProgress attente;
    attente.cancel_at(40000, w);
    annule[k] = rendre(terrain(9, 7), vue_benchmark(true), 640, 480, {nullptr, 0, 0, 0, k == 0 ? 0 : 3, &attente, w});
    EXPECT_TRUE(terrain(9, 7).calcul_annule);
  }
  EXPECT_EQ(hexa(annule[1]), hexa(annule[0]));
  EXPECT_NE(annule[0], rendre(terrain(9, 7), vue_benchmark(true), 640, 480, {nullptr, 0, 0, 0, 0}));
  platform::unregister_window(w);
}

// The helpers keep each vertex once per part of a line, in a table whose
// slots follow the walk's direction; the drawing takes a facet's vertices
// from it by their places. From every side of the terrain (each direction of
// the walk), at stride 1 with foreground detail and in a strided far view
// (where the rows of a part crowd the slots), the pictures are those of the
// pass alone.
TEST(RenderExactness, HelperThreadsChangeNoPixelFromAnySide) {
  for (bool detail : {true, false})
    for (std::int32_t angle : {-150, -90, -30, 30, 90, 150}) {
      param_vue v = vue_benchmark(detail);
      v.angle_horizontal = angle;
      const std::uint64_t seul = rendre(terrain(9, 7), v, 320, 240, {nullptr, 0, 0, 0, 0});
      EXPECT_EQ(hexa(rendre(terrain(9, 7), v, 320, 240, {nullptr, 0, 0, 0, 3})), hexa(seul))
          << (detail ? "detail" : "strided") << ", view angle " << angle;
    }
}

// A tree is not drawn on ground its species refuses, which the facet's
// ground class says: the helpers hand that class over with the shading.
// Forbidding rock, earth or grass changes the picture, the same with helpers
// as without.
TEST(RenderExactness, HelperThreadsKeepTreesOffRefusedGround) {
  param_vue tous = vue_foret();
  tous.premier_plan = 1;
  tous.distance = 10;
  tous.angle_vertical = 20;
  const std::uint64_t partout = rendre(terrain(9, 4242), tous, 640, 480, {nullptr, 0, 0, 0, 0});
  for (int refus = 0; refus < 3; ++refus) {
    param_vue v = tous;
    for (espece_arbres& a : v.arbres) {
      a.interdit_rocher = refus == 0;
      a.interdit_terre = refus == 1;
      a.interdit_herbe = refus == 2;
    }
    const std::uint64_t seul = rendre(terrain(9, 4242), v, 640, 480, {nullptr, 0, 0, 0, 0});
    EXPECT_NE(seul, partout) << refus;
    EXPECT_EQ(hexa(rendre(terrain(9, 4242), v, 640, 480, {nullptr, 0, 0, 0, 3})), hexa(seul)) << refus;
  }
}

// Cast shadows from the sun in every octant, high and low, with trees, and in
// a coarse render (a stride of three): each octant walks the cells in its own
// order and direction. Digests taken before each node came to be projected
// from the sun only once.
TEST(RenderExactness, CastShadowsFromEverySide) {
  const std::uint64_t attendus[] = {0xe0793c499e69cceeull, 0x48d7651f9a740d9bull, 0x9a3995a3213032feull, 0xa5463b0b2f5a9772ull,
                                    0xf573eb76fdd9e565ull, 0xe6c38eb24d37b6f5ull, 0xde05657956c76669ull, 0x0f2f8a1d6a9636c0ull,
                                    0xf30a857484257137ull, 0x65268a771babefa2ull};
  std::size_t k = 0;
  for (std::int32_t azimut : {-180, -135, -90, -45, 0, 45, 90, 135}) {
    param_vue v = vue_ciel_mer_ombres();
    v.azimut_soleil = azimut;
    v.elevation_soleil = azimut % 90 == 0 ? 12 : 40;
    const std::uint64_t d = rendre(terrain(9, 7), v, 320, 240);
    EXPECT_EQ(hexa(d), hexa(attendus[k])) << azimut;
    ++k;
  }
  param_vue foret = vue_foret();
  foret.ombre_portee = 1;
  foret.azimut_soleil = 60;
  foret.elevation_soleil = 25;
  EXPECT_EQ(hexa(rendre(terrain(9, 4242), foret, 320, 240)), hexa(attendus[k++])) << "trees";
  EXPECT_EQ(hexa(rendre(terrain(9, 7), vue_ciel_mer_ombres(), 320, 240, {nullptr, 0, 1})), hexa(attendus[k++]))
      << "coarse";
}
