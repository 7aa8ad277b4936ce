// The "Trees" page of the creation options dialog: the four tree layers of a
// param_mat, one shown at a time (count, slopes, levels, transition, grouped),
// which layers are on, and two figures: the levels of the four layers and the
// slope band of the layer shown. The page is loaded from a record, keeps its
// controls to itself, writes back only the layers, and says `change` after
// each edit the user makes; loading never does.
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>

#include "controls/backpanel.h"
#include "dialogs/creation_calculs.h"
#include "model/records.h"

class CtlCheckBox;
class CtlListBox;
class QLabel;
class QLineEdit;
class QScrollBar;

namespace fenetres {
class AdaptateurDefilement;
class HautBas;
}  // namespace fenetres

namespace dialogs {

class FigureNiveaux;
class FigurePente;

// The page is its own tiled background, which its transparent boxes show.
class PageArbres : public CtlBackPanel {
  Q_OBJECT
 public:
  explicit PageArbres(QWidget* parent = nullptr);
  // Shows the layers of `p`; the layer shown stays the same.
  void charger(const param_mat& p);
  // Writes the four layers.
  void ranger(param_mat& p) const;

 signals:
  void change();

 private:
  void connecter();
  void afficher();
  void valeurs();
  void ScrollBar_arbresChange(QScrollBar* barre, int position);
  void Edit_arbres(QLineEdit* edit);
  void checked_gr();
  void CheckBox_coucheClick(int n);
  void choisir_couche(int l);
  couche_arbres& affichee() { return couches_[std::size_t(std::clamp<int>(couche_, 1, 4) - 1)]; }

  std::array<couche_arbres, 4> couches_{};
  std::uint16_t couche_ = 1;  // the layer shown, 1..4
  std::uint8_t groupes_courants_ = 0;
  std::array<PointFigure, 9> points_pente_{};

  CtlListBox* Selection_couches = nullptr;
  fenetres::HautBas* UpDown_couche = nullptr;
  QLabel* Label_couche = nullptr;
  QScrollBar *ScrollBar_densite = nullptr, *ScrollBar_pentemin = nullptr, *ScrollBar_pentemax = nullptr,
             *ScrollBar_nivmin = nullptr, *ScrollBar_nivmax = nullptr, *ScrollBar_delta = nullptr;
  QLineEdit *Edit_densite = nullptr, *Edit_pentemin = nullptr, *Edit_pentemax = nullptr, *Edit_nivmin = nullptr,
            *Edit_nivmax = nullptr, *Edit_delta = nullptr;
  CtlCheckBox* CheckBox_groupes = nullptr;
  std::array<CtlCheckBox*, 5> CheckBox_c{};  // CheckBox_c1..CheckBox_c4 at 1..4
  std::array<std::pair<QScrollBar*, fenetres::AdaptateurDefilement*>, 6> adaptateurs_{};
  FigureNiveaux* Image1 = nullptr;
  FigurePente* Image2 = nullptr;
};

// The levels figure: the four layers' level bands, the layer shown in red.
class FigureNiveaux : public QWidget {
  Q_OBJECT
 public:
  FigureNiveaux(QWidget* parent, const std::array<couche_arbres, 4>& couches, const std::uint16_t& couche);
 signals:
  void clic(int x);
 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
 private:
  const std::array<couche_arbres, 4>& couches_;
  const std::uint16_t& couche_;
};

// The slope figure: the slope band of the layer shown.
class FigurePente : public QWidget {
  Q_OBJECT
 public:
  FigurePente(QWidget* parent, const std::array<couche_arbres, 4>& couches, const std::uint16_t& couche,
              const std::array<PointFigure, 9>& points);
 protected:
  void paintEvent(QPaintEvent*) override;
 private:
  const std::array<couche_arbres, 4>& couches_;
  const std::uint16_t& couche_;
  const std::array<PointFigure, 9>& points_;
};

}  // namespace dialogs
