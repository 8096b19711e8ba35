#!/usr/bin/env bash
# Creates the wine prefix the tests through wine share, afresh for every run, so that what they
# meet never depends on a wine that booted it before (one without 32-bit support, say). Its home
# is a folder of its own, so that nothing of wine reaches the real home or its prefix.
set -euo pipefail
prefix=$1
export HOME=$prefix.home WINEPREFIX=$prefix WINEDEBUG=-all
# A wine server of an earlier run would still serve the old prefix.
wineserver --kill 2>/dev/null || true
rm -rf "$prefix" "$prefix.home"
mkdir -p "$prefix.home"
# No menu entries, and no question about installing Mono or Gecko.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
unset DISPLAY
wine wineboot --init
# The registry is written out when the wine server ends.
wineserver --wait
