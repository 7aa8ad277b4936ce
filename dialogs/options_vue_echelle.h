// The Scale page of the view options dialog: picture size, fixed scale over
// the displayed view's thumbnail, foreground details, distortion, file kind,
// and the picture colour and mask controls.
#pragma once

#include <array>

#include "dialogs/options_vue_page.h"

class CtlCheckBox;
class CtlTrackBar;
class QLineEdit;
class QRadioButton;
class QScrollBar;

namespace dialogs {

class BoiteEchelle;

class PageEchelleVue : public PageOptionsVue {
 public:
  static constexpr int kLargeurEchelle = 130, kHauteurEchelle = 98;

  // "specific sizes" starts ticked when the record's size fits no radio.
  PageEchelleVue(const param_vue& v, ContexteOptionsVue& contexte, QWidget* parent = nullptr);
  ~PageEchelleVue() override;
  void charger(const param_vue& v) override;
  void ranger(param_vue& v) const override;

 private:
  void construire();
  void connecter();
  void charger_echelle();
  void afficher_echelle();
  bool cocher_taille();  // checks the size radio of the record; false when none fits
  void ecrire_taille(QLineEdit* e, bool largeur);
  void ecrire_masque();
  // Stores a user's change: `charger` reloads the page, else its values are shown.
  void modifier(bool recharger);

  bool drapeau_echelle_ = false;
  std::array<QRadioButton*, 4> radios_taille_{};
  CtlCheckBox *CheckBox_spex = nullptr, *Checkbox_predef = nullptr, *CheckBox_scroll = nullptr,
              *CheckBox_details = nullptr, *CheckBox_defor = nullptr, *Checkbox_photo = nullptr,
              *Checkbox_masque = nullptr;
  QLineEdit *Edit_Xmax = nullptr, *Edit_Ymax = nullptr, *Edit_profondeur = nullptr, *Edit_rugosite = nullptr;
  QLineEdit *Edit_R = nullptr, *Edit_V = nullptr, *Edit_B = nullptr, *Edit_tolerance = nullptr,
            *Edit_transparence = nullptr;
  QScrollBar *ScrollBar_taille = nullptr, *ScrollBar_transparence = nullptr;
  CtlTrackBar *Trackbar_profondeur = nullptr, *Trackbar_rugosite = nullptr;
  QRadioButton *RadioButton_BMP = nullptr, *RadioButton_JPEG = nullptr;
  QLabel *Label_taille = nullptr, *Label_nomfichier = nullptr;
  BoiteEchelle* Image_echelle = nullptr;
};

}  // namespace dialogs
