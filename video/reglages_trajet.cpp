// The "Path" page of the video settings: its controls, loading a video,
// computing the path and showing the result. The two editors are in
// reglages_dessins.cpp, the bars, edits and frame preview in reglages_apercu.cpp.
#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "controls/button.h"
#include "controls/checkbox.h"
#include "controls/shapebutton.h"
#include "controls/trackbar.h"
#include "fenetres/elements_pages.h"
#include "model/aleatoire.h"
#include "model/interfaces.h"
#include "video/reglages_editeurs.h"
#include "video/reglages_pages.h"
#include "video/reglages_textes.h"

namespace T = textes_reglages;
using textes_reglages::Q;

namespace {

template <class W>
W* nomme(W* w, const char* nom) {
  w->setObjectName(nom);
  return w;
}

}  // namespace

PageTrajetVideo::PageTrajetVideo(QWidget* parent)
    : QWidget(parent), Timer_image([this] { Timer_imageTimer(); }) {
  altitude_.largeur = reglages::kLargeurElevation;
  altitude_.hauteur = reglages::kHauteurElevation;
  auto* g = new QGridLayout(this);
  auto* gauche = new QVBoxLayout;
  auto* label_points = nomme(new QLabel(this), "label_points");  // "N= " + count
  Trace_Trajectoire = nomme(new EditeurTrajet(this, v_, dessin_, c_.fond, label_points), "Trace_Trajectoire");
  gauche->addWidget(Trace_Trajectoire);
  gauche->addWidget(label_points);
  gauche->addStretch(1);
  g->addLayout(gauche, 0, 0);
  g->addLayout(construire_outils(), 0, 1);
  g->addLayout(construire_apercu(), 0, 2);
  g->addLayout(construire_altitudes(), 1, 0, 1, 2);
  g->addLayout(construire_barres(), 1, 2);
  connecter();
}

PageTrajetVideo::~PageTrajetVideo() = default;

// Path kind, circle tools and the fixed target.
QLayout* PageTrajetVideo::construire_outils() {
  auto* milieu = new QVBoxLayout;
  auto* genres = new QButtonGroup(this);
  type_trajectoire_1 = nomme(new QRadioButton(Q(T::kCercle), this), "type_trajectoire_1");
  type_trajectoire_2 = nomme(new QRadioButton(Q(T::kOuvert), this), "type_trajectoire_2");
  type_trajectoire_3 = nomme(new QRadioButton(Q(T::kFerme), this), "type_trajectoire_3");
  int k = 1;
  for (QRadioButton* r : {type_trajectoire_1, type_trajectoire_2, type_trajectoire_3}) {
    genres->addButton(r, k++);
    milieu->addWidget(r);
  }
  Creer_trajectoire = nomme(new CtlButton(this), "Creer_trajectoire");
  Creer_trajectoire->setText(Q(T::kCreerTrajet));
  Creer_trajectoire->setFixedHeight(26);
  milieu->addWidget(Creer_trajectoire);
  milieu->addSpacing(8);
  auto* outils = new QButtonGroup(this);
  radio_redim = nomme(new QRadioButton(Q(T::kTailleCercle), this), "radio_redim");
  Radio_cercle = nomme(new QRadioButton(Q(T::kBougerCercle), this), "Radio_cercle");
  Radio_pt = nomme(new QRadioButton(Q(T::kBougerCible), this), "Radio_pt");
  for (QRadioButton* r : {radio_redim, Radio_cercle, Radio_pt}) {
    outils->addButton(r);
    milieu->addWidget(r);
  }
  radio_redim->setChecked(true);
  pt_vise_fixe = nomme(new CtlCheckBox(this), "pt_vise_fixe");
  pt_vise_fixe->SetCaption(Q(T::kCibleFixe));
  pt_vise_fixe->setFixedHeight(22);
  milieu->addWidget(pt_vise_fixe);
  milieu->addStretch(1);
  return milieu;
}

// The frame preview, its track bar and the player buttons.
QLayout* PageTrajetVideo::construire_apercu() {
  auto* droite = new QVBoxLayout;
  Image_cadrage = nomme(new fenetres::PreviewBox(this, 280, 210), "Image_cadrage");
  Image_cadrage->setFixedSize(280, 210);
  Image_cadrage->fixer_rendu([this](render::Bitmap& b) { rendre_apercu(b); });
  droite->addWidget(Image_cadrage);
  label_image = nomme(new QLabel(this), "label_image");
  droite->addWidget(label_image);
  TrackBar_Nimage = nomme(new CtlTrackBar(this), "TrackBar_Nimage");
  TrackBar_Nimage->SetMinValue(1);
  TrackBar_Nimage->SetMaxValue(reglages::kPositions);
  TrackBar_Nimage->setFixedSize(280, 32);
  droite->addWidget(TrackBar_Nimage);
  auto* boutons = new QHBoxLayout;
  auto bouton = [this, boutons](const char* texte, const char* nom) {
    auto* b = nomme(new CtlButton(this), nom);
    b->setText(Q(texte));
    b->setFixedSize(34, 24);
    boutons->addWidget(b);
    return b;
  };
  auto forme = [this, boutons](const char* texte, const char* nom) {
    auto* b = nomme(new CtlShapeButton(this), nom);
    b->Shape().SetShape(stRoundRect);
    b->SetCaption(Q(texte));
    b->setFixedSize(44, 24);
    boutons->addWidget(b);
    return b;
  };
  first_frame = bouton("|<", "first_frame");
  Prev_image = bouton("<", "Prev_image");
  CtlShapeButton1 = forme(">", "CtlShapeButton1");
  CtlShapeButton2 = forme("||", "CtlShapeButton2");
  Next_image = bouton(">", "Next_image");
  Last_frame = bouton(">|", "Last_frame");
  boutons->addStretch(1);
  droite->addLayout(boutons);
  droite->addStretch(1);
  return droite;
}

// The altitude editor.
QLayout* PageTrajetVideo::construire_altitudes() {
  auto* profil = new QVBoxLayout;
  profil->addWidget(new QLabel(Q(T::kAltitudes), this));
  Image_elevation = nomme(new EditeurAltitudes(this, v_, dessin_), "Image_elevation");
  profil->addWidget(Image_elevation);
  auto* sous = new QHBoxLayout;
  label_altmax = nomme(new QLabel(this), "label_altmax");
  sous->addWidget(label_altmax);
  sous->addStretch(1);
  button_obs = nomme(new CtlButton(this), "button_obs");
  button_obs->setText(Q(T::kObservateur));
  button_reset = nomme(new CtlButton(this), "button_reset");
  button_reset->setText(Q(T::kRemiseAZero));
  for (CtlButton* b : {button_obs, button_reset}) {
    b->setFixedSize(110, 24);
    sous->addWidget(b);
  }
  profil->addLayout(sous);
  return profil;
}

// Distance, zoom and vision angle.
QLayout* PageTrajetVideo::construire_barres() {
  auto* barres = new QGridLayout;
  auto barre = [&](int rang, const char* texte, int min, int max, QScrollBar*& b, QLineEdit*& e, const char* nb,
                   const char* ne) {
    b = nomme(fenetres::barre_defilement(this, Qt::Horizontal, min, max, 1, 5, nullptr), nb);
    b->setFixedWidth(170);
    e = nomme(new QLineEdit(this), ne);
    e->setFixedWidth(50);
    barres->addWidget(new QLabel(Q(texte), this), rang, 0);
    barres->addWidget(b, rang, 1);
    barres->addWidget(e, rang, 2);
  };
  barre(0, T::kDistance, 10, 90, ScrollBar_dist, Edit_dist, "ScrollBar_dist", "Edit_dist");
  barre(1, T::kZoom, 10, 80, ScrollBar_zoom, Edit_zoom, "ScrollBar_zoom", "Edit_zoom");
  barre(2, T::kAngle, 0, 45, scrollbar_angle_Vision, Edit_angle, "scrollbar_angle_Vision", "Edit_angle");
  barres->setRowStretch(3, 1);
  return barres;
}

// Handlers are connected last, after every control exists.
void PageTrajetVideo::connecter() {
  connect(type_trajectoire_1, &QRadioButton::clicked, this, [this] { type_choisi(1); });
  connect(type_trajectoire_2, &QRadioButton::clicked, this, [this] { type_choisi(2); });
  connect(type_trajectoire_3, &QRadioButton::clicked, this, [this] { type_choisi(3); });
  connect(Creer_trajectoire, &QPushButton::clicked, Trace_Trajectoire, &EditeurTrajet::creer);
  const std::pair<QRadioButton*, EditeurTrajet::Outil> outils[] = {{radio_redim, EditeurTrajet::Outil::taille},
                                                                   {Radio_cercle, EditeurTrajet::Outil::centre},
                                                                   {Radio_pt, EditeurTrajet::Outil::cible}};
  for (const auto& [r, o] : outils)
    connect(r, &QRadioButton::toggled, this, [this, o = o](bool oui) {
      if (oui) Trace_Trajectoire->fixer_outil(o);
    });
  connect(Trace_Trajectoire, &EditeurTrajet::change, this, &PageTrajetVideo::change);
  connect(Image_elevation, &EditeurAltitudes::change, this, &PageTrajetVideo::change);
  // The computation sets the dragged marker's altitude; on circle and closed
  // paths the first and last altitudes stay equal.
  connect(Image_elevation, &EditeurAltitudes::altitude_tiree, this, [this](int i, int y) {
    altitude_.point_tire = i;
    altitude_.y_tire = y;
    calculer(v_);
    altitude_.point_tire = 0;
    if (v_.type_trajectoire != 2 && (i == 1 || i == 7)) {
      const std::int32_t a = v_.bezier_altitude[std::size_t(i - 1)];
      v_.bezier_altitude[0] = v_.bezier_altitude[6] = a;
    }
    emit change(false);
  });
  connect(pt_vise_fixe, &CtlCheckBox::changed, this, [this] {
    v_.point_vise_fixe = pt_vise_fixe->Checked() ? 1 : 0;
    activer();
    emit change(false);
  });
  connect(button_obs, &QPushButton::clicked, this, [this] {
    v_.bezier_altitude.fill(Round(std::min(c_.sommet, 1e9)));
    emit change(false);
  });
  connect(button_reset, &QPushButton::clicked, this, [this] {
    v_.premiere_image = 1;
    v_.derniere_image = reglages::kPositions;
    emit change(false);
  });
  const std::pair<QScrollBar*, QLineEdit*> barres[] = {
      {ScrollBar_dist, Edit_dist}, {ScrollBar_zoom, Edit_zoom}, {scrollbar_angle_Vision, Edit_angle}};
  for (const auto& [b, e] : barres) {
    QScrollBar* barre = b;
    connect(b->findChild<fenetres::AdaptateurDefilement*>(), &fenetres::AdaptateurDefilement::defilement, this,
            [this, barre](int code, int position) { defilement(barre, code, position); });
    QLineEdit* edit = e;
    connect(e, &QLineEdit::editingFinished, this, [this, edit] { valeur_saisie(edit); });
  }
  connecter_lecture();
}

void PageTrajetVideo::charger(const Param_video& v, const ContexteTrajet& c) {
  v_ = v;
  c_ = c;
  Trace_Trajectoire->charger();
  QRadioButton* genre = v_.type_trajectoire == 2   ? type_trajectoire_2
                        : v_.type_trajectoire == 3 ? type_trajectoire_3
                                                   : type_trajectoire_1;
  auto sans_signal = [](QObject* o, auto&& f) {
    const QSignalBlocker b(o);
    f();
  };
  sans_signal(genre, [genre] { genre->setChecked(true); });
  sans_signal(pt_vise_fixe, [this] { pt_vise_fixe->SetChecked(v_.point_vise_fixe != 0); });
  const int dist = std::clamp(v_.distance_point_vise == 0 ? 50 : v_.distance_point_vise, 10, 90);
  sans_signal(ScrollBar_dist, [&] { ScrollBar_dist->setValue(dist); });
  sans_signal(ScrollBar_zoom, [&] { ScrollBar_zoom->setValue(std::clamp(v_.zoom_video, 10, 80)); });
  sans_signal(scrollbar_angle_Vision, [&] { scrollbar_angle_Vision->setValue(std::clamp(-v_.angle_vision, 0, 45)); });
  Edit_dist->setText(QString::number(v_.distance_point_vise));
  Edit_zoom->setText(QString::number(v_.zoom_video));
  Edit_angle->setText(QString::number(v_.angle_vision));
  sans_signal(TrackBar_Nimage, [this] { TrackBar_Nimage->SetPosition(std::clamp(v_.premiere_image, 1, 200)); });
  activer();
  Trace_Trajectoire->update();
}

void PageTrajetVideo::ranger(Param_video& v) const {
  v.type_trajectoire = v_.type_trajectoire;
  v.bezier_x = v_.bezier_x;
  v.bezier_y = v_.bezier_y;
  v.bezier_altitude = v_.bezier_altitude;
  v.rayon_cercle = v_.rayon_cercle;
  v.centre_cercle_x = v_.centre_cercle_x;
  v.centre_cercle_y = v_.centre_cercle_y;
  v.point_vise_fixe = v_.point_vise_fixe;
  v.point_vise_x = v_.point_vise_x;
  v.point_vise_y = v_.point_vise_y;
  v.distance_point_vise = v_.distance_point_vise;
  v.zoom_video = v_.zoom_video;
  v.angle_vision = v_.angle_vision;
  v.premiere_image = v_.premiere_image;
  v.derniere_image = v_.derniere_image;
}

bool PageTrajetVideo::calculer(Param_video& v) {
  if (&v != &v_) v_ = v;
  if (!c_.terrain || !c_.cameras) return false;
  const bool cercle_actif = Trace_Trajectoire->suspendre_cercle();
  // The computation reads the editor's points, -1 where none is set.
  Param_video p = v_;
  Trace_Trajectoire->points_de_calcul(p);
  ::calcule_trajectoire(p, *c_.terrain, altitude_, Trace_Trajectoire->trace_en_cours(), *c_.cameras, dessin_);
  v_.nombre_images = v.nombre_images = p.nombre_images;
  v_.bezier_altitude = v.bezier_altitude = p.bezier_altitude;
  if (cercle_actif) Trace_Trajectoire->reprendre_cercle();
  return true;
}

void PageTrajetVideo::montrer(bool grossier) {
  grossier_ = grossier;
  Image_elevation->placer_marqueurs(c_.sommet);
  label_altmax->setText(Q(T::kAltitudeMax) + QString::number(Round(std::min(c_.sommet, 1e9))) + " m");
  const int n = std::max(v_.nombre_images, 1);
  label_image->setText(Q(T::kImage) + QString::number(reglages::image_de_position(TrackBar_Nimage->Position(), n)));
  Trace_Trajectoire->compteur();
  Trace_Trajectoire->update();
  // The frame preview takes the frame's aspect.
  const double l = std::max(1, v_.largeur_image), h = std::max(1, v_.hauteur_image);
  const int hauteur_apercu = std::clamp(Round(280 * std::clamp(h / l, 0.05, 20.0)), 40, 280);
  if (Image_cadrage->height() != hauteur_apercu) Image_cadrage->setFixedSize(280, hauteur_apercu);
  Image_cadrage->invalidate();
}

// The tools usable with the path kind and the fixed target.
void PageTrajetVideo::activer() {
  const bool cercle = v_.type_trajectoire != 2 && v_.type_trajectoire != 3;
  radio_redim->setEnabled(cercle);
  Radio_cercle->setEnabled(cercle);
  Radio_pt->setEnabled(v_.point_vise_fixe != 0);
  Creer_trajectoire->setEnabled(!cercle);
}

void PageTrajetVideo::type_choisi(int type) {
  v_.type_trajectoire = type;
  if (type != 1 && Trace_Trajectoire->nombre_points() == 0 && !Trace_Trajectoire->trace_en_cours())
    inform(T::kCreerAvecBouton, T::kMessage);
  activer();
  emit change(false);
}

// Closing the dialog stops the player; turning to another page does not.
void PageTrajetVideo::hideEvent(QHideEvent* e) {
  if (!isHidden()) Timer_image.Stop();
  QWidget::hideEvent(e);
}
