#!/usr/bin/env bash
# Review shot of the main window: starts build/bin/quorvel under Xvfb with a
# document, moves the pointer over a tool button so that it shows hot with its
# balloon hint, and writes a PNG of the screen.
# Needs the Debian packages xvfb, xdotool and imagemagick. Not part of CI.
# Usage: tests/review/shot-main.sh [DOCUMENT] [OUTPUT.png]
set -euo pipefail
cd "$(dirname "$0")/../.."
doc=${1:-tests/data/vallee.vue}
out=${2:-build/shot-main.png}
doc=$(realpath "$doc")
out=$(realpath -m "$out")
inner=$(mktemp)
cat > "$inner" <<'INNER'
set -euo pipefail
build/bin/quorvel "$1" &
pid=$!
sleep 4
win=$(xdotool search --onlyvisible --name '^Quorvel v3.1$' | head -n 1)
xdotool windowmove "$win" 0 0 || true
# The program is the active one, as for a user working in it (no window manager here).
xdotool windowfocus "$win" || true
sleep 1
# Pointer over the "Open" button of the tool bar (left part of the button bar).
read -r wx wy < <(xdotool getwindowgeometry "$win" | awk '/Position/ {split($2, a, ","); print a[1], a[2]}')
xdotool mousemove $((wx + 17)) $((wy + 40))
sleep 2
import -window root "$2"
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
INNER
xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner" "$doc" "$out"
rm -f "$inner"
echo "wrote $out"
