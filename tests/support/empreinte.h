// A 64-bit FNV-1a digest of terrains, pictures and view statistics, for the
// tests that pin results which a faster code must reproduce exactly.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "model/matrice.h"

class Empreinte {
 public:
  void octets(const void* p, std::size_t n) {
    const auto* o = static_cast<const std::uint8_t*>(p);
    for (std::size_t k = 0; k < n; ++k) {
      h_ ^= o[k];
      h_ *= 1099511628211ull;
    }
  }
  template <class T>
  void valeur(T v) {
    octets(&v, sizeof v);
  }
  template <class T>
  void tableau(const std::vector<T>& v) {
    valeur<std::uint64_t>(v.size());
    if (!v.empty()) octets(v.data(), v.size() * sizeof(T));
  }
  std::uint64_t valeur() const { return h_; }

 private:
  std::uint64_t h_ = 14695981039346656037ull;
};

// Heights, distortion maps (when present) and the feature list of a terrain.
inline std::uint64_t empreinte_terrain(const Tmatrice& m) {
  Empreinte e;
  e.valeur(m.n);
  for (std::int32_t j = 1; j <= m.n; ++j)
    for (std::int32_t i = 1; i + j <= m.n + 1; ++i) {
      e.valeur(m.hauteurs->lire(i, j));
      if (m.dx) e.valeur(m.dx->lire(i, j));
      if (m.dy) e.valeur(m.dy->lire(i, j));
    }
  e.valeur(m.nombre_elements);
  e.tableau(m.liste_i);
  e.tableau(m.liste_j);
  e.tableau(m.liste_type);
  e.tableau(m.liste_attribut);
  e.valeur(m.cle);
  return e.valeur();
}

// The 64 bytes of the view statistics, field by field.
inline void ajouter_resultats(Empreinte& e, const resultats_vue& r) {
  e.valeur(r.altitude_moyenne);
  e.valeur(r.altitude_maxi);
  e.valeur(r.altitude_mini);
  e.valeur(r.niveau_mer);
  e.valeur(r.pente_faible);
  e.valeur(r.pente_moyenne);
  e.valeur(r.pente_forte);
  for (const auto& a : r.arbres)
    for (auto v : a) e.valeur(v);
  e.valeur(r.sources);
  e.valeur(r.longueur_rivieres);
}

inline std::string hexa(std::uint64_t v) {
  char s[24];
  std::snprintf(s, sizeof s, "0x%016llxull", static_cast<unsigned long long>(v));
  return s;
}
