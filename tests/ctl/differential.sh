#!/usr/bin/env bash
# For every viewer: a switch made by OrbelinCtl in one prefix, and `reg import` of the file
# OrbelinCtl exports for that viewer in a clean prefix, must leave the 29 values identical.
# The values are compared through OrbelinCtl's own backup files, which list them exactly.
set -euo pipefail
ctl=$1
here=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'WINEPREFIX=$clean wineserver -k >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
export WINEDEBUG=-all

switched=${ORBELIN_WINEPREFIX:-$here/build/wine-test}
clean=$here/build/wine-test-clean
rm -rf "$clean"
"$here/scripts/wine-prefix" "$clean"

in_prefix() { local prefix=$1; shift; WINEPREFIX=$prefix wine "$@" </dev/null >/dev/null 2>&1; }
win() { WINEPREFIX=$switched winepath -w "$1"; }

in_prefix "$clean" "$ctl" backup "$(win "$work/clean.reg")"
failed=0
for viewer in Cortona Blaxxun Pivoron CosmoPlayer "BS Contact" Octaga Flux; do
    in_prefix "$switched" "$ctl" set "$viewer"
    in_prefix "$switched" "$ctl" backup "$(win "$work/switched.reg")"

    in_prefix "$clean" "$ctl" restore "$(win "$work/clean.reg")"
    in_prefix "$clean" "$ctl" export "$viewer" "$(win "$work/export.reg")"
    in_prefix "$clean" reg import "$(win "$work/export.reg")"
    in_prefix "$clean" "$ctl" backup "$(win "$work/imported.reg")"

    if cmp -s "$work/switched.reg" "$work/imported.reg"; then
        echo "same values: $viewer"
    else
        echo "DIFFERENT values for $viewer:"
        diff <(iconv -f UTF-16 -t UTF-8 "$work/switched.reg") <(iconv -f UTF-16 -t UTF-8 "$work/imported.reg") || true
        failed=1
    fi
done
# Restoring the first backup gives the clean prefix back as it was, absent keys included.
in_prefix "$clean" "$ctl" restore "$(win "$work/clean.reg")"
in_prefix "$clean" "$ctl" backup "$(win "$work/again.reg")"
if ! cmp -s "$work/clean.reg" "$work/again.reg"; then
    echo "restore did not give back the clean registry"
    failed=1
fi
exit $failed
