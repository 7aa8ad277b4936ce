// The camera path of a video: one camera record per frame from the video's
// settings and its terrain, and the drawing arrays of the path editor and the
// altitude profile of the settings dialog. Plain C++: no widgets.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/matrice.h"
#include "model/records.h"

// The path editor picture, the reference centre of the circle centre and of
// the fixed target point, and the horizontal slant of the terrain triangle.
inline constexpr int kLargeurEditeurTrajet = 280;
inline constexpr int kHauteurEditeurTrajet = 250;
inline constexpr int kCentreReferenceX = 140;
inline constexpr int kCentreReferenceY = 167;
inline constexpr int kImagesMin = 200;
inline constexpr int kImagesMax = 9999;

// What the dialog draws, indexed by the sample s = 1..200 (index 0 unused).
struct DessinTrajectoire {
  static constexpr int kEchantillons = 200;
  std::array<std::int32_t, kEchantillons + 1> observateur_x{}, observateur_y{};
  std::array<std::int32_t, kEchantillons + 1> cible_x{}, cible_y{};
  std::array<std::int32_t, kEchantillons + 1> colonne_cible{};  // open and closed paths
  std::array<std::int32_t, kEchantillons + 1> profil_cible{}, profil_observateur{}, profil_sol{};
  std::array<std::int32_t, 8> x_altitude{};  // altitude points 1..7
  std::int32_t echantillons = 0;            // the highest sample filled
};

// The altitude editor's size, and a point the user dragged there (point
// 1..7 at pixel row y), which the computation writes into the settings and
// then clears.
struct EditeurAltitude {
  int largeur = 0;
  int hauteur = 0;
  int point_tire = 0;  // 0: none
  int y_tire = 0;
};

// Target fractions from a pixel offset relative to the reference centre.
void conversion_cible(double px, double py, double& a, double& b);
// The altitude of frame k on the seven-point altitude profile.
double altitude_trajet(const Param_video& p, int k);
// Cubic Bezier on four values at t.
double bezier(double b0, double b1, double b2, double b3, double t);
// Number of control points of an open or closed path (leading points set).
int points_de_controle(const Param_video& p);

// Computes the path into `table` (record k at index k, 1..N; index 0 unused)
// and the drawing arrays, from the settings and the terrain's heights only:
// the same settings and terrain give the same path, whatever was rendered
// in between. N is brought into 200..9999 and written back into
// the settings. The table grows to N + 1 records when smaller. Returns false,
// leaving the table as it was, when there is no path to compute: an open or
// closed path still being drawn or without 4, 7, 10 or 13 points, or an
// unknown path kind.
bool calcule_trajectoire(Param_video& p, const Tmatrice& terrain, EditeurAltitude& altitudes, bool trace_en_cours,
                         std::vector<enregistrement_camera>& table, DessinTrajectoire& dessin);
