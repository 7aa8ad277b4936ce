#include "render/facettes.h"

#include <gtest/gtest.h>

#include "model/aleatoire.h"
#include "tests/render/rendu_facettes.h"
#include "tests/support/terrains.h"

using namespace render;
using namespace essais;

TEST(Apercu, Pictures) {
  param_mat p = parametres_test(9);
  p.cle = 7;
  auto t = terrain_genere(p);
  for (int a : {-180, -90, 0, 90}) {
    param_vue v = vue_defaut();
    v.angle_vertical = 30;
    v.angle_horizontal = a;
    Bitmap image;
    Releve r;
    rendre(*t, v, image, 640, 480, &r);
    deposer(image, "genere_" + std::to_string(a + 180));
    std::printf("A %d facettes %lld cretes %lld eau %lld\n", a, (long long)r.totaux.facettes,
                (long long)r.totaux.cretes, (long long)r.totaux.eau);
  }
}
