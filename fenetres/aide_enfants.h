// Help topics shown from the child windows and dialogs: the main window
// installs its help viewer here.
#pragma once

#include <functional>

void afficher_sujet_aide(int sujet);
void fixer_afficheur_aide(std::function<void(int)> afficheur);
