// The Qt file dialogs of the document commands, built but not run.
#include <gtest/gtest.h>

#include <QFileDialog>

#include "app/dialogues_qt.h"

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

}  // namespace
