#!/usr/bin/env bash
# Review shots of the map editor: copies tests/data/vallee.mat (degree 7) to a
# temporary folder (the editor's map pictures land beside it, never in the
# source tree), starts build/bin/quorvel on that copy under Xvfb, presses F4,
# waits for the map, moves the pointer over the map and writes a PNG; then
# clicks Zoom for a second PNG and Level curves for a third; then raises the
# terrain by 0 m through the pop-up (an edit), closes the editor with its
# close button and writes a fourth PNG while the save question is open (the
# editor still shows its map behind it), answering No.
# Needs the Debian packages xvfb, xdotool and imagemagick. Not part of CI.
# Usage: tests/review/shot-editor.sh [MAP.png] [ZOOM.png] [LEVELS.png] [CLOSE.png]
set -euo pipefail
cd "$(dirname "$0")/../.."
out1=$(realpath -m "${1:-build/shot-editor.png}")
out2=$(realpath -m "${2:-build/shot-editor-zoom.png}")
out3=$(realpath -m "${3:-build/shot-editor-levels.png}")
out4=$(realpath -m "${4:-build/shot-editor-close.png}")
work=$(mktemp -d)
cp tests/data/vallee.mat "$work/vallee.mat"
inner=$(mktemp)
cat > "$inner" <<'INNER'
set -euo pipefail
wait_progress() {
  sleep 1
  while xdotool search --name '^Waiting$' >/dev/null 2>&1; do sleep 0.5; done
  sleep 1
}
build/bin/quorvel "$4/vallee.mat" &
pid=$!
sleep 7
win=$(xdotool search --name '^Quorvel v3.1$' | head -n 1)
xdotool windowmove "$win" 0 0 || true
xdotool windowsize "$win" 1010 760 || true
sleep 1
# A click on the mountain's card gives the window the keyboard.
xdotool mousemove 300 200 click 1
sleep 1
xdotool key F4
wait_progress
# The editor opens as the next MDI child; maximised it sits at a known place.
xdotool key alt+w || true
sleep 0.5
xdotool key Escape || true
eval "$(xdotool getwindowgeometry --shell "$win")"
map_x=${EDITOR_MAP_X:-700}
map_y=${EDITOR_MAP_Y:-500}
xdotool mousemove "$map_x" "$map_y"
sleep 0.3
xdotool mousemove $((map_x + 5)) $((map_y + 3))
sleep 1
import -window root "$1"
xdotool mousemove "${EDITOR_ZOOM_X:-539}" "${EDITOR_ZOOM_Y:-293}" click 1
sleep 1
xdotool mousemove "$map_x" "$map_y"
sleep 0.3
xdotool mousemove $((map_x + 5)) $((map_y + 3))
sleep 1
import -window root "$2"
xdotool mousemove "${EDITOR_LEVELS_X:-564}" "${EDITOR_LEVELS_Y:-293}" click 1
wait_progress
import -window root "$3"
xdotool mousemove "$map_x" "$map_y" click 3
sleep 0.5
xdotool key Down Down Down Return
sleep 1.5
xdotool key Return
sleep 1
xdotool mousemove "${EDITOR_CLOSE_X:-994}" "${EDITOR_CLOSE_Y:-235}" click 1
sleep 1.5
import -window root "$5"
# Esc leaves a save question up: No is pressed by its letter.
xdotool key alt+n
sleep 0.5
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
INNER
xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner" "$out1" "$out2" "$out3" "$work" "$out4"
rm -rf "$inner" "$work"
echo "wrote $out1, $out2, $out3 and $out4"
