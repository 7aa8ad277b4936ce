// The text format shared by the documents (*.mat, *.vue, *.vid) and the
// options file: Latin-1 bytes, lines ending CR LF, section heads, 20-byte keys
// with values in fixed columns. Plain C++, no Qt.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/records.h"
#include "model/texte.h"
#include "platform/fichiers.h"

// The largest file of this format the program reads, a document or the
// options file. The largest document it writes is a video of the largest
// mesh, degree 11: n = 2049 nodes a side, n (n + 1) / 2 = 2,100,225 nodes,
// with every optional part of the terrain body:
//   heights       a node is the difference of two heights within -2000..4000,
//                 at most "-6000" and a blank, 6 bytes; CR LF a row:
//                 6 x 2,100,225 + 2 x 2,049                    = 12,605,448
//   [HORIZONTAL]  4 hex digits a node, CR LF a row, the head    =  8,405,012
//   [PHOTO]       6 hex digits a node, CR LF a row, the head    = 12,605,457
//   [Sol]         the head, the count, and at most 32,768 features of four
//                 16-bit numbers ("-32768" at most) joined by two blanks:
//                 32 bytes a line                               =  1,048,590
//   the parameter sections, comment lines, sky path, 9,999 camera records
//   (at most 152 bytes each: six numbers of at most 23 characters, see
//   texte_fixe) and the movie information: under                  2,000,000
// in all under 37 MB. Twice that leaves room for hand-edited files with
// longer lines: nothing larger than 64 MiB is read as a document, and
// nothing larger is written as one (ecrire_document: a memo or movie
// information of tens of megabytes could make one).
inline constexpr std::uint64_t TAILLE_MAX_DOCUMENT = std::uint64_t{64} << 20;
inline constexpr LimiteLecture kLectureDocument{TAILLE_MAX_DOCUMENT, "a document"};

// Section heads, compared with whole lines (leading blanks included).
inline constexpr std::string_view TETE_TEXTE = "  [TEXTE]";
inline constexpr std::string_view TETE_PARAMETRES_MATRICE = "  [PARAMETRES MATRICE]";
inline constexpr std::string_view TETE_MATRICE = " [MATRICE]";
inline constexpr std::string_view TETE_PARAMETRES_VUE = "  [PARAMETRES VUE]";
inline constexpr std::string_view TETE_VUE = " [VUE]";
inline constexpr std::string_view TETE_PARAMETRES_VIDEO = "  [PARAMETRES VIDEO]";
inline constexpr std::string_view TETE_TRAJECTOIRE = " [TRAJECTOIRE]";
inline constexpr std::string_view TETE_INFORMATION = " [INFORMATION]";
inline constexpr std::string_view LIGNE_FIN = "Fin                =";
inline constexpr std::string_view LIGNE_TIRETS = "--------------------";

// A file being written: bytes in memory, each line ended by CR LF.
class Sortie {
 public:
  void ligne(std::string_view texte);
  void texte(std::string_view texte);  // no line end
  void fin_ligne();
  const std::string& octets() const { return octets_; }
  std::string& octets() { return octets_; }

 private:
  std::string octets_;
};

// A file being read: its bytes and a position. A line ends at LF; one CR
// before the LF (or before the end of the file) is dropped.
class Entree {
 public:
  Entree() = default;
  explicit Entree(std::string octets) : octets_(std::move(octets)) {}

  bool fin() const { return pos_ >= octets_.size(); }
  // The next whole line, or nullopt at the end of the file.
  std::optional<std::string_view> ligne();
  // Reads lines until one equals `tete`; false when the file ends first.
  bool chercher(std::string_view tete);
  void rembobiner() { pos_ = 0; }
  std::size_t position() const { return pos_; }
  void aller(std::size_t pos) { pos_ = pos < octets_.size() ? pos : octets_.size(); }
  const std::string& octets() const { return octets_; }

 private:
  std::string octets_;
  std::size_t pos_ = 0;
};

enum class GenreCle { entier, drapeau };

// One key line: the 20-byte key, then 3 blanks and the value right-aligned in
// 9 (integer) or "Oui"/"Non" (flag).
std::string ligne_cle(std::string_view cle, std::int32_t valeur, bool drapeau, GenreCle genre);
void ecrire_cle(Sortie& f, std::string_view cle, std::int32_t valeur, bool drapeau, GenreCle genre);
inline void ecrire_cle_entier(Sortie& f, std::string_view cle, std::int32_t valeur) {
  ecrire_cle(f, cle, valeur, false, GenreCle::entier);
}
inline void ecrire_cle_drapeau(Sortie& f, std::string_view cle, bool valeur) {
  ecrire_cle(f, cle, 0, valeur, GenreCle::drapeau);
}
// The key, 2 blanks, then red, green, blue each right-aligned in 5.
std::string ligne_cle_couleur(std::string_view cle, std::uint8_t r, std::uint8_t v, std::uint8_t b);
void ecrire_cle_couleur(Sortie& f, std::string_view cle, std::uint8_t r, std::uint8_t v, std::uint8_t b);

// The lines of the parameter section being read.
struct table_section {
  std::vector<std::string> lignes;
};

enum class GenreSection { matrice, vue, video };

// Most lines a section table holds, and the longest line it keeps. The video
// section has room for its head and its 50 keys (path points 8 to 13 included).
constexpr std::size_t LIGNES_SECTION_MATRICE = 79;
constexpr std::size_t LIGNES_SECTION_VUE = 158;
constexpr std::size_t LIGNES_SECTION_VIDEO = 51;
constexpr std::size_t LONGUEUR_LIGNE_SECTION = 100;
// The view's sky line "Fichier ciel       =>" carries a path of any length the
// system allows: it keeps up to 4096 characters after its prefix.
constexpr std::string_view PREFIXE_LIGNE_CIEL = "Fichier ciel       =>";
constexpr std::size_t LONGUEUR_LIGNE_CIEL = 21 + 4096;

// Stores lines from the file's position, each cut to 100 characters (the sky
// line to its own length): the
// mountain section up to and including the next line that begins with a
// blank, the view and video sections up to and including the line that
// begins with "-"; every loader also stops at the end of the file, and once
// it holds its most lines (the file then goes on from the next line).
table_section charger_section(Entree& f, GenreSection genre);

// Looks `cle` up (first matching line wins). Found with a value: column 21
// blank gives the integer of column 22 to the end of the line (flag false),
// "O" the flag true, anything else the flag false; an integer key carrying a
// flag answer leaves `entier` as it is. Not found, nothing after the key, or
// a value that does not convert: `entier` := defaut, flag := (defaut == 1).
void lire_cle(const table_section& t, std::string_view cle, bool& drapeau, std::int32_t& entier,
              std::int32_t defaut);
// Convenience forms.
std::int32_t lire_entier(const table_section& t, std::string_view cle, std::int32_t defaut);
bool lire_drapeau(const table_section& t, std::string_view cle, bool defaut);
// Red of columns 23..27, green 28..32, blue 33..37, each modulo 256; a missing
// key or any bad value gives all three defaults.
void lire_cle_couleur(const table_section& t, std::string_view cle, std::uint8_t& r, std::uint8_t& v,
                      std::uint8_t& b, std::uint8_t dr, std::uint8_t dv, std::uint8_t db);

// The number parsers live with the model's text routines.
using model::convertir_entier;
using model::convertir_entier_ligne;
using model::convertir_reel;

// Integers written without a width: the shortest form.
std::string texte_entier(std::int64_t v);
// Reals written without a width: 23 characters, sign position, one digit,
// ".", 14 digits, "E", exponent sign and 4 digits (" 3.33000000000000E-0001").
// Every finite value is written so that it reads back: the few largest ones,
// which would round up past the largest double, are rounded toward zero.
std::string texte_reel(double v);
// Fixed point with 4 decimals right-aligned in `largeur` (wider values take
// more room). A value whose fixed form is longer than the 23 characters of
// texte_reel (from 1e17 on) is written by texte_reel instead, so that no
// number takes more than 23 characters.
std::string texte_fixe(double v, int largeur);

// "%9.4f   %8.4f   %9.4f  %9.4f  %9.4f  %9.4f"
std::string ligne_camera(const enregistrement_camera& c);
// Six reals separated by blanks; nullopt when the line holds anything else.
std::optional<enregistrement_camera> lire_ligne_camera(std::string_view s);
