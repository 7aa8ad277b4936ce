// Geometry of a perspective picture: where a lattice node lies in the world,
// where the eye is, how a world point becomes a pixel, where the sun stands
// and where the horizon falls; and the progress-and-cancel poll every phase
// of a render calls.
//
// World frame: the origin is the target (its plane position and altitude);
// node (i, j) lies at X = (tx - p) 4000 x 1.732050807, Y = (q + p / 2 - ty) 8000,
// Z = max(height, sea level) - target altitude, p = (i - 1) / (n - 1),
// q = (j - 1) / (n - 1).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "model/aleatoire.h"
#include "render/contexte.h"

namespace render {

// A pixel coordinate from a projected value: clamped to +-2^30 (NaN counts as
// +2^30) before rounding, so that vertices near the eye plane clip instead of
// overflowing.
inline std::int32_t pixel_de(double v) {
  constexpr double limite = 1073741824.0;  // 2^30
  if (!(v <= limite)) v = limite;          // also NaN
  if (v < -limite) v = -limite;
  return Round(v);
}

struct NoeudMonde {
  std::int32_t hauteur = 0;
  bool sous_mer = false;
};

// Strata shift of the current world point for a node of this height.
void decalage_strate(RenderContext& ctx, std::int32_t hauteur);
// A node's shift by the distortion maps (128: none).
inline void deformer(const Tcooleen& dx, const Tcooleen& dy, std::int32_t i, std::int32_t j, double& X, double& Y) {
  X += (int(dx.lire(i, j)) - 128) * 6;
  Y += (int(dy.lire(i, j)) - 128) * 6;
}
// The world z of a node of height r.hauteur (the sea level for a node below
// it, which r then says).
inline void altitude_noeud(NoeudMonde& r, double niveau_mer, double altitude_cible, double& Z) {
  if (r.hauteur < niveau_mer) {
    r.sous_mer = true;
    Z = niveau_mer - altitude_cible;
  } else {
    Z = r.hauteur - altitude_cible;
  }
}
// The world point (X, Y, Z) of node (i, j) and its height, without touching
// the context: a pure function of the node and the picture's set-up, which
// facet drawing may run on several cores. `hauteur` replaces the stored height.
inline NoeudMonde point_noeud(const RenderContext& ctx, std::int32_t i, std::int32_t j,
                              std::optional<std::int32_t> hauteur, double& X, double& Y, double& Z) {
  const double p = double(i - 1) / double(ctx.n - 1);
  const double q = double(j - 1) / double(ctx.n - 1);
  X = (ctx.tx - p) * 4000 * 1.732050807;
  Y = (q + p / 2 - ctx.ty) * 8000;
  const Tmatrice& t = ctx.terrain;
  if (t.deformation && t.dx && t.dy && !ctx.editeur() && !ctx.projection_coins && !ctx.passe_ombre)
    deformer(*t.dx, *t.dy, i, j, X, Y);
  NoeudMonde r;
  r.hauteur = hauteur ? *hauteur : t.hauteurs->lire(i, j);
  if (ctx.degre > 5 && ctx.vue.strates && r.hauteur > ctx.vague_max + ctx.niveau_mer && !ctx.passe_ombre) {
    const std::int32_t b = Round(r.hauteur / 25.0);
    if (b >= 1 && b <= 160) {
      const std::uint8_t c = ctx.table_strates[std::size_t(b)];
      if (c == 3 || c == 5) {
        X += 12;
        Y += 12;
      }
    }
  }
  altitude_noeud(r, ctx.niveau_mer, ctx.altitude_cible, Z);
  if (ctx.passe_ombre && ctx.vue.elevation_soleil < 0 && (i == 1 || j == 1 || i + j == ctx.n + 1)) Z = -2000;
  return r;
}
// Sets ctx.X, Y, Z for node (i, j) and returns its height (point_noeud).
// Inline: facet drawing places every vertex.
inline NoeudMonde coordonnees_noeud(RenderContext& ctx, std::int32_t i, std::int32_t j,
                                    std::optional<std::int32_t> hauteur = std::nullopt) {
  const NoeudMonde r = point_noeud(ctx, i, j, hauteur, ctx.X, ctx.Y, ctx.Z);
  if (r.sous_mer) ++ctx.sous_mer;
  return r;
}

// World point of the node, then ctx.profondeur, ctx.xp, ctx.yp (x' and y' keep
// their previous values when the depth is 0).
NoeudMonde projection(RenderContext& ctx, std::int32_t i, std::int32_t j,
                      std::optional<std::int32_t> hauteur = std::nullopt);
// The same for a world point.
// Inline: facet drawing projects every vertex.
// The projection's expressions, for the context or a copy of its camera
// fields (ch, sh, cv, sv, D): the depth d, and x', y' when d is not 0 (false
// then, and x', y' untouched).
template <class Camera>
inline bool projeter_sans_etat(const Camera& c, double X, double Y, double Z, double& d, double& xp, double& yp) {
  d = X * c.ch * c.cv + Y * c.sh * c.cv + Z * c.sv - c.D;
  if (d == 0) return false;
  xp = (X * c.sh - Y * c.ch) / d;
  yp = (Z * c.cv - X * c.ch * c.sv - Y * c.sh * c.sv) / d;
  return true;
}
inline void projeter_point(RenderContext& ctx, double X, double Y, double Z) {
  projeter_sans_etat(ctx, X, Y, Z, ctx.profondeur, ctx.xp, ctx.yp);
}
// The pixel of a world point without touching the context (or from a copy of
// its camera fields, with fx, fy, cx, cy); false (and no pixel) when its depth
// is 0, where projeter_point keeps the last x' and y'.
template <class Camera>
inline bool pixel_du_point(const Camera& c, double X, double Y, double Z, Point& pixel) {
  double d = 0.0, xp = 0.0, yp = 0.0;
  if (!projeter_sans_etat(c, X, Y, Z, d, xp, yp)) return false;
  pixel = {pixel_de(xp * c.fx + c.cx), pixel_de(yp * c.fy + c.cy)};
  return true;
}
// Pixel of the last projection.
inline Point pixel_projete(const RenderContext& ctx) {
  return {pixel_de(ctx.xp * ctx.fx + ctx.cx), pixel_de(ctx.yp * ctx.fy + ctx.cy)};
}

// Focal scales and centre from the zoom, D, distortion and picture size.
void preparer_camera(RenderContext& ctx);
// The framing shift of the view (outside editor mode), after preparer_camera.
void cadrer(RenderContext& ctx);
// The fixed camera of the editor's map.
void camera_editeur(RenderContext& ctx);
// Camera set-up: orbit, observer-placed or camera-record mode; eye, D, view
// azimuth and vertical angle, view direction, view distance, sun. Draws no
// random numbers; running it again gives the same values.
void installer_camera(RenderContext& ctx);
// Horizon row and land top row from the projected corners.
void calculer_horizon(RenderContext& ctx);
// Slope cosine of the current facet (ctx.normale, ctx.centre).
double pente_facette(const RenderContext& ctx);

// One progress step: with a progress window and not cancelled, the cancel
// test, the gauge (every 2 T of the progress counter, with the live picture)
// and the poll for the cancel message; otherwise, above degree 6, the
// application's events at most every 30 ms.
void progression(RenderContext& ctx, const Bitmap* image, std::optional<std::string_view> legende,
                 std::uint16_t increment);

}  // namespace render
