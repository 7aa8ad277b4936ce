// Drawing trees: the test-only observer of each drawing, the test hook that
// makes a drawing fail, and the renderer's tree interface (one model per
// present layer, built on Tarbre).
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "render/phases.h"

namespace render {

enum class RenduArbre : std::uint8_t { aucun, trait, symbole, segments, gros_plan };

// What one dessiner_arbre call did.
struct RapportArbre {
  bool dessine = false;  // false after the ground restriction
  RenduArbre rendu = RenduArbre::aucun;
  std::int32_t niveau_gros_plan = 0;  // the close-up's level (5..7, or 1 for the tilt rule)
  std::int32_t niveau = 0, variante = 0;
  double inclinaison = 0.0;
  std::int32_t segments_dessines = 0;
  // feuilles, feuilles_ombre, tronc, ecorce, ecorce_ombre, ecorce_moyenne
  std::array<std::int32_t, 6> couleurs{};
  bool a_l_ombre = false;
  bool gros_plan = false;  // this call draws a close-up model
};

class ObservateurArbres {
 public:
  virtual ~ObservateurArbres() = default;
  virtual void arbre(const RapportArbre&) {}
  virtual void reflet() {}
  virtual void silhouette_editeur() {}
};

// Test hook: called at the start of every drawing past the ground
// restriction; it may throw to exercise the failure path. Empty in the program.
void fixer_crochet_test_dessin(std::function<void()> crochet);

// The real tree interface of the renderer.
class FabriqueTarbre final : public FabriqueArbres {
 public:
  std::unique_ptr<ModeleArbre> creer(const param_vue& vue, bool detail, std::int32_t variantes,
                                     const espece_arbres& couche) override;
};

// The ground class of the facet shading (1 grass, 2 and 3 soil, 4 and 5 rock)
// as the tree drawing's `sol`: 1 grass, 2 soil, 3 rock, 0 for the others.
std::uint16_t sol_de_classe(std::int32_t classe);

}  // namespace render
