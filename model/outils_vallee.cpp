// Valley (code 3) lays a river from a spring down to the sea, a low point or
// an older river, and digs a valley along it; Erosion (code 17) scatters
// small valleys from random springs inside a disc.
#include "model/outils_vallee.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

#include "model/aleatoire.h"
#include "model/matrice.h"
#include "model/outils_trace.h"

namespace {

// Points of one river beyond the list's count.
constexpr std::int32_t points_maxi = 8192;

struct direction {
  std::int32_t di = 0, dj = 0;
  bool operator==(const direction&) const = default;
};

// The six lattice directions, in the order the search tries them.
constexpr std::array<direction, 6> directions = {
    direction{1, 0}, direction{-1, 0}, direction{0, 1}, direction{0, -1}, direction{1, -1}, direction{-1, 1}};

// Inside the lattice and off its rim.
bool dedans(std::int32_t i, std::int32_t j, std::int32_t n) { return i > 1 && j > 1 && i + j < n + 1; }
bool dans_reseau(std::int32_t i, std::int32_t j, std::int32_t n) { return i >= 1 && j >= 1 && i + j <= n + 1; }
std::int32_t signe(std::int32_t x) { return (x > 0) - (x < 0); }

// The river being built: the feature list entries from `premier` on.
class Riviere {
 public:
  Riviere(Tmatrice& m, std::int32_t premier, std::int32_t s)
      : m_(m), premier(premier), dernier(premier - 1), s_(s) {}

  std::int32_t points() const { return dernier - premier + 1; }

  void ajouter(std::int32_t i, std::int32_t j, std::uint16_t attribut) {
    ++dernier;
    const auto e = static_cast<std::size_t>(dernier);
    m_.liste_i[e] = static_cast<std::uint16_t>(i);
    m_.liste_j[e] = static_cast<std::uint16_t>(j);
    m_.liste_type[e] = TYPE_RIVIERE;
    m_.liste_attribut[e] = attribut;
  }

  // Drops the points after index `garde`.
  void couper(std::int32_t garde) { dernier = garde; }

  bool a(std::int32_t k, std::int32_t i, std::int32_t j) const {
    const auto e = static_cast<std::size_t>(k);
    return m_.liste_i[e] == i && m_.liste_j[e] == j;
  }

  // The node is one of the last five points, or lies s or 2s away along a
  // lattice direction from a point between the spring and the fifth-last.
  bool deja_visite(std::int32_t i, std::int32_t j) const {
    for (std::int32_t k = std::max(premier, dernier - 4); k <= dernier; ++k)
      if (a(k, i, j)) return true;
    if (dernier <= premier) return false;
    for (std::int32_t k = premier; k <= dernier - 4; ++k) {
      const auto e = static_cast<std::size_t>(k);
      const std::int32_t di = i - m_.liste_i[e], dj = j - m_.liste_j[e];
      for (std::int32_t f = 1; f <= 2; ++f) {
        const std::int32_t d = f * s_;
        for (const direction& u : directions)
          if (di == u.di * d && dj == u.dj * d) return true;
      }
    }
    return false;
  }

  // A point of the river with index <= limite at the node.
  bool contient_jusqu_a(std::int32_t i, std::int32_t j, std::int32_t limite) const {
    for (std::int32_t k = premier; k <= limite && k <= dernier; ++k)
      if (a(k, i, j)) return true;
    return false;
  }

 private:
  Tmatrice& m_;

 public:
  const std::int32_t premier;  // index of the spring
  std::int32_t dernier;        // index of the last point (premier - 1 while empty)

 private:
  const std::int32_t s_;
};

// The first river entry of the list before `fin` at the node, or -1.
std::int32_t entree_riviere(const Tmatrice& m, std::int32_t fin, std::int32_t i, std::int32_t j) {
  for (std::int32_t e = 0; e < fin; ++e) {
    const auto k = static_cast<std::size_t>(e);
    if (m.liste_type[k] == TYPE_RIVIERE && m.liste_i[k] == i && m.liste_j[k] == j) return e;
  }
  return -1;
}

void etendre(std::array<std::int32_t, 4>& z, const std::array<std::int32_t, 4>& autre) {
  z[0] = std::min(z[0], autre[0]);
  z[1] = std::max(z[1], autre[1]);
  z[2] = std::min(z[2], autre[2]);
  z[3] = std::max(z[3], autre[3]);
}

// One coordinate of a walk step: the unit step, or one node towards the
// target when closer than s.
std::int32_t avancer_coordonnee(std::int32_t x, std::int32_t unite, std::int32_t cible, std::int32_t s) {
  const std::int32_t d = cible - x;
  if (std::abs(d) < s) return x + signe(d);
  return x + unite;
}

// The clicked node as the river starts from it: from degree 10 on, rivers run
// on even nodes only, and a node of the rim stays on the lattice.
std::pair<std::int32_t, std::int32_t> noeud_de_depart(const parametres_vallee& p, std::int32_t degre) {
  std::int32_t i0 = p.i0, j0 = p.j0;
  if (degre >= 10) {
    i0 = Trunc(i0 / 2.0) * 2;
    j0 = Trunc(j0 / 2.0) * 2;
    if (i0 == 0) i0 = 2;
    if (j0 == 0) j0 = 2;
  }
  return {i0, j0};
}

// What the descent works from.
struct reglages_descente {
  std::int32_t n = 0;
  std::int32_t s = 1;         // node spacing of the search: 1, or 2 (k - 9) from degree 10
  std::int32_t portee = 1;    // the farthest ring searched
  std::int32_t arret = 0;     // a height below it ends the river
  std::int32_t capacite = 0;  // of the feature list
  std::int32_t delta = 0;     // F - I
  bool rejoindre = false;     // I >= F: the river may join an older one
};

// The search for the next point from one river node: the best height so far
// and the one before it, the chosen target and its direction, the directions
// abandoned at this node, and where the last walk started and ended.
struct recherche {
  std::int32_t ic = 0, jc = 0;
  std::int32_t meilleur = 4000, precedent = 4000;
  std::int32_t ti = 0, tj = 0;
  direction choix;
  std::array<direction, 2> interdits{};
  std::int32_t nombre_interdits = 0;
  std::int32_t plats = 0;  // nodes as low as the best, met in the square searches
  bool choisi = false;
  std::int32_t marche_debut = 0;
  std::int32_t wi = 0, wj = 0;

  bool interdit(const direction& u) const {
    for (std::int32_t q = 0; q < nombre_interdits; ++q)
      if (interdits[static_cast<std::size_t>(q)] == u) return true;
    return false;
  }
  void retenir(std::int32_t hc, std::int32_t i, std::int32_t j, const direction& u) {
    precedent = meilleur;
    meilleur = hc;
    ti = i;
    tj = j;
    choix = u;
    choisi = true;
  }
  void viser_arret(std::int32_t hc, std::int32_t i, std::int32_t j) {
    meilleur = hc;
    ti = i;
    tj = j;
  }
};

// How the search from one node ended.
enum class issue_recherche {
  aucune,   // nothing found (yet)
  marche,   // the river walked to a new node
  arret,    // the sea or a low point below the stop level: the river ends
  boucle,   // the river would run back onto itself
};

// The river's way down from its spring, point by point, into the feature
// list and onto the editor's map pictures.
class Descente {
 public:
  Descente(Tmatrice& m, Riviere& riviere, const reglages_descente& r, controle_outil& c)
      : m_(m), h_(*m.hauteurs), riviere_(riviere), r_(r), c_(c) {}

  // Runs from (i0, j0) until the river ends. `jonction` becomes the older
  // river's entry the new one flows into, if any.
  fin_vallee descendre(std::int32_t i0, std::int32_t j0, std::int32_t& jonction) {
    std::int32_t ic = i0, jc = j0;
    bool descente = true;
    while (descente) {
      if (riviere_.dernier + 1 >= r_.capacite - 1 || riviere_.points() >= points_maxi) break;
      if (c_.attente) {
        c_.attente->tester_annulation();
        if (cancel_requested(c_.fenetre)) return fin_vallee::annulee;
      }
      recherche q;
      q.ic = ic;
      q.jc = jc;
      const issue_recherche issue = depuis_le_noeud(q);
      if (issue == issue_recherche::boucle) return fin_vallee::boucle;
      if (issue != issue_recherche::marche || riviere_.dernier == q.marche_debut) break;
      ic = q.wi;
      jc = q.wj;
      if (rejoint_une_ancienne(q, jonction)) descente = false;
      if (ic < 5 || jc < 5 || ic + jc > r_.n - 5) descente = false;
    }
    return fin_vallee::reussie;
  }

 private:
  // Rings of growing radius, each followed by a square search when the ring
  // found nothing, until a walk succeeds or the reach is exhausted.
  issue_recherche depuis_le_noeud(recherche& q) {
    q.marche_debut = riviere_.dernier;
    q.wi = q.ic;
    q.wj = q.jc;
    for (std::int32_t r = r_.s;; r += r_.s) {
      const std::int32_t d = r * r_.s;
      issue_recherche issue = anneau(q, d);
      if (issue != issue_recherche::aucune) return issue;
      if (r > 1 && !q.choisi && carre(q, r, d) == issue_recherche::arret) return issue_recherche::arret;
      if (q.choisi && marcher(q, d)) return issue_recherche::marche;
      if (r >= r_.portee) return issue_recherche::aucune;
    }
  }

  // The six nodes at distance d along the lattice directions.
  issue_recherche anneau(recherche& q, std::int32_t d) const {
    for (const direction& u : directions) {
      const std::int32_t ci = q.ic + d * u.di, cj = q.jc + d * u.dj;
      if (!dedans(ci, cj, r_.n)) continue;
      const std::int32_t hc = h_.lire(ci, cj);
      if (hc >= q.meilleur || q.interdit(u) || riviere_.deja_visite(ci, cj)) continue;
      if (hc < r_.arret) {
        q.viser_arret(hc, ci, cj);
        return issue_recherche::arret;
      }
      if (riviere_.points() > 2 * r_.portee && riviere_.contient_jusqu_a(ci, cj, riviere_.dernier - 2 * r_.portee))
        return issue_recherche::boucle;
      q.retenir(hc, ci, cj, u);
    }
    return issue_recherche::aucune;
  }

  // Every node of the square of half-side d, row by row; on flat ground a
  // node as low as the best may be taken at random so that the river escapes.
  issue_recherche carre(recherche& q, std::int32_t r, std::int32_t d) {
    const std::int32_t n = r_.n, s = r_.s;
    const std::int32_t seuil = Round(0.6 * d);
    for (std::int32_t ii = q.ic - d; ii <= q.ic + d; ++ii)
      for (std::int32_t jj = q.jc - d; jj <= q.jc + d; ++jj) {
        if (!dedans(ii, jj, n)) continue;
        const std::int32_t hc = h_.lire(ii, jj);
        const direction sg{ii > q.ic + seuil ? 1 : (ii < q.ic - seuil ? -1 : 0),
                           jj > q.jc + seuil ? 1 : (jj < q.jc - seuil ? -1 : 0)};
        const bool libre = sg.di + sg.dj == 0 || !q.interdit(sg);
        if (hc < q.meilleur && libre && !riviere_.deja_visite(ii, jj)) {
          if (hc < r_.arret) {
            q.viser_arret(hc, ii, jj);
            return issue_recherche::arret;
          }
          q.retenir(hc, ii, jj, sg);
        } else if (!q.choisi && hc == q.meilleur && r > 8 * s && !riviere_.deja_visite(ii, jj) && ++q.plats > 8 &&
                   Random() > 0.5 && q.ti > 5 && q.tj > 5 && q.ti + q.tj < n - 5) {
          q.ti = ii;
          q.tj = jj;
          q.choix = sg;
          q.choisi = true;
        }
      }
    return issue_recherche::aucune;
  }

  // Walks towards the target, one lattice step at a time, at most d steps,
  // laying a river point at each. A step that climbs well above the best
  // height abandons the direction: the river is cut back, the direction is
  // forbidden at this node and false is returned.
  bool marcher(recherche& q, std::int32_t d) {
    const std::int32_t s = r_.s;
    q.marche_debut = riviere_.dernier;
    q.wi = q.ic;
    q.wj = q.jc;
    direction unite = q.choix;
    const std::int32_t seuil_abandon = Round(0.33 * d);
    for (std::int32_t pas = 1; pas <= d; ++pas) {
      if (q.wi == q.ti && q.wj == q.tj) break;
      std::int32_t ni = avancer_coordonnee(q.wi, unite.di, q.ti, s);
      std::int32_t nj = avancer_coordonnee(q.wj, unite.dj, q.tj, s);
      if (ni == q.wi && nj == q.wj) {
        unite = direction{signe(q.ti - q.wi), signe(q.tj - q.wj)};
        ni = avancer_coordonnee(q.wi, unite.di, q.ti, s);
        nj = avancer_coordonnee(q.wj, unite.dj, q.tj, s);
      }
      if (h_.lire(ni, nj) > q.meilleur + 50 && pas > seuil_abandon && q.nombre_interdits < 2) {
        q.interdits[static_cast<std::size_t>(q.nombre_interdits++)] = q.choix;
        q.meilleur = q.precedent;
        riviere_.couper(q.marche_debut);
        q.choisi = false;
        return false;
      }
      q.wi = ni;
      q.wj = nj;
      if (dans_reseau(q.wi, q.wj, r_.n) && riviere_.dernier + 1 < r_.capacite && riviere_.points() < points_maxi) {
        riviere_.ajouter(q.wi, q.wj, 1);
        m_.tracer_riviere(q.wi, q.wj, 1, true, true, c_.carte_1, c_.carte_2);
      }
    }
    return true;
  }

  // A point of the last walk on an older river ends the descent; the new
  // river flows into it when that keeps its bed running downhill.
  bool rejoint_une_ancienne(const recherche& q, std::int32_t& jonction) const {
    for (std::int32_t k = q.marche_debut + 1; k <= riviere_.dernier; ++k) {
      const auto e = static_cast<std::size_t>(k);
      const std::int32_t ancienne = entree_riviere(m_, riviere_.premier, m_.liste_i[e], m_.liste_j[e]);
      if (ancienne < 0) continue;
      const auto a = static_cast<std::size_t>(ancienne);
      if (q.precedent + r_.delta < h_.lire(m_.liste_i[a], m_.liste_j[a]) && r_.rejoindre) jonction = ancienne;
      return true;
    }
    return false;
  }

  Tmatrice& m_;
  Tnoeud& h_;
  Riviere& riviere_;
  const reglages_descente r_;
  controle_outil& c_;
};

// Grows the tool area over every point of the new river.
void inclure_riviere(Tmatrice& m, const Riviere& riviere) {
  for (std::int32_t q = riviere.premier; q <= riviere.dernier; ++q) {
    const auto e = static_cast<std::size_t>(q);
    inclure_empreinte(m, m.liste_i[e], m.liste_j[e], m.liste_type[e], m.liste_attribut[e]);
  }
}

// Lowers every river point that stands above the one before it, starting
// from the spring's height, so that the bed never climbs.
void abaisser_lit(Tmatrice& m, const Riviere& riviere, std::int32_t h0) {
  Tnoeud& h = *m.hauteurs;
  std::int32_t avant = h0;
  for (std::int32_t q = riviere.premier; q <= riviere.dernier; ++q) {
    const auto e = static_cast<std::size_t>(q);
    const std::int32_t hq = h.lire(m.liste_i[e], m.liste_j[e]);
    if (hq > avant) h.ecrire(m.liste_i[e], m.liste_j[e], avant);
    avant = h.lire(m.liste_i[e], m.liste_j[e]);
  }
}

// River widths for the map, growing from the spring towards the mouth; the
// spring keeps its attribute.
void elargir_riviere(Tmatrice& m, const Riviere& riviere, const parametres_vallee& p) {
  const std::int32_t n = m.n;
  const std::int32_t V = p.largeur_riviere, W = p.largeur_vallee;
  const std::int32_t delta = p.altitude_finale - p.altitude_initiale;
  const std::int32_t L = riviere.points() - 1;
  for (std::int32_t q = 1; q <= L; ++q) {
    const double t = static_cast<double>(q) / L;
    std::int32_t w = 4;
    if (q < 0.4 * L) w = Round(t * 0.6 * (V * 0.003) * n * 0.0625) + 2;
    const std::int32_t b = Round(t * (W * 0.003) * n * 0.0625);
    if (delta > 0 && 3 < b && b < w) w = b;
    w = std::clamp(w, 2, 10);
    m.liste_attribut[static_cast<std::size_t>(riviere.premier + q)] = static_cast<std::uint16_t>(w);
  }
}

// The older river below the junction, down to its next spring, continues the
// trace; when the new river digs, the old one widens.
void prolonger_par_l_ancienne(Tmatrice& m, std::int32_t jonction, std::int32_t fin, std::int32_t delta,
                              std::vector<point_trace>& chemin) {
  for (std::int32_t q = jonction + 1; q < fin; ++q) {
    const auto e = static_cast<std::size_t>(q);
    if (m.liste_type[e] != TYPE_RIVIERE || m.liste_attribut[e] == 1) break;
    chemin.push_back(point_trace{m.liste_i[e], m.liste_j[e]});
    if (delta > 0 && m.liste_attribut[e] < 7) {
      ++m.liste_attribut[e];
      inclure_empreinte(m, m.liste_i[e], m.liste_j[e], m.liste_type[e], m.liste_attribut[e]);
    }
  }
}

// The whole river as a stroke trace: the older river's point clicked on (when
// the river continues one), the new points, then the older river below the
// junction.
std::vector<point_trace> chemin_de_riviere(Tmatrice& m, const Riviere& riviere, std::int32_t jonction,
                                           bool depart_sur_riviere, std::int32_t delta) {
  std::vector<point_trace> chemin;
  if (depart_sur_riviere) {
    const auto e = static_cast<std::size_t>(jonction);
    chemin.push_back(point_trace{m.liste_i[e], m.liste_j[e]});
  }
  for (std::int32_t q = riviere.premier; q <= riviere.dernier; ++q) {
    const auto e = static_cast<std::size_t>(q);
    chemin.push_back(point_trace{m.liste_i[e], m.liste_j[e]});
  }
  if (jonction >= 0) prolonger_par_l_ancienne(m, jonction, riviere.premier, delta, chemin);
  return chemin;
}

void poser_trace(Tmatrice& m, const std::vector<point_trace>& chemin) {
  if (chemin.empty()) return;
  if (m.trace.size() < chemin.size()) m.trace.resize(chemin.size());
  std::copy(chemin.begin(), chemin.end(), m.trace.begin());
  m.dernier_point = static_cast<std::int32_t>(chemin.size()) - 1;
}

// Digs the valley along the trace with the stroke sweep: widths and depth
// grow from the spring (end values) to the mouth (start values), from 0.2 to
// 0.8 of F - I. W and V are the widths after a junction widened them.
void creuser(Tmatrice& m, const std::vector<point_trace>& chemin, bool depart_sur_riviere, std::int32_t W,
             std::int32_t V, std::int32_t delta, bool erosion, controle_outil& c) {
  const Tnoeud& h = *m.hauteurs;
  const std::int32_t hA = h.lire(chemin.back().i, chemin.back().j);
  const point_trace& second = chemin.size() > 1 && depart_sur_riviere ? chemin[1] : chemin.front();
  const std::int32_t hB = h.lire(second.i, second.j);
  parametres_trace t;
  t.outil = OUTIL_VALLEE;
  t.largeur_base_debut = W;
  t.largeur_base_fin = 20;
  t.largeur_sommet_debut = std::min(4 * V, Round(W * 0.7));
  t.largeur_sommet_fin = 2;
  t.altitude_finale_debut = hA + Round(delta * 0.8);
  t.altitude_finale_fin = hB + Round(delta * 0.2);
  t.altitude_initiale_debut = hA;
  t.altitude_initiale_fin = hB;
  t.sans_legende = true;
  t.sans_pas = erosion;
  outil_trace(m, t, c);
}

}  // namespace

fin_vallee outil_vallee(Tmatrice& m, const parametres_vallee& p, controle_outil& c) {
  const std::int32_t n = m.n;
  const auto [i0, j0] = noeud_de_depart(p, m.degre);
  if (!dans_reseau(i0, j0, n)) return fin_vallee::reussie;

  const std::int32_t F = p.altitude_finale, I = p.altitude_initiale;
  reglages_descente r;
  r.n = n;
  r.s = m.degre < 10 ? 1 : 2 * (m.degre - 9);
  r.portee = Round(n / 30.0) + 1;
  r.arret = p.erosion ? 100 : (I < F ? 200 : -20);
  r.capacite = m.capacite_liste;
  r.delta = F - I;
  r.rejoindre = I >= F;
  const std::int32_t premier = m.nombre_elements;
  const std::int32_t nombre_depart = p.nombre_depart >= 0 ? p.nombre_depart : premier;

  if (c.attente && !p.erosion) c.attente->avancer("Valley processing ...  ", 0);
  c.continuer = false;
  const std::int32_t h0 = m.hauteurs->lire(i0, j0);
  m.tracer_riviere(i0, j0, 1, false, true, c.carte_1, c.carte_2);
  // The area grows with every river entry and with the digging.
  m.zone_outil = {n, 1, n, 1};

  // A click on an older river continues it instead of starting a spring.
  std::int32_t jonction = -1;
  if (!p.erosion && m.nombre_elements > 1 && I >= F) jonction = entree_riviere(m, m.nombre_elements, i0, j0);
  const bool depart_sur_riviere = jonction >= 0;
  if (!depart_sur_riviere && premier >= r.capacite) return fin_vallee::reussie;  // no room even for a spring
  Riviere riviere(m, premier, r.s);
  if (!depart_sur_riviere) riviere.ajouter(i0, j0, 1);
  set_seed(static_cast<std::uint32_t>(I));

  const fin_vallee fin =
      depart_sur_riviere ? fin_vallee::reussie : Descente(m, riviere, r, c).descendre(i0, j0, jonction);
  if (fin != fin_vallee::reussie) {
    // Nothing dug, nothing counted, but the points written stay in the area.
    inclure_riviere(m, riviere);
    if (fin == fin_vallee::boucle && !p.erosion) warn("Sorry, y can't do it !", "Valley ");
    return fin;
  }
  c.continuer = true;

  if (I >= F && r.delta != 0) abaisser_lit(m, riviere, h0);
  elargir_riviere(m, riviere, p);
  const std::vector<point_trace> chemin = chemin_de_riviere(m, riviere, jonction, depart_sur_riviere, r.delta);
  inclure_riviere(m, riviere);
  poser_trace(m, chemin);

  if (r.delta == 0) {
    m.nombre_elements = riviere.dernier + 1;
  } else if (!(depart_sur_riviere && chemin.size() < 2)) {
    // Joining an older river makes the valley wider.
    const std::int32_t elargi = jonction >= 0 ? 1 : 0;
    const auto zone = m.zone_outil;
    creuser(m, chemin, depart_sur_riviere, p.largeur_vallee + 12 * elargi, p.largeur_riviere + 6 * elargi,
            r.delta, p.erosion, c);
    etendre(m.zone_outil, zone);
    if (!c.continuer) return fin_vallee::annulee;
    if (!p.erosion && I >= F) m.nombre_elements = riviere.dernier + 1;
  }

  if (m.nombre_elements > r.capacite - 3) {
    m.nombre_elements = std::max(r.capacite - 3, nombre_depart);
    if (!p.erosion) warn("Maximum of capacity reached! Delete rivers or trees or ground ! ", "Valley ");
  }
  return fin_vallee::reussie;
}

void outil_vallee(Tmatrice& m, const arguments_outil& a, controle_outil& c) {
  parametres_vallee p;
  p.largeur_vallee = a.largeur_base_debut;
  p.largeur_riviere = a.largeur_sommet_debut;
  p.altitude_finale = a.altitude_finale_debut;
  p.altitude_initiale = a.altitude_initiale_debut;
  p.i0 = c.i0;
  p.j0 = c.j0;
  outil_vallee(m, p, c);
}

void outil_ruissellement(Tmatrice& m, const arguments_outil& a, controle_outil& c) {
  const std::int32_t n = m.n;
  const std::int32_t W = a.largeur_base_debut;
  const std::int32_t G = a.largeur_sommet_debut;
  const std::int32_t P = a.altitude_finale_debut;
  const std::int32_t i0 = c.i0, j0 = c.j0;

  // Caption.
  if (c.attente && W != 8000) c.attente->avancer("Streaming processing ...  ", 0);
  c.continuer = true;

  // The disc and its area.
  const std::int32_t R = std::max(1, Round((n - 1) * (W * 0.001) / 16));
  const std::int32_t marge = 2 * R + 1;
  double D = distance_noeuds(i0, j0, i0 + R, j0 + R);
  if (D == 0) D = 1;
  const std::array<std::int32_t, 4> disque = {i0 - marge, i0 + marge, j0 - marge, j0 + marge};
  m.zone_outil = disque;
  std::array<std::int32_t, 4> zone = disque;

  // Seed and spring probability.
  set_seed(static_cast<std::uint32_t>(m.hauteurs->lire(i0, j0)));
  const double probabilite = (G / 40.0 * 6) / n;
  const std::int32_t pas_barre = Round((disque[1] - disque[0]) * 0.01 * (disque[3] - disque[2]));
  const std::int32_t nombre_depart = m.nombre_elements;

  // Springs.
  std::int32_t compteur = 0;
  for (std::int32_t i = disque[0]; i <= disque[1] && c.continuer; ++i)
    for (std::int32_t j = disque[2]; j <= disque[3] && c.continuer; ++j) {
      if (!(2 < i && i < n - 1 && 2 < j && j < n - 1 && i + j < n - 1)) continue;
      if (c.attente) {
        c.attente->tester_annulation();
        if (cancel_requested(c.fenetre)) {
          c.continuer = false;
          break;
        }
        if (++compteur > pas_barre) {
          c.attente->avancer(std::nullopt, 5);
          compteur = 0;
        }
      }
      const double w = (D - distance_noeuds(i0, j0, i, j)) / D;
      if (!(w > 0 && Random() < probabilite)) continue;
      const std::int32_t hij = m.hauteurs->lire(i, j);
      parametres_vallee v;
      v.largeur_vallee = 20 * G;
      v.largeur_riviere = 2 * G;
      v.altitude_initiale = hij;
      v.altitude_finale = hij + 2 * P;
      v.i0 = i;
      v.j0 = j;
      v.erosion = true;
      v.nombre_depart = nombre_depart;
      controle_outil cv = c;
      const fin_vallee fin = outil_vallee(m, v, cv);
      etendre(zone, m.zone_outil);
      if (fin == fin_vallee::annulee) c.continuer = false;
    }

  // The area, widened and kept on the lattice.
  m.zone_outil = {std::clamp(zone[0] - marge, 1, n), std::clamp(zone[1] + marge, 1, n),
                  std::clamp(zone[2] - marge, 1, n), std::clamp(zone[3] + marge, 1, n)};
}
