// The map editor: one mountain seen from straight above as a shaded map, with
// the target point and the observer marked on it, a position readout and an
// altitude gauge. Both zooms are rendered by one renderer call, outside any
// paint handler, and kept; the maps may be kept as pictures beside the
// document and shown again at the next opening without rendering.
//
// The tool bar is laid out here; what the tools do with the mouse (strokes,
// the tool dialog, Undo, Raise, Cross-section) lives in edition_outils.cpp.
#pragma once

#include <QImage>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "fenetres/fenetres.h"
#include "dialogs/edition_geometrie.h"
#include "dialogs/outils_edition.h"
#include "render/palette.h"
#include "render/raster.h"

class CtlSimplePanel;
class CtlSpeedButton;
class QAction;
class QLabel;
class QMenu;
class QRadioButton;
class QScrollBar;
class QScrollArea;
class QStatusBar;

namespace dialogs {
class MarquesCarte;
class Nuancier;
class Tdlg_edit;
class ZoneCarte;
class ZoneJauge;

// Fills the editor's small palette from a map view: its ten colours, or the
// base colours when the view keeps the defaults.
void preparer_palette_carte(TMyPalette& palette, const param_vue& vue);
}  // namespace dialogs

class Tfenetre_edition : public FenetreEdition {
  Q_OBJECT
 public:
  explicit Tfenetre_edition(QWidget* parent = nullptr);  // the window's creation
  ~Tfenetre_edition() override;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

  // --- the main window's side
  void ouvre_edition(const OuvertureEdition& o) override;
  void rafraichir_edition(const param_vue& defaut) override;
  bool effacer_elements(ElementsCarte genre) override;
  void fixer_fichier(const std::string& chemin) override;
  void activer_coller(bool actif) override;

  // --- map, markers and readout
  // Zoom-1 map pixel of node (i, j); with `garder` the node's world position
  // becomes cible_monde.
  dialogs::PixelCarte points_vo(std::int32_t i, std::int32_t j, bool garder);
  // The node under a pixel of Image1 at the current zoom, with its height (-4001
  // outside the lattice and on its rim from degree 7); appends to a recorded stroke.
  dialogs::NoeudCarte ecran_vers_grille(std::int32_t x, std::int32_t y, std::int32_t& hauteur);
  // Draws the observer's sight lines on Image1 in inverting mode, erasing the
  // ones drawn before (offsets in world units from cible_monde; an end whose x
  // offset is 0 is left out).
  void point_observateur(bool depuis_marqueur, double ox, double oy, double oz, double ax, double ay, double bx,
                         double by) override;
  // The markers, drawn into both map pictures; `restaurer` first puts back the
  // map under the previous place.
  void dessine_point_vise(dialogs::PixelCarte p, bool restaurer);
  void dessine_observateur(dialogs::PixelCarte p, bool restaurer);
  // Readout and gauge for the altitude under the last mouse pixel.
  void affiche_position(std::int32_t altitude);
  void efface_jauge();
  // One mouse-move step at pixel (x, y) of Image1.
  void deplacement_souris(std::int32_t x, std::int32_t y);

  // --- commands
  void bascule_zoom();
  void SpeedButton_niveauxClick();
  void SpeedButton_save1Click();
  void Enregistrercarte1Click();
  void Raffraichir1Click();
  void Supprimerrivieres1Click() { effacer_elements(ElementsCarte::rivieres); }
  void Supprimerarbres1Click() { effacer_elements(ElementsCarte::arbres); }
  void Supprimerterrain1Click() { effacer_elements(ElementsCarte::sol); }
  void TimerThreadTimer();
  void Aide1Click();

  // --- tools (edition_outils.cpp, edition_execution.cpp)
  void outil_depuis_index();
  void affiche_outil();
  void affiche_arbres();
  void affiche_couleurs();
  void choisir_position(int position);
  void choisir_sol(int genre);
  void choisir_largeur_sol(int largeur);
  // The mouse protocol at pixel p of Image1.
  void souris_enfoncee(Qt::MouseButton b, dialogs::PixelCarte p);
  void souris_deplacee(dialogs::PixelCarte p);
  void souris_relachee(Qt::MouseButton b, dialogs::PixelCarte p);
  void TimerT1Timer();
  void SpeedButton_undo1Click();
  void elevation_coupe(bool coupe) override;
  // The marks of the tools on Image1, in inverting mode.
  dialogs::MarquesCarte& marques();

  // Runs a pending map computation now (tests; the program lets the zero-delay
  // timer do it).
  void calculer_carte();
  bool carte_programmee() const { return carte_programmee_; }
  bool en_rendu() const { return en_rendu_; }

  // --- window state
  Tmatrice* matrice = nullptr;
  std::uint8_t& carte_calculee = peinte;         // the map pictures are valid
  std::uint8_t& peinture_finie = focus_arbre;    // the last paint completed
  std::unique_ptr<TMyPalette> palette;
  std::array<render::Bitmap, 3> carte;           // [1] zoom 1, [2] zoom 2
  std::array<render::Bitmap, 3> fond_cible;      // map under the target marker
  std::array<render::Bitmap, 3> fond_observateur;  // map under the observer marker
  std::uint16_t echelle_carte = 1;
  std::uint8_t zoom2 = 0;
  dialogs::PixelCarte pixel_cible, pixel_observateur;
  dialogs::PointMonde cible_monde;
  std::array<std::int32_t, 6> traits_vision{};  // observer, end 1, end 2 (x = 0: absent)
  double echelle_i = 0.0, echelle_j = 0.0;
  std::uint8_t a_recharger = 1;
  std::uint8_t redessiner = 1;
  std::uint8_t fond_cible_a_sauver = 1;
  std::uint8_t fond_observateur_a_sauver = 1;
  std::uint8_t courbes = 0;
  std::uint8_t grossier = 0;
  std::uint8_t sauver_carte = 0;
  std::int32_t altitude_jauge = -4001;
  dialogs::PixelCarte souris;  // the last mouse pixel of Image1

  // Tool state shared with the tools' code: the tool, its position on the bar,
  // the brushes, the two parameter sets and the pending-operation flags.
  std::uint16_t outil = 0;
  std::uint16_t position_outil = 1;
  std::uint16_t taille_arbre = 1, espece_arbre = 5;  // tree brush: size 1..63, kind 5 or 6
  std::uint16_t sol = 1, largeur_sol = 1;             // ground brush: kind 1..5, width 1, 2, 4 or 8
  dialogs::JeuOutil jeu_fin;    // the release set: where the button was released
  dialogs::JeuOutil jeu_debut;  // the start set: where the stroke began
  std::array<std::int32_t, 20> coefficients{};  // each tool's own ratio, by tool code
  std::uint8_t mode_elevation = 0, riviere_seule = 0, chemin = 0;
  std::uint8_t a_executer = 0;
  std::uint8_t voir_resultat = 0;
  // Mouse state: left button down, over a node of the lattice, stroke recorded,
  // one parameter set only.
  std::uint8_t bouton_enfonce = 0, sur_terrain = 0, en_trace = 0, un_point = 0;
  dialogs::NoeudCarte noeud;  // the node under the mouse
  dialogs::PixelCarte pixel_precedent, pixel_debut, pixel_fin;

  // The dispatcher's value for the current tool (Road as a path: -50).
  std::int32_t valeur_outil() const;
  // The argument block of the current tool.
  arguments_outil arguments() const;

  // Test hooks: the dispatcher call (Tmatrice::modifier by default) and the
  // tool dialog's run (its exec() by default; answers 1 for OK, 2 for Cancel).
  std::function<void(Tmatrice&, arguments_outil, controle_outil&)> appel_modifier;
  std::function<int(dialogs::Tdlg_edit&)> executer_dialogue;

  // --- controls
  CtlSimplePanel* CtlSimplePanel1 = nullptr;
  std::array<CtlSpeedButton*, 20> outils{};  // tool bar positions 0..19
  CtlSpeedButton* SpeedButton_undo = nullptr;
  CtlSpeedButton* SpeedButton_zoom = nullptr;
  CtlSpeedButton* SpeedButton_niveaux = nullptr;
  CtlSpeedButton* SpeedButton_save = nullptr;
  QLabel* nom_outil = nullptr;
  QWidget* Panel_arb = nullptr;  // tree brush
  QScrollBar* ScrollBar_taille = nullptr;
  QLabel* Label_hauteur = nullptr;
  QRadioButton *RadioButton_p1 = nullptr, *RadioButton_p2 = nullptr;
  QWidget* Panel_coul = nullptr;  // ground brush
  std::array<dialogs::Nuancier*, 5> nuanciers{};  // Shape_vert, _terre, _rocher, _neige, _sable
  std::array<CtlSpeedButton*, 4> epaisseurs{};      // SpeedButton_1..4: widths 1, 2, 4, 8
  QScrollArea* ScrollBox1 = nullptr;
  QImage Image1;                   // what the map area shows (RGB32)
  QWidget* zone_carte() const;     // the widget that shows Image1 and takes the mouse
  QWidget* Panel_altitude = nullptr;
  QLabel* Label_altitude = nullptr;
  QWidget* Image_altitude() const;  // the gauge (11 x 315)
  QStatusBar* StatusBar_edit = nullptr;
  std::array<QLabel*, 2> panneaux{};  // status panels 0 (position) and 1 (help line)
  QMenu* PopupMenu_edition = nullptr;
  QAction *Coupe1 = nullptr, *Raffraichir1 = nullptr, *Elever1 = nullptr;
  QAction *Supprimerrivieres1 = nullptr, *Supprimerarbres1 = nullptr, *Supprimerterrain1 = nullptr;
  QAction *Courbes1 = nullptr, *Enregistrercarte1 = nullptr, *Zoom1 = nullptr, *Aide1 = nullptr;
  QTimer TimerThread;  // 900 ms: the map again after a tool
  QTimer TimerT1;      // 750 ms: a delayed tool
  QAction* element(const QString& caption) const;
  platform::WindowHandle handle() const { return handle_; }

  // Shows carte[echelle_carte] in Image1 (on the next paint).
  void montrer_carte();
  // The heights or the look of the map changed: the map is rendered again
  // (scheduled, outside any paint) and the next reading under the pointer
  // reads its node again.
  void carte_a_refaire();
  // The next mouse step reads the node under the pointer again, even when it
  // is the node of the previous step (its height may have changed).
  void relire_noeud() { dernier_noeud_ = {-1, -1}; }
  // Shows what was drawn on Image1; the paint it asks for copies no map.
  void montrer_marques();
  // Copies carte[echelle_carte] into Image1 now (as far as both reach).
  void copier_carte_dans_image();

 protected:
  void closeEvent(QCloseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;

 private:
  friend class dialogs::ZoneCarte;
  friend class dialogs::ZoneJauge;
  void construire_barre();
  void construire_panneau_altitude();
  void construire_menu();
  void FormPaint();
  void peindre_carte(QWidget* zone);
  void peindre_jauge(QWidget* zone);
  void programmer_carte();
  bool charger_cartes();
  void rendre_carte();
  void dessiner_marqueurs();
  void ecrire_cartes();
  void defiler_zoom2();
  void dimensionner_image();

  // --- the tools' side (edition_outils.cpp, edition_execution.cpp)
  void construire_pinceaux();
  void Image1MouseDown(QMouseEvent* e);
  void Image1MouseMove(QMouseEvent* e);
  void Image1MouseUp(QMouseEvent* e);
  void FormKeyDown(QKeyEvent* e);
  void defilement_auto(dialogs::PixelCarte p);
  void deplacer_pointeur(int dx, int dy);
  dialogs::PixelCarte pointeur() const;
  void lire_passage(dialogs::PixelCarte p);
  void marque_arbre(dialogs::PixelCarte p);
  void marque_caoutchouc(dialogs::PixelCarte p);
  void disque(dialogs::PixelCarte p, int rayon, QColor c);
  void trait(dialogs::PixelCarte a, dialogs::PixelCarte b);
  void executer_dialogue_outil();
  void executer_maintenant();
  bool appeler_modifier();
  void remplir_dialogue(dialogs::Tdlg_edit& d);
  void lire_dialogue(const dialogs::Tdlg_edit& d);
  void cercles_outil(const dialogs::JeuOutil& depart, const dialogs::JeuOutil& relache, bool lignes);
  dialogs::PixelCarte centre_relache() const;
  int lancer_dialogue(dialogs::Tdlg_edit& d);

  platform::WindowHandle handle_ = 0;
  dialogs::ZoneCarte* zone_ = nullptr;
  dialogs::ZoneJauge* jauge_ = nullptr;
  bool carte_programmee_ = false;
  bool en_rendu_ = false;
  std::array<bool, 2> traits_presents_{};  // which of the two sight lines traits_vision holds
  dialogs::NoeudCarte dernier_noeud_{-1, -1};  // the node of the previous mouse move
  std::unique_ptr<dialogs::MarquesCarte> marques_;
  bool marques_seules_ = false;  // the pending paint only shows marks
};
