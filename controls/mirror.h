// Children placed by coordinates (tool bars, frames laid out like forms)
// follow the reading order of their parent: read right to left, each child's
// left edge is mirrored inside the parent, where a layout would put it.
#pragma once

#include <QObject>

class QWidget;

// The left edge of a child `width` wide, placed at `left` when read left to
// right, in a parent `parent_width` wide read right to left.
constexpr int CtlMirroredLeft(int parent_width, int left, int width) { return parent_width - left - width; }

// Keeps the direct children of `parent` mirrored while it reads right to left:
// at every show and resize of the parent and every change of its direction.
// The code goes on placing children left to right; a child it moves is
// mirrored from its new place at the next of these events.
void CtlMirrorChildren(QWidget& parent);

// Mirrors them once now (what the events above do).
void CtlMirrorChildrenNow(QWidget& parent);

class QString;

// A text whose end is a file path (from its first word that starts with "/"
// or a drive, to the end), shown in a right-to-left text: the path is isolated
// as left-to-right (between the marks U+2066 and U+2069) so that its folders
// keep their order. Left-to-right texts, and texts without a path, come back
// unchanged.
QString CtlIsolatePath(const QString& text, bool right_to_left);
