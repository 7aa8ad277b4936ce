#include "app/commandes_import.h"

#include "app/hote_documents.h"
#include "import/fenetre_import.h"
#include "platform/fichiers.h"

CommandesImport::CommandesImport(etat_documents& etat, HoteImport& hote) : e_(etat), w_(hote) {}

void CommandesImport::ImporterClick() {
  const auto chemin = w_.dialogues().chemin_import();
  if (!chemin || !fichier_existe(*chemin)) return;
  auto& e = e_;
  if (e.montagne_libre() == 0) {
    warn("No room for the imported mountain (>5)", "Mountain ");
    return;
  }
  w_.occuper(true);
  w_.fermer_import();
  auto* fenetre = new TImportation;
  w_.garder_import(fenetre);
  // The loader follows the upper-cased ending; any other ending loads nothing.
  const std::string fin = fin_majuscule(*chemin);
  if (fin == ".BMP")
    fenetre->importer_bmp(*chemin, e.parametres);
  else if (fin == ".DEM" || fin == ".TXT" || fin == ".MNT")
    fenetre->importer_altitudes(*chemin, e.parametres);
  w_.occuper(false);
  e.demarrage = false;
  w_.UpdateItems();
}
