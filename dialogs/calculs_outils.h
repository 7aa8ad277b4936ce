// What the map editor's tools compute without any window: the nodes a stroke
// passes over, the two parameter sets and the dispatcher's argument block made
// from them, the terrain's cross-sections that the tool dialog shows, the
// profile a tool would leave there, and the pixel geometry of circles, section
// lines, keyboard steps and edge scrolling. Which tool is which sits in
// table_outils.h.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "dialogs/edition_geometrie.h"
#include "dialogs/table_outils.h"
#include "model/outils.h"

class Tmatrice;

namespace dialogs {

// ---------------------------------------------------------------- strokes

// The nodes a stroke passes over between two pointer positions: the lattice
// nodes on the straight segment from `a` to `b`, in order, `a` left out and
// `b` last; each node is a lattice neighbour of the one before it (six
// neighbours: along i, along j, and (i + 1, j - 1) and (i - 1, j + 1)).
// Empty when a = b. The walk stops after `limite` nodes.
std::vector<NoeudCarte> noeuds_segment(NoeudCarte a, NoeudCarte b, std::int32_t limite);

// ---------------------------------------------------------------- parameter sets

// One parameter set: the release set belongs to the point where the button
// was released (for a click, the only point), the start set to the point
// where the stroke began.
struct JeuOutil {
  std::int32_t base = 800;    // base width, world units
  std::int32_t sommet = 0;    // summit width
  std::int32_t forme = 45;    // shape parameter (Cone: the angle)
  std::int32_t apres = 0;     // altitude after
  std::int32_t avant = 0;     // altitude before
  bool operator==(const JeuOutil&) const = default;
};

// The dispatcher's values: the release set acts at the stroke's last node and
// goes into the *_debut fields, the start set into the *_fin fields.
arguments_outil arguments_de(const JeuOutil& relache, const JeuOutil& depart, std::int32_t valeur,
                             std::int32_t outil);

// ---------------------------------------------------------------- geometry

// Radius in pixels of the circle of a width in world units, at zoom 1 or 2.
std::int32_t rayon_cercle(std::int32_t largeur, std::int32_t zoom);
// Keyboard steps of the pointer, at least 1.
std::int32_t pas_clavier_x(std::int32_t n, std::int32_t zoom);
std::int32_t pas_clavier_y(std::int32_t n, std::int32_t zoom);
// Edge-scroll margin in pixels for a lattice of degree `degre`.
std::int32_t marge_defilement(std::int32_t degre);
// One scroll step along an axis: the pointer at c inside a box `boite` wide,
// over a map `carte` wide scrolled to `position`; the step is subtracted from
// the position (positive towards the start). 0 when nothing scrolls.
std::int32_t pas_defilement(std::int32_t c, std::int32_t x_carte, std::int32_t boite, std::int32_t carte,
                            std::int32_t position, std::int32_t marge);
// The centre node of Raise and Cross-section.
std::int32_t centre_elevation(std::int32_t n);

struct SegmentCarte {
  PixelCarte a, b;
};
// The section line through p in orientation 1..3 (0, 60 and 120 degrees).
SegmentCarte ligne_coupe(PixelCarte p, int orientation, std::int32_t zoom);
// Row of altitude a in the section box `hauteur` pixels high.
std::int32_t ligne_section(std::int32_t altitude, std::int32_t hauteur);

// Marks on the editor's map picture, drawn in inverting mode.
class MarquesCarte {
 public:
  virtual ~MarquesCarte() = default;
  virtual void ligne(PixelCarte a, PixelCarte b, int largeur) = 0;
  virtual void cercle(PixelCarte centre, int rayon, int largeur) = 0;
  // A diagonal cross of half-size `demi`.
  virtual void croix(PixelCarte centre, int demi, int largeur) = 0;
};

// A section line (when `ligne`) through p and the circles of widths r1 and r2
// (when `cercles`), as the editor and the dialog both draw them.
void marquer_coupe(MarquesCarte& m, PixelCarte p, std::int32_t r1, std::int32_t r2, bool ligne, bool cercles,
                   int orientation, std::int32_t zoom);

// ---------------------------------------------------------------- cross-sections

inline constexpr int kEchantillons = 51;  // t = 0..50 on each side

// Heights and horizontal offsets on both sides of a centre, for t = 0..50 and
// the three orientations. Sides and orientations count from 1.
struct Profil {
  std::array<std::array<std::array<std::int32_t, 3>, 4>, kEchantillons> v{};
  std::int32_t& hauteur(int t, int cote, int o) { return v[std::size_t(t)][std::size_t(cote - 1)][std::size_t(o - 1)]; }
  std::int32_t hauteur(int t, int cote, int o) const {
    return v[std::size_t(t)][std::size_t(cote - 1)][std::size_t(o - 1)];
  }
  std::int32_t& decalage(int t, int cote, int o) {
    return v[std::size_t(t)][std::size_t(cote + 1)][std::size_t(o - 1)];
  }
  std::int32_t decalage(int t, int cote, int o) const {
    return v[std::size_t(t)][std::size_t(cote + 1)][std::size_t(o - 1)];
  }
  bool operator==(const Profil&) const = default;
};

// Distance in nodes of sample t on a lattice of n nodes a side.
std::int32_t distance_echantillon(int t, std::int32_t n);
// The node of sample t on side `cote` in orientation o around (i0, j0).
NoeudCarte noeud_echantillon(NoeudCarte centre, int t, int cote, int o, std::int32_t n);
// The terrain's section around `centre`: heights (-2000 off the lattice and
// never below), and with `decalages` the horizontal distortion offsets.
Profil echantillonner(const Tmatrice& m, NoeudCarte centre, bool decalages);
// What Paste would add around `centre` with the clipboard's relief at full
// strength, for a base width `largeur`; 0 where it adds nothing.
Profil echantillonner_presse_papier(const Tmatrice& m, NoeudCarte centre, std::int32_t largeur);

// ---------------------------------------------------------------- result profile

// What the dialog knows when it computes the profile a tool leaves.
struct ValeursProfil {
  std::int32_t outil = 0;
  std::int32_t base = 0, sommet = 0, apres = 0, avant = 0;
  std::int32_t coefficient = 0;
  std::int32_t forme = 0;
  bool option2 = false;         // second radio (Cliff, Emergent), or a negative value
  bool pondere = false;         // Shape: weighted
  bool mode_elevation = false;  // Raise: by stretching
  bool deformation = false;     // the terrain has distortion maps
  std::int32_t altitude_max = 1;
  std::int32_t sommet_colle = 0;
};

// The "after" profile of orientation o, from the "before" one (`profil`) and,
// for Paste, the copied relief (`copie`); returns Paste's coefficient in
// `coefficient` (other tools leave it).
void calcule_profil(const ValeursProfil& v, int o, const Profil& profil, const Profil& copie, Profil& resultat,
                    std::int32_t& coefficient);

}  // namespace dialogs
