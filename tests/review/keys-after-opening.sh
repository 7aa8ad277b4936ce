#!/usr/bin/env bash
# Whether the keyboard stays with the program while documents are opened one
# after another: starts build/bin/quorvel under Xvfb with the Openbox window
# manager, slowed as under load (it shares one processor with a busy loop at a
# lower priority; LOAD=0 runs it at full speed), then opens five view
# documents in a row (F2, the document's full path, Enter) with no pause
# between them beyond waiting for the drawing to end, and checks after each
# that the keyboard still works: the next F2 must bring up the open dialog
# within five seconds. When it does not, the dialog gets ten seconds more: if
# it comes then, the program was only slow (the round goes on and says
# "slow"). If not, F2 is pressed again: a dialog within ten seconds means that
# only the first key went nowhere (the round goes on and says so, with the
# screen as it was); none means that the keyboard is lost, and the round fails
# (as it does when the program does not show within a minute of its start).
# The whole run is done ROUNDS times (default 10), each time from a fresh
# program. BUSY=N runs N busy loops (default 1): the first on the window
# manager's processor, the others on any processor, at the program's priority.
# It prints the load average, one line per round and PASS or FAIL at the end;
# where a first F2 brought nothing, the line says which window held the
# keyboard and which one the window manager called active, and the screen of
# that moment is written to OUTPUT-ROUND-DOCUMENT.png.
# Needs the Debian packages xvfb, xdotool, imagemagick, openbox and x11-utils. Not part of CI.
# Usage: [ROUNDS=N] [BUSY=N] [LOAD=0] tests/review/keys-after-opening.sh [OUTPUT.png]
#        (default build/keys-after-opening.png)
set -euo pipefail
cd "$(dirname "$0")/../.."
out=$(realpath -m "${1:-build/keys-after-opening.png}")
work=$(mktemp -d)
for k in 1 2 3 4 5; do cp tests/data/vallee.vue "$work/vallee$k.vue"; done
inner=$(mktemp)
cat > "$inner" <<'INNER'
set -uo pipefail
work=$1 prefix=$2
rounds=${ROUNDS:-10}
# A window manager that answers late: the keyboard was lost when its focus
# changes came while the progress window of the opening was up.
cpu=$(( $(nproc) - 1 ))
busy=()
if [ "${LOAD:-1}" != 0 ]; then
  taskset -c "$cpu" nice -n 19 openbox --sm-disable >/dev/null 2>&1 &
else
  openbox --sm-disable >/dev/null 2>&1 &
fi
wm=$!
trap 'for b in "${busy[@]}"; do kill "$b" 2>/dev/null; done; kill "$wm" 2>/dev/null' EXIT
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
  kill -0 "$wm" 2>/dev/null || { echo "FAIL (the window manager did not start)"; exit 1; }
  sleep 0.2
done
# The window manager frames a first window before the load starts: the theme
# it loads then, starved behind the busy loop, held the program's first
# window unmapped for over a minute, which is not the lateness looked for.
xmessage -geometry +0+0 "first window" >/dev/null 2>&1 &
premiere=$!
until xdotool search --onlyvisible --name '^xmessage$' >/dev/null 2>&1; do sleep 0.2; done
kill "$premiere"
if [ "${LOAD:-1}" != 0 ]; then
  for ((b = 0; b < ${BUSY:-1}; b++)); do
    if [ "$b" = 0 ]; then taskset -c "$cpu" sh -c 'while :; do :; done' &
    else sh -c 'while :; do :; done' &
    fi
    busy+=($!)
  done
fi
echo "${#busy[@]} busy loops; load average: $(cut -d' ' -f1-3 /proc/loadavg)"
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
# Who has the keyboard: the window that holds the focus on the server, and
# the one the window manager calls active.
clavier() {
  local f a
  f=$(xdotool getwindowfocus getwindowname 2>/dev/null || echo none)
  a=$(xprop -root _NET_ACTIVE_WINDOW 2>/dev/null | sed 's/.*# //')
  echo "focus on \"$f\", active $a"
}
ouverture="^Ouverture d'un fichier$"
# F2, then the open dialog: 0 within five seconds; 1 within ten seconds more
# (slow); 3 only for a second F2 pressed then (the first key went nowhere:
# pressed before the window manager gave the keyboard back, or taken by a
# progress window, but the keyboard works); 2 not at all (the keyboard is lost).
# Before the second F2, the screen is written to $1 and the keyboard's holders
# kept in $etat.
f2() {
  xdotool key F2
  attendre "$ouverture" 50 && return 0
  attendre "$ouverture" 100 && return 1
  import -window root "$1"
  etat=$(clavier)
  xdotool key F2
  attendre "$ouverture" 100 && return 3
  return 2
}
echecs=0
lents=0
absents=0
etat=
for ((round = 1; round <= rounds; round++)); do
  rm -f "$work"/*.jpg "$work"/*.bmp
  build/bin/quorvel &
  pid=$!
  # A start under load can take a while: up to a minute.
  attendre '^Quorvel v3.1$' 600 || { echo "round $round: the program did not show"; absents=$((absents + 1)); kill "$pid"; continue; }
  # The splash goes after two seconds; the keyboard is the main window's from then on.
  attendre '^Quorvel v 3.1$' 40 gone || true
  ligne="round $round:"
  perdu=0
  lent=0
  for k in 1 2 3 4 5 6; do
    f2 "$prefix-$round-$k.png"
    r=$?
    if [ "$r" = 2 ]; then
      if [ "$k" = 6 ]; then ligne="$ligne F2 dead after document 5"; else ligne="$ligne F2 dead before document $k"; fi
      ligne="$ligne ($etat)"
      perdu=1
      break
    fi
    [ "$r" = 1 ] && { ligne="$ligne (slow)"; lent=1; }
    [ "$r" = 3 ] && { ligne="$ligne (one F2 went nowhere: $etat; the next worked)"; lent=1; }
    if [ "$k" = 6 ]; then
      xdotool key Escape
      ligne="$ligne keys ok"
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
  echecs=$((echecs + perdu))
  lents=$((lents + lent))
  echo "$ligne"
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg); $lents of $rounds rounds were slow or lost a key"
if [ "$echecs" = 0 ] && [ "$absents" = 0 ]; then echo PASS
else echo "FAIL ($echecs of $rounds rounds lost the keyboard; the program did not show in $absents)"; fi
INNER
xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner" "$work" "${out%.png}"
rm -rf "$work" "$inner"
