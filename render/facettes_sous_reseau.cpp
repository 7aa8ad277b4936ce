// A main facet and, in the near zone, the sub-lattice drawn over its cell:
// when a facet is large enough, the offsets of its sub-nodes, their points
// and the walk of its sub-facets in painter's order.
#include "render/facettes_interne.h"

namespace render::detail_facettes {
namespace {

namespace {

constexpr double kRacine3 = 1.732050807;

}  // namespace

void DessinFacettes::dessiner_triangle(std::int32_t ci, std::int32_t cj, bool voisin) {
  const bool riviere_source = riviere_ && (riviere_attribut_ == 1 || riviere_attribut_ == 2);
  dessiner_facette(false);
  if (ctx_.annule() || !dans_zone(ci, cj) || ci + cj >= n_ || degre_ <= 5 || !ctx_.premier_plan) return;
  if (!(f_visible_ || f_eau_) || f_photo_ || riviere_source || !f_affichable_ || !drapeau_rangee_ || !voisin) return;

  // The main facet's first decisions hold its extents.
  const Prealable& pr = calcul_ ? calcul_->prealable : prealable_principal_;
  if (!pr.grand) return;

  if (ctx_.attente && ctx_.petit_pas > 1) {
    ctx_.petit_pas = 1;
    ctx_.seuil_progression = ctx_.seuil_progression / 2;
    increment_ = std::uint16_t(std::clamp(Round(ctx_.seuil_progression * 0.03), 1, 5));
  }
  const int niveau = pr.niveau_sous;
  double A;
  if (f_eau_)
    A = amplitude_eau(f_pente_, vue_.agitation_mer, degre_);
  else
    A = amplitude_terre(f_pente_, etat_.historique, vue_.rugosite, niveau);
  A = borner_amplitude(A, f_pente_);
  sous_reseau(ci, cj, niveau, A);
}

void DessinFacettes::sous_reseau(std::int32_t ci, std::int32_t cj, int niveau, double A) {
  if (observateur_) observateur_->sous_reseau();
  const int m = (1 << niveau) + 1;
  if (f_eau_) {
    eau_.depuis_horloge();
    remplir_decalages(decalages_, niveau, A, [this] { return eau_.tirer(); });
  } else {
    set_seed(std::uint32_t(f_altitude_));
    remplir_decalages(decalages_, niveau, A, [] { return Random(); });
  }

  // Corner slots: 2 = (i, j), 1 = (i + 1, j), 0 = (i, j + 1), 3 = (i + 1, j + 1).
  double cx[4], cy[4], cz[4], ex[4], ey[4];
  const std::int32_t ni[4] = {ci, ci + 1, ci, ci + 1}, nj[4] = {cj + 1, cj, cj, cj + 1};
  const double n1 = double(n_ - 1);
  for (int k = 0; k < 4; ++k) {
    monde_noeud(ni[k], nj[k], cx[k], cy[k], cz[k]);
    const double p = double(ni[k] - 1) / n1, q = double(nj[k] - 1) / n1;
    ex[k] = cx[k] - (ctx_.tx - p) * 4000 * kRacine3;
    ey[k] = cy[k] - (q + p / 2 - ctx_.ty) * 8000;
  }

  const int K = m - 1;
  const double h = 1.0 / K, K2 = double(K) * K;
  const auto& u3 = ctx_.direction;
  for (int c = 1; c <= m; ++c) {
    const int u = c - 1;
    for (int r = 1; r <= m; ++r) {
      const int v = r - 1;
      Sommet& s = sous_[std::size_t((c - 1) * kMaxSous + (r - 1))];
      const double p = (ci + u * h - 1) / n1, q = (cj + v * h - 1) / n1;
      s.x = (ctx_.tx - p) * 4000 * kRacine3;
      s.y = (q + p / 2 - ctx_.ty) * 8000;
      auto melange = [&](const double* w) {
        return (u * (v * w[3] + (K - v) * w[1]) + (K - u) * (v * w[0] + (K - v) * w[2])) / K2;
      };
      if (sous_deformation_) {
        s.x += melange(ex);
        s.y += melange(ey);
      }
      s.z = melange(cz) + decalages_(c, r) * h;
      projeter_point(ctx_, s.x, s.y, s.z);
      s.ecran = pixel_projete(ctx_);
      s.d = (s.x - ctx_.ex) * u3[0] + (s.y - ctx_.ey) * u3[1] + (s.z - ctx_.ez) * u3[2];
      if (s.d == 0.0) s.d = 0.0001;
      s.sous_mer = false;
      s.riviere = false;
      s.classe = classer(*fixes_, s);
    }
  }
  sous_i_ = ci;
  sous_j_ = cj;
  sous_m_ = m;

  parcourir_sous_reseau(ctx_.azimut_vue, m, [&](const SousTriangle& t) {
    if (ctx_.annule()) return;
    const auto sommet = [&](std::size_t k) { return &sous_[std::size_t((t.c[k] - 1) * kMaxSous + (t.r[k] - 1))]; };
    s_ = SommetsFacette(sommet(0), sommet(1), sommet(2));
    if (observateur_)
      for (std::size_t k = 0; k < 3; ++k) noeuds_facette_[k] = {t.c[k], t.r[k]};
    signe_ = t.signe;
    dessiner_facette(true);
  });
}

}  // namespace
}  // namespace render::detail_facettes
