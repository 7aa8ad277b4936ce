// The import window driven offscreen: opening each kind of source (labels,
// frame, display scale, aerial picture, altitude bars), zoom, moves, turns
// and the scale bar through keys and buttons, the pointer readout at the
// picture's edges, refused and unknown sources, the import itself, and help.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <cmath>

#include "fenetres/aide_enfants.h"
#include "controls/application.h"
#include "controls/backpanel.h"
#include "controls/button.h"
#include "controls/scrollbar.h"
#include "controls/speedbutton.h"
#include "controls/spinedit.h"
#include "import/fenetre_import.h"
#include "import_support.h"
#include "render/jpeg.h"
#include "tests/support/fakes.h"

namespace {

using namespace import_test;
constexpr double pi = 3.14159265358979323846;

void Key(QWidget* w, int key) {
  QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &e);
}

void Move(QWidget* w, QPoint at) {
  QMouseEvent e(QEvent::MouseMove, QPointF(at), QPointF(w->mapToGlobal(at)), Qt::NoButton, Qt::NoButton,
                Qt::NoModifier);
  QCoreApplication::sendEvent(w, &e);
}

void Click(QWidget* w, QPoint at) {
  QMouseEvent e(QEvent::MouseButtonPress, QPointF(at), QPointF(w->mapToGlobal(at)), Qt::LeftButton, Qt::LeftButton,
                Qt::NoModifier);
  QCoreApplication::sendEvent(w, &e);
}

// A text grid of N x N written in the folder (N + 1 lines); heights by (line, column).
std::string grille(const Dossier& d, const std::string& nom, int n,
                   const std::function<int(int, int)>& v = [](int q, int p) { return (q + p) % 400; }) {
  const std::string chemin = d.chemin(nom);
  EXPECT_EQ(ecrire_fichier(chemin, grille_txt(n + 1, n, v)), "");
  return chemin;
}

std::string bitmap(const Dossier& d, const std::string& nom, int w, int h) {
  return bmp(d, nom, w, h, [](int x, int y) { return render::pixel_rgb(x % 256, y % 256, 7); });
}

// A window with a source opened by the loader the main window would choose.
struct Ouverte {
  ScopedFakeUserInterface ui;
  TImportation w;
  explicit Ouverte(const std::string& chemin) {
    w.resize(760, 550);
    if (fin_majuscule(chemin) == ".BMP")
      w.importer_bmp(chemin, param_mat{});
    else
      w.importer_altitudes(chemin, param_mat{});
  }
};

TEST(FenetreImport, OpeningATextGridSetsCaptionFrameDegreeAndReducedDisplay) {
  Dossier d("fenetre-txt");
  const std::string chemin = grille(d, "g.txt", 1000);
  Ouverte o(chemin);
  TImportation& w = o.w;
  ASSERT_TRUE(w.chargee());
  EXPECT_EQ(w.windowTitle(), QString::fromStdString("Importation of " + chemin));
  EXPECT_EQ(w.texte_panneau(0), "Size: 1000 X 1000");
  EXPECT_EQ(w.cadre().L0, 953);
  const auto s = w.sommets();
  EXPECT_EQ(s[0], (render::Point{976, 875}));
  EXPECT_EQ(s[1], (render::Point{24, 875}));
  EXPECT_EQ(s[2], (render::Point{500, 50}));
  EXPECT_EQ(w.SpinEdit_maillage->Value(), 9);
  EXPECT_EQ(w.Label_echelle->text(), "1.00");
  EXPECT_EQ(w.Label_scale->text(), "0");
  EXPECT_EQ(w.echelle_affichage(), 0.5);
  EXPECT_EQ(w.SpeedButtonzoom->toolTip(), "Enlarge twice");
  EXPECT_EQ(w.image_affichee().size(), QSize(500, 500));
  EXPECT_TRUE(w.BitBtn_Importer->isEnabled());
  EXPECT_TRUE(o.ui.entries.empty());
}

TEST(FenetreImport, DemLabelsAndTheNodataMinimumKeptUntilTheBarMoves) {
  Ouverte niveau2(fixture("g121_level2.dem"));
  EXPECT_EQ(niveau2.w.Label_scale->text(), "2");
  const std::string nom = niveau2.w.importation().description;
  EXPECT_EQ(nom.size(), 64u);
  EXPECT_EQ(niveau2.w.texte_panneau(4), QString::fromStdString(nom));
  EXPECT_EQ(niveau2.w.echelle_affichage(), 1.0);

  Ouverte o(fixture("g121.dem"));
  TImportation& w = o.w;
  EXPECT_EQ(w.Label_min->text(), "-32767");
  EXPECT_EQ(w.Label_max->text(), "7900");
  EXPECT_EQ(w.ScrollBar_alt1->value(), 4000);
  EXPECT_EQ(w.ScrollBar_alt2->value(), -1000);
  EXPECT_EQ(w.importation().minimum, -32767);  // opening changed nothing
  w.BitBtn_importClick();
  EXPECT_EQ(w.importation().minimum, -32767);
  EXPECT_EQ(w.importation_faite, 1);
  ASSERT_TRUE(w.terrain);
  EXPECT_EQ(w.taille, 257);
  EXPECT_EQ(w.degre, 8);
  EXPECT_EQ(w.commentaire, w.importation().description);
}

TEST(FenetreImport, WideSourceStartsAtAQuarterAndZoomKeepsTheFrame) {
  Dossier d("fenetre-large");
  Ouverte o(bitmap(d, "l.bmp", 1500, 100));
  TImportation& w = o.w;
  EXPECT_EQ(w.echelle_affichage(), 0.25);
  EXPECT_EQ(w.SpeedButtonzoom->toolTip(), "Enlarge four times");
  const cadre_import avant = w.cadre();
  const auto sommets = w.sommets();
  Key(&w, Qt::Key_Z);
  EXPECT_EQ(w.echelle_affichage(), 1.0);
  EXPECT_EQ(w.SpeedButtonzoom->toolTip(), "Reduce four times");
  EXPECT_EQ(w.image_affichee().size(), QSize(1500, 100));
  EXPECT_EQ(w.cadre().cx, avant.cx);
  EXPECT_EQ(w.cadre().cy, avant.cy);
  EXPECT_EQ(w.cadre().rotation, avant.rotation);
  EXPECT_EQ(w.cadre().f, avant.f);
  EXPECT_EQ(w.sommets(), sommets);
  Key(&w, Qt::Key_Z);
  EXPECT_EQ(w.echelle_affichage(), 0.25);
  EXPECT_EQ(w.sommets(), sommets);
}

TEST(FenetreImport, PointerReadoutPastTheEdgesReadsNothing) {
  Dossier d("fenetre-souris");
  Ouverte o(bitmap(d, "l.bmp", 1500, 100));
  TImportation& w = o.w;
  w.resize(1200, 550);  // wider than the reduced picture (375 x 25)
  Move(w.Image_importee, QPoint(375, 10));  // Round(375 / 0.25) = 1500 = W
  EXPECT_EQ(w.texte_panneau(1), "X= ");
  EXPECT_EQ(w.texte_panneau(3), "Height =");
  Move(w.Image_importee, QPoint(10, 25));  // row 100 = H
  EXPECT_EQ(w.texte_panneau(2), "Y= ");
  EXPECT_EQ(w.texte_panneau(3), "Height =");
  Move(w.Image_importee, QPoint(100, 10));  // pixel (400, 40): 400 % 256 + 40 + 7
  EXPECT_EQ(w.texte_panneau(1), "X= 400");
  EXPECT_EQ(w.texte_panneau(2), "Y= 40");
  EXPECT_EQ(w.texte_panneau(3), "Height = " + QString::number(144 + 40 + 7));
}

// Narrowed (Window > Mosaic), the status panels share what is left, none over
// the next one or the buttons' panel; at rest they keep their widths.
TEST(FenetreImport, StatusPanelsShareANarrowedWindowWithoutOverlapping) {
  Dossier d("fenetre-etroite");
  Ouverte o(grille(d, "g.txt", 401));
  QWidget zone;  // inside the main window's area, as there: no minimum size holds it
  o.w.setParent(&zone);
  zone.show();
  for (int largeur : {200, 300, 420, 760}) {
    o.w.resize(largeur, 550);
    o.w.layout()->activate();
    for (int k = 0; k < 5; ++k)
      EXPECT_LT(o.w.StatusBar_import[k]->geometry().right(),
                (k < 4 ? o.w.StatusBar_import[k + 1] : static_cast<QWidget*>(o.w.CtlBackPanel1))->x())
          << largeur << " " << k;
  }
  EXPECT_EQ(o.w.StatusBar_import[0]->width(), 120) << "at rest";
  o.w.setParent(nullptr);
}

TEST(FenetreImport, BitmapAltitudeBarsShowTheirPositionsAndSetMini) {
  Dossier d("fenetre-bmp");
  Ouverte o(bitmap(d, "b.bmp", 300, 300));
  TImportation& w = o.w;
  EXPECT_EQ(w.ScrollBar_alt1->value(), 3001);
  EXPECT_EQ(w.ScrollBar_alt2->value(), 2000);
  EXPECT_EQ(w.Label_min->text(), "-1");
  w.ScrollBar_alt1->setValue(3000);
  EXPECT_EQ(w.Label_min->text(), "0");
  EXPECT_EQ(w.importation().minimum, 0);
  w.ScrollBar_alt2->setValue(1000);
  EXPECT_EQ(w.importation().maximum, 2000);
  EXPECT_FALSE(w.Bouton_Photo->isEnabled());
  EXPECT_FALSE(w.SpeedbuttonPhoto->isEnabled());
}

TEST(FenetreImport, MovesAndTurnsThroughKeysWithTheirSteps) {
  Dossier d("fenetre-pas");
  for (auto [n, pas] : {std::pair{1000, 3}, std::pair{400, 1}}) {
    Ouverte o(grille(d, "p" + std::to_string(n) + ".txt", n));
    const int cx = o.w.cadre().cx;
    Key(&o.w, Qt::Key_S);
    EXPECT_EQ(o.w.cadre().cx, cx - pas) << n;
  }
  Ouverte large(bitmap(d, "l.bmp", 1500, 1500));
  const int cx = large.w.cadre().cx;
  Key(&large.w, Qt::Key_S);
  EXPECT_EQ(large.w.cadre().cx, cx - 6);

  TImportation& w = large.w;
  for (int k = 0; k < 200; ++k) Key(&w, Qt::Key_R);
  EXPECT_EQ(w.cadre().rotation, 2 * pi);
  Key(&w, Qt::Key_T);
  EXPECT_DOUBLE_EQ(w.cadre().rotation, 2 * pi - 0.006 * pi);
}

TEST(FenetreImport, MoveButtonsRepeatWhileHeldOnTheTimerPool) {
  CtlTimerPool* pool = CtlApplication::Instance()->Timers();
  pool->SetManualStepping(true);
  Dossier d("fenetre-repetition");
  Ouverte o(grille(d, "r.txt", 400));
  TImportation& w = o.w;
  w.show();
  const int cx = w.cadre().cx;
  const QPoint milieu = w.BitBtn_Left->rect().center();
  QTest::mousePress(w.BitBtn_Left, Qt::LeftButton, Qt::NoModifier, milieu);
  for (int k = 0; k < 40; ++k) pool->Step();
  QTest::mouseRelease(w.BitBtn_Left, Qt::LeftButton, Qt::NoModifier, milieu);
  const int pendant = w.cadre().cx;
  for (int k = 0; k < 10; ++k) pool->Step();
  pool->SetManualStepping(false);
  EXPECT_LT(pendant, cx - 5);  // the press, then repeats every step once the delay has passed
  EXPECT_EQ(w.cadre().cx, pendant);  // released: no more
  EXPECT_EQ(w.BitBtn_Left->RepeatingInterval(), 50);
}

TEST(FenetreImport, GoOverOffRefusesTheRepeatThatLeftThePicture) {
  Dossier d("fenetre-debord");
  Ouverte o(grille(d, "g.txt", 1000));
  TImportation& w = o.w;
  w.checkbox_debord->setChecked(false);
  for (int k = 0; k < 1000 && w.manipulation().dedans(); ++k) Key(&w, Qt::Key_E);
  ASSERT_FALSE(w.manipulation().dedans());
  const int cy = w.cadre().cy;
  Key(&w, Qt::Key_E);
  EXPECT_EQ(w.cadre().cy, cy);
  Key(&w, Qt::Key_C);
  EXPECT_EQ(w.cadre().cy, cy + 1);
  EXPECT_TRUE(w.manipulation().dedans());
  w.checkbox_debord->setChecked(true);
  for (int k = 0; k < 5; ++k) Key(&w, Qt::Key_E);
  EXPECT_EQ(w.cadre().cy, cy + 1 - 15);
}

TEST(FenetreImport, ScaleBarSetsTheFrameScaleAndRefusesGrowingOutside) {
  Dossier d("fenetre-echelle");
  Ouverte o(grille(d, "g.txt", 1000));
  TImportation& w = o.w;
  CtlScrollBar* bar = w.ScrollBar_ech;
  for (int k = 0; k < 10; ++k) Key(bar, Qt::Key_PageUp);
  EXPECT_EQ(bar->Position(), 20);
  EXPECT_DOUBLE_EQ(w.cadre().f, 0.20);
  EXPECT_EQ(w.Label_echelle->text(), "0.20");
  // Growing stops once the frame has left the picture (1.10 for this source).
  for (int k = 0; k < 15; ++k) Key(bar, Qt::Key_PageDown);
  EXPECT_EQ(bar->Position(), 110);
  EXPECT_DOUBLE_EQ(w.cadre().f, 1.10);
  EXPECT_EQ(w.Label_echelle->text(), "1.10");
  ASSERT_FALSE(w.manipulation().dedans());
  bar->Increase();  // larger while outside: the bar goes back
  EXPECT_EQ(bar->Position(), 110);
  EXPECT_DOUBLE_EQ(w.cadre().f, 1.10);
  Key(bar, Qt::Key_Up);  // smaller: accepted
  EXPECT_EQ(bar->Position(), 109);
  EXPECT_DOUBLE_EQ(w.cadre().f, 1.09);
}

TEST(FenetreImport, AerialPictureOfTheSameSizeOnlyAndTheSwitchBack) {
  Dossier d("fenetre-photo");
  const std::string chemin = grille(d, "a.txt", 250);
  render::Bitmap photo(250, 250, render::pixel_rgb(10, 200, 30));
  ASSERT_TRUE(render::ecrire_jpeg(d.chemin("a.jpg"), photo, 90));
  Ouverte o(chemin);
  TImportation& w = o.w;
  EXPECT_TRUE(w.Bouton_Photo->isChecked());
  EXPECT_TRUE(w.SpeedbuttonPhoto->isEnabled());
  const QRgb relief = w.image_affichee().pixel(100, 100);
  Key(&w, Qt::Key_P);
  EXPECT_TRUE(w.photo_affichee());
  EXPECT_EQ(w.SpeedbuttonPhoto->toolTip(), "Display DEM relief (P)");
  EXPECT_NE(w.image_affichee().pixel(100, 100), relief);
  w.Bouton_Photo->setChecked(false);
  EXPECT_FALSE(w.photo_affichee());
  EXPECT_EQ(w.image_affichee().pixel(100, 100), relief);

  const std::string autre = grille(d, "b.txt", 260);
  ASSERT_TRUE(render::ecrire_jpeg(d.chemin("b.jpg"), photo, 90));  // 250 x 250 beside a 260 grid
  Ouverte o2(autre);
  EXPECT_FALSE(o2.w.Bouton_Photo->isChecked());
  EXPECT_FALSE(o2.w.Bouton_Photo->isEnabled());
  EXPECT_FALSE(o2.w.SpeedbuttonPhoto->isEnabled());
  Key(&o2.w, Qt::Key_P);
  EXPECT_FALSE(o2.w.photo_affichee());
}

TEST(FenetreImport, RefusedSourceWarnsAndClosesUnknownOneLoadsNothing) {
  Dossier d("fenetre-refus");
  const std::string court = d.chemin("court.txt");
  ASSERT_EQ(ecrire_fichier(court, grille_txt(250, 250, [](int, int) { return 1; })), "");
  Ouverte o(court);
  ASSERT_EQ(o.ui.entries.size(), 1u);
  EXPECT_EQ(o.ui.entries[0].caption, "Import ");
  EXPECT_NE(o.ui.entries[0].text.find("251"), std::string::npos);
  EXPECT_EQ(o.w.fermee, 1);
  EXPECT_FALSE(o.w.chargee());

  TImportation vide;  // the main window calls no loader for another ending
  EXPECT_FALSE(vide.BitBtn_Importer->isEnabled());
  EXPECT_EQ(vide.texte_panneau(0), "No source loaded");
  Key(&vide, Qt::Key_Return);
  Key(&vide, Qt::Key_R);
  Key(&vide, Qt::Key_Z);
  EXPECT_EQ(vide.importation_faite, 0);
  EXPECT_FALSE(vide.terrain);
}

// Each key does what its button does; Y and U move the focus.
TEST(FenetreImport, KeysDoWhatTheirButtonsDo) {
  Dossier d("fenetre-touches");
  const std::string chemin = grille(d, "k.txt", 600);
  struct Cas {
    int touche;
    std::function<void(TImportation&)> bouton;
  };
  const std::vector<Cas> cas = {
      {Qt::Key_Z, [](TImportation& w) { emit w.SpeedButtonzoom->clicked(); }},
      {Qt::Key_R, [](TImportation& w) { w.BitBTn_rotg->click(); }},
      {Qt::Key_T, [](TImportation& w) { w.BitBtn_rotd->click(); }},
      {Qt::Key_S, [](TImportation& w) { w.BitBtn_Left->click(); }},
      {Qt::Key_E, [](TImportation& w) { w.BitBtn_Up->click(); }},
      {Qt::Key_C, [](TImportation& w) { w.BitBtn_Down->click(); }},
      {Qt::Key_F, [](TImportation& w) { w.BitBtn_Right->click(); }},
      {Qt::Key_Return, [](TImportation& w) { w.BitBtn_Importer->click(); }},
  };
  auto etat = [](const TImportation& w) {
    return std::tuple(w.cadre().cx, w.cadre().cy, w.cadre().rotation, w.echelle_affichage(), w.importation_faite);
  };
  for (const Cas& c : cas) {
    Ouverte par_touche(chemin), par_bouton(chemin);
    Key(&par_touche.w, c.touche);
    c.bouton(par_bouton.w);
    EXPECT_EQ(etat(par_touche.w), etat(par_bouton.w)) << c.touche;
    EXPECT_NE(etat(par_touche.w), etat(Ouverte(chemin).w)) << c.touche;
  }
  Ouverte o(chemin);
  o.w.show();
  QApplication::setActiveWindow(&o.w);
  Key(&o.w, Qt::Key_Y);
  EXPECT_TRUE(o.w.ScrollBar_ech->hasFocus());
  Key(&o.w, Qt::Key_U);
  EXPECT_TRUE(o.w.Image_importee->hasFocus());
}

// With the mesh-degree field focused, the letters still act on the window;
// digits, Backspace and the arrows edit the field, and Enter imports.
TEST(FenetreImport, LettersActOnTheWindowWhileTheMeshDegreeFieldHasTheFocus) {
  Dossier d("fenetre-champ");
  Ouverte o(grille(d, "m.txt", 300));
  Ouverte temoin(grille(d, "m.txt", 300));
  o.w.show();
  QApplication::setActiveWindow(&o.w);
  o.w.SpinEdit_maillage->setFocus();
  ASSERT_TRUE(o.w.SpinEdit_maillage->hasFocus());
  auto taper = [](int touche) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_TRUE(focus) << touche;
    QTest::keyClick(focus, Qt::Key(touche));
  };
  const QString texte = o.w.SpinEdit_maillage->text();
  for (int touche : {Qt::Key_R, Qt::Key_T, Qt::Key_R, Qt::Key_S, Qt::Key_E, Qt::Key_C, Qt::Key_F, Qt::Key_F, Qt::Key_Z,
                     Qt::Key_P})
    taper(touche);
  for (auto b : {temoin.w.BitBTn_rotg, temoin.w.BitBtn_rotd, temoin.w.BitBTn_rotg, temoin.w.BitBtn_Left,
                 temoin.w.BitBtn_Up, temoin.w.BitBtn_Down, temoin.w.BitBtn_Right, temoin.w.BitBtn_Right})
    b->click();
  EXPECT_EQ(o.w.SpinEdit_maillage->text(), texte);
  EXPECT_EQ(o.w.cadre().cx, temoin.w.cadre().cx);
  EXPECT_EQ(o.w.cadre().cx, 151);  // right twice, left once: one step of 1 pixel from 150
  EXPECT_EQ(o.w.cadre().cy, temoin.w.cadre().cy);
  EXPECT_DOUBLE_EQ(o.w.cadre().rotation, temoin.w.cadre().rotation);
  EXPECT_NE(o.w.cadre().rotation, pi);
  EXPECT_EQ(o.w.echelle_affichage(), 0.5);
  // The field still edits: Backspace, a digit, the arrows.
  o.w.SpinEdit_maillage->selectAll();
  taper(Qt::Key_6);
  EXPECT_EQ(o.w.SpinEdit_maillage->text(), "6");
  taper(Qt::Key_Up);
  EXPECT_EQ(o.w.SpinEdit_maillage->Value(), 7);
  taper(Qt::Key_1);
  EXPECT_EQ(o.w.SpinEdit_maillage->text(), "71");
  taper(Qt::Key_Backspace);
  taper(Qt::Key_Left);
  taper(Qt::Key_Backspace);  // at the start: nothing to remove
  EXPECT_EQ(o.w.SpinEdit_maillage->text(), "7");
  // Y and U move the focus away; Enter from the field imports at degree 7.
  taper(Qt::Key_Y);
  EXPECT_TRUE(o.w.ScrollBar_ech->hasFocus());
  taper(Qt::Key_U);
  EXPECT_TRUE(o.w.Image_importee->hasFocus());
  o.w.SpinEdit_maillage->setFocus();
  taper(Qt::Key_Return);
  EXPECT_EQ(o.w.importation_faite, 1);
  EXPECT_EQ(o.w.degre, 7);
}

TEST(FenetreImport, HelpButtonAndAClickInContextHelpModeShowTopic4016) {
  std::vector<int> sujets;
  fixer_afficheur_aide([&](int s) { sujets.push_back(s); });
  Dossier d("fenetre-aide");
  Ouverte o(grille(d, "h.txt", 300));
  o.w.BitBtnAide->click();
  Click(o.w.Image_importee, QPoint(5, 5));  // not in context-help mode
  o.w.aide_contextuelle = 1;
  Click(o.w.Image_importee, QPoint(5, 5));
  fixer_afficheur_aide(nullptr);
  EXPECT_EQ(sujets, (std::vector<int>{4016, 4016}));
}

}  // namespace
