// The creation options dialog's controls: the four pages, the bottom panel
// and the preview, built completely before the handlers are connected.
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "fenetres/donnees_images.h"
#include "fenetres/elements_pages.h"
#include "controls/backpanel.h"
#include "controls/button.h"
#include "controls/checkbox.h"
#include "controls/image.h"
#include "controls/listbox.h"
#include "controls/shapebutton.h"
#include "controls/trackbar.h"
#include "dialogs/creation.h"
#include "fenetres/dialogue_fixe.h"
#include "fenetres/aide_enfants.h"
#include "dialogs/creation_arbres.h"
#include "dialogs/creation_controles.h"
#include "model/aleatoire.h"
#include "model/matrice.h"

namespace dialogs {

void habiller_fond(CtlBackPanel* fond) {
  fond->Bevel().SetWidthOuter(0);
  fond->Bevel().SetWidthInner(0);
  fond->SetListIndex(images::kDialogTile);
  if (TData* d = TData::Instance()) fond->SetImageList(&d->BitmapList);
}

QLineEdit* champ_creation(QWidget* parent, int largeur) {
  auto* e = new QLineEdit(parent);
  e->setFixedWidth(largeur);
  return e;
}

CtlCheckBox* case_creation(QWidget* parent, const QString& texte, const QString& indication) {
  auto* c = new CtlCheckBox(parent);
  c->SetCaption(texte);
  c->setToolTip(indication);
  c->SetTransparent(true);
  c->setFixedSize(c->fontMetrics().horizontalAdvance(texte) + 28, 20);
  return c;
}

}  // namespace dialogs

namespace {

using dialogs::case_creation;
using dialogs::champ_creation;

CtlShapeButton* bouton_forme(QWidget* parent, const QString& texte, const QString& indication, int l, int h) {
  auto* b = new CtlShapeButton(parent);
  b->SetCaption(texte);
  b->setToolTip(indication);
  b->setFixedSize(l, h);
  return b;
}

CtlButton* bouton(QWidget* parent, const QString& texte, const QString& indication = {}) {
  auto* b = new CtlButton(parent);
  b->setText(texte);
  b->setToolTip(indication);
  b->setFixedSize(80, 25);
  return b;
}

// The page's background: the dialogs' tile.
void fond_de_page(QWidget* page) {
  auto* fond = new CtlBackPanel(page);
  dialogs::habiller_fond(fond);
  auto* l = new QVBoxLayout(page);
  l->setContentsMargins(0, 0, 0, 0);
  l->addWidget(fond);
}

QWidget* contenu(QWidget* page) {
  fond_de_page(page);
  return page->findChild<CtlBackPanel*>();
}

}  // namespace

TPagesdlg1::TPagesdlg1(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Adjustments of the mountain");
  handle_ = platform::register_window([](const platform::Message&) -> std::intptr_t { return 0; });
  mode = 0;
  texte_cle_libre = 1;
  Randomize();
  voir = 0;
  palette_apercu = std::make_unique<TMyPalette>(false, 4);
  palette_apercu->charger_couleurs_base();
  palette_apercu->construire(50, 20, false, 0);
  vue_apercu = dialogs::vue_apercu();
  degre_apercu = 5;
  rotation = 0;

  PageControl1 = new fenetres::OngletsPlats(this);
  PageControl1->setMinimumSize(700, 370);
  construire_montagne(PageControl1->ajouter_page(kMontagne, "Mountain"));
  QWidget* onglet_arbres = PageControl1->ajouter_page(kArbres, "Trees");
  arbres = new dialogs::PageArbres(onglet_arbres);
  auto* pose = new QVBoxLayout(onglet_arbres);
  pose->setContentsMargins(0, 0, 0, 0);
  pose->addWidget(arbres);
  construire_additifs(PageControl1->ajouter_page(kAdditifs, "Additive"));
  construire_profils(PageControl1->ajouter_page(kProfils, "profiles"));

  auto* haut = new QHBoxLayout;
  haut->addWidget(PageControl1, 1);
  haut->addWidget(construire_apercu());
  auto* v = new QVBoxLayout(this);
  v->addLayout(haut, 1);
  v->addWidget(construire_bas());
  fixer_page(kMontagne);
  connecter();
  lier_touche_aide(*this, [this] { return sujet_aide(); });
  bordure_dialogue_fixe(*this);
}

QWidget* TPagesdlg1::construire_montagne(QWidget* page) {
  QWidget* p = contenu(page);
  auto* g = new QGridLayout(p);
  auto rangee = [&](int ligne, const char* titre, QLineEdit*& e, QScrollBar*& b, int min, int max, int pas,
                    int page_pas, std::int32_t param_mat::* champ, int defaut, const char* indication) {
    g->addWidget(new QLabel(titre, p), ligne, 0);
    e = champ_creation(p);
    g->addWidget(e, ligne, 1);
    fenetres::AdaptateurDefilement* a = nullptr;
    b = fenetres::barre_defilement(p, Qt::Horizontal, min, max, pas, page_pas, &a);
    b->setToolTip(indication);
    b->setMinimumWidth(200);
    g->addWidget(b, ligne, 2, 1, 2);
    barres_.push_back({b, e, champ, min, max, defaut});
    adaptateurs_.push_back({b, a});
  };
  rangee(0, "Relief", Edit_relief, ScrollBar_relief, 1, 100, 1, 10, &param_mat::relief, 50,
         "Mean altitude of the landscape");
  rangee(1, "Profile", Edit_profil, ScrollBar_profil, 1, 100, 1, 10, &param_mat::profil, 50,
         "Rough degree of relief");
  rangee(2, "Erosion", Edit_erosion, ScrollBar_erosion, 0, 40, 1, 5, &param_mat::erosion, 0,
         "Intensity of erosion");
  rangee(3, "Erosion start", Edit_deperosion, ScrollBar_deperosion, 0, 4000, 5, 50, &param_mat::altitude_erosion,
         0, "Starting altitude for erosion (in relation to the highest point)");
  rangee(4, "Smoothing", Edit_lissage, ScrollBar_lissage, 0, 40, 1, 5, &param_mat::taux_lissage, 0,
         "Smooth rate");
  g->addWidget(new QLabel("Dispersion", p), 5, 0);
  Edit_etal = champ_creation(p);
  g->addWidget(Edit_etal, 5, 1);
  TrackBar_etal = new CtlTrackBar(p);
  TrackBar_etal->SetMinValue(1);
  TrackBar_etal->SetMaxValue(6);
  TrackBar_etal->setFixedSize(200, 35);
  TrackBar_etal->setToolTip("Geographical dispersion of the mountain");
  g->addWidget(TrackBar_etal, 5, 2, 1, 2);
  ListBox_mail = new CtlListBox(p);
  ListBox_mail->SetDelimiter(u':');
  ListBox_mail->AddSection("Degree", 45);
  ListBox_mail->AddSection("Nr polygons", 112);
  ListBox_mail->SetGridLines(glVertical);
  QFont petite = ListBox_mail->font();
  petite.setPixelSize(10);
  ListBox_mail->SetListFont(petite);
  for (const char* t : dialogs::kTextesMaillage) ListBox_mail->AddItem(t);
  ListBox_mail->setToolTip("Number of polygons");
  ListBox_mail->setFixedSize(172, 140);
  g->addWidget(ListBox_mail, 6, 0, 3, 2);
  Combo_CLE = new QComboBox(p);
  Combo_CLE->setEditable(true);
  Combo_CLE->setInsertPolicy(QComboBox::NoInsert);
  Combo_CLE->setMinimumWidth(120);
  Combo_CLE->setToolTip("Generation key: Unroll to see the last mountains");
  g->addWidget(Combo_CLE, 6, 2);
  BitBtn1 = bouton(p, "&New Mountain", "To Change the generation key");
  BitBtn1->setFixedWidth(110);
  g->addWidget(BitBtn1, 6, 3);
  checkbox_alea = case_creation(p, "Random");
  CheckBox_iles = case_creation(p, "Island");
  CheckBox_cuv = case_creation(p, "Basin");
  g->addWidget(checkbox_alea, 7, 2);
  g->addWidget(CheckBox_iles, 7, 3);
  g->addWidget(CheckBox_cuv, 8, 2);
  g->setRowStretch(9, 1);
  g->setColumnStretch(2, 1);
  return p;
}

QWidget* TPagesdlg1::construire_additifs(QWidget* page) {
  QWidget* p = contenu(page);
  auto* g = new QGridLayout(p);
  int ligne = 0;
  auto rangee = [&](const char* titre, QLineEdit*& e, QScrollBar*& b, int min, int max,
                    std::int32_t param_mat::* champ, int defaut) {
    g->addWidget(new QLabel(titre, p), ligne, 1);
    e = champ_creation(p);
    g->addWidget(e, ligne, 2);
    fenetres::AdaptateurDefilement* a = nullptr;
    b = fenetres::barre_defilement(p, Qt::Horizontal, min, max, 1, std::max(1, (max - min) / 10), &a);
    b->setToolTip(titre);
    b->setMinimumWidth(180);
    g->addWidget(b, ligne, 3);
    barres_.push_back({b, e, champ, min, max, defaut});
    adaptateurs_.push_back({b, a});
    ++ligne;
  };
  CheckBox_rivage = case_creation(p, "Shore");
  g->addWidget(CheckBox_rivage, ligne, 0);
  rangee("rate", Edit_coeff, ScrollBar_coeff, -30, 30, &param_mat::rivage, 0);
  rangee("Shore height", Edit_hauteur, ScrollBar_rivage, 1, 200, &param_mat::hauteur_rivage, 20);
  CheckBox_terrasses = case_creation(p, "Terraces");
  g->addWidget(CheckBox_terrasses, ligne, 0);
  rangee("Number of terraces", Edit_nb_terr, ScrollBar_nb_terr, 2, 20, &param_mat::nombre_gradins, 2);
  rangee("Slope of the edges of terraces", Edit_pente, ScrollBar_pente, -40, 40, &param_mat::pente_gradins, 0);
  CheckBox_falaise = case_creation(p, "Cliffs");
  g->addWidget(CheckBox_falaise, ligne++, 1);
  CheckBox_lignes = case_creation(p, "Oriented");
  g->addWidget(CheckBox_lignes, ligne, 0);
  rangee("Extension of distorsion", Edit_degre, ScrollBar_degre, 1, 10, &param_mat::hauteur_plis, 0);
  Checkbox_defor = case_creation(p, "Horizontal");
  g->addWidget(Checkbox_defor, ligne, 0);
  rangee("Extension of distortion", Edit_horizon, ScrollBar_horizon, 1, 100, &param_mat::degre_deformation, 0);
  g->setRowStretch(ligne, 1);
  return p;
}

QWidget* TPagesdlg1::construire_profils(QWidget* page) {
  QWidget* p = contenu(page);
  auto* g = new QGridLayout(p);
  for (int m = 3; m <= 10; ++m) {
    const int c = m - 3;
    g->addWidget(new QLabel(QString::number(m), p), 0, c, Qt::AlignHCenter);
    prof[m] = new CtlTrackBar(p);
    prof[m]->SetOrientation(toVertical);
    prof[m]->SetMinValue(0);
    prof[m]->SetMaxValue(8);
    prof[m]->setFixedSize(35, 180);
    g->addWidget(prof[m], 1, c, Qt::AlignHCenter);
    Edit_p[m] = champ_creation(p, 32);
    g->addWidget(Edit_p[m], 2, c, Qt::AlignHCenter);
  }
  g->setRowStretch(3, 1);
  return p;
}

QWidget* TPagesdlg1::construire_apercu() {
  auto* w = new QWidget(this);
  auto* v = new QVBoxLayout(w);
  v->setContentsMargins(0, 24, 0, 0);
  Image4 = new fenetres::PreviewBox(w, 181, 133);
  Image4->setFixedSize(181, 133);
  Image4->fixer_rendu([this](render::Bitmap& b) { raffraichir_profil(b); });
  v->addWidget(Image4);
  auto* h = new QHBoxLayout;
  CtlShapeButton4 = bouton_forme(w, "<", "Turn to the lefte", 40, 24);
  CtlShapeButton3 = bouton_forme(w, ">", "Turn to the right", 40, 24);
  CtlShapeButton5 = bouton_forme(w, "More detailed", "More detailed", 95, 24);
  h->addWidget(CtlShapeButton4);
  h->addWidget(CtlShapeButton3);
  h->addWidget(CtlShapeButton5);
  v->addLayout(h);
  CheckBox_voir = case_creation(w, "See", "To see the mountain immediately after creation");
  v->addWidget(CheckBox_voir);
  v->addStretch(1);
  auto* logo = new CtlLImage(w);
  logo->SetStyle(sbAutosize);
  logo->SetListIndex(images::kLogo);
  if (TData* d = TData::Instance()) logo->SetImageList(&d->BitmapList);
  else logo->CheckAutoSize();
  logo->setFixedSize(logo->size());  // the layout keeps the picture's own size
  v->addWidget(logo, 0, Qt::AlignHCenter);
  return w;
}

QWidget* TPagesdlg1::construire_bas() {
  auto* w = new QWidget(this);
  auto* h = new QHBoxLayout(w);
  h->setContentsMargins(0, 0, 0, 0);
  ComboBox_no = new QComboBox(w);
  ComboBox_no->setToolTip("Selection of another mountain");
  ComboBox_no->setMinimumWidth(160);
  UpDown_no = new fenetres::HautBas(w);
  UpDown_no->setFixedSize(16, 22);
  UpDown_no->setToolTip("Change the mountain");
  UpDown_no->fixer_bornes(1, 5);
  Label_no = new QLabel(w);
  Label_no->setFixedWidth(16);
  h->addWidget(ComboBox_no);
  h->addWidget(UpDown_no);
  h->addWidget(Label_no);
  RadioButton_differe = new QRadioButton("Later", w);
  RadioButton_refaire = new QRadioButton("Redo", w);
  RadioButton_ajouter = new QRadioButton("Add", w);
  RadioButton_arbres = new QRadioButton("Trees only", w);
  RadioButton_differe->setChecked(true);
  for (QRadioButton* r : {RadioButton_differe, RadioButton_refaire, RadioButton_ajouter, RadioButton_arbres})
    h->addWidget(r);
  h->addStretch(1);
  Btn_Prev = bouton(w, "<< Prev");
  Btn_Next = bouton(w, "Next >>");
  OKBtn = bouton(w, "OK");
  OKBtn->SetModalResult(1);
  OKBtn->setDefault(true);
  CtlShapeButton1 = bouton_forme(w, "Cancel", {}, 80, 25);
  CtlShapeButton2 = bouton_forme(w, "Help", {}, 80, 25);
  for (QWidget* b : std::initializer_list<QWidget*>{Btn_Prev, Btn_Next, OKBtn, CtlShapeButton1, CtlShapeButton2})
    h->addWidget(b);
  return w;
}

void TPagesdlg1::connecter() {
  for (auto [barre, a] : adaptateurs_) {
    QScrollBar* b = barre;
    connect(a, &fenetres::AdaptateurDefilement::defilement, this,
            [this, b](int code, int position) { ScrollBar_scroll(b, code, position); });
  }
  for (const Barre& b : barres_) {
    QLineEdit* e = b.edit;
    connect(e, &QLineEdit::editingFinished, this, [this, e] { Edit_mont(e); });
  }
  for (QLineEdit* e : {Edit_etal}) connect(e, &QLineEdit::editingFinished, this, [this, e] { Edit_mont(e); });
  for (int m = 3; m <= 10; ++m) {
    QLineEdit* e = Edit_p[m];
    connect(e, &QLineEdit::editingFinished, this, [this, e] { Edit_mont(e); });
    connect(prof[m], &CtlTrackBar::changed, this, [this, m] { TrackBar_profilChange(m); });
  }
  connect(TrackBar_etal, &CtlTrackBar::changed, this, &TPagesdlg1::TrackBar_etalChange);
  connect(ListBox_mail, &CtlListBox::clicked, this, [this] { ListBox_mailClick(ListBox_mail->ItemIndex()); });
  connect(arbres, &dialogs::PageArbres::change, this, [this] { arbres->ranger(parametres); });
  for (CtlCheckBox* c : {checkbox_alea, CheckBox_iles, CheckBox_cuv, CheckBox_rivage, CheckBox_terrasses,
                         CheckBox_falaise, CheckBox_lignes, Checkbox_defor})
    connect(c, &CtlCheckBox::changed, this, [this, c] { case_cochee(c); });
  connect(BitBtn1, &QPushButton::clicked, this, &TPagesdlg1::BitBtn_keyClick);
  connect(Combo_CLE->lineEdit(), &QLineEdit::textEdited, this, &TPagesdlg1::Combo_CLEChange);
  Combo_CLE->lineEdit()->installEventFilter(this);
  connect(Combo_CLE->lineEdit(), &QLineEdit::editingFinished, this, &TPagesdlg1::valider_cle);
  connect(Combo_CLE, &QComboBox::activated, this, &TPagesdlg1::valider_cle);  // a key picked from the list
  connect(ComboBox_no, &QComboBox::activated, this, &TPagesdlg1::ComboBox_noChange);
  connect(UpDown_no, &fenetres::HautBas::clic, this, &TPagesdlg1::UpDown_noClick);
  const std::pair<QRadioButton*, std::uint8_t> radios[] = {
      {RadioButton_differe, 0}, {RadioButton_refaire, 1}, {RadioButton_ajouter, 2}, {RadioButton_arbres, 3}};
  for (auto [r, m] : radios) {
    const std::uint8_t v = m;
    connect(r, &QRadioButton::clicked, this, [this, v] {
      if (v == 2) valider_cle();  // the new mountain is made from the key on screen
      mode = v;
    });
  }
  connect(CheckBox_voir, &CtlCheckBox::changed, this, [this] { voir = CheckBox_voir->Checked() ? 1 : 0; });
  connect(CtlShapeButton3, &CtlBaseGraphicButton::pressed, this, &TPagesdlg1::Tourner_gMouseDown);
  connect(CtlShapeButton4, &CtlBaseGraphicButton::pressed, this, &TPagesdlg1::tournerDMouseDown);
  connect(CtlShapeButton3, &CtlBaseGraphicButton::released, this, &TPagesdlg1::tournerDMouseUp);
  connect(CtlShapeButton4, &CtlBaseGraphicButton::released, this, &TPagesdlg1::tournerDMouseUp);
  connect(CtlShapeButton5, &CtlBaseGraphicButton::clicked, this, &TPagesdlg1::Button_a2Click);
  Timer1.setInterval(100);
  connect(&Timer1, &QTimer::timeout, this, &TPagesdlg1::Timer1Timer);
  connect(CtlShapeButton1, &CtlBaseGraphicButton::clicked, this, [this] { done(2); });
  connect(CtlShapeButton2, &CtlBaseGraphicButton::clicked, this, &TPagesdlg1::helpbtnClick);
  connect(Btn_Next, &QPushButton::clicked, this, &TPagesdlg1::Btn_Next1Click);
  connect(Btn_Prev, &QPushButton::clicked, this, &TPagesdlg1::Btn_Prev1Click);
  connect(PageControl1, &fenetres::OngletsPlats::change, this, &TPagesdlg1::PageControl1Change);
}
