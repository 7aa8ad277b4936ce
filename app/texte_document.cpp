#include "app/texte_document.h"

#include <charconv>
#include <cmath>
#include <cstdio>

void Sortie::ligne(std::string_view t) {
  octets_.append(t);
  octets_.append("\r\n");
}

void Sortie::texte(std::string_view t) { octets_.append(t); }

void Sortie::fin_ligne() { octets_.append("\r\n"); }

std::optional<std::string_view> Entree::ligne() {
  if (pos_ >= octets_.size()) return std::nullopt;
  std::size_t fin = octets_.find('\n', pos_);
  std::size_t suivant;
  if (fin == std::string::npos) {
    fin = octets_.size();
    suivant = fin;
  } else {
    suivant = fin + 1;
  }
  std::string_view l(octets_.data() + pos_, fin - pos_);
  if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
  pos_ = suivant;
  return l;
}

bool Entree::chercher(std::string_view tete) {
  while (auto l = ligne()) {
    if (*l == tete) return true;
  }
  return false;
}

namespace {

std::string cadrer(std::string_view v, std::size_t largeur) {
  std::string s;
  if (v.size() < largeur) s.assign(largeur - v.size(), ' ');
  s.append(v);
  return s;
}

}  // namespace

std::string texte_entier(std::int64_t v) {
  char buf[32];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

std::string ligne_cle(std::string_view cle, std::int32_t valeur, bool drapeau, GenreCle genre) {
  std::string s(cle);
  if (genre == GenreCle::drapeau) {
    s.append(drapeau ? "Oui" : "Non");
  } else {
    s.append("   ");
    s.append(cadrer(texte_entier(valeur), 9));
  }
  return s;
}

void ecrire_cle(Sortie& f, std::string_view cle, std::int32_t valeur, bool drapeau, GenreCle genre) {
  f.ligne(ligne_cle(cle, valeur, drapeau, genre));
}

std::string ligne_cle_couleur(std::string_view cle, std::uint8_t r, std::uint8_t v, std::uint8_t b) {
  std::string s(cle);
  s.append("  ");
  s.append(cadrer(texte_entier(r), 5));
  s.append(cadrer(texte_entier(v), 5));
  s.append(cadrer(texte_entier(b), 5));
  return s;
}

void ecrire_cle_couleur(Sortie& f, std::string_view cle, std::uint8_t r, std::uint8_t v, std::uint8_t b) {
  f.ligne(ligne_cle_couleur(cle, r, v, b));
}

table_section charger_section(Entree& f, GenreSection genre) {
  const std::size_t plafond = genre == GenreSection::matrice ? LIGNES_SECTION_MATRICE
                              : genre == GenreSection::vue   ? LIGNES_SECTION_VUE
                                                             : LIGNES_SECTION_VIDEO;
  table_section t;
  t.lignes.reserve(plafond);
  while (t.lignes.size() < plafond) {
    const auto l = f.ligne();
    if (!l) break;
    t.lignes.emplace_back(
        l->substr(0, l->starts_with(PREFIXE_LIGNE_CIEL) ? LONGUEUR_LIGNE_CIEL : LONGUEUR_LIGNE_SECTION));
    if (l->empty()) continue;
    if (genre == GenreSection::matrice ? (*l)[0] == ' ' : (*l)[0] == '-') break;
  }
  return t;
}

void lire_cle(const table_section& t, std::string_view cle, bool& drapeau, std::int32_t& entier,
              std::int32_t defaut) {
  for (const std::string& l : t.lignes) {
    if (l.size() < 20 || std::string_view(l).substr(0, 20) != cle) continue;
    if (l.size() > 20) {
      drapeau = false;
      const char c = l[20];
      if (c == ' ') {
        if (auto v = convertir_entier(std::string_view(l).substr(21))) {
          entier = *v;
          return;
        }
        break;  // conversion error: the default
      }
      if (c == 'O') drapeau = true;
      return;
    }
    break;  // nothing after the key: the default
  }
  entier = defaut;
  drapeau = defaut == 1;
}

std::int32_t lire_entier(const table_section& t, std::string_view cle, std::int32_t defaut) {
  bool d = false;
  std::int32_t v = defaut;
  lire_cle(t, cle, d, v, defaut);
  return v;
}

bool lire_drapeau(const table_section& t, std::string_view cle, bool defaut) {
  bool d = false;
  std::int32_t v = 0;
  lire_cle(t, cle, d, v, defaut ? 1 : 0);
  return d;
}

void lire_cle_couleur(const table_section& t, std::string_view cle, std::uint8_t& r, std::uint8_t& v,
                      std::uint8_t& b, std::uint8_t dr, std::uint8_t dv, std::uint8_t db) {
  for (const std::string& l : t.lignes) {
    if (l.size() < 20 || std::string_view(l).substr(0, 20) != cle) continue;
    auto champ = [&](std::size_t debut) -> std::optional<std::int32_t> {
      if (debut >= l.size()) return std::nullopt;
      return convertir_entier(std::string_view(l).substr(debut, 5));
    };
    auto cr = champ(22), cv = champ(27), cb = champ(32);
    if (cr && cv && cb) {
      r = static_cast<std::uint8_t>(static_cast<std::uint32_t>(*cr) & 0xFFu);
      v = static_cast<std::uint8_t>(static_cast<std::uint32_t>(*cv) & 0xFFu);
      b = static_cast<std::uint8_t>(static_cast<std::uint32_t>(*cb) & 0xFFu);
      return;
    }
    break;
  }
  r = dr;
  v = dv;
  b = db;
}

std::string texte_reel(double v) {
  if (!std::isfinite(v)) v = 0;
  // 15 significant digits round the largest doubles (from 1.797693134862315e308
  // on) up to 1.79769313486232e308, above the largest double, which no reader
  // takes back: those are written rounded toward zero instead.
  constexpr double kPlusGrandEcrit = 1.79769313486231e308;
  if (std::fabs(v) > kPlusGrandEcrit) v = std::copysign(kPlusGrandEcrit, v);
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
  std::string_view s(buf, res.ptr - buf);  // "-3.33000000000000e-01"
  std::string out;
  if (!s.empty() && s[0] == '-') {
    out.push_back('-');
    s.remove_prefix(1);
  } else {
    out.push_back(' ');
  }
  const std::size_t e = s.find('e');
  out.append(s.substr(0, e));
  out.push_back('E');
  std::string_view exp = s.substr(e + 1);
  out.push_back(exp[0]);
  exp.remove_prefix(1);
  if (exp.size() < 4) out.append(4 - exp.size(), '0');
  out.append(exp);
  return out;
}

std::string texte_fixe(double v, int largeur) {
  if (!std::isfinite(v)) v = 0;
  char buf[400];
  auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 4);
  const std::string_view fixe(buf, static_cast<std::size_t>(res.ptr - buf));
  // 1e300 would take 306 characters: past the scientific form's 23, that form
  // is shorter and reads back the same way.
  const std::size_t longueur_reel = 23;
  if (fixe.size() > longueur_reel) return texte_reel(v);
  return cadrer(fixe, static_cast<std::size_t>(largeur));
}

std::string ligne_camera(const enregistrement_camera& c) {
  std::string s = texte_fixe(c.observateur_x, 9);
  s += "   " + texte_fixe(c.observateur_y, 8);
  s += "   " + texte_fixe(c.observateur_z, 9);
  s += "  " + texte_fixe(c.cible_x, 9);
  s += "  " + texte_fixe(c.cible_y, 9);
  s += "  " + texte_fixe(c.cible_z, 9);
  return s;
}

std::optional<enregistrement_camera> lire_ligne_camera(std::string_view s) {
  double v[6];
  for (double& x : v) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    std::size_t fin = 0;
    while (fin < s.size() && s[fin] != ' ' && s[fin] != '\t') ++fin;
    auto r = convertir_reel(s.substr(0, fin));
    if (!r) return std::nullopt;
    x = *r;
    s.remove_prefix(fin);
  }
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  if (!s.empty()) return std::nullopt;
  return enregistrement_camera{v[0], v[1], v[2], v[3], v[4], v[5]};
}
