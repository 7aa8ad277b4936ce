// The video settings dialog: its frame, the list of videos and the mode,
// running it, loading a video into the pages and acting on their edits.
#include "video/reglages_video.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "controls/button.h"
#include "controls/combobox.h"
#include "fenetres/aide_enfants.h"
#include "fenetres/dossiers.h"
#include "fenetres/elements_pages.h"
#include "fenetres/image_qt.h"
#include "model/echantillons.h"
#include "model/matrice.h"
#include "platform/fichiers.h"
#include "video/reglages_pages.h"
#include "video/reglages_textes.h"

namespace T = textes_reglages;
using textes_reglages::Q;

namespace {

constexpr int kSujetAide = 5012;

// A page in its tab, filling it.
template <class P>
P* poser(QWidget* onglet, P* page) {
  auto* l = new QVBoxLayout(onglet);
  l->setContentsMargins(0, 0, 0, 0);
  l->addWidget(page);
  return page;
}

std::unique_ptr<Tmatrice> terrain_apercu(int degre) {
  param_mat p{};
  p.maillage = degre;
  return std::make_unique<Tmatrice>(p);
}

}  // namespace

TPagesDlg3::TPagesDlg3(QWidget* parent) : QDialog(parent) {
  setWindowTitle(Q(T::kTitre));
  setModal(true);
  auto* racine = new QVBoxLayout(this);
  auto* haut = new QHBoxLayout;
  haut->addWidget(new QLabel(Q(T::kVideo), this));
  ComboBox_no = new CtlComboBox(this);
  ComboBox_no->setObjectName("ComboBox_no");
  ComboBox_no->setMinimumWidth(300);
  haut->addWidget(ComboBox_no);
  haut->addStretch(1);
  racine->addLayout(haut);

  Pagecontrol2 = new fenetres::OngletsPlats(this);
  Pagecontrol2->setObjectName("Pagecontrol2");
  taille_ = poser(Pagecontrol2->ajouter_page(kTaille, Q(T::kPageTaille)), new PageTailleVideo);
  trajet_ = poser(Pagecontrol2->ajouter_page(kTrajet, Q(T::kPageTrajet)), new PageTrajetVideo);
  creation_ = poser(Pagecontrol2->ajouter_page(kCreation, Q(T::kPageCreation)), new PageCreationVideo);
  QSize pages;
  for (int code : {kTaille, kTrajet, kCreation}) pages = pages.expandedTo(Pagecontrol2->page(code)->sizeHint());
  Pagecontrol2->setMinimumSize(pages + QSize(0, 24));
  racine->addWidget(Pagecontrol2, 1);
  racine->addLayout(construire_bas());
  // Return in an edit ends the edit and then means OK, never another button.
  for (CtlButton* b : findChildren<CtlButton*>()) b->setAutoDefault(false);
  OKBtn->setDefault(true);

  connect(ComboBox_no, &CtlComboBox::changed, this, [this] { choisir_video(ComboBox_no->currentIndex()); });
  connect(Pagecontrol2, &fenetres::OngletsPlats::change, this, [this] { modifie(); });
  connect(taille_, &PageTailleVideo::change, this, [this] { modifie(); });
  connect(trajet_, &PageTrajetVideo::change, this, [this](bool grossier) { modifie(grossier); });
  connect(creation_, &PageCreationVideo::change, this, [this] { modifie(); });
  connect(creation_, &PageCreationVideo::calcul_demande, this, [this] { calcule_trajectoire(); });
}

// Hidden while still whole: an edit left by the hiding reports its change
// here, not in the base class's destructor after this dialog is gone.
TPagesDlg3::~TPagesDlg3() { hide(); }

// The mode on OK and the buttons.
QLayout* TPagesDlg3::construire_bas() {
  auto* bas = new QHBoxLayout;
  auto* modes = new QGroupBox(Q(T::kMode), this);
  auto* lm = new QHBoxLayout(modes);
  auto* groupe = new QButtonGroup(modes);
  RadioButton_differe = new QRadioButton(Q(T::kPlusTard), modes);
  RadioButton_Refaire = new QRadioButton(Q(T::kRefaire), modes);
  RadioButton_ajouter = new QRadioButton(Q(T::kAjouter), modes);
  const std::pair<QRadioButton*, const char*> radios[] = {{RadioButton_differe, "RadioButton_differe"},
                                                          {RadioButton_Refaire, "RadioButton_Refaire"},
                                                          {RadioButton_ajouter, "RadioButton_ajouter"}};
  int k = 0;
  for (const auto& [r, nom] : radios) {
    r->setObjectName(nom);
    groupe->addButton(r, k);
    lm->addWidget(r);
    connect(r, &QRadioButton::clicked, this, [this, k] { mode_ = k; });
    ++k;
  }
  RadioButton_differe->setChecked(true);
  bas->addWidget(modes);
  bas->addStretch(1);
  const std::pair<CtlButton**, const char*> boutons[] = {
      {&OKBtn, T::kOk}, {&CancelBtn, T::kAnnuler}, {&HelpBtn, T::kAide}};
  for (const auto& [b, texte] : boutons) {
    *b = new CtlButton(this);
    (*b)->setText(Q(texte));
    (*b)->setFixedSize(80, 26);
    bas->addWidget(*b);
  }
  OKBtn->setObjectName("OKBtn");
  CancelBtn->setObjectName("CancelBtn");
  HelpBtn->setObjectName("HelpBtn");
  CancelBtn->SetCancel(true);
  connect(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
  connect(CancelBtn, &QPushButton::clicked, this, [this] { done(2); });
  connect(HelpBtn, &QPushButton::clicked, this, [] { afficher_sujet_aide(kSujetAide); });
  return bas;
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
  s.video = video_;
  ranger_pages(s.video);
  s.action = static_cast<std::uint8_t>(mode_);
  if (choisi_ >= 0 && choisi_ < int(videos_.size())) s.numero_choisi = videos_[std::size_t(choisi_)].numero;
  return s;
}

void TPagesDlg3::OKBtnClick() {
  calcule_trajectoire();
  done(1);
}

void TPagesDlg3::done(int r) {
  QDialog::done(r);
  // The preview pictures and terrains go with the closing; the pages keep
  // their settings but no longer borrow them.
  ranger_pages(video_);
  trajet_->charger(video_, ContexteTrajet{});
  film_ = {};
  creation_->charger(video_, film_);
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
  video_ = e.video;
  mode_ = 0;
  apercu5_ = terrain_apercu(5);
  apercu4_ = terrain_apercu(4);
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
    images_trajet_[k] = image_qt(reglages::prepare_apercu(*apercu5_, mer, sommet)).copy();
  }
  // Preview movies of an earlier run.
  for (const DocumentReglagesVideo& d : videos_) {
    for (const char* ext : {".avi", ".mpg"})
      supprimer_fichier(dossiers::temporaire(e.dossier_programme) + "/video" + std::to_string(d.numero + 10) + ext);
  }
  ComboBox_no->clear();
  for (const DocumentReglagesVideo& d : videos_) ComboBox_no->addItem(QString::fromLocal8Bit(d.titre.c_str()));
  {
    const QSignalBlocker b(RadioButton_differe);
    RadioButton_differe->setChecked(true);
  }
  Pagecontrol2->montrer(kTaille);
  charge_video();
  QApplication::restoreOverrideCursor();
}

// Loads the chosen video into every page; no edit is acted on and the path
// is computed once.
void TPagesDlg3::charge_video() {
  charge_ = true;
  const DocumentReglagesVideo& d = videos_[std::size_t(choisi_)];
  const int m = d.montagne;
  Tmatrice* terrain = m >= 1 && m < int(entrees_.terrains.size()) ? entrees_.terrains[std::size_t(m)] : nullptr;
  const bool echantillon = m >= 1 && m < int(entrees_.echantillons.size()) && entrees_.echantillons[std::size_t(m)];
  if (m != montagne_apercu_ && apercu5_ && apercu4_) {
    montagne_apercu_ = m;
    if (echantillon) {
      remplir_depuis_echantillon(*apercu5_, *entrees_.echantillons[std::size_t(m)]);
      remplir_depuis_echantillon(*apercu4_, *entrees_.echantillons[std::size_t(m)]);
    }
  }
  const double hauteur_max = terrain ? terrain->hauteur_max() : (apercu5_ ? apercu5_->hauteur_max() : 0);
  reglages::completer(video_, hauteur_max);
  palette_.emplace(palette_pour_vue(video_.vue));
  ContexteTrajet trajet;
  trajet.terrain = terrain;
  trajet.apercu = apercu5_.get();
  trajet.apercu_grossier = apercu4_.get();
  trajet.palette = &*palette_;
  trajet.cameras = entrees_.cameras;
  trajet.dossier_ciels = dossiers::ciels(entrees_.dossier_programme);
  trajet.fond = std::size_t(choisi_) < images_trajet_.size() ? images_trajet_[std::size_t(choisi_)] : QImage();
  trajet.sommet = reglages::altitude_sommet(hauteur_max, video_.vue.niveau_mer);
  const render::Bitmap* vue = d.vue < entrees_.images.size() ? entrees_.images[d.vue] : nullptr;
  {
    const QSignalBlocker b(ComboBox_no);
    ComboBox_no->setCurrentIndex(choisi_);
  }
  taille_->charger(video_, vue ? image_qt(*vue).copy() : QImage());
  trajet_->charger(video_, trajet);
  film_ = {terrain, &*palette_, entrees_.cameras, entrees_.dossier_programme, d.numero};
  creation_->charger(video_, film_);
  charge_ = false;
  calcule_trajectoire();
  trajet_->montrer(false);
}

void TPagesDlg3::choisir_video(int index) {
  if (charge_ || index < 0 || index >= int(videos_.size()) || index == choisi_) return;
  ranger_pages(video_);
  videos_[std::size_t(choisi_)].parametres = video_;
  choisi_ = index;
  video_ = videos_[std::size_t(index)].parametres;
  charge_video();
}

// ------------------------------------------------------------------ edits

void TPagesDlg3::ranger_pages(Param_video& v) const {
  taille_->ranger(v);
  trajet_->ranger(v);
  creation_->ranger(v);
}

// The pages' fields gathered, the path computed from them, and every page
// showing the result.
void TPagesDlg3::calcule_trajectoire() {
  ranger_pages(video_);
  if (trajet_->calculer(video_)) emit trajectoire_calculee();
  creation_->charger(video_, film_);
}

void TPagesDlg3::modifie(bool grossier) {
  if (charge_) return;
  calcule_trajectoire();
  trajet_->montrer(grossier);
}
