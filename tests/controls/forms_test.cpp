// The form fill and the form shadow.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPaintEvent>
#include <QScrollBar>
#include <QVBoxLayout>

#include "controls/ctlerror.h"
#include "controls/formfill.h"
#include "controls/formshadow.h"

namespace {

// A form shadow whose form counts as active when the test says so.
class TestShadow : public CtlFormShadow {
 public:
  using CtlFormShadow::CtlFormShadow;
  bool active = false;

 protected:
  bool FormActive() const override { return active; }
};

void Send(QWidget* w, QEvent::Type t) {
  QEvent e(t);
  QApplication::sendEvent(w, &e);
}

bool Shown(const CtlFormShadow& s) { return s.Right()->isVisible() && s.Bottom()->isVisible(); }

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
  Send(&form, QEvent::WindowActivate);
  EXPECT_TRUE(Shown(*shadow));
  form.setWindowState(Qt::WindowMinimized);
  EXPECT_FALSE(Shown(*shadow));
  form.setWindowState(Qt::WindowNoState);
  form.move(150, 120);
  EXPECT_TRUE(Shown(*shadow));
  EXPECT_EQ(shadow->Right()->geometry(), CtlFormShadow::RightStrip(form.frameGeometry(), 6));

  // Restoring an inactive form keeps the strips hidden.
  form.setWindowState(Qt::WindowMinimized);
  shadow->active = false;
  form.setWindowState(Qt::WindowNoState);
  EXPECT_FALSE(Shown(*shadow));

  // Deactivation keeps them with ShowInActive; the next move hides them.
  shadow->active = true;
  Send(&form, QEvent::WindowActivate);
  ASSERT_TRUE(Shown(*shadow));
  shadow->active = false;
  Send(&form, QEvent::WindowDeactivate);
  EXPECT_TRUE(Shown(*shadow));
  form.move(160, 130);
  EXPECT_FALSE(Shown(*shadow));
  shadow->ShowInActive = false;
  shadow->active = true;
  Send(&form, QEvent::WindowActivate);
  shadow->active = false;
  Send(&form, QEvent::WindowDeactivate);
  EXPECT_FALSE(Shown(*shadow));

  // Closing hides.
  shadow->active = true;
  Send(&form, QEvent::WindowActivate);
  ASSERT_TRUE(Shown(*shadow));
  Send(&form, QEvent::Close);
  EXPECT_FALSE(Shown(*shadow));
}

TEST(FormShadow, NothingOnWayland) {
  CtlFormShadow::SetPlatformNameForTest("wayland");
  QWidget form;
  auto* shadow = new TestShadow(&form);
  shadow->active = true;
  form.show();
  Send(&form, QEvent::WindowActivate);
  EXPECT_FALSE(Shown(*shadow));
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
  const int renders = fill->gradient_renders();
  form.grab();
  form.grab();
  EXPECT_EQ(fill->gradient_renders(), renders);
  form.resize(130, 90);
  form.grab();
  EXPECT_EQ(fill->gradient_renders(), renders + 1);
  fill->FillObject().Gradient().SetEndColor(CtlRgb(255, 255, 255));
  shot = form.grab().toImage();
  EXPECT_EQ(fill->gradient_renders(), renders + 2);
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
