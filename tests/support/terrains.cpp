#include "tests/support/terrains.h"

#include <cmath>
#include <tuple>

#include "model/aleatoire.h"
#include "model/defauts.h"

param_mat parametres_test(int degre) {
  param_mat p;
  valeurs_defaut_matrice(p);
  p.maillage = degre;
  p.cible = {0.333, 0.333};
  p.observateur = {0.1, 0.1};
  return p;
}

std::unique_ptr<Tmatrice> terrain_synthetique(const std::string& forme, int degre, int hauteur) {
  if (forme != "flat" && forme != "cone" && forme != "paraboloid" && forme != "pillar" && forme != "wall")
    return nullptr;
  auto t = std::make_unique<Tmatrice>(parametres_test(degre));
  const int n = t->n;
  t->pas = std::uint16_t(n - 1);
  t->nombre_noeuds = std::uint16_t(n);
  // The centre of the lattice triangle, in the editing metric (x = 0.9 i, y = j + 0.5 i).
  const double ci = (n + 2) / 3.0, cj = (n + 2) / 3.0;
  const double rayon = n / 3.0;
  for (int i = 1; i <= n; ++i)
    for (int j = 1; i + j <= n + 1; ++j) {
      const double dx = 0.9 * (i - ci), dy = (j - cj) + 0.5 * (i - ci);
      const double r = std::sqrt(dx * dx + dy * dy) / rayon;
      double h = 0;
      if (forme == "flat") h = hauteur;
      else if (forme == "cone") h = hauteur * std::max(0.0, 1 - r);
      else if (forme == "paraboloid") h = hauteur * std::max(0.0, 1 - r * r);
      else if (forme == "pillar") h = r < 0.15 ? hauteur : 0;
      else h = std::abs(i - int(ci)) <= std::max(1, n / 64) ? hauteur : 0;
      t->hauteurs->ecrire(i, j, Round(h));
    }
  t->placer_cible(0.333, 0.333, t->hauteurs->lire(t->cible_i, t->cible_j));
  t->placer_observateur(0.1, 0.1, t->hauteurs->lire(t->observateur_i, t->observateur_j));
  return t;
}

std::unique_ptr<Tmatrice> terrain_genere(const param_mat& p) {
  auto t = std::make_unique<Tmatrice>(p);
  bool continuer = true;
  t->generer_montagne(nullptr, 0, continuer, false);
  // Generation smooths through the edit dispatcher, which leaves a changed
  // area; a view starts a new picture by closing it, so that all is drawn.
  t->marquer_modifiee();
  return t;
}

namespace {
auto champs(const couche_arbres& c) {
  return std::tie(c.annulee, c.nombre, c.pente_mini, c.pente_maxi, c.niveau_mini, c.niveau_maxi, c.transition,
                  c.groupes);
}
auto champs(const param_mat& p) {
  return std::tie(p.texte, p.relief, p.maillage, p.profil, p.profils_iter, p.altitude_erosion, p.taux_lissage,
                  p.erosion, p.cle, p.alea, p.iles, p.cuvette, p.etalement, p.rivage_actif, p.rivage,
                  p.hauteur_rivage, p.gradins, p.nombre_gradins, p.pente_gradins, p.terrasse, p.oriente,
                  p.hauteur_plis, p.deformation, p.degre_deformation, p.photo_aerienne, p.cible, p.observateur);
}
}  // namespace

bool memes_parametres(const param_mat& a, const param_mat& b) {
  if (champs(a) != champs(b)) return false;
  for (std::size_t k = 0; k < 4; ++k)
    if (champs(a.couches[k]) != champs(b.couches[k])) return false;
  return true;
}
