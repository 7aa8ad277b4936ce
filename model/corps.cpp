// The terrain body of a mountain document: delta-coded height rows, the
// optional "[HORIZONTAL]" and "[PHOTO]" sections and the "[Sol]" feature list.

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

#include "model/matrice.h"
#include "model/texte.h"

using model::ReadError;
using model::TextReader;
using model::TextWriter;

namespace {

const char kChiffres[] = "0123456789ABCDEF";

void ecrire_hexa(TextWriter& w, std::uint8_t v) {
  w.write_char(kChiffres[v >> 4]);
  w.write_char(kChiffres[v & 15]);
}

int chiffre_hexa(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Two characters of the current line as one hexadecimal byte.
std::uint8_t lire_paire(TextReader& r, const char* section) {
  auto haut = r.read_char();
  auto bas = haut ? r.read_char() : std::nullopt;
  if (!haut || !bas)
    throw ReadError(r.line(), std::string("a hexadecimal pair of the ") + section +
                                  " section was expected, the line ends before it is complete");
  return static_cast<std::uint8_t>(lire_hexa(std::string{*haut, *bas}, r.line()));
}

// The next number of the current line; a line with no number left is damage.
std::int32_t lire_nombre_ligne(TextReader& r, const std::string& attendu) {
  if (!r.more_on_line()) {
    if (r.eof()) throw ReadError(r.line(), attendu + " was expected, the end of the file was found");
    throw ReadError(r.line(), attendu + " was expected, the line ends before it");
  }
  return r.read_int();
}

bool attribut_valide(std::int32_t type, std::int32_t attribut) {
  if (type == 1) return attribut >= 1 && attribut <= 10;
  if (type >= 11 && type <= 19) return attribut >= 0 && attribut <= 63;
  if (type >= 31 && type <= 39) return attribut >= 0 && attribut <= 72;
  return false;
}

}  // namespace

std::int32_t lire_hexa(std::string_view s, int ligne) {
  if (s.size() != 2) throw ReadError(ligne, "a hexadecimal pair was expected");
  int haut = chiffre_hexa(s[0]);
  int bas = chiffre_hexa(s[1]);
  if (haut < 0 || bas < 0)
    throw ReadError(ligne, "a hexadecimal pair \"00\"..\"FF\" was expected, \"" + std::string(s) + "\" was found");
  return haut * 16 + bas;
}

void Tmatrice::ecrire_matrice(TextWriter& w) const {
  const std::int32_t taille = n;
  for (std::int32_t r = 1; r <= taille; ++r) {
    std::int32_t precedente = 0;
    for (std::int32_t c = 1; c <= taille + 1 - r; ++c) {
      const std::int32_t h = hauteurs->lire(r, c);
      w.write_int(static_cast<std::int64_t>(h) - precedente);
      w.write_char(' ');
      precedente = h;
    }
    w.end_line();
  }
  if (deformation && dx && dy) {
    w.write("[HORIZONTAL]");
    w.end_line();
    for (std::int32_t r = 1; r <= taille; ++r) {
      for (std::int32_t c = 1; c <= taille + 1 - r; ++c) {
        ecrire_hexa(w, dx->lire(r, c));
        ecrire_hexa(w, dy->lire(r, c));
      }
      w.end_line();
    }
  }
  if (photo_presente && photo_enregistree && photo) {
    w.write("[PHOTO]");
    w.end_line();
    for (std::int32_t r = 1; r <= taille; ++r) {
      for (std::int32_t c = 1; c <= taille + 1 - r; ++c) {
        const Rgb couleur = photo->lire(r, c);
        ecrire_hexa(w, couleur.r);
        ecrire_hexa(w, couleur.g);
        ecrire_hexa(w, couleur.b);
      }
      w.end_line();
    }
  }
  w.write("[Sol]");
  w.end_line();
  std::int32_t vivantes = 0;
  for (std::int32_t k = 0; k < nombre_elements; ++k)
    if (liste_type[k] > 0) ++vivantes;
  w.write_int(vivantes);
  w.end_line();
  for (std::int32_t k = 0; k < nombre_elements; ++k) {
    if (liste_type[k] == 0) continue;
    w.write_int(liste_i[k]);
    w.write("  ");
    w.write_int(liste_j[k]);
    w.write("  ");
    w.write_int(liste_type[k]);
    w.write("  ");
    w.write_int(liste_attribut[k]);
    w.end_line();
  }
}

namespace {

// The generation values and point heights of a terrain that has been read.
void finir_lecture(Tmatrice& m) {
  m.pas = static_cast<std::uint16_t>(1u << m.degre);
  m.nombre_noeuds = static_cast<std::uint16_t>(m.pas + 1);
  m.amplitude = 4000;
  m.rafraichir_points();
}

// Everything the body holds, in file order.
void lire_corps(Tmatrice& m, TextReader& r) {
  const std::int32_t taille = m.n;

  // Heights: one line per row, each number the difference to the previous node.
  for (std::int32_t ligne = 1; ligne <= taille; ++ligne) {
    std::int64_t somme = 0;
    for (std::int32_t c = 1; c <= taille + 1 - ligne; ++c) {
      if (!r.more_on_line()) {
        if (r.eof())
          throw ReadError(r.line(), "height row " + std::to_string(ligne) +
                                        " was expected, the end of the file was found");
        throw ReadError(r.line(), "height row " + std::to_string(ligne) + " should hold " +
                                      std::to_string(taille + 1 - ligne) + " numbers, it ends after " +
                                      std::to_string(c - 1));
      }
      somme += r.read_int();
      const std::int64_t borne = std::clamp<std::int64_t>(somme, std::numeric_limits<std::int32_t>::min(),
                                                          std::numeric_limits<std::int32_t>::max());
      m.hauteurs->ecrire(ligne, c, static_cast<std::int32_t>(borne));
    }
    r.skip_line();
  }

  // Optional sections, recognised by the head lines actually present.
  if (r.eof()) return;
  std::string tete = r.read_line();
  if (tete == "[HORIZONTAL]") {
    if (!m.deformation || !m.dx || !m.dy) {
      m.dx = std::make_unique<Tcooleen>(taille);
      m.dy = std::make_unique<Tcooleen>(taille);
      for (std::int32_t j = 1; j <= taille; ++j)
        for (std::int32_t i = 1; i + j <= taille + 1; ++i) {
          m.dx->ecrire(i, j, 128);
          m.dy->ecrire(i, j, 128);
        }
      m.deformation = 1;
    }
    for (std::int32_t ligne = 1; ligne <= taille; ++ligne) {
      for (std::int32_t c = 1; c <= taille + 1 - ligne; ++c) {
        m.dx->ecrire(ligne, c, lire_paire(r, "[HORIZONTAL]"));
        m.dy->ecrire(ligne, c, lire_paire(r, "[HORIZONTAL]"));
      }
      r.skip_line();
    }
    if (r.eof()) return;
    tete = r.read_line();
  }
  if (tete == "[PHOTO]") {
    if (!m.photo_presente || !m.photo) m.ajouter_photo();
    m.photo_enregistree = 1;
    for (std::int32_t ligne = 1; ligne <= taille; ++ligne) {
      for (std::int32_t c = 1; c <= taille + 1 - ligne; ++c) {
        const std::uint32_t rouge = lire_paire(r, "[PHOTO]");
        const std::uint32_t vert = lire_paire(r, "[PHOTO]");
        const std::uint32_t bleu = lire_paire(r, "[PHOTO]");
        m.photo->ecrire(ligne, c, rouge | (vert << 8) | (bleu << 16));
      }
      r.skip_line();
    }
    if (r.eof()) return;
    tete = r.read_line();
  } else if (m.photo_presente) {
    // Announced but absent: no colours rather than a black layer.
    m.photo.reset();
    m.photo_presente = 0;
    m.photo_enregistree = 0;
  }
  if (tete != "[Sol]") return;

  // Feature list: every announced line is consumed, only sound entries are kept.
  std::int32_t compte = lire_nombre_ligne(r, "the number of ground entries");
  r.skip_line();
  for (std::int32_t k = 0; k < compte; ++k) {
    const std::string quoi = "ground entry " + std::to_string(k + 1) + " of " + std::to_string(compte);
    const std::int32_t i = lire_nombre_ligne(r, quoi);
    const std::int32_t j = lire_nombre_ligne(r, quoi);
    const std::int32_t type = lire_nombre_ligne(r, quoi);
    const std::int32_t attribut = lire_nombre_ligne(r, quoi);
    r.skip_line();
    if (m.nombre_elements >= m.capacite_liste) continue;
    if (i < 1 || j < 1 || i > taille || j > taille || i + j > taille + 1) continue;
    if (!attribut_valide(type, attribut)) continue;
    m.liste_i[m.nombre_elements] = static_cast<std::uint16_t>(i);
    m.liste_j[m.nombre_elements] = static_cast<std::uint16_t>(j);
    m.liste_type[m.nombre_elements] = static_cast<std::uint16_t>(type);
    m.liste_attribut[m.nombre_elements] = static_cast<std::uint16_t>(attribut);
    ++m.nombre_elements;
    if (type >= 11 && type <= 16) m.especes_presentes[type - 10] = 1;
  }
}

}  // namespace

void Tmatrice::lire_matrice(TextReader& r) {
  nombre_elements = 0;
  try {
    lire_corps(*this, r);
  } catch (...) {
    finir_lecture(*this);
    throw;
  }
  finir_lecture(*this);
}
