// The video settings pages and dialog driven as a user would. Each page is
// loaded from a record, edited through its controls (found by name) and read
// back through `ranger`; the Path page's tests answer its `change` the way the
// dialog does (gather, compute, show). The dialog's own tests cover what
// spans the pages: loading and OK, the video list, hostile records and the
// preview movie.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>

#include "fenetres/elements_pages.h"
#include "fenetres/operation_longue.h"
#include "fenetres/rendu.h"
#include "tests/support/rendus.h"
#include "controls/application.h"
#include "controls/button.h"
#include "controls/checkbox.h"
#include "controls/combobox.h"
#include "controls/shapebutton.h"
#include "controls/trackbar.h"
#include "model/aleatoire.h"
#include "model/defauts.h"
#include "model/echantillons.h"
#include "model/matrice.h"
#include "render/palette.h"
#include "platform/fichiers.h"
#include "platform/vidconv/conversion_video.h"
#include "platform/vidconv/lecteur_film.h"
#include "tests/support/fakes.h"
#include "tests/support/terrains.h"
#include "video/creation.h"
#include "video/lecteur.h"
#include "video/reglages_textes.h"
#include "video/reglages_editeurs.h"
#include "video/reglages_pages.h"
#include "video/reglages_video.h"

namespace fs = std::filesystem;
namespace vcv = platform::vcv;

namespace {

void souris(QWidget* w, QEvent::Type type, QPoint pt, Qt::MouseButton bouton = Qt::LeftButton) {
  const Qt::MouseButtons tenus = type == QEvent::MouseButtonRelease || type == QEvent::MouseMove
                                     ? (type == QEvent::MouseMove ? Qt::MouseButtons(bouton) : Qt::NoButton)
                                     : Qt::MouseButtons(bouton);
  QMouseEvent e(type, QPointF(pt), w->mapToGlobal(QPointF(pt)), type == QEvent::MouseMove ? Qt::NoButton : bouton,
                tenus, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}
void clic(QWidget* w, QPoint pt, Qt::MouseButton b = Qt::LeftButton) {
  souris(w, QEvent::MouseButtonPress, pt, b);
  souris(w, QEvent::MouseButtonRelease, pt, b);
}
void survol(QWidget* w, QPoint pt) { souris(w, QEvent::MouseMove, pt, Qt::NoButton); }
void glisser(QWidget* w, QPoint de, QPoint vers) {
  survol(w, de);
  souris(w, QEvent::MouseButtonPress, de);
  souris(w, QEvent::MouseMove, vers);
  souris(w, QEvent::MouseButtonRelease, vers);
}
void saisir(QLineEdit* e, const QString& texte) {
  e->setText(texte);
  emit e->editingFinished();
}
void defiler(QScrollBar* b, int code, int position) {
  auto* a = b->findChild<fenetres::AdaptateurDefilement*>();
  if (!a) a = b->parent()->findChild<fenetres::AdaptateurDefilement*>();
  ASSERT_NE(a, nullptr);
  emit a->defilement(code, position);
}
void choisir(CtlComboBox* c, int rang) {
  c->showPopup();
  QAbstractItemView* v = c->view();
  v->setCurrentIndex(v->model()->index(rang, 0));
  QTest::keyClick(v, Qt::Key_Return);
}

// A control of a page or of the dialog, by name.
template <class W>
W* enfant(const QObject* o, const char* nom) {
  W* w = o->findChild<W*>(QString::fromUtf8(nom));
  if (!w) {
    ADD_FAILURE() << "no control " << nom;
    throw std::runtime_error(nom);
  }
  return w;
}

// Points of a path in the editor, well apart from each other.
QPoint point_n(int k) { return {40 + 15 * k, 200 - 10 * (k % 4)}; }

struct PoolManuel {
  CtlTimerPool* pool = CtlApplication::Instance()->Timers();
  PoolManuel() { pool->SetManualStepping(true); }
  ~PoolManuel() { pool->SetManualStepping(false); }
};

Param_video video_test() {
  Param_video v{};
  valeurs_defaut_vue(v.vue);
  v.vue.niveau_mer = 0;
  v.nombre_images = 360;
  v.type_video = 6;
  v.type_trajectoire = 1;
  v.largeur_image = 320;
  v.hauteur_image = 240;
  v.rayon_cercle = 50;
  v.distance_point_vise = 50;
  v.zoom_video = 40;
  v.angle_vision = -10;
  v.premiere_image = 1;
  v.derniere_image = 200;
  v.bezier_altitude.fill(1800);
  return v;
}


// ------------------------------------------------------------------ Size page

TEST(PageTaille, RadiosEditsAndLimits) {
  PageTailleVideo page;
  Param_video v = video_test();
  v.largeur_image = 800;
  v.hauteur_image = 450;
  page.charger(v, QImage());
  QSignalSpy changes(&page, &PageTailleVideo::change);
  auto* autre = enfant<QRadioButton>(&page, "RadioButton_autre");
  auto* x = enfant<QLineEdit>(&page, "Edit_Xmax");
  auto* y = enfant<QLineEdit>(&page, "Edit_Ymax");
  EXPECT_TRUE(enfant<QRadioButton>(&page, "RadioButton_800_16_9")->isChecked());
  EXPECT_FALSE(x->isEnabled());
  EXPECT_EQ(changes.count(), 0);  // loading is no edit
  autre->click();
  EXPECT_TRUE(x->isEnabled());
  EXPECT_TRUE(y->isEnabled());
  auto lu = [&page] {
    Param_video r{};
    page.ranger(r);
    return QSize(r.largeur_image, r.hauteur_image);
  };
  saisir(x, "250");
  EXPECT_EQ(x->text(), "300");
  EXPECT_EQ(lu().width(), 300);
  saisir(y, "150");
  EXPECT_EQ(y->text(), "200");
  saisir(x, "5000");
  EXPECT_EQ(lu().width(), 4095);
  saisir(x, "abc");
  EXPECT_EQ(x->text(), "4095");
  EXPECT_EQ(lu().width(), 4095);
  EXPECT_EQ(changes.count(), 5);
  const std::pair<const char*, QSize> radios[] = {{"RadioButton_320x", {320, 240}},
                                                  {"RadioButton_640x", {640, 480}},
                                                  {"RadioButton_800x", {800, 600}},
                                                  {"RadioButton_800_16_9", {800, 450}}};
  for (const auto& [nom, taille] : radios) {
    enfant<QRadioButton>(&page, nom)->click();
    EXPECT_EQ(lu(), taille);
    EXPECT_FALSE(x->isEnabled());
    EXPECT_FALSE(y->isEnabled());
  }
  v.largeur_image = 500;
  v.hauteur_image = 400;
  page.charger(v, QImage());
  EXPECT_TRUE(autre->isChecked());
  EXPECT_TRUE(x->isEnabled());
  EXPECT_EQ(y->text(), "400");
}

// ------------------------------------------------------------------ Path page

// The Path page on a cone, answered the way the dialog answers it: on each
// change the page's fields are gathered, the path computed and shown.
struct PageTrajet : ::testing::Test {
  std::unique_ptr<Tmatrice> terrain = terrain_synthetique("cone", 5, 1500);
  std::unique_ptr<Tmatrice> apercu5, apercu4;
  std::vector<enregistrement_camera> cameras = std::vector<enregistrement_camera>(10000);
  std::optional<TMyPalette> palette;
  Param_video v = video_test();
  ScopedFakeUserInterface ui;
  PoolManuel pool;
  double sommet = 0;
  int changes = 0;
  PageTrajetVideo page;
  EditeurTrajet* editeur = nullptr;
  EditeurAltitudes* altitudes = nullptr;

  void SetUp() override {
    for (auto [t, degre] : {std::pair{&apercu5, 5}, std::pair{&apercu4, 4}}) {
      param_mat p{};
      p.maillage = degre;
      *t = std::make_unique<Tmatrice>(p);
      remplir_depuis_echantillon(**t, echantillonner_36(*terrain));
    }
    test_rendus::controle_rendus().effacer();
    test_rendus::controle_rendus().couleur_factice = render::pixel_rgb(90, 140, 200);
    QObject::connect(&page, &PageTrajetVideo::change, [this](bool grossier) {
      ++changes;
      page.ranger(v);
      page.calculer(v);
      page.montrer(grossier);
    });
    editeur = enfant<EditeurTrajet>(&page, "Trace_Trajectoire");
    altitudes = enfant<EditeurAltitudes>(&page, "Image_elevation");
  }
  void TearDown() override { test_rendus::controle_rendus().effacer(); }
  ContexteTrajet contexte() {
    ContexteTrajet c;
    c.terrain = terrain.get();
    c.apercu = apercu5.get();
    c.apercu_grossier = apercu4.get();
    c.palette = &*palette;
    c.cameras = &cameras;
    c.dossier_ciels = "/nulle-part/ciels";
    c.sommet = sommet;
    return c;
  }
  void ouvrir() {
    reglages::completer(v, terrain->hauteur_max());
    sommet = reglages::altitude_sommet(terrain->hauteur_max(), v.vue.niveau_mer);
    palette.emplace(palette_pour_vue(v.vue));
    page.charger(v, contexte());
    page.calculer(v);
    page.montrer(false);
    page.show();
    QCoreApplication::processEvents();
  }
  template <class W>
  W* c(const char* nom) {
    return enfant<W>(&page, nom);
  }
  bool en_trace() const { return editeur->cursor().shape() == Qt::CrossCursor; }
  // Draws a path of `n` clicks after "Create path".
  void dessiner(int n) {
    c<CtlButton>("Creer_trajectoire")->click();
    for (int k = 0; k < n; ++k) clic(editeur, point_n(k));
  }
  int marqueur(int i) const {
    return reglages::ligne_marqueur(v.bezier_altitude[std::size_t(i - 1)], v.vue.niveau_mer, sommet,
                                    reglages::kHauteurElevation);
  }
};

TEST_F(PageTrajet, DrawingClosedAndOpenPaths) {
  ouvrir();
  auto* creer = c<CtlButton>("Creer_trajectoire");
  auto* compteur = c<QLabel>("label_points");
  EXPECT_FALSE(creer->isEnabled());
  c<QRadioButton>("type_trajectoire_3")->click();
  ASSERT_EQ(ui.entries.size(), 1u);
  EXPECT_EQ(ui.entries[0].text, "Create a path using \"Create path\" button");
  EXPECT_TRUE(creer->isEnabled());
  EXPECT_FALSE(c<QRadioButton>("radio_redim")->isEnabled());
  // Closed: the 12th click ends with the first point again as the 13th.
  dessiner(12);
  EXPECT_FALSE(en_trace());
  EXPECT_EQ(compteur->text(), "N= 13");
  EXPECT_EQ(v.bezier_x[12], v.bezier_x[0]);
  EXPECT_EQ(v.bezier_y[12], v.bezier_y[0]);
  EXPECT_EQ(v.bezier_x[11], point_n(11).x());
  // Dragging point 1 moves the last point with it.
  const int avant = changes;
  glisser(editeur, point_n(0), {60, 120});
  EXPECT_EQ(v.bezier_x[0], 60);
  EXPECT_EQ(v.bezier_y[12], 120);
  EXPECT_EQ(v.bezier_x[12], 60);
  EXPECT_GT(changes, avant);
  // "Create path" answered No keeps the points.
  ui.answers = {false};
  creer->click();
  EXPECT_FALSE(en_trace());
  EXPECT_EQ(compteur->text(), "N= 13");
  EXPECT_EQ(ui.entries.back().text, "Do you want to erase the existing path ?");
  // Open: 13 clicks end the drawing.
  c<QRadioButton>("type_trajectoire_2")->click();
  ui.answers = {true};
  dessiner(13);
  EXPECT_FALSE(en_trace());
  EXPECT_EQ(v.bezier_x[12], point_n(12).x());
  // 7 clicks and a double click: 7 points, the rest cleared to 0.
  ui.answers = {true};
  dessiner(7);
  EXPECT_EQ(compteur->text(), "N= 7");
  souris(editeur, QEvent::MouseButtonDblClick, point_n(6));
  EXPECT_FALSE(en_trace());
  for (int i = 0; i < 7; ++i) EXPECT_EQ(v.bezier_x[std::size_t(i)], point_n(i).x());
  for (int i = 7; i < 13; ++i) EXPECT_EQ(v.bezier_x[std::size_t(i)], 0);
  for (int i = 7; i < 13; ++i) EXPECT_EQ(v.bezier_y[std::size_t(i)], 0);
  // A double click after 5 points says what is missing and stores nothing.
  const auto stockes = v.bezier_x;
  ui.answers = {true};
  dessiner(5);
  const std::size_t messages = ui.entries.size();
  souris(editeur, QEvent::MouseButtonDblClick, point_n(4));
  ASSERT_EQ(ui.entries.size(), messages + 1);
  EXPECT_EQ(ui.entries.back().text, "Lack of points , click 4, 7, 10 or 13 points (or if color 'N=' is green) ");
  EXPECT_TRUE(en_trace());
  Param_video r = v;
  page.ranger(r);
  EXPECT_EQ(r.bezier_x, stockes);
  c<QRadioButton>("type_trajectoire_3")->click();
  souris(editeur, QEvent::MouseButtonDblClick, point_n(4));
  EXPECT_EQ(ui.entries.back().text, "Lack of points , click 3, 6, 9 or 12 points (or if color 'N=' is green) ");
}

TEST_F(PageTrajet, CircleSizeHeldGrowsAndShrinksCircleMovesByClick) {
  ouvrir();
  ASSERT_TRUE(c<QRadioButton>("radio_redim")->isChecked());
  souris(editeur, QEvent::MouseButtonPress, {100, 100});
  std::vector<int> rayons{v.rayon_cercle};
  for (int k = 0; k < 400; ++k) {
    pool.pool->Step();
    if (v.rayon_cercle != rayons.back()) rayons.push_back(v.rayon_cercle);
  }
  souris(editeur, QEvent::MouseButtonRelease, {100, 100});
  ASSERT_GE(rayons.size(), 4u);
  EXPECT_EQ(std::vector<int>(rayons.begin(), rayons.begin() + 4), (std::vector<int>{51, 53, 55, 57}));
  EXPECT_GE(rayons.back(), 120);
  EXPECT_LT(rayons[rayons.size() - 2], 120);
  souris(editeur, QEvent::MouseButtonPress, {100, 100}, Qt::RightButton);
  for (int k = 0; k < 400; ++k) pool.pool->Step();
  souris(editeur, QEvent::MouseButtonRelease, {100, 100}, Qt::RightButton);
  EXPECT_EQ(v.rayon_cercle, 1);
  c<QRadioButton>("Radio_cercle")->click();
  clic(editeur, {150, 180});
  EXPECT_EQ(v.centre_cercle_x, 10);
  EXPECT_EQ(v.centre_cercle_y, 13);
  // The target radio needs the fixed target.
  auto* cible = c<QRadioButton>("Radio_pt");
  EXPECT_FALSE(cible->isEnabled());
  QTest::mouseClick(c<CtlCheckBox>("pt_vise_fixe"), Qt::LeftButton);
  EXPECT_EQ(v.point_vise_fixe, 1);
  EXPECT_TRUE(cible->isEnabled());
  cible->click();
  clic(editeur, {100, 150});
  EXPECT_EQ(v.point_vise_x, -40);
  EXPECT_EQ(v.point_vise_y, -17);
}

TEST_F(PageTrajet, AltitudeMarkersAndFrameRange) {
  ouvrir();
  const int h = reglages::kHauteurElevation;
  glisser(altitudes, {201, marqueur(4)}, {201, 40});
  EXPECT_EQ(v.bezier_altitude[3], Round((h - 40) * sommet / (0.75 * h)));
  EXPECT_EQ(marqueur(4), 40);
  glisser(altitudes, {201, 40}, {201, -35});
  EXPECT_EQ(v.bezier_altitude[3], Round(h * sommet / (0.75 * h)));
  // Circle path: the first and the last marker move together.
  glisser(altitudes, {0, marqueur(1)}, {0, 90});
  EXPECT_EQ(marqueur(7), 90);
  EXPECT_EQ(v.bezier_altitude[6], v.bezier_altitude[0]);
  EXPECT_EQ(v.bezier_altitude[0], Round((h - 90) * sommet / (0.75 * h)));
  // The first-frame line stops 30 positions before the last.
  glisser(altitudes, {2, 60}, {380, 60});
  EXPECT_EQ(v.premiere_image, 170);
  EXPECT_EQ(v.derniere_image, 200);
  glisser(altitudes, {400, 60}, {300, 60});
  EXPECT_EQ(v.derniere_image, 200);  // pushed back to first + 30
  c<CtlButton>("button_reset")->click();
  EXPECT_EQ(v.premiere_image, 1);
  EXPECT_EQ(v.derniere_image, 200);
  c<CtlButton>("button_obs")->click();
  for (int a : v.bezier_altitude) EXPECT_EQ(a, Round(sommet));
}

TEST_F(PageTrajet, BarsAndEditsRecomputeThePath) {
  ouvrir();
  int avant = changes;
  auto* dist = c<QLineEdit>("Edit_dist");
  saisir(dist, "95");
  EXPECT_EQ(v.distance_point_vise, 90);
  EXPECT_EQ(c<QScrollBar>("ScrollBar_dist")->value(), 90);
  saisir(dist, "x");
  EXPECT_EQ(v.distance_point_vise, 90);
  EXPECT_EQ(dist->text(), "90");
  saisir(c<QLineEdit>("Edit_zoom"), "5");
  EXPECT_EQ(v.zoom_video, 10);
  saisir(c<QLineEdit>("Edit_angle"), "-60");
  EXPECT_EQ(v.angle_vision, -45);
  auto* angle = c<QScrollBar>("scrollbar_angle_Vision");
  EXPECT_EQ(angle->value(), 45);
  EXPECT_EQ(changes, avant + 4);
  avant = changes;
  angle->setValue(30);
  defiler(angle, fenetres::kPouceLache, 30);
  EXPECT_EQ(v.angle_vision, -30);
  EXPECT_EQ(c<QLineEdit>("Edit_angle")->text(), "-30");
  EXPECT_EQ(changes, avant + 1);
}

TEST_F(PageTrajet, FramePreviewRoughWhileDraggingFullOnceAtTheEnd) {
  ouvrir();
  QCoreApplication::processEvents();
  auto& r = test_rendus::controle_rendus();
  r.appels.clear();
  auto* dist = c<QScrollBar>("ScrollBar_dist");
  for (int p : {40, 45, 50}) {
    defiler(dist, fenetres::kPouceBouge, p);
    QCoreApplication::processEvents();
  }
  ASSERT_EQ(r.appels.size(), 3u);
  for (const auto& a : r.appels) {
    EXPECT_EQ(a.grossier, 1);
    EXPECT_EQ(a.noeuds, 17);  // the degree-4 preview terrain
  }
  r.appels.clear();
  defiler(dist, fenetres::kPouceLache, 50);
  defiler(dist, fenetres::kFinDefilement, 50);
  QCoreApplication::processEvents();
  ASSERT_EQ(r.appels.size(), 1u);
  const fenetres::AppelRendu& a = r.appels[0];
  EXPECT_EQ(a.grossier, 0);
  EXPECT_EQ(a.noeuds, 33);
  EXPECT_EQ(a.mode_camera, 1);
  EXPECT_FALSE(a.attente);
  EXPECT_EQ(a.vue.premier_plan + a.vue.brume + a.vue.reflet + a.vue.photo_aerienne + a.vue.type_ciel, 0);
  EXPECT_EQ(a.vue.centre_x, 0);
  EXPECT_EQ(a.vue.zoom, 40);
  EXPECT_EQ(a.largeur, 280);
  EXPECT_EQ(a.hauteur, 210);
  EXPECT_EQ(a.dossier_ciels, "/nulle-part/ciels");
  // Position 1 of 360 frames shows frame Round(1.8) = 2.
  EXPECT_EQ(a.camera.cible_z, cameras[2].cible_z);
  EXPECT_EQ(a.camera.observateur_x, cameras[2].observateur_x);
  // Playing: one position per tick (300 ms, six pool steps) up to the range's last frame.
  v.derniere_image = 40;
  page.charger(v, contexte());
  auto* piste = c<CtlTrackBar>("TrackBar_Nimage");
  c<CtlButton>("Last_frame")->click();
  EXPECT_EQ(piste->Position(), 40);
  for (int k = 0; k < 3; ++k) c<CtlButton>("Prev_image")->click();
  EXPECT_EQ(piste->Position(), 37);
  QCoreApplication::processEvents();
  r.appels.clear();
  QTest::mouseClick(c<CtlShapeButton>("CtlShapeButton1"), Qt::LeftButton);
  for (int tick = 1; tick <= 3; ++tick) {
    for (int k = 0; k < 6; ++k) pool.pool->Step();
    EXPECT_EQ(piste->Position(), 37 + tick);
    QCoreApplication::processEvents();
  }
  for (int k = 0; k < 12; ++k) pool.pool->Step();  // the player stopped at the last frame
  EXPECT_EQ(piste->Position(), 40);
  QCoreApplication::processEvents();
  ASSERT_EQ(r.appels.size(), 3u);
  EXPECT_EQ(r.appels.back().camera.cible_z, cameras[72].cible_z);  // Round(40 x 360 / 200)
  c<CtlButton>("first_frame")->click();
  EXPECT_EQ(piste->Position(), 1);
  page.grab();
  EXPECT_EQ(r.rendus_dans_peinture, 0);
  // While another long operation runs, the preview waits.
  r.appels.clear();
  {
    OperationLongue operation;
    c<CtlButton>("Next_image")->click();
    QCoreApplication::processEvents();
    EXPECT_TRUE(r.appels.empty());
  }
  c<fenetres::PreviewBox>("Image_cadrage")->invalidate();
  QCoreApplication::processEvents();
  ASSERT_EQ(r.appels.size(), 1u);
  EXPECT_EQ(r.appels[0].camera.cible_z, cameras[4].cible_z);  // position 2: Round(3.6)
}

// ------------------------------------------------------------------ Creation page

TEST(PageCreation, CodecCountAndLabels) {
  PageCreationVideo page;
  page.charger(video_test(), ContexteFilm{});
  QSignalSpy changes(&page, &PageCreationVideo::change);
  auto lu = [&page] {
    Param_video r{};
    page.ranger(r);
    return r;
  };
  auto* codec = enfant<CtlImageComboBox>(&page, "ComboBox_CODEC");
  auto* indeo = enfant<QLabel>(&page, "label_indeo");
  auto* nombre = enfant<QLineEdit>(&page, "nombre_images");
  EXPECT_EQ(codec->count(), 9);
  EXPECT_EQ(codec->currentIndex(), 4);
  codec->setCurrentIndex(8);
  EXPECT_EQ(lu().type_video, 6);  // set from code: nothing fired
  EXPECT_EQ(changes.count(), 0);
  choisir(codec, 0);
  EXPECT_EQ(lu().type_video, 2);
  EXPECT_TRUE(indeo->isHidden());
  choisir(codec, 1);
  EXPECT_EQ(lu().type_video, 3);
  EXPECT_FALSE(indeo->isHidden());
  EXPECT_EQ(indeo->text().toStdString(), textes_reglages::kIndeo);
  EXPECT_EQ(codec->toolTip().toStdString(), textes_reglages::kIndeo);
  choisir(codec, 8);
  EXPECT_EQ(lu().type_video, 10);
  EXPECT_TRUE(indeo->isHidden());
  EXPECT_TRUE(codec->toolTip().isEmpty());
  {
    // A size the format does not hold: the line gives the size coded.
    Param_video grand = video_test();
    grand.type_video = 3;
    grand.largeur_image = 800;
    grand.hauteur_image = 450;
    PageCreationVideo autre;
    autre.charger(grand, ContexteFilm{});
    auto* ligne = enfant<QLabel>(&autre, "label_indeo");
    EXPECT_FALSE(ligne->isHidden());
    EXPECT_EQ(ligne->text().toStdString(),
              std::string(textes_reglages::kIndeo) + "\n" + textes_reglages::kIndeoTaille + "640 x 360");
  }
  saisir(nombre, "10000");
  EXPECT_EQ(lu().nombre_images, 9999);
  saisir(nombre, "150");
  EXPECT_EQ(lu().nombre_images, 200);
  saisir(nombre, "abc");
  EXPECT_EQ(lu().nombre_images, 200);
  EXPECT_EQ(nombre->text(), "200");
  saisir(nombre, "99999999999");
  EXPECT_EQ(lu().nombre_images, 9999);
  saisir(nombre, "360");
  EXPECT_EQ(changes.count(), 8);
  EXPECT_EQ(enfant<QLabel>(&page, "label_premiere")->text(), "First frame : 1");
  EXPECT_EQ(enfant<QLabel>(&page, "label_derniere")->text(), "Last frame : 360");
  EXPECT_EQ(enfant<QLabel>(&page, "label_generees")->text(), "Frames generated : 360");
  EXPECT_EQ(enfant<QLabel>(&page, "label_duree")->text(), "Playing time in sec at 30 frames/sec: 12");
  QTest::mouseClick(enfant<CtlCheckBox>(&page, "Details"), Qt::LeftButton);
  EXPECT_EQ(lu().detail, 1);
}

// The disc variants' lines say what the movie becomes; the others have no hint.
TEST(PageCreation, DiscVariantsSayWhatTheMovieBecomes) {
  PageCreationVideo page;
  auto* codec = enfant<CtlImageComboBox>(&page, "ComboBox_CODEC");
  const char* tailles[] = {"352 x 240", "480 x 480", "720 x 480"};
  const int types[] = {7, 9, 10};
  for (int k = 0; k < 3; ++k) {
    const QString indice = codec->itemData(types[k] - 2, Qt::ToolTipRole).toString();
    EXPECT_TRUE(indice.contains(tailles[k])) << indice.toStdString();
    EXPECT_TRUE(indice.contains("29.97 frames per second")) << indice.toStdString();
  }
  EXPECT_TRUE(codec->itemData(5, Qt::ToolTipRole).toString().contains("MPEG-1, 352 x 240"));
  EXPECT_TRUE(codec->itemData(5, Qt::ToolTipRole).toString().contains("1150 kbit/s"));
  EXPECT_TRUE(codec->itemData(8, Qt::ToolTipRole).toString().contains("up to 9000 kbit/s"));
  for (int type : {2, 3, 4, 5, 6, 8}) EXPECT_FALSE(codec->itemData(type - 2, Qt::ToolTipRole).isValid()) << type;
}

// ------------------------------------------------------------------ the dialog

struct Reglages : ::testing::Test {
  std::unique_ptr<Tmatrice> terrain = terrain_synthetique("cone", 5, 1500);
  std::vector<enregistrement_camera> cameras = std::vector<enregistrement_camera>(10000);
  EntreesReglagesVideo in;
  fs::path dossier = fs::temp_directory_path() / ("quorvel-reglages-" + std::to_string(::getpid()));
  ScopedFakeUserInterface ui;
  PoolManuel pool;
  std::unique_ptr<TPagesDlg3> d;
  int calculs = 0;  // path computations of the dialog open

  void SetUp() override {
    fs::remove_all(dossier);
    fs::create_directories(dossier / "temp");
    in.video = video_test();
    in.numero_courant = 1;
    in.montagne_courante = 1;
    in.liste_videos = 1;
    in.echantillons[1] = echantillonner_36(*terrain);
    in.documents = {{"Video #  1", in.video, 1, 1, 1}};
    in.dossier_programme = dossier.string();
    in.terrains[1] = terrain.get();
    in.cameras = &cameras;
    test_rendus::controle_rendus().effacer();
    test_rendus::controle_rendus().couleur_factice = render::pixel_rgb(90, 140, 200);
  }
  void TearDown() override {
    d.reset();
    test_rendus::controle_rendus().effacer();
    fs::remove_all(dossier);
  }
  void ouvrir() {
    d = std::make_unique<TPagesDlg3>();
    calculs = 0;
    QObject::connect(d.get(), &TPagesDlg3::trajectoire_calculee, [this] { ++calculs; });
    d->init_videos(in);
    d->show();
    QCoreApplication::processEvents();
  }
  template <class W>
  W* c(const char* nom) {
    return enfant<W>(d.get(), nom);
  }
  void page(int code) { c<fenetres::OngletsPlats>("Pagecontrol2")->montrer(code); }
  Param_video video() const { return d->sorties().video; }
};

TEST_F(Reglages, TheFramePreviewTakesTheFrameSizeOfTheSizePage) {
  in.video.largeur_image = 800;
  in.video.hauteur_image = 450;
  ouvrir();
  auto* apercu = c<fenetres::PreviewBox>("Image_cadrage");
  EXPECT_EQ(apercu->height(), 158);  // Round(280 x 450 / 800)
  c<QRadioButton>("RadioButton_autre")->click();
  saisir(c<QLineEdit>("Edit_Xmax"), "5000");
  saisir(c<QLineEdit>("Edit_Ymax"), "150");
  EXPECT_EQ(video().largeur_image, 4095);
  EXPECT_EQ(video().hauteur_image, 200);
  EXPECT_EQ(apercu->height(), 40);
  c<QRadioButton>("RadioButton_800_16_9")->click();
  EXPECT_EQ(apercu->height(), 158);
}

TEST_F(Reglages, LoadingComputesThePathOnceAndOkHandsBackTheSameSettings) {
  in.video.bezier_x.fill(0);
  in.video.bezier_y.fill(0);
  ouvrir();
  EXPECT_EQ(calculs, 1);
  EXPECT_GT(cameras[360].cible_z + cameras[360].observateur_z, 0);
  SortiesReglagesVideo s;
  TPagesDlg3::execution() = [](TPagesDlg3& dlg) {
    enfant<QRadioButton>(&dlg, "RadioButton_ajouter")->click();
    enfant<CtlButton>(&dlg, "OKBtn")->click();
    return dlg.result();
  };
  d = std::make_unique<TPagesDlg3>();
  ASSERT_EQ(d->executer(in, s), 1);
  EXPECT_EQ(s.action, 2);
  EXPECT_EQ(s.numero_choisi, 1);
  EXPECT_EQ(std::memcmp(&s.video.bezier_altitude, &in.video.bezier_altitude, sizeof s.video.bezier_altitude), 0);
  EXPECT_EQ(s.video.rayon_cercle, in.video.rayon_cercle);
  EXPECT_EQ(s.video.largeur_image, in.video.largeur_image);
  EXPECT_EQ(s.video.zoom_video, in.video.zoom_video);
  EXPECT_EQ(s.video.angle_vision, in.video.angle_vision);
  EXPECT_EQ(s.video.bezier_x, in.video.bezier_x);
  // Cancel leaves the outputs alone.
  TPagesDlg3::execution() = [](TPagesDlg3& dlg) {
    saisir(enfant<QLineEdit>(&dlg, "Edit_zoom"), "75");
    enfant<CtlButton>(&dlg, "CancelBtn")->click();
    return dlg.result();
  };
  SortiesReglagesVideo rien;
  d = std::make_unique<TPagesDlg3>();
  EXPECT_EQ(d->executer(in, rien), 2);
  EXPECT_EQ(rien.video.zoom_video, 0);
  TPagesDlg3::execution() = [](TPagesDlg3& dlg) { return dlg.exec(); };
}

// Values read from a file outside the bars' ranges are shown and handed back
// bounded; numbers typed too long for any integer go to the nearest limit.
TEST_F(Reglages, ValuesOutsideTheBarsAreBoundedWhenReadAndWhenTyped) {
  in.video.zoom_video = 0;
  in.video.distance_point_vise = 500;
  in.video.angle_vision = -90;
  in.video.nombre_images = 100000;
  in.documents[0].parametres = in.video;
  ouvrir();
  page(TPagesDlg3::kTrajet);
  EXPECT_EQ(c<QLineEdit>("Edit_zoom")->text(), "10");
  EXPECT_EQ(c<QScrollBar>("ScrollBar_zoom")->value(), 10);
  EXPECT_EQ(c<QLineEdit>("Edit_dist")->text(), "90");
  EXPECT_EQ(c<QLineEdit>("Edit_angle")->text(), "-45");
  EXPECT_EQ(c<QLineEdit>("nombre_images")->text(), "9999");
  const SortiesReglagesVideo s = d->sorties();
  EXPECT_EQ(s.video.zoom_video, 10);
  EXPECT_EQ(s.video.distance_point_vise, 90);
  EXPECT_EQ(s.video.angle_vision, -45);
  EXPECT_EQ(s.video.nombre_images, 9999);
  saisir(c<QLineEdit>("Edit_zoom"), "99999999999");
  EXPECT_EQ(video().zoom_video, 80);
  EXPECT_EQ(c<QScrollBar>("ScrollBar_zoom")->value(), 80);
  saisir(c<QLineEdit>("Edit_dist"), "-99999999999");
  EXPECT_EQ(video().distance_point_vise, 10);
  saisir(c<QLineEdit>("Edit_angle"), "99999999999");
  EXPECT_EQ(video().angle_vision, 0);
  c<QRadioButton>("RadioButton_autre")->click();
  saisir(c<QLineEdit>("Edit_Xmax"), "99999999999");
  saisir(c<QLineEdit>("Edit_Ymax"), "-1");
  EXPECT_EQ(video().largeur_image, 4095);
  EXPECT_EQ(video().hauteur_image, 200);
}

TEST_F(Reglages, EachVideoOfTheListKeepsItsOwnSettings) {
  Param_video deux = video_test();
  deux.zoom_video = 70;
  deux.rayon_cercle = 90;
  in.documents.push_back({"Video #  2", deux, 1, 2, 1});
  ouvrir();
  auto* liste = c<CtlComboBox>("ComboBox_no");
  ASSERT_EQ(liste->count(), 2);
  choisir(liste, 1);
  EXPECT_EQ(video().zoom_video, 70);
  EXPECT_EQ(c<QLineEdit>("Edit_zoom")->text(), "70");
  saisir(c<QLineEdit>("Edit_zoom"), "22");
  choisir(liste, 0);
  EXPECT_EQ(video().zoom_video, 40);
  EXPECT_EQ(video().rayon_cercle, 50);
  EXPECT_EQ(c<QScrollBar>("ScrollBar_zoom")->value(), 40);
  choisir(liste, 1);
  EXPECT_EQ(video().zoom_video, 22);
  EXPECT_EQ(d->sorties().numero_choisi, 2);
}

// A record that may come from any file: the dialog loads and edits it safely.
TEST_F(Reglages, HostileRecordLoadsAndEditsSafely) {
  in.video.bezier_x.fill(2147483647);
  in.video.bezier_y.fill(2147483647);
  in.video.distance_point_vise = 500;
  in.video.largeur_image = 0;
  in.video.hauteur_image = 0;
  in.video.type_trajectoire = 2;
  in.video.rayon_cercle = -2147483647;
  in.video.bezier_altitude.fill(2147483647);
  in.video.premiere_image = -5;
  in.video.derniere_image = 100000;
  in.video.type_video = 77;
  in.documents[0].parametres = in.video;
  ouvrir();
  page(TPagesDlg3::kTrajet);
  QCoreApplication::processEvents();
  d->grab();
  const int rang = reglages::ligne_marqueur(video().bezier_altitude[3], video().vue.niveau_mer,
                                            reglages::altitude_sommet(terrain->hauteur_max(), video().vue.niveau_mer),
                                            reglages::kHauteurElevation);
  glisser(c<QWidget>("Image_elevation"), {201, std::clamp(rang, -100000, 100000)}, {201, 50});
  glisser(c<QWidget>("Trace_Trajectoire"), {279, 249}, {100, 100});
  page(TPagesDlg3::kCreation);
  page(TPagesDlg3::kTaille);
  QCoreApplication::processEvents();
  d->grab();
  EXPECT_TRUE(c<QRadioButton>("RadioButton_autre")->isChecked());
  EXPECT_EQ(test_rendus::controle_rendus().rendus_dans_peinture, 0);
}

// The numbered preview movie: one frame in ten above 2000 frames.
TEST_F(Reglages, ReducedVideoTakesEveryTenthRecordAndPlays) {
  in.video.nombre_images = 3000;
  in.documents[0].parametres = in.video;
  // Movies of an earlier run go when the dialog opens.
  ASSERT_TRUE(ecrire_fichier(dossier.string() + "/temp/video11.avi", "old").empty());
  ouvrir();
  EXPECT_FALSE(fichier_existe(dossier.string() + "/temp/video11.avi"));
  page(TPagesDlg3::kCreation);
  auto& r = test_rendus::controle_rendus();
  auto* creer = c<CtlShapeButton>("CtlCreate");
  auto* lecteur_film = c<MoviePlayer>("MediaPlayer1");
  auto* creation = d->findChild<PageCreationVideo*>();
  ASSERT_NE(creation, nullptr);
  r.appels.clear();
  QTest::mouseClick(creer, Qt::LeftButton);
  const std::string film = dossier.string() + "/temp/video11.mpg";
  ASSERT_EQ(creation->film_reduit(), film);
  vcv::FileInfo info;
  ASSERT_TRUE(vcv::get_file_info(film, 0, info));
  EXPECT_EQ(info.frames, 300);
  EXPECT_EQ(info.width, 200);
  EXPECT_EQ(info.height, 150);
  ASSERT_GE(r.appels.size(), 300u);
  for (int k : {1, 2, 150, 299}) {
    EXPECT_EQ(r.appels[std::size_t(k - 1)].camera.cible_z, cameras[std::size_t(10 * k - 9)].cible_z) << k;
    EXPECT_EQ(r.appels[std::size_t(k - 1)].camera.observateur_x, cameras[std::size_t(10 * k - 9)].observateur_x);
  }
  EXPECT_EQ(r.appels[0].largeur, 200);
  EXPECT_EQ(r.appels[0].vue.reflet, 0);
  EXPECT_TRUE(lecteur_film->is_open());
  EXPECT_EQ(lecteur_film->file_name(), film);
  EXPECT_TRUE(lecteur_film->playing());
  lecteur_film->close();
  // 2005 frames give 200.
  saisir(c<QLineEdit>("nombre_images"), "2005");
  QTest::mouseClick(creer, Qt::LeftButton);
  ASSERT_TRUE(vcv::get_file_info(film, 0, info));
  EXPECT_EQ(info.frames, 200);
  // Cinepak, 200 frames, positions 1 to 10: 9 frames cropped to 200 x 148,
  // each carrying its number.
  // The range of the record is kept as it came, closer than the lines allow.
  lecteur_film->close();
  in.video.derniere_image = 10;
  in.documents[0].parametres = in.video;
  ouvrir();
  page(TPagesDlg3::kCreation);
  creer = c<CtlShapeButton>("CtlCreate");
  creation = d->findChild<PageCreationVideo*>();
  choisir(c<CtlImageComboBox>("ComboBox_CODEC"), 0);
  saisir(c<QLineEdit>("nombre_images"), "200");
  r.couleur_factice = render::pixel_rgb(255, 255, 255);
  QTest::mouseClick(creer, Qt::LeftButton);
  const std::string avi = dossier.string() + "/temp/video11.avi";
  ASSERT_EQ(creation->film_reduit(), avi);
  ASSERT_TRUE(vcv::get_file_info(avi, 0, info));
  EXPECT_EQ(info.frames, 9);
  EXPECT_EQ(info.width, 200);
  EXPECT_EQ(info.height, 148);
  c<MoviePlayer>("MediaPlayer1")->close();
  vcv::MovieReader lecteur;
  ASSERT_TRUE(lecteur.open(avi));
  std::vector<std::uint32_t> pixels;
  ASSERT_TRUE(lecteur.read(0, pixels));
  int sombres = 0;  // the number's strokes on the white frame
  for (int y = 8; y < 30; ++y)
    for (int x = 8; x < 30; ++x) sombres += qRed(pixels[std::size_t(y * 200 + x)]) < 100;
  EXPECT_GT(sombres, 5);
}

}  // namespace
