#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-test/, and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh deps test
scripts/setup.sh configure build-test sanitize
cmake --build build-test --parallel 2
export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd build-test
exec ctest --output-on-failure --parallel 2
