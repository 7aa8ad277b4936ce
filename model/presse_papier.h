// The relief clipboard of the editor's Copy and Paste tools.
#pragma once

#include <cstdint>
#include <vector>

#include "model/outils.h"

class Tmatrice;

// A square of copied relief, indexed from the first row and column of the
// Copy's tool area. Reads outside what it holds give 0.
class presse_papier_relief {
 public:
  // cote: side of the square; n: nodes per side of the terrain copied from.
  presse_papier_relief(std::int32_t cote, std::int32_t n)
      : cote_(cote), n_(n), valeurs_(static_cast<std::size_t>(cote) * cote, 0) {}

  std::int32_t cote() const { return cote_; }
  // The lattice the relief was copied from.
  std::int32_t n() const { return n_; }
  std::int32_t lire(std::int32_t a, std::int32_t b) const {
    if (a < 0 || b < 0 || a >= cote_ || b >= cote_) return 0;
    return valeurs_[static_cast<std::size_t>(a) * cote_ + b];
  }
  // Clamped to -2000..4000, as heights are.
  void ecrire(std::int32_t a, std::int32_t b, std::int32_t v);

 private:
  std::int32_t cote_;
  std::int32_t n_;
  std::vector<std::int16_t> valeurs_;
};

// The disc of Copy and Paste for a base width on a lattice of n nodes a side:
// its radius R in nodes (1..n) and the margin 2R + 1 between the clipboard's
// first row or column and the centre node.
struct disque_presse_papier {
  std::int32_t R;
  std::int32_t marge;
};
disque_presse_papier geometrie_presse_papier(std::int32_t n, std::int32_t largeur);

void outil_copier_relief(Tmatrice& m, const arguments_outil& a, controle_outil& c);
void outil_coller_relief(Tmatrice& m, const arguments_outil& a, controle_outil& c);
