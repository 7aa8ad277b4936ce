#include "model/echantillons.h"

#include "model/aleatoire.h"
#include "model/matrice.h"
#include "model/noeuds.h"

std::int32_t ligne_echantillon(int i, std::int32_t n) {
  if (i <= 1) return n < 17 ? 1 : 3;
  if (i >= 36) return n < 17 ? n + 1 : n - 1;
  return Round(double(i) * n / 36);
}

Echantillon36 echantillonner_36(const Tmatrice& terrain) {
  Echantillon36 e;
  for (auto& ligne : e) ligne.fill(Tnoeud::hors_reseau);
  for (int i = 1; i <= 36; ++i)
    for (int j = 1; i + j < 40 && j <= 36; ++j)
      e[i][j] = terrain.hauteurs->lire(ligne_echantillon(i, terrain.n), ligne_echantillon(j, terrain.n));
  return e;
}
