#!/bin/sh
# Builds Hunspell for 64-bit Windows from Debian's own hunspell source package,
# the version the Linux build links, as a static library, into a cache outside
# the checkout; reused while this recipe is unchanged. Prints the prefix.
#   build-hunspell.sh [--prefix]
set -eu

here=$(cd "$(dirname "$0")" && pwd)
version=$(dpkg-query -W -f='${Version}' libhunspell-dev 2>/dev/null | sed 's/-[^-]*$//')
[ -n "$version" ] || { echo "libhunspell-dev is not installed: run tools/deps.sh" >&2; exit 1; }
recipe=$(cat "$0" "$here/debian-source.sh" | sha256sum | cut -c1-12)
cache=${QEL_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/qelsim}
prefix=$cache/hunspell-$version-windows-x64-$recipe

if [ "${1:-}" = --prefix ] || [ -f "$prefix/.complete" ]; then echo "$prefix"; exit 0; fi

work=$cache/work-hunspell-$recipe
rm -rf "$work" "$prefix"
sh "$here/debian-source.sh" hunspell libhunspell-dev "$work"
src=$(find "$work" -maxdepth 1 -type d -name 'hunspell-*' | head -n 1)/src/hunspell
[ -f "$src/hunspell.hxx" ] || { echo "no src/hunspell in the source package" >&2; exit 1; }

# The library alone, linked into the program: its exports are plain symbols.
printf '#pragma once\n#define LIBHUNSPELL_DLL_EXPORTED\n' >"$src/hunvisapi.h"
mkdir -p "$work/objects" "$prefix/lib" "$prefix/include/hunspell"
for f in "$src"/*.cxx; do
    x86_64-w64-mingw32-g++-posix -std=c++11 -O2 -DHUNSPELL_STATIC -I "$src" \
        -c "$f" -o "$work/objects/$(basename "$f" .cxx).o"
done
x86_64-w64-mingw32-ar rcs "$prefix/lib/libhunspell-1.7.a" "$work"/objects/*.o
cp "$src"/hunspell.hxx "$src"/hunspell.h "$src"/hunvisapi.h "$src"/w_char.hxx "$src"/atypes.hxx \
    "$prefix/include/hunspell/"
touch "$prefix/.complete"
rm -rf "$work"
echo "$prefix"
