// The procedural tree model of one species as seen in one view: for up to 24
// variants (the same tree turned about the vertical and seen at one of five
// tilts) and for every level of detail, a list of projected, shaded and
// depth-ordered draw segments.
//
// Indexing. Variants are numbered 1..24 and segments from 1 in the model's
// rules; in every array of this class variant k lives at index k - 1 and
// segment number i at index i - 1. Levels keep their number (0..7), so level 0
// (the bare trunk skeleton, never holding segments) is index 0. Tilt classes
// 1..5 live at indices 0..4. The conversion happens only in this header's
// accessors and in the generator's loops, which run over 0-based indices.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "model/interfaces.h"
#include "model/records.h"
#include "render/raster.h"

class TMyPalette;
namespace render {
class CanevasArbre;
class ObservateurArbres;
}  // namespace render

constexpr int arbre_variantes_max = 24;
constexpr int arbre_niveaux = 8;  // levels 0..7

// One draw segment, in tree units with the tree foot near the origin; y is the
// vertical screen axis, upwards positive.
struct segment {
  double x1 = 0, y1 = 0;    // projected start
  double x2 = 0, y2 = 0;    // projected end
  double profondeur = 0;    // depth key: 100 minus the end's distance along the view axis
  double largeur = 0;       // skeleton width
  std::uint8_t teinte = 0;  // shade class 1..8
  std::uint8_t genre = 0;   // 1 tip, 2 wood, 3 growing tip, 4 cluster node
  double dir_x = 0, dir_y = 0;  // unit vector of the projected segment ((0, 0) when it has no length)
  double longueur = 0;      // 3-D length over the level's tree height
  std::uint16_t rang = 0;   // position in increasing depth order (1 = nearest key)
};

class Tarbre {
 public:
  // Builds the model and its segment arrays. variantes >= 1 asks for that many
  // variants (at most 24; 0 counts as 1), -n for one variant at level n.
  // detail is set only for the drawer's temporary close-up model.
  static std::unique_ptr<Tarbre> creer(const param_vue& vue, bool detail, std::int32_t variantes,
                                       const espece_arbres& couche);
  virtual ~Tarbre();

  // Only creer makes models.
  class cle {
    friend class Tarbre;
    cle() = default;
  };
  explicit Tarbre(cle) {}
  Tarbre(const Tarbre&) = delete;
  Tarbre& operator=(const Tarbre&) = delete;

  // Grows, projects, shades and sorts the segments of every variant and level.
  // reserve is not read. attente may be null. A cancel (message 1025 on
  // fenetre) or an internal error leaves the levels already output; every other
  // level has nb_segments 0.
  void generer_arbre(const param_vue& vue, const espece_arbres& couche, double facteur_vue,
                     double inclinaison_centre, double lumiere_hauteur, double lumiere_face,
                     double reference_rotation, double reserve, std::uint16_t degre, std::int32_t graine,
                     WindowHandle fenetre, ProgressSink* attente, bool& annule, double inclinaison_a,
                     double inclinaison_b);

  // Draws one tree with its foot at `pied` (see dessin_arbre.cpp). Returns
  // false when the ground under the foot is forbidden to the layer (nothing
  // drawn, no field written). annule is set on a cancel, never cleared.
  bool dessiner_arbre(render::Point pied, std::uint16_t eclairement, double taille, std::int32_t neige,
                      bool a_l_ombre, std::uint16_t sol, std::uint16_t facteur, std::uint16_t niveau_brume,
                      render::CanevasArbre& canevas, const TMyPalette& palette, bool au_trait, std::int32_t numero,
                      double inclinaison_vue, ProgressSink* attente, WindowHandle fenetre, bool& annule, bool video);
  // The tree's reflection in the sea, starting at the water point `pied`, in
  // the colours of the latest drawing.
  void dessiner_simple(render::Point pied, double taille, std::uint16_t facteur, std::uint16_t agitation_mer,
                       render::CanevasArbre& canevas, const TMyPalette& palette, std::int32_t numero);
  // The crown as an ellipse in a shadow picture. Test mode (dessin false)
  // first probes the 3 x 3 block above the foot and paints with the canvas's
  // pen and brush; draw mode paints with a clear pen and the given colour.
  void silhouette(render::Point pied, render::CanevasArbre& canevas, double taille, std::uint16_t sol, bool dessin,
                  std::uint32_t couleur_silhouette, bool& couvert);

  // Sorts the generation's work array, records numbered bas..haut (from 1).
  void trier_segments(std::int32_t bas, std::int32_t haut);

  // Segments of variant k (1-based) at level l: the nb_segments stored ones.
  std::span<const segment> segments_de(int k, int l) const {
    return {segments[static_cast<std::size_t>(k - 1)][static_cast<std::size_t>(l)].data(),
            nb_segments[static_cast<std::size_t>(k - 1)][static_cast<std::size_t>(l)]};
  }

  // Fields, in the model's order.
  std::int32_t signe_azimut = 0;
  // Written by the drawer.
  std::int32_t couleur_feuilles = 0, couleur_feuilles_ombre = 0, couleur_tronc = 0, couleur_ecorce = 0,
               couleur_ecorce_ombre = 0, couleur_ecorce_moyenne = 0;
  std::uint16_t espece = 0;
  double echelle = 0;
  double largeur = 0;
  std::uint16_t couleur = 0;
  std::uint16_t hauteur_tronc = 0, largeur_tronc = 0;
  std::int32_t poids = 0;
  std::uint8_t interdit_rocher = 0, interdit_terre = 0, interdit_herbe = 0;
  std::uint16_t taille_feuilles = 0, largeur_feuilles = 0;
  std::int32_t niveau = 0;
  double facteur_vue = 0, lumiere_hauteur = 0, lumiere_face = 0;
  std::array<double, 5> inclinaison{};  // tilt classes 1..5 at 0..4
  std::array<double, arbre_variantes_max> cos_rotation{}, sin_rotation{};
  std::uint16_t nb_variantes = 0;
  std::array<std::array<std::uint16_t, arbre_niveaux>, arbre_variantes_max> nb_segments{};
  std::array<std::array<double, arbre_niveaux>, arbre_variantes_max> etendue{};
  std::uint8_t detail_arbres = 0;
  std::uint8_t espece_simple = 0;
  std::uint8_t conifere = 0;
  // [variant][level 0..niveau], each sized capacite[level].
  std::vector<std::vector<std::vector<segment>>> segments;
  std::array<double, arbre_variantes_max> pied_x{}, pied_y{}, pied_largeur{};
  std::array<std::uint16_t, arbre_niveaux> capacite{};
  std::uint8_t forme = 0;
  std::uint8_t grappes = 0;
  std::uint8_t detail = 0;
  std::uint8_t premier_plan = 0;
  double echelle_grappe = 0;
  double agitation = 0;
  std::int32_t croissance = 0;
  std::uint16_t degre = 0;
  std::uint16_t largeur_pied = 0;  // written by the drawer
  param_vue vue{};
  espece_arbres couche{};
  std::int32_t graine = 0;
  std::uint16_t niveau_brume = 0;                       // mist level of the latest drawing
  render::ObservateurArbres* observateur = nullptr;     // test-only, null in production
  bool* erreur_signalee = nullptr;  // shared by the models of one render: warn once

 private:
  std::vector<segment> travail_;  // generation's work array, only during generer_arbre
};

// The quicksort behind Tarbre::trier_segments, on records numbered bas..haut
// (from 1) of an array: ascending profondeur; equal keys land where the
// partitioning puts them.
void trier_segments(std::span<segment> tableau, std::int32_t bas, std::int32_t haut);

// Test hook: called at the start of every level's growth (sortie false) and
// output (sortie true) with the 1-based variant and the level; it may throw to
// exercise the generator's error path. Empty in the program.
using crochet_niveau_arbre = std::function<void(int variante, int niveau, bool sortie)>;
void fixer_crochet_test_arbre(crochet_niveau_arbre crochet);
