#!/bin/sh
# Installs the Debian packages that building, running and testing need, and only those
# that are missing, so a second run costs a dpkg query and nothing more.
set -eu

PACKAGES="
build-essential
cmake
ninja-build
qt6-base-dev
qt6-base-dev-tools
libgl-dev
libbenchmark-dev
pkg-config
libhunspell-dev
hunspell-en-us
hunspell-en-gb
libxcb1-dev
fonts-liberation2
xvfb
xauth
xdotool
xclip
faketime
x11-utils
imagemagick
openbox
python3
clang-format
clang-tidy
g++-mingw-w64-x86-64-posix
gcc-mingw-w64-x86-64-posix
dpkg-dev
xz-utils
wine64
clang libclang-rt-14-dev
desktop-file-utils
appstream
libglib2.0-bin
gtk-update-icon-cache
"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

[ -z "$missing" ] && exit 0

echo "Installing:$missing"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -qq
# shellcheck disable=SC2086
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
