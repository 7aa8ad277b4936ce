// Command groups over recording hosts, with no main window: the map editor's
// commands open one editor per mountain and reach it only through the host;
// and the menus the main window builds from the command table keep their
// shortcuts, check items and order.
#include <gtest/gtest.h>

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <vector>

#include "app/commandes_edition.h"
#include "app/hote_commandes.h"
#include "tests/app/programme_test_support.h"

namespace {

// Records what the editor's commands ask of the window.
struct HoteEnregistreur : HoteEdition {
  std::array<FenetreEdition*, NOMBRE_MAX_MONTAGNES + 1> ouverts{};
  std::vector<std::pair<FenetreEdition*, int>> ajouts;
  std::vector<QWidget*> activations;
  int mises_a_jour = 0;
  bool brute = false, courbes = false;

  QWidget* fenetre_principale() override { return nullptr; }
  platform::WindowHandle handle() const override { return 0; }
  void UpdateItems() override { ++mises_a_jour; }
  void activer(QWidget* enfant) override { activations.push_back(enfant); }
  void occuper(bool) override {}
  CarteMontagne* carte(int) override { return nullptr; }
  FenetreVue* fenetre_vue(int) override { return nullptr; }
  bool image_brute_active() const override { return brute; }
  void regler_image_brute(bool actif) override { brute = actif; }
  bool courbes_actives() const override { return courbes; }
  void regler_courbes_niveau(bool actif) override { courbes = actif; }
  FenetreEdition* editeur_ouvert(int m) override { return ouverts[m]; }
  void ajouter_editeur(FenetreEdition* editeur, int m) override {
    ajouts.emplace_back(editeur, m);
    ouverts[m] = editeur;
  }
};

struct EditeurEnregistreur : FenetreEdition {
  OuvertureEdition ouverture;
  std::vector<ElementsCarte> effacements;
  std::vector<bool> elevations;
  void ouvre_edition(const OuvertureEdition& o) override {
    FenetreEdition::ouvre_edition(o);
    ouverture = o;
  }
  bool effacer_elements(ElementsCarte genre) override {
    effacements.push_back(genre);
    return true;
  }
  void elevation_coupe(bool coupe) override { elevations.push_back(coupe); }
};

}  // namespace

TEST(CommandesEditionHote, OneEditorPerMountainReachedThroughTheHost) {
  etat_documents e;
  HoteEnregistreur h;
  CommandesEdition c(e, h);
  std::vector<std::unique_ptr<EditeurEnregistreur>> faits;
  c.creer_editeur = [&] {
    faits.push_back(std::make_unique<EditeurEnregistreur>());
    return faits.back().get();
  };
  // No mountain, or a slot without a terrain: nothing is made.
  c.ouvrir_edition();
  e.montagne_courante = 2;
  e.montagnes[2].type.utilise = 1;
  c.ouvrir_edition();
  EXPECT_TRUE(faits.empty());
  c.effacer(ElementsCarte::sol);
  c.elevation_coupe(false);
  EXPECT_EQ(h.mises_a_jour, 0);

  e.montagnes[2].terrain = std::make_unique<Tmatrice>(param_mat{.maillage = 4});
  e.vue.horizon = 1;
  h.courbes = true;
  c.ouvrir_edition();
  ASSERT_EQ(faits.size(), 1u);
  EditeurEnregistreur* ed = faits[0].get();
  ASSERT_EQ(h.ajouts.size(), 1u);
  EXPECT_EQ(h.ajouts[0], std::make_pair(static_cast<FenetreEdition*>(ed), 2));
  EXPECT_EQ(ed->ouverture.no_montagne, 2);
  EXPECT_EQ(ed->ouverture.matrice, e.montagnes[2].terrain.get());
  EXPECT_EQ(ed->ouverture.courbes, 1);
  EXPECT_EQ(ed->ouverture.grossier, 0);
  EXPECT_EQ(ed->ouverture.vue_defaut.horizon, 1);
  EXPECT_EQ(ed->degre, 4);
  EXPECT_EQ(h.activations, std::vector<QWidget*>{ed});
  EXPECT_EQ(h.mises_a_jour, 1);

  // Opening again brings the same editor forward.
  c.ouvrir_edition();
  EXPECT_EQ(faits.size(), 1u);
  EXPECT_EQ(h.activations.size(), 2u);
  EXPECT_EQ(c.editeur_courant(), ed);
  c.effacer(ElementsCarte::rivieres);
  c.elevation_coupe(true);
  EXPECT_EQ(ed->effacements, std::vector<ElementsCarte>{ElementsCarte::rivieres});
  EXPECT_EQ(ed->elevations, std::vector<bool>{true});

  // Another mountain is current: its commands do not reach this editor.
  e.montagne_courante = 3;
  c.effacer(ElementsCarte::arbres);
  EXPECT_EQ(ed->effacements.size(), 1u);
  EXPECT_EQ(c.editeur_courant(), nullptr);
}

// The menus as built from the table: every item's shortcut, check item and place.
TEST(MenusDeLaTable, ShortcutsCheckItemsAndOrderAsBefore) {
  Programme p;
  ASSERT_TRUE(p.demarrer(options_exemple()));
  TBasewindow* w = p.w.get();
  const std::pair<Commande, QKeySequence> raccourcis[] = {
      {Commande::ouvrir, QKeySequence(Qt::Key_F2)},
      {Commande::enregistrer, QKeySequence(Qt::Key_F3)},
      {Commande::editer, QKeySequence(Qt::Key_F4)},
      {Commande::nouvelle_montagne, QKeySequence(Qt::Key_F5)},
      {Commande::voir, QKeySequence(Qt::Key_F6)},
      {Commande::options_creation, QKeySequence(Qt::Key_F7)},
      {Commande::options_vue, QKeySequence(Qt::Key_F8)},
      {Commande::rafraichir_vue, QKeySequence(Qt::Key_F9)},
      {Commande::rafraichissement_automatique, QKeySequence(Qt::CTRL | Qt::Key_R)},
      {Commande::maillage, QKeySequence(Qt::CTRL | Qt::Key_M)},
      {Commande::echelle_fixe, QKeySequence(Qt::CTRL | Qt::Key_E)},
      {Commande::deformation, QKeySequence(Qt::CTRL | Qt::Key_D)},
      {Commande::arbres, QKeySequence(Qt::CTRL | Qt::Key_A)},
      {Commande::ombre_portee, QKeySequence(Qt::CTRL | Qt::Key_P)},
      {Commande::brume, QKeySequence(Qt::CTRL | Qt::Key_B)},
      {Commande::details, QKeySequence(Qt::CTRL | Qt::Key_T)},
      {Commande::horizon, QKeySequence(Qt::CTRL | Qt::Key_H)},
      {Commande::reflet, QKeySequence(Qt::CTRL | Qt::Key_F)},
      {Commande::photo, QKeySequence(Qt::CTRL | Qt::Key_O)},
      {Commande::index, QKeySequence(Qt::Key_F1)}};
  int avec_raccourci = 0;
  for (const DefinitionCommande& d : table_commandes()) {
    QAction* a = w->action(d.id);
    ASSERT_NE(a, nullptr) << d.caption;
    EXPECT_EQ(a->text(), QString(d.caption));
    EXPECT_EQ(a->isCheckable(), d.cochable) << d.caption;
    if (!a->shortcut().isEmpty()) ++avec_raccourci;
  }
  EXPECT_EQ(avec_raccourci, static_cast<int>(std::size(raccourcis)));
  for (const auto& [c, touche] : raccourcis) EXPECT_EQ(w->action(c)->shortcut(), touche) << definition(c).caption;

  // The menu bar's menus and the View menu's items, separators included.
  QStringList menus;
  for (QAction* m : w->menuBar()->actions()) menus << m->text();
  EXPECT_EQ(menus, (QStringList{"&File", "&Mountain", "&Edition", "&View", "Vi&deos", "&Window", "&Help"}));
  QStringList vue;
  for (QAction* a : w->menuBar()->actions()[3]->menu()->actions()) vue << (a->isSeparator() ? "-" : a->text());
  EXPECT_EQ(vue, (QStringList{"&see", "See in a &full screen", "&Refresh the active view", "Duplicate the view",
                              "&Automatic refresh", "Rough picture", "Level curves", "-", " - Visible Mesh",
                              " - Fixed scale", " - Distortion allowed", " - Trees", " - Cast shadow", " - Mist",
                              " - Details", " - Horizon", " - Reflection", " - Picture", "-", "Informations",
                              "View options ...", "Close the active view", "Close all views"}));
  // The File menu ends with the two separators around the recent entries, then "&Exit".
  const QList<QAction*> fichier = w->menu_fichier()->actions();
  ASSERT_GE(fichier.size(), 3);
  EXPECT_TRUE(fichier[fichier.size() - 3]->isSeparator());
  EXPECT_TRUE(fichier[fichier.size() - 2]->isSeparator());
  EXPECT_EQ(fichier.back(), w->action(Commande::sortie));
}
