// The creation options dialog: its arithmetic, the load rule (OK untouched
// gives the record back), the key, typed values, the Trees page, the preview
// and the mountain list.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRect>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "fenetres/elements_pages.h"
#include "fenetres/rendu.h"
#include "tests/support/rendus.h"
#include "controls/button.h"
#include "controls/checkbox.h"
#include "controls/listbox.h"
#include "controls/trackbar.h"
#include "dialogs/creation.h"
#include "dialogs/creation_arbres.h"
#include "model/aleatoire.h"
#include "model/defauts.h"
#include "tests/support/observation.h"
#include "tests/support/terrains.h"
#include "tests/support/touche_aide.h"

namespace {

using dialogs::PointFigure;

// A control of a page or of the dialog, by name.
template <class W>
W* enfant(const QObject* o, const QString& nom) {
  W* w = o->findChild<W*>(nom);
  if (!w) {
    ADD_FAILURE() << "no control " << nom.toStdString();
    throw std::runtime_error(nom.toStdString());
  }
  return w;
}

TEST(CreationCalculs, SlopeFigureLevelRowsAndTheLayerUnderAClick) {
  const std::array<PointFigure, 9> attendus = {
      PointFigure{15, 95}, {45, 92}, {66, 86}, {81, 79}, {91, 72}, {98, 65}, {103, 58}, {107, 49}, {110, 38}};
  EXPECT_EQ(dialogs::points_pente(120, 100), attendus);
  EXPECT_EQ(dialogs::ligne_niveau(4000, 200), 4);
  EXPECT_EQ(dialogs::ligne_niveau(1000, 200), 118);
  EXPECT_EQ(dialogs::ligne_niveau(0, 200), 156);
  EXPECT_EQ(dialogs::ligne_niveau(-1000, 200), 194);
  EXPECT_EQ(dialogs::couche_sous(45, 181), 1);
  EXPECT_EQ(dialogs::couche_sous(46, 181), 2);
  EXPECT_EQ(dialogs::couche_sous(180, 181), 4);
  EXPECT_EQ(dialogs::colonne_niveaux(1, 181), (std::pair<int, int>{4, 41}));
  EXPECT_EQ(dialogs::colonne_niveaux(4, 181), (std::pair<int, int>{140, 177}));
  EXPECT_EQ(dialogs::position_niveau(25), 298);
  EXPECT_EQ(dialogs::niveau_de_position(298), 20);
  std::int32_t mini = 30, maxi = 20;
  EXPECT_TRUE(dialogs::coupler(mini, maxi, false));
  EXPECT_EQ(mini, 20);
  mini = 50, maxi = 40;
  EXPECT_TRUE(dialogs::coupler(mini, maxi, true));
  EXPECT_EQ(maxi, 50);
  EXPECT_FALSE(dialogs::coupler(mini, maxi, true));
}

TEST(CreationCalculs, PreviewRecordNeverDrawsAKeyAndLightensTheFastPreview) {
  param_mat p = parametres_test(9);
  p.alea = 1;
  p.taux_lissage = 9;
  p.gradins = 1;
  p.rivage_actif = 1;
  const param_mat rapide = dialogs::parametres_apercu(p, true, 7);
  EXPECT_EQ(rapide.alea, 0);
  EXPECT_EQ(rapide.maillage, 5);
  EXPECT_EQ(rapide.taux_lissage, 0);
  EXPECT_EQ(rapide.gradins, 0);
  EXPECT_EQ(rapide.rivage_actif, 0);
  const param_mat normal = dialogs::parametres_apercu(p, false, 5);
  EXPECT_EQ(normal.maillage, 5);
  EXPECT_EQ(normal.taux_lissage, 0);
  EXPECT_EQ(normal.gradins, 0);
  EXPECT_EQ(normal.rivage_actif, 1);
  const param_mat detaille = dialogs::parametres_apercu(p, false, 7);
  EXPECT_EQ(detaille.taux_lissage, 4);  // 4.5 to even
  EXPECT_EQ(detaille.gradins, 1);
  p.taux_lissage = 5;
  EXPECT_EQ(dialogs::parametres_apercu(p, false, 7).taux_lissage, 2);
  const param_vue v = dialogs::vue_apercu();
  EXPECT_EQ(v.angle_horizontal, 60);
  EXPECT_EQ(v.zoom, 14);
  EXPECT_EQ(v.centre_y, -5);
  EXPECT_DOUBLE_EQ(v.distance, 60.0);
  p.etalement = -100000;  // a record the generator refuses gives no preview
  p.maillage = 5;
  EXPECT_EQ(dialogs::construire_apercu(dialogs::parametres_apercu(p, false, 5)), nullptr);
}

// The records of the preview terrains built while it is installed.
using EnregistreurApercus =
    test_observation::Enregistrement<dialogs::ObservateurApercus, dialogs::observer_apercus, param_mat>;

// A dialog on the given record, rendering a flat colour (the calls are
// recorded), and the records of the preview terrains it builds.
struct Dialogue {
  EnregistreurApercus apercus;
  TPagesdlg1 d;
  explicit Dialogue(const param_mat& p, int montagne = 0, int page = 1) {
    test_rendus::controle_rendus().effacer();
    test_rendus::controle_rendus().couleur_factice = render::pixel_rgb(10, 20, 30);
    d.parametres = p;
    d.montagne = static_cast<std::uint16_t>(montagne);
    d.tourner_vers(page);
  }
  ~Dialogue() { test_rendus::controle_rendus().effacer(); }
};

param_mat record_de_test() {
  param_mat p = parametres_test(7);
  p.cle = 12345;
  p.relief = 63;
  p.altitude_erosion = 300;
  p.couches[1].annulee = 1;
  p.couches[0].niveau_mini = 25;  // not a multiple of ten: the bar's 20 must not come back
  return p;
}

TEST(Creation, OkUntouchedOnEveryPageGivesTheRecordBack) {
  const param_mat p = record_de_test();
  for (int page = 1; page <= 4; ++page) {
    Dialogue t(p, 0, page);
    t.d.ajouter_nouvelle_montagne();
    t.d.init_montagnes();
    for (int k = 0; k < 4; ++k) t.d.Btn_Next1Click();
    for (int k = 0; k < 4; ++k) t.d.Btn_Prev1Click();
    t.d.tourner_vers(page);
    t.d.afficher_page();
    EXPECT_TRUE(memes_parametres(t.d.parametres, p)) << page;
    EXPECT_EQ(t.d.mode, 0);
    EXPECT_EQ(t.d.voir, 0);
    EXPECT_EQ(t.d.page, page);
    EXPECT_TRUE(t.d.PageControl1->surligne(page));
  }
}

TEST(Creation, MeshAndLayerListsAndPageButtons) {
  Dialogue t(record_de_test());
  t.d.init_montagnes();
  const QStringList mailles = t.d.ListBox_mail->Items();
  ASSERT_EQ(mailles.size(), 8);
  for (int k = 0; k < 8; ++k) EXPECT_EQ(mailles[k], dialogs::kTextesMaillage[std::size_t(k)]);
  EXPECT_EQ(mailles[3], "7:    16 384 mesh");
  EXPECT_EQ(mailles[6], "10:1 048 576 mesh");
  EXPECT_EQ(t.d.ListBox_mail->ItemIndex(), 3);
  // Degree and polygons under their sections: "7" at x = 2, the rest at 48, one pixel below the item's top.
  const QRect item(0, 30, 150, 13);
  const auto pieces = CtlListItemPieces(mailles[3], t.d.ListBox_mail->Delimiter(),
                                        {t.d.ListBox_mail->SectionWidth(0), t.d.ListBox_mail->SectionWidth(1)}, item);
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[0].text, "7");
  EXPECT_EQ(pieces[0].at, QPoint(2, 31));
  EXPECT_EQ(pieces[1].text, "    16 384 mesh");
  EXPECT_EQ(pieces[1].at, QPoint(48, 31));
  // The layer list has no sections: each name is drawn whole.
  auto* selection = enfant<CtlListBox>(&t.d, "Selection_couches");
  const QStringList couches = selection->Items();
  ASSERT_EQ(couches.size(), 4);
  EXPECT_EQ(couches[0], "Lev 4 > High ground");
  EXPECT_EQ(couches[3], "Lev 1 > Plain ");
  EXPECT_EQ(selection->SectionCount(), 0);
  for (const QString& c : couches) {
    const auto entier = CtlListItemPieces(c, selection->Delimiter(), {}, item);
    ASSERT_EQ(entier.size(), 1u);
    EXPECT_EQ(entier[0].text, c);
  }
  EXPECT_FALSE(t.d.Btn_Prev->isEnabled());
  QTest::keyClick(t.d.ListBox_mail->List(), Qt::Key_Down);  // the user's choice: no rebuild
  QTest::keyClick(t.d.ListBox_mail->List(), Qt::Key_Down);
  EXPECT_EQ(t.d.parametres.maillage, 9);
  t.d.Btn_Next1Click();
  EXPECT_TRUE(t.d.Btn_Prev->isEnabled());
  for (int k = 0; k < 5; ++k) t.d.Btn_Next1Click();
  EXPECT_EQ(t.d.page, 4);
  EXPECT_FALSE(t.d.Btn_Next->isEnabled());
  // Profile bars beyond the mesh degree are disabled, prof3 never.
  EXPECT_TRUE(t.d.prof[3]->isEnabled());
  EXPECT_TRUE(t.d.prof[9]->isEnabled());  // degree 9 now
  EXPECT_FALSE(t.d.prof[10]->isEnabled());
  EXPECT_FALSE(t.d.Edit_p[10]->isEnabled());
  EXPECT_EQ(t.d.prof[5]->Position(), 8 - t.d.parametres.profils_iter[2]);
  t.d.prof[5]->SetPosition(1);
  EXPECT_EQ(t.d.parametres.profils_iter[2], 7);
}

TEST(Creation, KeyCountsAtEightCharactersAndNewMountainDrawsOne) {
  set_clock_for_tests([] { return 37230456u; });  // 10:20:30.456
  Dialogue t(record_de_test());
  t.d.init_montagnes();
  EXPECT_EQ(t.d.Combo_CLE->currentText(), "12345");
  t.d.BitBtn_keyClick();
  EXPECT_EQ(t.d.Combo_CLE->currentText(), "37230456");
  EXPECT_EQ(t.d.parametres.cle, 37230456);
  set_clock_for_tests({});
  QLineEdit* e = t.d.Combo_CLE->lineEdit();
  auto taper = [&](const char* texte) {
    e->clear();
    QTest::keyClicks(e, texte);
  };
  taper("1234567");
  EXPECT_EQ(t.d.parametres.cle, 37230456);
  taper("12345678");
  EXPECT_EQ(t.d.parametres.cle, 12345678);
  EXPECT_EQ(e->text(), "12345678");
  QTest::keyClick(e, Qt::Key_Left);
  EXPECT_EQ(t.d.Combo_CLE->findText("12345678"), 0);
  EXPECT_EQ(t.d.Combo_CLE->count(), 1);
  taper("1234abcd");
  EXPECT_EQ(t.d.parametres.cle, 0);
  EXPECT_EQ(e->text(), "1234abcd");  // the typed text is not rewritten
}

// A shorter key counts once the box is left, or when OK or Add is pressed;
// text that is no number puts the key in use back: the key on screen is the
// key of the preview and of the mountain made.
TEST(Creation, TheKeyOnScreenIsTheKeyInUse) {
  Dialogue t(record_de_test());
  t.d.init_montagnes();
  QLineEdit* e = t.d.Combo_CLE->lineEdit();
  auto taper = [&](const char* texte) {
    e->clear();
    QTest::keyClicks(e, texte);
  };
  taper("4242");
  EXPECT_EQ(t.d.parametres.cle, 12345) << "not yet: the box is still being typed in";
  emit e->editingFinished();  // the box loses the focus
  EXPECT_EQ(t.d.parametres.cle, 4242);
  EXPECT_EQ(t.apercus.appels.back().cle, 4242) << "the preview shows that key's mountain";
  taper("abc");
  emit e->editingFinished();
  EXPECT_EQ(t.d.parametres.cle, 4242);
  EXPECT_EQ(e->text(), "4242");
  taper("55");
  t.d.RadioButton_ajouter->click();
  EXPECT_EQ(t.d.mode, 2);
  EXPECT_EQ(t.d.parametres.cle, 55);
  taper("12345678");  // eight characters: counted at once, and kept in the list
  QTest::keyClick(e, Qt::Key_Left);
  taper("77");
  t.d.Combo_CLE->setCurrentIndex(0);  // a key picked from the list
  emit t.d.Combo_CLE->activated(0);
  EXPECT_EQ(t.d.parametres.cle, 12345678);
  taper("77");
  t.d.done(1);  // OK
  EXPECT_EQ(t.d.parametres.cle, 77);
  EXPECT_EQ(e->text(), "77");
}

TEST(Creation, TypedValuesAreBoundedToTheirBarsAndUnreadableTextTakesTheDefault) {
  Dialogue t(record_de_test());
  t.d.init_montagnes();
  auto saisir = [&](QLineEdit* e, const char* texte) {
    e->setText(texte);
    if (t.d.page == TPagesdlg1::kArbres) emit e->editingFinished();
    else t.d.Edit_mont(e);
  };
  saisir(t.d.Edit_relief, "abc");
  EXPECT_EQ(t.d.parametres.relief, 50);
  saisir(t.d.Edit_relief, "77");
  EXPECT_EQ(t.d.parametres.relief, 77);
  EXPECT_EQ(t.d.ScrollBar_relief->value(), 77);
  saisir(t.d.Edit_relief, "150");
  EXPECT_EQ(t.d.parametres.relief, 100);
  EXPECT_EQ(t.d.Edit_relief->text(), "100");
  saisir(t.d.Edit_relief, "-5");
  EXPECT_EQ(t.d.parametres.relief, 1);
  saisir(t.d.Edit_profil, "0");
  EXPECT_EQ(t.d.parametres.profil, 1);
  saisir(t.d.Edit_erosion, "41");
  EXPECT_EQ(t.d.parametres.erosion, 40);
  EXPECT_EQ(t.d.Edit_erosion->text(), "40");
  saisir(t.d.Edit_lissage, "-3");
  EXPECT_EQ(t.d.parametres.taux_lissage, 0);
  // The erosion start is shown negated.
  saisir(t.d.Edit_deperosion, "-500");
  EXPECT_EQ(t.d.parametres.altitude_erosion, 500);
  EXPECT_EQ(t.d.Edit_deperosion->text(), "-500");
  saisir(t.d.Edit_deperosion, "300");
  EXPECT_EQ(t.d.parametres.altitude_erosion, 0);
  saisir(t.d.Edit_deperosion, "-5000");
  EXPECT_EQ(t.d.parametres.altitude_erosion, 4000);
  saisir(t.d.Edit_deperosion, "x");
  EXPECT_EQ(t.d.parametres.altitude_erosion, 0);
  saisir(t.d.Edit_etal, "-100000");
  EXPECT_EQ(t.d.parametres.etalement, 1);
  saisir(t.d.Edit_etal, "9");
  EXPECT_EQ(t.d.parametres.etalement, 6);
  saisir(t.d.Edit_etal, "?");
  EXPECT_EQ(t.d.parametres.etalement, 0);
  t.d.tourner_vers(TPagesdlg1::kAdditifs);
  t.d.afficher_page();
  saisir(t.d.Edit_nb_terr, "1");
  EXPECT_EQ(t.d.parametres.nombre_gradins, 2);
  saisir(t.d.Edit_nb_terr, "25");
  EXPECT_EQ(t.d.parametres.nombre_gradins, 20);
  saisir(t.d.Edit_coeff, "-31");
  EXPECT_EQ(t.d.parametres.rivage, -30);
  saisir(t.d.Edit_pente, "41");
  EXPECT_EQ(t.d.parametres.pente_gradins, 40);
  saisir(t.d.Edit_hauteur, "x");
  EXPECT_EQ(t.d.parametres.hauteur_rivage, 20);
  saisir(t.d.Edit_hauteur, "201");
  EXPECT_EQ(t.d.parametres.hauteur_rivage, 200);
  saisir(t.d.Edit_degre, "0");
  EXPECT_EQ(t.d.parametres.hauteur_plis, 1);
  saisir(t.d.Edit_horizon, "101");
  EXPECT_EQ(t.d.parametres.degre_deformation, 100);
  t.d.tourner_vers(TPagesdlg1::kProfils);
  t.d.afficher_page();
  saisir(t.d.Edit_p[4], "9");
  EXPECT_EQ(t.d.parametres.profils_iter[1], 8);
  saisir(t.d.Edit_p[4], "");
  EXPECT_EQ(t.d.parametres.profils_iter[1], 2);
  t.d.tourner_vers(TPagesdlg1::kArbres);
  t.d.afficher_page();
  auto arbre = [&t](const char* nom) { return enfant<QLineEdit>(&t.d, nom); };
  saisir(arbre("Edit_densite"), "500");
  EXPECT_EQ(t.d.parametres.couches[0].nombre, 400);
  saisir(arbre("Edit_pentemax"), "90");
  EXPECT_EQ(t.d.parametres.couches[0].pente_maxi, 80);
  saisir(arbre("Edit_nivmin"), "-3000");
  EXPECT_EQ(t.d.parametres.couches[0].niveau_mini, -1000);
  saisir(arbre("Edit_delta"), "y");
  EXPECT_EQ(t.d.parametres.couches[0].transition, 100);
}

void glisser(QScrollBar* b, int position) {
  b->setSliderDown(true);
  b->setSliderPosition(position);
  b->setSliderDown(false);
}

// The Trees page alone: loaded from a record, driven through its controls,
// read back through `ranger`.
TEST(PageArbres, MappingsCouplingAndLayers) {
  param_mat p = record_de_test();
  p.couches[0].pente_mini = 30;
  p.couches[0].pente_maxi = 60;
  dialogs::PageArbres page;
  page.charger(p);
  QSignalSpy changes(&page, &dialogs::PageArbres::change);
  auto lu = [&page] {
    param_mat r{};
    page.ranger(r);
    return r.couches;
  };
  auto barre = [&page](const char* nom) { return enfant<QScrollBar>(&page, nom); };
  auto* nom_couche = enfant<QLabel>(&page, "Label_couche");
  auto* densite = barre("ScrollBar_densite");
  EXPECT_EQ(nom_couche->text(), "Lev 1 > Plain ");
  EXPECT_EQ(enfant<CtlListBox>(&page, "Selection_couches")->ItemIndex(), 3);
  auto* edit = enfant<QLineEdit>(&page, "Edit_densite");
  edit->setText("150");
  EXPECT_EQ(changes.count(), 0);  // loading is no edit
  emit edit->editingFinished();
  EXPECT_EQ(changes.count(), 1);
  EXPECT_EQ(densite->value(), 250);
  EXPECT_EQ(barre("ScrollBar_nivmin")->value(), 298);
  EXPECT_EQ(lu()[0].niveau_mini, 25);
  glisser(barre("ScrollBar_pentemax"), 80 - 20);
  EXPECT_EQ(lu()[0].pente_mini, 20);
  EXPECT_EQ(lu()[0].pente_maxi, 20);
  EXPECT_EQ(barre("ScrollBar_pentemin")->value(), 60);
  EXPECT_EQ(lu()[0].niveau_mini, 20);  // read back from its bar
  EXPECT_EQ(enfant<QLineEdit>(&page, "Edit_nivmin")->text(), "20");
  EXPECT_GE(changes.count(), 2);  // the typed count and the slope
  page.ranger(p);
  p.couches[0].pente_mini = 10;
  p.couches[0].pente_maxi = 40;
  page.charger(p);
  glisser(barre("ScrollBar_pentemin"), 80 - 50);
  EXPECT_EQ(lu()[0].pente_mini, 50);
  EXPECT_EQ(lu()[0].pente_maxi, 50);
  EXPECT_EQ(barre("ScrollBar_pentemax")->value(), 30);
  glisser(barre("ScrollBar_nivmax"), 300 - (-50));  // below the minimum: the minimum follows
  EXPECT_EQ(lu()[0].niveau_maxi, -500);
  EXPECT_EQ(lu()[0].niveau_mini, -500);
  // Layer 2 is off: its bars are disabled and its name silver.
  QTest::mouseClick(enfant<QWidget>(&page, "Image1"), Qt::LeftButton, {}, QPoint(46, 100));
  EXPECT_EQ(nom_couche->text(), "Lev 2 > Medium low");
  EXPECT_FALSE(densite->isEnabled());
  EXPECT_TRUE(nom_couche->styleSheet().contains("silver"));
  QTest::mouseClick(enfant<CtlCheckBox>(&page, "CheckBox_c2"), Qt::LeftButton);
  EXPECT_EQ(lu()[1].annulee, 0);
  EXPECT_TRUE(densite->isEnabled());
  for (int k = 0; k < 3; ++k) QTest::keyClick(enfant<CtlListBox>(&page, "Selection_couches")->List(), Qt::Key_Up);
  EXPECT_EQ(nom_couche->text(), "Lev 4 > High ground");
  enfant<fenetres::HautBas>(&page, "UpDown_couche")->descendre();
  EXPECT_EQ(nom_couche->text(), "Lev 3 > Medium high");
  // The dialog holds what the page edits.
  Dialogue t(p, 0, TPagesdlg1::kArbres);
  t.d.init_montagnes();
  glisser(enfant<QScrollBar>(&t.d, "ScrollBar_densite"), 400 - 120);
  EXPECT_EQ(t.d.parametres.couches[0].nombre, 120);
}

TEST(Creation, PreviewBuildsTheRightTerrainsAndRendersOutsideThePaint) {
  param_mat p = record_de_test();
  p.taux_lissage = 9;
  p.gradins = 1;
  p.rivage_actif = 1;
  p.alea = 1;
  Dialogue t(p);
  t.d.init_montagnes();
  ASSERT_FALSE(t.apercus.appels.empty());
  EXPECT_EQ(t.apercus.appels.back().maillage, 5);
  EXPECT_EQ(t.apercus.appels.back().taux_lissage, 0);
  EXPECT_EQ(t.apercus.appels.back().gradins, 0);
  t.d.Button_a2Click();
  EXPECT_EQ(t.apercus.appels.back().maillage, 7);
  EXPECT_EQ(t.apercus.appels.back().taux_lissage, 4);
  EXPECT_EQ(t.d.apercu->degre, 7);
  t.d.Edit_relief->setText("40");
  t.d.Edit_mont(t.d.Edit_relief);
  EXPECT_EQ(t.apercus.appels.back().maillage, 5);

  const std::size_t avant = t.apercus.appels.size();
  t.d.Tourner_gMouseDown();
  ASSERT_EQ(t.apercus.appels.size(), avant + 1);
  EXPECT_EQ(t.apercus.appels.back().maillage, 5);
  EXPECT_EQ(t.apercus.appels.back().rivage_actif, 0);
  EXPECT_NE(t.d.apercu_rapide, nullptr);
  for (int k = 0; k < 3; ++k) {
    t.d.Timer1Timer();
    t.d.Image4->calculer();
  }
  EXPECT_EQ(t.d.vue_apercu.angle_horizontal, 72);
  t.d.tournerDMouseUp();
  EXPECT_FALSE(t.d.Timer1.isActive());
  t.d.Image4->calculer();
  EXPECT_EQ(t.apercus.appels.size(), avant + 1);  // shown again, not rebuilt
  EXPECT_EQ(test_rendus::controle_rendus().appels.back().vue.angle_horizontal, 72);
  EXPECT_EQ(t.d.rotation, 0);

  const std::size_t avant_glisser = t.apercus.appels.size();
  t.d.ScrollBar_relief->setSliderDown(true);
  t.d.ScrollBar_relief->setSliderPosition(30);
  EXPECT_EQ(t.d.rotation, 1);
  EXPECT_EQ(t.apercus.appels.back().rivage_actif, 0);  // the fast one
  t.d.ScrollBar_relief->setSliderDown(false);
  EXPECT_EQ(t.d.rotation, 0);
  EXPECT_EQ(t.apercus.appels.back().rivage_actif, 1);
  EXPECT_EQ(t.apercus.appels.size(), avant_glisser + 3);  // move, release, end of scroll
  EXPECT_EQ(t.d.parametres.relief, 30);

  for (const param_mat& g : t.apercus.appels) EXPECT_EQ(g.alea, 0);
  t.d.show();
  t.d.grab();
  t.d.Image4->calculer();
  const auto& c = test_rendus::controle_rendus();
  ASSERT_FALSE(c.appels.empty());
  EXPECT_EQ(c.rendus_dans_peinture, 0);
  for (const fenetres::AppelRendu& a : c.appels) {
    EXPECT_EQ(a.fenetre, t.d.handle());
    EXPECT_FALSE(a.attente);
    EXPECT_EQ(a.zoom_editeur, 0);
    EXPECT_EQ(a.grossier + a.courbes_niveau + a.statistiques + a.mode_camera, 0);
    EXPECT_EQ(a.camera.observateur_x, 0.0);
    EXPECT_EQ(a.largeur, 181);
    EXPECT_EQ(a.hauteur, 133);
  }
}

TEST(Creation, TwoDialogsOnOneRecordShowTheSamePreview) {
  test_rendus::controle_rendus().effacer();
  param_mat p = parametres_test(7);
  p.cle = 4321;
  std::array<render::Bitmap, 2> images;
  for (render::Bitmap& image : images) {
    TPagesdlg1 d;
    d.parametres = p;
    d.init_montagnes();
    d.Image4->calculer();
    image = d.Image4->image();
  }
  EXPECT_EQ(images[0], images[1]);
  int fond = 0;
  for (render::Pixel x : images[0].pixels()) fond += x == images[0].at(0, 0);
  EXPECT_LT(fond, 181 * 133);  // something was drawn
}

TEST(Creation, MountainListMapsItemsToEntriesAndKeepsEdits) {
  param_mat un = record_de_test(), trois = record_de_test();
  un.relief = 11;
  trois.relief = 33;
  Type_matrice t1, t3;
  t1.parametres = un;
  t3.parametres = trois;
  {
    Dialogue t(record_de_test());
    t.d.ajouter_nouvelle_montagne();
    t.d.ajouter_montagne("first", t1, 1);
    t.d.ajouter_montagne("third", t3, 3);
    t.d.init_montagnes();
    ASSERT_EQ(t.d.ComboBox_no->count(), 3);
    EXPECT_EQ(t.d.ComboBox_no->itemText(0), "New mountain");
    EXPECT_EQ(t.d.ComboBox_no->currentIndex(), 0);
    t.d.ComboBox_noChange(1);
    EXPECT_EQ(t.d.montagne, 1);
    EXPECT_EQ(t.d.parametres.relief, 11);
    t.d.Edit_relief->setText("44");
    t.d.Edit_mont(t.d.Edit_relief);
    t.d.ComboBox_noChange(2);
    EXPECT_EQ(t.d.Label_no->text(), "3");
    EXPECT_EQ(t.d.parametres.relief, 33);
    EXPECT_EQ(t.d.entrees[1].type.parametres.relief, 44);
    t.d.UpDown_no->descendre();
    EXPECT_EQ(t.d.montagne, 1);
    EXPECT_EQ(t.d.ComboBox_no->currentIndex(), 1);
    t.d.ComboBox_noChange(0);
    EXPECT_EQ(t.d.montagne, 0);
    EXPECT_EQ(t.d.parametres.relief, 44);  // kept
    t.d.ComboBox_noChange(7);              // no such item
    EXPECT_EQ(t.d.montagne, 0);
  }
  {
    Dialogue t(record_de_test(), 3);
    t.d.ajouter_montagne("first", t1, 1);
    t.d.ajouter_montagne("third", t3, 3);
    t.d.init_montagnes();
    EXPECT_EQ(t.d.ComboBox_no->currentIndex(), 1);
    EXPECT_EQ(t.d.parametres.relief, 33);
    EXPECT_EQ(t.d.UpDown_no->position(), 2);
    EXPECT_TRUE(t.d.RadioButton_refaire->isEnabled());
    t.d.tourner_vers(TPagesdlg1::kArbres);
    t.d.afficher_page();
    EXPECT_TRUE(t.d.RadioButton_arbres->isEnabled());
  }
}

}  // namespace

// F1 shows the topic of the page shown, as the Help button does, whichever
// control has the focus; the dialog has a fixed dialog's frame.
TEST(Creation, F1ShowsThePageTopic) {
  Dialogue t(record_de_test(), 0, 2);
  t.d.init_montagnes();
  EXPECT_EQ(sujets_sur_f1(t.d), (std::vector<int>{206}));
  t.d.Btn_Next1Click();
  EXPECT_EQ(sujets_sur_f1(t.d, t.d.ListBox_mail), (std::vector<int>{201}));
  const Qt::WindowFlags f = t.d.windowFlags();
  EXPECT_FALSE(f & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowContextHelpButtonHint));
  EXPECT_TRUE(f & Qt::WindowCloseButtonHint);
}
