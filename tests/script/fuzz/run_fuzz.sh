#!/bin/bash
# Builds the script fuzz target with clang (libFuzzer + AddressSanitizer)
# and runs it for a bounded time.  Exits 77 (skipped) without clang.
# Usage: run_fuzz.sh <source dir> <build dir> <generated resources .cpp> <seconds>
set -euo pipefail
src=$(realpath "$1"); out=$(realpath -m "$2"); res=$(realpath "$3"); seconds=${4:-60}
CXX=$(command -v clang++ || true)
if [ -z "$CXX" ]; then echo "clang++ not found: fuzzing skipped"; exit 77; fi
mkdir -p "$out/obj" "$out/corpus"
flags="-std=c++20 -O1 -g -fsanitize=fuzzer-no-link,address -I$src"
sources=$(ls "$src"/script/*.cpp "$src"/xml/*.cpp "$src"/platform/rtl/*.cpp) 
sources="$sources $res $src/tests/script/fuzz/ScriptFuzz.cpp"
# Compile what changed, three at a time.
for f in $sources; do
  o="$out/obj/$(echo "$f" | sed 's|/|_|g').o"
  if [ ! -f "$o" ] || [ "$f" -nt "$o" ] || [ -n "$(find "$src/script" "$src/xml" "$src/platform/rtl" -name '*.h' -newer "$o" -print -quit)" ]; then
    echo "$f $o"
  fi
done | xargs -r -P3 -n2 sh -c "$CXX $flags -c \"\$0\" -o \"\$1\""
"$CXX" -fsanitize=fuzzer,address "$out"/obj/*.o -o "$out/script_fuzz"
# Seeds: the equivalent programs, one per language.
i=0
for f in "$src"/tests/data/script/equivalent.*; do
  printf "\\x$(printf %02x $i)" > "$out/corpus/seed$i"; cat "$f" >> "$out/corpus/seed$i"; i=$((i+1))
done
ASAN_OPTIONS=detect_leaks=1 "$out/script_fuzz" "$out/corpus" -max_total_time="$seconds" -max_len=4096 \
  -timeout=20 -rss_limit_mb=2560 -print_final_stats=1
