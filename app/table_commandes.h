// The main window's commands in one table: each one's identifier, menu,
// caption, shortcut, context-help topic and enabling rule; the tool bar's
// buttons; the codes the card, view and video windows send as requests; and
// the enabling rules as a function of the documents' state. The main window
// builds its menus, buttons, context help and enabling from here, and code
// names a command by its identifier, never by its caption.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "app/etat_documents.h"

enum class Commande : std::uint8_t {
  // File
  ouvrir, enregistrer, enregistrer_montagne, enregistrer_vue, enregistrer_film, supprimer, importer, parcourir,
  imprimer, reglages_imprimante, lire_options, sauver_options, fichier_depart, sortie,
  // Mountain
  nouvelle_montagne, surface_plate, regenerer, dupliquer_montagne, combiner, raffiner, creer_arbres,
  options_creation, options_raffinage, taper_texte, fermer_montagne, fermer_montagnes,
  // Edition
  editer, rafraichir_edition, elever, coupe, effacer_rivieres, effacer_arbres, effacer_sol, fermer_edition,
  // View
  voir, voir_plein_ecran, rafraichir_vue, dupliquer_vue, rafraichissement_automatique, image_brute, courbes_niveau,
  maillage, echelle_fixe, deformation, arbres, ombre_portee, brume, details, horizon, reflet, photo, informations,
  options_vue, fermer_vue, fermer_vues,
  // Videos
  creer_video, dupliquer_video, rafraichir_video, parametres_detailles, informations_video, reglages_video,
  fermer_video, fermer_videos,
  // Window
  cascade, mosaique, reorganiser, minimiser, explorateur,
  // Help
  index, aide, aide_demarrage, aide_contextuelle, a_propos,
};
inline constexpr int kNombreCommandes = static_cast<int>(Commande::a_propos) + 1;

enum class Menu : std::uint8_t { fichier, montagne, edition, vue, videos, fenetre, aide };
// The menu bar's captions, in Menu order.
const char* titre_menu(Menu m);

// When a command is enabled. `libre`: outside the enabling table, enabled as
// soon as its code is connected and left alone afterwards. Every other rule
// is applied each time the main window's tables change, and its item starts
// disabled until then.
enum class Regle : std::uint8_t {
  libre,
  toujours,              // enabled
  enfants,               // some child window is open
  montagne_sans_vue,     // a mountain is current and no view
  editeur,               // as above, and the mountain's map editor is open
  statistiques,          // the current view has its statistics and nothing is busy
  montagne_hors_edition, // a mountain is current and the active child is not a map editor
  montagne,              // a mountain is current
  deux_montagnes,        // at least two mountains are open
  vue,                   // a view is current
  une_montagne,          // at least one mountain is open
  video,                 // a video is current
  fichier_depart,        // a view is current, or a mountain that has a file
  fichier,               // the current mountain has a file
  explorateur,           // the explorer holds more than one node
  vue_ou_video,          // a view or a video is current
  cameras,               // a camera path exists and a view or a video is current
  photo,                 // the current mountain has an aerial picture
};

struct DefinitionCommande {
  Commande id;
  Menu menu;
  const char* caption;
  const char* raccourci;   // key sequence text ("F2", "Ctrl+R"), or ""
  int sujet;               // help topic shown instead in context-help mode, or 0
  Regle regle;
  bool cochable;
  bool separateur_avant;   // a separator precedes the item in its menu
  bool aide_puis_commande; // in context-help mode the command also runs after its topic
};

// Every command in menu order.
std::span<const DefinitionCommande> table_commandes();
const DefinitionCommande& definition(Commande c);

// The card's and the view's pop-up menus, item by item. An item has its
// window's own caption; the key text it shows is that of the main window's
// command it stands for (the main window owns the keys; the pop-up only
// shows them), and an item that stands for no command shows none.
struct ElementSurgissant {
  const char* caption;
  std::optional<Commande> commande;  // the command it stands for
  std::uint16_t requete;             // the request code it sends, or 0
  int sujet;                         // the help topic it shows, or 0
  bool separateur_apres;
};
std::span<const ElementSurgissant> menu_surgissant_carte();
std::span<const ElementSurgissant> menu_surgissant_vue();
// "caption<TAB>key", or the caption alone.
std::string texte_surgissant(const ElementSurgissant& e);

// Tool bar buttons, left to right.
struct DefinitionBouton {
  Commande commande;
  int image;              // index in the small icons
  const char* indication;
  int sujet;              // topic of the button itself in context-help mode, or 0
  bool espace_apres;      // a gap follows the button
};
std::span<const DefinitionBouton> table_boutons();

// What the enabling rules read besides the document tables: facts only the
// main window knows.
struct ContexteActivation {
  bool editeur_ouvert = false;    // the current mountain's map editor is open
  bool edition_active = false;    // the active child is a map editor
  bool enfants = false;           // the MDI area holds children
  bool occupe = false;            // a command or cascade rearranges the tables
  bool statistiques = false;      // the current view window has its statistics
  int noeuds_explorateur = 0;     // nodes in the explorer tree
  bool cameras = false;           // a camera path exists
};
bool regle_satisfaite(Regle r, const etat_documents& e, const ContexteActivation& x);
inline bool commande_active(Commande c, const etat_documents& e, const ContexteActivation& x) {
  return regle_satisfaite(definition(c).regle, e, x);
}

// A mountain card's request code: the command it runs and whether the main
// window first sends itself "button up". Codes 1 (see) and 11 to 14 (raise
// or drop) are not commands and are handled by the dispatcher.
struct RequeteCarte {
  Commande commande;
  bool haut;
};
std::optional<RequeteCarte> requete_carte(std::uint16_t code);
// The view's and the video window's request codes.
std::optional<Commande> requete_vue(std::uint16_t code);
std::optional<Commande> requete_video(std::uint16_t code);
