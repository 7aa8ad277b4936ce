// The file dialogs of the document commands in Qt, and the wait cursor.
#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>

#include "app/hote_documents.h"

class QFileDialog;

// The dialogs as the commands use them, built but not run (the tests look at them).
std::unique_ptr<QFileDialog> construire_dialogue_sauvegarde(DialogueSauvegarde genre, QWidget* parent);
std::unique_ptr<QFileDialog> construire_dialogue_ouverture(QWidget* parent);

// The "Scan ..." dialog, built but not run: view documents, several at once.
std::unique_ptr<QFileDialog> construire_dialogue_parcours(QWidget* parent);

// The "Import ..." dialog, built but not run: the four source kinds, each
// pattern in both cases (file names are case-sensitive here).
std::unique_ptr<QFileDialog> construire_dialogue_import(QWidget* parent);

class QtDialoguesDocuments : public DialoguesDocuments {
 public:
  explicit QtDialoguesDocuments(QWidget* parent = nullptr) : parent_(parent) {}
  std::optional<std::string> chemin_sauvegarde(DialogueSauvegarde genre) override;
  std::optional<std::string> chemin_ouverture() override;
  std::vector<std::string> chemins_parcours() override;
  std::optional<std::string> chemin_import() override;
  void curseur_attente(bool actif) override;

 private:
  QPointer<QWidget> parent_;
};
