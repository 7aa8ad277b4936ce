// Readers of the elevation sources. Each fills the grid of decoded heights in
// one pass: values above 8000 are cut, the minimum and the maximum follow the
// values as read, negative values are stored as 0 (sea). The placement keeps
// the layout the import has always had: a text grid bottom up, a Geoconcept
// grid top down, DEM profiles as columns with their south end at the bottom,
// each shifted by one pixel (column 0 and one edge row stay sea).
#include <algorithm>
#include <fstream>
#include <optional>
#include <utility>
#include <string_view>

#include "import/importation.h"
#include "model/aleatoire.h"
#include "model/texte.h"
#include "render/bmp.h"
#include "render/jpeg.h"

namespace {

using model::ReadError;
using model::TextReader;

// A rejected source; what() is the reason for the user.
struct Refus {
  std::string raison;
};

// Reading progress: the progress window looks at its input once per row, a
// queued cancel stops the reading, and the bar moves 5 % every `pas` rows.
class Progres {
 public:
  Progres(ProgressSink* attente, WindowHandle fenetre, std::string_view legende, std::int32_t lignes)
      : attente_(attente), fenetre_(fenetre), pas_(std::max(1, Round(lignes * 0.05))) {
    if (!attente_) return;
    attente_->take_focus();
    attente_->demarrer(fenetre_);
    attente_->avancer(legende, 0);
  }
  // False once the user has cancelled.
  bool ligne() {
    if (!attente_) return true;
    attente_->tester_annulation();
    if (cancel_requested(fenetre_)) return false;
    if (++compteur_ >= pas_) {
      attente_->avancer(std::nullopt, 5);
      compteur_ = 0;
    }
    return true;
  }

 private:
  ProgressSink* attente_;
  WindowHandle fenetre_;
  std::int32_t pas_;
  std::int32_t compteur_ = 0;
};

// The grid being filled, with the minimum and maximum.
struct Remplissage {
  Importation& imp;

  // Takes one value read and stores it at (x, y) when that pixel exists.
  void valeur(std::int32_t v, std::int64_t x, std::int64_t y) {
    v = std::min(v, 8000);
    imp.minimum = std::min(imp.minimum, v);
    imp.maximum = std::max(imp.maximum, v);
    if (x < 0 || y < 0 || x >= imp.largeur || y >= imp.hauteur) return;
    imp.grille[static_cast<std::size_t>(y) * static_cast<std::size_t>(imp.largeur) + static_cast<std::size_t>(x)] =
        std::max(v, 0);
  }
};

// Reads an integer of the data; nullopt at the end of the text (a short
// file keeps what was read), ReadError for anything else.
std::optional<std::int32_t> entier_donnee(TextReader& r, bool champ) {
  try {
    return champ ? r.read_field_int() : r.read_int();
  } catch (const ReadError&) {
    if (r.eof()) return std::nullopt;
    throw;
  }
}

void taille_grille(Importation& imp, std::int32_t w, std::int32_t h) {
  imp.largeur = std::min(w, Importation::taille_maxi);
  imp.hauteur = std::min(h, Importation::taille_maxi);
  imp.grille.assign(static_cast<std::size_t>(imp.largeur) * static_cast<std::size_t>(imp.hauteur), 0);
  imp.minimum = 8000;
  imp.maximum = -4000;
  imp.degre_propose = degre_propose_pour(imp.largeur, imp.hauteur);
}

bool octet_nul(std::string_view s) { return s.find('\0') != std::string_view::npos; }

// Text grid: N + 1 lines make an N x N grid; line q goes to row N - q.
void lire_txt(Importation& imp, TextReader& r, ProgressSink* attente, WindowHandle fenetre) {
  const std::size_t lignes = r.line_count();
  if (lignes < 251)
    throw Refus{"a text grid needs at least 251 lines; this one has " + std::to_string(lignes)};
  const std::int64_t n_lu = static_cast<std::int64_t>(lignes) - 1;
  const std::int32_t n = static_cast<std::int32_t>(std::min<std::int64_t>(n_lu, INT32_MAX));
  imp.niveau_dem = 0;
  taille_grille(imp, n, n);
  Remplissage remplir{imp};
  Progres progres(attente, fenetre, "ASCII-Z file reading ... ", imp.hauteur);
  for (std::int32_t q = 1; q <= imp.largeur && !r.eof(); ++q) {
    if (!progres.ligne()) break;
    for (std::int32_t p = 1; p <= n && r.more_on_line(); ++p) remplir.valeur(r.read_int(), p, imp.largeur - q);
    r.skip_line();
  }
}

// Geoconcept grid: a header line, then H rows of W values, top down.
void lire_mnt(Importation& imp, TextReader& r, ProgressSink* attente, WindowHandle fenetre) {
  const std::string champ_1 = r.read_chars(4);
  r.read_int();
  const std::string champ_2 = r.read_chars(16);
  if (octet_nul(champ_1) || octet_nul(champ_2)) throw Refus{"the Geoconcept header holds a zero byte"};
  imp.description = champ_1.substr(0, 3) + champ_2.substr(0, 15);
  for (int k = 0; k < 5; ++k) r.read_real();
  const std::int32_t w = r.read_int();
  const std::int32_t h = r.read_int();
  r.skip_line();
  if (w < 100) throw Refus{"the Geoconcept grid is " + std::to_string(w) + " columns wide; at least 100 are needed"};
  if (h < 1) throw Refus{"the Geoconcept grid announces " + std::to_string(h) + " rows; at least 1 is needed"};
  imp.niveau_dem = 0;
  taille_grille(imp, w, h);
  Remplissage remplir{imp};
  Progres progres(attente, fenetre, "ASCII-Z file reading ... ", imp.hauteur);
  for (std::int32_t q = 1; q <= imp.hauteur && !r.eof(); ++q) {
    if (!progres.ligne()) break;
    for (std::int32_t p = 1; p <= w && r.more_on_line(); ++p) remplir.valeur(r.read_int(), p, q);
    r.skip_line();
  }
}

// Adds `lignes` rows of sea at the top of the grid.
void agrandir_vers_le_haut(Importation& imp, std::int32_t nouvelle_hauteur) {
  const std::size_t ajout =
      static_cast<std::size_t>(nouvelle_hauteur - imp.hauteur) * static_cast<std::size_t>(imp.largeur);
  imp.grille.insert(imp.grille.begin(), ajout, 0);
  imp.hauteur = nouvelle_hauteur;
}

// USGS DEM, record A then the B profiles (one per column, south to north).
void lire_dem(Importation& imp, TextReader& r, ProgressSink* attente, WindowHandle fenetre) {
  const std::string nom = r.read_chars(148);
  if (octet_nul(nom)) throw Refus{"the DEM header holds a zero byte"};
  imp.niveau_dem = r.read_int();
  for (int k = 0; k < 3; ++k) r.read_int();
  r.read_chars(255);
  r.read_chars(105);
  for (int k = 0; k < 3; ++k) r.read_int();
  r.read_chars(255);
  r.read_chars(52);
  r.read_int();
  const std::int32_t profils = r.read_int();
  r.read_chars(158);
  if (profils < 10) throw Refus{"the DEM has " + std::to_string(profils) + " profiles; at least 10 are needed"};
  if (profils > Importation::taille_maxi)
    throw Refus{"the DEM has " + std::to_string(profils) + " profiles; at most 2048 can be read"};
  imp.description = nom.substr(0, 64);
  taille_grille(imp, profils, profils);
  Remplissage remplir{imp};
  Progres progres(attente, fenetre, "DEM file reading ... ", imp.hauteur);
  for (std::int32_t p = 1; p <= imp.largeur && !r.eof(); ++p) {
    if (!progres.ligne()) break;
    std::int32_t entete[4];
    for (std::int32_t& v : entete) {
      const auto lu = entier_donnee(r, true);
      if (!lu) return;
      v = *lu;
    }
    r.read_chars(120);
    const std::int32_t m = entete[2];
    if (entete[0] == 1 && imp.hauteur < m && m < Importation::taille_maxi) agrandir_vers_le_haut(imp, m);
    for (std::int64_t q = 1; q <= m; ++q) {
      const auto v = entier_donnee(r, true);
      if (!v) return;
      if (q < imp.hauteur) remplir.valeur(*v, p, imp.hauteur - q);
    }
  }
}

// The size a JPEG file's frame header gives, read without decoding: the
// markers are walked up to the first frame header (SOF0..SOF15 but DHT, JPG
// and DAC). Nullopt for a file that is no JPEG or has no frame header before
// its scan.
std::optional<std::pair<std::int32_t, std::int32_t>> taille_jpeg(const std::string& chemin) {
  std::ifstream f(chemin, std::ios::binary);
  auto lire = [&f](int n) -> std::optional<std::uint32_t> {
    std::uint32_t v = 0;
    for (int k = 0; k < n; ++k) {
      const int c = f.get();
      if (c == EOF) return std::nullopt;
      v = v << 8 | std::uint32_t(c);
    }
    return v;
  };
  if (lire(2) != 0xFFD8u) return std::nullopt;
  for (;;) {
    auto marque = lire(1);
    if (marque != 0xFFu) return std::nullopt;
    while (marque == 0xFFu) marque = lire(1);  // fill bytes
    if (!marque) return std::nullopt;
    const std::uint32_t m = *marque;
    if (m == 0xD8 || (m >= 0xD0 && m <= 0xD7) || m == 0x01) continue;  // no length
    if (m == 0xDA || m == 0xD9) return std::nullopt;                    // scan or end first
    const auto longueur = lire(2);
    if (!longueur || *longueur < 2) return std::nullopt;
    if (m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC) {
      const auto precision = lire(1), h = lire(2), w = lire(2);
      if (!precision || !h || !w) return std::nullopt;
      return std::pair{std::int32_t(*w), std::int32_t(*h)};
    }
    f.seekg(std::streamoff(*longueur) - 2, std::ios::cur);
    if (!f) return std::nullopt;
  }
}

}  // namespace

void Importation::nouvelle_source(const std::string& ext) {
  grille.clear();
  largeur = hauteur = 0;
  extension = ext;
  dem = ext == ".DEM";
  large = false;
  chargee = false;
  niveau_dem = 0;
  description.clear();
  texte_taille.clear();
  commentaire.clear();
  bitmap = render::Bitmap();
  photo.reset();
  utiliser_photo = false;
  terrain.reset();
  taille = 0;
  couleurs_photo = false;
}

void Importation::fin_lecture() {
  texte_taille = "Size: " + std::to_string(largeur) + " X " + std::to_string(hauteur);
  large = maximum > 511;
  chargee = true;
  degre = degre_propose;
  cadre = cadre_import::par_defaut(largeur, hauteur);
}

Echec Importation::importer(const std::string& chemin, const param_mat& p, ProgressSink* attente,
                            WindowHandle fenetre) {
  if (fin_majuscule(chemin) == ".BMP") return importer_bmp(chemin, p);
  return importer_altitudes(chemin, p, attente, fenetre);
}

Echec Importation::importer_altitudes(const std::string& chemin, const param_mat& p, ProgressSink* attente,
                                      WindowHandle fenetre) {
  parametres = p;
  const std::string ext = fin_majuscule(chemin);
  if (ext != ".DEM" && ext != ".TXT" && ext != ".MNT")
    return "the file name must end in .dem, .txt, .mnt or .bmp";
  std::string raison;
  auto octets = lire_fichier(chemin, &raison);
  if (!octets) return raison;
  return lire_altitudes(std::move(*octets), chemin, attente, fenetre);
}

Echec Importation::lire_altitudes(std::string octets, const std::string& chemin, ProgressSink* attente,
                                  WindowHandle fenetre) {
  const std::string ext = fin_majuscule(chemin);
  if (ext != ".DEM" && ext != ".TXT" && ext != ".MNT")
    return "the file name must end in .dem, .txt, .mnt or .bmp";
  nouvelle_source(ext);
  TextReader r(std::move(octets));
  try {
    if (ext == ".TXT") lire_txt(*this, r, attente, fenetre);
    else if (ext == ".MNT") lire_mnt(*this, r, attente, fenetre);
    else lire_dem(*this, r, attente, fenetre);
  } catch (const Refus& e) {
    nouvelle_source(ext);
    return e.raison;
  } catch (const ReadError& e) {
    nouvelle_source(ext);
    return e.what();
  }
  commentaire = ext == ".TXT" ? "Importation of " + nom_sans_dossier(chemin) : description;
  fin_lecture();
  return {};
}

Echec Importation::importer_bmp(const std::string& chemin, const param_mat& p) {
  parametres = p;
  nouvelle_source(".BMP");
  render::Bitmap lu;
  std::string raison;
  // Only the top-left corner that the import keeps is decoded.
  if (!render::lire_bmp(chemin, lu, &raison, taille_maxi)) return "the bitmap cannot be read: " + raison;
  largeur = lu.width();
  hauteur = lu.height();
  bitmap.reset(largeur, hauteur);
  grille.assign(static_cast<std::size_t>(largeur) * static_cast<std::size_t>(hauteur), 0);
  for (std::int32_t y = 0; y < hauteur; ++y)
    for (std::int32_t x = 0; x < largeur; ++x) {
      const render::Pixel px = lu.at(x, y);
      bitmap.at(x, y) = px;
      const Rgb c = render::rgb_of(px);
      grille[static_cast<std::size_t>(y) * static_cast<std::size_t>(largeur) + static_cast<std::size_t>(x)] =
          decoder_couleur(c.r, c.g, c.b, true, false);
    }
  minimum = -1;
  maximum = 1000;
  degre_propose = degre_propose_pour(largeur, hauteur);
  commentaire = "Importation bitmap BMP";
  fin_lecture();
  large = false;
  return {};
}

bool Importation::charger_photo_aerienne(const std::string& chemin_source) {
  const std::string chemin = changer_extension(chemin_source, ".jpg");
  if (!fichier_existe(chemin)) return false;
  // Its header must give the source's size before anything is decoded.
  if (taille_jpeg(chemin) != std::pair{largeur, hauteur}) return false;
  render::Bitmap lu;
  if (!render::lire_jpeg(chemin, lu) || lu.width() != largeur || lu.height() != hauteur) return false;
  photo = std::move(lu);
  utiliser_photo = true;
  return true;
}
