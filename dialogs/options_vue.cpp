// The frame of the view options dialog: creation, the main window's filling,
// init_vues, the view list and its protocol, the page shown, the copy buttons'
// protocol and the buttons. The pages are classes of their own
// (options_vue_echelle, _cadrage, _arbres, _niveaux, _couleurs, _meteo).
#include "dialogs/options_vue.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <filesystem>

#include "controls/mirror.h"
#include "dialogs/options_vue_arbres.h"
#include "dialogs/options_vue_cadrage.h"
#include "dialogs/options_vue_couleurs.h"
#include "dialogs/options_vue_echelle.h"
#include "dialogs/options_vue_meteo.h"
#include "dialogs/options_vue_niveaux.h"
#include "fenetres/aide_enfants.h"
#include "fenetres/dialogue_fixe.h"
#include "fenetres/elements_pages.h"
#include "fenetres/fenetres.h"
#include "model/matrice.h"

using namespace fenetres;

namespace dialogs {

namespace {

QString Q(const std::string& s) { return QString::fromLocal8Bit(s.c_str()); }

template <class W>
W* nomme(W* w, const char* nom, QRect g) {
  w->setObjectName(nom);
  w->setGeometry(g);
  return w;
}

}  // namespace

// ---------------------------------------------------------------- creation

TPagesDlg2::TPagesDlg2(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Adjustments of the view");
  construire_cadre();
  CtlMirrorChildren(*this);  // read right to left, the frame's controls are mirrored as a layout would
  connecter_cadre();
  lier_touche_aide(*this, [this] { return sujet_aide(); });
  bordure_dialogue_fixe(*this);
}

// The pages go before the context they read.
TPagesDlg2::~TPagesDlg2() {
  for (PageOptionsVue* p : pages_) delete p;
}

void TPagesDlg2::construire_cadre() {
  setFixedSize(610, 450);
  Pagecontrol2 = nomme(new OngletsPlats(this), "Pagecontrol2", {4, 4, 602, 360});
  const char* titres[] = {"Scale", "Framing", "Arbres", "Levels", "Colours", "Weather"};
  for (int k = 0; k < 6; ++k) {
    auto* disposition = new QVBoxLayout(Pagecontrol2->ajouter_page(k + 1, titres[k]));
    disposition->setContentsMargins(0, 0, 0, 0);
    disposition->setSpacing(0);
  }
  ComboBox_no = nomme(new QComboBox(this), "ComboBox_no", {8, 372, 300, 24});
  UpDown_no = nomme(new HautBas(this), "UpDown_no", {310, 372, 16, 24});
  UpDown_no->fixer_bornes(1, 10);
  Label_no = nomme(new QLabel("0", this), "Label_no", {332, 376, 30, 18});
  RadioButton_differe = nomme(new QRadioButton("Later", this), "RadioButton_differe", {8, 410, 70, 22});
  RadioButton_Refaire = nomme(new QRadioButton("Redraw", this), "RadioButton_Refaire", {80, 410, 80, 22});
  RadioButton_ajouter = nomme(new QRadioButton("Add", this), "RadioButton_ajouter", {162, 410, 60, 22});
  RadioButton_differe->setChecked(true);
  btn_prev = nomme(new QPushButton("<< Prev", this), "btn_prev", {240, 408, 70, 26});
  btn_next = nomme(new QPushButton("Next >>", this), "btn_next", {314, 408, 70, 26});
  OKBtn = nomme(new QPushButton("OK", this), "OKBtn", {410, 372, 90, 28});
  CancelBtn = nomme(new QPushButton("Cancel", this), "CancelBtn", {410, 406, 90, 28});
  HelpBtn = nomme(new QPushButton("Help", this), "HelpBtn", {508, 372, 90, 28});
  OKBtn->setDefault(true);
}

void TPagesDlg2::connecter_cadre() {
  connect(Pagecontrol2, &OngletsPlats::change, this, [this](int) { afficher_page(); });
  connect(ComboBox_no, QOverload<int>::of(&QComboBox::activated), this, [this](int i) { changer_vue(i + 1); });
  connect(UpDown_no, &HautBas::clic, this, [this](int p) { changer_vue(p); });
  connect(RadioButton_differe, &QRadioButton::clicked, this, [this] { mode_ = 0; });
  connect(RadioButton_Refaire, &QRadioButton::clicked, this, [this] { mode_ = 1; });
  connect(RadioButton_ajouter, &QRadioButton::clicked, this, [this] { mode_ = 2; });
  connect(btn_next, &QPushButton::clicked, this, &TPagesDlg2::Btn_NextClick);
  connect(btn_prev, &QPushButton::clicked, this, &TPagesDlg2::Btn_PrevClick);
  connect(OKBtn, &QPushButton::clicked, this, [this] { done(1); });
  connect(CancelBtn, &QPushButton::clicked, this, [this] { done(2); });
  connect(HelpBtn, &QPushButton::clicked, this, [this] { afficher_sujet_aide(sujet_aide()); });
}

// The six pages, built from the record shown first; each stores its changes
// into record 0 at once.
void TPagesDlg2::construire_pages(const param_vue& v) {
  auto* cadrage = new PageCadrageVue(v, contexte_);
  pages_ = {nullptr, new PageEchelleVue(v, contexte_), cadrage, new PageArbresVue(v, contexte_),
            new PageNiveauxVue(v, contexte_), new PageCouleursVue(v, contexte_), new PageMeteoVue(v, contexte_)};
  for (int code = 1; code <= 6; ++code) {
    QWidget* onglet = Pagecontrol2->page(code);
    for (QWidget* ancienne : onglet->findChildren<PageOptionsVue*>(Qt::FindDirectChildrenOnly)) delete ancienne;
    PageOptionsVue* p = pages_[std::size_t(code)];
    onglet->layout()->addWidget(p);
    connect(p, &PageOptionsVue::change, this, [this, p] { p->ranger(vues_[0]); });
  }
  const std::pair<int, void (*)(const param_vue&, param_vue&)> copies[] = {
      {2, copier_cadrage}, {3, copier_arbres}, {4, copier_niveaux}, {5, copier_couleurs}};
  for (auto [code, copie] : copies)
    connect(pages_[std::size_t(code)], &PageOptionsVue::copie, this, [this, copie = copie] { copier(copie); });
  connect(cadrage, &PageCadrageVue::lignes_vision, this,
          [this](bool m, double ox, double oy, double oz, double ax, double ay, double bx, double by) {
            const int k = contexte_.montagne_affichee;
            if (k >= 1 && k <= 5 && editeurs_[std::size_t(k)])
              editeurs_[std::size_t(k)]->point_observateur(m, ox, oy, oz, ax, ay, bx, by);
          });
}

// ---------------------------------------------------------------- filling and exit

void TPagesDlg2::remplir(const EntreesOptionsVue& e) {
  vues_[0] = e.vue;
  contexte_.vue_affichee = e.vue_courante;
  contexte_.montagne_affichee = e.montagne_courante;
  contexte_.montagnes = e.montagnes;
  contexte_.terrains = e.terrains;
  contexte_.vue_active = e.vue_courante;
  editeurs_ = e.editeurs;
  remplir_liste(e);
  page_courante_ = static_cast<std::uint16_t>(std::clamp<int>(e.page, 1, 6));
  contexte_.preparer(e.parametres, e.dossier_programme);
  contexte_.photo_terrain = e.parametres.photo_aerienne != 0;
  init_vues();
}

void TPagesDlg2::remplir_liste(const EntreesOptionsVue& e) {
  ComboBox_no->clear();
  nombre_vues_ = 0;
  if (!e.vue_courante && e.montagne_courante) ComboBox_no->addItem(Q(e.titre_carte.substr(0, 50)));
  if (!e.vue_courante && !e.montagne_courante) ComboBox_no->addItem("Modele");
  if (!e.vue_courante) return;
  for (const DocumentOptionsVue& d : e.documents) {
    if (nombre_vues_ >= 10 || d.numero < 1 || d.numero > 10) continue;
    ComboBox_no->addItem(Q(d.titre.substr(0, 50)));
    const int k = ++nombre_vues_;
    vues_[k] = d.parametres;
    montagne_vue_[k] = d.montagne;
    numero_vue_[k] = d.numero;
    if (d.numero == e.vue_courante) index_vue_active_ = static_cast<std::uint16_t>(k);
    if (!d.parametres.dim_predef) {
      vues_[k].largeur_image = d.largeur_image;
      vues_[k].hauteur_image = d.hauteur_image;
    }
    if (const render::Bitmap* b = e.images[d.numero]; b && !b->empty()) {
      const QImage source(reinterpret_cast<const uchar*>(b->surface().row(0)), b->width(), b->height(),
                          int(b->surface().stride * 4), QImage::Format_RGB32);
      vignettes_[d.numero] = source.scaled(PageEchelleVue::kLargeurEchelle, PageEchelleVue::kHauteurEchelle,
                                           Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
  }
}

SortiesOptionsVue TPagesDlg2::sorties() const {
  SortiesOptionsVue s;
  s.vue = vues_[0];
  s.vue_choisie = contexte_.vue_affichee;
  s.montagne = contexte_.montagne_affichee;
  s.action = mode_;
  s.page = page_courante_;
  return s;
}

int TPagesDlg2::executer(const EntreesOptionsVue& e, SortiesOptionsVue& s) {
  remplir(e);
  const int r = exec() == 1 ? 1 : 2;
  s = sorties();
  return r;
}

// ---------------------------------------------------------------- init_vues

void TPagesDlg2::init_vues() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  UpDown_no->fixer_bornes(1, std::max<int>(nombre_vues_, 1));
  const bool liste = nombre_vues_ > 1;
  UpDown_no->setEnabled(liste);
  ComboBox_no->setEnabled(liste);
  RadioButton_Refaire->setEnabled(nombre_vues_ > 0);
  contexte_.copie_permise = liste;
  const int k = index_de_vue(contexte_.vue_affichee);
  construire_pages(k ? vues_[std::size_t(k)] : vues_[0]);
  choix_vue();
  // The program's cloud picture is the sky of a record that names none.
  if (vues_[0].fichier_ciel.empty() && contexte_.ciel_present()) {
    vues_[0].fichier_ciel = (std::filesystem::path(contexte_.dossier_liste_ciels()) / "nuage.jpg").string();
    afficher_page();
  }
  QApplication::restoreOverrideCursor();
}

// ---------------------------------------------------------------- view list

void TPagesDlg2::choix_vue() {
  const std::uint16_t affichee = contexte_.vue_affichee;
  contexte_.copie_permise = nombre_vues_ > 1 && (!affichee || affichee != contexte_.vue_active);
  Label_no->setText(QString::number(affichee));
  index_affiche_ = static_cast<std::uint16_t>(index_de_vue(affichee));
  if (index_affiche_) {
    UpDown_no->fixer_position(index_affiche_);
    ComboBox_no->setCurrentIndex(index_affiche_ - 1);
    vues_[0] = vues_[index_affiche_];
    contexte_.montagne_affichee = montagne_vue_[index_affiche_];
  }
  contexte_.texte_liste = ComboBox_no->currentText().toLocal8Bit().toStdString();
  contexte_.vignette = affichee >= 1 && affichee <= 10 ? vignettes_[affichee] : QImage();
  Pagecontrol2->montrer(page_courante_);
  afficher_page();
}

int TPagesDlg2::index_de_vue(int numero) const {
  for (int k = 1; k <= std::min<int>(numero, nombre_vues_); ++k)
    if (numero_vue_[std::size_t(k)] == numero) return k;
  return 0;
}

void TPagesDlg2::changer_vue(int position) {
  if (position < 1 || position > nombre_vues_) return;
  if (index_affiche_) vues_[index_affiche_] = vues_[0];
  index_affiche_ = static_cast<std::uint16_t>(position);
  contexte_.vue_affichee = numero_vue_[position];
  choix_vue();
}

// A page's fields of the displayed view over the active view's record, which is displayed again.
void TPagesDlg2::copier(void (*copie)(const param_vue&, param_vue&)) {
  if (!index_vue_active_) return;
  if (index_affiche_) vues_[index_affiche_] = vues_[0];
  copie(vues_[0], vues_[index_vue_active_]);
  index_affiche_ = index_vue_active_;
  contexte_.vue_affichee = numero_vue_[index_vue_active_];
  choix_vue();
}

// ---------------------------------------------------------------- pages

void TPagesDlg2::afficher_page() {
  page_courante_ = static_cast<std::uint16_t>(Pagecontrol2->code_actif());
  if (PageOptionsVue* p = page(page_courante_)) {
    p->charger(vues_[0]);
    p->ranger(vues_[0]);  // what loading the page settled (the Scale page's predefined size)
  }
  btn_prev->setEnabled(page_courante_ > 1);
  btn_next->setEnabled(page_courante_ < 6);
}

void TPagesDlg2::Btn_NextClick() {
  if (page_courante_ >= 6) return;
  Pagecontrol2->montrer(page_courante_ + 1);
  afficher_page();
}

void TPagesDlg2::Btn_PrevClick() {
  if (page_courante_ <= 1) return;
  Pagecontrol2->montrer(page_courante_ - 1);
  afficher_page();
}

int TPagesDlg2::sujet_aide() const {
  switch (page_courante_) {
    case 1: return 306;
    case 2: return 302;
    case 3: return 311;
    case 4: return 304;
    case 5: return 310;
    case 6: return 312;
    default: return 302;
  }
}

}  // namespace dialogs
