#!/usr/bin/env bash
# Builds the picture fuzz target with clang and libFuzzer (address and undefined-behaviour
# sanitizers) in fuzz/build and runs it for SECONDS seconds.
#   fuzz/run-picture.sh SECONDS
# The seeds are written first by make_picture_seeds.sh (ImageMagick and cjpeg); new inputs
# go to fuzz/build/corpus/picture, findings to fuzz/build/findings/picture. libjpeg and Qt's
# readers are the system's uninstrumented libraries: the sanitizers watch this program's
# code, leaks, crashes, hangs and memory anywhere, but coverage counts only this program.
set -euo pipefail

seconds=${1:?usage: fuzz/run-picture.sh SECONDS}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build="$here/build"
src="$root/src/effects"

cxx=${CXX_FUZZ:-clang++}
flags=(-std=c++20 -g -O1 -fPIC -fno-omit-frame-pointer
       -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
       $(pkg-config --cflags Qt6Gui) -I"$src" -I"$root/src/settings" -I"$here")
sources=(JpegDecoder BitmapIconDecoder)

mkdir -p "$build/obj-picture"
objects=()
for s in "${sources[@]}"; do
  obj="$build/obj-picture/$s.o"
  if [ ! -f "$obj" ] || [ "$src/$s.cpp" -nt "$obj" ] || [ "$src/$s.h" -nt "$obj" ]; then
    echo "compiling $s"
    "$cxx" "${flags[@]}" -c "$src/$s.cpp" -o "$obj"
  fi
  objects+=("$obj")
done

echo "building fuzz_picture"
"$cxx" "${flags[@]}" -fsanitize=fuzzer "$here/fuzz_picture.cpp" "${objects[@]}" \
  $(pkg-config --libs Qt6Gui) -ljpeg -o "$build/fuzz_picture"

corpus="$build/corpus/picture"
seeds="$build/seeds/picture"
findings="$build/findings/picture"
mkdir -p "$corpus" "$findings"
bash "$here/make_picture_seeds.sh" "$seeds"

echo "running fuzz_picture for $seconds s"
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
ASAN_OPTIONS=detect_leaks=1 \
LSAN_OPTIONS=suppressions="$root/.ci/lsan.supp":print_suppressions=0 \
"$build/fuzz_picture" -max_total_time="$seconds" -max_len=16384 -timeout=10 \
  -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" \
  "$corpus" "$seeds" 2>&1 | tee "$build/fuzz_picture.log" | \
  grep -E '^#[0-9]+.*(DONE|pulse|INITED)|^stat::|ERROR|SUMMARY|property broken|Done' || true
if [ -n "$(ls -A "$findings")" ]; then
  echo "fuzz_picture: findings in $findings"
  exit 1
fi
