#!/usr/bin/env bash
# Runs lintian over each package that PackagingDebianPackages made and fails on any error or
# warning; info and pedantic tags are printed. Skipped (77) when lintian is not installed.
#
#   lintian.sh PACKAGE_DIR
set -euo pipefail
command -v lintian >/dev/null || { echo "lintian is not installed"; exit 77; }
shopt -s nullglob
debs=("$1"/*.deb)
[ ${#debs[@]} -gt 0 ] || { echo "FAIL: no packages in $1" >&2; exit 1; }
# One package at a time: given several, this lintian reports nothing. The -dbgsym packages keep
# one info tag, cannot-check-whether-usr-share-doc-symlink-points-to-foreign-package: their doc
# folder is debhelper's link to the main package's, which lintian cannot follow from one .deb.
status=0
for deb in "${debs[@]}"; do
    lintian --pedantic --display-info --display-experimental --fail-on error,warning "$deb" || status=1
done
exit $status
