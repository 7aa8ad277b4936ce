#!/usr/bin/env bash
# Configures and builds into $QUORVEL_BUILD_DIR (default build): everything,
# or only the targets named in $QUORVEL_TARGETS (separated by spaces), with
# $QUORVEL_JOBS compilations at once (default: one a processor).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${QUORVEL_BUILD_DIR:-build}
san=${QUORVEL_SANITIZE:-OFF}
start=$(date +%s)
# Keep the compiler cache from filling a small disk.
export CCACHE_MAXSIZE=${CCACHE_MAXSIZE:-3G}
# Let the cache serve compilations that use the precompiled Qt headers, and
# serve a clone in another folder (CI's) from what this one compiled.
export CCACHE_SLOPPINESS=${CCACHE_SLOPPINESS:-pch_defines,time_macros,include_file_mtime,include_file_ctime}
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(pwd)}
export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVEL_SANITIZE="$san" >/dev/null
targets=()
for t in ${QUORVEL_TARGETS:-}; do targets+=(--target "$t"); done
cmake --build "$dir" -j"${QUORVEL_JOBS:-$(nproc)}" "${targets[@]}"
echo "build ($dir): $(( $(date +%s) - start )) s, $(du -sh "$dir" | cut -f1) on disk, $(df -h --output=avail . | tail -n 1 | tr -d ' ') free"
