#!/usr/bin/env bash
# Builds the metafile fuzz target with clang and libFuzzer (address and
# undefined-behaviour sanitizers) in fuzz/build and runs it for SECONDS seconds.
#   fuzz/run-metafile.sh SECONDS [JOBS]
# The seeds are written first by make_metafile_seeds (libuemf's writers); new
# inputs go to fuzz/build/corpus/metafile, findings to fuzz/build/findings/metafile.
set -euo pipefail

seconds=${1:?usage: fuzz/run-metafile.sh SECONDS [JOBS]}
jobs=${2:-1}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build="$here/build"
src="$root/src/effects/metafile"

cxx=${CXX_FUZZ:-clang++}
includes=($(pkg-config --cflags Qt6Gui) -I"$src" -I"$root/src/settings" -I"$here"
          -I"$root/tests/effects")
flags=(-std=c++20 -g -O1 -fPIC -fno-omit-frame-pointer
       -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all "${includes[@]}")
sources=(MetafileImage MetafileDecoder CodePageText DibDecoder GdiCanvas GdiCanvasShapes GdiCanvasClip
         GdiCanvasText GdiCanvasBitmaps EmfPlayer WmfPlayer)

mkdir -p "$build/obj-metafile"
objects=()
for s in "${sources[@]}"; do
  obj="$build/obj-metafile/$s.o"
  if [ ! -f "$obj" ] || [ "$src/$s.cpp" -nt "$obj" ] || \
     [ -n "$(find "$src" -name '*.h' -newer "$obj")" ]; then
    echo "compiling $s"
    "$cxx" "${flags[@]}" -c "$src/$s.cpp" -o "$obj"
  fi
  objects+=("$obj")
done

echo "building fuzz_metafile"
"$cxx" "${flags[@]}" -fsanitize=fuzzer "$here/fuzz_metafile.cpp" "${objects[@]}" \
  $(pkg-config --libs Qt6Gui) -luemf -o "$build/fuzz_metafile"
"$cxx" -std=c++20 -g -O1 -fsanitize=address,undefined "${includes[@]}" \
  "$here/make_metafile_seeds.cpp" $(pkg-config --libs Qt6Gui) -luemf \
  -o "$build/make_metafile_seeds"

corpus="$build/corpus/metafile"
seeds="$build/seeds/metafile"
findings="$build/findings/metafile"
mkdir -p "$corpus" "$findings"
ASAN_OPTIONS=detect_leaks=0 "$build/make_metafile_seeds" "$seeds"

# Parallel jobs write their logs as fuzz-N.log in the build folder.
parallel=()
if [ "$jobs" -gt 1 ]; then
  parallel=(-jobs="$jobs" -workers="$jobs")
  cd "$build"
fi
echo "running fuzz_metafile for $seconds s"
QT_QPA_PLATFORM=offscreen \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
ASAN_OPTIONS=detect_leaks=1 \
LSAN_OPTIONS=suppressions="$root/.ci/lsan.supp":print_suppressions=0 \
"$build/fuzz_metafile" -max_total_time="$seconds" -max_len=16384 -timeout=10 \
  -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" \
  "${parallel[@]}" \
  "$corpus" "$seeds" 2>&1 | tee "$build/fuzz_metafile.log" | \
  grep -E '^#[0-9]+.*(DONE|pulse|INITED)|^stat::|ERROR|SUMMARY|property broken|Done' || true
if [ -n "$(ls -A "$findings")" ]; then
  echo "fuzz_metafile: findings in $findings"
  exit 1
fi
