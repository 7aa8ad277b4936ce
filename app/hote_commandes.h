// What each group of menu commands needs of the main window, and nothing
// more: the commands work on the document state they are given and reach the
// child windows, the deferred work and the menu check marks only through
// these interfaces. The main window implements all of them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fenetres/fenetres.h"
#include "model/records.h"
#include "app/table_commandes.h"
#include "platform/messages.h"
#include "render/raster.h"

class DialoguesDocuments;
class QString;
class QTimer;
class QWidget;

// What every group uses: the window as the parent of its dialogs and progress
// windows, the tables' refresh, the active child, the busy flag and the
// mountain cards and view windows by slot (null when the slot has none).
class HoteCommandes {
 public:
  virtual ~HoteCommandes() = default;
  virtual QWidget* fenetre_principale() = 0;
  virtual platform::WindowHandle handle() const = 0;
  virtual void UpdateItems() = 0;
  virtual void activer(QWidget* enfant) = 0;
  // The busy flag: raised while a command rearranges the tables.
  virtual void occuper(bool occupe) = 0;
  virtual CarteMontagne* carte(int m) = 0;
  virtual FenetreVue* fenetre_vue(int v) = 0;
};

// The deferred work the option commands ask for: a new view or video made by
// the timers, or the active one redrawn.
class HoteDemandes {
 public:
  virtual ~HoteDemandes() = default;
  virtual bool nouveau_en_attente() const = 0;
  virtual void demander_nouveau(bool demande) = 0;
  virtual void demander_rafraichissement() = 0;
  // Timerthread (views) and TimerThread1 (videos) run the deferred work.
  virtual QTimer& timerthread() = 0;
  virtual QTimer& timerthread1() = 0;
};

// The display options shared by views and the map editor.
class HoteAffichage {
 public:
  virtual ~HoteAffichage() = default;
  virtual bool image_brute_active() const = 0;
  virtual void regler_image_brute(bool actif) = 0;
  virtual bool courbes_actives() const = 0;
  virtual void regler_courbes_niveau(bool actif) = 0;
  // The open map editor of mountain m, or null.
  virtual FenetreEdition* editeur_ouvert(int m) = 0;
};

// Mountains and views.
class HoteMontagne : public HoteCommandes, public HoteDemandes, public HoteAffichage {
 public:
  // Takes a free mountain slot for a document: card, node, name; returns the slot or 0.
  virtual int prendre_montagne(const std::string& nom, const QString& titre_carte, const QString& texte_noeud,
                               const param_mat& p, int emplacement) = 0;
  virtual int ajouter_vue(FenetreVue* vue, int montagne) = 0;
  // The width of the area the child windows live in.
  virtual int largeur_enfants() const = 0;
  // The check mark of a command's menu item.
  virtual void cocher(Commande c, bool coche) = 0;
};

// Videos.
class HoteVideo : public HoteCommandes, public HoteDemandes {
 public:
  virtual FenetreVideo* fenetre_video(int w) = 0;
  virtual int ajouter_video(FenetreVideo* video, int vue) = 0;
  virtual void focaliser_vue(int v) = 0;
  virtual void focaliser_video(int w) = 0;
  // The working camera path, shared by the settings dialog and new videos.
  virtual std::unique_ptr<std::vector<enregistrement_camera>>& cameras_de_travail() = 0;
  virtual void cocher(Commande c, bool coche) = 0;
};

// The map editor.
class HoteEdition : public HoteCommandes, public HoteAffichage {
 public:
  virtual void ajouter_editeur(FenetreEdition* editeur, int montagne) = 0;
};

// The creation, refinement and combination dialogs.
class HoteOptions : public HoteCommandes, public HoteDemandes {
 public:
  // The highest open view of mountain m, or 0.
  virtual int plus_haute_vue(int m) const = 0;
};

// The view options dialog.
class HoteOptionsVue : public HoteCommandes, public HoteDemandes, public HoteAffichage {
 public:
  virtual void focaliser_vue(int v) = 0;
};

// The import window.
class HoteImport : public HoteCommandes {
 public:
  virtual DialoguesDocuments& dialogues() = 0;
  // Closes the import window when there is one.
  virtual void fermer_import() = 0;
  // Shows a new import window and keeps it as the open one.
  virtual void garder_import(FenetreImport* fenetre) = 0;
};

// Printing.
class HoteImpression : public HoteCommandes {
 public:
  // The picture of view v, or null when it has none now.
  virtual const render::Bitmap* image_vue(int v) = 0;
};
