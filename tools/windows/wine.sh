#!/bin/sh
# Runs a Windows program under Wine as a Windows user would meet it, with the
# Qt and MinGW libraries of the build on its path (the program folder carries its
# own; the test programs find them here). The Wine prefix is made once and kept
# beside the Qt build; a run that finds no Wine exits 77.
#   wine.sh PROGRAM.exe [ARGUMENT...]
#   wine.sh --prepare     only make the prefix
set -eu

here=$(cd "$(dirname "$0")" && pwd)
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine || true)
[ -n "$wine" ] && [ -x "$wine" ] || { echo "no Wine here (Debian package wine64)" >&2; exit 77; }

cache=${QEL_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/qelsim}
export WINEPREFIX=${WINEPREFIX:-$cache/wine}
export WINEDEBUG=${WINEDEBUG:--all}
# No prompt to install Mono or Gecko: the program needs neither.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    # One prefix at a time: two tests starting together must not both make it.
    (
        flock 9
        [ -f "$WINEPREFIX/system.reg" ] || "$wine" wineboot --init >/dev/null 2>&1
        "${wine%64}server" -w 2>/dev/null || wineserver -w 2>/dev/null || true
    ) 9>"$WINEPREFIX.lock"
fi
[ "${1:-}" = --prepare ] && exit 0

# What Qt and its tests print goes to the terminal, not to a debugger.
export QT_FORCE_STDERR_LOGGING=1
# Wine keeps the QT_ variables for programs of this system and hands a Windows
# program QT_X only as WINEQT_X.
for variable in $(env | sed -n 's/^\(QT_[A-Za-z0-9_]*\)=.*/\1/p'); do
    eval "export WINE$variable=\"\$$variable\""
done

qt=$(sh "$here/build-qt.sh" --prefix)
mingw=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
pthread=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libwinpthread-1.dll)")
windows_path() { printf 'Z:%s' "$1" | tr / '\\\\'; }
WINEPATH="$(windows_path "$qt/bin");$(windows_path "$mingw");$(windows_path "$pthread")"
export WINEPATH
exec "$wine" "$@"
