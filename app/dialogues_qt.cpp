#include "app/dialogues_qt.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>

#include "fenetres/dialogue_fichier.h"
#include "fenetres/fenetre_modale.h"
#include "model/interfaces.h"

namespace {

// A name to save under made of blanks only (spaces, tabs), alone, after a
// folder or before the dialog's own extension, names no document: it would
// be written as " .mat" and read as an empty name.
bool nom_blanc(const QString& saisie, const QString& suffixe) {
  QString nom = saisie.mid(saisie.lastIndexOf(u'/') + 1);
  if (!suffixe.isEmpty() && nom.endsWith(u'.' + suffixe, Qt::CaseInsensitive)) nom.chop(suffixe.size() + 1);
  return !nom.isEmpty() && nom.trimmed().isEmpty();
}

// A dialog for one file: the name typed is the file chosen, whole. The
// toolkit's dialog reads a double quote as the start of a list of names
// ("a" "b"), so that a typed name holding one would give another file; such
// a name is refused with a message and the dialog stays open. A name of
// blanks only is refused in a save dialog as an empty one is: the dialog
// stays open, without a word.
class DialogueUnFichier : public fenetres::DialogueFichier {
 public:
  using fenetres::DialogueFichier::DialogueFichier;

  void accept() override {
    const auto* saisie = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    const QString nom = saisie ? saisie->text() : QString();
    if (acceptMode() == QFileDialog::AcceptSave && nom_blanc(nom, defaultSuffix())) return;
    if (nom.contains(u'"')) {
      warn("The name " + nom.toStdString() +
               " holds a double quote (\"), which a file name cannot hold here: choose another name.",
           windowTitle().toStdString());
      return;
    }
    QFileDialog::accept();
  }
};

// Qt reads a filter's patterns from its last parenthesised group, so each
// description is followed by its own pattern group.
struct Modele {
  const char* titre;
  const char* filtre;
  const char* suffixe;
};

Modele modele(DialogueSauvegarde genre) {
  switch (genre) {
    case DialogueSauvegarde::vue:
      return {"Save a mountain and its image", "View (*.vue) and its picture JPEG or BMP) (*.vue)", "vue"};
    case DialogueSauvegarde::video:
      return {"Save a mountain, image and associated video ", "File (*.vid) and its video AVI ou MPEG) (*.vid)", "vid"};
    case DialogueSauvegarde::montagne:
      break;
  }
  return {"Save a mountain", "mountain (*.mat)", "mat"};
}

// The platform may show the dialog natively, where the toolkit does not know
// it as a modal window: it is marked so for as long as it is up.
int executer_marque(QDialog& d) {
  FenetreModale modale;
  return d.exec();
}

std::optional<std::string> executer(QFileDialog& d) {
  if (executer_marque(d) != QDialog::Accepted || d.selectedFiles().size() != 1) return std::nullopt;
  return QFile::encodeName(d.selectedFiles().first()).toStdString();
}

}  // namespace

std::unique_ptr<QFileDialog> construire_dialogue_sauvegarde(DialogueSauvegarde genre, QWidget* parent) {
  const Modele m = modele(genre);
  auto d = std::make_unique<DialogueUnFichier>(parent, QString::fromUtf8(m.titre));
  d->setAcceptMode(QFileDialog::AcceptSave);
  d->setFileMode(QFileDialog::AnyFile);
  d->setNameFilter(QString::fromUtf8(m.filtre));
  d->setDefaultSuffix(QString::fromUtf8(m.suffixe));
  d->setOption(QFileDialog::DontConfirmOverwrite, false);
  return d;
}

std::unique_ptr<QFileDialog> construire_dialogue_ouverture(QWidget* parent) {
  auto d = std::make_unique<DialogueUnFichier>(parent, QStringLiteral("Ouverture d'un fichier"));
  d->setAcceptMode(QFileDialog::AcceptOpen);
  d->setFileMode(QFileDialog::ExistingFile);
  d->setNameFilters({QStringLiteral("Mountain (*.mat)"), QStringLiteral("Vue (*.vue)"), QStringLiteral("Video (*.vid)")});
  d->selectNameFilter(QStringLiteral("Vue (*.vue)"));
  d->setDefaultSuffix(QStringLiteral("mat"));
  return d;
}

std::optional<std::string> QtDialoguesDocuments::chemin_sauvegarde(DialogueSauvegarde genre) {
  auto d = construire_dialogue_sauvegarde(genre, parent_);
  return executer(*d);
}

std::optional<std::string> QtDialoguesDocuments::chemin_ouverture() {
  auto d = construire_dialogue_ouverture(parent_);
  return executer(*d);
}

std::unique_ptr<QFileDialog> construire_dialogue_parcours(QWidget* parent) {
  auto d = std::make_unique<fenetres::DialogueFichier>(parent, QStringLiteral("Scan ..."));
  d->setAcceptMode(QFileDialog::AcceptOpen);
  d->setFileMode(QFileDialog::ExistingFiles);
  d->setNameFilter(QStringLiteral("Images (*.vue)"));
  return d;
}

std::vector<std::string> QtDialoguesDocuments::chemins_parcours() {
  auto d = construire_dialogue_parcours(parent_);
  std::vector<std::string> noms;
  if (executer_marque(*d) != QDialog::Accepted) return noms;
  for (const QString& f : d->selectedFiles()) noms.push_back(f.toLocal8Bit().toStdString());
  return noms;
}

std::unique_ptr<QFileDialog> construire_dialogue_import(QWidget* parent) {
  auto d = std::make_unique<DialogueUnFichier>(parent, QStringLiteral("Importation"));
  d->setAcceptMode(QFileDialog::AcceptOpen);
  d->setFileMode(QFileDialog::ExistingFile);
  d->setNameFilters({QStringLiteral("Elevation file ASCII-Z (TXT) (*.txt *.TXT)"),
                     QStringLiteral("Digital Elevation File(DEM) (*.dem *.DEM)"),
                     QStringLiteral("File bitmap (BMP) (*.bmp *.BMP)"), QStringLiteral("Geoconcept(MNT) (*.mnt *.MNT)")});
  return d;
}

std::optional<std::string> QtDialoguesDocuments::chemin_import() {
  auto d = construire_dialogue_import(parent_);
  return executer(*d);
}

void QtDialoguesDocuments::curseur_attente(bool actif) {
  if (actif)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}
