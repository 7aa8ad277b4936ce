// One run of a map editor tool, held without any window: the press, the
// stroke recorded while the button is down, the release that runs the tool
// at once or hands it to the tool dialog, the run 750 ms later, the map made
// again 900 ms after a run whose result the user wants to see, cancel, Raise,
// Cross-section and Undo. The editor window feeds it the mouse and the ticks
// of its two timers, and draws what it asks for through HoteOutil; the timers
// come through MinuteriesOutil, so a test drives a session with a fake clock.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "dialogs/calculs_outils.h"

class Tmatrice;

namespace dialogs {

// Where a tool run stands.
enum class EtatOutil {
  repos,               // nothing under way
  enfonce,             // the left button is down, no stroke recorded (yet)
  trace,               // a stroke is recorded while the button is down
  dialogue,            // the tool dialog is open
  execution,           // the terrain's edit dispatcher runs
  en_attente,          // the tool runs 750 ms after the release; its marks stay on the map
  en_attente_enfonce,  // the same, and the button was pressed again meanwhile
};
const char* nom_etat(EtatOutil e);

// The two one-shot timers of a run.
enum class Minuterie {
  execution_differee,  // 750 ms: the run of a stroke tool
  carte_resultat,      // 900 ms: the map again after a run
};

class MinuteriesOutil {
 public:
  virtual ~MinuteriesOutil() = default;
  virtual void armer(Minuterie m) = 0;  // (re)starts it
  virtual void arreter(Minuterie m) = 0;
  virtual bool armee(Minuterie m) const = 0;
};

// The map cursors: the pointer, the pencil of a stroke, and the hand that
// shows something to erase under it.
enum class Curseur { defaut, pointeur, crayon, arbre };

// What a tool makes possible in the editor.
enum class Activable {
  gomme_arbre, gomme_sol, gomme_riviere,  // the eraser tools' buttons
  effacer_arbres, effacer_sol, effacer_rivieres,  // the pop-up's erase items
  coller,  // the paste button, after a copy
};

// The tree and ground brushes, handed to the terrain before a Tree or Color run.
struct Pinceaux {
  std::uint16_t taille_arbre = 1, espece_arbre = 5;  // size 1..63, kind 5 or 6
  std::uint16_t sol = 1, largeur_sol = 1;            // ground kind 1..5, width 1, 2, 4 or 8
};

// What the tool dialog starts from.
struct DemandeOutil {
  std::uint16_t outil = 0;
  bool un_point = false;  // one parameter set
  JeuOutil debut, fin;
  std::int32_t coefficient = 0;
  bool riviere_seule = false, chemin = false, mode_elevation = false;
  bool deformation = false;  // the terrain has distortion maps
  Profil profil_debut, profil_fin;
  PixelCarte pixel_debut, pixel_fin;
};

// What the user left in the dialog, whatever the answer.
struct ReponseOutil {
  JeuOutil debut, fin;  // as the circles were last drawn
  std::int32_t apres = 0, forme = 0, coefficient = 0;
  bool option2 = false, pondere = false;
  bool riviere_seule = false, chemin = false, mode_elevation = false;
  bool voir_resultat = false;
  PixelCarte point_affiche;  // where the shown set acts
};

// What a session asks of the editor window.
class HoteOutil {
 public:
  virtual ~HoteOutil() = default;
  // Marks on the map picture, shown at once; they stay until the map is shown again.
  virtual MarquesCarte& marques() = 0;  // inverting
  virtual void trait(PixelCarte a, PixelCarte b) = 0;  // white, 2 pixels wide
  // A disc without outline in the colour of ground kind 1..5 (1: grass), grey for 0.
  virtual void disque(PixelCarte p, int rayon, int sol) = 0;
  virtual void marque_arbre(PixelCarte p, int rayon, int espece) = 0;
  // The marks stay over the map until effacer_marques; then the map shows again.
  virtual void garder_marques() = 0;
  virtual void effacer_marques() = 0;
  // The map pictures, with the rivers a tool drew into them, go onto the picture now.
  virtual void montrer_rivieres() = 0;
  virtual PixelCarte taille_image() const = 0;

  virtual void afficher_position(PixelCarte p, std::int32_t altitude) = 0;
  virtual void effacer_jauge() = 0;
  virtual void curseur(Curseur c) = 0;
  virtual void defiler(PixelCarte p) = 0;  // edge scrolling while the button is down
  // The markers, at zoom-1 pixels, restoring the map under their old places.
  virtual void deplacer_cible(PixelCarte p) = 0;
  virtual void deplacer_observateur(PixelCarte p) = 0;
  virtual void replacer_cible() = 0;  // at the terrain's target point
  virtual void activer(Activable c) = 0;

  // The dispatcher under a progress window; true when it reported success.
  virtual bool modifier(const arguments_outil& a) = 0;
  // Raises the whole terrain (Undo takes back this raise only).
  virtual void elever(std::int32_t difference, bool etirement) = 0;
  virtual void terrain_modifie() = 0;
  virtual void refaire_carte() = 0;

  // Runs the tool dialog; 1 for OK.
  virtual int dialogue(const DemandeOutil& q, ReponseOutil& r) = 0;
  virtual bool confirmer(const std::string& question) = 0;
};

class SessionOutil {
 public:
  SessionOutil(HoteOutil& hote, MinuteriesOutil& minuteries) : hote_(hote), minuteries_(minuteries) {}

  // The terrain edited from now on; its brushes become the session's.
  void ouvrir(Tmatrice* m);
  void fixer_zoom(std::int32_t zoom) { zoom_ = zoom; }
  // Tool bar position 0..kNombreOutils - 1 (clamped).
  void choisir_position(int position);

  // The mouse, at pixels of the map picture.
  void enfoncer(bool gauche, PixelCarte p);
  void deplacer(PixelCarte p);
  void relacher(bool gauche, PixelCarte p);
  void minuterie_ecoulee(Minuterie m);
  // Drops the stroke and any waiting run, and ends the terrain's stroke.
  void annuler();
  // Raise (or with `coupe` only show the cross-section) through the dialog.
  void elevation_coupe(bool coupe);
  // Undo, once the user agreed.
  void defaire();
  // The next mouse step reads the node under the pointer again.
  void relire_noeud() { dernier_noeud_ = {-1, -1}; }

  EtatOutil etat() const { return etat_; }
  bool bouton_enfonce() const;
  bool en_attente() const { return etat_ == EtatOutil::en_attente || etat_ == EtatOutil::en_attente_enfonce; }
  std::uint16_t outil() const { return outil_; }
  std::uint16_t position() const { return position_; }
  NoeudCarte noeud() const { return noeud_; }
  bool sur_terrain() const { return sur_terrain_; }
  // The dispatcher's value and argument block of the run.
  std::int32_t valeur_outil() const;
  arguments_outil arguments() const;

  Pinceaux pinceaux;
  JeuOutil jeu_fin;    // the release set: where the button was released
  JeuOutil jeu_debut;  // the start set: where the stroke began
  std::array<std::int32_t, kNombreOutils> coefficients{};  // each tool's own ratio, by tool code
  bool mode_elevation = false, riviere_seule = false, chemin = false;

 private:
  // The run that a release started.
  struct Course {
    std::uint16_t outil = 0;
    bool un_point = false;
    bool confirmee = false;  // the dialog said OK, or the tool needs none
    bool voir_resultat = false;
    PixelCarte pixel_debut, pixel_fin;
  };
  void lire_passage(PixelCarte p);
  void survol();
  void marque_caoutchouc(PixelCarte p);
  void marque_arbre(PixelCarte p);
  void commencer_trace(PixelCarte p);
  void finir_relache(PixelCarte p);
  void demander_parametres();
  DemandeOutil demande() const;
  void lire_reponse(const ReponseOutil& r);
  void cercles(const JeuOutil& depart, const JeuOutil& relache, bool lignes);
  PixelCarte centre_relache() const;
  void executer_maintenant();
  void executer_differe();
  bool appeler_modifier();

  HoteOutil& hote_;
  MinuteriesOutil& minuteries_;
  Tmatrice* matrice_ = nullptr;
  std::int32_t zoom_ = 1;
  EtatOutil etat_ = EtatOutil::repos;
  std::uint16_t outil_ = 0, position_ = 1;
  Course course_;
  bool sur_terrain_ = false;  // the pointer is over a node of the lattice
  NoeudCarte noeud_;          // the node under the pointer
  NoeudCarte dernier_noeud_{-1, -1};
  PixelCarte souris_, pixel_precedent_, pixel_debut_;
};

}  // namespace dialogs
