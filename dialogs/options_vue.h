// "Adjustments of the view": the modal dialog in which the user sets the view
// record of the default view and of every open view, page by page (Scale,
// Framing, Arbres, Levels, Colours, Weather), with small previews rendered on
// reduced preview terrains.
//
// The main window fills an EntreesOptionsVue, runs the dialog and, on OK, reads
// a SortiesOptionsVue back. The dialog works on its own copies of the records;
// it holds the main window's terrains, pictures and editors only while it runs.
// The dialog keeps the frame: the view list, the records, the page shown and
// the buttons. Each page is a class of its own, loaded from record 0 when it
// is shown and storing its fields into record 0 as the user changes them.
#pragma once

#include <QDialog>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/options_vue_page.h"
#include "model/records.h"
#include "render/raster.h"

class FenetreEdition;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace fenetres {
class HautBas;
class OngletsPlats;
}  // namespace fenetres

namespace dialogs {


// One entry of the view list.
struct DocumentOptionsVue {
  std::string titre;
  param_vue parametres;
  std::uint16_t montagne = 0;
  std::uint16_t numero = 0;  // view slot
  std::int32_t largeur_image = 0, hauteur_image = 0;  // the view window's picture size
};

struct EntreesOptionsVue {
  param_vue vue;                     // the main window's default view
  std::uint16_t vue_courante = 0;    // 0: none
  std::uint16_t montagne_courante = 0;
  std::string titre_carte;           // the current card's caption (used without a current view)
  std::vector<DocumentOptionsVue> documents;  // the open views, by slot, when a view is current
  std::array<std::optional<MontagneOptionsVue>, 6> montagnes;  // by mountain slot 1..5
  std::array<Tmatrice*, 6> terrains{};                          // by mountain slot 1..5
  std::array<FenetreEdition*, 6> editeurs{};                    // open map editors by slot
  std::array<const render::Bitmap*, 11> images{};               // each view slot's picture
  std::string dossier_programme;
  param_mat parametres;          // the main window's creation record
  std::uint16_t page = 1;        // the page shown last time (1..6)
};

struct SortiesOptionsVue {
  param_vue vue;                  // record 0
  std::uint16_t vue_choisie = 0;  // the displayed view, 0 for none
  std::uint16_t montagne = 0;     // its mountain
  std::uint8_t action = 0;        // 0 later, 1 redraw, 2 add
  std::uint16_t page = 1;         // the page shown last, kept on Cancel too
};

class TPagesDlg2 : public QDialog {
  Q_OBJECT
 public:
  explicit TPagesDlg2(QWidget* parent = nullptr);  // FormCreate
  ~TPagesDlg2() override;                          // FormClose

  // The main window's filling, then init_vues: the pages are built from the
  // record they will show first.
  void remplir(const EntreesOptionsVue& e);
  // What the main window reads back (after OK; the page in every case).
  SortiesOptionsVue sorties() const;
  // Fills, runs modally and reads back: 1 for OK, 2 for Cancel.
  int executer(const EntreesOptionsVue& e, SortiesOptionsVue& s);

 private:
  void construire_cadre();
  void connecter_cadre();
  void construire_pages(const param_vue& v);
  void remplir_liste(const EntreesOptionsVue& e);
  void init_vues();
  void choix_vue();
  void afficher_page();
  void changer_vue(int position);  // list position 1..nombre_vues
  void copier(void (*copie)(const param_vue&, param_vue&));
  void Btn_NextClick();
  void Btn_PrevClick();
  int sujet_aide() const;
  int index_de_vue(int numero) const;  // the first list index of a view number, 0 if none
  PageOptionsVue* page(int code) const { return code >= 1 && code <= 6 ? pages_[std::size_t(code)] : nullptr; }

  std::uint8_t mode_ = 0;
  std::array<param_vue, 11> vues_{};
  std::uint16_t nombre_vues_ = 0;
  std::array<std::uint16_t, 11> numero_vue_{}, montagne_vue_{};
  std::uint16_t index_vue_active_ = 0, index_affiche_ = 0;
  std::uint16_t page_courante_ = 1;
  std::array<QImage, 11> vignettes_;
  std::array<FenetreEdition*, 6> editeurs_{};
  ContexteOptionsVue contexte_;
  std::array<PageOptionsVue*, 7> pages_{};  // by page code 1..6

  fenetres::OngletsPlats* Pagecontrol2 = nullptr;
  QPushButton *OKBtn = nullptr, *CancelBtn = nullptr, *HelpBtn = nullptr;
  QComboBox* ComboBox_no = nullptr;
  fenetres::HautBas* UpDown_no = nullptr;
  QLabel* Label_no = nullptr;
  QRadioButton *RadioButton_differe = nullptr, *RadioButton_Refaire = nullptr, *RadioButton_ajouter = nullptr;
  QPushButton *btn_prev = nullptr, *btn_next = nullptr;
};

}  // namespace dialogs
