#!/bin/sh
# Fetches Debian's source package PACKAGE, of the version the system's package
# BINARY has, into FOLDER and unpacks its upstream tarball there. Debian's
# source index is reached through lists of our own, made from the system's
# binary sources, so the system's own lists stay as they are.
#   debian-source.sh PACKAGE BINARY FOLDER
set -eu
package=$1 binary=$2 folder=$3

version=$(dpkg-query -W -f='${Version}' "$binary")
mkdir -p "$folder/apt/lists/partial" "$folder/apt/cache/archives/partial" "$folder/apt/sources"
for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && sed 's/^Types: deb$/Types: deb-src/' "$f" >"$folder/apt/sources/$(basename "$f")"
done
if [ -f /etc/apt/sources.list ]; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >"$folder/apt/sources/plain.list"
fi
set -- -o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$folder/apt/sources" \
    -o "Dir::State::Lists=$folder/apt/lists" -o "Dir::Cache=$folder/apt/cache" \
    -o Debug::NoLocking=1 -o APT::Sandbox::User=root
echo "Fetching Debian's $package $version source"
apt-get "$@" -qq update
(cd "$folder" && apt-get "$@" -qq source --download-only "$package=$version")
for tarball in "$folder"/*.orig.tar.*; do
    tar -xf "$tarball" -C "$folder"
done
