#include "model/matrice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "model/erreur.h"
#include "tests/support/fakes.h"

namespace {

param_mat parametres(int degre, bool deformation = false, bool photo = false) {
  param_mat p;
  p.maillage = degre;
  p.relief = 60;
  p.profil = 50;
  p.deformation = deformation;
  p.degre_deformation = 40;
  p.photo_aerienne = photo;
  p.cible = {0.333, 0.333};
  p.observateur = {0.1, 0.1};
  return p;
}

// The node each sample value goes to, in walk order (-1 marks a value that is
// read but not stored).
struct Pas {
  int i, j;
};
std::vector<Pas> marche(int n) {
  std::vector<Pas> out;
  for (int i = 0; i <= n; ++i)
    for (int j = 0; j <= n; ++j)
      if (i + j <= n + 1) out.push_back({i, j});
  return out;
}

}  // namespace

TEST(Matrice, Capacities) {
  struct Cas {
    int degre, n, liste, trace;
  };
  for (Cas c : {Cas{4, 17, 545, 273}, Cas{10, 1025, 32768, 16401}, Cas{11, 2049, 32768, 32785}}) {
    Tmatrice m(parametres(c.degre));
    EXPECT_EQ(m.n, c.n);
    EXPECT_EQ(m.capacite_liste, c.liste);
    EXPECT_EQ(m.capacite_trace, c.trace);
    EXPECT_EQ(m.liste_i.size(), static_cast<size_t>(c.liste));
    EXPECT_EQ(m.liste_attribut.size(), static_cast<size_t>(c.liste));
    EXPECT_EQ(m.hauteurs->n(), c.n);
  }
  EXPECT_THROW(Tmatrice(parametres(3)), ModelError);
  EXPECT_THROW(Tmatrice(parametres(12)), ModelError);
  EXPECT_THROW(Tmatrice(parametres(-1)), ModelError);
}

TEST(Matrice, NewTerrainState) {
  param_mat p = parametres(7, true);
  p.couches[1].nombre = 33;
  p.profils_iter = {1, 2, 3, 4, 5, 6, 7, 200};
  p.erosion = 6;
  p.rivage = -12;
  p.rivage_actif = 0;
  p.hauteur_plis = 4;
  p.oriente = 1;
  p.cle = 1234;
  p.alea = 1;
  Tmatrice m(p);
  const int n = 129;

  for (int j = 1; j <= n; ++j)
    for (int i = 1; i <= n + 1 - j; ++i) {
      ASSERT_EQ(m.hauteurs->lire(i, j), 0);
      ASSERT_EQ(m.dx->lire(i, j), 128);
      ASSERT_EQ(m.dy->lire(i, j), 128);
    }
  EXPECT_EQ(m.nombre_elements, 0);
  EXPECT_EQ(m.redessiner_tout, 1);
  const std::array<std::int32_t, 4> tout = {0, 130, 0, 130};
  EXPECT_EQ(m.zone_modifiee, tout);
  EXPECT_EQ(m.zone_precedente, tout);
  EXPECT_EQ(m.arbre_courant, 5);
  EXPECT_EQ(m.taille_arbre, 63);
  EXPECT_EQ(m.sol_courant, 1);
  EXPECT_EQ(m.largeur_sol, 1);
  EXPECT_EQ(m.niveau_presse_papier, 500);
  EXPECT_EQ(m.etat_rendu.resultat_ciel, 1);
  EXPECT_FALSE(m.photo);
  EXPECT_FALSE(m.hauteurs_annulation);
  EXPECT_TRUE(m.trace.empty());

  // Copied and derived parameters.
  EXPECT_EQ(m.couches[1].nombre, 33);
  EXPECT_EQ(m.poids_niveaux[3], 1);
  EXPECT_EQ(m.poids_niveaux[9], 49);
  EXPECT_EQ(m.poids_niveaux[10], 40000 - 65536);  // kept in 16 bits
  EXPECT_DOUBLE_EQ(m.exposant_erosion, 0.5);
  EXPECT_DOUBLE_EQ(m.taux_deformation, 40 * 0.005);
  EXPECT_EQ(m.rivage, 0);
  EXPECT_EQ(m.plis, 4);
  EXPECT_EQ(m.cle, 1234);
  EXPECT_EQ(m.nouvelle_cle, 1);
  EXPECT_EQ(m.nombre_noeuds, 0);
  EXPECT_EQ(m.pas, 0);

  // The default points.
  EXPECT_EQ(m.cible_i, 43);
  EXPECT_EQ(m.cible_j, 43);
  EXPECT_EQ(m.observateur_i, 13);
  EXPECT_EQ(m.observateur_j, 13);
  EXPECT_DOUBLE_EQ(m.cible.px, 0.894427 * 0.333);
  EXPECT_DOUBLE_EQ(m.cible.py, 0.894427 * 0.333 / 2 + 0.333);
}

TEST(Matrice, PhotoLayerAndChangedArea) {
  Tmatrice m(parametres(4, false, true));
  ASSERT_TRUE(m.photo);
  EXPECT_EQ(m.photo_enregistree, 1);
  EXPECT_FALSE(m.dx);
  EXPECT_EQ(m.photo->lire(3, 3), Rgb{});

  Tmatrice sans(parametres(4));
  EXPECT_FALSE(sans.photo);
  sans.ajouter_photo();
  ASSERT_TRUE(sans.photo);
  EXPECT_EQ(sans.photo_presente, 1);
  EXPECT_EQ(sans.photo->n(), 17);

  m.zone_modifiee = {3, 9, 2, 5};
  m.redessiner_tout = 0;
  m.marquer_modifiee();
  EXPECT_EQ(m.zone_precedente, (std::array<std::int32_t, 4>{3, 9, 2, 5}));
  EXPECT_EQ(m.zone_modifiee, (std::array<std::int32_t, 4>{0, 18, 0, 18}));
  EXPECT_EQ(m.redessiner_tout, 1);
}

TEST(Matrice, HighestHeight) {
  Tmatrice m(parametres(5));
  EXPECT_EQ(m.hauteur_max(), -1000);  // nombre_noeuds is still 0
  m.nombre_noeuds = 33;
  EXPECT_EQ(m.hauteur_max(), 0);
  for (int j = 1; j <= 33; ++j)
    for (int i = 1; i <= 34 - j; ++i) m.hauteurs->ecrire(i, j, -1500);
  EXPECT_EQ(m.hauteur_max(), -1000);
  m.hauteurs->ecrire(33, 1, 712);
  m.hauteurs->ecrire(1, 33, 900);
  EXPECT_EQ(m.hauteur_max(), 900);
}

// On large lattices the rows are looked at by blocks on several cores: the
// highest node is found in the first rows, the last ones and between.
TEST(Matrice, HighestHeightOfALargeLattice) {
  Tmatrice m(parametres(10));
  m.nombre_noeuds = static_cast<std::uint16_t>(m.n);
  EXPECT_EQ(m.hauteur_max(), 0);
  const std::int32_t places[][3] = {{5, 1, 120}, {700, 300, 1900}, {2, 1024, 2500}, {1, 1025, 3100}, {1000, 2, 3500}};
  for (const auto& p : places) {
    m.hauteurs->ecrire(p[0], p[1], p[2]);
    EXPECT_EQ(m.hauteur_max(), p[2]) << p[0] << "," << p[1];
  }
}

TEST(Matrice, PreviewSample) {
  for (std::int32_t v : echantillon_apercu) {
    EXPECT_GE(v, -804);
    EXPECT_LE(v, 1237);
  }
  Tmatrice m(parametres(5));
  m.charger_apercu();
  EXPECT_EQ(m.nombre_noeuds, 33);
  EXPECT_EQ(m.pas, 32);
  EXPECT_EQ(m.amplitude, 4000);
  const auto pas = marche(33);
  ASSERT_EQ(pas.size(), 628u);
  int stockes = 0;
  for (size_t k = 0; k < pas.size(); ++k) {
    if (pas[k].i == 0 || pas[k].j == 0) continue;
    ASSERT_EQ(m.hauteurs->lire(pas[k].i, pas[k].j), echantillon_apercu[k]) << k;
    ++stockes;
  }
  EXPECT_EQ(stockes, 33 * 34 / 2);

  // Halves go to the even node: 33 x 0.5 = 16.5.
  m.placer_cible(0.5, 0.25, 100);
  EXPECT_EQ(m.cible_i, 16);
  EXPECT_EQ(m.cible_j, 8);
  EXPECT_DOUBLE_EQ(m.cible.hauteur, 100);
  EXPECT_DOUBLE_EQ(m.cible.py, 0.894427 * 0.5 / 2 + 0.25);
  m.placer_observateur(0.1, 0.9, -3);
  EXPECT_EQ(m.observateur_i, 3);
  EXPECT_EQ(m.observateur_j, 30);
  EXPECT_DOUBLE_EQ(m.observateur.hauteur, -3);
}

TEST(Matrice, PreviewSampleOnOtherDegrees) {
  Tmatrice petit(parametres(4));
  petit.charger_apercu();
  const auto pas4 = marche(17);
  ASSERT_EQ(pas4.size(), 188u);
  for (size_t k = 0; k < pas4.size(); ++k)
    if (pas4[k].i > 0 && pas4[k].j > 0) ASSERT_EQ(petit.hauteurs->lire(pas4[k].i, pas4[k].j), echantillon_apercu[k]);
  EXPECT_EQ(petit.nombre_noeuds, 17);

  // A larger terrain takes the 628 values and stops.
  Tmatrice grand(parametres(6));
  grand.charger_apercu();
  const auto pas6 = marche(65);
  for (size_t k = 0; k < pas6.size(); ++k) {
    if (pas6[k].i == 0 || pas6[k].j == 0) continue;
    const std::int32_t attendu = k < 628 ? echantillon_apercu[k] : 0;
    ASSERT_EQ(grand.hauteurs->lire(pas6[k].i, pas6[k].j), attendu) << k;
  }
  EXPECT_EQ(grand.nombre_noeuds, 65);
}

TEST(Matrice, AfterImport) {
  Tmatrice m(parametres(7));
  for (int j = 1; j <= 129; ++j)
    for (int i = 1; i <= 130 - j; ++i) m.hauteurs->ecrire(i, j, 50 + i);
  m.nombre_elements = 12;
  m.initialiser_apres_import();
  EXPECT_EQ(m.pas, 128);
  EXPECT_EQ(m.nombre_noeuds, 129);
  EXPECT_EQ(m.amplitude, 4000);
  EXPECT_EQ(m.nombre_elements, 0);
  EXPECT_DOUBLE_EQ(m.cible.hauteur, 50 + 43);
  EXPECT_DOUBLE_EQ(m.observateur.hauteur, 50 + 13);
  for (int k = 1; k <= 129; ++k) {
    EXPECT_EQ(m.hauteurs->lire(1, k), -1000);
    EXPECT_EQ(m.hauteurs->lire(k, 1), -1000);
    EXPECT_EQ(m.hauteurs->lire(k, 130 - k), -1000);
  }
  EXPECT_EQ(m.hauteurs->lire(2, 2), 52);

  // Degree 5 keeps its edges.
  Tmatrice d5(parametres(5));
  d5.hauteurs->ecrire(1, 1, 300);
  d5.initialiser_apres_import();
  EXPECT_EQ(d5.hauteurs->lire(1, 1), 300);
}

TEST(Matrice, RiverSteps) {
  Tmatrice m(parametres(7));
  RecordingMapCanvas c1, c2;
  struct Cas {
    int i, j, x, y;
  };
  for (Cas c : {Cas{1, 1, 20, 346}, Cas{129, 1, 213, 13}, Cas{1, 129, 406, 346}, Cas{65, 33, 213, 180}}) {
    c1.ops.clear();
    c2.ops.clear();
    m.tracer_riviere(c.i, c.j, 5, false, true, &c1, &c2);
    ASSERT_EQ(c1.ops.size(), 2u);
    ASSERT_EQ(c2.ops.size(), 2u);
    EXPECT_EQ(c1.ops[1].kind, 'm');
    EXPECT_EQ(c1.ops[1].x, c.x) << c.i << "," << c.j;
    EXPECT_EQ(c1.ops[1].y, c.y) << c.i << "," << c.j;
    EXPECT_EQ(c2.ops[1].x, 2 * c.x);
    EXPECT_EQ(c2.ops[1].y, 2 * c.y);
  }

  // Pens: blue 1/2 below width 6, 2/4 from 6 on, white to rub out.
  c1.ops.clear();
  c2.ops.clear();
  m.tracer_riviere(1, 1, 5, false, true, &c1, &c2);
  m.tracer_riviere(65, 33, 6, true, true, &c1, &c2);
  m.tracer_riviere(1, 129, 2, true, false, &c1, &c2);
  const Rgb bleu{0, 0, 255}, blanc{255, 255, 255};
  ASSERT_EQ(c1.ops.size(), 6u);
  EXPECT_EQ(c1.ops[0].colour, bleu);
  EXPECT_EQ(c1.ops[0].width, 1);
  EXPECT_EQ(c2.ops[0].width, 2);
  EXPECT_EQ(c1.ops[2].width, 2);
  EXPECT_EQ(c2.ops[2].width, 4);
  EXPECT_EQ(c1.ops[4].colour, blanc);
  EXPECT_EQ(c2.ops[4].colour, blanc);
  EXPECT_EQ(c1.ops[4].width, 1);
  // A line runs from the pen's position.
  EXPECT_EQ(c1.ops[3].kind, 'l');
  EXPECT_EQ(c1.ops[3].x0, 20);
  EXPECT_EQ(c1.ops[3].y0, 346);
  EXPECT_EQ(c1.ops[3].x, 213);
  EXPECT_EQ(c2.ops[5].kind, 'l');
  EXPECT_EQ(c2.ops[5].x0, 426);
  EXPECT_EQ(c2.ops[5].x, 812);
  EXPECT_EQ(c2.ops[5].y, 692);

  // Either picture may be missing.
  c1.ops.clear();
  m.tracer_riviere(2, 2, 3, true, true, &c1, nullptr);
  m.tracer_riviere(2, 2, 3, true, true, nullptr, nullptr);
  EXPECT_EQ(c1.ops.size(), 2u);
}
