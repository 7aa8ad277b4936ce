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

// Nearest trace node: the smallest distance of the shared metric, the lowest
// index on equal distances, exactly as a plain search over the whole trace
// finds it.
//
// In units of a tenth of a step, node positions are whole numbers
// (X = 9 i, Y = 10 j + 5 i), so squared distances compare exactly. Along one
// row of the lattice X is fixed, and the squared distance to a trace node is a
// parabola in Y; their lower envelope gives the nearest trace nodes of a whole
// row in one pass. Squared distances that differ exactly differ far beyond the
// rounding of the metric, so only exact ties need the metric itself, which
// decides them as the plain search would.
class ChercheurTrace {
 public:
  ChercheurTrace(const std::vector<point_trace>& trace, std::int32_t dernier, bool simple)
      : trace_(trace), dernier_(dernier), simple_(simple) {
    if (simple_) return;
    // One entry per distinct position: a node listed twice is first found at
    // its lowest index, at the same distance.
    for (std::int32_t k = 0; k <= dernier_; ++k)
      sommets_.push_back({10LL * trace_[k].j + 5LL * trace_[k].i, 9LL * trace_[k].i, k});
    std::stable_sort(sommets_.begin(), sommets_.end(), [](const Sommet& a, const Sommet& b) {
      return a.Y != b.Y ? a.Y < b.Y : a.X < b.X;
    });
    sommets_.erase(std::unique(sommets_.begin(), sommets_.end(),
                               [](const Sommet& a, const Sommet& b) { return a.Y == b.Y && a.X == b.X; }),
                   sommets_.end());
  }

  // Prepares the row i; the nodes of a row are then asked in increasing j.
  void ligne(std::int32_t i) {
    if (simple_) return;
    const std::int64_t Xp = 9LL * i;
    paraboles_.clear();
    for (std::size_t s = 0; s < sommets_.size();) {
      // Of the trace nodes with the same Y, the one nearest to the row wins;
      // two at the same distance on both sides tie for the whole row.
      std::size_t e = s;
      Parabole p{sommets_[s].Y, std::numeric_limits<std::int64_t>::max(), -1, -1};
      for (; e < sommets_.size() && sommets_[e].Y == p.Y; ++e) {
        const std::int64_t dx = Xp - sommets_[e].X;
        const std::int64_t A = dx * dx;
        if (A < p.A) {
          p.A = A;
          p.k1 = sommets_[e].k;
          p.k2 = -1;
        } else if (A == p.A) {
          p.k2 = sommets_[e].k;
        }
      }
      s = e;
      // Lower envelope: drop the parabolas that the new one beats before they
      // ever were the lowest.
      while (!paraboles_.empty()) {
        const Fraction x = croisement(paraboles_.back(), p);
        if (inferieur(x, debuts_.back())) {
          paraboles_.pop_back();
          debuts_.pop_back();
        } else {
          debuts_.push_back(x);
          break;
        }
      }
      if (paraboles_.empty()) {
        debuts_.clear();
        debuts_.push_back(Fraction{-1, 0});  // minus infinity
      }
      paraboles_.push_back(p);
    }
    // debuts_[q] is where parabola q starts to be the lowest.
    courant_ = 0;
  }

  // False when there is no trace (never with a valid stroke).
  bool chercher(std::int32_t i, std::int32_t j, std::int32_t& k_min, double& d_min) {
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
    if (paraboles_.empty()) return false;
    const std::int64_t Y = 10LL * j + 5LL * i;
    const Fraction y{Y, 1};
    while (courant_ + 1 < paraboles_.size() && inferieur(debuts_[courant_ + 1], y)) ++courant_;
    // The lowest parabola here, and the ones that start exactly here.
    std::int64_t meilleur = valeur(paraboles_[courant_], Y);
    std::size_t premier = courant_, dernier = courant_;
    for (std::size_t q = courant_ + 1; q < paraboles_.size() && egal(debuts_[q], y); ++q) {
      const std::int64_t v = valeur(paraboles_[q], Y);
      if (v < meilleur) {
        meilleur = v;
        premier = q;
      }
      dernier = q;
    }
    bool trouve = false;
    for (std::size_t q = premier; q <= dernier; ++q) {
      if (valeur(paraboles_[q], Y) != meilleur) continue;
      for (std::int32_t k : {paraboles_[q].k1, paraboles_[q].k2}) {
        if (k < 0) continue;
        const double d = distance_noeuds(i, j, trace_[k].i, trace_[k].j);
        if (!trouve || d < d_min || (d == d_min && k < k_min)) {
          d_min = d;
          k_min = k;
          trouve = true;
        }
      }
    }
    return trouve;
  }

 private:
  struct Sommet {
    std::int64_t Y, X;
    std::int32_t k;
  };
  struct Parabole {
    std::int64_t Y, A;  // squared distance A + (y - Y)^2
    std::int32_t k1, k2;
  };
  // num / den with den > 0; den = 0 stands for minus infinity.
  struct Fraction {
    std::int64_t num, den;
  };

  static std::int64_t valeur(const Parabole& p, std::int64_t Y) { return p.A + (Y - p.Y) * (Y - p.Y); }
  // Where q (with the larger Y) becomes lower than p.
  static Fraction croisement(const Parabole& p, const Parabole& q) {
    const std::int64_t num = (q.A + q.Y * q.Y) - (p.A + p.Y * p.Y);
    const std::int64_t den = 2 * (q.Y - p.Y);
    return Fraction{num, den};
  }
  static bool inferieur(const Fraction& a, const Fraction& b) {
    if (b.den == 0) return false;
    if (a.den == 0) return true;
    return static_cast<__int128>(a.num) * b.den < static_cast<__int128>(b.num) * a.den;
  }
  static bool egal(const Fraction& a, const Fraction& b) {
    if (a.den == 0 || b.den == 0) return a.den == b.den;
    return static_cast<__int128>(a.num) * b.den == static_cast<__int128>(b.num) * a.den;
  }

  const std::vector<point_trace>& trace_;
  std::int32_t dernier_;
  bool simple_;
  std::vector<Sommet> sommets_;
  std::vector<Parabole> paraboles_;
  std::vector<Fraction> debuts_;
  std::size_t courant_ = 0;
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
  ChercheurTrace chercheur(t, L, p.recherche_simple);
  Tnoeud& hauteurs = *m.hauteurs;
  std::int32_t compteur = 0;

  for (std::int32_t passe = 0; passe < passes && c.continuer; ++passe) {
    const double A = route ? (passe == 0 ? 1.0 : -1.0) * p.valeur * PI / 180.0 : 0.0;
    for (std::int32_t i = z[0]; i <= z[1] && c.continuer; ++i) {
      if (i >= 1 && i <= n) chercheur.ligne(i);
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
