#include "app/table_commandes.h"

#include <array>

#include "fenetres/donnees_images.h"

namespace {

using C = Commande;
using M = Menu;
using R = Regle;

// Columns: identifier, menu, caption, shortcut, context-help topic, enabling
// rule, check item, separator before, runs after its topic.
constexpr DefinitionCommande kCommandes[] = {
    {C::ouvrir, M::fichier, "&Open ...", "F2", 5001, R::libre, false, false, false},
    {C::enregistrer, M::fichier, "&Save", "F3", 5002, R::une_montagne, false, false, false},
    {C::enregistrer_montagne, M::fichier, "Save &Mountain under...", "", 0, R::une_montagne, false, false, false},
    {C::enregistrer_vue, M::fichier, "Save &View under ...", "", 0, R::vue, false, false, false},
    {C::enregistrer_film, M::fichier, "Save Movie under ...", "", 0, R::video, false, false, false},
    {C::supprimer, M::fichier, "Remove", "", 0, R::fichier, false, false, false},
    {C::importer, M::fichier, "Import ...", "", 4016, R::libre, false, true, false},
    {C::parcourir, M::fichier, "Scan ...", "", 0, R::libre, false, false, false},
    {C::imprimer, M::fichier, "Print ...", "", 0, R::vue, false, false, false},
    {C::reglages_imprimante, M::fichier, "Printer adjustments ...", "", 0, R::libre, false, false, false},
    {C::lire_options, M::fichier, "Read &Options", "", 0, R::libre, false, true, false},
    {C::sauver_options, M::fichier, "&Save Options", "", 0, R::libre, false, false, false},
    {C::fichier_depart, M::fichier, "starting file", "", 0, R::fichier_depart, true, false, false},
    // The recent entries come between the separators before "&Exit"; the
    // exit command shows its help topic itself.
    {C::sortie, M::fichier, "&Exit", "", 0, R::libre, false, true, false},

    {C::nouvelle_montagne, M::montagne, "Create a new &Mountain", "F5", 5003, R::libre, false, false, false},
    {C::surface_plate, M::montagne, "Create a &Flat surface", "", 0, R::libre, false, false, false},
    {C::regenerer, M::montagne, "R&egenerate the mountain", "", 0, R::montagne, false, false, false},
    {C::dupliquer_montagne, M::montagne, "&Duplicate the mountain", "", 0, R::montagne, false, false, false},
    {C::combiner, M::montagne, "Combine two mountains", "", 0, R::deux_montagnes, false, false, false},
    {C::raffiner, M::montagne, "&Refine an existing mountain", "", 0, R::montagne, false, false, false},
    {C::creer_arbres, M::montagne, "Create trees", "", 0, R::montagne, false, false, false},
    {C::options_creation, M::montagne, "&Creation options ...", "F7", 5004, R::libre, false, true, false},
    {C::options_raffinage, M::montagne, "&Refine options ...", "", 0, R::montagne, false, false, false},
    {C::taper_texte, M::montagne, "Type text", "", 0, R::montagne, false, false, false},
    {C::fermer_montagne, M::montagne, "Close the &active mountain", "", 0, R::montagne_hors_edition, false, true, false},
    {C::fermer_montagnes, M::montagne, "Close all the mountains", "", 0, R::montagne_hors_edition, false, false, false},

    {C::editer, M::edition, "&Edit the active mountain", "F4", 5005, R::montagne_sans_vue, false, false, false},
    {C::rafraichir_edition, M::edition, "&Refresh the edition window", "", 0, R::montagne_sans_vue, false, false, false},
    {C::elever, M::edition, "&Lift ...", "", 0, R::editeur, false, false, false},
    {C::coupe, M::edition, "Cross-Section", "", 0, R::editeur, false, false, false},
    {C::effacer_rivieres, M::edition, "Erase all &rivers", "", 0, R::editeur, false, false, false},
    {C::effacer_arbres, M::edition, "Erase all &trees", "", 0, R::editeur, false, false, false},
    {C::effacer_sol, M::edition, "Erase all &ground", "", 0, R::editeur, false, false, false},
    {C::fermer_edition, M::edition, "&Close edition", "", 0, R::editeur, false, false, false},

    {C::voir, M::vue, "&see", "F6", 5006, R::montagne, false, false, false},
    {C::voir_plein_ecran, M::vue, "See in a &full screen", "", 0, R::montagne, false, false, false},
    {C::rafraichir_vue, M::vue, "&Refresh the active view", "F9", 5007, R::vue, false, false, true},
    {C::dupliquer_vue, M::vue, "Duplicate the view", "", 0, R::vue, false, false, false},
    {C::rafraichissement_automatique, M::vue, "&Automatic refresh", "Ctrl+R", 0, R::libre, true, false, false},
    {C::image_brute, M::vue, "Rough picture", "", 0, R::libre, true, false, false},
    {C::courbes_niveau, M::vue, "Level curves", "", 0, R::libre, true, false, false},
    {C::maillage, M::vue, " - Visible Mesh", "Ctrl+M", 0, R::libre, true, true, false},
    {C::echelle_fixe, M::vue, " - Fixed scale", "Ctrl+E", 0, R::libre, true, false, false},
    {C::deformation, M::vue, " - Distortion allowed", "Ctrl+D", 0, R::libre, true, false, false},
    {C::arbres, M::vue, " - Trees", "Ctrl+A", 0, R::libre, true, false, false},
    {C::ombre_portee, M::vue, " - Cast shadow", "Ctrl+P", 0, R::libre, true, false, false},
    {C::brume, M::vue, " - Mist", "Ctrl+B", 0, R::libre, true, false, false},
    {C::details, M::vue, " - Details", "Ctrl+T", 0, R::libre, true, false, false},
    {C::horizon, M::vue, " - Horizon", "Ctrl+H", 0, R::libre, true, false, false},
    {C::reflet, M::vue, " - Reflection", "Ctrl+F", 0, R::libre, true, false, false},
    {C::photo, M::vue, " - Picture", "Ctrl+O", 0, R::photo, true, false, false},
    {C::informations, M::vue, "Informations", "", 0, R::statistiques, false, true, false},
    {C::options_vue, M::vue, "View options ...", "F8", 5008, R::libre, false, false, false},
    {C::fermer_vue, M::vue, "Close the active view", "", 0, R::vue, false, false, false},
    {C::fermer_vues, M::vue, "Close all views", "", 0, R::vue, false, false, false},

    {C::creer_video, M::videos, "Create Video", "", 5013, R::cameras, false, false, false},
    {C::dupliquer_video, M::videos, "Duplicate Video", "", 0, R::video, false, false, false},
    {C::rafraichir_video, M::videos, "Refresh video", "", 0, R::video, false, false, false},
    {C::parametres_detailles, M::videos, "Detailed parameters", "", 0, R::toujours, true, false, false},
    {C::informations_video, M::videos, "Informatons", "", 0, R::video, false, false, false},
    {C::reglages_video, M::videos, "Adjustements of Video", "", 5012, R::vue_ou_video, false, false, false},
    {C::fermer_video, M::videos, "Close the video", "", 0, R::video, false, false, false},
    {C::fermer_videos, M::videos, "Close all movies", "", 0, R::video, false, false, false},

    {C::cascade, M::fenetre, "&Tile", "", 0, R::enfants, false, false, false},
    {C::mosaique, M::fenetre, "&Mosaic", "", 0, R::enfants, false, false, false},
    {C::reorganiser, M::fenetre, "&Reorganizes", "", 0, R::enfants, false, false, false},
    {C::minimiser, M::fenetre, "&Minimize all ", "", 0, R::enfants, false, false, false},
    {C::explorateur, M::fenetre, "&Explorer", "", 0, R::explorateur, true, false, false},

    {C::index, M::aide, "Index", "F1", 0, R::libre, false, false, false},
    {C::aide, M::aide, "Help", "", 0, R::libre, false, false, false},
    {C::aide_demarrage, M::aide, "Starting help", "", 0, R::libre, false, false, false},
    {C::aide_contextuelle, M::aide, "Contextual Help", "", 0, R::libre, false, false, false},
    {C::a_propos, M::aide, "&About ...", "", 0, R::libre, false, false, false},
};
static_assert(std::size(kCommandes) == kNombreCommandes);

constexpr bool dans_l_ordre() {
  for (int k = 0; k < kNombreCommandes; ++k)
    if (static_cast<int>(kCommandes[k].id) != k) return false;
  return true;
}
static_assert(dans_l_ordre(), "the table lists the commands in the order of their identifiers");

constexpr DefinitionBouton kBoutons[] = {
    {C::ouvrir, images::iconOpen, "Open a document (F2)", 0, false},
    {C::enregistrer, images::iconSave, "Save the active document (F3)", 0, true},
    {C::nouvelle_montagne, images::iconNew, "Create a new mountain (F5)", 0, false},
    {C::options_creation, images::iconCreationOptions, "Creation options (F7)", 0, false},
    {C::editer, images::iconEditor, "Edit the active mountain (F4)", 0, false},
    {C::voir, images::iconView, "See the active mountain (F6)", 0, false},
    {C::rafraichir_vue, images::iconRefresh, "Refresh the active view (F9)", 0, true},
    {C::options_vue, images::iconViewOptions, "View options (F8)", 0, false},
    {C::creer_video, images::iconVideo, "Create a video", 0, false},
    {C::reglages_video, images::iconVideoOptions, "Adjustments of the video", 0, true},
    {C::importer, images::iconImport, "Import an elevation file", 0, false},
    {C::explorateur, images::iconExplorer, "Show or hide the explorer", 5011, true},
    {C::index, images::iconIndex, "Help index (F1)", 0, false},
    {C::aide_contextuelle, images::iconHelp, "Contextual help", 0, false},
    {C::sortie, images::iconExit, "Exit", 0, false},
};

}  // namespace

const char* titre_menu(Menu m) {
  static constexpr std::array<const char*, 7> kTitres = {"&File",   "&Mountain", "&Edition", "&View",
                                                         "Vi&deos", "&Window",   "&Help"};
  return kTitres[static_cast<std::size_t>(m)];
}

std::span<const DefinitionCommande> table_commandes() { return kCommandes; }

const DefinitionCommande& definition(Commande c) { return kCommandes[static_cast<std::size_t>(c)]; }

namespace {

// caption, command, request, help topic, separator after
const ElementSurgissant kMenuCarte[] = {
    {"See", C::voir, 1, 0, true},
    {"Edit", C::editer, 16, 0, false},
    {"Create the trees", C::creer_arbres, 2, 0, false},
    {"Regenerate", C::regenerer, 3, 0, false},
    {"Duplicate", C::dupliquer_montagne, 4, 0, false},
    {"Refine", C::raffiner, 5, 0, false},
    {"Combine with ...", C::combiner, 0, 0, true},
    {"Adjustments ...", C::options_creation, 7, 0, false},
    {"Refine options ...", C::options_raffinage, 8, 0, true},
    {"Raise 100 meters", std::nullopt, 11, 0, false},
    {"Raise 10 meters", std::nullopt, 12, 0, false},
    {"Drop 10 meters", std::nullopt, 13, 0, false},
    {"Drop 100 meters", std::nullopt, 14, 0, true},
    {"Help", C::index, 0, 4006, false},
};

const ElementSurgissant kMenuVue[] = {
    {"Refresh", C::rafraichir_vue, 0, 0, false},
    {"Duplicate", C::dupliquer_vue, 2, 0, true},
    {"Visible mesh", C::maillage, 0, 0, false},
    {"Fixed scale", C::echelle_fixe, 0, 0, false},
    {"Distortion allowed", C::deformation, 0, 0, false},
    {"Trees", C::arbres, 0, 0, false},
    {"Casted shadow", C::ombre_portee, 0, 0, false},
    {"Mist", C::brume, 0, 0, false},
    {"Details", C::details, 0, 0, false},
    {"Horizon", C::horizon, 0, 0, false},
    {"Reflexion", C::reflet, 0, 0, true},
    {"Adjustements ...", C::options_vue, 3, 0, false},
    {"Informations", C::informations, 0, 0, true},
    {"help", C::index, 0, 4007, false},
};

}  // namespace

std::span<const ElementSurgissant> menu_surgissant_carte() { return kMenuCarte; }
std::span<const ElementSurgissant> menu_surgissant_vue() { return kMenuVue; }

std::string texte_surgissant(const ElementSurgissant& e) {
  const char* touche = e.commande ? definition(*e.commande).raccourci : "";
  return *touche ? std::string(e.caption) + "\t" + touche : std::string(e.caption);
}

std::span<const DefinitionBouton> table_boutons() { return kBoutons; }

bool regle_satisfaite(Regle r, const etat_documents& e, const ContexteActivation& x) {
  const int mc = e.montagne_courante;
  const bool M = mc >= 1 && mc <= NOMBRE_MAX_MONTAGNES && e.montagnes[mc].type.utilise;
  const bool V = e.vue_courante != 0;
  const bool W = e.video_courante != 0;
  const bool fichier = M && e.montagnes[mc].type.a_fichier;
  switch (r) {
    case R::libre:
    case R::toujours: return true;
    case R::enfants: return x.enfants;
    case R::montagne_sans_vue: return M && !V;
    case R::editeur: return M && !V && x.editeur_ouvert;
    case R::statistiques: return V && !x.occupe && x.statistiques;
    case R::montagne_hors_edition: return M && !x.edition_active;
    case R::montagne: return M;
    case R::deux_montagnes: return e.nombre_montagnes >= 2;
    case R::vue: return V;
    case R::une_montagne: return e.nombre_montagnes >= 1;
    case R::video: return W;
    case R::fichier_depart: return V || fichier;
    case R::fichier: return fichier;
    case R::explorateur: return x.noeuds_explorateur > 1;
    case R::vue_ou_video: return V || W;
    case R::cameras: return x.cameras && (V || W);
    case R::photo: return M && e.montagnes[mc].type.parametres.photo_aerienne;
  }
  return false;
}

std::optional<RequeteCarte> requete_carte(std::uint16_t code) {
  switch (code) {
    case 2: return RequeteCarte{C::creer_arbres, true};
    case 3: return RequeteCarte{C::regenerer, true};
    case 4: return RequeteCarte{C::dupliquer_montagne, false};
    case 5: return RequeteCarte{C::raffiner, true};
    case 6: return RequeteCarte{C::combiner, false};
    case 7: return RequeteCarte{C::options_creation, false};
    case 8: return RequeteCarte{C::options_raffinage, false};
    case 16: return RequeteCarte{C::editer, true};
    default: return std::nullopt;
  }
}

std::optional<Commande> requete_vue(std::uint16_t code) {
  if (code == 2) return C::dupliquer_vue;
  if (code == 3) return C::options_vue;
  return std::nullopt;
}

std::optional<Commande> requete_video(std::uint16_t code) {
  if (code == 2) return C::dupliquer_video;
  if (code == 3) return C::reglages_video;
  return std::nullopt;
}
