// Tree placement: fills the feature list with the trees of the four creation
// layers, reproducibly from the generation key.

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "model/aleatoire.h"
#include "model/matrice.h"

namespace {

// Slope measure of node (i, j) of height h: the mean height difference to the
// neighbours inside the lattice, over the lattice spacing, doubled.
double pente_locale(const Tmatrice& m, std::int32_t h, std::int32_t i, std::int32_t j) {
  static constexpr std::int32_t voisins[6][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, -1}, {-1, 1}};
  std::int32_t c = 1;
  std::int64_t somme = 0;
  for (const auto& v : voisins) {
    const std::int32_t g = m.hauteurs->lire(i + v[0], j + v[1]);
    if (g > -2000) {
      ++c;
      somme += g > h ? g - h : h - g;
    }
  }
  const double maille = static_cast<double>(c * 8000) / static_cast<double>(m.nombre_noeuds + 1);
  return static_cast<double>(2 * somme) / maille;
}

// Counts, per layer, the trees appended by this run at each node, leaving
// out entry 0 of the list, so that the grouping test need not scan the list.
class voisinage_arbres {
 public:
  explicit voisinage_arbres(std::int32_t n) : cote_(n + 6), cases_(static_cast<std::size_t>(cote_) * cote_, 0) {}

  void ajouter(std::int32_t i, std::int32_t j, int couche) { cases_[index(i, j)] |= static_cast<std::uint8_t>(1u << couche); }

  // Entries of the layer whose node lies strictly within 3 nodes of (i, j) on both axes.
  int compter(std::int32_t i, std::int32_t j, int couche) const {
    const std::uint8_t masque = static_cast<std::uint8_t>(1u << couche);
    int total = 0;
    for (std::int32_t b = j - 2; b <= j + 2; ++b)
      for (std::int32_t a = i - 2; a <= i + 2; ++a)
        if (cases_[index(a, b)] & masque) ++total;
    return total;
  }

 private:
  // Nodes 1..n, with a margin of 3 on each side so that the 5 x 5 window never leaves the table.
  std::size_t index(std::int32_t i, std::int32_t j) const {
    return static_cast<std::size_t>(j + 2) * static_cast<std::size_t>(cote_) + static_cast<std::size_t>(i + 2);
  }
  std::int32_t cote_;
  std::vector<std::uint8_t> cases_;
};

}  // namespace

void Tmatrice::creer_arbres(std::array<couche_arbres, 4> nouvelles_couches, ProgressSink* attente,
                            WindowHandle fenetre) {
  nombre_elements = 0;
  bool aucune = true;
  for (const auto& c : nouvelles_couches)
    if (!c.annulee) aucune = false;
  if (aucune) return;
  couches = nouvelles_couches;

  if (attente) {
    attente->take_focus();
    attente->demarrer(fenetre);
  }
  semer_cle(cle, nouvelle_cle != 0);

  if (attente) attente->avancer("Trees creation ...", 0);
  const std::int32_t taille = n;
  const std::int32_t quantum = Round(taille * 0.025 * taille);
  std::int32_t compteur = 0;
  bool continuer = true;
  for (int k = 1; k <= 6; ++k) especes_presentes[k] = 0;

  std::array<double, 5> tmin{}, tmax{}, densite{};
  for (int L = 1; L <= 4; ++L) {
    const couche_arbres& c = couches[L - 1];
    tmin[L] = std::tan(c.pente_mini * 0.017453292519943295);
    tmax[L] = std::tan(c.pente_maxi * 0.017453292519943295);
    densite[L] = c.nombre * std::ldexp(1.0, 2 * (7 - static_cast<int>(degre)));
  }

  voisinage_arbres voisinage(taille);
  for (std::int32_t j = 1; j <= taille + 1 && continuer; ++j) {
    for (std::int32_t i = 1; i <= taille + 1 && continuer; ++i) {
      if (i + j > taille) continue;
      const std::int32_t h = hauteurs->lire(i, j);
      if (h <= -200) continue;
      if (attente) {
        attente->tester_annulation();
        ++compteur;
        if (cancel_requested(fenetre)) continuer = false;
        if (compteur > quantum && continuer) {
          attente->avancer(std::nullopt, 5);
          compteur = 0;
        }
      }
      const double s = pente_locale(*this, h, i, j);
      for (int L = 1; L <= 4; ++L) {
        const couche_arbres& c = couches[L - 1];
        if (!(c.niveau_mini < h && h < c.niveau_maxi && tmin[L] <= s && s < tmax[L] && !c.annulee)) continue;
        const std::int32_t T = c.transition + 1;
        double taille_arbre = 63.0;
        double p = c.groupes ? densite[L] * 0.1 : densite[L] * 0.6;
        if (h < c.niveau_mini + T) {
          const std::int32_t e = h - c.niveau_mini;
          p = e * p / T;
          taille_arbre = (e * 0.8 + 0.2) * 63.0 / T;
        } else if (h > c.niveau_maxi - T) {
          const std::int32_t e = c.niveau_maxi - h;
          p = e * p / T;
          taille_arbre = (e * 0.8 + 0.2) * 63.0 / T;
        }
        bool place = false;
        if (c.groupes && nombre_elements - 1 > 0) {
          // One draw per earlier entry of this layer nearby, even after a success.
          for (int m = voisinage.compter(i, j, L); m > 0; --m)
            if (Random() > 0.92) place = true;
        }
        if (Random() * 40 < p && continuer) place = true;
        if (nombre_elements > capacite_liste - 2) continuer = false;
        if (place && continuer) {
          taille_arbre = (0.6 + 0.4 * Random()) * taille_arbre;
          const std::int32_t k = nombre_elements;
          liste_i[k] = static_cast<std::uint16_t>(i);
          liste_j[k] = static_cast<std::uint16_t>(j);
          liste_type[k] = static_cast<std::uint16_t>(10 + L);
          liste_attribut[k] = static_cast<std::uint16_t>(Round(taille_arbre));
          if (k > 0) voisinage.ajouter(i, j, L);
          nombre_elements = k + 1;
          especes_presentes[L] = 1;
        }
      }
    }
  }
}
