// The form fill and the form shadow.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPaintEvent>
#include <QScrollBar>
#include <QVBoxLayout>

#include "controls/ctlerror.h"
#include "controls/formfill.h"
#include "controls/formshadow.h"
#include "tests/support/peintures.h"

namespace {

// A form shadow whose form counts as active when the test says so.
class TestShadow : public CtlFormShadow {
 public:
  using CtlFormShadow::CtlFormShadow;
  bool active = false;

 protected:
  bool FormActive() const override { return active; }
};

// Sends the event to the form's native window, where the shadow watches.
void Send(QWidget* w, QEvent::Type t) {
  if (t == QEvent::FocusIn || t == QEvent::FocusOut) {
    QFocusEvent e(t, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(w->windowHandle(), &e);
    return;
  }
  QEvent e(t);
  QApplication::sendEvent(w->windowHandle(), &e);
}

// A mouse event on the form's window at a point of the form.
void Mouse(QWidget* w, QEvent::Type t, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
  QMouseEvent e(t, at, w->mapToGlobal(at), button, held, Qt::NoModifier);
  QApplication::sendEvent(w->windowHandle(), &e);
}

bool Shown(const CtlFormShadow& s) { return s.Shown(); }

QImage Solid(int w, int h, QColor c) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(c);
  return img;
}

}  // namespace

TEST(FormShadow, StripGeometry) {
  const QRect frame(100, 100, 300, 200);  // right 400, bottom 300
  EXPECT_EQ(CtlFormShadow::RightStrip(frame, 6), QRect(400, 106, 6, 194));
  EXPECT_EQ(CtlFormShadow::BottomStrip(frame, 6), QRect(106, 300, 300, 6));
}

TEST(FormShadow, StateRules) {
  QWidget form;
  form.setGeometry(100, 100, 300, 200);
  auto* shadow = new TestShadow(&form);
  form.show();
  EXPECT_FALSE(Shown(*shadow));  // not active yet
  shadow->active = true;
  Send(&form, QEvent::FocusIn);
  EXPECT_TRUE(Shown(*shadow));
  form.setWindowState(Qt::WindowMinimized);
  QApplication::processEvents();
  EXPECT_FALSE(Shown(*shadow));
  form.setWindowState(Qt::WindowNoState);
  form.move(150, 120);
  QApplication::processEvents();
  EXPECT_TRUE(Shown(*shadow));
  EXPECT_EQ(shadow->Right()->geometry(), CtlFormShadow::RightStrip(form.frameGeometry(), 6));

  // Restoring an inactive form keeps the strips hidden.
  form.setWindowState(Qt::WindowMinimized);
  QApplication::processEvents();
  shadow->active = false;
  form.setWindowState(Qt::WindowNoState);
  QApplication::processEvents();
  EXPECT_FALSE(Shown(*shadow));

  // Deactivation keeps them with ShowInActive; the next move hides them.
  shadow->active = true;
  Send(&form, QEvent::FocusIn);
  ASSERT_TRUE(Shown(*shadow));
  shadow->active = false;
  Send(&form, QEvent::FocusOut);
  EXPECT_TRUE(Shown(*shadow));
  form.move(160, 130);
  QApplication::processEvents();
  EXPECT_FALSE(Shown(*shadow));
  shadow->ShowInActive = false;
  shadow->active = true;
  Send(&form, QEvent::FocusIn);
  shadow->active = false;
  Send(&form, QEvent::FocusOut);
  EXPECT_FALSE(Shown(*shadow));

  // Closing hides.
  shadow->active = true;
  Send(&form, QEvent::FocusIn);
  ASSERT_TRUE(Shown(*shadow));
  form.close();
  QApplication::processEvents();
  EXPECT_FALSE(Shown(*shadow));
}

TEST(FormShadow, ADragByTheTitleBarHidesTheShadowUntilTheButtonIsLetGo) {
  QWidget form;
  form.setGeometry(100, 100, 300, 200);
  auto* shadow = new TestShadow(&form);
  shadow->Shadow().SetStyle(hssTracing);
  shadow->active = true;
  form.show();
  QApplication::processEvents();
  Send(&form, QEvent::FocusIn);
  ASSERT_TRUE(Shown(*shadow));

  Mouse(&form, QEvent::NonClientAreaMouseButtonPress, {40, 5}, Qt::LeftButton, Qt::LeftButton);
  EXPECT_TRUE(shadow->Dragging());
  EXPECT_FALSE(Shown(*shadow));
  // Moves of the form and of the held pointer keep it away.
  form.move(180, 150);
  QApplication::processEvents();
  Mouse(&form, QEvent::MouseMove, {50, 8}, Qt::NoButton, Qt::LeftButton);
  Send(&form, QEvent::FocusIn);
  EXPECT_FALSE(Shown(*shadow));

  CompteurPeintures right(shadow->Right());
  Mouse(&form, QEvent::MouseButtonRelease, {50, 8}, Qt::LeftButton, Qt::NoButton);
  EXPECT_FALSE(shadow->Dragging());
  ASSERT_TRUE(Shown(*shadow));
  const QRect r = CtlFormShadow::RightStrip(form.frameGeometry(), 6);
  EXPECT_EQ(shadow->Right()->geometry(), r);
  EXPECT_EQ(shadow->Bottom()->geometry(), CtlFormShadow::BottomStrip(form.frameGeometry(), 6));
  // Shown again, the strip paints itself anew, through a mask whose checks follow its new place.
  QApplication::processEvents();
  EXPECT_GT(right.peintures, 0);
  const QRegion mask = shadow->Right()->mask();
  EXPECT_EQ(mask.contains(QPoint(0, 0)), ((r.x() + r.y()) & 1) != 0);
  EXPECT_NE(mask.contains(QPoint(1, 0)), mask.contains(QPoint(0, 0)));
  EXPECT_EQ(QColor(shadow->Right()->grab().toImage().pixel(1, 1)), QColor(128, 128, 128));

  // A drag ended by a move with no button held (the window manager kept the release).
  Mouse(&form, QEvent::NonClientAreaMouseButtonPress, {40, 5}, Qt::LeftButton, Qt::LeftButton);
  EXPECT_FALSE(Shown(*shadow));
  Mouse(&form, QEvent::MouseMove, {60, 9}, Qt::NoButton, Qt::NoButton);
  EXPECT_TRUE(Shown(*shadow));
  // The right button on the title bar drags nothing.
  Mouse(&form, QEvent::NonClientAreaMouseButtonPress, {40, 5}, Qt::RightButton, Qt::RightButton);
  EXPECT_TRUE(Shown(*shadow));
}

TEST(FormShadow, TracedMaskKeepsThePixelsWhoseScreenPlaceAddsUpToOdd) {
  CtlShadow shadow;
  shadow.SetStyle(hssTracing);
  CtlShadowStrip strip(nullptr, &shadow);
  strip.resize(9, 5);
  for (const QPoint origin : {QPoint(0, 0), QPoint(3, -2), QPoint(-7, 4), QPoint(1, 1), QPoint(1030, 641)}) {
    strip.Reshape(origin);
    const QRegion mask = strip.mask();
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 9; ++x)
        EXPECT_EQ(mask.contains(QPoint(x, y)), ((x + y + origin.x() + origin.y()) & 1) != 0)
            << "origin " << origin.x() << "," << origin.y() << " pixel " << x << "," << y;
  }
  // Another style has no mask.
  shadow.SetStyle(hssSolid);
  strip.Reshape(QPoint(0, 0));
  EXPECT_TRUE(strip.mask().isEmpty());
}

TEST(FormShadow, UnderWaylandTheFormsOwnWindowCarriesItInATranslucentMargin) {
  CtlFormShadow::SetPlatformNameForTest("wayland");
  QWidget form;
  form.setFixedSize(200, 100);
  QPalette pal = form.palette();
  pal.setColor(QPalette::Window, Qt::white);
  form.setPalette(pal);
  form.setAutoFillBackground(true);
  auto* shadow = new TestShadow(&form);
  shadow->Shadow().SetStyle(hssTracing);
  EXPECT_TRUE(shadow->InMargin());
  EXPECT_EQ(shadow->Right(), nullptr);
  EXPECT_EQ(form.size(), QSize(206, 106));
  EXPECT_EQ(form.contentsRect(), QRect(0, 0, 200, 100));
  EXPECT_TRUE(form.testAttribute(Qt::WA_TranslucentBackground));
  shadow->active = true;
  form.show();
  QApplication::processEvents();
  Send(&form, QEvent::FocusIn);
  ASSERT_TRUE(Shown(*shadow));
  QImage shot = form.grab().toImage();
  EXPECT_EQ(shot.pixel(100, 50), qRgb(255, 255, 255));
  EXPECT_EQ(qAlpha(shot.pixel(203, 2)), 0);  // above the right strip
  EXPECT_EQ(qAlpha(shot.pixel(2, 103)), 0);  // left of the bottom strip
  // Every second pixel of the margin in the shadow's colour, the others clear.
  const QRgb a = shot.pixel(201, 50), b = shot.pixel(202, 50);
  EXPECT_NE(qAlpha(a), qAlpha(b));
  EXPECT_EQ(qRgb(qRed(qAlpha(a) ? a : b), qGreen(qAlpha(a) ? a : b), qBlue(qAlpha(a) ? a : b)), qRgb(128, 128, 128));
  EXPECT_NE(qAlpha(shot.pixel(50, 103)), qAlpha(shot.pixel(51, 103)));

  // The rules hold as with the strips: a drag empties the margin.
  Mouse(&form, QEvent::NonClientAreaMouseButtonPress, {40, 5}, Qt::LeftButton, Qt::LeftButton);
  EXPECT_FALSE(Shown(*shadow));
  shot = form.grab().toImage();
  EXPECT_EQ(qAlpha(shot.pixel(201, 50)) + qAlpha(shot.pixel(202, 50)), 0);
  Mouse(&form, QEvent::MouseButtonRelease, {40, 5}, Qt::LeftButton, Qt::NoButton);
  EXPECT_TRUE(Shown(*shadow));

  delete shadow;
  EXPECT_EQ(form.size(), QSize(200, 100));
  EXPECT_TRUE(form.autoFillBackground());
  CtlFormShadow::SetPlatformNameForTest(QString());
}

TEST(FormShadow, OnePerFormAndOnlyOnForms) {
  QWidget form;
  new CtlFormShadow(&form);
  const std::string text = "TCtlFormShadow:\rInvalid owner (<>TForm) or second instance on a form";
  try {
    new CtlFormShadow(&form);
    ADD_FAILURE() << "a second shadow was accepted";
  } catch (const CtlEOneInstError& e) {
    EXPECT_EQ(e.what(), text);
  }
  auto* child = new QWidget(&form);
  EXPECT_THROW(new CtlFormShadow(child), CtlEOneInstError);
  QMdiArea area;
  auto* inner = new QWidget;
  area.addSubWindow(inner);
  EXPECT_THROW(new CtlFormShadow(inner), CtlEOneInstError);
}

TEST(FormFill, CentredPictureOnTheMainWindowsMdiArea) {
  CtlBitmapList list;
  list.AddBitmap(Solid(100, 80, Qt::red));
  QMainWindow main;
  auto* central = new QWidget;
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* area = new QMdiArea;
  layout->addWidget(area);
  main.setCentralWidget(central);
  area->setFixedSize(800, 600);
  auto* fill = new CtlFormFill(&main);
  EXPECT_EQ(fill->FormKind(), fkMdiMain);
  fill->SetFormColor(CtlRgb(0, 0, 255));
  fill->FillObject().SetStyle(sfBitmapList);
  fill->FillObject().SetAlignment(agCenter);
  fill->FillObject().SetTileMode(tmNone);
  fill->SetListIndex(0);
  fill->SetImageList(&list);
  main.show();
  QImage shot = area->viewport()->grab().toImage();
  EXPECT_EQ(QColor(shot.pixel(400, 300)), QColor(Qt::red));
  EXPECT_EQ(QColor(shot.pixel(10, 10)), QColor(Qt::blue));

  // A missing entry paints nothing of its own.
  fill->SetListIndex(4);
  EXPECT_TRUE(fill->IsEmpty());
  shot = area->viewport()->grab().toImage();
  EXPECT_NE(QColor(shot.pixel(400, 300)), QColor(Qt::red));
  EXPECT_NE(QColor(shot.pixel(10, 10)), QColor(Qt::blue));
}

TEST(FormFill, OwnerDrawAndTheGradientBuffer) {
  QWidget form;
  form.resize(120, 90);
  auto* fill = new CtlFormFill(&form);
  fill->SetFormColor(CtlRgb(0, 255, 0));
  fill->SetPaintMode(pcOwnerDraw);
  std::vector<QRect> calls;
  fill->OnPaint = [&](QPainter& p, const QRect& client) {
    EXPECT_EQ(p.device()->width(), 120);
    calls.push_back(client);
  };
  QImage shot = form.grab().toImage();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0], QRect(0, 0, 120, 90));
  EXPECT_EQ(QColor(shot.pixel(60, 45)), QColor(0, 255, 0));
  EXPECT_TRUE(fill->EraseOnResize());

  fill->SetPaintMode(pcControl);
  fill->FillObject().SetStyle(sfGradient);
  form.show();
  form.grab();
  // The gradient is rendered again only for a new size or a new gradient.
  const qint64 rendu = fill->GradientBuffer().cacheKey();
  form.grab();
  form.grab();
  EXPECT_EQ(fill->GradientBuffer().cacheKey(), rendu);
  form.resize(130, 90);
  form.grab();
  const qint64 agrandi = fill->GradientBuffer().cacheKey();
  EXPECT_NE(agrandi, rendu);
  EXPECT_EQ(fill->GradientBuffer().width(), 130);
  fill->FillObject().Gradient().SetEndColor(CtlRgb(255, 255, 255));
  shot = form.grab().toImage();
  EXPECT_NE(fill->GradientBuffer().cacheKey(), agrandi);
  EXPECT_NE(shot.pixel(5, 2), shot.pixel(5, 87));

  fill->FillObject().SetStyle(sfBitmap);
  fill->FillObject().SetTileMode(tmTile);
  EXPECT_FALSE(fill->EraseOnResize());
}

namespace {

// Records the regions of the paint events a widget receives.
struct PaintRegions : QObject {
  std::vector<QRect> rects;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) rects.push_back(static_cast<QPaintEvent*>(e)->region().boundingRect());
    return false;
  }
};

}  // namespace

TEST(FormFill, ScrollingTheMdiAreaPaintsTheWholeBackgroundAgain) {
  CtlBitmapList list;
  list.AddBitmap(Solid(100, 80, Qt::red));
  QMainWindow main;
  auto* area = new QMdiArea;
  main.setCentralWidget(area);
  area->setFixedSize(400, 300);
  area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  auto* child = area->addSubWindow(new QWidget);
  child->setGeometry(50, 900, 100, 80);
  auto* fill = new CtlFormFill(&main);
  fill->FillObject().SetStyle(sfBitmapList);
  fill->FillObject().SetAlignment(agCenter);
  fill->FillObject().SetTileMode(tmNone);
  fill->SetImageList(&list);
  main.show();
  child->show();
  QApplication::processEvents();
  ASSERT_GT(area->verticalScrollBar()->maximum(), 10);
  PaintRegions regions;
  area->viewport()->installEventFilter(&regions);
  area->verticalScrollBar()->setValue(10);
  QApplication::processEvents();
  ASSERT_FALSE(regions.rects.empty());
  EXPECT_EQ(regions.rects.back(), area->viewport()->rect());
}
