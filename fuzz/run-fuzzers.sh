#!/usr/bin/env bash
# Builds the fuzz targets into build-fuzz and runs each, one after another, for SECONDS seconds
# on a copy of its seed corpus. Fails when a target finds a crash, a sanitizer report, a leak or
# a broken property; the input is kept in build-fuzz/fuzz/artifacts/. Without clang it says so
# and succeeds.
set -euo pipefail

if [ $# -ne 1 ] || ! [[ $1 =~ ^[0-9]+$ ]] || [ "$1" -lt 1 ]; then
    echo "usage: fuzz/run-fuzzers.sh SECONDS" >&2
    exit 2
fi
seconds=$1
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"

if ! command -v clang >/dev/null 2>&1 || ! command -v clang++ >/dev/null 2>&1; then
    echo "fuzz: clang++ not found, skipping the fuzz targets"
    exit 0
fi

targets=(fuzz_catalogue fuzz_consists fuzz_markers fuzz_settings fuzz_pictures)

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DRSIM_FUZZ=ON --log-level=WARNING >/dev/null
if ! cmake --build "$build" --parallel "$(nproc)" --target "${targets[@]}" >"$build/fuzz-build.log" 2>&1; then
    cat "$build/fuzz-build.log" >&2
    exit 1
fi

failed=()
for target in "${targets[@]}"; do
    work="$build/fuzz/run/$target"
    rm -rf "$work"
    mkdir -p "$work/corpus" "$build/fuzz/artifacts"
    rm -f "$build/fuzz/artifacts/$target-"*
    cp "$root/fuzz/corpus/$target/"* "$work/corpus/"
    log="$work/fuzz.log"
    status=0
    (cd "$work" && "$build/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$build/fuzz/artifacts/$target-" corpus >"$log" 2>&1) || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    if [ "$status" -ne 0 ]; then
        echo "fuzz: $target FAILED (exit $status) after ${runs:-?} runs; log: $log" >&2
        grep -E 'ERROR|SUMMARY|property failed|artifact_prefix|Test unit written' "$log" >&2 || tail -n 30 "$log" >&2
        failed+=("$target")
    else
        echo "fuzz: $target ok, ${runs:-?} runs in ${seconds}s; $(grep -E '^#[0-9]+' "$log" | tail -n 1)"
    fi
done

if [ ${#failed[@]} -ne 0 ]; then
    echo "fuzz: failed: ${failed[*]}" >&2
    exit 1
fi
