#include "app/commandes_edition.h"

#include <QMdiSubWindow>

#include "app/mainwindow.h"
#include "dialogs/edition.h"

CommandesEdition::CommandesEdition(TBasewindow& w) : w_(w) {
  w.creer_editeur = [] { return new Tfenetre_edition; };
  w.connecter("&Edit the active mountain", [this] { ouvrir_edition(); });
  w.connecter("&Refresh the edition window", [this] { rafraichir_edition(); });
  w.connecter("&Close edition", [this] { fermer_edition(); });
  w.connecter("&Lift ...", [this] { elevation_coupe(false); });
  w.connecter("Cross-Section", [this] { elevation_coupe(true); });
  w.connecter("Erase all &rivers", [this] { effacer(ElementsCarte::rivieres); });
  w.connecter("Erase all &trees", [this] { effacer(ElementsCarte::arbres); });
  w.connecter("Erase all &ground", [this] { effacer(ElementsCarte::sol); });
}

FenetreEdition* CommandesEdition::editeur_courant() const {
  const int m = w_.etat.montagne_courante;
  if (m < 1 || m > NOMBRE_MAX_MONTAGNES || !w_.edition_ouverte[m]) return nullptr;
  return w_.editeurs[m];
}

void CommandesEdition::ouvrir_edition() {
  auto& e = w_.etat;
  const int m = e.montagne_courante;
  if (m < 1 || m > NOMBRE_MAX_MONTAGNES || !e.montagnes[m].type.utilise || !e.montagnes[m].terrain) return;
  if (FenetreEdition* ed = editeur_courant()) {
    w_.activer(ed);
    return;
  }
  FenetreEdition* ed = w_.creer_editeur ? w_.creer_editeur() : new FenetreEdition;
  const auto& type = e.montagnes[m].type;
  ed->setWindowTitle("Edition " + QString::fromLocal8Bit(type.nom.str().c_str()).left(50));
  ed->degre = e.montagnes[m].terrain->degre;
  if (type.a_fichier) ed->fichier = type.fichier;
  w_.ajouter_editeur(ed, m);
  OuvertureEdition o;
  o.no_montagne = static_cast<std::uint16_t>(m);
  o.matrice = e.montagnes[m].terrain.get();
  o.courbes = w_.courbes_niveau;
  o.grossier = w_.image_brute;
  o.vue_defaut = e.vue;
  ed->ouvre_edition(o);
  w_.activer(ed);
  w_.UpdateItems();
}

void CommandesEdition::rafraichir_edition() {
  if (FenetreEdition* ed = editeur_courant()) ed->rafraichir_edition(w_.etat.vue);
}

void CommandesEdition::fermer_edition() {
  FenetreEdition* ed = editeur_courant();
  if (!ed) return;
  if (ed->sous_fenetre())
    ed->sous_fenetre()->close();
  else
    ed->close();
  w_.UpdateItems();
}

void CommandesEdition::elevation_coupe(bool coupe) {
  if (FenetreEdition* ed = editeur_courant()) ed->elevation_coupe(coupe);
}

void CommandesEdition::effacer(ElementsCarte genre) {
  if (FenetreEdition* ed = editeur_courant()) ed->effacer_elements(genre);
}
