// The drawing of one facet: the driver over its named steps (first
// decisions, water and altitude, occupancy, shading, then ridge, water or
// land, river and tree), the occupancy and shading steps themselves, and the
// polygon put on the picture with what a test observer sees of it.
#include "render/facettes_interne.h"

#include <string_view>

namespace render::detail_facettes {
namespace {

namespace {

constexpr std::string_view kLegendeImage = "3D Image computation doing ...";

}  // namespace

void DessinFacettes::dessiner_facette(bool sous) {
  RenderContext& c = ctx_;
  if (!sous) {
    f_affichable_ = false;
    f_visible_ = false;
    f_eau_ = false;
    f_photo_ = false;
    const std::int64_t aire = std::int64_t(c.pas_effectif) * c.pas_effectif;
    aire_budget_ += aire;
  }
  const std::int32_t ci = c.terrain.cellule_rendu[0], cj = c.terrain.cellule_rendu[1];
  const bool arbre_noeud = arbre_type_ > 10 && arbre_type_ < 20;
  do {
    if (c.annule() || !dans_zone(ci, cj)) break;

    // Vertices: in front, rejected, on screen.
    Prealable local;
    const Prealable* premieres = calcul_ && !sous ? &calcul_->prealable : nullptr;
    if (!premieres) {
      Prealable& ici = sous ? local : prealable_principal_;
      prealable(*fixes_, s_, ici);
      premieres = &ici;
    }
    const Prealable& pr = *premieres;
    const bool arbres_visibles = vue_.foret && c.terrain.nombre_elements > 0 && arbre_noeud && !sous;
    if (!pr.limites || (arbres_visibles ? pr.ecran_arbre : pr.ecran) < 1) break;
    if (!sous) f_affichable_ = true;
    if (!c.attente && pr.bords) noter_bords();

    // Water and altitude.
    const bool photo = photo_ && !sous;
    std::int32_t altitude = pr.altitude;
    bool eau;
    if (!sous) {
      eau = c.editeur() ? pr.sous_mer >= 1 : pr.sous_mer == 3;
      if (photo && photo_rgb_ == Rgb{0, 0, 0}) eau = true;
    } else {
      eau = f_eau_parent_ && altitude <= vue_.niveau_mer + c.vague_max;
    }
    if (eau) altitude = vue_.niveau_mer;
    if (!sous) {
      sol_parent_ = sol_;
      f_altitude_ = altitude;
    }

    // Occupancy.
    const std::int32_t occupation = c.occupation ? pr.occupation : 0;
    if (c.occupation && !occupation_libre(pr)) break;

    // Shading. The helpers read the node's cast shadow already.
    const bool ombre = reglages_.ombre_portee && ((!sous && calcul_ && calcul_->ombrage_pret())
                                                      ? calcul_->ombre()
                                                      : c.carte_ombres->lire(ci, cj) == 1);
    ResultatOmbrage calcule;
    calcule.visible = true;
    const ResultatOmbrage* ombrage = &calcule;
    bool d_avance = false;  // the helpers' shading, and with it their colour
    if (!c.filaire || (eau && vue_.agitation_mer > 0)) {
      ombrage = &ombrer_facette(sous, eau, photo, altitude, ombre, calcule, d_avance);
      if (ombrage->degenere) break;
      if (ombrage->indexe) index_ = ombrage->index;
    }
    const ResultatOmbrage& res = *ombrage;
    if (!sous) {
      f_eau_ = eau;
      f_eau_parent_ = eau;
      f_visible_ = res.visible;
      f_photo_ = photo;
      f_pente_ = res.pente;
    }

    // Progress.
    if (!sous && degre_ > 5) {
      c.compteur_progression += c.pas_effectif;
      // Without a progress window or an event hook the step has nothing to do.
      if (etape_progression_) progression(c, &c.image, kLegendeImage, increment_);
    }

    if (c.filaire) {
      polygone(vert_fil_, Contour::simple, blanc_);
      if (observateur_) observer(sous, GenreFacette::fil, index_, Rgb{0, 128, 0}, 0, 0, res.visible);
      break;
    }

    const std::int32_t niveau = eau ? pr.niveau_eau : pr.niveau;
    if (!res.visible && !eau && !sous && !photo)
      dessiner_crete(res, altitude, niveau, ombre);
    else if (eau)
      dessiner_eau(res, niveau, sous, d_avance);
    else if (res.visible)
      dessiner_terre(res, niveau, altitude, occupation, sous, photo, d_avance);

    if (riviere_ && !c.editeur() && !sous) dessiner_riviere(res.pente, niveau, ombre, res.visible);

    // Tree.
    if (vue_.foret && !c.courbes_niveau && c.terrain.nombre_elements > 0 && arbre_noeud && s_[2].d > 80 &&
        altitude > reglages_.niveau_sable && !sous) {
      arbre(res.visible, res.angle(), altitude, res.classe);
      dessin_.niveau_brume = niveau;
    }
  } while (false);

  if (!sous) {
    riviere_ = false;
    sol_ = 0;
    arbre_type_ = 0;
    arbre_attribut_ = 0;
  }
}

// False when the occupancy buffer shows the facet hidden behind what is
// drawn at its centre.
bool DessinFacettes::occupation_libre(const Prealable& pr) {
  const std::int32_t valeur = pr.case_occupation >= 0 ? occupation_.data[pr.case_occupation] : 0;
  if (valeur == 0 || pr.occupation < valeur + 20) return true;
  if (observateur_) observateur_->saut_occupation();
  return false;
}

// The facet's shading: the helpers' when they made it from these very inputs
// (only the state is then left to note; `d_avance` says so), else computed
// here into `calcule`.
const ResultatOmbrage& DessinFacettes::ombrer_facette(bool sous, bool eau, bool photo, std::int32_t altitude,
                                                      bool ombre, ResultatOmbrage& calcule, bool& d_avance) {
  const std::uint16_t sol = sous ? sol_parent_ : sol_;
  if (!sous && calcul_ && calcul_->ombrage_pret() && eau == calcul_->eau() && !photo &&
      altitude == (calcul_->eau() ? vue_.niveau_mer : calcul_->prealable.altitude) && sol == calcul_->sol &&
      ombre == calcul_->ombre()) {
    // What the state reads of a main facet without a photo, on land and on water.
    static const EntreeFacette terre{};
    static const EntreeFacette mer = [] {
      EntreeFacette e;
      e.eau = true;
      return e;
    }();
    d_avance = true;
    calcul_->ombrage(calcule);
    noter_ombrage(reglages_, etat_, eau ? mer : terre, calcule, calcul_->compter());
    return calcule;
  }
  EntreeFacette f;
  f.a = {s_[0].x, s_[0].y, s_[0].z};
  f.b = {s_[1].x, s_[1].y, s_[1].z};
  f.c = {s_[2].x, s_[2].y, s_[2].z};
  f.signe = signe_;
  f.altitude = altitude;
  f.eau = eau;
  f.sous_facette = sous;
  f.couleur_image = photo;
  f.transparence = vue_.transparence;
  f.sol = sol;
  f.ombre = ombre;
  if (!sous && calcul_ && !calcul_->ombrage_pret())
    render::ombrer_facette(reglages_, etat_, f, calcul_->geometrie(), calcule);
  else
    render::ombrer_facette(reglages_, etat_, f, calcule);
  return calcule;
}

void DessinFacettes::polygone(Pixel remplissage, Contour mode, Pixel contour) {
  if (observateur_) observateur_->triangle(s_[0].ecran, s_[1].ecran, s_[2].ecran, mode, remplissage, contour);
  fill_triangle(image_, s_[0].ecran, s_[1].ecran, s_[2].ecran, mode, remplissage, contour);
  if (ctx_.editeur())
    fill_triangle(ctx_.image_editeur->surface(), double_point(s_[0].ecran), double_point(s_[1].ecran),
                  double_point(s_[2].ecran), mode, remplissage, contour);
}

// A land facet's polygon and its depth in the occupancy buffer.
void DessinFacettes::polygone_occupe(Pixel couleur, std::int32_t occupation) {
  if (observateur_) observateur_->triangle(s_[0].ecran, s_[1].ecran, s_[2].ecran, Contour::simple, couleur, couleur);
  fill_triangle_depth(image_, occupation_, s_[0].ecran, s_[1].ecran, s_[2].ecran, couleur, occupation);
  if (ctx_.editeur())
    fill_triangle(ctx_.image_editeur->surface(), double_point(s_[0].ecran), double_point(s_[1].ecran),
                  double_point(s_[2].ecran), Contour::simple, couleur, couleur);
}

void DessinFacettes::observer(bool sous, GenreFacette genre, std::int32_t index, Rgb couleur, std::int32_t niveau,
                              std::int32_t lumiere, bool visible) {
  if (!observateur_) return;
  FacetteDessinee f;
  f.sous_facette = sous;
  f.genre = genre;
  f.cellule_i = ctx_.terrain.cellule_rendu[0];
  f.cellule_j = ctx_.terrain.cellule_rendu[1];
  for (std::size_t k = 0; k < 3; ++k) {
    f.ecran[k] = s_[k].ecran;
    f.profondeur[k] = s_[k].d;
    f.noeuds[k] = {noeuds_facette_[k][0], noeuds_facette_[k][1]};
    f.monde[k] = {s_[k].x, s_[k].y, s_[k].z};
  }
  if (sous) {
    f.sous_i = sous_i_;
    f.sous_j = sous_j_;
    f.m = sous_m_;
    f.parent_eau = f_eau_parent_;
  }
  f.index = index;
  f.couleur = couleur;
  f.niveau_brume = niveau;
  f.lumiere = lumiere;
  f.visible = visible;
  observateur_->dessinee(f);
}

}  // namespace
}  // namespace render::detail_facettes
