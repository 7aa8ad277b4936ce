// Sea preprocessing and feature cover: the wave value of every sea node and
// the rivers, trees and painted ground of the feature list, written into the
// render's cover map before the lattice is drawn.
#pragma once

#include "render/phases.h"

namespace render {

// Fills ctx.carte_vagues (made by the driver, all (0, 0)): waves when the sea
// is choppy, then the feature cover; counts trees, springs and river points
// when the statistics are on. Draws from the shared generator, which the
// driver has seeded with the terrain key.
void preparer_mer(RenderContext& ctx);

class PhaseMerVagues : public PhaseMer {
 public:
  void preparer_mer(RenderContext& ctx) override;
};

}  // namespace render
