#!/bin/sh
# Compiles the Win32 layer with the 32-bit MinGW cross compiler against the real
# windows.h, so the Windows half of that file cannot rot unseen on Linux. Any
# warning or error fails the check. It compiles twice: once as a plain build and
# once with UNICODE defined, which proves that only the ANSI ("A") functions are
# named and no call depends on the character-set macros.
# Usage: check-win32.sh path/to/src/platform/win32.cpp
set -eu

[ $# -eq 1 ] || { echo "usage: $0 path/to/win32.cpp" >&2; exit 2; }
source=$1
[ -f "$source" ] || { echo "$source: no such file" >&2; exit 2; }

compiler=i686-w64-mingw32-g++
if ! command -v "$compiler" >/dev/null 2>&1; then
    echo "$compiler is missing: run tools/deps.sh (Debian package g++-mingw-w64-i686)" >&2
    exit 1
fi

# The file includes "platform/win32.h", relative to the source root two folders up.
include=$(cd "$(dirname "$source")/.." && pwd)
work=$(mktemp -d /tmp/check-win32.XXXXXX)
trap 'rm -rf "$work"' EXIT

status=0
for defines in "" "-DUNICODE -D_UNICODE"; do
    # shellcheck disable=SC2086
    if ! "$compiler" -std=c++20 -Wall -Wextra -Werror $defines -I "$include" \
        -c -o "$work/win32.o" "$source" >"$work/log" 2>&1; then
        status=1
    fi
    # Some diagnostics are not turned into errors by -Werror; they count too.
    if [ -s "$work/log" ]; then
        echo "$compiler ${defines:-(no defines)}:"
        cat "$work/log"
        status=1
    fi
done

[ $status -eq 0 ] && echo "$source compiles cleanly for 32-bit Windows"
exit $status
