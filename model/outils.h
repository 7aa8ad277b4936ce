// The edit dispatcher's side of the tools: tool codes, the argument record,
// the control block, the shared lattice geometry and the polling rule that
// every long worker follows.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "model/interfaces.h"

class Tmatrice;

inline constexpr std::int32_t OUTIL_CURSEUR = 0;
inline constexpr std::int32_t OUTIL_FORME = 1;
inline constexpr std::int32_t OUTIL_PLATEAU = 2;
inline constexpr std::int32_t OUTIL_VALLEE = 3;
inline constexpr std::int32_t OUTIL_COULEUR = 4;
inline constexpr std::int32_t OUTIL_LISSAGE = 5;
inline constexpr std::int32_t OUTIL_ARBRE = 6;
inline constexpr std::int32_t OUTIL_CIBLE = 7;
inline constexpr std::int32_t OUTIL_CONE = 8;
inline constexpr std::int32_t OUTIL_COL = 9;
inline constexpr std::int32_t OUTIL_ROUTE = 10;
inline constexpr std::int32_t OUTIL_OBSERVATEUR = 11;
inline constexpr std::int32_t OUTIL_STRATE = 12;
inline constexpr std::int32_t OUTIL_RELIEF = 13;
inline constexpr std::int32_t OUTIL_GOMME_ARBRE = 14;
inline constexpr std::int32_t OUTIL_GOMME_RIVIERE = 15;
inline constexpr std::int32_t OUTIL_GOMME_SOL = 16;
inline constexpr std::int32_t OUTIL_RUISSELLEMENT = 17;
inline constexpr std::int32_t OUTIL_COPIER = 18;
inline constexpr std::int32_t OUTIL_COLLER = 19;
// Codes of the tool dialog that never reach the dispatcher.
inline constexpr std::int32_t OUTIL_ELEVATION = 101;
inline constexpr std::int32_t OUTIL_COUPE = 102;

// The dispatcher's value arguments. The start values act at the last node of
// a stroke and the end values at its first node.
struct arguments_outil {
  std::int32_t largeur_base_debut = 0;  // 8000 = the whole terrain for smoothing
  std::int32_t largeur_base_fin = 0;
  std::int32_t largeur_sommet_debut = 0;
  std::int32_t largeur_sommet_fin = 0;
  std::int32_t coefficient_debut = 0;
  std::int32_t coefficient_fin = 0;
  std::int32_t altitude_finale_debut = 0;  // smoothing: upper altitude bound
  std::int32_t altitude_finale_fin = 0;
  std::int32_t altitude_initiale_debut = 0;  // smoothing: lower altitude bound
  std::int32_t altitude_initiale_fin = 0;
  std::int32_t valeur = 0;  // the tool's strength
  std::int32_t outil = 0;   // tool code
};

// What a tool needs besides its values: the continue flag it clears on a
// cancel, the progress window (may be null), the window whose queue carries
// the cancel message, the editor's map pictures (may be null), and the start
// node, which the dispatcher takes from the stroke trace.
struct PlateauxDifferes;
struct controle_outil {
  bool continuer = true;
  ProgressSink* attente = nullptr;
  WindowHandle fenetre = 0;
  MapCanvas* carte_1 = nullptr;
  MapCanvas* carte_2 = nullptr;
  std::int32_t i0 = 0;
  std::int32_t j0 = 0;
  // When set, a whole-terrain plateau without a progress window is gathered
  // there instead of being applied (appliquer_plateaux applies them).
  PlateauxDifferes* plateaux = nullptr;
};

// Whole-terrain plateaus gathered to be applied in one walk over the lattice,
// as a generation's terraces are: each changes a node by its height alone,
// so the heights they give one after the other come from one composed table.
struct PlateauxDifferes {
  // The nodes they change: rows j0..j1, i from i_debut to the row's end or i_fin.
  std::int32_t j0 = 0, j1 = -1, i_debut = 0, i_fin = -1;
  // Height - hauteur_mini -> the height after every plateau gathered.
  std::vector<std::int32_t> table;
  // Band limits, strength and band height (L, U, S, H) of each plateau, for
  // a height the table does not hold.
  std::vector<std::array<std::int32_t, 4>> bandes;
};
// Applies the plateaus gathered, in their order, and empties p.
void appliquer_plateaux(Tmatrice& t, PlateauxDifferes& p);

// Undo class of a tool: true when the dispatcher saves only the feature list.
bool outil_listes_seules(std::int32_t outil);
// Feature tools: no sea rim is laid after them.
bool outil_d_elements(std::int32_t outil);

// Plane position of node (i, j): x = 0.9 i, y = j + 0.5 i.
struct position_plan {
  double x;
  double y;
};
inline position_plan plan(std::int32_t i, std::int32_t j) { return {0.9 * i, j + 0.5 * i}; }
// Euclidean distance of the plane positions of two nodes; every tool measures with it.
double distance_noeuds(std::int32_t i1, std::int32_t j1, std::int32_t i2, std::int32_t j2);

// The polling rule at a progress point of a worker with a progress window:
// look for Escape and Cancel, take a queued cancel message of the worker's
// window, and step the gauge unless cancelled. Clears continuer on a cancel
// and answers whether the work goes on. Without a progress window it does
// nothing and answers continuer.
bool annulation_attente(controle_outil& c, std::optional<std::string_view> caption, std::uint16_t increment);

// Tool routines, one source file per family.
void outil_lisser(Tmatrice& m, const arguments_outil& a, controle_outil& c);
// Disc tools: Plateau flattens an altitude band, Stratum bends the distortion
// maps inside a band, Relief grows new fractal relief.
void outil_plateau(Tmatrice& m, const arguments_outil& a, controle_outil& c);
void outil_strate(Tmatrice& m, const arguments_outil& a, controle_outil& c);
void outil_relief(Tmatrice& m, const arguments_outil& a, controle_outil& c);
