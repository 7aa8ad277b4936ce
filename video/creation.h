// The "Video making" window: renders the frames of one video along its
// camera records and hands them to the movie-writing layer, showing the last
// frame, the frame counter, the time left and a percent gauge. Frames wider
// than 320 pixels are first all saved as JPEG files and then encoded (file
// mode); narrower ones are rendered on demand and handed over in memory
// (image mode). Cancel ends the movie at the frames made so far.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "fenetres/dossiers.h"
#include "model/records.h"
#include "platform/messages.h"
#include "platform/vidconv/conversion_video.h"
#include "render/palette.h"
#include "render/raster.h"

class CtlButton;
class CtlFill;
class CtlProgress;
class CtlSimpleLabel;
class Tmatrice;

using LignesInformations = std::array<std::string, 11>;

// The frames a making covers, from the settings' frame count N and the first
// and last track-bar positions p1, p2 (1..200).
struct PlageImages {
  std::int32_t nombre = 0;   // frame count
  std::int32_t premiere = 0; // first index
  std::int32_t derniere = 0; // last index
};
PlageImages plage_images(std::int32_t n, std::int32_t p1, std::int32_t p2);

// The eleven information lines of a movie file.
LignesInformations lignes_informations(const platform::vcv::FileInfo& info);
// The time left, in ms, once `faites` frames of `total` took `ecoule` ms: the
// average time of the frames made so far for each frame still to come; 0
// before the first frame or after the last.
std::int64_t estimer_temps_restant(std::int64_t ecoule, std::int32_t faites, std::int32_t total);
// "hh:mm:ss" of a duration in milliseconds (hours may exceed 24).
std::string texte_duree(std::int64_t millisecondes);

// The picture of the last frame, stretched into the panel.
class ApercuImage : public QWidget {
 public:
  using QWidget::QWidget;
  void montrer(const render::Bitmap& image);
  const QImage& image() const { return image_; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  QImage image_;
};

class TCreation : public QDialog {
  Q_OBJECT
 public:
  explicit TCreation(QWidget* parent = nullptr);
  ~TCreation() override;

  // Prepares a making: the settings, the program folder (its temp folder takes
  // the frames and the movie), the colour table and terrain it borrows, and
  // the video number that names the movie.
  void init_creation(const Param_video& p, const std::string& dossier_programme, const TMyPalette* palette,
                     Tmatrice* terrain, int numero_video);
  // Makes the movie from `cameras` (record k for frame k; missing records
  // read as zero). On return the output path and the lines are set when a
  // movie was made, empty otherwise.
  void encoder_video(bool details, const std::vector<enregistrement_camera>* cameras);

  std::string film_sortie;
  LignesInformations informations{};
  bool numeros_images = false;  // draw frame numbers, skip the file information
  // Milliseconds from a fixed start, for the time left (replaced by tests).
  std::function<std::int64_t()> horloge;

  // What the window settled on, for tests.
  int largeur_image() const { return largeur_; }
  int hauteur_image() const { return hauteur_; }
  bool mode_fichiers() const { return mode_fichiers_; }
  const param_vue& vue_rendu() const { return vue_; }
  static bool fabrication_en_cours();

  CtlFill* CtlFill1 = nullptr;
  CtlSimpleLabel* CtlLabelprogression1 = nullptr;  // mode line
  CtlSimpleLabel* Ctl_typecodec = nullptr;         // codec line
  CtlSimpleLabel* CtlLabelprogression = nullptr;   // frame counter
  CtlSimpleLabel* CtlLabelprogression3 = nullptr;  // time left, cancel notice
  CtlProgress* Gauge1 = nullptr;
  CtlButton* Button_cancel = nullptr;
  ApercuImage* Image_video = nullptr;
  QTimer Timer1;

  void Button_cancelClick();

 signals:
  // After each frame is rendered (index of the frame), for the review script.
  void image_rendue(int index);

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  void creer_image(bool sauver);
  void temps_restant();
  void effacer_fichiers(const std::string& motif);
  void source_video(platform::vcv::Handle source, int index);
  void progression_video(int kind, int valeur);
  void traiter_evenements(bool toujours);
  void Timer1Timer();
  std::int64_t maintenant() const;
  std::string dossier_temp() const { return dossiers::temporaire(dossier_programme_) + "/"; }
  // The movie of this video number with that extension, in the temp folder.
  std::string film_numero(const std::string& extension) const {
    return dossier_temp() + "video" + std::to_string(numero_) + extension;
  }

  Param_video video_{};
  param_vue vue_{};
  int largeur_ = 0, hauteur_ = 0;
  bool mode_fichiers_ = false;
  std::string dossier_programme_;
  const TMyPalette* palette_ = nullptr;
  Tmatrice* terrain_ = nullptr;
  int numero_ = 0;
  int type_ = 0;
  platform::WindowHandle handle_ = 0;
  const std::vector<enregistrement_camera>* cameras_ = nullptr;
  render::Bitmap image_;

  // The making under way.
  platform::vcv::Handle conv_ = 0, img_ = 0, liste_ = 0;
  PlageImages plage_;
  std::int32_t courante_ = 0;
  bool pret_ = false, fini_ = false, rendre_suivante_ = false;
  bool en_cours_ = false;
  QElapsedTimer horloge_;
  std::int64_t debut_phase_ = -1;  // when the rendering or the encoding began, ms
  QElapsedTimer dernier_traitement_;
  bool traitement_fait_ = false;
};
