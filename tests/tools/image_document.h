// The picture a document shows, made as the program makes it: a view's at
// its stored size, or one frame of a video's path as the movie making renders
// it (qvdoc's "render", and the checks of the sample documents).
#pragma once

#include <algorithm>
#include <string>

#include "app/document.h"
#include "model/aleatoire.h"
#include "render/calcul_image.h"
#include "render/palette.h"

// The picture of a view at its stored size, or one frame of a video's path
// with the settings the movie making takes (the video's zoom, no fixed scale,
// cast shadow or sky picture, the sea calmed to 3).
inline render::Bitmap image_document(document_lu& d, GenreDocument genre, int image) {
  param_vue v = d.vue;
  int largeur = d.largeur_image, hauteur = d.hauteur_image;
  enregistrement_camera camera{};
  std::uint8_t mode_camera = 0;
  if (genre == GenreDocument::video) {
    if (!d.cameras || image < 1 || std::size_t(image) >= d.cameras->size())
      throw ErreurDocument("no frame " + std::to_string(image) + " in the path");
    v = d.video.vue;
    largeur = d.video.largeur_image;
    hauteur = d.video.hauteur_image;
    v.zoom = std::clamp(d.video.zoom_video, 10, 80);
    v = render::vue_image_video(v, largeur, hauteur);
    camera = (*d.cameras)[std::size_t(image)];
    mode_camera = 1;
  } else if (!v.deformation) {
    // A view fits its picture to 4:3 before it draws it.
    if (largeur * 0.75 <= hauteur)
      hauteur = Round(largeur * 0.75);
    else
      largeur = Round(hauteur / 0.75);
  }
  const TMyPalette palette = palette_pour_vue(v);
  render::Bitmap b(largeur, hauteur);
  render::calcul_image(*d.terrain, 0, palette, b, {}, v, largeur, hauteur, nullptr, nullptr, 0, 0, 0, 0, mode_camera,
                       camera);
  return b;
}

