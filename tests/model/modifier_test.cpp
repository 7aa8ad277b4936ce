// The edit dispatcher and the smoothing tool.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <thread>

#include "platform/messages.h"
#include "tests/model/edition_support.h"
#include "tests/support/fakes.h"

using namespace edition;

namespace {

// A platform window that ignores its messages.
struct Fenetre {
  WindowHandle h = platform::register_window([](const platform::Message&) -> std::intptr_t { return 0; });
  ~Fenetre() { platform::unregister_window(h); }
};

controle_outil controle(ProgressSink* attente = nullptr, WindowHandle fenetre = 0) {
  controle_outil c;
  c.attente = attente;
  c.fenetre = fenetre;
  return c;
}

void appliquer(Tmatrice& m, const arguments_outil& a, controle_outil& c, int i0, int j0) {
  m.debut_trace(i0, j0);
  m.modifier(a, c);
  m.fin_trace();
}

bool sur_le_bord(const Tmatrice& m, int i, int j) { return i == 1 || j == 1 || i + j == m.n + 1; }

// Every node whose height or distortion changed lies inside the changed area.
void verifier_zone(const Tmatrice& avant, const Tmatrice& apres) {
  const auto& z = apres.zone_modifiee;
  int changes = 0;
  for (int i = 1; i <= apres.n; ++i)
    for (int j = 1; i + j <= apres.n + 1; ++j) {
      bool change = avant.hauteurs->lire(i, j) != apres.hauteurs->lire(i, j);
      if (apres.dx) change = change || avant.dx->lire(i, j) != apres.dx->lire(i, j) ||
                             avant.dy->lire(i, j) != apres.dy->lire(i, j);
      if (!change) continue;
      ++changes;
      ASSERT_TRUE(i >= z[0] && i <= z[1] && j >= z[2] && j <= z[3]) << i << "," << j;
    }
  EXPECT_GT(changes, 0);
}

}  // namespace

TEST(Modifier, TwoNodeStrokeActsAsAClick) {
  auto a = collines(7), b = collines(7);
  controle_outil c = controle();
  appliquer(*a, lisser(800, 20), c, 40, 40);
  b->debut_trace(40, 40);
  b->lire_trace(41, 40);
  ASSERT_EQ(b->dernier_point, 1);
  b->modifier(lisser(800, 20), c);
  EXPECT_EQ(b->dernier_point, 0);
  b->fin_trace();
  EXPECT_TRUE(memes_hauteurs(*a, *b));
  EXPECT_FALSE(memes_hauteurs(*a, *collines(7)));
}

TEST(Modifier, SnapshotFollowsTheBaseWidth) {
  auto m = collines(7);
  auto s0 = collines(7);
  m->creer_annulation();
  FakeProgress attente;
  Fenetre f;
  controle_outil c = controle(&attente, f.h);
  appliquer(*m, lisser(800, 20), c, 50, 30);  // snapshot of s0
  auto s1 = collines(7);
  copier_hauteurs(*m, *s1);
  appliquer(*m, lisser(2, 20), c, 60, 30);  // no snapshot
  EXPECT_FALSE(memes_hauteurs(*m, *s1));
  m->annuler();
  // The rim is laid by every call; the snapshot of s0 was taken before the first.
  for (int i = 2; i < m->n; ++i)
    for (int j = 2; i + j < m->n + 1; ++j) ASSERT_EQ(m->hauteurs->lire(i, j), s0->hauteurs->lire(i, j));

  ASSERT_GE(attente.calls.size(), 3u);
  EXPECT_EQ(attente.calls[0].op, "take_focus");
  EXPECT_EQ(attente.calls[1].op, "demarrer");
  EXPECT_EQ(attente.calls[1].window, f.h);
  EXPECT_EQ(attente.captions().front(), "Smooth processing ...");
  EXPECT_EQ(attente.calls.back().op, "avancer");
  EXPECT_EQ(attente.calls.back().increment, 100);
}

TEST(Modifier, CursorSnapshotsAndLaysTheRimOnly) {
  auto m = collines(7);
  auto avant = collines(7);
  m->creer_annulation();
  FakeProgress attente;
  controle_outil c = controle(&attente);
  arguments_outil a;
  a.largeur_base_debut = 800;
  a.outil = OUTIL_CURSEUR;
  m->hauteurs->ecrire(30, 30, 2222);  // changed before the call: the snapshot holds it
  appliquer(*m, a, c, 20, 20);
  EXPECT_TRUE(c.continuer);
  for (int i = 1; i <= m->n; ++i)
    for (int j = 1; i + j <= m->n + 1; ++j) {
      if (sur_le_bord(*m, i, j))
        ASSERT_EQ(m->hauteurs->lire(i, j), -1000);
      else if (i != 30 || j != 30)
        ASSERT_EQ(m->hauteurs->lire(i, j), avant->hauteurs->lire(i, j));
    }
  m->hauteurs->ecrire(30, 30, 0);
  m->annuler();
  EXPECT_EQ(m->hauteurs->lire(30, 30), 2222);
  EXPECT_EQ(m->redessiner_tout, 0);
}

TEST(Modifier, WithoutProgressWindowOnlyTheListIsSaved) {
  auto m = collines(6);
  m->creer_annulation();
  auto s0 = collines(6);
  controle_outil c = controle();
  appliquer(*m, lisser(8000, 20), c, 10, 10);
  EXPECT_FALSE(memes_hauteurs(*m, *s0));
  m->annuler();
  EXPECT_TRUE(memes_hauteurs(*m, *s0));  // the snapshot of creer_annulation
}

TEST(Modifier, RimFromDegreeSeven) {
  for (int degre : {6, 7}) {
    auto m = collines(degre);
    for (int k = 1; k <= m->n; ++k) {
      m->hauteurs->ecrire(1, k, 300);
      m->hauteurs->ecrire(k, 1, 300);
      m->hauteurs->ecrire(k, m->n + 1 - k, 300);
    }
    controle_outil c = controle();
    arguments_outil curseur;
    curseur.outil = OUTIL_CURSEUR;
    for (const arguments_outil& a : {lisser(8000, 30), lisser(500, 10), curseur}) {
      appliquer(*m, a, c, m->n / 3, m->n / 3);
      for (int k = 1; k <= m->n; ++k)
        if (degre == 7) {
          ASSERT_EQ(m->hauteurs->lire(1, k), -1000);
          ASSERT_EQ(m->hauteurs->lire(k, 1), -1000);
          ASSERT_EQ(m->hauteurs->lire(k, m->n + 1 - k), -1000);
        }
    }
    if (degre == 6) {
      // Smoothing works on the edges too, but no rim is laid.
      int rim = 0;
      for (int k = 1; k <= m->n; ++k) rim += m->hauteurs->lire(1, k) == -1000;
      EXPECT_EQ(rim, 0);
    }
  }
}

TEST(Modifier, ChangedAreaCoversEveryChange) {
  for (bool distorsion : {false, true}) {
    auto m = collines(7, distorsion);
    m->marquer_modifiee();
    controle_outil c = controle();
    for (auto [i0, j0, w] : {std::tuple{30, 40, 600}, std::tuple{90, 20, 300}, std::tuple{5, 5, 1000}}) {
      auto avant = collines(7, distorsion);
      copier_hauteurs(*m, *avant);
      if (distorsion) {
        *avant->dx = *m->dx;
        *avant->dy = *m->dy;
      }
      appliquer(*m, lisser(w, 40), c, i0, j0);
      verifier_zone(*avant, *m);
    }
    // The areas of all three calls were merged.
    EXPECT_LE(m->zone_modifiee[0], 2);
    EXPECT_GE(m->zone_modifiee[1], 90);
  }
}

TEST(Modifier, ErrorInsideTheToolIsReportedOnce) {
  ScopedFakeUserInterface ui;
  auto m = collines(7);
  m->marquer_modifiee();
  m->cible.hauteur = -12345;
  controle_outil c = controle();
  appliquer(*m, lisser(800, -80), c, 40, 40);  // divisor 0 at the start node
  ASSERT_EQ(ui.entries.size(), 1u);
  EXPECT_FALSE(ui.entries[0].question);
  EXPECT_EQ(ui.entries[0].text, "Error during the modification of the mountain !");
  EXPECT_EQ(ui.entries[0].caption, "Quorvel");
  EXPECT_TRUE(c.continuer);
  EXPECT_EQ(m->hauteurs->lire(1, 50), -1000);
  EXPECT_EQ(m->cible.hauteur, m->hauteurs->lire(m->cible_i, m->cible_j));
  EXPECT_LE(m->zone_modifiee[0], 40);
  EXPECT_GE(m->zone_modifiee[1], 40);
  EXPECT_EQ(m->redessiner_tout, 0);
}

TEST(Modifier, CancelStopsTheToolAndKeepsItsWork) {
  Fenetre f;
  FakeProgress attente;
  attente.cancel_at(10, f.h);
  auto m = collines(7);
  auto avant = collines(7);
  for (int k = 1; k <= m->n; ++k) {
    m->hauteurs->ecrire(1, k, 300);
    m->hauteurs->ecrire(k, 1, 300);
    m->hauteurs->ecrire(k, m->n + 1 - k, 300);
  }
  copier_hauteurs(*m, *avant);
  m->marquer_modifiee();
  m->redessiner_tout = 1;
  controle_outil c = controle(&attente, f.h);
  appliquer(*m, lisser(8000, 20), c, 40, 40);
  EXPECT_FALSE(c.continuer);
  // The message is taken at the next node in the band, whose own test still runs.
  EXPECT_EQ(attente.tests(), 11);
  for (int k = 1; k <= m->n; ++k) {
    ASSERT_EQ(m->hauteurs->lire(1, k), 300);
    ASSERT_EQ(m->hauteurs->lire(k, m->n + 1 - k), 300);
  }
  verifier_zone(*avant, *m);
  EXPECT_EQ(m->redessiner_tout, 1);
  EXPECT_FALSE(cancel_requested(f.h));
}

TEST(Modifier, LeftoverCancelMessageIsNotTheDispatchersConcern) {
  // Without a progress window the tool does not poll: a queued message stays.
  Fenetre f;
  platform::post(f.h, platform::WM_CANCEL);
  auto m = collines(6);
  controle_outil c = controle(nullptr, f.h);
  appliquer(*m, lisser(8000, 20), c, 10, 10);
  EXPECT_TRUE(c.continuer);
  EXPECT_TRUE(cancel_requested(f.h));
}

#ifdef NDEBUG
TEST(Modifier, WithoutATraceNothingRuns) {
  auto m = collines(7);
  auto avant = collines(7);
  controle_outil c = controle();
  m->modifier(lisser(8000, 20), c);
  EXPECT_TRUE(memes_hauteurs(*m, *avant));
}
#endif

TEST(Lissage, ZeroStrengthAndFlatGround) {
  auto m = collines(6);
  auto avant = collines(6);
  controle_outil c = controle();
  appliquer(*m, lisser(8000, 0), c, 20, 20);
  EXPECT_TRUE(memes_hauteurs(*m, *avant));

  for (int force : {1, 20, 100}) {
    auto plat = terrain(7);
    for (int i = 1; i <= plat->n; ++i)
      for (int j = 1; i + j <= plat->n + 1; ++j) plat->hauteurs->ecrire(i, j, 321);
    c.i0 = 50;
    c.j0 = 40;
    outil_lisser(*plat, lisser(8000, force), c);
    for (int i = 1; i <= plat->n; ++i)
      for (int j = 1; i + j <= plat->n + 1; ++j) ASSERT_EQ(plat->hauteurs->lire(i, j), 321);
  }
}

TEST(Lissage, AltitudeBand) {
  for (auto [pic, lisse] : {std::pair{550, true}, std::pair{551, false}, std::pair{-50, false}}) {
    auto m = terrain(6);
    m->hauteurs->ecrire(20, 20, pic);
    controle_outil c = controle();
    c.i0 = 20;
    c.j0 = 20;
    outil_lisser(*m, lisser(8000, 20, 500, 0), c);
    EXPECT_EQ(m->hauteurs->lire(20, 20) != pic, lisse) << pic;
    EXPECT_NE(m->hauteurs->lire(20, 21), 0) << pic;  // its neighbours move in any case
  }
}

TEST(Lissage, EdgesAreLeftFromDegreeSeven) {
  auto m7 = collines(7);
  auto a7 = collines(7);
  controle_outil c = controle();
  c.i0 = 40;
  c.j0 = 40;
  outil_lisser(*m7, lisser(8000, 40), c);
  for (int k = 1; k <= m7->n; ++k) {
    ASSERT_EQ(m7->hauteurs->lire(1, k), a7->hauteurs->lire(1, k));
    ASSERT_EQ(m7->hauteurs->lire(k, 1), a7->hauteurs->lire(k, 1));
    ASSERT_EQ(m7->hauteurs->lire(k, m7->n + 1 - k), a7->hauteurs->lire(k, m7->n + 1 - k));
  }
  EXPECT_FALSE(memes_hauteurs(*m7, *a7));

  auto m6 = collines(6);
  auto a6 = collines(6);
  c.i0 = 20;
  c.j0 = 20;
  outil_lisser(*m6, lisser(8000, 40), c);
  int bords = 0;
  for (int k = 1; k <= m6->n; ++k)
    bords += (m6->hauteurs->lire(1, k) != a6->hauteurs->lire(1, k)) +
             (m6->hauteurs->lire(k, 1) != a6->hauteurs->lire(k, 1)) +
             (m6->hauteurs->lire(k, m6->n + 1 - k) != a6->hauteurs->lire(k, m6->n + 1 - k));
  EXPECT_GT(bords, 0);
}

TEST(Lissage, AreaAndProgress) {
  auto m = collines(7);
  FakeProgress attente;
  controle_outil c = controle(&attente);
  c.i0 = 60;
  c.j0 = 30;
  outil_lisser(*m, lisser(1000, 20), c);
  // R = Round(128 / 16) = 8, margin 13.
  EXPECT_EQ(m->zone_outil, (std::array<std::int32_t, 4>{47, 73, 17, 43}));
  ASSERT_FALSE(attente.calls.empty());
  EXPECT_EQ(attente.calls[0].op, "avancer");
  EXPECT_EQ(attente.calls[0].caption, "Smooth processing ...");
  EXPECT_EQ(attente.calls[0].increment, 0);
  EXPECT_GT(attente.total_increment(), 0);
  EXPECT_LT(attente.total_increment(), 100);

  c.i0 = 3;
  c.j0 = 120;
  outil_lisser(*m, lisser(1000, 20), c);
  EXPECT_EQ(m->zone_outil, (std::array<std::int32_t, 4>{2, 16, 107, 129}));
}

TEST(Lissage, StrongExaggerationHoldsShiftsWithinTheByte) {
  auto m = collines(7, true);
  controle_outil c = controle();
  c.i0 = 40;
  c.j0 = 40;
  outil_lisser(*m, lisser(8000, -60), c);  // halved to -30: divisor down to 0.25
  int extremes = 0;
  for (int i = 2; i < m->n; ++i)
    for (int j = 2; i + j < m->n + 1; ++j) extremes += m->dx->lire(i, j) == 0 || m->dx->lire(i, j) == 255;
  EXPECT_GT(extremes, 0);
}

TEST(Lissage, WholeLargestTerrainWithDistortion) {
  auto m = collines(11, true);
  controle_outil c = controle();
  c.i0 = 700;
  c.j0 = 700;
  outil_lisser(*m, lisser(8000, 20), c);
  EXPECT_TRUE(c.continuer);
  EXPECT_EQ(m->zone_outil, (std::array<std::int32_t, 4>{2, 2049, 2, 2049}));
}

// The work grids' memory stays with a thread from one smoothing to the next:
// after larger and smaller areas, with and without distortion, a smoothing
// gives what it gives on a fresh thread, down to the distortion bytes.
TEST(Lissage, SameResultWhateverTheThreadSmoothedBefore) {
  auto lisser_en = [](Tmatrice& m, std::int32_t largeur, std::int32_t force, int i0, int j0) {
    controle_outil c = controle();
    c.i0 = i0;
    c.j0 = j0;
    outil_lisser(m, lisser(largeur, force), c);
    EXPECT_TRUE(c.continuer);
  };
  auto neuf = collines(9, true);
  std::thread([&] { lisser_en(*neuf, 8000, 20, 200, 150); }).join();
  auto grand = collines(10, true);
  lisser_en(*grand, 8000, 10, 300, 300);
  auto petit = collines(9, false);
  lisser_en(*petit, 3000, 30, 100, 200);
  auto m = collines(9, true);
  lisser_en(*m, 8000, 20, 200, 150);
  EXPECT_TRUE(memes_hauteurs(*neuf, *m));
  int differents = 0;
  for (int i = 1; i <= m->n; ++i)
    for (int j = 1; i + j <= m->n + 1; ++j)
      differents += neuf->dx->lire(i, j) != m->dx->lire(i, j) || neuf->dy->lire(i, j) != m->dy->lire(i, j);
  EXPECT_EQ(differents, 0);
}

TEST(Modifier, SnapshotAndRimClassesOfEveryCode) {
  // Lists only: the feature tools and Copy; Plateau and Paste change heights and take the full snapshot.
  const std::set<int> listes{4, 6, 7, 11, 14, 15, 16, 18};
  const std::set<int> sans_rivage{4, 6, 7, 11, 14, 15, 16};
  for (int outil = 0; outil <= 19; ++outil) {
    EXPECT_EQ(outil_listes_seules(outil), listes.count(outil) == 1) << outil;
    EXPECT_EQ(outil_d_elements(outil), sans_rivage.count(outil) == 1) << outil;
  }
  // A feature tool with a progress window takes no full snapshot and lays no rim.
  auto m = collines(7);
  m->creer_annulation();
  for (int k = 1; k <= m->n; ++k) m->hauteurs->ecrire(1, k, 300);
  FakeProgress attente;
  controle_outil c = controle(&attente);
  arguments_outil a;
  a.largeur_base_debut = 800;
  a.outil = OUTIL_GOMME_SOL;
  appliquer(*m, a, c, 20, 20);
  for (const auto& call : attente.calls) EXPECT_TRUE(call.op != "take_focus" && call.op != "demarrer");
  EXPECT_EQ(m->hauteurs->lire(1, 40), 300);
}

TEST(Geometrie, PlaneDistance) {
  EXPECT_DOUBLE_EQ(distance_noeuds(3, 4, 3, 4), 0.0);
  EXPECT_DOUBLE_EQ(distance_noeuds(1, 1, 2, 1), std::sqrt(0.81 + 0.25));
  EXPECT_DOUBLE_EQ(distance_noeuds(1, 1, 1, 3), 2.0);
}
