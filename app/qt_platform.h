// Glue between the platform message layer, the model's questions and Qt.
#pragma once

#include <QMessageBox>
#include <QPointer>
#include <memory>
#include <string>

#include "model/interfaces.h"

// Makes posted messages reach their windows through the Qt event loop.
void install_message_pump();

// The kinds of message box: a warning (exclamation icon, OK); a question
// (Yes and No, No by default, Esc and the close box answer No); a save
// question, whose No throws the user's work away (Yes by default, and Esc and
// the close box do nothing: only Yes or No answers it).
enum class GenreBoite { avertissement, question, sauvegarde };

// The message box of that kind, built but not run. Texts are UTF-8, as the
// program's strings are.
std::unique_ptr<QMessageBox> construire_boite_message(const std::string& text, const std::string& caption,
                                                      GenreBoite genre, QWidget* parent);

// Questions and warnings in modal message boxes owned by the active window,
// or by the main window when the active one can go away while the box is
// open (proprietaire_boite).
class QtUserInterface : public UserInterface {
 public:
  void fixer_principale(QWidget* principale) { principale_ = principale; }
  bool ask_yes_no(const std::string& text, const std::string& caption) override;
  bool ask_save(const std::string& text, const std::string& caption) override;
  void warn(const std::string& text, const std::string& caption) override;
  void inform(const std::string& text, const std::string& caption) override;

 private:
  QWidget* proprietaire() const;
  QPointer<QWidget> principale_;
};
