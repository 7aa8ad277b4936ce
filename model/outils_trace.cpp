#include "model/outils_trace.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "model/aleatoire.h"
#include "model/matrice.h"

namespace {

constexpr double PI = 3.14159265358979323846;

// Radius in lattice steps of a width in the tool dialog's units.
double rayon(std::int32_t n, double largeur) { return (n - 1) * largeur * 0.002 * 0.0625; }

// Nearest trace node: the smallest distance, the lowest index on equal
// distances. The grid only narrows the candidates; distances come from the
// shared metric, so the answer is the plain search's.
class ChercheurTrace {
 public:
  ChercheurTrace(const std::vector<point_trace>& trace, std::int32_t dernier, double portee, bool simple)
      : trace_(trace), dernier_(dernier), portee_(portee), simple_(simple) {
    if (simple_) return;
    // Cells at least as wide as the reach: a node within reach of a trace
    // node lies in its cell or in one of the eight around it.
    taille_ = std::max(portee_, 2.0);
    double xmin = std::numeric_limits<double>::max(), ymin = xmin, xmax = -xmin, ymax = -xmin;
    for (std::int32_t k = 0; k <= dernier_; ++k) {
      position_plan p = plan(trace_[k].i, trace_[k].j);
      xmin = std::min(xmin, p.x);
      xmax = std::max(xmax, p.x);
      ymin = std::min(ymin, p.y);
      ymax = std::max(ymax, p.y);
    }
    x0_ = xmin;
    y0_ = ymin;
    nx_ = static_cast<std::int32_t>((xmax - xmin) / taille_) + 1;
    ny_ = static_cast<std::int32_t>((ymax - ymin) / taille_) + 1;
    debut_.assign(static_cast<std::size_t>(nx_) * ny_ + 1, 0);
    for (std::int32_t k = 0; k <= dernier_; ++k) ++debut_[cellule(k) + 1];
    for (std::size_t c = 1; c < debut_.size(); ++c) debut_[c] += debut_[c - 1];
    indices_.resize(static_cast<std::size_t>(dernier_) + 1);
    std::vector<std::int32_t> rempli(debut_.begin(), debut_.end() - 1);
    for (std::int32_t k = 0; k <= dernier_; ++k) indices_[rempli[cellule(k)]++] = k;  // ascending per cell
  }

  // False when no trace node lies nearer than the reach (the node gets no work).
  bool chercher(std::int32_t i, std::int32_t j, std::int32_t& k_min, double& d_min) const {
    d_min = 10000.0;
    k_min = 0;
    if (simple_) {
      for (std::int32_t k = 0; k <= dernier_; ++k) {
        double d = distance_noeuds(i, j, trace_[k].i, trace_[k].j);
        if (d < d_min) {
          d_min = d;
          k_min = k;
        }
      }
      return true;
    }
    position_plan p = plan(i, j);
    std::int32_t cx = coord(p.x, x0_), cy = coord(p.y, y0_);
    bool trouve = false;
    for (std::int32_t gx = std::max(cx - 1, 0); gx <= std::min(cx + 1, nx_ - 1); ++gx) {
      for (std::int32_t gy = std::max(cy - 1, 0); gy <= std::min(cy + 1, ny_ - 1); ++gy) {
        std::size_t c = static_cast<std::size_t>(gx) * ny_ + gy;
        for (std::int32_t e = debut_[c]; e < debut_[c + 1]; ++e) {
          std::int32_t k = indices_[e];
          double d = distance_noeuds(i, j, trace_[k].i, trace_[k].j);
          if (d < d_min || (d == d_min && trouve && k < k_min)) {
            d_min = d;
            k_min = k;
            trouve = true;
          }
        }
      }
    }
    return trouve && d_min < portee_;
  }

 private:
  std::int32_t coord(double v, double origine) const {
    double c = std::floor((v - origine) / taille_);
    if (c < -2.0) return -2;
    if (c > 1e6) return 1000000;
    return static_cast<std::int32_t>(c);
  }
  std::size_t cellule(std::int32_t k) const {
    position_plan p = plan(trace_[k].i, trace_[k].j);
    std::int32_t gx = std::clamp(coord(p.x, x0_), 0, nx_ - 1);
    std::int32_t gy = std::clamp(coord(p.y, y0_), 0, ny_ - 1);
    return static_cast<std::size_t>(gx) * ny_ + gy;
  }

  const std::vector<point_trace>& trace_;
  std::int32_t dernier_;
  double portee_;
  bool simple_;
  double taille_ = 1.0, x0_ = 0.0, y0_ = 0.0;
  std::int32_t nx_ = 1, ny_ = 1;
  std::vector<std::int32_t> debut_, indices_;
};

const char* legende(std::int32_t outil) {
  switch (outil) {
    case OUTIL_FORME: return "Distortion processing ...";
    case OUTIL_CONE: return "Cone processing ...        ";
    case OUTIL_COL: return "Chain processing ...      ";
    case OUTIL_ROUTE: return "Road processing ...      ";
    default: return nullptr;
  }
}

void etendre(std::array<std::int32_t, 4>& z, std::int32_t i, std::int32_t j, std::int32_t marge) {
  z[0] = std::min(z[0], i - marge);
  z[1] = std::max(z[1], i + marge);
  z[2] = std::min(z[2], j - marge);
  z[3] = std::max(z[3], j + marge);
}

}  // namespace

void inclure_empreinte(Tmatrice& m, std::int32_t i, std::int32_t j, std::uint16_t type, std::uint16_t attribut) {
  std::int32_t r = 0;
  if (type == TYPE_RIVIERE) {
    r = attribut > 4 ? attribut - 4 : 0;
  } else if (type > TYPE_SOL && type < TYPE_SOL + 10) {
    r = Round(attribut * (m.n - 1) * 0.002);
  }
  etendre(m.zone_outil, i, j, r + 1);
}

parametres_trace parametres_outil_trace(arguments_outil& a) {
  parametres_trace p;
  p.outil = a.outil;
  p.valeur_appelant = &a.valeur;
  switch (a.outil) {
    case OUTIL_FORME:
    case OUTIL_VALLEE:
      p.largeur_base_debut = a.largeur_base_debut;
      p.largeur_base_fin = a.largeur_base_fin;
      p.largeur_sommet_debut = a.largeur_sommet_debut;
      p.largeur_sommet_fin = a.largeur_sommet_fin;
      p.altitude_finale_debut = a.altitude_finale_debut;
      p.altitude_finale_fin = a.altitude_finale_fin;
      p.altitude_initiale_debut = a.altitude_initiale_debut;
      p.altitude_initiale_fin = a.altitude_initiale_fin;
      p.valeur = a.valeur;
      p.rapport = a.coefficient_debut;
      break;
    case OUTIL_CONE:
      p.largeur_base_debut = a.largeur_base_debut;
      p.largeur_base_fin = a.largeur_base_fin;
      p.largeur_sommet_debut = a.largeur_sommet_debut;
      p.largeur_sommet_fin = a.largeur_sommet_fin;
      p.altitude_finale_debut = a.altitude_finale_debut;
      p.altitude_finale_fin = a.altitude_finale_fin;
      p.altitude_initiale_debut = a.altitude_initiale_debut;
      p.altitude_initiale_fin = a.altitude_initiale_fin;
      p.valeur = a.coefficient_debut;
      p.rapport = a.coefficient_fin;
      break;
    case OUTIL_COL:
      p.largeur_base_debut = a.largeur_base_debut;
      p.largeur_base_fin = 0;
      p.largeur_sommet_debut = 1;
      p.largeur_sommet_fin = 0;
      p.altitude_finale_debut = a.altitude_finale_debut;
      p.altitude_initiale_debut = a.altitude_initiale_debut;
      p.valeur = a.valeur;
      break;
    case OUTIL_ROUTE:
      p.largeur_base_debut = 4000;
      p.largeur_base_fin = 0;
      // The road width stays within the range the tool dialog offers.
      p.largeur_sommet_debut = std::clamp(a.largeur_sommet_debut, 0, 4000);
      p.altitude_finale_debut = a.altitude_finale_debut;
      p.altitude_initiale_debut = a.altitude_initiale_debut;
      p.valeur = 45;
      p.rapport = 45;
      break;
    default:
      break;
  }
  return p;
}

void outil_trace(Tmatrice& m, const parametres_trace& p, controle_outil& c) {
  const std::int32_t n = m.n;
  const std::int32_t L = m.dernier_point;
  if (m.trace.empty() || L < 0 || static_cast<std::size_t>(L) >= m.trace.size()) return;
  const std::vector<point_trace>& t = m.trace;
  const std::int32_t outil = p.outil;
  const bool route = outil == OUTIL_ROUTE;
  const bool cone = outil == OUTIL_CONE;
  const bool col = outil == OUTIL_COL;

  std::int32_t base_fin = p.largeur_base_fin, sommet_fin = p.largeur_sommet_fin;
  if (L == 0) {
    sommet_fin = p.largeur_sommet_debut;
    base_fin = p.largeur_base_debut;
  }

  // 1. Caption.
  if (c.attente && !p.sans_legende) {
    if (const char* l = legende(outil)) c.attente->avancer(std::string_view(l), 0);
  }

  // 2. Profile along the trace.
  const std::size_t taille = static_cast<std::size_t>(L) + 1;
  std::vector<std::int32_t> dz(taille, 0), h0(taille, 0), wB(taille, 0), wS(taille, 0), angle(taille, 0);
  std::vector<double> rB(taille, 0.0), rS(taille, 0.0);
  const Tnoeud& h = *m.hauteurs;
  for (std::int32_t k = 0; k <= L; ++k) h0[k] = h.lire(t[k].i, t[k].j);

  bool chemin = false;
  std::int32_t largeur_route = 0;  // base width of a road: 2 (F + wS)
  bool calcule = true;
  if (col || route) calcule = L > 0;

  if (calcule && col) {
    const std::int32_t milieu = std::max(Round(L / 2.0), 1);
    for (std::int32_t k = 0; k <= L; ++k) {
      double poids = k < milieu ? static_cast<double>(k) / milieu : static_cast<double>(L - k) / milieu;
      dz[k] = Round(poids * (p.altitude_finale_debut - p.altitude_initiale_debut));
      wB[k] = Round(poids * p.largeur_base_debut);
      rB[k] = rayon(n, poids * p.largeur_base_debut);
    }
  } else if (calcule && route) {
    std::int32_t valeur = p.valeur_appelant ? *p.valeur_appelant : 0;
    if (valeur == -50) {
      valeur = 20;
      if (p.valeur_appelant) *p.valeur_appelant = 20;
      chemin = true;
    }
    std::vector<std::int32_t> profil(h0), courant(h0);
    std::int32_t s = Round(valeur / 40.0 * L / 4.0);
    while (s > 1) {
      for (std::int32_t k = 0; k <= L; ++k) {
        std::int32_t gauche = k - s < 2 ? 0 : k - s;
        std::int32_t droite = k + s > L ? L : k + s;
        std::int32_t milieu = courant[gauche] + Round((courant[droite] - courant[gauche]) / 2.0);
        profil[k] = milieu + Round((courant[k] - milieu) / (valeur * 0.025 + 1));
      }
      courant = profil;
      s = Round(s / 2.0);
    }
    std::uint16_t F = 0;
    for (std::int32_t k = 0; k <= L; ++k) {
      h0[k] = h.lire(t[k].i, t[k].j);
      dz[k] = profil[k] - h0[k];
      if (dz[k] > 0 && dz[k] > F) F = static_cast<std::uint16_t>(dz[k]);
    }
    largeur_route = 2 * (F + p.largeur_sommet_debut);
    for (std::int32_t k = 0; k <= L; ++k) {
      wS[k] = p.largeur_sommet_debut;
      wB[k] = largeur_route;
      rS[k] = rayon(n, wS[k]);
      rB[k] = rayon(n, wB[k]);
    }
  } else if (calcule) {
    for (std::int32_t k = 0; k <= L; ++k) {
      double a = L == 0 ? 1.0 : static_cast<double>(L - k) / L;
      double b = L == 0 ? 0.0 : static_cast<double>(k) / L;
      dz[k] = Round(a * (p.altitude_finale_fin - p.altitude_initiale_fin) +
                    b * (p.altitude_finale_debut - p.altitude_initiale_debut));
      double base = a * base_fin + b * p.largeur_base_debut;
      double sommet = a * sommet_fin + b * p.largeur_sommet_debut;
      wB[k] = Round(base);
      wS[k] = Round(sommet);
      rB[k] = rayon(n, base);
      rS[k] = rayon(n, sommet);
      if (cone) angle[k] = L == 0 ? p.rapport : Round(a * p.rapport + b * p.valeur);
    }
  }

  // Tool area.
  {
    const bool largeur_de_route = route && calcule;
    std::int32_t largeur_fin = largeur_de_route ? largeur_route : base_fin;
    std::int32_t largeur_debut = largeur_de_route ? largeur_route : p.largeur_base_debut;
    std::int32_t R = Round(rayon(n, largeur_fin));
    std::int32_t marge = 2 * R + 1;
    m.zone_outil = {t[0].i - marge, t[0].i + marge, t[0].j - marge, t[0].j + marge};
    std::int32_t R2 = Round(rayon(n, largeur_debut));
    std::int32_t marge2 = 2 * R2 + 1;
    for (std::int32_t k = 1; k <= L; ++k) etendre(m.zone_outil, t[k].i, t[k].j, marge2);
  }

  // Road surface.
  if (calcule && route) {
    const std::int32_t g = Round(p.largeur_sommet_debut * 0.18 * 0.0625);
    const std::uint16_t type = chemin ? TYPE_SOL + SOL_SABLE : TYPE_SOL + SOL_ROCHER;
    const std::uint16_t attribut = static_cast<std::uint16_t>(Round(g * 1.6));
    const std::int32_t compte = m.nombre_elements;
    const std::int32_t dernier = std::min(L, m.capacite_liste - 1 - compte);
    for (std::int32_t k = 0; k <= dernier; ++k) {
      std::size_t e = static_cast<std::size_t>(compte + k);
      m.liste_i[e] = t[k].i;
      m.liste_j[e] = t[k].j;
      m.liste_type[e] = type;
      m.liste_attribut[e] = attribut;
      inclure_empreinte(m, t[k].i, t[k].j, type, attribut);
    }
    std::int32_t nouveau = compte + L + 1;
    if (nouveau > m.capacite_liste - 3) nouveau = std::max(m.capacite_liste - 3, compte);
    m.nombre_elements = nouveau;
  }

  if (!calcule) return;

  // 3. Passes.
  const std::int32_t passes = route ? 2 : 1;
  const auto z = m.zone_outil;
  const std::int32_t pas_progression = Round((z[1] - z[0]) * 0.05 * (z[3] - z[2])) * passes;
  const bool sinus = outil == OUTIL_FORME && p.rapport < 0;
  const bool pousser = outil == OUTIL_FORME && m.deformation && m.dx && m.dy;
  double portee = 0.0;
  for (double r : rB) portee = std::max(portee, r);
  ChercheurTrace chercheur(t, L, portee, p.recherche_simple);
  Tnoeud& hauteurs = *m.hauteurs;
  std::int32_t compteur = 0;

  for (std::int32_t passe = 0; passe < passes && c.continuer; ++passe) {
    const double A = route ? (passe == 0 ? 1.0 : -1.0) * p.valeur * PI / 180.0 : 0.0;
    for (std::int32_t i = z[0]; i <= z[1] && c.continuer; ++i) {
      for (std::int32_t j = z[2]; j <= z[3]; ++j) {
        if (c.attente) {
          if (cancel_requested(c.fenetre)) c.continuer = false;
          c.attente->tester_annulation();
          if (++compteur >= pas_progression + 1) {
            compteur = 0;
            if (!p.sans_pas) c.attente->avancer(std::nullopt, 5);
          }
        }
        if (!c.continuer) break;
        if (i < 1 || j < 1 || i + j > n + 1) continue;

        std::int32_t k;
        double d;
        if (!chercheur.chercher(i, j, k, d)) continue;
        double rb = rB[k];
        if (d >= rb) continue;
        if (rb < 1.0) rb = 1.0;
        const double rs = rS[k];

        std::int32_t H;
        std::int32_t base = 0;
        if (cone || route) {
          double a = cone ? angle[k] * PI / 180.0 : A;
          H = Round(std::sin(a) / std::cos(a) * (wB[k] - wS[k]));
          base = h0[k] - H + dz[k];
        } else {
          H = dz[k];
        }
        const double f = d <= rs ? 1.0 : (rb - d) / (rb - rs);
        std::int32_t delta;
        if (sinus)
          delta = Round((std::sin((2 * f - 1) * PI * 0.5) + 1) * H * 0.5);
        else
          delta = Round(H * f);

        if (pousser) {
          // Direction from the nearest trace node, in the shared plane.
          double u = -0.9 * i - (-0.9 * t[k].i);
          double v = -(j + 0.5 * i) - (-(t[k].j + 0.5 * t[k].i));
          double direction = std::atan(u / (v == 0.0 ? 0.00001 : v));
          if (v < 0) direction += PI;
          const double phi = direction - PI / 2;
          const double s = 0.66 * rb <= d ? (rb - d) / (0.33 * rb) : d / (0.66 * rb);
          const double g = std::sin(PI * s * 0.5);
          const double amplitude = p.valeur / 100.0 * 128 * g;
          std::int32_t bx = m.dx->lire(i, j) + Round(std::cos(phi) * amplitude);
          std::int32_t by = m.dy->lire(i, j) + Round(std::sin(phi) * amplitude);
          m.dx->ecrire(i, j, static_cast<std::uint8_t>(std::clamp(bx, 0, 255)));
          m.dy->ecrire(i, j, static_cast<std::uint8_t>(std::clamp(by, 0, 255)));
        }

        if (cone || route) {
          const std::int32_t cible = delta + base;
          const std::int32_t actuel = hauteurs.lire(i, j);
          if (passe == 0 ? actuel < cible : actuel > cible) hauteurs.ecrire(i, j, cible);
        } else {
          hauteurs.ajouter(i, j, delta);
        }
      }
    }
  }
}
