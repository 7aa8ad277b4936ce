// The painter's order against a depth buffer: the facets a render drew are
// drawn again with the same coverage into a z-buffer, and the two pictures
// must agree on nearly every covered pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "model/aleatoire.h"
#include "tests/render/rendu_facettes.h"
#include "tests/support/terrains.h"

using namespace render;
using namespace essais;

namespace {

// A paraboloid hill with a ridge across the lattice in front of it.
std::unique_ptr<Tmatrice> colline_et_crete(int degre) {
  auto t = terrain_synthetique("paraboloid", degre, 1500);
  const int n = t->n;
  const int ic = n / 5;
  for (int i = 1; i <= n; ++i)
    for (int j = 1; i + j <= n + 1; ++j) {
      const int crete = 800 - 120 * std::abs(i - ic);
      if (crete > t->hauteurs->lire(i, j)) t->hauteurs->ecrire(i, j, crete);
    }
  return t;
}

// Share of covered pixels where the painter's picture equals the z-buffer picture.
double accord(const Bitmap& image, const std::vector<FacetteDessinee>& facettes) {
  const int w = image.width(), h = image.height();
  Picture<std::uint32_t> tampon(w, h, 0);
  std::vector<double> profondeur(std::size_t(w) * h, 0.0);
  std::vector<Pixel> couleur(std::size_t(w) * h, 0);
  for (std::size_t k = 0; k < facettes.size(); ++k) {
    const FacetteDessinee& f = facettes[k];
    const std::uint32_t marque = std::uint32_t(k + 1);
    const Pixel px = pixel_of(f.couleur);
    fill_triangle(tampon.surface(), f.ecran[0], f.ecran[1], f.ecran[2], Contour::simple, marque);
    std::int64_t x0 = w, x1 = -1, y0 = h, y1 = -1;
    for (const Point& p : f.ecran) {
      x0 = std::min<std::int64_t>(x0, p.x);
      x1 = std::max<std::int64_t>(x1, p.x);
      y0 = std::min<std::int64_t>(y0, p.y);
      y1 = std::max<std::int64_t>(y1, p.y);
    }
    x0 = std::max<std::int64_t>(x0, 0);
    y0 = std::max<std::int64_t>(y0, 0);
    x1 = std::min<std::int64_t>(x1, w - 1);
    y1 = std::min<std::int64_t>(y1, h - 1);
    // 1/d interpolated over the screen triangle.
    const double ax = f.ecran[0].x, ay = f.ecran[0].y, bx = f.ecran[1].x, by = f.ecran[1].y, cx = f.ecran[2].x,
                 cy = f.ecran[2].y;
    const double aire = (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
    const double ia = 1 / f.profondeur[0], ib = 1 / f.profondeur[1], ic = 1 / f.profondeur[2];
    for (std::int64_t y = y0; y <= y1; ++y)
      for (std::int64_t x = x0; x <= x1; ++x) {
        if (tampon.at(int(x), int(y)) != marque) continue;
        double inv = (ia + ib + ic) / 3;
        if (aire != 0) {
          const double l1 = ((x - ax) * (cy - ay) - (y - ay) * (cx - ax)) / aire;
          const double l2 = ((bx - ax) * (y - ay) - (by - ay) * (x - ax)) / aire;
          inv = ia + l1 * (ib - ia) + l2 * (ic - ia);
        }
        const double d = inv > 0 ? 1 / inv : 1e30;
        const std::size_t q = std::size_t(y) * w + std::size_t(x);
        if (profondeur[q] == 0.0 || d <= profondeur[q] * 1.01) {
          profondeur[q] = d;
          couleur[q] = px;
        }
      }
  }
  std::int64_t couverts = 0, egaux = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const std::size_t q = std::size_t(y) * w + std::size_t(x);
      if (profondeur[q] == 0.0) continue;
      ++couverts;
      if (couleur[q] == image.at(x, y)) ++egaux;
    }
  return couverts ? double(egaux) / double(couverts) : 1.0;
}

}  // namespace

TEST(OrdrePeintre, AgreesWithADepthBuffer) {
  auto t = colline_et_crete(7);
  for (bool detail : {false, true}) {
    double mini = 1.0, somme = 0.0;
    int vues = 0;
    for (int vertical : {10, 25, 40})
      for (int a = -180; a < 180; a += 15) {
        param_vue v = vue_defaut();
        v.distance = 15;
        v.angle_vertical = vertical;
        v.angle_horizontal = a;
        v.niveau_mer = -100;
        v.horizon = 0;
        v.brume = 0;
        v.foret = 0;
        v.ombre_portee = 0;
        v.premier_plan = detail;
        Releve r;
        Bitmap image;
        rendre(*t, v, image, 640, 480, &r);
        ASSERT_GT(r.facettes.size(), 1000u);
        const double part = accord(image, r.facettes);
        if (vertical == 25 && a == 30) deposer(image, detail ? "colline_detail" : "colline");
        if (!detail) EXPECT_GE(part, 0.97) << "vertical " << vertical << " azimuth " << a;
        mini = std::min(mini, part);
        somme += part;
        ++vues;
      }
    std::printf("painter's order vs depth buffer%s: minimum %.4f, mean %.4f over %d views\n",
                detail ? " (foreground detail)" : "", mini, somme / vues, vues);
  }
}
