// The modal-window marker: whether a modal window of the program is up.
// Deferred work that closes, frees or changes documents (the main window's
// timers) waits while one is, as it waits while a long operation runs: the
// command that opened the modal window still holds its documents, and goes on
// with them once the window is answered.
#pragma once

// True while a modal window of the program is up: one the toolkit knows as
// modal, or one marked by FenetreModale.
bool fenetre_modale_ouverte();

// True while deferred work on documents must wait: a long operation runs or
// a modal window is up.
bool travail_differe_suspendu();

// Marks a modal window for its lifetime where the toolkit may not know it as
// one (a file dialog the platform shows natively); marks nest.
class FenetreModale {
 public:
  FenetreModale();
  ~FenetreModale();
  FenetreModale(const FenetreModale&) = delete;
  FenetreModale& operator=(const FenetreModale&) = delete;
};
