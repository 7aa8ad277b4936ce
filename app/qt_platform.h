// Glue between the platform message layer, the model's questions and Qt.
#pragma once

#include <QMessageBox>
#include <QPointer>
#include <memory>
#include <string>

#include "model/interfaces.h"

// Makes posted messages reach their windows through the Qt event loop.
void install_message_pump();

// The message box of a question (Yes and No, No by default) or of a warning
// (exclamation icon, OK), built but not run. Texts are UTF-8, as the program's
// strings are.
std::unique_ptr<QMessageBox> construire_boite_message(const std::string& text, const std::string& caption,
                                                      bool question, QWidget* parent);

// Questions and warnings in modal message boxes owned by the active window,
// or by the main window when the active one can go away while the box is
// open (proprietaire_boite).
class QtUserInterface : public UserInterface {
 public:
  void fixer_principale(QWidget* principale) { principale_ = principale; }
  bool ask_yes_no(const std::string& text, const std::string& caption) override;
  void warn(const std::string& text, const std::string& caption) override;
  void inform(const std::string& text, const std::string& caption) override;

 private:
  QWidget* proprietaire() const;
  QPointer<QWidget> principale_;
};
