#include "render/ombrage.h"

#include <algorithm>
#include <cmath>

#include "model/aleatoire.h"
#include "render/palette.h"

namespace render {

namespace {

constexpr double pi = 3.14159265358979323846;

inline std::uint8_t octet(std::int32_t v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); }

// Strata class of altitude h, or `defaut` outside the table.
inline std::int32_t classe_strate(const ReglagesOmbrage& r, std::int32_t h, std::int32_t defaut) {
  const std::int32_t b = Round(h / 25.0);
  if (b < 1 || b > 160 || r.table_strates == nullptr) return defaut;
  return r.table_strates[b];
}

// Bodies of angle_lumiere and indice_lumiere, which every land facet calls.
inline double angle(double cos_s) {
  if (cos_s == 0.0) cos_s = 0.0001;
  double a = std::atan(std::sqrt(1.0 - cos_s * cos_s) / cos_s);
  if (a < 0.0) a += pi;
  return a;
}

inline std::int32_t indice(double angle) { return std::clamp(Round(angle / pas_lumiere), 1, 48); }

// Cosines of the light angles (m + 1/2) pi / 48, m = 0..47, where
// Round(angle / (pi / 48)) steps, falling with m, and of 36 pi / 48. A
// cosine this close to one of them is left to the arc tangent: the rounding
// errors of angle() are many orders of magnitude smaller.
// Cosines are placed first by 4096 slices of -1..1: the boundaries lie more
// than two slices apart, so one step from a slice's count finds the place.
struct SeuilsLumiere {
  static constexpr int kTranches = 4096;
  std::array<double, 48> bornes{};
  double borne_36 = 0.0;
  std::array<std::uint8_t, kTranches + 1> au_dessus{};  // boundaries above each slice's middle
  // Out of line, so that the function holding the table does not save every
  // register for the construction at each call.
  [[gnu::noinline]] SeuilsLumiere() {
    for (int m = 0; m < 48; ++m) bornes[std::size_t(m)] = std::cos((m + 0.5) * pas_lumiere);
    borne_36 = std::cos(36 * pas_lumiere);
    for (int q = 0; q <= kTranches; ++q) {
      const double milieu = -1.0 + (q + 0.5) * 2.0 / kTranches;
      int k = 0;
      while (k < 48 && bornes[std::size_t(k)] > milieu) ++k;
      au_dessus[std::size_t(q)] = std::uint8_t(k);
    }
  }
};
constexpr double kMarge = 1e-9;

const SeuilsLumiere& seuils_lumiere() {
  static const SeuilsLumiere seuils;
  return seuils;
}

// Body of lumiere_par_seuils, which every lit land facet calls.
inline bool par_seuils(double cos_s, std::int32_t& arrondi, bool& au_dela_36) {
  const SeuilsLumiere& seuils = seuils_lumiere();
  if (!(cos_s > -1.0 + 1e-6 && cos_s < 1.0 - 1e-6) || std::fabs(cos_s) < kMarge) return false;
  // Boundaries above cos_s: the angle lies beyond each of them. The checks
  // below prove the count: b[k - 1] above cos_s and b[k] below it.
  const auto& b = seuils.bornes;
  std::int32_t k = seuils.au_dessus[std::size_t((cos_s + 1.0) * (SeuilsLumiere::kTranches / 2))];
  if (k < 48 && b[std::size_t(k)] > cos_s)
    ++k;
  else if (k > 0 && b[std::size_t(k - 1)] <= cos_s)
    --k;
  if (k > 0 && b[std::size_t(k - 1)] - cos_s < kMarge) return false;
  if (k < 48 && cos_s - b[std::size_t(k)] < kMarge) return false;
  if (std::fabs(cos_s - seuils.borne_36) < kMarge) return false;
  arrondi = k;
  au_dela_36 = cos_s < seuils.borne_36;
  return true;
}

}  // namespace

bool lumiere_par_seuils(double cos_s, std::int32_t& arrondi, bool& au_dela_36) {
  return par_seuils(cos_s, arrondi, au_dela_36);
}

double ResultatOmbrage::angle() const { return eclaire ? render::angle(cos_soleil) : 1.5707963267948966; }

std::int32_t decalage_classe(std::int32_t classe) {
  switch (classe) {
    case 1: return 48;
    case 2: return 336;
    case 4: return 384;
    case 5: return 96;
    default: return 0;
  }
}

std::int32_t decalage_classe_bande(std::int32_t classe) {
  switch (classe) {
    case 1: return 24;
    case 2: return 168;
    case 4: return 192;
    case 5: return 48;
    default: return 0;
  }
}

double angle_lumiere(double cos_s) { return angle(cos_s); }

std::int32_t indice_lumiere(double angle) { return indice(angle); }

namespace {

// Body of classe_sol, which every lit land facet calls.
inline std::int32_t classe_terrain(const ReglagesOmbrage& r, std::int32_t h, double p, std::uint16_t sol) {
  const std::int32_t G = r.herbe, R = r.rocher, Z = r.recouvrement, q = r.quart;
  std::int32_t lo = G, hi = R, gl = G + q, rl = R - q;

  // Overlap of the bands.
  if (G < h && h < R && Z != 0) {
    const double s = std::sqrt(1.0 - p * p);
    if (h - G < Z && s < 0.85 * (G + Z - h) / Z) lo = G + Z;
    if (R - h < Z && p < 0.85 * (h - (R - Z)) / Z) hi = R - Z;
    if (lo < h && h < hi) {
      if (gl < h && h - gl < Z && s < 0.85 * (G + Z + q - h) / Z) gl = G + Z + q;
      if (h < rl && rl - h < Z && p < 0.85 * (h - (R - Z - q)) / Z) rl = R - Z - q;
    }
  }

  std::int32_t classe = 3;
  if (h < lo && G != -1000)
    classe = 1;
  else if (hi < h || R == 0)
    classe = 5;
  else if (h < gl)
    classe = 2;
  else if (rl < h)
    classe = 4;

  // Slope raises the class, one step per threshold.
  if (p < 0.5) {
    if (classe == 3) classe = 4;
    else if (classe == 2) classe = 3;
    else if (classe == 1) classe = 2;
  }
  if (p < 0.3) {
    if (classe == 3) classe = 5;
    else if (classe == 2) classe = 4;
    else if (classe == 1) classe = 3;
  }
  if (p < 0.15) classe = 5;

  // Low terrain: grass only on nearly level ground.
  if (r.point_haut < 1000 && classe == 1) {
    if (p < 0.5) classe = 5;
    else if (p < 0.65) classe = 4;
    else if (p < 0.75) classe = 3;
    else if (p < 0.9) classe = 2;
  }

  // Painted ground.
  if (r.elements && sol > 30 && sol < 40) {
    const std::uint16_t genre = static_cast<std::uint16_t>(sol - 30);
    switch (genre) {
      case 1: classe = 1; break;
      case 2: classe = 3; break;
      case 3: classe = 5; break;
      case 4: classe = 6; break;
      case 5: classe = 8; break;
      default: break;
    }
    if (genre == 4 && p < 0.25) classe = 5;
    if (p < 0.15) classe = 5;
  }

  // Colour diversity: each draw only when its class test holds.
  if (r.diversite > 0) {
    if (classe > 1 && r.diversite > Round(Random() * 40)) --classe;
    if (classe < 5 && r.diversite > Round(Random() * 40)) ++classe;
  }
  return classe;
}

}  // namespace

std::int32_t classe_sol(const ReglagesOmbrage& r, std::int32_t h, double p, std::uint16_t sol) {
  return classe_terrain(r, h, p, sol);
}

namespace {

// index_eau with its one random draw (a glint on a rough main facet) taken
// from `tirer`.
template <class Tirer>
inline std::int32_t index_eau_avec(const ReglagesOmbrage& r, double p, bool sous_facette, bool ombre, Tirer&& tirer) {
  const double t = 1.0 - 0.01 * r.agitation;
  std::int32_t k;
  if (!sous_facette) {
    if (p > t) k = 1;
    else if (p < 0.5) k = 12;
    else k = Round((t - p) * 24) + 1;
  } else {
    if (p > t) k = 1;
    else if (p < 0.25) k = 12;
    else k = Round((t - p) * 12);
  }
  if (r.degre > 7 && r.agitation < 3 && p < 0.995) ++k;
  if (k > 9 && !sous_facette && tirer() > 0.8) ++k;
  k = std::clamp(k, 1, 12);
  if (r.reflet && r.taux_reflet > 5) k = std::min(k, 10);
  std::int32_t index = TMyPalette::kEau + k - 1;
  if (r.ombre_portee && ombre) {
    if (index > TMyPalette::kEauSombre) --index;
    if (index > 8 && r.agitation < 7) --index;
    if (index > 9 && r.agitation < 5) index -= 2;
  }
  return index;
}

}  // namespace

std::int32_t index_eau(const ReglagesOmbrage& r, double p, bool sous_facette, bool ombre) {
  return index_eau_avec(r, p, sous_facette, ombre, [] { return Random(); });
}

// Bodies of the public functions below, inlined into the one-call shading.
namespace {

inline GeometrieFacette geometrie(const ReglagesOmbrage& r, const EntreeFacette& f) {
  GeometrieFacette g;

  // Visibility.
  const Vec3 c{(f.a.x + f.b.x + f.c.x) / 3.0, (f.a.y + f.b.y + f.c.y) / 3.0, (f.a.z + f.b.z + f.c.z) / 3.0};
  const double ux = f.b.x - f.a.x, uy = f.b.y - f.a.y, uz = f.b.z - f.a.z;
  const double vx = f.c.x - f.a.x, vy = f.c.y - f.a.y, vz = f.c.z - f.a.z;
  const double nx = (uy * vz - uz * vy) * f.signe;
  const double ny = (uz * vx - ux * vz) * f.signe;
  const double nz = (ux * vy - uy * vx) * f.signe;
  const double nn = std::sqrt(nx * nx + ny * ny + nz * nz);
  const double wx = c.x - r.oeil.x, wy = c.y - r.oeil.y, wz = c.z - r.oeil.z;
  const double ww = std::sqrt(wx * wx + wy * wy + wz * wz);
  if (nn == 0.0 || ww == 0.0) {
    g.degenere = true;
    return g;
  }
  g.cos_vue = (nx * wx + ny * wy + nz * wz) / (nn * ww);
  g.visible = g.cos_vue < 0.005;

  // Slope against the point 100000 straight above the origin.
  const double tz = c.z - 100000.0;
  const double tt = std::sqrt(c.x * c.x + c.y * c.y + tz * tz);
  g.pente = std::fabs(nx * c.x + ny * c.y + nz * tz) / (nn * tt);
  if (!g.visible) return g;

  // Light (read by land facets only).
  const double nl_x = c.x - r.soleil.x, nl_y = c.y - r.soleil.y, nl_z = c.z - r.soleil.z;
  const double ll = std::sqrt(nl_x * nl_x + nl_y * nl_y + nl_z * nl_z);
  g.cos_soleil = ll == 0.0 ? 0.0 : (nx * nl_x + ny * nl_y + nz * nl_z) / (nn * ll);
  return g;
}

// The shading's result alone; `compter` tells whether the facet counts in the
// slope statistics.
// `tirer` gives the random draws of water glints.
template <class Tirer>
inline void pur(const ReglagesOmbrage& r, const EntreeFacette& f, const GeometrieFacette& g, bool& compter,
                Tirer&& tirer, ResultatOmbrage& res) {
  res = ResultatOmbrage{};
  compter = false;
  if (g.degenere) {
    res.degenere = true;
    return;
  }
  res.cos_vue = g.cos_vue;
  res.visible = g.visible;
  const double p = g.pente;
  res.pente = p;

  if (!res.visible) return;

  const std::int32_t h = f.altitude;

  // Water, level curves and picture colours without transparency.
  if (f.eau || r.courbes || (f.couleur_image && f.transparence == 0)) {
    if (r.degre < 6 || r.editeur) {
      if (r.courbes) {
        res.indexe = true;
        if (h > r.niveau_mer && r.courbe_haut > r.courbe_bas) {
          res.gris = true;
          res.index = std::clamp(Round(static_cast<double>(std::int64_t(h) - r.courbe_bas) * 255.0 /
                                       static_cast<double>(std::int64_t(r.courbe_haut) - r.courbe_bas)) + 1,
                                 0, 255);
        } else {
          res.index = 7;
        }
      }
    } else {
      res.indexe = true;
      res.index = index_eau_avec(r, p, f.sous_facette, f.ombre, tirer);
    }
    return;
  }

  // Land.
  res.eclaire = true;
  res.cos_soleil = g.cos_soleil;
  std::int32_t a0 = 0;
  bool au_dela_36 = false;
  if (!par_seuils(g.cos_soleil, a0, au_dela_36)) {
    const double angle = render::angle(g.cos_soleil);
    a0 = Round(angle / pas_lumiere);
    au_dela_36 = angle / pas_lumiere > 36;
  }
  std::int32_t a = std::clamp(a0, 1, 48);

  compter = r.statistiques && !f.sous_facette;

  std::int32_t classe = classe_terrain(r, h, p, f.sol);

  std::int32_t decalage_bande = 0;
  const bool bande = r.ombre_portee && f.ombre && a > 24;
  if (bande) {
    decalage_bande = 432;
    a = a - 24 + decalage_classe_bande(classe);
  }
  if (r.strates && p < 0.5 && r.niveau_mer + r.vague_max < h && h < 4000) classe = classe_strate(r, h, classe);
  if (!bande) a += decalage_classe(classe);

  if ((h < r.niveau_sable && p > 0.8) || classe == 8) a = bande ? a0 - 24 + 144 : std::min(48, a0 + 4) + 288;

  std::int32_t S = r.neige;
  if (classe != 6 && au_dela_36 && !r.neige_soleil) S = r.neige + r.delta_neige_s;
  const std::int32_t D = r.delta_neige;
  bool neige = (S < h && p > 0.5) || classe == 6 || (S + 2 * D < h && p > 0.45) || (S + 3 * D < h && p > 0.4) ||
               (S + 4 * D < h && p > 0.35);
  // The transition band is empty when delta is 0, so no division by zero.
  if (classe != 6 && S - D < h && h < S + D && p < ((S + D - h) * 0.5) / D + 0.5) neige = false;
  if (neige) a = bande ? a0 - 24 + 120 : std::min(48, a0 + 4) + 240;
  res.classe = neige ? 6 : (((h < r.niveau_sable && p > 0.8) || classe == 8) ? 8 : classe);

  res.indexe = true;
  res.index = decalage_bande + a + 18;
}

inline void ombrer(const ReglagesOmbrage& r, EtatOmbrage& e, const EntreeFacette& f, const GeometrieFacette& g,
                   ResultatOmbrage& res) {
  bool compter = false;
  pur(r, f, g, compter, [] { return Random(); }, res);
  noter_ombrage(r, e, f, res, compter);
}

}  // namespace

GeometrieFacette geometrie_facette(const ReglagesOmbrage& r, const EntreeFacette& f) { return geometrie(r, f); }

ResultatOmbrage ombrage_facette(const ReglagesOmbrage& r, EtatOmbrage& e, const EntreeFacette& f) {
  ResultatOmbrage res;
  ombrer(r, e, f, geometrie(r, f), res);
  return res;
}

ResultatOmbrage ombrage_facette(const ReglagesOmbrage& r, EtatOmbrage& e, const EntreeFacette& f,
                                const GeometrieFacette& g) {
  ResultatOmbrage res;
  ombrer(r, e, f, g, res);
  return res;
}

void ombrer_facette(const ReglagesOmbrage& r, EtatOmbrage& e, const EntreeFacette& f, ResultatOmbrage& res) {
  ombrer(r, e, f, geometrie(r, f), res);
}

void ombrer_facette(const ReglagesOmbrage& r, EtatOmbrage& e, const EntreeFacette& f, const GeometrieFacette& g,
                    ResultatOmbrage& res) {
  ombrer(r, e, f, g, res);
}

bool ombrage_seul(const ReglagesOmbrage& r, const EntreeFacette& f, const GeometrieFacette& g, bool& compter,
                  ResultatOmbrage& res) {
  bool tirage = false;
  pur(r, f, g, compter,
      [&tirage] {
        tirage = true;
        return 0.0;
      },
      res);
  return !tirage;
}


std::int32_t niveau_brume(double profondeur, std::int32_t pas, std::int32_t h, std::int32_t hauteur_brume) {
  if (pas <= 0) return 1;
  // Clamping before rounding gives the same level and keeps far facets in range.
  std::int32_t L = Round(std::clamp((profondeur - 500.0) / pas, 1.0, 32.0));
  if (h > hauteur_brume) L = std::max(1, L - Round(std::min((h - static_cast<double>(hauteur_brume)) / 100.0, 1e6)));
  return L;
}

Rgb brume(std::int32_t densite, double profondeur, std::int32_t pas, Rgb couleur, Rgb ciel) {
  std::int32_t k = 1;
  if (pas > 0) k = Round(std::clamp((profondeur - 500.0) / pas, -1e6, 1e6));
  const double d = densite;
  double v = (1600.0 - k * d) / 1600.0;
  if (densite > 50 && 1600.0 - k * d > 0) v = (1.0 - ((k + 8) / 32.0 * 2.0) * (d - 50.0) / 100.0) * v;
  double u = 1.0 - v;
  if (v < 0.04) v = 0.04;
  if (u > 0.96) u = 0.96;
  auto comp = [&](std::uint8_t c, std::uint8_t s) {
    return octet(Round(std::clamp(c * v + s * u, -1e9, 1e9)));
  };
  return Rgb{comp(couleur.r, ciel.r), comp(couleur.g, ciel.g), comp(couleur.b, ciel.b)};
}

Rgb melange_couleur(std::int32_t pourcent, Rgb couleur2, Rgb couleur1) {
  const double p = pourcent;
  auto comp = [&](std::uint8_t c1, std::uint8_t c2) {
    return octet(Round(std::clamp(c1 * (100.0 - p) / 100.0 + c2 * p / 100.0, -1e9, 1e9)));
  };
  return Rgb{comp(couleur1.r, couleur2.r), comp(couleur1.g, couleur2.g), comp(couleur1.b, couleur2.b)};
}

}  // namespace render
