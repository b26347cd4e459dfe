#!/usr/bin/env bash
# Installs what is missing, builds every configuration and runs every test: the native core
# tests (with sanitizers), fuzz runs and the static checks of the shipped 32-bit files, then
# the Windows tests under Wine on a virtual display: against the x86-64 build on every machine,
# and against the 32-bit build as well where this machine can execute 32-bit code.
# QM_RUNS_32BIT=0 in the environment leaves the 32-bit suite out, as on a 64-bit-only machine.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

source scripts/bootstrap.sh
qm_bootstrap "$root/scripts/$(basename "$0")" "$@"

started=$(date +%s)
jobs=$(nproc)
# The 32-bit build is made on every machine: it is what we ship, checked statically below.
for preset in native cross cross64; do
  cmake --preset $preset >/dev/null
  cmake --build --preset $preset -j "$jobs"
done

summary=()
status=0
run_ctest() {
  local suite=$1 preset=$2 log
  log=$(mktemp)
  ctest --preset "$preset" -j "$jobs" "${@:3}" 2>&1 | tee "$log" || status=1
  summary+=("$suite: $(grep -E 'tests passed, [0-9]+ tests failed out of' "$log" | tail -n 1)")
  rm -f "$log"
}

# The Windows tests of one architecture, with one start of its Wine for the whole suite: a
# fresh copy of the booted prefix, one wineserver alive (its output away from CTest's pipes)
# until every test has run.
run_windows_suite() {
  local suite=$1 preset=$2
  export QM_WINE_ARCH=$3
  source scripts/wine-env.sh
  scripts/wine-prefix.sh fresh
  wineserver -p </dev/null >/dev/null 2>&1
  "$WINELOADER" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
  run_ctest "$suite" "$preset"
  wineserver -k 2>/dev/null || true
}

run_ctest "native" native
run_windows_suite "x86-64 Windows build under 64-bit Wine" cross64 win64
if [ "$QM_RUNS_32BIT" = 1 ]; then
  run_windows_suite "32-bit Windows build under 32-bit Wine" cross win32
else
  reason=${QM_NO_32BIT_REASON#no: }
  summary+=("32-bit build not run: ${reason:-QM_RUNS_32BIT=0 was given} (its shipped files were checked statically)")
fi

passed=0 failed=0
echo
for line in "${summary[@]}"; do
  echo "$line"
  [[ $line == "32-bit build not run"* ]] && continue
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
  bad=$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$line")
  [[ $total =~ ^[0-9]+$ && $bad =~ ^[0-9]+$ ]] || { status=1; continue; }
  passed=$((passed + total - bad)); failed=$((failed + bad))
done
[ "$failed" -eq 0 ] || status=1
echo "Built and tested in $(( $(date +%s) - started )) s"
echo "$passed passed, $failed failed"
exit $status
