#include "dialogs/calculs_outils.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "model/aleatoire.h"
#include "model/matrice.h"
#include "model/presse_papier.h"

namespace dialogs {

namespace {

constexpr double kPi = 3.14159265358979323846;

}  // namespace

arguments_outil arguments_de(const JeuOutil& relache, const JeuOutil& depart, std::int32_t valeur,
                             std::int32_t outil) {
  arguments_outil a;
  a.largeur_base_debut = relache.base;
  a.largeur_base_fin = depart.base;
  a.largeur_sommet_debut = relache.sommet;
  a.largeur_sommet_fin = depart.sommet;
  a.coefficient_debut = relache.forme;
  a.coefficient_fin = depart.forme;
  a.altitude_finale_debut = relache.apres;
  a.altitude_finale_fin = depart.apres;
  a.altitude_initiale_debut = relache.avant;
  a.altitude_initiale_fin = depart.avant;
  a.valeur = valeur;
  a.outil = outil;
  return a;
}

// ---------------------------------------------------------------- geometry

std::int32_t rayon_cercle(std::int32_t largeur, std::int32_t zoom) {
  return Round(std::abs(double(largeur)) * 0.048) * zoom;
}

std::int32_t pas_clavier_x(std::int32_t n, std::int32_t zoom) {
  return n > 0 ? std::max(Round(346.0 / n) * zoom - 1, 1) : 1;
}

std::int32_t pas_clavier_y(std::int32_t n, std::int32_t zoom) {
  return n > 0 ? std::max(Round(386.0 / n) * zoom - 1, 1) : 1;
}

std::int32_t marge_defilement(std::int32_t degre) { return degre > 0 ? Round(250.0 / degre) : 250; }

std::int32_t pas_defilement(std::int32_t c, std::int32_t x_carte, std::int32_t boite, std::int32_t carte,
                            std::int32_t position, std::int32_t marge) {
  if (boite >= carte || x_carte <= marge) return 0;
  const std::int32_t maximum = carte - boite;
  if (c < marge && position > 0) return std::min(10, position);
  if (c > boite - marge && position < maximum) return -std::min(10, maximum - position);
  return 0;
}

std::int32_t centre_elevation(std::int32_t n) { return Round(n * 0.33); }

std::vector<NoeudCarte> noeuds_segment(NoeudCarte a, NoeudCarte b, std::int32_t limite) {
  // In cube coordinates (i, j, k = -i - j) the six neighbours are the unit
  // steps that keep the sum at 0, and the distance is the largest of the three
  // differences. Each point along the segment is rounded to the nearest node;
  // the coordinate that moved most under rounding is rebuilt from the other two.
  // The start is nudged off the ties so that a segment always picks the same side.
  const std::int64_t di = std::int64_t(b.i) - a.i, dj = std::int64_t(b.j) - a.j;
  const std::int64_t pas = std::max({std::abs(di), std::abs(dj), std::abs(di + dj)});
  std::vector<NoeudCarte> r;
  const std::int64_t nombre = std::min<std::int64_t>(pas, std::max(limite, 0));
  r.reserve(std::size_t(nombre));
  const double i0 = a.i + 1e-6, j0 = a.j + 2e-6;
  for (std::int64_t t = 1; t <= nombre; ++t) {
    const double f = double(t) / double(pas);
    const double fi = i0 + double(di) * f, fj = j0 + double(dj) * f, fk = -fi - fj;
    std::int32_t ri = Round(fi), rj = Round(fj);
    const std::int32_t rk = Round(fk);
    const double ei = std::abs(ri - fi), ej = std::abs(rj - fj), ek = std::abs(rk - fk);
    if (ei > ej && ei > ek)
      ri = -rj - rk;
    else if (ej > ek)
      rj = -ri - rk;
    r.push_back({ri, rj});
  }
  if (nombre == pas && pas > 0) r.back() = b;
  return r;
}

SegmentCarte ligne_coupe(PixelCarte p, int orientation, std::int32_t zoom) {
  const std::int32_t L = 384 * zoom;
  const std::int32_t dx = Round(L / 2.0), dy = Round(0.866 * L);
  switch (orientation) {
    case 2: return {{p.x - dx, p.y + dy}, {p.x + dx, p.y - dy}};
    case 3: return {{p.x - dx, p.y - dy}, {p.x + dx, p.y + dy}};
    default: return {{p.x - L, p.y}, {p.x + L, p.y}};
  }
}

std::int32_t ligne_section(std::int32_t altitude, std::int32_t hauteur) {
  return Round((4000.0 - altitude) * hauteur * 0.00025 * 0.666);
}

void marquer_coupe(MarquesCarte& m, PixelCarte p, std::int32_t r1, std::int32_t r2, bool ligne, bool cercles,
                   int orientation, std::int32_t zoom) {
  if (ligne) {
    const SegmentCarte s = ligne_coupe(p, orientation, zoom);
    m.ligne(s.a, s.b, 1);
  }
  if (cercles) {
    m.cercle(p, rayon_cercle(r1, zoom), 2);
    m.cercle(p, rayon_cercle(r2, zoom), 2);
  }
}

// ---------------------------------------------------------------- cross-sections

std::int32_t distance_echantillon(int t, std::int32_t n) { return Round(t * n * 0.5 / 50); }

NoeudCarte noeud_echantillon(NoeudCarte c, int t, int cote, int o, std::int32_t n) {
  const std::int32_t d = (cote == 1 ? 1 : -1) * distance_echantillon(t, n);
  switch (o) {
    case 2: return {c.i + d, c.j};
    case 3: return {c.i - d, c.j + d};
    default: return {c.i, c.j + d};
  }
}

namespace {

// A node that the sections read: inside the lattice, off its first row.
bool noeud_lu(NoeudCarte p, std::int32_t n) { return p.i >= 1 && p.j > 1 && p.i + p.j < n; }

}  // namespace

Profil echantillonner(const Tmatrice& m, NoeudCarte centre, bool decalages) {
  Profil p;
  const std::int32_t n = m.n;
  for (int o = 1; o <= 3; ++o)
    for (int cote = 1; cote <= 2; ++cote)
      for (int t = 0; t < kEchantillons; ++t) {
        const NoeudCarte q = noeud_echantillon(centre, t, cote, o, n);
        const bool lu = noeud_lu(q, n) && m.hauteurs;
        p.hauteur(t, cote, o) = std::max(lu ? m.hauteurs->lire(q.i, q.j) : -2000, -2000);
        p.decalage(t, cote, o) = decalages && lu && m.dx ? (std::int32_t(m.dx->lire(q.i, q.j)) - 128) * 6 : 0;
      }
  return p;
}

Profil echantillonner_presse_papier(const Tmatrice& m, NoeudCarte centre, std::int32_t largeur) {
  Profil p;
  if (!m.presse_papier) return p;
  const std::int32_t n = m.n;
  const std::int32_t e = geometrie_presse_papier(n, largeur).marge;
  for (int o = 1; o <= 3; ++o)
    for (int cote = 1; cote <= 2; ++cote)
      for (int t = 0; t < kEchantillons; ++t) {
        const NoeudCarte q = noeud_echantillon(centre, t, cote, o, n);
        const bool dedans = q.i >= 2 && q.j >= 2 && q.i + q.j < n;
        p.hauteur(t, cote, o) = dedans ? m.presse_papier->lire(q.i - centre.i + e, q.j - centre.j + e) : 0;
      }
  return p;
}

// ---------------------------------------------------------------- result profile

namespace {

std::int32_t borne_decalage(std::int64_t v) { return std::int32_t(std::clamp<std::int64_t>(v, -128, 128)); }

void plateau(const ValeursProfil& v, int o, int t, int cote, double w, int t_max, int s_max, Profil& r) {
  const double q = (w - t) / w;
  if (q <= 0 || v.coefficient < 1) return;
  const std::int32_t c = v.option2 ? -v.coefficient : v.coefficient;
  const double D = std::abs(double(v.avant) - v.apres);
  const double e = c * 0.25 * q + 1;
  const std::int32_t h = r.hauteur(t, cote, o);
  auto hausse = [&](double u) { return c <= 0 ? (41 + c) * u * 0.025 : 0.9 * D * std::pow(u / D, e) + 0.1 * u; };
  if (v.apres < h && h < v.avant)
    r.hauteur(t, cote, o) = v.avant - Round(hausse(v.avant - h));
  else if (v.avant < h && h < v.apres + 1)
    r.hauteur(t, cote, o) = v.avant + Round(hausse(h - v.avant));
  if (!v.deformation) return;
  const double a = cote == s_max ? std::abs(t - t_max) : t + t_max;
  const double ap = std::max(a < 0.33 * w ? a / (0.33 * w) : (w - a) / (0.66 * w), 0.0);
  const double g = (v.apres <= v.avant ? v.sommet : -v.sommet) * 0.01;
  const double f = std::min(w / 32, 1.0);
  r.decalage(t, cote, o) = borne_decalage(std::int64_t(r.decalage(t, cote, o)) +
                                          Round(g * f * 128 * std::sin(kPi * ap / 2)));
}

void forme(const ValeursProfil& v, int o, int t, int cote, double w, double s, Profil& r) {
  const double q = t <= s ? 1.0 : (w - t) / (w - s);
  const double D = double(v.apres) - v.avant;
  const double h = v.pondere ? (std::sin((2 * q - 1) * kPi / 2) + 1) * D / 2 : D * q;
  r.hauteur(t, cote, o) += Round(h);
  if (v.outil != OUTIL_FORME || !v.deformation) return;
  const double ap = t < 0.66 * w ? t / (0.66 * w) : (w - t) / (0.33 * w);
  const std::int32_t d = Round(v.coefficient * 0.02 * 128 * std::sin(kPi * ap / 2));
  r.decalage(t, cote, o) = borne_decalage(std::int64_t(r.decalage(t, cote, o)) + (cote == 1 ? d : -d));
}

}  // namespace

void calcule_profil(const ValeursProfil& v, int o, const Profil& profil, const Profil& copie, Profil& resultat,
                    std::int32_t& coefficient) {
  for (int t = 0; t < kEchantillons; ++t)
    for (int rang = 0; rang < 4; ++rang)
      resultat.v[std::size_t(t)][std::size_t(rang)][std::size_t(o - 1)] =
          profil.v[std::size_t(t)][std::size_t(rang)][std::size_t(o - 1)];
  int t_max = 0, s_max = 1;
  std::int32_t plus_haut = 0;
  for (int cote = 1; cote <= 2; ++cote)
    for (int t = 0; t < kEchantillons; ++t)
      if (profil.hauteur(t, cote, o) > plus_haut) {
        plus_haut = profil.hauteur(t, cote, o);
        t_max = t;
        s_max = cote;
      }
  const std::int32_t wi = Round(v.base * 50 / 4000.0);
  const double w = wi, s = Round(v.sommet * 50 / 4000.0);
  const int fin = std::min(wi - 1, kEchantillons - 1);
  if (v.outil == OUTIL_COLLER) {
    const double r = v.sommet_colle == v.avant ? 1.0 : double(v.apres - v.avant) / (v.sommet_colle - v.avant);
    coefficient = Round(r * 1000);
    for (int cote = 1; cote <= 2; ++cote)
      for (int t = 0; t <= fin; ++t)
        resultat.hauteur(t, cote, o) = Round(copie.hauteur(t, cote, o) * r + profil.hauteur(t, cote, o));
    return;
  }
  for (int cote = 1; cote <= 2; ++cote)
    for (int t = 0; t <= fin; ++t) {
      const std::int32_t h = profil.hauteur(t, cote, o);
      switch (v.outil) {
        case OUTIL_ELEVATION: {
          const double D = double(v.apres) - v.avant;
          resultat.hauteur(t, cote, o) =
              h + (v.mode_elevation ? Round(D * h / std::max(v.altitude_max, 1)) : Round(D));
          break;
        }
        case OUTIL_PLATEAU: plateau(v, o, t, cote, w, t_max, s_max, resultat); break;
        case OUTIL_FORME:
        case OUTIL_VALLEE:
        case OUTIL_COL: forme(v, o, t, cote, w, s, resultat); break;
        default: break;
      }
    }
}

}  // namespace dialogs
