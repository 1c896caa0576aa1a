#!/usr/bin/env bash
# Runs the fuzz targets one after another, each for SECONDS_EACH seconds
# (default 600), with one worker. Usage: fuzz/run.sh [target...]
# Build first: cmake --preset fuzz && cmake --build --preset fuzz --target fuzzers
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${SECONDS_EACH:-600}
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(fuzz_markup_utf8 fuzz_markup_utf16 fuzz_markup_ansi fuzz_zip_reader
  fuzz_image_attribute fuzz_image_bytes fuzz_html_text fuzz_service_answer fuzz_profile_reader fuzz_attributes)
for t in "${targets[@]}"; do
  case $t in
    fuzz_zip_reader) seeds=$root/fuzz/seeds/zip ;;
    fuzz_image_attribute) seeds=$root/fuzz/seeds/image-strings ;;
    fuzz_image_bytes) seeds=$root/fuzz/seeds/images ;;
    fuzz_html_text) seeds=$root/fuzz/seeds/html-text ;;
    fuzz_service_answer) seeds=$root/fuzz/seeds/answer ;;
    fuzz_profile_reader) seeds=$root/fuzz/seeds/profile ;;
    fuzz_attributes) seeds=$root/fuzz/seeds/attributes ;;
    *) seeds=$root/fuzz/seeds/markup ;;
  esac
  corpus=$root/fuzz/corpus-${t#fuzz_}
  logs=$root/build/fuzz-logs/$t
  mkdir -p "$corpus" "$logs"
  echo "== $t for ${seconds}s (log: $logs/fuzz-0.log, crash inputs: $logs/crash-*)"
  # libFuzzer writes the job's log, and any crash input, into the directory it runs in.
  (cd "$logs" && "$root/build/fuzz/fuzz/$t" -max_total_time="$seconds" -jobs=1 -workers=1 \
    -print_final_stats=1 "$corpus" "$seeds" > /dev/null 2>&1) || true
  grep -E '^(#[0-9]+[[:space:]]+DONE|Done |stat::number_of_executed_units|stat::average_exec_per_sec)|ERROR|SUMMARY' "$logs/fuzz-0.log" || true
  ls "$logs" | grep -E '^(crash|leak|timeout|oom)-' || echo "no findings"
done
