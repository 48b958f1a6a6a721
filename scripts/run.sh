#!/usr/bin/env bash
# Builds everything and starts the program with its shipped data.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/build.sh"
build="${TEC_BUILD_DIR:-$root/build}"
exe="$build/bin/tolmira-eclipse"
if [[ ! -x "$exe" ]]; then
  echo "The libraries are built, but the program itself (tolmira-eclipse) does not exist yet."
  exit 0
fi
exec "$exe" "$@"
