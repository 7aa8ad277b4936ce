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

// A stroke tool's kind: Shape and Valley add the profile to the terrain, Pass
// adds one that rises to the middle, Cone fills up to its slopes, and Road
// fills and then cuts to its level.
struct genre_trace {
  explicit genre_trace(std::int32_t outil)
      : route(outil == OUTIL_ROUTE), cone(outil == OUTIL_CONE), col(outil == OUTIL_COL) {}
  bool route, cone, col;
};

// The profile at each trace node: the height change dz, the terrain height h0
// before the stroke, base and summit widths with their radii in lattice
// steps, and Cone's slope angle in degrees.
struct profil_trace {
  explicit profil_trace(std::size_t taille)
      : dz(taille, 0), h0(taille, 0), wB(taille, 0), wS(taille, 0), angle(taille, 0), rB(taille, 0.0),
        rS(taille, 0.0) {}
  std::vector<std::int32_t> dz, h0, wB, wS, angle;
  std::vector<double> rB, rS;
};

// The end widths; a one-node stroke has only its start values.
struct largeurs_fin {
  std::int32_t base, sommet;
};

largeurs_fin largeurs_de_fin(const parametres_trace& p, std::int32_t L) {
  if (L == 0) return {p.largeur_base_debut, p.largeur_sommet_debut};
  return {p.largeur_base_fin, p.largeur_sommet_fin};
}

// Pass: the height change and the base width grow from both ends of the
// trace to its middle.
void profil_col(const parametres_trace& p, std::int32_t n, std::int32_t L, profil_trace& f) {
  const std::int32_t milieu = std::max(Round(L / 2.0), 1);
  for (std::int32_t k = 0; k <= L; ++k) {
    double poids = k < milieu ? static_cast<double>(k) / milieu : static_cast<double>(L - k) / milieu;
    f.dz[k] = Round(poids * (p.altitude_finale_debut - p.altitude_initiale_debut));
    f.wB[k] = Round(poids * p.largeur_base_debut);
    f.rB[k] = rayon(n, poids * p.largeur_base_debut);
  }
}

// Road's smoothing strength, the dispatcher's own value: -50 asks for a path,
// smoothed at 20, and the caller's value becomes 20 as well.
std::int32_t force_route(const parametres_trace& p, bool& chemin) {
  std::int32_t valeur = p.valeur_appelant ? *p.valeur_appelant : 0;
  if (valeur == -50) {
    valeur = 20;
    if (p.valeur_appelant) *p.valeur_appelant = 20;
    chemin = true;
  }
  return valeur;
}

// The road's level along the trace: the terrain heights, pulled towards the
// middle of ever shorter spans, each node keeping a share of its own height
// that shrinks as the strength grows.
std::vector<std::int32_t> niveau_route(const std::vector<std::int32_t>& h0, std::int32_t force, std::int32_t L) {
  std::vector<std::int32_t> profil(h0), courant(h0);
  std::int32_t s = Round(force / 40.0 * L / 4.0);
  while (s > 1) {
    for (std::int32_t k = 0; k <= L; ++k) {
      std::int32_t gauche = k - s < 2 ? 0 : k - s;
      std::int32_t droite = k + s > L ? L : k + s;
      std::int32_t milieu = courant[gauche] + Round((courant[droite] - courant[gauche]) / 2.0);
      profil[k] = milieu + Round((courant[k] - milieu) / (force * 0.025 + 1));
    }
    courant = profil;
    s = Round(s / 2.0);
  }
  return profil;
}

// Road: every node moves to the smoothed level; the banks are wide enough for
// the deepest fill. Returns that base width.
std::int32_t profil_route(const Tmatrice& m, const parametres_trace& p, std::int32_t force, std::int32_t L,
                          profil_trace& f) {
  const Tnoeud& h = *m.hauteurs;
  const std::vector<point_trace>& t = m.trace;
  const std::vector<std::int32_t> niveau = niveau_route(f.h0, force, L);
  std::uint16_t remblai = 0;
  for (std::int32_t k = 0; k <= L; ++k) {
    f.h0[k] = h.lire(t[k].i, t[k].j);
    f.dz[k] = niveau[k] - f.h0[k];
    if (f.dz[k] > 0 && f.dz[k] > remblai) remblai = static_cast<std::uint16_t>(f.dz[k]);
  }
  const std::int32_t largeur_route = 2 * (remblai + p.largeur_sommet_debut);
  for (std::int32_t k = 0; k <= L; ++k) {
    f.wS[k] = p.largeur_sommet_debut;
    f.wB[k] = largeur_route;
    f.rS[k] = rayon(m.n, f.wS[k]);
    f.rB[k] = rayon(m.n, f.wB[k]);
  }
  return largeur_route;
}

// Shape, Valley and Cone: every value runs linearly from the end values at the
// first trace node to the start values at the last one.
void profil_lineaire(const parametres_trace& p, const largeurs_fin& fin, bool cone, std::int32_t n, std::int32_t L,
                     profil_trace& f) {
  for (std::int32_t k = 0; k <= L; ++k) {
    double a = L == 0 ? 1.0 : static_cast<double>(L - k) / L;
    double b = L == 0 ? 0.0 : static_cast<double>(k) / L;
    f.dz[k] = Round(a * (p.altitude_finale_fin - p.altitude_initiale_fin) +
                    b * (p.altitude_finale_debut - p.altitude_initiale_debut));
    double base = a * fin.base + b * p.largeur_base_debut;
    double sommet = a * fin.sommet + b * p.largeur_sommet_debut;
    f.wB[k] = Round(base);
    f.wS[k] = Round(sommet);
    f.rB[k] = rayon(n, base);
    f.rS[k] = rayon(n, sommet);
    if (cone) f.angle[k] = L == 0 ? p.rapport : Round(a * p.rapport + b * p.valeur);
  }
}

// The tool area: the first trace node with the margin of the end base width,
// every other node with that of the start base width.
void poser_zone(Tmatrice& m, std::int32_t largeur_fin, std::int32_t largeur_debut) {
  const std::vector<point_trace>& t = m.trace;
  const std::int32_t marge_fin = 2 * Round(rayon(m.n, largeur_fin)) + 1;
  m.zone_outil = {t[0].i - marge_fin, t[0].i + marge_fin, t[0].j - marge_fin, t[0].j + marge_fin};
  const std::int32_t marge_debut = 2 * Round(rayon(m.n, largeur_debut)) + 1;
  for (std::int32_t k = 1; k <= m.dernier_point; ++k) etendre(m.zone_outil, t[k].i, t[k].j, marge_debut);
}

// Road surface: a ground entry (sand for a path, rock otherwise) as wide as
// the road on every trace node, as far as the feature list has room.
void paver_route(Tmatrice& m, std::int32_t largeur_chaussee, bool chemin) {
  const std::vector<point_trace>& t = m.trace;
  const std::int32_t L = m.dernier_point;
  const std::int32_t g = Round(largeur_chaussee * 0.18 * 0.0625);
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

// What the sweep needs besides the terrain.
struct balayage {
  const parametres_trace& p;
  const profil_trace& f;
  genre_trace genre;
  bool sinus;    // Shape with a sinusoidal profile
  bool pousser;  // Shape on a terrain with distortion maps
};

// Shape pushes the distortion maps sideways, away from the nearest trace
// node tk, most strongly two thirds of the way out to the base radius rb.
void pousser_noeud(Tmatrice& m, std::int32_t i, std::int32_t j, const point_trace& tk, double d, double rb,
                   std::int32_t force) {
  // Direction from the nearest trace node, in the shared plane.
  double u = -0.9 * i - (-0.9 * tk.i);
  double v = -(j + 0.5 * i) - (-(tk.j + 0.5 * tk.i));
  double direction = std::atan(u / (v == 0.0 ? 0.00001 : v));
  if (v < 0) direction += PI;
  const double phi = direction - PI / 2;
  const double s = 0.66 * rb <= d ? (rb - d) / (0.33 * rb) : d / (0.66 * rb);
  const double g = std::sin(PI * s * 0.5);
  const double amplitude = force / 100.0 * 128 * g;
  std::int32_t bx = m.dx->lire(i, j) + Round(std::cos(phi) * amplitude);
  std::int32_t by = m.dy->lire(i, j) + Round(std::sin(phi) * amplitude);
  m.dx->ecrire(i, j, static_cast<std::uint8_t>(std::clamp(bx, 0, 255)));
  m.dy->ecrire(i, j, static_cast<std::uint8_t>(std::clamp(by, 0, 255)));
}

// Changes the node (i, j) at distance d from its nearest trace node k. A is
// Road's slope angle for this pass; the first pass fills, the second cuts.
void modifier_noeud(Tmatrice& m, const balayage& b, std::int32_t i, std::int32_t j, std::int32_t k, double d,
                    double A, std::int32_t passe) {
  const profil_trace& f = b.f;
  double rb = f.rB[k];
  if (d >= rb) return;
  if (rb < 1.0) rb = 1.0;
  const double rs = f.rS[k];
  const bool niveler = b.genre.cone || b.genre.route;

  std::int32_t H;
  std::int32_t base = 0;
  if (niveler) {
    double a = b.genre.cone ? f.angle[k] * PI / 180.0 : A;
    H = Round(std::sin(a) / std::cos(a) * (f.wB[k] - f.wS[k]));
    base = f.h0[k] - H + f.dz[k];
  } else {
    H = f.dz[k];
  }
  const double chute = d <= rs ? 1.0 : (rb - d) / (rb - rs);
  std::int32_t delta;
  if (b.sinus)
    delta = Round((std::sin((2 * chute - 1) * PI * 0.5) + 1) * H * 0.5);
  else
    delta = Round(H * chute);

  if (b.pousser) pousser_noeud(m, i, j, m.trace[k], d, rb, b.p.valeur);

  Tnoeud& hauteurs = *m.hauteurs;
  if (niveler) {
    const std::int32_t cible = delta + base;
    const std::int32_t actuel = hauteurs.lire(i, j);
    if (passe == 0 ? actuel < cible : actuel > cible) hauteurs.ecrire(i, j, cible);
  } else {
    hauteurs.ajouter(i, j, delta);
  }
}

// Sweeps the tool area row by row, once, or twice for Road, every node
// taking its profile from the nearest trace node, while polling for a cancel.
void balayer(Tmatrice& m, const balayage& b, controle_outil& c) {
  const std::int32_t n = m.n;
  const std::int32_t passes = b.genre.route ? 2 : 1;
  const auto z = m.zone_outil;
  const std::int32_t pas_progression = Round((z[1] - z[0]) * 0.05 * (z[3] - z[2])) * passes;
  ChercheurTrace chercheur(m.trace, m.dernier_point, b.p.recherche_simple);
  std::int32_t compteur = 0;

  for (std::int32_t passe = 0; passe < passes && c.continuer; ++passe) {
    const double A = b.genre.route ? (passe == 0 ? 1.0 : -1.0) * b.p.valeur * PI / 180.0 : 0.0;
    for (std::int32_t i = z[0]; i <= z[1] && c.continuer; ++i) {
      if (i >= 1 && i <= n) chercheur.ligne(i);
      for (std::int32_t j = z[2]; j <= z[3]; ++j) {
        if (c.attente) {
          if (cancel_requested(c.fenetre)) c.continuer = false;
          c.attente->tester_annulation();
          if (++compteur >= pas_progression + 1) {
            compteur = 0;
            if (!b.p.sans_pas) c.attente->avancer(std::nullopt, 5);
          }
        }
        if (!c.continuer) break;
        if (i < 1 || j < 1 || i + j > n + 1) continue;
        std::int32_t k;
        double d;
        if (chercheur.chercher(i, j, k, d)) modifier_noeud(m, b, i, j, k, d, A, passe);
      }
    }
  }
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
  // Shape, Valley and Cone take both ends of the widths and altitudes.
  const auto profil_complet = [&] {
    p.largeur_base_debut = a.largeur_base_debut;
    p.largeur_base_fin = a.largeur_base_fin;
    p.largeur_sommet_debut = a.largeur_sommet_debut;
    p.largeur_sommet_fin = a.largeur_sommet_fin;
    p.altitude_finale_debut = a.altitude_finale_debut;
    p.altitude_finale_fin = a.altitude_finale_fin;
    p.altitude_initiale_debut = a.altitude_initiale_debut;
    p.altitude_initiale_fin = a.altitude_initiale_fin;
  };
  switch (a.outil) {
    case OUTIL_FORME:
    case OUTIL_VALLEE:
      profil_complet();
      p.valeur = a.valeur;
      p.rapport = a.coefficient_debut;
      break;
    case OUTIL_CONE:
      profil_complet();
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
  const genre_trace genre(p.outil);

  if (c.attente && !p.sans_legende) {
    if (const char* l = legende(p.outil)) c.attente->avancer(std::string_view(l), 0);
  }

  const largeurs_fin fin = largeurs_de_fin(p, L);
  profil_trace f(static_cast<std::size_t>(L) + 1);
  for (std::int32_t k = 0; k <= L; ++k) f.h0[k] = m.hauteurs->lire(m.trace[k].i, m.trace[k].j);
  // Pass and Road need two trace nodes; with one they only set the tool area.
  if ((genre.col || genre.route) && L == 0) {
    poser_zone(m, fin.base, p.largeur_base_debut);
    return;
  }

  if (genre.col) {
    profil_col(p, n, L, f);
    poser_zone(m, fin.base, p.largeur_base_debut);
  } else if (genre.route) {
    bool chemin = false;
    const std::int32_t force = force_route(p, chemin);
    const std::int32_t largeur_route = profil_route(m, p, force, L, f);
    poser_zone(m, largeur_route, largeur_route);
    paver_route(m, p.largeur_sommet_debut, chemin);
  } else {
    profil_lineaire(p, fin, genre.cone, n, L, f);
    poser_zone(m, fin.base, p.largeur_base_debut);
  }

  const bool sinus = p.outil == OUTIL_FORME && p.rapport < 0;
  const bool pousser = p.outil == OUTIL_FORME && m.deformation && m.dx && m.dy;
  balayer(m, balayage{p, f, genre, sinus, pousser}, c);
}
