// The main window as its command groups see it: the command objects are made
// here and connected to their menu items, and the narrow host interfaces they
// work through are answered from the window's tables.
#include <QAction>
#include <QMdiArea>

#include "app/carte.h"
#include "app/galerie.h"
#include "app/commandes_edition.h"
#include "app/commandes_impression.h"
#include "app/commandes_import.h"
#include "app/commandes_montagne.h"
#include "app/commandes_options.h"
#include "app/commandes_options_vue.h"
#include "app/commandes_video.h"
#include "app/mainwindow.h"

void TBasewindow::brancher_commandes() {
  creer_carte = [] { return new TMatricewindow; };
  montagnes_ = std::make_unique<CommandesMontagne>(etat, *this);
  videos_ = std::make_unique<CommandesVideo>(etat, *this);
  edition_ = std::make_unique<CommandesEdition>(etat, *this);
  impression_ = std::make_unique<CommandesImpression>(etat, *this);
  import_ = std::make_unique<CommandesImport>(etat, *this);
  options_vue_ = std::make_unique<CommandesOptionsVue>(etat, *this, *montagnes_);
  options_ = std::make_unique<CommandesOptions>(etat, *this, *montagnes_);
  nouvelle_vue = [this] { montagnes_->nouvelle_vue(); };
  nouvelle_video = [this] { videos_->nouvelle_video(); };

  CommandesMontagne& m = *montagnes_;
  connecter("Create a new &Mountain", [&m] { m.nouvelle_montagne(false); }, true);
  connecter("Create a &Flat surface", [&m] { m.nouvelle_montagne(true); }, true);
  connecter("R&egenerate the mountain", [&m] { m.regenerer_montagne(); });
  connecter("&Duplicate the mountain", [&m] { m.dupliquer_montagne(); });
  connecter("&Refine an existing mountain", [&m] { m.raffiner(); });
  connecter("Create trees", [&m] { m.creer_arbres(); });
  connecter("Type text", [&m] { m.taper_texte(); });
  connecter("&see", [&m] { m.voir(); });
  connecter("See in a &full screen", [&m] { m.voir_plein_ecran(); });
  connecter("&Refresh the active view", [&m] { m.rafraichir_vue_active(); });
  connecter("Duplicate the view", [&m] { m.copier_vue(); });
  connecter("Informations", [&m] { m.Informations(); });
  connecter("&Automatic refresh", [&m] { m.basculer_rafraichissement(); }, true);
  connecter("Rough picture", [&m] { m.basculer_image_brute(); }, true);
  connecter("Level curves", [&m] { m.basculer_courbes(); }, true);
  // The picture toggle follows the enabling table; the others are always available.
  for (const char* c : {" - Visible Mesh", " - Fixed scale", " - Distortion allowed", " - Trees", " - Cast shadow",
                        " - Mist", " - Details", " - Horizon", " - Reflection", " - Picture"})
    connecter(c, [&m, c] { m.basculer(c); }, QString(c) != " - Picture");
  cocher("&Automatic refresh", true);

  CommandesVideo& v = *videos_;
  connecter("Create Video", [&v] { v.creer_video(); });
  connecter("Duplicate Video", [&v] { v.dupliquer_video(); });
  connecter("Refresh video", [&v] { v.rafraichir_video(); });
  connecter("Detailed parameters", [&v] { v.parametres_detailles(); });
  connecter("Informatons", [&v] { v.informations(); });
  connecter("Adjustements of Video", [&v] { v.reglages_video(); });

  CommandesEdition& e = *edition_;
  connecter("&Edit the active mountain", [&e] { e.ouvrir_edition(); });
  connecter("&Refresh the edition window", [&e] { e.rafraichir_edition(); });
  connecter("&Close edition", [&e] { e.fermer_edition(); });
  connecter("&Lift ...", [&e] { e.elevation_coupe(false); });
  connecter("Cross-Section", [&e] { e.elevation_coupe(true); });
  connecter("Erase all &rivers", [&e] { e.effacer(ElementsCarte::rivieres); });
  connecter("Erase all &trees", [&e] { e.effacer(ElementsCarte::arbres); });
  connecter("Erase all &ground", [&e] { e.effacer(ElementsCarte::sol); });

  connecter("Print ...", [this] { impression_->imprimer(); });
  connecter("Printer adjustments ...", [this] { impression_->reglages_imprimante(); }, true);  // needs no document
  connecter("Import ...", [this] { import_->ImporterClick(); }, true);
  // These work with no view and no mountain open.
  connecter("View options ...", [this] { options_vue_->options_vue(); }, true);
  connecter("&Creation options ...", [this] { options_->options_creation(); }, true);
  connecter("&Refine options ...", [this] { options_->options_raffinage(); });
  connecter("Combine two mountains", [this] { options_->combiner(); });
}

CarteMontagne* TBasewindow::carte(int m) {
  return m >= 1 && m <= NOMBRE_MAX_MONTAGNES ? cartes[m].data() : nullptr;
}

FenetreVue* TBasewindow::fenetre_vue(int v) {
  return v >= 1 && v <= NOMBRE_MAX_VUES ? fenetres_vues[v].data() : nullptr;
}

FenetreVideo* TBasewindow::fenetre_video(int w) {
  return w >= 1 && w <= NOMBRE_MAX_VIDEOS ? fenetres_videos[w].data() : nullptr;
}

FenetreEdition* TBasewindow::editeur_ouvert(int m) {
  return m >= 1 && m <= NOMBRE_MAX_MONTAGNES && edition_ouverte[m] ? editeurs[m].data() : nullptr;
}

int TBasewindow::largeur_enfants() const { return mdi_->width(); }

void TBasewindow::cocher(const QString& caption, bool coche) {
  if (QAction* a = action(caption)) a->setChecked(coche);
}

void TBasewindow::garder_import(FenetreImport* fenetre) {
  ajouter_enfant(fenetre);
  importation = fenetre;
  import_ouvert = 1;
}

// "Scan ...": the gallery of the chosen view documents.
void TBasewindow::ParcoursClick() {
  if (galerie_ouverte && galerie && !galerie->fermee()) return;
  const std::vector<std::string> noms = dialogues_->chemins_parcours();
  if (noms.empty()) return;
  auto* g = new TForm_galerie(this);
  galerie = g;
  g->charger_vues(handle_, noms);
  g->aide_contextuelle = aide_contextuelle;
  g->show();
  galerie_ouverte = 1;
  regler("Scan ...", false);
}
