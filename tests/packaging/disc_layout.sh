#!/usr/bin/env bash
# Assembles the disc from the build tree and the packages, and checks that the menu is there and
# that every file its Setup.ini names lies on the disc.
#
#   disc_layout.sh SOURCE_DIR BUILD_DIR PACKAGE_DIR OUT_DIR
set -euo pipefail
source_dir=$1 build=$2 packages=$3 out=$4

fail() { echo "FAIL: $*" >&2; exit 1; }

"$source_dir/packaging/disc/assemble.sh" "$source_dir" "$build" "$packages" "$out"
[ -x "$out/setup" ] || fail "the disc has no setup program"
[ -x "$out/autorun" ] || fail "the disc has no autorun file"
for package in kestrix libtolvex0; do
    compgen -G "$out/${package}_*.deb" >/dev/null || fail "the disc has no $package package"
done
links=$(grep -c '^Link[1-6]Text=' "$out/Setup.ini")
[ "$links" -eq 4 ] || fail "Setup.ini has $links links"
while IFS='=' read -r key value; do
    case $key in
    Link[1-6]Icon | Link[1-6]File)
        [[ $value == https://* ]] || [ -f "$out/$value" ] || fail "$key names $value, not on the disc"
        ;;
    esac
done <"$out/Setup.ini"
echo "disc: every check passed"
