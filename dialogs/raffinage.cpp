#include "dialogs/raffinage.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include "fenetres/aide_enfants.h"
#include "fenetres/dialogue_fixe.h"
#include "fenetres/saisie.h"
#include "controls/button.h"
#include "controls/checkbox.h"

namespace {

CtlButton* bouton(QWidget* parent, const QString& texte, int resultat, const QString& indication) {
  auto* b = new CtlButton(parent);
  b->setText(texte);
  b->SetModalResult(resultat);
  b->setToolTip(indication);
  b->setFixedSize(80, 25);
  return b;
}

QSlider* barre_1_100(QWidget* parent) {
  auto* s = new QSlider(Qt::Horizontal, parent);
  s->setRange(TRaffinageDlg::kMinimum, TRaffinageDlg::kMaximum);
  s->setTickInterval(1);
  s->setTickPosition(QSlider::TicksBelow);
  s->setMinimumWidth(220);
  return s;
}

// Caption above a bar, and its three end labels.
void rangee(QGridLayout* g, int ligne, const QString& titre, QSlider* barre, QLineEdit* edit,
            std::initializer_list<const char*> bornes) {
  g->addWidget(new QLabel(titre), ligne, 0);
  g->addWidget(barre, ligne, 1);
  g->addWidget(edit, ligne, 2);
  auto* h = new QHBoxLayout;
  int k = 0;
  for (const char* b : bornes) {
    if (k++) h->addStretch(1);
    h->addWidget(new QLabel(b));
  }
  g->addLayout(h, ligne + 1, 1);
}

}  // namespace

TRaffinageDlg::TRaffinageDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Refinement dialog");
  auto* g = new QGridLayout;
  TrackBar_relief = barre_1_100(this);
  TrackBar_profil = barre_1_100(this);
  Edit_relief = new QLineEdit(this);
  Edit_profil = new QLineEdit(this);
  for (QLineEdit* e : {Edit_relief, Edit_profil}) {
    e->setMaxLength(2);
    e->setFixedWidth(32);
  }
  rangee(g, 0, "Relief", TrackBar_relief, Edit_relief, {"Flat", "High"});
  rangee(g, 2, "Profile", TrackBar_profil, Edit_profil, {"Smooth", "Normal", "Rough"});
  RadioButton_differe = new QRadioButton("Later", this);
  RadioButton_differe->setToolTip("Save witout rebuilt the mountain");
  RadioButton_refaire = new QRadioButton("Now", this);
  RadioButton_refaire->setToolTip("Rebuilt the active mountain");
  RadioButton_differe->setChecked(true);
  OKbtn = bouton(this, "OK", 1, "Validate the options");
  OKbtn->setDefault(true);
  Cancelbtn = bouton(this, "Cancel", 3, "Come back to the initials parameters");
  Cancelbtn->SetCancel(true);
  helpbtn = bouton(this, "Help", 0, {});
  auto* radios = new QHBoxLayout;
  radios->addWidget(RadioButton_differe);
  radios->addWidget(RadioButton_refaire);
  radios->addStretch(1);
  auto* boutons = new QHBoxLayout;
  boutons->addStretch(1);
  for (CtlButton* b : {OKbtn, Cancelbtn, helpbtn}) boutons->addWidget(b);
  auto* v = new QVBoxLayout(this);
  v->addLayout(g);
  v->addLayout(radios);
  v->addLayout(boutons);

  connect(TrackBar_relief, &QSlider::valueChanged, this, [this](int p) {
    parametres.relief = p;
    Edit_relief->setText(QString::number(p));
  });
  connect(TrackBar_profil, &QSlider::valueChanged, this, [this](int p) {
    parametres.profil = p;
    Edit_profil->setText(QString::number(p));
  });
  connect(Edit_relief, &QLineEdit::editingFinished, this, &TRaffinageDlg::Edit_reliefChange);
  connect(Edit_profil, &QLineEdit::editingFinished, this, &TRaffinageDlg::Edit_profilChange);
  connect(RadioButton_differe, &QRadioButton::clicked, this, [this] { mode = 0; });
  connect(RadioButton_refaire, &QRadioButton::clicked, this, [this] { mode = 1; });
  connect(helpbtn, &QPushButton::clicked, this, [] { afficher_sujet_aide(252); });
  lier_touche_aide(*this, [] { return 252; });
  bordure_dialogue_fixe(*this, true);
}

void TRaffinageDlg::placer(QSlider* barre, int valeur) {
  const QSignalBlocker silence(barre);
  barre->setValue(valeur);
}

void TRaffinageDlg::init_raffinage() {
  placer(TrackBar_relief, parametres.relief);
  placer(TrackBar_profil, parametres.profil);
  Edit_relief->setText(QString::number(parametres.relief));
  Edit_profil->setText(QString::number(parametres.profil));
}

// A typed value is bounded to the bar's range and shown as taken.
void TRaffinageDlg::Edit_reliefChange() {
  parametres.relief = fenetres::entier_borne(Edit_relief->text(), kMinimum, kMaximum, 50);
  placer(TrackBar_relief, parametres.relief);
  Edit_relief->setText(QString::number(parametres.relief));
}

void TRaffinageDlg::Edit_profilChange() {
  parametres.profil = fenetres::entier_borne(Edit_profil->text(), kMinimum, kMaximum, 50);
  placer(TrackBar_profil, parametres.profil);
  Edit_profil->setText(QString::number(parametres.profil));
}

// ------------------------------------------------------------ combination

Tform3::Tform3(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Combine two mountains");
  Commentaire = new QLabel("Add portions from mountain (2) to the active mountain (1)", this);
  Label_nom_1 = new QLabel(this);
  ComboBox_no = new QComboBox(this);
  ComboBox_no->setMinimumWidth(220);
  const char* textes[] = {"Add elevation of (2) to this one of (1)",
                          "Replace elevation of (1) by elevation of (2) if (2) > (1)",
                          "Replace elevation of (1) by elevation of (2) if (2) < (1)"};
  for (int k = 1; k <= 3; ++k) options[k] = new QRadioButton(textes[k - 1], this);
  CheckBox_signe = new CtlCheckBox(this);
  CheckBox_signe->SetCaption("Invert the altitude of mountain (2)");
  CheckBox_signe->setFixedSize(CheckBox_signe->fontMetrics().horizontalAdvance(CheckBox_signe->Caption()) + 28, 20);
  OK = bouton(this, "OK", 1, "Start combination of the two mountains");
  OK->setDefault(true);
  Cancel = bouton(this, "Cancel", 2, "Cancel the combination");
  Cancel->SetCancel(true);
  Aide = bouton(this, "&Help", 0, {});

  auto* g = new QGridLayout;
  g->addWidget(new QLabel("Mountain (1) = "), 0, 0);
  g->addWidget(Label_nom_1, 0, 1);
  g->addWidget(new QLabel("Mountain (2)  ="), 1, 0);
  g->addWidget(ComboBox_no, 1, 1);
  auto* v = new QVBoxLayout(this);
  v->addWidget(Commentaire);
  v->addLayout(g);
  for (int k = 1; k <= 3; ++k) v->addWidget(options[k]);
  v->addWidget(CheckBox_signe);
  auto* boutons = new QHBoxLayout;
  boutons->addStretch(1);
  for (CtlButton* b : {OK, Cancel, Aide}) boutons->addWidget(b);
  v->addLayout(boutons);

  for (int k = 1; k <= 3; ++k)
    connect(options[k], &QRadioButton::clicked, this, [this, k] { mode = static_cast<std::int16_t>(k); });
  connect(ComboBox_no, &QComboBox::activated, this, &Tform3::ComboBox_noChange);
  connect(CheckBox_signe, &CtlCheckBox::changed, this, [this] { inverser = CheckBox_signe->Checked() ? 1 : 0; });
  connect(Aide, &QPushButton::clicked, this, [] { afficher_sujet_aide(253); });
  lier_touche_aide(*this, [] { return 253; });
  bordure_dialogue_fixe(*this, true);
}

void Tform3::ajouter_montagne(const QString& nom, std::uint16_t numero) {
  if (nombre_montagnes >= kEntreesMax) return;
  numeros[++nombre_montagnes] = numero;
  ComboBox_no->addItem(nom);
}

void Tform3::fixer_nom_1(const QString& nom) { Label_nom_1->setText(nom); }

void Tform3::init_combinaison(std::uint16_t montagne, std::uint16_t mode_initial, std::uint8_t inverser_initial) {
  montagne_2 = montagne;
  mode = static_cast<std::int16_t>(mode_initial);
  inverser = inverser_initial;
  index_montagne = 0;
  for (std::uint16_t k = 1; k <= nombre_montagnes; ++k)
    if (numeros[k] == montagne) {
      index_montagne = k;
      break;
    }
  if (!index_montagne && nombre_montagnes) {
    index_montagne = 1;
    montagne_2 = numeros[1];
  }
  ComboBox_no->setCurrentIndex(int(index_montagne) - 1);
  if (mode >= 1 && mode <= 3) options[mode]->setChecked(true);
  CheckBox_signe->SetChecked(inverser != 0);
}

// Only the listed entries are taken.
void Tform3::ComboBox_noChange(int index) {
  if (index < 0 || index >= nombre_montagnes) return;
  index_montagne = static_cast<std::uint16_t>(index + 1);
  montagne_2 = numeros[index_montagne];
}
