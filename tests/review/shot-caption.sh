#!/usr/bin/env bash
# Review shots of the about box with its gradient caption strip: starts
# build/bin/quorvel under Xvfb, waits for the splash to go, opens "&About ..."
# from the Help menu and writes a PNG of the screen. Without a window manager
# no title bar is drawn, so the main window's title (found by xdotool as
# "Quorvel v3.1") is written into the picture's bottom line.
# It then does the same with the program started with Qt's -reverse option,
# which makes every window read right to left: the box's strip shows its
# caption right-aligned. That screen goes to OUTPUT-rtl.png, and OUTPUT-strips.png
# shows the two strips, cut from the screens, one above the other.
# Needs the Debian packages xvfb, xdotool and imagemagick. Not part of CI.
# Usage: tests/review/shot-caption.sh [OUTPUT.png]
set -euo pipefail
cd "$(dirname "$0")/../.."
out=$(realpath -m "${1:-build/shot-caption.png}")
rtl="${out%.png}-rtl.png"
strips="${out%.png}-strips.png"
inner=$(mktemp)
cat > "$inner" <<'INNER'
set -euo pipefail
# $1: the PNG to write; $2: the file for the box's strip geometry; the rest: the program's options.
png=$1
geometry=$2
shift 2
build/bin/quorvel "$@" &
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
xdotool getwindowgeometry "$box" | awk '/Position/ {split($2, a, ","); p = a[1] "+" a[2]} /Geometry/ {split($2, g, "x"); w = g[1]} END {print w "x18+" p}' | sed 's/+\([0-9]*\)+\([0-9]*\)$/+\1+\2/' > "$geometry"
import -window root "$png"
convert "$png" -font DejaVu-Sans -gravity South -background white -splice 0x24 -pointsize 16 -annotate +0+3 \
  "main window title: \"$title\"" "$png"
xdotool key Escape || true
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
INNER
g1=$(mktemp)
g2=$(mktemp)
xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner" "$out" "$g1"
xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner" "$rtl" "$g2" -reverse
# The strips, cut at the boxes' positions and shown four times their size.
convert \( "$out" -crop "$(cat "$g1")" +repage \) \( "$rtl" -crop "$(cat "$g2")" +repage \) \
  -background white -splice 0x4 -append -scale 400% "$strips"
rm -f "$inner" "$g1" "$g2"
echo "wrote $out, $rtl and $strips"
