#!/bin/bash
# Makes the .tar.gz of the program folder, unpacks it somewhere else, checks what
# it holds and that no path of the build machine is in the program (as installed,
# unstripped), and runs the unpacked program, also from the menu entry it installs.
#   check-package.sh BUILD_DIR SOURCE_DIR
set -eu
BUILD=$(cd "$1" && pwd)
SOURCE=$(cd "$2" && pwd)
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

(cd "$BUILD" && cpack -B "$WORK/pack" >/dev/null)
archive=$(ls "$WORK"/pack/qelsim-*.tar.gz)
mkdir "$WORK/unpacked"
tar -xzf "$archive" -C "$WORK/unpacked"
folder=$(ls -d "$WORK"/unpacked/qelsim-*)
id=example.qelsim.QelSimulator
for f in qelsim qelreport ai.lib aa.lib gi.lib ai.key aa.key gi.key confirm0.gif confirm1.gif next0.gif \
    next1.gif $id.desktop \
    $id.metainfo.xml install-menu-entry \
    icons/hicolor/{16x16,22x22,24x24,32x32,48x48,64x64,128x128,256x256}/apps/$id.png \
    dictionaries/en_{US,GB}.{aff,dic,copyright}; do
    [ -f "$folder/$f" ] || { echo "missing from the archive: $f"; exit 1; }
done
[ -d "$folder/user" ] || { echo "missing from the archive: user/"; exit 1; }
[ -x "$folder/install-menu-entry" ] || { echo "install-menu-entry is not executable"; exit 1; }
desktop-file-validate "$folder/$id.desktop"
appstreamcli validate --no-net "$folder/$id.metainfo.xml" >/dev/null ||
    { appstreamcli validate --no-net "$folder/$id.metainfo.xml"; exit 1; }
cmake --install "$BUILD" --prefix "$WORK/installed" >/dev/null
if strings -a "$WORK/installed/qelsim" "$WORK/installed/qelreport" | grep -F -e "$BUILD" -e "$SOURCE"; then
    echo "the program holds a path of the build machine"
    exit 1
fi
# Moved to another place, the folder still runs.
mv "$folder" "$WORK/moved"
# qelreport reads the user folder beside it: empty, the header alone.
[ "$("$WORK/moved/qelreport" | wc -l)" = 1 ] || { echo "qelreport did not print the header alone"; exit 1; }
"$SOURCE/tests/e2e/e2e.sh" "$WORK/moved" "$WORK/shots" start_and_quit practice menu_entry
