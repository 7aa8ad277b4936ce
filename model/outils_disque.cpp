// The three disc tools of the edit dispatcher: Plateau (code 2) flattens an
// altitude band towards one of its limits, Stratum (12) bends the distortion
// maps inside a band, and Relief (13) grows new fractal relief in a disc.

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <numbers>
#include <optional>
#include <vector>

#include "model/aleatoire.h"
#include "model/matrice.h"
#include "model/outils.h"
#include "model/parallele.h"

namespace {

constexpr double PI = std::numbers::pi;

// The disc around the start node (i0, j0) for the base width W, and the
// altitude band [L, U] with a top of 4000 taken as 5000.
struct Disque {
  std::int32_t i0, j0, R, m;
  double D;
  std::int32_t imin, imax, jmin, jmax;

  Disque(const Tmatrice& t, std::int32_t W, std::int32_t i, std::int32_t j) : i0(i), j0(j) {
    R = std::max(1, Round((t.n - 1) * (W / 1000.0) / 16));
    m = 2 * R + 1;
    imin = i0 - m;
    imax = i0 + m;
    jmin = j0 - m;
    jmax = j0 + m;
    D = distance_noeuds(i0, j0, i0 + R, j0 + R);
    if (D == 0) D = 1;
  }
  double distance(std::int32_t i, std::int32_t j) const { return distance_noeuds(i0, j0, i, j); }
  // The lattice nodes of the area, in the order of the area's rows: i from
  // premier_i() to dernier_i(n), then j from premier_j() to dernier_j(i, n).
  std::int32_t premier_i() const { return std::max(imin, 1); }
  std::int32_t dernier_i(std::int32_t n) const { return std::min(imax, n); }
  std::int32_t premier_j() const { return std::max(jmin, 1); }
  std::int32_t dernier_j(std::int32_t i, std::int32_t n) const { return std::min(jmax, n + 1 - i); }
  double poids(std::int32_t i, std::int32_t j) const { return (D - distance(i, j)) / D; }
  void marquer(Tmatrice& t) const {
    t.zone_outil[0] = imin;
    t.zone_outil[1] = imax;
    t.zone_outil[2] = jmin;
    t.zone_outil[3] = jmax;
  }
};

std::int32_t haut_de_bande(std::int32_t U) { return U == 4000 ? 5000 : U; }

// Progress and cancel of the node loops.
struct Progression {
  controle_outil& c;
  std::int32_t pas_barre;
  std::int32_t compteur = 0;

  void point() {
    if (!c.attente) return;
    c.attente->tester_annulation();
    if (c.continuer && cancel_requested(c.fenetre)) c.continuer = false;
    ++compteur;
    if (compteur > pas_barre && c.continuer) {
      c.attente->avancer(std::nullopt, 5);
      compteur = 0;
    }
  }
};

// The first node of greatest height (from -1000) among the nodes of the area
// that `retenu` accepts; the start node when none lies above -1000.
template <class Filtre>
void point_culminant(const Tmatrice& t, const Disque& disque, Filtre retenu, std::int32_t& ic, std::int32_t& jc) {
  ic = disque.i0;
  jc = disque.j0;
  std::int32_t meilleur = -1000;
  for (std::int32_t i = disque.premier_i(); i <= disque.dernier_i(t.n); ++i)
    for (std::int32_t j = disque.premier_j(); j <= disque.dernier_j(i, t.n); ++j) {
      if (!retenu(i, j)) continue;
      const std::int32_t h = t.hauteurs->lire(i, j);
      if (h > meilleur) {
        meilleur = h;
        ic = i;
        jc = j;
      }
    }
}

// Direction of the push of a node away from the centre (ic, jc).
double angle_depuis(std::int32_t i, std::int32_t j, std::int32_t ic, std::int32_t jc) {
  const double X = -0.9 * i, Y = -(j + 0.5 * i);
  const double Xc = -0.9 * ic, Yc = -(jc + 0.5 * ic);
  double den = Y - Yc;
  if (den == 0) den = 0.00001;
  double a = std::atan((X - Xc) / den);
  if (Y - Yc < 0) a = a + PI;
  return a - PI / 2;
}

void pousser_octets(Tmatrice& t, std::int32_t i, std::int32_t j, double a, double amplitude) {
  const std::int32_t vx = t.dx->lire(i, j) + Round(std::cos(a) * amplitude);
  const std::int32_t vy = t.dy->lire(i, j) + Round(std::sin(a) * amplitude);
  t.dx->ecrire(i, j, static_cast<std::uint8_t>(std::clamp(vx, 0, 255)));
  t.dy->ecrire(i, j, static_cast<std::uint8_t>(std::clamp(vy, 0, 255)));
}

void ecrire_hauteur(Tmatrice& t, std::int32_t i, std::int32_t j, std::int64_t h) {
  h = std::clamp<std::int64_t>(h, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max());
  t.hauteurs->ecrire(i, j, static_cast<std::int32_t>(h));
}

// Plateau over the whole terrain when nothing polls and the distortion maps
// stay: each node depends on its own height alone (tasser gives the flattened
// distance from L and only reads), so the new value of every stored height
// (hauteur_mini..hauteur_maxi) is computed first, then the rows of the storage
// are walked in memory order and spread over the cores, with the same results.

// The flattened distance from L of a height at distance u inside a band of
// height H, for a node of the whole terrain (weight 0.5) and the strength S.
std::int64_t tasser_tout(std::int32_t u, std::int32_t S, std::int32_t H) {
  if (S > 0) return Round(std::pow(static_cast<double>(u) / H, S * 0.25 * 0.5 + 1) * H * 0.9 + u * 0.1);
  const auto produit = static_cast<std::int32_t>(static_cast<std::int64_t>(S + 41) * u);
  return Round(produit * 0.025);
}

// The new value of height h for the band L..U, tasser(u) being the flattened
// distance from L.
template <class Tasser>
std::int32_t aplatir(std::int32_t h, std::int32_t L, std::int32_t U, const Tasser& tasser) {
  std::int64_t v;
  if (U < h && h < L)
    v = L - tasser(L - h);
  else if (L < h && h < U + 1)
    v = L + tasser(h - L);
  else
    return h;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, Tnoeud::hauteur_mini, Tnoeud::hauteur_maxi));
}

// The height h after the plateau of band (L, U, S, H) over the whole terrain.
std::int32_t aplatir_tout(std::int32_t h, const std::array<std::int32_t, 4>& bande) {
  const std::int32_t L = bande[0], U = bande[1], S = bande[2], H = bande[3];
  return aplatir(h, L, U, [S, H](std::int32_t u) { return tasser_tout(u, S, H); });
}

// Rows j0..j1 of the heights, i from i_debut to i_fin or the row's end, spread
// over the cores: a height h of the table's range becomes
// table[h - hauteur_mini], another one autre(h).
template <class Autre>
void changer_hauteurs(Tmatrice& t, std::int32_t j0, std::int32_t j1, std::int32_t i_debut, std::int32_t i_fin,
                      const std::vector<std::int32_t>& table, const Autre& autre) {
  if (j1 < j0) return;
  std::vector<std::int32_t*> rangees;
  for (std::int32_t j = j0; j <= j1; ++j) rangees.push_back(t.hauteurs->rangee_ecriture(j));
  const auto longueur = [&](std::int32_t j) { return std::max(0, std::min(i_fin, t.n + 1 - j) - i_debut + 1); };
  std::int64_t noeuds = 0;
  for (std::int32_t j = j0; j <= j1; ++j) noeuds += longueur(j);
  model::repartir(j1 - j0 + 1, [&](std::int32_t k) {
    const std::int32_t j = j0 + k;
    std::int32_t* r = rangees[static_cast<std::size_t>(k)];
    const std::int32_t fin = std::min(i_fin, t.n + 1 - j);
    for (std::int32_t i = i_debut; i <= fin; ++i) {
      // Heights left as they are are not written again (fewer changed lines of the cache).
      const auto u = static_cast<std::uint64_t>(std::int64_t{r[i]} - Tnoeud::hauteur_mini);
      const std::int32_t v = u < table.size() ? table[u] : autre(r[i]);
      if (v != r[i]) r[i] = v;
    }
  }, 1.0 * double(noeuds), [&](std::int32_t k) { return longueur(j0 + k); });  // some 1 ns a node
}

// The whole-terrain plateau of band (L, U, S, H): applied at once, or added
// to the plateaus gathered in `differes` when given.
void plateau_entier(Tmatrice& t, const Disque& disque, const std::array<std::int32_t, 4>& bande,
                    PlateauxDifferes* differes) {
  const std::int32_t L = bande[0], U = bande[1], S = bande[2], H = bande[3];
  // The distances a node of the band can have (1..H) are computed once.
  std::vector<std::int64_t> tassements(S > 0 ? static_cast<std::size_t>(std::min(H, 1 << 16)) + 1 : 0);
  for (std::size_t u = 1; u < tassements.size(); ++u) tassements[u] = tasser_tout(static_cast<std::int32_t>(u), S, H);
  const auto tasser = [&](std::int32_t u) {
    const bool retenu = u >= 1 && static_cast<std::size_t>(u) < tassements.size();
    return retenu ? tassements[static_cast<std::size_t>(u)] : tasser_tout(u, S, H);
  };
  const std::int32_t j0 = disque.premier_j(), j1 = std::min(disque.jmax, t.n);
  const std::int32_t i_debut = disque.premier_i(), i_fin = disque.dernier_i(t.n);
  if (differes && !differes->bandes.empty() &&
      (differes->j0 != j0 || differes->j1 != j1 || differes->i_debut != i_debut || differes->i_fin != i_fin))
    appliquer_plateaux(t, *differes);  // other nodes: the ones gathered go first
  std::vector<std::int32_t> table(static_cast<std::size_t>(Tnoeud::hauteur_maxi - Tnoeud::hauteur_mini + 1));
  if (differes && !differes->bandes.empty()) {
    // After the plateaus gathered comes this one.
    for (std::size_t k = 0; k < table.size(); ++k) table[k] = aplatir(differes->table[k], L, U, tasser);
  } else {
    for (std::int32_t h = Tnoeud::hauteur_mini; h <= Tnoeud::hauteur_maxi; ++h)
      table[static_cast<std::size_t>(h - Tnoeud::hauteur_mini)] = aplatir(h, L, U, tasser);
  }
  if (!differes) {
    changer_hauteurs(t, j0, j1, i_debut, i_fin, table, [&](std::int32_t h) { return aplatir(h, L, U, tasser); });
    return;
  }
  *differes = {j0, j1, i_debut, i_fin, std::move(table), std::move(differes->bandes)};
  differes->bandes.push_back(bande);
}

}  // namespace

void appliquer_plateaux(Tmatrice& t, PlateauxDifferes& p) {
  if (p.bandes.empty()) return;
  const PlateauxDifferes faits = std::move(p);
  p = {};
  changer_hauteurs(t, faits.j0, faits.j1, faits.i_debut, faits.i_fin, faits.table, [&](std::int32_t h) {
    for (const auto& bande : faits.bandes) h = aplatir_tout(h, bande);
    return h;
  });
}

void outil_plateau(Tmatrice& t, const arguments_outil& a, controle_outil& c) {
  const std::int32_t W = a.largeur_base_debut;
  const std::int32_t S = a.valeur;
  const std::int32_t L = a.altitude_initiale_debut;
  const Disque disque(t, W, c.i0, c.j0);
  disque.marquer(t);
  const bool entier = W == 8000;
  if (c.attente && !entier) c.attente->avancer("Plateau processing ...  ", 0);
  c.continuer = true;

  double Q = a.largeur_sommet_debut;
  if (a.altitude_finale_debut > L) Q = -Q;
  Q = Q / 100;
  const std::int32_t U = haut_de_bande(a.altitude_finale_debut);
  const std::int32_t H = std::abs(L - U);
  const bool distorsion = t.deformation && t.dx && t.dy && Q != 0;

  std::int32_t ic = c.i0, jc = c.j0;
  if (distorsion) point_culminant(t, disque, [&](std::int32_t i, std::int32_t j) { return entier || disque.poids(i, j) > 0; }, ic, jc);
  if (S == 0) return;

  Progression prog{c, Round((disque.imax - disque.imin) * (entier ? 0.006 : 0.03) * (disque.jmax - disque.jmin))};
  constexpr std::int64_t kInconnu = std::numeric_limits<std::int64_t>::min();
  const double D = disque.D;
  const double k = std::min(1.0, D / (t.n / 4.0));
  if (entier && !distorsion && !c.attente) {
    plateau_entier(t, disque, {L, U, S, H}, c.plateaux);
    return;
  }
  std::vector<std::int64_t> tassements(entier && S > 0 ? static_cast<std::size_t>(std::min(H, 1 << 16)) + 1 : 0, kInconnu);
  for (std::int32_t i = disque.premier_i(); i <= disque.dernier_i(t.n) && c.continuer; ++i)
    for (std::int32_t j = disque.premier_j(); j <= disque.dernier_j(i, t.n) && c.continuer; ++j) {
      prog.point();
      if (!c.continuer) break;
      const double w = entier ? 0.5 : disque.poids(i, j);
      if (w <= 0) continue;
      const std::int32_t h = t.hauteurs->lire(i, j);
      const double e = S * 0.25 * w + 1;

      if (distorsion) {
        const double ang = angle_depuis(i, j, ic, jc);
        const double r = distance_noeuds(ic, jc, i, j);
        double s = 0.33 * D > r ? r / (0.33 * D) : (D - r) / (0.66 * D);
        if (s < 0) s = 0;
        const double g = std::sin(PI * s * 0.5);
        pousser_octets(t, i, j, ang, Q * k * 128 * g);
      }

      // The flattened distance from L of a height at distance u inside the band.
      auto tasser = [&](std::int32_t u) -> std::int64_t {
        if (S > 0) {
          // Over the whole terrain the exponent is the same for every node: each distance is computed once.
          const bool retenu = entier && u >= 0 && static_cast<std::size_t>(u) < tassements.size();
          if (retenu && tassements[static_cast<std::size_t>(u)] != kInconnu) return tassements[static_cast<std::size_t>(u)];
          const std::int64_t v = Round(std::pow(static_cast<double>(u) / H, e) * H * 0.9 + u * 0.1);
          if (retenu) tassements[static_cast<std::size_t>(u)] = v;
          return v;
        }
        const auto produit = static_cast<std::int32_t>(static_cast<std::int64_t>(S + 41) * u);
        return Round(produit * 0.025);
      };
      if (U < h && h < L)
        ecrire_hauteur(t, i, j, L - tasser(L - h));
      else if (L < h && h < U + 1)
        ecrire_hauteur(t, i, j, L + tasser(h - L));
    }
}

void outil_strate(Tmatrice& t, const arguments_outil& a, controle_outil& c) {
  const std::int32_t W = a.largeur_base_debut;
  const std::int32_t L = a.altitude_initiale_debut;
  const std::int32_t U = haut_de_bande(a.altitude_finale_debut);
  const double Q = a.largeur_sommet_debut;
  const Disque disque(t, W, c.i0, c.j0);
  disque.marquer(t);
  if (c.attente && W != 8000) c.attente->avancer("Stratum processing ...  ", 0);
  c.continuer = true;
  // Only the distortion maps change; a terrain without them stays as it is.
  if (!t.deformation || !t.dx || !t.dy) return;

  std::int32_t ic, jc;
  point_culminant(t, disque, [&](std::int32_t i, std::int32_t j) { return disque.poids(i, j) > 0; }, ic, jc);
  const double H = std::abs(L - U);
  const double moitie = H * 0.5;
  const std::int32_t bas = std::min(L, U), haut = std::max(L, U);
  const double D = disque.D;

  Progression prog{c, Round((disque.imax - disque.imin) * 0.015 * (disque.jmax - disque.jmin))};
  for (std::int32_t i = disque.premier_i(); i <= disque.dernier_i(t.n) && c.continuer; ++i)
    for (std::int32_t j = disque.premier_j(); j <= disque.dernier_j(i, t.n) && c.continuer; ++j) {
      prog.point();
      if (!c.continuer) break;
      const double d = disque.distance(i, j);
      if ((D - d) / D <= 0) continue;
      const std::int32_t h = t.hauteurs->lire(i, j);
      if (!(bas < h && h < haut)) continue;
      const double f = d < 0.66 * D ? 1 : (D - d) / (0.33 * D);
      const double ang = angle_depuis(i, j, ic, jc);
      double e = std::abs(h - L);
      if (moitie <= e) e = H - e;
      const double tt = 2 * (e / moitie) - 1;
      const double q = (std::sin(tt * PI * 0.5) + 1) * 0.5;
      pousser_octets(t, i, j, ang, Q * q * f * 0.4);
    }
}

void outil_relief(Tmatrice& t, const arguments_outil& a, controle_outil& c) {
  const std::int32_t W = a.largeur_base_debut;
  const std::int32_t G = a.largeur_sommet_debut;
  const std::int32_t V = a.valeur;
  const std::int32_t L = a.altitude_initiale_debut;
  const std::int32_t U = haut_de_bande(a.altitude_finale_debut);
  const Disque disque(t, W, c.i0, c.j0);
  disque.marquer(t);
  if (c.attente && W != 8000) c.attente->avancer("Relief processing ...  ", 0);
  c.continuer = true;

  // E > 0: only the part of the new relief that emerges is added.
  std::int32_t E = -V;
  if (E > 0) E = Round(E * 0.5) + 50;

  const std::int32_t n = t.n;
  const double D = disque.D;
  const double m = disque.m;
  t.relief = G;
  const std::int32_t A0 = Round(2000 * D / n);
  t.amplitude = static_cast<std::uint16_t>(A0);
  t.pas = static_cast<std::uint16_t>(1u << t.degre);
  t.niveau = 0;

  Tnoeud travail(n);  // every element starts at 0
  const std::int32_t bas = std::min(L, U), haut = std::max(L, U);
  Progression prog{c, Round((disque.imax - disque.imin) * 0.035 * (disque.jmax - disque.jmin))};

  auto milieu = [&](std::int32_t i, std::int32_t j, std::int32_t i1, std::int32_t j1, std::int32_t i2, std::int32_t j2,
                    std::int32_t pas) {
    double delta;
    std::int32_t ex, ey;
    t.deplacement(0.0, delta, ex, ey);
    if (E > 0 && 0.2 * m < pas) delta = std::fabs(delta);
    const std::int32_t h = t.hauteurs->lire(i, j);
    if (bas < h && h < haut) travail.ecrire(i, j, Round((travail.lire(i1, j1) + travail.lire(i2, j2)) / 2.0 + delta));
  };

  while (t.pas >= 2 && c.continuer) {
    const std::int32_t pas = t.pas;
    const std::int32_t hs = pas / 2;
    for (std::int32_t i = 1; i <= n - pas && c.continuer; i += pas)
      for (std::int32_t j = 1; j <= n - i - pas + 1 && c.continuer; j += pas) {
        prog.point();
        if (!c.continuer) break;
        if (disque.poids(i, j) <= 0) continue;
        milieu(i, j + hs, i, j, i, j + pas, pas);
        milieu(i + hs, j, i, j, i + pas, j, pas);
        milieu(i + hs, j + hs, i + pas, j, i, j + pas, pas);
      }
    t.pas = static_cast<std::uint16_t>(pas / 2);
    if (t.pas < 0.2 * m) t.amplitude = static_cast<std::uint16_t>(Round(t.amplitude * 0.5));
  }
  if (!c.continuer) return;

  for (std::int32_t i = disque.premier_i(); i <= disque.dernier_i(n) && c.continuer; ++i)
    for (std::int32_t j = disque.premier_j(); j <= disque.dernier_j(i, n) && c.continuer; ++j) {
      prog.point();
      if (!c.continuer) break;
      const double d = disque.distance(i, j);
      if ((D - d) / D <= 0) continue;
      const double f = d < 0.5 * D ? 1 : (D - d) / (0.5 * D);
      std::int32_t tt = travail.lire(i, j);
      if (E > 0) tt = tt - Round((100 - E) * A0 * 0.025);
      const std::int32_t delta = Round(tt * f);
      if (E <= 0 || delta > 0) t.hauteurs->ajouter(i, j, delta);
    }
}
