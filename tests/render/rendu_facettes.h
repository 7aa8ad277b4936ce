// Helpers of the terrain-pass tests: a render with an observer that records
// every polygon, and a picture dump for looking at results by eye.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <string>
#include <vector>

#include "model/defauts.h"
#include "render/calcul_image.h"
#include "render/facettes.h"
#include "render/palette.h"
#include "tests/support/compteur_facettes.h"

namespace essais {

// Counts what the drawing shows and keeps its polygons while `garder`.
struct Releve : CompteurFacettes {
  std::vector<render::FacetteDessinee> facettes;
  bool garder = true;
  void dessinee(const render::FacetteDessinee& f) override {
    CompteurFacettes::dessinee(f);
    if (garder) facettes.push_back(f);
  }
};

inline param_vue vue_defaut() {
  param_vue v;
  valeurs_defaut_vue(v);
  return v;
}

// One render call with the arguments the tests vary.
struct Rendu {
  render::Bitmap image;
  render::Bitmap editeur;  // used when avec_editeur
  bool avec_editeur = false;
  bool courbes = false;
  bool grossier = false;
  ProgressSink* attente = nullptr;
  WindowHandle fenetre = 0;
  bool camera = false;
  enregistrement_camera enregistrement;
  render::Phases phases;

  void operator()(Tmatrice& t, const param_vue& v, int w, int h, render::ObservateurFacettes* observateur = nullptr) {
    image.reset(w, h, 0);
    if (avec_editeur) editeur.reset(2 * w, 2 * h, 0);
    const TMyPalette palette = palette_pour_vue(v);
    render::RenderOptions options;
    options.phases = phases;
    options.phases.observateur = observateur;
    render::calcul_image(t, fenetre, palette, image, {}, v, w, h, attente, avec_editeur ? &editeur : nullptr,
                         avec_editeur ? 1 : 0, grossier ? 1 : 0, courbes ? 1 : 0, 1, camera ? 1 : 0, enregistrement,
                         options);
  }
};

// Renders `t` with view `v` into `image`; the observer (if any) sees every polygon.
inline void rendre(Tmatrice& t, const param_vue& v, render::Bitmap& image, int w, int h,
                   render::ObservateurFacettes* observateur = nullptr) {
  Rendu r;
  r(t, v, w, h, observateur);
  image = std::move(r.image);
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
