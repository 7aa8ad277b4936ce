// Fractal generation of a terrain: corners, midpoint subdivision of the
// triangular lattice, then the erosion, smoothing, shore and terrace passes.
//
// A terrain must come out the same from the same key and parameters, node for
// node: the order of the draws of the shared generator, every Round and the
// order of the double arithmetic below are part of the result.
//
// The draws of a displacement never depend on the heights, so each level of
// the subdivision is first walked on the calling thread for its draws alone
// (with the progress polls), which gives every row of the level the state the
// generator has at its start; the rows, which write disjoint nodes and read
// only coarser nodes and their own, are then computed on several cores, each
// with its own copy of the generator.

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <exception>
#include <functional>
#include <limits>
#include <cassert>
#include <optional>
#include <vector>

#include "model/aleatoire.h"
#include "model/matrice.h"
#include "model/outils.h"
#include "model/parallele.h"

namespace {

// One progress point of a long loop: the progress window looks at its input,
// a queued cancel message stops the work, and the bar moves by `increment`
// once more than `quantum` points have passed.
void point_de_progression(ProgressSink* attente, WindowHandle fenetre, bool& continuer, std::int32_t& compteur,
                          std::int32_t quantum, std::uint16_t increment) {
  attente->tester_annulation();
  ++compteur;
  if (continuer && cancel_requested(fenetre)) continuer = false;
  if (compteur > quantum && continuer) {
    attente->avancer(std::nullopt, increment);
    compteur = 0;
  }
}

// The new height of each value u = 1 .. limite - 1 of a whole-terrain pass
// that depends on the height alone, computed the first time it is met.
class TableHauteurs {
 public:
  template <class Formule>
  TableHauteurs(std::int32_t limite, Formule f) : formule_(f) {
    if (limite > 1 && limite <= (1 << 16)) valeurs_.assign(static_cast<std::size_t>(limite), kInconnue);
  }
  std::int32_t operator()(std::int32_t u) {
    if (u < 0 || static_cast<std::size_t>(u) >= valeurs_.size()) return formule_(u);
    std::int64_t& v = valeurs_[static_cast<std::size_t>(u)];
    if (v == kInconnue) v = formule_(u);
    return static_cast<std::int32_t>(v);
  }

 private:
  static constexpr std::int64_t kInconnue = std::numeric_limits<std::int64_t>::min();
  std::function<std::int32_t(std::int32_t)> formule_;
  std::vector<std::int64_t> valeurs_;
};

// A whole-terrain pass without a progress window, where the new height of a
// node depends on its own height h alone: u = h + 20 in 1 .. limite - 1
// becomes formule(u), held within the heights' range. The value of every u
// is computed first, then the rows of the storage are changed side by side.
// Answers the highest height of the nodes visited afterwards, from -1000 (the
// rule of Tmatrice::hauteur_max).
template <class Formule>
std::int32_t passe_par_hauteur(Tnoeud& hauteurs, std::int32_t nn, std::int32_t limite, const Formule& formule) {
  nn = std::min<std::int32_t>(nn, hauteurs.n());  // nodes past the storage read as outside the band
  std::vector<std::int32_t> maxima(static_cast<std::size_t>(std::max(nn, 0)) + 1, -1000);
  const bool table = limite > 1 && limite <= (1 << 16);
  std::vector<std::int32_t> valeurs(table ? static_cast<std::size_t>(limite) : 0);
  constexpr std::int32_t kTranche = 256;
  if (table)
    model::repartir((limite + kTranche - 1) / kTranche, [&](std::int32_t k) {
      for (std::int32_t u = std::max(1, k * kTranche); u < std::min(limite, (k + 1) * kTranche); ++u)
        valeurs[static_cast<std::size_t>(u)] = formule(u);
    }, limite * 25.0);  // a power: some 25 ns a value
  std::vector<std::int32_t*> rangees(static_cast<std::size_t>(nn) + 1);
  for (std::int32_t j = 1; j <= nn; ++j) rangees[static_cast<std::size_t>(j)] = hauteurs.rangee_ecriture(j);
  model::repartir(nn, [&](std::int32_t k) {
    const std::int32_t j = k + 1;
    std::int32_t* r = rangees[static_cast<std::size_t>(j)];
    std::int32_t haut = -1000;
    for (std::int32_t i = 1; i <= nn + 1 - j; ++i) {
      const std::int32_t u = r[i] + 20;
      if (u >= 1 && u < limite) {
        const std::int32_t v = table ? valeurs[static_cast<std::size_t>(u)] : formule(u);
        r[i] = std::clamp(v, Tnoeud::hauteur_mini, Tnoeud::hauteur_maxi);
      }
      haut = std::max(haut, r[i]);
    }
    maxima[static_cast<std::size_t>(j)] = haut;
  }, 1.0 * nn * (nn + 1) / 2,  // some 1 ns a node
  [nn](std::int32_t k) { return nn - k; });  // row k + 1 has nn - k nodes
  return *std::max_element(maxima.begin(), maxima.end());
}

// The same pass with a progress window: node after node, every position of
// the square a progress point; the bar moves by `increment` each time
// Round(nn x part x nn) points have passed.
template <class Formule>
void passe_avec_attente(Tnoeud& hauteurs, std::int32_t nn, std::int32_t limite, const Formule& formule, double part,
                        std::uint16_t increment, ProgressSink* attente, WindowHandle fenetre, bool& continuer) {
  const std::int32_t quantum = Round(nn * part * nn);
  std::int32_t compteur = 0;
  TableHauteurs table(limite, formule);
  for (std::int32_t j = 1; j <= nn && continuer; ++j)
    for (std::int32_t i = 1; i <= nn && continuer; ++i) {
      point_de_progression(attente, fenetre, continuer, compteur, quantum, increment);
      const std::int32_t u = hauteurs.lire(i, j) + 20;
      if (u >= 1 && u < limite) hauteurs.ecrire(i, j, table(u));
    }
}

// The distortion byte of a midpoint: the mean shift of the edge's ends plus
// the drawn offset, kept within a byte.
std::uint8_t octet_milieu(std::int32_t e, std::int32_t m1, std::int32_t m2) {
  std::int32_t v = e + Round(((m1 - 128) + (m2 - 128)) / 2.0) + 128;
  return static_cast<std::uint8_t>(std::min(255, std::max(0, v)));
}

// Places a point at its fractions of the side, with its grid node.
void placer_point(point_terrain& p, std::int32_t& pi, std::int32_t& pj, double x, double y, std::int32_t n) {
  p.x = x;
  p.y = y;
  pi = Round(n * x);
  pj = Round(n * y);
  p.px = facteur_plan * x;
  p.py = p.px / 2 + y;
}

// A whole-terrain tool run by the generator from the one-node stroke trace:
// width 8000, the band between `bas` and `haut`, every other value 0. A
// plateau is gathered in `plateaux` when given.
void appel_outil(Tmatrice& t, std::int32_t outil, std::int32_t valeur, std::int32_t haut, std::int32_t bas,
                 ProgressSink* attente, WindowHandle fenetre, bool& continuer, PlateauxDifferes* plateaux = nullptr) {
  arguments_outil a{};
  a.largeur_base_debut = 8000;
  a.largeur_base_fin = 0;
  a.valeur = valeur;
  a.altitude_finale_debut = haut;
  a.altitude_initiale_debut = bas;
  a.outil = outil;
  controle_outil c;
  c.continuer = continuer;
  c.attente = attente;
  c.fenetre = fenetre;
  c.plateaux = plateaux;
  t.modifier(a, c);
  continuer = c.continuer;
}

// The terraces gathered, applied as the dispatcher would have applied the
// last one: inside its error trap, then the sea rim.
void appliquer_terrasses(Tmatrice& t, PlateauxDifferes& plateaux) {
  if (plateaux.bandes.empty()) return;
  try {
    appliquer_plateaux(t, plateaux);
  } catch (const std::exception&) {
    warn("Error during the modification of the mountain !", "Quorvel");
  }
  if (t.degre > 6) t.poser_rivage();
}

// The draws of one displacement, in the generator's order: the first, scaled
// by the amplitude A and the relief; when it passes half of them, the divisor
// of the profile's lift (which a steep profile may draw); the sign; the two
// distortion offsets and their signs.
struct Tirages {
  double d = 0.0;
  bool leve = false;
  double D = 0.0;
  bool inverse = false;
  std::int32_t ex = 0, ey = 0;
};

// A steep profile draws the lift's divisor at the middle levels.
bool pente_tiree(const Tmatrice& t) { return t.profil > 70 && t.pas < t.nombre_noeuds * 0.5 && t.pas > 8; }

bool levee(const Tmatrice& t, double d, double A) { return d > A * 0.5 * (t.relief / 100); }

// The draws after the first (and after the lift's): the sign, then the distortion offsets.
std::uint64_t tirages_finaux(const Tmatrice& t) {
  if (!t.deformation) return 1;
  return t.pas < t.nombre_noeuds ? 5 : 3;
}

// a when c holds, else b, without a branch: the draws make these choices
// unpredictable, and a mispredicted branch costs more than both values.
inline double choisir(bool c, double a, double b) {
  const std::uint64_t masque = 0 - static_cast<std::uint64_t>(c);
  return std::bit_cast<double>((std::bit_cast<std::uint64_t>(a) & masque) | (std::bit_cast<std::uint64_t>(b) & ~masque));
}
inline std::int32_t choisir(bool c, std::int32_t a, std::int32_t b) {
  const std::uint32_t masque = 0 - static_cast<std::uint32_t>(c);
  return static_cast<std::int32_t>((static_cast<std::uint32_t>(a) & masque) | (static_cast<std::uint32_t>(b) & ~masque));
}

// A distortion offset and, when the level is not the first, its sign.
template <class Tirer>
std::int32_t decalage_tire(const Tmatrice& t, Tirer& tirer) {
  const std::int32_t e = Round(tirer() * t.amplitude_deformation * t.taux_deformation);
  if (!(t.pas < t.nombre_noeuds)) return e;
  return choisir(tirer() > 0.5, -e, e);
}

template <class Tirer>
Tirages tirer_deplacement(const Tmatrice& t, double A, Tirer&& tirer) {
  Tirages x;
  x.d = tirer() * A * (t.relief / 100);
  x.leve = levee(t, x.d, A);
  // D is kept for a lifted draw only.
  x.D = t.profil > 50 ? 500 : 2000;
  if (pente_tiree(t) && x.leve && tirer() > 0.7) x.D = 250;
  x.inverse = tirer() > 0.5;
  if (t.deformation) {
    x.ex = decalage_tire(t, tirer);
    x.ey = decalage_tire(t, tirer);
  }
  return x;
}

// The displacement from its draws and the mean height m around it.
double finir_deplacement(const Tmatrice& t, const Tirages& x, double m, std::int32_t niveau) {
  double d = choisir(x.leve, (1 + ((t.profil - 50) / 50) * m / x.D) * x.d, x.d);
  d = choisir(x.inverse, choisir((m > 1000) & (d < 500), -d, -0.5 * d), d);
  if (niveau >= 3 && niveau <= 10) d = t.poids_niveaux[static_cast<std::size_t>(niveau)] * d * 0.25;
  return d;
}

// Steps a generator over the draws of one displacement of the current level,
// looking only at the first draw, and only when a steep profile makes the
// number of draws depend on it.
class SautsDeplacement {
 public:
  explicit SautsDeplacement(const Tmatrice& t)
      : t_(t),
        pente_(pente_tiree(t)),
        tirages_(1 + tirages_finaux(t)),
        entier_(Generateur::saut(tirages_)),
        apres_(Generateur::saut(tirages_finaux(t))),
        apres_pente_(entier_) {}

  // The draws of a displacement are as many whatever they draw: a row of
  // triangles can be stepped over at once.
  bool fixes() const { return !pente_; }
  // The jump over the draws of `triangles` triangles (three displacements each), when fixes().
  Generateur::Saut triangles(std::int32_t triangles) const {
    return Generateur::saut(3 * tirages_ * static_cast<std::uint64_t>(triangles));
  }

  void passer(Generateur& g, double A) const {
    if (!pente_) {
      g.sauter(entier_);
      return;
    }
    const double d = g.tirer() * A * (t_.relief / 100);
    g.sauter(levee(t_, d, A) ? apres_pente_ : apres_);
  }

 private:
  const Tmatrice& t_;
  bool pente_;
  std::uint64_t tirages_;  // of one displacement
  Generateur::Saut entier_, apres_, apres_pente_;
};

// One row a of a subdivision level: its first `triangles` triangles, the
// generator's state, the amplitude and the level counter at its start, and
// the state its draws leave.
struct RangeeSubdivision {
  std::int32_t a = 0, triangles = 0;
  std::uint32_t etat = 0;
  double A = 0.0;
  std::int32_t niveau = 0;
  std::uint32_t etat_final = 0;
};

// The midpoints of the rows of one level, written straight into the rows of
// the layers.
class Subdivision {
 public:
  explicit Subdivision(Tmatrice& t) : t_(t) {
    const std::int32_t n = t.hauteurs->n();
    for (std::int32_t j = 0; j <= n; ++j) {
      h_.push_back(t.hauteurs->rangee_ecriture(j));
      if (t.deformation && t.dx && t.dy) {
        dx_.push_back(t.dx->rangee_ecriture(j));
        dy_.push_back(t.dy->rangee_ecriture(j));
      }
    }
  }

  // Every row of the level of side s, spread over the cores when the level is large.
  void niveau(std::vector<RangeeSubdivision>& rangees, std::int32_t s) {
    t_.hauteurs->rangee_ecriture(0);  // the heights change: their stamp is renewed
    const auto nombre = static_cast<std::int32_t>(rangees.size());
    std::int64_t triangles = 0;
    for (const RangeeSubdivision& r : rangees) triangles += r.triangles;
    // Blocks of fewer rows on the smaller levels, so that a level has some
    // 64 of them to share: with a block or two a thread, a thread slowed by
    // the machine holds the level up and the others cannot take over its rows.
    // A block still spans 64 columns (s apart), so that two blocks never
    // write the same line of the distortion bytes.
    const std::int32_t par_bloc = std::clamp(std::max(nombre / 64, 64 / s), std::int32_t{1}, kBloc);
    const std::int32_t blocs = (nombre + par_bloc - 1) / par_bloc;
    model::repartir(blocs, [&](std::int32_t k) {
      const std::int32_t premiere = k * par_bloc;
      bloc(rangees.data() + premiere, std::min(par_bloc, nombre - premiere), s);
    }, (dx_.empty() ? 40.0 : 100.0) * double(triangles),  // three midpoints, their draws and distortion bytes
    [&](std::int32_t k) {
      std::int32_t t = 0;
      for (std::int32_t l = k * par_bloc; l < std::min(nombre, (k + 1) * par_bloc); ++l) t += rangees[static_cast<std::size_t>(l)].triangles;
      return t;
    });
    // Each row's draws end where the next row's begin.
    for (std::size_t k = 0; k + 1 < rangees.size(); ++k) assert(rangees[k].etat_final == rangees[k + 1].etat);
  }

 private:
  std::int32_t& h(std::int32_t i, std::int32_t j) const { return h_[static_cast<std::size_t>(j)][i]; }

  // Rows of a level are computed up to kBloc at a time, triangle k of each
  // row of the block before triangle k + 1, so that the block's writes fill
  // the same rows of the storage side by side.
  static constexpr std::int32_t kBloc = 16;

  // Where a row of a block stands: its generator, amplitude and mean height.
  struct Avancement {
    Generateur g;
    double A = 0.0, m = -1.0;
  };

  void bloc(RangeeSubdivision* r, std::int32_t nombre, std::int32_t s) const {
    std::array<Avancement, kBloc> p;
    std::int32_t plus_long = 0;
    for (std::int32_t l = 0; l < nombre; ++l) {
      p[static_cast<std::size_t>(l)] = {Generateur(r[l].etat), r[l].A, -1.0};
      plus_long = std::max(plus_long, r[l].triangles);
    }
    for (std::int32_t k = 0, b = 1; k < plus_long; ++k, b += s)
      for (std::int32_t l = 0; l < nombre; ++l)
        if (k < r[l].triangles) triangle(r[l], p[static_cast<std::size_t>(l)], k, b, s);
    for (std::int32_t l = 0; l < nombre; ++l) r[l].etat_final = p[static_cast<std::size_t>(l)].g.etat();
  }

  // Triangle k of row r, whose corner (a, b) is on the row.
  void triangle(const RangeeSubdivision& r, Avancement& p, std::int32_t k, std::int32_t b, std::int32_t s) const {
    const std::int32_t t = s / 2, a = r.a;
    milieu(p.g, p.A, r.niveau, p.m, a, b + t, 1, a, b, a, b + s);
    milieu(p.g, p.A, r.niveau, p.m, a + t, b, 2, a, b, a + s, b);
    milieu(p.g, p.A, r.niveau, p.m, a + t, b + t, 3, a + s, b, a, b + s);
    if (t_.iles && s > t_.nombre_noeuds - 2) p.A = 6000;
    // The mean of the next triangle reads (a + t, b + s) before the next triangle writes it.
    if (k + 1 < r.triangles) p.m = (h(a, b + t) + h(a + t, b + s) + h(a + t, b + t)) / 3.0;
  }

  // One midpoint: displacement, shape modifiers, preferred direction, then the
  // height and the two distortion bytes from the edge's ends (i1, j1), (i2, j2).
  void milieu(Generateur& g, double A, std::int32_t niveau, double m, std::int32_t i, std::int32_t j,
              std::int32_t direction, std::int32_t i1, std::int32_t j1, std::int32_t i2, std::int32_t j2) const {
    const Tirages x = tirer_deplacement(t_, A, [&g] { return g.tirer(); });
    double d = finir_deplacement(t_, x, m, niveau);
    if (t_.iles) d = t_.forme_basse(i, j, d);
    if (t_.cuvette) d = t_.forme_haute(i, j, d);
    const std::int32_t nn = t_.nombre_noeuds;
    if (t_.pas < nn * 0.5 && t_.pas > 8 && t_.plis > 0) {
      if (t_.direction_vallee == direction)
        d = -Round(std::fabs(d * (0.4 * t_.plis + 1.0)));
      else
        d = std::fabs(d);
    }
    h(i, j) = std::clamp(Round((h(i1, j1) + h(i2, j2)) / 2.0 + d), Tnoeud::hauteur_mini, Tnoeud::hauteur_maxi);
    if (dx_.empty()) return;
    const auto J = [](std::int32_t j) { return static_cast<std::size_t>(j); };
    dx_[J(j)][i] = octet_milieu(x.ex, dx_[J(j1)][i1], dx_[J(j2)][i2]);
    dy_[J(j)][i] = octet_milieu(x.ey, dy_[J(j1)][i1], dy_[J(j2)][i2]);
  }

  Tmatrice& t_;
  std::vector<std::int32_t*> h_;
  std::vector<std::uint8_t*> dx_, dy_;
};

}  // namespace

void Tmatrice::deplacement(double m, double& d, std::int32_t& ddx, std::int32_t& ddy) {
  const Tirages x = tirer_deplacement(*this, amplitude, [] { return Random(); });
  d = finir_deplacement(*this, x, m, niveau);
  ddx = x.ex;
  ddy = x.ey;
}

double Tmatrice::forme_basse(std::int32_t i, std::int32_t j, double d) const {
  const double nn = nombre_noeuds;
  const double s = pas;
  const double c = cuvette ? 0.2 : 1.0;
  double r = d;
  if (s > nn - 2) r = choisir(d > -10 * relief, (-10 * relief - 2 * std::fabs(d)) * c, r);
  if (nn * 0.25 - 2 < s && s < nn * 0.5 + 2 && i > 4 && j > 4 && i + j < nombre_noeuds - 4)
    r = choisir(d < 0, -4 * d * c, r);
  return r;
}

double Tmatrice::forme_haute(std::int32_t i, std::int32_t j, double d) const {
  const double nn = nombre_noeuds;
  const double s = pas;
  const double c = iles ? 0.4 : 1.0;
  if (nn * 0.25 - 2 < s && s < nn * 0.5 + 2 && i > 4 && j > 4 && i + j < nombre_noeuds - 4)
    return choisir(d > 2 * relief, -d * c, d);
  return d;
}

void Tmatrice::generation_fractale(ProgressSink* attente, WindowHandle fenetre, bool& continuer) {
  const std::int32_t nn = nombre_noeuds;
  if (attente) attente->avancer("Fractal generation ...", 0);
  continuer = true;
  const std::int32_t quantum = Round(nn * 0.01 * nn);
  std::int32_t compteur = 0;
  niveau = degre;
  Subdivision subdivision(*this);
  std::vector<RangeeSubdivision> rangees;

  while (pas > 1 && continuer) {
    const std::int32_t s = pas;
    // The draws of the level in the generator's order, row after row, with
    // the polls; a cancel ends the level after the triangle of its poll.
    const SautsDeplacement sauts(*this);
    Generateur g(seed());
    rangees.clear();
    // Without polls, and unless the islands' first level changes the
    // amplitude after a triangle, a row whose draws are as many whatever they
    // draw is stepped over in one jump.
    const bool d_un_saut = !attente && sauts.fixes() && !(iles && s > nn - 2);
    for (std::int32_t a = 1; a <= nn - s && continuer; a += s) {
      RangeeSubdivision r;
      r.a = a;
      r.etat = g.etat();
      r.A = amplitude;
      r.niveau = niveau;
      if (d_un_saut) {
        r.triangles = (nn - a - s) / s + 1;  // b = 1, 1 + s, ... up to nn - a - s + 1
        g.sauter(sauts.triangles(r.triangles));
      }
      for (std::int32_t b = 1; !d_un_saut && b <= nn - a - s + 1 && continuer; b += s) {
        if (attente) point_de_progression(attente, fenetre, continuer, compteur, quantum, 5);
        for (int k = 0; k < 3; ++k) sauts.passer(g, amplitude);
        if (iles && s > nn - 2) amplitude = 6000;
        ++r.triangles;
      }
      rangees.push_back(r);
      ++niveau;
    }
    set_seed(g.etat());
    subdivision.niveau(rangees, s);
    assert(rangees.empty() || rangees.back().etat_final == seed());

    pas = static_cast<std::uint16_t>(pas / 2);
    const std::int32_t Q = Round((nn - 1) / std::pow(2.0, etalement - 1));
    if (pas < Q) {
      amplitude = static_cast<std::uint16_t>(Round(amplitude * (((profil - 50) * 0.01 + 1) * 0.15 + 0.35)));
      amplitude_deformation = amplitude_deformation * 0.5;
    }
  }

  if (degre > 6) poser_rivage();
  rafraichir_points();
}

void Tmatrice::generer_montagne(ProgressSink* attente, WindowHandle fenetre, bool& continuer, bool plat) {
  continuer = true;
  if (attente) {
    attente->take_focus();
    attente->demarrer(fenetre);
  }

  // The key in use is stored back, so that the terrain can be grown again.
  semer_cle(cle, nouvelle_cle != 0);
  cle = static_cast<std::int32_t>(seed());

  pas = static_cast<std::uint16_t>(1u << degre);
  nombre_noeuds = static_cast<std::uint16_t>(pas + 1);
  const std::int32_t nn = nombre_noeuds;

  direction_vallee = Round(Random() * 3.0);
  if (direction_vallee < 1) direction_vallee = 1;
  if (direction_vallee > 3) direction_vallee = 3;

  placer_point(cible, cible_i, cible_j, 0.333, 0.333, nn);
  placer_point(observateur, observateur_i, observateur_j, 0.1, 0.1, nn);

  amplitude_deformation = 50.0;
  niveau = 0;
  for (std::int32_t k = 1; k < etalement; ++k) relief = relief * 0.5;

  // The highest node seen by a pass over every node of the lattice is kept
  // with the heights' stamp, as hauteur_max would keep it.
  const auto garder_hauteur_max = [this](std::int32_t h) {
    if (nombre_noeuds <= hauteurs->n()) hauteur_max_gardee = {hauteurs->empreinte(), nombre_noeuds, h};
  };

  if (!plat) {
    const double c = cuvette ? 0.25 : 1.0;
    amplitude = (iles && !cuvette) ? 1000 : 2000;
    const std::int32_t coins[3][2] = {{1, 1}, {1, nn}, {nn, 1}};
    for (const auto& coin : coins) {
      double d;
      std::int32_t ex, ey;
      deplacement(0.0, d, ex, ey);
      if (iles && d > -10 * relief) d = (-10 * relief - 2 * std::fabs(d)) * c;
      hauteurs->ecrire(coin[0], coin[1], Round(d));
    }
    amplitude = (iles && !cuvette) ? 3000 : 5000;
    amplitude_deformation = 120.0;

    generation_fractale(attente, fenetre, continuer);

    // Erosion: below L, heights sink by a power of their share of L.
    std::int32_t L = -1000;
    if (continuer && exposant_erosion > 0) {
      L = hauteur_max() + 20 - altitude_erosion;
      if (L > 250) {
        if (attente) attente->avancer("Erosion  ...  ", 0);
        const double e = exposant_erosion;
        const auto formule = [L, e](std::int32_t u) {
          return std::min(4000, Round(u * std::pow(static_cast<double>(u) / L, e)) - 20);
        };
        if (attente) {
          passe_avec_attente(*hauteurs, nn, L, formule, 0.05, 5, attente, fenetre, continuer);
        } else {
          garder_hauteur_max(passe_par_hauteur(*hauteurs, nn, L, formule));
        }
      }
    }
    L = L - altitude_erosion;

    // Smoothing of the whole terrain, below the eroded heights.
    if (hauteur_max() > -250 && taux_lissage > 0 && continuer) {
      debut_trace(cible_i, cible_j);
      appel_outil(*this, OUTIL_LISSAGE, taux_lissage, L + 100, -200, attente, fenetre, continuer);
      fin_trace();
    }

    // Shore: the heights just above the sea are bent up or down.
    const std::int32_t S = rivage;
    if (S != 0 && continuer) {
      const std::int32_t T = std::max(1, hauteur_rivage + 20);
      if (attente) attente->avancer("Shore ...", 0);
      const auto formule = [S, T](std::int32_t u) {
        if (S > 0) return Round(u * std::pow(static_cast<double>(u) / T, 0.1 * S)) - 20;
        const std::int32_t v = T - u;
        return T - Round(v * std::pow(static_cast<double>(v) / T, -0.1 * S)) - 20;
      };
      if (attente) {
        passe_avec_attente(*hauteurs, nn, T, formule, 0.1, 10, attente, fenetre, continuer);
      } else {
        garder_hauteur_max(passe_par_hauteur(*hauteurs, nn, T, formule));
      }
    }

    // Terraces: plateaus of the whole terrain, one band after the other.
    // Without a progress window their bands are gathered and the lattice is
    // walked once, with the heights of the walks one after the other.
    if (hauteur_max() > 400 && gradins && nombre_gradins > 2 && continuer) {
      debut_trace(cible_i, cible_j);
      PlateauxDifferes plateaux;
      PlateauxDifferes* differes = attente ? nullptr : &plateaux;
      std::int32_t B = hauteur_rivage;
      const std::int32_t E = Round((hauteur_max() - B) / (nombre_gradins * 0.8));
      const std::int32_t sg = terrasse ? -1 : 1;
      for (std::int32_t g = 0; g < nombre_gradins && continuer; ++g) {
        if (attente) attente->avancer("One terrace ...", 0);
        const std::int32_t sommet = Round((Random() + 0.3) * E) + B;
        std::int32_t w = (Round((1.0 - 2 * Random()) * 6.0) + pente_gradins) * 2;
        if (terrasse) w = Round(w * 0.2);
        if (pente_gradins > 0)
          appel_outil(*this, OUTIL_PLATEAU, sg * w * 2, B, sommet, attente, fenetre, continuer, differes);
        else
          appel_outil(*this, OUTIL_PLATEAU, -sg * w, sommet, B, attente, fenetre, continuer, differes);
        B = sommet + Round((Random() + 0.3) * E);
      }
      appliquer_terrasses(*this, plateaux);
      fin_trace();
    }
  }

  rafraichir_points();
}
