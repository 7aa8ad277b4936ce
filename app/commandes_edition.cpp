#include "app/commandes_edition.h"

#include <QMdiSubWindow>

#include "dialogs/edition.h"

CommandesEdition::CommandesEdition(etat_documents& etat, HoteEdition& hote) : e_(etat), w_(hote) {
  creer_editeur = [] { return new Tfenetre_edition; };
}

FenetreEdition* CommandesEdition::editeur_courant() const {
  const int m = e_.montagne_courante;
  if (m < 1 || m > NOMBRE_MAX_MONTAGNES) return nullptr;
  return w_.editeur_ouvert(m);
}

void CommandesEdition::ouvrir_edition() {
  auto& e = e_;
  const int m = e.montagne_courante;
  if (m < 1 || m > NOMBRE_MAX_MONTAGNES || !e.montagnes[m].type.utilise || !e.montagnes[m].terrain) return;
  if (FenetreEdition* ed = editeur_courant()) {
    w_.activer(ed);
    return;
  }
  FenetreEdition* ed = creer_editeur ? creer_editeur() : new FenetreEdition;
  const auto& type = e.montagnes[m].type;
  ed->setWindowTitle("Edition " + QString::fromLocal8Bit(type.nom.str().c_str()).left(50));
  ed->degre = e.montagnes[m].terrain->degre;
  if (type.a_fichier) ed->fichier = type.fichier;
  w_.ajouter_editeur(ed, m);
  OuvertureEdition o;
  o.no_montagne = static_cast<std::uint16_t>(m);
  o.matrice = e.montagnes[m].terrain.get();
  o.courbes = w_.courbes_actives();
  o.grossier = w_.image_brute_active();
  o.vue_defaut = e.vue;
  ed->ouvre_edition(o);
  w_.activer(ed);
  w_.UpdateItems();
}

void CommandesEdition::rafraichir_edition() {
  if (FenetreEdition* ed = editeur_courant()) ed->rafraichir_edition(e_.vue);
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
