// The frame of the view options dialog: creation, the main window's filling,
// init_vues, the view list and its protocol, the pages and the renders shared
// by the previews. The pages are in options_vue_echelle.cpp and
// options_vue_cadrage.cpp.
#include "dialogs/options_vue.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <filesystem>

#include "fenetres/aide_enfants.h"
#include "fenetres/dossiers.h"
#include "fenetres/elements_pages.h"
#include "fenetres/fenetres.h"
#include "fenetres/rendu.h"
#include "controls/checkbox.h"
#include "dialogs/options_vue_boites.h"
#include "dialogs/options_vue_calculs.h"
#include "model/aleatoire.h"
#include "model/erreur.h"
#include "model/matrice.h"
#include "model/noeuds.h"
#include "render/palette.h"

namespace dialogs {

namespace {

QString Q(const std::string& s) { return QString::fromLocal8Bit(s.c_str()); }

// The height of the node nearest to the fractions (x, y).
double hauteur_au_point(const Tmatrice& t, double x, double y) {
  return t.hauteurs->lire(Round(x * t.n), Round(y * t.n));
}

}  // namespace

MontagneOptionsVue decrire_montagne(const Tmatrice& t) {
  MontagneOptionsVue m;
  m.cible_x = t.cible.x;
  m.cible_y = t.cible.y;
  m.observateur_x = t.observateur.x;
  m.observateur_y = t.observateur.y;
  m.altitude_cible = hauteur_au_point(t, t.cible.x, t.cible.y);
  m.altitude_observateur = hauteur_au_point(t, t.observateur.x, t.observateur.y);
  m.especes = t.especes_presentes;
  m.echantillons = echantillonner_36(t);
  return m;
}

// ---------------------------------------------------------------- creation

TPagesDlg2::TPagesDlg2(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Adjustments of the view");
  handle_ = platform::register_window([](const platform::Message&) -> std::intptr_t { return 0; });
  palette = std::make_unique<TMyPalette>(false, 4);
  construire_cadre();
  construire_echelle(Pagecontrol2->page(1));
  construire_cadrage(Pagecontrol2->page(2));
  construire_arbres(Pagecontrol2->page(3));
  construire_niveaux(Pagecontrol2->page(4));
  construire_couleurs(Pagecontrol2->page(5));
  construire_meteo(Pagecontrol2->page(6));
  Timer_cadre.setInterval(100);
  connecter_echelle();
  connecter_cadrage();
  connecter_arbres();
  connecter_niveaux();
  connecter_couleurs();
  connecter_meteo();
  connect(&Timer_cadre, &QTimer::timeout, this, &TPagesDlg2::Timer_cadreTimer);
}

TPagesDlg2::~TPagesDlg2() { platform::unregister_window(handle_); }

void TPagesDlg2::construire_cadre() {
  setFixedSize(610, 450);
  Pagecontrol2 = new OngletsPlats(this);
  Pagecontrol2->setGeometry(4, 4, 602, 360);
  const char* titres[] = {"Scale", "Framing", "Arbres", "Levels", "Colours", "Weather"};
  for (int k = 0; k < 6; ++k) Pagecontrol2->ajouter_page(k + 1, titres[k]);
  ComboBox_no = new QComboBox(this);
  ComboBox_no->setGeometry(8, 372, 300, 24);
  UpDown_no = new HautBas(this);
  UpDown_no->setGeometry(310, 372, 16, 24);
  UpDown_no->fixer_bornes(1, 10);
  Label_no = new QLabel("0", this);
  Label_no->setGeometry(332, 376, 30, 18);
  RadioButton_differe = new QRadioButton("Later", this);
  RadioButton_Refaire = new QRadioButton("Redraw", this);
  RadioButton_ajouter = new QRadioButton("Add", this);
  RadioButton_differe->setGeometry(8, 410, 70, 22);
  RadioButton_Refaire->setGeometry(80, 410, 80, 22);
  RadioButton_ajouter->setGeometry(162, 410, 60, 22);
  RadioButton_differe->setChecked(true);
  btn_prev = new QPushButton("<< Prev", this);
  btn_next = new QPushButton("Next >>", this);
  btn_prev->setGeometry(240, 408, 70, 26);
  btn_next->setGeometry(314, 408, 70, 26);
  OKBtn = new QPushButton("OK", this);
  CancelBtn = new QPushButton("Cancel", this);
  HelpBtn = new QPushButton("Help", this);
  OKBtn->setGeometry(410, 372, 90, 28);
  CancelBtn->setGeometry(410, 406, 90, 28);
  HelpBtn->setGeometry(508, 372, 90, 28);
  OKBtn->setDefault(true);

  connect(Pagecontrol2, &OngletsPlats::change, this, [this](int) { afficher_page(); });
  connect(ComboBox_no, QOverload<int>::of(&QComboBox::activated), this, [this](int i) { changer_vue(i + 1); });
  connect(UpDown_no, &HautBas::clic, this, [this](int p) { changer_vue(p); });
  connect(RadioButton_differe, &QRadioButton::clicked, this, [this] { mode = 0; });
  connect(RadioButton_Refaire, &QRadioButton::clicked, this, [this] { mode = 1; });
  connect(RadioButton_ajouter, &QRadioButton::clicked, this, [this] { mode = 2; });
  connect(btn_next, &QPushButton::clicked, this, &TPagesDlg2::Btn_NextClick);
  connect(btn_prev, &QPushButton::clicked, this, &TPagesDlg2::Btn_PrevClick);
  connect(OKBtn, &QPushButton::clicked, this, [this] { done(1); });
  connect(CancelBtn, &QPushButton::clicked, this, [this] { done(2); });
  connect(HelpBtn, &QPushButton::clicked, this, &TPagesDlg2::HelpBtnClick);
}

// ---------------------------------------------------------------- filling and exit

void TPagesDlg2::remplir(const EntreesOptionsVue& e) {
  vues[0] = e.vue;
  vue_affichee = e.vue_courante;
  montagne_affichee = e.montagne_courante;
  montagnes = e.montagnes;
  terrains = e.terrains;
  editeurs = e.editeurs;
  dossier_programme = e.dossier_programme;
  vue_active = e.vue_courante;
  ComboBox_no->clear();
  if (!e.vue_courante && e.montagne_courante) ComboBox_no->addItem(Q(e.titre_carte.substr(0, 50)));
  if (!e.vue_courante && !e.montagne_courante) ComboBox_no->addItem("Modele");
  if (e.vue_courante) {
    for (const DocumentOptionsVue& d : e.documents) {
      if (nombre_vues >= 10 || d.numero < 1 || d.numero > 10) continue;
      ComboBox_no->addItem(Q(d.titre.substr(0, 50)));
      const int k = ++nombre_vues;
      vues[k] = d.parametres;
      montagne_vue[k] = d.montagne;
      numero_vue[k] = d.numero;
      if (d.numero == e.vue_courante) index_vue_active = static_cast<std::uint16_t>(k);
      if (!d.parametres.dim_predef) {
        vues[k].largeur_image = d.largeur_image;
        vues[k].hauteur_image = d.hauteur_image;
      }
      if (const render::Bitmap* b = e.images[d.numero]; b && !b->empty()) {
        const QImage source(reinterpret_cast<const uchar*>(b->surface().row(0)), b->width(), b->height(),
                            int(b->surface().stride * 4), QImage::Format_RGB32);
        vignettes[d.numero] = source.scaled(kLargeurEchelle, kHauteurEchelle, Qt::IgnoreAspectRatio,
                                            Qt::SmoothTransformation);
      }
    }
  }
  page_courante = static_cast<std::uint16_t>(std::clamp<int>(e.page, 1, 6));
  init_vues(e.parametres);
}

SortiesOptionsVue TPagesDlg2::sorties() const {
  SortiesOptionsVue s;
  s.vue = vues[0];
  s.vue_choisie = vue_affichee;
  s.montagne = montagne_affichee;
  s.action = mode;
  s.page = page_courante;
  return s;
}

int TPagesDlg2::executer(const EntreesOptionsVue& e, SortiesOptionsVue& s) {
  remplir(e);
  const int r = exec() == 1 ? 1 : 2;
  s = sorties();
  return r;
}

// ---------------------------------------------------------------- init_vues

void TPagesDlg2::init_vues(const param_mat& p) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  for (QLabel* l : labels_destination)
    if (l) l->setText(QString::number(vue_active));
  UpDown_no->fixer_bornes(1, std::max<int>(nombre_vues, 1));
  const bool liste = nombre_vues > 1;
  UpDown_no->setEnabled(liste);
  ComboBox_no->setEnabled(liste);
  for (QPushButton* b : boutons_copie)
    if (b) b->setEnabled(liste);
  RadioButton_Refaire->setEnabled(nombre_vues > 0);
  montagne_chargee = 0;
  rapide = 0;
  detail_fixe = 0;
  fixer_detail(!detail_fixe);  // the lock toggled once: permanent detailed display
  preparer_terrains(p);
  // The size of the record the dialog will show: a radio, or "specific sizes".
  const int k = index_de_vue(vue_affichee);
  CheckBox_spex->SetChecked(!cocher_taille(k ? vues[std::size_t(k)] : vues[0]));
  for (QWidget* w : std::initializer_list<QWidget*>{Checkbox_photo, Checkbox_masque, Edit_R, Edit_V, Edit_B,
                                                     static_cast<QWidget*>(ScrollBar_transparence)})
    w->setEnabled(p.photo_aerienne != 0);
  choix_vue();
  fixer_ciel();
  QApplication::restoreOverrideCursor();
}

void TPagesDlg2::preparer_terrains(const param_mat& p) {
  param_mat q = p;
  q.maillage = 5;
  relief_apercu = std::make_unique<Tmatrice>(q);
  relief_apercu->charger_apercu();
  relief_apercu->placer_cible(0.333, 0.333, 0);
  relief_apercu->placer_observateur(0.01, 0.01, 0);
  q.maillage = 4;
  relief_rapide = std::make_unique<Tmatrice>(q);
  relief_rapide->charger_apercu();
  relief_rapide->placer_cible(0.333, 0.333, 0);
  relief_rapide->placer_observateur(0.01, 0.01, 0);
  for (int i = 1; i <= 18; ++i)
    for (int j = 1; j <= 18; ++j) relief_rapide->hauteurs->ecrire(i, j, relief_apercu->hauteurs->lire(2 * i - 1, 2 * j - 1));
  q.maillage = 6;
  relief_arbres = std::make_unique<Tmatrice>(q);
  relief_arbres->amplitude = 4000;
  relief_arbres->placer_cible(0.33, 0.33, 100);
  relief_arbres->placer_observateur(0.1, 0.1, 100);
}

void TPagesDlg2::fixer_ciel() {
  namespace fs = std::filesystem;
  const fs::path ciels = dossiers::ciels(dossier_programme);
  std::error_code ec;
  ciel_present = !dossier_programme.empty() && fs::is_regular_file(ciels / "nuage.jpg", ec) ? 1 : 0;
  dossier_liste_ciels = ciel_present ? fs::absolute(ciels, ec).string() : dossier_programme;
  remplir_liste_ciels();
  if (vues[0].fichier_ciel.empty() && ciel_present) {
    vues[0].fichier_ciel = (fs::path(dossier_liste_ciels) / "nuage.jpg").string();
    const auto trouves = FileListBox_images->findItems("nuage.jpg", Qt::MatchExactly);
    if (!trouves.isEmpty()) FileListBox_images->setCurrentItem(trouves.front());
    drapeau_brume = drapeau_ciel = drapeau_mer = true;
    afficher_valeurs();
  }
}

// ---------------------------------------------------------------- view list

void TPagesDlg2::choix_vue() {
  if (vue_affichee)
    for (QPushButton* b : boutons_copie)
      if (b) b->setEnabled(nombre_vues > 1 && vue_affichee != vue_active);
  Label_no->setText(QString::number(vue_affichee));
  for (QLabel* l : labels_origine)
    if (l) l->setText(QString::number(vue_affichee));
  drapeau_echelle = drapeau_cadrage = drapeau_cadre = recalcul_cadre = true;
  drapeau_niveaux = drapeau_brume = drapeau_ciel = drapeau_mer = drapeau_arbres = true;
  index_affiche = static_cast<std::uint16_t>(index_de_vue(vue_affichee));
  if (index_affiche) {
    UpDown_no->fixer_position(index_affiche);
    ComboBox_no->setCurrentIndex(index_affiche - 1);
    vues[0] = vues[index_affiche];
    montagne_affichee = montagne_vue[index_affiche];
  }
  Pagecontrol2->montrer(page_courante);
  afficher_page();
}

int TPagesDlg2::index_de_vue(int numero) const {
  for (int k = 1; k <= std::min<int>(numero, nombre_vues); ++k)
    if (numero_vue[std::size_t(k)] == numero) return k;
  return 0;
}

void TPagesDlg2::changer_vue(int position) {
  if (position < 1 || position > nombre_vues) return;
  if (index_affiche) vues[index_affiche] = vues[0];
  index_affiche = static_cast<std::uint16_t>(position);
  vue_affichee = numero_vue[position];
  choix_vue();
}

void TPagesDlg2::montrer_vue_active() {
  if (!index_vue_active) return;
  index_affiche = index_vue_active;
  vue_affichee = numero_vue[index_vue_active];
  choix_vue();
}

// ---------------------------------------------------------------- pages

void TPagesDlg2::afficher_page() {
  page_courante = static_cast<std::uint16_t>(Pagecontrol2->code_actif());
  switch (page_courante) {
    case 1: charger_echelle(); break;
    case 2: charger_cadrage(); break;
    case 3: charger_arbres(); break;
    case 4: charger_niveaux(); break;
    case 5: charger_couleurs(); break;
    case 6: charger_meteo(); break;
    default: break;
  }
  btn_prev->setEnabled(page_courante > 1);
  btn_next->setEnabled(page_courante < 6);
  afficher_valeurs();
}

void TPagesDlg2::afficher_valeurs() {
  switch (page_courante) {
    case 1: afficher_echelle(); break;
    case 2: afficher_cadrage(); break;
    case 3: afficher_arbres(); break;
    case 4: afficher_niveaux(); break;
    case 5: afficher_couleurs(); break;
    case 6: afficher_meteo(); break;
    default: break;
  }
}

void TPagesDlg2::Btn_NextClick() {
  if (page_courante >= 6) return;
  Pagecontrol2->montrer(page_courante + 1);
  afficher_page();
}

void TPagesDlg2::Btn_PrevClick() {
  if (page_courante <= 1) return;
  Pagecontrol2->montrer(page_courante - 1);
  afficher_page();
}

int TPagesDlg2::sujet_aide() const {
  switch (page_courante) {
    case 1: return 306;
    case 2: return 302;
    case 3: return 311;
    case 4: return 304;
    case 5: return 310;
    case 6: return 312;
    default: return 302;
  }
}

void TPagesDlg2::HelpBtnClick() { afficher_sujet_aide(sujet_aide()); }

QScrollBar* TPagesDlg2::barre(QWidget* page, Qt::Orientation o, int minimum, int maximum, QRect g) {
  AdaptateurDefilement* a = nullptr;
  QScrollBar* b = barre_defilement(page, o, minimum, maximum, 1, 10, &a);
  b->setGeometry(g);
  adaptateurs[b] = a;
  return b;
}

// ---------------------------------------------------------------- renders

void TPagesDlg2::nouvelle_palette(bool grande) {
  const param_vue& v = vues[0];
  palette = std::make_unique<TMyPalette>(grande, 4);
  ++palettes_construites;
  if (v.couleurs_defaut)
    palette->charger_couleurs_base();
  else
    for (int k = 0; k < 10; ++k)
      palette->fixer_couleur(static_cast<std::uint8_t>(k + 1), v.couleurs[std::size_t(k)].r,
                             v.couleurs[std::size_t(k)].g, v.couleurs[std::size_t(k)].b);
  palette->construire(v.contraste, v.profondeur_ombre, v.ombre_portee != 0, grande ? v.brume_densite : 0);
  // The charts of the Colours page read the table: they get the new one.
  if (Image_palette) Image_palette->fixer_palette(palette.get());
  if (Image_couleur) Image_couleur->montrer(palette.get(), Image_couleur->entree());
}

void TPagesDlg2::rendre(Tmatrice& t, const param_vue& v, render::Bitmap& image) {
  render::RenderOptions o;
  o.dossier_ciels = dossiers::ciels(dossier_programme);
  t.marquer_modifiee();
  try {
    calculer_image(t, handle_, *palette, image, {}, v, image.width(), image.height(), nullptr, nullptr, 0, 0, 0, 0,
                   0, camera_nulle, o);
  } catch (const ModelError&) {
    // A preview that cannot be drawn keeps what was drawn.
  }
}

void TPagesDlg2::charger_apercu_relief() {
  const int m = montagne_affichee;
  if (m < 1 || m > 5 || m == montagne_chargee || !montagnes[std::size_t(m)]) return;
  const MontagneOptionsVue& d = *montagnes[std::size_t(m)];
  for (Tmatrice* t : {relief_apercu.get(), relief_rapide.get()}) {
    t->placer_cible(d.cible_x, d.cible_y, d.altitude_cible);
    t->placer_observateur(d.observateur_x, d.observateur_y, d.altitude_observateur);
  }
  for (int i = 1; i <= 36; ++i)
    for (int j = 1; j <= 36 && i + j < 40; ++j) relief_apercu->hauteurs->ecrire(i, j, d.echantillons[i][j]);
  for (int i = 1; i <= 18; ++i)
    for (int j = 1; j <= 18; ++j) relief_rapide->hauteurs->ecrire(i, j, relief_apercu->hauteurs->lire(2 * i - 1, 2 * j - 1));
  montagne_chargee = static_cast<std::uint16_t>(m);
}

}  // namespace dialogs
