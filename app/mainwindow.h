// The program's MDI main window: menus, tool bar, MDI area, explorer tree,
// status bar and events, the synchronisation of what is current (UpdateItems)
// and the request dispatcher of the child windows. Its other parts live in
// files of their own: mainwindow_documents.cpp (children, explorer nodes, the
// windows as the document commands see them, deferred work),
// mainwindow_fermetures.cpp (exit and close commands over CascadesFermeture),
// mainwindow_hotes.cpp (the command groups' hosts), mainwindow_aide.cpp (Help
// menu); start-up is in programme.cpp.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "app/etat_documents.h"
#include "app/galerie.h"
#include "app/fermetures.h"
#include "app/programme.h"
#include "app/reprise_clavier.h"
#include "fenetres/fenetres.h"
#include "fenetres/operation_longue.h"
#include "app/hote_commandes.h"
#include "app/hote_documents.h"
#include "app/table_commandes.h"
#include "platform/messages.h"

class CtlBackPanel;
namespace components {
class TRxGradientCaption;
}
class CtlFormFill;
class CtlShapeHint;
class CtlSpeedButton;
class HelpViewer;
class DemandesFermeture;
class QAction;
class QMessageBox;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTreeWidget;
class QTreeWidgetItem;
#include "app/apropos.h"
class TData;
class CommandesFichier;
class CommandesMontagne;
class CommandesVideo;
class DialogueReglagesVideo;
class CommandesEdition;
class CommandesImpression;
class CommandesImport;
class CommandesOptionsVue;
class CommandesOptions;
class QDialog;

// Commands the document layer supplies; each runs on the main window's state.
struct CommandesDocuments {
  std::function<void()> ouvrir_montagne, ouvrir_vue, ouvrir_video;  // open the current file name
  std::function<bool()> sauver_document;  // save the current mountain's document: true when written
  std::function<bool()> enregistrer;      // "&Save" (F3) on the current mountain: true when written
  std::function<void()> FileOpenItemClick, FileSaveItemClick;
  std::function<void()> Sauvermontagne, Sauvervue, Sauvervideo, Supprimer;
  std::function<void(const std::string&)> FileprecItemClick;
};

// The window of slot k of one of the main window's tables; null outside the
// table or when the window is gone.
template <class Tableau>
auto* fenetre_de(Tableau& t, int k) {
  return k >= 1 && k < static_cast<int>(t.size()) ? t[k].data() : nullptr;
}

class TBasewindow : public QMainWindow,
                    public HoteDocuments,
                    public HoteMontagne,
                    public HoteVideo,
                    public HoteEdition,
                    public HoteOptions,
                    public HoteOptionsVue,
                    public HoteImport,
                    public HoteImpression {
  Q_OBJECT
 public:
  explicit TBasewindow(TData* data, QWidget* parent = nullptr);
  ~TBasewindow() override;

  // The start-up sequence; false when the options file is missing (the user
  // was told and the program is to end with status 1).
  bool FormCreate(const ReglagesDemarrage& reglages);

  platform::WindowHandle handle() const override { return handle_; }
  etat_documents etat;

  // --- tables beside the document state ---
  std::array<QPointer<CarteMontagne>, NOMBRE_MAX_MONTAGNES + 1> cartes{};
  std::array<QPointer<FenetreEdition>, NOMBRE_MAX_MONTAGNES + 1> editeurs{};
  std::array<std::uint8_t, NOMBRE_MAX_MONTAGNES + 1> edition_ouverte{};
  std::array<QPointer<FenetreVue>, NOMBRE_MAX_VUES + 1> fenetres_vues{};
  std::array<QPointer<FenetreVideo>, NOMBRE_MAX_VIDEOS + 1> fenetres_videos{};
  std::array<QTreeWidgetItem*, NOMBRE_MAX_MONTAGNES + 1> noeuds_montagnes{};
  std::array<QTreeWidgetItem*, NOMBRE_MAX_VUES + 1> noeuds_vues{};
  std::array<QTreeWidgetItem*, NOMBRE_MAX_VIDEOS + 1> noeuds_videos{};
  std::array<QTreeWidgetItem*, NOMBRE_MAX_MONTAGNES + 1> noeuds_editeurs{};
  std::uint8_t occupe = 0;              // busy: a command or a cascade rearranges the tables
  std::uint8_t edition_active = 0;      // the active child is a map editor
  std::uint8_t rafraichir_demande = 0;  // deferred refresh requested
  temoin_document video_a_refaire;      // the video current when the refresh was requested
  std::uint8_t nouveau_demande = 0;     // deferred new document requested
  std::uint8_t aide_contextuelle = 0;   // context-help mode
  std::uint8_t options_seules = 0;      // Lire_options reads the sections only
  std::uint8_t image_brute = 0;         // rough-picture option
  std::uint8_t courbes_niveau = 0;      // level-curves option
  std::uint8_t vue_sans_rendu = 0;      // a new view shows a picture instead of rendering
  std::uint8_t galerie_ouverte = 0;
  std::uint8_t import_ouvert = 0;
  std::uint8_t sortie = 0;              // shutting down
  QPointer<TForm_galerie> galerie;
  QPointer<FenetreImport> importation;
  std::unique_ptr<std::vector<enregistrement_camera>> tableau_cameras;

  // --- hooks of later windows and commands ---
  CommandesDocuments documents;
  std::function<void(int vue)> rafraichir_vue;  // re-render a view
  std::function<void()> nouvelle_vue, nouvelle_video;
  std::function<void(Tmatrice&, std::int32_t valeur)> elever;  // adding mode
  std::function<CarteMontagne*()> creer_carte;  // the card of a new slot
  // Connects a command to its code; until then its item and button stay
  // disabled. A command outside the enabling table is enabled with its code.
  void connecter(Commande c, std::function<void()> code);
  const std::function<void()>& commande_de(Commande c) const { return commandes_[indice(c)]; }

  // --- commands ---
  void UpdateItems() override;
  void FormDblClick();  // the request dispatcher
  void adopter_import();
  void ouvrir_fichier();  // Timer1
  void Timer2Timer();
  void TimerthreadTimer();
  void Timer_deleteTimer();
  void TimerThread1Timer();
  void fichiers_deposes(const QStringList& chemins);
  void ParcoursClick();  // "Scan ...": the gallery of the chosen view documents
  void ouvrir_par_extension(const QString& chemin);
  void ouvrir_document(Ouverture genre);  // opens the current file name as that kind, then UpdateItems
  void Lire_options();
  void Sauve_options();
  void Fic_defClick();
  void ExitBtnClick();
  // File > Exit, its button and the title bar's close box: the exit questions
  // come first, and the window closes only once they are answered, so that no
  // close is under way while they are up.
  void quitter();
  void maj_fichiers_recents();
  void basculer_explorateur();
  void Contextuelle();   // "Contextual Help"
  void Index();          // help finder
  // F1: the topic of the active card, view, video window or map editor;
  // elsewhere the finder.
  void touche_aide();
  void Aide();           // help contents
  void quitter_aide_contextuelle();
  void A_propos();       // the about box, modal
  void Fermer_montagne_active();
  void Fermer_toutes_montagnes();
  void Fermer_vue_active();
  void Fermer_toutes_vues();
  void Fermer_video();
  void Fermer_toutes_videos();
  void Mosaique();      // "&Tile": cascade
  void Carrelage();     // "&Mosaic": tile
  void Reorganiser();   // icons along the bottom
  void Minimiser_tout();
  // Ctrl+F6, Ctrl+Tab (1) and with Shift (-1): activates the next or the previous child window.
  void enfant_voisin(int pas);
  void TreeView1Change();
  void Supprimer_noeuds();

  // --- the document windows as the file commands see them ---
  void titre_fiche(int m, const std::string& titre) override;
  void marquer_sauvee(int m) override;
  void marquer_sans_fichier(int m) override;
  void effacer_modification_edition(int m) override;
  bool creer_fiche(int m, const std::string& titre, long long date_fichier) override;
  int creer_vue(const std::string& fichier_image) override;
  int creer_video(const std::string& film, const std::vector<enregistrement_camera>* cameras,
                  const informations_video& informations) override;
  void focaliser_fiche(int m) override;
  void focaliser_vue(int v) override;
  void focaliser_video(int w) override;
  const render::Bitmap* image_vue(int v) override;
  const std::string* image_vue_lue(int v) override;
  std::pair<std::int32_t, std::int32_t> taille_image_vue(int v) override;
  param_vue parametres_vue(int v) override;
  void titre_vue(int v, const std::string& titre) override;
  void marquer_vue_enregistree(int v) override;
  std::string film(int w) override;
  bool film_refait(int w) override;
  informations_video informations(int w) override;
  const std::vector<enregistrement_camera>* cameras(int w) override;
  void titre_video(int w, const std::string& titre) override;
  void marquer_video_enregistree(int w) override;
  void recents_modifies() override;

  // --- the main window as the command groups see it (mainwindow_hotes.cpp) ---
  QWidget* fenetre_principale() override { return this; }
  void occuper(bool actif) override { occupe = actif ? 1 : 0; }
  CarteMontagne* carte(int m) override;
  FenetreVue* fenetre_vue(int v) override;
  FenetreVideo* fenetre_video(int w) override;
  FenetreEdition* editeur_ouvert(int m) override;
  bool nouveau_en_attente() const override { return nouveau_demande != 0; }
  void demander_nouveau(bool demande) override { nouveau_demande = demande ? 1 : 0; }
  void demander_rafraichissement() override {
    rafraichir_demande = 1;
    video_a_refaire = etat.temoin_video(etat.video_courante);
  }
  bool image_brute_active() const override { return image_brute != 0; }
  void regler_image_brute(bool actif) override { image_brute = actif ? 1 : 0; }
  bool courbes_actives() const override { return courbes_niveau != 0; }
  void regler_courbes_niveau(bool actif) override { courbes_niveau = actif ? 1 : 0; }
  int largeur_enfants() const override;
  void cocher(Commande c, bool coche) override;
  std::unique_ptr<std::vector<enregistrement_camera>>& cameras_de_travail() override { return tableau_cameras; }
  void garder_import(FenetreImport* fenetre) override;
  // The Mountain and View menu commands.
  CommandesMontagne& commandes_montagne() { return *montagnes_; }
  CommandesVideo& commandes_video() { return *videos_; }
  CommandesEdition& commandes_edition() { return *edition_; }
  CommandesImpression& commandes_impression() { return *impression_; }
  CommandesImport& commandes_import() { return *import_; }
  CommandesOptionsVue& commandes_options_vue() { return *options_vue_; }
  CommandesOptions& commandes_options() { return *options_; }
  // The closing cascades and exit questions.
  CascadesFermeture& fermetures() { return *fermetures_; }
  // The file dialogs the commands use (the Qt ones unless replaced).
  void utiliser_dialogues(std::unique_ptr<DialoguesDocuments> d);
  DialoguesDocuments& dialogues() override { return *dialogues_; }

  // --- building blocks, public for the other document windows and tests ---
  // Adds a child to the MDI area and shows it; the context-help flag starts off.
  QMdiSubWindow* ajouter_enfant(FenetreEnfant* enfant);
  // Takes a free mountain slot for a document: card, node, name; returns the slot or 0.
  int prendre_montagne(const std::string& nom, const QString& titre_carte, const QString& texte_noeud,
                       const param_mat& p, int emplacement = 0) override;
  int ajouter_vue(FenetreVue* vue, int montagne) override;
  int ajouter_video(FenetreVideo* video, int vue) override;
  void ajouter_editeur(FenetreEdition* editeur, int montagne) override;
  // Closes the import window when there is one, takes it out of the MDI
  // area, deletes it later and clears the import-open flag.
  void fermer_import() override;
  void activer(QWidget* enfant) override;  // makes a child the active MDI child
  QWidget* enfant_actif() const;  // the current MDI child's window, or null
  void afficher_aide(int contexte);
  int plus_haute_vue(int m) const override { return etat.plus_haute_vue(m); }
  void montrer_indication(const QString& texte);  // the status line's hint

  // --- what tests and the review look at ---
  QAction* action(Commande c) const;
  QMenu* menu_fichier() const { return menu_fichier_; }
  QMdiArea* mdi() const { return mdi_; }
  QTreeWidget* arbre() const { return TreeView1_; }
  CtlSpeedButton* bouton(Commande c) const;  // null when the command has no button
  QString ligne_etat() const;
  QString panneau_droit() const;
  TAboutBox* splash() const { return splash_; }
  HelpViewer* aide(bool creer = true);
  // Whether a movie is being made (the movie window's making runs); the
  // program cannot close then.
  std::function<bool()> film_en_fabrication;
  // The box that says why the program stays open, while it is shown.
  QMessageBox* refus_fermeture() const;
  QTimer& timer1() { return Timer1_; }
  QTimer& timer2() { return Timer2_; }
  QTimer& timerthread() override { return Timerthread_; }
  QTimer& timer_delete() { return Timer_delete_; }
  QTimer& timerthread1() override { return TimerThread1_; }
  QStringList entrees_recentes() const;  // captions of the recent items in the File menu
  CtlFormFill* fond() const { return fond_; }
  components::TRxGradientCaption* legende() const { return legende_; }
  CtlShapeHint* indications() const { return hint_; }

 signals:
  // Each run of UpdateItems that looked at the windows (not one refused
  // because another run is under way), when it ends.
  void elementsMisAJour();

 protected:
  bool event(QEvent* e) override;
  // The child windows' closing: the active one hands the activation on; and
  // a press on a child's frame finds the title bar button under the pointer.
  bool eventFilter(QObject* o, QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void changeEvent(QEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dropEvent(QDropEvent* e) override;

 private:
  // Makes the command groups and connects them to their menu items and hooks.
  void brancher_commandes();
  void construire_menus();
  void construire_barre();
  void mesurer_textes();  // the last steps of construction, which measure texts
  static std::size_t indice(Commande c) { return static_cast<std::size_t>(c); }
  QAction* ajouter_action(QMenu* menu, const DefinitionCommande& d);
  // Runs a command as its menu item does: in context-help mode its topic instead.
  void commande(Commande c);
  void activer_elements();  // the enabling table
  // One run of UpdateItems over the windows, and its steps.
  void suivre_fenetres();
  void afficher_documents_courants();
  void suivre_carte_active(QWidget* actif);
  // Takes what card m (every card) wrote into its slot and not taken yet:
  // its pending memo text, and the slot becomes edited when the card changed
  // it. Whatever reads the edited state (questions, saves) calls this first.
  void prendre_carte(int m);
  void prendre_cartes();
  void suivre_vue_active(QWidget* actif);
  void suivre_video_active(QWidget* actif);
  void suivre_editeur_actif(QWidget* actif);
  void ranger_fenetres_fermees();
  QString nom_montagne(int m) const;
  void cocher_options();
  void regler(Commande c, bool actif);
  // Whether the command's code is connected and what it needs exists.
  bool commande_possible(Commande c) const;
  void reconstruire_recents();
  void liberer_noeud(QTreeWidgetItem*& noeud);
  QTreeWidgetItem* nouveau_noeud(QTreeWidgetItem* parent, const QString& texte, int image, int image_choisie,
                                 QWidget* donnee);
  // Makes the node the only one selected; with `focus`, the tree is to take
  // the keyboard (when it is shown), once the change under way is over.
  void selectionner_noeud(QTreeWidgetItem* noeud, bool focus);
  void focus_vers_arbre();
  // Gives an activated child the keyboard: to the control of it that last had it.
  void rendre_clavier(QWidget* f);
  // The tree may take the keyboard: it is shown, has not got it, and the menu
  // bar does not hold it (after Alt, a title's letter and Escape, until a
  // second Escape or a click gives it back).
  bool arbre_peut_prendre_clavier() const;
  // Once no modal window blocks this window, for a while: the activation
  // comes back here when the program is left with no active window.
  void reprendre_activation();
  // The child windows in the order they were opened.
  QList<QPointer<QMdiSubWindow>> ordre_enfants() const;
  // The first shown window of `ordre` going `pas` at a time from place k,
  // round the end (from the first when k is -1); null when none is shown.
  static QMdiSubWindow* sous_fenetre_suivante(const QList<QPointer<QMdiSubWindow>>& ordre, int k, int pas);
  void fermer_enfant(FenetreEnfant* enfant);
  void detruire_enfant(FenetreEnfant* enfant);
  // A child window closed itself: the cascade decides, the window carries it out.
  void fermer_montagne(int m);
  // Mountain m's close was taken back: its card comes back, active.
  void garder_montagne(int m);
  void fermer_vue(int v);
  void fermer_video(int w);
  void fermer_edition(int m);
  template <class F>
  void fermer_autorisee(F* enfant);  // closes a card or view as a command does
  class FermeturesFenetre;
  void preparer_fermetures();
  std::unique_ptr<HoteFermetures> hote_fermetures_;
  std::unique_ptr<QuestionsFermeture> questions_;
  std::unique_ptr<CascadesFermeture> fermetures_;
  // A deferred-work timer's action, unless long work runs or a modal window
  // is up: the timer then tries again later.
  void en_dehors_operation(QTimer& t, const std::function<void()>& action);

  TData* data_;
  std::unique_ptr<DialoguesDocuments> dialogues_;
  std::unique_ptr<CommandesFichier> fichier_;
  std::unique_ptr<CommandesMontagne> montagnes_;
  std::unique_ptr<CommandesVideo> videos_;
  std::unique_ptr<CommandesEdition> edition_;
  std::unique_ptr<CommandesImpression> impression_;
  std::unique_ptr<CommandesImport> import_;
  std::unique_ptr<CommandesOptionsVue> options_vue_;
  std::unique_ptr<CommandesOptions> options_;
  platform::WindowHandle handle_ = 0;
  QMdiArea* mdi_ = nullptr;
  QTreeWidget* TreeView1_ = nullptr;
  QLabel* etat_gauche_ = nullptr;
  QLabel* etat_droit_ = nullptr;
  CtlBackPanel* Speedpanel1_ = nullptr;
  CtlFormFill* fond_ = nullptr;
  CtlShapeHint* hint_ = nullptr;
  QMenu* menu_fichier_ = nullptr;
  QAction* separateur_recents_ = nullptr;  // the separator before "&Exit" that closes the recent entries
  QAction* action_sortie_ = nullptr;
  std::vector<QAction*> actions_recentes_;
  std::array<QAction*, kNombreCommandes> actions_{};
  std::array<std::function<void()>, kNombreCommandes> commandes_{};
  std::array<CtlSpeedButton*, kNombreCommandes> boutons_{};
  QPointer<TAboutBox> splash_;
  components::TRxGradientCaption* legende_ = nullptr;
  std::unique_ptr<HelpViewer> aide_;
  // Closing is refused while long work runs: says why, in front of that work's window.
  void fermeture_impossible();
  // The exit questions, unless quitter asked them already; false when the
  // program stays (work under way, or a save the user asked for not made).
  bool questions_de_sortie();
  bool questions_sortie_posees_ = false;
  QPointer<QMessageBox> refus_fermeture_;
  std::unique_ptr<DemandesFermeture> demandes_fermeture_;
  QTimer Timer1_, Timer2_, Timerthread_, Timer_delete_, TimerThread1_;
  QTimer Timer_reprise_;     // the watch for the keyboard after a modal window closed
  RepriseClavier reprise_;
  QPointer<QMdiSubWindow> derniere_active_;  // the child window activated last
  QPointer<QMdiSubWindow> fermee_;           // it is being closed (its close may still be refused)
  bool selection_programme_ = false;
  bool dans_update_ = false;
  bool arbre_veut_focus_ = false;      // the last node selected wants the tree to have the keyboard
  bool focus_arbre_programme_ = false;  // the tree's taking of the keyboard is scheduled
};
