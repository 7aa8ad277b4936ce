// "View options ..." (F8, the Adjust button, the view window's "Adjustements
// ..." request): fills the view options dialog from the main window's
// documents, runs it through a replaceable hook and applies what it returns.
#pragma once

#include <cstdint>
#include <functional>

namespace dialogs {
struct EntreesOptionsVue;
struct SortiesOptionsVue;
}  // namespace dialogs

class TBasewindow;

class CommandesOptionsVue {
 public:
  // Runs the dialog: 1 for OK (the outputs are then set), 2 for Cancel; the
  // page shown last is set in both cases.
  using Executer = std::function<int(const dialogs::EntreesOptionsVue&, dialogs::SortiesOptionsVue&)>;

  // Connects the command to its menu item and button; always available.
  explicit CommandesOptionsVue(TBasewindow& w);

  void options_vue();
  // What the dialog is given.
  dialogs::EntreesOptionsVue entrees() const;
  // What OK changes.
  void appliquer(const dialogs::SortiesOptionsVue& s);

  Executer executer;              // the real dialog unless replaced (tests)
  std::uint16_t page_options = 1;  // the page shown last, kept between openings

 private:
  TBasewindow& w_;
};
