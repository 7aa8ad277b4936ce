#!/usr/bin/env bash
# Review shots of the program read right to left: starts build/bin/quorvel
# with Qt's -reverse option under Xvfb on a copy of tests/data/vallee.vue (its
# card, whose title holds the document's path, and its view), and writes one
# PNG of each window: the main window with its tool bar, card and view
# (-main), "Adjustments of the mountain" with its mesh list (-creation),
# "Adjustments of the view" (-viewopts), the map editor with its tool bar
# (-editor) and the help window (-help).
# Needs the Debian packages xvfb, xdotool and imagemagick. Not part of CI.
# Usage: tests/review/shot-rtl.sh [OUTPUT_PREFIX]   (default build/shot-rtl)
set -euo pipefail
cd "$(dirname "$0")/../.."
prefix=$(realpath -m "${1:-build/shot-rtl}")
work=$(mktemp -d)
cp tests/data/vallee.vue "$work/vallee.vue"
inner=$(mktemp)
cat > "$inner" <<'INNER'
set -euo pipefail
prefix=$1
wait_progress() {
  sleep 1
  while xdotool search --name '^Waiting$' >/dev/null 2>&1; do sleep 0.5; done
  sleep 1
}
build/bin/quorvel "$2/vallee.vue" -reverse &
pid=$!
sleep 8
win=$(xdotool search --name '^Quorvel v3.1$' | head -n 1)
xdotool windowmove "$win" 0 0 || true
xdotool windowsize "$win" 1010 760 || true
xdotool windowfocus "$win" || true
sleep 2
import -window root "$prefix-main.png"
xdotool key F7
sleep 3
import -window root "$prefix-creation.png"
xdotool key Escape
sleep 1
# Without a window manager the keyboard does not come back by itself.
xdotool windowfocus "$win" || true
xdotool key F8
sleep 3
import -window root "$prefix-viewopts.png"
xdotool key Escape
sleep 1
xdotool windowfocus "$win" || true
# The card becomes the active window (the view is in front after opening):
# the editor opens from it.
xdotool key ctrl+Tab
sleep 1
sleep 1
xdotool key F4
wait_progress
sleep 2
import -window root "$prefix-editor.png"
xdotool windowfocus "$win" || true
xdotool key alt+h
sleep 1
xdotool key Return
sleep 2
import -window root "$prefix-help.png"
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
INNER
xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner" "$prefix" "$work"
rm -rf "$inner" "$work"
echo "wrote $prefix-{main,creation,viewopts,editor,help}.png"
