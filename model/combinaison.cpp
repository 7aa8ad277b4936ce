// Whole-terrain operations: copy of another terrain's layers, combination of
// two terrains' heights, clearing of features, and the proximity tests.

#include <cstdint>
#include <string>

#include "model/aleatoire.h"
#include "model/erreur.h"
#include "model/interfaces.h"
#include "model/matrice.h"

void Tmatrice::copier(const Tnoeud& source_hauteurs, const Tcooleen* source_dx, const Tcooleen* source_dy,
                      const Tphoto* source_photo) {
  const std::int32_t taille = n;
  if (source_hauteurs.n() != taille || (source_dx && source_dx->n() != taille) ||
      (source_dy && source_dy->n() != taille) || (source_photo && source_photo->n() != taille))
    throw ModelError("The terrain to copy has another size");

  pas = static_cast<std::uint16_t>(1u << degre);
  nombre_noeuds = static_cast<std::uint16_t>(pas + 1);
  amplitude = 4000;
  const bool cartes = deformation && dx && dy && source_dx && source_dy;
  const bool couleurs = photo_presente && photo && source_photo;
  for (std::int32_t j = 1; j <= taille; ++j)
    for (std::int32_t i = 1; i + j <= taille + 1; ++i) {
      hauteurs->ecrire(i, j, source_hauteurs.lire(i, j));
      if (cartes) {
        dx->ecrire(i, j, source_dx->lire(i, j));
        dy->ecrire(i, j, source_dy->lire(i, j));
      }
      if (couleurs) {
        const Rgb c = source_photo->lire(i, j);
        photo->ecrire(i, j, static_cast<std::uint32_t>(c.r) | (static_cast<std::uint32_t>(c.g) << 8) |
                                (static_cast<std::uint32_t>(c.b) << 16));
      }
    }
  rafraichir_points();
  nombre_elements = 0;
  nombre_annulation = 0;
}

void Tmatrice::combiner(const Tnoeud& autre, std::uint16_t mode, bool inverser) {
  const std::int32_t taille = n;
  for (std::int32_t j = 1; j <= taille; ++j)
    for (std::int32_t i = 1; i + j <= taille + 1; ++i) {
      const std::int32_t o = autre.lire(i, j);
      const std::int32_t h = hauteurs->lire(i, j);
      std::int32_t resultat = h;
      switch (mode) {
        case 1:
          resultat = inverser ? h - o : h + o;
          break;
        case 2:
          if (o > h) resultat = inverser ? 2 * h - Round(o * 0.5) : o;
          break;
        case 3:
          if (o < h) resultat = inverser ? 2 * h - Round(o * 0.5) : o;
          break;
        default:
          break;
      }
      hauteurs->ecrire(i, j, resultat);
    }
  // The views are framed on the combined terrain, as after a copy.
  rafraichir_points();
  nombre_elements = 0;
  nombre_annulation = 0;
}

namespace {

bool est_arbre(std::uint16_t type) { return type >= 11 && type <= 19; }
bool est_sol(std::uint16_t type) { return type >= 31 && type <= 39; }

}  // namespace

bool Tmatrice::effacer_rivieres() {
  if (nombre_elements < 1) return false;
  if (!ask_yes_no("Do you really want to rub all the rivers ?", "Rivers")) return false;
  for (std::int32_t k = 0; k < nombre_elements; ++k)
    if (liste_type[k] == 1) liste_type[k] = 0;
  return true;
}

bool Tmatrice::effacer_arbres() {
  if (nombre_elements < 1) return false;
  if (!ask_yes_no("Do you really want to delete all the trees ?", "Trees")) return false;
  for (std::int32_t k = 0; k < nombre_elements; ++k)
    if (est_arbre(liste_type[k])) liste_type[k] = 0;
  for (int k = 1; k <= 6; ++k) especes_presentes[k] = 0;
  return true;
}

bool Tmatrice::effacer_sol() {
  if (nombre_elements < 1) return false;
  if (!ask_yes_no("Do you really want to rub the painted ground ?", "Ground")) return false;
  for (std::int32_t k = 0; k < nombre_elements; ++k)
    if (est_sol(liste_type[k])) liste_type[k] = 0;
  return true;
}

namespace {

// The first live entry within 3 nodes of (i, j) on both axes that passes the test.
template <class Test>
bool element_proche(const Tmatrice& m, std::int32_t i, std::int32_t j, Test test) {
  for (std::int32_t k = 0; k < m.nombre_elements; ++k) {
    const std::int32_t di = m.liste_i[k] - i;
    const std::int32_t dj = m.liste_j[k] - j;
    if (di > -4 && di < 4 && dj > -4 && dj < 4 && test(m.liste_type[k], m.liste_attribut[k])) return true;
  }
  return false;
}

}  // namespace

bool Tmatrice::arbre_proche(std::int32_t i, std::int32_t j) const {
  return element_proche(*this, i, j, [](std::uint16_t t, std::uint16_t) { return est_arbre(t); });
}

bool Tmatrice::sol_proche(std::int32_t i, std::int32_t j) const {
  return element_proche(*this, i, j, [](std::uint16_t t, std::uint16_t) { return est_sol(t); });
}

bool Tmatrice::source_proche(std::int32_t i, std::int32_t j) const {
  return element_proche(*this, i, j, [](std::uint16_t t, std::uint16_t a) { return t == 1 && a == 1; });
}
