// The video settings dialog as the main window sees it: what it is given
// before it runs, and what the main window reads back after OK.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/echantillons.h"
#include "model/records.h"
#include "render/raster.h"

class Tmatrice;

// One entry of the dialog's document list: an open video, or an open view.
struct DocumentReglagesVideo {
  std::string titre;
  Param_video parametres;
  std::uint16_t montagne = 0;
  std::uint16_t numero = 0;  // video or view slot
  std::uint16_t vue = 0;     // the view slot whose picture the entry shows
};

struct EntreesReglagesVideo {
  Param_video video;                 // the working settings
  std::uint16_t numero_courant = 0;  // the current video's slot, else the current view's
  std::uint16_t montagne_courante = 0;
  std::uint8_t liste_videos = 0;  // 1: the list holds the open videos, 0: the open views
  std::array<const render::Bitmap*, 11> images{};  // picture of each view slot 1..10, or null
  std::array<std::optional<Echantillon36>, 6> echantillons;  // by mountain slot 1..5
  std::vector<DocumentReglagesVideo> documents;
  std::string dossier_programme;
  std::uint16_t vue_courante = 0;
  std::array<Tmatrice*, 6> terrains{};  // by mountain slot 1..5
  std::vector<enregistrement_camera>* cameras = nullptr;  // the working camera table
  param_mat parametres;
};

// Read by the main window after OK.
struct SortiesReglagesVideo {
  Param_video video;
  std::uint16_t numero_choisi = 0;  // a video slot (video list) or a view slot
  std::uint8_t action = 0;          // 0 later, 1 redo, 2 add
};

class DialogueReglagesVideo {
 public:
  virtual ~DialogueReglagesVideo() = default;
  // Runs modally: 1 for OK (the outputs are then set), 2 for Cancel.
  virtual int executer(const EntreesReglagesVideo& entrees, SortiesReglagesVideo& sorties) = 0;
};
