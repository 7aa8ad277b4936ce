// Resampling of the framed part of the source onto the lattice of a new
// terrain: each inner node maps to a source point, whose height is
// interpolated from its four nearest pixels, freed of terraces when smoothing,
// scaled vertically and written; an aerial picture gives each node its
// colour; the edit dispatcher's smoothing runs last.
#include <algorithm>
#include <cmath>
#include <limits>

#include "import/importation.h"
#include "model/aleatoire.h"

namespace {

constexpr double pi = 3.14159265358979323846;

// The frame's mapping from lattice nodes to source points.
struct Projection {
  double L, Ht, sx, sy, shear, cos_t, sin_t;
  std::int64_t cx, cy;

  Projection(const cadre_import& c, std::int32_t k) {
    L = c.cote();
    Ht = L * 0.5 * 1.73205;
    const double cotes = std::ldexp(1.0, k);
    sx = cotes / L;
    sy = cotes / Ht;
    shear = (L / Ht) * 0.5;
    const double theta = c.rotation - pi;
    cos_t = std::cos(theta);
    sin_t = std::sin(theta);
    cx = c.cx;
    cy = c.cy;
  }

  // Source pixel of node (i, j) and the fractions of the exact point around it.
  void point(std::int32_t i, std::int32_t j, std::int64_t& x, std::int64_t& y, double& fx, double& fy) const {
    const double yp = (i - 1) / sy;
    const double v = (Ht - yp / 1.03) * 1.05;
    const double u = (j - 1) / sx + yp * shear;
    const double du = u - L / 2;
    const double dv = v - (Ht - L / 4);
    const double X = cos_t * du - sin_t * dv;
    const double Y = sin_t * du + cos_t * dv;
    const std::int32_t x0 = Round(X);
    const std::int32_t y0 = Round(Y);
    fx = X - x0;
    fy = Y - y0;
    x = x0 + cx;
    y = y0 + cy;
  }
};

// Vertical scale S and shift of the heights.
struct Echelle {
  double S = 1.0;
  std::int32_t decalage = 0;
};

// Largest and smallest decoded height inside the frame's bounding box.
void etendue_source(const Importation& imp, std::int32_t& plus_grand, std::int32_t& plus_petit) {
  const auto s = imp.cadre.sommets();
  std::int32_t x1 = s[0].x, x2 = s[0].x, y1 = s[0].y, y2 = s[0].y;
  for (const auto& p : s) {
    x1 = std::min(x1, p.x);
    x2 = std::max(x2, p.x);
    y1 = std::min(y1, p.y);
    y2 = std::max(y2, p.y);
  }
  plus_grand = 0;
  plus_petit = 1000;
  for (std::int32_t y = std::max(y1, 1); y <= std::min(y2, imp.hauteur - 1); ++y)
    for (std::int32_t x = std::max(x1, 1); x <= std::min(x2, imp.largeur - 1); ++x) {
      const std::int32_t h = imp.hauteur_pixel(x, y);
      plus_grand = std::max(plus_grand, h);
      plus_petit = std::min(plus_petit, h);
    }
}

Echelle echelle(const Importation& imp) {
  Echelle e;
  const std::int32_t W = imp.largeur;
  if (imp.dem) {
    if (imp.maximum > 4000) e.decalage = imp.maximum - 4000;
    if (imp.niveau_dem == 3) e.S = 480.0 / W;
    else if (imp.niveau_dem == 2) e.S = 720.0 / W;
    else if (imp.niveau_dem == 1) e.S = 0.75;
    return e;
  }
  std::int32_t plus_grand = 0, plus_petit = 0;
  etendue_source(imp, plus_grand, plus_petit);
  if (plus_grand != plus_petit)
    e.S = (static_cast<double>(imp.maximum) - imp.minimum) / (static_cast<double>(plus_grand) - plus_petit);
  // The table leaves W = 1101 out, which then keeps the scale of the range.
  if (W < 301) e.S = 0.85;
  else if (W <= 750) e.S = 0.75;
  else if (W <= 1000) e.S = 0.45;
  else if (W <= 1100) e.S = 0.33;
  else if (W >= 1102 && W <= 2050) e.S = 0.16;
  if (imp.maximum < 1000) e.S = 0.28;
  if (imp.extension == ".MNT" && W > 320 && W < 325) e.S = 0.32;
  return e;
}

// Height at a source point: the pixel's, or the weighted mean of the four
// pixels around the point when it lies off the pixel's centre.
std::int32_t interpoler(const Importation& imp, std::int32_t x, std::int32_t y, double fx, double fy) {
  std::int32_t h = imp.hauteur_pixel(x, y);
  const std::int32_t W = imp.largeur, H = imp.hauteur;
  const double d1 = std::sqrt(fx * fx + fy * fy);
  if (!(x >= 3 && x < W - 2 && y >= 3 && y < H - 2 && d1 > 0.05)) return h;
  const std::int32_t dx = fx >= 0 ? 1 : -1;
  const std::int32_t dy = fy >= 0 ? 1 : -1;
  const double ax = std::fabs(fx), ay = std::fabs(fy);
  const double d[4] = {d1, std::sqrt(fx * fx + (1 - ay) * (1 - ay)), std::sqrt((1 - ax) * (1 - ax) + fy * fy),
                       std::sqrt((1 - ax) * (1 - ax) + (1 - ay) * (1 - ay))};
  const std::int32_t hs[4] = {h, imp.hauteur_pixel(x, y + dy), imp.hauteur_pixel(x + dx, y),
                              imp.hauteur_pixel(x + dx, y + dy)};
  double somme = 0, poids = 0;
  for (int k = 0; k < 4; ++k)
    if (d[k] < 1) {
      somme += (1 - d[k]) * hs[k];
      poids += 1 - d[k];
    }
  return Round(somme / poids);
}

// Terraces: where the pixel sits on a flat run of height h, the height is
// taken between the ends of the runs across and along.
std::int32_t sans_terrasses(const Importation& imp, std::int32_t x, std::int32_t y, std::int32_t h) {
  const std::int32_t W = imp.largeur, H = imp.hauteur;
  auto compter = [&](std::int32_t px, std::int32_t py, std::int32_t ex, std::int32_t ey, auto dedans) {
    std::int32_t m = 0;
    while (m < 8 && dedans(m) && imp.hauteur_pixel(px + ex * m, py + ey * m) == h) ++m;
    return m;
  };
  const std::int32_t a = compter(x, y, -1, 0, [&](std::int32_t m) { return x - m >= 3; });
  const std::int32_t b = compter(x, y, 1, 0, [&](std::int32_t m) { return x + m < W - 1; });
  const std::int32_t c = compter(x, y, 0, -1, [&](std::int32_t m) { return y - m >= 3; });
  const std::int32_t d = compter(x, y, 0, 1, [&](std::int32_t m) { return y + m < H - 1; });
  if (a + b <= 0 || c + d <= 0) return h;
  const double hx =
      (static_cast<double>(imp.hauteur_pixel(x - a, y)) * b + static_cast<double>(imp.hauteur_pixel(x + b, y)) * a) /
      (a + b);
  const double hy =
      (static_cast<double>(imp.hauteur_pixel(x, y - c)) * d + static_cast<double>(imp.hauteur_pixel(x, y + d)) * c) /
      (c + d);
  return Round((hx + hy) * 0.5);
}

std::uint32_t couleur_noeud(render::Pixel p) {
  const Rgb c = render::rgb_of(p);
  if (c.r == 5 && c.g == 66 && c.b == 121) return 0;
  return std::uint32_t(c.r) | std::uint32_t(c.g) << 8 | std::uint32_t(c.b) << 16;
}

constexpr std::uint32_t gris = 128u | 128u << 8 | 128u << 16;

}  // namespace

void lisser_import(Tmatrice& terrain, const arguments_outil& a, controle_outil& c) { terrain.modifier(a, c); }

void Importation::faire_importation(ProgressSink* attente, WindowHandle fenetre, const lisseur_import& lisseur) {
  terrain.reset();
  couleurs_photo = false;
  const std::int32_t k = degre;
  const bool couleurs = utiliser_photo && photo && photo->width() == largeur && photo->height() == hauteur;

  // The terrain.
  parametres.maillage = k;
  parametres.deformation = 0;
  parametres.photo_aerienne = couleurs ? 1 : 0;
  auto t = std::make_unique<Tmatrice>(parametres);
  const std::int32_t n = t->n;
  t->nombre_noeuds = static_cast<std::uint16_t>(n);

  const Projection proj(cadre, k);
  const Echelle e = echelle(*this);

  if (attente) {
    attente->take_focus();
    attente->demarrer(fenetre);
    attente->avancer("Importation doing ... ", 0);
  }
  const std::int32_t quantum = std::max(1, Round(static_cast<double>(n) * n * 0.025));
  std::int32_t compteur = 0;
  bool continuer = true;

  for (std::int32_t i = 2; i <= n - 2 && continuer; ++i)
    for (std::int32_t j = 2; i + j <= n; ++j) {
      if (attente) {
        attente->tester_annulation();
        if (cancel_requested(fenetre)) {
          continuer = false;
          break;
        }
        if (++compteur >= quantum) {
          attente->avancer(std::nullopt, 5);
          compteur = 0;
        }
      }
      if (couleurs) t->photo->ecrire(i, j, gris);
      std::int64_t x = 0, y = 0;
      double fx = 0, fy = 0;
      proj.point(i, j, x, y, fx, fy);
      if (x < 1 || x > largeur - 1 || y < 1 || y > hauteur - 1) continue;
      const std::int32_t xi = static_cast<std::int32_t>(x), yi = static_cast<std::int32_t>(y);
      std::uint32_t couleur = gris;
      if (couleurs) couleur = couleur_noeud(photo->at(xi, yi));
      std::int32_t h = interpoler(*this, xi, yi, fx, fy);
      if (lissage && !dem && xi >= 3 && xi < largeur - 2 && yi >= 3 && yi < hauteur - 2)
        h = sans_terrasses(*this, xi, yi, h);
      if (h == 0) h = -10;
      std::int64_t ecrite;
      if (dem) ecrite = Round((h - e.decalage) * e.S / cadre.f);
      else ecrite = static_cast<std::int64_t>(Round(h * e.S)) + minimum;
      ecrite = std::clamp<std::int64_t>(ecrite, std::numeric_limits<std::int32_t>::min(),
                                        std::numeric_limits<std::int32_t>::max());
      t->hauteurs->ecrire(i, j, static_cast<std::int32_t>(ecrite));
      if (couleurs) t->photo->ecrire(i, j, couleur);
    }

  // Smoothing of the whole terrain.
  if (lissage && k >= 7 && continuer) {
    std::int32_t force = k >= 9 ? 10 : 5;
    if (dem) force = Round(force * 0.5);
    const std::int32_t depart = Round(n * 0.333);
    t->debut_trace(depart, depart);
    arguments_outil a;
    a.outil = OUTIL_LISSAGE;
    a.largeur_base_debut = a.largeur_base_fin = 8000;
    a.valeur = force;
    a.altitude_initiale_debut = a.altitude_initiale_fin = -1000;
    a.altitude_finale_debut = a.altitude_finale_fin = 4000;
    controle_outil c;
    c.attente = attente;
    c.fenetre = fenetre;
    lisseur(*t, a, c);
    t->fin_trace();
  }

  couleurs_photo = couleurs && continuer;
  t->photo_presente = couleurs_photo ? 1 : 0;
  taille = n;
  terrain = std::move(t);
}
