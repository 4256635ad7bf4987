#!/usr/bin/env bash
# Installs the build into a staging folder (DESTDIR), moves the installed tree elsewhere and runs
# its programs from there with nothing of the build tree in their environment: the run paths are
# relative, the data files lie where the programs look, the man pages agree with --help.
#
#   staged_install.sh BUILD_DIR WORK_DIR INSTALL_PREFIX LIBDIR C_HOST_SOURCE [C_FLAGS...]
set -euo pipefail
build=$1 work=$2 prefix=$3 libdir=$4 c_host_source=$5
shift 5
c_flags=("$@")

fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$work"
mkdir -p "$work"
for component in kestrix dev; do
    DESTDIR="$work/stage" cmake --install "$build" --component "$component" >/dev/null
done
root=$work/moved
mv "$work/stage$prefix" "$root"

clean=(env -i PATH=/usr/bin:/bin HOME="$work" ASAN_OPTIONS=detect_leaks=0)

for elf in "$root"/bin/* "$root/$libdir"/libtolvex.so.*; do
    if readelf -d "$elf" | grep -E 'R(UN)?PATH' | grep -qF "$build"; then
        fail "$elf keeps a run path into the build tree"
    fi
done

programs=(kestrix kestrix-cli kestrix-sim tolvexctl)
# Every program answers --help and --version, without a display, in 80 columns.
for program in "${programs[@]}"; do
    version=$("${clean[@]}" "$root/bin/$program" --version) || fail "$program --version"
    [[ "$version" =~ ^$program\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "$program --version printed: $version"
    "${clean[@]}" "$root/bin/$program" --help >"$work/$program.help" || fail "$program --help"
    wide=$(awk 'length > 80' "$work/$program.help")
    [ -z "$wide" ] || fail "$program --help is wider than 80 columns: $wide"
done

# The C host built from the moved tree's pkg-config file alone. Nothing listens on port 1, so a
# host that loaded the library reports the failed connection with status 1.
read -ra tolvex_flags <<<"$(PKG_CONFIG_PATH="$root/$libdir/pkgconfig" pkg-config --cflags --libs tolvex)"
cc "${c_flags[@]}" -o "$work/c-host" "$c_host_source" "${tolvex_flags[@]}" -Wl,-rpath,"$root/$libdir"
status=0
"${clean[@]}" "$work/c-host" 127.0.0.1 1 0 1 1 >/dev/null 2>"$work/c-host.err" || status=$?
[ "$status" -eq 1 ] || fail "the C host exited with $status: $(cat "$work/c-host.err")"

# The program finds these in ../share/kestrix beside its bin folder.
for file in Kestrix.pdf license.txt; do
    [ -s "$root/share/kestrix/$file" ] || fail "share/kestrix/$file is missing"
done
# The manual holds its last chapter twice: in the contents and in the text.
chapters=$(pdftotext "$root/share/kestrix/Kestrix.pdf" - | grep -c '^Troubleshooting' || true)
[ "$chapters" -ge 2 ] || fail "Kestrix.pdf lacks its contents or its text"
[ -s "$root/share/doc/tolvex/tolvex.html" ] || fail "share/doc/tolvex/tolvex.html is missing"

# Every entry of every help (each option, subcommand and exit status, of each subcommand too)
# begins a line of the rendered man page, which must also render without warnings and give
# whatis its NAME line.
check_entries() { # TEXT PROGRAM [SUBCOMMAND...]
    local text=$1 help entry sub
    shift
    help=$("${clean[@]}" "$@" --help) || fail "$* --help"
    while IFS= read -r entry; do
        awk -v e="$entry" 'index($0, e) == 1 { found = 1 } END { exit !found }' "$text" ||
            fail "the man page of ${1##*/} lacks: ${*:2} $entry"
    done < <(printf '%s\n' "$help" | awk -F '  +' '/^ [^ ]|^  [^ ]|^   [^ ]/ { print $2 }')
    for sub in $(printf '%s\n' "$help" |
        awk '/^Subcommands:/ { on = 1; next } /^$/ { on = 0 } on && /^  [^ ]/ { print $1 }'); do
        check_entries "$text" "$@" "$sub"
    done
}
for program in "${programs[@]}"; do
    page=$root/share/man/man1/$program.1.gz
    [ -s "$page" ] || fail "the man page of $program is missing"
    LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$page" 2>/dev/null | col -b | sed -E 's/^ +//' >"$work/$program.text"
    check_entries "$work/$program.text" "$root/bin/$program"
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "the man page of $program: $warnings"
    lexgrog "$page" | grep -qF ": \"$program - " || fail "lexgrog finds no NAME in the man page of $program"
done
echo "staged install: every check passed"
