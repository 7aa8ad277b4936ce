// Push buttons: clicks per press, repeated clicks on the stepped pool,
// dialog results, the default frame and the focus rectangle, the drop-down menu,
// the linked action, the face colour taken from the parent.
#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "controls/application.h"
#include "controls/button.h"
#include "controls/panels.h"
#include "tests/support/peintures.h"

TEST(PushButton, OneClickPerPressAndReleaseAndRepeatsOnTheStepsWhileHeld) {
  QWidget parent;
  auto* b = new CtlButton(&parent);
  parent.show();
  QSignalSpy spy(b, &QPushButton::clicked);
  QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(10, 10));
  QTest::mouseDClick(b, Qt::LeftButton, {}, QPoint(10, 10));
  QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(spy.count(), 2);  // the double click counts as another press
  b->setEnabled(false);
  b->setEnabled(true);
  b->setDefault(true);
  b->setDown(true);
  b->setDown(false);
  EXPECT_EQ(spy.count(), 2);

  CtlTimerPool* pool = CtlApplication::Instance()->Timers();
  pool->SetManualStepping(true);
  b->SetRepeatedClick(true);
  spy.clear();
  QTest::mousePress(b, Qt::LeftButton, {}, QPoint(10, 10));
  std::vector<int> pas;
  for (int k = 1; k <= 12; ++k) {
    const int avant = spy.count();
    pool->Step();
    if (spy.count() > avant) pas.push_back(k);
  }
  QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(pas, std::vector<int>({10, 12}));
  EXPECT_EQ(spy.count(), 3);  // and the release's own click
  EXPECT_FALSE(b->RepeatActive());
  pool->SetManualStepping(false);
}

TEST(PushButton, ModalResultAndTheCancelButtonEndTheDialog) {
  QDialog d;
  auto* ok = new CtlButton(&d);
  ok->SetModalResult(1);
  auto* annuler = new CtlButton(&d);
  annuler->move(0, 30);
  annuler->SetModalResult(2);
  annuler->SetCancel(true);
  int vus = 0;
  QObject::connect(ok, &QPushButton::clicked, [&] { ++vus; });
  QTimer::singleShot(0, ok, [ok] { QTest::mouseClick(ok, Qt::LeftButton, {}, QPoint(5, 5)); });
  EXPECT_EQ(d.exec(), 1);
  EXPECT_EQ(vus, 1);
  QTimer::singleShot(0, &d, [&d] {
    d.activateWindow();
    if (QTest::qWaitForWindowActive(&d)) QTest::keyClick(&d, Qt::Key_Escape);
  });
  EXPECT_EQ(d.exec(), 2);
}

TEST(PushButton, DefaultFrameAndFocusRectangleAreApart) {
  QWidget form;
  auto* autre = new CtlButton(&form);
  auto* b = new CtlButton(&form);
  b->setGeometry(0, 30, 75, 25);
  form.show();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  autre->setFocus();
  b->setDefault(true);
  QImage img = b->grab().toImage();
  EXPECT_EQ(b->FaceFlags(), 0x21u);
  EXPECT_EQ(img.pixel(0, 0), qRgb(0, 0, 0));
  EXPECT_EQ(img.pixel(3, 3), qRgb(0xC0, 0xC0, 0xC0));
  b->setFocus();
  img = b->grab().toImage();
  EXPECT_EQ(b->FaceFlags(), 0x23u);
  EXPECT_EQ(img.pixel(3, 3), qRgb(0, 0, 0));  // focus dots
}

TEST(PushButton, DropDownMenuAfterTheClick) {
  QWidget parent;
  auto* b = new CtlButton(&parent);
  QMenu menu;
  menu.addAction("one");
  QObject::connect(&menu, &QMenu::aboutToShow, &menu, [&menu] { QTimer::singleShot(0, &menu, &QMenu::close); });
  b->SetDropDownMenu(&menu);
  parent.show();
  QStringList ordre;
  QObject::connect(b, &QPushButton::clicked, [&] { ordre << "clicked"; });
  QObject::connect(b, &CtlButton::dropDown, [&] { ordre << "dropDown"; });
  QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
  QCoreApplication::processEvents();
  EXPECT_EQ(ordre, QStringList({"clicked", "dropDown"}));
  EXPECT_FALSE(b->isDown());
}

TEST(PushButton, TheButtonShowsItsActionAndAClickTriggersIt) {
  QWidget parent;
  auto* b = new CtlButton(&parent);
  parent.show();
  auto* action = new QAction("&Save");
  action->setToolTip("Save the view");
  QImage icon(12, 10, QImage::Format_RGB32);
  icon.fill(Qt::red);
  icon.setPixel(0, 9, qRgb(255, 0, 255));  // the bottom-left pixel gives the transparent colour
  action->setIcon(QIcon(QPixmap::fromImage(icon)));
  QSignalSpy triggered(action, &QAction::triggered);
  b->SetAction(action);
  EXPECT_EQ(b->Action(), action);
  EXPECT_EQ(b->Caption(), "&Save");
  EXPECT_EQ(b->toolTip(), "Save the view");
  EXPECT_EQ(b->Glyph().Glyph().size(), QSize(12, 10));
  EXPECT_EQ(b->Glyph().Glyph().pixel(0, 0), qRgb(255, 0, 0));
  EXPECT_EQ(cadre_couleur(b->grab().toImage(), qRgb(255, 0, 0)).size(), QSize(12, 10));

  // Changes of the action reach the button; a disabled one is not triggered.
  action->setText("Save &as");
  action->setToolTip("Save under a new name");
  action->setEnabled(false);
  EXPECT_EQ(b->Caption(), "Save &as");
  EXPECT_EQ(b->toolTip(), "Save under a new name");
  EXPECT_FALSE(b->isEnabled());
  QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(triggered.count(), 0);
  action->setEnabled(true);
  action->setIcon(QIcon());
  EXPECT_TRUE(b->Glyph().Glyph().isNull());
  QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(triggered.count(), 1);

  // A checkable action changes state with each click.
  action->setCheckable(true);
  QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_TRUE(action->isChecked());
  QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_FALSE(action->isChecked());
  EXPECT_EQ(triggered.count(), 3);

  // Unlinked, then a deleted action: the button keeps what it showed.
  b->SetAction(nullptr);
  action->setText("Gone");
  EXPECT_EQ(b->Caption(), "Save &as");
  QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(triggered.count(), 3);
  b->SetAction(action);
  delete action;
  EXPECT_EQ(b->Action(), nullptr);
  QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(b->Caption(), "Gone");
}

TEST(PushButton, AnActionButtonStillEndsItsDialog) {
  QDialog d;
  auto* ok = new CtlButton(&d);
  ok->SetModalResult(1);
  QAction action("OK");
  int vus = 0;
  QObject::connect(&action, &QAction::triggered, [&] { ++vus; });
  ok->SetAction(&action);
  QTimer::singleShot(0, ok, [ok] { QTest::mouseClick(ok, Qt::LeftButton, {}, QPoint(5, 5)); });
  EXPECT_EQ(d.exec(), 1);
  EXPECT_EQ(vus, 1);
}

// ParentColor: the face takes the parent's colour, follows a library parent's
// and a plain parent's changes and a move to another parent, until the
// button's own colour is set.
TEST(PushButton, ParentColorFollowsTheParentUntilTheButtonsOwnColourIsSet) {
  QWidget form;
  auto* panel = new CtlSimplePanel(&form);
  panel->SetColor(CtlRgb(10, 20, 30));
  auto* b = new CtlButton(panel);
  EXPECT_FALSE(b->ParentColor());
  EXPECT_EQ(b->Color(), clBtnFace);
  b->SetParentColor(true);
  EXPECT_EQ(b->Color(), CtlRgb(10, 20, 30));
  panel->SetColor(clNavy);
  EXPECT_EQ(b->Color(), clNavy);
  EXPECT_TRUE(b->ParentColor());
  const QImage face = b->grab().toImage();
  EXPECT_EQ(face.pixelColor(b->width() / 2, 3), ColorToRgb(clNavy));

  // A plain parent gives its window colour, now and when its palette changes.
  b->setParent(&form);
  EXPECT_EQ(b->Color(), QColorToCtl(form.palette().color(QPalette::Window)));
  QPalette pal = form.palette();
  pal.setColor(QPalette::Window, QColor(200, 100, 50));
  form.setPalette(pal);
  EXPECT_EQ(b->Color(), CtlRgb(200, 100, 50));

  b->setParent(panel);
  b->SetColor(clYellow);
  EXPECT_FALSE(b->ParentColor());
  panel->SetColor(clOlive);
  EXPECT_EQ(b->Color(), clYellow);
  // Switched on again, it takes the parent's colour at once.
  b->SetParentColor(true);
  EXPECT_EQ(b->Color(), clOlive);
}
