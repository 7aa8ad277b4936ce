// Helpers of the terrain-pass tests: a render with an observer that records
// every polygon, and a picture dump for looking at results by eye.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "model/defauts.h"
#include "render/calcul_image.h"
#include "render/facettes.h"
#include "render/palette.h"

namespace essais {

struct Releve : render::ObservateurDessin {
  std::vector<render::FacetteDessinee> facettes;
  render::CompteursFacettes totaux;
  bool garder = true;
  void dessinee(const render::FacetteDessinee& f) override {
    if (garder) facettes.push_back(f);
  }
  void compteurs(const render::CompteursFacettes& c) override { totaux = c; }
};

inline param_vue vue_defaut() {
  param_vue v;
  valeurs_defaut_vue(v);
  return v;
}

// Renders `t` with view `v` into `image`; the observer (if any) sees every polygon.
inline void rendre(Tmatrice& t, const param_vue& v, render::Bitmap& image, int w, int h,
                   render::ObservateurFacettes* observateur = nullptr, render::Phases phases = {},
                   ProgressSink* attente = nullptr, render::Bitmap* editeur = nullptr, bool courbes = false) {
  image.reset(w, h, 0);
  const TMyPalette palette = palette_pour_vue(v);
  render::RenderOptions options;
  options.phases = phases;
  options.phases.observateur = observateur;
  render::calcul_image(t, 0, palette, image, {}, v, w, h, attente, editeur, editeur ? 1 : 0, 0, courbes ? 1 : 0, 1,
                       0, enregistrement_camera{}, options);
}

// Writes the picture as a binary PPM when QUORVEL_IMAGES names a folder.
inline void deposer(const render::Bitmap& image, const std::string& nom) {
  const char* dossier = std::getenv("QUORVEL_IMAGES");
  if (!dossier) return;
  const std::string chemin = std::string(dossier) + "/" + nom + ".ppm";
  FILE* f = std::fopen(chemin.c_str(), "wb");
  if (!f) return;
  std::fprintf(f, "P6\n%d %d\n255\n", image.width(), image.height());
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const render::Pixel p = image.at(x, y);
      const unsigned char c[3] = {static_cast<unsigned char>(p >> 16), static_cast<unsigned char>(p >> 8),
                                  static_cast<unsigned char>(p)};
      std::fwrite(c, 1, 3, f);
    }
  std::fclose(f);
}

}  // namespace essais
