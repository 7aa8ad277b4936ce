// The "Creation" page of the video settings: codec, detailed parameters,
// frame count and frame labels, and the small numbered preview movie.
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "controls/checkbox.h"
#include "controls/combobox.h"
#include "controls/shapebutton.h"
#include "fenetres/dossiers.h"
#include "platform/fichiers.h"
#include "platform/vidconv/indeo3.h"
#include "video/codecs_video.h"
#include "video/creation.h"
#include "video/lecteur.h"
#include "video/reglages_pages.h"
#include "video/reglages_textes.h"

namespace T = textes_reglages;
using textes_reglages::Q;

PageCreationVideo::PageCreationVideo(QWidget* parent) : QWidget(parent) {
  auto* h = new QHBoxLayout(this);
  auto* g = new QGridLayout;
  int rang = 0;
  g->addWidget(new QLabel(Q(T::kCodec), this), rang++, 0);
  ComboBox_CODEC = new CtlImageComboBox(this);
  ComboBox_CODEC->setObjectName("ComboBox_CODEC");
  ComboBox_CODEC->SetDefaultItem(-1);
  for (const CodecVideo& c : codecs_video()) {
    ComboBox_CODEC->addItem(Q(c.ligne));
    const std::string indice = indice_codec(c.type);
    if (!indice.empty())
      ComboBox_CODEC->setItemData(ComboBox_CODEC->count() - 1, QString::fromStdString(indice), Qt::ToolTipRole);
  }
  ComboBox_CODEC->setMinimumWidth(280);
  g->addWidget(ComboBox_CODEC, rang++, 0, 1, 2);
  Details = new CtlCheckBox(this);
  Details->setObjectName("Details");
  Details->SetCaption(Q(T::kDetails));
  Details->setFixedHeight(22);
  g->addWidget(Details, rang++, 0, 1, 2);
  g->addWidget(new QLabel(Q(T::kNombreImages), this), rang, 0);
  nombre_images = new QLineEdit(this);
  nombre_images->setObjectName("nombre_images");
  nombre_images->setFixedWidth(70);
  g->addWidget(nombre_images, rang++, 1);
  const std::pair<QLabel**, const char*> labels[] = {{&label_premiere, "label_premiere"},
                                                     {&label_derniere, "label_derniere"},
                                                     {&label_generees, "label_generees"},
                                                     {&label_duree, "label_duree"}};
  for (const auto& [l, nom] : labels) {
    *l = new QLabel(this);
    (*l)->setObjectName(nom);
    g->addWidget(*l, rang++, 0, 1, 2);
  }
  CtlCreate = new CtlShapeButton(this);
  CtlCreate->setObjectName("CtlCreate");
  CtlCreate->Shape().SetShape(stRoundRect);
  CtlCreate->SetCaption(Q(T::kVideoReduite));
  CtlCreate->setFixedSize(180, 30);
  g->addWidget(CtlCreate, rang++, 0, 1, 2);
  // Under the last control, so that nothing moves when it shows.
  label_indeo = new QLabel(Q(T::kIndeo), this);
  label_indeo->setObjectName("label_indeo");
  label_indeo->setWordWrap(true);
  g->addWidget(label_indeo, rang++, 0, 1, 2);
  g->setRowStretch(rang, 1);
  h->addLayout(g);
  auto* film = new QVBoxLayout;
  ecran_film = new AffichageFilm(this);
  ecran_film->setFixedSize(220, 170);
  ecran_film->setAutoFillBackground(true);
  QPalette noir = ecran_film->palette();
  noir.setColor(QPalette::Window, Qt::black);
  ecran_film->setPalette(noir);
  film->addWidget(ecran_film);
  MediaPlayer1 = new MoviePlayer(ecran_film, this);
  MediaPlayer1->setObjectName("MediaPlayer1");
  film->addWidget(MediaPlayer1);
  film->addStretch(1);
  h->addLayout(film);
  h->addStretch(1);

  connect(ComboBox_CODEC, &CtlComboBox::changed, this, [this] {
    const int k = ComboBox_CODEC->currentIndex();
    if (k >= 0 && k < int(codecs_video().size())) v_.type_video = codecs_video()[std::size_t(k)].type;
    etiquettes();
    emit change();
  });
  connect(Details, &CtlCheckBox::changed, this, [this] { v_.detail = Details->Checked() ? 1 : 0; });
  connect(nombre_images, &QLineEdit::editingFinished, this, [this] {
    v_.nombre_images = reglages::nombre_images_saisi(nombre_images->text().toStdString(), v_.nombre_images);
    nombre_images->setText(QString::number(v_.nombre_images));
    etiquettes();
    emit change();
  });
  connect(CtlCreate, &CtlShapeButton::clicked, this, [this] { CtlCreateClick(); });
}

void PageCreationVideo::charger(const Param_video& v, const ContexteFilm& c) {
  v_ = v;
  c_ = c;
  {
    const QSignalBlocker b(ComboBox_CODEC);
    ComboBox_CODEC->setCurrentIndex(rang_codec(v_.type_video));
  }
  {
    const QSignalBlocker b(Details);
    Details->SetChecked(v_.detail != 0);
  }
  nombre_images->setText(QString::number(v_.nombre_images));
  etiquettes();
}

void PageCreationVideo::ranger(Param_video& v) const {
  v.type_video = v_.type_video;
  v.detail = v_.detail;
  v.nombre_images = v_.nombre_images;
}

void PageCreationVideo::etiquettes() {
  const reglages::Etiquettes e = reglages::etiquettes_creation(v_.nombre_images, v_.premiere_image, v_.derniere_image);
  label_premiere->setText(Q(T::kPremiereImage) + QString::number(e.premiere));
  label_derniere->setText(Q(T::kDerniereImage) + QString::number(e.derniere));
  label_generees->setText(Q(T::kImagesGenerees) + QString::number(e.generees));
  label_duree->setText(Q(T::kDuree) + QString::number(e.duree));
  indication_codec();
}

// Indeo 3.2 holds only some frame sizes: the codec line's hint says so, and
// the line under it gives the size these frames are coded at when it differs.
void PageCreationVideo::indication_codec() {
  const bool indeo = codec_indeo(v_.type_video);
  ComboBox_CODEC->setToolTip(indeo ? Q(T::kIndeo) : QString());
  label_indeo->setVisible(indeo);
  if (!indeo) return;
  QString texte = Q(T::kIndeo);
  const auto taille = platform::vcv::iv32_size(v_.largeur_image, v_.hauteur_image);
  if (taille && !platform::vcv::iv32_holds(v_.largeur_image, v_.hauteur_image))
    texte += QStringLiteral("\n%1%2 x %3").arg(Q(T::kIndeoTaille)).arg(taille->width).arg(taille->height);
  label_indeo->setText(texte);
}

// Turning to the page opens the preview movie of an earlier making.
void PageCreationVideo::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  ouvrir_film_reduit();
}

// Closing the dialog closes the movie; turning to another page does not.
void PageCreationVideo::hideEvent(QHideEvent* e) {
  if (!isHidden()) MediaPlayer1->close();
  QWidget::hideEvent(e);
}

void PageCreationVideo::ouvrir_film_reduit() {
  if (c_.dossier_programme.empty()) return;
  const std::string film = dossiers::temporaire(c_.dossier_programme) + "/video" + std::to_string(c_.numero + 10) +
                           extension_film(v_.type_video);
  if (MediaPlayer1->file_name() != film && fichier_existe(film)) MediaPlayer1->open(film);
}

// A small movie of the path with the frame numbers drawn in, played in the page.
void PageCreationVideo::CtlCreateClick() {
  if (!c_.terrain || !c_.cameras || !c_.palette || fabrication_) return;
  const QScopedValueRollback<bool> en_cours(fabrication_, true);
  emit calcul_demande();
  const Param_video copie = reglages::reglages_reduits(v_);
  std::vector<enregistrement_camera> reduite;
  const std::vector<enregistrement_camera>* table = c_.cameras;
  if (v_.nombre_images > reglages::kImagesReduction) {
    reduite = reglages::table_reduite(*c_.cameras, copie.nombre_images);
    table = &reduite;
  }
  MediaPlayer1->close();
  film_reduit_.clear();
  {
    TCreation creation(this);
    creation.init_creation(copie, c_.dossier_programme, c_.palette, c_.terrain, c_.numero + 10);
    creation.numeros_images = true;
    creation.show();
    creation.encoder_video(false, table);
    film_reduit_ = creation.film_sortie;
    creation.close();
  }
  if (!film_reduit_.empty() && fichier_existe(film_reduit_) && MediaPlayer1->open(film_reduit_)) MediaPlayer1->play();
}
