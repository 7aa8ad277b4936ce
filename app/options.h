// The options file montagne.ini: marker, starting file, recent files and the
// three default parameter sections.
#pragma once

#include <string>

#include "app/etat_documents.h"
#include "platform/fichiers.h"

inline constexpr std::string_view MARQUE_OPTIONS = "22222";

// Reads the options file at `chemin` into the current records. In the
// start-up state it also takes the starting file and up to 10 recent files
// (only those that name something; opening one that is not a regular file
// says what it is); outside it the current file name is cleared. With
// `sections_seules` only the three sections are read. The comment lines of the
// current param_mat are emptied, its points set to 0.333/0.333 and 0.1/0.1, the
// random generator is seeded from the clock and the key takes the new seed.
// A file that cannot be read leaves everything as it was and returns the reason.
Echec Lire_options(etat_documents& e, const std::string& chemin, bool sections_seules = false);

// The whole options file as written by Sauve_options.
std::string texte_options(const etat_documents& e);
Echec Sauve_options(const etat_documents& e, const std::string& chemin);
// Sauve_options for the commands and the exit: a file that cannot be written
// is named in a warning ("The options file <path> could not be written:
// ..."), as one that cannot be read is; false then.
bool Sauve_options_ou_avertir(const etat_documents& e, const std::string& chemin);
