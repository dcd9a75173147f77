#!/usr/bin/env bash
# Shared set-up for ./run.sh and ./test.sh: installs what the build and the
# tests need (only what is missing), then configures a build directory.
#   scripts/setup.sh deps [run|test|screenshot|fuzz]
#                                         install missing packages: the build's, and also those
#                                         only ./run.sh, ./test.sh, scripts/screenshot.sh or
#                                         scripts/fuzz.sh need
#   scripts/setup.sh configure DIR TYPE   configure DIR (TYPE: release | sanitize | fuzz | make)
set -euo pipefail

# Build: compiler, CMake, Ninja, Qt 6 and its SQLite driver (the library beside the catalogue),
# JSON for the command-line tool, zip and gzip archives, Google Benchmark.
# Tests: the tape tools we cross-check against (fuse-emulator-utils, zmakebas, pasmo).
PACKAGES=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev libgl-dev libqt6sql6-sqlite
    nlohmann-json3-dev libzip-dev zlib1g-dev libbenchmark-dev
    fuse-emulator-utils zmakebas pasmo
)
# ./run.sh only: an emulator and a free ROM, so a demo entry starts its tape on a fresh machine.
RUN_PACKAGES=(fuse-emulator-sdl opense-basic)
# ./test.sh only: the validators of the installed desktop entry and metainfo, the checker of
# the Debian package, and Make for the build with CMake's default generator.
TEST_PACKAGES=(desktop-file-utils appstream lintian make)
# scripts/screenshot.sh only: a virtual screen, a way to press keys in it, and a font.
SCREENSHOT_PACKAGES=(xvfb xauth xdotool fonts-dejavu-core)
# scripts/fuzz.sh only: clang and its libFuzzer and sanitizer runtimes.
FUZZ_PACKAGES=(clang libclang-rt-14-dev)

missing_packages() {
    local p
    for p in "${PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
            printf '%s\n' "$p"
        fi
    done
}

install_deps() {
    if ! command -v dpkg-query >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
        echo "apt-get is not available here. Install these packages (or their equivalents) and run again:"
        printf '  %s\n' "${PACKAGES[@]}"
        exit 1
    fi
    local todo
    todo=$(missing_packages)
    [ -z "$todo" ] && return 0
    echo "Installing missing packages:" $todo
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -qq
    # shellcheck disable=SC2086
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends $todo
}

configure() {
    local dir=$1 type=$2
    local args=(-S . -B "$dir" -G Ninja)
    case "$type" in
        # CMake's default generator (Unix Makefiles), so what only Ninja does for us shows up;
        # no optimisation, debug information or sanitizers: only the build steps matter here.
        make) args=(-S . -B "$dir" -DCMAKE_BUILD_TYPE= -DKIVO_BENCH=OFF)
              unset CMAKE_GENERATOR ;;
        release) args+=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
        sanitize) args+=(-DCMAKE_BUILD_TYPE=Debug -DKIVO_SANITIZE=ON -DKIVO_WERROR=ON) ;;
        # clang and libFuzzer; a Debug build (so Q_ASSERT holds) optimised enough to run fast.
        fuzz) args+=(-DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug
                     "-DCMAKE_CXX_FLAGS_DEBUG=-g -O1" -DKIVO_FUZZ=ON
                     -DKIVO_BENCH=OFF) ;;
        *) echo "unknown build type $type" >&2; exit 2 ;;
    esac
    cmake "${args[@]}" >/dev/null
}

cd "$(dirname "$0")/.."
case "${1:-}" in
    deps)
        case "${2:-}" in
            run) PACKAGES+=("${RUN_PACKAGES[@]}") ;;
            test) PACKAGES+=("${TEST_PACKAGES[@]}") ;;
            screenshot) PACKAGES+=("${SCREENSHOT_PACKAGES[@]}") ;;
            fuzz) PACKAGES+=("${FUZZ_PACKAGES[@]}") ;;
            "") ;;
            *) echo "usage: $0 deps [run|test|screenshot|fuzz]" >&2; exit 2 ;;
        esac
        install_deps
        ;;
    configure) configure "$2" "$3" ;;
    *) echo "usage: $0 deps [run|test|screenshot|fuzz] | configure DIR TYPE" >&2; exit 2 ;;
esac
