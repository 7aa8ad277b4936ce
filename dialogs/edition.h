// The map editor: one mountain seen from straight above as a shaded map, with
// the target point and the observer marked on it, a position readout and an
// altitude gauge. Both zooms are rendered by one renderer call, outside any
// paint handler, and kept; the maps may be kept as pictures beside the
// document and shown again at the next opening without rendering.
//
// The tool bar is laid out here. A tool run (strokes, the tool dialog, the
// delayed run, Undo, Raise, Cross-section) is held by a SessionOutil; the
// window feeds it the mouse, the keyboard and its timers, and draws what it
// asks for (edition_hote.cpp).
#pragma once

#include <QImage>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "fenetres/fenetres.h"
#include "dialogs/edition_geometrie.h"
#include "dialogs/edition_panneaux.h"
#include "dialogs/edition_session.h"
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
class HoteFenetre;
class Tdlg_edit;
class ZoneCarte;

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
  std::int32_t altitude_jauge() const;  // the altitude last shown by the gauge, -4001: none
  // One mouse-move step at pixel (x, y) of Image1.
  void deplacement_souris(std::int32_t x, std::int32_t y) { souris_deplacee({x, y}); }

  // --- commands
  void bascule_zoom();
  void SpeedButton_niveauxClick();
  void SpeedButton_save1Click();
  void Enregistrercarte1Click();
  void Raffraichir1Click() { carte_a_refaire(); }
  void Supprimerrivieres1Click() { effacer_elements(ElementsCarte::rivieres); }
  void Supprimerarbres1Click() { effacer_elements(ElementsCarte::arbres); }
  void Supprimerterrain1Click() { effacer_elements(ElementsCarte::sol); }
  void Aide1Click();

  // --- tools: the window feeds the session and draws what it asks for
  // (edition_hote.cpp)
  dialogs::SessionOutil& session() { return *session_; }
  const dialogs::SessionOutil& session() const { return *session_; }
  void choisir_position(int position);
  void affiche_outil();
  void choisir_sol(int genre);
  // The mouse protocol at pixel p of Image1.
  void souris_enfoncee(Qt::MouseButton b, dialogs::PixelCarte p);
  void souris_deplacee(dialogs::PixelCarte p);
  void souris_relachee(Qt::MouseButton b, dialogs::PixelCarte p);
  void TimerT1Timer();
  void TimerThreadTimer();
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
  std::uint8_t a_recharger = 1;
  std::uint8_t fond_cible_a_sauver = 1;
  std::uint8_t fond_observateur_a_sauver = 1;
  std::uint8_t courbes = 0;
  std::uint8_t grossier = 0;
  std::uint8_t sauver_carte = 0;
  dialogs::PixelCarte souris;  // the last mouse pixel of Image1

  // Test hooks: the dispatcher call (Tmatrice::modifier by default) and the
  // tool dialog's run (its exec() by default; answers 1 for OK, 2 for Cancel).
  std::function<void(Tmatrice&, arguments_outil, controle_outil&)> appel_modifier;
  std::function<int(dialogs::Tdlg_edit&)> executer_dialogue;

  // --- controls
  CtlSimplePanel* CtlSimplePanel1 = nullptr;
  std::array<CtlSpeedButton*, dialogs::kNombreOutils> outils{};  // by tool bar position
  CtlSpeedButton* bouton_outil(int code) const { return outils[std::size_t(dialogs::position_outil(code))]; }
  CtlSpeedButton* SpeedButton_undo = nullptr;
  CtlSpeedButton* SpeedButton_zoom = nullptr;
  CtlSpeedButton* SpeedButton_niveaux = nullptr;
  CtlSpeedButton* SpeedButton_save = nullptr;
  QLabel* nom_outil = nullptr;
  QWidget* Panel_arb = nullptr;  // tree brush
  QScrollBar* ScrollBar_taille = nullptr;
  QRadioButton *RadioButton_p1 = nullptr, *RadioButton_p2 = nullptr;
  QWidget* Panel_coul = nullptr;  // ground brush
  std::array<CtlSpeedButton*, 4> epaisseurs{};  // SpeedButton_1..4: widths 1, 2, 4, 8
  QScrollArea* ScrollBox1 = nullptr;
  QImage Image1;                   // what the map area shows (RGB32)
  QWidget* zone_carte() const;     // the widget that shows Image1 and takes the mouse
  dialogs::PanneauAltitude* Panel_altitude = nullptr;
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
  // Shows what was drawn on Image1; the paint it asks for copies no map.
  void montrer_marques();
  // Copies carte[echelle_carte] into Image1 now (as far as both reach).
  void copier_carte_dans_image();
  // The next paint copies the map over the picture (the marks go).
  bool redessiner() const { return contenu_ == ContenuImage::carte; }

 protected:
  void closeEvent(QCloseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;

 private:
  friend class dialogs::ZoneCarte;
  friend class dialogs::HoteFenetre;
  // What the next paint shows: the map copied over the picture, the picture
  // as drawn once (fresh marks), or the marks of a waiting tool until it ran.
  enum class ContenuImage { carte, marques, marques_gardees };
  void construire_barre();
  void construire_menu();
  void FormPaint();
  void peindre_carte(QWidget* zone);
  void programmer_carte();
  bool charger_cartes();
  void rendre_carte();
  void ecrire_cartes();
  void defiler_zoom2();

  // --- the tools' side (edition_hote.cpp)
  void FormKeyDown(QKeyEvent* e);
  void lier_touches();
  void defilement_auto(dialogs::PixelCarte p);
  dialogs::PixelCarte pointeur() const;

  platform::WindowHandle handle_ = 0;
  dialogs::ZoneCarte* zone_ = nullptr;
  bool carte_programmee_ = false;
  bool en_rendu_ = false;
  std::array<bool, 2> traits_presents_{};  // which of the two sight lines traits_vision holds
  ContenuImage contenu_ = ContenuImage::carte;
  std::unique_ptr<dialogs::MarquesCarte> marques_;
  std::unique_ptr<dialogs::HoteFenetre> hote_;
  std::unique_ptr<dialogs::SessionOutil> session_;
  std::unique_ptr<dialogs::PanneauxPinceaux> pinceaux_;
};
