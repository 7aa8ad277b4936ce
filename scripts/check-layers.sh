#!/usr/bin/env bash
# Fails when a library's source includes a header of a peer folder or of a
# higher floor. Floors, lowest first:
#   platform -> model -> render, controls -> window services (fenetres)
#   -> dialogs, video, import, components -> app
# Folders on one floor are peers and do not include each other. The control library also keeps
# clear of the model: it rounds and parses numbers through the platform.
# Tests, benchmarks and tools are not checked.
# Prints each offending include and exits 1; prints nothing and exits 0 otherwise.
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

grep -rnE --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' \
  platform model render controls fenetres app dialogs video import components |
  awk '
    # "floor folder" of a path, or "" outside the libraries.
    function floor_of(p) {
      if (p ~ /^platform\//) return "0 platform"
      if (p ~ /^model\//) return "1 model"
      if (p ~ /^render\//) return "2 render"
      if (p ~ /^controls\//) return "2 controls"
      if (p ~ /^fenetres\//) return "3 services"
      if (p ~ /^dialogs\//) return "4 dialogs"
      if (p ~ /^video\//) return "4 video"
      if (p ~ /^import\//) return "4 import"
      if (p ~ /^components\//) return "4 components"
      if (p ~ /^app\//) return "5 app"
      return ""
    }
    BEGIN {
      # Refused although the floors allow them.
      refused["controls>model"] = 1
      status = 0
    }
    {
      split($0, part, ":")
      file = part[1]; line = part[2]
      target = $0; sub(/^[^"]*"/, "", target); sub(/".*$/, "", target)
      split(floor_of(file), f, " "); split(floor_of(target), t, " ")
      if (t[2] == "" || t[2] == f[2]) next
      pair = f[2] ">" t[2]
      if (pair in tolerated) next
      if (t[1] + 0 >= f[1] + 0 || (pair in refused)) {
        printf "%s:%s: includes %s (%s may not include %s)\n", file, line, target, f[2], t[2]
        status = 1
      }
    }
    END { exit status }'
