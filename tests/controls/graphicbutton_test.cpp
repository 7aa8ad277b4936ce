// Graphic buttons: groups, what fires and what does not, the MDI rule, the
// accelerator, the drop-down menu and strip, explorer transparency, captions.
#include <gtest/gtest.h>

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "controls/backpanel.h"
#include "controls/shapebutton.h"
#include "controls/speedbutton.h"
#include "tests/support/peintures.h"

namespace {

struct Inactive {
  Inactive() { CtlBaseGraphicButton::SetApplicationActiveTest([] { return false; }); }
  ~Inactive() { CtlBaseGraphicButton::SetApplicationActiveTest(nullptr); }
};

void Click(QWidget* w, QPoint p = QPoint(5, 5)) { QTest::mouseClick(w, Qt::LeftButton, {}, p); }

// Closes the menu as soon as it shows.
void CloseAtOnce(QMenu* m) {
  QObject::connect(m, &QMenu::aboutToShow, m, [m] { QTimer::singleShot(0, m, &QMenu::close); });
}

}  // namespace

TEST(GraphicButton, FlatGroupOfThreeKeepsOnePressedAndOnlyTheUserFires) {
  QWidget parent;
  CtlSpeedButton* b[3];
  QSignalSpy* spies[3];
  for (int k = 0; k < 3; ++k) {
    b[k] = new CtlSpeedButton(&parent);
    b[k]->SetStyle(ubsFlat);
    b[k]->move(30 * k, 0);
    b[k]->SetGroupIndex(1);
    spies[k] = new QSignalSpy(b[k], &CtlBaseGraphicButton::clicked);
  }
  parent.show();
  b[0]->SetPressed(true);
  EXPECT_EQ(spies[0]->count(), 0);
  Click(b[0]);  // the pressed one stays pressed and still clicks
  EXPECT_TRUE(b[0]->Pressed());
  EXPECT_EQ(spies[0]->count(), 1);
  Click(b[1]);  // the sibling released by the notice fires nothing
  EXPECT_TRUE(b[1]->Pressed());
  EXPECT_FALSE(b[0]->Pressed());
  EXPECT_EQ(b[0]->ButtonState(), CtlBaseGraphicButton::bsUp);
  EXPECT_EQ(spies[0]->count(), 1);
  EXPECT_EQ(spies[1]->count(), 1);
  // AllowAllUp set on one reaches the others; then a second click releases.
  b[2]->SetAllowAllUp(true);
  EXPECT_TRUE(b[0]->AllowAllUp());
  EXPECT_TRUE(b[1]->AllowAllUp());
  Click(b[1]);
  EXPECT_FALSE(b[1]->Pressed());
  EXPECT_EQ(spies[1]->count(), 2);
  // A press inside with a release outside fires nothing and changes nothing.
  QTest::mousePress(b[2], Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseRelease(b[2], Qt::LeftButton, {}, QPoint(200, 200));
  EXPECT_FALSE(b[2]->Pressed());
  EXPECT_EQ(spies[2]->count(), 0);
  for (auto* s : spies) delete s;
}

TEST(GraphicButton, DisabledPressedShowsStateSeven) {
  QWidget parent;
  auto* b = new CtlSpeedButton(&parent);
  b->SetGroupIndex(1);
  b->SetPressed(true);
  b->setEnabled(false);
  EXPECT_EQ(b->ButtonState(), CtlBaseGraphicButton::bsDisabledPressed);
  b->setEnabled(true);
  EXPECT_EQ(b->ButtonState(), CtlBaseGraphicButton::bsPressed);
  auto* c = new CtlSpeedButton(&parent);
  c->SetGroupIndex(2);
  c->setEnabled(false);
  c->SetPressed(true);
  EXPECT_EQ(c->ButtonState(), CtlBaseGraphicButton::bsDisabledPressed);
  c->SetAllowAllUp(true);
  c->SetPressed(false);
  EXPECT_EQ(c->ButtonState(), CtlBaseGraphicButton::bsDisabled);
}

TEST(GraphicButton, InactiveMdiProgramDropsOnlyTheMouseHotTracking) {
  QMainWindow w;
  auto* area = new QMdiArea;
  w.setCentralWidget(area);
  auto* b = new CtlSpeedButton(&w);
  b->move(0, 40);
  w.show();
  QSignalSpy spy(b, &CtlBaseGraphicButton::clicked);
  {
    Inactive inactif;
    QTest::mouseMove(b, QPoint(5, 5));
    EXPECT_EQ(b->ButtonState(), CtlBaseGraphicButton::bsUp);
    b->setEnabled(false);
    EXPECT_EQ(b->ButtonState(), CtlBaseGraphicButton::bsDisabled);
    b->setEnabled(true);
    EXPECT_EQ(b->ButtonState(), CtlBaseGraphicButton::bsUp);
  }
  QTest::mouseMove(b, QPoint(6, 6));
  EXPECT_EQ(b->ButtonState(), CtlBaseGraphicButton::bsHot);
  {
    Inactive inactif;
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(b, &leave);
    EXPECT_EQ(b->ButtonState(), CtlBaseGraphicButton::bsHot);
    Click(b);  // a click still clicks
    EXPECT_EQ(spy.count(), 1);
  }
}

TEST(GraphicButton, AcceleratorFollowsTheLastCaption) {
  QWidget parent;
  parent.resize(200, 100);
  auto* b = new CtlShapeButton(&parent);
  b->setGeometry(0, 0, 60, 30);
  auto* g = new CtlSpeedButton(&parent);
  g->move(100, 0);
  g->SetGroupIndex(3);
  g->SetCaption("&G");
  b->SetCaption("&A");
  b->SetCaption("&B");
  QSignalSpy clics(b, &CtlBaseGraphicButton::clicked), clics_g(g, &CtlBaseGraphicButton::clicked);
  parent.show();
  parent.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&parent));
  QTest::keyClick(&parent, Qt::Key_A, Qt::AltModifier);
  EXPECT_EQ(clics.count(), 0);
  QTest::keyClick(&parent, Qt::Key_B, Qt::AltModifier);
  EXPECT_EQ(clics.count(), 1);
  // A group button toggles and clicks when newly pressed.
  QTest::keyClick(&parent, Qt::Key_G, Qt::AltModifier);
  EXPECT_TRUE(g->Pressed());
  EXPECT_EQ(clics_g.count(), 1);
}

TEST(GraphicButton, DropDownStripOpensTheMenuAndTheFaceClicks) {
  QWidget parent;
  auto* b = new CtlSpeedButton(&parent);
  const int largeur = b->width();
  b->SetDropDownCombo(true);
  EXPECT_EQ(b->width(), largeur + 12);
  b->SetDropdownComboWidth(16);
  EXPECT_EQ(b->width(), largeur + 16);
  b->SetDropDownCombo(false);
  EXPECT_EQ(b->width(), largeur);
  b->SetDropDownCombo(true);
  QMenu menu;
  menu.addAction("one");
  CloseAtOnce(&menu);
  b->SetDropDownMenu(&menu);
  parent.show();
  QSignalSpy clics(b, &CtlBaseGraphicButton::clicked), menus(b, &CtlBaseGraphicButton::dropDown);
  Click(b, QPoint(b->width() - 4, 5));
  EXPECT_EQ(menus.count(), 1);
  EXPECT_EQ(clics.count(), 0);  // the click that closed the menu does not reach the button
  EXPECT_EQ(b->ButtonState(), CtlBaseGraphicButton::bsHot);
  Click(b, QPoint(4, 5));
  EXPECT_EQ(menus.count(), 1);
  EXPECT_EQ(clics.count(), 1);
}

TEST(GraphicButton, GlyphAreaByStyleAndExplorerTransparency) {
  QWidget parent;
  auto* b = new CtlSpeedButton(&parent);
  b->setGeometry(0, 0, 30, 30);
  const std::pair<CtlUserButtonStyle, int> bords[] = {{ubsWin31, 3}, {ubsWin40, 2}, {ubsNavigator, 2}, {ubsFlat, 1}};
  for (auto [style, bord] : bords) {
    b->SetStyle(style);
    EXPECT_EQ(b->GlyphArea(), QRect(bord, bord, 30 - 2 * bord, 30 - 2 * bord)) << int(style);
  }
  b->SetGroupIndex(1);
  b->SetPressed(true);
  EXPECT_EQ(b->GlyphArea(), QRect(2, 2, 28, 28));

  // An idle explorer button shows the back panel's picture and stays transparent.
  CtlBitmapList liste;
  QImage motif(8, 8, QImage::Format_RGB32);
  motif.fill(QColor(20, 140, 60));
  liste.AddBitmap(motif);
  CtlBackPanel panneau;
  panneau.resize(100, 40);
  panneau.SetImageList(&liste);
  auto* e = new CtlSpeedButton(&panneau);
  e->setGeometry(10, 5, 25, 24);
  e->SetStyle(ubsExplorer);
  e->SetTransparent(false);
  EXPECT_TRUE(e->Transparent());
  EXPECT_EQ(panneau.grab().toImage().pixelColor(22, 17), QColor(20, 140, 60));
  e->SetStyle(ubsFlat);
  EXPECT_FALSE(e->Transparent());
}

TEST(GraphicButton, CaptionTakesTheEnterColourWhileHot) {
  QWidget parent;
  parent.resize(100, 40);
  auto* b = new CtlSpeedButton(&parent);
  b->setGeometry(0, 0, 80, 30);
  b->SetStyle(ubsFlat);
  b->SetCaption("WWW");
  b->SetEnterColor(CtlRgb(255, 0, 0));
  auto rouges = [&] {
    const QImage img = b->grab().toImage();
    int n = 0, noirs = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) {
        if (img.pixelColor(x, y) == QColor(255, 0, 0)) ++n;
        if (img.pixelColor(x, y) == QColor(0, 0, 0)) ++noirs;
      }
    return std::pair(n, noirs);
  };
  parent.show();
  EXPECT_GT(rouges().second, 0);  // the caption is drawn
  EXPECT_EQ(rouges().first, 0);
  QTest::mouseMove(b, QPoint(5, 5));
  ASSERT_EQ(b->ButtonState(), CtlBaseGraphicButton::bsHot);
  EXPECT_EQ(rouges().first, 0);  // no colour change without EnterColorChange
  b->SetEnterColorChange(true);
  EXPECT_GT(rouges().first, 0);
}

TEST(ShapeButton, HotRepaintsOnlyWithADistinctHotLook) {
  QWidget parent;
  auto* b = new CtlShapeButton(&parent);
  b->setGeometry(0, 0, 60, 30);
  b->SetAllowTransparency(false);
  parent.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
  QCoreApplication::processEvents();
  CompteurPeintures compteur(b);
  QTest::mouseMove(b, QPoint(20, 10));
  ASSERT_EQ(b->ButtonState(), CtlBaseGraphicButton::bsHot);
  QCoreApplication::processEvents();
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(b, &leave);
  EXPECT_EQ(b->ButtonState(), CtlBaseGraphicButton::bsUp);
  QCoreApplication::processEvents();
  EXPECT_EQ(compteur.peintures, 0);
  b->Colors().SetMouseOver(CtlRgb(250, 250, 0));
  QTest::mouseMove(b, QPoint(21, 10));
  QCoreApplication::processEvents();
  EXPECT_GT(compteur.peintures, 0);
}

TEST(ShapeButton, EveryShapeIgnoresPressesOutsideAndClicksAtTheCentre) {
  QWidget parent;
  parent.resize(120, 80);
  parent.show();
  for (int t = stEllipse; t <= stStar; ++t) {
    for (bool ombre : {false, true}) {
      if (ombre && t != stRectangle) continue;
      CtlShapeButton b(&parent);
      b.Shape().SetShape(static_cast<CtlShapeType>(t));
      b.Shape().Shadow.SetStyle(ombre ? hssSolid : hssNone);
      b.Shape().Shadow.SetDepth(6);
      b.setGeometry(0, 0, 60, 40);
      b.Recalc();
      b.show();
      QSignalSpy clics(&b, &CtlBaseGraphicButton::clicked);
      // The outline of a shadowed shape is moved back by its depth.
      QPoint coin = ombre ? QPoint(58, 38) : QPoint(1, 1);
      if (t == stDirectRight) coin = QPoint(58, 2);
      if (t == stDirectDown) coin = QPoint(2, 38);
      if (t != stRectangle || ombre) {
        Click(&b, coin);
        EXPECT_EQ(clics.count(), 0) << t;
      }
      Click(&b, QPoint(27, 17));
      EXPECT_EQ(clics.count(), 1) << t;
    }
  }
}

TEST(ShapeButton, StateColoursInFastMode) {
  QWidget parent;
  parent.resize(100, 60);
  auto* b = new CtlShapeButton(&parent);
  b->setGeometry(0, 0, 60, 40);
  b->Shape().Shadow.SetStyle(hssNone);
  b->SetAllowTransparency(false);
  b->Colors().SetUp(CtlRgb(10, 10, 10));
  b->Colors().SetMouseOver(CtlRgb(20, 20, 20));
  b->Colors().SetDown(CtlRgb(30, 30, 30));
  b->Colors().SetOptionSet(CtlRgb(40, 40, 40));
  b->Colors().SetDisabled(CtlRgb(50, 50, 50));
  b->Recalc();
  parent.show();
  auto centre = [&] { return b->grab().toImage().pixelColor(30, 20).red(); };
  EXPECT_EQ(centre(), 10);
  QTest::mouseMove(b, QPoint(30, 20));
  EXPECT_EQ(centre(), 20);
  QTest::mousePress(b, Qt::LeftButton, {}, QPoint(30, 20));
  EXPECT_EQ(centre(), 30);
  QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(30, 20));
  b->SetGroupIndex(1);
  b->SetPressed(true);
  EXPECT_EQ(centre(), 40);
  b->setEnabled(false);
  EXPECT_EQ(centre(), 50);
}

TEST(ShapeButton, ShapeAndColourChangesRecalculateByThemselves) {
  QWidget parent;
  auto* b = new CtlShapeButton(&parent);
  b->setGeometry(0, 0, 86, 33);
  b->Shape().SetShape(stRoundRect);
  b->Shape().Shadow.SetStyle(hssNone);
  parent.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
  QCoreApplication::processEvents();
  CompteurPeintures compteur(b);
  b->Shape().SetRoundPercent(150);
  EXPECT_EQ(b->Shape().RoundPercent(), 100);
  EXPECT_EQ(b->Points()[2], QPoint(33, 33));  // the stadium's corner, without a call to Recalc
  QCoreApplication::processEvents();
  EXPECT_GT(compteur.peintures, 0);
  b->Shape().Bevel.SetWidth(80);
  EXPECT_EQ(b->Shape().Bevel.Width(), 50);
  QCoreApplication::processEvents();
  const int r = compteur.peintures;
  b->Colors().SetMouseOver(CtlRgb(1, 2, 3));
  QCoreApplication::processEvents();
  EXPECT_GT(compteur.peintures, r);
  // A copy of a shape takes the values and notifies its own owner only.
  CtlShape copie = b->Shape();
  int vus = 0;
  copie.OnChange = [&](CtlObject*) { ++vus; };
  copie.Shadow.SetDepth(3);
  EXPECT_EQ(vus, 1);
  EXPECT_EQ(b->Shape().Shadow.Depth(), 6);
  // An empty rectangle computes and paints without fault.
  CtlPointList pts;
  CalcShapeOutline(QRect(0, 0, 0, 0), stStar, pts, &copie.Shadow, &copie.Bevel, 100, true);
  QImage img(1, 1, QImage::Format_RGB32);
  QPainter p(&img);
  DrawShape(p, QRect(0, 0, 0, 0), stStar, clWhite, clBlack, nullptr, &copie.Shadow, &copie.Bevel, 100, Qt::red, true,
            &pts);
  QImage fill(1, 1, QImage::Format_RGB32);
  for (int t = stEllipse; t <= stStar; ++t)
    DrawShape(p, QRect(0, 0, 0, 0), static_cast<CtlShapeType>(t), clWhite, clBlack, &fill, &copie.Shadow, nullptr,
              150, Qt::red, false, nullptr);
}

TEST(GraphicButton, ADeletedPictureListIsForgotten) {
  QWidget parent;
  auto* b = new CtlSpeedButton(&parent);
  auto* liste = new CtlBitmapList;
  QImage img(16, 16, QImage::Format_RGB32);
  img.fill(Qt::red);
  liste->AddBitmap(img);
  b->SetImageList(liste, 0, 0);
  EXPECT_FALSE(b->GlyphObject().Glyph().isNull());
  delete liste;
  EXPECT_EQ(b->ImageList(), nullptr);
  b->SetImageList(nullptr, -1, -1);
  EXPECT_TRUE(b->GlyphObject().Glyph().isNull());
  b->grab();
}

TEST(ActionLink, TheButtonShowsTheActionAndAClickReachesIt) {
  QWidget parent;
  auto* b = new CtlSpeedButton(&parent);
  b->resize(40, 24);
  parent.show();
  QAction action("&Raise");
  action.setToolTip("Raise the land");
  QPixmap icon(8, 8);
  icon.fill(Qt::blue);
  action.setIcon(QIcon(icon));
  QSignalSpy triggered(&action, &QAction::triggered);
  b->SetAction(&action);
  EXPECT_EQ(b->Caption(), "&Raise");
  EXPECT_EQ(b->toolTip(), "Raise the land");
  EXPECT_EQ(b->GlyphObject().Glyph().size(), QSize(8, 8));
  EXPECT_EQ(b->GlyphObject().Glyph().pixel(0, 0), qRgb(0, 0, 255));

  // Every change of the action reaches the button.
  action.setText("Lower");
  action.setToolTip("Lower the land");
  action.setEnabled(false);
  EXPECT_EQ(b->Caption(), "Lower");
  EXPECT_EQ(b->toolTip(), "Lower the land");
  EXPECT_FALSE(b->isEnabled());
  Click(b);
  EXPECT_EQ(triggered.count(), 0);
  action.setEnabled(true);
  action.setIcon(QIcon());
  EXPECT_TRUE(b->GlyphObject().Glyph().isNull());
  Click(b);
  EXPECT_EQ(triggered.count(), 1);
  EXPECT_FALSE(b->Pressed());

  // An action that goes leaves the button as it was.
  b->SetAction(nullptr);
  action.setText("Gone");
  EXPECT_EQ(b->Caption(), "Lower");
  Click(b);
  EXPECT_EQ(triggered.count(), 1);
}

TEST(ActionLink, CheckableActionsAndPressedButtonsStayInStep) {
  QWidget parent;
  CtlSpeedButton* b[3];
  for (int k = 0; k < 3; ++k) {
    b[k] = new CtlSpeedButton(&parent);
    b[k]->move(30 * k, 0);
  }
  parent.show();
  // A checkable action alone: its button toggles.
  QAction grid("Grid");
  grid.setCheckable(true);
  QSignalSpy grid_triggered(&grid, &QAction::triggered);
  b[0]->SetAction(&grid);
  EXPECT_NE(b[0]->GroupIndex(), 0);
  EXPECT_TRUE(b[0]->AllowAllUp());
  Click(b[0]);
  EXPECT_TRUE(b[0]->Pressed());
  EXPECT_TRUE(grid.isChecked());
  ASSERT_EQ(grid_triggered.count(), 1);
  EXPECT_TRUE(grid_triggered.at(0).at(0).toBool());
  Click(b[0]);
  EXPECT_FALSE(grid.isChecked());
  EXPECT_FALSE(b[0]->Pressed());
  grid.setChecked(true);
  EXPECT_TRUE(b[0]->Pressed());

  // Two actions of an exclusive group: one button down, both ways.
  QActionGroup tools(nullptr);
  QAction pen("Pen", &tools), brush("Brush", &tools);
  pen.setCheckable(true);
  brush.setCheckable(true);
  pen.setChecked(true);
  b[1]->SetAction(&pen);
  b[2]->SetAction(&brush);
  EXPECT_EQ(b[1]->GroupIndex(), b[2]->GroupIndex());
  EXPECT_NE(b[1]->GroupIndex(), b[0]->GroupIndex());
  EXPECT_FALSE(b[1]->AllowAllUp());
  EXPECT_TRUE(b[1]->Pressed());
  Click(b[2]);
  EXPECT_TRUE(brush.isChecked());
  EXPECT_FALSE(pen.isChecked());
  EXPECT_FALSE(b[1]->Pressed());
  Click(b[2]);  // the pressed one stays down
  EXPECT_TRUE(brush.isChecked());
  EXPECT_TRUE(b[2]->Pressed());
  pen.setChecked(true);
  EXPECT_TRUE(b[1]->Pressed());
  EXPECT_FALSE(b[2]->Pressed());
  EXPECT_TRUE(b[0]->Pressed());  // another group is untouched
}
