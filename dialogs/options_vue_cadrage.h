// The Framing page of the view options dialog: view angles, sun, eye height,
// zoom and distance; the framing preview that follows drags on the coarse
// terrain and shows the real terrain in detailed display; drag steering; the
// frame box with its shaded frame.
#pragma once

#include <QTimer>
#include <array>
#include <memory>

#include "dialogs/options_vue_page.h"

class CtlCheckBox;
class CtlShadowFill;
class CtlSpeedButton;
class QLineEdit;
class QScrollBar;

namespace fenetres {
class PreviewBox;
}  // namespace fenetres

namespace dialogs {

class BoutonPas;

// The framing fields of one record written over another.
void copier_cadrage(const param_vue& source, param_vue& cible);

class PageCadrageVue : public PageOptionsVue {
  Q_OBJECT
 public:
  static constexpr int kLargeurCadrage = 200, kHauteurCadrage = 150;
  static constexpr int kLargeurCadre = 76, kHauteurCadre = 54;

  // Starts in permanent detailed display.
  PageCadrageVue(const param_vue& v, ContexteOptionsVue& contexte, QWidget* parent = nullptr);
  ~PageCadrageVue() override;
  void charger(const param_vue& v) override;
  void ranger(param_vue& v) const override;

 signals:
  // The observer's two sight lines of the terrain the framing preview rendered
  // last, for the displayed mountain's map editor.
  void lignes_vision(bool depuis_marqueur, double ox, double oy, double oz, double ax, double ay, double bx,
                     double by);

 private:
  void construire();
  void construire_colonnes();
  void connecter();
  void charger_cadrage();
  void afficher_cadrage();
  void placer_rectangle_cadre();
  void ScrollBar_Scroll(QScrollBar* barre, int code, int position);
  void edit_change(QLineEdit* edit);
  void appuyer_pas(BoutonPas* b);
  void relacher_pas();
  void fixer_detail(bool fixe);
  void Button_detail_lockClick();
  void Button_detailClick();
  void cadrage_appui(QPoint p);
  void cadrage_deplacement(QPoint p);
  void Timer_cadreTimer();
  void cadrage_relache();
  void rendre_detail(render::Bitmap& image);
  void rendre_cadrage(render::Bitmap& image);
  void rendre_cadre(render::Bitmap& image);

  std::unique_ptr<TMyPalette> palette_;
  std::int32_t index_dist_ = 0;
  bool rapide_ = false, detail_fixe_ = false;
  bool drapeau_cadrage_ = false, drapeau_cadre_ = false, recalcul_cadre_ = false;
  bool detail_demande_ = false;  // "Détail" was clicked: the next framing render is the real terrain only
  QPoint point_appui_;
  QTimer* Timer_cadre = nullptr;

  QScrollBar *ScrollBar_vert = nullptr, *ScrollBar_hor = nullptr, *ScrollBar_solV = nullptr,
             *ScrollBar_solH = nullptr, *ScrollBar_hauteur = nullptr, *ScrollBar_zoom = nullptr,
             *ScrollBar_dist = nullptr;
  QLineEdit *Edit_ver = nullptr, *Edit_hor = nullptr, *Edit_solv = nullptr, *Edit_solh = nullptr,
            *Edit_haut = nullptr, *Edit_dist = nullptr;
  QLabel* Label_zoom = nullptr;
  CtlCheckBox *CheckBox_rapide = nullptr, *CheckBox_observateur = nullptr;
  // Arrows up, down, left, right; angles up, down, right, left.
  std::array<BoutonPas*, 4> fleches_{}, boutons_angle_{};
  BoutonPas *Zoom_plus = nullptr, *Zoom_moins = nullptr, *Btn_pres = nullptr, *BTn_loin = nullptr;
  CtlSpeedButton* Button_detail = nullptr;
  QPushButton* Button_detail_lock = nullptr;
  fenetres::PreviewBox *Image_cadrage = nullptr, *Image_cadre = nullptr;
  CtlShadowFill* Rectangle_cadre = nullptr;
};

}  // namespace dialogs
