// "Adjustements of the video": the settings of the videos of a view on three
// pages (reglages_pages.h): "Size", "Path" and "Creation". The dialog keeps
// the frame, the list of videos, the working copy of each video's settings,
// the mode chosen for OK and the buttons; it lends the pages the terrains,
// pictures and camera table of the video shown, and after each edit gathers
// the pages' fields, has the path computed and shows the result on every page.
// The main window reads the settings back only after OK.
#pragma once

#include <QDialog>
#include <QImage>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "render/palette.h"
#include "video/dialogue_reglages.h"
#include "video/reglages_pages.h"

class CtlButton;
class CtlComboBox;
class QLayout;
class QRadioButton;
class Tmatrice;

namespace fenetres {
class OngletsPlats;
}

class TPagesDlg3 : public QDialog, public DialogueReglagesVideo {
  Q_OBJECT
 public:
  enum Page { kTaille = 1, kTrajet = 2, kCreation = 3 };

  explicit TPagesDlg3(QWidget* parent = nullptr);
  ~TPagesDlg3() override;

  // Fills the dialog, runs it through the run hook and, on OK, hands the
  // settings back: 1 for OK, 2 for Cancel.
  int executer(const EntreesReglagesVideo& entrees, SortiesReglagesVideo& sorties) override;
  // How a filled dialog is run: exec() unless a test answers for the user.
  static std::function<int(TPagesDlg3&)>& execution();

  void init_videos(const EntreesReglagesVideo& entrees);
  // The settings of the video shown as the pages hold them, its slot and the mode.
  SortiesReglagesVideo sorties() const;

 signals:
  // After each computation of the path (nothing is kept of them here).
  void trajectoire_calculee();

 protected:
  void closeEvent(QCloseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void done(int r) override;

 private:
  QLayout* construire_bas();
  void charge_video();
  void choisir_video(int index);
  void ranger_pages(Param_video& v) const;
  void modifie(bool grossier = false);
  void calcule_trajectoire();
  void OKBtnClick();

  EntreesReglagesVideo entrees_{};
  std::vector<DocumentReglagesVideo> videos_;
  int choisi_ = 0;
  Param_video video_{};  // the settings of the video shown, gathered from the pages
  int mode_ = 0;         // on OK: 0 later, 1 redo, 2 add
  bool charge_ = false;  // loading: the pages' changes are not acted on
  std::unique_ptr<Tmatrice> apercu5_, apercu4_;  // the preview terrains
  int montagne_apercu_ = -1;
  std::optional<TMyPalette> palette_;
  std::vector<QImage> images_trajet_;  // the path editor's picture of each video
  ContexteFilm film_{};                // what the preview movie of the video shown is made from

  CtlComboBox* ComboBox_no = nullptr;
  fenetres::OngletsPlats* Pagecontrol2 = nullptr;
  PageTailleVideo* taille_ = nullptr;
  PageTrajetVideo* trajet_ = nullptr;
  PageCreationVideo* creation_ = nullptr;
  QRadioButton *RadioButton_differe = nullptr, *RadioButton_Refaire = nullptr, *RadioButton_ajouter = nullptr;
  CtlButton *OKBtn = nullptr, *CancelBtn = nullptr, *HelpBtn = nullptr;
};
