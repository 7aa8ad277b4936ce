// The Colours page of the view options dialog: the ten level colours chosen by
// list, up-down or a click on the palette box, edited in red, green, blue and
// light; contrast, shadow depth, the base colours, the colour dialog; the
// palette box, the arrow and the sample, drawn from the page's working
// palette, which is recomputed 750 ms after a drag pauses.
#pragma once

#include <QColor>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "dialogs/options_vue_page.h"

class CtlCheckBox;
class CtlComboBox;
class CtlTrackBar;
class QLineEdit;

namespace fenetres {
class HautBas;
}  // namespace fenetres

namespace dialogs {

class BoiteCouleur;
class BoiteFleche;
class BoitePalette;
class Jauge;

// The colour fields a copy carries: contrast, shadow depth, the base-colour
// flag and, when the source has its own colours, the ten colours.
void copier_couleurs(const param_vue& source, param_vue& cible);

// The colour dialog: the chosen colour, or nothing on Cancel.
using ChoixCouleur = std::function<std::optional<QColor>(const QColor&)>;

class PageCouleursVue : public PageOptionsVue {
 public:
  // Without a chooser, "Palette ..." runs the platform's colour dialog.
  PageCouleursVue(const param_vue& v, ContexteOptionsVue& contexte, QWidget* parent = nullptr,
               ChoixCouleur choisir = {});
  ~PageCouleursVue() override;
  void charger(const param_vue& v) override;
  void ranger(param_vue& v) const override;

 private:
  void construire();
  void connecter();
  void nouvelle_palette();
  void afficher_rvb();
  void afficher_couleurs();
  void calculer_palette();
  int couleur_choisie() const;  // the colour number of the selected list index
  void TrackBar_couleursChange(CtlTrackBar* barre);
  void Edit_couleursExit(QLineEdit* edit);
  void Button_griClick();
  void choisir_niveau(int indice);

  ChoixCouleur choisir_couleur_;
  std::unique_ptr<TMyPalette> palette_;
  int indice_couleur_ = 3;  // the list index, 1..10
  QTimer* Timer1 = nullptr;  // the palette recomputed once a drag pauses
  CtlComboBox* ComboBox_coul = nullptr;
  // Red, green, blue, light; contrast and shadow depth.
  std::array<CtlTrackBar*, 4> glissieres_rvbl_{};
  CtlTrackBar *Trackbar_contraste = nullptr, *Trackbar_ombre = nullptr;
  std::array<QLineEdit*, 6> edits_{};  // red, green, blue, light, contrast, shadow depth
  std::array<Jauge*, 3> jauges_{};
  CtlCheckBox* CheckBox_coul_def = nullptr;
  fenetres::HautBas* UpDown_niveau = nullptr;
  QPushButton* Button_gri = nullptr;
  BoitePalette* Image_palette = nullptr;
  BoiteFleche* Image_fleche = nullptr;
  BoiteCouleur* Image_couleur = nullptr;
};

}  // namespace dialogs
