// The mountain card, the view window, the statistics dialog and the Mountain
// and View commands, driven through the real main window.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTest>
#include <QTreeWidget>
#include <functional>
#include <optional>
#include <set>
#include <tuple>

#include "app/aide.h"
#include "app/carte.h"
#include "controls/panelfill.h"
#include "controls/checkbox.h"
#include "controls/shapebutton.h"
#include "controls/speedbutton.h"
#include "app/commandes_montagne.h"
#include "app/commandes_impression.h"
#include "app/impression.h"
#include "app/informations.h"
#include "app/vue.h"
#include "platform/arrondi.h"
#include "fenetres/rendu.h"
#include "tests/support/rendus.h"
#include "render/bmp.h"
#include "tests/app/atelier.h"
#include "app/commandes_options_vue.h"
#include "dialogs/options_vue.h"
#include "render/jpeg.h"
#include <QDir>
#include <QScrollArea>
#include <QScrollBar>
#include <QRadioButton>
#include <QRegularExpression>

namespace {

std::uint64_t empreinte(const Tmatrice& t) {
  std::uint64_t h = 1469598103934665603ull;
  for (int i = 1; i <= t.n; ++i)
    for (int j = 1; i + j <= t.n + 1; ++j) h = (h ^ static_cast<std::uint32_t>(t.hauteurs->lire(i, j))) * 1099511628211ull;
  return h;
}

int couleurs(const render::Bitmap& b) {
  std::set<std::uint32_t> c(b.pixels().begin(), b.pixels().end());
  return static_cast<int>(c.size());
}

}  // namespace

TEST(CommandesMontagne, NewMountainsTakeTheLowestFreeSlotAndAFullTableRefuses) {
  Atelier a;
  a.commande(Commande::nouvelle_montagne);
  a.commande(Commande::nouvelle_montagne);
  auto& e = a.w->etat;
  EXPECT_EQ(e.montagnes[1].type.nom.str(), "New #  1");
  EXPECT_EQ(e.montagnes[2].type.nom.str(), "New #  2");
  EXPECT_EQ(a.carte(1)->windowTitle(), "#  1:  New ");
  EXPECT_EQ(a.carte(2)->windowTitle(), "#  2:  New ");
  EXPECT_EQ(a.carte(1)->sous_fenetre()->y(), 90);
  EXPECT_EQ(a.carte(2)->sous_fenetre()->y(), 160);
  EXPECT_EQ(a.w->arbre()->topLevelItemCount(), 2);
  EXPECT_EQ(e.montagnes[1].type.parametres.cle, e.montagnes[1].terrain->cle);
  a.commande(Commande::nouvelle_montagne);
  a.w->activer(a.carte(1));
  a.commande(Commande::fermer_montagne);
  Programme::vider();
  EXPECT_FALSE(e.montagnes[1].type.utilise);
  a.commande(Commande::nouvelle_montagne);
  EXPECT_TRUE(e.montagnes[1].type.utilise);
  EXPECT_EQ(e.montagnes[1].type.nom.str(), "New #  1");
  a.commande(Commande::nouvelle_montagne);
  a.commande(Commande::nouvelle_montagne);
  ASSERT_EQ(e.nombre_montagnes, 5);
  a.ui.entries.clear();
  a.commande(Commande::nouvelle_montagne);
  EXPECT_EQ(e.nombre_montagnes, 5);
  ASSERT_EQ(a.ui.entries.size(), 1u);
  EXPECT_EQ(a.ui.entries[0].caption, "File");
  EXPECT_EQ(a.carte(5)->sous_fenetre()->y(), 370);
}

TEST(CommandesMontagne, ACancelledGenerationKeepsTheHeightsAndPlacesNoTrees) {
  Atelier a(9);
  a.w->etat.parametres.couches[0].annulee = 0;
  a.w->etat.parametres.couches[0].nombre = 50;
  QTimer::singleShot(0, [&] { platform::post(a.w->handle(), platform::WM_CANCEL); });
  a.commande(Commande::nouvelle_montagne);
  const Tmatrice& t = *a.w->etat.montagnes[1].terrain;
  int arbres = 0;
  for (int k = 0; k < t.nombre_elements; ++k)
    if (t.liste_type[k] > TYPE_ARBRE && t.liste_type[k] < TYPE_SOL) ++arbres;
  EXPECT_EQ(arbres, 0);
  EXPECT_TRUE(a.w->etat.montagnes[1].type.utilise);
}

TEST(CarteMontagne, TextsOfTheCard) {
  EXPECT_EQ(texte_maillage(7, true, 2), "-   Mesh size=7  Horizontal Distorsion   ( 2  Relief=s ) ");
  EXPECT_EQ(texte_maillage(5, false, 1), "-   Mesh size=5   ( 1  Relief= ) ");
  EXPECT_EQ(texte_maillage(5, false, 0), "-   Mesh size=5");
  const QDateTime d(QDate(2024, 3, 5), QTime(14, 7));
  EXPECT_EQ(texte_date(d), "March 5, 2024, Tue");
  EXPECT_EQ(texte_heure(d), "02:07 pm");
  EXPECT_EQ(texte_heure(QDateTime(QDate(2024, 3, 5), QTime(0, 30))), "12:30 am");
  EXPECT_EQ(texte_heure(QDateTime(QDate(2024, 3, 5), QTime(12, 0))), "12:00 pm");

  TMatricewindow c;
  c.parametres().maillage = 6;
  c.parametres().photo_aerienne = 1;
  c.parametres().texte[0] = "first";
  c.parametres().texte[1] = "second caf\xE9";  // documents hold Latin-1
  c.initialiser_fiche(0, true, QDateTime(QDate(2024, 3, 5), QTime(14, 7)).toSecsSinceEpoch());
  EXPECT_EQ(c.texte_etat, "   File written on March 5, 2024, Tue at 02:07 pm");
  EXPECT_EQ(c.Memo1->toPlainText(), QString::fromUtf8("first\nsecond caf\u00e9"));
  EXPECT_TRUE(c.checkbox_photo->Checked());
  EXPECT_EQ(c.modifie, 0);  // set-up raises no change
  c.show();
  QTest::mouseClick(c.checkbox_photo, Qt::LeftButton, {}, QPoint(5, 8));
  EXPECT_EQ(c.modifie, 1);
  EXPECT_EQ(c.parametres().photo_aerienne, 0);
  c.initialiser_fiche(0, false, 0);
  EXPECT_EQ(c.texte_etat, "       New mountain");
  EXPECT_FALSE(c.checkbox_photo->isEnabled());
}

// The card's first line reads the terrain's degree at once after a refinement.
// The card shows and edits its slot's record itself: a memo keystroke is in
// the document at once, and a new key reaches card, slot and working record.
TEST(CarteMontagne, ShowsAndEditsTheRecordOfItsSlot) {
  Atelier a;
  auto& e = a.w->etat;
  e.parametres.cle = 1111;
  a.commande(Commande::nouvelle_montagne);
  e.parametres.cle = 2222;
  a.commande(Commande::nouvelle_montagne);
  for (int m : {1, 2}) {
    EXPECT_EQ(&a.carte(m)->parametres(), &e.montagnes[m].type.parametres) << m;
    EXPECT_EQ(a.carte(m)->parametres().cle, 1111 * m) << m;
    EXPECT_EQ(e.montagnes[m].terrain->cle, 1111 * m) << m;
  }
  EXPECT_EQ(e.parametres.cle, 2222);  // the current mountain's
  // A memo typed on card 1 while card 2 is active.
  auto* carte = dynamic_cast<TMatricewindow*>(a.carte(1));
  ASSERT_TRUE(carte);
  QTest::keyClicks(carte->Memo1, "ridge");
  EXPECT_EQ(carte->modifie, 1);
  EXPECT_EQ(e.montagnes[1].type.parametres.texte[0], "ridge");
  EXPECT_TRUE(e.montagnes[2].type.parametres.texte[0].empty());
  a.w->activer(a.carte(1));
  a.w->UpdateItems();
  EXPECT_EQ(e.montagnes[1].type.modifie_edition, 1);
  EXPECT_EQ(e.parametres.texte[0], "ridge");
  EXPECT_EQ(e.parametres.cle, 1111);
  // A key chosen for the next regeneration reaches the terrain, and the card
  // stays tied to its slot and keeps the memo.
  e.montagnes[1].type.parametres.cle = 3333;
  a.w->UpdateItems();
  a.demande_carte(1, 3);
  ASSERT_TRUE(e.montagnes[1].type.utilise);
  EXPECT_EQ(&a.carte(1)->parametres(), &e.montagnes[1].type.parametres);
  EXPECT_EQ(e.montagnes[1].terrain->cle, 3333);
  EXPECT_EQ(a.carte(1)->parametres().cle, 3333);
  EXPECT_EQ(e.parametres.cle, 3333);
  EXPECT_EQ(a.carte(1)->parametres().texte[0], "ridge");
}

TEST(CarteMontagne, RefiningShowsTheNewMeshSize) {
  Atelier a(4);
  a.commande(Commande::nouvelle_montagne);
  auto premiere_ligne = [&] {
    for (int k = 0; k < 3; ++k) QApplication::processEvents();
    return a.carte(1)->Label1->text();
  };
  EXPECT_EQ(premiere_ligne(), "-   Mesh size=4");
  a.commande(Commande::raffiner);
  ASSERT_EQ(a.w->etat.montagnes[1].terrain->degre, 5);
  EXPECT_EQ(premiere_ligne(), "-   Mesh size=5");
  a.demande_carte(1, 5);
  ASSERT_EQ(a.w->etat.montagnes[1].terrain->degre, 6);
  EXPECT_EQ(premiere_ligne(), "-   Mesh size=6");
  // A degree kept for later does not change what the card says of its terrain.
  a.carte(1)->parametres().maillage = 9;
  a.w->etat.montagnes[1].type.parametres.maillage = 9;
  a.w->UpdateItems();
  EXPECT_EQ(premiere_ligne(), "-   Mesh size=6");
  // Its views are counted as soon as one opens.
  test_rendus::controle_rendus().rendu_factice = [](Tmatrice&, render::Bitmap&, const param_vue&, ProgressSink*, platform::WindowHandle) {};
  a.commande(Commande::voir);
  a.w->activer(a.carte(1));
  EXPECT_EQ(premiere_ligne(), "-   Mesh size=6   ( 1  Relief= ) ");
}

// F1 shows the topic of the active card or view; Help > Index opens the
// finder whatever window is active.
TEST(CarteMontagne, F1ShowsTheTopicOfTheFocusedChild) {
  Atelier a;
  a.commande(Commande::nouvelle_montagne);
  a.w->activer(a.carte(1));
  a.w->touche_aide();
  EXPECT_EQ(a.w->aide()->CurrentTopic(), 4006);
  a.commande(Commande::index);
  EXPECT_TRUE(a.w->aide()->OnFinder());
  test_rendus::controle_rendus().rendu_factice = [](Tmatrice&, render::Bitmap&, const param_vue&, ProgressSink*, platform::WindowHandle) {};
  a.commande(Commande::voir);
  a.w->activer(a.vue(1));
  a.w->touche_aide();
  EXPECT_EQ(a.w->aide()->CurrentTopic(), 4007);
  a.commande(Commande::index);
  EXPECT_TRUE(a.w->aide()->OnFinder());
}

// A recent entry whose file is gone leaves the File menu when the user agrees.
TEST(CarteMontagne, AMissingRecentFileLeavesTheFileMenu) {
  Atelier a;
  const std::string parti = (a.dossier.path() + "/parti.mat").toStdString();
  a.w->etat.recents = {parti};
  a.w->recents_modifies();
  ASSERT_EQ(a.w->entrees_recentes(), QStringList{QString::fromStdString(parti)});
  a.ui.answers = {true};
  a.w->documents.FileprecItemClick(parti);
  EXPECT_TRUE(a.w->entrees_recentes().isEmpty());
  ASSERT_EQ(a.ui.entries.size(), 1u);
  EXPECT_TRUE(a.ui.entries[0].question);
  EXPECT_EQ(a.w->etat.nombre_montagnes, 0);
}

TEST(CarteMontagne, MemoLinesReachTheSlotAndAnInactiveCardDoesNotClose) {
  Atelier a;
  a.commande(Commande::nouvelle_montagne);
  a.commande(Commande::nouvelle_montagne);
  TMatricewindow* c = a.carte(1);
  a.w->activer(c);
  a.commande(Commande::taper_texte);
  QTest::keyClicks(c->Memo1, "alpha");
  QTest::keyClick(c->Memo1, Qt::Key_Return);
  QTest::keyClicks(c->Memo1, "beta ");
  c->Memo1->insertPlainText(QString("%1t%1").arg(QChar(0xE9)));
  QTest::keyClick(c->Memo1, Qt::Key_End);
  EXPECT_EQ(c->modifie, 1);
  // The expanded card is its fill panel to the bottom edge: no bare strip under it.
  EXPECT_EQ(c->Panneau->geometry(), c->rect());
  EXPECT_GE(c->height(), c->Memo1->geometry().bottom());
  a.w->activer(a.carte(2));
  a.w->activer(c);
  EXPECT_EQ(a.w->etat.montagnes[1].type.parametres.texte[0], "alpha");
  EXPECT_EQ(a.w->etat.montagnes[1].type.parametres.texte[1], "beta \xE9t\xE9");
  EXPECT_EQ(a.w->etat.montagnes[1].type.modifie_edition, 1);
  // Card 2 is not active: its close does nothing.
  a.carte(2)->sous_fenetre()->close();
  Programme::vider();
  EXPECT_TRUE(a.w->etat.montagnes[2].type.utilise);
}

// Comments are in the documents' code page, Windows Latin-1. Every byte from
// 0x20 to 0xFF, as the Windows program writes them, shows its own character in
// the memo and on the print page and is saved back unchanged; a pasted euro
// sign and "…" take their bytes; what the page cannot hold becomes "?", with
// one warning naming it.
TEST(CarteMontagne, CommentsKeepTheirCodePageThroughMemoPrintAndSave) {
  Atelier a;
  std::string lignes[3];
  for (int o = 0x20; o <= 0xFF; ++o) lignes[o < 0x80 ? 0 : o < 0xA0 ? 1 : 2] += static_cast<char>(o);
  const QString chemin = a.dossier.path() + "/octets.mat";
  const std::string texte = "  [TEXTE]\r\n3\r\n" + lignes[0] + "\r\n" + lignes[1] + "\r\n" + lignes[2] + "\r\n";
  ecrire_tout(chemin, texte + lire_tout(QUORVEL_SOURCE_DIR "/tests/data/plat.mat"));
  a.dialogues->ouvertures.push_back(chemin.toStdString());
  a.commande(Commande::ouvrir);
  TMatricewindow* c = a.carte(1);
  ASSERT_NE(c, nullptr);
  const QString hauts = QString::fromUtf8("€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F\u0090‘’“”•–—˜™š›œ\u009DžŸ");
  QStringList vus = {QString::fromLatin1(lignes[0]), hauts, QString::fromLatin1(lignes[2])};
  // The memo's lines as typed (its plain text would turn the no-break space into a blank).
  const auto memo = [c] {
    QStringList l;
    for (QTextBlock b = c->Memo1->document()->begin(); b.isValid(); b = b.next()) l << b.text();
    return l;
  };
  EXPECT_EQ(memo(), vus);

  // A key in the memo takes its text, and the save writes the bytes read.
  a.w->activer(c);
  a.commande(Commande::taper_texte);
  QTest::keyClick(c->Memo1, Qt::Key_End);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(c->parametres().texte[std::size_t(k)], lignes[k]) << k;
  a.commande(Commande::enregistrer);
  EXPECT_EQ(lire_tout(chemin).substr(0, texte.size()), texte);
  EXPECT_TRUE(a.ui.entries.empty());

  // Pasted: the euro sign and "…" have bytes; "ő" and "🙂" do not.
  QTest::keyClick(c->Memo1, Qt::Key_End, Qt::ControlModifier);
  QApplication::clipboard()->setText(QString::fromUtf8("\n€ … ő 🙂 ő"));
  QTest::keyClick(c->Memo1, Qt::Key_V, Qt::ControlModifier);
  QTest::keyClicks(c->Memo1, "!");
  EXPECT_EQ(c->parametres().texte[3], "\x80 \x85 ? ? ?!");
  vus << QString::fromUtf8("€ … ? ? ?!");
  EXPECT_EQ(memo(), vus);
  ASSERT_EQ(a.ui.entries.size(), 1u);
  EXPECT_FALSE(a.ui.entries[0].question);
  EXPECT_EQ(a.ui.entries[0].text, message_memo_remplaces(QString::fromUtf8("ő🙂")).toStdString());
  EXPECT_NE(a.ui.entries[0].text.find("ő 🙂"), std::string::npos);
  // Saved at once, with no focus change between: the typed line is written.
  a.commande(Commande::enregistrer);
  EXPECT_EQ(lire_tout(chemin).substr(0, texte.size() + 12),
            "  [TEXTE]\r\n4\r\n" + lignes[0] + "\r\n" + lignes[1] + "\r\n" + lignes[2] + "\r\n\x80 \x85 ? ? ?!\r\n");
  EXPECT_EQ(a.ui.entries.size(), 1u);

  // On the print page and in the printed PDF.
  QStringList imprimees;
  QTemporaryDir pdf;
  CommandesImpression& impression = a.w->commandes_impression();
  impression.choisir_imprimante = [&](QPrinter& p, QWidget*) {
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(pdf.filePath("page.pdf"));
    return true;
  };
  impression.montrer = [&](TPreview_print& f) {
    imprimees = f.contenu().lignes;
    f.Imprimer->click();
  };
  test_rendus::controle_rendus().rendu_factice = [](Tmatrice&, render::Bitmap&, const param_vue&, ProgressSink*,
                                                    platform::WindowHandle) {};
  a.commande(Commande::voir);
  a.attendre_image(a.vue(1));
  a.w->activer(a.vue(1));
  a.commande(Commande::imprimer);
  EXPECT_EQ(imprimees, vus);
  if (!QStandardPaths::findExecutable("pdftotext").isEmpty()) {
    QProcess p;
    p.start("pdftotext", {pdf.filePath("page.pdf"), "-"});
    p.waitForFinished(-1);
    const QString lu = QString::fromUtf8(p.readAllStandardOutput());
    for (const char* t : {"€", "…", "“", "Ÿ", "ÿ"}) EXPECT_TRUE(lu.contains(QString::fromUtf8(t))) << t;
  }
}

TEST(FenetreVue, SeeRendersOnceOutsideThePaintAndShowsStatistics) {
  Atelier a(5);
  a.commande(Commande::nouvelle_montagne);
  a.commande(Commande::voir);
  TVuewindow* v = a.vue(1);
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->windowTitle(), "View #  1 :  New #  1");
  EXPECT_EQ(a.w->noeuds_vues[1]->parent(), a.w->noeuds_montagnes[1]);
  a.attendre_image(v);
  ASSERT_TRUE(v->image_existe());
  for (int k = 0; k < 5; ++k) QApplication::processEvents();
  EXPECT_EQ(test_rendus::controle_rendus().rendus, 1);
  EXPECT_EQ(test_rendus::controle_rendus().rendus_dans_peinture, 0);
  EXPECT_GT(couleurs(v->image()), 1);
  EXPECT_EQ(v->modifiee, 1);
  a.w->activer(v);
  EXPECT_TRUE(a.w->action(Commande::informations)->isEnabled());
  EXPECT_EQ(v->statistiques().altitude_maxi, a.w->etat.montagnes[1].terrain->resultats_vue.altitude_maxi);
  EXPECT_EQ(v->panneau(0)->text(), a.w->etat.vue.echelle_fixe ? "Fixed " : "Variable ");
  EXPECT_EQ(v->panneau(1)->text(),
            "Frame: " + QString::number(v->largeur_image) + " x " + QString::number(v->hauteur_image));
  // A minimised view ignores a refresh.
  v->sous_fenetre()->showMinimized();
  QApplication::processEvents();
  v->rafraichir_vue();
  EXPECT_TRUE(v->image_existe());
}

TEST(FenetreVue, ACancelledRenderKeepsItsPartialPicture) {
  Atelier a(4);
  a.commande(Commande::nouvelle_montagne);
  bool annule = false;
  test_rendus::controle_rendus().rendu_factice = [&](Tmatrice&, render::Bitmap& b, const param_vue&, ProgressSink* s,
                                  platform::WindowHandle h) {
    s->demarrer(h);
    b.at(0, 0) = render::pixel_rgb(255, 0, 0);
    platform::post(h, platform::WM_CANCEL);
    annule = cancel_requested(h);
  };
  a.commande(Commande::voir);
  a.attendre_image(a.vue(1));
  EXPECT_TRUE(annule);
  EXPECT_TRUE(a.vue(1)->image_existe());
  EXPECT_EQ(a.vue(1)->image().at(0, 0), render::pixel_rgb(255, 0, 0));
}

TEST(FenetreVue, Sizes) {
  int l = 600, h = 400;
  fenetres::ajuster_4_3(l, h);
  EXPECT_EQ(l, 533);
  EXPECT_EQ(h, 400);
  TVuewindow v;
  v.parametres.echelle_fixe = 0;
  v.parametres.deformation = 0;
  v.resize(600, 419);
  v.Formsize();
  EXPECT_EQ(v.largeur_image, 533);
  EXPECT_EQ(v.hauteur_image, 400);

  TVuewindow w3;
  w3.no_vue = 3;
  param_vue p{};
  w3.largeur_image = 200;
  w3.hauteur_image = 150;
  w3.init_vue(0, p, nullptr, {}, false, false);
  EXPECT_EQ(w3.pos(), QPoint(89, 44));

  TVuewindow grand;
  p.echelle_fixe = 1;
  p.dim_predef = 1;
  p.largeur_image = 100000;
  p.hauteur_image = 3;
  grand.init_vue(0, p, nullptr, {}, false, false);
  EXPECT_EQ(grand.largeur_image, kTailleImageMax);
  EXPECT_EQ(grand.hauteur_image, kTailleImageMin);
}

TEST(FenetreVue, NewViewSizeFollowsTheMeshDegree) {
  Atelier a(7);
  a.w->etat.parametres.maillage = 4;
  a.commande(Commande::nouvelle_montagne);
  a.w->etat.montagnes[1].terrain->degre = 7;  // the size follows the terrain's own degree
  a.w->etat.vue.echelle_fixe = 1;
  test_rendus::controle_rendus().rendu_factice = [](Tmatrice&, render::Bitmap&, const param_vue&, ProgressSink*, platform::WindowHandle) {};
  a.commande(Commande::voir);
  EXPECT_EQ(a.vue(1)->largeur_image, 560);
  EXPECT_EQ(a.vue(1)->hauteur_image, 412);
}

TEST(FenetreVue, TogglesRespectMistAndAutomaticRefresh) {
  Atelier a(4);
  a.commande(Commande::nouvelle_montagne);
  a.w->etat.vue.brume = 1;
  a.w->etat.vue.ombre_portee = 0;
  int rendus = 0;
  test_rendus::controle_rendus().rendu_factice = [&](Tmatrice&, render::Bitmap&, const param_vue&, ProgressSink*,
                                  platform::WindowHandle) { ++rendus; };
  a.commande(Commande::voir);
  TVuewindow* v = a.vue(1);
  a.attendre_image(v);
  ASSERT_EQ(rendus, 1);
  a.w->activer(v);
  a.commande(Commande::ombre_portee);
  EXPECT_EQ(a.w->etat.vue.ombre_portee, 0);
  a.commande(Commande::brume);
  EXPECT_EQ(a.w->etat.vue.brume, 0);
  a.attendre_image(v);
  EXPECT_EQ(rendus, 2);
  a.commande(Commande::ombre_portee);
  EXPECT_EQ(a.w->etat.vue.ombre_portee, 1);
  EXPECT_EQ(v->parametres.ombre_portee, 1);
  a.attendre_image(v);
  EXPECT_EQ(rendus, 3);
  a.commande(Commande::rafraichissement_automatique);
  a.commande(Commande::arbres);
  for (int k = 0; k < 5; ++k) QApplication::processEvents();
  EXPECT_EQ(rendus, 3);
}

TEST(FenetreVue, DuplicateTakesThePictureWithoutRenderingAndLeavesTheClipboard) {
  Atelier a(4);
  a.commande(Commande::nouvelle_montagne);
  QImage etrangere(5, 5, QImage::Format_RGB32);
  etrangere.fill(Qt::red);
  QApplication::clipboard()->setImage(etrangere);
  a.commande(Commande::voir);
  TVuewindow* v = a.vue(1);
  a.attendre_image(v);
  EXPECT_EQ(test_rendus::controle_rendus().rendus, 1);
  EXPECT_GT(v->image().width(), 5);
  a.w->activer(v);
  a.commande(Commande::dupliquer_vue);
  TVuewindow* copie = a.vue(2);
  ASSERT_NE(copie, nullptr);
  a.attendre_image(copie);
  EXPECT_EQ(test_rendus::controle_rendus().rendus, 1);
  EXPECT_TRUE(copie->image() == v->image());
  EXPECT_FALSE(QApplication::clipboard()->image().isNull());
}

// With the explorer shown, every change of active window settles at once: one
// active child, its node the only one selected, the keyboard in the tree or in
// that child, and UpdateItems run a few times, then no more.
TEST(Explorateur, ActivationSettlesWithTheTreeShown) {
  Atelier a(4);
  QApplication::setActiveWindow(a.w.get());
  int passes = 0;
  QObject::connect(a.w.get(), &TBasewindow::elementsMisAJour, [&] { ++passes; });
  QTreeWidget* arbre = a.w->arbre();
  auto fenetre = [](QTreeWidgetItem* n) { return qobject_cast<QWidget*>(n->data(0, Qt::UserRole).value<QObject*>()); };
  auto repose = [&](QTreeWidgetItem* noeud, const char* quand) {
    SCOPED_TRACE(quand);
    for (int k = 0; k < 10; ++k) QApplication::processEvents();
    EXPECT_LE(passes, 12);
    ASSERT_NE(noeud, nullptr);
    EXPECT_EQ(a.w->enfant_actif(), fenetre(noeud));
    EXPECT_EQ(arbre->selectedItems(), QList<QTreeWidgetItem*>{noeud});
    QWidget* f = QApplication::focusWidget();
    EXPECT_TRUE(f && (f == arbre || fenetre(noeud)->isAncestorOf(f) || f == fenetre(noeud)));
    passes = 0;
    for (int k = 0; k < 10; ++k) QApplication::processEvents();
    EXPECT_EQ(passes, 0);
  };
  a.commande(Commande::nouvelle_montagne);
  a.commande(Commande::voir);
  a.attendre_image(a.vue(1));
  passes = 0;
  a.commande(Commande::explorateur);
  ASSERT_TRUE(arbre->isVisible());
  repose(a.w->noeuds_vues[1], "shown");
  a.commande(Commande::dupliquer_vue);
  a.attendre_image(a.vue(2));
  repose(a.w->noeuds_vues[2], "duplicated");
  a.w->activer(a.carte(1));
  repose(a.w->noeuds_montagnes[1], "card");
  a.commande(Commande::voir);  // F6: a new view of the mountain, drawn
  a.attendre_image(a.vue(3));
  repose(a.w->noeuds_vues[3], "new view");
  arbre->setFocus();
  for (Qt::Key k : {Qt::Key_Up, Qt::Key_Up, Qt::Key_Down, Qt::Key_Home, Qt::Key_End}) {
    QTest::keyClick(arbre, k);
    repose(arbre->currentItem(), "arrow key");
  }
  QMdiSubWindow* s = a.vue(1)->sous_fenetre();
  QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(s->width() / 2, 4));
  repose(a.w->noeuds_vues[1], "click");
  EXPECT_EQ(a.w->etat.vue_courante, 1);
}

TEST(CommandesMontagne, CardRequests) {
  Atelier a(4);
  test_rendus::controle_rendus().rendu_factice = [](Tmatrice&, render::Bitmap& b, const param_vue&, ProgressSink*,
                                 platform::WindowHandle) { b.at(0, 0) = 1; };
  a.commande(Commande::nouvelle_montagne);
  auto& e = a.w->etat;
  Tmatrice* t = e.montagnes[1].terrain.get();
  const std::uint64_t avant = empreinte(*t);
  const std::int32_t h = t->hauteurs->lire(3, 3);
  a.demande_carte(1, 11);
  EXPECT_EQ(e.montagnes[1].terrain->hauteurs->lire(3, 3), std::max(-2000, std::min(4000, h + 100)));
  EXPECT_EQ(e.montagnes[1].type.modifie_edition, 1);
  // Two views: "See" refreshes the lower-numbered one.
  a.w->activer(a.carte(1));
  a.commande(Commande::voir);
  a.w->activer(a.carte(1));
  a.commande(Commande::voir);
  a.attendre_image(a.vue(1));
  a.attendre_image(a.vue(2));
  const int rendus = test_rendus::controle_rendus().rendus;
  int rendus_vue1 = 0;
  test_rendus::controle_rendus().rendu_factice = [&](Tmatrice&, render::Bitmap& b, const param_vue&, ProgressSink*,
                                  platform::WindowHandle h) {
    b.at(0, 0) = 1;
    if (h == a.vue(1)->handle()) ++rendus_vue1;
  };
  a.demande_carte(1, 1);
  a.attendre_image(a.vue(1));
  EXPECT_EQ(test_rendus::controle_rendus().rendus, rendus + 1);
  EXPECT_EQ(rendus_vue1, 1);
  EXPECT_TRUE(a.vue(2)->image_existe());
  // Regenerate with the fixed key gives the terrain again; it stays in its slot.
  e.montagnes[1].type.a_fichier = 1;
  e.montagnes[1].type.fichier = "/tmp/x.mat";
  e.montagnes[1].type.genre = 1;
  e.montagnes[1].type.parametres.texte[0] = "memo";
  a.demande_carte(1, 3);
  ASSERT_TRUE(e.montagnes[1].type.utilise);
  EXPECT_EQ(empreinte(*e.montagnes[1].terrain), avant);
  EXPECT_EQ(e.nombre_vues, 0);
  EXPECT_EQ(e.montagnes[1].type.fichier, "/tmp/x.mat");
  EXPECT_EQ(e.montagnes[1].type.parametres.texte[0], "memo");
  EXPECT_EQ(a.carte(1)->windowTitle(), "/tmp/x.mat");
  // Duplicate.
  a.demande_carte(1, 4);
  ASSERT_TRUE(e.montagnes[2].type.utilise);
  EXPECT_EQ(a.carte(2)->windowTitle(), "#  2:  Copy ");
  EXPECT_EQ(empreinte(*e.montagnes[2].terrain), empreinte(*e.montagnes[1].terrain));
  EXPECT_EQ(e.montagnes[2].terrain->nombre_elements, e.montagnes[1].terrain->nombre_elements);
  a.demande_carte(2, 11);
  EXPECT_NE(empreinte(*e.montagnes[2].terrain), empreinte(*e.montagnes[1].terrain));
  // Refine closes the views without a question.
  a.w->activer(a.carte(1));
  a.commande(Commande::voir);
  a.attendre_image(a.vue(1));
  a.ui.entries.clear();
  e.montagnes[1].type.modifie_edition = 0;
  a.demande_carte(1, 5);
  EXPECT_EQ(e.nombre_vues, 0);
  EXPECT_TRUE(a.ui.entries.empty());
  EXPECT_EQ(e.montagnes[1].terrain->degre, 5);
  EXPECT_EQ(e.montagnes[1].type.parametres.maillage, 5);
  EXPECT_EQ(e.montagnes[1].type.modifie_edition, 1);
}

TEST(Informations, SpeciesNamesAndSignedAltitudes) {
  Tinformations d;
  resultats_vue r{};
  r.altitude_mini = -12;
  d.afficher_statistiques(r);
  EXPECT_EQ(d.min->text(), "-12");
  for (int k = 0; k < 6; ++k) {
    EXPECT_EQ(d.esp[k]->text(), "");
    EXPECT_EQ(d.tot[k]->text(), "");
  }
  r.arbres[0] = {2, 30, 7};
  d.afficher_statistiques(r);
  EXPECT_EQ(d.esp[0]->text(), "Fir");
  EXPECT_EQ(d.tot[0]->text(), "30");
  EXPECT_EQ(d.vis[0]->text(), "7");
  r.arbres[0] = {9, 1, 1};  // an unknown code keeps the name
  d.afficher_statistiques(r);
  EXPECT_EQ(d.esp[0]->text(), "Fir");
  EXPECT_EQ(d.tot[0]->text(), "1");
}

// A JPEG picture read is kept and written back as it was read (encoded again
// it would lose a little), as is a bitmap another program wrote (its header
// is its own); a bitmap as this program writes it, written again the same
// from its pixels, is not kept.
TEST(FenetreVue, SavedViewReopensWithItsPictureAndAsksOnlyWhenItIsADocument) {
  struct Cas {
    int type;
    const char* nom;
    bool etranger;  // the bitmap's resolution changed by another program
  };
  for (const auto& [type, nom, etranger] : {Cas{1, "/a.bmp", false}, Cas{1, "/a.bmp", true}, Cas{2, "/a.jpg", false}}) {
    SCOPED_TRACE(std::string(nom) + (etranger ? " of another program" : ""));
    Atelier a(4);
    a.w->etat.vue.type_image = type;
    a.commande(Commande::nouvelle_montagne);
    a.commande(Commande::voir);
    TVuewindow* v = a.vue(1);
    a.attendre_image(v);
    a.w->activer(v);
    const QString chemin = a.dossier.path() + "/a.vue";
    a.dialogues->sauvegardes.push_back(chemin.toStdString());
    a.commande(Commande::enregistrer_vue);
    ASSERT_TRUE(QFileInfo::exists(chemin));
    QImage bmp(a.dossier.path() + nom);
    ASSERT_FALSE(bmp.isNull());
    EXPECT_EQ(bmp.width(), v->image().width());
    EXPECT_EQ(bmp.height(), v->image().height());
    EXPECT_NE(lire_tout(chemin).find("Maillage           =           4"), std::string::npos);
    a.ui.entries.clear();
    a.commande(Commande::fermer_montagnes);
    Programme::vider();
    EXPECT_TRUE(a.ui.entries.empty());
    EXPECT_EQ(a.w->etat.nombre_montagnes, 0);

    if (etranger) {
      std::string b = lire_tout(a.dossier.path() + nom);
      b.replace(38, 4, std::string("\xC4\x0E\0\0", 4));  // 96 dots per inch
      ecrire_tout(a.dossier.path() + nom, b);
    }
    const int rendus = test_rendus::controle_rendus().rendus;
    a.dialogues->ouvertures.push_back(chemin.toStdString());
    a.commande(Commande::ouvrir);
    const int m = a.w->etat.montagne_courante;
    ASSERT_NE(m, 0);
    EXPECT_TRUE(a.carte(m)->windowTitle().endsWith(chemin));
    TVuewindow* ouverte = a.vue(a.w->etat.vue_courante);
    ASSERT_NE(ouverte, nullptr);
    a.attendre_image(ouverte);
    for (int k = 0; k < 5; ++k) QApplication::processEvents();
    EXPECT_EQ(test_rendus::controle_rendus().rendus, rendus);
    EXPECT_TRUE(ouverte->image_existe());
    // The file read is kept for a save until the view draws again.
    const std::string image = lire_tout(a.dossier.path() + nom);
    EXPECT_TRUE((ouverte->image_lue() ? *ouverte->image_lue() : "") == (type == 2 || etranger ? image : ""));
    a.w->activer(ouverte);
    a.commande(Commande::enregistrer);
    EXPECT_TRUE(lire_tout(a.dossier.path() + nom) == image) << "written again as it was";
    a.commande(Commande::rafraichir_vue);
    a.attendre_image(ouverte);
    EXPECT_EQ(test_rendus::controle_rendus().rendus, rendus + 1);
    EXPECT_EQ(ouverte->image_lue(), nullptr);
    const std::string titre = ouverte->windowTitle().toStdString();
    a.ui.answers.push_back(false);
    a.commande(Commande::fermer_vue);
    Programme::vider();
    ASSERT_FALSE(a.ui.entries.empty());
    EXPECT_EQ(a.ui.entries.back().text, "Save the modifications of " + titre + " ?");
  }
}

// "Remove" takes the document's file away: the card no longer speaks of a
// file, the slot has none (so the exit asks about it), and once every
// mountain is closed the status line names none.
TEST(CarteMontagne, RemovedFileAndNoMountainLeftShowNoStaleText) {
  Atelier a;
  a.commande(Commande::nouvelle_montagne);
  const QString chemin = a.dossier.path() + "/gone.mat";
  a.dialogues->sauvegardes.push_back(chemin.toStdString());
  a.commande(Commande::enregistrer_montagne);
  ASSERT_TRUE(QFileInfo::exists(chemin));
  TMatricewindow* c = a.carte(1);
  EXPECT_TRUE(c->texte_etat.startsWith("   File saved today ("));
  a.w->activer(c);
  a.ui.answers = {true};
  a.commande(Commande::supprimer);
  EXPECT_FALSE(QFileInfo::exists(chemin));
  EXPECT_EQ(c->texte_etat, "       New mountain");
  EXPECT_EQ(a.w->etat.montagnes[1].type.a_fichier, 0);
  EXPECT_EQ(a.w->etat.montagnes[1].type.modifie_edition, 1);
  a.ui.entries.clear();
  a.ui.answers = {false};
  a.commande(Commande::fermer_montagnes);
  Programme::vider();
  EXPECT_EQ(a.w->etat.nombre_montagnes, 0);
  EXPECT_EQ(a.w->ligne_etat(), "");
}

// Once every document is closed, neither status panel names one: the right
// panel drops the view it showed.
TEST(CarteMontagne, NoViewNamedOnceEveryDocumentIsClosed) {
  Atelier a;
  test_rendus::controle_rendus().rendu_factice = [](Tmatrice&, render::Bitmap&, const param_vue&, ProgressSink*, platform::WindowHandle) {};
  a.commande(Commande::nouvelle_montagne);
  a.commande(Commande::voir);
  a.w->activer(a.vue(1));
  EXPECT_TRUE(a.w->panneau_droit().contains("View # 1"));
  a.w->activer(a.carte(1));
  EXPECT_EQ(a.w->panneau_droit(), " View # 1");  // the card counts its views
  a.ui.answers = {false, false};
  a.commande(Commande::fermer_montagnes);
  Programme::vider();
  EXPECT_EQ(a.w->etat.nombre_montagnes, 0);
  EXPECT_EQ(a.w->etat.nombre_vues, 0);
  EXPECT_EQ(a.w->panneau_droit(), "");
  EXPECT_EQ(a.w->ligne_etat(), "");
  // The card closed by its close box while its view is open: the run of the
  // bookkeeping that closes them both leaves no view named.
  a.commande(Commande::nouvelle_montagne);
  a.commande(Commande::voir);
  a.w->activer(a.carte(1));
  ASSERT_EQ(a.w->panneau_droit(), " View # 1");
  a.carte(1)->close();
  a.w->UpdateItems();
  EXPECT_EQ(a.w->etat.nombre_montagnes, 0);
  EXPECT_EQ(a.w->panneau_droit(), "");
  Programme::vider();
  // The view closed first, then its mountain from its card.
  a.commande(Commande::nouvelle_montagne);
  a.commande(Commande::voir);
  a.w->activer(a.vue(1));
  a.commande(Commande::fermer_vue);
  Programme::vider();
  a.w->activer(a.carte(1));
  a.commande(Commande::fermer_montagne);
  Programme::vider();
  EXPECT_EQ(a.w->etat.nombre_montagnes, 0);
  EXPECT_EQ(a.w->panneau_droit(), "");
  EXPECT_EQ(a.w->ligne_etat(), "");
}

// "See in a full screen" without fixed scale renders at the maximised size:
// the picture is the largest 4:3 rectangle of the client area above the
// status bar, not the 400 x 300 default stretched over it.
TEST(FenetreVue, FullScreenRendersAtTheMaximisedSize) {
  Atelier a;
  a.w->etat.vue.echelle_fixe = 0;
  a.w->etat.vue.deformation = 0;
  a.commande(Commande::nouvelle_montagne);
  a.commande(Commande::voir_plein_ecran);
  TVuewindow* v = a.vue(1);
  ASSERT_NE(v, nullptr);
  a.attendre_image(v);
  ASSERT_TRUE(v->image_existe());
  ASSERT_NE(v->sous_fenetre(), nullptr);
  EXPECT_TRUE(v->sous_fenetre()->isMaximized());
  int l = v->width(), h = v->height() - 19;
  fenetres::ajuster_4_3(l, h);
  EXPECT_EQ(v->image().width(), l);
  EXPECT_EQ(v->image().height(), h);
  EXPECT_GT(l, 400);
}

// A fixed-scale view seen in a full screen shows the picture "&see" makes;
// restored (the menu bar's restore button) or arranged by Window > Tile, its
// window has the size and place "&see" gives that picture, not a sliver of it
// between scroll bars.
TEST(FenetreVue, AFullScreenFixedScaleViewRestoresToTheSizeAndPlaceOfANewView) {
  Atelier a(7);
  test_rendus::controle_rendus().rendu_factice = [](Tmatrice&, render::Bitmap&, const param_vue&, ProgressSink*,
                                                    platform::WindowHandle) {};
  a.w->resize(1280, 1000);
  const QString chemin = a.dossier.path() + "/vallee.vue";
  ASSERT_TRUE(QFile::copy(QUORVEL_SOURCE_DIR "/tests/data/vallee.vue", chemin));
  a.dialogues->ouvertures.push_back(chemin.toStdString());
  a.commande(Commande::ouvrir);
  Programme::vider();
  ASSERT_NE(a.vue(1), nullptr);
  a.attendre_image(a.vue(1));
  ASSERT_EQ(a.w->etat.vue.echelle_fixe, 1);
  a.commande(Commande::voir);
  TVuewindow* vue = a.vue(2);
  ASSERT_NE(vue, nullptr);
  a.attendre_image(vue);
  const QRect attendue = vue->sous_fenetre()->geometry();
  const QSize image(vue->image().width(), vue->image().height());
  a.w->activer(vue);
  a.ui.answers = {false};
  a.commande(Commande::fermer_vue);
  Programme::vider();
  ASSERT_EQ(a.vue(2), nullptr);
  a.commande(Commande::voir_plein_ecran);
  TVuewindow* v = a.vue(2);
  ASSERT_NE(v, nullptr);
  a.attendre_image(v);
  QMdiSubWindow* s = v->sous_fenetre();
  ASSERT_TRUE(s->isMaximized());
  EXPECT_EQ(QSize(v->image().width(), v->image().height()), image) << "the picture of a new view";
  auto entiere = [&] {
    QApplication::processEvents();
    EXPECT_FALSE(v->findChild<QScrollArea*>()->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(v->findChild<QScrollArea*>()->verticalScrollBar()->isVisible());
  };
  s->showNormal();
  EXPECT_EQ(s->geometry(), attendue) << "restored";
  entiere();
  s->showMaximized();
  a.commande(Commande::cascade);
  EXPECT_FALSE(s->isMaximized());
  EXPECT_EQ(s->size(), attendue.size()) << "tiled";
  entiere();
}

// The view's status panels hold their whole text in the font they use.
TEST(FenetreVue, StatusPanelsFitTheirText) {
  TVuewindow v;
  for (QLabel* l : v.findChildren<QLabel*>()) {
    if (!l->parentWidget() || !qobject_cast<QStatusBar*>(l->parentWidget())) continue;
    EXPECT_GE(l->width(), 100);
    EXPECT_GE(l->width(), QFontMetrics(l->font()).horizontalAdvance("Frame: 8888 x 8888") + 2 * l->frameWidth());
  }
}

// An imported sky stored with an old Windows path is found by its name in the
// program's sky folder, and the view draws that picture.
TEST(FenetreVue, ImportedSkyIsLookedForInTheProgramsSkyFolder) {
  auto ciel_rouge = [](bool avec_fichier) {
    Atelier a(6);  // skies are drawn from degree 6 on
    if (avec_fichier) {
      QDir().mkpath(a.dossier.path() + "/ciels");
      const render::Bitmap rouge(64, 48, render::pixel_rgb(250, 0, 0));
      EXPECT_TRUE(render::ecrire_jpeg((a.dossier.path() + "/ciels/nuage.jpg").toStdString(), rouge, 95));
    }
    param_vue& p = a.w->etat.vue;
    p.horizon = 1;
    p.type_ciel = 2;
    p.fichier_ciel = "C:\\Quorvel\\ciels\\nuage.jpg";
    p.angle_vertical = 5;
    a.commande(Commande::nouvelle_montagne);
    a.commande(Commande::voir);
    TVuewindow* v = a.vue(1);
    a.attendre_image(v);
    EXPECT_TRUE(v && v->image_existe());
    if (!v || !v->image_existe()) return false;
    const render::Pixel haut = v->image().surface().row(1)[v->image().width() / 2];
    return render::rgb_of(haut).r > 200 && render::rgb_of(haut).g < 60;
  };
  EXPECT_TRUE(ciel_rouge(true));
  EXPECT_FALSE(ciel_rouge(false));
}

TEST(FenetreVue, TheViewsAdjustmentsItemOpensTheViewOptions) {
  Atelier a(5);
  a.commande(Commande::nouvelle_montagne);
  a.commande(Commande::voir);
  TVuewindow* v = a.vue(1);
  a.attendre_image(v);
  int ouvertures = 0;
  a.w->commandes_options_vue().executer = [&](const dialogs::EntreesOptionsVue& e, dialogs::SortiesOptionsVue& s) {
    ++ouvertures;
    EXPECT_EQ(e.vue_courante, 1);
    s.page = e.page;
    return 2;
  };
  QAction* item = nullptr;
  for (QAction* a : v->menu()->actions())
    if (a->text().section('\t', 0, 0) == "Adjustements ...") item = a;
  ASSERT_NE(item, nullptr);
  ASSERT_TRUE(item->isEnabled());
  item->trigger();
  Programme::vider();
  EXPECT_EQ(ouvertures, 1);
}

// A view document that stores no picture is drawn when it opens; that picture
// is what the document holds, so closing the untouched document asks nothing.
// A refresh is a new picture and counts as a change again.
TEST(FenetreVue, AnUntouchedDocumentDrawnOnOpeningIsNoChange) {
  Atelier a(4);
  const QString vue = a.dossier.path() + "/vallee.vue";
  ASSERT_TRUE(QFile::copy(QUORVEL_SOURCE_DIR "/tests/data/vallee.vue", vue));
  ASSERT_FALSE(QFileInfo::exists(a.dossier.path() + "/vallee.jpg"));
  a.dialogues->ouvertures.push_back(vue.toStdString());
  a.commande(Commande::ouvrir);
  Programme::vider();
  TVuewindow* v = a.vue(1);
  ASSERT_NE(v, nullptr);
  a.attendre_image(v);
  ASSERT_TRUE(v->image_existe());
  EXPECT_EQ(v->modifiee, 0);
  a.ui.entries.clear();
  EXPECT_TRUE(a.w->fermetures().fermer_avant_sortie());
  EXPECT_TRUE(a.ui.entries.empty()) << a.ui.entries[0].text;
  v->rafraichir_vue();
  v->rendre();
  EXPECT_EQ(v->modifiee, 1);
}

static void PrintTo(const QSize& s, std::ostream* o) { *o << s.width() << " x " << s.height(); }

namespace {

// The picture size a view document stores in its rows after " [VUE]".
QSize taille_stockee(const QString& chemin) {
  const QStringList lignes = QString::fromStdString(lire_tout(chemin)).split(QRegularExpression("\r?\n"));
  const qsizetype k = lignes.indexOf(" [VUE]");
  if (k < 0 || k + 2 >= lignes.size()) return {};
  return {lignes[k + 1].trimmed().toInt(), lignes[k + 2].trimmed().toInt()};
}

// "View options ..." answered OK in mode "Redraw" through the real dialog,
// at the scale the dialog shows or at another one, then the deferred refresh
// it asks for.
void redessiner_par_options(Atelier& a, TVuewindow* v, std::optional<int> echelle = {}) {
  a.w->commandes_options_vue().executer = [&](const dialogs::EntreesOptionsVue& e, dialogs::SortiesOptionsVue& s) {
    dialogs::TPagesDlg2 d(a.w.get());
    d.remplir(e);
    auto* refaire = d.findChild<QRadioButton*>("RadioButton_Refaire");
    EXPECT_TRUE(refaire && refaire->isEnabled());
    if (refaire) refaire->click();
    s = d.sorties();
    if (echelle) s.vue.taille = *echelle;
    return 1;
  };
  a.w->activer(v);
  a.commande(Commande::options_vue);
  QElapsedTimer t;
  t.start();
  while ((a.w->timerthread().isActive() || !v->image_existe()) && t.elapsed() < 20000)
    QApplication::processEvents(QEventLoop::AllEvents, 20);
}

}  // namespace

// A view's frame is the picture it shows: reopened from its document, drawn
// again (F9 or the view options' "Redraw"), saved and reopened, in fixed and
// in variable scale, the size stays what the document says, in the stored
// rows, the picture beside the document, the picture shown and the status bar,
// also at a scale of 1:1.5, whose picture is not enlarged again on reopening.
// At 1:1 no scroll bar appears; at 1:1.5 the picture is one and a half times
// its window's picture area, which scrolls. Laid out again at its own scale a
// fixed-scale view keeps its picture; a view turned to fixed scale takes its
// picture area.
TEST(FenetreVue, TheFrameSizeHoldsThroughRedrawsAndReopenings) {
  struct Cas {
    bool fixe;
    int echelle;
  };
  for (const Cas cas : {Cas{true, 10}, Cas{false, 10}, Cas{true, 15}}) {
    const bool fixe = cas.fixe;
    Atelier a(7);
    test_rendus::controle_rendus().rendu_factice = [](Tmatrice&, render::Bitmap&, const param_vue&, ProgressSink*,
                                   platform::WindowHandle) {};
    std::string texte = lire_tout(QString(QUORVEL_SOURCE_DIR) + "/tests/data/vallee.vue");
    if (!fixe)
      for (const std::string& cle : {std::string("Taille image fixe  ="), std::string("Deformation autor. =")})
        texte.replace(texte.find(cle + "Oui"), cle.size() + 3, cle + "Non");
    const std::string echelle = "Taille             =          10";
    texte.replace(texte.find(echelle), echelle.size(), "Taille             =          " + std::to_string(cas.echelle));
    const QString chemin = a.dossier.path() + "/v.vue";
    ecrire_tout(chemin, texte);
    TVuewindow* v = nullptr;
    auto ouvrir = [&] {
      a.dialogues->ouvertures.push_back(chemin.toStdString());
      a.commande(Commande::ouvrir);
      v = a.vue(a.w->etat.vue_courante);
      ASSERT_NE(v, nullptr);
      a.attendre_image(v);
      for (int k = 0; k < 5; ++k) QApplication::processEvents();
    };
    auto taille_image = [&] { return QSize(v->image().width(), v->image().height()); };
    ouvrir();
    const QSize taille = taille_image();
    EXPECT_EQ(taille, QSize(640, 480)) << "the document's size, drawn anew";
    for (int cycle = 0; cycle < 4; ++cycle) {
      SCOPED_TRACE(testing::Message() << (fixe ? "fixed" : "variable") << " scale " << cas.echelle << ", cycle "
                                      << cycle);
      if (cycle % 2 == 0) {
        a.w->activer(v);
        a.commande(Commande::rafraichir_vue);
        a.attendre_image(v);
      } else {
        redessiner_par_options(a, v);
      }
      EXPECT_EQ(taille_image(), taille) << "drawn again";
      EXPECT_EQ(QSize(v->largeur_image, v->hauteur_image), taille) << "the stored size, drawn again";
      a.dialogues->sauvegardes.push_back(chemin.toStdString());
      a.commande(Commande::enregistrer_vue);
      EXPECT_EQ(taille_stockee(chemin), taille) << "the size the document stores";
      EXPECT_EQ(QImage(a.dossier.path() + "/v.bmp").size(), taille) << "the picture beside the document";
      a.commande(Commande::fermer_montagnes);
      Programme::vider();
      ouvrir();
      EXPECT_EQ(taille_image(), taille) << "the stored picture";
      EXPECT_EQ(QSize(v->largeur_image, v->hauteur_image), taille) << "the stored size, reopened";
      EXPECT_EQ(v->panneau(1)->text(), QString("Frame: %1 x %2").arg(taille.width()).arg(taille.height()));
      EXPECT_EQ(v->findChild<QScrollArea*>()->horizontalScrollBar()->isVisible(), cas.echelle > 10);
      EXPECT_EQ(v->findChild<QScrollArea*>()->verticalScrollBar()->isVisible(), cas.echelle > 10);
    }
    v->calculer_taille_vue(true);
    EXPECT_EQ(QSize(v->largeur_image, v->hauteur_image), taille) << "laid out again";
    if (!fixe) {
      v->parametres.echelle_fixe = 1;
      v->calculer_taille_vue(true);
      EXPECT_EQ(QSize(v->largeur_image, v->hauteur_image), v->size() - QSize(6, 19 + 10)) << "the picture area";
    }
  }
}

// A fixed-scale view resized by the user takes, on the view options' OK, its
// picture area (the client area less the status bar and the margin round the
// picture) times the scale, at a new scale too; laid out again untouched it
// keeps that picture, shown whole without scroll bars at 1:1.
TEST(FenetreVue, AResizedFixedScaleViewTakesItsPictureAreaTimesTheScaleOnOK) {
  Atelier a(7);
  test_rendus::controle_rendus().rendu_factice = [](Tmatrice&, render::Bitmap&, const param_vue&, ProgressSink*,
                                                    platform::WindowHandle) {};
  const QString chemin = a.dossier.path() + "/v.vue";
  ecrire_tout(chemin, lire_tout(QString(QUORVEL_SOURCE_DIR) + "/tests/data/vallee.vue"));
  a.dialogues->ouvertures.push_back(chemin.toStdString());
  a.commande(Commande::ouvrir);
  TVuewindow* v = a.vue(a.w->etat.vue_courante);
  ASSERT_NE(v, nullptr);
  a.attendre_image(v);
  ASSERT_EQ(QSize(v->largeur_image, v->hauteur_image), QSize(640, 480));
  v->sous_fenetre()->resize(v->sous_fenetre()->size() + QSize(120, 60));
  const QSize aire = v->size() - QSize(6, 19 + 10);
  ASSERT_GE(aire.width(), 640 + 120);
  for (const int echelle : {15, 10, 10}) {
    SCOPED_TRACE(echelle);
    redessiner_par_options(a, v, echelle);
    const QSize attendue(Round(aire.width() * echelle * 0.1), Round(aire.height() * echelle * 0.1));
    EXPECT_EQ(QSize(v->largeur_image, v->hauteur_image), attendue);
    EXPECT_EQ(QSize(v->image().width(), v->image().height()), attendue);
    EXPECT_EQ(v->panneau(1)->text().toStdString(),
              QString("Frame: %1 x %2").arg(attendue.width()).arg(attendue.height()).toStdString());
  }
  for (int k = 0; k < 5; ++k) QApplication::processEvents();
  EXPECT_FALSE(v->findChild<QScrollArea*>()->horizontalScrollBar()->isVisible());
  EXPECT_FALSE(v->findChild<QScrollArea*>()->verticalScrollBar()->isVisible());
}

// Closing the active view (by the menu or its close box) or mountain makes the
// next window opened after it active, and the status line names that window's
// documents, whether the explorer (which holds the keyboard) is shown or not.
TEST(Explorateur, ClosingTheActiveViewOrMountainActivatesTheNextWindow) {
  for (bool explorateur : {false, true}) {
    SCOPED_TRACE(explorateur ? "explorer shown" : "explorer hidden");
    Atelier a(4);
    QApplication::setActiveWindow(a.w.get());
    auto repos = [] {
      for (int k = 0; k < 10; ++k) QApplication::processEvents();
    };
    auto active = [&](QWidget* attendue, const char* gauche, const char* droite) {
      repos();
      EXPECT_EQ(a.w->enfant_actif(), attendue);
      EXPECT_EQ(a.w->ligne_etat().toStdString(), gauche);
      EXPECT_EQ(a.w->panneau_droit().toStdString(), droite);
    };
    a.commande(Commande::nouvelle_montagne);
    a.commande(Commande::voir);
    a.attendre_image(a.vue(1));
    if (explorateur) a.commande(Commande::explorateur);
    a.commande(Commande::nouvelle_montagne);
    for (int v = 2; v <= 5; ++v) {
      a.commande(Commande::voir);
      a.attendre_image(a.vue(v));
    }
    repos();
    ASSERT_EQ(a.w->arbre()->isVisible(), explorateur);
    if (explorateur) {
      ASSERT_EQ(QApplication::focusWidget(), a.w->arbre());
    }
    // The last window opened, a view document that asks its question, while
    // events go on: the next is the first, round the end.
    a.vue(5)->document_vue = 1;
    a.vue(5)->modifiee = 1;
    a.ui.pendant_question = repos;
    a.commande(Commande::fermer_vue);
    ASSERT_EQ(a.ui.entries.size(), 1u);
    active(a.carte(1), "<< Mountain New #  1 >>", " View # 1");
    // A view in the middle: the one opened after it.
    a.w->activer(a.vue(2));
    repos();
    a.commande(Commande::fermer_vue);
    active(a.vue(3), "Mountain New #  2", "<< View # 3 >>");
    EXPECT_EQ(a.w->etat.vue_courante, 3);
    // Its own close box.
    a.vue(3)->sous_fenetre()->close();
    active(a.vue(4), "Mountain New #  2", "<< View # 4 >>");
    // The active view's mountain, with its card: the windows left are mountain 1's.
    a.ui.answers = {false};
    a.commande(Commande::fermer_montagne);
    active(a.carte(1), "<< Mountain New #  1 >>", " View # 1");
    EXPECT_EQ(a.w->etat.montagne_courante, 1);
    // The last mountain: nothing is left to name.
    a.commande(Commande::fermer_montagne);
    active(nullptr, "", "");
    EXPECT_EQ(a.w->etat.nombre_montagnes, 0);
  }
}

// The import window opens with the keyboard, for its letter keys, also when
// the explorer's tree had it.
TEST(Explorateur, ANewImportWindowHasTheKeyboard) {
  Atelier a;
  QApplication::setActiveWindow(a.w.get());
  a.vue_active();
  a.commande(Commande::explorateur);
  for (int k = 0; k < 10; ++k) QApplication::processEvents();
  a.w->arbre()->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), a.w->arbre());
  const QString source = a.dossier.path() + "/plat.bmp";
  ASSERT_TRUE(render::ecrire_bmp(source.toStdString(), render::Bitmap(300, 300, render::pixel_rgb(9, 9, 9))));
  a.dialogues->imports.push_back(source.toStdString());
  // The file dialog was the active window until it closed.
  QApplication::setActiveWindow(nullptr);
  a.commande(Commande::importer);
  QApplication::setActiveWindow(a.w.get());
  for (int k = 0; k < 10; ++k) QApplication::processEvents();
  QWidget* fenetre = a.w->importation.data();
  ASSERT_NE(fenetre, nullptr);
  EXPECT_TRUE(QApplication::focusWidget() == fenetre || fenetre->isAncestorOf(QApplication::focusWidget()));
}

// The memo, opened by its button or by "Type text", takes the keyboard and
// keeps it while the user types, also through a visit to another program or
// to a box of the program's own and a click on the toolbar, whether the
// explorer is shown or not; the
// tree still follows the card's node, and takes the keyboard again when a
// window is chosen in it or with Ctrl+F6.
TEST(Explorateur, TheMemoKeepsTheKeyboardItIsGiven) {
  for (bool explorateur : {false, true})
    for (const char* porte : {"Memo", "Type text"}) {
      SCOPED_TRACE(std::string(explorateur ? "explorer shown, " : "explorer hidden, ") + porte);
      Atelier a(4);
      QApplication::setActiveWindow(a.w.get());
      auto repos = [] {
        for (int k = 0; k < 10; ++k) QApplication::processEvents();
      };
      QTreeWidget* arbre = a.w->arbre();
      auto choisir = [&](QTreeWidgetItem* noeud) {
        QTest::mouseClick(arbre->viewport(), Qt::LeftButton, {}, arbre->visualItemRect(noeud).center());
        repos();
      };
      a.commande(Commande::nouvelle_montagne);
      a.commande(Commande::voir);
      a.attendre_image(a.vue(1));
      if (explorateur) a.commande(Commande::explorateur);
      repos();
      ASSERT_EQ(arbre->isVisible(), explorateur);
      TMatricewindow* c = a.carte(1);
      QTreeWidgetItem* noeud = a.w->noeuds_montagnes[1];
      // The card comes forward by its node, or by its title bar.
      if (explorateur) {
        choisir(noeud);
        EXPECT_EQ(QApplication::focusWidget(), arbre);
      } else {
        QMdiSubWindow* s = c->sous_fenetre();
        QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(s->width() / 2, 4));
        repos();
      }
      ASSERT_EQ(a.w->enfant_actif(), c);
      // The memo, closed, holds the keyboard as the card's first control
      // does; a click on Memo, pressed and let go at once, opens it.
      c->Memo1->setFocus();
      if (std::string(porte) == "Memo") QTest::mouseClick(c->BitBtn1, Qt::LeftButton);
      else a.commande(Commande::taper_texte);
      repos();
      // Each key goes where the keyboard is, and events run between keys.
      auto taper = [&](const std::string& texte) {
        for (const char k : texte) {
          QWidget* f = QApplication::focusWidget();
          ASSERT_NE(f, nullptr);
          QTest::keyClick(f, k);
          repos();
        }
      };
      taper("ridge");
      // Away to another program's window (the program has none active) or to
      // a box of its own, and back by the window manager's activation (a task
      // switcher, a click on the title bar), with or without a click on a blank
      // part of the toolbar; or that click alone.
      QDialog boite(a.w.get());
      QWidget* barre = a.w->bouton(Commande::ouvrir)->parentWidget();
      enum Ailleurs { reste, programme, boite_du_programme };
      const std::tuple<Ailleurs, bool, const char*> visites[] = {
          {programme, false, " t"}, {reste, true, "o"}, {programme, true, "p"}, {boite_du_programme, false, "s"}};
      for (const auto& [ailleurs, par_la_barre, texte] : visites) {
        if (ailleurs != reste) {
          boite.setVisible(ailleurs == boite_du_programme);
          QApplication::setActiveWindow(ailleurs == boite_du_programme ? &boite : nullptr);
          repos();
          boite.hide();
          QApplication::setActiveWindow(a.w.get());
        }
        if (par_la_barre) QTest::mouseClick(barre, Qt::LeftButton, {}, QPoint(barre->width() - 8, barre->height() / 2));
        repos();
        taper(texte);
      }
      EXPECT_EQ(QApplication::focusWidget(), c->Memo1);
      EXPECT_EQ(c->Memo1->toPlainText(), "ridge tops");
      EXPECT_EQ(c->parametres().texte[0], "ridge tops");
      EXPECT_EQ(a.w->enfant_actif(), c);
      EXPECT_EQ(arbre->selectedItems(), QList<QTreeWidgetItem*>{noeud});
      if (!explorateur) {
        // The card made active again, by Ctrl+F6 there and back, by a click on
        // its body after one on the view, or by a command: the memo has the keys.
        const std::function<void()> retours[] = {
            [&] {
              for (int k = 0; k < 2; ++k) QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6, Qt::ControlModifier);
            },
            [&] {
              QTest::mouseClick(a.vue(1), Qt::LeftButton);
              repos();
              QTest::mouseClick(c->Label1, Qt::LeftButton);
            },
            [&] {
              a.w->activer(a.vue(1));
              a.w->activer(c);
            }};
        for (const auto& retour : retours) {
          retour();
          repos();
          taper("!");
        }
        EXPECT_EQ(c->Memo1->toPlainText(), "ridge tops!!!");
        continue;
      }
      // A window chosen in the tree: the tree keeps the keyboard, for the view and for the card.
      choisir(a.w->noeuds_vues[1]);
      EXPECT_EQ(a.w->enfant_actif(), a.vue(1));
      EXPECT_EQ(QApplication::focusWidget(), arbre);
      choisir(noeud);
      EXPECT_EQ(a.w->enfant_actif(), c);
      EXPECT_EQ(QApplication::focusWidget(), arbre);
      // Ctrl+F6 from the memo to the view and on round to the card: the tree has the keyboard.
      c->Memo1->setFocus();
      repos();
      for (QWidget* suivante : {static_cast<QWidget*>(a.vue(1)), static_cast<QWidget*>(c)}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6, Qt::ControlModifier);
        repos();
        EXPECT_EQ(a.w->enfant_actif(), suivante);
        EXPECT_EQ(QApplication::focusWidget(), arbre);
      }
    }
}
