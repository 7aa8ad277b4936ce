// The map editor as the main window opens, refreshes, erases through and
// closes it: F4, the card's request, the Edition menu, help and the save
// question of an edited mountain.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>

#include "app/aide.h"
#include "app/carte.h"
#include "app/commandes_edition.h"
#include "fenetres/rendu.h"
#include "tests/support/rendus.h"
#include "controls/shapebutton.h"
#include "controls/speedbutton.h"
#include "dialogs/dlg_edit.h"
#include "dialogs/edition.h"
#include "tests/app/atelier.h"
#include "tests/app/programme_test_support.h"

namespace {

struct Editeurs : ::testing::Test {
  QTemporaryDir dossier;
  ScopedFakeUserInterface ui;
  TData data;
  std::unique_ptr<TBasewindow> w;

  void SetUp() override {
    ecrire_tout(dossier.path() + "/montagne.ini", options_exemple());
    w = std::make_unique<TBasewindow>(&data);
    w->utiliser_dialogues(std::make_unique<FakeDialoguesDocuments>());
    ReglagesDemarrage r;
    r.executable = dossier.path() + "/quorvel";
    r.inscriptible = [](const QString&) { return true; };
    ASSERT_TRUE(w->FormCreate(r));
    w->show();
    w->etat.parametres.maillage = 5;
    w->etat.parametres.cle = 4242;
    w->etat.parametres.alea = 0;
    test_rendus::controle_rendus().effacer();
    test_rendus::controle_rendus().couleur_factice = render::pixel_rgb(10, 90, 40);
    commande(Commande::nouvelle_montagne);
  }
  void TearDown() override { test_rendus::controle_rendus().effacer(); }

  void commande(Commande c) {
    QAction* a = w->action(c);
    ASSERT_NE(a, nullptr) << definition(c).caption;
    ASSERT_TRUE(a->isEnabled()) << definition(c).caption;
    a->trigger();
    QApplication::processEvents();
  }
  Tfenetre_edition* editeur(int m) { return dynamic_cast<Tfenetre_edition*>(w->editeurs[m].data()); }
  // Paints the editor's map and runs what the paint scheduled.
  void peindre(Tfenetre_edition* e) {
    e->zone_carte()->repaint();
    QApplication::processEvents();
    e->calculer_carte();
  }
};

}  // namespace

TEST_F(Editeurs, F4OpensOneEditorUnderTheMountain) {
  const int m = w->etat.montagne_courante;
  ASSERT_EQ(m, 1);
  commande(Commande::editer);
  Tfenetre_edition* e = editeur(m);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->windowTitle(), "Edition " + QString::fromStdString(w->etat.montagnes[m].type.nom.str()));
  EXPECT_EQ(e->matrice, w->etat.montagnes[m].terrain.get());
  EXPECT_EQ(e->degre, 5);
  QTreeWidgetItem* noeud = w->noeuds_editeurs[m];
  ASSERT_NE(noeud, nullptr);
  EXPECT_EQ(noeud->parent(), w->noeuds_montagnes[m]);
  EXPECT_EQ(noeud->text(0), e->windowTitle());
  peindre(e);
  EXPECT_EQ(test_rendus::controle_rendus().rendus, 1);
  const auto fenetres = w->mdi()->subWindowList().size();

  // A second request focuses the same editor, from the menu or from the card.
  w->activer(w->cartes[m]);
  commande(Commande::editer);
  EXPECT_EQ(editeur(m), e);
  EXPECT_EQ(w->mdi()->subWindowList().size(), fenetres);
  auto* carte = dynamic_cast<TMatricewindow*>(w->cartes[m].data());
  ASSERT_NE(carte, nullptr);
  EXPECT_TRUE(carte->BitBtn3->isEnabled());
  w->activer(carte);
  carte->code_commande = 16;
  carte->requete_fenetre();
  QApplication::processEvents();
  EXPECT_EQ(editeur(m), e);
  EXPECT_EQ(w->enfant_actif(), e);
  EXPECT_EQ(w->mdi()->subWindowList().size(), fenetres);

  // F1 with the editor active shows its topic; a context-help click on the gauge its own.
  w->touche_aide();
  EXPECT_EQ(w->aide()->CurrentTopic(), 4008);
  e->aide_contextuelle = 1;
  QMouseEvent clic(QEvent::MouseButtonPress, QPointF(3, 3), QPointF(3, 3), Qt::LeftButton, Qt::LeftButton,
                   Qt::NoModifier);
  QApplication::sendEvent(e->Panel_altitude, &clic);
  EXPECT_EQ(w->aide()->CurrentTopic(), 4009);
  e->aide_contextuelle = 0;
  for (int sujet : {4008, 4009}) EXPECT_EQ(help_topics().count(sujet), 1u) << sujet;

  commande(Commande::fermer_edition);
  QApplication::processEvents();
  EXPECT_FALSE(w->edition_ouverte[m]);
  EXPECT_EQ(w->noeuds_editeurs[m], nullptr);
}

TEST_F(Editeurs, RefreshPushesTheViewSettingsAndRendersOnce) {
  const int m = w->etat.montagne_courante;
  commande(Commande::editer);
  Tfenetre_edition* e = editeur(m);
  ASSERT_NE(e, nullptr);
  peindre(e);
  w->etat.vue.niveau_mer = 321;
  w->etat.vue.couleurs[1] = {1, 2, 3};
  w->etat.vue.angle_vertical = 10;  // not pushed
  commande(Commande::rafraichir_edition);
  peindre(e);
  peindre(e);
  ASSERT_EQ(test_rendus::controle_rendus().rendus, 2);
  const auto& v = test_rendus::controle_rendus().appels[1].vue;
  EXPECT_EQ(v.niveau_mer, 321);
  EXPECT_EQ(v.couleurs[1], (Rgb{1, 2, 3}));
  EXPECT_EQ(v.angle_vertical, 89);
}

TEST_F(Editeurs, EraseThroughTheEditorMarksTheMountainEdited) {
  const int m = w->etat.montagne_courante;
  Tmatrice& t = *w->etat.montagnes[m].terrain;
  t.liste_i[0] = 5;
  t.liste_j[0] = 5;
  t.liste_type[0] = TYPE_ARBRE + 2;
  t.liste_attribut[0] = 30;
  t.nombre_elements = std::max(t.nombre_elements, 1);
  auto& type = w->etat.montagnes[m].type;
  const std::string chemin = (dossier.path() + "/alps.mat").toStdString();
  commande(Commande::editer);
  Tfenetre_edition* e = editeur(m);
  ASSERT_NE(e, nullptr);
  EXPECT_FALSE(e->SpeedButton_save->isEnabled());
  // The mountain gets a file while its editor is open: Autosave becomes possible.
  type.a_fichier = 1;
  type.fichier = chemin;
  w->marquer_sauvee(m);
  EXPECT_EQ(e->fichier, chemin);
  EXPECT_TRUE(e->SpeedButton_save->isEnabled());

  ui.answers = {false};
  commande(Commande::effacer_arbres);
  EXPECT_EQ(e->modifiee, 0);
  ui.answers = {true};
  commande(Commande::effacer_arbres);
  EXPECT_EQ(e->modifiee, 1);
  EXPECT_EQ(t.liste_type[0], TYPE_EFFACE);

  // Closing the mountain asks its save question.
  ui.entries.clear();
  ui.answers = {false};
  w->activer(w->cartes[m]);
  w->Fermer_montagne_active();
  QApplication::processEvents();
  ASSERT_FALSE(ui.entries.empty());
  EXPECT_EQ(ui.entries[0].text, "Save the modifications of " + chemin + " ?");
}

TEST_F(Editeurs, LiftAndCrossSectionThroughTheEditor) {
  const int m = w->etat.montagne_courante;
  EXPECT_FALSE(w->action(Commande::elever)->isEnabled());
  EXPECT_FALSE(w->action(Commande::coupe)->isEnabled());
  commande(Commande::editer);
  Tfenetre_edition* e = editeur(m);
  ASSERT_NE(e, nullptr);
  peindre(e);
  Tmatrice& t = *w->etat.montagnes[m].terrain;
  const Tnoeud avant = *t.hauteurs;
  const std::int32_t h = t.hauteur_max();
  QString titre;
  e->executer_dialogue = [&](dialogs::Tdlg_edit& d) {
    titre = d.windowTitle();
    d.ScrollBar_alt->setValue(-(h + 500));
    return 1;
  };
  commande(Commande::elever);
  EXPECT_EQ(titre, "Elevation");
  for (std::int32_t i = 2; i < t.n; ++i)
    for (std::int32_t j = 2; i + j <= t.n; ++j)
      ASSERT_EQ(t.hauteurs->lire(i, j), std::min(avant.lire(i, j) + 500, 4000)) << i << "," << j;
  EXPECT_EQ(e->modifiee, 1);
  const Tnoeud eleve = *t.hauteurs;
  e->modifiee = 0;
  e->executer_dialogue = [&](dialogs::Tdlg_edit& d) {
    titre = d.windowTitle();
    return 1;
  };
  commande(Commande::coupe);
  EXPECT_EQ(titre, "Cross-section of a ground");
  for (std::int32_t i = 1; i <= t.n; ++i)
    for (std::int32_t j = 1; i + j <= t.n + 1; ++j) ASSERT_EQ(t.hauteurs->lire(i, j), eleve.lire(i, j));
  EXPECT_EQ(e->modifiee, 0);
}

namespace {

// Notes, at each question, whether the editor still shows its map.
struct QuestionsEnVue : ScopedFakeUserInterface {
  std::function<bool()> carte_visible;
  std::vector<bool> visible;
  bool ask_yes_no(const std::string& texte, const std::string& legende) override {
    visible.push_back(carte_visible && carte_visible());
    return ScopedFakeUserInterface::ask_yes_no(texte, legende);
  }
};

}  // namespace

// Closing an edited map editor: its save questions come while it still shows
// its map, and Yes then No to saving the view writes the mountain's own file.
TEST(FermetureEditeur, QuestionsComeOverTheMapAndNoToTheViewSavesTheMountain) {
  Atelier a(5);
  a.commande(Commande::nouvelle_montagne);
  const QString chemin = a.dossier.path() + "/alps.mat";
  a.dialogues->sauvegardes.push_back(chemin.toStdString());
  a.commande(Commande::enregistrer_montagne);
  const std::string avant = lire_tout(chemin);
  test_rendus::controle_rendus().rendu_factice = [](Tmatrice&, render::Bitmap&, const param_vue&, ProgressSink*, platform::WindowHandle) {};
  a.commande(Commande::voir);
  Programme::vider();
  a.w->activer(a.carte(1));
  a.commande(Commande::editer);
  auto* e = dynamic_cast<Tfenetre_edition*>(a.w->editeurs[1].data());
  ASSERT_NE(e, nullptr);
  e->zone_carte()->repaint();
  Programme::vider();
  e->calculer_carte();
  e->executer_dialogue = [](dialogs::Tdlg_edit& d) {
    d.ScrollBar_alt->setValue(d.ScrollBar_alt->value() - 300);
    return 1;
  };
  e->elevation_coupe(false);
  ASSERT_EQ(e->modifiee, 1);

  QuestionsEnVue q;
  q.carte_visible = [e] { return e->isVisible() && e->sous_fenetre()->isVisible() && !e->Image1.isNull(); };
  q.answers = {true, false};
  e->sous_fenetre()->close();
  Programme::vider();
  ASSERT_EQ(q.entries.size(), 2u);
  EXPECT_EQ(q.entries[0].text, "Save the modifications of " + chemin.toStdString() + " ?");
  EXPECT_EQ(q.entries[1].text, "The file " + chemin.toStdString() +
                                   " owns a view, do you want to save the view ?  (extension \"VUE\" instead of \"MAT\" )");
  EXPECT_EQ(q.visible, (std::vector<bool>{true, true}));
  EXPECT_TRUE(lire_tout(chemin) != avant);
  EXPECT_EQ(lire_tout(chemin).find("[PARAMETRES VUE]"), std::string::npos);
  EXPECT_FALSE(a.w->edition_ouverte[1]);
  EXPECT_EQ(a.w->editeurs[1], nullptr);
  EXPECT_EQ(a.w->etat.montagnes[1].type.modifie_edition, 0);
}

// Alt and a title's letter open that menu; Escape closes it and leaves the
// menu bar holding the keyboard, its title highlighted, so the editor's keys
// wait, and the explorer, when shown, does not take it; a second Escape gives
// the keyboard back to the editor (to the tree that had it, the explorer
// shown), whose keys act.
TEST_F(Editeurs, AfterAMenuAndEscapeTheBarShowsItHoldsTheKeysUntilASecondEscape) {
  commande(Commande::editer);
  Tfenetre_edition* e = editeur(1);
  ASSERT_NE(e, nullptr);
  peindre(e);
  w->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
  QMenuBar* barre = w->menuBar();
  QAction* titre = nullptr;
  for (QAction* a : barre->actions())
    if (a->text() == "&Window") titre = a;
  ASSERT_NE(titre, nullptr);
  const QRect zone = barre->actionGeometry(titre);
  auto surligne = [&] {
    const QImage image = barre->grab().toImage();
    const QRgb couleur = barre->palette().color(QPalette::Highlight).rgb();
    int n = 0;
    for (int y = zone.top(); y <= zone.bottom(); ++y)
      for (int x = zone.left(); x <= zone.right(); ++x) n += image.pixel(x, y) == couleur;
    return n > zone.width() * zone.height() / 3;
  };
  QTreeWidget* arbre = w->arbre();
  for (bool explorateur : {false, true}) {
    SCOPED_TRACE(explorateur ? "explorer shown" : "explorer hidden");
    if (explorateur) commande(Commande::explorateur);
    ASSERT_EQ(arbre->isVisible(), explorateur);
    w->activer(e);
    QApplication::processEvents();
    QWidget* avant = QApplication::focusWidget();
    ASSERT_EQ(avant, explorateur ? static_cast<QWidget*>(arbre) : e);
    EXPECT_FALSE(surligne());
    const int position = e->session().position();
    QTreeWidgetItem* noeud = arbre->currentItem();

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_W, Qt::AltModifier);
    QApplication::processEvents();
    ASSERT_TRUE(titre->menu()->isVisible());
    QTest::keyClick(titre->menu(), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_FALSE(titre->menu()->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), barre);
    EXPECT_TRUE(surligne());
    for (Qt::Key k : {Qt::Key_PageDown, Qt::Key_Home}) QTest::keyClick(QApplication::focusWidget(), k);
    QApplication::processEvents();
    EXPECT_EQ(e->session().position(), position);
    EXPECT_EQ(arbre->currentItem(), noeud);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_FALSE(surligne());
    ASSERT_EQ(QApplication::focusWidget(), avant);
    if (explorateur) continue;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
    EXPECT_EQ(e->session().position(), position + 1);
  }
}
