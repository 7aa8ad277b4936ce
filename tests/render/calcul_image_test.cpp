#include "render/calcul_image.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <stdexcept>

#include "model/aleatoire.h"
#include "model/defauts.h"
#include "model/erreur.h"
#include "platform/messages.h"
#include "render/camera.h"
#include "tests/support/fakes.h"
#include "tests/support/terrains.h"

using namespace render;

namespace {

param_vue vue_defaut() {
  param_vue v;
  valeurs_defaut_vue(v);
  return v;
}

struct Rendu {
  Bitmap image;
  RenderOptions options;
  FakeProgress* attente = nullptr;
  Bitmap* editeur = nullptr;
  std::uint16_t zoom_editeur = 0;
  bool grossier = false, statistiques = true, camera = false;
  enregistrement_camera enregistrement;
  WindowHandle fenetre = 0;

  void operator()(Tmatrice& t, const param_vue& v, int w = 640, int h = 480) {
    image.reset(std::max(w, 0), std::max(h, 0), 0);
    const TMyPalette palette = palette_pour_vue(v);
    calcul_image(t, fenetre, palette, image, {}, v, w, h, attente, editeur, zoom_editeur, grossier, 0, statistiques,
                 camera, enregistrement, options);
  }
};

// Sees what the driver hands to the sweep and the sky.
struct Enregistreur : PhaseBalayage, PhaseCiel {
  std::vector<FamilleBalayage> familles;
  std::vector<DemandeCiel> ciels;
  std::function<void(RenderContext&)> pendant_balayage;
  void balayage(RenderContext& ctx, FamilleBalayage f) override {
    familles.push_back(f);
    if (pendant_balayage) pendant_balayage(ctx);
  }
  ResultatCiel dessiner_ciel(RenderContext& ctx, const DemandeCiel& d) override {
    ciels.push_back(d);
    return PhaseCiel::dessiner_ciel(ctx, d);
  }
};

bool memes_resultats(const resultats_vue& a, const resultats_vue& b) {
  return a.altitude_moyenne == b.altitude_moyenne && a.altitude_maxi == b.altitude_maxi &&
         a.altitude_mini == b.altitude_mini && a.niveau_mer == b.niveau_mer && a.pente_faible == b.pente_faible &&
         a.pente_moyenne == b.pente_moyenne && a.pente_forte == b.pente_forte && a.arbres == b.arbres &&
         a.sources == b.sources && a.longueur_rivieres == b.longueur_rivieres;
}

// A context set up as the driver leaves it after the projection set-up.
struct Camera {
  std::unique_ptr<Tmatrice> t = terrain_synthetique("flat", 7, 0);
  Bitmap image{640, 480};
  TMyPalette palette{false, 4};
  AffichageDirect rien;
  RenderOptions options;
  param_vue vue = vue_defaut();
  std::unique_ptr<RenderContext> ctx;

  RenderContext& monter(int largeur = 640, int hauteur = 480, bool cadrage = true) {
    ctx = std::make_unique<RenderContext>(*t, 0, palette, image, rien, vue, options);
    ctx->largeur = largeur;
    ctx->hauteur = hauteur;
    ctx->degre = t->degre;
    ctx->n = t->n;
    installer_camera(*ctx);
    preparer_camera(*ctx);
    if (cadrage) cadrer(*ctx);
    return *ctx;
  }
};

}  // namespace

TEST(Camera, TargetProjectsToThePictureCentre) {
  Camera c;
  for (int az = -180; az < 180; az += 15)
    for (int el : {-30, 0, 12, 45, 89})
      for (int zoom : {10, 20, 40}) {
        c.vue.angle_horizontal = az;
        c.vue.angle_vertical = el;
        c.vue.zoom = zoom;
        RenderContext& ctx = c.monter();
        projeter_point(ctx, 0, 0, 0);
        EXPECT_EQ(pixel_projete(ctx), (Point{320, 240})) << az << " " << el << " " << zoom;
        EXPECT_GE(ctx.azimut_vue, 0);
        EXPECT_LE(ctx.azimut_vue, 360);
        EXPECT_DOUBLE_EQ(ctx.azimut_vue, az + 180.0);
      }
  c.vue.angle_horizontal = 10;
  c.vue.angle_vertical = 12;
  c.vue.zoom = 20;
  c.vue.centre_x = 76;
  RenderContext& ctx = c.monter();
  projeter_point(ctx, 0, 0, 0);
  EXPECT_EQ(pixel_projete(ctx), (Point{320 - ctx.W, 240}));
}

TEST(Camera, AnglesDistancesAndScales) {
  Camera c;
  c.vue.angle_vertical = 89;
  EXPECT_DOUBLE_EQ(c.monter().sv, std::sin(89.9 * std::numbers::pi / 180));
  c.vue.angle_vertical = 90;
  EXPECT_DOUBLE_EQ(c.monter().angle_vertical, 90);
  c.vue.deformation = 1;
  RenderContext& ctx = c.monter();
  EXPECT_DOUBLE_EQ(ctx.fy, ctx.fx);
  EXPECT_EQ(ctx.distance_km, 50);

  // Camera record of six zeros: |eye| taken as 0.001, D = 1.
  c.vue.angle_vertical = 12;
  RenderContext& rec = c.monter();
  rec.mode_camera = true;
  installer_camera(rec);
  EXPECT_EQ(rec.D, 1);
  EXPECT_TRUE(std::isfinite(rec.azimut_vue) && std::isfinite(rec.cv));

  // Observer placed exactly at the target: D = 0 becomes 1.
  Tmatrice& t = *c.t;
  const int n = t.n;
  t.observateur_i = 40;
  t.observateur_j = 30;
  const double p = 39.0 / (n - 1), q = 29.0 / (n - 1);
  t.cible.px = p;
  t.cible.py = q + p / 2;
  t.cible.hauteur = 0;
  c.vue.observateur_place = 1;
  c.vue.hauteur_observateur = -20;
  RenderContext& obs = c.monter();
  EXPECT_EQ(obs.D, 1);
  EXPECT_EQ(t.observateur.hauteur, 0);
}

TEST(Camera, NodesBelowTheSeaProjectAtSeaLevelAndCount) {
  Camera c;
  c.t->hauteurs->ecrire(10, 10, -300);
  c.vue.niveau_mer = 20;
  RenderContext& ctx = c.monter();
  ctx.niveau_mer = 20;
  ctx.altitude_cible = 5;
  const NoeudMonde a = coordonnees_noeud(ctx, 10, 10);
  EXPECT_TRUE(a.sous_mer);
  EXPECT_EQ(a.hauteur, -300);
  EXPECT_DOUBLE_EQ(ctx.Z, 15);
  EXPECT_EQ(ctx.sous_mer, 1);
  const NoeudMonde b = coordonnees_noeud(ctx, 0, 5);  // outside: -4000
  EXPECT_EQ(b.hauteur, -4000);
  EXPECT_EQ(ctx.sous_mer, 2);
  EXPECT_EQ(pixel_de(1e300), 1 << 30);
  EXPECT_EQ(pixel_de(-1e300), -(1 << 30));
  EXPECT_EQ(pixel_de(std::nan("")), 1 << 30);
}

TEST(Render, SweepFamilyFollowsTheViewAzimuth) {
  auto t = terrain_synthetique("cone", 6, 800);
  Enregistreur e;
  Rendu r;
  r.options.phases.balayage = &e;
  param_vue v = vue_defaut();
  for (int a : {119, 120, 239, 240, 0, 360}) {
    v.angle_horizontal = a - 180;
    r(*t, v);
  }
  EXPECT_EQ(e.familles, (std::vector<FamilleBalayage>{FamilleBalayage::colonnes, FamilleBalayage::lignes,
                                                       FamilleBalayage::lignes, FamilleBalayage::diagonales,
                                                       FamilleBalayage::colonnes, FamilleBalayage::diagonales}));
}

TEST(Render, HorizonFollowsTheVerticalAngleAndItsLowering) {
  auto t = terrain_synthetique("cone", 8, 1500);
  Enregistreur e;
  Rendu r;
  r.options.phases.ciel = &e;
  param_vue v = vue_defaut();
  v.horizon = 1;
  v.distance = 20;
  std::vector<std::int32_t> lignes;
  for (int a = 14; a >= 2; a -= 2) {
    v.angle_vertical = a;
    e.ciels.clear();
    r(*t, v);
    ASSERT_EQ(e.ciels.size(), 1u) << a;
    lignes.push_back(e.ciels[0].ligne_horizon);
  }
  // A lower eye sees the horizon closer to the target's row (further down the picture).
  for (std::size_t k = 1; k < lignes.size(); ++k) EXPECT_GE(lignes[k], lignes[k - 1]);
  EXPECT_GT(lignes.back(), lignes.front());

  v.angle_vertical = 12;
  e.ciels.clear();
  r(*t, v);
  v.hauteur_horizon = 10;
  r(*t, v);
  ASSERT_EQ(e.ciels.size(), 2u);
  EXPECT_EQ(e.ciels[1].ligne_horizon, e.ciels[0].ligne_horizon + 48);
  EXPECT_EQ(e.ciels[1].ligne_terre, e.ciels[1].ligne_horizon);
  v.hauteur_horizon = 0;
  e.ciels.clear();
  r(*t, v, 99, 480);
  ASSERT_EQ(e.ciels.size(), 1u);
  EXPECT_EQ(e.ciels[0].ligne_horizon, e.ciels[0].ligne_terre);
}

TEST(Render, StatisticsOfTheMeasuredNodes) {
  param_vue v = vue_defaut();
  Rendu r;
  auto flat = terrain_synthetique("flat", 7, 500);
  r(*flat, v);
  const resultats_vue& s = flat->resultats_vue;
  EXPECT_EQ(s.altitude_moyenne, 500);
  EXPECT_EQ(s.altitude_maxi, 500);
  EXPECT_EQ(s.altitude_mini, 500);
  EXPECT_EQ(s.niveau_mer, 0);
  // Level ground: every counted facet is flat.
  EXPECT_EQ(s.pente_faible, 100);
  EXPECT_EQ(s.pente_moyenne + s.pente_forte, 0);
  resultats_vue copie;
  copier_resultats_vue(*flat, copie);
  EXPECT_TRUE(memes_resultats(copie, s));

  auto haut = terrain_synthetique("flat", 11, 4000);
  r(*haut, v, 64, 48);
  EXPECT_EQ(haut->resultats_vue.altitude_moyenne, 4000);

  // Degree 6 leaves the record as it was.
  auto petit = terrain_synthetique("cone", 6, 900);
  resultats_vue marque;
  marque.altitude_moyenne = 7;
  marque.pente_forte = 3;
  marque.arbres[2] = {1, 2, 3};
  marque.longueur_rivieres = 9;
  petit->resultats_vue = marque;
  r.statistiques = false;
  r(*petit, v);
  EXPECT_TRUE(memes_resultats(petit->resultats_vue, marque));

  // Degree 7, statistics off: heights and sea again, trees and springs cleared, slopes kept.
  auto cone = terrain_synthetique("cone", 7, 900);
  cone->resultats_vue = marque;
  v.niveau_mer = 100;
  r(*cone, v);
  const resultats_vue& c = cone->resultats_vue;
  EXPECT_EQ(c.altitude_maxi, cone->hauteur_max());
  EXPECT_EQ(c.niveau_mer, 100);
  EXPECT_GT(c.altitude_moyenne, 100);
  EXPECT_EQ(c.arbres[2], (std::array<std::uint16_t, 3>{0, 0, 0}));
  EXPECT_EQ(c.pente_forte, 3);

  EXPECT_EQ(longueur_rivieres_metres(1057, 129), 65535);
  EXPECT_EQ(longueur_rivieres_metres(10, 129), 620);
}

namespace {

struct Photo {
  std::vector<std::int32_t> h;
  std::vector<std::uint8_t> dx, dy;
  std::vector<Rgb> photo;
  std::vector<std::uint16_t> liste;
  bool operator==(const Photo&) const = default;
};

Photo photographier(const Tmatrice& t) {
  Photo p;
  for (int i = 0; i <= t.n + 1; ++i)
    for (int j = 0; j <= t.n + 1; ++j) {
      p.h.push_back(t.hauteurs->lire(i, j));
      if (t.dx) p.dx.push_back(t.dx->lire(i, j));
      if (t.dy) p.dy.push_back(t.dy->lire(i, j));
      if (t.photo) p.photo.push_back(t.photo->lire(i, j));
    }
  for (auto* l : {&t.liste_i, &t.liste_j, &t.liste_type, &t.liste_attribut}) p.liste.insert(p.liste.end(), l->begin(), l->end());
  return p;
}

}  // namespace

namespace {

// The view statistics of a degree > 6 render, counted node by node.
void statistiques_attendues(const Tmatrice& t, std::int32_t mer) {
  std::int32_t maxi = -1000, mini = 4000, haut = -1000;
  std::int64_t somme = 0, nombre = 0;
  for (std::int32_t j = 1; j <= t.n; ++j)
    for (std::int32_t i = 1; i + j <= t.n + 1; ++i) {
      const std::int32_t h = t.hauteurs->lire(i, j);
      haut = std::max(haut, h);
      if (i < 2 || j < 2 || i + j > t.n - 2) continue;
      maxi = std::max(maxi, h);
      mini = std::min(mini, h);
      if (h > mer) {
        somme += h;
        ++nombre;
      }
    }
  const resultats_vue& r = t.resultats_vue;
  EXPECT_EQ(t.hauteur_max(), haut);
  EXPECT_EQ(r.altitude_maxi, maxi);
  EXPECT_EQ(r.altitude_mini, mini);
  EXPECT_EQ(r.altitude_moyenne, nombre > 0 ? Round(double(somme) / double(nombre)) : 0);
}

}  // namespace

// The highest node and the statistics pass are kept between renders; every
// way of changing the heights makes the next render count them again.
TEST(Render, KeptWholeLatticeValuesFollowEveryChangeOfTheHeights) {
  auto t = terrain_synthetique("cone", 8, 900);
  const param_vue v = vue_defaut();
  Rendu r;
  auto verifier = [&](const char* etape) {
    SCOPED_TRACE(etape);
    r(*t, v, 64, 48);
    statistiques_attendues(*t, v.niveau_mer);
  };
  verifier("first render");
  verifier("same heights again");
  t->hauteurs->ecrire(60, 60, 3900);
  verifier("one node written");
  EXPECT_EQ(t->resultats_vue.altitude_maxi, 3900);
  t->hauteurs->ajouter(60, 60, -3500);
  verifier("one node lowered");
  t->elever(250, false);
  verifier("the whole terrain raised");
  t->creer_annulation();
  t->sauver_annulation();
  t->hauteurs->ecrire(2, 2, 4000);
  verifier("a corner node written");
  EXPECT_EQ(t->hauteur_max(), 4000);
  t->annuler();
  verifier("undone");
  model::TextWriter corps;
  t->ecrire_matrice(corps);
  t->elever(-400, false);
  verifier("lowered before reading");
  model::TextReader lecture(corps.bytes());
  t->lire_matrice(lecture);
  verifier("document read");
  t->raffiner(parametres_test(9), nullptr, 0);
  ASSERT_EQ(t->n, 513);
  verifier("refined");
}

TEST(Render, TheTerrainIsNeverWritten) {
  param_mat pm = parametres_test(7);
  pm.deformation = 1;
  pm.photo_aerienne = 1;
  pm.cle = 4321;
  auto t = terrain_genere(pm);
  ASSERT_TRUE(t->photo);
  t->photo->ecrire(30, 30, 0x00102030u);
  t->nombre_elements = 2;
  t->liste_type[0] = TYPE_RIVIERE;
  t->liste_i[0] = 20;
  t->liste_j[0] = 20;
  t->liste_attribut[0] = 1;
  t->liste_type[1] = TYPE_RIVIERE;
  t->liste_i[1] = 21;
  t->liste_j[1] = 20;
  t->liste_attribut[1] = 5;
  const Photo avant = photographier(*t);
  param_vue v = vue_defaut();
  v.horizon = 1;
  ScopedFakeUserInterface ui;
  Rendu r;
  r(*t, v);
  r.grossier = true;
  r(*t, v);
  r.grossier = false;
  Bitmap carte2(850, 744);
  r.editeur = &carte2;
  r.zoom_editeur = 2;
  r(*t, v, 425, 372);
  EXPECT_NE(carte2.at(400, 300), 0u);
  r.editeur = nullptr;
  // Cancelled after the sky, and stopped by an error in the sweep.
  Enregistreur e;
  e.pendant_balayage = [](RenderContext& ctx) { ctx.terrain.calcul_annule = 1; };
  r.options.phases.balayage = &e;
  r(*t, v);
  EXPECT_TRUE(t->calcul_annule);
  e.pendant_balayage = [](RenderContext&) { throw std::runtime_error("sweep"); };
  r(*t, v);
  EXPECT_EQ(photographier(*t), avant);
  EXPECT_EQ(ui.entries.size(), 1u);
}

TEST(Render, ViewDistanceIsThisRendersOwn) {
  auto t = terrain_synthetique("cone", 7, 800);
  param_vue v = vue_defaut();
  const Rgb ciel = TMyPalette(false, 4).lire_couleur(1);
  (void)ciel;
  Rendu r;
  v.distance = 60;
  r(*t, v);
  EXPECT_EQ(r.image.at(0, 0), pixel_rgb(164, 202, 231));
  v.distance = 50;
  r(*t, v);
  EXPECT_EQ(r.image.at(0, 0), pixel_rgb(168, 206, 235));
  auto neuf = terrain_synthetique("cone", 7, 800);
  r(*neuf, v);
  EXPECT_EQ(r.image.at(0, 0), pixel_rgb(168, 206, 235));
}

TEST(Render, CancelEndsTheRenderQuietly) {
  ScopedFakeUserInterface ui;
  const WindowHandle w = platform::register_window([](const platform::Message&) { return 0; });
  auto t = terrain_synthetique("cone", 7, 800);
  FakeProgress attente;
  attente.cancel_at(1, w);
  Rendu r;
  r.fenetre = w;
  r.attente = &attente;
  t->redessiner_tout = 0;
  r(*t, vue_defaut());
  EXPECT_TRUE(t->calcul_annule);
  EXPECT_EQ(t->zone_precedente, (std::array<std::int32_t, 4>{0, t->n + 1, 0, t->n + 1}));
  EXPECT_EQ(t->redessiner_tout, 1);
  EXPECT_TRUE(ui.entries.empty());
  ASSERT_FALSE(attente.calls.empty());
  EXPECT_EQ(attente.calls[0].op, "demarrer");
  EXPECT_EQ(attente.calls[0].window, w);
  platform::unregister_window(w);
}

TEST(Render, AnErrorShowsOneBoxAndStillEnds) {
  ScopedFakeUserInterface ui;
  auto t = terrain_synthetique("cone", 7, 800);
  Enregistreur e;
  e.pendant_balayage = [](RenderContext&) { throw ModelError("Round: not a number"); };
  Rendu r;
  r.options.phases.balayage = &e;
  t->redessiner_tout = 0;
  r(*t, vue_defaut());
  ASSERT_EQ(ui.entries.size(), 1u);
  EXPECT_EQ(ui.entries[0].text, "Error during image computation !");
  EXPECT_EQ(ui.entries[0].caption, "Quorvel");
  EXPECT_EQ(t->redessiner_tout, 1);
}

TEST(Render, EdgeRendersComplete) {
  ScopedFakeUserInterface ui;
  param_vue v = vue_defaut();
  v.horizon = 1;
  for (int degre : {4, 5, 7}) {
    auto t = terrain_synthetique("paraboloid", degre, 1200);
    Rendu r;
    for (int s = 0; s <= 3; ++s) r(*t, v, s, s);
    param_vue z = v;
    z.zoom = 0;
    r(*t, z);
    z = v;
    z.maillage_filaire = 1;
    r(*t, z);
    r.grossier = true;
    r(*t, v);
    r.grossier = false;
    Bitmap carte2(850, 744);
    r.editeur = &carte2;
    for (std::uint16_t zoom : {1, 2}) {
      r.zoom_editeur = zoom;
      r(*t, v, 425, 372);
    }
    r.editeur = nullptr;
    r.camera = true;
    r(*t, v);  // six zeros
    r.enregistrement = {0.5, 0, 0, 0, 0, 0};  // 0.5 m from the corner (1, 1)
    r(*t, v);
    r.enregistrement = {0, 0, 0.5, 0.894427, 0, 0};
    r(*t, v);
  }
  EXPECT_TRUE(ui.entries.empty());
}

TEST(Render, EventsAreThrottledAndPollsFollowTheProgressWindow) {
  auto t = terrain_synthetique("cone", 8, 800);
  std::int64_t horloge = 0;
  std::vector<std::int64_t> appels;
  Enregistreur e;
  e.pendant_balayage = [](RenderContext& ctx) {
    for (int k = 0; k < 200000; ++k) progression(ctx, nullptr, std::nullopt, 2);
  };
  Rendu r;
  r.options.phases.balayage = &e;
  r.options.horloge = [&] { return horloge += 1; };
  r.options.traiter_messages = [&] { appels.push_back(horloge); };
  r(*t, vue_defaut());
  ASSERT_GT(appels.size(), 2u);
  for (std::size_t k = 1; k < appels.size(); ++k) EXPECT_GE(appels[k] - appels[k - 1], 30);

  const WindowHandle w = platform::register_window([](const platform::Message&) { return 0; });
  const WindowHandle autre = platform::register_window([](const platform::Message&) { return 0; });
  platform::post(autre, platform::WM_CANCEL);
  FakeProgress attente;
  int tests_pendant = 0;
  e.pendant_balayage = [&](RenderContext& ctx) {
    const int avant = attente.tests();
    for (int k = 0; k < 1000; ++k) progression(ctx, &ctx.image, std::nullopt, 2);
    tests_pendant = attente.tests() - avant;
  };
  r.attente = &attente;
  r.fenetre = w;
  appels.clear();
  r(*t, vue_defaut());
  EXPECT_EQ(tests_pendant, 1000);
  EXPECT_FALSE(t->calcul_annule);
  EXPECT_TRUE(appels.empty());
  EXPECT_TRUE(platform::peek(autre, platform::WM_CANCEL, platform::WM_CANCEL, false).has_value());
  platform::unregister_window(w);
  platform::unregister_window(autre);
}

TEST(Render, SameTerrainAndViewGiveTheSamePicture) {
  param_mat pm = parametres_test(8);
  pm.cle = 1234;
  auto t = terrain_genere(pm);
  t->marquer_modifiee();  // as the view window does before it renders
  param_vue v = vue_defaut();
  v.horizon = 1;
  v.strates = 1;
  Rendu r;
  r(*t, v);
  const Bitmap premier = r.image;
  const resultats_vue s = t->resultats_vue;
  const std::uint32_t graine = seed();
  r(*t, v);
  EXPECT_EQ(r.image, premier);
  EXPECT_TRUE(memes_resultats(t->resultats_vue, s));
  EXPECT_EQ(seed(), graine);
  // A terrain combined with another renders as its document read back.
  pm.cle = 4321;
  t->combiner(*terrain_genere(pm)->hauteurs, 1, false);
  t->marquer_modifiee();
  r(*t, v);
  const Bitmap combine = r.image;
  model::TextWriter corps;
  t->ecrire_matrice(corps);
  pm.cle = 1234;
  Tmatrice relue(pm);
  model::TextReader lecture(corps.bytes());
  relue.lire_matrice(lecture);
  r(relue, v);
  EXPECT_EQ(r.image, combine);
}

namespace {

struct ArbreEnregistre : ModeleArbre {
  std::vector<GenerationArbre>* generations;
  explicit ArbreEnregistre(std::vector<GenerationArbre>* g) : generations(g) {}
  void generer(RenderContext&, const GenerationArbre& g) override { generations->push_back(g); }
};

struct FabriqueEnregistree : FabriqueArbres {
  std::vector<std::pair<std::int32_t, std::int32_t>> creations;  // species, variants
  std::vector<GenerationArbre> generations;
  bool fabriquer = true;
  std::unique_ptr<ModeleArbre> creer(const param_vue&, bool detail, std::int32_t variantes,
                                     const espece_arbres& couche) override {
    EXPECT_FALSE(detail);
    creations.push_back({couche.espece, variantes});
    if (!fabriquer) return nullptr;
    return std::make_unique<ArbreEnregistre>(&generations);
  }
};

}  // namespace

TEST(Render, TreeModelsForThePresentLayers) {
  auto t = terrain_synthetique("cone", 8, 1500);
  t->especes_presentes[2] = 1;
  t->especes_presentes[5] = 1;
  param_vue v = vue_defaut();
  v.foret = 1;
  v.detail_arbres = 1;
  v.distance = 5;
  v.angle_vertical = 20;
  for (std::size_t L = 0; L < 6; ++L) v.arbres[L].espece = int(L) + 1;
  FabriqueEnregistree f;
  FakeProgress attente;
  Rendu r;
  r.options.phases.arbres = &f;
  r.attente = &attente;
  r(*t, v);
  ASSERT_EQ(f.creations.size(), 2u);
  EXPECT_EQ(f.creations[0].first, 2);
  EXPECT_EQ(f.creations[1].first, 5);
  ASSERT_EQ(f.generations.size(), 2u);
  const GenerationArbre& g = f.generations[0];
  // Detailed trees under 12 km: 12 variants, 24 when the angle range is wide.
  EXPECT_EQ(f.creations[0].second, std::abs(g.haut - g.bas) > 0.3 ? 24 : 12);
  EXPECT_NEAR(g.angle_vertical, 20, 1e-9);
  EXPECT_DOUBLE_EQ(g.azimut_vue, 190);
  EXPECT_EQ(g.degre, 8);
  EXPECT_LT(g.bas, std::sin(20 * std::numbers::pi / 180));
  EXPECT_DOUBLE_EQ(g.milieu, (g.haut - g.bas) * 0.5 + g.bas);
  EXPECT_EQ(t->resultats_vue.arbres[1][0], 2);
  EXPECT_EQ(t->resultats_vue.arbres[4][0], 5);
  EXPECT_EQ(t->resultats_vue.arbres[0][0], 0);
  const auto legendes = attente.captions();
  EXPECT_NE(std::find(legendes.begin(), legendes.end(), "3D Trees Preprocessing ..."), legendes.end());
  // Without models the species codes are still recorded.
  f.fabriquer = false;
  f.creations.clear();
  v.detail_arbres = 0;
  r(*t, v);
  EXPECT_EQ(f.creations.size(), 2u);
  EXPECT_EQ(f.creations[0].second, 1);
  EXPECT_EQ(t->resultats_vue.arbres[4][0], 5);
}

TEST(Render, NearMistFromTheFarthestCorner) {
  param_vue v = vue_defaut();
  v.brume = 1;
  v.distance = 8;
  v.hauteur_brume = 3000;
  Enregistreur e;
  std::int32_t pas = 0, hauteur = 0;
  double loin = 0, attendu = 0;
  e.pendant_balayage = [&](RenderContext& ctx) {
    pas = ctx.pas_brume;
    hauteur = ctx.hauteur_brume;
    loin = ctx.brume_loin;
    attendu = -*std::min_element(ctx.profondeur_coins.begin(), ctx.profondeur_coins.end());
  };
  Rendu r;
  r.options.phases.balayage = &e;
  for (int degre : {5, 7}) {
    auto t = terrain_synthetique("cone", degre, 800);
    t->observateur.hauteur = 3500;  // the mist is below the observer: its height stays
    r(*t, v);
    EXPECT_DOUBLE_EQ(loin, attendu);
    EXPECT_GT(loin, 8000);
    EXPECT_EQ(hauteur, 3000);
    EXPECT_EQ(pas, Round((loin - 2000) / 32) - Round((4000 - 3000) / 2.0 * 32));
    t->observateur.hauteur = 100;
    r(*t, v);
    EXPECT_EQ(hauteur, 4000);
    EXPECT_EQ(pas, Round((loin - 2000) / 32));
  }
  auto t = terrain_synthetique("cone", 7, 800);
  r.camera = true;
  r.enregistrement = {3000, 3000, 500, 0.3, 0.4, 0};
  t->observateur.hauteur = 3500;
  r(*t, v);
  EXPECT_EQ(loin, 6000);
  EXPECT_EQ(pas, 125 - 16000);
}

// Target and observer fractions far outside 0..1 (a document may hold them):
// the grid nodes stay within the lattice, the terrain refines, and a render
// ends without fault; values too large for a node are kept as they are.
TEST(Render, PointFractionsOutsideTheSideStayBounded) {
  const double valeurs[][4] = {{100, -5, 1e8, 1e8}, {-1e8, 0.5, 0.5, -1e8}, {1, 1, 0, 0}};
  for (const auto& f : valeurs) {
    param_mat p = parametres_test(5);
    p.cible[0] = f[0];
    p.cible[1] = f[1];
    p.observateur[0] = f[2];
    p.observateur[1] = f[3];
    auto t = std::make_unique<Tmatrice>(p);
    for (std::int32_t i = 0; i < t->n; ++i)
      for (std::int32_t j = 0; i + j < t->n; ++j) t->hauteurs->ecrire(i, j, 40 * (i % 7) + 30 * (j % 5));
    const std::int32_t n = t->n;
    for (std::int32_t k : {t->cible_i, t->cible_j, t->observateur_i, t->observateur_j}) {
      EXPECT_GE(k, 0);
      EXPECT_LE(k, n);
    }
    EXPECT_EQ(t->cible.x, f[0]);
    EXPECT_EQ(t->observateur.y, f[3]);
    t->placer_cible(f[2], f[3], 0);
    EXPECT_LE(t->cible_i, n);
    Rendu rendu;
    try {
      rendu(*t, vue_defaut(), 160, 120);
    } catch (const ModelError&) {
      // A camera that cannot be set up is refused with a message: no fault.
    }
    t->raffiner(p, nullptr, 0);
    for (std::int32_t k : {t->cible_i, t->cible_j, t->observateur_i, t->observateur_j}) {
      EXPECT_GE(k, 0);
      EXPECT_LE(k, t->n + 1);  // twice the old node, as for a fraction of 1
    }
  }
}
