// The view gallery: which documents show, what their slots say, the selection
// frame, and the double click that opens a view through the main window.
#include <gtest/gtest.h>
#include <sys/time.h>

#include <QAction>
#include <QFileDialog>
#include <QImage>
#include <QMouseEvent>
#include <ctime>

#include "app/dialogues_qt.h"
#include "fenetres/aide_enfants.h"
#include "app/galerie.h"
#include "app/texte_document.h"
#include "tests/app/programme_test_support.h"
#include "tests/support/touche_aide.h"

namespace {

std::string vue_exemple() { return lire_tout(QUORVEL_SOURCE_DIR "/tests/data/vue.vue"); }

struct Galerie : ::testing::Test {
  QTemporaryDir dossier;
  std::vector<int> sujets;
  void SetUp() override { fixer_afficheur_aide([this](int s) { sujets.push_back(s); }); }
  void TearDown() override { fixer_afficheur_aide({}); }
  std::string chemin(const std::string& nom) const { return dossier.path().toStdString() + "/" + nom; }
  // A view document and, unless `image` is empty, its picture beside it.
  std::string document(const std::string& nom, const std::string& texte, const char* image = ".jpg") {
    ecrire_tout(QString::fromStdString(chemin(nom)), texte);
    if (*image) {
      QImage q(64, 48, QImage::Format_RGB32);
      q.fill(QColor(30, 90, 200));
      q.save(QString::fromStdString(changer_extension(chemin(nom), image)));
    }
    return chemin(nom);
  }
};

TEST_F(Galerie, KeysAndDates) {
  Entree e(std::string("Maillage           =           7\r\nLargeur image      =   x\r\nHauteur image      =  480"));
  EXPECT_EQ(lire_cle_fichier(e, "Maillage           ="), 7);
  EXPECT_EQ(lire_cle_fichier(e, "Largeur image      ="), 0);  // not a number
  EXPECT_EQ(lire_cle_fichier(e, "Hauteur image      ="), 0);  // the file's last line
  Entree f(std::string("Type (1:BMP,2:JPEG)=2\r\nnext\r\n"));
  EXPECT_EQ(lire_cle_fichier(f, "Type (1:BMP,2:JPEG)="), 0);  // column 21 not blank
  EXPECT_EQ(texte_date_galerie(QDateTime(QDate(2024, 3, 5), QTime(14, 7))), " of Mar 05,2024 at 02:07 pm");
}

TEST_F(Galerie, SlotsShowTheFirstSixteenSortedWithTheirPictures) {
  std::vector<std::string> noms;
  for (int k = 20; k >= 1; --k) noms.push_back(document("v" + std::to_string(100 + k) + ".vue", vue_exemple()));
  TForm_galerie g;
  g.charger_vues(0, noms);
  ASSERT_EQ(g.nombre(), 16);
  // The first 16 of the selection (v120 .. v105), in sorted order.
  EXPECT_EQ(g.liste().front(), chemin("v105.vue"));
  EXPECT_EQ(g.liste().back(), chemin("v120.vue"));
  EXPECT_EQ(g.emplacement(0).maillage, 5);
  EXPECT_EQ(g.emplacement(0).largeur, 640);
  EXPECT_EQ(g.emplacement(0).hauteur, 480);
  EXPECT_EQ(g.emplacement(0).genre, 2);
  EXPECT_TRUE(g.emplacement(0).image);
  EXPECT_EQ(g.emplacement(0).titre, "v105.vue");
  // Selection: the description and a red frame, right and bottom edges excluded.
  g.resize(660, 554);
  g.PaintBox_0Click(0);
  EXPECT_TRUE(g.description().startsWith("   v105.vue   :  Mesh =5, Size 640 x 480 .   of "));
  const QImage vue = g.boite(0)->grab().toImage();
  EXPECT_EQ(vue.pixelColor(2, 2), QColor(Qt::red));
  EXPECT_EQ(vue.pixelColor(129, 74), QColor(Qt::red));
  EXPECT_NE(vue.pixelColor(130, 75), QColor(Qt::red));
  // Fifteen files hide the sixteenth slot.
  noms.resize(15);
  g.charger_vues(0, noms);
  EXPECT_EQ(g.nombre(), 15);
  EXPECT_TRUE(g.panneau(15)->isHidden());
  EXPECT_FALSE(g.panneau(14)->isHidden());
}

TEST_F(Galerie, MissingPicturesKindLinesAndGarbage) {
  std::string sans_kind = vue_exemple();
  // The kind line as the file's last line reads as kind 0, which looks for ".bmp".
  sans_kind = sans_kind.substr(0, sans_kind.find("Type (1:BMP,2:JPEG)=")) + "Type (1:BMP,2:JPEG)=           2";
  const std::vector<std::string> noms = {
      document("a.vue", vue_exemple(), ""),         // no picture
      document("b.vue", sans_kind, ".bmp"),         // kind 0, its .bmp
      document("c.vue", sans_kind, ".jpg"),         // kind 0 with only a .jpg
      document("d.vue", std::string("\x01\xff\x7f garbage\r\n\x00\x13", 15), ""),
  };
  ecrire_tout(QString::fromStdString(chemin("d.jpg")), "not a picture at all");
  TForm_galerie g;
  g.charger_vues(0, noms);
  EXPECT_FALSE(g.emplacement(0).image);
  g.PaintBox_0Click(0);
  EXPECT_NE(g.description().indexOf(" .   No image. "), -1);
  EXPECT_EQ(g.emplacement(1).genre, 0);
  EXPECT_TRUE(g.emplacement(1).image);
  EXPECT_TRUE(g.emplacement(2).image);
  EXPECT_EQ(g.emplacement(3).maillage, 0);
  EXPECT_FALSE(g.emplacement(3).image);
  // The description's date is the file's own.
  const std::string a = chemin("a.vue");
  struct tm t {};
  t.tm_year = 124, t.tm_mon = 2, t.tm_mday = 5, t.tm_hour = 14, t.tm_min = 7, t.tm_isdst = -1;
  const timeval fois[2] = {{std::mktime(&t), 0}, {std::mktime(&t), 0}};
  ASSERT_EQ(utimes(a.c_str(), fois), 0);
  g.charger_vues(0, noms);
  g.PaintBox_0Click(0);
  EXPECT_TRUE(g.description().endsWith(" of Mar 05,2024 at 02:07 pm")) << g.description().toStdString();
  // Context-help mode: a click shows the topic and selects nothing.
  g.aide_contextuelle = 1;
  g.PaintBox_0Click(1);
  g.ScrollBox_photosClick();
  EXPECT_EQ(sujets, (std::vector<int>{4100, 4100}));
  EXPECT_EQ(g.choisie(), 0);
}

TEST(GalerieProgramme, ScanOpensTheGalleryAndADoubleClickOpensTheView) {
  Programme p;
  ASSERT_TRUE(p.demarrer(options_exemple()));
  TBasewindow* w = p.w.get();
  EXPECT_TRUE(w->action(Commande::parcourir)->isEnabled());
  const QString v = p.chemin("x.vue");
  ecrire_tout(v, lire_tout(QUORVEL_SOURCE_DIR "/tests/data/vue.vue"));
  p.dialogues->parcours = {v.toStdString()};
  w->action(Commande::parcourir)->trigger();
  ASSERT_TRUE(w->galerie);
  EXPECT_EQ(w->galerie_ouverte, 1);
  EXPECT_FALSE(w->action(Commande::parcourir)->isEnabled());
  auto* g = dynamic_cast<TForm_galerie*>(w->galerie.data());
  ASSERT_TRUE(g);
  g->PaintBox_0DblClick(0);
  ASSERT_FALSE(p.ouverts.empty());
  EXPECT_EQ(p.ouverts.back(), "vue:" + v.toStdString());
  g->close();
  w->UpdateItems();
  EXPECT_TRUE(w->action(Commande::parcourir)->isEnabled());
  EXPECT_FALSE(w->galerie);
  auto d = construire_dialogue_parcours(nullptr);
  EXPECT_EQ(d->windowTitle(), "Scan ...");
  EXPECT_EQ(d->nameFilters(), QStringList{"Images (*.vue)"});
  EXPECT_EQ(d->fileMode(), QFileDialog::ExistingFiles);
}

}  // namespace

// The gallery is a window of its own: F1 in it shows its topic.
TEST_F(Galerie, F1ShowsItsTopic) {
  TForm_galerie g;
  g.charger_vues(0, {document("a.vue", vue_exemple())});
  fixer_afficheur_aide({});
  const std::vector<int> vus = sujets_sur_f1(g);
  fixer_afficheur_aide([this](int s) { sujets.push_back(s); });
  EXPECT_EQ(vus, (std::vector<int>{4100}));
}
