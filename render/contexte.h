// The state of one render: the call's arguments, the camera and projection,
// the level of detail, the horizon, flags, work maps and counters that the
// driver, the camera and the later phases share. One object per call of
// calcul_image; nothing outlives the call except what it writes into the
// terrain and the picture.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "model/interfaces.h"
#include "model/matrice.h"
#include "model/records.h"
#include "render/palette.h"
#include "render/canevas_arbre.h"
#include "render/phases.h"
#include "render/raster.h"

namespace render {

// Receives the picture to show while it is drawn (the live display).
using AffichageDirect = std::function<void(const Bitmap&)>;

// Options of one call beyond the sixteen arguments.
//
// Re-entrancy: `traiter_messages` (and a progress window's tester_annulation)
// lets the application process events in the middle of a render. While a
// render runs, its caller must refuse or defer every command that would free
// or change its terrain, picture or colour table (closing the view or the
// mountain, editing, rebuilding the table, starting another render of the
// same picture).
struct RenderOptions {
  Phases phases;
  // Lets the application process its pending events, for renders without a
  // progress window (or once cancelled) on terrains above degree 6. The render
  // calls it at most once per 30 ms of clock time.
  std::function<void()> traiter_messages;
  // Milliseconds of a monotonic clock; empty: the steady clock.
  std::function<std::int64_t()> horloge;
  // The program's sky picture folder (an imported sky whose stored path is gone is looked up there).
  std::string dossier_ciels;
  // Helper threads that compute the triangles, vertices, geometry, first
  // decisions and shading of large lattices (257 nodes a side or more,
  // outside the editor) ahead of the drawing: -1 (the default) one per core
  // that the other programs leave idle, 0 none. The picture is the same
  // whatever the count.
  std::int32_t aides_facettes = -1;
};

struct RenderContext {
  RenderContext(Tmatrice& terrain, WindowHandle fenetre, const TMyPalette& palette, Bitmap& image,
                const AffichageDirect& affichage, const param_vue& vue, const RenderOptions& options)
      : terrain(terrain), fenetre(fenetre), palette(palette), image(image), affichage(affichage), vue(vue),
        options(options) {}

  // --- The call
  Tmatrice& terrain;
  WindowHandle fenetre;
  const TMyPalette& palette;
  Bitmap& image;
  const AffichageDirect& affichage;
  param_vue vue;                 // the render's own copy
  const RenderOptions& options;
  std::int32_t largeur = 0, hauteur = 0;
  ProgressSink* attente = nullptr;
  Bitmap* image_editeur = nullptr;  // editor mode when set
  std::uint16_t zoom_editeur = 0;
  bool grossier = false;
  bool courbes_niveau = false;
  bool statistiques = false;
  bool mode_camera = false;
  enregistrement_camera camera;

  PhaseMer* phase_mer = nullptr;
  PhaseOmbres* phase_ombres = nullptr;
  PhaseCiel* phase_ciel = nullptr;
  PhaseBalayage* phase_balayage = nullptr;
  FabriqueArbres* fabrique_arbres = nullptr;
  ObservateurFacettes* observateur = nullptr;  // test-only, may be null

  std::int32_t degre = 0;
  std::int32_t n = 0;
  bool editeur() const { return image_editeur != nullptr; }
  bool annule() const { return terrain.calcul_annule != 0; }

  // --- Values the driver prepares
  double niveau_mer = 0.0;
  std::int32_t vague_max = 0;        // highest wave written by the sea preprocessing
  double echelle_vagues = 0.0;       // 10 x 0.5^(degree - 5)
  std::unique_ptr<Tcouverture> carte_vagues;
  std::unique_ptr<Tcooleen> carte_ombres;
  bool filaire = false;
  bool deformation_autorisee = false;
  bool premier_plan = false;
  double taille_cellule = 2.0;       // cell size in pixels
  std::int32_t pas_lod = 1;          // level-of-detail stride
  std::int32_t pas_effectif = 1;     // x 3 when rough
  std::int64_t budget = 0;
  std::int32_t rayon_couverture = 1;
  std::array<std::uint8_t, 161> table_strates{};  // classes 1..160
  // Shading bounds: rock - Z, grass + Z, rock - Z - q, grass + Z + q, and Round(0.75 delta_neige).
  std::int32_t borne_rocher = 0, borne_herbe = 0, borne_rocher_q = 0, borne_herbe_q = 0, delta_neige_s = 0;
  std::int32_t niveau_neige = 0;
  double cosinus_pente = 0.5;
  std::int32_t courbes_mini = 0, courbes_maxi = 0;  // level-curve range (editor, degree <= 6)
  std::optional<DepthBuffer> occupation;            // 0 = nothing drawn, else depth + 1000
  std::int32_t seuil_progression = 0;               // T
  std::uint16_t petit_pas = 0;                      // Round(0.02 T)
  std::int64_t compteur_progression = 0;
  double profondeur_sous_reseau = 0.0;
  std::array<double, 6> poids_pentes{};             // the five weights 1..5 of the near zone
  // Near mist.
  double brume_loin = 0.0;
  std::int32_t pas_brume = 0;
  std::int32_t hauteur_brume = 0;
  // Step 12 flags.
  bool mer_peinte = false;
  bool sans_ciel = false;
  bool reflet_mer = false;
  std::unique_ptr<CielDessine> ciel;
  std::int32_t nombre_decalages = 0;
  bool soleil_dessine = false;
  // Tree models of layers 1..6 (null when none was made).
  std::array<std::unique_ptr<ModeleArbre>, 7> arbres;
  std::int32_t point_haut = 0;
  // The tree canvases of the picture and of the editor's map (made at the
  // first tree), and whether a tree drawing failure was reported.
  std::unique_ptr<CanevasArbre> canevas_arbres, canevas_editeur;
  bool erreur_arbres = false;

  // --- Camera (camera.h)
  double ex = 0.0, ey = 0.0, ez = 0.0;  // eye relative to the target
  std::int32_t D = 1;                   // eye to target, whole metres
  double azimut_vue = 0.0;              // degrees, 0..360
  double angle_vertical = 0.0;          // degrees
  double ch = 1.0, sh = 0.0, cv = 1.0, sv = 0.0;
  double inv_cv = 1.0;                  // 1 / cv, or the fallback of the axis flag
  bool axe_cv = true;
  std::array<double, 3> direction{};    // unit vector from the eye to the target
  std::int32_t W = 1, H = 1;            // zoomed picture size
  double fx = 1.0, fy = 1.0, cx = 0.0, cy = 0.0;
  double tx = 0.0, ty = 0.0;            // target plane coordinates
  double altitude_cible = 0.0;
  std::int32_t distance_km = 0;         // the view distance
  std::array<double, 3> soleil{};
  bool soleil_visible = false;
  Point soleil_pixel;
  std::int32_t ligne_horizon = 0, ligne_terre = 0;
  // Corners (1, 1), (n, 1), (1, n) projected in step 12, and their heights.
  bool coins_projetes = false;
  std::array<Point, 3> coins{};
  std::array<double, 3> profondeur_coins{};
  std::array<std::int32_t, 3> hauteur_coins{};
  std::int32_t coin_haut = 0, coin_second = 0;  // indices 0..2

  // --- Current world point and projection
  double X = 0.0, Y = 0.0, Z = 0.0;
  double xp = 0.0, yp = 0.0, profondeur = 0.0;  // x', y', depth
  std::uint16_t sous_mer = 0;                   // nodes under the sea (facet drawing resets it)
  bool projection_coins = false;
  bool passe_ombre = false;
  // The current facet, for the slope cosine.
  std::array<double, 3> normale{}, centre{};

  // --- Statistics counters (64-bit)
  std::int64_t facettes_total = 0, facettes_faibles = 0, facettes_moyennes = 0, facettes_fortes = 0;
  std::int64_t points_riviere = 0;

  // --- Event throttling of progression
  std::uint32_t appels_sans_attente = 0;
  std::int64_t dernier_traitement_ms = 0;
  std::int64_t maintenant_ms() const;
};

}  // namespace render
