#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <random>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "model/aleatoire.h"
#include "platform/messages.h"
#include "tests/render/arbre_aide.h"
#include "tests/support/arbre_csv.h"
#include "tests/support/fakes.h"

namespace {

const int k_plus_haut[9] = {0, 7, 6, 7, 7, 4, 4, 4, 4};

std::vector<double> longueurs(const Tarbre& a, int k, int l) {
  std::vector<double> v;
  for (const auto& s : a.segments_de(k, l)) v.push_back(s.longueur);
  std::sort(v.begin(), v.end());
  return v;
}

// Stored-order invariants of one level.
void verifier_niveau(const Tarbre& a, int k, int l) {
  const auto segs = a.segments_de(k, l);
  const auto n = segs.size();
  ASSERT_GT(n, 0u);
  ASSERT_LE(n, a.capacite[l]);
  std::vector<bool> vu(n + 1, false);
  for (std::size_t b = 0; b < n; ++b) {
    const segment& s = segs[b];
    if (b > 0) {
      EXPECT_LE(s.profondeur, segs[b - 1].profondeur);
    }
    ASSERT_GE(s.rang, 1);
    ASSERT_LE(s.rang, n);
    EXPECT_FALSE(vu[s.rang]);
    vu[s.rang] = true;
    EXPECT_GE(s.teinte, 1);
    EXPECT_LE(s.teinte, 8);
    EXPECT_GE(s.genre, 1);
    EXPECT_LE(s.genre, 4);
    const double d = std::hypot(s.dir_x, s.dir_y);
    if (!(s.dir_x == 0 && s.dir_y == 0)) {
      EXPECT_NEAR(d, 1.0, 1e-9);
    }
    EXPECT_TRUE(std::isfinite(s.longueur));
    EXPECT_TRUE(std::isfinite(s.x1) && std::isfinite(s.y2) && std::isfinite(s.profondeur));
  }
  EXPECT_EQ(segs[0].rang, n);
}

bool memes_segments(const Tarbre& a, const Tarbre& b) {
  if (a.nb_segments != b.nb_segments || a.etendue != b.etendue || a.pied_x != b.pied_x || a.pied_y != b.pied_y ||
      a.pied_largeur != b.pied_largeur || a.cos_rotation != b.cos_rotation || a.sin_rotation != b.sin_rotation ||
      a.inclinaison != b.inclinaison || a.echelle != b.echelle)
    return false;
  for (int k = 1; k <= a.nb_variantes; ++k)
    for (int l = 1; l <= a.niveau; ++l) {
      auto sa = a.segments_de(k, l), sb = b.segments_de(k, l);
      for (std::size_t i = 0; i < sa.size(); ++i) {
        const segment &x = sa[i], &y = sb[i];
        if (std::memcmp(&x.x1, &y.x1, 6 * sizeof(double)) != 0 || x.teinte != y.teinte || x.genre != y.genre ||
            std::memcmp(&x.dir_x, &y.dir_x, 3 * sizeof(double)) != 0 || x.rang != y.rang)
          return false;
      }
    }
  return true;
}

struct Fenetre {
  WindowHandle h = platform::register_window([](const platform::Message&) -> std::intptr_t { return 0; });
  ~Fenetre() {
    while (platform::peek(h, 0, 0xFFFFFFFF, true)) {
    }
    platform::unregister_window(h);
  }
};

std::vector<int> increments(const FakeProgress& p) {
  std::vector<int> v;
  for (const auto& c : p.calls)
    if (c.op == "avancer") {
      EXPECT_FALSE(c.has_caption);
      v.push_back(c.increment);
    }
  return v;
}

}  // namespace

TEST(GenererArbre, ElementCountsWithoutDiversityMatchTheGrowthRules) {
  const std::vector<std::vector<int>> attendus = {
      {},
      {62, 162, 362, 762, 1562, 3162, 6362},
      {42, 138, 423, 1275, 3828, 11484},
      {56, 156, 360, 772, 1600, 3260, 6584},
      {70, 174, 382, 798, 1630, 3294, 6622},
      {56, 72, 88, 104},
      {30, 57, 90, 129},
      {19, 43, 91, 187},
      {48, 156, 480, 1452},
  };
  for (int sp = 1; sp <= 8; ++sp) {
    auto c = couche_type(sp);
    c.diversite = 0;
    auto a = generer_detaille(c);
    ASSERT_EQ(a->niveau, k_plus_haut[sp]);
    for (int l = 1; l <= a->niveau; ++l) EXPECT_EQ(a->nb_segments[0][l], attendus[sp][l - 1]) << sp << " " << l;

    // Dropped chains only ever remove elements.
    c.diversite = 2;
    for (int graine = 1; graine <= 10; ++graine) {
      reglage r;
      r.graine = graine * 37 - 100;
      auto b = generer_detaille(c, r);
      for (int l = 1; l <= b->niveau; ++l) EXPECT_LE(b->nb_segments[0][l], attendus[sp][l - 1]) << sp << " " << l;
    }
  }
}

TEST(GenererArbre, OakFootSegment) {
  auto c = couche_type(1);
  c.diversite = 0;
  auto a = generer(vue_type(), c, 6);
  for (int k = 1; k <= 6; ++k) {
    int a_l_origine = 0;
    for (const auto& s : a->segments_de(k, 1)) {
      if (s.x1 == 0 && s.y1 == 0) {
        ++a_l_origine;
        EXPECT_EQ(s.largeur, 6);
        EXPECT_EQ(s.genre, 2);
        EXPECT_NEAR(s.longueur, 0.2242208, 1e-6);
      }
    }
    EXPECT_EQ(a_l_origine, 1) << k;
    EXPECT_EQ(a->pied_x[k - 1], 0);
    EXPECT_EQ(a->pied_y[k - 1], 0);
    EXPECT_EQ(a->pied_largeur[k - 1], 6);
  }
}

TEST(GenererArbre, SeedsTurnsScaleAndTiltClasses) {
  const param_vue v = vue_type();
  for (int sp = 1; sp <= 8; ++sp) {
    const auto c = couche_type(sp);
    // Variant 2 with seed factor 100 and variant 1 with 200 share the seed 628.
    reglage r200;
    r200.graine = 200;
    auto a = generer(v, c, 6);
    auto b = generer(v, c, 6, false, r200);
    for (int l = 1; l <= a->niveau; ++l) {
      EXPECT_EQ(a->etendue[1][l], b->etendue[0][l]) << sp << " " << l;
      EXPECT_EQ(longueurs(*a, 2, l), longueurs(*b, 1, l)) << sp << " " << l;
    }
    // Another seed factor changes every variant.
    reglage r101;
    r101.graine = 101;
    auto d = generer(v, c, 6, false, r101);
    for (int k = 1; k <= 6; ++k) EXPECT_NE(longueurs(*a, k, a->niveau), longueurs(*d, k, a->niveau)) << sp << " " << k;

    // Without diversity every variant and every seed factor gives the same lengths.
    auto c0 = c;
    c0.diversite = 0;
    auto e = generer(v, c0, 6);
    auto f = generer(v, c0, 6, false, r200);
    for (int k = 1; k <= 6; ++k)
      for (int l = 1; l <= e->niveau; ++l) {
        EXPECT_EQ(longueurs(*e, k, l), longueurs(*e, 1, l));
        EXPECT_EQ(longueurs(*f, k, l), longueurs(*e, 1, l));
      }
  }

  auto a = generer(v, couche_type(1), 6);
  auto angle = [&](int k) { return std::atan2(a->sin_rotation[k - 1], a->cos_rotation[k - 1]); };
  EXPECT_NEAR(angle(2) - angle(1), 2 * std::numbers::pi / 6, 1e-12);
  EXPECT_NEAR(angle(3) - angle(1), 5 * std::numbers::pi / 6, 1e-12);
  reglage tourne;
  tourne.rotation = 1;
  auto t = generer(v, couche_type(1), 6, false, tourne);
  EXPECT_NEAR(std::atan2(t->sin_rotation[0], t->cos_rotation[0]), -std::numbers::pi / 4, 1e-12);

  reglage r9;
  r9.degre = 9;
  EXPECT_EQ(generer(v, couche_type(1), 1, false, r9)->echelle, 2.0);
  reglage r5;
  r5.degre = 5;
  EXPECT_EQ(generer(v, couche_type(1), 1, false, r5)->echelle, 0.125);

  auto g = generer(v, couche_type(1), 24);
  const double classes[5] = {0.5, 0.7, 0.6, 0.4, 0.3};
  for (int i = 0; i < 5; ++i) EXPECT_NEAR(g->inclinaison[i], classes[i], 1e-12);
  reglage egal;
  egal.a = egal.b = 0.3;
  auto h = generer(v, couche_type(1), 24, false, egal);
  for (double i : h->inclinaison) EXPECT_EQ(i, 0.5);
  auto six = generer(v, couche_type(1), 6);
  for (double i : six->inclinaison) EXPECT_EQ(i, 0.5);
}

TEST(GenererArbre, StoredOrderInvariants) {
  param_vue v = vue_type();
  for (int sp = 1; sp <= 8; ++sp) {
    for (double face : {0.5, -0.5}) {
      reglage r;
      r.lumiere_face = face;
      auto a = generer(v, couche_type(sp), 24, false, r);
      ASSERT_EQ(a->niveau, 4);
      for (int k = 1; k <= 24; ++k)
        for (int l = 1; l <= 4; ++l) {
          SCOPED_TRACE(std::to_string(sp) + " " + std::to_string(k) + " " + std::to_string(l));
          verifier_niveau(*a, k, l);
        }
    }
    auto b = generer_detaille(couche_type(sp));
    for (int l = 1; l <= b->niveau; ++l) {
      SCOPED_TRACE(std::to_string(sp) + " detailed " + std::to_string(l));
      verifier_niveau(*b, 1, l);
      EXPECT_GE(b->etendue[0][l], 0);
    }
  }
}

TEST(GenererArbre, SameInputsGiveIdenticalModelsAndGeneratorState) {
  for (int sp = 1; sp <= 8; ++sp) {
    set_seed(4242);
    auto a = generer(vue_type(), couche_type(sp), 12);
    const auto apres_a = seed();
    set_seed(99);
    auto b = generer(vue_type(), couche_type(sp), 12);
    EXPECT_EQ(seed(), apres_a);
    EXPECT_TRUE(memes_segments(*a, *b)) << sp;
  }
  // The CSV dump names every stored segment once.
  auto a = generer(vue_type(), couche_type(7), 2);
  std::ostringstream out;
  ecrire_segments_csv(*a, out);
  const std::string texte = out.str();
  std::size_t lignes = std::count(texte.begin(), texte.end(), '\n');
  std::size_t total = 0;
  for (int k = 1; k <= 2; ++k)
    for (int l = 1; l <= a->niveau; ++l) total += a->nb_segments[k - 1][l];
  EXPECT_EQ(lignes, total + 1);
  EXPECT_EQ(texte.rfind("variante,niveau,position,x1,", 0), 0u);
}

TEST(GenererArbre, WithoutTreeDetailOnlyTheShapeFieldsAreSet) {
  param_vue v = vue_type();
  v.detail_arbres = 0;
  reglage r;
  r.degre = 8;
  auto a = generer(v, couche_type(1), 24, false, r);
  for (const auto& par_niveau : a->nb_segments)
    for (auto n : par_niveau) EXPECT_EQ(n, 0);
  EXPECT_EQ(a->echelle, 1.0);
  EXPECT_EQ(a->inclinaison[1], 0.7);
  EXPECT_EQ(a->cos_rotation[0], 1.0);
  EXPECT_NE(a->cos_rotation[1], 0.0);
  EXPECT_EQ(a->detail_arbres, 0);
  EXPECT_EQ(a->poids, 0);
  EXPECT_EQ(a->croissance, 0);
  EXPECT_EQ(a->forme, 0);
  EXPECT_DOUBLE_EQ(a->agitation, 0.08);
  auto fir = generer(v, couche_type(2), 1);
  EXPECT_EQ(fir->forme, 3);
  EXPECT_EQ(fir->grappes, 1);
  EXPECT_EQ(fir->echelle_grappe, 0.9);
}

TEST(GenererArbre, ProgressStepsAndCancel) {
  Fenetre f;
  {
    FakeProgress p;
    reglage r;
    r.attente = &p;
    r.fenetre = f.h;
    bool annule = true;
    auto a = generer(vue_type(), couche_type(1), -7, true, r, &annule);
    EXPECT_FALSE(annule);
    EXPECT_EQ(increments(p), std::vector<int>(23, 1));
    EXPECT_EQ(p.tests(), 23);
  }
  {
    FakeProgress p;
    reglage r;
    r.attente = &p;
    r.fenetre = f.h;
    generer(vue_type(), couche_type(1), 6, false, r);
    EXPECT_EQ(increments(p), std::vector<int>(6, 4));
    // Every progress point still polls: one per variant and 3 x 4 + 2 inside it.
    EXPECT_EQ(p.tests(), 6 * 15);
  }
  {
    FakeProgress p;
    reglage r;
    r.attente = &p;
    r.fenetre = f.h;
    generer(vue_type(), couche_type(2), -6, true, r);
    EXPECT_EQ(increments(p), std::vector<int>(20, 1));
    FakeProgress q;
    r.attente = &q;
    generer(vue_type(), couche_type(3), -6, true, r);
    EXPECT_TRUE(increments(q).empty());
  }

  auto complet = generer(vue_type(), couche_type(1), -7, true);
  // Cancel at the first poll: nothing is kept.
  {
    FakeProgress p;
    p.cancel_at(1, f.h);
    reglage r;
    r.attente = &p;
    r.fenetre = f.h;
    bool annule = false;
    auto a = generer(vue_type(), couche_type(1), -7, true, r, &annule);
    EXPECT_TRUE(annule);
    for (int l = 1; l <= 7; ++l) EXPECT_EQ(a->nb_segments[0][l], 0);
    EXPECT_TRUE(increments(p).empty());
  }
  // Polls 10 and 11 are level 1's output, 12 and 13 level 2's; 14 starts level
  // 3's, which still completes.
  for (int k : {13, 14}) {
    FakeProgress p;
    p.cancel_at(k, f.h);
    reglage r;
    r.attente = &p;
    r.fenetre = f.h;
    bool annule = false;
    auto a = generer(vue_type(), couche_type(1), -7, true, r, &annule);
    EXPECT_TRUE(annule);
    const int faits = k == 13 ? 2 : 3;
    for (int l = 1; l <= 7; ++l) {
      if (l <= faits) {
        EXPECT_EQ(a->nb_segments[0][l], complet->nb_segments[0][l]) << k << " " << l;
        EXPECT_EQ(longueurs(*a, 1, l), longueurs(*complet, 1, l));
      } else {
        EXPECT_EQ(a->nb_segments[0][l], 0) << k << " " << l;
      }
    }
  }
  // Several variants: a cancel during variant 3 keeps variants 1 and 2 whole.
  {
    FakeProgress p;
    p.cancel_at(2 * 15 + 3, f.h);
    reglage r;
    r.attente = &p;
    r.fenetre = f.h;
    bool annule = false;
    auto a = generer(vue_type(), couche_type(3), 6, false, r, &annule);
    auto b = generer(vue_type(), couche_type(3), 6);
    EXPECT_TRUE(annule);
    for (int k = 1; k <= 6; ++k)
      for (int l = 1; l <= 4; ++l) EXPECT_EQ(a->nb_segments[k - 1][l], k <= 2 ? b->nb_segments[k - 1][l] : 0);
  }
}

TEST(GenererArbre, InternalErrorIsReportedAndUnfinishedLevelsEmptied) {
  const auto complet = generer(vue_type(), couche_type(1), 6);
  for (bool en_sortie : {false, true}) {
    ScopedFakeUserInterface ui;
    fixer_crochet_test_arbre([&](int k, int l, bool sortie) {
      if (k == 2 && l == 3 && sortie == en_sortie) throw std::runtime_error("injected");
    });
    bool annule = true;
    auto a = generer(vue_type(), couche_type(1), 6, false, {}, &annule);
    fixer_crochet_test_arbre({});
    EXPECT_FALSE(annule);
    ASSERT_EQ(ui.entries.size(), 1u);
    EXPECT_FALSE(ui.entries[0].question);
    EXPECT_EQ(ui.entries[0].text, "Internal error when generating trees");
    EXPECT_EQ(ui.entries[0].caption, "Trees ");
    for (int l = 1; l <= 4; ++l) {
      EXPECT_EQ(a->nb_segments[0][l], complet->nb_segments[0][l]);
      const bool garde = en_sortie && l < 3;
      EXPECT_EQ(a->nb_segments[1][l], garde ? complet->nb_segments[1][l] : 0) << en_sortie << " " << l;
      for (int k = 3; k <= 6; ++k) EXPECT_EQ(a->nb_segments[k - 1][l], 0);
    }
    EXPECT_EQ(longueurs(*a, 1, 4), longueurs(*complet, 1, 4));
  }
  // An out-of-range seed product is an internal error too, not a crash.
  ScopedFakeUserInterface ui;
  reglage r;
  r.graine = 2000000000;
  auto a = generer(vue_type(), couche_type(1), 6, false, r);
  EXPECT_EQ(ui.entries.size(), 1u);
  for (const auto& par_niveau : a->nb_segments)
    for (auto n : par_niveau) EXPECT_EQ(n, 0);
}

TEST(GenererArbre, EdgeInputsStayWithinBounds) {
  ScopedFakeUserInterface ui;
  const param_vue v = vue_type();
  auto verifier = [&](const Tarbre& a) {
    for (int k = 1; k <= a.nb_variantes; ++k)
      for (int l = 1; l <= a.niveau; ++l) {
        const auto segs = a.segments_de(k, l);
        ASSERT_LE(segs.size(), a.capacite[l]);
        for (const auto& s : segs) {
          EXPECT_GE(s.teinte, 1);
          EXPECT_LE(s.teinte, 8);
        }
      }
  };
  for (int sp = 1; sp <= 8; ++sp) {
    for (double centre : {1.5, -3.0, 1.0}) {
      reglage r;
      r.centre = centre;
      r.a = -3;
      r.b = 1.5;
      verifier(*generer(v, couche_type(sp), 1, false, r));
      verifier(*generer(v, couche_type(sp), 24, false, r));
    }
    auto c = couche_type(sp);
    c.diversite = -1;
    verifier(*generer(v, c, 6));
    c = couche_type(sp);
    c.largeur = 0;
    verifier(*generer(v, c, 6));
    for (int poids : {0, 40}) {
      c = couche_type(sp);
      c.poids_branches = poids;
      verifier(*generer(v, c, 6));
    }
    for (int taux : {1, 10}) {
      c = couche_type(sp);
      c.taux_croissance = taux;
      verifier(*generer_detaille(c));
    }
    reglage r;
    r.graine = -2000;
    verifier(*generer(v, couche_type(sp), 24, false, r));
  }
  EXPECT_TRUE(ui.entries.empty());
  // Species outside the table: shape fields only, no segment, no message.
  for (int sp : {0, 9}) {
    auto a = generer(v, couche_type(sp), 6);
    EXPECT_EQ(a->niveau, 1);
    EXPECT_EQ(a->echelle, 0.5);
    for (const auto& par_niveau : a->nb_segments)
      for (auto n : par_niveau) EXPECT_EQ(n, 0);
  }
  EXPECT_TRUE(ui.entries.empty());
}

TEST(TrierSegments, SortsAscendingAsAPermutation) {
  std::mt19937 rng(7);
  for (int n : {1, 2, 3, 7, 64, 1000, 20000}) {
    for (int cles : {1000000, 3, 1}) {
      std::vector<segment> t(static_cast<std::size_t>(n));
      std::uniform_int_distribution<int> tirage(0, cles - 1);
      for (int i = 0; i < n; ++i) {
        t[i].profondeur = cles == 1000000 ? std::uniform_real_distribution<double>(-50, 150)(rng) : tirage(rng);
        t[i].largeur = i;  // identity of the record
      }
      auto avant = t;
      trier_segments(t, 1, n);
      for (int i = 1; i < n; ++i) ASSERT_LE(t[i - 1].profondeur, t[i].profondeur);
      std::vector<int> ids;
      for (const auto& s : t) {
        ids.push_back(static_cast<int>(s.largeur));
        EXPECT_EQ(s.profondeur, avant[static_cast<std::size_t>(s.largeur)].profondeur);
      }
      std::sort(ids.begin(), ids.end());
      for (int i = 0; i < n; ++i) ASSERT_EQ(ids[i], i);
    }
  }
  // Equal keys land where the partitioning puts them, not in input order.
  std::vector<segment> t(3);
  t[0].profondeur = 1;
  t[0].largeur = 0;
  t[1].profondeur = 1;
  t[1].largeur = 1;
  t[2].profondeur = 0;
  t[2].largeur = 2;
  trier_segments(t, 1, 3);
  EXPECT_EQ(t[0].largeur, 2);
  EXPECT_EQ(t[1].largeur, 1);
  EXPECT_EQ(t[2].largeur, 0);
  // A sub-range leaves the rest alone; a range outside the array is refused.
  std::vector<segment> u(4);
  for (int i = 0; i < 4; ++i) u[i].profondeur = 4 - i;
  trier_segments(u, 2, 3);
  EXPECT_EQ(u[0].profondeur, 4);
  EXPECT_EQ(u[1].profondeur, 2);
  EXPECT_EQ(u[2].profondeur, 3);
  EXPECT_EQ(u[3].profondeur, 1);
  EXPECT_THROW(trier_segments(u, 1, 5), std::out_of_range);
  trier_segments(u, 1, 0);  // empty range
}
