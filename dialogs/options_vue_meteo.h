// The Weather page of the view options dialog: sunny, mist or overcast, mist
// density and height, the horizon and its lowering, the sky (light, clouded
// or a picture of the program's sky folder) and its clouds, the sea's
// choppiness and reflections; the mist, sky and sea previews.
#pragma once

#include <array>
#include <memory>

#include "dialogs/options_vue_page.h"

class CtlCheckBox;
class CtlTrackBar;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QScrollBar;

namespace fenetres {
class PreviewBox;
}  // namespace fenetres

namespace dialogs {


class PageMeteoVue : public PageOptionsVue {
 public:
  static constexpr int kLargeurApercu = 150, kHauteurApercu = 100;

  // The sky list shows the pictures of the context's sky folder; "nuage.jpg"
  // is selected when the record names no sky and the folder holds it.
  PageMeteoVue(const param_vue& v, ContexteOptionsVue& contexte, QWidget* parent = nullptr);
  ~PageMeteoVue() override;
  void charger(const param_vue& v) override;
  void ranger(param_vue& v) const override;

 private:
  void construire();
  void construire_ciel();
  void connecter();
  void connecter_ciel();
  void remplir_liste_ciels();
  void selectionner_ciel();
  void charger_meteo();
  void afficher_meteo();
  void changer_densite(int densite);
  void RadioGroup_tempsClick(int item);
  void RadioGroup_cielClick(int item);
  void FileListBox_imagesClick();
  void ChangerClick();
  void Edit1_meteoChange(QLineEdit* edit);
  void rendre_brume(render::Bitmap& image);
  void rendre_ciel(render::Bitmap& image);
  void rendre_mer(render::Bitmap& image);

  std::unique_ptr<TMyPalette> palette_;
  bool drapeau_brume_ = false, drapeau_ciel_ = false, drapeau_mer_ = false;
  std::array<QRadioButton*, 3> RadioGroup_temps{}, RadioGroup_ciel{};
  QScrollBar *scrollbar_brume = nullptr, *ScrollBar_ht_brume = nullptr;
  QPushButton *btn_brume_moins = nullptr, *btn_brume_plus = nullptr, *Changer = nullptr;
  CtlCheckBox *CheckBox_horizon = nullptr, *CheckBox_alea = nullptr, *CheckBox_orage = nullptr,
              *CheckBox_reflets = nullptr;
  CtlTrackBar *TrackBar_horizon = nullptr, *TrackBar_nbnuages = nullptr, *Trackbar_taille_nuages = nullptr,
              *trackbar_hautnuage = nullptr, *Trackbar_agitmer = nullptr, *Trackbar_txreflets = nullptr;
  // Mist density, mist height, cloud count, size and height, choppiness, reflection rate, horizon lowering.
  std::array<QLineEdit*, 8> edits_{};
  // The sky list: each entry shows its file name, cut in the middle when the
  // list is too narrow for it, and holds it whole as its tooltip; a picture
  // the sky cannot draw is greyed and cannot be chosen.
  QListWidget* FileListBox_images = nullptr;
  QLabel* Label_import = nullptr;
  bool selection_par_code_ = false;  // the list's entry is set from the record, not chosen
  fenetres::PreviewBox *Image_brume = nullptr, *Image_ciel = nullptr, *Image_mer = nullptr;
};

}  // namespace dialogs
