#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)
scripts/install-deps.sh
export QUORVEL_BUILD_DIR=${QUORVEL_BUILD_DIR:-build}
export QUORVEL_SANITIZE=${QUORVEL_SANITIZE:-OFF}
if [[ "$QUORVEL_SANITIZE" == "ON" ]]; then
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1
  export LSAN_OPTIONS=suppressions=$repo/tests/lsan.supp
elif [[ "$QUORVEL_SANITIZE" == "thread" ]]; then
  # The model's and the renderer's helper threads, and the platform's measure
  # of the machine they share: only their libraries and tests.
  export QUORVEL_TARGETS=${QUORVEL_TARGETS:-"platform_tests model_tests render_tests"}
  export TSAN_OPTIONS=${TSAN_OPTIONS:-"halt_on_error=1 second_deadlock_stack=1"}
elif [[ "$QUORVEL_SANITIZE" == "undefined" ]]; then
  # clang's UndefinedBehaviorSanitizer, which sees faults g++'s does not (a
  # pointer moved by an unsigned offset that wraps), over the floors without
  # Qt: the platform with its movie layer (its reader, converter and loader,
  # and the Indeo encoder's motion search), the model and the renderer.
  # Every report ends its test.
  export CC=${CC:-clang} CXX=${CXX:-clang++}
  export QUORVEL_TARGETS=${QUORVEL_TARGETS:-"platform_tests vidconv_tests model_tests render_tests"}
  export UBSAN_OPTIONS=${UBSAN_OPTIONS:-"print_stacktrace=1 halt_on_error=1"}
fi
scripts/build.sh
start=$(date +%s)
set +e
QT_QPA_PLATFORM=offscreen ctest --test-dir "$QUORVEL_BUILD_DIR" --output-on-failure -j"${QUORVEL_JOBS:-$(nproc)}"
rc=$?
set -e
echo "tests ($QUORVEL_BUILD_DIR): $(( $(date +%s) - start )) s"
exit $rc
