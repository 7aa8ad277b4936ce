#include "model/matrice.h"

#include "model/rangees.h"
#include "model/presse_papier.h"

#include <algorithm>
#include <string>
#include <vector>

#include "model/aleatoire.h"
#include "model/erreur.h"
#include "model/parallele.h"

namespace {

constexpr std::array<std::int32_t, 12> puissances_de_deux = {1, 2, 4, 8, 16, 32, 64, 128, 256, 512, 1024, 2048};

void poser_point(point_terrain& p, double x, double y, double hauteur) {
  p.x = x;
  p.y = y;
  p.px = facteur_plan * x;
  p.py = p.px / 2 + y;
  p.hauteur = hauteur;
}

// Grid node of a point fraction, Round(n x), kept within 0..n: a document may
// hold fractions outside 0..1 (they stay in it), but the nodes derived from
// them never lead far outside the lattice nor overflow.
std::int32_t noeud_de_fraction(std::int32_t n, double fraction) {
  const double v = n * fraction;
  if (!(v > 0)) return 0;  // NaN included
  if (v >= n) return n;
  return Round(v);
}

// Pen of a river step: blue for a river, white to rub it out.
void regler_crayon(MapCanvas* carte, bool visible, int largeur) {
  if (carte) carte->set_pen(visible ? Rgb{0, 0, 255} : Rgb{255, 255, 255}, largeur);
}

void aller(MapCanvas* carte, bool trait, int x, int y) {
  if (!carte) return;
  if (trait)
    carte->line_to(x, y);
  else
    carte->move_to(x, y);
}

}  // namespace

Tmatrice::Tmatrice(param_mat p) {
  if (p.maillage < 4 || p.maillage > 11)
    throw ModelError("mesh degree " + std::to_string(p.maillage) + " out of 4..11");

  // 1. Generation parameters.
  couches = p.couches;
  relief = p.relief;
  taux_deformation = p.degre_deformation * 0.005;
  degre = static_cast<std::uint16_t>(p.maillage);
  profil = p.profil;
  exposant_erosion = p.erosion / 12.0;
  altitude_erosion = p.altitude_erosion;
  taux_lissage = p.taux_lissage;
  iles = p.iles;
  etat_rendu.resultat_ciel = 1;

  // 2. Level weights, kept in 16 bits as the documents have always done.
  for (int l = 3; l <= 10; ++l) {
    const std::int64_t w = p.profils_iter[static_cast<std::size_t>(l - 3)];
    poids_niveaux[static_cast<std::size_t>(l)] = static_cast<std::int16_t>(w * w);
  }

  // 3. Shapes, shore, folds, terraces and key.
  cuvette = p.cuvette;
  etalement = p.etalement;
  rivage = p.rivage_actif ? p.rivage : 0;
  hauteur_rivage = p.hauteur_rivage;
  plis = p.oriente ? p.hauteur_plis : 0;
  gradins = p.gradins;
  nombre_gradins = p.nombre_gradins;
  terrasse = p.terrasse;
  pente_gradins = p.pente_gradins;
  cle = p.cle;
  nouvelle_cle = p.alea;

  // 4. Points.
  poser_point(cible, p.cible[0], p.cible[1], 0.0);
  poser_point(observateur, p.observateur[0], p.observateur[1], 0.0);

  // 5. Lattice size and grid nodes of the points.
  n = puissances_de_deux[degre] + 1;
  cible_i = noeud_de_fraction(n, cible.x);
  cible_j = noeud_de_fraction(n, cible.y);
  observateur_i = noeud_de_fraction(n, observateur.x);
  observateur_j = noeud_de_fraction(n, observateur.y);

  // 6. Layers.
  hauteurs = std::make_unique<Tnoeud>(n);
  deformation = p.deformation;
  photo_presente = p.photo_aerienne;
  photo_enregistree = p.photo_aerienne;
  if (photo_presente) photo = std::make_unique<Tphoto>(n);
  if (deformation) {
    dx = std::make_unique<Tcooleen>(n);
    dy = std::make_unique<Tcooleen>(n);
  }

  // 7. Flat ground, no shift.
  for (std::int32_t j = 1; j <= n; ++j)
    for (std::int32_t i = 1; i <= n + 1 - j; ++i) {
      hauteurs->ecrire(i, j, 0);
      if (deformation) {
        dx->ecrire(i, j, 128);
        dy->ecrire(i, j, 128);
      }
    }

  // 8. Nothing drawn yet.
  zone_modifiee = {0, n + 1, 0, n + 1};
  marquer_modifiee();

  // 9. Empty list and trace, default brushes.
  nombre_elements = 0;
  nombre_annulation = 0;
  dernier_point = 0;
  fixer_arbre_courant(5, 63);
  fixer_sol_courant(1, 1);
  trace_active = 0;
  redessiner_tout = 1;

  // 10. Capacities.
  capacite_liste = std::min(32 * n + 1, 32768);
  especes_presentes.fill(0);
  capacite_trace = 16 * n + 1;
  niveau_presse_papier = 500;

  // 11. The feature list.
  const auto c = static_cast<std::size_t>(capacite_liste);
  liste_i.assign(c, 0);
  liste_j.assign(c, 0);
  liste_type.assign(c, 0);
  liste_attribut.assign(c, 0);
}

Tmatrice::~Tmatrice() = default;

void Tmatrice::fixer_arbre_courant(std::uint16_t espece, std::uint16_t taille) {
  arbre_courant = espece;
  taille_arbre = taille;
}

void Tmatrice::fixer_sol_courant(std::uint16_t espece, std::uint16_t largeur) {
  sol_courant = espece;
  largeur_sol = largeur;
}

void Tmatrice::ajouter_photo() {
  photo_presente = 1;
  photo = std::make_unique<Tphoto>(n);
}

std::int32_t Tmatrice::hauteur_max() const {
  const std::uint64_t e = hauteurs->empreinte();
  const std::int32_t m = nombre_noeuds;
  if (hauteur_max_gardee.empreinte == e && hauteur_max_gardee.noeuds == m) return hauteur_max_gardee.valeur;
  const std::int32_t taille = hauteurs->n();
  // Nodes beyond the array's own triangle read -4000 and cannot win. Rows of
  // the array in memory order, by blocks of rows on several cores for large
  // lattices; the highest of the blocks' highest is the same whatever the order.
  const std::int32_t rangees = std::min(m, taille);
  constexpr std::int32_t kBloc = 64;
  const std::int32_t blocs = std::max(0, (rangees + kBloc - 1) / kBloc);
  std::vector<std::int32_t> maxima(static_cast<std::size_t>(blocs), -1000);
  model::repartir(blocs, [&](std::int32_t b) {
    std::int32_t h = -1000;
    for (std::int32_t j = b * kBloc + 1; j <= std::min(rangees, (b + 1) * kBloc); ++j) {
      const std::int32_t i_max = std::min(m, taille + 1 - j);
      if (i_max >= 1) h = model::maximum_rangee(hauteurs->rangee(j) + 1, i_max, h);
    }
    maxima[static_cast<std::size_t>(b)] = h;
  }, 0.7 * rangees * (rangees + 1) / 2,  // some 0.7 ns a node
  [&](std::int32_t b) {
    std::int32_t noeuds = 0;
    for (std::int32_t j = b * kBloc + 1; j <= std::min(rangees, (b + 1) * kBloc); ++j) noeuds += std::max(0, std::min(m, taille + 1 - j));
    return noeuds;
  });
  std::int32_t h = -1000;
  for (const std::int32_t v : maxima) h = std::max(h, v);
  hauteur_max_gardee = {e, m, h};
  return h;
}

void Tmatrice::poser_rivage() {
  for (std::int32_t k = 1; k <= n; ++k) {
    hauteurs->ecrire(1, k, -1000);
    hauteurs->ecrire(k, 1, -1000);
    hauteurs->ecrire(k, n + 1 - k, -1000);
  }
}

void Tmatrice::marquer_modifiee() {
  zone_precedente = zone_modifiee;
  zone_modifiee = {0, n + 1, 0, n + 1};
  redessiner_tout = 1;
}

void Tmatrice::placer_cible(double x, double y, double hauteur) {
  poser_point(cible, x, y, hauteur);
  cible_i = noeud_de_fraction(nombre_noeuds, x);
  cible_j = noeud_de_fraction(nombre_noeuds, y);
}

void Tmatrice::placer_observateur(double x, double y, double hauteur) {
  poser_point(observateur, x, y, hauteur);
  observateur_i = noeud_de_fraction(nombre_noeuds, x);
  observateur_j = noeud_de_fraction(nombre_noeuds, y);
}

void Tmatrice::rafraichir_points() {
  cible.hauteur = hauteurs->lire(cible_i, cible_j);
  observateur.hauteur = hauteurs->lire(observateur_i, observateur_j);
}

void Tmatrice::initialiser_apres_import() {
  if (degre >= puissances_de_deux.size()) throw ModelError("mesh degree " + std::to_string(degre) + " out of 0..11");
  pas = static_cast<std::uint16_t>(puissances_de_deux[degre]);
  nombre_noeuds = static_cast<std::uint16_t>(pas + 1);
  amplitude = 4000;
  rafraichir_points();
  nombre_elements = 0;
  if (degre > 5) poser_rivage();
}

void Tmatrice::charger_apercu() {
  // Walks the pairs of this terrain's size; the walk ends when the sample is
  // used up, so a terrain larger than degree 5 is filled only in part.
  if (degre >= puissances_de_deux.size()) throw ModelError("mesh degree " + std::to_string(degre) + " out of 0..11");
  std::size_t k = 0;
  for (std::int32_t i = 0; i <= n && k < echantillon_apercu.size(); ++i)
    for (std::int32_t j = 0; j <= n && i + j <= n + 1 && k < echantillon_apercu.size(); ++j)
      hauteurs->ecrire(i, j, echantillon_apercu[k++]);
  pas = static_cast<std::uint16_t>(puissances_de_deux[degre]);
  nombre_noeuds = static_cast<std::uint16_t>(pas + 1);
  amplitude = 4000;
}

void Tmatrice::tracer_riviere(std::int32_t i, std::int32_t j, std::int32_t largeur, bool trait, bool visible,
                              MapCanvas* carte_1, MapCanvas* carte_2) {
  const double p = puissances_de_deux.at(degre);
  const double a = (i - 1) / (p / 346.0);
  const std::int32_t y = Round(346.0 - a / 1.04);
  const std::int32_t x = Round((j - 1) / (p / 386.0) + a * (386.0 / 346.0 * 0.5) + 20.0);
  const bool fin = largeur < 6;
  regler_crayon(carte_1, visible, fin ? 1 : 2);
  regler_crayon(carte_2, visible, fin ? 2 : 4);
  aller(carte_1, trait, x, y);
  aller(carte_2, trait, 2 * x, 2 * y);
}
