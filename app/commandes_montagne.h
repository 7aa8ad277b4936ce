// The Mountain and View menu commands of the main window and the card and
// view requests that lead to them: new, flat, regenerated, duplicated and
// refined mountains, tree placement, the memo, new and duplicated views, the
// display toggles, refresh and the statistics.
#pragma once

#include <string>

class TBasewindow;
class TVuewindow;

class CommandesMontagne {
 public:
  // Connects the commands to the main window's menu items and hooks.
  explicit CommandesMontagne(TBasewindow& w);

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
  // A display toggle by its menu caption.
  void basculer(const char* caption);

  TVuewindow* vue(int v) const;
  bool rafraichissement_automatique = true;
  bool plein_ecran = false;     // full-screen request
  bool copie_reglages = false;  // the next view takes the default size and its copy

 private:
  TBasewindow& w_;
};
