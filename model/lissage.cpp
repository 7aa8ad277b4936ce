// The smoothing tool: repeated one-dimensional relaxation along rows, then
// columns, inside a square around the start node and an altitude band, with a
// neighbour distance that shrinks from pass to pass.
//
// Every half-pass reads only the values the previous one left, so it is
// computed from one work grid into another (heights and the two distortion
// maps), lattice row after lattice row in memory order, the rows spread over
// the cores; the grids go back to the lattice at the end. The divisor of each
// node depends only on its place and is computed once. The grids hold only the
// positions of the lattice's triangle, and are filled, relaxed and written
// back row by row on several cores.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define QUORVEL_LISSAGE_AVX2 1
#endif

#include "model/aleatoire.h"
#include "model/matrice.h"
#include "model/outils.h"
#include "model/parallele.h"

namespace {


// The same arithmetic as distance_noeuds, where the compiler can see it.
inline double distance_plan(std::int32_t i1, std::int32_t j1, std::int32_t i2, std::int32_t j2) {
  const position_plan a = plan(i1, j1), b = plan(i2, j2);
  const double dx = a.x - b.x, dy = a.y - b.y;
  return std::sqrt(dx * dx + dy * dy);
}

// Memory of the work grids, kept from one smoothing to the next on the same
// thread: a smoothing of a large terrain would otherwise have the system map,
// clear and unmap tens of megabytes at every call (page faults, and every
// core's address translations flushed when the blocks go back). A few blocks
// are kept, the smallest given up first.
class Reserve {
 public:
  struct Bloc {
    std::unique_ptr<std::byte[]> octets;
    std::size_t capacite = 0;
  };

  static Reserve& du_fil() {
    thread_local Reserve reserve;
    return reserve;
  }

  // A block of at least `taille` bytes: the smallest kept one that is large
  // enough, else a new one.
  Bloc prendre(std::size_t taille) {
    auto meilleur = libres_.end();
    for (auto b = libres_.begin(); b != libres_.end(); ++b)
      if (b->capacite >= taille && (meilleur == libres_.end() || b->capacite < meilleur->capacite)) meilleur = b;
    if (meilleur == libres_.end()) return {std::unique_ptr<std::byte[]>(new std::byte[std::max<std::size_t>(taille, 1)]), taille};
    Bloc b = std::move(*meilleur);
    libres_.erase(meilleur);
    return b;
  }

  void rendre(Bloc b) {
    if (!b.octets) return;
    libres_.push_back(std::move(b));
    if (libres_.size() <= kGardes) return;
    auto plus_petit = std::min_element(libres_.begin(), libres_.end(),
                                       [](const Bloc& x, const Bloc& y) { return x.capacite < y.capacite; });
    libres_.erase(plus_petit);
  }

 private:
  static constexpr std::size_t kGardes = 8;  // the grids of one smoothing
  std::vector<Bloc> libres_;
};

// Values over the positions of a rectangle that lie in the lattice's triangle:
// row j from i0 to the rectangle's side or the last position n + 1 - j of the
// lattice row, whichever comes first; rows one after the other. The values
// start undefined: whoever dimensions a grid writes every position. The
// memory comes from the thread's reserve and goes back to it.
template <class T>
struct Grille {
  std::int32_t i0 = 0, j0 = 0;
  std::vector<std::size_t> debuts;  // offset of each row, then the total
  Reserve::Bloc bloc;
  T* v = nullptr;

  Grille() = default;
  Grille(Grille&& g) noexcept : i0(g.i0), j0(g.j0), debuts(std::move(g.debuts)), bloc(std::move(g.bloc)), v(g.v) {
    g.v = nullptr;
  }
  Grille& operator=(Grille&& g) noexcept {
    if (this != &g) {
      Reserve::du_fil().rendre(std::move(bloc));
      i0 = g.i0;
      j0 = g.j0;
      debuts = std::move(g.debuts);
      bloc = std::move(g.bloc);
      v = g.v;
      g.bloc = {};
      g.v = nullptr;
    }
    return *this;
  }
  ~Grille() { Reserve::du_fil().rendre(std::move(bloc)); }

  void dimensionner(std::int32_t imin, std::int32_t imax, std::int32_t jmin, std::int32_t jmax, std::int32_t n) {
    i0 = imin;
    j0 = jmin;
    debuts.assign(static_cast<std::size_t>(jmax - jmin + 2), 0);
    for (std::int32_t j = jmin; j <= jmax; ++j) {
      const std::int32_t longueur = std::max(0, std::min(imax, n + 1 - j) - imin + 1);
      debuts[static_cast<std::size_t>(j - jmin) + 1] = debuts[static_cast<std::size_t>(j - jmin)] + static_cast<std::size_t>(longueur);
    }
    allouer();
  }
  // The same layout as g.
  void dimensionner_comme(const Grille& g) {
    i0 = g.i0;
    j0 = g.j0;
    debuts = g.debuts;
    allouer();
  }
  // Element i of row j is ligne(j)[i - i0], for i0 <= i <= fin(j).
  T* ligne(std::int32_t j) { return v + debuts[static_cast<std::size_t>(j - j0)]; }
  std::int32_t fin(std::int32_t j) const {
    const auto k = static_cast<std::size_t>(j - j0);
    return i0 + static_cast<std::int32_t>(debuts[k + 1] - debuts[k]) - 1;
  }

 private:
  void allouer() {
    Reserve& r = Reserve::du_fil();
    r.rendre(std::move(bloc));
    bloc = r.prendre(debuts.back() * sizeof(T));
    v = reinterpret_cast<T*>(bloc.octets.get());
  }
};

// The values of the work grids: heights (-4000 outside the lattice, else
// -2000..4000) and distortion bytes fit in 16 bits, which halves the memory
// a half-pass streams through.
using Valeur = std::int16_t;

// The two neighbour distances of a node along one direction of a half-pass:
// a before, b after, for the position p along that direction and s = i + j.
struct Voisins {
  std::int32_t a, b;
};
inline Voisins voisins(std::int32_t p, std::int32_t s, std::int32_t d, std::int32_t lo, std::int32_t n,
                       std::int32_t hi) {
  std::int32_t a = d, b = d;
  if (p - d < lo) a = p - lo;
  if (p + d > n) b = n - p;
  if (s + b > hi) b = 0;
  return {a, b};
}

inline std::int32_t formule(std::int32_t v, std::int32_t gauche, std::int32_t droite, double diviseur) {
  const std::int32_t milieu = Round((droite - gauche) * 0.5) + gauche;
  return milieu + Round((v - milieu) / diviseur);
}

constexpr double kSansEffet = std::numeric_limits<double>::quiet_NaN();

// The altitude band of the relaxed nodes (bas < h < haut, h the node's
// height) and the range a relaxed value is held in.
struct Bande {
  std::int32_t bas, haut, mini, maxi;
};

// One node of value v with neighbours g and dr, height hn and divisor q.
inline std::int32_t relaxer_noeud(std::int32_t v, std::int32_t g, std::int32_t dr, std::int32_t hn, double q,
                                  const Bande& b) {
  if (!(b.bas < hn && hn < b.haut) || std::isnan(q)) return v;
  return std::clamp(formule(v, g, dr, q), b.mini, b.maxi);
}

#if defined(QUORVEL_LISSAGE_AVX2)
// The first nodes of relaxer_suite four at a time, on processors with AVX2:
// the same IEEE operations lane by lane (no fused multiply-add); a group where
// a rounded value would leave the int32 range goes through the checked scalar
// path. Answers how many nodes it relaxed (a multiple of 4).
__attribute__((target("avx2"))) std::int32_t relaxer_par_quatre(const Valeur* v, const Valeur* g, const Valeur* dr,
                                                                 const Valeur* hn, const double* q, Valeur* out,
                                                                 std::int32_t nombre, const Bande& b) {
  const __m256d M = _mm256_set1_pd(6755399441055744.0), demi = _mm256_set1_pd(0.5);
  const __m256d plancher = _mm256_set1_pd(-2147483648.0), plafond = _mm256_set1_pd(2147483647.0);
  const __m128i vbas = _mm_set1_epi32(b.bas), vhaut = _mm_set1_epi32(b.haut);
  const __m128i vmin = _mm_set1_epi32(b.mini), vmax = _mm_set1_epi32(b.maxi);
  const __m256i impairs_en_haut = _mm256_setr_epi32(0, 2, 4, 6, 1, 3, 5, 7);
  // (Lambdas would not take the function's target.)
#define QUORVEL_CHARGER(p) _mm_cvtepi16_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)))
#define QUORVEL_RANGER(p, x) _mm_storel_epi64(reinterpret_cast<__m128i*>(p), _mm_packs_epi32(x, x))
#define QUORVEL_DANS_INT32(x) \
  _mm256_and_pd(_mm256_cmp_pd(x, plancher, _CMP_GE_OQ), _mm256_cmp_pd(x, plafond, _CMP_LE_OQ))
  std::int32_t k = 0;
  for (; k + 4 <= nombre; k += 4) {
    const __m128i xv = QUORVEL_CHARGER(v + k), xg = QUORVEL_CHARGER(g + k), xd = QUORVEL_CHARGER(dr + k),
                  xh = QUORVEL_CHARGER(hn + k);
    const __m256d xq = _mm256_loadu_pd(q + k);
    const __m128i bande = _mm_and_si128(_mm_cmpgt_epi32(xh, vbas), _mm_cmplt_epi32(xh, vhaut));
    const __m256i ordonne = _mm256_castpd_si256(_mm256_cmp_pd(xq, xq, _CMP_ORD_Q));
    const __m128i nombre_q = _mm256_castsi256_si128(_mm256_permutevar8x32_epi32(ordonne, impairs_en_haut));
    const __m128i actif = _mm_and_si128(bande, nombre_q);
    const int masque = _mm_movemask_ps(_mm_castsi128_ps(actif));
    if (masque == 0) {
      QUORVEL_RANGER(out + k, xv);
      continue;
    }
    const __m256d a1 = _mm256_mul_pd(_mm256_cvtepi32_pd(_mm_sub_epi32(xd, xg)), demi);
    const __m128i milieu = _mm_add_epi32(_mm256_cvttpd_epi32(_mm256_sub_pd(_mm256_add_pd(a1, M), M)), xg);
    const __m256d a2 = _mm256_div_pd(_mm256_cvtepi32_pd(_mm_sub_epi32(xv, milieu)), xq);
    const int dans = _mm256_movemask_pd(_mm256_and_pd(QUORVEL_DANS_INT32(a1), QUORVEL_DANS_INT32(a2)));
    if ((dans & masque) != masque) {
      for (std::int32_t l = k; l < k + 4; ++l) out[l] = static_cast<Valeur>(relaxer_noeud(v[l], g[l], dr[l], hn[l], q[l], b));
      continue;
    }
    __m128i r = _mm_add_epi32(_mm256_cvttpd_epi32(_mm256_sub_pd(_mm256_add_pd(a2, M), M)), milieu);
    r = _mm_max_epi32(_mm_min_epi32(r, vmax), vmin);
    QUORVEL_RANGER(out + k, _mm_blendv_epi8(xv, r, actif));
  }
#undef QUORVEL_RANGER
#undef QUORVEL_CHARGER
#undef QUORVEL_DANS_INT32
  return k;
}

// One layer of relaxer_trois: values, neighbours, result, and the range the
// result is held in.
struct Couche {
  const Valeur *v, *g, *dr;
  Valeur* out;
  std::int32_t mini, maxi;
};

// relaxer_par_quatre over the heights and the two distortion maps of the same
// nodes at once: the band test and the divisors are read once for the three.
// Answers how many nodes it relaxed (a multiple of 4).
__attribute__((target("avx2"))) std::int32_t relaxer_trois(const Couche (&c)[3], const Valeur* hn, const double* q,
                                                            std::int32_t nombre, std::int32_t bas, std::int32_t haut) {
  const __m256d M = _mm256_set1_pd(6755399441055744.0), demi = _mm256_set1_pd(0.5);
  const __m256d plancher = _mm256_set1_pd(-2147483648.0), plafond = _mm256_set1_pd(2147483647.0);
  const __m128i vbas = _mm_set1_epi32(bas), vhaut = _mm_set1_epi32(haut);
  const __m256i impairs_en_haut = _mm256_setr_epi32(0, 2, 4, 6, 1, 3, 5, 7);
  __m128i vmin[3], vmax[3];
  for (int l = 0; l < 3; ++l) {
    vmin[l] = _mm_set1_epi32(c[l].mini);
    vmax[l] = _mm_set1_epi32(c[l].maxi);
  }
#define QUORVEL_CHARGER(p) _mm_cvtepi16_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)))
#define QUORVEL_RANGER(p, x) _mm_storel_epi64(reinterpret_cast<__m128i*>(p), _mm_packs_epi32(x, x))
#define QUORVEL_DANS_INT32(x) \
  _mm256_and_pd(_mm256_cmp_pd(x, plancher, _CMP_GE_OQ), _mm256_cmp_pd(x, plafond, _CMP_LE_OQ))
  std::int32_t k = 0;
  for (; k + 4 <= nombre; k += 4) {
    const __m128i xh = QUORVEL_CHARGER(hn + k);
    const __m256d xq = _mm256_loadu_pd(q + k);
    const __m128i bande = _mm_and_si128(_mm_cmpgt_epi32(xh, vbas), _mm_cmplt_epi32(xh, vhaut));
    const __m256i ordonne = _mm256_castpd_si256(_mm256_cmp_pd(xq, xq, _CMP_ORD_Q));
    const __m128i nombre_q = _mm256_castsi256_si128(_mm256_permutevar8x32_epi32(ordonne, impairs_en_haut));
    const __m128i actif = _mm_and_si128(bande, nombre_q);
    const int masque = _mm_movemask_ps(_mm_castsi128_ps(actif));
    if (masque == 0) {
      for (int l = 0; l < 3; ++l) std::memcpy(c[l].out + k, c[l].v + k, 4 * sizeof(Valeur));
      continue;
    }
    for (int l = 0; l < 3; ++l) {
      const Couche& u = c[l];
      const __m128i xv = QUORVEL_CHARGER(u.v + k), xg = QUORVEL_CHARGER(u.g + k), xd = QUORVEL_CHARGER(u.dr + k);
      const __m256d a1 = _mm256_mul_pd(_mm256_cvtepi32_pd(_mm_sub_epi32(xd, xg)), demi);
      const __m128i milieu = _mm_add_epi32(_mm256_cvttpd_epi32(_mm256_sub_pd(_mm256_add_pd(a1, M), M)), xg);
      const __m256d a2 = _mm256_div_pd(_mm256_cvtepi32_pd(_mm_sub_epi32(xv, milieu)), xq);
      const int dans = _mm256_movemask_pd(_mm256_and_pd(QUORVEL_DANS_INT32(a1), QUORVEL_DANS_INT32(a2)));
      if ((dans & masque) != masque) {
        const Bande b{bas, haut, u.mini, u.maxi};
        for (std::int32_t m = k; m < k + 4; ++m)
          u.out[m] = static_cast<Valeur>(relaxer_noeud(u.v[m], u.g[m], u.dr[m], hn[m], q[m], b));
        continue;
      }
      __m128i r = _mm_add_epi32(_mm256_cvttpd_epi32(_mm256_sub_pd(_mm256_add_pd(a2, M), M)), milieu);
      r = _mm_max_epi32(_mm_min_epi32(r, vmax[l]), vmin[l]);
      QUORVEL_RANGER(u.out + k, _mm_blendv_epi8(xv, r, actif));
    }
  }
#undef QUORVEL_RANGER
#undef QUORVEL_CHARGER
#undef QUORVEL_DANS_INT32
  return k;
}

const bool kAvx2 = __builtin_cpu_supports("avx2");
#endif

// relaxer_noeud over `nombre` consecutive nodes: out[k] from v[k], g[k],
// dr[k], hn[k], q[k]. Two nodes at a time where the processor allows: the
// same IEEE operations as Round, lane by lane; a pair where a rounded value
// would leave the int32 range goes through the checked scalar path.
void relaxer_suite(const Valeur* v, const Valeur* g, const Valeur* dr, const Valeur* hn, const double* q, Valeur* out,
                   std::int32_t nombre, const Bande& b) {
  std::int32_t k = 0;
#if defined(QUORVEL_LISSAGE_AVX2)
  if (kAvx2) k = relaxer_par_quatre(v, g, dr, hn, q, out, nombre, b);
#endif
#if defined(__SSE2__)
  const __m128d M = _mm_set1_pd(6755399441055744.0), demi = _mm_set1_pd(0.5);
  const __m128d plancher = _mm_set1_pd(-2147483648.0), plafond = _mm_set1_pd(2147483647.0);
  const __m128i vbas = _mm_set1_epi32(b.bas), vhaut = _mm_set1_epi32(b.haut);
  const __m128i vmin = _mm_set1_epi32(b.mini), vmax = _mm_set1_epi32(b.maxi);
  // Two 16-bit values widened to two 32-bit lanes, and back.
  auto charger = [](const Valeur* p) {
    std::int32_t deux;
    std::memcpy(&deux, p, sizeof deux);
    const __m128i x = _mm_cvtsi32_si128(deux);
    return _mm_srai_epi32(_mm_unpacklo_epi16(x, x), 16);
  };
  auto ranger = [](Valeur* p, __m128i x) {
    const std::int32_t deux = _mm_cvtsi128_si32(_mm_packs_epi32(x, x));
    std::memcpy(p, &deux, sizeof deux);
  };
  auto choisir = [](__m128i m, __m128i a, __m128i c) { return _mm_or_si128(_mm_and_si128(m, a), _mm_andnot_si128(m, c)); };
  auto dans_int32 = [&](__m128d x) { return _mm_and_pd(_mm_cmpge_pd(x, plancher), _mm_cmple_pd(x, plafond)); };
  for (; k + 2 <= nombre; k += 2) {
    const __m128i xv = charger(v + k), xg = charger(g + k), xd = charger(dr + k), xh = charger(hn + k);
    const __m128d xq = _mm_loadu_pd(q + k);
    const __m128i bande = _mm_and_si128(_mm_cmpgt_epi32(xh, vbas), _mm_cmplt_epi32(xh, vhaut));
    const __m128i nombre_q = _mm_shuffle_epi32(_mm_castpd_si128(_mm_cmpeq_pd(xq, xq)), _MM_SHUFFLE(3, 3, 2, 0));
    const __m128i actif = _mm_and_si128(bande, nombre_q);
    const int masque = _mm_movemask_ps(_mm_castsi128_ps(actif)) & 3;
    if (masque == 0) {
      ranger(out + k, xv);
      continue;
    }
    const __m128d a1 = _mm_mul_pd(_mm_cvtepi32_pd(_mm_sub_epi32(xd, xg)), demi);
    const __m128i milieu = _mm_add_epi32(_mm_cvttpd_epi32(_mm_sub_pd(_mm_add_pd(a1, M), M)), xg);
    const __m128d a2 = _mm_div_pd(_mm_cvtepi32_pd(_mm_sub_epi32(xv, milieu)), xq);
    const int dans = _mm_movemask_pd(_mm_and_pd(dans_int32(a1), dans_int32(a2)));
    if ((dans & masque) != masque) {
      for (std::int32_t l = k; l < k + 2; ++l) out[l] = static_cast<Valeur>(relaxer_noeud(v[l], g[l], dr[l], hn[l], q[l], b));
      continue;
    }
    __m128i r = _mm_add_epi32(_mm_cvttpd_epi32(_mm_sub_pd(_mm_add_pd(a2, M), M)), milieu);
    r = choisir(_mm_cmpgt_epi32(r, vmax), vmax, r);
    r = choisir(_mm_cmplt_epi32(r, vmin), vmin, r);
    ranger(out + k, choisir(actif, r, xv));
  }
#endif
  for (; k < nombre; ++k) out[k] = static_cast<Valeur>(relaxer_noeud(v[k], g[k], dr[k], hn[k], q[k], b));
}

struct lissage {
  Tmatrice& m;
  controle_outil& c;
  std::int32_t S, L, U, i0, j0;
  std::int32_t n, lo, hi;
  std::int32_t i_min, i_max, j_min, j_max;
  double D;
  std::int32_t P;
  std::int32_t seuil, compteur = 0;
  bool distorsion;
  bool parallele = false;  // large areas spread their rows over the cores
  static constexpr std::int32_t kRangeesParBloc = 32;
  // Work grids: what a half-pass reads and what it writes; the divisor of
  // each node of the area (NaN where the node keeps its values).
  Grille<Valeur> h, h2, ddx, ddx2, ddy, ddy2;
  Grille<double> diviseurs;

  void progres() {
    ++compteur;
    if (compteur > seuil) {
      if (c.attente) c.attente->avancer(std::nullopt, 5);
      compteur = 0;
    }
  }

  // Relaxes row j of the lattice (i from i_min to i_max) at neighbour
  // distance d: the heights, then the distortion maps, whose nodes follow the
  // band test of their height.
  void relaxer_rangee(std::int32_t j, std::int32_t d, bool le_long_de_j) {
    const std::int32_t decalage = i_min - h.i0;
    const Valeur* e = h.ligne(j) + decalage - i_min;
    const double* q = diviseurs.ligne(j) - i_min;
    const Travee t = travee(j, d, le_long_de_j);
    bool suite_faite = false;
#if defined(QUORVEL_LISSAGE_AVX2)
    if (distorsion && kAvx2 && t.fin >= t.debut) {
      // The three layers side by side over the span, then what is left of it layer by layer.
      const std::int32_t ecart = le_long_de_j ? 0 : d;
      auto couche = [&](Grille<Valeur>& source, Grille<Valeur>& cible, std::int32_t mini, std::int32_t maxi) {
        const Valeur* x = source.ligne(j) + decalage - i_min + t.debut;
        const Valeur* xa = source.ligne(t.ja) + decalage - i_min + t.debut - ecart;
        const Valeur* xb = source.ligne(t.jb) + decalage - i_min + t.debut + ecart;
        return Couche{x, xa, xb, cible.ligne(j) + decalage - i_min + t.debut, mini, maxi};
      };
      const Couche c[3] = {couche(h, h2, Tnoeud::hauteur_mini, Tnoeud::hauteur_maxi), couche(ddx, ddx2, 0, 255),
                           couche(ddy, ddy2, 0, 255)};
      const std::int32_t nombre = t.fin - t.debut + 1;
      const std::int32_t faits = relaxer_trois(c, e + t.debut, q + t.debut, nombre, L - 50, U + 51);
      for (const Couche& u : c)
        relaxer_suite(u.v + faits, u.g + faits, u.dr + faits, e + t.debut + faits, q + t.debut + faits, u.out + faits,
                      nombre - faits, Bande{L - 50, U + 51, u.mini, u.maxi});
      suite_faite = true;
    }
#endif
    relaxer_couche(h, h2, e, q, j, d, le_long_de_j, Tnoeud::hauteur_mini, Tnoeud::hauteur_maxi, t, suite_faite);
    if (!distorsion) return;
    // A strong negative strength can push a shift past the byte's range: it is held at the end.
    relaxer_couche(ddx, ddx2, e, q, j, d, le_long_de_j, 0, 255, t, suite_faite);
    relaxer_couche(ddy, ddy2, e, q, j, d, le_long_de_j, 0, 255, t, suite_faite);
  }

  // The nodes debut..fin of row j that relaxer_suite takes at neighbour
  // distance d: along j their neighbours are at the same i in rows ja and jb,
  // along i they are d away in the row. The other nodes of the row are
  // relaxed one by one.
  struct Travee {
    std::int32_t debut, fin, ja, jb;
  };
  Travee travee(std::int32_t j, std::int32_t d, bool le_long_de_j) const {
    const std::int32_t i_fin = std::min(i_max, n + 1 - j);
    if (le_long_de_j) {
      // The neighbours lie in the rows j - a and j + b; past the last node
      // whose sum stays within hi, b falls to 0 (the node itself).
      const Voisins vj = voisins(j, 0, d, lo, n, std::numeric_limits<std::int32_t>::max());
      return {i_min, std::min(i_fin, hi - j - vj.b), j - vj.a, j + vj.b};
    }
    // Along i the neighbours are d away, except near the ends of the row.
    return {std::max(i_min, lo + d), std::min({i_fin, n - d, hi - j - d}), j, j};
  }

  // One layer of row j; the span t is left out when suite_faite.
  void relaxer_couche(Grille<Valeur>& source, Grille<Valeur>& cible, const Valeur* e, const double* q,
                      std::int32_t j, std::int32_t d, bool le_long_de_j, std::int32_t mini, std::int32_t maxi,
                      const Travee& t, bool suite_faite) {
    const std::int32_t decalage = i_min - h.i0;
    const Valeur* x = source.ligne(j) + decalage - i_min;
    Valeur* s = cible.ligne(j) + decalage - i_min;
    const Bande b{L - 50, U + 51, mini, maxi};
    const std::int32_t i_fin = std::min(i_max, n + 1 - j);
    if (le_long_de_j) {
      const Valeur* xa = source.ligne(t.ja) + decalage - i_min;
      const Valeur* xb = source.ligne(t.jb) + decalage - i_min;
      if (t.fin >= t.debut && !suite_faite)
        relaxer_suite(x + t.debut, xa + t.debut, xb + t.debut, e + t.debut, q + t.debut, s + t.debut,
                      t.fin - t.debut + 1, b);
      for (std::int32_t i = std::max(i_min, t.fin + 1); i <= i_fin; ++i) s[i] = static_cast<Valeur>(relaxer_noeud(x[i], xa[i], x[i], e[i], q[i], b));
      return;
    }
    auto bord = [&](std::int32_t i) {
      const Voisins v = voisins(i, i + j, d, lo, n, hi);
      s[i] = static_cast<Valeur>(relaxer_noeud(x[i], x[i - v.a], x[i + v.b], e[i], q[i], b));
    };
    for (std::int32_t i = i_min; i <= std::min(i_fin, t.debut - 1); ++i) bord(i);
    if (t.fin >= t.debut && !suite_faite)
      relaxer_suite(x + t.debut, x + t.debut - d, x + t.debut + d, e + t.debut, q + t.debut, s + t.debut,
                    t.fin - t.debut + 1, b);
    for (std::int32_t i = std::max({i_min, t.debut, t.fin + 1}); i <= i_fin; ++i) bord(i);
  }

  // Row j keeps its values (a cancelled half-pass).
  void copier_rangee(std::int32_t j) {
    const std::int32_t fin = std::min(i_max, n + 1 - j);
    if (fin < i_min) return;
    const std::size_t debut = static_cast<std::size_t>(i_min - h.i0), nombre = static_cast<std::size_t>(fin - i_min + 1);
    std::copy_n(h.ligne(j) + debut, nombre, h2.ligne(j) + debut);
    if (!distorsion) return;
    std::copy_n(ddx.ligne(j) + debut, nombre, ddx2.ligne(j) + debut);
    std::copy_n(ddy.ligne(j) + debut, nombre, ddy2.ligne(j) + debut);
  }

  // One half-pass at neighbour distance d: along rows of the lattice (i
  // fixed, j runs) when le_long_de_j, else along columns. With a progress
  // window, the calling thread polls after each row it relaxed itself; after
  // a cancel the rows not started keep their values.
  // The last half-pass (ecrire) writes each of its rows to the layers as soon
  // as the row is done, while it is still in the cache; should it fail, the
  // writing back of the last whole half-pass covers those rows again.
  void demi_passe(std::int32_t d, bool le_long_de_j, bool ecrire) {
    const std::int32_t lignes = le_long_de_j ? i_max - i_min + 1 : j_max - j_min + 1;
    const std::int32_t rangees = j_max - j_min + 1;
    std::atomic<std::int32_t> faites{0};
    std::int32_t sondees = 0, annoncees = 0;
    // One poll per relaxed row, all made by the calling thread; the gauge
    // moves as many times as a line-by-line walk would move it.
    auto sonder = [&] {
      if (!c.attente) return true;
      for (const std::int32_t f = faites.load(); sondees < f && c.continuer; ++sondees) {
        if (cancel_requested(c.fenetre)) c.continuer = false;
        c.attente->tester_annulation();
      }
      if (!c.continuer) return false;
      for (const std::int32_t a = static_cast<std::int32_t>(std::int64_t(sondees) * lignes / rangees); annoncees < a;
           ++annoncees)
        progres();
      return true;
    };
    // On several cores a thread takes consecutive rows, so that the rows
    // d away that a half-pass along j reads are mostly ones it has just read.
    if (ecrire) preparer_ecriture();
    const std::int32_t par_bloc = parallele ? kRangeesParBloc : 1;
    const std::int32_t blocs = (rangees + par_bloc - 1) / par_bloc;
    auto rangees_du_bloc = [&](std::int32_t k, auto&& faire) {
      for (std::int32_t r = k * par_bloc; r < std::min(rangees, (k + 1) * par_bloc); ++r) faire(j_min + r);
    };
    model::repartir(
        blocs,
        [&](std::int32_t k) {
          rangees_du_bloc(k, [&](std::int32_t j) {
            relaxer_rangee(j, d, le_long_de_j);
            if (ecrire) ecrire_rangee(j, h2, ddx2, ddy2);
            // Counted only for the polls: every thread adding to one word at
            // every row would pass its cache line from core to core.
            if (c.attente) faites.fetch_add(1, std::memory_order_relaxed);
          });
        },
        sonder,
        [&](std::int32_t k) {
          rangees_du_bloc(k, [&](std::int32_t j) {
            copier_rangee(j);
            if (ecrire) ecrire_rangee(j, h2, ddx2, ddy2);
          });
        },
        cout(2.2),  // with or without the distortion maps (relaxed side by side)
        [&](std::int32_t k) {
          std::int32_t noeuds = 0;
          rangees_du_bloc(k, [&](std::int32_t j) { noeuds += noeuds_zone(j); });
          return noeuds;
        });
    sonder();
    ecrite = ecrire;
    std::swap(h, h2);
    if (distorsion) {
      std::swap(ddx, ddx2);
      std::swap(ddy, ddy2);
    }
  }

  // The area's nodes in row j.
  std::int32_t noeuds_zone(std::int32_t j) const { return std::max(0, std::min(i_max, n + 1 - j) - i_min + 1); }

  // Rows of a whole-grid step, spread over the cores on large areas; row j
  // weighs noeuds(j).
  template <class Travail, class Noeuds>
  void par_rangees(std::int32_t j0, std::int32_t j1, double ns_par_noeud, Noeuds&& noeuds, Travail&& travail) {
    const std::int32_t nombre = j1 - j0 + 1;
    model::repartir(nombre, [&](std::int32_t k) { travail(j0 + k); }, cout(ns_par_noeud),
                    [&](std::int32_t k) { return noeuds(j0 + k); });
  }
  template <class Travail>
  void par_rangees(std::int32_t j0, std::int32_t j1, double ns_par_noeud, Travail&& travail) {
    par_rangees(j0, j1, ns_par_noeud, [&](std::int32_t j) { return noeuds_zone(j); }, travail);
  }

  // The cost on one core of a step over the area's nodes, for repartir
  // (none on small areas, which stay on the calling thread).
  double cout(double ns_par_noeud) const { return parallele ? noeuds * ns_par_noeud : 0.0; }

  // The grids cover the area and the neighbours its nodes may read; the
  // positions outside the area are read but never written, so both grids
  // of a pair hold them, while the area of the second grid is written by
  // the first half-pass before anything reads it.
  void lire_grilles() {
    const std::int32_t gi0 = std::max(0, i_min - P - 1), gi1 = std::min(n + 1, i_max + P + 1);
    const std::int32_t gj0 = std::max(0, j_min - P - 1), gj1 = std::min(n + 1, j_max + P + 1);
    h.dimensionner(gi0, gi1, gj0, gj1, n);
    h2.dimensionner_comme(h);
    if (distorsion) {
      for (Grille<Valeur>* g : {&ddx, &ddx2, &ddy, &ddy2}) g->dimensionner_comme(h);
    }
    par_rangees(gj0, gj1, distorsion ? 2.5 : 1.0, [&](std::int32_t j) { return h.fin(j) - h.i0 + 1; }, [&](std::int32_t j) {
      lire_rangee(h, h2, *m.hauteurs, Tnoeud::hors_reseau, j);
      if (!distorsion) return;
      lire_rangee(ddx, ddx2, *m.dx, 0, j);
      lire_rangee(ddy, ddy2, *m.dy, 0, j);
    });
  }

  // Row j of a layer into the first grid of a pair, and the positions outside
  // the area into the second; a position outside the lattice reads as `hors`.
  template <class Couche>
  void lire_rangee(Grille<Valeur>& g, Grille<Valeur>& g2, const Couche& couche, Valeur hors,
                   std::int32_t j) {
    Valeur* l = g.ligne(j) - g.i0;
    const std::int32_t fin = g.fin(j), nc = couche.n();
    const bool rangee_du_reseau = j >= 1 && j <= nc;
    // The nodes of row j are i = 1 .. nc + 1 - j.
    const std::int32_t premier = rangee_du_reseau ? std::max(g.i0, 1) : fin + 1;
    const std::int32_t dernier = rangee_du_reseau ? std::min(fin, nc + 1 - j) : fin;
    for (std::int32_t i = g.i0; i < premier; ++i) l[i] = hors;
    // Heights and bytes of the layers fit (Tnoeud keeps -2000..4000).
    if (rangee_du_reseau) {
      const auto* r = couche.rangee(j);
      for (std::int32_t i = premier; i <= dernier; ++i) l[i] = static_cast<Valeur>(r[i]);
    }
    for (std::int32_t i = std::max(premier, dernier + 1); i <= fin; ++i) l[i] = hors;
    Valeur* l2 = g2.ligne(j) - g.i0;
    if (j < j_min || j > j_max) {
      std::copy(l + g.i0, l + fin + 1, l2 + g.i0);
      return;
    }
    for (std::int32_t i = g.i0; i <= std::min(fin, i_min - 1); ++i) l2[i] = l[i];
    for (std::int32_t i = std::max(g.i0, i_max + 1); i <= fin; ++i) l2[i] = l[i];
  }

  // The divisor of every node of the area from its distance to the start node.
  void calculer_diviseurs() {
    diviseurs.dimensionner(i_min, i_max, j_min, j_max, n);
    par_rangees(j_min, j_max, 2.5, [&](std::int32_t j) {
      double* q = diviseurs.ligne(j) - i_min;
      const std::int32_t fin = diviseurs.fin(j);
      std::int32_t i = i_min;
#if defined(__SSE2__)
      // Two nodes at a time, with the operations of distance_plan and of
      // the formula below in the same order (no fused multiply-add).
      const position_plan centre = plan(i0, j0);
      const __m128d bx = _mm_set1_pd(centre.x), by = _mm_set1_pd(centre.y), dj = _mm_set1_pd(j);
      const __m128d k09 = _mm_set1_pd(0.9), k05 = _mm_set1_pd(0.5), vD = _mm_set1_pd(D);
      const __m128d force = _mm_set1_pd(S * 0.025), un = _mm_set1_pd(1.0), zero = _mm_setzero_pd();
      const __m128d sans_effet = _mm_set1_pd(kSansEffet);
      // i + j < hi + 1 for the first max(0, hi + 1 - j - i) nodes from i.
      const std::int32_t fin_rangee = std::min(fin, hi - j);
      for (; i + 1 <= fin_rangee; i += 2) {
        const __m128d di = _mm_set_pd(i + 1, i);
        const __m128d dx = _mm_sub_pd(_mm_mul_pd(k09, di), bx);
        const __m128d dy = _mm_sub_pd(_mm_add_pd(dj, _mm_mul_pd(k05, di)), by);
        const __m128d r = _mm_sqrt_pd(_mm_add_pd(_mm_mul_pd(dx, dx), _mm_mul_pd(dy, dy)));
        const __m128d w = _mm_div_pd(_mm_sub_pd(vD, r), vD);
        const __m128d v = _mm_add_pd(_mm_mul_pd(force, w), un);
        const __m128d positif = _mm_cmpgt_pd(w, zero);
        _mm_storeu_pd(q + i, _mm_or_pd(_mm_and_pd(positif, v), _mm_andnot_pd(positif, sans_effet)));
      }
#endif
      for (; i <= fin; ++i) {
        const double w = (D - distance_plan(i, j, i0, j0)) / D;
        q[i] = !(w > 0) || !(i + j < hi + 1) ? kSansEffet : S * 0.025 * w + 1;
      }
    });
  }

  // The layers' rows j_min..j_max, taken for writing (their stamp is renewed).
  std::vector<std::int32_t*> lh;
  std::vector<std::uint8_t*> lx, ly;
  bool ecrite = false;  // the last half-pass wrote its rows to the layers

  void preparer_ecriture() {
    lh.clear();
    lx.clear();
    ly.clear();
    for (std::int32_t j = j_min; j <= j_max; ++j) {
      lh.push_back(m.hauteurs->rangee_ecriture(j));
      if (!distorsion) continue;
      lx.push_back(m.dx->rangee_ecriture(j));
      ly.push_back(m.dy->rangee_ecriture(j));
    }
  }

  // Row j of the grids gh, gx and gy into the layers.
  void ecrire_rangee(std::int32_t j, Grille<Valeur>& gh, Grille<Valeur>& gx, Grille<Valeur>& gy) {
    const auto k = static_cast<std::size_t>(j - j_min);
    const std::int32_t i_fin = std::min(i_max, n + 1 - j);
    const Valeur* l = gh.ligne(j) - gh.i0;
    for (std::int32_t i = i_min; i <= i_fin; ++i)
      lh[k][i] = std::clamp<std::int32_t>(l[i], Tnoeud::hauteur_mini, Tnoeud::hauteur_maxi);
    if (!distorsion) return;
    const Valeur* x = gx.ligne(j) - gh.i0;
    const Valeur* y = gy.ligne(j) - gh.i0;
    for (std::int32_t i = i_min; i <= i_fin; ++i) {
      lx[k][i] = static_cast<std::uint8_t>(x[i]);
      ly[k][i] = static_cast<std::uint8_t>(y[i]);
    }
  }

  void ecrire_grilles() {
    preparer_ecriture();
    par_rangees(j_min, j_max, distorsion ? 1.5 : 0.7, [&](std::int32_t j) { ecrire_rangee(j, h, ddx, ddy); });
  }

  double noeuds = 0;  // nodes of the lattice in the area
};

}  // namespace

void outil_lisser(Tmatrice& m, const arguments_outil& a, controle_outil& c) {
  const std::int32_t k = m.degre;
  const std::int32_t n = m.n;
  lissage t{m, c, a.valeur, a.altitude_initiale_debut, a.altitude_finale_debut, c.i0, c.j0, n, 0, 0, 0, 0, 0, 0,
            0.0, 0, 0, 0, false, false, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, false};
  t.lo = k < 7 ? 1 : 2;
  t.hi = k < 7 ? n + 1 : n;
  std::int32_t R = Round((n - 1) * (a.largeur_base_debut / 1000.0) / 16);
  if (R == 0) R = 1;
  const std::int32_t marge = Round(R * 1.5) + 1;
  t.i_min = c.i0 - marge;
  t.i_max = c.i0 + marge;
  t.j_min = c.j0 - marge;
  t.j_max = c.j0 + marge;
  if (t.i_min < 1) t.i_min = t.lo;
  if (t.i_max > n) t.i_max = n;
  if (t.j_min < 1) t.j_min = t.lo;
  if (t.j_max > n) t.j_max = n;
  m.zone_outil = {t.i_min, t.i_max, t.j_min, t.j_max};
  t.D = distance_noeuds(c.i0, c.j0, c.i0 + R, c.j0 + R);
  if (t.D == 0) t.D = 1;
  t.P = k < 8 ? 2 : k - 6;
  t.seuil = Round(static_cast<std::int16_t>(2 * t.P * (t.i_max - t.i_min)) * 0.05);
  t.distorsion = m.deformation && m.dx && m.dy;

  if (c.attente) c.attente->avancer("Smooth processing ...", 0);
  if (t.S < 0) t.S = Round(t.S / 2.0);
  c.continuer = true;
  if (t.i_min > t.i_max || t.j_min > t.j_max) return;
  t.parallele = std::int64_t(t.i_max - t.i_min + 1) * (t.j_max - t.j_min + 1) >= 65536;
  for (std::int32_t j = t.j_min; j <= t.j_max; ++j) t.noeuds += std::max(0, std::min(t.i_max, n + 1 - j) - t.i_min + 1);
  t.lire_grilles();
  try {
    t.calculer_diviseurs();
    for (std::int32_t d = t.P; d >= 1 && c.continuer; --d) {
      t.demi_passe(d, true, false);
      if (c.continuer) t.demi_passe(d, false, d == 1);
    }
  } catch (...) {
    // A failed half-pass (a divisor of 0) leaves the terrain as the last whole one did.
    t.ecrire_grilles();
    throw;
  }
  if (!t.ecrite) t.ecrire_grilles();
}
