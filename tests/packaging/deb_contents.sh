#!/usr/bin/env bash
# Builds the Debian packages with scripts/package into OUT_DIR and checks that each holds the files
# a user or a library user needs and no more, that the binaries are hardened and carry no run path,
# and that the dependencies come from the binaries.
#
#   deb_contents.sh SOURCE_DIR OUT_DIR WORK_DIR
set -euo pipefail
source_dir=$1 out=$2 work=$3

fail() { echo "FAIL: $*" >&2; exit 1; }

KESTRIX_PACKAGE_WORK_DIR=$work "$source_dir/scripts/package" "$out" >"$out.log" 2>&1 ||
    { tail -40 "$out.log"; fail "scripts/package"; }
libdir=usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)

package() { # the one .deb of a package
    local debs=("$out/$1"_*.deb)
    [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "no single $1 package"
    echo "${debs[0]}"
}
holds() { # package, then the files it must hold
    local deb
    deb=$(package "$1")
    shift
    dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$deb.list"
    for file in "$@"; do
        grep -qxF "$file" "$deb.list" || fail "$(basename "$deb") lacks $file"
    done
}

kestrix=$(package kestrix) library=$(package libtolvex0) dev=$(package libtolvex-dev)
holds kestrix /usr/bin/kestrix /usr/bin/kestrix-cli /usr/bin/kestrix-sim /usr/bin/tolvexctl \
    /usr/share/kestrix/Kestrix.pdf /usr/share/kestrix/license.txt /usr/share/doc/tolvex/tolvex.html \
    /usr/share/doc/kestrix/copyright /usr/share/doc/kestrix/changelog.gz \
    /usr/share/applications/org.orvenda.kestrix.desktop /usr/share/icons/hicolor/scalable/apps/kestrix.svg \
    /usr/share/icons/hicolor/48x48/apps/kestrix.png /usr/share/icons/hicolor/256x256/apps/kestrix.png \
    /usr/share/bash-completion/completions/kestrix-cli /usr/share/bash-completion/completions/tolvexctl \
    /usr/share/metainfo/org.orvenda.kestrix.metainfo.xml /usr/share/man/man1/kestrix.1.gz \
    /usr/share/man/man1/kestrix-cli.1.gz /usr/share/man/man1/kestrix-sim.1.gz \
    /usr/share/man/man1/tolvexctl.1.gz
holds libtolvex0 "/$libdir/libtolvex.so.0" /usr/share/doc/libtolvex0/copyright
holds libtolvex-dev /usr/include/tolvex/tolvex.h /usr/include/tolvex/tolvex_constants.h \
    "/$libdir/libtolvex.so" "/$libdir/pkgconfig/tolvex.pc" "/$libdir/cmake/tolvex/tolvexConfig.cmake" \
    "/$libdir/cmake/tolvex/tolvexTargets.cmake" /usr/share/doc/libtolvex-dev/copyright
grep -q '/libtolvex.so.0.[0-9.]*$' "$library.list" || fail "no versioned libtolvex.so"
if grep -q 'libtolvex\.so' "$kestrix.list"; then fail "kestrix holds the shared library"; fi
if grep -vq '^/usr/share/doc/\|/libtolvex\.so\.0\|^/$\|/$' "$library.list"; then
    fail "libtolvex0 holds more than the library: $(cat "$library.list")"
fi

depends=$(dpkg-deb -f "$kestrix" Depends)
for needed in libc6 libtolvex0 libqt6widgets6 libqt6serialport6 libqt6charts6 libqt6sql6-sqlite; do
    [[ $depends == *"$needed"* ]] || fail "kestrix does not depend on $needed: $depends"
done
[[ $(dpkg-deb -f "$dev" Depends) =~ ^libtolvex0\ \(=\ [^\)]*\)$ ]] ||
    fail "libtolvex-dev must depend on libtolvex0 alone: $(dpkg-deb -f "$dev" Depends)"
control=$(dpkg-deb --ctrl-tarfile "$library" | tar -tf -)
grep -qx './symbols' <<<"$control" || fail "libtolvex0 has no symbols file"
grep -qx './triggers' <<<"$control" || fail "libtolvex0 has no ldconfig trigger"

# Hardened (PIE, full RELRO, bind-now, fortified) and no run path: the library comes from the
# system's path.
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
for deb in "$kestrix" "$library" "$dev"; do dpkg-deb -x "$deb" "$tree"; done
for elf in "$tree"/usr/bin/* "$tree/$libdir"/libtolvex.so.0.*; do
    dynamic=$(readelf -d "$elf")
    if grep -qE 'R(UN)?PATH' <<<"$dynamic"; then fail "$elf carries a run path"; fi
    grep -q 'BIND_NOW' <<<"$dynamic" || fail "$elf is not linked with bind-now"
    # Read whole first: grep -q would end the pipe early, which pipefail counts as a failure.
    segments=$(readelf -lW "$elf") header=$(readelf -hW "$elf") symbols=$(readelf -W --dyn-syms "$elf")
    grep -q 'GNU_RELRO' <<<"$segments" || fail "$elf has no RELRO segment"
    grep -q 'Type: *DYN' <<<"$header" || fail "$elf is not position-independent"
    grep -q '__[a-z]*_chk@' <<<"$symbols" || fail "$elf calls no fortified function"
done

# The installed pkg-config file adds no include folder the compiler does not search already.
cflags=$(PKG_CONFIG_SYSROOT_DIR='' PKG_CONFIG_PATH="$tree/$libdir/pkgconfig" pkg-config --cflags tolvex)
[[ -z ${cflags// /} || $cflags =~ ^-I/usr/include\ *$ ]] || fail "pkg-config --cflags tolvex printed: $cflags"
echo "packages: every check passed"
