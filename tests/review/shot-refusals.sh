#!/usr/bin/env bash
# Review shots of documents that are not documents: starts build/bin/quorvel
# under Xvfb on a named pipe, then on a link to /dev/zero, then on a view
# document padded (sparse, no disk used) past the largest document, and writes
# a PNG of each refusal box: shot-refusal-tube.png, shot-refusal-zero.png,
# shot-refusal-large.png. For each it waits for the box (caption "View ") and
# fails when it does not come; for the pipe it also checks that no reader ever
# waited on it (the program asks what the path is before opening it).
# Needs the Debian packages xvfb, xdotool, imagemagick and python3. Not part of CI.
# Usage: tests/review/shot-refusals.sh [OUTPUT-FOLDER]
set -euo pipefail
cd "$(dirname "$0")/../.."
out=$(realpath -m "${1:-build}")
mkdir -p "$out"
inner=$(mktemp)
cat > "$inner" <<'INNER'
set -euo pipefail
out=$1
doc=$(mktemp -d)
mkfifo "$doc/tube.vue"
ln -s /dev/zero "$doc/zero.vue"
cp tests/data/vallee.vue "$doc/large.vue"
truncate -s 3G "$doc/large.vue"
# True when a reader waits on the pipe (a writer's open then succeeds at once).
lecteur_sur_tube() {
  python3 -c 'import os,sys
try:
    os.close(os.open(sys.argv[1], os.O_WRONLY | os.O_NONBLOCK)); sys.exit(0)
except OSError:
    sys.exit(1)' "$doc/tube.vue"
}
refus() {
  build/bin/quorvel "$doc/$1.vue" &
  pid=$!
  ouvert=0
  for _ in $(seq 1 60); do
    if lecteur_sur_tube; then ouvert=1; fi
    if xdotool search --name '^View $' >/dev/null 2>&1; then break; fi
    sleep 0.5
  done
  sleep 1
  import -window root "$out/shot-refusal-$1.png"
  if ! xdotool search --name '^View $' >/dev/null 2>&1; then
    echo "$1: no refusal box" >&2
    exit 1
  fi
  if [ "$ouvert" = 1 ]; then
    echo "$1: the program opened the pipe" >&2
    exit 1
  fi
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}
refus tube
refus zero
refus large
rm -rf "$doc"
INNER
xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner" "$out"
rm -f "$inner"
echo "wrote $out/shot-refusal-tube.png, $out/shot-refusal-zero.png and $out/shot-refusal-large.png"
