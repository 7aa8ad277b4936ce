// The map editor window: its one render of both zooms, zoom and level curves,
// cancel, markers, sight lines, readout and gauge, map pictures beside the
// document, the pop-up commands and closing with timers armed.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QImage>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <vector>

#include "exemples/arbres_dessin.h"
#include "fenetres/aide_enfants.h"
#include "fenetres/rendu.h"
#include "tests/support/rendus.h"
#include "controls/panels.h"
#include "controls/speedbutton.h"
#include "dialogs/edition.h"
#include "model/defauts.h"
#include "platform/fichiers.h"
#include "render/dessin_arbre.h"
#include "render/jpeg.h"
#include "tests/app/comparaison_records.h"
#include "tests/support/fakes.h"
#include "tests/support/terrains.h"

using namespace fenetres;
using test_rendus::controle_rendus;
using test_rendus::ControleRendus;

using namespace dialogs;

namespace {

param_vue vue_par_defaut() {
  param_vue v;
  valeurs_defaut_vue(v);
  v.photo_aerienne = 1;  // kept by the editor's copy
  v.foret = 1;           // cleared by it
  v.brume = 1;
  return v;
}

// A generated terrain and its editor, shown; nothing rendered yet.
struct Banc {
  std::unique_ptr<Tmatrice> terrain;
  std::unique_ptr<Tfenetre_edition> e;

  explicit Banc(int degre, const std::string& fichier = {}, std::uint8_t courbes = 0) {
    controle_rendus().effacer();
    terrain = terrain_genere(parametres_test(degre));
    ouvrir(fichier, courbes);
  }
  void ouvrir(const std::string& fichier = {}, std::uint8_t courbes = 0) {
    e = std::make_unique<Tfenetre_edition>();
    e->fichier = fichier;
    OuvertureEdition o;
    o.no_montagne = 1;
    o.matrice = terrain.get();
    o.courbes = courbes;
    o.vue_defaut = vue_par_defaut();
    e->ouvre_edition(o);
    e->show();
  }
  // A paint of the map, then what it scheduled.
  void peindre() {
    e->zone_carte()->repaint();
    QApplication::processEvents();
    e->calculer_carte();
  }
  void fermer() {
    e->close();
    QApplication::processEvents();
  }
  ~Banc() { controle_rendus().effacer(); }
};

struct Carre {
  int x, y, s;
  bool contient(int u, int v) const { return u >= x && u < x + s && v >= y && v < y + s; }
};

// The pixels of `a` and `b` differ only inside the given squares.
bool egales_hors(const render::Bitmap& a, const render::Bitmap& b, std::initializer_list<Carre> carres) {
  if (a.width() != b.width() || a.height() != b.height()) return false;
  for (int v = 0; v < a.height(); ++v)
    for (int u = 0; u < a.width(); ++u) {
      bool dedans = false;
      for (const Carre& c : carres) dedans = dedans || c.contient(u, v);
      if (!dedans && a.at(u, v) != b.at(u, v)) return false;
    }
  return true;
}

// The square of the target marker at p on the map of zoom k.
Carre croix(PixelCarte p, int k) { return {(p.x - 8) * k, (p.y - 8) * k, 16 * k}; }

std::string lire_tout(const std::string& chemin) {
  std::ifstream f(chemin, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(FenetreEdition, OneRenderOfBothZoomsOutsideThePaint) {
  Banc b(7);
  ControleRendus& c = controle_rendus();
  b.peindre();
  b.peindre();
  ASSERT_EQ(c.rendus, 1);
  EXPECT_EQ(c.rendus_dans_peinture, 0);
  EXPECT_EQ(c.decodages_dans_peinture, 0);
  const AppelRendu& a = c.appels[0];
  EXPECT_TRUE(a.attente);
  EXPECT_EQ(a.fenetre, b.e->handle());
  EXPECT_EQ(a.largeur, 425);
  EXPECT_EQ(a.hauteur, 372);
  EXPECT_TRUE(a.image_editeur);
  EXPECT_EQ(a.zoom_editeur, 1);
  EXPECT_EQ(a.statistiques, 0);
  EXPECT_EQ(a.mode_camera, 0);
  for (double v : {a.camera.observateur_x, a.camera.observateur_y, a.camera.observateur_z, a.camera.cible_x,
                   a.camera.cible_y, a.camera.cible_z})
    EXPECT_EQ(v, 0.0);
  EXPECT_TRUE(a.affichage);
  EXPECT_EQ(a.courbes_niveau, 0);
  EXPECT_EQ(b.e->carte[1].width(), 425);
  EXPECT_EQ(b.e->carte[2].width(), 850);
  EXPECT_EQ(b.e->carte[2].height(), 744);

  // The forced fields, and every other field as in the default view.
  param_vue attendu = vue_par_defaut();
  attendu.angle_vertical = 89;
  attendu.angle_horizontal = 180;
  attendu.elevation_soleil = 20;
  attendu.azimut_soleil = 90;
  attendu.distance = 250.0;
  attendu.niveau_neige = 4000;
  attendu.zone_recouvrement = 500;
  attendu.zoom = 10;
  attendu.centre_x = attendu.centre_y = 0;
  attendu.agitation_mer = 0;
  attendu.diversite_couleurs = 0;
  for (std::uint8_t param_vue::* d :
       {&param_vue::premier_plan, &param_vue::horizon, &param_vue::reflet, &param_vue::observateur_place,
        &param_vue::detail_arbres, &param_vue::detail_plus, &param_vue::strates, &param_vue::ombre_portee,
        &param_vue::maillage_filaire, &param_vue::deformation, &param_vue::echelle_fixe, &param_vue::foret,
        &param_vue::brume})
    attendu.*d = 0;
  attendu.foret = b.terrain->nombre_elements > 0 ? 1 : 0;
  comparer_vue(a.vue, attendu);
  EXPECT_EQ(a.vue.photo_aerienne, 1);

  // Zoom renders nothing; it scrolls to its usual place.
  b.e->bascule_zoom();
  b.peindre();
  EXPECT_EQ(c.rendus, 1);
  EXPECT_EQ(b.e->ScrollBox1->horizontalScrollBar()->value(), 170);
  EXPECT_EQ(b.e->ScrollBox1->verticalScrollBar()->value(), 149);
  EXPECT_EQ(b.e->Zoom1->text(), "Zoom out");
  EXPECT_TRUE(b.e->SpeedButton_zoom->Pressed());
  EXPECT_EQ(b.e->Image1.width(), 850);
  b.e->bascule_zoom();
  b.peindre();
  EXPECT_EQ(c.rendus, 1);
  EXPECT_EQ(b.e->Zoom1->text(), "Zoom in");
  EXPECT_EQ(b.e->Image1.width(), 425);

  // Level curves render once more, with the flag.
  b.e->SpeedButton_niveauxClick();
  EXPECT_EQ(b.e->Courbes1->text(), "Photo aérienne");
  b.peindre();
  b.peindre();
  ASSERT_EQ(c.rendus, 2);
  EXPECT_EQ(c.appels[1].courbes_niveau, 1);
  EXPECT_EQ(c.rendus_dans_peinture, 0);
  // The shown map is the computed one, markers included.
  for (int y = 0; y < 372; y += 7)
    for (int x = 0; x < 425; x += 5) ASSERT_EQ(b.e->Image1.pixel(x, y), b.e->carte[1].at(x, y));
  b.fermer();
}

TEST(FenetreEdition, CancelKeepsThePartialMapAndClosingWaitsForTheRender) {
  Banc b(6);
  ControleRendus& c = controle_rendus();
  // The progress window's cancel arrives at the first poll; meanwhile a close is refused.
  struct Sonde : FakeProgress {
    Tfenetre_edition* e = nullptr;
    int refus = 0;
    void tester_annulation() override {
      FakeProgress::tester_annulation();
      if (tests() == 1) {
        QCloseEvent ev;
        QApplication::sendEvent(e, &ev);
        if (!ev.isAccepted()) ++refus;
      }
    }
  } sonde;
  sonde.e = b.e.get();
  sonde.cancel_at(1, b.e->handle());
  c.attente_imposee = &sonde;
  b.peindre();
  c.attente_imposee = nullptr;
  EXPECT_EQ(c.rendus, 1);
  EXPECT_EQ(sonde.refus, 1);
  EXPECT_FALSE(b.e->fermeture);
  EXPECT_TRUE(b.terrain->calcul_annule);
  EXPECT_TRUE(b.e->carte_calculee);
  b.peindre();
  b.peindre();
  EXPECT_EQ(c.rendus, 1);
  b.fermer();
  EXPECT_TRUE(b.e->fermeture);
}

TEST(FenetreEdition, MarkersRestoreTheMapUnderThem) {
  Banc b(6);
  b.peindre();
  Tfenetre_edition& e = *b.e;
  const render::Bitmap rendu1 = e.carte[1], rendu2 = e.carte[2];
  const PixelCarte c0 = e.pixel_cible, o0 = e.pixel_observateur;
  // The zoom-2 cross: both diagonals from 2p - 8 to 2p + 8, 4 pixels wide.
  const PixelCarte p{150, 160};
  e.dessine_point_vise(p, true);
  for (int t = -7; t <= 7; ++t) {
    EXPECT_EQ(e.carte[2].at(2 * p.x + t, 2 * p.y + t), 0xFFFFFFFFu) << t;
    EXPECT_EQ(e.carte[2].at(2 * p.x + t, 2 * p.y - t), 0xFFFFFFFFu) << t;
  }
  // Moved on to q, the map differs from the rendered one only at the first
  // place of the cross and at q.
  const PixelCarte q{300, 90};
  e.dessine_point_vise(q, true);
  EXPECT_TRUE(egales_hors(e.carte[1], rendu1, {croix(c0, 1), croix(q, 1)}));
  EXPECT_TRUE(egales_hors(e.carte[2], rendu2, {croix(c0, 2), croix(q, 2)}));
  EXPECT_FALSE(egales_hors(e.carte[2], rendu2, {croix(c0, 2)}));

  // The disc stays inside the 12-pixel square centred on 2o.
  const render::Bitmap avant_disque = e.carte[2];
  const PixelCarte o{100, 100};
  e.dessine_observateur(o, true);
  EXPECT_TRUE(egales_hors(e.carte[2], avant_disque, {{(o0.x - 4) * 2, (o0.y - 4) * 2, 16},
                                                     {2 * o.x - 6, 2 * o.y - 6, 12}}));
  EXPECT_EQ(e.carte[2].at(2 * o.x, 2 * o.y), 0xFFFFFFFFu);

  // After a level-curve map the old place shows level-curve pixels.
  e.SpeedButton_niveauxClick();
  b.peindre();
  ASSERT_EQ(controle_rendus().rendus, 2);
  const render::Bitmap courbes1 = e.carte[1], courbes2 = e.carte[2];
  e.dessine_point_vise(p, true);
  EXPECT_TRUE(egales_hors(e.carte[1], courbes1, {croix(q, 1), croix(p, 1)}));
  EXPECT_TRUE(egales_hors(e.carte[2], courbes2, {croix(q, 2), croix(p, 2)}));
  int blancs = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const int u = (q.x - 8) * 2 + x, v = (q.y - 8) * 2 + y;
      if (courbes2.at(u, v) != 0xFFFFFFFFu)
        EXPECT_EQ(e.carte[2].at(u, v), courbes2.at(u, v));  // around the old cross: the new map
      else if (e.carte[2].at(u, v) == 0xFFFFFFFFu)
        ++blancs;
    }
  EXPECT_LT(blancs, 100);  // the old cross is gone
  b.fermer();
}

TEST(FenetreEdition, FarTargetDrawsAndMovesWithoutWritingOutside) {
  controle_rendus().effacer();
  auto terrain = terrain_genere(parametres_test(5));
  terrain->placer_cible(3.0, 3.0, 0);
  terrain->placer_observateur(-2.0, 3.0, 0);
  Banc b(5);
  b.terrain = std::move(terrain);
  b.ouvrir();
  b.peindre();
  EXPECT_EQ(controle_rendus().rendus, 1);
  b.e->dessine_point_vise({1 << 30, -(1 << 30)}, true);
  b.e->dessine_observateur({-(1 << 30), 1 << 30}, true);
  b.e->dessine_point_vise({20, 20}, true);
  b.e->point_observateur(false, 1e9, -1e9, 0, 1, 1e12, -1, -1e12);
  b.fermer();
}

TEST(FenetreEdition, SightLinesEraseThemselves) {
  Banc b(5);
  b.peindre();
  Tfenetre_edition& e = *b.e;
  const QImage avant = e.Image1.copy();
  e.point_observateur(false, -3000, 1000, 800, 2000, -1500, 2500, 1500);
  EXPECT_NE(e.Image1, avant);
  e.point_observateur(true, 0, 0, 0, 1000, 0, 0, 500);  // one line from the marker
  e.point_observateur(false, -3000, 1000, 800, 0, 10, 0, 20);  // both ends absent
  EXPECT_EQ(e.Image1, avant);
  // The observer pixel without the marker is the projection of the same world point.
  const PointMonde monde{e.cible_monde.x - 3000, e.cible_monde.y + 1000, e.cible_monde.z + 800};
  e.point_observateur(false, -3000, 1000, 800, 2000, -1500, 0, 0);
  const PixelCarte attendu = projeter_monde(monde);
  EXPECT_EQ(e.traits_vision[0], attendu.x);
  EXPECT_EQ(e.traits_vision[1], attendu.y);
  b.fermer();
}

TEST(FenetreEdition, ReadoutAndGauge) {
  Banc b(7);
  b.peindre();
  Tfenetre_edition& e = *b.e;
  e.souris = {212, 200};
  e.affiche_position(1234);
  EXPECT_EQ(e.panneaux[0]->text(), " x= 4068   y= 2883");
  EXPECT_EQ(e.Label_altitude->text(), "1234");
  const QImage jauge = e.Image_altitude()->grab().toImage();
  int rouges = 0;
  for (int y = 0; y < jauge.height(); ++y)
    for (int x = 0; x < jauge.width(); ++x)
      if (jauge.pixelColor(x, y) == QColor(Qt::red)) {
        ++rouges;
        EXPECT_GE(y, 173);
        EXPECT_LE(y, 175);
      }
  EXPECT_GT(rouges, 0);
  e.efface_jauge();
  EXPECT_EQ(e.altitude_jauge(), -4001);
  EXPECT_TRUE(e.Label_altitude->text().isEmpty());

  // The mouse over a node shows its height; off the lattice the gauge clears.
  e.bascule_zoom();
  e.deplacement_souris(424, 400);
  EXPECT_EQ(e.session().noeud(), (NoeudCarte{58, 37}));
  EXPECT_EQ(e.altitude_jauge(), b.terrain->hauteurs->lire(58, 37));
  EXPECT_EQ(e.panneaux[0]->text(), " x= 4068   y= 2883");
  e.deplacement_souris(2, 2);
  EXPECT_EQ(e.altitude_jauge(), -4001);
  b.fermer();
}

// At its default size, and at the smallest the main window can give it, the
// editor shows the whole tool bar (Paste included), the gauge's scale down to
// "-1000" and the widest position readout.
TEST(FenetreEdition, DefaultSizeShowsToolsGaugeAndReadoutWhole) {
  Banc b(7);
  Tfenetre_edition& e = *b.e;
  for (const QSize taille : {e.sizeHint(), QSize(100, 100)}) {
    e.resize(taille);
    QApplication::processEvents();
    EXPECT_LE(e.outils[19]->geometry().right(), e.CtlSimplePanel1->width() - 2) << taille.width();
    const QRect gauge = e.Panel_altitude->rect();
    for (QLabel* l : e.Panel_altitude->findChildren<QLabel*>()) {
      EXPECT_TRUE(gauge.contains(l->geometry())) << l->text().toStdString();
      EXPECT_LE(l->fontMetrics().horizontalAdvance(l->text()), l->width()) << l->text().toStdString();
    }
    EXPECT_TRUE(gauge.contains(e.Image_altitude()->geometry()));
  }
  e.souris = {424, 2};
  e.affiche_position(100);
  QLabel* position = e.panneaux[0];
  EXPECT_LE(position->fontMetrics().horizontalAdvance(" x= -88888   y= -88888"), position->contentsRect().width());
  b.fermer();
}

TEST(FenetreEdition, MapPicturesBesideTheDocument) {
  QTemporaryDir dossier;
  const std::string doc = dossier.path().toStdString() + "/alps.mat";
  const std::string b1 = dossier.path().toStdString() + "/alps_1.jpg", b2 = dossier.path().toStdString() + "/alps_2.jpg";
  ScopedFakeUserInterface ui;
  {
    Banc b(5, doc);
    EXPECT_TRUE(b.e->SpeedButton_save->isEnabled());
    b.peindre();
    b.e->Enregistrercarte1Click();  // Autosave on
    EXPECT_EQ(b.e->sauver_carte, 1);
    EXPECT_EQ(b.e->Enregistrercarte1->text(), "Don't save map");
    b.fermer();
  }
  render::Bitmap i1, i2;
  ASSERT_TRUE(render::lire_jpeg(b1, i1));
  ASSERT_TRUE(render::lire_jpeg(b2, i2));
  EXPECT_EQ(i1.width(), 425);
  EXPECT_EQ(i1.height(), 372);
  EXPECT_EQ(i2.width(), 850);
  EXPECT_EQ(i2.height(), 744);
  EXPECT_EQ(QImage(QString::fromStdString(b2)).size(), QSize(850, 744));

  // Reopening shows them without rendering.
  {
    Banc b(5, doc);
    b.peindre();
    EXPECT_EQ(controle_rendus().rendus, 0);
    EXPECT_EQ(controle_rendus().decodages, 2);
    EXPECT_EQ(controle_rendus().decodages_dans_peinture, 0);
    EXPECT_TRUE(b.e->SpeedButton_save->Pressed());
    EXPECT_EQ(b.e->Enregistrercarte1->text(), "Don't save map");
    EXPECT_TRUE(b.e->carte_calculee);
    // A failed write of the first picture leaves both as they were, with one warning.
    const std::string avant1 = lire_tout(b1), avant2 = lire_tout(b2);
    b.e->dessine_point_vise({200, 200}, true);
    simuler_echec_ecriture(100);
    b.fermer();
    simuler_echec_ecriture(std::nullopt);
    EXPECT_EQ(lire_tout(b1), avant1);
    EXPECT_EQ(lire_tout(b2), avant2);
    ASSERT_EQ(ui.entries.size(), 1u);
    EXPECT_EQ(ui.entries[0].caption, "Quorvel");
    EXPECT_NE(ui.entries[0].text.find(b1), std::string::npos);
  }
  // Damaged or wrong-sized pictures are ignored: the map is rendered.
  const std::string bon1 = lire_tout(b1);
  for (int cas = 0; cas < 2; ++cas) {
    if (cas == 0) {
      std::ofstream(b1, std::ios::binary) << bon1.substr(0, bon1.size() / 2);
    } else {
      ASSERT_TRUE(render::ecrire_jpeg(b1, render::Bitmap(400, 300, 0xFF102030u), 90));
    }
    Banc b(5, doc);
    b.peindre();
    EXPECT_EQ(controle_rendus().rendus, 1) << cas;
    b.e->carte_calculee = 1;
    b.e->sauver_carte = 0;
    b.e->fichier.clear();  // closes without touching the files
    b.fermer();
  }
  // Closing with saving off deletes the pair, but never a lone picture.
  {
    Banc b(5, doc);
    b.peindre();
    b.e->Enregistrercarte1Click();
    EXPECT_EQ(b.e->sauver_carte, 0);
    b.fermer();
  }
  EXPECT_FALSE(fichier_existe(b1));
  EXPECT_FALSE(fichier_existe(b2));
  ASSERT_TRUE(render::ecrire_jpeg(b1, render::Bitmap(425, 372, 0xFF102030u), 90));
  {
    Banc b(5, doc);
    b.peindre();
    b.fermer();
  }
  EXPECT_TRUE(fichier_existe(b1));

  // A document without a file cannot save its maps until it gets a path.
  Banc b(5);
  EXPECT_FALSE(b.e->SpeedButton_save->isEnabled());
  b.e->fixer_fichier(doc);
  EXPECT_TRUE(b.e->SpeedButton_save->isEnabled());
  EXPECT_TRUE(b.e->Enregistrercarte1->isEnabled());
  b.fermer();
}

TEST(FenetreEdition, EraseCommandsAskAndRenderAgain) {
  ScopedFakeUserInterface ui;
  Banc b(5);
  b.terrain->liste_i[0] = 10;
  b.terrain->liste_j[0] = 10;
  b.terrain->liste_type[0] = TYPE_RIVIERE;
  b.terrain->liste_attribut[0] = 1;
  b.terrain->nombre_elements = std::max(b.terrain->nombre_elements, 1);
  b.ouvrir();
  b.peindre();
  ControleRendus& c = controle_rendus();
  const int rendus = c.rendus;
  EXPECT_TRUE(b.e->Supprimerrivieres1->isEnabled());
  ui.answers = {false};
  b.e->Supprimerrivieres1->trigger();
  b.peindre();
  EXPECT_EQ(b.e->modifiee, 0);
  EXPECT_TRUE(b.e->Supprimerrivieres1->isEnabled());
  EXPECT_EQ(c.rendus, rendus);
  ui.answers = {true};
  b.e->Supprimerrivieres1->trigger();
  b.peindre();
  EXPECT_EQ(b.e->modifiee, 1);
  EXPECT_FALSE(b.e->Supprimerrivieres1->isEnabled());
  EXPECT_EQ(c.rendus, rendus + 1);
  EXPECT_EQ(b.terrain->liste_type[0], TYPE_EFFACE);
  b.e->Raffraichir1->trigger();
  b.peindre();
  EXPECT_EQ(c.rendus, rendus + 2);
  b.fermer();
}

TEST(FenetreEdition, ClosingStopsItsTimers) {
  Banc b(5);
  b.peindre();
  ControleRendus& c = controle_rendus();
  const int rendus = c.rendus;
  b.e->TimerThread.start();
  b.e->TimerT1.start();
  b.fermer();
  EXPECT_FALSE(b.e->TimerThread.isActive());
  EXPECT_FALSE(b.e->TimerT1.isActive());
  // A stopped timer never fires: nothing reaches the freed maps.
  QApplication::processEvents();
  EXPECT_EQ(c.rendus, rendus);
  EXPECT_TRUE(b.e->carte[1].empty());
  EXPECT_FALSE(b.e->carte_programmee());
}

TEST(FenetreEdition, HelpInContextModeOnly) {
  Banc b(5);
  std::vector<int> sujets;
  fixer_afficheur_aide([&](int s) { sujets.push_back(s); });
  b.e->Aide1->trigger();
  EXPECT_EQ(sujets, std::vector<int>{4008});
  QMouseEvent clic(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                   Qt::NoModifier);
  QApplication::sendEvent(b.e->Panel_altitude, &clic);
  QApplication::sendEvent(b.e->zone_carte(), &clic);
  EXPECT_EQ(sujets.size(), 1u);
  EXPECT_TRUE(b.e->session().bouton_enfonce());
  QMouseEvent lache(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::NoButton,
                    Qt::NoModifier);
  QApplication::sendEvent(b.e->zone_carte(), &lache);
  ASSERT_FALSE(b.e->session().bouton_enfonce());
  b.e->aide_contextuelle = 1;
  QApplication::sendEvent(b.e->Panel_altitude, &clic);
  QApplication::sendEvent(b.e->zone_carte(), &clic);
  EXPECT_EQ(sujets, (std::vector<int>{4008, 4009, 4008}));
  EXPECT_FALSE(b.e->session().bouton_enfonce());  // the click did nothing else
  fixer_afficheur_aide({});
  b.fermer();
}

namespace {

// What the renderer reported of the trees of one editor map.
struct ReleveArbres : render::ObservateurArbres {
  std::vector<render::RapportArbre> rapports;
  void arbre(const render::RapportArbre& r) override { rapports.push_back(r); }
};

// A terrain of degree `degre` planted with trees of the largest size, shown
// in an editor whose one map render is recorded.
struct ForetEditeur {
  std::unique_ptr<Tmatrice> terrain;
  Tfenetre_edition e;
  ReleveArbres releve;

  explicit ForetEditeur(int degre) {
    controle_rendus().effacer();
    terrain = terrain_genere(parametres_test(degre));
    planter_foret(*terrain, 40);
    for (std::size_t k = 0; k < terrain->liste_attribut.size(); ++k)
      if (terrain->liste_type[k] > 10 && terrain->liste_type[k] < 20) terrain->liste_attribut[k] = 63;
    render::RenderOptions options;
    options.phases.observateur_arbres = &releve;
    controle_rendus().options_imposees = &options;
    OuvertureEdition o;
    o.no_montagne = 1;
    o.matrice = terrain.get();
    o.vue_defaut = vue_foret();
    e.ouvre_edition(o);
    e.show();
    e.calculer_carte();
    controle_rendus().options_imposees = nullptr;
  }
  ~ForetEditeur() {
    e.close();
    controle_rendus().effacer();
  }
};

}  // namespace

// Trees on a degree-7 map stay a few pixels high (at most 384 / n at zoom 1),
// so they are symbols or strokes; the renderer's silhouette for trees above
// 20 pixels never shows on an editor map.
TEST(FenetreEdition, TreesOnTheZoom2Map) {
  {
    ForetEditeur f(7);
    ASSERT_GT(f.terrain->nombre_elements, 0);
    ASSERT_EQ(controle_rendus().rendus, 1);
    // Every tree is a symbol or a stroke on the map.
    const auto dessines =
        std::count_if(f.releve.rapports.begin(), f.releve.rapports.end(), [](auto& r) { return r.dessine; });
    EXPECT_GT(dessines, 20);
    for (const auto& r : f.releve.rapports) {
      if (r.dessine) {
        EXPECT_TRUE(r.rendu == render::RenduArbre::symbole || r.rendu == render::RenduArbre::trait);
      }
    }
    // The same map without the forest differs from it outside the markers.
    param_vue sans = controle_rendus().appels[0].vue;
    ASSERT_EQ(sans.foret, 1);
    sans.foret = 0;
    render::Bitmap c1(425, 372), c2(850, 744);
    f.terrain->marquer_modifiee();
    calculer_image(*f.terrain, 0, *f.e.palette, c1, {}, sans, 425, 372, nullptr, &c2, 1, 0, 0, 0, 0, {});
    const PixelCarte o = f.e.pixel_observateur;
    EXPECT_FALSE(egales_hors(f.e.carte[2], c2, {croix(f.e.pixel_cible, 2), {(o.x - 4) * 2, (o.y - 4) * 2, 16}}));
  }
}

// Read right to left, the editor's tool bar starts at the right edge, with its
// first tool there, as the menus and status bars do.
// Every button of the tool bar shows its own picture: a tool added to the
// table must not lend its glyph to the undo button or any other.
TEST(FenetreEdition, EveryToolBarButtonHasItsOwnGlyph) {
  Banc b(4);
  std::vector<CtlSpeedButton*> boutons(b.e->outils.begin(), b.e->outils.end());
  for (CtlSpeedButton* x : {b.e->SpeedButton_undo, b.e->SpeedButton_zoom, b.e->SpeedButton_niveaux,
                            b.e->SpeedButton_save})
    boutons.push_back(x);
  for (std::size_t i = 0; i < boutons.size(); ++i) {
    ASSERT_NE(boutons[i], nullptr);
    const QImage gi = boutons[i]->GlyphObject().Glyph();
    EXPECT_FALSE(gi.isNull()) << "button " << i;
    for (std::size_t j = 0; j < i; ++j)
      EXPECT_NE(gi, boutons[j]->GlyphObject().Glyph()) << "buttons " << j << " and " << i << " share a glyph";
  }
}

TEST(FenetreEdition, RightToLeftToolBarStartsAtTheRight) {
  Banc b(5);
  CtlSpeedButton* premier = b.e->outils.front();
  CtlSpeedButton* dernier = b.e->outils.back();
  ASSERT_TRUE(premier && dernier);
  const QRect avant = premier->geometry();
  EXPECT_LT(premier->x(), dernier->x());
  b.e->setLayoutDirection(Qt::RightToLeft);
  EXPECT_GT(premier->x(), dernier->x());
  EXPECT_EQ(premier->parentWidget()->width() - premier->geometry().right() - 1, avant.left());
  b.e->setLayoutDirection(Qt::LeftToRight);
  EXPECT_EQ(premier->geometry(), avant);
}
