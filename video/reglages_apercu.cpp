// The Path page's bars, edits and frame preview, and the Creation page with
// its numbered preview movie.
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>

#include "fenetres/dossiers.h"
#include "fenetres/elements_pages.h"
#include "fenetres/operation_longue.h"
#include "fenetres/rendu.h"
#include "controls/checkbox.h"
#include "controls/combobox.h"
#include "controls/trackbar.h"
#include "model/matrice.h"
#include "platform/fichiers.h"
#include "video/creation.h"
#include "video/lecteur.h"
#include "video/reglages_video.h"

namespace {

constexpr int kAttenteOperation = 100;  // ms before a preview held back by a long operation tries again

}  // namespace

// ------------------------------------------------------------------ bars and edits

// Code 5 (the thumb moving) gives a rough preview; any other code a full one.
void TPagesDlg3::defilement(QScrollBar* barre, int code, int position) {
  if (barre == ScrollBar_dist) {
    video.distance_point_vise = position;
    Edit_dist->setText(QString::number(position));
  } else if (barre == ScrollBar_zoom) {
    video.zoom_video = position;
    Edit_zoom->setText(QString::number(position));
  } else if (barre == scrollbar_angle_Vision) {
    video.angle_vision = -position;
    Edit_angle->setText(QString::number(-position));
  }
  modifie(code == dialogs::kPouceBouge);
}

void TPagesDlg3::valeur_saisie(QLineEdit* edit) {
  auto lire = [edit](int actuelle, int min, int max) {
    const int v = reglages::valeur_saisie(edit->text().toStdString(), actuelle, min, max);
    edit->setText(QString::number(v));
    return v;
  };
  auto placer = [](QScrollBar* b, int v) {
    const QSignalBlocker bloque(b);
    b->setValue(v);
  };
  if (edit == Edit_dist) {
    video.distance_point_vise = lire(video.distance_point_vise, 10, 90);
    placer(ScrollBar_dist, video.distance_point_vise);
  } else if (edit == Edit_zoom) {
    video.zoom_video = lire(video.zoom_video, 10, 80);
    placer(ScrollBar_zoom, video.zoom_video);
  } else if (edit == Edit_angle) {
    video.angle_vision = lire(video.angle_vision, -45, 0);
    placer(scrollbar_angle_Vision, -video.angle_vision);
  }
  modifie();
}

// ------------------------------------------------------------------ frame preview

// Runs from the preview box's scheduled step, never from a paint handler. The
// rough preview renders the smaller terrain with the rough flag.
void TPagesDlg3::rendre_apercu(render::Bitmap& image) {
  if (operation_en_cours()) {
    QTimer::singleShot(kAttenteOperation, this, [this] { Image_cadrage->invalidate(); });
    return;
  }
  if (!entrees_.cameras || !apercu5_ || !apercu4_ || !palette_) return;
  const int k = reglages::image_de_position(TrackBar_Nimage->Position(), video.nombre_images);
  if (k < 1 || std::size_t(k) >= entrees_.cameras->size()) return;
  Tmatrice& terrain = grossier_ ? *apercu4_ : *apercu5_;
  const param_vue vue = reglages::vue_apercu(video, image.width(), image.height());
  render::RenderOptions options;
  options.dossier_ciels = dossiers::ciels(entrees_.dossier_programme);
  terrain.marquer_modifiee();
  dialogs::calculer_image(terrain, 0, *palette_, image, {}, vue, image.width(), image.height(), nullptr, nullptr, 0,
                          grossier_ ? 1 : 0, 0, 0, 1, (*entrees_.cameras)[std::size_t(k)], options);
}

void TPagesDlg3::aller_position(int position) {
  {
    const QSignalBlocker bloque(TrackBar_Nimage);
    TrackBar_Nimage->SetPosition(std::clamp(position, 1, reglages::kPositions));
  }
  grossier_ = false;
  rafraichir();
}

// One position per tick up to the range's last frame.
void TPagesDlg3::Timer_imageTimer() {
  const int suivante = TrackBar_Nimage->Position() + 1;
  if (suivante > video.derniere_image) {
    Timer_image.Stop();
    return;
  }
  aller_position(suivante);
  if (suivante >= video.derniere_image) Timer_image.Stop();
}

bool TPagesDlg3::eventFilter(QObject* o, QEvent* e) {
  // The end of a drag on the track bar gives the full preview.
  if (o == TrackBar_Nimage && e->type() == QEvent::MouseButtonRelease && grossier_) {
    grossier_ = false;
    Image_cadrage->invalidate();
  }
  return QDialog::eventFilter(o, e);
}

// ------------------------------------------------------------------ creation page

void TPagesDlg3::creation_saisie() {
  video.nombre_images = reglages::nombre_images_saisi(nombre_images->text().toStdString(), video.nombre_images);
  nombre_images->setText(QString::number(video.nombre_images));
  modifie();
}

void TPagesDlg3::codec_choisi() {
  video.type_video = ComboBox_CODEC->currentIndex() + 2;
  modifie();
}

std::string TPagesDlg3::chemin_film_reduit(int numero, int type) const {
  return dossiers::temporaire(entrees_.dossier_programme) + "/video" + std::to_string(numero + 10) +
         (type < 6 ? ".avi" : ".mpg");
}

void TPagesDlg3::ouvrir_film_reduit() {
  const std::string film = chemin_film_reduit(videos_[std::size_t(choisi_)].numero, video.type_video);
  if (MediaPlayer1->file_name() != film && fichier_existe(film)) MediaPlayer1->open(film);
}

// A small movie of the path with the frame numbers drawn in, played in the dialog.
void TPagesDlg3::CtlCreateClick() {
  if (!terrain_ || !entrees_.cameras || !palette_ || fabrication_) return;
  const QScopedValueRollback<bool> en_cours(fabrication_, true);
  calcule_trajectoire();
  const Param_video copie = reglages::reglages_reduits(video);
  std::vector<enregistrement_camera> reduite;
  const std::vector<enregistrement_camera>* table = entrees_.cameras;
  if (video.nombre_images > reglages::kImagesReduction) {
    reduite = reglages::table_reduite(*entrees_.cameras, copie.nombre_images);
    table = &reduite;
  }
  MediaPlayer1->close();
  film_reduit_.clear();
  {
    TCreation creation(this);
    creation.init_creation(copie, entrees_.dossier_programme, &*palette_, terrain_,
                           videos_[std::size_t(choisi_)].numero + 10);
    creation.numeros_images = true;
    creation.show();
    if (avant_fabrication) avant_fabrication(creation);
    creation.encoder_video(false, table);
    film_reduit_ = creation.film_sortie;
    creation.close();
  }
  if (!film_reduit_.empty() && fichier_existe(film_reduit_) && MediaPlayer1->open(film_reduit_)) MediaPlayer1->play();
}
