#!/usr/bin/env bash
# Review shot of the view gallery: makes three view documents (copies of
# tests/data/vue.vue with pictures beside them, one without) in a temporary
# folder, starts build/bin/quorvel under Xvfb, chooses "Scan ..." in the File
# menu, types the three names into the file dialog, clicks the first thumbnail
# and writes a PNG of the screen.
# Needs the Debian packages xvfb, xdotool and imagemagick. Not part of CI.
# Usage: tests/review/shot-gallery.sh [GALLERY.png]
set -euo pipefail
cd "$(dirname "$0")/../.."
out=$(realpath -m "${1:-build/shot-gallery.png}")
work=$(mktemp -d)
for n in alpes pyrenees vosges; do cp tests/data/vue.vue "$work/$n.vue"; done
convert -size 640x480 gradient:skyblue-darkgreen "$work/alpes.jpg"
convert -size 640x480 plasma:fractal -seed 3 "$work/pyrenees.jpg" 2>/dev/null ||
  convert -size 640x480 gradient:orange-brown "$work/pyrenees.jpg"
inner=$(mktemp)
cat > "$inner" <<'INNER'
set -euo pipefail
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
INNER
xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner" "$out" "$work"
rm -rf "$inner" "$work"
echo "wrote $out"
