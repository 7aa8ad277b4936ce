#include "model/outils_elements.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "model/matrice.h"
#include "model/outils_trace.h"

namespace {

// Grows the area by a node with a margin: only a node outside moves an edge.
void grandir(std::array<std::int32_t, 4>& z, std::int32_t i, std::int32_t j, std::int32_t marge) {
  if (i < z[0]) z[0] = i - marge;
  if (i > z[1]) z[1] = i + marge;
  if (j < z[2]) z[2] = j - marge;
  if (j > z[3]) z[3] = j + marge;
}

bool trace_valide(const Tmatrice& m) {
  return !m.trace.empty() && m.dernier_point >= 0 && static_cast<std::size_t>(m.dernier_point) < m.trace.size();
}

// Appends one entry per trace node, as far as the list has room.
void ajouter_le_long(Tmatrice& m, controle_outil& c, std::uint16_t type, std::uint16_t attribut, bool valide,
                     std::int32_t marge, const char* legende) {
  (void)c;
  if (!valide) return;
  const std::int32_t L = m.dernier_point;
  const std::int32_t compte = m.nombre_elements;
  const std::int32_t dernier = std::min(L, m.capacite_liste - 1 - compte);
  for (std::int32_t k = 0; k <= dernier; ++k) {
    const point_trace& t = m.trace[static_cast<std::size_t>(k)];
    const std::size_t e = static_cast<std::size_t>(compte + k);
    m.liste_i[e] = t.i;
    m.liste_j[e] = t.j;
    m.liste_type[e] = type;
    m.liste_attribut[e] = attribut;
    grandir(m.zone_outil, t.i, t.j, marge);
    inclure_empreinte(m, t.i, t.j, type, attribut);
  }
  m.nombre_elements = compte + L + 1;
  if (m.nombre_elements > m.capacite_liste - 3) {
    m.nombre_elements = m.capacite_liste - 3;
    warn("Maximum reached! Delete trees or rivers or ground !", legende);
  }
}

void gommer_classe(Tmatrice& m, std::uint16_t premier, std::uint16_t dernier_type) {
  if (!trace_valide(m)) return;
  const std::int32_t L = m.dernier_point;
  const point_trace& t0 = m.trace[0];
  m.zone_outil = {t0.i - 6, t0.i + 6, t0.j - 6, t0.j + 6};
  // Nodes within 3 of some trace node, on both axes.
  const std::int32_t cote = m.n + 2;
  std::vector<std::uint8_t> proche(static_cast<std::size_t>(cote) * cote, 0);
  for (std::int32_t k = 0; k <= L; ++k) {
    const point_trace& t = m.trace[static_cast<std::size_t>(k)];
    grandir(m.zone_outil, t.i, t.j, 4);
    for (std::int32_t i = std::max<std::int32_t>(t.i - 3, 0); i <= std::min<std::int32_t>(t.i + 3, cote - 1); ++i)
      for (std::int32_t j = std::max<std::int32_t>(t.j - 3, 0); j <= std::min<std::int32_t>(t.j + 3, cote - 1); ++j)
        proche[static_cast<std::size_t>(i) * cote + j] = 1;
  }
  for (std::int32_t e = 0; e < m.nombre_elements; ++e) {
    const std::uint16_t type = m.liste_type[e];
    if (type < premier || type > dernier_type) continue;
    const std::int32_t i = m.liste_i[e], j = m.liste_j[e];
    if (i >= cote || j >= cote || !proche[static_cast<std::size_t>(i) * cote + j]) continue;
    m.liste_type[e] = TYPE_EFFACE;
    inclure_empreinte(m, i, j, type, m.liste_attribut[e]);
  }
}

}  // namespace

void peindre_sol(Tmatrice& m, controle_outil& c) {
  if (!trace_valide(m)) return;
  const point_trace& t0 = m.trace[0];
  m.zone_outil = {t0.i - 1, t0.i, t0.j - 1, t0.j};
  const bool valide = m.sol_courant >= 1 && m.sol_courant <= 9 && m.largeur_sol >= 1 && m.largeur_sol <= 72;
  ajouter_le_long(m, c, static_cast<std::uint16_t>(TYPE_SOL + m.sol_courant), m.largeur_sol, valide, 1, "Ground ");
}

void planter_arbres(Tmatrice& m, controle_outil& c) {
  if (!trace_valide(m)) return;
  const point_trace& t0 = m.trace[0];
  m.zone_outil = {t0.i - 2, t0.i + 2, t0.j - 2, t0.j + 2};
  const bool valide = m.arbre_courant >= 1 && m.arbre_courant <= 6 && m.taille_arbre >= 1 && m.taille_arbre <= 63;
  if (valide) m.especes_presentes[m.arbre_courant] = 1;
  ajouter_le_long(m, c, static_cast<std::uint16_t>(TYPE_ARBRE + m.arbre_courant), m.taille_arbre, valide, 2, "Trees ");
}

namespace {
// Puts a view point on the pressed node: its indices, and its place on the map and the plane.
void placer_sur_noeud(const Tmatrice& m, const controle_outil& c, std::int32_t& i, std::int32_t& j,
                      point_terrain& point) {
  i = c.i0;
  j = c.j0;
  point.x = static_cast<double>(c.i0) / m.n;
  point.y = static_cast<double>(c.j0) / m.n;
  point.px = facteur_plan * point.x;
  point.py = point.px / 2 + point.y;
}
}  // namespace

void placer_cible_grille(Tmatrice& m, controle_outil& c) { placer_sur_noeud(m, c, m.cible_i, m.cible_j, m.cible); }

void placer_observateur_grille(Tmatrice& m, controle_outil& c) {
  placer_sur_noeud(m, c, m.observateur_i, m.observateur_j, m.observateur);
}

void gommer_arbres(Tmatrice& m, controle_outil&) { gommer_classe(m, TYPE_ARBRE + 1, TYPE_ARBRE + 9); }

void gommer_sol(Tmatrice& m, controle_outil&) { gommer_classe(m, TYPE_SOL + 1, TYPE_SOL + 9); }

void gommer_rivieres(Tmatrice& m, controle_outil& c) {
  const std::int32_t i0 = c.i0, j0 = c.j0;
  m.zone_outil = {i0 - 6, i0 + 6, j0 - 6, j0 + 6};
  std::int32_t choisie = -1;
  for (std::int32_t e = 0; e < m.nombre_elements; ++e) {
    if (m.liste_type[e] == TYPE_RIVIERE && m.liste_attribut[e] == 1 && std::abs(m.liste_i[e] - i0) < 4 &&
        std::abs(m.liste_j[e] - j0) < 4)
      choisie = e;
  }
  if (choisie < 0) return;
  m.liste_type[choisie] = TYPE_EFFACE;
  inclure_empreinte(m, m.liste_i[choisie], m.liste_j[choisie], TYPE_RIVIERE, m.liste_attribut[choisie]);
  for (std::int32_t e = choisie + 1; e < m.nombre_elements; ++e) {
    grandir(m.zone_outil, m.liste_i[e], m.liste_j[e], 4);
    if (m.liste_type[e] != TYPE_RIVIERE) continue;
    if (m.liste_attribut[e] == 1) break;
    m.liste_type[e] = TYPE_EFFACE;
    inclure_empreinte(m, m.liste_i[e], m.liste_j[e], TYPE_RIVIERE, m.liste_attribut[e]);
  }
}
