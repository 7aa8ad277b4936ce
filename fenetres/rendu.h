// The one way the view window, the dialogs, the map editor and the video
// windows call the renderer. A test that watches these calls installs an
// observer, which sees each call's arguments and may stand in for the
// renderer; the program installs none and keeps nothing of its renders.
#pragma once

#include <cstdint>
#include <string>

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

// One render as the seam hands it to its observer, before the renderer runs:
// the arguments as given, whether a paint handler is running, and the
// pictures, progress sink and options, which the observer may change.
struct RenduObserve {
  const AppelRendu& appel;
  bool dans_peinture;
  Tmatrice& terrain;
  render::Bitmap& image;
  render::Bitmap* image_editeur;
  const render::AffichageDirect& affichage;
  ProgressSink*& attente;                 // the sink the render reports to
  const render::RenderOptions*& options;  // the options it takes
};

// What watches the seam.
class ObservateurRendus {
 public:
  virtual ~ObservateurRendus() = default;
  // Before each render; true when the observer made the picture itself, and
  // the renderer then does not run.
  virtual bool rendu(RenduObserve& r) = 0;
  // Each picture decoded through lire_image_jpeg.
  virtual void decodage(bool dans_peinture) = 0;
};

// Makes `observateur` (null: none) the observer of the renders and decodings
// that follow, on every thread; returns the one it replaces.
ObservateurRendus* observer_rendus(ObservateurRendus* observateur);

// Marks a paint handler for its lifetime, so that a render started from it is
// counted as a fault.
class MarqueurPeinture {
 public:
  MarqueurPeinture();
  ~MarqueurPeinture();
  MarqueurPeinture(const MarqueurPeinture&) = delete;
  MarqueurPeinture& operator=(const MarqueurPeinture&) = delete;
};

// render::calcul_image with the same arguments, shown first to the observer when there is one.
void calculer_image(Tmatrice& terrain, platform::WindowHandle fenetre, const TMyPalette& palette,
                    render::Bitmap& image, const render::AffichageDirect& affichage, const param_vue& vue,
                    std::int32_t largeur, std::int32_t hauteur, ProgressSink* attente,
                    render::Bitmap* image_editeur, std::uint16_t zoom_editeur, std::uint8_t grossier,
                    std::uint8_t courbes_niveau, std::uint8_t statistiques, std::uint8_t mode_camera,
                    const enregistrement_camera& camera, const render::RenderOptions& options = {});

// Fits (largeur, hauteur) to the largest 4:3 rectangle inside it.
void ajuster_4_3(int& largeur, int& hauteur);

// The size a view draws its picture at, from the size it has room for:
// fitted to 4:3 unless the view may distort its picture, then kept within
// the bounds a view accepts.
void taille_image_vue(const param_vue& vue, int& largeur, int& hauteur);

// How a view's render is driven, besides its terrain, record and size.
struct ConduiteRenduVue {
  platform::WindowHandle fenetre = 0;  // the window polled for the cancel message
  ProgressSink* attente = nullptr;     // the progress window, or null for a silent one
  render::AffichageDirect affichage;   // the live display, or empty
  bool grossier = false;
  std::string dossier_ciels;  // the program's sky picture folder
};

// Draws the picture of a view of `terrain` into `image`, made largeur x
// hauteur and black first, as a view window draws it: the colour table of
// the record, the whole terrain marked changed, the statistics counted.
// Whoever draws a view (the view window, the document tool) calls this, so
// that the same document gives the same picture. The renderer always reports
// to a progress sink, a silent one when no window is given: the picture
// depends on there being one (the ridge lines of back-facing facets take
// their light from the sink's poll threshold).
void rendre_vue(Tmatrice& terrain, const param_vue& vue, std::int32_t largeur, std::int32_t hauteur,
                render::Bitmap& image, const ConduiteRenduVue& conduite = {});

// render::lire_jpeg, shown to the observer when there is one.
bool lire_image_jpeg(const std::string& chemin, render::Bitmap& image);

}  // namespace fenetres
