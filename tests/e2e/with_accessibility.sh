#!/usr/bin/env bash
# Run inside a session bus: starts the accessibility bus and its registry, waits until both
# answer, then runs the command given. A play that cannot see the launcher fails at once here
# rather than timing out later.
set -euo pipefail

patience=${RSIM_E2E_PATIENCE:-1}
# A busy machine may take a while to start the buses; a minute is generous.
tries=$((600 * ${patience%.*}))
address=""
for _ in $(seq "$tries"); do
    address=$(dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus \
        org.a11y.Bus.GetAddress 2>/dev/null | tr -d ' ') && [ -n "$address" ] && break
    sleep 0.1
done
if [ -z "$address" ]; then
    echo "end-to-end: the accessibility bus did not start" >&2
    exit 1
fi
for _ in $(seq "$tries"); do
    if dbus-send --bus="$address" --print-reply --dest=org.a11y.atspi.Registry \
        /org/a11y/atspi/accessible/root org.freedesktop.DBus.Properties.Get \
        string:org.a11y.atspi.Accessible string:ChildCount >/dev/null 2>&1; then
        exec "$@"
    fi
    sleep 0.1
done
echo "end-to-end: the accessibility registry did not start on $address" >&2
exit 1
