// Readers of the elevation sources. Each fills the grid of decoded heights in
// one pass: values above 8000 are cut, the minimum and the maximum follow the
// values as read, negative values are stored as 0 (sea). The placement keeps
// the layout the import has always had: a text grid bottom up, a Geoconcept
// grid top down, DEM profiles as columns with their south end at the bottom,
// each shifted by one pixel (column 0 and one edge row stay sea).
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "import/importation.h"
#include "model/aleatoire.h"
#include "model/texte.h"
#include "platform/page_de_code.h"
#include "render/bmp.h"
#include "render/image.h"
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

// The grid being filled, with the minimum and maximum of the values taken,
// kept here while a grid or a DEM profile is read; the reader hands them to
// the source at its end.
struct Remplissage {
  Importation& imp;
  std::int32_t minimum = 8000, maximum = -4000;

  // Takes one value read into the minimum and maximum; gives the height the
  // grid keeps for it.
  std::int32_t prendre(std::int32_t v) {
    v = std::min(v, 8000);
    minimum = std::min(minimum, v);
    maximum = std::max(maximum, v);
    return std::max(v, 0);
  }
  // Takes one value read and stores it at (x, y) when that pixel exists.
  void valeur(std::int32_t v, std::int64_t x, std::int64_t y) {
    const std::int32_t h = prendre(v);
    if (x < 0 || y < 0 || x >= imp.largeur || y >= imp.hauteur) return;
    imp.grille[static_cast<std::size_t>(y) * static_cast<std::size_t>(imp.largeur) + static_cast<std::size_t>(x)] = h;
  }
};

void taille_grille(Importation& imp, std::int32_t w, std::int32_t h) {
  imp.largeur = std::min(w, Importation::taille_maxi);
  imp.hauteur = std::min(h, Importation::taille_maxi);
  imp.grille.assign(static_cast<std::size_t>(imp.largeur) * static_cast<std::size_t>(imp.hauteur), 0);
  imp.minimum = 8000;
  imp.maximum = -4000;
  imp.degre_propose = degre_propose_pour(imp.largeur, imp.hauteur);
}

bool octet_nul(std::string_view s) { return s.find('\0') != std::string_view::npos; }

void verifier_lignes_txt(std::size_t lignes) {
  if (lignes < 251)
    throw Refus{"a text grid needs at least 251 lines; this one has " + std::to_string(lignes)};
}

// Text grid: N + 1 lines make an N x N grid; line q goes to row N - q.
// `lignes` counts the lines of the whole file, of which `r` may hold only the
// first rows (those read).
void lire_txt(Importation& imp, TextReader& r, std::size_t lignes, ProgressSink* attente, WindowHandle fenetre) {
  verifier_lignes_txt(lignes);
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
  imp.minimum = remplir.minimum;
  imp.maximum = remplir.maximum;
}

// Geoconcept grid: a header line, then H rows of W values, top down. The
// header line gives the description, then the width and height, checked.
std::pair<std::int32_t, std::int32_t> entete_mnt(Importation& imp, TextReader& r) {
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
  return {w, h};
}

void lire_mnt(Importation& imp, TextReader& r, ProgressSink* attente, WindowHandle fenetre) {
  const auto [w, h] = entete_mnt(imp, r);
  imp.niveau_dem = 0;
  taille_grille(imp, w, h);
  Remplissage remplir{imp};
  Progres progres(attente, fenetre, "ASCII-Z file reading ... ", imp.hauteur);
  for (std::int32_t q = 1; q <= imp.hauteur && !r.eof(); ++q) {
    if (!progres.ligne()) break;
    for (std::int32_t p = 1; p <= w && r.more_on_line(); ++p) remplir.valeur(r.read_int(), p, q);
    r.skip_line();
  }
  imp.minimum = remplir.minimum;
  imp.maximum = remplir.maximum;
}

// Adds `lignes` rows of sea at the top of the grid.
void agrandir_vers_le_haut(Importation& imp, std::int32_t nouvelle_hauteur) {
  const std::size_t ajout =
      static_cast<std::size_t>(nouvelle_hauteur - imp.hauteur) * static_cast<std::size_t>(imp.largeur);
  imp.grille.insert(imp.grille.begin(), ajout, 0);
  imp.hauteur = nouvelle_hauteur;
}

// The fields of a DEM's fixed-width records. A refusal names the record, the
// field and the byte (from 1) where reading stopped: a record fills a whole
// line, or the whole file, so a line number says little there.
struct ChampsDem {
  TextReader& r;

  std::int32_t entier(const std::string& enregistrement, const char* champ) {
    try {
      return r.read_int();
    } catch (const ReadError& e) {
      throw refus(e, enregistrement, champ, 0);
    }
  }
  // A field of a profile (the `numero`-th of its name when above 0); nullopt
  // at the end of the text (a short file keeps what was read).
  std::optional<std::int32_t> donnee(const std::string& enregistrement, const char* champ, std::int64_t numero = 0) {
    try {
      return r.read_field_int();
    } catch (const ReadError& e) {
      if (r.eof()) return std::nullopt;
      throw refus(e, enregistrement, champ, numero);
    }
  }
  Refus refus(const ReadError& e, const std::string& enregistrement, const char* champ, std::int64_t numero) const {
    const std::string nom = numero > 0 ? champ + (" " + std::to_string(numero)) : std::string(champ);
    return Refus{enregistrement + ", field \"" + nom + "\", byte " + std::to_string(r.position() + 1) + ": " +
                 e.detail};
  }
};

// USGS DEM, record A then the B profiles (one per column, south to north).
// Record A gives the name, the level code and the number of profiles, checked.
std::int32_t entete_dem(Importation& imp, TextReader& r) {
  ChampsDem champs{r};
  const std::string a = "record A";
  const std::string nom = r.read_chars(148);
  if (octet_nul(nom)) throw Refus{"record A: the name field holds a zero byte"};
  imp.niveau_dem = champs.entier(a, "DEM level code");
  for (const char* champ : {"elevation pattern", "planimetric reference system", "zone"}) champs.entier(a, champ);
  r.read_chars(255);
  r.read_chars(105);
  for (const char* champ : {"planimetric unit", "elevation unit", "number of sides"}) champs.entier(a, champ);
  r.read_chars(255);
  r.read_chars(52);
  champs.entier(a, "number of profile rows");
  const std::int32_t profils = champs.entier(a, "number of profiles");
  r.read_chars(158);
  if (profils < 10) throw Refus{"the DEM has " + std::to_string(profils) + " profiles; at least 10 are needed"};
  if (profils > Importation::taille_maxi)
    throw Refus{"the DEM has " + std::to_string(profils) + " profiles; at most 2048 can be read"};
  imp.description = nom.substr(0, 64);
  return profils;
}

// Profile p (record B) as read so far: its header and the minimum and
// maximum of its elevations.
struct Profil {
  bool entete = false;          // its four header fields were read
  std::int32_t ligne = 0;       // row of its first elevation
  std::int32_t elevations = 0;  // m
  std::int32_t minimum = 8000, maximum = -4000;
};

// A DEM's profiles are columns of the grid, whose rows lie one after the
// other: a profile's heights stored straight into it would each touch a cache
// line and a page of their own, all touched again by the next profile. They
// are kept instead in a band of up to 32 columns side by side (two cache
// lines a row), which goes to the grid a row at a time when a profile falls
// outside it, before the grid grows, and at the end of the reading.
class BandeDem {
 public:
  static constexpr std::int32_t kColonnes = 32;

  // Where one column's heights go, row y at y * kColonnes; nowhere for a
  // column outside the grid.
  struct Colonne {
    std::int32_t* hauteurs = nullptr;
    void mettre(std::int32_t h, std::int64_t y) const {
      if (hauteurs) hauteurs[static_cast<std::size_t>(y) * kColonnes] = h;
    }
  };

  explicit BandeDem(Importation& imp) : imp_(imp) {}

  // Column x of the grid, taken into the band (columns come west to east).
  Colonne colonne(std::int32_t x) {
    if (x < 0 || x >= imp_.largeur) return {};
    if (premiere_ == fin_ || x >= debut_ + kColonnes) commencer(x);
    fin_ = std::max(fin_, x + 1);
    return {hauteurs_.data() + (x - debut_)};
  }
  // Writes the columns held into the grid; the band is then empty.
  void vider() {
    const auto largeur = static_cast<std::size_t>(imp_.largeur);
    const std::int32_t n = fin_ - premiere_;
    for (std::size_t y = 0; n > 0 && y < rangees_; ++y) {
      const std::int32_t* rangee = hauteurs_.data() + y * kColonnes + (premiere_ - debut_);
      std::int32_t* grille = imp_.grille.data() + y * largeur + std::size_t(premiere_);
      // A full band's rows are copied at a known size.
      if (n == kColonnes) std::copy(rangee, rangee + kColonnes, grille);
      else std::copy(rangee, rangee + n, grille);
    }
    premiere_ = fin_ = 0;
  }

 private:
  // Starts an empty band with column x, its columns lined up with the cache
  // lines of the grid's first row.
  void commencer(std::int32_t x) {
    vider();
    const auto decalage = reinterpret_cast<std::uintptr_t>(imp_.grille.data()) / sizeof(std::int32_t);
    debut_ = x - static_cast<std::int32_t>((decalage + std::uintptr_t(x)) % kColonnes);
    premiere_ = fin_ = x;
    rangees_ = static_cast<std::size_t>(imp_.hauteur);
    hauteurs_.assign(rangees_ * kColonnes, 0);
  }

  Importation& imp_;
  std::vector<std::int32_t> hauteurs_;  // row by row, kColonnes a row
  std::size_t rangees_ = 0;
  std::int32_t debut_ = 0;               // the grid's column of the band's first
  std::int32_t premiere_ = 0, fin_ = 0;  // the grid's columns held: [premiere_, fin_)
};

// A first-row profile longer than the grid makes it that high; the columns
// of the band go to the grid first.
void agrandir_pour(Importation& imp, BandeDem& bande, const Profil& profil) {
  const std::int32_t m = profil.elevations;
  if (profil.entete && profil.ligne == 1 && imp.hauteur < m && m < Importation::taille_maxi) {
    bande.vider();
    agrandir_vers_le_haut(imp, m);
  }
}

// Reads profile p: false when the text ends inside it. Its heights go to
// column p, south end at the bottom; its minimum and maximum stay in
// `profil` until it is read whole (finir_profil then takes them), since a
// profile that runs to the end of what was read is read again with more: a
// number may be cut there.
bool lire_profil(Importation& imp, ChampsDem& champs, BandeDem& bande, std::int32_t p, Profil& profil) {
  TextReader& r = champs.r;
  const std::string b = "profile " + std::to_string(p) + " (record B)";
  std::int32_t entete[4];
  const char* noms[4] = {"row", "column", "number of elevations", "number of columns"};
  profil = Profil{};
  for (int k = 0; k < 4; ++k) {
    const auto lu = champs.donnee(b, noms[k]);
    if (!lu) return false;
    entete[k] = *lu;
  }
  r.read_chars(120);
  profil.entete = true;
  profil.ligne = entete[0];
  profil.elevations = entete[2];
  // The number of elevations is whole when more text follows it.
  if (!r.eof()) agrandir_pour(imp, bande, profil);
  Remplissage remplir{imp};
  const BandeDem::Colonne colonne = bande.colonne(p);
  const std::int64_t hauteur = imp.hauteur;
  bool complet = true;
  for (std::int64_t q = 1; q <= profil.elevations && complet; ++q) {
    const auto v = champs.donnee(b, "elevation", q);
    if (!v) complet = false;
    else if (q < hauteur) colonne.mettre(remplir.prendre(*v), hauteur - q);
  }
  profil.minimum = remplir.minimum;
  profil.maximum = remplir.maximum;
  return complet;
}

// A profile read whole, or cut by the end of the file (then what was read of
// it), gives the source its minimum and maximum.
void finir_profil(Importation& imp, BandeDem& bande, const Profil& profil) {
  agrandir_pour(imp, bande, profil);
  imp.minimum = std::min(imp.minimum, profil.minimum);
  imp.maximum = std::max(imp.maximum, profil.maximum);
}

// `suite` reads more of the text when a profile runs to the end of what was
// read: the profile is then read again with more.
void lire_dem(Importation& imp, TextReader& r, const Importation::SuiteTexte& suite, ProgressSink* attente,
              WindowHandle fenetre) {
  const std::int32_t profils = entete_dem(imp, r);
  ChampsDem champs{r};
  taille_grille(imp, profils, profils);
  Progres progres(attente, fenetre, "DEM file reading ... ", imp.hauteur);
  const auto plus = [&] { return r.eof() && suite && suite(r); };
  Profil profil;
  BandeDem bande(imp);
  for (std::int32_t p = 1; p <= imp.largeur && (!r.eof() || plus()); ++p) {
    if (!progres.ligne()) break;
    const std::size_t debut = r.position();
    const int ligne = r.line();
    bool complet = lire_profil(imp, champs, bande, p, profil);
    while (plus()) {
      r.seek(debut, ligne);
      complet = lire_profil(imp, champs, bande, p, profil);
    }
    finir_profil(imp, bande, profil);
    if (!complet) break;
  }
  bande.vider();
}

// Every refusal names the file it is about.
Echec refus_fichier(const std::string& chemin, const std::string& raison) {
  return "The file " + chemin + " cannot be imported: " + raison;
}

// The line ends of the text and Geoconcept grids: "\r\r\n" (a file
// converted twice between Windows and Unix), "\r\n", "\n" and a lone "\r"
// each end one line. The text comes piece by piece and goes out to `sortie`
// (a callable taking a std::string_view, false to stop) with every line end
// made "\n", so that the count of a grid's lines and the reading of its rows
// see the same lines.
class FinsDeLigne {
 public:
  // False when `sortie` stopped.
  template <class Sortie>
  bool ajouter(std::string_view m, Sortie& sortie) {
    std::size_t p = 0;
    while (p < m.size()) {
      if (cr_ > 0) {
        // The returns met last are settled by what follows them.
        if (m[p] == '\r') {
          if (cr_ == 2 && !sortie(kFin)) return false;  // the first of three ends a line
          cr_ = 2;
          ++p;
          continue;
        }
        // Before "\n" they belong to its line end; before anything else each ends a line.
        if (m[p] != '\n' && !finir(sortie)) return false;
        cr_ = 0;
      }
      const std::size_t r = m.find('\r', p);
      const std::size_t fin = r == std::string_view::npos ? m.size() : r;
      if (fin > p && !sortie(m.substr(p, fin - p))) return false;
      if (fin == m.size()) break;
      cr_ = 1;
      p = r + 1;
    }
    return true;
  }
  // At the end of the text, each return still waiting ends a line.
  template <class Sortie>
  bool finir(Sortie& sortie) {
    for (; cr_ > 0; --cr_)
      if (!sortie(kFin)) return false;
    return true;
  }

 private:
  static constexpr std::string_view kFin = "\n";
  int cr_ = 0;  // returns at the end of the last piece
};

// Keeps the text it is given up to the end of its `voulues`-th line.
struct GardeLignes {
  std::string& texte;
  std::size_t voulues;
  std::size_t lignes = 0;
  bool operator()(std::string_view m) {
    std::size_t p = 0;
    while (lignes < voulues && (p = m.find('\n', p)) != std::string_view::npos) {
      ++lignes;
      ++p;
    }
    texte.append(m.substr(0, lignes < voulues ? m.size() : p));
    return lignes < voulues;
  }
};

// Room kept at once for the text of an elevation source: the largest grid the
// import keeps (2048 rows or profiles of 2048 values) takes about 27 MB.
constexpr std::uint64_t kPlaceTexte = std::uint64_t(64) << 20;

// The header of a DEM (record A, 1024 bytes by its format) or of a Geoconcept
// grid (its first line) is checked on the first bytes of the file; more are
// read only while the header runs to the end of what was read.
constexpr std::uint64_t kTeteTexte = 4096;
constexpr std::uint64_t kTeteTexteMaxi = 65536;

// The lines a Geoconcept grid can use (its header line and the rows kept),
// or 0 for a DEM, whose profiles do not follow lines.
std::size_t verifier_entete(LectureFichier& f, const std::string& ext) {
  for (std::uint64_t n = kTeteTexte;; n *= 4) {
    if (!f.lire_jusqua(n)) throw Refus{f.raison()};
    Importation essai;
    // A Geoconcept header is read with the grid's line ends.
    std::string tete;
    if (ext != ".DEM") {
      GardeLignes toutes{tete, SIZE_MAX};
      FinsDeLigne fins;
      fins.ajouter(f.octets(), toutes);
      if (f.fin()) fins.finir(toutes);
    }
    TextReader r = TextReader::borrowing(ext == ".DEM" ? f.octets() : std::string_view(tete));
    std::size_t utiles = 0;
    try {
      if (ext == ".DEM") {
        entete_dem(essai, r);
      } else {
        const std::int32_t rangees = std::min(entete_mnt(essai, r).second, Importation::taille_maxi);
        utiles = std::size_t(r.line() - 1) + std::size_t(rangees);
      }
    } catch (...) {
      // Refused where the whole file would refuse it as well.
      if (f.fin() || !r.eof()) throw;
    }
    // A header that ran to the end of what was read may go on past it.
    if (f.fin() || !r.eof()) return utiles;
    if (n >= kTeteTexteMaxi)
      throw Refus{"its header does not end within its first " + std::to_string(kTeteTexteMaxi) + " bytes"};
  }
}

// The lines of a file (a last line without its line end counts), read
// through without keeping them.
std::size_t compter_lignes(LectureFichier& f) {
  std::size_t fins_lues = 0;
  char dernier = '\n';
  const auto compter = [&](std::string_view m) {
    // A grid's lines are long: looked for line by line, not byte by byte.
    for (std::size_t p = 0; (p = m.find('\n', p)) != std::string_view::npos; ++p) ++fins_lues;
    dernier = m.back();
    return true;
  };
  FinsDeLigne fins;
  if (!f.parcourir_reste([&](std::string_view m) { return fins.ajouter(m, compter); })) throw Refus{f.raison()};
  fins.finir(compter);
  return fins_lues + (dernier != '\n' ? 1 : 0);
}

// The first `gardees` lines of a text source, from the start of the file
// (with what `f` has read already), each ended by "\n"; reading stops after
// them.
std::string garder_lignes(LectureFichier& f, std::size_t gardees) {
  std::string garde;
  garde.reserve(static_cast<std::size_t>(std::min(f.taille(), kPlaceTexte)));
  GardeLignes sortie{garde, gardees};
  FinsDeLigne fins;
  bool encore = true;
  const auto voir = [&](std::string_view m) { return encore = fins.ajouter(m, sortie); };
  const std::string debut = f.prendre();
  if ((debut.empty() || voir(debut)) && !f.parcourir_reste(voir)) throw Refus{f.raison()};
  if (encore) fins.finir(sortie);
  return garde;
}

// What an elevation source's reader goes through, read header first: a DEM
// whole once its record A is accepted, a Geoconcept grid up to its last row
// kept, a text grid's rows once its lines are counted (`lignes`). Refus or
// ReadError where the reader would refuse it.
TextReader lire_source_texte(const std::string& chemin, const std::string& ext, std::size_t& lignes,
                             Importation::SuiteTexte& suite) {
  auto f = std::make_shared<LectureFichier>();
  if (!f->ouvrir(chemin) || !f->lecture_permise()) throw Refus{f->raison()};
  if (ext == ".TXT") {
    lignes = compter_lignes(*f);
    verifier_lignes_txt(lignes);
    LectureFichier rangees;
    if (!rangees.ouvrir(chemin)) throw Refus{rangees.raison()};
    return TextReader(garder_lignes(rangees, std::min<std::size_t>(lignes - 1, Importation::taille_maxi)));
  }
  if (const std::size_t utiles = verifier_entete(*f, ext); utiles > 0) return TextReader(garder_lignes(*f, utiles));
  // A DEM's profiles are read as far as they go, twice as much at a time,
  // into room kept once.
  suite = [f](TextReader& r) {
    const std::size_t avant = f->octets().size();
    f->reserver(kPlaceTexte);
    if (!f->lire_jusqua(2 * avant)) throw Refus{f->raison()};
    if (f->octets().size() == avant) return false;
    const std::size_t position = r.position();
    const int ligne = r.line();
    r = TextReader::borrowing(f->octets());
    r.seek(position, ligne);
    return true;
  };
  return TextReader::borrowing(f->octets());
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
    return refus_fichier(chemin, "its name must end in .dem, .txt, .mnt or .bmp");
  nouvelle_source(ext);
  try {
    std::size_t lignes = 0;
    SuiteTexte suite;
    TextReader r = lire_source_texte(chemin, ext, lignes, suite);
    if (ext == ".TXT") lire_txt(*this, r, lignes, attente, fenetre);
    else if (ext == ".MNT") lire_mnt(*this, r, attente, fenetre);
    else lire_dem(*this, r, suite, attente, fenetre);
  } catch (const Refus& e) {
    nouvelle_source(ext);
    return refus_fichier(chemin, e.raison);
  } catch (const ReadError& e) {
    nouvelle_source(ext);
    return refus_fichier(chemin, e.what());
  }
  // The file name becomes document text, in the documents' code page.
  commentaire =
      ext == ".TXT" ? "Importation of " + platform::utf8_vers_page_de_code(nom_sans_dossier(chemin)) : description;
  fin_lecture();
  return {};
}

Echec Importation::importer_bmp(const std::string& chemin, const param_mat& p) {
  parametres = p;
  nouvelle_source(".BMP");
  render::Bitmap lu;
  std::string raison;
  // Only the top-left corner that the import keeps is decoded.
  if (!render::lire_bmp(chemin, lu, &raison, taille_maxi))
    return refus_fichier(chemin, "the bitmap cannot be read: " + raison);
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
  // Its header must give the source's size before anything is decoded; no
  // more is read than a picture of that size can take.
  const std::optional<std::string> octets =
      render::lire_octets_image(chemin, nullptr, render::GenreImage::jpeg, std::int64_t(largeur) * hauteur);
  if (!octets || render::taille_jpeg(*octets) != std::pair{int(largeur), int(hauteur)}) return false;
  render::Bitmap lu;
  if (!render::decoder_jpeg(*octets, lu) || lu.width() != largeur || lu.height() != hauteur) return false;
  photo = std::move(lu);
  utiliser_photo = true;
  return true;
}
