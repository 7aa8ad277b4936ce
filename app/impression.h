// The print page of a view: one landscape A4 page in the print preview, with a
// frame, the view's picture centred near the top, the view's title and
// picture size, and up to ten lines of the mountain's comment. The form shows
// the page and prints it on the printer the user chooses.
#pragma once

#include <QDialog>
#include <QImage>
#include <QStringList>
#include <functional>
#include <memory>

#include "components/apercu.h"

class QLabel;
class QPrintDialog;
class QPrinter;
class QPushButton;

// Asks the user for a printer and its settings on `imprimante`; true on OK.
using ChoixImprimante = std::function<bool(QPrinter& imprimante, QWidget* parent)>;
// The program's chooser: the platform's print dialog (dialogue_imprimante), run.
bool choisir_imprimante_qt(QPrinter& imprimante, QWidget* parent);
// The platform's print dialog on `imprimante`, built but not run, its PDF
// file guarded (garder_fichier_pdf) and the file dialog that chooses it
// without drag and drop (fenetres::garder_dialogues_fichier).
std::unique_ptr<QPrintDialog> dialogue_imprimante(QPrinter& imprimante, QWidget* parent);
// Qt's print dialog tries the PDF's file, when OK is pressed, by opening it
// for writing: on a named pipe that open waits, the program frozen, until
// something reads the pipe. With this guard OK first asks what the file
// named is, without opening it: a pipe, a device, a socket or a folder (also
// through a link), or a write-protected file, is refused at once ("The PDF
// file ... cannot be written: a named pipe is not a regular file") and the
// dialog stays up; any other file goes on to Qt's own checks.
void garder_fichier_pdf(QPrintDialog& dialogue);

// The view's title on the page: the caption from its 12th character, less its
// last four ("View #  1 :  mount.vue" gives "  mount"); empty for a caption of
// 15 characters or fewer.
QString titre_impression(const QString& caption);

// What the page shows.
struct ContenuPage {
  QImage image;
  QString titre, taille;
  QStringList lignes;
};

// Composes the page in `pp` (in its Units and paper size) as one document.
void composer_page(components::TPrintPreview& pp, const ContenuPage& c);

class TPreview_print : public QDialog {
 public:
  static constexpr int kLignesMax = 10;

  explicit TPreview_print(QWidget* parent = nullptr);

  // Stores the page's title, size text and picture and forgets earlier lines.
  void Setup(const QString& titre, const QString& taille, const QImage& image);
  // Adds a comment line while fewer than ten are held.
  void AddLine(const QString& ligne);
  // Composes the page.
  void FormActivate();
  // "Print ...": unless printing already, the printer chooser, then the pages.
  void ImprimerClick();

  // The printer the page goes to and how it is chosen (not owned).
  void utiliser_imprimante(QPrinter* imprimante, ChoixImprimante choix);

  const ContenuPage& contenu() const { return contenu_; }
  components::TPrintPreview* PrintPreview = nullptr;
  QLabel* titre = nullptr;
  QPushButton* Imprimer = nullptr;
  QPushButton* BitBtn_fermer = nullptr;

 private:
  ContenuPage contenu_;
  QPrinter* imprimante_ = nullptr;
  ChoixImprimante choix_;
};
