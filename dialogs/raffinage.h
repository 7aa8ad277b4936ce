// The two small dialogs of the main window's refinement and combination
// commands. Each edits its own fields; the main window reads them back only
// when the dialog ends with OK (1). Refinement: relief and profile, now or
// later (Cancel ends with 3). Combination: the second mountain among the
// candidates, the mode and the inversion (Cancel ends with 2).
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>

#include "model/records.h"

class CtlButton;
class CtlCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSlider;

class TRaffinageDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TRaffinageDlg(QWidget* parent = nullptr);
  // The range of both bars, and so of both values.
  static constexpr int kMinimum = 1, kMaximum = 100;
  // After the caller copied its record into `parametres`.
  void init_raffinage();

  param_mat parametres{};
  std::uint8_t mode = 0;  // 0 later, 1 now

  QSlider* TrackBar_relief = nullptr;
  QSlider* TrackBar_profil = nullptr;
  QLineEdit* Edit_relief = nullptr;
  QLineEdit* Edit_profil = nullptr;
  QRadioButton* RadioButton_differe = nullptr;
  QRadioButton* RadioButton_refaire = nullptr;
  CtlButton* OKbtn = nullptr;
  CtlButton* Cancelbtn = nullptr;
  CtlButton* helpbtn = nullptr;

  void Edit_reliefChange();
  void Edit_profilChange();

 private:
  void placer(QSlider* barre, int valeur);
};

class Tform3 : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kEntreesMax = 15;
  explicit Tform3(QWidget* parent = nullptr);
  // One candidate mountain (2): its display name and its slot number.
  void ajouter_montagne(const QString& nom, std::uint16_t numero);
  void fixer_nom_1(const QString& nom);
  // After the list is filled. A remembered mountain (2) that is not listed
  // gives the first candidate.
  void init_combinaison(std::uint16_t montagne, std::uint16_t mode_initial, std::uint8_t inverser_initial);
  void ComboBox_noChange(int index);

  std::uint16_t index_montagne = 0;  // list entry of mountain (2), 0 = none
  std::uint16_t montagne_2 = 0;      // its slot number
  std::int16_t mode = 1;             // 1 add, 2 replace where higher, 3 replace where lower
  std::uint8_t inverser = 0;
  std::uint16_t nombre_montagnes = 0;
  std::array<std::uint16_t, kEntreesMax + 1> numeros{};  // slot of entry 1..15

  QLabel* Commentaire = nullptr;
  QLabel* Label_nom_1 = nullptr;
  QComboBox* ComboBox_no = nullptr;
  std::array<QRadioButton*, 4> options{};  // Option1..Option3 at 1..3
  CtlCheckBox* CheckBox_signe = nullptr;
  CtlButton* OK = nullptr;
  CtlButton* Cancel = nullptr;
  CtlButton* Aide = nullptr;
};
