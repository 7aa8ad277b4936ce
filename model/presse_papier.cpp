#include "model/presse_papier.h"

#include <algorithm>

#include "model/aleatoire.h"
#include "model/matrice.h"

void presse_papier_relief::ecrire(std::int32_t a, std::int32_t b, std::int32_t v) {
  if (a < 0 || b < 0 || a >= cote_ || b >= cote_) return;
  valeurs_[static_cast<std::size_t>(a) * cote_ + b] = static_cast<std::int16_t>(std::clamp(v, -2000, 4000));
}

disque_presse_papier geometrie_presse_papier(std::int32_t n, std::int32_t largeur) {
  // A disc wider than the terrain holds nothing more; the bound keeps the
  // clipboard's size reasonable whatever width a caller passes.
  const std::int32_t R = std::min(std::max(Round((n - 1) * (largeur * 0.001) / 16), 1), n);
  return {R, 2 * R + 1};
}

namespace {

struct disque {
  std::int32_t R;
  std::int32_t marge;
  double D;
};

disque disque_outil(const Tmatrice& m, std::int32_t largeur, std::int32_t i0, std::int32_t j0) {
  disque d;
  const disque_presse_papier g = geometrie_presse_papier(m.n, largeur);
  d.R = g.R;
  d.marge = g.marge;
  d.D = distance_noeuds(i0, j0, i0 + d.R, j0 + d.R);
  if (d.D == 0) d.D = 1;
  return d;
}

}  // namespace

void outil_copier_relief(Tmatrice& m, const arguments_outil& a, controle_outil& c) {
  const std::int32_t largeur = a.largeur_base_debut;
  const std::int32_t niveau = a.altitude_initiale_debut;
  const std::int32_t i0 = c.i0, j0 = c.j0, n = m.n;
  m.niveau_presse_papier = static_cast<std::uint16_t>(largeur);
  const disque dq = disque_outil(m, largeur, i0, j0);
  m.zone_outil = {i0 - dq.marge, i0 + dq.marge, j0 - dq.marge, j0 + dq.marge};
  m.presse_papier.reset();
  auto pp = std::make_unique<presse_papier_relief>(2 * dq.marge + 1, n);
  const std::int32_t i_min = m.zone_outil[0], j_min = m.zone_outil[2];
  for (std::int32_t i = m.zone_outil[0]; i <= m.zone_outil[1]; ++i) {
    for (std::int32_t j = m.zone_outil[2]; j <= m.zone_outil[3]; ++j) {
      if (!(1 < i && i < n - 1 && 1 < j && j < n - 1 && i + j < n)) continue;
      const double d = distance_noeuds(i, j, i0, j0);
      if ((dq.D - d) / dq.D <= 0) continue;
      const double w = d < 0.75 * dq.D ? 1.0 : (dq.D - d) / (0.75 * dq.D);
      pp->ecrire(i - i_min, j - j_min, Round((m.hauteurs->lire(i, j) - niveau) * w));
    }
  }
  m.presse_papier = std::move(pp);
}

void outil_coller_relief(Tmatrice& m, const arguments_outil& a, controle_outil& c) {
  const std::int32_t i0 = c.i0, j0 = c.j0, n = m.n;
  const disque dq = disque_outil(m, a.largeur_base_debut, i0, j0);
  m.zone_outil = {i0 - dq.marge, i0 + dq.marge, j0 - dq.marge, j0 + dq.marge};
  if (!m.presse_papier) return;
  const presse_papier_relief& pp = *m.presse_papier;
  const std::int32_t i_min = m.zone_outil[0], j_min = m.zone_outil[2];
  for (std::int32_t a_ = 1; a_ < pp.cote(); ++a_) {
    for (std::int32_t b = 1; b < pp.cote(); ++b) {
      const std::int32_t i = i_min + a_, j = j_min + b;
      if (!(0 < i && i < n && 1 <= j && j < n && i + j < n + 1)) continue;
      const std::int32_t valeur = pp.lire(a_, b);
      if (valeur == 0) continue;
      // The product wraps as a 32-bit integer would.
      const auto produit = static_cast<std::int32_t>(
          static_cast<std::uint32_t>(static_cast<std::int64_t>(valeur) * a.valeur));
      const std::int32_t v = Round(produit * 0.001);
      if (v == 0 || v < -3999) continue;
      m.hauteurs->ajouter(i, j, v);
      m.zone_outil[0] = std::min(m.zone_outil[0], i);
      m.zone_outil[1] = std::max(m.zone_outil[1], i);
      m.zone_outil[2] = std::min(m.zone_outil[2], j);
      m.zone_outil[3] = std::max(m.zone_outil[3], j);
    }
  }
}
