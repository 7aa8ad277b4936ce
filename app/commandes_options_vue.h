// "View options ..." (F8, the Adjust button, the view window's "Adjustements
// ..." request): fills the view options dialog from the main window's
// documents, runs it through a replaceable hook and applies what it returns.
#pragma once

#include <cstdint>
#include <functional>

#include "app/etat_documents.h"
#include "app/hote_commandes.h"

namespace dialogs {
struct EntreesOptionsVue;
struct SortiesOptionsVue;
}  // namespace dialogs

class CommandesMontagne;

class CommandesOptionsVue {
 public:
  // Runs the dialog: 1 for OK (the outputs are then set), 2 for Cancel; the
  // page shown last is set in both cases.
  using Executer = std::function<int(const dialogs::EntreesOptionsVue&, dialogs::SortiesOptionsVue&)>;

  // What OK asks of the views goes to `montagnes`.
  CommandesOptionsVue(etat_documents& etat, HoteOptionsVue& hote, CommandesMontagne& montagnes);

  void options_vue();
  // What the dialog is given.
  dialogs::EntreesOptionsVue entrees() const;
  // What OK changes.
  void appliquer(const dialogs::SortiesOptionsVue& s);

  Executer executer;              // the real dialog unless replaced (tests)
  std::uint16_t page_options = 1;  // the page shown last, kept between openings

 private:
  etat_documents& e_;
  HoteOptionsVue& w_;
  CommandesMontagne& montagnes_;
};
