#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QMessageBox>
#include <algorithm>
#include <QScreen>
#include <QTest>

#include <QTreeWidget>

#include "model/presse_papier.h"
#include "fenetres/pictures/peintures.h"
#include "app/aide.h"
#include "app/demandes_fermeture.h"
#include <array>
#include <cstring>
#include "app/apropos.h"
#include "components/legende.h"
#include "controls/formshadow.h"
#include "app/mainwindow.h"
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>
#include "controls/formfill.h"
#include "controls/image.h"
#include "controls/speedbutton.h"
#include "tests/app/programme_test_support.h"

namespace {

int noeuds(QTreeWidget* t) {
  int n = 0;
  for (QTreeWidgetItemIterator it(t); *it; ++it) ++n;
  return n;
}

struct Tables : ::testing::Test {
  Programme p;
  TBasewindow* w = nullptr;
  void SetUp() override {
    ASSERT_TRUE(p.demarrer(options_exemple()));
    w = p.w.get();
  }
};

}  // namespace

TEST_F(Tables, ClosingAMountainClosesItsViewsAndVideos) {
  int m1 = p.ouvrir("a.mat");
  int m2 = p.ouvrir("b.mat");
  ASSERT_EQ(m1, 1);
  ASSERT_EQ(m2, 2);
  FakeVue* v1 = p.vue(m2, "v1");
  FakeVue* v2 = p.vue(m2, "v2");
  FakeVideo* f = p.video(v1->no_vue);
  ASSERT_TRUE(v1 && v2 && f);
  EXPECT_EQ(noeuds(w->arbre()), 5);
  EXPECT_EQ(w->noeuds_videos[1]->parent(), w->noeuds_vues[v1->no_vue]);
  p.activer(w->cartes[m2]);
  EXPECT_EQ(w->etat.montagne_courante, m2);
  EXPECT_EQ(w->cartes[m2]->nombre_vues, 2);
  w->action(Commande::fermer_montagne)->trigger();
  Programme::vider();
  EXPECT_FALSE(w->etat.montagnes[m2].type.utilise);
  EXPECT_EQ(w->etat.montagnes[m2].terrain, nullptr);
  EXPECT_EQ(w->etat.nombre_montagnes, 1);
  EXPECT_EQ(w->etat.nombre_vues, 0);
  EXPECT_EQ(w->etat.nombre_videos, 0);
  EXPECT_EQ(w->etat.montagne_courante, m1);
  EXPECT_EQ(noeuds(w->arbre()), 1);
  EXPECT_EQ(w->mdi()->subWindowList().size(), 1);
  EXPECT_TRUE(p.ui.entries.empty());  // nothing was edited
}

TEST_F(Tables, ActivationFollowsTheActiveChildAcrossGaps) {
  p.ouvrir("a.mat");
  p.ouvrir("b.mat");
  p.ouvrir("c.mat");
  w->cartes[2]->fermeture_autorisee = 1;
  p.activer(w->cartes[2]);
  w->Fermer_montagne_active();
  Programme::vider();
  ASSERT_FALSE(w->etat.montagnes[2].type.utilise);
  FakeVue* v = p.vue(3);
  p.vue(1);
  p.activer(w->cartes[3]);
  EXPECT_EQ(w->etat.montagne_courante, 3);
  EXPECT_EQ(w->cartes[3]->nombre_vues, 1);
  EXPECT_EQ(w->ligne_etat(), "<< Mountain c.mat >>");
  EXPECT_EQ(w->panneau_droit(), " View # " + QString::number(v->no_vue));
  // Clicking a view node activates the view and makes its mountain current.
  w->basculer_explorateur();
  w->arbre()->clearSelection();
  w->noeuds_vues[v->no_vue]->setSelected(true);
  QApplication::processEvents();
  EXPECT_EQ(w->enfant_actif(), v);
  EXPECT_EQ(w->etat.vue_courante, v->no_vue);
  EXPECT_EQ(w->etat.montagne_courante, 3);
  EXPECT_EQ(w->panneau_droit(), "<< View # " + QString::number(v->no_vue) + " >>");
  // Closing the active mountain while its view is active closes it.
  w->action(Commande::fermer_montagne)->trigger();
  Programme::vider();
  EXPECT_FALSE(w->etat.montagnes[3].type.utilise);
  EXPECT_EQ(w->etat.nombre_vues, 1);
}

TEST_F(Tables, QuestionsOnlyForMountainsWithAFile) {
  int m = p.ouvrir("a.mat");
  w->etat.montagnes[m].type.a_fichier = 0;
  w->etat.montagnes[m].type.modifie_edition = 1;
  p.activer(w->cartes[m]);
  w->Fermer_montagne_active();
  EXPECT_TRUE(p.ui.entries.empty());
  int m2 = p.ouvrir("b.mat");
  FakeVue* v = p.vue(m2);
  v->modifiee = 1;
  p.ui.answers = {true};
  p.activer(w->cartes[m2]);
  w->Fermer_montagne_active();
  ASSERT_EQ(p.ui.entries.size(), 1u);
  EXPECT_EQ(p.ui.entries[0].text, "Save the modifications of " + p.chemin("b.mat").toStdString() + " ?");
  ASSERT_EQ(p.sauvegardes.size(), 1u);
  EXPECT_EQ(p.sauvegardes[0], m2);
}

TEST_F(Tables, CloseAllMountainsEmptiesTheTablesAndStopsTheTimer) {
  for (const char* n : {"a.mat", "b.mat", "c.mat"}) p.ouvrir(n);
  w->action(Commande::fermer_montagnes)->trigger();
  EXPECT_TRUE(w->timer_delete().isActive());
  for (int k = 0; k < 5 && w->timer_delete().isActive(); ++k) w->Timer_deleteTimer();
  Programme::vider();
  EXPECT_EQ(w->etat.nombre_montagnes, 0);
  EXPECT_FALSE(w->timer_delete().isActive());
  EXPECT_EQ(w->mdi()->subWindowList().size(), 0);
  EXPECT_EQ(noeuds(w->arbre()), 0);
}

TEST_F(Tables, ReliefClipboardFollowsTheActiveEditor) {
  int m1 = p.ouvrir("a.mat");
  int m2 = p.ouvrir("b.mat");
  int m3 = p.ouvrir("c.mat");
  param_mat autre = w->etat.montagnes[m3].type.parametres;
  autre.maillage = 5;
  w->etat.montagnes[m3].terrain = std::make_unique<Tmatrice>(autre);
  auto& t1 = *w->etat.montagnes[m1].terrain;
  t1.presse_papier = std::make_unique<presse_papier_relief>(9, t1.n);
  t1.niveau_presse_papier = 7;
  auto* e2 = new FakeEditeur;
  w->ajouter_editeur(e2, m2);
  p.activer(e2);
  EXPECT_EQ(w->etat.montagne_courante, m2);
  EXPECT_EQ(w->edition_active, 1);
  EXPECT_EQ(w->ligne_etat(), "<< Edition b.mat>>");
  EXPECT_EQ(t1.presse_papier, nullptr);
  EXPECT_NE(w->etat.montagnes[m2].terrain->presse_papier, nullptr);
  EXPECT_EQ(w->etat.montagnes[m2].terrain->niveau_presse_papier, 7);
  EXPECT_TRUE(e2->coller_actif);
  auto* e3 = new FakeEditeur;
  w->ajouter_editeur(e3, m3);
  p.activer(e3);
  EXPECT_NE(w->etat.montagnes[m3].terrain->presse_papier, nullptr);
  EXPECT_FALSE(e3->coller_actif);  // another mesh degree
  EXPECT_FALSE(w->action(Commande::fermer_montagne)->isEnabled());
}

TEST_F(Tables, CardRequests) {
  int m = p.ouvrir("a.mat");
  FakeVue* v1 = p.vue(m);
  FakeVue* v2 = p.vue(m);
  std::vector<int> rendues;
  w->rafraichir_vue = [&](int v) { rendues.push_back(v); };
  CarteMontagne* c = w->cartes[m];
  p.activer(c);
  c->code_commande = 1;
  c->requete_fenetre();
  ASSERT_EQ(rendues.size(), 1u);
  EXPECT_EQ(rendues[0], std::min(v1->no_vue, v2->no_vue));
  c->code_commande = 9;
  c->requete_fenetre();
  EXPECT_EQ(c->code_commande, 9);
  EXPECT_EQ(rendues.size(), 1u);
  auto& t = *w->etat.montagnes[m].terrain;
  t.hauteurs->ecrire(3, 3, 250);
  std::int32_t avant = t.hauteurs->lire(5, 2);
  c->code_commande = 12;
  c->requete_fenetre();
  EXPECT_EQ(t.hauteurs->lire(3, 3), 260);
  EXPECT_EQ(t.hauteurs->lire(5, 2), avant + 10);
  EXPECT_EQ(w->etat.montagnes[m].type.modifie_edition, 1);
  int duplications = 0;
  w->connecter(Commande::dupliquer_montagne, [&] { ++duplications; });
  c->code_commande = 4;
  c->requete_fenetre();
  EXPECT_EQ(duplications, 1);
  // A card that is not the active child is not served.
  p.activer(v1);
  c->code_commande = 4;
  c->requete_fenetre();
  EXPECT_EQ(duplications, 1);
}

TEST_F(Tables, ViewRequestWaitsForNoCurrentVideo) {
  int m = p.ouvrir("a.mat");
  FakeVue* v = p.vue(m);
  int copies = 0;
  w->connecter(Commande::dupliquer_vue, [&] { ++copies; });
  p.activer(v);
  v->code_commande = 2;
  v->requete_fenetre();
  EXPECT_EQ(copies, 1);
  w->etat.video_courante = 1;
  w->etat.videos[1].utilise = true;
  v->requete_fenetre();
  EXPECT_EQ(copies, 1);
  w->etat.videos[1].utilise = false;
  w->etat.video_courante = 0;
}

TEST_F(Tables, ImportedTerrainIsAdopted) {
  p.ouvrir("a.mat");
  auto* imp = new FenetreImport;
  imp->setWindowTitle("Import");
  w->ajouter_enfant(imp);
  w->importation = imp;
  w->import_ouvert = 1;
  param_mat q = w->etat.parametres;
  q.maillage = 4;
  q.deformation = 1;
  q.photo_aerienne = 1;
  imp->terrain = std::make_unique<Tmatrice>(q);
  imp->degre = 4;
  imp->taille = 17;
  imp->parametres = q;
  imp->commentaire = "Source: a test grid";
  for (int i = 1; i <= 17; ++i)
    for (int j = 1; i + j <= 18; ++j) {
      imp->terrain->hauteurs->ecrire(i, j, i * 10 + j);
      imp->terrain->photo->ecrire(i, j, 0x102030u);
    }
  imp->terrain->dx->ecrire(2, 2, 140);
  imp->importation_faite = 1;
  p.activer(imp);
  imp->requete_fenetre();
  ASSERT_TRUE(w->etat.montagnes[2].type.utilise);
  EXPECT_EQ(w->etat.montagnes[2].type.nom.str(), "#   2 Imported mountain");
  EXPECT_EQ(w->cartes[2]->windowTitle(), "#   2:  Imported mountain");
  EXPECT_EQ(w->noeuds_montagnes[2]->text(0), "Import. 2");
  const Tmatrice& t = *w->etat.montagnes[2].terrain;
  EXPECT_EQ(t.hauteurs->lire(5, 7), 57);
  EXPECT_EQ(t.hauteurs->lire(17, 1), 171);
  ASSERT_NE(t.photo, nullptr);
  EXPECT_EQ(t.photo->lire(3, 3), (Rgb{0x30, 0x20, 0x10}));
  ASSERT_NE(t.dx, nullptr);
  EXPECT_EQ(t.dx->lire(2, 2), 140);
  EXPECT_EQ(w->etat.montagnes[2].type.parametres.texte[0], "Source: a test grid");
  EXPECT_EQ(imp->importation_faite, 0);
  EXPECT_EQ(imp->terrain, nullptr);
  // With five mountains open the next adoption is refused.
  for (const char* n : {"c.mat", "d.mat", "e.mat"}) p.ouvrir(n);
  imp->terrain = std::make_unique<Tmatrice>(q);
  imp->importation_faite = 1;
  p.activer(imp);
  imp->requete_fenetre();
  ASSERT_FALSE(p.ui.entries.empty());
  EXPECT_EQ(p.ui.entries.back().text, "No room for the imported mountain (>5)");
  EXPECT_EQ(p.ui.entries.back().caption, "Mountain ");
  EXPECT_EQ(imp->importation_faite, 0);
  EXPECT_EQ(w->etat.nombre_montagnes, 5);
}

TEST_F(Tables, EnablingTable) {
  // Start-up state: items of the table stay disabled.
  EXPECT_FALSE(w->action(Commande::cascade)->isEnabled());
  EXPECT_FALSE(w->action(Commande::enregistrer)->isEnabled());
  EXPECT_FALSE(w->action(Commande::imprimer)->isEnabled());
  EXPECT_TRUE(w->action(Commande::reglages_imprimante)->isEnabled());
  EXPECT_TRUE(w->action(Commande::parcourir)->isEnabled());
  int m = p.ouvrir("a.mat");
  w->connecter(Commande::voir, [] {});
  w->connecter(Commande::dupliquer_vue, [] {});
  p.activer(w->cartes[m]);
  EXPECT_TRUE(w->action(Commande::cascade)->isEnabled());
  EXPECT_TRUE(w->action(Commande::fermer_montagne)->isEnabled());
  EXPECT_TRUE(w->action(Commande::voir)->isEnabled());
  EXPECT_TRUE(w->action(Commande::supprimer)->isEnabled() || !w->documents.Supprimer);
  EXPECT_TRUE(w->action(Commande::fichier_depart)->isEnabled());
  EXPECT_FALSE(w->action(Commande::dupliquer_vue)->isEnabled());
  EXPECT_FALSE(w->action(Commande::combiner)->isEnabled());
  EXPECT_FALSE(w->action(Commande::explorateur)->isEnabled());  // one node only
  // Items of later windows stay disabled whatever the table says.
  EXPECT_TRUE(w->action(Commande::editer)->isEnabled());
  EXPECT_FALSE(w->action(Commande::elever)->isEnabled());
  EXPECT_TRUE(w->action(Commande::options_vue)->isEnabled());  // needs no document
  EXPECT_FALSE(w->action(Commande::imprimer)->isEnabled());
  FakeVue* v = p.vue(m);
  p.activer(v);
  EXPECT_TRUE(w->action(Commande::imprimer)->isEnabled());
  EXPECT_TRUE(w->action(Commande::dupliquer_vue)->isEnabled());
  EXPECT_TRUE(w->action(Commande::fermer_vue)->isEnabled());
  EXPECT_TRUE(w->action(Commande::explorateur)->isEnabled());
  EXPECT_FALSE(w->action(Commande::informations)->isEnabled());
  EXPECT_FALSE(w->action(Commande::creer_video)->isEnabled());
  EXPECT_FALSE(w->action(Commande::photo)->isEnabled());
  // The explorer button toggles the tree and stays up.
  CtlSpeedButton* b = w->bouton(Commande::explorateur);
  w->action(Commande::explorateur)->trigger();
  EXPECT_TRUE(w->arbre()->isVisible());
  EXPECT_FALSE(b->Pressed());
  w->action(Commande::explorateur)->trigger();
  EXPECT_FALSE(w->arbre()->isVisible());
  EXPECT_FALSE(b->Pressed());
  // Window menu.
  // Window menu: the card keeps its size in both arrangements (its picture
  // and buttons stay whole), the view keeps its size in the cascade, and the
  // tiles neither overlap nor leave the area.
  auto subs = w->mdi()->subWindowList(QMdiArea::CreationOrder);
  ASSERT_EQ(subs.size(), 2);
  ASSERT_NE(dynamic_cast<CarteMontagne*>(subs[0]->widget()), nullptr);
  subs[0]->resize(560, 178);  // a card's size
  const QSize carte = subs[0]->size();
  // Also in the window's opening size with the explorer shown, too narrow
  // for the view beside the card.
  for (const bool explorateur : {false, true}) {
    SCOPED_TRACE(explorateur ? "explorer shown" : "explorer hidden");
    if (explorateur) {
      w->resize(900, 660);
      w->action(Commande::explorateur)->trigger();
      QApplication::processEvents();
      ASSERT_LT(w->mdi()->viewport()->width() - carte.width(), 200);
    }
    w->action(Commande::mosaique)->trigger();
    EXPECT_FALSE(subs[0]->geometry().intersects(subs[1]->geometry()));
    EXPECT_EQ(subs[0]->size(), carte);
    const QRect zone = w->mdi()->viewport()->rect();
    EXPECT_TRUE(zone.contains(subs[1]->geometry()));
  }
  subs[1]->resize(420, 330);
  const QSize vue = subs[1]->size();
  w->action(Commande::cascade)->trigger();
  EXPECT_NE(subs[0]->pos(), subs[1]->pos());
  EXPECT_EQ(subs[0]->size(), carte);
  EXPECT_EQ(subs[1]->size(), vue);
  w->action(Commande::minimiser)->trigger();
  EXPECT_TRUE(subs[0]->isMinimized());
  EXPECT_TRUE(subs[1]->isMinimized());
}

// Ctrl+F6 and Ctrl+Tab go round the child windows in the order they were
// opened, with Shift backwards; each is activated as a click does, and the
// current mountain and view follow. Ctrl+F4 closes the active one.
TEST_F(Tables, ControlF6AndControlTabGoRoundTheChildren) {
  int m1 = p.ouvrir("a.mat");
  int m2 = p.ouvrir("b.mat");
  FakeVue* v = p.vue(m2);
  auto* ed = new FakeEditeur;
  w->ajouter_editeur(ed, m1);
  p.activer(w->cartes[m1]);
  QApplication::setActiveWindow(w);
  struct Pas {
    Qt::Key touche;
    Qt::KeyboardModifiers mod;
    QWidget* enfant;
    int montagne, vue, edition;
  };
  const Qt::KeyboardModifiers ctrl = Qt::ControlModifier, maj = Qt::ControlModifier | Qt::ShiftModifier;
  const Pas pas[] = {{Qt::Key_F6, ctrl, w->cartes[m2], m2, 0, 0},     {Qt::Key_F6, ctrl, v, m2, v->no_vue, 0},
                     {Qt::Key_Tab, ctrl, ed, m1, 0, 1},               {Qt::Key_Tab, ctrl, w->cartes[m1], m1, 0, 0},
                     {Qt::Key_Backtab, maj, ed, m1, 0, 1},            {Qt::Key_F6, maj, v, m2, v->no_vue, 0},
                     {Qt::Key_F4, ctrl, ed, m1, 0, 1}};  // the view closed, the editor opened after it is active
  for (const Pas& k : pas) {
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : w, k.touche, k.mod);
    QApplication::processEvents();
    EXPECT_EQ(w->enfant_actif(), k.enfant);
    EXPECT_EQ(w->etat.montagne_courante, k.montagne);
    EXPECT_EQ(w->etat.vue_courante, k.vue);
    EXPECT_EQ(w->edition_active, k.edition);
  }
  EXPECT_EQ(w->etat.nombre_vues, 0);
}

// The F1 key shows the active child's topic and the finder elsewhere; the
// Index item and button always open the finder.
TEST_F(Tables, F1ShowsTheChildsTopicAndIndexTheFinder) {
  w->activateWindow();
  QApplication::setActiveWindow(w);
  QTest::keyClick(w, Qt::Key_F1);
  ASSERT_NE(w->aide(false), nullptr);
  EXPECT_TRUE(w->aide(false)->OnFinder());
  int m = p.ouvrir("a.mat");
  p.activer(w->cartes[m]);
  QApplication::setActiveWindow(w);
  QTest::keyClick(w, Qt::Key_F1);
  EXPECT_EQ(w->aide(false)->CurrentTopic(), 4006);
  w->action(Commande::index)->trigger();
  EXPECT_TRUE(w->aide(false)->OnFinder());
  w->aide(false)->ShowTopic(5001);
  emit w->bouton(Commande::index)->clicked();
  EXPECT_TRUE(w->aide(false)->OnFinder());
  EXPECT_TRUE(w->action(Commande::index)->shortcut() == QKeySequence(Qt::Key_F1));  // shown in the menu
}

// While a movie is made the program stays open and says why, in a box that
// does not stop the making; once it is over the program closes.
TEST_F(Tables, ClosingWhileAMovieIsMadeSaysWhy) {
  bool fabrication = true;
  w->film_en_fabrication = [&] { return fabrication; };
  EXPECT_FALSE(w->close());
  EXPECT_TRUE(w->isVisible());
  ASSERT_NE(w->refus_fermeture(), nullptr);
  EXPECT_TRUE(w->refus_fermeture()->isVisible());
  EXPECT_EQ(w->refus_fermeture()->windowModality(), Qt::NonModal);
  EXPECT_TRUE(w->refus_fermeture()->text().startsWith("A movie is being made: Quorvel cannot close now."));
  EXPECT_FALSE(w->close());  // a second try shows one box, not two
  EXPECT_EQ(w->findChildren<QMessageBox*>().size(), 1);
  w->refus_fermeture()->close();
  Programme::vider();
  fabrication = false;
  {
    OperationLongue calcul;
    EXPECT_FALSE(w->close());
    ASSERT_NE(w->refus_fermeture(), nullptr);
    EXPECT_TRUE(w->refus_fermeture()->text().startsWith("A long computation is running"));
    w->refus_fermeture()->close();
  }
  EXPECT_TRUE(w->close());
}

// The title bar's close button while the movie's window blocks the main
// window: the same refusal as the window manager's close request; with
// another modal window and no work running, nothing, as for that request.
TEST_F(Tables, TheTitleBarsCloseWhileAMovieIsMadeSaysWhy) {
  bool fabrication = true;
  w->film_en_fabrication = [&] { return fabrication; };
  QDialog fenetre_film;
  fenetre_film.setWindowModality(Qt::ApplicationModal);
  fenetre_film.show();
  w->legende()->CloseButton()->click();
  EXPECT_TRUE(w->isVisible());
  ASSERT_NE(w->refus_fermeture(), nullptr);
  EXPECT_TRUE(w->refus_fermeture()->text().startsWith("A movie is being made: Quorvel cannot close now."));
  w->refus_fermeture()->close();
  Programme::vider();
  fabrication = false;
  w->legende()->CloseButton()->click();
  Programme::vider();
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(w->refus_fermeture(), nullptr);
  fenetre_film.close();
  w->legende()->CloseButton()->click();
  EXPECT_FALSE(w->isVisible());
}

// The window manager's close request is recognised among the X11 events:
// only a WM_PROTOCOLS message to that window whose first word is
// WM_DELETE_WINDOW, whether the server or another client sent it.
TEST(DemandesFermeture, OnlyTheDeleteMessageToThatWindow) {
  constexpr std::uint32_t fenetre = 0x2a00007, protocoles = 301, fermeture = 302, ping = 303;
  auto message = [](std::uint8_t genre, std::uint32_t w, std::uint32_t type, std::uint32_t mot) {
    std::array<std::uint8_t, 32> m{};
    m[0] = genre;
    m[1] = 32;
    std::memcpy(&m[4], &w, 4);
    std::memcpy(&m[8], &type, 4);
    std::memcpy(&m[12], &mot, 4);
    return m;
  };
  EXPECT_TRUE(est_demande_fermeture(message(33, fenetre, protocoles, fermeture).data(), fenetre, protocoles, fermeture));
  EXPECT_TRUE(est_demande_fermeture(message(33 | 0x80, fenetre, protocoles, fermeture).data(), fenetre, protocoles,
                                    fermeture));
  EXPECT_FALSE(est_demande_fermeture(message(33, fenetre, protocoles, ping).data(), fenetre, protocoles, fermeture));
  EXPECT_FALSE(est_demande_fermeture(message(33, fenetre + 1, protocoles, fermeture).data(), fenetre, protocoles,
                                     fermeture));
  EXPECT_FALSE(est_demande_fermeture(message(33, fenetre, ping, fermeture).data(), fenetre, protocoles, fermeture));
  EXPECT_FALSE(est_demande_fermeture(message(2, fenetre, protocoles, fermeture).data(), fenetre, protocoles, fermeture));
  // Off X11 the atoms are unknown (0): nothing is a close request.
  EXPECT_FALSE(est_demande_fermeture(message(33, fenetre, 0, 0).data(), fenetre, 0, 0));
}

TEST_F(Tables, ContextHelpMode) {
  int m = p.ouvrir("a.mat");
  w->documents.FileOpenItemClick = [&] { p.ouverts.push_back("dialog"); };
  w->action(Commande::aide_contextuelle)->trigger();
  EXPECT_EQ(w->aide_contextuelle, 1);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WhatsThisCursor);
  EXPECT_EQ(w->cartes[m]->aide_contextuelle, 1);
  FakeVue* v = p.vue(m);
  EXPECT_EQ(v->aide_contextuelle, 0);  // opened while the mode is on: off in that window
  size_t avant = p.ouverts.size();
  w->action(Commande::ouvrir)->trigger();
  EXPECT_EQ(p.ouverts.size(), avant);
  EXPECT_EQ(w->aide(false)->CurrentTopic(), 5001);
  w->action(Commande::index)->trigger();
  EXPECT_EQ(w->aide_contextuelle, 0);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  w->action(Commande::ouvrir)->trigger();
  EXPECT_EQ(p.ouverts.size(), avant + 1);
}

// In context-help mode F5 and the New button show their topic, in a help
// window owned by the main window (so in front of it) and wholly on the
// screen; no mountain is made.
TEST_F(Tables, ContextHelpShowsTheTopicInFrontOfTheMainWindow) {
  w->activateWindow();
  QApplication::setActiveWindow(w);
  w->Contextuelle();
  const int avant = w->etat.nombre_montagnes;
  QTest::keyClick(w, Qt::Key_F5);
  HelpViewer* h = w->aide(false);
  ASSERT_NE(h, nullptr);
  EXPECT_TRUE(h->isVisible());
  EXPECT_TRUE(h->isWindow());
  EXPECT_EQ(h->parentWidget(), w);
  EXPECT_EQ(h->CurrentTopic(), 5003);
  h->ShowTopic(5001);
  emit w->bouton(Commande::nouvelle_montagne)->clicked();
  EXPECT_EQ(h->CurrentTopic(), 5003);
  EXPECT_EQ(w->etat.nombre_montagnes, avant);
  const QRect zone = h->screen()->availableGeometry();
  EXPECT_TRUE(zone.contains(h->frameGeometry())) << h->frameGeometry().x() << "," << h->frameGeometry().y();
  w->Contextuelle();
}

// Help asked for while a modal dialog runs belongs to that dialog: usable
// beside it, in front of it, on the screen, and closed with it.
TEST_F(Tables, HelpFromAModalDialogIsInFrontOfIt) {
  auto* d = new QDialog(w);
  d->setWindowModality(Qt::ApplicationModal);
  d->resize(300, 200);
  d->move(700, 500);  // near the bottom right corner
  d->show();
  ASSERT_EQ(QApplication::activeModalWidget(), d);
  w->afficher_aide(5010);
  auto* h = d->findChild<HelpViewer*>();
  ASSERT_NE(h, nullptr);
  EXPECT_TRUE(h->isVisible());
  EXPECT_TRUE(h->isWindow());
  EXPECT_EQ(h->CurrentTopic(), 5010);
  const QRect zone = h->screen()->availableGeometry();
  EXPECT_TRUE(zone.contains(h->frameGeometry())) << "help at " << h->frameGeometry().x() << ","
                                                   << h->frameGeometry().y() << " " << h->frameGeometry().width()
                                                   << "x" << h->frameGeometry().height() << " on " << zone.width()
                                                   << "x" << zone.height();
  delete d;
}

// Back walks the pages shown in reverse order, through topics, the contents
// and the finder; Contents and Index are always one click away.
TEST(HelpViewer, BackContentsAndIndexButtons) {
  HelpViewer h;
  h.ShowTopic(5006);
  EXPECT_EQ(h.CurrentTopic(), 5006);
  EXPECT_TRUE(h.Text().contains("See"));
  EXPECT_FALSE(h.CanGoBack());
  EXPECT_FALSE(h.BackButton()->isEnabled());
  h.ContentsButton()->click();
  EXPECT_TRUE(h.OnContents());
  EXPECT_FALSE(h.ContentsButton()->isEnabled());
  EXPECT_TRUE(h.BackButton()->isEnabled());
  h.ShowTopic(4007);
  h.ShowTopic(4007);  // the same page again is not a step
  h.IndexButton()->click();
  EXPECT_TRUE(h.OnFinder());
  EXPECT_FALSE(h.IndexButton()->isEnabled());
  h.BackButton()->click();
  EXPECT_EQ(h.CurrentTopic(), 4007);
  h.Back();
  EXPECT_TRUE(h.OnContents());
  h.Back();
  EXPECT_EQ(h.CurrentTopic(), 5006);
  EXPECT_FALSE(h.BackButton()->isEnabled());
  h.Back();  // nothing before the first page
  EXPECT_EQ(h.CurrentTopic(), 5006);
  // A new reading after the viewer was closed has no history.
  h.ShowTopic(5001);
  h.close();
  h.ShowTopic(5002);
  EXPECT_FALSE(h.CanGoBack());
}

// Escape closes the help window, from the page shown as from the finder's field.
TEST(HelpViewer, EscapeCloses) {
  HelpViewer h;
  h.ShowTopic(5006);
  h.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&h));
  QTest::keyClick(h.findChild<QTextBrowser*>(), Qt::Key_Escape);
  EXPECT_FALSE(h.isVisible());
  h.ShowFinder();
  h.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&h));
  QTest::keyClicks(h.SearchField(), "cod");
  QTest::keyClick(h.SearchField(), Qt::Key_Escape);
  EXPECT_FALSE(h.isVisible());
}

// The movie codecs are explained in one topic that the finder finds by every
// codec's name, and that the video topics lead to.
TEST(HelpViewer, CodecTopicIsFoundByTheCodecNames) {
  for (const char* mot : {"cinepak", "mpeg", "indeo", "codec", "VCD", "DVD"}) {
    const std::vector<int> n = find_help_topics(mot);
    ASSERT_FALSE(n.empty()) << mot;
    EXPECT_NE(std::find(n.begin(), n.end(), 4018), n.end()) << mot;
  }
  EXPECT_EQ(find_help_topics("codec").front(), 4018);  // found in its title first
  const QString texte = QString::fromUtf8(help_topics().at(4018).text);
  for (const char* fait : {"352 x 240", "29.97", "480 x 480", "720 x 480", "NTSC", "640 x 480", "multiples of 4",
                           "proportions", "30 frames a second", "256 colours", "Windows Media Player"})
    EXPECT_TRUE(texte.contains(fait)) << fait;
  for (int sujet : {5012, 5013})
    EXPECT_TRUE(QString::fromUtf8(help_topics().at(sujet).text).contains("href=\"4018\"")) << sujet;
}

// The contents list every topic under its heading; an unknown number shows
// them with a line naming it.
TEST(HelpViewer, ContentsAndUnknownNumbers) {
  HelpViewer h;
  h.ShowContents();
  const QString t = h.Text();
  for (const char* g : {"Getting started", "Commands of the main window", "Windows", "Mountain dialogs",
                        "View options", "Map editor"})
    EXPECT_TRUE(t.contains(g)) << g;
  for (const auto& [n, topic] : help_topics()) EXPECT_TRUE(t.contains(QString::fromUtf8(topic.title))) << n;
  EXPECT_STREQ(help_group(4040), "Getting started");
  EXPECT_STREQ(help_group(5014), "Getting started");
  EXPECT_STREQ(help_group(5006), "Commands of the main window");
  EXPECT_STREQ(help_group(4016), "Commands of the main window");
  EXPECT_STREQ(help_group(5010), "Windows");
  EXPECT_STREQ(help_group(4025), "Map editor");
  EXPECT_STREQ(help_group(310), "View options");
  EXPECT_STREQ(help_group(252), "Mountain dialogs");
  h.ShowTopic(777);
  EXPECT_EQ(h.CurrentTopic(), 0);
  EXPECT_TRUE(h.Text().contains("777"));
  EXPECT_TRUE(h.Text().contains("Contents"));
  for (int n : {201, 202, 206, 207, 252, 253, 302, 304, 306, 310, 311, 312, 4006, 4007, 4008, 4009, 4016, 4017,
                4021, 4022, 4023, 4024, 4025, 4028, 4029, 4030, 4031, 4032, 4033, 4040, 4042, 4043, 4100, 5001, 5002,
                5003, 5004, 5005, 5006, 5007, 5008, 5009, 5010, 5011, 5012, 5013})
    EXPECT_EQ(help_topics().count(n), 1u) << n;
}

// Every link of a topic leads to a topic, and every topic says enough to be
// of use (a bare caption repeated is not a topic).
TEST(HelpViewer, LinksLeadToTopicsAndTopicsExplain) {
  const QRegularExpression lien("<a href=\"([^\"]*)\">");
  HelpViewer h;
  for (const auto& [n, t] : help_topics()) {
    const QString html = QString::fromUtf8(t.text);
    for (auto it = lien.globalMatch(html); it.hasNext();) {
      const QString cible = it.next().captured(1);
      bool ok = false;
      const int m = cible.toInt(&ok);
      EXPECT_TRUE(ok && help_topics().count(m)) << n << " links to " << cible.toStdString();
    }
    h.ShowTopic(n);
    EXPECT_EQ(h.CurrentTopic(), n);
    EXPECT_GE(h.Text().size(), 200) << n << " " << t.title;
  }
  // A link followed in the browser shows its topic, and Back returns.
  h.ShowTopic(4040);
  const QString html = QString::fromUtf8(help_topics().at(4040).text);
  const auto premier = lien.match(html);
  ASSERT_TRUE(premier.hasMatch());
  auto* b = h.findChild<QTextBrowser*>();
  ASSERT_NE(b, nullptr);
  emit b->anchorClicked(QUrl(premier.captured(1)));
  EXPECT_EQ(h.CurrentTopic(), premier.captured(1).toInt());
  h.Back();
  EXPECT_EQ(h.CurrentTopic(), 4040);
}

// The finder lists every topic by title; the search text keeps the topics
// whose title holds it, then those whose text uses it; Enter or Display
// opens the selected one.
TEST(HelpViewer, FinderSearchesTitlesThenTexts) {
  HelpViewer h;
  h.ShowFinder();
  EXPECT_EQ(h.FinderTitles().size(), static_cast<qsizetype>(help_topics().size()));
  QStringList tous = h.FinderTitles();
  QStringList tries = tous;
  std::sort(tries.begin(), tries.end(), [](const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) < 0;
  });
  EXPECT_EQ(tous, tries);
  QTest::keyClicks(h.SearchField(), "smooth");
  const QStringList trouves = h.FinderTitles();
  ASSERT_FALSE(trouves.isEmpty());
  EXPECT_EQ(trouves.front(), "Smoothing");
  std::vector<int> n = find_help_topics("SMOOTH");
  ASSERT_EQ(static_cast<qsizetype>(n.size()), trouves.size());
  bool texte = false;  // once past the titles, only texts hold the word
  for (int k : n) {
    const bool titre = QString::fromUtf8(help_topics().at(k).title).contains("smooth", Qt::CaseInsensitive);
    EXPECT_FALSE(texte && titre) << k;
    texte = texte || !titre;
  }
  EXPECT_TRUE(texte) << "the word is used in other topics' texts";
  QTest::keyClick(h.SearchField(), Qt::Key_Return);
  EXPECT_EQ(h.CurrentTopic(), 4025);
  h.Back();
  EXPECT_TRUE(h.OnFinder());
  h.SetFilter("no topic has this");
  EXPECT_TRUE(h.FinderTitles().isEmpty());
  h.DisplayFound();
  EXPECT_TRUE(h.OnFinder());
}

TEST(AboutBox, CaptionOkAndWebLabel) {
  TData data;
  QString ouvert;
  TAboutBox box(nullptr, [&](const QString& a) {
    ouvert = a;
    return true;
  }, "https://quorvel.invalid/");
  EXPECT_EQ(box.windowTitle(), "Quorvel v 3.1");
  EXPECT_EQ(box.Logo()->size(), QSize(45, 45));
  EXPECT_EQ(box.Title()->size(), QSize(234, 46));  // not sized to its text
  box.WebLabel()->Click();
  EXPECT_EQ(ouvert, "https://quorvel.invalid/");
  box.show();
  QMetaObject::invokeMethod(&box, [&] { box.OkButton()->click(); }, Qt::QueuedConnection);
  EXPECT_EQ(box.exec(), 1);
  TAboutBox failing(nullptr, [](const QString&) { return false; }, "https://quorvel.invalid/");
  failing.WebLabel()->Click();
  EXPECT_FALSE(failing.WebLabel()->isEnabled());
  TAboutBox plain(nullptr, {}, "");
  EXPECT_TRUE(plain.WebLabel()->isHidden());
}

// The box is frameless and carries its own caption strip above the content.
TEST(AboutBox, CaptionStripAndItsCloseButton) {
  TData data;
  TAboutBox box(nullptr, {}, "");
  EXPECT_TRUE(box.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(box.size(), QSize(330, 228));
  components::TRxGradientCaption* c = box.Caption();
  ASSERT_TRUE(c->Effective());
  EXPECT_EQ(c->FormCaption(), "Quorvel v 3.1");
  box.show();
  c->SetWindowActive(true);
  const QImage bar = c->Bar();
  ASSERT_EQ(bar.height(), 18);
  EXPECT_EQ(bar.pixel(0, 0) & 0xFFFFFF, 0x008000u);
  EXPECT_EQ(bar.pixel(c->CaptionRect().right(), 0) & 0xFFFFFF, 0x1084D0u);
  bool yellow = false;
  for (int y = 0; y < 18; ++y)
    for (int x = 0; x < 150; ++x) yellow = yellow || (bar.pixel(x, y) & 0xFFFFFF) == 0xFFFF00u;
  EXPECT_TRUE(yellow);
  EXPECT_EQ(box.OkButton()->mapTo(&box, QPoint(0, 0)), QPoint(240, 190));
  QMetaObject::invokeMethod(&box, [&] { c->CloseButton()->click(); }, Qt::QueuedConnection);
  EXPECT_EQ(box.exec(), 0);
}

// The splash's window goes on the screen first and is filled in later: the
// completed box is the whole box, drawn only once it is complete.
TEST(AboutBox, WindowFirstThenItsContentAsTheWholeBox) {
  TData data;
  TAboutBox whole(nullptr, {}, "");
  TAboutBox splash(nullptr, {}, "", false);
  EXPECT_FALSE(splash.Completed());
  EXPECT_EQ(splash.Caption(), nullptr);
  EXPECT_EQ(splash.OkButton(), nullptr);
  ASSERT_NE(splash.Shadow(), nullptr);
  EXPECT_EQ(splash.size(), whole.size());
  EXPECT_EQ(splash.windowTitle(), whole.windowTitle());
  EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_FALSE(splash.updatesEnabled());
  splash.show();
  QApplication::processEvents();
  splash.Complete();
  EXPECT_TRUE(splash.Completed());
  EXPECT_TRUE(splash.updatesEnabled());
  ASSERT_NE(splash.Caption(), nullptr);
  EXPECT_TRUE(splash.Caption()->Effective());
  EXPECT_TRUE(splash.Caption()->isVisible());
  EXPECT_TRUE(splash.OkButton()->isVisible());
  EXPECT_TRUE(splash.Title()->isVisible());
  EXPECT_TRUE(splash.WebLabel()->isHidden());
  EXPECT_EQ(splash.Shadow()->Shadow().Style(), whole.Shadow()->Shadow().Style());
  // Completing again changes nothing.
  auto* caption = splash.Caption();
  splash.Complete();
  EXPECT_EQ(splash.Caption(), caption);
  // Drawn, it is the whole box drawn.
  whole.show();
  QApplication::processEvents();
  splash.Caption()->SetWindowActive(true);
  whole.Caption()->SetWindowActive(true);
  EXPECT_EQ(splash.grab().toImage(), whole.grab().toImage());
}

// The main window draws its title bar where the window manager can move a
// frameless window; offscreen it keeps the desktop's and the caption only names it.
TEST(MainWindowCaption, DrawnWhereTheWindowManagerMovesTheWindowElseTheDesktopsTitleBar) {
  TData data;
  {
    TBasewindow w(&data);
    EXPECT_FALSE(w.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_FALSE(w.legende()->Effective());
    EXPECT_EQ(w.windowTitle(), "Quorvel v3.1");
    EXPECT_EQ(w.contentsMargins(), QMargins());
  }
  components::TRxGradientCaption::SetSystemMoveForTest(1);
  {
    TBasewindow w(&data);
    components::TRxGradientCaption* c = w.legende();
    EXPECT_TRUE(w.windowFlags() & Qt::FramelessWindowHint);
    ASSERT_TRUE(c->Effective());
    EXPECT_EQ(c->FormCaption(), "Quorvel v3.1");
    EXPECT_EQ(c->StartColor(), clGreen);
    EXPECT_EQ(c->CaptionFont().Color, clYellow);
    EXPECT_TRUE(c->CaptionFont().Font.bold());
    EXPECT_EQ(c->CaptionFont().Font.family(), "Comic Sans MS");
    EXPECT_FALSE(c->DefaultFont());
    EXPECT_EQ(c->FontInactiveColor(), clInactiveCaption);
    ASSERT_NE(c->PopupMenu(), nullptr);
    QStringList textes;
    for (QAction* a : c->PopupMenu()->actions()) textes << a->text();
    EXPECT_EQ(textes, QStringList({"&Restore", "&Move", "&Size", "Mi&nimize", "Ma&ximize", "", "&Close"}));
    w.resize(800, 600);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(w.contentsMargins(), QMargins(4, 22, 4, 4));
    EXPECT_EQ(c->geometry(), QRect(4, 4, 792, 18));
    EXPECT_EQ(w.menuBar()->geometry().topLeft(), QPoint(4, 22));
    EXPECT_FALSE(c->MinButton()->isHidden());
    EXPECT_FALSE(c->MaxButton()->isHidden());
    EXPECT_FALSE(c->CloseButton()->isHidden());
    // Move and Size serve a window at its own size, as Maximize does.
    emit c->PopupMenu()->aboutToShow();
    EXPECT_TRUE(c->PopupMenu()->actions()[1]->isEnabled());
    EXPECT_FALSE(c->PopupMenu()->actions()[0]->isEnabled());
    w.showMaximized();
    emit c->PopupMenu()->aboutToShow();
    EXPECT_FALSE(c->PopupMenu()->actions()[1]->isEnabled());
    EXPECT_FALSE(c->PopupMenu()->actions()[2]->isEnabled());
    EXPECT_TRUE(c->PopupMenu()->actions()[0]->isEnabled());
  }
  components::TRxGradientCaption::SetSystemMoveForTest(-1);
}

TEST(ImageData, ListsAndSizes) {
  TData d;
  EXPECT_EQ(TData::Instance(), &d);
  ASSERT_EQ(d.ImageList.Count(), 4);
  const char* noms[4] = {"Petites icones", "Grandes icones", "Moyennes icones ", "Grandes images"};
  const QSize tailles[4] = {{32, 16}, {40, 20}, {36, 18}, {32, 32}};
  const int nombres[4] = {23, 9, 4, 2};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(d.ImageList.GetItem(i)->Description, noms[i]);
    EXPECT_EQ(QSize(d.ImageList.GetDimension(i, 0), d.ImageList.GetDimension(i, 1)), tailles[i]);
    ASSERT_EQ(d.ImageList.GetImageCount(i), nombres[i]);
    for (int k = 0; k < nombres[i]; ++k) EXPECT_EQ(d.ImageList.GetImage(i, k).size(), tailles[i]);
  }
  EXPECT_EQ(d.BitmapList.Count(), 6);
  EXPECT_EQ(d.GlyphsList.Count(), 1);
  EXPECT_EQ(d.GlyphsList.GetImage(0, 0).width(), 6 * d.GlyphsList.GetImage(0, 0).height());
  QSize logo = d.BitmapList.GetImage(images::kLogo, 0).size();
  EXPECT_GE(logo.width(), 41);
  EXPECT_LE(logo.width(), 49);
  EXPECT_EQ(d.SmallImages().size(), QSize(128, 16));
  EXPECT_EQ(QColor(d.SmallImages().pixel(0, 0)), QColor(128, 128, 0));
}

// The committed list files hold exactly what the painters draw: a painter
// changed without running `ctlpack pictures` again fails here.
TEST(ImageData, ListFilesMatchThePainters) {
  TData d;
  CtlImageList images;
  CtlBitmapList bitmaps, glyphs;
  pictures::FillLists(images, bitmaps, glyphs);
  ASSERT_EQ(d.ImageList.Count(), images.Count());
  for (int l = 0; l < images.Count(); ++l) {
    ASSERT_EQ(d.ImageList.GetImageCount(l), images.GetImageCount(l));
    EXPECT_TRUE(d.ImageList.GetItem(l)->Compressed);
    for (int k = 0; k < images.GetImageCount(l); ++k)
      ASSERT_EQ(d.ImageList.GetImage(l, k), images.GetImage(l, k)) << l << ", " << k;
  }
  ASSERT_EQ(d.BitmapList.Count(), bitmaps.Count());
  for (int l = 0; l < bitmaps.Count(); ++l) {
    EXPECT_EQ(d.BitmapList.GetItem(l)->Description, bitmaps.GetItem(l)->Description);
    EXPECT_EQ(d.BitmapList.GetImage(l, 0), bitmaps.GetImage(l, 0)) << l;
  }
  EXPECT_EQ(d.GlyphsList.GetImage(0, 0), glyphs.GetImage(0, 0));
  TData vide(false);
  EXPECT_EQ(vide.ImageList.Count(), 0);
  EXPECT_EQ(vide.BitmapList.Count(), 0);
}

// The program's icon is the logo of the large images; the main window shows
// it, and so do the windows of its documents and its dialogs.
TEST(ImageData, TheProgramIconIsTheLogo) {
  Programme p;
  ASSERT_TRUE(p.demarrer(options_exemple()));
  const QImage logo = p.data.ImageList.GetImage(images::kLargeImages, 0);
  const QIcon icone = p.data.ProgramIcon();
  ASSERT_FALSE(icone.isNull());
  EXPECT_EQ(icone.pixmap(32, 32).toImage().convertToFormat(QImage::Format_RGB32), logo.convertToFormat(QImage::Format_RGB32));
  EXPECT_EQ(icone.availableSizes(), (QList<QSize>{{32, 32}, {16, 16}}));
  auto meme = [&](const QIcon& i) { return i.pixmap(32, 32).toImage() == icone.pixmap(32, 32).toImage(); };
  EXPECT_TRUE(meme(p.w->windowIcon()));
  const int m = p.ouvrir("a.mat");
  ASSERT_NE(p.w->cartes[m], nullptr);
  EXPECT_TRUE(meme(p.w->cartes[m]->windowIcon()));
  QDialog dialogue(p.w.get());
  EXPECT_TRUE(meme(dialogue.windowIcon()));
  EXPECT_TRUE(TData(false).ProgramIcon().isNull());
}

TEST(ImageData, WithoutPicturesTheMainWindowStillStartsAndPaints) {
  Programme p;
  ecrire_tout(p.chemin("montagne.ini"), options_exemple());
  TData vide(false);
  TBasewindow w(&vide);
  ReglagesDemarrage r;
  r.executable = p.chemin("quorvel");
  r.inscriptible = [](const QString&) { return true; };
  ASSERT_TRUE(w.FormCreate(r));
  w.show();
  QImage shot = w.grab().toImage();
  EXPECT_FALSE(shot.isNull());
  EXPECT_TRUE(w.fond()->IsEmpty());
  w.Timer2Timer();
}

TEST_F(Tables, DeferredWorkWaitsForTheLongOperation) {
  int m = p.ouvrir("a.mat");
  FakeVue* v = p.vue(m);
  p.activer(v);
  w->rafraichir_vue = nullptr;
  w->rafraichir_demande = 1;
  w->occupe = 1;
  w->image_brute = 1;
  {
    OperationLongue longue;
    w->TimerthreadTimer();
    EXPECT_TRUE(w->timerthread().isActive());  // re-armed, nothing done
    EXPECT_EQ(v->rendus, 0);
    EXPECT_EQ(w->rafraichir_demande, 1);
  }
  w->TimerthreadTimer();
  EXPECT_FALSE(w->timerthread().isActive());
  EXPECT_EQ(v->rendus, 1);
  EXPECT_EQ(v->image_brute, 1);
  EXPECT_EQ(w->rafraichir_demande, 0);
  EXPECT_EQ(w->occupe, 0);
}

TEST_F(Tables, ExplorerButtonShowsItsTopicInContextHelp) {
  int m = p.ouvrir("a.mat");
  p.vue(m);
  p.activer(w->cartes[m]);
  w->Contextuelle();
  ASSERT_TRUE(w->bouton(Commande::explorateur)->isEnabled());
  emit w->bouton(Commande::explorateur)->clicked();
  EXPECT_FALSE(w->arbre()->isVisible());
  EXPECT_EQ(w->aide(false)->CurrentTopic(), 5011);
  w->Contextuelle();
  emit w->bouton(Commande::explorateur)->clicked();
  EXPECT_TRUE(w->arbre()->isVisible());
}
