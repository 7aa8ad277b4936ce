// The printing commands of the main window: "Print ..." composes the current
// view's page in the print form and shows it; "Printer adjustments ..." lets
// the user choose the printer and its settings, printing nothing. The main
// window keeps one printer and one print form, reused by every print.
#pragma once

#include <QPointer>
#include <functional>
#include <memory>

#include "app/etat_documents.h"
#include "app/hote_commandes.h"
#include "app/impression.h"

class QPrinter;

class CommandesImpression {
 public:
  CommandesImpression(etat_documents& etat, HoteImpression& hote);
  ~CommandesImpression();

  void imprimer();
  void reglages_imprimante();

  // Made on first use: the printer support loads the print system's libraries,
  // which the program's start does without.
  QPrinter& imprimante();
  TPreview_print* formulaire() const { return formulaire_; }

  // The printer dialog (the platform's unless replaced).
  ChoixImprimante choisir_imprimante;
  // Shows the print form modally (exec unless replaced).
  std::function<void(TPreview_print&)> montrer;

 private:
  etat_documents& e_;
  HoteImpression& w_;
  std::unique_ptr<QPrinter> imprimante_;
  QPointer<TPreview_print> formulaire_;
};
