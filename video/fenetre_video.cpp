#include "video/fenetre_video.h"
#include "platform/drapeau_leve.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeDatabase>
#include <QProcess>
#include <QUrl>

#include "fenetres/aide_enfants.h"
#include "controls/shapebutton.h"
#include "model/interfaces.h"
#include "platform/fichiers.h"
#include "platform/page_de_code.h"
#include "video/creation.h"
#include "video/lecteur.h"

namespace {

constexpr int kSujetAide = 4017;
constexpr int kHauteurPanneau = 34;

// Hands a movie to the desktop's player. The desktop's launcher starts
// whatever it is given and reports success even when no program takes the
// file's type, so the type's default program is asked for first when the
// desktop can tell it.
bool ouvrir_dans_le_bureau(const QString& chemin) {
  const QString type = QMimeDatabase().mimeTypeForFile(chemin).name();
  QProcess requete;
  requete.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), type});
  if (requete.waitForFinished(3000) && requete.exitStatus() == QProcess::NormalExit &&
      requete.readAllStandardOutput().trimmed().isEmpty())
    return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(chemin));
}

}  // namespace

TVideowindow::TVideowindow(QWidget* parent) : FenetreVideo(parent) {
  setAutoFillBackground(true);
  QPalette sarcelle = palette();
  sarcelle.setColor(QPalette::Window, QColor(0, 128, 128));
  setPalette(sarcelle);
  setFocusPolicy(Qt::StrongFocus);

  Panel2 = new QWidget(this);
  auto* cadre = new QFrame(Panel2);
  cadre->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  cadre->setAutoFillBackground(true);
  QPalette bleu = cadre->palette();
  bleu.setColor(QPalette::Window, QColor(0, 0, 255));
  cadre->setPalette(bleu);
  cadre->setObjectName("cadre");
  Image1 = new AffichageFilm(cadre);
  Image1->installEventFilter(this);

  Panel1 = new QWidget(this);
  lecteur_ = new MoviePlayer(Image1, Panel1);
  lecteur_->move(4, 6);
  lecteur_->adjustSize();
  Play = new CtlShapeButton(Panel1);
  Play->Shape().SetShape(stEllipse);
  Play->Shape().Shadow.SetDepth(2);
  Play->Colors().SetUp(CtlRgb(0, 160, 160));
  Play->Colors().SetMouseOver(CtlRgb(0, 200, 200));
  Play->Colors().SetDown(CtlRgb(0, 110, 110));
  Play->SetCaption(QStringLiteral("Play"));
  Play->setToolTip(QStringLiteral("Open in the system's movie player"));
  Play->setFixedSize(44, 26);
  connect(Play, &CtlShapeButton::clicked, this, &TVideowindow::PlayClick);
  status_ = new QLabel(Panel1);
  status_->setStyleSheet(QStringLiteral("color: white"));

  menu_ = new QMenu(this);
  auto item = [this](const QString& texte, const QKeySequence& touche, auto action) {
    QAction* a = menu_->addAction(texte);
    a->setShortcut(touche);
    connect(a, &QAction::triggered, this, action);
    return a;
  };
  item(QStringLiteral("Regenerate"), {}, [this] { regenerer_video(); });
  item(QStringLiteral("Duplicate the video"), {}, [this] { Dupliquer1Click(); });
  menu_->addSeparator();
  Detailles1_ = item(QStringLiteral("Detailed Parameters"), {}, [this] { Detailles1Click(); });
  Detailles1_->setCheckable(true);
  item(QStringLiteral("Adjustements ..."), {}, [this] { Rglages1Click(); });
  item(QStringLiteral("Informations"), {}, [this] { Informations1Click(); });
  menu_->addSeparator();
  item(QStringLiteral("Help"), QKeySequence(Qt::Key_F1), [] { afficher_sujet_aide(kSujetAide); });

  ouvrir_externe = [](const std::string& chemin) { return ouvrir_dans_le_bureau(QString::fromLocal8Bit(chemin.c_str())); };
  ouverture_.setSingleShot(true);
  ouverture_.setInterval(0);
  connect(&ouverture_, &QTimer::timeout, this, &TVideowindow::ouvrir_film);
}

TVideowindow::~TVideowindow() = default;

QAction* TVideowindow::element(const QString& caption) const {
  for (QAction* a : menu_->actions())
    if (a->text() == caption) return a;
  return nullptr;
}

int TVideowindow::hauteur_panneau() const { return kHauteurPanneau; }

QRect placer_dans_zone(const QRect& fenetre, const QSize& zone) {
  if (zone.width() <= 0 || zone.height() <= 0) return fenetre;
  QRect r(fenetre.topLeft(), fenetre.size().boundedTo(zone));
  r.moveLeft(std::clamp(r.left(), 0, zone.width() - r.width()));
  r.moveTop(std::clamp(r.top(), 0, zone.height() - r.height()));
  return r;
}

// The window's outer size: the frame plus `marge` and the bottom panel, the
// whole window inside the main window's area.
void TVideowindow::dimensionner(int marge) {
  const QSize taille(largeur_ + 20, hauteur_ + kHauteurPanneau + marge);
  QMdiSubWindow* s = sous_fenetre();
  if (s && (s->isMaximized() || s->isMinimized())) {
    // The window keeps the place the user gave it.
  } else if (s && s->mdiArea()) {
    s->setGeometry(placer_dans_zone(QRect(s->pos(), taille), s->mdiArea()->viewport()->size()));
  } else if (s) {
    s->resize(taille);
  } else {
    resize(taille);
  }
  disposer();
}

void TVideowindow::disposer() {
  const int cl = width(), ch = height();
  Panel2->setGeometry(0, 0, cl, std::max(0, ch - kHauteurPanneau));
  if (auto* cadre = Panel2->findChild<QFrame*>("cadre")) {
    cadre->setGeometry(4, 4, std::max(0, cl - 8), std::max(0, Panel2->height() - 8));
    Image1->setGeometry(2, 2, std::max(0, cadre->width() - 4), std::max(0, cadre->height() - 4));
  }
  Panel1->setGeometry(0, std::max(0, ch - kHauteurPanneau), cl, kHauteurPanneau);
  Play->move(lecteur_->x() + lecteur_->width() + 8, 4);
  status_->setGeometry(Play->x() + Play->width() + 8, 8, std::max(0, cl - Play->x() - Play->width() - 12), 18);
}

void TVideowindow::resizeEvent(QResizeEvent* e) {
  FenetreVideo::resizeEvent(e);
  disposer();
}

void TVideowindow::init_video(platform::WindowHandle proprietaire, const Param_video& p, Tmatrice* terrain,
                              const std::string& film, const std::string& dossier_programme) {
  principale = proprietaire;
  parametres = p;
  terrain_ = terrain;
  fichier_film = film;
  dossier_programme_ = dossier_programme;
  largeur_ = std::clamp(p.largeur_image, 16, 4095);
  hauteur_ = std::clamp(p.hauteur_image, 16, 4095);
  dimensionner(40);
  palette_.emplace(palette_pour_vue(p.vue));
  status_->setText(QStringLiteral("%1 x %2").arg(largeur_).arg(hauteur_));
  // A movie made here, the first one too, lies only in the work folder until
  // its document is saved: it stays marked as made, so that the save copies
  // it. A movie given (the document's, or a duplicate's copy) is shown as it is.
  if (film.empty()) generer_video();
  Detailles1_->setChecked(parametres.detail != 0);
}

void TVideowindow::generer_video() {
  if (cameras.empty() || !terrain_ || !palette_ || fabrication_) return;
  refaite = 1;
  platform::DrapeauLeve fabrication(fabrication_);
  TCreation creation(window());
  creation.init_creation(parametres, dossier_programme_, &*palette_, terrain_, no_video);
  creation.show();
  lecteur_->close();
  if (avant_fabrication) avant_fabrication(creation);
  creation.encoder_video(parametres.detail != 0, &cameras);
  // Without a new movie the window keeps its earlier one and its lines.
  if (!creation.film_sortie.empty()) {
    fichier_film = creation.film_sortie;
    informations = creation.informations;
  }
  creation.close();
  update();
}

void TVideowindow::regenerer_video() {
  largeur_ = std::clamp(parametres.largeur_image, 16, 4095);
  hauteur_ = std::clamp(parametres.hauteur_image, 16, 4095);
  dimensionner(20);
  status_->setText(QStringLiteral("%1 x %2").arg(largeur_).arg(hauteur_));
  generer_video();
  update();
}

void TVideowindow::Informations1Click() {
  if (informations[0].empty()) return;
  std::string texte;
  for (const std::string& l : informations) texte += platform::page_de_code_vers_utf8(l) + "\r\n";
  inform(texte, "Informations about video file ");
}

void TVideowindow::Detailles1Click() {
  parametres.detail = parametres.detail ? 0 : 1;
  Detailles1_->setChecked(parametres.detail != 0);
}

void TVideowindow::Dupliquer1Click() {
  code_commande = 2;
  requete_fenetre();
}

void TVideowindow::Rglages1Click() {
  code_commande = 3;
  requete_fenetre();
}

void TVideowindow::PlayClick() {
  const std::string film = fichier_film;
  lecteur_->close();
  if (!film.empty() && ouvrir_externe && !ouvrir_externe(film))
    warn("No movie player was found to play " + film, "Video ");
}

void TVideowindow::ouvrir_film() {
  if (fermeture || fabrication_ || fichier_film.empty() || lecteur_->file_name() == fichier_film) return;
  if (fichier_existe(fichier_film)) lecteur_->open(fichier_film);
}

void TVideowindow::paintEvent(QPaintEvent* e) {
  // Opening the movie reads the file: it is scheduled, never done here.
  if (!fichier_film.empty() && lecteur_->file_name() != fichier_film && !ouverture_.isActive()) ouverture_.start();
  focus_arbre = 1;
  FenetreVideo::paintEvent(e);
}

void TVideowindow::changeEvent(QEvent* e) {
  FenetreVideo::changeEvent(e);
  if (e->type() != QEvent::ActivationChange || fermeture) return;
  if (isActiveWindow() && (!sous_fenetre() || sous_fenetre()->mdiArea() == nullptr ||
                           sous_fenetre()->mdiArea()->activeSubWindow() == sous_fenetre())) {
    Detailles1_->setChecked(parametres.detail != 0);
    update();
  } else if (!fabrication_) {
    lecteur_->close();  // only the active video window holds a decoder
  }
}

void TVideowindow::closeEvent(QCloseEvent* e) {
  if (fabrication_) {  // never closes under its making
    e->ignore();
    return;
  }
  lecteur_->close();
  palette_.reset();
  // A window with a file asks whenever its movie was made since the document
  // was read or saved, at opening too (none could be read beside it then).
  if (a_fichier && refaite) {
    if (ask_save(question_fermeture(), "Video ")) sauvegarde_demandee = 1;
  }
  FenetreVideo::closeEvent(e);
}

void TVideowindow::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F1) {
    afficher_sujet_aide(kSujetAide);
    return;
  }
  FenetreVideo::keyPressEvent(e);
}

void TVideowindow::contextMenuEvent(QContextMenuEvent* e) {
  Detailles1_->setChecked(parametres.detail != 0);
  menu_->popup(e->globalPos());
}

bool TVideowindow::eventFilter(QObject* o, QEvent* e) {
  if (o == Image1 && e->type() == QEvent::MouseButtonPress && aide_contextuelle) {
    afficher_sujet_aide(kSujetAide);
    return true;
  }
  return FenetreVideo::eventFilter(o, e);
}
