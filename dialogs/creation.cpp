// The creation options dialog's behaviour: loading the pages from the record,
// showing the values, the handlers that write the record, the mountain list
// and the preview. The controls are laid out in creation_pages.cpp.
#include "dialogs/creation.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>

#include "fenetres/aide_enfants.h"
#include "fenetres/elements_pages.h"
#include "fenetres/rendu.h"
#include "fenetres/saisie.h"
#include "controls/button.h"
#include "controls/checkbox.h"
#include "controls/listbox.h"
#include "dialogs/creation_arbres.h"
#include "controls/shapebutton.h"
#include "controls/trackbar.h"
#include "model/aleatoire.h"
#include "model/matrice.h"
#include "model/texte.h"

namespace {

template <class W>
void sans_signal(W* w, auto&& f) {
  const QSignalBlocker silence(w);
  f(w);
}

void placer(QScrollBar* b, int v) {
  sans_signal(b, [v](QScrollBar* x) { x->setValue(v); });
}

void placer(CtlTrackBar* b, int v) {
  sans_signal(b, [v](CtlTrackBar* x) { x->SetPosition(v); });
}

void texte(QLineEdit* e, int v) { e->setText(QString::number(v)); }

couche_arbres& couche_de(param_mat& p, int l) { return p.couches[std::size_t(std::clamp(l, 1, 4) - 1)]; }

}  // namespace

TPagesdlg1::~TPagesdlg1() {
  // Hidden while still whole: an edit left by the hiding takes its value here,
  // not in the base class's destructor after the pages are gone.
  hide();
  Timer1.stop();
  platform::unregister_window(handle_);
}

// ------------------------------------------------------------ mountains

void TPagesdlg1::ajouter_nouvelle_montagne() {
  ComboBox_no->addItem("New mountain");
  entree_de_item.push_back(0);
}

void TPagesdlg1::ajouter_montagne(const QString& nom, const Type_matrice& type, std::uint16_t numero) {
  if (nombre_montagnes >= kEntreesMax) return;
  ++nombre_montagnes;
  entrees[nombre_montagnes] = {numero, type};
  ComboBox_no->addItem(nom.left(30));
  entree_de_item.push_back(nombre_montagnes);
}

void TPagesdlg1::init_montagnes() {
  UpDown_no->fixer_bornes(1, std::max<int>(1, nombre_montagnes));
  UpDown_no->setEnabled(nombre_montagnes >= 2);
  ComboBox_no->setEnabled(nombre_montagnes >= 2);
  RadioButton_refaire->setEnabled(nombre_montagnes >= 1);
  choix_montagne();
}

void TPagesdlg1::choix_montagne() {
  Label_no->setText(QString::number(montagne));
  index_montagne = 0;
  for (std::uint16_t k = 1; k <= nombre_montagnes; ++k)
    if (montagne && entrees[k].numero == montagne) {
      index_montagne = k;
      break;
    }
  apercu_a_refaire = 1;
  if (index_montagne) {
    UpDown_no->fixer_position(index_montagne);
    parametres = entrees[index_montagne].type.parametres;
  }
  for (std::size_t item = 0; item < entree_de_item.size(); ++item)
    if (entree_de_item[item] == index_montagne) {
      sans_signal(ComboBox_no, [item](QComboBox* c) { c->setCurrentIndex(int(item)); });
      break;
    }
  afficher_page();
}

// The displayed entry keeps the working copy before another is shown.
void TPagesdlg1::ComboBox_noChange(int item) {
  if (item < 0 || std::size_t(item) >= entree_de_item.size()) return;
  if (index_montagne) entrees[index_montagne].type.parametres = parametres;
  index_montagne = entree_de_item[std::size_t(item)];
  montagne = index_montagne ? entrees[index_montagne].numero : 0;
  choix_montagne();
}

void TPagesdlg1::UpDown_noClick(int position) {
  if (position < 1 || position > nombre_montagnes) return;
  if (index_montagne) entrees[index_montagne].type.parametres = parametres;
  index_montagne = static_cast<std::uint16_t>(position);
  montagne = entrees[index_montagne].numero;
  choix_montagne();
}

// ------------------------------------------------------------ pages

void TPagesdlg1::tourner_vers(int code) {
  if (code < kMontagne || code > kProfils) return;
  fixer_page(code);
}

void TPagesdlg1::fixer_page(int code) {
  PageControl1->montrer(code);
  page = static_cast<std::uint16_t>(code);
  Btn_Prev->setEnabled(page > kMontagne);
  Btn_Next->setEnabled(page < kProfils);
}

void TPagesdlg1::afficher_page() {
  page = static_cast<std::uint16_t>(PageControl1->code_actif());
  switch (page) {
    case kMontagne: charger_montagne(); break;
    case kArbres: arbres->charger(parametres); break;
    case kAdditifs: charger_additifs(); break;
    case kProfils: charger_profils(); break;
    default: break;
  }
  RadioButton_arbres->setEnabled(page == kArbres && montagne != 0);
  afficher_valeurs();
}

void TPagesdlg1::charger_montagne() {
  checkbox_alea->SetChecked(parametres.alea != 0);
  CheckBox_iles->SetChecked(parametres.iles != 0);
  CheckBox_cuv->SetChecked(parametres.cuvette != 0);
  for (const Barre& b : barres_)
    if (b.barre->parent() == ScrollBar_relief->parent()) placer(b.barre, parametres.*b.champ);
  placer(TrackBar_etal, parametres.etalement);
  ListBox_mail->SetItemIndex(parametres.maillage - 4);  // silent
  apercu_a_refaire = 1;
}

void TPagesdlg1::charger_additifs() {
  CheckBox_rivage->SetChecked(parametres.rivage_actif != 0);
  ScrollBar_coeff->setEnabled(parametres.rivage_actif != 0);
  ScrollBar_rivage->setEnabled(parametres.rivage_actif != 0);
  for (const Barre& b : barres_)
    if (b.barre->parent() == ScrollBar_coeff->parent()) placer(b.barre, parametres.*b.champ);
  CheckBox_lignes->SetChecked(parametres.oriente != 0);
  ScrollBar_degre->setEnabled(parametres.oriente != 0);
  CheckBox_terrasses->SetChecked(parametres.gradins != 0);
  CheckBox_falaise->SetChecked(parametres.terrasse != 0);
  for (QWidget* w : std::initializer_list<QWidget*>{CheckBox_falaise, ScrollBar_nb_terr, ScrollBar_pente})
    w->setEnabled(parametres.gradins != 0);
  Checkbox_defor->SetChecked(parametres.deformation != 0);
  ScrollBar_horizon->setEnabled(parametres.deformation != 0);
  apercu_a_refaire = 1;
}

void TPagesdlg1::charger_profils() {
  for (int m = 3; m <= 10; ++m) {
    placer(prof[m], 8 - parametres.profils_iter[std::size_t(m - 3)]);
    prof[m]->setEnabled(m == 3 || parametres.maillage > m - 1);
  }
  apercu_a_refaire = 1;
}

void TPagesdlg1::afficher_valeurs() {
  switch (page) {
    case kMontagne:
      texte(Edit_relief, parametres.relief);
      texte(Edit_profil, parametres.profil);
      texte(Edit_erosion, parametres.erosion);
      texte(Edit_deperosion, -parametres.altitude_erosion);
      texte(Edit_lissage, parametres.taux_lissage);
      texte(Edit_etal, parametres.etalement);
      if (texte_cle_libre)
        sans_signal(Combo_CLE, [this](QComboBox* c) { c->setEditText(QString::number(parametres.cle)); });
      break;
    case kAdditifs:
      texte(Edit_coeff, parametres.rivage);
      texte(Edit_hauteur, parametres.hauteur_rivage);
      texte(Edit_nb_terr, parametres.nombre_gradins);
      texte(Edit_pente, parametres.pente_gradins);
      texte(Edit_degre, parametres.hauteur_plis);
      texte(Edit_horizon, parametres.degre_deformation);
      break;
    case kProfils:
      for (int m = 3; m <= 10; ++m) {
        texte(Edit_p[m], parametres.profils_iter[std::size_t(m - 3)]);
        Edit_p[m]->setEnabled(prof[m]->isEnabled());
      }
      break;
    default: break;
  }
  if (apercu_a_refaire) reconstruire_apercu();
}

void TPagesdlg1::PageControl1Change(int code) {
  fixer_page(code);
  afficher_page();
}

void TPagesdlg1::Btn_Next1Click() {
  if (page < kProfils) fixer_page(page + 1);
  afficher_page();
}

void TPagesdlg1::Btn_Prev1Click() {
  if (page > kMontagne) fixer_page(page - 1);
  afficher_page();
}

void TPagesdlg1::helpbtnClick() { afficher_sujet_aide(sujet_aide()); }

int TPagesdlg1::sujet_aide() const {
  static const int sujets[] = {0, 202, 206, 201, 207};
  return sujets[std::clamp<int>(page, 1, 4)];
}

// ------------------------------------------------------------ Mountain and Additive pages

const TPagesdlg1::Barre* TPagesdlg1::barre_de(QScrollBar* b) const {
  for (const Barre& x : barres_)
    if (x.barre == b) return &x;
  return nullptr;
}

const TPagesdlg1::Barre* TPagesdlg1::barre_d_edit(QLineEdit* e) const {
  for (const Barre& x : barres_)
    if (x.edit == e) return &x;
  return nullptr;
}

void TPagesdlg1::ScrollBar_scroll(QScrollBar* barre, int code, int position) {
  const Barre* b = barre_de(barre);
  if (!b) return;
  parametres.*b->champ = position;
  rotation = code == fenetres::kPouceLache || code == fenetres::kFinDefilement ? 0 : 1;
  apercu_a_refaire = 1;
  afficher_valeurs();
}

// A typed value is bounded to its control's range; unreadable text gives the default.
void TPagesdlg1::Edit_mont(QLineEdit* edit) {
  if (const Barre* b = barre_d_edit(edit)) {
    std::int32_t v = fenetres::entier_borne(edit->text(), b->min, b->max, b->defaut);
    if (edit == Edit_deperosion) {
      // The edit shows the altitude negated: -500 is 500; a positive text gives 0.
      v = -fenetres::entier_borne(edit->text(), -b->max, -b->min, -b->defaut);
    }
    parametres.*b->champ = v;
  } else if (edit == Edit_etal) {
    parametres.etalement = fenetres::entier_borne(edit->text(), 1, 6, 0);
  } else {
    for (int m = 3; m <= 10; ++m)
      if (edit == Edit_p[m]) parametres.profils_iter[std::size_t(m - 3)] = fenetres::entier_borne(edit->text(), 0, 8, 2);
  }
  apercu_a_refaire = 1;
  afficher_page();
}

void TPagesdlg1::Edit_AdditChange(QLineEdit* edit) { Edit_mont(edit); }

void TPagesdlg1::TrackBar_etalChange() {
  parametres.etalement = TrackBar_etal->Position();
  apercu_a_refaire = 1;
  afficher_valeurs();
}

void TPagesdlg1::TrackBar_profilChange(int m) {
  if (m < 3 || m > 10) return;
  parametres.profils_iter[std::size_t(m - 3)] = 8 - prof[m]->Position();
  apercu_a_refaire = 1;
  afficher_valeurs();
}

void TPagesdlg1::ListBox_mailClick(int item) {
  if (item >= 0 && item < 8) parametres.maillage = item + 4;
}

void TPagesdlg1::case_cochee(CtlCheckBox* boite) {
  const std::uint8_t v = boite->Checked() ? 1 : 0;
  if (boite == checkbox_alea) {
    parametres.alea = v;  // the key stays: the entry's record already holds its terrain's key
    return;
  }
  apercu_a_refaire = 1;
  if (boite == CheckBox_iles || boite == CheckBox_cuv) {
    (boite == CheckBox_iles ? parametres.iles : parametres.cuvette) = v;
    afficher_valeurs();
    return;
  }
  if (boite == CheckBox_rivage) parametres.rivage_actif = v;
  else if (boite == CheckBox_terrasses) parametres.gradins = v;
  else if (boite == CheckBox_lignes) parametres.oriente = v;
  else if (boite == Checkbox_defor) parametres.deformation = v;
  else if (boite == CheckBox_falaise) parametres.terrasse = v;
  afficher_page();
}

// ------------------------------------------------------------ key

void TPagesdlg1::BitBtn_keyClick() {
  Randomize();
  parametres.cle = static_cast<std::int32_t>(seed());
  sans_signal(Combo_CLE, [this](QComboBox* c) { c->setEditText(QString::number(parametres.cle)); });
  texte_cle_libre = 1;
  afficher_page();
}

// While the user types, the text is not rewritten from the record.
void TPagesdlg1::Combo_CLEChange(const QString& t) {
  if (t.size() != 8) return;
  parametres.cle = fenetres::entier_saisi(t, 0);
  texte_cle_libre = 0;
  afficher_page();
}

void TPagesdlg1::Combo_CLEKeyUp() {
  texte_cle_libre = 0;
  const QString t = Combo_CLE->currentText();
  if (t.size() <= 7) return;
  parametres.cle = fenetres::entier_saisi(t, 0);
  afficher_page();
  if (Combo_CLE->findText(t, Qt::MatchFixedString | Qt::MatchCaseSensitive) < 0) {
    sans_signal(Combo_CLE, [&t](QComboBox* c) {
      c->addItem(t);
      c->setEditText(t);
    });
  }
}

void TPagesdlg1::valider_cle() {
  const auto v = model::convertir_entier_ligne(Combo_CLE->currentText().toStdString());
  texte_cle_libre = 1;  // the text now stands for the key: it follows the record again
  if (!v) {
    sans_signal(Combo_CLE, [this](QComboBox* c) { c->setEditText(QString::number(parametres.cle)); });
    return;
  }
  if (*v == parametres.cle) return;
  parametres.cle = *v;
  afficher_page();
}

void TPagesdlg1::done(int resultat) {
  if (resultat == 1) valider_cle();
  QDialog::done(resultat);
}

bool TPagesdlg1::eventFilter(QObject* objet, QEvent* e) {
  if (Combo_CLE && objet == Combo_CLE->lineEdit() && e->type() == QEvent::KeyRelease) Combo_CLEKeyUp();
  return QDialog::eventFilter(objet, e);
}

// ------------------------------------------------------------ preview

void TPagesdlg1::reconstruire_apercu() {
  Image4->invalidate();
  apercu_a_refaire = 0;
  parametres_apercu = dialogs::parametres_apercu(parametres, rotation != 0, degre_apercu);
  (rotation ? apercu_rapide : apercu) = dialogs::construire_apercu(parametres_apercu);
}

void TPagesdlg1::raffraichir_profil(render::Bitmap& image) {
  Tmatrice* t = rotation ? apercu_rapide.get() : apercu.get();
  if (!t) {
    image.reset(image.width(), image.height(), render::pixel_rgb(0, 0, 0));
    return;
  }
  fenetres::calculer_image(*t, handle_, *palette_apercu, image, {}, vue_apercu, image.width(), image.height(),
                          nullptr, nullptr, 0, 0, 0, 0, 0, enregistrement_camera{});
}

void TPagesdlg1::demarrer_rotation(std::uint8_t sens) {
  sens_rotation = sens;
  apercu_a_refaire = 1;
  Timer1.start();
  rotation = 1;
  afficher_valeurs();
}

void TPagesdlg1::Tourner_gMouseDown() { demarrer_rotation(1); }
void TPagesdlg1::tournerDMouseDown() { demarrer_rotation(2); }

void TPagesdlg1::Timer1Timer() {
  vue_apercu.angle_horizontal += sens_rotation == 1 ? 4 : -4;
  Image4->invalidate();
}

void TPagesdlg1::tournerDMouseUp() {
  Timer1.stop();
  Image4->invalidate();
  rotation = 0;
  degre_apercu = 5;
}

void TPagesdlg1::Button_a2Click() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  degre_apercu = 7;
  apercu_a_refaire = 1;
  afficher_valeurs();
  degre_apercu = 5;
  QApplication::restoreOverrideCursor();
}
