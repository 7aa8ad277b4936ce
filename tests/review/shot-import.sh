#!/usr/bin/env bash
# Review shots of the import window: copies the 121-profile DEM fixture
# (tests/data/import/g121.dem) to a temporary folder, starts build/bin/quorvel
# under Xvfb, chooses the file through the Import button of "Import ..." and its
# file dialog (typing the path), waits for the reading, turns the frame (R) and makes it smaller
# (Y, then Page Up on the scale bar), and writes a PNG of the window (the small
# source centred in its area, the disabled "Aerial picture" still readable); then
# presses Import (Enter), clicks the new mountain's card and presses F6, waits for the
# view and writes a second PNG; then Window > Mosaic narrows the import window
# beside the card and the view, and a fifth PNG shows its status panels cut
# down (their texts cut, none over the next). Then imports a run-length 8-bit
# bitmap made by ImageMagick and writes a third PNG (the bitmap decoded in the window), and a
# bitmap whose header claims 100000 x 100000 pixels and writes a fourth (the
# refusal naming the size limit).
# Needs the Debian packages xvfb, xdotool and imagemagick. Not part of CI.
# Usage: tests/review/shot-import.sh [IMPORT.png] [VIEW.png] [RLE.png] [REFUSED.png] [NARROW.png]
set -euo pipefail
cd "$(dirname "$0")/../.."
out1=$(realpath -m "${1:-build/shot-import.png}")
out2=$(realpath -m "${2:-build/shot-import-view.png}")
out3=$(realpath -m "${3:-build/shot-import-rle.png}")
out4=$(realpath -m "${4:-build/shot-import-refused.png}")
out5=$(realpath -m "${5:-build/shot-import-narrow.png}")
work=$(mktemp -d)
cp tests/data/import/g121.dem "$work/g121.dem"
convert -size 300x200 -seed 3 plasma:fractal -blur 0x4 -colors 64 -type Palette -compress RLE "bmp3:$work/rle.bmp"
{ printf 'BM\x46\x00\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00\x28\x00\x00\x00'
  printf '\xa0\x86\x01\x00\xa0\x86\x01\x00\x01\x00\x18\x00'
  head -c 40 /dev/zero; } > "$work/huge.bmp"
inner=$(mktemp)
cat > "$inner" <<'INNER'
set -euo pipefail
wait_progress() {
  sleep 1
  while xdotool search --name '^Waiting$' >/dev/null 2>&1; do sleep 0.5; done
  sleep 1
}
build/bin/quorvel &
pid=$!
sleep 7
win=$(xdotool search --name '^Quorvel v3.1$' | head -n 1)
xdotool windowmove "$win" 0 0 || true
xdotool windowsize "$win" 1010 760 || true
sleep 1
xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus "$win" || true
xdotool mousemove 800 600 click 1
sleep 0.5
# The tool bar's Import button (below the drawn title bar and the menu) runs "Import ...".
xdotool mousemove "${IMPORT_BUTTON_X:-304}" "${IMPORT_BUTTON_Y:-57}" click 1
sleep 2
# The file dialog: type the path into its name field.
xdotool type --delay 20 "$5/g121.dem"
xdotool key Return
wait_progress
# A click on the picture gives the import window the keys.
xdotool mousemove "${IMPORT_PICTURE_X:-285}" "${IMPORT_PICTURE_Y:-340}" click 1
sleep 0.5
for k in 1 2 3 4 5 6 7 8; do xdotool key r; done
xdotool key y
sleep 0.3
xdotool key Prior Prior
sleep 0.3
xdotool mousemove "${IMPORT_PICTURE_X:-285}" "${IMPORT_PICTURE_Y:-340}"
sleep 0.3
xdotool mousemove $(( ${IMPORT_PICTURE_X:-285} + 4 )) $(( ${IMPORT_PICTURE_Y:-340} + 3 ))
sleep 1
import -window root "$1"
xdotool mousemove "${IMPORT_PICTURE_X:-285}" "${IMPORT_PICTURE_Y:-340}" click 1
sleep 0.3
xdotool key Return
wait_progress
# The new card opens over the import window; a click on it makes it active.
xdotool mousemove "${CARD_X:-300}" "${CARD_Y:-200}" click 1
sleep 0.5
xdotool key F6
wait_progress
sleep 2
import -window root "$2"
# Window > Mosaic: the card in the left column, the view and the import window
# sharing the rest, the import window narrowed.
xdotool key alt+w
sleep 0.5
xdotool key Down Return  # from "&Tile" down to "&Mosaic"
sleep 2
import -window root "$6"
# A run-length bitmap, then one too large to read.
for f in rle huge; do
  xdotool mousemove "${IMPORT_BUTTON_X:-304}" "${IMPORT_BUTTON_Y:-57}" click 1
  sleep 2
  xdotool type --delay 20 "$5/$f.bmp"
  xdotool key Return
  sleep 3
  if [[ $f == rle ]]; then import -window root "$3"; else import -window root "$4"; xdotool key Return; fi
done
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
INNER
xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner" "$out1" "$out2" "$out3" "$out4" "$work" "$out5"
rm -rf "$inner" "$work"
echo "wrote $out1, $out2, $out3, $out4 and $out5"
