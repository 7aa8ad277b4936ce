// The print page: its title, where the frame, picture and text land on the
// printed PDF, how many comment lines fit, and the "Print ..." and
// "Printer adjustments ..." commands of the main window with a scripted
// printer dialog.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include <QAction>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QTimer>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>

#include "app/commandes_impression.h"
#include "app/impression.h"
#include "controls/paintkit.h"
#include "tests/app/programme_test_support.h"

using namespace components;

namespace {

bool poppler() {
  for (const char* o : {"pdfinfo", "pdftoppm", "pdftotext", "pdfimages"})
    if (QStandardPaths::findExecutable(o).isEmpty()) return false;
  return true;
}

QString executer(const QString& programme, const QStringList& arguments) {
  QProcess p;
  p.start(programme, arguments);
  p.waitForFinished(-1);
  return QString::fromUtf8(p.readAllStandardOutput());
}

// The main window with a stand-in for the view's picture.
struct FenetreImpression : TBasewindow {
  using TBasewindow::TBasewindow;
  render::Bitmap image;
  const render::Bitmap* image_vue(int) override { return image.empty() ? nullptr : &image; }
};

struct Impression : ::testing::Test {
  QTemporaryDir dossier;
  ScopedFakeUserInterface ui;
  TData data;
  std::unique_ptr<FenetreImpression> w;
  FakeDialoguesDocuments* dialogues = nullptr;
  int choix = 0, montres = 0;

  void SetUp() override {
    ecrire_tout(dossier.path() + "/montagne.ini", options_exemple());
    w = std::make_unique<FenetreImpression>(&data);
    auto d = std::make_unique<FakeDialoguesDocuments>();
    dialogues = d.get();
    w->utiliser_dialogues(std::move(d));
    ReglagesDemarrage r;
    r.executable = dossier.path() + "/quorvel";
    r.inscriptible = [](const QString&) { return true; };
    ASSERT_TRUE(w->FormCreate(r));
    w->show();
    CommandesImpression& c = w->commandes_impression();
    // The printer dialog answers OK with a PDF file; the form is not run.
    c.choisir_imprimante = [this](QPrinter& p, QWidget*) {
      ++choix;
      p.setOutputFormat(QPrinter::PdfFormat);
      p.setOutputFileName(pdf());
      return true;
    };
    c.montrer = [this](TPreview_print&) { ++montres; };
  }
  QString pdf() const { return dossier.path() + "/page.pdf"; }

  // A mountain and a view of a w x h picture of one dark colour, current.
  FakeVue* vue(int largeur, int hauteur, const QString& titre = "View #  1 :  mount.vue") {
    const QString mat = dossier.path() + "/a.mat";
    ecrire_tout(mat, lire_tout(QUORVEL_SOURCE_DIR "/tests/data/plat.mat"));
    dialogues->ouvertures.push_back(mat.toStdString());
    w->action(Commande::ouvrir)->trigger();
    auto* v = new FakeVue;
    v->setWindowTitle(titre);
    v->largeur_image = static_cast<std::uint16_t>(largeur);
    v->hauteur_image = static_cast<std::uint16_t>(hauteur);
    EXPECT_GT(w->ajouter_vue(v, w->etat.montagne_courante), 0);
    w->activer(v);
    QApplication::processEvents();
    w->image.reset(largeur, hauteur, render::pixel_rgb(0x20, 0x30, 0x40));
    return v;
  }
  void commentaires(int n) {
    for (int k = 0; k < 11; ++k)
      w->etat.parametres.texte[std::size_t(k)] = k < n ? "Comment line " + std::to_string(k + 1) : "";
  }
  // Prints through the command and the form's own "Print ..." button.
  void imprimer() {
    w->commandes_impression().montrer = [this](TPreview_print& f) {
      ++montres;
      f.Imprimer->click();
    };
    QAction* a = w->action(Commande::imprimer);
    ASSERT_TRUE(a->isEnabled());
    a->trigger();
  }
  // The printed page at one pixel per 0.1 mm, grey levels.
  QImage page() {
    executer("pdftoppm", {"-r", "254", "-gray", "-singlefile", pdf(), dossier.path() + "/page"});
    return QImage(dossier.path() + "/page.pgm");
  }
  // Lines of pdftotext's output that start with "Comment line ".
  QStringList lignes_imprimees() {
    QStringList r;
    for (const QString& l : executer("pdftotext", {"-layout", pdf(), "-"}).split('\n'))
      if (l.trimmed().startsWith("Comment line ")) r << l.trimmed();
    return r;
  }
};

// The first dark pixel (the frame's thin line included) from `debut` along a row or a column.
int sombre(const QImage& img, QPoint debut, QPoint pas) {
  for (QPoint p = debut; img.rect().contains(p); p += pas)
    if (qGray(img.pixel(p)) < 240) return pas.x() ? p.x() : p.y();
  return -1;
}

}  // namespace

TEST(PagePrint, TitleFromTheViewCaption) {
  EXPECT_EQ(titre_impression("View #  1 :  mount.vue"), "  mount");
  EXPECT_EQ(titre_impression("0123456789"), "");
  // Only an extension is dropped: a new, an imported or a cut caption keeps its end.
  EXPECT_EQ(titre_impression("View #  2 :  #   1 Imported mountain"), "  #   1 Imported mountain");
  EXPECT_EQ(titre_impression("View #  1 :  New #  1"), "  New #  1");
  EXPECT_EQ(titre_impression("View #  3 :  a long name for a valley that was cut a"), "  a long name for a valley that was cut a");
}

// Qt's print dialog opens the PDF's file for writing when OK is pressed, to
// try it, and on a named pipe that open waits until something reads. OK asks
// first what the file named is: a pipe, a link to one, a folder, a device or
// a socket is refused at once in the program's words, the dialog staying up
// and the printer as it was; a new file goes on to Qt's checks and is taken,
// nothing made. The pipe is held open for reading, so that a dialog that
// opened it would fail the test instead of hanging it.
TEST(PagePrint, ThePdfFileIsAskedWhatItIsBeforeTheDialogOpensIt) {
  ScopedFakeUserInterface ui;
  QTemporaryDir dossier;
  const QString tube = dossier.filePath("tube.pdf"), prise = dossier.filePath("prise.pdf");
  ASSERT_EQ(::mkfifo(QFile::encodeName(tube).constData(), 0600), 0);
  const int lecteur = ::open(QFile::encodeName(tube).constData(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(lecteur, 0);
  ASSERT_TRUE(QFile::link(tube, dossier.filePath("lien.pdf")));
  ASSERT_TRUE(QDir(dossier.path()).mkdir("dossier.pdf"));
  const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un adresse{};
  adresse.sun_family = AF_UNIX;
  std::strncpy(adresse.sun_path, QFile::encodeName(prise).constData(), sizeof adresse.sun_path - 1);
  ASSERT_EQ(::bind(s, reinterpret_cast<const sockaddr*>(&adresse), sizeof adresse), 0);
  // Qt's own boxes, should one come up: counted and closed.
  QStringList boites_qt;
  QTimer fermeture;
  QObject::connect(&fermeture, &QTimer::timeout, [&] {
    if (auto* b = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      boites_qt << b->text();
      b->reject();
    }
  });
  fermeture.start(20);

  QPrinter imprimante;
  imprimante.setOutputFormat(QPrinter::PdfFormat);
  imprimante.setOutputFileName(tube);
  auto d = dialogue_imprimante(imprimante, nullptr);
  int acceptes = 0;
  QObject::connect(d.get(), &QDialog::accepted, [&] { ++acceptes; });
  d->open();
  auto* fichier = d->findChild<QLineEdit*>(QStringLiteral("filename"));
  auto* boutons = d->findChild<QDialogButtonBox*>();
  ASSERT_TRUE(fichier && boutons);
  ASSERT_TRUE(fichier->isEnabled()) << "the PDF is chosen";
  const std::pair<QString, std::string> refus[] = {
      {tube, "a named pipe is not a regular file"},
      {dossier.filePath("lien.pdf"), "a named pipe is not a regular file"},
      {dossier.filePath("dossier.pdf"), "a directory is not a regular file"},
      {"/dev/null", "a character device is not a regular file"},
      {prise, "a socket is not a regular file"}};
  for (const auto& [chemin, raison] : refus) {
    SCOPED_TRACE(chemin.toStdString());
    fichier->setText(chemin);
    ui.entries.clear();
    boutons->button(QDialogButtonBox::Ok)->click();
    ASSERT_EQ(ui.entries.size(), 1u);
    EXPECT_EQ(ui.entries[0].text, "The PDF file " + chemin.toStdString() + " cannot be written: " + raison);
    EXPECT_TRUE(d->isVisible());
  }
  EXPECT_EQ(acceptes, 0);
  EXPECT_EQ(imprimante.outputFileName(), tube);

  const QString nouveau = dossier.filePath("page.pdf");
  fichier->setText(nouveau);
  ui.entries.clear();
  boutons->button(QDialogButtonBox::Ok)->click();
  EXPECT_EQ(acceptes, 1);
  EXPECT_TRUE(ui.entries.empty());
  EXPECT_EQ(imprimante.outputFileName(), nouveau);
  EXPECT_FALSE(QFile::exists(nouveau));
  EXPECT_TRUE(boites_qt.isEmpty()) << boites_qt.join(" | ").toStdString();
  ::close(s);
  ::close(lecteur);
}

TEST(PagePrint, CompositionPlacesThePictureAndCountsTheLinesThatFit) {
  TPrintPreview pp;
  pp.SetScreenPixelsPerInch(96);
  pp.SetUnits(mmLoMetric);
  pp.SetOrientation(poLandscape);
  ContenuPage c;
  c.titre = "  mount";
  c.taille = "(800 x 600)";
  for (int k = 1; k <= 10; ++k) c.lignes << "Comment line " + QString::number(k);
  // Replays the page and finds the picture's box by its colour.
  auto boite = [&](int l, int h) {
    c.image = QImage(l, h, QImage::Format_RGB32);
    c.image.fill(QColor(0, 200, 0));
    composer_page(pp, c);
    const QPicture& p = pp.Pages().GetMetaFile(0);
    QImage img(pp.PaperWidth(), pp.PaperHeight(), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter painter(&img);
    painter.scale(double(pp.PaperWidth()) / pp.PagePixelWidth(), double(pp.PaperHeight()) / pp.PagePixelHeight());
    painter.drawPicture(0, 0, p);
    painter.end();
    QRect r;
    for (int y = 0; y < img.height(); y += 2)
      for (int x = 0; x < img.width(); x += 2)
        if (img.pixel(x, y) == qRgb(0, 200, 0)) r |= QRect(x, y, 1, 1);
    return r;
  };
  EXPECT_EQ(pp.PaperWidth(), 2970);
  const QRect a = boite(800, 600);
  EXPECT_NEAR(a.left(), 427, 2);
  EXPECT_NEAR(a.top(), 170, 2);
  EXPECT_NEAR(a.width(), 2116, 3);
  EXPECT_NEAR(a.height(), 1588, 3);
  const QRect b = boite(1024, 768);
  EXPECT_NEAR(b.left(), 807, 2);
  EXPECT_NEAR(b.width(), 1355, 3);
  EXPECT_NEAR(b.height(), 1016, 3);
  EXPECT_EQ(pp.TotalPages(), 1);
  EXPECT_EQ(pp.State(), psReady);
}

TEST_F(Impression, PrintCommandPrintsTheViewPageIntoAPdf) {
  if (!poppler()) GTEST_SKIP() << "poppler-utils is not installed";
  EXPECT_FALSE(w->action(Commande::imprimer)->isEnabled());
  vue(1024, 768);
  commentaires(11);
  imprimer();
  EXPECT_EQ(choix, 1);
  TPreview_print* f = w->commandes_impression().formulaire();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->windowTitle(), "Prview of the image   mount");
  EXPECT_EQ(f->titre->text(), "Image   mount    (1024 x 768)");
  EXPECT_EQ(f->contenu().lignes.size(), 10);
  const QString info = executer("pdfinfo", {pdf()});
  EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+1\\n"))) << info.toStdString();
  EXPECT_TRUE(info.contains("842 x 595")) << info.toStdString();
  const QString images = executer("pdfimages", {"-list", pdf()});
  EXPECT_EQ(images.count(QRegularExpression(R"(\n\s*1\s+\d+\s+image\s+1024\s+768\s)")), 1) << images.toStdString();
  // Ten lines of comment, not the eleventh; the title and the size.
  QStringList attendu;
  for (int k = 1; k <= 10; ++k) attendu << "Comment line " + QString::number(k);
  EXPECT_EQ(lignes_imprimees(), attendu);
  const QString texte = executer("pdftotext", {pdf(), "-"});
  EXPECT_TRUE(texte.contains("mount"));
  EXPECT_TRUE(texte.contains("(1024 x 768)"));
  const QImage img = page();
  ASSERT_FALSE(img.isNull());
  EXPECT_NEAR(sombre(img, QPoint(0, 1500), QPoint(1, 0)), 200, 2);
  EXPECT_NEAR(sombre(img, QPoint(210, 500), QPoint(1, 0)), 807, 2);
}

TEST_F(Impression, FullSizePictureLeavesRoomForTheLinesThatFit) {
  if (!poppler()) GTEST_SKIP() << "poppler-utils is not installed";
  vue(800, 600);
  commentaires(11);
  imprimer();
  const QString images = executer("pdfimages", {"-list", pdf()});
  EXPECT_EQ(images.count(QRegularExpression(R"(\n\s*1\s+\d+\s+image\s+800\s+600\s)")), 1) << images.toStdString();
  const QImage img = page();
  ASSERT_FALSE(img.isNull());
  EXPECT_NEAR(sombre(img, QPoint(0, 1000), QPoint(1, 0)), 200, 2);  // frame
  EXPECT_NEAR(sombre(img, QPoint(1485, 0), QPoint(0, 1)), 150, 2);
  EXPECT_NEAR(sombre(img, QPoint(210, 1000), QPoint(1, 0)), 427, 2);  // picture
  EXPECT_NEAR(sombre(img, QPoint(1485, 160), QPoint(0, 1)), 170, 2);
  // Below the picture (bottom 1758) and the title the area ends at 1950:
  // as many 3 mm lines as the font's height allows, the last above the end.
  QFont f("Arial");
  f.setPixelSize(40);
  const int debut = 1758 + Round(1.5 * QFontMetricsF(f).height());
  f.setPixelSize(30);
  const int interligne = Round(QFontMetricsF(f).height());
  const int n = (1950 - debut) / interligne;
  ASSERT_GT(n, 0);
  ASSERT_LT(n, 10);
  QStringList attendu;
  for (int k = 1; k <= n; ++k) attendu << "Comment line " + QString::number(k);
  EXPECT_EQ(lignes_imprimees(), attendu);
}

TEST_F(Impression, OneFormForEveryPrintAndAdjustmentsPrintNothing) {
  vue(320, 240, "short");
  commentaires(2);
  for (int k = 0; k < 3; ++k) w->action(Commande::imprimer)->trigger();
  EXPECT_EQ(montres, 3);
  TPreview_print* f = w->commandes_impression().formulaire();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(w->findChildren<TPreview_print*>().size(), 1);
  EXPECT_EQ(f->windowTitle(), "Prview of the image ");
  EXPECT_EQ(f->contenu().lignes.size(), 2);
  EXPECT_EQ(f->PrintPreview->TotalPages(), 1);
  EXPECT_EQ(choix, 0);
  EXPECT_FALSE(QFile::exists(pdf()));

  QAction* a = w->action(Commande::reglages_imprimante);
  ASSERT_TRUE(a->isEnabled());
  a->trigger();
  EXPECT_EQ(choix, 1);
  EXPECT_EQ(w->commandes_impression().imprimante().outputFileName(), pdf());
  EXPECT_FALSE(QFile::exists(pdf()));

  // A cancelled printer dialog prints nothing.
  w->commandes_impression().choisir_imprimante = [this](QPrinter&, QWidget*) {
    ++choix;
    return false;
  };
  imprimer();
  EXPECT_EQ(choix, 2);
  EXPECT_FALSE(QFile::exists(pdf()));
}
