// The main window's side of its child windows: each kind holds exactly the
// fields the main window reads and writes. The windows themselves (card, view,
// video, map editor, import) derive from these classes, and so do the
// stand-ins through which the main window's commands are tested without
// rendering, making movies or reading files (the card has two windows of its
// own as well: the card and the provisional one of a mountain being made).
#pragma once

#include <QMdiSubWindow>
#include <QPointer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/matrice.h"
#include "model/records.h"
#include "platform/messages.h"

class QMdiSubWindow;
class QCloseEvent;

// An MDI child. Children never delete themselves: a closing child hides and
// raises its closing flag; the main window removes it from its tables and
// deletes it later.
class FenetreEnfant : public QWidget {
 public:
  using QWidget::QWidget;
  QMdiSubWindow* sous_fenetre() const { return sous_fenetre_; }
  void fixer_sous_fenetre(QMdiSubWindow* s) { sous_fenetre_ = s; }

  std::uint8_t aide_contextuelle = 0;
  std::uint8_t fermeture = 0;  // raised by the window's own close
  platform::WindowHandle principale = 0;

  // Sends the main window the request message; returns after the command ran.
  void requete_fenetre() const;

 private:
  QPointer<QMdiSubWindow> sous_fenetre_;
};

// Mountain card.
class CarteMontagne : public FenetreEnfant {
 public:
  using FenetreEnfant::FenetreEnfant;
  std::uint16_t no_matrice = 0;
  std::uint8_t fermeture_autorisee = 0;
  std::uint8_t modifie = 0;  // the card changed the memo or the aerial-picture flag
  std::uint16_t nombre_vues = 0;

  // The mountain's parameters, which the card shows and edits (memo and
  // aerial-picture flag): the record of the slot it stands for, once the main
  // window tied it there; until then a record of the card's own.
  param_mat& parametres() { return *parametres_; }
  const param_mat& parametres() const { return *parametres_; }
  void lier_parametres(param_mat& slot) { parametres_ = &slot; }
  std::uint16_t code_commande = 0;

  // Set-up after the slot is filled: owner window, whether the document has a file, its date.
  virtual void initialiser_fiche(platform::WindowHandle proprietaire, bool a_fichier, long long date);
  // The time of day the document was last saved, shown by the card.
  virtual void marquer_sauvee(long long date) { (void)date; }
  // The document's file was deleted: the card shows a mountain without a file.
  virtual void marquer_sans_fichier() {}
  // The main window's last look at the slot: the terrain's mesh degree and
  // distortion (degree 0 while there is no terrain); the card shows them with
  // `nombre_vues` at once.
  virtual void montrer_terrain(int degre, bool deformation) {
    (void)degre;
    (void)deformation;
  }
  // Takes into the record what was typed and not taken yet (the card takes
  // its memo as keys are released); `modifie` is raised when the text changed.
  // Whatever reads the slot's edited state calls this first.
  virtual void prendre_saisie() {}
  // The close was taken back (the mountain's save wrote nothing): the card
  // stands for its mountain again, and can be closed again.
  virtual void reprendre_fermeture() { fermeture = 0; }
  // The user types on the card: its memo is open and has the keyboard of its
  // window, also while another window (another program's, or a box of the
  // program) has it for a while. The explorer then leaves the keyboard where it is.
  virtual bool saisie_en_cours() const { return false; }

 protected:
  // A card closes only while it is the active child and marked close-allowed.
  void closeEvent(QCloseEvent* e) override;

 private:
  param_mat propres_;
  param_mat* parametres_ = &propres_;
};

// Every picture bitmap a view makes is limited to this many pixels per side.
inline constexpr int kTailleImageMin = 16;
inline constexpr int kTailleImageMax = 8192;

// View window.
class FenetreVue : public FenetreEnfant {
 public:
  using FenetreEnfant::FenetreEnfant;
  std::uint16_t no_vue = 0;
  std::uint16_t no_matrice = 0;
  std::uint8_t fermeture_autorisee = 0;
  std::uint8_t sauvegarde_demandee = 0;
  std::uint8_t modifiee = 0;
  std::uint8_t a_fichier = 0;
  std::uint8_t peinte = 0;
  std::uint8_t a_statistiques = 0;
  std::uint16_t code_commande = 0;
  std::uint16_t largeur_image = 400, hauteur_image = 300;
  std::uint8_t image_brute = 0;  // the main window's rough-picture option, taken before a refresh
  // The view's own record, its one owner: the main window's working record
  // is a separate value (the default new views copy) that follows the active view.
  param_vue parametres;

  virtual void liberer_image() {}
  virtual void rafraichir_vue() {}

 protected:
  void closeEvent(QCloseEvent* e) override;
};

// Video window.
class FenetreVideo : public FenetreEnfant {
 public:
  using FenetreEnfant::FenetreEnfant;
  std::uint16_t no_video = 0, no_vue = 0, no_matrice = 0;
  std::uint8_t sauvegarde_demandee = 0;
  std::uint8_t refaite = 0;
  std::uint8_t a_fichier = 0;
  std::uint8_t focus_arbre = 0;
  std::uint16_t code_commande = 0;
  // The question asked before the window closes when it has a file and its
  // movie was made since the document was read or saved.
  std::string question_fermeture() const { return "Save updates on " + windowTitle().toStdString() + " ?"; }
  // The video's own settings, their one owner; the main window's working
  // record is a separate value (the default new videos copy).
  Param_video parametres;
  std::string fichier_film;
  std::array<std::string, 11> informations{};

  // The window's own camera records (index 0 unused), one per frame.
  std::vector<enregistrement_camera> cameras;
  static constexpr std::int32_t kCamerasMax = 9999;

  // Takes a copy of `source`'s records 1..nombre_images (at most 9999),
  // padded with zero records; no source gives zero records.
  void prendre_cameras(const std::vector<enregistrement_camera>* source, std::int32_t nombre_images);

  // Set-up once the slot is filled: the owner's handle, a copy of the
  // settings, the terrain, the movie to show (empty: none yet) and the
  // program folder. The window makes its movie when it is given none.
  virtual void init_video(platform::WindowHandle proprietaire, const Param_video& p, Tmatrice* terrain,
                          const std::string& film, const std::string& dossier_programme) {
    (void)proprietaire, (void)terrain, (void)dossier_programme;
    parametres = p;
    fichier_film = film;
  }
  // Makes the movie from the window's own records.
  virtual void generer_video() {}
  // Makes the movie again at the settings' frame size.
  virtual void regenerer_video() {}
  // The information box about the movie file.
  virtual void Informations1Click() {}

 protected:
  void closeEvent(QCloseEvent* e) override;
};

// What the main window hands a map editor when it opens it.
struct OuvertureEdition {
  std::uint16_t no_montagne = 0;
  Tmatrice* matrice = nullptr;  // the slot's terrain, kept by the main window
  std::uint8_t courbes = 0;     // the main window's level-curves option
  std::uint8_t grossier = 0;    // its rough-picture option
  param_vue vue_defaut{};       // its default view
};

// The kinds of features the map editor erases all at once.
enum class ElementsCarte : std::uint8_t { rivieres, arbres, sol };

// Map editor.
class FenetreEdition : public FenetreEnfant {
 public:
  using FenetreEnfant::FenetreEnfant;
  std::uint16_t no_matrice = 0;
  std::uint8_t modifiee = 0;
  std::uint8_t focus_arbre = 0;  // the last paint completed
  std::uint8_t peinte = 0;       // the map pictures are valid; cleared to force a new map
  std::uint16_t degre = 0;       // mesh degree, set before opening
  std::string fichier;           // the document's path, empty without a file
  param_vue vue;                 // the editor's own view record, a copy with its own life
  bool coller_actif = false;  // the paste button
  virtual void activer_coller(bool actif) { coller_actif = actif; }

  // Opens the editor on the slot's terrain.
  virtual void ouvre_edition(const OuvertureEdition& o) {
    no_matrice = o.no_montagne;
    vue = o.vue_defaut;
  }
  // Takes the sea, grass and rock levels, the default-colours flag, the tree
  // layers and the level colours of `defaut`, and makes the map again.
  virtual void rafraichir_edition(const param_vue& defaut);
  // Erases every feature of the kind once the user agreed; true when erased.
  virtual bool effacer_elements(ElementsCarte genre) {
    (void)genre;
    return false;
  }
  // Set by the main window: asked when the user closes the editor, it asks
  // the save questions and takes the editor down itself (the editor keeps
  // showing its map meanwhile). Without it the editor simply closes.
  std::function<void()> demander_fermeture;
  // The document got a path (first save, or saved under another name).
  virtual void fixer_fichier(const std::string& chemin) { fichier = chemin; }
  // Opens the tool dialog to raise the whole terrain, or with `coupe` only to
  // show its cross-section.
  virtual void elevation_coupe(bool coupe) { (void)coupe; }
  // Draws the observer's sight lines on the map: from the observer (the eye
  // offset, or the observer marker when `depuis_marqueur`) to the left and
  // right view-edge points; offsets in world units from the target point, an
  // edge whose x offset is 0 is left out.
  virtual void point_observateur(bool depuis_marqueur, double ox, double oy, double oz, double ax, double ay,
                                 double bx, double by) {
    (void)depuis_marqueur, (void)ox, (void)oy, (void)oz, (void)ax, (void)ay, (void)bx, (void)by;
  }

 protected:
  void closeEvent(QCloseEvent* e) override;
};

// Import window.
class FenetreImport : public FenetreEnfant {
 public:
  using FenetreEnfant::FenetreEnfant;
  std::uint8_t importation_faite = 0;
  std::uint8_t fermee = 0;
  std::uint16_t degre = 0;
  std::uint16_t taille = 0;  // nodes per side
  param_mat parametres;      // the import's own copy, taken when it starts
  std::string commentaire;
  std::unique_ptr<Tmatrice> terrain;

 protected:
  void closeEvent(QCloseEvent* e) override;
};
