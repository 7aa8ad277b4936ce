// Constant shape data of the eight tree species: capacities, growth rules and
// the trunk, branch and cluster templates.
#pragma once

#include <array>
#include <cstdint>
#include <span>

// One template row: a point (z is the height, the foot at the origin) and a
// kind. Kind 0 starts a new chain and makes no element; any other kind makes
// one element from the previous row's point to this one (1 tip, 2 wood,
// 3 growing tip, 4 cluster node). Only trunk rows carry a width.
struct ligne_modele {
  double x, y, z;
  std::uint8_t genre;
  double largeur;
};

// A value a + b x D, D being the layer's diversity.
struct valeur_d {
  double a, b;
};

struct regles_espece {
  valeur_d penche, agitation, abandon;
  double pousse, redressement, correction;
  valeur_d ecart_elevation, ecart_azimut, elan, ecart_taille;
  double flexion;
  std::uint8_t forme;
  std::uint8_t grappes;
  double echelle_grappe;
  std::span<const ligne_modele> tronc, branche, grappe;  // grappe empty without clusters
};

constexpr int nombre_especes = 8;

// Rules of species 1..8; nullptr for any other code.
const regles_espece* regles_de(int espece);

// Capacity table row (levels 0..7, before the margin of 2); all zero for a
// code outside 1..8.
std::array<std::uint16_t, 8> capacites_de(int espece);

// The species' last level with a capacity entry (0 outside 1..8).
int dernier_niveau_de(int espece);
