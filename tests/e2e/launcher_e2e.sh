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

display=""
for n in $(seq 91 160); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=$n; break; fi
done
[ -n "$display" ] || { echo "no free X display" >&2; exit 1; }
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
export DISPLAY=":$display"

dbus-run-session -- /usr/bin/python3 "$here/$script" \
    "$work/install" "$inspect" "$screenshots"
