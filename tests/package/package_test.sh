#!/usr/bin/env bash
# Builds the Debian package, has lintian (failing on errors) and the desktop's validators check
# it, unpacks it and checks its files, and starts its launcher through a link in a copy of the
# sample installation under the offscreen platform, where it must list the sample's sceneries.
set -euo pipefail
source=$1 build=$2 probe=$3 icon_sizes=$4

fail() { echo "FAIL: $*" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

started=$SECONDS
deb=$("$source/scripts/build-package.sh" "$build")
echo "built $(basename "$deb") in $((SECONDS - started)) s"

lintian --fail-on error "$deb"

root="$work/root"
dpkg-deb -x "$deb" "$root"
version=$(dpkg-deb -f "$deb" Version)
[ "$version" = "$(sed -n 's/^project(TorviaRsimLoader VERSION \([0-9.]*\).*/\1/p' \
    "$source/CMakeLists.txt")" ] || fail "the package's version $version is not the project's"
dpkg-deb -f "$deb" Depends | grep -q 'qt6-qpa-plugins' || fail "no dependency on qt6-qpa-plugins"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "no dependency on Qt's widgets"
[ "$(dpkg-deb -f "$deb" Recommends)" = "wine, locales" ] || fail "wine and locales are not recommended"

desktop-file-validate "$root/usr/share/applications/example.rsim424.Loader.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/example.rsim424.Loader.metainfo.xml"

expected="usr/bin/rsim-inspect
usr/bin/rsim-launcher
usr/share/applications/example.rsim424.Loader.desktop
usr/share/doc/rsim-launcher/changelog.gz
usr/share/doc/rsim-launcher/copyright
usr/share/icons/hicolor/scalable/apps/example.rsim424.Loader.svg
usr/share/man/man1/rsim-inspect.1.gz
usr/share/man/man6/rsim-launcher.6.gz
usr/share/metainfo/example.rsim424.Loader.metainfo.xml"
for size in $icon_sizes; do
    expected+=$'\n'"usr/share/icons/hicolor/${size}x${size}/apps/example.rsim424.Loader.png"
done
expected=$(LC_ALL=C sort <<<"$expected")
files=$(cd "$root" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort)
[ "$files" = "$expected" ] || fail "the package holds other files:"$'\n'"$(diff <(echo "$expected") <(echo "$files"))"
for size in $icon_sizes; do
    file "$root/usr/share/icons/hicolor/${size}x${size}/apps/example.rsim424.Loader.png" |
        grep -q "PNG image data, $size x $size," || fail "the ${size}x${size} icon has another size"
done

# The launcher as packaged, started through a link in an installation, as a player's menu entry
# starts it.
install="$work/install"
cp -r "$source/sample" "$install"
ln -s "$root/usr/bin/rsim-launcher" "$install/rsim-launcher"
listed=$(cd / && QT_QPA_PLATFORM=offscreen QT_PLUGIN_PATH="$probe" \
    QT_QPA_GENERIC_PLUGINS=rsimlistprobe timeout 30 "$install/rsim-launcher" 2>/dev/null) ||
    fail "the packaged launcher did not list sceneries and end"
sceneries=$(cd "$install/scenery" && ls -1 | grep -i '\.scn$')
[ "$(LC_ALL=C sort <<<"$listed")" = "$(LC_ALL=C sort <<<"$sceneries")" ] ||
    fail "the packaged launcher lists"$'\n'"$listed"$'\n'"not the sample's sceneries"$'\n'"$sceneries"
"$root/usr/bin/rsim-inspect" catalogue "$install" >/dev/null ||
    fail "the packaged rsim-inspect failed"

echo "package: $(basename "$deb"), $(wc -l <<<"$files") files, lintian without errors," \
    "the launcher through a link lists $(wc -l <<<"$listed") sceneries, in $((SECONDS - started)) s"
