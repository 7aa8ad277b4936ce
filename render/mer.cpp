#include "render/mer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "model/aleatoire.h"
#include "render/camera.h"
#include "render/contexte.h"

namespace render {

namespace {

constexpr std::string_view kLegendeMer = "Sea preprocessing ...";
constexpr std::uint16_t kMer = 50;

std::int32_t borne(std::int32_t v, std::int32_t lo, std::int32_t hi) { return std::clamp(v, lo, hi); }

// A choppiness read from a file may be any int32: wave values are worked
// within +-10^6 before their clamp to 0..55, which no valid value reaches.
std::int32_t R(double v) { return Round(std::clamp(v, -1e6, 1e6)); }

void vagues(RenderContext& ctx) {
  Tmatrice& t = ctx.terrain;
  Tcouverture& carte = *ctx.carte_vagues;
  const std::int32_t n = ctx.n, k = ctx.degre;
  const std::int32_t A = ctx.vue.agitation_mer;
  const std::int32_t mer = ctx.vue.niveau_mer;
  progression(ctx, nullptr, kLegendeMer, 0);
  // The entry last read: kept from one block node to the next, also across nodes.
  std::uint16_t valeur = 0, type = 0;
  for (std::int32_t i = 1; i <= n - 1; ++i)
    for (std::int32_t j = 1; j <= n - 1 && i + j < n; ++j) {
      const std::int32_t h = t.hauteurs->lire(i, j);
      if (!(h < mer && h != -1000)) continue;
      std::int32_t w = R((1 - 2 * Random()) * A * 1.5) + 20;
      if (k > 7 && mer - 30 < h && h < mer - 10 && Random() > 0.5) w = R((Random() + 1) * A * 1.2) + 20;
      if (k > 7 && mer - 70 < h && h < mer - 50 && Random() > 0.5) w = R((Random() + 1) * A * 0.5) + 20;
      if (A > 5 && Random() > 0.2) {
        for (std::int32_t a = i - 1; a <= i + 1; ++a)
          for (std::int32_t b = j - 1; b <= j + 1; ++b) {
            if (a > 0 && b > 0) carte.lire(a, b, valeur, type);
            if (type == kMer && std::abs(w - std::int32_t(valeur)) > A && Random() > 0.2)
              w = borne(R((1 - 2 * Random()) * A * 0.2) + valeur, 0, 40);
          }
      }
      if (A > 3 && k > 7 && Random() > 0.35) {
        std::uint16_t somme = 0;
        std::int32_t nombre = 0;
        for (std::int32_t a = i - 4; a <= i - 1; ++a)
          for (std::int32_t b = j - 4; b <= j - 1; ++b) {
            if (a > 0 && b > 0) carte.lire(a, b, valeur, type);
            if (type == kMer && valeur > 25 && valeur < 35) {
              somme = std::uint16_t(somme + valeur);
              ++nombre;
            }
            if (nombre > 4) {
              somme = std::uint16_t(Round(double(somme) / nombre));
              w = somme + R(Random() * A * 0.5);
              if (nombre > 9) w += R(Random() * A * 0.5);
            }
          }
      }
      w = borne(w, 0, 55);
      ctx.vague_max = std::max(ctx.vague_max, w);
      carte.ecrire(i, j, std::uint16_t(w), kMer);
    }
}

// Writes (v, t) over the square of half-size r around (i, j), only the part
// inside the lattice; `si_libre` keeps nodes that already carry a kind.
void carre(Tcouverture& carte, std::int32_t n, std::int32_t i, std::int32_t j, std::int64_t r, std::uint16_t v,
           std::uint16_t t, bool si_libre) {
  const std::int32_t i0 = std::int32_t(std::max<std::int64_t>(1, i - r));
  const std::int32_t i1 = std::int32_t(std::min<std::int64_t>(n, i + r));
  const std::int32_t j0 = std::int32_t(std::max<std::int64_t>(1, j - r));
  const std::int32_t j1 = std::int32_t(std::min<std::int64_t>(n, j + r));
  for (std::int32_t a = i0; a <= i1; ++a)
    for (std::int32_t b = j0; b <= j1 && a + b <= n + 1; ++b) {
      if (si_libre) {
        std::uint16_t va = 0, ta = 0;
        carte.lire(a, b, va, ta);
        if (ta != 0) continue;
      }
      carte.ecrire(a, b, v, t);
    }
}

void plus_un(std::uint16_t& c) {
  if (c < 65535) ++c;
}

void couverture(RenderContext& ctx) {
  Tmatrice& t = ctx.terrain;
  Tcouverture& carte = *ctx.carte_vagues;
  const std::int32_t n = ctx.n;
  const std::int32_t mer = ctx.vue.niveau_mer;
  const std::size_t taille = std::min({t.liste_i.size(), t.liste_j.size(), t.liste_type.size(), t.liste_attribut.size()});
  const std::size_t nombre = std::min(taille, std::size_t(std::max(0, t.nombre_elements)));
  for (std::size_t e = 0; e < nombre; ++e) {
    const std::uint16_t type = t.liste_type[e];
    if (type == TYPE_EFFACE) continue;
    const std::int32_t i = t.liste_i[e], j = t.liste_j[e];
    if (!(t.hauteurs->lire(i, j) > mer)) continue;
    const std::uint16_t v = t.liste_attribut[e];
    if (ctx.statistiques && type > 10 && type < 20) {
      const std::int32_t couche = type - 10;
      if (couche <= 6) plus_un(t.resultats_vue.arbres[std::size_t(couche - 1)][1]);
    }
    if (type == TYPE_RIVIERE) {
      if (ctx.statistiques) {
        if (v == 1) plus_un(t.resultats_vue.sources);
        ++ctx.points_riviere;
      }
      if (v > 4) carre(carte, n, i, j, v - 4, 4, 1, false);
    }
    if (type > 30 && type < 40) carre(carte, n, i, j, Round(v * double(n - 1) * 0.002), v, type, true);
    carte.ecrire(i, j, v, type);
  }
}

}  // namespace

void preparer_mer(RenderContext& ctx) {
  if (!ctx.carte_vagues) return;
  if (ctx.vue.agitation_mer > 0 && !ctx.filaire) vagues(ctx);
  couverture(ctx);
  ctx.echelle_vagues = 10 * std::pow(0.5, ctx.degre - 5);
}

void PhaseMerVagues::preparer_mer(RenderContext& ctx) { render::preparer_mer(ctx); }

}  // namespace render
