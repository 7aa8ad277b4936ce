// Field-by-field comparison of the parameter records, for the tests.
#pragma once

#include <gtest/gtest.h>

#include "model/records.h"

#define QV_CHAMP(a, b, f) EXPECT_EQ((a).f, (b).f) << #f

inline void comparer_section_matrice(const param_mat& a, const param_mat& b) {
  QV_CHAMP(a, b, relief); QV_CHAMP(a, b, maillage); QV_CHAMP(a, b, profil);
  QV_CHAMP(a, b, profils_iter); QV_CHAMP(a, b, altitude_erosion); QV_CHAMP(a, b, taux_lissage);
  QV_CHAMP(a, b, erosion); QV_CHAMP(a, b, iles); QV_CHAMP(a, b, cuvette); QV_CHAMP(a, b, etalement);
  QV_CHAMP(a, b, rivage_actif); QV_CHAMP(a, b, rivage); QV_CHAMP(a, b, hauteur_rivage);
  QV_CHAMP(a, b, gradins); QV_CHAMP(a, b, nombre_gradins); QV_CHAMP(a, b, pente_gradins);
  QV_CHAMP(a, b, terrasse); QV_CHAMP(a, b, oriente); QV_CHAMP(a, b, hauteur_plis);
  QV_CHAMP(a, b, deformation); QV_CHAMP(a, b, degre_deformation); QV_CHAMP(a, b, photo_aerienne);
  for (std::size_t n = 0; n < 4; ++n) {
    SCOPED_TRACE(n);
    QV_CHAMP(a, b, couches[n].annulee); QV_CHAMP(a, b, couches[n].nombre);
    QV_CHAMP(a, b, couches[n].pente_mini); QV_CHAMP(a, b, couches[n].pente_maxi);
    QV_CHAMP(a, b, couches[n].niveau_mini); QV_CHAMP(a, b, couches[n].niveau_maxi);
    QV_CHAMP(a, b, couches[n].transition); QV_CHAMP(a, b, couches[n].groupes);
  }
}

inline void comparer_matrice(const param_mat& a, const param_mat& b) {
  comparer_section_matrice(a, b);
  QV_CHAMP(a, b, texte); QV_CHAMP(a, b, cle); QV_CHAMP(a, b, alea);
  QV_CHAMP(a, b, cible); QV_CHAMP(a, b, observateur);
}

// Everything but the distance (compared to `tolerance_distance`) and the sky path.
inline void comparer_vue(const param_vue& a, const param_vue& b, double tolerance_distance = 0) {
  QV_CHAMP(a, b, angle_vertical); QV_CHAMP(a, b, angle_horizontal); QV_CHAMP(a, b, niveau_mer);
  QV_CHAMP(a, b, niveau_herbe); QV_CHAMP(a, b, niveau_rocher); QV_CHAMP(a, b, niveau_neige);
  QV_CHAMP(a, b, delta_neige); QV_CHAMP(a, b, diversite_couleurs); QV_CHAMP(a, b, zone_recouvrement);
  QV_CHAMP(a, b, hauteur_sable); QV_CHAMP(a, b, elevation_soleil); QV_CHAMP(a, b, azimut_soleil);
  EXPECT_NEAR(a.distance, b.distance, tolerance_distance) << "distance";
  QV_CHAMP(a, b, maillage_filaire); QV_CHAMP(a, b, premier_plan); QV_CHAMP(a, b, brume_densite);
  QV_CHAMP(a, b, rugosite); QV_CHAMP(a, b, neige_soleil); QV_CHAMP(a, b, strates);
  QV_CHAMP(a, b, deformation); QV_CHAMP(a, b, echelle_fixe); QV_CHAMP(a, b, ombre_portee);
  QV_CHAMP(a, b, observateur_place); QV_CHAMP(a, b, hauteur_observateur); QV_CHAMP(a, b, brume);
  QV_CHAMP(a, b, hauteur_brume); QV_CHAMP(a, b, type_ciel); QV_CHAMP(a, b, horizon);
  QV_CHAMP(a, b, hauteur_horizon); QV_CHAMP(a, b, nombre_nuages); QV_CHAMP(a, b, taille_nuages);
  QV_CHAMP(a, b, hauteur_nuages); QV_CHAMP(a, b, seed_nuages); QV_CHAMP(a, b, alea_nuages);
  QV_CHAMP(a, b, orageux); QV_CHAMP(a, b, reflet); QV_CHAMP(a, b, agitation_mer);
  QV_CHAMP(a, b, taux_reflet); QV_CHAMP(a, b, profondeur_details); QV_CHAMP(a, b, type_image);
  QV_CHAMP(a, b, taille); QV_CHAMP(a, b, centre_x); QV_CHAMP(a, b, centre_y); QV_CHAMP(a, b, contraste);
  QV_CHAMP(a, b, profondeur_ombre); QV_CHAMP(a, b, couleurs_defaut); QV_CHAMP(a, b, foret);
  QV_CHAMP(a, b, detail_arbres); QV_CHAMP(a, b, detail_plus); QV_CHAMP(a, b, zoom);
  QV_CHAMP(a, b, dim_predef); QV_CHAMP(a, b, neige_arbres); QV_CHAMP(a, b, photo_aerienne);
  QV_CHAMP(a, b, masque); QV_CHAMP(a, b, masque_rvb); QV_CHAMP(a, b, tolerance_masque);
  QV_CHAMP(a, b, transparence); QV_CHAMP(a, b, largeur_image); QV_CHAMP(a, b, hauteur_image);
  QV_CHAMP(a, b, couleurs);
  for (std::size_t n = 0; n < 6; ++n) {
    SCOPED_TRACE(n);
    QV_CHAMP(a, b, arbres[n].espece); QV_CHAMP(a, b, arbres[n].diversite);
    QV_CHAMP(a, b, arbres[n].couleur); QV_CHAMP(a, b, arbres[n].hauteur);
    QV_CHAMP(a, b, arbres[n].largeur); QV_CHAMP(a, b, arbres[n].taille_feuilles);
    QV_CHAMP(a, b, arbres[n].largeur_feuilles); QV_CHAMP(a, b, arbres[n].hauteur_tronc);
    QV_CHAMP(a, b, arbres[n].largeur_tronc); QV_CHAMP(a, b, arbres[n].poids_branches);
    QV_CHAMP(a, b, arbres[n].taux_croissance); QV_CHAMP(a, b, arbres[n].interdit_rocher);
    QV_CHAMP(a, b, arbres[n].interdit_terre); QV_CHAMP(a, b, arbres[n].interdit_herbe);
  }
}

inline void comparer_section_video(const Param_video& a, const Param_video& b) {
  QV_CHAMP(a, b, nombre_images); QV_CHAMP(a, b, type_video); QV_CHAMP(a, b, type_trajectoire);
  QV_CHAMP(a, b, largeur_image); QV_CHAMP(a, b, hauteur_image); QV_CHAMP(a, b, detail);
  QV_CHAMP(a, b, centre_cercle_x); QV_CHAMP(a, b, centre_cercle_y); QV_CHAMP(a, b, rayon_cercle);
  QV_CHAMP(a, b, angle_vision); QV_CHAMP(a, b, point_vise_x); QV_CHAMP(a, b, point_vise_y);
  QV_CHAMP(a, b, point_vise_fixe); QV_CHAMP(a, b, distance_point_vise); QV_CHAMP(a, b, zoom_video);
  QV_CHAMP(a, b, premiere_image); QV_CHAMP(a, b, derniere_image); QV_CHAMP(a, b, bezier_altitude);
  QV_CHAMP(a, b, bezier_x); QV_CHAMP(a, b, bezier_y);
}

#undef QV_CHAMP
