// What the pages of the view options dialog share, and the page contract.
//
// ContexteOptionsVue is the dialog's view of the open documents as the pages
// need it: the displayed view and mountain, the preview terrains that receive
// the mountain's samples, the sky folder, and the one way a preview renders.
// The dialog owns it and updates it when the displayed view changes; pages
// only read it (loading samples into the preview terrains aside).
//
// A page is built from the record it shows and keeps a working copy of it.
// charger() loads the controls from a record; ranger() writes the fields the
// page edits, and only those, into a record. A page signals `change` after the
// user changed one of its fields, and `copie` when its copy button is pressed.
#pragma once

#include <QImage>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "model/echantillons.h"
#include "model/records.h"
#include "platform/messages.h"
#include "render/raster.h"

class QLabel;
class QPushButton;
class TMyPalette;
class Tmatrice;

namespace dialogs {

// What the dialog keeps of a mountain for its previews.
struct MontagneOptionsVue {
  double cible_x = 0.333, cible_y = 0.333;
  double observateur_x = 0.01, observateur_y = 0.01;
  double altitude_cible = 0, altitude_observateur = 0;
  std::array<std::uint8_t, 7> especes{};  // tree kinds present, 1..6
  Echantillon36 echantillons{};
};
// Target and observer fractions, their ground heights, the tree kinds and the samples of a terrain.
MontagneOptionsVue decrire_montagne(const Tmatrice& terrain);

// A working palette from a record: the record's ten level colours (or the
// base colours), built with its contrast, shadow depth and cast shadows; the
// big one also holds the mist levels of the record's density.
std::unique_ptr<TMyPalette> palette_de(const param_vue& v, bool grande = false);

class ContexteOptionsVue {
 public:
  ContexteOptionsVue();
  ~ContexteOptionsVue();
  ContexteOptionsVue(const ContexteOptionsVue&) = delete;
  ContexteOptionsVue& operator=(const ContexteOptionsVue&) = delete;

  // Builds the preview terrains from the creation record (degree 5, its
  // every-second-node copy of degree 4, and a flat degree-6 ground) and looks
  // for the program's sky folder.
  void preparer(const param_mat& p, const std::string& dossier_programme);

  // --- the documents, as the dialog fills them
  std::array<std::optional<MontagneOptionsVue>, 6> montagnes;  // by mountain slot 1..5
  std::array<Tmatrice*, 6> terrains{};                          // by mountain slot 1..5
  std::uint16_t vue_affichee = 0, vue_active = 0, montagne_affichee = 0;
  bool copie_permise = false;  // the copy buttons may copy the displayed view over the active one
  std::string texte_liste;     // the view list's text
  QImage vignette;             // the displayed view's thumbnail; null without one
  bool photo_terrain = false;  // the creation record has picture colours

  // --- the sky folder
  const std::string& dossier_programme() const { return dossier_programme_; }
  bool ciel_present() const { return ciel_present_; }  // "nuage.jpg" is in the program's sky folder
  const std::string& dossier_liste_ciels() const { return dossier_liste_ciels_; }
  // The window the previews are drawn for.
  platform::WindowHandle fenetre() const { return handle_; }

  // --- the displayed mountain
  const MontagneOptionsVue* montagne() const;
  Tmatrice* terrain() const;  // its real terrain, when the dialog knows it
  // Layer k (1..6) is present in the displayed mountain (all are without one).
  bool couche_disponible(int k) const;

  // The preview terrains; the first two hold the displayed mountain's samples.
  Tmatrice& apercu();
  Tmatrice& rapide();
  Tmatrice& plat();

  // A preview render: no progress window, no editor map, no flags, the zero camera.
  void rendre(Tmatrice& t, const param_vue& v, const TMyPalette& palette, render::Bitmap& image) const;

 private:
  void charger_apercu_relief();
  std::unique_ptr<Tmatrice> relief_apercu_, relief_rapide_, relief_arbres_;
  std::uint16_t montagne_chargee_ = 0;
  std::string dossier_programme_, dossier_liste_ciels_;
  bool ciel_present_ = false;
  platform::WindowHandle handle_ = 0;
  enregistrement_camera camera_nulle_{};
};

class PageOptionsVue : public QWidget {
  Q_OBJECT
 public:
  // Loads the controls from the record.
  virtual void charger(const param_vue& v) = 0;
  // Writes the fields this page edits into the record.
  virtual void ranger(param_vue& v) const = 0;

 signals:
  void change();
  void copie();

 protected:
  PageOptionsVue(const param_vue& v, ContexteOptionsVue& contexte, QWidget* parent);
  // The copy button and its origin and destination labels; `nom` names the button.
  QPushButton* ajouter_copie(const char* nom, QRect bouton, QPoint origine, QPoint destination);
  // The copy labels and button follow the displayed and active views.
  void montrer_copie();
  // Silences the controls before the page goes: a widget being destroyed
  // hands the focus on, and an edit that loses it would still report to the page.
  void taire_controles();

  param_vue vue_;
  ContexteOptionsVue& contexte_;

 private:
  QLabel* origine_ = nullptr;
  QLabel* destination_ = nullptr;
  QPushButton* bouton_copie_ = nullptr;
};

}  // namespace dialogs
