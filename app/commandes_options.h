// The Mountain menu's option dialogs: "&Creation options ..." (F7, the Get
// button, card request 7), "&Refine options ..." (card request 8) and
// "Combine two mountains" (request 6). Each builds its dialog, fills it, runs
// it through the main window's run hook and acts on OK only.
#pragma once

#include <cstdint>
#include <functional>

#include "app/etat_documents.h"
#include "app/hote_commandes.h"

class CommandesMontagne;
class QDialog;

class CommandesOptions {
 public:
  // The chosen work (regenerate, new mountain, trees, refine) goes to `montagnes`.
  CommandesOptions(etat_documents& etat, HoteOptions& hote, CommandesMontagne& montagnes);

  void options_creation();
  void options_raffinage();
  void combiner();

  // Runs a dialog modally (exec unless replaced; tests answer without a modal loop).
  std::function<int(QDialog&)> executer_dialogue;
  // What the dialogs remember between uses: the creation dialog's page, the
  // combination's mountain (2), mode and inversion.
  std::uint16_t page_creation = 1;
  std::uint16_t montagne_combinaison = 0;
  std::uint16_t mode_combinaison = 1;
  std::uint8_t inverser_combinaison = 0;

 private:
  etat_documents& e_;
  HoteOptions& w_;
  CommandesMontagne& montagnes_;
};
