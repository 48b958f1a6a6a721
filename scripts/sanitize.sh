#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer into
# ./build-sanitize and runs the test suite there (without the fuzz and
# benchmark labels).  Exits non-zero when a test fails or a sanitizer reports
# a finding: undefined behaviour aborts the test as memory errors do.
# --fuzz also replays the fuzz targets' kept corpora (their own clang build
# with both sanitizers, under build-sanitize/fuzz).  Further arguments go to
# the build tool (e.g. -j4).  TEC_JOBS sets how many tests run side by side
# (default: one per core).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
skipped="fuzz|bench"
if [[ "${1:-}" == "--fuzz" ]]; then
  skipped="bench"
  shift
fi
bash "$root/scripts/deps.sh"
build="$root/build-sanitize"
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$root}"
export CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
# Leaks are not looked for: the toolkit and the font libraries keep their
# caches until the process ends.  The generators the build runs (catalogue,
# delta-T table) are sanitized too, so the options hold for building as well.
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=0:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1"
flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
if [[ ! -f "$build/build.ninja" ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
    -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined"
fi
cmake --build "$build" -- "$@"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j "${TEC_JOBS:-$(nproc)}" --timeout 900 \
  -LE "$skipped"
