#include "render/facettes.h"

#include <gtest/gtest.h>

#include "model/aleatoire.h"
#include "tests/render/rendu_facettes.h"
#include "tests/support/terrains.h"

using namespace render;
using namespace essais;

// Level ground faces up at every azimuth: back faces (ridges) stay a minority on
// a generated terrain and do not occur at all on flat land.
TEST(Facettes, RidgesStayAMinorityAtEveryAzimuth) {
  param_mat p = parametres_test(9);
  p.cle = 7;
  auto t = terrain_genere(p);
  auto plat = terrain_synthetique("flat", 9, 500);
  for (int a = -180; a <= 165; a += 15) {
    param_vue v = vue_defaut();
    v.angle_vertical = 30;
    v.angle_horizontal = a;
    Bitmap image;
    Releve r;
    r.garder = false;
    rendre(*t, v, image, 640, 480, &r);
    deposer(image, "genere_" + std::to_string(a + 180));
    EXPECT_GT(r.totaux.facettes, 10000) << a;
    EXPECT_LT(2 * r.totaux.cretes, r.totaux.facettes) << a;
    // Flat land: ridges only on the skirts where triangles reach outside the
    // lattice and drop to the sea level.
    Releve rp;
    rendre(*plat, v, image, 640, 480, &rp);
    const int n = plat->n, s = 3;
    int interieures = 0;
    for (const FacetteDessinee& f : rp.facettes)
      if (f.genre == GenreFacette::crete && f.cellule_i > 2 * s && f.cellule_j > 2 * s &&
          f.cellule_i + f.cellule_j < n - 2 * s)
        ++interieures;
    EXPECT_EQ(interieures, 0) << a;
    EXPECT_GT(rp.totaux.facettes, 10000) << a;
  }
}
