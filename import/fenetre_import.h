// The import window "Import": shows an elevation source read by the import
// core as its height picture (or its aerial picture), lets the user place the
// equilateral frame over it and choose the vertical range, the mesh degree,
// smoothing and the aerial colours, and imports the framed part as a new
// terrain that the main window adopts through the request protocol. The
// window stays open for further imports.
//
// Reading and resampling run on the GUI thread under a progress window made
// here, inside a long-operation marker; the window's own message handle
// receives the cancel message.
#pragma once

#include <QImage>
#include <QPolygon>
#include <QWidget>
#include <string>

#include "fenetres/fenetres.h"
#include "import/importation.h"
#include "import/manipulation_cadre.h"

class CtlBackPanel;
class CtlButton;
class CtlScrollBar;
class CtlSpeedButton;
class CtlSpinEdit;
class QCheckBox;
class QLabel;
class QScrollArea;
class QScrollBar;
class TImportation;

// The source at the display scale with the frame over it. Paint only draws
// what the window prepared.
class ImageImportee : public QWidget {
 public:
  explicit ImageImportee(TImportation* fenetre, QWidget* parent);
  void montrer(const QImage* image, const QPolygon& triangle);

 protected:
  void paintEvent(QPaintEvent*) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;

 private:
  TImportation* fenetre_;
  const QImage* image_ = nullptr;
  QPolygon triangle_;
};

// The glyphs of the window's buttons, drawn here.
enum class GlypheImport { gauche, haut, bas, droite, tourner_droite, tourner_gauche, centre };
QImage glyphe_import(GlypheImport g);

class TImportation : public FenetreImport {
 public:
  explicit TImportation(QWidget* parent = nullptr);
  ~TImportation() override;

  // Loaders, as the main window calls them: ".DEM", ".TXT", ".MNT" sources,
  // and bitmaps. A rejected source shows its reason, then the window closes.
  // True when the source was read.
  bool importer_altitudes(const std::string& chemin, const param_mat& p);
  bool importer_bmp(const std::string& chemin, const param_mat& p);

  // Actions of the buttons and keys.
  void BitBtn_importClick();
  void geste(Geste g);  // the move and turn buttons
  void BitBtn_centreClick();
  void SpeedButtonzoomClick();
  void SpeedbuttonPhotoClick();
  void BitBtnAideClick();
  // The pointer at (x, y) of the shown picture: the status readout.
  void Image_importeeMouseMove(int x, int y);
  void Image_importeeClick();

  // What tests and the review read.
  const Importation& importation() const { return imp_; }
  const cadre_import& cadre() const { return imp_.cadre; }
  std::array<render::Point, 3> sommets() const { return imp_.cadre.sommets(); }
  double echelle_affichage() const { return echelle_; }
  bool photo_affichee() const { return photo_affichee_; }
  QString texte_panneau(int k) const;  // 0..4
  bool chargee() const { return imp_.chargee; }
  const QImage& image_affichee() const { return affichee_; }
  platform::WindowHandle handle() const { return handle_; }
  const ManipulationCadre& manipulation() const { return manip_; }

  // 550 pixels high at creation; the MDI area takes this size.
  QSize sizeHint() const override;

  QScrollArea* ScrollBox1;
  ImageImportee* Image_importee;
  QLabel* StatusBar_import[5];
  CtlBackPanel* CtlBackPanel1;
  CtlSpeedButton* SpeedButtonzoom;
  CtlSpeedButton* SpeedbuttonPhoto;
  CtlButton* BitBTn_rotg;
  CtlButton* BitBtn_rotd;
  CtlButton* BitBtn_Left;
  CtlButton* BitBtn_Up;
  CtlButton* BitBtn_Down;
  CtlButton* BitBtn_Right;
  CtlButton* BitBtn_centre;
  CtlScrollBar* ScrollBar_ech;
  QLabel* Label_echelle;
  CtlSpinEdit* SpinEdit_maillage;
  QScrollBar* ScrollBar_alt1;
  QScrollBar* ScrollBar_alt2;
  QLabel* Label_min;
  QLabel* Label_max;
  QLabel* Label_scale;
  QCheckBox* CB_Lissage;
  QCheckBox* checkbox_debord;
  QCheckBox* Bouton_Photo;
  CtlButton* BitBtnAide;
  CtlButton* BitBtn_Importer;

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  bool eventFilter(QObject* o, QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  // Z, P, R, T, S, E, C, F, Y and U: true when `e` was one of them, done.
  bool touche_lettre(const QKeyEvent* e);
  void construire_panneau();
  void construire_boutons();
  void construire_barres();
  void construire_reglages();
  QLabel* etiquette(const QString& texte, const QRect& r);
  void activer_commandes_source(bool actif);
  CtlButton* bouton(const QString& texte, const QRect& r, GlypheImport g);
  bool apres_lecture(const std::string& echec, const std::string& chemin, bool altitudes);
  void rejeter(const std::string& raison);
  void montrer_source();
  void preparer_image();   // the shown picture at the display scale
  void preparer_cadre();   // the triangle over it
  void fixer_echelle_affichage(double e);
  void fixer_barres_altitude();
  void ScrollBar_echScroll(int& position);
  void regler_etat_vide();

  Importation imp_;
  ManipulationCadre manip_{imp_};
  platform::WindowHandle handle_ = 0;
  render::Bitmap hauteurs_;  // the height picture; shown through a QImage without a copy
  QImage image_hauteurs_, image_photo_;
  QImage affichee_;  // the shown picture at the display scale
  double echelle_ = 1.0;
  bool photo_affichee_ = false;
};
