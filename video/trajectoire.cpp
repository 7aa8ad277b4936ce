#include "video/trajectoire.h"

#include <algorithm>
#include <cmath>

#include "model/aleatoire.h"
#include "model/noeuds.h"

namespace {

constexpr double kDegres = 0.0174532925199433;
constexpr double kSlant = 0.56;  // 280 / 250 x 0.5

// x to the n-th power by n multiplications.
double puissance(int n, double x) {
  double r = 1.0;
  for (int i = 0; i < n; ++i) r *= x;
  return r;
}

// Drawing values come from settings that may hold anything: kept within
// reach of the checked rounding.
std::int32_t arrondi_dessin(double v) {
  if (std::isnan(v)) return 0;
  return Round(std::clamp(v, -1e9, 1e9));
}

struct Point {
  double x = 0, y = 0;
};

Point point_cercle(double degres) { return {std::cos(degres * kDegres), std::sin(degres * kDegres)}; }

Point point_bezier(const Param_video& p, int premier, double t) {
  // premier: 1-based index of the segment's first control point.
  const int i = premier - 1;
  return {bezier(p.bezier_x[i], p.bezier_x[i + 1], p.bezier_x[i + 2], p.bezier_x[i + 3], t),
          bezier(p.bezier_y[i], p.bezier_y[i + 1], p.bezier_y[i + 2], p.bezier_y[i + 3], t)};
}

double altitude_bezier(const Param_video& p, int premier, double t) {
  const int i = premier - 1;
  return bezier(p.bezier_altitude[i], p.bezier_altitude[i + 1], p.bezier_altitude[i + 2], p.bezier_altitude[i + 3],
                t);
}

Point point_trajet(const Param_video& p, int m, int k) {
  const int g_total = (m - 1) / 3;
  const double part = double(p.nombre_images) / g_total;
  int g = 0;
  while (g < g_total - 1 && !(k <= (g + 1) * part)) ++g;
  const double t = (k - g * part) / part;
  return point_bezier(p, 3 * g + 1, t);
}

// Ground and plane position of an editor pixel.
struct Observateur {
  double x = 0, y = 0, sol = 0;
};

Observateur conversion_observateur(const Tmatrice& terrain, double niveau_mer, double px, double py, double a,
                                   double b) {
  const double s = terrain.n - 1;
  const double u = kHauteurEditeurTrajet - py;
  const double gi = std::clamp(1 + (px - kSlant * u) * s / kLargeurEditeurTrajet, -1e6, 1e6);
  const double gj = std::clamp(1 + u * s / kHauteurEditeurTrajet, -1e6, 1e6);
  Observateur o;
  o.sol = terrain.hauteurs->lire(Round(gi), Round(gj)) - niveau_mer;
  o.x = ((1 - gj) + s * a) / s * 4000 * 1.732050807;
  o.y = ((gi - 1) - s * b + 0.5 * (gj - 1)) / s * 8000;
  return o;
}

// The profile heights of one sample.
struct Profil {
  double niveau_mer, sommet, h;
  std::int32_t hauteur(double absolue) const { return arrondi_dessin((absolue - niveau_mer) * 0.75 * h / sommet); }
  std::int32_t sol(double au_dessus_mer) const {
    return arrondi_dessin(std::max(0.0, au_dessus_mer) * 0.75 * h / sommet);
  }
};

int echantillon(int k, int n) { return std::min(DessinTrajectoire::kEchantillons, std::max(1, Round(200.0 * k / n))); }

}  // namespace

double bezier(double b0, double b1, double b2, double b3, double t) {
  return puissance(3, 1 - t) * b0 + 3 * t * puissance(2, 1 - t) * b1 + 3 * puissance(2, t) * (1 - t) * b2 +
         puissance(3, t) * b3;
}

void conversion_cible(double px, double py, double& a, double& b) {
  a = (1 - py / 82.6450548) * 0.29516091;
  b = (px / 140 + 1 + 0.0006 * py) * 0.477580455;
}

double altitude_trajet(const Param_video& p, int k) {
  const int n = p.nombre_images;
  if (k > n) k -= n;
  const double moitie = n / 2.0;
  if (k < moitie) return altitude_bezier(p, 1, k / moitie);
  return altitude_bezier(p, 4, (k - moitie) / moitie);
}

int points_de_controle(const Param_video& p) {
  int m = 0;
  while (m < 13 && p.bezier_x[m] != -1 && p.bezier_y[m] != -1) ++m;
  return m;
}

bool calcule_trajectoire(Param_video& p, const Tmatrice& terrain, EditeurAltitude& altitudes, bool trace_en_cours,
                         std::vector<enregistrement_camera>& table, DessinTrajectoire& dessin) {
  p.nombre_images = std::clamp(p.nombre_images, kImagesMin, kImagesMax);
  const int n = p.nombre_images;
  const double mer = p.vue.niveau_mer;
  const double h = altitudes.hauteur;
  const double sommet = std::max(double(terrain.hauteur_max()) - mer, 400.0);
  const Profil profil{mer, sommet, h};
  for (int i = 1; i <= 7; ++i) dessin.x_altitude[i] = (i - 1) * altitudes.largeur / 6;

  const bool fixe = p.point_vise_fixe != 0;
  double a = 0, b = 0, t_cible = 0;
  if (fixe) {
    conversion_cible(p.point_vise_x, p.point_vise_y, a, b);
    // The document's target altitude, its node's height: a frame rendered
    // from a camera record leaves that record's (lowered) target altitude in
    // the terrain, and starting from it would lower the path at every run.
    t_cible = terrain.hauteurs->lire(terrain.cible_i, terrain.cible_j);
  }
  if (altitudes.point_tire >= 1 && altitudes.point_tire <= 7 && h > 0) {
    p.bezier_altitude[altitudes.point_tire - 1] = arrondi_dessin(mer + (h - altitudes.y_tire) * sommet / (0.75 * h));
  }
  altitudes.point_tire = 0;

  const double dist = std::clamp(p.distance_point_vise, 10, 90);
  const int decalage = Round(dist * n / 100);
  const double vision = std::sin(p.angle_vision * kDegres);
  const bool cercle = p.type_trajectoire == 1;
  const int m = points_de_controle(p);
  if (!cercle) {
    if (p.type_trajectoire != 2 && p.type_trajectoire != 3) return false;
    if (trace_en_cours || (m != 4 && m != 7 && m != 10 && m != 13)) return false;
  }
  if (table.size() < std::size_t(n) + 1) table.resize(std::size_t(n) + 1);
  int dernier = 0;
  auto dessiner = [&](int k, Point obs, Point cib, double alt, double t, double sol) {
    const int s = echantillon(k, n);
    if (s == dernier) return;
    dernier = s;
    dessin.echantillons = std::max(dessin.echantillons, s);
    dessin.observateur_x[s] = arrondi_dessin(obs.x);
    dessin.observateur_y[s] = arrondi_dessin(obs.y);
    dessin.cible_x[s] = arrondi_dessin(cib.x);
    dessin.cible_y[s] = arrondi_dessin(cib.y);
    if (!cercle) dessin.colonne_cible[s] = std::min(400, 2 * (s + Round(200.0 * decalage / n)));
    dessin.profil_observateur[s] = profil.hauteur(alt);
    dessin.profil_cible[s] = profil.hauteur(t);
    dessin.profil_sol[s] = profil.sol(sol);
  };

  if (cercle) {
    const double r = p.rayon_cercle;
    const double cx = double(p.centre_cercle_x) + kCentreReferenceX;
    const double cy = double(p.centre_cercle_y) + kCentreReferenceY;
    double theta = p.vue.angle_horizontal;
    double phi = theta + dist * 360 / 100;
    if (phi > 360) phi -= 360;
    else if (phi < 0) phi += 360;
    auto sur_cercle = [&](double angle) {
      const Point c = point_cercle(angle);
      return Point{cx + r * c.y, cy + r * c.x};
    };
    Point obs = sur_cercle(theta), cib = sur_cercle(phi);
    if (!fixe) {
      t_cible = altitude_trajet(p, decalage);
      conversion_cible(cib.x - kCentreReferenceX, cib.y - kCentreReferenceY, a, b);
    }
    Observateur o = conversion_observateur(terrain, mer, obs.x, obs.y, a, b);
    t_cible += std::sqrt(o.x * o.x + o.y * o.y) * vision;
    double alt = p.bezier_altitude[0];
    for (int k = 1; k <= n; ++k) {
      table[std::size_t(k)] = {o.x, o.y, alt - t_cible, a, b, t_cible};
      theta += 360.0 / n;
      alt = altitude_trajet(p, k);
      obs = sur_cercle(theta);
      if (!fixe) {
        phi += 360.0 / n;
        t_cible = altitude_trajet(p, decalage + k) + std::sqrt(o.x * o.x + o.y * o.y) * vision;
        cib = sur_cercle(phi);
        conversion_cible(cib.x - kCentreReferenceX, cib.y - kCentreReferenceY, a, b);
      }
      dessiner(k, obs, cib, alt, t_cible, o.sol);
      o = conversion_observateur(terrain, mer, obs.x, obs.y, a, b);
    }
    return true;
  }

  const bool ferme = p.type_trajectoire == 3;
  int j = 1;
  Point cib{double(p.point_vise_x) + kCentreReferenceX, double(p.point_vise_y) + kCentreReferenceY};
  for (int k = 1; k <= n; ++k) {
    const double alt = altitude_trajet(p, k);
    if (!fixe) {
      int kt = decalage + k;
      if (kt > n) kt = ferme ? kt - n : n;
      t_cible = altitude_trajet(p, kt);
      cib = point_trajet(p, m, kt);
      conversion_cible(cib.x - kCentreReferenceX, cib.y - kCentreReferenceY, a, b);
    }
    const Point obs = point_trajet(p, m, j);
    const Observateur o = conversion_observateur(terrain, mer, obs.x, obs.y, a, b);
    if (!fixe && p.angle_vision < 0) t_cible += std::sqrt(o.x * o.x + o.y * o.y) * vision;
    dessiner(k, obs, cib, alt, t_cible, o.sol);
    const double d = std::sqrt(o.x * o.x + o.y * o.y + (alt - t_cible) * (alt - t_cible));
    if (ferme || d > 500) j = k + 1;
    table[std::size_t(k)] = {o.x, o.y, alt - t_cible, a, b, t_cible};
  }
  return true;
}
