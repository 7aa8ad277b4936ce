// The command table and its enabling rules, with no window: which commands
// are enabled for each state of the documents, the table's own consistency,
// and the request codes of the card, view and video windows.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/table_commandes.h"

namespace {

using C = Commande;

// The commands the rules enable, outside those the table leaves alone.
std::set<C> actives(const etat_documents& e, const ContexteActivation& x) {
  std::set<C> out;
  for (const DefinitionCommande& d : table_commandes())
    if (d.regle != Regle::libre && regle_satisfaite(d.regle, e, x)) out.insert(d.id);
  return out;
}

void ouvrir_montagne(etat_documents& e, int m, bool a_fichier = false) {
  e.montagnes[m].type.utilise = 1;
  e.montagnes[m].type.a_fichier = a_fichier ? 1 : 0;
  ++e.nombre_montagnes;
  e.montagne_courante = m;
}

void ouvrir_vue(etat_documents& e, int v, int m) {
  e.vues[v] = {true, m};
  ++e.nombre_vues;
  e.vue_courante = v;
}

const std::set<C> kMontagne = {C::enregistrer,     C::enregistrer_montagne, C::regenerer,        C::dupliquer_montagne,
                               C::raffiner,        C::creer_arbres,         C::options_raffinage, C::taper_texte,
                               C::fermer_montagne, C::fermer_montagnes,     C::voir,             C::voir_plein_ecran};
const std::set<C> kVue = {C::enregistrer_vue, C::imprimer, C::rafraichir_vue, C::dupliquer_vue,
                          C::fermer_vue,      C::fermer_vues, C::reglages_video, C::fichier_depart};

std::set<C> uni(std::set<C> a, const std::set<C>& b) {
  a.insert(b.begin(), b.end());
  return a;
}

}  // namespace

TEST(EnablingTable, NoDocumentLeavesOnlyTheAlwaysCommands) {
  etat_documents e;
  ContexteActivation x;
  EXPECT_EQ(actives(e, x), std::set<C>{C::parametres_detailles});
  // Busy or not, with no document the same holds; children alone enable the Window menu.
  x.occupe = true;
  x.cameras = true;
  EXPECT_EQ(actives(e, x), std::set<C>{C::parametres_detailles});
  x.enfants = true;
  EXPECT_EQ(actives(e, x), (std::set<C>{C::parametres_detailles, C::cascade, C::mosaique, C::reorganiser, C::minimiser}));
  // Commands outside the table count as enabled for whoever asks.
  EXPECT_TRUE(commande_active(C::nouvelle_montagne, e, x));
  EXPECT_TRUE(commande_active(C::options_vue, e, x));
}

TEST(EnablingTable, MountainWithAndWithoutFileAndAPartner) {
  etat_documents e;
  ContexteActivation x;
  x.enfants = true;
  ouvrir_montagne(e, 2);
  const std::set<C> fenetre = {C::cascade, C::mosaique, C::reorganiser, C::minimiser};
  const std::set<C> base = uni(uni(kMontagne, fenetre), {C::parametres_detailles, C::editer, C::rafraichir_edition});
  EXPECT_EQ(actives(e, x), base);
  // A file adds the starting-file item and Remove.
  e.montagnes[2].type.a_fichier = 1;
  EXPECT_EQ(actives(e, x), uni(base, {C::fichier_depart, C::supprimer}));
  // A second mountain allows the combination.
  e.montagnes[2].type.a_fichier = 0;
  ouvrir_montagne(e, 4);
  EXPECT_EQ(actives(e, x), uni(base, {C::combiner}));
  // A current slot that is not used counts as no mountain.
  e.montagne_courante = 3;
  EXPECT_FALSE(commande_active(C::regenerer, e, x));
  EXPECT_TRUE(commande_active(C::enregistrer, e, x));
  // Out of range slot numbers are no mountain either.
  e.montagne_courante = 9;
  EXPECT_FALSE(commande_active(C::voir, e, x));
}

TEST(EnablingTable, ViewTakesTheEditorAwayAndStatisticsWaitForIdle) {
  etat_documents e;
  ContexteActivation x;
  ouvrir_montagne(e, 1);
  ouvrir_vue(e, 3, 1);
  const std::set<C> base = uni(uni(kMontagne, kVue), {C::parametres_detailles});
  EXPECT_EQ(actives(e, x), base);
  EXPECT_FALSE(commande_active(C::editer, e, x));
  x.statistiques = true;
  EXPECT_EQ(actives(e, x), uni(base, {C::informations}));
  x.occupe = true;
  EXPECT_EQ(actives(e, x), base);
  // The camera path enables making a video from the view.
  x.occupe = false;
  x.statistiques = false;
  x.cameras = true;
  EXPECT_EQ(actives(e, x), uni(base, {C::creer_video}));
  // The view with no current mountain still enables its own commands.
  e.montagne_courante = 0;
  EXPECT_TRUE(commande_active(C::imprimer, e, x));
  EXPECT_TRUE(commande_active(C::fichier_depart, e, x));
  EXPECT_FALSE(commande_active(C::voir, e, x));
}

TEST(EnablingTable, VideoAndItsCameraPath) {
  etat_documents e;
  ContexteActivation x;
  ouvrir_montagne(e, 1);
  ouvrir_vue(e, 1, 1);
  e.videos[2] = {true, 1, 1};
  e.nombre_videos = 1;
  e.video_courante = 2;
  const std::set<C> video = {C::enregistrer_film, C::dupliquer_video,    C::rafraichir_video, C::informations_video,
                             C::fermer_video,     C::fermer_videos};
  EXPECT_EQ(actives(e, x), uni(uni(uni(kMontagne, kVue), video), {C::parametres_detailles}));
  EXPECT_FALSE(commande_active(C::creer_video, e, x));
  x.cameras = true;
  EXPECT_TRUE(commande_active(C::creer_video, e, x));
  // A video alone (its view closed) keeps the video settings and making.
  e.vue_courante = 0;
  EXPECT_TRUE(commande_active(C::reglages_video, e, x));
  EXPECT_TRUE(commande_active(C::creer_video, e, x));
  EXPECT_FALSE(commande_active(C::imprimer, e, x));
}

TEST(EnablingTable, EditorPictureAndExplorer) {
  etat_documents e;
  ContexteActivation x;
  ouvrir_montagne(e, 5, true);
  const std::set<C> editeur = {C::elever,         C::coupe,       C::effacer_rivieres,
                               C::effacer_arbres, C::effacer_sol, C::fermer_edition};
  for (C c : editeur) EXPECT_FALSE(commande_active(c, e, x)) << definition(c).caption;
  x.editeur_ouvert = true;
  for (C c : editeur) EXPECT_TRUE(commande_active(c, e, x)) << definition(c).caption;
  // While the editor is the active child the mountain cannot be closed.
  x.edition_active = true;
  EXPECT_FALSE(commande_active(C::fermer_montagne, e, x));
  EXPECT_FALSE(commande_active(C::fermer_montagnes, e, x));
  EXPECT_TRUE(commande_active(C::regenerer, e, x));
  // A view in front hides the editor's commands again.
  ouvrir_vue(e, 1, 5);
  for (C c : editeur) EXPECT_FALSE(commande_active(c, e, x)) << definition(c).caption;
  // The picture toggle follows the mountain's aerial picture.
  EXPECT_FALSE(commande_active(C::photo, e, x));
  e.montagnes[5].type.parametres.photo_aerienne = 1;
  EXPECT_TRUE(commande_active(C::photo, e, x));
  // The explorer needs more than its root node.
  x.noeuds_explorateur = 1;
  EXPECT_FALSE(commande_active(C::explorateur, e, x));
  x.noeuds_explorateur = 2;
  EXPECT_TRUE(commande_active(C::explorateur, e, x));
}

TEST(CommandTable, CaptionsShortcutsAndButtonsAreUnambiguous) {
  std::set<std::string> captions, raccourcis;
  for (const DefinitionCommande& d : table_commandes()) {
    EXPECT_TRUE(captions.insert(d.caption).second) << d.caption;
    if (*d.raccourci) EXPECT_TRUE(raccourcis.insert(d.raccourci).second) << d.raccourci;
    EXPECT_EQ(&definition(d.id), &d);
  }
  EXPECT_EQ(static_cast<int>(table_commandes().size()), kNombreCommandes);
  std::set<C> boutons;
  for (const DefinitionBouton& b : table_boutons()) EXPECT_TRUE(boutons.insert(b.commande).second);
  EXPECT_EQ(boutons.size(), 15u);
  // Items are grouped by menu, in menu order.
  Menu precedent = Menu::fichier;
  for (const DefinitionCommande& d : table_commandes()) {
    EXPECT_GE(static_cast<int>(d.menu), static_cast<int>(precedent)) << d.caption;
    precedent = d.menu;
  }
  EXPECT_STREQ(titre_menu(Menu::videos), "Vi&deos");
  // Only the view refresh runs after its help topic.
  for (const DefinitionCommande& d : table_commandes())
    EXPECT_EQ(d.aide_puis_commande, d.id == C::rafraichir_vue) << d.caption;
}

TEST(RequestCodes, CardViewAndVideoCodesNameTheirCommands) {
  const std::pair<std::uint16_t, RequeteCarte> carte[] = {
      {2, {C::creer_arbres, true}},       {3, {C::regenerer, true}},  {4, {C::dupliquer_montagne, false}},
      {5, {C::raffiner, true}},           {6, {C::combiner, false}},  {7, {C::options_creation, false}},
      {8, {C::options_raffinage, false}}, {16, {C::editer, true}}};
  for (const auto& [code, attendu] : carte) {
    const auto r = requete_carte(code);
    ASSERT_TRUE(r) << code;
    EXPECT_EQ(r->commande, attendu.commande) << code;
    EXPECT_EQ(r->haut, attendu.haut) << code;
  }
  // See (1) and the raise and drop codes are handled by the dispatcher; the rest are nothing.
  for (std::uint16_t code : {0, 1, 9, 10, 11, 12, 13, 14, 15, 17, 65535}) EXPECT_FALSE(requete_carte(code)) << code;
  EXPECT_EQ(requete_vue(2), C::dupliquer_vue);
  EXPECT_EQ(requete_vue(3), C::options_vue);
  EXPECT_EQ(requete_video(2), C::dupliquer_video);
  EXPECT_EQ(requete_video(3), C::reglages_video);
  for (std::uint16_t code : {0, 1, 4, 16}) {
    EXPECT_FALSE(requete_vue(code)) << code;
    EXPECT_FALSE(requete_video(code)) << code;
  }
}

// The pop-up menus send the codes the main window reads as the commands they
// stand for, and show the keys that run those commands.
TEST(PopUpMenus, RequestsMatchTheirCommandsAndKeysComeFromTheTable) {
  for (const ElementSurgissant& e : menu_surgissant_carte()) {
    SCOPED_TRACE(e.caption);
    if (const auto r = requete_carte(e.requete)) {
      ASSERT_TRUE(e.commande);
      EXPECT_EQ(r->commande, *e.commande);
    }
  }
  for (const ElementSurgissant& e : menu_surgissant_vue()) {
    SCOPED_TRACE(e.caption);
    EXPECT_EQ(requete_vue(e.requete), e.requete ? e.commande : std::nullopt);
  }
  std::vector<std::string> carte, vue;
  for (const auto& e : menu_surgissant_carte()) carte.push_back(texte_surgissant(e));
  for (const auto& e : menu_surgissant_vue()) vue.push_back(texte_surgissant(e));
  EXPECT_EQ(carte, (std::vector<std::string>{"See\tF6", "Edit\tF4", "Create the trees", "Regenerate", "Duplicate",
                                             "Refine", "Combine with ...", "Adjustments ...\tF7", "Refine options ...",
                                             "Raise 100 meters", "Raise 10 meters", "Drop 10 meters",
                                             "Drop 100 meters", "Help\tF1"}));
  EXPECT_EQ(vue, (std::vector<std::string>{"Refresh\tF9", "Duplicate", "Visible mesh\tCtrl+M", "Fixed scale\tCtrl+E",
                                           "Distortion allowed\tCtrl+D", "Trees\tCtrl+A", "Casted shadow\tCtrl+P",
                                           "Mist\tCtrl+B", "Details\tCtrl+T", "Horizon\tCtrl+H", "Reflexion\tCtrl+F",
                                           "Adjustements ...\tF8", "Informations", "help\tF1"}));
}
