// Combo boxes: what fires, the recently-used section, incremental search on
// the stepped pool, the image combo box's image rule and item heights, owner drawing.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "controls/application.h"
#include "controls/combobox.h"

namespace {

struct ActiveForm {
  QWidget form;
  ActiveForm() {
    form.resize(300, 200);
    form.show();
    form.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
  }
};

// Chooses item `row` with the keyboard in the open list.
void ChooseWithKeys(CtlComboBox* c, int row) {
  c->showPopup();
  QAbstractItemView* v = c->view();
  v->setCurrentIndex(v->model()->index(row, 0));
  QTest::keyClick(v, Qt::Key_Return);
}

}  // namespace

TEST(ComboBox, CodeFiresNothingAndAUserChoiceFiresSelectedThenChanged) {
  ActiveForm f;
  auto* c = new CtlComboBox(&f.form);
  auto* suivant = new QLineEdit(&f.form);
  suivant->move(0, 40);
  c->addItems({"Oak", "Fir", "Poplar"});
  c->SetFocusControl(suivant);
  c->show();
  suivant->show();
  QStringList ordre;
  QObject::connect(c, &CtlComboBox::selected, [&] { ordre << "selected"; });
  QObject::connect(c, &CtlComboBox::changed, [&] { ordre << "changed"; });
  c->setCurrentIndex(2);
  c->setCurrentText("Fir");
  EXPECT_TRUE(ordre.isEmpty());
  c->setFocus();
  ChooseWithKeys(c, 0);
  EXPECT_EQ(ordre, QStringList({"selected", "changed"}));
  EXPECT_EQ(c->currentIndex(), 0);
  QCoreApplication::processEvents();
  EXPECT_EQ(f.form.focusWidget(), suivant);  // the focus moved on after the choice
}

TEST(ComboBox, RecentlyUsedSection) {
  ActiveForm f;
  auto* c = new CtlComboBox(&f.form);
  c->addItems({"a", "b", "c", "d", "e", "f", "g"});
  c->SetMRUList(true);
  c->SetMRUMax(5);
  const int n = c->count();
  for (int k = 0; k < 5; ++k) ChooseWithKeys(c, c->MRUCount() + k);  // a..e, each from below the section
  EXPECT_EQ(c->MRUCount(), 5);
  EXPECT_EQ(c->itemText(0), "e");
  EXPECT_EQ(c->itemText(4), "a");
  ChooseWithKeys(c, 5 + 5);  // "f" below: the oldest ("a") drops out
  EXPECT_EQ(c->MRUCount(), 5);
  EXPECT_EQ(c->itemText(0), "f");
  EXPECT_EQ(c->itemText(4), "b");
  EXPECT_EQ(c->count(), n + 5);
  ChooseWithKeys(c, 5 + 2);  // "c" is already recent: it is selected there
  EXPECT_EQ(c->currentIndex(), 3);
  EXPECT_EQ(c->MRUCount(), 5);
  EXPECT_EQ(c->ItemHeight(0), c->fontMetrics().height() + 2 + 4);
  c->SetMRUMax(3);
  EXPECT_EQ(c->count(), n + 3);
  c->SetMRUList(false);
  EXPECT_EQ(c->count(), n);
  EXPECT_EQ(c->itemText(0), "a");
}

TEST(ComboBox, IncrementalSearchOnThePool) {
  ActiveForm f;
  CtlTimerPool* pool = CtlApplication::Instance()->Timers();
  pool->SetManualStepping(true);
  auto* c = new CtlComboBox(&f.form);
  c->addItems({"Pine", "Oak", "Poplar", "Fir"});
  c->SetSearch(true);
  EXPECT_EQ(c->itemText(0), "Fir");
  EXPECT_EQ(c->itemText(3), "Poplar");
  c->setFocus();
  c->lineEdit()->clear();
  QSignalSpy change(c, &CtlComboBox::changed);
  QTest::keyClicks(c, "Po");
  EXPECT_EQ(change.count(), 2);  // one per change of the edit part
  for (int k = 0; k < 29; ++k) pool->Step();
  EXPECT_TRUE(c->SearchPending());
  pool->Step();
  EXPECT_FALSE(c->SearchPending());
  EXPECT_EQ(c->lineEdit()->text(), "Poplar");
  EXPECT_EQ(c->lineEdit()->selectedText(), "plar");
  QTest::keyClick(c, Qt::Key_Backspace);
  for (int k = 0; k < 49; ++k) pool->Step();
  EXPECT_TRUE(c->SearchPending());
  pool->Step();
  EXPECT_FALSE(c->SearchPending());
  pool->SetManualStepping(false);
}

TEST(ImageComboBox, ImageOfEachItemAndItsText) {
  CtlBitmapList liste;
  for (int k = 0; k < 8; ++k) {
    QImage img(32, 32, QImage::Format_RGB32);
    img.fill(QColor(10 * k, 0, 0));
    liste.AddBitmap(img);
  }
  CtlImageComboBox c;
  c.SetImageList(&liste);
  c.addItems({"0", "1", "2", "3", "4", "5", "6", "7", "8", "x|5", "AVI CVID Cinepack", "x|z", "x|99999999999"});
  EXPECT_EQ(c.ImageIndexOf(3), 3);
  EXPECT_EQ(c.ImageIndexOf(9), 5);  // beyond the images: the number after the delimiter
  EXPECT_EQ(c.ShownText(9), "x");
  c.SetOptions(lboCheckImageNr);
  EXPECT_EQ(c.ImageIndexOf(10), -1);
  EXPECT_EQ(c.ImageIndexOf(11), -1);
  EXPECT_EQ(c.ImageIndexOf(12), -1);
  c.SetDefaultItem(2);
  EXPECT_EQ(c.ImageIndexOf(10), 2);
  c.SetOptions(lboCheckImageNr | lboCalcHeight);
  c.Layout().SetSpacing(2);
  EXPECT_EQ(c.ItemHeight(3), 48);
  // Deleting the list leaves no images, and drawing still works.
  auto* perdue = new CtlBitmapList;
  perdue->AddBitmap(QImage(4, 4, QImage::Format_RGB32));
  c.SetImageList(perdue);
  EXPECT_EQ(c.ImageCount(), 1);
  delete perdue;
  EXPECT_EQ(c.ImageCount(), 0);
  c.grab();
}

TEST(ImageComboBox, ImagesOnlyAndOwnerDrawing) {
  CtlBitmapList liste;
  for (int k = 0; k < 3; ++k) liste.AddBitmap(QImage(16, 16, QImage::Format_RGB32));
  CtlImageComboBox c;
  c.SetImagesOnly(true);
  c.SetImageList(&liste);
  EXPECT_EQ(c.count(), 3);
  CtlComboBox o;
  o.addItems({"red", "green"});
  std::vector<int> dessines;
  o.OnDrawItem = [&](QPainter&, const QRect&, int index, bool) { dessines.push_back(index); };
  o.resize(120, 24);
  o.setCurrentIndex(1);
  o.grab();
  EXPECT_EQ(dessines, std::vector<int>({1}));  // the closed box's current item
  o.show();
  o.showPopup();
  o.view()->grab();
  o.hidePopup();
  EXPECT_NE(std::count(dessines.begin(), dessines.end(), 0), 0);  // the popup's items
}
