// The Mountain and View menu commands of the main window and the card and
// view requests that lead to them: new, flat, regenerated, duplicated and
// refined mountains, tree placement, the memo, new and duplicated views, the
// display toggles, refresh and the statistics.
#pragma once

#include <string>

#include "app/etat_documents.h"
#include "app/hote_commandes.h"

class TVuewindow;

class CommandesMontagne {
 public:
  CommandesMontagne(etat_documents& etat, HoteMontagne& hote);

  void nouvelle_montagne(bool plat, int emplacement = 0, bool depuis_fichier = false);
  void regenerer_montagne();
  void dupliquer_montagne();
  void raffiner();
  void creer_arbres();
  void taper_texte();
  // A view of the current mountain; returns the view number, 0 when none was made.
  int nouvelle_vue(const std::string& fichier_image = {});
  void voir();
  void voir_plein_ecran();
  void rafraichir_vue_active();
  void copier_vue();
  void Informations();
  void appliquer_options_vue(bool relayout);
  // A display toggle of the View menu (mesh, fixed scale ... picture).
  void basculer(Commande c);
  void basculer_rafraichissement();
  void basculer_image_brute();
  void basculer_courbes();

  TVuewindow* vue(int v) const;
  bool rafraichissement_automatique = true;
  bool plein_ecran = false;     // full-screen request
  bool copie_reglages = false;  // the next view takes the default size and its copy

 private:
  etat_documents& e_;
  HoteMontagne& w_;
};
