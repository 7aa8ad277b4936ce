// The values a parameter section reads when a key is missing: the defaults of
// every field of the view and mountain sections.
#pragma once

#include "model/records.h"

// Sets every field of the view section to its default (the other fields are
// left as they were).
void valeurs_defaut_vue(param_vue& vue);
// Sets every field of the mountain section to its default (comment lines,
// key, target and observer are left as they were).
void valeurs_defaut_matrice(param_mat& p);
