#include "render/calcul_image.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <numbers>

#include "model/aleatoire.h"
#include "model/rangees.h"
#include "render/camera.h"

namespace render {

namespace {

constexpr std::string_view kLegendeArbres = "3D Trees Preprocessing ...";
constexpr std::string_view kLegendeImage = "3D Image computation doing ...";
constexpr std::string_view kLegendeNuages = "Clouds generation ...    ";

std::uint8_t moins(std::uint8_t c, int d) { return std::uint8_t(c > d ? c - d : 0); }

// Extremes, sum and count above the sea of the heights of nodes i, j >= 2,
// i + j <= n - 2, from the given starting extremes; rows of the height array
// in memory order (sums and extremes do not depend on it).
// The result is kept in the terrain until its heights change.
model::BilanHauteurs bilan_interieur(Tmatrice& t, std::int32_t n, std::int32_t mer, std::int32_t maxi,
                                     std::int32_t mini) {
  Tmatrice::memoire_bilan& g = t.bilan_garde;
  const std::uint64_t e = t.hauteurs->empreinte();
  if (g.empreinte == e && g.n == n && g.niveau == mer && g.maxi == maxi && g.mini == mini) return g.bilan;
  model::BilanHauteurs b{maxi, mini};
  for (std::int32_t j = 2; j <= std::min(n, std::int32_t(t.hauteurs->n())); ++j)
    if (n - 3 - j >= 1) model::bilan_rangee(t.hauteurs->rangee(j) + 2, n - 3 - j, mer, b);
  g = {e, n, mer, maxi, mini, b};
  return b;
}

// The view edges found by the last render are cleared.
void effacer_bords_vue(Tmatrice& t) {
  t.etat_rendu.bord_gauche_x = t.etat_rendu.bord_gauche_y = 0;
  t.etat_rendu.bord_droit_x = t.etat_rendu.bord_droit_y = 0;
}

// Statistics start (degree > 6) or the level-curve range (editor, degree <= 6).
void debut_statistiques(RenderContext& ctx) {
  Tmatrice& t = ctx.terrain;
  const std::int32_t n = ctx.n;
  const std::int32_t mer = ctx.vue.niveau_mer;
  if (ctx.degre > 6) {
    resultats_vue& r = t.resultats_vue;
    const model::BilanHauteurs b = bilan_interieur(t, n, mer, -1000, 4000);
    r.altitude_moyenne = b.nombre > 0 ? Round(double(b.somme) / double(b.nombre)) : 0;
    r.altitude_maxi = b.maxi;
    r.altitude_mini = b.mini;
    r.niveau_mer = mer;
    ctx.facettes_total = ctx.facettes_faibles = ctx.facettes_moyennes = ctx.facettes_fortes = 0;
    for (auto& a : r.arbres) a = {0, 0, 0};
    r.sources = 0;
    r.longueur_rivieres = 0;
  } else if (ctx.editeur() && ctx.courbes_niveau) {
    const model::BilanHauteurs b = bilan_interieur(t, n, mer, -1000, 1000);
    ctx.courbes_maxi = b.maxi;
    ctx.courbes_mini = std::max(b.mini, mer);
  }
}

// The context values of the view.
void preparer_contexte(RenderContext& ctx) {
  const param_vue& v = ctx.vue;
  ctx.niveau_mer = v.niveau_mer;
  ctx.echelle_vagues = 10 * std::pow(0.5, ctx.degre - 5);
  ctx.filaire = v.maillage_filaire != 0;
  ctx.deformation_autorisee = v.deformation != 0;
  if (ctx.grossier) ctx.vue.premier_plan = 0;
  ctx.premier_plan = ctx.vue.premier_plan != 0;
  if (ctx.degre > 5) {
    ctx.taille_cellule = 0.5 / ctx.n * ctx.largeur * v.zoom * 0.1;
    if (ctx.largeur > 200 && ctx.largeur < 220) ctx.taille_cellule *= 0.7;
  } else {
    ctx.taille_cellule = 2.0;
  }
  const std::int32_t G = v.niveau_herbe, R = v.niveau_rocher, Z = v.zone_recouvrement;
  const std::int32_t q = Round((R - G) * 0.25);
  ctx.borne_rocher = R - Z;
  ctx.borne_herbe = G + Z;
  ctx.borne_rocher_q = R - Z - q;
  ctx.borne_herbe_q = G + Z + q;
  ctx.delta_neige_s = Round(v.delta_neige * 0.75);
  ctx.niveau_neige = ctx.degre < 5 ? 4000 : v.niveau_neige;
  ctx.hauteur_brume = v.hauteur_brume;
  if (ctx.attente) {
    const double s = ctx.degre > 7 ? 2 : 5;
    ctx.seuil_progression = Round(s * 0.005 * ctx.n * ctx.n);
  } else {
    ctx.seuil_progression = 0;
  }
  ctx.petit_pas = std::uint16_t(Round(0.02 * ctx.seuil_progression));
}

// The level of detail: the stride of the sweep and its budget.
void niveau_de_detail(RenderContext& ctx) {
  const double nn = double(ctx.n) * ctx.n;
  std::int32_t pas = 1;
  ctx.budget = std::int64_t(ctx.n) * ctx.n;
  if (!ctx.editeur() && !ctx.premier_plan) {
    if (ctx.taille_cellule < 2.0) pas = Round(2.0 / ctx.taille_cellule);
    if (ctx.distance_km < 12 && ctx.vue.angle_vertical < 30 && pas > 1) {
      ctx.budget = Round(nn / pas);
      if (ctx.largeur < 220 && ctx.hauteur > 200) ctx.budget *= 2;
    }
  } else if (ctx.degre > 8 && !ctx.premier_plan) {
    pas = 2 * (ctx.degre - 8);
  }
  ctx.pas_lod = pas;
  ctx.pas_effectif = pas * (ctx.grossier ? 3 : 1);
  ctx.rayon_couverture = std::min(ctx.pas_effectif, 2);
}

// The background, and whether water facets must be painted over it.
void fond(RenderContext& ctx) {
  ctx.mer_peinte = ctx.degre < 6 || !ctx.terrain.redessiner_tout;
  if (!ctx.terrain.redessiner_tout) return;
  const Rgb ciel = ctx.palette.lire_couleur(1);
  const Pixel beige = pixel_rgb(192, 192, 128);
  if (!ctx.annule() && ctx.degre > 5 && !ctx.filaire && (ctx.distance_km < 51 || ctx.editeur())) {
    if (ctx.editeur()) {
      fill_rect(ctx.image.surface(), 0, 0, ctx.image.width(), ctx.image.height(), beige);
      fill_rect(ctx.image_editeur->surface(), 0, 0, ctx.image_editeur->width(), ctx.image_editeur->height(), beige);
    } else {
      fill_rect(ctx.image.surface(), 0, 0, ctx.image.width(), ctx.image.height(), pixel_of(ciel));
    }
  } else {
    fill_rect(ctx.image.surface(), 0, 0, ctx.image.width(), ctx.image.height(),
              pixel_rgb(moins(ciel.r, 4), moins(ciel.g, 4), moins(ciel.b, 4)));
  }
}

// Tree models of the present layers.
void arbres(RenderContext& ctx) {
  Tmatrice& t = ctx.terrain;
  ctx.point_haut = ctx.degre < 8 ? 10000 : t.hauteur_max();
  if (!(ctx.vue.foret && ctx.degre > 5 && !ctx.filaire)) return;
  if (ctx.point_haut > 4000) ctx.point_haut = t.hauteur_max();
  if (ctx.attente) progression(ctx, nullptr, kLegendeArbres, 0);
  const double s = std::sin(ctx.angle_vertical * std::numbers::pi / 180.0);
  for (int L = 1; L <= 6; ++L) {
    if (!t.especes_presentes[std::size_t(L)]) {
      progression(ctx, nullptr, std::nullopt, 16);
      continue;
    }
    const espece_arbres& couche = ctx.vue.arbres[std::size_t(L - 1)];
    GenerationArbre g;
    g.bas = g.haut = g.milieu = s;
    if (ctx.D < 8000 && s < 0.5 && ctx.D != 0) {
      double H = ctx.point_haut;
      if (L < 5 && t.couches[std::size_t(L - 1)].niveau_maxi < H) H = t.couches[std::size_t(L - 1)].niveau_maxi;
      g.bas = (ctx.ez - (H - ctx.altitude_cible)) / ctx.D;
      g.haut = s;
      if (ctx.ez + ctx.altitude_cible > 1000 && s > 0.2) g.haut = s - (g.bas - s);
      if (L < 5 && t.couches[std::size_t(L - 1)].niveau_mini > 1000)
        g.haut = (ctx.ez - (t.couches[std::size_t(L - 1)].niveau_mini - ctx.altitude_cible)) / ctx.D;
      g.milieu = (g.haut - g.bas) * 0.5 + g.bas;
    }
    std::int32_t variantes = 1;
    if (ctx.vue.detail_arbres) variantes = ctx.distance_km < 12 ? 12 : 6;
    if (variantes > 6 && std::abs(g.haut - g.bas) > 0.3) variantes = 24;
    ctx.arbres[std::size_t(L)] = ctx.fabrique_arbres->creer(ctx.vue, false, variantes, couche);
    t.resultats_vue.arbres[std::size_t(L - 1)][0] = std::uint16_t(couche.espece);
    if (!ctx.annule() && ctx.arbres[std::size_t(L)]) {
      g.angle_vertical = ctx.angle_vertical;
      g.azimut_vue = ctx.azimut_vue;
      g.elevation_soleil = ctx.vue.elevation_soleil;
      g.azimut_soleil = ctx.vue.azimut_soleil;
      g.degre = ctx.degre;
      ctx.arbres[std::size_t(L)]->generer(ctx, g);
    }
  }
  if (!ctx.annule()) progression(ctx, nullptr, kLegendeImage, 0);
}

// Projects the three lattice corners at sea level (for the sky and horizon,
// and for the near mist when that did not run: then only their depths are
// wanted).
void projeter_coins(RenderContext& ctx, bool marquer_mer = true) {
  const std::int32_t n = ctx.n, r = ctx.grossier ? 1 : 0;
  const std::array<std::array<std::int32_t, 2>, 3> coins = {{{1 + r, 1 + r}, {n + r, 1 + r}, {1 + r, n + r}}};
  const std::array<std::array<std::int32_t, 2>, 3> hauteurs = {{{3 + r, 3 + r}, {n - 3 + r, 3 + r}, {3 + r, n - 3 + r}}};
  const std::int32_t mer = ctx.vue.niveau_mer;
  ctx.projection_coins = true;
  for (std::size_t k = 0; k < 3; ++k) {
    projection(ctx, coins[k][0], coins[k][1], mer);
    ctx.coins[k] = pixel_projete(ctx);
    ctx.profondeur_coins[k] = ctx.profondeur;
    if (marquer_mer && ctx.profondeur > 0) ctx.mer_peinte = true;
    ctx.hauteur_coins[k] = ctx.terrain.hauteurs->lire(hauteurs[k][0], hauteurs[k][1]);
  }
  ctx.projection_coins = false;
  ctx.coins_projetes = true;
}

void contour_reseau(RenderContext& ctx) {
  const Pixel eau = pixel_of(ctx.palette.lire_couleur(TMyPalette::kEau));
  fill_triangle(ctx.image.surface(), ctx.coins[0], ctx.coins[1], ctx.coins[2], Contour::aucun, eau);
  if (ctx.editeur()) {
    auto double_ = [](Point p) { return Point{std::int32_t(std::clamp<std::int64_t>(2 * std::int64_t(p.x), -(1 << 30), 1 << 30)),
                                              std::int32_t(std::clamp<std::int64_t>(2 * std::int64_t(p.y), -(1 << 30), 1 << 30))}; };
    fill_triangle(ctx.image_editeur->surface(), double_(ctx.coins[0]), double_(ctx.coins[1]), double_(ctx.coins[2]),
                  Contour::aucun, eau);
  }
}

// Projection set-up, horizon and sky.
void ciel_et_horizon(RenderContext& ctx, bool ciel_fait) {
  if (ctx.editeur()) {
    camera_editeur(ctx);
  } else {
    preparer_camera(ctx);
    cadrer(ctx);
  }
  if (ctx.degre > 5 && !ctx.filaire && !ctx.annule()) projeter_coins(ctx);

  bool branche_ciel = false;
  if (!ciel_fait && ctx.degre > 5 && !ctx.filaire && ctx.vue.horizon && ctx.angle_vertical < 45 && !ctx.grossier &&
      !ctx.annule()) {
    branche_ciel = true;
    calculer_horizon(ctx);
    if (ctx.ligne_horizon > 0 && ctx.ligne_horizon < ctx.hauteur && ctx.angle_vertical < 50 && !ctx.annule()) {
      if (ctx.vue.type_ciel == 1) progression(ctx, nullptr, kLegendeNuages, 0);
      ctx.reflet_mer = true;
      const std::int32_t hc = Round((ctx.hauteur_coins[std::size_t(ctx.coin_haut)] +
                                     ctx.hauteur_coins[std::size_t(ctx.coin_second)]) * 0.5);
      if (hc > ctx.vue.niveau_mer + 50) ctx.reflet_mer = false;
      DemandeCiel d;
      d.ligne_horizon = ctx.ligne_horizon;
      d.ligne_terre = ctx.ligne_terre;
      d.hauteur_coins = hc;
      d.largeur = ctx.largeur;
      d.hauteur = ctx.hauteur;
      d.cos_elevation = std::cos((ctx.vue.elevation_soleil - ctx.angle_vertical) * std::numbers::pi / 180.0);
      d.cos_azimut = std::cos(ctx.vue.azimut_soleil * std::numbers::pi / 180.0);
      d.soleil_visible = ctx.soleil_visible;
      if (ctx.soleil_visible) {
        projeter_point(ctx, ctx.soleil[0], ctx.soleil[1], ctx.soleil[2]);
        d.soleil = pixel_projete(ctx);
        ctx.soleil_pixel = d.soleil;
      }
      ResultatCiel r = ctx.phase_ciel->dessiner_ciel(ctx, d);
      ctx.terrain.etat_rendu.resultat_ciel = r.seed_nuages;
      ctx.nombre_decalages = r.nombre_decalages;
      ctx.soleil_dessine = r.soleil_dessine;
      ctx.ciel = std::move(r.ciel);
      if (hc > ctx.vue.niveau_mer + 50) ctx.mer_peinte = true;
    } else {
      contour_reseau(ctx);
      ctx.sans_ciel = true;
    }
  }
  if (!branche_ciel && !ciel_fait && ctx.degre > 5 && !ctx.mer_peinte && !ctx.annule() && !ctx.filaire)
    contour_reseau(ctx);
}

// The strata classes of the 25 m bands.
void strates(RenderContext& ctx) {
  if (!(ctx.degre > 5 && ctx.vue.strates)) return;
  std::uint8_t s = 3;
  ctx.table_strates[1] = s;
  for (std::size_t b = 2; b <= 160; ++b) {
    if (s == 8 && Random() > 0.2) {
      s = 4;
    } else if (Random() > 0.66 && s < 5) {
      s = std::uint8_t(s + 1);
    } else if (Random() > 0.66 && s > 3 && s < 6) {
      s = std::uint8_t(s - 1);
    } else if (Random() > 0.7 && s < 6) {
      s = 8;
    }
    ctx.table_strates[b] = s;
  }
}

// Near mist.
void brume_proche(RenderContext& ctx) {
  if (!(ctx.degre > 4 && ctx.distance_km < 12 && ctx.vue.brume)) return;
  if (ctx.mode_camera) {
    ctx.brume_loin = 6000;
  } else {
    if (!ctx.coins_projetes) projeter_coins(ctx, false);
    ctx.brume_loin = -ctx.profondeur_coins[0];
    for (std::size_t k = 1; k < 3; ++k) ctx.brume_loin = std::max(ctx.brume_loin, -ctx.profondeur_coins[k]);
  }
  if (ctx.hauteur_brume > ctx.terrain.observateur.hauteur) ctx.hauteur_brume = 4000;
  ctx.pas_brume = Round((ctx.brume_loin - 2000) / 32) - Round((4000 - ctx.hauteur_brume) / 2.0 * 32);
}

// The editor's rivers, drawn over its map from the feature list.
void rivieres_editeur(RenderContext& ctx) {
  Tmatrice& t = ctx.terrain;
  BitmapMapCanvas carte_1(ctx.image), carte_2(*ctx.image_editeur);
  for (std::int32_t k = 0; k < t.nombre_elements && std::size_t(k) < t.liste_type.size(); ++k) {
    if (t.liste_type[std::size_t(k)] != TYPE_RIVIERE) continue;
    const std::int32_t i = t.liste_i[std::size_t(k)], j = t.liste_j[std::size_t(k)];
    if (!(t.hauteurs->lire(i, j) > ctx.vue.niveau_mer)) continue;
    const std::int32_t a = t.liste_attribut[std::size_t(k)];
    if (a == 1)
      t.tracer_riviere(i, j, 1, false, true, &carte_1, &carte_2);
    else
      t.tracer_riviere(i, j, a, true, true, &carte_1, &carte_2);
  }
}

// The end, on every path.
void fin(RenderContext& ctx) {
  ctx.ciel.reset();
  ctx.carte_vagues.reset();
  for (auto& a : ctx.arbres) a.reset();
  ctx.carte_ombres.reset();
  ctx.occupation.reset();
  if (ctx.statistiques) {
    resultats_vue& r = ctx.terrain.resultats_vue;
    r.longueur_rivieres = longueur_rivieres_metres(ctx.points_riviere, ctx.n);
    const double total = ctx.facettes_total == 0 ? 100.0 : double(ctx.facettes_total);
    r.pente_faible = std::uint16_t(Round(double(ctx.facettes_faibles) * 100 / total));
    r.pente_moyenne = std::uint16_t(Round(double(ctx.facettes_moyennes) * 100 / total));
    r.pente_forte = std::uint16_t(Round(double(ctx.facettes_fortes) * 100 / total));
  }
  ctx.terrain.marquer_modifiee();
}

// The cancel flag cleared, the generator seeded with the terrain's key (so the
// random parts of a picture repeat), the context values, the progress window
// started, and a first camera: the view distance that the shadows, the level
// of detail and the background read is this render's own.
void debut_rendu(RenderContext& ctx) {
  Tmatrice& t = ctx.terrain;
  t.calcul_annule = 0;
  set_seed(std::uint32_t(t.cle));
  preparer_contexte(ctx);
  if (ctx.attente) ctx.attente->demarrer(ctx.fenetre);
  ctx.dernier_traitement_ms = ctx.maintenant_ms();
  installer_camera(ctx);
}

// The sea's preprocessing and the feature cover, on a detailed terrain with
// features or a rough sea.
void mer_et_couverture(RenderContext& ctx) {
  const Tmatrice& t = ctx.terrain;
  if (ctx.degre > 5 && (t.nombre_elements > 0 || ctx.vue.agitation_mer > 0)) {
    ctx.carte_vagues = std::make_unique<Tcouverture>(ctx.n);
    ctx.phase_mer->preparer_mer(ctx);
  }
}

// The cast shadows of the view's sun.
void ombres_portees(RenderContext& ctx) {
  if (!ctx.filaire && ctx.degre > 5 && ctx.vue.ombre_portee) {
    ctx.carte_ombres = std::make_unique<Tcooleen>(ctx.n);
    ctx.phase_ombres->calcul_ombres(ctx);
    ctx.passe_ombre = false;
  }
}

// Tree detail (never in a rough render nor in the editor) and the stride of
// the sweep: from the level of detail, or 1.
void detail_et_pas(RenderContext& ctx) {
  if (ctx.grossier || ctx.editeur()) ctx.vue.detail_arbres = 0;
  if (!ctx.annule() && ctx.degre > 5 && !ctx.filaire) {
    niveau_de_detail(ctx);
  } else {
    ctx.pas_lod = ctx.pas_effectif = 1;
    ctx.budget = std::int64_t(ctx.n) * ctx.n;
    ctx.rayon_couverture = 1;
  }
}

// The first progress step, showing the picture being drawn, and the occupancy
// buffer of a large detailed picture with high ground.
void premiere_etape_et_occupation(RenderContext& ctx) {
  const Tmatrice& t = ctx.terrain;
  progression(ctx, (ctx.editeur() && ctx.zoom_editeur == 2) ? ctx.image_editeur : &ctx.image, std::nullopt, 0);
  if (ctx.degre > 6 && !ctx.filaire && ctx.largeur > 199 && !ctx.editeur() && t.resultats_vue.altitude_maxi > 300)
    ctx.occupation.emplace(ctx.image.width(), ctx.image.height(), 0);
}

// The camera again, the one the picture is drawn with, and no render cell yet.
void camera_du_dessin(RenderContext& ctx) {
  installer_camera(ctx);
  ctx.terrain.cellule_rendu = {0, 0};
}

// The weights of the foreground's sub-lattices and how deep they reach.
void premier_plan(RenderContext& ctx) {
  if (ctx.premier_plan) {
    ctx.poids_pentes.fill(1.0);
    ctx.profondeur_sous_reseau = 0.2 * ctx.W * (ctx.vue.profondeur_details + 3) * 256 / ctx.n;
  }
}

// The sweep of the lattice in painter's order, of the family that the view's
// azimuth selects. The wire mesh's pen (white outline, RGB (0, 128, 0) fill)
// is taken by facet drawing.
void balayer(RenderContext& ctx) {
  if (!ctx.annule()) progression(ctx, nullptr, kLegendeImage, 0);
  const double A = ctx.azimut_vue;
  const FamilleBalayage f =
      A < 120 ? FamilleBalayage::colonnes : (A < 240 ? FamilleBalayage::lignes : FamilleBalayage::diagonales);
  ctx.phase_balayage->balayage(ctx, f);
}

// The render's steps in order; fin runs after them on every path.
void rendre(RenderContext& ctx) {
  Tmatrice& t = ctx.terrain;
  effacer_bords_vue(t);
  debut_statistiques(ctx);
  if (ctx.largeur < 1 || ctx.hauteur < 1) return;
  debut_rendu(ctx);
  mer_et_couverture(ctx);
  ombres_portees(ctx);
  detail_et_pas(ctx);
  const bool ciel_fait = !t.redessiner_tout;  // a picture not redrawn whole keeps its sky
  fond(ctx);
  if (ctx.annule()) return;
  premiere_etape_et_occupation(ctx);
  camera_du_dessin(ctx);
  arbres(ctx);
  ciel_et_horizon(ctx, ciel_fait);
  strates(ctx);
  brume_proche(ctx);
  premier_plan(ctx);
  balayer(ctx);
  if (ctx.editeur()) rivieres_editeur(ctx);
}

}  // namespace

std::uint16_t longueur_rivieres_metres(std::int64_t points, std::int32_t n) {
  const double m = double(points) * 8000 / n;
  return m >= 65535 ? 65535 : std::uint16_t(Round(m));
}

param_vue vue_image_video(param_vue vue, std::int32_t largeur, std::int32_t hauteur) {
  vue.largeur_image = Round(1.1 * largeur);
  vue.hauteur_image = Round(1.1 * hauteur);
  vue.echelle_fixe = vue.ombre_portee = vue.observateur_place = 0;
  vue.type_ciel = 0;
  vue.agitation_mer = std::min<std::int32_t>(vue.agitation_mer, 3);
  vue.centre_x = vue.centre_y = 0;
  return vue;
}

void copier_resultats_vue(const Tmatrice& terrain, resultats_vue& destination) { destination = terrain.resultats_vue; }

void calcul_image(Tmatrice& terrain, WindowHandle fenetre, const TMyPalette& palette, Bitmap& image,
                  const AffichageDirect& affichage, param_vue vue, std::int32_t largeur, std::int32_t hauteur,
                  ProgressSink* attente, Bitmap* image_editeur, std::uint16_t zoom_editeur, std::uint8_t grossier,
                  std::uint8_t courbes_niveau, std::uint8_t statistiques, std::uint8_t mode_camera,
                  enregistrement_camera camera, const RenderOptions& options) {
  if (vue.zoom < 1) vue.zoom = 1;  // a zoom read from a file may be 0
  RenderContext ctx(terrain, fenetre, palette, image, affichage, vue, options);
  ctx.largeur = largeur;
  ctx.hauteur = hauteur;
  ctx.attente = attente;
  ctx.image_editeur = image_editeur;
  ctx.zoom_editeur = zoom_editeur;
  ctx.grossier = grossier != 0;
  ctx.courbes_niveau = courbes_niveau != 0;
  ctx.statistiques = statistiques != 0;
  ctx.mode_camera = mode_camera != 0;
  ctx.camera = camera;
  ctx.degre = terrain.degre;
  ctx.n = terrain.n;
  const Phases& p = options.phases;
  ctx.phase_mer = p.mer ? p.mer : &mer_par_defaut();
  ctx.phase_ombres = p.ombres ? p.ombres : &ombres_par_defaut();
  ctx.phase_ciel = p.ciel ? p.ciel : &ciel_par_defaut();
  ctx.phase_balayage = p.balayage ? p.balayage : &balayage_par_defaut();
  ctx.fabrique_arbres = p.arbres ? p.arbres : &arbres_par_defaut();
  ctx.observateur = p.observateur;
  try {
    rendre(ctx);
  } catch (const std::exception&) {
    warn("Error during image computation !", "Quorvel");
  } catch (...) {
    warn("Error during image computation !", "Quorvel");
  }
  try {
    fin(ctx);
  } catch (const std::exception&) {
    warn("Error during image computation !", "Quorvel");
  }
}

}  // namespace render
