// The Edition menu commands of the main window and the card's edit request:
// opening the map editor of the current mountain, pushing the view settings
// to it, closing it, raising the terrain or showing its cross-section, and
// erasing all rivers, trees or painted ground through it.
#pragma once

#include "fenetres/fenetres.h"

class TBasewindow;

class CommandesEdition {
 public:
  // Connects the commands to the main window's menu items and hooks.
  explicit CommandesEdition(TBasewindow& w);

  void ouvrir_edition();
  void rafraichir_edition();
  void fermer_edition();
  void effacer(ElementsCarte genre);
  // Raise ("&Lift ...") or, with `coupe`, show the cross-section ("Cross-Section").
  void elevation_coupe(bool coupe);

  // The current mountain's open editor, or null.
  FenetreEdition* editeur_courant() const;

 private:
  TBasewindow& w_;
};
