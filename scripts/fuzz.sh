#!/usr/bin/env bash
# Fuzzes the program's readers with libFuzzer, one target at a time.
#   scripts/fuzz.sh [TARGET|all] [SECONDS]     (default: all, 60 seconds each)
# Targets: dat pocket sgd sgd_ini settings language tape screen loading_screen archive
# logiqx clrmamepro library disk (fuzz/fuzz_TARGET.cpp).
# Builds build-fuzz/ with clang, AddressSanitizer and UndefinedBehaviorSanitizer, grows a working
# corpus in build-fuzz/corpus/TARGET from tests/fuzz/corpus/TARGET, the saved regressions, large
# generated seeds and, when present, the matching files of ../shared/corpus. Crashes go to
# build-fuzz/crashes/TARGET/, the logs to build-fuzz/logs/.
set -euo pipefail
cd "$(dirname "$0")/.."

TARGETS=(dat pocket sgd sgd_ini settings language tape screen loading_screen archive logiqx clrmamepro
         library disk)
target=${1:-all}
seconds=${2:-60}
if [ "$target" = all ]; then
    run=("${TARGETS[@]}")
elif printf '%s\n' "${TARGETS[@]}" | grep -qx -- "$target"; then
    run=("$target")
else
    echo "usage: $0 [$(IFS='|'; echo "${TARGETS[*]}")|all] [SECONDS]" >&2
    exit 2
fi

# The longest input each target is given in the large phase: room for thousands of catalogue
# entries, a long tape, a screen with bytes after it.
max_len() {
    case "$1" in
        dat | pocket | sgd | tape | archive | logiqx | clrmamepro | library) echo 600000 ;;
        disk) echo 700000 ;;
        loading_screen) echo 200000 ;;
        settings | language) echo 262144 ;;
        sgd_ini) echo 65536 ;;
        screen) echo 16384 ;;
    esac
}
# Extra seeds from the third-party files, by ending.
shared_endings() {
    case "$1" in
        tape) echo "tzx tap" ;;
        screen) echo "scr" ;;
        loading_screen) echo "tzx tap sna z80 szx" ;;
        archive) echo "zip gz" ;;
        clrmamepro) echo "dat" ;;
        disk) echo "trd scl" ;;
    esac
}

scripts/setup.sh deps fuzz
scripts/setup.sh configure build-fuzz fuzz
cmake --build build-fuzz --parallel 2 --target kivo-fuzz-seeds "${run[@]/#/fuzz_}"

out=$PWD/build-fuzz
mkdir -p "$out/logs" "$out/tmp"
export TMPDIR=$out/tmp # the targets' scratch files
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# A smaller quarantine than the default 256 MB: freed memory is reused sooner, which spares the
# page faults of ever fresh memory and runs the allocation-heavy targets half as fast again.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16}
"$out/fuzz/kivo-fuzz-seeds" --large "$out/seeds-large" >/dev/null

failed=()
for t in "${run[@]}"; do
    corpus=$out/corpus/$t
    crashes=$out/crashes/$t
    mkdir -p "$corpus" "$crashes"
    cp -n tests/fuzz/corpus/"$t"/* "$corpus"/ 2>/dev/null || true
    cp -n tests/fuzz/regressions/"$t"/* "$corpus"/ 2>/dev/null || true
    [ "$t" = language ] && cp -n data/lang/de/lang.ini "$corpus/de-lang.ini" &&
        cp -n data/lang/es/lang.ini "$corpus/es-lang.ini"
    if [ -d ../shared/corpus ]; then
        for ending in $(shared_endings "$t"); do
            find ../shared/corpus -type f -iname "*.$ending" -exec cp -n {} "$corpus"/ \;
        done
    fi
    # Three quarters of the time on inputs of up to 64 KB, where a mutation costs little; the
    # rest with the large seeds and the full length, so big files are fuzzed too.
    small=$((seconds * 3 / 4))
    large=$((seconds - small))
    status=0
    for phase in small large; do
        if [ "$phase" = small ]; then
            time=$small len=$(($(max_len "$t") < 65536 ? $(max_len "$t") : 65536)) seeds=()
        else
            time=$large len=$(max_len "$t") seeds=("$out/seeds-large/$t")
            [ -d "${seeds[0]}" ] || seeds=()
        fi
        [ "$time" -gt 0 ] || continue
        log=$out/logs/$t-$phase-$(date +%Y%m%d-%H%M%S).log
        echo "== fuzz_$t, $phase inputs (max_len $len), ${time}s over $(ls "$corpus" | wc -l) inputs; log: $log"
        "$out/fuzz/fuzz_$t" "$corpus" "${seeds[@]}" \
            -max_total_time="$time" -max_len="$len" \
            -malloc_limit_mb=256 -rss_limit_mb=2048 -timeout=30 \
            -artifact_prefix="$crashes/" -print_final_stats=1 >"$log" 2>&1 || status=$?
        grep -E '^#[0-9]+[[:space:]]+DONE|^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$log" || true
        if [ "$status" -ne 0 ]; then
            failed+=("$t")
            tail -n 40 "$log"
            break
        fi
    done
done

found=$(find "$out/crashes" -type f 2>/dev/null | sort)
if [ -n "$found" ]; then
    echo
    echo "Inputs that failed (replay one with build-fuzz/fuzz/fuzz_TARGET FILE):"
    printf '  %s\n' $found
    echo "Once fixed, keep each as a regression: copy it to tests/fuzz/regressions/TARGET/ with a"
    echo "name that says what it caught and git add it; ctest's fuzz_replay_TARGET replays it."
fi
[ ${#failed[@]} -eq 0 ] || { echo "failed: ${failed[*]}"; exit 1; }
