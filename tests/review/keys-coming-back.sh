#!/usr/bin/env bash
# Whether the mountain card's memo keeps the keyboard however the user comes
# back to the program: starts build/bin/quorvel under Xvfb with the Openbox
# window manager on a copy of tests/data/vallee.mat, sees it (F6), goes back to
# the card (Ctrl+F6), clicks Memo and types. Then, with the explorer hidden and
# shown, it goes to another program's window (xmessage) and comes back by a
# click on a blank part of the toolbar, on the title bar, on the status bar, on
# the empty workspace, by the window manager's activation and by Alt+Tab,
# typing one letter after each (a click at the end of the memo first gives it
# the keyboard again, so that each way is tried alone). Last, F3 and No to
# saving the view write the mountain: the run fails unless every letter
# reached its memo, and says which ways back lost theirs.
# It writes OUTPUT.png (the card after the letters, the explorer hidden) and
# OUTPUT-explorer.png (the same with the explorer shown), and prints, for each
# way back, the window the window manager called active before and after.
# Needs the Debian packages xvfb, xdotool, imagemagick, openbox and x11-utils. Not part of CI.
# Usage: tests/review/keys-coming-back.sh [OUTPUT.png]   (default build/keys-coming-back.png)
set -euo pipefail
cd "$(dirname "$0")/../.."
out=$(realpath -m "${1:-build/keys-coming-back.png}")
work=$(mktemp -d)
cp tests/data/vallee.mat "$work/vallee.mat"
inner=$(mktemp)
cat > "$inner" <<'INNER'
set -uo pipefail
work=$1 out=$2
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
trap 'kill "$wm" 2>/dev/null; kill "$autre" 2>/dev/null; kill "$pid" 2>/dev/null' EXIT
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do sleep 0.2; done
actif() { xprop -root _NET_ACTIVE_WINDOW | sed 's/.*# //'; }
build/bin/quorvel "$work/vallee.mat" &
pid=$!
sleep 6
win=$(xdotool search --onlyvisible --name '^Quorvel v3.1$' | head -n 1)
[ -n "$win" ] || { echo "FAIL: the program did not show"; exit 1; }
# The window at the top left, 1000 x 740: its title bar at y 12, its toolbar
# at y 57 (blank from x 450 on), its status bar at y 726.
xdotool windowmove "$win" 0 0 windowsize "$win" 1000 740
sleep 2
xdotool key F6
sleep 2
while xdotool search --onlyvisible --name '^Waiting$' >/dev/null 2>&1; do sleep 0.5; done
xdotool key ctrl+F6
sleep 1
xdotool mousemove 63 220 click 1   # Memo, on the card at its opening place
sleep 1
texte=" ridge"
xdotool type --delay 50 "$texte"
# Another program's window, where a click on the workspace does not land.
xmessage -geometry 300x80+650+620 "another program" >/dev/null 2>&1 &
autre=$!
sleep 2
xm=$(xdotool search --name '^xmessage$' | head -n 1)
lettre=a
declare -A voies
memo_x=540   # the memo's right end, beside the card's place
for explorateur in hidden shown; do
  if [ "$explorateur" = shown ]; then
    xdotool mousemove 330 57 click 1   # the Explorer button
    sleep 1.5
    memo_x=700
  fi
  for retour in "toolbar:xdotool mousemove 800 57 click 1" "title bar:xdotool mousemove 500 12 click 1" \
                "status bar:xdotool mousemove 400 726 click 1" "workspace:xdotool mousemove 900 400 click 1" \
                "activation:xdotool windowactivate $win" "Alt+Tab:xdotool key alt+Tab"; do
    xdotool mousemove "$memo_x" 320 click 1
    sleep 0.5
    xdotool windowactivate "$xm"
    sleep 1
    avant=$(actif)
    eval "${retour#*:}"
    sleep 1
    echo "explorer $explorateur, back by the ${retour%%:*}: active $avant, then $(actif); typed $lettre"
    xdotool type --delay 50 "$lettre"
    texte="$texte$lettre"
    voies[$lettre]="explorer $explorateur, by the ${retour%%:*}"
    lettre=$(echo "$lettre" | tr 'a-y' 'b-z')
    sleep 0.5
  done
  if [ "$explorateur" = shown ]; then import -window root "${out%.png}-explorer.png"; else import -window root "$out"; fi
done
xdotool key F3
sleep 2
xdotool key alt+n   # the mountain alone
sleep 2
memo=$(grep -a -m 1 'grown from key' "$work/vallee.mat")
perdues=0
for l in $(printf "%s\n" "${!voies[@]}" | sort); do
  case "$memo" in *" ridge"*"$l"*) ;; *) echo "lost: $l (${voies[$l]})"; perdues=$((perdues + 1)) ;; esac
done
if grep -aq -- "$texte" "$work/vallee.mat"; then echo "PASS: the memo holds \"$texte\""
else echo "FAIL: $perdues letters lost; the memo saved reads \"$memo\""; exit 1; fi
INNER
xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner" "$work" "$out"
rm -rf "$work" "$inner"
