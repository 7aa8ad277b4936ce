// The stroke tools: one sweep over a rectangle of the lattice in which every
// node takes its profile from the nearest node of the stroke trace.
#pragma once

#include <cstdint>

#include "model/outils.h"

class Tmatrice;

// The values outil_trace works from, as the dispatcher (or the Valley tool)
// maps them from its arguments. Start values act at the last trace node, end
// values at the first one.
struct parametres_trace {
  std::int32_t largeur_base_debut = 0;
  std::int32_t largeur_base_fin = 0;
  std::int32_t largeur_sommet_debut = 0;
  std::int32_t largeur_sommet_fin = 0;
  std::int32_t altitude_finale_debut = 0;
  std::int32_t altitude_finale_fin = 0;
  std::int32_t altitude_initiale_debut = 0;
  std::int32_t altitude_initiale_fin = 0;
  std::int32_t valeur = 0;   // Shape: push strength; Cone: start slope; Road: slope angle
  std::int32_t rapport = 0;  // Shape: profile (< 0 sinusoidal); Cone: end slope; Road: slope angle
  // The dispatcher's own strength: Road's profile smoothing (-50 draws a path,
  // and is then set to 20 here and in the caller's arguments).
  std::int32_t* valeur_appelant = nullptr;
  std::int32_t outil = OUTIL_FORME;  // 1, 3, 8, 9 or 10
  bool sans_legende = false;          // show no caption (the caller's stays)
  bool sans_pas = false;              // make no progress steps (the polls still run)
  bool recherche_simple = false;      // nearest trace node by a plain search (for comparison)
};

// The parameter block of a stroke tool's row of the dispatcher's table.
// valeur_appelant points into a, which must outlive the call.
parametres_trace parametres_outil_trace(arguments_outil& a);

void outil_trace(Tmatrice& m, const parametres_trace& p, controle_outil& c);

// Grows the tool area so that it holds the footprint of a feature entry on
// the renderer's cover map, with one node of margin.
void inclure_empreinte(Tmatrice& m, std::int32_t i, std::int32_t j, std::uint16_t type, std::uint16_t attribut);
