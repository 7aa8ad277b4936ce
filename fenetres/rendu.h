// The one way the view window, the dialogs, the map editor and the video
// windows call the renderer. Tests read what each call was given and may replace the renderer
// by a stand-in that fills the pictures with a known colour.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/messages.h"
#include "render/calcul_image.h"

namespace fenetres {

// The arguments of one render call, as given.
struct AppelRendu {
  platform::WindowHandle fenetre = 0;  // the window polled for the cancel message
  param_vue vue{};
  std::int32_t largeur = 0;
  std::int32_t hauteur = 0;
  bool attente = false;        // a progress sink was given
  bool affichage = false;      // a live display callback was given
  bool image_editeur = false;  // the editor's double-size map was given
  std::uint16_t zoom_editeur = 0;
  std::uint8_t grossier = 0;
  std::uint8_t courbes_niveau = 0;
  std::uint8_t statistiques = 0;
  std::uint8_t mode_camera = 0;
  enregistrement_camera camera{};
  std::string dossier_ciels;  // the render option naming the sky folder
  std::int32_t noeuds = 0;    // nodes per side of the terrain rendered
};

// The test record of every render made through calculer_image.
struct ControleRendus {
  int rendus = 0;
  int rendus_dans_peinture = 0;  // renders started inside a paint handler (must stay 0)
  std::vector<AppelRendu> appels;
  // When set, no render runs: the picture (and the editor's map) are filled
  // with this pixel instead.
  std::optional<render::Pixel> couleur_factice;
  // When set (and no colour is), no render runs: this stand-in gets the
  // terrain, the picture, the view, the progress sink and the window instead.
  std::function<void(Tmatrice&, render::Bitmap&, const param_vue&, ProgressSink*, platform::WindowHandle)>
      rendu_factice;
  // When set, renders report to this sink instead of the caller's progress window.
  ProgressSink* attente_imposee = nullptr;
  // When set, renders take these options (their observers) instead of the caller's.
  const render::RenderOptions* options_imposees = nullptr;
  // Pictures decoded through lire_image_jpeg, and those decoded inside a paint handler (must stay 0).
  int decodages = 0;
  int decodages_dans_peinture = 0;

  void effacer() { *this = ControleRendus{}; }
};
ControleRendus& controle_rendus();

// Marks a paint handler for its lifetime, so that a render started from it is
// counted as a fault.
class MarqueurPeinture {
 public:
  MarqueurPeinture();
  ~MarqueurPeinture();
  MarqueurPeinture(const MarqueurPeinture&) = delete;
  MarqueurPeinture& operator=(const MarqueurPeinture&) = delete;
};

// render::calcul_image with the same arguments, recorded.
void calculer_image(Tmatrice& terrain, platform::WindowHandle fenetre, const TMyPalette& palette,
                    render::Bitmap& image, const render::AffichageDirect& affichage, const param_vue& vue,
                    std::int32_t largeur, std::int32_t hauteur, ProgressSink* attente,
                    render::Bitmap* image_editeur, std::uint16_t zoom_editeur, std::uint8_t grossier,
                    std::uint8_t courbes_niveau, std::uint8_t statistiques, std::uint8_t mode_camera,
                    const enregistrement_camera& camera, const render::RenderOptions& options = {});

// render::lire_jpeg, counted.
bool lire_image_jpeg(const std::string& chemin, render::Bitmap& image);

}  // namespace fenetres
