#!/usr/bin/env bash
# Installs what is missing, builds Kivo in build/ and starts it. The first run (no build/kivo.ini
# yet) opens the demo catalogue; later runs keep whatever kivo.ini the program left.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh deps run
scripts/setup.sh configure build release
cmake --build build --parallel 2 --target kivo kivo-cli kivo_demo kivo_icons
scripts/first-run.sh build
exec build/kivo "$@"
