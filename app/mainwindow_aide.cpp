// The main window's Help menu and F1: the help viewer in front of the window
// or dialog that asked, context-help mode across the child windows, the
// finder, the contents and the about box.
#include <QApplication>
#include <QMdiArea>
#include <algorithm>

#include "app/aide.h"
#include "app/apropos.h"
#include "app/mainwindow.h"

HelpViewer* TBasewindow::aide(bool creer) {
  // Owned by the main window, so that it stays in front of it.
  if (!aide_ && creer) aide_ = std::make_unique<HelpViewer>(this);
  return aide_.get();
}

void TBasewindow::afficher_aide(int contexte) {
  // A modal dialog blocks every window but its own: help asked for while one
  // runs is a viewer of that dialog, closed with it.
  if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != this) {
    auto* h = new HelpViewer(modal);
    h->setAttribute(Qt::WA_DeleteOnClose);
    h->PlaceOver(modal);
    h->ShowTopic(contexte);
    return;
  }
  HelpViewer* h = aide();
  QWidget* demandeur = QApplication::activeWindow();
  if (!h->isVisible()) h->PlaceOver(demandeur && demandeur != h ? demandeur : this);
  h->ShowTopic(contexte);
}

void TBasewindow::Contextuelle() {
  aide_contextuelle = aide_contextuelle ? 0 : 1;
  if (aide_contextuelle) QApplication::setOverrideCursor(Qt::WhatsThisCursor);
  else QApplication::restoreOverrideCursor();
  if (galerie_ouverte && galerie) galerie->aide_contextuelle = aide_contextuelle;
  if (import_ouvert && importation) importation->aide_contextuelle = aide_contextuelle;
  for (auto& c : cartes)
    if (c) c->aide_contextuelle = aide_contextuelle;
  for (auto& v : fenetres_vues)
    if (v) v->aide_contextuelle = aide_contextuelle;
  for (auto& w : fenetres_videos)
    if (w) w->aide_contextuelle = aide_contextuelle;
  for (auto& ed : editeurs)
    if (ed) ed->aide_contextuelle = aide_contextuelle;
}

void TBasewindow::quitter_aide_contextuelle() {
  if (!aide_contextuelle) return;
  aide_contextuelle = 0;
  QApplication::restoreOverrideCursor();
}

void TBasewindow::Index() {
  if (!aide()->isVisible()) aide()->PlaceOver(this);
  aide()->ShowFinder();
  quitter_aide_contextuelle();
}

void TBasewindow::touche_aide() {
  QWidget* actif = enfant_actif();
  auto parmi = [actif](const auto& fenetres) {
    return actif && std::any_of(fenetres.begin(), fenetres.end(), [actif](const auto& f) { return f == actif; });
  };
  if (parmi(cartes)) afficher_aide(4006);
  else if (parmi(fenetres_vues)) afficher_aide(4007);
  else if (parmi(editeurs)) afficher_aide(4008);
  else if (parmi(fenetres_videos)) afficher_aide(4017);
  else if (actif && actif == importation) afficher_aide(4016);
  else Index();
}

void TBasewindow::Aide() {
  if (!aide()->isVisible()) aide()->PlaceOver(this);
  aide()->ShowContents();
  quitter_aide_contextuelle();
}

void TBasewindow::A_propos() {
  TAboutBox boite(this);
  boite.exec();
}
