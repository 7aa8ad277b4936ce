// The Path page's bars and edits, and its frame preview with the player.
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>

#include "controls/button.h"
#include "controls/shapebutton.h"
#include "controls/trackbar.h"
#include "fenetres/elements_pages.h"
#include "fenetres/operation_longue.h"
#include "fenetres/rendu.h"
#include "model/matrice.h"
#include "render/palette.h"
#include "video/reglages_pages.h"

namespace {

constexpr int kAttenteOperation = 100;  // ms before a preview held back by a long operation tries again

}  // namespace

// ------------------------------------------------------------------ bars and edits

// Code 5 (the thumb moving) gives a rough preview; any other code a full one.
void PageTrajetVideo::defilement(QScrollBar* barre, int code, int position) {
  if (barre == ScrollBar_dist) {
    v_.distance_point_vise = position;
    Edit_dist->setText(QString::number(position));
  } else if (barre == ScrollBar_zoom) {
    v_.zoom_video = position;
    Edit_zoom->setText(QString::number(position));
  } else if (barre == scrollbar_angle_Vision) {
    v_.angle_vision = -position;
    Edit_angle->setText(QString::number(-position));
  }
  emit change(code == fenetres::kPouceBouge);
}

void PageTrajetVideo::valeur_saisie(QLineEdit* edit) {
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
    v_.distance_point_vise = lire(v_.distance_point_vise, 10, 90);
    placer(ScrollBar_dist, v_.distance_point_vise);
  } else if (edit == Edit_zoom) {
    v_.zoom_video = lire(v_.zoom_video, 10, 80);
    placer(ScrollBar_zoom, v_.zoom_video);
  } else if (edit == Edit_angle) {
    v_.angle_vision = lire(v_.angle_vision, -45, 0);
    placer(scrollbar_angle_Vision, -v_.angle_vision);
  }
  emit change(false);
}

// ------------------------------------------------------------------ frame preview

// The track bar and the player's buttons.
void PageTrajetVideo::connecter_lecture() {
  connect(TrackBar_Nimage, &CtlTrackBar::changed, this, [this] { montrer(TrackBar_Nimage->Dragging()); });
  TrackBar_Nimage->installEventFilter(this);
  connect(CtlShapeButton1, &CtlShapeButton::clicked, this, [this] {
    if (TrackBar_Nimage->Position() >= v_.derniere_image) aller_position(v_.premiere_image);
    Timer_image.Start(300);
  });
  connect(CtlShapeButton2, &CtlShapeButton::clicked, this, [this] { Timer_image.Stop(); });
  connect(first_frame, &QPushButton::clicked, this, [this] { aller_position(v_.premiere_image); });
  connect(Last_frame, &QPushButton::clicked, this, [this] { aller_position(v_.derniere_image); });
  connect(Prev_image, &QPushButton::clicked, this,
          [this] { aller_position(std::max(v_.premiere_image, TrackBar_Nimage->Position() - 1)); });
  connect(Next_image, &QPushButton::clicked, this,
          [this] { aller_position(std::min(v_.derniere_image, TrackBar_Nimage->Position() + 1)); });
}

// Runs from the preview box's scheduled step, never from a paint handler. The
// rough preview renders the smaller terrain with the rough flag.
void PageTrajetVideo::rendre_apercu(render::Bitmap& image) {
  if (operation_en_cours()) {
    QTimer::singleShot(kAttenteOperation, this, [this] { Image_cadrage->invalidate(); });
    return;
  }
  if (!c_.cameras || !c_.apercu || !c_.apercu_grossier || !c_.palette) return;
  const int k = reglages::image_de_position(TrackBar_Nimage->Position(), v_.nombre_images);
  if (k < 1 || std::size_t(k) >= c_.cameras->size()) return;
  Tmatrice& terrain = grossier_ ? *c_.apercu_grossier : *c_.apercu;
  const param_vue vue = reglages::vue_apercu(v_, image.width(), image.height());
  render::RenderOptions options;
  options.dossier_ciels = c_.dossier_ciels;
  terrain.marquer_modifiee();
  fenetres::calculer_image(terrain, 0, *c_.palette, image, {}, vue, image.width(), image.height(), nullptr, nullptr, 0,
                          grossier_ ? 1 : 0, 0, 0, 1, (*c_.cameras)[std::size_t(k)], options);
}

void PageTrajetVideo::aller_position(int position) {
  {
    const QSignalBlocker bloque(TrackBar_Nimage);
    TrackBar_Nimage->SetPosition(std::clamp(position, 1, reglages::kPositions));
  }
  montrer(false);
}

// One position per tick up to the range's last frame.
void PageTrajetVideo::Timer_imageTimer() {
  const int suivante = TrackBar_Nimage->Position() + 1;
  if (suivante > v_.derniere_image) {
    Timer_image.Stop();
    return;
  }
  aller_position(suivante);
  if (suivante >= v_.derniere_image) Timer_image.Stop();
}

bool PageTrajetVideo::eventFilter(QObject* o, QEvent* e) {
  // The end of a drag on the track bar gives the full preview.
  if (o == TrackBar_Nimage && e->type() == QEvent::MouseButtonRelease && grossier_) {
    grossier_ = false;
    Image_cadrage->invalidate();
  }
  return QWidget::eventFilter(o, e);
}
