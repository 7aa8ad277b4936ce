#!/usr/bin/env bash
# Review shots of the gradient captions: starts build/bin/quorvel under Xvfb
# with the Openbox window manager, so that the program's drawn title bars
# move and size their windows through it as on a desktop.
#  - OUTPUT-main.png: the main window with its drawn title bar (icon, "Quorvel
#    v3.1" in bold yellow on the green gradient, minimise, maximise and close
#    in one style), after it was dragged by its title bar and sized by its
#    bottom-right corner;
#  - OUTPUT-drag.png: the screen in the middle of a drag by the title bar,
#    the button still down (the strip stays active);
#  - OUTPUT-filemenu.png: the main window with its File menu open (the strip
#    stays active);
#  - OUTPUT-menu.png: the main window's pop-up menu on a right click of its
#    title bar (Restore, Move, Size, Minimize, Maximize, Close);
#  - OUTPUT.png: the about box (Help > "&About ...") after it was dragged by
#    its strip with the mouse: its shadow stands at the new place, and the
#    main window's caption behind it shows inactive (plain grey);
#  - OUTPUT-rtl-main.png and OUTPUT-rtl.png: the main window and the about box
#    with the program started with Qt's -reverse option (every window reads
#    right to left: the strips mirrored, icon and text at the right, buttons
#    at the left);
#  - OUTPUT-movie-close.png: the title bar's close button clicked while a
#    movie is made: the box that says why the program stays open;
#  - OUTPUT-strips.png: the strips cut from the screens and shown twice their
#    size: the main window's, during the drag, with the File menu open, the
#    about box's, and the right-to-left main window's and about box's.
# It prints how far the window moved for each drag by the strip (as far as
# the pointer) and for the window menu's Move with the arrow keys.
# Needs the Debian packages xvfb, xdotool, imagemagick and openbox. Not part of CI.
# Usage: tests/review/shot-caption.sh [OUTPUT.png]
set -euo pipefail
cd "$(dirname "$0")/../.."
out=$(realpath -m "${1:-build/shot-caption.png}")
prefix="${out%.png}"
work=$(mktemp -d)
# The movie made when a video document without its movie is opened lasts a
# few seconds: time to click the title bar's close button.
sed 's/^Derniere image     =          20/Derniere image     =         200/' tests/data/tour.vid > "$work/tour.vid"
inner=$(mktemp)
cat > "$inner" <<'INNER'
set -euo pipefail
# $1: the about box's PNG; $2: the prefix of the other PNGs, or "-" for the
# about box and main window only; $3: the file for the strips' geometries;
# $4: the file for the measures; $5: the video document or "-"; the rest: the program's options.
png=$1 prefix=$2 geometry=$3 measures=$4 video=$5
shift 5
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
# The main window: dragged by its title bar (the window follows the pointer
# from the press), then sized by its bottom-right corner.
read -r wx wy ww wh < <(where "$win")
drag $((wx + 300)) $((wy + 12)) $((wx + 360)) $((wy + 40))
read -r x2 y2 ww wh < <(where "$win")
echo "drag of the main window by 60,28: moved $((x2 - wx)),$((y2 - wy))" >> "$measures"
drag $((x2 + ww - 2)) $((y2 + wh - 2)) $((x2 + ww - 80)) $((y2 + wh - 120))
read -r wx wy ww wh < <(where "$win")
echo "${ww}x22+${wx}+${wy}" > "$geometry"
xdotool mousemove $((wx + 200)) $((wy + 200))
sleep 1
if [[ "$prefix" != - ]]; then
  import -window root "$prefix-main.png"
  # In the middle of a drag, the button down: the window manager holds the keyboard.
  xdotool mousemove $((wx + 300)) $((wy + 12)); sleep 0.3; xdotool mousedown 1; sleep 0.2
  xdotool mousemove $((wx + 280)) $((wy + 22)); sleep 0.2; xdotool mousemove $((wx + 260)) $((wy + 32)); sleep 1
  import -window root "$prefix-drag.png"
  read -r dx dy dw dh < <(where "$win")
  echo "${dw}x22+${dx}+${dy}" >> "$geometry"
  xdotool mouseup 1; sleep 1
  read -r x2 y2 ww wh < <(where "$win")
  echo "drag of the main window by -40,20: moved $((x2 - wx)),$((y2 - wy))" >> "$measures"
  wx=$x2 wy=$y2
  # The File menu open.
  xdotool mousemove $((wx + 200)) $((wy + 200)); sleep 0.3
  xdotool key alt+f; sleep 1
  import -window root "$prefix-filemenu.png"
  echo "${ww}x22+${wx}+${wy}" >> "$geometry"
  xdotool key Escape; sleep 0.5
  # The title bar's menu, then its Move: three steps of the right arrow key.
  xdotool mousemove $((wx + 250)) $((wy + 12)) click 3
  sleep 1
  import -window root "$prefix-menu.png"
  xdotool key m; sleep 1
  xdotool key Right Right Right; sleep 0.5
  xdotool key Return; sleep 1
  read -r x2 y2 ww wh < <(where "$win")
  echo "Move of the window menu, three steps right: moved $((x2 - wx)),$((y2 - wy))" >> "$measures"
  wx=$x2 wy=$y2
else
  import -window root "${png%.png}-main.png"
fi
xdotool mousemove $((wx + 200)) $((wy + 200)); sleep 0.3
xdotool key alt+h
sleep 1
xdotool key a
sleep 2
# The about box, dragged by its strip, up and left so that its shadow falls on the picture.
box=$(xdotool search --onlyvisible --name '^Quorvel v 3.1$' | tail -n 1)
read -r bx by bw bh < <(where "$box")
drag $((bx + 160)) $((by + 8)) $((bx + 80)) $((by - 22))
read -r x2 y2 bw bh < <(where "$box")
echo "drag of the about box by -80,-30: moved $((x2 - bx)),$((y2 - by))" >> "$measures"
echo "${bw}x18+${x2}+${y2}" >> "$geometry"
import -window root "$png"
xdotool key Escape || true
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
if [[ "$video" != - ]]; then
  # A movie being made: the title bar's close button says why the program stays.
  build/bin/quorvel "$video" &
  pid=$!
  timeout 20 xdotool search --sync --name '^Video making$' >/dev/null
  sleep 1
  win=$(xdotool search --onlyvisible --name '^Quorvel v3.1$' | head -n 1)
  read -r wx wy ww wh < <(where "$win")
  xdotool mousemove $((wx + ww - 13)) $((wy + 13)) click 1
  sleep 2
  import -window root "$prefix-movie-close.png"
  while xdotool search --name '^Video making$' >/dev/null 2>&1; do sleep 0.5; done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
fi
kill "$wm" 2>/dev/null || true
INNER
g1=$(mktemp)
g2=$(mktemp)
m=$(mktemp)
xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner" "$out" "$prefix" "$g1" "$m" "$work/tour.vid"
xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner" "$prefix-rtl.png" - "$g2" "$m" - -reverse
# The strips, cut at the windows' positions and shown twice their size.
cut() { echo \( "$1" -crop "$2" +repage \); }
convert $(cut "$prefix-main.png" "$(sed -n 1p "$g1")") $(cut "$prefix-drag.png" "$(sed -n 2p "$g1")") \
  $(cut "$prefix-filemenu.png" "$(sed -n 3p "$g1")") $(cut "$out" "$(sed -n 4p "$g1")") \
  $(cut "$prefix-rtl-main.png" "$(sed -n 1p "$g2")") $(cut "$prefix-rtl.png" "$(sed -n 2p "$g2")") \
  -background white -splice 0x4 -append -scale 200% "$prefix-strips.png"
cat "$m"
rm -rf "$inner" "$g1" "$g2" "$m" "$work"
echo "wrote $prefix-main.png, -drag, -filemenu, -menu, $out, -rtl-main, -rtl, -movie-close and -strips"
