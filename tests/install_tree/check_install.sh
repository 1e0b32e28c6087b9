#!/bin/sh
# Installs the build into a temporary prefix and checks the installed tree: every file in its
# place, no developer tool among them, and the installed zavpatch (and zav-patcher, with the
# window) answering --version with the project's version.
#
# Usage: check_install.sh CMAKE BUILD_DIR VERSION cli|gui
set -eu
cmake=$1 build=$2 version=$3 faces=$4
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

"$cmake" --install "$build" --prefix "$prefix" >/dev/null

expected="bin/zavpatch
share/bash-completion/completions/zavpatch
share/man/man1/zavpatch.1"
if [ "$faces" = gui ]; then
    expected="$expected
bin/zav-patcher
share/applications/org.zavpatcher.ZavDataPatcher.desktop
share/icons/hicolor/128x128/apps/zav-patcher.png
share/icons/hicolor/256x256/apps/zav-patcher.png
share/icons/hicolor/48x48/apps/zav-patcher.png
share/icons/hicolor/64x64/apps/zav-patcher.png
share/man/man1/zav-patcher.1
share/metainfo/org.zavpatcher.ZavDataPatcher.metainfo.xml"
fi
installed=$(cd "$prefix" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
expected=$(printf '%s\n' "$expected" | LC_ALL=C sort)
if [ "$installed" != "$expected" ]; then
    echo "installed files differ from the expected ones:" >&2
    printf '%s\n' "$expected" >"$prefix/expected"
    printf '%s\n' "$installed" | diff "$prefix/expected" - >&2 || true
    exit 1
fi

check_version() {
    answer=$("$prefix/bin/$1" --version)
    if [ "$answer" != "$1 $version" ]; then
        echo "$1 --version printed '$answer', not '$1 $version'" >&2
        exit 1
    fi
}
check_version zavpatch
# No display is needed for the version: the window program answers before it starts Qt.
[ "$faces" = gui ] && DISPLAY= WAYLAND_DISPLAY= check_version zav-patcher

# A picture the icon theme can use: square PNGs of the size their folder names.
if [ "$faces" = gui ]; then
    for size in 48 64 128 256; do
        icon="$prefix/share/icons/hicolor/${size}x${size}/apps/zav-patcher.png"
        header=$(od -A n -t x1 -j 12 -N 12 "$icon" | tr -d ' \n')
        want=49484452$(printf '%08x%08x' "$size" "$size")
        if [ "$header" != "$want" ]; then
            echo "$icon is not a ${size}x${size} PNG" >&2
            exit 1
        fi
    done
fi
echo "installed tree of version $version complete"
