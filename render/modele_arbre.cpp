// The renderer's tree interface: each present layer's Tarbre, generated for
// the view (or for the sun in the cast-shadow pass) and drawn on the
// picture's tree canvas.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "model/aleatoire.h"
#include "render/arbre.h"
#include "render/canevas_arbre.h"
#include "render/contexte.h"
#include "render/dessin_arbre.h"

namespace render {

namespace {

constexpr double kDegre = std::numbers::pi / 180.0;

CanevasArbre& canevas_de(RenderContext& ctx, bool editeur) {
  auto& c = editeur ? ctx.canevas_editeur : ctx.canevas_arbres;
  if (!c) c = std::make_unique<CanevasImage>(editeur ? ctx.image_editeur->surface() : ctx.image.surface());
  return *c;
}

class ModeleTarbre final : public ModeleArbre {
 public:
  explicit ModeleTarbre(std::unique_ptr<Tarbre> t) : t_(std::move(t)) {}

  void generer(RenderContext& ctx, const GenerationArbre& g) override {
    const param_vue& vue = t_->vue;
    const espece_arbres& couche = t_->couche;
    bool annule = false;
    const auto degre = std::uint16_t(std::clamp(g.degre, 0, 65535));
    if (ctx.passe_ombre) {
      // Seen from the sun: its elevation gives the view factor and the tilts.
      const double e = g.angle_vertical * kDegre;
      const double se = std::sin(e);
      t_->generer_arbre(vue, couche, std::cos(e), se, 0.5, 0.5, 0.0, 0.0, degre, 0, ctx.fenetre, ctx.attente, annule,
                        se, se);
    } else {
      const std::int32_t graine = ctx.terrain.hauteurs ? ctx.terrain.hauteurs->lire(4, 4) : 0;
      const double lh = std::cos((g.elevation_soleil - g.angle_vertical) * kDegre);
      const double lf = std::cos(g.azimut_soleil * kDegre);
      t_->generer_arbre(vue, couche, std::cos(g.angle_vertical * kDegre), g.milieu, lh, lf, 0.0, 0.0, degre, graine,
                        ctx.fenetre, ctx.attente, annule, std::min(g.bas, g.haut), std::max(g.bas, g.haut));
    }
    if (annule) ctx.terrain.calcul_annule = 1;
  }

  void dessiner(RenderContext& ctx, const DessinArbre& d) override {
    dessine_ = false;
    if (d.carte_editeur && !ctx.image_editeur) return;
    CanevasArbre& cv = canevas_de(ctx, d.carte_editeur);
    t_->observateur = ctx.options.phases.observateur_arbres;
    t_->erreur_signalee = &ctx.erreur_arbres;
    bool annule = ctx.annule();
    const auto lumiere = std::uint16_t(std::clamp(d.indice_lumiere, 0, 65535));
    const auto brume = std::uint16_t(std::clamp(d.niveau_brume, 0, 65535));
    dessine_ = t_->dessiner_arbre(d.pied, lumiere, d.taille, d.neige, d.ombre, d.sol, 4, brume, cv, ctx.palette, false,
                                  d.noeud, d.facteur_vue, ctx.attente, ctx.fenetre, annule, d.image_video);
    if (annule) ctx.terrain.calcul_annule = 1;
    if (d.carte_editeur && dessine_ && d.taille / 2 > 20) {
      bool couvert = false;
      const Pixel ombre = pixel_of(ctx.palette.couleur(t_->couleur_feuilles_ombre, t_->niveau_brume));
      t_->silhouette(d.pied, cv, d.taille, d.sol, true, ombre, couvert);
      if (t_->observateur) t_->observateur->silhouette_editeur();
    }
  }

  void dessiner_reflet(RenderContext& ctx, const DessinArbre& d) override {
    if (!dessine_) return;
    CanevasArbre& cv = canevas_de(ctx, false);
    t_->dessiner_simple(d.reflet, d.taille, 4, std::uint16_t(std::clamp<std::int32_t>(ctx.vue.agitation_mer, 0, 65535)),
                        cv, ctx.palette, d.noeud);
    if (t_->observateur) t_->observateur->reflet();
  }

  bool silhouette(RenderContext&, Mask8& image, Point pied, double taille, std::int32_t classe) override {
    CanevasMasque cv(image.surface());
    cv.stylo_vide();
    cv.pinceau_plein(CouleurArbre{-1, 0xFFFFFFFFu});
    bool couvert = false;
    t_->silhouette(pied, cv, taille, std::uint16_t(std::clamp(classe, 0, 65535)), false, 0, couvert);
    return couvert;
  }

  Tarbre& arbre() { return *t_; }

 private:
  std::unique_ptr<Tarbre> t_;
  bool dessine_ = false;
};

}  // namespace

std::unique_ptr<ModeleArbre> FabriqueTarbre::creer(const param_vue& vue, bool detail, std::int32_t variantes,
                                                   const espece_arbres& couche) {
  if (couche.espece < 1 || couche.espece > 8) return nullptr;
  return std::make_unique<ModeleTarbre>(Tarbre::creer(vue, detail, variantes, couche));
}

}  // namespace render
