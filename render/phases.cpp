#include "render/phases.h"

#include "render/contexte.h"
#include "render/facettes.h"
#include "render/ciel.h"
#include "render/dessin_arbre.h"
#include "render/mer.h"
#include "render/ombres.h"

namespace render {

ResultatCiel PhaseCiel::dessiner_ciel(RenderContext& ctx, const DemandeCiel&) {
  ResultatCiel r;
  r.seed_nuages = ctx.vue.seed_nuages;
  return r;
}

PhaseMer& mer_par_defaut() {
  static PhaseMerVagues p;
  return p;
}
PhaseOmbres& ombres_par_defaut() {
  static PhaseOmbresPortees p;
  return p;
}
PhaseCiel& ciel_par_defaut() {
  static PhaseCielDessin p;
  return p;
}
PhaseBalayage& balayage_par_defaut() {
  static BalayageFacettes p;
  return p;
}
FabriqueArbres& arbres_par_defaut() {
  static FabriqueTarbre p;
  return p;
}

}  // namespace render
