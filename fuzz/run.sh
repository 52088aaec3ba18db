#!/usr/bin/env bash
# Builds the fuzz targets when needed and fuzzes each one for SECONDS seconds (default 60).
#   fuzz/run.sh [SECONDS] [TARGET...]
# New inputs go to fuzz/corpus-work/<target>/ (not committed); crashes are written as
# fuzz/corpus-work/<target>-crash-* . Copy small, interesting inputs into
# fuzz/corpus/<target>/ by hand. FUZZ_BUILD_DIR selects another build folder.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
shift || true
targets=("$@")
if [[ ${#targets[@]} -eq 0 ]]; then
    targets=(fuzz_catalogue fuzz_plate_text fuzz_run_file)
fi
build="${FUZZ_BUILD_DIR:-fuzz/build}"

if [[ ! -f "$build/build.ninja" ]]; then
    CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DVELOMYRA_MODEL_ONLY=ON -DVELOMYRA_SANITIZE=ON -DVELOMYRA_FUZZ=ON \
        -DVELOMYRA_BUILD_BENCH=OFF -DVELOMYRA_BUILD_TESTS=OFF
fi
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
status=0
for target in "${targets[@]}"; do
    work="fuzz/corpus-work/$target"
    mkdir -p "$work"
    echo "== $target: $seconds s =="
    "$build/fuzz/$target" "$work" "fuzz/corpus/$target" \
        -max_total_time="$seconds" -max_len=16384 -rss_limit_mb=2048 -timeout=20 \
        -artifact_prefix="fuzz/corpus-work/$target-" -print_final_stats=1 || status=1
done
exit $status
