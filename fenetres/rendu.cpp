#include "fenetres/rendu.h"

#include "render/jpeg.h"

namespace fenetres {

namespace {
int g_peintures = 0;
}  // namespace

ControleRendus& controle_rendus() {
  static ControleRendus c;
  return c;
}

MarqueurPeinture::MarqueurPeinture() { ++g_peintures; }
MarqueurPeinture::~MarqueurPeinture() { --g_peintures; }

void calculer_image(Tmatrice& terrain, platform::WindowHandle fenetre, const TMyPalette& palette,
                    render::Bitmap& image, const render::AffichageDirect& affichage, const param_vue& vue,
                    std::int32_t largeur, std::int32_t hauteur, ProgressSink* attente,
                    render::Bitmap* image_editeur, std::uint16_t zoom_editeur, std::uint8_t grossier,
                    std::uint8_t courbes_niveau, std::uint8_t statistiques, std::uint8_t mode_camera,
                    const enregistrement_camera& camera, const render::RenderOptions& options) {
  ControleRendus& c = controle_rendus();
  ++c.rendus;
  if (g_peintures > 0) ++c.rendus_dans_peinture;
  if (c.attente_imposee) attente = c.attente_imposee;
  c.appels.push_back({fenetre, vue, largeur, hauteur, attente != nullptr, bool(affichage), image_editeur != nullptr,
                      zoom_editeur, grossier, courbes_niveau, statistiques, mode_camera, camera, options.dossier_ciels,
                      terrain.n});
  if (c.couleur_factice) {
    image.reset(image.width(), image.height(), *c.couleur_factice);
    if (image_editeur) image_editeur->reset(image_editeur->width(), image_editeur->height(), *c.couleur_factice);
    if (affichage) affichage(image);
    return;
  }
  if (c.rendu_factice) {
    c.rendu_factice(terrain, image, vue, attente, fenetre);
    return;
  }
  render::calcul_image(terrain, fenetre, palette, image, affichage, vue, largeur, hauteur, attente, image_editeur,
                       zoom_editeur, grossier, courbes_niveau, statistiques, mode_camera, camera,
                       c.options_imposees ? *c.options_imposees : options);
}

bool lire_image_jpeg(const std::string& chemin, render::Bitmap& image) {
  ControleRendus& c = controle_rendus();
  ++c.decodages;
  if (g_peintures > 0) ++c.decodages_dans_peinture;
  return render::lire_jpeg(chemin, image);
}

}  // namespace fenetres
