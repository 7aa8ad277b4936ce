#include "render/bmp.h"

#include <algorithm>
#include <bit>
#include <vector>

#include "platform/fichiers.h"
#include "render/image.h"

namespace render {

namespace {

// A refused file; `raison` is said to the user.
struct Refus {
  std::string raison;
};

std::uint32_t u32(std::string_view b, std::size_t o) {
  return std::uint32_t(std::uint8_t(b[o])) | std::uint32_t(std::uint8_t(b[o + 1])) << 8 |
         std::uint32_t(std::uint8_t(b[o + 2])) << 16 | std::uint32_t(std::uint8_t(b[o + 3])) << 24;
}
std::uint16_t u16(std::string_view b, std::size_t o) {
  return std::uint16_t(std::uint8_t(b[o]) | std::uint8_t(b[o + 1]) << 8);
}
unsigned octet(std::string_view b, std::size_t o) { return std::uint8_t(b[o]); }

void put16(std::string& b, std::uint32_t v) {
  b.push_back(char(v & 0xFF));
  b.push_back(char((v >> 8) & 0xFF));
}
void put32(std::string& b, std::uint32_t v) {
  put16(b, v & 0xFFFF);
  put16(b, v >> 16);
}

// One colour of a pixel value through its bit-field mask, widened to 8 bits by
// repeating its bits (5 bits abcde give abcdeabc), or cut to its top 8 bits.
class Canal {
 public:
  explicit Canal(std::uint32_t masque) : masque_(masque) {
    if (masque == 0) return;
    decalage_ = std::countr_zero(masque);
    bits_ = std::popcount(masque);
  }
  // A mask whose bits follow each other.
  bool contigu() const { return masque_ == 0 || std::has_single_bit((std::uint64_t(masque_) >> decalage_) + 1); }
  std::uint8_t valeur(std::uint32_t p) const {
    if (bits_ == 0) return 0;
    const std::uint32_t v = (p & masque_) >> decalage_;
    if (bits_ >= 8) return std::uint8_t(v >> (bits_ - 8));
    std::uint32_t r = 0;
    int n = 0;
    for (; n < 8; n += bits_) r = r << bits_ | v;
    return std::uint8_t(r >> (n - 8));
  }

 private:
  std::uint32_t masque_;
  int decalage_ = 0, bits_ = 0;
};

// What the headers say.
struct Entete {
  std::int64_t largeur = 0, hauteur = 0;
  bool haut_en_bas = false;
  std::uint32_t bits = 0, compression = 0, couleurs = 0, donnees = 0;
  std::size_t taille = 0;           // of the information header
  std::size_t entree_palette = 4;   // bytes per palette entry
  std::uint32_t masques[3] = {0, 0, 0};
};

constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kChamps = 3, kJpeg = 4, kPng = 5, kChampsAlpha = 6;

std::string taille_texte(std::int64_t w, std::int64_t h) { return std::to_string(w) + " x " + std::to_string(h); }

// The palette's entries read: those the header counts, all of them when it counts none.
std::size_t couleurs_palette(const Entete& e) {
  if (e.bits > 8) return 0;
  const std::size_t maxi = std::size_t(1) << e.bits;
  return e.couleurs == 0 ? maxi : std::min<std::size_t>(e.couleurs, maxi);
}

// Where the headers, the masks after the short information header and the
// palette end: the pixels start there or further on.
std::uint64_t fin_des_entetes(const Entete& e) {
  std::uint64_t fin = 14 + e.taille + couleurs_palette(e) * e.entree_palette;
  if (e.taille == 40 && e.compression == kChamps) fin += 12;
  if (e.taille == 40 && e.compression == kChampsAlpha) fin += 16;
  return fin;
}

// `taille` is the size of the whole file, of which `b` may hold only the first
// bytes (at least kTeteBmp of them when the file has them).
Entete lire_entete(std::string_view b, std::uint64_t taille) {
  if (b.size() < 2 || b[0] != 'B' || b[1] != 'M') throw Refus{"it is not a Windows bitmap (it does not start with \"BM\")"};
  if (b.size() < 26) throw Refus{"its header is cut short"};
  Entete e;
  e.donnees = u32(b, 10);
  e.taille = u32(b, 14);
  if (e.taille == 12) {
    e.largeur = u16(b, 18);
    e.hauteur = std::int16_t(u16(b, 20));
    if (u16(b, 22) != 1) throw Refus{"it has " + std::to_string(u16(b, 22)) + " colour planes; 1 is read"};
    e.bits = u16(b, 24);
    e.entree_palette = 3;
  } else if (e.taille >= 40 && e.taille <= 1024) {
    if (b.size() < 14 + e.taille) throw Refus{"its header is cut short"};
    e.largeur = std::int32_t(u32(b, 18));
    e.hauteur = std::int32_t(u32(b, 22));
    if (u16(b, 26) != 1) throw Refus{"it has " + std::to_string(u16(b, 26)) + " colour planes; 1 is read"};
    e.bits = u16(b, 28);
    e.compression = u32(b, 30);
    e.couleurs = u32(b, 46);
  } else {
    throw Refus{"its header has an unknown size (" + std::to_string(e.taille) + " bytes)"};
  }
  e.haut_en_bas = e.hauteur < 0;
  if (e.haut_en_bas) e.hauteur = -e.hauteur;
  if (e.largeur < 1 || e.hauteur < 1 || e.largeur > kBmpCoteMaxi || e.hauteur > kBmpCoteMaxi ||
      e.largeur * e.hauteur > kBmpPixelsMaxi)
    throw Refus{"it claims " + taille_texte(e.largeur, e.hauteur) + " pixels; at most " +
                std::to_string(kBmpCoteMaxi) + " pixels a side and " + std::to_string(kBmpPixelsMaxi) +
                " pixels in all are read"};
  const std::uint32_t n = e.bits;
  if (n != 1 && n != 4 && n != 8 && n != 16 && n != 24 && n != 32)
    throw Refus{"it has " + std::to_string(n) + " bits per pixel; 1, 4, 8, 16, 24 or 32 are read"};
  const std::uint32_t c = e.compression;
  if (c == kJpeg || c == kPng) throw Refus{"it holds a JPEG or PNG picture, which is not read"};
  const bool accorde = c == kRgb || (c == kRle8 && n == 8) || (c == kRle4 && n == 4) ||
                       ((c == kChamps || c == kChampsAlpha) && n >= 16);
  if (c > kChampsAlpha) throw Refus{"it uses an unknown compression (" + std::to_string(c) + ")"};
  if (!accorde)
    throw Refus{"its compression (" + std::to_string(c) + ") does not go with " + std::to_string(n) +
                " bits per pixel"};
  if (c == kChamps || c == kChampsAlpha) {
    if (b.size() < 66) throw Refus{"its colour masks are cut short"};
    for (int k = 0; k < 3; ++k) e.masques[k] = u32(b, 54 + 4 * std::size_t(k));
  } else if (n == 16) {
    e.masques[0] = 0x7C00;
    e.masques[1] = 0x03E0;
    e.masques[2] = 0x001F;
  } else if (n >= 24) {
    e.masques[0] = 0xFF0000;
    e.masques[1] = 0x00FF00;
    e.masques[2] = 0x0000FF;
  }
  const std::uint64_t hors = n >= 32 ? 0 : ~((std::uint64_t(1) << n) - 1);
  for (std::uint32_t m : e.masques)
    if ((m & hors) != 0 || !Canal(m).contigu())
      throw Refus{"its colour masks are not runs of bits within its " + std::to_string(n) + " bits per pixel"};
  if (e.donnees > taille) throw Refus{"its pixels lie past the end of the file"};
  if (e.donnees < fin_des_entetes(e)) throw Refus{"its pixels start inside its header or its palette"};
  return e;
}

std::vector<Pixel> lire_palette(std::string_view b, const Entete& e) {
  std::vector<Pixel> palette;
  const std::size_t nombre = couleurs_palette(e);
  const std::size_t debut = 14 + e.taille;
  if (debut + nombre * e.entree_palette > b.size()) throw Refus{"its palette is cut short"};
  for (std::size_t k = 0; k < nombre; ++k) {
    const std::size_t o = debut + k * e.entree_palette;
    palette.push_back(pixel_rgb(std::uint8_t(b[o + 2]), std::uint8_t(b[o + 1]), std::uint8_t(b[o])));
  }
  return palette;
}

// The picture being filled: rows given in file order, the kept part only.
class Cible {
 public:
  Cible(const Entete& e, int cote_garde, std::vector<Pixel> palette)
      : hauteur_(e.hauteur), haut_en_bas_(e.haut_en_bas), palette_(std::move(palette)) {
    const std::int64_t c = cote_garde > 0 ? cote_garde : kBmpCoteMaxi;
    image.reset(int(std::min(e.largeur, c)), int(std::min(e.hauteur, c)), pixel_rgb(0, 0, 0));
  }
  // Row `r` of the file, or null when it is not kept.
  Pixel* ligne(std::int64_t r) {
    if (r < 0 || r >= hauteur_) return nullptr;
    const std::int64_t y = haut_en_bas_ ? r : hauteur_ - 1 - r;
    return y < image.height() ? image.row(int(y)) : nullptr;
  }
  int largeur() const { return image.width(); }
  Pixel couleur(unsigned k) const {
    if (k >= palette_.size())
      throw Refus{"a pixel names colour " + std::to_string(k) + " of a palette of " + std::to_string(palette_.size())};
    return palette_[k];
  }

  Bitmap image;

 private:
  std::int64_t hauteur_;
  bool haut_en_bas_;
  std::vector<Pixel> palette_;
};

// Bytes of one uncompressed row, padded to 4.
std::size_t ligne_brute(const Entete& e) { return ((std::size_t(e.largeur) * e.bits + 31) / 32) * 4; }

// Uncompressed pixels must all be in the file: checked before the picture is
// made, so that a header alone never takes the memory of its picture.
void verifier_brut(std::uint64_t taille, const Entete& e) {
  if ((taille - e.donnees) / ligne_brute(e) < std::uint64_t(e.hauteur)) throw Refus{"its pixels are cut short"};
}

void decoder_brut(std::string_view b, const Entete& e, Cible& c) {
  const std::size_t ligne = ligne_brute(e);
  const Canal rouge(e.masques[0]), vert(e.masques[1]), bleu(e.masques[2]);
  const int n = int(e.bits);
  for (std::int64_t r = 0; r < e.hauteur; ++r) {
    Pixel* d = c.ligne(r);
    if (!d) continue;
    const char* s = b.data() + e.donnees + std::size_t(r) * ligne;
    auto o = [s](std::size_t k) { return std::uint32_t(std::uint8_t(s[k])); };
    for (int x = 0; x < c.largeur(); ++x) {
      const std::size_t i = std::size_t(x);
      std::uint32_t p = 0;
      if (n <= 8) {
        const std::size_t bit = i * std::size_t(n);
        d[x] = c.couleur((o(bit / 8) >> (8 - n - bit % 8)) & ((1u << n) - 1));
        continue;
      }
      if (n == 16) p = o(2 * i) | o(2 * i + 1) << 8;
      else if (n == 24) p = o(3 * i) | o(3 * i + 1) << 8 | o(3 * i + 2) << 16;
      else p = o(4 * i) | o(4 * i + 1) << 8 | o(4 * i + 2) << 16 | o(4 * i + 3) << 24;
      d[x] = pixel_rgb(rouge.valeur(p), vert.valeur(p), bleu.valeur(p));
    }
  }
}

// Where a walk of a run-length stream stands: the byte of its next code
// and the row it is on.
struct PlaceRle {
  std::size_t pos = 0;
  std::int64_t r = 0;
};

// Walks the codes of a run-length stream (4 or 8 bits) from place `p`. Pairs
// of bytes: a count and a colour (two alternating colours for 4 bits),
// given to `v.suite(count, colour)`; or 0 and a code: 0 ends the line
// (`v.ligne(row)`), 1 ends the picture, 2 moves right and up by the next two
// bytes (`v.deplacer(dx, row)`), 3 or more gives that many colours as they
// are (`v.brut(position, count)`), padded to an even byte count. True when
// the stream ends there or its rows are done, with `p` after its last code;
// false when the bytes end first, with `p` at the first code they do not
// hold whole, so that a walk given more bytes goes on from there. A raw run
// cut short is still given to `v.brut` as far as the bytes go.
template <class Visiteur>
bool parcourir_rle(std::string_view b, PlaceRle& p, const Entete& e, Visiteur&& v) {
  const std::size_t taille = b.size();
  const std::int64_t hauteur = e.hauteur;
  const bool quatre = e.bits == 4;
  std::size_t pos = p.pos;
  std::int64_t r = p.r;
  bool finie = true;
  while (r < hauteur) {
    // Runs, the most frequent codes, one after the other.
    while (pos + 2 <= taille && octet(b, pos) > 0) {
      v.suite(octet(b, pos), octet(b, pos + 1));
      pos += 2;
    }
    if (pos + 2 > taille) {
      finie = false;
      break;
    }
    const unsigned c = octet(b, pos + 1);
    if (c == 0) {
      v.ligne(++r);
      pos += 2;
    } else if (c == 1) {
      pos += 2;
      break;
    } else if (c == 2) {
      if (pos + 4 > taille) {
        finie = false;
        break;
      }
      r += octet(b, pos + 3);
      v.deplacer(octet(b, pos + 2), r);
      pos += 4;
    } else {
      v.brut(pos + 2, c);
      const std::size_t longueur = quatre ? (c + 1) / 2 : c;
      const std::size_t suite = pos + 2 + longueur + (longueur & 1);
      if (suite > taille) {
        finie = false;
        break;
      }
      pos = suite;
    }
  }
  p = {pos, r};
  return finie;
}

// Lays the pixels of a run-length stream of 4 bits (`kQuatre`) or 8 into
// the picture, dropping whatever falls outside it. Every colour named is
// looked up, laid or not, so that a colour outside the palette is refused
// wherever it stands.
template <bool kQuatre>
struct PoseurRle {
  std::string_view b;
  Cible& c;
  std::int64_t largeur = c.largeur();
  std::int64_t x = 0;
  Pixel* d = c.ligne(0);

  static unsigned indice(unsigned v, unsigned k) {
    if constexpr (kQuatre) return k % 2 ? v & 15 : v >> 4;
    return v;
  }
  // How many of the next `n` pixels of the row the picture keeps.
  std::int64_t gardes(unsigned n) const { return d ? std::clamp<std::int64_t>(largeur - x, 0, n) : 0; }
  void suite(unsigned n, unsigned v) {
    const Pixel p0 = c.couleur(indice(v, 0)), p1 = kQuatre && n > 1 ? c.couleur(indice(v, 1)) : p0;
    const std::int64_t m = gardes(n);
    for (std::int64_t k = 0; k < m; ++k) d[x + k] = k % 2 ? p1 : p0;
    x += n;
  }
  void ligne(std::int64_t r) {
    x = 0;
    d = c.ligne(r);
  }
  void deplacer(unsigned dx, std::int64_t r) {
    x += dx;
    d = c.ligne(r);
  }
  // As many of the colours as the bytes hold.
  void brut(std::size_t pos, unsigned n) {
    const std::size_t octets = b.size() > pos ? b.size() - pos : 0;
    const unsigned tenus = unsigned(std::min<std::size_t>(n, kQuatre ? 2 * octets : octets));
    auto couleur = [&](unsigned k) { return c.couleur(indice(octet(b, pos + (kQuatre ? k / 2 : k)), k)); };
    const unsigned m = unsigned(gardes(tenus));
    unsigned k = 0;
    for (; k < m; ++k) d[x + k] = couleur(k);
    for (; k < tenus; ++k) couleur(k);
    x += tenus;
  }
};

// Run-length encoded pixels: whatever falls outside the picture is dropped;
// the stream may end anywhere.
void decoder_rle(std::string_view b, const Entete& e, Cible& c) {
  PlaceRle debut{e.donnees};
  if (e.bits == 4)
    parcourir_rle(b, debut, e, PoseurRle<true>{b, c});
  else
    parcourir_rle(b, debut, e, PoseurRle<false>{b, c});
}

// The room to make for a run-length stream of which `lus` bytes are to be
// kept, its walk standing at `p` (counted from the stream's first byte):
// the bytes the whole picture takes at the rate of the rows walked so far,
// or twice `lus` when that is more or no row is done. Room made is not
// memory used until it is read into; each time it is made anew, the bytes
// kept are moved, so it is made for the whole stream the walk foresees.
std::uint64_t salle_rle(const PlaceRle& p, const Entete& e, std::uint64_t lus) {
  const std::uint64_t prevu = p.r > 0 ? p.pos * std::uint64_t(e.hauteur) / std::uint64_t(p.r) : 0;
  return std::max(prevu, 2 * lus);
}

// Reads a run-length stream from the `debut`-th byte kept on, as far as its
// end code, a piece at a time, each piece walked as soon as it is read, the
// walk going on from where it stood, until the stream ends or the file
// does. What is read and kept follows the stream, whatever the file holds
// after it; the room for it grows with the walk (salle_rle) within the
// file's size and the read limit, and the file reader refuses a file read
// past its limit.
void lire_flux_rle(LectureFichier& f, const Entete& e, std::uint64_t debut) {
  struct Rien {
    void suite(unsigned, unsigned) {}
    void ligne(std::int64_t) {}
    void deplacer(unsigned, std::int64_t) {}
    void brut(std::size_t, unsigned) {}
  };
  constexpr std::uint64_t kPiece = 1 << 16;  // walked while it is still in the cache
  PlaceRle place{std::size_t(debut)};
  std::uint64_t salle = 0;
  for (std::uint64_t n = debut + kPiece;; n += kPiece) {
    // Room for this piece and the next, since the file reader may read a
    // block past the bytes asked for.
    if (n + kPiece > salle) {
      salle = debut + salle_rle({place.pos - debut, place.r}, e, n + kPiece - debut);
      f.reserver(salle);
    }
    if (!f.lire_jusqua(n)) throw Refus{f.raison()};
    if (parcourir_rle(f.octets(), place, e, Rien{}) || f.fin()) return;
  }
}

}  // namespace

bool decoder_bmp(std::string_view octets, Bitmap& image, std::string* raison, int cote_garde) {
  try {
    const Entete e = lire_entete(octets, octets.size());
    const bool rle = e.compression == kRle8 || e.compression == kRle4;
    if (!rle) verifier_brut(octets.size(), e);
    Cible c(e, cote_garde, lire_palette(octets, e));
    if (rle)
      decoder_rle(octets, e, c);
    else
      decoder_brut(octets, e, c);
    image = std::move(c.image);
    return true;
  } catch (const Refus& r) {
    if (raison) *raison = r.raison;
    return false;
  }
}

bool taille_bmp(std::string_view octets, std::int64_t& largeur, std::int64_t& hauteur, std::string* raison) {
  try {
    const Entete e = lire_entete(octets, octets.size());
    if (e.compression != kRle8 && e.compression != kRle4) verifier_brut(octets.size(), e);
    largeur = e.largeur;
    hauteur = e.hauteur;
    return true;
  } catch (const Refus& r) {
    if (raison) *raison = r.raison;
    return false;
  }
}

std::optional<std::string> lire_octets_bmp(LectureFichier& f, std::string* raison) {
  try {
    const Entete e = lire_entete(f.octets(), f.taille());
    const bool rle = e.compression == kRle8 || e.compression == kRle4;
    if (!rle) verifier_brut(f.taille(), e);
    // The header and palette lie in the bytes read so far; a gap between
    // them and the pixels is passed over, and the pixels kept after them.
    const std::uint64_t garde = f.octets().size();
    const bool saut = e.donnees > garde;
    // A run-length stream is read as far as it goes, within the file and
    // its read limit; uncompressed pixels are all read, or refused at once.
    const std::uint64_t pixels = ligne_brute(e) * std::uint64_t(e.hauteur);
    if ((!rle && !f.lecture_permise(e.donnees + pixels)) || (saut && !f.sauter_jusqua(e.donnees)))
      throw Refus{f.raison()};
    const std::uint64_t debut = saut ? garde : e.donnees;
    if (rle)
      lire_flux_rle(f, e, debut);
    else if (!f.lire_jusqua(debut + pixels))
      throw Refus{f.raison()};
    std::string octets = f.prendre();
    if (saut) {
      std::string champ;
      put32(champ, std::uint32_t(garde));
      octets.replace(10, 4, champ);
    }
    return octets;
  } catch (const Refus& r) {
    if (raison) *raison = r.raison;
    return std::nullopt;
  }
}

bool lire_bmp(const std::string& chemin, Bitmap& image, std::string* raison, int cote_garde) {
  const std::optional<std::string> octets = lire_octets_image(chemin, raison, GenreImage::bmp);
  return octets && decoder_bmp(*octets, image, raison, cote_garde);
}

namespace {

// The header octets_bmp writes for a picture of w x h, rows of `ligne` bytes.
std::string entete_ecrite(std::size_t w, std::size_t h, std::size_t ligne) {
  std::string b;
  b += "BM";
  put32(b, std::uint32_t(54 + ligne * h));
  put32(b, 0);
  put32(b, 54);
  put32(b, 40);
  put32(b, std::uint32_t(w));
  put32(b, std::uint32_t(h));
  put16(b, 1);
  put16(b, 24);
  put32(b, 0);  // no compression
  put32(b, std::uint32_t(ligne * h));
  put32(b, 2835);  // 72 dots per inch
  put32(b, 2835);
  put32(b, 0);
  put32(b, 0);
  return b;
}

std::size_t ligne_ecrite(std::size_t w) { return (w * 3 + 3) / 4 * 4; }

}  // namespace

std::string octets_bmp(const Bitmap& image) {
  const std::size_t w = std::size_t(image.width()), h = std::size_t(image.height());
  if (w < 1 || h < 1) return {};
  const std::size_t ligne = ligne_ecrite(w);
  std::string b = entete_ecrite(w, h, ligne);
  b.reserve(54 + ligne * h);
  for (std::size_t r = 0; r < h; ++r) {
    const Pixel* p = image.row(int(h - 1 - r));
    for (std::size_t x = 0; x < w; ++x) {
      b.push_back(char(p[x] & 0xFF));
      b.push_back(char((p[x] >> 8) & 0xFF));
      b.push_back(char((p[x] >> 16) & 0xFF));
    }
    b.append(ligne - w * 3, '\0');
  }
  return b;
}

bool comme_octets_bmp(std::string_view octets, int largeur, int hauteur) {
  if (largeur < 1 || hauteur < 1) return false;
  const std::size_t w = std::size_t(largeur), h = std::size_t(hauteur), ligne = ligne_ecrite(w);
  const std::string entete = entete_ecrite(w, h, ligne);
  if (octets.size() != entete.size() + ligne * h || octets.substr(0, entete.size()) != entete) return false;
  // The pixels decode to the picture and are written back the same; only
  // the padding of each row, which a reader passes over, may differ.
  for (std::size_t r = 0; r < h; ++r) {
    const std::string_view fin = octets.substr(entete.size() + r * ligne + w * 3, ligne - w * 3);
    if (fin.find_first_not_of('\0') != std::string_view::npos) return false;
  }
  return true;
}

bool ecrire_bmp(const std::string& chemin, const Bitmap& image) {
  const std::string octets = octets_bmp(image);
  return !octets.empty() && ecrire_fichier(chemin, octets).empty();
}

}  // namespace render
