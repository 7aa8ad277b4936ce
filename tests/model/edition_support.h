// Terrains for the editing tests.
#pragma once

#include <cmath>
#include <memory>

#include "model/aleatoire.h"
#include "model/matrice.h"
#include "model/outils.h"

namespace edition {

inline param_mat parametres(int degre, bool deformation = false) {
  param_mat p;
  p.maillage = degre;
  p.relief = 60;
  p.profil = 50;
  p.deformation = deformation;
  p.degre_deformation = 40;
  p.cible = {0.333, 0.333};
  p.observateur = {0.1, 0.1};
  return p;
}

// A terrain whose size fields are set as after generation.
inline std::unique_ptr<Tmatrice> terrain(int degre, bool deformation = false) {
  auto m = std::make_unique<Tmatrice>(parametres(degre, deformation));
  m->pas = static_cast<std::uint16_t>(m->n - 1);
  m->nombre_noeuds = static_cast<std::uint16_t>(m->n);
  m->amplitude = 4000;
  return m;
}

// Smooth rolling hills with some noise, from a fixed seed; distortion bytes vary
// too. From degree 7 on the edges hold the sea rim, as after generation.
inline std::unique_ptr<Tmatrice> collines(int degre, bool deformation = false, std::uint32_t graine = 7) {
  auto m = terrain(degre, deformation);
  set_seed(graine);
  const double f = 12.0 / m->n;
  for (int i = 1; i <= m->n; ++i)
    for (int j = 1; i + j <= m->n + 1; ++j) {
      const double h = 600 * std::sin(i * f) * std::cos(j * f * 1.3) + 400 + Random(200);
      m->hauteurs->ecrire(i, j, static_cast<std::int32_t>(h));
      if (deformation) {
        m->dx->ecrire(i, j, static_cast<std::uint8_t>(Random(256)));
        m->dy->ecrire(i, j, static_cast<std::uint8_t>(Random(256)));
      }
      if (degre > 6 && (i == 1 || j == 1 || i + j == m->n + 1)) m->hauteurs->ecrire(i, j, -1000);
    }
  return m;
}

inline arguments_outil lisser(std::int32_t largeur, std::int32_t force, std::int32_t haut = 4000,
                              std::int32_t bas = -2000) {
  arguments_outil a;
  a.largeur_base_debut = largeur;
  a.valeur = force;
  a.altitude_finale_debut = haut;
  a.altitude_initiale_debut = bas;
  a.outil = OUTIL_LISSAGE;
  return a;
}

inline bool memes_hauteurs(const Tmatrice& a, const Tmatrice& b) {
  for (int i = 1; i <= a.n; ++i)
    for (int j = 1; i + j <= a.n + 1; ++j)
      if (a.hauteurs->lire(i, j) != b.hauteurs->lire(i, j)) return false;
  return true;
}

inline void copier_hauteurs(const Tmatrice& de, Tmatrice& vers) { *vers.hauteurs = *de.hauteurs; }

}  // namespace edition
