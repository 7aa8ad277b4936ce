#!/usr/bin/env bash
# Review shots of the creation options, refinement and combination dialogs:
# starts build/bin/quorvel under Xvfb, presses F5 (a mountain of the shipped
# montagne.ini), then F7 and writes a PNG of each of the four pages (clicking
# Next), holds "Turn to the right" for a second and writes another, closes;
# opens "&Refine options ..." and writes a PNG; makes a second mountain (F5),
# opens "Combine two mountains" and writes a PNG. Then F7 again: erosion 41 and
# relief 150 typed (shown bounded to 40 and 100), the mesh "9" clicked and
# Add (the new card reads "Mesh size=9"), and "Refine" from that card's pop-up
# menu (it reads "Mesh size=10" at once).
# Needs the Debian packages xvfb, xdotool and imagemagick. Not part of CI.
# Usage: tests/review/shot-creation.sh [FOLDER]   (default build/, files shot-creation-*.png)
set -euo pipefail
cd "$(dirname "$0")/../.."
out=$(realpath -m "${1:-build}")
mkdir -p "$out"
inner=$(mktemp)
cat > "$inner" <<'INNER'
set -euo pipefail
out=$1
build/bin/quorvel &
pid=$!
sleep 6
win=$(xdotool search --name '^Quorvel v3.1$' | head -n 1)
xdotool windowmove "$win" 0 0 || true
xdotool windowsize "$win" 1010 760 || true
sleep 1
xdotool mousemove 800 600 click 1
sleep 1
attendre() { sleep 1; while xdotool search --name '^Waiting$' >/dev/null 2>&1; do sleep 0.5; done; }
# Clicks at (x, y) inside the window named $1.
cliquer() {
  local w
  w=$(xdotool search --name "$1" | head -n 1)
  xdotool mousemove --window "$w" "$2" "$3" click 1
}
xdotool key F5
attendre
xdotool mousemove 300 200 click 1
sleep 1
xdotool key F7
sleep 3
import -window root "$out/shot-creation-mountain.png"
for p in trees additive profiles; do
  cliquer '^Adjustments of the mountain$' 617 397
  sleep 2
  import -window root "$out/shot-creation-$p.png"
done
d=$(xdotool search --name '^Adjustments of the mountain$' | head -n 1)
xdotool mousemove --window "$d" 792 182 mousedown 1
sleep 1
import -window root "$out/shot-creation-turning.png"
xdotool mouseup 1
sleep 1
xdotool key Escape
sleep 1
xdotool mousemove 300 200 click 1
sleep 1
xdotool key alt+m
sleep 1
xdotool key Down Down Down Down Down Down Down Return
sleep 2
import -window root "$out/shot-creation-refine.png"
xdotool key Escape
sleep 1
xdotool mousemove 300 200 click 1
xdotool key F5
attendre
xdotool mousemove 300 200 click 1
sleep 1
xdotool key alt+m
sleep 1
xdotool key Down Down Down Down Return
sleep 2
import -window root "$out/shot-creation-combine.png"
xdotool key Escape || true
sleep 1
# Typed values out of range: erosion 41 and relief 150 are bounded to their bars.
xdotool mousemove 300 200 click 1
xdotool key F7
sleep 3
taper() {
  xdotool mousemove "$1" "$2" click 1
  xdotool key ctrl+a
  xdotool type "$3"
  xdotool key Tab
  sleep 1
}
taper 481 237 41
taper 481 181 150
import -window root "$out/shot-creation-typed.png"
# The mesh "9" clicked, then Add: the new card says "Mesh size=9".
xdotool mousemove 80 440 click 1
sleep 1
xdotool mousemove 384 527 click 1
import -window root "$out/shot-creation-degree-9.png"
xdotool mousemove 734 527 click 1
attendre
import -window root "$out/shot-creation-added.png"
# "Refine" from the new card's pop-up menu: the card says "Mesh size=10" at once.
xdotool mousemove 300 312 click 3
sleep 1
xdotool key Down Down Down Down Down Down Return
attendre
import -window root "$out/shot-creation-refined.png"
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
INNER
xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner" "$out"
rm -f "$inner"
echo "wrote $out/shot-creation-{mountain,trees,additive,profiles,turning,refine,combine,typed,degree-9,added,refined}.png"
