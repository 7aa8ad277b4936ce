// The caption strip: text dropping and shortening with fixed-width texts, the
// button count, and the strip's pixels on a frameless window, active and
// inactive, through a recreation of the native window, its close button and dragging.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QFontMetrics>
#include <QTest>
#include <QToolButton>

#include "components/legende.h"
#include "controls/formshadow.h"
#include "controls/windowhook.h"

using namespace components;

namespace {

const TextWidth kTen = [](const QString& s) { return 10 * static_cast<int>(s.size()); };

CaptionPiece piece(const QString& s, bool glue = false) { return {s, kTen, glue}; }

std::vector<QString> texts(const std::vector<PlacedPiece>& placed) {
  std::vector<QString> out;
  for (const PlacedPiece& p : placed) out.push_back(p.text);
  return out;
}

bool has_colour(const QImage& img, QRect r, QRgb c) {
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if ((img.pixel(x, y) & 0xFFFFFF) == (c & 0xFFFFFF)) return true;
  return false;
}

// A frameless dialog carrying a strip in the about box's colours.
struct Boite {
  QDialog form{nullptr, Qt::Dialog | Qt::FramelessWindowHint};
  TRxGradientCaption* caption;
  Boite(int width = 200) {
    form.resize(width, 100);
    caption = new TRxGradientCaption(&form);
    caption->SetFormBorderStyle(bsDialog);
    caption->SetBorderIcons(biSystemMenu);
    caption->SetStartColor(clGreen);
    QFont f("Sans");
    f.setPixelSize(11);
    f.setBold(true);
    caption->SetFont({f, clYellow});
    caption->SetFormCaption("Quorvel v 3.1");
    caption->SetWindowActive(true);
  }
};

}  // namespace

TEST(CaptionLayout, LeftToRightDropsFromTheLeftWithGluedPairs) {
  const std::vector<CaptionPiece> caps = {piece("aa"), piece("bbb", true), piece("cc")};
  const CaptionPiece form = piece("ff");
  auto all = LayoutCaptionPieces(caps, form, 92, hdLeftToRight);
  EXPECT_EQ(texts(all), (std::vector<QString>{"aa", "bbb", "cc", "ff"}));
  EXPECT_EQ(all[1].x, 22);
  EXPECT_EQ(all[3].index, -1);
  auto one_dropped = LayoutCaptionPieces(caps, form, 75, hdLeftToRight);
  EXPECT_EQ(texts(one_dropped), (std::vector<QString>{"bbb", "cc", "ff"}));
  EXPECT_EQ(one_dropped[0].x, 2);
  EXPECT_EQ(one_dropped[0].index, 1);
  // The glued caption goes with the one after it.
  EXPECT_EQ(texts(LayoutCaptionPieces(caps, form, 70, hdLeftToRight)), (std::vector<QString>{"ff"}));
  // With nothing left to drop the form caption is shortened.
  auto narrow = LayoutCaptionPieces(caps, piece("abcdef"), 52, hdLeftToRight);
  ASSERT_EQ(narrow.size(), 1u);
  EXPECT_EQ(narrow[0].text, "ab...");
  EXPECT_TRUE(narrow[0].shortened);
}

TEST(CaptionLayout, RightToLeftTakesFromTheLeftAndTheFormCaptionOnlyWithRoomLeft) {
  const std::vector<CaptionPiece> caps = {piece("aa"), piece("bbbbbb"), piece("cc")};
  auto cut = LayoutCaptionPieces(caps, piece("ff"), 72, hdRightToLeft);
  EXPECT_EQ(texts(cut), (std::vector<QString>{"aa", "bb..."}));
  EXPECT_TRUE(cut[1].shortened);
  auto exact = LayoutCaptionPieces(caps, piece("ff"), 102, hdRightToLeft);
  EXPECT_EQ(texts(exact), (std::vector<QString>{"aa", "bbbbbb", "cc"}));  // no room left for the form caption
  EXPECT_EQ(texts(LayoutCaptionPieces(caps, piece("ff"), 122, hdRightToLeft)),
            (std::vector<QString>{"aa", "bbbbbb", "cc", "ff"}));
}

TEST(CaptionLayout, ButtonCountFollowsTheBorderAndIcons) {
  const unsigned all = biSystemMenu | biMinimize | biMaximize;
  EXPECT_EQ(CaptionButtonCount(bsSizeable, all), 3);
  EXPECT_EQ(CaptionButtonCount(bsSizeable, biSystemMenu | biMinimize), 3);  // both boxes shown
  EXPECT_EQ(CaptionButtonCount(bsSingle, biSystemMenu | biMinimize | biHelp), 3);  // no help beside them
  EXPECT_EQ(CaptionButtonCount(bsSingle, biMinimize | biMaximize), 0);  // nothing without the system menu
  EXPECT_EQ(CaptionButtonCount(bsDialog, all), 1);
  EXPECT_EQ(CaptionButtonCount(bsDialog, biSystemMenu | biHelp), 2);
  EXPECT_EQ(CaptionButtonCount(bsToolWindow, all | biHelp), 1);
  EXPECT_EQ(CaptionButtonCount(bsNone, all), 0);
}

TEST(GradientCaption, ActiveStripRunsFromTheStartColourWithYellowText) {
  Boite b;
  const QImage& bar = b.caption->Bar();
  ASSERT_EQ(bar.size(), QSize(200, 18));
  EXPECT_EQ(b.caption->CaptionRect(), QRect(0, 0, 182, 18));
  EXPECT_EQ(bar.pixel(0, 17) & 0xFFFFFF, 0x008000u);
  EXPECT_EQ(bar.pixel(181, 0) & 0xFFFFFF, 0x1084D0u);
  EXPECT_TRUE(has_colour(bar, QRect(2, 0, 120, 18), qRgb(255, 255, 0)));
  // Inactive without the inactive gradient: plain grey and the inactive text colour only.
  b.caption->SetWindowActive(false);
  const QImage& grey = b.caption->Bar();
  bool only = true;
  for (int y = 0; y < 18; ++y)
    for (int x = 0; x < 182; ++x) {
      const QRgb c = grey.pixel(x, y) & 0xFFFFFF;
      only = only && (c == 0xB5B5B5u || c == 0xC0C0C0u);
    }
  EXPECT_TRUE(only);
  EXPECT_TRUE(has_colour(grey, QRect(2, 0, 120, 18), qRgb(0xC0, 0xC0, 0xC0)));
  b.caption->SetGradientInactive(true);
  EXPECT_EQ(b.caption->Bar().pixel(0, 0) & 0xFFFFFF, 0x008000u);
}

TEST(GradientCaption, LongCaptionsEndInDotsAndNoBorderPaintsNothing) {
  Boite b(150 + TRxGradientCaption::kButtonWidth);
  TCaptionFont f = b.caption->CaptionFont();
  b.caption->SetFormCaption("A much longer caption than the strip can ever hold");
  const QFontMetrics fm(f.Font);
  const TextWidth w = [&](const QString& s) { return fm.horizontalAdvance(s); };
  auto placed = LayoutCaptionPieces({}, {b.caption->FormCaption(), w, false}, 150, hdLeftToRight);
  ASSERT_EQ(placed.size(), 1u);
  EXPECT_TRUE(placed[0].text.endsWith("..."));
  EXPECT_LE(w(placed[0].text), 148);
  b.caption->SetFormBorderStyle(bsNone);
  EXPECT_TRUE(b.caption->Bar().isNull());
  // A window with the window manager's frame keeps its own title bar.
  QDialog framed;
  TRxGradientCaption plain(&framed);
  EXPECT_FALSE(plain.Effective());
  EXPECT_TRUE(plain.Bar().isNull());
}

TEST(GradientCaption, ActiveEventsAndTheStripSurviveANewNativeWindow) {
  Boite b;
  int on = 0, off = 0;
  b.caption->OnActivate = [&] { ++on; };
  b.caption->OnDeactivate = [&] { ++off; };
  b.caption->SetActive(false);
  EXPECT_TRUE(b.caption->Bar().isNull());
  b.caption->SetActive(true);
  EXPECT_EQ(on, 1);
  EXPECT_EQ(off, 1);
  b.form.show();
  b.form.setWindowFlags(b.form.windowFlags() | Qt::WindowStaysOnTopHint);
  b.form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&b.form));
  b.caption->SetWindowActive(true);
  const QImage shot = b.form.grab().toImage();
  EXPECT_EQ(shot.pixel(0, 5) & 0xFFFFFF, 0x008000u);
  EXPECT_TRUE(b.caption->isVisible());
}

TEST(GradientCaption, CloseButtonClosesAndTheStripDragsTheWindow) {
  Boite b;
  b.form.move(100, 100);
  b.form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&b.form));
  const QPoint before = b.form.pos();
  QTest::mousePress(b.caption, Qt::LeftButton, {}, QPoint(40, 8));
  QTest::mouseMove(b.caption, QPoint(60, 18));
  QTest::mouseRelease(b.caption, Qt::LeftButton, {}, QPoint(60, 18));
  EXPECT_EQ(b.form.pos() - before, QPoint(20, 10));
  ASSERT_TRUE(b.caption->CloseButton()->isVisible());
  EXPECT_EQ(b.caption->CloseButton()->geometry().left(), 183);
  b.caption->CloseButton()->click();
  EXPECT_FALSE(b.form.isVisible());
  EXPECT_EQ(b.form.result(), QDialog::Rejected);
}

namespace {

// The box around the pixels of colour c in the caption rectangle.
QRect colour_box(const QImage& img, QRect r, QRgb c) {
  QRect box;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if ((img.pixel(x, y) & 0xFFFFFF) == (c & 0xFFFFFF)) box |= QRect(x, y, 1, 1);
  return box;
}

// The columns of text up to the first column without any, from the left or from the right.
int first_gap(const QImage& text) {
  for (int x = 0; x < text.width(); ++x)
    if (colour_box(text, QRect(x, 0, 1, text.height()), qRgb(255, 255, 0)).isEmpty()) return x;
  return text.width();
}
QImage first_glyph(const QImage& text) { return text.copy(0, 0, first_gap(text), text.height()); }
QImage last_glyph(const QImage& text) { return first_glyph(text.mirrored(true, false)); }

}  // namespace

TEST(GradientCaption, RightToLeftFormsReadFromTheRightEdge) {
  const QRgb yellow = qRgb(255, 255, 0);
  auto text_of = [&](Qt::LayoutDirection direction, const QString& caption, QRect* where = nullptr) {
    Boite b;
    b.caption->SetGradientActive(false);
    b.caption->SetFormCaption(caption);
    b.form.setLayoutDirection(direction);  // the strip follows the change
    EXPECT_EQ(b.caption->RightToLeftReading(), direction == Qt::RightToLeft);
    const QRect box = colour_box(b.caption->Bar(), b.caption->CaptionRect(), yellow);
    if (where) *where = box;
    return b.caption->Bar().copy(box);
  };
  QRect ltr, rtl;
  const QImage left = text_of(Qt::LeftToRight, "Quorvel!", &ltr);
  const QImage right = text_of(Qt::RightToLeft, "Quorvel!", &rtl);
  ASSERT_FALSE(ltr.isEmpty());
  ASSERT_FALSE(rtl.isEmpty());
  // Left to right the text starts 2 pixels in; right to left it ends 2 pixels
  // before the caption rectangle's right edge (181).
  EXPECT_LE(ltr.left(), 2 + 2);
  EXPECT_GE(rtl.right(), 181 - 2 - 3);
  EXPECT_LE(rtl.right(), 181 - 2);
  EXPECT_GT(rtl.left(), 90);
  // Read right to left, the closing "!" comes first on the left.
  // (The gap after it may differ by a pixel: glyphs are compared apart.)
  const QImage bang = text_of(Qt::LeftToRight, "!Quorvel");
  EXPECT_EQ(first_glyph(right), first_glyph(bang));
  EXPECT_NE(first_glyph(right), first_glyph(left));
  EXPECT_EQ(last_glyph(right), last_glyph(bang));
  EXPECT_NE(last_glyph(right), last_glyph(left));
}

// ---- The drawn title bar of a sizeable window ----

TEST(CaptionHit, FrameCornersButtonsIconAndCaption) {
  const CaptionFrame f{QSize(400, 300), 4, QRect(4, 4, 392, 18), bsSizeable, biSystemMenu | biMinimize | biMaximize};
  const std::vector<std::pair<QPoint, TCaptionHit>> cases = {
      {{0, 0}, htTopLeft},       {{15, 2}, htTopLeft},      {{16, 2}, htTop},        {{2, 15}, htTopLeft},
      {{2, 16}, htLeft},         {{399, 150}, htRight},     {{200, 299}, htBottom},  {{385, 298}, htBottomRight},
      {{399, 0}, htTopRight},    {{0, 299}, htBottomLeft},  {{384, 12}, htClose},    {{366, 12}, htMaxButton},
      {{349, 12}, htMinButton},  {{10, 12}, htSysMenu},     {{100, 12}, htCaption},  {{100, 100}, htClient},
      {{400, 10}, htClient},     {{-1, 10}, htClient}};
  for (const auto& [p, hit] : cases) EXPECT_EQ(CaptionHitTest(f, p), hit) << p.x() << "," << p.y();
  EXPECT_EQ(CaptionHitEdges(htTopLeft), Qt::TopEdge | Qt::LeftEdge);
  EXPECT_EQ(CaptionHitEdges(htBottom), Qt::BottomEdge);
  EXPECT_EQ(CaptionHitEdges(htCaption), Qt::Edges());
  // Maximised: no frame, the strip starts in the corner.
  CaptionFrame m = f;
  m.frame = 0;
  m.strip = QRect(0, 0, 400, 18);
  EXPECT_EQ(CaptionHitTest(m, {0, 0}), htSysMenu);
  EXPECT_EQ(CaptionHitTest(m, {399, 299}), htClient);
  // A dialog shows only its close box.
  CaptionFrame d{QSize(200, 100), 0, QRect(0, 0, 200, 18), bsDialog, biSystemMenu | biMinimize | biMaximize};
  EXPECT_EQ(CaptionButtonRect(d, htClose), QRect(183, 2, 16, 14));
  EXPECT_TRUE(CaptionButtonRect(d, htMaxButton).isEmpty());
  EXPECT_EQ(CaptionHitTest(d, {5, 5}), htCaption);  // no icon on a dialog
}

namespace {

// A frameless sizeable window with the main window's caption.
struct Fenetre {
  QWidget form{nullptr, Qt::Window | Qt::FramelessWindowHint};
  TRxGradientCaption* caption;
  Fenetre() {
    form.resize(400, 300);
    caption = new TRxGradientCaption(&form);
    caption->SetFormBorderStyle(bsSizeable);
    caption->SetBorderIcons(biSystemMenu | biMinimize | biMaximize);
    caption->SetStartColor(clGreen);
    caption->SetFormCaption("Quorvel v3.1");
  }
  void focus(QEvent::Type t) {
    QFocusEvent e(t, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(form.windowHandle(), &e);
  }
};

}  // namespace

TEST(GradientCaption, SizeableWindowGetsAFrameButtonsAndMaximisesOnADoubleClick) {
  Fenetre w;
  ASSERT_TRUE(w.caption->Effective());
  EXPECT_EQ(w.caption->FrameWidth(), 4);
  EXPECT_EQ(w.form.contentsMargins(), QMargins(4, 22, 4, 4));
  EXPECT_EQ(w.caption->geometry(), QRect(4, 4, 392, 18));
  EXPECT_EQ(w.caption->CaptionRect(), QRect(0, 0, 392 - 3 * 18, 18));
  EXPECT_EQ(w.caption->Grip(0)->geometry(), QRect(0, 0, 4, 300));
  EXPECT_EQ(w.caption->Grip(3)->geometry(), QRect(0, 296, 400, 4));
  for (QToolButton* b : {w.caption->CloseButton(), w.caption->MaxButton(), w.caption->MinButton()})
    EXPECT_FALSE(b->isHidden());
  EXPECT_EQ(w.caption->MaxButton()->geometry(), QRect(357, 2, 16, 14));
  // Without maximise the box stays, greyed.
  w.caption->SetBorderIcons(biSystemMenu | biMinimize);
  EXPECT_FALSE(w.caption->MaxButton()->isHidden());
  EXPECT_FALSE(w.caption->MaxButton()->isEnabled());
  w.caption->SetBorderIcons(biSystemMenu | biMinimize | biMaximize);

  w.form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.form));
  QTest::mouseDClick(w.caption, Qt::LeftButton, {}, QPoint(100, 9));
  QTRY_VERIFY(w.form.isMaximized());
  QTRY_COMPARE(w.form.contentsMargins(), QMargins(0, 18, 0, 0));
  EXPECT_EQ(w.caption->FrameWidth(), 0);
  EXPECT_EQ(w.caption->geometry().topLeft(), QPoint(0, 0));
  EXPECT_TRUE(w.caption->Grip(0)->isHidden());
  EXPECT_EQ(w.caption->MaxButton()->toolTip(), "Restore");
  w.caption->MaxButton()->click();
  QTRY_VERIFY(!w.form.isMaximized());
  QTRY_COMPARE(w.form.contentsMargins(), QMargins(4, 22, 4, 4));
  EXPECT_EQ(w.caption->MaxButton()->toolTip(), "Maximize");
}

TEST(GradientCaption, FollowsTheWindowsActivationThroughItsHook) {
  Fenetre w;
  w.form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.form));
  w.focus(QEvent::FocusIn);
  EXPECT_TRUE(w.caption->WindowActive());
  EXPECT_EQ(w.caption->Bar().pixel(0, 17) & 0xFFFFFF, 0x008000u);
  w.focus(QEvent::FocusOut);
  EXPECT_FALSE(w.caption->WindowActive());
  EXPECT_EQ(w.caption->Bar().pixel(0, 17) & 0xFFFFFF, 0xB5B5B5u);  // no inactive gradient
  // The main window's inactive text colour reads on the inactive caption.
  w.caption->SetFontInactiveColor(clInactiveCaption);
  EXPECT_TRUE(has_colour(w.caption->Bar(), QRect(20, 0, 100, 18), qRgb(0x80, 0x80, 0x80)));
  // A second hook on the same window shares the caption's control hook.
  TRxWindowHook other;
  other.SetWinControl(&w.form);
  EXPECT_EQ(other.ControlHook(), w.caption->Hook()->ControlHook());
  w.focus(QEvent::FocusIn);
  EXPECT_TRUE(w.caption->WindowActive());
}

TEST(GradientCaption, ARightClickOnTheStripPopsItsMenuUp) {
  Fenetre w;
  QMenu menu;
  menu.addAction("Close");
  w.caption->SetPopupMenu(&menu);
  w.form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.form));
  int presses = 0;
  TRxWindowHook spy;  // attached first: sees what the caption handled only afterwards
  spy.AfterMessage = [&](TRxWindowHook*, QEvent* e, bool& handled) {
    if (e->type() == QEvent::NonClientAreaMouseButtonPress && handled) ++presses;
  };
  spy.SetWinControl(&w.form);
  w.caption->Hook()->SetActive(false);
  w.caption->Hook()->SetActive(true);
  QTest::mousePress(w.caption, Qt::RightButton, {}, QPoint(100, 9));
  EXPECT_EQ(presses, 1);
  EXPECT_FALSE(menu.isVisible());
  QTest::mouseRelease(w.caption, Qt::RightButton, {}, QPoint(100, 9));
  EXPECT_TRUE(menu.isVisible());
  menu.close();
}

TEST(GradientCaption, DraggingTheStripHidesTheFormShadowUntilTheButtonIsLetGo) {
  Boite b;
  b.form.move(100, 100);
  auto* shadow = new CtlFormShadow(&b.form);
  b.form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&b.form));
  QFocusEvent in(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
  b.form.activateWindow();
  QTRY_VERIFY(b.form.windowHandle()->isActive());
  QApplication::sendEvent(b.form.windowHandle(), &in);
  ASSERT_TRUE(shadow->Shown());
  const QPoint before = b.form.pos();
  QTest::mousePress(b.caption, Qt::LeftButton, {}, QPoint(40, 8));
  EXPECT_FALSE(shadow->Shown());
  QTest::mouseMove(b.caption, QPoint(60, 18));
  QApplication::processEvents();
  EXPECT_TRUE(b.caption->MovingItself());  // offscreen: no window manager's move
  EXPECT_FALSE(shadow->Shown());
  QTest::mouseRelease(b.caption, Qt::LeftButton, {}, QPoint(60, 18));
  QApplication::processEvents();
  EXPECT_EQ(b.form.pos() - before, QPoint(20, 10));
  EXPECT_TRUE(shadow->Shown());
  EXPECT_EQ(shadow->Right()->geometry(), CtlFormShadow::RightStrip(b.form.frameGeometry(), 6));
}

TEST(GradientCaption, AShadowsMarginLiesOutsideTheStrip) {
  CtlFormShadow::SetPlatformNameForTest("wayland");
  Boite b;
  b.form.setFixedSize(200, 100);
  auto* shadow = new CtlFormShadow(&b.form);
  ASSERT_TRUE(shadow->InMargin());
  EXPECT_EQ(b.form.size(), QSize(206, 106));
  b.caption->Update();
  EXPECT_EQ(b.caption->geometry(), QRect(0, 0, 200, 18));
  EXPECT_EQ(b.caption->Bar().width(), 200);
  delete shadow;
  CtlFormShadow::SetPlatformNameForTest(QString());
}
