// Generated terrains shared by the benchmarks, made once per degree and key,
// and a landscape rendered from one of them.
#pragma once

#include <map>
#include <memory>
#include <utility>

#include "model/defauts.h"
#include "model/matrice.h"
#include "render/calcul_image.h"

// A terrain grown from the default creation parameters with the given degree
// and key; `preparer` runs once on it after generation.
template <class Preparer>
inline Tmatrice& terrain_genere_bench(int degre, int cle, Preparer preparer) {
  static std::map<std::pair<int, int>, std::unique_ptr<Tmatrice>> terrains;
  auto& t = terrains[{degre, cle}];
  if (!t) {
    param_mat p;
    valeurs_defaut_matrice(p);
    p.maillage = degre;
    p.cle = cle;
    p.cible = {0.333, 0.333};
    p.observateur = {0.1, 0.1};
    t = std::make_unique<Tmatrice>(p);
    bool continuer = true;
    t->generer_montagne(nullptr, 0, continuer, false);
    preparer(*t);
  }
  return *t;
}

inline Tmatrice& terrain_genere_bench(int degre, int cle) {
  return terrain_genere_bench(degre, cle, [](Tmatrice&) {});
}

// The default view of the degree 9 terrain of key 1234, rendered at l x h.
inline render::Bitmap paysage_rendu_bench(int l, int h) {
  Tmatrice& t = terrain_genere_bench(9, 1234);
  param_vue vue;
  valeurs_defaut_vue(vue);
  render::Bitmap b(l, h);
  t.marquer_modifiee();
  render::calcul_image(t, 0, palette_pour_vue(vue), b, {}, vue, l, h, nullptr, nullptr, 1, 0, 0, 0, 0, {});
  return b;
}
