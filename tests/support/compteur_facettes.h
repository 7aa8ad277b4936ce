// An observer of the terrain pass's facet drawing that counts what it sees:
// the polygons drawn (main facets and sub-facets), ridges and water among
// them, the facets the occupancy buffer hid, and the sub-lattices drawn.
#pragma once

#include <cstdint>

#include "render/facettes.h"

struct TotauxFacettes {
  std::int64_t facettes = 0;  // every polygon drawn, main and sub
  std::int64_t cretes = 0;
  std::int64_t eau = 0;
  std::int64_t sauts_occupation = 0;
  std::int64_t sous_reseaux = 0;
  std::int64_t sous_facettes = 0;
};

struct CompteurFacettes : render::ObservateurDessin {
  TotauxFacettes totaux;
  void dessinee(const render::FacetteDessinee& f) override {
    ++totaux.facettes;
    if (f.sous_facette) ++totaux.sous_facettes;
    if (f.genre == render::GenreFacette::crete) ++totaux.cretes;
    if (f.genre == render::GenreFacette::eau) ++totaux.eau;
  }
  void saut_occupation() override { ++totaux.sauts_occupation; }
  void sous_reseau() override { ++totaux.sous_reseaux; }
};
