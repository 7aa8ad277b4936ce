// Reading and writing of the three document kinds: a mountain (*.mat), a view
// (*.vue: the mountain and its view settings) and a video (*.vid: the view and
// the video settings, camera path and movie information). Plain C++, no Qt.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/etat_documents.h"
#include "app/texte_document.h"
#include "model/matrice.h"
#include "model/records.h"

enum class GenreDocument { aucun = 0, montagne = 1, vue = 2, video = 3 };

// By the upper-cased last four characters: ".MAT", ".VUE", ".VID".
GenreDocument genre_par_extension(const std::string& chemin);

// A document that cannot be read; what() is the message for the user.
struct ErreurDocument : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Everything a document holds, read before any slot is taken.
struct document_lu {
  param_mat parametres;  // with the comment lines, key and points
  std::unique_ptr<Tmatrice> terrain;
  param_vue vue;
  std::uint16_t largeur_image = 320, hauteur_image = 240;
  Param_video video;  // its view part is `vue`
  // The camera path as the main window's camera table holds it: record k of
  // frame k at index k, index 0 unused. nullopt: no camera path.
  std::optional<std::vector<enregistrement_camera>> cameras;
  informations_video informations;
};

// Reads the parts of `genre` from the bytes of the file `chemin` (the path
// only names the file in messages). Throws ErreurDocument.
document_lu lire_document(std::string octets, const std::string& chemin, GenreDocument genre);

// The mountain part. `p` is brought in line with the terrain first: mesh
// degree, distortion and colour-layer flags, target and observer fractions.
void ecrire_montagne(Sortie& f, param_mat& p, const Tmatrice& terrain);
// The view part: section, " [VUE]", picture width and height.
void ecrire_vue(Sortie& f, const param_vue& v, std::int32_t largeur, std::int32_t hauteur);
// The video part: section, camera records 1..frame count from the camera
// table (when there is one; record k at index k, missing records written as
// zeros), information lines (when the first one is not empty).
void ecrire_video(Sortie& f, const Param_video& w, const std::vector<enregistrement_camera>* cameras,
                  const informations_video& informations);

// Frame count of a camera path: nombre_images within 200..9999.
std::int32_t nombre_cameras(const Param_video& w);

// A whole document of kind `genre` from what was read (or assembled).
std::string texte_document(document_lu& d, GenreDocument genre);

// Writes a document's bytes through the safe write, unless the reader would
// refuse them: larger than TAILLE_MAX_DOCUMENT, nothing is written and the
// reason names the size ("it would be too large to be a document (N bytes;
// at most M)").
Echec ecrire_document(const std::string& chemin, std::string_view octets);
