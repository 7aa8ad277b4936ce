// Short movies written by the program's movie layer, for tests that need a
// movie its reader accepts.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/defauts.h"
#include "model/records.h"
#include "platform/vidconv/conversion_video.h"

namespace test_films {

// The settings of a short video window's movie: frames 1 to 4 of a 200-frame
// path, 160 x 120, codec type 5, over the default view.
inline Param_video reglages_courts() {
  Param_video p{};
  valeurs_defaut_vue(p.vue);
  p.nombre_images = 200;
  p.type_video = 5;
  p.largeur_image = 160;
  p.hauteur_image = 120;
  p.premiere_image = 1;
  p.derniere_image = 4;
  return p;
}

// `n` frames of w x h at 30 frames per second, frame k filled by
// `remplir(k, pixels)` (black without it), coded as `conteneur` and `codec`
// say (Cinepak by default). The path, or empty when the layer could not
// write it.
inline std::string ecrire(const std::string& chemin, int n, int w = 64, int h = 48,
                          const std::function<void(int, std::vector<std::uint32_t>&)>& remplir = {},
                          int conteneur = platform::vcv::kContainerAvi,
                          std::uint32_t codec = platform::vcv::fourcc("cvid")) {
  namespace vcv = platform::vcv;
  const vcv::Handle conv = vcv::alloc(), img = vcv::img_alloc();
  std::vector<std::uint32_t> pixels(std::size_t(w) * std::size_t(h), 0xFF000000u);
  vcv::assign_video_source(conv, [&](vcv::Handle s, int k) {
    if (k >= n) return void(vcv::src_finished(s));
    if (remplir) remplir(k, pixels);
    vcv::dib_to_img(img, {pixels.data(), w, h, w});
    vcv::src_set_img(s, img);
  });
  vcv::set_frame_rate(conv, 30.0);
  vcv::set_resolution(conv, w, h);
  vcv::set_codec(conv, conteneur, codec);
  vcv::set_output_file(conv, chemin, 0);
  vcv::force_compatibility(conv, -1);
  const bool ok = vcv::convert(conv);
  vcv::free(conv);
  vcv::free(img);
  return ok ? chemin : std::string();
}

}  // namespace test_films
