// One-level undo and the elevation of the whole terrain.
#include <algorithm>

#include "model/aleatoire.h"
#include "model/matrice.h"

namespace {

using liste = std::vector<std::uint16_t>;

// Copies entries 0..count - 1, as far as both sides have room.
void copier_entrees(const liste& de, liste& vers, std::int32_t count) {
  const std::size_t k = std::min({static_cast<std::size_t>(std::max(count, 0)), de.size(), vers.size()});
  std::copy_n(de.begin(), k, vers.begin());
}

}  // namespace

void Tmatrice::creer_annulation() {
  // Called at every opening of the map editor: the copies are replaced.
  hauteurs_annulation = std::make_unique<Tnoeud>(*hauteurs);
  const std::size_t c = static_cast<std::size_t>(capacite_liste);
  annulation_i.assign(c, 0);
  annulation_j.assign(c, 0);
  annulation_type.assign(c, 0);
  annulation_attribut.assign(c, 0);
  copier_entrees(liste_i, annulation_i, nombre_elements);
  copier_entrees(liste_j, annulation_j, nombre_elements);
  copier_entrees(liste_type, annulation_type, nombre_elements);
  copier_entrees(liste_attribut, annulation_attribut, nombre_elements);
  nombre_annulation = nombre_elements;
  if (deformation && dx && dy) {
    dx_annulation = std::make_unique<Tcooleen>(*dx);
    dy_annulation = std::make_unique<Tcooleen>(*dy);
  }
}

void Tmatrice::sauver_listes() {
  if (nombre_elements > 0 && !annulation_i.empty()) {
    copier_entrees(liste_i, annulation_i, nombre_elements);
    copier_entrees(liste_j, annulation_j, nombre_elements);
    copier_entrees(liste_type, annulation_type, nombre_elements);
    copier_entrees(liste_attribut, annulation_attribut, nombre_elements);
  }
  nombre_annulation = nombre_elements;
}

void Tmatrice::sauver_annulation() {
  if (hauteurs_annulation) *hauteurs_annulation = *hauteurs;
  sauver_listes();
  if (deformation && dx_annulation && dy_annulation && dx && dy) {
    *dx_annulation = *dx;
    *dy_annulation = *dy;
  }
}

void Tmatrice::annuler() {
  if (hauteurs_annulation) *hauteurs = *hauteurs_annulation;
  // The list counts are restored only with the list copies: without them the
  // saved count describes entries that were never copied.
  if (!annulation_i.empty()) {
    if (nombre_annulation > 0) {
      copier_entrees(annulation_i, liste_i, nombre_annulation);
      copier_entrees(annulation_j, liste_j, nombre_annulation);
      copier_entrees(annulation_type, liste_type, nombre_annulation);
      copier_entrees(annulation_attribut, liste_attribut, nombre_annulation);
    }
    nombre_elements = std::clamp(nombre_annulation, 0, capacite_liste);
  }
  if (deformation && dx_annulation && dy_annulation && dx && dy) {
    *dx = *dx_annulation;
    *dy = *dy_annulation;
  }
}

void Tmatrice::elever(std::int32_t valeur, bool proportionnel) {
  std::int32_t M = hauteur_max();
  if (M == 0) M = 1;
  const std::int32_t N = nombre_noeuds;
  for (std::int32_t i = 1; i <= N; ++i)
    for (std::int32_t j = 1; j <= N; ++j) {
      if (hauteurs->dehors(i, j)) continue;
      const std::int32_t h = hauteurs->lire(i, j);
      const std::int32_t delta = proportionnel ? Round(h * (1.0 / M) * valeur) : valeur;
      hauteurs->ajouter(i, j, delta);
    }
  rafraichir_points();
}
