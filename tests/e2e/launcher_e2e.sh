#!/usr/bin/env bash
# Starts an X server of its own and a session bus, then lets one of the play scripts play.
set -euo pipefail
script=$1 launcher=$2 inspect=$3 sample=$4 screenshots=$5
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# The launcher's installation folder is its own folder.
cp -r "$sample" "$work/install"
cp "$launcher" "$work/install/rsim-launcher"
mkdir -p "$screenshots"

# The server takes a free display number itself and names it once it accepts connections, so
# that plays run at the same time by others never share a server; it does not reset when its
# last client leaves, which would refuse the next one for a moment.
Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp \
    3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "the X server did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(cat "$work/display")"

dbus-run-session -- /usr/bin/python3 "$here/$script" \
    "$work/install" "$inspect" "$screenshots"
