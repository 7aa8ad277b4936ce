#include "model/interfaces.h"

#include <iostream>

bool cancel_requested_in_queue(WindowHandle fenetre) {
  return platform::peek(fenetre, platform::WM_CANCEL, platform::WM_CANCEL, true).has_value();
}

namespace {
UserInterface* g_ui = nullptr;
}

void set_user_interface(UserInterface* ui) { g_ui = ui; }
UserInterface* user_interface() { return g_ui; }

bool ask_yes_no(const std::string& text, const std::string& caption) {
  return g_ui ? g_ui->ask_yes_no(text, caption) : false;
}

bool ask_save(const std::string& text, const std::string& caption) {
  return g_ui ? g_ui->ask_save(text, caption) : false;
}

void warn(const std::string& text, const std::string& caption) {
  if (g_ui)
    g_ui->warn(text, caption);
  else
    std::cerr << caption << ": " << text << "\n";
}

void inform(const std::string& text, const std::string& caption) {
  if (g_ui)
    g_ui->inform(text, caption);
  else
    std::cerr << caption << ": " << text << "\n";
}
