// The scroll bar: what code setters do (and never fire), the double
// notification of user actions, paging repeats stepped by hand, keys, the
// thumb layout, and a handler that moves the value out of range.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <memory>

#include "controls/application.h"
#include "controls/caret.h"
#include "controls/imagelist.h"
#include "controls/scrollbar.h"
#include "controls/spinbutton.h"

namespace {

struct ManualPool {
  CtlTimerPool* pool = CtlApplication::Instance()->Timers();
  ManualPool() { pool->SetManualStepping(true); }
  ~ManualPool() { pool->SetManualStepping(false); }
};

void Mouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
  QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, held, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &e);
}

void Key(QWidget* w, int key) {
  QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &e);
}

// A vertical bar 16 x 200 with its notifications recorded as (code, position).
struct Bar {
  CtlScrollBar bar;
  std::vector<std::pair<int, int>> seen;
  Bar() {
    bar.SetKind(skVertical);
    bar.resize(16, 200);
    QObject::connect(&bar, &CtlScrollBar::scrolled, [this](int code, int& pos) { seen.push_back({code, pos}); });
  }
};

TEST(ScrollBar, CodeSettersClampAndFireNothing) {
  Bar b;
  b.bar.SetMax(50);
  b.bar.SetPosition(80);
  EXPECT_EQ(b.bar.Position(), 50);
  b.bar.SetMin(70);  // above Max: takes Max, and the position follows
  EXPECT_EQ(b.bar.Min(), 50);
  EXPECT_EQ(b.bar.Position(), 50);
  b.bar.SetMin(0);
  b.bar.SetMax(-5);  // below Min: takes Min
  EXPECT_EQ(b.bar.Max(), 0);
  EXPECT_EQ(b.bar.Position(), 0);
  EXPECT_TRUE(b.seen.empty());
}

TEST(ScrollBar, ThumbFollowsThePositionAndStaysOnTheTrack) {
  Bar b;
  const QRect in = b.bar.InnerRect();
  const int T = b.bar.TrackLength();
  EXPECT_EQ(T, in.height() - 32);
  EXPECT_EQ(b.bar.Thumb()->y(), in.top() + 16);
  b.bar.SetPosition(100);
  EXPECT_EQ(b.bar.Thumb()->y(), in.top() + 16 + T - 16);
  b.bar.SetThumbMode(tmAuto);  // range wider than the track: the smallest thumb
  b.bar.SetMax(1000);
  EXPECT_EQ(b.bar.ThumbLength(), 8);
  b.bar.resize(16, 20);  // shorter than buttons and thumb: the thumb stays put
  EXPECT_GE(b.bar.Thumb()->y(), b.bar.InnerRect().top() + 16);
}

TEST(ScrollBar, TrackPressPagesTwiceNotifiedAndRepeatsUntilTheThumb) {
  ManualPool m;
  Bar b;
  const QPoint below(8, 150);
  Mouse(&b.bar, QEvent::MouseButtonPress, below, Qt::LeftButton, Qt::LeftButton);
  ASSERT_EQ(b.seen.size(), 2u);
  EXPECT_EQ(b.seen[0], std::make_pair(int(scEndScroll), 10));
  EXPECT_EQ(b.seen[1], std::make_pair(int(scPageUp), 10));
  EXPECT_TRUE(b.bar.RepeatActive());
  for (int k = 0; k < 40 && b.bar.RepeatActive(); ++k) m.pool->Step();
  EXPECT_FALSE(b.bar.RepeatActive());  // the thumb reached the pointer
  const QRect t = b.bar.Thumb()->geometry();
  EXPECT_TRUE(t.top() < below.y() && below.y() < t.bottom() + 1) << t.top() << " " << t.bottom();
  Mouse(&b.bar, QEvent::MouseButtonRelease, below, Qt::LeftButton, Qt::NoButton);
}

TEST(ScrollBar, KeysPageOnceArrowsPairAndTheEndsReport) {
  Bar b;
  b.bar.SetPosition(50);
  Key(&b.bar, Qt::Key_PageUp);
  ASSERT_EQ(b.seen.size(), 1u);
  EXPECT_EQ(b.seen[0], std::make_pair(int(scPageDown), 40));
  b.seen.clear();
  Key(&b.bar, Qt::Key_Down);
  ASSERT_EQ(b.seen.size(), 2u);
  EXPECT_EQ(b.seen[1], std::make_pair(int(scLineUp), 41));
  b.bar.SetPosition(0);
  b.seen.clear();
  b.bar.Decrease();  // at the end: nothing
  EXPECT_TRUE(b.seen.empty());
  Key(&b.bar, Qt::Key_Home);  // changes nothing, but the top check follows
  ASSERT_EQ(b.seen.size(), 2u);
  EXPECT_EQ(b.seen[1].first, int(scTop));
}

TEST(ScrollBar, ArrowButtonsStepTheValueAtThePress) {
  Bar b;
  CtlArrowSpinButton* bas = b.bar.IncreaseButton();
  EXPECT_EQ(bas->SpinButtons(), (CtlSpinButtons{sbDown}));
  Mouse(bas, QEvent::MouseButtonPress, QPoint(8, 8), Qt::LeftButton, Qt::LeftButton);
  Mouse(bas, QEvent::MouseButtonRelease, QPoint(8, 8), Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(b.bar.Position(), 1);
  ASSERT_EQ(b.seen.size(), 2u);
  EXPECT_EQ(b.seen[1], std::make_pair(int(scLineUp), 1));
  CtlArrowSpinButton* haut = b.bar.DecreaseButton();
  Mouse(haut, QEvent::MouseButtonPress, QPoint(8, 8), Qt::LeftButton, Qt::LeftButton);
  Mouse(haut, QEvent::MouseButtonRelease, QPoint(8, 8), Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(b.bar.Position(), 0);
  EXPECT_EQ(b.seen.back(), std::make_pair(int(scLineDown), 0));
}

TEST(ScrollBar, AHandlerMovingTheValueOutOfRangeIsClampedAndLaidOut) {
  CtlScrollBar bar;
  bar.SetKind(skVertical);
  bar.resize(16, 200);
  bar.SetMin(20);
  bar.SetMax(150);
  QObject::connect(&bar, &CtlScrollBar::scrolled, [](int code, int& pos) {
    if (code == scLineUp) pos = 1000;
  });
  bar.Increase();
  EXPECT_EQ(bar.Position(), 150);
  const QRect in = bar.InnerRect();
  EXPECT_EQ(bar.Thumb()->y(), in.top() + 16 + bar.TrackLength() - bar.ThumbLength());
}

TEST(ScrollBar, DraggingTheThumbTracksAndReleaseReportsThePosition) {
  Bar b;
  CtlScrollBarThumb* t = b.bar.Thumb();
  const QPoint grip(4, 4);
  Mouse(t, QEvent::MouseButtonPress, grip, Qt::LeftButton, Qt::LeftButton);
  Mouse(t, QEvent::MouseMove, grip + QPoint(0, 30), Qt::NoButton, Qt::LeftButton);
  EXPECT_GT(b.bar.Position(), 0);
  ASSERT_FALSE(b.seen.empty());
  EXPECT_EQ(b.seen[0].first, int(scTrack));
  b.seen.clear();
  Mouse(t, QEvent::MouseButtonRelease, grip + QPoint(0, 30), Qt::LeftButton, Qt::NoButton);
  ASSERT_EQ(b.seen.size(), 2u);
  EXPECT_EQ(b.seen[1].first, int(scPosition));
}

// The import dialog's bar: vertical 16 x 200, range 20..150, at 100.
struct ImportBar : Bar {
  ImportBar() {
    bar.SetMin(20);
    bar.SetMax(150);
    bar.SetPosition(100);
  }
};

TEST(ScrollBar, ImportBarThumbPlaceAndPagingEveryTwoSteps) {
  ManualPool m;
  ImportBar b;
  // Offset Round(80 / (130 / 150)) = 92 below the bevel and the upper button.
  EXPECT_EQ(b.bar.Thumb()->geometry(), QRect(1, 109, 14, 16));
  const QPoint below(8, 180);
  Mouse(&b.bar, QEvent::MouseButtonPress, below, Qt::LeftButton, Qt::LeftButton);
  ASSERT_EQ(b.seen.size(), 2u);
  EXPECT_EQ(b.seen[1], std::make_pair(int(scPageUp), 110));
  std::vector<int> paged_at;
  for (int step = 1; step <= 12; ++step) {
    const size_t before = b.seen.size();
    m.pool->Step();
    if (b.seen.size() > before) paged_at.push_back(step);
  }
  // 110 → 120 → 130 → 140 → 150: the thumb then covers the pointer; the end checks report Max.
  EXPECT_EQ(paged_at, (std::vector<int>{2, 4, 6, 8}));
  EXPECT_EQ(b.bar.Position(), 150);
  EXPECT_FALSE(b.bar.RepeatActive());
  EXPECT_EQ(b.seen.back().first, int(scBottom));
  Mouse(&b.bar, QEvent::MouseButtonRelease, below, Qt::LeftButton, Qt::NoButton);
}

TEST(ScrollBar, AShortBarKeepsItsThumbBetweenTheButtonsAndDragsWithThePointer) {
  Bar b;
  b.bar.resize(16, 40);  // track 6 pixels, thumb 16
  b.bar.SetPosition(50);
  const QRect t = b.bar.Thumb()->geometry();
  EXPECT_EQ(t.top(), b.bar.InnerRect().top() + 16);
  Mouse(b.bar.Thumb(), QEvent::MouseButtonPress, QPoint(4, 4), Qt::LeftButton, Qt::LeftButton);
  Mouse(b.bar.Thumb(), QEvent::MouseMove, QPoint(4, 5), Qt::NoButton, Qt::LeftButton);
  EXPECT_GT(b.bar.Position(), 50);
  const int down = b.bar.Position();
  Mouse(b.bar.Thumb(), QEvent::MouseMove, QPoint(4, 3), Qt::NoButton, Qt::LeftButton);
  EXPECT_LT(b.bar.Position(), down);
  Mouse(b.bar.Thumb(), QEvent::MouseButtonRelease, QPoint(4, 3), Qt::LeftButton, Qt::NoButton);
}

TEST(ScrollBar, TheCaretSitsOnTheThumbOnlyWhileFocused) {
  QWidget form;
  auto* bar = new CtlScrollBar(&form);
  bar->SetKind(skVertical);
  bar->resize(16, 200);
  auto* other = new CtlScrollBar(&form);
  other->move(40, 0);
  const int blink = QApplication::cursorFlashTime();
  form.show();
  form.activateWindow();
  QApplication::setActiveWindow(&form);
  EXPECT_EQ(bar->Caret().Shown(), bar->hasFocus());
  EXPECT_FALSE(other->Caret().Shown());
  // Focus events may not come to the offscreen window: sent by hand too.
  auto move_focus = [](QWidget* from, QWidget* to) {
    to->setFocus(Qt::TabFocusReason);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason), in(QEvent::FocusIn, Qt::TabFocusReason);
    if (from) QCoreApplication::sendEvent(from, &out);
    QCoreApplication::sendEvent(to, &in);
  };
  move_focus(nullptr, bar);
  ASSERT_TRUE(bar->hasFocus());
  EXPECT_TRUE(bar->Caret().Shown());
  EXPECT_EQ(bar->Caret().Width(), 11);  // thumb 14 x 16
  EXPECT_EQ(bar->Caret().Height(), 13);
  ASSERT_NE(bar->Caret().View(), nullptr);
  EXPECT_EQ(bar->Caret().View()->parentWidget(), bar->Thumb());
  EXPECT_EQ(bar->Caret().View()->geometry(), QRect(1, 1, 11, 13));
  // The tiled checker of the bar.
  const QImage picture = bar->Caret().Picture();
  EXPECT_EQ(picture.pixel(0, 0), bar->Pattern().pixel(0, 0));
  EXPECT_EQ(picture.pixel(9, 0), bar->Pattern().pixel(1, 0));
  move_focus(bar, other);
  ASSERT_TRUE(other->hasFocus());
  EXPECT_FALSE(bar->Caret().Shown());
  EXPECT_FALSE(bar->Caret().View()->isVisible());
  EXPECT_EQ(QApplication::cursorFlashTime(), blink);  // no system setting touched
}

TEST(ScrollBar, ThePatternFollowsColorAndTheUserBackFillsTheTrack) {
  Bar b;
  b.bar.SetColor(CtlRgb(0, 0, 255));
  EXPECT_EQ(QColor(b.bar.Pattern().pixel(1, 0)), QColor(0, 0, 255));
  EXPECT_EQ(QColor(b.bar.Pattern().pixel(1, 1)), QColor(Qt::white));
  EXPECT_EQ(b.bar.Back().Style(), sfBrushBitmap);
  b.bar.Back().SetStyle(sfBrush);
  b.bar.Back().SetBrushColor(CtlRgb(0, 255, 0));
  b.bar.SetBackStyle(bsUser);
  QImage img(b.bar.size(), QImage::Format_RGB32);
  b.bar.render(&img);
  EXPECT_EQ(QColor(img.pixel(8, 190 - 16 - 5)), QColor(0, 255, 0));
}

}  // namespace

TEST(Caret, APictureListEntryComesBeforeTheBitmap) {
  auto solid = [](int w, int h, QRgb c) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
  };
  QWidget owner;
  CtlCaret caret(&owner);
  caret.SetStyle(csBitmap);
  caret.SetBitmap(solid(3, 2, qRgb(255, 0, 0)));
  auto list = std::make_unique<CtlBitmapList>();
  list->AddBitmap(solid(5, 4, qRgb(0, 0, 255)));
  list->AddBitmap(solid(2, 2, qRgb(0, 255, 0)));
  caret.SetImageList(list.get());
  EXPECT_EQ(caret.Picture(), solid(5, 4, qRgb(0, 0, 255)));
  caret.SetListIndex(1);
  EXPECT_EQ(caret.Picture(), solid(2, 2, qRgb(0, 255, 0)));
  caret.SetCaretBmpMode(cbTile);
  caret.SetWidth(4);
  caret.SetHeight(3);
  EXPECT_EQ(caret.Picture(), solid(4, 3, qRgb(0, 255, 0)));
  caret.SetCaretBmpMode(cbBmpSize);
  // A missing entry shows the bitmap; so does a list that goes.
  caret.SetListIndex(2);
  EXPECT_EQ(caret.Picture(), solid(3, 2, qRgb(255, 0, 0)));
  caret.SetListIndex(1);
  caret.SetListIndex(-1);  // ignored
  EXPECT_EQ(caret.ListIndex(), 1);
  EXPECT_EQ(caret.Picture().size(), QSize(2, 2));
  list.reset();
  EXPECT_EQ(caret.ImageList(), nullptr);
  EXPECT_EQ(caret.Picture(), solid(3, 2, qRgb(255, 0, 0)));
  // A new bitmap unlinks the list.
  CtlBitmapList other;
  other.AddBitmap(solid(6, 6, qRgb(0, 0, 255)));
  caret.SetImageList(&other);
  caret.SetListIndex(0);
  EXPECT_EQ(caret.Picture().size(), QSize(6, 6));
  caret.SetBitmap(solid(1, 7, qRgb(255, 255, 0)));
  EXPECT_EQ(caret.ImageList(), nullptr);
  EXPECT_EQ(caret.Picture(), solid(1, 7, qRgb(255, 255, 0)));
  // Other styles ignore both pictures.
  caret.SetStyle(csBlock);
  EXPECT_EQ(caret.Picture(), solid(4, 3, qRgb(255, 255, 255)));
}
