// Stroke trace, undo snapshots and elevation.
#include <gtest/gtest.h>

#include "tests/model/edition_support.h"

using namespace edition;

TEST(Trace, RecordsEachNewNodeOnce) {
  auto m = collines(6);
  m->debut_trace(10, 10);
  m->lire_trace(10, 10);  // the start node again
  m->lire_trace(11, 10);
  m->lire_trace(11, 10);
  EXPECT_EQ(m->dernier_point, 1);
  m->lire_trace(12, 10);
  m->lire_trace(11, 10);  // left and came back
  ASSERT_EQ(m->dernier_point, 3);
  EXPECT_EQ(m->trace[3].i, 11);
  EXPECT_EQ(m->trace[3].j, 10);
  EXPECT_EQ(m->lire_trace(12, 12), m->hauteurs->lire(12, 12));
}

TEST(Trace, StopsRecordingBeforeTheEnd) {
  auto m = collines(4);  // n = 17, capacity 273
  m->debut_trace(1, 1);
  int reads = 0;
  for (int k = 0; reads < 16 * m->n + 50; ++k) {
    const int i = 1 + k % 16, j = 1 + (k / 16) % 2;  // always a new node
    m->lire_trace(i, j);
    ++reads;
  }
  EXPECT_EQ(m->dernier_point, m->capacite_trace - 2);
}

TEST(Trace, RimAndOutsideReads) {
  auto m7 = collines(7);
  m7->hauteurs->ecrire(1, 10, 250);
  m7->debut_trace(5, 5);
  EXPECT_EQ(m7->lire_trace(1, 10), -4001);
  ASSERT_EQ(m7->dernier_point, 1);
  EXPECT_EQ(m7->trace[1].i, 1);
  EXPECT_EQ(m7->trace[1].j, 10);
  EXPECT_EQ(m7->lire_trace(0, 5), -4001);
  EXPECT_EQ(m7->lire_trace(100, 100), -4001);
  EXPECT_EQ(m7->dernier_point, 1);

  auto m6 = collines(6);
  m6->hauteurs->ecrire(1, 10, 250);
  EXPECT_EQ(m6->lire_trace(1, 10), 250);
  EXPECT_EQ(m6->lire_trace(6, 61), -4001);
}

TEST(Trace, EndAndRestart) {
  auto m = collines(5);
  m->fin_trace();  // no trace: only the state is cleared
  EXPECT_EQ(m->trace_active, 0);
  EXPECT_EQ(m->dernier_point, 0);
  m->debut_trace(3, 4);
  m->lire_trace(4, 4);
  m->debut_trace(7, 8);  // replaces the first trace
  EXPECT_EQ(m->dernier_point, 0);
  EXPECT_EQ(m->trace[0].i, 7);
  EXPECT_EQ(m->trace.size(), static_cast<std::size_t>(m->capacite_trace));
  m->fin_trace();
  EXPECT_TRUE(m->trace.empty());
  EXPECT_EQ(m->trace_active, 0);
  m->lire_trace(4, 4);  // reading without a trace records nothing
  EXPECT_EQ(m->dernier_point, 0);
}

namespace {

void ajouter_entree(Tmatrice& m, std::uint16_t i, std::uint16_t j, std::uint16_t type, std::uint16_t attribut) {
  const auto k = static_cast<std::size_t>(m.nombre_elements++);
  m.liste_i[k] = i;
  m.liste_j[k] = j;
  m.liste_type[k] = type;
  m.liste_attribut[k] = attribut;
}

}  // namespace

TEST(Annulation, RestoresHeightsDistortionAndList) {
  auto m = collines(6, true);
  ajouter_entree(*m, 5, 5, TYPE_ARBRE + 2, 40);
  auto avant = collines(6, true);
  m->creer_annulation();

  m->hauteurs->ecrire(10, 10, 3999);
  m->dx->ecrire(10, 10, 1);
  m->dy->ecrire(3, 3, 2);
  m->liste_type[0] = TYPE_EFFACE;
  ajouter_entree(*m, 6, 6, TYPE_SOL + 1, 2);
  m->annuler();
  EXPECT_TRUE(memes_hauteurs(*m, *avant));
  EXPECT_EQ(m->dx->lire(10, 10), avant->dx->lire(10, 10));
  EXPECT_EQ(m->dy->lire(3, 3), avant->dy->lire(3, 3));
  ASSERT_EQ(m->nombre_elements, 1);
  EXPECT_EQ(m->liste_type[0], TYPE_ARBRE + 2);

  m->hauteurs->ecrire(10, 10, 3999);
  m->annuler();  // the copies stay: a second Undo gives the same state
  EXPECT_TRUE(memes_hauteurs(*m, *avant));
  EXPECT_EQ(m->nombre_elements, 1);
}

TEST(Annulation, ListSnapshotBetweenTwoPlantings) {
  auto m = collines(6);
  m->creer_annulation();
  ajouter_entree(*m, 5, 5, TYPE_ARBRE + 5, 63);
  m->sauver_listes();
  ajouter_entree(*m, 9, 9, TYPE_ARBRE + 5, 63);
  m->annuler();
  ASSERT_EQ(m->nombre_elements, 1);
  EXPECT_EQ(m->liste_i[0], 5);
}

TEST(Annulation, CreatingAgainReplacesTheCopies) {
  auto m = collines(6);
  m->creer_annulation();
  m->hauteurs->ecrire(8, 8, 1234);
  m->creer_annulation();
  m->hauteurs->ecrire(8, 8, 0);
  m->annuler();
  EXPECT_EQ(m->hauteurs->lire(8, 8), 1234);
}

TEST(Annulation, WithoutCopiesNothingChanges) {
  auto m = collines(6, true);
  auto avant = collines(6, true);
  ajouter_entree(*m, 5, 5, TYPE_ARBRE + 1, 10);
  m->sauver_annulation();  // copies nothing, but counts the list
  EXPECT_EQ(m->nombre_annulation, 1);
  ajouter_entree(*m, 6, 5, TYPE_ARBRE + 1, 10);
  m->sauver_listes();
  EXPECT_EQ(m->nombre_annulation, 2);
  ajouter_entree(*m, 7, 5, TYPE_ARBRE + 1, 10);
  m->annuler();
  EXPECT_TRUE(memes_hauteurs(*m, *avant));
  EXPECT_EQ(m->nombre_elements, 3);
  EXPECT_EQ(m->dx->lire(4, 4), avant->dx->lire(4, 4));
}

TEST(Elevation, UniformAndProportional) {
  auto m = terrain(6);
  m->hauteurs->ecrire(10, 10, 1000);
  m->hauteurs->ecrire(11, 10, 500);
  m->hauteurs->ecrire(12, 10, -100);
  m->elever(500, true);
  EXPECT_EQ(m->hauteurs->lire(10, 10), 1500);
  EXPECT_EQ(m->hauteurs->lire(11, 10), 750);
  EXPECT_EQ(m->hauteurs->lire(12, 10), -150);
  EXPECT_EQ(m->hauteurs->lire(5, 5), 0);

  auto r = terrain(7);
  for (int j = 1; j <= r->n; ++j) r->hauteurs->ecrire(1, j, -1000);
  r->hauteurs->ecrire(20, 20, 3950);
  r->elever(100, false);
  EXPECT_EQ(r->hauteurs->lire(1, 40), -900);  // the rim is raised and not laid again
  EXPECT_EQ(r->hauteurs->lire(20, 20), 4000);
  EXPECT_EQ(r->hauteurs->lire(30, 30), 100);
  EXPECT_EQ(r->cible.hauteur, r->hauteurs->lire(r->cible_i, r->cible_j));

  auto z = terrain(5);
  z->elever(300, true);  // highest point 0: nothing to add
  for (int i = 1; i <= z->n; ++i)
    for (int j = 1; i + j <= z->n + 1; ++j) ASSERT_EQ(z->hauteurs->lire(i, j), 0);
}
