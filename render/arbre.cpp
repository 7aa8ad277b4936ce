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
  // Copies and species flags.
  a->couche = couche;
  a->vue = vue;
  a->espece = static_cast<std::uint16_t>(couche.espece);
  a->detail = detail ? 1 : 0;
  const int sp = a->espece;
  a->conifere = (sp == Sapin || sp == Pin) ? 1 : 0;
  a->espece_simple = (sp == Sapin || sp == Palmier || sp == Mais || sp == Cactus || sp == Buisson) ? 1 : 0;

  // Level of detail from the viewing distance.
  const double d = vue.distance;
  std::int64_t niv = d < 6 ? 4 : d < 12 ? 3 : d < 20 ? 2 : 1;
  if (vue.premier_plan) niv = 4;
  if (sp == Sapin && niv < 2) niv = 2;

  // Variants.
  const std::int64_t v = std::min<std::int64_t>(variantes, arbre_variantes_max);
  if (v < 0) {
    a->nb_variantes = 1;
    niv = -v;
  } else {
    a->nb_variantes = static_cast<std::uint16_t>(std::max<std::int64_t>(v, 1));
  }

  // A close single tree of the four big species gets more detail.
  if (d < 6 && a->nb_variantes == 1 && sp < 5 && !detail) {
    if (couche.hauteur > 20) niv = 5;
    if (couche.hauteur > 30) niv = 6;
  }

  // A Fir with more detail is held back one level.
  if (vue.detail_plus && sp == Sapin) {
    if (niv >= 7)
      niv = 6;
    else if (niv == 6)
      niv = 5;
  }

  // The level stays within the species' capacity table: beyond it the
  // arrays could not hold the growth.
  niv = std::clamp<std::int64_t>(niv, 1, std::max(1, dernier_niveau_de(sp)));
  a->niveau = static_cast<std::int32_t>(niv);
  a->capacite = capacites_de(sp);
  for (auto& c : a->capacite) c = static_cast<std::uint16_t>(c + 2);

  // One array per variant and level 0..niveau.
  a->segments.resize(a->nb_variantes);
  for (auto& parVariante : a->segments) {
    parVariante.resize(static_cast<std::size_t>(a->niveau) + 1);
    for (int l = 0; l <= a->niveau; ++l) parVariante[static_cast<std::size_t>(l)].resize(a->capacite[static_cast<std::size_t>(l)]);
  }
  return a;
}

namespace {

// A joint of a cluster or branch: the point strays from the previous one by up
// to the species' agitation, one draw per axis.
void agiter(point3& T, const point3& Tprev, double agitation) {
  T.x = Tprev.x + (T.x - Tprev.x) * (1 + (1 - 2 * Random()) * agitation);
  T.y = Tprev.y + (T.y - Tprev.y) * (1 + (1 - 2 * Random()) * agitation);
  T.z = Tprev.z + (T.z - Tprev.z) * (1 + (1 - 2 * Random()) * agitation);
}

// The arguments of one generation.
struct entrees_generation {
  const param_vue& vue;
  const espece_arbres& couche;
  double facteur_vue, inclinaison_centre, lumiere_hauteur, lumiere_face, reference_rotation;
  std::uint16_t degre;
  std::int32_t graine;
  double inclinaison_a, inclinaison_b;
};

// The species' growth rules resolved for the layer's diversity.
struct regles_pousse {
  const regles_espece* regles = nullptr;  // null for a code outside 1..8
  double penche = 0, abandon = 0, pousse = 0, redressement = 0, correction = 0, ecart_elevation = 0,
         ecart_azimut = 0, elan = 0, ecart_taille = 0, flexion = 0;
  double g0 = 0;          // growth factor of level 1
  double etirement = 0;   // horizontal stretch
  std::span<const ligne_modele> tronc, branche, grappe;
};

// The skeleton of one variant as it grows, level by level.
struct atelier {
  std::vector<std::vector<squelette>> squel;  // levels 0..niveau, each sized to its capacity
  std::vector<point3> W, V;                   // working trunk and branch templates
  std::array<double, arbre_niveaux> hauteur{}, reference{};
  std::size_t compte = 0;  // elements of the level being grown
  double q = 1;            // cluster scale
  double g = 0;            // growth factor
};

// How one variant is seen: its index, the sine and cosine of its tilt, and
// the progress step of the fine mode (0 when off).
struct vue_variante {
  int k;
  std::size_t kv;
  double s, c;
  std::uint16_t pas;
};

// The light centre of one level's projected ends and the span shades scale to.
struct lumiere_niveau {
  double X, Y, etendue, Lx, Ly;
};

class progression {
 public:
  progression(ProgressSink* attente, WindowHandle fenetre, bool& annule)
      : attente_(attente), fenetre_(fenetre), annule_(annule) {}
  void operator()(std::uint16_t pas) {
    if (!attente_) return;
    attente_->tester_annulation();
    if (!annule_ && cancel_requested(fenetre_)) annule_ = true;
    if (!annule_ && pas > 0) attente_->avancer(std::nullopt, pas);
  }
  bool annule() const { return annule_; }

 private:
  ProgressSink* attente_;
  WindowHandle fenetre_;
  bool& annule_;
};

void adopter_entrees(Tarbre& t, const entrees_generation& e) {
  t.couche = e.couche;
  t.detail_arbres = e.vue.detail_arbres;
  t.premier_plan = e.vue.premier_plan;
  t.degre = e.degre;
  t.facteur_vue = e.facteur_vue;
  t.lumiere_hauteur = e.lumiere_hauteur;
  t.lumiere_face = e.lumiere_face;
  t.graine = e.graine;
  for (auto& parNiveau : t.nb_segments) parNiveau.fill(0);
}

void tourner_variantes(Tarbre& t, double reference_rotation) {
  const int nv = t.nb_variantes;
  double angle = -std::atan(reference_rotation);
  t.cos_rotation[0] = std::cos(angle);
  t.sin_rotation[0] = std::sin(angle);
  for (int k = 2; k <= nv; ++k) {
    angle = angle + pi * k / nv;
    t.cos_rotation[static_cast<std::size_t>(k - 1)] = std::cos(angle);
    t.sin_rotation[static_cast<std::size_t>(k - 1)] = std::sin(angle);
  }
}

// Only a full set of 24 variants spreads its tilts over five classes.
void etager_inclinaisons(Tarbre& t, double centre, double a, double b) {
  t.inclinaison.fill(centre);
  if (t.nb_variantes != arbre_variantes_max) return;
  const double d = 0.2 * (a - b);
  t.inclinaison[1] = centre - 2 * d;
  t.inclinaison[2] = centre - d;
  t.inclinaison[3] = centre + d;
  t.inclinaison[4] = centre + 2 * d;
}

// The layer's fields, and the height scale for the terrain's mesh degree.
void adopter_couche(Tarbre& t, double azimut_soleil) {
  const espece_arbres& c = t.couche;
  t.interdit_rocher = c.interdit_rocher;
  t.interdit_terre = c.interdit_terre;
  t.interdit_herbe = c.interdit_herbe;
  t.hauteur_tronc = static_cast<std::uint16_t>(c.hauteur_tronc);
  t.largeur_tronc = static_cast<std::uint16_t>(c.largeur_tronc);
  t.couleur = static_cast<std::uint16_t>(c.couleur);
  t.taille_feuilles = static_cast<std::uint16_t>(c.taille_feuilles);
  t.largeur_feuilles = static_cast<std::uint16_t>(c.largeur_feuilles);
  t.largeur = c.largeur;
  t.poids = static_cast<std::int32_t>(
      std::max<std::int64_t>(static_cast<std::int64_t>(c.poids_branches) - 20, INT32_MIN));
  t.signe_azimut = azimut_soleil < 0 ? -1 : 1;
  t.echelle = 0.02 * c.hauteur;
  for (int i = t.degre; i < 7; ++i) t.echelle = t.echelle * 0.5;
  for (int i = 7; i < t.degre; ++i) t.echelle = t.echelle * 2;
}

regles_pousse lire_regles(Tarbre& t) {
  regles_pousse r;
  r.etirement = 0.01 * (t.largeur * t.largeur);
  r.regles = regles_de(t.espece);
  const double D = static_cast<std::uint16_t>(t.couche.diversite);
  t.agitation = 0;
  t.forme = 0;
  t.grappes = 0;
  t.echelle_grappe = 0;
  if (const regles_espece* g = r.regles) {
    r.penche = valeur(g->penche, D);
    t.agitation = valeur(g->agitation, D);
    r.abandon = valeur(g->abandon, D);
    r.pousse = g->pousse;
    r.redressement = g->redressement;
    r.correction = g->correction;
    r.ecart_elevation = valeur(g->ecart_elevation, D);
    r.ecart_azimut = valeur(g->ecart_azimut, D);
    r.elan = valeur(g->elan, D);
    r.ecart_taille = valeur(g->ecart_taille, D);
    r.flexion = g->flexion;
    t.forme = g->forme;
    t.grappes = g->grappes;
    t.echelle_grappe = g->echelle_grappe;
    r.tronc = g->tronc;
    r.branche = g->branche;
    r.grappe = g->grappe;
  }
  if (D == 0) r.abandon = 0;
  t.croissance = static_cast<std::int32_t>(
      std::max<std::int64_t>(static_cast<std::int64_t>(t.couche.taux_croissance) - 5, INT32_MIN));
  r.g0 = (0.05 * t.croissance * (t.espece == Buisson ? 0.5 : 1.0) + 1) * r.pousse;
  return r;
}

// All the work storage is taken before the first variant.
atelier preparer_atelier(const Tarbre& t, const regles_pousse& r) {
  atelier a;
  a.squel.resize(static_cast<std::size_t>(t.niveau) + 1);
  for (std::size_t l = 0; l < a.squel.size(); ++l) a.squel[l].resize(t.capacite[l]);
  a.W.resize(r.tronc.size());
  a.V.resize(r.branche.size());
  return a;
}

std::size_t plus_grande_capacite(const Tarbre& t) {
  std::size_t m = 0;
  for (int l = 0; l <= t.niveau; ++l) m = std::max<std::size_t>(m, t.capacite[static_cast<std::size_t>(l)]);
  return m;
}

// Tilt of the variant's class, the variant's own seed, and its progress step.
vue_variante preparer_variante(const Tarbre& t, int k, progression& avancer) {
  const int nv = t.nb_variantes;
  std::size_t classe = 0;
  if (nv == arbre_variantes_max) classe = k <= 8 ? 0 : k <= 12 ? 1 : k <= 16 ? 2 : k <= 20 ? 3 : 4;
  double s = t.inclinaison[classe];
  if (s > 1)
    s = 0.999;
  else if (s < -1)
    s = -0.999;
  double s2 = s * s;
  if (s2 > 0.9999) s2 = 0.9999;
  const double c = std::sqrt(1 - s2);

  // A negative product wraps modulo 2^32.
  set_seed(static_cast<std::uint32_t>(Round(t.graine * pi * k)));

  if (nv > 1) avancer(static_cast<std::uint16_t>(Round(24.0 / nv)));
  const bool fin = nv == 1 && (t.niveau > 6 || (t.espece == Sapin && t.niveau == 6));
  return {k, static_cast<std::size_t>(k - 1), s, c, static_cast<std::uint16_t>(fin ? 1 : 0)};
}

// Fresh templates, then the whole trunk leans by one random offset.
void pencher_tronc(const regles_pousse& r, atelier& a) {
  for (std::size_t i = 0; i < r.tronc.size(); ++i) a.W[i] = {r.tronc[i].x, r.tronc[i].y, r.tronc[i].z};
  for (std::size_t i = 0; i < r.branche.size(); ++i) a.V[i] = {r.branche[i].x, r.branche[i].y, r.branche[i].z};
  a.q = 1;
  const double dxl = (1 - 2 * Random()) * r.penche;
  const double dyl = (1 - 2 * Random()) * r.penche;
  for (auto& p : a.W) {
    p.x += dxl;
    p.y += dyl;
  }
}

// Level 0: the trunk template's pieces, each stretched at random; a break row
// may drop the rest of its run.
void pousser_tronc(const Tarbre& t, const regles_pousse& r, atelier& a) {
  a.hauteur.fill(0);
  a.reference.fill(0);
  a.compte = 0;
  bool stop = false;
  auto& s0 = a.squel[0];
  for (std::size_t i = 1; i < r.tronc.size(); ++i) {
    if (r.tronc[i].genre == 0) {
      stop = Random() < r.abandon / 2;
      continue;
    }
    if (stop) continue;
    const point3 p = a.W[i - 1];
    point3& b = a.W[i];
    double delta = b.x - p.x;
    b.x = p.x + delta * (1 + (1 - 2 * Random()) * 3 * t.agitation);
    delta = b.y - p.y;
    b.y = p.y + delta * (1 + (1 - 2 * Random()) * 3 * t.agitation);
    delta = b.z - p.z;
    b.z = p.z + delta * (1 + (1 - 2 * Random()) * 3 * t.agitation);
    const double r2 = Random();
    b.z = p.z + delta * (1 + r2 * r.elan);
    if (a.compte < s0.size())
      s0[a.compte++] = {p.x, p.y, p.z, b.x, b.y, b.z, r.tronc[i].largeur, r.tronc[i].genre};
    a.hauteur[0] = std::max({a.hauteur[0], b.x, b.y, b.z});
  }
}

// Every cluster node among the level's first n elements becomes wood and
// sprouts the cluster template, scaled by a growing q.
void ajouter_grappes(const Tarbre& t, std::size_t l, std::size_t n, const regles_pousse& r, atelier& a) {
  auto& niv = a.squel[l];
  const std::size_t cap = niv.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (niv[i].genre != 4) continue;
    a.q = (0.03 * t.croissance + 1) * a.q * t.echelle_grappe;
    niv[i].genre = 2;
    point3 P{niv[i].x2, niv[i].y2, niv[i].z2};
    const double P0z = P.z;
    const double largeur_e = niv[i].largeur;
    point3 o, Tprev;
    double w = 0;
    bool stop = false;
    for (std::size_t j = 0; j < r.grappe.size(); ++j) {
      point3 T{a.q * r.grappe[j].x, a.q * r.grappe[j].y, a.q * r.grappe[j].z};
      const std::uint8_t genre_r = r.grappe[j].genre;
      if (genre_r != 0) {
        agiter(T, Tprev, t.agitation);
      } else {
        stop = false;
        if (j > 0) stop = Random() < 0.8 * r.abandon;
        w = largeur_e;
      }
      if (a.compte >= cap) stop = true;
      if (!stop) {
        if (genre_r == 0) {
          P.z = P0z + 0.4 * (1 - 2 * Random()) * r.elan * a.hauteur[l];
          if (t.espece == Sapin) {
            const double h = P.z + o.z;
            if (h > 0) niv[i].z2 = 1.2 * h;
          }
        } else {
          w = 0.85 * w;
          const double z2 = P.z + T.z;
          niv[a.compte++] = {P.x + o.x, P.y + o.y, P.z + o.z, P.x + T.x, P.y + T.y, z2, w, genre_r};
          if (z2 > a.hauteur[l]) a.hauteur[l] = z2;
          if (z2 > a.reference[l]) a.reference[l] = z2;
        }
        o = T;
      }
      Tprev = T;
    }
  }
}

// The turn of a new branch: the growing tip's own azimuth and elevation,
// scattered, then pulled towards the horizontal.
struct orientation {
  double L;  // length of the growing tip
  double cp, sp, ct, st;
};

orientation orienter_branche(const squelette& e, const regles_pousse& r, bool cactus) {
  const double dx = e.x2 - e.x1, dy = e.y2 - e.y1, dz = e.z2 - e.z1;
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
  theta = theta * (1 + (1 - 2 * Random()) * r.ecart_azimut);
  phi = phi * (1 + (1 - 2 * Random()) * r.ecart_elevation);
  if (0.2 < phi && phi < pi - 0.2) phi = phi - r.redressement;
  if (phi < pi / 2 - 0.1) phi = phi + r.correction;
  if (phi > pi / 2 + 0.1) phi = phi - r.correction;
  if (cactus) phi = 0;
  return {L, std::cos(phi), std::sin(phi), std::cos(theta), std::sin(theta)};
}

// Lays the branch template, turned by `rot`, at the end of element i. A full
// level keeps overwriting its last element.
void tracer_branche(const Tarbre& t, std::size_t l, std::size_t i, const orientation& rot, const regles_pousse& r,
                    atelier& a) {
  auto& niv = a.squel[l];
  const std::size_t cap = niv.size();
  const bool cactus = t.espece == Cactus;
  const double L = rot.L;
  const point3 P{niv[i].x2, niv[i].y2, niv[i].z2};
  const double largeur_e = niv[i].largeur;
  point3 o, Tprev;
  double w = 0;
  bool stop = false;
  for (std::size_t j = 0; j < r.branche.size(); ++j) {
    const std::uint8_t genre_r = r.branche[j].genre;
    const point3& Vj = a.V[j];
    point3 T;
    T.x = 0.5 * L * (1 + (1 - 2 * Random()) * 0.5 * r.ecart_taille) * Vj.x;
    T.y = 0.5 * L * (1 + (1 - 2 * Random()) * 0.5 * r.ecart_taille) * Vj.y;
    T.z = 0.5 * L * (1 + (1 - 2 * Random()) * 0.5 * r.ecart_taille) * Vj.z;
    if (genre_r != 0) {
      agiter(T, Tprev, t.agitation);
    } else {
      stop = false;
      if (j > 0) stop = Random() < 0.8 * r.abandon;
      w = cactus ? (l > 1 ? 0.6 * largeur_e : largeur_e) : 0.87 * largeur_e;
    }
    if (!stop) {
      const point3 debut{P.x + o.x, P.y + o.y, P.z + o.z};
      o.x = T.x * rot.cp * rot.ct - T.y * rot.st + T.z * rot.sp * rot.ct;
      o.y = T.x * rot.cp * rot.st + T.y * rot.ct + T.z * rot.sp * rot.st;
      o.z = T.z * rot.cp - T.x * rot.sp;
      if (cactus && Vj.x == 0 && Vj.y == 0) o.z = o.z * (1 + (1 - 2 * Random()) * r.elan);
      if (genre_r != 0) {
        if (!cactus) w = 0.86 * w;
        const squelette el{debut.x, debut.y, debut.z, P.x + o.x, P.y + o.y, P.z + o.z, w, genre_r};
        if (a.compte < cap)
          niv[a.compte++] = el;
        else
          niv[cap - 1] = el;
      }
    }
    Tprev = T;
  }
}

// Every growing tip of the level (up to the count after the clusters) stops
// growing and carries a new branch.
void ajouter_branches(const Tarbre& t, std::size_t l, const regles_pousse& r, atelier& a) {
  auto& niv = a.squel[l];
  const bool cactus = t.espece == Cactus;
  const std::size_t nb = a.compte;
  for (std::size_t i = 0; i < nb; ++i) {
    if (niv[i].genre != 3) continue;
    niv[i].genre = ((t.espece == Sapin && l > 1) || t.espece == Palmier) ? 1 : 2;
    const orientation rot = orienter_branche(niv[i], r, cactus);
    tracer_branche(t, l, i, rot, r, a);
  }
}

// Level l starts as a copy of level l - 1 with the branch template scaled up.
void pousser_niveau(Tarbre& t, const vue_variante& vv, std::size_t l, const regles_pousse& r, atelier& a,
                    progression& avancer) {
  if (crochet_test()) crochet_test()(vv.k, static_cast<int>(l), false);
  a.hauteur[l] = a.hauteur[l - 1];
  a.reference[l] = a.hauteur[l];
  for (auto& p : a.V) {
    p.x *= a.g;
    p.y *= a.g;
    p.z *= a.g;
    if (l > 4) {
      p.x *= 1.02;
      p.y *= 1.02;
      p.z *= 1.02;
    }
  }
  auto& niv = a.squel[l];
  const std::size_t n = std::min(a.compte, niv.size());
  std::copy_n(a.squel[l - 1].begin(), n, niv.begin());
  a.compte = n;
  if (t.grappes) ajouter_grappes(t, l, n, r, a);
  avancer(vv.pas);
  if (l > 3) a.g = 1.06 * a.g;
  ajouter_branches(t, l, r, a);
  t.nb_segments[vv.kv][l] = static_cast<std::uint16_t>(a.compte);
}

// Widens the crown horizontally, then lets the weight of the branches bow
// them down; a bent end above the reference height raises it.
void etirer_et_plier(const Tarbre& t, std::span<squelette> niv, double H, const regles_pousse& r,
                     double& reference) {
  if (r.etirement != 1) {
    for (squelette& e : niv) {
      e.x1 *= r.etirement;
      e.y1 *= r.etirement;
      e.x2 *= r.etirement;
      e.y2 *= r.etirement;
    }
  }
  if (t.poids == 0) return;
  auto plier = [&](double x, double y, double z) {
    const double m = std::max(0.0, z - H);
    return z - (t.poids / 20.0) * H * r.flexion * std::sqrt(x * x + y * y + m * m);
  };
  for (squelette& e : niv) {
    e.z1 = plier(e.x1, e.y1, e.z1);
    e.z2 = plier(e.x2, e.y2, e.z2);
    if (e.z2 > reference) reference = e.z2;
  }
}

// A Pine's tips gather on seven flat tiers of its crown.
void etager_pin(std::span<squelette> niv, std::size_t l, double Hr) {
  std::array<double, 8> t{};
  for (std::size_t j = 1; j <= 7; ++j) t[j] = std::min(Hr, t[j - 1] + (0.012 * static_cast<double>(l % 10) + 0.04) * Hr);
  for (squelette& e : niv) {
    if (e.genre != 1) continue;
    const double z2 = e.z2;
    std::size_t j = 1;
    for (std::size_t jj = 7; jj >= 1; --jj) {
      if (t[jj - 1] < z2) {
        j = jj;
        break;
      }
    }
    const double ecart = z2 - t[j - 1], palier = t[j] - t[j - 1];
    if (0 < ecart && ecart < palier && z2 > e.y2) e.z2 = t[j - 1] + palier * std::pow(ecart / palier, 0.06);
  }
}

// Projects the level with the variant's turn and tilt into the work array;
// the first element's start is the tree's foot.
void projeter(Tarbre& t, const vue_variante& vv, std::span<const squelette> niv, double H,
              std::vector<segment>& travail) {
  const double ca = t.cos_rotation[vv.kv], sa = t.sin_rotation[vv.kv], s = vv.s, c = vv.c;
  for (std::size_t i = 0; i < niv.size(); ++i) {
    const squelette& e = niv[i];
    segment& sg = travail[i];
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
  if (!niv.empty()) {
    t.pied_x[vv.kv] = travail[0].x1;
    t.pied_y[vv.kv] = travail[0].y1;
    t.pied_largeur[vv.kv] = travail[0].largeur;
  }
}

// The greatest coordinate of the level's ends, before projection.
double etendue_de(std::span<const squelette> niv) {
  double et = 0;
  for (const squelette& e : niv) et = std::max({et, e.x2, e.y2, e.z2});
  return et;
}

// Front light sits high on the sun's side; back light comes from behind the
// crown, on the side the sun's azimuth leans to.
lumiere_niveau centre_lumiere(const Tarbre& t, std::span<const segment> projetes, double azimut) {
  lumiere_niveau L{-10, -10, 0, 0, 0};
  double Ymin = 0;
  for (const segment& sg : projetes) {
    L.X = std::max(L.X, sg.x2);
    L.Y = std::max(L.Y, sg.y2);
    Ymin = std::min(Ymin, sg.y2);
  }
  L.etendue = std::max(L.Y - Ymin, 2 * L.X);
  if (L.etendue <= 0) L.etendue = 1;
  if (t.lumiere_face >= 0) {
    L.Lx = 0.01 * azimut * L.X;
    L.Ly = (1.3 - 1.2 * t.lumiere_hauteur) * L.Y;
  } else {
    L.Lx = -t.signe_azimut * 0.01 * (180 - std::fabs(azimut)) * L.X;
    L.Ly = 0.5 * t.lumiere_hauteur * L.Y;
  }
  return L;
}

// Stores the depth-sorted work array farthest first, each segment shaded by
// its end's distance from the light centre. Under front light the nearest
// tenth of a deep crown stays fully lit.
void ombrer_et_ranger(Tarbre& t, const vue_variante& vv, std::size_t l, std::span<const segment> tries,
                      const lumiere_niveau& L, double azimut) {
  auto& dest = t.segments[vv.kv][l];
  const auto ni = static_cast<std::int32_t>(tries.size());
  const std::int32_t bord = ni - Round(0.1 * ni);
  const bool etroit = L.X < L.Y / 2, large = L.X > 2 * L.Y;
  for (std::int32_t b = 1; b <= ni; ++b) {
    const std::int32_t m = ni + 1 - b;
    const segment& sg = tries[static_cast<std::size_t>(m - 1)];
    const double ex = sg.x2 - L.Lx, ey = sg.y2 - L.Ly;
    std::int32_t teinte;
    if (t.lumiere_face >= 0) {
      const double dd = etroit ? std::fabs(ex) * 3 : large ? std::fabs(ey) * 6 : std::sqrt(ex * ex + ey * ey);
      teinte = 8 - nearest_borne(5 * dd / L.etendue);
      if (l > 3 && b > bord && L.X > L.Y / 2 && -100 < azimut && azimut < 100) teinte = 8;
    } else {
      const double dd = etroit ? std::fabs(ex) * 2 : large ? std::fabs(ey) * 4 : std::sqrt(ex * ex + ey * ey);
      teinte = nearest_borne(10 * dd / L.etendue);
    }
    teinte = std::clamp(teinte, 1, 8);
    segment& out = dest[static_cast<std::size_t>(b - 1)];
    out = sg;
    out.teinte = static_cast<std::uint8_t>(teinte);
    out.rang = static_cast<std::uint16_t>(m);
  }
}

// Turns level l's skeleton into the stored, shaded draw segments.
void sortir_niveau(Tarbre& t, const vue_variante& vv, std::size_t l, const regles_pousse& r, atelier& a,
                   std::vector<segment>& travail, progression& avancer, double azimut) {
  if (crochet_test()) crochet_test()(vv.k, static_cast<int>(l), true);
  const std::size_t n = t.nb_segments[vv.kv][l];
  const std::span<squelette> niv(a.squel[l].data(), n);
  const double H = a.hauteur[l];
  etirer_et_plier(t, niv, H, r, a.reference[l]);
  if (t.espece == Pin && l > 3) etager_pin(niv, l, a.reference[l]);
  projeter(t, vv, niv, H, travail);
  t.etendue[vv.kv][l] = etendue_de(niv);
  const lumiere_niveau L = centre_lumiere(t, std::span<const segment>(travail.data(), n), azimut);
  avancer(vv.pas);
  ::trier_segments(travail, 1, static_cast<std::int32_t>(n));
  ombrer_et_ranger(t, vv, l, std::span<const segment>(travail.data(), n), L, azimut);
}

using niveaux_sortis = std::array<std::array<bool, arbre_niveaux>, arbre_variantes_max>;

// Grows every level of variant k, then outputs them; a cancel stops either.
void generer_variante(Tarbre& t, int k, const regles_pousse& r, atelier& a, std::vector<segment>& travail,
                      progression& avancer, double azimut, niveaux_sortis& sorti) {
  const vue_variante vv = preparer_variante(t, k, avancer);
  pencher_tronc(r, a);
  pousser_tronc(t, r, a);
  avancer(vv.pas);
  const auto N = static_cast<std::size_t>(t.niveau);
  a.g = r.g0;
  for (std::size_t l = 1; l <= N && !avancer.annule(); ++l) pousser_niveau(t, vv, l, r, a, avancer);
  if (avancer.annule()) return;
  avancer(vv.pas);
  for (std::size_t l = 1; l <= N && !avancer.annule(); ++l) {
    sortir_niveau(t, vv, l, r, a, travail, avancer, azimut);
    sorti[vv.kv][l] = true;
    avancer(vv.pas);
  }
}

}  // namespace

void Tarbre::generer_arbre(const param_vue& vue_arg, const espece_arbres& couche_arg, double facteur_vue_arg,
                           double inclinaison_centre, double lumiere_hauteur_arg, double lumiere_face_arg,
                           double reference_rotation, double /*reserve*/, std::uint16_t degre_arg,
                           std::int32_t graine_arg, WindowHandle fenetre, ProgressSink* attente, bool& annule,
                           double inclinaison_a, double inclinaison_b) {
  const entrees_generation e{vue_arg, couche_arg, facteur_vue_arg, inclinaison_centre, lumiere_hauteur_arg,
                             lumiere_face_arg, reference_rotation, degre_arg, graine_arg, inclinaison_a,
                             inclinaison_b};
  annule = false;
  adopter_entrees(*this, e);
  tourner_variantes(*this, e.reference_rotation);
  etager_inclinaisons(*this, e.inclinaison_centre, e.inclinaison_a, e.inclinaison_b);
  adopter_couche(*this, e.vue.azimut_soleil);
  const regles_pousse regles = lire_regles(*this);
  if (!detail_arbres || !regles.regles) return;

  atelier a = preparer_atelier(*this, regles);
  struct Liberation {
    std::vector<segment>& v;
    ~Liberation() { std::vector<segment>().swap(v); }
  } liberation{travail_};
  travail_.assign(plus_grande_capacite(*this), segment{});
  progression avancer(attente, fenetre, annule);
  niveaux_sortis sorti{};
  bool erreur = false;
  try {
    for (int k = 1; k <= nb_variantes && !annule; ++k)
      generer_variante(*this, k, regles, a, travail_, avancer, e.vue.azimut_soleil, sorti);
  } catch (...) {
    erreur = true;
  }
  if (erreur) warn("Internal error when generating trees", "Trees ");
  // Levels a cancel or an error cut short hold nothing.
  for (std::size_t kv = 0; kv < nb_variantes; ++kv)
    for (std::size_t l = 1; l <= static_cast<std::size_t>(niveau); ++l)
      if (!sorti[kv][l]) nb_segments[kv][l] = 0;
}
