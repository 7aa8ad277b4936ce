// The tests' observer of the render seam: it records the arguments of every
// render and counts renders and decodings, those started inside a paint
// handler apart, and may stand in for the renderer. It is installed the first
// time a test asks for it and stays for the rest of the test program; the
// fixtures that use it clear it before and after their work.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "fenetres/rendu.h"
#include "tests/support/observation.h"

namespace test_rendus {

class ControleRendus : public fenetres::ObservateurRendus {
 public:
  int rendus = 0;
  int rendus_dans_peinture = 0;  // renders started inside a paint handler (must stay 0)
  std::vector<fenetres::AppelRendu> appels;
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

  // Forgets the record and the stand-ins; stays installed.
  void effacer() {
    rendus = rendus_dans_peinture = decodages = decodages_dans_peinture = 0;
    appels.clear();
    couleur_factice.reset();
    rendu_factice = nullptr;
    attente_imposee = nullptr;
    options_imposees = nullptr;
  }

  bool rendu(fenetres::RenduObserve& r) override {
    ++rendus;
    if (r.dans_peinture) ++rendus_dans_peinture;
    if (attente_imposee) r.attente = attente_imposee;
    if (options_imposees) r.options = options_imposees;
    appels.push_back(r.appel);
    appels.back().attente = r.attente != nullptr;
    if (couleur_factice) {
      r.image.reset(r.image.width(), r.image.height(), *couleur_factice);
      if (r.image_editeur) r.image_editeur->reset(r.image_editeur->width(), r.image_editeur->height(), *couleur_factice);
      if (r.affichage) r.affichage(r.image);
      return true;
    }
    if (rendu_factice) {
      rendu_factice(r.terrain, r.image, r.appel.vue, r.attente, r.appel.fenetre);
      return true;
    }
    return false;
  }

  void decodage(bool dans_peinture) override {
    ++decodages;
    if (dans_peinture) ++decodages_dans_peinture;
  }
};

// The observer of the seam for this test program, installed on the first call.
inline ControleRendus& controle_rendus() {
  static ControleRendus c;
  static const test_observation::Observation<fenetres::ObservateurRendus, fenetres::observer_rendus> installe(&c);
  return c;
}

}  // namespace test_rendus
