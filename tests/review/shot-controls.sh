#!/usr/bin/env bash
# Review pictures of the control library's drawing: runs build/bin/controls_gallery
# offscreen (no Xvfb needed) and writes drawing.png (border styles, bevels,
# button faces in five states, arrows, gradients, effect text), shapes.png,
# buttons.png, checks.png, combos.png (the buttons, check boxes, radio
# buttons and combo boxes in their states), trackbars.png (track bars and
# the shadow fill), scrollbars.png (scroll bars, spin edits and spin buttons),
# lists.png (list boxes with header and grid lines), hints.png (the six hint
# styles in the four places), properties.png (bevels, fills,
# gradients, effect captions), panels.png (panels, labels, progress bars,
# image controls) and fills.png (fill controls and panel fills) into FOLDER.
# Needs a build of the target controls_gallery. Not part of CI.
# Usage: tests/review/shot-controls.sh [FOLDER]   (default build/controls-shots/)
set -euo pipefail
cd "$(dirname "$0")/../.."
out=$(realpath -m "${1:-build/controls-shots}")
mkdir -p "$out"
QT_QPA_PLATFORM=offscreen build/bin/controls_gallery "$out"
echo "written: $out/drawing.png shapes.png buttons.png checks.png combos.png trackbars.png scrollbars.png lists.png hints.png properties.png panels.png fills.png"
