// The Indeo Video R3.2 encoder. A frame is a 16-byte frame header, a 48-byte
// picture header and three plane blocks (U, V, then Y, which must be the
// last and at least 17 bytes long). Each plane block holds a list of motion
// vectors and a binary tree of cells written as 2-bit codes, four to a byte,
// with each cell's data bytes following the code byte that asked for them.
// Cells are no wider than the plane's strip (160 luma pixels, 40 chroma).
//
// An intra cell codes every 4 x 4 block row by row: each pixel row is the
// reconstructed row above (a row of 64 above the plane) plus one pair of
// deltas from delta table 0 for its left and one for its right two pixels,
// so that no sample leaves 0..127. Errors are weighed against the 8-bit
// source. A pair is given the deltas nearest to its source, except where the
// source stays the same in the rows below: there its deltas are the start of
// the cheapest way to that value, so that flat areas come out flat. Rows of
// zero deltas at the end of a block, and the whole blocks after them, become
// run codes.
//
// An inter frame decodes into the other of the decoder's two buffers. Its
// planes list the displacements found for the whole plane and for its
// regions; each cell of at most 16 x 16 pixels takes the one that predicts it
// best and is copied from the previous frame when every block then matches,
// or else coded against the displaced previous rows or intra, whichever is
// shorter. Areas that did not move at all are copied in large cells.
#include "platform/vidconv/indeo3.h"

extern "C" {
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "platform/arrondi.h"
#include "platform/vidconv/image_alignee.h"

namespace platform::vcv {

namespace {

// ---------------------------------------------------------------- delta tables

struct Dyad {
  int a = 0, b = 0;  // deltas of the left and the right pixel
};

struct Table {
  int n = 0;  // dyads
  int q = 0;  // divisor of the one-byte (quad) form
  std::vector<Dyad> dyads;
};

// The tables of the first set, as seeds: Pa,b gives (a,b); Ea,b gives (a,b)
// and (-a,-b); Fa,b gives (a,b), (-a,-b), (b,a) and (-b,-a). Missing entries
// up to n are (0,0).
struct Graines {
  int n, q;
  const char* texte;
};
constexpr Graines kGraines[] = {
    {195, 7,
     "P0,0 E2,2 F-1,3 E4,4 F1,5 E-4,4 F-2,6 F4,9 E9,9 F1,10 F-5,8 F9,15 F-3,12 F4,16 E16,16 F0,18 "
     "E-12,12 F-9,16 F11,27 F19,28 F-6,22 F4,29 E30,30 F-2,33 F-18,23 F-15,30 F22,46 F13,47 F35,49 "
     "F-11,41 F4,51 E54,54 E-34,34 F-29,42 F-6,60 F27,76 F43,77 F-24,55 F14,79 F63,83 F-20,74 F2,88 "
     "E93,93 F-52,61 F52,120 F-45,75 F75,125 F33,122 F-13,103 F-40,96 F-34,127 E-89,89 F-78,105 E12,12 "
     "E23,23 E42,42 E73,73"},
    {159, 9,
     "P0,0 E3,3 F-1,4 E7,7 F2,8 F-2,9 E-6,6 F6,13 E13,13 F1,14 F-8,12 F14,23 F-5,18 F6,24 E24,24 "
     "F-1,27 E-17,17 F-13,23 F16,40 F28,41 F-9,33 F6,43 E46,46 F-4,50 F-27,34 F-22,45 F34,69 F19,70 "
     "F53,73 F-17,62 F5,77 E82,82 E-51,51 F-43,64 F-10,90 F41,114 F64,116 F-37,82 F22,119 F95,124 "
     "F-30,111 F-78,92 F-68,113 E18,18 E34,34 E63,63 E109,109"},
    {133, 10,
     "P0,0 E4,4 F-1,5 F3,10 E9,9 E-7,7 F-3,12 F8,17 E17,17 F1,19 F-11,16 F-6,23 F18,31 F8,32 E33,33 "
     "F-1,36 E-23,23 F-17,31 F21,54 F37,55 F-12,44 F8,57 E61,61 F-5,66 F-36,45 F-29,60 F45,92 F25,93 "
     "F71,97 F-22,83 F7,102 E109,109 E-68,68 F-57,85 F-13,120 F-49,110 F-104,123 E24,24 E46,46 E84,84"},
    {115, 11,
     "P0,0 E5,5 F-2,7 E11,11 F3,13 E-9,9 F-4,15 F11,22 E21,21 F2,24 F-14,20 F23,38 F-8,29 F11,39 "
     "E41,41 F-1,45 E-29,29 F-22,39 F27,67 F47,69 F-15,56 F11,71 E76,76 F-6,83 F-45,57 F-36,75 F56,115 "
     "F31,117 F88,122 F-28,104 E-85,85 F-72,106 E30,30 E58,58 E105,105"},
    {101, 12,
     "P0,0 E6,6 F-2,8 E13,13 F4,15 E-11,11 F-5,18 F13,26 E26,26 F2,29 F-16,24 F28,46 F-9,35 F13,47 "
     "E49,49 F-1,54 E-35,35 F-26,47 F32,81 F56,83 F-18,67 F13,86 E91,91 F-7,99 F-54,68 F-44,90 "
     "F-33,124 E-103,103 F-86,127 E37,37 E69,69"},
    {93, 12,
     "P0,0 E7,7 F-3,10 E16,16 F5,18 E-13,13 F-6,21 F15,30 E30,30 F2,34 F-19,28 F32,54 F-11,41 F15,55 "
     "E57,57 F-1,63 E-40,40 F-30,55 F37,94 F65,96 F-21,78 F15,100 E106,106 F-8,116 F-63,79 F-51,105 "
     "E-120,120 E43,43 E80,80"},
    {87, 12,
     "P0,0 E8,8 F-3,11 E18,18 F5,20 E-15,15 F-7,24 F17,35 E34,34 F3,38 F-22,32 F37,61 F-13,47 F17,63 "
     "E65,65 F-1,72 E-46,46 F-35,63 F43,107 F75,110 F-24,89 F17,114 E121,121 F-72,91 F-58,120 E49,49 "
     "E92,92"},
    {77, 13,
     "P0,0 E9,9 F-3,12 E20,20 F6,23 E-17,17 F-7,27 F19,39 E39,39 F3,43 F-24,36 F42,69 F-14,53 F19,71 "
     "E73,73 F-2,80 E-52,52 F-39,70 F48,121 F84,124 F-27,100 F-81,102 E55,55 E104,104"},
};

Table developper(const Graines& g) {
  Table t;
  t.n = g.n;
  t.q = g.q;
  std::string_view s = g.texte;
  while (!s.empty()) {
    const char kind = s[0];
    const auto virgule = s.find(',');
    const auto fin = std::min(s.find(' '), s.size());
    const int a = std::stoi(std::string(s.substr(1, virgule - 1)));
    const int b = std::stoi(std::string(s.substr(virgule + 1, fin - virgule - 1)));
    t.dyads.push_back({a, b});
    if (kind != 'P') t.dyads.push_back({-a, -b});
    if (kind == 'F') {
      t.dyads.push_back({b, a});
      t.dyads.push_back({-b, -a});
    }
    s.remove_prefix(std::min(fin + 1, s.size()));
  }
  t.dyads.resize(std::size_t(t.n));
  return t;
}

const Table& table(int k) {
  static const std::array<Table, 8> tables = [] {
    std::array<Table, 8> t;
    for (int i = 0; i < 8; ++i) t[std::size_t(i)] = developper(kGraines[i]);
    return t;
  }();
  return tables[std::size_t(k)];
}

// The table the encoder codes with. Errors are measured against the 8-bit
// source: a sample r shows as 2r, so its error is 2r - s, and an odd source
// value is as well served by the 7-bit sample below it as by the one above.
constexpr int kTable = 0;
constexpr int kInfini = std::numeric_limits<int>::max() / 4;

// For every wanted pair of 8-bit deltas (s - 2p, -254..255 each), the dyad
// that comes nearest.
constexpr int kDeltas = 510;

const std::vector<std::uint8_t>& plus_proches() {
  static const std::vector<std::uint8_t> lut = [] {
    const Table& t = table(kTable);
    std::vector<std::uint8_t> l(std::size_t(kDeltas) * kDeltas);
    std::vector<int> ordre(std::size_t(t.n));
    for (int d0 = -254; d0 <= 255; ++d0) {
      // The dyads by their error on the left pixel, so that the search stops
      // at the first one whose left error alone is too much.
      auto e0 = [&](int i) { return (2 * t.dyads[std::size_t(i)].a - d0) * (2 * t.dyads[std::size_t(i)].a - d0); };
      for (int i = 0; i < t.n; ++i) ordre[std::size_t(i)] = i;
      std::stable_sort(ordre.begin(), ordre.end(), [&](int i, int j) { return e0(i) < e0(j); });
      for (int d1 = -254; d1 <= 255; ++d1) {
        int meilleur = 0, erreur = kInfini;
        for (int i : ordre) {
          if (e0(i) > erreur) break;
          const int e1 = 2 * t.dyads[std::size_t(i)].b - d1, e = e0(i) + e1 * e1;
          if (e < erreur || (e == erreur && i < meilleur)) erreur = e, meilleur = i;
        }
        l[std::size_t(d0 + 254) * kDeltas + std::size_t(d1 + 254)] = std::uint8_t(meilleur);
      }
    }
    return l;
  }();
  return lut;
}

bool dans_les_echantillons(int r0, int r1) { return r0 >= 0 && r0 <= 127 && r1 >= 0 && r1 <= 127; }

// Squared error of dyad i on two pixels predicted p0, p1 for the sources s0,
// s1; kInfini when a sample would leave 0..127.
int erreur_dyade(const Table& t, int i, int p0, int p1, int s0, int s1) {
  const Dyad& d = t.dyads[std::size_t(i)];
  const int r0 = p0 + d.a, r1 = p1 + d.b;
  if (!dans_les_echantillons(r0, r1)) return kInfini;
  return (2 * r0 - s0) * (2 * r0 - s0) + (2 * r1 - s1) * (2 * r1 - s1);
}

// The best dyad for one pixel pair; dyad 0 always qualifies.
int meilleure_dyade(const Table& t, int p0, int p1, int s0, int s1) {
  const int i = plus_proches()[std::size_t(s0 - 2 * p0 + 254) * kDeltas + std::size_t(s1 - 2 * p1 + 254)];
  if (erreur_dyade(t, i, p0, p1, s0, s1) < kInfini) return i;
  int meilleur = 0, erreur = erreur_dyade(t, 0, p0, p1, s0, s1);
  for (int k = 1; k < t.n; ++k) {
    const int e = erreur_dyade(t, k, p0, p1, s0, s1);
    if (e < erreur) erreur = e, meilleur = k;
  }
  return meilleur;
}

bool en_quad(const Table& t, int gauche, int droite) { return droite < t.q && t.n + t.q * gauche + droite < 248; }

// Extra squared error (over the four pixels of a line) taken for the one-byte
// form, or for a line of zero deltas that a run code carries.
constexpr int kEcartQuad = 8;
constexpr int kEcartZero = 8;

// One coded line: the dyads of the left and the right pixel pair.
struct Ligne {
  std::uint8_t gauche = 0, droite = 0;
  bool zero() const { return gauche == 0 && droite == 0; }
};

// Chooses the dyads of one 4-pixel line predicted by `p` for the source `s`,
// each pair on its own: the nearest dyads, or the best one-byte line or a zero
// line when it costs little more.
Ligne choisir_ligne(const std::uint8_t* p, const std::uint8_t* s) {
  const Table& t = table(kTable);
  const int g = meilleure_dyade(t, p[0], p[1], s[0], s[1]);
  const int d = meilleure_dyade(t, p[2], p[3], s[2], s[3]);
  const int eg = erreur_dyade(t, g, p[0], p[1], s[0], s[1]);
  const int ed = erreur_dyade(t, d, p[2], p[3], s[2], s[3]);
  Ligne l{std::uint8_t(g), std::uint8_t(d)};
  int erreur = eg + ed;
  if (!en_quad(t, g, d)) {
    std::array<int, 16> eq_g{}, eq_d{};
    const int max_g = std::min(15, (248 - t.n - 1) / t.q), max_d = std::min(15, t.q - 1);
    for (int i = 0; i <= max_g; ++i) eq_g[std::size_t(i)] = erreur_dyade(t, i, p[0], p[1], s[0], s[1]);
    for (int j = 0; j <= max_d; ++j) eq_d[std::size_t(j)] = erreur_dyade(t, j, p[2], p[3], s[2], s[3]);
    int qg = 0, qd = 0, eq = kInfini;
    for (int i = 0; i <= max_g; ++i)
      for (int j = 0; j <= max_d && en_quad(t, i, j); ++j)
        if (eq_g[std::size_t(i)] + eq_d[std::size_t(j)] < eq)
          eq = eq_g[std::size_t(i)] + eq_d[std::size_t(j)], qg = i, qd = j;
    if (eq <= erreur + kEcartQuad) {
      l = {std::uint8_t(qg), std::uint8_t(qd)};
      erreur = eq;
    }
  }
  if (!l.zero()) {
    const int ez = erreur_dyade(t, 0, p[0], p[1], s[0], s[1]) + erreur_dyade(t, 0, p[2], p[3], s[2], s[3]);
    if (ez <= erreur + kEcartZero) l = {};
  }
  return l;
}

// ---------------------------------------------------------------- flat runs
//
// In an intra cell each row is the row above plus deltas, so whatever error a
// pixel pair keeps is repeated in every row below that adds nothing. Table 0
// has no delta of one step ((1,1), (1,0), ...): a pair left one step off is
// mended only through a detour of several rows, and the nearest-dyad choice
// keeps it, so flat areas came out as vertical stripes, each pair a level or
// two off in its own way. Where a pair's source stays the same for the rows
// below, its dyad is instead the first step of the cheapest way through those
// rows: every row's squared error, a penalty for each pixel more than one
// level off, and the bytes of the dyads. The cheapest ways are computed once,
// for every pair of errors up to kEtendue steps and runs up to kRangees rows.
constexpr int kEtendue = 8;
constexpr int kRangees = 16;
constexpr int kCote = 2 * kEtendue + 1;
constexpr int kParDemiOctet = 4;  // squared error that half a byte is worth
constexpr int kPenalite = 16;     // per pixel more than one level off

// Half bytes a dyad takes in a line: none for a zero (run codes), one when it
// fits the one-byte form, two otherwise.
int demi_octets(int i) { return i == 0 ? 0 : i < 8 ? 1 : 2; }

// The cost of a pixel whose sample is e steps above s >> 1, for a source s of
// parity `impaire`.
int cout_pixel(int e, int impaire) {
  const int d = 2 * e - impaire;
  return d * d + (d > 1 || d < -1 ? kPenalite : 0);
}

// For the parities of a pair's sources, a number of rows R (1..kRangees + 1)
// and the pair's errors in steps before the first of them: the least cost of
// those rows, and the first dyad of the way that takes it.
class Chemins {
 public:
  Chemins();
  int cout(int parites, int rangees, int e0, int e1) const { return cout_[index(parites, rangees, e0, e1)]; }
  int premier(int parites, int rangees, int e0, int e1) const { return premier_[index(parites, rangees, e0, e1)]; }

 private:
  static std::size_t index(int parites, int rangees, int e0, int e1) {
    return ((std::size_t(parites) * (kRangees + 2) + std::size_t(rangees)) * kCote + std::size_t(e0 + kEtendue)) *
               kCote +
           std::size_t(e1 + kEtendue);
  }
  std::vector<int> cout_;
  std::vector<std::uint8_t> premier_;
};

Chemins::Chemins() : cout_(4 * std::size_t(kRangees + 2) * kCote * kCote, 0), premier_(cout_.size(), 0) {
  const Table& t = table(kTable);
  std::vector<int> petites;  // the dyads that can keep a pair inside the range
  for (int i = 0; i < t.n; ++i)
    if (std::abs(t.dyads[std::size_t(i)].a) <= 2 * kEtendue && std::abs(t.dyads[std::size_t(i)].b) <= 2 * kEtendue)
      petites.push_back(i);
  for (int par = 0; par < 4; ++par)
    for (int r = 1; r <= kRangees + 1; ++r)
      for (int e0 = -kEtendue; e0 <= kEtendue; ++e0)
        for (int e1 = -kEtendue; e1 <= kEtendue; ++e1) {
          int meilleur = kInfini, premier = 0;
          for (int i : petites) {
            const int f0 = e0 + t.dyads[std::size_t(i)].a, f1 = e1 + t.dyads[std::size_t(i)].b;
            if (std::abs(f0) > kEtendue || std::abs(f1) > kEtendue) continue;
            const int c = cout_pixel(f0, par & 1) + cout_pixel(f1, par >> 1) + kParDemiOctet * demi_octets(i) +
                          cout(par, r - 1, f0, f1);
            if (c < meilleur) meilleur = c, premier = i;
          }
          cout_[index(par, r, e0, e1)] = meilleur;
          premier_[index(par, r, e0, e1)] = std::uint8_t(premier);
        }
}

const Chemins& chemins() {
  static const Chemins c;
  return c;
}

// The dyad for a pixel pair predicted p0, p1 whose sources s0, s1 stay the
// same for the `suivantes` rows below (1..kRangees).
int dyade_plate(int p0, int p1, int s0, int s1, int suivantes) {
  const Table& t = table(kTable);
  const Chemins& c = chemins();
  const int par = (s0 & 1) | (s1 & 1) << 1;
  const int e0 = p0 - (s0 >> 1), e1 = p1 - (s1 >> 1);
  if (std::abs(e0) <= kEtendue && std::abs(e1) <= kEtendue) {
    const int i = c.premier(par, suivantes + 1, e0, e1);
    if (dans_les_echantillons(p0 + t.dyads[std::size_t(i)].a, p1 + t.dyads[std::size_t(i)].b)) return i;
  }
  // Far off (or near the ends of the samples): the best first step, a pair
  // left outside the range counted as staying where it lands.
  int meilleur = 0, cout_min = kInfini;
  for (int i = 0; i < t.n; ++i) {
    const int f0 = e0 + t.dyads[std::size_t(i)].a, f1 = e1 + t.dyads[std::size_t(i)].b;
    if (!dans_les_echantillons(p0 + t.dyads[std::size_t(i)].a, p1 + t.dyads[std::size_t(i)].b)) continue;
    const int ici = cout_pixel(f0, s0 & 1) + cout_pixel(f1, s1 & 1) + kParDemiOctet * demi_octets(i);
    const int cout = std::abs(f0) <= kEtendue && std::abs(f1) <= kEtendue
                         ? ici + c.cout(par, suivantes, f0, f1)
                         : ici + suivantes * (cout_pixel(f0, s0 & 1) + cout_pixel(f1, s1 & 1));
    if (cout < cout_min) cout_min = cout, meilleur = i;
  }
  return meilleur;
}

void appliquer(const Ligne& l, const std::uint8_t* p, std::uint8_t* r) {
  const Table& t = table(kTable);
  const Dyad& g = t.dyads[l.gauche];
  const Dyad& d = t.dyads[l.droite];
  r[0] = std::uint8_t(p[0] + g.a);
  r[1] = std::uint8_t(p[1] + g.b);
  r[2] = std::uint8_t(p[2] + d.a);
  r[3] = std::uint8_t(p[3] + d.b);
}

// ---------------------------------------------------------------- planes

// One plane: its coded size (multiples of 4), the 8-bit source and the
// decoder's two buffers of 7-bit samples as this encoder rebuilds them, each
// with the row of 64 above row 0.
struct Plan {
  int largeur = 0, hauteur = 0;
  int bande = 0;  // strip width in blocks
  std::vector<std::uint8_t> source;
  std::array<std::vector<std::uint8_t>, 2> tampons;

  void preparer(int l, int h, int b) {
    largeur = l;
    hauteur = h;
    bande = b;
    source.assign(std::size_t(l) * std::size_t(h), 128);
    for (auto& t : tampons) t.assign(std::size_t(l) * std::size_t(h + 1), 64);
  }
  // Pixel (x, y) of the source, and of buffer k, where y = -1 is the row of
  // 64. Offsets are signed: a displaced position is formed from a negative
  // coordinate plus a larger positive one, and the address must never be
  // formed from a wrapped unsigned value.
  const std::uint8_t* src(int x, int y) const { return source.data() + decalage(x, y); }
  std::uint8_t* rec(int k, int x, int y) { return tampons[std::size_t(k)].data() + decalage(x, y + 1); }
  std::ptrdiff_t decalage(int x, int y) const { return std::ptrdiff_t(y) * largeur + x; }
};

// The 2-bit codes of the tree, four to a byte from the high bits, and the data
// bytes, appended in order after the code byte that is open.
class Flux {
 public:
  explicit Flux(std::vector<std::uint8_t>& out) : out_(out) {}
  void code(int c) {
    if (place_ == 4) {
      octet_ = out_.size();
      out_.push_back(0);
      place_ = 0;
    }
    out_[octet_] |= std::uint8_t(c << (6 - 2 * place_));
    ++place_;
  }
  void octet(int b) { out_.push_back(std::uint8_t(b)); }
  void octets(const std::vector<std::uint8_t>& d) { out_.insert(out_.end(), d.begin(), d.end()); }

 private:
  std::vector<std::uint8_t>& out_;
  std::size_t octet_ = 0;
  int place_ = 4;
};

// Whether lines `de` to `a` of a block have zero deltas.
bool nulles(const std::array<Ligne, 4>& b, int de, int a) {
  for (int r = de; r <= a; ++r)
    if (!b[std::size_t(r)].zero()) return false;
  return true;
}

// A cell in 4-pixel blocks.
struct Cellule {
  int x, y, l, h;
};

// A displacement into the previous frame, in pixels of the plane.
struct Vecteur {
  int x = 0, y = 0;
};

// The lines of a cell's blocks as data bytes: one byte for a line of small
// deltas, two otherwise, and run codes for the zero lines that end a block
// and the whole zero blocks after it.
void ecrire_blocs(const std::vector<std::array<Ligne, 4>>& blocs, std::vector<std::uint8_t>& data) {
  const Table& t = table(kTable);
  const std::size_t n = blocs.size();
  for (std::size_t i = 0; i < n;) {
    const auto& b = blocs[i];
    std::size_t suivant = i + 1;
    for (int r = 0; r < 4;) {
      if (nulles(b, r, 3)) {
        std::size_t fin = i + 1;
        while (fin < n && fin - i < 31 && nulles(blocs[fin], 0, 3)) ++fin;
        const std::size_t compte = fin - i;
        if (compte == 1) {
          data.push_back(0xFD);
        } else if (compte == 2) {
          data.push_back(0xFC);
        } else {
          data.push_back(0xFB);
          data.push_back(std::uint8_t(compte));
        }
        suivant = fin;
        break;
      }
      if (r <= 2 && nulles(b, r, 2)) {
        data.push_back(0xFE);
        r = 3;
        continue;
      }
      if (r <= 1 && nulles(b, r, 1)) {
        data.push_back(0xFF);
        r = 2;
        continue;
      }
      const Ligne& l = b[std::size_t(r)];
      if (en_quad(t, l.gauche, l.droite)) {
        data.push_back(std::uint8_t(t.n + t.q * l.gauche + l.droite));
      } else {
        data.push_back(l.droite);
        data.push_back(l.gauche);
      }
      ++r;
    }
    i = suivant;
  }
}

// For an intra cell: for each pixel pair (two per block column) and row, how
// many rows below it, at most kRangees, have the same source pair.
std::vector<std::uint8_t> rangees_plates(const Plan& p, const Cellule& c) {
  const int paires = 2 * c.l, lignes = 4 * c.h;
  std::vector<std::uint8_t> n(std::size_t(paires) * std::size_t(lignes), 0);
  for (int y = lignes - 2; y >= 0; --y)
    for (int j = 0; j < paires; ++j) {
      const std::uint8_t* s = p.src(4 * c.x + 2 * j, 4 * c.y + y);
      const std::uint8_t* d = p.src(4 * c.x + 2 * j, 4 * c.y + y + 1);
      if (s[0] == d[0] && s[1] == d[1])
        n[std::size_t(y) * paires + std::size_t(j)] =
            std::uint8_t(std::min(kRangees, n[std::size_t(y + 1) * paires + std::size_t(j)] + 1));
    }
  return n;
}

// Codes a cell into buffer k and its data bytes into `data`: the mode byte,
// then every block's lines, runs of zero lines as run codes. Without a
// vector every row predicts from the row above (intra), and a pair whose
// source goes on unchanged below is steered for those rows too; with one,
// each row predicts from the previous frame's row at that displacement.
void coder_cellule(Plan& p, int k, const Cellule& c, const Vecteur* v, std::vector<std::uint8_t>& data) {
  std::vector<std::array<Ligne, 4>> blocs(std::size_t(c.l) * std::size_t(c.h));
  const std::vector<std::uint8_t> plates = v ? std::vector<std::uint8_t>{} : rangees_plates(p, c);
  for (int by = 0; by < c.h; ++by)
    for (int bx = 0; bx < c.l; ++bx) {
      auto& b = blocs[std::size_t(by) * c.l + std::size_t(bx)];
      const int x = 4 * (c.x + bx);
      for (int r = 0; r < 4; ++r) {
        const int y = 4 * (c.y + by) + r;
        const std::uint8_t* pred = v ? p.rec(1 - k, x + v->x, y + v->y) : p.rec(k, x, y - 1);
        const std::uint8_t* s = p.src(x, y);
        const std::size_t o = std::size_t(4 * by + r) * std::size_t(2 * c.l) + std::size_t(2 * bx);
        const int sg = v ? 0 : plates[o], sd = v ? 0 : plates[o + 1];
        Ligne l = sg > 0 && sd > 0 ? Ligne{} : choisir_ligne(pred, s);
        if (sg > 0) l.gauche = std::uint8_t(dyade_plate(pred[0], pred[1], s[0], s[1], sg));
        if (sd > 0) l.droite = std::uint8_t(dyade_plate(pred[2], pred[3], s[2], s[3], sd));
        b[std::size_t(r)] = l;
        appliquer(l, pred, p.rec(k, x, y));
      }
    }
  data.push_back(kTable);  // mode 0, table selector
  ecrire_blocs(blocs, data);
}

// Split sizes in blocks: the first part of n.
int moitie(int n) { return n > 2 ? 2 * ((n + 2) / 4) : 1; }

// An inter frame's motion in one plane: the vector list (the null vector,
// then the plane's global motion and the vectors around it) and the blocks
// the null vector copies.
struct Mouvement {
  std::vector<Vecteur> vecteurs;
  int largeur = 0;                    // in blocks
  std::vector<std::uint8_t> copiees;  // per block
  bool toutes_copiees(const Cellule& c) const {
    for (int y = c.y; y < c.y + c.h; ++y)
      for (int x = c.x; x < c.x + c.l; ++x)
        if (!copiees[std::size_t(y) * largeur + std::size_t(x)]) return false;
    return true;
  }
};

// Whether the previous frame's block at displacement v may stand for the
// source block at (x, y): every pixel within 4 levels and squared errors
// summing to at most 64.
bool bloc_copiable(Plan& p, int k, int x, int y, Vecteur v) {
  int somme = 0;
  for (int r = 0; r < 4; ++r) {
    const std::uint8_t* s = p.src(x, y + r);
    const std::uint8_t* a = p.rec(1 - k, x + v.x, y + r + v.y);
    for (int i = 0; i < 4; ++i) {
      const int d = 2 * int(a[i]) - int(s[i]);
      if (d > 4 || d < -4) return false;
      somme += d * d;
    }
  }
  return somme <= 64;
}

// The displacement within +-portee under which the previous frame best
// matches the source over [x0, x1) x [y0, y1): least mean absolute difference
// over every pas-th pixel that stays inside the plane, shorter on a tie;
// searched on even displacements, then around the best one.
Vecteur deplacement(Plan& p, int k, int x0, int y0, int x1, int y1, int portee, int pas) {
  auto ecart = [&](int vx, int vy) {
    std::int64_t somme = 0, n = 0;
    const int xa = std::max(x0, -vx), xb = std::min(x1, p.largeur - vx);
    for (int y = std::max(y0, -vy); y < std::min(y1, p.hauteur - vy); y += pas) {
      // Both rows from the first compared column, which lies in the plane.
      const std::uint8_t* s = p.src(xa, y);
      const std::uint8_t* a = p.rec(1 - k, xa + vx, y + vy);
      for (int i = 0; i < xb - xa; i += pas, ++n) somme += std::abs(int(s[i]) - 2 * int(a[i]));
    }
    return n == 0 ? std::numeric_limits<double>::max() : double(somme) / double(n);
  };
  Vecteur meilleur;
  double moyenne_min = ecart(0, 0);
  auto essayer = [&](int vx, int vy) {
    if (vx < -portee || vx > portee || vy < -portee || vy > portee) return;
    const double moyenne = ecart(vx, vy);
    if (moyenne < moyenne_min ||
        (moyenne == moyenne_min && std::abs(vx) + std::abs(vy) < std::abs(meilleur.x) + std::abs(meilleur.y)))
      moyenne_min = moyenne, meilleur = {vx, vy};
  };
  for (int vy = -portee; vy <= portee; vy += 2)
    for (int vx = -portee; vx <= portee; vx += 2) essayer(vx, vy);
  const Vecteur grossier = meilleur;
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) essayer(grossier.x + dx, grossier.y + dy);
  return meilleur;
}

// The plane's vector list: the null vector, the whole plane's displacement
// and those of its regions (64 luma pixels, 16 chroma), each with its
// neighbours; at most 256.
Mouvement mouvement(Plan& p, int k, bool luma) {
  Mouvement m;
  const int portee = luma ? 16 : 4, region = luma ? 64 : 16, pas = luma ? 4 : 2;
  auto ajouter = [&m](Vecteur c, int autour) {
    for (int dy = -autour; dy <= autour; ++dy)
      for (int dx = -autour; dx <= autour; ++dx) {
        const Vecteur v{c.x + dx, c.y + dy};
        const bool connu = std::any_of(m.vecteurs.begin(), m.vecteurs.end(),
                                       [v](const Vecteur& w) { return w.x == v.x && w.y == v.y; });
        if (!connu && m.vecteurs.size() < 256) m.vecteurs.push_back(v);
      }
  };
  ajouter({}, 0);
  ajouter(deplacement(p, k, 0, 0, p.largeur, p.hauteur, portee, pas), 2);
  for (int y = 0; y < p.hauteur; y += region)
    for (int x = 0; x < p.largeur; x += region)
      ajouter(deplacement(p, k, x, y, std::min(x + region, p.largeur), std::min(y + region, p.hauteur), portee, pas),
              1);
  m.largeur = p.largeur / 4;
  m.copiees.assign(std::size_t(m.largeur) * std::size_t(p.hauteur / 4), 0);
  for (int by = 0; by < p.hauteur / 4; ++by)
    for (int bx = 0; bx < m.largeur; ++bx)
      m.copiees[std::size_t(by) * m.largeur + std::size_t(bx)] = bloc_copiable(p, k, 4 * bx, 4 * by, {});
  return m;
}

bool dans_le_plan(const Plan& p, const Cellule& c, Vecteur v) {
  return 4 * c.x + v.x >= 0 && 4 * (c.x + c.l) + v.x <= p.largeur && 4 * c.y + v.y >= 0 &&
         4 * (c.y + c.h) + v.y <= p.hauteur;
}

void copier(Plan& p, int k, const Cellule& c, Vecteur v) {
  for (int y = 4 * c.y; y < 4 * (c.y + c.h); ++y)
    std::copy_n(p.rec(1 - k, 4 * c.x + v.x, y + v.y), 4 * c.l, p.rec(k, 4 * c.x, y));
}

// The index of the listed vector that best predicts the cell (least squared
// error), among those that keep it inside the plane.
int meilleur_vecteur(Plan& p, int k, const Cellule& c, const Mouvement& m) {
  int meilleur = 0;
  std::int64_t erreur_min = std::numeric_limits<std::int64_t>::max();
  for (std::size_t i = 0; i < m.vecteurs.size(); ++i) {
    const Vecteur v = m.vecteurs[i];
    if (!dans_le_plan(p, c, v)) continue;
    std::int64_t erreur = 0;
    for (int y = 4 * c.y; y < 4 * (c.y + c.h) && erreur < erreur_min; ++y) {
      const std::uint8_t* s = p.src(4 * c.x, y);
      const std::uint8_t* a = p.rec(1 - k, 4 * c.x + v.x, y + v.y);
      for (int x = 0; x < 4 * c.l; ++x) erreur += (int(s[x]) - 2 * int(a[x])) * (int(s[x]) - 2 * int(a[x]));
    }
    if (erreur < erreur_min) erreur_min = erreur, meilleur = int(i);
  }
  return meilleur;
}

// A cell of an inter frame: copied from the previous frame when every block
// matches at the best vector; otherwise coded against that vector or intra,
// whichever takes fewer bytes.
void feuille_inter(Plan& p, int k, const Cellule& c, Flux& f, const Mouvement& m) {
  const int i = meilleur_vecteur(p, k, c, m);
  const Vecteur v = m.vecteurs[std::size_t(i)];
  bool copie = true;
  for (int by = c.y; by < c.y + c.h && copie; ++by)
    for (int bx = c.x; bx < c.x + c.l && copie; ++bx) copie = bloc_copiable(p, k, 4 * bx, 4 * by, v);
  if (copie) {
    f.code(3);  // inter, vector i
    f.octet(i);
    f.code(2);  // plain copy
    f.code(0);
    copier(p, k, c, v);
    return;
  }
  // The cell's pixels, to code it twice.
  std::vector<std::uint8_t> avant, intra;
  auto garder = [&](std::vector<std::uint8_t>& o) {
    o.clear();
    for (int y = 4 * c.y; y < 4 * (c.y + c.h); ++y)
      o.insert(o.end(), p.rec(k, 4 * c.x, y), p.rec(k, 4 * c.x, y) + 4 * c.l);
  };
  auto remettre = [&](const std::vector<std::uint8_t>& o) {
    for (int y = 4 * c.y, j = 0; y < 4 * (c.y + c.h); ++y, ++j)
      std::copy_n(o.data() + std::size_t(j) * 4 * c.l, 4 * c.l, p.rec(k, 4 * c.x, y));
  };
  garder(avant);
  std::vector<std::uint8_t> donnees_intra, donnees_inter;
  coder_cellule(p, k, c, nullptr, donnees_intra);
  garder(intra);
  remettre(avant);
  coder_cellule(p, k, c, &v, donnees_inter);
  if (donnees_intra.size() < donnees_inter.size()) {
    remettre(intra);
    f.code(2);  // intra
    f.code(3);  // cell data
    f.octets(donnees_intra);
  } else {
    f.code(3);  // inter, vector i
    f.octet(i);
    f.code(3);  // cell data
    f.octets(donnees_inter);
  }
}

// Codes the cell's subtree. Cells are split into strips; a key frame codes
// each strip as one intra cell. An inter frame halves a strip until a cell is
// wholly copied by the null vector or is at most kFeuille blocks on a side.
constexpr int kFeuille = 4;

void noeud(Plan& p, int k, const Cellule& c, Flux& f, const Mouvement* m) {
  auto diviser = [&](bool verticale, int premiere) {
    f.code(verticale ? 1 : 0);
    if (verticale) {
      noeud(p, k, {c.x, c.y, premiere, c.h}, f, m);
      noeud(p, k, {c.x + premiere, c.y, c.l - premiere, c.h}, f, m);
    } else {
      noeud(p, k, {c.x, c.y, c.l, premiere}, f, m);
      noeud(p, k, {c.x, c.y + premiere, c.l, c.h - premiere}, f, m);
    }
  };
  if (c.l > p.bande) return diviser(true, c.l <= 2 * p.bande ? p.bande : 2 * p.bande);
  if (!m) {
    std::vector<std::uint8_t> donnees;
    coder_cellule(p, k, c, nullptr, donnees);
    f.code(2);  // intra
    f.code(3);  // cell data
    f.octets(donnees);
    return;
  }
  if (m->toutes_copiees(c)) {
    f.code(3);  // inter, the null vector
    f.octet(0);
    f.code(2);  // plain copy
    f.code(0);
    copier(p, k, c, {});
    return;
  }
  if (c.l <= kFeuille && c.h <= kFeuille) return feuille_inter(p, k, c, f, *m);
  if (c.h >= c.l) return diviser(false, moitie(c.h));
  diviser(true, moitie(c.l));
}

void ecrire16(std::uint8_t* o, unsigned v) {
  o[0] = std::uint8_t(v);
  o[1] = std::uint8_t(v >> 8);
}
void ecrire32(std::uint8_t* o, std::uint32_t v) {
  ecrire16(o, v & 0xFFFF);
  ecrire16(o + 2, v >> 16);
}

// One plane's block: the vector list, then the tree, padded to 4 bytes and
// to at least `minimum` bytes.
std::vector<std::uint8_t> bloc_plan(Plan& p, int k, bool inter, bool luma, std::size_t minimum) {
  std::vector<std::uint8_t> out(4, 0);
  Mouvement m;
  if (inter) {
    m = mouvement(p, k, luma);
    ecrire32(out.data(), std::uint32_t(m.vecteurs.size()));
    for (const Vecteur& v : m.vecteurs) {
      out.push_back(std::uint8_t(std::int8_t(v.y)));
      out.push_back(std::uint8_t(std::int8_t(v.x)));
    }
  }
  Flux f(out);
  noeud(p, k, {0, 0, p.largeur / 4, p.hauteur / 4}, f, inter ? &m : nullptr);
  out.resize(std::max(minimum, (out.size() + 3) / 4 * 4), 0);
  return out;
}

// The picture header's checksum: the samples of the three planes XORed two
// at a time (even ones into the low byte), doubled.
unsigned somme_controle(Plan* plans, int k) {
  unsigned lo = 0, hi = 0;
  for (int i = 0; i < 3; ++i) {
    Plan& p = plans[i];
    const std::uint8_t* s = p.rec(k, 0, 0);
    const std::size_t n = std::size_t(p.largeur) * std::size_t(p.hauteur);
    for (std::size_t j = 0; j + 1 < n; j += 2) {
      lo ^= s[j];
      hi ^= s[j + 1];
    }
  }
  return ((hi << 8 | lo) * 2) & 0xFFFF;
}

constexpr std::uint8_t kListeAlternee[16] = {0x02, 0x14, 0x26, 0x38, 0x4A, 0x5C, 0x6E, 0x7F,
                                             0x82, 0x94, 0xA6, 0xB8, 0xCA, 0xDC, 0xEE, 0xFF};

}  // namespace

bool iv32_holds(int width, int height) {
  return width >= kIv32WidthMin && width <= kIv32WidthMax && height >= kIv32HeightMin && height <= kIv32HeightMax &&
         width % 4 == 0 && height % 4 == 0;
}

std::optional<Iv32Size> iv32_size(int width, int height) {
  if (width < 1 || height < 1 || width > kIv32SourceMax || height > kIv32SourceMax) return std::nullopt;
  if (iv32_holds(width, height)) return Iv32Size{width, height};
  const double l = width, h = height;
  double s = std::min({1.0, kIv32WidthMax / l, kIv32HeightMax / h});
  s = std::max({s, kIv32WidthMin / l, kIv32HeightMin / h});
  const int w4 = std::clamp(4 * Round(l * s / 4), kIv32WidthMin, kIv32WidthMax);
  const int h4 = std::clamp(4 * Round(h * s / 4), kIv32HeightMin, kIv32HeightMax);
  return Iv32Size{w4, h4};
}

struct Iv32Encoder::Impl {
  int largeur = 0, hauteur = 0;
  bool inter = true;
  int intervalle = 30;
  std::uint32_t numero = 0;  // frames coded
  Plan plans[3];             // Y, U, V
  SwsContext* sws = nullptr;
  AVFrame* yuv = nullptr;
  ImageBgra source;  // the frame in rows the scaler may read whole words of

  ~Impl() {
    sws_freeContext(sws);
    av_frame_free(&yuv);
  }

  // 8-bit rows into a plane's source; the last column and row repeat to fill it.
  static void charger(Plan& p, const std::uint8_t* d, std::ptrdiff_t pas, int l, int h) {
    for (int y = 0; y < p.hauteur; ++y) {
      const std::uint8_t* s = d + std::min(y, h - 1) * pas;
      std::uint8_t* o = p.source.data() + std::size_t(y) * p.largeur;
      for (int x = 0; x < p.largeur; ++x) o[x] = s[std::min(x, l - 1)];
    }
  }

  std::vector<std::uint8_t> coder(bool& cle) {
    const int k = int(numero & 1);
    cle = !inter || numero % std::uint32_t(intervalle) == 0;
    std::vector<std::uint8_t> u = bloc_plan(plans[1], k, !cle, false, 0);
    std::vector<std::uint8_t> v = bloc_plan(plans[2], k, !cle, false, 0);
    std::vector<std::uint8_t> y = bloc_plan(plans[0], k, !cle, true, 20);
    std::vector<std::uint8_t> out(64, 0);
    const std::uint32_t du = 48, dv = du + std::uint32_t(u.size()), dy = dv + std::uint32_t(v.size());
    out.insert(out.end(), u.begin(), u.end());
    out.insert(out.end(), v.begin(), v.end());
    out.insert(out.end(), y.begin(), y.end());
    const std::uint32_t longueur = std::uint32_t(out.size() - 16);
    ecrire32(&out[0], numero);
    ecrire32(&out[8], numero ^ longueur ^ 0x46524D48u);
    ecrire32(&out[12], longueur);
    std::uint8_t* b = &out[16];
    ecrire16(b, 32);
    ecrire16(b + 2, (cle ? 0x0005u : 0x0001u) | unsigned(k) << 9);
    ecrire32(b + 4, longueur * 8);
    ecrire16(b + 10, somme_controle(plans, k));
    ecrire16(b + 12, unsigned(hauteur));
    ecrire16(b + 14, unsigned(largeur));
    ecrire32(b + 16, dy);
    ecrire32(b + 20, dv);
    ecrire32(b + 24, du);
    std::memcpy(b + 32, kListeAlternee, 16);
    ++numero;
    return out;
  }
};

Iv32Encoder::Iv32Encoder() : impl_(std::make_unique<Impl>()) {}
Iv32Encoder::~Iv32Encoder() = default;

bool Iv32Encoder::open(int width, int height, bool inter, int key_interval) {
  impl_ = std::make_unique<Impl>();
  if (!iv32_holds(width, height)) return false;
  Impl& m = *impl_;
  m.largeur = width;
  m.hauteur = height;
  m.inter = inter;
  m.intervalle = std::max(1, key_interval);
  const int cl = (width / 4 + 3) / 4 * 4, ch = (height / 4 + 3) / 4 * 4;
  m.plans[0].preparer(width, height, 40);
  m.plans[1].preparer(cl, ch, 10);
  m.plans[2].preparer(cl, ch, 10);
  return true;
}

int Iv32Encoder::width() const { return impl_->largeur; }
int Iv32Encoder::height() const { return impl_->hauteur; }

std::vector<std::uint8_t> Iv32Encoder::encode(const Yuv410& picture, bool& key) {
  Impl& m = *impl_;
  key = false;
  const int l = m.largeur, h = m.hauteur, lc = (l + 3) / 4, hc = (h + 3) / 4;
  if (l == 0 || picture.width != l || picture.height != h || picture.y.size() < std::size_t(l) * std::size_t(h) ||
      picture.u.size() < std::size_t(lc) * std::size_t(hc) || picture.v.size() < std::size_t(lc) * std::size_t(hc))
    return {};
  Impl::charger(m.plans[0], picture.y.data(), l, l, h);
  Impl::charger(m.plans[1], picture.u.data(), lc, lc, hc);
  Impl::charger(m.plans[2], picture.v.data(), lc, lc, hc);
  return m.coder(key);
}

std::vector<std::uint8_t> Iv32Encoder::encode(const FrameView& frame, bool& key) {
  Impl& m = *impl_;
  key = false;
  if (m.largeur == 0 || !frame.data || frame.width < 1 || frame.height < 1 || frame.width > kIv32SourceMax ||
      frame.height > kIv32SourceMax || frame.stride < frame.width)
    return {};
  m.sws = sws_getCachedContext(m.sws, frame.width, frame.height, AV_PIX_FMT_BGRA, m.largeur, m.hauteur,
                               AV_PIX_FMT_YUV410P, SWS_BICUBIC | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
  if (!m.sws) return {};
  if (!m.yuv) {
    m.yuv = av_frame_alloc();
    if (!m.yuv) return {};
    m.yuv->format = AV_PIX_FMT_YUV410P;
    m.yuv->width = m.largeur;
    m.yuv->height = m.hauteur;
    if (av_frame_get_buffer(m.yuv, 0) < 0) {
      av_frame_free(&m.yuv);
      return {};
    }
  }
  if (!m.source.copier(frame)) return {};
  sws_scale(m.sws, m.source.plans(), m.source.pas(), 0, frame.height, m.yuv->data, m.yuv->linesize);
  const int lc = (m.largeur + 3) / 4, hc = (m.hauteur + 3) / 4;
  Impl::charger(m.plans[0], m.yuv->data[0], m.yuv->linesize[0], m.largeur, m.hauteur);
  Impl::charger(m.plans[1], m.yuv->data[1], m.yuv->linesize[1], lc, hc);
  Impl::charger(m.plans[2], m.yuv->data[2], m.yuv->linesize[2], lc, hc);
  return m.coder(key);
}

Yuv410 Iv32Encoder::reconstruction() const {
  const Impl& m = *impl_;
  Yuv410 r;
  if (m.largeur == 0 || m.numero == 0) return r;
  r.width = m.largeur;
  r.height = m.hauteur;
  const int k = int((m.numero - 1) & 1);
  auto sortir = [&](const Plan& p, int l, int h, std::vector<std::uint8_t>& o) {
    o.resize(std::size_t(l) * std::size_t(h));
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < l; ++x)
        o[std::size_t(y) * l + std::size_t(x)] =
            std::uint8_t(p.tampons[std::size_t(k)][std::size_t(y + 1) * p.largeur + std::size_t(x)] << 1);
  };
  sortir(m.plans[0], m.largeur, m.hauteur, r.y);
  sortir(m.plans[1], (m.largeur + 3) / 4, (m.hauteur + 3) / 4, r.u);
  sortir(m.plans[2], (m.largeur + 3) / 4, (m.hauteur + 3) / 4, r.v);
  return r;
}

}  // namespace platform::vcv
