// The view options dialog's arithmetic, kept apart from its controls: the
// distance index, the frame and scale rectangles, the texts of the labels,
// the typed sizes and the drag steering of the framing preview.
#pragma once

#include <Qt>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/records.h"

namespace dialogs {

// Distance (km) to its index: Round(10 d) up to 5 km, Round(d + 50) beyond.
int index_distance(double d);
// Index to distance: 0.1 v below 56, v - 50 from 56; never below 0.6 km.
double distance_de_index(int v);
// Scroll position of the distance bar for a distance.
inline int position_distance(double d) { return 105 - index_distance(d); }

struct Rectangle {
  int gauche = 0, haut = 0, droite = 0, bas = 0;
  bool operator==(const Rectangle&) const = default;
};
// The frame over the 76 x 54 frame box: centred on (centre_x + 38, centre_y +
// 27), Round(760 / zoom) by Round(540 / zoom). A zoom below 10 counts as 10.
Rectangle rectangle_cadre(int centre_x, int centre_y, int zoom);
// The picture's share of the scale box: (2, 2) to (Round((w - 2) 10 / taille),
// Round((h - 2) 10 / taille)). A scale below 10 counts as 10.
Rectangle rectangle_echelle(int largeur_boite, int hauteur_boite, int taille);

// "1:" and the tenths as a number with one decimal in a field of 3 ("1:1.5").
std::string texte_echelle(int dixiemes);
// The distance with one decimal in a field of 4 (" 5.1").
std::string texte_distance(double km);

// Typed distance: unreadable text keeps `actuelle`, then 0.6..50.
double distance_saisie(std::string_view texte, double actuelle);

// The name shown under the scale box: the file name taken from the view
// list's text (after ": ", without its last 4 characters) plus the picture
// kind's extension; "New " when no view is shown or the name holds "New ".
std::string nom_fichier_vue(const std::string& texte_liste, bool vue_affichee, std::int32_t type_image);

// The drag steering zones of a W x H box: the outer band lies within 0.28 of a
// side; the cursor of each zone (the default one in the middle).
bool dans_bande(int x, int y, int largeur, int hauteur);
Qt::CursorShape curseur_pilotage(int x, int y, int largeur, int hauteur);
// One tick of steering from the pressed point (x, y): the view angles step by 1
// within their ranges.
void pas_pilotage(param_vue& v, int x, int y, int largeur, int hauteur);

// The stepping buttons of the Framing page; each returns whether it changed the record.
bool pas_distance(param_vue& v, bool rapprocher);
bool pas_angle(param_vue& v, int sens);  // 0 up, 1 down, 2 right (+), 3 left (-)
bool pas_zoom(param_vue& v, bool plus);
bool pas_centre(param_vue& v, int sens);  // 0 up, 1 down, 2 left, 3 right

// --- Trees page
// The defaults of a tree kind (1..8): width 10, weight 20, growth 5, then the
// kind's diversity, width, leaf size and width, trunk height and width, and
// weight. The height is kept; other kinds change nothing.
void defauts_espece(espece_arbres& c, int espece);

// --- Colours page
// The list order of the Colours page (index 1..10) to the level colour number.
inline constexpr int kCouleurDeListe[11] = {0, 9, 3, 1, 2, 4, 5, 10, 8, 6, 7};
// The light shown for a colour: Round((R + G + B) x 0.333).
int lumiere_affichee(Rgb c);
// A light change from the light shown to `nouvelle`: each component scaled,
// then red, green and blue in turn capped at 255 with the other two kept; from
// a light of 0, a grey of the new light.
Rgb changer_lumiere(Rgb c, int nouvelle);
// A colour value of the platform (red in the low byte, then green, then blue).
Rgb couleur_de_valeur(std::uint32_t v);

// The palette box of height H: band heights u, h, r and the top B of the single colours.
struct GeometriePalette {
  int u = 0, h = 0, r = 0, b = 0;
};
GeometriePalette geometrie_palette(int hauteur);
// The list index (1..10) of the band under row y.
int niveau_au_clic(int y, int hauteur);
// The arrow's row for list index i (1..10).
int fleche_y(int i, int hauteur);
// The palette entry of colour c's sample (s shading steps per colour).
int entree_echantillon(int c, int s);

}  // namespace dialogs
