// The terrain document: one mountain in memory with its layers, its feature
// list, the copy of the creation parameters that the generator works from, the
// target and observer points, the editor's stroke trace, the changed areas and
// the blocks that belong to the renderer.
//
// Fields are public and keep their French names; later operations (generation,
// body reading and writing, editing, undo, rendering) are declared here and
// implemented in their own source files.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/interfaces.h"
#include "model/noeuds.h"
#include "model/rangees.h"
#include "model/records.h"
#include "model/texte.h"

// View statistics written by the renderer (64 bytes in the documents' layout).
struct resultats_vue {
  std::int32_t altitude_moyenne = 0;
  std::int32_t altitude_maxi = 0;
  std::int32_t altitude_mini = 0;
  std::int32_t niveau_mer = 0;
  std::uint16_t pente_faible = 0;
  std::uint16_t pente_moyenne = 0;
  std::uint16_t pente_forte = 0;
  // arbres[L - 1] for tree layer L = 1..6: species code, trees of the layer in
  // the feature list above sea level, trees of the layer drawn.
  std::array<std::array<std::uint16_t, 3>, 6> arbres{};
  std::uint16_t sources = 0;
  std::uint16_t longueur_rivieres = 0;
};

// A target or observer point.
struct point_terrain {
  double x = 0.0;  // fractions of the lattice side along the two axes
  double y = 0.0;
  double px = 0.0;  // plane coordinates: px = 0.894427 x, py = px / 2 + y
  double py = 0.0;
  double hauteur = 0.0;  // ground height at the point
};

// The renderer's state kept in the terrain between renders.
struct etat_rendu_terrain {
  std::int32_t resultat_ciel = 0;  // the sky builder's last result (1 on a new terrain)
  double oeil_x = 0.0;             // eye position relative to the target
  double oeil_y = 0.0;
  double oeil_z = 0.0;
  double bord_gauche_x = 0.0;  // view-edge world points, left and right
  double bord_gauche_y = 0.0;
  double bord_droit_x = 0.0;
  double bord_droit_y = 0.0;
};

// One point of the editor's stroke trace.
struct point_trace {
  std::uint16_t i = 0;
  std::uint16_t j = 0;
};

// Types of the feature list entries.
inline constexpr std::uint16_t TYPE_EFFACE = 0;    // deleted entry
inline constexpr std::uint16_t TYPE_RIVIERE = 1;   // river point; attribute 1 = spring, else width 2..10
inline constexpr std::uint16_t TYPE_ARBRE = 10;    // + kind 1..9: tree; attribute = size 1..63
inline constexpr std::uint16_t TYPE_SOL = 30;      // + kind 1..9: painted ground; attribute = brush width
inline constexpr std::uint16_t SOL_HERBE = 1;
inline constexpr std::uint16_t SOL_TERRE = 2;
inline constexpr std::uint16_t SOL_ROCHER = 3;
inline constexpr std::uint16_t SOL_NEIGE = 4;
inline constexpr std::uint16_t SOL_SABLE = 5;

// The factor from a lattice fraction to its plane coordinate.
inline constexpr double facteur_plan = 0.894427;

// The 628 heights of the built-in preview terrain (one degree-5 lattice, walk
// order of charger_apercu).
extern const std::array<std::int32_t, 628> echantillon_apercu;

struct arguments_outil;
class presse_papier_relief;
struct controle_outil;

class Tmatrice {
 public:
  // Builds a terrain of mesh degree p.maillage, all heights 0. Throws
  // ModelError for a degree outside 4..11.
  explicit Tmatrice(param_mat p);
  ~Tmatrice();
  Tmatrice(const Tmatrice&) = delete;
  Tmatrice& operator=(const Tmatrice&) = delete;

  void fixer_arbre_courant(std::uint16_t espece, std::uint16_t taille);
  void fixer_sol_courant(std::uint16_t espece, std::uint16_t largeur);
  // Sets photo_presente and gives the terrain a fresh (black) colour layer.
  void ajouter_photo();
  // Highest height over i, j = 1..nombre_noeuds, never below -1000.
  std::int32_t hauteur_max() const;
  // Lays the sea rim: every node of the three edges at -1000.
  void poser_rivage();
  // Ends the changed area of a render.
  void marquer_modifiee();
  void placer_cible(double x, double y, double hauteur);
  void placer_observateur(double x, double y, double hauteur);
  // The heights of the target and the observer taken again from their grid
  // nodes, after anything that changed the heights (the views are framed on
  // them, and a document read back takes them so).
  void rafraichir_points();
  // The state after an import has set degre and written the heights.
  void initialiser_apres_import();
  // Fills the terrain from the built-in degree-5 sample.
  void charger_apercu();
  // Draws one river step of node (i, j) on the editor's map pictures of zoom 1
  // and 2 (either may be null): a move when trait is false, else a line.
  void tracer_riviere(std::int32_t i, std::int32_t j, std::int32_t largeur, bool trait, bool visible,
                      MapCanvas* carte_1, MapCanvas* carte_2);

  // Generation. generer_montagne grows the terrain from its key and creation
  // parameters; generation_fractale subdivides from the current pas down to 1,
  // then lays the sea rim and refreshes the point heights. continuer turns
  // false when the progress window's cancel message arrives.
  void generer_montagne(ProgressSink* attente, WindowHandle fenetre, bool& continuer, bool plat);
  void generation_fractale(ProgressSink* attente, WindowHandle fenetre, bool& continuer);
  // One random displacement d around the mean height m, and the two
  // distortion offsets dx, dy; reads amplitude, pas, niveau, relief, profil.
  void deplacement(double m, double& d, std::int32_t& dx, std::int32_t& dy);
  // Island and basin modifiers of a displacement at node (i, j).
  double forme_basse(std::int32_t i, std::int32_t j, double d) const;
  double forme_haute(std::int32_t i, std::int32_t j, double d) const;

  // Editor reading: the height of node (i, j), or -4001 outside the lattice and,
  // from degree 7 on, on the sea rim. While a stroke is recorded, a node inside
  // the lattice that differs from the last point is appended while room is left.
  std::int32_t lire_trace(std::int32_t i, std::int32_t j);
  // Starts a stroke trace at (i, j), replacing any previous one.
  void debut_trace(std::int32_t i, std::int32_t j);
  // Stops recording and keeps the points recorded so far (the button is up;
  // the tool still reads the trace).
  void arreter_trace() { trace_active = 0; }
  // Stops recording and drops the trace.
  void fin_trace();

  // One-level undo: the copies exist from creer_annulation on; before that
  // every snapshot copies nothing.
  void creer_annulation();
  void sauver_annulation();  // heights, distortion maps and feature list
  void sauver_listes();      // feature list only
  void annuler();            // puts the copies back; they stay for another Undo
  // Adds valeur to every height, or in proportion to the height over the highest one.
  void elever(std::int32_t valeur, bool proportionnel);

  // The edit dispatcher: snapshot, progress window, tool routine inside an
  // error trap, sea rim, point heights and changed area. Does nothing without
  // a stroke trace.
  void modifier(arguments_outil a, controle_outil& c);

  // Terrain body of the mountain file (corps.cpp). The reader goes by the
  // section heads it meets; damage raises model::ReadError, keeping what was read.
  void ecrire_matrice(model::TextWriter& fichier) const;
  void lire_matrice(model::TextReader& fichier);

  // Tree placement of the four creation layers (arbres_placement.cpp).
  void creer_arbres(std::array<couche_arbres, 4> couches, ProgressSink* attente, WindowHandle fenetre);

  // Refinement (raffinage.cpp): degree k + 1, old node (i, j) at (2i - 1, 2j - 1)
  // in every layer and in the feature list, one level of subdivision between;
  // the undo copies and the relief clipboard are released. ModelError from
  // degree 11 on, with nothing changed.
  void raffiner(param_mat p, ProgressSink* attente, WindowHandle fenetre);

  // Copy, combination, clearing and proximity tests (combinaison.cpp).
  // copier throws ModelError for a source of another size; a layer is copied
  // only when both terrains have it.
  void copier(const Tnoeud& source_hauteurs, const Tcooleen* source_dx, const Tcooleen* source_dy,
              const Tphoto* source_photo);
  void combiner(const Tnoeud& autre, std::uint16_t mode, bool inverser);
  // Each asks its question first; true when the user said Yes to a non-empty list.
  bool effacer_rivieres();
  bool effacer_arbres();
  bool effacer_sol();
  bool arbre_proche(std::int32_t i, std::int32_t j) const;
  bool sol_proche(std::int32_t i, std::int32_t j) const;
  bool source_proche(std::int32_t i, std::int32_t j) const;

  // Fields in declaration order.
  ::resultats_vue resultats_vue;
  std::unique_ptr<Tnoeud> hauteurs;
  std::unique_ptr<presse_papier_relief> presse_papier;  // relief clipboard, or null
  std::unique_ptr<Tnoeud> hauteurs_annulation;  // undo copy of the heights, or null
  std::unique_ptr<Tphoto> photo;                // per-node colours, or null
  std::unique_ptr<Tcooleen> dx, dy;             // distortion maps (128 = none), or null
  std::unique_ptr<Tcooleen> dx_annulation, dy_annulation;
  std::array<couche_arbres, 4> couches{};
  std::uint8_t trace_active = 0;
  std::uint8_t nouvelle_cle = 0;
  std::uint8_t redessiner_tout = 0;
  // The feature list: four parallel arrays of capacite_liste entries.
  std::vector<std::uint16_t> liste_i, liste_j, liste_type, liste_attribut;
  // Its undo copy: empty until the undo copies are created.
  std::vector<std::uint16_t> annulation_i, annulation_j, annulation_type, annulation_attribut;
  std::uint16_t arbre_courant = 0;
  std::uint16_t taille_arbre = 0;
  std::uint16_t sol_courant = 0;
  std::uint16_t largeur_sol = 0;
  std::vector<point_trace> trace;  // stroke trace: empty outside a stroke
  std::uint8_t calcul_annule = 0;
  std::int32_t n = 0;  // nodes per side, 2^degre + 1
  std::int32_t capacite_liste = 0;
  std::int32_t capacite_trace = 0;
  std::int32_t nombre_elements = 0;
  std::int32_t nombre_annulation = 0;
  std::int32_t dernier_point = 0;
  double relief = 0.0;
  double exposant_erosion = 0.0;
  double profil = 0.0;
  double taux_deformation = 0.0;
  // Weights of subdivision levels 3..10, indexed by the level itself
  // (poids_niveaux[3..10]); entries 0..2 stay 0.
  std::array<std::int16_t, 11> poids_niveaux{};
  std::int32_t altitude_erosion = 0;
  std::int32_t taux_lissage = 0;
  std::int32_t etalement = 0;
  std::int32_t rivage = 0;
  std::int32_t hauteur_rivage = 0;
  std::int32_t plis = 0;
  std::int32_t direction_vallee = 0;
  std::uint8_t iles = 0;
  std::uint8_t cuvette = 0;
  std::uint8_t gradins = 0;
  std::uint8_t terrasse = 0;
  std::int32_t nombre_gradins = 0;
  std::int32_t pente_gradins = 0;
  point_terrain cible;
  point_terrain observateur;
  std::int32_t cible_i = 0;
  std::int32_t cible_j = 0;
  std::int32_t observateur_i = 0;
  std::int32_t observateur_j = 0;
  std::array<std::int32_t, 2> cellule_rendu{};
  // Areas as (i_min, i_max, j_min, j_max); (0, n + 1, 0, n + 1) means "draw everything".
  std::array<std::int32_t, 4> zone_modifiee{};
  std::array<std::int32_t, 4> zone_precedente{};
  std::array<std::int32_t, 4> zone_outil{};
  std::int32_t cle = 0;
  std::uint16_t degre = 0;
  std::uint16_t amplitude = 0;
  std::uint16_t pas = 0;
  std::uint16_t nombre_noeuds = 0;  // n again, once generation, reading, import or copying has run
  double amplitude_deformation = 0.0;
  // Tree kind 1..6 occurs in the feature list, indexed by the kind itself
  // (especes_presentes[1..6]); entry 0 stays 0.
  std::array<std::uint8_t, 7> especes_presentes{};
  std::uint8_t deformation = 0;
  std::uint16_t niveau = 0;
  etat_rendu_terrain etat_rendu;
  std::uint16_t niveau_presse_papier = 0;
  std::uint8_t photo_presente = 0;
  std::uint8_t photo_enregistree = 0;

  // Values kept from whole-lattice passes, each with the heights' stamp and the
  // bounds it was computed for; a stamp that differs means "compute again".
  struct memoire_hauteur_max {
    std::uint64_t empreinte = 0;
    std::int32_t noeuds = 0;
    std::int32_t valeur = 0;
  };
  struct memoire_bilan {
    std::uint64_t empreinte = 0;
    std::int32_t n = 0, niveau = 0, maxi = 0, mini = 0;
    model::BilanHauteurs bilan{0, 0};
  };
  mutable memoire_hauteur_max hauteur_max_gardee;
  memoire_bilan bilan_garde;  // the renderer's statistics pass
};

// Value 0..255 of two upper-case hexadecimal digits; ReadError (naming the
// line when one is given) for anything else.
std::int32_t lire_hexa(std::string_view s, int ligne = 0);
