#include "fenetres/saisie.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "model/texte.h"

namespace fenetres {

std::int32_t entier_saisi(std::string_view texte, std::int32_t defaut) {
  const auto v = model::convertir_entier_ligne(texte);
  return v ? *v : defaut;
}

double reel_saisi(std::string_view texte, double defaut) {
  std::string t(texte);
  const auto debut = t.find_first_not_of(' ');
  if (debut == std::string::npos) return defaut;
  t.erase(0, debut);
  while (!t.empty() && t.back() == ' ') t.pop_back();
  for (char& c : t)
    if (c == ',') c = '.';
  // Only a sign, digits and one separator: no exponents, no "inf" or "nan".
  std::size_t k = (!t.empty() && (t[0] == '-' || t[0] == '+')) ? 1 : 0;
  int chiffres = 0, points = 0;
  for (; k < t.size(); ++k) {
    if (t[k] >= '0' && t[k] <= '9') ++chiffres;
    else if (t[k] == '.') ++points;
    else return defaut;
  }
  if (chiffres == 0 || points > 1) return defaut;
  const auto v = model::convertir_reel(t);
  if (!v || !std::isfinite(*v) || std::fabs(*v) > 2147483647.0) return defaut;
  return *v;
}

std::int32_t entier_saisi(const QString& texte, std::int32_t defaut) {
  const std::string t = texte.toStdString();
  return entier_saisi(std::string_view(t), defaut);
}

double reel_saisi(const QString& texte, double defaut) {
  const std::string t = texte.toStdString();
  return reel_saisi(std::string_view(t), defaut);
}

std::int32_t entier_borne(const QString& texte, std::int32_t min, std::int32_t max, std::int32_t defaut) {
  const auto v = model::convertir_entier_ligne(texte.toStdString());
  return v ? std::clamp(*v, min, max) : defaut;
}

}  // namespace fenetres
