// Drawing one tree of a generated model: the colour set, the choice between a
// close-up model, segments, a crown symbol and a stroke, the level and variant
// choice, the trunk base and the branch strokes.
#include "render/dessin_arbre.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string_view>
#include <utility>

#include "render/dessin_arbre_interne.h"

namespace render {

namespace {

std::function<void()>& crochet_dessin() {
  static std::function<void()> c;
  return c;
}

constexpr std::string_view kLegendeDetail = "A tree very detailed ...  ";
constexpr std::string_view kLegendeRetour = "Return to ground generation ...  ";

}  // namespace

void fixer_crochet_test_dessin(std::function<void()> crochet) { crochet_dessin() = std::move(crochet); }

namespace detail_arbre {

namespace {

inline std::int32_t borne(std::int64_t v) {
  constexpr std::int64_t k = std::int64_t(1) << 30;
  return std::int32_t(std::clamp(v, -k, k));
}

// One progress point of the drawing.
void progression_dessin(ProgressSink* attente, WindowHandle fenetre, bool& annule,
                        std::optional<std::string_view> legende, std::uint16_t pas) {
  if (!attente) return;
  attente->tester_annulation();
  if (!annule && cancel_requested(fenetre)) annule = true;
  if (annule) return;
  if (!legende && pas == 0) return;
  attente->avancer(legende, pas);
}

// The trunk base with its shade and light bands.
void pied_tronc(Dessin& d, std::int32_t W) {
  Tarbre& t = d.t;
  const auto v = std::size_t(d.v - 1);
  const Point B{d.pied.x, borne(std::int64_t(d.pied.y) + 1)};
  const Point P = d.point(t.pied_x[v], t.pied_y[v]);
  if (d.au_trait || W == 1) {
    d.cv.stylo_plein(W, d.couleur(t.couleur_ecorce_ombre));
    d.cv.ligne(P, B);
    if (d.au_trait && W > 1) {
      d.cv.stylo_plein(nearest(0.6 * W), d.couleur(t.couleur_ecorce));
      d.cv.ligne(P, B);
    }
    return;
  }
  const std::int32_t b6 = nearest(0.6 * W), p4 = nearest(0.4 * W);
  const Point q[4] = {{B.x - b6, B.y}, {B.x + b6, B.y}, {P.x + p4, P.y}, {P.x - p4, P.y}};
  const CouleurArbre c = d.couleur(W < 4 ? t.couleur_ecorce_moyenne : t.couleur_ecorce);
  d.cv.stylo_plein(std::max(1, nearest(0.2 * W)), c);
  d.cv.pinceau_plein(c);
  d.cv.polygone(q, 4);
  if (W > 20) {
    d.cv.stylo_plein(2, d.couleur(t.couleur_ecorce_moyenne));
    d.cv.ligne(P, B);
  }
  if (W > 2) {
    double e = (0.4 - 0.4 * t.lumiere_face) * W * (0.2 + t.lumiere_hauteur);
    if (e < 3) e = 3;
    double o = 0.8 * (W - e);
    if (t.signe_azimut < 0) o = -o;
    const Point r[4] = {{B.x - nearest(0.6 * e + o), B.y},
                        {B.x + nearest(0.6 * e - o), B.y},
                        {P.x + nearest(0.4 * e - o), P.y},
                        {P.x - nearest(0.4 * e + o), P.y}};
    d.cv.stylo_vide();
    d.cv.pinceau_plein(d.couleur(t.couleur_ecorce_ombre));
    d.cv.polygone(r, 4);
  }
  if (W > 10 && std::abs(t.lumiere_face) < 0.4) {
    const std::int32_t e = nearest(0.33 * W);
    const Point r[4] = {{B.x - nearest(0.6 * e), B.y},
                        {B.x + nearest(0.6 * e), B.y},
                        {P.x + nearest(0.4 * e), P.y},
                        {P.x - nearest(0.4 * e), P.y}};
    d.cv.stylo_vide();
    d.cv.pinceau_plein(d.couleur(t.couleur_ecorce_moyenne));
    d.cv.polygone(r, 4);
  }
}

// The branch stroke of the current segment; leaves w1 and cE for the foliage.
void branche(Dessin& d) {
  Tarbre& t = d.t;
  const segment& g = *d.seg;
  const double dxs = g.dir_x, dys = g.dir_y;
  std::int32_t cO = t.couleur_ecorce, cE = t.couleur_ecorce_ombre, cG = t.couleur_ecorce_moyenne;
  if (d.neige > 0 && dys < 0.2) cG = d.neige_pos(8);
  std::int32_t w1 = 0, w2 = 0;
  const double s = d.s;
  if (!d.S && (t.espece == Sapin || t.espece == Palmier) && g.genre == 1 && t.taille_feuilles > 2) {
    cO = g.teinte < 5 ? t.couleur_feuilles_ombre : t.couleur_feuilles;
    cE = t.couleur_feuilles_ombre;
    cG = t.couleur_feuilles_ombre + 2 * d.F;
    if (t.espece == Palmier) d.lambda = 2 * d.lambda;
    w1 = std::min(12, nearest(d.w0 * d.lambda * 0.05) + 1);
    w2 = w1;
  } else {
    w1 = std::max(2, nearest(0.004 * t.largeur_tronc * s * 1.3 * g.largeur));
    w2 = std::max(1, nearest(0.004 * t.largeur_tronc * s * g.largeur));
    if (t.espece == Mais && g.genre == 3) w2 = 1;
  }
  d.w1 = w1;
  d.cE = cE;
  const Point A{d.x1, d.y1}, E{d.x2, d.y2};
  if (d.au_trait || w1 < 4) {
    if (w2 > 1) {
      d.cv.stylo_plein(w2, d.couleur(cG));
      d.cv.ligne({borne(std::int64_t(d.x1) + 1), d.y1}, {borne(std::int64_t(d.x2) + 1), d.y2});
    }
    d.cv.stylo_plein(w1 < 3 ? 1 : 2, d.couleur(cE));
    d.cv.ligne(A, E);
    return;
  }
  if (d.S && dys < 0.2) w2 = 3 * w2;
  const double x1 = d.x1, y1 = d.y1, x2 = d.x2, y2 = d.y2;
  const Point q[4] = {{borne(std::int64_t(x2) - nearest(0.5 * w2 * dys)), borne(std::int64_t(y2) - nearest(0.5 * w2 * dxs))},
                      {borne(std::int64_t(x2) + nearest(0.5 * w2 * dys)), borne(std::int64_t(y2) + nearest(0.5 * w2 * dxs))},
                      {borne(std::int64_t(x1) + nearest(0.5 * w1 * dys)), borne(std::int64_t(y1) + nearest(0.5 * w1 * dxs))},
                      {borne(std::int64_t(x1) - nearest(0.5 * w1 * dys)), borne(std::int64_t(y1) - nearest(0.5 * w1 * dxs))}};
  d.cv.stylo_plein(std::max(1, nearest(0.2 * w2)), d.couleur(cO));
  d.cv.pinceau_plein(d.couleur(cO));
  d.cv.polygone(q, 4);
  if (w1 > 3 && !d.au_trait) {
    double e = 1.7 * w2 * (0.5 - 0.5 * t.lumiere_face) * t.lumiere_hauteur * dys;
    if (e < 2) e = 2;
    double o = 0.75 * (w2 - e);
    if (t.signe_azimut < 0) o = -o;
    if (dxs > t.lumiere_hauteur && o > 0) o = -o;
    const std::int32_t ox = nearest(o * dys), oy = nearest(o * dxs);
    const std::int64_t X1 = d.x1, Y1 = d.y1, X2 = d.x2, Y2 = d.y2;
    const Point r[4] = {{borne(X2 - ox - nearest(0.4 * e * dys)), borne(Y2 + oy - nearest(0.4 * e * dxs))},
                        {borne(X2 - ox + nearest(0.4 * e * dys)), borne(Y2 + oy + nearest(0.4 * e * dxs))},
                        {borne(X1 - ox + nearest(0.3 * e * dys)), borne(Y1 + oy + nearest(0.3 * e * dxs))},
                        {borne(X1 - ox - nearest(0.3 * e * dys)), borne(Y1 + oy - nearest(0.3 * e * dxs))}};
    d.cv.stylo_plein(1, d.couleur(cE));
    d.cv.pinceau_plein(d.couleur(cE));
    d.cv.polygone(r, 4);
  }
  if (w2 > 10 && std::abs(t.lumiere_face) < 0.4 && !d.au_trait) {
    d.cv.stylo_plein(nearest(0.3 * w2), d.couleur(cG));
    d.cv.ligne(E, A);
    d.cv.stylo_vide();
  }
}

// Level, variant and tilt of the segment rendition.
void choisir(Dessin& d, std::int32_t numero) {
  Tarbre& t = d.t;
  const double s = d.s;
  const std::int32_t N = t.niveau;
  std::int32_t l = 1;
  if (t.detail && N > 4) l = N;
  else if (s > 48 && N > 3) l = 4;
  else if (s > 24 && N > 2) l = 3;
  else if (s > 12 && N > 1) l = 2;
  if (t.espece == Palmier || t.espece == Mais || t.espece == Cactus) l = N;
  if (t.espece == Sapin) l = std::max(l, 2);
  if (t.premier_plan && N > 3) {
    l = s > 10 ? N : (s > 6 ? N - 1 : N - 2);
    if (t.espece == Buisson && s > 6 && s < 20) --l;
  }
  if (t.espece == Pin) {
    if (s < 32 && l > 1) --l;
    if (s < 16 && l > 1) --l;
  }
  d.l = std::clamp(l, 1, std::max(1, std::min(N, arbre_niveaux - 1)));

  const std::int64_t n = numero;
  const std::int64_t V = std::max<std::int64_t>(1, t.nb_variantes);
  const double tv = d.t_vue;
  std::int64_t v = 1;
  double c = tv;
  if (V < 24) {
    v = n + 1 - V * (n / V);
  } else {
    const auto& I = t.inclinaison;
    const double dd = 0.12 * (I[1] - I[4]);
    if (I[0] - dd < tv && tv < I[0] + dd) {
      v = n + 1 - 8 * (n / 8);
      c = I[0];
    } else if (tv > I[2] + dd) {
      v = n + 9 - 4 * (n / 4);
      c = I[1];
    } else if (tv > I[0] + dd) {
      v = n + 13 - 4 * (n / 4);
      c = I[2];
    } else if (tv < I[3] - dd) {
      v = n + 21 - 4 * (n / 4);
      c = I[4];
    } else if (tv < I[0] - dd) {
      v = n + 17 - 4 * (n / 4);
      c = I[3];
    } else {
      v = 1;
    }
  }
  d.v = std::int32_t(std::clamp<std::int64_t>(v, 1, V));
  if (!(c <= 1.0)) c = c > 1.0 ? 0.999 : 0.0;  // NaN counts as a level view
  if (c < -1.0) c = -0.999;
  double k = c * c;
  if (k > 0.9999) k = 0.9999;
  d.c = c;
  d.sc = std::sqrt(1 - k);
}

// Foliage units, scale and trunk lift; false when the level holds nothing to draw.
bool preparer(Dessin& d) {
  Tarbre& t = d.t;
  const double s = d.s;
  const auto v = std::size_t(d.v - 1), l = std::size_t(d.l);
  if (v >= t.segments.size() || l >= t.segments[v].size() || t.nb_segments[v][l] == 0 || !(t.etendue[v][l] > 0))
    return false;
  double r = 1.0;
  switch (t.espece) {
    case Chene: r = 0.87; break;
    case Sapin: r = 0.93; break;
    case Peuplier: r = 0.85; break;
    case Pin: r = 0.8; break;
    case Buisson: r = t.croissance > 0 ? 0.8 : (t.croissance < 0 ? 1.2 : 0.78); break;
    default: break;
  }
  if (t.vue.detail_plus) r = 0.9 * r;
  const double tf = t.taille_feuilles, lf = t.largeur_feuilles;
  double w0 = 0.002 * s * tf * lf * lf * t.largeur * 0.1;
  double h0 = d.c * w0 + 0.03 * d.sc * s * tf * tf;
  if (t.espece == Chene) {
    w0 *= 0.77;
    h0 *= 0.77;
  } else if (t.espece == Peuplier) {
    w0 *= 1.35;
    h0 *= 1.35;
  } else if (t.espece == Pin && s > 32) {
    h0 *= 1.2;
    w0 *= 1.25;
  } else if (t.espece == Buisson) {
    w0 *= 1.25;
    h0 *= 1.25;
    if (s > 20) {
      w0 *= 1.3;
      h0 *= 1.3;
    }
  }
  const double g = t.croissance;
  if (g != 0) {
    w0 *= 1 - 0.03 * g * (d.l - 1);
    h0 *= 1 - 0.03 * g * (d.l - 1);
    r = r * (1 + 0.02 * g);
  }
  d.h0b = h0;
  if (d.l > 2 && r != 1)
    for (std::int32_t k = 1; k < d.l; ++k) {
      w0 *= r;
      h0 *= r;
    }
  d.w0 = w0;
  d.h0 = h0;
  d.ts = 12 * s / t.etendue[v][l] / 5.5;
  if (t.espece == Pin || t.espece == Palmier) d.ts *= 0.75;
  d.T = nearest(0.1 * d.sc * s * t.hauteur_tronc);
  if (d.l > 4) d.T = nearest((1 + 0.25 * (d.l - 4)) * d.T);
  return true;
}

// The segments of the chosen variant and level.
std::int32_t dessiner_segments(Dessin& d, ProgressSink* attente, WindowHandle fenetre, bool& annule) {
  Tarbre& t = d.t;
  const auto v = std::size_t(d.v - 1);
  const std::int64_t W = std::int64_t(Trunc(t.largeur_tronc * 0.004 * d.s * t.pied_largeur[v])) + 1;
  t.largeur_pied = std::uint16_t(std::clamp<std::int64_t>(W, 0, 65535));
  pied_tronc(d, std::int32_t(std::min<std::int64_t>(W, 1 << 30)));
  const auto seg = t.segments_de(d.v, d.l);
  const bool progres = attente && (d.l > 6 || (t.espece == Sapin && d.l > 5));
  const std::int32_t P = nearest(0.015 * double(seg.size()));
  std::int32_t dessines = 0, compte = 0;
  for (std::size_t k = 0; k < seg.size() && !annule; ++k) {
    if (progres && ++compte > P) {
      compte = 0;
      progression_dessin(attente, fenetre, annule, std::nullopt, 1);
      if (annule) break;
    }
    const segment& g = seg[k];
    d.seg = &g;
    d.i = std::int32_t(k + 1);
    const Point A = d.point(g.x1, g.y1), E = d.point(g.x2, g.y2);
    d.x1 = A.x;
    d.y1 = A.y;
    d.x2 = E.x;
    d.y2 = E.y;
    d.dx = d.x2 - d.x1;
    d.dy = d.y2 - d.y1;
    const std::int64_t m = std::llabs(d.dx) + std::llabs(d.dy);
    if (m <= 2) continue;
    d.rho = g.rang % 10;
    if (g.genre == 1 && t.espece != Sapin && t.espece != Palmier && !d.video) {
      const std::int32_t a = nearest(1 - 0.04 * double(m) * d.rho * t.agitation);
      if (t.espece != Cactus) d.x2 = borne(std::int64_t(d.x2) + a);
      d.y2 = borne(std::int64_t(d.y2) + a);
    }
    d.lambda = 8 * g.longueur;
    d.w1 = 1;
    d.cE = t.couleur_ecorce_ombre;
    if (!(g.genre == 3 && t.forme == 3)) branche(d);
    if (g.genre == 1 || (g.genre == 3 && t.espece_simple)) feuillage(d);
    ++dessines;
  }
  if (progres) progression_dessin(attente, fenetre, annule, kLegendeRetour, 0);
  return dessines;
}

}  // namespace

}  // namespace detail_arbre

std::uint16_t sol_de_classe(std::int32_t classe) {
  switch (classe) {
    case 1: return 1;
    case 2:
    case 3: return 2;
    case 4:
    case 5: return 3;
    default: return 0;
  }
}

}  // namespace render

using namespace render;
using namespace render::detail_arbre;

bool Tarbre::dessiner_arbre(Point pied, std::uint16_t eclairement, double taille, std::int32_t neige,
                            bool a_l_ombre, std::uint16_t sol, std::uint16_t facteur, std::uint16_t niveau_brume_,
                            CanevasArbre& canevas, const TMyPalette& palette, bool au_trait, std::int32_t numero,
                            double inclinaison_vue, ProgressSink* attente, WindowHandle fenetre, bool& annule,
                            bool video) {
  if ((sol == 3 && interdit_rocher) || (sol == 2 && interdit_terre) || (sol == 1 && interdit_herbe)) {
    if (observateur) observateur->arbre(RapportArbre{});
    return false;
  }
  RapportArbre rapport;
  rapport.dessine = true;
  rapport.a_l_ombre = a_l_ombre;
  rapport.gros_plan = detail != 0;
  try {
    if (crochet_dessin()) crochet_dessin()();
    niveau_brume = niveau_brume_;
    Dessin d(*this, canevas, palette);
    d.F = facteur;
    d.M = niveau_brume_;
    d.pied = pied;
    d.au_trait = au_trait;
    d.video = video;
    d.ombre = a_l_ombre;
    d.t_vue = inclinaison_vue;
    const std::int32_t F = d.F;
    // Size and snow.
    d.s = 3.2 * echelle * taille;
    const double s = d.s;
    d.S = neige > 9;
    d.neige = d.S ? 0 : neige;
    // Colour set.
    const std::int32_t L = eclairement;
    std::int32_t Lp = L;
    d.q = 5;
    if (couleur == 2 || (couleur == 4 && !d.S)) {
      d.q = 0;
      if (Lp > 6 * F) Lp -= 3 * F;
    }
    const std::int32_t n = couleur < 3 ? 4 : 5;
    if (s > 3.0 && detail_arbres && Lp < 3 * F) Lp = 3 * F;
    d.L = L;
    d.Lp = Lp;
    couleur_feuilles = d.S ? d.neige_pos(L) : d.rampe(n, Lp);
    if (a_l_ombre && Lp > 6 * F) couleur_feuilles = d.bande(d.S ? 6 : n, Lp - 6 * F);
    const std::int32_t b = std::max(Lp - 7 * F, F);
    couleur_feuilles_ombre = d.S ? d.neige_pos(b) : d.rampe(n, b);
    if (d.S) {
      couleur_tronc = d.neige_pos(a_l_ombre ? 4 * F : 8 * F);
      couleur_ecorce = couleur_tronc;
      couleur_ecorce_ombre = d.neige_pos(3 * F);
      couleur_ecorce_moyenne = d.neige_pos(6 * F);
    } else {
      couleur_tronc = (L < 6 * F || a_l_ombre) ? 4 : 5;
      couleur_ecorce = couleur_tronc;
      couleur_ecorce_ombre = couleur_tronc - 2;
      couleur_ecorce_moyenne = couleur_tronc - 1;
      if (!a_l_ombre) {
        if (d.neige > 3) couleur_ecorce = d.neige_pos(8 * F);
        if (d.neige > 7) couleur_ecorce_ombre = d.neige_pos(3 * F);
        if (d.neige > 5) couleur_ecorce_moyenne = d.neige_pos(6 * F);
      }
    }
    if (espece == Mais || espece == Cactus) {
      couleur_ecorce = couleur_feuilles;
      couleur_ecorce_ombre = couleur_feuilles_ombre;
      couleur_ecorce_moyenne = couleur_feuilles_ombre + 2 * F;
    }
    rapport.couleurs = {couleur_feuilles, couleur_feuilles_ombre, couleur_tronc,
                        couleur_ecorce,   couleur_ecorce_ombre,   couleur_ecorce_moyenne};

    // Close-up model.
    bool voulu = false, dessine = false;
    std::int32_t nv = 1;
    if (!detail && nb_variantes > 1 && !video) {
      if (espece < 5) {
        if (s > 96) nv = -5, voulu = true;
        if (s > 192) nv = -6, voulu = true;
        if (premier_plan && s > 64) nv = -6, voulu = true;
        if (vue.detail_plus && premier_plan && s > 128) {
          progression_dessin(attente, fenetre, annule, kLegendeDetail, 0);
          nv = -7;
          voulu = true;
        }
      }
      if (nb_variantes == 24) {
        const double dd = 0.12 * (inclinaison[1] - inclinaison[4]);
        if (inclinaison_vue > inclinaison[1] + dd || inclinaison_vue < inclinaison[4] - dd) voulu = true;
      }
    }
    if (voulu) {
      rapport.rendu = RenduArbre::gros_plan;
      rapport.niveau_gros_plan = nv < 0 ? -nv : nv;
      auto gp = Tarbre::creer(vue, true, nv, couche);
      gp->observateur = observateur;
      gp->erreur_signalee = erreur_signalee;
      bool arret = false;
      gp->generer_arbre(vue, couche, facteur_vue, inclinaison_vue, lumiere_hauteur, lumiere_face, 0.0, 1.0, degre,
                        graine, fenetre, attente, arret, inclinaison_vue, inclinaison_vue);
      if (arret) annule = true;
      if (!annule) {
        bool arret2 = false;
        gp->dessiner_arbre(pied, eclairement, taille, d.S ? 10 : neige, a_l_ombre, sol, facteur, niveau_brume_,
                           canevas, palette, false, numero, inclinaison_vue, attente, fenetre, arret2, video);
        if (arret2) annule = true;
      }
      dessine = true;
    }

    // Rendition.
    const bool par_segments = (!dessine && !annule && s > 6.0 && detail_arbres) ||
                              (s > 3.0 && premier_plan && detail_arbres && !voulu);
    bool fait = false;
    if (par_segments) {
      set_seed(std::uint32_t(numero));
      choisir(d, numero);
      rapport.niveau = d.l;
      rapport.variante = d.v;
      rapport.inclinaison = d.c;
      if (preparer(d)) {
        bool arret = false;
        rapport.segments_dessines = dessiner_segments(d, attente, fenetre, arret);
        if (arret) annule = true;
        rapport.rendu = RenduArbre::segments;
        fait = true;
      }
    }
    if (!fait && !dessine && !annule && !voulu) {
      if (s > 2.0) {
        symbole(d);
        rapport.rendu = RenduArbre::symbole;
      } else if (s > 1.0) {
        trait(d);
        rapport.rendu = RenduArbre::trait;
      }
    }
  } catch (...) {
    if (!erreur_signalee || !*erreur_signalee) {
      warn("Internal error when drawing trees", "Trees ");
      if (erreur_signalee) *erreur_signalee = true;
    }
  }
  if (observateur) observateur->arbre(rapport);
  return true;
}
