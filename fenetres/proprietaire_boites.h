// Which window owns the program's message boxes and questions. A box is a
// child of its owner and goes with it: a window that can be destroyed while a
// box is open over it (the splash, freed by its timer; a window that deletes
// itself when it closes) never owns one, and the box goes to a window that
// outlives it.
#pragma once

#include <QWidget>

// Marks `fenetre` as passing: it can be destroyed behind an open box's back.
void marquer_passagere(QWidget& fenetre);
// True when `fenetre`, or a window it belongs to, is marked passing or is
// deleted when it closes.
bool est_passagere(const QWidget* fenetre);
// The owner of a box shown now: the active window, else the active modal
// window, when it is not passing; otherwise `secours` (the main window; null
// leaves the box without an owner).
QWidget* proprietaire_boite(QWidget* secours);
