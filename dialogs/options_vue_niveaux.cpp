// The Levels page of the view options dialog: the altitudes of sea, grass,
// rock, their overlap, sand, snow and its transition on scroll bars with
// edits, the colour diversity, the strata and snow flags, and a preview of the
// mountain in its level colours rendered when a thumb is let go.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "fenetres/elements_pages.h"
#include "fenetres/saisie.h"
#include "controls/checkbox.h"
#include "controls/trackbar.h"
#include "dialogs/options_vue.h"
#include "model/matrice.h"

namespace dialogs {

namespace {

// Each bar: its caption, field and range; its position is base - field.
struct BarreNiveau {
  const char* titre;
  std::int32_t param_vue::*champ;
  int minimum, maximum;
  int base;  // position = base - field
};
constexpr BarreNiveau kBarres[7] = {
    {"Sea", &param_vue::niveau_mer, -1000, 1000, 0},
    {"Grass", &param_vue::niveau_herbe, -1000, 2000, 1000},
    {"Rock", &param_vue::niveau_rocher, 0, 4000, 4000},
    {"Overlap", &param_vue::zone_recouvrement, 0, 2000, 2000},
    {"Sand", &param_vue::hauteur_sable, -1000, 200, -800},
    {"Snow", &param_vue::niveau_neige, -1000, 4000, 3000},
    {"Snow tr.", &param_vue::delta_neige, 0, 500, 500},
};

}  // namespace

void TPagesDlg2::construire_niveaux(QWidget* page) {
  for (int k = 0; k < 7; ++k) {
    const BarreNiveau& b = kBarres[k];
    const int x = 8 + 52 * k;
    auto* l = new QLabel(b.titre, page);
    l->setGeometry(x, 4, 52, 18);
    barres_niveaux[std::size_t(k)] = barre(page, Qt::Vertical, b.minimum, b.maximum, {x + 12, 24, 16, 170});
    barres_niveaux[std::size_t(k)]->setPageStep(100);
    auto* e = new QLineEdit(page);
    e->setGeometry(x, 200, 48, 22);
    edits_niveaux[std::size_t(k)] = e;
  }
  auto* l = new QLabel("Colour diversity", page);
  l->setGeometry(8, 236, 110, 18);
  Trackbar_alea = new CtlTrackBar(page);
  Trackbar_alea->SetMinValue(0);
  Trackbar_alea->SetMaxValue(10);
  Trackbar_alea->setGeometry(120, 230, 150, 30);
  edits_niveaux[7] = new QLineEdit(page);
  edits_niveaux[7]->setGeometry(276, 234, 36, 22);
  auto coche = [page](const char* texte, int x, int y) {
    auto* c = new CtlCheckBox(page);
    c->SetCaption(texte);
    c->setGeometry(x, y, 150, 20);
    return c;
  };
  CheckBox_strates = coche("Horizontal stratum", 8, 270);
  auto* neige = new QLabel("Snow on:", page);
  neige->setGeometry(170, 270, 60, 20);
  CheckBox_neige = coche("sun", 232, 270);
  checkbox_arb_neige = coche("Trees", 300, 270);
  Image_niveaux = new PreviewBox(page, kLargeurCadrage, kHauteurCadrage);
  Image_niveaux->move(384, 8);
  labels_origine[2] = new QLabel("0", page);
  labels_origine[2]->setGeometry(470, 250, 30, 18);
  boutons_copie[2] = new QPushButton("Copy", page);
  boutons_copie[2]->setGeometry(450, 268, 70, 26);
  labels_destination[2] = new QLabel("0", page);
  labels_destination[2]->setGeometry(470, 296, 30, 18);
}

void TPagesDlg2::connecter_niveaux() {
  for (QScrollBar* b : barres_niveaux)
    connect(adaptateurs[b], &AdaptateurDefilement::defilement, this,
            [this, b](int code, int position) { ScrollBar_nivScroll(b, code, position); });
  for (QLineEdit* e : edits_niveaux) connect(e, &QLineEdit::editingFinished, this, [this, e] { Edit_nivExit(e); });
  connect(Trackbar_alea, &CtlTrackBar::changed, this, [this] {
    vues[0].diversite_couleurs = Trackbar_alea->Position();
    afficher_niveaux();
  });
  connect(CheckBox_strates, &CtlCheckBox::changed, this, [this] { vues[0].strates = CheckBox_strates->Checked(); });
  connect(CheckBox_neige, &CtlCheckBox::changed, this, [this] { vues[0].neige_soleil = CheckBox_neige->Checked(); });
  connect(checkbox_arb_neige, &CtlCheckBox::changed, this,
          [this] { vues[0].neige_arbres = checkbox_arb_neige->Checked(); });
  connect(boutons_copie[2], &QPushButton::clicked, this, &TPagesDlg2::BitBtn_no_niv1Click);
  Image_niveaux->fixer_rendu([this](render::Bitmap& b) { rendre_niveaux(b); });
}

void TPagesDlg2::charger_niveaux() {
  page_courante = 4;
  const param_vue& v = vues[0];
  for (int k = 0; k < 7; ++k) barres_niveaux[std::size_t(k)]->setValue(kBarres[k].base - v.*(kBarres[k].champ));
  {
    const QSignalBlocker b(Trackbar_alea);
    Trackbar_alea->SetPosition(v.diversite_couleurs);
  }
  CheckBox_strates->SetChecked(v.strates != 0);
  CheckBox_neige->SetChecked(v.neige_soleil != 0);
  checkbox_arb_neige->SetChecked(v.neige_arbres != 0);
  nouvelle_palette();
  afficher_niveaux();
}

void TPagesDlg2::afficher_niveaux() {
  const param_vue& v = vues[0];
  for (int k = 0; k < 7; ++k) edits_niveaux[std::size_t(k)]->setText(QString::number(v.*(kBarres[k].champ)));
  edits_niveaux[7]->setText(QString::number(v.diversite_couleurs));
  if (drapeau_niveaux) Image_niveaux->invalidate();
}

void TPagesDlg2::ScrollBar_nivScroll(QScrollBar* b, int code, int position) {
  for (int k = 0; k < 7; ++k)
    if (b == barres_niveaux[std::size_t(k)]) vues[0].*(kBarres[k].champ) = kBarres[k].base - position;
  // The preview follows once the thumb is let go.
  if (code == kFinDefilement || code == kPouceLache) drapeau_niveaux = true;
  afficher_niveaux();
}

void TPagesDlg2::Edit_nivExit(QLineEdit* e) {
  param_vue& v = vues[0];
  for (int k = 0; k < 7; ++k)
    if (e == edits_niveaux[std::size_t(k)]) v.*(kBarres[k].champ) = entier_saisi(e->text(), v.*(kBarres[k].champ));
  if (e == edits_niveaux[7]) v.diversite_couleurs = entier_saisi(e->text(), v.diversite_couleurs);
  drapeau_niveaux = true;
  charger_niveaux();
}

void TPagesDlg2::BitBtn_no_niv1Click() {
  if (!index_vue_active) return;
  if (index_affiche) vues[index_affiche] = vues[0];
  const param_vue& s = vues[0];
  param_vue& d = vues[index_vue_active];
  d.niveau_mer = s.niveau_mer;
  d.niveau_herbe = s.niveau_herbe;
  d.niveau_rocher = s.niveau_rocher;
  d.zone_recouvrement = s.zone_recouvrement;
  d.niveau_neige = s.niveau_neige;
  d.delta_neige = s.delta_neige;
  d.diversite_couleurs = s.diversite_couleurs;
  d.strates = s.strates;
  montrer_vue_active();
}

void TPagesDlg2::rendre_niveaux(render::Bitmap& image) {
  if (!drapeau_niveaux) return;
  drapeau_niveaux = false;
  param_vue v = vues[0];
  v.agitation_mer = 0;
  v.horizon = v.detail_arbres = v.reflet = v.brume = v.ombre_portee = v.strates = v.foret = v.deformation = 0;
  v.premier_plan = v.photo_aerienne = 0;
  const int m = montagne_affichee;
  if (m >= 1 && m <= 5 && terrains[std::size_t(m)]) {
    rendre(*terrains[std::size_t(m)], v, image);
  } else {
    charger_apercu_relief();
    rendre(*relief_apercu, v, image);
  }
}

}  // namespace dialogs
