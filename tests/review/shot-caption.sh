#!/usr/bin/env bash
# Review shot of the about box with its gradient caption strip: starts
# build/bin/quorvel under Xvfb, waits for the splash to go, opens "&About ..."
# from the Help menu and writes a PNG of the screen. Without a window manager
# no title bar is drawn, so the main window's title (found by xdotool as
# "Quorvel v3.1") is written into the picture's bottom line.
# Needs the Debian packages xvfb, xdotool and imagemagick. Not part of CI.
# Usage: tests/review/shot-caption.sh [OUTPUT.png]
set -euo pipefail
cd "$(dirname "$0")/../.."
out=$(realpath -m "${1:-build/shot-caption.png}")
inner=$(mktemp)
cat > "$inner" <<'INNER'
set -euo pipefail
build/bin/quorvel &
pid=$!
sleep 4
win=$(xdotool search --onlyvisible --name '^Quorvel v3.1$' | head -n 1)
title=$(xdotool getwindowname "$win")
xdotool windowmove "$win" 0 0 || true
xdotool windowfocus "$win" || true
sleep 1
xdotool key alt+h
sleep 1
xdotool key a
sleep 2
# The strip drags the box: move it by its caption so that it stands off-centre.
box=$(xdotool search --onlyvisible --name '^Quorvel v 3.1$' | tail -n 1)
read -r bx by < <(xdotool getwindowgeometry "$box" | awk '/Position/ {split($2, a, ","); print a[1], a[2]}')
xdotool mousemove $((bx + 60)) $((by + 8)) mousedown 1 mousemove $((bx + 100)) $((by + 48)) mouseup 1
sleep 1
import -window root "$1"
convert "$1" -font DejaVu-Sans -gravity South -background white -splice 0x24 -pointsize 16 -annotate +0+3 \
  "main window title: \"$title\"" "$1"
xdotool key Escape || true
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
INNER
xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner" "$out"
rm -f "$inner"
echo "wrote $out"
