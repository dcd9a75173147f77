#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-test/, and runs every test headless. Before that, build-make/ builds the demo catalogue,
# the icons and the manual pages with CMake's default generator (Make), which does not make the
# output folders of build steps as Ninja does.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh deps test
scripts/setup.sh configure build-make make
make_targets=$(cmake --build build-make --target help)
targets=()
for target in kivo_demo kivo_icons kivo_docs; do
    if grep -qw "$target" <<<"$make_targets"; then
        targets+=("$target")
    else
        echo "SKIP $target under Make: no such target (kivo_demo needs zmakebas, kivo_docs gzip)"
    fi
done
cmake --build build-make --parallel 2 --target "${targets[@]}"
scripts/setup.sh configure build-test sanitize
cmake --build build-test --parallel 2
export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd build-test
exec ctest --output-on-failure --parallel 2
