// Refinement: the mesh degree goes up by one, every old node keeps its height
// at its new place and one level of subdivision makes the nodes between them.
// Every per-node layer and the feature list move to the new lattice with it.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

#include "model/aleatoire.h"
#include "model/erreur.h"
#include "model/matrice.h"
#include "model/presse_papier.h"

namespace {

// A distortion map at the new size: the old bytes at their new places, no
// shift elsewhere (the subdivision then gives the midpoints their bytes).
std::unique_ptr<Tcooleen> carte_agrandie(const Tcooleen& ancienne, std::int32_t N, std::int32_t n2) {
  auto carte = std::make_unique<Tcooleen>(n2);
  for (std::int32_t j = 1; j <= n2; ++j)
    for (std::int32_t i = 1; i + j <= n2 + 1; ++i) carte->ecrire(i, j, 128);
  for (std::int32_t j = 1; j <= N; ++j)
    for (std::int32_t i = 1; i + j <= N + 1; ++i) carte->ecrire(2 * i - 1, 2 * j - 1, ancienne.lire(i, j));
  return carte;
}

std::uint32_t couleur(const Rgb& c) {
  return static_cast<std::uint32_t>(c.r) | (static_cast<std::uint32_t>(c.g) << 8) |
         (static_cast<std::uint32_t>(c.b) << 16);
}

std::uint8_t moyenne(std::uint8_t a, std::uint8_t b) { return static_cast<std::uint8_t>(Round((a + b) / 2.0)); }

// The colour layer at the new size: old colours at their new places, each new
// node the mean of the two old nodes at the ends of its edge.
std::unique_ptr<Tphoto> photo_agrandie(const Tphoto& ancienne, std::int32_t N, std::int32_t n2) {
  auto photo = std::make_unique<Tphoto>(n2);
  for (std::int32_t j = 1; j <= N; ++j)
    for (std::int32_t i = 1; i + j <= N + 1; ++i) photo->ecrire(2 * i - 1, 2 * j - 1, couleur(ancienne.lire(i, j)));
  for (std::int32_t y = 1; y <= n2; ++y)
    for (std::int32_t x = 1; x + y <= n2 + 1; ++x) {
      const bool x_pair = x % 2 == 0, y_pair = y % 2 == 0;
      if (!x_pair && !y_pair) continue;
      Rgb a, b;
      if (x_pair && !y_pair) {
        a = photo->lire(x - 1, y);
        b = photo->lire(x + 1, y);
      } else if (!x_pair) {
        a = photo->lire(x, y - 1);
        b = photo->lire(x, y + 1);
      } else {
        a = photo->lire(x + 1, y - 1);
        b = photo->lire(x - 1, y + 1);
      }
      photo->ecrire(x, y, couleur(Rgb{moyenne(a.r, b.r), moyenne(a.g, b.g), moyenne(a.b, b.b)}));
    }
  return photo;
}

}  // namespace

void Tmatrice::raffiner(param_mat p, ProgressSink* attente, WindowHandle fenetre) {
  if (degre >= 11)
    throw ModelError("A terrain of mesh degree " + std::to_string(degre) + " cannot be refined any further");

  if (attente) {
    attente->take_focus();
    attente->demarrer(fenetre);
  }
  const std::int32_t N = n;
  const std::int32_t n2 = 2 * N - 1;
  const std::int32_t k = degre;
  n = n2;

  // The old heights, their sea rim replaced by the inner neighbours.
  Tnoeud copie(n2);
  for (std::int32_t j = 1; j <= N; ++j)
    for (std::int32_t i = 1; i + j <= N + 1; ++i) copie.ecrire(i, j, hauteurs->lire(i, j));
  if (k > 6) {
    for (std::int32_t j = 1; j <= N; ++j) copie.ecrire(1, j, hauteurs->lire(2, j));
    for (std::int32_t i = 1; i <= N; ++i) copie.ecrire(i, 1, hauteurs->lire(i, 2));
    for (std::int32_t i = 1; i <= N; ++i) copie.ecrire(i, N + 1 - i, hauteurs->lire(i - 1, N - i));
  }

  // The other layers and the feature list move to the new lattice.
  if (dx && dy) {
    dx = carte_agrandie(*dx, N, n2);
    dy = carte_agrandie(*dy, N, n2);
  }
  if (photo) photo = photo_agrandie(*photo, N, n2);
  for (std::int32_t e = 0; e < nombre_elements; ++e) {
    liste_i[e] = static_cast<std::uint16_t>(2 * liste_i[e] - 1);
    liste_j[e] = static_cast<std::uint16_t>(2 * liste_j[e] - 1);
  }
  capacite_liste = std::min(32 * n2 + 1, 32768);
  capacite_trace = 16 * n2 + 1;
  const auto c = static_cast<std::size_t>(capacite_liste);
  liste_i.resize(c, 0);
  liste_j.resize(c, 0);
  liste_type.resize(c, 0);
  liste_attribut.resize(c, 0);
  // Undo copies and the relief clipboard belong to the old resolution.
  hauteurs_annulation.reset();
  dx_annulation.reset();
  dy_annulation.reset();
  annulation_i.clear();
  annulation_j.clear();
  annulation_type.clear();
  annulation_attribut.clear();
  nombre_annulation = 0;
  presse_papier.reset();

  hauteurs = std::make_unique<Tnoeud>(n2);
  for (std::int32_t j = 1; j <= N; ++j)
    for (std::int32_t i = 1; i + j <= N + 1; ++i) hauteurs->ecrire(2 * i - 1, 2 * j - 1, copie.lire(i, j));

  semer_cle(cle, false);  // refinement never asks for a new key

  degre = static_cast<std::uint16_t>(k + 1);
  relief = 2.0 * p.relief;
  profil = p.profil;
  nombre_noeuds = static_cast<std::uint16_t>(n2);
  cible_i *= 2;
  cible_j *= 2;
  observateur_i *= 2;
  observateur_j *= 2;
  pas = 2;
  amplitude = 4000;
  for (int h = 1; h < degre; ++h) amplitude = static_cast<std::uint16_t>(amplitude / 2);
  // The whole terrain is new to every view.
  zone_modifiee = {0, n2 + 1, 0, n2 + 1};
  redessiner_tout = 1;

  bool continuer = true;
  generation_fractale(attente, fenetre, continuer);
}
