#!/usr/bin/env bash
# Runs the life-cycle tests in a prefix of their own, new for each run: the setup program
# must meet a machine that has never seen Orbelin.
set -euo pipefail
tests=$1
here=$(cd "$(dirname "$0")/../.." && pwd)
export WINEPREFIX=$here/build/wine-lifecycle WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX"
"$here/scripts/wine-prefix" "$WINEPREFIX"
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
wine cmd /c exit >/dev/null 2>&1 </dev/null
wine "$tests" </dev/null 2>&1 | { grep -v -E '^(X connection|[0-9a-f]+:fixme)' || true; }
exit "${PIPESTATUS[0]}"
