#!/usr/bin/env bash
# Times quillmet-count against `LC_ALL=C wc -w -l` and against `cat FILE >/dev/null` on the same
# 256 MiB English-like text, in one run, and prints the ratios and the machine's load (on a
# shared machine the ratios of one run mean more than the times). Builds the release preset
# when needed; the text is written once under build/release and kept.
#   bench/compare_with_wc.sh [RUNS]   (each command runs RUNS times, default 5; best time counts)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
runs=${1:-5}
build=build/release
bytes=$((256 * 1024 * 1024))

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake --preset release >/dev/null
fi
cmake --build "$build" --target quillmet-count counting_bench >/dev/null
tool=$build/tools/quillmet-count/quillmet-count
text=$build/bench-text-256MiB.txt
if [ ! -f "$text" ] || [ "$(stat -c %s "$text")" -ne "$bytes" ]; then
  echo "Writing $text ..."
  "$build/bench/counting_bench" --write-text="$text" --text-bytes="$bytes"
fi

# Seconds (with nanoseconds) that one run of "$@" takes, its output discarded.
seconds_of() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null
  end=$(date +%s%N)
  echo "$(( end - start ))" | awk '{ printf "%.4f", $1 / 1e9 }'
}

run_cat() { cat "$text"; }
run_wc() { LC_ALL=C wc -w -l "$text"; }
run_tool() { "$tool" "$text"; }

run_cat >/dev/null  # the file comes from the page cache in every timed run
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
best_cat=999999 best_wc=999999 best_tool=999999
for ((i = 0; i < runs; i++)); do
  # Interleaved, so that a slow moment of the machine does not favour one command.
  t=$(seconds_of run_cat);  best_cat=$(awk -v a="$best_cat" -v b="$t" 'BEGIN { print (b < a) ? b : a }')
  t=$(seconds_of run_wc);   best_wc=$(awk -v a="$best_wc" -v b="$t" 'BEGIN { print (b < a) ? b : a }')
  t=$(seconds_of run_tool); best_tool=$(awk -v a="$best_tool" -v b="$t" 'BEGIN { print (b < a) ? b : a }')
done

echo "quillmet-count:   $("$tool" "$text")"
echo "LC_ALL=C wc -w -l: $(LC_ALL=C wc -w -l "$text")"
echo "load average before: $load_before, after: $(cut -d' ' -f1-3 /proc/loadavg) ($(nproc) cores)"
awk -v bytes="$bytes" -v cat="$best_cat" -v wc="$best_wc" -v tool="$best_tool" -v runs="$runs" '
  BEGIN {
    printf "best of %d runs on %d bytes\n", runs, bytes
    printf "  %-22s %8.3f s  %6.2f GB/s\n", "cat FILE >/dev/null", cat, bytes / cat / 1e9
    printf "  %-22s %8.3f s  %6.2f GB/s\n", "LC_ALL=C wc -w -l", wc, bytes / wc / 1e9
    printf "  %-22s %8.3f s  %6.2f GB/s\n", "quillmet-count", tool, bytes / tool / 1e9
    printf "quillmet-count is %.1f times as fast as wc -w -l (goal: more than 40)\n", wc / tool
    printf "quillmet-count takes %.2f times as long as cat (goal: at most 1.3)\n", tool / cat
  }'
