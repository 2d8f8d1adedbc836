#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks that the desktop
# files land in their freedesktop places and pass the freedesktop validators.
set -euo pipefail
build_dir=$1
app_id=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build_dir" --prefix "$prefix" >/dev/null

test -x "$prefix/bin/timer"
# Each icon is a PNG whose header gives the size its folder names, and the
# colours of the design's palette (colour type 3): a scaling that blends
# pixels makes colours of its own.
for icon in "$prefix"/share/icons/hicolor/*/apps/"$app_id".png; do
    size=$(basename "$(dirname "$(dirname "$icon")")")
    [ "$(head -c 8 "$icon" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ]
    [ "$(head -c 24 "$icon" | tail -c 8 | od -An -tu4 --endian=big | awk '{print $1 "x" $2}')" = "$size" ]
    [ "$(od -An -tu1 -j 25 -N 1 "$icon" | tr -d ' ')" = 3 ]
done
test -x "$prefix/libexec/timer/sound-helper"
desktop-file-validate "$prefix/share/applications/$app_id.desktop"
# The launcher and the window are tied by the window's class, the program's name.
grep -qx 'StartupWMClass=Timer' "$prefix/share/applications/$app_id.desktop"
bash "$(dirname "$0")/validate_metainfo.sh" "$prefix/share/metainfo/$app_id.metainfo.xml"
echo "installed files are valid"
