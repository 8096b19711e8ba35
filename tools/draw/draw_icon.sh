#!/usr/bin/env bash
# Renders the launcher's icon, drawn by hand as SVG in shell/desktop/icons, into the PNGs that the
# desktop's icon theme and the launcher's windows use: up to 32 pixels from the simplified
# drawing, from 48 pixels on from the full one, with rsvg-convert.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
source "$root/scripts/packages.sh"
ensure_packages librsvg2-bin
icons="$root/shell/desktop/icons"
# The sizes the build takes the icon at.
sizes=$(sed -n 's/^set(RSIM_ICON_SIZES \(.*\))$/\1/p' "$root/CMakeLists.txt")
for size in $sizes; do
    drawing="$icons/example.rsim424.Loader.svg"
    [ "$size" -le 32 ] && drawing="$icons/example.rsim424.Loader-small.svg"
    rsvg-convert --width "$size" --height "$size" "$drawing" \
        --output "$icons/example.rsim424.Loader-$size.png"
done
