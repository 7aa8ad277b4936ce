#include "dialogs/options_vue_calculs.h"

#include <algorithm>
#include <cstdio>

#include "fenetres/saisie.h"
#include "model/aleatoire.h"

using namespace fenetres;

namespace dialogs {

int index_distance(double d) { return d <= 5 ? Round(d * 10) : Round(d + 50); }

double distance_de_index(int v) {
  const double d = v < 56 ? v * 0.1 : v - 50.0;
  return std::max(d, 0.6);
}

Rectangle rectangle_cadre(int centre_x, int centre_y, int zoom) {
  const int z = std::max(zoom, 10);
  const double cx = centre_x + 38.0, cy = centre_y + 27.0;
  const double l = Round(760.0 / z) / 2.0, h = Round(540.0 / z) / 2.0;
  return {Round(cx - l), Round(cy - h), Round(cx + l), Round(cy + h)};
}

Rectangle rectangle_echelle(int largeur_boite, int hauteur_boite, int taille) {
  const int t = std::max(taille, 10);
  return {2, 2, Round((largeur_boite - 2) * 10.0 / t), Round((hauteur_boite - 2) * 10.0 / t)};
}

std::string texte_echelle(int dixiemes) {
  char b[32];
  std::snprintf(b, sizeof b, "1:%3.1f", dixiemes / 10.0);
  return b;
}

std::string texte_distance(double km) {
  char b[32];
  std::snprintf(b, sizeof b, "%4.1f", km);
  return b;
}

double distance_saisie(std::string_view texte, double actuelle) {
  return std::clamp(reel_saisi(texte, actuelle), 0.6, 50.0);
}

std::string nom_fichier_vue(const std::string& texte_liste, bool vue_affichee, std::int32_t type_image) {
  if (!vue_affichee) return "New ";
  const auto p = texte_liste.find(':');
  const std::string reste =
      p == std::string::npos || p + 2 > texte_liste.size() ? std::string() : texte_liste.substr(p + 2);
  if (reste.find("New ") != std::string::npos) return "New ";
  const std::string nom = reste.substr(0, reste.size() >= 4 ? reste.size() - 4 : 0);
  return nom + (type_image == 1 ? ".bmp" : ".jpg");
}

namespace {
struct Zones {
  bool gauche, droite, haut, bas;
};
Zones zones(int x, int y, int w, int h) { return {x <= 0.28 * w, x > 0.72 * w, y <= 0.28 * h, y > 0.72 * h}; }
}  // namespace

bool dans_bande(int x, int y, int largeur, int hauteur) {
  const Zones z = zones(x, y, largeur, hauteur);
  return z.gauche || z.droite || z.haut || z.bas;
}

Qt::CursorShape curseur_pilotage(int x, int y, int largeur, int hauteur) {
  const Zones z = zones(x, y, largeur, hauteur);
  if ((z.gauche && z.haut) || (z.droite && z.bas)) return Qt::SizeFDiagCursor;
  if ((z.gauche && z.bas) || (z.droite && z.haut)) return Qt::SizeBDiagCursor;
  if (z.haut || z.bas) return Qt::SizeVerCursor;
  if (z.gauche || z.droite) return Qt::SizeHorCursor;
  return Qt::ArrowCursor;
}

void pas_pilotage(param_vue& v, int x, int y, int largeur, int hauteur) {
  const Zones z = zones(x, y, largeur, hauteur);
  if (z.haut && v.angle_vertical > -45) --v.angle_vertical;
  if (z.bas && v.angle_vertical < 89) ++v.angle_vertical;
  if (z.gauche && v.angle_horizontal < 180) ++v.angle_horizontal;
  if (z.droite && v.angle_horizontal > -180) --v.angle_horizontal;
}

bool pas_distance(param_vue& v, bool rapprocher) {
  // Compared in tenths of a kilometre: an index of 6 gives 0.6000000000000001.
  const int dixiemes = Round(v.distance * 10);
  const double pas = dixiemes < 49 ? 0.1 : 1.0;
  if (rapprocher) {
    if (dixiemes <= 6) return false;
    v.distance = std::max(v.distance - pas, 0.6);
  } else {
    if (dixiemes >= 500) return false;
    v.distance = std::min(v.distance + pas, 50.0);
  }
  return true;
}

bool pas_angle(param_vue& v, int sens) {
  switch (sens) {
    case 0: if (v.angle_vertical < 89) { ++v.angle_vertical; return true; } break;
    case 1: if (v.angle_vertical >= -44) { --v.angle_vertical; return true; } break;
    case 2: if (v.angle_horizontal < 180) { ++v.angle_horizontal; return true; } break;
    case 3: if (v.angle_horizontal >= -179) { --v.angle_horizontal; return true; } break;
  }
  return false;
}

bool pas_zoom(param_vue& v, bool plus) {
  if (plus && v.zoom < 80) { ++v.zoom; return true; }
  if (!plus && v.zoom >= 11) { --v.zoom; return true; }
  return false;
}

bool pas_centre(param_vue& v, int sens) {
  int& c = sens < 2 ? v.centre_y : v.centre_x;
  const int borne = sens < 2 ? 54 : 76;
  const int nouveau = std::clamp(c + (sens % 2 == 0 ? -1 : 1), -borne, borne);
  if (nouveau == c) return false;
  c = nouveau;
  return true;
}

void defauts_espece(espece_arbres& c, int espece) {
  // Diversity, width, leaf size, leaf width, trunk height, trunk width, weight.
  static constexpr int kTable[8][7] = {{4, 10, 6, 8, 4, 4, 20}, {2, 10, 4, 8, 8, 4, 24}, {4, 10, 8, 8, 6, 4, 20},
                                       {5, 8, 5, 10, 5, 3, 16},  {5, 10, 6, 8, 8, 5, 25}, {3, 12, 5, 10, 6, 4, 14},
                                       {4, 12, 3, 8, 4, 5, 20},  {4, 8, 6, 12, 4, 5, 20}};
  if (espece < 1 || espece > 8) return;
  c.largeur = 10;
  c.poids_branches = 20;
  c.taux_croissance = 5;
  const int* t = kTable[espece - 1];
  c.diversite = t[0];
  c.largeur = t[1];
  c.taille_feuilles = t[2];
  c.largeur_feuilles = t[3];
  c.hauteur_tronc = t[4];
  c.largeur_tronc = t[5];
  c.poids_branches = t[6];
}

int lumiere_affichee(Rgb c) { return Round((c.r + c.g + c.b) * 0.333); }

Rgb changer_lumiere(Rgb c, int nouvelle) {
  const int n = std::clamp(nouvelle, 0, 255);
  const int ancienne = lumiere_affichee(c);
  if (ancienne == 0) return {std::uint8_t(n), std::uint8_t(n), std::uint8_t(n)};
  int r = Round(double(c.r) * n / ancienne), g = Round(double(c.g) * n / ancienne),
      b = Round(double(c.b) * n / ancienne);
  if (r > 255) r = 255, g = c.g, b = c.b;
  if (g > 255) g = 255, r = c.r, b = c.b;
  if (b > 255) b = 255, r = c.r, g = c.g;
  return {std::uint8_t(r), std::uint8_t(g), std::uint8_t(b)};
}

Rgb couleur_de_valeur(std::uint32_t v) {
  const std::uint32_t bleu = v / 65536, vert = (v - bleu * 65536) / 256;
  return {std::uint8_t(v & 0xFF), std::uint8_t(vert), std::uint8_t(bleu)};
}

GeometriePalette geometrie_palette(int hauteur) {
  GeometriePalette g;
  g.u = Round(hauteur / 6.4);
  g.h = Round(g.u * 0.5);
  // The bands are painted with 0.36; the click and the arrow use the same.
  g.r = Round(g.u * 0.36);
  g.b = 4 * g.u + 2 * g.h;
  return g;
}

int niveau_au_clic(int y, int hauteur) {
  const GeometriePalette g = geometrie_palette(hauteur);
  const int bornes[9] = {g.u, 2 * g.u, 3 * g.u, 4 * g.u, 4 * g.u + g.h, g.b, g.b + g.r, g.b + 2 * g.r, g.b + 3 * g.r};
  for (int k = 0; k < 9; ++k)
    if (y < bornes[k]) return k + 1;
  return 10;
}

int fleche_y(int i, int hauteur) {
  const GeometriePalette g = geometrie_palette(hauteur);
  int y = i < 5 ? g.u * i : i <= 6 ? 4 * g.u + (i - 4) * g.h : g.b + (i - 6) * g.r;
  y -= 8;
  if (i < 5) y -= 4;
  return y;
}

int entree_echantillon(int c, int s) {
  if (c <= 7) return 12 * c * s + 18;
  return c == 8 ? 7 : c == 9 ? 1 : 5;
}

}  // namespace dialogs
