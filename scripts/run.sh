#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
QUORVEL_BUILD_DIR=build QUORVEL_SANITIZE=OFF scripts/build.sh
exec build/bin/quorvel "$@"
