// Land facets: the ridge line of a back-facing facet, a visible facet with
// its occupancy and its mirror in the sea, and the node's tree, held until
// the node's facets are drawn.
#include "render/facettes_interne.h"

namespace render::detail_facettes {
namespace {

// A back-facing land facet: a ridge line, so that crests seen from behind stay visible.
void DessinFacettes::dessiner_crete(const ResultatOmbrage& res, std::int32_t altitude, std::int32_t niveau,
                                    bool ombre) {
  const RenderContext& c = ctx_;
  const std::int32_t sdy = iabs(s_[1].ecran.y - s_[0].ecran.y) + iabs(s_[2].ecran.y - s_[0].ecran.y);
  const std::int32_t sdx = iabs(s_[1].ecran.x - s_[0].ecran.x) + iabs(s_[2].ecran.x - s_[0].ecran.x);
  if (!((sdy < 8.0 * sdx && sdy < 0.4 * hauteur_ && sdy < 80) || degre_ < 6)) return;
  ++cretes_suivies_;
  std::int32_t lumiere = 28, plus = 0;
  if (cretes_suivies_ > c.petit_pas) {
    std::size_t g = 0, dr = 0;
    for (std::size_t k = 1; k < 3; ++k) {
      if (s_[k].ecran.x < s_[g].ecran.x) g = k;
      if (s_[k].ecran.x > s_[dr].ecran.x) dr = k;
    }
    const bool negatif = s_[g].ecran.y - s_[dr].ecran.y < 0;
    const std::int32_t a = vue_.azimut_soleil + 180;
    if (a < 91) lumiere = negatif ? 32 : 40;
    else if (a < 181) lumiere = negatif ? 24 : 32;
    else if (a < 270) lumiere = negatif ? 32 : 24;
    else lumiere = negatif ? 40 : 32;
  }
  if (ombre) {
    lumiere = 16;
    plus = 1;
  }
  std::int32_t decalage = 0;
  const std::int32_t h = altitude;
  const double p = res.pente;
  if (degre_ > 5 && vue_.strates && p < 0.5 && vue_.niveau_mer + c.vague_max < h && h < 4000 && !ombre) {
    const std::int32_t b = Round(h / 25.0);
    const std::int32_t classe = (b >= 1 && b <= 160) ? c.table_strates[std::size_t(b)] : 0;
    decalage = classe == 2 ? 336 : classe == 4 ? 384 : classe == 5 ? 96 : classe == 8 ? 288 : 0;
  } else if (!vue_.strates) {
    if (h < vue_.niveau_herbe) decalage = 48;
    else if (h > vue_.niveau_rocher) decalage = 96;
  }
  std::int32_t index = lumiere + decalage + 18 + plus;
  if (reglages_.neige + reglages_.delta_neige_s < h && sdx > 0.5 * sdy) index = ombre ? 274 : 290;
  if (vue_.strates && res.cos_vue < 0.015) return;
  const Rgb couleur = c.palette.couleur(index, niveau);
  const Pixel px = pixel_of(couleur);
  bool large = res.cos_vue > 0.1 && res.cos_vue < 0.5;
  if (sdx < 0.3 * sdy || vue_.strates || ombre) large = false;
  polygone(px, large ? Contour::double_ : Contour::simple, px);
  if (observateur_) observer(false, GenreFacette::crete, index, couleur, niveau, lumiere, false);
}

// A visible land facet, its occupancy and its mirror in the sea.
void DessinFacettes::dessiner_terre(const ResultatOmbrage& res, std::int32_t niveau, std::int32_t altitude,
                                    std::int32_t occupation, bool sous, bool photo, bool d_avance) {
  const RenderContext& c = ctx_;
  const double d = s_[2].d;
  Rgb couleur;
  if (d_avance)
    couleur = calcul_->couleur;
  else if (c.courbes_niveau && res.gris)
    couleur = c.palette.lire_gris(std::uint16_t(index_));
  else
    couleur = c.palette.couleur(index_, niveau);
  if (photo) {
    Rgb image = photo_rgb_;
    if (vue_.transparence > 0) image = melange_couleur(vue_.transparence, couleur, image);
    couleur = (brume_ && d > 500) ? brume(vue_.brume_densite, d, c.pas_brume, image, c.palette.slot(11)) : image;
  }
  const Pixel px = pixel_of(couleur);
  if (c.occupation)
    polygone_occupe(px, occupation);
  else
    polygone(px, Contour::simple, px);
  cretes_suivies_ = 0;
  if (observateur_) observer(sous, GenreFacette::terre, index_, couleur, niveau, indice_lumiere(res.angle()), true);
  if (degre_ > 5 && vue_.horizon && vue_.reflet && c.angle_vertical < 40 && d > 800 && res.cos_vue < -0.15)
    miroir(couleur, altitude);
}

void DessinFacettes::miroir(Rgb couleur, std::int32_t altitude) {
  const double gx = (s_[0].x + s_[1].x + s_[2].x) / 3.0;
  const double gy = (s_[0].y + s_[1].y + s_[2].y) / 3.0;
  const double gz = (s_[0].z + s_[1].z + s_[2].z) / 3.0;
  const double zm = gz - (double(altitude) - vue_.niveau_mer) * 2;
  projeter_point(ctx_, gx, gy, zm);
  const Point m = pixel_projete(ctx_);
  const double ligne_centre = (double(s_[0].ecran.y) + s_[1].ecran.y + s_[2].ecran.y) / 3.0;
  if (m.x < 0 || m.y < 0 || m.x >= largeur_ || m.y >= hauteur_ || !(m.y > ligne_centre + 5)) return;
  std::int32_t xmin = s_[0].ecran.x, xmax = xmin, ymin = s_[0].ecran.y, ymax = ymin;
  for (std::size_t k = 1; k < 3; ++k) {
    xmin = std::min(xmin, s_[k].ecran.x);
    xmax = std::max(xmax, s_[k].ecran.x);
    ymin = std::min(ymin, s_[k].ecran.y);
    ymax = std::max(ymax, s_[k].ecran.y);
  }
  const std::int64_t lx = std::clamp<std::int64_t>((std::int64_t(xmax) - xmin + 1) / 2, 1, 6);
  const std::int64_t ly = std::clamp<std::int64_t>(std::int64_t(ymax) - ymin + 2, 3, 12);
  const std::int32_t decalage = ctx_.ciel ? ctx_.ciel->decalage_vague(m.y - ctx_.ligne_horizon) : 0;
  const Pixel p = pixel_of(couleur);
  const std::int64_t x0 = std::int64_t(m.x) + decalage - lx / 2;
  fill_rect(image_, x0, m.y, x0 + lx, m.y + ly, p);
  point_reflet_ = m;
  if (vue_.agitation_mer > 4 && Random() > 0.65) {
    const std::int64_t ox = Round(Random() * 8) - 4, oy = Round(Random() * 4);
    fill_rect(image_, x0 + ox, m.y + oy, x0 + ox + lx, m.y + oy + ly, p);
  }
  arbre_reflet_ = true;
}

void DessinFacettes::arbre(bool visible, double angle, std::int32_t altitude, std::int32_t classe) {
  const std::int32_t type = arbre_type_;
  std::int32_t attribut = arbre_attribut_;
  // Snow on the tree.
  std::int32_t neige = 0;
  if (vue_.neige_arbres) {
    std::int32_t S = reglages_.neige;
    if (angle / pas_lumiere > 36 && !vue_.neige_soleil) S += reglages_.delta_neige_s;
    if (altitude > S) {
      const std::int32_t D = vue_.delta_neige;
      neige = D > 0 ? std::clamp(Round((double(altitude) - S) * 10.0 / (2.0 * D)), 1, 10) : 10;
    }
  }
  // Light.
  std::int32_t lumiere = 24;
  if (visible) lumiere = std::min(48, std::max(1, Round(angle / pas_lumiere)));
  if (neige > 0 && lumiere < 44) lumiere += 8;
  if (reglages_.ombre_portee && lumiere < 7 && attribut < 64) lumiere = 7;
  bool ombre = false;
  if (attribut >= 64) {
    ombre = true;
    attribut -= 64;
  }
  set_seed(std::uint32_t(altitude));
  double px = (double(s_[0].ecran.x) + s_[1].ecran.x + s_[2].ecran.x) / 3.0;
  if (ctx_.mode_camera) px += (1 - Random()) * 0.3 * (double(s_[2].ecran.x) - s_[0].ecran.x);
  const double py = (double(s_[0].ecran.y) + s_[1].ecran.y + s_[2].ecran.y) / 3.0;
  const double d = s_[2].d;
  const std::int32_t genre = type - 10;
  DessinArbre a;
  a.pied = {Round(px), Round(py)};
  a.indice_lumiere = lumiere;
  a.taille = attribut * ((ctx_.fx * 8000) / (n_ * d)) / 63;
  a.neige = neige;
  a.ombre = ombre;
  a.facteur = 4;
  a.noeud = arbre_noeud_;
  a.image_video = ctx_.mode_camera;
  a.sol = sol_de_classe(classe);
  if (genre >= 1 && genre <= 6) {
    a.classe_couleur = vue_.arbres[std::size_t(genre - 1)].couleur;
    if (!ctx_.editeur())
      a.facteur_vue = std::clamp((ctx_.ez - s_[2].z - vue_.arbres[std::size_t(genre - 1)].hauteur) / d, 0.1, 0.9);
    else
      a.facteur_vue = 0.9;  // the editor's map sees its trees from above
    arbre_attente_ = true;
    arbre_genre_ = genre;
    dessin_ = a;
  }
  if (ctx_.editeur() && genre >= 1 && genre <= 6 && ctx_.terrain.especes_presentes[std::size_t(genre)]) {
    ModeleArbre* m = ctx_.arbres[std::size_t(genre)].get();
    if (m) {
      DessinArbre double_ = a;
      double_.pied = double_point(a.pied);
      double_.taille = a.taille * 2;
      double_.carte_editeur = true;
      m->dessiner(ctx_, double_);
    }
  }
}

void DessinFacettes::finir_noeud() {
  if (arbre_attente_ && arbre_genre_ >= 1 && arbre_genre_ <= 6 &&
      ctx_.terrain.especes_presentes[std::size_t(arbre_genre_)] && !ctx_.annule()) {
    ModeleArbre* m = ctx_.arbres[std::size_t(arbre_genre_)].get();
    if (m) {
      auto& compte = ctx_.terrain.resultats_vue.arbres[std::size_t(arbre_genre_ - 1)][2];
      if (compte < 65535) ++compte;
      dessin_.reflet = point_reflet_;
      m->dessiner(ctx_, dessin_);
      if (arbre_reflet_) m->dessiner_reflet(ctx_, dessin_);
    }
  }
  arbre_attente_ = false;
  arbre_reflet_ = false;
}

}  // namespace
}  // namespace render::detail_facettes
