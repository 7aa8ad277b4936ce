// The three pages of the video settings dialog, each a widget of its own that
// is loaded from the settings of one video, keeps its controls to itself and
// writes back only the fields it edits:
// - "Size": the frame size, chosen among four formats or typed;
// - "Path": the camera path drawn on the terrain seen from above, its
//   altitude profile and frame range, the target distance, zoom and vision
//   angle, and a rendered preview of any frame; it computes the path;
// - "Creation": the codec, the detailed parameters, the frame count, the
//   frame labels and the small numbered preview movie played in the page.
// A page says `change` after each edit the user makes; the dialog then gathers
// every page's fields into its settings, has the path computed and shows the
// result on every page again. Loading never says `change`.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "controls/controltimer.h"
#include "model/records.h"
#include "render/raster.h"
#include "video/reglages_calculs.h"
#include "video/trajectoire.h"

class AffichageFilm;
class CtlButton;
class CtlCheckBox;
class CtlImageComboBox;
class CtlShapeButton;
class CtlTrackBar;
class EditeurAltitudes;
class EditeurTrajet;
class MoviePlayer;
class QLabel;
class QLayout;
class QLineEdit;
class QRadioButton;
class QScrollBar;
class TMyPalette;
class Tmatrice;

namespace fenetres {
class PreviewBox;
}

// A picture drawn by its page: it paints what the page prepared.
class ImageReglages : public QWidget {
 public:
  using QWidget::QWidget;
  std::function<void(QPainter&)> peindre;

 protected:
  void paintEvent(QPaintEvent*) override;
};

// ------------------------------------------------------------------ Size

class PageTailleVideo : public QWidget {
  Q_OBJECT
 public:
  explicit PageTailleVideo(QWidget* parent = nullptr);
  // Shows the frame size of `v` and the view's picture `vue` (null: none)
  // fitted into a box of the frame's aspect.
  void charger(const Param_video& v, const QImage& vue);
  // Writes the frame size.
  void ranger(Param_video& v) const;

 signals:
  void change();

 private:
  void format_choisi(reglages::Format f);
  void taille_saisie();
  void preparer_echelle();

  QRadioButton *RadioButton_320x = nullptr, *RadioButton_640x = nullptr, *RadioButton_800x = nullptr;
  QRadioButton *RadioButton_800_16_9 = nullptr, *RadioButton_autre = nullptr;
  QLineEdit *Edit_Xmax = nullptr, *Edit_Ymax = nullptr;
  ImageReglages* Image_echelle = nullptr;
  int largeur_ = 320, hauteur_ = 240;
  QImage vue_;           // the view's picture
  QImage image_echelle_;  // what Image_echelle shows
};

// ------------------------------------------------------------------ Path

// What the Path page works on besides the settings, lent by the dialog for
// the video it shows.
struct ContexteTrajet {
  const Tmatrice* terrain = nullptr;        // the video's mountain: the path is computed on it
  Tmatrice* apercu = nullptr;               // preview terrain of degree 5
  Tmatrice* apercu_grossier = nullptr;      // preview terrain of degree 4 (rough preview)
  const TMyPalette* palette = nullptr;
  std::vector<enregistrement_camera>* cameras = nullptr;  // filled by the path computation
  std::string dossier_ciels;
  QImage fond;          // the terrain seen from above, behind the path
  double sommet = 400;  // top altitude of the altitude profile
};

class PageTrajetVideo : public QWidget {
  Q_OBJECT
 public:
  explicit PageTrajetVideo(QWidget* parent = nullptr);
  ~PageTrajetVideo() override;
  // Loads a video: its path kind, control points, altitudes, frame range,
  // bars and edits; any drawing or drag under way is dropped.
  void charger(const Param_video& v, const ContexteTrajet& c);
  // Writes the path, its altitudes, frame range, target, distance, zoom and angle.
  void ranger(Param_video& v) const;
  // Computes the path of the whole settings `v` into the camera table and
  // writes the frame count and altitudes it sets back into `v`; the page
  // keeps `v` for its pictures and preview. False when there is nothing to
  // compute on (no terrain or camera table lent).
  bool calculer(Param_video& v);
  // Shows the last computation: editors, labels and the frame preview, rough
  // when `grossier`.
  void montrer(bool grossier);

 signals:
  // An edit; `grossier` while a bar's thumb or the circle size moves.
  void change(bool grossier);

 protected:
  bool eventFilter(QObject* o, QEvent* e) override;
  void hideEvent(QHideEvent* e) override;

 private:
  QLayout* construire_outils();
  QLayout* construire_apercu();
  QLayout* construire_altitudes();
  QLayout* construire_barres();
  void connecter();
  void connecter_lecture();
  void activer();
  void type_choisi(int type);
  void defilement(QScrollBar* barre, int code, int position);
  void valeur_saisie(QLineEdit* edit);
  void rendre_apercu(render::Bitmap& image);
  void aller_position(int position);
  void Timer_imageTimer();

  Param_video v_{};
  ContexteTrajet c_{};
  DessinTrajectoire dessin_{};
  EditeurAltitude altitude_{};
  bool grossier_ = false;  // the next preview is rough

  EditeurTrajet* Trace_Trajectoire = nullptr;
  EditeurAltitudes* Image_elevation = nullptr;
  QRadioButton *type_trajectoire_1 = nullptr, *type_trajectoire_2 = nullptr, *type_trajectoire_3 = nullptr;
  CtlButton* Creer_trajectoire = nullptr;
  QRadioButton *radio_redim = nullptr, *Radio_cercle = nullptr, *Radio_pt = nullptr;
  CtlCheckBox* pt_vise_fixe = nullptr;
  QLabel* label_altmax = nullptr;
  CtlButton *button_obs = nullptr, *button_reset = nullptr;
  QScrollBar *ScrollBar_dist = nullptr, *ScrollBar_zoom = nullptr, *scrollbar_angle_Vision = nullptr;
  QLineEdit *Edit_dist = nullptr, *Edit_zoom = nullptr, *Edit_angle = nullptr;
  fenetres::PreviewBox* Image_cadrage = nullptr;
  CtlTrackBar* TrackBar_Nimage = nullptr;
  QLabel* label_image = nullptr;
  CtlShapeButton *CtlShapeButton1 = nullptr, *CtlShapeButton2 = nullptr;
  CtlButton *Prev_image = nullptr, *Next_image = nullptr, *first_frame = nullptr, *Last_frame = nullptr;
  CtlPoolTimer Timer_image;
};

// ------------------------------------------------------------------ Creation

// What the preview movie is made from, lent by the dialog.
struct ContexteFilm {
  Tmatrice* terrain = nullptr;
  const TMyPalette* palette = nullptr;
  const std::vector<enregistrement_camera>* cameras = nullptr;  // the computed path
  std::string dossier_programme;
  int numero = 0;  // the video's slot: the movie is numbered 10 above it
};

class PageCreationVideo : public QWidget {
  Q_OBJECT
 public:
  explicit PageCreationVideo(QWidget* parent = nullptr);
  // Shows the codec, details and frame count of `v` and the frame labels of
  // its range.
  void charger(const Param_video& v, const ContexteFilm& c);
  // Writes the codec, details and frame count.
  void ranger(Param_video& v) const;
  const std::string& film_reduit() const { return film_reduit_; }

 signals:
  void change();
  // The preview movie is about to be made: the path must be computed and the
  // page loaded again now.
  void calcul_demande();

 protected:
  void showEvent(QShowEvent* e) override;
  void hideEvent(QHideEvent* e) override;

 private:
  void etiquettes();
  void indication_codec();
  void CtlCreateClick();
  void ouvrir_film_reduit();

  Param_video v_{};
  ContexteFilm c_{};
  std::string film_reduit_;
  bool fabrication_ = false;  // the preview movie is being made

  CtlImageComboBox* ComboBox_CODEC = nullptr;
  QLabel* label_indeo = nullptr;
  CtlCheckBox* Details = nullptr;
  QLineEdit* nombre_images = nullptr;
  QLabel *label_premiere = nullptr, *label_derniere = nullptr, *label_generees = nullptr, *label_duree = nullptr;
  CtlShapeButton* CtlCreate = nullptr;
  AffichageFilm* ecran_film = nullptr;
  MoviePlayer* MediaPlayer1 = nullptr;
};
