#include "app/etat_documents.h"

#include <algorithm>

int etat_documents::montagne_libre() const {
  for (int m = 1; m <= NOMBRE_MAX_MONTAGNES; ++m)
    if (!montagnes[m].type.utilise) return m;
  return 0;
}

int etat_documents::vue_libre() const {
  for (int v = 1; v <= NOMBRE_MAX_VUES; ++v)
    if (!vues[v].utilise) return v;
  return 0;
}

int etat_documents::video_libre() const {
  for (int w = 1; w <= NOMBRE_MAX_VIDEOS; ++w)
    if (!videos[w].utilise) return w;
  return 0;
}

int etat_documents::plus_haute_vue(int m) const {
  for (int v = NOMBRE_MAX_VUES; v >= 1; --v)
    if (vues[v].utilise && vues[v].montagne == m) return v;
  return 0;
}

void etat_documents::prendre_montagne(int m) {
  montagnes[m].type.utilise = 1;
  ++montagnes[m].serie;
}

void etat_documents::prendre_vue(int v, int m) {
  vues[v].utilise = true;
  vues[v].montagne = m;
  ++vues[v].serie;
}

void etat_documents::prendre_video(int w, int v, int m) {
  videos[w].utilise = true;
  videos[w].vue = v;
  videos[w].montagne = m;
  ++videos[w].serie;
}

namespace {

template <class Table>
bool dans_la_table(const Table& t, int k) {
  return k >= 1 && k < static_cast<int>(t.size());
}

}  // namespace

temoin_document etat_documents::temoin_montagne(int m) const {
  if (!dans_la_table(montagnes, m) || !montagnes[m].type.utilise) return {temoin_document::Table::montagne};
  return {temoin_document::Table::montagne, m, montagnes[m].serie};
}

temoin_document etat_documents::temoin_vue(int v) const {
  if (!dans_la_table(vues, v) || !vues[v].utilise) return {temoin_document::Table::vue};
  return {temoin_document::Table::vue, v, vues[v].serie};
}

temoin_document etat_documents::temoin_video(int w) const {
  if (!dans_la_table(videos, w) || !videos[w].utilise) return {temoin_document::Table::video};
  return {temoin_document::Table::video, w, videos[w].serie};
}

documents_courants etat_documents::courants() const {
  return {temoin_montagne(montagne_courante), temoin_vue(vue_courante), temoin_video(video_courante)};
}

bool etat_documents::toujours_la(const temoin_document& t) const {
  if (t.numero == 0) return true;
  switch (t.table) {
    case temoin_document::Table::montagne: return temoin_montagne(t.numero) == t;
    case temoin_document::Table::vue: return temoin_vue(t.numero) == t;
    case temoin_document::Table::video: return temoin_video(t.numero) == t;
  }
  return false;
}

bool etat_documents::toujours_la(const documents_courants& d) const {
  return toujours_la(d.montagne) && toujours_la(d.vue) && toujours_la(d.video);
}

documents_notes etat_documents::noter_documents() const {
  documents_notes n;
  n.courants = courants();
  for (int m = 1; m <= NOMBRE_MAX_MONTAGNES; ++m) n.montagnes[m] = temoin_montagne(m);
  for (int v = 1; v <= NOMBRE_MAX_VUES; ++v) n.vues[v] = temoin_vue(v);
  for (int w = 1; w <= NOMBRE_MAX_VIDEOS; ++w) n.videos[w] = temoin_video(w);
  return n;
}

namespace {

template <class Notes>
bool notee(const etat_documents& e, const Notes& notes, int k) {
  return dans_la_table(notes, k) && notes[k].numero == k && e.toujours_la(notes[k]);
}

}  // namespace

bool etat_documents::montagne_notee(const documents_notes& n, int m) const { return notee(*this, n.montagnes, m); }
bool etat_documents::vue_notee(const documents_notes& n, int v) const { return notee(*this, n.vues, v); }
bool etat_documents::video_notee(const documents_notes& n, int w) const { return notee(*this, n.videos, w); }

bool etat_documents::reprendre_courants(const documents_courants& d) {
  if (!toujours_la(d)) return false;
  montagne_courante = d.montagne.numero;
  vue_courante = d.vue.numero;
  video_courante = d.video.numero;
  return true;
}

bool etat_documents::reprendre_courants(const documents_notes& n, temoin_document::Table table, int choisi) {
  bool choix = choisi == 0;
  switch (table) {
    case temoin_document::Table::montagne: choix = choix || montagne_notee(n, choisi); break;
    case temoin_document::Table::vue: choix = choix || vue_notee(n, choisi); break;
    case temoin_document::Table::video: choix = choix || video_notee(n, choisi); break;
  }
  return choix && reprendre_courants(n.courants);
}

bool maj_fichiers_recents(etat_documents& e) {
  if (e.fichier_courant.empty()) return false;
  if (std::find(e.recents.begin(), e.recents.end(), e.fichier_courant) != e.recents.end()) return false;
  e.recents.insert(e.recents.begin(), e.fichier_courant);
  if (e.recents.size() > NOMBRE_MAX_RECENTS) e.recents.resize(NOMBRE_MAX_RECENTS);
  return true;
}
