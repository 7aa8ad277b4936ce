#include "model/echantillons.h"

#include <algorithm>

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

void remplir_depuis_echantillon(Tmatrice& terrain, const Echantillon36& e) {
  const std::int32_t n = terrain.n;
  if (n < 2) return;
  auto ligne = [n](std::int32_t i) { return std::clamp(1 + Round(double(i - 1) * 35 / (n - 1)), 1, 36); };
  for (std::int32_t i = 1; i <= n; ++i)
    for (std::int32_t j = 1; i + j <= n + 1; ++j) terrain.hauteurs->ecrire(i, j, e[ligne(i)][ligne(j)]);
  terrain.initialiser_apres_import();
}
