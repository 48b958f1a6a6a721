#!/usr/bin/env bash
# Builds a libFuzzer target with clang, in the CMake project of its own that
# <project-dir> holds (the main build uses g++), replays the target's corpus
# through it and then fuzzes for <runs> further inputs.  Several targets may
# share one <build-dir>: configuring and building take a lock on it, so
# tests running side by side build the shared layers once, one at a time.
# Usage: run_fuzz.sh <project-dir> <build-dir> <target> <runs>
#            [-D<var>=<value>]... [--seeds <folder or pattern>]... [-- <libFuzzer options>...]
# -D values go to configuring the project; the seed files (hand-written
# inputs, every input that once failed, and the corpus kept from earlier
# campaigns, packed as a .tar.gz of one folder) start the corpus.
# <runs> 0 replays the corpus only: the same inputs on every machine, so the
# test suite stays deterministic.  A campaign raises <runs> (the test suite's
# TEC_FUZZ_RUNS) and picks a random seed with TEC_FUZZ_SEED (default 1);
# its corpus is left in <build-dir>/<target>.run/corpus; what adds coverage goes
# into the kept corpus with
#   mkdir kept && tar -xzf <kept>.tar.gz -C kept --strip-components=1
#   <build-dir>/<target> -merge=1 kept <build-dir>/<target>.run/corpus
#   tar -czf <kept>.tar.gz --transform 's|^kept|corpus|' kept
# TEC_FUZZ_MAX_SECONDS (default 600) caps the fuzzing time, so that with the
# build it ends inside the tests' own CTest timeout (900 s and more).
# Leaks inside system libraries are ignored as lsan.supp beside this script
# lists them.
# Exit 0: no finding; 77: skipped (no clang or no libFuzzer); other: a
# finding, whose input is saved under <build-dir>/<target>.run/artifacts/ -- add it to the
# target's seeds under tests/data/ so that every later run replays it.
set -u
if [ $# -lt 4 ]; then
    echo "usage: run_fuzz.sh <project-dir> <build-dir> <target> <runs> [-D...] [--seeds ...] [-- options]" >&2
    exit 2
fi
project="$(cd "$1" && pwd)"
build="$2"
target="$3"
runs="$4"
shift 4
defines=()
seeds=()
options=()
while [ $# -gt 0 ]; do
    case "$1" in
    -D*) defines+=("$1") ;;
    --seeds)
        seeds+=("${2:?seed folder or pattern}")
        shift
        ;;
    --)
        shift
        options=("$@")
        break
        ;;
    *)
        echo "run_fuzz.sh: unknown argument $1" >&2
        exit 2
        ;;
    esac
    shift
done

export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-/tmp}"
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "$0")" && pwd)/lsan.supp:print_suppressions=0"

clangxx="$(command -v clang++ || true)"
if [ -z "$clangxx" ]; then
    echo "clang++ not found: fuzzing skipped"
    exit 77
fi
mkdir -p "$build"
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
# The lock serialises configuring and building among the targets sharing
# the build folder; each target then runs on its own.
exec 9>"$build/.build.lock"
flock 9
if ! cmake -S "$project" -B "$build" "${generator[@]}" -DCMAKE_CXX_COMPILER="$clangxx" \
        -DCMAKE_BUILD_TYPE=Debug "${defines[@]}" >"$build/configure-$target.log" 2>&1; then
    cat "$build/configure-$target.log"
    echo "fuzz target cannot be configured: skipped"
    exit 77
fi
if ! cmake --build "$build" --target "$target" -j 3 >"$build/build-$target.log" 2>&1; then
    if grep -q -e "libclang_rt.fuzzer" -e "fsanitize=fuzzer" "$build/build-$target.log"; then
        tail -20 "$build/build-$target.log"
        echo "libFuzzer is not available: skipped"
        exit 77
    fi
    tail -40 "$build/build-$target.log"
    exit 1
fi
flock -u 9
exec 9>&-

corpus="$build/$target.run/corpus"
artifacts="$build/$target.run/artifacts"
rm -rf "$corpus" "$artifacts"
mkdir -p "$corpus" "$artifacts"
for spec in "${seeds[@]}"; do
    case "$spec" in
    *.tar.gz)
        # A kept corpus: many small files, packed.
        if [ -f "$spec" ] && ! tar -xzf "$spec" -C "$corpus" --strip-components=1; then
            echo "run_fuzz.sh: cannot unpack $spec" >&2
            exit 2
        fi
        continue
        ;;
    esac
    if [ -d "$spec" ]; then
        spec="$spec/*"
    fi
    for f in $spec; do
        [ -f "$f" ] && cp "$f" "$corpus"/
    done
done
"$build/$target" "$corpus" -runs="$runs" -seed="${TEC_FUZZ_SEED:-1}" \
    -max_total_time="${TEC_FUZZ_MAX_SECONDS:-600}" -artifact_prefix="$artifacts/" \
    -print_final_stats=1 "${options[@]}" 2>&1 | tail -25
status=${PIPESTATUS[0]}
if [ "$status" -ne 0 ]; then
    echo "fuzzing found a failing input in $artifacts:"
    ls -l "$artifacts"
fi
exit "$status"
