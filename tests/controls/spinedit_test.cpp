// The spin edit (value and text rules, the character filter, events and the
// button's repeat stepped by hand) and both spin buttons (halves, layout codes,
// disabled faces).
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "controls/application.h"
#include "controls/ctlutils.h"
#include "controls/spinedit.h"

namespace {

struct ManualPool {
  CtlTimerPool* pool = CtlApplication::Instance()->Timers();
  ManualPool() { pool->SetManualStepping(true); }
  ~ManualPool() { pool->SetManualStepping(false); }
};

struct BeepCounter {
  int beeps = 0;
  BeepCounter() { SetCtlBeepHook([this] { ++beeps; }); }
  ~BeepCounter() { SetCtlBeepHook(nullptr); }
};

void SendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
  QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, held, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &e);
}

void Leave(QWidget* w) {
  QFocusEvent e(QEvent::FocusOut, Qt::TabFocusReason);
  QCoreApplication::sendEvent(w, &e);
}

// The pool steps (0: the press itself) at which the signal fired while held.
std::vector<int> FiringSteps(QWidget* button, QSignalSpy& spy, int steps) {
  ManualPool manual;
  std::vector<int> at;
  SendMouse(button, QEvent::MouseButtonPress, QPoint(2, 2));
  if (spy.count() > 0) at.push_back(0);
  for (int s = 1; s <= steps; ++s) {
    const qsizetype before = spy.count();
    manual.pool->Step();
    if (spy.count() > before) at.push_back(s);
  }
  SendMouse(button, QEvent::MouseButtonRelease, QPoint(2, 2));
  return at;
}

}  // namespace

TEST(SpinEdit, ValueIsClampedWhileTheTextKeepsWhatWasTyped) {
  BeepCounter beeps;
  CtlSpinEdit edit;
  edit.SetMinValue(5);
  edit.SetMaxValue(11);
  edit.SetInterval(1);
  EXPECT_EQ(edit.text(), "5");  // the new minimum pulled 0 up
  edit.SetValue(12);
  EXPECT_EQ(edit.text(), "11");
  edit.SetMinValue(11);  // equal to MaxValue: refused
  edit.SetMaxValue(5);
  EXPECT_EQ(edit.MinValue(), 5);
  EXPECT_EQ(edit.MaxValue(), 11);

  edit.selectAll();
  QTest::keyClick(&edit, Qt::Key_A);
  EXPECT_EQ(beeps.beeps, 1);
  EXPECT_EQ(edit.text(), "11");
  QTest::keyClicks(&edit, "59");
  EXPECT_EQ(edit.text(), "59");
  EXPECT_EQ(edit.Value(), 11);
  EXPECT_EQ(edit.text(), "59");
  Leave(&edit);
  EXPECT_EQ(edit.text(), "11");

  edit.SetValue(7);
  for (const char* bad : {"-", "99999999999", "5-"}) {
    edit.setText(bad);
    EXPECT_EQ(edit.Value(), 7) << bad;
    EXPECT_EQ(edit.text(), bad);
  }
  edit.setText("");
  EXPECT_EQ(edit.Value(), 5);
  EXPECT_EQ(edit.text(), "5");
  EXPECT_EQ(beeps.beeps, 1);
}

TEST(SpinEdit, EveryTextChangeFiresOnceAndSuffixReadsStop) {
  CtlSpinEdit edit;
  QSignalSpy spy(&edit, &CtlSpinEdit::changed);
  edit.SetValue(50);
  EXPECT_EQ(spy.count(), 1);
  edit.SetValue(50);
  edit.setText("50");
  EXPECT_EQ(spy.count(), 1);
  edit.SetMaxValue(40);  // moves Value
  EXPECT_EQ(edit.text(), "40");
  EXPECT_EQ(spy.count(), 2);

  edit.SetSuffix(" m");
  EXPECT_EQ(edit.text(), "40 m");
  spy.clear();
  edit.SetValue(7);
  EXPECT_EQ(edit.text(), "7 m");
  spy.clear();
  EXPECT_EQ(edit.Value(), 7);
  EXPECT_EQ(spy.count(), 0);

  // A handler that reads Value on every change: the rewrite fires once, then the chain stops.
  int reads = 0;
  QObject::connect(&edit, &CtlSpinEdit::changed, [&] {
    ++reads;
    edit.Value();
  });
  edit.setText("x9y");
  EXPECT_EQ(edit.text(), "9 m");
  EXPECT_EQ(reads, 2);
  EXPECT_EQ(edit.Value(), 9);
}

TEST(SpinEdit, KeysWheelReadOnlyAndTheCharacterFilter) {
  BeepCounter beeps;
  CtlSpinEdit edit;
  edit.SetValue(50);
  QTest::keyClick(&edit, Qt::Key_Up);
  EXPECT_EQ(edit.Value(), 51);
  QTest::keyClick(&edit, Qt::Key_PageDown);
  EXPECT_EQ(edit.Value(), 41);
  QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(&edit, &wheel);
  EXPECT_EQ(edit.Value(), 40);
  edit.SetValue(100);
  QTest::keyClick(&edit, Qt::Key_PageUp);
  EXPECT_EQ(edit.Value(), 100);

  edit.setReadOnly(true);
  QTest::keyClick(&edit, Qt::Key_Down);
  QTest::keyClick(&edit, Qt::Key_PageDown);
  EXPECT_EQ(edit.Value(), 100);
  EXPECT_EQ(beeps.beeps, 1);  // the arrow beeps, paging is silent
  edit.setReadOnly(false);

  edit.SetEditorEnabled(false);
  edit.end(false);
  QTest::keyClick(&edit, Qt::Key_5);
  QTest::keyClick(&edit, Qt::Key_Backspace);
  EXPECT_EQ(edit.text(), "100");
  EXPECT_EQ(beeps.beeps, 3);
  QTest::keyClick(&edit, Qt::Key_Up);  // the arrows still work
  QTest::keyClick(&edit, Qt::Key_Down);
  EXPECT_EQ(edit.Value(), 99);
  edit.SetEditorEnabled(true);
  QTest::keyClick(&edit, Qt::Key_Backspace);
  EXPECT_EQ(edit.text(), "9");
}

TEST(SpinEdit, EnterAndEscapeGoToTheDialogButtons) {
  QDialog d;
  auto* ok = new QPushButton("OK", &d);
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, &d, &QDialog::accept);
  auto* edit = new CtlSpinEdit(&d);
  edit->move(0, 40);
  d.show();
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_EQ(edit->text(), "0");
  d.show();
  d.setResult(QDialog::Accepted);
  QTest::keyClick(edit, Qt::Key_Escape);
  EXPECT_EQ(d.result(), QDialog::Rejected);
  EXPECT_FALSE(d.isVisible());
}

TEST(SpinEdit, HeldButtonRepeatsOnThePoolSteps) {
  CtlSpinEdit edit;
  edit.SetMinValue(5);
  edit.SetMaxValue(11);
  CtlSpinButton* button = edit.Button();
  button->resize(20, 20);
  QSignalSpy top(button, &CtlSpinButton::topClicked);
  edit.SetInterval(100);
  EXPECT_EQ(FiringSteps(button, top, 10), (std::vector<int>{0, 6, 8, 10}));
  EXPECT_EQ(edit.Value(), 9);
  top.clear();
  edit.SetInterval(1);
  EXPECT_EQ(FiringSteps(button, top, 12), (std::vector<int>{0, 6, 12}));
  EXPECT_EQ(edit.Value(), 11);

  // Moving onto the other half shows the normal face and stops the firing.
  ManualPool manual;
  top.clear();
  SendMouse(button, QEvent::MouseButtonPress, QPoint(2, 2));
  EXPECT_EQ(button->Face(), 1);
  SendMouse(button, QEvent::MouseMove, QPoint(18, 18));
  EXPECT_EQ(button->Face(), 0);
  for (int s = 0; s < 12; ++s) manual.pool->Step();
  EXPECT_EQ(top.count(), 1);
  SendMouse(button, QEvent::MouseButtonRelease, QPoint(18, 18));
}

TEST(SpinButton, HalvesByTheDiagonalAndTheDisabledFace) {
  CtlSpinButton button;
  EXPECT_EQ(button.size(), QSize(20, 20));
  QSignalSpy top(&button, &CtlSpinButton::topClicked), bottom(&button, &CtlSpinButton::bottomClicked);
  SendMouse(&button, QEvent::MouseButtonPress, QPoint(2, 2));
  SendMouse(&button, QEvent::MouseButtonRelease, QPoint(2, 2));
  SendMouse(&button, QEvent::MouseButtonPress, QPoint(18, 18));
  EXPECT_EQ(button.Face(), 2);
  SendMouse(&button, QEvent::MouseButtonRelease, QPoint(18, 18));
  EXPECT_EQ(top.count(), 1);
  EXPECT_EQ(bottom.count(), 1);
  EXPECT_EQ(button.Face(), 0);

  // The up arrow's tip: black on the normal face, grey on the disabled one, one pixel lower when pressed.
  const QImage& faces = button.Faces();
  ASSERT_EQ(faces.size(), QSize(80, 20));
  EXPECT_EQ(QColor(faces.pixel(5, 4)), QColor(Qt::black));
  EXPECT_EQ(QColor(faces.pixel(20 + 6, 5)), QColor(Qt::black));
  EXPECT_EQ(QColor(faces.pixel(60 + 5, 4)), ColorToRgb(clGrayText));

  button.setEnabled(false);
  EXPECT_EQ(button.Face(), 3);
  SendMouse(&button, QEvent::MouseButtonPress, QPoint(2, 2));
  EXPECT_EQ(top.count(), 1);
  button.setEnabled(true);
  EXPECT_EQ(button.Face(), 0);
}

TEST(ArrowSpinButton, LayoutCodesPressesAndDisabledFace) {
  struct Case {
    CtlSpinButtons set;
    int code;
  };
  const Case cases[] = {
      {{sbUp}, 1},         {{sbUp, sbDown}, 2},          {{sbLeft, sbUp}, 3},          {{sbRight, sbUp}, 4},
      {{sbLeft, sbUp, sbDown}, 5},                       {{sbRight, sbUp, sbDown}, 6},
      {{sbLeft, sbRight, sbUp}, 7},                      {{sbLeft, sbRight, sbUp, sbDown}, 8},
      {{sbDown}, 9},       {{sbRight, sbDown}, 10},      {{sbLeft, sbDown}, 11},
      {{sbLeft, sbRight, sbDown}, 12},                   {{sbLeft}, 13},
      {{sbLeft, sbRight}, 14},                           {{sbRight}, 15},
  };
  for (const Case& c : cases) EXPECT_EQ(CtlSpinButtonsCode(c.set), c.code) << int(c.set.Bits());

  CtlArrowSpinButton button;
  EXPECT_EQ(button.LayoutCode(), 1);
  button.SetSpinButtons({sbUp, sbDown});
  EXPECT_EQ(button.LayoutCode(), 2);
  QSignalSpy up(&button, &CtlArrowSpinButton::topClicked), down(&button, &CtlArrowSpinButton::bottomClicked);
  SendMouse(&button, QEvent::MouseButtonPress, QPoint(2, 2));
  SendMouse(&button, QEvent::MouseButtonRelease, QPoint(2, 2));
  SendMouse(&button, QEvent::MouseButtonPress, QPoint(18, 18));
  SendMouse(&button, QEvent::MouseButtonRelease, QPoint(18, 18));
  EXPECT_EQ(up.count(), 1);
  EXPECT_EQ(down.count(), 1);

  button.SetSpinButtons({sbLeft, sbRight});  // code 14: no press
  QSignalSpy left(&button, &CtlArrowSpinButton::leftClicked), right(&button, &CtlArrowSpinButton::rightClicked);
  SendMouse(&button, QEvent::MouseButtonPress, QPoint(2, 10));
  EXPECT_EQ(button.Face(), 0);
  SendMouse(&button, QEvent::MouseButtonRelease, QPoint(2, 10));
  button.SetSpinButtons({sbRight});
  SendMouse(&button, QEvent::MouseButtonPress, QPoint(2, 10));
  EXPECT_EQ(button.Face(), 4);
  SendMouse(&button, QEvent::MouseButtonRelease, QPoint(2, 10));
  EXPECT_EQ(left.count(), 0);
  EXPECT_EQ(right.count(), 1);

  button.setEnabled(false);
  EXPECT_EQ(button.Face(), 5);
  SendMouse(&button, QEvent::MouseButtonPress, QPoint(10, 10));
  EXPECT_EQ(right.count(), 1);
  const QImage faces = button.BuildFaces();
  ASSERT_EQ(faces.width(), 120);
  // The disabled arrow is grey where the normal one is black.
  int black = 0, grey_at_black = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x)
      if (QColor(faces.pixel(x, y)) == QColor(Qt::black)) {
        ++black;
        if (QColor(faces.pixel(100 + x, y)) == ColorToRgb(clGrayText)) ++grey_at_black;
      }
  EXPECT_GT(black, 0);
  EXPECT_EQ(grey_at_black, black);
}
