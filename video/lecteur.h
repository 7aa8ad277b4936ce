// The movie player of the video window: a display that shows one frame of a
// movie at its own size, centred, in the proportions the movie is meant to be
// seen at (a disc movie's pixels are not square), and a strip of buttons (play, pause, stop,
// next, previous, step, back). Frames come from the movie reader; playing
// follows the movie's frame rate and drops frames to keep time.
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <string>

#include "platform/vidconv/lecteur_film.h"

class QToolButton;

// Where the player draws: paints the prepared frame, nothing else.
class AffichageFilm : public QWidget {
 public:
  using QWidget::QWidget;
  // The frame and the size it is shown at (its own size when empty).
  void montrer(const QImage& image, QSize taille = {});
  void vider();
  const QImage& image() const { return image_; }
  QSize taille_image() const { return taille_; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  QImage image_;
  QSize taille_;
};

// Why the movie at `chemin` cannot be played, in words that follow "cannot be
// read: "; empty when it can, and when the movie module cannot be loaded (no
// movie can then be judged, and the player says why when it opens one).
std::string raison_film_illisible(const std::string& chemin);

// The size a frame of w x h stored pixels is shown at: as wide as its pixels'
// aspect makes it, as high as it is.
QSize taille_affichage(int largeur, int hauteur, double aspect_pixel);

class MoviePlayer : public QWidget {
  Q_OBJECT
 public:
  MoviePlayer(AffichageFilm* affichage, QWidget* parent = nullptr);

  // Opens the movie and shows its first frame; false (player empty) when it
  // cannot be read.
  bool open(const std::string& chemin);
  void close();
  const std::string& file_name() const { return fichier_; }
  bool is_open() const { return lecteur_.is_open(); }
  int position() const { return position_; }
  int frame_count() const { return lecteur_.frame_count(); }
  bool playing() const { return lecture_.isActive(); }

  void play();
  void pause();
  void stop();
  void next();
  void previous();
  void step();
  void back();

  // The playing timer, for tests that step it by hand.
  QTimer& minuterie() { return lecture_; }
  void avancer_lecture();

 private:
  void montrer(int k);
  QToolButton* bouton(const QString& nom, const QString& texte, void (MoviePlayer::*action)());

  AffichageFilm* affichage_;
  platform::vcv::MovieReader lecteur_;
  std::string fichier_;
  int position_ = 0;
  QTimer lecture_;
  QElapsedTimer horloge_;
  int depart_lecture_ = 0;
};
