// The map editor's tools without a window: tool tables, pixel geometry, the
// argument block, the cross-section samples and the result profiles.
#include <gtest/gtest.h>

#include "dialogs/calculs_outils.h"
#include "model/matrice.h"
#include "model/presse_papier.h"
#include "tests/support/terrains.h"

using namespace dialogs;

TEST(OutilsEdition, TablesOfPositionsNamesAndClasses) {
  const int codes[20] = {0, 1, 8, 9, 2, 3, 4, 5, 10, 6, 7, 11, 14, 17, 16, 15, 12, 13, 18, 19};
  for (int p = 0; p < 20; ++p) EXPECT_EQ(outil_de_position(p), codes[p]) << p;
  EXPECT_EQ(outil_de_position(-1), 0);
  EXPECT_EQ(outil_de_position(20), 0);
  EXPECT_EQ(nom_de_l_outil(5), "Smooting");
  EXPECT_EQ(nom_de_l_outil(17), "Erosion");
  EXPECT_EQ(nom_de_l_outil(0), "Cursor");
  EXPECT_STREQ(aide_outil(11), "Observer place: Click the place where is the observer.");
  EXPECT_STREQ(aide_outil(1), "Shape: Click the summit or draw the line to be raised or digged.");
  int lignes = 0, immediats = 0, differes = 0;
  for (int o = 0; o < 20; ++o) {
    lignes += outil_ligne(o);
    immediats += outil_immediat(o);
    differes += outil_differe(o);
    EXPECT_FALSE(outil_immediat(o) && outil_differe(o)) << o;
  }
  EXPECT_EQ(lignes, 8);
  EXPECT_EQ(immediats, 7);
  EXPECT_EQ(differes, 10);
  EXPECT_FALSE(outil_immediat(18) || outil_differe(18) || outil_immediat(19) || outil_differe(19));
}

TEST(OutilsEdition, PixelGeometry) {
  const std::pair<int, int> rayons[] = {{800, 38}, {200, 10}, {1000, 48}, {4000, 192}, {8000, 384}};
  for (auto [w, r] : rayons) {
    EXPECT_EQ(rayon_cercle(w, 1), r) << w;
    EXPECT_EQ(rayon_cercle(w, 2), 2 * r) << w;
  }
  EXPECT_EQ(rayon_cercle(-100, 1), 5);  // a negative stratum depth draws its size
  EXPECT_EQ(pas_clavier_x(129, 1), 2);
  EXPECT_EQ(pas_clavier_y(129, 1), 2);
  EXPECT_EQ(pas_clavier_x(129, 2), 5);
  EXPECT_EQ(pas_clavier_y(129, 2), 5);
  EXPECT_EQ(pas_clavier_x(17, 1), 19);
  EXPECT_EQ(pas_clavier_y(17, 1), 22);
  EXPECT_EQ(pas_clavier_x(2049, 1), 1);
  EXPECT_EQ(pas_clavier_y(2049, 1), 1);
  EXPECT_EQ(marge_defilement(4), 62);
  EXPECT_EQ(marge_defilement(7), 36);
  EXPECT_EQ(centre_elevation(129), 43);
  EXPECT_EQ(centre_elevation(17), 6);
  // Edge scrolling: 10 at a time, shrunk to what is left, never with a box as wide as the map.
  EXPECT_EQ(pas_defilement(5, 300, 400, 850, 100, 36), 10);
  EXPECT_EQ(pas_defilement(5, 300, 400, 850, 4, 36), 4);
  EXPECT_EQ(pas_defilement(5, 300, 400, 850, 0, 36), 0);
  EXPECT_EQ(pas_defilement(395, 300, 400, 850, 100, 36), -10);
  EXPECT_EQ(pas_defilement(395, 300, 400, 850, 447, 36), -3);
  EXPECT_EQ(pas_defilement(395, 300, 400, 850, 450, 36), 0);
  EXPECT_EQ(pas_defilement(5, 300, 425, 425, 0, 36), 0);
  EXPECT_EQ(pas_defilement(5, 20, 400, 850, 100, 36), 0);  // the map's own margin
  // Section box rows and section lines.
  EXPECT_EQ(ligne_section(4000, 168), 0);
  EXPECT_EQ(ligne_section(0, 168), 112);
  EXPECT_EQ(ligne_section(-2000, 168), 168);
  const SegmentCarte s1 = ligne_coupe({200, 150}, 2, 1);
  EXPECT_EQ(s1.a.y - 150, 333);
  EXPECT_EQ(150 - s1.b.y, 333);
  EXPECT_EQ(s1.b.x - 200, 192);
  const SegmentCarte s2 = ligne_coupe({200, 150}, 2, 2);
  EXPECT_EQ(s2.a.y - 150, 665);
  const SegmentCarte s3 = ligne_coupe({200, 150}, 1, 1);
  EXPECT_EQ(s3.a, (PixelCarte{-184, 150}));
  EXPECT_EQ(s3.b, (PixelCarte{584, 150}));
}

TEST(OutilsEdition, ArgumentBlockTakesTheReleaseSetFirst) {
  const JeuOutil relache{1200, 300, -1, 1500, 1000};
  const JeuOutil depart{900, 100, 1, 700, 600};
  const arguments_outil a = arguments_de(relache, depart, 37, OUTIL_FORME);
  EXPECT_EQ(a.largeur_base_debut, 1200);
  EXPECT_EQ(a.largeur_sommet_debut, 300);
  EXPECT_EQ(a.coefficient_debut, -1);
  EXPECT_EQ(a.altitude_finale_debut, 1500);
  EXPECT_EQ(a.altitude_initiale_debut, 1000);
  EXPECT_EQ(a.largeur_base_fin, 900);
  EXPECT_EQ(a.largeur_sommet_fin, 100);
  EXPECT_EQ(a.coefficient_fin, 1);
  EXPECT_EQ(a.altitude_finale_fin, 700);
  EXPECT_EQ(a.altitude_initiale_fin, 600);
  EXPECT_EQ(a.valeur, 37);
  EXPECT_EQ(a.outil, 1);
}

namespace {

Profil plat(std::int32_t h) {
  Profil p;
  for (int t = 0; t < kEchantillons; ++t)
    for (int c = 1; c <= 2; ++c)
      for (int o = 1; o <= 3; ++o) p.hauteur(t, c, o) = h;
  return p;
}

std::int32_t resultat(const ValeursProfil& v, const Profil& p, int t, const Profil& copie = {}) {
  Profil r;
  std::int32_t c = v.coefficient;
  calcule_profil(v, 1, p, copie, r, c);
  return r.hauteur(t, 1, 1);
}

}  // namespace

TEST(OutilsEdition, ResultProfilesOfPlateauShapePasteAndRaise) {
  ValeursProfil v;
  v.outil = OUTIL_PLATEAU;
  v.base = 800;
  v.apres = 1500;
  v.avant = 1000;
  v.coefficient = 20;
  const Profil h1200 = plat(1200);
  EXPECT_EQ(resultat(v, h1200, 0), 1022);
  EXPECT_EQ(resultat(v, h1200, 5), 1038);
  EXPECT_EQ(resultat(v, h1200, 9), 1134);
  EXPECT_EQ(resultat(v, h1200, 10), 1200);
  v.option2 = true;  // Cliff
  EXPECT_EQ(resultat(v, h1200, 0), 1105);
  v.option2 = false;
  v.coefficient = 0;
  EXPECT_EQ(resultat(v, h1200, 0), 1200);

  ValeursProfil f;
  f.outil = OUTIL_FORME;
  f.base = 800;
  f.sommet = 160;
  f.apres = 100;
  f.avant = 0;
  const Profil zero = plat(0);
  const int lineaire[10] = {100, 100, 100, 88, 75, 62, 50, 38, 25, 12};
  const int pondere[10] = {100, 100, 100, 96, 85, 69, 50, 31, 15, 4};
  for (int t = 0; t < 10; ++t) EXPECT_EQ(resultat(f, zero, t), lineaire[t]) << t;
  f.pondere = true;
  for (int t = 0; t < 10; ++t) EXPECT_EQ(resultat(f, zero, t), pondere[t]) << t;
  EXPECT_EQ(resultat(f, zero, 10), 0);

  ValeursProfil c;
  c.outil = OUTIL_COLLER;
  c.base = 800;
  c.apres = 1500;
  c.avant = 1000;
  c.sommet_colle = 2000;
  Profil r;
  std::int32_t coefficient = 0;
  calcule_profil(c, 1, zero, plat(300), r, coefficient);
  EXPECT_EQ(coefficient, 500);
  EXPECT_EQ(r.hauteur(0, 1, 1), 150);
  c.sommet_colle = 1000;
  calcule_profil(c, 1, zero, plat(300), r, coefficient);
  EXPECT_EQ(coefficient, 1000);

  ValeursProfil e;
  e.outil = OUTIL_ELEVATION;
  e.base = 8000;
  e.apres = 1500;
  e.avant = 1000;
  e.altitude_max = 1600;
  e.mode_elevation = true;
  EXPECT_EQ(resultat(e, plat(800), 0), 1050);
  e.mode_elevation = false;
  EXPECT_EQ(resultat(e, plat(800), 50), 1300);  // every sample up to t = 50, none beyond
}

TEST(OutilsEdition, DistortionOffsetsStayWithinTheirBounds) {
  ValeursProfil f;
  f.outil = OUTIL_FORME;
  f.base = 8000;
  f.apres = 500;
  f.coefficient = -100;
  f.deformation = true;
  Profil p = plat(0);
  for (int t = 0; t < kEchantillons; ++t) p.decalage(t, 1, 1) = -120;
  Profil r;
  std::int32_t c = 0;
  calcule_profil(f, 1, p, {}, r, c);
  bool decale = false;
  for (int t = 0; t < kEchantillons; ++t) {
    EXPECT_GE(r.decalage(t, 1, 1), -128);
    EXPECT_LE(r.decalage(t, 2, 1), 128);
    decale = decale || r.decalage(t, 1, 1) != -120;
  }
  EXPECT_TRUE(decale);
  EXPECT_EQ(r.decalage(0, 1, 1), -120);  // sin(0)
}

TEST(OutilsEdition, SectionsSampleTheLatticeAndTheClipboard) {
  EXPECT_EQ(distance_echantillon(1, 129), 1);
  EXPECT_EQ(distance_echantillon(25, 129), 32);
  EXPECT_EQ(distance_echantillon(50, 129), 64);
  auto t = terrain_genere(parametres_test(7));
  for (std::int32_t i = 1; i <= t->n; ++i)
    for (std::int32_t j = 1; j <= t->n; ++j) t->hauteurs->ecrire(i, j, 500);
  const Profil p = echantillonner(*t, {60, 30}, false);
  EXPECT_EQ(p.hauteur(25, 1, 1), 500);
  EXPECT_EQ(p.hauteur(50, 1, 1), -2000);  // i + j = 154
  EXPECT_EQ(p.hauteur(25, 2, 1), -2000);
  EXPECT_EQ(noeud_echantillon({60, 30}, 25, 1, 3, 129), (NoeudCarte{28, 62}));
  // A centre near the corner reads nothing off the lattice, whatever the side.
  const Profil coin = echantillonner(*t, {2, 2}, false);
  for (int tt = 0; tt < kEchantillons; ++tt)
    for (int o = 1; o <= 3; ++o) EXPECT_GE(coin.hauteur(tt, 2, o), -2000);

  // Distortion offsets.
  if (!t->dx) {
    t->dx = std::make_unique<Tcooleen>(t->n);
    t->dy = std::make_unique<Tcooleen>(t->n);
  }
  t->dx->ecrire(60, 30 + 32, 130);
  EXPECT_EQ(echantillonner(*t, {60, 30}, true).decalage(25, 1, 1), 12);
  EXPECT_EQ(echantillonner(*t, {60, 30}, false).decalage(25, 1, 1), 0);
}

TEST(OutilsEdition, PastePreviewIsWhatPasteAdds) {
  auto t = terrain_genere(parametres_test(7));
  const std::int32_t n = t->n;
  EXPECT_EQ(geometrie_presse_papier(129, 800).R, 6);
  EXPECT_EQ(geometrie_presse_papier(129, 800).marge, 13);
  // Copy around one node, paste around another, at full strength.
  t->debut_trace(50, 40);
  controle_outil c;
  arguments_outil a;
  a.outil = OUTIL_COPIER;
  a.largeur_base_debut = 3000;
  t->modifier(a, c);
  t->fin_trace();
  ASSERT_TRUE(t->presse_papier);
  const NoeudCarte centre{40, 50};
  const Profil apercu = echantillonner_presse_papier(*t, centre, 3000);
  const Profil avant = echantillonner(*t, centre, false);
  Tnoeud hauteurs = *t->hauteurs;
  t->debut_trace(centre.i, centre.j);
  a.outil = OUTIL_COLLER;
  a.valeur = 1000;
  t->modifier(a, c);
  t->fin_trace();
  int compares = 0;
  for (int o = 1; o <= 3; ++o)
    for (int cote = 1; cote <= 2; ++cote)
      for (int tt = 0; tt < kEchantillons; ++tt) {
        const NoeudCarte q = noeud_echantillon(centre, tt, cote, o, n);
        if (q.i < 2 || q.j < 2 || q.i + q.j >= n) {
          EXPECT_EQ(apercu.hauteur(tt, cote, o), 0);
          continue;
        }
        const std::int32_t apres = t->hauteurs->lire(q.i, q.j);
        if (apres >= 4000 || apres <= -2000) continue;
        EXPECT_EQ(apercu.hauteur(tt, cote, o), apres - hauteurs.lire(q.i, q.j)) << tt << " " << cote << " " << o;
        EXPECT_GE(avant.hauteur(tt, cote, o), -2000);
        ++compares;
      }
  EXPECT_GT(compares, 100);
}

// The nodes between two pointer positions: a chain of lattice neighbours from
// the first (left out) to the second, as long as the lattice distance.
TEST(OutilsEdition, SegmentsWalkTheLatticeNodeByNode) {
  EXPECT_TRUE(noeuds_segment({10, 10}, {10, 10}, 100).empty());
  EXPECT_EQ(noeuds_segment({10, 10}, {10, 13}, 100),
            (std::vector<NoeudCarte>{{10, 11}, {10, 12}, {10, 13}}));
  EXPECT_EQ(noeuds_segment({10, 10}, {7, 13}, 100), (std::vector<NoeudCarte>{{9, 11}, {8, 12}, {7, 13}}));
  const NoeudCarte cas[][2] = {{{10, 10}, {14, 20}}, {{50, 3}, {2, 40}}, {{5, 60}, {30, 1}}, {{1, 1}, {-6, 2}}};
  for (const auto& c : cas) {
    const auto s = noeuds_segment(c[0], c[1], 1000);
    const int di = c[1].i - c[0].i, dj = c[1].j - c[0].j;
    ASSERT_EQ(int(s.size()), std::max({std::abs(di), std::abs(dj), std::abs(di + dj)}));
    EXPECT_EQ(s.back(), c[1]);
    NoeudCarte avant = c[0];
    for (const NoeudCarte& x : s) {
      const int a = x.i - avant.i, b = x.j - avant.j;
      EXPECT_EQ(std::max({std::abs(a), std::abs(b), std::abs(a + b)}), 1);
      avant = x;
    }
  }
  // The walk is bounded whatever the positions.
  EXPECT_EQ(noeuds_segment({0, 0}, {2000000000, -5}, 7).size(), 7u);
  EXPECT_TRUE(noeuds_segment({0, 0}, {9, 9}, 0).empty());
}
