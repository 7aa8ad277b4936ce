// Tools that change no height: planting trees, painting ground, deleting
// features near a stroke, and moving the target and observer points.
#pragma once

#include "model/outils.h"

class Tmatrice;

void peindre_sol(Tmatrice& m, controle_outil& c);
void planter_arbres(Tmatrice& m, controle_outil& c);
void placer_cible_grille(Tmatrice& m, controle_outil& c);
void placer_observateur_grille(Tmatrice& m, controle_outil& c);
void gommer_arbres(Tmatrice& m, controle_outil& c);
void gommer_rivieres(Tmatrice& m, controle_outil& c);
void gommer_sol(Tmatrice& m, controle_outil& c);
