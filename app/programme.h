// The program as a whole: where it keeps its files and how start-up finds and
// seeds them, the document tables as start-up leaves them, which document a
// file name opens, and the run itself (image data, main window, message loop).
// The main window's start-up sequence (TBasewindow::FormCreate), the options
// commands and the openings at start-up and on a drop are defined here too.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <string>

#include "app/etat_documents.h"

// Where the program keeps its files, and how start-up learns it.
struct ReglagesDemarrage {
  QString executable;                                  // full path of the running program
  std::function<bool(const QString&)> inscriptible;    // whether a folder can be written
  QString dossier_utilisateur;                         // per-user data folder
  QStringList arguments;                               // command-line parameters, program name excluded
};
ReglagesDemarrage reglages_du_programme(const QStringList& arguments);

// The program folder: the executable's folder, or, when that cannot be written
// and a per-user folder is known, the per-user folder, which receives on first
// use a copy of the options file and of the sky pictures found beside the
// executable (files already there are kept). The work folder is made in it.
// Returns the cleaned path, without a trailing separator.
QString preparer_dossier_programme(const ReglagesDemarrage& r);

// Start-up's tables: no document open, nothing current, the default picture
// size 400 x 300 and no video information lines.
void tables_de_depart(etat_documents& e);

// What a file name opens.
enum class Ouverture { rien, montagne, vue, video };
// A name from the command line or the starting-file line: its last three
// characters, in any case ("MAT", "VUE", "VID").
Ouverture ouverture_par_fin(const std::string& chemin);
// A dropped file decides by its extension written in lower case: ".mat",
// ".vue", ".vid", and ".bmp" for the view document of the same name, whose
// path replaces `chemin`.
Ouverture ouverture_deposee(std::string& chemin);

class TBasewindow;
// Starts the main window as the program does: its start-up sequence, then the
// window shown with the splash in front of it (filled in once the window has
// appeared). False when start-up refused (no options file).
bool montrer_au_demarrage(TBasewindow& w, const ReglagesDemarrage& r);

// The whole program; returns the exit status.
int executer_programme(int argc, char** argv);
