#include "app/commandes_import.h"

#include "app/mainwindow.h"
#include "import/fenetre_import.h"
#include "platform/fichiers.h"

CommandesImport::CommandesImport(TBasewindow& w) : w_(w) {
  w.connecter("Import ...", [this] { ImporterClick(); }, true);
}

void CommandesImport::ImporterClick() {
  const auto chemin = w_.dialogues().chemin_import();
  if (!chemin || !fichier_existe(*chemin)) return;
  auto& e = w_.etat;
  if (e.montagne_libre() == 0) {
    warn("No room for the imported mountain (>5)", "Mountain ");
    return;
  }
  w_.occupe = 1;
  w_.fermer_import();
  auto* fenetre = new TImportation;
  w_.ajouter_enfant(fenetre);
  w_.importation = fenetre;
  // The loader follows the upper-cased ending; any other ending loads nothing.
  const std::string fin = fin_majuscule(*chemin);
  if (fin == ".BMP")
    fenetre->importer_bmp(*chemin, e.parametres);
  else if (fin == ".DEM" || fin == ".TXT" || fin == ".MNT")
    fenetre->importer_altitudes(*chemin, e.parametres);
  w_.import_ouvert = 1;
  w_.occupe = 0;
  e.demarrage = false;
  w_.UpdateItems();
}
