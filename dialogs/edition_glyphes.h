// The map editor's own pictures, drawn in code: the 16 x 16 glyphs of its
// tool bar and its three cursors.
#pragma once

#include <QCursor>
#include <QImage>

#include "dialogs/table_outils.h"

class QPainter;

namespace dialogs {

// The tools' pictures, drawn into a 16 x 16 square (the tool table names one
// per tool).
namespace glyphes {
void curseur(QPainter& p);
void forme(QPainter& p);
void cone(QPainter& p);
void col(QPainter& p);
void plateau(QPainter& p);
void vallee(QPainter& p);
void couleur(QPainter& p);
void lissage(QPainter& p);
void route(QPainter& p);
void arbre(QPainter& p);
void cible(QPainter& p);
void observateur(QPainter& p);
void gomme_arbre(QPainter& p);
void ruissellement(QPainter& p);
void gomme_sol(QPainter& p);
void gomme_riviere(QPainter& p);
void strate(QPainter& p);
void relief(QPainter& p);
void copier(QPainter& p);
void coller(QPainter& p);
}  // namespace glyphes

// Glyphs of the tool bar beyond its tools: they come after the tools'
// positions, however many rows the tool table holds.
enum GlyphesEdition : int {
  kGlypheAnnuler = kNombreOutils,
  kGlypheZoom,
  kGlypheNiveaux,
  kGlypheSauver,
  kNombreGlyphes
};

// The glyph of a tool bar position (0 to kNombreOutils - 1), or of one of the extra buttons above;
// a transparent 16 x 16 picture for anything else.
QImage glyphe_edition(int index);

// The editor's cursors by their ids: 105 "pointeur", 106 "crayon", 107
// "arbre". Made once and kept; any other id gives the arrow.
const QCursor& curseur_edition(int id);

}  // namespace dialogs
