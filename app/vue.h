// The view window: one rendered view of a mountain. A stored picture is read
// when the view opens; otherwise the picture is made lazily: a paint that
// finds none schedules the render (never inside the paint itself); the render
// runs on the GUI thread under a progress window whose cancel target is this
// window's message handle, and the picture area is repainted from the bitmap
// while it is drawn. Paints only draw.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fenetres/fenetres.h"
#include "fenetres/rendu.h"
#include "app/hote_documents.h"
#include "model/matrice.h"
#include "render/raster.h"

class QAction;
class QLabel;
class QMenu;
class QScrollArea;
class QStatusBar;
class QTimer;

// The picture a duplicated view hands to the next new view (the main window's
// hand-over slot; the system clipboard is never read for this).
std::optional<render::Bitmap>& image_transmise();


class TVuewindow : public FenetreVue {
  Q_OBJECT
 public:
  explicit TVuewindow(QWidget* parent = nullptr);
  ~TVuewindow() override;

  // Set-up after the slot is filled.
  std::string dossier_ciels;  // the program's sky picture folder, given to every render
  void init_vue(platform::WindowHandle proprietaire, const param_vue& p, Tmatrice* terrain,
                const std::string& fichier_image, bool plein_ecran, bool grossier);
  void rafraichir_vue() override;
  void liberer_image() override;
  void copier_image_vue();
  void calculer_taille_vue(bool relayout);
  void disposer_image_vue();
  void cocher_menus_vue();
  void Formsize();

  platform::WindowHandle handle() const { return handle_; }
  bool image_existe() const { return image_existe_; }
  const render::Bitmap& image() const { return image_; }
  const render::Bitmap* image_document() const;  // the picture for the document writer, or null
  // The bytes of the picture file the view shows as it was read, where
  // writing the picture again would change that file (a JPEG, a bitmap of
  // another program); null otherwise, and once the view has drawn, stretched
  // or dropped its picture.
  const std::string* image_lue() const { return octets_lus_.empty() ? nullptr : &octets_lus_; }
  const resultats_vue& statistiques() const { return statistiques_; }
  std::int32_t etat_rendu() const { return etat_rendu_; }
  bool en_rendu() const { return en_rendu_; }
  bool minimisee() const { return minimisee_; }
  std::uint16_t degre = 0;
  std::uint8_t document_vue = 0;  // belongs to a view document: asks to save on closing
  // Opened from a document that stores no picture: the first render only draws
  // what the document holds, so it is no change to save.
  bool premier_rendu_du_document = false;
  // Picture size (client area available), stored size and last size.
  int taille_l = 0, taille_h = 0;
  int derniere_l = 0, derniere_h = 0;
  std::uint8_t redimensionnee = 0;
  std::uint8_t plein_ecran = 0;
  // The stored size was handed over (an opened document's picture, a
  // duplicated view, the options' size): it is that picture's own size, and
  // a fixed scale adds no margin to it.
  std::uint8_t taille_donnee = 0;

  // Called after each render (the main window refreshes its menus).
  std::function<void()> apres_rendu;

  QMenu* menu() const { return menu_; }
  QLabel* panneau(int i) const { return i == 0 ? panneau1_ : panneau2_; }
  QWidget* zone_image() const { return zone_; }
  QTimer& Timerechelle() { return *Timerechelle_; }
  // Runs a pending render now (tests; the program lets the zero-delay timer do it).
  void rendre();

  // The statistics box of the last render; nothing before the first one.
  void Informations();

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void changeEvent(QEvent* e) override;

 private:
  friend class ZoneImageVue;
  void peindre_zone(QWidget* zone);
  void programmer_rendu();
  void construire_menu();
  void basculer(std::uint8_t param_vue::* drapeau);
  // Work done when the data changes, never in a paint: the 4:3 stretch after
  // a resize, the stored picture's loading when the view opens, the status bar.
  void etirer_apres_redimension();
  void charger_fichier_image();
  void etat_barre();
  QSize taille_cadre(int largeur, int hauteur, int extra) const;
  QSize aire_image() const;  // fixed scale: the room for the picture at scale 1
  void fixer_taille_stockee(int largeur, int hauteur);  // bounded; the last size follows
  void dimensionner_cadre(QSize exterieur);

  platform::WindowHandle handle_ = 0;
  Tmatrice* terrain_ = nullptr;
  render::Bitmap image_;
  bool image_existe_ = false;
  bool en_rendu_ = false;
  bool rendu_programme_ = false;
  bool minimisee_ = false;
  bool grossier_ = false;
  bool initialisee_ = false;  // init_vue has run: resizes lay the picture out
  bool plein_ecran_en_attente_ = false;  // the first render maximises the window and takes its size
  std::string fichier_image_;
  std::string octets_lus_;
  std::int32_t type_image_ = 1;
  std::int32_t etat_rendu_ = 1;
  resultats_vue statistiques_{};
  QScrollArea* defilement_ = nullptr;
  QWidget* zone_ = nullptr;
  QStatusBar* barre_ = nullptr;
  QLabel* panneau1_ = nullptr;
  QLabel* panneau2_ = nullptr;
  QMenu* menu_ = nullptr;
  QAction* informations_ = nullptr;  // enabled once the statistics exist
  // The pop-up menu's check items and the flags they show.
  std::vector<std::pair<QAction*, std::uint8_t param_vue::*>> marques_;
  QTimer* Timerechelle_ = nullptr;
};
