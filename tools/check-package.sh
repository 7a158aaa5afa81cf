#!/bin/bash
# Makes the .tar.gz of the program folder, unpacks it somewhere else, checks that
# no path of the build machine is inside, and runs the unpacked program.
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
for f in qelsim ai.lib aa.lib confirm0.gif confirm1.gif next0.gif next1.gif qelsim.desktop \
    qelsim.png; do
    [ -f "$folder/$f" ] || { echo "missing from the archive: $f"; exit 1; }
done
[ -d "$folder/user" ] || { echo "missing from the archive: user/"; exit 1; }
if strings -a "$folder/qelsim" | grep -F -e "$BUILD" -e "$SOURCE"; then
    echo "the program holds a path of the build machine"
    exit 1
fi
# Moved to another place, the folder still runs.
mv "$folder" "$WORK/moved"
"$SOURCE/tests/e2e/e2e.sh" "$WORK/moved" "$WORK/shots" start_and_quit practice
