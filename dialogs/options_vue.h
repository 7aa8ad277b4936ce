// "Adjustments of the view": the modal dialog in which the user sets the view
// record of the default view and of every open view, page by page (Scale,
// Framing, Arbres, Levels, Colours, Weather), with small previews rendered on
// reduced preview terrains.
//
// The main window fills an EntreesOptionsVue, runs the dialog and, on OK, reads
// a SortiesOptionsVue back. The dialog works on its own copies of the records;
// it holds the main window's terrains, pictures and editors only while it runs.
// Pages read and write record 0 only.
#pragma once

#include <QColor>
#include <QDialog>
#include <QImage>
#include <QTimer>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/echantillons.h"
#include "model/records.h"
#include "platform/messages.h"
#include "render/raster.h"

class CtlCheckBox;
class CtlBitmapList;
class CtlComboBox;
class CtlImageComboBox;
class CtlShadowFill;
class CtlSpeedButton;
class CtlTrackBar;
class FenetreEdition;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QScrollBar;
class TMyPalette;
class Tmatrice;

namespace dialogs {

class AdaptateurDefilement;
class BoiteCouleur;
class BoiteEchelle;
class BoiteFleche;
class BoitePalette;
class Jauge;
class BoutonPas;
class HautBas;
class OngletsPlats;
class PreviewBox;

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
  static constexpr int kLargeurCadrage = 200, kHauteurCadrage = 150;
  static constexpr int kLargeurCadre = 76, kHauteurCadre = 54;
  static constexpr int kLargeurEchelle = 130, kHauteurEchelle = 98;
  static constexpr int kLargeurArbres = 230, kHauteurArbres = 120;

  explicit TPagesDlg2(QWidget* parent = nullptr);  // FormCreate
  ~TPagesDlg2() override;                          // FormClose

  // The main window's filling, then init_vues.
  void remplir(const EntreesOptionsVue& e);
  // What the main window reads back (after OK; the page in every case).
  SortiesOptionsVue sorties() const;
  // Fills, runs modally and reads back: 1 for OK, 2 for Cancel.
  int executer(const EntreesOptionsVue& e, SortiesOptionsVue& s);

  // --- frame
  void choix_vue();
  void afficher_page();
  void afficher_valeurs();
  void changer_vue(int position);  // list position 1..nombre_vues
  void Btn_NextClick();
  void Btn_PrevClick();
  void HelpBtnClick();
  int sujet_aide() const;

  // --- Scale page
  void charger_echelle();
  void afficher_echelle();
  // --- Framing page
  void charger_cadrage();
  void afficher_cadrage();
  void ScrollBar_Scroll(QScrollBar* barre, int code, int position);
  void edit_change(QLineEdit* edit);
  void Button_detailClick();
  void Button_detail_lockClick();
  void BitBtn_no_cadre1Click();
  void Timer_cadreTimer();
  void appuyer_pas(BoutonPas* b);
  void relacher_pas(BoutonPas* b);
  // Drag steering of the framing box at a point of the box.
  void cadrage_appui(int x, int y);
  void cadrage_deplacement(int x, int y);
  void cadrage_relache();

  // --- Levels page
  void charger_niveaux();
  void afficher_niveaux();
  void ScrollBar_nivScroll(QScrollBar* barre, int code, int position);
  void Edit_nivExit(QLineEdit* edit);
  void BitBtn_no_niv1Click();

  // --- Colours page
  void charger_couleurs();
  void afficher_rvb();
  void afficher_couleurs();
  void calculer_palette();
  void TrackBar_couleursChange(CtlTrackBar* barre);
  void Edit_couleursExit(QLineEdit* edit);
  void Button_griClick();
  void BitBtn_no_coul1Click();
  void Image_palettemousedown(int y);
  // The colour dialog: the chosen colour, or nothing on Cancel (tests answer without a modal loop).
  std::function<std::optional<QColor>(const QColor&)> choisir_couleur;

  // --- Weather page
  void charger_meteo();
  void afficher_meteo();
  void RadioGroup_tempsClick(int item);
  void RadioGroup_cielClick(int item);
  void FileListBox_imagesClick();
  void ChangerClick();
  void Edit1_meteoChange(QLineEdit* edit);

  // --- Trees page
  void charger_arbres();
  void afficher_arbres();
  void Edit_arbresExit(QLineEdit* edit);
  void ComboBox_couche1Change(int item);
  void UpDown_coucheClick(int position);
  void ComboBox_type1Change(int item);
  void Button_a1Click();
  void Button_a2Click();
  void Button_a4Click();
  void tourner_appui(bool gauche);
  void Timer_tournerTimer();
  void tourner_relache();
  void BitBtn_no_arbre1Click();
  // Layer k (1..6) is present in the displayed mountain (all are without one).
  bool couche_disponible(int k) const;
  espece_arbres& couche_affichee();  // record 0's selected layer

  // --- state (the dialog's fields)
  std::uint8_t mode = 0;
  std::array<param_vue, 11> vues{};
  std::uint16_t nombre_vues = 0;
  std::array<std::uint16_t, 11> numero_vue{}, montagne_vue{};
  std::uint16_t vue_affichee = 0, montagne_affichee = 0, vue_active = 0, index_vue_active = 0;
  std::uint16_t index_affiche = 0, montagne_chargee = 0;
  std::uint16_t page_courante = 1;
  std::uint8_t rapide = 0, detail_fixe = 0;
  std::int32_t index_dist = 0;
  bool drapeau_echelle = false, drapeau_cadrage = false, drapeau_cadre = false, recalcul_cadre = false;
  bool drapeau_niveaux = false;
  int indice_couleur = 3;         // the Colours page's list index, 1..10
  bool drapeau_brume = false, drapeau_ciel = false, drapeau_mer = false;
  bool drapeau_arbres = false;
  int couche_choisie = 1;   // the tree layer shown, 1..6
  int graine_arbre = 111;   // the tree model's seed
  int angle_arbre = 180;    // its turn angle, degrees
  int mode_arbres = 0;      // 0 one tree, 1 detailed, 2 every layer
  QTimer Timer_tourner;
  std::string dossier_liste_ciels;  // the folder the sky list shows
  int palettes_construites = 0;   // working palettes made (tests)
  QTimer Timer1;                  // the palette recomputed once a drag pauses
  std::string dossier_programme;
  std::uint8_t ciel_present = 0;
  std::array<std::optional<MontagneOptionsVue>, 6> montagnes;
  std::array<Tmatrice*, 6> terrains{};
  std::array<FenetreEdition*, 6> editeurs{};
  std::array<QImage, 11> vignettes;
  std::unique_ptr<Tmatrice> relief_apercu, relief_rapide, relief_arbres;
  std::unique_ptr<TMyPalette> palette;
  enregistrement_camera camera_nulle{};

  // --- controls (tests drive them)
  OngletsPlats* Pagecontrol2 = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
  QPushButton* HelpBtn = nullptr;
  QComboBox* ComboBox_no = nullptr;
  HautBas* UpDown_no = nullptr;
  QLabel* Label_no = nullptr;
  QRadioButton *RadioButton_differe = nullptr, *RadioButton_Refaire = nullptr, *RadioButton_ajouter = nullptr;
  QPushButton *btn_prev = nullptr, *btn_next = nullptr;
  std::array<QPushButton*, 4> boutons_copie{};      // Framing, Trees, Levels, Colours
  std::array<QLabel*, 4> labels_origine{}, labels_destination{};
  // Scale
  std::array<QRadioButton*, 4> radios_taille{};
  CtlCheckBox *CheckBox_spex = nullptr, *Checkbox_predef = nullptr, *CheckBox_scroll = nullptr,
              *CheckBox_details = nullptr, *CheckBox_defor = nullptr, *Checkbox_photo = nullptr,
              *Checkbox_masque = nullptr;
  QLineEdit *Edit_Xmax = nullptr, *Edit_Ymax = nullptr, *Edit_profondeur = nullptr, *Edit_rugosite = nullptr;
  QLineEdit *Edit_R = nullptr, *Edit_V = nullptr, *Edit_B = nullptr, *Edit_tolerance = nullptr,
            *Edit_transparence = nullptr;
  QScrollBar* ScrollBar_taille = nullptr;
  QScrollBar* ScrollBar_transparence = nullptr;
  CtlTrackBar *Trackbar_profondeur = nullptr, *Trackbar_rugosite = nullptr;
  QRadioButton *RadioButton_BMP = nullptr, *RadioButton_JPEG = nullptr;
  QLabel *Label_taille = nullptr, *Label_nomfichier = nullptr;
  BoiteEchelle* Image_echelle = nullptr;
  // Framing
  QScrollBar *ScrollBar_vert = nullptr, *ScrollBar_hor = nullptr, *ScrollBar_solV = nullptr,
             *ScrollBar_solH = nullptr, *ScrollBar_hauteur = nullptr, *ScrollBar_zoom = nullptr,
             *ScrollBar_dist = nullptr;
  // Each bar's scroll-code adapter.
  std::map<QScrollBar*, AdaptateurDefilement*> adaptateurs;
  QLineEdit *Edit_ver = nullptr, *Edit_hor = nullptr, *Edit_solv = nullptr, *Edit_solh = nullptr,
            *Edit_haut = nullptr, *Edit_dist = nullptr;
  QLabel* Label_zoom = nullptr;
  CtlCheckBox *CheckBox_rapide = nullptr, *CheckBox_observateur = nullptr;
  // Arrows up, down, left, right; angles up, down, right, left; zoom +, -; distance +, -.
  std::array<BoutonPas*, 4> fleches{}, boutons_angle{};
  BoutonPas *Zoom_plus = nullptr, *Zoom_moins = nullptr, *Btn_pres = nullptr, *BTn_loin = nullptr;
  CtlSpeedButton* Button_detail = nullptr;
  QPushButton* Button_detail_lock = nullptr;
  PreviewBox* Image_cadrage = nullptr;
  PreviewBox* Image_cadre = nullptr;
  CtlShadowFill* Rectangle_cadre = nullptr;
  QTimer Timer_cadre;
  // Levels: sea, grass, rock, overlap, sand, snow, snow transition.
  std::array<QScrollBar*, 7> barres_niveaux{};
  std::array<QLineEdit*, 8> edits_niveaux{};  // the seven levels, then the colour diversity
  CtlTrackBar* Trackbar_alea = nullptr;
  CtlCheckBox *CheckBox_strates = nullptr, *CheckBox_neige = nullptr, *checkbox_arb_neige = nullptr;
  PreviewBox* Image_niveaux = nullptr;
  // Colours: red, green, blue, light; contrast and shadow depth.
  CtlComboBox* ComboBox_coul = nullptr;
  std::array<CtlTrackBar*, 4> glissieres_rvbl{};
  CtlTrackBar *Trackbar_contraste = nullptr, *Trackbar_ombre = nullptr;
  std::array<QLineEdit*, 6> edits_couleurs{};  // red, green, blue, light, contrast, shadow depth
  std::array<Jauge*, 3> jauges{};
  CtlCheckBox* CheckBox_coul_def = nullptr;
  HautBas* UpDown_niveau = nullptr;
  QPushButton* Button_gri = nullptr;
  BoitePalette* Image_palette = nullptr;
  BoiteFleche* Image_fleche = nullptr;
  BoiteCouleur* Image_couleur = nullptr;
  // Trees.
  std::array<QRadioButton*, 6> radios_couche{};
  CtlComboBox *ComboBox_couche = nullptr, *ComboBox_couleur = nullptr;
  CtlImageComboBox* ComboBox_type = nullptr;
  CtlBitmapList* BitmapList_arbres = nullptr;  // the eight tree kinds, drawn at creation
  HautBas* UpDown_couche = nullptr;
  // Height, width, weight, leaf size, leaf width, trunk height, trunk width, growth, diversity.
  std::array<CtlTrackBar*, 9> glissieres_arbres{};
  std::array<QLineEdit*, 8> edits_arbres{};
  QLabel* Label_diversite = nullptr;
  CtlCheckBox *CheckBox_int1 = nullptr, *CheckBox_int2 = nullptr, *CheckBox_int3 = nullptr,
              *CheckBox_arbres = nullptr, *CheckBox_diversite = nullptr, *CheckBoxdetailplus = nullptr;
  PreviewBox* Image_arbres = nullptr;
  BoutonPas *Tourner_G = nullptr, *Tourner_D = nullptr;
  QPushButton *Button_a1 = nullptr, *Button_A2 = nullptr, *Button_a4 = nullptr;
  // Weather.
  std::array<QRadioButton*, 3> RadioGroup_temps{}, RadioGroup_ciel{};
  QScrollBar *scrollbar_brume = nullptr, *ScrollBar_ht_brume = nullptr;
  QPushButton *btn_brume_moins = nullptr, *btn_brume_plus = nullptr, *Changer = nullptr;
  CtlCheckBox *CheckBox_horizon = nullptr, *CheckBox_alea = nullptr, *CheckBox_orage = nullptr,
              *CheckBox_reflets = nullptr;
  CtlTrackBar *TrackBar_horizon = nullptr, *TrackBar_nbnuages = nullptr, *Trackbar_taille_nuages = nullptr,
              *trackbar_hautnuage = nullptr, *Trackbar_agitmer = nullptr, *Trackbar_txreflets = nullptr;
  // Mist density, mist height, cloud count, size and height, choppiness, reflection rate, horizon lowering.
  std::array<QLineEdit*, 8> edits_meteo{};
  QListWidget* FileListBox_images = nullptr;
  QLabel* Label_import = nullptr;
  PreviewBox *Image_brume = nullptr, *Image_ciel = nullptr, *Image_mer = nullptr;

 private:
  void construire_cadre();
  void construire_echelle(QWidget* page);
  void construire_cadrage(QWidget* page);
  void construire_niveaux(QWidget* page);
  void connecter_niveaux();
  void rendre_niveaux(render::Bitmap& image);
  void construire_couleurs(QWidget* page);
  void connecter_couleurs();
  void construire_meteo(QWidget* page);
  void construire_arbres(QWidget* page);
  void connecter_arbres();
  void rendre_arbres(render::Bitmap& image);
  void connecter_meteo();
  void remplir_liste_ciels();
  void rendre_brume(render::Bitmap& image);
  void rendre_ciel(render::Bitmap& image);
  void rendre_mer(render::Bitmap& image);
  void connecter_echelle();
  void connecter_cadrage();
  void init_vues(const param_mat& p);
  void preparer_terrains(const param_mat& p);
  void charger_apercu_relief();
  // A new working palette from record 0: small, or big with the mist levels (Weather).
  void nouvelle_palette(bool grande = false);
  void rendre(Tmatrice& t, const param_vue& v, render::Bitmap& image);
  void rendre_detail(render::Bitmap& image);
  void rendre_cadrage(render::Bitmap& image);
  void rendre_cadre(render::Bitmap& image);
  void placer_rectangle_cadre();
  void afficher_lignes_vision(const Tmatrice& rendu);
  void montrer_vue_active();
  int index_de_vue(int numero) const;  // the first list index of a view number, 0 if none
  bool cocher_taille(const param_vue& v);  // checks the size radio of the record; false when none fits
  QScrollBar* barre(QWidget* page, Qt::Orientation o, int minimum, int maximum, QRect g);
  void ecrire_taille(QLineEdit* e, bool largeur);
  void ecrire_masque();
  void fixer_detail(bool fixe);
  void fixer_ciel();

  platform::WindowHandle handle_ = 0;
  QPoint point_appui_;
  bool tourner_gauche_ = false;
  bool detail_demande_ = false;  // "Détail" was clicked: the next framing render is the real terrain only
};

}  // namespace dialogs
