// The Videos menu commands of the main window and the video requests that
// lead to them: new and duplicated videos, refresh, the detailed-parameters
// option, the information box and the video settings dialog.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/etat_documents.h"
#include "app/hote_commandes.h"
#include "model/records.h"

class DialogueReglagesVideo;

class CommandesVideo {
 public:
  CommandesVideo(etat_documents& etat, HoteVideo& hote);
  ~CommandesVideo();

  // A video of the current view; returns its slot, 0 when none was made.
  // `cameras` are the records of an opened video document (null: the working
  // camera table).
  int nouvelle_video(const std::vector<enregistrement_camera>* cameras = nullptr);
  // An opened video document's window: its movie (empty when none lies
  // beside the document), records and information lines.
  int ouvrir_video(const std::string& film, const std::vector<enregistrement_camera>* cameras,
                   const informations_video& informations);
  void creer_video();
  void dupliquer_video();
  void rafraichir_video();
  void parametres_detailles();
  void informations();
  void reglages_video();

  // A video window, and the video settings dialog; while either is empty
  // the commands that need it stay disabled.
  std::function<FenetreVideo*()> creer_fenetre_video;
  std::function<std::unique_ptr<DialogueReglagesVideo>()> creer_dialogue_video;

  std::string film_suivant;         // the movie handed to the next new window
  bool duplication_demandee = false;

 private:
  etat_documents& e_;
  HoteVideo& w_;
  bool ouverture_document_ = false;  // the next window is an opened document's
};
