// Escape in the dialogs that hold lists, opened from the main window's menu
// and run modally as the user gets them: on a dropped list it closes the list
// alone, and the dialog keeps its edits; on a closed list it cancels.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "dialogs/creation.h"
#include "dialogs/options_vue.h"
#include "dialogs/raffinage.h"
#include "fenetres/elements_pages.h"
#include "tests/app/atelier.h"
#include "tests/app/comparaison_records.h"
#include "video/reglages_video.h"

namespace {

// Runs `gestes` on the modal dialog of type D that the command opens, as
// soon as it is up; the dialog is ended when the gestures leave it open.
template <class D>
void dans_le_dialogue(Atelier& a, Commande c, const std::function<void(D&)>& gestes) {
  bool fait = false;
  QTimer guet;
  guet.setInterval(5);
  QObject::connect(&guet, &QTimer::timeout, [&] {
    auto* d = dynamic_cast<D*>(QApplication::activeModalWidget());
    if (!d || !d->isVisible() || fait) return;
    fait = true;
    guet.stop();
    d->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(d));
    gestes(*d);
    if (d->isVisible()) static_cast<QDialog*>(d)->done(1000);
  });
  guet.start();
  a.commande(c);
  QApplication::processEvents();
  EXPECT_TRUE(fait) << definition(c).caption;
}

template <class W = QComboBox>
W* enfant(QWidget& d, const char* nom) {
  W* w = d.findChild<W*>(nom);
  EXPECT_NE(w, nullptr) << nom;
  return w;
}

// Drops the list, moves its highlight and presses Escape in it: the list
// closes with its choice unchanged, and the dialog stays up.
void echap_dans_la_liste(QDialog& d, QComboBox* liste) {
  ASSERT_NE(liste, nullptr);
  SCOPED_TRACE(liste->objectName().toStdString());
  ASSERT_TRUE(liste->isVisible() && liste->isEnabled());
  const int choix = liste->currentIndex();
  liste->setFocus();
  liste->showPopup();
  QWidget* deroulee = liste->view()->window();
  ASSERT_TRUE(deroulee->isVisible());
  ASSERT_EQ(QApplication::activePopupWidget(), deroulee);
  QTest::keyClick(liste->view(), Qt::Key_Down);
  QTest::keyClick(liste->view(), Qt::Key_Escape);
  QApplication::processEvents();
  EXPECT_FALSE(deroulee->isVisible());
  EXPECT_TRUE(d.isVisible());
  EXPECT_EQ(liste->currentIndex(), choix);
}

// Escape on the list once closed: the dialog ends, and not with OK.
void echap_liste_fermee(QDialog& d, QComboBox* liste) {
  ASSERT_NE(liste, nullptr);
  liste->setFocus();
  QTest::keyClick(liste, Qt::Key_Escape);
  QApplication::processEvents();
  EXPECT_FALSE(d.isVisible());
  EXPECT_NE(d.result(), 1);
  EXPECT_NE(d.result(), 1000);
}

std::vector<std::int32_t> hauteurs(const Tmatrice& t) {
  std::vector<std::int32_t> h;
  for (std::int32_t i = 1; i <= t.n; ++i)
    for (std::int32_t j = 1; i + j <= t.n + 1; ++j) h.push_back(t.hauteurs->lire(i, j));
  return h;
}

TEST(ListesDesDialogues, EscapeOnADroppedListClosesOnlyTheList) {
  Atelier a(4);
  a.commande(Commande::nouvelle_montagne);
  TVuewindow* v = a.vue_active();  // a second mountain, seen
  ASSERT_NE(v, nullptr);
  a.w->UpdateItems();
  const param_mat mat = a.w->etat.parametres;
  const param_vue vue = a.w->etat.vue;
  const Param_video video = a.w->etat.video;
  const int m = a.w->etat.montagne_courante;
  const std::vector<std::int32_t> terrain = hauteurs(*a.w->etat.montagnes[m].terrain);

  {
    SCOPED_TRACE("Combine two mountains");
    dans_le_dialogue<Tform3>(a, Commande::combiner, [](Tform3& d) {
      d.options[3]->click();
      echap_dans_la_liste(d, d.ComboBox_no);
      EXPECT_EQ(d.mode, 3);
      EXPECT_TRUE(d.options[3]->isChecked());
      echap_liste_fermee(d, d.ComboBox_no);
      EXPECT_EQ(d.result(), 2);
    });
    EXPECT_EQ(hauteurs(*a.w->etat.montagnes[m].terrain), terrain);
  }
  {
    SCOPED_TRACE("Adjustements of Video");
    dans_le_dialogue<TPagesDlg3>(a, Commande::reglages_video, [](TPagesDlg3& d) {
      enfant<QRadioButton>(d, "RadioButton_800x")->click();
      enfant<fenetres::OngletsPlats>(d, "Pagecontrol2")->montrer(TPagesDlg3::kCreation);
      auto* codec = enfant(d, "ComboBox_CODEC");
      echap_dans_la_liste(d, codec);
      EXPECT_EQ(d.sorties().video.largeur_image, 800);
      echap_liste_fermee(d, codec);
      EXPECT_EQ(d.result(), 2);
    });
    comparer_section_video(a.w->etat.video, video);
  }
  {
    SCOPED_TRACE("View options");
    dans_le_dialogue<dialogs::TPagesDlg2>(a, Commande::options_vue, [](dialogs::TPagesDlg2& d) {
      enfant<fenetres::OngletsPlats>(d, "Pagecontrol2")->montrer(3);
      enfant<QRadioButton>(d, "RadioButton_C2")->click();
      auto* couche = enfant(d, "ComboBox_couche");
      echap_dans_la_liste(d, couche);
      echap_dans_la_liste(d, enfant(d, "ComboBox_type"));
      EXPECT_TRUE(enfant<QRadioButton>(d, "RadioButton_C2")->isChecked());
      echap_liste_fermee(d, couche);
    });
    comparer_vue(a.w->etat.vue, vue);
  }
  {
    SCOPED_TRACE("Creation options");
    dans_le_dialogue<TPagesdlg1>(a, Commande::options_creation, [](TPagesdlg1& d) {
      d.RadioButton_ajouter->click();
      echap_dans_la_liste(d, d.ComboBox_no);
      EXPECT_EQ(d.mode, 2);
      echap_liste_fermee(d, d.ComboBox_no);
    });
    comparer_matrice(a.w->etat.parametres, mat);
  }
  EXPECT_EQ(a.w->etat.vue_courante, 1);
}

}  // namespace
