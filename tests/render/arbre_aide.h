// Layers, views and generation settings shared by the tree tests.
#pragma once

#include <memory>

#include "render/arbre.h"

inline espece_arbres couche_type(int espece) {
  espece_arbres c;
  c.espece = espece;
  c.diversite = 2;
  c.couleur = 1;
  c.hauteur = 25;
  c.largeur = 5;
  c.taille_feuilles = 7;
  c.largeur_feuilles = 5;
  c.hauteur_tronc = 5;
  c.largeur_tronc = 5;
  c.poids_branches = 20;
  c.taux_croissance = 5;
  return c;
}

inline param_vue vue_type() {
  param_vue v;
  v.detail_arbres = 1;
  v.distance = 5;
  v.azimut_soleil = 90;
  v.elevation_soleil = 50;
  return v;
}

struct reglage {
  double facteur_vue = 0.8, centre = 0.5, a = 0.2, b = 0.7;
  double lumiere_hauteur = 0.7, lumiere_face = 0.5, rotation = 0;
  std::uint16_t degre = 7;
  std::int32_t graine = 100;
  WindowHandle fenetre = 0;
  ProgressSink* attente = nullptr;
};

inline std::unique_ptr<Tarbre> generer(const param_vue& vue, const espece_arbres& couche, std::int32_t variantes,
                                       bool detail = false, const reglage& r = {}, bool* annule_out = nullptr) {
  auto a = Tarbre::creer(vue, detail, variantes, couche);
  bool annule = true;
  a->generer_arbre(vue, couche, r.facteur_vue, r.centre, r.lumiere_hauteur, r.lumiere_face, r.rotation, 1.0, r.degre,
                   r.graine, r.fenetre, r.attente, annule, r.a, r.b);
  if (annule_out) *annule_out = annule;
  return a;
}

// The species' highest level in one variant, as the drawer's close-up asks.
inline std::unique_ptr<Tarbre> generer_detaille(const espece_arbres& couche, const reglage& r = {},
                                                param_vue vue = vue_type()) {
  const int plus_haut[9] = {1, 7, 6, 7, 7, 4, 4, 4, 4};
  return generer(vue, couche, -plus_haut[couche.espece], true, r);
}
