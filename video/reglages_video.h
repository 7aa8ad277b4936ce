// "Adjustements of the video": the settings of the videos of a view on three
// pages. "Size" chooses the frame size; "Path" draws and edits the camera
// path on a top-down picture of the terrain, its altitude profile and frame
// range, and shows a rendered preview of any frame; "Creation" chooses the
// codec and the frame count and makes a small numbered preview movie played
// in the dialog. The dialog edits a copy: the main window reads the settings
// back only after OK.
#pragma once

#include <QDialog>
#include <QImage>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/pooltimer.h"
#include "render/palette.h"
#include "video/dialogue_reglages.h"
#include "video/reglages_calculs.h"
#include "video/trajectoire.h"

class AffichageFilm;
class CtlButton;
class CtlCheckBox;
class CtlComboBox;
class CtlImageComboBox;
class CtlShapeButton;
class CtlTrackBar;
class MoviePlayer;
class QLabel;
class QLayout;
class QLineEdit;
class QRadioButton;
class QScrollBar;
class TCreation;
class Tmatrice;

namespace dialogs {
class OngletsPlats;
class PreviewBox;
}  // namespace dialogs

// A picture of the dialog drawn by the dialog: it paints what the dialog
// prepared and hands its mouse events to the dialog.
class ImageReglages : public QWidget {
 public:
  using QWidget::QWidget;
  std::function<void(QPainter&)> peindre;
  std::function<void(QMouseEvent*)> souris;

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
};

class TPagesDlg3 : public QDialog, public DialogueReglagesVideo {
  Q_OBJECT
 public:
  enum Page { kTaille = 1, kTrajet = 2, kCreation = 3 };

  explicit TPagesDlg3(QWidget* parent = nullptr);
  ~TPagesDlg3() override;

  // Fills the dialog, runs it through the run hook and, on OK, hands the
  // settings back: 1 for OK, 2 for Cancel.
  int executer(const EntreesReglagesVideo& entrees, SortiesReglagesVideo& sorties) override;
  // How a filled dialog is run: exec() unless a test answers for the user.
  static std::function<int(TPagesDlg3&)>& execution();

  void init_videos(const EntreesReglagesVideo& entrees);
  void charge_video();
  void calcule_trajectoire();
  SortiesReglagesVideo sorties() const;
  void OKBtnClick();

  // The current settings, which every control edits.
  Param_video video{};
  int mode = 0;  // on OK: 0 later, 1 redo, 2 add
  int calculs = 0;  // path computations so far
  // Called with the making window before the preview movie is made (review, tests).
  std::function<void(TCreation&)> avant_fabrication;

  // Path editor state.
  std::array<reglages::PointTrajet, 13> points{};
  int nombre_points = 0;
  bool trace_en_cours = false;
  int point_choisi = -1;
  bool glisse = false;
  bool agrandir = true;  // the held button grows the circle
  // Altitude editor state.
  std::array<int, 8> marqueurs{};  // rows of altitude points 1..7
  int marqueur_choisi = 0;
  int borne_choisie = 0;  // 1 first, 2 last frame line
  const DessinTrajectoire& dessin() const { return dessin_; }
  const std::string& film_reduit() const { return film_reduit_; }

  // Controls.
  CtlComboBox* ComboBox_no = nullptr;
  dialogs::OngletsPlats* Pagecontrol2 = nullptr;
  QRadioButton *RadioButton_differe = nullptr, *RadioButton_Refaire = nullptr, *RadioButton_ajouter = nullptr;
  CtlButton *OKBtn = nullptr, *CancelBtn = nullptr, *HelpBtn = nullptr;
  // Size.
  QRadioButton *RadioButton_320x = nullptr, *RadioButton_640x = nullptr, *RadioButton_800x = nullptr;
  QRadioButton *RadioButton_800_16_9 = nullptr, *RadioButton_autre = nullptr;
  QLineEdit *Edit_Xmax = nullptr, *Edit_Ymax = nullptr;
  ImageReglages* Image_echelle = nullptr;
  // Path.
  QRadioButton *type_trajectoire_1 = nullptr, *type_trajectoire_2 = nullptr, *type_trajectoire_3 = nullptr;
  CtlButton* Creer_trajectoire = nullptr;
  QRadioButton *radio_redim = nullptr, *Radio_cercle = nullptr, *Radio_pt = nullptr;
  CtlCheckBox* pt_vise_fixe = nullptr;
  ImageReglages* Trace_Trajectoire = nullptr;
  QLabel* label_points = nullptr;  // "N= " + count
  ImageReglages* Image_elevation = nullptr;
  QLabel* label_altmax = nullptr;
  CtlButton *button_obs = nullptr, *button_reset = nullptr;
  QScrollBar *ScrollBar_dist = nullptr, *ScrollBar_zoom = nullptr, *scrollbar_angle_Vision = nullptr;
  QLineEdit *Edit_dist = nullptr, *Edit_zoom = nullptr, *Edit_angle = nullptr;
  dialogs::PreviewBox* Image_cadrage = nullptr;
  CtlTrackBar* TrackBar_Nimage = nullptr;
  QLabel* label_image = nullptr;
  CtlShapeButton *CtlShapeButton1 = nullptr, *CtlShapeButton2 = nullptr;
  CtlButton *Prev_image = nullptr, *Next_image = nullptr, *first_frame = nullptr, *Last_frame = nullptr;
  // Creation.
  CtlImageComboBox* ComboBox_CODEC = nullptr;
  QLabel* label_indeo = nullptr;
  CtlCheckBox* Details = nullptr;
  QLineEdit* nombre_images = nullptr;
  QLabel *label_premiere = nullptr, *label_derniere = nullptr, *label_generees = nullptr, *label_duree = nullptr;
  CtlShapeButton* CtlCreate = nullptr;
  AffichageFilm* ecran_film = nullptr;
  MoviePlayer* MediaPlayer1 = nullptr;
  CtlPoolTimer Timer_cercle;
  CtlPoolTimer Timer_image;

 protected:
  void closeEvent(QCloseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void done(int r) override;
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  // Building (reglages_video.cpp).
  QWidget* construire_taille(QWidget* page);
  QWidget* construire_trajet(QWidget* page);
  QLayout* construire_editeur(QWidget* page);
  QLayout* construire_outils(QWidget* page);
  QLayout* construire_apercu(QWidget* page);
  QLayout* construire_altitudes(QWidget* page);
  QLayout* construire_barres(QWidget* page);
  QWidget* construire_creation(QWidget* page);
  void connecter();
  void connecter_trajet();
  // Loading and refreshing.
  void charger_taille();
  void charger_trajet();
  void charger_creation();
  void activer_trajet();
  void rafraichir();
  void modifie(bool grossier = false);
  void choisir_video(int index);
  void page_changee(int code);
  // Size page.
  void format_choisi(reglages::Format f);
  void taille_saisie();
  void preparer_echelle();
  // Path page (reglages_dessins.cpp).
  void Trace_TrajectoirePaint(QPainter& p);
  void souris_trajet(QMouseEvent* e);
  void ajouter_point(QPoint pt);
  void fin_trace();
  void ranger_points();
  void Timer_cercleTimer();
  void Image_elevationPaint(QPainter& p);
  void souris_elevation(QMouseEvent* e);
  void lacher_marqueur();
  void lacher_borne();
  void type_choisi(int type);
  void Creer_trajectoireClick();
  void compteur_points();
  // Bars, edits, frame preview and player (reglages_apercu.cpp).
  void defilement(QScrollBar* barre, int code, int position);
  void valeur_saisie(QLineEdit* edit);
  void rendre_apercu(render::Bitmap& image);
  void aller_position(int position);
  void Timer_imageTimer();
  void creation_saisie();
  void codec_choisi();
  void CtlCreateClick();
  void ouvrir_film_reduit();
  std::string chemin_film_reduit(int numero, int type) const;

  EntreesReglagesVideo entrees_{};
  std::vector<DocumentReglagesVideo> videos_;
  int choisi_ = 0;
  Tmatrice* terrain_ = nullptr;  // the video's mountain, lent by the main window
  std::unique_ptr<Tmatrice> apercu5_, apercu4_;  // the preview terrains
  int montagne_apercu_ = -1;
  std::optional<TMyPalette> palette_;
  EditeurAltitude editeur_altitude_{};
  DessinTrajectoire dessin_{};
  std::vector<QImage> images_trajet_;  // the path editor's picture of each video
  QImage image_echelle_;
  double sommet_ = 400;
  bool grossier_ = false;  // the next preview is rough
  bool charge_ = false;    // loading: handlers do nothing
  QPoint souris_{};
  std::string film_reduit_;
  bool fabrication_ = false;  // the preview movie is being made
};
