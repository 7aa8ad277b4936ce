#!/usr/bin/env bash
# Whether the keyboard stays with the program while documents are opened one
# after another: starts build/bin/quorvel under Xvfb with the Openbox window
# manager, slowed as under load (it shares one processor with a busy loop at a
# lower priority; LOAD=0 runs it at full speed), then opens five view
# documents in a row (F2, the document's full path, Enter) with no pause
# between them beyond waiting for the drawing to end, and checks after each
# that the keyboard still works: the next F2 must bring up the open dialog
# within five seconds. The whole run is done ten times, each time from a fresh
# program. It prints one line per round and PASS or FAIL at the end; on a
# failure the screen is written to OUTPUT-ROUND-DOCUMENT.png.
# Needs the Debian packages xvfb, xdotool, imagemagick, openbox and x11-utils. Not part of CI.
# Usage: tests/review/keys-after-opening.sh [OUTPUT.png]   (default build/keys-after-opening.png)
set -euo pipefail
cd "$(dirname "$0")/../.."
out=$(realpath -m "${1:-build/keys-after-opening.png}")
work=$(mktemp -d)
for k in 1 2 3 4 5; do cp tests/data/vallee.vue "$work/vallee$k.vue"; done
inner=$(mktemp)
cat > "$inner" <<'INNER'
set -uo pipefail
work=$1 prefix=$2
# A window manager that answers late: the keyboard was lost when its focus
# changes came while the progress window of the opening was up.
cpu=$(( $(nproc) - 1 ))
busy=
if [ "${LOAD:-1}" != 0 ]; then
  taskset -c "$cpu" sh -c 'while :; do :; done' &
  busy=$!
  taskset -c "$cpu" nice -n 19 openbox --sm-disable >/dev/null 2>&1 &
else
  openbox --sm-disable >/dev/null 2>&1 &
fi
wm=$!
trap '[ -n "$busy" ] && kill "$busy" 2>/dev/null; kill "$wm" 2>/dev/null' EXIT
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do sleep 0.2; done
# Waits up to $2 tenths of a second for a window named $1 to show (or, with
# "gone", to go); true when it did.
attendre() {
  local n=0
  while [ "$n" -lt "$2" ]; do
    if [ "${3:-}" = gone ]; then
      xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    else
      xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 && return 0
    fi
    sleep 0.1
    n=$((n + 1))
  done
  return 1
}
ouverture="^Ouverture d'un fichier$"
echecs=0
for round in 1 2 3 4 5 6 7 8 9 10; do
  rm -f "$work"/*.jpg "$work"/*.bmp
  build/bin/quorvel &
  pid=$!
  attendre '^Quorvel v3.1$' 100 || { echo "round $round: the program did not show"; echecs=$((echecs + 1)); kill "$pid"; continue; }
  # The splash goes after two seconds; the keyboard is the main window's from then on.
  attendre '^Quorvel v 3.1$' 40 gone || true
  ligne="round $round:"
  for k in 1 2 3 4 5; do
    xdotool key F2
    if ! attendre "$ouverture" 50; then
      ligne="$ligne F2 dead before document $k;"
      import -window root "$prefix-$round-$k.png"
      echecs=$((echecs + 1))
      break
    fi
    xdotool type --delay 5 "$work/vallee$k.vue"
    xdotool key Return
    attendre "$ouverture" 50 gone || true
    # The view is drawn under the progress window; wait for it to come and go.
    attendre '^Waiting$' 30 || true
    attendre '^Waiting$' 600 gone || true
    ligne="$ligne $k"
  done
  # The keyboard after the fifth document.
  if [ "$k" = 5 ] && ! echo "$ligne" | grep -q dead; then
    xdotool key F2
    if attendre "$ouverture" 50; then
      xdotool key Escape
      ligne="$ligne keys ok"
    else
      ligne="$ligne F2 dead after document 5"
      import -window root "$prefix-$round-6.png"
      echecs=$((echecs + 1))
    fi
  fi
  echo "$ligne"
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
done
if [ "$echecs" = 0 ]; then echo PASS; else echo "FAIL ($echecs rounds lost the keyboard)"; fi
INNER
xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner" "$work" "${out%.png}"
rm -rf "$work" "$inner"
