// The user's handling of the import frame, kept apart from the window: moves
// and turns with their steps and the refusal of a repeat that would push the
// frame further out, putting it back at the centre, and the scale bar.
#pragma once

#include <cstdint>

#include "import/importation.h"

// A move or turn of the frame; `aucun` before the first.
enum class Geste : std::uint8_t { aucun, haut, bas, droite, gauche, tourner_droite, tourner_gauche };

class ManipulationCadre {
 public:
  static constexpr double pas_rotation = 0.006 * 3.14159265358979323846;  // radians per turn
  static constexpr double rotation_maxi = 2 * 3.14159265358979323846;

  // Works on the frame of `imp` (read source: largeur and hauteur set).
  explicit ManipulationCadre(Importation& imp) : imp_(imp) {}

  // "Go over": the frame may leave the picture, and steps near the border stay large.
  bool debord = true;

  // Carries out a move or turn, unless the frame is outside the picture,
  // "Go over" is off and the gesture repeats the one carried out last.
  // False when refused. Turns keep the rotation within 0..2 pi.
  bool appliquer(Geste g);
  // Puts the centre back at (Round(0.5 W), Round(0.6 H)).
  void centrer();
  // The scale bar moved to `position` (f = position / 100): accepted unless
  // the frame is outside the picture and the scale would grow. Returns the
  // position the bar is to show.
  std::int32_t fixer_echelle(std::int32_t position);

  // No vertex outside 0..W, 0..H.
  bool dedans() const;
  // Some vertex closer than 5 pixels to the border (never with "Go over").
  bool pres_du_bord() const;
  // Pixels per move: 1 up to W = 500, 3 up to 1000, 6 above; 1 near the border.
  std::int32_t pas() const;
  Geste dernier() const { return dernier_; }
  // Forgets the last gesture (a new source).
  void oublier() { dernier_ = Geste::aucun; }

 private:
  Importation& imp_;
  Geste dernier_ = Geste::aucun;
};
