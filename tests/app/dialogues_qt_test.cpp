// The Qt file dialogs of the document commands, built but not run.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include "app/dialogues_qt.h"
#include "app/impression.h"
#include "tests/support/fakes.h"

namespace {

TEST(DialoguesQt, SaveDialogsTitlesFiltersAndSuffixes) {
  struct Cas {
    DialogueSauvegarde genre;
    QString titre, filtre, suffixe;
  } cas[] = {
      {DialogueSauvegarde::montagne, "Save a mountain", "mountain (*.mat)", "mat"},
      {DialogueSauvegarde::vue, "Save a mountain and its image", "View (*.vue) and its picture JPEG or BMP) (*.vue)", "vue"},
      {DialogueSauvegarde::video, "Save a mountain, image and associated video ",
       "File (*.vid) and its video AVI ou MPEG) (*.vid)", "vid"},
  };
  for (const auto& c : cas) {
    auto d = construire_dialogue_sauvegarde(c.genre, nullptr);
    EXPECT_EQ(d->windowTitle(), c.titre);
    EXPECT_EQ(d->nameFilters(), QStringList{c.filtre});
    EXPECT_EQ(d->defaultSuffix(), c.suffixe);
    EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_FALSE(d->testOption(QFileDialog::DontConfirmOverwrite)) << "asks before overwriting";
  }
}

TEST(DialoguesQt, OpenDialogStartsOnViews) {
  auto d = construire_dialogue_ouverture(nullptr);
  EXPECT_EQ(d->windowTitle(), "Ouverture d'un fichier");
  EXPECT_EQ(d->nameFilters(), (QStringList{"Mountain (*.mat)", "Vue (*.vue)", "Video (*.vid)"}));
  EXPECT_EQ(d->selectedNameFilter(), "Vue (*.vue)");
  EXPECT_EQ(d->defaultSuffix(), "mat");
  EXPECT_EQ(d->fileMode(), QFileDialog::ExistingFile);
}

// The name typed is the file chosen, whole: blanks, accents and single quotes
// pass; a double quote, which the toolkit would read as a list of names, is
// refused with a message and the dialog stays open on no other file; a name
// of blanks only is refused too.
TEST(DialoguesQt, ATypedNameIsTakenWholeOrRefused) {
  QTemporaryDir dossier;
  ScopedFakeUserInterface ui;
  auto taper = [&](QFileDialog& d, const QString& nom) {
    d.setDirectory(dossier.path());
    auto* saisie = d.findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(saisie, nullptr);
    // Typing into the name box drops the list's selection (the box has the focus then).
    if (auto* liste = d.findChild<QListView*>("listView")) liste->clearSelection();
    saisie->setText(nom);
    d.setResult(0);
    static_cast<QDialog&>(d).accept();  // as the dialog's Save or Open button does
  };
  auto sauvegarde = construire_dialogue_sauvegarde(DialogueSauvegarde::vue, nullptr);
  taper(*sauvegarde, QString::fromUtf8("saved é ü 'q' \"d\".vue"));
  EXPECT_NE(sauvegarde->result(), QDialog::Accepted);
  ASSERT_EQ(ui.entries.size(), 1u);
  EXPECT_EQ(ui.entries[0].caption, "Save a mountain and its image");
  EXPECT_NE(ui.entries[0].text.find("saved é ü 'q' \"d\".vue"), std::string::npos);
  taper(*sauvegarde, "c\"");
  EXPECT_NE(sauvegarde->result(), QDialog::Accepted);
  // Blanks only, alone or before the extension: refused in every save dialog as an empty name is, without a word.
  const std::size_t messages = ui.entries.size();
  for (auto genre : {DialogueSauvegarde::montagne, DialogueSauvegarde::vue, DialogueSauvegarde::video})
    for (const char* blanc : {" ", " \t ", " ."}) {
      auto d = construire_dialogue_sauvegarde(genre, nullptr);
      taper(*d, blanc == std::string(" .") ? blanc + d->defaultSuffix() : blanc);
      EXPECT_NE(d->result(), QDialog::Accepted) << d->windowTitle().toStdString() << " [" << blanc << "]";
    }
  EXPECT_EQ(ui.entries.size(), messages);
  taper(*sauvegarde, QString::fromUtf8("saved é ü 'q'"));
  EXPECT_EQ(sauvegarde->result(), QDialog::Accepted);
  EXPECT_EQ(sauvegarde->selectedFiles(), QStringList{dossier.path() + QString::fromUtf8("/saved é ü 'q'.vue")});

  for (const char* n : {"a.vue", "b.vue", "it's é.vue"}) {
    QFile f(dossier.path() + "/" + QString::fromUtf8(n));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  ui.entries.clear();
  auto ouverture = construire_dialogue_ouverture(nullptr);
  taper(*ouverture, "\"a.vue\" \"b.vue\"");
  EXPECT_NE(ouverture->result(), QDialog::Accepted);
  EXPECT_EQ(ui.entries.size(), 1u);
  taper(*ouverture, QString::fromUtf8("it's é.vue"));
  EXPECT_EQ(ouverture->result(), QDialog::Accepted);
  EXPECT_EQ(ouverture->selectedFiles(), QStringList{dossier.path() + QString::fromUtf8("/it's é.vue")});
}

// No list of any file dialog (its builders', and the print dialog's "..." for
// the PDF) drags or takes a drop; New Folder stays. (A real drag: shot-gallery.sh.)
TEST(DialoguesQt, NoListOfAnyFileDialogDragsOrTakesDrops) {
  auto sans_glisser = [](QFileDialog& d) {
    d.show();
    for (QAbstractItemView* v : d.findChildren<QAbstractItemView*>()) {
      EXPECT_EQ(v->dragDropMode(), QAbstractItemView::NoDragDrop) << v->objectName().toStdString();
      EXPECT_FALSE(v->dragEnabled() || v->acceptDrops() || v->viewport()->acceptDrops());
    }
    EXPECT_TRUE(d.findChild<QToolButton*>("newFolderButton")->isEnabled());
  };
  for (auto genre : {DialogueSauvegarde::montagne, DialogueSauvegarde::vue, DialogueSauvegarde::video})
    sans_glisser(*construire_dialogue_sauvegarde(genre, nullptr));
  sans_glisser(*construire_dialogue_ouverture(nullptr));
  sans_glisser(*construire_dialogue_parcours(nullptr));
  sans_glisser(*construire_dialogue_import(nullptr));
  QPrinter imprimante;
  imprimante.setOutputFormat(QPrinter::PdfFormat);
  auto impression = dialogue_imprimante(imprimante, nullptr);
  impression->open();
  QFileDialog* pdf = nullptr;
  QTimer::singleShot(0, [&] {
    pdf = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!pdf) return;
    sans_glisser(*pdf);
    pdf->reject();
  });
  impression->findChild<QToolButton*>("fileBrowser")->click();
  EXPECT_NE(pdf, nullptr);
}

}  // namespace
