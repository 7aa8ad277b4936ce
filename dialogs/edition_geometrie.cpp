#include "dialogs/edition_geometrie.h"

#include <cmath>

#include "model/aleatoire.h"

namespace dialogs {

namespace {

constexpr double kLimite = 1073741824.0;  // 2^30

double borne(double v) {
  if (std::isnan(v)) return kLimite;
  if (v > kLimite) return kLimite;
  if (v < -kLimite) return -kLimite;
  return v;
}

}  // namespace

PointMonde monde_du_noeud(std::int32_t n, std::int32_t i, std::int32_t j, double z) {
  const double c = n - 1;
  PointMonde p;
  p.x = (c * 0.35 + 1 - i) / c * 4000 * 1.732050807;
  p.y = ((j - 1) - c * 0.5 + (i - 1) * 0.5) / c * 8000;
  p.z = z;
  return p;
}

PixelCarte projeter_monde(const PointMonde& p) {
  double profondeur = p.x * 0.0017453 + p.z - 250000;
  if (profondeur == 0) profondeur = 0.0001;
  const double colonne = 11995 * (-p.y / profondeur) + 212.5;
  const double ligne = 11995 * ((0.0017453 * p.z - p.x) / profondeur) + 229.4;
  return {Round(borne(colonne)), Round(borne(ligne))};
}

NoeudCarte pixel_vers_noeud(std::int32_t n, std::int32_t x, std::int32_t y, std::int32_t zoom) {
  const double z = zoom == 2 ? 2 : 1;
  const double echelle_i = double(n) / kHauteurTriangle;
  const double echelle_j = double(n) / kBaseTriangle;
  const std::int32_t r = Round((kHauteurTriangle - y / z) * 1.04);
  NoeudCarte noeud;
  noeud.i = Round(r * echelle_i) + 1;
  noeud.j = 1 - Round((20 - x / z + r * kPente) * echelle_j);
  return noeud;
}

std::string texte_position(std::int32_t px, std::int32_t py, std::int32_t zoom) {
  const double z = zoom == 2 ? 2 : 1;
  const std::int32_t x = Round((px / z - 20) * 1.04 * 8000 / kBaseTriangle) - 70;
  const std::int32_t y = Round((kHauteurTriangle - py / z) * 4000 * 1.732050807 / kHauteurTriangle) - 40;
  return " x= " + std::to_string(x) + "   y= " + std::to_string(y);
}

std::int32_t ligne_jauge(std::int32_t altitude, std::int32_t hauteur) {
  double v = altitude / 100.0;
  if (v < -10) v = -10;
  return Round((40 - v) * hauteur * 0.025 * 0.8);
}

std::string image_carte(const std::string& fichier, int zoom) {
  const std::string base = fichier.size() > 4 ? fichier.substr(0, fichier.size() - 4) : std::string();
  return base + (zoom == 2 ? "_2.jpg" : "_1.jpg");
}

param_vue vue_de_carte(const param_vue& defaut) {
  param_vue v = defaut;
  v.angle_vertical = 89;
  v.angle_horizontal = 180;
  v.elevation_soleil = 20;
  v.azimut_soleil = 90;
  v.distance = 250.0;
  v.niveau_neige = 4000;
  v.zone_recouvrement = 500;
  v.zoom = 10;
  v.centre_x = 0;
  v.centre_y = 0;
  v.agitation_mer = 0;
  v.diversite_couleurs = 0;
  for (std::uint8_t param_vue::* d :
       {&param_vue::premier_plan, &param_vue::horizon, &param_vue::reflet, &param_vue::observateur_place,
        &param_vue::detail_arbres, &param_vue::detail_plus, &param_vue::strates, &param_vue::ombre_portee,
        &param_vue::maillage_filaire, &param_vue::deformation, &param_vue::echelle_fixe, &param_vue::foret,
        &param_vue::brume})
    v.*d = 0;
  return v;
}

}  // namespace dialogs
