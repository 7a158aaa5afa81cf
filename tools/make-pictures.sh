#!/bin/sh
# Rebuilds every shipped picture from tools/picgen. The output is the same
# bytes on every run, so regenerated files only show up in a diff when the
# drawing code changed.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=/tmp/picgen-build

cmake -S "$root/tools/picgen" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" >/dev/null

export QT_QPA_PLATFORM=offscreen
# Qt wants a private runtime directory even when it draws off screen.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR="$build/runtime"
    mkdir -p -m 700 "$XDG_RUNTIME_DIR"
    export XDG_RUNTIME_DIR
fi
"$build/picgen" "$root"

# Qt cannot write GIF. The buttons are opaque and use few colours, so the
# GIFs keep every pixel; -strip leaves out anything that could vary.
mkdir -p "$root/data"
for name in confirm0 confirm1 next0 next1; do
    /usr/bin/convert "$root/res/$name.png" +dither -strip "$root/data/$name.gif"
done

# The Windows program's icon (Explorer, the task bar): the menu's icons in one file.
icons=$root/data/icons/hicolor
/usr/bin/convert $(for side in 16 24 32 48 64 256; do
    echo "$icons/${side}x$side/apps/example.qelsim.QelSimulator.png"
done) -strip "$root/res/qelsim.ico"

"$build/picgen" --check "$root"
