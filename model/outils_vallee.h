// Valley and Erosion: rivers that run from a spring down the slope, recorded
// in the feature list, drawn on the editor's map pictures and dug into the
// terrain.
#pragma once

#include <cstdint>

#include "model/outils.h"

class Tmatrice;

// How a Valley ended.
enum class fin_vallee {
  reussie,  // the descent ended normally (sea, low point, border, older river, full list)
  boucle,   // the river ran back onto itself: nothing dug, nothing counted
  annulee,  // the user cancelled (during the descent or the digging)
};

// The values of one Valley.
struct parametres_vallee {
  std::int32_t largeur_vallee = 200;  // W, the valley width
  std::int32_t largeur_riviere = 20;  // V, the river width
  std::int32_t altitude_finale = 0;   // F
  std::int32_t altitude_initiale = 0;  // I; F - I < 0 digs, 0 lays the river only
  std::int32_t i0 = 0;                 // the clicked node
  std::int32_t j0 = 0;
  bool erosion = false;  // run by Erosion: no caption, no message, no progress steps, never counted when dug
  // The list's count when the edit tool started; the capacity cut never goes
  // below it. Negative: the count when this Valley starts.
  std::int32_t nombre_depart = -1;
};

// One Valley. In dispatcher mode c.continuer ends true on success and false
// after a loop or a cancel. The tool area covers every river entry written
// and the digging.
fin_vallee outil_vallee(Tmatrice& m, const parametres_vallee& p, controle_outil& c);

// The dispatcher's rows: Valley (code 3) and Erosion (code 17).
void outil_vallee(Tmatrice& m, const arguments_outil& a, controle_outil& c);
void outil_ruissellement(Tmatrice& m, const arguments_outil& a, controle_outil& c);
