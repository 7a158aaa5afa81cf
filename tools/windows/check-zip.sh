#!/bin/bash
# Unzips the Windows program somewhere else and checks what it holds: every file
# a double-click needs, README.txt with CR LF line breaks, and every library the
# program and its libraries load either in the folder or one that Windows itself
# has. Then the unzipped folder, moved, runs under Wine.
#   check-zip.sh BUILD_DIR SOURCE_DIR
set -eu
BUILD=$(cd "$1" && pwd)
SOURCE=$(cd "$2" && pwd)
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

zip=$(ls "$BUILD"/qelsim-*-windows-x64.zip)
(cd "$WORK" && cmake -E tar xf "$zip")
folder=$(ls -d "$WORK"/qelsim-*-windows-x64)
for f in qelsim.exe qelreport.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll libstdc++-6.dll \
    libgcc_s_seh-1.dll \
    libwinpthread-1.dll platforms/qwindows.dll imageformats/qgif.dll ai.lib aa.lib gi.lib \
    ai.key aa.key gi.key \
    confirm0.gif confirm1.gif next0.gif next1.gif README.txt \
    dictionaries/{en_US,en_GB}.{aff,dic,copyright}; do
    [ -f "$folder/$f" ] || { echo "missing from the zip: $f"; exit 1; }
done
[ -d "$folder/user" ] && [ -z "$(ls -A "$folder/user")" ] || { echo "no empty user folder"; exit 1; }
if grep -q $'[^\r]$' "$folder/README.txt" || [ -n "$(tail -c 1 "$folder/README.txt" | tr -d '\n')" ]; then
    echo "README.txt has a line that does not end in CR LF"
    exit 1
fi

# Libraries Windows itself provides, as Wine does.
system=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
missing=0
while read -r binary; do
    for dll in $(x86_64-w64-mingw32-objdump -p "$binary" | sed -n 's/^\s*DLL Name: //p'); do
        [ -f "$folder/$dll" ] || [ -f "$system/$(echo "$dll" | tr 'A-Z' 'a-z')" ] ||
            case $dll in api-ms-win-*) ;; *) echo "${binary#"$folder"/} loads $dll, which is not there"; missing=1 ;; esac
    done
done < <(find "$folder" -name '*.exe' -o -name '*.dll')
[ $missing = 0 ] || exit 1

mv "$folder" "$WORK/moved"
# The program first: Wine's server, once started by a console program without a
# display, has none to give the windows of the next.
"$SOURCE/tests/e2e/e2e.sh" "$WORK/moved" "$WORK/shots" start_and_quit || exit 1
# qelreport.exe, a console program, reads the empty user folder beside it.
[ "$("$SOURCE/tools/windows/wine.sh" "$WORK/moved/qelreport.exe" | head -c 11)" = "file,record" ] ||
    { echo "qelreport.exe did not print the CSV's header"; exit 1; }
