#!/usr/bin/env bash
# Builds the fuzz targets with clang in build-fuzz and runs each one for a while.
# Usage: fuzz/run_fuzzers.sh [seconds per target, default 30] [target ...]
# Each target starts from its seeds in fuzz/corpus/<target>/; what it learns goes to
# build-fuzz/corpus/<target>/, and a failing input to build-fuzz/crashes/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(integer_conversion profile_file text_loader pool_loader rotate_bitmap exif_thumbnail
    name_fit)

build=build-fuzz
cmake -S . -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPW_BUILD_FUZZERS=ON -DPW_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target $(printf 'fuzz_%s ' "${targets[@]}")

mkdir -p "$build/crashes"
status=0
for target in "${targets[@]}"; do
    corpus=$build/corpus/$target
    mkdir -p "$corpus"
    echo "== fuzz_$target for ${seconds}s"
    if ! "$build/fuzz/fuzz_$target" "$corpus" "fuzz/corpus/$target" \
        -max_total_time="$seconds" -timeout=60 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/crashes/$target-" 2>"$build/fuzz_$target.log"; then
        status=1
        echo "fuzz_$target FAILED; the input is in $build/crashes/, the report in $build/fuzz_$target.log"
        grep -E "ERROR|SUMMARY|fuzzer:|rotate bitmap|profile file|text loader|name fit|pool loader|integer conversion|exif thumbnail" \
            "$build/fuzz_$target.log" | head -20 || true
    fi
    grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$build/fuzz_$target.log" || true
done
exit $status
