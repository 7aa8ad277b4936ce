// Check boxes and radio buttons: which user actions fire what, cells of the
// strips, the accelerator, focus rules, the mirrored layout read right to left.
#include <gtest/gtest.h>

#include <QAction>
#include <QActionGroup>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>

#include "controls/checkbox.h"

namespace {

void Click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(5, 8)); }

struct ActiveForm {
  QWidget form;
  ActiveForm() {
    form.resize(300, 200);
    form.show();
    form.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
  }
};

// Strip of `cells` cells of `w` pixels, cell k filled with grey level 10 * (k + 1).
void StripList(CtlBitmapList& liste, int cells, int w) {
  QImage strip(cells * w, w, QImage::Format_RGB32);
  for (int k = 0; k < cells; ++k)
    for (int x = 0; x < w; ++x)
      for (int y = 0; y < w; ++y) strip.setPixelColor(k * w + x, y, QColor(10 * (k + 1), 0, 0));
  liste.AddBitmap(strip);
}

}  // namespace

TEST(CheckBox, GrayedCycleFiresChangedBeforeClicked) {
  ActiveForm f;
  auto* c = new CtlCheckBox(&f.form);
  c->show();
  c->SetAllowGrayed(true);
  QStringList ordre;
  QObject::connect(c, &CtlCheckBox::changed, [&] { ordre << "changed"; });
  QObject::connect(c, &CtlButtonControl::clicked, [&] { ordre << "clicked"; });
  const CtlCheckState attendus[] = {cbGrayed, cbChecked, cbUnchecked};
  for (CtlCheckState s : attendus) {
    Click(c);
    EXPECT_EQ(c->State(), s);
  }
  EXPECT_EQ(ordre, QStringList({"changed", "clicked", "changed", "clicked", "changed", "clicked"}));
  EXPECT_TRUE(c->hasFocus());
  ordre.clear();
  c->SetChecked(true);
  c->SetState(cbGrayed);
  EXPECT_TRUE(ordre.isEmpty());
}

TEST(CheckBox, ReadOnlySpaceAcceleratorAndTabStop) {
  ActiveForm f;
  auto* autre = new CtlCheckBox(&f.form);
  auto* c = new CtlCheckBox(&f.form);
  c->move(0, 30);
  autre->show();
  c->show();
  QSignalSpy change(c, &CtlCheckBox::changed), clic(c, &CtlButtonControl::clicked);
  c->SetReadOnly(true);
  Click(c);
  EXPECT_FALSE(c->Checked());
  EXPECT_EQ(change.count(), 0);
  EXPECT_EQ(clic.count(), 1);
  c->SetReadOnly(false);
  QTest::keyClick(c, Qt::Key_Space);
  EXPECT_TRUE(c->Checked());
  EXPECT_EQ(change.count(), 1);
  EXPECT_EQ(clic.count(), 1);
  // The accelerator focuses and toggles once, also after a second caption.
  c->SetCaption("&Picture");
  c->SetCaption("&Picture");
  autre->setFocus();
  QTest::keyClick(&f.form, Qt::Key_P, Qt::AltModifier);
  EXPECT_TRUE(c->hasFocus());
  EXPECT_FALSE(c->Checked());
  EXPECT_EQ(change.count(), 2);
  EXPECT_EQ(clic.count(), 1);
  // Without a tab stop a click still focuses and toggles.
  c->SetTabStop(false);
  autre->setFocus();
  Click(c);
  EXPECT_TRUE(c->Checked());
  EXPECT_TRUE(c->hasFocus());
}

TEST(CheckBox, CellsOfListAndBuiltInStrips) {
  QWidget parent;
  auto* c = new CtlCheckBox(&parent);
  EXPECT_EQ(c->GlyphNumber(), 3);
  c->SetGlyphNumber(0);
  EXPECT_EQ(c->GlyphNumber(), 1);
  c->SetGlyphNumber(2);
  c->SetAllowGrayed(true);
  c->SetState(cbGrayed);
  EXPECT_EQ(c->CellIndex(), 2);
  c->SetState(cbChecked);
  c->setEnabled(false);
  EXPECT_EQ(c->CellIndex(), 3);
  c->setEnabled(true);
  // The built-in strip keeps whole marks of GlyphSize whatever GlyphNumber says.
  EXPECT_EQ(c->CellWidth(), 13);
  EXPECT_EQ(c->Strip().width(), 78);
  CtlBitmapList liste;
  StripList(liste, 6, 13);
  c->SetGlyphNumber(3);
  c->SetImageList(&liste, 0, 0);
  EXPECT_EQ(c->CellWidth(), 13);
  c->SetState(cbGrayed);
  const QImage vu = c->grab().toImage();
  EXPECT_EQ(vu.pixelColor(c->Places().glyph.center()), QColor(50, 0, 0));  // cell 4
  // The caption sits Spacing pixels after the mark.
  c->SetCaption("Box");
  EXPECT_EQ(c->Places().text.left(), c->Places().glyph.right() + 1 + 4);
}

TEST(CheckBox, AutoSizeTakesMarkPlusCaption) {
  QWidget parent;
  auto* c = new CtlCheckBox(&parent);
  c->SetCaption("A rather long caption");
  c->SetAutoSize(true);
  EXPECT_EQ(c->width(), c->MeasuredSize().width());
  EXPECT_GT(c->width(), 13 + 4 + 50);
  EXPECT_GE(c->height(), 13);
}

// Read right to left, the mark stands at the right and the caption before
// it: mark and caption mirrored, as the platform's own boxes draw them.
TEST(CheckBox, RightToLeftMirrorsMarkAndCaption) {
  QWidget form;
  form.resize(300, 60);
  auto* check = new CtlCheckBox(&form);
  auto* radio = new CtlRadioButton(&form);
  for (CtlButtonControl* c : {static_cast<CtlButtonControl*>(check), static_cast<CtlButtonControl*>(radio)}) {
    c->SetCaption("Island");
    c->resize(120, 20);
    const QRect mark = c->Places().glyph, text = c->Places().text;
    EXPECT_EQ(mark.left(), 0);
    EXPECT_GT(text.left(), mark.right());
    c->setLayoutDirection(Qt::RightToLeft);
    EXPECT_EQ(c->Places().glyph, QStyle::visualRect(Qt::RightToLeft, c->rect(), mark));
    EXPECT_EQ(c->Places().text, QStyle::visualRect(Qt::RightToLeft, c->rect(), text));
    EXPECT_EQ(c->Places().glyph.right(), c->width() - 1);
  }
}

TEST(RadioButton, CheckingUnchecksSiblingsOnlySilently) {
  ActiveForm f;
  auto* a = new QWidget(&f.form);
  auto* b = new QWidget(&f.form);
  b->move(150, 0);
  CtlRadioButton* ra[3];
  CtlRadioButton* rb[2];
  for (int k = 0; k < 3; ++k) {
    ra[k] = new CtlRadioButton(a);
    ra[k]->move(0, 20 * k);
  }
  for (int k = 0; k < 2; ++k) {
    rb[k] = new CtlRadioButton(b);
    rb[k]->move(0, 20 * k);
  }
  a->show();
  b->show();
  QSignalSpy clic(ra[2], &CtlButtonControl::clicked);
  rb[0]->SetChecked(true);
  ra[0]->SetChecked(true);
  ra[1]->SetChecked(true);
  EXPECT_FALSE(ra[0]->Checked());
  EXPECT_TRUE(ra[1]->Checked());
  EXPECT_TRUE(rb[0]->Checked());
  EXPECT_TRUE(ra[1]->TabStop());
  EXPECT_FALSE(ra[0]->TabStop());
  EXPECT_EQ(clic.count(), 0);
  // A click checks, then clicks.
  bool coche_au_clic = false;
  QObject::connect(ra[2], &CtlButtonControl::clicked, [&] { coche_au_clic = ra[2]->Checked(); });
  Click(ra[2]);
  EXPECT_TRUE(coche_au_clic);
  EXPECT_FALSE(ra[1]->Checked());
  EXPECT_EQ(clic.count(), 1);
  // The focus alone checks an unchecked one, without a click.
  ra[0]->setFocus();
  EXPECT_TRUE(ra[0]->Checked());
  EXPECT_FALSE(ra[2]->Checked());
  EXPECT_EQ(clic.count(), 1);
  // A focused one unchecked by code is checked again by a click.
  ra[0]->SetChecked(false);
  Click(ra[0]);
  EXPECT_TRUE(ra[0]->Checked());
}

TEST(RadioButton, BuiltInStripOnOliveAndCells) {
  QWidget parent;
  auto* r = new CtlRadioButton(&parent);
  EXPECT_TRUE(r->GlyphTransparent());
  EXPECT_EQ(r->Strip().width(), 4 * 13);
  EXPECT_EQ(r->Strip().pixelColor(0, 0), QColor(128, 128, 0));
  EXPECT_EQ(r->CellIndex(), 0);
  r->SetChecked(true);
  r->setEnabled(false);
  EXPECT_EQ(r->CellIndex(), 3);
}

TEST(CheckBox, ALinkedActionAndTheMarkStayInStep) {
  ActiveForm f;
  auto* c = new CtlCheckBox(&f.form);
  c->show();
  QAction trees("&Trees");
  trees.setCheckable(true);
  trees.setToolTip("Draw the trees");
  QSignalSpy triggered(&trees, &QAction::triggered), change(c, &CtlCheckBox::changed);
  c->SetAction(&trees);
  EXPECT_EQ(c->Caption(), "&Trees");
  EXPECT_EQ(c->toolTip(), "Draw the trees");
  trees.setChecked(true);  // as code sets it: no change signal
  EXPECT_TRUE(c->Checked());
  EXPECT_EQ(change.count(), 0);
  Click(c);
  EXPECT_FALSE(trees.isChecked());
  ASSERT_EQ(triggered.count(), 1);
  EXPECT_FALSE(triggered.at(0).at(0).toBool());
  QTest::keyClick(c, Qt::Key_Space);  // the user's change without a click
  EXPECT_TRUE(trees.isChecked());
  EXPECT_EQ(triggered.count(), 1);
  trees.setEnabled(false);
  EXPECT_FALSE(c->isEnabled());

  // Radio buttons of an exclusive group follow their actions.
  QActionGroup group(nullptr);
  QAction raise("Raise", &group), lower("Lower", &group);
  raise.setCheckable(true);
  lower.setCheckable(true);
  raise.setChecked(true);
  auto* r1 = new CtlRadioButton(&f.form);
  auto* r2 = new CtlRadioButton(&f.form);
  r2->move(0, 30);
  r1->show();
  r2->show();
  r1->SetAction(&raise);
  r2->SetAction(&lower);
  EXPECT_TRUE(r1->Checked());
  Click(r2);
  EXPECT_TRUE(lower.isChecked());
  EXPECT_FALSE(raise.isChecked());
  EXPECT_FALSE(r1->Checked());
  raise.setChecked(true);
  EXPECT_TRUE(r1->Checked());
  EXPECT_FALSE(r2->Checked());
}
