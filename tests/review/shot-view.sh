#!/usr/bin/env bash
# Review shots of a mountain and its view: starts build/bin/quorvel under Xvfb,
# presses F5 (new mountain) and F6 (see), waits for the picture, writes a PNG of
# the screen, then opens "Informations" from the View menu and writes a second PNG.
# Needs the Debian packages xvfb, xdotool and imagemagick. Not part of CI.
# Last, the dialog's Help button, and a third PNG with the help window over it.
# Usage: tests/review/shot-view.sh [VIEW.png] [STATISTICS.png] [HELP.png]
set -euo pipefail
cd "$(dirname "$0")/../.."
out1=$(realpath -m "${1:-build/shot-view.png}")
out2=$(realpath -m "${2:-build/shot-informations.png}")
out3=$(realpath -m "${3:-build/shot-help-informations.png}")
inner=$(mktemp)
cat > "$inner" <<'INNER'
set -euo pipefail
build/bin/quorvel &
pid=$!
sleep 6
win=$(xdotool search --name '^Quorvel v3.1$' | head -n 1)
xdotool windowmove "$win" 0 0 || true
xdotool windowsize "$win" 1010 760 || true
sleep 1
# A click on the empty workspace gives the window the keyboard.
xdotool mousemove 800 600 click 1
sleep 1
xdotool key F5
# The progress window "Waiting" shows while the work runs.
sleep 1
while xdotool search --name '^Waiting$' >/dev/null 2>&1; do sleep 0.5; done
import -window root "${1%.png}-card.png"
# Without a window manager the keyboard does not come back by itself once the
# progress window is gone: a click on the mountain's card gives it back.
xdotool mousemove 300 200 click 1
sleep 1
xdotool key F6
sleep 2
while xdotool search --name '^Waiting$' >/dev/null 2>&1; do sleep 0.5; done
sleep 2
import -window root "$1"
xdotool mousemove 300 300 click 1
sleep 1
xdotool key alt+v
sleep 1
# "Informations" has no accelerator: four steps up from the first item reach it.
xdotool key Up Up Up Up Return
sleep 2
import -window root "$2"
# The dialog's Help button: the help window opens in front of the dialog,
# wholly on the screen.
xdotool key alt+h
sleep 2
import -window root "$3"
xdotool key Escape || true
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
INNER
xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner" "$out1" "$out2" "$out3"
rm -f "$inner"
echo "wrote $out1, $out2 and $out3"
