// The colour table of a view: fixed entries for the sky, tree trunks and
// water, nine shading ramps of 12 x facteur steps, the optional lighter
// cast-shadow band, 32 misted copies of the ramps (big table) and 256 greys.
//
// Entry layout (F = facteur = 4):
//   1            sky colour (slot 11)
//   2..5         trunk colour (slot 12) x 0.4, 0.5, 0.8, 1.0
//   6            water colour darkened by one and a half steps
//   7            water colour (slot 10); 8..18 lightened by 1..11 steps
//   19..450      ramps of slots 1..9, 48 entries each, darkest first
//   451..666     cast-shadow band, 24 entries per slot (when built with it)
//   451..14850   big table: mist level L holds entries 1..450 at 450 L + 1..450 L + 450
//   nombre-255.. the grey ramp (v, v, v), v = 0..255
// Entries never written read (0, 0, 0).
//
// The band and its misted copies are also kept in a block of their own, so
// that a big table with the band still has every band entry at every mist
// level: couleur(index, niveau) is what facet drawing reads.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/interfaces.h"

class TMyPalette {
 public:
  static constexpr int kRampes = 9;
  static constexpr int kNiveauxBrume = 32;
  static constexpr int kEntreesBande = 216;  // 451..666
  // The water entries: the water colour (slot 10), the same darkened by one
  // and a half steps, and kEau + k lightened by k steps, k = 1..11. Water
  // facets take kEau + k - 1 for the k of their slope, darker in cast shadow;
  // with the sea reflection on, the entries below kEauSansReflet are mixed
  // with the picture already drawn behind the facet.
  static constexpr int kEauSombre = 6;
  static constexpr int kEau = 7;
  static constexpr int kEauClaire = 18;
  static constexpr int kEauSansReflet = 15;

  // creer: facteur 4, nombre 15107 (big) or 923; base colours loaded; no entry built.
  TMyPalette(bool grande, std::uint8_t drapeau);

  void charger_couleurs_base();
  // Colour k = 1..10: k <= 7 goes to slot k, k >= 8 to slot k + 2. Other k are ignored.
  void fixer_couleur(std::uint8_t k, std::uint8_t r, std::uint8_t g, std::uint8_t b);
  void construire(std::int32_t contraste, std::int32_t profondeur, bool bande_ombre, std::int32_t densite_brume);

  // An index above nombre reads entry 1; the index is a 16-bit value.
  Rgb lire_couleur(std::uint16_t index) const { return entrees_[std::size_t(index > nombre_ ? 1 : index)]; }
  void lire_couleur(std::uint16_t index, std::uint8_t& r, std::uint8_t& g, std::uint8_t& b) const;
  // Grey level 0..255 (above 255 reads 255).
  Rgb lire_gris(std::uint16_t niveau) const;

  // Entry `index` (1..666) at mist level `niveau` (0..32): index <= 450 reads
  // entry index + 450 niveau; 451..666 read the band block at that level. A small
  // table has no mist copies: its levels all read level 0. Other indices read as lire_couleur.
  // Inline: facet drawing reads an entry for every facet.
  Rgb couleur(int index, int niveau) const {
    if (!grande_ || niveau < 0) niveau = 0;
    if (niveau > kNiveauxBrume) niveau = kNiveauxBrume;
    if (index >= 1 && index <= 450) return entrees_[std::size_t(index + 450 * niveau)];
    if (index > 450 && index <= 450 + kEntreesBande) return bande_[std::size_t(niveau * kEntreesBande + index - 451)];
    return lire_couleur(std::uint16_t(index));
  }

  std::uint8_t facteur() const { return facteur_; }
  std::uint8_t drapeau() const { return drapeau_; }
  bool grande() const { return grande_; }
  bool brume_active() const { return brume_active_; }
  std::uint16_t nombre() const { return nombre_; }
  // Colour slot 1..12.
  Rgb slot(int s) const { return couleurs_[std::size_t(s - 1)]; }

 private:
  std::uint8_t facteur_ = 4;
  std::uint8_t drapeau_ = 0;
  bool grande_ = false;
  bool brume_active_ = true;
  std::uint16_t nombre_ = 923;
  std::array<Rgb, 12> couleurs_{};
  std::vector<Rgb> entrees_;                  // entries 0..nombre
  std::vector<Rgb> bande_;                    // 33 levels x 216 band entries
};

struct param_vue;

// The table a render of this view reads: big when the view has mist; the base
// colours when `couleurs_defaut`, else the view's ten colours; built with the
// view's contrast, shadow depth, cast shadows and mist density.
TMyPalette palette_pour_vue(const param_vue& vue);
