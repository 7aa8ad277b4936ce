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

}  // namespace

fin_vallee outil_vallee(Tmatrice& m, const parametres_vallee& p, controle_outil& c) {
  const std::int32_t n = m.n;
  const std::int32_t k = m.degre;
  const std::int32_t s = k < 10 ? 1 : 2 * (k - 9);
  std::int32_t i0 = p.i0, j0 = p.j0;
  if (k >= 10) {
    // Even coordinates; a node of the rim stays on the lattice.
    i0 = Trunc(i0 / 2.0) * 2;
    j0 = Trunc(j0 / 2.0) * 2;
    if (i0 == 0) i0 = 2;
    if (j0 == 0) j0 = 2;
  }
  if (!dans_reseau(i0, j0, n)) return fin_vallee::reussie;

  std::int32_t W = p.largeur_vallee, V = p.largeur_riviere;
  const std::int32_t F = p.altitude_finale, I = p.altitude_initiale;
  const std::int32_t portee = Round(n / 30.0) + 1;
  const std::int32_t delta = F - I;
  const std::int32_t arret = p.erosion ? 100 : (I < F ? 200 : -20);
  const std::int32_t capacite = m.capacite_liste;
  const std::int32_t premier = m.nombre_elements;
  const std::int32_t nombre_depart = p.nombre_depart >= 0 ? p.nombre_depart : premier;
  Tnoeud& h = *m.hauteurs;

  // 1. Caption, the bed height and the spring on the maps.
  if (c.attente && !p.erosion) c.attente->avancer("Valley processing ...  ", 0);
  c.continuer = false;
  const std::int32_t h0 = h.lire(i0, j0);
  m.tracer_riviere(i0, j0, 1, false, true, c.carte_1, c.carte_2);
  // The area grows with every river entry and with the digging.
  m.zone_outil = {n, 1, n, 1};
  std::array<std::int32_t, 4> zone = m.zone_outil;

  // 2. A click on an older river continues it; otherwise the spring.
  std::int32_t jonction = -1;
  bool depart_sur_riviere = false;
  if (!p.erosion && m.nombre_elements > 1 && I >= F) {
    jonction = entree_riviere(m, m.nombre_elements, i0, j0);
    depart_sur_riviere = jonction >= 0;
  }
  if (!depart_sur_riviere && premier >= capacite) return fin_vallee::reussie;  // no room even for a spring
  Riviere riviere(m, premier, s);
  if (!depart_sur_riviere) riviere.ajouter(i0, j0, 1);
  set_seed(static_cast<std::uint32_t>(I));

  // 3. Descent.
  fin_vallee fin = fin_vallee::reussie;
  std::int32_t ic = i0, jc = j0;
  bool descente = !depart_sur_riviere;
  while (descente) {
    if (riviere.dernier + 1 >= capacite - 1 || riviere.points() >= points_maxi) break;
    if (c.attente) {
      c.attente->tester_annulation();
      if (cancel_requested(c.fenetre)) {
        fin = fin_vallee::annulee;
        break;
      }
    }

    std::int32_t meilleur = 4000, precedent = 4000;
    std::int32_t ti = 0, tj = 0;  // the recorded target
    direction choix;
    std::array<direction, 2> interdits{};
    std::int32_t nombre_interdits = 0;
    std::int32_t plats = 0;
    bool choisi = false, sous_arret = false, boucle = false, marche = false;
    std::int32_t marche_debut = riviere.dernier;
    std::int32_t wi = ic, wj = jc;

    const auto interdit = [&](const direction& u) {
      for (std::int32_t q = 0; q < nombre_interdits; ++q)
        if (interdits[static_cast<std::size_t>(q)] == u) return true;
      return false;
    };

    for (std::int32_t r = s;; r += s) {
      const std::int32_t d = r * s;
      // 3.1 Ring search.
      for (const direction& u : directions) {
        const std::int32_t ci = ic + d * u.di, cj = jc + d * u.dj;
        if (!dedans(ci, cj, n)) continue;
        const std::int32_t hc = h.lire(ci, cj);
        if (hc >= meilleur || interdit(u) || riviere.deja_visite(ci, cj)) continue;
        if (hc < arret) {
          // The sea or a low point below the stop level: the river ends here.
          meilleur = hc;
          ti = ci;
          tj = cj;
          sous_arret = true;
          break;
        }
        if (riviere.points() > 2 * portee && riviere.contient_jusqu_a(ci, cj, riviere.dernier - 2 * portee)) {
          boucle = true;
          break;
        }
        precedent = meilleur;
        meilleur = hc;
        ti = ci;
        tj = cj;
        choix = u;
        choisi = true;
      }
      if (sous_arret || boucle) break;

      // 3.2 Square search.
      if (r > 1 && !choisi) {
        const std::int32_t seuil = Round(0.6 * d);
        for (std::int32_t ii = ic - d; ii <= ic + d && !sous_arret; ++ii)
          for (std::int32_t jj = jc - d; jj <= jc + d; ++jj) {
            if (!dedans(ii, jj, n)) continue;
            const std::int32_t hc = h.lire(ii, jj);
            const direction sg{ii > ic + seuil ? 1 : (ii < ic - seuil ? -1 : 0),
                               jj > jc + seuil ? 1 : (jj < jc - seuil ? -1 : 0)};
            const bool libre = sg.di + sg.dj == 0 || !interdit(sg);
            if (hc < meilleur && libre && !riviere.deja_visite(ii, jj)) {
              if (hc < arret) {
                meilleur = hc;
                ti = ii;
                tj = jj;
                sous_arret = true;
                break;
              }
              precedent = meilleur;
              meilleur = hc;
              ti = ii;
              tj = jj;
              choix = sg;
              choisi = true;
            } else if (!choisi && hc == meilleur && r > 8 * s && !riviere.deja_visite(ii, jj) && ++plats > 8 &&
                       Random() > 0.5 && ti > 5 && tj > 5 && ti + tj < n - 5) {
              // Escape from flat ground.
              ti = ii;
              tj = jj;
              choix = sg;
              choisi = true;
            }
          }
        if (sous_arret) break;
      }

      // 3.3 Walk.
      if (choisi) {
        marche_debut = riviere.dernier;
        wi = ic;
        wj = jc;
        direction unite = choix;
        const std::int32_t seuil_abandon = Round(0.33 * d);
        bool abandon = false;
        for (std::int32_t pas = 1; pas <= d; ++pas) {
          if (wi == ti && wj == tj) break;
          std::int32_t ni = avancer_coordonnee(wi, unite.di, ti, s);
          std::int32_t nj = avancer_coordonnee(wj, unite.dj, tj, s);
          if (ni == wi && nj == wj) {
            unite = direction{signe(ti - wi), signe(tj - wj)};
            ni = avancer_coordonnee(wi, unite.di, ti, s);
            nj = avancer_coordonnee(wj, unite.dj, tj, s);
          }
          if (h.lire(ni, nj) > meilleur + 50 && pas > seuil_abandon && nombre_interdits < 2) {
            abandon = true;
            break;
          }
          wi = ni;
          wj = nj;
          if (dans_reseau(wi, wj, n) && riviere.dernier + 1 < capacite && riviere.points() < points_maxi) {
            riviere.ajouter(wi, wj, 1);
            m.tracer_riviere(wi, wj, 1, true, true, c.carte_1, c.carte_2);
          }
        }
        if (abandon) {
          interdits[static_cast<std::size_t>(nombre_interdits++)] = choix;
          meilleur = precedent;
          riviere.couper(marche_debut);
          choisi = false;
        } else {
          marche = true;
          break;
        }
      }
      if (r >= portee) break;
    }

    if (boucle) {
      fin = fin_vallee::boucle;
      break;
    }
    if (!marche || riviere.dernier == marche_debut) break;  // the end: sea, low point or nowhere to go
    ic = wi;
    jc = wj;

    // 3.4 Joining an older river.
    for (std::int32_t q = marche_debut + 1; q <= riviere.dernier && descente; ++q) {
      const auto e = static_cast<std::size_t>(q);
      const std::int32_t ancienne = entree_riviere(m, premier, m.liste_i[e], m.liste_j[e]);
      if (ancienne < 0) continue;
      descente = false;
      const auto a = static_cast<std::size_t>(ancienne);
      if (precedent + delta < h.lire(m.liste_i[a], m.liste_j[a]) && I >= F) jonction = ancienne;
    }
    // 3.5 The border.
    if (ic < 5 || jc < 5 || ic + jc > n - 5) descente = false;
  }

  // Every point written so far, whatever comes next.
  const auto empreintes = [&]() {
    for (std::int32_t q = riviere.premier; q <= riviere.dernier; ++q) {
      const auto e = static_cast<std::size_t>(q);
      inclure_empreinte(m, m.liste_i[e], m.liste_j[e], m.liste_type[e], m.liste_attribut[e]);
    }
  };

  if (fin != fin_vallee::reussie) {
    // 4. A loop or a cancel: nothing dug, nothing counted.
    empreintes();
    if (fin == fin_vallee::boucle && !p.erosion) warn("Sorry, y can't do it !", "Valley ");
    return fin;
  }
  c.continuer = true;

  // 5. Monotone bed.
  if (I >= F && delta != 0) {
    std::int32_t avant = h0;
    for (std::int32_t q = riviere.premier; q <= riviere.dernier; ++q) {
      const auto e = static_cast<std::size_t>(q);
      const std::int32_t hq = h.lire(m.liste_i[e], m.liste_j[e]);
      if (hq > avant) h.ecrire(m.liste_i[e], m.liste_j[e], avant);
      avant = h.lire(m.liste_i[e], m.liste_j[e]);
    }
  }

  // 6. The river becomes the stroke trace; widths.
  std::vector<point_trace> chemin;
  if (depart_sur_riviere) {
    const auto e = static_cast<std::size_t>(jonction);
    chemin.push_back(point_trace{m.liste_i[e], m.liste_j[e]});
  }
  for (std::int32_t q = riviere.premier; q <= riviere.dernier; ++q) {
    const auto e = static_cast<std::size_t>(q);
    chemin.push_back(point_trace{m.liste_i[e], m.liste_j[e]});
  }
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
  if (jonction >= 0) {
    for (std::int32_t q = jonction + 1; q < premier; ++q) {
      const auto e = static_cast<std::size_t>(q);
      if (m.liste_type[e] != TYPE_RIVIERE || m.liste_attribut[e] == 1) break;
      chemin.push_back(point_trace{m.liste_i[e], m.liste_j[e]});
      if (delta > 0 && m.liste_attribut[e] < 7) {
        ++m.liste_attribut[e];
        inclure_empreinte(m, m.liste_i[e], m.liste_j[e], m.liste_type[e], m.liste_attribut[e]);
      }
    }
    V += 6;
    W += 12;
  }
  empreintes();
  zone = m.zone_outil;
  if (!chemin.empty()) {
    if (m.trace.size() < chemin.size()) m.trace.resize(chemin.size());
    std::copy(chemin.begin(), chemin.end(), m.trace.begin());
    m.dernier_point = static_cast<std::int32_t>(chemin.size()) - 1;
  }

  if (delta == 0) {
    // 7. River only.
    c.continuer = true;
    m.nombre_elements = riviere.dernier + 1;
  } else if (!(depart_sur_riviere && chemin.size() < 2)) {
    // 8. Digging: the mouth takes the start values, the spring the end values.
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
    t.sans_pas = p.erosion;
    outil_trace(m, t, c);
    etendre(zone, m.zone_outil);
    m.zone_outil = zone;
    if (!c.continuer) return fin_vallee::annulee;
    if (!p.erosion && I >= F) m.nombre_elements = riviere.dernier + 1;
  }

  // 9. Capacity.
  if (m.nombre_elements > capacite - 3) {
    m.nombre_elements = std::max(capacite - 3, nombre_depart);
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

  // 1. Caption.
  if (c.attente && W != 8000) c.attente->avancer("Streaming processing ...  ", 0);
  c.continuer = true;

  // 2. The disc and its area.
  const std::int32_t R = std::max(1, Round((n - 1) * (W * 0.001) / 16));
  const std::int32_t marge = 2 * R + 1;
  double D = distance_noeuds(i0, j0, i0 + R, j0 + R);
  if (D == 0) D = 1;
  const std::array<std::int32_t, 4> disque = {i0 - marge, i0 + marge, j0 - marge, j0 + marge};
  m.zone_outil = disque;
  std::array<std::int32_t, 4> zone = disque;

  // 3. Seed and spring probability.
  set_seed(static_cast<std::uint32_t>(m.hauteurs->lire(i0, j0)));
  const double probabilite = (G / 40.0 * 6) / n;
  const std::int32_t pas_barre = Round((disque[1] - disque[0]) * 0.01 * (disque[3] - disque[2]));
  const std::int32_t nombre_depart = m.nombre_elements;

  // 4. Springs.
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

  // 5. The area, widened and kept on the lattice.
  m.zone_outil = {std::clamp(zone[0] - marge, 1, n), std::clamp(zone[1] + marge, 1, n),
                  std::clamp(zone[2] - marge, 1, n), std::clamp(zone[3] + marge, 1, n)};
}
