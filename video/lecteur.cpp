#include "video/lecteur.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QToolButton>
#include <algorithm>
#include <cmath>

#include "model/interfaces.h"
#include "platform/arrondi.h"
#include "platform/vidconv/chargeur_film.h"

void AffichageFilm::montrer(const QImage& image, QSize taille) {
  image_ = image;
  taille_ = taille.isEmpty() ? image.size() : taille;
  update();
}

void AffichageFilm::vider() {
  image_ = QImage();
  taille_ = QSize();
  update();
}

QSize taille_affichage(int largeur, int hauteur, double aspect_pixel) {
  if (!(aspect_pixel > 0)) aspect_pixel = 1;
  return QSize(std::max(1, Round(std::min(largeur * aspect_pixel, 1e6))), hauteur);
}

std::string raison_film_illisible(const std::string& chemin) {
  platform::vcv::MovieReader lecteur;
  if (lecteur.open(chemin) || !platform::vcv::movie_module_error().empty()) return {};
  return lecteur.error();
}

void AffichageFilm::paintEvent(QPaintEvent*) {
  if (image_.isNull()) return;
  QPainter p(this);
  // A frame larger than the display (a window kept inside a small main
  // window) is shown whole, smaller.
  QSize taille = taille_;
  if (taille.width() > width() || taille.height() > height()) taille.scale(size(), Qt::KeepAspectRatio);
  p.drawImage(QRect(QPoint((width() - taille.width()) / 2, (height() - taille.height()) / 2), taille), image_);
}

MoviePlayer::MoviePlayer(AffichageFilm* affichage, QWidget* parent) : QWidget(parent), affichage_(affichage) {
  auto* rangee = new QHBoxLayout(this);
  rangee->setContentsMargins(0, 0, 0, 0);
  rangee->setSpacing(1);
  rangee->addWidget(bouton("play", QStringLiteral("\u25B6"), &MoviePlayer::play));
  rangee->addWidget(bouton("pause", QStringLiteral("\u2016"), &MoviePlayer::pause));
  rangee->addWidget(bouton("stop", QStringLiteral("\u25A0"), &MoviePlayer::stop));
  rangee->addWidget(bouton("next", QStringLiteral(">>|"), &MoviePlayer::next));
  rangee->addWidget(bouton("previous", QStringLiteral("|<<"), &MoviePlayer::previous));
  rangee->addWidget(bouton("step", QStringLiteral(">|"), &MoviePlayer::step));
  rangee->addWidget(bouton("back", QStringLiteral("|<"), &MoviePlayer::back));
  connect(&lecture_, &QTimer::timeout, this, &MoviePlayer::avancer_lecture);
}

QToolButton* MoviePlayer::bouton(const QString& nom, const QString& texte, void (MoviePlayer::*action)()) {
  auto* b = new QToolButton(this);
  b->setObjectName(nom);
  b->setText(texte);
  b->setToolTip(nom.left(1).toUpper() + nom.mid(1));
  b->setFixedSize(26, 22);
  b->setFocusPolicy(Qt::NoFocus);
  connect(b, &QToolButton::clicked, this, action);
  return b;
}

bool MoviePlayer::open(const std::string& chemin) {
  close();
  if (!lecteur_.open(chemin)) {
    // Without the movie module no movie plays; say why rather than show nothing.
    if (const std::string e = platform::vcv::movie_module_error(); !e.empty()) warn(e, "Video ");
    return false;
  }
  fichier_ = chemin;
  montrer(0);
  return true;
}

void MoviePlayer::close() {
  lecture_.stop();
  lecteur_.close();
  fichier_.clear();
  position_ = 0;
  affichage_->vider();
}

void MoviePlayer::montrer(int k) {
  if (!lecteur_.is_open()) return;
  k = std::clamp(k, 0, lecteur_.frame_count() - 1);
  std::vector<std::uint32_t> pixels;
  if (!lecteur_.read(k, pixels)) return;
  position_ = k;
  const QImage vue(reinterpret_cast<const uchar*>(pixels.data()), lecteur_.width(), lecteur_.height(),
                   lecteur_.width() * 4, QImage::Format_RGB32);
  affichage_->montrer(vue.copy(), taille_affichage(lecteur_.width(), lecteur_.height(), lecteur_.sample_aspect()));
}

void MoviePlayer::play() {
  if (!lecteur_.is_open()) return;
  if (position_ >= lecteur_.frame_count() - 1) montrer(0);
  depart_lecture_ = position_;
  horloge_.start();
  lecture_.start(std::max(1, int(1000.0 / lecteur_.frame_rate())));
}

// While playing the frame shown is the one the clock has reached.
void MoviePlayer::avancer_lecture() {
  if (!lecteur_.is_open()) return lecture_.stop();
  const int cible = depart_lecture_ + int(std::floor(horloge_.elapsed() * lecteur_.frame_rate() / 1000.0));
  const int fin = lecteur_.frame_count() - 1;
  montrer(std::min(std::max(cible, position_ + 1), fin));
  if (position_ >= fin) lecture_.stop();
}

void MoviePlayer::pause() { lecture_.stop(); }
void MoviePlayer::stop() { lecture_.stop(); }
void MoviePlayer::next() {
  lecture_.stop();
  montrer(lecteur_.frame_count() - 1);
}
void MoviePlayer::previous() {
  lecture_.stop();
  montrer(0);
}
void MoviePlayer::step() {
  lecture_.stop();
  montrer(position_ + 1);
}
void MoviePlayer::back() {
  lecture_.stop();
  montrer(position_ - 1);
}
