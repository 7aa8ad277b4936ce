// Building the video settings dialog, running it, and loading a video's
// settings into its controls; the Size page's handlers.
#include "video/reglages_video.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "fenetres/aide_enfants.h"
#include "fenetres/dossiers.h"
#include "fenetres/elements_pages.h"
#include "fenetres/rendu.h"
#include "controls/button.h"
#include "controls/checkbox.h"
#include "controls/combobox.h"
#include "controls/shapebutton.h"
#include "controls/trackbar.h"
#include "model/aleatoire.h"
#include "model/echantillons.h"
#include "model/matrice.h"
#include "platform/fichiers.h"
#include "video/codecs_video.h"
#include "video/lecteur.h"
#include "video/reglages_textes.h"

namespace T = textes_reglages;

namespace {

constexpr int kSujetAide = 5012;

QString Q(const char* s) { return QString::fromUtf8(s); }

// Sets a control from code without running its handlers.
template <class W, class F>
void sans_signal(W* w, F&& f) {
  const QSignalBlocker b(w);
  f();
}

QImage image_qt(const render::Bitmap& b) {
  if (b.empty()) return {};
  return QImage(reinterpret_cast<const uchar*>(b.pixels().data()), b.width(), b.height(), b.width() * 4,
                QImage::Format_RGB32)
      .copy();
}

}  // namespace

// ------------------------------------------------------------------ pictures

void ImageReglages::paintEvent(QPaintEvent*) {
  dialogs::MarqueurPeinture marqueur;
  QPainter p(this);
  if (peindre) peindre(p);
}

void ImageReglages::mousePressEvent(QMouseEvent* e) {
  if (souris) souris(e);
}
void ImageReglages::mouseMoveEvent(QMouseEvent* e) {
  if (souris) souris(e);
}
void ImageReglages::mouseReleaseEvent(QMouseEvent* e) {
  if (souris) souris(e);
}
void ImageReglages::mouseDoubleClickEvent(QMouseEvent* e) {
  if (souris) souris(e);
}

// ------------------------------------------------------------------ building

TPagesDlg3::TPagesDlg3(QWidget* parent)
    : QDialog(parent), Timer_cercle([this] { Timer_cercleTimer(); }), Timer_image([this] { Timer_imageTimer(); }) {
  setWindowTitle(Q(T::kTitre));
  setModal(true);
  points.fill({});
  editeur_altitude_.largeur = reglages::kLargeurElevation;
  editeur_altitude_.hauteur = reglages::kHauteurElevation;

  auto* racine = new QVBoxLayout(this);
  auto* haut = new QHBoxLayout;
  haut->addWidget(new QLabel(Q(T::kVideo), this));
  ComboBox_no = new CtlComboBox(this);
  ComboBox_no->setMinimumWidth(300);
  haut->addWidget(ComboBox_no);
  haut->addStretch(1);
  racine->addLayout(haut);

  Pagecontrol2 = new dialogs::OngletsPlats(this);
  construire_taille(Pagecontrol2->ajouter_page(kTaille, Q(T::kPageTaille)));
  construire_trajet(Pagecontrol2->ajouter_page(kTrajet, Q(T::kPageTrajet)));
  construire_creation(Pagecontrol2->ajouter_page(kCreation, Q(T::kPageCreation)));
  QSize pages;
  for (int code : {kTaille, kTrajet, kCreation}) pages = pages.expandedTo(Pagecontrol2->page(code)->sizeHint());
  Pagecontrol2->setMinimumSize(pages + QSize(0, 24));
  racine->addWidget(Pagecontrol2, 1);

  auto* bas = new QHBoxLayout;
  auto* modes = new QGroupBox(Q(T::kMode), this);
  auto* lm = new QHBoxLayout(modes);
  auto* groupe = new QButtonGroup(modes);
  RadioButton_differe = new QRadioButton(Q(T::kPlusTard), modes);
  RadioButton_Refaire = new QRadioButton(Q(T::kRefaire), modes);
  RadioButton_ajouter = new QRadioButton(Q(T::kAjouter), modes);
  int k = 0;
  for (QRadioButton* r : {RadioButton_differe, RadioButton_Refaire, RadioButton_ajouter}) {
    groupe->addButton(r, k++);
    lm->addWidget(r);
  }
  RadioButton_differe->setChecked(true);
  bas->addWidget(modes);
  bas->addStretch(1);
  OKBtn = new CtlButton(this);
  OKBtn->setText(Q(T::kOk));
  CancelBtn = new CtlButton(this);
  CancelBtn->setText(Q(T::kAnnuler));
  CancelBtn->SetCancel(true);
  HelpBtn = new CtlButton(this);
  HelpBtn->setText(Q(T::kAide));
  for (CtlButton* b : {OKBtn, CancelBtn, HelpBtn}) {
    b->setFixedSize(80, 26);
    bas->addWidget(b);
  }
  racine->addLayout(bas);
  // Return in an edit ends the edit and then means OK, never another button.
  for (CtlButton* b : findChildren<CtlButton*>()) b->setAutoDefault(false);
  OKBtn->setDefault(true);
  connecter();
}

TPagesDlg3::~TPagesDlg3() = default;

QWidget* TPagesDlg3::construire_taille(QWidget* page) {
  auto* l = new QHBoxLayout(page);
  auto* boite = new QGroupBox(Q(T::kTaille), page);
  auto* g = new QGridLayout(boite);
  auto* groupe = new QButtonGroup(boite);
  RadioButton_320x = new QRadioButton(Q(T::k320), boite);
  RadioButton_640x = new QRadioButton(Q(T::k640), boite);
  RadioButton_800x = new QRadioButton(Q(T::k800), boite);
  RadioButton_800_16_9 = new QRadioButton(Q(T::k800_16_9), boite);
  RadioButton_autre = new QRadioButton(Q(T::kAutre), boite);
  int rang = 0;
  for (QRadioButton* r : {RadioButton_320x, RadioButton_640x, RadioButton_800x, RadioButton_800_16_9, RadioButton_autre}) {
    groupe->addButton(r);
    g->addWidget(r, rang++, 0, 1, 2);
  }
  Edit_Xmax = new QLineEdit(boite);
  Edit_Ymax = new QLineEdit(boite);
  g->addWidget(new QLabel(Q(T::kLargeur), boite), rang, 0);
  g->addWidget(Edit_Xmax, rang++, 1);
  g->addWidget(new QLabel(Q(T::kHauteur), boite), rang, 0);
  g->addWidget(Edit_Ymax, rang++, 1);
  g->setRowStretch(rang, 1);
  l->addWidget(boite);
  Image_echelle = new ImageReglages(page);
  Image_echelle->setFixedSize(320, 240);
  Image_echelle->peindre = [this](QPainter& p) {
    p.fillRect(Image_echelle->rect(), palette().color(QPalette::Window));
    p.drawImage((Image_echelle->width() - image_echelle_.width()) / 2,
                (Image_echelle->height() - image_echelle_.height()) / 2, image_echelle_);
  };
  l->addWidget(Image_echelle, 0, Qt::AlignTop);
  l->addStretch(1);
  return page;
}

QWidget* TPagesDlg3::construire_trajet(QWidget* page) {
  auto* g = new QGridLayout(page);
  g->addLayout(construire_editeur(page), 0, 0);
  g->addLayout(construire_outils(page), 0, 1);
  g->addLayout(construire_apercu(page), 0, 2);
  g->addLayout(construire_altitudes(page), 1, 0, 1, 2);
  g->addLayout(construire_barres(page), 1, 2);
  return page;
}

// The path editor and its counter.
QLayout* TPagesDlg3::construire_editeur(QWidget* page) {
  auto* gauche = new QVBoxLayout;
  Trace_Trajectoire = new ImageReglages(page);
  Trace_Trajectoire->setFixedSize(kLargeurEditeurTrajet, kHauteurEditeurTrajet);
  Trace_Trajectoire->setMouseTracking(true);
  Trace_Trajectoire->peindre = [this](QPainter& p) { Trace_TrajectoirePaint(p); };
  Trace_Trajectoire->souris = [this](QMouseEvent* e) { souris_trajet(e); };
  gauche->addWidget(Trace_Trajectoire);
  label_points = new QLabel(page);
  gauche->addWidget(label_points);
  gauche->addStretch(1);
  return gauche;
}

// Path kind, circle tools and the fixed target.
QLayout* TPagesDlg3::construire_outils(QWidget* page) {
  auto* milieu = new QVBoxLayout;
  auto* genres = new QButtonGroup(page);
  type_trajectoire_1 = new QRadioButton(Q(T::kCercle), page);
  type_trajectoire_2 = new QRadioButton(Q(T::kOuvert), page);
  type_trajectoire_3 = new QRadioButton(Q(T::kFerme), page);
  int k = 1;
  for (QRadioButton* r : {type_trajectoire_1, type_trajectoire_2, type_trajectoire_3}) {
    genres->addButton(r, k++);
    milieu->addWidget(r);
  }
  Creer_trajectoire = new CtlButton(page);
  Creer_trajectoire->setText(Q(T::kCreerTrajet));
  Creer_trajectoire->setFixedHeight(26);
  milieu->addWidget(Creer_trajectoire);
  milieu->addSpacing(8);
  auto* outils = new QButtonGroup(page);
  radio_redim = new QRadioButton(Q(T::kTailleCercle), page);
  Radio_cercle = new QRadioButton(Q(T::kBougerCercle), page);
  Radio_pt = new QRadioButton(Q(T::kBougerCible), page);
  for (QRadioButton* r : {radio_redim, Radio_cercle, Radio_pt}) {
    outils->addButton(r);
    milieu->addWidget(r);
  }
  radio_redim->setChecked(true);
  pt_vise_fixe = new CtlCheckBox(page);
  pt_vise_fixe->SetCaption(Q(T::kCibleFixe));
  pt_vise_fixe->setFixedHeight(22);
  milieu->addWidget(pt_vise_fixe);
  milieu->addStretch(1);
  return milieu;
}

// The frame preview, its track bar and the player buttons.
QLayout* TPagesDlg3::construire_apercu(QWidget* page) {
  auto* droite = new QVBoxLayout;
  Image_cadrage = new dialogs::PreviewBox(page, 280, 210);
  Image_cadrage->setFixedSize(280, 210);
  Image_cadrage->fixer_rendu([this](render::Bitmap& b) { rendre_apercu(b); });
  droite->addWidget(Image_cadrage);
  label_image = new QLabel(page);
  droite->addWidget(label_image);
  TrackBar_Nimage = new CtlTrackBar(page);
  TrackBar_Nimage->SetMinValue(1);
  TrackBar_Nimage->SetMaxValue(reglages::kPositions);
  TrackBar_Nimage->setFixedSize(280, 32);
  droite->addWidget(TrackBar_Nimage);
  auto* boutons = new QHBoxLayout;
  auto bouton = [page, boutons](const char* texte) {
    auto* b = new CtlButton(page);
    b->setText(Q(texte));
    b->setFixedSize(34, 24);
    boutons->addWidget(b);
    return b;
  };
  first_frame = bouton("|<");
  Prev_image = bouton("<");
  auto forme = [page, boutons](const char* texte, CtlShapeType s) {
    auto* b = new CtlShapeButton(page);
    b->Shape().SetShape(s);
    b->SetCaption(Q(texte));
    b->setFixedSize(44, 24);
    boutons->addWidget(b);
    return b;
  };
  CtlShapeButton1 = forme(">", stRoundRect);
  CtlShapeButton2 = forme("||", stRoundRect);
  Next_image = bouton(">");
  Last_frame = bouton(">|");
  boutons->addStretch(1);
  droite->addLayout(boutons);
  droite->addStretch(1);
  return droite;
}

// The altitude editor.
QLayout* TPagesDlg3::construire_altitudes(QWidget* page) {
  auto* profil = new QVBoxLayout;
  profil->addWidget(new QLabel(Q(T::kAltitudes), page));
  Image_elevation = new ImageReglages(page);
  Image_elevation->setFixedSize(reglages::kLargeurElevation, reglages::kHauteurElevation);
  Image_elevation->setMouseTracking(true);
  Image_elevation->peindre = [this](QPainter& p) { Image_elevationPaint(p); };
  Image_elevation->souris = [this](QMouseEvent* e) { souris_elevation(e); };
  profil->addWidget(Image_elevation);
  auto* sous = new QHBoxLayout;
  label_altmax = new QLabel(page);
  sous->addWidget(label_altmax);
  sous->addStretch(1);
  button_obs = new CtlButton(page);
  button_obs->setText(Q(T::kObservateur));
  button_reset = new CtlButton(page);
  button_reset->setText(Q(T::kRemiseAZero));
  for (CtlButton* b : {button_obs, button_reset}) {
    b->setFixedSize(110, 24);
    sous->addWidget(b);
  }
  profil->addLayout(sous);
  return profil;
}

// Distance, zoom and vision angle.
QLayout* TPagesDlg3::construire_barres(QWidget* page) {
  auto* barres = new QGridLayout;
  auto barre = [&](int rang, const char* texte, int min, int max, QScrollBar*& b, QLineEdit*& e) {
    b = dialogs::barre_defilement(page, Qt::Horizontal, min, max, 1, 5, nullptr);
    b->setFixedWidth(170);
    e = new QLineEdit(page);
    e->setFixedWidth(50);
    barres->addWidget(new QLabel(Q(texte), page), rang, 0);
    barres->addWidget(b, rang, 1);
    barres->addWidget(e, rang, 2);
  };
  barre(0, T::kDistance, 10, 90, ScrollBar_dist, Edit_dist);
  barre(1, T::kZoom, 10, 80, ScrollBar_zoom, Edit_zoom);
  barre(2, T::kAngle, 0, 45, scrollbar_angle_Vision, Edit_angle);
  barres->setRowStretch(3, 1);
  return barres;
}

QWidget* TPagesDlg3::construire_creation(QWidget* page) {
  auto* h = new QHBoxLayout(page);
  auto* g = new QGridLayout;
  int rang = 0;
  g->addWidget(new QLabel(Q(T::kCodec), page), rang++, 0);
  ComboBox_CODEC = new CtlImageComboBox(page);
  ComboBox_CODEC->SetDefaultItem(-1);
  for (int type = 2; type <= 10; ++type) ComboBox_CODEC->addItem(Q(codec_video(type)->ligne));
  ComboBox_CODEC->setMinimumWidth(280);
  g->addWidget(ComboBox_CODEC, rang++, 0, 1, 2);
  label_indeo = new QLabel(Q(T::kIndeo), page);
  label_indeo->setWordWrap(true);
  label_indeo->setStyleSheet(QStringLiteral("color: #a00000"));
  g->addWidget(label_indeo, rang++, 0, 1, 2);
  Details = new CtlCheckBox(page);
  Details->SetCaption(Q(T::kDetails));
  Details->setFixedHeight(22);
  g->addWidget(Details, rang++, 0, 1, 2);
  g->addWidget(new QLabel(Q(T::kNombreImages), page), rang, 0);
  nombre_images = new QLineEdit(page);
  nombre_images->setFixedWidth(70);
  g->addWidget(nombre_images, rang++, 1);
  for (QLabel** l : {&label_premiere, &label_derniere, &label_generees, &label_duree}) {
    *l = new QLabel(page);
    g->addWidget(*l, rang++, 0, 1, 2);
  }
  CtlCreate = new CtlShapeButton(page);
  CtlCreate->Shape().SetShape(stRoundRect);
  CtlCreate->SetCaption(Q(T::kVideoReduite));
  CtlCreate->setFixedSize(180, 30);
  g->addWidget(CtlCreate, rang++, 0, 1, 2);
  g->setRowStretch(rang, 1);
  h->addLayout(g);
  auto* film = new QVBoxLayout;
  ecran_film = new AffichageFilm(page);
  ecran_film->setFixedSize(220, 170);
  ecran_film->setAutoFillBackground(true);
  QPalette noir = ecran_film->palette();
  noir.setColor(QPalette::Window, Qt::black);
  ecran_film->setPalette(noir);
  film->addWidget(ecran_film);
  MediaPlayer1 = new MoviePlayer(ecran_film, page);
  film->addWidget(MediaPlayer1);
  film->addStretch(1);
  h->addLayout(film);
  h->addStretch(1);
  return page;
}

// Handlers are connected last, after every control exists.
void TPagesDlg3::connecter() {
  connect(ComboBox_no, &CtlComboBox::changed, this, [this] { choisir_video(ComboBox_no->currentIndex()); });
  connect(Pagecontrol2, &dialogs::OngletsPlats::change, this, [this](int code) { page_changee(code); });
  connect(RadioButton_differe, &QRadioButton::clicked, this, [this] { mode = 0; });
  connect(RadioButton_Refaire, &QRadioButton::clicked, this, [this] { mode = 1; });
  connect(RadioButton_ajouter, &QRadioButton::clicked, this, [this] { mode = 2; });
  connect(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
  connect(CancelBtn, &QPushButton::clicked, this, [this] { done(2); });
  connect(HelpBtn, &QPushButton::clicked, this, [] { afficher_sujet_aide(kSujetAide); });
  // Size.
  const std::pair<QRadioButton*, reglages::Format> formats[] = {
      {RadioButton_320x, reglages::Format::f320}, {RadioButton_640x, reglages::Format::f640},
      {RadioButton_800x, reglages::Format::f800}, {RadioButton_800_16_9, reglages::Format::f800_16_9},
      {RadioButton_autre, reglages::Format::autre}};
  for (const auto& [r, f] : formats) connect(r, &QRadioButton::clicked, this, [this, f = f] { format_choisi(f); });
  connect(Edit_Xmax, &QLineEdit::editingFinished, this, [this] { taille_saisie(); });
  connect(Edit_Ymax, &QLineEdit::editingFinished, this, [this] { taille_saisie(); });
  connecter_trajet();
  connect(ComboBox_CODEC, &CtlComboBox::changed, this, [this] { codec_choisi(); });
  connect(Details, &CtlCheckBox::changed, this, [this] { video.detail = Details->Checked() ? 1 : 0; });
  connect(nombre_images, &QLineEdit::editingFinished, this, [this] { creation_saisie(); });
  connect(CtlCreate, &CtlShapeButton::clicked, this, [this] { CtlCreateClick(); });
}

// The Path page's handlers.
void TPagesDlg3::connecter_trajet() {
  connect(type_trajectoire_1, &QRadioButton::clicked, this, [this] { type_choisi(1); });
  connect(type_trajectoire_2, &QRadioButton::clicked, this, [this] { type_choisi(2); });
  connect(type_trajectoire_3, &QRadioButton::clicked, this, [this] { type_choisi(3); });
  connect(Creer_trajectoire, &QPushButton::clicked, this, [this] { Creer_trajectoireClick(); });
  connect(pt_vise_fixe, &CtlCheckBox::changed, this, [this] {
    video.point_vise_fixe = pt_vise_fixe->Checked() ? 1 : 0;
    activer_trajet();
    modifie();
  });
  connect(button_obs, &QPushButton::clicked, this, [this] {
    video.bezier_altitude.fill(Round(std::min(sommet_, 1e9)));
    modifie();
  });
  connect(button_reset, &QPushButton::clicked, this, [this] {
    video.premiere_image = 1;
    video.derniere_image = reglages::kPositions;
    modifie();
  });
  const std::pair<QScrollBar*, QLineEdit*> barres[] = {
      {ScrollBar_dist, Edit_dist}, {ScrollBar_zoom, Edit_zoom}, {scrollbar_angle_Vision, Edit_angle}};
  for (const auto& [b, e] : barres) {
    QScrollBar* barre = b;
    connect(b->findChild<dialogs::AdaptateurDefilement*>(), &dialogs::AdaptateurDefilement::defilement, this,
            [this, barre](int code, int position) { defilement(barre, code, position); });
    QLineEdit* edit = e;
    connect(e, &QLineEdit::editingFinished, this, [this, edit] { valeur_saisie(edit); });
  }
  connect(TrackBar_Nimage, &CtlTrackBar::changed, this, [this] {
    grossier_ = TrackBar_Nimage->Dragging();
    rafraichir();
  });
  TrackBar_Nimage->installEventFilter(this);
  connect(CtlShapeButton1, &CtlShapeButton::clicked, this, [this] {
    if (TrackBar_Nimage->Position() >= video.derniere_image) aller_position(video.premiere_image);
    Timer_image.Start(300);
  });
  connect(CtlShapeButton2, &CtlShapeButton::clicked, this, [this] { Timer_image.Stop(); });
  connect(first_frame, &QPushButton::clicked, this, [this] { aller_position(video.premiere_image); });
  connect(Last_frame, &QPushButton::clicked, this, [this] { aller_position(video.derniere_image); });
  connect(Prev_image, &QPushButton::clicked, this,
          [this] { aller_position(std::max(video.premiere_image, TrackBar_Nimage->Position() - 1)); });
  connect(Next_image, &QPushButton::clicked, this,
          [this] { aller_position(std::min(video.derniere_image, TrackBar_Nimage->Position() + 1)); });
}

// ------------------------------------------------------------------ running

std::function<int(TPagesDlg3&)>& TPagesDlg3::execution() {
  static std::function<int(TPagesDlg3&)> f = [](TPagesDlg3& d) { return d.exec(); };
  return f;
}

int TPagesDlg3::executer(const EntreesReglagesVideo& entrees, SortiesReglagesVideo& sorties_) {
  init_videos(entrees);
  if (const QScreen* ecran = QGuiApplication::primaryScreen()) {
    adjustSize();
    move(ecran->availableGeometry().center() - rect().center());
  }
  const int r = execution()(*this) == 1 ? 1 : 2;
  if (r == 1) sorties_ = sorties();
  return r;
}

SortiesReglagesVideo TPagesDlg3::sorties() const {
  SortiesReglagesVideo s;
  s.video = video;
  s.action = static_cast<std::uint8_t>(mode);
  if (choisi_ >= 0 && choisi_ < int(videos_.size())) s.numero_choisi = videos_[std::size_t(choisi_)].numero;
  return s;
}

void TPagesDlg3::OKBtnClick() {
  calcule_trajectoire();
  done(1);
}

void TPagesDlg3::done(int r) {
  Timer_cercle.Stop();
  Timer_image.Stop();
  MediaPlayer1->close();
  QDialog::done(r);
  // The preview pictures and terrains go with the closing.
  images_trajet_.clear();
  apercu5_.reset();
  apercu4_.reset();
  montagne_apercu_ = -1;
}

void TPagesDlg3::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F1) {
    afficher_sujet_aide(kSujetAide);
    return;
  }
  QDialog::keyPressEvent(e);
}

void TPagesDlg3::closeEvent(QCloseEvent* e) {
  e->ignore();
  done(2);
}

// ------------------------------------------------------------------ loading

void TPagesDlg3::init_videos(const EntreesReglagesVideo& e) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  entrees_ = e;
  videos_ = e.documents;
  if (videos_.empty()) videos_.push_back({std::string(), e.video, e.montagne_courante, e.numero_courant, e.vue_courante});
  choisi_ = 0;
  for (std::size_t k = 0; k < videos_.size(); ++k)
    if (videos_[k].numero == e.numero_courant) choisi_ = int(k);
  videos_[std::size_t(choisi_)].parametres = e.video;
  video = e.video;
  mode = 0;
  apercu5_ = std::make_unique<Tmatrice>([] {
    param_mat p{};
    p.maillage = 5;
    return p;
  }());
  apercu4_ = std::make_unique<Tmatrice>([] {
    param_mat p{};
    p.maillage = 4;
    return p;
  }());
  montagne_apercu_ = -1;
  // The path editor's picture of each video, from its mountain's sample.
  images_trajet_.assign(videos_.size(), QImage());
  for (std::size_t k = 0; k < videos_.size(); ++k) {
    const int m = videos_[k].montagne;
    if (m < 1 || m >= int(e.echantillons.size()) || !e.echantillons[std::size_t(m)]) continue;
    remplir_depuis_echantillon(*apercu5_, *e.echantillons[std::size_t(m)]);
    const Tmatrice* reel = m < int(e.terrains.size()) ? e.terrains[std::size_t(m)] : nullptr;
    const double mer = videos_[k].parametres.vue.niveau_mer;
    const double sommet = reglages::altitude_sommet(reel ? reel->hauteur_max() : apercu5_->hauteur_max(), mer);
    images_trajet_[k] = image_qt(reglages::prepare_apercu(*apercu5_, mer, sommet));
  }
  // Preview movies of an earlier run.
  for (const DocumentReglagesVideo& d : videos_) {
    for (const char* ext : {".avi", ".mpg"})
      supprimer_fichier(dossiers::temporaire(e.dossier_programme) + "/video" + std::to_string(d.numero + 10) + ext);
  }
  ComboBox_no->clear();
  for (const DocumentReglagesVideo& d : videos_) ComboBox_no->addItem(QString::fromLocal8Bit(d.titre.c_str()));
  sans_signal(RadioButton_differe, [this] { RadioButton_differe->setChecked(true); });
  Pagecontrol2->montrer(kTaille);
  charge_video();
  QApplication::restoreOverrideCursor();
}

// Loads the chosen video's settings into every control; no handler runs and
// the path is computed once.
void TPagesDlg3::charge_video() {
  charge_ = true;
  const DocumentReglagesVideo& d = videos_[std::size_t(choisi_)];
  const int m = d.montagne;
  terrain_ = m >= 1 && m < int(entrees_.terrains.size()) ? entrees_.terrains[std::size_t(m)] : nullptr;
  if (m != montagne_apercu_ && apercu5_ && apercu4_) {
    montagne_apercu_ = m;
    if (m >= 1 && m < int(entrees_.echantillons.size()) && entrees_.echantillons[std::size_t(m)]) {
      remplir_depuis_echantillon(*apercu5_, *entrees_.echantillons[std::size_t(m)]);
      remplir_depuis_echantillon(*apercu4_, *entrees_.echantillons[std::size_t(m)]);
    }
  }
  const double hauteur_max = terrain_ ? terrain_->hauteur_max() : (apercu5_ ? apercu5_->hauteur_max() : 0);
  reglages::completer(video, hauteur_max);
  sommet_ = reglages::altitude_sommet(hauteur_max, video.vue.niveau_mer);
  palette_.emplace(palette_pour_vue(video.vue));
  const std::vector<reglages::PointTrajet> enregistres = reglages::points_enregistres(video);
  points.fill({});
  nombre_points = int(enregistres.size());
  std::copy(enregistres.begin(), enregistres.end(), points.begin());
  trace_en_cours = false;
  point_choisi = -1;
  glisse = false;
  Trace_Trajectoire->setCursor(Qt::ArrowCursor);
  sans_signal(ComboBox_no, [this] { ComboBox_no->setCurrentIndex(choisi_); });
  charger_taille();
  charger_trajet();
  charger_creation();
  charge_ = false;
  calcule_trajectoire();
  rafraichir();
}

void TPagesDlg3::charger_taille() {
  const reglages::Format f = reglages::format_image(video.largeur_image, video.hauteur_image);
  QRadioButton* r = f == reglages::Format::f320       ? RadioButton_320x
                    : f == reglages::Format::f640     ? RadioButton_640x
                    : f == reglages::Format::f800     ? RadioButton_800x
                    : f == reglages::Format::f800_16_9 ? RadioButton_800_16_9
                                                       : RadioButton_autre;
  sans_signal(r, [r] { r->setChecked(true); });
  Edit_Xmax->setText(QString::number(video.largeur_image));
  Edit_Ymax->setText(QString::number(video.hauteur_image));
  Edit_Xmax->setEnabled(f == reglages::Format::autre);
  Edit_Ymax->setEnabled(f == reglages::Format::autre);
  preparer_echelle();
}

void TPagesDlg3::charger_trajet() {
  QRadioButton* genre = video.type_trajectoire == 2   ? type_trajectoire_2
                        : video.type_trajectoire == 3 ? type_trajectoire_3
                                                      : type_trajectoire_1;
  sans_signal(genre, [genre] { genre->setChecked(true); });
  pt_vise_fixe->SetChecked(video.point_vise_fixe != 0);
  const int dist = std::clamp(video.distance_point_vise == 0 ? 50 : video.distance_point_vise, 10, 90);
  const int zoom = std::clamp(video.zoom_video, 10, 80);
  const int angle = std::clamp(-video.angle_vision, 0, 45);
  sans_signal(ScrollBar_dist, [&] { ScrollBar_dist->setValue(dist); });
  sans_signal(ScrollBar_zoom, [&] { ScrollBar_zoom->setValue(zoom); });
  sans_signal(scrollbar_angle_Vision, [&] { scrollbar_angle_Vision->setValue(angle); });
  Edit_dist->setText(QString::number(video.distance_point_vise));
  Edit_zoom->setText(QString::number(video.zoom_video));
  Edit_angle->setText(QString::number(video.angle_vision));
  sans_signal(TrackBar_Nimage, [this] { TrackBar_Nimage->SetPosition(std::clamp(video.premiere_image, 1, 200)); });
  activer_trajet();
  compteur_points();
}

void TPagesDlg3::charger_creation() {
  sans_signal(ComboBox_CODEC, [this] { ComboBox_CODEC->setCurrentIndex(std::clamp(video.type_video - 2, -1, 8)); });
  Details->SetChecked(video.detail != 0);
  nombre_images->setText(QString::number(video.nombre_images));
}

// The tools usable with the path kind and the fixed target.
void TPagesDlg3::activer_trajet() {
  const bool cercle = video.type_trajectoire != 2 && video.type_trajectoire != 3;
  radio_redim->setEnabled(cercle);
  Radio_cercle->setEnabled(cercle);
  Radio_pt->setEnabled(video.point_vise_fixe != 0);
  Creer_trajectoire->setEnabled(!cercle);
}

void TPagesDlg3::choisir_video(int index) {
  if (charge_ || index < 0 || index >= int(videos_.size()) || index == choisi_) return;
  videos_[std::size_t(choisi_)].parametres = video;
  choisi_ = index;
  video = videos_[std::size_t(index)].parametres;
  charge_video();
}

void TPagesDlg3::page_changee(int code) {
  (void)code;
  modifie();
  if (code == kCreation) ouvrir_film_reduit();
}

// ------------------------------------------------------------------ computing

void TPagesDlg3::calcule_trajectoire() {
  if (!terrain_ || !entrees_.cameras) return;
  const bool cercle_actif = Timer_cercle.Active();
  Timer_cercle.Stop();
  // The computation reads the editor's points, -1 where none is set.
  Param_video p = video;
  for (int i = 0; i < 13; ++i) {
    p.bezier_x[std::size_t(i)] = i < nombre_points ? points[std::size_t(i)].x : -1;
    p.bezier_y[std::size_t(i)] = i < nombre_points ? points[std::size_t(i)].y : -1;
  }
  ::calcule_trajectoire(p, *terrain_, editeur_altitude_, trace_en_cours, *entrees_.cameras, dessin_);
  video.nombre_images = p.nombre_images;
  video.bezier_altitude = p.bezier_altitude;
  ++calculs;
  if (cercle_actif) Timer_cercle.Start(100);
}

void TPagesDlg3::modifie(bool grossier) {
  if (charge_) return;
  calcule_trajectoire();
  grossier_ = grossier;
  rafraichir();
}

// Brings every page's labels and pictures in line with the settings.
void TPagesDlg3::rafraichir() {
  for (int i = 1; i <= 7; ++i)
    marqueurs[std::size_t(i)] = std::clamp(
        reglages::ligne_marqueur(video.bezier_altitude[std::size_t(i - 1)], video.vue.niveau_mer, sommet_,
                                 reglages::kHauteurElevation),
        -100000, 100000);
  label_altmax->setText(Q(T::kAltitudeMax) + QString::number(Round(std::min(sommet_, 1e9))) + " m");
  const int n = video.nombre_images;
  const int position = TrackBar_Nimage->Position();
  label_image->setText(Q(T::kImage) + QString::number(reglages::image_de_position(position, std::max(n, 1))));
  const reglages::Etiquettes e = reglages::etiquettes_creation(n, video.premiere_image, video.derniere_image);
  label_premiere->setText(Q(T::kPremiereImage) + QString::number(e.premiere));
  label_derniere->setText(Q(T::kDerniereImage) + QString::number(e.derniere));
  label_generees->setText(Q(T::kImagesGenerees) + QString::number(e.generees));
  label_duree->setText(Q(T::kDuree) + QString::number(e.duree));
  label_indeo->setVisible(video.type_video == 3);
  compteur_points();
  Trace_Trajectoire->update();
  Image_elevation->update();
  Image_echelle->update();
  Image_cadrage->invalidate();
}

// ------------------------------------------------------------------ size page

void TPagesDlg3::format_choisi(reglages::Format f) {
  const bool autre = f == reglages::Format::autre;
  Edit_Xmax->setEnabled(autre);
  Edit_Ymax->setEnabled(autre);
  if (!autre) {
    reglages::taille_format(f, video.largeur_image, video.hauteur_image);
    Edit_Xmax->setText(QString::number(video.largeur_image));
    Edit_Ymax->setText(QString::number(video.hauteur_image));
  }
  preparer_echelle();
  modifie();
}

void TPagesDlg3::taille_saisie() {
  video.largeur_image = reglages::largeur_saisie(Edit_Xmax->text().toStdString(), video.largeur_image);
  video.hauteur_image = reglages::hauteur_saisie(Edit_Ymax->text().toStdString(), video.hauteur_image);
  Edit_Xmax->setText(QString::number(video.largeur_image));
  Edit_Ymax->setText(QString::number(video.hauteur_image));
  preparer_echelle();
  modifie();
}

// The view's picture fitted into a box of the frame's aspect (grey without a
// picture), and the frame preview resized to that aspect.
void TPagesDlg3::preparer_echelle() {
  const double l = std::max(1, video.largeur_image), h = std::max(1, video.hauteur_image);
  const double rapport = std::clamp(h / l, 0.05, 20.0);
  const int bl = Image_echelle->width(), bh = Image_echelle->height();
  QSize boite(bl, Round(bl * rapport));
  if (boite.height() > bh) boite = QSize(std::max(1, Round(bh / rapport)), bh);
  boite = boite.expandedTo(QSize(1, 1));
  image_echelle_ = QImage(boite, QImage::Format_RGB32);
  image_echelle_.fill(QColor(160, 160, 160));
  const DocumentReglagesVideo& d = videos_.empty() ? DocumentReglagesVideo{} : videos_[std::size_t(choisi_)];
  const render::Bitmap* vue = d.vue < entrees_.images.size() ? entrees_.images[d.vue] : nullptr;
  if (vue && !vue->empty()) {
    QPainter p(&image_echelle_);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(image_echelle_.rect(), image_qt(*vue));
  }
  const int hauteur_apercu = std::clamp(Round(280 * rapport), 40, 280);
  if (Image_cadrage->height() != hauteur_apercu) Image_cadrage->setFixedSize(280, hauteur_apercu);
  Image_echelle->update();
}
