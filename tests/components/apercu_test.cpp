// Print preview: unit conversions, paper settings, zoom and layout, the page
// list in memory and in a temporary file, keyboard and mouse, and printing
// into PDF files checked with poppler's tools.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cmath>
#include <limits>

#include "components/apercu.h"
#include "controls/paintkit.h"

using namespace components;

namespace {

// A preview at 96 pixels per inch, shown, with a given outer size.
struct Apercu {
  TPrintPreview pp;
  explicit Apercu(int w = 600, int h = 400) {
    pp.SetScreenPixelsPerInch(96);
    pp.resize(w, h);
    pp.show();
  }
  void resize_zone(int w, int h) {
    const QMargins m = pp.contentsMargins();
    pp.resize(w + m.left() + m.right(), h + m.top() + m.bottom());
  }
};

// Records `n` pages; page k has a black bar k tenths of the page wide.
void enregistrer(TPrintPreview& pp, int n) {
  pp.BeginDoc();
  for (int k = 1; k <= n; ++k) {
    if (k > 1) pp.NewPage();
    QPainter* c = pp.GetCanvas();
    c->fillRect(0, 0, pp.PaperWidth() * k / 10, pp.PaperHeight() / 4, Qt::black);
  }
  pp.EndDoc();
}

QImage rejouer(const QPicture& page) {
  QImage img(page.boundingRect().size(), QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  p.drawPicture(0, 0, page);
  return img;
}

bool outil(const char* nom) { return !QStandardPaths::findExecutable(nom).isEmpty(); }

QString executer(const QString& programme, const QStringList& arguments) {
  QProcess p;
  p.start(programme, arguments);
  p.waitForFinished(-1);
  return QString::fromLocal8Bit(p.readAllStandardOutput());
}

#define POPPLER_REQUIS()                                                        \
  if (!outil("pdfinfo") || !outil("pdftoppm"))                                  \
  GTEST_SKIP() << "poppler-utils (pdfinfo, pdftoppm) is not installed"

int pages_pdf(const QString& fichier) {
  const QString info = executer("pdfinfo", {fichier});
  for (const QString& l : info.split('\n'))
    if (l.startsWith("Pages:")) return l.mid(6).trimmed().toInt();
  return -1;
}

}  // namespace

TEST(Apercu, UnitConversionsExactAndRounded) {
  EXPECT_EQ(MulDiv(100, 254, 96), 265);
  EXPECT_EQ(MulDiv(1, 1, 2), 1);
  EXPECT_EQ(MulDiv(-1, 1, 2), -1);
  EXPECT_EQ(MulDiv(5, 7, 0), -1);
  const int m = std::numeric_limits<int>::max();
  EXPECT_EQ(MulDiv(m, m, m), m);

  EXPECT_EQ(ConvertUnitsDPI(1234, 96, mmHiMetric, mmLoMetric), 123);
  EXPECT_EQ(ConvertUnitsDPI(-1239, 96, mmHiMetric, mmLoMetric), -123);  // truncates toward zero
  EXPECT_EQ(ConvertUnitsDPI(2970, 96, mmLoMetric, mmHiMetric), 29700);
  EXPECT_EQ(ConvertUnitsDPI(3, 96, mmLoEnglish, mmHiMetric), 762);
  EXPECT_EQ(ConvertUnitsDPI(509, 96, mmHiMetric, mmLoEnglish), 2);
  EXPECT_EQ(ConvertUnitsDPI(19, 96, mmHiEnglish, mmLoEnglish), 1);
  EXPECT_EQ(ConvertUnitsDPI(100, 96, mmPixel, mmLoMetric), 265);
  EXPECT_EQ(ConvertUnitsDPI(1440, 96, mmTWIPS, mmPixel), 96);
  EXPECT_EQ(ConvertUnitsDPI(77, 96, mmLoMetric, mmLoMetric), 77);
  EXPECT_EQ(ConvertUnitsDPI(77, 96, static_cast<TUnits>(9), mmLoMetric), 77);

  Apercu a;
  a.pp.SetUnits(mmLoMetric);
  EXPECT_EQ(a.pp.ScreenToUnits(100), 264);  // 104 hundredths of an inch first
  EXPECT_EQ(a.pp.ConvertUnits(100, mmPixel, mmLoMetric), 265);
}

TEST(Apercu, PaperSizeUnitsOrientationAndCustomSides) {
  Apercu a;
  TPrintPreview& pp = a.pp;
  EXPECT_EQ(pp.PaperWidth(), 21000);
  EXPECT_EQ(pp.PaperHeight(), 29700);
  EXPECT_EQ(pp.PaperType(), pA4);
  const int pw = pp.PagePixelWidth(), ph = pp.PagePixelHeight();
  EXPECT_EQ(pw, 794);
  EXPECT_EQ(ph, 1123);
  pp.SetUnits(mmLoMetric);
  pp.SetOrientation(poLandscape);
  EXPECT_EQ(pp.PaperWidth(), 2970);
  EXPECT_EQ(pp.PaperHeight(), 2100);
  EXPECT_EQ(pp.PagePixelWidth(), ph);
  EXPECT_EQ(pp.PagePixelHeight(), pw);
  EXPECT_EQ(pp.Font.pixelSize(), 26);

  pp.SetPaperType(pLetter);  // landscape letter, in 0.1 mm
  EXPECT_EQ(pp.PaperWidth(), 2794);
  EXPECT_EQ(pp.PaperHeight(), 2159);

  pp.SetPaperWidth(40000);
  EXPECT_EQ(pp.PaperWidth(), 32767);
  EXPECT_EQ(pp.PaperType(), pCustom);
  pp.SetPaperWidth(0);
  EXPECT_EQ(pp.PaperWidth(), 1);
  EXPECT_GE(pp.PagePixelWidth(), 1);
  pp.SetPaperWidth(1000);
  pp.SetUnits(mmHiMetric);  // a custom size is converted
  EXPECT_EQ(pp.PaperWidth(), 10000);
  EXPECT_EQ(pp.PaperHeight(), 21590);

  // The paper is not changed while a document is being recorded.
  pp.BeginDoc();
  pp.SetPaperType(pA3);
  pp.SetOrientation(poPortrait);
  EXPECT_EQ(pp.PaperType(), pCustom);
  EXPECT_EQ(pp.PaperWidth(), 10000);
  pp.EndDoc();
}

TEST(Apercu, ZoomSizesTheSheetAndFitKeepsTheAspect) {
  Apercu a;
  TPrintPreview& pp = a.pp;
  enregistrer(pp, 1);
  pp.SetZoom(50);
  EXPECT_EQ(pp.ZoomState(), zsZoomOther);
  EXPECT_EQ(pp.Sheet().width(), MulDiv(pp.PagePixelWidth(), 50, 100) + 5);
  EXPECT_EQ(pp.Sheet().height(), MulDiv(pp.PagePixelHeight(), 50, 100) + 5);
  pp.SetZoom(0);
  EXPECT_EQ(pp.Zoom(), 1);

  pp.SetZoomState(zsZoomToFit);
  a.resize_zone(600, 400);
  EXPECT_FALSE(pp.CanScrollHorz());
  EXPECT_FALSE(pp.CanScrollVert());
  EXPECT_FALSE(pp.horizontalScrollBar()->isVisible());
  EXPECT_FALSE(pp.verticalScrollBar()->isVisible());
  EXPECT_EQ(pp.Sheet().cursor().shape(), Qt::ArrowCursor);  // nothing to drag
  const QRect page = pp.Sheet().PageRect();
  EXPECT_LE(pp.Sheet().height(), 400 - 2 * TPrintPreview::kMarge);
  EXPECT_NEAR(page.height() * static_cast<double>(pp.PagePixelWidth()) / pp.PagePixelHeight(), page.width(), 1.0);

  // Width fit of a portrait page: the sheet fills the width and scrolls down.
  pp.SetZoomState(zsZoomToWidth);
  EXPECT_TRUE(pp.CanScrollVert());
  EXPECT_FALSE(pp.CanScrollHorz());
  EXPECT_EQ(pp.Sheet().x() + pp.Sheet().width() + TPrintPreview::kMarge, pp.viewport()->width());

  // A zero area leaves everything as it was.
  a.resize_zone(0, 0);
  pp.SetZoom(300);
  a.resize_zone(1, 1);
  SUCCEED();
}

TEST(Apercu, PagesShowTheSheetAndPageKeysTurnThem) {
  Apercu a;
  TPrintPreview& pp = a.pp;
  int changes = 0;
  pp.OnChange = [&] { ++changes; };
  EXPECT_EQ(pp.CurrentPage(), 0);
  EXPECT_FALSE(pp.Sheet().isVisible());
  enregistrer(pp, 1);
  EXPECT_EQ(pp.CurrentPage(), 1);
  EXPECT_TRUE(pp.Sheet().isVisible());
  EXPECT_GT(changes, 0);

  enregistrer(pp, 3);
  EXPECT_EQ(pp.TotalPages(), 3);
  EXPECT_EQ(pp.CurrentPage(), 1);
  QKeyEvent suivante(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
  QApplication::sendEvent(&pp, &suivante);
  EXPECT_EQ(pp.CurrentPage(), 2);
  QKeyEvent premiere(QEvent::KeyPress, Qt::Key_PageUp, Qt::ControlModifier);
  QApplication::sendEvent(&pp, &premiere);
  EXPECT_EQ(pp.CurrentPage(), 1);
  QKeyEvent derniere(QEvent::KeyPress, Qt::Key_PageDown, Qt::ControlModifier);
  QApplication::sendEvent(&pp, &derniere);
  EXPECT_EQ(pp.CurrentPage(), 3);
  pp.SetCurrentPage(99);
  EXPECT_EQ(pp.CurrentPage(), 3);

  // The sheet shows the current page: page 3's bar is wider than page 1's.
  auto noirs = [&] {
    const QImage img = pp.Sheet().Picture().toImage();
    const int y = pp.Sheet().PageRect().top() + 2;
    int n = 0;
    for (int x = 0; x < img.width(); ++x) n += qGray(img.pixel(x, y)) < 64;
    return n;
  };
  const int trois = noirs();
  pp.SetCurrentPage(1);
  EXPECT_NEAR(noirs() * 3, trois, 6);

  pp.Pages().Clear();
  EXPECT_EQ(pp.CurrentPage(), 0);
  EXPECT_FALSE(pp.Sheet().isVisible());
}

TEST(Apercu, ScrollKeysAndDraggingTheSheet) {
  Apercu a;
  TPrintPreview& pp = a.pp;
  enregistrer(pp, 1);
  pp.SetZoom(200);
  ASSERT_TRUE(pp.CanScrollHorz());
  ASSERT_TRUE(pp.CanScrollVert());
  QScrollBar* h = pp.horizontalScrollBar();
  QScrollBar* v = pp.verticalScrollBar();
  QKeyEvent fin(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
  QApplication::sendEvent(&pp, &fin);
  EXPECT_EQ(v->value(), v->maximum());
  EXPECT_EQ(h->value(), 0);
  QKeyEvent debut(QEvent::KeyPress, Qt::Key_Home, Qt::NoModifier);
  h->setValue(50);
  QApplication::sendEvent(&pp, &debut);
  EXPECT_EQ(h->value(), 0);
  EXPECT_EQ(v->value(), v->maximum());

  h->setValue(100);
  v->setValue(100);
  QWidget& s = pp.Sheet();
  QMouseEvent appui(QEvent::MouseButtonPress, QPointF(50, 50), s.mapToGlobal(QPointF(50, 50)), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&s, &appui);
  QMouseEvent glisse(QEvent::MouseMove, QPointF(30, 40), s.mapToGlobal(QPointF(30, 40)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&s, &glisse);
  EXPECT_EQ(h->value(), 120);
  EXPECT_EQ(v->value(), 110);
  EXPECT_EQ(s.cursor().shape(), Qt::OpenHandCursor);

  // The scroll position is kept, as a share of the range, across a zoom.
  h->setValue(h->maximum() / 2);
  pp.SetZoom(300);
  EXPECT_NEAR(h->value(), h->maximum() / 2, h->maximum() / 50 + 1);
}

TEST(Apercu, SheetFrameShadowAndPaper) {
  Apercu a;
  TPrintPreview& pp = a.pp;
  pp.PaperView().SetShadowColor(Qt::blue);
  pp.PaperView().SetBorderColor(Qt::red);
  pp.PaperView().SetBorderWidth(2);
  enregistrer(pp, 1);
  TPaperPreview& s = pp.Sheet();
  const QImage img = s.Picture().toImage();
  const int w = s.width(), hgt = s.height();
  EXPECT_EQ(img.pixelColor(0, hgt / 2), QColor(Qt::red));
  EXPECT_EQ(img.pixelColor(1, hgt / 2), QColor(Qt::red));
  EXPECT_EQ(img.pixelColor(w - 4, hgt / 2), QColor(Qt::red));   // right edge of the frame
  EXPECT_EQ(img.pixelColor(w - 1, hgt / 2), QColor(Qt::blue));  // shadow
  EXPECT_EQ(img.pixelColor(w / 2, hgt - 1), QColor(Qt::blue));
  EXPECT_NE(img.pixelColor(w - 1, 0), QColor(Qt::blue));        // corner in the background
  EXPECT_EQ(img.pixelColor(w / 2, hgt * 3 / 4), QColor(Qt::white));
  EXPECT_EQ(s.PageRect(), QRect(QPoint(2, 2), QPoint(w - 6, hgt - 6)));

  // Options fire their change only on a different value; Assign copies them.
  TPaperPreviewOptions o;
  int n = 0;
  o.OnChange = [&] { ++n; };
  o.SetBorderWidth(1);
  EXPECT_EQ(n, 0);
  o.Assign(pp.PaperView());
  EXPECT_EQ(n, 3);
  EXPECT_EQ(o.BorderWidth(), 2);
}

TEST(Apercu, PageListInTemporaryFileAndBack) {
  Apercu a;
  TPrintPreview& pp = a.pp;
  pp.SetUseTempFile(true);
  enregistrer(pp, 2);
  const QString nom = pp.Pages().TempFileName();
  ASSERT_FALSE(nom.isEmpty());
  EXPECT_TRUE(QFileInfo(nom).fileName().startsWith("TMP"));
  EXPECT_EQ(QFileInfo(nom).absolutePath(), QFileInfo(QDir::tempPath()).absoluteFilePath());
  EXPECT_TRUE(QFile::exists(nom));
  const QImage p1 = rejouer(pp.Pages().GetMetaFile(0));
  const QImage p2 = rejouer(pp.Pages().GetMetaFile(1));
  EXPECT_NE(p1, p2);

  pp.SetUseTempFile(false);
  EXPECT_FALSE(QFile::exists(nom));
  ASSERT_EQ(pp.TotalPages(), 2);
  EXPECT_EQ(rejouer(pp.Pages().GetMetaFile(0)), p1);
  EXPECT_EQ(rejouer(pp.Pages().GetMetaFile(1)), p2);
  EXPECT_TRUE(pp.Pages().GetMetaFile(2).isNull());
  EXPECT_TRUE(pp.Pages().GetMetaFile(-1).isNull());

  pp.SetUseTempFile(true);
  const QString nom2 = pp.Pages().TempFileName();
  EXPECT_TRUE(QFile::exists(nom2));
  EXPECT_EQ(rejouer(pp.Pages().GetMetaFile(1)), p2);
  pp.Pages().Clear();
  EXPECT_FALSE(QFile::exists(nom2));
}

TEST(Apercu, RecordingEventsAndCanvas) {
  Apercu a;
  TPrintPreview& pp = a.pp;
  QStringList journal;
  pp.OnBeginDoc = [&] { journal << "begin"; };
  pp.OnNewPage = [&] { journal << "page"; };
  pp.OnEndDoc = [&] { journal << "end"; };
  EXPECT_EQ(pp.GetCanvas(), nullptr);
  pp.BeginDoc();
  EXPECT_EQ(pp.State(), psCreating);
  QPainter* c = pp.GetCanvas();
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->window(), QRect(0, 0, 21000, 29700));
  EXPECT_EQ(c->font().pixelSize(), 260);
  pp.BeginDoc();  // ignored while recording
  c->setPen(QPen(Qt::black, 50));
  pp.SetUnits(mmLoMetric);
  EXPECT_EQ(pp.GetCanvas()->pen().width(), 5);
  EXPECT_EQ(pp.GetCanvas()->window(), QRect(0, 0, 2100, 2970));
  EXPECT_EQ(pp.GetCanvas()->font().pixelSize(), 26);
  pp.EndDoc();
  pp.EndDoc();
  EXPECT_EQ(pp.State(), psReady);
  EXPECT_EQ(journal, QStringList({"begin", "page", "end"}));
  EXPECT_EQ(pp.GetCanvas(), nullptr);
}

TEST(Apercu, PrintsPagesIntoAPdfWithProgress) {
  POPPLER_REQUIS();
  QTemporaryDir dossier;
  Apercu a;
  TPrintPreview& pp = a.pp;
  pp.SetUnits(mmLoMetric);
  pp.SetOrientation(poLandscape);
  enregistrer(pp, 1);
  QPrinter imprimante(QPrinter::HighResolution);
  imprimante.setOutputFormat(QPrinter::PdfFormat);
  const QString pdf = dossier.filePath("page.pdf");
  imprimante.setOutputFileName(pdf);
  pp.SetPrinter(&imprimante);
  std::vector<int> progres;
  QStringList journal;
  pp.OnPrintProgress = [&](int page, int pct, bool&) { progres.push_back(page * 1000 + pct); };
  pp.OnBeforePrint = [&] { journal << "before"; };
  pp.OnAfterPrint = [&] { journal << "after"; };
  pp.OnAbort = [&] { journal << "abort"; };
  pp.PrintPages(0, 99);
  EXPECT_EQ(progres, std::vector<int>({1000, 1100}));
  EXPECT_EQ(journal, QStringList({"before", "after"}));
  EXPECT_FALSE(pp.Aborted());
  EXPECT_EQ(pp.State(), psReady);
  EXPECT_EQ(pages_pdf(pdf), 1);
  EXPECT_TRUE(executer("pdfinfo", {pdf}).contains("842 x 595"));
  EXPECT_EQ(imprimante.outputFileName(), pdf);

  // Nothing prints with an empty range or no printer.
  QFile::remove(pdf);
  enregistrer(pp, 3);
  pp.PrintPages(3, 2);
  pp.SetPrinter(nullptr);
  pp.Print();
  EXPECT_FALSE(QFile::exists(pdf));
  pp.SetPrinter(&imprimante);
  pp.Print();
  EXPECT_EQ(pages_pdf(pdf), 3);

  // A custom paper goes to the printer in millimetres, in the page's orientation.
  pp.SetPaperWidth(1500);
  pp.SetPaperHeight(1000);
  enregistrer(pp, 1);
  pp.Print();
  const QString info = executer("pdfinfo", {pdf});
  EXPECT_TRUE(info.contains(QRegularExpression(R"(Page size:\s+425(\.\d+)? x 283(\.\d+)? pts)"))) << info.toStdString();
}

TEST(Apercu, AbortedRunLeavesNoPdfAndFiresAbort) {
  QTemporaryDir dossier, temporaire;
  // The run's temporary files go to a folder of this test's own.
  const QByteArray tmpdir = qgetenv("TMPDIR");
  qputenv("TMPDIR", temporaire.path().toLocal8Bit());
  struct Retour {
    QByteArray v;
    ~Retour() { v.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", v); }
  } retour{tmpdir};
  Apercu a;
  TPrintPreview& pp = a.pp;
  enregistrer(pp, 2);
  QPrinter imprimante;
  imprimante.setOutputFormat(QPrinter::PdfFormat);
  const QString pdf = dossier.filePath("abandon.pdf");
  imprimante.setOutputFileName(pdf);
  pp.SetPrinter(&imprimante);
  int appels = 0;
  QStringList journal;
  pp.OnPrintProgress = [&](int, int, bool& abandon) {
    ++appels;
    abandon = true;
  };
  pp.OnAfterPrint = [&] { journal << "after"; };
  pp.OnAbort = [&] { journal << "abort"; };
  pp.Print();
  EXPECT_EQ(appels, 1);
  EXPECT_TRUE(pp.Aborted());
  EXPECT_EQ(journal, QStringList({"abort"}));
  EXPECT_FALSE(QFile::exists(pdf));
  EXPECT_EQ(pp.State(), psReady);
  const QStringList restes = QDir(temporaire.path()).entryList(QDir::Files);
  EXPECT_TRUE(restes.isEmpty()) << restes.join(' ').toStdString();

  // A file that cannot be written is reported, and the run counts as aborted.
  pp.OnPrintProgress = nullptr;
  QString erreur;
  pp.OnPrintError = [&](const QString& m) { erreur = m; };
  imprimante.setOutputFileName(dossier.filePath("missing/folder/x.pdf"));
  pp.Print();
  EXPECT_TRUE(pp.Aborted());
  EXPECT_FALSE(erreur.isEmpty());
}

TEST(Apercu, BitmapPrintingMatchesTheVectorPage) {
  POPPLER_REQUIS();
  QTemporaryDir dossier;
  Apercu a;
  TPrintPreview& pp = a.pp;
  pp.SetUnits(mmLoMetric);
  pp.BeginDoc();
  QPainter* c = pp.GetCanvas();
  c->setPen(QPen(Qt::black, 20));
  c->drawRect(200, 150, 1600, 2500);
  c->fillRect(400, 400, 800, 600, Qt::darkGray);
  pp.EndDoc();
  QPrinter imprimante(QPrinter::HighResolution);  // a device far finer than the page's pixels
  imprimante.setOutputFormat(QPrinter::PdfFormat);
  pp.SetPrinter(&imprimante);
  auto imprimer = [&](bool rapide) {
    const QString pdf = dossier.filePath(rapide ? "rapide.pdf" : "image.pdf");
    imprimante.setOutputFileName(pdf);
    pp.FastPrint = rapide;
    pp.Print();
    const QString base = dossier.filePath(rapide ? "rapide" : "image");
    executer("pdftoppm", {"-r", "100", "-gray", "-singlefile", pdf, base});
    return QImage(base + ".pgm");
  };
  const QImage rapide = imprimer(true), image = imprimer(false);
  ASSERT_FALSE(rapide.isNull());
  ASSERT_EQ(rapide.size(), image.size());
  double somme = 0;
  for (int y = 0; y < rapide.height(); ++y)
    for (int x = 0; x < rapide.width(); ++x) somme += std::abs(qGray(rapide.pixel(x, y)) - qGray(image.pixel(x, y)));
  EXPECT_LT(somme / (rapide.width() * rapide.height()), 2.0);
  // The grey block is where it was drawn: 100 px per inch, 4 mm in.
  EXPECT_LT(qGray(rapide.pixel(MulDiv(800, 100, 254), MulDiv(700, 100, 254))), 200);
}
