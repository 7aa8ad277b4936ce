// The renderer's entry point: a terrain and a view record become a picture,
// and the view statistics of the terrain are filled.
#pragma once

#include <cstdint>

#include "model/interfaces.h"
#include "model/matrice.h"
#include "model/records.h"
#include "render/contexte.h"
#include "render/palette.h"
#include "render/raster.h"

namespace render {

// Renders `terrain` (the object of the call) into `image`, which the caller has
// sized to largeur x hauteur (drawing clips to the picture actually passed).
//  fenetre         window polled for the cancel message 1025
//  palette         colour table built for this view (palette_pour_vue); read only
//  affichage       live display of the partial picture, or empty
//  vue             view parameters (the render works on its own copy)
//  attente         progress window, or null (no gauge, no cancel poll)
//  image_editeur   editor mode when set: the double-size map, drawn in parallel
//  zoom_editeur    2: the editor shows the double-size map
//  grossier        coarse picture: stride x 3, no foreground detail, no sky
//  courbes_niveau  level-curve colouring of the editor
//  statistiques    count trees, springs, rivers and slopes
//  mode_camera     take the camera from `camera`
// The terrain fields it may change: resultats_vue, calcul_annule, cellule_rendu,
// etat_rendu, observateur.hauteur (observer-placed mode), cible.hauteur
// (camera-record mode) and the changed area (marquer_modifiee at the end).
// Heights are never written. Errors are caught and reported in the box
// "Error during image computation !"; the end step runs on every path.
// See RenderOptions for the re-entrancy rule of callers that let events through.
void calcul_image(Tmatrice& terrain, WindowHandle fenetre, const TMyPalette& palette, Bitmap& image,
                  const AffichageDirect& affichage, param_vue vue, std::int32_t largeur, std::int32_t hauteur,
                  ProgressSink* attente, Bitmap* image_editeur, std::uint16_t zoom_editeur, std::uint8_t grossier,
                  std::uint8_t courbes_niveau, std::uint8_t statistiques, std::uint8_t mode_camera,
                  enregistrement_camera camera, const RenderOptions& options = {});

// The view a movie frame of largeur x hauteur is rendered with: the middle of a
// picture 1.1 times larger, at the view's own scale and centre, without cast
// shadows, the observer's mark or the sky picture, and with a sea no rougher
// than 3 (the camera record then places the eye).
param_vue vue_image_video(param_vue vue, std::int32_t largeur, std::int32_t hauteur);

// Copies the terrain's view statistics whole.
void copier_resultats_vue(const Tmatrice& terrain, resultats_vue& destination);

// River length in metres from a count of river points: Round(points x 8000 / n),
// at most 65535.
std::uint16_t longueur_rivieres_metres(std::int64_t points, std::int32_t n);

}  // namespace render
