#!/usr/bin/env bash
# Review shots of the map editor's tools: starts build/bin/quorvel under Xvfb
# (with the shipped montagne.ini beside it, so F5 makes a degree-7 mountain
# that has no file: nothing is written), opens the editor with F4, goes to
# the menu bar with Alt+W and back with two Escapes (a fifth PNG shows the bar
# holding the keyboard between them), selects Shape with Page Up then Page
# Down, drags a short stroke and writes a PNG while the tool dialog is open
# (section, circles and section line on the map); then Enter runs the tool,
# the pop-up's "Refresh" draws the changed map for a second PNG, the
# pop-up's "Raise ..." opens the raise dialog for a third, and its
# "Cross-section" the section dialog for a fourth. Last, with the explorer
# shown, Alt+W and Escape again: a sixth PNG shows the bar holding the
# keyboard, its title highlighted, the tree beside it.
# F5 draws the new mountain's key from the clock, so two runs show different
# terrains: to compare two builds, give both the same fixed key first.
# Needs the Debian packages xvfb, xdotool and imagemagick. Not part of CI.
# Usage: tests/review/shot-tools.sh [DIALOG.png] [RESULT.png] [RAISE.png] [SECTION.png] [MENUBAR.png]
#                                   [MENUBAR-EXPLORER.png]
set -euo pipefail
cd "$(dirname "$0")/../.."
out1=$(realpath -m "${1:-build/shot-tools-dialog.png}")
out2=$(realpath -m "${2:-build/shot-tools-result.png}")
out3=$(realpath -m "${3:-build/shot-tools-raise.png}")
out4=$(realpath -m "${4:-build/shot-tools-section.png}")
out5=$(realpath -m "${5:-build/shot-tools-menubar.png}")
out6=$(realpath -m "${6:-build/shot-tools-menubar-explorer.png}")
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
sleep 7
win=$(xdotool search --name '^Quorvel v3.1$' | head -n 1)
xdotool windowmove "$win" 0 0 || true
xdotool windowsize "$win" 1010 760 || true
sleep 1
# A click on the empty workspace gives the window the keyboard.
xdotool mousemove 100 600 click 1
sleep 1
xdotool key F5
wait_progress
xdotool mousemove 300 200 click 1
sleep 1
xdotool key F4
wait_progress
# The editor opens as the next MDI child, its map at a known place on the screen.
# Through the menu bar and back: Alt+W opens the Window menu; Escape closes it
# and leaves the bar holding the keyboard, its title highlighted, as desktop
# menu bars do; a second Escape gives the keyboard back to the editor.
xdotool key alt+w
sleep 0.5
xdotool key Escape
sleep 0.3
import -window root "$5"
xdotool key Escape
map_x=${EDITOR_MAP_X:-700}
map_y=${EDITOR_MAP_Y:-520}
xdotool mousemove "$map_x" "$map_y"
sleep 0.5
xdotool key Prior
sleep 0.3
xdotool key Next
sleep 0.5
# A short stroke of more than eight nodes, left to right.
xdotool mousemove $((map_x - 40)) "$map_y" mousedown 1
for dx in -30 -20 -10 0 10 20 30 40; do
  xdotool mousemove $((map_x + dx)) $((map_y + dx / 4))
  sleep 0.1
done
xdotool mouseup 1
sleep 1.5
# The dialog sits left of the stroke: five clicks on the track above the
# after-altitude's thumb raise it by 500 m.
dlg=$(xdotool search --name '^Shape$' | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$dlg")"
for k in 1 2 3 4 5; do xdotool mousemove $((X + 18)) $((Y + 60)) click 1; sleep 0.2; done
sleep 0.5
import -window root "$1"
xdotool key Return
wait_progress
xdotool mousemove "$map_x" "$map_y" click 3
sleep 0.5
xdotool key Down Down Return
wait_progress
import -window root "$2"
xdotool mousemove "$map_x" "$map_y" click 3
sleep 0.5
xdotool key Down Down Down Return
sleep 1.5
import -window root "$3"
xdotool key Escape
sleep 0.5
xdotool mousemove "$map_x" "$map_y" click 3
sleep 0.5
xdotool key Down Return
sleep 1.5
import -window root "$4"
xdotool key Return
sleep 0.5
# The explorer shown: the tree does not take the keyboard from the bar.
xdotool mousemove 330 57 click 1
sleep 1
xdotool key alt+w
sleep 0.5
xdotool key Escape
sleep 1
import -window root "$6"
xdotool key Escape
sleep 0.5
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
INNER
xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner" "$out1" "$out2" "$out3" "$out4" "$out5" "$out6"
rm -f "$inner"
echo "wrote $out1, $out2, $out3, $out4, $out5 and $out6"
