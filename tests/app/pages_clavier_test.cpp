// The keys that turn the pages of the option dialogs the main window runs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "app/commandes_options.h"
#include "app/commandes_options_vue.h"
#include "controls/button.h"
#include "controls/checkbox.h"
#include "dialogs/creation.h"
#include "dialogs/options_vue.h"
#include "fenetres/elements_pages.h"
#include "tests/app/atelier.h"
#include "video/reglages_video.h"

namespace {

constexpr QKeyCombination kSuivante = Qt::CTRL | Qt::Key_Tab, kPrecedente = Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab,
                          kBas = Qt::CTRL | Qt::Key_PageDown, kHaut = Qt::CTRL | Qt::Key_PageUp;

// Shows the dialog as its modal run does, and types a text into an edit
// without leaving it.
void ouvrir(QDialog& d, QLineEdit* e, const char* texte) {
  d.show();
  QApplication::setActiveWindow(&d);
  e->setFocus();
  e->selectAll();
  QTest::keyClicks(e, texte);
}

// Presses each key where the focus is; `controle` checks the page it turned to.
void tourner(const std::vector<std::pair<QKeyCombination, int>>& touches, const std::function<void(int)>& controle) {
  for (const auto& [k, page] : touches) {
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    QTest::keyClick(QApplication::focusWidget(), k.key(), k.keyboardModifiers());
    controle(page);
  }
}

// Ctrl+Tab and Ctrl+PageDown turn to the next page, Ctrl+Shift+Tab and
// Ctrl+PageUp to the one before, round the ends, from an edit whose value is
// taken as a click on the tab takes it; the page is loaded, Prev and Next
// follow, the video's path is computed again, and a tab that cannot be
// clicked is passed over.
TEST(PagesAuClavier, ControlTabAndControlPageTurnThePagesAsAClickDoes) {
  Atelier a(4);
  ASSERT_TRUE(a.vue_active()->image_existe());
  a.w->UpdateItems();
  int ouvertures = 0;
  a.w->commandes_options().executer_dialogue = [&ouvertures](QDialog& dialogue) {
    ++ouvertures;
    auto& d = dynamic_cast<TPagesdlg1&>(dialogue);
    ouvrir(d, d.Edit_relief, "12");
    tourner({{kSuivante, 2}, {kBas, 3}, {kPrecedente, 2}, {kHaut, 1}, {kHaut, 4}, {kSuivante, 1}}, [&d](int page) {
      EXPECT_EQ(d.page, page);
      EXPECT_TRUE(d.PageControl1->surligne(page));
      EXPECT_EQ(d.Btn_Prev->isEnabled(), page > 1);
      EXPECT_EQ(d.Btn_Next->isEnabled(), page < 4);
    });
    EXPECT_EQ(d.parametres.relief, 12);
    d.reject();
    return 2;
  };
  a.commande(Commande::options_creation);
  a.w->commandes_options_vue().executer = [&](const dialogs::EntreesOptionsVue& in, dialogs::SortiesOptionsVue& s) {
    ++ouvertures;
    dialogs::TPagesDlg2 d(a.w.get());
    d.remplir(in);
    auto* details = d.findChild<CtlCheckBox*>("CheckBox_details");
    if (!details->Checked()) QTest::mouseClick(details, Qt::LeftButton, {}, QPoint(8, 10));
    ouvrir(d, d.findChild<QLineEdit*>("Edit_profondeur"), "7");
    tourner({{kBas, 2}, {kSuivante, 3}, {kHaut, 2}, {kHaut, 1}, {kPrecedente, 6}}, [&d](int page) {
      EXPECT_EQ(d.sorties().page, page);
      EXPECT_EQ(d.findChild<QPushButton*>("btn_next")->isEnabled(), page < 6);
    });
    EXPECT_EQ(d.sorties().vue.profondeur_details, 7);
    s = d.sorties();
    d.reject();
    return 2;
  };
  a.commande(Commande::options_vue);
  TPagesDlg3::execution() = [&ouvertures](TPagesDlg3& d) {
    ++ouvertures;
    int calculs = 0;
    QObject::connect(&d, &TPagesDlg3::trajectoire_calculee, &d, [&calculs] { ++calculs; });
    auto* pages = d.findChild<fenetres::OngletsPlats*>("Pagecontrol2");
    d.findChild<QRadioButton*>("RadioButton_autre")->click();
    ouvrir(d, d.findChild<QLineEdit*>("Edit_Xmax"), "250");
    auto controle = [pages](int page) { EXPECT_EQ(pages->code_actif(), page); };
    tourner({{kBas, 2}, {kSuivante, 3}}, controle);
    EXPECT_EQ(d.sorties().video.largeur_image, 300);
    pages->onglet(TPagesDlg3::kTrajet)->setEnabled(false);
    calculs = 0;
    tourner({{kSuivante, 1}, {kSuivante, 3}, {kPrecedente, 1}}, controle);
    EXPECT_EQ(calculs, 3);
    d.reject();
    return 2;
  };
  a.commande(Commande::reglages_video);
  TPagesDlg3::execution() = [](TPagesDlg3& d) { return d.exec(); };
  EXPECT_EQ(ouvertures, 3);
}

}  // namespace

// An option dialog destroyed while it is still shown, a value being typed in
// one of its edits (its modal run ended from outside, as when the program
// quits): the edit's leave must not reach the half-destroyed dialog (the
// sanitizer build sees the video settings' case).
TEST(PagesAuClavier, ADialogDestroyedWhileAnEditIsBeingTypedInIsLeftQuietly) {
  {
    auto d = std::make_unique<TPagesdlg1>();
    ouvrir(*d, d->Edit_relief, "12");
  }
  {
    auto d = std::make_unique<TPagesDlg3>();
    ouvrir(*d, d->findChild<QLineEdit*>("Edit_Xmax"), "250");
  }
  SUCCEED();
}
