#include "fenetres/rendu.h"

#include <atomic>

#include "render/jpeg.h"

namespace fenetres {

namespace {
int g_peintures = 0;
std::atomic<ObservateurRendus*> g_observateur{nullptr};
}  // namespace

ObservateurRendus* observer_rendus(ObservateurRendus* observateur) { return g_observateur.exchange(observateur); }

MarqueurPeinture::MarqueurPeinture() { ++g_peintures; }
MarqueurPeinture::~MarqueurPeinture() { --g_peintures; }

void calculer_image(Tmatrice& terrain, platform::WindowHandle fenetre, const TMyPalette& palette,
                    render::Bitmap& image, const render::AffichageDirect& affichage, const param_vue& vue,
                    std::int32_t largeur, std::int32_t hauteur, ProgressSink* attente,
                    render::Bitmap* image_editeur, std::uint16_t zoom_editeur, std::uint8_t grossier,
                    std::uint8_t courbes_niveau, std::uint8_t statistiques, std::uint8_t mode_camera,
                    const enregistrement_camera& camera, const render::RenderOptions& options) {
  const render::RenderOptions* choisies = &options;
  if (ObservateurRendus* o = g_observateur.load()) {
    const AppelRendu appel{fenetre,        vue,          largeur,          hauteur,         attente != nullptr,
                           bool(affichage), image_editeur != nullptr, zoom_editeur, grossier, courbes_niveau,
                           statistiques,   mode_camera,  camera,           options.dossier_ciels, terrain.n};
    RenduObserve r{appel, g_peintures > 0, terrain, image, image_editeur, affichage, attente, choisies};
    if (o->rendu(r)) return;
  }
  render::calcul_image(terrain, fenetre, palette, image, affichage, vue, largeur, hauteur, attente, image_editeur,
                       zoom_editeur, grossier, courbes_niveau, statistiques, mode_camera, camera, *choisies);
}

bool lire_image_jpeg(const std::string& chemin, render::Bitmap& image) {
  if (ObservateurRendus* o = g_observateur.load()) o->decodage(g_peintures > 0);
  return render::lire_jpeg(chemin, image);
}

}  // namespace fenetres
