// The map editor's own pictures, drawn in code: the 16 x 16 glyphs of its
// tool bar and its three cursors.
#pragma once

#include <QCursor>
#include <QImage>

namespace dialogs {

// Glyphs of the tool bar beyond the twenty tools.
enum GlyphesEdition : int {
  kGlypheAnnuler = 20,
  kGlypheZoom,
  kGlypheNiveaux,
  kGlypheSauver,
  kNombreGlyphes
};

// The glyph of tool bar position 0..19, or of one of the extra buttons above;
// a transparent 16 x 16 picture for anything else.
QImage glyphe_edition(int index);

// The editor's cursors by their ids: 105 "pointeur", 106 "crayon", 107
// "arbre". Made once and kept; any other id gives the arrow.
const QCursor& curseur_edition(int id);

}  // namespace dialogs
