// Terrains for renderer tests and the render tool: synthetic shapes and
// generated terrains.
#pragma once

#include <memory>
#include <string>

#include "model/matrice.h"

// Creation parameters: the mountain section's defaults, degree k, target
// (0.333, 0.333) and observer (0.1, 0.1).
param_mat parametres_test(int degre);

// "flat", "cone", "paraboloid", "pillar" or "wall" of the given height (metres)
// over a terrain of degree k; null for an unknown shape.
std::unique_ptr<Tmatrice> terrain_synthetique(const std::string& forme, int degre, int hauteur);

// A terrain grown by the generator from its key.
std::unique_ptr<Tmatrice> terrain_genere(const param_mat& p);

// Whether two creation records hold the same values, field by field.
bool memes_parametres(const param_mat& a, const param_mat& b);
