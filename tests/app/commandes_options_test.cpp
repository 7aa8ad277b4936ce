// The creation, refinement and combination commands through the real main
// window and the real dialogs, answered by the run hook.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>

#include "app/aide.h"
#include "app/commandes_options.h"
#include "controls/checkbox.h"
#include "controls/listbox.h"
#include "controls/speedbutton.h"
#include "dialogs/creation.h"
#include "dialogs/raffinage.h"
#include "tests/app/atelier.h"
#include "tests/support/terrains.h"
#include "tests/support/rendus.h"

namespace {

struct Options : Atelier {
  int ouvertures = 0;
  std::function<int(QDialog&)> reponse = [](QDialog&) { return 2; };
  explicit Options(int degre = 4) : Atelier(degre) {
    w->commandes_options().executer_dialogue = [this](QDialog& d) {
      ++ouvertures;
      return reponse(d);
    };
    test_rendus::controle_rendus().rendu_factice = [](Tmatrice&, render::Bitmap& b, const param_vue&, ProgressSink*,
                                   platform::WindowHandle) { b.at(0, 0) = 1; };
  }
  // Answers OK after `f` has worked on the creation dialog.
  void creation(std::function<void(TPagesdlg1&)> f) {
    reponse = [f](QDialog& d) {
      auto* c = dynamic_cast<TPagesdlg1*>(&d);
      EXPECT_NE(c, nullptr);
      if (!c) return 2;
      f(*c);
      return 1;
    };
    commande(Commande::options_creation);
  }
};

void saisir(QLineEdit* e, const char* texte, TPagesdlg1& d) {
  e->setText(texte);
  d.Edit_mont(e);
}

TEST(OptionsCreation, OpensWithoutAMountainCancelKeepsEverythingAndContextHelpOpensNothing) {
  Options a;
  ASSERT_TRUE(a.w->action(Commande::options_creation)->isEnabled());
  EXPECT_TRUE(a.w->bouton(Commande::options_creation)->isEnabled());
  const param_mat avant = a.w->etat.parametres;
  a.reponse = [](QDialog& d) {
    auto& c = dynamic_cast<TPagesdlg1&>(d);
    EXPECT_EQ(c.ComboBox_no->count(), 1);
    EXPECT_EQ(c.ComboBox_no->itemText(0), "New mountain");
    saisir(c.Edit_relief, "12", c);
    return 2;
  };
  QTest::mouseClick(a.w->bouton(Commande::options_creation), Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(a.ouvertures, 1);
  EXPECT_TRUE(memes_parametres(a.w->etat.parametres, avant));
  EXPECT_EQ(a.w->occupe, 0);
  a.w->Contextuelle();
  a.w->action(Commande::options_creation)->trigger();
  EXPECT_EQ(a.ouvertures, 1);
  ASSERT_NE(a.w->aide(false), nullptr);
  EXPECT_EQ(a.w->aide(false)->CurrentTopic(), 5004);
  a.w->Contextuelle();
  for (Commande c : {Commande::options_creation, Commande::options_raffinage, Commande::combiner})
    EXPECT_TRUE(a.w->commande_de(c)) << definition(c).caption;
}

TEST(OptionsCreation, RedoAddTreesOnlyAndSee) {
  Options a;
  a.commande(Commande::nouvelle_montagne);
  auto& e = a.w->etat;
  ASSERT_EQ(e.nombre_montagnes, 1);
  const std::int32_t sommet = e.montagnes[1].terrain->hauteur_max();
  // Redo: the mountain is made again in its slot with the new relief; the page is remembered.
  a.creation([](TPagesdlg1& d) {
    saisir(d.Edit_relief, "90", d);
    d.RadioButton_refaire->click();
    d.Btn_Next1Click();
  });
  EXPECT_EQ(e.nombre_montagnes, 1);
  EXPECT_EQ(e.montagnes[1].type.parametres.relief, 90);
  EXPECT_NE(e.montagnes[1].terrain->hauteur_max(), sommet);  // same key, more relief
  EXPECT_EQ(a.w->commandes_options().page_creation, 2);
  // Trees only: the first layer's trees are placed again, without layer 1.
  const int arbres = e.montagnes[1].terrain->nombre_elements;
  a.creation([](TPagesdlg1& d) {
    EXPECT_EQ(d.page, 2);
    for (int l = 1; l <= 4; ++l) d.findChild<CtlCheckBox*>(QString("CheckBox_c%1").arg(l))->Toggle();
    d.RadioButton_arbres->click();
  });
  EXPECT_NE(e.montagnes[1].terrain->nombre_elements, arbres);
  EXPECT_EQ(e.montagnes[1].terrain->nombre_elements, 0);
  // Add: a second mountain, current.
  a.creation([](TPagesdlg1& d) { d.RadioButton_ajouter->click(); });
  EXPECT_EQ(e.nombre_montagnes, 2);
  EXPECT_EQ(e.montagne_courante, 2);
  // See: a view after the deferred-work timer.
  a.creation([](TPagesdlg1& d) { d.CheckBox_voir->Toggle(); });
  EXPECT_EQ(e.nombre_vues, 0);
  EXPECT_TRUE(a.w->timerthread().isActive());
  a.w->TimerthreadTimer();
  EXPECT_EQ(e.nombre_vues, 1);
}

// Clicks a mesh item as the user does.
void cliquer_maillage(TPagesdlg1& d, int degre) {
  QListWidget* l = d.ListBox_mail->List();
  l->scrollToItem(l->item(degre - 4));
  QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(degre - 4)).center());
}

TEST(OptionsCreation, TheChosenMeshDegreeMakesTheMountain) {
  Options a;
  auto& e = a.w->etat;
  // No mountain open, Add.
  a.creation([](TPagesdlg1& d) {
    cliquer_maillage(d, 6);
    d.RadioButton_ajouter->click();
  });
  ASSERT_EQ(e.nombre_montagnes, 1);
  EXPECT_EQ(e.montagnes[1].terrain->degre, 6);
  // A mountain open, Add with another degree.
  a.creation([](TPagesdlg1& d) {
    cliquer_maillage(d, 5);
    d.RadioButton_ajouter->click();
  });
  ASSERT_EQ(e.nombre_montagnes, 2);
  EXPECT_EQ(e.montagnes[2].terrain->degre, 5);
  EXPECT_EQ(e.montagnes[1].terrain->degre, 6);
  // Redo.
  a.creation([](TPagesdlg1& d) {
    cliquer_maillage(d, 7);
    d.RadioButton_refaire->click();
  });
  EXPECT_EQ(e.montagnes[2].terrain->degre, 7);
  // Later, then a new mountain.
  a.creation([](TPagesdlg1& d) { cliquer_maillage(d, 4); });
  a.commande(Commande::nouvelle_montagne);
  ASSERT_EQ(e.nombre_montagnes, 3);
  EXPECT_EQ(e.montagnes[3].terrain->degre, 4);
}

// "Island" ticked in the dialog reaches the generator as the only change: the
// mountain made is the one the key gives with the island shape (the dialog's
// pending preview once drew from the seeded generator during the generation).
TEST(OptionsCreation, IslandReachesTheGeneratorUnchanged) {
  Options a(7);
  auto& e = a.w->etat;
  e.parametres.cle = 31415;
  param_mat attendu = e.parametres;
  attendu.iles = 1;
  a.creation([](TPagesdlg1& d) {
    QTest::mouseClick(d.CheckBox_iles, Qt::LeftButton, {}, QPoint(5, 8));
    EXPECT_EQ(d.parametres.iles, 1);
    d.RadioButton_ajouter->click();
  });
  ASSERT_EQ(e.nombre_montagnes, 1);
  const Tmatrice& t = *e.montagnes[1].terrain;
  EXPECT_EQ(t.iles, 1);
  EXPECT_EQ(t.cuvette, 0);
  EXPECT_EQ(t.relief, attendu.relief);
  EXPECT_TRUE(memes_parametres(e.montagnes[1].type.parametres, attendu));
  Tmatrice seul(attendu);
  bool continuer = true;
  seul.generer_montagne(nullptr, 0, continuer, false);
  int differents = 0;
  for (int i = 1; i <= t.n; ++i)
    for (int j = 1; j <= t.n + 1 - i; ++j) differents += t.hauteurs->lire(i, j) != seul.hauteurs->lire(i, j);
  EXPECT_EQ(differents, 0);
}

TEST(OptionsCreation, EveryEntryReachesItsSlotAndCardAndTheChosenOneBecomesCurrent) {
  Options a;
  a.commande(Commande::nouvelle_montagne);
  a.commande(Commande::nouvelle_montagne);
  auto& e = a.w->etat;
  ASSERT_EQ(e.montagne_courante, 2);
  a.creation([](TPagesdlg1& d) {
    EXPECT_EQ(d.ComboBox_no->count(), 2);
    EXPECT_EQ(d.montagne, 2);
    d.ComboBox_noChange(0);
    saisir(d.Edit_relief, "44", d);
    d.ComboBox_noChange(1);
    saisir(d.Edit_relief, "55", d);
    d.ComboBox_noChange(0);
  });
  EXPECT_EQ(e.montagne_courante, 1);
  EXPECT_EQ(e.montagnes[1].type.parametres.relief, 44);
  EXPECT_EQ(e.montagnes[2].type.parametres.relief, 55);
  EXPECT_EQ(a.carte(1)->parametres().relief, 44);
  EXPECT_EQ(a.carte(2)->parametres().relief, 55);
  EXPECT_EQ(e.parametres.relief, 44);
  // A memo keystroke on card 2 copies its record over the slot's: the edit stays.
  a.w->activer(a.carte(2));
  a.carte(2)->BitBtn1Click();
  QTest::keyClicks(a.carte(2)->Memo1, "x");
  a.w->UpdateItems();
  EXPECT_EQ(e.montagnes[2].type.parametres.relief, 55);
}

TEST(OptionsRaffinage, LaterKeepsTheValuesNowRefinesAndTheCardOpensBoth) {
  Options a;
  a.commande(Commande::nouvelle_montagne);
  auto& e = a.w->etat;
  const param_mat avant = e.parametres;
  a.reponse = [](QDialog& d) {
    auto& r = dynamic_cast<TRaffinageDlg&>(d);
    r.TrackBar_relief->setValue(80);
    return 3;
  };
  a.commande(Commande::options_raffinage);
  EXPECT_TRUE(memes_parametres(e.parametres, avant));
  a.reponse = [](QDialog& d) {
    auto& r = dynamic_cast<TRaffinageDlg&>(d);
    r.TrackBar_relief->setValue(80);
    return 1;
  };
  a.commande(Commande::options_raffinage);
  a.commande(Commande::nouvelle_montagne);
  a.w->activer(a.carte(1));
  a.w->UpdateItems();
  EXPECT_EQ(e.montagne_courante, 1);
  EXPECT_EQ(e.parametres.relief, 80);
  EXPECT_EQ(e.montagnes[1].type.parametres.relief, 80);
  a.reponse = [](QDialog& d) {
    dynamic_cast<TRaffinageDlg&>(d).RadioButton_refaire->click();
    return 1;
  };
  a.commande(Commande::options_raffinage);
  EXPECT_EQ(e.montagnes[1].terrain->degre, 5);
  // The card's items are enabled and reach both dialogs.
  QMenu* menu = a.carte(1)->menu();
  int vus = 0;
  for (QAction* x : menu->actions())
    if (x->text().startsWith("Adjustments ...") || x->text().startsWith("Refine options ...")) {
      EXPECT_TRUE(x->isEnabled());
      ++vus;
    }
  EXPECT_EQ(vus, 2);
  a.reponse = [](QDialog&) { return 2; };
  const int ouvertures = a.ouvertures;
  a.demande_carte(1, 7);
  a.demande_carte(1, 8);
  EXPECT_EQ(a.ouvertures, ouvertures + 2);
}

TEST(Combinaison, OnlyMountainsOfTheSameDegreeAndAClosedPartnerGivesTheFirst) {
  Options a;
  auto& e = a.w->etat;
  a.commande(Commande::nouvelle_montagne);
  e.parametres.cle = 777;
  a.commande(Commande::nouvelle_montagne);
  e.parametres.maillage = 5;
  a.commande(Commande::nouvelle_montagne);
  a.w->activer(a.carte(3));
  a.w->UpdateItems();
  ASSERT_EQ(e.montagne_courante, 3);
  a.commande(Commande::combiner);
  EXPECT_EQ(a.ouvertures, 0);  // no candidate of degree 5
  a.w->activer(a.carte(1));
  a.w->UpdateItems();
  a.w->commandes_options().montagne_combinaison = 4;  // closed
  a.w->commandes_options().mode_combinaison = 2;
  std::vector<QString> liste;
  a.reponse = [&](QDialog& d) {
    auto& c = dynamic_cast<Tform3&>(d);
    for (int k = 0; k < c.ComboBox_no->count(); ++k) liste.push_back(c.ComboBox_no->itemText(k));
    EXPECT_EQ(c.montagne_2, 2);
    EXPECT_TRUE(c.options[2]->isChecked());
    c.options[1]->click();
    return 1;
  };
  const std::int32_t h1 = e.montagnes[1].terrain->hauteurs->lire(5, 5);
  const std::int32_t h2 = e.montagnes[2].terrain->hauteurs->lire(5, 5);
  e.montagnes[1].type.modifie_edition = 0;
  a.commande(Commande::combiner);
  ASSERT_EQ(liste.size(), 1u);
  EXPECT_EQ(a.w->commandes_options().montagne_combinaison, 2);
  EXPECT_EQ(a.w->commandes_options().mode_combinaison, 1);
  EXPECT_EQ(e.montagnes[1].terrain->hauteurs->lire(5, 5), std::clamp(h1 + h2, -2000, 4000));
  EXPECT_EQ(e.montagnes[1].type.modifie_edition, 1);
}

}  // namespace
