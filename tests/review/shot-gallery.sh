#!/usr/bin/env bash
# Review shot of the view gallery: makes three view documents (copies of
# tests/data/vue.vue with pictures beside them, one without) in a temporary
# folder, starts build/bin/quorvel under Xvfb, chooses "Scan ..." in the File
# menu, goes to that folder in the file dialog and drags the first document
# onto a folder beside it (the run fails when the drag moved it: the dialog's
# lists take no drop), types the three names into the file dialog, clicks the
# first thumbnail and writes a PNG of the screen.
# Needs the Debian packages xvfb, xdotool and imagemagick. Not part of CI.
# Usage: tests/review/shot-gallery.sh [GALLERY.png]
set -euo pipefail
cd "$(dirname "$0")/../.."
out=$(realpath -m "${1:-build/shot-gallery.png}")
work=$(mktemp -d)
for n in alpes pyrenees vosges; do cp tests/data/vue.vue "$work/$n.vue"; done
mkdir "$work/dossier"
convert -size 640x480 gradient:skyblue-darkgreen "$work/alpes.jpg"
convert -size 640x480 plasma:fractal -seed 3 "$work/pyrenees.jpg" 2>/dev/null ||
  convert -size 640x480 gradient:orange-brown "$work/pyrenees.jpg"
inner=$(mktemp)
cat > "$inner" <<'INNER'
set -euo pipefail
# The file dialog in its default detail view, whatever the toolkit's saved
# settings say, and none saved for the next program.
XDG_CONFIG_HOME=$(mktemp -d)
export XDG_CONFIG_HOME
build/bin/quorvel &
pid=$!
sleep 5
win=$(xdotool search --onlyvisible --name '^Quorvel' | head -n 1)
xdotool windowmove "$win" 0 0 || true
xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus "$win" || true
xdotool mousemove 800 600 click 1
sleep 1
xdotool key alt+f
sleep 1
# "Scan ..." has no accelerator: a click on the item (under the main window's
# drawn title bar).
xdotool mousemove 60 207 click 1
sleep 2
# In the folder, the list in its detail view: "dossier", then alpes.vue below.
xdotool type --delay 20 "$2/"
xdotool key Return
sleep 1.5
d=$(xdotool search --name '^Scan \.\.\.$' | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$d")"
# A click below the entries closes the name field's completion list, which
# would take the next press.
xdotool mousemove $((X + 300)) $((Y + 300)) click 1
sleep 0.5
xdotool mousemove $((X + 127)) $((Y + 88))
sleep 0.3
xdotool mousedown 1
sleep 0.3
for i in 1 2 3 4 5 6 7 8; do
  xdotool mousemove $((X + 130)) $((Y + 88 - 18 * i / 8))
  sleep 0.15
done
xdotool mousemove $((X + 127)) $((Y + 70))
sleep 0.5
xdotool mouseup 1
sleep 1
# The name field (Alt+N), emptied, takes the three names.
xdotool key alt+n ctrl+a
xdotool type --delay 20 "\"$2/alpes.vue\" \"$2/pyrenees.vue\" \"$2/vosges.vue\""
xdotool key Return
sleep 3
g=$(xdotool search --name "^Collection$" | head -n 1)
xdotool windowmove "$g" 100 60 2>/dev/null || true
sleep 1
eval "$(xdotool getwindowgeometry --shell "$g")"
xdotool mousemove $((X + 12 + 66)) $((Y + 24 + 40)) click 1
sleep 1
import -window root "$1"
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
rm -rf "$XDG_CONFIG_HOME"
INNER
xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner" "$out" "$work"
moved=$(ls -A "$work/dossier")
rm -rf "$inner" "$work"
if [[ -n $moved ]]; then echo "FAIL: a drag in the Scan dialog moved $moved"; exit 1; fi
echo "wrote $out"
