#!/usr/bin/env bash
# Creates the wine prefix the tests through wine share, once per build folder. It is booted
# under a name of its own and renamed when whole, so that a boot cut short is begun again; its
# home is a folder of its own, so that nothing of wine reaches the real home or its prefix.
set -euo pipefail
prefix=$1
[ -f "$prefix/system.reg" ] && exit 0
rm -rf "$prefix.part" "$prefix.home"
mkdir -p "$prefix.home"
export HOME=$prefix.home WINEPREFIX=$prefix.part WINEDEBUG=-all
# No menu entries, and no question about installing Mono or Gecko.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
unset DISPLAY
wine wineboot --init
# The registry is written out when the wine server ends.
wineserver --wait
mv "$prefix.part" "$prefix"
