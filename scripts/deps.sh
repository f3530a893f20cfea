#!/bin/sh
# Installs the Debian packages that building and testing Quorvane need.
# Run as root it installs whatever is missing; otherwise it prints the
# apt-get line to run and exits non-zero. `deps.sh fuzz` adds what the
# fuzz targets need (clang and its libFuzzer runtime), which only
# `make fuzz` asks for.
set -eu

PACKAGES="
  g++ make cmake pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libsimpleini-dev
  libpng-dev libjpeg-dev libjpeg-turbo-progs libfreetype-dev libfontconfig-dev fonts-liberation fonts-dejavu-core
  libcairo2-dev
  libsdl2-dev libx11-dev libxext-dev
  qt6-base-dev
  xvfb xdotool x11-utils x11-apps xscreensaver xscreensaver-data
  libxml2-utils dpkg-dev file
  imagemagick
"
if [ "${1:-}" = fuzz ]; then
    PACKAGES="$PACKAGES clang libclang-rt-dev"
fi

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
