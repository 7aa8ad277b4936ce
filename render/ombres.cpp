#include "render/ombres.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <climits>
#include <numbers>
#include <vector>

#include "model/aleatoire.h"
#include "render/camera.h"
#include "render/contexte.h"

namespace render {

namespace {

constexpr std::string_view kLegendeOmbres = "Shadows casted processing ...";
constexpr double kDegre = std::numbers::pi / 180.0;

// The camera fields the pass changes.
struct CameraSauvee {
  double ex, ey, ez;
  std::int32_t D;
  double azimut_vue, angle_vertical, ch, sh, cv, sv, inv_cv;
  bool axe_cv;
  std::array<double, 3> direction;
  std::int32_t W, H;
  double fx, fy, cx, cy, altitude_cible;

  explicit CameraSauvee(const RenderContext& c)
      : ex(c.ex), ey(c.ey), ez(c.ez), D(c.D), azimut_vue(c.azimut_vue), angle_vertical(c.angle_vertical), ch(c.ch),
        sh(c.sh), cv(c.cv), sv(c.sv), inv_cv(c.inv_cv), axe_cv(c.axe_cv), direction(c.direction), W(c.W), H(c.H),
        fx(c.fx), fy(c.fy), cx(c.cx), cy(c.cy), altitude_cible(c.altitude_cible) {}
  void remettre(RenderContext& c) const {
    c.ex = ex; c.ey = ey; c.ez = ez; c.D = D; c.azimut_vue = azimut_vue; c.angle_vertical = angle_vertical;
    c.ch = ch; c.sh = sh; c.cv = cv; c.sv = sv; c.inv_cv = inv_cv; c.axe_cv = axe_cv; c.direction = direction;
    c.W = W; c.H = H; c.fx = fx; c.fy = fy; c.cx = cx; c.cy = cy; c.altitude_cible = altitude_cible;
  }
};

// A node as the pass projects it from the sun, computed once however many
// cells read it: its world point and height, the depth, and x', y' with its
// pixel when the depth is not 0 (else projection keeps the previous x', y').
struct NoeudSoleil {
  double X = 0.0, Y = 0.0, Z = 0.0, d = 0.0, xp = 0.0, yp = 0.0;
  Point pixel;
  std::int32_t hauteur = 0;
  bool sous_mer = false;
  bool profondeur_nulle = false;
};

class PasseOmbres {
 public:
  explicit PasseOmbres(RenderContext& ctx) : ctx_(ctx), n_(ctx.n) {}
  void executer();

 private:
  // The node's projection, from the rows kept (the cells of one row read
  // their own row and a neighbour row).
  const NoeudSoleil& noeud_soleil(std::int32_t i, std::int32_t j);
  // The last projection's values, as the context would hold them after the
  // projections of every cell in order.
  void poser_dernier(const NoeudSoleil& s);

  void projection_soleil(std::int32_t a, std::int32_t b, std::int32_t i, std::int32_t j);
  bool bloc_eclaire(Point centre) const;
  void arbre(std::int32_t ti, std::int32_t tj, Point centre, Point p0, Point p1, std::int32_t classe);
  void avancer();

  RenderContext& ctx_;
  const std::int32_t n_;
  std::int32_t pas_ = 1;
  std::int32_t W_ = 1, H_ = 1;
  Mask8 image_;
  double echelle_arbres_ = 0.0;
  bool arbres_ = false;
  std::array<std::unique_ptr<ModeleArbre>, 7> modeles_;
  Bitmap vue_image_;
  // Three rows of projected nodes (index j + stride + 1), each with its row and flags.
  struct RangeeSoleil {
    std::int32_t i = INT32_MIN;
    std::vector<NoeudSoleil> noeuds;
    std::vector<std::uint8_t> faits;
  };
  std::array<RangeeSoleil, 3> rangees_;
  std::int32_t dj_ = 1;  // the cells' step along j
  static constexpr std::int32_t kAvanceOmbres = 8;
  std::size_t prochaine_rangee_ = 0;
  // What projection would have left in the context: the last world point and
  // depth, and the last x', y' of a depth other than 0.
  double X_ = 0.0, Y_ = 0.0, Z_ = 0.0, profondeur_ = 0.0, xp_ = 0.0, yp_ = 0.0;
  bool projete_ = false;
};

const NoeudSoleil& PasseOmbres::noeud_soleil(std::int32_t i, std::int32_t j) {
  RangeeSoleil* r = nullptr;
  for (RangeeSoleil& x : rangees_)
    if (x.i == i) r = &x;
  if (!r) {
    r = &rangees_[prochaine_rangee_];
    prochaine_rangee_ = (prochaine_rangee_ + 1) % rangees_.size();
    r->i = i;
    // The cells' j (1..n + 2) and their neighbours a stride away.
    r->noeuds.resize(std::size_t(n_) + 2 * std::size_t(pas_) + 4);
    r->faits.assign(r->noeuds.size(), 0);
  }
  const std::size_t k = std::size_t(std::int64_t(j) + pas_ + 1);
  NoeudSoleil& s = r->noeuds.at(k);
  if (!r->faits[k]) {
    r->faits[k] = 1;
    // The cells go along j, each node in another storage row: the heights a
    // few nodes on are asked for now.
    const Tmatrice& t = ctx_.terrain;
    const std::int32_t jp = j + kAvanceOmbres * pas_ * dj_;
    if (!t.hauteurs->dehors(i, jp)) __builtin_prefetch(t.hauteurs->rangee(jp) + i);
    if (t.deformation && t.dx && t.dy && !t.dx->dehors(i, jp)) {
      __builtin_prefetch(t.dx->rangee(jp) + i);
      __builtin_prefetch(t.dy->rangee(jp) + i);
    }
    const NoeudMonde nm = point_noeud(ctx_, i, j, std::nullopt, s.X, s.Y, s.Z);
    s.hauteur = nm.hauteur;
    s.sous_mer = nm.sous_mer;
    s.profondeur_nulle = !projeter_sans_etat(ctx_, s.X, s.Y, s.Z, s.d, s.xp, s.yp);
    if (!s.profondeur_nulle) s.pixel = {pixel_de(s.xp * ctx_.fx + ctx_.cx), pixel_de(s.yp * ctx_.fy + ctx_.cy)};
  }
  return s;
}

void PasseOmbres::poser_dernier(const NoeudSoleil& s) {
  X_ = s.X;
  Y_ = s.Y;
  Z_ = s.Z;
  profondeur_ = s.d;
  if (!s.profondeur_nulle) {
    xp_ = s.xp;
    yp_ = s.yp;
  }
  projete_ = true;
}

void PasseOmbres::avancer() {
  // The mask becomes a picture only when the gauge is about to show it.
  const Bitmap* direct = nullptr;
  if (ctx_.attente && !ctx_.annule() && ctx_.affichage &&
      ctx_.compteur_progression > 2 * std::int64_t(ctx_.seuil_progression)) {
    vue_image_.reset(image_.width(), image_.height());
    for (int y = 0; y < image_.height(); ++y) {
      const std::uint8_t* s = image_.row(y);
      Pixel* d = vue_image_.row(y);
      for (int x = 0; x < image_.width(); ++x) d[x] = s[x] ? pixel_rgb(255, 255, 255) : pixel_rgb(0, 0, 0);
    }
    direct = &vue_image_;
  }
  progression(ctx_, direct, std::nullopt, ctx_.degre > 7 ? 2 : 5);
}

bool PasseOmbres::bloc_eclaire(Point c) const {
  const Surface<const std::uint8_t> s = image_.surface();
  // Inside the picture, three short row segments; outside pixels count as unlit.
  if (c.x >= 1 && c.y >= 1 && c.x + 1 < s.width && c.y + 1 < s.height) {
    for (int y = c.y - 1; y <= c.y + 1; ++y) {
      const std::uint8_t* r = s.row(y) + (c.x - 1);
      if (!(r[0] && r[1] && r[2])) return false;
    }
    return true;
  }
  for (int y = c.y - 1; y <= c.y + 1; ++y)
    for (int x = c.x - 1; x <= c.x + 1; ++x) {
      const auto p = read_pixel(s, x, y);
      if (!p || *p == 0) return false;
    }
  return true;
}

void PasseOmbres::arbre(std::int32_t ti, std::int32_t tj, Point c, Point p0, Point p1, std::int32_t classe) {
  Tcouverture& carte = *ctx_.carte_vagues;
  std::uint16_t v = 0, t = 0;
  carte.lire(ti, tj, v, t);
  if (!(t >= 11 && t <= 19)) return;
  const std::int32_t couche = t - 10;
  if (couche > 6 || !modeles_[std::size_t(couche)]) return;
  const Point pied{Round((double(p0.x) - p1.x) * 0.15) + c.x, c.y};
  const double taille = (v > 64 ? v - 64 : v) * 0.015 * echelle_arbres_;
  const bool couvert = modeles_[std::size_t(couche)]->silhouette(ctx_, image_, pied, taille, classe);
  if (couvert && v < 64) carte.ecrire(ti, tj, std::uint16_t(v + 64), t);
}

void PasseOmbres::projection_soleil(std::int32_t a, std::int32_t b, std::int32_t i, std::int32_t j) {
  if (i + j >= n_ + 2 || ctx_.annule()) return;
  ctx_.compteur_progression += 2;
  if (i % pas_ != 0 || j % pas_ != 0) return;
  avancer();
  ctx_.sous_mer = 0;
  const std::array<std::array<std::int32_t, 2>, 4> noeuds = {{{i, j}, {i + a, j}, {i, j + b}, {i + a, j + b}}};
  std::array<Point, 4> p;
  std::int32_t h0 = 0;
  for (std::size_t k = 0; k < 4; ++k) {
    const NoeudSoleil& s = noeud_soleil(noeuds[k][0], noeuds[k][1]);
    if (s.sous_mer) ++ctx_.sous_mer;
    if (k == 0) h0 = s.hauteur;
    poser_dernier(s);
    // A depth of 0 keeps the previous x', y', as projection does.
    p[k] = s.profondeur_nulle ? Point{pixel_de(xp_ * ctx_.fx + ctx_.cx), pixel_de(yp_ * ctx_.fy + ctx_.cy)} : s.pixel;
  }
  const std::int32_t classe = h0 < ctx_.vue.niveau_herbe ? 1 : (h0 > ctx_.vue.niveau_rocher ? 3 : 2);
  const std::array<std::array<std::size_t, 3>, 2> triangles = {{{0, 1, 2}, {3, 1, 2}}};
  const Tmatrice& t = ctx_.terrain;
  for (std::size_t k = 0; k < 2; ++k) {
    const Point A = p[triangles[k][0]], B = p[triangles[k][1]], C = p[triangles[k][2]];
    Point c{Round((double(A.x) + B.x + C.x) / 3), Round((double(A.y) + B.y + C.y) / 3)};
    c.x = std::clamp(c.x, 1, W_);
    c.y = std::clamp(c.y, 1, H_);
    if (bloc_eclaire(c)) {
      ctx_.carte_ombres->ecrire(i, j, 1);
      if (ctx_.grossier) ctx_.carte_ombres->ecrire(i + a, j + b, 1);
    }
    fill_triangle(image_.surface(), A, B, C, Contour::aucun, std::uint8_t(255));
    if (arbres_ && t.nombre_elements > 0 && ctx_.carte_vagues) {
      const std::int32_t ti = k == 0 ? i : i + a, tj = k == 0 ? j : j + b;
      if (t.hauteurs->lire(ti, tj) > std::max(ctx_.vue.hauteur_sable, ctx_.vue.niveau_mer))
        arbre(ti, tj, c, p[0], p[1], classe);
    }
  }
}

void PasseOmbres::executer() {
  if (ctx_.attente) progression(ctx_, nullptr, kLegendeOmbres, 0);
  W_ = std::max(1, ctx_.largeur);
  H_ = std::max(1, ctx_.hauteur);
  pas_ = pas_ombres(ctx_) * (ctx_.grossier ? 3 : 1);

  const double e = ctx_.vue.elevation_soleil;
  const double a = ctx_.vue.azimut_soleil + ctx_.azimut_vue;
  ctx_.passe_ombre = true;
  ctx_.D = 75000;
  ctx_.angle_vertical = e;
  ctx_.azimut_vue = a;
  ctx_.ch = std::cos(a * kDegre);
  ctx_.sh = std::sin(a * kDegre);
  ctx_.cv = std::cos(e * kDegre);
  ctx_.sv = std::sin(e * kDegre);
  ctx_.ex = 75000 * (ctx_.cv * ctx_.ch);
  ctx_.ey = 75000 * (ctx_.cv * ctx_.sh);
  ctx_.ez = 75000 * ctx_.sv;
  ctx_.direction = {-ctx_.cv * ctx_.ch, -ctx_.cv * ctx_.sh, -ctx_.sv};
  preparer_camera(ctx_);
  ctx_.fx *= 1.12;
  ctx_.fy *= 1.12;
  ctx_.cy *= 0.82;

  param_vue copie = ctx_.vue;
  copie.detail_arbres = 0;
  arbres_ = copie.foret && ctx_.degre > 5;
  if (arbres_) {
    for (std::size_t L = 1; L <= 6; ++L) {
      if (!ctx_.terrain.especes_presentes[L]) continue;
      modeles_[L] = ctx_.fabrique_arbres->creer(copie, false, 1, copie.arbres[L - 1]);
      if (!modeles_[L]) continue;
      GenerationArbre g;
      g.angle_vertical = e;
      g.azimut_vue = a;
      g.elevation_soleil = ctx_.vue.elevation_soleil;
      g.azimut_soleil = ctx_.vue.azimut_soleil;
      g.bas = g.haut = g.milieu = std::sin(e * kDegre);
      g.degre = ctx_.degre;
      modeles_[L]->generer(ctx_, g);
    }
  }
  echelle_arbres_ = 0.16 * ctx_.fx / n_;

  std::int32_t A = Round(a);
  if (A > 360) A -= 360;
  if (A < 0) A += 360;
  image_.reset(W_, H_, 0);
  xp_ = ctx_.xp;
  yp_ = ctx_.yp;

  if (!ctx_.annule()) {
    const BalayageOmbres r = balayage_ombres(A);
    const std::int32_t sa = r.signe_a * pas_, sb = r.signe_b * pas_;
    const std::int32_t i_debut = r.i_croissant ? 1 : n_ + 2, i_fin = r.i_croissant ? n_ : 2;
    const std::int32_t j_debut = r.j_croissant ? 1 : n_ + 2, j_fin = r.j_croissant ? n_ : 2;
    const std::int32_t di = r.i_croissant ? 1 : -1, dj = r.j_croissant ? 1 : -1;
    dj_ = dj;
    for (std::int32_t i = i_debut; r.i_croissant ? i <= i_fin : i >= i_fin; i += di) {
      for (std::int32_t j = j_debut; r.j_croissant ? j <= j_fin : j >= j_fin; j += dj) projection_soleil(sa, sb, i, j);
      if (ctx_.annule()) break;
    }
  }
  image_.reset(0, 0);
  if (projete_) {
    ctx_.X = X_;
    ctx_.Y = Y_;
    ctx_.Z = Z_;
    ctx_.profondeur = profondeur_;
    ctx_.xp = xp_;
    ctx_.yp = yp_;
  }
  if (!ctx_.annule()) progression(ctx_, nullptr, std::nullopt, 0);
  for (auto& m : modeles_) m.reset();
}

}  // namespace

std::int32_t pas_ombres(const RenderContext& ctx) {
  if (!ctx.premier_plan && ctx.taille_cellule < 2.0 && (ctx.distance_km > 20 || ctx.angle_vertical > 45))
    return std::max(1, Round(2.0 / ctx.taille_cellule));
  return 1;
}

BalayageOmbres balayage_ombres(std::int32_t A) {
  if (A <= 60) return {true, false, 1, -1};
  if (A < 90) return {true, true, 1, 1};
  if (A < 120) return {false, false, -1, -1};
  if (A < 180) return {false, false, -1, -1};
  if (A < 240) return {false, true, -1, 1};
  if (A < 271) return {false, true, -1, 1};
  if (A < 301) return {true, true, -1, 1};
  return {true, true, 1, 1};
}

void calcul_ombres(RenderContext& ctx) {
  if (!ctx.carte_ombres || ctx.filaire || ctx.degre <= 5 || !ctx.vue.ombre_portee) return;
  const CameraSauvee sauvee(ctx);
  struct Remise {
    RenderContext& c;
    const CameraSauvee& s;
    ~Remise() { s.remettre(c); }
  } remise{ctx, sauvee};
  PasseOmbres(ctx).executer();
}

void PhaseOmbresPortees::calcul_ombres(RenderContext& ctx) { render::calcul_ombres(ctx); }

}  // namespace render
