// The parameter records that carry a document's settings from the dialogs to
// the terrain, the renderer and the document files. They are plain values:
// every holder keeps its own copy, and assignment copies every field, strings
// included. Every field starts at zero (empty strings); the defaults come from
// the options file and the section readers, never from these records.
//
// Strings hold bytes as the documents store them (Latin-1).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/interfaces.h"  // Rgb

// A text of at most N characters: longer texts are cut to their first N
// characters when they are stored.
template <std::size_t N>
class chaine_bornee {
 public:
  static constexpr std::size_t capacite = N;

  chaine_bornee() = default;
  chaine_bornee(std::string_view s) : texte_(s.substr(0, N)) {}  // NOLINT: implicit on purpose
  chaine_bornee(const char* s) : chaine_bornee(std::string_view(s)) {}
  chaine_bornee(const std::string& s) : chaine_bornee(std::string_view(s)) {}

  chaine_bornee& operator=(std::string_view s) {
    texte_.assign(s.substr(0, N));
    return *this;
  }
  chaine_bornee& operator=(const char* s) { return *this = std::string_view(s); }
  chaine_bornee& operator=(const std::string& s) { return *this = std::string_view(s); }

  const std::string& str() const { return texte_; }
  operator const std::string&() const { return texte_; }  // NOLINT
  operator std::string_view() const { return texte_; }    // NOLINT
  const char* c_str() const { return texte_.c_str(); }
  std::size_t size() const { return texte_.size(); }
  bool empty() const { return texte_.empty(); }

  bool operator==(const chaine_bornee&) const = default;
  bool operator==(std::string_view s) const { return texte_ == s; }
  bool operator==(const std::string& s) const { return texte_ == s; }
  bool operator==(const char* s) const { return texte_ == s; }

 private:
  std::string texte_;
};

// One tree layer of creation (plain to high ground).
struct couche_arbres {
  std::uint8_t annulee = 0;      // layer off
  std::int32_t nombre = 0;       // density, 0..400
  std::int32_t pente_mini = 0;   // minimum slope, degrees
  std::int32_t pente_maxi = 0;   // maximum slope, degrees, 0..80
  std::int32_t niveau_mini = 0;  // lowest altitude, metres
  std::int32_t niveau_maxi = 0;  // highest altitude, metres
  std::int32_t transition = 0;   // thinning band at both altitude limits, metres, 0..1000
  std::uint8_t groupes = 0;      // trees grow in groups
};

// Terrain creation parameters.
struct param_mat {
  std::array<std::string, 11> texte{};  // comment lines; line 0 empty means no comment
  std::int32_t relief = 0;              // percent, 1..100
  std::int32_t maillage = 0;            // mesh degree k, 4..11; n = 2^k + 1
  std::int32_t profil = 0;              // roughness, 1..100, 50 neutral
  std::array<std::int32_t, 8> profils_iter{};  // weights 0..8 of subdivision levels 3..10
  std::int32_t altitude_erosion = 0;    // metres below the highest point where erosion starts
  std::int32_t taux_lissage = 0;        // smoothing after generation, 0..40
  std::int32_t erosion = 0;             // erosion intensity, 0..40
  std::int32_t cle = 0;                 // generation key; 0 asks for a new key
  std::uint8_t alea = 0;                // draw a new key at each generation
  std::uint8_t iles = 0;                // island shape
  std::uint8_t cuvette = 0;             // basin shape
  std::int32_t etalement = 0;           // geographical dispersion, 1..6
  std::uint8_t rivage_actif = 0;        // shore pass on
  std::int32_t rivage = 0;              // shore rate, -30..30
  std::int32_t hauteur_rivage = 0;      // shore height, 1..200 metres
  std::uint8_t gradins = 0;             // terraces on
  std::int32_t nombre_gradins = 0;      // 2..20
  std::int32_t pente_gradins = 0;       // terrace edge slope, -40..40
  std::uint8_t terrasse = 0;            // the terraces step the other way
  std::uint8_t oriente = 0;             // relief oriented along one lattice direction
  std::int32_t hauteur_plis = 0;        // orientation degree, 1..10
  std::uint8_t deformation = 0;         // horizontal distortion maps on
  std::int32_t degre_deformation = 0;   // distortion rate, 1..100
  std::uint8_t photo_aerienne = 0;      // the terrain carries a colour layer
  std::array<double, 2> cible{};        // target x, y as fractions of the lattice side
  std::array<double, 2> observateur{};  // observer x, y as fractions
  std::array<couche_arbres, 4> couches{};
};

// The look of one tree kind.
struct espece_arbres {
  std::int32_t espece = 0;  // 1 Oak, 2 Fir, 3 Poplar, 4 Pine, 5 Palm, 6 Corn, 7 Cactus, 8 Bush
  std::int32_t diversite = 0;
  std::int32_t couleur = 0;  // leaf colour, 1..4
  std::int32_t hauteur = 0;  // full-grown height, metres
  std::int32_t largeur = 0;  // width to height ratio
  std::int32_t taille_feuilles = 0;
  std::int32_t largeur_feuilles = 0;
  std::int32_t hauteur_tronc = 0;
  std::int32_t largeur_tronc = 0;
  std::int32_t poids_branches = 0;
  std::int32_t taux_croissance = 0;  // 1..10
  std::uint8_t interdit_rocher = 0;
  std::uint8_t interdit_terre = 0;
  std::uint8_t interdit_herbe = 0;
};

// Indices of param_vue::couleurs.
enum indice_couleur : std::size_t {
  COULEUR_TERRE = 0,
  COULEUR_HERBE,
  COULEUR_ROCHER,
  COULEUR_ARBRE_1,
  COULEUR_ARBRE_2,
  COULEUR_NEIGE,
  COULEUR_SABLE,
  COULEUR_MER,
  COULEUR_CIEL,
  COULEUR_TRONC,
};

// View and render parameters.
struct param_vue {
  std::int32_t angle_vertical = 0;    // degrees, -45..89
  std::int32_t angle_horizontal = 0;  // degrees, -180..180
  std::int32_t niveau_mer = 0;
  std::int32_t niveau_herbe = 0;
  std::int32_t niveau_rocher = 0;
  std::int32_t niveau_neige = 0;
  std::int32_t delta_neige = 0;  // 0..500
  std::int32_t diversite_couleurs = 0;
  std::int32_t zone_recouvrement = 0;  // 0..2000
  std::int32_t hauteur_sable = 0;
  std::int32_t elevation_soleil = 0;  // degrees, -30..90
  std::int32_t azimut_soleil = 0;     // degrees, -180..180
  double distance = 0.0;              // km
  std::uint8_t maillage_filaire = 0;
  std::uint8_t premier_plan = 0;
  std::int32_t brume_densite = 0;  // 1..100 percent
  std::int32_t rugosite = 0;
  std::uint8_t neige_soleil = 0;
  std::uint8_t strates = 0;
  std::uint8_t deformation = 0;
  std::uint8_t echelle_fixe = 0;
  std::uint8_t ombre_portee = 0;
  std::uint8_t observateur_place = 0;
  std::int32_t hauteur_observateur = 0;
  std::uint8_t brume = 0;
  std::int32_t hauteur_brume = 0;
  std::uint8_t type_ciel = 0;  // 0 light, 1 cloudy, 2 imported picture
  std::string fichier_ciel;
  std::uint8_t horizon = 0;
  std::int32_t hauteur_horizon = 0;  // 0..30 percent
  std::int32_t nombre_nuages = 0;
  std::int32_t taille_nuages = 0;
  std::int32_t hauteur_nuages = 0;
  std::int32_t seed_nuages = 0;  // 0..39999
  std::uint8_t alea_nuages = 0;
  std::uint8_t orageux = 0;
  std::uint8_t reflet = 0;
  std::int32_t agitation_mer = 0;
  std::int32_t taux_reflet = 0;
  std::int32_t profondeur_details = 0;
  std::int32_t type_image = 0;  // 1 BMP, 2 JPEG
  std::int32_t taille = 0;      // scale, tenths
  std::int32_t centre_x = 0;    // -76..76
  std::int32_t centre_y = 0;    // -54..54
  std::int32_t contraste = 0;   // 1..100
  std::int32_t profondeur_ombre = 0;  // 13..40
  std::uint8_t couleurs_defaut = 0;
  std::uint8_t foret = 0;
  std::uint8_t detail_arbres = 0;
  std::uint8_t detail_plus = 0;
  std::array<espece_arbres, 6> arbres{};
  std::int32_t zoom = 0;  // 10..80
  std::uint8_t dim_predef = 0;
  std::uint8_t neige_arbres = 0;
  std::uint8_t photo_aerienne = 0;
  std::uint8_t masque = 0;
  std::array<std::int32_t, 3> masque_rvb{};
  std::int32_t tolerance_masque = 0;
  std::int32_t transparence = 0;
  std::int32_t largeur_image = 0;
  std::int32_t hauteur_image = 0;
  // Terre, Herbe, Rocher, Arbre 1, Arbre 2, Neige, Sable, Mer Riv., Ciel, Tronc
  // (see indice_couleur).
  std::array<Rgb, 10> couleurs{};
};

// A view plus the settings of a fly-through movie.
struct Param_video {
  param_vue vue;
  std::int32_t nombre_images = 0;     // 200..9999
  std::int32_t type_video = 0;        // codec type, 2..10
  std::int32_t type_trajectoire = 0;  // 1 circle, 2 open path, 3 closed path
  std::int32_t largeur_image = 0;
  std::int32_t hauteur_image = 0;
  std::uint8_t detail = 0;  // show the movie library's parameter dialog
  std::int32_t centre_cercle_x = 0;
  std::int32_t centre_cercle_y = 0;
  std::int32_t rayon_cercle = 0;
  std::int32_t angle_vision = 0;  // downward vision angle, stored 0 to -45
  std::int32_t point_vise_x = 0;
  std::int32_t point_vise_y = 0;
  std::uint8_t point_vise_fixe = 0;
  std::int32_t distance_point_vise = 0;  // 10..90
  std::int32_t zoom_video = 0;           // 10..80
  std::int32_t premiere_image = 0;       // 1..200
  std::int32_t derniere_image = 0;       // 1..200
  std::array<std::int32_t, 7> bezier_altitude{};
  std::array<std::int32_t, 13> bezier_x{};  // -1 = point not used
  std::array<std::int32_t, 13> bezier_y{};
};

// One mountain slot of the main window.
struct Type_matrice {
  chaine_bornee<60> nom;  // display name, cut to 60 characters
  std::string fichier;    // document path, kept whole
  std::uint8_t utilise = 0;
  std::uint8_t a_fichier = 0;
  std::uint8_t genre = 0;  // 1 ".mat", 2 ".vue", 3 ".vid"
  param_mat parametres;
  std::uint8_t modifie_edition = 0;
  std::uint16_t no_vue = 0;
  std::uint16_t no_video = 0;
};

// The camera of one video frame: the eye relative to the target, then the
// target's plane coordinates and altitude.
struct enregistrement_camera {
  double observateur_x = 0.0;
  double observateur_y = 0.0;
  double observateur_z = 0.0;  // eye height above the target altitude
  double cible_x = 0.0;
  double cible_y = 0.0;
  double cible_z = 0.0;  // target altitude
};
