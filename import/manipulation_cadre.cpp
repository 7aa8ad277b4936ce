#include "import/manipulation_cadre.h"

#include <algorithm>

#include "model/aleatoire.h"

bool ManipulationCadre::dedans() const {
  for (const render::Point& s : imp_.cadre.sommets())
    if (s.x < 0 || s.x > imp_.largeur || s.y < 0 || s.y > imp_.hauteur) return false;
  return true;
}

bool ManipulationCadre::pres_du_bord() const {
  if (debord) return false;
  const std::int64_t W = imp_.largeur, H = imp_.hauteur;
  for (const render::Point& s : imp_.cadre.sommets())
    if (s.x < 5 || s.x > W - 5 || s.y < 5 || s.y > H - 5) return true;
  return false;
}

std::int32_t ManipulationCadre::pas() const {
  if (pres_du_bord()) return 1;
  if (imp_.largeur <= 500) return 1;
  if (imp_.largeur <= 1000) return 3;
  return 6;
}

bool ManipulationCadre::appliquer(Geste g) {
  if (g == Geste::aucun) return false;
  if (!debord && g == dernier_ && !dedans()) return false;
  cadre_import& c = imp_.cadre;
  // A centre far out of the picture stays within 32 bits.
  auto deplacer = [](std::int32_t& v, std::int64_t d) {
    v = static_cast<std::int32_t>(std::clamp<std::int64_t>(v + d, -(1 << 24), 1 << 24));
  };
  const std::int32_t p = pas();
  switch (g) {
    case Geste::haut: deplacer(c.cy, -p); break;
    case Geste::bas: deplacer(c.cy, p); break;
    case Geste::gauche: deplacer(c.cx, -p); break;
    case Geste::droite: deplacer(c.cx, p); break;
    case Geste::tourner_droite: c.rotation = std::min(c.rotation + pas_rotation, rotation_maxi); break;
    case Geste::tourner_gauche: c.rotation = std::max(c.rotation - pas_rotation, 0.0); break;
    case Geste::aucun: break;
  }
  dernier_ = g;
  return true;
}

void ManipulationCadre::centrer() {
  imp_.cadre.cx = Round(0.5 * imp_.largeur);
  imp_.cadre.cy = Round(0.6 * imp_.hauteur);
}

std::int32_t ManipulationCadre::fixer_echelle(std::int32_t position) {
  cadre_import& c = imp_.cadre;
  const std::int32_t actuelle = Round(c.f * 100);
  if (!dedans() && position > actuelle) return actuelle;
  c.f = position / 100.0;
  return position;
}
