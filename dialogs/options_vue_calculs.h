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

}  // namespace dialogs
