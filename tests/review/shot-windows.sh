#!/usr/bin/env bash
# Review shots of the window arrangements: opens a copy of tests/data/vallee.vue
# (its card and its view) under Xvfb, then writes the screen as opened, after
# Window > Mosaic, with the card's memo open (its second line holds the euro
# sign and curly quotes, and a last line typed after Ctrl+F6 twice, to the view
# and back), after Window > Tile (the cascade), then with the view
# maximised and after View > Duplicate the view: shot-windows-opened.png,
# shot-windows-mosaic.png, shot-windows-memo.png, shot-windows-cascade.png, shot-windows-maximised.png,
# shot-windows-duplicated.png; and a view without fixed scale reopened with its
# picture beside it: shot-windows-reopened.png; and, opened again with the
# explorer shown, the card brought forward by its node, its memo opened and a
# line typed in four pieces: before and after a visit to another program's
# window, then a character a document cannot hold (its warning box, closed
# with Enter) and the rest (the whole line, with "?" for that character, is in
# the memo, the mountain's node still selected): shot-windows-explorer-memo.png;
# then the window at its opening size and Window > Mosaic: the view below the
# card, not over it: shot-windows-explorer-mosaic.png.
# Then, on another copy: a new mountain and its view (F5, F6), the document's
# view made active, Mountain > Close all the mountains and F3 at once:
# shot-windows-closeall-save.png shows "Save a mountain" with the new mountain
# still behind it (the closing waits while the dialog is up); a name typed and
# Enter write it, and the closing goes on: shot-windows-closeall-after.png
# shows the closing's question for the saved mountain, and
# shot-windows-closeall-empty.png the empty workspace after No. The run fails
# when the program died or the mountain was not written.
# Last, the sample mountain copied as vacances.mat beside the user's own
# photo vacances.bmp, seen (F6) and closed with Mountain > Close the active
# mountain: Yes to saving it, Yes to saving its view, and the question that
# names the photo (shot-windows-kept-question.png); No there writes nothing,
# and the mountain stays, its card active again beside its view
# (shot-windows-kept.png). The run fails when a file changed or the program died.
# Needs the Debian packages xvfb, xdotool, imagemagick and x11-utils. Not part of CI.
# Usage: tests/review/shot-windows.sh [FOLDER]   (default build/)
set -euo pipefail
cd "$(dirname "$0")/../.."
out=$(realpath -m "${1:-build}")
mkdir -p "$out"
work=$(mktemp -d)
# The copy's memo gets a second line as the Windows program writes one: the
# euro sign, curly quotes, a dash and "..." are single bytes of its code page.
{ printf '  [TEXTE]\r\n2\r\n'; sed -n 3p tests/data/vallee.vue
  printf 'Price \x80 12 \x96 \x93curly\x94 \x91quotes\x92 \x85 na\xEFve\r\n'
  tail -n +4 tests/data/vallee.vue; } > "$work/vallee.vue"
# Every run starts the program on FOLDER/vallee.vue (or the file named third)
# and places its window.
debut=$(mktemp)
cat > "$debut" <<'INNER'
set -euo pipefail
build/bin/quorvel "$1/${3:-vallee.vue}" &
pid=$!
sleep 6
win=$(xdotool search --onlyvisible --name '^Quorvel v3.1$' | head -n 1)
xdotool windowmove "$win" 0 0 || true
xdotool windowsize "$win" 1010 760 || true
xdotool windowfocus "$win" || true
sleep 2
# The main window draws its own title bar: its menu and windows sit 4 px right
# and 22 px lower than its top-left corner would put them.
click() { xdotool mousemove "$1" "$2" click 1; sleep 2; }
INNER
inner=$(mktemp)
cat "$debut" - > "$inner" <<'INNER'
import -window root "$2/shot-windows-opened.png"
click 295 30; click 316 73   # Window > Mosaic
import -window root "$2/shot-windows-mosaic.png"
click 62 130                # the card's Memo button: the card grows with its memo
# Ctrl+F6 to the view and on round to the card: the memo has the keyboard again.
xdotool key ctrl+F6; sleep 1; xdotool key ctrl+F6; sleep 1
xdotool key ctrl+End Return
xdotool type --delay 50 "Back by Ctrl+F6"
import -window root "$2/shot-windows-memo.png"
click 62 130                # OK: back to the short card
click 295 30; click 306 51   # Window > Tile
import -window root "$2/shot-windows-cascade.png"
# The view, in front after the cascade, is maximised by a double click on its
# title bar, then duplicated through View > Duplicate the view.
xdotool mousemove 254 113 click --repeat 2 --delay 80 1
sleep 2
import -window root "$2/shot-windows-maximised.png"
click 189 30; click 254 117
sleep 4
import -window root "$2/shot-windows-duplicated.png"
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
INNER
xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner" "$work" "$out"
# A view reopened without fixed scale, its picture beside it: the window shows
# the whole picture without scroll bars.
sed 's/Taille image fixe  =Oui/Taille image fixe  =Non/' tests/data/vallee.vue > "$work/libre.vue"
convert -size 550x412 gradient:skyblue-green BMP3:"$work/libre.bmp"
QUORVEL_SHOT_MAIN_ONLY=1 tests/review/shot-main.sh "$work/libre.vue" "$out/shot-windows-reopened.png" >/dev/null
# The explorer shown: the card comes forward by its node, and what is typed
# after its Memo button goes into the memo, also after the keyboard went to
# another program (xmessage; there is no window manager, so the keyboard is
# moved by hand) and came back, and after the program's own warning box.
cat "$debut" - > "$inner" <<'INNER'
click 330 57                # the Explorer button
click 90 83                 # the mountain's node: its card comes forward
click 223 220               # the card's Memo button
xdotool key ctrl+End Return
xdotool type --delay 100 "North ridge, "
xmessage -geometry 300x60+600+650 "Another program" &
autre=$!
sleep 2
xdotool windowfocus "$(xdotool search --name '^xmessage$' | head -n 1)"; sleep 2
xdotool windowfocus "$win"; sleep 2
kill "$autre" 2>/dev/null || true
xdotool type --delay 100 "seen from the lake "
xdotool type --delay 100 "Ω"; sleep 2    # not held by a document: the warning box
xdotool key Return; sleep 2
xdotool type --delay 100 " at dawn"
sleep 2
import -window root "$2/shot-windows-explorer-memo.png"
# The window at its opening size, too narrow beside the explorer for the view
# to go beside the card: Window > Mosaic puts it below the card.
xdotool windowsize "$win" 900 660; sleep 2
click 295 30; click 316 73
import -window root "$2/shot-windows-explorer-mosaic.png"
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
INNER
xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner" "$work" "$out"
# "Close all the mountains" and F3 at once: the save goes through.
fermeture=$(mktemp)
cat "$debut" - > "$fermeture" <<'INNER'
xdotool key F5; sleep 2
xdotool key F6; sleep 4
# Back to the document's view: the children go in the order they were opened.
xdotool key ctrl+shift+F6 ctrl+shift+F6; sleep 1
# Mountain > Close all the mountains (the menu's last item), then F3 at once.
xdotool key alt+m; sleep 1
xdotool key Up Return F3
sleep 3
import -window root "$2/shot-windows-closeall-save.png"
xdotool type --delay 20 "$1/nouvelle"
xdotool key Return
sleep 3
import -window root "$2/shot-windows-closeall-after.png"
xdotool key alt+n
sleep 3
import -window root "$2/shot-windows-closeall-empty.png"
if ! kill -0 "$pid" 2>/dev/null; then echo "FAIL: the program died" >&2; exit 1; fi
if [ ! -s "$1/nouvelle.mat" ]; then echo "FAIL: the new mountain was not written" >&2; exit 1; fi
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
INNER
rm -f "$work"/*
cp tests/data/vallee.vue tests/data/vallee.mat "$work/"
xvfb-run -a -s "-screen 0 1024x768x24" bash "$fermeture" "$work" "$out"
# A close whose save wrote nothing keeps the mountain.
cat "$debut" - > "$fermeture" <<'INNER'
xdotool key F6; sleep 2
while xdotool search --name '^Waiting$' >/dev/null 2>&1; do sleep 0.5; done
xdotool key alt+m; sleep 1
xdotool key Up Up Return; sleep 2   # Close the active mountain
xdotool key alt+y; sleep 2          # save the modifications
xdotool key alt+y; sleep 2          # save the view
import -window root "$2/shot-windows-kept-question.png"
xdotool key alt+n; sleep 3          # keep the photo
import -window root "$2/shot-windows-kept.png"
if ! kill -0 "$pid" 2>/dev/null; then echo "FAIL: the program died" >&2; exit 1; fi
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
INNER
rm -f "$work"/*
cp tests/data/vallee.mat "$work/vacances.mat"
convert -size 64x48 xc:red "$work/vacances.bmp"
avant=$(cd "$work" && md5sum *)
xvfb-run -a -s "-screen 0 1024x768x24" bash "$fermeture" "$work" "$out" vacances.mat
if [ "$(cd "$work" && md5sum *)" != "$avant" ]; then echo "FAIL: a file changed" >&2; exit 1; fi
rm -rf "$debut" "$inner" "$fermeture" "$work"
echo "wrote $out/shot-windows-*.png"
