// Pins the exact tree models and drawings of today's generator: every species,
// several sizes and tilts, the close-up model and the drawn pixels. A rewrite of
// the generator must reproduce them bit for bit, random draws included.
#include <gtest/gtest.h>

#include "exemples/arbres_dessin.h"
#include "tests/render/arbre_aide.h"
#include "tests/support/empreinte.h"

namespace {

void empreinte_modele(Empreinte& e, const Tarbre& t) {
  e.valeur(t.niveau);
  e.valeur(t.nb_variantes);
  e.valeur(t.echelle);
  for (int k = 1; k <= t.nb_variantes; ++k) {
    const auto kv = static_cast<std::size_t>(k - 1);
    e.valeur(t.pied_x[kv]);
    e.valeur(t.pied_y[kv]);
    e.valeur(t.pied_largeur[kv]);
    for (int l = 1; l <= t.niveau; ++l) {
      e.valeur(t.etendue[kv][static_cast<std::size_t>(l)]);
      for (const segment& s : t.segments_de(k, l)) {
        for (double d : {s.x1, s.y1, s.x2, s.y2, s.profondeur, s.largeur, s.dir_x, s.dir_y, s.longueur}) e.valeur(d);
        e.valeur(s.teinte);
        e.valeur(s.genre);
        e.valeur(s.rang);
      }
    }
  }
}


}  // namespace

// Every species at three distances and three variant counts, with the seed,
// tilts, light and terrain degree varied between them.
TEST(EmpreinteArbres, ModelsOfEverySpeciesAndSize) {
  Empreinte e;
  for (int espece = 1; espece <= 8; ++espece)
    for (double distance : {3.0, 10.0, 25.0})
      for (int variantes : {1, 6, 24}) {
        param_vue v = vue_type();
        v.distance = distance;
        v.azimut_soleil = distance > 20 ? -120 : 90;
        espece_arbres c = couche_type(espece);
        c.hauteur = distance < 5 ? 35 : 25;
        c.poids_branches = distance > 20 ? 20 : 30;
        reglage r;
        r.graine = 100 + espece * 7 + variantes;
        r.degre = distance > 20 ? 6 : 7;
        r.lumiere_face = distance > 20 ? -0.4 : 0.5;
        auto t = generer(v, c, variantes, false, r);
        empreinte_modele(e, *t);
      }
  EXPECT_EQ(hexa(e.valeur()), "0x7af081a076a0c0c2ull");
}

// The drawer's close-up model, at each species' highest level.
TEST(EmpreinteArbres, CloseUpModels) {
  Empreinte e;
  for (int espece = 1; espece <= 8; ++espece) {
    auto t = generer_detaille(couche_type(espece));
    empreinte_modele(e, *t);
  }
  EXPECT_EQ(hexa(e.valeur()), "0x3880d8e4350e9c8dull");
}

// The drawn pixels: the species sheet at three sizes, and single trees close
// up, in outline and in shadow.
TEST(EmpreinteArbres, DrawnPixels) {
  Empreinte e;
  e.tableau(planche_arbres().pixels());
  for (int espece = 1; espece <= 8; ++espece) {
    ArbreSeul a;
    a.couche = couche_defaut(espece);
    a.distance = 3;
    a.taille = 150;
    a.numero = espece;
    e.tableau(image_arbre(a).pixels());
    a.au_trait = true;
    a.ombre = true;
    a.inclinaison = -0.3;
    a.taille = 60;
    e.tableau(image_arbre(a).pixels());
  }
  EXPECT_EQ(hexa(e.valeur()), "0xb1e9edbf113856f0ull");
}
