#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan) in a build folder of
# its own and runs each for a fixed time, printing executions, coverage and
# corpus size: popmail's own (popmail/fuzz/fuzz_*.cpp) and the program's
# (tests/fuzz/fuzz_*.cpp). Exits non-zero when a target crashes or cannot be
# built; the input that crashed is kept under <build>/artifacts/.
#
#   popmail/fuzz/run-fuzzers.sh [seconds per target]    (default 20)
#   POPMAIL_FUZZ_BUILD=dir overrides the build folder (default build-fuzz/).
set -euo pipefail

fuzz_dir=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$fuzz_dir/../.." && pwd)
build=${POPMAIL_FUZZ_BUILD:-$root/build-fuzz}
seconds=${1:-20}
jobs=2  # the build machines have two cores

# Everything is instrumented for coverage and checked by ASan and UBSan; the
# fuzz targets themselves add -fsanitize=fuzzer for libFuzzer's main.
sanitize="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"

echo "== Building fuzz targets in $build =="
cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_FLAGS="$sanitize" -DCMAKE_CXX_FLAGS="$sanitize" \
    -DVANTOREL_BACKEND=none -DVANTOREL_WERROR=ON -DBUILD_TESTING=OFF -DPOPMAIL_FUZZ=ON \
    -DVANTOREL_FUZZ=ON >/dev/null

# Each target with the folder of its source, where its seeds/ and .dict are.
targets=()
declare -A source_dir
for source in "$fuzz_dir"/fuzz_*.cpp "$root"/tests/fuzz/fuzz_*.cpp; do
    [ -f "$source" ] || continue
    target="$(basename "$source" .cpp)"
    targets+=("$target")
    source_dir[$target]="$(dirname "$source")"
done
cmake --build "$build" --target "${targets[@]}" -j "$jobs"

mkdir -p "$build/artifacts"
failed=()
for target in "${targets[@]}"; do
    corpus="$build/corpus/$target"
    mkdir -p "$corpus"
    args=(-max_total_time="$seconds" -timeout=5 -print_final_stats=1
          -artifact_prefix="$build/artifacts/$target-")
    here="${source_dir[$target]}"
    [ -f "$here/$target.dict" ] && args+=(-dict="$here/$target.dict")
    dirs=("$corpus")
    [ -d "$here/seeds/$target" ] && dirs+=("$here/seeds/$target")
    log="$build/$target.log"

    echo "== $target, $seconds s =="
    status=0
    "$build/$target" "${args[@]}" "${dirs[@]}" >"$log" 2>&1 || status=$?

    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    took=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -n 1)
    last=$(grep -E '^#[0-9]+.*cov: ' "$log" | tail -n 1 || true)
    cov=$(sed -n 's/.*cov: \([0-9]*\).*/\1/p' <<<"$last")
    features=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
    inputs=$(find "$corpus" -type f | wc -l)
    echo "$target: ${runs:-?} executions in ${took:-?} s, coverage ${cov:-?} edges" \
         "(${features:-?} features), corpus $inputs inputs"
    if [ "$status" -ne 0 ]; then
        echo "$target FAILED (exit status $status); log: $log"
        grep -E 'ERROR|broken property|runtime error' "$log" | head -n 5 || true
        failed+=("$target")
    fi
done

if [ ${#failed[@]} -ne 0 ]; then
    echo "Fuzzing found faults in: ${failed[*]}"
    exit 1
fi
echo "Fuzzing ran clean."
