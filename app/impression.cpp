// The print page: its composition, the form that shows it, and the printer dialog.
#include "app/impression.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMetaMethod>
#include <QPrintDialog>
#include <QRegularExpression>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "fenetres/dialogue_fichier.h"
#include "model/aleatoire.h"
#include "model/interfaces.h"
#include "platform/fichiers.h"

using namespace components;

bool choisir_imprimante_qt(QPrinter& imprimante, QWidget* parent) {
  return dialogue_imprimante(imprimante, parent)->exec() == QDialog::Accepted;
}

std::unique_ptr<QPrintDialog> dialogue_imprimante(QPrinter& imprimante, QWidget* parent) {
  auto d = std::make_unique<QPrintDialog>(&imprimante, parent);
  garder_fichier_pdf(*d);
  // Its "..." button opens the toolkit's file dialog for the PDF's file.
  fenetres::garder_dialogues_fichier(*d);
  return d;
}

void garder_fichier_pdf(QPrintDialog& d) {
  // The dialog's OK goes to its private slot that checks the fields, then
  // accepts; the file's line is enabled only while the PDF is chosen. Where
  // the dialog is not made so (another platform's), it is left as it is.
  auto* boutons = d.findChild<QDialogButtonBox*>();
  auto* fichier = d.findChild<QLineEdit*>(QStringLiteral("filename"));
  const QMetaMethod verification = d.metaObject()->method(d.metaObject()->indexOfMethod("_q_checkFields()"));
  if (!boutons || !fichier || !verification.isValid()) return;
  QObject::disconnect(boutons, &QDialogButtonBox::accepted, &d, nullptr);
  QObject::connect(boutons, &QDialogButtonBox::accepted, &d, [&d, fichier, verification] {
    if (fichier->isEnabled()) {
      const Echec refus = refus_ecriture(QFile::encodeName(fichier->text()).toStdString());
      if (!refus.empty()) {
        warn("The PDF file " + fichier->text().toStdString() + " cannot be written: " + refus, "Quorvel");
        return;
      }
    }
    verification.invoke(&d);
  });
}

QString titre_impression(const QString& caption) {
  // The view's caption after "View #  n :", without the document's extension:
  // the dot and three letters are dropped only when the caption ends with them
  // (a new or imported mountain has none, and a long caption was cut before it).
  QString titre = caption.mid(11);
  static const QRegularExpression extension(QStringLiteral("\\.[A-Za-z0-9]{3}$"));
  if (titre.size() > 4 && extension.match(titre).hasMatch()) titre.chop(4);
  return titre;
}

namespace {

// "Arial" of a height in page units; fontconfig stands in when it is missing.
QFont police(int hauteur, bool gras) {
  QFont f("Arial");
  f.setPixelSize(std::max(1, hauteur));
  f.setBold(gras);
  return f;
}

// Text with its cell's top-left corner at (x, y).
void ecrire(QPainter& p, double x, double y, const QString& texte) {
  p.drawText(QPointF(x, y + QFontMetricsF(p.font()).ascent()), texte);
}

}  // namespace

void composer_page(TPrintPreview& pp, const ContenuPage& c) {
  auto mm100 = [&pp](int v) { return pp.ConvertUnits(v, mmHiMetric, pp.Units()); };
  pp.BeginDoc();
  QPainter& p = *pp.GetCanvas();
  const int largeur = pp.PaperWidth(), hauteur = pp.PaperHeight();

  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::white);
  const QPoint coin(mm100(2000), mm100(1500));
  const QPoint coin_oppose(largeur - mm100(2000), hauteur - mm100(1400));
  p.drawRect(QRect(coin, coin_oppose - QPoint(1, 1)));

  // Pictures beyond 800 x 600 pixels are printed at half size.
  const int diviseur = c.image.width() > 800 || c.image.height() > 600 ? 2 : 1;
  const int li = pp.ScreenToUnits(c.image.width()) / diviseur;
  const int hi = pp.ScreenToUnits(c.image.height()) / diviseur;
  const QRect image((largeur - li) / 2, mm100(1700), li, hi);
  if (!c.image.isNull() && li > 0 && hi > 0) p.drawImage(image, c.image);

  QRect zone(QPoint(image.left(), image.top() + hi),
             QPoint(largeur - mm100(2000) - 1, hauteur - mm100(1500) - 1));
  p.setFont(police(mm100(500), true));
  ecrire(p, zone.left(), zone.top(), c.titre);
  p.setFont(police(mm100(400), false));
  ecrire(p, zone.left() + 1400, zone.top(), c.taille);
  zone.setRight(zone.right() - 1400);

  int y = zone.top() + Round(1.5 * QFontMetricsF(p.font()).height());
  p.setFont(police(mm100(300), false));
  const int interligne = std::max(1, Round(QFontMetricsF(p.font()).height()));
  p.save();
  p.setClipRect(zone);
  for (const QString& ligne : c.lignes) {
    if (y + interligne > zone.bottom() + 1) break;
    ecrire(p, zone.left(), y, ligne);
    y += interligne;
  }
  p.restore();
  pp.EndDoc();
}

TPreview_print::TPreview_print(QWidget* parent) : QDialog(parent) {
  resize(605, 527);
  setWindowTitle("Preview printing");
  auto* haut = new QWidget(this);
  haut->setFixedHeight(41);
  titre = new QLabel(haut);
  Imprimer = new QPushButton("Print ...", haut);
  BitBtn_fermer = new QPushButton("Close", haut);
  auto* l = new QHBoxLayout(haut);
  l->setContentsMargins(24, 4, 8, 4);
  l->addWidget(titre, 1);
  l->addWidget(Imprimer);
  l->addWidget(BitBtn_fermer);
  PrintPreview = new TPrintPreview(this);
  PrintPreview->SetUnits(mmLoMetric);
  PrintPreview->SetOrientation(poLandscape);
  auto* v = new QVBoxLayout(this);
  v->setContentsMargins(0, 0, 0, 0);
  v->setSpacing(0);
  v->addWidget(haut);
  v->addWidget(PrintPreview, 1);
  connect(Imprimer, &QPushButton::clicked, this, [this] { ImprimerClick(); });
  connect(BitBtn_fermer, &QPushButton::clicked, this, &QDialog::close);
}

void TPreview_print::Setup(const QString& t, const QString& taille, const QImage& image) {
  contenu_.titre = t;
  contenu_.taille = taille;
  contenu_.image = image;
  contenu_.lignes.clear();
  setWindowTitle("Prview of the image " + t);
  titre->setText("Image " + t + "    " + taille);
}

void TPreview_print::AddLine(const QString& ligne) {
  if (contenu_.lignes.size() < kLignesMax) contenu_.lignes << ligne;
}

void TPreview_print::FormActivate() {
  composer_page(*PrintPreview, contenu_);
  update();
}

void TPreview_print::utiliser_imprimante(QPrinter* imprimante, ChoixImprimante choix) {
  imprimante_ = imprimante;
  choix_ = std::move(choix);
  PrintPreview->SetPrinter(imprimante);
}

void TPreview_print::ImprimerClick() {
  if (PrintPreview->State() == psPrinting || !imprimante_) return;
  const bool ok = choix_ ? choix_(*imprimante_, this) : choisir_imprimante_qt(*imprimante_, this);
  if (ok) PrintPreview->Print();
}
