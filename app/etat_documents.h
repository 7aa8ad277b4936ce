// The main window's document tables as plain state: mountain slots with their
// terrains, view and video slots, what is current, the current parameter
// records, the current file name and the recent list. Plain C++, no Qt.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fenetres/dossiers.h"
#include "model/matrice.h"
#include "model/records.h"

inline constexpr int NOMBRE_MAX_MONTAGNES = 5;
inline constexpr int NOMBRE_MAX_VUES = 10;
inline constexpr int NOMBRE_MAX_VIDEOS = 10;
inline constexpr int NOMBRE_MAX_RECENTS = 10;
inline constexpr int NOMBRE_INFORMATIONS = 11;

using informations_video = std::array<std::string, NOMBRE_INFORMATIONS>;

// Each slot counts the documents that took it (`serie`): a command that opened
// a modal window knows by it whether the slot still holds its document.
struct emplacement_montagne {
  Type_matrice type;
  std::unique_ptr<Tmatrice> terrain;
  std::uint32_t serie = 0;
};

struct emplacement_vue {
  bool utilise = false;
  int montagne = 0;
  std::uint32_t serie = 0;
};

struct emplacement_video {
  bool utilise = false;
  int vue = 0;
  int montagne = 0;
  std::uint32_t serie = 0;
};

// One document as a command notes it before a modal window, to find it again
// afterwards: its table, its slot (0: none) and the slot's serial then.
struct temoin_document {
  enum class Table : std::uint8_t { montagne, vue, video };
  Table table = Table::montagne;
  int numero = 0;
  std::uint32_t serie = 0;
  bool operator==(const temoin_document&) const = default;
};

// The current mountain, view and video so noted.
struct documents_courants {
  temoin_document montagne, vue, video;
  bool operator==(const documents_courants&) const = default;
};

struct etat_documents;

// Every open document, and the current ones, as a command notes them before a
// modal window.
struct documents_notes {
  documents_courants courants;
  std::array<temoin_document, NOMBRE_MAX_MONTAGNES + 1> montagnes{};
  std::array<temoin_document, NOMBRE_MAX_VUES + 1> vues{};
  std::array<temoin_document, NOMBRE_MAX_VIDEOS + 1> videos{};
};

struct etat_documents {
  // Index 0 is unused: slots are numbered from 1, 0 means none.
  std::array<emplacement_montagne, NOMBRE_MAX_MONTAGNES + 1> montagnes;
  std::array<emplacement_vue, NOMBRE_MAX_VUES + 1> vues;
  std::array<emplacement_video, NOMBRE_MAX_VIDEOS + 1> videos;
  int montagne_courante = 0;
  int vue_courante = 0;
  int video_courante = 0;
  int nombre_montagnes = 0;
  int nombre_vues = 0;
  int nombre_videos = 0;

  // The defaults that new documents copy; they follow the active document.
  param_mat parametres;
  param_vue vue;
  Param_video video;

  std::string fichier_courant;          // written as the starting file
  bool demarrer_sur_fichier = false;    // the current file is the starting file
  bool demarrage = true;                // start-up state
  std::vector<std::string> recents;     // most recent first, at most 10
  std::uint16_t largeur_defaut = 400, hauteur_defaut = 300;
  std::uint16_t largeur_defaut_copie = 400, hauteur_defaut_copie = 300;
  std::string document_precedent;       // the slot's path before a save under a new name
  std::string dossier_programme;        // absolute, without trailing separator
  informations_video informations;      // of the last opened video

  std::string dossier_travail() const { return dossiers::temporaire(dossier_programme); }
  std::string chemin_options() const { return dossiers::options(dossier_programme); }

  // Lowest free slot, or 0.
  int montagne_libre() const;
  int vue_libre() const;
  int video_libre() const;
  // The highest-numbered open view of mountain m, or 0.
  int plus_haute_vue(int m) const;

  // Slot k is taken by a new document: it gets a serial of its own.
  void prendre_montagne(int m);
  void prendre_vue(int v, int m);
  void prendre_video(int w, int v, int m);
  // What a command notes of a document (none outside the table or for a free slot).
  temoin_document temoin_montagne(int m) const;
  temoin_document temoin_vue(int v) const;
  temoin_document temoin_video(int w) const;
  documents_courants courants() const;
  // Whether the slot still holds the document noted, neither freed nor taken
  // by another since; a note of no document always holds.
  bool toujours_la(const temoin_document& t) const;
  bool toujours_la(const documents_courants& d) const;
  documents_notes noter_documents() const;
  // Whether slot k held a document when noted and holds it still (false for 0).
  bool montagne_notee(const documents_notes& n, int m) const;
  bool vue_notee(const documents_notes& n, int v) const;
  bool video_notee(const documents_notes& n, int w) const;
  // After a modal window, which may have made other documents current: the
  // current documents noted become current again. False, changing nothing,
  // when one of them was closed meanwhile.
  bool reprendre_courants(const documents_courants& d);
  // The same after a dialog that lists documents of one table: also false
  // when the one chosen in it (0 for none) was closed meanwhile.
  bool reprendre_courants(const documents_notes& n, temoin_document::Table table, int choisi);
};

// Puts the current file name at the head of the recent list unless it is
// already in it; the tenth entry drops out of a full list. True when the list
// changed.
bool maj_fichiers_recents(etat_documents& e);
