// Water facets (the sea's entries of the colour table and the reflection of
// the sky picture) and the node's river over a main facet.
#include "render/facettes_interne.h"

namespace render::detail_facettes {
namespace {

void DessinFacettes::dessiner_eau(const ResultatOmbrage& res, std::int32_t niveau, bool sous, bool d_avance) {
  const RenderContext& c = ctx_;
  constexpr std::int32_t kEau = TMyPalette::kEau;
  const std::int32_t index = (degre_ < 6 || c.editeur()) ? kEau : (res.visible && res.indexe ? res.index : kEau);
  bool dessin = c.mer_peinte || niveau > 0 || index != kEau || (vue_.agitation_mer > 0 && res.visible);
  if (index == kEau && !vue_.reflet &&
      ((c.sans_ciel && vue_.agitation_mer <= 3) || (c.reflet_mer && vue_.agitation_mer <= 1)))
    dessin = false;
  if (!dessin) return;
  Rgb couleur = d_avance ? calcul_->couleur : c.palette.couleur(index, niveau);
  if (vue_.reflet && index < TMyPalette::kEauSansReflet) couleur = reflet_eau(couleur);
  const Pixel px = pixel_of(couleur);
  polygone(px, Contour::simple, px);
  if (observateur_) observer(sous, GenreFacette::eau, index, couleur, niveau, 0, res.visible);
}

Rgb DessinFacettes::reflet_eau(Rgb couleur) {
  const std::int32_t w = image_.width, hgt = image_.height;
  std::int32_t cx = Round(0.333 * (double(s_[0].ecran.x) + s_[1].ecran.x + s_[2].ecran.x));
  std::int32_t cy = Round(0.333 * (double(s_[0].ecran.y) + s_[1].ecran.y + s_[2].ecran.y));
  cx = std::max(0, std::min(std::max(cx, 2), w - 3));
  cy = std::max(0, std::min(std::max(cy, 2), hgt - 3));
  if (cx >= w || cy >= hgt) return couleur;
  const Rgb e = rgb_of(image_.row(cy)[cx]);
  const std::int32_t t = vue_.taux_reflet;
  const bool blanc = e.r == 255 && e.g == 255 && e.b == 255;
  if (t < 10 && cy >= ligne_reflet_ && (!blanc || (cx + cy) % 2 == 0)) {
    auto m = [t](std::uint8_t f, std::uint8_t s) {
      return octet(Round(((10.0 - t) * f + double(t) * s) * 0.1));
    };
    return Rgb{m(couleur.r, e.r), m(couleur.g, e.g), m(couleur.b, e.b)};
  }
  return e;
}

// The node's river over a main facet: lines between river vertices on
// coarse lattices and for narrow rivers, else the facet itself.
void DessinFacettes::dessiner_riviere(double p, std::int32_t niveau, bool ombre, bool visible) {
  std::int32_t k = p > 0.9 ? 1 : p < 0.1 ? 12 : Round((0.9 - p) * 15) + 1;
  k = std::clamp(k, 1, 12);
  std::int32_t index = TMyPalette::kEau + k - 1;
  if (ombre) {
    if (index > 9) index -= 1;
    if (index > TMyPalette::kEauSombre) index -= 2;
  }
  const Rgb couleur = ctx_.palette.couleur(index, niveau);
  const Pixel px = pixel_of(couleur);
  if (riviere_attribut_ < 4 && degre_ < 10) {
    for (std::size_t a = 0; a < 3; ++a)
      for (std::size_t b = a + 1; b < 3; ++b)
        if (s_[a].riviere && s_[b].riviere) draw_line(image_, s_[a].ecran, s_[b].ecran, 3, px);
  } else {
    polygone(px, Contour::simple, px);
    if (observateur_) observer(false, GenreFacette::riviere, index, couleur, niveau, 0, visible);
  }
}

}  // namespace
}  // namespace render::detail_facettes
