#!/usr/bin/env bash
# Review shots of the video settings dialog: starts build/bin/quorvel under Xvfb,
# presses F5 (new mountain), clicks the card, presses F6 (see), waits for the
# picture, opens "Adjustements of Video" from the Videos menu and writes a PNG of
# the "Size" page; on "Path" it chooses "Closed path", presses "Create path",
# draws five points and ends with a double click (six points), drags the last
# frame line of the altitude profile and writes a PNG with the drawn path, its
# altitude profile and a frame preview; then a PNG of the "Creation" page, one
# with the Indeo 3.2 codec chosen (its line about the sizes it holds), and one
# after "Play a reduced video" has made and opened the Indeo preview movie.
# The dialog is cancelled at the end.
# Needs the Debian packages xvfb, xdotool and imagemagick. Not part of CI.
# Usage: tests/review/shot-video-dialog.sh [SIZE.png] [PATH.png] [CREATION.png] [INDEO.png] [PREVIEW.png]
set -euo pipefail
cd "$(dirname "$0")/../.."
out1=$(realpath -m "${1:-build/shot-video-dialog-size.png}")
out2=$(realpath -m "${2:-build/shot-video-dialog-path.png}")
out3=$(realpath -m "${3:-build/shot-video-dialog-creation.png}")
out4=$(realpath -m "${4:-build/shot-video-dialog-indeo.png}")
out5=$(realpath -m "${5:-build/shot-video-dialog-indeo-preview.png}")
inner=$(mktemp)
cat > "$inner" <<'INNER'
set -euo pipefail
[ -n "${DEBUG_SHOTS:-}" ] && set -x
size_png=$1 path_png=$2 creation_png=$3 indeo_png=$4 preview_png=$5
build/bin/quorvel 2>"${QUORVEL_LOG:-/dev/null}" &
pid=$!
sleep 6
win=$(xdotool search --name '^Quorvel v3.1$' | head -n 1)
xdotool windowmove "$win" 0 0 || true
xdotool windowsize "$win" 1010 760 || true
sleep 1
xdotool mousemove 800 600 click 1
sleep 1
xdotool key F5
sleep 1
while xdotool search --name '^Waiting$' >/dev/null 2>&1; do sleep 0.5; done
xdotool mousemove 300 200 click 1
sleep 1
xdotool key F6
sleep 2
while xdotool search --name '^Waiting$' >/dev/null 2>&1; do sleep 0.5; done
sleep 2
xdotool mousemove 300 300 click 1
sleep 1
# The Videos menu: one step up from the first item wraps to the last enabled
# item, "Adjustements of Video".
xdotool key alt+d
sleep 1
xdotool key Up Return
for i in $(seq 1 50); do
  xdotool search --name '^Adjustements of the video$' >/dev/null 2>&1 && break
  sleep 0.2
done
sleep 1
dlg=$(xdotool search --name '^Adjustements of the video$' | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$dlg")"
import -window root "$size_png"
at() {
  local x=$1 y=$2
  shift 2
  xdotool mousemove $(( X + x )) $(( Y + y )) "$@"
}
# Tabs, then the path kind and "Create path" (the message about the empty
# path is closed with Return).
at "$TAB_PATH" "$TAB_Y" click 1
sleep 1
at "$CLOSED_X" "$CLOSED_Y" click 1
sleep 1
xdotool key Return
sleep 1
at "$CREATE_X" "$CREATE_Y" click 1
sleep 1
# Five clicks and a double click on the path editor (origin EDIT_X, EDIT_Y).
for p in "60 200" "120 215" "200 190" "220 120" "150 80"; do
  read -r px py <<< "$p"
  at $(( EDIT_X + px )) $(( EDIT_Y + py )) click 1
  sleep 0.4
done
at $(( EDIT_X + 80 )) $(( EDIT_Y + 120 )) click --repeat 2 --delay 80 1
sleep 1
# The last frame line of the altitude profile, from position 200 to 150.
at $(( ALT_X + 400 )) $(( ALT_Y + 60 ))
xdotool mousedown 1
sleep 0.3
at $(( ALT_X + 300 )) $(( ALT_Y + 60 ))
sleep 0.3
xdotool mouseup 1
sleep 2
import -window root "$path_png"
at "$TAB_CREATION" "$TAB_Y" click 1
sleep 1
import -window root "$creation_png"
# The codec list has the focus: one step down is Indeo 3.2.
xdotool key Down
sleep 1
import -window root "$indeo_png"
at "$REDUCED_X" "$REDUCED_Y" click 1
sleep 2
while xdotool search --name '^Video making$' >/dev/null 2>&1; do sleep 0.5; done
sleep 2
import -window root "$preview_png"
xdotool key Escape || true
sleep 1
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
INNER
# Offsets inside the dialog (its client origin): tabs, path kind radio,
# "Create path", the path editor's and the altitude editor's top left corners.
export TAB_Y=${TAB_Y:-49} TAB_PATH=${TAB_PATH:-78} TAB_CREATION=${TAB_CREATION:-135}
export CLOSED_X=${CLOSED_X:-330} CLOSED_Y=${CLOSED_Y:-133}
export CREATE_X=${CREATE_X:-379} CREATE_Y=${CREATE_Y:-162}
export EDIT_X=${EDIT_X:-20} EDIT_Y=${EDIT_Y:-71}
export ALT_X=${ALT_X:-20} ALT_Y=${ALT_Y:-395}
export REDUCED_X=${REDUCED_X:-107} REDUCED_Y=${REDUCED_Y:-265}
xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner" "$out1" "$out2" "$out3" "$out4" "$out5"
rm -f "$inner"
echo "wrote $out1, $out2, $out3, $out4 and $out5"
