// The "Size" page of the video settings: four frame formats or a typed size,
// and the view's picture fitted into a box of the frame's aspect.
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>

#include "fenetres/rendu.h"
#include "model/aleatoire.h"
#include "video/reglages_pages.h"
#include "video/reglages_textes.h"

namespace T = textes_reglages;
using textes_reglages::Q;

void ImageReglages::paintEvent(QPaintEvent*) {
  fenetres::MarqueurPeinture marqueur;
  QPainter p(this);
  if (peindre) peindre(p);
}

PageTailleVideo::PageTailleVideo(QWidget* parent) : QWidget(parent) {
  auto* l = new QHBoxLayout(this);
  auto* boite = new QGroupBox(Q(T::kTaille), this);
  auto* g = new QGridLayout(boite);
  auto* groupe = new QButtonGroup(boite);
  const std::pair<QRadioButton**, reglages::Format> formats[] = {
      {&RadioButton_320x, reglages::Format::f320}, {&RadioButton_640x, reglages::Format::f640},
      {&RadioButton_800x, reglages::Format::f800}, {&RadioButton_800_16_9, reglages::Format::f800_16_9},
      {&RadioButton_autre, reglages::Format::autre}};
  const char* textes[] = {T::k320, T::k640, T::k800, T::k800_16_9, T::kAutre};
  const char* noms[] = {"RadioButton_320x", "RadioButton_640x", "RadioButton_800x", "RadioButton_800_16_9",
                        "RadioButton_autre"};
  int rang = 0;
  for (const auto& [r, f] : formats) {
    *r = new QRadioButton(Q(textes[rang]), boite);
    (*r)->setObjectName(noms[rang]);
    groupe->addButton(*r);
    g->addWidget(*r, rang++, 0, 1, 2);
    connect(*r, &QRadioButton::clicked, this, [this, f = f] { format_choisi(f); });
  }
  Edit_Xmax = new QLineEdit(boite);
  Edit_Xmax->setObjectName("Edit_Xmax");
  Edit_Ymax = new QLineEdit(boite);
  Edit_Ymax->setObjectName("Edit_Ymax");
  g->addWidget(new QLabel(Q(T::kLargeur), boite), rang, 0);
  g->addWidget(Edit_Xmax, rang++, 1);
  g->addWidget(new QLabel(Q(T::kHauteur), boite), rang, 0);
  g->addWidget(Edit_Ymax, rang++, 1);
  g->setRowStretch(rang, 1);
  l->addWidget(boite);
  Image_echelle = new ImageReglages(this);
  Image_echelle->setObjectName("Image_echelle");
  Image_echelle->setFixedSize(320, 240);
  Image_echelle->peindre = [this](QPainter& p) {
    p.fillRect(Image_echelle->rect(), palette().color(QPalette::Window));
    p.drawImage((Image_echelle->width() - image_echelle_.width()) / 2,
                (Image_echelle->height() - image_echelle_.height()) / 2, image_echelle_);
  };
  l->addWidget(Image_echelle, 0, Qt::AlignTop);
  l->addStretch(1);
  connect(Edit_Xmax, &QLineEdit::editingFinished, this, [this] { taille_saisie(); });
  connect(Edit_Ymax, &QLineEdit::editingFinished, this, [this] { taille_saisie(); });
}

void PageTailleVideo::charger(const Param_video& v, const QImage& vue) {
  largeur_ = v.largeur_image;
  hauteur_ = v.hauteur_image;
  vue_ = vue;
  const reglages::Format f = reglages::format_image(largeur_, hauteur_);
  QRadioButton* r = f == reglages::Format::f320        ? RadioButton_320x
                    : f == reglages::Format::f640      ? RadioButton_640x
                    : f == reglages::Format::f800      ? RadioButton_800x
                    : f == reglages::Format::f800_16_9 ? RadioButton_800_16_9
                                                       : RadioButton_autre;
  {
    const QSignalBlocker b(r);
    r->setChecked(true);
  }
  Edit_Xmax->setText(QString::number(largeur_));
  Edit_Ymax->setText(QString::number(hauteur_));
  Edit_Xmax->setEnabled(f == reglages::Format::autre);
  Edit_Ymax->setEnabled(f == reglages::Format::autre);
  preparer_echelle();
}

void PageTailleVideo::ranger(Param_video& v) const {
  v.largeur_image = largeur_;
  v.hauteur_image = hauteur_;
}

void PageTailleVideo::format_choisi(reglages::Format f) {
  const bool autre = f == reglages::Format::autre;
  Edit_Xmax->setEnabled(autre);
  Edit_Ymax->setEnabled(autre);
  if (!autre) {
    reglages::taille_format(f, largeur_, hauteur_);
    Edit_Xmax->setText(QString::number(largeur_));
    Edit_Ymax->setText(QString::number(hauteur_));
  }
  preparer_echelle();
  emit change();
}

void PageTailleVideo::taille_saisie() {
  largeur_ = reglages::largeur_saisie(Edit_Xmax->text().toStdString(), largeur_);
  hauteur_ = reglages::hauteur_saisie(Edit_Ymax->text().toStdString(), hauteur_);
  Edit_Xmax->setText(QString::number(largeur_));
  Edit_Ymax->setText(QString::number(hauteur_));
  preparer_echelle();
  emit change();
}

// The view's picture fitted into a box of the frame's aspect (grey without a picture).
void PageTailleVideo::preparer_echelle() {
  const double l = std::max(1, largeur_), h = std::max(1, hauteur_);
  const double rapport = std::clamp(h / l, 0.05, 20.0);
  const int bl = Image_echelle->width(), bh = Image_echelle->height();
  QSize boite(bl, Round(bl * rapport));
  if (boite.height() > bh) boite = QSize(std::max(1, Round(bh / rapport)), bh);
  boite = boite.expandedTo(QSize(1, 1));
  image_echelle_ = QImage(boite, QImage::Format_RGB32);
  image_echelle_.fill(QColor(160, 160, 160));
  if (!vue_.isNull()) {
    QPainter p(&image_echelle_);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(image_echelle_.rect(), vue_);
  }
  Image_echelle->update();
}
