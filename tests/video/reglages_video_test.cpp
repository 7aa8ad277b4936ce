// The video settings dialog driven as a user would: its pages, the path and
// altitude editors under mouse events, the bars and edits, the frame preview
// seen through the render recorder, the video list and the preview movie.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <filesystem>

#include "fenetres/elements_pages.h"
#include "fenetres/operation_longue.h"
#include "fenetres/rendu.h"
#include "controls/application.h"
#include "controls/button.h"
#include "controls/checkbox.h"
#include "controls/combobox.h"
#include "controls/shapebutton.h"
#include "controls/trackbar.h"
#include "model/aleatoire.h"
#include "model/defauts.h"
#include "model/echantillons.h"
#include "platform/fichiers.h"
#include "platform/vidconv/conversion_video.h"
#include "platform/vidconv/lecteur_film.h"
#include "tests/support/fakes.h"
#include "tests/support/terrains.h"
#include "video/creation.h"
#include "video/lecteur.h"
#include "video/reglages_textes.h"
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
  auto* a = b->findChild<dialogs::AdaptateurDefilement*>();
  if (!a) a = b->parent()->findChild<dialogs::AdaptateurDefilement*>();
  ASSERT_NE(a, nullptr);
  emit a->defilement(code, position);
}
void choisir(CtlComboBox* c, int rang) {
  c->showPopup();
  QAbstractItemView* v = c->view();
  v->setCurrentIndex(v->model()->index(rang, 0));
  QTest::keyClick(v, Qt::Key_Return);
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

struct Reglages : ::testing::Test {
  std::unique_ptr<Tmatrice> terrain = terrain_synthetique("cone", 5, 1500);
  std::vector<enregistrement_camera> cameras = std::vector<enregistrement_camera>(10000);
  EntreesReglagesVideo in;
  fs::path dossier = fs::temp_directory_path() / ("quorvel-reglages-" + std::to_string(::getpid()));
  ScopedFakeUserInterface ui;
  PoolManuel pool;
  std::unique_ptr<TPagesDlg3> d;

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
    dialogs::controle_rendus().effacer();
    dialogs::controle_rendus().couleur_factice = render::pixel_rgb(90, 140, 200);
  }
  void TearDown() override {
    d.reset();
    dialogs::controle_rendus().effacer();
    fs::remove_all(dossier);
  }
  void ouvrir() {
    d = std::make_unique<TPagesDlg3>();
    d->init_videos(in);
    d->show();
    QCoreApplication::processEvents();
  }
  void page(int code) { d->Pagecontrol2->montrer(code); }
  // Draws a path of `n` clicks after "Create path".
  void dessiner(int n) {
    d->Creer_trajectoire->click();
    for (int k = 0; k < n; ++k) clic(d->Trace_Trajectoire, point_n(k));
  }
};

TEST_F(Reglages, SizePageRadiosEditsAndLimits) {
  in.video.largeur_image = 800;
  in.video.hauteur_image = 450;
  ouvrir();
  EXPECT_TRUE(d->RadioButton_800_16_9->isChecked());
  EXPECT_FALSE(d->Edit_Xmax->isEnabled());
  d->RadioButton_autre->click();
  EXPECT_TRUE(d->Edit_Xmax->isEnabled());
  EXPECT_TRUE(d->Edit_Ymax->isEnabled());
  saisir(d->Edit_Xmax, "250");
  EXPECT_EQ(d->Edit_Xmax->text(), "300");
  EXPECT_EQ(d->video.largeur_image, 300);
  saisir(d->Edit_Ymax, "150");
  EXPECT_EQ(d->Edit_Ymax->text(), "200");
  saisir(d->Edit_Xmax, "5000");
  EXPECT_EQ(d->video.largeur_image, 4095);
  saisir(d->Edit_Xmax, "abc");
  EXPECT_EQ(d->Edit_Xmax->text(), "4095");
  EXPECT_EQ(d->video.largeur_image, 4095);
  // The frame preview takes the frame's aspect.
  EXPECT_EQ(d->Image_cadrage->height(), 40);
  const std::pair<QRadioButton*, QSize> radios[] = {{d->RadioButton_320x, {320, 240}},
                                                    {d->RadioButton_640x, {640, 480}},
                                                    {d->RadioButton_800x, {800, 600}},
                                                    {d->RadioButton_800_16_9, {800, 450}}};
  for (const auto& [r, taille] : radios) {
    r->click();
    EXPECT_EQ(QSize(d->video.largeur_image, d->video.hauteur_image), taille);
    EXPECT_FALSE(d->Edit_Xmax->isEnabled());
    EXPECT_FALSE(d->Edit_Ymax->isEnabled());
  }
  EXPECT_EQ(d->Image_cadrage->height(), 158);  // Round(280 x 450 / 800)
  in.video.largeur_image = 500;
  in.video.hauteur_image = 400;
  ouvrir();
  EXPECT_TRUE(d->RadioButton_autre->isChecked());
  EXPECT_TRUE(d->Edit_Xmax->isEnabled());
  EXPECT_EQ(d->Edit_Ymax->text(), "400");
}

TEST_F(Reglages, LoadingComputesThePathOnceAndOkHandsBackTheSameSettings) {
  in.video.bezier_x.fill(0);
  in.video.bezier_y.fill(0);
  ouvrir();
  EXPECT_EQ(d->calculs, 1);
  EXPECT_GT(cameras[360].cible_z + cameras[360].observateur_z, 0);
  SortiesReglagesVideo s;
  TPagesDlg3::execution() = [](TPagesDlg3& dlg) {
    dlg.RadioButton_ajouter->click();
    dlg.OKBtnClick();
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
    saisir(dlg.Edit_zoom, "75");
    dlg.CancelBtn->click();
    return dlg.result();
  };
  SortiesReglagesVideo rien;
  d = std::make_unique<TPagesDlg3>();
  EXPECT_EQ(d->executer(in, rien), 2);
  EXPECT_EQ(rien.video.zoom_video, 0);
  TPagesDlg3::execution() = [](TPagesDlg3& dlg) { return dlg.exec(); };
}

TEST_F(Reglages, DrawingClosedAndOpenPaths) {
  ouvrir();
  page(TPagesDlg3::kTrajet);
  EXPECT_FALSE(d->Creer_trajectoire->isEnabled());
  d->type_trajectoire_3->click();
  ASSERT_EQ(ui.entries.size(), 1u);
  EXPECT_EQ(ui.entries[0].text, "Create a path using \"Create path\" button");
  EXPECT_TRUE(d->Creer_trajectoire->isEnabled());
  EXPECT_FALSE(d->radio_redim->isEnabled());
  // Closed: the 12th click ends with the first point again as the 13th.
  dessiner(12);
  EXPECT_FALSE(d->trace_en_cours);
  ASSERT_EQ(d->nombre_points, 13);
  EXPECT_EQ(d->video.bezier_x[12], d->video.bezier_x[0]);
  EXPECT_EQ(d->video.bezier_y[12], d->video.bezier_y[0]);
  EXPECT_EQ(d->video.bezier_x[11], point_n(11).x());
  // Dragging point 1 moves the last point with it.
  const int avant = d->calculs;
  glisser(d->Trace_Trajectoire, point_n(0), {60, 120});
  EXPECT_EQ(d->video.bezier_x[0], 60);
  EXPECT_EQ(d->video.bezier_y[12], 120);
  EXPECT_EQ(d->video.bezier_x[12], 60);
  EXPECT_GT(d->calculs, avant);
  // "Create path" answered No keeps the points.
  ui.answers = {false};
  d->Creer_trajectoire->click();
  EXPECT_FALSE(d->trace_en_cours);
  EXPECT_EQ(d->nombre_points, 13);
  EXPECT_EQ(ui.entries.back().text, "Do you want to erase the existing path ?");
  // Open: 13 clicks end the drawing.
  d->type_trajectoire_2->click();
  ui.answers = {true};
  dessiner(13);
  EXPECT_FALSE(d->trace_en_cours);
  EXPECT_EQ(d->video.bezier_x[12], point_n(12).x());
  // 7 clicks and a double click: 7 points, the rest cleared to 0.
  ui.answers = {true};
  dessiner(7);
  EXPECT_EQ(d->label_points->text(), "N= 7");
  souris(d->Trace_Trajectoire, QEvent::MouseButtonDblClick, point_n(6));
  EXPECT_FALSE(d->trace_en_cours);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(d->video.bezier_x[std::size_t(i)], point_n(i).x());
  for (int i = 7; i < 13; ++i) EXPECT_EQ(d->video.bezier_x[std::size_t(i)], 0);
  for (int i = 7; i < 13; ++i) EXPECT_EQ(d->video.bezier_y[std::size_t(i)], 0);
  // A double click after 5 points says what is missing and stores nothing.
  const auto stockes = d->video.bezier_x;
  ui.answers = {true};
  dessiner(5);
  const std::size_t messages = ui.entries.size();
  souris(d->Trace_Trajectoire, QEvent::MouseButtonDblClick, point_n(4));
  ASSERT_EQ(ui.entries.size(), messages + 1);
  EXPECT_EQ(ui.entries.back().text, "Lack of points , click 4, 7, 10 or 13 points (or if color 'N=' is green) ");
  EXPECT_TRUE(d->trace_en_cours);
  EXPECT_EQ(d->video.bezier_x, stockes);
  d->type_trajectoire_3->click();
  souris(d->Trace_Trajectoire, QEvent::MouseButtonDblClick, point_n(4));
  EXPECT_EQ(ui.entries.back().text, "Lack of points , click 3, 6, 9 or 12 points (or if color 'N=' is green) ");
}

TEST_F(Reglages, CircleSizeHeldGrowsAndShrinksCircleMovesByClick) {
  ouvrir();
  page(TPagesDlg3::kTrajet);
  ASSERT_TRUE(d->radio_redim->isChecked());
  souris(d->Trace_Trajectoire, QEvent::MouseButtonPress, {100, 100});
  std::vector<int> rayons{d->video.rayon_cercle};
  for (int k = 0; k < 400 && d->Timer_cercle.Active(); ++k) {
    pool.pool->Step();
    if (d->video.rayon_cercle != rayons.back()) rayons.push_back(d->video.rayon_cercle);
  }
  souris(d->Trace_Trajectoire, QEvent::MouseButtonRelease, {100, 100});
  ASSERT_GE(rayons.size(), 4u);
  EXPECT_EQ(std::vector<int>(rayons.begin(), rayons.begin() + 4), (std::vector<int>{51, 53, 55, 57}));
  EXPECT_GE(rayons.back(), 120);
  EXPECT_LT(rayons[rayons.size() - 2], 120);
  souris(d->Trace_Trajectoire, QEvent::MouseButtonPress, {100, 100}, Qt::RightButton);
  for (int k = 0; k < 400; ++k) pool.pool->Step();
  souris(d->Trace_Trajectoire, QEvent::MouseButtonRelease, {100, 100}, Qt::RightButton);
  EXPECT_EQ(d->video.rayon_cercle, 1);
  d->Radio_cercle->click();
  clic(d->Trace_Trajectoire, {150, 180});
  EXPECT_EQ(d->video.centre_cercle_x, 10);
  EXPECT_EQ(d->video.centre_cercle_y, 13);
  // The target radio needs the fixed target.
  EXPECT_FALSE(d->Radio_pt->isEnabled());
  QTest::mouseClick(d->pt_vise_fixe, Qt::LeftButton);
  EXPECT_EQ(d->video.point_vise_fixe, 1);
  EXPECT_TRUE(d->Radio_pt->isEnabled());
  d->Radio_pt->click();
  clic(d->Trace_Trajectoire, {100, 150});
  EXPECT_EQ(d->video.point_vise_x, -40);
  EXPECT_EQ(d->video.point_vise_y, -17);
}

TEST_F(Reglages, AltitudeMarkersAndFrameRange) {
  ouvrir();
  page(TPagesDlg3::kTrajet);
  const int h = reglages::kHauteurElevation;
  const double sommet = std::max(terrain->hauteur_max() - 0.0, 400.0);
  const QPoint m4(201, d->marqueurs[4]);
  glisser(d->Image_elevation, m4, {201, 40});
  EXPECT_EQ(d->video.bezier_altitude[3], Round((h - 40) * sommet / (0.75 * h)));
  EXPECT_EQ(d->marqueurs[4], 40);
  glisser(d->Image_elevation, {201, 40}, {201, -35});
  EXPECT_EQ(d->video.bezier_altitude[3], Round(h * sommet / (0.75 * h)));
  // Circle path: the first and the last marker move together.
  glisser(d->Image_elevation, {0, d->marqueurs[1]}, {0, 90});
  EXPECT_EQ(d->marqueurs[7], 90);
  EXPECT_EQ(d->video.bezier_altitude[6], d->video.bezier_altitude[0]);
  EXPECT_EQ(d->video.bezier_altitude[0], Round((h - 90) * sommet / (0.75 * h)));
  // The first-frame line stops 30 positions before the last.
  glisser(d->Image_elevation, {2, 60}, {380, 60});
  EXPECT_EQ(d->video.premiere_image, 170);
  EXPECT_EQ(d->video.derniere_image, 200);
  glisser(d->Image_elevation, {400, 60}, {300, 60});
  EXPECT_EQ(d->video.derniere_image, 200);  // pushed back to first + 30
  d->button_reset->click();
  EXPECT_EQ(d->video.premiere_image, 1);
  EXPECT_EQ(d->video.derniere_image, 200);
  d->button_obs->click();
  for (int a : d->video.bezier_altitude) EXPECT_EQ(a, Round(sommet));
}

TEST_F(Reglages, BarsAndEditsRecomputeThePath) {
  ouvrir();
  page(TPagesDlg3::kTrajet);
  int calculs = d->calculs;
  saisir(d->Edit_dist, "95");
  EXPECT_EQ(d->video.distance_point_vise, 90);
  EXPECT_EQ(d->ScrollBar_dist->value(), 90);
  saisir(d->Edit_dist, "x");
  EXPECT_EQ(d->video.distance_point_vise, 90);
  EXPECT_EQ(d->Edit_dist->text(), "90");
  saisir(d->Edit_zoom, "5");
  EXPECT_EQ(d->video.zoom_video, 10);
  saisir(d->Edit_angle, "-60");
  EXPECT_EQ(d->video.angle_vision, -45);
  EXPECT_EQ(d->scrollbar_angle_Vision->value(), 45);
  EXPECT_EQ(d->calculs, calculs + 4);
  calculs = d->calculs;
  d->scrollbar_angle_Vision->setValue(30);
  defiler(d->scrollbar_angle_Vision, dialogs::kPouceLache, 30);
  EXPECT_EQ(d->video.angle_vision, -30);
  EXPECT_EQ(d->Edit_angle->text(), "-30");
  EXPECT_EQ(d->calculs, calculs + 1);
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
  EXPECT_EQ(d->Edit_zoom->text(), "10");
  EXPECT_EQ(d->ScrollBar_zoom->value(), 10);
  EXPECT_EQ(d->Edit_dist->text(), "90");
  EXPECT_EQ(d->Edit_angle->text(), "-45");
  EXPECT_EQ(d->nombre_images->text(), "9999");
  const SortiesReglagesVideo s = d->sorties();
  EXPECT_EQ(s.video.zoom_video, 10);
  EXPECT_EQ(s.video.distance_point_vise, 90);
  EXPECT_EQ(s.video.angle_vision, -45);
  EXPECT_EQ(s.video.nombre_images, 9999);
  saisir(d->Edit_zoom, "99999999999");
  EXPECT_EQ(d->video.zoom_video, 80);
  EXPECT_EQ(d->ScrollBar_zoom->value(), 80);
  saisir(d->Edit_dist, "-99999999999");
  EXPECT_EQ(d->video.distance_point_vise, 10);
  saisir(d->Edit_angle, "99999999999");
  EXPECT_EQ(d->video.angle_vision, 0);
  d->RadioButton_autre->click();
  saisir(d->Edit_Xmax, "99999999999");
  saisir(d->Edit_Ymax, "-1");
  EXPECT_EQ(d->video.largeur_image, 4095);
  EXPECT_EQ(d->video.hauteur_image, 200);
}

TEST_F(Reglages, FramePreviewRoughWhileDraggingFullOnceAtTheEnd) {
  ouvrir();
  page(TPagesDlg3::kTrajet);
  QCoreApplication::processEvents();
  auto& c = dialogs::controle_rendus();
  c.appels.clear();
  for (int p : {40, 45, 50}) {
    defiler(d->ScrollBar_dist, dialogs::kPouceBouge, p);
    QCoreApplication::processEvents();
  }
  ASSERT_EQ(c.appels.size(), 3u);
  for (const auto& a : c.appels) {
    EXPECT_EQ(a.grossier, 1);
    EXPECT_EQ(a.noeuds, 17);  // the degree-4 preview terrain
  }
  c.appels.clear();
  defiler(d->ScrollBar_dist, dialogs::kPouceLache, 50);
  defiler(d->ScrollBar_dist, dialogs::kFinDefilement, 50);
  QCoreApplication::processEvents();
  ASSERT_EQ(c.appels.size(), 1u);
  const dialogs::AppelRendu& a = c.appels[0];
  EXPECT_EQ(a.grossier, 0);
  EXPECT_EQ(a.noeuds, 33);
  EXPECT_EQ(a.mode_camera, 1);
  EXPECT_FALSE(a.attente);
  EXPECT_EQ(a.vue.premier_plan + a.vue.brume + a.vue.reflet + a.vue.photo_aerienne + a.vue.type_ciel, 0);
  EXPECT_EQ(a.vue.centre_x, 0);
  EXPECT_EQ(a.vue.zoom, 40);
  EXPECT_EQ(a.largeur, 280);
  EXPECT_EQ(a.hauteur, 210);
  EXPECT_EQ(a.dossier_ciels, dossier.string() + "/ciels");
  // Position 1 of 360 frames shows frame Round(1.8) = 2.
  EXPECT_EQ(a.camera.cible_z, cameras[2].cible_z);
  EXPECT_EQ(a.camera.observateur_x, cameras[2].observateur_x);
  // Playing: one position per tick (300 ms, six pool steps) up to the range's last frame.
  d->video.derniere_image = 40;
  d->Last_frame->click();
  EXPECT_EQ(d->TrackBar_Nimage->Position(), 40);
  d->Prev_image->click();
  d->Prev_image->click();
  d->Prev_image->click();
  EXPECT_EQ(d->TrackBar_Nimage->Position(), 37);
  QCoreApplication::processEvents();
  c.appels.clear();
  QTest::mouseClick(d->CtlShapeButton1, Qt::LeftButton);
  for (int tick = 1; tick <= 3; ++tick) {
    for (int k = 0; k < 6; ++k) pool.pool->Step();
    EXPECT_EQ(d->TrackBar_Nimage->Position(), 37 + tick);
    QCoreApplication::processEvents();
  }
  EXPECT_FALSE(d->Timer_image.Active());
  ASSERT_EQ(c.appels.size(), 3u);
  EXPECT_EQ(c.appels.back().camera.cible_z, cameras[72].cible_z);  // Round(40 x 360 / 200)
  d->first_frame->click();
  EXPECT_EQ(d->TrackBar_Nimage->Position(), 1);
  d->grab();
  EXPECT_EQ(c.rendus_dans_peinture, 0);
  // While another long operation runs, the preview waits.
  c.appels.clear();
  {
    OperationLongue operation;
    d->Next_image->click();
    QCoreApplication::processEvents();
    EXPECT_TRUE(c.appels.empty());
  }
  d->Image_cadrage->invalidate();
  QCoreApplication::processEvents();
  ASSERT_EQ(c.appels.size(), 1u);
  EXPECT_EQ(c.appels[0].camera.cible_z, cameras[4].cible_z);  // position 2: Round(3.6)
}

TEST_F(Reglages, CreationPageCodecCountAndLabels) {
  ouvrir();
  page(TPagesDlg3::kCreation);
  EXPECT_EQ(d->ComboBox_CODEC->count(), 9);
  EXPECT_EQ(d->ComboBox_CODEC->currentIndex(), 4);
  d->ComboBox_CODEC->setCurrentIndex(8);
  EXPECT_EQ(d->video.type_video, 6);  // set from code: nothing fired
  choisir(d->ComboBox_CODEC, 0);
  EXPECT_EQ(d->video.type_video, 2);
  EXPECT_TRUE(d->label_indeo->isHidden());
  choisir(d->ComboBox_CODEC, 1);
  EXPECT_EQ(d->video.type_video, 3);
  EXPECT_FALSE(d->label_indeo->isHidden());
  EXPECT_EQ(d->label_indeo->text().toStdString(), textes_reglages::kIndeo);
  choisir(d->ComboBox_CODEC, 8);
  EXPECT_EQ(d->video.type_video, 10);
  EXPECT_TRUE(d->label_indeo->isHidden());
  saisir(d->nombre_images, "10000");
  EXPECT_EQ(d->video.nombre_images, 9999);
  saisir(d->nombre_images, "150");
  EXPECT_EQ(d->video.nombre_images, 200);
  saisir(d->nombre_images, "abc");
  EXPECT_EQ(d->video.nombre_images, 200);
  EXPECT_EQ(d->nombre_images->text(), "200");
  saisir(d->nombre_images, "99999999999");
  EXPECT_EQ(d->video.nombre_images, 9999);
  saisir(d->nombre_images, "360");
  EXPECT_EQ(d->label_premiere->text(), "First frame : 1");
  EXPECT_EQ(d->label_derniere->text(), "Last frame : 360");
  EXPECT_EQ(d->label_generees->text(), "Frames generated : 360");
  EXPECT_EQ(d->label_duree->text(), "Playing time in sec at 30 frames/sec: 12");
  QTest::mouseClick(d->Details, Qt::LeftButton);
  EXPECT_EQ(d->video.detail, 1);
}

TEST_F(Reglages, EachVideoOfTheListKeepsItsOwnSettings) {
  Param_video deux = video_test();
  deux.zoom_video = 70;
  deux.rayon_cercle = 90;
  in.documents.push_back({"Video #  2", deux, 1, 2, 1});
  ouvrir();
  ASSERT_EQ(d->ComboBox_no->count(), 2);
  choisir(d->ComboBox_no, 1);
  EXPECT_EQ(d->video.zoom_video, 70);
  EXPECT_EQ(d->Edit_zoom->text(), "70");
  saisir(d->Edit_zoom, "22");
  choisir(d->ComboBox_no, 0);
  EXPECT_EQ(d->video.zoom_video, 40);
  EXPECT_EQ(d->video.rayon_cercle, 50);
  EXPECT_EQ(d->ScrollBar_zoom->value(), 40);
  choisir(d->ComboBox_no, 1);
  EXPECT_EQ(d->video.zoom_video, 22);
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
  glisser(d->Image_elevation, {201, d->marqueurs[4]}, {201, 50});
  glisser(d->Trace_Trajectoire, {279, 249}, {100, 100});
  page(TPagesDlg3::kCreation);
  page(TPagesDlg3::kTaille);
  QCoreApplication::processEvents();
  d->grab();
  EXPECT_TRUE(d->RadioButton_autre->isChecked());
  EXPECT_EQ(dialogs::controle_rendus().rendus_dans_peinture, 0);
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
  auto& c = dialogs::controle_rendus();
  c.appels.clear();
  QTest::mouseClick(d->CtlCreate, Qt::LeftButton);
  const std::string film = dossier.string() + "/temp/video11.mpg";
  ASSERT_EQ(d->film_reduit(), film);
  vcv::FileInfo info;
  ASSERT_TRUE(vcv::get_file_info(film, 0, info));
  EXPECT_EQ(info.frames, 300);
  EXPECT_EQ(info.width, 200);
  EXPECT_EQ(info.height, 150);
  ASSERT_GE(c.appels.size(), 300u);
  for (int k : {1, 2, 150, 299}) {
    EXPECT_EQ(c.appels[std::size_t(k - 1)].camera.cible_z, cameras[std::size_t(10 * k - 9)].cible_z) << k;
    EXPECT_EQ(c.appels[std::size_t(k - 1)].camera.observateur_x, cameras[std::size_t(10 * k - 9)].observateur_x);
  }
  EXPECT_EQ(c.appels[0].largeur, 200);
  EXPECT_EQ(c.appels[0].vue.reflet, 0);
  EXPECT_TRUE(d->MediaPlayer1->is_open());
  EXPECT_EQ(d->MediaPlayer1->file_name(), film);
  EXPECT_TRUE(d->MediaPlayer1->playing());
  d->MediaPlayer1->close();
  // 2005 frames give 200.
  saisir(d->nombre_images, "2005");
  QTest::mouseClick(d->CtlCreate, Qt::LeftButton);
  ASSERT_TRUE(vcv::get_file_info(film, 0, info));
  EXPECT_EQ(info.frames, 200);
  // Cinepak, 200 frames, positions 1 to 10: 9 frames cropped to 200 x 148,
  // each carrying its number.
  d->MediaPlayer1->close();
  choisir(d->ComboBox_CODEC, 0);
  saisir(d->nombre_images, "200");
  d->video.derniere_image = 10;
  c.couleur_factice = render::pixel_rgb(255, 255, 255);
  QTest::mouseClick(d->CtlCreate, Qt::LeftButton);
  const std::string avi = dossier.string() + "/temp/video11.avi";
  ASSERT_EQ(d->film_reduit(), avi);
  ASSERT_TRUE(vcv::get_file_info(avi, 0, info));
  EXPECT_EQ(info.frames, 9);
  EXPECT_EQ(info.width, 200);
  EXPECT_EQ(info.height, 148);
  d->MediaPlayer1->close();
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
