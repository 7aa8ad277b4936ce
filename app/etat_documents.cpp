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

bool maj_fichiers_recents(etat_documents& e) {
  if (e.fichier_courant.empty()) return false;
  if (std::find(e.recents.begin(), e.recents.end(), e.fichier_courant) != e.recents.end()) return false;
  e.recents.insert(e.recents.begin(), e.fichier_courant);
  if (e.recents.size() > NOMBRE_MAX_RECENTS) e.recents.resize(NOMBRE_MAX_RECENTS);
  return true;
}
