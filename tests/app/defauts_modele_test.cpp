// The model's defaults of the view and mountain sections agree with what the
// section readers give for an empty section.
#include <gtest/gtest.h>

#include "app/sections.h"
#include "model/defauts.h"
#include "tests/app/comparaison_records.h"

TEST(DefautsModele, SameAsTheSectionReaders) {
  param_vue v;
  valeurs_defaut_vue(v);
  comparer_vue(v, param_vue_defaut());
  param_mat m;
  valeurs_defaut_matrice(m);
  comparer_section_matrice(m, param_mat_defaut());
}
