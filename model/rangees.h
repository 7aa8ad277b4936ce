// Whole-row reductions over height rows, four values at a time where the
// processor allows: the highest value, and the extremes with the sum and
// count of the values above a level. Integer arithmetic only, so the results
// are those of a plain loop.
#pragma once

#include <algorithm>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace model {

// What bilan_rangee gathers; start with maxi and mini at the caller's bounds.
struct BilanHauteurs {
  std::int32_t maxi;
  std::int32_t mini;
  std::int64_t somme = 0;   // of the values above the level
  std::int64_t nombre = 0;  // values above the level
};

#if defined(__SSE2__)
namespace detail_rangees {
inline __m128i choisir(__m128i m, __m128i a, __m128i b) { return _mm_or_si128(_mm_and_si128(m, a), _mm_andnot_si128(m, b)); }
inline std::int32_t lane(__m128i v, int k) {
  alignas(16) std::int32_t t[4];
  _mm_store_si128(reinterpret_cast<__m128i*>(t), v);
  return t[k];
}
}  // namespace detail_rangees
#endif

// The highest of v[0..nombre), or `depart` when it is higher.
inline std::int32_t maximum_rangee(const std::int32_t* v, std::int32_t nombre, std::int32_t depart) {
  std::int32_t k = 0, h = depart;
#if defined(__SSE2__)
  using namespace detail_rangees;
  if (nombre >= 8) {
    __m128i m = _mm_set1_epi32(depart);
    for (; k + 4 <= nombre; k += 4) {
      const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(v + k));
      m = choisir(_mm_cmpgt_epi32(x, m), x, m);
    }
    for (int l = 0; l < 4; ++l) h = std::max(h, lane(m, l));
  }
#endif
  for (; k < nombre; ++k) h = std::max(h, v[k]);
  return h;
}

// Adds v[0..nombre) to b: extremes, and the sum and count of the values above `niveau`.
// A row holds at most 2049 heights of at most 4000: four 32-bit partial sums cannot overflow.
inline void bilan_rangee(const std::int32_t* v, std::int32_t nombre, std::int32_t niveau, BilanHauteurs& b) {
  std::int32_t k = 0;
#if defined(__SSE2__)
  using namespace detail_rangees;
  if (nombre >= 8 && nombre <= 4096) {
    __m128i hi = _mm_set1_epi32(b.maxi), lo = _mm_set1_epi32(b.mini);
    __m128i somme = _mm_setzero_si128(), compte = _mm_setzero_si128();
    const __m128i seuil = _mm_set1_epi32(niveau);
    for (; k + 4 <= nombre; k += 4) {
      const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(v + k));
      hi = choisir(_mm_cmpgt_epi32(x, hi), x, hi);
      lo = choisir(_mm_cmplt_epi32(x, lo), x, lo);
      const __m128i dessus = _mm_cmpgt_epi32(x, seuil);
      somme = _mm_add_epi32(somme, _mm_and_si128(dessus, x));
      compte = _mm_sub_epi32(compte, dessus);
    }
    for (int l = 0; l < 4; ++l) {
      b.maxi = std::max(b.maxi, lane(hi, l));
      b.mini = std::min(b.mini, lane(lo, l));
      b.somme += lane(somme, l);
      b.nombre += lane(compte, l);
    }
  }
#endif
  for (; k < nombre; ++k) {
    b.maxi = std::max(b.maxi, v[k]);
    b.mini = std::min(b.mini, v[k]);
    if (v[k] > niveau) {
      b.somme += v[k];
      ++b.nombre;
    }
  }
}

}  // namespace model
