// The arithmetic of the video settings dialog, kept apart from its widgets:
// typed values and their limits, the defaults a video gets when it is loaded,
// the frame labels, the circle steps, the altitude markers, the path editor's
// terrain picture and the reduced camera table of the preview movie.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/records.h"
#include "render/raster.h"

class Tmatrice;

namespace reglages {

inline constexpr int kLargeurMin = 300, kHauteurMin = 200, kTailleMax = 4095;
inline constexpr int kRayonMax = 120;
inline constexpr int kPositions = 200;  // track-bar positions of a path
inline constexpr int kEcartPlage = 30;  // least distance of the frame range ends
inline constexpr int kImagesReduction = 2000;  // above: the preview movie keeps one frame in ten
inline constexpr int kLargeurElevation = 402, kHauteurElevation = 120;

// A typed integer within [min, max]: a number out of range, however long,
// goes to the nearest limit; text that is not an integer gives `sinon`
// (itself brought within the limits).
int valeur_saisie(const std::string& texte, int sinon, int min, int max);
// The typed frame width (300..4095) and height (200..4095); bad text keeps `precedente`.
int largeur_saisie(const std::string& texte, int precedente);
int hauteur_saisie(const std::string& texte, int precedente);
// The typed frame count: 200..9999; text that is not an integer keeps `precedent`.
int nombre_images_saisi(const std::string& texte, int precedent);

// The Size page's choice for a frame size.
enum class Format { f320, f640, f800, f800_16_9, autre };
Format format_image(int largeur, int hauteur);
void taille_format(Format f, int& largeur, int& hauteur);

// The Creation page's labels for N frames and the range positions p1..p2.
struct Etiquettes {
  int premiere = 0, derniere = 0, generees = 0, duree = 0;
};
Etiquettes etiquettes_creation(int n, int p1, int p2);

// The frame a track-bar position shows: Round(position x N / 200), at least 1.
int image_de_position(int position, int n);

// One step of the circle size: grows by Round(R x 0.01) + 1 while below 120,
// shrinks by the same step but never below 1.
int pas_cercle(int rayon, bool agrandir);

// The top altitude of the profile: terrain maximum - sea level, at least 400.
double altitude_sommet(double hauteur_max, double niveau_mer);
// A marker's row for an absolute altitude, in an editor of height h.
int ligne_marqueur(double altitude, double niveau_mer, double sommet, int h);

// What loading a video fills in: circle size from the view distance (at most
// 120) when 0, target distance 50 when 0, range 1..200 for ends at 0, every
// path altitude at the top altitude when the first is 0; the target distance,
// zoom, vision angle and frame count brought within their bars' and edits'
// ranges (10..90, 10..80, -45..0, 200..9999).
void completer(Param_video& p, double hauteur_max);

// The control points of a record: the entries of at least 1 in both axes,
// in order, at most 13; a count other than 4, 7, 10 or 13 gives none.
struct PointTrajet {
  int x = -1, y = -1;
};
std::vector<PointTrajet> points_enregistres(const Param_video& p);
// Whether `m` points end a drawing: open paths 4, 7, 10, 13, closed 3, 6, 9, 12.
bool compte_valide(int m, bool ferme);
// Whether the drawing counter shows green: open 3, 6, 9, 12, closed 2, 5, 8, 11.
bool compte_vert(int m, bool ferme);

// The altitude colour scale: 400 rows, dark green at the bottom through
// brown to white at row 0.
render::Pixel Echelle(int rang);
// The path editor's picture of a terrain seen from above (280 x 250).
render::Bitmap prepare_apercu(const Tmatrice& terrain, double niveau_mer, double sommet);

// The view a frame preview of w x h pixels renders: no foreground detail,
// mist, reflection or photo colours, the light sky, the centre at 0, the
// video's zoom, and the making's picture 1.1 times the frame.
param_vue vue_apercu(const Param_video& p, int largeur, int hauteur);
// The settings of the preview movie: 200 x 150 frames, no reflection,
// foreground detail, tree detail or cast shadows, the video's zoom, no
// detailed parameters, and one frame in ten above 2000 frames.
Param_video reglages_reduits(const Param_video& p);

// The preview movie's frame count: one tenth (Round) above 2000 frames.
int images_reduites(int n);
// Record k (1..m) of the reduced table is record 10k - 9 of `table`; index 0 unused.
std::vector<enregistrement_camera> table_reduite(const std::vector<enregistrement_camera>& table, int m);

}  // namespace reglages
