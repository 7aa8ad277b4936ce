#!/usr/bin/env bash
# Review shots of a mountain and its view: starts build/bin/quorvel under Xvfb,
# presses F5 (new mountain) and F6 (see), waits for the picture, writes a PNG of
# the screen, then opens "Informations" from the View menu and writes a second PNG.
# Needs the Debian packages xvfb, xdotool and imagemagick. Not part of CI.
# Last, the dialog's Help button, and a third PNG with the help window over it.
# Then the sample view document (tests/data/vallee.vue, copied to a temporary
# folder) is opened from the command line and drawn (fourth PNG), saved with F3
# and opened again from its stored picture (fifth PNG): both frames read
# 640 x 480. Last, that fixed-scale view is maximised and drawn again through
# View options > "Redraw" > OK (sixth PNG): the picture fills the maximised
# window but for the margin round it, with no scroll bar. Then the sample
# mountain, copied as vacances.mat beside the user's own photos vacances.bmp
# and vacances.jpg, is opened, seen (F6) and saved with F3: Yes to saving the
# view, Yes to replacing vacances.bmp, and the question that names the photo
# the save would delete (seventh PNG); No there keeps both photos as they
# were and writes no view document (the script says so).
# Usage: tests/review/shot-view.sh [VIEW.png] [STATISTICS.png] [HELP.png] [DOCUMENT.png] [REOPENED.png]
#          [REDRAWN.png] [PHOTO.png]
set -euo pipefail
cd "$(dirname "$0")/../.."
out1=$(realpath -m "${1:-build/shot-view.png}")
out2=$(realpath -m "${2:-build/shot-informations.png}")
out3=$(realpath -m "${3:-build/shot-help-informations.png}")
out4=$(realpath -m "${4:-build/shot-view-document.png}")
out5=$(realpath -m "${5:-build/shot-view-reopened.png}")
out6=$(realpath -m "${6:-build/shot-view-maximised-redrawn.png}")
out7=$(realpath -m "${7:-build/shot-view-users-photo.png}")
inner=$(mktemp)
cat > "$inner" <<'INNER'
set -euo pipefail
# Starts the program on the arguments given, its window at the top left.
demarrer() {
  build/bin/quorvel "$@" &
  pid=$!
  sleep 6
  win=$(xdotool search --name '^Quorvel v3.1$' | head -n 1)
  xdotool windowmove "$win" 0 0 || true
  xdotool windowsize "$win" 1010 760 || true
  sleep 1
}
demarrer
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
# The view document, drawn, saved beside its picture, then reopened.
doc=$(mktemp -d)
cp tests/data/vallee.vue "$doc/vallee.vue"
ouvrir_document() {
  build/bin/quorvel "$doc/vallee.vue" &
  pid=$!
  sleep 6
  while xdotool search --name '^Waiting$' >/dev/null 2>&1; do sleep 0.5; done
  sleep 2
  win=$(xdotool search --name '^Quorvel v3.1$' | head -n 1)
  xdotool windowmove "$win" 0 0 || true
  xdotool windowsize "$win" 1010 760 || true
  sleep 1
  import -window root "$1"
}
ouvrir_document "$4"
xdotool mousemove 300 300 click 1
sleep 1
xdotool key F3
sleep 2
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
ouvrir_document "$5"
# A double click on the view's title bar maximises it; F8 opens the view
# options, whose "Redraw" and OK are clicked at their places in the dialog.
xdotool mousemove 300 84 click --repeat 2 --delay 80 1
sleep 1
xdotool key F8
sleep 3
dlg=$(xdotool search --name '^Adjustments of the view$' | head -n 1)
xdotool mousemove --window "$dlg" 90 421 click 1
sleep 0.5
xdotool mousemove --window "$dlg" 455 386 click 1
sleep 2
while xdotool search --name '^Waiting$' >/dev/null 2>&1; do sleep 0.5; done
sleep 1
import -window root "$6"
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
# The user's photos beside a mountain document of their name.
cp tests/data/vallee.mat "$doc/vacances.mat"
convert -size 64x48 xc:red "$doc/vacances.bmp"
convert -size 64x48 xc:blue "$doc/vacances.jpg"
sums=$(cd "$doc" && md5sum vacances.bmp vacances.jpg)
demarrer "$doc/vacances.mat"
xdotool mousemove 300 200 click 1
sleep 1
xdotool key F6
sleep 2
while xdotool search --name '^Waiting$' >/dev/null 2>&1; do sleep 0.5; done
sleep 1
xdotool key F3
sleep 2
xdotool key alt+y
sleep 2
xdotool key alt+y
sleep 2
import -window root "$7"
xdotool key alt+n
sleep 2
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
if [ "$(cd "$doc" && md5sum vacances.bmp vacances.jpg)" = "$sums" ] && [ ! -e "$doc/vacances.vue" ]; then
  echo "No kept the user's photos and wrote no view document"
else
  echo "FAIL: the user's photos changed, or a view document was written" >&2
  exit 1
fi
rm -rf "$doc"
INNER
xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner" "$out1" "$out2" "$out3" "$out4" "$out5" "$out6" "$out7"
rm -f "$inner"
echo "wrote $out1, $out2, $out3, $out4, $out5, $out6 and $out7"
