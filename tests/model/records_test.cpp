#include "model/records.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string premiere_couleur_et_ciel(param_vue v) {
  return v.fichier_ciel + "/" + std::to_string(v.couleurs[COULEUR_TERRE].r) + "/" + std::to_string(v.type_ciel);
}

}  // namespace

TEST(Records, CopiesAreIndependent) {
  param_mat source;
  EXPECT_TRUE(source.texte[0].empty());
  EXPECT_EQ(source.maillage, 0);
  EXPECT_EQ(source.cible[1], 0.0);

  param_mat vide = source;
  EXPECT_TRUE(vide.texte[10].empty());

  source.texte[3] = "Line three";
  source.couches[2].nombre = 120;
  param_mat copie = source;
  copie.texte[3] += " changed";
  copie.texte[0] = "first";
  copie.couches[2].nombre = 7;
  EXPECT_EQ(source.texte[3], "Line three");
  EXPECT_TRUE(source.texte[0].empty());
  EXPECT_EQ(source.couches[2].nombre, 120);

  Param_video video;
  video.vue.fichier_ciel = "ciels/nuage.jpg";
  video.bezier_x[12] = -1;
  Param_video autre = video;
  autre.vue.fichier_ciel.clear();
  autre.bezier_x[12] = 4;
  EXPECT_EQ(video.vue.fichier_ciel, "ciels/nuage.jpg");
  EXPECT_EQ(video.bezier_x[12], -1);

  Type_matrice slot;
  slot.nom = "Alps";
  slot.parametres.texte[1] = "comment";
  Type_matrice slot2 = slot;
  slot2.nom = "Andes";
  slot2.parametres.texte[1] = "other";
  EXPECT_EQ(slot.nom, "Alps");
  EXPECT_EQ(slot.parametres.texte[1], "comment");
}

TEST(Records, ViewPartOfVideoIsAView) {
  Param_video video;
  video.vue.fichier_ciel = "sky.jpg";
  video.vue.couleurs[COULEUR_TERRE] = Rgb{200, 1, 2};
  video.vue.type_ciel = 2;
  EXPECT_EQ(premiere_couleur_et_ciel(video.vue), "sky.jpg/200/2");
}

TEST(Records, SlotNameIsCutPathIsKept) {
  Type_matrice slot;
  const std::string chemin = "/home/user/" + std::string(289, 'p');
  ASSERT_EQ(chemin.size(), 300u);
  slot.fichier = chemin;
  EXPECT_EQ(slot.fichier, chemin);

  std::string nom;
  for (int k = 0; k < 100; ++k) nom += static_cast<char>('a' + k % 26);
  slot.nom = nom;
  EXPECT_EQ(slot.nom.size(), 60u);
  EXPECT_EQ(slot.nom.str(), nom.substr(0, 60));

  chaine_bornee<60> construit(nom);
  EXPECT_EQ(construit.str(), nom.substr(0, 60));
  slot.nom = std::string(60, 'x');
  EXPECT_EQ(slot.nom.size(), 60u);
  slot.nom = "";
  EXPECT_TRUE(slot.nom.empty());
}
