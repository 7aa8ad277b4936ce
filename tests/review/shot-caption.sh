#!/usr/bin/env bash
# Review shots of the gradient captions: starts build/bin/quorvel under Xvfb
# with the Openbox window manager, so that the program's drawn title bars
# move and size their windows through it as on a desktop.
#  - OUTPUT-main.png: the main window with its drawn title bar (icon, "Quorvel
#    v3.1" in bold yellow on the green gradient, minimise, maximise and close),
#    after it was dragged by its title bar and sized by its bottom-right corner;
#  - OUTPUT.png: the about box (Help > "&About ...") after it was dragged by
#    its strip with the mouse: its shadow stands at the new place, and the
#    main window's caption behind it shows inactive (plain grey);
#  - OUTPUT-menu.png: the main window's pop-up menu on a right click of its
#    title bar;
#  - OUTPUT-rtl.png: the same about box with the program started with Qt's
#    -reverse option (every window reads right to left: captions right-aligned);
#  - OUTPUT-strips.png: the main window's and the about box's strips, and the
#    right-to-left about box's, cut from the screens and shown twice their size.
# Needs the Debian packages xvfb, xdotool, imagemagick and openbox. Not part of CI.
# Usage: tests/review/shot-caption.sh [OUTPUT.png]
set -euo pipefail
cd "$(dirname "$0")/../.."
out=$(realpath -m "${1:-build/shot-caption.png}")
main="${out%.png}-main.png"
menu="${out%.png}-menu.png"
rtl="${out%.png}-rtl.png"
strips="${out%.png}-strips.png"
inner=$(mktemp)
cat > "$inner" <<'INNER'
set -euo pipefail
# $1: the about box's PNG; $2: the main window's PNG or "-"; $3: the menu's PNG or "-";
# $4: the file for the strips' geometries; the rest: the program's options.
png=$1 mainpng=$2 menupng=$3 geometry=$4
shift 4
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
sleep 1
build/bin/quorvel "$@" &
pid=$!
sleep 4
win=$(xdotool search --onlyvisible --name '^Quorvel v3.1$' | head -n 1)
# Presses, moves and lets go, pausing between the steps as a hand would.
drag() {
  xdotool mousemove "$1" "$2"; sleep 0.3; xdotool mousedown 1; sleep 0.2
  xdotool mousemove $(( ($1 + $3) / 2 )) $(( ($2 + $4) / 2 )); sleep 0.2
  xdotool mousemove "$3" "$4"; sleep 0.2; xdotool mouseup 1; sleep 1
}
where() { xdotool getwindowgeometry "$1" | awk '/Position/ {split($2, a, ","); p = a[1] " " a[2]} /Geometry/ {split($2, g, "x"); s = g[1] " " g[2]} END {print p, s}'; }
xdotool windowactivate --sync "$win" || true
sleep 1
# The main window: dragged by its title bar, then sized by its bottom-right corner.
read -r wx wy ww wh < <(where "$win")
drag $((wx + 300)) $((wy + 12)) $((wx + 330)) $((wy + 40))
read -r wx wy ww wh < <(where "$win")
drag $((wx + ww - 2)) $((wy + wh - 2)) $((wx + ww - 80)) $((wy + wh - 120))
read -r wx wy ww wh < <(where "$win")
echo "${ww}x22+${wx}+${wy}" > "$geometry"
xdotool mousemove $((wx + 200)) $((wy + 200))
sleep 1
[[ "$mainpng" != - ]] && import -window root "$mainpng"
if [[ "$menupng" != - ]]; then
  xdotool mousemove $((wx + 250)) $((wy + 12)) click 3
  sleep 1
  import -window root "$menupng"
  xdotool key Escape
  sleep 1
fi
xdotool key alt+h
sleep 1
xdotool key a
sleep 2
# The about box, dragged by its strip, up and left so that its shadow falls on the picture.
box=$(xdotool search --onlyvisible --name '^Quorvel v 3.1$' | tail -n 1)
read -r bx by bw bh < <(where "$box")
drag $((bx + 160)) $((by + 8)) $((bx + 80)) $((by - 22))
read -r bx by bw bh < <(where "$box")
echo "${bw}x18+${bx}+${by}" >> "$geometry"
import -window root "$png"
xdotool key Escape || true
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
kill "$wm" 2>/dev/null || true
INNER
g1=$(mktemp)
g2=$(mktemp)
xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner" "$out" "$main" "$menu" "$g1"
xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner" "$rtl" - - "$g2" -reverse
# The strips, cut at the windows' positions and shown twice their size.
convert \( "$main" -crop "$(sed -n 1p "$g1")" +repage \) \( "$out" -crop "$(sed -n 2p "$g1")" +repage \) \
  \( "$rtl" -crop "$(sed -n 2p "$g2")" +repage \) -background white -splice 0x4 -append -scale 200% "$strips"
rm -f "$inner" "$g1" "$g2"
echo "wrote $main, $out, $menu, $rtl and $strips"
