#include "fenetres/dossiers.h"

namespace dossiers {

std::string dans(std::string_view dossier, std::string_view nom) {
  std::string chemin(dossier);
  if (!chemin.empty() && chemin.back() != '/') chemin += '/';
  chemin += nom;
  return chemin;
}

std::string ciels(std::string_view programme) { return dans(programme, "ciels"); }

std::string temporaire(std::string_view programme) { return dans(programme, "temp"); }

std::string options(std::string_view programme) { return dans(programme, "montagne.ini"); }

}  // namespace dossiers
