#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default 60).
#
# Inputs go up to MAX_LEN bytes (default 1 MiB) from the start; inputs slower
# than 2 seconds are reported and any input slower than SLOW seconds (default
# 25: the targets run under AddressSanitizer, often on a busy machine) fails
# the run, so a reader that is not linear in its input shows up as a slow
# unit, not only as a crash. The XML reader's target first reads the hostile
# texts of fuzz/hostile.sh, 8.3 MB each, and fuzzes with them among its seeds;
# the draft reader's target takes inputs up to 4 MiB (the draft size limit)
# and the drafts of fuzz/draft_hostile.sh among its seeds; the register's
# declaration reader takes inputs up to 4 MiB too.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
max_len=${MAX_LEN:-1048576}
slow=${SLOW:-25}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DF7301_FUZZ=ON -DF7301_BUILD_APP=OFF -DF7301_BUILD_TESTS=OFF -DF7301_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz
hostile=build-fuzz/hostile-inputs
fuzz/hostile.sh "$hostile"
fuzz/draft_hostile.sh build-fuzz/draft-hostile
for src in fuzz/*.cpp; do
  [ -e "$src" ] || continue
  name=$(basename "$src" .cpp)
  corpus="build-fuzz/corpus-$name"
  artifacts="build-fuzz/artifacts-$name/"
  mkdir -p "$corpus" "$artifacts"
  seeds=()
  [ -d "fuzz/seeds/$name" ] && seeds=("fuzz/seeds/$name")
  len=$max_len
  [ "$name" = draft_reader_fuzz ] && len=4194304 && seeds+=(build-fuzz/draft-hostile)
  [ "$name" = register_summary_fuzz ] && len=4194304
  if [ "$name" = xml_reader_fuzz ]; then
    echo "-- $name: hostile texts of $(du -sh "$hostile" | cut -f1), each within ${slow}s"
    "build-fuzz/fuzz/$name" -timeout="$slow" -rss_limit_mb=4096 -artifact_prefix="$artifacts" \
      "$hostile"/* 2>&1 | grep -E '^Executed|ERROR|SUMMARY'
    seeds+=("$hostile")
  fi
  echo "-- $name for ${seeds:+seeded }${seconds}s, inputs up to $len bytes"
  "build-fuzz/fuzz/$name" -max_total_time="$seconds" -max_len="$len" -len_control=0 \
    -timeout="$slow" -report_slow_units=2 -rss_limit_mb=4096 -artifact_prefix="$artifacts" \
    -print_final_stats=1 "$corpus" "${seeds[@]}" 2>&1 | tail -n 4
done
