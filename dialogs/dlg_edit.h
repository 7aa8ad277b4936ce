// The tool-parameter dialog of the map editor: widths, altitudes before and
// after, a ratio or angle and a shape option for the point where a stroke
// began ("Begin") and where it ended ("End"), or for a single point
// ("Point"), with the terrain's cross-section before (black) and after (red)
// the tool. Its section line and brush circles go onto the editor's map
// picture through MarquesCarte, always inverting, so every mark drawn twice
// is gone. Two more modes serve the editor's Raise (101) and Cross-section
// (102). OK ends the dialog with 1, Cancel and Escape with 2.
#pragma once

#include <QDialog>

#include "dialogs/calculs_outils.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace dialogs {

class ZoneSection;

class Tdlg_edit : public QDialog {
 public:
  explicit Tdlg_edit(QWidget* parent = nullptr);

  // Sets the dialog up for `outil` from the fields below.
  void prepare_outil(MarquesCarte* canevas, PixelCarte point_debut, bool deformation, bool zoom2,
                     PixelCarte point_fin);
  // Shows the working values, stores them into the shown set and computes the result profile.
  void affiche_valeurs();
  void calcule_profil();
  void trace_coupe(std::int32_t r1, std::int32_t r2, bool ligne, bool cercles, bool au_debut);
  void marque_extremite();
  // The help topic of the tool.
  int contexte_aide() const;
  // The point where the shown set acts.
  PixelCarte point_affiche() const { return jeu_affiche ? point_debut : point_fin; }

  // --- handlers
  void ScrollBar_baseChange();
  void ScrollBar_sommetChange();
  void changer_largeur(std::int32_t& largeur, std::int32_t v);
  void ScrollBar_altChange(bool alt1);
  void ScrollBar_coeffChange();
  void RadioButton_e();
  void CheckBox_resdessinerClick();
  void CheckBox_RiviereClick();
  void Button_df1Click();
  void Button_d_f1Click();
  void Button_rotate1Click();
  void helpbtn1Click();
  void FormClose();

  // --- fields, filled by the editor before prepare_outil and read after OK
  std::uint16_t outil = 0;
  std::int32_t apres = 0, avant = 0, base = 0, sommet = 0, coefficient = 0, forme = 0, ecart = 0;
  JeuOutil debut, fin;  // the Begin set (the stroke's start) and the End set
  std::uint8_t jeu_affiche = 0;  // 1: Begin is shown
  std::uint8_t un_point = 0, voir_resultat = 0, mode_elevation = 0, option2 = 0, pondere = 0;
  std::uint8_t riviere_seule = 0, chemin = 0, deformation = 0, zoom2 = 0;
  PixelCarte point_debut, point_fin;
  MarquesCarte* canevas = nullptr;
  int orientation = 1;
  std::int32_t mer_coupe = 0;
  std::int32_t altitude_max = 1;
  std::int32_t sommet_colle = 0;
  Profil profil_debut, profil_fin, profil, profil_resultat;

  // --- controls
  QWidget *Panel_base, *Panel_sommet, *Panel_alt, *Panel_image, *Panel_coeff, *Panel_df;
  QScrollBar *ScrollBar_base, *ScrollBar_sommet, *ScrollBar_alt, *ScrollBar_alt1, *ScrollBar_coeff;
  QLabel *Label_b, *Label_base, *Label_s, *Label_sommet, *Label_avant, *Label_3, *Label_apres, *Label_4;
  QLabel *Label_a1, *Label_a2, *Label_c, *Label_coeff, *Label_d, *Label_deniv, *Label_fin;
  ZoneSection* Image_deniv;
  QCheckBox *CheckBox_resdessiner, *CheckBox_Riviere;
  QPushButton *Button_df, *Button_d_f, *Button_rotate, *OKbtn, *Cancelbtn, *helpbtn;
  QRadioButton *RadioButton_Unif, *RadioButton_etirem;

  void reject() override { done(2); }

 private:
  friend class ZoneSection;
  void construire();
  void installer_outil();
  void montrer_radios(const char* a, const char* bulle_a, const char* b, const char* bulle_b, bool second);
  void montrer_alt1(const char* bulle);
  void regles_initiales();
  void garder_ordre();
  void disposer();
  void placer_barres();
  void peindre_section(QWidget* zone);
  ValeursProfil valeurs() const;
  PixelCarte point_coupe(bool au_debut) const;
  std::int32_t zoom() const { return zoom2 ? 2 : 1; }

 public:
  // --- each tool's set-up, named by its row of the tool table
  void installer_forme();
  void installer_plateau();
  void installer_vallee();
  void installer_lissage();
  void installer_cone();
  void installer_col();
  void installer_route();
  void installer_strate();
  void installer_relief();
  void installer_ruissellement();
  void installer_copier();
  void installer_coller();
  void installer_elevation();
  void installer_coupe();
};

}  // namespace dialogs
