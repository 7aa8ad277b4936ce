// The creation options dialog "Adjustments of the mountain": four pages
// (Mountain, Trees, Additive, profiles) editing one param_mat, the list of
// the open mountains, what the main window does after OK, and a perspective
// preview of the terrain the parameters and the key give.
//
// The main window fills `parametres`, `montagne`, the page and the entries,
// calls init_montagnes and runs it; after OK (1) it reads `parametres`,
// `montagne`, `page`, `mode`, `voir` and every entry's record. Cancel is 2.
// Load routines write controls without running their handlers, so OK without
// touching anything gives back the records as they came.
#pragma once

#include <QDialog>
#include <QTimer>
#include <array>
#include <memory>
#include <vector>

#include "dialogs/creation_calculs.h"
#include "model/records.h"
#include "platform/messages.h"
#include "render/palette.h"
#include "render/raster.h"

class CtlButton;
class CtlCheckBox;
class CtlListBox;
class CtlShapeButton;
class CtlTrackBar;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QScrollBar;
class Tmatrice;

namespace dialogs {
class PageArbres;
}  // namespace dialogs
namespace fenetres {
class AdaptateurDefilement;
class HautBas;
class OngletsPlats;
class PreviewBox;
}  // namespace fenetres

class TPagesdlg1 : public QDialog {
  Q_OBJECT
 public:
  enum Page { kMontagne = 1, kArbres = 2, kAdditifs = 3, kProfils = 4 };
  static constexpr int kEntreesMax = 5;

  explicit TPagesdlg1(QWidget* parent = nullptr);  // Formcreate
  ~TPagesdlg1() override;

  // --- filled by the main window before init_montagnes
  void ajouter_nouvelle_montagne();  // "New mountain" as item 0 of the list
  void ajouter_montagne(const QString& nom, const Type_matrice& type, std::uint16_t numero);
  void tourner_vers(int code);  // turns the pages forward to a page code
  void init_montagnes();
  void choix_montagne();
  void afficher_page();
  void afficher_valeurs();

  // --- dialog state
  struct Entree {
    std::uint16_t numero = 0;
    Type_matrice type;
  };
  param_mat parametres{};  // the working copy of the parameters and generation key, read back only after OK
  std::uint8_t mode = 0;  // 0 later, 1 redo, 2 add, 3 trees only
  std::uint16_t montagne = 0;
  std::uint16_t nombre_montagnes = 0;
  std::array<Entree, kEntreesMax + 1> entrees{};  // entries 1..5
  std::uint16_t index_montagne = 0;
  std::uint16_t page = kMontagne;
  std::uint8_t voir = 0;
  std::uint8_t texte_cle_libre = 1;
  std::uint8_t apercu_a_refaire = 0;

  // --- preview
  std::unique_ptr<Tmatrice> apercu, apercu_rapide;
  param_mat parametres_apercu{};
  param_vue vue_apercu{};
  std::unique_ptr<TMyPalette> palette_apercu;
  int degre_apercu = 5;
  std::uint8_t rotation = 0;
  std::uint8_t sens_rotation = 1;
  platform::WindowHandle handle() const { return handle_; }

  // --- handlers
  void ScrollBar_scroll(QScrollBar* barre, int code, int position);
  void Edit_mont(QLineEdit* edit);
  void Edit_AdditChange(QLineEdit* edit);
  void TrackBar_etalChange();
  void TrackBar_profilChange(int m);
  void ListBox_mailClick(int item);
  void case_cochee(CtlCheckBox* boite);  // the Mountain and Additive check boxes
  void BitBtn_keyClick();
  void Combo_CLEChange(const QString& texte);
  void Combo_CLEKeyUp();
  // The key box is left, or OK or Add is pressed: a shorter number typed
  // counts as the key; text that is no number gives the box the key in use
  // back. Afterwards the box shows the key the mountain is made from.
  void valider_cle();
  void done(int resultat) override;  // OK takes the key on screen first
  void ComboBox_noChange(int item);
  void UpDown_noClick(int position);
  void Tourner_gMouseDown();  // "Turn to the right"
  void tournerDMouseDown();   // the other turn button
  void tournerDMouseUp();
  void Timer1Timer();
  void Button_a2Click();  // "More detailed"
  void helpbtnClick();
  int sujet_aide() const;  // the topic of the page shown
  void Btn_Next1Click();
  void Btn_Prev1Click();
  void PageControl1Change(int code);
  // The preview's render: apercu_rapide while turning, else apercu.
  void raffraichir_profil(render::Bitmap& image);

  // --- controls
  fenetres::OngletsPlats* PageControl1 = nullptr;
  QLineEdit *Edit_relief = nullptr, *Edit_profil = nullptr, *Edit_erosion = nullptr, *Edit_deperosion = nullptr,
            *Edit_lissage = nullptr, *Edit_etal = nullptr;
  QScrollBar *ScrollBar_relief = nullptr, *ScrollBar_profil = nullptr, *ScrollBar_erosion = nullptr,
             *ScrollBar_deperosion = nullptr, *ScrollBar_lissage = nullptr;
  CtlTrackBar* TrackBar_etal = nullptr;
  CtlListBox* ListBox_mail = nullptr;
  QComboBox* Combo_CLE = nullptr;
  CtlButton* BitBtn1 = nullptr;
  CtlCheckBox *checkbox_alea = nullptr, *CheckBox_iles = nullptr, *CheckBox_cuv = nullptr;

  dialogs::PageArbres* arbres = nullptr;  // the Trees page

  CtlCheckBox *CheckBox_rivage = nullptr, *CheckBox_terrasses = nullptr, *CheckBox_falaise = nullptr,
              *CheckBox_lignes = nullptr, *Checkbox_defor = nullptr;
  QScrollBar *ScrollBar_coeff = nullptr, *ScrollBar_rivage = nullptr, *ScrollBar_nb_terr = nullptr,
             *ScrollBar_pente = nullptr, *ScrollBar_degre = nullptr, *ScrollBar_horizon = nullptr;
  QLineEdit *Edit_coeff = nullptr, *Edit_hauteur = nullptr, *Edit_nb_terr = nullptr, *Edit_pente = nullptr,
            *Edit_degre = nullptr, *Edit_horizon = nullptr;

  std::array<CtlTrackBar*, 11> prof{};      // prof3..prof10 at 3..10
  std::array<QLineEdit*, 11> Edit_p{};      // Edit_p3..Edit_p10 at 3..10

  CtlButton* OKBtn = nullptr;
  CtlShapeButton *CtlShapeButton1 = nullptr, *CtlShapeButton2 = nullptr;
  QComboBox* ComboBox_no = nullptr;
  fenetres::HautBas* UpDown_no = nullptr;
  QLabel* Label_no = nullptr;
  QRadioButton *RadioButton_differe = nullptr, *RadioButton_refaire = nullptr, *RadioButton_ajouter = nullptr,
               *RadioButton_arbres = nullptr;
  CtlCheckBox* CheckBox_voir = nullptr;
  fenetres::PreviewBox* Image4 = nullptr;
  CtlShapeButton *CtlShapeButton3 = nullptr, *CtlShapeButton4 = nullptr, *CtlShapeButton5 = nullptr;
  CtlButton *Btn_Prev = nullptr, *Btn_Next = nullptr;
  QTimer Timer1;

  // Which entry each item of ComboBox_no stands for (0: no mountain).
  std::vector<std::uint16_t> entree_de_item;

 protected:
  bool eventFilter(QObject* objet, QEvent* e) override;

 private:
  struct Barre {
    QScrollBar* barre;
    QLineEdit* edit;
    std::int32_t param_mat::* champ;
    std::int32_t min, max, defaut;
  };
  QWidget* construire_montagne(QWidget* page);
  QWidget* construire_additifs(QWidget* page);
  QWidget* construire_profils(QWidget* page);
  QWidget* construire_bas();
  QWidget* construire_apercu();
  void connecter();
  void charger_montagne();
  void charger_additifs();
  void charger_profils();
  void reconstruire_apercu();
  void demarrer_rotation(std::uint8_t sens);
  void fixer_page(int code);
  const Barre* barre_de(QScrollBar* b) const;
  const Barre* barre_d_edit(QLineEdit* e) const;
  std::vector<Barre> barres_;  // Mountain and Additive pages
  std::vector<std::pair<QScrollBar*, fenetres::AdaptateurDefilement*>> adaptateurs_;
  platform::WindowHandle handle_ = 0;
};
