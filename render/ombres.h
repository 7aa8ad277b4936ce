// Cast shadows: the terrain is seen from the sun, nearest nodes first, and a
// node whose triangles fall on an area already painted on the shadow work
// picture is in the shadow of what was painted there.
#pragma once

#include <cstdint>

#include "render/phases.h"

namespace render {

// The stride of the shadow pass before the rough factor: 1, or Round(2 / cell
// pixel size) for small cells of far or steep views without foreground detail.
std::int32_t pas_ombres(const RenderContext& ctx);

// The sweep row of the sun azimuth A (0..360): the order of i and j and the
// signs of the steps (a, b).
struct BalayageOmbres {
  bool i_croissant = true;
  bool j_croissant = true;
  std::int32_t signe_a = 1, signe_b = 1;
};
BalayageOmbres balayage_ombres(std::int32_t A);

// Fills ctx.carte_ombres (made by the driver, all 0). Moves the camera to the
// sun for the pass and puts the driver's camera fields back afterwards.
void calcul_ombres(RenderContext& ctx);

class PhaseOmbresPortees : public PhaseOmbres {
 public:
  void calcul_ombres(RenderContext& ctx) override;
};

}  // namespace render
