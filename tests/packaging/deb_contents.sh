#!/usr/bin/env bash
# Builds the Debian packages from the build tree into OUT_DIR and checks that they hold every file
# a user or a library user needs, and dependencies computed from the binaries.
#
#   deb_contents.sh BUILD_DIR OUT_DIR LIBDIR
set -euo pipefail
build=$1 out=$2 libdir=$3

fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$out"
cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out.log" 2>&1 || { cat "$out.log"; fail "cpack"; }
rm -rf "$out/_CPack_Packages"

holds() { # package, then the files it must hold
    local deb=$1
    shift
    dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$deb.list"
    for file in "$@"; do
        grep -qxF "$file" "$deb.list" || fail "$(basename "$deb") lacks $file"
    done
}

kestrix=("$out"/kestrix_*.deb)
dev=("$out"/libtolvex-dev_*.deb)
[ -f "${kestrix[0]}" ] || fail "no kestrix package"
[ -f "${dev[0]}" ] || fail "no libtolvex-dev package"

holds "${kestrix[0]}" /usr/bin/kestrix /usr/bin/kestrix-cli /usr/bin/kestrix-sim /usr/bin/tolvexctl \
    "/usr/$libdir/libtolvex.so.0" \
    /usr/share/kestrix/Kestrix.pdf /usr/share/kestrix/license.txt /usr/share/doc/tolvex/tolvex.html \
    /usr/share/applications/kestrix.desktop /usr/share/icons/hicolor/scalable/apps/kestrix.svg \
    /usr/share/metainfo/org.orvenda.kestrix.metainfo.xml \
    /usr/share/man/man1/kestrix-cli.1.gz /usr/share/man/man1/kestrix-sim.1.gz /usr/share/man/man1/tolvexctl.1.gz
holds "${dev[0]}" /usr/include/tolvex/tolvex.h /usr/include/tolvex/tolvex_constants.h \
    "/usr/$libdir/libtolvex.so" "/usr/$libdir/pkgconfig/tolvex.pc" \
    "/usr/$libdir/cmake/tolvex/tolvexConfig.cmake" "/usr/$libdir/cmake/tolvex/tolvexTargets.cmake"
grep -q '/libtolvex.so.0.[0-9.]*$' "${kestrix[0]}.list" || fail "no versioned libtolvex.so"

depends=$(dpkg-deb -f "${kestrix[0]}" Depends)
for library in libc6 libqt6widgets6 libqt6serialport6 libqt6charts6 libqt6sql6-sqlite; do
    [[ $depends == *"$library"* ]] || fail "kestrix does not depend on $library: $depends"
done
[[ $(dpkg-deb -f "${dev[0]}" Depends) == *kestrix* ]] || fail "libtolvex-dev does not depend on kestrix"
echo "packages: every check passed"
