#include "exemples/arbres_dessin.h"

#include <cmath>

#include "model/defauts.h"

void planter_foret(Tmatrice& m, int nombre) {
  std::array<couche_arbres, 4> c{};
  for (couche_arbres& k : c) {
    k.nombre = nombre;
    k.niveau_mini = 0;
    k.niveau_maxi = 4000;
    k.transition = 100;
    k.pente_maxi = 80;
  }
  m.creer_arbres(c, nullptr, 0);
}

param_vue vue_foret() {
  param_vue v;
  valeurs_defaut_vue(v);
  v.foret = 1;
  for (int L = 0; L < 4; ++L) v.arbres[std::size_t(L)].espece = L + 1;
  return v;
}

espece_arbres couche_defaut(int espece) {
  param_vue v;
  valeurs_defaut_vue(v);
  espece_arbres c = v.arbres[0];
  c.espece = espece;
  return c;
}

std::unique_ptr<Tarbre> modele_seul(const ArbreSeul& a) {
  param_vue vue;
  valeurs_defaut_vue(vue);
  vue.distance = a.distance;
  vue.detail_arbres = a.detail_arbres;
  vue.detail_plus = a.detail_plus;
  vue.premier_plan = a.premier_plan;
  auto t = Tarbre::creer(vue, false, a.variantes, a.couche);
  const double s = std::clamp(a.inclinaison, -1.0, 1.0), angle = std::asin(s);
  const double e = vue.elevation_soleil * 3.14159265358979323846 / 180;
  const double z = vue.azimut_soleil * 3.14159265358979323846 / 180;
  bool annule = false;
  t->generer_arbre(vue, a.couche, std::cos(angle), s, std::cos(e - angle), std::cos(z), 1.0, 0.0, 7, 1, 0, nullptr,
                   annule, s, s);
  return t;
}

void dessiner_seul(Tarbre& t, const ArbreSeul& a, render::CanevasArbre& cv, const TMyPalette& palette,
                   render::Point pied) {
  bool annule = false;
  t.dessiner_arbre(pied, std::uint16_t(a.eclairement), a.taille, a.neige, a.ombre, std::uint16_t(a.sol), 4,
                   std::uint16_t(a.brume), cv, palette, a.au_trait, a.numero, a.inclinaison, nullptr, 0, annule, false);
}

namespace {
TMyPalette palette_arbres() {
  param_vue vue;
  valeurs_defaut_vue(vue);
  return palette_pour_vue(vue);
}
}  // namespace

render::Bitmap image_arbre(const ArbreSeul& a, int largeur, int hauteur) {
  const TMyPalette palette = palette_arbres();
  render::Bitmap image(largeur, hauteur, render::pixel_of(palette.lire_couleur(1)));
  auto t = modele_seul(a);
  render::CanevasImage cv(image.surface());
  dessiner_seul(*t, a, cv, palette, {largeur / 2, hauteur - 10});
  return image;
}

render::Bitmap planche_arbres() {
  const TMyPalette palette = palette_arbres();
  const int colonne = 160;
  render::Bitmap image(8 * colonne, 420, render::pixel_of(palette.lire_couleur(1)));
  render::CanevasImage cv(image.surface());
  for (int e = 1; e <= 8; ++e) {
    ArbreSeul a;
    a.couche = couche_defaut(e);
    a.variantes = 6;
    const int x = (e - 1) * colonne + colonne / 2;
    const double tailles[3] = {4, 12, 48};
    const int pieds[3] = {60, 140, 410};
    auto t = modele_seul(a);
    for (int k = 0; k < 3; ++k) {
      a.taille = tailles[k];
      dessiner_seul(*t, a, cv, palette, {x, pieds[k]});
    }
  }
  return image;
}
