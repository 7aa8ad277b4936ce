// The map editor's tools on the real editor: strokes and clicks reaching the
// dispatcher (recorded, or the real one), the exchange with the tool dialog,
// immediate and delayed runs, Raise, Undo and the keyboard.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

#include "fenetres/rendu.h"
#include "tests/support/rendus.h"
#include "controls/speedbutton.h"
#include "dialogs/dlg_edit.h"
#include "dialogs/edition.h"
#include "model/defauts.h"
#include "model/presse_papier.h"
#include "tests/support/fakes.h"
#include "tests/support/terrains.h"

using namespace fenetres;
using test_rendus::controle_rendus;

using namespace dialogs;

namespace {

constexpr render::Pixel kFond = render::pixel_rgb(30, 60, 90);

struct Appel {
  arguments_outil a;
  bool attente = false;
  WindowHandle fenetre = 0;
  bool cartes = false;
  std::vector<NoeudCarte> trace;
  std::uint16_t arbre = 0, taille = 0, sol = 0, largeur = 0;
};

// An editor on a generated terrain whose map is a plain stand-in colour (or
// the real render), with the dispatcher and the dialog's run in the test's hands.
struct Editeur {
  std::unique_ptr<Tmatrice> terrain;
  std::unique_ptr<Tfenetre_edition> e;
  std::vector<Appel> appels;
  bool reel = false;  // the real dispatcher runs after the record
  std::function<void(Tmatrice&, controle_outil&)> pendant;
  std::function<int(Tdlg_edit&)> dialogue = [](Tdlg_edit&) { return 1; };
  int dialogues = 0;

  explicit Editeur(int degre, bool deformation = false, bool rendu_reel = false) {
    controle_rendus().effacer();
    if (!rendu_reel) controle_rendus().couleur_factice = kFond;
    terrain = terrain_genere(parametres_test(degre));
    if (deformation && !terrain->dx) {
      terrain->dx = std::make_unique<Tcooleen>(terrain->n);
      terrain->dy = std::make_unique<Tcooleen>(terrain->n);
      for (std::int32_t i = 1; i <= terrain->n; ++i)
        for (std::int32_t j = 1; j <= terrain->n; ++j) {
          terrain->dx->ecrire(i, j, 128);
          terrain->dy->ecrire(i, j, 128);
        }
    }
    e = std::make_unique<Tfenetre_edition>();
    OuvertureEdition o;
    o.no_montagne = 1;
    o.matrice = terrain.get();
    valeurs_defaut_vue(o.vue_defaut);
    e->ouvre_edition(o);
    e->show();
    e->calculer_carte();
    e->appel_modifier = [this](Tmatrice& m, arguments_outil a, controle_outil& c) {
      Appel x;
      x.a = a;
      x.attente = c.attente != nullptr;
      x.fenetre = c.fenetre;
      x.cartes = c.carte_1 && c.carte_2;
      for (std::int32_t k = 0; k <= m.dernier_point && std::size_t(k) < m.trace.size(); ++k)
        x.trace.push_back({m.trace[std::size_t(k)].i, m.trace[std::size_t(k)].j});
      x.arbre = m.arbre_courant;
      x.taille = m.taille_arbre;
      x.sol = m.sol_courant;
      x.largeur = m.largeur_sol;
      appels.push_back(x);
      if (pendant) pendant(m, c);
      if (reel) m.modifier(a, c);
    };
    e->executer_dialogue = [this](Tdlg_edit& d) {
      ++dialogues;
      return dialogue(d);
    };
  }
  ~Editeur() {
    e->close();
    controle_rendus().effacer();
  }

  void outil(int position) { e->choisir_position(position); }
  NoeudCarte noeud(PixelCarte p) const { return pixel_vers_noeud(terrain->n, p.x, p.y, e->echelle_carte); }
  // k pixels along a row of the map, each over another node of the lattice.
  std::vector<PixelCarte> pixels(int k, PixelCarte depart = {150, 200}) const {
    std::vector<PixelCarte> r{depart};
    for (PixelCarte p = depart; int(r.size()) < k; ++p.x)
      if (noeud(p) != noeud(r.back())) r.push_back(p);
    return r;
  }
  void glisser(const std::vector<PixelCarte>& ps) {
    e->souris_deplacee(ps.front());
    e->souris_enfoncee(Qt::LeftButton, ps.front());
    for (std::size_t k = 1; k < ps.size(); ++k) e->souris_deplacee(ps[k]);
    e->souris_relachee(Qt::LeftButton, ps.back());
  }
  void cliquer(PixelCarte p) { glisser({p}); }
  void paint() {
    e->zone_carte()->repaint();
    QApplication::processEvents();
  }
  bool image_est_carte() const {
    const render::Bitmap& b = e->carte[e->echelle_carte];
    for (int y = 0; y < b.height(); ++y)
      for (int x = 0; x < b.width(); ++x)
        if (e->Image1.pixel(x, y) != b.at(x, y)) return false;
    return true;
  }
};

}  // namespace

TEST(OutilsEditeur, ToolBarPagesAndHelpLines) {
  Editeur t(5);
  Tfenetre_edition& e = *t.e;
  EXPECT_EQ(e.session().outil(), 0);
  EXPECT_EQ(e.session().position(), 1);
  EXPECT_FALSE(e.outils[19]->isEnabled());
  QKeyEvent bas(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
  QKeyEvent haut(QEvent::KeyPress, Qt::Key_PageUp, Qt::NoModifier);
  QApplication::sendEvent(&e, &bas);
  EXPECT_EQ(e.session().outil(), OUTIL_CONE);
  QApplication::sendEvent(&e, &haut);
  QApplication::sendEvent(&e, &haut);
  EXPECT_EQ(e.session().outil(), 0);
  QApplication::sendEvent(&e, &haut);
  EXPECT_EQ(e.session().position(), 0);
  QApplication::sendEvent(&e, &bas);
  EXPECT_EQ(e.session().outil(), OUTIL_FORME);
  EXPECT_TRUE(e.outils[1]->Pressed());
  EXPECT_EQ(e.nom_outil->text(), "Shape");
  EXPECT_EQ(e.panneaux[1]->text(), "Shape: Click the summit or draw the line to be raised or digged.");
  t.outil(19);
  QApplication::sendEvent(&e, &bas);
  EXPECT_EQ(e.session().position(), 19);
  t.outil(7);
  EXPECT_EQ(e.nom_outil->text(), "Smooting");
  // The brush panels follow the tool.
  t.outil(9);
  EXPECT_TRUE(e.Panel_arb->isVisible());
  EXPECT_FALSE(e.Panel_coul->isVisible());
  t.outil(6);
  EXPECT_TRUE(e.Panel_coul->isVisible());
  EXPECT_FALSE(e.Panel_arb->isVisible());
}

TEST(OutilsEditeur, AShapeStrokeSendsBothSetsAndItsControlBlock) {
  Editeur t(7);
  t.outil(1);
  const auto ps = t.pixels(12);
  t.dialogue = [](Tdlg_edit& d) {
    EXPECT_EQ(d.Label_fin->text(), "End");
    d.ScrollBar_base->setValue(1200);
    d.ScrollBar_alt->setValue(-1500);
    d.RadioButton_etirem->click();  // Weighted
    d.Button_d_f->click();
    EXPECT_EQ(d.Label_fin->text(), "Begin");
    d.ScrollBar_base->setValue(900);
    d.ScrollBar_alt->setValue(-700);
    return 1;
  };
  t.pendant = [&t](Tmatrice&, controle_outil& c) {
    c.carte_1->set_pen({255, 0, 0}, 1);
    c.carte_1->move_to(5, 5);
    c.carte_1->line_to(9, 5);
    c.carte_2->set_pen({0, 255, 0}, 1);
    c.carte_2->move_to(5, 7);
    c.carte_2->line_to(9, 7);
    (void)t;
  };
  t.glisser(ps);
  ASSERT_EQ(t.dialogues, 1);
  EXPECT_TRUE(t.appels.empty());  // 750 ms later
  EXPECT_TRUE(t.e->TimerT1.isActive());
  // Moves while the tool waits leave the stroke as it is.
  for (const PixelCarte& p : t.pixels(6, {220, 250})) t.e->souris_deplacee(p);
  t.e->TimerT1Timer();
  ASSERT_EQ(t.appels.size(), 1u);
  const Appel& a = t.appels[0];
  ASSERT_EQ(a.trace.size(), 12u);
  EXPECT_EQ(a.trace.front(), t.noeud(ps.front()));
  EXPECT_EQ(a.trace.back(), t.noeud(ps.back()));
  EXPECT_EQ(a.a.largeur_base_debut, 1200);
  EXPECT_EQ(a.a.altitude_finale_debut, 1500);
  EXPECT_EQ(a.a.coefficient_debut, -1);
  EXPECT_EQ(a.a.largeur_base_fin, 900);
  EXPECT_EQ(a.a.altitude_finale_fin, 700);
  EXPECT_EQ(a.a.coefficient_fin, 45);
  EXPECT_EQ(a.a.largeur_sommet_debut, 0);
  EXPECT_EQ(a.a.altitude_initiale_debut, t.terrain->hauteurs->lire(a.trace.back().i, a.trace.back().j));
  EXPECT_EQ(a.a.altitude_initiale_fin, t.terrain->hauteurs->lire(a.trace.front().i, a.trace.front().j));
  EXPECT_EQ(a.a.valeur, 20);
  EXPECT_EQ(a.a.outil, OUTIL_FORME);
  EXPECT_TRUE(a.attente);
  EXPECT_EQ(a.fenetre, t.e->handle());
  EXPECT_TRUE(a.cartes);
  EXPECT_EQ(t.e->carte[1].at(6, 5), render::pixel_rgb(255, 0, 0));
  EXPECT_EQ(t.e->carte[2].at(6, 7), render::pixel_rgb(0, 255, 0));
  EXPECT_TRUE(t.terrain->trace.empty());
  EXPECT_EQ(t.e->modifiee, 1);  // the recording dispatcher reports success
}

TEST(OutilsEditeur, ClicksShortStrokesAndPassGiveOneSet) {
  Editeur t(7);
  // A Cone click without moving between nodes is a point.
  t.outil(2);
  std::string etiquette;
  t.dialogue = [&](Tdlg_edit& d) {
    etiquette = d.Label_fin->text().toStdString();
    EXPECT_FALSE(d.Button_df->isEnabled());
    EXPECT_FALSE(d.Button_d_f->isEnabled());
    return 1;
  };
  t.cliquer(t.pixels(1, {180, 210})[0]);
  EXPECT_EQ(etiquette, "Point");
  t.e->TimerT1Timer();
  ASSERT_EQ(t.appels.size(), 1u);
  EXPECT_EQ(t.appels[0].trace.size(), 1u);
  // A Shape stroke of 8 nodes is a point.
  t.outil(1);
  t.glisser(t.pixels(8));
  EXPECT_EQ(etiquette, "Point");
  t.e->TimerT1Timer();
  // A Pass acts on its middle node; nothing is appended at the stroke's end.
  t.outil(3);
  const auto ps = t.pixels(12);
  t.glisser(ps);
  EXPECT_EQ(etiquette, "Point");
  EXPECT_EQ(t.e->session().noeud(), t.noeud(ps[6]));
  t.e->TimerT1Timer();
  ASSERT_EQ(t.appels.size(), 3u);
  EXPECT_EQ(t.appels[2].trace.size(), 12u);
  const NoeudCarte milieu = t.e->session().noeud();
  EXPECT_EQ(t.appels[2].a.altitude_finale_debut, t.terrain->hauteurs->lire(milieu.i, milieu.j));
}

TEST(OutilsEditeur, CopyEnablesPasteOnlyWhenItMadeAClipboard) {
  Editeur t(7);
  t.reel = true;
  t.outil(18);
  t.dialogue = [](Tdlg_edit& d) {
    EXPECT_EQ(d.windowTitle(), "Copy of a portion");
    EXPECT_EQ(d.avant, 0);
    return 2;
  };
  const PixelCarte p = t.pixels(1, {200, 220})[0];
  t.cliquer(p);
  EXPECT_TRUE(t.appels.empty());
  EXPECT_FALSE(t.e->outils[19]->isEnabled());
  EXPECT_TRUE(t.image_est_carte() || t.e->redessiner());
  t.dialogue = [](Tdlg_edit&) { return 1; };
  t.cliquer(p);
  ASSERT_EQ(t.appels.size(), 1u);
  EXPECT_EQ(t.appels[0].a.altitude_finale_debut, t.terrain->hauteur_max());
  EXPECT_TRUE(t.e->outils[19]->isEnabled());
  EXPECT_TRUE(t.terrain->presse_papier);
  t.e->activer_coller(false);  // the main window found a clipboard of another lattice
  EXPECT_FALSE(t.e->outils[19]->isEnabled());
}

TEST(OutilsEditeur, EachToolKeepsItsOwnRatio) {
  Editeur t(7, true);
  t.reel = false;
  // Shape with a thrust of -50.
  t.outil(1);
  t.dialogue = [](Tdlg_edit& d) {
    EXPECT_TRUE(d.Panel_coeff->isVisibleTo(&d));
    EXPECT_EQ(d.Label_c->text(), "Thrust");
    d.ScrollBar_coeff->setValue(50);
    return 1;
  };
  t.cliquer(t.pixels(1)[0]);
  t.e->TimerT1Timer();
  ASSERT_EQ(t.appels.size(), 1u);
  EXPECT_EQ(t.appels[0].a.valeur, -50);
  // Paste then reaches the dispatcher with its own positive strength.
  t.reel = true;
  t.outil(18);
  t.dialogue = [](Tdlg_edit&) { return 1; };
  t.cliquer(t.pixels(1, {200, 220})[0]);
  t.outil(19);
  ASSERT_TRUE(t.e->outils[19]->isEnabled());
  t.cliquer(t.pixels(1, {160, 260})[0]);
  ASSERT_EQ(t.appels.size(), 3u);
  EXPECT_EQ(t.appels[2].a.outil, OUTIL_COLLER);
  EXPECT_GT(t.appels[2].a.valeur, 0);
  EXPECT_EQ(t.appels[2].a.largeur_base_debut, t.terrain->niveau_presse_papier);
  // Plateau with Cliff sends a negative ratio, and reopens on Cliff.
  t.reel = false;
  t.outil(4);
  t.dialogue = [](Tdlg_edit& d) {
    d.ScrollBar_coeff->setValue(-30);
    d.RadioButton_etirem->click();
    return 1;
  };
  t.cliquer(t.pixels(1)[0]);
  t.e->TimerT1Timer();
  EXPECT_EQ(t.appels.back().a.valeur, -30);
  t.dialogue = [](Tdlg_edit& d) {
    EXPECT_TRUE(d.RadioButton_etirem->isChecked());
    EXPECT_EQ(d.coefficient, 30);
    EXPECT_EQ(d.ScrollBar_coeff->value(), -30);
    return 2;
  };
  t.cliquer(t.pixels(1)[0]);
  t.e->TimerT1Timer();
  // Smoothing keeps its sign.
  t.outil(7);
  t.dialogue = [](Tdlg_edit& d) {
    d.ScrollBar_coeff->setValue(15);
    return 1;
  };
  t.cliquer(t.pixels(1)[0]);
  t.e->TimerT1Timer();
  EXPECT_EQ(t.appels.back().a.valeur, -15);
  t.dialogue = [](Tdlg_edit& d) {
    EXPECT_EQ(d.ScrollBar_coeff->value(), 15);
    return 2;
  };
  t.cliquer(t.pixels(1)[0]);
  t.e->TimerT1Timer();
  // Road as a path sends -50 and reopens with its earthworks.
  t.outil(8);
  t.dialogue = [](Tdlg_edit& d) {
    d.ScrollBar_coeff->setValue(-12);
    d.CheckBox_Riviere->click();
    return 1;
  };
  t.cliquer(t.pixels(1)[0]);
  t.e->TimerT1Timer();
  EXPECT_EQ(t.appels.back().a.valeur, -50);
  t.dialogue = [](Tdlg_edit& d) {
    d.CheckBox_Riviere->click();
    EXPECT_EQ(d.coefficient, 12);
    return 1;
  };
  t.cliquer(t.pixels(1)[0]);
  t.e->TimerT1Timer();
  EXPECT_EQ(t.appels.back().a.valeur, 12);
}

TEST(OutilsEditeur, BeforeAltitudeEditedOnBeginGoesToTheStartSet) {
  Editeur t(7);
  t.outil(2);  // Cone, drawn as a crest line
  const auto ps = t.pixels(4);
  std::int32_t avant_fin = 0;
  t.dialogue = [&](Tdlg_edit& d) {
    EXPECT_EQ(d.Label_fin->text(), "End");
    avant_fin = d.avant;
    d.Button_d_f->click();
    d.ScrollBar_alt1->setValue(-(d.avant - 100));
    return 1;
  };
  t.glisser(ps);
  t.e->TimerT1Timer();
  ASSERT_EQ(t.appels.size(), 1u);
  const Appel& a = t.appels[0];
  EXPECT_EQ(a.a.altitude_initiale_debut, avant_fin);
  EXPECT_EQ(a.a.altitude_initiale_fin, t.terrain->hauteurs->lire(a.trace.front().i, a.trace.front().j) - 100);
}

TEST(OutilsEditeur, CancelledDialogLeavesValuesAndPictureAsTheyWere) {
  Editeur t(7);
  t.outil(1);
  const auto ps = t.pixels(12);
  QImage avant;
  dialogs::JeuOutil fin, debut;
  t.dialogue = [&](Tdlg_edit& d) {
    d.ScrollBar_base->setValue(2500);
    d.Button_d_f->click();
    d.ScrollBar_sommet->setValue(600);
    d.Button_rotate->click();
    d.Button_df->click();
    d.Button_rotate->click();
    return 2;
  };
  // The picture and the values just before the dialog.
  t.e->souris_deplacee(ps.front());
  t.e->souris_enfoncee(Qt::LeftButton, ps.front());
  for (std::size_t k = 1; k < ps.size(); ++k) t.e->souris_deplacee(ps[k]);
  avant = t.e->Image1.copy();
  fin = t.e->session().jeu_fin;
  debut = t.e->session().jeu_debut;
  t.e->souris_relachee(Qt::LeftButton, ps.back());
  EXPECT_EQ(t.dialogues, 1);
  EXPECT_EQ(t.e->Image1, avant);
  EXPECT_EQ(t.e->session().jeu_fin.base, fin.base);
  EXPECT_EQ(t.e->session().jeu_debut.sommet, debut.sommet);
  EXPECT_EQ(t.e->session().coefficients[1], 0);
  // The delayed run finds nothing to do; the next paint shows the map without marks.
  t.e->TimerT1Timer();
  EXPECT_TRUE(t.appels.empty());
  EXPECT_EQ(t.e->redessiner(), 1);
  t.paint();
  EXPECT_TRUE(t.image_est_carte());
}

TEST(OutilsEditeur, TargetClickBetweenNodesRestoresTheMap) {
  Editeur t(7, false, true);
  t.reel = true;
  const render::Bitmap carte0 = t.e->carte[1];
  const PixelCarte p0 = t.e->pixel_cible;
  render::Bitmap attendu = carte0;  // the map without the first cross
  const render::Bitmap& fond = t.e->fond_cible[1];
  render::copy_rect(attendu.surface(), p0.x - 8, p0.y - 8, fond.surface(), 0, 0, 16, 16);
  t.outil(10);
  t.cliquer({181, 201});
  EXPECT_EQ(t.e->pixel_cible, t.e->points_vo(t.terrain->cible_i, t.terrain->cible_j, false));
  t.cliquer({241, 151});
  const PixelCarte q = t.e->pixel_cible;
  EXPECT_EQ(q, t.e->points_vo(t.terrain->cible_i, t.terrain->cible_j, false));
  const PixelCarte o = t.e->pixel_observateur;
  for (int y = 0; y < 372; ++y)
    for (int x = 0; x < 425; ++x) {
      const bool croix = x >= q.x - 8 && x < q.x + 8 && y >= q.y - 8 && y < q.y + 8;
      const bool disque = x >= o.x - 4 && x < o.x + 4 && y >= o.y - 4 && y < o.y + 4;
      if (!croix && !disque) {
        ASSERT_EQ(t.e->carte[1].at(x, y), attendu.at(x, y)) << x << "," << y;
      }
    }
  EXPECT_EQ(t.e->modifiee, 1);
}

TEST(OutilsEditeur, TreeAndColourStoreTheirBrushFirst) {
  Editeur t(7);
  t.reel = true;
  t.outil(9);
  t.e->ScrollBar_taille->setValue(40);
  t.e->RadioButton_p2->click();
  t.cliquer(t.pixels(1)[0]);
  ASSERT_EQ(t.appels.size(), 1u);
  EXPECT_EQ(t.appels[0].arbre, 6);
  EXPECT_EQ(t.appels[0].taille, 40);
  EXPECT_EQ(t.e->modifiee, 1);
  EXPECT_TRUE(t.e->outils[12]->isEnabled());
  t.outil(6);
  t.e->choisir_sol(5);
  {
    CtlSpeedButton* b = t.e->epaisseurs[2];
    const QPointF c(b->width() / 2.0, b->height() / 2.0);
    QMouseEvent appui(QEvent::MouseButtonPress, c, b->mapToGlobal(c), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent relache(QEvent::MouseButtonRelease, c, b->mapToGlobal(c), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(b, &appui);
    QApplication::sendEvent(b, &relache);
  }
  EXPECT_EQ(t.e->session().pinceaux.largeur_sol, 4);
  const auto ps = t.pixels(3, {150, 250});
  t.e->souris_deplacee(ps[0]);
  t.e->souris_enfoncee(Qt::LeftButton, ps[0]);
  t.e->souris_deplacee(ps[1]);
  t.e->souris_deplacee(ps[2]);
  // The rubber disc: radius 2 x 4 + 2 around the last pixel, in the sand colour.
  const param_vue& v = t.e->vue;
  const QRgb sable = qRgb(v.couleurs[COULEUR_SABLE].r, v.couleurs[COULEUR_SABLE].g, v.couleurs[COULEUR_SABLE].b);
  const PixelCarte p = ps[2];
  EXPECT_EQ(t.e->Image1.pixel(p.x, p.y - 9), sable);
  EXPECT_EQ(t.e->Image1.pixel(p.x, p.y + 9), sable);
  EXPECT_NE(t.e->Image1.pixel(p.x, p.y - 12), sable);
  t.e->souris_relachee(Qt::LeftButton, ps[2]);
  ASSERT_EQ(t.appels.size(), 2u);
  EXPECT_EQ(t.appels[1].sol, 5);
  EXPECT_EQ(t.appels[1].largeur, 4);
  EXPECT_EQ(t.appels[1].trace.size(), 3u);
}

TEST(OutilsEditeur, CancelDuringAValleyRun) {
  Editeur t(7);
  t.reel = true;
  FakeProgress annulation;
  t.pendant = [&](Tmatrice&, controle_outil& c) {
    annulation.cancel_at(1, t.e->handle());
    c.attente = &annulation;
  };
  t.outil(5);
  t.dialogue = [](Tdlg_edit& d) {
    EXPECT_EQ(d.windowTitle(), "Valley");
    EXPECT_EQ(d.apres, d.avant - 40);
    return 1;
  };
  t.cliquer(t.pixels(1, {200, 150})[0]);
  t.e->TimerT1Timer();
  ASSERT_EQ(t.appels.size(), 1u);
  EXPECT_EQ(t.appels[0].a.largeur_base_debut, 200);
  EXPECT_EQ(t.appels[0].a.largeur_sommet_debut, 20);
  EXPECT_GE(annulation.tests(), 1);
  EXPECT_EQ(t.e->modifiee, 0);
  EXPECT_EQ(t.e->redessiner(), 1);
}

TEST(OutilsEditeur, RaiseAndUndo) {
  Editeur t(7);
  ScopedFakeUserInterface ui;
  Tmatrice& m = *t.terrain;
  // An edit first, then a raise of 500 in uniform mode.
  m.hauteurs->ecrire(40, 40, 1234);
  const Tnoeud avant = *m.hauteurs;
  const std::int32_t h = m.hauteur_max();
  t.dialogue = [h](Tdlg_edit& d) {
    EXPECT_EQ(d.windowTitle(), "Elevation");
    EXPECT_EQ(d.base, 8000);
    EXPECT_EQ(d.altitude_max, std::max(h, 1));
    EXPECT_TRUE(d.RadioButton_Unif->isChecked());
    d.ScrollBar_alt->setValue(-(h + 500));
    return 1;
  };
  const QImage image = t.e->Image1.copy();
  t.e->Elever1->trigger();
  EXPECT_EQ(t.e->Image1, image);  // the marks went in pairs
  for (std::int32_t i = 2; i < m.n; i += 7)
    for (std::int32_t j = 2; i + j <= m.n; j += 5)
      ASSERT_EQ(m.hauteurs->lire(i, j), std::min(avant.lire(i, j) + 500, 4000)) << i << "," << j;
  EXPECT_EQ(t.e->modifiee, 1);
  // Undo: No changes nothing; Yes takes back the raise only.
  t.e->modifiee = 0;
  ui.answers = {false};
  t.e->SpeedButton_undo1Click();
  ASSERT_EQ(ui.entries.size(), 1u);
  EXPECT_TRUE(ui.entries[0].question);
  EXPECT_EQ(ui.entries[0].text, "Undo: Do you really want to cancel the last operation done with your graphic editor ?");
  EXPECT_EQ(ui.entries[0].caption, "Confirm");
  EXPECT_EQ(t.e->modifiee, 0);
  EXPECT_EQ(m.hauteurs->lire(40, 40), std::min(1234 + 500, 4000));
  const int rendus = controle_rendus().rendus;
  ui.answers = {true};
  t.e->SpeedButton_undo1Click();
  EXPECT_EQ(m.hauteurs->lire(40, 40), 1234);
  for (std::int32_t i = 1; i <= m.n; i += 3)
    for (std::int32_t j = 1; i + j <= m.n + 1; j += 4) ASSERT_EQ(m.hauteurs->lire(i, j), avant.lire(i, j));
  EXPECT_EQ(t.e->modifiee, 1);
  EXPECT_EQ(t.e->carte_calculee, 0);
  t.paint();
  t.e->calculer_carte();
  EXPECT_EQ(controle_rendus().rendus, rendus + 1);
  // The cross-section shows and changes nothing.
  t.e->modifiee = 0;
  t.dialogue = [](Tdlg_edit& d) {
    EXPECT_EQ(d.windowTitle(), "Cross-section of a ground");
    EXPECT_FALSE(d.Cancelbtn->isVisibleTo(&d));
    return 1;
  };
  const QImage avant_coupe = t.e->Image1.copy();
  t.e->Coupe1->trigger();
  EXPECT_EQ(m.hauteurs->lire(40, 40), 1234);
  EXPECT_EQ(t.e->modifiee, 0);
  EXPECT_EQ(t.e->Image1, avant_coupe);
}

TEST(OutilsEditeur, KeyboardClicksPressesAndMovesThePointer) {
  Editeur t(7);
  t.reel = true;
  Tfenetre_edition& e = *t.e;
  t.outil(9);  // Tree: a click runs at once
  const PixelCarte p = t.pixels(1, {200, 200})[0];
  QCursor::setPos(e.zone_carte()->mapToGlobal(QPoint(p.x, p.y)));
  if (QCursor::pos() != e.zone_carte()->mapToGlobal(QPoint(p.x, p.y)))
    GTEST_SKIP() << "this platform cannot move the pointer";
  e.souris_deplacee(p);
  auto touche = [&e](int k) {
    QKeyEvent ev(QEvent::KeyPress, k, Qt::NoModifier);
    QApplication::sendEvent(&e, &ev);
  };
  touche(Qt::Key_Return);
  EXPECT_EQ(t.appels.size(), 1u);
  EXPECT_FALSE(e.session().bouton_enfonce());
  touche(Qt::Key_Space);
  EXPECT_TRUE(e.session().bouton_enfonce());
  touche(Qt::Key_Return);
  EXPECT_FALSE(e.session().bouton_enfonce());
  EXPECT_EQ(t.appels.size(), 2u);
  // Right moves by sx and stops before the map's edge.
  const QPoint g = QCursor::pos();
  touche(Qt::Key_Right);
  EXPECT_EQ(QCursor::pos(), g + QPoint(pas_clavier_x(t.terrain->n, 1), 0));
  QCursor::setPos(e.zone_carte()->mapToGlobal(QPoint(424, 200)));
  const QPoint bord = QCursor::pos();
  touche(Qt::Key_Right);
  EXPECT_EQ(QCursor::pos(), bord);
  // End and Home.
  touche(Qt::Key_End);
  EXPECT_EQ(e.courbes, 1);
  touche(Qt::Key_Home);
  EXPECT_EQ(e.zoom2, 1);
  touche(Qt::Key_Home);
  touche(Qt::Key_End);
  EXPECT_EQ(e.courbes, 0);
  EXPECT_EQ(e.zoom2, 0);
}

// The editor's keys act whatever has the focus inside it: the map's scroll
// box that Tab reaches (it would scroll with the arrows and Page keys), or a
// brush radio button (it would take the arrows and Space).
TEST(OutilsEditeur, KeysActWhateverHasTheFocusInsideTheEditor) {
  Editeur t(7);
  Tfenetre_edition& e = *t.e;
  QApplication::setActiveWindow(&e);
  e.setFocus();
  const PixelCarte p = t.pixels(1, {200, 200})[0];
  QCursor::setPos(e.zone_carte()->mapToGlobal(QPoint(p.x, p.y)));
  if (QCursor::pos() != e.zone_carte()->mapToGlobal(QPoint(p.x, p.y)))
    GTEST_SKIP() << "this platform cannot move the pointer";
  e.souris_deplacee(p);
  auto touches = [](std::initializer_list<int> ks) {
    for (int k : ks) QTest::keyClick(QApplication::focusWidget(), Qt::Key(k));
  };
  const QPoint g = QCursor::pos();
  const std::int32_t sx = pas_clavier_x(t.terrain->n, 1), sy = pas_clavier_y(t.terrain->n, 1);
  touches({Qt::Key_Tab});
  ASSERT_EQ(QApplication::focusWidget(), e.ScrollBox1);
  touches({Qt::Key_PageDown, Qt::Key_PageDown});
  EXPECT_EQ(e.session().outil(), OUTIL_COL);
  EXPECT_TRUE(e.outils[3]->Pressed());
  touches({Qt::Key_PageUp, Qt::Key_Right, Qt::Key_Down});
  EXPECT_EQ(e.session().outil(), OUTIL_CONE);
  EXPECT_EQ(QCursor::pos(), g + QPoint(sx, sy));
  t.outil(9);  // Trees: a click plants at once
  e.RadioButton_p1->setFocus();
  const bool p1 = e.RadioButton_p1->isChecked();
  touches({Qt::Key_Left, Qt::Key_Up, Qt::Key_Space});
  EXPECT_EQ(QCursor::pos(), g);
  EXPECT_TRUE(e.session().bouton_enfonce());
  touches({Qt::Key_Return, Qt::Key_End, Qt::Key_Home});
  ASSERT_EQ(t.appels.size(), 1u);
  EXPECT_EQ(t.appels[0].a.outil, OUTIL_ARBRE);
  EXPECT_EQ(e.RadioButton_p1->isChecked(), p1);
  EXPECT_EQ(e.courbes, 1);
  EXPECT_EQ(e.zoom2, 1);
}

TEST(OutilsEditeur, RaiseOnALargeLatticeAndANegativeStratum) {
  {
    Editeur t(11);
    t.dialogue = [](Tdlg_edit& d) {
      EXPECT_EQ(d.base, 8000);
      d.ScrollBar_alt->setValue(d.ScrollBar_alt->value() - 300);
      return 1;
    };
    const std::int32_t h = t.terrain->hauteur_max();
    t.e->elevation_coupe(false);
    EXPECT_EQ(t.terrain->hauteur_max(), std::min(h + 300, 4000));
  }
  {
    Editeur t(7, true);
    t.reel = true;
    t.outil(16);
    ASSERT_TRUE(t.e->outils[16]->isEnabled());
    t.dialogue = [](Tdlg_edit& d) {
      EXPECT_EQ(d.windowTitle(), "Stratum");
      d.ScrollBar_alt1->setValue(-(d.apres - 300));
      d.ScrollBar_sommet->setValue(-100);
      d.Button_rotate->click();
      return 1;
    };
    t.cliquer(t.pixels(1, {200, 200})[0]);
    t.e->TimerT1Timer();
    ASSERT_EQ(t.appels.size(), 1u);
    EXPECT_EQ(t.appels[0].a.largeur_sommet_debut, -100);
    EXPECT_EQ(t.appels[0].a.outil, OUTIL_STRATE);
    t.paint();
    EXPECT_TRUE(t.image_est_carte());
  }
}

TEST(OutilsEditeur, MarksSurviveThePaintThatShowsThem) {
  Editeur t(7);
  t.paint();
  ASSERT_TRUE(t.image_est_carte());
  // A rubber stroke stays on the picture while it is drawn.
  t.outil(1);
  const auto ps = t.pixels(4);
  t.e->souris_deplacee(ps[0]);
  t.e->souris_enfoncee(Qt::LeftButton, ps[0]);
  for (std::size_t k = 1; k < ps.size(); ++k) t.e->souris_deplacee(ps[k]);
  QApplication::processEvents();
  EXPECT_FALSE(t.image_est_carte());
  EXPECT_EQ(t.e->Image1.pixel(ps[2].x, ps[2].y), qRgb(255, 255, 255));
  // Once the map is to be shown again, the next paint copies it over them.
  t.e->montrer_carte();
  t.paint();
  EXPECT_TRUE(t.image_est_carte());
  t.e->souris_relachee(Qt::RightButton, ps.back());
  // The sight lines as well.
  t.e->point_observateur(true, 0, 0, 0, 3000, 1000, -3000, 500);
  QApplication::processEvents();
  EXPECT_FALSE(t.image_est_carte());
}

// A raise that asks to see its result makes the map again, although the
// dialog's marks were the last thing drawn on the picture.
TEST(OutilsEditeur, RaiseThatShowsItsResultDrawsTheMapAgain) {
  Editeur t(7);
  t.paint();
  const int rendus = controle_rendus().rendus;
  t.dialogue = [](Tdlg_edit& d) {
    d.ScrollBar_alt->setValue(d.ScrollBar_alt->value() - 1000);
    d.CheckBox_resdessiner->click();
    return 1;
  };
  t.e->Elever1->trigger();
  t.paint();
  QApplication::processEvents();
  EXPECT_EQ(controle_rendus().rendus, rendus + 1);
  t.paint();
  EXPECT_TRUE(t.image_est_carte());
  // Without "see the result" the map waits for Refresh.
  t.dialogue = [](Tdlg_edit& d) {
    d.ScrollBar_alt->setValue(d.ScrollBar_alt->value() - 100);
    return 1;
  };
  t.e->Elever1->trigger();
  t.paint();
  EXPECT_FALSE(t.e->carte_programmee());
  EXPECT_EQ(t.e->carte_calculee, 1);
}

// Every change of heights makes the next reading under a pointer that did not
// move read its node again: the tool dialog gets the height as it now is.
TEST(OutilsEditeur, AClickAfterAToolOrUndoReadsTheNodeAgain) {
  Editeur t(7);
  t.reel = true;
  ScopedFakeUserInterface ui;
  t.outil(1);
  const PixelCarte p = t.pixels(1, {200, 200})[0];
  const NoeudCarte n = t.noeud(p);
  t.terrain->hauteurs->ecrire(n.i, n.j, 500);
  std::vector<std::int32_t> lues;
  t.dialogue = [&](Tdlg_edit& d) {
    lues.push_back(d.fin.avant);
    d.ScrollBar_alt->setValue(-(d.apres + 1000));
    return 1;
  };
  t.cliquer(p);
  t.e->TimerT1Timer();
  const std::int32_t eleve = t.terrain->hauteurs->lire(n.i, n.j);
  ASSERT_GT(eleve, 500);
  t.dialogue = [&](Tdlg_edit& d) {
    lues.push_back(d.fin.avant);
    return 2;
  };
  t.cliquer(p);
  t.e->TimerT1Timer();
  ui.answers = {true};
  t.e->SpeedButton_undo1Click();
  t.cliquer(p);
  t.e->TimerT1Timer();
  EXPECT_EQ(lues, (std::vector<std::int32_t>{500, eleve, 500}));
  // The readout follows at the next move inside the same node.
  t.e->Elever1->trigger();
  const std::int32_t apres_elevation = t.terrain->hauteurs->lire(n.i, n.j);
  t.e->souris_deplacee(p);
  EXPECT_EQ(t.e->Label_altitude->text(), QString::number(apres_elevation));
}

namespace {

// The terrain after a Shape stroke through the given pointer positions, and
// the stroke the dispatcher got.
std::pair<Tnoeud, std::vector<NoeudCarte>> apres_forme(const Tnoeud& depart, const std::vector<PixelCarte>& ps) {
  Editeur t(7);
  *t.terrain->hauteurs = depart;
  t.reel = true;
  t.outil(1);
  t.dialogue = [](Tdlg_edit& d) {
    d.ScrollBar_alt->setValue(d.ScrollBar_alt->value() - 600);
    return 1;
  };
  t.glisser(ps);
  t.e->TimerT1Timer();
  EXPECT_EQ(t.appels.size(), 1u);
  return {*t.terrain->hauteurs, t.appels.empty() ? std::vector<NoeudCarte>{} : t.appels[0].trace};
}

bool voisins(NoeudCarte a, NoeudCarte b) {
  const int di = b.i - a.i, dj = b.j - a.j;
  return std::max({std::abs(di), std::abs(dj), std::abs(di + dj)}) == 1;
}

}  // namespace

// A fast drag, whose pointer jumps over nodes, records the nodes it passes
// over: it raises the same ridge as a slow drag along the same path, with no
// grooves between bumps.
TEST(OutilsEditeur, AFastStrokeGivesTheTerrainOfASlowOne) {
  std::vector<PixelCarte> lent;
  std::unique_ptr<Tnoeud> depart;
  {
    Editeur t(7);
    lent = t.pixels(40, {110, 200});
    depart = std::make_unique<Tnoeud>(*t.terrain->hauteurs);
  }
  const std::vector<PixelCarte> rapide{lent[0], lent[13], lent[27], lent[39]};
  const auto [terrain_lent, trace_lente] = apres_forme(*depart, lent);
  const auto [terrain_rapide, trace_rapide] = apres_forme(*depart, rapide);
  ASSERT_EQ(trace_lente.size(), 40u);
  EXPECT_EQ(trace_rapide, trace_lente);
  const std::int32_t n = terrain_lent.n();
  for (std::int32_t i = 1; i <= n; ++i)
    for (std::int32_t j = 1; i + j <= n + 1; ++j)
      ASSERT_EQ(terrain_rapide.lire(i, j), terrain_lent.lire(i, j)) << i << "," << j;
  // Across rows too: a diagonal jump records a chain of neighbouring nodes.
  const auto [terrain_diagonal, trace_diagonale] = apres_forme(*depart, {{140, 150}, {230, 250}});
  ASSERT_GT(trace_diagonale.size(), 20u);
  for (std::size_t k = 1; k < trace_diagonale.size(); ++k)
    EXPECT_TRUE(voisins(trace_diagonale[k - 1], trace_diagonale[k])) << k;
  (void)terrain_diagonal;
}

// Closing the editor in the middle of a stroke, or while its run waits, runs
// nothing and ends the terrain's stroke: the terrain outlives the editor.
TEST(OutilsEditeur, ClosingMidStrokeEndsTheTerrainsStroke) {
  for (bool attente : {false, true}) {
    SCOPED_TRACE(attente ? "run waiting" : "mid-stroke");
    Editeur t(7);
    t.outil(1);
    const auto ps = t.pixels(12);
    t.e->souris_deplacee(ps.front());
    t.e->souris_enfoncee(Qt::LeftButton, ps.front());
    for (std::size_t k = 1; k < ps.size(); ++k) t.e->souris_deplacee(ps[k]);
    if (attente) t.e->souris_relachee(Qt::LeftButton, ps.back());
    ASSERT_EQ(t.e->TimerT1.isActive(), attente);
    ASSERT_FALSE(t.terrain->trace.empty());
    t.e->close();
    QApplication::processEvents();
    EXPECT_FALSE(t.e->TimerT1.isActive());
    EXPECT_FALSE(t.terrain->trace_active);
    EXPECT_TRUE(t.terrain->trace.empty());
    EXPECT_TRUE(t.appels.empty());
  }
}
