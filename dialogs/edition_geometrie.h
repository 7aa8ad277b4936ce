// The map editor's geometry, free of any window: where a lattice node or a
// world point falls on the top-down map, which node lies under a map pixel,
// the position readout, the altitude gauge's rows and the names of the map
// pictures kept beside a document.
#pragma once

#include <cstdint>
#include <string>

#include "model/records.h"

namespace dialogs {

// Map size at zoom 1 (zoom 2 doubles both).
inline constexpr int kLargeurCarte = 425;
inline constexpr int kHauteurCarte = 372;
// The lattice triangle on the zoom-1 map: its height and base in pixels.
inline constexpr int kHauteurTriangle = 346;
inline constexpr int kBaseTriangle = 386;
inline constexpr double kPente = 386.0 / 346.0 * 0.5;

struct PointMonde {
  double x = 0.0, y = 0.0, z = 0.0;
  bool operator==(const PointMonde&) const = default;
};

struct PixelCarte {
  std::int32_t x = 0, y = 0;
  bool operator==(const PixelCarte&) const = default;
};

struct NoeudCarte {
  std::int32_t i = 0, j = 0;
  bool operator==(const NoeudCarte&) const = default;
};

// The world position the map shows for node (i, j) at height z, n nodes a side.
PointMonde monde_du_noeud(std::int32_t n, std::int32_t i, std::int32_t j, double z);

// The zoom-1 map pixel of a world point seen from straight above. A depth of
// exactly 0 counts as 0.0001; the coordinates are clamped to +-2^30 (NaN to
// +2^30) before rounding, so far or degenerate points give far pixels, never
// an error.
PixelCarte projeter_monde(const PointMonde& p);

// The zoom-1 map pixel of node (i, j) at height z.
inline PixelCarte projeter_noeud(std::int32_t n, std::int32_t i, std::int32_t j, double z) {
  return projeter_monde(monde_du_noeud(n, i, j, z));
}

// The node under pixel (x, y) of the map shown at `zoom` (1 or 2).
NoeudCarte pixel_vers_noeud(std::int32_t n, std::int32_t x, std::int32_t y, std::int32_t zoom);

// The readout " x= X   y= Y" (metres) of pixel (x, y) at `zoom`.
std::string texte_position(std::int32_t x, std::int32_t y, std::int32_t zoom);

// The gauge row of an altitude for a gauge `hauteur` pixels high: the scale
// runs from 4000 at row 0 down to -1000 at the bottom; lower altitudes stay at
// -1000.
std::int32_t ligne_jauge(std::int32_t altitude, std::int32_t hauteur);

// The editor's view of a map, made from the main window's default view:
// straight down, fixed sun, no effects; every other field as in `defaut`.
param_vue vue_de_carte(const param_vue& defaut);

// The two map pictures beside a document: its path less the last four
// characters, followed by "_1.jpg" and "_2.jpg".
std::string image_carte(const std::string& fichier, int zoom);

}  // namespace dialogs
