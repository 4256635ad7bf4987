#!/usr/bin/env bash
# Runs lintian over the packages that PackagingDebianPackages made and fails on any error or
# warning; info and pedantic tags are printed. Skipped (77) when lintian is not installed.
#
#   lintian.sh PACKAGE_DIR
set -euo pipefail
command -v lintian >/dev/null || { echo "lintian is not installed"; exit 77; }
changes=("$1"/*.changes)
[ -f "${changes[0]}" ] || { echo "FAIL: no .changes file in $1" >&2; exit 1; }
lintian --pedantic --info --display-experimental --fail-on error,warning "${changes[@]}"
