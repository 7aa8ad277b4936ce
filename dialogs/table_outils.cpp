#include "dialogs/table_outils.h"

#include "dialogs/dlg_edit.h"
#include "dialogs/edition_glyphes.h"
#include "model/matrice.h"
#include "model/outils.h"

namespace dialogs {

namespace {

using E = Execution;
using C = AuClic;
using M = Marque;
using D = Tdlg_edit;

// code, position, glyph, balloon, status line,
// stroke, two sets, short stroke is a click, execution, help topic, dialog set-up,
// press, drag mark, eraser's target.
const TableOutils kTable{{
    {OUTIL_CURSEUR, 0, glyphes::curseur, "Move the picture", "Cursor:  Choose a tool in the toolbar",
     false, false, false, E::aucune, 0, nullptr, C::rien, M::aucune, nullptr},
    {OUTIL_FORME, 1, glyphes::forme, "Drawing of the main shapes",
     "Shape: Click the summit or draw the line to be raised or digged.",
     true, true, true, E::differee, 4021, &D::installer_forme, C::rien, M::trait, nullptr},
    {OUTIL_PLATEAU, 4, glyphes::plateau, "Plateau", "Plateau:  Click on the center of the plateau.",
     false, false, false, E::differee, 4022, &D::installer_plateau, C::rien, M::aucune, nullptr},
    {OUTIL_VALLEE, 5, glyphes::vallee, "River", "Valley:  Click on the location of the river spring.",
     false, false, false, E::differee, 4023, &D::installer_vallee, C::rien, M::aucune, nullptr},
    {OUTIL_COULEUR, 6, glyphes::couleur, "Ground colour",
     "Color: Click the point or draw the line to be colored (color selected on the panel).",
     true, true, false, E::immediate, 0, nullptr, C::pinceau, M::pinceau, nullptr},
    {OUTIL_LISSAGE, 7, glyphes::lissage, "Smooth", "Smooting: Click the center of the area to be smoothed.",
     false, false, false, E::differee, 4025, &D::installer_lissage, C::rien, M::aucune, nullptr},
    {OUTIL_ARBRE, 9, glyphes::arbre, "Trees", "Tree:  Place a tree (Click a point) or a line of trees (Draw).",
     true, true, false, E::immediate, 0, nullptr, C::arbre, M::arbre, nullptr},
    {OUTIL_CIBLE, 10, glyphes::cible, "Target Point", "Target Point:  Click the target point (focal point) .",
     false, false, false, E::immediate, 0, nullptr, C::cible, M::aucune, nullptr},
    {OUTIL_CONE, 2, glyphes::cone, "Cone shaped", "Cone: Click the summit of the cone (point or crest line).",
     true, true, false, E::differee, 4028, &D::installer_cone, C::rien, M::trait, nullptr},
    {OUTIL_COL, 3, glyphes::col, "Pass", "Pass: Draw the line to be raised or digged.",
     true, false, true, E::differee, 4029, &D::installer_col, C::rien, M::trait, nullptr},
    {OUTIL_ROUTE, 8, glyphes::route, "Road", "Road: Draw the road line.",
     true, false, false, E::differee, 4030, &D::installer_route, C::rien, M::trait, nullptr},
    {OUTIL_OBSERVATEUR, 11, glyphes::observateur, "Observer place",
     "Observer place: Click the place where is the observer.",
     false, false, false, E::immediate, 0, nullptr, C::observateur, M::aucune, nullptr},
    {OUTIL_STRATE, 16, glyphes::strate, "Stratum", "Stratum: Click the center of the stratum.",
     false, false, false, E::differee, 4042, &D::installer_strate, C::rien, M::aucune, nullptr},
    {OUTIL_RELIEF, 17, glyphes::relief, "Relief", "Relief: Click the center of the area to process.",
     false, false, false, E::differee, 4043, &D::installer_relief, C::rien, M::aucune, nullptr},
    {OUTIL_GOMME_ARBRE, 12, glyphes::gomme_arbre, "",
     "Delete tree(s): Click the tree (or the line of trees) to be deleted.",
     true, true, false, E::immediate, 0, nullptr, C::gomme_arbre, M::gomme_arbre, &Tmatrice::arbre_proche},
    {OUTIL_GOMME_RIVIERE, 15, glyphes::gomme_riviere, "Erase river",
     "Delete river: Click on the spring of the river to be deleted.",
     false, false, false, E::immediate, 0, nullptr, C::rien, M::aucune, &Tmatrice::source_proche},
    {OUTIL_GOMME_SOL, 14, glyphes::gomme_sol, "Erase ground",
     "Delete color of ground: Click the area of ground to be rubbed.",
     true, true, false, E::immediate, 0, nullptr, C::rien, M::pinceau, &Tmatrice::sol_proche},
    {OUTIL_RUISSELLEMENT, 13, glyphes::ruissellement, "streaming",
     "Erosion: Place the center of the area from where will start the streaming.",
     false, false, false, E::differee, 4031, &D::installer_ruissellement, C::rien, M::aucune, nullptr},
    {OUTIL_COPIER, 18, glyphes::copier, "Copy a portion", "Copy: Click on the center of the area to be copied",
     false, false, false, E::apres_dialogue, 4032, &D::installer_copier, C::rien, M::aucune, nullptr},
    {OUTIL_COLLER, 19, glyphes::coller, "Paste the copied portion",
     "Paste: Click on the center of the place where to paste the copied portion",
     false, false, false, E::apres_dialogue, 4033, &D::installer_coller, C::rien, M::aucune, nullptr},
    // The tool dialog's own modes, opened from the editor's menu: no button,
    // no status line, never run by a stroke.
    {OUTIL_ELEVATION, -1, nullptr, "", "",
     false, false, false, E::aucune, 4024, &D::installer_elevation, C::rien, M::aucune, nullptr},
    {OUTIL_COUPE, -1, nullptr, "", "",
     false, false, false, E::aucune, 0, &D::installer_coupe, C::rien, M::aucune, nullptr},
}};

// The row of a code, or null when no row has it.
const LigneOutil* trouver(int code) {
  for (const LigneOutil& l : kTable)
    if (l.code == code) return &l;
  return nullptr;
}

}  // namespace

const TableOutils& table_outils() { return kTable; }

const LigneOutil& ligne_outil(int code) {
  const LigneOutil* l = trouver(code);
  return l ? *l : kTable[0];
}

const LigneOutil& ligne_en_position(int position) {
  for (const LigneOutil& l : kTable)
    if (l.position >= 0 && l.position == position) return l;
  return kTable[0];
}

int position_outil(int code) {
  const LigneOutil* l = trouver(code);
  return l ? l->position : -1;
}

std::uint16_t outil_de_position(int position) {
  return static_cast<std::uint16_t>(ligne_en_position(position).code);
}

const char* aide_outil(int outil) {
  const LigneOutil& l = ligne_outil(outil);
  return l.position >= 0 ? l.statut : kTable[0].statut;
}

std::string nom_de_l_outil(int outil) {
  const std::string s = aide_outil(outil);
  return s.substr(0, s.find(':'));
}

bool outil_ligne(int outil) {
  const LigneOutil* l = trouver(outil);
  return l && l->trait;
}
bool outil_immediat(int outil) {
  const LigneOutil* l = trouver(outil);
  return l && l->execution == E::immediate;
}
bool outil_differe(int outil) {
  const LigneOutil* l = trouver(outil);
  return l && l->execution == E::differee;
}

}  // namespace dialogs
