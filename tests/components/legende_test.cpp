// The caption strip: text dropping and shortening with fixed-width texts, the
// button count, and the strip's pixels on a frameless window, active and
// inactive, through a recreation of the native window, its close button and dragging.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QFontMetrics>
#include <QTest>
#include <QAbstractButton>
#include <QPainter>
#include <cstring>

#include "components/legende.h"
#include "components/legende_x11.h"
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

// A focus event of the window system.
x11::Event focus(x11::Event::Kind kind) { return {kind, 0, QPoint()}; }

// Waits, processing events, until `condition` holds; false after 2 seconds.
template <class F>
bool soon(F condition) {
  return QTest::qWaitFor(condition, 2000);
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
  // Left to right the text starts 2 pixels in; right to left, the strip
  // mirrored (the close box at the left), it ends 2 pixels before the strip's right edge (199).
  EXPECT_LE(ltr.left(), 2 + 2);
  EXPECT_GE(rtl.right(), 199 - 2 - 3);
  EXPECT_LE(rtl.right(), 199 - 2);
  EXPECT_GT(rtl.left(), 108);
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
  for (QAbstractButton* b : {w.caption->CloseButton(), w.caption->MaxButton(), w.caption->MinButton()})
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
  ASSERT_TRUE(soon([&] { return w.form.isMaximized(); }));
  ASSERT_TRUE(soon([&] { return w.form.contentsMargins() == QMargins(0, 18, 0, 0); }));
  EXPECT_EQ(w.caption->FrameWidth(), 0);
  EXPECT_EQ(w.caption->geometry().topLeft(), QPoint(0, 0));
  EXPECT_TRUE(w.caption->Grip(0)->isHidden());
  EXPECT_EQ(w.caption->MaxButton()->toolTip(), "Restore");
  w.caption->MaxButton()->click();
  ASSERT_TRUE(soon([&] { return !w.form.isMaximized(); }));
  ASSERT_TRUE(soon([&] { return w.form.contentsMargins() == QMargins(4, 22, 4, 4); }));
  EXPECT_EQ(w.caption->MaxButton()->toolTip(), "Maximize");
}

// The strip follows the window's activation, not the keyboard focus: a
// pop-up menu or the window manager's move takes the focus, never the activation.
TEST(GradientCaption, FollowsTheWindowsActivationNotItsFocus) {
  Fenetre w;
  w.form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.form));
  QApplication::setActiveWindow(&w.form);
  ASSERT_TRUE(soon([&] { return w.caption->WindowActive(); }));
  EXPECT_EQ(w.caption->Bar().pixel(0, 17) & 0xFFFFFF, 0x008000u);
  // The focus leaves the native window (a grab), and a menu pops up: still active.
  w.focus(QEvent::FocusOut);
  QMenu menu;
  menu.addAction("Restore");
  menu.popup(w.form.mapToGlobal(QPoint(100, 30)));
  ASSERT_TRUE(soon([&] { return menu.isVisible(); }));
  EXPECT_TRUE(w.caption->WindowActive());
  EXPECT_EQ(w.caption->Bar().pixel(0, 17) & 0xFFFFFF, 0x008000u);
  menu.close();
  // Another window takes the activation: plain grey, no inactive gradient.
  QWidget other;
  other.show();
  QApplication::setActiveWindow(&other);
  ASSERT_TRUE(soon([&] { return !w.caption->WindowActive(); }));
  EXPECT_EQ(w.caption->Bar().pixel(0, 17) & 0xFFFFFF, 0xB5B5B5u);
  // The main window's inactive text colour reads on the inactive caption.
  w.caption->SetFontInactiveColor(clInactiveCaption);
  EXPECT_TRUE(has_colour(w.caption->Bar(), QRect(20, 0, 100, 18), qRgb(0x80, 0x80, 0x80)));
  QApplication::setActiveWindow(&w.form);
  ASSERT_TRUE(soon([&] { return w.caption->WindowActive(); }));
  // A second hook on the same window shares the caption's control hook.
  TRxWindowHook hook;
  hook.SetWinControl(&w.form);
  EXPECT_EQ(hook.ControlHook(), w.caption->Hook()->ControlHook());
}

// On X11 the window manager's move grabs the keyboard, and the toolkit then
// reports the window inactive: the strip stays active until the focus comes
// back or goes elsewhere for good.
TEST(GradientCaption, AGrabOfTheKeyboardKeepsTheStripActive) {
  Fenetre w;
  w.form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.form));
  QApplication::setActiveWindow(&w.form);
  ASSERT_TRUE(soon([&] { return w.caption->WindowActive(); }));
  QWidget other;
  other.show();
  w.caption->NativeEvent(focus(x11::Event::focus_out_grab));
  QApplication::setActiveWindow(&other);
  ASSERT_TRUE(soon([&] { return !w.form.isActiveWindow(); }));
  EXPECT_TRUE(w.caption->WindowActive());
  // The focus goes elsewhere for good: inactive.
  w.caption->NativeEvent(focus(x11::Event::focus_out));
  EXPECT_FALSE(w.caption->WindowActive());
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
  ASSERT_TRUE(soon([&] { return b.form.windowHandle()->isActive(); }));
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

// ---- Right to left, the buttons, a blocked window ----

// Right to left the whole strip is mirrored, as the document windows' title bars are.
TEST(GradientCaption, ARightToLeftWindowHasItsIconRightAndItsButtonsLeft) {
  Fenetre w;
  w.caption->SetWindowActive(true);
  w.form.setLayoutDirection(Qt::RightToLeft);
  EXPECT_EQ(w.caption->CaptionRect(), QRect(3 * 18, 0, 392 - 3 * 18, 18));
  EXPECT_EQ(w.caption->CloseButton()->geometry(), QRect(1, 2, 16, 14));
  EXPECT_EQ(w.caption->MinButton()->geometry(), QRect(37, 2, 16, 14));
  const CaptionFrame f = w.caption->Frame();
  const std::vector<std::pair<QPoint, TCaptionHit>> cases = {
      {{14, 12}, htClose}, {{52, 12}, htMinButton}, {{394, 12}, htSysMenu}, {{374, 12}, htCaption}};
  for (const auto& [p, hit] : cases) EXPECT_EQ(CaptionHitTest(f, p), hit) << p.x() << "," << p.y();
  const QImage& bar = w.caption->Bar();
  // The gradient starts green at the right, under the icon, and runs left.
  EXPECT_EQ(bar.pixel(391, 0) & 0xFFFFFF, 0x008000u);
  EXPECT_EQ(bar.pixel(3 * 18, 0) & 0xFFFFFF, 0x1084D0u);
  int differ = 0;
  for (int y = 0; y < 18; ++y)
    for (int x = 0; x < 18; ++x) differ += (bar.pixel(374 + x, y) & 0xFFFFFF) != 0x008000u;
  EXPECT_GT(differ, 40);  // the icon stands at the right end
  w.form.setLayoutDirection(Qt::LeftToRight);
  EXPECT_EQ(w.caption->CloseButton()->geometry(), QRect(392 - 17, 2, 16, 14));
  EXPECT_EQ(w.caption->Bar().pixel(0, 17) & 0xFFFFFF, 0x008000u);
}

namespace {

QImage button_image(TCaptionHit kind, bool restore, bool down, bool enabled) {
  QImage img(16, 14, QImage::Format_RGB32);
  img.fill(Qt::magenta);
  QPainter p(&img);
  PaintCaptionButton(p, img.rect(), kind, restore, down, enabled);
  return img;
}

bool glyph_at(const CaptionGlyph& g, int x, int y) {
  return x >= 0 && y >= 0 && x < 16 && y < 14 && (g[static_cast<std::size_t>(y)] >> x) & 1;
}

}  // namespace

// The three buttons share one face; each carries its own black glyph, drawn
// from its pattern, sunk a pixel while down and embossed while disabled.
TEST(CaptionButtons, OneRaisedFaceWithAClearGlyphEach) {
  const QRgb face = ColorToRgb(clBtnFace).rgb() & 0xFFFFFF, black = 0;
  const std::vector<std::pair<TCaptionHit, bool>> kinds = {
      {htClose, false}, {htMaxButton, false}, {htMaxButton, true}, {htMinButton, false}};
  std::vector<CaptionGlyph> glyphs;
  for (auto [kind, restore] : kinds) {
    const CaptionGlyph g = CaptionButtonGlyph(kind, restore);
    const QImage img = button_image(kind, restore, false, true);
    int pixels = 0;
    for (int y = 0; y < 14; ++y)
      for (int x = 0; x < 16; ++x) {
        const QRgb c = img.pixel(x, y) & 0xFFFFFF;
        if (glyph_at(g, x, y)) {
          EXPECT_EQ(c, black) << x << "," << y;
          ++pixels;
        } else if (x >= 2 && y >= 2 && x < 14 && y < 12) {
          EXPECT_EQ(c, face) << x << "," << y;
        }
      }
    EXPECT_GE(pixels, 12);  // a stroke, not a dot
    // The raised edge: light at the top left, dark at the bottom right.
    EXPECT_EQ(img.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(img.pixel(15, 13) & 0xFFFFFF, black);
    for (const CaptionGlyph& other : glyphs) EXPECT_NE(g, other);
    glyphs.push_back(g);
  }
  // The close cross: both strokes, crossing in the middle.
  const CaptionGlyph x = CaptionButtonGlyph(htClose, false);
  for (QPoint p : {QPoint(4, 3), QPoint(11, 3), QPoint(4, 9), QPoint(11, 9), QPoint(7, 6), QPoint(8, 6)})
    EXPECT_TRUE(glyph_at(x, p.x(), p.y())) << p.x() << "," << p.y();
  // Down: the glyph one pixel lower and further right.
  const QImage down = button_image(htClose, false, true, true);
  EXPECT_EQ(down.pixel(5, 4) & 0xFFFFFF, black);
  EXPECT_EQ(down.pixel(4, 3) & 0xFFFFFF, face);
  // Disabled: the glyph in the shadow colour, its highlight a pixel below right.
  const QImage off = button_image(htMaxButton, false, false, false);
  EXPECT_EQ(off.pixel(7, 2) & 0xFFFFFF, ColorToRgb(clBtnShadow).rgb() & 0xFFFFFF);
  EXPECT_EQ(off.pixel(12, 7) & 0xFFFFFF, 0xFFFFFFu);
}

// While a modal window blocks the owner the toolkit gives it no mouse events:
// the clicks read from the window system still work the strip's buttons, and
// its close button asks as the window manager's close does.
TEST(GradientCaption, ItsButtonsWorkWhileAModalWindowBlocksTheWindow) {
  Fenetre w;
  int refused = 0;
  w.caption->OnCloseBlocked = [&] { ++refused; };
  w.form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.form));
  const QPoint close = w.caption->CloseButton()->geometry().center() + QPoint(4, 4);
  const QPoint minimise = w.caption->MinButton()->geometry().center() + QPoint(4, 4);
  // Not blocked: the toolkit delivers the clicks itself; the read ones do nothing.
  w.caption->NativeEvent({x11::Event::press, 1, minimise});
  w.caption->NativeEvent({x11::Event::release, 1, minimise});
  EXPECT_FALSE(w.form.isMinimized());
  QDialog modal;
  modal.setWindowModality(Qt::ApplicationModal);
  modal.show();
  ASSERT_TRUE(w.caption->BlockedByModalWindow());
  // Pressed on the close box and let go elsewhere, or with the right button: nothing.
  w.caption->NativeEvent({x11::Event::press, 1, close});
  w.caption->NativeEvent({x11::Event::release, 1, minimise});
  w.caption->NativeEvent({x11::Event::press, 3, close});
  w.caption->NativeEvent({x11::Event::release, 3, close});
  EXPECT_EQ(refused, 0);
  w.caption->NativeEvent({x11::Event::press, 1, close});
  w.caption->NativeEvent({x11::Event::release, 1, close});
  EXPECT_EQ(refused, 1);
  EXPECT_TRUE(w.form.isVisible());
  w.caption->CloseButton()->click();
  EXPECT_EQ(refused, 2);
  EXPECT_TRUE(w.form.isVisible());
  w.caption->NativeEvent({x11::Event::press, 1, minimise});
  w.caption->NativeEvent({x11::Event::release, 1, minimise});
  EXPECT_TRUE(soon([&] { return w.form.isMinimized(); }));
  // The modal window gone, the close button closes.
  modal.close();
  EXPECT_FALSE(w.caption->BlockedByModalWindow());
  w.form.showNormal();
  w.caption->CloseButton()->click();
  EXPECT_FALSE(w.form.isVisible());
  EXPECT_EQ(refused, 2);
}

namespace {

template <class T>
void put(std::vector<std::uint8_t>& b, std::size_t at, T v) {
  std::memcpy(b.data() + at, &v, sizeof v);
}

}  // namespace

// The X events the strip reads: button events of the core protocol and of
// XInput 2 (in the library's layout), focus events with their grab mode.
TEST(CaptionX11, ReadsButtonsAndFocusOfItsWindowOnly) {
  constexpr std::uint32_t win = 0x2a00007;
  constexpr std::uint8_t xinput = 131;
  std::vector<std::uint8_t> core(32, 0);
  core[0] = 4;  // ButtonPress
  core[1] = 1;
  put(core, 12, win);
  put(core, 24, std::int16_t(300));
  put(core, 26, std::int16_t(9));
  x11::Event e = x11::Read(core.data(), win, xinput);
  EXPECT_EQ(e.kind, x11::Event::press);
  EXPECT_EQ(e.button, 1);
  EXPECT_EQ(e.position, QPoint(300, 9));
  core[0] = 5 | 0x80;  // a release sent by another client
  EXPECT_EQ(x11::Read(core.data(), win, xinput).kind, x11::Event::release);
  EXPECT_EQ(x11::Read(core.data(), win + 1, xinput).kind, x11::Event::none);

  std::vector<std::uint8_t> xi(80, 0);
  xi[0] = 35;
  xi[1] = xinput;
  put(xi, 4, std::uint32_t(12));  // length past the first 32 bytes, in words
  put(xi, 8, std::uint16_t(5));  // XI_ButtonRelease
  put(xi, 16, std::uint32_t(1));
  put(xi, 24, win);
  put(xi, 36, std::int32_t(700 << 16));  // root coordinates
  put(xi, 40, std::int32_t(500 << 16));
  put(xi, 44, std::int32_t((120 << 16) + 0x8000));  // window coordinates, 16.16
  put(xi, 48, std::int32_t(11 << 16));
  e = x11::Read(xi.data(), win, xinput);
  EXPECT_EQ(e.kind, x11::Event::release);
  EXPECT_EQ(e.button, 1);
  EXPECT_EQ(e.position, QPoint(120, 11));
  EXPECT_EQ(x11::Read(xi.data(), win, 0).kind, x11::Event::none);   // no XInput
  EXPECT_EQ(x11::Read(xi.data(), win, 77).kind, x11::Event::none);  // another extension
  put(xi, 4, std::uint32_t(3));  // too short to hold the coordinates
  EXPECT_EQ(x11::Read(xi.data(), win, xinput).kind, x11::Event::none);
  put(xi, 4, std::uint32_t(12));
  put(xi, 8, std::uint16_t(6));  // XI_Motion
  EXPECT_EQ(x11::Read(xi.data(), win, xinput).kind, x11::Event::none);

  std::vector<std::uint8_t> focus(32, 0);
  focus[0] = 10;  // FocusOut
  focus[1] = 3;   // NotifyNonlinear
  put(focus, 4, win);
  focus[8] = 1;  // NotifyGrab
  EXPECT_EQ(x11::Read(focus.data(), win, xinput).kind, x11::Event::focus_out_grab);
  focus[8] = 0;
  EXPECT_EQ(x11::Read(focus.data(), win, xinput).kind, x11::Event::focus_out);
  focus[8] = 3;  // while grabbed: the focus really moved
  EXPECT_EQ(x11::Read(focus.data(), win, xinput).kind, x11::Event::focus_out);
  focus[1] = 5;  // NotifyPointer: the focus only follows the pointer
  EXPECT_EQ(x11::Read(focus.data(), win, xinput).kind, x11::Event::none);
  focus[0] = 9;
  focus[1] = 3;
  focus[8] = 2;
  EXPECT_EQ(x11::Read(focus.data(), win, xinput).kind, x11::Event::focus_in);
  EXPECT_EQ(x11::Read(nullptr, win, xinput).kind, x11::Event::none);
}

// The window manager's move starts from the press point, held by the left
// button; the keyboard's holds no button.
TEST(CaptionX11, MoveRequestFromThePressPoint) {
  const auto m = x11::MoveResizeMessage(0x2a00007, 301, QPoint(-3, 12), x11::kMove, 1);
  std::uint32_t words[7];
  std::memcpy(words, m.data() + 4, sizeof words);
  EXPECT_EQ(m[0], 33);  // a client message
  const std::uint32_t want[7] = {0x2a00007u, 301u, static_cast<std::uint32_t>(-3), 12u, 8u, 1u, 1u};
  EXPECT_TRUE(std::equal(words, words + 7, want));
  // Offscreen nothing moves the window.
  EXPECT_FALSE(x11::Available());
  EXPECT_EQ(x11::Atom("WM_PROTOCOLS"), 0u);
}
