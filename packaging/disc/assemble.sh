#!/usr/bin/env bash
# Lays out the distribution disc in OUT_DIR: the disc menu `setup` with its Setup.ini and icons,
# the kestrix and libtolvex0 packages, the manual and the licence taken from that package, and the autorun
# files.
#
#   assemble.sh SOURCE_DIR BUILD_DIR PACKAGE_DIR OUT_DIR
set -euo pipefail
source_dir=$1 build=$2 packages=$3 out=$4

shopt -s nullglob
debs=("$packages"/kestrix_*.deb)
if [ ${#debs[@]} -ne 1 ]; then
    echo "assemble: expected one kestrix_*.deb in $packages, found ${#debs[@]}" >&2
    exit 1
fi
deb=$(basename "${debs[0]}")

rm -rf "$out"
mkdir -p "$out/icons"
cmake --install "$build" --component disc --prefix "$out" >/dev/null
# The program's package needs the library's beside it.
cp "${debs[0]}" "$packages"/libtolvex0_*.deb "$out/"

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "${debs[0]}" "$unpacked"
cp "$unpacked/usr/share/kestrix/Kestrix.pdf" "$unpacked/usr/share/kestrix/license.txt" "$out/"

for icon in install manual license website; do
    cp "$source_dir/setup/example/icons/$icon.svg" "$out/icons/"
done
sed "s/@KESTRIX_DEB@/$deb/" "$source_dir/packaging/disc/Setup.ini.in" >"$out/Setup.ini"
install -m 755 "$source_dir/packaging/disc/autorun" "$out/autorun"
cp "$source_dir/packaging/disc/README.txt" "$out/README.txt"
