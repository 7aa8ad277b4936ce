// The window of one video: makes its movie through the "Video making" window
// when it has none, shows it in its player, opens it in the desktop's movie
// player, and passes "Duplicate the video" and "Adjustements ..." to the
// main window as requests.
#pragma once

#include <QRect>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

#include "fenetres/fenetres.h"
#include "render/palette.h"

class AffichageFilm;
class CtlShapeButton;
class MoviePlayer;
class QAction;
class QLabel;
class QMenu;
class TCreation;

// Where a child window of `fenetre` goes in an area of size `zone`: moved
// left and up, and made smaller only when the area is, until it lies wholly
// inside.
QRect placer_dans_zone(const QRect& fenetre, const QSize& zone);

class TVideowindow : public FenetreVideo {
  Q_OBJECT
 public:
  explicit TVideowindow(QWidget* parent = nullptr);
  ~TVideowindow() override;

  void init_video(platform::WindowHandle proprietaire, const Param_video& p, Tmatrice* terrain,
                  const std::string& film, const std::string& dossier_programme) override;
  void generer_video() override;
  void regenerer_video() override;
  void Informations1Click() override;
  void Detailles1Click();
  void Dupliquer1Click();
  void Rglages1Click();
  void PlayClick();

  // Opens a file in the desktop's player; false when no player took it
  // (replaced by tests).
  std::function<bool(const std::string&)> ouvrir_externe;
  // Called with the making window before its making starts (review, tests).
  std::function<void(TCreation&)> avant_fabrication;

  MoviePlayer* lecteur() const { return lecteur_; }
  QLabel* status() const { return status_; }
  // The pop-up item of that caption, or null (tests).
  QAction* element(const QString& caption) const;
  bool fabrication() const { return fabrication_; }
  int hauteur_panneau() const;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void changeEvent(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  void dimensionner(int marge);
  void disposer();
  void ouvrir_film();

  Tmatrice* terrain_ = nullptr;
  std::string dossier_programme_;
  std::optional<TMyPalette> palette_;
  int largeur_ = 0, hauteur_ = 0;
  bool fabrication_ = false;  // a movie is being made
  QWidget* Panel1 = nullptr;
  QWidget* Panel2 = nullptr;
  AffichageFilm* Image1 = nullptr;
  MoviePlayer* lecteur_ = nullptr;
  CtlShapeButton* Play = nullptr;
  QLabel* status_ = nullptr;
  QMenu* menu_ = nullptr;
  QAction* Detailles1_ = nullptr;  // "Detailed Parameters", checked while the video is detailed
  QTimer ouverture_;
};
