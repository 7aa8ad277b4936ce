// Window hints of the program's dialogs with a fixed border (tool dialogs,
// confirmations, message boxes, the small option dialogs): a title bar with
// the system menu and the close box only, never a minimise, maximise or
// context-help box, so that a window manager that reads the hints draws the
// frame of a dialog.
#pragma once

#include <QWidget>

// The flags of such a dialog; a stay-on-top hint already set is kept.
Qt::WindowFlags drapeaux_dialogue_fixe(Qt::WindowFlags actuels);

// Gives `dialogue` those flags; with `taille_du_contenu`, its layout also
// holds it at the size of its content, which the user cannot change.
void bordure_dialogue_fixe(QWidget& dialogue, bool taille_du_contenu = false);
