// The Edition menu commands of the main window and the card's edit request:
// opening the map editor of the current mountain, pushing the view settings
// to it, closing it, raising the terrain or showing its cross-section, and
// erasing all rivers, trees or painted ground through it.
#pragma once

#include <functional>

#include "app/etat_documents.h"
#include "app/hote_commandes.h"
#include "fenetres/fenetres.h"

class CommandesEdition {
 public:
  CommandesEdition(etat_documents& etat, HoteEdition& hote);

  void ouvrir_edition();
  void rafraichir_edition();
  void fermer_edition();
  void effacer(ElementsCarte genre);
  // Raise ("&Lift ...") or, with `coupe`, show the cross-section ("Cross-Section").
  void elevation_coupe(bool coupe);

  // The current mountain's open editor, or null.
  FenetreEdition* editeur_courant() const;

  // The map editor of a slot (the real one unless replaced).
  std::function<FenetreEdition*()> creer_editeur;

 private:
  etat_documents& e_;
  HoteEdition& w_;
};
