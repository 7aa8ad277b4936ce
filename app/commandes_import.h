// The "Import ..." command of the main window (menu item and tool button):
// asks for an elevation source or a bitmap, refuses when five mountains are
// open, and opens the import window on the file, closing an earlier one.
// The adoption of the imported terrain is the request dispatcher's.
#pragma once

#include "app/etat_documents.h"
#include "app/hote_commandes.h"

class CommandesImport {
 public:
  CommandesImport(etat_documents& etat, HoteImport& hote);

  void ImporterClick();

 private:
  etat_documents& e_;
  HoteImport& w_;
};
