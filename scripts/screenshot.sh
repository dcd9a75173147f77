#!/usr/bin/env bash
# Makes the README's screenshot: the real kivo from a build folder, run under Xvfb from a
# temporary program folder that holds the demo as ./run.sh's first run prepares it, with one
# entry selected; the window is saved as a PNG. Remake it with
#   scripts/screenshot.sh [BUILD_DIR] [OUT.png]        (defaults: build, docs/screenshot-demo.png)
# It installs Xvfb, xauth, xdotool and a font when they are missing (scripts/setup.sh deps
# screenshot) and builds what it needs.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=${2:-docs/screenshot-demo.png}
readonly WIDTH=1000 HEIGHT=700
# Down presses in the list: 2 selects the third entry, The Lighthouse Keeper, with its loading
# screen and a GIF in the strip.
readonly ROW=${KIVO_SCREENSHOT_ROW:-2}

scripts/setup.sh deps screenshot
[ -f "$build/CMakeCache.txt" ] || scripts/setup.sh configure "$build" release
cmake --build "$build" --parallel 2 --target kivo kivo_demo kivo-demo-gen

dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cp "$build/kivo" "$dir/"
cp -R "$build/demo-catalogue" "$dir/"
# No emulator or player: the picture shows the catalogue, whatever this machine has installed.
KIVO_FUSE=/nowhere KIVO_MUSIC_PLAYERS= scripts/first-run.sh "$dir" >/dev/null
# A fixed window at the top left of the screen, the picture's size.
sed -i "s/^\[kivo\]\r\$/[kivo]\r\nwinx=0\r\nwiny=0\r\nwinw=$WIDTH\r\nwinh=$HEIGHT\r/" "$dir/kivo.ini"

mkdir -p "$(dirname "$out")"
export KIVO_SHOT_DIR=$dir KIVO_SHOT_OUT=$(realpath -m "$out") KIVO_SHOT_GEN=$(realpath "$build/kivo-demo-gen")
export KIVO_SHOT_ROW=$ROW KIVO_SHOT_SIZE=${WIDTH}x$HEIGHT
xvfb-run --auto-servernum --server-args="-screen 0 ${WIDTH}x${HEIGHT}x24" bash -c '
    set -euo pipefail
    HOME=$KIVO_SHOT_DIR "$KIVO_SHOT_DIR/kivo" &
    kivo=$!
    window=$(xdotool search --sync --onlyvisible --pid "$kivo" | head -n 1)
    sleep 2
    xdotool windowfocus --sync "$window" || true
    for _ in $(seq "$KIVO_SHOT_ROW"); do
        xdotool key --window "$window" Down
        sleep 0.3
    done
    sleep 2
    "$KIVO_SHOT_GEN" grab "$KIVO_SHOT_OUT" --size "$KIVO_SHOT_SIZE"
    kill "$kivo"
    wait "$kivo" || true
'
echo "wrote $out"
