#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-test/, and runs every test headless. Before that, build-make/ builds the demo catalogue
# with CMake's default generator (Make), which makes no output folders of its own as Ninja does.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh deps test
scripts/setup.sh configure build-make make
if cmake --build build-make --target help | grep -w kivo_demo >/dev/null; then
    cmake --build build-make --parallel 2 --target kivo_demo
else
    echo "SKIP the demo catalogue under Make: zmakebas is not installed, so there is no kivo_demo"
fi
scripts/setup.sh configure build-test sanitize
cmake --build build-test --parallel 2
export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd build-test
exec ctest --output-on-failure --parallel 2
