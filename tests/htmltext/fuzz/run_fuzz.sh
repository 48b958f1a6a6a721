#!/usr/bin/env bash
# Builds the markup engine's fuzz target with clang and runs it for a bounded
# time.  Usage: run_fuzz.sh <build-dir> [seconds]
# Exit 0: no finding; 77: skipped (no clang or no libFuzzer); other: a
# finding, whose input is saved under <build-dir>/artifacts/ -- add it to
# tests/data/htmltext/fuzz/ so that the normal test suite keeps checking it.
set -u
export QT_QPA_PLATFORM=offscreen
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "$0")" && pwd)/lsan.supp:print_suppressions=0"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-/tmp}"
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:?build directory}"
seconds="${2:-25}"
clangxx="$(command -v clang++ || true)"
if [ -z "$clangxx" ]; then
    echo "clang++ not found: fuzzing skipped"
    exit 77
fi
mkdir -p "$build"
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
if ! cmake -S "$here" -B "$build" "${generator[@]}" -DCMAKE_CXX_COMPILER="$clangxx" \
        -DCMAKE_BUILD_TYPE=Debug >"$build/configure.log" 2>&1; then
    cat "$build/configure.log"
    echo "fuzz target cannot be configured: skipped"
    exit 77
fi
if ! cmake --build "$build" -j 3 >"$build/build.log" 2>&1; then
    if grep -q -e "libclang_rt.fuzzer" -e "fsanitize=fuzzer" "$build/build.log"; then
        tail -20 "$build/build.log"
        echo "libFuzzer is not available: skipped"
        exit 77
    fi
    tail -40 "$build/build.log"
    exit 1
fi
corpus="$build/corpus"
artifacts="$build/artifacts"
mkdir -p "$corpus" "$artifacts"
cp "$here"/../../data/htmltext/fuzz/* "$corpus"/ 2>/dev/null || true
cp "$here"/../../data/htmltext/fuzz/* "$corpus"/ 2>/dev/null || true
"$build/markup_fuzz" "$corpus" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=4096 -artifact_prefix="$artifacts/" -print_final_stats=1 2>&1 | tail -25
status=${PIPESTATUS[0]}
if [ "$status" -ne 0 ]; then
    echo "fuzzing found a failing input in $artifacts:"
    ls -l "$artifacts"
fi
exit "$status"
