#include "app/commandes_options.h"

#include <QApplication>
#include <memory>

#include "app/commandes_montagne.h"
#include "dialogs/creation.h"
#include "dialogs/raffinage.h"
#include "model/matrice.h"

namespace {

QString Q(const std::string& s) { return QString::fromLocal8Bit(s.c_str()); }

// Writes one mountain's record into its slot, which its card shows.
void ecrire_record(etat_documents& e, int m, const param_mat& p) {
  if (m < 1 || m > NOMBRE_MAX_MONTAGNES || !e.montagnes[m].type.utilise) return;
  e.montagnes[m].type.parametres = p;
}

}  // namespace

CommandesOptions::CommandesOptions(etat_documents& etat, HoteOptions& hote, CommandesMontagne& montagnes)
    : e_(etat), w_(hote), montagnes_(montagnes) {
  executer_dialogue = [](QDialog& d) { return d.exec(); };
}

void CommandesOptions::options_creation() {
  auto& e = e_;
  w_.occuper(true);
  // The dialog is gone before the chosen work starts: its preview, still
  // pending, would otherwise render while the generation lets events run, and
  // draw from the generator the key has seeded.
  auto d = std::make_unique<TPagesdlg1>(w_.fenetre_principale());
  d->parametres = e.parametres;
  d->montagne = static_cast<std::uint16_t>(e.montagne_courante);
  d->tourner_vers(page_creation);
  if (!e.montagne_courante) d->ajouter_nouvelle_montagne();
  for (int m = 1; m <= NOMBRE_MAX_MONTAGNES; ++m)
    if (e.montagnes[m].type.utilise)
      d->ajouter_montagne(Q(e.montagnes[m].type.nom.str()).left(30), e.montagnes[m].type,
                          static_cast<std::uint16_t>(m));
  d->init_montagnes();
  // A mountain closed while the dialog is up takes nothing from it, nor does
  // another that took its slot meanwhile.
  const documents_notes listees = e.noter_documents();
  if (executer_dialogue(*d) == 1) {
    // Every entry's record goes back, the displayed one with the working copy.
    for (int k = 1; k <= d->nombre_montagnes; ++k)
      if (e.montagne_notee(listees, d->entrees[k].numero))
        ecrire_record(e, d->entrees[k].numero, d->entrees[k].type.parametres);
    e.parametres = d->parametres;
    page_creation = d->page;
    const int choisie = d->montagne;
    const std::uint8_t mode = d->mode, voir = d->voir;
    d.reset();
    const bool montagne = e.montagne_notee(listees, choisie);
    if (montagne) {
      ecrire_record(e, choisie, e.parametres);
      e.montagne_courante = choisie;
      if (CarteMontagne* c = w_.carte(choisie)) w_.activer(c);
      e.vue_courante = w_.plus_haute_vue(choisie);
    }
    CommandesMontagne& cm = montagnes_;
    if (mode == 1 && montagne) cm.regenerer_montagne();
    else if (mode == 2) cm.nouvelle_montagne(false);
    else if (mode == 3 && montagne) cm.creer_arbres();
    if (voir) {
      w_.demander_nouveau(true);
      if (e.vue_courante) cm.copie_reglages = true;
    }
    cm.appliquer_options_vue(false);
  }
  w_.occuper(false);
}

void CommandesOptions::options_raffinage() {
  auto& e = e_;
  const int m = e.montagne_courante;
  if (!m || !e.montagnes[m].type.utilise) return;
  TRaffinageDlg d(w_.fenetre_principale());
  d.parametres = e.parametres;
  d.init_raffinage();
  const temoin_document montagne = e.temoin_montagne(m);
  if (executer_dialogue(d) != 1 || !e.toujours_la(montagne)) return;
  e.montagne_courante = m;
  e.parametres = d.parametres;
  // Kept in the slot too: the next UpdateItems makes the slot's record current again.
  ecrire_record(e, m, e.parametres);
  if (d.mode == 1) montagnes_.raffiner();
}

void CommandesOptions::combiner() {
  auto& e = e_;
  const int m = e.montagne_courante;
  if (!m || !e.montagnes[m].type.utilise || !e.montagnes[m].terrain) return;
  // The terrains are looked up again after the dialog: only the mountains
  // listed, still there and still alike, are combined.
  const documents_notes listees = e.noter_documents();
  auto candidate = [&](int k) {
    const Tmatrice* t = e.montagnes[m].terrain.get();
    return k != m && e.montagne_notee(listees, k) && t && e.montagnes[k].terrain &&
           e.montagnes[k].terrain->degre == t->degre;
  };
  Tform3 d(w_.fenetre_principale());
  d.fixer_nom_1(Q(e.montagnes[m].type.nom.str()));
  int derniere = 0;
  for (int k = 1; k <= NOMBRE_MAX_MONTAGNES; ++k)
    if (candidate(k)) {
      d.ajouter_montagne(Q(e.montagnes[k].type.nom.str()), static_cast<std::uint16_t>(k));
      derniere = k;
    }
  if (!derniere) return;
  std::uint16_t partenaire = montagne_combinaison;
  if (partenaire == m) partenaire = static_cast<std::uint16_t>(derniere);
  d.init_combinaison(partenaire, mode_combinaison, inverser_combinaison);
  if (executer_dialogue(d) != 1 || !e.montagne_notee(listees, m)) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  montagne_combinaison = d.montagne_2;
  mode_combinaison = static_cast<std::uint16_t>(d.mode);
  inverser_combinaison = d.inverser;
  // Only an open mountain of the same degree is combined.
  if (candidate(d.montagne_2)) {
    e.montagnes[m].terrain->combiner(*e.montagnes[d.montagne_2].terrain->hauteurs, static_cast<std::uint16_t>(d.mode),
                                     d.inverser != 0);
    e.montagnes[m].type.modifie_edition = 1;
  }
  QApplication::restoreOverrideCursor();
  w_.UpdateItems();
}
