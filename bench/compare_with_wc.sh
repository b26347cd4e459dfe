#!/usr/bin/env bash
# Times quillmet-count against `LC_ALL=C wc -w -l` and against `cat FILE >/dev/null` on the same
# 256 MiB English-like text, in one run, and prints the ratios and the machine's load (on a
# shared machine the ratios of one run mean more than the times). quillmet-count runs as it
# chooses (the way of reading it measured cheaper, the fastest kernel), and also with each way
# of reading forced and with the plain loop, so that the choice can be checked. Builds the
# release preset when needed; the text is written once under build/release and kept.
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
run_read() { QM_COUNT_READING=read "$tool" "$text"; }
run_map() { QM_COUNT_READING=map "$tool" "$text"; }
run_scalar() { QM_COUNTING_KERNEL=scalar "$tool" "$text"; }
commands=(cat wc tool read map scalar)

smaller() { awk -v a="$1" -v b="$2" 'BEGIN { print (b < a) ? b : a }'; }

run_cat >/dev/null  # the file comes from the page cache in every timed run
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
declare -A best
for name in "${commands[@]}"; do best[$name]=999999; done
for ((i = 0; i < runs; i++)); do
  # Interleaved, so that a slow moment of the machine does not favour one command.
  for name in "${commands[@]}"; do
    best[$name]=$(smaller "${best[$name]}" "$(seconds_of "run_$name")")
  done
done

echo "quillmet-count:   $("$tool" "$text")"
echo "LC_ALL=C wc -w -l: $(LC_ALL=C wc -w -l "$text")"
way=$(QM_COUNT_SHOW_READING=1 "$tool" "$text" 2>&1 >/dev/null | sed 's/^[^:]*: [^:]*: //')
echo "way of reading: $way"
echo "load average before: $load_before, after: $(cut -d' ' -f1-3 /proc/loadavg) ($(nproc) cores)"
awk -v bytes="$bytes" -v runs="$runs" -v cat="${best[cat]}" -v wc="${best[wc]}" \
    -v tool="${best[tool]}" -v read="${best[read]}" -v map="${best[map]}" \
    -v scalar="${best[scalar]}" '
  function row(name, seconds) {
    printf "  %-34s %8.3f s  %6.2f GB/s  %5.2f x cat\n", name, seconds, bytes / seconds / 1e9,
           seconds / cat
  }
  BEGIN {
    printf "best of %d runs on %d bytes\n", runs, bytes
    row("cat FILE >/dev/null", cat)
    row("LC_ALL=C wc -w -l", wc)
    row("quillmet-count", tool)
    row("quillmet-count, read at offsets", read)
    row("quillmet-count, mapped", map)
    row("quillmet-count, plain loop", scalar)
    printf "quillmet-count is %.1f times as fast as wc -w -l (goal: more than 40)\n", wc / tool
    printf "quillmet-count takes %.2f times as long as cat (goal: at most 1.3)\n", tool / cat
  }'
