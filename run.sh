#!/usr/bin/env bash
# Installs what is missing, builds Kivo in build/ and starts it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh deps
scripts/setup.sh configure build release
cmake --build build --parallel 2 --target kivo kivo-cli
exec build/kivo "$@"
