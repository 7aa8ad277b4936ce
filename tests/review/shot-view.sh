#!/usr/bin/env bash
# Review shots of a mountain and its view: starts build/bin/quorvel under Xvfb,
# presses F5 (new mountain) and F6 (see), waits for the picture, writes a PNG of
# the screen, then opens "Informations" from the View menu and writes a second PNG.
# Needs the Debian packages xvfb, xdotool and imagemagick. Not part of CI.
# Usage: tests/review/shot-view.sh [VIEW.png] [STATISTICS.png]
set -euo pipefail
cd "$(dirname "$0")/../.."
out1=$(realpath -m "${1:-build/shot-view.png}")
out2=$(realpath -m "${2:-build/shot-informations.png}")
inner=$(mktemp)
cat > "$inner" <<'INNER'
set -euo pipefail
build/bin/quorvel &
pid=$!
sleep 4
win=$(xdotool search --name '^Quorvel$' | head -n 1)
xdotool windowmove "$win" 0 0 || true
xdotool windowsize "$win" 1000 740 || true
xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus "$win" || true
sleep 1
xdotool key --window "$win" F5
# The progress window "Waiting" shows while the work runs.
sleep 1
while xdotool search --name '^Waiting$' >/dev/null 2>&1; do sleep 0.5; done
sleep 1
xdotool key --window "$win" F6
sleep 2
while xdotool search --name '^Waiting$' >/dev/null 2>&1; do sleep 0.5; done
sleep 2
import -window root "$1"
xdotool key --window "$win" alt+v
sleep 1
xdotool key i
sleep 2
import -window root "$2"
xdotool key Escape || true
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
INNER
xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner" "$out1" "$out2"
rm -f "$inner"
echo "wrote $out1 and $out2"
