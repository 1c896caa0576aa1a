#!/usr/bin/env bash
# Runs the fuzz targets one after another, each for SECONDS_EACH seconds
# (default 600), with one worker. Usage: fuzz/run.sh [target...]
# Build first: cmake --preset fuzz && cmake --build --preset fuzz
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build/fuzz/fuzz
seconds=${SECONDS_EACH:-600}
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(fuzz_markup_utf8 fuzz_markup_utf16 fuzz_markup_ansi fuzz_zip_reader)
mkdir -p build/fuzz-artifacts
for t in "${targets[@]}"; do
  case $t in fuzz_zip_reader) seeds=fuzz/seeds/zip ;; *) seeds=fuzz/seeds/markup ;; esac
  corpus=fuzz/corpus-${t#fuzz_}
  mkdir -p "$corpus"
  echo "== $t for ${seconds}s"
  "$bin/$t" -max_total_time="$seconds" -jobs=1 -workers=1 -print_final_stats=1 \
    -artifact_prefix=build/fuzz-artifacts/"$t"- "$corpus" "$seeds" 2>&1 | grep -E '^(#[0-9]+.*(DONE|pulse)|stat::|==[0-9]+==|SUMMARY|Done)' | tail -12
done
