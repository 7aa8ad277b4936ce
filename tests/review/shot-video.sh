#!/usr/bin/env bash
# Review shots of a video: starts build/bin/quorvel under Xvfb with a copy of
# tests/data/tour.vid (200 frames made, so the making lasts a few seconds) and
# no movie beside it, writes a PNG of the "Video making" window while the movie
# is made, then one of the video window showing the movie's first frame and its
# status line; then ticks "Detailed parameters", chooses "Regenerate" from the
# video window's pop-up menu and writes a PNG of the "Video file parameters"
# dialog (which is then cancelled). VIDEO_TYPE and VIDEO_SIZE give the video
# another codec type and frame size (VIDEO_TYPE=10 VIDEO_SIZE=800x450: a DVD
# of a 16:9 picture, which the player shows at 4:3 with bands).
# Needs the Debian packages xvfb, xdotool and imagemagick. Not part of CI.
# Usage: tests/review/shot-video.sh [MAKING.png] [WINDOW.png] [PARAMETERS.png]
set -euo pipefail
cd "$(dirname "$0")/../.."
out1=$(realpath -m "${1:-build/shot-video-making.png}")
out2=$(realpath -m "${2:-build/shot-video-window.png}")
out3=$(realpath -m "${3:-build/shot-video-parameters.png}")
work=$(mktemp -d)
size=${VIDEO_SIZE:-320x240}
awk -v t="${VIDEO_TYPE:-2}" -v w="${size%x*}" -v h="${size#*x}" '
  /PARAMETRES VIDEO/ { video = 1 }
  video && /^Type video / { printf "Type video         =%12d\r\n", t; next }
  video && /^Largeur image / { printf "Largeur image      =%12d\r\n", w; next }
  video && /^Hauteur image / { printf "Hauteur image      =%12d\r\n", h; next }
  /^Derniere image     =          20/ { printf "Derniere image     =         200\r\n"; next }
  { print }' tests/data/tour.vid > "$work/tour.vid"
inner=$(mktemp)
cat > "$inner" <<'INNER'
set -euo pipefail
build/bin/quorvel "$4/tour.vid" &
pid=$!
for i in $(seq 1 100); do
  xdotool search --name '^Video making$' >/dev/null 2>&1 && break
  sleep 0.2
done
sleep 1
import -window root "$1"
while xdotool search --name '^Video making$' >/dev/null 2>&1; do sleep 0.5; done
sleep 2
import -window root "$2"
# A click on the video window gives the program the keyboard.
xdotool mousemove "$5" "$6" click 1
sleep 1
xdotool key alt+d
sleep 1
[ -n "${DEBUG_SHOTS:-}" ] && import -window root "${1%.png}-debug1.png"
# "Detailed parameters" is the fourth item of the Videos menu.
xdotool key Down Down Down Return
sleep 1
# The video window is the active child, in front: its pop-up menu, first item.
xdotool mousemove "$5" "$6" click 3
sleep 1
[ -n "${DEBUG_SHOTS:-}" ] && import -window root "${1%.png}-debug2.png"
# "Regenerate", the menu's first item, just below the pointer.
xdotool mousemove $(( $5 + 40 )) $(( $6 + 10 )) click 1
for i in $(seq 1 50); do
  xdotool search --name '^Video file parameters$' >/dev/null 2>&1 && break
  sleep 0.2
done
sleep 1
import -window root "$3"
xdotool key Escape || true
sleep 1
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
INNER
xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner" "$out1" "$out2" "$out3" "$work" "${VIDEO_X:-620}" "${VIDEO_Y:-200}"
rm -rf "$inner" "$work"
echo "wrote $out1, $out2 and $out3"
