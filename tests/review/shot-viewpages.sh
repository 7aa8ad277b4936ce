#!/usr/bin/env bash
# Review shots of the last four pages of "Adjustments of the view": starts
# build/bin/quorvel under Xvfb, presses F5 (a mountain), clicks the card,
# presses F6 (a view) and F8, then steps with "Next >>" through the Arbres page
# (one tree, then "draw a tree for each layer", then the kind list dropped
# and Oak chosen), the Levels page after a page step of the sea bar, the
# Colours page (Soil selected) and the Weather page after ticking "Horizon",
# choosing "cloudy sky" and ticking "Reflexion", then with "imported sky"
# chosen and the Down key pressed in the sky list.
# Needs the Debian packages xvfb, xdotool and imagemagick. Not part of CI.
# Usage: tests/review/shot-viewpages.sh [OUTPUT_PREFIX]   (default build/shot-viewpages)
set -euo pipefail
cd "$(dirname "$0")/../.."
prefix=$(realpath -m "${1:-build/shot-viewpages}")
inner=$(mktemp)
cat > "$inner" <<'INNER'
set -euo pipefail
wait_progress() {
  sleep 1
  while xdotool search --name '^Waiting$' >/dev/null 2>&1; do sleep 0.5; done
  sleep 1
}
# Dialog coordinates (the dialog is moved to 200, 150).
at() { xdotool mousemove $((200 + $1)) $((150 + $2)) click 1; sleep "${3:-2}"; }
build/bin/quorvel &
pid=$!
sleep 6
win=$(xdotool search --name '^Quorvel v3.1$' | head -n 1)
xdotool windowmove "$win" 0 0 || true
xdotool mousemove 800 600 click 1
sleep 1
xdotool key F5
wait_progress
xdotool mousemove 300 200 click 1
sleep 1
xdotool key F6
wait_progress
xdotool mousemove 300 300 click 1
sleep 1
xdotool key F8
sleep 3
dlg=$(xdotool search --name '^Adjustments of the view$' | head -n 1)
xdotool windowmove "$dlg" 200 150
sleep 1
at 349 421  # Framing
at 349 421 3  # Arbres
import -window root "$1-trees.png"
at 444 304 3  # draw a tree for each layer
import -window root "$1-trees-layers.png"
at 239 71 2   # the kind list dropped
import -window root "$1-trees-kinds.png"
at 230 78 3   # Oak: its values and its tree
import -window root "$1-trees-oak.png"
at 349 421 3  # Levels
at 32 210 3   # a page step of the sea bar
import -window root "$1-levels.png"
at 349 421 3  # Colours
import -window root "$1-colours.png"
at 349 421 3  # Weather
at 22 110 2   # Horizon (off in the shipped defaults)
at 22 160 2   # cloudy sky
at 138 294 4  # Reflexion
import -window root "$1-weather.png"
at 22 180 2   # imported sky: the list opens on the record's picture
at 50 215 2   # a click on the cloud picture's entry
xdotool key Down; sleep 2  # the arrow keys choose as a click does
import -window root "$1-weather-sky.png"
xdotool key Escape || true
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
INNER
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$inner" "$prefix"
rm -f "$inner"
echo "wrote $prefix-trees.png, $prefix-trees-layers.png, $prefix-trees-kinds.png, $prefix-trees-oak.png, $prefix-levels.png, $prefix-colours.png, $prefix-weather.png, $prefix-weather-sky.png"
