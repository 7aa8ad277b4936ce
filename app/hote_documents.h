// What the save and open commands need of the rest of the program: the main
// window's child windows (host) and the file dialogs. The main window, the card,
// view and video windows implement the host; the Qt layer implements the dialogs;
// the tests use fakes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/etat_documents.h"
#include "model/records.h"
#include "render/raster.h"

class HoteDocuments {
 public:
  virtual ~HoteDocuments() = default;

  // Mountain card of slot m. Captions are UTF-8.
  virtual void titre_fiche(int m, const std::string& titre) = 0;
  // The card shows that the document was saved, with the time of day.
  virtual void marquer_sauvee(int m) = 0;
  // The file of slot m was deleted ("Remove"): its card shows a mountain
  // without a file.
  virtual void marquer_sans_fichier(int m) { (void)m; }
  // The map editor of slot m, when open, is no longer modified.
  virtual void effacer_modification_edition(int m) = 0;

  // Windows of an opened document. The mountain slot is already filled; the
  // card and its explorer node are made for it (false: could not be made).
  virtual bool creer_fiche(int m, const std::string& titre, long long date_fichier) = 0;
  // The view window of the current mountain from the current param_vue and
  // default picture size, showing `fichier_image` when not empty; it takes a
  // view slot. Returns the view number, 0 when no window was made.
  virtual int creer_vue(const std::string& fichier_image) = 0;
  // The video window of the current view from the current Param_video; it
  // takes a video slot and the camera path (camera tables hold record k of
  // frame k at index k; index 0 is unused). Returns the video number, 0 when
  // no window was made.
  virtual int creer_video(const std::string& film, const std::vector<enregistrement_camera>* cameras,
                          const informations_video& informations) = 0;
  virtual void focaliser_fiche(int m) = 0;
  virtual void focaliser_vue(int v) = 0;
  virtual void focaliser_video(int w) = 0;

  // View v: its picture (nullptr when it has none now), the picture size, its
  // parameters, caption, and "has a file and not modified" after a save.
  virtual const render::Bitmap* image_vue(int v) = 0;
  // The bytes of the picture file view v shows unchanged since it read it, or null.
  virtual const std::string* image_vue_lue(int v) = 0;
  virtual std::pair<std::int32_t, std::int32_t> taille_image_vue(int v) = 0;
  virtual param_vue parametres_vue(int v) = 0;
  virtual void titre_vue(int v, const std::string& titre) = 0;
  virtual void marquer_vue_enregistree(int v) = 0;

  // Video w: its movie file (empty when none), whether the movie was made
  // again since the last save, its information lines, the camera path (nullptr
  // when there is none), caption, and "has a file, not remade" after a save.
  virtual std::string film(int w) = 0;
  virtual bool film_refait(int w) = 0;
  virtual informations_video informations(int w) = 0;
  virtual const std::vector<enregistrement_camera>* cameras(int w) = 0;
  virtual void titre_video(int w, const std::string& titre) = 0;
  virtual void marquer_video_enregistree(int w) = 0;

  // The recent list changed.
  virtual void recents_modifies() {}
};

enum class DialogueSauvegarde { montagne, vue, video };

class DialoguesDocuments {
 public:
  virtual ~DialoguesDocuments() = default;
  // The chosen path, or nullopt on Cancel. The dialogs ask before overwriting.
  virtual std::optional<std::string> chemin_sauvegarde(DialogueSauvegarde genre) = 0;
  virtual std::optional<std::string> chemin_ouverture() = 0;
  // The "Scan ..." choice of several view documents; empty on Cancel.
  virtual std::vector<std::string> chemins_parcours() = 0;
  // The "Import ..." choice of an elevation source or bitmap; nullopt on Cancel.
  virtual std::optional<std::string> chemin_import() = 0;
  virtual void curseur_attente(bool actif) = 0;
};
