// Forests on generated terrains, single trees and the species contact sheet,
// for the tests, the benchmarks and the render tool.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "model/matrice.h"
#include "model/records.h"
#include "render/arbre.h"
#include "render/canevas_arbre.h"
#include "render/palette.h"
#include "render/raster.h"

// Places trees of creation layers 1..4 (density nombre, 0..4000 m, slopes up to 80).
void planter_foret(Tmatrice& m, int nombre = 40);

// The default view with the forest on and species Oak, Fir, Poplar, Pine on layers 1..4.
param_vue vue_foret();

// One tree as the render tool's --tree draws it.
struct ArbreSeul {
  espece_arbres couche{};  // the defaults with species 1
  int variantes = 1;
  double distance = 5.0;   // view distance, km
  double inclinaison = 0.5;  // sine of the tilt
  double taille = 30.0;
  int eclairement = 40;
  int neige = 0;
  bool ombre = false;
  int sol = 0;
  bool au_trait = false;
  bool detail_arbres = true, detail_plus = false, premier_plan = false;
  int numero = 1;
  int brume = 0;
};

espece_arbres couche_defaut(int espece);
// Generates the model as the view options preview does (degree 7, no progress window).
std::unique_ptr<Tarbre> modele_seul(const ArbreSeul& a);
// Draws it with its foot at `pied` on the picture's canvas.
void dessiner_seul(Tarbre& t, const ArbreSeul& a, render::CanevasArbre& cv, const TMyPalette& palette,
                   render::Point pied);
render::Bitmap image_arbre(const ArbreSeul& a, int largeur = 200, int hauteur = 200);
// The eight species side by side at sizes 4, 12 and 48.
render::Bitmap planche_arbres();
