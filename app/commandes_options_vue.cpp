#include "app/commandes_options_vue.h"

#include "app/commandes_montagne.h"
#include "app/vue.h"
#include "dialogs/options_vue.h"
#include "model/interfaces.h"

using dialogs::EntreesOptionsVue;
using dialogs::SortiesOptionsVue;

CommandesOptionsVue::CommandesOptionsVue(etat_documents& etat, HoteOptionsVue& hote, CommandesMontagne& montagnes)
    : e_(etat), w_(hote), montagnes_(montagnes) {
  executer = [this](const EntreesOptionsVue& e, SortiesOptionsVue& s) {
    dialogs::TPagesDlg2 d(w_.fenetre_principale());
    return d.executer(e, s);
  };
}

EntreesOptionsVue CommandesOptionsVue::entrees() const {
  const auto& e = e_;
  EntreesOptionsVue in;
  in.vue = e.vue;
  in.vue_courante = static_cast<std::uint16_t>(e.vue_courante);
  in.montagne_courante = static_cast<std::uint16_t>(e.montagne_courante);
  auto decrire = [&](int m) {
    if (m >= 1 && m <= NOMBRE_MAX_MONTAGNES && e.montagnes[m].terrain && !in.montagnes[std::size_t(m)])
      in.montagnes[std::size_t(m)] = dialogs::decrire_montagne(*e.montagnes[m].terrain);
  };
  if (!e.vue_courante && e.montagne_courante) {
    if (CarteMontagne* c = w_.carte(e.montagne_courante)) in.titre_carte = c->windowTitle().toLocal8Bit().toStdString();
    decrire(e.montagne_courante);
  }
  if (e.vue_courante) {
    for (int v = 1; v <= NOMBRE_MAX_VUES; ++v) {
      FenetreVue* fv = w_.fenetre_vue(v);
      if (!e.vues[v].utilise || !fv) continue;
      if (auto* tv = dynamic_cast<TVuewindow*>(fv); tv && tv->image_existe()) in.images[std::size_t(v)] = &tv->image();
      decrire(e.vues[v].montagne);
      in.documents.push_back({fv->windowTitle().toLocal8Bit().toStdString(), fv->parametres,
                              static_cast<std::uint16_t>(e.vues[v].montagne), static_cast<std::uint16_t>(v),
                              fv->largeur_image, fv->hauteur_image});
    }
  }
  for (int m = 1; m <= NOMBRE_MAX_MONTAGNES; ++m) {
    if (e.montagnes[m].type.utilise) in.terrains[std::size_t(m)] = e.montagnes[m].terrain.get();
    if (FenetreEdition* ed = w_.editeur_ouvert(m)) in.editeurs[std::size_t(m)] = ed;
  }
  in.dossier_programme = e.dossier_programme;
  in.parametres = e.parametres;
  in.page = page_options;
  return in;
}

void CommandesOptionsVue::options_vue() {
  if (!executer) return;
  w_.occuper(true);
  SortiesOptionsVue s;
  const documents_notes notes = e_.noter_documents();
  const int r = executer(entrees(), s);
  page_options = s.page;
  if (r == 1) {
    // What the dialog was given must still be there: the current mountain
    // and view, and the view chosen in it.
    if (e_.reprendre_courants(notes, temoin_document::Table::vue, s.vue_choisie))
      appliquer(s);
    else
      warn("A view or mountain was closed while the view options were open: the options were not applied.", "View ");
  }
  if (!w_.timerthread().isActive()) w_.occuper(false);
}

void CommandesOptionsVue::appliquer(const SortiesOptionsVue& s) {
  auto& e = e_;
  CommandesMontagne& cm = montagnes_;
  e.vue = s.vue;
  const int v = s.vue_choisie;
  int action = s.action;
  if (v >= 1 && v <= NOMBRE_MAX_VUES && e.vues[v].utilise && w_.fenetre_vue(v)) {
    e.vue_courante = v;
    e.montagne_courante = e.vues[v].montagne;
    w_.focaliser_vue(v);
  }
  if (!e.montagne_courante) action = 0;
  if (e.vue_courante && w_.fenetre_vue(e.vue_courante)) {
    if (action <= 1) w_.fenetre_vue(e.vue_courante)->parametres = e.vue;
    cm.copie_reglages = true;
  }
  if (action == 1) w_.demander_rafraichissement();
  if (action == 2) w_.demander_nouveau(true);
  cm.appliquer_options_vue(true);
}
