// Facet shading: whether a terrain facet faces the eye, and which colour-table
// entry paints it (ground class from altitude, slope, painted ground, strata,
// sand and snow; light index from the sun; cast-shadow band; water entries;
// grey levels of the editor's level curves). Also the mist level of a facet
// and the RGB mist and blend used for picture-coloured facets.
//
// Everything here is a pure function of its inputs, apart from the random
// draws of colour diversity and water glints, which come from the shared
// generator in facet drawing order.
#pragma once

#include <array>
#include <cstdint>

#include "model/interfaces.h"

namespace render {

struct Vec3 {
  double x = 0.0, y = 0.0, z = 0.0;
};

// Values fixed once per picture.
struct ReglagesOmbrage {
  std::int32_t herbe = 0;             // G: grass level
  std::int32_t rocher = 0;            // R: rock level
  std::int32_t recouvrement = 0;      // Z: overlap zone
  std::int32_t quart = 0;             // q = Round(0.25 (R - G))
  std::int32_t neige = 4000;          // S
  std::int32_t delta_neige = 0;       // delta
  std::int32_t delta_neige_s = 0;     // Round(0.75 delta)
  std::int32_t niveau_sable = 0;      // max(sand height, sea level)
  std::int32_t point_haut = 10000;    // highest point of the terrain
  double niveau_mer = 0.0;
  std::int32_t vague_max = 0;         // highest wave of the sea preprocessing
  std::int32_t degre = 0;
  std::int32_t agitation = 0;
  bool reflet = false;
  std::int32_t taux_reflet = 0;
  bool ombre_portee = false;          // cast shadows on (degree > 5, no wire mesh)
  bool strates = false;               // strata on (degree > 5)
  const std::uint8_t* table_strates = nullptr;  // classes 1..160 (index 0 unused)
  bool neige_soleil = false;
  std::int32_t diversite = 0;
  bool elements = false;              // the terrain's feature list is not empty
  bool editeur = false;               // map-editor render
  bool courbes = false;               // level curves
  std::int32_t courbe_bas = 0;        // measured height range for the level curves
  std::int32_t courbe_haut = 0;
  bool statistiques = false;
  bool premier_plan = false;          // foreground detail
  Vec3 oeil;                          // eye, relative to the target
  Vec3 soleil;                        // sun position
};

// What changes from facet to facet but outlives one facet.
struct EtatOmbrage {
  std::array<double, 5> historique{1.0, 1.0, 1.0, 1.0, 1.0};  // slope cosines, newest first
  std::int64_t total = 0, faible = 0, moyenne = 0, forte = 0;  // slope statistics
};

// One facet as the shading sees it.
struct EntreeFacette {
  Vec3 a, b, c;              // vertices in the caller's order
  double signe = 1.0;        // makes the normal of the facet laid flat point up
  std::int32_t altitude = 0; // h
  bool eau = false;
  bool sous_facette = false;
  bool couleur_image = false;
  std::int32_t transparence = 0;
  std::uint16_t sol = 0;     // painted ground type 31..39, or 0
  bool ombre = false;        // the render cell lies in cast shadow
};

struct ResultatOmbrage {
  bool degenere = false;     // zero-length normal or view vector: not drawn
  bool visible = false;
  bool indexe = false;       // an index was set
  bool gris = false;         // the index is a grey level (level curves)
  bool eclaire = false;      // a lit land facet: its light angle comes from cos_soleil
  std::int32_t index = 0;
  std::int32_t classe = 0;   // final ground class (6 snow, 8 sand)
  double cos_soleil = 0.0;
  double pente = 0.0;        // slope cosine p
  double cos_vue = 0.0;      // view cosine
  // The light angle: that of cos_soleil for a lit land facet, else pi / 2.
  double angle() const;
};

inline constexpr double pas_lumiere = 3.14159265358979323846 / 48.0;

// Ground class offsets added to the light index, and in the cast-shadow band.
std::int32_t decalage_classe(std::int32_t classe);
std::int32_t decalage_classe_bande(std::int32_t classe);

// Light index of an angle: Round(angle / (pi / 48)), clamped to 1..48.
std::int32_t indice_lumiere(double angle);
// The light angle of a sun cosine, in (0, pi).
double angle_lumiere(double cos_s);
// Round(angle_lumiere(cos_s) / (pi / 48)) and whether that quotient exceeds
// 36, from the sun cosine's place among the cosines of the boundaries,
// without the arc tangent. False when cos_s lies too near a boundary (or
// outside the range) to decide so: the caller then computes the angle.
bool lumiere_par_seuils(double cos_s, std::int32_t& arrondi, bool& au_dela_36);

// Land class of steps "band limits" to "colour diversity" (before the cast-shadow
// band): altitude h, slope cosine p. Draws from the shared generator when the
// colour diversity is on.
std::int32_t classe_sol(const ReglagesOmbrage& r, std::int32_t h, double p, std::uint16_t sol);

// Water entry 7..18 (index), for the slope cosine p.
std::int32_t index_eau(const ReglagesOmbrage& r, double p, bool sous_facette, bool ombre);

// What the shading computes from the vertices alone (normal against the eye,
// the slope and the sun): a pure function of the facet's vertices, sign and
// the picture's eye and sun, so facets may get it on several cores.
struct GeometrieFacette {
  bool degenere = false;
  bool visible = false;
  double cos_vue = 0.0;
  double pente = 0.0;
  double cos_soleil = 0.0;  // cosine of the sun against the normal, for visible facets
};
GeometrieFacette geometrie_facette(const ReglagesOmbrage& r, const EntreeFacette& f);

// The whole shading of one facet. Updates the slope history and statistics.
ResultatOmbrage ombrage_facette(const ReglagesOmbrage& r, EtatOmbrage& e, const EntreeFacette& f);
// The same from the facet's geometry computed beforehand.
ResultatOmbrage ombrage_facette(const ReglagesOmbrage& r, EtatOmbrage& e, const EntreeFacette& f,
                                const GeometrieFacette& g);
// Both, writing the result in place: the drawing shades every facet, and a
// copy of the record just written, read back in wider words than those it
// was written in, would wait for the writes to reach the cache.
void ombrer_facette(const ReglagesOmbrage& r, EtatOmbrage& e, const EntreeFacette& f, ResultatOmbrage& res);
void ombrer_facette(const ReglagesOmbrage& r, EtatOmbrage& e, const EntreeFacette& f, const GeometrieFacette& g,
                    ResultatOmbrage& res);

// The two halves of ombrage_facette: the result alone, which touches no
// state, and what the facet leaves in the state (slope history and, when
// `compter` came back true, the statistics). Called in that order they give
// exactly ombrage_facette. ombrage_seul draws nothing: it returns false where
// the shading would draw a water glint (its result is then not the facet's);
// with colour diversity on it would draw, so it is not for such views.
bool ombrage_seul(const ReglagesOmbrage& r, const EntreeFacette& f, const GeometrieFacette& g, bool& compter,
                  ResultatOmbrage& res);
// Inline: the drawing notes every facet the helpers shaded.
inline void noter_ombrage(const ReglagesOmbrage& r, EtatOmbrage& e, const EntreeFacette& f, const ResultatOmbrage& res,
                          bool compter) {
  if (res.degenere) return;
  const double p = res.pente;
  if (r.premier_plan && !f.sous_facette && !f.couleur_image) {
    for (int k = 4; k > 0; --k) e.historique[static_cast<std::size_t>(k)] = e.historique[static_cast<std::size_t>(k - 1)];
    e.historique[0] = f.eau ? 1.0 : p;
  }
  if (compter) {
    ++e.total;
    if (p > 0.65) ++e.faible;
    else if (p >= 0.35) ++e.moyenne;
    else ++e.forte;
  }
}

// Mist level 1..32 of a facet at `profondeur` (positive in front) with altitude h.
// A step of 0 or less gives level 1.
std::int32_t niveau_brume(double profondeur, std::int32_t pas, std::int32_t h, std::int32_t hauteur_brume);

// RGB mist of a colour at `profondeur`, towards the sky colour.
Rgb brume(std::int32_t densite, double profondeur, std::int32_t pas, Rgb couleur, Rgb ciel);

// couleur1 x (100 - pourcent) / 100 + couleur2 x pourcent / 100, each component
// rounded and kept within 0..255.
Rgb melange_couleur(std::int32_t pourcent, Rgb couleur2, Rgb couleur1);

}  // namespace render
