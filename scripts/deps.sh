#!/bin/sh
# Installs the Debian packages Quorvane needs. Run as root it installs
# whatever is missing; otherwise it prints the apt-get line to run and exits
# non-zero.
#
#   deps.sh run    what building and running the program needs (`make run`)
#   deps.sh        that, and what the configuration program, the tests and
#                  the benchmarks need (`make test`)
#   deps.sh fuzz   all of it, and clang with its libFuzzer runtime (`make fuzz`)
#   deps.sh soak   what `make run` needs, and GNU time (`make soak`)
#   deps.sh windows  the cross compilers that build quorvane.scr (`make windows`)
#   deps.sh dist   those, and what makes the release artefacts (`make dist`)
set -eu

# Building the program, and the fonts it asks for by name.
RUN_PACKAGES="
  g++ make cmake pkg-config
  libsimpleini-dev
  libpng-dev libjpeg-dev libfreetype-dev libfontconfig-dev fonts-liberation
  libsdl2-dev libx11-dev libxext-dev
"
# The configuration program (Qt 6), the tests (GoogleTest, the JPEG and
# image tools that make their sample files, an X server to run under, an X
# server with two monitors placed by RandR, the install and package checks),
# the benchmarks, their reference drawing and perf for the present-rate
# probes, a window manager for the Windows one, GNU time for the soak runs,
# and clang-format for the layout check.
TEST_PACKAGES="
  qt6-base-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core libcairo2-dev libjpeg-turbo-progs imagemagick
  xvfb xdotool x11-utils x11-apps
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
  libxml2-utils dpkg-dev file lintian
  linux-perf openbox time clang-format
"
# The Windows program: mingw-w64's compilers (the POSIX thread model, which
# std::thread needs) for 64- and 32-bit Windows. `make test` also builds the
# 64-bit program and its tests and runs them under Wine on Xvfb, with
# GoogleTest built from Debian's sources (googletest, above).
WINDOWS_PACKAGES="
  cmake make g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
"
WINE_PACKAGES="
  wine wine64
"
# The Windows installer and the portable zip (`make windows-dist`, `make
# dist`; the installer's test in `make test` builds installers too).
DIST_PACKAGES="
  nsis zip
"
case "${1:-}" in
    run) PACKAGES=$RUN_PACKAGES ;;
    fuzz) PACKAGES="$RUN_PACKAGES $TEST_PACKAGES $WINDOWS_PACKAGES $WINE_PACKAGES $DIST_PACKAGES clang libclang-rt-dev" ;;
    soak) PACKAGES="$RUN_PACKAGES time" ;;
    windows) PACKAGES=$WINDOWS_PACKAGES ;;
    dist) PACKAGES="$RUN_PACKAGES $WINDOWS_PACKAGES $DIST_PACKAGES dpkg-dev file" ;;
    "") PACKAGES="$RUN_PACKAGES $TEST_PACKAGES $WINDOWS_PACKAGES $WINE_PACKAGES $DIST_PACKAGES" ;;
    *)
        echo "quorvane: deps.sh takes run, fuzz, soak, windows, dist or nothing, not '$1'" >&2
        exit 2
        ;;
esac

missing=""
for p in $PACKAGES; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    case "$status" in
        *"install ok installed"*) ;;
        *) missing="$missing $p" ;;
    esac
done

[ -z "$missing" ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "quorvane: missing packages; run as root:" >&2
    echo "  apt-get install -y$missing" >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive
# A fresh machine may have no package lists yet; try the install first and
# refresh the lists only when it cannot find something.
if ! apt-get install -y --no-install-recommends $missing; then
    apt-get update
    apt-get install -y --no-install-recommends $missing
fi
