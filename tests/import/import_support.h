// Sources written by the import tests: text grids, hand-made DEM files laid
// out like USGS records, bitmaps, and a scratch folder.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "import/importation.h"
#include "platform/messages.h"
#include "render/bmp.h"

namespace import_test {

namespace fs = std::filesystem;

// A folder removed with its files at the end of the test.
struct Dossier {
  fs::path d;
  explicit Dossier(const std::string& nom)
      : d(fs::temp_directory_path() / ("quorvel-import-" + nom + "-" + std::to_string(::getpid()))) {
    fs::create_directories(d);
  }
  ~Dossier() {
    std::error_code e;
    fs::remove_all(d, e);
  }
  std::string chemin(const std::string& nom) const { return (d / nom).string(); }
};

// The scratch folder of the sources a test program writes, removed at its end.
inline const Dossier& dossier_sources() {
  static const Dossier d("lus");
  return d;
}

// Writes `octets` as the file `nom` of that folder; its path.
inline std::string fichier_source(const std::string& nom, const std::string& octets) {
  const std::string chemin = dossier_sources().chemin(nom);
  if (!ecrire_fichier(chemin, octets).empty()) throw std::runtime_error("cannot write " + chemin);
  return chemin;
}

// Writes a source as the file `nom` and imports it as the import window
// does; the reason, empty on success.
inline std::string importer_source(Importation& imp, const std::string& nom, const std::string& octets,
                                   ProgressSink* attente = nullptr, WindowHandle fenetre = 0) {
  return imp.importer(fichier_source(nom, octets), param_mat{}, attente, fenetre);
}

// A window whose queue carries the cancel message.
struct Fenetre {
  platform::WindowHandle h = platform::register_window([](const platform::Message&) -> std::intptr_t { return 0; });
  ~Fenetre() {
    while (platform::peek(h, 0, 0xFFFFFFFF, true)) {
    }
    platform::unregister_window(h);
  }
};

// A text grid of `lignes` lines of `colonnes` values valeur(line, column),
// both 1-based; LF or CR LF line ends, the last one left out on request.
inline std::string grille_txt(int lignes, int colonnes, const std::function<int(int, int)>& valeur, bool crlf = false,
                              bool derniere_fin = true) {
  std::string s;
  for (int q = 1; q <= lignes; ++q) {
    for (int p = 1; p <= colonnes; ++p) {
      if (p > 1) s += ' ';
      s += std::to_string(valeur(q, p));
    }
    if (q < lignes || derniere_fin) s += crlf ? "\r\n" : "\n";
  }
  return s;
}

// Right-aligned field of `largeur` characters.
inline std::string champ(long long v, int largeur = 6) {
  std::string s = std::to_string(v);
  if (static_cast<int>(s.size()) < largeur) s.insert(0, static_cast<std::size_t>(largeur) - s.size(), ' ');
  return s;
}

inline void bloc(std::string& s) {
  if (s.size() % 1024) s.append(1024 - s.size() % 1024, ' ');
}

// Record A of a DEM: the name, level code, ..., and the profile count where a
// USGS writer puts them.
inline std::string record_a(int niveau, long long profils, const std::string& nom = "synthetic grid") {
  std::string a = nom;
  a.resize(144, ' ');
  a += champ(niveau) + champ(1) + champ(0) + champ(0);
  for (int k = 0; k < 15; ++k) a += std::string(21, ' ') + "0.0";
  a += champ(2) + champ(2) + champ(4);
  a.append(192 + 48 + 24, ' ');  // corners, range, angle
  a += champ(0);
  a.append(36, ' ');  // resolution
  a += champ(1) + champ(profils);
  bloc(a);
  return a;
}

// A profile: row 1, column p, its values from south to north.
inline std::string profil_b(int p, const std::vector<int>& valeurs) {
  std::string b = champ(1) + champ(p) + champ(static_cast<long long>(valeurs.size())) + champ(1);
  b.append(120, ' ');
  for (int v : valeurs) {
    if (b.size() % 1024 > 1018) bloc(b);
    b += champ(v);
  }
  bloc(b);
  return b;
}

// A DEM whose profiles are given column by column.
inline std::string dem(int niveau, const std::vector<std::vector<int>>& profils) {
  std::string s = record_a(niveau, static_cast<long long>(profils.size()));
  for (std::size_t p = 0; p < profils.size(); ++p) s += profil_b(static_cast<int>(p) + 1, profils[p]);
  return s;
}

// A W x W DEM whose every value is v.
inline std::string dem_plat(int niveau, int w, int v) {
  return dem(niveau, std::vector<std::vector<int>>(static_cast<std::size_t>(w), std::vector<int>(w, v)));
}

// A 24-bit bitmap file of W x H pixels couleur(x, y).
inline std::string bmp(const Dossier& d, const std::string& nom, int w, int h,
                       const std::function<render::Pixel(int, int)>& couleur) {
  render::Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.at(x, y) = couleur(x, y);
  const std::string chemin = d.chemin(nom);
  render::ecrire_bmp(chemin, b);
  return chemin;
}

inline std::string fixture(const std::string& nom) {
  return std::string(QUORVEL_SOURCE_DIR) + "/tests/data/import/" + nom;
}

}  // namespace import_test
