#!/usr/bin/env bash
# Review shots of the main window: starts build/bin/quorvel under Xvfb with a
# document, moves the pointer over a tool button so that it shows hot with its
# balloon hint, and writes a PNG of the screen.
# Unless QUORVEL_SHOT_MAIN_ONLY=1, it then writes, beside that PNG:
#  - shot-help-finder.png: Help > Index, the finder, after typing "smo";
#  - shot-help-topic.png: a topic opened from the finder, with the Contents,
#    Index and Back buttons above it;
#  - shot-help-contents.png: the contents page, reached by its button;
#  - shot-main-recent-gone.png: a recent file deleted while the program runs,
#    chosen in the File menu: the question that offers to drop it;
#  - shot-main-recent-removed.png: the File menu after Yes, without the entry,
#    and with the recent file "a&b x.vue" shown with its "&";
#  - shot-main-close-refused.png: the main window asked to close (the window
#    manager's close request) while a movie is made: the box that says why it
#    stays, in front of the "Video making" window;
#  - shot-main-damaged.png: started on an empty view document: its refusal
#    over the splash; shot-main-damaged-after.png: the same two seconds later,
#    the splash gone and the box still there; shot-main-damaged-ok.png: the
#    program after OK, still running.
# Needs the Debian packages xvfb, xdotool, imagemagick and, for the close
# request, gcc and libxcb1-dev. Not part of CI.
# Usage: tests/review/shot-main.sh [DOCUMENT] [OUTPUT.png]
set -euo pipefail
cd "$(dirname "$0")/../.."
doc=${1:-tests/data/vallee.vue}
out=${2:-build/shot-main.png}
doc=$(realpath "$doc")
out=$(realpath -m "$out")
dir=$(dirname "$out")
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
# Pointer over the "Open" button of the tool bar (left part of the button bar),
# below the drawn title bar and the menu bar.
read -r wx wy < <(xdotool getwindowgeometry "$win" | awk '/Position/ {split($2, a, ","); print a[1], a[2]}')
xdotool mousemove $((wx + 21)) $((wy + 58))
sleep 2
import -window root "$2"
if [[ "${QUORVEL_SHOT_MAIN_ONLY:-0}" != 1 ]]; then
  # Help > Index: the finder, its search field holding the keyboard.
  xdotool mousemove 600 500
  xdotool key alt+h Return
  sleep 2
  xdotool type --delay 120 smo
  sleep 1
  import -window root "$3/shot-help-finder.png"
  # The first topic found, then Contents from the button row.
  xdotool key Return
  sleep 1
  import -window root "$3/shot-help-topic.png"
  xdotool key alt+c
  sleep 1
  import -window root "$3/shot-help-contents.png"
fi
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
INNER
xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner" "$doc" "$out" "$dir"
rm -f "$inner"
if [[ "${QUORVEL_SHOT_MAIN_ONLY:-0}" == 1 ]]; then
  echo "wrote $out"
  exit 0
fi

# A recent file that goes while the program runs. The program runs from a copy
# of its folder (with the movie module), whose options file lists the file as recent.
work=$(mktemp -d)
mkdir -p "$work/bin/temp"
cp build/bin/quorvel build/bin/libquorvel_vidconv.so build/bin/montagne.ini "$work/bin/"
cp -r build/bin/ciels "$work/bin/" 2>/dev/null || true
cp tests/data/vallee.mat "$work/parti.mat"
cp tests/data/vallee.vue "$work/a&b x.vue"
: > "$work/damaged.vue"
{ head -n 1 build/bin/montagne.ini; printf '>%s\r\n' "$work/a&b x.vue" "$work/parti.mat"; tail -n +2 build/bin/montagne.ini; } \
  > "$work/bin/montagne.ini"
# The movie made when a video document without its movie is opened lasts a
# few seconds: time to ask the main window to close.
sed 's/^Derniere image     =          20/Derniere image     =         200/' tests/data/tour.vid > "$work/tour.vid"
cat > "$work/fermer.c" <<'C'
/* Sends the window manager's close request (WM_DELETE_WINDOW) to a window. */
#include <stdlib.h>
#include <string.h>
#include <xcb/xcb.h>
static xcb_atom_t atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, strlen(name), name), NULL);
  xcb_atom_t a = r ? r->atom : 0;
  free(r);
  return a;
}
int main(int argc, char** argv) {
  if (argc < 2) return 2;
  xcb_connection_t* c = xcb_connect(NULL, NULL);
  xcb_client_message_event_t e;
  memset(&e, 0, sizeof e);
  e.response_type = XCB_CLIENT_MESSAGE;
  e.format = 32;
  e.window = (xcb_window_t)strtoul(argv[1], NULL, 0);
  e.type = atom(c, "WM_PROTOCOLS");
  e.data.data32[0] = atom(c, "WM_DELETE_WINDOW");
  e.data.data32[1] = XCB_CURRENT_TIME;
  xcb_send_event(c, 0, e.window, XCB_EVENT_MASK_NO_EVENT, (const char*)&e);
  xcb_flush(c);
  xcb_disconnect(c);
  return 0;
}
C
cc -o "$work/fermer" "$work/fermer.c" -lxcb
cat > "$inner" <<'INNER'
set -euo pipefail
"$1/bin/quorvel" &
pid=$!
sleep 4
win=$(xdotool search --onlyvisible --name '^Quorvel v3.1$' | head -n 1)
xdotool windowmove "$win" 0 0 || true
xdotool windowfocus "$win" || true
rm -f "$1/parti.mat"
xdotool mousemove 600 500
# The recent entries sit above the separator before "&Exit", the last item.
xdotool key alt+f Up Up Return
sleep 2
import -window root "$2/shot-main-recent-gone.png"
xdotool key alt+y    # Yes: the entry leaves the list
sleep 1
xdotool key alt+f
sleep 1
import -window root "$2/shot-main-recent-removed.png"
xdotool key Escape
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true

"$1/bin/quorvel" "$1/tour.vid" &
pid=$!
for i in $(seq 1 100); do
  xdotool search --name '^Video making$' >/dev/null 2>&1 && break
  sleep 0.2
done
sleep 1
win=$(xdotool search --onlyvisible --name '^Quorvel v3.1$' | head -n 1)
"$1/fermer" "$win"
sleep 2
import -window root "$2/shot-main-close-refused.png"
while xdotool search --name '^Video making$' >/dev/null 2>&1; do sleep 0.5; done
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true

# A damaged document named on the command line: refused while the splash is up.
"$1/bin/quorvel" "$1/damaged.vue" &
pid=$!
sleep 1.7
import -window root "$2/shot-main-damaged.png"
sleep 2
import -window root "$2/shot-main-damaged-after.png"
xdotool key Return
sleep 1
import -window root "$2/shot-main-damaged-ok.png"
kill -0 "$pid" || echo "the program ended after the refusal" >&2
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
INNER
xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner" "$work" "$dir"
rm -rf "$inner" "$work"
echo "wrote $out and the help, recent-file, closing and damaged-document shots beside it"
