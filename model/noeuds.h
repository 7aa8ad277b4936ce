// Per-node layers over the triangular lattice of a terrain.
//
// A lattice of n nodes per side (n = 2^k + 1, at most 2049) holds the nodes
// (i, j) with i >= 1, j >= 1 and i + j <= n + 1. Storage has rows j = 0..n,
// row j holding the elements i = 0..n - j + 2; row 0, element 0 of every row
// and the last element of each row never hold a node. All elements start at
// zero. Reads outside the lattice give a fixed answer and writes outside are
// ignored; these accessors sit in the innermost loops, so they are inline and
// do only the bounds test.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/interfaces.h"  // Rgb

namespace detail {

// The storage and addressing shared by the four layer classes.
template <class Element>
class reseau_triangulaire {
 public:
  static constexpr std::int32_t n_maximal = 2049;

  // Throws ModelError unless 1 <= n <= 2049.
  explicit reseau_triangulaire(std::int32_t n);

  std::uint16_t n() const { return static_cast<std::uint16_t>(n_); }

  // Row j (0..n) of the storage for loops over whole rows: element i of the
  // row, 0 <= i <= n - j + 2, is rangee(j)[i]; its nodes are i = 1..n + 1 - j.
  const Element* rangee(std::int32_t j) const { return elements_.data() + lignes_[static_cast<std::size_t>(j)]; }

  // True when (i, j) is not a node of the lattice.
  bool dehors(std::int32_t i, std::int32_t j) const {
    return i < 1 || j < 1 || i > n_ || j > n_ || i + j > n_ + 1;
  }

 protected:
  Element& element(std::int32_t i, std::int32_t j) { return elements_[lignes_[j] + static_cast<std::size_t>(i)]; }
  const Element& element(std::int32_t i, std::int32_t j) const {
    return elements_[lignes_[j] + static_cast<std::size_t>(i)];
  }

 private:
  std::int32_t n_;
  std::vector<std::size_t> lignes_;  // offset of element 0 of each row
  std::vector<Element> elements_;
};

void verifier_taille(std::int32_t n);

template <class Element>
reseau_triangulaire<Element>::reseau_triangulaire(std::int32_t n) : n_(n) {
  verifier_taille(n);
  lignes_.resize(static_cast<std::size_t>(n) + 1);
  std::size_t total = 0;
  for (std::int32_t j = 0; j <= n; ++j) {
    lignes_[static_cast<std::size_t>(j)] = total;
    total += static_cast<std::size_t>(n - j + 3);
  }
  elements_.assign(total, Element{});
}

}  // namespace detail

// Heights in metres. Stored heights stay within -2000..4000; outside the
// lattice reads give -4000.
class Tnoeud : public detail::reseau_triangulaire<std::int32_t> {
 public:
  static constexpr std::int32_t hauteur_mini = -2000;
  static constexpr std::int32_t hauteur_maxi = 4000;
  static constexpr std::int32_t hors_reseau = -4000;

  explicit Tnoeud(std::int32_t n) : reseau_triangulaire(n) {}

  std::int32_t lire(std::int32_t i, std::int32_t j) const { return dehors(i, j) ? hors_reseau : element(i, j); }

  void ecrire(std::int32_t i, std::int32_t j, std::int32_t h) {
    if (dehors(i, j)) return;
    element(i, j) = std::clamp(h, hauteur_mini, hauteur_maxi);
    empreinte_ = 0;
  }

  void ajouter(std::int32_t i, std::int32_t j, std::int32_t delta) {
    if (dehors(i, j)) return;
    std::int32_t& h = element(i, j);
    const std::int64_t somme = static_cast<std::int64_t>(h) + delta;
    h = static_cast<std::int32_t>(std::clamp<std::int64_t>(somme, hauteur_mini, hauteur_maxi));
    empreinte_ = 0;
  }

  // Row j of the storage for writing every node of it in one loop (rangee(j)
  // gives the layout); the caller keeps heights within hauteur_mini..hauteur_maxi.
  std::int32_t* rangee_ecriture(std::int32_t j) {
    empreinte_ = 0;
    return const_cast<std::int32_t*>(rangee(j));
  }

  // A stamp of the heights as they are now: it changes with every write, and
  // two layers share one only when one was copied from the other and neither
  // was written since. A value computed from the heights (the highest node,
  // the view statistics) is kept with the stamp it was computed at and is
  // valid while the stamp is the same. Never 0.
  std::uint64_t empreinte() const;

 private:
  mutable std::uint64_t empreinte_ = 0;  // 0: written since the last stamp was given
};

// One byte per node: distortion maps (128 = no shift), their undo copies and
// the renderer's shadow map. Outside reads give 0.
class Tcooleen : public detail::reseau_triangulaire<std::uint8_t> {
 public:
  explicit Tcooleen(std::int32_t n) : reseau_triangulaire(n) {}

  std::uint8_t lire(std::int32_t i, std::int32_t j) const { return dehors(i, j) ? 0 : element(i, j); }

  void ecrire(std::int32_t i, std::int32_t j, std::uint8_t v) {
    if (!dehors(i, j)) element(i, j) = v;
  }

  // Row j of the storage for writing (rangee(j) gives the layout).
  std::uint8_t* rangee_ecriture(std::int32_t j) { return const_cast<std::uint8_t*>(rangee(j)); }
};

// Two 16-bit words per node: a work map of the renderer.
struct mots_couverture {
  std::uint16_t premier = 0;
  std::uint16_t second = 0;
};

class Tcouverture : public detail::reseau_triangulaire<mots_couverture> {
 public:
  explicit Tcouverture(std::int32_t n) : reseau_triangulaire(n) {}

  // Outside the lattice the out-parameters are left as they were.
  void lire(std::int32_t i, std::int32_t j, std::uint16_t& premier, std::uint16_t& second) const {
    if (dehors(i, j)) return;
    const mots_couverture& m = element(i, j);
    premier = m.premier;
    second = m.second;
  }

  void ecrire(std::int32_t i, std::int32_t j, std::uint16_t premier, std::uint16_t second) {
    if (!dehors(i, j)) element(i, j) = mots_couverture{premier, second};
  }
};

// A colour per node. A fresh layer is black; outside reads give black.
class Tphoto : public detail::reseau_triangulaire<Rgb> {
 public:
  explicit Tphoto(std::int32_t n) : reseau_triangulaire(n) {}

  void lire(std::int32_t i, std::int32_t j, Rgb& couleur) const { couleur = dehors(i, j) ? Rgb{} : element(i, j); }
  Rgb lire(std::int32_t i, std::int32_t j) const { return dehors(i, j) ? Rgb{} : element(i, j); }

  // couleur is 0x00BBGGRR: byte 0 is red, byte 1 green, byte 2 blue.
  void ecrire(std::int32_t i, std::int32_t j, std::uint32_t couleur) {
    if (dehors(i, j)) return;
    element(i, j) = Rgb{static_cast<std::uint8_t>(couleur & 0xFFu), static_cast<std::uint8_t>((couleur >> 8) & 0xFFu),
                        static_cast<std::uint8_t>((couleur >> 16) & 0xFFu)};
  }
};
