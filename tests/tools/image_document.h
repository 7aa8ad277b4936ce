// The picture a document shows, made as the program makes it: a view's at
// its stored size, or one frame of a video's path as the movie making renders
// it (qvdoc's "render", and the checks of the sample documents).
#pragma once

#include <algorithm>
#include <string>

#include "app/document.h"
#include "fenetres/rendu.h"
#include "render/calcul_image.h"
#include "render/palette.h"

// The picture of a view at its stored size, drawn by the view window's own
// routine; or one frame of a video's path with the settings the movie making
// takes (the video's zoom, no fixed scale, cast shadow or sky picture, the
// sea calmed to 3).
inline render::Bitmap image_document(document_lu& d, GenreDocument genre, int image) {
  render::Bitmap b;
  if (genre != GenreDocument::video) {
    int largeur = d.largeur_image, hauteur = d.hauteur_image;
    fenetres::taille_image_vue(d.vue, largeur, hauteur);
    fenetres::rendre_vue(*d.terrain, d.vue, largeur, hauteur, b);
    return b;
  }
  if (!d.cameras || image < 1 || std::size_t(image) >= d.cameras->size())
    throw ErreurDocument("no frame " + std::to_string(image) + " in the path");
  const int largeur = d.video.largeur_image, hauteur = d.video.hauteur_image;
  param_vue v = d.video.vue;
  v.zoom = std::clamp(d.video.zoom_video, 10, 80);
  v = render::vue_image_video(v, largeur, hauteur);
  b.reset(largeur, hauteur);
  render::calcul_image(*d.terrain, 0, palette_pour_vue(v), b, {}, v, largeur, hauteur, nullptr, nullptr, 0, 0, 0, 0, 1,
                       (*d.cameras)[std::size_t(image)]);
  return b;
}
