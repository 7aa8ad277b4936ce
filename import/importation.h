// The headless core of the terrain import: an elevation source (USGS DEM in
// its ASCII form, a text grid, a Geoconcept grid or a bitmap) read into a grid
// of heights, the triangle that frames the part to import, and the resampling
// of that part onto the triangular lattice of a new terrain.
//
// The import window keeps one Importation, lets the reader fill it, moves the
// frame and the settings, runs faire_importation and hands the result over in
// its window contract: degre, taille = n, parametres, commentaire and terrain.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/interfaces.h"
#include "model/matrice.h"
#include "model/outils.h"
#include "model/records.h"
#include "platform/fichiers.h"
#include "render/raster.h"

namespace model {
class TextReader;
}

// Height encoding of a picture pixel, h >= 0: pure blue for 0 (sea); the
// narrow encoding holds 0..511, the wide one 0..8191.
Rgb encoder_hauteur(std::int32_t h, bool large);
// The height of a pixel colour: the sum of the components for a bitmap
// source, else the narrow or wide decoding. Pure blue and black give 0.
std::int32_t decoder_couleur(std::uint8_t r, std::uint8_t g, std::uint8_t b, bool bitmap, bool large);

// Mesh degree proposed for a W x H source: 8, 9 when W > 500, 10 when both
// exceed 1000, 11 when both exceed 2000.
std::uint16_t degre_propose_pour(std::int32_t largeur, std::int32_t hauteur);

// The equilateral triangle framed over the source, in source pixels.
struct cadre_import {
  static constexpr double decalage_1 = -5.0 * 3.14159265358979323846 / 6;  // vertex angle offsets
  static constexpr double decalage_2 = -3.14159265358979323846 / 6;
  static constexpr double decalage_3 = 3.14159265358979323846 / 2;

  std::int32_t cx = 0, cy = 0;               // centre
  double rotation = 3.14159265358979323846;  // radians; upright at pi
  double R0 = 0.0;                           // base radius
  double L0 = 0.0;                           // base side
  double f = 1.0;                            // frame scale

  // The frame of a freshly read W x H source: centre (Round(0.5 W),
  // Round(0.6 H)), R0 = 0.55 W, L0 = Round(sqrt(3) R0) computed as the
  // window always has, rotation pi, scale 1.
  static cadre_import par_defaut(std::int32_t largeur, std::int32_t hauteur);
  double rayon() const { return R0 * f; }
  double cote() const { return L0 * f; }
  // The three vertices, in the order of the offsets above.
  std::array<render::Point, 3> sommets() const;
};

// The smoothing run after the resampling; the default runs the edit
// dispatcher. Tests replace it to see the arguments and the stroke start.
using lisseur_import = std::function<void(Tmatrice&, const arguments_outil&, controle_outil&)>;
void lisser_import(Tmatrice& terrain, const arguments_outil& a, controle_outil& c);

class Importation {
 public:
  static constexpr std::int32_t taille_maxi = 2048;  // largest W and H

  // Reads a ".DEM", ".TXT", ".MNT" or ".BMP" source, chosen by the upper-cased
  // last four characters of the path, with a copy of the creation
  // parameters. Empty on success, otherwise the reason for the user, which
  // names the file ("The file ... cannot be imported: ...") and the place:
  // a line of a text grid, or the record, field and byte of a DEM's
  // fixed-width records. A cancel during reading keeps what was read and
  // still succeeds.
  Echec importer(const std::string& chemin, const param_mat& p, ProgressSink* attente, WindowHandle fenetre);
  Echec importer_altitudes(const std::string& chemin, const param_mat& p, ProgressSink* attente,
                           WindowHandle fenetre);
  Echec importer_bmp(const std::string& chemin, const param_mat& p);
  // Loads the aerial picture beside an elevation source (same name, ".jpg")
  // when it exists and is exactly W x H; then utiliser_photo is set.
  bool charger_photo_aerienne(const std::string& chemin_source);

  // Decoded height of pixel (x, y): the elevation (0 for sea) or, for a
  // bitmap, the sum of the components. 0 outside the grid.
  std::int32_t hauteur_pixel(std::int32_t x, std::int32_t y) const {
    if (x < 0 || y < 0 || x >= largeur || y >= hauteur) return 0;
    return grille[static_cast<std::size_t>(y) * static_cast<std::size_t>(largeur) + static_cast<std::size_t>(x)];
  }
  // The picture shown to the user: the bitmap itself, or the grid in the
  // narrow or wide height encoding.
  render::Bitmap image() const;

  // Resamples the framed part into `terrain` at mesh degree `degre`. A cancel
  // stops the node loop, skips the smoothing and still leaves the terrain.
  // ModelError when a scaled height leaves the 32-bit range; then no terrain.
  void faire_importation(ProgressSink* attente, WindowHandle fenetre, const lisseur_import& lisseur = lisser_import);

  // Source.
  std::vector<std::int32_t> grille;  // W x H decoded heights, row 0 at the top
  std::int32_t largeur = 0, hauteur = 0;
  std::string extension;  // ".DEM", ".TXT", ".MNT" or ".BMP"
  bool dem = false;
  bool large = false;  // the wide encoding (maximum above 511)
  bool chargee = false;
  // Minimum and maximum read; the window's altitude bars change them (Mini, Maxi).
  std::int32_t minimum = 8000, maximum = -4000;
  std::int32_t niveau_dem = 0;  // DEM level code; 0 for other sources
  std::uint16_t degre_propose = 8;
  std::string description;   // text of the source's header (the fifth status panel)
  std::string texte_taille;  // "Size: W X H"
  std::string commentaire;   // comment line of the new terrain
  render::Bitmap bitmap;     // a bitmap source, cut to the grid

  // Settings.
  param_mat parametres;  // copy of the main window's creation parameters
  cadre_import cadre;
  std::uint16_t degre = 8;  // mesh degree of the new terrain, 5..11
  bool lissage = false;     // "Smooth"
  bool utiliser_photo = false;
  std::optional<render::Bitmap> photo;  // the aerial picture, W x H

  // Result.
  std::unique_ptr<Tmatrice> terrain;
  std::int32_t taille = 0;      // nodes per side of the terrain
  bool couleurs_photo = false;  // the terrain has its photo colours (not cancelled)

  // More of a DEM's text, read on to where the reader `r` stands: false at
  // the end of the file.
  using SuiteTexte = std::function<bool(model::TextReader& r)>;

 private:
  void nouvelle_source(const std::string& ext);
  void fin_lecture();
};
