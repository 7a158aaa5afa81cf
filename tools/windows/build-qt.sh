#!/bin/sh
# Builds Qt for 64-bit Windows from Debian's own qt6-base source package, the same
# version the Linux build uses, with Debian's MinGW-w64, into a cache outside the
# checkout. Only what the program and its tests use is built: Core, Gui, Widgets,
# Test, Concurrent, the Windows platform plugin (and the offscreen one the tests
# run on), the GIF reader and the Windows styles.
#
# The cache folder's name carries a hash of this recipe, so a changed recipe
# builds anew and an unchanged one is reused. Prints the folder on its last line.
# Usage: build-qt.sh            build if missing, print the prefix
#        build-qt.sh --prefix   only print where the prefix is (built or not)
set -eu

here=$(cd "$(dirname "$0")" && pwd)
version=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null | sed 's/+.*//')
[ -n "$version" ] || { echo "qt6-base-dev is not installed: run tools/deps.sh" >&2; exit 1; }

recipe=$(cat "$0" "$here/mingw-w64.cmake" | sha256sum | cut -c1-12)
cache=${QEL_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/qelsim}
prefix=$cache/qt-$version-windows-x64-$recipe

if [ "${1:-}" = --prefix ]; then echo "$prefix"; exit 0; fi
if [ -f "$prefix/.complete" ]; then echo "$prefix"; exit 0; fi

work=$cache/work-qt-$recipe
rm -rf "$work"
mkdir -p "$work/apt/lists/partial" "$work/apt/cache/archives/partial" "$work/apt/sources"

# Debian's source index, reached through a list of our own made from the
# system's binary sources, so the system's own lists stay as they are.
for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && sed 's/^Types: deb$/Types: deb-src/' "$f" >"$work/apt/sources/$(basename "$f")"
done
if [ -f /etc/apt/sources.list ]; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >"$work/apt/sources/plain.list"
fi
apt_options="-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts=$work/apt/sources
 -o Dir::State::Lists=$work/apt/lists -o Dir::Cache=$work/apt/cache -o Debug::NoLocking=1
 -o APT::Sandbox::User=root"
echo "Fetching Debian's qt6-base $version source"
cd "$work"
# shellcheck disable=SC2086
apt-get $apt_options -qq update
# shellcheck disable=SC2086
apt-get $apt_options -qq source --download-only "qt6-base=$(dpkg-query -W -f='${Version}' qt6-base-dev)"
tar -xf qt6-base_*.orig.tar.xz
src=$(find "$work" -maxdepth 1 -type d -name 'qtbase*' | head -n 1)
[ -d "$src" ] || { echo "no qtbase folder in the source package" >&2; exit 1; }

# Debian's source leaves out wintab.h, so tablet events are off. OpenGL stays on:
# without it the Windows platform plugin of this version does not compile.
cmake -S "$src" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$here/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DBUILD_SHARED_LIBS=ON \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DQT_FEATURE_tabletevent=OFF \
    -DQT_FEATURE_opengl=ON -DINPUT_opengl=desktop \
    -DQT_FEATURE_sql=OFF -DQT_FEATURE_network=OFF -DQT_FEATURE_dbus=OFF \
    -DQT_FEATURE_printsupport=OFF -DQT_FEATURE_xml=OFF \
    -DQT_FEATURE_jpeg=OFF -DQT_FEATURE_ico=OFF \
    -DQT_FEATURE_system_zlib=OFF -DQT_FEATURE_system_png=OFF -DQT_FEATURE_system_freetype=OFF \
    -DQT_FEATURE_system_harfbuzz=OFF -DQT_FEATURE_system_pcre2=OFF
cmake --build "$work/build" --parallel "$(nproc)"
cmake --install "$work/build"
touch "$prefix/.complete"
rm -rf "$work"
echo "$prefix"
