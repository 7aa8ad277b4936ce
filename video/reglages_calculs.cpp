// The video settings dialog's arithmetic, without widgets.
#include "video/reglages_calculs.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "model/aleatoire.h"
#include "model/matrice.h"
#include "model/noeuds.h"
#include "video/trajectoire.h"

namespace reglages {

namespace {

// A value from settings that may hold anything, kept within reach of the checked rounding.
int arrondi_borne(double v) {
  if (std::isnan(v)) return 0;
  return Round(std::clamp(v, -1e9, 1e9));
}

}  // namespace

int valeur_saisie(const std::string& texte, int sinon, int min, int max) {
  std::string_view t = texte;
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
  const bool negatif = !t.empty() && t.front() == '-';
  if (!t.empty() && (t.front() == '-' || t.front() == '+')) t.remove_prefix(1);
  if (t.empty() || t.size() > 400) return std::clamp(sinon, min, max);
  // Digits only; a number too long for any int still goes to its limit.
  std::int64_t v = 0;
  for (char c : t) {
    if (c < '0' || c > '9') return std::clamp(sinon, min, max);
    v = std::min<std::int64_t>(v * 10 + (c - '0'), std::int64_t(1) << 40);
  }
  return int(std::clamp<std::int64_t>(negatif ? -v : v, min, max));
}

int largeur_saisie(const std::string& texte, int precedente) {
  return valeur_saisie(texte, precedente, kLargeurMin, kTailleMax);
}

int hauteur_saisie(const std::string& texte, int precedente) {
  return valeur_saisie(texte, precedente, kHauteurMin, kTailleMax);
}

int nombre_images_saisi(const std::string& texte, int precedent) {
  return valeur_saisie(texte, precedent, kImagesMin, kImagesMax);
}

Format format_image(int largeur, int hauteur) {
  if (largeur == 320 && hauteur == 240) return Format::f320;
  if (largeur == 640 && hauteur == 480) return Format::f640;
  if (largeur == 800 && hauteur == 600) return Format::f800;
  if (largeur == 800 && hauteur == 450) return Format::f800_16_9;
  return Format::autre;
}

void taille_format(Format f, int& largeur, int& hauteur) {
  switch (f) {
    case Format::f320: largeur = 320, hauteur = 240; break;
    case Format::f640: largeur = 640, hauteur = 480; break;
    case Format::f800: largeur = 800, hauteur = 600; break;
    case Format::f800_16_9: largeur = 800, hauteur = 450; break;
    case Format::autre: break;
  }
}

Etiquettes etiquettes_creation(int n, int p1, int p2) {
  Etiquettes e;
  const int avant = Round(double(p1 - 1) * n / kPositions);
  e.premiere = std::max(1, avant);
  e.derniere = Round(double(p2) * n / kPositions);
  e.generees = e.derniere - avant;
  e.duree = Round(e.generees / 30.0);
  return e;
}

int image_de_position(int position, int n) { return std::max(1, Round(double(position) * n / kPositions)); }

int pas_cercle(int rayon, bool agrandir) {
  const int pas = Round(rayon * 0.01) + 1;
  if (agrandir) return rayon < kRayonMax ? rayon + pas : rayon;
  return std::max(1, rayon - pas);
}

double altitude_sommet(double hauteur_max, double niveau_mer) { return std::max(hauteur_max - niveau_mer, 400.0); }

int ligne_marqueur(double altitude, double niveau_mer, double sommet, int h) {
  return h - arrondi_borne((altitude - niveau_mer) * 0.75 * h / sommet);
}

void completer(Param_video& p, double hauteur_max) {
  if (p.rayon_cercle == 0) {
    const double d = std::clamp(p.vue.distance, -1e6, 1e6);
    p.rayon_cercle = std::min(kRayonMax, Round(d * 1000 * 280 / 8000));
  }
  if (p.distance_point_vise == 0) p.distance_point_vise = 50;
  // A file may hold anything: the values of the bars and edits within their ranges.
  p.distance_point_vise = std::clamp(p.distance_point_vise, 10, 90);
  p.zoom_video = std::clamp(p.zoom_video, 10, 80);
  p.angle_vision = std::clamp(p.angle_vision, -45, 0);
  p.nombre_images = std::clamp(p.nombre_images, kImagesMin, kImagesMax);
  if (p.premiere_image == 0) p.premiere_image = 1;
  if (p.derniere_image == 0) p.derniere_image = kPositions;
  if (p.bezier_altitude[0] == 0) {
    const int sommet = arrondi_borne(altitude_sommet(hauteur_max, p.vue.niveau_mer));
    p.bezier_altitude.fill(sommet);
  }
}

std::vector<PointTrajet> points_enregistres(const Param_video& p) {
  std::vector<PointTrajet> points;
  for (int i = 0; i < 13; ++i)
    if (p.bezier_x[i] >= 1 && p.bezier_y[i] >= 1) points.push_back({p.bezier_x[i], p.bezier_y[i]});
  const int m = int(points.size());
  if (m != 4 && m != 7 && m != 10 && m != 13) points.clear();
  return points;
}

bool compte_valide(int m, bool ferme) { return m >= 3 && m <= 13 && m % 3 == (ferme ? 0 : 1); }

bool compte_vert(int m, bool ferme) { return m >= 2 && m <= 12 && m % 3 == (ferme ? 2 : 0); }

render::Pixel Echelle(int rang) {
  rang = std::clamp(rang, 0, 399);
  // Three stretches from the bottom row up: dark green to brown, brown to
  // grey rock, rock to white.
  struct Arret {
    int rang;
    int r, g, b;
  };
  static constexpr Arret arrets[] = {{399, 0, 90, 20}, {230, 150, 110, 50}, {90, 150, 140, 130}, {0, 255, 255, 255}};
  for (int k = 0; k < 3; ++k) {
    const Arret& a = arrets[k];
    const Arret& b = arrets[k + 1];
    if (rang < b.rang) continue;
    const double t = double(a.rang - rang) / (a.rang - b.rang);
    auto mix = [t](int u, int v) { return std::uint8_t(Round(u + (v - u) * t)); };
    return render::pixel_rgb(mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b));
  }
  return render::pixel_rgb(255, 255, 255);
}

render::Bitmap prepare_apercu(const Tmatrice& terrain, double niveau_mer, double sommet) {
  render::Bitmap image(kLargeurEditeurTrajet, kHauteurEditeurTrajet, render::pixel_rgb(192, 192, 192));
  const double s = terrain.n - 1;
  if (s < 1 || sommet <= 0) return image;
  for (int y = 0; y < kHauteurEditeurTrajet; ++y) {
    render::Pixel* ligne = image.row(y);
    const double u = kHauteurEditeurTrajet - y;
    const double gj = 1 + u * s / kHauteurEditeurTrajet;
    for (int x = 0; x < kLargeurEditeurTrajet; ++x) {
      const double gi = 1 + (x - 0.56 * u) * s / kLargeurEditeurTrajet;
      if (gi < 1 || gj < 1 || gi + gj > s + 2) continue;
      const std::int32_t h = terrain.hauteurs->lire(Round(gi), Round(gj));
      if (h == Tnoeud::hors_reseau) continue;
      if (h <= niveau_mer) {
        ligne[x] = render::pixel_rgb(128, 128, 255);
      } else {
        ligne[x] = Echelle(std::max(0, 399 - Round(400 * (h - niveau_mer) / sommet)));
      }
    }
  }
  return image;
}

param_vue vue_apercu(const Param_video& p, int largeur, int hauteur) {
  param_vue v = p.vue;
  v.premier_plan = 0;
  v.brume = 0;
  v.reflet = 0;
  v.photo_aerienne = 0;
  v.type_ciel = 0;
  v.centre_x = 0;
  v.centre_y = 0;
  v.zoom = p.zoom_video;
  v.largeur_image = Round(1.1 * largeur);
  v.hauteur_image = Round(1.1 * hauteur);
  return v;
}

Param_video reglages_reduits(const Param_video& p) {
  Param_video c = p;
  c.largeur_image = c.vue.largeur_image = 200;
  c.hauteur_image = c.vue.hauteur_image = 150;
  c.vue.reflet = 0;
  c.vue.premier_plan = 0;
  c.vue.detail_arbres = 0;
  c.vue.ombre_portee = 0;
  c.vue.zoom = p.zoom_video;
  c.detail = 0;
  c.nombre_images = images_reduites(p.nombre_images);
  return c;
}

int images_reduites(int n) { return n > kImagesReduction ? Round(n * 0.1) : n; }

std::vector<enregistrement_camera> table_reduite(const std::vector<enregistrement_camera>& table, int m) {
  std::vector<enregistrement_camera> r(std::size_t(std::max(0, m)) + 1);
  for (int k = 1; k <= m; ++k) {
    const std::size_t source = std::size_t(10 * k - 9);
    if (source < table.size()) r[std::size_t(k)] = table[source];
  }
  return r;
}

}  // namespace reglages
