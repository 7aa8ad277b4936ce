// The Weather page of the view options dialog: sunny, mist or overcast, mist
// density and height, the horizon and its lowering, the sky (light, clouded
// or a picture of the program's sky folder) and its clouds, the sea's
// choppiness and reflections; the mist, sky and sea previews.
#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "fenetres/dossiers.h"
#include "fenetres/elements_pages.h"
#include "fenetres/saisie.h"
#include "controls/checkbox.h"
#include "controls/trackbar.h"
#include "dialogs/options_vue.h"
#include "model/aleatoire.h"
#include "model/matrice.h"
#include "render/bmp.h"
#include "render/ciel.h"
#include "render/jpeg.h"
#include "render/palette.h"

namespace dialogs {

namespace {

constexpr render::Pixel kAqua = render::pixel_rgb(0, 255, 255);
constexpr double kDegre = 3.14159265358979323846 / 180;

// The eight edits: field, default for unreadable text.
struct EditMeteo {
  std::int32_t param_vue::*champ;
  std::int32_t defaut;
};
constexpr EditMeteo kEdits[8] = {{&param_vue::brume_densite, 0},  {&param_vue::hauteur_brume, 4000},
                                 {&param_vue::nombre_nuages, 0},  {&param_vue::taille_nuages, 0},
                                 {&param_vue::hauteur_nuages, 0}, {&param_vue::agitation_mer, 0},
                                 {&param_vue::taux_reflet, 10},   {&param_vue::hauteur_horizon, 10}};

CtlTrackBar* glissiere(QWidget* page, int minimum, int maximum, QRect g) {
  auto* t = new CtlTrackBar(page);
  t->SetMinValue(minimum);
  t->SetMaxValue(maximum);
  t->setGeometry(g);
  return t;
}

CtlCheckBox* coche(QWidget* page, const char* texte, QRect g) {
  auto* c = new CtlCheckBox(page);
  c->SetCaption(texte);
  c->setGeometry(g);
  return c;
}

void placer(CtlTrackBar* t, int v) {
  const QSignalBlocker b(t);
  t->SetPosition(v);
}

// The names the sky drawing loads: ".bmp" or ".jpg" exactly.
bool image_de_ciel(const std::string& nom) {
  auto finit = [&](const char* e) { return nom.size() > 4 && nom.compare(nom.size() - 4, 4, e) == 0; };
  return finit(".bmp") || finit(".jpg");
}

// Why the sky drawing would leave the picture out; empty when it can draw it.
std::string raison_ciel_illisible(const std::string& chemin) {
  render::Bitmap image;
  std::string raison;
  if (chemin.size() > 4 && chemin.compare(chemin.size() - 4, 4, ".bmp") == 0)
    return render::lire_bmp(chemin, image, &raison, 1) ? std::string() : raison;  // walks it, keeps one pixel
  return render::lire_jpeg(chemin, image) ? std::string() : "the JPEG picture cannot be decoded";
}

}  // namespace

void TPagesDlg2::construire_meteo(QWidget* page) {
  auto* temps = new QButtonGroup(page);
  const char* t[] = {"Sunny", "Mist", "Overcast"};
  for (int k = 0; k < 3; ++k) {
    RadioGroup_temps[std::size_t(k)] = new QRadioButton(t[k], page);
    RadioGroup_temps[std::size_t(k)]->setGeometry(8, 6 + 20 * k, 90, 20);
    temps->addButton(RadioGroup_temps[std::size_t(k)], k);
  }
  auto etiquette = [page](const char* texte, QRect g) {
    auto* l = new QLabel(texte, page);
    l->setGeometry(g);
    return l;
  };
  auto edit = [page](QRect g) {
    auto* e = new QLineEdit(page);
    e->setGeometry(g);
    return e;
  };
  etiquette("Mist", {104, 6, 40, 18});
  scrollbar_brume = barre(page, Qt::Horizontal, 1, 100, {146, 8, 100, 16});
  btn_brume_moins = new QPushButton("-", page);
  btn_brume_moins->setGeometry(250, 4, 20, 22);
  btn_brume_plus = new QPushButton("+", page);
  btn_brume_plus->setGeometry(272, 4, 20, 22);
  edits_meteo[0] = edit({296, 4, 40, 22});
  etiquette("Height", {104, 34, 40, 18});
  ScrollBar_ht_brume = barre(page, Qt::Horizontal, 0, 4000, {146, 36, 146, 16});
  ScrollBar_ht_brume->setPageStep(200);
  edits_meteo[1] = edit({296, 32, 40, 22});
  CheckBox_horizon = coche(page, "Horizon", {8, 74, 90, 20});
  etiquette("Lower the horizon", {104, 74, 110, 18});
  TrackBar_horizon = glissiere(page, 0, 30, {214, 68, 80, 30});
  edits_meteo[7] = edit({296, 72, 40, 22});
  auto* ciel = new QButtonGroup(page);
  const char* c[] = {"light sky", "cloudy sky", "imported sky"};
  for (int k = 0; k < 3; ++k) {
    RadioGroup_ciel[std::size_t(k)] = new QRadioButton(c[k], page);
    RadioGroup_ciel[std::size_t(k)]->setGeometry(8, 104 + 20 * k, 110, 20);
    ciel->addButton(RadioGroup_ciel[std::size_t(k)], k);
  }
  FileListBox_images = new QListWidget(page);
  FileListBox_images->setGeometry(8, 168, 110, 80);
  Label_import = etiquette("", {8, 250, 110, 18});
  const char* nuages[] = {"Clouds", "Size", "Height"};
  CtlTrackBar** barres[] = {&TrackBar_nbnuages, &Trackbar_taille_nuages, &trackbar_hautnuage};
  const int maxi[] = {20, 20, 10};
  for (int k = 0; k < 3; ++k) {
    etiquette(nuages[k], {124, 106 + 30 * k, 50, 18});
    *barres[k] = glissiere(page, 1, maxi[k], {172, 100 + 30 * k, 120, 30});
    edits_meteo[std::size_t(2 + k)] = edit({296, 104 + 30 * k, 40, 22});
  }
  CheckBox_alea = coche(page, "Random", {124, 196, 80, 20});
  CheckBox_orage = coche(page, "Stormy", {206, 196, 80, 20});
  Changer = new QPushButton("Change", page);
  Changer->setGeometry(288, 194, 60, 24);
  etiquette("Sea", {124, 230, 40, 18});
  Trackbar_agitmer = glissiere(page, 0, 10, {172, 224, 120, 30});
  edits_meteo[5] = edit({296, 228, 40, 22});
  CheckBox_reflets = coche(page, "Reflexion", {124, 258, 90, 20});
  Trackbar_txreflets = glissiere(page, 0, 10, {214, 254, 80, 30});
  edits_meteo[6] = edit({296, 258, 40, 22});
  Image_brume = new PreviewBox(page, 150, 100);
  Image_brume->move(360, 4);
  Image_ciel = new PreviewBox(page, 150, 100);
  Image_ciel->move(360, 110);
  Image_mer = new PreviewBox(page, 150, 100);
  Image_mer->move(360, 216);
}

void TPagesDlg2::connecter_meteo() {
  for (int k = 0; k < 3; ++k) {
    connect(RadioGroup_temps[std::size_t(k)], &QRadioButton::clicked, this, [this, k] { RadioGroup_tempsClick(k); });
    connect(RadioGroup_ciel[std::size_t(k)], &QRadioButton::clicked, this, [this, k] { RadioGroup_cielClick(k); });
  }
  auto densite = [this](int d) {
    vues[0].brume_densite = d;
    nouvelle_palette(true);
    drapeau_brume = true;
    afficher_meteo();
  };
  connect(adaptateurs[scrollbar_brume], &AdaptateurDefilement::defilement, this,
          [densite](int, int position) { densite(position); });
  connect(btn_brume_moins, &QPushButton::clicked, this, [this, densite] {
    if (vues[0].brume_densite > 1) densite(vues[0].brume_densite - 1);
  });
  connect(btn_brume_plus, &QPushButton::clicked, this, [this, densite] {
    if (vues[0].brume_densite < 100) densite(vues[0].brume_densite + 1);
  });
  connect(adaptateurs[ScrollBar_ht_brume], &AdaptateurDefilement::defilement, this, [this](int, int position) {
    vues[0].hauteur_brume = 4000 - position;
    drapeau_brume = true;
    afficher_meteo();
  });
  connect(FileListBox_images, &QListWidget::itemClicked, this, [this] { FileListBox_imagesClick(); });
  connect(CheckBox_horizon, &CtlCheckBox::changed, this, [this] {
    vues[0].horizon = CheckBox_horizon->Checked();
    if (vues[0].horizon) drapeau_ciel = true;
    else vues[0].type_ciel = 0;
    charger_meteo();
  });
  const std::pair<CtlTrackBar*, std::int32_t param_vue::*> nuages[] = {
      {TrackBar_nbnuages, &param_vue::nombre_nuages},
      {Trackbar_taille_nuages, &param_vue::taille_nuages},
      {trackbar_hautnuage, &param_vue::hauteur_nuages}};
  for (auto [t, champ] : nuages)
    connect(t, &CtlTrackBar::changed, this, [this, t, champ] {
      vues[0].*champ = t->Position();
      drapeau_ciel = true;
      afficher_meteo();
    });
  connect(CheckBox_orage, &CtlCheckBox::changed, this, [this] {
    vues[0].orageux = CheckBox_orage->Checked();
    drapeau_ciel = true;
    afficher_meteo();
  });
  connect(CheckBox_alea, &CtlCheckBox::changed, this, [this] {
    vues[0].alea_nuages = CheckBox_alea->Checked();
    // The clouds last seen on the displayed mountain are kept.
    const int m = montagne_affichee;
    if (!vues[0].alea_nuages && m >= 1 && m <= 5 && terrains[std::size_t(m)])
      vues[0].seed_nuages = terrains[std::size_t(m)]->etat_rendu.resultat_ciel;
  });
  connect(Changer, &QPushButton::clicked, this, &TPagesDlg2::ChangerClick);
  for (auto [t, champ] : {std::pair{Trackbar_agitmer, &param_vue::agitation_mer},
                          std::pair{Trackbar_txreflets, &param_vue::taux_reflet}})
    connect(t, &CtlTrackBar::changed, this, [this, t = t, champ = champ] {
      vues[0].*champ = t->Position();
      drapeau_mer = true;
      afficher_meteo();
    });
  connect(TrackBar_horizon, &CtlTrackBar::changed, this, [this] {
    vues[0].hauteur_horizon = 30 - TrackBar_horizon->Position();
    afficher_meteo();
  });
  connect(CheckBox_reflets, &CtlCheckBox::changed, this, [this] {
    vues[0].reflet = CheckBox_reflets->Checked();
    Trackbar_txreflets->setEnabled(vues[0].reflet && vues[0].horizon);
    drapeau_mer = true;
    afficher_meteo();
  });
  for (QLineEdit* e : edits_meteo) connect(e, &QLineEdit::editingFinished, this, [this, e] { Edit1_meteoChange(e); });
  Image_brume->fixer_rendu([this](render::Bitmap& b) { rendre_brume(b); });
  Image_ciel->fixer_rendu([this](render::Bitmap& b) { rendre_ciel(b); });
  Image_mer->fixer_rendu([this](render::Bitmap& b) { rendre_mer(b); });
}

void TPagesDlg2::remplir_liste_ciels() {
  namespace fs = std::filesystem;
  FileListBox_images->clear();
  std::vector<std::string> noms;
  std::error_code ec;
  for (fs::directory_iterator it(dossier_liste_ciels, ec), fin; !ec && it != fin; it.increment(ec))
    if (it->is_regular_file(ec) && image_de_ciel(it->path().filename().string()))
      noms.push_back(it->path().filename().string());
  std::sort(noms.begin(), noms.end());
  // A picture the sky cannot draw is greyed, and its hint says why.
  for (const std::string& n : noms) {
    auto* item = new QListWidgetItem(QString::fromLocal8Bit(n.c_str()), FileListBox_images);
    const std::string raison = raison_ciel_illisible((fs::path(dossier_liste_ciels) / n).string());
    if (raison.empty()) continue;
    item->setForeground(Qt::gray);
    item->setToolTip(QString::fromLocal8Bit(("Cannot be drawn: " + raison).c_str()));
  }
}

// ---------------------------------------------------------------- load and show

void TPagesDlg2::charger_meteo() {
  page_courante = 6;
  const param_vue& v = vues[0];
  nouvelle_palette(true);
  scrollbar_brume->setValue(v.brume_densite);
  ScrollBar_ht_brume->setValue(4000 - v.hauteur_brume);
  const int temps = v.ombre_portee ? 0 : v.brume ? 1 : 2;
  RadioGroup_temps[std::size_t(temps)]->setChecked(true);
  for (QWidget* w : std::initializer_list<QWidget*>{scrollbar_brume, ScrollBar_ht_brume, btn_brume_moins,
                                                     btn_brume_plus, edits_meteo[0], edits_meteo[1]})
    w->setEnabled(v.brume != 0);
  CheckBox_reflets->SetChecked(v.reflet != 0);
  Trackbar_txreflets->setEnabled(v.horizon && v.reflet);
  TrackBar_horizon->setEnabled(v.horizon != 0);
  CheckBox_alea->SetChecked(v.alea_nuages != 0);
  CheckBox_orage->SetChecked(v.orageux != 0);
  CheckBox_horizon->SetChecked(v.horizon != 0);
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

void TPagesDlg2::afficher_meteo() {
  const param_vue& v = vues[0];
  for (int k = 0; k < 8; ++k) edits_meteo[std::size_t(k)]->setText(QString::number(v.*(kEdits[k].champ)));
  if (ciel_present) {
    const QString nom = QString::fromLocal8Bit(std::filesystem::path(v.fichier_ciel).filename().string().c_str());
    const auto trouves = FileListBox_images->findItems(nom, Qt::MatchExactly);
    const QString raison = trouves.isEmpty() ? QString() : trouves.front()->toolTip();
    Label_import->setText(raison.isEmpty() ? nom : nom + ": unreadable");
    Label_import->setToolTip(raison);
  }
  if (drapeau_brume) Image_brume->invalidate();
  if (drapeau_ciel) Image_ciel->invalidate();
  if (drapeau_mer) Image_mer->invalidate();
}

// ---------------------------------------------------------------- handlers

void TPagesDlg2::RadioGroup_tempsClick(int item) {
  param_vue& v = vues[0];
  // Sunny is refused while the view shows picture colours.
  if (item == 0 && v.photo_aerienne) item = 2;
  v.ombre_portee = item == 0 ? 1 : 0;
  v.brume = item == 1 ? 1 : 0;
  drapeau_brume = true;
  charger_meteo();
}

void TPagesDlg2::RadioGroup_cielClick(int item) {
  vues[0].type_ciel = static_cast<std::uint8_t>(item);
  drapeau_ciel = true;
  charger_meteo();
}

void TPagesDlg2::FileListBox_imagesClick() {
  if (!ciel_present || !FileListBox_images->currentItem()) return;
  vues[0].fichier_ciel =
      (std::filesystem::path(dossier_liste_ciels) / FileListBox_images->currentItem()->text().toLocal8Bit().toStdString())
          .string();
  drapeau_ciel = true;
  afficher_meteo();
}

void TPagesDlg2::ChangerClick() {
  vues[0].seed_nuages = Round(Random() * 40000);
  drapeau_ciel = true;
  afficher_meteo();
}

void TPagesDlg2::Edit1_meteoChange(QLineEdit* e) {
  for (int k = 0; k < 8; ++k)
    if (e == edits_meteo[std::size_t(k)]) vues[0].*(kEdits[k].champ) = entier_saisi(e->text(), kEdits[k].defaut);
  drapeau_brume = drapeau_ciel = drapeau_mer = true;
  charger_meteo();
}

// ---------------------------------------------------------------- previews

void TPagesDlg2::rendre_brume(render::Bitmap& image) {
  if (!drapeau_brume) return;
  drapeau_brume = false;
  if (!vues[0].brume) {
    image.reset(image.width(), image.height(), kAqua);
    return;
  }
  param_vue v = vues[0];
  v.foret = v.maillage_filaire = v.ombre_portee = v.premier_plan = v.detail_arbres = v.photo_aerienne = 0;
  charger_apercu_relief();
  rendre(*relief_apercu, v, image);
}

void TPagesDlg2::rendre_ciel(render::Bitmap& image) {
  if (!drapeau_ciel) return;
  drapeau_ciel = false;
  const int W = image.width(), H = image.height();
  if (!vues[0].horizon) {
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
  e.cos_elevation = std::cos(vues[0].elevation_soleil * kDegre);
  e.cos_azimut = std::cos(vues[0].azimut_soleil * kDegre);
  e.vue = &vues[0];
  e.image = &ciel;
  e.palette = palette.get();
  e.fenetre = handle_;
  e.dossier_ciels = dossiers::ciels(dossier_programme);
  dessin.dessiner_ciel(e);
  for (int y = 0; y < H; ++y)
    std::copy_n(ciel.surface().row(y), W, image.surface().row(y));
}

void TPagesDlg2::rendre_mer(render::Bitmap& image) {
  if (!drapeau_mer) return;
  drapeau_mer = false;
  const int W = image.width(), H = image.height();
  if (!vues[0].horizon || vues[0].maillage_filaire) {
    image.reset(W, H, render::pixel_of(palette->lire_couleur(1)));
    const render::Pixel mer = render::pixel_of(palette->lire_couleur(6));
    for (int y = Round(0.3 * H); y < H; ++y) std::fill_n(image.surface().row(y), W, mer);
    return;
  }
  param_vue v = vues[0];
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
  rendre(*relief_arbres, v, image);
}

}  // namespace dialogs
