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

  using C = Commande;
  CommandesMontagne& m = *montagnes_;
  connecter(C::nouvelle_montagne, [&m] { m.nouvelle_montagne(false); });
  connecter(C::surface_plate, [&m] { m.nouvelle_montagne(true); });
  connecter(C::regenerer, [&m] { m.regenerer_montagne(); });
  connecter(C::dupliquer_montagne, [&m] { m.dupliquer_montagne(); });
  connecter(C::raffiner, [&m] { m.raffiner(); });
  connecter(C::creer_arbres, [&m] { m.creer_arbres(); });
  connecter(C::taper_texte, [&m] { m.taper_texte(); });
  connecter(C::voir, [&m] { m.voir(); });
  connecter(C::voir_plein_ecran, [&m] { m.voir_plein_ecran(); });
  connecter(C::rafraichir_vue, [&m] { m.rafraichir_vue_active(); });
  connecter(C::dupliquer_vue, [&m] { m.copier_vue(); });
  connecter(C::informations, [&m] { m.Informations(); });
  connecter(C::rafraichissement_automatique, [&m] { m.basculer_rafraichissement(); });
  connecter(C::image_brute, [&m] { m.basculer_image_brute(); });
  connecter(C::courbes_niveau, [&m] { m.basculer_courbes(); });
  for (C c : {C::maillage, C::echelle_fixe, C::deformation, C::arbres, C::ombre_portee, C::brume, C::details,
              C::horizon, C::reflet, C::photo})
    connecter(c, [&m, c] { m.basculer(c); });
  cocher(C::rafraichissement_automatique, true);

  CommandesVideo& v = *videos_;
  connecter(C::creer_video, [&v] { v.creer_video(); });
  connecter(C::dupliquer_video, [&v] { v.dupliquer_video(); });
  connecter(C::rafraichir_video, [&v] { v.rafraichir_video(); });
  connecter(C::parametres_detailles, [&v] { v.parametres_detailles(); });
  connecter(C::informations_video, [&v] { v.informations(); });
  connecter(C::reglages_video, [&v] { v.reglages_video(); });

  CommandesEdition& e = *edition_;
  connecter(C::editer, [&e] { e.ouvrir_edition(); });
  connecter(C::rafraichir_edition, [&e] { e.rafraichir_edition(); });
  connecter(C::fermer_edition, [&e] { e.fermer_edition(); });
  connecter(C::elever, [&e] { e.elevation_coupe(false); });
  connecter(C::coupe, [&e] { e.elevation_coupe(true); });
  connecter(C::effacer_rivieres, [&e] { e.effacer(ElementsCarte::rivieres); });
  connecter(C::effacer_arbres, [&e] { e.effacer(ElementsCarte::arbres); });
  connecter(C::effacer_sol, [&e] { e.effacer(ElementsCarte::sol); });

  connecter(C::imprimer, [this] { impression_->imprimer(); });
  connecter(C::reglages_imprimante, [this] { impression_->reglages_imprimante(); });
  connecter(C::importer, [this] { import_->ImporterClick(); });
  connecter(C::options_vue, [this] { options_vue_->options_vue(); });
  connecter(C::options_creation, [this] { options_->options_creation(); });
  connecter(C::options_raffinage, [this] { options_->options_raffinage(); });
  connecter(C::combiner, [this] { options_->combiner(); });
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

void TBasewindow::cocher(Commande c, bool coche) { action(c)->setChecked(coche); }

void TBasewindow::garder_import(FenetreImport* fenetre) {
  ajouter_enfant(fenetre);
  importation = fenetre;
  import_ouvert = 1;
  // Its letter keys act at once, also when the explorer's tree had the keyboard.
  fenetre->setFocus(Qt::OtherFocusReason);
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
  regler(Commande::parcourir, false);
}
