// The sky and sea picture: above the horizon a light banded sky, a fractal
// cloudy sky or an imported picture; below it the sky mirrored with wave
// offsets and sun glitter, or graded bands of water colour. The horizontal
// wave offset of each reflected row is kept for facet drawing.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "model/interfaces.h"
#include "model/records.h"
#include "render/palette.h"
#include "render/phases.h"
#include "render/raster.h"

namespace render {

struct EntreeCiel {
  std::int32_t ligne_horizon = 0;
  std::int32_t ligne_terre = 0;     // the land top row
  std::int32_t hauteur_coins = 0;   // mean height of the two top corners
  std::int32_t largeur = 0, hauteur = 0;
  double cos_elevation = 0.0;       // cos(e - v)
  double cos_azimut = 0.0;          // cos(azimut_soleil)
  const param_vue* vue = nullptr;
  Bitmap* image = nullptr;          // the target picture
  const TMyPalette* palette = nullptr;
  bool soleil_visible = false;
  Point soleil;                     // the sun's pixel when visible
  ProgressSink* attente = nullptr;  // progress window or none
  WindowHandle fenetre = 0;         // polled for the cancel message
  std::string dossier_ciels;        // the program's sky picture folder
};

struct SortieCiel {
  std::int32_t seed_nuages = 0;
  bool soleil_dessine = false;
  std::int32_t nombre_decalages = 0;
  bool annule = false;
};

// The largest picture side the program renders (a view's picture; movie
// frames and previews are smaller).
inline constexpr std::int64_t kCoteImageMaxi = 8192;
// The largest sky the renderer draws, and so the largest sky picture read: a
// sky is Round(1.02 x the picture's width) wide and an imported picture is
// stretched over at most the picture's height + 4 rows. A sky file whose
// header claims more pixels is taken as missing before anything is decoded (a
// few bytes of run-length data, or a few hundred kilobytes of progressive
// JPEG data, can claim a picture of gigabytes).
inline constexpr std::int64_t kCielLargeurMaxi = (kCoteImageMaxi * 102 + 50) / 100;
inline constexpr std::int64_t kCielPixelsMaxi = kCielLargeurMaxi * (kCoteImageMaxi + 4);

// The sky picture file that a stored path designates: the path itself when it
// names an existing file, else the name after its last '\' or '/' in the sky
// folder. Empty when there is none or its extension is not exactly ".bmp" or ".jpg".
std::string fichier_ciel_utilisable(const std::string& chemin, const std::string& dossier);

// Why the sky would leave out the picture of this ".bmp" or ".jpg" file, read
// with the sky's own limit: a bitmap is walked without keeping its pixels, a
// JPEG picture's header alone is read (nothing is decoded). Empty when the
// sky can draw it.
std::string raison_ciel_illisible(const std::string& chemin);

// The threshold L of the cloud grid's values above which a value is cloud,
// from the view's cloud size (taken within -5..20): 0 to 250.
std::int32_t seuil_nuages(std::int32_t taille_nuages);

class TCiel : public CielDessine {
 public:
  static constexpr std::int32_t kDecalages = 1024;

  SortieCiel dessiner_ciel(const EntreeCiel& e);
  // 0 for k < 1 or k at or past the offset count.
  std::int32_t decalage_vague(std::int32_t k) const override;

  std::int32_t hauteur_ciel() const { return hauteur_ciel_; }
  std::int32_t largeur_ciel() const { return largeur_ciel_; }
  std::int32_t nombre_decalages() const { return nombre_decalages_; }

 private:
  struct Couleur {
    std::int32_t c[3];  // r, g, b
  };
  static Couleur couleur_de(Rgb c) { return {{c.r, c.g, c.b}}; }
  static Pixel pixel_de_couleur(const Couleur& c);

  void ciel_clair();
  void ciel_image();
  void reflet();
  void scintillement(std::int32_t R, const Couleur& c);
  void mer_sans_reflet();
  void progression_ciel(std::uint16_t increment);
  void bande(std::int64_t y0, std::int64_t y1, const Couleur& c);

  // The cloud builder (nuages.cpp) and its steps.
  void nuages();
  void graine_nuages();
  std::int32_t premiere_bande(std::int32_t hc, std::int32_t lc) const;
  void construire_rampe(std::int32_t L, const std::int32_t* couleur_ciel);
  void remplir_grille(std::int32_t hc, std::int32_t lc, std::int32_t bande);
  void colorer_ciel(std::int32_t hc, std::int32_t lc, std::int32_t L, const std::int32_t* couleur_ciel);
  void disque_soleil(std::int32_t hc, std::int32_t lc, std::int32_t L);
  void subdiviser_nuages(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
  std::uint8_t decalage_nuage(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
  std::uint8_t& g(std::int32_t x, std::int32_t y) {
    return grille_[std::size_t(y) * std::size_t(pas_grille_) + std::size_t(x)];
  }

  EntreeCiel e_;
  param_vue vue_;
  std::int32_t hauteur_ciel_ = 0, largeur_ciel_ = 0;
  std::string fichier_ciel_;
  std::array<std::int8_t, kDecalages> decalages_{};
  std::int32_t nombre_decalages_ = 0;
  bool annule_ = false;
  bool soleil_dessine_ = false;
  std::int32_t seed_ = 0;

  // Cloud builder state.
  std::vector<std::uint8_t> grille_;
  std::int32_t pas_grille_ = 0;
  std::int32_t echelle_ = 1;   // S
  std::int64_t compteur_ = 0, seuil_ = 0;
  struct CoutLigne {
    std::uint64_t tirages = 0, larges = 0;
    std::uint32_t A = 1, C = 0;  // the generator's move over those draws
  };
  CoutLigne cout_ligne(std::int32_t w);
  std::map<std::int32_t, CoutLigne> couts_;

 public:
  // The colour ramp of the grid's values of the last cloud build.
  const std::array<std::array<std::uint16_t, 3>, 256>& rampe() const { return rampe_; }

 private:
  std::array<std::array<std::uint16_t, 3>, 256> rampe_{};
};

// The render's sky phase: one TCiel per render, kept in the context until the end.
class PhaseCielDessin : public PhaseCiel {
 public:
  ResultatCiel dessiner_ciel(RenderContext& ctx, const DemandeCiel& demande) override;
};

}  // namespace render
