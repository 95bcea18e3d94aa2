#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with clang (address and undefined-behaviour sanitizers) from
# the project's own CMake targets in fuzz/build, and runs each for SECONDS seconds, one
# after the other.
#   fuzz/run.sh SECONDS [target...]   targets: integer_from_text text_to_color text_to_bool
#                                     ini_reader metafile picture remote_request
#   JOBS=n runs n fuzzing processes per target.
# The seeds in the repository are read (metafile and picture seeds are written first);
# new inputs go to fuzz/build/corpus/<target>, findings to fuzz/build/findings/<target>.
# System libraries (libjpeg, Qt's readers) are not instrumented: coverage counts only
# this program's code, while the sanitizers watch everything.
set -euo pipefail

seconds=${1:?usage: fuzz/run.sh SECONDS [target...]}
shift
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build="$here/build"
jobs=${JOBS:-1}
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(integer_from_text text_to_color text_to_bool ini_reader metafile picture remote_request)
fi

mkdir -p "$build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_CXX_FLAGS="-g -O1" \
  -DCMAKE_C_COMPILER="${CC_FUZZ:-clang}" -DCMAKE_CXX_COMPILER="${CXX_FUZZ:-clang++}" \
  -DTARVIK_FUZZ=ON -DTARVIK_BUILD_TESTS=OFF -DTARVIK_BUILD_BENCH=OFF >"$build/configure.log"
programs=()
for t in "${targets[@]}"; do programs+=("fuzz_$t"); done
[[ " ${targets[*]} " == *" metafile "* ]] && programs+=(make_metafile_seeds)
cmake --build "$build" --target "${programs[@]}"

status=0
for t in "${targets[@]}"; do
  corpus="$build/corpus/$t"
  findings="$build/findings/$t"
  mkdir -p "$corpus" "$findings"
  max_len=4096
  case $t in
    metafile)
      seeds="$build/seeds/metafile"; max_len=16384
      ASAN_OPTIONS=detect_leaks=0 "$build/fuzz/make_metafile_seeds" "$seeds" ;;
    picture)
      seeds="$build/seeds/picture"; max_len=16384
      bash "$here/make_picture_seeds.sh" "$seeds" ;;
    *)
      seeds="$here/corpus/$t" ;;
  esac
  parallel=()
  if [ "$jobs" -gt 1 ]; then parallel=(-jobs="$jobs" -workers="$jobs"); fi
  echo "running fuzz_$t for $seconds s"
  (cd "$build" &&
   QT_QPA_PLATFORM=offscreen \
   UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
   ASAN_OPTIONS=detect_leaks=1 \
   LSAN_OPTIONS=suppressions="$root/.ci/lsan.supp":print_suppressions=0 \
   "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -max_len=$max_len -timeout=10 \
     -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" "${parallel[@]}" \
     "$corpus" "$seeds" 2>&1) | tee "$build/fuzz_$t.log" | \
    grep -E '^#[0-9]+.*(DONE|pulse|INITED)|^stat::|ERROR|SUMMARY|property broken|Done' || true
  if [ -n "$(ls -A "$findings")" ]; then
    echo "fuzz_$t: findings in $findings"
    status=1
  fi
done
exit $status
