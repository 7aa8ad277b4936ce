// The tree preview's calls to the tree model, through one entry: each call
// goes to Tarbre. A test that watches these calls installs an observer, which
// sees each call's arguments; the program installs none and keeps nothing of
// its calls.
#pragma once

#include <cstdint>
#include <memory>

#include "model/records.h"
#include "render/arbre.h"
#include "render/canevas_arbre.h"
#include "render/palette.h"

namespace dialogs {

// One call as the observer sees it, before the model runs.
struct AppelArbre {
  enum Genre { creation, generation, dessin };
  Genre genre = creation;
  param_vue vue{};
  espece_arbres couche{};
  bool detail = false;
  std::int32_t variantes = 0;
  double cos_a = 0, sin_a = 0, cos_ea = 0, cos_z = 0, cos_t = 0, sin_t = 0;
  std::int32_t graine = 0;
  std::uint32_t graine_processus = 0;  // the process-wide generator's seed at the call
  render::Point pied{};
  double taille = 0;
  bool rapide = false;
};

// What watches the preview's calls.
class ObservateurApercuArbres {
 public:
  virtual ~ObservateurApercuArbres() = default;
  // Before each creation, generation and drawing of a model.
  virtual void appel(const AppelArbre& a) = 0;
};

// Makes `observateur` (null: none) the observer of the calls that follow;
// returns the one it replaces.
ObservateurApercuArbres* observer_apercu_arbres(ObservateurApercuArbres* observateur);

std::unique_ptr<Tarbre> creer_arbre(const param_vue& vue, bool detail, std::int32_t variantes,
                                    const espece_arbres& couche);
// generer_arbre at degree 7, no window, no progress window.
void generer_arbre(Tarbre& t, const param_vue& vue, const espece_arbres& couche, double cos_a, double sin_a,
                   double cos_ea, double cos_z, double cos_t, double sin_t, std::int32_t graine);
// dessiner_arbre with light 40, no snow, no shadow, factor 4, no mist.
void dessiner_arbre(Tarbre& t, render::Point pied, double taille, render::CanevasArbre& canevas,
                    const TMyPalette& palette, bool rapide, double sin_a);

}  // namespace dialogs
