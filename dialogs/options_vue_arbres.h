// The Arbres page of the view options dialog: one of six tree layers (only
// those the displayed mountain holds), its kind with its picture, leaf colour,
// sizes on track bars with edits, forbidden grounds, the display flags, and a
// tree preview that turns while a button is held, regrows with a new seed,
// draws in detail or shows every layer side by side.
#pragma once

#include <QTimer>
#include <array>
#include <memory>

#include "dialogs/options_vue_page.h"

class CtlBitmapList;
class CtlCheckBox;
class CtlComboBox;
class CtlImageComboBox;
class CtlTrackBar;
class QLineEdit;
class QRadioButton;

namespace fenetres {
class HautBas;
class PreviewBox;
}  // namespace fenetres

namespace dialogs {

class BoutonPas;

// The six tree layers of one record written over another.
void copier_arbres(const param_vue& source, param_vue& cible);

class PageArbresVue : public PageOptionsVue {
 public:
  static constexpr int kLargeurArbres = 230, kHauteurArbres = 120;

  PageArbresVue(const param_vue& v, ContexteOptionsVue& contexte, QWidget* parent = nullptr);
  ~PageArbresVue() override;
  void charger(const param_vue& v) override;
  void ranger(param_vue& v) const override;

 private:
  void construire();
  void construire_glissieres();
  void construire_boutons();
  void connecter();
  void connecter_couche();
  void charger_arbres();
  void afficher_arbres();
  espece_arbres& couche_affichee();  // the working record's selected layer
  void Edit_arbresExit(QLineEdit* edit);
  void ComboBox_couche1Change(int item);
  void UpDown_coucheClick(int position);
  void ComboBox_type1Change(int item);
  void Button_a1Click();
  void Button_a2Click();
  void Button_a4Click();
  void tourner_appui(bool gauche);
  void Timer_tournerTimer();
  void tourner_relache();
  void redessiner();  // flags and schedules the tree preview
  void rendre_arbres(render::Bitmap& image);

  std::unique_ptr<TMyPalette> palette_;
  int couche_choisie_ = 1;  // the tree layer shown, 1..6
  int graine_arbre_ = 111;  // the tree model's seed
  int angle_arbre_ = 180;   // its turn angle, degrees
  int mode_arbres_ = 0;     // 0 one tree, 1 detailed, 2 every layer
  bool rapide_ = false, drapeau_arbres_ = false, tourner_gauche_ = false;
  QTimer* Timer_tourner = nullptr;

  std::array<QRadioButton*, 6> radios_couche_{};
  CtlComboBox *ComboBox_couche = nullptr, *ComboBox_couleur = nullptr;
  CtlImageComboBox* ComboBox_type = nullptr;
  CtlBitmapList* BitmapList_arbres = nullptr;  // the eight tree kinds, drawn at creation
  fenetres::HautBas* UpDown_couche = nullptr;
  // Height, width, weight, leaf size, leaf width, trunk height, trunk width, growth, diversity.
  std::array<CtlTrackBar*, 9> glissieres_{};
  std::array<QLineEdit*, 8> edits_{};
  QLabel* Label_diversite = nullptr;
  CtlCheckBox *CheckBox_int1 = nullptr, *CheckBox_int2 = nullptr, *CheckBox_int3 = nullptr,
              *CheckBox_arbres = nullptr, *CheckBox_diversite = nullptr, *CheckBoxdetailplus = nullptr;
  fenetres::PreviewBox* Image_arbres = nullptr;
  BoutonPas *Tourner_G = nullptr, *Tourner_D = nullptr;
  QPushButton *Button_a1 = nullptr, *Button_A2 = nullptr, *Button_a4 = nullptr;
};

}  // namespace dialogs
