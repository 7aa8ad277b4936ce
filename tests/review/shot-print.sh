#!/usr/bin/env bash
# Review shots of printing: starts build/bin/quorvel under Xvfb, presses F5
# (new mountain) and F6 (see), waits for the picture, chooses "Print ..." in
# the File menu and writes a PNG of the print preview; then presses the
# preview's "Print ...", writes a PNG of the printer dialog, prints into a PDF
# file (the dialog's "Print to File (PDF)" with the file name typed in) and
# writes a PNG of the printed page. Last, it runs shot-gallery.sh for the
# view gallery.
# Needs the Debian packages xvfb, xdotool, imagemagick and poppler-utils.
# Not part of CI.
# Usage: tests/review/shot-print.sh [OUT_DIR]   (default build/, files
#   shot-print-preview.png, shot-print-dialog.png, shot-print.pdf,
#   shot-print-page.png and shot-gallery.png)
set -euo pipefail
cd "$(dirname "$0")/../.."
dir=$(realpath -m "${1:-build}")
mkdir -p "$dir"
rm -f "$dir/shot-print.pdf"
inner=$(mktemp)
cat > "$inner" <<'INNER'
set -euo pipefail
dir=$1
build/bin/quorvel &
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
# A click on the view makes it current, then File > "Print ..." (no accelerator).
xdotool mousemove 300 300 click 1
sleep 1
xdotool key alt+f
sleep 1
xdotool mousemove 60 230 click 1  # under the main window's drawn title bar
sleep 3
p=$(xdotool search --name '^Prview of the image' | head -n 1)
xdotool windowmove "$p" 20 20 2>/dev/null || true
sleep 1
import -window root "$dir/shot-print-preview.png"
eval "$(xdotool getwindowgeometry --shell "$p")"
# The preview's "Print ..." button, right of the title in the top panel.
xdotool mousemove $((X + WIDTH - 150)) $((Y + 20)) click 1
sleep 3
import -window root "$dir/shot-print-dialog.png"
# "Print to File (PDF)": the output file name typed over the proposed one, then Print.
d=$(xdotool search --name '^Print$' | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$d")"
xdotool mousemove $((X + 190)) $((Y + 118)) click 1
xdotool key ctrl+a
xdotool type --delay 20 "$dir/shot-print.pdf"
xdotool key Return
for i in $(seq 1 40); do [[ -s "$dir/shot-print.pdf" ]] && break; sleep 0.5; done
sleep 1
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
INNER
xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner" "$dir"
rm -f "$inner"
pdftoppm -r 60 -png -singlefile "$dir/shot-print.pdf" "$dir/shot-print-page"
tests/review/shot-gallery.sh "$dir/shot-gallery.png"
echo "wrote $dir/shot-print-preview.png, shot-print-dialog.png, shot-print.pdf, shot-print-page.png"
