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
#include "model/aleatoire.h"
#include "model/matrice.h"

namespace {

QLineEdit* edit(QWidget* parent, int largeur = 44) {
  auto* e = new QLineEdit(parent);
  e->setFixedWidth(largeur);
  return e;
}

CtlCheckBox* case_a_cocher(QWidget* parent, const QString& texte, const QString& indication = {}) {
  auto* c = new CtlCheckBox(parent);
  c->SetCaption(texte);
  c->setToolTip(indication);
  c->SetTransparent(true);
  c->setFixedSize(c->fontMetrics().horizontalAdvance(texte) + 28, 20);
  return c;
}

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
  fond->Bevel().SetWidthOuter(0);
  fond->Bevel().SetWidthInner(0);
  fond->SetListIndex(images::kDialogTile);
  if (TData* d = TData::Instance()) fond->SetImageList(&d->BitmapList);
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
  couche = 1;

  PageControl1 = new dialogs::OngletsPlats(this);
  PageControl1->setMinimumSize(700, 370);
  construire_montagne(PageControl1->ajouter_page(kMontagne, "Mountain"));
  construire_arbres(PageControl1->ajouter_page(kArbres, "Trees"));
  construire_additifs(PageControl1->ajouter_page(kAdditifs, "Additive"));
  construire_profils(PageControl1->ajouter_page(kProfils, "profiles"));
  points_pente = dialogs::points_pente(Image2->width(), Image2->height());

  auto* haut = new QHBoxLayout;
  haut->addWidget(PageControl1, 1);
  haut->addWidget(construire_apercu());
  auto* v = new QVBoxLayout(this);
  v->addLayout(haut, 1);
  v->addWidget(construire_bas());
  fixer_page(kMontagne);
  connecter();
}

QWidget* TPagesdlg1::construire_montagne(QWidget* page) {
  QWidget* p = contenu(page);
  auto* g = new QGridLayout(p);
  auto rangee = [&](int ligne, const char* titre, QLineEdit*& e, QScrollBar*& b, int min, int max, int pas,
                    int page_pas, std::int32_t param_mat::* champ, int defaut, const char* indication) {
    g->addWidget(new QLabel(titre, p), ligne, 0);
    e = edit(p);
    g->addWidget(e, ligne, 1);
    dialogs::AdaptateurDefilement* a = nullptr;
    b = dialogs::barre_defilement(p, Qt::Horizontal, min, max, pas, page_pas, &a);
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
  Edit_etal = edit(p);
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
  checkbox_alea = case_a_cocher(p, "Random");
  CheckBox_iles = case_a_cocher(p, "Island");
  CheckBox_cuv = case_a_cocher(p, "Basin");
  g->addWidget(checkbox_alea, 7, 2);
  g->addWidget(CheckBox_iles, 7, 3);
  g->addWidget(CheckBox_cuv, 8, 2);
  g->setRowStretch(9, 1);
  g->setColumnStretch(2, 1);
  return p;
}

QWidget* TPagesdlg1::construire_arbres(QWidget* page) {
  QWidget* p = contenu(page);
  auto* h = new QHBoxLayout(p);
  auto* gauche = new QVBoxLayout;
  // Made without a header: no sections, each item drawn whole.
  Selection_couches = new CtlListBox(p);
  Selection_couches->SetDelimiter(u' ');
  Selection_couches->SetHeaderVisible(false);
  for (const char* t : dialogs::kListeCouches) Selection_couches->AddItem(t);
  Selection_couches->setFixedSize(140, 76);
  gauche->addWidget(Selection_couches);
  auto* ligne = new QHBoxLayout;
  UpDown_couche = new dialogs::HautBas(p);
  UpDown_couche->setFixedSize(16, 22);
  UpDown_couche->fixer_bornes(1, 4);
  Label_couche = new QLabel(p);
  ligne->addWidget(UpDown_couche);
  ligne->addWidget(Label_couche, 1);
  gauche->addLayout(ligne);
  for (int l = 1; l <= 4; ++l) {
    CheckBox_c[l] = case_a_cocher(p, QString("Layer %1").arg(l), QString("Layer %1 active").arg(l));
    gauche->addWidget(CheckBox_c[l]);
  }
  CheckBox_groupes = case_a_cocher(p, "Trees grouped");
  gauche->addWidget(CheckBox_groupes);
  gauche->addStretch(1);
  h->addLayout(gauche);

  auto* barres = new QGridLayout;
  auto colonne = [&](int c, const char* titre, QScrollBar*& b, QLineEdit*& e, int min, int max, int page_pas,
                     const char* indication) {
    barres->addWidget(new QLabel(titre, p), 0, c, Qt::AlignHCenter);
    dialogs::AdaptateurDefilement* a = nullptr;
    b = dialogs::barre_defilement(p, Qt::Vertical, min, max, 1, page_pas, &a);
    b->setToolTip(indication);
    b->setMinimumHeight(150);
    barres->addWidget(b, 1, c, Qt::AlignHCenter);
    e = edit(p, 40);
    barres->addWidget(e, 2, c);
    adaptateurs_.push_back({b, a});
  };
  colonne(0, "Nb", ScrollBar_densite, Edit_densite, 0, 400, 20, "Number of trees");
  colonne(1, "Slope\nmin", ScrollBar_pentemin, Edit_pentemin, 0, 80, 5, "Minimum slope");
  colonne(2, "Slope\nmax", ScrollBar_pentemax, Edit_pentemax, 0, 80, 5, "Maximum slope");
  colonne(3, "Alt\nmin", ScrollBar_nivmin, Edit_nivmin, -100, 400, 10, "Minimum altitude");
  colonne(4, "Alt\nmax", ScrollBar_nivmax, Edit_nivmax, -100, 400, 10, "Maximum altitude");
  colonne(5, "Trans.", ScrollBar_delta, Edit_delta, 0, 1000, 50, "Transitional zone Min and Max");
  h->addLayout(barres);

  auto* figures = new QVBoxLayout;
  Image1 = new dialogs::FigureNiveaux(p, *this);
  Image1->setFixedSize(181, 200);
  Image2 = new dialogs::FigurePente(p, *this);
  Image2->setFixedSize(120, 100);
  figures->addWidget(Image1);
  figures->addWidget(Image2);
  figures->addStretch(1);
  h->addLayout(figures);
  return p;
}

QWidget* TPagesdlg1::construire_additifs(QWidget* page) {
  QWidget* p = contenu(page);
  auto* g = new QGridLayout(p);
  int ligne = 0;
  auto rangee = [&](const char* titre, QLineEdit*& e, QScrollBar*& b, int min, int max,
                    std::int32_t param_mat::* champ, int defaut) {
    g->addWidget(new QLabel(titre, p), ligne, 1);
    e = edit(p);
    g->addWidget(e, ligne, 2);
    dialogs::AdaptateurDefilement* a = nullptr;
    b = dialogs::barre_defilement(p, Qt::Horizontal, min, max, 1, std::max(1, (max - min) / 10), &a);
    b->setToolTip(titre);
    b->setMinimumWidth(180);
    g->addWidget(b, ligne, 3);
    barres_.push_back({b, e, champ, min, max, defaut});
    adaptateurs_.push_back({b, a});
    ++ligne;
  };
  CheckBox_rivage = case_a_cocher(p, "Shore");
  g->addWidget(CheckBox_rivage, ligne, 0);
  rangee("rate", Edit_coeff, ScrollBar_coeff, -30, 30, &param_mat::rivage, 0);
  rangee("Shore height", Edit_hauteur, ScrollBar_rivage, 1, 200, &param_mat::hauteur_rivage, 20);
  CheckBox_terrasses = case_a_cocher(p, "Terraces");
  g->addWidget(CheckBox_terrasses, ligne, 0);
  rangee("Number of terraces", Edit_nb_terr, ScrollBar_nb_terr, 2, 20, &param_mat::nombre_gradins, 2);
  rangee("Slope of the edges of terraces", Edit_pente, ScrollBar_pente, -40, 40, &param_mat::pente_gradins, 0);
  CheckBox_falaise = case_a_cocher(p, "Cliffs");
  g->addWidget(CheckBox_falaise, ligne++, 1);
  CheckBox_lignes = case_a_cocher(p, "Oriented");
  g->addWidget(CheckBox_lignes, ligne, 0);
  rangee("Extension of distorsion", Edit_degre, ScrollBar_degre, 1, 10, &param_mat::hauteur_plis, 0);
  Checkbox_defor = case_a_cocher(p, "Horizontal");
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
    Edit_p[m] = edit(p, 32);
    g->addWidget(Edit_p[m], 2, c, Qt::AlignHCenter);
  }
  g->setRowStretch(3, 1);
  return p;
}

QWidget* TPagesdlg1::construire_apercu() {
  auto* w = new QWidget(this);
  auto* v = new QVBoxLayout(w);
  v->setContentsMargins(0, 24, 0, 0);
  Image4 = new dialogs::PreviewBox(w, 181, 133);
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
  CheckBox_voir = case_a_cocher(w, "See", "To see the mountain immediately after creation");
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
  UpDown_no = new dialogs::HautBas(w);
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
    const bool arbres = b->orientation() == Qt::Vertical;
    connect(a, &dialogs::AdaptateurDefilement::defilement, this, [this, b, arbres](int code, int position) {
      if (arbres) ScrollBar_arbresChange(b, position);
      else ScrollBar_scroll(b, code, position);
    });
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
  for (QLineEdit* e : {Edit_densite, Edit_pentemin, Edit_pentemax, Edit_nivmin, Edit_nivmax, Edit_delta})
    connect(e, &QLineEdit::editingFinished, this, [this, e] { Edit_arbres(e); });
  connect(TrackBar_etal, &CtlTrackBar::changed, this, &TPagesdlg1::TrackBar_etalChange);
  connect(ListBox_mail, &CtlListBox::clicked, this, [this] { ListBox_mailClick(ListBox_mail->ItemIndex()); });
  connect(Selection_couches, &CtlListBox::clicked, this,
          [this] { Selection_couchesClick(Selection_couches->ItemIndex()); });
  connect(UpDown_couche, &dialogs::HautBas::clic, this, &TPagesdlg1::UpDown_coucheClick);
  connect(Image1, &dialogs::FigureNiveaux::clic, this, &TPagesdlg1::Image1_clic);
  connect(CheckBox_groupes, &CtlCheckBox::changed, this, &TPagesdlg1::checked_gr);
  for (int l = 1; l <= 4; ++l) connect(CheckBox_c[l], &CtlCheckBox::changed, this, [this, l] { CheckBox_coucheClick(l); });
  for (CtlCheckBox* c : {checkbox_alea, CheckBox_iles, CheckBox_cuv, CheckBox_rivage, CheckBox_terrasses,
                         CheckBox_falaise, CheckBox_lignes, Checkbox_defor})
    connect(c, &CtlCheckBox::changed, this, [this, c] { case_cochee(c); });
  connect(BitBtn1, &QPushButton::clicked, this, &TPagesdlg1::BitBtn_keyClick);
  connect(Combo_CLE->lineEdit(), &QLineEdit::textEdited, this, &TPagesdlg1::Combo_CLEChange);
  Combo_CLE->lineEdit()->installEventFilter(this);
  connect(ComboBox_no, &QComboBox::activated, this, &TPagesdlg1::ComboBox_noChange);
  connect(UpDown_no, &dialogs::HautBas::clic, this, &TPagesdlg1::UpDown_noClick);
  const std::pair<QRadioButton*, std::uint8_t> radios[] = {
      {RadioButton_differe, 0}, {RadioButton_refaire, 1}, {RadioButton_ajouter, 2}, {RadioButton_arbres, 3}};
  for (auto [r, m] : radios) {
    const std::uint8_t v = m;
    connect(r, &QRadioButton::clicked, this, [this, v] { mode = v; });
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
  connect(PageControl1, &dialogs::OngletsPlats::change, this, &TPagesdlg1::PageControl1Change);
}

// ------------------------------------------------------------ figures

namespace dialogs {

FigureNiveaux::FigureNiveaux(QWidget* parent, const TPagesdlg1& d) : QWidget(parent), d_(d) {}

void FigureNiveaux::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  p.setPen(Qt::black);
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  const int w = width(), h = height();
  auto dessiner = [&](int k, QPen crayon, QColor fond) {
    const couche_arbres& c = d_.parametres.couches[std::size_t(k - 1)];
    if (c.annulee) return;
    const auto [x1, x2] = colonne_niveaux(k, w);
    const int y1 = ligne_niveau(c.niveau_maxi, h), y2 = ligne_niveau(c.niveau_mini, h);
    p.setPen(crayon);
    p.setBrush(fond);
    p.drawRect(QRect(QPoint(x1, std::min(y1, y2)), QPoint(x2, std::max(y1, y2))));
  };
  for (int k = 1; k <= 4; ++k)
    if (k != d_.couche) dessiner(k, QPen(Qt::black, 1), QColor(0, 255, 0));
  dessiner(d_.couche, QPen(Qt::red, 2), QColor(0, 100, 0));
}

void FigureNiveaux::mousePressEvent(QMouseEvent* e) { emit clic(e->position().toPoint().x()); }

FigurePente::FigurePente(QWidget* parent, const TPagesdlg1& d) : QWidget(parent), d_(d) {}

void FigurePente::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  const auto& pt = d_.points_pente;
  const couche_arbres& c = d_.parametres.couches[std::size_t(std::clamp<int>(d_.couche, 1, 4) - 1)];
  if (!c.annulee) {
    p.setPen(QPen(QColor(0, 100, 0), 4));
    for (int k = 1; k <= 8; ++k)
      if (c.pente_mini < 10 * k && 10 * k < c.pente_maxi)
        p.drawLine(pt[k - 1].x, pt[k - 1].y - k, pt[k].x, pt[k].y - k);
  }
  p.setPen(QPen(Qt::black, 1));
  for (int k = 1; k <= 8; ++k) p.drawLine(pt[k - 1].x, pt[k - 1].y, pt[k].x, pt[k].y);
}

}  // namespace dialogs
