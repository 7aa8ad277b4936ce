#include "fenetres/fenetre_modale.h"

#include <QApplication>

#include "fenetres/operation_longue.h"

namespace {
int g_modales = 0;
}  // namespace

bool fenetre_modale_ouverte() { return g_modales > 0 || QApplication::activeModalWidget() != nullptr; }

bool travail_differe_suspendu() { return operation_en_cours() || fenetre_modale_ouverte(); }

FenetreModale::FenetreModale() { ++g_modales; }
FenetreModale::~FenetreModale() { --g_modales; }
