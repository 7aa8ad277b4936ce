// Forests in whole renders: the real tree interface in the view, the cast
// shadows, the reflections, the map editor and the dialog preview's calls.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "exemples/arbres_dessin.h"
#include "model/defauts.h"
#include "render/calcul_image.h"
#include "render/dessin_arbre.h"
#include "tests/render/arbre_aide.h"
#include "tests/support/fakes.h"
#include "tests/support/terrains.h"

using namespace render;

namespace {

struct Releve : ObservateurArbres {
  std::vector<RapportArbre> rapports;
  int reflets = 0, silhouettes = 0;
  void arbre(const RapportArbre& r) override { rapports.push_back(r); }
  void reflet() override { ++reflets; }
  void silhouette_editeur() override { ++silhouettes; }
};

std::unique_ptr<Tmatrice> terrain_foret(int degre = 8) {
  param_mat p = parametres_test(degre);
  p.cle = 4242;
  auto t = terrain_genere(p);
  planter_foret(*t, 40);
  return t;
}

struct Rendu {
  Bitmap image;
  Bitmap carte;
  resultats_vue resultats;
};

Rendu rendre(Tmatrice& t, const param_vue& vue, Releve* releve = nullptr, bool editeur = false, int largeur = 800,
             int hauteur = 600, ProgressSink* attente = nullptr, WindowHandle fenetre = 0) {
  Rendu r;
  r.image.reset(largeur, hauteur);
  if (editeur) r.carte.reset(2 * largeur, 2 * hauteur);
  RenderOptions o;
  o.phases.observateur_arbres = releve;
  t.marquer_modifiee();
  calcul_image(t, fenetre, palette_pour_vue(vue), r.image, {}, vue, largeur, hauteur, attente, editeur ? &r.carte : nullptr,
               1, 0, 0, 1, 0, {}, o);
  r.resultats = t.resultats_vue;
  return r;
}

std::size_t entrees_couche(const Tmatrice& t, int L) {
  std::size_t n = 0;
  for (std::int32_t k = 0; k < t.nombre_elements && std::size_t(k) < t.liste_type.size(); ++k)
    if (t.liste_type[std::size_t(k)] == 10 + L) ++n;
  return n;
}

TMyPalette palette_test_foret() {
  param_vue v;
  valeurs_defaut_vue(v);
  v.brume = 1;
  return palette_pour_vue(v);
}

}  // namespace

TEST(ForetRendu, VueAvecArbres) {
  auto t = terrain_foret();
  param_vue vue = vue_foret();
  vue.detail_arbres = 1;
  vue.distance = 3;
  Releve releve;
  const Rendu a = rendre(*t, vue, &releve);
  bool visible = false;
  for (int L = 1; L <= 4; ++L) {
    EXPECT_EQ(a.resultats.arbres[std::size_t(L - 1)][0], L);
    visible = visible || a.resultats.arbres[std::size_t(L - 1)][2] > 0;
    EXPECT_LE(a.resultats.arbres[std::size_t(L - 1)][2], entrees_couche(*t, L));
  }
  EXPECT_TRUE(visible);
  EXPECT_TRUE(std::any_of(releve.rapports.begin(), releve.rapports.end(),
                          [](auto& r) { return r.rendu == RenduArbre::segments; }));
  const Rendu b = rendre(*t, vue);
  EXPECT_EQ(a.image, b.image);
  EXPECT_EQ(a.resultats.arbres, b.resultats.arbres);
  param_vue sans = vue;
  sans.foret = 0;
  EXPECT_NE(rendre(*t, sans).image, a.image);

  // A layer without a species: no model, no message, no visible trees.
  ScopedFakeUserInterface ui;
  param_vue zero = vue;
  zero.arbres[1].espece = 0;
  const Rendu c = rendre(*t, zero);
  EXPECT_TRUE(ui.entries.empty());
  EXPECT_EQ(c.resultats.arbres[1][2], 0);
}

TEST(ForetRendu, GrosPlansAuPremierPlan) {
  auto t = terrain_foret();
  param_vue vue = vue_foret();
  vue.detail_arbres = 1;
  vue.premier_plan = 1;
  vue.detail_plus = 1;
  vue.distance = 1;
  Releve releve;
  rendre(*t, vue, &releve, false, 400, 300);
  EXPECT_TRUE(std::any_of(releve.rapports.begin(), releve.rapports.end(), [](auto& r) { return r.gros_plan; }));
}

TEST(ForetRendu, UnSeulAvertissementParRendu) {
  auto t = terrain_foret();
  param_vue vue = vue_foret();
  ScopedFakeUserInterface ui;
  fixer_crochet_test_dessin([] { throw std::runtime_error("test"); });
  rendre(*t, vue, nullptr, false, 320, 240);
  fixer_crochet_test_dessin({});
  ASSERT_EQ(ui.entries.size(), 1u);
  EXPECT_EQ(ui.entries[0].text, "Internal error when drawing trees");
  EXPECT_EQ(ui.entries[0].caption, "Trees ");
}

TEST(ForetRendu, AnnulationPendantLesModeles) {
  auto t = terrain_foret();
  param_vue vue = vue_foret();
  vue.detail_arbres = 1;
  const WindowHandle w = platform::register_window([](const platform::Message&) { return 0; });
  FakeProgress essai;
  rendre(*t, vue, nullptr, false, 320, 240, &essai);
  int k = 0;
  for (const auto& c : essai.calls) {
    if (c.op == "tester_annulation") ++k;
    if (c.op == "avancer" && c.has_caption && c.caption == "3D Trees Preprocessing ...") break;
  }
  FakeProgress attente;
  attente.cancel_at(k + 1, w);
  rendre(*t, vue, nullptr, false, 320, 240, &attente, w);
  EXPECT_NE(t->calcul_annule, 0);
}

TEST(ForetRendu, OmbresPortees) {
  auto t = terrain_foret();
  param_vue vue = vue_foret();
  vue.ombre_portee = 1;
  vue.elevation_soleil = 10;
  Releve releve;
  rendre(*t, vue, &releve, false, 400, 300);
  EXPECT_TRUE(std::any_of(releve.rapports.begin(), releve.rapports.end(), [](auto& r) { return r.a_l_ombre; }));
}

TEST(ForetRendu, RefletsDesArbresDessines) {
  auto t = terrain_foret();
  param_vue vue = vue_foret();
  vue.reflet = 1;
  vue.horizon = 1;
  vue.agitation_mer = 0;
  vue.angle_vertical = 5;
  Releve releve;
  rendre(*t, vue, &releve, false, 400, 300);
  const auto dessines = std::count_if(releve.rapports.begin(), releve.rapports.end(), [](auto& r) { return r.dessine; });
  EXPECT_LE(releve.reflets, dessines);
}

TEST(ForetRendu, CarteDeLEditeur) {
  auto t = terrain_foret(7);
  param_vue vue = vue_foret();
  vue.detail_arbres = 1;
  Releve releve;
  const Rendu a = rendre(*t, vue, &releve, true, 320, 240);
  param_vue sans = vue;
  sans.foret = 0;
  const Rendu b = rendre(*t, sans, nullptr, true, 320, 240);
  EXPECT_NE(a.carte, b.carte);
  for (const auto& r : releve.rapports)
    EXPECT_TRUE(r.rendu == RenduArbre::symbole || r.rendu == RenduArbre::trait || r.rendu == RenduArbre::aucun);
}

TEST(ForetRendu, ApercuDuDialogue) {
  // The view options preview: one variant, degree 7, no progress window, foot (100, y).
  param_vue vue;
  valeurs_defaut_vue(vue);
  const espece_arbres c = couche_defaut(1);
  auto t = Tarbre::creer(vue, false, 1, c);
  const double a = 20 * 3.14159265358979323846 / 180, e = vue.elevation_soleil * 3.14159265358979323846 / 180;
  bool annule = false;
  t->generer_arbre(vue, c, std::cos(a), std::sin(a), std::cos(e - a), std::cos(vue.azimut_soleil * 0.0174533), 1, 0,
                   7, 1, 0, nullptr, annule, std::sin(a), std::sin(a));
  Bitmap image(200, 200, 0xFFFFFFFFu);
  CanevasImage cv(image.surface());
  t->dessiner_arbre({100, 190}, 40, 30.0, 0, false, 0, 4, 0, cv, palette_pour_vue(vue), false, 1, std::sin(a), nullptr,
                    0, annule, false);
  EXPECT_LT(std::count(image.pixels().begin(), image.pixels().end(), 0xFFFFFFFFu), 200 * 200 - 50);
}

TEST(ForetRendu, RobustesseDeToutesLesEspeces) {
  ScopedFakeUserInterface ui;
  const TMyPalette pal = palette_test_foret();
  for (int espece = 1; espece <= 8; ++espece)
    for (int variante = 0; variante < 2; ++variante) {
      param_vue vue = vue_type();
      vue.premier_plan = variante;
      vue.detail_plus = variante;
      auto t = generer(vue, couche_type(espece), 6);
      Bitmap image(300, 300);
      CanevasImage cv(image.surface());
      int k = 0;
      for (double s = 0.5; s <= 300; s += 1.1 * 7, ++k) {
        bool annule = false;
        const double tilts[3] = {-3, 0, 1.5};
        t->dessiner_arbre({150, 280}, std::uint16_t(1 + k % 48), s / (3.2 * t->echelle), (k % 3) * 5, k % 2 == 0, 0,
                          4, std::uint16_t(k % 2 ? 32 : 0), cv, pal, k % 5 == 0, k, tilts[k % 3], nullptr, 0, annule,
                          false);
      }
    }
  EXPECT_TRUE(ui.entries.empty());
}
