#!/usr/bin/env bash
# Review shots of "Adjustments of the view": starts build/bin/quorvel under
# Xvfb, presses F5 (a degree-7 mountain from the shipped montagne.ini) and F4
# (its map editor), then clicks the card, presses F6 (a view) and F8. Writes
# the Scale page, the Scale page with 9999 x 0 typed as specific sizes, the Framing page with the detailed display, the framing box
# during and after a drag in its top-left corner, and the map editor with its
# sight lines once the dialog is moved aside.
# Needs the Debian packages xvfb, xdotool and imagemagick. Not part of CI.
# Usage: tests/review/shot-viewopts.sh [OUTPUT_PREFIX]   (default build/shot-viewopts)
set -euo pipefail
cd "$(dirname "$0")/../.."
prefix=$(realpath -m "${1:-build/shot-viewopts}")
inner=$(mktemp)
cat > "$inner" <<'INNER'
set -euo pipefail
wait_progress() {
  sleep 1
  while xdotool search --name '^Waiting$' >/dev/null 2>&1; do sleep 0.5; done
  sleep 1
}
build/bin/quorvel &
pid=$!
sleep 6
win=$(xdotool search --name '^Quorvel v3.1$' | head -n 1)
xdotool windowmove "$win" 0 0 || true
xdotool windowsize "$win" 1010 760 || true
sleep 1
xdotool mousemove 800 600 click 1
sleep 1
xdotool key F5
wait_progress
xdotool mousemove 300 200 click 1
sleep 1
xdotool key F4
wait_progress
# The card is still where it was; the view comes from it.
xdotool mousemove 300 200 click 1
sleep 1
xdotool key F6
wait_progress
# The view is minimised (its title bar's first button) so that the map editor
# shows; a click on the editor's title gives the keyboard back.
xdotool mousemove "${VIEW_MINIMISE_X:-543}" "${VIEW_MINIMISE_Y:-63}" click 1
sleep 1
xdotool mousemove 700 202 click 1
sleep 1
xdotool key F8
sleep 3
dlg=$(xdotool search --name '^Adjustments of the view$' | head -n 1)
xdotool windowmove "$dlg" 200 150
sleep 1
# The dialog opens on the page shown last: the Scale page the first time.
import -window root "$1-scale.png"
# "predefined size image" enables the specific sizes: 9999 x 0 typed shows
# the picture limits 8192 x 16 once each edit is left.
xdotool mousemove $((200 + 22)) $((150 + 191)) click 1
sleep 1
taper_taille() {
  xdotool mousemove $((200 + $1)) $((150 + 160)) click 1
  xdotool key ctrl+a
  xdotool type "$2"
  xdotool key Tab
  sleep 1
}
taper_taille 37 9999
taper_taille 98 0
import -window root "$1-typed-size.png"
# Next >> is at (349, 421) in the dialog.
xdotool mousemove $((200 + 349)) $((150 + 421)) click 1
sleep 2
# A distance of 3 km (the edit at (502, 215) in the dialog) so that the
# terrain crosses both sides of the preview and the sight lines have ends.
xdotool mousemove $((200 + 502)) $((150 + 215)) click --repeat 3 1
xdotool type 3
xdotool key Tab
sleep 3
import -window root "$1-framing.png"
# The framing box is at (12, 34) in the dialog: hold the top-left corner.
xdotool mousemove $((200 + 20)) $((150 + 42)) mousedown 1
sleep 1.5
import -window root "$1-drag.png"
xdotool mouseup 1
sleep 3
import -window root "$1-after-drag.png"
# Aside: the map editor and its sight lines show.
xdotool windowmove "$dlg" 660 560
sleep 1
import -window root "$1-sight-lines.png"
xdotool key Escape || true
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
INNER
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$inner" "$prefix"
rm -f "$inner"
echo "wrote $prefix-scale.png, $prefix-typed-size.png, $prefix-framing.png, $prefix-drag.png, $prefix-after-drag.png, $prefix-sight-lines.png"
