// The map editor's tools, one row each: the code the terrain's dispatcher
// knows it by, the place of its button on the tool bar, its glyph, balloon
// and status line, how it takes its input, the help topic and set-up of its
// parameter dialog, and what the editor does under the pointer while it is
// chosen. The tool bar, the session, the tool dialog and the glyphs are all
// built from these rows; a new tool is one more row (and its routine in the
// terrain's dispatcher, which sits below this folder and keeps its own switch).
#pragma once

#include <array>
#include <cstdint>
#include <string>

class QPainter;
class Tmatrice;

namespace dialogs {

class Tdlg_edit;

// The tool bar's tools, the cursor included.
inline constexpr int kNombreOutils = 20;

// When a tool runs once the button is released.
enum class Execution : std::uint8_t {
  aucune,          // the cursor: nothing runs
  immediate,       // at once, without the dialog
  differee,        // through the dialog, 750 ms after it closed
  apres_dialogue,  // through the dialog, as soon as it closed
};

// What a press on the map does at once.
enum class AuClic : std::uint8_t { rien, arbre, gomme_arbre, pinceau, cible, observateur };

// The mark a drag leaves from one pointer position to the next.
enum class Marque : std::uint8_t { aucune, trait, gomme_arbre, pinceau, arbre };

struct LigneOutil {
  std::int32_t code;          // OUTIL_*: the dispatcher's and the dialog's code
  int position;               // on the tool bar; -1 for the dialog's own modes
  void (*glyphe)(QPainter&);  // its 16 x 16 button picture; null without a button
  const char* bulle;          // its button's balloon ("" for none)
  const char* statut;         // the status line; the tool's name runs up to its ":"
  bool trait;                 // a drag records a stroke
  bool deux_jeux;             // a stroke takes a start and a release parameter set
  bool court_ponctuel;        // a stroke of at most 8 nodes counts as a click
  Execution execution;
  int sujet_aide;                  // its dialog's help topic; 0: the dialog's default
  void (Tdlg_edit::*installer)();  // its dialog's captions, ranges and controls
  AuClic au_clic;
  Marque marque;
  bool (Tmatrice::*proche)(std::int32_t, std::int32_t) const;  // an eraser's hand shows over this
};

using TableOutils = std::array<LigneOutil, kNombreOutils + 2>;

// Every row: the tool bar's in the order of their codes, then Raise and
// Cross-section, the tool dialog's own modes.
const TableOutils& table_outils();

// The row of a tool code; the cursor's for a code no row has.
const LigneOutil& ligne_outil(int code);
// The row of tool bar position 0..19; the cursor's for any other position.
const LigneOutil& ligne_en_position(int position);
// The tool bar position of a code; -1 when it has no button.
int position_outil(int code);

// The tool code of tool bar position 0..19; 0 for any other position.
std::uint16_t outil_de_position(int position);
// The status line of a tool bar tool; the cursor's for any other code.
const char* aide_outil(int outil);
// The tool's name: its status line up to the first ":".
std::string nom_de_l_outil(int outil);
// A drag records a stroke.
bool outil_ligne(int outil);
// Runs at mouse-up without the dialog.
bool outil_immediat(int outil);
// Runs 750 ms after its dialog was closed.
bool outil_differe(int outil);

}  // namespace dialogs
