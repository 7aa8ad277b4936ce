// Glue between the platform message layer, the model's questions and Qt.
#pragma once

#include "model/interfaces.h"

// Makes posted messages reach their windows through the Qt event loop.
void install_message_pump();

// Questions and warnings in modal message boxes owned by the active window.
class QtUserInterface : public UserInterface {
 public:
  bool ask_yes_no(const std::string& text, const std::string& caption) override;
  void warn(const std::string& text, const std::string& caption) override;
};
