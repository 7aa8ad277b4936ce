#include "fenetres/rendu.h"

#include <algorithm>
#include <atomic>

#include "fenetres/fenetres.h"
#include "platform/arrondi.h"

#include "render/jpeg.h"

namespace fenetres {

namespace {
int g_peintures = 0;

// The progress sink of a render that shows no progress: it never cancels.
class AttenteMuette final : public ProgressSink {
 public:
  void take_focus() override {}
  void demarrer(WindowHandle) override {}
  void avancer(std::optional<std::string_view>, std::uint16_t) override {}
  void tester_annulation() override {}
};

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

void ajuster_4_3(int& largeur, int& hauteur) {
  if (largeur * 0.75 <= hauteur)
    hauteur = Round(largeur * 0.75);
  else
    largeur = Round(hauteur / 0.75);
}

void taille_image_vue(const param_vue& vue, int& largeur, int& hauteur) {
  if (!vue.deformation) ajuster_4_3(largeur, hauteur);
  largeur = std::clamp(largeur, kTailleImageMin, kTailleImageMax);
  hauteur = std::clamp(hauteur, kTailleImageMin, kTailleImageMax);
}

void rendre_vue(Tmatrice& terrain, const param_vue& vue, std::int32_t largeur, std::int32_t hauteur,
                render::Bitmap& image, const ConduiteRenduVue& conduite) {
  const TMyPalette palette = palette_pour_vue(vue);
  AttenteMuette muette;
  render::RenderOptions options;
  options.dossier_ciels = conduite.dossier_ciels;
  image.reset(largeur, hauteur, render::pixel_rgb(0, 0, 0));
  terrain.marquer_modifiee();
  calculer_image(terrain, conduite.fenetre, palette, image, conduite.affichage, vue, largeur, hauteur,
                 conduite.attente ? conduite.attente : &muette, nullptr, 0, conduite.grossier ? 1 : 0, 0, 1, 0, {},
                 options);
}

bool lire_image_jpeg(const std::string& chemin, render::Bitmap& image) {
  if (ObservateurRendus* o = g_observateur.load()) o->decodage(g_peintures > 0);
  return render::lire_jpeg(chemin, image);
}

}  // namespace fenetres
