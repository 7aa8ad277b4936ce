#include "model/defauts.h"

#include <cstdlib>

#include "model/aleatoire.h"

void valeurs_defaut_vue(param_vue& v) {
  v.angle_vertical = 12;
  v.angle_horizontal = 10;
  v.niveau_mer = 0;
  v.niveau_herbe = 300;
  v.niveau_rocher = 1200;
  v.niveau_neige = 2000;
  v.delta_neige = 400;
  v.zone_recouvrement = 500;
  v.hauteur_sable = 0;
  v.diversite_couleurs = 0;
  v.strates = 0;
  v.neige_soleil = 0;
  v.contraste = 44;
  v.profondeur_ombre = 20;
  v.couleurs_defaut = 1;
  v.foret = 0;
  v.detail_arbres = 0;
  v.detail_plus = 0;
  for (espece_arbres& a : v.arbres) {
    a.espece = 0;
    a.diversite = 2;
    a.couleur = 1;
    a.hauteur = 25;
    a.largeur = 5;
    a.taille_feuilles = 7;
    a.largeur_feuilles = 5;
    a.hauteur_tronc = 5;
    a.largeur_tronc = 5;
    a.poids_branches = 20;
    a.taux_croissance = 5;
    a.interdit_herbe = 0;
    a.interdit_terre = 0;
    a.interdit_rocher = 0;
  }
  v.elevation_soleil = 50;
  v.azimut_soleil = 90;
  v.distance = 25000 * 2 * 0.001;
  v.maillage_filaire = 0;
  v.deformation = 1;
  v.premier_plan = 0;
  v.profondeur_details = 1;
  v.rugosite = 5;
  v.echelle_fixe = 1;
  v.ombre_portee = 0;
  v.observateur_place = 0;
  v.hauteur_observateur = 100;
  v.brume = 0;
  v.hauteur_brume = 4000;
  v.type_ciel = 0;
  v.fichier_ciel.clear();
  v.horizon = 0;
  v.hauteur_horizon = 0;
  v.nombre_nuages = 2;
  v.taille_nuages = 5;
  v.hauteur_nuages = 10;
  v.seed_nuages = 1;
  v.alea_nuages = 0;
  v.orageux = 0;
  v.reflet = 0;
  v.agitation_mer = 0;
  v.taux_reflet = 10;
  v.brume_densite = 25;
  v.dim_predef = 0;
  v.neige_arbres = 1;
  v.photo_aerienne = 0;
  v.masque = 0;
  v.transparence = 0;
  v.masque_rvb = {255, 255, 255};
  v.tolerance_masque = 10;
  v.largeur_image = 640;
  v.hauteur_image = 480;
  v.zoom = 10;
  v.centre_x = 0;
  v.centre_y = 0;
  v.taille = 10;
  v.type_image = 1;
  v.couleurs = {{{211, 176, 60},
                 {157, 206, 80},
                 {192, 173, 173},
                 {157, 176, 86},
                 {197, 206, 96},
                 {255, 255, 255},
                 {255, 225, 0},
                 {90, 90, 225},
                 {168, 206, 235},
                 {128, 100, 40}}};
}

void valeurs_defaut_matrice(param_mat& p) {
  p.maillage = 7;
  p.relief = 50;
  p.erosion = 20;
  p.profil = 7;
  p.profils_iter.fill(2);
  p.altitude_erosion = 7;
  p.taux_lissage = 7;
  p.iles = 0;
  p.cuvette = 0;
  p.etalement = 1;
  p.rivage = 10;
  p.rivage_actif = 0;
  p.hauteur_rivage = 30;
  p.gradins = 0;
  p.nombre_gradins = 4;
  p.pente_gradins = 4;
  p.terrasse = 0;
  p.oriente = 0;
  p.hauteur_plis = 10;
  p.deformation = 0;
  p.degre_deformation = 30;
  p.photo_aerienne = 0;
  for (couche_arbres& c : p.couches) {
    c.annulee = 0;
    c.nombre = 5;
    c.pente_mini = 0;
    c.pente_maxi = 80;
    c.niveau_mini = 100;
    c.niveau_maxi = 3000;
    c.transition = Round(std::abs(c.niveau_maxi - c.niveau_mini) * 0.25);
    c.groupes = 0;
  }
}
