// The creation options dialog's arithmetic, free of any window: the mesh list,
// the preview's view and record, the tree-layer scroll mappings and their
// min/max coupling, and the geometry of the levels and slope figures.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "model/records.h"

class Tmatrice;

namespace dialogs {

// Mesh list items, index = degree - 4.
extern const std::array<const char*, 8> kTextesMaillage;
// Layer names by layer 1..4 (entry 0 unused), and the layer list top to bottom.
extern const std::array<const char*, 5> kNomsCouches;
extern const std::array<const char*, 4> kListeCouches;

// The view the preview is rendered with.
param_vue vue_apercu();
// The record a preview terrain is generated from: never a new key; while
// turning degree 5 without smoothing, terraces or shore; otherwise `degre`,
// below 7 without smoothing and terraces, at 7 with half the smoothing.
param_mat parametres_apercu(param_mat p, bool rotation, int degre);
// Generates a preview terrain and places its target at (0.333, 0.333) at the
// height of the target's grid node; null when the record cannot be generated.
// The record is shown first to the observer when there is one.
std::unique_ptr<Tmatrice> construire_apercu(const param_mat& p);

// What watches the preview terrains built: a test installs one; the program
// installs none and keeps nothing of its previews.
class ObservateurApercus {
 public:
  virtual ~ObservateurApercus() = default;
  // The record of each preview terrain, before it is generated.
  virtual void appel(const param_mat& p) = 0;
};

// Makes `observateur` (null: none) the observer of the preview terrains built
// from now on; returns the one it replaces.
ObservateurApercus* observer_apercus(ObservateurApercus* observateur);

// Tree-layer bars (vertical, up means more).
inline int position_nombre(int nombre) { return 400 - nombre; }
inline int position_pente(int pente) { return 80 - pente; }
int position_niveau(int niveau);  // 300 - Round(niveau / 10)
inline int niveau_de_position(int p) { return (300 - p) * 10; }
inline int position_transition(int t) { return 1000 - t; }

// After one side of a min/max pair moved: when the maximum is below the
// minimum, the side that did not move follows. True when it moved.
bool coupler(std::int32_t& mini, std::int32_t& maxi, bool mini_a_bouge);

struct PointFigure {
  int x = 0, y = 0;
  bool operator==(const PointFigure&) const = default;
};
// The nine points of the slope figure of a w x h box.
std::array<PointFigure, 9> points_pente(int w, int h);
// Levels figure of a w x h box: column span of layer k (1..4), row of level v,
// and the layer under x.
std::pair<int, int> colonne_niveaux(int k, int w);
int ligne_niveau(int v, int h);
int couche_sous(int x, int w);

}  // namespace dialogs
