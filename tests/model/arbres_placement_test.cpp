#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "model/aleatoire.h"
#include "model/matrice.h"
#include "platform/messages.h"
#include "tests/support/fakes.h"

namespace {

struct Entree {
  int i, j, type, attribut;
  bool operator==(const Entree&) const = default;
};

std::vector<Entree> liste(const Tmatrice& m) {
  std::vector<Entree> v;
  for (int k = 0; k < m.nombre_elements; ++k)
    v.push_back({m.liste_i[k], m.liste_j[k], m.liste_type[k], m.liste_attribut[k]});
  return v;
}

std::unique_ptr<Tmatrice> terrain_plat(int degre, int hauteur, int cle) {
  param_mat p;
  p.maillage = degre;
  p.cle = cle;
  p.cible = {0.333, 0.333};
  p.observateur = {0.1, 0.1};
  auto m = std::make_unique<Tmatrice>(p);
  for (int j = 1; j <= m->n; ++j)
    for (int i = 1; i + j <= m->n + 1; ++i) m->hauteurs->ecrire(i, j, hauteur);
  m->nombre_noeuds = static_cast<std::uint16_t>(m->n);
  return m;
}

couche_arbres couche(int nombre, int mini, int maxi, int transition, int pente_maxi, bool groupes = false) {
  couche_arbres c;
  c.nombre = nombre;
  c.niveau_mini = mini;
  c.niveau_maxi = maxi;
  c.transition = transition;
  c.pente_mini = 0;
  c.pente_maxi = pente_maxi;
  c.groupes = groupes;
  return c;
}

std::array<couche_arbres, 4> seule(couche_arbres c) {
  std::array<couche_arbres, 4> a{};
  a[0] = c;
  for (int k = 1; k < 4; ++k) a[static_cast<std::size_t>(k)].annulee = 1;
  return a;
}

// The placement walk exactly as the rules state it, with the plain scan of
// the earlier entries for grouping; no progress window.
std::vector<Entree> placement_de_reference(const Tmatrice& m, const std::array<couche_arbres, 4>& couches,
                                           std::uint32_t graine, int capacite) {
  set_seed(graine);
  const int n = m.n;
  auto pente = [&](int h, int i, int j) {
    const int v[6][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, -1}, {-1, 1}};
    int c = 1;
    long s = 0;
    for (auto& d : v) {
      int g = m.hauteurs->lire(i + d[0], j + d[1]);
      if (g > -2000) {
        ++c;
        s += std::abs(g - h);
      }
    }
    return 2.0 * s / (c * 8000 / (n + 1.0));
  };
  std::vector<Entree> l;
  bool continuer = true;
  for (int j = 1; j <= n + 1 && continuer; ++j)
    for (int i = 1; i <= n + 1 && continuer; ++i) {
      if (i + j > n) continue;
      int h = m.hauteurs->lire(i, j);
      if (h <= -200) continue;
      double s = pente(h, i, j);
      for (int L = 1; L <= 4; ++L) {
        const couche_arbres& c = couches[static_cast<std::size_t>(L - 1)];
        double tmin = std::tan(c.pente_mini * 0.017453292519943295);
        double tmax = std::tan(c.pente_maxi * 0.017453292519943295);
        double densite = c.nombre * std::pow(4.0, 7 - m.degre);
        if (!(c.niveau_mini < h && h < c.niveau_maxi && tmin <= s && s < tmax && !c.annulee)) continue;
        int T = c.transition + 1;
        double taille = 63.0;
        double p = c.groupes ? densite * 0.1 : densite * 0.6;
        if (h < c.niveau_mini + T) {
          p = (h - c.niveau_mini) * p / T;
          taille = ((h - c.niveau_mini) * 0.8 + 0.2) * 63.0 / T;
        } else if (h > c.niveau_maxi - T) {
          p = (c.niveau_maxi - h) * p / T;
          taille = ((c.niveau_maxi - h) * 0.8 + 0.2) * 63.0 / T;
        }
        bool place = false;
        int nombre = static_cast<int>(l.size());
        if (c.groupes && nombre - 1 > 0)
          for (int e = 1; e <= nombre - 1; ++e)
            if (l[e].type == 10 + L && i - 3 < l[e].i && l[e].i < i + 3 && j - 3 < l[e].j && l[e].j < j + 3)
              if (Random() > 0.92) place = true;
        if (Random() * 40 < p && continuer) place = true;
        if (nombre > capacite - 2) continuer = false;
        if (place && continuer) {
          taille = (0.6 + 0.4 * Random()) * taille;
          l.push_back({i, j, 10 + L, Round(taille)});
        }
      }
    }
  return l;
}

}  // namespace

TEST(CreerArbres, OneLayerOnFlatGround) {
  auto m = terrain_plat(7, 500, 777);
  m->liste_type[0] = 1;
  m->nombre_elements = 1;
  FakeProgress attente;
  m->creer_arbres(seule(couche(5, 0, 1000, 100, 45)), &attente, 0);
  const auto arbres = liste(*m);
  EXPECT_GE(arbres.size(), 520u);
  EXPECT_LE(arbres.size(), 720u);
  for (const Entree& e : arbres) {
    EXPECT_EQ(e.type, 11);
    EXPECT_GE(e.attribut, 38);
    EXPECT_LE(e.attribut, 63);
    EXPECT_LE(e.i + e.j, 129);
  }
  EXPECT_EQ(m->especes_presentes[1], 1);
  EXPECT_EQ(m->especes_presentes[2], 0);
  EXPECT_EQ(m->cle, 777);
  ASSERT_GE(attente.calls.size(), 3u);
  EXPECT_EQ(attente.calls[0].op, "take_focus");
  EXPECT_EQ(attente.calls[1].op, "demarrer");
  EXPECT_EQ(attente.captions(), std::vector<std::string>{"Trees creation ..."});
  EXPECT_EQ(attente.tests(), 8256);
  // Steps of 5 after every quantum (Round(129 x 0.025 x 129) = 416) + 1 nodes.
  EXPECT_EQ(attente.total_increment(), 5 * (8256 / 417));

  auto encore = terrain_plat(7, 500, 777);
  encore->creer_arbres(seule(couche(5, 0, 1000, 100, 45)), nullptr, 0);
  EXPECT_EQ(liste(*encore), arbres);

  auto au_niveau_mini = terrain_plat(7, 0, 777);
  au_niveau_mini->creer_arbres(seule(couche(5, 0, 1000, 100, 45)), nullptr, 0);
  EXPECT_EQ(au_niveau_mini->nombre_elements, 0);
  auto sous_la_mer = terrain_plat(7, -200, 777);
  sous_la_mer->creer_arbres(seule(couche(5, -1000, 1000, 100, 45)), nullptr, 0);
  EXPECT_EQ(sous_la_mer->nombre_elements, 0);
}

TEST(CreerArbres, StopsBeforeTheListIsFull) {
  auto m = terrain_plat(5, 500, 3);
  std::array<couche_arbres, 4> toutes{};
  for (auto& c : toutes) c = couche(400, -1000, 4000, 0, 80);
  m->creer_arbres(toutes, nullptr, 0);
  EXPECT_EQ(m->capacite_liste, 1057);
  EXPECT_EQ(m->nombre_elements, 1056);
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(m->liste_i[k], 1);
    EXPECT_EQ(m->liste_j[k], 1);
    EXPECT_EQ(m->liste_type[k], 11 + k);
  }
  for (int k = 1; k <= 4; ++k) EXPECT_EQ(m->especes_presentes[k], 1);

  // Every layer off: the list is emptied, rivers and painted ground too, and
  // the progress window is not touched.
  std::array<couche_arbres, 4> aucune{};
  for (auto& c : aucune) c.annulee = 1;
  m->liste_type[0] = 1;
  m->liste_type[1] = 31;
  FakeProgress attente;
  m->creer_arbres(aucune, &attente, 0);
  EXPECT_EQ(m->nombre_elements, 0);
  EXPECT_TRUE(attente.calls.empty());
}

TEST(CreerArbres, GroupingAndTransitionsMatchThePlainScan) {
  // A rough terrain so that slopes, bands and transitions all vary.
  for (int degre : {5, 6}) {
    SCOPED_TRACE(degre);
    auto m = terrain_plat(degre, 0, 4242);
    set_seed(99);
    for (int j = 1; j <= m->n; ++j)
      for (int i = 1; i + j <= m->n + 1; ++i)
        m->hauteurs->ecrire(i, j, static_cast<int>(Random(1400)) - 250 + 20 * (i + j));
    std::array<couche_arbres, 4> couches{};
    couches[0] = couche(30, -100, 900, 300, 70, true);
    couches[1] = couche(12, 400, 2000, 1000, 80, true);
    couches[2] = couche(8, 0, 3000, 0, 60, false);
    couches[3] = couche(25, 200, 1500, 50, 85, true);
    couches[3].pente_mini = 10;
    m->creer_arbres(couches, nullptr, 0);
    const std::uint32_t apres = seed();
    const auto attendu = placement_de_reference(*m, couches, 4242, m->capacite_liste);
    EXPECT_EQ(seed(), apres);
    EXPECT_EQ(liste(*m), attendu);
    EXPECT_GT(attendu.size(), 100u);
  }
}

TEST(CreerArbres, CancelKeepsTheTreesPlaced) {
  const WindowHandle fenetre = platform::register_window([](const platform::Message&) { return 0; });
  auto m = terrain_plat(7, 500, 777);
  FakeProgress attente;
  attente.cancel_at(4000, fenetre);
  m->creer_arbres(seule(couche(5, 0, 1000, 100, 45)), &attente, fenetre);
  EXPECT_EQ(attente.tests(), 4000);
  EXPECT_GT(m->nombre_elements, 200);
  EXPECT_LT(m->nombre_elements, 400);
  auto complet = terrain_plat(7, 500, 777);
  complet->creer_arbres(seule(couche(5, 0, 1000, 100, 45)), nullptr, 0);
  const auto tout = liste(*complet);
  const auto partiel = liste(*m);
  EXPECT_TRUE(std::equal(partiel.begin(), partiel.end(), tout.begin()));
  platform::unregister_window(fenetre);
}
