// The video settings dialog through the real main window: from a new mountain
// to a movie without opening a file.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "app/aide.h"
#include "fenetres/elements_pages.h"
#include "controls/button.h"
#include "controls/combobox.h"
#include "platform/vidconv/conversion_video.h"
#include "tests/app/atelier.h"
#include "video/fenetre_video.h"
#include "video/reglages_video.h"

namespace {

TEST(ReglagesVideo, FromANewMountainToAMovie) {
  Atelier a(4);
  a.commande(Commande::nouvelle_montagne);
  a.commande(Commande::voir);
  TVuewindow* v = a.vue(1);
  a.attendre_image(v);
  ASSERT_TRUE(v->image_existe());
  a.w->activer(v);
  a.w->UpdateItems();
  int ouvertures = 0;
  // The range comes closer than the range lines allow, and is kept.
  a.w->etat.video.premiere_image = 1;
  a.w->etat.video.derniere_image = 20;
  TPagesDlg3::execution() = [&ouvertures](TPagesDlg3& d) {
    ++ouvertures;
    auto* pages = d.findChild<fenetres::OngletsPlats*>("Pagecontrol2");
    d.findChild<QRadioButton*>("RadioButton_320x")->click();
    pages->montrer(TPagesDlg3::kCreation);
    auto* codec = d.findChild<CtlImageComboBox*>("ComboBox_CODEC");
    codec->showPopup();
    codec->view()->setCurrentIndex(codec->view()->model()->index(4, 0));
    QTest::keyClick(codec->view(), Qt::Key_Return);
    auto* nombre = d.findChild<QLineEdit*>("nombre_images");
    nombre->setText("200");
    emit nombre->editingFinished();
    pages->montrer(TPagesDlg3::kTrajet);
    d.findChild<QRadioButton*>("type_trajectoire_1")->click();
    d.findChild<QRadioButton*>("RadioButton_ajouter")->click();
    d.findChild<CtlButton*>("OKBtn")->click();
    return d.result();
  };
  // With context help on, the item shows its topic instead.
  a.w->Contextuelle();
  a.commande(Commande::reglages_video);
  EXPECT_EQ(a.w->aide()->CurrentTopic(), 5012);
  EXPECT_EQ(ouvertures, 0);
  a.w->Contextuelle();
  a.commande(Commande::reglages_video);
  TPagesDlg3::execution() = [](TPagesDlg3& d) { return d.exec(); };
  ASSERT_EQ(ouvertures, 1);
  EXPECT_EQ(a.w->etat.video.type_video, 6);
  EXPECT_EQ(a.w->etat.video.largeur_image, 320);
  ASSERT_TRUE(a.w->timerthread1().isActive());
  a.w->TimerThread1Timer();
  FenetreVideo* video = a.w->fenetres_videos[1];
  ASSERT_NE(video, nullptr);
  ASSERT_FALSE(video->fichier_film.empty());
  platform::vcv::FileInfo info;
  ASSERT_TRUE(platform::vcv::get_file_info(video->fichier_film, 0, info));
  EXPECT_EQ(info.frames, 19);
  EXPECT_EQ(info.width, 320);
  a.w->UpdateItems();
  EXPECT_TRUE(a.w->action(Commande::creer_video)->isEnabled());
}

}  // namespace
