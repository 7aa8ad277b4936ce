// The vertices of the terrain pass and a facet's first decisions: a node's
// world point from the picture's tables, its projection (cached, or pure for
// the helpers), the stored values asked for ahead of the walk, whether a
// facet is in front and on the screen, and the picture's edge points.
#include "render/facettes_interne.h"

namespace render::detail_facettes {
namespace {

namespace {

// point_noeud of a node of the sweep (no height replaced), from the tables.
NoeudMonde placer(const Fixes& f, std::int32_t i, std::int32_t j, double& X, double& Y, double& Z) {
  if (!f.tables || i < 0 || j < 0 || i > f.limite || j > f.limite)
    return point_noeud(*f.ctx, i, j, std::nullopt, X, Y, Z);
  X = f.x_i[std::size_t(i)];
  Y = (f.q_j[std::size_t(j)] + f.demi_p_i[std::size_t(i)] - f.ty) * 8000;
  if (f.deformation) deformer(*f.dx, *f.dy, i, j, X, Y);
  NoeudMonde r;
  r.hauteur = f.hauteurs->lire(i, j);
  if (r.hauteur < -4000 || r.hauteur > 4000) return point_noeud(*f.ctx, i, j, std::nullopt, X, Y, Z);
  if (f.strate_h[std::size_t(r.hauteur + 4000)]) {
    X += 12;
    Y += 12;
  }
  altitude_noeud(r, f.niveau_mer, f.altitude_cible, Z);
  return r;
}

}  // namespace

// Asks the memory for the stored values of node (i, j), which the walk will
// reach a few nodes later: along rows and diagonals each node lies in another
// storage row.
void Moteur::anticiper(std::int32_t i, std::int32_t j) const {
  // The compiler counts a prefetch as no effect at all: a function that only
  // reads and prefetches would be taken for one without effects, and its
  // calls removed. This empty statement is an effect (and no barrier).
  asm volatile("");
  const Tmatrice& t = ctx_.terrain;
  if (i < 1 || j < 1 || i + j > n_ + 1) return;
  __builtin_prefetch(t.hauteurs->rangee(j) + i);
  if (ctx_.carte_vagues) __builtin_prefetch(ctx_.carte_vagues->rangee(j) + i);
  if (deformation_) {
    __builtin_prefetch(t.dx->rangee(j) + i);
    __builtin_prefetch(t.dy->rangee(j) + i);
  }
  if (photo_possible_) __builtin_prefetch(t.photo->rangee(j) + i);
}

// The same for a helper, before it places the vertices of node (i, j): from
// the picture's copied set-up.
void anticiper_sommet(const Fixes& f, std::int32_t i, std::int32_t j) {
  asm volatile("");
  if (i < 1 || j < 1 || i + j > f.n + 1) return;
  __builtin_prefetch(f.hauteurs->rangee(j) + i);
  if (f.vagues) __builtin_prefetch(f.vagues->rangee(j) + i);
  if (f.deformation) {
    __builtin_prefetch(f.dx->rangee(j) + i);
    __builtin_prefetch(f.dy->rangee(j) + i);
  }
}

// The same for what examiner_noeud alone reads of the node: the drawing of
// lines the helpers computed places no vertex itself.
void Moteur::anticiper_examen(std::int32_t i, std::int32_t j) const {
  asm volatile("");
  const Tmatrice& t = ctx_.terrain;
  if (i < 1 || j < 1 || i + j > n_ + 1) return;
  if (examen_couverture_) {
    __builtin_prefetch(t.hauteurs->rangee(j) + i);
    __builtin_prefetch(ctx_.carte_vagues->rangee(j) + i);
  }
  if (photo_possible_) __builtin_prefetch(t.photo->rangee(j) + i);
}

// World point of node (i, j) as the sweep computes a vertex: distortion and
// strata from the camera's node transform, plus the wave offset of sea nodes.
void DessinFacettes::monde_noeud(std::int32_t i, std::int32_t j, double& X, double& Y, double& Z) {
  const NoeudMonde nm = coordonnees_noeud(ctx_, i, j);
  X = ctx_.X;
  Y = ctx_.Y;
  Z = ctx_.Z;
  if (vagues_ && nm.hauteur != -1000 && degre_ >= 6) {
    std::uint16_t v = 0, t = 0;
    ctx_.carte_vagues->lire(i, j, v, t);
    if (t == 50) Z += (double(v) - 20) * ctx_.echelle_vagues;
  }
}

// The point of node (i, j) as calculer_sommet computes it, without the cache
// or the context, from the node's cover entry (v, t): false when its depth
// along the projection is exactly 0 (the projection then keeps the previous
// pixel, so the caller computes that vertex in order).
bool sommet_pur(const Fixes& f, std::int32_t i, std::int32_t j, std::uint16_t v, std::uint16_t t, Sommet& s) {
  double X = 0.0, Y = 0.0, Z = 0.0;
  const NoeudMonde nm = placer(f, i, j, X, Y, Z);
  s.classe = 0;
  s.x = X;
  s.y = Y;
  s.z = Z;
  s.sous_mer = nm.sous_mer;
  s.riviere = false;
  if (f.vagues) {
    if (t == 1) s.riviere = true;
    if (t == 50 && f.decaler_vagues && nm.hauteur != -1000 && f.degre >= 6) s.z += (double(v) - 20) * f.echelle_vagues;
  }
  if (!pixel_du_point(f, s.x, s.y, s.z, s.ecran)) return false;
  const auto& u = f.direction;
  s.d = (s.x - f.ex) * u[0] + (s.y - f.ey) * u[1] + (s.z - f.ez) * u[2];
  if (s.d == 0.0) s.d = 0.0001;
  s.classe = classer(f, s);
  return true;
}

void Moteur::calculer_sommet(std::int32_t i, std::int32_t j, Sommet& s) {
  // A node's point does not depend on when it is computed: the cache keeps the
  // points of the last rows (a direct-mapped table; two consecutive rows,
  // columns or diagonals never share a slot).
  const std::uint32_t cle = ((std::uint32_t(i) << 16) | std::uint32_t(j)) + 1;
  EntreeCache* e = nullptr;
  if (cache_) {
    e = &cache_[(std::uint32_t(i) * 2089u + std::uint32_t(j)) & (kCache - 1)];
    if (e->cle == cle) {
      s = e->sommet;
      return;
    }
  }
  const NoeudMonde nm = placer(*fixes_, i, j, s.x, s.y, s.z);
  s.sous_mer = nm.sous_mer;
  s.riviere = false;
  if (ctx_.carte_vagues) {
    std::uint16_t v = 0, t = 0;
    ctx_.carte_vagues->lire(i, j, v, t);
    if (t == 1) s.riviere = true;
    if (t == 50 && vagues_ && nm.hauteur != -1000 && degre_ >= 6) s.z += (double(v) - 20) * ctx_.echelle_vagues;
  }
  projeter_point(ctx_, s.x, s.y, s.z);
  s.ecran = pixel_projete(ctx_);
  const auto& u = ctx_.direction;
  s.d = (s.x - ctx_.ex) * u[0] + (s.y - ctx_.ey) * u[1] + (s.z - ctx_.ez) * u[2];
  if (s.d == 0.0) s.d = 0.0001;
  s.classe = classer(*fixes_, s);
  if (e) {
    e->cle = cle;
    e->sommet = s;
  }
}

// The tests of prealable on one vertex, by the same expressions.
std::uint8_t classer(const Fixes& f, const Sommet& s) {
  const std::int32_t largeur = f.largeur, hauteur = f.hauteur;
  std::uint8_t c = 0;
  const double d = s.d;
  if (d > f.proche) c |= kDevant;
  bool rejet = f.observateur_place && d < f.rejet;
  const std::int32_t x = s.ecran.x, y = s.ecran.y;
  if (f.degre > 5) {
    if (f.observateur_place) {
      if (x < -2 * std::int64_t(largeur) || x > 3 * std::int64_t(largeur)) rejet = true;
    } else if (y < -2 * std::int64_t(hauteur) || y > 2 * std::int64_t(hauteur)) {
      rejet = true;
    }
  }
  if (rejet) c |= kRejete;
  if (x >= -15 && x < largeur + 16 && y >= -15 && y < hauteur + 16)
    c |= kEcran | kEcranArbre;
  else if (d < 1100 && x > -64 && x < largeur + 64 && y < f.rangee_2h5)
    c |= kEcranArbre;
  if (f.degre >= 6 || (x > -16000 && x < largeur + 16000 && y > -16000 && y < hauteur + 16000)) c |= kDansLimite;
  if (x < 0 || x >= largeur) c |= kBord;
  return c;
}

// A facet's first decisions, from its vertices' own tests (made once per
// vertex when it was computed, as up to six facets share it), written in
// place: a copy of the record just written, read back in wider words than
// those it was written in, would wait for the writes to reach the cache.
void prealable(const Fixes& f, const SommetsFacette& s, Prealable& pr) {
  pr = Prealable{};
  const std::uint8_t c0 = s[0].classe, c1 = s[1].classe, c2 = s[2].classe;
  const std::uint8_t tous = c0 & c1 & c2, un = c0 | c1 | c2;
  // Counts of a one-bit flag: the sum of the three bits over the bit.
  static_assert(kEcran == 4 && kEcranArbre == 8);
  pr.ecran = std::int8_t(((c0 & kEcran) + (c1 & kEcran) + (c2 & kEcran)) >> 2);
  pr.ecran_arbre = std::int8_t(((c0 & kEcranArbre) + (c1 & kEcranArbre) + (c2 & kEcranArbre)) >> 3);
  pr.bords = (un & kBord) != 0;
  pr.sous_mer = std::int8_t(int(s[0].sous_mer) + int(s[1].sous_mer) + int(s[2].sous_mer));
  pr.limites = (tous & kDansLimite) != 0 && (un & kDevant) != 0 && (un & kRejete) == 0;
  if (!pr.limites) return;
  const double zmax = std::max({s[0].z, s[1].z, s[2].z});
  pr.altitude = Round(zmax + f.altitude_cible);
  const double d = s[2].d;
  if (f.occupation) {
    pr.occupation = Round(std::clamp(d + 1000, -2e9, 2e9));
    const std::int32_t mx = tiers_arrondi(s[0].ecran.x, s[1].ecran.x, s[2].ecran.x);
    const std::int32_t my = tiers_arrondi(s[0].ecran.y, s[1].ecran.y, s[2].ecran.y);
    if (mx >= 0 && my >= 0 && mx < f.occupation_largeur && my < f.occupation_hauteur)
      pr.case_occupation = my * f.occupation_largeur + mx;
  }
  if (f.brume) {
    pr.niveau = std::int8_t(niveau_brume(d, f.pas_brume, pr.altitude, f.hauteur_brume));
    pr.niveau_eau = std::int8_t(niveau_brume(d, f.pas_brume, f.niveau_mer_vue, f.hauteur_brume));
  }
  std::int32_t wx = 0, wy = 0;
  demi_etendue(s, wx, wy);
  pr.grand = a_subdiviser(wx, wy, d, f.profondeur_sous_reseau);
  if (pr.grand) pr.niveau_sous = std::int8_t(niveau_subdivision(wx, wy));
}

// The picture's left and right edge points: the deepest vertices beside the
// picture on either side.
void DessinFacettes::noter_bords() {
  RenderContext& c = ctx_;
  for (int k = 0; k < 3; ++k) {
    const Sommet& s = s_[k];
    if (s.ecran.x < 0 && s.d > profondeur_gauche_) {
      profondeur_gauche_ = s.d;
      c.terrain.etat_rendu.bord_gauche_x = s.x;
      c.terrain.etat_rendu.bord_gauche_y = s.y;
    } else if (s.ecran.x >= largeur_ && s.d > profondeur_droite_) {
      profondeur_droite_ = s.d;
      c.terrain.etat_rendu.bord_droit_x = s.x;
      c.terrain.etat_rendu.bord_droit_y = s.y;
    }
  }
}

}  // namespace
}  // namespace render::detail_facettes
