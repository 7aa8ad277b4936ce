// The Levels page of the view options dialog: the altitudes of sea, grass,
// rock, their overlap, sand, snow and its transition on scroll bars with
// edits, the colour diversity, the strata and snow flags, and a preview of the
// mountain in its level colours rendered when a thumb is let go.
#pragma once

#include <array>
#include <memory>

#include "dialogs/options_vue_page.h"

class CtlCheckBox;
class CtlTrackBar;
class QLineEdit;
class QScrollBar;

namespace fenetres {
class PreviewBox;
}  // namespace fenetres

namespace dialogs {


// The level fields a copy carries (not the sand height, nor the snow flags).
void copier_niveaux(const param_vue& source, param_vue& cible);

class PageNiveauxVue : public PageOptionsVue {
 public:
  static constexpr int kLargeurNiveaux = 200, kHauteurNiveaux = 150;

  PageNiveauxVue(const param_vue& v, ContexteOptionsVue& contexte, QWidget* parent = nullptr);
  ~PageNiveauxVue() override;
  void charger(const param_vue& v) override;
  void ranger(param_vue& v) const override;

 private:
  void construire();
  void connecter();
  void charger_niveaux();
  void afficher_niveaux();
  void ScrollBar_nivScroll(QScrollBar* barre, int code, int position);
  void Edit_nivExit(QLineEdit* edit);
  void rendre_niveaux(render::Bitmap& image);

  std::unique_ptr<TMyPalette> palette_;
  bool drapeau_niveaux_ = false;
  // Sea, grass, rock, overlap, sand, snow, snow transition.
  std::array<QScrollBar*, 7> barres_{};
  std::array<QLineEdit*, 8> edits_{};  // the seven levels, then the colour diversity
  CtlTrackBar* Trackbar_alea = nullptr;
  CtlCheckBox *CheckBox_strates = nullptr, *CheckBox_neige = nullptr, *checkbox_arb_neige = nullptr;
  fenetres::PreviewBox* Image_niveaux = nullptr;
};

}  // namespace dialogs
