#include "render/arbre.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <utility>

#include "model/aleatoire.h"
#include "render/especes.h"

namespace {

constexpr double pi = std::numbers::pi;

enum : int { Chene = 1, Sapin = 2, Peuplier = 3, Pin = 4, Palmier = 5, Mais = 6, Cactus = 7, Buisson = 8 };

crochet_niveau_arbre& crochet_test() {
  static crochet_niveau_arbre c;
  return c;
}

// One branch piece of the skeleton, held only during generation.
struct squelette {
  double x1, y1, z1;
  double x2, y2, z2;
  double largeur;
  std::uint8_t genre;
};

struct point3 {
  double x = 0, y = 0, z = 0;
};

double valeur(const valeur_d& v, double D) { return v.a + v.b * D; }

// A shade index from a ratio that is at least 0: values past the shade range
// all clamp to the same end, so huge ratios are capped before rounding.
std::int32_t nearest_borne(double v) { return Round(std::min(v, 1e9)); }

void trier(std::span<segment> t, std::int32_t bas, std::int32_t haut) {
  std::int32_t i = bas, j = haut;
  const double pivot = t[static_cast<std::size_t>((bas + haut) / 2 - 1)].profondeur;
  do {
    while (t[static_cast<std::size_t>(i - 1)].profondeur < pivot) ++i;
    while (t[static_cast<std::size_t>(j - 1)].profondeur > pivot) --j;
    if (i <= j) {
      std::swap(t[static_cast<std::size_t>(i - 1)], t[static_cast<std::size_t>(j - 1)]);
      ++i;
      --j;
    }
  } while (i <= j);
  if (bas < j) trier(t, bas, j);
  if (i < haut) trier(t, i, haut);
}

}  // namespace

void fixer_crochet_test_arbre(crochet_niveau_arbre crochet) { crochet_test() = std::move(crochet); }

void trier_segments(std::span<segment> tableau, std::int32_t bas, std::int32_t haut) {
  if (bas >= haut) return;
  if (bas < 1 || static_cast<std::size_t>(haut) > tableau.size())
    throw std::out_of_range("trier_segments: records outside the array");
  trier(tableau, bas, haut);
}

void Tarbre::trier_segments(std::int32_t bas, std::int32_t haut) { ::trier_segments(travail_, bas, haut); }

Tarbre::~Tarbre() = default;

std::unique_ptr<Tarbre> Tarbre::creer(const param_vue& vue, bool detail, std::int32_t variantes,
                                      const espece_arbres& couche) {
  auto a = std::make_unique<Tarbre>(cle{});
  // 1. Copies and species flags.
  a->couche = couche;
  a->vue = vue;
  a->espece = static_cast<std::uint16_t>(couche.espece);
  a->detail = detail ? 1 : 0;
  const int sp = a->espece;
  a->conifere = (sp == Sapin || sp == Pin) ? 1 : 0;
  a->espece_simple = (sp == Sapin || sp == Palmier || sp == Mais || sp == Cactus || sp == Buisson) ? 1 : 0;

  // 2. Level of detail from the viewing distance.
  const double d = vue.distance;
  std::int64_t niv = d < 6 ? 4 : d < 12 ? 3 : d < 20 ? 2 : 1;
  if (vue.premier_plan) niv = 4;
  if (sp == Sapin && niv < 2) niv = 2;

  // 3. Variants.
  const std::int64_t v = std::min<std::int64_t>(variantes, arbre_variantes_max);
  if (v < 0) {
    a->nb_variantes = 1;
    niv = -v;
  } else {
    a->nb_variantes = static_cast<std::uint16_t>(std::max<std::int64_t>(v, 1));
  }

  // 4. A close single tree of the four big species gets more detail.
  if (d < 6 && a->nb_variantes == 1 && sp < 5 && !detail) {
    if (couche.hauteur > 20) niv = 5;
    if (couche.hauteur > 30) niv = 6;
  }

  // 5. A Fir with more detail is held back one level.
  if (vue.detail_plus && sp == Sapin) {
    if (niv >= 7)
      niv = 6;
    else if (niv == 6)
      niv = 5;
  }

  // 6. The level stays within the species' capacity table: beyond it the
  // arrays could not hold the growth.
  niv = std::clamp<std::int64_t>(niv, 1, std::max(1, dernier_niveau_de(sp)));
  a->niveau = static_cast<std::int32_t>(niv);
  a->capacite = capacites_de(sp);
  for (auto& c : a->capacite) c = static_cast<std::uint16_t>(c + 2);

  // 7. One array per variant and level 0..niveau.
  a->segments.resize(a->nb_variantes);
  for (auto& parVariante : a->segments) {
    parVariante.resize(static_cast<std::size_t>(a->niveau) + 1);
    for (int l = 0; l <= a->niveau; ++l) parVariante[static_cast<std::size_t>(l)].resize(a->capacite[static_cast<std::size_t>(l)]);
  }
  return a;
}

void Tarbre::generer_arbre(const param_vue& vue_arg, const espece_arbres& couche_arg, double facteur_vue_arg,
                           double inclinaison_centre, double lumiere_hauteur_arg, double lumiere_face_arg,
                           double reference_rotation, double /*reserve*/, std::uint16_t degre_arg,
                           std::int32_t graine_arg, WindowHandle fenetre, ProgressSink* attente, bool& annule,
                           double inclinaison_a, double inclinaison_b) {
  // 1. Copies.
  couche = couche_arg;
  detail_arbres = vue_arg.detail_arbres;
  premier_plan = vue_arg.premier_plan;
  annule = false;
  degre = degre_arg;
  facteur_vue = facteur_vue_arg;
  lumiere_hauteur = lumiere_hauteur_arg;
  lumiere_face = lumiere_face_arg;
  graine = graine_arg;
  for (auto& parNiveau : nb_segments) parNiveau.fill(0);

  const int nv = nb_variantes;
  const auto N = static_cast<std::size_t>(niveau);

  // 2. Turns about the vertical.
  double angle = -std::atan(reference_rotation);
  cos_rotation[0] = std::cos(angle);
  sin_rotation[0] = std::sin(angle);
  for (int k = 2; k <= nv; ++k) {
    angle = angle + pi * k / nv;
    cos_rotation[static_cast<std::size_t>(k - 1)] = std::cos(angle);
    sin_rotation[static_cast<std::size_t>(k - 1)] = std::sin(angle);
  }

  // 3. Tilt classes.
  inclinaison.fill(inclinaison_centre);
  if (nv == arbre_variantes_max) {
    const double d = 0.2 * (inclinaison_a - inclinaison_b);
    inclinaison[1] = inclinaison_centre - 2 * d;
    inclinaison[2] = inclinaison_centre - d;
    inclinaison[3] = inclinaison_centre + d;
    inclinaison[4] = inclinaison_centre + 2 * d;
  }

  // 4. Copies of the layer.
  interdit_rocher = couche.interdit_rocher;
  interdit_terre = couche.interdit_terre;
  interdit_herbe = couche.interdit_herbe;
  hauteur_tronc = static_cast<std::uint16_t>(couche.hauteur_tronc);
  largeur_tronc = static_cast<std::uint16_t>(couche.largeur_tronc);
  couleur = static_cast<std::uint16_t>(couche.couleur);
  taille_feuilles = static_cast<std::uint16_t>(couche.taille_feuilles);
  largeur_feuilles = static_cast<std::uint16_t>(couche.largeur_feuilles);
  largeur = couche.largeur;
  poids = static_cast<std::int32_t>(
      std::max<std::int64_t>(static_cast<std::int64_t>(couche.poids_branches) - 20, INT32_MIN));
  signe_azimut = vue_arg.azimut_soleil < 0 ? -1 : 1;

  // 5. Height scale for the terrain's mesh degree.
  echelle = 0.02 * couche.hauteur;
  for (int i = degre; i < 7; ++i) echelle = echelle * 0.5;
  for (int i = 7; i < degre; ++i) echelle = echelle * 2;

  // 6. Horizontal stretch.
  const double etirement = 0.01 * (largeur * largeur);

  // 7. Species rules.
  const regles_espece* regles = regles_de(espece);
  const double D = static_cast<std::uint16_t>(couche.diversite);
  double penche = 0, abandon = 0, pousse = 0, redressement = 0, correction = 0, ecart_elevation = 0,
         ecart_azimut = 0, elan = 0, ecart_taille = 0, flexion = 0;
  agitation = 0;
  forme = 0;
  grappes = 0;
  echelle_grappe = 0;
  if (regles) {
    penche = valeur(regles->penche, D);
    agitation = valeur(regles->agitation, D);
    abandon = valeur(regles->abandon, D);
    pousse = regles->pousse;
    redressement = regles->redressement;
    correction = regles->correction;
    ecart_elevation = valeur(regles->ecart_elevation, D);
    ecart_azimut = valeur(regles->ecart_azimut, D);
    elan = valeur(regles->elan, D);
    ecart_taille = valeur(regles->ecart_taille, D);
    flexion = regles->flexion;
    forme = regles->forme;
    grappes = regles->grappes;
    echelle_grappe = regles->echelle_grappe;
  }
  if (D == 0) abandon = 0;
  croissance = static_cast<std::int32_t>(
      std::max<std::int64_t>(static_cast<std::int64_t>(couche.taux_croissance) - 5, INT32_MIN));
  const double g0 = (0.05 * croissance * (espece == Buisson ? 0.5 : 1.0) + 1) * pousse;

  // 8. Work storage, all of it before the variant loop; released on return.
  if (!detail_arbres || !regles) return;
  const std::span<const ligne_modele> tronc = regles->tronc, branche = regles->branche, grappe = regles->grappe;
  std::vector<std::vector<squelette>> squel(N + 1);
  std::size_t plus_grande = 0;
  for (std::size_t l = 0; l <= N; ++l) {
    squel[l].resize(capacite[l]);
    plus_grande = std::max<std::size_t>(plus_grande, capacite[l]);
  }
  struct Liberation {
    std::vector<segment>& v;
    ~Liberation() { std::vector<segment>().swap(v); }
  } liberation{travail_};
  travail_.assign(plus_grande, segment{});
  std::vector<point3> W(tronc.size()), V(branche.size());
  std::array<double, arbre_niveaux> hauteur{}, reference{};
  std::array<std::array<bool, arbre_niveaux>, arbre_variantes_max> sorti{};

  auto progression = [&](std::uint16_t pas) {
    if (!attente) return;
    attente->tester_annulation();
    if (!annule && cancel_requested(fenetre)) annule = true;
    if (!annule && pas > 0) attente->avancer(std::nullopt, pas);
  };

  const bool cactus = espece == Cactus;
  bool erreur = false;
  try {
    for (int k = 1; k <= nv && !annule; ++k) {
      const auto kv = static_cast<std::size_t>(k - 1);
      // 1. Tilt of the variant's class.
      std::size_t classe = 0;
      if (nv == arbre_variantes_max) classe = k <= 8 ? 0 : k <= 12 ? 1 : k <= 16 ? 2 : k <= 20 ? 3 : 4;
      double s = inclinaison[classe];
      if (s > 1)
        s = 0.999;
      else if (s < -1)
        s = -0.999;
      double s2 = s * s;
      if (s2 > 0.9999) s2 = 0.9999;
      const double c = std::sqrt(1 - s2);

      // 2. Reseed; a negative product wraps modulo 2^32.
      set_seed(static_cast<std::uint32_t>(Round(graine * pi * k)));

      // 3. Progress.
      if (nv > 1) progression(static_cast<std::uint16_t>(Round(24.0 / nv)));
      const bool fin = nv == 1 && (niveau > 6 || (espece == Sapin && niveau == 6));
      const std::uint16_t pasP = fin ? 1 : 0;

      // 4. Working copies.
      for (std::size_t r = 0; r < tronc.size(); ++r) W[r] = {tronc[r].x, tronc[r].y, tronc[r].z};
      for (std::size_t r = 0; r < branche.size(); ++r) V[r] = {branche[r].x, branche[r].y, branche[r].z};
      double q = 1;

      // 5. Lean.
      const double dxl = (1 - 2 * Random()) * penche;
      const double dyl = (1 - 2 * Random()) * penche;
      for (auto& p : W) {
        p.x += dxl;
        p.y += dyl;
      }

      // 6. Trunk, level 0.
      hauteur.fill(0);
      reference.fill(0);
      std::size_t compte = 0;
      {
        bool stop = false;
        auto& s0 = squel[0];
        for (std::size_t r = 1; r < tronc.size(); ++r) {
          if (tronc[r].genre == 0) {
            stop = Random() < abandon / 2;
            continue;
          }
          if (stop) continue;
          const point3 a = W[r - 1];
          point3& b = W[r];
          double delta = b.x - a.x;
          b.x = a.x + delta * (1 + (1 - 2 * Random()) * 3 * agitation);
          delta = b.y - a.y;
          b.y = a.y + delta * (1 + (1 - 2 * Random()) * 3 * agitation);
          delta = b.z - a.z;
          b.z = a.z + delta * (1 + (1 - 2 * Random()) * 3 * agitation);
          const double r2 = Random();
          b.z = a.z + delta * (1 + r2 * elan);
          if (compte < s0.size())
            s0[compte++] = {a.x, a.y, a.z, b.x, b.y, b.z, tronc[r].largeur, tronc[r].genre};
          hauteur[0] = std::max({hauteur[0], b.x, b.y, b.z});
        }
      }
      progression(pasP);

      // 7. Growth, level by level.
      double g = g0;
      for (std::size_t l = 1; l <= N && !annule; ++l) {
        if (crochet_test()) crochet_test()(k, static_cast<int>(l), false);
        hauteur[l] = hauteur[l - 1];
        reference[l] = hauteur[l];
        for (auto& p : V) {
          p.x *= g;
          p.y *= g;
          p.z *= g;
          if (l > 4) {
            p.x *= 1.02;
            p.y *= 1.02;
            p.z *= 1.02;
          }
        }
        auto& niv = squel[l];
        const std::size_t cap = niv.size();
        const std::size_t n = std::min(compte, cap);
        std::copy_n(squel[l - 1].begin(), n, niv.begin());
        compte = n;

        // Cluster pass.
        if (grappes) {
          for (std::size_t i = 0; i < n; ++i) {
            if (niv[i].genre != 4) continue;
            q = (0.03 * croissance + 1) * q * echelle_grappe;
            niv[i].genre = 2;
            point3 P{niv[i].x2, niv[i].y2, niv[i].z2};
            const double P0z = P.z;
            const double largeur_e = niv[i].largeur;
            point3 o, Tprev;
            double w = 0;
            bool stop = false;
            for (std::size_t r = 0; r < grappe.size(); ++r) {
              point3 T{q * grappe[r].x, q * grappe[r].y, q * grappe[r].z};
              const std::uint8_t genre_r = grappe[r].genre;
              if (genre_r != 0) {
                T.x = Tprev.x + (T.x - Tprev.x) * (1 + (1 - 2 * Random()) * agitation);
                T.y = Tprev.y + (T.y - Tprev.y) * (1 + (1 - 2 * Random()) * agitation);
                T.z = Tprev.z + (T.z - Tprev.z) * (1 + (1 - 2 * Random()) * agitation);
              } else {
                stop = false;
                if (r > 0) stop = Random() < 0.8 * abandon;
                w = largeur_e;
              }
              if (compte >= cap) stop = true;
              if (!stop) {
                if (genre_r == 0) {
                  P.z = P0z + 0.4 * (1 - 2 * Random()) * elan * hauteur[l];
                  if (espece == Sapin) {
                    const double h = P.z + o.z;
                    if (h > 0) niv[i].z2 = 1.2 * h;
                  }
                } else {
                  w = 0.85 * w;
                  const double z2 = P.z + T.z;
                  niv[compte++] = {P.x + o.x, P.y + o.y, P.z + o.z, P.x + T.x, P.y + T.y, z2, w, genre_r};
                  if (z2 > hauteur[l]) hauteur[l] = z2;
                  if (z2 > reference[l]) reference[l] = z2;
                }
                o = T;
              }
              Tprev = T;
            }
          }
        }

        progression(pasP);
        if (l > 3) g = 1.06 * g;

        // Branch pass.
        const std::size_t nb = compte;
        for (std::size_t i = 0; i < nb; ++i) {
          if (niv[i].genre != 3) continue;
          niv[i].genre = ((espece == Sapin && l > 1) || espece == Palmier) ? 1 : 2;
          const double dx = niv[i].x2 - niv[i].x1, dy = niv[i].y2 - niv[i].y1, dz = niv[i].z2 - niv[i].z1;
          const double h = std::sqrt(dx * dx + dy * dy);
          const double L = std::sqrt(h * h + dz * dz);
          double theta = 0;
          if (h != 0) {
            const double sy = dy / h;
            double sx = dx / h;
            if (sx == 0) sx = 0.001;
            theta = std::atan(sy / sx);
            if (sx <= 0) theta += pi;
          }
          double phi = 0;
          if (L != 0) {
            const double sz = dz / L;
            double sh = h / L;
            if (sh == 0) sh = 0.001;
            phi = pi / 2 - std::atan(sz / sh);
          }
          theta = theta * (1 + (1 - 2 * Random()) * ecart_azimut);
          phi = phi * (1 + (1 - 2 * Random()) * ecart_elevation);
          if (0.2 < phi && phi < pi - 0.2) phi = phi - redressement;
          if (phi < pi / 2 - 0.1) phi = phi + correction;
          if (phi > pi / 2 + 0.1) phi = phi - correction;
          if (cactus) phi = 0;
          const double cp = std::cos(phi), sp = std::sin(phi), ct = std::cos(theta), st = std::sin(theta);

          const point3 P{niv[i].x2, niv[i].y2, niv[i].z2};
          const double largeur_e = niv[i].largeur;
          point3 o, Tprev;
          double w = 0;
          bool stop = false;
          for (std::size_t r = 0; r < branche.size(); ++r) {
            const std::uint8_t genre_r = branche[r].genre;
            point3 T;
            T.x = 0.5 * L * (1 + (1 - 2 * Random()) * 0.5 * ecart_taille) * V[r].x;
            T.y = 0.5 * L * (1 + (1 - 2 * Random()) * 0.5 * ecart_taille) * V[r].y;
            T.z = 0.5 * L * (1 + (1 - 2 * Random()) * 0.5 * ecart_taille) * V[r].z;
            if (genre_r != 0) {
              T.x = Tprev.x + (T.x - Tprev.x) * (1 + (1 - 2 * Random()) * agitation);
              T.y = Tprev.y + (T.y - Tprev.y) * (1 + (1 - 2 * Random()) * agitation);
              T.z = Tprev.z + (T.z - Tprev.z) * (1 + (1 - 2 * Random()) * agitation);
            } else {
              stop = false;
              if (r > 0) stop = Random() < 0.8 * abandon;
              w = cactus ? (l > 1 ? 0.6 * largeur_e : largeur_e) : 0.87 * largeur_e;
            }
            if (!stop) {
              const point3 debut{P.x + o.x, P.y + o.y, P.z + o.z};
              o.x = T.x * cp * ct - T.y * st + T.z * sp * ct;
              o.y = T.x * cp * st + T.y * ct + T.z * sp * st;
              o.z = T.z * cp - T.x * sp;
              if (cactus && V[r].x == 0 && V[r].y == 0) o.z = o.z * (1 + (1 - 2 * Random()) * elan);
              if (genre_r != 0) {
                if (!cactus) w = 0.86 * w;
                const squelette el{debut.x, debut.y, debut.z, P.x + o.x, P.y + o.y, P.z + o.z, w, genre_r};
                if (compte < cap)
                  niv[compte++] = el;
                else
                  niv[cap - 1] = el;
              }
            }
            Tprev = T;
          }
        }
        nb_segments[kv][l] = static_cast<std::uint16_t>(compte);
      }
      if (annule) break;

      // 8. Output, level by level.
      progression(pasP);
      for (std::size_t l = 1; l <= N && !annule; ++l) {
        if (crochet_test()) crochet_test()(k, static_cast<int>(l), true);
        auto& niv = squel[l];
        const std::size_t n = nb_segments[kv][l];
        const double H = hauteur[l];

        // 1. Stretch and bend.
        if (etirement != 1) {
          for (std::size_t i = 0; i < n; ++i) {
            niv[i].x1 *= etirement;
            niv[i].y1 *= etirement;
            niv[i].x2 *= etirement;
            niv[i].y2 *= etirement;
          }
        }
        if (poids != 0) {
          auto plier = [&](double x, double y, double z) {
            const double m = std::max(0.0, z - H);
            return z - (poids / 20.0) * H * flexion * std::sqrt(x * x + y * y + m * m);
          };
          for (std::size_t i = 0; i < n; ++i) {
            niv[i].z1 = plier(niv[i].x1, niv[i].y1, niv[i].z1);
            niv[i].z2 = plier(niv[i].x2, niv[i].y2, niv[i].z2);
            if (niv[i].z2 > reference[l]) reference[l] = niv[i].z2;
          }
        }

        // 2. Pine tiers.
        if (espece == Pin && l > 3) {
          const double Hr = reference[l];
          std::array<double, 8> t{};
          for (std::size_t j = 1; j <= 7; ++j) t[j] = std::min(Hr, t[j - 1] + (0.012 * static_cast<double>(l % 10) + 0.04) * Hr);
          for (std::size_t i = 0; i < n; ++i) {
            if (niv[i].genre != 1) continue;
            const double z2 = niv[i].z2;
            std::size_t j = 1;
            for (std::size_t jj = 7; jj >= 1; --jj) {
              if (t[jj - 1] < z2) {
                j = jj;
                break;
              }
            }
            const double ecart = z2 - t[j - 1], palier = t[j] - t[j - 1];
            if (0 < ecart && ecart < palier && z2 > niv[i].y2)
              niv[i].z2 = t[j - 1] + palier * std::pow(ecart / palier, 0.06);
          }
        }

        // 3. Projection with the variant's turn and tilt.
        const double ca = cos_rotation[kv], sa = sin_rotation[kv];
        for (std::size_t i = 0; i < n; ++i) {
          const squelette& e = niv[i];
          segment& sg = travail_[i];
          sg.x1 = e.x1 * sa - e.y1 * ca;
          sg.y1 = e.z1 * c - (e.x1 * ca + e.y1 * sa) * s;
          sg.x2 = e.x2 * sa - e.y2 * ca;
          sg.y2 = e.z2 * c - (e.x2 * ca + e.y2 * sa) * s;
          sg.profondeur = 100 - (e.x2 * ca * c + e.y2 * sa * c + e.z2 * s);
          sg.largeur = e.largeur;
          sg.genre = e.genre;
          const double lx = e.x2 - e.x1, ly = e.y2 - e.y1, lz = e.z2 - e.z1;
          sg.longueur = std::sqrt(lx * lx + ly * ly + lz * lz) / std::max(0.1, H);
          const double px = sg.x2 - sg.x1, py = sg.y2 - sg.y1;
          double pl = std::sqrt(px * px + py * py);
          if (pl == 0) pl = 0.001;
          sg.dir_x = px / pl;
          sg.dir_y = py / pl;
          sg.teinte = 0;
          sg.rang = 0;
        }
        if (n > 0) {
          pied_x[kv] = travail_[0].x1;
          pied_y[kv] = travail_[0].y1;
          pied_largeur[kv] = travail_[0].largeur;
        }

        // 4. Extent before projection.
        double et = 0;
        for (std::size_t i = 0; i < n; ++i) et = std::max({et, niv[i].x2, niv[i].y2, niv[i].z2});
        etendue[kv][l] = et;

        // 5. Light centre.
        double X = -10, Y = -10, Ymin = 0;
        for (std::size_t i = 0; i < n; ++i) {
          X = std::max(X, travail_[i].x2);
          Y = std::max(Y, travail_[i].y2);
          Ymin = std::min(Ymin, travail_[i].y2);
        }
        double etendue_lum = std::max(Y - Ymin, 2 * X);
        if (etendue_lum <= 0) etendue_lum = 1;
        const double az = vue_arg.azimut_soleil;
        double Lx, Ly;
        if (lumiere_face >= 0) {
          Lx = 0.01 * az * X;
          Ly = (1.3 - 1.2 * lumiere_hauteur) * Y;
        } else {
          Lx = -signe_azimut * 0.01 * (180 - std::fabs(az)) * X;
          Ly = 0.5 * lumiere_hauteur * Y;
        }

        // 6. Depth sort.
        progression(pasP);
        trier_segments(1, static_cast<std::int32_t>(n));

        // 7. Shade and store, farthest first.
        auto& dest = segments[kv][l];
        const auto ni = static_cast<std::int32_t>(n);
        const std::int32_t bord = ni - Round(0.1 * ni);
        const bool etroit = X < Y / 2, large = X > 2 * Y;
        for (std::int32_t b = 1; b <= ni; ++b) {
          const std::int32_t m = ni + 1 - b;
          const segment& sg = travail_[static_cast<std::size_t>(m - 1)];
          const double ex = sg.x2 - Lx, ey = sg.y2 - Ly;
          std::int32_t teinte;
          if (lumiere_face >= 0) {
            const double dd = etroit ? std::fabs(ex) * 3 : large ? std::fabs(ey) * 6 : std::sqrt(ex * ex + ey * ey);
            teinte = 8 - nearest_borne(5 * dd / etendue_lum);
            if (l > 3 && b > bord && X > Y / 2 && -100 < az && az < 100) teinte = 8;
          } else {
            const double dd = etroit ? std::fabs(ex) * 2 : large ? std::fabs(ey) * 4 : std::sqrt(ex * ex + ey * ey);
            teinte = nearest_borne(10 * dd / etendue_lum);
          }
          teinte = std::clamp(teinte, 1, 8);
          segment& out = dest[static_cast<std::size_t>(b - 1)];
          out = sg;
          out.teinte = static_cast<std::uint8_t>(teinte);
          out.rang = static_cast<std::uint16_t>(m);
        }
        sorti[kv][l] = true;

        // 8.
        progression(pasP);
      }
    }
  } catch (...) {
    erreur = true;
  }
  if (erreur) warn("Internal error when generating trees", "Trees ");
  for (std::size_t kv = 0; kv < static_cast<std::size_t>(nv); ++kv)
    for (std::size_t l = 1; l <= N; ++l)
      if (!sorti[kv][l]) nb_segments[kv][l] = 0;
}
