#!/usr/bin/env bash
# Installs what is missing, then configures (once) and builds incrementally
# into ./build.  Extra arguments go to the build tool (e.g. a target name).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/deps.sh"
build="${TEC_BUILD_DIR:-$root/build}"
# Compiler results are cached by path relative to the checkout, so that
# another clone of the project (a CI run) reuses them.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$root}"
export CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
if [[ ! -f "$build/build.ninja" ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" -- "$@"
