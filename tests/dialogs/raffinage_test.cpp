// The refinement and combination dialogs: loading, typed values, results.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>

#include "controls/button.h"
#include "controls/checkbox.h"
#include "dialogs/raffinage.h"
#include "tests/support/touche_aide.h"

namespace {

TEST(Raffinage, LoadsTheRecordAndReadsTypedValues) {
  TRaffinageDlg d;
  d.parametres.relief = 80;
  d.parametres.profil = 7;
  d.init_raffinage();
  EXPECT_EQ(d.TrackBar_relief->value(), 80);
  EXPECT_EQ(d.Edit_relief->text(), "80");
  EXPECT_EQ(d.TrackBar_profil->value(), 7);
  EXPECT_EQ(d.parametres.relief, 80);
  EXPECT_EQ(d.mode, 0);
  EXPECT_TRUE(d.RadioButton_differe->isChecked());
  for (const char* faux : {"", "abc"}) {
    d.Edit_relief->setText(faux);
    d.Edit_reliefChange();
    EXPECT_EQ(d.parametres.relief, 50) << faux;
  }
  d.Edit_profil->setText("-9");  // bounded to the bar's range, and shown so
  d.Edit_profilChange();
  EXPECT_EQ(d.parametres.profil, 1);
  EXPECT_EQ(d.TrackBar_profil->value(), 1);
  EXPECT_EQ(d.Edit_profil->text(), "1");
  d.Edit_relief->setText("0");
  d.Edit_reliefChange();
  EXPECT_EQ(d.parametres.relief, 1);
  d.TrackBar_relief->setValue(64);
  EXPECT_EQ(d.parametres.relief, 64);
  EXPECT_EQ(d.Edit_relief->text(), "64");
  d.RadioButton_refaire->click();
  EXPECT_EQ(d.mode, 1);
  EXPECT_EQ(d.Cancelbtn->ModalResult(), 3);
  EXPECT_EQ(d.OKbtn->ModalResult(), 1);
  EXPECT_EQ(d.windowTitle(), "Refinement dialog");
}

TEST(Combinaison, SelectsTheRememberedMountainOrTheFirstCandidate) {
  {
    Tform3 d;
    d.ajouter_montagne("two", 2);
    d.ajouter_montagne("four", 4);
    d.init_combinaison(4, 2, 1);
    EXPECT_EQ(d.index_montagne, 2);
    EXPECT_EQ(d.ComboBox_no->currentIndex(), 1);
    EXPECT_TRUE(d.options[2]->isChecked());
    EXPECT_TRUE(d.CheckBox_signe->Checked());
    EXPECT_EQ(d.inverser, 1);
    d.ComboBox_noChange(0);
    EXPECT_EQ(d.montagne_2, 2);
    d.ComboBox_noChange(2);  // one past the entries: ignored
    EXPECT_EQ(d.montagne_2, 2);
    d.options[3]->click();
    EXPECT_EQ(d.mode, 3);
    d.CheckBox_signe->Toggle();
    EXPECT_EQ(d.inverser, 0);
  }
  {
    Tform3 d;
    d.ajouter_montagne("two", 2);
    d.ajouter_montagne("four", 4);
    d.init_combinaison(5, 1, 0);  // closed since
    EXPECT_EQ(d.index_montagne, 1);
    EXPECT_EQ(d.montagne_2, 2);
    EXPECT_EQ(d.ComboBox_no->currentIndex(), 0);
    EXPECT_TRUE(d.options[1]->isChecked());
    EXPECT_FALSE(d.CheckBox_signe->Checked());
    EXPECT_EQ(d.Cancel->ModalResult(), 2);
  }
}

}  // namespace

// F1 shows each dialog's topic; both have a fixed dialog's frame and size.
TEST(Raffinage, F1AndAFixedFrame) {
  TRaffinageDlg r;
  EXPECT_EQ(sujets_sur_f1(r), (std::vector<int>{252}));
  Tform3 c;
  EXPECT_EQ(sujets_sur_f1(c), (std::vector<int>{253}));
  for (QDialog* d : std::initializer_list<QDialog*>{&r, &c}) {
    EXPECT_FALSE(d->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(d->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(d->minimumSize(), d->maximumSize());
  }
}
