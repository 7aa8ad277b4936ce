// Drawing single trees: colour sets, renditions, level and variant choice,
// close-ups, trunk, foliage, symbols, reflections and silhouettes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "exemples/arbres_dessin.h"
#include "model/aleatoire.h"
#include "model/defauts.h"
#include "render/canevas_arbre.h"
#include "render/dessin_arbre.h"
#include "render/palette.h"
#include "tests/render/arbre_aide.h"
#include "tests/support/canevas_enregistreur.h"
#include "tests/support/fakes.h"

using namespace render;
using Genre = CanevasEnregistreur::Genre;

namespace {

struct Releve : ObservateurArbres {
  std::vector<RapportArbre> rapports;
  void arbre(const RapportArbre& r) override { rapports.push_back(r); }
  const RapportArbre& dernier() const { return rapports.back(); }
};

TMyPalette palette_test() {
  param_vue v;
  valeurs_defaut_vue(v);
  return palette_pour_vue(v);
}

struct Appel {
  Point pied{100, 150};
  int eclairement = 40;
  double taille = 10;
  int neige = 0;
  bool ombre = false;
  int sol = 0;
  int brume = 0;
  bool au_trait = false;
  int numero = 1;
  double inclinaison = 0.5;
  bool video = false;
  ProgressSink* attente = nullptr;
};

struct Banc {
  std::unique_ptr<Tarbre> t;
  TMyPalette palette = palette_test();
  CanevasEnregistreur cv;
  Releve releve;
  bool annule = false;

  explicit Banc(int espece = 1, int variantes = 6, param_vue vue = vue_type(), espece_arbres c = couche_type(1)) {
    c.espece = espece;
    t = generer(vue, c, variantes);
    t->observateur = &releve;
  }
  // Size factor giving drawing size s.
  double taille_pour(double s) const { return s / (3.2 * t->echelle); }
  bool dessiner(const Appel& a) {
    cv.traces.clear();
    return t->dessiner_arbre(a.pied, std::uint16_t(a.eclairement), a.taille, a.neige, a.ombre, std::uint16_t(a.sol), 4,
                             std::uint16_t(a.brume), cv, palette, a.au_trait, a.numero, a.inclinaison, a.attente, 0,
                             annule, a.video);
  }
  std::array<std::int32_t, 6> couleurs() const {
    return {t->couleur_feuilles,     t->couleur_feuilles_ombre, t->couleur_tronc,
            t->couleur_ecorce,       t->couleur_ecorce_ombre,   t->couleur_ecorce_moyenne};
  }
  std::size_t compte(Genre g) const {
    return std::size_t(std::count_if(cv.traces.begin(), cv.traces.end(), [g](auto& x) { return x.genre == g; }));
  }
};

}  // namespace

TEST(DessinArbre, EchelleDesChecks) {
  Banc b;
  EXPECT_DOUBLE_EQ(b.t->echelle, 0.5);
  EXPECT_EQ(b.t->niveau, 4);
}

TEST(DessinArbre, JeuxDeCouleurs) {
  struct Cas {
    int couleur, eclairement, neige;
    bool ombre;
    double s;
    std::array<std::int32_t, 6> attendu;
  };
  const Cas cas[] = {
      {1, 40, 0, false, 10, {202, 174, 5, 5, 3, 4}},
      {2, 40, 0, false, 10, {190, 166, 5, 5, 3, 4}},
      {3, 40, 0, false, 10, {250, 222, 5, 5, 3, 4}},
      {4, 40, 0, false, 10, {238, 214, 5, 5, 3, 4}},
      {1, 40, 10, false, 10, {298, 270, 290, 290, 270, 282}},
      {1, 40, 0, true, 10, {538, 174, 4, 4, 2, 3}},
      {1, 8, 0, false, 10, {174, 166, 4, 4, 2, 3}},
  };
  for (const Cas& c : cas) {
    espece_arbres couche = couche_type(1);
    couche.couleur = c.couleur;
    Banc b(1, 6, vue_type(), couche);
    Appel a;
    a.eclairement = c.eclairement;
    a.neige = c.neige;
    a.ombre = c.ombre;
    a.taille = b.taille_pour(c.s);
    EXPECT_TRUE(b.dessiner(a));
    EXPECT_EQ(b.couleurs(), c.attendu) << "colour " << c.couleur << " L " << c.eclairement;
  }
}

TEST(DessinArbre, CouleursAvecBrume) {
  param_vue v;
  valeurs_defaut_vue(v);
  v.brume = 1;
  v.ombre_portee = 1;
  Banc b;
  b.palette = palette_pour_vue(v);
  ASSERT_TRUE(b.palette.grande());
  Appel a;
  a.brume = 2;
  a.ombre = true;
  a.taille = b.taille_pour(10);
  b.dessiner(a);
  ASSERT_FALSE(b.cv.traces.empty());
  for (const auto& tr : b.cv.traces) {
    for (const CouleurArbre& c : {tr.stylo.couleur, tr.pinceau.couleur})
      if (c.index >= 0) EXPECT_EQ(c.rgb, pixel_of(b.palette.couleur(c.index, 2)));
  }
  EXPECT_EQ(b.t->couleur_feuilles, 538);
  EXPECT_EQ(b.palette.couleur(538, 2), b.palette.couleur(538, 2));
}

TEST(DessinArbre, RestrictionDuSolEtRendus) {
  espece_arbres couche = couche_type(1);
  couche.interdit_rocher = 1;
  Banc b(1, 6, vue_type(), couche);
  b.t->couleur_feuilles = 77;
  Appel a;
  a.sol = 3;
  EXPECT_FALSE(b.dessiner(a));
  EXPECT_TRUE(b.cv.traces.empty());
  EXPECT_EQ(b.t->couleur_feuilles, 77);

  a.sol = 0;
  a.taille = 3.75;  // s = 6.0 exactly
  b.dessiner(a);
  EXPECT_EQ(b.releve.dernier().rendu, RenduArbre::symbole);
  a.taille = b.taille_pour(6.01);
  b.dessiner(a);
  EXPECT_EQ(b.releve.dernier().rendu, RenduArbre::segments);
  a.taille = b.taille_pour(1.5);
  b.dessiner(a);
  EXPECT_EQ(b.releve.dernier().rendu, RenduArbre::trait);
  a.taille = b.taille_pour(1.0);
  b.dessiner(a);
  EXPECT_EQ(b.releve.dernier().rendu, RenduArbre::aucun);
  EXPECT_TRUE(b.cv.traces.empty());

  param_vue vue = vue_type();
  vue.premier_plan = 1;
  Banc p(1, 6, vue);
  a.taille = p.taille_pour(3.5);
  p.dessiner(a);
  EXPECT_EQ(p.releve.dernier().rendu, RenduArbre::segments);
}

TEST(DessinArbre, VarianteNiveauEtInclinaison) {
  Banc b;
  Appel a;
  a.numero = 13;
  a.taille = b.taille_pour(8);
  b.dessiner(a);
  EXPECT_EQ(b.releve.dernier().variante, 2);
  const std::pair<double, int> niveaux[] = {{8, 1}, {13, 2}, {30, 3}, {50, 4}};
  for (auto [s, l] : niveaux) {
    a.taille = b.taille_pour(s);
    b.dessiner(a);
    EXPECT_EQ(b.releve.dernier().niveau, l) << s;
  }
  Banc pin(4);
  a.taille = pin.taille_pour(30);
  pin.dessiner(a);
  EXPECT_EQ(pin.releve.dernier().niveau, 2);

  param_vue vue = vue_type();
  vue.premier_plan = 1;
  Banc p(1, 6, vue), buisson(8, 6, vue);
  a.taille = p.taille_pour(8);
  p.dessiner(a);
  if (p.t->niveau == 4) EXPECT_EQ(p.releve.dernier().niveau, 3);
  a.taille = buisson.taille_pour(8);
  buisson.dessiner(a);
  if (buisson.t->niveau == 4) EXPECT_EQ(buisson.releve.dernier().niveau, 2);

  Banc v24(1, 24);
  v24.t->inclinaison = {0.5, 0.7, 0.6, 0.4, 0.3};
  a.inclinaison = 0.52;
  a.taille = v24.taille_pour(8);
  v24.dessiner(a);
  EXPECT_EQ(v24.releve.dernier().variante, 6);
  EXPECT_DOUBLE_EQ(v24.releve.dernier().inclinaison, 0.5);
}

TEST(DessinArbre, SapinDUnSeulNiveau) {
  param_vue vue = vue_type();
  auto t = Tarbre::creer(vue, false, -1, couche_type(2));
  bool annule = false;
  t->generer_arbre(vue, couche_type(2), 0.8, 0.5, 0.7, 0.5, 0, 0, 7, 100, 0, nullptr, annule, 0.5, 0.5);
  CanevasEnregistreur cv;
  const TMyPalette pal = palette_test();
  ScopedFakeUserInterface ui;
  t->dessiner_arbre({50, 90}, 40, 40, 0, false, 0, 4, 0, cv, pal, false, 3, 0.5, nullptr, 0, annule, false);
  EXPECT_TRUE(ui.entries.empty());
}

TEST(DessinArbre, GrosPlans) {
  FakeProgress attente;
  Banc b;
  Appel a;
  a.taille = 62.5;
  b.dessiner(a);
  EXPECT_EQ(b.releve.dernier().rendu, RenduArbre::gros_plan);
  EXPECT_EQ(b.releve.dernier().niveau_gros_plan, 5);
  ASSERT_GE(b.releve.rapports.size(), 2u);
  EXPECT_TRUE(b.releve.rapports[b.releve.rapports.size() - 2].gros_plan);
  a.taille = 125;
  b.dessiner(a);
  EXPECT_EQ(b.releve.dernier().niveau_gros_plan, 6);
  a.video = true;
  b.dessiner(a);
  EXPECT_NE(b.releve.dernier().rendu, RenduArbre::gros_plan);

  param_vue vue = vue_type();
  vue.premier_plan = 1;
  vue.detail_plus = 1;
  Banc p(1, 6, vue);
  Appel c;
  c.taille = p.taille_pour(130);
  c.attente = &attente;
  p.dessiner(c);
  EXPECT_EQ(p.releve.dernier().niveau_gros_plan, 7);
  const auto legendes = attente.captions();
  EXPECT_NE(std::find(legendes.begin(), legendes.end(), "A tree very detailed ...  "), legendes.end());
  // A close-up never makes another one: one report of the close-up, one of the tree.
  EXPECT_EQ(p.releve.rapports.size(), 2u);

  // Snow-covered: the close-up draws with the snow colours.
  Banc n;
  Appel d;
  d.taille = 62.5;
  d.neige = 10;
  n.dessiner(d);
  ASSERT_GE(n.releve.rapports.size(), 2u);
  EXPECT_EQ(n.releve.rapports[0].couleurs[0], 298);

  // A 24-variant Palm seen steeply gets a close-up of one variant.
  Banc palm(5, 24);
  palm.t->inclinaison = {0.5, 0.7, 0.6, 0.4, 0.3};
  Appel e;
  e.inclinaison = 0.8;
  e.taille = palm.taille_pour(10);
  palm.dessiner(e);
  EXPECT_EQ(palm.releve.dernier().rendu, RenduArbre::gros_plan);
}

TEST(DessinArbre, TroncEtTraits) {
  Banc b;
  Appel a;
  a.taille = b.taille_pour(7);
  b.dessiner(a);
  ASSERT_EQ(b.releve.dernier().rendu, RenduArbre::segments);
  ASSERT_EQ(b.t->largeur_pied, 1);
  const auto& premier = b.cv.traces.front();
  EXPECT_EQ(premier.genre, Genre::ligne);
  EXPECT_EQ(premier.stylo.largeur, 1);

  a.au_trait = true;
  for (double s : {7.0, 20.0, 60.0}) {
    a.taille = b.taille_pour(s);
    b.dessiner(a);
    EXPECT_EQ(b.compte(Genre::polygone), 0u) << s;
  }
}

TEST(DessinArbre, AiguillesDeSapinLimitees) {
  Banc f(2);
  Appel a;
  for (double s : {10.0, 40.0, 90.0}) {
    for (int neige : {0, 10}) {
      a.neige = neige;
      a.taille = f.taille_pour(s);
      a.video = true;
      f.dessiner(a);
      for (const auto& tr : f.cv.traces)
        if (tr.genre == Genre::ligne) EXPECT_LE(tr.stylo.largeur, neige ? 40 : 20);
    }
  }
}

TEST(DessinArbre, Symboles) {
  // Seen from straight above, the whole symbol moves by (+r, -r).
  Banc b;
  Appel a;
  a.taille = b.taille_pour(5);
  b.t->facteur_vue = 0.5;
  b.dessiner(a);
  const auto reference = b.cv.traces;
  b.t->facteur_vue = 0.04;
  b.dessiner(a);
  const int r = Round(0.4 * 5);
  ASSERT_EQ(b.cv.traces.size(), reference.size());
  // The trunk line's foot moves by exactly (+r, -r).
  EXPECT_EQ(b.cv.traces[0].points[1].x, a.pied.x + r);
  EXPECT_EQ(b.cv.traces[0].points[1].y, a.pied.y - r);

  // A Fir lit from the negative side paints its lit triangle in the shaded colour.
  Banc f(2);
  f.t->signe_azimut = -1;
  f.t->taille_feuilles = 7;
  a.taille = f.taille_pour(5);
  f.dessiner(a);
  const std::int32_t lit = f.t->couleur_feuilles, shade = f.t->couleur_feuilles_ombre;
  ASSERT_EQ(f.cv.traces.size(), 3u);
  EXPECT_EQ(f.cv.traces[2].points.size(), 3u);
  EXPECT_EQ(f.cv.traces[2].pinceau.couleur.index, lit);
  EXPECT_EQ(lit, 174);  // the shaded colour, and the swap is kept after the call
  EXPECT_EQ(shade, 202);

  // A Palm seen steeply: two ellipses.
  Banc p(5);
  a.inclinaison = 0.9;
  a.taille = p.taille_pour(5);
  p.dessiner(a);
  EXPECT_EQ(p.compte(Genre::ellipse), 2u);

  // A stroke tree with small leaves: one 1-pixel line at x0 - sigma.
  Banc s;
  s.t->taille_feuilles = 4;
  s.t->signe_azimut = 1;
  a.taille = s.taille_pour(1.5);
  a.inclinaison = 0.5;
  s.dessiner(a);
  ASSERT_EQ(s.cv.traces.size(), 1u);
  EXPECT_EQ(s.cv.traces[0].stylo.largeur, 1);
  EXPECT_EQ(s.cv.traces[0].points[0].x, a.pied.x - 1);

  // tf 0: the first tree of a picture draws outlines only; after an Oak symbol it is filled.
  Banc z;
  z.t->taille_feuilles = 0;
  a.taille = z.taille_pour(5);
  z.dessiner(a);
  for (const auto& tr : z.cv.traces) EXPECT_FALSE(tr.pinceau.plein);
  Banc chene;
  CanevasEnregistreur partage;
  bool annule = false;
  chene.t->dessiner_arbre({50, 50}, 40, chene.taille_pour(5), 0, false, 0, 4, 0, partage, chene.palette, false, 1, 0.5,
                          nullptr, 0, annule, false);
  const Pinceau laisse = partage.pinceau();
  EXPECT_TRUE(laisse.plein);
  partage.traces.clear();
  z.t->dessiner_arbre({50, 50}, 40, z.taille_pour(5), 0, false, 0, 4, 0, partage, z.palette, false, 1, 0.5, nullptr,
                      0, annule, false);
  EXPECT_EQ(partage.traces.back().pinceau, laisse);
}

TEST(DessinArbre, Feuillage) {
  // A Pine with wl <= 1.2 draws no leaf; an Oak's oval leaves count steps with wl.
  Banc b;
  Appel a;
  a.taille = b.taille_pour(30);
  b.dessiner(a);
  EXPECT_GT(b.compte(Genre::ellipse), 0u);
  std::size_t avant = 0;
  param_vue vue = vue_type();
  vue.detail_plus = 1;
  Banc d(1, -5 > 0 ? 1 : 6, vue);
  for (double s : {20.0, 40.0, 80.0}) {
    a.taille = d.taille_pour(s);
    a.video = true;
    d.dessiner(a);
    const std::size_t n = d.compte(Genre::ellipse);
    EXPECT_GE(n, avant);
    avant = n;
  }
}
