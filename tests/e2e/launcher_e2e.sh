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

# Xvfb picks a free display itself and writes its number once it takes connections, so no
# play starts before its X server, and two plays never race for one display. It does not reset
# when its last client leaves, which would refuse the next one for a moment.
Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp \
    3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 1200); do
    [ -s "$work/display" ] && break
    if ! kill -0 "$xvfb_pid" 2>/dev/null; then
        echo "end-to-end: Xvfb ended before it took connections:" >&2
        cat "$work/xvfb.log" >&2
        exit 1
    fi
    sleep 0.1
done
if [ ! -s "$work/display" ]; then
    echo "end-to-end: Xvfb did not take connections within 120 s:" >&2
    cat "$work/xvfb.log" >&2
    exit 1
fi
export DISPLAY=":$(head -n 1 "$work/display")"

# The accessibility bus puts its socket in the runtime folder; a folder of the play's own keeps
# plays that run at the same time off each other's bus.
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
dbus-run-session -- bash "$here/with_accessibility.sh" /usr/bin/python3 -B "$here/$script" \
    "$work/install" "$inspect" "$screenshots"
