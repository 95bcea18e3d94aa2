#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (address and undefined-behaviour sanitizers) in
# fuzz/build and runs each for SECONDS seconds, one after the other.
#   fuzz/run.sh SECONDS [target...]      targets: integer_from_text text_to_color text_to_bool ini_reader
#                                        metafile picture
# New inputs go to fuzz/build/corpus/<target>; findings to fuzz/build/findings/<target>.
set -euo pipefail

seconds=${1:?usage: fuzz/run.sh SECONDS [target...]}
shift
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build="$here/build"
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(integer_from_text text_to_color text_to_bool ini_reader metafile picture)
fi
# The metafile and picture targets link Qt Gui and more libraries: their own scripts build
# and run them.
run_metafile=0
run_picture=0
rest=()
for t in "${targets[@]}"; do
  case "$t" in
    metafile) run_metafile=1 ;;
    picture) run_picture=1 ;;
    *) rest+=("$t") ;;
  esac
done
targets=("${rest[@]}")

cxx=${CXX_FUZZ:-clang++}
flags=(-std=c++20 -g -O1 -fPIC -fno-omit-frame-pointer
       -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
       $(pkg-config --cflags Qt6Core) -I"$root/src/settings" -I"$here")
settings_sources=(NumberTexts ValueEncodings Gb18030 IniFile SafeFileWrite_posix)

mkdir -p "$build/obj"
objects=()
for s in "${settings_sources[@]}"; do
  obj="$build/obj/$s.o"
  if [ ! -f "$obj" ] || [ "$root/src/settings/$s.cpp" -nt "$obj" ] || \
     [ -n "$(find "$root/src/settings" -name '*.h' -newer "$obj")" ]; then
    echo "compiling $s"
    "$cxx" "${flags[@]}" -c "$root/src/settings/$s.cpp" -o "$obj"
  fi
  objects+=("$obj")
done

for t in "${targets[@]}"; do
  echo "building fuzz_$t"
  "$cxx" "${flags[@]}" -fsanitize=fuzzer "$here/fuzz_$t.cpp" "${objects[@]}" \
    $(pkg-config --libs Qt6Core) -o "$build/fuzz_$t"
done

status=0
for t in "${targets[@]}"; do
  corpus="$build/corpus/$t"
  findings="$build/findings/$t"
  mkdir -p "$corpus" "$findings"
  echo "running fuzz_$t for $seconds s"
  # The seeds in the repository are read; what the fuzzer adds stays in the build folder.
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ASAN_OPTIONS=detect_leaks=1 \
  "$build/fuzz_$t" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" \
    "$corpus" "$here/corpus/$t" 2>&1 | tee "$build/fuzz_$t.log" | \
    grep -E '^#[0-9]+.*(DONE|pulse)|^stat::|ERROR|SUMMARY|property broken|Done' || true
  if [ -n "$(ls -A "$findings")" ]; then
    echo "fuzz_$t: findings in $findings"
    status=1
  fi
done
if [ $run_metafile -eq 1 ]; then
  "$here/run-metafile.sh" "$seconds" || status=1
fi
if [ $run_picture -eq 1 ]; then
  "$here/run-picture.sh" "$seconds" || status=1
fi
exit $status
