#include <gtest/gtest.h>

#include <QDialog>
#include <QScreen>
#include <QTest>

#include <QTreeWidget>

#include "model/presse_papier.h"
#include "app/pictures/peintures.h"
#include "app/aide.h"
#include "app/apropos.h"
#include "components/legende.h"
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
  w->action("Close the &active mountain")->trigger();
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
  w->action("Close the &active mountain")->trigger();
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
  w->action("Close all the mountains")->trigger();
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
  EXPECT_FALSE(w->action("Close the &active mountain")->isEnabled());
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
  w->connecter("&Duplicate the mountain", [&] { ++duplications; });
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
  w->connecter("Duplicate the view", [&] { ++copies; });
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
  EXPECT_FALSE(w->action("&Tile")->isEnabled());
  EXPECT_FALSE(w->action("&Save")->isEnabled());
  EXPECT_FALSE(w->action("Print ...")->isEnabled());
  EXPECT_TRUE(w->action("Printer adjustments ...")->isEnabled());
  EXPECT_TRUE(w->action("Scan ...")->isEnabled());
  int m = p.ouvrir("a.mat");
  w->connecter("&see", [] {});
  w->connecter("Duplicate the view", [] {});
  p.activer(w->cartes[m]);
  EXPECT_TRUE(w->action("&Tile")->isEnabled());
  EXPECT_TRUE(w->action("Close the &active mountain")->isEnabled());
  EXPECT_TRUE(w->action("&see")->isEnabled());
  EXPECT_TRUE(w->action("Remove")->isEnabled() || !w->documents.Supprimer);
  EXPECT_TRUE(w->action("starting file")->isEnabled());
  EXPECT_FALSE(w->action("Duplicate the view")->isEnabled());
  EXPECT_FALSE(w->action("Combine two mountains")->isEnabled());
  EXPECT_FALSE(w->action("&Explorer")->isEnabled());  // one node only
  // Items of later windows stay disabled whatever the table says.
  EXPECT_TRUE(w->action("&Edit the active mountain")->isEnabled());
  EXPECT_FALSE(w->action("&Lift ...")->isEnabled());
  EXPECT_TRUE(w->action("View options ...")->isEnabled());  // needs no document
  EXPECT_FALSE(w->action("Print ...")->isEnabled());
  FakeVue* v = p.vue(m);
  p.activer(v);
  EXPECT_TRUE(w->action("Print ...")->isEnabled());
  EXPECT_TRUE(w->action("Duplicate the view")->isEnabled());
  EXPECT_TRUE(w->action("Close the active view")->isEnabled());
  EXPECT_TRUE(w->action("&Explorer")->isEnabled());
  EXPECT_FALSE(w->action("Informations")->isEnabled());
  EXPECT_FALSE(w->action("Create Video")->isEnabled());
  EXPECT_FALSE(w->action(" - Picture")->isEnabled());
  // The explorer button toggles the tree and stays up.
  CtlSpeedButton* b = w->bouton("Explorer");
  w->action("&Explorer")->trigger();
  EXPECT_TRUE(w->arbre()->isVisible());
  EXPECT_FALSE(b->Pressed());
  w->action("&Explorer")->trigger();
  EXPECT_FALSE(w->arbre()->isVisible());
  EXPECT_FALSE(b->Pressed());
  // Window menu.
  // Window menu: the card keeps its size in both arrangements (its picture
  // and buttons stay whole), the view keeps its size in the cascade, and the
  // tiles neither overlap nor leave the area.
  auto subs = w->mdi()->subWindowList(QMdiArea::CreationOrder);
  ASSERT_EQ(subs.size(), 2);
  ASSERT_NE(dynamic_cast<CarteMontagne*>(subs[0]->widget()), nullptr);
  const QSize carte = subs[0]->size();
  w->action("&Mosaic")->trigger();
  EXPECT_FALSE(subs[0]->geometry().intersects(subs[1]->geometry()));
  EXPECT_EQ(subs[0]->size(), carte);
  const QRect zone = w->mdi()->viewport()->rect();
  EXPECT_TRUE(zone.contains(subs[1]->geometry()));
  subs[1]->resize(420, 330);
  const QSize vue = subs[1]->size();
  w->action("&Tile")->trigger();
  EXPECT_NE(subs[0]->pos(), subs[1]->pos());
  EXPECT_EQ(subs[0]->size(), carte);
  EXPECT_EQ(subs[1]->size(), vue);
  w->action("&Minimize all ")->trigger();
  EXPECT_TRUE(subs[0]->isMinimized());
  EXPECT_TRUE(subs[1]->isMinimized());
}

TEST_F(Tables, ContextHelpMode) {
  int m = p.ouvrir("a.mat");
  w->documents.FileOpenItemClick = [&] { p.ouverts.push_back("dialog"); };
  w->action("Contextual Help")->trigger();
  EXPECT_EQ(w->aide_contextuelle, 1);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WhatsThisCursor);
  EXPECT_EQ(w->cartes[m]->aide_contextuelle, 1);
  FakeVue* v = p.vue(m);
  EXPECT_EQ(v->aide_contextuelle, 0);  // opened while the mode is on: off in that window
  size_t avant = p.ouverts.size();
  w->action("&Open ...")->trigger();
  EXPECT_EQ(p.ouverts.size(), avant);
  EXPECT_EQ(w->aide(false)->CurrentTopic(), 5001);
  w->action("Index")->trigger();
  EXPECT_EQ(w->aide_contextuelle, 0);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  w->action("&Open ...")->trigger();
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
  emit w->bouton("New")->clicked();
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

TEST(HelpViewer, TopicsFinderAndUnknownNumbers) {
  HelpViewer h;
  h.ShowTopic(5006);
  EXPECT_EQ(h.CurrentTopic(), 5006);
  EXPECT_TRUE(h.Text().contains("See"));
  EXPECT_EQ(h.FinderTitles().size(), static_cast<qsizetype>(help_topics().size()));
  h.SetFilter("view");
  EXPECT_LT(h.FinderTitles().size(), static_cast<qsizetype>(help_topics().size()));
  h.ShowTopic(777);
  EXPECT_EQ(h.CurrentTopic(), 0);
  EXPECT_TRUE(h.Text().contains("777"));
  EXPECT_TRUE(h.Text().contains("Contents"));
  for (int n : {252, 253, 4006, 4007, 4016, 4040, 4100, 5001, 5002, 5003, 5004, 5005, 5006, 5007, 5008, 5009, 5010,
                5011, 5012, 5013})
    EXPECT_EQ(help_topics().count(n), 1u) << n;
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
  EXPECT_EQ(bar.pixel(c->CaptionRect().right(), 0) & 0xFFFFFF, 0x000080u);
  bool yellow = false;
  for (int y = 0; y < 18; ++y)
    for (int x = 0; x < 150; ++x) yellow = yellow || (bar.pixel(x, y) & 0xFFFFFF) == 0xFFFF00u;
  EXPECT_TRUE(yellow);
  EXPECT_EQ(box.OkButton()->mapTo(&box, QPoint(0, 0)), QPoint(240, 190));
  QMetaObject::invokeMethod(&box, [&] { c->CloseButton()->click(); }, Qt::QueuedConnection);
  EXPECT_EQ(box.exec(), 0);
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
  ASSERT_TRUE(w->bouton("Explorer")->isEnabled());
  emit w->bouton("Explorer")->clicked();
  EXPECT_FALSE(w->arbre()->isVisible());
  EXPECT_EQ(w->aide(false)->CurrentTopic(), 5011);
  w->Contextuelle();
  emit w->bouton("Explorer")->clicked();
  EXPECT_TRUE(w->arbre()->isVisible());
}
