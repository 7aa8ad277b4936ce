// The parameter sections of the documents and the options file: the mountain
// creation parameters, the view parameters and the video settings, each a head
// followed by key lines. Plain C++, no Qt.
#pragma once

#include "app/texte_document.h"
#include "model/records.h"

// Records holding the default of every key of the sections (the values a
// reader gives when the key is missing); the fields outside the sections are
// zero, the path control points 8..13 are -1.
param_mat param_mat_defaut();
param_vue param_vue_defaut();
Param_video param_video_defaut();

// The optional "  [TEXTE]" block (only when comment line 1 is not empty and
// `avec_texte` is set), the head "  [PARAMETRES MATRICE]" and 61 key lines.
void ecrire_param_matrice(Sortie& f, const param_mat& p, bool avec_texte = true);
// The head "  [PARAMETRES VUE]", 145 key lines, the sky file line when the sky
// is a picture, 10 colour lines, "Fin" and the dashes.
void ecrire_param_vue(Sortie& f, const param_vue& p);
// The head "  [PARAMETRES VIDEO]", 50 key lines, "Fin" and the dashes.
void ecrire_param_video(Sortie& f, const Param_video& p);

// Each reader loads its section from the file's position and sets every field
// of the section from its key, or from its default when the key is missing or
// unreadable. The other fields (comments, key, points of a param_mat; the view
// of a Param_video) are left as they are.
void lire_param_matrice(Entree& f, param_mat& p);
void lire_param_vue(Entree& f, param_vue& p);
void lire_param_video(Entree& f, Param_video& p);

// The same from a section already loaded.
void lire_param_matrice(const table_section& t, param_mat& p);
void lire_param_vue(const table_section& t, param_vue& p);
void lire_param_video(const table_section& t, Param_video& p);
