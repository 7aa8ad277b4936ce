// The view window's stored picture and frame: the picture beside a view
// document is read when the view opens, never inside a paint, and one that
// cannot be read is reported once, before any paint, and drawn again; a
// fixed-scale picture is the window's picture area times the scale.
#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QMdiSubWindow>

#include "app/images_qt.h"
#include "platform/arrondi.h"
#include "platform/fichiers.h"
#include "tests/app/atelier.h"
#include "tests/support/rendus.h"

namespace {

// Watches every paint of the application: how many ran, and how many messages
// the user was shown while one was running (each paint is delivered from
// inside the filter, so that its whole run is seen).
class GuetPeintures : public QObject {
 public:
  explicit GuetPeintures(const FakeUserInterface& ui) : ui_(ui) { qApp->installEventFilter(this); }
  ~GuetPeintures() override { qApp->removeEventFilter(this); }
  int peintures = 0;
  int messages_dans_peinture = 0;

 protected:
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() != QEvent::Paint || dedans_) return false;
    dedans_ = true;
    const std::size_t avant = ui_.entries.size();
    QCoreApplication::sendEvent(o, e);
    ++peintures;
    if (ui_.entries.size() != avant) ++messages_dans_peinture;
    dedans_ = false;
    return true;
  }

 private:
  const FakeUserInterface& ui_;
  bool dedans_ = false;
};

void laisser_peindre(TVuewindow* v) {
  v->zone_image()->repaint();
  v->repaint();
  for (int k = 0; k < 5; ++k) QApplication::processEvents();
}

// Opens the sample view document, copied into the workshop's folder with the
// given bytes as its picture ("" for none).
TVuewindow* ouvrir_vallee(Atelier& a, const QByteArray& image) {
  const QString vue = a.dossier.path() + "/vallee.vue";
  QFile::remove(vue);
  EXPECT_TRUE(QFile::copy(QUORVEL_SOURCE_DIR "/tests/data/vallee.vue", vue));
  if (!image.isEmpty()) ecrire_tout(a.dossier.path() + "/vallee.bmp", image.toStdString());
  a.dialogues->ouvertures.push_back(vue.toStdString());
  a.commande(Commande::ouvrir);
  return a.vue(a.w->etat.vue_courante);
}

QByteArray bmp(QColor couleur, int largeur, int hauteur) {
  QImage i(largeur, hauteur, QImage::Format_RGB32);
  i.fill(couleur);
  QByteArray octets;
  QBuffer b(&octets);
  b.open(QIODevice::WriteOnly);
  i.save(&b, "BMP");
  return octets;
}

}  // namespace

TEST(FenetreVue, TheStoredPictureIsReadWhenTheViewOpensNotInAPaint) {
  Atelier a(4);
  GuetPeintures guet(a.ui);
  TVuewindow* v = ouvrir_vallee(a, bmp(Qt::red, 64, 48));
  ASSERT_NE(v, nullptr);
  // Read by the opening itself: the picture is there before any paint, and a
  // file changed afterwards is not read again.
  ASSERT_TRUE(v->image_existe());
  ecrire_tout(a.dossier.path() + "/vallee.bmp", bmp(Qt::blue, 64, 48).toStdString());
  laisser_peindre(v);
  EXPECT_GT(guet.peintures, 0);
  EXPECT_EQ(v->image().at(3, 3), render::pixel_rgb(255, 0, 0));
  EXPECT_EQ(QSize(v->largeur_image, v->hauteur_image), QSize(64, 48));
  EXPECT_EQ(v->panneau(1)->text(), "Frame: 64 x 48");
  EXPECT_EQ(test_rendus::controle_rendus().rendus, 0);
  EXPECT_TRUE(a.ui.entries.empty());
}

TEST(FenetreVue, AnUnreadablePictureIsReportedOnceOnOpeningAndDrawnAgain) {
  Atelier a(4);
  GuetPeintures guet(a.ui);
  TVuewindow* v = ouvrir_vallee(a, "BM not a picture");
  ASSERT_NE(v, nullptr);
  ASSERT_EQ(a.ui.entries.size(), 1u);
  EXPECT_FALSE(a.ui.entries[0].question);
  EXPECT_EQ(a.ui.entries[0].text,
            "The picture " + (a.dossier.path() + "/vallee.bmp").toStdString() +
                " could not be read: its header is cut short. The view is drawn again; Save asks before it "
                "replaces that file.");
  a.attendre_image(v);
  laisser_peindre(v);
  EXPECT_TRUE(v->image_existe());
  EXPECT_EQ(test_rendus::controle_rendus().rendus, 1);
  EXPECT_EQ(test_rendus::controle_rendus().rendus_dans_peinture, 0);
  EXPECT_GT(guet.peintures, 0);
  EXPECT_EQ(guet.messages_dans_peinture, 0);
  EXPECT_EQ(a.ui.entries.size(), 1u);
}

// Files beside a view document that are no pictures are the user's: Save
// replaces the view's picture file, or deletes the one of the other kind,
// only on Yes; No keeps the bytes and the document is saved all the same.
TEST(FenetreVue, AFileBesideTheViewThatIsNoPictureIsReplacedOrDeletedOnlyOnYes) {
  Atelier a(4);
  const std::string bmp = (a.dossier.path() + "/vallee.bmp").toStdString();
  const std::string jpg = (a.dossier.path() + "/vallee.jpg").toStdString();
  const std::string vue = (a.dossier.path() + "/vallee.vue").toStdString();
  TVuewindow* v = ouvrir_vallee(a, "BM not a picture");
  ASSERT_NE(v, nullptr);
  a.attendre_image(v);
  ASSERT_TRUE(supprimer_fichier(vue));
  a.ui.entries.clear();
  a.ui.answers = {false};
  a.commande(Commande::enregistrer);
  ASSERT_EQ(a.ui.entries.size(), 1u);
  EXPECT_TRUE(a.ui.entries[0].question);
  EXPECT_EQ(a.ui.entries[0].text, "The picture " + bmp +
                                      " beside the document cannot be read: its header is cut short. Do you want to "
                                      "replace it with this view's picture ?");
  EXPECT_EQ(lire_fichier(bmp), "BM not a picture");
  EXPECT_TRUE(fichier_existe(vue)) << "the document is saved all the same";
  // Yes replaces it; the foreign file of the other kind is deleted only on Yes.
  ecrire_tout(QString::fromStdString(jpg), "not a JPEG");
  a.ui.entries.clear();
  a.ui.answers = {true, false};
  a.commande(Commande::enregistrer);
  ASSERT_EQ(a.ui.entries.size(), 2u);
  EXPECT_EQ(a.ui.entries[1].text, "The picture " + jpg +
                                      " beside the document cannot be read: it is neither a Windows bitmap nor a "
                                      "JPEG picture. Do you want to delete it ?");
  EXPECT_TRUE(lire_image_vue(bmp));
  EXPECT_EQ(lire_fichier(jpg), "not a JPEG");
  a.ui.entries.clear();
  a.ui.answers = {true};
  a.commande(Commande::enregistrer);
  EXPECT_EQ(a.ui.entries.size(), 1u);
  EXPECT_FALSE(fichier_existe(jpg));
}

// A picture named to the view that is gone when the view opens: said once,
// then the view asks for a render and shows it.
TEST(FenetreVue, AMissingPictureIsSaidOnceAndTheViewStillShows) {
  Atelier a(4);
  a.commande(Commande::nouvelle_montagne);
  GuetPeintures guet(a.ui);
  a.ui.entries.clear();
  TVuewindow v;
  v.largeur_image = 200;
  v.hauteur_image = 150;
  const std::string absente = (a.dossier.path() + "/absente.jpg").toStdString();
  v.init_vue(0, a.w->etat.vue, a.w->etat.montagnes[1].terrain.get(), absente, false, false);
  ASSERT_EQ(a.ui.entries.size(), 1u);
  EXPECT_NE(a.ui.entries[0].text.find(absente), std::string::npos);
  EXPECT_FALSE(v.image_existe());
  v.show();
  a.attendre_image(&v);
  laisser_peindre(&v);
  EXPECT_TRUE(v.image_existe());
  EXPECT_EQ(test_rendus::controle_rendus().rendus, 1);
  EXPECT_EQ(guet.messages_dans_peinture, 0);
  EXPECT_EQ(a.ui.entries.size(), 1u);
}

// Resized in variable scale, the picture is stretched to the new 4:3 frame
// by the resize itself; the paints that follow only draw it.
TEST(FenetreVue, AResizeStretchesThePictureAtOnce) {
  Atelier a(4);
  a.w->etat.vue.echelle_fixe = 0;
  a.w->etat.vue.deformation = 0;
  test_rendus::controle_rendus().couleur_factice = render::pixel_rgb(0, 200, 0);
  a.commande(Commande::nouvelle_montagne);
  a.commande(Commande::voir);
  TVuewindow* v = a.vue(1);
  a.attendre_image(v);
  ASSERT_TRUE(v->image_existe());
  QMdiSubWindow* s = v->sous_fenetre();
  ASSERT_NE(s, nullptr);
  s->resize(s->width() + 120, s->height() + 40);
  int l = v->width(), h = v->height() - 19;
  fenetres::ajuster_4_3(l, h);
  EXPECT_EQ(QSize(v->image().width(), v->image().height()), QSize(l, h));
  EXPECT_EQ(v->panneau(1)->text(), QString("Frame: %1 x %2").arg(l).arg(h));
  EXPECT_EQ(v->image().at(l / 2, h / 2), render::pixel_rgb(0, 200, 0));
  laisser_peindre(v);
  EXPECT_EQ(QSize(v->image().width(), v->image().height()), QSize(l, h));
  EXPECT_EQ(test_rendus::controle_rendus().rendus, 1);
}

// A picture handed over in fixed scale is laid out in a window whose picture
// area it was made from: laid out again it keeps its size at its own scale
// and follows a new scale; a view turning to fixed scale takes its area.
TEST(FenetreVue, FixedScaleLayoutTakesThePictureAreaTimesTheScale) {
  TVuewindow v;
  param_vue p{};
  p.echelle_fixe = 1;
  p.taille = 10;
  v.largeur_image = 640;
  v.hauteur_image = 480;
  v.taille_l = 652;  // what an opened document hands over
  v.taille_h = 486;
  v.taille_donnee = 1;
  v.init_vue(0, p, nullptr, {}, false, false);
  ASSERT_EQ(v.size(), QSize(640 + 6, 480 + 10 + 19));  // the margin round the picture and the status bar
  v.calculer_taille_vue(true);
  EXPECT_EQ(QSize(v.largeur_image, v.hauteur_image), QSize(640, 480));
  v.parametres.taille = 15;
  v.calculer_taille_vue(true);
  v.calculer_taille_vue(true);
  EXPECT_EQ(QSize(v.largeur_image, v.hauteur_image), QSize(960, 720));
  v.parametres.taille = 10;
  v.calculer_taille_vue(true);
  EXPECT_EQ(QSize(v.largeur_image, v.hauteur_image), QSize(640, 480));
  EXPECT_EQ(v.panneau(1)->text(), "Frame: 640 x 480");
  // Through variable scale and back: the window's area at that scale.
  v.parametres.echelle_fixe = 0;
  v.calculer_taille_vue(true);
  v.parametres.echelle_fixe = 1;
  v.parametres.taille = 20;
  v.calculer_taille_vue(true);
  EXPECT_EQ(QSize(v.largeur_image, v.hauteur_image), QSize(1280, 960));
}
