// The terrain pass of a render: the painter's-order sweep of the lattice, the
// examination of every visited node against the cover map, the drawing of
// each facet (land, water, back-face ridges, wire mesh, rivers, the sea's
// mirror of land, the occupancy buffer) and the near-zone sub-lattices, and
// the pending tree of each node handed to its tree model.
#pragma once

#include <array>
#include <cstdint>

#include "render/phases.h"
#include "render/raster.h"

namespace render {

enum class GenreFacette : std::uint8_t { terre, eau, crete, fil, riviere };

// One polygon put on the picture, as a test observer sees it.
struct FacetteDessinee {
  bool sous_facette = false;
  GenreFacette genre = GenreFacette::terre;
  std::int32_t cellule_i = 0, cellule_j = 0;  // the render cell
  // Main facets: the lattice nodes of the vertices. Sub-facets: their sub-nodes
  // (c, r) in the sub-lattice of size m that covers the cell passed.
  std::array<std::array<std::int32_t, 2>, 3> noeuds{};
  std::int32_t sous_i = 0, sous_j = 0, m = 0;
  bool parent_eau = false;  // sub-facets: the facet they subdivide is water
  std::array<std::array<double, 3>, 3> monde{};  // world points, z relative to the target altitude
  std::array<Point, 3> ecran{};
  std::array<double, 3> profondeur{};         // positive in front of the eye
  std::int32_t index = 0;                     // colour-table entry (or grey level)
  Rgb couleur;
  std::int32_t niveau_brume = 0;
  std::int32_t lumiere = 0;                   // light index of land facets (1..48)
  bool visible = false;
};

// A facet observer that also sees each polygon, each facet the occupancy
// buffer hides and each sub-lattice drawn; the drawing counts nothing itself.
class ObservateurDessin : public ObservateurFacettes {
 public:
  bool sans_cache = false;  // compute every vertex afresh (the node cache is off)
  virtual void dessinee(const FacetteDessinee&) {}
  virtual void saut_occupation() {}
  virtual void sous_reseau() {}
  // Every triangle the pass hands to the raster layer for the picture, as it hands it.
  virtual void triangle(Point, Point, Point, Contour, Pixel /*remplissage*/, Pixel /*contour*/) {}
};

// The sweep hook of the driver.
class BalayageFacettes : public PhaseBalayage {
 public:
  void balayage(RenderContext& ctx, FamilleBalayage famille) override;
};

}  // namespace render
