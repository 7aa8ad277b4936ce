// The creation options dialog's "Trees" page and its two figures.
#include "dialogs/creation_arbres.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "controls/checkbox.h"
#include "controls/listbox.h"
#include "dialogs/creation_controles.h"
#include "fenetres/elements_pages.h"
#include "fenetres/saisie.h"

using namespace fenetres;

namespace dialogs {

namespace {

void placer(QScrollBar* b, int v) {
  const QSignalBlocker silence(b);
  b->setValue(v);
}

void texte(QLineEdit* e, int v) { e->setText(QString::number(v)); }

}  // namespace

PageArbres::PageArbres(QWidget* parent) : CtlBackPanel(parent) {
  habiller_fond(this);
  auto* h = new QHBoxLayout(this);
  auto* gauche = new QVBoxLayout;
  // Made without a header: no sections, each item drawn whole.
  Selection_couches = new CtlListBox(this);
  Selection_couches->setObjectName("Selection_couches");
  Selection_couches->SetDelimiter(u' ');
  Selection_couches->SetHeaderVisible(false);
  for (const char* t : kListeCouches) Selection_couches->AddItem(t);
  Selection_couches->setFixedSize(140, 76);
  gauche->addWidget(Selection_couches);
  auto* ligne = new QHBoxLayout;
  UpDown_couche = new HautBas(this);
  UpDown_couche->setObjectName("UpDown_couche");
  UpDown_couche->setFixedSize(16, 22);
  UpDown_couche->fixer_bornes(1, 4);
  Label_couche = new QLabel(this);
  Label_couche->setObjectName("Label_couche");
  ligne->addWidget(UpDown_couche);
  ligne->addWidget(Label_couche, 1);
  gauche->addLayout(ligne);
  for (int l = 1; l <= 4; ++l) {
    CheckBox_c[l] = case_creation(this, QString("Layer %1").arg(l), QString("Layer %1 active").arg(l));
    CheckBox_c[l]->setObjectName(QString("CheckBox_c%1").arg(l));
    gauche->addWidget(CheckBox_c[l]);
  }
  CheckBox_groupes = case_creation(this, "Trees grouped");
  CheckBox_groupes->setObjectName("CheckBox_groupes");
  gauche->addWidget(CheckBox_groupes);
  gauche->addStretch(1);
  h->addLayout(gauche);

  auto* barres = new QGridLayout;
  auto colonne = [&](int c, const char* titre, QScrollBar*& b, QLineEdit*& e, int min, int max, int page_pas,
                     const char* indication, const char* nb, const char* ne) {
    barres->addWidget(new QLabel(titre, this), 0, c, Qt::AlignHCenter);
    AdaptateurDefilement* a = nullptr;
    b = barre_defilement(this, Qt::Vertical, min, max, 1, page_pas, &a);
    b->setObjectName(nb);
    b->setToolTip(indication);
    b->setMinimumHeight(150);
    barres->addWidget(b, 1, c, Qt::AlignHCenter);
    e = champ_creation(this, 40);
    e->setObjectName(ne);
    barres->addWidget(e, 2, c);
    adaptateurs_[std::size_t(c)] = {b, a};
  };
  colonne(0, "Nb", ScrollBar_densite, Edit_densite, 0, 400, 20, "Number of trees", "ScrollBar_densite",
          "Edit_densite");
  colonne(1, "Slope\nmin", ScrollBar_pentemin, Edit_pentemin, 0, 80, 5, "Minimum slope", "ScrollBar_pentemin",
          "Edit_pentemin");
  colonne(2, "Slope\nmax", ScrollBar_pentemax, Edit_pentemax, 0, 80, 5, "Maximum slope", "ScrollBar_pentemax",
          "Edit_pentemax");
  colonne(3, "Alt\nmin", ScrollBar_nivmin, Edit_nivmin, -100, 400, 10, "Minimum altitude", "ScrollBar_nivmin",
          "Edit_nivmin");
  colonne(4, "Alt\nmax", ScrollBar_nivmax, Edit_nivmax, -100, 400, 10, "Maximum altitude", "ScrollBar_nivmax",
          "Edit_nivmax");
  colonne(5, "Trans.", ScrollBar_delta, Edit_delta, 0, 1000, 50, "Transitional zone Min and Max", "ScrollBar_delta",
          "Edit_delta");
  h->addLayout(barres);

  auto* figures = new QVBoxLayout;
  Image1 = new FigureNiveaux(this, couches_, couche_);
  Image1->setObjectName("Image1");
  Image1->setFixedSize(181, 200);
  Image2 = new FigurePente(this, couches_, couche_, points_pente_);
  Image2->setObjectName("Image2");
  Image2->setFixedSize(120, 100);
  points_pente_ = points_pente(Image2->width(), Image2->height());
  figures->addWidget(Image1);
  figures->addWidget(Image2);
  figures->addStretch(1);
  h->addLayout(figures);
  connecter();
}

void PageArbres::connecter() {
  for (auto [barre, a] : adaptateurs_) {
    QScrollBar* b = barre;
    connect(a, &AdaptateurDefilement::defilement, this,
            [this, b](int, int position) { ScrollBar_arbresChange(b, position); });
  }
  for (QLineEdit* e : {Edit_densite, Edit_pentemin, Edit_pentemax, Edit_nivmin, Edit_nivmax, Edit_delta})
    connect(e, &QLineEdit::editingFinished, this, [this, e] { Edit_arbres(e); });
  connect(Selection_couches, &CtlListBox::clicked, this, [this] {
    const int item = Selection_couches->ItemIndex();
    if (item >= 0 && item <= 3) choisir_couche(4 - item);
  });
  connect(UpDown_couche, &HautBas::clic, this, [this](int position) {
    if (position >= 1 && position <= 4) choisir_couche(position);
  });
  connect(Image1, &FigureNiveaux::clic, this, [this](int x) {
    const int l = couche_sous(x, Image1->width());
    if (l >= 1 && l <= 4 && l != couche_) choisir_couche(l);
  });
  connect(CheckBox_groupes, &CtlCheckBox::changed, this, &PageArbres::checked_gr);
  for (int l = 1; l <= 4; ++l) connect(CheckBox_c[l], &CtlCheckBox::changed, this, [this, l] { CheckBox_coucheClick(l); });
}

void PageArbres::charger(const param_mat& p) {
  couches_ = p.couches;
  afficher();
}

// The controls of the layer shown, and which layers are on.
void PageArbres::afficher() {
  const couche_arbres& c = affichee();
  const bool active = !c.annulee;
  CheckBox_groupes->SetChecked(c.groupes != 0);
  Label_couche->setText(kNomsCouches[couche_]);
  Label_couche->setStyleSheet(active ? "color: red" : "color: silver");
  UpDown_couche->fixer_position(couche_);
  placer(ScrollBar_densite, position_nombre(c.nombre));
  placer(ScrollBar_pentemin, position_pente(c.pente_mini));
  placer(ScrollBar_pentemax, position_pente(c.pente_maxi));
  placer(ScrollBar_nivmin, position_niveau(c.niveau_mini));
  placer(ScrollBar_nivmax, position_niveau(c.niveau_maxi));
  placer(ScrollBar_delta, position_transition(c.transition));
  for (QScrollBar* b : {ScrollBar_densite, ScrollBar_pentemin, ScrollBar_pentemax, ScrollBar_nivmin,
                        ScrollBar_nivmax, ScrollBar_delta})
    b->setEnabled(active);
  Selection_couches->SetItemIndex(4 - couche_);
  for (int l = 1; l <= 4; ++l) CheckBox_c[l]->SetChecked(!couches_[std::size_t(l - 1)].annulee);
  valeurs();
}

void PageArbres::ranger(param_mat& p) const { p.couches = couches_; }

// The edits of the layer shown, and the figures when their data changed.
void PageArbres::valeurs() {
  const couche_arbres& c = affichee();
  texte(Edit_densite, c.nombre);
  texte(Edit_pentemin, c.pente_mini);
  texte(Edit_pentemax, c.pente_maxi);
  texte(Edit_nivmin, c.niveau_mini);
  texte(Edit_nivmax, c.niveau_maxi);
  texte(Edit_delta, c.transition);
  groupes_courants_ = c.groupes;
  Image1->update();
  Image2->update();
}

// All six bars are read back (a level the bar cannot show takes the bar's);
// a maximum below its minimum moves the side that did not move.
void PageArbres::ScrollBar_arbresChange(QScrollBar* barre, int position) {
  couche_arbres& c = affichee();
  auto pos = [&](QScrollBar* b) { return b == barre ? position : b->value(); };
  c.nombre = 400 - pos(ScrollBar_densite);
  const std::int32_t pente_min = 80 - pos(ScrollBar_pentemin), pente_max = 80 - pos(ScrollBar_pentemax);
  const std::int32_t niv_min = niveau_de_position(pos(ScrollBar_nivmin));
  const std::int32_t niv_max = niveau_de_position(pos(ScrollBar_nivmax));
  c.pente_mini = pente_min;
  c.pente_maxi = pente_max;
  c.niveau_mini = niv_min;
  c.niveau_maxi = niv_max;
  c.transition = 1000 - pos(ScrollBar_delta);
  if (coupler(c.pente_mini, c.pente_maxi, barre == ScrollBar_pentemin)) {
    placer(ScrollBar_pentemin, position_pente(c.pente_mini));
    placer(ScrollBar_pentemax, position_pente(c.pente_maxi));
  }
  if (coupler(c.niveau_mini, c.niveau_maxi, barre == ScrollBar_nivmin)) {
    placer(ScrollBar_nivmin, position_niveau(c.niveau_mini));
    placer(ScrollBar_nivmax, position_niveau(c.niveau_maxi));
  }
  valeurs();
  emit change();
}

// A typed value is bounded to its control's range; unreadable text gives the default.
void PageArbres::Edit_arbres(QLineEdit* edit) {
  couche_arbres& c = affichee();
  const QString t = edit->text();
  if (edit == Edit_densite) c.nombre = entier_borne(t, 0, 400, 0);
  else if (edit == Edit_pentemin) c.pente_mini = entier_borne(t, 0, 80, 0);
  else if (edit == Edit_pentemax) c.pente_maxi = entier_borne(t, 0, 80, 80);
  else if (edit == Edit_nivmin) c.niveau_mini = entier_borne(t, -1000, 4000, 0);
  else if (edit == Edit_nivmax) c.niveau_maxi = entier_borne(t, -1000, 4000, 1000);
  else if (edit == Edit_delta) c.transition = entier_borne(t, 0, 1000, 100);
  afficher();
  emit change();
}

void PageArbres::checked_gr() {
  groupes_courants_ = groupes_courants_ ? 0 : 1;
  affichee().groupes = groupes_courants_;
  afficher();
  emit change();
}

void PageArbres::CheckBox_coucheClick(int n) {
  couches_[std::size_t(n - 1)].annulee = CheckBox_c[n]->Checked() ? 0 : 1;
  afficher();
  emit change();
}

void PageArbres::choisir_couche(int l) {
  couche_ = static_cast<std::uint16_t>(l);
  afficher();
}

// ------------------------------------------------------------ figures

FigureNiveaux::FigureNiveaux(QWidget* parent, const std::array<couche_arbres, 4>& couches,
                             const std::uint16_t& couche)
    : QWidget(parent), couches_(couches), couche_(couche) {}

void FigureNiveaux::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  p.setPen(Qt::black);
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  const int w = width(), h = height();
  auto dessiner = [&](int k, QPen crayon, QColor fond) {
    const couche_arbres& c = couches_[std::size_t(k - 1)];
    if (c.annulee) return;
    const auto [x1, x2] = colonne_niveaux(k, w);
    const int y1 = ligne_niveau(c.niveau_maxi, h), y2 = ligne_niveau(c.niveau_mini, h);
    p.setPen(crayon);
    p.setBrush(fond);
    p.drawRect(QRect(QPoint(x1, std::min(y1, y2)), QPoint(x2, std::max(y1, y2))));
  };
  for (int k = 1; k <= 4; ++k)
    if (k != couche_) dessiner(k, QPen(Qt::black, 1), QColor(0, 255, 0));
  dessiner(std::clamp<int>(couche_, 1, 4), QPen(Qt::red, 2), QColor(0, 100, 0));
}

void FigureNiveaux::mousePressEvent(QMouseEvent* e) { emit clic(e->position().toPoint().x()); }

FigurePente::FigurePente(QWidget* parent, const std::array<couche_arbres, 4>& couches, const std::uint16_t& couche,
                         const std::array<PointFigure, 9>& points)
    : QWidget(parent), couches_(couches), couche_(couche), points_(points) {}

void FigurePente::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  const auto& pt = points_;
  const couche_arbres& c = couches_[std::size_t(std::clamp<int>(couche_, 1, 4) - 1)];
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
