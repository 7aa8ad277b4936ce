// The Weather page of the view options dialog.
#include "dialogs/options_vue_meteo.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "controls/checkbox.h"
#include "controls/trackbar.h"
#include "dialogs/options_vue_boites.h"
#include "fenetres/dossiers.h"
#include "fenetres/elements_pages.h"
#include "fenetres/saisie.h"
#include "model/aleatoire.h"
#include "model/matrice.h"
#include "render/ciel.h"
#include "render/palette.h"

using namespace fenetres;

namespace dialogs {

namespace {

constexpr render::Pixel kAqua = render::pixel_rgb(0, 255, 255);
// Roles of the sky list's entries: the whole file name, and why the sky
// cannot draw the picture (empty when it can).
constexpr int kRoleNom = Qt::UserRole;
constexpr int kRoleRaison = Qt::UserRole + 1;
constexpr double kDegre = 3.14159265358979323846 / 180;

// The eight edits: name, field, default for unreadable text.
struct EditMeteo {
  const char* nom;
  std::int32_t param_vue::*champ;
  std::int32_t defaut;
};
constexpr EditMeteo kEdits[8] = {
    {"Edit1_brume", &param_vue::brume_densite, 0},       {"Edit1_ht_brume", &param_vue::hauteur_brume, 4000},
    {"Edit_nombrenuages", &param_vue::nombre_nuages, 0}, {"Edit_taillenuages", &param_vue::taille_nuages, 0},
    {"Edit_hautnuages", &param_vue::hauteur_nuages, 0},  {"Edit_agitmer", &param_vue::agitation_mer, 0},
    {"Edit_txreflets", &param_vue::taux_reflet, 10},     {"Edit_horizon", &param_vue::hauteur_horizon, 10}};

QRadioButton* radio(QWidget* page, QButtonGroup* groupe, const QString& nom, const char* texte, QRect g, int id) {
  auto* r = new QRadioButton(texte, page);
  r->setObjectName(nom);
  r->setGeometry(g);
  groupe->addButton(r, id);
  return r;
}

QPushButton* bouton(QWidget* page, const char* nom, const char* texte, QRect g) {
  auto* b = new QPushButton(texte, page);
  b->setObjectName(nom);
  b->setGeometry(g);
  return b;
}

// The names the sky drawing loads: ".bmp" or ".jpg" exactly.
bool image_de_ciel(const std::string& nom) {
  auto finit = [&](const char* e) { return nom.size() > 4 && nom.compare(nom.size() - 4, 4, e) == 0; };
  return finit(".bmp") || finit(".jpg");
}

}  // namespace

PageMeteoVue::PageMeteoVue(const param_vue& v, ContexteOptionsVue& contexte, QWidget* parent)
    : PageOptionsVue(v, contexte, parent) {
  setObjectName("Option_meteo");
  construire();
  construire_ciel();
  connecter();
  connecter_ciel();
  remplir_liste_ciels();
  selectionner_ciel();
}

PageMeteoVue::~PageMeteoVue() { taire_controles(); }

void PageMeteoVue::construire() {
  auto* temps = new QButtonGroup(this);
  const char* t[] = {"Sunny", "Mist", "Overcast"};
  for (int k = 0; k < 3; ++k)
    RadioGroup_temps[std::size_t(k)] =
        radio(this, temps, QString("RadioGroup_temps_%1").arg(k), t[k], {8, 6 + 20 * k, 90, 20}, k);
  etiquette(this, "Mist", {104, 6, 40, 18});
  scrollbar_brume = barre(this, "scrollbar_brume", Qt::Horizontal, 1, 100, {146, 8, 100, 16});
  btn_brume_moins = bouton(this, "btn_brume_moins", "-", {250, 4, 20, 22});
  btn_brume_plus = bouton(this, "btn_brume_plus", "+", {272, 4, 20, 22});
  edits_[0] = zone_saisie(this, kEdits[0].nom, {296, 4, 40, 22});
  etiquette(this, "Height", {104, 34, 40, 18});
  ScrollBar_ht_brume = barre(this, "ScrollBar_ht_brume", Qt::Horizontal, 0, 4000, {146, 36, 146, 16});
  ScrollBar_ht_brume->setPageStep(200);
  edits_[1] = zone_saisie(this, kEdits[1].nom, {296, 32, 40, 22});
  CheckBox_horizon = coche(this, "CheckBox_horizon", "Horizon", {8, 74, 90, 20});
  etiquette(this, "Lower the horizon", {104, 74, 110, 18});
  TrackBar_horizon = glissiere(this, "TrackBar_horizon", 0, 30, {214, 68, 80, 30});
  edits_[7] = zone_saisie(this, kEdits[7].nom, {296, 72, 40, 22});
}

// The sky, the clouds, the sea and the three previews.
void PageMeteoVue::construire_ciel() {
  auto* ciel = new QButtonGroup(this);
  const char* c[] = {"light sky", "cloudy sky", "imported sky"};
  for (int k = 0; k < 3; ++k)
    RadioGroup_ciel[std::size_t(k)] =
        radio(this, ciel, QString("RadioGroup_ciel_%1").arg(k), c[k], {8, 104 + 20 * k, 110, 20}, k);
  FileListBox_images = new QListWidget(this);
  FileListBox_images->setObjectName("FileListBox_images");
  FileListBox_images->setGeometry(8, 168, 110, 80);
  Label_import = etiquette(this, "", {8, 250, 110, 34});
  Label_import->setObjectName("Label_import");
  Label_import->setWordWrap(true);  // ": unreadable" goes to a second line when the name fills the first
  Label_import->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  const char* nuages[] = {"Clouds", "Size", "Height"};
  const char* noms[] = {"TrackBar_nbnuages", "Trackbar_taille_nuages", "trackbar_hautnuage"};
  CtlTrackBar** barres[] = {&TrackBar_nbnuages, &Trackbar_taille_nuages, &trackbar_hautnuage};
  const int maxi[] = {20, 20, 10};
  for (int k = 0; k < 3; ++k) {
    etiquette(this, nuages[k], {124, 106 + 30 * k, 50, 18});
    *barres[k] = glissiere(this, noms[k], 1, maxi[k], {172, 100 + 30 * k, 120, 30});
    edits_[std::size_t(2 + k)] = zone_saisie(this, kEdits[2 + k].nom, {296, 104 + 30 * k, 40, 22});
  }
  CheckBox_alea = coche(this, "CheckBox_alea", "Random", {124, 196, 80, 20});
  CheckBox_orage = coche(this, "CheckBox_orage", "Stormy", {206, 196, 80, 20});
  Changer = bouton(this, "Changer", "Change", {288, 194, 60, 24});
  etiquette(this, "Sea", {124, 230, 40, 18});
  Trackbar_agitmer = glissiere(this, "Trackbar_agitmer", 0, 10, {172, 224, 120, 30});
  edits_[5] = zone_saisie(this, kEdits[5].nom, {296, 228, 40, 22});
  CheckBox_reflets = coche(this, "CheckBox_reflets", "Reflexion", {124, 258, 90, 20});
  Trackbar_txreflets = glissiere(this, "Trackbar_txreflets", 0, 10, {214, 254, 80, 30});
  edits_[6] = zone_saisie(this, kEdits[6].nom, {296, 258, 40, 22});
  const char* apercus[] = {"Image_brume", "Image_ciel", "Image_mer"};
  PreviewBox** boites[] = {&Image_brume, &Image_ciel, &Image_mer};
  for (int k = 0; k < 3; ++k) {
    *boites[k] = new PreviewBox(this, kLargeurApercu, kHauteurApercu);
    (*boites[k])->setObjectName(apercus[k]);
    (*boites[k])->move(360, 4 + 106 * k);
  }
}

// The weather, the mist, the horizon and the edits.
void PageMeteoVue::connecter() {
  for (int k = 0; k < 3; ++k) {
    connect(RadioGroup_temps[std::size_t(k)], &QRadioButton::clicked, this, [this, k] { RadioGroup_tempsClick(k); });
    connect(RadioGroup_ciel[std::size_t(k)], &QRadioButton::clicked, this, [this, k] { RadioGroup_cielClick(k); });
  }
  sur_defilement(scrollbar_brume, this, [this](int, int position) { changer_densite(position); });
  connect(btn_brume_moins, &QPushButton::clicked, this, [this] {
    if (vue_.brume_densite > 1) changer_densite(vue_.brume_densite - 1);
  });
  connect(btn_brume_plus, &QPushButton::clicked, this, [this] {
    if (vue_.brume_densite < 100) changer_densite(vue_.brume_densite + 1);
  });
  sur_defilement(ScrollBar_ht_brume, this, [this](int, int position) {
    vue_.hauteur_brume = 4000 - position;
    drapeau_brume_ = true;
    afficher_meteo();
    emit change();
  });
  connect(CheckBox_horizon, &CtlCheckBox::changed, this, [this] {
    vue_.horizon = CheckBox_horizon->Checked();
    if (vue_.horizon) drapeau_ciel_ = true;
    else vue_.type_ciel = 0;
    charger_meteo();
    emit change();
  });
  connect(TrackBar_horizon, &CtlTrackBar::changed, this, [this] {
    vue_.hauteur_horizon = 30 - TrackBar_horizon->Position();
    afficher_meteo();
    emit change();
  });
  for (QLineEdit* e : edits_) connect(e, &QLineEdit::editingFinished, this, [this, e] { Edit1_meteoChange(e); });
  Image_brume->fixer_rendu([this](render::Bitmap& b) { rendre_brume(b); });
  Image_ciel->fixer_rendu([this](render::Bitmap& b) { rendre_ciel(b); });
  Image_mer->fixer_rendu([this](render::Bitmap& b) { rendre_mer(b); });
}

// The sky list, the clouds and the sea.
void PageMeteoVue::connecter_ciel() {
  // The arrow keys choose as a click does.
  connect(FileListBox_images, &QListWidget::currentItemChanged, this, [this] {
    if (!selection_par_code_) FileListBox_imagesClick();
  });
  connect(FileListBox_images, &QListWidget::itemClicked, this, [this] { FileListBox_imagesClick(); });
  const std::pair<CtlTrackBar*, std::int32_t param_vue::*> nuages[] = {
      {TrackBar_nbnuages, &param_vue::nombre_nuages},
      {Trackbar_taille_nuages, &param_vue::taille_nuages},
      {trackbar_hautnuage, &param_vue::hauteur_nuages}};
  for (auto [t, champ] : nuages)
    connect(t, &CtlTrackBar::changed, this, [this, t = t, champ = champ] {
      vue_.*champ = t->Position();
      drapeau_ciel_ = true;
      afficher_meteo();
      emit change();
    });
  connect(CheckBox_orage, &CtlCheckBox::changed, this, [this] {
    vue_.orageux = CheckBox_orage->Checked();
    drapeau_ciel_ = true;
    afficher_meteo();
    emit change();
  });
  connect(CheckBox_alea, &CtlCheckBox::changed, this, [this] {
    vue_.alea_nuages = CheckBox_alea->Checked();
    // The clouds last seen on the displayed mountain are kept.
    if (!vue_.alea_nuages && contexte_.terrain()) vue_.seed_nuages = contexte_.terrain()->etat_rendu.resultat_ciel;
    emit change();
  });
  connect(Changer, &QPushButton::clicked, this, &PageMeteoVue::ChangerClick);
  for (auto [t, champ] : {std::pair{Trackbar_agitmer, &param_vue::agitation_mer},
                          std::pair{Trackbar_txreflets, &param_vue::taux_reflet}})
    connect(t, &CtlTrackBar::changed, this, [this, t = t, champ = champ] {
      vue_.*champ = t->Position();
      drapeau_mer_ = true;
      afficher_meteo();
      emit change();
    });
  connect(CheckBox_reflets, &CtlCheckBox::changed, this, [this] {
    vue_.reflet = CheckBox_reflets->Checked();
    Trackbar_txreflets->setEnabled(vue_.reflet && vue_.horizon);
    drapeau_mer_ = true;
    afficher_meteo();
    emit change();
  });
}

void PageMeteoVue::remplir_liste_ciels() {
  namespace fs = std::filesystem;
  FileListBox_images->clear();
  std::vector<std::string> noms;
  std::error_code ec;
  const std::string& dossier = contexte_.dossier_liste_ciels();
  for (fs::directory_iterator it(dossier, ec), fin; !ec && it != fin; it.increment(ec))
    if (it->is_regular_file(ec) && image_de_ciel(it->path().filename().string()))
      noms.push_back(it->path().filename().string());
  std::sort(noms.begin(), noms.end());
  const QFontMetrics mesure(FileListBox_images->font());
  // The room for a name: the list's inside, less its scroll bar when the names overflow it.
  const int interieur = FileListBox_images->width() - 2 * FileListBox_images->frameWidth();
  const int lignes = (FileListBox_images->height() - 2 * FileListBox_images->frameWidth()) / (mesure.height() + 2);
  const int barre = static_cast<int>(noms.size()) > lignes
                        ? FileListBox_images->style()->pixelMetric(QStyle::PM_ScrollBarExtent)
                        : 0;
  const int place = interieur - barre - 6;
  for (const std::string& n : noms) {
    const QString nom = QString::fromLocal8Bit(n.c_str());
    auto* item = new QListWidgetItem(mesure.elidedText(nom, Qt::ElideMiddle, place), FileListBox_images);
    item->setData(kRoleNom, nom);
    const std::string raison = render::raison_ciel_illisible((fs::path(dossier) / n).string());
    if (raison.empty()) {
      item->setToolTip(nom);
      continue;
    }
    const QString texte = QString::fromLocal8Bit(("Cannot be drawn: " + raison).c_str());
    item->setData(kRoleRaison, texte);
    item->setToolTip(nom + "\n" + texte);
    item->setFlags(item->flags() & ~(Qt::ItemIsEnabled | Qt::ItemIsSelectable));
  }
}

// The entry of the record's sky picture is the one selected: the picture the
// sky would draw, when it is a file of the list; none otherwise.
void PageMeteoVue::selectionner_ciel() {
  namespace fs = std::filesystem;
  QListWidgetItem* choisi = nullptr;
  const std::string dossier = contexte_.dossier_liste_ciels();
  std::string chemin = render::fichier_ciel_utilisable(vue_.fichier_ciel, dossier);
  if (vue_.fichier_ciel.empty() && contexte_.ciel_present()) chemin = (fs::path(dossier) / "nuage.jpg").string();
  for (int k = 0; k < FileListBox_images->count() && !chemin.empty(); ++k) {
    QListWidgetItem* item = FileListBox_images->item(k);
    std::error_code ec;
    const fs::path fichier = fs::path(dossier) / item->data(kRoleNom).toString().toLocal8Bit().toStdString();
    if ((item->flags() & Qt::ItemIsEnabled) && fs::equivalent(fichier, chemin, ec)) choisi = item;
  }
  selection_par_code_ = true;
  FileListBox_images->setCurrentItem(choisi);
  if (!choisi) FileListBox_images->clearSelection();
  selection_par_code_ = false;
}

// ---------------------------------------------------------------- load, store, show

void PageMeteoVue::charger(const param_vue& v) {
  vue_ = v;
  drapeau_brume_ = drapeau_ciel_ = drapeau_mer_ = true;
  charger_meteo();
}

void PageMeteoVue::ranger(param_vue& v) const {
  v.ombre_portee = vue_.ombre_portee;
  v.brume = vue_.brume;
  v.brume_densite = vue_.brume_densite;
  v.hauteur_brume = vue_.hauteur_brume;
  v.horizon = vue_.horizon;
  v.hauteur_horizon = vue_.hauteur_horizon;
  v.type_ciel = vue_.type_ciel;
  v.fichier_ciel = vue_.fichier_ciel;
  v.nombre_nuages = vue_.nombre_nuages;
  v.taille_nuages = vue_.taille_nuages;
  v.hauteur_nuages = vue_.hauteur_nuages;
  v.alea_nuages = vue_.alea_nuages;
  v.orageux = vue_.orageux;
  v.seed_nuages = vue_.seed_nuages;
  v.agitation_mer = vue_.agitation_mer;
  v.reflet = vue_.reflet;
  v.taux_reflet = vue_.taux_reflet;
}

void PageMeteoVue::charger_meteo() {
  const param_vue& v = vue_;
  palette_ = palette_de(v, true);
  scrollbar_brume->setValue(v.brume_densite);
  ScrollBar_ht_brume->setValue(4000 - v.hauteur_brume);
  const int temps = v.ombre_portee ? 0 : v.brume ? 1 : 2;
  RadioGroup_temps[std::size_t(temps)]->setChecked(true);
  for (QWidget* w : std::initializer_list<QWidget*>{scrollbar_brume, ScrollBar_ht_brume, btn_brume_moins,
                                                     btn_brume_plus, edits_[0], edits_[1]})
    w->setEnabled(v.brume != 0);
  CheckBox_reflets->SetChecked(v.reflet != 0);
  Trackbar_txreflets->setEnabled(v.horizon && v.reflet);
  TrackBar_horizon->setEnabled(v.horizon != 0);
  CheckBox_alea->SetChecked(v.alea_nuages != 0);
  CheckBox_orage->SetChecked(v.orageux != 0);
  CheckBox_horizon->SetChecked(v.horizon != 0);
  selectionner_ciel();
  const int ciel = std::clamp<int>(v.type_ciel, 0, 2);
  for (int k = 0; k < 3; ++k) RadioGroup_ciel[std::size_t(k)]->setEnabled(v.horizon != 0);
  RadioGroup_ciel[std::size_t(ciel)]->setChecked(true);
  FileListBox_images->setEnabled(v.horizon && v.type_ciel == 2);
  for (QWidget* w : std::initializer_list<QWidget*>{TrackBar_nbnuages, Trackbar_taille_nuages, trackbar_hautnuage,
                                                     CheckBox_alea, CheckBox_orage})
    w->setEnabled(v.type_ciel == 1);
  placer(TrackBar_nbnuages, v.nombre_nuages);
  placer(Trackbar_taille_nuages, v.taille_nuages);
  placer(trackbar_hautnuage, v.hauteur_nuages);
  placer(Trackbar_agitmer, v.agitation_mer);
  placer(Trackbar_txreflets, v.taux_reflet);
  placer(TrackBar_horizon, 30 - v.hauteur_horizon);
  afficher_meteo();
}

void PageMeteoVue::afficher_meteo() {
  const param_vue& v = vue_;
  for (int k = 0; k < 8; ++k) edits_[std::size_t(k)]->setText(QString::number(v.*(kEdits[k].champ)));
  if (contexte_.ciel_present()) {
    const QString nom = QString::fromLocal8Bit(std::filesystem::path(v.fichier_ciel).filename().string().c_str());
    QString raison;
    for (int k = 0; k < FileListBox_images->count(); ++k)
      if (FileListBox_images->item(k)->data(kRoleNom).toString() == nom)
        raison = FileListBox_images->item(k)->data(kRoleRaison).toString();
    const QString court = QFontMetrics(Label_import->font()).elidedText(nom, Qt::ElideMiddle, Label_import->width());
    Label_import->setText(raison.isEmpty() ? court : court + ": unreadable");
    Label_import->setToolTip(raison.isEmpty() ? nom : nom + "\n" + raison);
  }
  if (drapeau_brume_) Image_brume->invalidate();
  if (drapeau_ciel_) Image_ciel->invalidate();
  if (drapeau_mer_) Image_mer->invalidate();
}

// ---------------------------------------------------------------- handlers

void PageMeteoVue::changer_densite(int densite) {
  vue_.brume_densite = densite;
  palette_ = palette_de(vue_, true);
  drapeau_brume_ = true;
  afficher_meteo();
  emit change();
}

void PageMeteoVue::RadioGroup_tempsClick(int item) {
  // Sunny is refused while the view shows picture colours.
  if (item == 0 && vue_.photo_aerienne) item = 2;
  vue_.ombre_portee = item == 0 ? 1 : 0;
  vue_.brume = item == 1 ? 1 : 0;
  drapeau_brume_ = true;
  charger_meteo();
  emit change();
}

void PageMeteoVue::RadioGroup_cielClick(int item) {
  vue_.type_ciel = static_cast<std::uint8_t>(item);
  drapeau_ciel_ = true;
  charger_meteo();
  emit change();
}

void PageMeteoVue::FileListBox_imagesClick() {
  const QListWidgetItem* item = FileListBox_images->currentItem();
  if (!contexte_.ciel_present() || !item || !(item->flags() & Qt::ItemIsEnabled)) return;
  vue_.fichier_ciel = (std::filesystem::path(contexte_.dossier_liste_ciels()) /
                       item->data(kRoleNom).toString().toLocal8Bit().toStdString())
                          .string();
  drapeau_ciel_ = true;
  afficher_meteo();
  emit change();
}

void PageMeteoVue::ChangerClick() {
  vue_.seed_nuages = Round(Random() * 40000);
  drapeau_ciel_ = true;
  afficher_meteo();
  emit change();
}

void PageMeteoVue::Edit1_meteoChange(QLineEdit* e) {
  for (int k = 0; k < 8; ++k)
    if (e == edits_[std::size_t(k)]) vue_.*(kEdits[k].champ) = entier_saisi(e->text(), kEdits[k].defaut);
  drapeau_brume_ = drapeau_ciel_ = drapeau_mer_ = true;
  charger_meteo();
  emit change();
}

// ---------------------------------------------------------------- previews

void PageMeteoVue::rendre_brume(render::Bitmap& image) {
  if (!drapeau_brume_) return;
  drapeau_brume_ = false;
  if (!vue_.brume) {
    image.reset(image.width(), image.height(), kAqua);
    return;
  }
  param_vue v = vue_;
  v.foret = v.maillage_filaire = v.ombre_portee = v.premier_plan = v.detail_arbres = v.photo_aerienne = 0;
  contexte_.rendre(contexte_.apercu(), v, *palette_, image);
}

void PageMeteoVue::rendre_ciel(render::Bitmap& image) {
  if (!drapeau_ciel_) return;
  drapeau_ciel_ = false;
  const int W = image.width(), H = image.height();
  if (!vue_.horizon) {
    image.reset(W, H, kAqua);
    return;
  }
  // The sky is computed a little wider than the box, as for a view.
  render::Bitmap ciel(Round(W * 1.02), H);
  render::TCiel dessin;
  render::EntreeCiel e;
  e.ligne_horizon = H;
  e.ligne_terre = H + 10;
  e.hauteur_coins = -50;
  e.largeur = W;
  e.hauteur = 0;
  e.cos_elevation = std::cos(vue_.elevation_soleil * kDegre);
  e.cos_azimut = std::cos(vue_.azimut_soleil * kDegre);
  e.vue = &vue_;
  e.image = &ciel;
  e.palette = palette_.get();
  e.fenetre = contexte_.fenetre();
  e.dossier_ciels = dossiers::ciels(contexte_.dossier_programme());
  dessin.dessiner_ciel(e);
  for (int y = 0; y < H; ++y) std::copy_n(ciel.surface().row(y), W, image.surface().row(y));
}

void PageMeteoVue::rendre_mer(render::Bitmap& image) {
  if (!drapeau_mer_) return;
  drapeau_mer_ = false;
  const int W = image.width(), H = image.height();
  if (!vue_.horizon || vue_.maillage_filaire) {
    image.reset(W, H, render::pixel_of(palette_->lire_couleur(1)));
    const render::Pixel mer = render::pixel_of(palette_->lire_couleur(TMyPalette::kEauSombre));
    for (int y = Round(0.3 * H); y < H; ++y) std::fill_n(image.surface().row(y), W, mer);
    return;
  }
  param_vue v = vue_;
  v.observateur_place = v.foret = 0;
  v.horizon = 1;
  v.maillage_filaire = v.brume = v.ombre_portee = 0;
  v.zoom = 20;
  v.distance = 5.0;
  v.angle_vertical = 6;
  v.angle_horizontal = 0;
  v.elevation_soleil = 35;
  v.azimut_soleil = 89;
  v.niveau_mer = 20;
  v.largeur_image = 1;
  v.hauteur_image = -2;
  v.centre_x = -2;
  v.centre_y = 4;
  v.premier_plan = v.detail_arbres = 0;
  contexte_.rendre(contexte_.plat(), v, *palette_, image);
}

}  // namespace dialogs
