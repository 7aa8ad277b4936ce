#include "render/camera.h"

#include <cmath>
#include <numbers>

#include "model/aleatoire.h"

namespace render {

namespace {

constexpr double kDegre = std::numbers::pi / 180.0;

double normaliser_azimut(double a) {
  while (a < 0) a += 360;
  while (a > 360) a -= 360;
  return a;
}

}  // namespace

std::int64_t RenderContext::maintenant_ms() const {
  if (options.horloge) return options.horloge();
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void decalage_strate(RenderContext& ctx, std::int32_t hauteur) {
  const std::int32_t b = Round(hauteur / 25.0);
  if (b >= 1 && b <= 160) {
    const std::uint8_t c = ctx.table_strates[std::size_t(b)];
    if (c == 3 || c == 5) {
      ctx.X += 12;
      ctx.Y += 12;
    }
  }
}

NoeudMonde projection(RenderContext& ctx, std::int32_t i, std::int32_t j, std::optional<std::int32_t> hauteur) {
  const NoeudMonde r = coordonnees_noeud(ctx, i, j, hauteur);
  projeter_point(ctx, ctx.X, ctx.Y, ctx.Z);
  return r;
}

void preparer_camera(RenderContext& ctx) {
  const double zoom = ctx.vue.zoom;
  ctx.W = std::max(1, Round(zoom * 0.1 * ctx.largeur));
  ctx.H = std::max(1, Round(zoom * 0.1 * ctx.hauteur));
  const double s = 8000.0 / ctx.D;
  ctx.fx = ctx.W / s * 0.6 * ((50000 - ctx.D / 2.0) / 50000 + 1);
  ctx.fy = ctx.fx;
  if (ctx.vue.deformation) ctx.fy = double(ctx.H) / ctx.W * ctx.fx * 4 / 3;
  ctx.cx = ctx.W / 2.0;
  ctx.cy = ctx.H / 1.5;
  ctx.altitude_cible = ctx.terrain.cible.hauteur;
}

void cadrer(RenderContext& ctx) {
  const std::int32_t bx = Round(ctx.vue.centre_x / 76.0 * ctx.W + ctx.cx);
  const std::int32_t by = Round(ctx.vue.centre_y / 54.0 * ctx.H + ctx.cy);
  ctx.cx = ctx.cx - (bx - Round(ctx.largeur / 2.0));
  ctx.cy = ctx.cy - (by - Round(ctx.hauteur / 2.0));
}

void camera_editeur(RenderContext& ctx) {
  ctx.fx = ctx.fy = 12000;
  ctx.cx = 212.5;
  ctx.cy = 229.4;
  ctx.tx = 0.35;
  ctx.ty = 0.5;
  ctx.altitude_cible = 0;
}

void installer_camera(RenderContext& ctx) {
  Tmatrice& t = ctx.terrain;
  const param_vue& v = ctx.vue;
  double norme = 0.0;
  if (ctx.mode_camera) {
    ctx.tx = ctx.camera.cible_x;
    ctx.ty = ctx.camera.cible_y;
  } else {
    ctx.tx = t.cible.px;
    ctx.ty = t.cible.py;
  }
  if (ctx.mode_camera) {
    t.cible.hauteur = ctx.camera.cible_z;
    ctx.ex = ctx.camera.observateur_x;
    ctx.ey = ctx.camera.observateur_y;
    ctx.ez = ctx.camera.observateur_z;
    norme = std::sqrt(ctx.ex * ctx.ex + ctx.ey * ctx.ey + ctx.ez * ctx.ez);
    if (!(norme >= 0.001)) norme = 0.001;
    ctx.D = Round(std::min(norme, 1e9)) + 1;
  } else if (v.observateur_place) {
    ctx.D = 4000;
    preparer_camera(ctx);
    const std::int32_t oi = t.observateur_i, oj = t.observateur_j;
    const NoeudMonde nm = coordonnees_noeud(ctx, oi, oj);
    t.observateur.hauteur = nm.hauteur;
    ctx.ex = ctx.X;
    ctx.ey = ctx.Y;
    ctx.ez = v.hauteur_observateur + ctx.Z + 20;
    norme = std::sqrt(ctx.ex * ctx.ex + ctx.ey * ctx.ey + ctx.ez * ctx.ez);
    if (norme == 0) norme = 0.0001;
    ctx.D = Round(std::min(norme, 1e9));
    if (ctx.D == 0) ctx.D = 1;
  } else {
    ctx.D = Round(std::clamp(v.distance * 1000, -1e9, 1e9));
    if (ctx.D == 0) ctx.D = 1;
    const double vert = v.angle_vertical == 89 ? 89.9 : double(v.angle_vertical);
    const double h = v.angle_horizontal + 180.0;
    ctx.ex = ctx.D * (std::cos(vert * kDegre) * std::cos(h * kDegre));
    ctx.ey = ctx.D * (std::cos(vert * kDegre) * std::sin(h * kDegre));
    ctx.ez = ctx.D * std::sin(vert * kDegre);
    norme = std::sqrt(ctx.ex * ctx.ex + ctx.ey * ctx.ey + ctx.ez * ctx.ez);
    if (norme == 0) norme = 0.001;
    ctx.angle_vertical = vert;
    ctx.azimut_vue = normaliser_azimut(h);
  }
  if (ctx.mode_camera || v.observateur_place) {
    if (ctx.ex == 0) ctx.ex = 1e-5;
    double h = std::atan(ctx.ey / ctx.ex);
    if (ctx.ex < 0) h += std::numbers::pi;
    ctx.azimut_vue = normaliser_azimut(h / kDegre);
    ctx.angle_vertical = std::atan(ctx.ez / std::sqrt(ctx.ex * ctx.ex + ctx.ey * ctx.ey)) / kDegre;
  }
  ctx.ch = std::cos(ctx.azimut_vue * kDegre);
  ctx.sh = std::sin(ctx.azimut_vue * kDegre);
  t.etat_rendu.oeil_x = ctx.ex;
  t.etat_rendu.oeil_y = ctx.ey;
  t.etat_rendu.oeil_z = ctx.ez;

  ctx.distance_km = Round(ctx.D * 0.001);
  double ux = -ctx.ex / norme, uy = -ctx.ey / norme, uz = -ctx.ez / norme;
  if (uy == 0) uy = 0.0001;
  if (uz == 0) uz = 0.0001;
  ctx.direction = {ux, uy, uz};
  ctx.sv = -uz;
  ctx.cv = std::sqrt(std::max(0.0, 1 - uz * uz));
  if (ctx.cv < 0.0001) {
    double r = std::sqrt(std::max(0.0, 1 - uy * uy));
    if (r == 0) r = 0.0001;
    ctx.inv_cv = 1 / r;
    ctx.axe_cv = false;
  } else {
    ctx.inv_cv = 1 / ctx.cv;
    ctx.axe_cv = true;
  }

  const double e = v.elevation_soleil * kDegre;
  const double a = (v.azimut_soleil + ctx.azimut_vue) * kDegre;
  ctx.soleil = {75000 * (std::cos(e) * std::cos(a)), 75000 * (std::cos(e) * std::sin(a)), 75000 * std::sin(e)};
  ctx.soleil_visible = std::cos(v.azimut_soleil * kDegre) < -0.33 &&
                       std::cos((v.elevation_soleil - ctx.angle_vertical) * kDegre) > 0.75;
}

void calculer_horizon(RenderContext& ctx) {
  const std::int32_t hauteur = ctx.hauteur;
  // The topmost corner: its row is the land line so far.
  ctx.ligne_terre = hauteur;
  ctx.coin_haut = 0;
  for (int k = 0; k < 3; ++k)
    if (ctx.coins[std::size_t(k)].y < ctx.ligne_terre) {
      ctx.coin_haut = k;
      ctx.ligne_terre = ctx.coins[std::size_t(k)].y;
    }
  // The horizon row: the point 8000 units beyond the target, at the sea level itself.
  const double Px = -8000 * ctx.ch, Py = -8000 * ctx.sh, Pz = ctx.niveau_mer;
  const double d = Px * ctx.ch * ctx.cv + Py * ctx.sh * ctx.cv + Pz * ctx.sv - ctx.D;
  double yp = 0.0;
  if (d != 0) yp = (Pz * ctx.cv - Px * ctx.ch * ctx.sv - Py * ctx.sh * ctx.sv) / d;
  ctx.ligne_horizon = pixel_de(yp * ctx.fy + ctx.cy);
  // The second corner: the highest other one less than a fifth of the picture
  // below the topmost; one off the picture's sides counts half as far below.
  std::int64_t r = std::int64_t(Round(hauteur * 0.2)) + ctx.ligne_terre;
  ctx.coin_second = ctx.coin_haut;
  for (int k = 0; k < 3; ++k) {
    if (k == ctx.coin_haut) continue;
    const Point c = ctx.coins[std::size_t(k)];
    if (c.y < r) {
      ctx.coin_second = k;
      r = c.y;
      if (c.x < -64 || c.x > std::int64_t(ctx.largeur) + 64)
        r = ctx.ligne_terre + std::int64_t(Round(double(r - ctx.ligne_terre) * 0.5));
    }
  }
  // The land line: down to the second corner, at most 0.082 of the picture
  // below the topmost corner.
  if (double(r - ctx.ligne_terre) <= 0.082 * hauteur)
    ctx.ligne_terre = std::int32_t(r);
  else
    ctx.ligne_terre = ctx.ligne_terre + Round(0.082 * hauteur);
  // The land line never above the horizon, and the horizon at least 4 rows
  // above the land line.
  if (ctx.ligne_terre < ctx.ligne_horizon) ctx.ligne_terre = ctx.ligne_horizon;
  if (std::int64_t(ctx.ligne_terre) - 4 < ctx.ligne_horizon) ctx.ligne_horizon = ctx.ligne_terre - 4;
  // A raised horizon: the view's horizon height, in hundredths of the
  // picture, below the horizon row; the land line goes with it.
  if (ctx.vue.hauteur_horizon > 0) {
    ctx.ligne_horizon = ctx.ligne_horizon + Round(hauteur * 0.01 * ctx.vue.hauteur_horizon);
    ctx.ligne_terre = ctx.ligne_horizon;
  }
  // A small picture has no band between the horizon and the land.
  if (ctx.largeur < 100) ctx.ligne_horizon = ctx.ligne_terre;
}

double pente_facette(const RenderContext& ctx) {
  const auto& N = ctx.normale;
  const double vx = ctx.centre[0], vy = ctx.centre[1], vz = ctx.centre[2] - 100000;
  const double nn = std::sqrt(N[0] * N[0] + N[1] * N[1] + N[2] * N[2]);
  const double nv = std::sqrt(vx * vx + vy * vy + vz * vz);
  return std::abs(N[0] * vx + N[1] * vy + N[2] * vz) / (nn * nv);
}

void progression(RenderContext& ctx, const Bitmap* image, std::optional<std::string_view> legende,
                 std::uint16_t increment) {
  if (ctx.attente && !ctx.annule()) {
    ctx.attente->tester_annulation();
    if (increment > 0) {
      if (ctx.compteur_progression > 2 * std::int64_t(ctx.seuil_progression)) {
        ctx.compteur_progression = 0;
        if (image && ctx.affichage) ctx.affichage(*image);
        ctx.attente->avancer(legende, increment);
      }
    } else if (legende) {
      ctx.attente->avancer(legende, 0);
    }
    if (cancel_requested(ctx.fenetre)) ctx.terrain.calcul_annule = 1;
  } else if (ctx.degre > 6 && ctx.options.traiter_messages) {
    // The clock is read every 256 calls; events go through at most every 30 ms.
    if ((++ctx.appels_sans_attente & 255u) != 0) return;
    const std::int64_t t = ctx.maintenant_ms();
    if (t - ctx.dernier_traitement_ms < 30) return;
    ctx.dernier_traitement_ms = t;
    ctx.options.traiter_messages();
  }
}

}  // namespace render
