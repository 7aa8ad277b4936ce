#include <gtest/gtest.h>

#include "model/erreur.h"
#include "model/matrice.h"
#include "model/texte.h"
#include "tests/support/fakes.h"

namespace {

param_mat parametres(int degre, bool deformation = false, bool photo = false) {
  param_mat p;
  p.maillage = degre;
  p.deformation = deformation;
  p.photo_aerienne = photo;
  p.cible = {0.333, 0.333};
  p.observateur = {0.1, 0.1};
  return p;
}

void ajouter(Tmatrice& m, int i, int j, int type, int attribut) {
  const auto k = static_cast<std::size_t>(m.nombre_elements++);
  m.liste_i[k] = static_cast<std::uint16_t>(i);
  m.liste_j[k] = static_cast<std::uint16_t>(j);
  m.liste_type[k] = static_cast<std::uint16_t>(type);
  m.liste_attribut[k] = static_cast<std::uint16_t>(attribut);
}

void remplir(Tmatrice& m, int graine) {
  for (int j = 1; j <= m.n; ++j)
    for (int i = 1; i + j <= m.n + 1; ++i) {
      m.hauteurs->ecrire(i, j, (i * 37 + j * 101 + graine) % 5000 - 1000);
      if (m.dx) {
        m.dx->ecrire(i, j, static_cast<std::uint8_t>(i + graine));
        m.dy->ecrire(i, j, static_cast<std::uint8_t>(j * 3));
      }
      if (m.photo) m.photo->ecrire(i, j, static_cast<std::uint32_t>(i * 65536 + j * 256 + graine));
    }
}

// Combines one node of height h with one of height o.
int combine_un(int h, int o, int mode, bool inverser) {
  Tmatrice a(parametres(4)), b(parametres(4));
  a.hauteurs->ecrire(5, 5, h);
  b.hauteurs->ecrire(5, 5, o);
  a.combiner(*b.hauteurs, static_cast<std::uint16_t>(mode), inverser);
  return a.hauteurs->lire(5, 5);
}

}  // namespace

TEST(Combiner, ModesPerNode) {
  EXPECT_EQ(combine_un(100, 300, 2, true), 50);
  EXPECT_EQ(combine_un(300, 100, 2, true), 300);
  EXPECT_EQ(combine_un(100, 300, 2, false), 300);
  EXPECT_EQ(combine_un(300, -100, 3, true), 650);
  EXPECT_EQ(combine_un(300, -100, 3, false), -100);
  EXPECT_EQ(combine_un(-100, 300, 3, true), -100);
  EXPECT_EQ(combine_un(3000, 2500, 1, false), 4000);
  EXPECT_EQ(combine_un(-1500, 2500, 1, true), -2000);
  EXPECT_EQ(combine_un(100, 300, 7, false), 100);

  for (bool inverser : {false, true}) {
    Tmatrice a(parametres(5)), b(parametres(5));
    remplir(a, 1);
    remplir(b, 1);
    ajouter(a, 2, 2, 11, 5);
    a.nombre_annulation = 4;
    a.combiner(*b.hauteurs, 1, inverser);
    int fautes = 0;
    for (int j = 1; j <= a.n; ++j)
      for (int i = 1; i + j <= a.n + 1; ++i) {
        const int attendu = inverser ? 0 : std::clamp(2 * b.hauteurs->lire(i, j), -2000, 4000);
        if (a.hauteurs->lire(i, j) != attendu) ++fautes;
      }
    EXPECT_EQ(fautes, 0);
    EXPECT_EQ(a.nombre_elements, 0);
    EXPECT_EQ(a.nombre_annulation, 0);
    // The target and the observer stand on the combined terrain, as its
    // document read back puts them.
    model::TextWriter corps;
    a.ecrire_matrice(corps);
    Tmatrice relue(parametres(5));
    model::TextReader lecture(corps.bytes());
    relue.lire_matrice(lecture);
    EXPECT_EQ(a.cible.hauteur, relue.cible.hauteur);
    EXPECT_EQ(a.observateur.hauteur, relue.observateur.hauteur);
  }

  // The other terrain reads -4000 outside its own lattice.
  Tmatrice grand(parametres(5)), petit(parametres(4));
  grand.hauteurs->ecrire(20, 5, 100);
  grand.combiner(*petit.hauteurs, 1, false);
  EXPECT_EQ(grand.hauteurs->lire(20, 5), -2000);
  EXPECT_EQ(grand.hauteurs->lire(1, 1), 0);
}

TEST(Copier, CopiesLayersOfTheSameSize) {
  Tmatrice source(parametres(5, true, true));
  remplir(source, 7);
  ajouter(source, 3, 3, 1, 1);
  Tmatrice copie(parametres(5, true, true));
  ajouter(copie, 1, 1, 11, 3);
  copie.nombre_annulation = 1;
  copie.copier(*source.hauteurs, source.dx.get(), source.dy.get(), source.photo.get());
  int fautes = 0;
  for (int j = 1; j <= 33; ++j)
    for (int i = 1; i + j <= 34; ++i) {
      if (copie.hauteurs->lire(i, j) != source.hauteurs->lire(i, j)) ++fautes;
      if (copie.dx->lire(i, j) != source.dx->lire(i, j) || copie.dy->lire(i, j) != source.dy->lire(i, j)) ++fautes;
      if (!(copie.photo->lire(i, j) == source.photo->lire(i, j))) ++fautes;
    }
  EXPECT_EQ(fautes, 0);
  EXPECT_EQ(copie.nombre_elements, 0);
  EXPECT_EQ(copie.nombre_annulation, 0);
  EXPECT_EQ(copie.nombre_noeuds, 33);
  EXPECT_EQ(copie.pas, 32);
  EXPECT_EQ(copie.amplitude, 4000);
  EXPECT_EQ(copie.cible.hauteur, source.hauteurs->lire(copie.cible_i, copie.cible_j));

  // A layer the copy lacks is left alone; one the source lacks keeps its values.
  Tmatrice nue(parametres(5, false, true));
  nue.copier(*source.hauteurs, source.dx.get(), source.dy.get(), nullptr);
  EXPECT_FALSE(nue.dx);
  EXPECT_EQ(nue.hauteurs->lire(4, 4), source.hauteurs->lire(4, 4));
  EXPECT_TRUE(nue.photo->lire(4, 4) == Rgb{});

  // Another size: an error and nothing changed.
  Tmatrice autre(parametres(4, true, true));
  autre.hauteurs->ecrire(2, 2, 77);
  ajouter(autre, 2, 2, 31, 1);
  EXPECT_THROW(autre.copier(*source.hauteurs, source.dx.get(), source.dy.get(), source.photo.get()), ModelError);
  EXPECT_EQ(autre.hauteurs->lire(2, 2), 77);
  EXPECT_EQ(autre.dx->lire(2, 2), 128);
  EXPECT_EQ(autre.nombre_elements, 1);
  EXPECT_EQ(autre.nombre_noeuds, 0);
}

TEST(Effacer, AsksThenClearsOneKind) {
  ScopedFakeUserInterface ui;
  Tmatrice m(parametres(4));
  EXPECT_FALSE(m.effacer_rivieres());
  EXPECT_FALSE(m.effacer_arbres());
  EXPECT_FALSE(m.effacer_sol());
  EXPECT_TRUE(ui.entries.empty());

  ajouter(m, 1, 1, 1, 1);
  ajouter(m, 2, 2, 12, 30);
  ajouter(m, 3, 3, 33, 2);
  ajouter(m, 4, 4, 19, 30);
  m.especes_presentes[2] = 1;
  ui.answers = {false, false, false};
  EXPECT_FALSE(m.effacer_rivieres());
  EXPECT_FALSE(m.effacer_arbres());
  EXPECT_FALSE(m.effacer_sol());
  EXPECT_EQ(m.liste_type[0], 1);
  EXPECT_EQ(m.liste_type[1], 12);
  EXPECT_EQ(m.liste_type[2], 33);
  EXPECT_EQ(m.especes_presentes[2], 1);

  ui.answers = {true};
  EXPECT_TRUE(m.effacer_arbres());
  EXPECT_EQ(m.liste_type[1], 0);
  EXPECT_EQ(m.liste_type[3], 0);
  EXPECT_EQ(m.liste_type[0], 1);
  EXPECT_EQ(m.especes_presentes[2], 0);
  ui.answers = {true, true};
  m.effacer_rivieres();
  m.effacer_sol();
  for (int k = 0; k < 4; ++k) EXPECT_EQ(m.liste_type[k], 0);
  EXPECT_EQ(m.nombre_elements, 4);

  ASSERT_EQ(ui.entries.size(), 6u);
  const std::pair<const char*, const char*> attendus[] = {
      {"Do you really want to rub all the rivers ?", "Rivers"},
      {"Do you really want to delete all the trees ?", "Trees"},
      {"Do you really want to rub the painted ground ?", "Ground"}};
  for (int k = 0; k < 3; ++k) {
    EXPECT_TRUE(ui.entries[k].question);
    EXPECT_EQ(ui.entries[k].text, attendus[k].first);
    EXPECT_EQ(ui.entries[k].caption, attendus[k].second);
  }
  EXPECT_EQ(ui.entries[3].caption, "Trees");
  EXPECT_EQ(ui.entries[4].caption, "Rivers");
  EXPECT_EQ(ui.entries[5].caption, "Ground");
}

TEST(Proximite, WithinThreeNodesOnBothAxes) {
  Tmatrice m(parametres(5));
  EXPECT_FALSE(m.arbre_proche(10, 10));
  ajouter(m, 10, 10, 14, 20);
  ajouter(m, 20, 5, 0, 1);
  ajouter(m, 5, 20, 1, 2);
  ajouter(m, 8, 20, 1, 1);
  ajouter(m, 20, 10, 35, 4);
  EXPECT_TRUE(m.arbre_proche(13, 13));
  EXPECT_TRUE(m.arbre_proche(7, 7));
  EXPECT_FALSE(m.arbre_proche(14, 10));
  EXPECT_FALSE(m.arbre_proche(10, 6));
  EXPECT_FALSE(m.sol_proche(10, 10));
  EXPECT_TRUE(m.sol_proche(17, 12));
  EXPECT_FALSE(m.sol_proche(20, 5));  // the deleted entry is never near
  EXPECT_FALSE(m.arbre_proche(20, 5));
  EXPECT_FALSE(m.source_proche(4, 20));  // a river point that is not a spring
  EXPECT_TRUE(m.source_proche(6, 20));
  EXPECT_TRUE(m.source_proche(11, 22));
}
