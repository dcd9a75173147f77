#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what an installed Kivo brings: the two
# programs, the desktop entry, the icon, the metainfo, the sample language files, the demo and
# its first-run script, the manual pages, the copyright and the changelog. The desktop entry and
# the metainfo go through their validators, and the Debian package cpack makes of the build
# goes through lintian, when those are installed (desktop-file-utils, appstream, lintian:
# scripts/setup.sh deps test).
#   check-install.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/usr"
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

cmake --install "$build" --prefix "$prefix" >/dev/null

for program in kivo kivo-cli; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program is missing or not executable"
done
[ -e "$prefix/bin/kivo-demo-gen" ] && fail "the build tool kivo-demo-gen was installed"

desktop="$prefix/share/applications/org.kivoproject.Kivo.desktop"
metainfo="$prefix/share/metainfo/org.kivoproject.Kivo.metainfo.xml"
for file in "$desktop" "$metainfo" "$prefix/share/icons/hicolor/scalable/apps/kivo.svg" \
    "$prefix/share/kivo/lang/de/lang.ini" "$prefix/share/kivo/lang/es/lang.ini" \
    "$prefix/share/kivo/demo/demo.dat"; do
    [ -s "$file" ] || fail "${file#"$prefix"/} is missing"
done
for file in man/man1/kivo.1.gz man/man1/kivo-cli.1.gz doc/kivo/copyright doc/kivo/changelog.gz; do
    [ -s "$prefix/share/$file" ] || fail "share/$file is missing"
done
grep -qx 'Exec=kivo' "$desktop" || fail "the desktop entry does not start kivo"
grep -qx 'Icon=kivo' "$desktop" || fail "the desktop entry does not name the icon kivo"

# Each PNG is as large as the folder it is in says: the width and height in its IHDR chunk.
for size in 16 32 48 64 128 256; do
    png="$prefix/share/icons/hicolor/${size}x${size}/apps/kivo.png"
    if [ ! -s "$png" ]; then
        fail "icon ${size}x${size} is missing"
        continue
    fi
    read -r width height < <(od -An -tu1 -j16 -N8 "$png" |
        awk '{ print $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8 }')
    [ "$width $height" = "$size $size" ] || fail "icon ${size}x${size} is ${width}x${height}"
done

"$prefix/bin/kivo-cli" --help >"$work/help" || fail "kivo-cli --help failed"
# The manual page describes every subcommand --help lists.
gzip -dc "$prefix/share/man/man1/kivo-cli.1.gz" >"$work/kivo-cli.1" 2>/dev/null || true
for command in $(sed -n 's/^  kivo-cli \([a-z]*\).*/\1/p' "$work/help" | sort -u); do
    grep -q "^\.B[IR]* \"$command[ \"]" "$work/kivo-cli.1" ||
        fail "the kivo-cli manual page does not describe $command"
done
entries=$("$prefix/bin/kivo-cli" dump "$prefix/share/kivo/demo/demo.dat" | grep -c '"RomName"' || true)
[ "$entries" = 8 ] || fail "the installed demo has $entries entries, not 8"

# An installed Kivo's first run: settings in the configuration folder, the user's own copy of
# the demo in the data folder, and a second run that changes nothing.
home="$work/home"
mkdir -p "$home"
HOME=$home XDG_CONFIG_HOME= XDG_DATA_HOME= KIVO_FUSE=/nowhere "$prefix/share/kivo/first-run.sh" --user >/dev/null ||
    fail "first-run.sh --user failed"
settings="$home/.config/kivo/kivo.ini"
copy="$home/.local/share/kivo/demo"
if [ -f "$settings" ]; then
    "$prefix/bin/kivo-cli" settings "$settings" | grep -q "\"lastdb\": \"$copy/demo.dat\"" ||
        fail "kivo.ini does not open the user's copy of the demo"
    cp "$settings" "$work/first.ini"
    HOME=$home XDG_CONFIG_HOME= XDG_DATA_HOME= "$prefix/share/kivo/first-run.sh" --user >/dev/null
    cmp -s "$settings" "$work/first.ini" || fail "a second first run changed kivo.ini"
else
    fail "first-run.sh --user wrote no kivo.ini"
fi
[ -f "$copy/tapes/lighthouse.tzx" ] || fail "the demo was not copied to $copy"

if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate"
else
    echo "SKIP desktop-file-validate: not installed (package desktop-file-utils)"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$metainfo" >/dev/null || {
        appstreamcli validate --no-net "$metainfo"
        fail "appstreamcli validate"
    }
else
    echo "SKIP appstreamcli validate: not installed (package appstream)"
fi

# The package as `cpack -G DEB` makes it, made in the temporary folder, not the build's.
if command -v lintian >/dev/null && command -v dpkg-deb >/dev/null; then
    if cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >"$work/cpack.log" 2>&1; then
        deb=("$work"/deb/kivo_*.deb)
        # Info tags (such as binaries without fortified functions in a Debug build) are shown
        # but pass; errors and warnings fail.
        lintian --display-info --fail-on error,warning "${deb[0]}" || fail "lintian"
    else
        cat "$work/cpack.log"
        fail "cpack -G DEB"
    fi
else
    echo "SKIP lintian: lintian or dpkg-deb is not installed (packages lintian, dpkg)"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "installed layout checked"
