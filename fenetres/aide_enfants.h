// Help topics shown from the child windows and dialogs: the main window
// installs its help viewer here.
#pragma once

#include <functional>

class QWidget;

void afficher_sujet_aide(int sujet);
void fixer_afficheur_aide(std::function<void(int)> afficheur);

// F1 anywhere in the dialog `fenetre` shows the topic `sujet` gives at that
// moment, the one its Help button shows (the page shown may choose it).
void lier_touche_aide(QWidget& fenetre, std::function<int()> sujet);
