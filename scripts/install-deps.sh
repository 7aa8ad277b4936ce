#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
set -euo pipefail

PACKAGES=(g++ cmake make pkg-config qt6-base-dev libavcodec-dev libavformat-dev
          libswscale-dev libavutil-dev libjpeg62-turbo-dev libgtest-dev libbenchmark-dev locales
          libxcb1-dev     # libxcb1-dev: on X11 the main window reads the window manager's close requests and the drawn title bar speaks to it
          xvfb xdotool imagemagick ccache ffmpeg
          libtsan2        # libtsan2: the ThreadSanitizer build of CI
          clang libclang-rt-dev  # clang and its sanitizer runtimes: the clang UndefinedBehaviorSanitizer build of CI
          openbox         # openbox: the caption review moves and sizes windows through a window manager
          x11-utils       # x11-utils: the keyboard review waits for the window manager with xprop
          gdal-bin        # gdal-bin: the import tests make and cross-check DEM files
          poppler-utils   # poppler-utils: the printing tests read the PDF files they print
          giflib-tools)   # giflib-tools: the GIF tests build their inputs and check the files written

missing=()
for p in "${PACKAGES[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

sudo_cmd=()
[[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)

# The number-format tests need one comma-decimal locale.
make_locale() {
  if command -v localedef >/dev/null && ! locale -a 2>/dev/null | grep -qi '^fr_FR.utf-\?8$'; then
    "${sudo_cmd[@]}" localedef -i fr_FR -f UTF-8 fr_FR.UTF-8 || echo "install-deps: no fr_FR locale"
  fi
}

if [[ ${#missing[@]} -eq 0 ]]; then
  echo "install-deps: all packages are present"
  make_locale
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update
"${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
make_locale
